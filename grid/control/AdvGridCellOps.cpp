// TAdvStringGrid: the public cell operations that are not editing. The cell checker run over
// cells, fills, dates and times as cell values, the disjunct row and column selections, the
// modified and disabled row lists, moving the current cell, and the repaint operations.
//
// The disjunct selections keep one pointer-list entry per row (column): non-nil for a selected
// one. The lists grow on demand, so that an entry never reached reads as not selected.
#include "AdvGrid.h"
#include "AdvStringGridCheck.h"

#include <QRandomGenerator>

#include <algorithm>

namespace {

// The entry of a selected row or column in the disjunct selection lists.
void* const SelectedMark = reinterpret_cast<void*>(quintptr(1));

void GrowList(TList* List, int Count) {
    if (List->Count() < Count) List->SetCount(Count);
}

void GrowList(TIntList* List, int Count) {
    while (List->Count() < Count) List->Add(0);
}

} // namespace

// =============================================================================================
// The cell checker

void TAdvStringGrid::SetCellChecker(TAdvStringGridCheck* Value) {
    if (FCellChecker == Value) return;
    if (FCellChecker) FCellChecker->RemoveFreeNotification(this);
    FCellChecker = Value;
    if (FCellChecker) FCellChecker->FreeNotification(this);
}

bool TAdvStringGrid::CheckCell(int ACol, int ARow) {
    if (!FCellChecker) return true;
    const String t0 = UnMarkText(Cells(ACol, ARow));
    if (FCellChecker->GotoCell) MoveCurrentCell(ACol, ARow);
    String t = t0;
    if (FCellChecker->UseCorrect) t = FCellChecker->Correct(ACol, ARow, t);
    if (FCellChecker->UseMarkError) t = FCellChecker->MarkError(ACol, ARow, t);
    SetCells(ACol, ARow, t);
    return t == t0;
}

bool TAdvStringGrid::CheckCells(int FromCol, int FromRow, int ToCol, int ToRow) {
    if (!FCellChecker) return true;
    FCellChecker->StartCheck();
    const int oldRow = Row();
    const int oldCol = Col();
    bool unchanged = true;
    for (int r = FromRow; r <= ToRow; ++r)
        for (int c = FromCol; c <= ToCol; ++c)
            if (!CheckCell(c, r)) unchanged = false;
    FCellChecker->StopCheck();
    if (FCellChecker->GotoCell) {
        SetRow(oldRow);
        SetCol(oldCol);
    }
    return unchanged;
}

bool TAdvStringGrid::CheckCol(bool DoFixed, int ACol) {
    int c1, r1, c2, r2;
    CellOpRange(DoFixed, c1, r1, c2, r2);
    return CheckCells(ACol, r1, ACol, r2);
}

bool TAdvStringGrid::CheckRow(bool DoFixed, int ARow) {
    int c1, r1, c2, r2;
    CellOpRange(DoFixed, c1, r1, c2, r2);
    return CheckCells(c1, ARow, c2, ARow);
}

bool TAdvStringGrid::CheckGrid(bool DoFixed) {
    int c1, r1, c2, r2;
    CellOpRange(DoFixed, c1, r1, c2, r2);
    return CheckCells(c1, r1, c2, r2);
}

void TAdvStringGrid::CellOpRange(bool DoFixed, int& FromCol, int& FromRow, int& ToCol, int& ToRow) const {
    if (DoFixed) {
        FromCol = 0;
        FromRow = 0;
        ToCol = ColCount() - 1;
        ToRow = RowCount() - 1;
    } else {
        FromCol = FixedCols();
        FromRow = FixedRows();
        ToCol = ColCount() - FFixedRightCols - 1;
        ToRow = RowCount() - FFixedFooters - 1;
    }
}

// =============================================================================================
// Fills

void TAdvStringGrid::FillCells(bool DoFixed, const std::function<void(int, int)>& Fill) {
    int c1, r1, c2, r2;
    CellOpRange(DoFixed, c1, r1, c2, r2);
    for (int r = r1; r <= r2; ++r)
        for (int c = c1; c <= c2; ++c) Fill(c, r);
    AllCellsChanged();
}

void TAdvStringGrid::TextFill(bool DoFixed, const String& Txt) {
    FillCells(DoFixed, [this, &Txt](int c, int r) { SetCells(c, r, Txt); });
}

void TAdvStringGrid::FormatFill(bool DoFixed, const String& Fmt) {
    FillCells(DoFixed, [this, &Fmt](int c, int r) { SetCells(c, r, Format(Fmt, c, r)); });
}

void TAdvStringGrid::RandomFill(bool DoFixed, int Rnd) {
    FillCells(DoFixed, [this, Rnd](int c, int r) {
        SetInts(c, r, Rnd > 1 ? int(QRandomGenerator::global()->bounded(Rnd)) : 0);
    });
}

void TAdvStringGrid::LinearFill(bool DoFixed) {
    FillCells(DoFixed, [this](int c, int r) { SetCells(c, r, QStringLiteral("%1:%2").arg(c).arg(r)); });
}

// =============================================================================================
// Dates and times

void TAdvStringGrid::SetDates(int ACol, int ARow, TDateTime Value) {
    SetCellEx(ACol, ARow, Value > 0 || ShowNullDates ? DateToStr(Value) : String());
}

TDateTime TAdvStringGrid::GetDates(int ACol, int ARow) {
    return StrToDate(GetCellEx(ACol, ARow));
}

void TAdvStringGrid::SetTimes(int ACol, int ARow, TDateTime Value) {
    SetCellEx(ACol, ARow, TimeToStr(Value));
}

TDateTime TAdvStringGrid::GetTimes(int ACol, int ARow) {
    return StrToTime(GetCellEx(ACol, ARow));
}

// =============================================================================================
// The disjunct row and column selections

int TAdvStringGrid::RowSelectIndex(int ARow) const {
    return FMouseActions->RowSelectPersistent ? RealRowIndex(ARow) : ARow;
}

bool TAdvStringGrid::GetRowSelect(int ARow) {
    if (!FMouseActions->RowSelectPersistent && (ARow < 0 || ARow >= TotalRowCount()))
        throw EAdvGridError(QStringLiteral("Invalid row %1 accessed").arg(ARow));
    if (FMouseActions->DisjunctRowSelect()) {
        // A persistent row past the grid cannot be flagged: no list grows for it.
        if (ARow < 0 || ARow >= TotalRowCount()) return false;
        GrowList(FSelectedRowList.get(), ARow + 1);
        return RowSelectFlag(ARow);
    }
    const TGridRect s = Selection();
    return ARow >= std::min(s.Top, s.Bottom) && ARow <= std::max(s.Top, s.Bottom);
}

void TAdvStringGrid::SetRowSelect(int ARow, bool Value) {
    if (ARow < 0 || (ARow >= TotalRowCount() && RowCount() > FixedRows()))
        throw EAdvGridError("Invalid row accessed");
    TList* list = FSelectedRowList.get();
    bool allow = true;
    if ((ARow >= list->Count() || RowSelectFlag(ARow) != Value) && OnRowDisjunctSelect)
        OnRowDisjunctSelect(this, ARow, Value, allow);
    if (!allow) return;
    GrowList(list, ARow + 1);
    const bool was = RowSelectFlag(ARow);
    // A persistent flag belongs to a real row: the row repainted is where that row shows.
    const int shown = FMouseActions->RowSelectPersistent ? DisplRowIndex(ARow) : ARow;
    if (Value) {
        if (!was) RepaintRow(shown);
        list->SetItems(ARow, SelectedMark);
        if (ARow >= FixedRows() && !FSelectedRows->HasValue(ARow)) FSelectedRows->Add(ARow);
    } else {
        if (was) RepaintRow(shown);
        list->SetItems(ARow, nullptr);
        FSelectedRows->DeleteValue(ARow);
    }
    if (OnRowDisjunctSelected) OnRowDisjunctSelected(this, ARow);
}

bool TAdvStringGrid::GetColSelect(int ACol) {
    if (ACol < 0 || ACol >= ColCount()) throw EAdvGridError("Invalid column accessed");
    GrowList(FSelectedColList.get(), ACol + 1);
    return ColSelectFlag(ACol);
}

void TAdvStringGrid::SetColSelect(int ACol, bool Value) {
    if (ACol < 0 || ACol >= ColCount()) throw EAdvGridError("Invalid column accessed");
    GrowList(FSelectedColList.get(), ACol + 1);
    if (ColSelectFlag(ACol) != Value) RepaintCol(ACol);
    FSelectedColList->SetItems(ACol, Value ? SelectedMark : nullptr);
}

void TAdvStringGrid::SelectRows(int RowIndex, int RCount) {
    if (RowIndex < 0) throw EAdvGridError("Invalid row accessed");
    RCount = std::min(RCount, RowCount() - RowIndex);
    if (!FMouseActions->DisjunctRowSelect()) {
        if (RCount > 0) SetSelection(TGridRect(FixedCols(), RowIndex, ColCount() - 1, RowIndex + RCount - 1));
    } else {
        for (int r = RowIndex; r < RowIndex + RCount; ++r) SetRowSelect(RowSelectIndex(r), true);
    }
    if (FRowIndicator && !FRowIndicator->Empty()) RepaintCol(0);
    FSelChange = false;
}

void TAdvStringGrid::UnSelectRows(int RowIndex, int RCount) {
    if (FMouseActions->DisjunctRowSelect()) {
        if (RowIndex < 0) throw EAdvGridError("Invalid row accessed");
        RCount = std::min(RCount, RowCount() - RowIndex);
        for (int r = RowIndex; r < RowIndex + RCount; ++r) SetRowSelect(RowSelectIndex(r), false);
    }
    FSelChange = false;
}

void TAdvStringGrid::SelectCols(int ColIndex, int CCount) {
    if (ColIndex < 0) throw EAdvGridError("Invalid column accessed");
    CCount = std::min(CCount, ColCount() - ColIndex);
    if (!FMouseActions->DisjunctColSelect()) {
        if (CCount > 0) SetSelection(TGridRect(ColIndex, FixedRows(), ColIndex + CCount - 1, RowCount() - 1));
    } else {
        for (int c = ColIndex; c < ColIndex + CCount; ++c) SetColSelect(c, true);
    }
}

void TAdvStringGrid::UnSelectCols(int ColIndex, int CCount) {
    if (!FMouseActions->DisjunctColSelect()) return;
    if (ColIndex < 0) throw EAdvGridError("Invalid column accessed");
    CCount = std::min(CCount, ColCount() - ColIndex);
    for (int c = ColIndex; c < ColIndex + CCount; ++c) SetColSelect(c, false);
}

void TAdvStringGrid::SelectRange(int FromCol, int ToCol, int FromRow, int ToRow) {
    SetRow(ToRow);
    SetCol(ToCol);
    SetSelection(TGridRect(FromCol, FromRow, ToCol, ToRow));
}

void TAdvStringGrid::ClearRowSelect() {
    TList* list = FSelectedRowList.get();
    const bool persistent = FMouseActions->RowSelectPersistent;
    for (int i = 0; i < list->Count(); ++i)
        if (list->Items(i)) {
            RepaintRow(persistent ? DisplRowIndex(i) : i);
            list->SetItems(i, nullptr);
        }
    FSelectedRows->Clear();
}

void TAdvStringGrid::ClearColSelect() {
    TList* list = FSelectedColList.get();
    for (int i = 0; i < list->Count(); ++i)
        if (list->Items(i)) {
            RepaintCol(i);
            list->SetItems(i, nullptr);
        }
}

int TAdvStringGrid::RowSelectCount() {
    if (FMouseActions->DisjunctRowSelect()) {
        const int n = std::min(TotalRowCount(), FSelectedRowList->Count());
        int selected = 0;
        for (int i = 0; i < n; ++i)
            if (FSelectedRowList->Items(i)) ++selected;
        return selected;
    }
    const TGridRect s = Selection();
    return std::abs(s.Bottom - s.Top) + 1;
}

int TAdvStringGrid::ColSelectCount() {
    if (FMouseActions->DisjunctColSelect()) return SelectedColCount();
    const TGridRect s = Selection();
    return s.Right - s.Left + 1;
}

void TAdvStringGrid::SelectionToRowSelect(bool All) {
    TGridRect s = Selection();
    s.Bottom = std::min(s.Bottom, RowCount() - FFixedFooters - 1);
    for (int r = FixedRows(); r < RowCount(); ++r) {
        const bool inside = r >= s.Top && r <= s.Bottom;
        if (inside || All) SetRowSelect(RowSelectIndex(r), inside);
    }
    if (NumHiddenRows() > 0) Invalidate();
}

void TAdvStringGrid::SelectionToColSelect(bool All) {
    const TGridRect s = Selection();
    for (int c = FixedCols(); c < ColCount(); ++c) {
        const bool inside = c >= s.Left && c <= s.Right;
        if (inside || All) SetColSelect(c, inside);
    }
}

// =============================================================================================
// The current cell

void TAdvStringGrid::GotoCell(int ACol, int ARow) {
    SetRow(ARow);
    SetCol(ACol);
}

void TAdvStringGrid::EditCell(int ACol, int ARow) {
    if (CanFocus()) SetFocus();
    GotoCell(ACol, ARow);
    ShowEditor();
}

void TAdvStringGrid::FocusCell(int ACol, int ARow) {
    SetSelection(TGridRect(ACol, ARow, ACol, ARow));
}

void TAdvStringGrid::MoveCurrentCell(int ACol, int ARow) {
    MoveColRow(ACol, ARow, true, true);
}

void TAdvStringGrid::SwapCells(TPoint FromCell, TPoint ToCell) {
    const String t = Cells(FromCell.X, FromCell.Y);
    TObject* o = Objects(FromCell.X, FromCell.Y);
    SetCells(FromCell.X, FromCell.Y, Cells(ToCell.X, ToCell.Y));
    SetObjects(FromCell.X, FromCell.Y, Objects(ToCell.X, ToCell.Y));
    SetCells(ToCell.X, ToCell.Y, t);
    SetObjects(ToCell.X, ToCell.Y, o);
}

// =============================================================================================
// Modified and disabled rows

int TAdvStringGrid::ModifiedRowCount() const {
    int n = 0;
    for (int i = 0; i < FModifiedRows->Count(); ++i)
        if (FModifiedRows->Items(i) == 1) ++n;
    return n;
}

bool TAdvStringGrid::GetRowModified(int ARow) const {
    return ARow >= 0 && ARow < FModifiedRows->Count() && FModifiedRows->Items(ARow) == 1;
}

void TAdvStringGrid::SetRowModified(int ARow, bool Value) {
    if (ARow < 0) return;
    GrowList(FModifiedRows.get(), ARow + 1);
    FModifiedRows->SetItems(ARow, Value ? 1 : 0);
    RepaintCell(0, ARow);
}

bool TAdvStringGrid::GetRowEnabled(int ARow) const {
    return !RowDisabled(ARow);
}

void TAdvStringGrid::SetRowEnabled(int ARow, bool Value) {
    if (ARow < 0) return;
    if (ARow == Row()) {
        for (int r = FixedRows(); r < RowCount() - FFixedFooters; ++r)
            if (r != ARow && GetRowEnabled(r)) {
                SetRow(r);
                break;
            }
    }
    UseEnabledRows = true;
    GrowList(FEnabledRows.get(), ARow + 1);
    FEnabledRows->SetItems(ARow, Value ? 0 : 1);
    RepaintRow(ARow);
}

// =============================================================================================
// Repaints

void TAdvStringGrid::InvalidateCellBand(int Col1, int Row1, int Col2, int Row2) {
    if (!HandleAllocated()) return;
    TRect u;
    bool any = false;
    for (const TRect& r : {CellRect(Col1, Row1), CellRect(Col2, Row2)}) {
        if (r.IsEmpty()) continue;
        u = any ? TRect(std::min(u.Left, r.Left), std::min(u.Top, r.Top), std::max(u.Right, r.Right),
                        std::max(u.Bottom, r.Bottom))
                : r;
        any = true;
    }
    if (any) ::InvalidateRect(Handle(), &u, false);
}

void TAdvStringGrid::RepaintRow(int ARow) {
    if (ARow < 0 || ARow >= RowCount() || ColCount() <= 0) return;
    TGridDrawInfo info;
    CalcDrawInfo(info);
    InvalidateCellBand(0, ARow, std::min(info.Horz.LastFullVisibleCell + 1, ColCount() - 1), ARow);
}

void TAdvStringGrid::RepaintCol(int ACol) {
    if (ACol < 0 || ACol >= ColCount() || RowCount() <= 0) return;
    TGridDrawInfo info;
    CalcDrawInfo(info);
    InvalidateCellBand(ACol, TopRow(), ACol, std::min(info.Vert.LastFullVisibleCell + 1, RowCount() - 1));
}

void TAdvStringGrid::RepaintRect(const TRect& R) {
    if (R.Left < 0 || R.Top < 0 || R.Right < 0 || R.Bottom < 0 || !HandleAllocated()) return;
    const int right = std::min(R.Right, FixedCols() + VisibleColCount());
    const TRect a = CellRect(R.Left, R.Top);
    const TRect b = CellRect(right, R.Bottom);
    if (a.IsEmpty() || b.IsEmpty()) {
        Repaint();
        return;
    }
    const TRect u(std::min(a.Left, b.Left), std::min(a.Top, b.Top), std::max(a.Right, b.Right),
                  std::max(a.Bottom, b.Bottom));
    ::InvalidateRect(Handle(), &u, true);
}

void TAdvStringGrid::RepaintHeaderCells(int OldCol, int OldRow, int NewRow, int NewCol) {
    auto repaint = [this](int ACol, int ARow) {
        if (ACol >= 0 && ARow >= 0) RepaintCell(ACol, ARow);
    };
    if (FixedRows() > 0) {
        repaint(OldCol, FixedRows() - 1);
        repaint(NewCol, FixedRows() - 1);
    }
    if (FixedCols() > 0) {
        repaint(FixedCols() - 1, OldRow);
        repaint(FixedCols() - 1, NewRow);
    }
}
