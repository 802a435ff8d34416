// TAdvStringGrid: the structure accessors (counts, current cell, top row, fixed rows and columns
// with their "always" rules, footer and right fixed counts, default row height and alignment,
// word wrap, fixed font), the header lists, the used-cell and save ranges and the position
// queries. Counts and indexes here are display ones.
#include "AdvGrid.h"

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
    TBaseGrid::SetRowCount(Value);
    if (FFixedRowAlways && FFixedRowsMin >= 0 && FFixedRowsMin < RowCount()) SetFixedRows(FFixedRowsMin);
    FMaxRowCount = std::max(FMaxRowCount, Value);
    FNormalRowCount = Value;
    UpdateFooter();
}

void TAdvStringGrid::SetColCount(int Value) {
    TBaseGrid::SetColCount(Value);
    if (FFixedColAlways && FFixedColsMin >= 0 && FFixedColsMin < ColCount()) SetFixedCols(FFixedColsMin);
    FMaxColCount = std::max(FMaxColCount, Value);
    UpdateFooter();
}

void TAdvStringGrid::SetRow(int Value) {
    if (Col() < 0 || Col() >= ColCount()) MoveColRow(TBaseGrid::FixedCols(), Value, true, false);
    TBaseGrid::SetRow(Value);
    if (Row() != FLastReportedRow && OnRowUpdate) {
        const int old = FLastReportedRow;
        FLastReportedRow = Row();
        OnRowUpdate(this, old, Row());
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
    // The floating footer takes this height once it joins the grid.
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

void TAdvStringGrid::CalcFooter(int ACol) {
    // The footer row is calculated only while the floating footer shows it as the fixed last
    // row; until the settings objects join, the grid has no floating footer to show.
    (void)ACol;
    if (!FooterRowShown()) return;
}

void TAdvStringGrid::UpdateFooter() {
    // Repaints the floating footer panel, which joins the grid with the footer and panel objects.
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
