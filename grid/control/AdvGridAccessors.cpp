// TAdvStringGrid: cell texts and objects in every index space (real rows and columns, original
// column order, rows before sorting), the per-cell settings kept in the cell properties, whole-row
// colours, the disjunct cell selection and the selected counts, the current cell, column order
// and zooming.
//
// Per-cell readers never make a property object (a cell without one answers the neutral value);
// writers make it on first use from the grid's default visual properties.
#include "AdvGrid.h"

#include "GridUtil.h"
#include "MarkupText.h"

#include <algorithm>
#include <cstdlib>

// =============================================================================================
// The selected-cell keys

int TSelectedCellList::IndexOf(std::int64_t Key) const {
    const auto it = std::find(FItems.begin(), FItems.end(), Key);
    return it == FItems.end() ? -1 : int(it - FItems.begin());
}

void TSelectedCellList::Delete(int I) {
    if (I >= 0 && I < Count()) FItems.erase(FItems.begin() + I);
}

// =============================================================================================
// Texts and objects by real row

TGridItem* TAdvStringGrid::HiddenRowItem(int ARow) const {
    if (!IsHiddenRow(ARow)) return nullptr;
    for (int i = 0; i < FGridItems->Count(); ++i)
        if (FGridItems->Items(i)->Idx() == ARow) return FGridItems->Items(i);
    return nullptr;
}

TStrings* TAdvStringGrid::HiddenRowCells(int ARow) const {
    TGridItem* item = HiddenRowItem(ARow);
    return item ? item->Items() : nullptr;
}

namespace {

// Entry ACol of a hidden row's texts; a column the record does not reach (one added after the row
// was hidden) reads as empty.
String StoredText(TStrings* List, int ACol) {
    return ACol < List->Count() ? List->Strings(ACol) : String();
}

void ExtendTo(TStrings* List, int ACol) {
    while (List->Count() <= ACol) List->Add(String());
}

} // namespace

String TAdvStringGrid::AllCells(int ACol, int ARow) {
    if (ACol < 0 || ARow < 0) return String();
    if (TStrings* list = HiddenRowCells(ARow)) {
        String s = StoredText(list, ACol);
        GetDisplText(ACol, ARow, s);
        return s;
    }
    return GetCellEx(ACol, DisplRowIndex(ARow));
}

void TAdvStringGrid::SetAllCells(int ACol, int ARow, const String& Value) {
    if (ACol < 0 || ARow < 0) return;
    if (TStrings* list = HiddenRowCells(ARow)) {
        ExtendTo(list, ACol);
        list->SetStrings(ACol, Value);
        return;
    }
    const int row = DisplRowIndex(ARow);
    SetCellEx(ACol, row, Value);
    if (DisplColIndex(ACol) != ACol) RepaintRealCell(ACol, row);
}

String TAdvStringGrid::AllGridCells(int ACol, int ARow) {
    if (ACol < 0 || ARow < 0) return String();
    if (TStrings* list = HiddenRowCells(ARow)) return StoredText(list, ACol);
    return GetGridCell(ACol, DisplRowIndex(ARow));
}

void TAdvStringGrid::SetAllGridCells(int ACol, int ARow, const String& Value) {
    if (ACol < 0 || ARow < 0) return;
    if (TStrings* list = HiddenRowCells(ARow)) {
        ExtendTo(list, ACol);
        list->SetStrings(ACol, Value);
        return;
    }
    const int row = DisplRowIndex(ARow);
    SetGridCell(ACol, row, Value);
    if (DisplColIndex(ACol) != ACol) RepaintRealCell(ACol, row);
}

quintptr TAdvStringGrid::AllObjects(int ACol, int ARow) const {
    if (ACol < 0 || ARow < 0) return 0;
    if (TStrings* list = HiddenRowCells(ARow)) {
        auto* props = ACol < list->Count() ? dynamic_cast<TCellProperties*>(list->Objects(ACol)) : nullptr;
        return props ? props->CellObject() : 0;
    }
    return GetObjectEx(ACol, DisplRowIndex(ARow));
}

// A hidden row's slot holds cell properties or nothing (the record frees what it holds), so a
// user value for a slot without properties gets properties of its own to sit in.
void TAdvStringGrid::SetAllObjects(int ACol, int ARow, quintptr Value) {
    if (ACol < 0 || ARow < 0) return;
    if (TStrings* list = HiddenRowCells(ARow)) {
        ExtendTo(list, ACol);
        auto* props = dynamic_cast<TCellProperties*>(list->Objects(ACol));
        if (!props) {
            if (!Value) return;
            props = new TCellProperties(this, ACol, ARow);
            list->SetObjects(ACol, props);
        }
        props->SetCellObject(Value);
        return;
    }
    SetObjectEx(ACol, DisplRowIndex(ARow), Value);
}

TObject* TAdvStringGrid::GetGridObjectsEx(int ACol, int ARow) const {
    if (ACol < 0 || ARow < 0) return nullptr;
    if (TStrings* list = HiddenRowCells(ARow)) return ACol < list->Count() ? list->Objects(ACol) : nullptr;
    return GetGridObject(ACol, DisplRowIndex(ARow));
}

String TAdvStringGrid::OriginalCells(int ACol, int ARow) {
    const int c = ColumnPosition(ACol);
    return GetCellEx(c == -1 ? ACol : c, ARow);
}

void TAdvStringGrid::SetOriginalCells(int ACol, int ARow, const String& Value) {
    const int c = ColumnPosition(ACol);
    SetCellEx(c == -1 ? ACol : c, ARow, Value);
}

String TAdvStringGrid::UnSortedCells(int ACol, int ARow) {
    const int p = FSortRowXRef->IndexOf(ARow);
    return GetCellEx(ACol, p >= 0 ? p : ARow);
}

void TAdvStringGrid::SetUnSortedCells(int ACol, int ARow, const String& Value) {
    const int p = FSortRowXRef->IndexOf(ARow);
    SetCellEx(ACol, p >= 0 ? p : ARow, Value);
}

String TAdvStringGrid::StrippedCells(int ACol, int ARow) {
    return HTMLToText(GetCellEx(ACol, ARow));
}

int TAdvStringGrid::LinesInCell(int ACol, int ARow) {
    return CountLines(GetCellEx(ACol, ARow), true);
}

// =============================================================================================
// Per-cell settings

namespace {

// A setting of the cell's properties, or the neutral value for a cell without properties.
template <class V, class R> V PropOr(const TCellProperties* P, R (TCellProperties::*Get)() const, V Neutral) {
    return P ? V((P->*Get)()) : Neutral;
}

} // namespace

const TCellProperties* TAdvStringGrid::CellPropsIfAny(int ACol, int ARow) const {
    return HasCellProperties(ACol, ARow) ? dynamic_cast<const TCellProperties*>(GetGridObject(ACol, ARow))
                                         : nullptr;
}

TColor TAdvStringGrid::Colors(int ACol, int ARow) const {
    return PropOr<TColor>(CellPropsIfAny(ACol, ARow), &TCellProperties::BrushColor, clNone);
}

void TAdvStringGrid::SetColors(int ACol, int ARow, TColor Value) {
    GetCellProperties(ACol, ARow)->SetBrushColor(Value);
    if (FUpdateCount == 0) RepaintRealCell(ACol, ARow);
}

TColor TAdvStringGrid::ColorsTo(int ACol, int ARow) const {
    return PropOr<TColor>(CellPropsIfAny(ACol, ARow), &TCellProperties::BrushColorTo, clNone);
}

void TAdvStringGrid::SetColorsTo(int ACol, int ARow, TColor Value) {
    GetCellProperties(ACol, ARow)->SetBrushColorTo(Value);
    RepaintRealCell(ACol, ARow);
}

TCellGradientDirection TAdvStringGrid::Gradients(int ACol, int ARow) const {
    return PropOr<TCellGradientDirection>(CellPropsIfAny(ACol, ARow), &TCellProperties::GradientDirection,
                                          GradientVertical);
}

void TAdvStringGrid::SetGradients(int ACol, int ARow, TCellGradientDirection Value) {
    GetCellProperties(ACol, ARow)->SetGradientDirection(Value);
    RepaintRealCell(ACol, ARow);
}

TFont* TAdvStringGrid::Fonts(int ACol, int ARow) {
    FCellFont->Assign(Font());
    if (const TCellProperties* p = CellPropsIfAny(ACol, ARow)) {
        if (!p->FontName().isEmpty()) FCellFont->SetName(p->FontName());
        if (p->FontSize() != 0) FCellFont->SetSize(p->FontSize());
        if (p->FontColor() != clNone) FCellFont->SetColor(p->FontColor());
        FCellFont->SetStyle(p->FontStyle());
    }
    return FCellFont.get();
}

void TAdvStringGrid::SetFonts(int ACol, int ARow, TFont* Value) {
    if (!Value) return;
    TCellProperties* p = GetCellProperties(ACol, ARow);
    p->SetFontName(Value->Name());
    p->SetFontSize(Value->Size());
    p->SetFontStyle(Value->Style());
    p->SetFontColor(Value->Color());
    if (FUpdateCount == 0) RepaintRealCell(ACol, ARow);
}

TColor TAdvStringGrid::FontColors(int ACol, int ARow) const {
    return PropOr<TColor>(CellPropsIfAny(ACol, ARow), &TCellProperties::FontColor, clNone);
}

void TAdvStringGrid::SetFontColors(int ACol, int ARow, TColor Value) {
    GetCellProperties(ACol, ARow)->SetFontColor(Value);
    RepaintRealCell(ACol, ARow);
}

TFontStyles TAdvStringGrid::FontStyles(int ACol, int ARow) const {
    return PropOr<TFontStyles>(CellPropsIfAny(ACol, ARow), &TCellProperties::FontStyle, TFontStyles());
}

void TAdvStringGrid::SetFontStyles(int ACol, int ARow, const TFontStyles& Value) {
    GetCellProperties(ACol, ARow)->SetFontStyle(Value);
    RepaintRealCell(ACol, ARow);
}

int TAdvStringGrid::FontSizes(int ACol, int ARow) const {
    return PropOr<int>(CellPropsIfAny(ACol, ARow), &TCellProperties::FontSize, 0);
}

void TAdvStringGrid::SetFontSizes(int ACol, int ARow, int Value) {
    GetCellProperties(ACol, ARow)->SetFontSize(Value);
    RepaintRealCell(ACol, ARow);
}

String TAdvStringGrid::FontNames(int ACol, int ARow) const {
    return PropOr<String>(CellPropsIfAny(ACol, ARow), &TCellProperties::FontName, String());
}

void TAdvStringGrid::SetFontNames(int ACol, int ARow, const String& Value) {
    GetCellProperties(ACol, ARow)->SetFontName(Value);
    RepaintRealCell(ACol, ARow);
}

TAlignment TAdvStringGrid::Alignments(int ACol, int ARow) const {
    return PropOr<TAlignment>(CellPropsIfAny(ACol, ARow), &TCellProperties::Alignment, taLeftJustify);
}

void TAdvStringGrid::SetAlignments(int ACol, int ARow, TAlignment Value) {
    GetCellProperties(ACol, ARow)->SetAlignment(Value);
    RepaintRealCell(ACol, ARow);
}

bool TAdvStringGrid::WordWraps(int ACol, int ARow) {
    return GetCellProperties(ACol, ARow)->WordWrap();
}

void TAdvStringGrid::SetWordWraps(int ACol, int ARow, bool Value) {
    GetCellProperties(ACol, ARow)->SetWordWrap(Value);
    RepaintRealCell(ACol, ARow);
}

bool TAdvStringGrid::ReadOnly(int ACol, int ARow) const {
    const TCellProperties* p = CellPropsIfAny(ACol, ARow);
    return p && p->ReadOnly();
}

void TAdvStringGrid::SetReadOnly(int ACol, int ARow, bool Value) {
    GetCellProperties(ACol, ARow)->SetReadOnly(Value);
    RepaintRealCell(ACol, ARow);
}

TControl* TAdvStringGrid::CellControls(int ACol, int ARow) const {
    const TCellProperties* p = CellPropsIfAny(ACol, ARow);
    return p ? p->Control() : nullptr;
}

// The control list names cells by real row, so rows hidden later keep their controls.
void TAdvStringGrid::SetCellControls(int ACol, int ARow, TControl* Value) {
    const int realRow = RealRowIndex(ARow);
    const TCellProperties* had = CellPropsIfAny(ACol, ARow);
    const bool hadControl = had && had->Control();
    if (!Value) {
        if (hadControl) {
            const int i = FControlList->ControlIndex(ACol, realRow);
            if (i >= 0) FControlList->RemoveControl(i);
            --FNumCellControls;
        }
        GetCellProperties(ACol, ARow)->SetControl(nullptr);
        return;
    }
    const int i = FControlList->ControlIndex(ACol, realRow);
    if (i >= 0) FControlList->RemoveControl(i);
    if (!hadControl) ++FNumCellControls;
    FControlList->AddControl(ACol, realRow, Value);
    GetCellProperties(ACol, ARow)->SetControl(Value);
    Value->SetParent(this);
    const TRect r = CellRect(DisplColIndex(ACol), ARow);
    Value->SetBounds(r.Left - 1, r.Top - 1, r.Right - r.Left + 1, r.Bottom - r.Top + 1);
}

// =============================================================================================
// Whole-row colours
//
// Clearing a colour (clNone) clears it in the cells that have properties and frees none: the
// properties also hold the cell's merge, font, graphic and control, which a row colour must not
// take away.

void TAdvStringGrid::SetRowColor(int ARow, TColor Value) {
    for (int c = FixedCols(); c < AllColCount(); ++c) {
        if (Value == clNone && !HasCellProperties(c, ARow)) continue;
        GetCellProperties(c, ARow)->SetBrushColor(Value);
    }
    SettingsRepaintRow(ARow);
}

void TAdvStringGrid::SetRowColorTo(int ARow, TColor Value) {
    for (int c = FixedCols(); c < AllColCount(); ++c) {
        if (Value == clNone && !HasCellProperties(c, ARow)) continue;
        GetCellProperties(c, ARow)->SetBrushColorTo(Value);
    }
    SettingsRepaintRow(ARow);
}

void TAdvStringGrid::SetRowFontColor(int ARow, TColor Value) {
    for (int c = FixedCols(); c < AllColCount(); ++c) {
        if (Value == clNone && !HasCellProperties(c, ARow)) continue;
        GetCellProperties(c, ARow)->SetFontColor(Value);
    }
    SettingsRepaintRow(ARow);
}

// =============================================================================================
// Selection

bool TAdvStringGrid::SelectedCells(int ACol, int ARow) const {
    if (FMouseActions->DisjunctCellSelect()) {
        if (ACol < 0 || ARow < 0) return false;
        return FSelectedCells->IndexOf(TSelectedCellList::Key(ACol, ARow)) >= 0;
    }
    const TGridRect s = Selection();
    return ACol >= std::min(s.Left, s.Right) && ACol <= std::max(s.Left, s.Right) &&
           ARow >= std::min(s.Top, s.Bottom) && ARow <= std::max(s.Top, s.Bottom);
}

void TAdvStringGrid::SetSelectedCells(int ACol, int ARow, bool Value) {
    if (ACol < 0 || ARow < 0) return;
    const std::int64_t key = TSelectedCellList::Key(ACol, ARow);
    const int i = FSelectedCells->IndexOf(key);
    if (Value && i < 0) {
        FSelectedCells->Add(key);
        RepaintCell(ACol, ARow);
    } else if (!Value && i >= 0) {
        FSelectedCells->Delete(i);
        RepaintCell(ACol, ARow);
    }
}

TGridCoord TAdvStringGrid::SelectedCell(int I) const {
    if (I < 0 || I >= FSelectedCells->Count()) return TGridCoord();
    return TSelectedCellList::Coord(FSelectedCells->Items(I));
}

int TAdvStringGrid::SelectedCellsCount() {
    if (FMouseActions->DisjunctCellSelect()) return FSelectedCells->Count();
    FSelectedCells->Clear();
    const TGridRect s = Selection();
    if (s.Left == s.Right && s.Top == s.Bottom) {
        FSelectedCells->Add(TSelectedCellList::Key(Col(), Row()));
        return FSelectedCells->Count();
    }
    for (int c = s.Left; c <= s.Right; ++c)
        for (int r = s.Top; r <= s.Bottom; ++r) {
            const std::int64_t key = TSelectedCellList::Key(c, r);
            if (FSelectedCells->IndexOf(key) < 0) FSelectedCells->Add(key);
        }
    return FSelectedCells->Count();
}

int TAdvStringGrid::SelectedRowCount() const {
    if (FMouseActions->DisjunctRowSelect()) return FSelectedRows->Count();
    TGridRect s = Selection();
    const int lastData = RowCount() - FFixedFooters - 1;
    if (FFixedFooters > 0 && s.Bottom > lastData) s.Bottom = lastData;
    if (IsMergedCell(s.Left, s.Top)) {
        const int span = CellSpan(s.Left, s.Top).Y;
        return s.Top + span > s.Bottom ? span + 1 : std::abs(s.Top - s.Bottom) + 1;
    }
    if (IsMergedCell(s.Left, s.Bottom)) return std::abs(s.Top - s.Bottom) + CellSpan(s.Left, s.Bottom).Y + 1;
    return std::abs(s.Top - s.Bottom) + 1;
}

int TAdvStringGrid::SelectedColCount() const {
    if (FMouseActions->DisjunctColSelect()) {
        int n = 0;
        for (int i = 0; i < FSelectedColList->Count(); ++i)
            if (FSelectedColList->Items(i)) ++n;
        return n;
    }
    const TGridRect s = Selection();
    if (IsMergedCell(s.Left, s.Top)) {
        const int span = CellSpan(s.Left, s.Top).X;
        return s.Left + span > s.Right ? span + 1 : std::abs(s.Left - s.Right) + 1;
    }
    if (IsMergedCell(s.Right, s.Top)) return std::abs(s.Left - s.Right) + CellSpan(s.Right, s.Top).X + 1;
    return std::abs(s.Left - s.Right) + 1;
}

int TAdvStringGrid::SelectedRow(int I) const {
    if (FMouseActions->DisjunctRowSelect())
        return I >= 0 && I < FSelectedRows->Count() ? FSelectedRows->Items(I) : -1;
    const TGridRect s = Selection();
    const int lo = std::min(s.Top, s.Bottom);
    return I >= 0 && lo + I <= std::max(s.Top, s.Bottom) ? lo + I : -1;
}

void TAdvStringGrid::ClearSelectedCells() {
    SetSelection(TGridRect(FixedCols(), FixedRows(), FixedCols(), FixedRows()));
    FSelectedCells->Clear();
    Invalidate();
}

void TAdvStringGrid::ClearModifiedRows() {
    FModifiedRows->Clear();
    Invalidate();
}

void TAdvStringGrid::InvalidateGridRect(const TGridRect& R) {
    if (!HandleAllocated()) return;
    const TRect a = CellRect(R.Left, R.Top);
    const TRect b = CellRect(R.Right, R.Bottom);
    const TRect u(std::min(a.Left, b.Left), std::min(a.Top, b.Top), std::max(a.Right, b.Right),
                  std::max(a.Bottom, b.Bottom));
    ::InvalidateRect(Handle(), &u, false);
}

// =============================================================================================
// The current cell

String TAdvStringGrid::CurrentCell() {
    const TPoint b = BaseCell(RealCol(), Row());
    return GetGridCell(b.X, b.Y);
}

void TAdvStringGrid::SetCurrentCell(const String& Value) {
    SetCellEx(RealCol(), Row(), Value);
}

String TAdvStringGrid::GetCurrentCellText() {
    return GetCellEx(RealCol(), Row());
}

void TAdvStringGrid::SetCurrentCellText(const String& Value) {
    const TPoint b = BaseCell(Col(), Row());
    SetEditText(b.X, b.Y, Value);
}

// =============================================================================================
// Columns, their order and sorted rows

int TAdvStringGrid::AllColWidths(int ACol) {
    if (IsHiddenColumn(ACol)) return FAllColWidths[size_t(ACol)];
    const int d = DisplColIndex(ACol);
    return d >= 0 && d < ColCount() ? ColWidths(d) : 0;
}

// The remembered-width table ends at column 512: later columns only set their shown width.
void TAdvStringGrid::SetAllColWidths(int ACol, int Value) {
    if (ACol < 0) return;
    if (ACol <= MaxHideableCols) FAllColWidths[size_t(ACol)] = std::int16_t(std::clamp(Value, -32768, 32767));
    if (IsHiddenColumn(ACol)) return;
    const int d = DisplColIndex(ACol);
    if (d < ColCount()) SetColWidths(d, Value);
}

int TAdvStringGrid::ColumnByHeader(const String& AValue) {
    for (int c = 0; c < TotalColCount(); ++c)
        if (AllCells(c, 0) == AValue) return c;
    return -1;
}

int TAdvStringGrid::ColumnPosition(int ACol) const {
    int pos = ACol;
    const int n = std::min(int(FColumnOrder.size()), TotalColCount());
    for (int p = 0; p < n; ++p)
        if (FColumnOrder[size_t(p)] == ACol) {
            pos = p;
            break;
        }
    if (FGroupColumn != -1 && ACol >= FGroupColumn) --pos;
    return pos;
}

int TAdvStringGrid::ColumnAtPosition(int APos) {
    if (FColumnOrder.empty()) SetColumnOrder();
    if (APos < 0 || APos >= int(FColumnOrder.size())) return APos;
    int c = FColumnOrder[size_t(APos)];
    if (FGroupColumn != -1 && c >= FGroupColumn) ++c;
    return c;
}

// Passes over the positions move every column whose original index lies left of it there, until
// a pass moves nothing. The order record follows each move (the grid's column-move handling moves
// the entry along; where none did, it is moved here), and the passes are bounded, so a record
// that cannot be sorted cannot hold the grid in a loop.
void TAdvStringGrid::ResetColumnOrder() {
    UnHideColumnsAll();
    if (FColumnOrder.empty()) {
        SetColumnOrder();
        return;
    }
    const int n = int(FColumnOrder.size());
    bool moved = true;
    for (int pass = 0; moved && pass <= n; ++pass) {
        moved = false;
        for (int p = 0; p < ColCount() && p < int(FColumnOrder.size()); ++p) {
            const int e = FColumnOrder[size_t(p)];
            if (e < 0 || e >= p) continue;
            const std::vector<int> before = FColumnOrder;
            MoveColumn(p, e);
            if (FColumnOrder == before) {
                FColumnOrder.erase(FColumnOrder.begin() + p);
                FColumnOrder.insert(FColumnOrder.begin() + e, e);
            }
            moved = true;
        }
    }
}

int TAdvStringGrid::SortedRowIndex(int ARow) const {
    const int r = ARow >= 0 && ARow < FSortRowXRef->Count() ? FSortRowXRef->Items(ARow) : ARow;
    return RealRowIndex(r);
}

int TAdvStringGrid::UnSortedRowIndex(int ARow) const {
    if (FSortRowXRef->Count() == 0) return ARow;
    const int i = FSortRowXRef->IndexOf(ARow);
    return i >= 0 ? i : FSortRowXRef->Count();
}

// =============================================================================================
// Scroll-bar cells, cursor, integral height and the sizing state

void TAdvStringGrid::BaseCellTextChanged(int ACol, int ARow) {
    if (!HasAutoRangeScrollBar(ACol, ARow)) return;
    // The bar takes its room from the text: measured by the cell's width less the bar.
    const TSize need = GetCellTextSize(ACol, ARow, true, true);
    SetScrollProp(ACol, ARow, TScrollProp{RowHeights(ARow), need.cy});
}

void TAdvStringGrid::SetCursor(TCursor Value) {
    TBaseGrid::SetCursor(Value);
    FOldCursor = Value;
}

void TAdvStringGrid::SetIntegralHeight(bool Value) {
    FIntegralHeight = Value;
    SetBounds(Left(), Top(), Width(), Height());
}

void TAdvStringGrid::GetSizingState(int X, int Y, TGridState& State, int& Index, int& SizingPos,
                                    int& SizingOfs) {
    TBaseGrid::GetSizingState(X, Y, State, Index, SizingPos, SizingOfs);
    // 6 pixels to the left (above) name the column (row) before the grid line under the pointer.
    const TGridCoord c = MouseCoord(X - 6, Y);
    if (c.Y >= 0 && c.Y < FixedRows() && c.X >= 0 && OnColumnSize) {
        bool allow = true;
        OnColumnSize(this, c.X, allow);
        // (The pointer handling's mark of a fixed column's border is cleared with it once the
        // grid keeps one.)
        if (!allow) State = gsNormal;
    }
    const TGridCoord r = MouseCoord(X, Y - 6);
    if (r.X < FixedCols() && OnRowSize) {
        bool allow = true;
        OnRowSize(this, r.Y, allow);
        if (!allow) State = gsNormal;
    }
}

// =============================================================================================
// Zooming

void TAdvStringGrid::Zoom(int X) {
    const int z = ZoomFactor + X;
    if (z > 10 || z < -10) return;
    ZoomFactor = z;
    {
        // The proportional thumbs wait for the last width and height.
        struct THold {
            int& Count;
            explicit THold(int& C) : Count(C) { ++Count; }
            ~THold() { --Count; }
        } hold(FProportionalBusy);
        for (int c = 0; c < ColCount(); ++c) {
            const int w = ColWidths(c);
            if (w > 0 && w + X > 0) SetColWidths(c, w + X);
        }
        for (int r = 0; r < RowCount(); ++r) {
            const int h = RowHeights(r);
            if (h > 0 && h + X > 0) SetRowHeights(r, h + X);
        }
    }
    UpdateVScrollBar();
    UpdateHScrollBar();
}
