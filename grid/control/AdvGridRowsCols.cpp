// TAdvStringGrid: inserting, removing, clearing, trimming, colouring and merging whole rows,
// columns and blocks of cells, with the grid's side structures (heights, cell controls, row and
// column flags, hidden rows and columns, the current cell) kept in step with the moved cells.
//
// Storage columns are real columns: a hidden column keeps its cells in place, so operations on
// storage columns walk TotalColCount. A hidden row lives in a record of the hidden-row store,
// whose text list has one entry per storage column, so column operations reach into the records
// as well.
#include "AdvGrid.h"

#include <QSet>

#include <algorithm>
#include <vector>

namespace {

bool IsDestroying(const TComponent* C) {
    return C->ComponentState().count(csDestroying) != 0;
}

// The stored text of the cell's base cell.
String BaseText(TBaseGrid* G, int ACol, int ARow) {
    const TPoint b = G->BaseCell(ACol, ARow);
    return G->Cells(b.X, b.Y);
}

void CopyStoredColumn(TStringGrid* G, int Rows, int FromCol, int ToCol) {
    for (int r = 0; r < Rows; ++r) {
        G->SetCells(ToCol, r, G->Cells(FromCol, r));
        G->SetObjects(ToCol, r, G->Objects(FromCol, r));
    }
}

// Deletes Count entries at Index of a per-row or per-column flag list (those it has).
template <class TList_> void DeleteEntries(TList_* List, int Index, int Count) {
    for (int i = 0; i < Count && Index < List->Count(); ++i) List->Delete(Index);
}

} // namespace

// =============================================================================================
// Row flags of the disjunct selection

bool TAdvStringGrid::RowSelectedForOps(int ARow) {
    TMouseActions* ma = FMouseActions.get();
    if (ma->DisjunctRowSelect()) return RowSelectFlag(ma->RowSelectPersistent ? RealRowIndex(ARow) : ARow);
    const TGridRect s = Selection();
    return ARow >= std::min(s.Top, s.Bottom) && ARow <= std::max(s.Top, s.Bottom);
}

void TAdvStringGrid::ClearRowFlags() {
    FSelectedRowList->Clear();
    FSelectedRows->Clear();
    Invalidate();
}

void TAdvStringGrid::ClearColFlags() {
    FSelectedColList->Clear();
    Invalidate();
}

// =============================================================================================
// Removing rows

void TAdvStringGrid::RemoveRows(int RowIndex, int RCount) {
    // A shown footer row is no data row: it stays last.
    const int rows = FooterRowShown() ? RowCount() - 1 : RowCount();
    if (RowIndex < 0 || RowIndex >= rows || RCount <= 0) return;
    // Only the rows that exist leave; the rows before RowIndex stay whatever the count asked.
    RCount = std::min(RCount, rows - RowIndex);

    std::vector<int> removedReal;
    for (int k = 0; k < RCount; ++k) removedReal.push_back(RealRowIndex(RowIndex + k));
    // The number of removed rows before a real row.
    auto removedBefore = [&](int Real) {
        return int(std::lower_bound(removedReal.begin(), removedReal.end(), Real) - removedReal.begin());
    };

    // Controls in the removed rows go with them; the later ones move up.
    for (int i = FControlList->Count() - 1; i >= 0; --i) {
        TControlItem* ctl = FControlList->GetControl(i);
        if (std::binary_search(removedReal.begin(), removedReal.end(), ctl->Y)) {
            if (ctl->Control) ctl->Control->Hide();
            FControlList->RemoveControl(i);
        } else {
            ctl->Y -= removedBefore(ctl->Y);
        }
    }
    FreeCellPropertiesRange(0, RowIndex, TotalColCount() - 1, RowIndex + RCount - 1);

    BeginUpdate();
    const int oldRow = Row();
    const int oldTop = TopRow();
    // Every hidden row keeps pointing at its own data: its real index drops by the removed rows
    // before it.
    for (int i = 0; i < FGridItems->Count(); ++i) {
        TGridItem* item = FGridItems->Items(i);
        if (const int n = removedBefore(item->Idx())) item->SetIdx(item->Idx() - n);
    }
    if (FShowModified->Enabled()) DeleteEntries(FModifiedRows.get(), RowIndex, RCount);
    if (UseEnabledRows) DeleteEntries(FEnabledRows.get(), RowIndex, RCount);
    if (FMouseActions->DisjunctRowSelect()) {
        DeleteEntries(FSelectedRowList.get(), RowIndex, RCount);
        for (int i = FSelectedRows->Count() - 1; i >= 0; --i) {
            const int r = FSelectedRows->Items(i);
            if (r >= RowIndex + RCount)
                FSelectedRows->SetItems(i, r - RCount);
            else if (r >= RowIndex)
                FSelectedRows->Delete(i);
        }
    }
    const int cols = TotalColCount();
    const int count = RowCount();
    for (int r = RowIndex; r + RCount < count; ++r) {
        for (int c = 0; c < cols; ++c) {
            SetCells(c, r, Cells(c, r + RCount));
            SetObjects(c, r, Objects(c, r + RCount));
        }
        SetRowHeights(r, RowHeights(r + RCount));
    }
    for (int r = count - RCount; r < count; ++r) BlankStoredRow(r);
    SetRowCountInPlace(count - RCount);
    FMaxRowCount -= RCount;

    const int fixedRows = TBaseGrid::FixedRows();
    const int lastData = RowCount() - FFixedFooters - 1;
    if (oldRow < RowCount() - FFixedFooters && oldRow >= fixedRows) {
        if (!FMouseActions->DisjunctRowSelect() && Row() != oldRow && Col() < ColCount())
            MoveColRow(Col(), oldRow, true, false);
        if (oldTop >= fixedRows && oldTop < RowCount()) TBaseGrid::SetTopRow(oldTop);
    } else if (lastData >= fixedRows && Col() < ColCount()) {
        MoveColRow(Col(), lastData, true, false);
    } else if (oldRow >= RowCount()) {
        HideSelection();
    }
    FSelHidden = false;
    EndUpdate();

    CellsChanged(TRect(0, RowIndex, ColCount() - 1, RowIndex + RCount));
    if (FControlList->Count() > 0) CellControlsUpdate(false);
}

void TAdvStringGrid::RemoveCheckedRows(int CheckBoxColumn, bool RemoveChecked) {
    BeginUpdate();
    for (int r = RowCount() - 1; r >= TBaseGrid::FixedRows(); --r)
        if (IsChecked(CheckBoxColumn, RealRowIndex(r)) == RemoveChecked) RemoveRows(r, 1);
    EndUpdate();
}

void TAdvStringGrid::RemoveDuplicates(int ACol, bool DoCase) {
    const int col = RealColIndex(ACol);
    if (col < 0 || col >= TotalColCount()) return;
    // The texts seen so far. DoCase would only keep their case in the list; the lookup ignores
    // case either way, so the list holds them upper-cased.
    (void)DoCase;
    QSet<String> seen;
    BeginUpdate();
    int r = TBaseGrid::FixedRows();
    while (r < RowCount() - FFixedFooters) {
        const String key = GetCellEx(col, r).toUpper();
        if (seen.contains(key)) {
            DeleteRowRange(r, 1);
        } else {
            seen.insert(key);
            ++r;
        }
    }
    EndUpdate();
}

void TAdvStringGrid::RemoveSelectedRows() {
    BeginUpdate();
    const int fixedRows = TBaseGrid::FixedRows();
    if (FMouseActions->DisjunctRowSelect()) {
        std::vector<int> rows; // descending
        for (int r = RowCount() - FFixedFooters - 1; r >= fixedRows; --r)
            if (RowSelectedForOps(r)) rows.push_back(r);
        for (int r : rows) DeleteRowRange(r, 1);
        ClearRowFlags();
    } else {
        const TGridRect s = Selection();
        const int top = std::max(std::min(s.Top, s.Bottom), fixedRows);
        const int bottom = std::min(std::max(s.Top, s.Bottom), RowCount() - 1);
        for (int r = bottom; r >= top; --r) DeleteRowRange(r, 1);
    }
    EndUpdate();
}

void TAdvStringGrid::RemoveUnSelectedRows() {
    BeginUpdate();
    const int fixedRows = TBaseGrid::FixedRows();
    // Which rows stay is read before any row moves.
    std::vector<int> rows; // descending
    for (int r = RowCount() - FFixedFooters - 1; r >= fixedRows; --r)
        if (!RowSelectedForOps(r)) rows.push_back(r);
    for (int r : rows) DeleteRowRange(r, 1);
    if (FMouseActions->DisjunctRowSelect()) {
        ClearRowFlags();
        if (FMouseActions->RowSelectPersistent) {
            // Every remaining row is a selected one.
            for (int r = fixedRows; r < RowCount() - FFixedFooters; ++r) {
                const int real = RealRowIndex(r);
                if (FSelectedRowList->Count() <= real) FSelectedRowList->SetCount(real + 1);
                FSelectedRowList->SetItems(real, FSelectedRowList.get());
                FSelectedRows->Add(real);
            }
        }
    }
    EndUpdate();
}

void TAdvStringGrid::HideSelectedRows() {
    std::vector<int> real; // descending
    for (int r = RowCount() - 1; r >= TBaseGrid::FixedRows(); --r)
        if (RowSelectedForOps(r)) real.push_back(RealRowIndex(r));
    BeginUpdate();
    for (int r : real) HideRows(r, r);
    EndUpdate();
}

void TAdvStringGrid::HideUnSelectedRows() {
    std::vector<int> real; // descending
    for (int r = RowCount() - 1; r >= TBaseGrid::FixedRows(); --r)
        if (!RowSelectedForOps(r)) real.push_back(RealRowIndex(r));
    BeginUpdate();
    for (int r : real) HideRows(r, r);
    EndUpdate();
}

// =============================================================================================
// Columns

void TAdvStringGrid::RecountHiddenColumns() {
    int hidden = 0;
    for (int c = 0; c < MaxHideableCols; ++c)
        if (!FVisibleCol[size_t(c)]) ++hidden;
    const int total = TotalColCount();
    FNumHidden = hidden;
    // A hidden column pushed out of the visibility table shows again.
    if (ColCount() != total - hidden) SetColCount(total - hidden);
}

void TAdvStringGrid::InsertCols(int ColIndex, int CCount) {
    if (CCount <= 0 || ColIndex < 0) return;
    const int oldTotal = TotalColCount();
    ColIndex = std::min(ColIndex, oldTotal);
    const int displ = DisplColIndex(ColIndex);
    const int oldShown = ColCount();
    std::vector<int> widths;
    for (int d = 0; d < oldShown; ++d) widths.push_back(ColWidths(d));

    const int rows = RowCount();
    SetColCount(oldShown + CCount);
    const int total = oldTotal + CCount;
    for (int c = total - 1; c >= ColIndex + CCount; --c) CopyStoredColumn(this, rows, c - CCount, c);
    for (int c = std::min(MaxHideableCols, total - 1); c >= ColIndex; --c) {
        const bool inserted = c < ColIndex + CCount;
        FVisibleCol[size_t(c)] = inserted || FVisibleCol[size_t(c - CCount)];
        FAllColWidths[size_t(c)] = inserted ? 0 : FAllColWidths[size_t(c - CCount)];
    }
    for (int c = ColIndex; c < ColIndex + CCount; ++c) {
        for (int r = 0; r < rows; ++r) {
            SetObjects(c, r, nullptr);
            SetCells(c, r, String());
        }
    }
    // The shown widths make room for the new columns.
    widths.insert(widths.begin() + std::min<int>(displ, int(widths.size())), size_t(CCount),
                  DefaultColWidth());
    for (int d = 0; d < ColCount() && d < int(widths.size()); ++d) SetColWidths(d, widths[size_t(d)]);
    RecountHiddenColumns();

    for (int i = 0; i < FGridItems->Count(); ++i) {
        TStrings* items = FGridItems->Items(i)->Items();
        if (ColIndex > items->Count()) continue;
        for (int k = 0; k < CCount; ++k) items->Insert(ColIndex, String());
    }
    if (displ < FSelectedColList->Count())
        for (int k = 0; k < CCount; ++k) FSelectedColList->Insert(displ, nullptr);
    if (FControlList->Count() > 0) {
        for (int i = 0; i < FControlList->Count(); ++i) {
            TControlItem* ctl = FControlList->GetControl(i);
            if (ctl->X >= ColIndex) ctl->X += CCount;
        }
        CellControlsUpdate(false);
    }
}

void TAdvStringGrid::RemoveCols(int ColIndex, int CCount) {
    const int total = TotalColCount();
    if (ColIndex < 0 || ColIndex >= total || CCount <= 0) return;
    CCount = std::min(CCount, total - ColIndex);
    const int rows = RowCount();

    // The shown positions that go, and the shown widths that stay.
    std::vector<int> widths;
    std::vector<int> goneDispl;
    for (int c = ColIndex; c < ColIndex + CCount; ++c)
        if (!IsHiddenColumn(c)) goneDispl.push_back(DisplColIndex(c));
    for (int d = 0; d < ColCount(); ++d)
        if (!std::binary_search(goneDispl.begin(), goneDispl.end(), d)) widths.push_back(ColWidths(d));

    FreeCellPropertiesRange(ColIndex, 0, ColIndex + CCount - 1, rows - 1);
    for (int c = ColIndex; c + CCount < total; ++c) CopyStoredColumn(this, rows, c + CCount, c);
    for (int c = total - CCount; c < total; ++c)
        for (int r = 0; r < rows; ++r) {
            SetObjects(c, r, nullptr);
            SetCells(c, r, String());
        }
    for (int c = ColIndex; c <= MaxHideableCols; ++c) {
        const bool inTable = c + CCount <= MaxHideableCols;
        FVisibleCol[size_t(c)] = !inTable || FVisibleCol[size_t(c + CCount)];
        FAllColWidths[size_t(c)] = inTable ? FAllColWidths[size_t(c + CCount)] : 0;
    }
    const int hidden = int(std::count(FVisibleCol.begin(), FVisibleCol.begin() + MaxHideableCols, false));
    FNumHidden = hidden;
    SetColCount(std::max(total - CCount - hidden, 0));
    for (int d = 0; d < ColCount() && d < int(widths.size()); ++d) SetColWidths(d, widths[size_t(d)]);

    for (int i = 0; i < FGridItems->Count(); ++i) {
        TStrings* items = FGridItems->Items(i)->Items();
        for (int k = 0; k < CCount && ColIndex < items->Count(); ++k) {
            TObject::Free(items->Objects(ColIndex));
            items->Delete(ColIndex);
        }
    }
    for (auto it = goneDispl.rbegin(); it != goneDispl.rend(); ++it)
        if (*it < FSelectedColList->Count()) FSelectedColList->Delete(*it);
    if (FControlList->Count() > 0) {
        for (int i = FControlList->Count() - 1; i >= 0; --i) {
            TControlItem* ctl = FControlList->GetControl(i);
            if (ctl->X >= ColIndex + CCount) {
                ctl->X -= CCount;
            } else if (ctl->X >= ColIndex) {
                if (ctl->Control) ctl->Control->Hide();
                FControlList->RemoveControl(i);
            }
        }
        CellControlsUpdate(false);
    }
    CellsChanged(TRect(ColIndex, 0, ColIndex + CCount, RowCount() - 1));
}

void TAdvStringGrid::RemoveSelectedCols() {
    const int fixedCols = TBaseGrid::FixedCols();
    std::vector<int> real; // descending
    if (FMouseActions->DisjunctColSelect()) {
        for (int c = ColCount() - 1; c >= fixedCols; --c)
            if (ColSelectFlag(c)) real.push_back(RealColIndex(c));
    } else {
        const TGridRect s = Selection();
        const int left = std::max(std::min(s.Left, s.Right), fixedCols);
        const int right = std::min(std::max(s.Left, s.Right), ColCount() - 1);
        for (int c = right; c >= left; --c) real.push_back(RealColIndex(c));
    }
    for (int c : real) RemoveCols(c, 1);
}

void TAdvStringGrid::RemoveUnSelectedCols() {
    const int fixedCols = TBaseGrid::FixedCols();
    std::vector<int> real; // descending
    const TGridRect s = Selection();
    const int left = std::min(s.Left, s.Right);
    const int right = std::max(s.Left, s.Right);
    for (int c = ColCount() - 1; c >= fixedCols; --c) {
        const bool selected = FMouseActions->DisjunctColSelect() ? ColSelectFlag(c) : c >= left && c <= right;
        if (!selected) real.push_back(RealColIndex(c));
    }
    for (int c : real) RemoveCols(c, 1);
    ClearColFlags();
}

void TAdvStringGrid::MergeCols(int ColIndex1, int ColIndex2, const String& Separator) {
    const int c1 = RealColIndex(ColIndex1);
    const int c2 = RealColIndex(ColIndex2);
    if (c1 == c2 || c1 < 0 || c2 < 0 || c1 >= TotalColCount() || c2 >= TotalColCount()) return;
    for (int r = TBaseGrid::FixedRows(); r < RowCount(); ++r)
        SetCellEx(c1, r, Trim(BaseText(this, c1, r) + Separator + BaseText(this, c2, r)));
    RemoveCols(c2, 1);
}

// =============================================================================================
// Clearing, trimming, colouring

void TAdvStringGrid::ClearRect(int ACol1, int ARow1, int ACol2, int ARow2) {
    const bool destroying = IsDestroying(this);
    const int total = TotalColCount();
    for (int r = std::max(ARow1, 0); r <= ARow2 && r < RowCount(); ++r)
        for (int c = std::max(ACol1, 0); c <= ACol2; ++c) {
            const int col = SaveHiddenCells ? RealColIndex(c) : c;
            if (col < 0 || col >= total) continue;
            if (!ClearTextOnly && HasCellProperties(col, r)) {
                if (FNilObjects) {
                    SetObjects(col, r, nullptr);
                    SetCells(col, r, String());
                } else {
                    RemoveCellGraphic(col, r);
                    SetCellProperties(col, r, nullptr);
                }
            }
            if (!destroying && !BaseText(this, col, r).isEmpty()) {
                SetCellEx(col, r, String());
                if (col != c) RepaintCell(c, r);
            }
        }
    // Nothing holds properties any more only when every storage cell was cleared.
    if (!ClearTextOnly && ACol1 <= 0 && ARow1 <= 0 && ACol2 >= total - 1 && ARow2 >= RowCount() - 1)
        FHasCellProps = false;
    if (!destroying && !FBlockCellChange)
        CellsChanged(TRect(RealColIndex(ACol1), ARow1, RealColIndex(ACol2), ARow2));
}

void TAdvStringGrid::ClearRows(int RowIndex, int RCount) {
    if (RowCount() > 0 && ColCount() > 0 && RCount > 0)
        ClearRect(0, RowIndex, TotalColCount() - 1, RowIndex + RCount - 1);
}

void TAdvStringGrid::ClearNormalRows(int RowIndex, int RCount) {
    if (RowCount() > 0 && ColCount() > 0 && RCount > 0)
        ClearRect(TBaseGrid::FixedCols(), RowIndex, TotalColCount() - FFixedRightCols - 1,
                  RowIndex + RCount - 1);
}

void TAdvStringGrid::ClearCols(int ColIndex, int CCount) {
    if (RowCount() > 0 && ColCount() > 0 && CCount > 0)
        ClearRect(ColIndex, 0, ColIndex + CCount - 1, RowCount() - 1);
}

void TAdvStringGrid::ClearNormalCols(int ColIndex, int CCount) {
    if (RowCount() > 0 && ColCount() > 0 && CCount > 0)
        ClearRect(ColIndex, TBaseGrid::FixedRows(), ColIndex + CCount - 1, RowCount() - FFixedFooters - 1);
}

void TAdvStringGrid::ClearNormalCells() {
    // Without a fixed column the node graphics in column 0 are among the cells cleared.
    if (FNumNodes > 0 && TBaseGrid::FixedCols() == 0) RemoveAllNodes();
    if (RowCount() > 0 && ColCount() > 0)
        ClearRect(TBaseGrid::FixedCols(), TBaseGrid::FixedRows(), TotalColCount() - FFixedRightCols - 1,
                  RowCount() - FFixedFooters - 1);
}

void TAdvStringGrid::Clear() {
    if (RowCount() <= 0 || ColCount() <= 0) return;
    ClearRect(0, 0, TotalColCount() - 1, RowCount() - 1);
    if (FNumHidden > 0) Invalidate();
}

void TAdvStringGrid::ClearAll() {
    Clear();
    for (int i = 0; i < FGridItems->Count(); ++i) {
        TStrings* items = FGridItems->Items(i)->Items();
        for (int k = 0; k < items->Count(); ++k) items->SetStrings(k, String());
    }
}

void TAdvStringGrid::ClearSelection() {
    TMouseActions* ma = FMouseActions.get();
    if (ma->DisjunctRowSelect()) {
        for (int r = TBaseGrid::FixedRows(); r < RowCount(); ++r)
            if (RowSelectedForOps(r)) ClearRows(r, 1);
    } else if (ma->DisjunctColSelect()) {
        for (int c = TBaseGrid::FixedCols(); c < ColCount(); ++c)
            if (ColSelectFlag(c)) ClearCols(c, 1);
    } else {
        const TGridRect s = Selection();
        ClearRect(s.Left, s.Top, s.Right, s.Bottom);
    }
}

void TAdvStringGrid::TrimRect(int ACol1, int ARow1, int ACol2, int ARow2) {
    const int total = TotalColCount();
    for (int r = std::max(ARow1, 0); r <= ARow2 && r < RowCount(); ++r)
        for (int c = std::max(ACol1, 0); c <= ACol2; ++c) {
            const int col = SaveHiddenCells ? RealColIndex(c) : c;
            if (col >= 0 && col < total) SetCellEx(col, r, Trim(BaseText(this, col, r)));
        }
}

void TAdvStringGrid::ColorRect(int ACol1, int ARow1, int ACol2, int ARow2, TColor AColor) {
    for (int r = std::max(ARow1, 0); r <= ARow2 && r < RowCount(); ++r)
        for (int c = std::max(ACol1, 0); c <= ACol2 && c < TotalColCount(); ++c) SetColors(c, r, AColor);
}

// =============================================================================================
// Merging and splitting

void TAdvStringGrid::MergeRowCells(int RowIndex, bool MainMerge) {
    if (RowIndex < 0 || RowIndex >= RowCount()) return;
    const int fixedCols = TBaseGrid::FixedCols();
    const int end = ColCount() - FFixedRightCols; // first column past the normal ones
    if (fixedCols >= end) return;
    int start = fixedCols;
    auto mergeRun = [&](int Length) {
        if (Length >= 2) MergeCells(start, RowIndex, Length, 1);
    };
    for (int c = fixedCols + 1; c < end; ++c) {
        const bool equal = GetCellEx(c, RowIndex) == GetCellEx(c - 1, RowIndex);
        if (equal && (MainMerge || ColSpanIdentical(c, c - 1))) continue;
        mergeRun(c - start);
        start = c;
    }
    mergeRun(end - start);
}

void TAdvStringGrid::SplitRowCells(int RowIndex) {
    if (RowIndex < 0 || RowIndex >= RowCount()) return;
    // Every normal column, the last one too: an area may start there.
    int c = 0;
    while (c < ColCount() - FFixedRightCols) {
        if (IsMergedCell(c, RowIndex)) {
            const int right = FullCell(c, RowIndex).Right;
            SplitCells(c, RowIndex);
            c = std::max(right, c) + 1;
        } else {
            ++c;
        }
    }
}

void TAdvStringGrid::SplitAllCells() {
    for (int r = 0; r < RowCount(); ++r)
        for (int c = 0; c < ColCount(); ++c)
            if (IsMergedCell(c, r)) SplitCells(c, r);
}

bool TAdvStringGrid::IsWideCell(int ACol, int ARow) {
    return BaseText(this, ACol, ARow).startsWith(QStringLiteral("|\\"));
}

bool TAdvStringGrid::IsCell(const String& SubStr, int& ACol, int& ARow) {
    for (int r = 0; r < RowCount(); ++r)
        for (int c = 0; c < ColCount(); ++c)
            if (Cells(c, r) == SubStr) {
                ACol = c;
                ARow = r;
                return true;
            }
    return false;
}
