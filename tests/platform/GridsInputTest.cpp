// The platform grid driven as a user drives it: keys as a table, SelectCell refusing moves from
// keys, clicks and writers, drag selection with auto-scroll, double clicks, the wheel, sizing
// and moving by mouse, and the end of a gesture when the capture goes.
#include "GridTestSupport.h"

#include <QCursor>
#include <QWidget>

namespace {

// A grid of 10 x 20 cells in the fixture's 200 x 100 client area: 2 columns and 3 rows are
// shown whole below and right of the fixed ones; the last left column is 8, the last top row 17.
struct KeyCase {
    const char* Name;
    int Col, Row, Left, Top; // before
    Word Key;
    TShiftState Shift;
    TGridOptions Extra;
    bool RightToLeft;
    int ExpCol, ExpRow, ExpLeft, ExpTop; // after
    TGridRect ExpSel;
};

class GridKeys : public GridFixture, public ::testing::WithParamInterface<KeyCase> {};

TEST_P(GridKeys, MoveTheCurrentCellAndTheView) {
    const KeyCase& c = GetParam();
    Grid->SetColCount(10);
    Grid->SetRowCount(20);
    AddOptions(c.Extra);
    if (c.RightToLeft) RightToLeft();
    Grid->MoveColRow(c.Col, c.Row, true, false);
    Grid->SetLeftCol(c.Left);
    Grid->SetTopRow(c.Top);
    SimulateKey(Grid, c.Key, c.Shift);
    EXPECT_EQ(Grid->Col(), c.ExpCol);
    EXPECT_EQ(Grid->Row(), c.ExpRow);
    EXPECT_EQ(Grid->LeftCol(), c.ExpLeft);
    EXPECT_EQ(Grid->TopRow(), c.ExpTop);
    EXPECT_EQ(Grid->Selection(), c.ExpSel);
    EXPECT_TRUE(Grid->Focused());
}

const TShiftState None{}, Shift{ssShift}, Ctrl{ssCtrl};

INSTANTIATE_TEST_SUITE_P(
    Table, GridKeys,
    ::testing::Values(
        KeyCase{"Down", 1, 1, 1, 1, VK_DOWN, None, {}, false, 1, 2, 1, 1, {1, 2, 1, 2}},
        KeyCase{"DownScrolls", 1, 3, 1, 1, VK_DOWN, None, {}, false, 1, 4, 1, 2, {1, 4, 1, 4}},
        KeyCase{"UpStopsAtTheFixedRow", 1, 1, 1, 1, VK_UP, None, {}, false, 1, 1, 1, 1, {1, 1, 1, 1}},
        KeyCase{"RightScrolls", 2, 1, 1, 1, VK_RIGHT, None, {}, false, 3, 1, 2, 1, {3, 1, 3, 1}},
        KeyCase{"LeftStopsAtTheFixedColumn", 1, 1, 1, 1, VK_LEFT, None, {}, false, 1, 1, 1, 1, {1, 1, 1, 1}},
        KeyCase{"PageDown", 1, 1, 1, 1, VK_NEXT, None, {}, false, 1, 4, 1, 4, {1, 4, 1, 4}},
        KeyCase{"PageDownNearTheEnd", 1, 18, 1, 17, VK_NEXT, None, {}, false, 1, 19, 1, 17, {1, 19, 1, 19}},
        KeyCase{"PageUp", 1, 10, 1, 8, VK_PRIOR, None, {}, false, 1, 7, 1, 5, {1, 7, 1, 7}},
        KeyCase{
            "CtrlPageDownToTheLastRowShown", 1, 1, 1, 1, VK_NEXT, Ctrl, {}, false, 1, 3, 1, 1, {1, 3, 1, 3}},
        KeyCase{
            "CtrlPageUpToTheFirstRowShown", 1, 7, 1, 5, VK_PRIOR, Ctrl, {}, false, 1, 5, 1, 5, {1, 5, 1, 5}},
        KeyCase{"Home", 5, 3, 4, 1, VK_HOME, None, {}, false, 1, 3, 1, 1, {1, 3, 1, 3}},
        KeyCase{"End", 1, 3, 1, 1, VK_END, None, {}, false, 9, 3, 8, 1, {9, 3, 9, 3}},
        KeyCase{"CtrlHome", 5, 10, 4, 8, VK_HOME, Ctrl, {}, false, 1, 1, 1, 1, {1, 1, 1, 1}},
        KeyCase{"CtrlEnd", 1, 1, 1, 1, VK_END, Ctrl, {}, false, 9, 19, 8, 17, {9, 19, 9, 19}},
        KeyCase{"TabToTheNextRow", 9, 2, 8, 1, VK_TAB, None, {goTabs}, false, 1, 3, 1, 1, {1, 3, 1, 3}},
        KeyCase{"TabRoundTheGrid", 9, 19, 8, 17, VK_TAB, None, {goTabs}, false, 1, 1, 1, 1, {1, 1, 1, 1}},
        KeyCase{"ShiftTabBack", 1, 2, 1, 1, VK_TAB, Shift, {goTabs}, false, 9, 1, 8, 1, {9, 1, 9, 1}},
        KeyCase{"ShiftDownExtendsTheRange", 1, 1, 1, 1, VK_DOWN, Shift, {}, false, 1, 1, 1, 1, {1, 1, 1, 2}},
        KeyCase{"ShiftDownMovesWithoutRanges",
                1,
                1,
                1,
                1,
                VK_DOWN,
                Shift,
                {goEditing},
                false,
                1,
                2,
                1,
                1,
                {1, 2, 1, 2}},
        KeyCase{"RowSelectRightScrolls",
                1,
                2,
                1,
                1,
                VK_RIGHT,
                None,
                {goRowSelect},
                false,
                1,
                2,
                2,
                1,
                {1, 2, 9, 2}},
        KeyCase{"RowSelectHomeGoesToTheFirstRow",
                1,
                10,
                1,
                8,
                VK_HOME,
                None,
                {goRowSelect},
                false,
                1,
                1,
                1,
                1,
                {1, 1, 9, 1}},
        KeyCase{"RightToLeftRightGoesLeft", 2, 1, 1, 1, VK_RIGHT, None, {}, true, 1, 1, 1, 1, {1, 1, 1, 1}},
        KeyCase{"RightToLeftLeftGoesRight", 2, 1, 1, 1, VK_LEFT, None, {}, true, 3, 1, 2, 1, {3, 1, 3, 1}}),
    [](const ::testing::TestParamInfo<KeyCase>& Info) { return std::string(Info.param.Name); });

using GridInput = GridFixture;

TEST_F(GridInput, TabReachesTheGridOnlyWithGoTabs) {
    EXPECT_EQ(Grid->Perform(WM_GETDLGCODE), DLGC_WANTARROWS);
    SimulateKey(Grid, VK_TAB);
    EXPECT_TRUE(Other->Focused()); // the form moved the focus on
    EXPECT_EQ(Grid->Col(), 1);

    AddOptions({goTabs, goEditing});
    EXPECT_EQ(Grid->Perform(WM_GETDLGCODE), DLGC_WANTARROWS | DLGC_WANTTAB | DLGC_WANTCHARS);
    Grid->SetFocus();
    SimulateKey(Grid, VK_TAB);
    EXPECT_TRUE(Grid->Focused());
    EXPECT_EQ(Grid->Col(), 2);
}

TEST_F(GridInput, SelectCellIsAskedBeforeEveryMoveAndCanRefuseIt) {
    Grid->RefuseSelect = [](int C, int R) { return C == 2 && R == 1; };
    Grid->SelectAsked.clear();
    SimulateKey(Grid, VK_RIGHT);  // key
    SimulateClick(Grid, 140, 30); // click on (2, 1)
    Grid->SetCol(2);              // writer
    EXPECT_EQ(Grid->Col(), 1);
    EXPECT_EQ(Grid->Row(), 1);
    EXPECT_EQ(Grid->SelectAsked,
              (std::vector<TGridCoord>{TGridCoord(2, 1), TGridCoord(2, 1), TGridCoord(2, 1)}));
    // Other cells may be reached; the question comes first each time.
    SimulateKey(Grid, VK_DOWN);
    SimulateClick(Grid, 140, 55);
    Grid->SetRow(3);
    EXPECT_EQ(Grid->SelectAsked.size(), 6u);
    EXPECT_EQ(Grid->Col(), 2);
    EXPECT_EQ(Grid->Row(), 3);
}

TEST_F(GridInput, AClickMovesTheCurrentCellAndFiresOneClick) {
    int clicks = 0;
    Grid->OnClick = [&](TObject*) { ++clicks; };
    SimulateClick(Grid, 140, 55);
    EXPECT_EQ(Grid->Col(), 2);
    EXPECT_EQ(Grid->Row(), 2);
    EXPECT_EQ(clicks, 1);
    // A press on a fixed cell moves nothing.
    SimulateClick(Grid, 30, 55);
    EXPECT_EQ(Grid->Col(), 2);
    EXPECT_EQ(Grid->State(), gsNormal);
}

TEST_F(GridInput, DragSelectionAutoScrollsOneRowPerTickWhileThePointerIsBelow) {
    Grid->SetRowCount(20);
    SimulateMouseDown(Grid, mbLeft, {}, 70, 30); // (1, 1)
    EXPECT_EQ(Grid->State(), gsSelecting);
    SimulateMouseMove(Grid, {}, 140, 60); // (2, 2)
    EXPECT_EQ(Grid->Selection(), TGridRect(1, 1, 2, 2));
    EXPECT_EQ(Grid->Col(), 1);             // the current cell stays where the drag began
    SimulateMouseMove(Grid, {}, 140, 150); // below the grid: nothing until the timer ticks
    EXPECT_EQ(Grid->Selection(), TGridRect(1, 1, 2, 2));
    Tick();
    EXPECT_EQ(Grid->TopRow(), 2);
    EXPECT_EQ(Grid->Selection(), TGridRect(1, 1, 2, 4));
    Tick();
    EXPECT_EQ(Grid->TopRow(), 3);
    EXPECT_EQ(Grid->Selection(), TGridRect(1, 1, 2, 5));
    // Over the fixed row it goes back up.
    SimulateMouseMove(Grid, {}, 140, 10);
    Tick();
    EXPECT_EQ(Grid->TopRow(), 2);
    EXPECT_EQ(Grid->Selection(), TGridRect(1, 1, 2, 2));
    SimulateMouseUp(Grid, mbLeft, {}, 140, 10);
    EXPECT_EQ(Grid->State(), gsNormal);
    // After the release the timer changes nothing.
    SimulateMouseMove(Grid, {}, 140, 150);
    Tick();
    EXPECT_EQ(Grid->TopRow(), 2);
    EXPECT_EQ(Grid->Selection(), TGridRect(1, 1, 2, 2));
}

TEST_F(GridInput, ShiftClickExtendsFromTheCurrentCell) {
    SimulateClick(Grid, 70, 30);
    SimulateClick(Grid, 140, 80, mbLeft, {ssShift});
    EXPECT_EQ(Grid->Selection(), TGridRect(1, 1, 2, 3));
    EXPECT_EQ(Grid->Col(), 1);
}

TEST_F(GridInput, TheDoubleClickReplacesTheSecondPress) {
    int clicks = 0, doubles = 0;
    Grid->OnClick = [&](TObject*) { ++clicks; };
    Grid->OnDblClick = [&](TObject*) { ++doubles; };
    SimulateDblClick(Grid, mbLeft, {}, 140, 55);
    EXPECT_EQ(doubles, 1);
    EXPECT_EQ(clicks, 1); // only the first press selected (and clicked)
    EXPECT_EQ(Grid->State(), gsNormal);
    EXPECT_EQ(Grid->Selection(), TGridRect(2, 2, 2, 2));
}

TEST_F(GridInput, TheWheelMovesTheCurrentRow) {
    Grid->SetRowCount(20);
    SimulateWheel(Grid, -WHEEL_DELTA, {}, 70, 30);
    EXPECT_EQ(Grid->Row(), 2);
    SimulateWheel(Grid, -WHEEL_DELTA, {}, 70, 30);
    SimulateWheel(Grid, -WHEEL_DELTA, {}, 70, 30);
    EXPECT_EQ(Grid->Row(), 4);
    EXPECT_EQ(Grid->TopRow(), 2); // scrolled into view
    SimulateWheel(Grid, WHEEL_DELTA, {}, 70, 30);
    EXPECT_EQ(Grid->Row(), 3);
    Grid->RefuseSelect = [](int, int) { return true; };
    SimulateWheel(Grid, WHEEL_DELTA, {}, 70, 30);
    EXPECT_EQ(Grid->Row(), 3);
}

// Sizing by mouse: the cursor over the press point, the state the press starts and the size
// after the release (nothing changes before it).
struct SizingCase {
    const char* Name;
    TGridOptions Options;
    bool RightToLeft, Refuse;
    TPoint Press, Release;
    Qt::CursorShape Cursor;
    TGridState During;
    bool Column;
    int Index, Expected;
};

class GridSizing : public GridFixture, public ::testing::WithParamInterface<SizingCase> {};

TEST_P(GridSizing, FromTheBorderOfAFixedCell) {
    const SizingCase& c = GetParam();
    AddOptions(c.Options);
    if (c.RightToLeft) RightToLeft();
    Grid->RefuseSizing = c.Refuse;
    auto size = [&] { return c.Column ? Grid->ColWidths(c.Index) : Grid->RowHeights(c.Index); };
    const int before = size();
    SimulateMouseMove(Grid, {}, c.Press.X, c.Press.Y);
    EXPECT_EQ(Grid->Widget()->cursor().shape(), c.Cursor);
    SimulateMouseDown(Grid, mbLeft, {}, c.Press.X, c.Press.Y);
    EXPECT_EQ(Grid->State(), c.During);
    SimulateMouseMove(Grid, {}, c.Release.X, c.Release.Y);
    EXPECT_EQ(size(), before);
    SimulateMouseUp(Grid, mbLeft, {}, c.Release.X, c.Release.Y);
    EXPECT_EQ(Grid->State(), gsNormal);
    EXPECT_EQ(size(), c.Expected);
    EXPECT_EQ(Grid->ColWidthsChanges + Grid->RowHeightsChanges, c.Expected == before ? 0 : 1);
}

INSTANTIATE_TEST_SUITE_P(
    Table, GridSizing,
    ::testing::Values(
        // 1 pixel right of the line at 129: the line follows the pointer with that offset (159 - 65).
        SizingCase{"ColumnInTheFixedRow",
                   {goColSizing},
                   false,
                   false,
                   {130, 10},
                   {160, 10},
                   Qt::SplitHCursor,
                   gsColSizing,
                   true,
                   1,
                   94},
        SizingCase{"RowInTheFixedColumn",
                   {goRowSizing},
                   false,
                   false,
                   {10, 49},
                   {10, 70},
                   Qt::SplitVCursor,
                   gsRowSizing,
                   false,
                   1,
                   45},
        // Column 0 spans 136..199 with its line at 135.
        SizingCase{"RightToLeft",
                   {goColSizing},
                   true,
                   false,
                   {135, 10},
                   {110, 10},
                   Qt::SplitHCursor,
                   gsColSizing,
                   true,
                   0,
                   89},
        SizingCase{"NotBelowTheFixedRow",
                   {goColSizing},
                   false,
                   false,
                   {130, 40},
                   {160, 40},
                   Qt::ArrowCursor,
                   gsSelecting,
                   true,
                   1,
                   64},
        SizingCase{"RefusedByTheDescendant",
                   {goColSizing},
                   false,
                   true,
                   {130, 10},
                   {160, 10},
                   Qt::ArrowCursor,
                   gsNormal,
                   true,
                   1,
                   64},
        SizingCase{"WithoutTheOption",
                   {},
                   false,
                   false,
                   {130, 10},
                   {160, 10},
                   Qt::ArrowCursor,
                   gsNormal,
                   true,
                   1,
                   64}),
    [](const ::testing::TestParamInfo<SizingCase>& Info) { return std::string(Info.param.Name); });

TEST_F(GridInput, MovingAColumnByItsFixedCell) {
    AddOptions({goColMoving});
    for (int c = 0; c < 5; ++c) Grid->SetCells(c, 2, QStringLiteral("c%1").arg(c));
    SimulateMouseDown(Grid, mbLeft, {}, 70, 10); // the fixed cell of column 1
    EXPECT_EQ(Grid->State(), gsColMoving);
    SimulateMouseMove(Grid, {}, 150, 10);
    EXPECT_TRUE(Grid->ColumnMoves.empty()); // moved at the release
    SimulateMouseUp(Grid, mbLeft, {}, 150, 10);
    EXPECT_EQ(Grid->ColumnMoves, (std::vector<std::pair<int, int>>{{1, 2}}));
    EXPECT_EQ(Grid->Cells(2, 2), QStringLiteral("c1"));
    EXPECT_EQ(Grid->Cells(1, 2), QStringLiteral("c2"));
    EXPECT_EQ(Grid->State(), gsNormal);
}

TEST_F(GridInput, MovingARowAutoScrollsAndAGestureEndedByTheDescendantMovesNothing) {
    AddOptions({goRowMoving});
    Grid->SetRowCount(20);
    SimulateMouseDown(Grid, mbLeft, {}, 10, 30); // the fixed cell of row 1
    EXPECT_EQ(Grid->State(), gsRowMoving);
    SimulateMouseMove(Grid, {}, 10, 150);
    Tick();
    Tick();
    EXPECT_EQ(Grid->TopRow(), 3);
    SimulateMouseUp(Grid, mbLeft, {}, 10, 150);
    EXPECT_EQ(Grid->RowMoves, (std::vector<std::pair<int, int>>{{1, 5}}));

    // The descendant takes the gesture over before the release: the grid does not move.
    Grid->RowMoves.clear();
    SimulateMouseDown(Grid, mbLeft, {}, 10, 30);
    SimulateMouseMove(Grid, {}, 10, 80);
    Grid->SetState(gsNormal);
    SimulateMouseUp(Grid, mbLeft, {}, 10, 80);
    EXPECT_TRUE(Grid->RowMoves.empty());
}

TEST_F(GridInput, LosingTheCaptureEndsAGestureWithoutItsEffect) {
    AddOptions({goColSizing});
    SimulateMouseDown(Grid, mbLeft, {}, 130, 10);
    SimulateMouseMove(Grid, {}, 170, 10);
    Grid->Perform(WM_CANCELMODE);
    EXPECT_EQ(Grid->State(), gsNormal);
    SimulateMouseUp(Grid, mbLeft, {}, 170, 10);
    EXPECT_EQ(Grid->ColWidths(1), 64);

    Grid->SetRowCount(20);
    SimulateMouseDown(Grid, mbLeft, {}, 70, 30);
    SimulateMouseMove(Grid, {}, 70, 150);
    Grid->Perform(WM_CAPTURECHANGED, 0, LPARAM(Other->Handle()));
    EXPECT_EQ(Grid->State(), gsNormal);
    Tick();
    EXPECT_EQ(Grid->TopRow(), 1);
    SimulateMouseUp(Grid, mbLeft, {}, 70, 150);
}

// The same through the capture itself: another window taking it, and the capture released
// while the button is held, end the gesture without its effect; the grid's own release (which
// gives the capture up too) completes it.
TEST_F(GridInput, TheCaptureTakenAwayEndsAGestureAndTheOwnReleaseCompletesIt) {
    AddOptions({goColSizing});
    SimulateMouseDown(Grid, mbLeft, {}, 130, 10);
    EXPECT_TRUE(Grid->MouseCapture());
    SimulateMouseMove(Grid, {}, 170, 10);
    Other->SetMouseCapture(true);
    EXPECT_EQ(Grid->State(), gsNormal);
    EXPECT_EQ(Grid->ColWidths(1), 64);
    Other->SetMouseCapture(false);
    SimulateMouseUp(Grid, mbLeft, {}, 170, 10);
    EXPECT_EQ(Grid->ColWidths(1), 64);

    SimulateMouseDown(Grid, mbLeft, {}, 130, 10);
    SimulateMouseMove(Grid, {}, 170, 10);
    ReleaseCapture();
    EXPECT_EQ(Grid->State(), gsNormal);
    EXPECT_EQ(Grid->ColWidths(1), 64);
    SimulateMouseUp(Grid, mbLeft, {}, 170, 10);

    SimulateMouseDown(Grid, mbLeft, {}, 130, 10);
    SimulateMouseMove(Grid, {}, 170, 10);
    SimulateMouseUp(Grid, mbLeft, {}, 170, 10);
    EXPECT_FALSE(Grid->MouseCapture());
    EXPECT_EQ(Grid->ColWidths(1), 104);
}

} // namespace
