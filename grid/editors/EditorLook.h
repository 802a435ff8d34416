// What the grid's editor controls (the combo box, the date pickers) share of their look: the
// placements of an attached label, the flat frame, the coloured drop-down button and the
// platform's drop-down button.
#pragma once

#include "Graphics.h"
#include "Messages.h"

// Where an attached label sits relative to its control (the last is spelled so).
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
    lpRighBottom
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

// The version number $AABBCCDD as "AA.BB.CC.DD" in decimals.
String VersionString(int Number);
