// The platform's drawing routines on a canvas: focus rectangle, 3D edges and classic frame controls.
#include "Graphics.h"

#include <algorithm>
#include <cmath>

void DrawFocusRect(TCanvas* Canvas, const TRect& R) {
    if (Canvas && Canvas->Mapped()) {
        const TRect d = Canvas->DeviceRect(R);
        TCanvas::TDeviceUnits u(Canvas);
        DrawFocusRect(Canvas, d);
        return;
    }
    if (!Canvas || R.IsEmpty() || !Canvas->RequireTarget()) return;
    Canvas->Changing();
    // Every other pixel of the outline is inverted (a checkerboard anchored at the origin), so a
    // second call restores the pixels.
    auto dot = [&](int x, int y) {
        if (((x + y) & 1) == 0) Canvas->PlotPixel(x, y, clBlack, pmNot);
    };
    for (int x = R.Left; x < R.Right; ++x) {
        dot(x, R.Top);
        if (R.Bottom - 1 > R.Top) dot(x, R.Bottom - 1);
    }
    for (int y = R.Top + 1; y < R.Bottom - 1; ++y) {
        dot(R.Left, y);
        if (R.Right - 1 > R.Left) dot(R.Right - 1, y);
    }
    Canvas->Changed();
}

namespace {

// One ring of an edge: top-left colour on the left and top sides, bottom-right colour on the
// right and bottom sides (drawn last, so they own the top-right and bottom-left corners).
void EdgeRing(TCanvas* C, const TRect& R, TColor TopLeft, TColor BottomRight, Cardinal Sides) {
    if (R.IsEmpty()) return;
    if (Sides & BF_LEFT) C->FillRectColor(TRect(R.Left, R.Top, R.Left + 1, R.Bottom), TopLeft);
    if (Sides & BF_TOP) C->FillRectColor(TRect(R.Left, R.Top, R.Right, R.Top + 1), TopLeft);
    if (Sides & BF_RIGHT) C->FillRectColor(TRect(R.Right - 1, R.Top, R.Right, R.Bottom), BottomRight);
    if (Sides & BF_BOTTOM) C->FillRectColor(TRect(R.Left, R.Bottom - 1, R.Right, R.Bottom), BottomRight);
}

TRect Shrink(const TRect& R, Cardinal Sides) {
    TRect r = R;
    if (Sides & BF_LEFT) ++r.Left;
    if (Sides & BF_TOP) ++r.Top;
    if (Sides & BF_RIGHT) --r.Right;
    if (Sides & BF_BOTTOM) --r.Bottom;
    return r;
}

} // namespace

namespace {

// A logical rectangle turned into device pixels for a call that may adjust it, and back.
template <class TCall> bool InDeviceUnits(TCanvas* Canvas, TRect& R, TCall Call) {
    TRect d = Canvas->DeviceRect(R);
    bool done;
    {
        TCanvas::TDeviceUnits u(Canvas);
        done = Call(d);
    }
    TRect back = Canvas->DPtoLP(d);
    // The same corners as given: a rectangle with y running upward stays so.
    if ((R.Bottom < R.Top) != (back.Bottom < back.Top)) std::swap(back.Top, back.Bottom);
    if ((R.Right < R.Left) != (back.Right < back.Left)) std::swap(back.Left, back.Right);
    R = back;
    return done;
}

} // namespace

bool DrawEdge(TCanvas* Canvas, TRect& R, Cardinal Edge, Cardinal Flags) {
    if (Canvas && Canvas->Mapped())
        return InDeviceUnits(Canvas, R, [&](TRect& d) { return DrawEdge(Canvas, d, Edge, Flags); });
    if (!Canvas || !Canvas->RequireTarget()) return false;
    if (Flags & BF_DIAGONAL) return true; // diagonal edges are not used by the system
    Canvas->Changing();
    const Cardinal sides = Flags & BF_RECT;
    const bool soft = Flags & BF_SOFT;
    TRect r = R;
    const Cardinal outer = Edge & BDR_OUTER, inner = Edge & BDR_INNER;
    if (outer) {
        TColor tl, br;
        if (Flags & BF_MONO) {
            tl = br = clWindowFrame;
        } else if (Flags & BF_FLAT) {
            tl = br = clBtnShadow;
        } else if (outer & BDR_RAISEDOUTER) {
            tl = soft ? clBtnHighlight : cl3DLight;
            br = cl3DDkShadow;
        } else {
            tl = soft ? cl3DDkShadow : clBtnShadow;
            br = clBtnHighlight;
        }
        EdgeRing(Canvas, r, tl, br, sides);
        r = Shrink(r, sides);
    }
    if (inner) {
        TColor tl, br;
        if (Flags & BF_MONO) {
            tl = br = clWindow;
        } else if (Flags & BF_FLAT) {
            tl = br = clBtnFace;
        } else if (inner & BDR_RAISEDINNER) {
            tl = soft ? cl3DLight : clBtnHighlight;
            br = clBtnShadow;
        } else {
            tl = soft ? clBtnShadow : cl3DDkShadow;
            br = cl3DLight;
        }
        EdgeRing(Canvas, r, tl, br, sides);
        r = Shrink(r, sides);
    }
    if (Flags & BF_MIDDLE) Canvas->FillRectColor(r, (Flags & BF_MONO) ? clWindow : clBtnFace);
    if (Flags & BF_ADJUST) R = r;
    Canvas->Changed();
    return true;
}

namespace {

// The classic check mark, 7 x 7, rows top to bottom.
constexpr const char* CheckMark[7] = {
    "......X", ".....XX", "X...XXX", "XX.XXX.", "XXXXX..", ".XXX...", "..X....",
};

void DrawCheckMark(TCanvas* C, int X, int Y, int Scale, TColor Color) {
    for (int row = 0; row < 7; ++row)
        for (int col = 0; col < 7; ++col)
            if (CheckMark[row][col] == 'X')
                C->FillRectColor(Bounds(X + col * Scale, Y + row * Scale, Scale, Scale), Color);
}

// A square of side S centred in R.
TRect CentredSquare(const TRect& R, int S) {
    int l = R.Left + (R.Width() - S) / 2, t = R.Top + (R.Height() - S) / 2;
    return Bounds(l, t, S, S);
}

void DrawCheckBox(TCanvas* C, const TRect& R, Cardinal State) {
    int s = std::min(R.Width(), R.Height());
    if (s <= 0) return;
    TRect box = CentredSquare(R, s);
    const bool inactive = State & DFCS_INACTIVE, pushed = State & DFCS_PUSHED;
    const bool checked = State & DFCS_CHECKED, threeState = State & DFCS_BUTTON3STATE;
    TRect inner = box;
    if (State & (DFCS_FLAT | DFCS_MONO)) {
        EdgeRing(C, box, (State & DFCS_MONO) ? clWindowFrame : clBtnShadow,
                 (State & DFCS_MONO) ? clWindowFrame : clBtnShadow, BF_RECT);
        inner = Shrink(box, BF_RECT);
    } else {
        TRect r = box;
        DrawEdge(C, r, EDGE_SUNKEN, BF_RECT | BF_ADJUST);
        inner = r;
    }
    C->FillRectColor(inner, inactive || pushed || (threeState && checked) ? clBtnFace : clWindow);
    if (checked) {
        int scale = std::max(1, inner.Width() / 9);
        int mark = 7 * scale;
        TRect m = CentredSquare(inner, mark);
        DrawCheckMark(C, m.Left, m.Top, scale, inactive || threeState ? clBtnShadow : clWindowText);
    }
}

// Pixels of a disc of diameter S at (X, Y), tested at pixel centres.
bool InDisc(int X, int Y, double S, int px, int py) {
    double r = S / 2.0, dx = px + 0.5 - X - r, dy = py + 0.5 - Y - r;
    return dx * dx + dy * dy <= r * r;
}

void DrawRadio(TCanvas* C, const TRect& R, Cardinal State) {
    int s = std::min(R.Width(), R.Height());
    if (s <= 0) return;
    TRect box = CentredSquare(R, s);
    const bool inactive = State & DFCS_INACTIVE, pushed = State & DFCS_PUSHED;
    const bool flat = State & (DFCS_FLAT | DFCS_MONO);
    // Two rings: the outer one shadow/highlight, the inner one dark shadow/light, split along the
    // diagonal from bottom-left to top-right; then the well and the dot.
    for (int y = box.Top; y < box.Bottom; ++y) {
        for (int x = box.Left; x < box.Right; ++x) {
            bool in0 = InDisc(box.Left, box.Top, s, x, y);
            if (!in0) continue;
            bool in1 = InDisc(box.Left + 1, box.Top + 1, s - 2, x, y);
            bool in2 = InDisc(box.Left + 2, box.Top + 2, s - 4, x, y);
            bool upperLeft = (x - box.Left) + (y - box.Top) < s - 1;
            TColor c;
            if (!in1)
                c = flat ? clBtnShadow : (upperLeft ? clBtnShadow : clBtnHighlight);
            else if (!in2 && !flat)
                c = upperLeft ? cl3DDkShadow : cl3DLight;
            else
                c = inactive || pushed ? clBtnFace : clWindow;
            C->PlotPixel(x, y, c);
        }
    }
    if (State & DFCS_CHECKED) {
        int d = std::max(2, s / 3);
        int l = box.Left + (s - d) / 2, t = box.Top + (s - d) / 2;
        for (int y = t; y < t + d; ++y)
            for (int x = l; x < l + d; ++x)
                if (InDisc(l, t, d, x, y)) C->PlotPixel(x, y, inactive ? clBtnShadow : clWindowText);
    }
}

void DrawPushFrame(TCanvas* C, TRect& R, Cardinal State) {
    TRect r = R;
    if (State & DFCS_FLAT) {
        if (State & (DFCS_PUSHED | DFCS_CHECKED))
            DrawEdge(C, r, BDR_SUNKENOUTER, BF_RECT | BF_ADJUST);
        else
            DrawEdge(C, r, BDR_RAISEDINNER, BF_RECT | BF_ADJUST);
    } else if (State & DFCS_PUSHED) {
        // Classic pressed button: dark frame with the shadow inside.
        EdgeRing(C, r, cl3DDkShadow, cl3DDkShadow, BF_RECT);
        r = Shrink(r, BF_RECT);
        EdgeRing(C, r, clBtnShadow, clBtnShadow, BF_RECT);
        r = Shrink(r, BF_RECT);
    } else if (State & DFCS_CHECKED) {
        DrawEdge(C, r, EDGE_SUNKEN, BF_RECT | BF_ADJUST);
    } else {
        DrawEdge(C, r, EDGE_RAISED, BF_RECT | BF_ADJUST);
    }
    if (!(State & DFCS_TRANSPARENT)) C->FillRectColor(r, clBtnFace);
    if (State & DFCS_ADJUSTRECT) R = r;
}

// A solid arrow triangle pointing in Dir (0 up, 1 down, 2 left, 3 right) centred in R.
void DrawArrow(TCanvas* C, const TRect& R, int Dir, TColor Color) {
    int s = std::min(R.Width(), R.Height());
    int h = std::max(1, (s + 1) / 4); // height of the triangle; base 2h - 1
    int base = 2 * h - 1;
    bool vertical = Dir <= 1;
    int w = vertical ? base : h, hh = vertical ? h : base;
    int l = R.Left + (R.Width() - w) / 2, t = R.Top + (R.Height() - hh) / 2;
    for (int i = 0; i < h; ++i) {
        int len = base - 2 * i; // row i from the base
        switch (Dir) {
            case 0: C->FillRectColor(TRect(l + i, t + h - 1 - i, l + i + len, t + h - i), Color); break;
            case 1: C->FillRectColor(TRect(l + i, t + i, l + i + len, t + i + 1), Color); break;
            case 2: C->FillRectColor(TRect(l + h - 1 - i, t + i, l + h - i, t + i + len), Color); break;
            default: C->FillRectColor(TRect(l + i, t + i, l + i + 1, t + i + len), Color); break;
        }
    }
}

} // namespace

bool DrawFrameControl(TCanvas* Canvas, TRect& R, Cardinal Kind, Cardinal State) {
    if (!Canvas || !Canvas->RequireTarget()) return false;
    if (Canvas->Mapped())
        return InDeviceUnits(Canvas, R, [&](TRect& d) { return DrawFrameControl(Canvas, d, Kind, State); });
    switch (Kind) {
        case DFC_BUTTON: {
            const Cardinal type = State & 0xFF;
            if (type & DFCS_BUTTONPUSH) {
                DrawPushFrame(Canvas, R, State);
            } else if (type & (DFCS_BUTTONRADIO | DFCS_BUTTONRADIOIMAGE | DFCS_BUTTONRADIOMASK)) {
                DrawRadio(Canvas, R, State);
            } else {
                DrawCheckBox(Canvas, R, State);
            }
            return true;
        }
        case DFC_SCROLL: {
            const Cardinal type = State & 0xFF;
            TRect r = R;
            Cardinal frame = State & ~(DFCS_ADJUSTRECT);
            if (State & DFCS_PUSHED) {
                // A pressed scroll arrow is flat with a shadow frame.
                EdgeRing(Canvas, r, clBtnShadow, clBtnShadow, BF_RECT);
                Canvas->FillRectColor(Shrink(r, BF_RECT), clBtnFace);
            } else {
                DrawPushFrame(Canvas, r, frame & ~DFCS_ADJUSTRECT);
            }
            if (type == DFCS_SCROLLSIZEGRIP) {
                // Three pairs of diagonal grooves in the bottom-right corner.
                auto diagonal = [&](int o, TColor c) {
                    for (int k = 0; k <= o; ++k)
                        Canvas->PlotPixel(R.Right - 1 - k, R.Bottom - 1 - (o - k), c);
                };
                for (int i = 0; i < 3; ++i) {
                    int base = 4 * i + 1;
                    diagonal(base, clBtnHighlight);
                    diagonal(base + 1, clBtnShadow);
                    diagonal(base + 2, clBtnShadow);
                }
                return true;
            }
            int dir = type == DFCS_SCROLLCOMBOBOX ? 1 : int(type & 3);
            TRect ar = R;
            if (State & DFCS_PUSHED) ar = TRect(ar.Left + 1, ar.Top + 1, ar.Right + 1, ar.Bottom + 1);
            if (State & DFCS_INACTIVE) {
                DrawArrow(Canvas, TRect(ar.Left + 1, ar.Top + 1, ar.Right + 1, ar.Bottom + 1), dir,
                          clBtnHighlight);
                DrawArrow(Canvas, ar, dir, clBtnShadow);
            } else {
                DrawArrow(Canvas, ar, dir, clBtnText);
            }
            if (State & DFCS_ADJUSTRECT) R = Shrink(Shrink(R, BF_RECT), BF_RECT);
            return true;
        }
        default: {
            // Captions and menus are drawn as plain push buttons.
            DrawPushFrame(Canvas, R, State);
            return true;
        }
    }
}
