// The grid control's messages between key presses and clicks, driven by messages and timer ticks:
// the grid timer (incremental-search reset, hover selection, blinking cells), the cursor rules,
// focus enter and exit with their guards, and the size handling (proportional widths, the stretch
// column).
#include "AdvGrid.h"
#include "GridFooterPanel.h"

#include "Forms.h"
#include "ScrollInfo.h"
#include "StdCtrls.h"

#include <gtest/gtest.h>

#include <QCursor>
#include <QImage>
#include <QPixmap>
#include <QWidget>

namespace {

// The grid with the state the mouse handling and editing set reachable.
class TMessageTestGrid : public TAdvStringGrid {
public:
    using TAdvStringGrid::FBlockFocus;
    using TAdvStringGrid::FBlockKill;
    using TAdvStringGrid::FCellSelectorMode;
    using TAdvStringGrid::FMouseSelectMode;
    using TAdvStringGrid::FSizeFixed;
    using TAdvStringGrid::FSizeFixedR;
    using TAdvStringGrid::SearchInc;
    using TAdvStringGrid::SearchTics;
    using TAdvStringGrid::TAdvStringGrid;
    bool BlinkPhase() const { return FGridBlink; }
};

class AdvGridMessages : public ::testing::Test {
protected:
    void SetUp() override {
        Form = new TForm(nullptr);
        Form->SetBounds(100, 100, 600, 400);
        Grid = new TMessageTestGrid(Form);
        Grid->SetParent(Form);
        Grid->SetBounds(10, 10, 400, 250);
        Other = new TEdit(Form);
        Other->SetParent(Form);
        Other->SetBounds(10, 300, 100, 24);
        Form->Show();
        Application->ProcessMessages();
    }
    void TearDown() override { TObject::Free(Form); }

    void GridTick() { Grid->Perform(WM_TIMER, TAdvStringGrid::GridTimerId, 0); }
    // The pointer rests over the middle of a cell.
    void PointAtCell(int ACol, int ARow) {
        const TRect r = Grid->CellRect(ACol, ARow);
        Mouse->SetCursorPos(Grid->ClientToScreen(TPoint((r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2)));
    }
    // Whether the grid's window shows the cursor registered under Id.
    bool ShowsCursor(TCursor Id) {
        const QCursor shown = Grid->Widget()->cursor();
        const QCursor want = Screen->Cursors(Id);
        if (want.shape() != Qt::BitmapCursor) return shown.shape() == want.shape();
        return shown.shape() == Qt::BitmapCursor && shown.hotSpot() == want.hotSpot() &&
               shown.pixmap().toImage() == want.pixmap().toImage();
    }
    void SetCursorMessage() {
        Grid->Perform(WM_SETCURSOR, Grid->Handle(), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    }

    TForm* Form = nullptr;
    TMessageTestGrid* Grid = nullptr;
    TEdit* Other = nullptr;
};

// ---------------------------------------------------------------------------------------------
// The grid timer

TEST_F(AdvGridMessages, IncrementalSearchForgetsItsTextOnTheFourthTick) {
    Grid->Navigation()->AutoGotoIncremental = true;
    Grid->SearchInc = "ab";
    Grid->SearchTics = 0;
    const int ticks = Grid->TimerTicks();
    for (int i = 1; i <= 3; ++i) {
        GridTick();
        EXPECT_EQ(Grid->SearchInc, "ab") << "tick " << i;
        EXPECT_EQ(Grid->SearchTics, i);
    }
    GridTick();
    EXPECT_EQ(Grid->SearchInc, "");
    EXPECT_EQ(Grid->SearchTics, 0);
    EXPECT_EQ(Grid->TimerTicks(), ticks + 4);

    // Without the option the text stays; another timer is not the grid timer.
    Grid->Navigation()->AutoGotoIncremental = false;
    Grid->SearchInc = "cd";
    for (int i = 0; i < 6; ++i) GridTick();
    EXPECT_EQ(Grid->SearchInc, "cd");
    Grid->Perform(WM_TIMER, 5, 0);
    EXPECT_EQ(Grid->TimerTicks(), ticks + 10);
}

TEST_F(AdvGridMessages, HoveringMovesTheCurrentCellToTheRestingPointer) {
    Grid->SetColCount(5);
    Grid->SetRowCount(8);
    GridTick();
    PointAtCell(3, 4);
    GridTick();
    EXPECT_EQ(Grid->Row(), 1) << "hovering is off";

    Grid->Hovering = true;
    GridTick();
    EXPECT_EQ(Grid->Col(), 3);
    EXPECT_EQ(Grid->Row(), 4);
    EXPECT_TRUE(Grid->Focused());

    // Fixed cells and points outside the grid leave the current cell alone.
    PointAtCell(0, 2);
    GridTick();
    PointAtCell(2, 0);
    GridTick();
    Mouse->SetCursorPos(Grid->ClientToScreen(TPoint(Grid->Width() + 30, 20)));
    GridTick();
    EXPECT_EQ(Grid->Col(), 3);
    EXPECT_EQ(Grid->Row(), 4);
}

TEST_F(AdvGridMessages, BlinkingCellsChangeWithEveryTick) {
    Grid->SetColCount(4);
    Grid->SetRowCount(4);
    Grid->SetCells(1, 1, "<BLINK>WWWW</BLINK>");
    Grid->SetCells(2, 1, "steady");
    Application->ProcessMessages();
    const TRect blink = Grid->CellRect(1, 1), steady = Grid->CellRect(2, 1);
    auto shot = [&](const TRect& R) {
        Grid->Update();
        return Grid->GrabImage().copy(R.Left, R.Top, R.Width(), R.Height());
    };
    Grid->EnableBlink = true;
    GridTick();
    const bool phase1 = Grid->BlinkPhase();
    const QImage blink1 = shot(blink), steady1 = shot(steady);
    GridTick();
    EXPECT_NE(Grid->BlinkPhase(), phase1);
    EXPECT_NE(shot(blink), blink1);
    EXPECT_EQ(shot(steady), steady1);
    GridTick();
    EXPECT_EQ(shot(blink), blink1);

    // Switched off, the phase stays.
    Grid->EnableBlink = false;
    const bool phase = Grid->BlinkPhase();
    GridTick();
    EXPECT_EQ(Grid->BlinkPhase(), phase);
}

// ---------------------------------------------------------------------------------------------
// The cursor

TEST_F(AdvGridMessages, CursorFollowsTheSelectionModeAndFixedBorders) {
    Grid->SetColCount(5);
    Grid->SetRowCount(5);
    PointAtCell(2, 2);
    struct TCase {
        TMouseSelectMode Mode;
        TCursor Cursor;
    };
    const TCase cases[] = {{msColumn, TAdvStringGrid::crColSelect},
                           {msRow, TAdvStringGrid::crRowSelect},
                           {msAll, TAdvStringGrid::crAllSelect},
                           {msResize, TAdvStringGrid::crAllSelect}};
    for (const TCase& c : cases) {
        Grid->FMouseSelectMode = c.Mode;
        SetCursorMessage();
        EXPECT_TRUE(ShowsCursor(c.Cursor)) << "mode " << int(c.Mode);
    }
    Grid->FMouseSelectMode = msNormal;
    Grid->FCellSelectorMode = true;
    SetCursorMessage();
    EXPECT_TRUE(ShowsCursor(TAdvStringGrid::crCellSelector));
    Grid->FCellSelectorMode = false;

    // On the border of a fixed column (row) the split cursor wins, whatever else applies.
    Grid->FSizeFixed = true;
    Grid->FMouseSelectMode = msRow;
    SetCursorMessage();
    EXPECT_TRUE(ShowsCursor(crHSplit));
    Grid->FSizeFixed = false;
    Grid->FMouseSelectMode = msNormal;
    Grid->FSizeFixedR = true;
    SetCursorMessage();
    EXPECT_TRUE(ShowsCursor(crVSplit));
    Grid->FSizeFixedR = false;

    // Elsewhere OnGetCellCursor chooses the cursor of the cell under the pointer.
    int askedCol = -1, askedRow = -1;
    Grid->OnGetCellCursor = [&](TObject*, int ACol, int ARow, int, int, TCursor& C) {
        askedCol = ACol;
        askedRow = ARow;
        C = crHandPoint;
    };
    SetCursorMessage();
    EXPECT_EQ(askedCol, 2);
    EXPECT_EQ(askedRow, 2);
}

TEST_F(AdvGridMessages, SelectionCursorsAreDrawnAtTheirSizesAndHotSpots) {
    TAdvStringGrid::RegisterGridCursors();
    struct TCase {
        TCursor Id;
        int X, Y;
    };
    const TCase cases[] = {{8010, 26, 16}, {8011, 13, 26}, {8012, 16, 16}, {8014, 16, 16}, {8000, 16, 16}};
    for (const TCase& c : cases) {
        const QCursor cur = Screen->Cursors(c.Id);
        EXPECT_EQ(cur.shape(), Qt::BitmapCursor) << c.Id;
        EXPECT_EQ(cur.pixmap().size(), QSize(32, 32)) << c.Id;
        EXPECT_EQ(cur.hotSpot(), QPoint(c.X, c.Y)) << c.Id;
    }
    // The arrows are black with a white outline around a transparent rest.
    const QImage row = Screen->Cursors(8010).pixmap().toImage();
    EXPECT_EQ(row.pixelColor(15, 16), QColor(Qt::black));
    EXPECT_EQ(row.pixelColor(5, 16), QColor(Qt::white));
    EXPECT_EQ(row.pixelColor(1, 1).alpha(), 0);
}

// ---------------------------------------------------------------------------------------------
// Focus

TEST_F(AdvGridMessages, FocusEnterAndExitFireOnceUnlessBlocked) {
    int enters = 0, exits = 0;
    Other->SetFocus();
    Grid->OnEnter = [&](TObject*) { ++enters; };
    Grid->OnExit = [&](TObject*) { ++exits; };
    Grid->SetFocus();
    EXPECT_EQ(enters, 1);
    EXPECT_EQ(exits, 0);
    Other->SetFocus();
    EXPECT_EQ(enters, 1);
    EXPECT_EQ(exits, 1);

    // Guards of the grid's own focus moves keep both events back.
    Grid->FBlockFocus = true;
    Grid->SetFocus();
    EXPECT_EQ(enters, 1);
    Grid->FBlockFocus = false;
    Grid->FBlockKill = true;
    Other->SetFocus();
    EXPECT_EQ(exits, 1);
    EXPECT_EQ(Grid->Perform(WM_KILLFOCUS, 0, 0), 1);
    Grid->FBlockKill = false;
}

TEST_F(AdvGridMessages, AlwaysEditReopensTheEditorWhenTheFocusComesBack) {
    Grid->SetColCount(4);
    Grid->SetRowCount(4);
    TGridOptions opts = Grid->Options();
    opts.insert(goEditing);
    Grid->SetOptions(opts);
    Grid->Navigation()->AlwaysEdit = true;
    Grid->SetFocus();
    Grid->ShowInplaceEdit();
    ASSERT_NE(Grid->InplaceEditor(), nullptr);
    Grid->HideInplaceEdit();
    Other->SetFocus();
    EXPECT_FALSE(Grid->EditorMode());
    Grid->SetFocus();
    EXPECT_TRUE(Grid->EditorMode());

    // Not on a cell the can-edit query refuses.
    Grid->HideInplaceEdit();
    Other->SetFocus();
    Grid->OnCanEditCell = [](TObject*, int, int, bool& CanEdit) { CanEdit = false; };
    Grid->SetFocus();
    EXPECT_FALSE(Grid->EditorMode());
}

// ---------------------------------------------------------------------------------------------
// Size

TEST_F(AdvGridMessages, SynchWithGridScalesTheRecordedWidths) {
    Grid->SetBorderStyle(bsNone);
    Grid->SetScrollBars(ssNone);
    Grid->SetColCount(4);
    Grid->SetRowCount(3);
    for (int c = 0; c < 4; ++c) Grid->SetColWidths(c, 40 + 5 * c);
    Grid->SetWidth(200);
    Grid->InitOrigColSizes();
    Grid->ColumnSize()->SynchWithGrid = true;
    Grid->SetWidth(400);
    for (int c = 0; c < 4; ++c) EXPECT_EQ(Grid->ColWidths(c), 2 * (40 + 5 * c)) << c;
    // Odd factors truncate, but the widths always come from the recorded ones.
    Grid->SetWidth(333);
    Grid->SetWidth(200);
    for (int c = 0; c < 4; ++c) EXPECT_EQ(Grid->ColWidths(c), 40 + 5 * c) << c;

    // Normal cells only: the fixed column keeps its width.
    Grid->ColumnSize()->SynchNormalCellsOnly = true;
    Grid->SetWidth(400);
    EXPECT_EQ(Grid->ColWidths(0), 40);
    EXPECT_EQ(Grid->ColWidths(1), 90);
}

TEST_F(AdvGridMessages, SizeStretchesTheStretchColumnWithoutAHorizontalBar) {
    Grid->SetColCount(4);
    Grid->SetRowCount(3);
    for (int c = 0; c < 4; ++c) Grid->SetColWidths(c, 50);
    int resizes = 0;
    Grid->OnResize = [&](TObject*) { ++resizes; };
    Grid->ColumnSize()->Stretch = true;
    Grid->ColumnSize()->StretchColumn = 2;
    Grid->SetWidth(500);
    EXPECT_EQ(Grid->ColWidths(0) + Grid->ColWidths(1) + Grid->ColWidths(2) + Grid->ColWidths(3) + 1,
              Grid->ClientWidth());
    EXPECT_GT(Grid->ColWidths(2), 50);
    EXPECT_EQ(Grid->ColWidths(3), 50);
    EXPECT_GE(resizes, 1);
    EXPECT_FALSE(Grid->ScrollBarInfo(SB_HORZ).Visible);
    EXPECT_EQ(GetWindowLong(Grid->Handle(), GWL_STYLE) & LONG(WS_HSCROLL), 0);
}

TEST_F(AdvGridMessages, CustomCellBordersFollowTheEvent) {
    EXPECT_FALSE(Grid->HasCustomCellBorders());
    Grid->OnGetCellBorder = [](TObject*, int, int, TPen*, TCellBorders&) {};
    EXPECT_TRUE(Grid->HasCustomCellBorders());
    ASSERT_NE(Grid->FooterPanel(), nullptr);
    EXPECT_EQ(Grid->FooterCanvas(), Grid->FooterPanel()->Canvas());
}

} // namespace
