// The grid's cell painter on pixels: the selection colour of an unfocused grid, single-line cells,
// password cells, graphic-only cells, drawing events that take over the text, the sort-indicator
// rule, the text inset, the focus rectangle, the hovered and pressed fixed cell with its drop-down
// button, the fixed right columns' frame, the selection rectangle, and a canvas that stays sound
// when a drawing event raises.
#include "AdvGrid.h"

#include "ControlImage.h"
#include "Forms.h"
#include "Graphics.h"
#include "StdCtrls.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace {

// The grid with the mouse handling's state open to the tests.
class TProbeGrid : public TAdvStringGrid {
public:
    using TAdvStringGrid::FDropDownDown;
    using TAdvStringGrid::FHoverFixedX;
    using TAdvStringGrid::FHoverFixedY;
    using TAdvStringGrid::FMouseDownMove;
    using TAdvStringGrid::TAdvStringGrid;
};

class AdvGridCellPaintFixture : public ::testing::Test {
protected:
    void SetUp() override {
        Form = new TForm(nullptr);
        Form->SetBounds(100, 100, 600, 400);
        Other = new TEdit(Form);
        Other->SetParent(Form);
        Other->SetBounds(450, 10, 100, 24);
        Grid = new TProbeGrid(Form);
        Grid->SetParent(Form);
        Grid->SetBounds(10, 10, 400, 250);
        Grid->SetBorderStyle(bsNone);
        Form->Show();
        Other->SetFocus();
        Application->ProcessMessages();
    }
    void TearDown() override { TObject::Free(Form); }

    QImage Shot() {
        Application->ProcessMessages();
        return ControlImage(Grid);
    }
    static TColor Px(const QImage& Img, int X, int Y) {
        const QRgb p = Img.pixel(X, Y);
        return TColor(qRed(p) | (qGreen(p) << 8) | (qBlue(p) << 16));
    }
    static QImage Part(const QImage& Img, const TRect& R) {
        return Img.copy(QRect(R.Left, R.Top, R.Right - R.Left, R.Bottom - R.Top));
    }
    // The rightmost column of R holding a dark (text) pixel; -1 when none.
    static int RightmostDark(const QImage& Img, const TRect& R) {
        for (int x = R.Right - 1; x >= R.Left; --x)
            for (int y = R.Top; y < R.Bottom; ++y)
                if (qGray(Img.pixel(x, y)) < 100) return x;
        return -1;
    }
    static int DarkPixels(const QImage& Img, const TRect& R) {
        int n = 0;
        for (int x = R.Left; x < R.Right; ++x)
            for (int y = R.Top; y < R.Bottom; ++y)
                if (qGray(Img.pixel(x, y)) < 100) ++n;
        return n;
    }
    // The inside of a data cell, away from its grid lines.
    TRect Inner(int ACol, int ARow) {
        const TRect r = Grid->CellRect(ACol, ARow);
        return TRect(r.Left + 1, r.Top + 1, r.Right - 2, r.Bottom - 2);
    }

    TForm* Form = nullptr;
    TEdit* Other = nullptr;
    TProbeGrid* Grid = nullptr;
};

TEST_F(AdvGridCellPaintFixture, UnfocusedSelectionWithoutColourShowsHighlight) {
    Grid->SetSelectionColor(clNone);
    Grid->SetSelection(TGridRect(2, 2, 2, 2));
    ASSERT_FALSE(Grid->Focused());
    const QImage img = Shot();
    const TRect r = Inner(2, 2);
    EXPECT_EQ(Px(img, (r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2), ColorToRGB(clHighlight));
    // A cell outside the selection keeps the grid's colour.
    const TRect o = Inner(3, 3);
    EXPECT_EQ(Px(img, (o.Left + o.Right) / 2, (o.Top + o.Bottom) / 2), ColorToRGB(Grid->Color()));
}

TEST_F(AdvGridCellPaintFixture, SingleLineCellShowsTextBeforeTheLineBreak) {
    Grid->SetWordWrap(false);
    // Cells away from the current cell (1, 1), so that all of them look unselected.
    Grid->SetCells(2, 2, "Abcd\r\nWxyz");
    Grid->SetCells(2, 3, "Abcd");
    QImage img = Shot();
    EXPECT_GT(DarkPixels(img, Inner(2, 3)), 0);
    EXPECT_EQ(Part(img, Inner(2, 2)), Part(img, Inner(2, 3)));

    // With multi-line cells the second line is drawn too.
    Grid->Multilinecells = true;
    Grid->SetRowHeights(2, 40);
    Grid->SetRowHeights(3, 40);
    Grid->Invalidate();
    img = Shot();
    EXPECT_NE(Part(img, Inner(2, 2)), Part(img, Inner(2, 3)));
}

TEST_F(AdvGridCellPaintFixture, PasswordCellShowsOnePasswordCharPerCharacter) {
    Grid->OnIsPasswordCell = [](TObject*, int ARow, int ACol, bool& IsPassword) {
        IsPassword = ACol == 2 && ARow == 2;
    };
    Grid->SetCells(2, 2, "secret");
    Grid->SetCells(2, 3, "******");
    Grid->SetCells(2, 4, "*****");
    const QImage img = Shot();
    EXPECT_EQ(Part(img, Inner(2, 2)), Part(img, Inner(2, 3)));
    EXPECT_NE(Part(img, Inner(2, 2)), Part(img, Inner(2, 4)));
}

TEST_F(AdvGridCellPaintFixture, NoImageAndTextShowsTheGraphicOnly) {
    Grid->SetColWidths(1, 150);
    Grid->SetCells(1, 1, "Hello world");
    Grid->AddCheckBox(1, 1, false, false);
    const TRect r = Inner(1, 1);
    // The text would stand right of the box; the part of the cell from 24 pixels on.
    const TRect textPart(r.Left + 24, r.Top, r.Right, r.Bottom);
    EXPECT_GT(DarkPixels(Shot(), textPart), 0);
    Grid->NoImageAndText = true;
    Grid->Invalidate();
    EXPECT_EQ(DarkPixels(Shot(), textPart), 0);
}

TEST_F(AdvGridCellPaintFixture, DrawCellWithNoDefaultDrawKeepsBordersAndFocus) {
    int calls = 0;
    int seenCol = -1;
    TRect seenRect;
    Grid->SetCells(1, 1, "Hello");
    Grid->OnGetCellBorder = [](TObject*, int ARow, int ACol, TPen* APen, TCellBorders& Borders) {
        if (ACol == 1 && ARow == 1) {
            APen->SetColor(clRed);
            Borders = {cbRight};
        }
    };
    Grid->OnDrawCell = [&](TObject*, int ACol, int ARow, TRect Rect, TGridDrawState) {
        if (ARow != 1 || ACol != 1) return;
        ++calls;
        seenCol = ACol;
        seenRect = Rect;
    };
    const TRect r = Inner(1, 1);
    EXPECT_GT(DarkPixels(Shot(), r), 0); // the text, without NoDefaultDraw

    Grid->NoDefaultDraw = true;
    Grid->Invalidate();
    const QImage img = Shot();
    EXPECT_GT(calls, 0);
    EXPECT_EQ(seenCol, 1);
    // The text rectangle shrunk by one at the top and left, by the line width at right and bottom.
    const TRect cell = Grid->CellRect(1, 1);
    EXPECT_EQ(seenRect, TRect(cell.Left + 1, cell.Top + 1, cell.Right - 1, cell.Bottom - 1));
    const TRect text(r.Left, r.Top, r.Right - 3, r.Bottom);
    EXPECT_EQ(DarkPixels(img, text), 0);
    // The right border the border event asked for is drawn.
    EXPECT_EQ(Px(img, cell.Right - 2, (cell.Top + cell.Bottom) / 2), ColorToRGB(clRed));

    // The focus rectangle too, once the grid has the focus on that cell.
    Grid->SetCol(1);
    Grid->SetRow(1);
    Grid->SetFocus();
    Application->ProcessMessages();
    if (!Grid->Focused()) GTEST_SKIP() << "no keyboard focus on this platform";
    const QImage focused = Shot();
    Grid->HideFocusRect = true;
    Grid->Invalidate();
    EXPECT_NE(Part(focused, Grid->CellRect(1, 1)), Part(Shot(), Grid->CellRect(1, 1)));
}

TEST_F(AdvGridCellPaintFixture, FocusRectangleRules) {
    Grid->SetCol(2);
    Grid->SetRow(2);
    const TRect cell = Grid->CellRect(2, 2);
    auto withAndWithout = [&](bool& Differs) {
        const QImage shown = Shot();
        Grid->HideFocusRect = true;
        Grid->Invalidate();
        const QImage hidden = Shot();
        Grid->HideFocusRect = false;
        Grid->Invalidate();
        Differs = Part(shown, cell) != Part(hidden, cell);
    };
    bool differs = true;
    // Not focused: no focus rectangle.
    withAndWithout(differs);
    EXPECT_FALSE(differs);

    Grid->SetFocus();
    Application->ProcessMessages();
    if (!Grid->Focused()) GTEST_SKIP() << "no keyboard focus on this platform";
    withAndWithout(differs);
    EXPECT_TRUE(differs);

    // Row select: none.
    TGridOptions o = Grid->Options();
    o.insert(goRowSelect);
    Grid->SetOptions(o);
    withAndWithout(differs);
    EXPECT_FALSE(differs);
}

TEST_F(AdvGridCellPaintFixture, SortIndicatorNeedsMoreThanOneDataRow) {
    TSortSettings* ss = Grid->SortSettings();
    ss->SetShow(true);
    ss->SetColumn(1);
    struct TCase {
        int Rows;
        bool Show;
        int Row;
        bool Expected;
    };
    const TCase cases[] = {
        {3, true, 0, true},   // two data rows
        {2, true, 0, false},  // one data row
        {1, true, 0, false},  // none
        {3, false, 0, false}, // indicator off
        {3, true, 1, false},  // not the sort row
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(testing::Message() << c.Rows << " rows, show " << c.Show << ", row " << c.Row);
        Grid->SetRowCount(c.Rows);
        ss->SetShow(c.Show);
        EXPECT_EQ(Grid->ShowsSortIndicator(1, c.Row), c.Expected);
    }
    // A merged fixed cell shows it when its area ends in the sort row.
    Grid->SetRowCount(5);
    Grid->SetFixedRows(2);
    ss->SetShow(true);
    ss->SetRow(1);
    Grid->MergeCells(2, 0, 1, 2);
    EXPECT_TRUE(Grid->ShowsSortIndicator(2, 0));
    EXPECT_FALSE(Grid->ShowsSortIndicator(3, 0));
}

TEST_F(AdvGridCellPaintFixture, XYOffsetTopLeftOnlyInsetsLeftAndTopOnly) {
    Grid->SetColWidths(1, 120);
    Grid->SetAlignments(1, 1, taRightJustify);
    Grid->SetCells(1, 1, "Wide");
    Grid->SetXYOffset(TPoint(12, 2));
    const TRect cell = Grid->CellRect(1, 1);
    const TRect r(cell.Left + 1, cell.Top + 1, cell.Right - 1, cell.Bottom - 1);
    const int inset = RightmostDark(Shot(), r);
    Grid->XYOffsetTopLeftOnly = true;
    Grid->Invalidate();
    const int topLeftOnly = RightmostDark(Shot(), r);
    ASSERT_GT(inset, 0);
    EXPECT_EQ(topLeftOnly - inset, 12);
}

TEST_F(AdvGridCellPaintFixture, HoveredFixedCellWithDropDownButton) {
    // Light colours, so that only the text and the triangle count as dark.
    const TColor hover = 0xC0FFC0, down = 0xFFC0C0, hoverBorder = 0x60D0FF, downBorder = 0xFFD060;
    Grid->SetLook(glXP);
    TControlLook* cl = Grid->ControlLook();
    cl->SetFixedGradient(fgHoverFrom, hover);
    cl->SetFixedGradient(fgHoverTo, hover);
    cl->SetFixedGradient(fgHoverBorder, hoverBorder);
    cl->SetFixedGradient(fgDownFrom, down);
    cl->SetFixedGradient(fgDownTo, down);
    cl->SetFixedGradient(fgDownBorder, downBorder);
    Grid->HoverFixedCells = hfAll;
    Grid->SetColWidths(2, 100);
    Grid->SetAlignments(2, 0, taRightJustify);
    Grid->SetCells(2, 0, "Head");
    Grid->FHoverFixedX = 2;
    Grid->FHoverFixedY = 0;

    const TRect cell = Grid->CellRect(2, 0);
    const TRect r(cell.Left, cell.Top, cell.Right - 1, cell.Bottom - 2); // the painter's rectangle
    const int midY = (r.Top + r.Bottom) / 2;
    Grid->Invalidate();
    const int textEndPlain = RightmostDark(Shot(), TRect(r.Left + 1, r.Top + 1, r.Right - 1, r.Bottom));

    cl->SetFixedDropDownButton(true);
    Grid->Invalidate();
    QImage img = Shot();
    EXPECT_EQ(Px(img, r.Left + 5, r.Bottom - 3), hover);
    EXPECT_EQ(Px(img, r.Right - 4, r.Bottom - 3), hover);
    EXPECT_EQ(Px(img, r.Right - 16, midY + 4), hoverBorder);         // the separator
    EXPECT_EQ(Px(img, r.Right - 8, r.Top + 9), ColorToRGB(clBlack)); // the triangle
    const int textEnd = RightmostDark(img, TRect(r.Left + 1, r.Top + 1, r.Right - 17, r.Bottom));
    EXPECT_EQ(textEndPlain - textEnd, 16);

    // Pressed: the cell takes the down gradient, the button the hover one.
    Grid->FMouseDownMove = true;
    Grid->Invalidate();
    img = Shot();
    EXPECT_EQ(Px(img, r.Left + 5, r.Bottom - 3), down);
    EXPECT_EQ(Px(img, r.Right - 4, r.Bottom - 3), hover);
    EXPECT_EQ(Px(img, r.Right - 16, midY + 4), downBorder);
    // The drop-down button pressed: the other way round.
    Grid->FDropDownDown = true;
    Grid->Invalidate();
    img = Shot();
    EXPECT_EQ(Px(img, r.Left + 5, r.Bottom - 3), hover);
    EXPECT_EQ(Px(img, r.Right - 4, r.Bottom - 3), down);
    // Pressed without the button: all down.
    cl->SetFixedDropDownButton(false);
    Grid->Invalidate();
    img = Shot();
    EXPECT_EQ(Px(img, r.Left + 5, r.Bottom - 3), down);
    EXPECT_EQ(Px(img, r.Right - 4, r.Bottom - 3), down);

    // Another fixed cell, or a look without hover gradients, shows nothing of it.
    Grid->FMouseDownMove = false;
    Grid->FDropDownDown = false;
    Grid->FHoverFixedX = 3;
    Grid->Invalidate();
    img = Shot();
    EXPECT_NE(Px(img, r.Left + 5, r.Bottom - 3), hover);
}

TEST_F(AdvGridCellPaintFixture, FixedRightColumnsFrameOnlyOnFlatGrids) {
    Grid->SetFixedRightCols(1);
    const TRect cell = Grid->CellRect(4, 3);
    struct TCase {
        const char* Name;
        TGridLook Look;
        bool Flat;
        bool Frame;
    };
    const TCase cases[] = {
        {"flat glXP", glXP, true, true},
        {"flat glClassic", glClassic, true, false},
        {"glXP", glXP, false, false},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        Grid->SetLook(c.Look);
        Grid->SetFlat(c.Flat);
        Grid->Invalidate();
        const QImage img = Shot();
        // One pixel outside the cell, in the column left of it.
        EXPECT_EQ(Px(img, cell.Left - 1, (cell.Top + cell.Bottom) / 2) == TColor(0x808080), c.Frame);
        EXPECT_EQ(Px(img, (cell.Left + cell.Right) / 2, cell.Top - 1) == TColor(0x808080), c.Frame);
    }
}

TEST_F(AdvGridCellPaintFixture, SelectionRectangleOnTheSelectionsEdges) {
    Grid->SetSelectionRectangle(true);
    Grid->SelectionRectangleColor = clRed;
    Grid->SetSelection(TGridRect(1, 1, 2, 2));
    const QImage img = Shot();
    const TRect a = Grid->CellRect(1, 1), b = Grid->CellRect(2, 2);
    const int midA = (a.Top + a.Bottom) / 2;
    EXPECT_EQ(Px(img, a.Left + 1, midA), ColorToRGB(clRed));                    // left edge of the selection
    EXPECT_EQ(Px(img, (a.Left + a.Right) / 2, a.Top + 1), ColorToRGB(clRed));   // top edge
    EXPECT_EQ(Px(img, b.Right - 2, (b.Top + b.Bottom) / 2), ColorToRGB(clRed)); // right edge
    // Inside the selection no edge.
    EXPECT_NE(Px(img, a.Right - 3, midA), ColorToRGB(clRed));
}

TEST_F(AdvGridCellPaintFixture, ExceptionInDrawCellLeavesCanvasAndGridUsable) {
    for (int c = 1; c < 4; ++c) Grid->SetCells(c, 1, "Cell");
    Grid->Invalidate();
    const QImage before = Shot();
    bool raised = false;
    Grid->OnDrawCell = [&](TObject*, int ACol, int ARow, TRect, TGridDrawState) {
        if (ACol == 2 && ARow == 1) {
            raised = true;
            throw Exception("drawing failed");
        }
    };
    // A paint of the window reports the exception; a paint onto another canvas passes it on.
    int reported = 0;
    const TExceptionEvent saved = Application->OnException;
    Application->OnException = [&reported](TObject*, Exception&) { ++reported; };
    Grid->Invalidate();
    bool thrown = false;
    try {
        Application->ProcessMessages();
        std::unique_ptr<TBitmap> target(new TBitmap());
        target->SetSize(Grid->Width(), Grid->Height());
        Grid->PaintTo(target->Canvas(), 0, 0);
    } catch (const Exception&) {
        thrown = true;
    }
    Application->OnException = saved;
    EXPECT_TRUE(raised);
    EXPECT_TRUE(thrown || reported > 0);
    TCanvas* c = Grid->Canvas();
    EXPECT_FALSE(c->HasClip());
    EXPECT_EQ(c->Brush()->Style(), bsSolid);
    EXPECT_EQ(c->Pen()->Style(), psSolid);
    EXPECT_EQ(c->Pen()->Width(), 1);

    Grid->OnDrawCell = nullptr;
    Grid->Invalidate();
    EXPECT_EQ(Shot(), before);
}

} // namespace
