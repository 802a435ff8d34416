// Scrolling of the grid control driven by messages and timer ticks: the scroll messages against
// the 0..127 model with and without ScrollSynch, the scroll hints, proportional thumbs (and grids
// with nothing to be proportional to), drag scrolling with its two delays, the stretch column
// (also when the owner form is sized), user sizing of all columns, the balloon text request,
// the date-picker notification, the metro scroll controls and the notifier interfaces.
#include "AdvGrid.h"

#include "ComCtrls.h"
#include "ExtCtrls.h"
#include "Forms.h"
#include "HTMLHintWindow.h"
#include "ScrollInfo.h"
#include "ToolTips.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// The grid with its protected steps reachable: the drag-over step and the user sizing state the
// mouse handling sets.
class TScrollTestGrid : public TAdvStringGrid {
public:
    using TAdvStringGrid::TAdvStringGrid;
    void Drag(int X, int Y, TDragState State = dsDragMove) {
        bool accept = false;
        DragOver(nullptr, X, Y, State, accept);
    }
    void BeginUserColumnSizing(int ACol) {
        FUserSizing = true;
        FSizingCol = ACol;
        FSizingColWidth = ColWidths(ACol);
    }
    void BeginUserRowSizing(int ARow) {
        FUserSizing = true;
        FSizingRow = ARow;
        FSizingRowHeight = RowHeights(ARow);
    }
};

class AdvGridScrolling : public ::testing::Test {
protected:
    void SetUp() override {
        Form = new TForm(nullptr);
        Form->SetBounds(100, 100, 600, 400);
        Grid = new TScrollTestGrid(Form);
        Grid->SetParent(Form);
        Grid->SetBounds(10, 10, 400, 250);
        Form->Show();
        Application->ProcessMessages();
    }
    void TearDown() override { TObject::Free(Form); }

    LRESULT Scroll(UINT Msg, int Code, int Pos = 0) {
        return Grid->Perform(Msg, MAKEWPARAM(Word(Code), Word(Pos)), 0);
    }
    SCROLLINFO Info(int Bar) {
        SCROLLINFO si;
        si.fMask = SIF_ALL;
        GetScrollInfo(Grid->Handle(), Bar, si);
        return si;
    }
    int FirstCellOf(int Pos, int Count, int Visible, int Fixed) {
        return MulDiv(Pos, Count - Visible - Fixed, 127) + Fixed;
    }

    TForm* Form = nullptr;
    TScrollTestGrid* Grid = nullptr;
};

// ---------------------------------------------------------------------------------------------
// Scroll messages and hints

TEST_F(AdvGridScrolling, ThumbTrackingFollowsOnlyWithScrollSynch) {
    Grid->SetRowCount(200);
    Grid->SetColCount(60);
    struct TCase {
        UINT Msg;
        int Code;
        int Pos;
        bool Synch;
        bool Moves;
    };
    const TCase cases[] = {
        {WM_VSCROLL, SB_THUMBTRACK, 64, false, false},    {WM_VSCROLL, SB_THUMBTRACK, 64, true, true},
        {WM_VSCROLL, SB_THUMBPOSITION, 100, false, true}, {WM_HSCROLL, SB_THUMBTRACK, 90, false, false},
        {WM_HSCROLL, SB_THUMBTRACK, 90, true, true},      {WM_HSCROLL, SB_THUMBPOSITION, 127, false, true},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(testing::Message() << (c.Msg == WM_VSCROLL ? "vertical" : "horizontal") << " code "
                                        << c.Code << " pos " << c.Pos << " synch " << c.Synch);
        Grid->SetTopRow(1);
        Grid->SetLeftCol(1);
        Grid->ScrollSynch = c.Synch;
        const bool vert = c.Msg == WM_VSCROLL;
        const int expected = vert ? FirstCellOf(c.Pos, Grid->RowCount(), Grid->VisibleRowCount(), 1)
                                  : FirstCellOf(c.Pos, Grid->ColCount(), Grid->VisibleColCount(), 1);
        Scroll(c.Msg, c.Code, c.Pos);
        const int first = vert ? Grid->TopRow() : Grid->LeftCol();
        EXPECT_EQ(first, c.Moves ? expected : 1);
        // The thumb follows the first cell shown in the 0..127 model.
        if (c.Moves) {
            EXPECT_EQ(Info(vert ? SB_VERT : SB_HORZ).nPos, Grid->ScrollBarInfo(vert ? SB_VERT : SB_HORZ).Pos);
        }
    }
}

TEST_F(AdvGridScrolling, ScrollHintsNameTheFirstCellWhileTheThumbIsDragged) {
    Grid->SetRowCount(300);
    Grid->SetColCount(40);
    Grid->ScrollHints = shVertical;
    Grid->ScrollSynch = true;

    Scroll(WM_VSCROLL, SB_THUMBTRACK, 70);
    ASSERT_TRUE(Grid->ScrollHintShowing());
    EXPECT_EQ(Grid->ScrollHintWindow()->Caption(), "Row : " + IntToStr(Grid->TopRow()));
    EXPECT_EQ(Grid->ScrollHintWindow()->Color(), Grid->HintColor);
    Scroll(WM_VSCROLL, SB_ENDSCROLL);
    EXPECT_FALSE(Grid->ScrollHintShowing());

    // Only the bars the setting names show a hint.
    Scroll(WM_HSCROLL, SB_THUMBTRACK, 50);
    EXPECT_FALSE(Grid->ScrollHintShowing());

    Grid->ScrollHints = shBoth;
    int asked = -1;
    Grid->OnScrollHint = [&](TObject*, int ARow, String& Hint) {
        asked = ARow;
        if (ARow > 10) Hint = "column " + IntToStr(ARow);
    };
    Scroll(WM_HSCROLL, SB_THUMBTRACK, 10);
    const int col = FirstCellOf(10, 40, Grid->VisibleColCount(), 1);
    EXPECT_EQ(asked, col);
    EXPECT_EQ(Grid->ScrollHintWindow()->Caption(), "Col : " + IntToStr(col));
    Scroll(WM_HSCROLL, SB_THUMBTRACK, 127);
    EXPECT_EQ(Grid->ScrollHintWindow()->Caption(), "column " + IntToStr(asked));
    Scroll(WM_HSCROLL, SB_ENDSCROLL);
    EXPECT_FALSE(Grid->ScrollHintShowing());
}

TEST_F(AdvGridScrolling, CharactersAreAskedForUnlessTheEditorAsksItself) {
    EXPECT_TRUE(Grid->Perform(WM_GETDLGCODE, 0, 0) & DLGC_WANTCHARS);
    TGridOptions opts = Grid->Options();
    opts.insert(goEditing);
    Grid->SetOptions(opts);
    EXPECT_TRUE(Grid->Perform(WM_GETDLGCODE, 0, 0) & DLGC_WANTCHARS);
    EXPECT_TRUE(Grid->Perform(WM_GETDLGCODE, 0, 0) & DLGC_WANTARROWS);
}

// ---------------------------------------------------------------------------------------------
// Proportional thumbs

TEST_F(AdvGridScrolling, ProportionalThumbsShowTheVisiblePartOfTheData) {
    Grid->SetColCount(20);  // 19 data columns of 64 + 1 line: 1235 pixels; fixed 64 + 2 lines
    Grid->SetRowCount(100); // 99 data rows of 22 + 1 line: 2277 pixels; fixed 22 + 2 lines
    Grid->SetScrollProportional(true);

    // e = (400 - 66) / 1235: range trunc((e + 127) / (1 - e)) = 174, page 174 - 126.
    SCROLLINFO h = Info(SB_HORZ);
    EXPECT_EQ(h.nMin, 0);
    EXPECT_EQ(h.nMax, 174);
    EXPECT_EQ(h.nPage, 48u);
    EXPECT_EQ(h.nPos, 0);
    // e = (250 - 24) / 2277: range 141, page 15.
    SCROLLINFO v = Info(SB_VERT);
    EXPECT_EQ(v.nMax, 141);
    EXPECT_EQ(v.nPage, 15u);
    EXPECT_EQ(v.nPos, 0);

    // The position is the pixels left of the first column shown over the pixels to scroll.
    Grid->SetLeftCol(6);
    h = Info(SB_HORZ);
    EXPECT_EQ(h.nMax, 174);
    EXPECT_EQ(h.nPos, 325 * 128 / (1235 - 400));
    // The thumb still reaches position 127 of the platform grid's model.
    Scroll(WM_HSCROLL, SB_BOTTOM);
    EXPECT_EQ(int(Info(SB_HORZ).nMax - Info(SB_HORZ).nPage + 1), 127);

    // Switched off, the plain range without a page comes back.
    Grid->SetScrollProportional(false);
    h = Info(SB_HORZ);
    EXPECT_EQ(h.nMax, 127);
    EXPECT_EQ(h.nPage, 0u);
    EXPECT_EQ(Info(SB_VERT).nPage, 0u);
}

TEST_F(AdvGridScrolling, ProportionalThumbsLeaveFittingAndEmptyDataAlone) {
    struct TCase {
        const char* Name;
        int Cols, Rows, DataWidth, DataHeight, LineWidth;
    };
    const TCase cases[] = {
        {"everything fits", 4, 5, 64, 22, 1},
        {"data columns and rows of size 0", 30, 300, 0, 0, 0},
        {"one data column and row of size 0", 2, 2, 0, 0, 0},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        Grid->SetScrollProportional(false);
        Grid->SetGridLineWidth(c.LineWidth);
        Grid->SetColCount(c.Cols);
        Grid->SetRowCount(c.Rows);
        for (int i = 1; i < c.Cols; ++i) Grid->SetColWidths(i, c.DataWidth);
        for (int i = 1; i < c.Rows; ++i) Grid->SetRowHeights(i, c.DataHeight);
        const TGridScrollBar hBefore = Grid->ScrollBarInfo(SB_HORZ);
        const TGridScrollBar vBefore = Grid->ScrollBarInfo(SB_VERT);
        Grid->SetScrollProportional(true);
        Grid->UpdateHScrollBar();
        Grid->UpdateVScrollBar();
        Grid->Zoom(1);
        Grid->Zoom(-1);
        EXPECT_EQ(Grid->ScrollBarInfo(SB_HORZ), hBefore);
        EXPECT_EQ(Grid->ScrollBarInfo(SB_VERT), vBefore);
        if (hBefore.Visible) {
            EXPECT_EQ(Info(SB_HORZ).nPage, 0u);
        }
        if (vBefore.Visible) {
            EXPECT_EQ(Info(SB_VERT).nPage, 0u);
        }
    }
}

TEST_F(AdvGridScrolling, FixedColumnsWiderThanTheGridGiveTheSmallestThumb) {
    Grid->SetColCount(20);
    Grid->SetColWidths(0, 500);
    Grid->SetScrollProportional(true);
    const SCROLLINFO h = Info(SB_HORZ);
    // Nothing of the data shows: range 127 with a page of one, never a negative page.
    EXPECT_EQ(h.nMax, 127);
    EXPECT_EQ(h.nPage, 1u);
}

TEST_F(AdvGridScrolling, ZoomRecomputesTheThumbsOnceItsSizesAreSet) {
    Grid->SetColCount(20);
    Grid->SetRowCount(100);
    Grid->SetScrollProportional(true);
    Grid->Zoom(6);
    // The same thumbs as when worked out from scratch for the new sizes.
    const SCROLLINFO h = Info(SB_HORZ), v = Info(SB_VERT);
    Grid->SetScrollProportional(false);
    Grid->SetScrollProportional(true);
    EXPECT_EQ(Info(SB_HORZ).nMax, h.nMax);
    EXPECT_EQ(Info(SB_HORZ).nPage, h.nPage);
    EXPECT_EQ(Info(SB_VERT).nMax, v.nMax);
    EXPECT_EQ(Info(SB_VERT).nPage, v.nPage);
    // Wider columns: a smaller part of the data shows, the thumb is shorter.
    EXPECT_LT(h.nPage, 48u);
}

// ---------------------------------------------------------------------------------------------
// Drag scrolling

TEST_F(AdvGridScrolling, DragScrollingWaitsTheFirstDelayThenRepeats) {
    Grid->SetRowCount(100);
    Grid->DragScrollOptions()->SetActive(true);
    Grid->SetTopRow(4);

    // 20 pixels below the top edge: up, after the first delay.
    Grid->Drag(100, 20, dsDragEnter);
    TTimer* timer = Grid->DragScrollTimer();
    ASSERT_TRUE(timer);
    EXPECT_EQ(timer->Owner(), Form);
    EXPECT_EQ(timer->Interval(), 1000u);
    EXPECT_EQ(Grid->DragScrollDirection(), TDragScrollDirections{dsdUp});
    timer->OnTimer(timer);
    EXPECT_EQ(Grid->TopRow(), 3);
    EXPECT_EQ(timer->Interval(), 250u);
    timer->OnTimer(timer);
    EXPECT_EQ(Grid->TopRow(), 2);

    // A move inside the margin restarts the first delay.
    Grid->Drag(120, 25);
    EXPECT_EQ(Grid->DragScrollTimer(), timer);
    EXPECT_EQ(timer->Interval(), 1000u);

    // A refusal holds this tick only.
    bool refuse = true;
    Grid->OnDragScroll = [&](TObject*, int, int, TDragScrollDirections&, bool& CanScroll) {
        CanScroll = !refuse;
    };
    timer->OnTimer(timer);
    EXPECT_EQ(Grid->TopRow(), 2);
    refuse = false;
    timer->OnTimer(timer);
    EXPECT_EQ(Grid->TopRow(), 1);
    // The first data row is the end.
    timer->OnTimer(timer);
    EXPECT_EQ(Grid->TopRow(), 1);

    // The middle of the grid has no direction: the timer goes.
    Grid->Drag(200, 120);
    EXPECT_EQ(Grid->DragScrollTimer(), nullptr);
    EXPECT_TRUE(Grid->DragScrollDirection().empty());
}

TEST_F(AdvGridScrolling, DragScrollingInTheCornerGoesBothWaysAndStops) {
    Grid->SetRowCount(100);
    Grid->SetColCount(40);
    Grid->DragScrollOptions()->SetActive(true);
    Grid->SetTopRow(10);
    Grid->SetLeftCol(10);

    Grid->Drag(10, 10, dsDragEnter);
    TTimer* timer = Grid->DragScrollTimer();
    ASSERT_TRUE(timer);
    EXPECT_EQ(Grid->DragScrollDirection(), (TDragScrollDirections{dsdUp, dsdLeft}));
    timer->OnTimer(timer);
    EXPECT_EQ(Grid->TopRow(), 9);
    EXPECT_EQ(Grid->LeftCol(), 9);

    // The bottom-right corner: down and right.
    Grid->Drag(Grid->Width() - 5, Grid->Height() - 5);
    timer->OnTimer(timer);
    EXPECT_EQ(Grid->TopRow(), 10);
    EXPECT_EQ(Grid->LeftCol(), 10);

    // Leaving the grid ends it; so does switching drag scrolling off before a tick.
    Grid->Drag(10, 10, dsDragLeave);
    EXPECT_EQ(Grid->DragScrollTimer(), nullptr);
    Grid->Drag(10, 10, dsDragEnter);
    timer = Grid->DragScrollTimer();
    ASSERT_TRUE(timer);
    Grid->DragScrollOptions()->SetActive(false);
    timer->OnTimer(timer);
    EXPECT_EQ(Grid->DragScrollTimer(), nullptr);
    EXPECT_EQ(Grid->TopRow(), 10);

    // Switched off, a drag starts no timer.
    Grid->Drag(10, 10, dsDragEnter);
    EXPECT_EQ(Grid->DragScrollTimer(), nullptr);
}

TEST_F(AdvGridScrolling, ADragScrollTimerFreedByItsOwnerIsForgotten) {
    Grid->DragScrollOptions()->SetActive(true);
    Grid->Drag(10, 10, dsDragEnter);
    TObject::Free(Grid->DragScrollTimer());
    EXPECT_EQ(Grid->DragScrollTimer(), nullptr);
    Grid->Drag(10, 12);
    EXPECT_NE(Grid->DragScrollTimer(), nullptr);
}

// ---------------------------------------------------------------------------------------------
// Stretch column and sizing

TEST_F(AdvGridScrolling, StretchColumnFillsTheClientWidth) {
    // Past the last column raises, also with stretching off; -1 on its own is the last column.
    try {
        Grid->StretchColumn(5);
        FAIL() << "no exception";
    } catch (const EAdvGridError& E) {
        EXPECT_EQ(E.Message(), "Stretch column index out of range");
    }
    EXPECT_THROW(Grid->StretchColumn(-2), EAdvGridError);
    Grid->StretchColumn(-1);
    EXPECT_EQ(Grid->ColWidths(4), 64);

    Grid->ColumnSize()->Stretch = true;
    Grid->StretchColumn(-1);
    EXPECT_EQ(Grid->ColWidths(4), Grid->ClientWidth() - 4 * 64 - 1);
    Grid->StretchColumn(2);
    EXPECT_EQ(Grid->ColWidths(2), Grid->ClientWidth() - 3 * 64 - Grid->ColWidths(4) - 1);

    // The other columns fill the grid already: the default width at the first data column.
    for (int c = 0; c < 4; ++c) Grid->SetColWidths(c, 200);
    Grid->ColumnSize()->Stretch = false;
    Grid->SetColWidths(4, 10);
    Grid->ColumnSize()->Stretch = true;
    Grid->StretchColumn(4);
    EXPECT_EQ(Grid->ColWidths(4), Grid->DefaultColWidth());

    Grid->SetColCount(1);
    Grid->StretchColumn(0);
    EXPECT_EQ(Grid->ColWidths(0), Grid->ClientWidth());
}

TEST_F(AdvGridScrolling, TheStretchColumnFollowsCountsWidthsAndTheForm) {
    Grid->ColumnSize()->Stretch = true;
    Grid->SetColCount(3);
    EXPECT_EQ(Grid->ColWidths(2), Grid->ClientWidth() - 2 * 64 - 1);
    Grid->SetColWidths(0, 100);
    EXPECT_EQ(Grid->ColWidths(2), Grid->ClientWidth() - 100 - 64 - 1);

    // A stretch column past the columns stretches nothing and raises nothing.
    Grid->ColumnSize()->StretchColumn = 7;
    const int last = Grid->ColWidths(2);
    EXPECT_NO_THROW(Grid->SetColWidths(1, 70));
    EXPECT_NO_THROW(Grid->SetColCount(4));
    EXPECT_EQ(Grid->ColWidths(2), last);

    // The owner form grows: the grid grows with it and the last column takes the room.
    Grid->ColumnSize()->StretchColumn = -1;
    Grid->SetColCount(3);
    Grid->SizeWithForm = true;
    const int before = Grid->ColWidths(2);
    Form->SetBounds(Form->Left(), Form->Top(), Form->Width() + 60, Form->Height());
    Application->ProcessMessages();
    EXPECT_EQ(Grid->Width(), 460);
    EXPECT_EQ(Grid->ColWidths(2), before + 60);
}

TEST_F(AdvGridScrolling, UserSizingScalesTheOtherColumnsAndRows) {
    for (int c = 1; c < 5; ++c) Grid->SetColWidths(c, 100);
    Grid->SetColWidths(3, 41);
    Grid->MouseActions()->AllColumnSize = true;
    std::vector<int> ended;
    Grid->OnEndColumnSize = [&](TObject*, int ACol) { ended.push_back(ACol); };
    Grid->OnUpdateColumnSize = [&](TObject*, int ACol, int& AWidth) {
        if (ACol == 1) AWidth += 1;
    };
    Grid->BeginUserColumnSizing(1);
    Grid->SetColWidths(1, 150);
    // Half as wide again, rounded halves to even (41 * 1.5 = 61.5 -> 62); the fixed column stays.
    EXPECT_EQ(Grid->ColWidths(2), 150);
    EXPECT_EQ(Grid->ColWidths(3), 62);
    EXPECT_EQ(Grid->ColWidths(0), 64);
    EXPECT_EQ(ended, std::vector<int>{1});
    EXPECT_EQ(Grid->ColWidths(1), 151);
    // A width change of the program is no user sizing.
    Grid->SetColWidths(2, 80);
    EXPECT_EQ(ended.size(), 1u);
    EXPECT_EQ(Grid->ColWidths(4), 150);

    Grid->MouseActions()->AllRowSize = true;
    int rowEnded = -1;
    Grid->OnEndRowSize = [&](TObject*, int ARow) { rowEnded = ARow; };
    Grid->BeginUserRowSizing(2);
    Grid->SetRowHeights(2, 44);
    EXPECT_EQ(rowEnded, 2);
    EXPECT_EQ(Grid->RowHeights(1), 44);
    EXPECT_EQ(Grid->RowHeights(0), 22);
}

// ---------------------------------------------------------------------------------------------
// Notifications

class AdvGridBalloonText : public AdvGridScrolling {
protected:
    void SetUp() override {
        AdvGridScrolling::SetUp();
        Grid->Balloon()->SetEnable(true);
    }
    // The tip the tool-tip window shows for the pointer over cell (ACol, ARow).
    TToolTipWindow* TipOver(int ACol, int ARow) {
        // A new point each time, so that each rest is a move of its own.
        const TRect r = Grid->CellRect(ACol, ARow);
        FShift = (FShift + 1) % 10;
        SimulateMouseMove(Grid, {}, r.Left + 3 + FShift, r.Top + 5);
        TToolTipWindow* tip = FindToolTipWindow(Grid->ToolTipHandle());
        if (!tip) return nullptr;
        tip->TimerTick();
        return tip;
    }
    int FShift = 0;
};

TEST_F(AdvGridBalloonText, CellTextsAreCutAndCleaned) {
    struct TCase {
        const char* Name;
        String Text;
        String Shown;
    };
    const String long3000(3000, u'x');
    const TCase cases[] = {
        {"long text", long3000, String(2045, u'x') + "..."},
        {"leading line breaks and tabs", "\r\n\tfirst\tsecond\r\nthird", "first second\r\nthird"},
        {"markup", "<b>bold</b> text", "bold text"},
        {"exactly 2048", String(2048, u'y'), String(2048, u'y')},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        Grid->SetCells(2, 1, c.Text);
        TToolTipWindow* tip = TipOver(2, 1);
        ASSERT_TRUE(tip);
        EXPECT_EQ(Grid->ToolTipText(), c.Shown);
        EXPECT_EQ(tip->TipText(), c.Shown);
        EXPECT_EQ(tip->TipTitle(), " ");
        EXPECT_EQ(tip->TipIcon(), TTI_INFO);
        EXPECT_EQ(Grid->LastBalloonPos(), TPoint(2, 1));
        tip->Pop();
    }
    EXPECT_EQ(SendMessage(Grid->ToolTipHandle(), TTM_GETMAXTIPWIDTH, 0, 0), 300);
}

TEST_F(AdvGridBalloonText, LeavingTheCellPopsItsBalloon) {
    Grid->SetCells(2, 1, "first");
    TToolTipWindow* tip = TipOver(2, 1);
    ASSERT_TRUE(tip);
    ASSERT_TRUE(tip->TipShowing());
    // Moving within the cell keeps the balloon.
    const TRect r = Grid->CellRect(2, 1);
    SimulateMouseMove(Grid, {}, r.Left + 9, r.Top + 6);
    EXPECT_TRUE(tip->TipShowing());
    EXPECT_EQ(Grid->LastBalloonPos(), TPoint(2, 1));
    // Another cell pops it and forgets the cell.
    const TRect other = Grid->CellRect(1, 2);
    SimulateMouseMove(Grid, {}, other.Left + 4, other.Top + 4);
    EXPECT_FALSE(tip->TipShowing());
    EXPECT_EQ(Grid->LastBalloonPos(), TPoint(-1, -1));
}

TEST_F(AdvGridBalloonText, BalloonsAndTheirHandlerGiveTitleTextAndIcon) {
    Grid->Balloon()->SetTextColor(clRed);
    Grid->Balloon()->SetBackgroundColor(clYellow);
    Grid->AddCheckBox(1, 2, false, false);
    Grid->AddBalloon(1, 2, String(120, u't'), "the text", biWarning);
    TToolTipWindow* tip = TipOver(1, 2);
    ASSERT_TRUE(tip);
    EXPECT_EQ(tip->TipTitle(), String(97, u't') + "...");
    EXPECT_EQ(tip->TipText(), "the text");
    EXPECT_EQ(tip->TipIcon(), TTI_WARNING);
    EXPECT_EQ(TColor(SendMessage(Grid->ToolTipHandle(), TTM_GETTIPTEXTCOLOR, 0, 0)), ColorToRGB(clRed));
    EXPECT_EQ(TColor(SendMessage(Grid->ToolTipHandle(), TTM_GETTIPBKCOLOR, 0, 0)), ColorToRGB(clYellow));
    tip->Pop();

    // The handler has the last word; its text is held to the tip's length too.
    Grid->OnCellBalloon = [](TObject*, int ACol, int ARow, String& Title, String& Text, int& Icon) {
        Title = "cell " + IntToStr(ACol) + "," + IntToStr(ARow);
        Text = String(5000, u'z');
        Icon = TTI_NONE;
    };
    tip = TipOver(3, 4);
    ASSERT_TRUE(tip);
    EXPECT_EQ(tip->TipTitle(), "cell 3,4");
    EXPECT_EQ(tip->TipText(), String(2045, u'z') + "...");
    EXPECT_EQ(tip->TipIcon(), TTI_NONE);
}

TEST_F(AdvGridScrolling, DatePickerChangesReachOnDateTimeChange) {
    std::vector<TDateTime> got;
    int col = -1, row = -1;
    Grid->OnDateTimeChange = [&](TObject*, int ACol, int ARow, TDateTime Value) {
        col = ACol;
        row = ARow;
        got.push_back(Value);
    };
    Grid->SetCol(2);
    Grid->SetRow(3);
    NMDATETIMECHANGE change;
    change.nmhdr.code = DTN_DATETIMECHANGE;
    change.st = DateTimeToSystemTime(EncodeDate(2024, 2, 29));
    Grid->Perform(WM_NOTIFY, 0, LPARAM(&change));
    change.st.wMonth = 0;
    Grid->Perform(WM_NOTIFY, 0, LPARAM(&change));
    ASSERT_EQ(got.size(), 2u);
    EXPECT_EQ(got[0], EncodeDate(2024, 2, 29));
    EXPECT_EQ(got[1], TDateTime(0));
    EXPECT_EQ(col, 2);
    EXPECT_EQ(row, 3);
}

// ---------------------------------------------------------------------------------------------
// Metro scroll controls

TEST_F(AdvGridScrolling, MetroScrollControlsReplaceTheWindowBars) {
    Grid->SetRowCount(1000);
    Grid->SetColCount(30);
    Grid->SetScrollType(ssMetro);
    TScrollControl* vert = Grid->MetroScrollControl(sdVertical);
    TScrollControl* horz = Grid->MetroScrollControl(sdHorizontal);
    ASSERT_TRUE(vert && horz);
    EXPECT_EQ(Grid->ScrollBars(), ssNone);
    EXPECT_FALSE(Grid->ScrollBarInfo(SB_VERT).Visible);
    EXPECT_EQ(vert->Parent(), Grid);
    EXPECT_EQ(vert->Width(), 6);
    EXPECT_EQ(vert->Left(), Grid->ClientWidth() - 6);
    EXPECT_EQ(horz->Height(), 6);
    EXPECT_EQ(horz->Top(), Grid->ClientHeight() - 6);
    EXPECT_EQ(vert->Direction(), sdVertical);
    EXPECT_EQ(horz->Direction(), sdHorizontal);

    // 1000 rows, about ten visible: the thumb's least length.
    int start = 0, size = 0;
    ASSERT_TRUE(vert->ThumbGeometry(start, size));
    EXPECT_EQ(size, 20);
    EXPECT_EQ(start, 22);
    // 100 rows: the visible part of the track below the fixed row.
    Grid->SetRowCount(100);
    ASSERT_TRUE(vert->ThumbGeometry(start, size));
    const double track = vert->Height() - 22;
    EXPECT_EQ(size, int(std::nearbyint(track * Grid->VisibleRowCount() / 100)));

    // Another type frees them and brings the window's bars back; a look does the same.
    Grid->SetScrollType(ssFlat);
    EXPECT_EQ(Grid->MetroScrollControl(sdVertical), nullptr);
    EXPECT_EQ(Grid->ScrollBars(), ssBoth);
    EXPECT_TRUE(Grid->ScrollBarInfo(SB_VERT).Visible);
    Grid->SetScrollType(ssMetro);
    ASSERT_TRUE(Grid->MetroScrollControl(sdVertical));
    Grid->SetLook(glClassic);
    EXPECT_EQ(Grid->ScrollType(), ssNormal);
    EXPECT_EQ(Grid->MetroScrollControl(sdVertical), nullptr);
}

TEST(AdvGridMetroScroll, MadeWithTheWindowAndFreedWithTheGrid) {
    TForm* form = new TForm(nullptr);
    TAdvStringGrid* grid = new TAdvStringGrid(form);
    grid->SetScrollType(ssMetro);
    EXPECT_EQ(grid->MetroScrollControl(sdVertical), nullptr);
    grid->SetParent(form);
    form->Show();
    grid->HandleNeeded();
    EXPECT_NE(grid->MetroScrollControl(sdVertical), nullptr);
    EXPECT_NE(grid->MetroScrollControl(sdHorizontal), nullptr);
    EXPECT_EQ(grid->ScrollBars(), ssNone);
    TObject::Free(form);
}

// ---------------------------------------------------------------------------------------------
// Listeners, notifiers, arrows

class TRecordingNotifier : public TGridChangeNotifier {
public:
    using TGridChangeNotifier::TGridChangeNotifier;
    void CellsChanged(const TRect& R) override { Rects.push_back(R); }
    std::vector<TRect> Rects;
};

class TListener : public ITAdvStringGridSelect {
public:
    void CellSelected(int, int) override {}
};

TEST_F(AdvGridScrolling, NotifiersHearChangedCellsOnceEachUntilTheyGo) {
    auto* first = new TRecordingNotifier(nullptr);
    auto* second = new TRecordingNotifier(nullptr);
    Grid->RegisterNotifier(first);
    Grid->RegisterNotifier(first);
    Grid->RegisterNotifier(second);
    EXPECT_EQ(Grid->NotifierCount(), 2);
    Grid->CellsChanged(TRect(1, 2, 3, 4));
    EXPECT_EQ(first->Rects, std::vector<TRect>{TRect(1, 2, 3, 4)});
    EXPECT_EQ(second->Rects.size(), 1u);

    Grid->UnRegisterNotifier(second);
    Grid->UnRegisterNotifier(second);
    Grid->CellsChanged(TRect(0, 0, 1, 1));
    EXPECT_EQ(first->Rects.size(), 2u);
    EXPECT_EQ(second->Rects.size(), 1u);

    // A notifier freed while registered leaves the list.
    TObject::Free(first);
    EXPECT_EQ(Grid->NotifierCount(), 0);
    Grid->CellsChanged(TRect(0, 0, 1, 1));
    TObject::Free(second);

    TListener a, b;
    Grid->RegisterSelListener(&a);
    Grid->RegisterSelListener(&b);
    EXPECT_EQ(Grid->SelListener(), &b);
    Grid->UnRegisterSelListener(&a);
    EXPECT_EQ(Grid->SelListener(), nullptr);
}

TEST_F(AdvGridScrolling, ArrowColorPaintsAllFourArrows) {
    Grid->SetArrowColor(clRed);
    EXPECT_EQ(Grid->ArrowColor(), clRed);
    for (int d = arrUp; d <= arrRight; ++d) EXPECT_EQ(Grid->ArrowWindow(TArrowDirection(d))->Color(), clRed);
}

} // namespace
