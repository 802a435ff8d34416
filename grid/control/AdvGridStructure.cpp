// TAdvStringGrid: the structure accessors (counts, current cell, top row, fixed rows and columns
// with their "always" rules, footer and right fixed counts, default row height and alignment,
// word wrap, fixed font), the header lists, the used-cell and save ranges and the position
// queries. Counts and indexes here are display ones.
#include "AdvGrid.h"
#include "SysUtils.h"

#include <algorithm>
#include <cstdlib>

namespace {

bool IsLoading(const TComponent* C) {
    return C->ComponentState().count(csLoading) != 0;
}

} // namespace

TStringList* TAdvStringGrid::MakeHeaderList(bool Columns) {
    auto* list = new TStringList();
    list->OnChange = [this, Columns](TObject*) {
        if (Columns) {
            ColumnHeadersChanged();
            ShowColumnHeaders();
        } else {
            ShowRowHeaders();
        }
    };
    return list;
}

// =============================================================================================
// Counts and the current cell

void TAdvStringGrid::SetRowCount(int Value) {
    if (RowCount() == TBaseGrid::FixedRows() && FFixedRowAlways && FSelHidden) UnHideSelection();
    // A shown footer row stays the last row: it is taken out before the count changes (a smaller
    // count would drop it) and put into the new last row, whose own cell properties go.
    const int oldCount = RowCount();
    TOwned<TStringList> footer;
    if (FooterRowShown() && !FRowsInPlace && oldCount > 0 && Value > 0 && Value != oldCount) {
        footer.reset(new TStringList());
        RowToStrings(oldCount - 1, footer.get());
        BlankStoredRow(oldCount - 1);
    }
    TBaseGrid::SetRowCount(Value);
    if (FFixedRowAlways && FFixedRowsMin >= 0 && FFixedRowsMin < RowCount()) SetFixedRows(FFixedRowsMin);
    FMaxRowCount = std::max(FMaxRowCount, Value);
    FNormalRowCount = Value;
    UpdateFooter();
    UpdateAlwaysShownScrollBars(false);
    if (footer && RowCount() > 0) {
        const int last = RowCount() - 1;
        if (last < oldCount - 1) FreeCellPropertiesRange(0, last, TotalColCount() - 1, last);
        StringsToRow(footer.get(), last);
        CalcFooter(-1);
    }
}

void TAdvStringGrid::SetRowCountInPlace(int Value) {
    struct TRestore {
        bool& Flag;
        bool Was;
        ~TRestore() { Flag = Was; }
    } restore{FRowsInPlace, FRowsInPlace};
    FRowsInPlace = true;
    SetRowCount(Value);
}

void TAdvStringGrid::SetColCount(int Value) {
    TBaseGrid::SetColCount(Value);
    if (FFixedColAlways && FFixedColsMin >= 0 && FFixedColsMin < ColCount()) SetFixedCols(FFixedColsMin);
    FMaxColCount = std::max(FMaxColCount, Value);
    UpdateFooter();
    // With IntegralHeight a horizontal bar that comes or goes changes the height.
    SetBounds(Left(), Top(), Width(), Height());
    UpdateAlwaysShownScrollBars(false);
}

void TAdvStringGrid::SetRow(int Value) {
    if (Col() < 0 || Col() >= ColCount()) MoveColRow(TBaseGrid::FixedCols(), Value, true, false);
    TBaseGrid::SetRow(Value);
    if (Row() != FLastReportedRow && OnRowUpdate) {
        const int old = FLastReportedRow;
        FLastReportedRow = Row();
        OnRowUpdate(this, old, Row());
    }
    // A synchronised grid follows the current row (only when it differs, so two grids that follow
    // each other stop).
    TStringGrid* other = FSyncGrid ? FSyncGrid->Grid() : nullptr;
    if (other && FSyncGrid->SelectionRow && other->Row() != Row() && Row() < other->RowCount()) {
        if (auto* adv = dynamic_cast<TAdvStringGrid*>(other))
            adv->SetRow(Row());
        else
            other->SetRow(Row());
    }
}

void TAdvStringGrid::SetTopRow(int Value) {
    if (Value >= TBaseGrid::FixedRows() && Value <= RowCount() - 1) TBaseGrid::SetTopRow(Value);
}

// =============================================================================================
// Fixed rows and columns

int TAdvStringGrid::FixedRows() const {
    const int n = TBaseGrid::FixedRows();
    return n == 0 && FFixedRowAlways ? 1 : n;
}

int TAdvStringGrid::FixedCols() const {
    const int n = TBaseGrid::FixedCols();
    return n == 0 && FFixedColAlways ? 1 : n;
}

void TAdvStringGrid::SetFixedRows(int Value) {
    int applied = Value;
    if (FFixedRowAlways && Value >= RowCount()) applied = std::max(RowCount() - 1, 0);
    TBaseGrid::SetFixedRows(applied);
    if (!IsLoading(this)) FFixedRowsMin = Value;
}

void TAdvStringGrid::SetFixedCols(int Value) {
    int applied = Value;
    if (FFixedColAlways && Value >= ColCount()) applied = std::max(ColCount() - 1, 0);
    TBaseGrid::SetFixedCols(applied);
    if (!IsLoading(this)) FFixedColsMin = Value;
}

void TAdvStringGrid::SetFixedColWidth(int Value) {
    if (IsLoading(this) || Value == DefaultColWidth()) return;
    for (int c = 0; c < TBaseGrid::FixedCols(); ++c) SetColWidths(c, Value);
}

void TAdvStringGrid::SetFixedRowHeight(int Value) {
    FFixedRowHeight = Value;
    if (IsLoading(this)) return;
    if (Value == DefaultRowHeight())
        SetDefaultRowHeight(Value);
    else
        for (int r = 0; r < TBaseGrid::FixedRows(); ++r) SetRowHeights(r, Value);
}

void TAdvStringGrid::SetDefaultRowHeight(int Value) {
    TBaseGrid::SetDefaultRowHeight(Value);
    if (ComponentState().count(csDesigning)) FFixedRowHeight = Value;
    FFloatingFooter->SetHeight(Value);
}

void TAdvStringGrid::SetDefaultAlignment(TAlignment Value) {
    if (Value == FDefaultAlignment) return;
    FDefaultAlignment = Value;
    Invalidate();
}

void TAdvStringGrid::SetFixedFooters(int Value) {
    FFixedFooters = Value;
    Invalidate();
}

void TAdvStringGrid::SetFixedRightCols(int Value) {
    FFixedRightCols = Value;
    Invalidate();
}

void TAdvStringGrid::SetWordWrap(bool Value) {
    FGridWordWrap = Value;
    TBaseGrid::SetWordWrap(Value);
    Invalidate();
}

void TAdvStringGrid::SetFixedFont(TFont* Value) {
    FFixedFont->Assign(Value);
    Invalidate();
}

void TAdvStringGrid::SetLookupItems(TStrings* Value) {
    if (Value) FLookupItems->Assign(Value);
}

// =============================================================================================
// Header lists

namespace {

// "\n" in a header entry is a line break.
String HeaderText(const String& Entry) {
    String s = Entry;
    return s.replace(QStringLiteral("\\n"), QStringLiteral("\r"));
}

} // namespace

void TAdvStringGrid::SetColumnHeaders(TStrings* Value) {
    if (TBaseGrid::FixedRows() > 0) ClearColumnHeaders();
    FColumnHeaders->Assign(Value);
    ShowColumnHeaders();
}

void TAdvStringGrid::SetRowHeaders(TStrings* Value) {
    FRowHeaders->Assign(Value);
    ShowRowHeaders();
}

void TAdvStringGrid::ClearColumnHeaders() {
    if (RowCount() == 0) return;
    for (int c = 0; c < ColCount(); ++c) SetCellEx(c, 0, String());
}

void TAdvStringGrid::ShowColumnHeaders() {
    if (TBaseGrid::FixedRows() <= 0 || RowCount() == 0) return;
    const int n = std::min(FColumnHeaders->Count(), TotalColCount());
    for (int i = 0; i < n; ++i) SetCellEx(i, 0, HeaderText(FColumnHeaders->Strings(i)));
}

void TAdvStringGrid::ClearRowHeaders() {
    if (ColCount() == 0) return;
    for (int r = 0; r < RowCount(); ++r) SetCellEx(0, r, String());
}

void TAdvStringGrid::ShowRowHeaders() {
    if (TBaseGrid::FixedCols() <= 0 || ColCount() == 0) return;
    const int n = std::min(FRowHeaders->Count(), RowCount());
    for (int i = 0; i < n; ++i) SetCellEx(0, i, HeaderText(FRowHeaders->Strings(i)));
}

// =============================================================================================
// Ranges and positions

TRect TAdvStringGrid::UsedCells() {
    int minC = -1, minR = -1, maxC = -1, maxR = -1;
    for (int c = 0; c < ColCount(); ++c)
        for (int r = 0; r < RowCount(); ++r) {
            if (GetCellEx(c, r).isEmpty()) continue;
            if (minC < 0 || c < minC) minC = c;
            if (minR < 0 || r < minR) minR = r;
            maxC = std::max(maxC, c);
            maxR = std::max(maxR, r);
        }
    if (minC < 0) return TRect(0, 0, 0, 0);
    return TRect(minC, minR, maxC, maxR);
}

int TAdvStringGrid::SaveStartCol() const {
    return SaveFixedCells || SaveFixedCols ? 0 : TBaseGrid::FixedCols();
}

int TAdvStringGrid::SaveStartRow() const {
    return SaveFixedCells || SaveFixedRows ? 0 : TBaseGrid::FixedRows();
}

int TAdvStringGrid::SaveEndCol() const {
    return SaveFixedCells || SaveFixedCols ? ColCount() - 1 : ColCount() - FFixedRightCols - 1;
}

int TAdvStringGrid::SaveEndRow() const {
    return SaveFixedCells || SaveFixedRows ? RowCount() - 1 : RowCount() - FFixedFooters - 1;
}

int TAdvStringGrid::SaveColCount() const {
    return SaveFixedCells || SaveFixedCols ? ColCount()
                                           : ColCount() - TBaseGrid::FixedCols() - FFixedRightCols;
}

int TAdvStringGrid::SaveRowCount() const {
    return SaveFixedCells || SaveFixedRows ? RowCount() : RowCount() - TBaseGrid::FixedRows() - FFixedFooters;
}

void TAdvStringGrid::ScreenToCell(TPoint Pt, int& ACol, int& ARow) const {
    const TPoint p = ScreenToClient(Pt);
    MouseToCell(p.X, p.Y, ACol, ARow);
}

bool TAdvStringGrid::IsSizingPos(int X, int Y) const {
    int c = -1, r = -1;
    MouseToCell(X, Y, c, r);
    if (c < 0 || r < 0) return false;
    const TRect R = TBaseGrid::TCustomGrid::CellRect(c, r);
    if (r <= TBaseGrid::FixedRows() && HasOption(goColSizing) &&
        (std::abs(X - R.Left) < 4 || std::abs(X - R.Right) < 4))
        return true;
    return c <= TBaseGrid::FixedCols() && HasOption(goRowSizing) &&
           (std::abs(Y - R.Top) <= 3 || std::abs(Y - R.Bottom) <= 3);
}

// =============================================================================================
// Footer and row requests

// The footer row is calculated only while the floating footer shows it as the fixed last row.
// Each column's footer cell says by its calculation type what it shows. The sums, averages,
// extremes, distinct counts and deviations are the column calculations' work; until they are
// part of the grid those footer cells keep their text.
void TAdvStringGrid::CalcFooter(int ACol) {
    if (!FooterRowShown() || FFloatingFooter->FooterStyle() != fsFixedLastRow ||
        !FFloatingFooter->EnableCalculation())
        return;
    const int last = RowCount() - 1;
    if (last < 0) return;
    const int hidden = FFloatingFooter->CalculateHiddenRows() ? NumHiddenRows() : 0;
    const int first = ACol < 0 ? 0 : ACol;
    const int end = ACol < 0 ? AllColCount() - 1 : std::min(ACol, AllColCount() - 1);
    for (int c = first; c <= end; ++c) {
        if (!HasCellProperties(c, last)) continue;
        const TColumnCalcType type = GetCellProperties(c, last)->CalcType();
        switch (type) {
            case acSUM:
            case acAVG:
            case acMIN:
            case acMAX:
            case acDISTINCT:
            case acSTDDEV: {
                // With hidden rows counted the data rows are real rows, the footer row after them.
                double value = 0;
                try {
                    FooterCalcValue(c, FixedRows(), last - 1 + hidden, hidden > 0, type, value);
                    SetAllFloats(c, RealRowIndex(last), value);
                } catch (const Exception&) {
                    // A data cell that is no number where the calculation needs one: no result,
                    // rather than a failing row or cell change.
                    SetCells(c, last, String());
                }
                break;
            }
            case acCOUNT: SetCells(c, last, IntToStr(RowCount() - FixedRows() - 1 + hidden)); break;
            case acCUSTOM: {
                String value;
                if (OnFooterCalc)
                    OnFooterCalc(this, c, last + hidden, value);
                else if (FFloatingFooter->OnCalcFooter)
                    FFloatingFooter->OnCalcFooter(this, c, last + hidden, value);
                SetCells(c, last, value);
                break;
            }
            default: break;
        }
    }
}

void TAdvStringGrid::UpdateFooter() {
    SettingsRepaintFooterPanel();
}

// =============================================================================================
// Merged columns

void TAdvStringGrid::MergedColumnsChanged() {
    for (int c = 0; c < ColCount(); ++c) SplitColumnCells(c);
    for (int i = 0; i < FMergedColumns->Count(); ++i) MergeColumnCells(FMergedColumns->Items(i), i == 0);
}

void TAdvStringGrid::MergeColumnCells(int ColIndex, bool MainMerge) {
    if (ColIndex < 0 || ColIndex >= TotalColCount()) return;
    const int fixedRows = TBaseGrid::FixedRows();
    const int end = RowCount() - FFixedFooters; // first row past the data rows
    if (fixedRows >= end) return;
    int start = fixedRows;
    auto mergeRun = [&](int Length) {
        if (Length >= 2) MergeCells(ColIndex, start, 1, Length);
    };
    for (int r = fixedRows + 1; r < end; ++r) {
        const bool equal = GetCellEx(ColIndex, r) == GetCellEx(ColIndex, r - 1);
        if (equal && (MainMerge || RowSpanIdentical(r, r - 1))) continue;
        mergeRun(r - start);
        start = r;
    }
    mergeRun(end - start);
}

void TAdvStringGrid::SplitColumnCells(int ColIndex) {
    if (ColIndex < 0 || ColIndex >= TotalColCount()) return;
    int r = 0;
    while (r < RowCount() - FFixedFooters - 1) {
        if (IsYMergedCell(ColIndex, r)) {
            const int span = CellSpan(ColIndex, r).Y;
            SplitCells(ColIndex, r);
            r += span + 1;
        } else {
            ++r;
        }
    }
}

bool TAdvStringGrid::CanAddRow() {
    bool can = true;
    if (OnCanAddRow) OnCanAddRow(this, can);
    return can;
}

bool TAdvStringGrid::CanInsertRow(int ARow) {
    bool can = true;
    if (OnCanInsertRow) OnCanInsertRow(this, ARow, can);
    return can;
}

TFont* TAdvStringGrid::MakeFixedFont() {
    auto* font = new TFont();
    font->OnChange = [this](TObject*) { Invalidate(); };
    return font;
}
