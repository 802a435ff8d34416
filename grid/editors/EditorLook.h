// What the grid's editor controls (the combo box, the date pickers) share of their look: the
// placements of an attached label, the flat frame, the coloured drop-down button and the
// platform's drop-down button.
#pragma once

#include "Graphics.h"
#include "Messages.h"
#include "StdCtrls.h"

// Where an attached label sits relative to its control (lpRighBottom is spelled so). The
// editors of the grid and the date/time picker offer the first thirteen.
enum TLabelPosition {
    lpLeftTop,
    lpLeftCenter,
    lpLeftBottom,
    lpTopLeft,
    lpBottomLeft,
    lpLeftTopLeft,
    lpLeftCenterLeft,
    lpLeftBottomLeft,
    lpTopCenter,
    lpBottomCenter,
    lpRightTop,
    lpRightCenter,
    lpRighBottom,
    lpTopRight,
    lpBottomRight
};

// The label's top-left corner for a control at Bounds, a label of LabelWidth x LabelHeight
// whose caption is TextWidth wide, Margin pixels away. Halves truncate toward zero.
TPoint LabelPlace(TLabelPosition Position, const TRect& Bounds, int LabelWidth, int LabelHeight,
                  int TextWidth, int Margin);

// The flat frame in window coordinates of a control Width x Height: with FocusFrame a sunken
// outer edge, an Outer frame one pixel in and an Inner frame one more pixel in; without it an
// Outer frame, one pixel in an Outer frame that stops ButtonWidth short on the right, and one
// more pixel in an Inner frame.
void DrawFlatFrame(TCanvas* DC, int Width, int Height, TColor Outer, TColor Inner, bool FocusFrame,
                   int ButtonWidth);

// A one-pixel frame around the window.
void DrawWindowFrame(TCanvas* DC, int Width, int Height, TColor Color);

// A coloured drop-down button in R: filled (brush and pen) with Fill, a left border line in
// Border, a down-pointing triangle in Arrow at (Left + Offset, Top + 7), (Left + Offset + 6,
// Top + 7), (Left + Offset + 3, Top + 10).
void DrawColorDropButton(TCanvas* DC, const TRect& R, TColor Fill, TColor Border, TColor Arrow, int Offset);

// The platform's drop-down button in R: the "combobox" theme's drop-down button in State
// (CBXS_*) when themed drawing is on, else the combo-box scroll arrow frame control (flat when
// enabled, inactive when not) in Classic.
void DrawPlatformDropButton(TCanvas* DC, HWND Window, const TRect& R, const TRect& Classic, bool Themed,
                            int State, bool Enabled);

// The colours of a coloured drop-down button; Color clNone: the platform's button.
struct TDropButtonColors {
    TColor Color = clNone, Hot = clNone, Down = clNone, Border = clNone, Text = clNone, TextDown = clNone;
};

// The editors' drop-down button: with Colors.Color set, the coloured button in ColorRect (Hot
// while hovered, Down while hovered with the left button down; the arrow in TextDown while the
// button is down) with its arrow at ArrowOffset; else the platform's button in R (Classic
// without themes) in the state that enabling, the left button, Dropped and Hover give.
void DrawEditorDropButton(TCanvas* DC, HWND Window, const TRect& R, const TRect& ColorRect,
                          const TRect& Classic, const TDropButtonColors& Colors, int ArrowOffset,
                          bool Enabled, bool Hover, bool Dropped, bool Themed);

// The frame an editor with colourable borders draws around its window.
struct TEditorFrame {
    int Width = 0, Height = 0;
    bool Enabled = true, Themed = false, DisabledBorder = false, HasFocus = false;
    TColor BorderColor = clNone, FocusBorderColor = clNone;
    // The flat frame when no border colour applies: with the focus frame, and its colours.
    bool FocusFrame = false;
    TColor Outer = clNone, Inner = clNone;
    int ButtonWidth = 0;
};
// The frame of Control (window size, enabled state, colour, parent's colour) with the given
// settings; the flat frame shows the focus when FocusBorder is on, the control is not being
// designed and the mouse is in it or it has the focus.
TEditorFrame EditorFrame(TWinControl* Control, bool Themed, bool DisabledBorder, bool HasFocus,
                         TColor BorderColor, TColor FocusBorderColor, bool FocusBorder, bool MouseInControl,
                         int ButtonWidth);
// Disabled, themed and without DisabledBorder: $B99D7F; focused with FocusBorderColor: that
// colour; BorderColor: that colour; only FocusBorderColor and not focused: nothing; neither:
// the flat frame (answers true then).
bool DrawEditorFrame(TCanvas* DC, const TEditorFrame& Frame);

// The frame colour of a disabled themed editor.
constexpr TColor DisabledThemedBorder = TColor(0xB99D7F);

// The button area R of an unthemed editor: a raised edge (sunken while Dropped) when Active and
// Edged, else the button face (less one pixel at top, bottom and right when not active); it is
// excluded from later drawing.
void DrawButtonArea(TCanvas* DC, TRect R, bool Active, bool Edged, bool Dropped);

// A label attached to Control: owned by it, on its parent, focusing it, in LabelFont.
TLabel* CreateAttachedLabel(TWinControl* Control, TFont* LabelFont);
// Moves Label to Position beside Control, Margin away (its caption TextWidth wide); it shows
// when the control does.
void PlaceAttachedLabel(TLabel* Label, TControl* Control, TLabelPosition Position, int Margin, int TextWidth);
// Bold on or off (the focus label).
void SetLabelBold(TLabel* Label, bool Bold);

// The version number $AABBCCDD as "AA.BB.CC.DD" in decimals.
String VersionString(int Number);
