// TAdvStringGrid: moving, hiding and index maps of rows and columns, the row primitives they
// stand on, and the change notification and cell-control placement they call.
//
// A hidden column stays in the cell store at its real index and only leaves ColCount; a hidden
// row leaves the grid into a record of the hidden-row store (FGridItems). The maps between real
// and display rows use the store's sorted index of hidden rows, one binary search per map.
#include "AdvGrid.h"

#include <algorithm>
#include <limits>
#include <unordered_map>

namespace {

std::int16_t ClampWidth(int Width) {
    return std::int16_t(std::clamp<int>(Width, std::numeric_limits<std::int16_t>::min(),
                                        std::numeric_limits<std::int16_t>::max()));
}

} // namespace

// =============================================================================================
// Columns

void TAdvStringGrid::HideColumns(int FromCol, int ToCol) {
    if (EditorMode()) SetEditorMode(false);
    for (int c = std::max(FromCol, 0); c <= ToCol; ++c) {
        if (c >= MaxHideableCols || c >= ColCount() + FNumHidden) break;
        if (!FVisibleCol[size_t(c)] || ColCount() <= 1) continue;
        const int d = DisplColIndex(c);
        FAllColWidths[size_t(c)] = ClampWidth(ColWidths(d));
        for (int k = d; k <= ColCount() - 2; ++k) SetColWidths(k, ColWidths(k + 1));
        ++FNumHidden;
        FVisibleCol[size_t(c)] = false;
        if (Col() == ColCount() - 1 && Col() > 0) MoveColRow(Col() - 1, Row(), true, false);
        SetColCount(ColCount() - 1);
    }
    Invalidate();
}

void TAdvStringGrid::UnHideColumns(int FromCol, int ToCol) {
    if (EditorMode()) SetEditorMode(false);
    for (int c = std::max(FromCol, 0); c <= ToCol && c < MaxHideableCols; ++c) {
        if (FVisibleCol[size_t(c)]) continue;
        --FNumHidden;
        FVisibleCol[size_t(c)] = true;
        SetColCount(ColCount() + 1);
        const int d = DisplColIndex(c);
        for (int k = ColCount() - 1; k > d; --k) SetColWidths(k, ColWidths(k - 1));
        SetColWidths(d, FAllColWidths[size_t(c)]);
    }
    Invalidate();
}

void TAdvStringGrid::UnHideColumnsAll() {
    UnHideColumns(0, TotalColCount() - 1);
}

bool TAdvStringGrid::IsHiddenColumn(int ACol) const {
    return ACol >= 0 && ACol < MaxHideableCols && !FVisibleCol[size_t(ACol)];
}

int TAdvStringGrid::HiddenColWidth(int ACol) const {
    return ACol >= 0 && ACol <= MaxHideableCols ? FAllColWidths[size_t(ACol)] : 0;
}

int TAdvStringGrid::TotalColCount() const {
    return ColCount() + FNumHidden;
}

int TAdvStringGrid::DisplColIndex(int ACol) {
    if (ACol >= MaxHideableCols || FNumHidden == 0 || ACol <= 0) return ACol;
    int hidden = 0;
    for (int c = 0; c < ACol; ++c)
        if (!FVisibleCol[size_t(c)]) ++hidden;
    return ACol - hidden;
}

int TAdvStringGrid::RealColIndex(int ACol) const {
    if (ACol >= MaxHideableCols || FNumHidden == 0 || ACol < 0) return ACol;
    int shown = 0;
    for (int c = 0; c < MaxHideableCols; ++c)
        if (FVisibleCol[size_t(c)]) {
            if (shown == ACol) return c;
            ++shown;
        }
    return 0;
}

// =============================================================================================
// Row cells

void TAdvStringGrid::RowToStrings(int ARow, TStrings* AList) const {
    const int cols = TotalColCount();
    for (int c = 0; c < cols; ++c) AList->AddObject(Cells(c, ARow), Objects(c, ARow));
}

void TAdvStringGrid::StringsToRow(TStrings* AList, int ARow) {
    for (int c = 0; c < AList->Count(); ++c) {
        SetCells(c, ARow, AList->Strings(c));
        SetGridObject(c, ARow, AList->Objects(c));
    }
}

void TAdvStringGrid::BlankStoredRow(int ARow) {
    const int cols = TotalColCount();
    for (int c = 0; c < cols; ++c) {
        SetCells(c, ARow, String());
        SetObjects(c, ARow, nullptr);
    }
}

namespace {

// Copies a stored row's texts and objects onto another (the objects are shared afterwards).
void CopyStoredRow(TStringGrid* Grid, int Cols, int FromRow, int ToRow) {
    for (int c = 0; c < Cols; ++c) {
        Grid->SetCells(c, ToRow, Grid->Cells(c, FromRow));
        Grid->SetObjects(c, ToRow, Grid->Objects(c, FromRow));
    }
}

} // namespace

// =============================================================================================
// Hiding rows

bool TAdvStringGrid::IsHiddenRow(int ARow) const {
    return FGridItems->HasIdx(ARow);
}

bool TAdvStringGrid::IsHiddenRow(int ARow, TIntList*& AList) const {
    if (!AList) {
        AList = new TIntList(0, 0);
        for (int i = 0; i < FGridItems->Count(); ++i) AList->Add(FGridItems->Items(i)->Idx());
    }
    return AList->HasValue(ARow);
}

int TAdvStringGrid::RealRowIndex(int ARow) const {
    if (FGridItems->Count() == 0) return ARow;
    return FGridItems->RealOfDisplay(ARow);
}

int TAdvStringGrid::DisplRowIndex(int ARow) const {
    return ARow - FGridItems->CountBelow(ARow);
}

void TAdvStringGrid::HideRows(int FromRow, int ToRow) {
    // The rows to hide with their display positions before anything moves.
    std::vector<std::pair<int, int>> rows; // real, display
    for (int r = std::max(FromRow, 0); r <= ToRow; ++r) {
        if (IsHiddenRow(r)) continue;
        const int d = DisplRowIndex(r);
        if (d >= RowCount()) break;
        rows.emplace_back(r, d);
    }
    if (rows.empty()) return;
    for (const auto& [r, d] : rows) {
        TGridItem* item = FGridItems->Insert(FGridItems->InsertPosition(r));
        RowToStrings(d, item->Items());
        item->SetIdx(r);
        item->SetHeight(RowHeights(d));
        // The record holds the cell objects now.
        BlankStoredRow(d);
    }
    // Delete from the bottom, each run of neighbouring display rows at once.
    for (size_t i = rows.size(); i > 0;) {
        size_t first = i - 1;
        while (first > 0 && rows[first - 1].second == rows[first].second - 1) --first;
        DeleteRows(rows[first].second, int(i - first), false);
        i = first;
    }
    CellControlsUpdate(false);
}

void TAdvStringGrid::HideRowsEx(int FromRow, int ToRow) {
    if (IsHiddenRow(FromRow)) return;
    HideRows(FromRow, ToRow);
}

void TAdvStringGrid::HideRowList(TIntList* ARows) {
    if (!ARows || ARows->Count() == 0) return;
    const int count = RowCount();
    std::vector<int> heights(size_t(std::max(count, 0)));
    for (int r = 0; r < count; ++r) heights[size_t(r)] = RowHeights(r);
    std::vector<bool> listed(size_t(std::max(count, 0)), false);
    int hiddenNow = 0;
    for (int i = 0; i < ARows->Count(); ++i) {
        const int r = ARows->Items(i);
        if (r < 0 || r >= count || listed[size_t(r)]) continue;
        listed[size_t(r)] = true;
        ++hiddenNow;
        TGridItem* item = FGridItems->Add();
        RowToStrings(r, item->Items());
        item->SetIdx(r);
        item->SetHeight(heights[size_t(r)]);
        item->SetLevel(FFilterLevel);
    }
    ++FFilterLevel;
    const int cols = TotalColCount();
    int w = 0;
    for (int r = 0; r < count; ++r) {
        if (listed[size_t(r)]) continue;
        if (w != r) {
            CopyStoredRow(this, cols, r, w);
            SetRowHeights(w, heights[size_t(r)]);
        }
        ++w;
    }
    for (int r = w; r < count; ++r) BlankStoredRow(r);
    SetRowCountInPlace(count - hiddenNow);
    CellControlsUpdate(false);
}

void TAdvStringGrid::RestoreRecord(TGridItem* Item, int ARow) {
    InsertRows(ARow, 1, false);
    StringsToRow(Item->Items(), ARow);
    SetRowHeights(ARow, Item->Height());
    // The cell objects are back in the grid: the record lets go of them.
    Item->Items()->Clear();
    TObject::Free(Item);
}

namespace {

TGridItem* FindRecord(TGridItems* Items, int Idx) {
    for (int i = 0; i < Items->Count(); ++i)
        if (Items->Items(i)->Idx() == Idx) return Items->Items(i);
    return nullptr;
}

} // namespace

void TAdvStringGrid::UnHideRow(int ARow) {
    if (TGridItem* item = FindRecord(FGridItems.get(), ARow)) RestoreRecord(item, DisplRowIndex(ARow));
    for (int i = 0; i < FControlList->Count(); ++i) {
        TControlItem* ctl = FControlList->GetControl(i);
        if (ctl->Y == ARow && ctl->Control) ctl->Control->SetVisible(true);
    }
    CellControlsUpdate(false);
}

void TAdvStringGrid::UnHideRows(int FromRow, int ToRow) {
    if (!IsHiddenRow(FromRow)) return;
    for (int r = FromRow; r <= ToRow; ++r)
        if (TGridItem* item = FindRecord(FGridItems.get(), r)) RestoreRecord(item, DisplRowIndex(r));
    CellControlsUpdate(false);
}

void TAdvStringGrid::UnHideRowsAll() {
    while (FGridItems->Count() > 0) {
        const int first = FGridItems->Items(0)->Idx();
        int last = first;
        for (int i = 1; i < FGridItems->Count() && FGridItems->Items(i)->Idx() == last + 1; ++i) ++last;
        UnHideRows(first, last);
    }
}

void TAdvStringGrid::UnHideRowList() {
    const int level = FFilterLevel - 1;
    std::unordered_map<int, TGridItem*> byIdx;
    std::vector<TGridItem*> restored;
    for (int i = 0; i < FGridItems->Count(); ++i) {
        TGridItem* item = FGridItems->Items(i);
        if (item->Level() == level && byIdx.emplace(item->Idx(), item).second) restored.push_back(item);
    }
    if (Row() >= RowCount() && RowCount() > TBaseGrid::FixedRows() && ColCount() > TBaseGrid::FixedCols())
        FocusCell(TBaseGrid::FixedCols(), TBaseGrid::FixedRows(), true);
    const int oldCount = RowCount();
    const int newCount = oldCount + int(restored.size());
    SetRowCount(newCount);
    const int cols = TotalColCount();
    int src = oldCount - 1;
    int pos = newCount - 1;
    if (FooterRowShown()) {
        // The row count's setter has moved the footer row to the new last row.
        --src;
        --pos;
    }
    for (; pos >= 0; --pos) {
        auto it = byIdx.find(pos);
        if (it != byIdx.end()) {
            BlankStoredRow(pos);
            StringsToRow(it->second->Items(), pos);
            SetRowHeights(pos, it->second->Height());
            it->second->Items()->Clear();
        } else if (src >= 0) {
            if (src != pos) {
                CopyStoredRow(this, cols, src, pos);
                SetRowHeights(pos, RowHeights(src));
            }
            --src;
        }
    }
    if (FFilterLevel < 2)
        FGridItems->ClearAll();
    else
        for (TGridItem* item : restored) TObject::Free(item);
    CellControlsUpdate(false);
}

// =============================================================================================
// Moving

void TAdvStringGrid::MoveColumn(int FromIndex, int ToIndex) {
    if (FColumnOrder.empty()) SetColumnOrder();
    TBaseGrid::MoveColumn(FromIndex, ToIndex);
    for (int i = 0; i < FControlList->Count(); ++i) {
        TControlItem* ctl = FControlList->GetControl(i);
        ctl->X = FollowMove(ctl->X, FromIndex, ToIndex);
    }
    CellControlsUpdate(false);
}

void TAdvStringGrid::MoveRow(int FromIndex, int ToIndex) {
    if (FooterRefusesRowMove(ToIndex)) return;
    TBaseGrid::MoveRow(FromIndex, ToIndex);
    for (int i = 0; i < FControlList->Count(); ++i) {
        TControlItem* ctl = FControlList->GetControl(i);
        ctl->Y = FollowMove(ctl->Y, FromIndex, ToIndex);
    }
    CellControlsUpdate(false);
}

void TAdvStringGrid::MoveRows(int FromIndex, int ToIndex, int Count) {
    if (FromIndex == ToIndex || Count <= 0) return;
    if (FromIndex < 0 || FromIndex >= RowCount()) return;
    Count = std::min(Count, RowCount() - FromIndex);
    std::vector<TOwned<TStringList>> saved;
    for (int i = 0; i < Count; ++i) {
        saved.emplace_back(new TStringList());
        RowToStrings(FromIndex + i, saved.back().get());
    }
    RemoveRowsEx(FromIndex, Count);
    const int target = std::min(FromIndex + Count < ToIndex ? ToIndex - Count : ToIndex, RowCount());
    InsertRows(target, Count, true);
    for (int i = 0; i < Count; ++i) StringsToRow(saved[size_t(i)].get(), target + i);
    // Hidden rows behind the block's new place make room for it again.
    const int realTarget = RealRowIndex(target);
    for (int i = 0; i < FGridItems->Count(); ++i) {
        TGridItem* item = FGridItems->Items(i);
        if (item->Level() == 0 && item->Idx() >= realTarget) item->SetIdx(item->Idx() + Count);
    }
}

// =============================================================================================
// Row primitives

void TAdvStringGrid::InsertRows(int RowIndex, int RCount, bool UpdateCellControls) {
    if (RCount <= 0 || RowIndex < 0) return;
    RowIndex = std::min(RowIndex, RowCount());
    if (FSelHidden || Col() >= ColCount() || Row() >= RowCount()) UnHideSelection();
    const int realIndex = RealRowIndex(RowIndex);
    SetRowCount(RowCount() + RCount);
    const int cols = TotalColCount();
    const int last = FooterRowShown() ? RowCount() - 2 : RowCount() - 1;
    for (int r = last; r >= RowIndex + RCount; --r) {
        CopyStoredRow(this, cols, r - RCount, r);
        SetRowHeights(r, RowHeights(r - RCount));
    }
    for (int r = RowIndex; r < RowIndex + RCount; ++r) {
        BlankStoredRow(r);
        SetRowHeights(r, DefaultRowHeight());
    }
    // The per-row flags make room for the new rows, as removals close their gaps.
    for (TIntList* flags : {FShowModified->Enabled() ? FModifiedRows.get() : nullptr,
                            UseEnabledRows ? FEnabledRows.get() : nullptr})
        if (flags && RowIndex < flags->Count())
            for (int k = 0; k < RCount; ++k) flags->Insert(RowIndex, 0);
    if (UpdateCellControls && FControlList->Count() > 0) {
        for (int i = 0; i < FControlList->Count(); ++i) {
            TControlItem* ctl = FControlList->GetControl(i);
            if (ctl->Y >= realIndex) ctl->Y += RCount;
        }
        CellControlsUpdate(false);
    }
    if (!ComponentState().count(csDestroying))
        CellsChanged(TRect(0, RowIndex, ColCount() - 1, RowIndex + RCount));
}

void TAdvStringGrid::AddRow() {
    InsertRows(FooterRowShown() ? RowCount() - 1 : RowCount(), 1, true);
}

void TAdvStringGrid::DeleteRows(int ARow, int Count, bool UpdateCellControls) {
    if (ARow < 0 || ARow >= RowCount() || Count <= 0) return;
    Count = std::min(Count, RowCount() - ARow);
    const int realRow = RealRowIndex(ARow);
    if (UpdateCellControls) {
        for (int i = FControlList->Count() - 1; i >= 0; --i) {
            TControlItem* ctl = FControlList->GetControl(i);
            if (ctl->Y >= realRow && ctl->Y < realRow + Count) {
                if (ctl->Control) ctl->Control->Hide();
                FControlList->RemoveControl(i);
            }
        }
        for (int i = 0; i < FGridItems->Count(); ++i) {
            TGridItem* item = FGridItems->Items(i);
            if (item->Idx() > realRow) item->SetIdx(item->Idx() - Count);
        }
    }
    const int oldRow = Row();
    const int oldTop = TopRow();
    // The store moves whole rows, hidden columns included. What is still in the slots belongs to
    // the grid; the rows leave the store blank.
    {
        FRowsLeaving = true;
        struct TLeaving {
            bool& Flag;
            ~TLeaving() { Flag = false; }
        } leaving{FRowsLeaving};
        for (int i = 0; i < Count; ++i) {
            FreeCellPropertiesRange(0, ARow, TotalColCount() - 1, ARow);
            BlankStoredRow(ARow);
            DeleteRow(ARow);
        }
    }
    const int fixedRows = TBaseGrid::FixedRows();
    if (oldRow < RowCount() && oldRow >= fixedRows) {
        if (Row() != oldRow) MoveColRow(Col(), oldRow, true, false);
        if (oldTop < RowCount() && oldTop >= fixedRows) TBaseGrid::SetTopRow(oldTop);
    } else if (RowCount() - 1 >= fixedRows && RowCount() > 0 && Col() < ColCount()) {
        MoveColRow(Col(), RowCount() - 1, true, false);
    }
    CellsChanged(TRect(0, ARow, ColCount() - 1, ARow + Count));
    if (FControlList->Count() > 0) CellControlsUpdate(false);
}

void TAdvStringGrid::DeleteRowRange(int ARow, int Count) {
    if (ARow < 0 || Count <= 0) return;
    FreeCellPropertiesRange(0, ARow, TotalColCount() - 1, std::min(ARow + Count, RowCount()) - 1);
    DeleteRows(ARow, Count, true);
}

void TAdvStringGrid::RemoveRowsEx(int RowIndex, int RCount) {
    if (RowIndex < 0 || RowIndex >= RowCount() || RCount <= 0) return;
    RCount = std::min(RCount, RowCount() - RowIndex);
    const int realAfter = RealRowIndex(RowIndex + RCount - 1);
    const int oldRow = Row();
    const int oldTop = TopRow();
    const int cols = TotalColCount();
    const int count = RowCount();
    for (int r = RowIndex; r + RCount < count; ++r) CopyStoredRow(this, cols, r + RCount, r);
    // The last rows' objects live on above; their slots are emptied, not freed.
    for (int r = count - RCount; r < count; ++r) BlankStoredRow(r);
    SetRowCountInPlace(count - RCount);
    FMaxRowCount -= RCount;
    const int fixedRows = TBaseGrid::FixedRows();
    if (oldRow < RowCount()) {
        if (oldRow >= fixedRows && Row() != oldRow) MoveColRow(Col(), oldRow, true, false);
        if (oldTop >= fixedRows && oldTop < RowCount()) TBaseGrid::SetTopRow(oldTop);
    } else if (fixedRows < RowCount()) {
        MoveColRow(Col(), fixedRows, true, false);
        TBaseGrid::SetTopRow(fixedRows);
    }
    for (int i = 0; i < FGridItems->Count(); ++i) {
        TGridItem* item = FGridItems->Items(i);
        if (item->Level() == 0 && item->Idx() > realAfter) item->SetIdx(item->Idx() - RCount);
    }
    CellsChanged(TRect(0, RowIndex, ColCount() - 1, RowIndex + RCount));
}

// =============================================================================================
// View and selection

void TAdvStringGrid::ScrollInView(int ACol, int ARow) {
    if (ACol < 0 || ARow < 0 || ACol >= ColCount() || ARow >= RowCount()) return;
    const int visCols = VisibleColCount();
    const int visRows = VisibleRowCount();
    const int fixedCols = TBaseGrid::FixedCols();
    const int fixedRows = TBaseGrid::FixedRows();
    int left = LeftCol();
    int top = TopRow();
    if (ACol < LeftCol() || ACol >= LeftCol() + visCols) {
        if (ACol >= fixedCols) TBaseGrid::SetCol(ACol);
        left = std::max(ACol - visCols / 2, fixedCols);
    }
    if (ARow < TopRow() || ARow >= TopRow() + visRows) {
        if (ARow >= fixedRows) SetRow(ARow);
        top = std::max(ARow - visRows / 2, fixedRows);
    }
    left = std::min(left, ColCount() - visCols + 1);
    if (fixedCols + visCols < ColCount() && left != LeftCol()) SetLeftCol(std::max(left, fixedCols));
    top = std::min(top, RowCount() - visRows + 1);
    if (fixedRows + visRows >= RowCount()) return;
    if (top != TopRow()) TBaseGrid::SetTopRow(std::max(top, fixedRows));
    // The search footer, which would cover the last rows, is not built into this grid yet.
}

void TAdvStringGrid::HideSelection() {
    FHiddenSel = Selection();
    SetSelection(TGridRect(ColCount(), RowCount(), ColCount(), RowCount()));
    FSelHidden = true;
}

void TAdvStringGrid::UnHideSelection() {
    FSelHidden = false;
    if (FHiddenSel.Top < RowCount() && FHiddenSel.Left < ColCount()) {
        SetSelection(FHiddenSel);
        return;
    }
    const int c = FFixedColAlways && TBaseGrid::FixedCols() >= ColCount() ? 0 : TBaseGrid::FixedCols();
    const int r = FFixedRowAlways && TBaseGrid::FixedRows() >= RowCount() ? 0 : TBaseGrid::FixedRows();
    SetSelection(TGridRect(c, r, c, r));
}

void TAdvStringGrid::UpdateEditMode() {
    SelectCell(Col(), Row());
}

bool TAdvStringGrid::IsIgnoredColumn(int ACol) const {
    return FIgnoreColumns->HasValue(ACol);
}

// =============================================================================================
// Notification and cell controls

void TAdvStringGrid::CellsChanged(const TRect& R) {
    if (OnCellsChanged) OnCellsChanged(this, R);
    for (int i = 0; i < NotifierCount(); ++i)
        static_cast<TGridChangeNotifier*>(FNotifierList->Items(i))->CellsChanged(R);
    CalcFooter(-1);
}

void TAdvStringGrid::AllCellsChanged() {
    CalcFooter(-1);
}

void TAdvStringGrid::SetColumnOrder() {
    FColumnOrder.resize(size_t(std::max(ColCount(), 0)));
    for (size_t i = 0; i < FColumnOrder.size(); ++i) FColumnOrder[i] = int(i);
}

void TAdvStringGrid::CellControlsUpdate(bool RebuildList) {
    if (!HandleAllocated()) return;
    if (RebuildList) {
        while (FControlList->Count() > 0) FControlList->RemoveControl(0);
        const int cols = TotalColCount();
        for (int r = 0; r < RowCount(); ++r)
            for (int c = 0; c < cols; ++c)
                if (HasCellProperties(c, r))
                    if (TControl* ctl = GetCellProperties(c, r)->Control())
                        FControlList->AddControl(c, RealRowIndex(r), ctl);
    }
    const int fixedCols = TBaseGrid::FixedCols();
    const int fixedRows = TBaseGrid::FixedRows();
    for (int i = 0; i < FControlList->Count(); ++i) {
        TControlItem* item = FControlList->GetControl(i);
        if (!item->Control) continue;
        const int dc = DisplColIndex(item->X);
        const int dr = DisplRowIndex(item->Y);
        const bool hidden =
            IsHiddenColumn(item->X) || IsHiddenRow(item->Y) || dc >= ColCount() || dr >= RowCount();
        const bool outside = (dc >= fixedCols && (dc < LeftCol() || dc > LeftCol() + VisibleColCount())) ||
                             (dr >= fixedRows && (dr < TopRow() || dr > TopRow() + VisibleRowCount()));
        if (hidden || outside) {
            item->Control->Hide();
            continue;
        }
        const TRect r = CellRect(dc, dr);
        item->Control->SetBounds(r.Left - 1, r.Top - 1, r.Width() + 2, r.Height() + 2);
        item->Control->Show();
    }
}
