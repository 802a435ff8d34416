// The grid's paint: grid lines, one DrawCell per shown cell in four areas (fixed corner, fixed
// rows, fixed columns, scrolling cells), the grid's colour past the last cell, and the marks of a
// sizing or moving gesture.
#include "Grids.h"

#include "GridsPrivate.h"

#include <algorithm>

using namespace GridsPrivate;

void TCustomGrid::Paint() {
    FGridInvalid = false;
    TCanvas* canvas = Canvas();
    TGridDrawInfo info;
    CalcDrawInfo(info);
    const int fixedX = info.Horz.FixedBoundary, fixedY = info.Vert.FixedBoundary;
    const int gridX = info.Horz.GridBoundary, gridY = info.Vert.GridBoundary;
    const int left = FTopLeft.X, top = FTopLeft.Y;

    if (info.Horz.EffectiveLineWidth > 0 || info.Vert.EffectiveLineWidth > 0) {
        // Lines between fixed cells are black; between the others silver (grey on silver).
        const TColor lineColor = ColorToRGB(Color()) == clSilver ? clGray : clSilver;
        const bool fixedH = HasOption(goFixedHorzLine), fixedV = HasOption(goFixedVertLine);
        DrawLines(canvas, info, 0, 0, 0, 0, fixedX, fixedY, fixedH, fixedV, clBlack);
        DrawLines(canvas, info, left, 0, fixedX, 0, gridX, fixedY, fixedH, fixedV, clBlack);
        DrawLines(canvas, info, 0, top, 0, fixedY, fixedX, gridY, fixedH, fixedV, clBlack);
        DrawLines(canvas, info, left, top, fixedX, fixedY, gridX, gridY, HasOption(goHorzLine),
                  HasOption(goVertLine), lineColor);
    }

    DrawCells(canvas, info, 0, 0, 0, 0, fixedX, fixedY, true);
    DrawCells(canvas, info, left, 0, fixedX, 0, gridX, fixedY, true);
    DrawCells(canvas, info, 0, top, 0, fixedY, fixedX, gridY, true);
    DrawCells(canvas, info, left, top, fixedX, fixedY, gridX, gridY, false);

    if (FDefaultDrawing && HasOption(goRowSelect) && IsActiveControl()) {
        const TGridRect sel = Selection();
        const TRect r = BoxRect(sel.Left, sel.Top, sel.Right, sel.Bottom);
        if (!r.IsEmpty()) DrawFocusRect(canvas, r);
    }

    // Past the last column and below the last row: the grid's colour.
    canvas->Brush()->SetStyle(bsSolid);
    canvas->Brush()->SetColor(Color());
    const int w = ClientWidth(), h = ClientHeight();
    if (gridX < w) canvas->FillRect(MirrorRect(TRect(gridX, 0, w, gridY)));
    if (gridY < h) canvas->FillRect(TRect(0, gridY, w, h));

    DrawStateMarks(canvas, info);
}

void TCustomGrid::DrawLines(TCanvas* Canvas, const TGridDrawInfo& Info, int ACol, int ARow, int StartX,
                            int StartY, int StopX, int StopY, bool HorzLines, bool VertLines,
                            TColor LineColor) {
    if (StartX >= StopX || StartY >= StopY) return;
    Canvas->Brush()->SetStyle(bsSolid);
    // The line after each cell of one axis from First on, across the other axis's span.
    auto lines = [&](int First, const TGridExtents& Extents, long long Pos, int Stop, int Width,
                     auto LineRect) {
        for (int i = First; i < Extents.Count() && Pos < Stop; ++i) {
            const int s = Extents.Size(i);
            if (s < 0) continue;
            Pos += s;
            if (Pos < Stop)
                Canvas->FillRect(MirrorRect(LineRect(int(Pos), int(std::min<long long>(Pos + Width, Stop)))));
            Pos += Width;
        }
    };
    const int vw = Info.Horz.EffectiveLineWidth, hw = Info.Vert.EffectiveLineWidth;
    auto vert = [&] {
        lines(ACol, FColWidths, StartX, StopX, vw, [&](int A, int B) { return TRect(A, StartY, B, StopY); });
    };
    auto horz = [&] {
        lines(ARow, FRowHeights, StartY, StopY, hw, [&](int A, int B) { return TRect(StartX, A, StopX, B); });
    };
    // The room of a line that is not drawn (the other options of its direction keep it) takes
    // the grid's colour: the grid is opaque, so a line switched off must not stay on the screen.
    // The lines drawn come after, so that they cross the blank room.
    Canvas->Brush()->SetColor(Color());
    if (!VertLines && vw > 0) vert();
    if (!HorzLines && hw > 0) horz();
    Canvas->Brush()->SetColor(LineColor);
    if (VertLines && vw > 0) vert();
    if (HorzLines && hw > 0) horz();
}

void TCustomGrid::DrawCells(TCanvas* Canvas, const TGridDrawInfo& Info, int ACol, int ARow, int StartX,
                            int StartY, int StopX, int StopY, bool Fixed) {
    if (StartX >= StopX || StartY >= StopY) return;
    const TGridRect sel = Selection();
    const bool active = IsActiveControl();
    const bool rowSelect = HasOption(goRowSelect);
    const bool edge3D = Fixed && Ctl3D() && HasOption(goFixedHorzLine) && HasOption(goFixedVertLine);
    const bool focusRect =
        FDefaultDrawing && !rowSelect && !(HasOption(goEditing) && HasOption(goAlwaysShowEditor));
    const int vw = Info.Horz.EffectiveLineWidth, hw = Info.Vert.EffectiveLineWidth;
    long long y = StartY;
    for (int r = ARow; r < RowCount() && y < StopY; ++r) {
        const int h = RowHeights(r);
        if (h < 0) continue;
        long long x = StartX;
        for (int c = ACol; c < ColCount() && x < StopX; ++c) {
            const int w = ColWidths(c);
            if (w < 0) continue;
            if (w > 0 && h > 0) {
                TGridDrawState state;
                if (Fixed) {
                    state.insert(gdFixed);
                } else {
                    if (active && c == FCurrent.X && r == FCurrent.Y) state.insert(gdFocused);
                    if (PointInGridRect(c, r, sel)) {
                        state.insert(gdSelected);
                        if (rowSelect) state.insert(gdRowSelected);
                    }
                }
                Canvas->Font()->Assign(Font());
                Canvas->Brush()->SetStyle(bsSolid);
                if (Fixed) {
                    Canvas->Brush()->SetColor(FFixedColor);
                } else if (state.count(gdSelected) &&
                           (!state.count(gdFocused) || HasOption(goDrawFocusSelected) || rowSelect)) {
                    Canvas->Brush()->SetColor(clHighlight);
                    Canvas->Font()->SetColor(clHighlightText);
                } else {
                    Canvas->Brush()->SetColor(Color());
                }
                const TRect where = MirrorRect(TRect(int(x), int(y), int(x + w), int(y + h)));
                if (FDefaultDrawing) Canvas->FillRect(where);
                DrawCell(c, r, where, state);
                if (FDefaultDrawing && edge3D) {
                    TRect e = where;
                    DrawEdge(Canvas, e, BDR_RAISEDINNER, BF_BOTTOMRIGHT);
                    DrawEdge(Canvas, e, BDR_RAISEDINNER, BF_TOPLEFT);
                }
                if (focusRect && state.count(gdFocused)) DrawFocusRect(Canvas, where);
            }
            x += w + vw;
        }
        y += h + hw;
    }
}

// The line a column or row is being sized to, and where a moved one will land.
void TCustomGrid::DrawStateMarks(TCanvas* Canvas, const TGridDrawInfo& Info) {
    const int w = ClientWidth(), h = ClientHeight();
    switch (FGridState) {
        case gsColSizing: Canvas->InvertRect(MirrorRect(TRect(FSizingPos - 1, 0, FSizingPos + 1, h))); break;
        case gsRowSizing: Canvas->InvertRect(TRect(0, FSizingPos - 1, w, FSizingPos + 1)); break;
        case gsColMoving:
        case gsRowMoving: {
            const bool cols = FGridState == gsColMoving;
            const TGridExtents& extents = cols ? FColWidths : FRowHeights;
            const TGridAxisDrawInfo& axis = cols ? Info.Horz : Info.Vert;
            if (FMovePos < 0 || FMovePos == FMoveIndex) break;
            int at = CellStart(extents, axis, FMovePos);
            if (at < 0) break;
            if (FMovePos > FMoveIndex) at += int(CellExtent(extents, FMovePos, axis.EffectiveLineWidth));
            if (cols)
                Canvas->InvertRect(MirrorRect(TRect(at - 1, 0, at + 1, h)));
            else
                Canvas->InvertRect(TRect(0, at - 1, w, at + 1));
            break;
        }
        default: break;
    }
}

// ---------------------------------------------------------------------------------------------
// Asking for paints

// A whole paint asked for and not yet run covers every later request until it runs.
void TCustomGrid::InvalidateGrid() {
    if (FGridInvalid) return;
    FGridInvalid = HandleAllocated();
    Invalidate();
}

void TCustomGrid::InvalidateGridRect(const TGridRect& Rect) {
    if (!HandleAllocated() || FGridInvalid) return;
    if (!Showing()) {
        // Painted whole when it shows.
        InvalidateGrid();
        return;
    }
    const TRect r = BoxRect(Rect.Left, Rect.Top, Rect.Right, Rect.Bottom);
    if (!r.IsEmpty()) ::InvalidateRect(Handle(), &r, false);
}

void TCustomGrid::InvalidateCell(int ACol, int ARow) {
    InvalidateGridRect(TGridRect(ACol, ARow, ACol, ARow));
}

void TCustomGrid::InvalidateCol(int ACol) {
    InvalidateGridRect(TGridRect(ACol, 0, ACol, RowCount() - 1));
}

void TCustomGrid::InvalidateRow(int ARow) {
    InvalidateGridRect(TGridRect(0, ARow, ColCount() - 1, ARow));
}
