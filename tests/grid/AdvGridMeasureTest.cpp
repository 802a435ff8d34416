// The grid's cell alignment, formatted text, measured text sizes and visual setters.
#include "AdvGrid.h"
#include "AdvGridTestSupport.h"
#include "AdvShownGridFixture.h"

#include "Forms.h"
#include "Graphics.h"
#include "SysUtils.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

TAdvGridPtr MakeGrid(int Cols, int Rows) {
    return MakeAdvGrid(Cols, Rows);
}

// Decimal point "." for the number rule while a test runs.
class TDotDecimal {
public:
    TDotDecimal() : FSaved(FormatSettings) { FormatSettings.DecimalSeparator = u'.'; }
    ~TDotDecimal() { FormatSettings = FSaved; }

private:
    TFormatSettings FSaved;
};

TEST(AdvGridMeasureTest, AutoNumAlignRightAlignsNumbersUnlessTheCellHasItsOwnAlignment) {
    TDotDecimal dot;
    auto g = MakeGrid(3, 10);
    g->AutoNumAlign = true;
    g->SetDefaultAlignment(taCenter);
    struct TCase {
        const char* Text;
        TAlignment Expected;
    };
    const TCase cases[] = {{"12", taRightJustify},  {"-3.5", taRightJustify}, {"1E5", taRightJustify},
                           {" 7 ", taRightJustify}, {"12a", taCenter},        {"", taCenter},
                           {"=1+2", taCenter}}; // a formula: its value (no engine: the text) decides
    int row = 1;
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Text);
        g->SetCells(1, row, c.Text);
        TAlignment ha = taLeftJustify;
        TVAlignment va = vtaTop;
        g->GetCellAlignment(1, row, ha, va);
        EXPECT_EQ(ha, c.Expected);
        EXPECT_EQ(va, vtaTop);
        ++row;
    }
    // Cell properties win over the number rule.
    g->SetCells(2, 1, "12");
    g->GetCellProperties(2, 1)->SetAlignment(taLeftJustify);
    TAlignment ha = taCenter;
    TVAlignment va = vtaTop;
    g->GetCellAlignment(2, 1, ha, va);
    EXPECT_EQ(ha, taLeftJustify);
    // ... but not for a formula, which is aligned by its value.
    g->SetCells(2, 2, "=12");
    g->GetCellProperties(2, 2)->SetAlignment(taLeftJustify);
    g->GetCellAlignment(2, 2, ha, va);
    EXPECT_EQ(ha, taCenter);
    // Without AutoNumAlign numbers keep the default, and OnGetAlignment has the last word.
    g->AutoNumAlign = false;
    g->SetVAlignment(vtaBottom);
    g->GetCellAlignment(1, 1, ha, va);
    EXPECT_EQ(ha, taCenter);
    EXPECT_EQ(va, vtaBottom);
    g->OnGetAlignment = [](TObject*, int ARow, int ACol, TAlignment& H, TVAlignment& V) {
        if (ARow == 1 && ACol == 1) {
            H = taRightJustify;
            V = vtaCenter;
        }
    };
    g->GetCellAlignment(1, 1, ha, va);
    EXPECT_EQ(ha, taRightJustify);
    EXPECT_EQ(va, vtaCenter);
}

TEST(AdvGridMeasureTest, FormattedCellUsesTheFloatFormatEventAndSwallowsBadFormats) {
    TDotDecimal dot;
    auto g = MakeGrid(3, 3);
    g->SetCells(1, 1, "12");
    g->SetCells(2, 1, "2.5");
    g->SetCells(1, 2, "abc");
    EXPECT_EQ(g->GetFormattedCell(2, 1), "2.5") << "no event: the stored text";
    String format;
    bool isFloat = true;
    int calls = 0;
    g->OnGetFloatFormat = [&](TObject*, int, int, bool& IsFloat, String& Fmt) {
        ++calls;
        EXPECT_EQ(Fmt, "%.2f") << "the handler sees the grid's FloatFormat";
        IsFloat = isFloat;
        Fmt = format;
    };
    struct TCase {
        String Format;
        bool IsFloat;
        int Col, Row;
        String Expected;
    };
    const TCase cases[] = {
        {"%.3f", true, 2, 1, "2.500"}, // a float format: the floating value
        {"%5d", true, 1, 1, "   12"},  // "d": the integer value
        {"%d", true, 2, 1, "2.5"},     // 2.5 is no integer: the text as stored
        {"%s%s", true, 2, 1, "2.5"},   // a format that does not fit its argument
        {"%.1f", false, 2, 1, "2.5"},  // IsFloat cleared
        {"", true, 2, 1, "2.5"},       // no format
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Format.toStdString());
        format = c.Format;
        isFloat = c.IsFloat;
        EXPECT_EQ(g->GetFormattedCell(c.Col, c.Row), c.Expected);
    }
    calls = 0;
    EXPECT_EQ(g->GetFormattedCell(1, 2), "abc");
    EXPECT_EQ(calls, 0) << "text that is no number is not offered to the event";
}

using AdvGridMeasureFixture = AdvShownGridFixture;

TEST_F(AdvGridMeasureFixture, TextSizeWithoutCellWidthIsTheWidestLineByTheLineHeight) {
    TCanvas* c = Probe->Canvas();
    Grid->SetCells(1, 1, "short\rthe longest line\rmid");
    TSize s = Grid->GetCellTextSize(1, 1, false, false);
    EXPECT_EQ(s.cx, c->TextWidth("short")) << "one line without Multilinecells";
    EXPECT_EQ(s.cy, c->TextHeight("gh"));
    Grid->Multilinecells = true;
    s = Grid->GetCellTextSize(1, 1, false, false);
    EXPECT_EQ(s.cx, c->TextWidth("the longest line"));
    EXPECT_EQ(s.cy, 3 * c->TextHeight("gh"));
    // An empty text measures 0 wide and one line high.
    s = Grid->GetCellTextSize(2, 2, false, false);
    EXPECT_EQ(s.cx, 0);
    EXPECT_EQ(s.cy, c->TextHeight("gh"));
    // The grid's canvas keeps its font.
    EXPECT_EQ(Grid->Canvas()->Font()->Style(), TFontStyles{});
}

TEST_F(AdvGridMeasureFixture, TextSizeByCellWidthWrapsInsideTheInsetsAndTheButtonRoom) {
    Grid->SetColWidths(1, 80);
    const String text = "some words that wrap over several lines in a narrow cell";
    Grid->SetCells(1, 1, text);
    const TRect cell = Grid->CellRect(1, 1);
    struct TCase {
        bool VS;
        bool TopLeftOnly;
        int Width; // the wrap width the rule gives
    };
    const int w = cell.Right - cell.Left;
    const TCase cases[] = {
        {true, false, w - 2 * 2 - 17 - 4},
        {false, false, w - 2 * 2 - 4},
        {true, true, w - 2 - 17 - 4},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(testing::Message() << "VS " << c.VS << " top-left only " << c.TopLeftOnly);
        Grid->XYOffsetTopLeftOnly = c.TopLeftOnly;
        const TSize s = Grid->GetCellTextSize(1, 1, c.VS, true);
        TRect r(0, 0, c.Width, 1000);
        DrawText(Probe->Canvas(), text, r,
                 DT_CALCRECT | DT_EDITCONTROL | DT_NOPREFIX | DT_EXPANDTABS | DT_WORDBREAK);
        EXPECT_EQ(s.cx, c.Width);
        EXPECT_EQ(s.cy, r.Bottom - r.Top);
        EXPECT_GT(s.cy, 2 * Probe->Canvas()->TextHeight("gh")) << "the text does wrap";
    }
}

TEST_F(AdvGridMeasureFixture, MarkupMeasuresThroughTheRendererAndZoomEnlargesTheFont) {
    Grid->SetCells(1, 1, "<b>bold</b> text");
    const TSize markup = Grid->GetCellTextSize(1, 1, false, false);
    EXPECT_GT(markup.cx, 2);
    EXPECT_GT(markup.cy, 2);
    Grid->SetCells(2, 1, "plain text");
    const TSize plain = Grid->GetCellTextSize(2, 1, false, false);
    Grid->ZoomFactor = 4;
    const TSize zoomed = Grid->GetCellTextSize(2, 1, false, false);
    EXPECT_GT(zoomed.cx, plain.cx);
    EXPECT_GT(zoomed.cy, plain.cy);
}

TEST(AdvGridVisualSettersTest, MixerFactorIsCutToItsRangeAndVAlignmentSetsTheDrawFlag) {
    auto g = MakeGrid(3, 3);
    EXPECT_EQ(g->SelectionColorMixerFactor(), 50);
    g->SetSelectionColorMixerFactor(150);
    EXPECT_EQ(g->SelectionColorMixerFactor(), 100);
    g->SetSelectionColorMixerFactor(-5);
    EXPECT_EQ(g->SelectionColorMixerFactor(), 0);
    g->SetVAlignment(vtaCenter);
    EXPECT_EQ(g->VAlignFlag(), DT_VCENTER);
    g->SetVAlignment(vtaBottom);
    EXPECT_EQ(g->VAlignFlag(), DT_BOTTOM);
    g->SetVAlignment(vtaTop);
    EXPECT_EQ(g->VAlignFlag(), 0u);
}

TEST(AdvGridVisualSettersTest, SpreadSheetTurnsOnRangeSelectionAndEditing) {
    auto g = MakeGrid(3, 3);
    g->SetSpreadSheet(true);
    EXPECT_TRUE(g->SelectionRectangle());
    EXPECT_TRUE(g->SelectionResizer());
    EXPECT_TRUE(g->Navigation()->AllowSmartClipboard);
    EXPECT_TRUE(g->HasOption(goRangeSelect));
    EXPECT_TRUE(g->HasOption(goEditing));
    EXPECT_TRUE(g->MouseActions()->RangeSelectAndEdit);
}

} // namespace
