// Drawing routines shared by the grid's cell painter, the base grid's selection painting and the
// drop-down controls: colour arithmetic, stepped gradients, the rounded selection frame, progress
// bars, cell shapes, button faces in four looks, transparent bitmaps, the error underline, the
// sort triangle and the layered-window calls.
//
// Each routine draws on the canvas it is given with the colours it is given and leaves pen,
// brush and font as it last set them. Colours may be system colours (resolved where channels are
// computed) or clNone, meaning "no colour": a part in clNone is not drawn.
#pragma once

#include "AdvStyleIF.h"
#include "OSInfo.h"
#include "System.h"
#include "Themes.h"
#include "Types.h"

class TCanvas;
class TBitmap;
class TFont;
class TControl;

// ---- Colour arithmetic ----

// Each RGB channel halved.
TColor HalveColor(TColor Color);
// Each channel c becomes round(c + P * c / 100), keeping its low 8 bits (P negative darkens).
TColor ScaleColorPercent(TColor Color, int P);
// From when To is clNone; else each channel from + round((to - from) / (End - Start) * Offset),
// kept within 0..255 (From when Start equals End).
TColor InterpolateColor(TColor From, TColor To, int Start, int Offset, int End);

// ---- Fills and frames ----

// A gradient in at most Steps bands (limited by the rectangle's extent - 1), From on the left
// (Horizontal) or at the top. One colour clNone: a plain fill in the other (nothing when both are).
void DrawStepGradient(TCanvas* Canvas, TColor From, TColor To, bool Horizontal, TRect R, int Steps);
// A cell background: solid, a 128-step gradient Color -> ColorTo, or two halves (Color -> ColorTo
// and MirrorColor -> MirrorColorTo); Vertical makes the colours change from top to bottom. Then
// unless BorderColor is clNone the side lines (SidesOnly) or a frame.
void DrawGradientCell(TCanvas* Canvas, const TRect& R, TColor Color, bool Fill, bool SidesOnly,
                      TColor BorderColor, bool Vertical, TColor MirrorColorTo, TColor MirrorColor,
                      TColor ColorTo);
// The rounded selection frame. Sides: 0 both ends rounded, 1 only the left, 2 only the right,
// 3 neither.
void DrawSelectionGradient(TCanvas* Canvas, TColor Color, TColor ColorTo, int Sides, const TRect& R,
                           TColor CornerColor, TColor InnerCornerColor, TColor EdgeColor,
                           TColor LowerLineColor, TColor UpperLineColor, TColor MirrorColorTo,
                           TColor MirrorColor);
void FillRectColor(TCanvas* Canvas, const TRect& R, TColor Color);

// ---- Indicators ----

// A progress bar with its text ("<n>%" without Format, else Format applied to the position).
void DrawProgressBar(TCanvas* Canvas, TRect R, TColor DoneColor, bool Printing, TColor BorderColor,
                     const String& Format, double Maximum, double Minimum, int MarginY, int MarginX,
                     double Position, TColor RemainingTextColor, TColor RemainingColor, TColor DoneTextColor);
// A bar from the horizontal centre: right for positive values, left for negative ones.
void DrawPosNegBar(TCanvas* Canvas, TRect R, double Value, TColor PositiveColor, TColor NegativeColor,
                   bool ShowValue, double Maximum);
// A grey circle with the sector up to the percentage (clockwise from 12 o'clock) filled.
void DrawProgressPie(TCanvas* Canvas, const TRect& R, TColor FillColor, bool Printing, int Percentage);

// The appearance of a multi-level progress bar.
struct TLevelProgress {
    TColor Level0Color = clLime;
    TColor Level0ColorTo = clNone;
    TColor Level1Color = clYellow;
    TColor Level1ColorTo = clNone;
    TColor Level2Color = 0x0080FF;
    TColor Level2ColorTo = clNone;
    TColor Level3Color = clRed;
    TColor Level3ColorTo = clNone;
    int Level1Perc = 70;
    int Level2Perc = 90;
    TColor BorderColor = clBlack;
    bool ShowBorder = false;
    bool Stacked = false;
    bool ShowPercentage = true;
    TFont* Font = nullptr; // the font of the percentage (the canvas font when nullptr)
    TColor CompleteFontColor = clBlue;
    bool CompletionSmooth = true;
    bool ShowGradient = true;
    int Steps = 11;
    TColor BackgroundColor = clWhite;
    bool Vertical = false;
};

void DrawLevelProgressBar(TCanvas* Canvas, const TRect& R, int Percentage, const TLevelProgress& Level);

// ---- Shapes ----

enum TCellShape {
    csRectangle,
    csCircle,
    csTriangleLeft,
    csTriangleRight,
    csTriangleUp,
    csTriangleDown,
    csDiamond,
    csLineVert,
    csLineHorz,
    csRoundRect,
    csEllips,
    csSquare,
    csRoundSquare,
    csStar,
    csArrowUp,
    csArrowDown,
    csArrowLeft,
    csArrowRight,
    csHalfStar
};

// The shape in the box (Left, Top, Width, Height) with the outline in OutlineColor and the inside
// in FillColor. A shape value above 18 draws nothing.
void DrawCellShape(TCanvas* Canvas, int Left, int Top, TColor OutlineColor, TColor FillColor, int Shape,
                   int Height, int Width);

// ---- Button faces ----

// Looks and states of the faces.
constexpr int flThemed = 0;
constexpr int flClassic = 1;
constexpr int flFlat = 2;
constexpr int flTones = 3;
constexpr int fsNormal = 0;
constexpr int fsHot = 1;
constexpr int fsPressed = 2;
constexpr int fsDisabled = 3;

// The tone of a face state: normal Background, hot Hover, pressed Selected, disabled Disabled.
const TColorTone& ToneOfState(const TColorTones& Tones, int State);

// The binding is loaded and a visual style is active, so themed parts can be drawn.
bool ThemedDrawingAvailable();
// Draws one part of a theme class through the binding; false when it could not be drawn themed.
bool DrawThemed(TCanvas* Canvas, HWND Handle, LPCWSTR Class, int Part, int State, const TRect& R);

// The themed look draws through the grid's visual-styles binding; without it (or without an
// active visual style) the classic look is drawn instead.
void DrawComboButton(TCanvas* Canvas, HWND Handle, const TRect& R, const TColorTones& Tones, int State,
                     int Look);
void DrawButtonFrame(TCanvas* Canvas, HWND Handle, const TRect& R, const TColorTones& Tones, int State,
                     int Look);
void DrawSpinButtons(TCanvas* Canvas, HWND Handle, const TRect& R, const TColorTones& Tones, int State,
                     int Look);

// ---- Bitmaps ----

// The named bitmap resource drawn as DrawTransparentBitmap does; nothing when it is missing.
void DrawResourceBitmap(TCanvas* Canvas, TColor BackgroundColor, const TRect& R, const String& ResourceName);
// The bitmap at R's top-left corner at its own size, its pixels of the top-left pixel's colour
// replaced by BackgroundColor.
void DrawTransparentBitmap(TCanvas* Canvas, TBitmap* Bitmap, TColor BackgroundColor, const TRect& R);

// ---- Marks ----

// The red zigzag under Length characters of Text from FirstChar (0-based), for text drawn at
// R's top-left corner in Owner's font (the canvas font when Owner is nullptr), Offset pixels down.
void DrawErrorUnderline(TControl* Owner, TCanvas* Canvas, const String& Text, int Length, int FirstChar,
                        int Offset, const TRect& R);
// A small filled triangle pointing down below (X, Y).
void DrawDownTriangle(TCanvas* Canvas, int X, int Y, TColor Color);

// ---- Layered windows ----

// Call the platform's functions of that name, looked up in "USER32.DLL" at each call; true when
// the library or the function is missing.
bool CallUpdateLayeredWindow(HWND hWnd, HDC hdcDst, TPoint* pptDst, TSize* psize, HDC hdcSrc, TPoint* pptSrc,
                             COLORREF crKey, BLENDFUNCTION* pblend, DWORD dwFlags);
bool CallSetLayeredWindowAttributes(HWND hwnd, COLORREF crKey, Byte bAlpha, DWORD dwFlags);
