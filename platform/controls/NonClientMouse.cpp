// The parts of a window under the pointer (WM_NCHITTEST), the non-client mouse messages for
// the parts that are not the client area, and the sizing of a top-level window that a press on
// a sizing part starts (WM_NCLBUTTONDOWN's default), with WM_SIZING before each new size.
#include "WindowFrame.h"
#include "WindowSizing.h"

#include "Forms.h"
#include "QtBridge.h"

#include <algorithm>

namespace {

// The window the platform sizes itself (where the window system cannot): the pointer's start
// and the window's bounds then.
struct TSizing {
    HWND Window = 0;
    WPARAM Edge = 0;
    TPoint Start;
    TRect StartBounds;
};
TSizing GSizing;

TWinControl* TopLevelOf(TWinControl* Window) {
    while (Window && Window->Parent()) Window = Window->Parent();
    return Window;
}

// WM_SIZING to Window with the rectangle it is about to get; the answer is the one it takes.
TRect SendSizing(TWinControl* Window, WPARAM Edge, TRect Rect) {
    Window->Perform(WM_SIZING, Edge, reinterpret_cast<LPARAM>(&Rect));
    return Rect;
}

void EndSizing() {
    TControl* window = GSizing.Window ? FindControl(GSizing.Window) : nullptr;
    GSizing = TSizing();
    if (window && TControlPrivate::Capture() == window) ReleaseCapture();
}

} // namespace

LRESULT TWindowExtras::HitTest(TWinControl* Window, const TPoint& Screen) {
    if (!Window || !Window->HandleAllocated()) return HTCLIENT;
    LRESULT hit = HTCLIENT;
    TControlPrivate::Guard(Window, [&] { hit = Window->Perform(WM_NCHITTEST, 0, PointToLParam(Screen)); });
    return hit;
}

void TWindowExtras::NonClientMouse(TWinControl* Window, LRESULT Hit, UINT Msg, const TPoint& Screen) {
    const HWND h = Window->Handle();
    const bool press = Msg == WM_LBUTTONDOWN || Msg == WM_RBUTTONDOWN || Msg == WM_MBUTTONDOWN ||
                       Msg == WM_LBUTTONDBLCLK || Msg == WM_RBUTTONDBLCLK || Msg == WM_MBUTTONDBLCLK;
    if (Msg == WM_MOUSEMOVE || press) {
        // No control's client area lies under the pointer.
        TControlPrivate::SetMouseControl(nullptr);
        PointerMoved(Window, Screen, Msg, true, Hit);
        if (FindControl(h) != Window) return;
    } else {
        PointerMoved(Window, Screen, Msg, false, Hit);
    }
    if (press) TControlPrivate::ActivateFormOf(Window);
    if (FindControl(h) != Window) return;
    // The client mouse messages and the non-client ones lie the same distance apart.
    const UINT nc = Msg - WM_MOUSEMOVE + WM_NCMOUSEMOVE;
    TControlPrivate::Guard(Window, [&] { Window->Perform(nc, WPARAM(Hit), PointToLParam(Screen)); });
}

void TWindowExtras::StartSizing(TWinControl* Window, LRESULT Hit, const TPoint& Screen) {
    if (Hit != HTBOTTOMRIGHT) return;
    TWinControl* top = TopLevelOf(Window);
    if (!top || !top->HandleAllocated()) return;
    if (StartSystemSizing(top->Handle(), Hit)) return;
    // Offscreen there is no window system to size the window: the pointer sizes it from here on,
    // with the capture, until the button goes up.
    EndSizing();
    SetCapture(top->Handle());
    GSizing.Window = top->Handle();
    GSizing.Edge = WMSZ_BOTTOMRIGHT;
    GSizing.Start = Screen;
    GSizing.StartBounds = top->BoundsRect();
}

bool TWindowExtras::FollowSizing(UINT Msg, const TPoint& Screen) {
    if (!GSizing.Window) return false;
    auto* window = dynamic_cast<TWinControl*>(FindControl(GSizing.Window));
    // The capture went elsewhere (a modal window, a cancel): the sizing ends there.
    if (!window || TControlPrivate::Capture() != window) {
        EndSizing();
        return false;
    }
    PointerMoved(nullptr, Screen, Msg, false);
    if (Msg == WM_LBUTTONUP) {
        EndSizing();
        return true;
    }
    if (Msg != WM_MOUSEMOVE) return true;
    const TRect& b = GSizing.StartBounds;
    const TRect r =
        SendSizing(window, GSizing.Edge,
                   TRect(b.Left, b.Top, std::max(b.Left + 1, b.Right + Screen.X - GSizing.Start.X),
                         std::max(b.Top + 1, b.Bottom + Screen.Y - GSizing.Start.Y)));
    if (FindControl(GSizing.Window) == window) window->SetBounds(r.Left, r.Top, r.Width(), r.Height());
    return true;
}

TRect TWindowExtras::UserSized(TWinControl* Window, const TRect& Rect) {
    // The window system does not say which edge the user drags.
    return SendSizing(Window, WMSZ_BOTTOMRIGHT, Rect);
}
