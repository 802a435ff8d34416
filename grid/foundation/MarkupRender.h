// The cell markup renderer: lays a small HTML-like markup out in a rectangle of a canvas and paints
// it, only measures it, or only hit-tests it against a point (which anchor, picture or embedded
// control lies under the mouse).
//
// Markup: "<" opens a tag that ends at the next ">"; tags are known by their first letter (and for
// some the next one), in any case: <A HREF TITLE>, <B>, <BR>, <BLINK>, <BODY BACKGROUND BGCOLOR>,
// <CONTROL ...>, <E>, <FONT FACE COLOR BGCOLOR SIZE>, <HI>, <HR>, <I>, <IND x>, <IMG ...>, <LI>,
// <P ALIGN INDENT BGCOLOR>, <R a>, <S>, <SHAD>, <SUB>, <SUP>, <U>, <UL>, <Z> and their closing
// forms. Unknown tags are consumed without effect; a "<" without a ">" after it ends the text.
// The renderer never raises on malformed markup or on pictures that cannot be loaded.
#pragma once

#include "Graphics.h"
#include "Messages.h"

class TCustomImageList;
class THTMLPictureCache;
class TPictureContainer;

// Everything a call passes in besides the canvas, the text and the rectangle.
struct THTMLDrawOptions {
    TCustomImageList* Images = nullptr;            // pictures "IDX:n"
    int HitX = -1, HitY = -1;                      // point to hit-test, canvas coordinates
    int FocusAnchor = -1;                          // 0-based anchor with the keyboard focus, -1 none
    int HoverAnchor = -1;                          // 1-based anchor under the mouse (hover style)
    int ShadowOffset = 1;                          // offset of <SHAD> shadows, right and down
    bool HitTestOnly = false;                      // lay out without painting; ControlID is an input
    bool MeasureOnly = false;                      // only measure; the text is not cut at the bottom
    bool Printing = false;                         // image-list and system pictures scaled by ScaleFactor
    bool KeepColors = false;                       // ignore anchor and <FONT> colours (selected cells)
    bool Blink = true;                             // blinking text is in its visible phase
    bool HoverStyle = false;                       // only the hovered anchor is underlined / hover coloured
    bool WordWrap = true;                          // wrap at blanks; without, overlong text gets an ellipsis
    bool ControlPressed = false;                   // mouse button down (pressed look of embedded buttons)
    double ScaleFactor = 1.0;                      // printing scale
    TColor URLColor = clBlue;                      // font colour of anchors
    TColor HoverColor = clNone;                    // text background of hovered anchors
    TColor HoverFontColor = clNone;                // font colour of hovered anchors
    TColor ShadowColor = clGray;                   // colour of <SHAD> shadows
    String ControlID;                              // hit-test-only: the control to report
    THTMLPictureCache* PictureCache = nullptr;     // pictures named by URL
    TPictureContainer* PictureContainer = nullptr; // pictures named by name
    HWND Window = 0;                               // window whose theme draws embedded controls
    int BiDiMode = 0;                              // 0 left to right; 1..3 right-to-left modes
};

// Everything a call hands back.
struct THTMLDrawResult {
    bool Hit = false;     // the hit point is on an anchor's text, a picture in an anchor or a control
    String Anchor;        // HREF under the hit point, "ctrl" on an embedded control
    String StrippedText;  // the visible text laid out (hidden text included), CR per <BR>
    String FocusAnchor;   // HREF of the focused anchor
    String AnchorTitle;   // TITLE of the anchor under the hit point
    int TextWidth = 0;    // widest line without a trailing blank
    int TextHeight = 0;   // sum of the line heights ("gh" height when nothing was laid out)
    int AnchorCount = 0;  // anchors laid out
    int HoverAnchor = -1; // 1-based number of the anchor under the hit point, -1 none
    TRect HoverRect;      // its rectangle
    TRect ControlRect;    // the embedded control under the hit point
    String ControlID, ControlValue, ControlType;
};

// Lays Markup out in R of Canvas; answers Result.Hit. The canvas's font, pen, brush and clip are
// as they were on return.
bool DrawHTML(TCanvas* Canvas, const String& Markup, const TRect& R, const THTMLDrawOptions& Options,
              THTMLDrawResult& Result);

// The renderer with its parameters one by one, in the order the grid and the drop-downs pass them.
bool DrawHTMLText(TCanvas* Canvas, const String& Markup, const TRect& R, TCustomImageList* Images, int XPos,
                  int YPos, int FocusLink, int HoverLink, int ShadowOffset, bool CheckHotSpot,
                  bool CheckHeight, bool Print, bool Selected, bool Blink, bool HoverStyle, bool WordWrap,
                  bool Down, double ResFactor, TColor URLColor, TColor HoverColor, TColor HoverFontColor,
                  TColor ShadowColor, String& AnchorVal, String& StripVal, String& FocusAnchor,
                  String& AnchorHint, int& XSize, int& YSize, int& HyperLinks, int& MouseLink,
                  TRect& HoverRect, TRect& ControlRect, String& CID, String& CV, String& CT,
                  THTMLPictureCache* PictureCache, TPictureContainer* PictureContainer, HWND Window,
                  int BiDiMode);

// The two colours of <HI> (text background, text), shared by every call; clHighlight and
// clHighlightText at start.
void SetHTMLHighlightColors(TColor Background, TColor Text);

// Colour of a markup colour value: "#RRGGBB", or one of the colour names ("clRed", "clBtnFace",
// any case); unknown names give black.
TColor HTMLColorValue(const String& Value);
