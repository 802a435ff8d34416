// The base grid's cell painter (background, gradients, hover and active row, selection looks,
// its own grid lines, the text of the whole merged area) and the movement that keeps the
// current cell on base cells (selection, keys, wheel, scrolling).
#include "BaseGrid.h"

#include "CellDraw.h"

#include <algorithm>

namespace {

// The colours of a selection look (DrawSelectionGradient's roles).
struct TSelectionLook {
    TColor Color, ColorTo, MirrorColor, MirrorColorTo, Edge, UpperLine, LowerLine, InnerCorner;
};

constexpr TSelectionLook VistaLook{0xFDF8F1, 0xFCEFD5, clNone,   clNone,
                                   0xFDDE99, 0xFDFBF6, 0xFDF5E7, 0xFCEDCB};
constexpr TSelectionLook Win7Look{0xFCEBDC, 0xFCDBC1, clNone, clNone, 0xCEA27D, 0xFDF4EB, 0xFDEADB, 0xE0C5AE};
constexpr TSelectionLook Office2007Look{0xD7FFFD, 0x58D4FC, 0x58D4FC, 0xB3F1FC,
                                        0x8DD7D3, 0xF4FEFF, 0xCAF8FF, 0xC3D9DF};
constexpr TSelectionLook UnfocusedLook{0xF8F8F8, 0xE5E5E5, clNone,   clNone,
                                       0xD9D9D9, 0xFBFAFA, 0xF0F0F0, 0xEFEFEF};

// The summed sizes of the first Count columns or rows (hidden ones count 0).
template <class Size> int LeadingExtent(int Count, Size SizeOf) {
    int s = 0;
    for (int i = 0; i < Count; ++i) s += std::max(0, SizeOf(i));
    return s;
}

} // namespace

// =============================================================================================
// Painting

void TBaseGrid::Paint() {
    TObjStringGrid::Paint();
    ++FPaintID;
}

// A merged area is painted whole by the first of its cells the paint reaches, once per paint.
void TBaseGrid::DrawCell(int ACol, int ARow, TRect ARect, TGridDrawState AState) {
    if (!(FHideLastRow && ARow == RowCount() - 1) && IsMergedCell(ACol, ARow)) {
        const TPoint base = BaseCell(ACol, ARow);
        TCellProperties* baseProps = PropsOf(base.X, base.Y);
        if (baseProps) {
            if (baseProps->FPaintID == FPaintID) return;
            baseProps->FPaintID = FPaintID;
            PaintCellCore(Canvas(), base.X, base.Y, ARect, AState, true);
            return;
        }
    }
    PaintCellCore(Canvas(), ACol, ARow, ARect, AState, true);
}

void TBaseGrid::PaintCell(TCanvas* ACanvas, int ACol, int ARow, TRect ARect, TGridDrawState AState) {
    PaintCellCore(ACanvas, ACol, ARow, ARect, AState, true);
}

void TBaseGrid::PaintCellExt(TCanvas* ACanvas, int ACol, int ARow, TRect ARect, TGridDrawState AState) {
    PaintCellCore(ACanvas, ACol, ARow, ARect, AState, false);
}

void TBaseGrid::PaintCellCore(TCanvas* C, int ACol, int ARow, TRect R, TGridDrawState State,
                              bool UseCellRect) {
    // The last row behind the floating footer: a plain rectangle in the grid's colour.
    if (FHideLastRow && ARow == RowCount() - 1) {
        C->Brush()->SetStyle(bsSolid);
        C->Brush()->SetColor(Color());
        C->Pen()->SetColor(Color());
        C->Rectangle(R);
        return;
    }
    // A covered cell paints its area through the base cell, once per paint pass.
    int baseCol, baseRow;
    if (!ResolveBaseCell(ACol, ARow, baseCol, baseRow)) {
        TCellProperties* baseProps = PropsOf(baseCol, baseRow);
        if (baseProps && baseProps->FPaintID != FPaintID) {
            baseProps->FPaintID = FPaintID;
            PaintCell(C, baseCol, baseRow, R, State);
        }
        return;
    }
    if (UseCellRect) {
        if (IsFixed(ACol, ARow)) {
            State.insert(gdFixed);
            State.erase(gdSelected);
        }
        R = CellRect(ACol, ARow);
    }
    const bool fixed = State.count(gdFixed) != 0;

    // An area reaching under the frozen cells must not paint over them.
    const int fw =
        ACol >= FixedCols() ? LeadingExtent(FixedCols(), [this](int i) { return ColWidths(i); }) : 0;
    const int fh =
        ARow >= FixedRows() ? LeadingExtent(FixedRows(), [this](int i) { return RowHeights(i); }) : 0;
    const TRect ltr = MirrorRect(R);
    const bool clip = (ACol >= FixedCols() && FixedCols() > 0 && ltr.Left < fw) ||
                      (ARow >= FixedRows() && FixedRows() > 0 && ltr.Top < fh);
    const bool hadClip = C->HasClip();
    const QRegion oldClip = hadClip ? C->ClipRegion() : QRegion();
    if (clip) C->IntersectClipRect(MirrorRect(TRect(fw, fh, ClientWidth(), ClientHeight())));
    // The clip and the styles go back also when a drawing event of the cell raises.
    struct TCellCanvasBack {
        TCanvas* C;
        bool Clip, HadClip;
        const QRegion& OldClip;
        ~TCellCanvasBack() {
            if (Clip) {
                if (HadClip)
                    C->SelectClipRgn(&OldClip);
                else
                    C->ResetClip();
            }
            C->Brush()->SetStyle(bsSolid);
            C->Pen()->SetStyle(psSolid);
        }
    } back{C, clip, hadClip, oldClip};

    C->Pen()->SetWidth(1);
    C->Font()->Assign(Font());
    TColor colorTo = clNone, mirrorColor = clNone, mirrorColorTo = clNone;
    TAlignment ha = taLeftJustify;
    TVAlignment va = vtaTop;
    bool ww = FWordWrap;
    TCellGradientDirection gd = GradientVertical;
    GetVisualProperties(ACol, ARow, State, false, true, true, C->Brush(), colorTo, mirrorColor, mirrorColorTo,
                        C->Font(), ha, va, ww, gd);
    C->Pen()->SetColor(C->Brush()->Color());

    const bool selected = State.count(gdSelected) != 0;
    if (ARow == FHoverRowIdx && FHoverRow && !(selected && !FHoverRowCells.count(hcSelected)) &&
        !(fixed && !FHoverRowCells.count(hcFixed))) {
        C->Brush()->SetColor(FHoverRowColor);
        colorTo = FHoverRowColorTo;
        mirrorColor = clNone;
        mirrorColorTo = clNone;
        gd = GradientVertical;
    }
    if ((FActiveRowShow && ARow == Row() && (ACol != Col() || !FShowSel) && ACol >= FixedCols()) ||
        (!UseCellRect && selected)) {
        C->Brush()->SetColor(FActiveRowColor);
        colorTo = FActiveRowColorTo;
        mirrorColor = FActiveRowMirrorColor;
        mirrorColorTo = FActiveRowMirrorColorTo;
    }
    C->Pen()->SetColor(C->Brush()->Color());

    // Background.
    if (selected && FSelectionStyle != ssDefault && FShowSel) {
        PaintSelection(C, ACol, R);
    } else if (!(IsStyled() && (fixed || selected))) {
        const TColor from = C->Brush()->Color();
        if (mirrorColorTo == clNone)
            DrawStepGradient(C, from, colorTo, gd == GradientHorizontal, R, 64);
        else
            DrawGradientCell(C, R, from, true, false, clNone, true, mirrorColorTo, mirrorColor, colorTo);
    }

    // Grid lines: the bottom and right edge of the cell (of the whole area).
    int h;
    if (fixed) {
        C->Pen()->SetColor(FGridFixedLineColor);
        C->Pen()->SetWidth(1);
        h = 1;
    } else {
        if (FGridLineWidth > 0) C->Pen()->SetColor(FGridLineColor);
        C->Pen()->SetWidth(FGridLineWidth);
        h = (FGridLineWidth + 1) / 2;
    }
    C->Pen()->SetStyle(psSolid);
    if (!(ACol == 0 && HasNodes()) &&
        ((HasOption(goHorzLine) && !fixed) || (HasOption(goFixedHorzLine) && fixed))) {
        C->MoveTo(R.Left - h + 1, R.Bottom - h);
        C->LineTo(R.Right - h + 1, R.Bottom - h);
    }
    if ((HasOption(goVertLine) && !fixed) || (HasOption(goFixedVertLine) && fixed)) {
        const int x = UseRightToLeftAlignment() ? R.Right - h + 1 : R.Right - h;
        C->MoveTo(x, R.Bottom - h);
        C->LineTo(x, R.Top - h);
    }

    if (UseCellRect) {
        TRect text = R;
        if (fixed) {
            text.Right -= 1;
            text.Bottom -= 2;
        } else {
            text = TRect(R.Left + FGridLineWidth, R.Top + FGridLineWidth, R.Right - FGridLineWidth,
                         R.Bottom - FGridLineWidth);
        }
        DrawCellText(C, ACol, ARow, text, State);
    }
}

// The rounded selection look: its ends where the cell ends the selected column range.
void TBaseGrid::PaintSelection(TCanvas* C, int ACol, const TRect& Cell) {
    const TGridRect sel = Selection();
    const int l = std::min(sel.Left, sel.Right), r = std::max(sel.Left, sel.Right);
    int sides = 0; // both ends
    if (ACol == l && l < r)
        sides = 1;
    else if (ACol == r && r > l)
        sides = 2;
    else if (l < ACol && ACol < r)
        sides = 3;
    TRect rect = Cell;
    if (!HasOption(goHorzLine)) ++rect.Bottom;
    if (!HasOption(goVertLine)) ++rect.Right;
    if (UseRightToLeftAlignment()) {
        ++rect.Right;
        ++rect.Bottom;
    }
    const bool focused = Focused() || HasOption(goDrawFocusSelected);
    const TSelectionLook* look = &UnfocusedLook;
    if (focused) {
        switch (FSelectionStyle) {
            case ssVista: look = &VistaLook; break;
            case ssWin7: look = &Win7Look; break;
            case ssOffice2007: look = &Office2007Look; break;
            default: break;
        }
    }
    DrawSelectionGradient(C, look->Color, look->ColorTo, sides, rect, Color(), look->InnerCorner, look->Edge,
                          look->LowerLine, look->UpperLine, look->MirrorColorTo, look->MirrorColor);
}

// =============================================================================================
// Movement on base cells

bool TBaseGrid::SelectCell(int ACol, int ARow) {
    if (UseRightToLeftAlignment()) {
        const bool result = TObjStringGrid::SelectCell(ACol, ARow);
        InvalidateGrid();
        return result;
    }
    RepaintCell(Col(), Row());
    const bool result = TObjStringGrid::SelectCell(ACol, ARow);
    RepaintCell(ACol, ARow);
    return result;
}

void TBaseGrid::MoveToBaseCell() {
    if (!PropsOf(Col(), Row())) return;
    const TPoint base = BaseCell(Col(), Row());
    SetCol(base.X);
    SetRow(base.Y);
}

// Right and Down first go to the far edge of the current cell's area, Left and Up (from a covered
// cell) to its near edge, so that the one-cell move leaves the area; the current cell then ends
// on the base cell of the area it landed in.
void TBaseGrid::KeyDown(Word& Key, TShiftState Shift) {
    const Word key = DirectionKey(Key);
    const TPoint base = BaseCell(Col(), Row());
    const TCellProperties* baseProps = PropsOf(Col(), Row()) ? PropsOf(base.X, base.Y) : nullptr;
    switch (key) {
        case VK_NEXT:
            // The last row hides behind the footer: the last page ends one row above it.
            if (RowCount() == VisibleRowCount() + TopRow() - FixedRows() + 1 && FHideLastRow &&
                RowCount() > 1)
                SetRow(RowCount() - 2);
            break;
        case VK_RIGHT:
            if (baseProps) {
                const int v = base.X + baseProps->CellSpanX();
                if (v >= Col() && Col() < ColCount() - 1 && base.X < ColCount() - 1 && v < ColCount())
                    SetCol(v);
            }
            break;
        case VK_DOWN:
            if (baseProps) {
                const int v = base.Y + baseProps->CellSpanY();
                if (v >= Row() && Row() < RowCount() - 1 && base.Y < RowCount() - 1 && v < RowCount())
                    SetRow(v);
            }
            break;
        case VK_LEFT:
            if (baseProps && base.X < Col() && base.X >= FixedCols()) SetCol(base.X);
            break;
        case VK_UP:
            if (baseProps && base.Y < Row() && base.Y >= FixedRows()) SetRow(base.Y);
            break;
        default: break;
    }
    TObjStringGrid::KeyDown(Key, Shift);
    // However the page went, it does not end on the hidden row.
    if (key == VK_NEXT && FHideLastRow && RowCount() > 1 && Row() == RowCount() - 1) SetRow(RowCount() - 2);
    MoveToBaseCell();
}

// A wheel step down that stays inside a vertical area goes on below it (else the move back to
// the base cell would keep the current cell there for good).
bool TBaseGrid::DoMouseWheelDown(TShiftState Shift, TPoint MousePos) {
    const int oldRow = Row();
    const TPoint oldBase = BaseCell(Col(), Row());
    const bool result = TObjStringGrid::DoMouseWheelDown(Shift, MousePos);
    if (Row() > oldRow && IsYMergedCell(Col(), Row()) && BaseCell(Col(), Row()) == oldBase) {
        const int below = oldBase.Y + CellSpan(Col(), Row()).Y + 1;
        if (below < RowCount()) SetRow(below);
    }
    if (Row() - TopRow() > VisibleRowCount() && Row() < RowCount() - 1 && FHideLastRow)
        SetTopRow(TopRow() + 1);
    MoveToBaseCell();
    return result;
}

bool TBaseGrid::DoMouseWheelUp(TShiftState Shift, TPoint MousePos) {
    const bool result = TObjStringGrid::DoMouseWheelUp(Shift, MousePos);
    MoveToBaseCell();
    return result;
}

// Merged fixed cells beside the scrolled cells show text of areas that moved: paint them again.
void TBaseGrid::TopLeftChanged() {
    TObjStringGrid::TopLeftChanged();
    if (FixedCols() > 0) {
        const int last = std::min(TopRow() + VisibleRowCount(), RowCount() - 1);
        for (int r = TopRow(); r <= last; ++r)
            for (int c = 0; c < FixedCols(); ++c)
                if (IsMergedCell(c, r)) RepaintCell(c, r);
    }
    if (FixedRows() > 0) {
        const int last = std::min(LeftCol() + VisibleColCount(), TotalColCount() - 1);
        for (int c = LeftCol(); c <= last; ++c)
            for (int r = 0; r < FixedRows(); ++r)
                if (IsMergedCell(c, r)) RepaintCell(c, r);
    }
}
