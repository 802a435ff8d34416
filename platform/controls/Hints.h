// Hints: the small window with a control's hint text that the application shows when the
// pointer rests over a control with ShowHint.
//
// The application watches the mouse messages of every control (TApplication::HintMouseMessage).
// When the pointer comes to rest over a control whose ShowHint is on, the hint timer runs for
// Application->HintPause (HintShortPause when a hint was just showing); when it fires, the control
// gets CM_HINTSHOW with the hint record, which it may change (text, position, colour, width, the
// window class, the rectangle the hint belongs to, the time it stays) or refuse by answering
// non-zero. The hint window then shows topmost without taking the activation, for HideTimeout
// (Application->HintHidePause); a press or a key hides it. Leaving the record's CursorRect starts
// a new pause and query. The timer can be driven by tests through HintTimerTick.
#pragma once

#include "Controls.h"

class THintWindow;

// The class of a hint window: a function that makes one (HintWindowClassOf<T>() for a class T).
using THintWindowClass = THintWindow* (*)(TComponent* AOwner);
template <class T> THintWindow* CreateHintWindowOf(TComponent* AOwner) {
    return new T(AOwner);
}
template <class T> constexpr THintWindowClass HintWindowClassOf() {
    return &CreateHintWindowOf<T>;
}

// The record CM_HINTSHOW carries (LParam points to it). Rectangles and CursorPos are in the
// hint control's client coordinates; HintPos is a screen position.
struct THintInfo {
    TControl* HintControl = nullptr;
    THintWindowClass HintWindowClass = nullptr;
    TPoint HintPos;
    int HintMaxWidth = 0;
    TColor HintColor = clInfoBk;
    TRect CursorRect;
    TPoint CursorPos;
    int ReshowTimeout = 0;
    int HideTimeout = 0;
    String HintStr;
    void* HintData = nullptr;
};
using PHintInfo = THintInfo*;

class TCMHintShow : public TMessageView {
public:
    explicit TCMHintShow(TMessage& M) : TMessageView(M) {}
    THintInfo* HintInfo() { return reinterpret_cast<THintInfo*>(LParam()); }
};

// The window class the application makes its hint window from (THintWindow unless changed).
extern THintWindowClass HintWindowClass;

// A hint window: a top-level window with a 1-pixel border (WS_POPUP | WS_BORDER), topmost and a
// tool window, shown without activation; it paints its caption in the hint colour.
class THintWindow : public TCustomControl {
public:
    explicit THintWindow(TComponent* AOwner);

    // The size the hint needs for AHint within MaxWidth (origin 0, 0).
    virtual TRect CalcHintRect(int MaxWidth, const String& AHint, void* AData);
    // Shows AHint in Rect (screen coordinates, kept on the screen), topmost without activation.
    virtual void ActivateHint(TRect Rect, const String& AHint);
    virtual void ActivateHintData(TRect Rect, const String& AHint, void* AData);
    // Hides the window (its window is destroyed; the next ActivateHint makes it anew).
    void ReleaseHandle();

protected:
    void CreateParams(TCreateParams& Params) override;
    void Paint() override;
};

// ---- Tests: the hint timer without waiting ----

enum THintTimerMode { htmNone, htmShowHint, htmHideHint };
// What the hint timer will do when it fires, and after how many milliseconds.
THintTimerMode HintTimerMode();
int HintTimerInterval();
// Fires the hint timer now (nothing when it is not running).
void HintTimerTick();
// The application's hint window when it exists and shows, else nullptr.
THintWindow* ShownHintWindow();
