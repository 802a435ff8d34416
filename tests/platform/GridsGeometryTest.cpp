// The platform grid's geometry and scroll model: cell rectangles and the cell under a point with
// fixed cells, scrolled and right to left; visible counts; the 0..127 scroll bars and the scroll
// messages; the window's scroll bars and border.
#include "GridTestSupport.h"
#include "ScrollBarTestSupport.h"
#include "ScrollInfo.h"

namespace {

struct CellCase {
    const char* Name;
    bool RightToLeft;
    int LeftCol, TopRow;
    int Col, Row;
    TRect Expected; // empty: out of view
};

class GridCellRects : public GridFixture, public ::testing::WithParamInterface<CellCase> {};

TEST_P(GridCellRects, MatchTheLayoutAndMouseCoordFindsTheCellBack) {
    const CellCase& c = GetParam();
    if (c.RightToLeft) RightToLeft();
    Grid->SetLeftCol(c.LeftCol);
    Grid->SetTopRow(c.TopRow);
    const TRect r = Grid->CellRect(c.Col, c.Row);
    EXPECT_EQ(r, c.Expected);
    if (c.Expected.IsEmpty()) return;
    // Every corner pixel of the rectangle lies in that cell.
    for (TPoint p : {TPoint(r.Left, r.Top), TPoint(r.Right - 1, r.Top), TPoint(r.Left, r.Bottom - 1),
                     TPoint(r.Right - 1, r.Bottom - 1)})
        EXPECT_EQ(Grid->MouseCoord(p.X, p.Y), TGridCoord(c.Col, c.Row)) << p.X << "," << p.Y;
}

INSTANTIATE_TEST_SUITE_P(
    Table, GridCellRects,
    ::testing::Values(CellCase{"FixedCorner", false, 1, 1, 0, 0, TRect(0, 0, 64, 24)},
                      CellCase{"FirstScrolling", false, 1, 1, 1, 1, TRect(65, 25, 129, 49)},
                      CellCase{"Inner", false, 1, 1, 2, 3, TRect(130, 75, 194, 99)},
                      CellCase{"CutAtTheRightEdge", false, 1, 1, 3, 1, TRect(195, 25, 200, 49)},
                      CellCase{"PastTheRightEdge", false, 1, 1, 4, 1, TRect()},
                      CellCase{"BelowTheBottom", false, 1, 1, 1, 4, TRect()},
                      CellCase{"ScrolledAway", false, 3, 2, 1, 1, TRect()},
                      CellCase{"ScrolledFirst", false, 3, 2, 3, 2, TRect(65, 25, 129, 49)},
                      CellCase{"FixedRowOverScrolledColumn", false, 3, 2, 4, 0, TRect(130, 0, 194, 24)},
                      CellCase{"FixedColumnBesideScrolledRow", false, 3, 2, 0, 3, TRect(0, 50, 64, 74)},
                      CellCase{"RightToLeftCorner", true, 1, 1, 0, 0, TRect(136, 0, 200, 24)},
                      CellCase{"RightToLeftInner", true, 1, 1, 1, 1, TRect(71, 25, 135, 49)},
                      CellCase{"RightToLeftCutAtTheLeftEdge", true, 1, 1, 3, 1, TRect(0, 25, 5, 49)},
                      CellCase{"RightToLeftScrolled", true, 3, 2, 4, 3, TRect(6, 50, 70, 74)}),
    [](const ::testing::TestParamInfo<CellCase>& Info) { return std::string(Info.param.Name); });

using GridGeometry = GridFixture;

TEST_F(GridGeometry, MouseCoordGivesLinesToTheCellBeforeThemAndMinusOneOutside) {
    EXPECT_EQ(Grid->MouseCoord(64, 24), TGridCoord(0, 0)); // both lines of cell (0, 0)
    EXPECT_EQ(Grid->MouseCoord(65, 25), TGridCoord(1, 1));
    EXPECT_EQ(Grid->MouseCoord(-1, 10), TGridCoord(-1, 0));
    EXPECT_EQ(Grid->MouseCoord(10, 100), TGridCoord(0, -1));
    Grid->SetColCount(3); // the cells end at 195, before the client does
    EXPECT_EQ(Grid->MouseCoord(194, 10), TGridCoord(2, 0));
    EXPECT_EQ(Grid->MouseCoord(195, 10), TGridCoord(-1, 0));
    int c = 0, r = 0;
    Grid->MouseToCell(196, 30, c, r);
    EXPECT_EQ(c, -1);
    EXPECT_EQ(r, 1);

    RightToLeft();
    EXPECT_EQ(Grid->MouseCoord(4, 10), TGridCoord(-1, 0)); // the empty room is on the left now
    EXPECT_EQ(Grid->MouseCoord(5, 10), TGridCoord(2, 0));
    EXPECT_EQ(Grid->MouseCoord(199, 10), TGridCoord(0, 0));
}

TEST_F(GridGeometry, VisibleCountsCountWholeScrollingCells) {
    EXPECT_EQ(Grid->VisibleColCount(), 2); // column 3 is cut
    EXPECT_EQ(Grid->VisibleRowCount(), 3);
    Grid->SetDefaultRowHeight(10);
    EXPECT_EQ(Grid->VisibleRowCount(), 4); // all the scrolling rows fit
    Grid->SetGridLineWidth(0);
    Grid->SetColWidths(1, 100);
    EXPECT_EQ(Grid->VisibleColCount(), 1);
    EXPECT_EQ(Grid->CellRect(2, 1), TRect(164, 10, 200, 20));
}

TEST_F(GridGeometry, HiddenColumnsTakeNoRoomAndHaveNoRectangle) {
    Grid->SetColWidths(1, -1);
    EXPECT_EQ(Grid->CellRect(1, 1), TRect());
    EXPECT_EQ(Grid->CellRect(2, 1), TRect(65, 25, 129, 49));
    EXPECT_EQ(Grid->MouseCoord(70, 30), TGridCoord(2, 1));
}

// Scroll messages on a grid of 20 rows (3 shown whole below the fixed row, the last first row
// that still shows row 19 whole is 17); a thumb at position p shows row MulDiv(p, 16, 127) + 1.
struct ScrollCase {
    const char* Name;
    int StartTop;
    int Code, Pos;
    bool ThumbTracking;
    int ExpectedTop;
};

class GridScrollMessages : public GridFixture, public ::testing::WithParamInterface<ScrollCase> {};

TEST_P(GridScrollMessages, MoveTheTopRow) {
    const ScrollCase& c = GetParam();
    Grid->SetRowCount(20);
    if (c.ThumbTracking) AddOptions({goThumbTracking});
    Grid->SetTopRow(c.StartTop);
    Grid->TopLeftChanges = 0;
    Grid->Perform(WM_VSCROLL, MAKEWPARAM(Word(c.Code), Word(c.Pos)), 0);
    EXPECT_EQ(Grid->TopRow(), c.ExpectedTop);
    EXPECT_EQ(Grid->TopLeftChanges, c.ExpectedTop == c.StartTop ? 0 : 1);
}

INSTANTIATE_TEST_SUITE_P(
    Table, GridScrollMessages,
    ::testing::Values(ScrollCase{"LineDown", 1, SB_LINEDOWN, 0, false, 2},
                      ScrollCase{"LineUp", 5, SB_LINEUP, 0, false, 4},
                      ScrollCase{"LineUpAtTheTop", 1, SB_LINEUP, 0, false, 1},
                      ScrollCase{"PageDown", 1, SB_PAGEDOWN, 0, false, 4},
                      ScrollCase{"PageDownAtTheEnd", 17, SB_PAGEDOWN, 0, false, 17},
                      ScrollCase{"PageUp", 10, SB_PAGEUP, 0, false, 7},
                      ScrollCase{"Top", 5, SB_TOP, 0, false, 1},
                      ScrollCase{"Bottom", 5, SB_BOTTOM, 0, false, 17},
                      ScrollCase{"ThumbPosition", 1, SB_THUMBPOSITION, 64, false, 9},
                      ScrollCase{"ThumbPositionAtTheEnd", 1, SB_THUMBPOSITION, 127, false, 17},
                      ScrollCase{"ThumbTrackIgnoredWithoutTracking", 1, SB_THUMBTRACK, 64, false, 1},
                      ScrollCase{"ThumbTrackWithTracking", 1, SB_THUMBTRACK, 64, true, 9},
                      ScrollCase{"EndScroll", 6, SB_ENDSCROLL, 0, false, 6}),
    [](const ::testing::TestParamInfo<ScrollCase>& Info) { return std::string(Info.param.Name); });

TEST_F(GridGeometry, HorizontalScrollMessagesMoveTheLeftColumn) {
    Grid->SetColCount(10);
    Grid->Perform(WM_HSCROLL, MAKEWPARAM(SB_LINERIGHT, 0), 0);
    EXPECT_EQ(Grid->LeftCol(), 2);
    Grid->Perform(WM_HSCROLL, MAKEWPARAM(SB_RIGHT, 0), 0);
    EXPECT_EQ(Grid->LeftCol(), 8); // columns 8 and 9 fill the room right of the fixed column
    // A message from a scroll bar control is not the grid's.
    Grid->Perform(WM_HSCROLL, MAKEWPARAM(SB_LEFT, 0), 1234);
    EXPECT_EQ(Grid->LeftCol(), 8);
}

TEST_F(GridGeometry, ScrollBarsShowWhereCellsDoNotFitAndTrackTheView) {
    Grid->SetRowCount(20);
    Grid->SetScrollBars(ssVertical);
    EXPECT_TRUE(Grid->ScrollBarInfo(SB_VERT).Visible);
    EXPECT_FALSE(Grid->ScrollBarInfo(SB_HORZ).Visible); // not asked for
    EXPECT_EQ(Grid->ScrollBarInfo(SB_VERT).Min, 0);
    EXPECT_EQ(Grid->ScrollBarInfo(SB_VERT).Max, 127);
    EXPECT_EQ(Grid->ScrollBarInfo(SB_VERT).Pos, 0);
    Grid->Perform(WM_VSCROLL, MAKEWPARAM(SB_BOTTOM, 0), 0);
    EXPECT_EQ(Grid->ScrollBarInfo(SB_VERT).Pos, 127);
    // A thumb dropped halfway shows a row whose position is halfway again.
    Grid->Perform(WM_VSCROLL, MAKEWPARAM(SB_THUMBPOSITION, 64), 0);
    EXPECT_NEAR(Grid->ScrollBarInfo(SB_VERT).Pos, 64, 8);

    // Room for every row: the bar goes and the first scrolling row shows again.
    Grid->SetHeight(600);
    EXPECT_FALSE(Grid->ScrollBarInfo(SB_VERT).Visible);
    EXPECT_EQ(Grid->TopRow(), 1);
}

// ---------------------------------------------------------------------------------------------
// The window around the grid: its border and scroll bars lie outside the client area, where the
// grid's geometry starts.

using GridWindow = GridFixture;
using namespace ScrollBarTestSupport;

LONG StyleOf(TWinControl* C, int Index) {
    return GetWindowLong(C->Handle(), Index);
}

SCROLLINFO InfoOf(TWinControl* C, int Bar) {
    SCROLLINFO si;
    si.fMask = SIF_ALL;
    EXPECT_TRUE(GetScrollInfo(C->Handle(), Bar, si));
    return si;
}

TEST_F(GridWindow, TheBorderStyleFramesTheClientArea) {
    EXPECT_EQ(Grid->ClientRect(), TRect(0, 0, 200, 100));
    Grid->SetBorderStyle(bsSingle);
    EXPECT_TRUE(StyleOf(Grid, GWL_EXSTYLE) & WS_EX_CLIENTEDGE);
    EXPECT_EQ(Grid->ClientRect(), TRect(0, 0, 196, 96));
    EXPECT_EQ(Grid->Width(), 200);
    // PaintTo renders the window: the sunken edge, then the grid moved in by it.
    TBitmap window;
    window.SetSize(200, 100);
    Grid->PaintTo(window.Canvas(), 0, 0);
    EXPECT_EQ(window.Canvas()->Pixels(0, 30), ColorToRGB(clBtnShadow));
    EXPECT_EQ(window.Canvas()->Pixels(2 + 64, 2 + 40), clBlack); // the fixed column's line
    EXPECT_EQ(window.Canvas()->Pixels(2 + 30, 2 + 12), ColorToRGB(clBtnFace));
    // On the screen the frame shows around the client widget.
    const QImage shown = Grid->Widget()->parentWidget()->grab().toImage();
    EXPECT_EQ(shown.pixelColor(0, 30), ToQColor(ColorToRGB(clBtnShadow)));
    // The grid's positions stay client positions.
    EXPECT_EQ(Grid->CellRect(2, 2), TRect(130, 50, 194, 74));
    SimulateClick(Grid, 140, 55);
    EXPECT_EQ(Grid->Col(), 2);
    EXPECT_EQ(Grid->Row(), 2);

    // Without 3D look a 1-pixel line.
    Grid->SetCtl3D(false);
    EXPECT_FALSE(StyleOf(Grid, GWL_EXSTYLE) & WS_EX_CLIENTEDGE);
    EXPECT_TRUE(StyleOf(Grid, GWL_STYLE) & WS_BORDER);
    EXPECT_EQ(Grid->ClientRect(), TRect(0, 0, 198, 98));
    Grid->PaintTo(window.Canvas(), 0, 0);
    EXPECT_EQ(window.Canvas()->Pixels(0, 30), ColorToRGB(clWindowFrame));
    EXPECT_EQ(window.Canvas()->Pixels(1 + 64, 1 + 40), clBlack);

    Grid->SetBorderStyle(bsNone);
    EXPECT_FALSE(StyleOf(Grid, GWL_STYLE) & WS_BORDER);
    EXPECT_EQ(Grid->ClientRect(), TRect(0, 0, 200, 100));
}

// The bars the grid wants are the window's bars: shown per ScrollBars where the cells do not
// fit (the client area gives them room), range 0..127, the position following the view.
TEST_F(GridWindow, TheWindowsScrollBarsShowTheScrollModel) {
    Grid->SetColCount(10);
    Grid->SetRowCount(20);
    Grid->SetScrollBars(ssVertical);
    EXPECT_TRUE(StyleOf(Grid, GWL_STYLE) & WS_VSCROLL);
    EXPECT_FALSE(StyleOf(Grid, GWL_STYLE) & WS_HSCROLL);
    EXPECT_EQ(Grid->ClientRect(), TRect(0, 0, 200 - GetSystemMetrics(SM_CXVSCROLL), 100));
    SCROLLINFO v = InfoOf(Grid, SB_VERT);
    EXPECT_EQ(v.nMin, 0);
    EXPECT_EQ(v.nMax, 127);
    EXPECT_EQ(v.nPos, 0);
    Grid->SetTopRow(17);
    EXPECT_EQ(InfoOf(Grid, SB_VERT).nPos, 127);
    EXPECT_EQ(Grid->ScrollBarInfo(SB_VERT).Pos, 127);

    Grid->SetScrollBars(ssBoth);
    EXPECT_TRUE(StyleOf(Grid, GWL_STYLE) & WS_HSCROLL);
    EXPECT_EQ(Grid->ClientRect(),
              TRect(0, 0, 200 - GetSystemMetrics(SM_CXVSCROLL), 100 - GetSystemMetrics(SM_CYHSCROLL)));
    Grid->SetLeftCol(9);
    EXPECT_EQ(InfoOf(Grid, SB_HORZ).nPos, 127);
    EXPECT_EQ(Grid->TopRow(), 17); // the lower client area still shows the last row

    Grid->SetScrollBars(ssNone);
    EXPECT_FALSE(StyleOf(Grid, GWL_STYLE) & (WS_HSCROLL | WS_VSCROLL));
    EXPECT_EQ(Grid->ClientRect(), TRect(0, 0, 200, 100));

    // Room for every row: the vertical bar goes; the horizontal one stays for the columns.
    Grid->SetScrollBars(ssBoth);
    Grid->SetHeight(600);
    EXPECT_FALSE(StyleOf(Grid, GWL_STYLE) & WS_VSCROLL);
    EXPECT_TRUE(StyleOf(Grid, GWL_STYLE) & WS_HSCROLL);
    EXPECT_EQ(Grid->TopRow(), 1);
}

// The user works the vertical bar of a grid of 20 rows (3 shown whole, position p shows row
// MulDiv(p, 16, 127) + 1): arrows scroll a row, the track a page, the thumb moves the view at
// its release, while dragged only with goThumbTracking; the thumb then shows the view.
TEST_F(GridWindow, TheUsersScrollBarScrollsTheGrid) {
    Grid->SetRowCount(20);
    Grid->SetScrollBars(ssVertical);
    QScrollBar* bar = BarWidget(Grid, Qt::Vertical);
    ASSERT_NE(bar, nullptr);
    ClickPart(bar, QStyle::SC_ScrollBarAddLine);
    EXPECT_EQ(Grid->TopRow(), 2);
    EXPECT_EQ(InfoOf(Grid, SB_VERT).nPos, 8);
    EXPECT_EQ(bar->value(), 8);
    ClickPart(bar, QStyle::SC_ScrollBarAddPage);
    EXPECT_EQ(Grid->TopRow(), 5);
    ClickPart(bar, QStyle::SC_ScrollBarSubLine);
    EXPECT_EQ(Grid->TopRow(), 4);

    // Dragging the thumb: the view waits for the release.
    const QPoint from = PartOf(bar, QStyle::SC_ScrollBarSlider).center();
    BarMouse(bar, QEvent::MouseButtonPress, from, Qt::LeftButton);
    BarMouse(bar, QEvent::MouseMove, from + QPoint(0, 20), Qt::LeftButton);
    EXPECT_EQ(Grid->TopRow(), 4);
    BarMouse(bar, QEvent::MouseButtonRelease, from + QPoint(0, 20), Qt::NoButton);
    const int dropped = Grid->TopRow();
    EXPECT_GT(dropped, 4);
    EXPECT_EQ(InfoOf(Grid, SB_VERT).nPos, Grid->ScrollBarInfo(SB_VERT).Pos);

    // With goThumbTracking it follows the thumb while dragged.
    AddOptions({goThumbTracking});
    const QPoint at = PartOf(bar, QStyle::SC_ScrollBarSlider).center();
    BarMouse(bar, QEvent::MouseButtonPress, at, Qt::LeftButton);
    BarMouse(bar, QEvent::MouseMove, at - QPoint(0, 20), Qt::LeftButton);
    const int tracked = Grid->TopRow();
    EXPECT_LT(tracked, dropped);
    BarMouse(bar, QEvent::MouseButtonRelease, at - QPoint(0, 20), Qt::NoButton);
    EXPECT_EQ(Grid->TopRow(), tracked);
    EXPECT_EQ(bar->value(), Grid->ScrollBarInfo(SB_VERT).Pos);
}

} // namespace
