// The base grid's cell store: cell properties made on demand, raw and base-cell text access,
// merged areas and their queries, cell geometry and the grid's own settings. Painting and
// movement are in BaseGridPaint.cpp, undo and redo in GridUndoRedo.cpp.
#include "BaseGrid.h"

#include "GridUtil.h"

#include <algorithm>
#include <climits>
#include <memory>

namespace {

struct TFreeObject {
    void operator()(TObject* Object) const { TObject::Free(Object); }
};

// The last index of a block from First over Count cells, kept within int so that the store's own
// check can refuse it.
int LastOfBlock(int First, int Count) {
    const long long last = (long long)First + Count - 1;
    return int(std::clamp<long long>(last, INT_MIN, INT_MAX));
}

} // namespace

// =============================================================================================
// TCellProperties

TCellProperties::TCellProperties(TBaseGrid* AOwnerGrid, int AOwnerCol, int AOwnerRow)
    : FOwnerGrid(AOwnerGrid), FOwnerCol(AOwnerCol), FOwnerRow(AOwnerRow) {
    if (FOwnerGrid) FWordWrap = FOwnerGrid->WordWrap();
}

void TCellProperties::RepaintOwner() {
    if (FOwnerGrid) FOwnerGrid->RepaintCell(FOwnerCol, FOwnerRow);
}

void TCellProperties::SetBrushColor(TColor Value) {
    FBrushColor = Value;
    RepaintOwner();
}

void TCellProperties::SetBrushColorTo(TColor Value) {
    FBrushColorTo = Value;
    RepaintOwner();
}

void TCellProperties::SetVAlignment(TVAlignment Value) {
    FVAlignment = Value;
    RepaintOwner();
}

void TCellProperties::SetWordWrap(bool Value) {
    FWordWrap = Value;
    RepaintOwner();
}

TPoint TCellProperties::GetBaseCell(int ACol, int ARow) const {
    if (!FIsBaseCell && FCellSpanX != -1 && FCellSpanY != -1)
        return TPoint(ACol - FCellSpanX, ARow - FCellSpanY);
    return TPoint(ACol, ARow);
}

void TCellProperties::Assign(TPersistent* Source) {
    auto* src = dynamic_cast<TCellProperties*>(Source);
    if (!src) {
        TPersistent::Assign(Source);
        return;
    }
    FIsBaseCell = src->FIsBaseCell;
    FCellSpanX = src->FCellSpanX;
    FCellSpanY = src->FCellSpanY;
    FOwnerCol = src->FOwnerCol;
    FOwnerRow = src->FOwnerRow;
    FObject = src->FObject;
    FAlignment = src->FAlignment;
    FBorderColor = src->FBorderColor;
    FBorderWidth = src->FBorderWidth;
    FBrushColor = src->FBrushColor;
    FBrushStyle = src->FBrushStyle;
    FFontColor = src->FFontColor;
    FFontStyle = src->FFontStyle;
    FFontName = src->FFontName;
    FFontSize = src->FFontSize;
    FReadOnly = src->FReadOnly;
    FEditor = src->FEditor;
    FVAlignment = src->FVAlignment;
    FWordWrap = src->FWordWrap;
    FNodeLevel = src->FNodeLevel;
    FControl = src->FControl;
}

// =============================================================================================
// TBaseGrid: life and settings

TBaseGrid::TBaseGrid(TComponent* AOwner) : TObjStringGrid(AOwner) {
    SetGridLineWidth(1);
    SetDefaultDrawing(false);
}

TBaseGrid::~TBaseGrid() {
    FreeAllCellProperties();
    if (FUndoRedo && FUndoRedo->Grid() == this) FUndoRedo->SetGrid(nullptr);
}

void TBaseGrid::SetDefaultDrawing(bool Value) {
    FDefaultDrawing = Value;
    TObjStringGrid::SetDefaultDrawing(false);
}

void TBaseGrid::SetGridLineWidth(int Value) {
    FGridLineWidth = Value;
    TObjStringGrid::SetGridLineWidth(0);
    Invalidate();
}

void TBaseGrid::SetGridLineColor(TColor Value) {
    FGridLineColor = Value;
    Invalidate();
}

void TBaseGrid::SetGridFixedLineColor(TColor Value) {
    FGridFixedLineColor = Value;
    Invalidate();
}

namespace {
// Stores Value and repaints the grid when it changed.
template <class T> void SetAndRepaint(TBaseGrid* Grid, T& Field, const T& Value) {
    if (Field == Value) return;
    Field = Value;
    Grid->Invalidate();
}
} // namespace

void TBaseGrid::SetActiveRowShow(bool Value) {
    SetAndRepaint(this, FActiveRowShow, Value);
}
void TBaseGrid::SetActiveRowColor(TColor Value) {
    SetAndRepaint(this, FActiveRowColor, Value);
}
void TBaseGrid::SetActiveRowColorTo(TColor Value) {
    SetAndRepaint(this, FActiveRowColorTo, Value);
}
void TBaseGrid::SetActiveRowMirrorColor(TColor Value) {
    SetAndRepaint(this, FActiveRowMirrorColor, Value);
}
void TBaseGrid::SetActiveRowMirrorColorTo(TColor Value) {
    SetAndRepaint(this, FActiveRowMirrorColorTo, Value);
}
void TBaseGrid::SetSelectionStyle(TGridSelectionStyle Value) {
    SetAndRepaint(this, FSelectionStyle, Value);
}

void TBaseGrid::SetUndoRedo(TAdvGridUndoRedo* Value) {
    if (FUndoRedo == Value) return;
    if (FUndoRedo) RemoveFreeNotification(FUndoRedo);
    FUndoRedo = Value;
    if (FUndoRedo) {
        FreeNotification(FUndoRedo);
        FUndoRedo->SetGrid(this);
    }
}

void TBaseGrid::Notification(TComponent* AComponent, TOperation Operation) {
    if (Operation == opRemove && AComponent && AComponent == FUndoRedo) FUndoRedo = nullptr;
    TObjStringGrid::Notification(AComponent, Operation);
}

void TBaseGrid::SizeChanged(int OldColCount, int OldRowCount) {
    TObjStringGrid::SizeChanged(OldColCount, OldRowCount);
    // Cells moved while the counts were larger may hold properties up to those counts.
    FStoredCols = std::max(FStoredCols, OldColCount);
    FStoredRows = std::max(FStoredRows, OldRowCount);
}

// =============================================================================================
// Cell properties and raw access

void TBaseGrid::NoteStored(int ACol, int ARow) {
    FStoredCols = std::max(FStoredCols, ACol + 1);
    FStoredRows = std::max(FStoredRows, ARow + 1);
}

TCellProperties* TBaseGrid::GetCellProperties(int ACol, int ARow) {
    // Reading the slot first lets the store refuse a cell outside it before anything is made.
    if (TObject* existing = Objects(ACol, ARow)) return static_cast<TCellProperties*>(existing);
    auto* props = new TCellProperties(this, ACol, ARow);
    FHasCellProps = true;
    NoteStored(ACol, ARow);
    SetObjects(ACol, ARow, props);

    std::unique_ptr<TFont, TFreeObject> font(new TFont());
    std::unique_ptr<TBrush, TFreeObject> brush(new TBrush());
    TColor colorTo = clNone, mirrorColor = clNone, mirrorColorTo = clNone;
    TAlignment ha = taLeftJustify;
    TVAlignment va = vtaTop;
    bool ww = FWordWrap;
    TCellGradientDirection gd = GradientVertical;
    GetDefaultVisualProps(ACol, ARow, font.get(), brush.get(), colorTo, mirrorColor, mirrorColorTo, ha, va,
                          ww, gd);
    props->SetCalcType(acNONE);
    props->SetAlignment(ha);
    props->SetVAlignment(va);
    props->SetWordWrap(ww);
    props->SetFontName(font->Name());
    props->SetFontSize(font->Size());
    props->SetFontStyle(font->Style());
    props->SetFontColor(font->Color());
    props->FBrushColor = brush->Color();
    props->FBrushColorTo = colorTo;
    props->SetGradientDirection(gd);
    return props;
}

void TBaseGrid::SetCellProperties(int ACol, int ARow, TCellProperties* Value) {
    TObject* old = Objects(ACol, ARow);
    if (old == Value) return;
    SetObjects(ACol, ARow, Value);
    if (Value) {
        FHasCellProps = true;
        NoteStored(ACol, ARow);
    }
    TObject::Free(old);
}

bool TBaseGrid::HasCellProperties(int ACol, int ARow) const {
    return ACol >= 0 && ARow >= 0 && ACol < TotalColCount() && ARow < RowCount() && Objects(ACol, ARow);
}

TCellProperties* TBaseGrid::PropsOf(int ACol, int ARow) const {
    return HasCellProperties(ACol, ARow) ? static_cast<TCellProperties*>(Objects(ACol, ARow)) : nullptr;
}

void TBaseGrid::SetGridObject(int ACol, int ARow, TObject* Value) {
    SetObjects(ACol, ARow, Value);
    if (Value) NoteStored(ACol, ARow);
}

quintptr TBaseGrid::GetObjectEx(int ACol, int ARow) const {
    const TCellProperties* props = PropsOf(ACol, ARow);
    return props ? props->CellObject() : 0;
}

// The store attaches objects to cells of any text, so the cell's text is left alone.
void TBaseGrid::SetObjectEx(int ACol, int ARow, quintptr Value) {
    GetCellProperties(ACol, ARow)->SetCellObject(Value);
}

TObject* TBaseGrid::GetGraphicObjectEx(int ACol, int ARow) const {
    const TCellProperties* props = PropsOf(ACol, ARow);
    return props ? props->GraphicObject() : nullptr;
}

void TBaseGrid::SetGraphicObjectEx(int ACol, int ARow, TObject* Value) {
    if (ComponentState().count(csDestroying)) return;
    GetCellProperties(ACol, ARow)->SetGraphicObject(Value);
}

void TBaseGrid::FreeCellProperties(int ACol, int ARow) {
    TObject* old = Objects(ACol, ARow);
    SetObjects(ACol, ARow, nullptr);
    TObject::Free(old);
}

void TBaseGrid::FreeCellPropertiesRange(int Col1, int Row1, int Col2, int Row2) {
    if (!FHasCellProps) return;
    for (int c = Col1; c <= Col2; ++c)
        for (int r = Row1; r <= Row2; ++r) {
            TObject* obj = Objects(c, r);
            if (!obj) continue;
            if (auto* props = dynamic_cast<TCellProperties*>(obj)) {
                TObject* graphic = props->GraphicObject();
                if (graphic && graphic->ClassName() == QLatin1String("TCellGraphic")) {
                    props->SetGraphicObject(nullptr);
                    TObject::Free(graphic);
                }
            }
            SetObjects(c, r, nullptr);
            TObject::Free(obj);
        }
}

void TBaseGrid::FreeAllCellProperties() {
    const int cols = std::max(FStoredCols, TotalColCount());
    const int rows = std::max(FStoredRows, RowCount());
    FreeCellPropertiesRange(0, 0, std::min(cols, MaxGridCols) - 1, std::min(rows, MaxGridRows) - 1);
}

void TBaseGrid::BlankColumn(int ACol) {
    for (int r = 0; r < RowCount(); ++r) BlankCell(ACol, r);
}

void TBaseGrid::BlankRow(int ARow) {
    for (int c = 0; c < TotalColCount(); ++c) BlankCell(c, ARow);
}

void TBaseGrid::BlankCell(int ACol, int ARow) {
    SetObjects(ACol, ARow, nullptr);
    SetCellEx(ACol, ARow, String());
}

// =============================================================================================
// Text through base cells

String TBaseGrid::GetCellEx(int ACol, int ARow) {
    const TPoint base = BaseCell(ACol, ARow);
    String text = Cells(base.X, base.Y);
    if (base.Y < FNormalRowCount) {
        GetDisplText(base.X, base.Y, text);
        if (Assigned(OnGetDisplWideText)) {
            String wide = UnpackWideText(text);
            GetDisplWideText(base.X, base.Y, wide);
            text = PackWideText(wide);
        }
    }
    return text;
}

void TBaseGrid::SetCellEx(int ACol, int ARow, const String& Value) {
    if (const TCellProperties* props = PropsOf(ACol, ARow)) {
        const TPoint base = props->GetBaseCell(ACol, ARow);
        SetCells(base.X, base.Y, Value);
        BaseCellTextChanged(base.X, base.Y);
        if (Parent()) RepaintCell(ACol, ARow);
    } else {
        SetCells(ACol, ARow, Value);
    }
    if (FHideLastRow && ARow == RowCount() - 1) LastRowChanged();
}

// =============================================================================================
// Merged areas

void TBaseGrid::RepaintBlock(int Col1, int Row1, int Col2, int Row2) {
    for (int c = Col1; c <= Col2; ++c)
        for (int r = Row1; r <= Row2; ++r) RepaintCell(c, r);
}

void TBaseGrid::MergeCells(int ACol, int ARow, int SpanX, int SpanY) {
    const int lastCol = LastOfBlock(ACol, SpanX), lastRow = LastOfBlock(ARow, SpanY);
    if (SpanX >= 1 && SpanY >= 1) {
        // Both corners through the store's own check: a block it cannot hold changes nothing.
        Objects(ACol, ARow);
        Objects(lastCol, lastRow);
    }
    ++FMergeCount;
    if (SpanX < 1 || SpanY < 1) return;
    for (int c = ACol; c <= lastCol; ++c)
        for (int r = ARow; r <= lastRow; ++r) {
            TCellProperties* props = GetCellProperties(c, r);
            const bool base = c == ACol && r == ARow;
            props->SetIsBaseCell(base);
            props->SetCellSpanX(base ? SpanX - 1 : c - ACol);
            props->SetCellSpanY(base ? SpanY - 1 : r - ARow);
        }
    RepaintBlock(ACol, ARow, lastCol, lastRow);
}

void TBaseGrid::SplitCells(int ACol, int ARow) {
    const TPoint base = GetCellProperties(ACol, ARow)->GetBaseCell(ACol, ARow);
    TCellProperties* baseProps = GetCellProperties(base.X, base.Y);
    const int lastCol = LastOfBlock(base.X, baseProps->CellSpanX() + 1);
    const int lastRow = LastOfBlock(base.Y, baseProps->CellSpanY() + 1);
    for (int c = base.X; c <= lastCol; ++c)
        for (int r = base.Y; r <= lastRow; ++r) {
            TCellProperties* props = GetCellProperties(c, r);
            props->SetIsBaseCell(true);
            props->SetCellSpanX(-1);
            props->SetCellSpanY(-1);
        }
    RepaintBlock(base.X, base.Y, lastCol, lastRow);
    --FMergeCount;
}

TPoint TBaseGrid::BaseCell(int ACol, int ARow) const {
    const TCellProperties* props = PropsOf(ACol, ARow);
    return props ? props->GetBaseCell(ACol, ARow) : TPoint(ACol, ARow);
}

bool TBaseGrid::ResolveBaseCell(int ACol, int ARow, int& BaseCol, int& BaseRow) const {
    const TPoint base = BaseCell(ACol, ARow);
    BaseCol = base.X;
    BaseRow = base.Y;
    return base.X == ACol && base.Y == ARow;
}

bool TBaseGrid::IsBaseCell(int ACol, int ARow) const {
    const TCellProperties* props = PropsOf(ACol, ARow);
    return !props || props->IsBaseCell();
}

bool TBaseGrid::IsMergedCell(int ACol, int ARow) const {
    const TCellProperties* props = PropsOf(ACol, ARow);
    return props && (props->CellSpanX() > 0 || props->CellSpanY() > 0);
}

bool TBaseGrid::IsMergedNonBaseCell(int ACol, int ARow) const {
    return IsMergedCell(ACol, ARow) && !IsBaseCell(ACol, ARow);
}

bool TBaseGrid::IsXMergedCell(int ACol, int ARow) const {
    return PropsOf(ACol, ARow) && CellSpan(ACol, ARow).X > 0;
}

bool TBaseGrid::IsYMergedCell(int ACol, int ARow) const {
    return PropsOf(ACol, ARow) && CellSpan(ACol, ARow).Y > 0;
}

TPoint TBaseGrid::CellSpan(int ACol, int ARow) const {
    const TCellProperties* props = PropsOf(ACol, ARow);
    if (!props || props->CellSpanX() == -1 || props->CellSpanY() == -1) return TPoint(0, 0);
    const TPoint base = props->GetBaseCell(ACol, ARow);
    const TCellProperties* baseProps = PropsOf(base.X, base.Y);
    if (!baseProps) return TPoint(0, 0);
    return TPoint(baseProps->CellSpanX(), baseProps->CellSpanY());
}

TPoint TBaseGrid::CellExt(int ACol, int ARow) const {
    const TCellProperties* props = PropsOf(ACol, ARow);
    if (!props || props->CellSpanX() == -1 || props->CellSpanY() == -1) return TPoint(0, 0);
    const TPoint base = props->GetBaseCell(ACol, ARow);
    const TPoint span = CellSpan(ACol, ARow);
    return TPoint(base.X + span.X - ACol, base.Y + span.Y - ARow);
}

TRect TBaseGrid::FullCell(int ACol, int ARow) const {
    const TPoint base = BaseCell(ACol, ARow);
    const TPoint span = CellSpan(ACol, ARow);
    return TRect(base.X, base.Y, base.X + span.X, base.Y + span.Y);
}

int TBaseGrid::MinRowSpan(int ARow) const {
    int result = RowCount();
    for (int c = 0; c < TotalColCount(); ++c) {
        const int span = CellSpan(c, ARow).Y;
        if (span > 0) result = std::min(result, span);
    }
    return result;
}

int TBaseGrid::MaxRowSpan(int ARow) const {
    int result = 0;
    for (int c = 0; c < TotalColCount(); ++c) result = std::max(result, CellSpan(c, ARow).Y);
    return result;
}

bool TBaseGrid::RowSpanIdentical(int Row1, int Row2) const {
    bool any = false;
    for (int c = 0; c < TotalColCount(); ++c) {
        if (CellSpan(c, Row1).Y <= 0 || CellSpan(c, Row2).Y <= 0) continue;
        any = true;
        if (BaseCell(c, Row1).Y != BaseCell(c, Row2).Y) return false;
    }
    return any;
}

bool TBaseGrid::ColSpanIdentical(int Col1, int Col2) const {
    bool any = false;
    for (int r = 0; r < RowCount(); ++r) {
        const int s1 = CellSpan(Col1, r).X, s2 = CellSpan(Col2, r).X;
        if (s1 > 0 && s2 > 0) {
            any = true;
            if (BaseCell(Col1, r).X != BaseCell(Col2, r).X) return false;
        } else if (s1 != s2) {
            return false;
        }
    }
    return any;
}

// =============================================================================================
// Geometry (the platform grid draws no lines: cells lie edge to edge)

TRect TBaseGrid::VirtualCellRect(int ACol, int ARow) const {
    auto sum = [](int From, int To, auto Size) {
        long long s = 0;
        for (int i = From; i < To; ++i) s += std::max(0, Size(i));
        return s;
    };
    auto width = [this](int i) { return ColWidths(i); };
    auto height = [this](int i) { return RowHeights(i); };
    long long x = sum(0, ACol, width), y = sum(0, ARow, height);
    // Scrolling cells start at the fixed boundary with LeftCol (TopRow).
    if (ACol >= FixedCols()) x -= sum(FixedCols(), LeftCol(), width);
    if (ARow >= FixedRows()) y -= sum(FixedRows(), TopRow(), height);
    TRect r(int(x), int(y), int(x + std::max(0, ColWidths(ACol))), int(y + std::max(0, RowHeights(ARow))));
    return MirrorRect(r);
}

TRect TBaseGrid::CellRect(int ACol, int ARow) const {
    const TCellProperties* props = PropsOf(ACol, ARow);
    if (props && (props->CellSpanX() != -1 || props->CellSpanY() != -1)) {
        const TPoint base = props->GetBaseCell(ACol, ARow);
        const TPoint span = CellSpan(ACol, ARow);
        TRect r1 = VirtualCellRect(base.X, base.Y);
        if (r1.Width() == 0) ++r1.Right;
        TRect r2 = VirtualCellRect(base.X + span.X, base.Y + span.Y);
        if (r2.Width() == 0) --r2.Left;
        return TRect(std::min(r1.Left, r2.Left), std::min(r1.Top, r2.Top), std::max(r1.Right, r2.Right),
                     std::max(r1.Bottom, r2.Bottom));
    }
    if (props && props->Control()) return VirtualCellRect(ACol, ARow);
    TRect r = TObjStringGrid::CellRect(ACol, ARow);
    if (r.IsEmpty()) return r;
    const int w = std::max(0, ColWidths(ACol)), h = std::max(0, RowHeights(ARow));
    if (UseRightToLeftAlignment())
        r.Left = r.Right - w;
    else
        r.Right = r.Left + w;
    r.Bottom = r.Top + h;
    return r;
}

TPoint TBaseGrid::CellSize(int ACol, int ARow) const {
    if (IsMergedCell(ACol, ARow)) {
        const TPoint base = BaseCell(ACol, ARow);
        const TPoint span = CellSpan(ACol, ARow);
        const TRect r1 = VirtualCellRect(base.X, base.Y);
        const TRect r2 = VirtualCellRect(base.X + span.X, base.Y + span.Y);
        return TPoint(std::max(r1.Right, r2.Right) - std::min(r1.Left, r2.Left),
                      std::max(r1.Bottom, r2.Bottom) - std::min(r1.Top, r2.Top));
    }
    const TRect r = VirtualCellRect(ACol, ARow);
    return TPoint(r.Width(), r.Height());
}

void TBaseGrid::RepaintCell(int ACol, int ARow) {
    if (!HandleAllocated()) return;
    const TRect r = CellRect(ACol, ARow);
    if (!r.IsEmpty()) ::InvalidateRect(Handle(), &r, true);
}

// =============================================================================================
// Hooks of the grid control: what the store itself does

bool TBaseGrid::IsFixed(int, int) {
    return false;
}

int TBaseGrid::GetRowIndent(int) {
    return 0;
}

bool TBaseGrid::HasNodes() {
    return false;
}

void TBaseGrid::DrawCellText(TCanvas* Canvas, int ACol, int ARow, TRect R, TGridDrawState) {
    Canvas->Brush()->SetStyle(bsClear);
    DrawText(Canvas, GetCellEx(ACol, ARow), R, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    Canvas->Brush()->SetStyle(bsSolid);
}

void TBaseGrid::LastRowChanged() {}

void TBaseGrid::GetDisplText(int ACol, int ARow, String& Value) {
    if (Assigned(OnGetDisplText)) OnGetDisplText(this, ACol, ARow, Value);
}

void TBaseGrid::GetDisplWideText(int ACol, int ARow, String& Value) {
    if (Assigned(OnGetDisplWideText)) OnGetDisplWideText(this, ACol, ARow, Value);
}

void TBaseGrid::GetDefaultVisualProps(int, int, TFont* AFont, TBrush* ABrush, TColor& AColorTo,
                                      TColor& AMirrorColor, TColor& AMirrorColorTo, TAlignment& HA,
                                      TVAlignment& VA, bool& WW, TCellGradientDirection& GD) {
    AFont->Assign(Font());
    ABrush->SetColor(Color());
    AColorTo = clNone;
    AMirrorColor = clNone;
    AMirrorColorTo = clNone;
    HA = taLeftJustify;
    VA = vtaTop;
    WW = FWordWrap;
    GD = GradientVertical;
}

void TBaseGrid::BaseCellTextChanged(int, int) {}

bool TBaseGrid::HasCustomCellBorders() {
    return false;
}

bool TBaseGrid::IsStyled() {
    return false;
}

void TBaseGrid::GetVisualProperties(int, int, TGridDrawState&, bool, bool, bool, TBrush*, TColor&, TColor&,
                                    TColor&, TFont*, TAlignment&, TVAlignment&, bool&,
                                    TCellGradientDirection&) {}

int TBaseGrid::DisplColIndex(int ACol) {
    return ACol;
}

int TBaseGrid::TotalColCount() const {
    return ColCount();
}
