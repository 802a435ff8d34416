// What the grid paints around its cells, on pixels: the coloured outer border and its rules, the
// XOR sizing lines, OnPainted, and the focus frame window.
#include "AdvGrid.h"

#include "ControlImage.h"
#include "Forms.h"
#include "Graphics.h"
#include "Messages.h"
#include "Regions.h"

#include <gtest/gtest.h>

#include <functional>
#include <set>

namespace {

class AdvGridPaintFixture : public ::testing::Test {
protected:
    void SetUp() override {
        Form = new TForm(nullptr);
        Form->SetBounds(100, 100, 600, 400);
        Form->SetColor(clLime);
        Grid = new TAdvStringGrid(Form);
        Grid->SetParent(Form);
        Grid->SetBounds(10, 10, 300, 200);
        Form->Show();
        Application->ProcessMessages();
    }
    void TearDown() override { TObject::Free(Form); }

    // The grid's window as shown, and its colour at (X, Y).
    TColor WindowPixel(int X, int Y) {
        Application->ProcessMessages();
        const QRgb p = ControlImage(Grid).pixel(X, Y);
        return TColor(qRed(p) | (qGreen(p) << 8) | (qBlue(p) << 16));
    }
    // Paints the whole non-client area again, as the window system asks for it.
    void NonClientPaint() { Grid->Perform(WM_NCPAINT, 0, 0); }

    TForm* Form = nullptr;
    TAdvStringGrid* Grid = nullptr;
};

TEST_F(AdvGridPaintFixture, OuterBorderRules) {
    struct TCase {
        const char* Name;
        std::function<void(TAdvStringGrid*)> Setup;
        bool Border;
    };
    const TCase cases[] = {
        {"glSoft", [](TAdvStringGrid* g) { g->SetLook(glSoft); }, true},
        {"glKit", [](TAdvStringGrid* g) { g->SetLook(glKit); }, true},
        {"glOffice2007", [](TAdvStringGrid* g) { g->SetLook(glOffice2007); }, true},
        {"glStandard", [](TAdvStringGrid* g) { g->SetLook(glStandard); }, false},
        {"glClassic", [](TAdvStringGrid* g) { g->SetLook(glClassic); }, false},
        {"glCustom", [](TAdvStringGrid* g) { g->SetLook(glCustom); }, false},
        {"Flat", [](TAdvStringGrid* g) { g->SetFlat(true); }, false},
        {"no border style", [](TAdvStringGrid* g) { g->SetBorderStyle(bsNone); }, false},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        Grid->SetLook(glXP);
        Grid->SetFlat(false);
        Grid->SetBorderStyle(bsSingle);
        c.Setup(Grid);
        Grid->SetBorderColor(clRed);
        NonClientPaint();
        const int h = Grid->Height(), w = Grid->Width();
        // With FitCellsInGrid: the outline one pixel in, the parent's colour outside it.
        EXPECT_EQ(WindowPixel(1, h / 2) == clRed, c.Border);
        EXPECT_EQ(WindowPixel(w / 2, 1) == clRed, c.Border);
        EXPECT_EQ(WindowPixel(w - 2, h / 2) == clRed, c.Border);
        EXPECT_EQ(WindowPixel(w / 2, h - 2) == clRed, c.Border);
        if (c.Border) {
            EXPECT_EQ(WindowPixel(0, h / 2), ColorToRGB(clLime));
        }
        Grid->SetBorderColor(clBlue); // the next case sets red again and so draws
    }
}

TEST_F(AdvGridPaintFixture, OuterBorderWithoutColourOrFitCells) {
    Grid->SetLook(glKit);
    Grid->SetBorderColor(clNone);
    NonClientPaint();
    EXPECT_NE(WindowPixel(1, 50), clRed);
    // Without FitCellsInGrid one outline on the window's edge.
    Grid->FitCellsInGrid = false;
    Grid->SetBorderColor(clRed);
    NonClientPaint();
    EXPECT_EQ(WindowPixel(0, 50), clRed);
    EXPECT_EQ(WindowPixel(Grid->Width() - 1, 50), clRed);
    EXPECT_EQ(WindowPixel(50, Grid->Height() - 1), clRed);
}

TEST_F(AdvGridPaintFixture, OuterBorderIsLeftOutWhileAnUpdateRuns) {
    Grid->SetLook(glKit);
    Grid->SetBorderColor(clRed);
    NonClientPaint();
    ASSERT_EQ(WindowPixel(1, 50), clRed);
    Grid->BeginUpdate();
    NonClientPaint();
    EXPECT_NE(WindowPixel(1, 50), clRed);
    Grid->EndUpdate();
    EXPECT_EQ(WindowPixel(1, 50), clRed);
}

TEST_F(AdvGridPaintFixture, SizingLineShowsAndDrawingItTwiceLeavesTheCanvasUnchanged) {
    for (int r = 1; r < Grid->RowCount(); ++r) Grid->SetCells(1, r, "some text");
    Application->ProcessMessages();
    // The lines are drawn on the client's picture at once, outside any paint.
    // The client's part of the picture (the lines run on to the control's height and width).
    const QRect client(0, 0, Grid->ClientWidth(), Grid->ClientHeight());
    const QImage before = Grid->BackImage().copy(client);
    for (bool column : {true, false}) {
        SCOPED_TRACE(column ? "column" : "row");
        const int pos = column ? 70 : 40;
        Grid->DrawSizingLine(pos, column);
        const QImage once = Grid->BackImage().copy(client);
        int changed = 0;
        for (int y = 0; y < once.height(); ++y)
            for (int x = 0; x < once.width(); ++x)
                if (once.pixel(x, y) != before.pixel(x, y)) {
                    ++changed;
                    EXPECT_EQ(column ? x : y, pos) << x << "," << y;
                    EXPECT_EQ(once.pixel(x, y) & 0xFFFFFF, ~before.pixel(x, y) & 0xFFFFFF) << "inverted";
                }
        // Dots of three, gaps of three: half the line shows.
        const int length = column ? once.height() : once.width();
        EXPECT_GE(changed, length / 2 - 3);
        EXPECT_LE(changed, length / 2 + 3);
        Grid->DrawSizingLine(pos, column);
        EXPECT_EQ(Grid->BackImage().copy(client), before);
    }
    // The canvas's pen is as it was.
    EXPECT_EQ(Grid->Canvas()->Pen()->Mode(), pmCopy);
    EXPECT_EQ(Grid->Canvas()->Pen()->Style(), psSolid);
}

TEST_F(AdvGridPaintFixture, SizingAFixedColumnMovesItsLineAndLeavesNoneBehind) {
    Grid->MouseActions()->SizeFixedCol = true;
    for (int r = 1; r < Grid->RowCount(); ++r) Grid->SetCells(1, r, "some text");
    Application->ProcessMessages();
    const QRect client(0, 0, Grid->ClientWidth(), Grid->ClientHeight());
    const QImage before = Grid->BackImage().copy(client);
    const auto changedColumns = [&] {
        const QImage now = Grid->BackImage().copy(client);
        std::set<int> xs;
        for (int y = 0; y < now.height(); ++y)
            for (int x = 0; x < now.width(); ++x)
                if (now.pixel(x, y) != before.pixel(x, y)) xs.insert(x);
        return xs;
    };
    const int border = Grid->ColWidths(0);
    const int y = Grid->CellRect(1, 2).Top + 4;
    SimulateMouseMove(Grid, {}, border, y);
    SimulateMouseDown(Grid, mbLeft, {}, border, y);
    EXPECT_EQ(changedColumns(), std::set<int>{border});
    // The line follows the pointer; the old one is gone.
    SimulateMouseMove(Grid, {ssLeft}, border + 30, y);
    EXPECT_EQ(changedColumns(), std::set<int>{border + 30});
    SimulateMouseMove(Grid, {ssLeft}, border + 20, y);
    EXPECT_EQ(changedColumns(), std::set<int>{border + 20});
    SimulateMouseUp(Grid, mbLeft, {}, border + 20, y);
    Application->ProcessMessages();
    EXPECT_EQ(Grid->ColWidths(0), border + 20);
    // What shows now is what a whole new paint gives: no line is left.
    const QImage after = Grid->BackImage().copy(client);
    Grid->Invalidate();
    Application->ProcessMessages();
    EXPECT_EQ(Grid->BackImage().copy(client), after);
}

TEST_F(AdvGridPaintFixture, PaintRaisesOnPainted) {
    int painted = 0;
    Grid->OnPainted = [&](TObject* Sender) {
        EXPECT_EQ(Sender, Grid);
        ++painted;
    };
    Grid->Invalidate();
    Grid->Repaint();
    Application->ProcessMessages();
    EXPECT_GE(painted, 1);
}

TEST_F(AdvGridPaintFixture, FocusFrameShowsARingAroundTheEditedCellOnlyWhenEnabled) {
    Grid->ShowFocusFrame();
    EXPECT_EQ(TAdvStringGrid::FocusFrameGrid(), nullptr) << "FocusHelper is off by default";
    Grid->FocusHelper()->Enabled = true;
    Grid->SetCol(2);
    Grid->SetRow(3);
    Grid->ShowFocusFrame();
    EXPECT_EQ(TAdvStringGrid::FocusFrameGrid(), Grid);
    TGridFocusWindow* fw = Grid->FocusWindow();
    ASSERT_NE(fw, nullptr);
    const TRect cell = Grid->CellRect(2, 3);
    const TPoint at = Grid->ClientToScreen(TPoint(cell.Left - 4, cell.Top - 4));
    EXPECT_EQ(fw->Left(), at.X);
    EXPECT_EQ(fw->Top(), at.Y);
    EXPECT_EQ(fw->Width(), cell.Right - cell.Left + 9);
    EXPECT_EQ(fw->Height(), cell.Bottom - cell.Top + 9);
    EXPECT_TRUE(fw->Visible());
    // Only the ring shows: the window's shape leaves the cell out.
    HRGN shape = CreateRectRgn(0, 0, 0, 0);
    ASSERT_NE(GetWindowRgn(fw->Handle(), shape), RGN_ERROR);
    EXPECT_TRUE(PtInRegion(shape, 1, 1));
    EXPECT_FALSE(PtInRegion(shape, 4 + 5, 4 + 5));
    DeleteObject(shape);
    Grid->HideFocusFrame();
    EXPECT_EQ(TAdvStringGrid::FocusFrameGrid(), nullptr);
    EXPECT_FALSE(fw->Visible());
}

} // namespace
