// The grid's structure, geometry, current cell and selection, view and scroll model.
// Painting is in GridsPaint.cpp, the mouse in GridsMouse.cpp, keys in GridsKeys.cpp, the editor
// in GridsEdit.cpp and the string grid's cell store in GridsStore.cpp.
#include "Grids.h"

#include "GridsPrivate.h"
#include "ScrollInfo.h"

#include <algorithm>

using namespace GridsPrivate;

TGridRect GridRect(const TGridCoord& Coord1, const TGridCoord& Coord2) {
    return TGridRect(std::min(Coord1.X, Coord2.X), std::min(Coord1.Y, Coord2.Y), std::max(Coord1.X, Coord2.X),
                     std::max(Coord1.Y, Coord2.Y));
}

bool PointInGridRect(int Col, int Row, const TGridRect& Rect) {
    return Col >= Rect.Left && Col <= Rect.Right && Row >= Rect.Top && Row <= Rect.Bottom;
}

// =============================================================================================
// TGridExtents

void TGridExtents::SetCount(int Value) {
    if (Value == FCount) return;
    ++FVersion;
    FCount = Value;
    if (!FSizes.empty()) FSizes.resize(size_t(Value), FDefault);
}

void TGridExtents::SetDefault(int Value) {
    ++FVersion;
    FDefault = Value;
    FSizes.clear();
    FSizes.shrink_to_fit();
}

void TGridExtents::SetSize(int Index, int Value) {
    ++FVersion;
    if (FSizes.empty()) {
        if (Value == FDefault) return;
        FSizes.assign(size_t(FCount), FDefault);
    }
    FSizes[size_t(Index)] = Value;
}

void TGridExtents::Move(int FromIndex, int ToIndex) {
    if (FSizes.empty() || FromIndex == ToIndex) return;
    ++FVersion;
    MoveItem(FSizes, size_t(FromIndex), size_t(ToIndex));
}

// =============================================================================================
// TCustomGrid: life and structure

TCustomGrid::TCustomGrid(TComponent* AOwner) : TCustomControl(AOwner) {
    FControlStyle = {csCaptureMouse, csOpaque, csDoubleClicks};
    FOptions = {goFixedVertLine, goFixedHorzLine, goVertLine, goHorzLine, goRangeSelect};
    SetParentColor(false);
    SetColor(clWindow);
    SetTabStop(true);
    SetBounds(0, 0, 320, 120);
}

TCustomGrid::~TCustomGrid() {
    // The editor is a child window and goes with the grid's children, after this part of the
    // grid is gone: it must not call back.
    if (FInplaceEdit) FInplaceEdit->SetGrid(nullptr);
    FInplaceEdit = nullptr;
}

void TCustomGrid::SetColCount(int Value) {
    if (Value > MaxGridCols) throw EInvalidGridOperation(SGridTooLarge);
    Value = std::max(Value, 1);
    if (Value == ColCount()) return;
    if (FFixedCols >= Value) FFixedCols = Value - 1;
    ChangeSize(Value, RowCount());
}

void TCustomGrid::SetRowCount(int Value) {
    if (Value > MaxGridRows) throw EInvalidGridOperation(SGridTooLarge);
    Value = std::max(Value, 1);
    if (Value == RowCount()) return;
    if (FFixedRows >= Value) FFixedRows = Value - 1;
    ChangeSize(ColCount(), Value);
}

// A count change touches no stored cell: the sizes follow the count, and only a current cell,
// anchor or view that leaves the grid with it moves back to the new last index (a selection
// parked outside the grid stays where it is).
void TCustomGrid::ChangeSize(int NewColCount, int NewRowCount) {
    const int oldCols = ColCount(), oldRows = RowCount();
    if (FInplaceCol >= 0 && (FInplaceCol >= NewColCount || FInplaceRow >= NewRowCount)) HideEditor();
    FColWidths.SetCount(NewColCount);
    FRowHeights.SetCount(NewRowCount);
    if (!FSelectionParked) {
        auto follow = [](int& V, int OldCount, int NewCount) {
            if (V < OldCount && V >= NewCount) V = NewCount - 1;
        };
        follow(FCurrent.X, oldCols, NewColCount);
        follow(FCurrent.Y, oldRows, NewRowCount);
        follow(FAnchor.X, oldCols, NewColCount);
        follow(FAnchor.Y, oldRows, NewRowCount);
    }
    const TGridCoord oldTopLeft = FTopLeft;
    FTopLeft.X = std::clamp(FTopLeft.X, FFixedCols, std::max(FFixedCols, NewColCount - 1));
    FTopLeft.Y = std::clamp(FTopLeft.Y, FFixedRows, std::max(FFixedRows, NewRowCount - 1));
    InvalidateGrid();
    UpdateScrollRange();
    if (!(FTopLeft == oldTopLeft)) TopLeftChanged();
    SizeChanged(oldCols, oldRows);
    EditorFollowCell();
}

void TCustomGrid::SetFixedCols(int Value) {
    SetFixedCount(Value, false);
}

void TCustomGrid::SetFixedRows(int Value) {
    SetFixedCount(Value, true);
}

// Cells that become fixed can be neither current nor the first scrolling one.
void TCustomGrid::SetFixedCount(int Value, bool Rows) {
    if (Value < 0) throw EInvalidGridOperation(SIndexOutOfRange);
    if (Value >= (Rows ? RowCount() : ColCount()))
        throw EInvalidGridOperation(Rows ? SFixedRowTooBig : SFixedColTooBig);
    int& fixed = Rows ? FFixedRows : FFixedCols;
    if (Value == fixed) return;
    fixed = Value;
    const int edited = Rows ? FInplaceRow : FInplaceCol;
    if (edited >= 0 && edited < Value) HideEditor();
    int TGridCoord::*axis = Rows ? &TGridCoord::Y : &TGridCoord::X;
    const TGridCoord oldTopLeft = FTopLeft;
    for (TGridCoord* c : {&FCurrent, &FAnchor, &FTopLeft})
        if (c->*axis < Value) c->*axis = Value;
    InvalidateGrid();
    UpdateScrollRange();
    if (!(FTopLeft == oldTopLeft)) TopLeftChanged();
}

void TCustomGrid::SetDefaultColWidth(int Value) {
    FColWidths.SetDefault(Value);
    InvalidateGrid();
    ColWidthsChanged();
}

void TCustomGrid::SetDefaultRowHeight(int Value) {
    FRowHeights.SetDefault(Value);
    InvalidateGrid();
    RowHeightsChanged();
}

void TCustomGrid::SetColWidths(int Index, int Value) {
    if (SetSize(FColWidths, Index, Value)) ColWidthsChanged();
}

void TCustomGrid::SetRowHeights(int Index, int Value) {
    if (SetSize(FRowHeights, Index, Value)) RowHeightsChanged();
}

bool TCustomGrid::SetSize(TGridExtents& Sizes, int Index, int Value) {
    if (Index < 0 || Index >= Sizes.Count()) throw EInvalidGridOperation(SIndexOutOfRange);
    if (Value == Sizes.Size(Index)) return false;
    Sizes.SetSize(Index, Value);
    InvalidateGrid();
    return true;
}

void TCustomGrid::SetGridLineWidth(int Value) {
    Value = std::max(Value, 0);
    if (Value == FGridLineWidth) return;
    FGridLineWidth = Value;
    InvalidateGrid();
    UpdateScrollRange();
    EditorFollowCell();
}

void TCustomGrid::SetOptions(const TGridOptions& Value) {
    if (Value == FOptions) return;
    const bool wasRowSelect = HasOption(goRowSelect);
    FOptions = Value;
    if (!HasOption(goEditing) || HasOption(goRowSelect)) {
        HideEditor();
    } else if (HasOption(goAlwaysShowEditor)) {
        FEditorMode = true;
        UpdateEdit();
    }
    if (HasOption(goRowSelect))
        FAnchor.X = ColCount() - 1;
    else if (wasRowSelect)
        FAnchor = FCurrent; // the row's selection was the current cell's
    InvalidateGrid();
    UpdateScrollRange();
    EditorFollowCell();
}

void TCustomGrid::SetFixedColor(TColor Value) {
    if (Value == FFixedColor) return;
    FFixedColor = Value;
    InvalidateGrid();
}

void TCustomGrid::SetScrollBars(TScrollStyle Value) {
    if (Value == FScrollBars) return;
    FScrollBars = Value;
    UpdateScrollRange();
}

void TCustomGrid::SetBorderStyle(TBorderStyle Value) {
    if (Value == FBorderStyle) return;
    FBorderStyle = Value;
    ApplyBorderStyle();
}

void TCustomGrid::SetDefaultDrawing(bool Value) {
    if (Value == FDefaultDrawing) return;
    FDefaultDrawing = Value;
    InvalidateGrid();
}

// =============================================================================================
// Current cell and selection

bool TCustomGrid::RangeSelectAllowed() const {
    return HasOption(goRangeSelect) && !HasOption(goEditing);
}

TGridRect TCustomGrid::Selection() const {
    TGridRect r = GridRect(FCurrent, FAnchor);
    if (HasOption(goRowSelect)) {
        r.Left = FFixedCols;
        r.Right = ColCount() - 1;
    }
    return r;
}

void TCustomGrid::SetSelection(const TGridRect& Value) {
    const TGridRect oldSel = Selection();
    FAnchor = Value.TopLeft();
    FCurrent = Value.BottomRight();
    FSelectionParked = FCurrent.X >= ColCount() || FCurrent.Y >= RowCount() || FAnchor.X >= ColCount() ||
                       FAnchor.Y >= RowCount();
    SelectionMoved(oldSel);
}

void TCustomGrid::SetCol(int Value) {
    if (Value != FCurrent.X) FocusCell(Value, FCurrent.Y, true);
}

void TCustomGrid::SetRow(int Value) {
    if (Value != FCurrent.Y) FocusCell(FCurrent.X, Value, true);
}

void TCustomGrid::MoveColRow(int ACol, int ARow, bool MoveAnchor, bool Show) {
    if (ACol < 0 || ARow < 0 || ACol >= ColCount() || ARow >= RowCount())
        throw EInvalidGridOperation(SIndexOutOfRange);
    // The cell being left holds what was typed into it when SelectCell looks.
    UpdateText();
    if (!SelectCell(ACol, ARow)) return;
    const TGridRect oldSel = Selection();
    FCurrent = TGridCoord(ACol, ARow);
    FSelectionParked = false;
    if (!HasOption(goAlwaysShowEditor)) HideEditor();
    if (MoveAnchor || !RangeSelectAllowed()) FAnchor = FCurrent;
    if (HasOption(goRowSelect)) FAnchor.X = ColCount() - 1;
    if (Show) ClampInView(FCurrent);
    SelectionMoved(oldSel);
}

void TCustomGrid::FocusCell(int ACol, int ARow, bool MoveAnchor) {
    MoveColRow(ACol, ARow, MoveAnchor, true);
    UpdateEdit();
    Click();
}

void TCustomGrid::MoveAnchor(const TGridCoord& NewAnchor) {
    if (!RangeSelectAllowed()) {
        MoveColRow(NewAnchor.X, NewAnchor.Y, true, true);
        return;
    }
    const TGridRect oldSel = Selection();
    FAnchor = NewAnchor;
    FSelectionParked = FSelectionParked && (FCurrent.X >= ColCount() || FCurrent.Y >= RowCount());
    if (HasOption(goRowSelect)) FAnchor.X = ColCount() - 1;
    ClampInView(NewAnchor);
    SelectionMoved(oldSel);
}

void TCustomGrid::SelectionMoved(const TGridRect& OldSel) {
    const TGridRect sel = Selection();
    if (sel == OldSel) return;
    InvalidateGridRect(OldSel);
    InvalidateGridRect(sel);
}

// =============================================================================================
// The view

void TCustomGrid::SetLeftCol(int Value) {
    MoveTopLeft(Value, FTopLeft.Y);
}

void TCustomGrid::SetTopRow(int Value) {
    MoveTopLeft(FTopLeft.X, Value);
}

void TCustomGrid::MoveTopLeft(int ALeft, int ATop) {
    ALeft = std::clamp(ALeft, FFixedCols, std::max(FFixedCols, ColCount() - 1));
    ATop = std::clamp(ATop, FFixedRows, std::max(FFixedRows, RowCount() - 1));
    if (ALeft == FTopLeft.X && ATop == FTopLeft.Y) return;
    FTopLeft = TGridCoord(ALeft, ATop);
    InvalidateGrid();
    UpdateScrollPos();
    TopLeftChanged();
}

void TCustomGrid::ClampInView(const TGridCoord& Coord) {
    TGridDrawInfo info;
    CalcDrawInfo(info);
    int left = FTopLeft.X, top = FTopLeft.Y;
    if (Coord.X >= FFixedCols && Coord.X < ColCount()) {
        if (Coord.X < left)
            left = Coord.X;
        else if (Coord.X > info.Horz.LastFullVisibleCell)
            left = FirstCellShowing(FColWidths, info.Horz, Coord.X);
    }
    if (Coord.Y >= FFixedRows && Coord.Y < RowCount()) {
        if (Coord.Y < top)
            top = Coord.Y;
        else if (Coord.Y > info.Vert.LastFullVisibleCell)
            top = FirstCellShowing(FRowHeights, info.Vert, Coord.Y);
    }
    MoveTopLeft(left, top);
}

int TCustomGrid::VisibleColCount() const {
    TGridDrawInfo info;
    CalcDrawInfo(info);
    return std::max(0, info.Horz.LastFullVisibleCell - info.Horz.FirstGridCell + 1);
}

int TCustomGrid::VisibleRowCount() const {
    TGridDrawInfo info;
    CalcDrawInfo(info);
    return std::max(0, info.Vert.LastFullVisibleCell - info.Vert.FirstGridCell + 1);
}

// =============================================================================================
// Geometry. Each axis is laid out from 0: the fixed cells, then the scrolling cells from the
// first one shown; every cell is followed by its grid line. A cell with a negative size takes
// no room at all.

void TCustomGrid::CalcAxis(TGridAxisDrawInfo& Axis, const TGridExtents& Extents, int FixedCount,
                           int FirstCell, int AExtent, int LineWidth) const {
    Axis.EffectiveLineWidth = LineWidth;
    Axis.GridExtent = std::max(AExtent, 0);
    Axis.FixedCellCount = FixedCount;
    Axis.FirstGridCell = FirstCell;
    Axis.GridCellCount = Extents.Count();
    const long long extent = Axis.GridExtent;
    long long pos = 0;
    for (int i = 0; i < FixedCount && pos < extent; ++i) pos += CellExtent(Extents, i, LineWidth);
    Axis.FixedBoundary = int(std::min(pos, extent));
    Axis.LastFullVisibleCell = FirstCell - 1;
    Axis.FullVisBoundary = Axis.FixedBoundary;
    pos = Axis.FixedBoundary;
    if (pos < extent) {
        for (int i = FirstCell; i < Axis.GridCellCount && pos < extent; ++i) {
            const int s = Extents.Size(i);
            if (s < 0) continue;
            if (pos + s <= extent) {
                Axis.LastFullVisibleCell = i;
                Axis.FullVisBoundary = int(std::min(pos + s + LineWidth, extent));
            }
            pos += (long long)s + LineWidth;
        }
    }
    Axis.GridBoundary = int(std::min(pos, extent));
}

void TCustomGrid::CalcDrawInfo(TGridDrawInfo& DrawInfo) const {
    const int vertLine =
        HasOption(goFixedVertLine) || HasOption(goVertLine) ? FGridLineWidth : 0; // lines between columns
    const int horzLine = HasOption(goFixedHorzLine) || HasOption(goHorzLine) ? FGridLineWidth : 0;
    const TRect cr = ClientRect();
    DrawInfo.Horz = CachedAxis(FAxisCache[0], FColWidths, FFixedCols, FTopLeft.X, cr.Width(), vertLine);
    DrawInfo.Vert = CachedAxis(FAxisCache[1], FRowHeights, FFixedRows, FTopLeft.Y, cr.Height(), horzLine);
}

const TGridAxisDrawInfo& TCustomGrid::CachedAxis(TAxisCache& Cache, const TGridExtents& Extents,
                                                 int FixedCount, int FirstCell, int Extent,
                                                 int LineWidth) const {
    Extent = std::max(Extent, 0);
    if (!Cache.Valid || Cache.Version != Extents.Version() || Cache.Fixed != FixedCount ||
        Cache.Extent != Extent || Cache.Line != LineWidth) {
        Cache.Valid = false;
        Cache.MaxValid = false;
    }
    if (!Cache.Valid || Cache.First != FirstCell) {
        CalcAxis(Cache.Info, Extents, FixedCount, FirstCell, Extent, LineWidth);
        Cache.Valid = true;
        Cache.Version = Extents.Version();
        Cache.Fixed = FixedCount;
        Cache.First = FirstCell;
        Cache.Extent = Extent;
        Cache.Line = LineWidth;
    }
    return Cache.Info;
}

int TCustomGrid::FirstCellShowing(const TGridExtents& Extents, const TGridAxisDrawInfo& Axis,
                                  int Last) const {
    const long long room = (long long)Axis.GridExtent - Axis.FixedBoundary;
    long long used = std::max(Extents.Size(Last), 0);
    int first = Last;
    while (first > Axis.FixedCellCount) {
        const long long e = CellExtent(Extents, first - 1, Axis.EffectiveLineWidth);
        if (used + e > room) break;
        used += e;
        --first;
    }
    return first;
}

int TCustomGrid::MaxTopLeftOf(const TGridExtents& Extents, const TGridAxisDrawInfo& Axis) const {
    TAxisCache& cache = FAxisCache[&Extents == &FColWidths ? 0 : 1];
    // It does not depend on the first cell shown: kept while the rest of the layout holds.
    const bool same = cache.Valid && cache.Version == Extents.Version() &&
                      cache.Fixed == Axis.FixedCellCount && cache.Extent == Axis.GridExtent &&
                      cache.Line == Axis.EffectiveLineWidth;
    if (same && cache.MaxValid) return cache.MaxFirst;
    const int last = Extents.Count() - 1;
    const int result =
        last < Axis.FixedCellCount ? Axis.FixedCellCount : FirstCellShowing(Extents, Axis, last);
    if (same) {
        cache.MaxValid = true;
        cache.MaxFirst = result;
    }
    return result;
}

int TCustomGrid::CellAt(const TGridExtents& Extents, const TGridAxisDrawInfo& Axis, int Pos) const {
    if (Pos < 0 || Pos >= Axis.GridBoundary) return -1;
    const int lw = Axis.EffectiveLineWidth;
    long long p = 0;
    if (Pos < Axis.FixedBoundary) {
        for (int i = 0; i < Axis.FixedCellCount; ++i) {
            p += CellExtent(Extents, i, lw);
            if (Pos < p) return i;
        }
        return -1;
    }
    p = Axis.FixedBoundary;
    for (int i = Axis.FirstGridCell; i < Axis.GridCellCount && p < Axis.GridBoundary; ++i) {
        p += CellExtent(Extents, i, lw);
        if (Pos < p) return i;
    }
    return -1;
}

int TCustomGrid::CellStart(const TGridExtents& Extents, const TGridAxisDrawInfo& Axis, int Index) const {
    if (Index < 0 || Index >= Axis.GridCellCount || Extents.Size(Index) < 0) return -1;
    const int lw = Axis.EffectiveLineWidth;
    long long p = 0;
    if (Index < Axis.FixedCellCount) {
        for (int i = 0; i < Index && p < Axis.FixedBoundary; ++i) p += CellExtent(Extents, i, lw);
        return p < Axis.FixedBoundary ? int(p) : -1;
    }
    if (Index < Axis.FirstGridCell) return -1;
    p = Axis.FixedBoundary;
    for (int i = Axis.FirstGridCell; i < Index && p < Axis.GridBoundary; ++i) p += CellExtent(Extents, i, lw);
    return p < Axis.GridBoundary ? int(p) : -1;
}

bool TCustomGrid::AxisSpan(const TGridExtents& Extents, const TGridAxisDrawInfo& Axis, int First, int Last,
                           int& Start, int& End) const {
    bool found = false;
    const int lw = Axis.EffectiveLineWidth;
    auto take = [&](int Index, long long Pos, long long Limit) {
        const int s = Extents.Size(Index);
        if (Index < First || Index > Last || s < 0 || Pos >= Limit) return;
        const int a = int(Pos), b = int(std::min(Pos + s, Limit));
        if (!found) {
            Start = a;
            End = b;
            found = true;
        } else {
            Start = std::min(Start, a);
            End = std::max(End, b);
        }
    };
    long long p = 0;
    for (int i = 0; i < Axis.FixedCellCount && p < Axis.FixedBoundary; ++i) {
        take(i, p, Axis.FixedBoundary);
        p += CellExtent(Extents, i, lw);
    }
    if (Last >= Axis.FirstGridCell) {
        p = Axis.FixedBoundary;
        for (int i = Axis.FirstGridCell; i < Axis.GridCellCount && p < Axis.GridBoundary && i <= Last; ++i) {
            take(i, p, Axis.GridBoundary);
            p += CellExtent(Extents, i, lw);
        }
    }
    return found;
}

TRect TCustomGrid::BoxRect(int ALeft, int ATop, int ARight, int ABottom) const {
    if (ALeft > ARight) std::swap(ALeft, ARight);
    if (ATop > ABottom) std::swap(ATop, ABottom);
    TGridDrawInfo info;
    CalcDrawInfo(info);
    int x1 = 0, x2 = 0, y1 = 0, y2 = 0;
    if (!AxisSpan(FColWidths, info.Horz, ALeft, ARight, x1, x2) ||
        !AxisSpan(FRowHeights, info.Vert, ATop, ABottom, y1, y2))
        return TRect();
    return MirrorRect(TRect(x1, y1, x2, y2));
}

TRect TCustomGrid::CellRect(int ACol, int ARow) const {
    return BoxRect(ACol, ARow, ACol, ARow);
}

TGridCoord TCustomGrid::MouseCoord(int X, int Y) const {
    TGridDrawInfo info;
    CalcDrawInfo(info);
    return TGridCoord(CellAt(FColWidths, info.Horz, LtrX(X)), CellAt(FRowHeights, info.Vert, Y));
}

void TCustomGrid::MouseToCell(int X, int Y, int& ACol, int& ARow) const {
    const TGridCoord c = MouseCoord(X, Y);
    ACol = c.X;
    ARow = c.Y;
}

int TCustomGrid::LtrX(int X) const {
    return UseRightToLeftAlignment() ? ClientWidth() - 1 - X : X;
}

TRect TCustomGrid::MirrorRect(const TRect& R) const {
    if (!UseRightToLeftAlignment()) return R;
    const int w = ClientWidth();
    return TRect(w - R.Right, R.Top, w - R.Left, R.Bottom);
}

// =============================================================================================
// The scroll model. Each bar runs 0..127 over the first scrolling cell shown: position p shows
// the cell MulDiv(p, count - visible - fixed, 127) + fixed.

namespace {

// count - visible - fixed of an axis: the cells the thumb's 127 steps spread over.
int ScrollSpan(const TGridAxisDrawInfo& Axis) {
    const int visible = std::max(0, Axis.LastFullVisibleCell - Axis.FirstGridCell + 1);
    return Axis.GridCellCount - visible - Axis.FixedCellCount;
}

int PosOfAxis(const TGridAxisDrawInfo& Axis) {
    const int span = ScrollSpan(Axis);
    if (span <= 0) return 0;
    return std::clamp(MulDiv(Axis.FirstGridCell - Axis.FixedCellCount, 127, span), 0, 127);
}

int CellOfAxisPos(const TGridAxisDrawInfo& Axis, int Pos) {
    const int span = ScrollSpan(Axis);
    if (span <= 0) return Axis.FixedCellCount;
    return MulDiv(Pos, span, 127) + Axis.FixedCellCount;
}

} // namespace

int TCustomGrid::ScrollPosOf(int Bar) const {
    TGridDrawInfo info;
    CalcDrawInfo(info);
    return PosOfAxis(Bar == SB_VERT ? info.Vert : info.Horz);
}

int TCustomGrid::CellOfScrollPos(int Bar, int Pos) const {
    TGridDrawInfo info;
    CalcDrawInfo(info);
    return CellOfAxisPos(Bar == SB_VERT ? info.Vert : info.Horz, Pos);
}

// The grid works out the bars it wants, keeps them in FScrollBarInfo (which ScrollBarInfo shows)
// and hands them to the window's scroll bars. Showing or hiding a bar changes the client area,
// and with it whether the other direction fits: the bars are worked out again until the client
// area stays. Without a window there are no bars: the grid works them out when its window is
// made.
void TCustomGrid::UpdateScrollRange() {
    if (!HandleAllocated() || FUpdatingBars) return;
    FUpdatingBars = true;
    const bool wantH = FScrollBars == ssHorizontal || FScrollBars == ssBoth;
    const bool wantV = FScrollBars == ssVertical || FScrollBars == ssBoth;
    const unsigned shownBefore = FBarShowChanges;
    // Three rounds settle it: each can only add the bar the other one's room took.
    for (int round = 0; round < 3; ++round) {
        const unsigned shown = FBarShowChanges;
        TGridDrawInfo info;
        CalcDrawInfo(info);
        const bool needH = MaxTopLeftOf(FColWidths, info.Horz) > FFixedCols;
        const bool needV = MaxTopLeftOf(FRowHeights, info.Vert) > FFixedRows;
        FScrollBarInfo[0].Visible = wantH && needH;
        FScrollBarInfo[1].Visible = wantV && needV;
        // A direction whose cells all fit shows from its first scrolling cell.
        const TGridCoord topLeft = FTopLeft;
        MoveTopLeft(needH ? FTopLeft.X : FFixedCols, needV ? FTopLeft.Y : FFixedRows);
        if (FTopLeft == topLeft) SetScrollPositions(info);
        if (FBarShowChanges == shown || !HandleAllocated()) break;
    }
    FUpdatingBars = false;
    // A bar came or went: the client area changed, and the editor follows its cell.
    if (FBarShowChanges != shownBefore) EditorFollowCell();
}

void TCustomGrid::UpdateScrollPos() {
    if (!HandleAllocated()) return;
    TGridDrawInfo info;
    CalcDrawInfo(info);
    SetScrollPositions(info);
}

void TCustomGrid::SetScrollPositions(const TGridDrawInfo& Info) {
    TGridScrollBar& h = FScrollBarInfo[0];
    TGridScrollBar& v = FScrollBarInfo[1];
    h.Pos = h.Visible ? PosOfAxis(Info.Horz) : 0;
    v.Pos = v.Visible ? PosOfAxis(Info.Vert) : 0;
    ApplyScrollBars();
}

// Hands the bars to the window where they differ from what it was last given (a count change
// per row must not cost a bar update each): a shown bar gets the range and position, a bar not
// wanted is hidden.
void TCustomGrid::ApplyScrollBars() {
    if (!HandleAllocated()) return;
    const HWND wnd = Handle();
    for (int i = 0; i < 2; ++i) {
        const TGridScrollBar want = FScrollBarInfo[i];
        TGridScrollBar& applied = FAppliedBars[i];
        if (want == applied) continue;
        const int bar = i == 0 ? SB_HORZ : SB_VERT;
        const bool showChange = want.Visible != applied.Visible;
        if (showChange) ++FBarShowChanges;
        applied = want;
        if (want.Visible) {
            SCROLLINFO si;
            si.fMask = SIF_RANGE | SIF_POS;
            si.nMin = want.Min;
            si.nMax = want.Max;
            si.nPos = want.Pos;
            SetScrollInfo(wnd, bar, si, true);
            if (showChange) ShowScrollBar(wnd, bar, true);
        } else {
            ShowScrollBar(wnd, bar, false);
        }
        // Showing or hiding the bar sent WM_SIZE; the grid may be gone or the bars set anew.
        if (FindControl(wnd) != this) return;
    }
}

void TCustomGrid::CreateParams(TCreateParams& Params) {
    TCustomControl::CreateParams(Params);
    AddBorderStyle(Params, FBorderStyle, Ctl3D());
}

void TCustomGrid::CreateWnd() {
    TCustomControl::CreateWnd();
    // The new window has no bars yet.
    FAppliedBars[0] = FAppliedBars[1] = TGridScrollBar();
    UpdateScrollRange();
}

// The border lies in the window's non-client area: a change of BorderStyle or Ctl3D changes the
// window's styles, and the client area with them.
void TCustomGrid::ApplyBorderStyle() {
    if (!HandleAllocated()) return;
    TCreateParams p;
    p.Style = DWORD(GetWindowLong(Handle(), GWL_STYLE));
    p.ExStyle = DWORD(GetWindowLong(Handle(), GWL_EXSTYLE));
    AddBorderStyle(p, FBorderStyle, Ctl3D());
    SetWindowLong(Handle(), GWL_EXSTYLE, LONG(p.ExStyle));
    SetWindowLong(Handle(), GWL_STYLE, LONG(p.Style));
}

void TCustomGrid::ModifyScrollBar(int Bar, int ScrollCode, int Pos) {
    TGridDrawInfo info;
    CalcDrawInfo(info);
    const bool vert = Bar == SB_VERT;
    const TGridAxisDrawInfo& axis = vert ? info.Vert : info.Horz;
    const int fixed = axis.FixedCellCount;
    const int first = axis.FirstGridCell;
    const int page = std::max(1, axis.LastFullVisibleCell - first + 1);
    const int maxFirst = MaxTopLeftOf(vert ? FRowHeights : FColWidths, axis);
    int target = first;
    switch (ScrollCode) {
        case SB_LINEUP: target = first - 1; break;
        case SB_LINEDOWN: target = first + 1; break;
        case SB_PAGEUP: target = first - page; break;
        case SB_PAGEDOWN: target = first + page; break;
        case SB_THUMBTRACK:
            if (!HasOption(goThumbTracking)) return;
            target = CellOfScrollPos(Bar, Pos);
            break;
        case SB_THUMBPOSITION: target = CellOfScrollPos(Bar, Pos); break;
        case SB_TOP: target = fixed; break;
        case SB_BOTTOM: target = maxFirst; break;
        case SB_ENDSCROLL: UpdateScrollPos(); return;
        default: return;
    }
    target = std::clamp(target, fixed, std::max(fixed, maxFirst));
    if (vert)
        MoveTopLeft(FTopLeft.X, target);
    else
        MoveTopLeft(target, FTopLeft.Y);
}

void TCustomGrid::WMHScroll(TWMScroll& Message) {
    Message.Result = 0;
    if (HWND(Message.ScrollBar) != 0) return;
    ModifyScrollBar(SB_HORZ, SmallInt(Message.ScrollCode), SmallInt(Message.Pos));
}

void TCustomGrid::WMVScroll(TWMScroll& Message) {
    Message.Result = 0;
    if (HWND(Message.ScrollBar) != 0) return;
    ModifyScrollBar(SB_VERT, SmallInt(Message.ScrollCode), SmallInt(Message.Pos));
}

// =============================================================================================
// Moving and deleting columns and rows

void TCustomGrid::MoveColumn(int FromIndex, int ToIndex) {
    MoveCells(false, FromIndex, ToIndex);
}

void TCustomGrid::MoveRow(int FromIndex, int ToIndex) {
    MoveCells(true, FromIndex, ToIndex);
}

// The size, the current cell, the anchor and the editor go with the moved column or row; then
// the moved hook runs (where the string grid moves its cells).
void TCustomGrid::MoveCells(bool Rows, int FromIndex, int ToIndex) {
    const int count = Rows ? RowCount() : ColCount();
    if (FromIndex < 0 || ToIndex < 0 || FromIndex >= count || ToIndex >= count)
        throw EInvalidGridOperation(SIndexOutOfRange);
    if (FromIndex == ToIndex) return;
    TGridExtents& sizes = Rows ? FRowHeights : FColWidths;
    const bool sized = sizes.Customized();
    sizes.Move(FromIndex, ToIndex);
    int TGridCoord::*axis = Rows ? &TGridCoord::Y : &TGridCoord::X;
    ShiftIndex(FCurrent.*axis, FromIndex, ToIndex);
    ShiftIndex(FAnchor.*axis, FromIndex, ToIndex);
    int& edited = Rows ? FInplaceRow : FInplaceCol;
    if (edited >= 0) ShiftIndex(edited, FromIndex, ToIndex);
    InvalidateGrid();
    {
        // A hook may move again (and so end its own inner move): the flag is put back, not cleared.
        const bool wasMoving = FMovingCells;
        FMovingCells = true;
        struct TRestore {
            bool& Flag;
            bool Value;
            ~TRestore() { Flag = Value; }
        } restore{FMovingCells, wasMoving};
        if (Rows)
            RowMoved(FromIndex, ToIndex);
        else
            ColumnMoved(FromIndex, ToIndex);
    }
    if (Rows) {
        if (sized) RowHeightsChanged();
    } else {
        if (sized) ColWidthsChanged();
    }
    UpdateEdit();
}

void TCustomGrid::DeleteColumn(int ACol) {
    MoveColumn(ACol, ColCount() - 1);
    SetColCount(ColCount() - 1);
}

void TCustomGrid::DeleteRow(int ARow) {
    MoveRow(ARow, RowCount() - 1);
    SetRowCount(RowCount() - 1);
}

// =============================================================================================
// Hooks: what the grid itself does at each

bool TCustomGrid::SelectCell(int, int) {
    return true;
}

void TCustomGrid::SizeChanged(int, int) {}

void TCustomGrid::ColWidthsChanged() {
    UpdateScrollRange();
    EditorFollowCell();
}

void TCustomGrid::RowHeightsChanged() {
    UpdateScrollRange();
    EditorFollowCell();
}

void TCustomGrid::TopLeftChanged() {
    EditorFollowCell();
}

void TCustomGrid::ColumnMoved(int, int) {}

void TCustomGrid::RowMoved(int, int) {}

// =============================================================================================
// Messages

void TCustomGrid::Dispatch(TMessage& Message) {
    switch (Message.Msg) {
        case WM_GETDLGCODE: WMGetDlgCode(Message); break;
        case WM_CHAR: CallHandler<TWMKey>(this, &TCustomGrid::WMChar, Message); break;
        case WM_HSCROLL: CallHandler<TWMScroll>(this, &TCustomGrid::WMHScroll, Message); break;
        case WM_VSCROLL: CallHandler<TWMScroll>(this, &TCustomGrid::WMVScroll, Message); break;
        case WM_TIMER: CallHandler<TWMTimer>(this, &TCustomGrid::WMTimer, Message); break;
        case WM_SETCURSOR: WMSetCursor(Message); break;
        case WM_CANCELMODE:
        case CM_CANCELMODE: WMCancelMode(Message); break;
        case WM_CAPTURECHANGED: WMCaptureChanged(Message); break;
        case WM_SETFOCUS: CallHandler<TWMSetFocus>(this, &TCustomGrid::WMSetFocus, Message); break;
        case WM_KILLFOCUS: CallHandler<TWMKillFocus>(this, &TCustomGrid::WMKillFocus, Message); break;
        case WM_SIZE: CallHandler<TWMSize>(this, &TCustomGrid::WMSize, Message); break;
        case CM_FONTCHANGED: CMFontChanged(Message); break;
        case CM_CTL3DCHANGED:
            TCustomControl::Dispatch(Message);
            ApplyBorderStyle();
            break;
        default: TCustomControl::Dispatch(Message); break;
    }
}

void TCustomGrid::WMSetFocus(TWMSetFocus& Message) {
    TCustomControl::Dispatch(Message);
    // Back in the grid while editing: the editor takes the focus again.
    if (FEditorMode && FInplaceEdit && !FInplaceEdit->Focused()) UpdateEdit();
    InvalidateGridRect(Selection());
}

void TCustomGrid::WMKillFocus(TWMKillFocus& Message) {
    TCustomControl::Dispatch(Message);
    InvalidateGridRect(Selection());
}

void TCustomGrid::WMSize(TWMSize& Message) {
    TCustomControl::Dispatch(Message);
    UpdateScrollRange();
    if (!FUpdatingBars) EditorFollowCell();
}

void TCustomGrid::CMFontChanged(TMessage& Message) {
    TCustomControl::Dispatch(Message);
    InvalidateGrid();
}
