// TAdvStringGrid: the geometry of cell text that painting, printing, autosizing and the text
// writers share: the insets, where rotated text starts, and line counts of rows and columns.
// Nothing here keeps state or draws.
#include "AdvGrid.h"
#include "GridUtil.h"

#include <cmath>
#include <cstdlib>

int TAdvStringGrid::TotalXOffset() const {
    return XYOffsetTopLeftOnly ? XYOffset.X : 2 * XYOffset.X;
}

int TAdvStringGrid::TotalYOffset() const {
    return XYOffsetTopLeftOnly ? XYOffset.Y : 2 * XYOffset.Y;
}

void TAdvStringGrid::PlaceRotatedText(TRect& R, int Angle, const String& Text, TAlignment HAlign,
                                      TVAlignment VAlign) {
    const TSize ext = Canvas()->TextExtent(Text);
    R.Left += 2;
    R.Top += 2;
    R.Right -= 2;
    R.Bottom -= 2;
    const long double a = Angle * 3.14159265358979323846264338327950288L / 180.0L;
    // Each projection truncated toward zero, then made non-negative.
    auto proj = [](long double v) { return std::abs(int(std::trunc(v))); };
    const int A = proj(std::cos(a) * ext.cx);
    const int B = proj(std::sin(a) * ext.cy);
    const int C = proj(std::sin(a) * ext.cx);
    const int D = proj(std::cos(a) * ext.cy);
    AlignRotatedText(R, HAlign, VAlign, Angle, A, B, C, D);
}

void TAdvStringGrid::AlignRotatedText(TRect& R, TAlignment HAlign, TVAlignment VAlign, int Angle, int A,
                                      int B, int C, int D) {
    const int quadrant = Angle <= 90 ? 1 : Angle <= 180 ? 2 : Angle <= 270 ? 3 : 4;
    const int W = R.Right - R.Left;
    const int H = R.Bottom - R.Top;
    // Integer division in C++ truncates toward zero, as the rule asks.
    auto half = [](int x) { return x / 2; };
    const int left = R.Left, top = R.Top, right = R.Right, bottom = R.Bottom;

    switch (HAlign) {
        case taLeftJustify:
            switch (quadrant) {
                case 1: break;
                case 2: R.Left = left + A; break;
                case 3: R.Left = left + B + A; break;
                default: R.Left = left + B; break;
            }
            break;
        case taRightJustify:
            switch (quadrant) {
                case 1: R.Left = right - A - B; break;
                case 2: R.Left = right - B; break;
                case 3: R.Left = right; break;
                default: R.Left = right - A; break;
            }
            break;
        case taCenter:
            switch (quadrant) {
                case 1: R.Left = left + half(W - B - A); break;
                case 2: R.Left = right - half(W + B - A); break;
                case 3: R.Left = right - half(W - B - A); break;
                default: R.Left = left + half(W + B - A); break;
            }
            break;
    }

    const int hrest = half(H - D - C);
    switch (VAlign) {
        case vtaTop:
            switch (quadrant) {
                case 1: R.Top = top + C; break;
                case 2: R.Top = top + C + D; break;
                case 3: R.Top = top + D; break;
                default: break;
            }
            break;
        case vtaCenter:
            switch (quadrant) {
                case 1: R.Top = top + C + hrest; break;
                case 2: R.Top = top + C + D + hrest; break;
                case 3: R.Top = top + D + hrest; break;
                default: R.Top = top + hrest; break;
            }
            break;
        case vtaBottom:
            switch (quadrant) {
                case 1: R.Top = bottom - D; break;
                case 2: R.Top = bottom; break;
                case 3: R.Top = bottom - C; break;
                default: R.Top = bottom - D - C; break;
            }
            break;
    }
}

int TAdvStringGrid::MaxLinesInRow(int ARow) {
    if (ColCount() <= 0 || !Multilinecells) return 1;
    int result = 1;
    for (int i = 0; i < ColCount(); ++i)
        result = std::max(result, CountLines(GetCellEx(RealColIndex(i), ARow), true));
    return result;
}

int TAdvStringGrid::MaxLineLengthInCol(int ACol) {
    int result = 0;
    for (int r = 0; r < RowCount(); ++r) {
        String text;
        SaveCell(ACol, r, text);
        // Each cell gives at least one line, so an empty cell counts as a line of length 0.
        do {
            const String line = CutFirstLine(text, Multilinecells);
            result = std::max(result, int(line.length()));
        } while (Multilinecells && !text.isEmpty());
    }
    return result;
}
