// The print layout arithmetic: font mapping, column widths, fit to page, bands and indents,
// header and footer texts, page numbers and the cutting of rows into pages, checked against
// hand-worked numbers.
#include "AdvGrid.h"
#include "AdvGridPrintLayout.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

struct Layout {
    TPrintSettings S{nullptr};
    TPrintLayout L{S};
    Layout(std::vector<int> widths, int pageWidth, int left = 0) {
        L.Range = TRect(left, 0, int(widths.size()) - 1, 9);
        L.PageWidth = pageWidth;
        L.PageHeight = -2000;
        L.ResetWidths();
        for (size_t c = 0; c < widths.size(); ++c) L.MeasuredWidth(int(c), widths[c], false);
    }
};

} // namespace

TEST(AdvGridPrintLayoutTest, FontMappingTruncates) {
    EXPECT_EQ(TPrintLayout::MapFontHeight(10), -35);
    EXPECT_EQ(TPrintLayout::MapFontHeight(10, 0.5), -17);
    EXPECT_EQ(TPrintLayout::MapFontSize(35), 9);
    EXPECT_EQ(TPrintLayout::PenWidth(pbDouble), 10);
    EXPECT_EQ(TPrintLayout::PenWidth(pbSingle), 2);
}

TEST(AdvGridPrintLayoutTest, ScreenWidthsBandsAndIndentsOnA600DpiTarget) {
    Layout f({0, 0, 0, 0, 0}, 1000);
    f.S.NoAutoSize = true;
    f.S.Centered = false;
    f.S.LeftSize = 50;
    f.L.Scale = TPrintLayout::ScreenScale(600, 96);
    const int screen[] = {64, 100, 64, 100, 64};
    f.L.WidthsFromScreen([&](int c) { return screen[c]; });
    EXPECT_EQ(f.L.MaxWidths, (std::vector<int>{169, 265, 169, 265, 169, 0}));

    const int last = f.L.BandEnd(0);
    ASSERT_EQ(last, 3);
    EXPECT_EQ(f.L.PrintPageWidth, 948);
    EXPECT_TRUE(f.L.MultiBand);
    f.L.PlaceBand(0, last);
    EXPECT_EQ(std::vector<int>(f.L.Indents.begin(), f.L.Indents.begin() + 5),
              (std::vector<int>{50, 239, 524, 713, 998}));
    EXPECT_EQ(f.L.GetPrintColOffset(2), 524);

    // Centred: the band moves right by half the unused width.
    f.S.Centered = true;
    f.L.BandEnd(0);
    f.L.PlaceBand(0, 3);
    EXPECT_EQ(std::vector<int>(f.L.Indents.begin(), f.L.Indents.begin() + 5),
              (std::vector<int>{26, 215, 500, 689, 974}));

    // The last band holds the one column left.
    EXPECT_EQ(f.L.Bands(), (std::vector<std::pair<int, int>>{{0, 3}, {4, 4}}));
}

TEST(AdvGridPrintLayoutTest, BandsOfWideColumnsAndEmptyRanges) {
    // A column wider than the page shares its band with the next column.
    Layout wide({1200, 100, 100}, 1000);
    EXPECT_EQ(wide.L.Bands(), (std::vector<std::pair<int, int>>{{0, 1}, {2, 2}}));
    EXPECT_EQ(wide.L.PrintPageWidth, 120);

    // Everything fits: one band, no band numbering.
    Layout narrow({100, 100, 100}, 1000);
    EXPECT_EQ(narrow.L.Bands(), (std::vector<std::pair<int, int>>{{0, 2}}));
    EXPECT_FALSE(narrow.L.MultiBand);

    // Right left of Left: nothing laid out.
    Layout inverted({100, 100, 100}, 1000);
    inverted.L.Range = TRect(2, 0, 1, 9);
    EXPECT_TRUE(inverted.L.Bands().empty());
}

TEST(AdvGridPrintLayoutTest, RepeatedFixedColumnsStartLaterBands) {
    Layout f({100, 400, 400, 400}, 1000, 1);
    f.S.RepeatFixedCols = true;
    f.S.Centered = false;
    f.L.FixedCols = 1;
    EXPECT_EQ(f.L.BandEnd(1), 2);
    EXPECT_FALSE(f.L.RepeatColsNow); // the range's own start
    EXPECT_EQ(f.L.BandEnd(3), 3);
    EXPECT_TRUE(f.L.RepeatColsNow);
    EXPECT_EQ(f.L.FixedWidth, 120);
    EXPECT_EQ(f.L.PrintPageWidth, 540);
    f.L.PlaceBand(3, 3);
    EXPECT_EQ(f.L.Indents[0], 0);
    EXPECT_EQ(f.L.Indents[1], 120);
    EXPECT_EQ(f.L.Indents[3], 120);
    EXPECT_EQ(f.L.Indents[4], 540);

    f.S.Centered = true;
    f.L.BandEnd(3);
    f.L.PlaceBand(3, 3);
    EXPECT_EQ(f.L.Indents[0], 230);
    EXPECT_EQ(f.L.Indents[1], 350); // the fixed column ends where the band begins
    EXPECT_EQ(f.L.Indents[3], 350);
    EXPECT_EQ(f.L.Indents[4], 770);
}

TEST(AdvGridPrintLayoutTest, FitToPageModes) {
    struct Case {
        TFitToPage Mode;
        int Width;    // of each of two columns
        int Expected; // after fitting
    } cases[] = {
        {fpNever, 300, 300}, {fpShrink, 300, 300}, {fpGrow, 300, 480},   {fpAlways, 300, 480},
        {fpGrow, 800, 800},  {fpShrink, 800, 480}, {fpAlways, 800, 480}, {fpCustom, 800, 480},
    };
    for (const Case& c : cases) {
        Layout f({c.Width, c.Width}, 1000);
        f.S.FitToPage = c.Mode;
        std::vector<int> seen;
        f.L.FitToPage({}, [&](int, int& w) { seen.push_back(w); });
        EXPECT_EQ(f.L.MaxWidths[0], c.Expected) << c.Mode << " " << c.Width;
        EXPECT_EQ(seen, (std::vector<int>{c.Expected, c.Expected})) << c.Mode << " " << c.Width;
    }

    // The custom hook may change the factor or refuse it.
    Layout custom({800, 800}, 1000);
    custom.S.FitToPage = fpCustom;
    double offered = 0;
    custom.L.FitToPage([&](double& f, bool&) { offered = f, f = 0.5; }, {});
    EXPECT_DOUBLE_EQ(offered, 0.6);
    EXPECT_EQ(custom.L.MaxWidths[0], 400);
    Layout refused({800, 800}, 1000);
    refused.S.FitToPage = fpCustom;
    refused.L.FitToPage([](double&, bool& allow) { allow = false; }, {});
    EXPECT_EQ(refused.L.MaxWidths[0], 800);
    EXPECT_DOUBLE_EQ(refused.L.FitFactor, 1.0);
}

TEST(AdvGridPrintLayoutTest, MergedCellsNeverWidenAColumnAndWideGridsHaveRoom) {
    Layout f({100, 100}, 1000);
    f.L.MeasuredWidth(1, 900, true);
    EXPECT_EQ(f.L.GetPrintColWidth(1), 100);

    std::vector<int> many(700, 50);
    Layout wide(many, 1000);
    EXPECT_EQ(wide.L.GetPrintColWidth(699), 50);
    const auto bands = wide.L.Bands();
    EXPECT_EQ(bands.back().second, 699);
    for (int bad : {-1, 701, 5000}) EXPECT_THROW(wide.L.GetPrintColWidth(bad), EAdvGridError) << bad;
    EXPECT_THROW(wide.L.GetPrintColOffset(-1), EAdvGridError);
}

TEST(AdvGridPrintLayoutTest, PageNumbersAndHeaderSlots) {
    Layout f({100}, 1000);
    EXPECT_EQ(f.L.PageNumberText(0, 0, 1, 3), "1/3");
    EXPECT_EQ(f.L.PageNumberText(1, 1, 1, 3), "2/3");
    EXPECT_EQ(f.L.PageNumberText(2, 2, 1, 3), "3/3");
    EXPECT_EQ(f.L.PageNumberText(0, 0, 1, 1), "1");
    f.L.MultiBand = true;
    EXPECT_EQ(f.L.PageNumberText(0, 0, 1, 2), "1-1");
    EXPECT_EQ(f.L.PageNumberText(1, 0, 2, 2), "1-2");
    EXPECT_EQ(f.L.PageNumberText(1, 1, 1, 4), "2-1");

    f.S.Time = ppTopLeft;
    f.S.PageNr = ppTopLeft;
    f.S.Date = ppTopRight;
    f.S.Title = ppBottomCenter;
    const auto texts = f.L.FillSlots("12:00", "11/12/2026", "1", "Report");
    EXPECT_EQ(texts[0], " 1  12:00 ");
    EXPECT_EQ(texts[1], " 11/12/2026");
    EXPECT_EQ(texts[2], "");
    EXPECT_EQ(texts[5], "Report");

    f.S.Title = ppTopLeft;
    EXPECT_EQ(f.L.FillSlots("12:00", "", "1", "Report")[0], "Report  1  12:00 ");
}

TEST(AdvGridPrintLayoutTest, HeaderAndFooterAreas) {
    Layout f({100}, 1000);
    f.S.HeaderSize = 30;
    f.S.FooterSize = 40;
    EXPECT_EQ(f.L.HeaderArea(5, 50), 30);
    EXPECT_EQ(f.L.FooterArea(5, 50), 95);
    f.S.PageNr = ppTopRight;
    f.S.Title = ppBottomLeft;
    f.S.TitleLines()->Add("a");
    f.S.TitleLines()->Add("b");
    EXPECT_EQ(f.L.HeaderArea(5, 50), 85);
    EXPECT_EQ(f.L.FooterArea(5, 50), 2 * 55 + 40 + 50);
}

TEST(AdvGridPrintLayoutTest, RowsIntoPages) {
    auto all = [](int) { return true; };
    auto place = [](const std::function<int(int)>& h) { return [h](int r) { return h(r) + 20; }; };
    auto rows = [](const std::vector<TPrintRowPage>& pages) {
        std::vector<std::pair<int, int>> v;
        for (const auto& p : pages) v.emplace_back(p.FirstRow, p.EndRow);
        return v;
    };
    using Pages = std::vector<std::pair<int, int>>;
    auto h100 = [](int) { return 100; };

    // The page ends when the next row would not fit: 8 rows of 120 from y = -50 above -1000.
    EXPECT_EQ(rows(LayOutRows(0, 9, -50, -1000, all, h100, place(h100))), (Pages{{0, 8}, {8, 10}}));

    // A row taller than the page goes alone onto its own page; the rest goes on.
    auto tall = [](int r) { return r == 3 ? 5000 : 100; };
    EXPECT_EQ(rows(LayOutRows(0, 9, -50, -1000, all, tall, place(tall))), (Pages{{0, 3}, {3, 4}, {4, 10}}));

    // A page with no room under its header still takes one row per page.
    EXPECT_EQ(LayOutRows(0, 9, -50, -20, all, h100, place(h100)).size(), 10u);

    // An inverted range lays out nothing.
    EXPECT_TRUE(LayOutRows(5, 4, -50, -1000, all, h100, place(h100)).empty());

    // Rows not printed take no room; a NewPage request ends the page.
    auto even = [](int r) { return r % 2 == 0; };
    EXPECT_EQ(rows(LayOutRows(0, 19, -50, -1000, even, h100, place(h100))), (Pages{{0, 16}, {16, 20}}));
    EXPECT_EQ(
        rows(LayOutRows(0, 9, -50, -1000, all, h100, place(h100), [](int r, bool& np) { np = r == 2; })),
        (Pages{{0, 2}, {2, 10}}));
}

TEST(AdvGridPrintLayoutTest, RepeatedFixedRowsHeadLaterPages) {
    auto all = [](int) { return true; };
    auto h100 = [](int) { return 100; };
    auto p120 = [](int) { return 120; };
    struct Case {
        int Top;
        bool Repeat;
        std::vector<std::pair<int, int>> Pages;
        std::vector<bool> Headed;
    } cases[] = {
        // From row 0 the first page prints the fixed row as its own; later pages repeat it.
        {0, true, {{0, 8}, {8, 15}, {15, 20}}, {false, true, true}},
        // A range below the fixed rows repeats them on the first page too.
        {1, true, {{1, 8}, {8, 15}, {15, 20}}, {true, true, true}},
        {0, false, {{0, 8}, {8, 16}, {16, 20}}, {false, false, false}},
    };
    for (const Case& c : cases) {
        const auto pages = LayOutRows(c.Top, 19, -50, -1000, all, h100, p120, {}, 1, c.Repeat);
        std::vector<std::pair<int, int>> got;
        std::vector<bool> headed;
        for (const auto& p : pages) {
            got.emplace_back(p.FirstRow, p.EndRow);
            headed.push_back(p.FixedRowsRepeated);
        }
        EXPECT_EQ(got, c.Pages) << c.Top << " " << c.Repeat;
        EXPECT_EQ(headed, c.Headed) << c.Top << " " << c.Repeat;
    }
}
