// The pointer's cursor through WM_SETCURSOR, the pointer position the mouse messages saw, and
// the loss of the mouse capture (WM_CAPTURECHANGED, WM_CANCELMODE).
#include "WindowFrame.h"

#include "Forms.h"
#include "QtBridge.h"

#include <QCursor>

namespace {

TPoint GPointer;
bool GHasPointer = false;
HWND GCursorWindow = 0; // the window whose WM_SETCURSOR runs

// The window that holds a control's cursor: the control's own, a graphic control's parent's.
TWinControl* WindowOf(TControl* C) {
    if (auto* w = dynamic_cast<TWinControl*>(C)) return w;
    return C ? C->Parent() : nullptr;
}

} // namespace

void TWindowExtras::PointerMoved(TWinControl* Window, const TPoint& Screen, UINT Msg, bool SendSetCursor,
                                 LRESULT Hit) {
    GPointer = Screen;
    GHasPointer = true;
    if (!SendSetCursor || !Window || !Window->HandleAllocated()) return;
    const HWND h = Window->Handle();
    const HWND outer = GCursorWindow;
    GCursorWindow = h;
    TControlPrivate::Guard(Window, [&] { Window->Perform(WM_SETCURSOR, h, MAKELPARAM(int(Hit), int(Msg))); });
    GCursorWindow = outer;
}

bool GetCursorPos(TPoint& Point) {
    if (GHasPointer) {
        Point = GPointer;
    } else {
        const QPoint p = QCursor::pos();
        Point = TPoint(p.x(), p.y());
    }
    return true;
}

void SetCursor(const QCursor& Cursor) {
    TWinControl* w = GCursorWindow ? FindControl(GCursorWindow) : WindowOf(TControlPrivate::MouseControl());
    if (QWidget* widget = w ? w->WidgetIfAllocated() : nullptr) widget->setCursor(Cursor);
}

void TWinControl::WMSetCursor(TWMSetCursor& Message) {
    if (HWND(Message.CursorWnd) == FHandle && SmallInt(Message.HitTest) == HTCLIENT) {
        TCursor cursor = Screen ? Screen->Cursor() : crDefault;
        if (cursor == crDefault) {
            TPoint p;
            GetCursorPos(p);
            if (TControl* child = ControlAtPos(ScreenToClient(p), false)) cursor = child->Cursor();
            if (cursor == crDefault) cursor = Cursor();
        }
        if (cursor != crDefault && Screen) {
            ::SetCursor(Screen->Cursors(cursor));
            Message.Result = 1;
            return;
        }
    }
    DefaultHandler(Message);
}

// =============================================================================================
// Capture

void TWindowExtras::CaptureChanged(TControl* Lost, TControl* New) {
    TWinControl* w = WindowOf(New);
    const HWND h = w && w->HandleAllocated() ? w->Handle() : 0;
    TControlPrivate::Guard(Lost, [&] { Lost->Perform(WM_CAPTURECHANGED, 0, LPARAM(h)); });
}

void CancelCapture() {
    if (TControl* c = TControlPrivate::Capture()) {
        TControlPrivate::Guard(c, [&] { c->Perform(WM_CANCELMODE); });
    }
    ReleaseCapture();
}

void TControl::WMCancelMode(TWMCancelMode& Message) {
    DefaultHandler(Message);
    if (MouseCapture())
        SetMouseCapture(false);
    else
        FControlState.erase(csLButtonDown);
}

void TControl::WMCaptureChanged(TWMCaptureChanged& Message) {
    DefaultHandler(Message);
    // The capture went while the left button was held: the press ends as a release outside the
    // control (no click), so sizing, moving or selecting with the mouse ends.
    if (FControlState.count(csLButtonDown)) Perform(WM_LBUTTONUP, 0, MAKELPARAM(-1, -1));
}
