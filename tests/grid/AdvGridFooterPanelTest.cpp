// The floating footer's panel: the footer row at the bottom of the grid lined up with the scrolled
// columns, its calculations, the preview styles, the template, hints and clicks.
#include "AdvGrid.h"
#include "AdvGridTestSupport.h"
#include "ControlImage.h"
#include "Forms.h"
#include "Hints.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

class FooterPanelFixture : public ::testing::Test {
protected:
    void SetUp() override {
        Form = new TForm(nullptr);
        Form->SetBounds(100, 100, 600, 400);
        Grid = new TAdvStringGrid(Form);
        Grid->SetParent(Form);
        Grid->SetBorderStyle(bsNone);
        Grid->SetBounds(10, 10, 400, 250);
        Grid->SetColCount(10);
        Grid->SetRowCount(30);
        Form->Show();
        Application->ProcessMessages();
    }
    void TearDown() override { TObject::Free(Form); }

    TFooterPanel* Panel() { return Grid->FooterPanel(); }
    QImage Shot() {
        Application->ProcessMessages();
        return ControlImage(Panel());
    }
    static TColor Px(const QImage& Img, int X, int Y) {
        const QRgb p = Img.pixel(X, Y);
        return TColor(qRed(p) | (qGreen(p) << 8) | (qBlue(p) << 16));
    }
    static int DarkPixels(const QImage& Img, int X1, int X2) {
        int n = 0;
        for (int y = 0; y < Img.height(); ++y)
            for (int x = std::max(0, X1); x < std::min(X2, Img.width()); ++x)
                if (qGray(Img.pixel(x, y)) < 100) ++n;
        return n;
    }
    int Last() const { return Grid->RowCount() - 1; }

    TForm* Form = nullptr;
    TAdvStringGrid* Grid = nullptr;
};

TEST_F(FooterPanelFixture, ShownWithTheFixedLastRow) {
    ASSERT_NE(Panel(), nullptr);
    EXPECT_EQ(Panel()->Parent(), Grid);
    EXPECT_EQ(Panel()->Height(), 0);
    Grid->FloatingFooter()->SetVisible(true);
    EXPECT_TRUE(Panel()->Visible());
    EXPECT_EQ(Panel()->Height(), Grid->DefaultRowHeight() - 1);
    EXPECT_EQ(Grid->FixedFooters(), 1);
    // At the bottom of the grid, and it stays there while the rows scroll.
    Application->ProcessMessages();
    const int top = Panel()->Top();
    EXPECT_EQ(top + Panel()->Height(), Grid->ClientHeight());
    Grid->SetTopRow(12);
    Application->ProcessMessages();
    EXPECT_EQ(Panel()->Top(), top);

    // Another style shows the last row in the row area again.
    Grid->FloatingFooter()->SetFooterStyle(fsColumnPreview);
    EXPECT_TRUE(Panel()->Visible());
    Grid->FloatingFooter()->SetVisible(false);
    EXPECT_FALSE(Panel()->Visible());
    EXPECT_EQ(Panel()->Height(), 0);
    EXPECT_EQ(Grid->FixedFooters(), 0);
}

// The footer cells line up with the grid's columns, the fixed column first, also when the grid
// is scrolled to the right; each footer cell shows its own colour.
TEST_F(FooterPanelFixture, CellsLineUpWithTheScrolledColumns) {
    Grid->SetLook(glStandard);
    for (int c = 1; c < Grid->ColCount(); ++c) Grid->SetColors(c, Last(), TColor(0x102030 + c * 0x10));
    Grid->FloatingFooter()->SetVisible(true);
    const int y = Panel()->Height() / 2;
    QImage img = Shot();
    for (int c = 1; c < 6; ++c) {
        const TRect r = Grid->CellRect(c, Grid->TopRow());
        EXPECT_EQ(Px(img, r.Left + 5, y), TColor(0x102030 + c * 0x10)) << c;
    }
    Grid->SetLeftCol(5);
    img = Shot();
    const TRect first = Grid->CellRect(5, Grid->TopRow());
    EXPECT_EQ(first.Left, Grid->ColWidths(0));
    EXPECT_EQ(Px(img, first.Left + 5, y), TColor(0x102030 + 5 * 0x10));
    EXPECT_EQ(Px(img, Grid->CellRect(7, Grid->TopRow()).Left + 5, y), TColor(0x102030 + 7 * 0x10));
    // Right of the last column: the grid's colour.
    Grid->SetLeftCol(1);
    Grid->SetColCount(4);
    img = Shot();
    const int w = Panel()->FooterWidth();
    ASSERT_LT(w + 2, img.width());
    EXPECT_EQ(Px(img, w - 5, y), TColor(0x102030 + 3 * 0x10));
    EXPECT_EQ(Px(img, w + 2, y), TColor(0xFFFFFF)); // clWindow
}

TEST_F(FooterPanelFixture, ShowsTheColumnCalculations) {
    EXPECT_EQ(Grid->GetColumnCalc(2), acNONE);
    Grid->FloatingFooter()->SetVisible(true);
    for (int r = 1; r < Last(); ++r) Grid->SetCells(2, r, r == 1 ? QStringLiteral("1") : QStringLiteral("0"));
    Grid->SetColumnCalc(2, acCOUNT);
    EXPECT_EQ(Grid->GetColumnCalc(2), acCOUNT);
    EXPECT_EQ(Grid->GetColumnCalc(3), acNONE);
    EXPECT_EQ(Grid->Cells(2, Last()), IntToStr(Last() - 1));
    // The count is drawn in its footer cell, nothing in the empty one beside it.
    const QImage img = Shot();
    const TRect r2 = Grid->CellRect(2, Grid->TopRow());
    const TRect r3 = Grid->CellRect(3, Grid->TopRow());
    EXPECT_GT(DarkPixels(img, r2.Left + 2, r2.Right - 2), 0);
    EXPECT_EQ(DarkPixels(img, r3.Left + 2, r3.Right - 2), 0);
}

TEST_F(FooterPanelFixture, PreviewStylesAndTheBorderLine) {
    TFloatingFooter* footer = Grid->FloatingFooter();
    Grid->SetColCount(4);
    footer->SetFooterStyle(fsColumnPreview);
    footer->SetColumn(2);
    footer->SetColor(0x00C0C0);
    footer->SetVisible(true);
    QImage img = Shot();
    const int w = Panel()->FooterWidth();
    const int h = Panel()->Height();
    // A 3-D frame around the footer's area.
    EXPECT_EQ(Px(img, 0, h / 2), TColor(0xFFFFFF));
    EXPECT_EQ(Px(img, w - 1, h / 2), TColor(0x808080));
    EXPECT_EQ(Px(img, 3, h - 1), TColor(0x808080));

    footer->SetBorderColor(0x0000FF);
    img = Shot();
    EXPECT_EQ(Px(img, 3, 0), TColor(0x0000FF));

    // The application paints: the whole client area and FloatingFooter.Column.
    int column = -1;
    TRect painted;
    Grid->OnFooterPaint = [&](TObject* Sender, int AColumn, TCanvas* Canvas, TRect ARect) {
        EXPECT_EQ(Sender, Panel());
        column = AColumn;
        painted = ARect;
        Canvas->Brush()->SetColor(0x00FF00);
        Canvas->FillRect(ARect);
    };
    footer->SetColumn(3);
    footer->SetFooterStyle(fsCustomPaint);
    img = Shot();
    EXPECT_EQ(column, 3);
    EXPECT_EQ(painted, Panel()->ClientRect());
    EXPECT_EQ(Px(img, Panel()->Width() - 3, h / 2), TColor(0x00FF00));
}

TEST(FooterTemplate, TagsAreReplacedByTheCurrentRowsCells) {
    auto cell = [](int Column) { return QStringLiteral("c%1").arg(Column); };
    const struct {
        const char* Template;
        const char* Expected;
    } cases[] = {
        {"Total: <#2> items", "Total: c2 items"},
        {"<#0><#1>", "c0c1"},
        {"Total: <#x> items", "Total:  items"},   // not an integer: dropped
        {"Total: <#2 items", "Total: <#2 items"}, // never closed: plain text
        {"a <#1> b <#", "a c1 b <#"},
        {"no tags", "no tags"},
        {"", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ExpandFooterTemplate(QString::fromLatin1(c.Template), cell),
                  QString::fromLatin1(c.Expected))
            << c.Template;
}

// The custom preview draws the expanded template; an unclosed tag does not stop the painting.
TEST_F(FooterPanelFixture, CustomPreviewDrawsTheTemplate) {
    TFloatingFooter* footer = Grid->FloatingFooter();
    Grid->SetCells(2, 1, QStringLiteral("WWWW"));
    Grid->SetRow(1);
    footer->SetFooterStyle(fsCustomPreview);
    footer->SetVisible(true);
    footer->SetCustomTemplate(QStringLiteral("<#2>"));
    const int withText = DarkPixels(Shot(), 3, 200);
    EXPECT_GT(withText, 0);
    footer->SetCustomTemplate(QStringLiteral("<#x>"));
    EXPECT_EQ(DarkPixels(Shot(), 3, 200), 0);
    footer->SetCustomTemplate(QStringLiteral("<#2"));
    EXPECT_GT(DarkPixels(Shot(), 3, 200), 0);
}

TEST_F(FooterPanelFixture, ClickFiresOnClickThenOnClickCell) {
    Grid->FloatingFooter()->SetVisible(true);
    std::vector<String> events;
    Grid->OnClick = [&](TObject*) { events.push_back(QStringLiteral("click")); };
    Grid->OnClickCell = [&](TObject*, int ARow, int ACol) {
        events.push_back(QStringLiteral("cell %1 %2").arg(ARow).arg(ACol));
    };
    const TRect r = Grid->CellRect(3, Grid->TopRow());
    SimulateClick(Panel(), r.Left + 4, 5);
    ASSERT_EQ(events.size(), 2u);
    EXPECT_EQ(events[0], QStringLiteral("click"));
    EXPECT_EQ(events[1], QStringLiteral("cell %1 3").arg(Last()));
}

TEST_F(FooterPanelFixture, HintsAskOnGridHintForTheFooterCell) {
    Grid->FloatingFooter()->SetVisible(true);
    int hintRow = -1, hintCol = -1;
    Grid->OnGridHint = [&](TObject*, int ARow, int ACol, String& Hint) {
        hintRow = ARow;
        hintCol = ACol;
        Hint = QStringLiteral("sum");
    };
    THintInfo info;
    info.CursorPos = TPoint(Grid->CellRect(2, Grid->TopRow()).Left + 3, 4);
    TMessage m(CM_HINTSHOW, 0, LPARAM(&info));
    Panel()->Dispatch(m);
    EXPECT_EQ(m.Result, 1); // ShowHint off
    EXPECT_EQ(hintRow, Last());
    EXPECT_EQ(hintCol, 2);
    EXPECT_EQ(info.HintStr, QStringLiteral("sum"));
    EXPECT_EQ(Panel()->LastHintX(), -1);

    Grid->FloatingFooter()->SetShowHint(true);
    TMessage again(CM_HINTSHOW, 0, LPARAM(&info));
    Panel()->Dispatch(again);
    EXPECT_EQ(again.Result, 0);
    EXPECT_EQ(Panel()->LastHintX(), 2);
    // Beyond the last column there is no cell.
    EXPECT_EQ(Panel()->ColumnAt(Panel()->FooterWidth() + 1), -1);
    SimulateMouseEnter(Panel());
    SimulateMouseLeave(Panel());
    EXPECT_EQ(Panel()->LastHintX(), -1);
}

} // namespace
