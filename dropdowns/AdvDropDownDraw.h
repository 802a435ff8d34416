// Painting routines of the drop-down unit and the colour tables of its looks. The popup form,
// the popup's header and footer strips and their buttons, the item selector and several
// drop-downs paint with these routines; the grid control paints its cell, background and
// search-panel gradients with DrawSteppedGradient. One copy serves the whole control library.
//
// The routines keep no state and leave pen, brush and font as they last set them. Colours are
// resolved with ColorToRGB (system colours included) before any arithmetic.
//
// The tables hold what a drop-down writes into its popup, header, footer and button colours
// when a component style is set, the selection colours of a selection colour style, and the
// item colours of the pickers' item lists. They are data only: the drop-down applies them.
#pragma once

#include "AdvStyleIF.h"     // TKitStyle
#include "CategoryPanels.h" // TGradientDirection
#include "Graphics.h"

#include <optional>

class TCustomImageList;

// ---- Colour arithmetic ----

// Percent >= 100 gives Color1 and Percent <= 0 Color2, both unchanged; otherwise each channel
// is Percent % of Color1's plus the rest of Color2's.
TColor BlendColor(TColor Color1, TColor Color2, int Percent);
// Each channel with its delta: a non-zero channel is scaled by (100 + Delta) % (a positive delta
// leaves it as it is), a zero channel becomes Delta (none below 0); results stay within 0..255.
TColor ScaleColorChannels(TColor Color, int DeltaRed, int DeltaGreen, int DeltaBlue);

// ---- Fills ----

// Fills Rect with Steps solid bands from FromColor towards ToColor, left to right (Horizontal)
// or top to bottom. Neighbouring bands overlap by one pixel; Steps 0 is one band.
void DrawSteppedGradient(TCanvas* Canvas, TColor FromColor, TColor ToColor, int Steps, TRect Rect,
                         bool Horizontal);
// An 80-band gradient Color -> ColorTo (solid Color when ColorTo is clNone, nothing when both
// are), then a frame of BorderWidth in BorderColor unless that is clNone or the width is 0.
void DrawGradientBox(TCanvas* Canvas, const TRect& Rect, TColor Color, TColor ColorTo, TColor BorderColor,
                     int BorderWidth, TGradientDirection Direction);

// ---- Images and text ----

// The image (when ImageIndex >= 0 and Images is set) 4 pixels in from Rect's left, vertically
// centred, then Text on one line, vertically centred, ending in an ellipsis when it is too
// long: after the image, or centred when no image was drawn.
void DrawImageAndText(TCanvas* Canvas, TRect Rect, const String& Text, int ImageIndex,
                      TCustomImageList* Images);
// The glyph at Rect's top-left corner, as much of it as Rect holds, its pixels of the colour of
// its pixel (0, 0) replaced by BackColor.
void DrawTransparentGlyph(TCanvas* Canvas, TBitmap* Glyph, TColor BackColor, const TRect& Rect);
// Width and height of Text on one line in the canvas's font; (0, 0) for an empty text.
TSize GetTextSize(TCanvas* Canvas, const String& Text);
// Text when it is not wider than MaxWidth; else the longest head of it (followed by "..." with
// Ellipsis) that is narrower than MaxWidth; Text when none is.
String TruncateText(TCanvas* Canvas, const String& Text, int MaxWidth, bool Ellipsis);
// Markup text laid out in Rect: painted when Paint is true, only measured otherwise. Size gets
// the text's width and height ((0, 0) for an empty text).
void DrawMarkupText(TCanvas* Canvas, const String& Text, const TRect& Rect, TPoint& Size, HWND WindowHandle,
                    bool Paint, TCustomImageList* Images);
// Text itself when CaseSensitive, else its upper case by the locale's rules.
String CaseAdjust(const String& Text, bool CaseSensitive);

// ---- Colour tables ----

// Selection colours of a drop-down's lists.
enum TSelectionColorStyle { scCustom, scOffice2007, scWindowsVista, scWindows7 };

// SelectionColor -> SelectionColorTo of a selection colour style, and the frame that the
// selection gradient gets: corner, border, the inner lines below the top and above the bottom,
// and the lower half's gradient (clNone: the whole fill is one gradient).
struct TSelectionStyleColors {
    TColor Color, ColorTo;
    TColor Corner, Border, InnerTop, InnerBottom, MirrorFrom, MirrorTo;
};
// nullptr for scCustom, which keeps the colours.
const TSelectionStyleColors* SelectionStyleColors(TSelectionColorStyle Style);

// A strip's four colours under a component style.
struct TStripStyleColors {
    TColor Color, ColorTo, FontColor, BorderColor;
};
// The popup's colours (an empty value: left as it is), the header's and the footer's.
struct TPopupStyleColors {
    TColor DropDownColor;
    TColor DropDownColorTo;
    std::optional<TColor> DropDownBorderColor;
    TStripStyleColors Header, Footer;
};
// The strip buttons' colours. The disabled border is left as it is.
struct TButtonStyleColors {
    TColor Color, ColorTo, BorderColor;
    TColor ColorHot, ColorHotTo, BorderColorHot;
    TColor ColorDown, ColorDownTo, BorderColorDown;
    TColor ColorDisabled, ColorDisabledTo;
    TColor ColorChecked, ColorCheckedTo, BorderColorChecked;
};
// The item lists' colours. Before them the hot and selected borders become clNone and the hot
// and selected text colours clBlack; then ColorSelectedText, when given, replaces the latter.
struct TItemStyleColors {
    TColor ColorHot, ColorHotTo, ColorMirrorHot, ColorMirrorHotTo;
    TColor ColorSelected, ColorSelectedTo, ColorMirrorSelected, ColorMirrorSelectedTo;
    TColor BorderColor, BorderColorTop, BorderColorBottom, EdgeColor;
    std::optional<TColor> ColorSelectedText;
};
// nullptr for tsCustom, which stores the style and changes no colour.
const TPopupStyleColors* PopupStyleColors(TKitStyle Style);
const TButtonStyleColors* ButtonStyleColors(TKitStyle Style);
const TItemStyleColors* ItemStyleColors(TKitStyle Style);

// ---- For units that see the forms ----
//
// The grid foundation's drawing header names face states that clash with the forms' form
// styles, so units that include Forms.h draw through these.

// A selected item's background under a selection colour style: the style's rounded gradient
// frame (DrawSelectionGradient) filled from Color to ColorTo, BackColor in the outermost corner
// pixels, Sides as there (0 both ends rounded, 1 left, 2 right, 3 neither); scCustom fills Rect
// with Color (pen and brush).
void DrawSelectionStyleBackground(TCanvas* Canvas, const TRect& Rect, TSelectionColorStyle Style,
                                  TColor Color, TColor ColorTo, TColor BackColor, int Sides);
// The rounded selection frame with colours of its own (the item lists' hot and selected items):
// Face -> FaceTo (and Mirror -> MirrorTo in the lower half unless clNone), Border around, Top
// and Bottom inner lines, Edge in the corner pixels and BackColor in the outermost ones.
void DrawSelectionFrame(TCanvas* Canvas, const TRect& Rect, TColor Face, TColor FaceTo, TColor Mirror,
                        TColor MirrorTo, TColor Border, TColor Top, TColor Bottom, TColor Edge,
                        TColor BackColor);
// One part of a theme class through the visual-styles binding; false when it could not be drawn
// themed (DrawThemed of the grid foundation).
bool DrawThemedPart(TCanvas* Canvas, HWND Handle, const char16_t* Class, int Part, int State, const TRect& R);
// A push button's face in State 1 normal, 2 hot, 3 pressed or 4 disabled: the theme's "button"
// part while visual styles are active, the plain push-button face of the platform otherwise.
void DrawPushButtonFace(TCanvas* Canvas, HWND Handle, const TRect& R, int State);
