// TAdvStringGrid: what the grid keeps in step when a column or a row changes its place, and the
// end of a move made with the grid's own visuals at the release of the left button.
//
// A move reaches ColumnMoved and RowMoved either from the platform grid's move (MoveColumn and
// MoveRow of the grid, the platform grid's own mouse move), which has moved the widths or
// heights and the current cell before it calls them, or from a direct call, which has moved
// nothing yet. The platform grid tells the two apart (MovingCells), so that widths, heights and
// the current column move exactly once either way.
#include "AdvGrid.h"
#include "Forms.h"
#include "GridScrollControls.h"

#include <algorithm>

namespace {

// Takes the item at From out and puts it in at To, the items between closing and opening the gap.
template <class It> void MoveItem(It First, int From, int To) {
    if (From < To)
        std::rotate(First + From, First + From + 1, First + To + 1);
    else if (To < From)
        std::rotate(First + To, First + From, First + From + 1);
}

// The same for the widths or heights of the platform grid, read with Size and written with SetSize.
template <class Get, class Set> void MoveSize(int From, int To, Get Size, Set SetSize) {
    const int moved = Size(From);
    if (From < To)
        for (int k = From; k < To; ++k) SetSize(k, Size(k + 1));
    else
        for (int k = From; k > To; --k) SetSize(k, Size(k - 1));
    SetSize(To, moved);
}

// Sets a flag for the life of the scope, also when the scope is left by an exception.
class TFlagScope {
public:
    TFlagScope(bool& Flag) : FFlag(Flag) { FFlag = true; }
    ~TFlagScope() { FFlag = false; }
    TFlagScope(const TFlagScope&) = delete;
    TFlagScope& operator=(const TFlagScope&) = delete;

private:
    bool& FFlag;
};

} // namespace

int TAdvStringGrid::FollowMove(int Index, int FromIndex, int ToIndex) {
    if (Index == FromIndex) return ToIndex;
    if (ToIndex < FromIndex && Index >= ToIndex && Index < FromIndex) return Index + 1;
    if (ToIndex > FromIndex && Index > FromIndex && Index <= ToIndex) return Index - 1;
    return Index;
}

// =============================================================================================
// Columns

void TAdvStringGrid::ColumnMoved(int FromIndex, int ToIndex) {
    const bool platformMoved = MovingCells();
    const int rf = RealColIndex(FromIndex);
    const int rt = RealColIndex(ToIndex);
    const int orders = int(FColumnOrder.size());
    if (rf >= 0 && rt >= 0 && rf < orders && rt < orders) MoveItem(FColumnOrder.begin(), rf, rt);

    if (EnhRowColMove && !platformMoved && FromIndex >= 0 && ToIndex >= 0 && FromIndex < ColCount() &&
        ToIndex < ColCount()) {
        MoveSize(
            FromIndex, ToIndex, [this](int I) { return ColWidths(I); },
            [this](int I, int V) { SetColWidths(I, V); });
    }
    // The cells move by real index below: the hidden flags and stored widths go with them, however
    // the move arrived (left behind, they would hide another column's cells).
    if (FNumHidden > 0 && rf >= 0 && rt >= 0 && std::max(rf, rt) <= MaxHideableCols) {
        MoveItem(FVisibleCol.begin(), rf, rt);
        MoveItem(FAllColWidths.begin(), rf, rt);
    }
    if (EnhRowColMove) ColMoveFlg = true;

    if (FNumHidden == 0)
        TBaseGrid::ColumnMoved(FromIndex, ToIndex);
    else
        TBaseGrid::ColumnMoved(rf, rt);

    for (int i = 0; i < FGridItems->Count() && rf >= 0 && rt >= 0; ++i) {
        TStrings* cells = FGridItems->Items(i)->Items();
        while (cells->Count() <= std::max(rf, rt)) cells->Add(String());
        cells->Move(rf, rt);
    }

    FSortSettings->SetColumn(FollowMove(FSortSettings->Column(), rf, rt));
    if (FSortSettings->IndexShow())
        for (int i = 0; i < FSortIndexes->Count(); ++i)
            FSortIndexes->SetSortColumns(i, FollowMove(FSortIndexes->SortColumns(i), rf, rt));

    if (!platformMoved) {
        const int col = FollowMove(Col(), FromIndex, ToIndex);
        if (col != Col() && col >= 0 && col < ColCount()) SetCol(col);
    }

    if (FooterRowShown()) SettingsRepaintFooterPanel();

    auto* partner = dynamic_cast<TAdvStringGrid*>(FSyncGrid->Grid());
    if (partner && FSyncGrid->MoveColumn && !FSyncedMove && FromIndex < partner->ColCount() &&
        ToIndex < partner->ColCount()) {
        TFlagScope echo(partner->FSyncedMove);
        partner->MoveColumn(FromIndex, ToIndex);
    }
}

// =============================================================================================
// Rows

bool TAdvStringGrid::FooterRefusesRowMove(int ToIndex) const {
    return !FRowsLeaving && FFloatingFooter->Visible() && FFloatingFooter->FooterStyle() == fsFixedLastRow &&
           ToIndex == RowCount() - 1;
}

void TAdvStringGrid::RowMoved(int FromIndex, int ToIndex) {
    if (FUndoingRowMove) return;
    const bool platformMoved = MovingCells();
    if (FooterRefusesRowMove(ToIndex)) {
        // The platform grid has moved the heights and the current row already: they go back.
        if (platformMoved) {
            TFlagScope undo(FUndoingRowMove);
            TBaseGrid::MoveRow(ToIndex, FromIndex);
        }
        return;
    }
    {
        // The event fires below, once the heights have moved.
        TMovedEvent handler = OnRowMoved;
        OnRowMoved = nullptr;
        struct TRestore {
            TMovedEvent& Event;
            TMovedEvent& Handler;
            ~TRestore() { Event = Handler; }
        } restore{OnRowMoved, handler};
        TBaseGrid::RowMoved(FromIndex, ToIndex);
    }
    if (EnhRowColMove) {
        if (!platformMoved && FromIndex >= 0 && ToIndex >= 0 && FromIndex < RowCount() &&
            ToIndex < RowCount()) {
            MoveSize(
                FromIndex, ToIndex, [this](int I) { return RowHeights(I); },
                [this](int I, int V) { SetRowHeights(I, V); });
        }
        ColMoveFlg = true;
    }
    if (OnRowMoved) OnRowMoved(this, FromIndex, ToIndex);

    auto* partner = dynamic_cast<TAdvStringGrid*>(FSyncGrid->Grid());
    if (partner && FSyncGrid->MoveRow && !FSyncedMove && FromIndex < partner->RowCount() &&
        ToIndex < partner->RowCount()) {
        TFlagScope echo(partner->FSyncedMove);
        partner->MoveRow(FromIndex, ToIndex);
    }
}

// =============================================================================================
// The end of a move with the grid's own visuals

void TAdvStringGrid::EndBlockFocus() {
    if (OnEndBlockFocus) OnEndBlockFocus(this);
}

bool TAdvStringGrid::EndEnhancedMove(int X, int Y) {
    const TCursor cursor = Screen->Cursor();
    if ((cursor != crDrag && cursor != crNoDrop) ||
        (FGridState != gsColMoving && FGridState != gsRowMoving) || !EnhRowColMove)
        return false;
    const bool columns = FGridState == gsColMoving;
    if (FMoveButton) {
        FMoveButton->SetEnabled(false);
        FMoveButton->Hide();
    }
    if (MoveForm) {
        TCustomForm* form = MoveForm;
        MoveForm = nullptr;
        TObject::Free(form);
    }
    EndBlockFocus();
    Screen->SetCursor(crDefault);
    // The platform grid's scroll timer stops and its own move at this release does not run.
    if (HandleAllocated()) KillTimer(Handle(), 1);
    FGridState = gsNormal;

    if (cursor == crNoDrop) {
        // The last place was refused: nothing moves; the pressed header is drawn up again.
        if (Movecell >= 0) {
            if (columns)
                RepaintRow(0);
            else
                RepaintCol(0);
        }
        return true;
    }
    if (Movecell < 0) return true;
    int col = -1, row = -1;
    MouseToCell(X, Y, col, row);
    if (columns) {
        if (col >= FixedCols() && col != Movecell && Movecell < ColCount()) MoveColumn(Movecell, col);
    } else {
        if (row >= FixedRows() && row != Movecell && Movecell < RowCount()) MoveRow(Movecell, row);
    }
    return true;
}
