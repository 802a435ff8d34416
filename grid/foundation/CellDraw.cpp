#include "CellDraw.h"

#include "AdvXPVS.h"
#include "Controls.h"
#include "Graphics.h"
#include "SysUtils.h"

#include <algorithm>
#include <cmath>

namespace {

struct TRGB {
    int R, G, B;
};

TRGB Channels(TColor C) {
    const Cardinal c = Cardinal(ColorToRGB(C));
    return {GetRValue(c), GetGValue(c), GetBValue(c)};
}

int Clamp255(Int64 V) {
    return int(std::clamp<Int64>(V, 0, 255));
}

// Pen and brush in one colour, for shapes whose outline and inside are the same.
void SolidPenBrush(TCanvas* C, TColor Color) {
    C->Pen()->SetColor(Color);
    C->Pen()->SetStyle(psSolid);
    C->Pen()->SetWidth(1);
    C->Brush()->SetColor(Color);
    C->Brush()->SetStyle(bsSolid);
}

void FrameWithPen(TCanvas* C, const TRect& R, TColor Color) {
    if (Color == clNone || R.IsEmpty()) return;
    C->Pen()->SetColor(Color);
    C->Pen()->SetStyle(psSolid);
    C->Pen()->SetWidth(1);
    C->Polyline({{R.Left, R.Top},
                 {R.Right - 1, R.Top},
                 {R.Right - 1, R.Bottom - 1},
                 {R.Left, R.Bottom - 1},
                 {R.Left, R.Top}});
}

void HLine(TCanvas* C, int X1, int X2, int Y, TColor Color) {
    if (Color == clNone || X2 <= X1) return;
    C->Pen()->SetColor(Color);
    C->MoveTo(X1, Y);
    C->LineTo(X2, Y);
}

void VLine(TCanvas* C, int X, int Y1, int Y2, TColor Color) {
    if (Color == clNone || Y2 <= Y1) return;
    C->Pen()->SetColor(Color);
    C->MoveTo(X, Y1);
    C->LineTo(X, Y2);
}

void Pixel(TCanvas* C, int X, int Y, TColor Color) {
    if (Color != clNone) C->SetPixels(X, Y, Color);
}

TRect Inflated(const TRect& R, int DX, int DY) {
    return TRect(R.Left - DX, R.Top - DY, R.Right + DX, R.Bottom + DY);
}

// Whether a Format text formats an integer: the type of its first directive is d, u or x. The
// directive is read rather than any "d" or "u" of the text, which would hand an integer to a
// "%.1f done" format and fail.
bool FormatsInteger(const String& Fmt) {
    for (int i = 0; i < Fmt.size(); ++i) {
        if (Fmt[i] != u'%') continue;
        if (i + 1 < Fmt.size() && Fmt[i + 1] == u'%') {
            ++i;
            continue;
        }
        int j = i + 1;
        while (j < Fmt.size() && !Fmt[j].isLetter()) ++j;
        if (j >= Fmt.size()) return false;
        const Char t = Fmt[j].toLower();
        return t == u'd' || t == u'u' || t == u'x';
    }
    return false;
}

} // namespace

bool ThemedDrawingAvailable() {
    return AdvXPVS.Loaded() && AdvXPVS.OpenThemeData && AdvXPVS.DrawThemeBackground &&
           AdvXPVS.CloseThemeData && AdvXPVS.IsThemeActive && AdvXPVS.IsThemeActive();
}

bool DrawThemed(TCanvas* Canvas, HWND Handle, LPCWSTR Class, int Part, int State, const TRect& R) {
    if (!ThemedDrawingAvailable()) return false;
    const HTHEME theme = AdvXPVS.OpenThemeData(Handle, Class);
    if (!theme) return false;
    const HRESULT hr = AdvXPVS.DrawThemeBackground(theme, Canvas, Part, State, &R, nullptr);
    AdvXPVS.CloseThemeData(theme);
    return Succeeded(hr);
}

// ---------------------------------------------------------------------------------------------
// Colour arithmetic

TColor HalveColor(TColor Color) {
    const TRGB c = Channels(Color);
    return RGB(c.R / 2, c.G / 2, c.B / 2);
}

TColor ScaleColorPercent(TColor Color, int P) {
    const TRGB c = Channels(Color);
    auto scale = [P](int v) { return int(Round(v + double(P) * v / 100.0) & 0xFF); };
    return RGB(scale(c.R), scale(c.G), scale(c.B));
}

TColor InterpolateColor(TColor From, TColor To, int Start, int Offset, int End) {
    if (To == clNone || End == Start) return From;
    const TRGB f = Channels(From), t = Channels(To);
    auto mix = [&](int a, int b) {
        return Clamp255(a + Round(double(b - a) / double(End - Start) * Offset));
    };
    return RGB(mix(f.R, t.R), mix(f.G, t.G), mix(f.B, t.B));
}

// ---------------------------------------------------------------------------------------------
// Fills and frames

void DrawStepGradient(TCanvas* Canvas, TColor From, TColor To, bool Horizontal, TRect R, int Steps) {
    if (!Canvas || R.Height() == 0) return;
    if (R.Top > R.Bottom) std::swap(R.Top, R.Bottom);
    // One colour (no gradient, or none to run) is one rectangle: the steps would cover R with it.
    if (From == clNone || To == clNone || From == To) {
        const TColor c = From == clNone ? To : From;
        if (c == clNone) return;
        SolidPenBrush(Canvas, c);
        Canvas->Rectangle(R);
        return;
    }
    const int L = (Horizontal ? R.Width() : R.Height()) - 1;
    const int n = std::max(1, std::min(Steps, L));
    const double w = double(L) / n;
    const TRGB f = Channels(From), t = Channels(To);
    const int farEdge = Horizontal ? R.Right : R.Bottom;
    const int start = Horizontal ? R.Left : R.Top;
    for (int k = 0; k <= n; ++k) {
        const TColor c =
            RGB(f.R + int(Round(double(k) * (t.R - f.R) / n)), f.G + int(Round(double(k) * (t.G - f.G) / n)),
                f.B + int(Round(double(k) * (t.B - f.B) / n)));
        SolidPenBrush(Canvas, c);
        const int a = start + int(Trunc(k * w));
        const int b = std::min(farEdge, a + int(Trunc(w + 1)));
        if (b <= a) continue;
        if (Horizontal)
            Canvas->Rectangle(a, R.Top, b, R.Bottom);
        else
            Canvas->Rectangle(R.Left, a, R.Right, b);
    }
}

void DrawGradientCell(TCanvas* Canvas, const TRect& R, TColor Color, bool Fill, bool SidesOnly,
                      TColor BorderColor, bool Vertical, TColor MirrorColorTo, TColor MirrorColor,
                      TColor ColorTo) {
    if (!Canvas) return;
    if (Fill && Color != clNone) {
        if (MirrorColor == clNone && ColorTo == clNone) {
            Canvas->Brush()->SetColor(Color);
            Canvas->Brush()->SetStyle(bsSolid);
            Canvas->FillRect(TRect(R.Left, R.Top, R.Right, R.Bottom + 1));
        } else if (MirrorColor == clNone) {
            DrawStepGradient(Canvas, Color, ColorTo, !Vertical, R, 128);
        } else {
            TRect first = R, second = R;
            if (Vertical) {
                first.Bottom = R.Top + R.Height() / 2;
                second.Top = first.Bottom;
            } else {
                first.Right = R.Left + R.Width() / 2;
                second.Left = first.Right;
            }
            DrawStepGradient(Canvas, Color, ColorTo, !Vertical, first, 128);
            DrawStepGradient(Canvas, MirrorColor, MirrorColorTo, !Vertical, second, 128);
        }
    }
    if (BorderColor == clNone) return;
    if (SidesOnly) {
        Canvas->Pen()->SetWidth(1);
        Canvas->Pen()->SetStyle(psSolid);
        VLine(Canvas, R.Left, R.Top, R.Bottom, BorderColor);
        VLine(Canvas, R.Right - 1, R.Top, R.Bottom, BorderColor);
    } else {
        FrameWithPen(Canvas, R, BorderColor);
    }
}

void DrawSelectionGradient(TCanvas* Canvas, TColor Color, TColor ColorTo, int Sides, const TRect& Rect,
                           TColor CornerColor, TColor InnerCornerColor, TColor EdgeColor,
                           TColor LowerLineColor, TColor UpperLineColor, TColor MirrorColorTo,
                           TColor MirrorColor) {
    if (!Canvas) return;
    const int L = Rect.Left, T = Rect.Top, R = Rect.Right - 1, B = Rect.Bottom - 2;
    if (R - L < 4 || B - T < 3) return;
    const bool roundLeft = Sides == 0 || Sides == 1;
    const bool roundRight = Sides == 0 || Sides == 2;
    const int xs = roundLeft ? L + 2 : L;
    const int xe = roundRight ? R - 2 : R;
    const int mid = T + (B - T) / 2;
    Canvas->Pen()->SetWidth(1);
    Canvas->Pen()->SetStyle(psSolid);

    // Inner lines under the top edge and above the bottom edge, with the inner side lines.
    HLine(Canvas, xs, xe, T + 1, UpperLineColor);
    HLine(Canvas, xs, xe, B - 1, LowerLineColor);
    if (roundLeft) {
        VLine(Canvas, L + 1, T + 2, mid, UpperLineColor);
        VLine(Canvas, L + 1, mid, B - 1, LowerLineColor);
    }
    if (roundRight) {
        VLine(Canvas, R - 2, T + 2, mid, UpperLineColor);
        VLine(Canvas, R - 2, mid, B - 1, LowerLineColor);
    }
    // Edges.
    HLine(Canvas, xs, xe, T, EdgeColor);
    HLine(Canvas, xs, xe, B, EdgeColor);
    if (roundLeft) VLine(Canvas, L, T + 2, B - 1, EdgeColor);
    if (roundRight) VLine(Canvas, R - 1, T + 2, B - 1, EdgeColor);
    // Rounded corners.
    auto corners = [&](int Outer, int Inner) {
        Pixel(Canvas, Outer, T, CornerColor);
        Pixel(Canvas, Inner, T, InnerCornerColor);
        Pixel(Canvas, Outer, T + 1, InnerCornerColor);
        Pixel(Canvas, Inner, T + 1, InnerCornerColor);
        Pixel(Canvas, Outer, B, CornerColor);
        Pixel(Canvas, Inner, B, InnerCornerColor);
        Pixel(Canvas, Outer, B - 1, InnerCornerColor);
        Pixel(Canvas, Inner, B - 1, InnerCornerColor);
    };
    if (roundLeft) corners(L, L + 1);
    if (roundRight) corners(R - 1, R - 2);

    // The inside.
    const TRect inner(xs, T + 2, xe, B - 1);
    if (inner.IsEmpty() || Color == clNone) return;
    if (ColorTo == clNone) {
        FillRectColor(Canvas, inner, Color);
    } else if (MirrorColor == clNone) {
        DrawStepGradient(Canvas, Color, ColorTo, false, inner, 16);
    } else {
        const int half = inner.Top + inner.Height() / 2;
        DrawStepGradient(Canvas, Color, ColorTo, false, TRect(inner.Left, inner.Top, inner.Right, half), 16);
        DrawStepGradient(Canvas, MirrorColor, MirrorColorTo, false,
                         TRect(inner.Left, half, inner.Right, inner.Bottom), 16);
    }
}

void FillRectColor(TCanvas* Canvas, const TRect& R, TColor Color) {
    if (!Canvas || Color == clNone) return;
    Canvas->Brush()->SetColor(Color);
    Canvas->Brush()->SetStyle(bsSolid);
    Canvas->FillRect(R);
}

// ---------------------------------------------------------------------------------------------
// Indicators

void DrawProgressBar(TCanvas* Canvas, TRect R, TColor DoneColor, bool Printing, TColor BorderColor,
                     const String& Fmt, double Maximum, double Minimum, int MarginY, int MarginX,
                     double Position, TColor RemainingTextColor, TColor RemainingColor,
                     TColor DoneTextColor) {
    if (!Canvas) return;
    const TColor entryBrush = Canvas->Brush()->Color();
    String text;
    Int64 percent;
    bool formatted = false;
    if (!Fmt.isEmpty()) {
        // A format that does not suit its argument leaves the plain percentage text rather than
        // failing the painting.
        try {
            text = FormatsInteger(Fmt) ? Format(Fmt, Round(Position)) : Format(Fmt, Position);
            formatted = true;
        } catch (const EConvertError&) {
        }
    }
    if (formatted) {
        if (Maximum == Minimum)
            percent = Position >= Maximum ? 100 : 0;
        else
            percent = Round((Position - Minimum) * 100.0 / (Maximum - Minimum));
    } else {
        text = IntToStr(Round(Position)) + QLatin1Char('%');
        percent = Round(Position);
    }
    percent = std::clamp<Int64>(percent, 0, 100);

    R = Inflated(R, -MarginX, -MarginY);
    const int doneRight = R.Left + int(Round(double(percent) * R.Width() / 100.0));
    const int textWidth = Canvas->TextWidth(text);
    const int textHeight = Canvas->TextHeight(text);
    const int x = R.Left + (R.Width() - textWidth) / 2;
    const int y = Printing ? R.Top + (R.Height() + textHeight) / 2 : R.Top + (R.Height() - textHeight) / 2;

    Canvas->SetBkMode(OPAQUE);
    if (doneRight > R.Left) {
        Canvas->Brush()->SetColor(DoneColor);
        Canvas->Font()->SetColor(DoneTextColor);
        Canvas->TextRect(TRect(R.Left, R.Top, doneRight, R.Bottom), x, y, text);
    }
    if (doneRight < R.Right) {
        Canvas->Brush()->SetColor(RemainingColor);
        Canvas->Font()->SetColor(RemainingTextColor);
        Canvas->TextRect(TRect(doneRight, R.Top, R.Right, R.Bottom), x, y, text);
    }
    if (BorderColor != clNone) {
        Canvas->Brush()->SetColor(BorderColor);
        Canvas->FrameRect(Inflated(R, 1, 1));
    }
    Canvas->Brush()->SetColor(entryBrush);
    Canvas->FrameRect(Inflated(R, 2, 2));
}

void DrawPosNegBar(TCanvas* Canvas, TRect R, double Value, TColor PositiveColor, TColor NegativeColor,
                   bool ShowValue, double Maximum) {
    if (!Canvas) return;
    R = Inflated(R, -2, -2);
    if (R.IsEmpty()) return;
    const double maxValue = std::fabs(Maximum);
    const double v = std::clamp(Value, -maxValue, maxValue);
    const int half = R.Width() / 2;
    const int centre = R.Left + half;
    const int length = maxValue > 0 ? int(Round(half * v / maxValue)) : 0;
    if (length > 0)
        FillRectColor(Canvas, TRect(centre, R.Top, centre + length, R.Bottom), PositiveColor);
    else if (length < 0)
        FillRectColor(Canvas, TRect(centre + length, R.Top, centre, R.Bottom), NegativeColor);
    Canvas->SetBkMode(TRANSPARENT);
    if (ShowValue) {
        // The value's text, centred over the bar.
        const String text = FloatToStr(Value);
        const int x = R.Left + (R.Width() - Canvas->TextWidth(text)) / 2;
        const int y = R.Top + (R.Height() - Canvas->TextHeight(text)) / 2;
        Canvas->TextRect(R, x, y, text);
    }
}

void DrawProgressPie(TCanvas* Canvas, const TRect& R, TColor FillColor, bool Printing, int Percentage) {
    if (!Canvas || R.IsEmpty()) return;
    const TColor grey = 0x808080;
    Canvas->Pen()->SetColor(grey);
    Canvas->Pen()->SetWidth(1);
    Canvas->Pen()->SetStyle(psSolid);
    Canvas->Ellipse(R);
    const int w = R.Width(), h = R.Height();
    const int cx = R.Left + w / 2, cy = R.Top + h / 2;
    Canvas->MoveTo(cx, cy);
    Canvas->LineTo(cx, R.Top);
    const double a = Percentage / 100.0 * 2 * M_PI;
    const int px = R.Left + w / 2 + int(Round((w + 1) / 2.0 * std::sin(a)));
    const int py = R.Top + h / 2 - int(Round((h + 1) / 2.0 * std::cos(a)));
    Canvas->MoveTo(cx, cy);
    Canvas->LineTo(px, py);
    if (Percentage != 0 && FillColor != clNone) {
        Canvas->Brush()->SetColor(FillColor);
        Canvas->FloodFill(cx + 1, Printing ? R.Top - 2 : R.Top + 2, grey, fsBorder);
    }
}

void DrawLevelProgressBar(TCanvas* Canvas, const TRect& R, int Percentage, const TLevelProgress& Level) {
    if (!Canvas || R.IsEmpty()) return;
    const bool vertical = Level.Vertical;
    const int q = (vertical ? R.Height() : R.Width()) - 2;
    const TColor border = Level.ShowBorder ? Level.BorderColor : Level.BackgroundColor;
    Canvas->Pen()->SetWidth(1);
    Canvas->Pen()->SetStyle(psSolid);
    Canvas->Pen()->SetColor(border);
    Canvas->Brush()->SetColor(Level.BackgroundColor);
    Canvas->Brush()->SetStyle(bsSolid);
    Canvas->Rectangle(R);

    // A bar from Offset to Offset + Length along the growth direction, Inset pixels inside the
    // rectangle across it, in a colour pair.
    auto bar = [&](int Offset, int Length, int Inset, TColor Color, TColor ColorTo) {
        if (Length <= 0) return;
        TRect b;
        if (vertical) {
            b = TRect(R.Left + Inset, R.Bottom - 1 - Offset - Length, R.Right - Inset, R.Bottom - 1 - Offset);
            b.Top = std::max(b.Top, R.Top + 1);
        } else {
            b = TRect(R.Left + 1 + Offset, R.Top + Inset, R.Left + 1 + Offset + Length, R.Bottom - Inset);
            b.Right = std::min(b.Right, R.Right - 1);
        }
        if (b.IsEmpty()) return;
        if (!Level.ShowGradient || ColorTo == clNone) {
            FillRectColor(Canvas, b, Color);
        } else if (vertical) {
            const int half = b.Left + b.Width() / 2;
            DrawStepGradient(Canvas, ColorTo, Color, true, TRect(b.Left, b.Top, half, b.Bottom), Level.Steps);
            DrawStepGradient(Canvas, Color, ColorTo, true, TRect(half, b.Top, b.Right, b.Bottom),
                             Level.Steps);
        } else {
            const int half = b.Top + b.Height() / 2;
            DrawStepGradient(Canvas, ColorTo, Color, false, TRect(b.Left, b.Top, b.Right, half), Level.Steps);
            DrawStepGradient(Canvas, Color, ColorTo, false, TRect(b.Left, half, b.Right, b.Bottom),
                             Level.Steps);
        }
    };

    const int p = std::clamp(Percentage, 0, 100);
    if (p > 0 && q > 0) {
        if (Level.Stacked) {
            const int s1 = int(Round(std::min(p, Level.Level1Perc) / 100.0 * q));
            bar(0, s1, 1, Level.Level0Color, Level.Level0ColorTo);
            int used = s1;
            if (p > Level.Level1Perc) {
                const int s2 = int(Round(q * (std::min(p, Level.Level2Perc) - Level.Level1Perc) / 100.0));
                bar(used, s2, 1, Level.Level1Color, Level.Level1ColorTo);
                used += s2;
            }
            if (p > Level.Level2Perc) {
                const int s3 = p == 100 ? q - used : int(Round(q * (p - Level.Level2Perc) / 100.0));
                bar(used, s3, 1, Level.Level3Color, Level.Level3ColorTo);
            }
        } else {
            TColor c = Level.Level2Color, cTo = Level.Level2ColorTo;
            if (p < Level.Level1Perc) {
                c = Level.Level0Color;
                cTo = Level.Level0ColorTo;
            } else if (p < Level.Level2Perc) {
                c = Level.Level1Color;
                cTo = Level.Level1ColorTo;
            } else if (p > 99) {
                c = Level.Level3Color;
                cTo = Level.Level3ColorTo;
            }
            if (Level.CompletionSmooth) {
                bar(0, int(Round(p / 100.0 * q)), 1, c, cTo);
            } else {
                const int length = int(Round(double(p) * q / 100.0));
                if (length >= 2 && length <= 9) {
                    bar(1, length - 1, 2, c, cTo);
                } else if (length > 9) {
                    const int blocks = length / 9;
                    for (int k = 0; k < blocks; ++k) bar(1 + k * 9, 7, 2, c, cTo);
                    const int rest = length - blocks * 9;
                    if (rest > 2) bar(1 + blocks * 9, rest - 1, 2, c, cTo);
                }
            }
        }
    }

    if (Level.ShowPercentage) {
        const String text = IntToStr(Percentage) + QLatin1Char('%');
        if (Level.Font) Canvas->Font()->Assign(Level.Font);
        Canvas->Font()->SetColor(Level.CompleteFontColor);
        Canvas->Brush()->SetStyle(bsClear);
        Canvas->SetBkMode(TRANSPARENT);
        const int tw = Canvas->TextWidth(text), th = Canvas->TextHeight(text);
        if (vertical) {
            // Rotated by 90 degrees, running upward, centred.
            TFont* rotated = new TFont;
            rotated->Assign(Canvas->Font());
            TFont* saved = new TFont;
            saved->Assign(Canvas->Font());
            rotated->SetOrientation(900);
            Canvas->Font()->Assign(rotated);
            Canvas->TextOut(R.Left + (R.Width() - th) / 2, R.Bottom - (R.Height() - tw) / 2, text);
            Canvas->Font()->Assign(saved);
            TObject::Free(rotated);
            TObject::Free(saved);
        } else {
            Canvas->TextOut(R.Left + (R.Width() - tw) / 2, R.Top + (R.Height() - th) / 2, text);
        }
    }
    Canvas->Pen()->SetColor(border);
    Canvas->Brush()->SetStyle(bsClear);
    Canvas->Rectangle(R);
}

// ---------------------------------------------------------------------------------------------
// Shapes

void DrawCellShape(TCanvas* Canvas, int Left, int Top, TColor OutlineColor, TColor FillColor, int Shape,
                   int Height, int Width) {
    if (!Canvas || Shape < 0 || Shape > csHalfStar) return;
    const int L = Left, T = Top;
    int W = Width, H = Height;
    if (Shape == csCircle || Shape == csSquare || Shape == csRoundSquare) W = H = std::min(Width, Height);
    Canvas->Pen()->SetColor(OutlineColor);
    Canvas->Pen()->SetStyle(OutlineColor == clNone ? psClear : psSolid);
    Canvas->Brush()->SetColor(FillColor);
    Canvas->Brush()->SetStyle(FillColor == clNone ? bsClear : bsSolid);
    const int h = W / 2, v = H / 2;
    const int W2 = W & ~1, H2 = H & ~1;
    const int q = W2 / 4, r = H2 / 4;

    // The points of the star: 10 at k * 36 degrees clockwise from 12 o'clock.
    auto starPoint = [&](int Degrees, bool Outer) {
        const double a = Degrees * M_PI / 180.0;
        const double rx = Outer ? h : h / 3.0, ry = Outer ? v : v / 3.0;
        return TPoint(L + h + int(Round(rx * std::sin(a))), T + v - int(Round(ry * std::cos(a))));
    };

    switch (Shape) {
        case csRectangle:
        case csSquare: Canvas->Rectangle(L + 1, T + 1, L + W - 1, T + H - 1); break;
        case csCircle:
        case csEllips: Canvas->Ellipse(L, T, L + W, T + H); break;
        case csTriangleLeft: Canvas->Polygon({{L + W, T}, {L + W, T + H}, {L, T + v}}); break;
        case csTriangleRight: Canvas->Polygon({{L, T}, {L, T + H}, {L + W, T + v}}); break;
        case csTriangleUp: Canvas->Polygon({{L, T + H}, {L + W, T + H}, {L + h, T}}); break;
        case csTriangleDown: Canvas->Polygon({{L, T}, {L + W, T}, {L + h, T + H}}); break;
        case csDiamond:
            Canvas->Polygon({{L, T + v}, {L + h, T}, {L + 2 * h, T + v}, {L + h, T + 2 * v}});
            break;
        case csLineVert: Canvas->FillRect(TRect(L + h, T, L + h + 1, T + H)); break;
        case csLineHorz: Canvas->FillRect(TRect(L, T + v, L + W, T + v + 1)); break;
        case csRoundRect:
        case csRoundSquare: Canvas->RoundRect(L, T, L + W, T + H, 10, 10); break;
        case csStar: {
            std::vector<TPoint> pts;
            for (int k = 0; k < 10; ++k) pts.push_back(starPoint(k * 36, k % 2 == 0));
            Canvas->Polygon(pts);
            break;
        }
        case csHalfStar:
            Canvas->Polygon({starPoint(0, true), starPoint(180, false), starPoint(216, true),
                             starPoint(252, false), starPoint(288, true), starPoint(324, false)});
            break;
        case csArrowUp:
            Canvas->Polygon({{L, T + v},
                             {L + W2 / 2, T},
                             {L + W2, T + v},
                             {L + 3 * q, T + v},
                             {L + 3 * q, T + H},
                             {L + q, T + H},
                             {L + q, T + v}});
            break;
        case csArrowDown:
            Canvas->Polygon({{L, T + v},
                             {L + W2 / 2, T + H},
                             {L + W2, T + v},
                             {L + 3 * q, T + v},
                             {L + 3 * q, T},
                             {L + q, T},
                             {L + q, T + v}});
            break;
        case csArrowLeft:
            Canvas->Polygon({{L, T + H2 / 2},
                             {L + h, T},
                             {L + h, T + r},
                             {L + W, T + r},
                             {L + W, T + 3 * r},
                             {L + h, T + 3 * r},
                             {L + h, T + H2}});
            break;
        case csArrowRight:
            Canvas->Polygon({{L + W, T + H2 / 2},
                             {L + h, T},
                             {L + h, T + r},
                             {L, T + r},
                             {L, T + 3 * r},
                             {L + h, T + 3 * r},
                             {L + h, T + H2}});
            break;
        default: break;
    }
}

// ---------------------------------------------------------------------------------------------
// Button faces

const TColorTone& ToneOfState(const TColorTones& Tones, int State) {
    switch (State) {
        case fsHot: return Tones.Hover;
        case fsPressed: return Tones.Selected;
        case fsDisabled: return Tones.Disabled;
        default: return Tones.Background;
    }
}

void DrawComboButton(TCanvas* Canvas, HWND Handle, const TRect& R, const TColorTones& Tones, int State,
                     int Look) {
    if (!Canvas) return;
    TRect b(R.Right - 19, R.Top + 1, R.Right - 2, R.Bottom - 1);
    const bool disabled = State == fsDisabled;
    if (Look == flTones) {
        b.Left += 3;
        SolidPenBrush(Canvas, ToneOfState(Tones, State).BrushColor);
        Canvas->Rectangle(b);
        VLine(Canvas, b.Left + 1, b.Top, b.Bottom, Tones.Background.BorderColor);
        SolidPenBrush(Canvas, Tones.Background.TextColor);
        Canvas->Polygon({{b.Left + 5, b.Top + 8}, {b.Left + 11, b.Top + 8}, {b.Left + 8, b.Top + 11}});
        return;
    }
    if (Look == flThemed &&
        DrawThemed(Canvas, Handle, u"combobox", CP_DROPDOWNBUTTON, disabled ? CBXS_DISABLED : CBXS_NORMAL, b))
        return;
    Cardinal flags = DFCS_SCROLLCOMBOBOX;
    if (disabled) flags |= DFCS_INACTIVE;
    if (Look == flFlat) flags |= DFCS_FLAT;
    DrawFrameControl(Canvas, b, DFC_SCROLL, flags);
}

void DrawButtonFrame(TCanvas* Canvas, HWND Handle, const TRect& R, const TColorTones& Tones, int State,
                     int Look) {
    if (!Canvas) return;
    TRect b = R;
    if (Look == flTones) {
        const TColorTone& tone = ToneOfState(Tones, State);
        Canvas->Brush()->SetColor(tone.BrushColor);
        Canvas->Brush()->SetStyle(bsSolid);
        Canvas->Pen()->SetColor(tone.BorderColor);
        Canvas->Pen()->SetStyle(tone.BorderColor == clNone ? psClear : psSolid);
        Canvas->Pen()->SetWidth(1);
        Canvas->Rectangle(b);
        return;
    }
    static const int themedStates[] = {PBS_NORMAL, PBS_HOT, PBS_PRESSED, PBS_DISABLED};
    if (Look == flThemed &&
        DrawThemed(Canvas, Handle, u"button", BP_PUSHBUTTON, themedStates[std::clamp(State, 0, 3)], b))
        return;
    Cardinal flags = DFCS_BUTTONPUSH;
    if (State == fsHot) flags |= DFCS_HOT;
    if (State == fsPressed) flags |= DFCS_PUSHED;
    if (State == fsDisabled) flags |= DFCS_INACTIVE;
    if (Look == flFlat) flags |= DFCS_FLAT;
    DrawFrameControl(Canvas, b, DFC_BUTTON, flags);
}

void DrawSpinButtons(TCanvas* Canvas, HWND Handle, const TRect& R, const TColorTones& Tones, int State,
                     int Look) {
    if (!Canvas) return;
    const TRect b(R.Right - 16, R.Top - 1, R.Right - 1, R.Bottom - 1);
    const int m = b.Top + b.Height() / 2;
    const bool disabled = State == fsDisabled;
    if (Look == flTones) {
        const TRect up(b.Left, b.Top, b.Right, m), down(b.Left, m + 1, b.Right, b.Bottom);
        SolidPenBrush(Canvas, ToneOfState(Tones, State).BrushColor);
        Canvas->Rectangle(up);
        Canvas->Rectangle(down);
        SolidPenBrush(Canvas, clBlack);
        const int x = b.Left;
        Canvas->Polygon({{x + 5, up.Top + 5}, {x + 9, up.Top + 5}, {x + 7, up.Top + 3}});
        Canvas->Polygon({{x + 5, down.Top + 1}, {x + 9, down.Top + 1}, {x + 7, down.Top + 3}});
        return;
    }
    if (Look == flThemed && ThemedDrawingAvailable()) {
        const int state = disabled ? 4 : 1;
        if (DrawThemed(Canvas, Handle, u"spin", SPNP_UP, state, TRect(b.Left, b.Top, b.Right, m)) &&
            DrawThemed(Canvas, Handle, u"spin", SPNP_DOWN, state, TRect(b.Left, m, b.Right, b.Bottom)))
            return;
    }
    Cardinal extra = disabled ? DFCS_INACTIVE : 0;
    if (Look == flFlat) extra |= DFCS_FLAT;
    TRect up(b.Left, b.Top, b.Right, m), down(b.Left, m + 1, b.Right, b.Bottom);
    DrawFrameControl(Canvas, up, DFC_SCROLL, DFCS_SCROLLUP | extra);
    DrawFrameControl(Canvas, down, DFC_SCROLL, DFCS_SCROLLDOWN | extra);
}

// ---------------------------------------------------------------------------------------------
// Bitmaps

void DrawResourceBitmap(TCanvas* Canvas, TColor BackgroundColor, const TRect& R, const String& ResourceName) {
    if (!Canvas) return;
    TBitmap* bmp = new TBitmap;
    try {
        bmp->LoadFromResourceName(ResourceName);
        DrawTransparentBitmap(Canvas, bmp, BackgroundColor, R);
    } catch (const Exception&) {
        // A missing picture leaves the cell without it.
    }
    TObject::Free(bmp);
}

void DrawTransparentBitmap(TCanvas* Canvas, TBitmap* Bitmap, TColor BackgroundColor, const TRect& R) {
    if (!Canvas || !Bitmap || Bitmap->Empty()) return;
    const int w = Bitmap->Width(), h = Bitmap->Height();
    const TColor key = Bitmap->Canvas()->Pixels(0, 0);
    Canvas->Brush()->SetColor(BackgroundColor);
    Canvas->Brush()->SetStyle(bsSolid);
    Canvas->BrushCopy(Bounds(R.Left, R.Top, w, h), Bitmap, TRect(0, 0, w, h), key);
}

// ---------------------------------------------------------------------------------------------
// Marks

void DrawErrorUnderline(TControl* Owner, TCanvas* Canvas, const String& Text, int Length, int FirstChar,
                        int Offset, const TRect& R) {
    if (!Canvas || Length <= 0) return;
    // Character positions as a single-line edit with the owner's font reports them: a margin of
    // one pixel, then the widths of the characters before.
    TBitmap* scratch = new TBitmap(1, 1);
    TCanvas* measure = scratch->Canvas();
    measure->Font()->Assign(Owner ? Owner->Font() : Canvas->Font());
    const int margin = 1;
    auto position = [&](int Index) { return TPoint(margin + measure->TextWidth(Text.left(Index)), 0); };
    const int n = int(Text.size());
    TPoint first =
        FirstChar >= n ? TPoint(margin + measure->TextWidth(Text) + 4, 0) : position(std::max(0, FirstChar));
    TPoint last;
    if (FirstChar + Length - 1 >= n - 1)
        last = TPoint(position(std::max(0, n - 1)).X + 4, first.Y);
    else
        last = position(FirstChar + Length - 1);
    TObject::Free(scratch);

    Canvas->Pen()->SetColor(clRed);
    Canvas->Pen()->SetWidth(2);
    Canvas->Pen()->SetStyle(psSolid);
    const int baseY = R.Top + first.Y + Offset;
    const int endX = R.Left + last.X + 3;
    int x = R.Left + first.X;
    bool down = true;
    Canvas->MoveTo(x, baseY + 3);
    while (x <= endX) {
        x += 3;
        down = !down;
        Canvas->LineTo(x, baseY + (down ? 3 : 0));
    }
}

void DrawDownTriangle(TCanvas* Canvas, int X, int Y, TColor Color) {
    if (!Canvas) return;
    SolidPenBrush(Canvas, Color);
    Canvas->Polygon({{X - 3, Y}, {X + 3, Y}, {X, Y + 3}});
}

// ---------------------------------------------------------------------------------------------
// Layered windows

bool CallUpdateLayeredWindow(HWND hWnd, HDC hdcDst, TPoint* pptDst, TSize* psize, HDC hdcSrc, TPoint* pptSrc,
                             COLORREF crKey, BLENDFUNCTION* pblend, DWORD dwFlags) {
    const HMODULE user32 = GetModuleHandle(QStringLiteral("USER32.DLL"));
    if (!user32) return true;
    auto f = reinterpret_cast<TUpdateLayeredWindow>(GetProcAddress(user32, "UpdateLayeredWindow"));
    if (!f) return true;
    return f(hWnd, hdcDst, pptDst, psize, hdcSrc, pptSrc, crKey, pblend, dwFlags) != 0;
}

bool CallSetLayeredWindowAttributes(HWND hwnd, COLORREF crKey, Byte bAlpha, DWORD dwFlags) {
    const HMODULE user32 = GetModuleHandle(QStringLiteral("USER32.DLL"));
    if (!user32) return true;
    auto f =
        reinterpret_cast<TSetLayeredWindowAttributes>(GetProcAddress(user32, "SetLayeredWindowAttributes"));
    if (!f) return true;
    return f(hwnd, crKey, bAlpha, dwFlags) != 0;
}
