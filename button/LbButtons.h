// Companion unit of the owner-drawn button: its enumerations, the hot-track fade thread and the
// routines that paint a button face.
#pragma once

#include "Buttons.h"
#include "Classes.h"
#include "Graphics.h"

// Face styles.
enum TLbButtonStyle { bsNormal, bsEncarta, bsModern, bsOld, bsShape, bsQuicken };

// Colour presets; lcsCustom leaves the colours as they are.
enum TLbColorStyle {
    lcsCustom,
    lcsGold,
    lcsChrome,
    lcsBlue,
    lcsRed,
    lcsUltraFlat1,
    lcsUltraFlat2,
    lcsUltraFlatXP,
    lcsAqua,
    lcsDefault,
    lcsQuicken
};

// Standard-button presets.
enum TLbButtonKind {
    bkCustom,
    bkOK,
    bkCancel,
    bkHelp,
    bkYes,
    bkNo,
    bkClose,
    bkAbort,
    bkRetry,
    bkIgnore,
    bkAll
};

// Position of the glyph relative to the caption: the class library's button layout.
using TLbButtonLayout = TButtonLayout;

// Drives the hot-track fade of a button: every 30 ms it calls FNotify on the main thread (with
// itself as sender) until it is asked to end. It never touches the button itself.
class TLbButtonThread : public TThread {
public:
    // Created suspended; the owner resumes, ends and frees it.
    explicit TLbButtonThread(TNotifyEvent DoNotify);

    TNotifyEvent FNotify;

protected:
    void Execute() override;
    // Runs on the main thread.
    void DoEvent();
};

// The values a colour preset gives a button.
struct TLbColorStyleColors {
    TColor Color;
    TColor LightColor;
    TColor ShadowColor;
    TColor ColorWhenDown;
    TColor HotTrackColor;
    bool Flat;
    TLbButtonStyle Style;
    TColor FontColor;
};

// The colours of preset Value; false for lcsCustom (which changes nothing) and values out of range.
bool GetColorStyleColors(TLbColorStyle Value, TLbColorStyleColors& Colors);

// Color mixed toward HotTrackColor by Step/8 (Step 0..8), channel by channel, truncated.
// System colours are resolved to their RGB values first.
TColor BlendHotTrackColor(TColor Color, TColor HotTrackColor, int Step);

// 32 horizontal bands from StartColor at the top to EndColor at the bottom, filling
// (Left, Top, Right, Bottom); band i starts at Top + i * (Bottom - Top) div 31 and is
// (Bottom - Top) div 31 + 1 high, cut at Bottom.
void DrawGradient(TCanvas* Canvas, TColor StartColor, TColor EndColor, int Left, int Top, int Right,
                  int Bottom);

// Draws the glyph frame that starts FrameOffset pixels into the strip Glyph at (X, Y),
// transparently (the frame's bottom-left pixel gives the transparent colour). A frame beyond the
// strip shows the first one.
void DrawGlyphFrame(TCanvas* Canvas, TBitmap* Glyph, int X, int Y, int FrameOffset, int FrameHeight,
                    int FrameWidth);

// Paints a whole button face W x H onto Canvas: background, frame, caption and glyph frame, and
// the popup-menu mark. Glyph may be nullptr; Hot means the pointer is on the button or it has the
// focus; NoBackground leaves the background unpainted.
void DrawButtonFace(TCanvas* Canvas, int W, int H, int HotTrackStep, int NumGlyphs, TBitmap* Glyph,
                    bool Pressed, bool Hot, bool NoBackground, bool Enabled, bool Flat, bool WordWrap,
                    bool HasPopupMenu, TLbButtonStyle Style, TColor Color, TColor ColorWhenDown,
                    TColor HotTrackColor, TColor LightColor, TColor ShadowColor, TFont* Font,
                    TLbButtonLayout Layout, const String& Caption, TAlignment Alignment);
