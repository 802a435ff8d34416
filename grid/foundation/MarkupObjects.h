// The objects a line of cell markup can hold besides text: pictures of <IMG> (from an image list,
// the system icons, a picture container or the URL picture cache), the tiled picture of
// <BODY BACKGROUND>, and embedded controls of <CONTROL> (edit, password, masked edit, combo, check
// box, radio button, push button) drawn in the themed or the classic look.
//
// The markup renderer lays lines out; these routines find, size, paint and hit-test one object at
// the place the renderer gives them.
#pragma once

#include "Graphics.h"
#include "Messages.h"

class TCustomImageList;
class THTMLPictureCache;
class TPictureContainer;
class THTMLPicture;

// What objects need to know of the renderer's call.
struct TMarkupObjectCall {
    TCanvas* Canvas = nullptr;
    TCustomImageList* Images = nullptr;
    THTMLPictureCache* Cache = nullptr;
    TPictureContainer* Container = nullptr;
    HWND Window = 0;
    bool Themed = false;
    bool Printing = false;
    double ScaleFactor = 1.0;
    bool ControlPressed = false;
    bool HitTestOnly = false;
    int HitX = -1, HitY = -1;
    String ControlID;                 // hit-test only: the control to report
    TColor EntryBrushColor = clWhite; // the canvas brush colour when the call began
    int HoveredPicture = -1;          // picture under the hit point; runs through the call
};

// Where on its line an object goes.
struct TMarkupObjectSlot {
    bool Painting = false;
    int X = 0;         // current drawing position
    int LineLeft = 0;  // left edge of the line
    int LineWidth = 0; // width of the line before the object
    int LineTop = 0;
    int Bottom = 0;         // bottom of the line's text
    int TextHeight = 0;     // height of "gh" in the current font
    int PictureCounter = 0; // pictures met so far in the call (the routine counts <IMG>)
    bool AnchorOpen = false;
    String Href, Title;
};

enum TMarkupRaise { mrNoRaise, mrRaiseTop, mrRaiseMiddle };

// What the renderer does with an object.
struct TMarkupObject {
    bool Present = false; // takes space (else: nothing drawn, nothing reported)
    int Width = 0, Height = 0;
    int SetLineHeight = -1; // set (not raised) the line height to this before fitting
    TMarkupRaise Raise = mrNoRaise;
    // The hit point is on the object (a picture inside an anchor, or a control).
    bool Hit = false;
    bool IsControl = false;
    String Anchor, Title;
    TRect ControlRect;
    String ControlID, ControlValue, ControlType;
};

// <IMG SRC ALT WIDTH HEIGHT ALIGN>. Tag is the tag's text from "<" to ">".
TMarkupObject PlaceHTMLImage(TMarkupObjectCall& Call, TMarkupObjectSlot& Slot, const String& Tag);

// <CONTROL TYPE ID VALUE WIDTH HEIGHT ...>.
TMarkupObject PlaceHTMLControl(TMarkupObjectCall& Call, TMarkupObjectSlot& Slot, const String& Tag);

// <BODY BACKGROUND="...">: tiles the picture over R (painting only); the canvas clip is as before.
void DrawHTMLBackground(TMarkupObjectCall& Call, const String& Tag, const TRect& R);

// The picture a source names in the picture container (a name without ":") or the URL cache
// (a source with "://", loaded on first use); nullptr when there is none or it is empty.
// Source is upper-cased as the markup reads it; WrittenSource is the same text as written, used
// to open files and resources on case-sensitive systems.
THTMLPicture* FindHTMLPicture(TMarkupObjectCall& Call, const String& Source, const String& WrittenSource);
