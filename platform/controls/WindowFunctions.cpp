#include "Controls.h"

#include "ActnList.h"
#include "Forms.h"
#include "Menus.h"
#include "QtBridge.h"
#include "StandIn.h"
#include "WindowFrame.h"

#include <QApplication>
#include <QCursor>
#include <QPainter>
#include <QTimer>
#include <QWindow>

#include <algorithm>

namespace {

// The topmost parent of a control (the control itself when it has none).
const TControl* RootOf(const TControl* C) {
    while (C && C->Parent()) C = C->Parent();
    return C;
}

} // namespace

// =============================================================================================
// Mouse

static TMouse GMouse;
TMouse* Mouse = &GMouse;

// The pointer as the mouse messages saw it last (GetCursorPos).
TPoint TMouse::CursorPos() const {
    TPoint p;
    GetCursorPos(p);
    return p;
}

void TMouse::SetCursorPos(const TPoint& Value) {
    QCursor::setPos(Value.X, Value.Y);
    TWindowExtras::PointerMoved(nullptr, Value, WM_MOUSEMOVE, false);
}

HWND TMouse::Capture() const {
    return GetCapture();
}
void TMouse::SetCapture(HWND Value) {
    ::SetCapture(Value);
}
TControl* TMouse::CaptureControl() const {
    return TControlPrivate::Capture();
}

int TMouse::WheelScrollLines() const {
    return QCoreApplication::instance() ? QApplication::wheelScrollLines() : 3;
}

// =============================================================================================
// Functions on windows

TCustomForm* GetParentForm(const TControl* Control, bool TopForm) {
    if (!Control) return nullptr;
    if (!TopForm) {
        for (const TControl* c = Control; c; c = c->Parent())
            if (c->IsFormWindow()) return static_cast<TCustomForm*>(const_cast<TControl*>(c));
        return nullptr;
    }
    const TControl* root = RootOf(Control);
    return root->IsFormWindow() ? static_cast<TCustomForm*>(const_cast<TControl*>(root)) : nullptr;
}

TCustomForm* ValidParentForm(const TControl* Control, bool TopForm) {
    TCustomForm* f = GetParentForm(Control, TopForm);
    if (!f)
        throw EInvalidOperation(
            QStringLiteral("Control '%1' has no parent window").arg(Control ? Control->Name() : String()));
    return f;
}

bool IsWindow(HWND Wnd) {
    return FindControl(Wnd) != nullptr;
}

bool IsWindowVisible(HWND Wnd) {
    TWinControl* c = FindControl(Wnd);
    return c && c->Showing();
}

bool IsWindowEnabled(HWND Wnd) {
    TWinControl* c = FindControl(Wnd);
    if (!c || (c->WindowStyle() & WS_DISABLED)) return false;
    for (const TControl* p = c; p; p = p->Parent())
        if (!p->Enabled()) return false;
    return true;
}

bool EnableWindow(HWND Wnd, bool Enable) {
    TWinControl* c = FindControl(Wnd);
    if (!c) return false;
    bool wasDisabled = !c->Enabled();
    c->SetEnabled(Enable);
    return wasDisabled;
}

bool ShowWindow(HWND Wnd, int CmdShow) {
    TWinControl* c = FindControl(Wnd);
    if (!c) return false;
    bool was = c->Visible();
    if (CmdShow == SW_SHOWMINIMIZED || CmdShow == SW_MINIMIZE || CmdShow == SW_SHOWMAXIMIZED ||
        CmdShow == SW_RESTORE)
        PlatformStandIn("ShowWindow(SW_MINIMIZE/SW_SHOWMAXIMIZED/SW_RESTORE)"); // shown as it is
    if (auto* f = dynamic_cast<TCustomForm*>(c)) {
        if (CmdShow == SW_HIDE)
            f->Hide();
        else
            f->Show();
    } else {
        c->SetVisible(CmdShow != SW_HIDE);
        // A window of its own takes the activation (and the keyboard) unless it is shown
        // without: SW_SHOWNA, SW_SHOWNOACTIVATE, a disabled or WS_EX_NOACTIVATE window.
        const bool activates = CmdShow != SW_HIDE && CmdShow != SW_SHOWNA && CmdShow != SW_SHOWNOACTIVATE &&
                               CmdShow != SW_MINIMIZE && !(c->WindowExStyle() & WS_EX_NOACTIVATE);
        if (activates && TWindowExtras::IsPopup(c) && c->Showing() && IsWindowEnabled(Wnd))
            TControlPrivate::ActivateWindow(c);
    }
    return was;
}

bool SetWindowPos(HWND Wnd, HWND InsertAfter, int X, int Y, int CX, int CY, UINT Flags) {
    TWinControl* c = FindControl(Wnd);
    if (!c) return false;
    int l = (Flags & SWP_NOMOVE) ? c->Left() : X;
    int t = (Flags & SWP_NOMOVE) ? c->Top() : Y;
    int w = (Flags & SWP_NOSIZE) ? c->Width() : CX;
    int h = (Flags & SWP_NOSIZE) ? c->Height() : CY;
    c->SetBounds(l, t, w, h);
    if (!(Flags & SWP_NOZORDER)) {
        if (InsertAfter == HWND_TOPMOST || InsertAfter == HWND_NOTOPMOST)
            PlatformStandIn("SetWindowPos(HWND_TOPMOST/HWND_NOTOPMOST)"); // order only, not stay-on-top
        if (InsertAfter == HWND_TOP || InsertAfter == HWND_TOPMOST)
            c->BringToFront();
        else if (InsertAfter == HWND_BOTTOM)
            c->SendToBack();
    }
    // The frame is measured and painted anew (WM_NCPAINT), as after a change of the styles.
    if ((Flags & SWP_FRAMECHANGED) && c->HandleAllocated()) TWindowExtras::StylesChanged(c);
    if (Flags & SWP_SHOWWINDOW) ShowWindow(Wnd, (Flags & SWP_NOACTIVATE) ? SW_SHOWNA : SW_SHOW);
    if (Flags & SWP_HIDEWINDOW) ShowWindow(Wnd, SW_HIDE);
    return true;
}

namespace {

QRegion RectRegion(const TRect& R) {
    return QRegion(R.Left, R.Top, std::max(0, R.Width()), std::max(0, R.Height()));
}

} // namespace

bool InvalidateRect(HWND Wnd, const TRect* R, bool Erase) {
    if (!R) return InvalidateRgn(Wnd, nullptr, Erase);
    const QRegion region = RectRegion(*R);
    return InvalidateRgn(Wnd, &region, Erase);
}

bool InvalidateRgn(HWND Wnd, const QRegion* Rgn, bool Erase) {
    TWinControl* c = FindControl(Wnd);
    if (!c) return false;
    c->AddUpdateRegion(Rgn ? *Rgn : c->PaintArea(), Erase);
    return true;
}

bool ValidateRect(HWND Wnd, const TRect* R) {
    TWinControl* c = FindControl(Wnd);
    if (!c) return false;
    c->RemoveUpdateRegion(R ? RectRegion(*R) : c->PaintArea());
    return true;
}

bool GetUpdateRect(HWND Wnd, TRect& R, bool Erase) {
    QRegion region;
    const bool any = GetUpdateRgn(Wnd, region, Erase) > NULLREGION;
    const QRect box = region.boundingRect();
    R = any ? Bounds(box.x(), box.y(), box.width(), box.height()) : TRect();
    return any;
}

int GetUpdateRgn(HWND Wnd, QRegion& Rgn, bool Erase) {
    TWinControl* c = FindControl(Wnd);
    if (!c) return RGN_ERROR;
    if (Erase) c->EraseUpdateRegion();
    c->ResolveUpdateRegion();
    Rgn = c->FUpdateRgn;
    if (Rgn.isEmpty()) return NULLREGION;
    return Rgn.rectCount() == 1 ? SIMPLEREGION : COMPLEXREGION;
}

HDC BeginPaint(HWND Wnd, PAINTSTRUCT& PS) {
    TWinControl* c = FindControl(Wnd);
    if (!c) {
        PS = PAINTSTRUCT();
        return nullptr;
    }
    return c->StartPaint(PS);
}

bool EndPaint(HWND Wnd, const PAINTSTRUCT& PS) {
    TWinControl* c = FindControl(Wnd);
    if (!c) return false;
    c->FinishPaint(PS);
    return true;
}

bool UpdateWindow(HWND Wnd) {
    TWinControl* c = FindControl(Wnd);
    if (!c) return false;
    c->Update();
    return true;
}

HWND GetParent(HWND Wnd) {
    TWinControl* c = FindControl(Wnd);
    return c && c->Parent() && c->Parent()->HandleAllocated() ? c->Parent()->Handle() : 0;
}

bool GetClientRect(HWND Wnd, TRect& R) {
    TWinControl* c = FindControl(Wnd);
    if (!c) return false;
    R = c->ClientRect();
    return true;
}

bool GetWindowRect(HWND Wnd, TRect& R) {
    TWinControl* c = FindControl(Wnd);
    if (!c) return false;
    TPoint o = c->Parent() && !TWindowExtras::IsPopup(c)
                   ? c->Parent()->ClientToScreen(TPoint(c->Left(), c->Top()))
                   : TPoint(c->Left(), c->Top());
    R = Bounds(o.X, o.Y, c->Width(), c->Height());
    return true;
}

HWND GetFocus() {
    TWinControl* c = TControlPrivate::Focused();
    return c && c->HandleAllocated() ? c->Handle() : 0;
}

HWND SetFocus(HWND Wnd) {
    HWND old = GetFocus();
    TWinControl* c = FindControl(Wnd);
    if (Wnd && !c) return 0;
    TControlPrivate::FocusWindow(c);
    return old;
}

HWND GetCapture() {
    TControl* c = TControlPrivate::Capture();
    if (!c) return 0;
    auto* w = dynamic_cast<TWinControl*>(c);
    if (!w) w = c->Parent();
    return w && w->HandleAllocated() ? w->Handle() : 0;
}

HWND SetCapture(HWND Wnd) {
    HWND old = GetCapture();
    TControlPrivate::SetCapture(FindControl(Wnd));
    return old;
}

bool ReleaseCapture() {
    TControlPrivate::SetCapture(nullptr);
    return true;
}

bool StartSystemSizing(HWND Wnd, LRESULT HitTest) {
    TWinControl* c = FindControl(Wnd);
    QWidget* w = c ? c->WidgetIfAllocated() : nullptr;
    QWindow* window = w ? w->window()->windowHandle() : nullptr;
    if (!window || !window->isVisible()) return false;
    Qt::Edges edges;
    switch (HitTest) {
        case HTBOTTOMRIGHT: edges = Qt::BottomEdge | Qt::RightEdge; break;
        default: return false;
    }
    return window->startSystemResize(edges);
}

HWND GetActiveWindow() {
    TCustomForm* f = Screen ? Screen->ActiveForm() : nullptr;
    return f && f->HandleAllocated() ? f->Handle() : 0;
}

LONG GetWindowLong(HWND Wnd, int Index) {
    TWinControl* c = FindControl(Wnd);
    if (!c) return 0;
    switch (Index) {
        case GWL_STYLE: return LONG(c->FStyle);
        case GWL_EXSTYLE: return LONG(c->FExStyle);
        default: return 0;
    }
}

LONG SetWindowLong(HWND Wnd, int Index, LONG NewLong) {
    TWinControl* c = FindControl(Wnd);
    if (!c) return 0;
    LONG old = GetWindowLong(Wnd, Index);
    switch (Index) {
        case GWL_STYLE: c->FStyle = DWORD(NewLong); break;
        case GWL_EXSTYLE: c->FExStyle = DWORD(NewLong); break;
        default: return 0;
    }
    c->ApplyWindowStyles();
    return old;
}

void TWinControl::ApplyWindowStyles() {
    Invalidate();
    // The frame, the bars, the client area and a top-level window's kind follow the styles.
    TWindowExtras::StylesChanged(this);
}

bool SetTimer(HWND Wnd, UINT_PTR IDEvent, UINT Elapse) {
    TWinControl* c = FindControl(Wnd);
    if (!c) return false;
    QTimer*& t = c->FTimers[IDEvent];
    if (!t) {
        t = new QTimer();
        QObject::connect(t, &QTimer::timeout, [Wnd, IDEvent]() {
            TWinControl* target = FindControl(Wnd);
            if (!target) return;
            TControlPrivate::Guard(target, [&] { target->Perform(WM_TIMER, IDEvent, 0); });
        });
    }
    t->start(int(std::max<UINT>(Elapse, 1)));
    return true;
}

bool KillTimer(HWND Wnd, UINT_PTR IDEvent) {
    TWinControl* c = FindControl(Wnd);
    if (!c) return false;
    auto it = c->FTimers.find(IDEvent);
    if (it == c->FTimers.end()) return false;
    QTimer* t = it->second;
    c->FTimers.erase(it);
    t->stop();
    t->deleteLater();
    return true;
}

// ---------------------------------------------------------------------------------------------
// Keyboard state

short GetKeyState(int VirtKey) {
    bool down = TControlPrivate::KeyDown(VirtKey);
    if (!down && (VirtKey == VK_SHIFT || VirtKey == VK_CONTROL || VirtKey == VK_MENU))
        down = TControlPrivate::KeyDown(VirtKey == VK_SHIFT     ? VK_LSHIFT
                                        : VirtKey == VK_CONTROL ? VK_LCONTROL
                                                                : VK_LMENU) ||
               TControlPrivate::KeyDown(VirtKey == VK_SHIFT     ? VK_RSHIFT
                                        : VirtKey == VK_CONTROL ? VK_RCONTROL
                                                                : VK_RMENU);
    return down ? short(0x8000) : short(0);
}

short GetAsyncKeyState(int VirtKey) {
    return GetKeyState(VirtKey);
}

TShiftState GetShiftState() {
    TShiftState s;
    if (GetKeyState(VK_SHIFT) < 0) s.insert(ssShift);
    if (GetKeyState(VK_CONTROL) < 0) s.insert(ssCtrl);
    if (GetKeyState(VK_MENU) < 0) s.insert(ssAlt);
    if (GetKeyState(VK_LBUTTON) < 0) s.insert(ssLeft);
    if (GetKeyState(VK_RBUTTON) < 0) s.insert(ssRight);
    if (GetKeyState(VK_MBUTTON) < 0) s.insert(ssMiddle);
    return s;
}

TShiftState KeyDataToShiftState(LPARAM KeyData) {
    TShiftState s;
    if (GetKeyState(VK_SHIFT) < 0) s.insert(ssShift);
    if (GetKeyState(VK_CONTROL) < 0) s.insert(ssCtrl);
    if (KeyData & KF_ALTDOWN) s.insert(ssAlt);
    return s;
}

TShiftState KeyboardStateToShiftState() {
    return GetShiftState();
}

TShiftState KeysToShiftState(Word Keys) {
    TShiftState s;
    if (Keys & MK_SHIFT) s.insert(ssShift);
    if (Keys & MK_CONTROL) s.insert(ssCtrl);
    if (Keys & MK_LBUTTON) s.insert(ssLeft);
    if (Keys & MK_RBUTTON) s.insert(ssRight);
    if (Keys & MK_MBUTTON) s.insert(ssMiddle);
    if (GetKeyState(VK_MENU) < 0) s.insert(ssAlt);
    return s;
}

Char GetHotkey(const String& Text) {
    int n = int(Text.size());
    for (int i = 0; i < n; ++i) {
        if (Text[i] != u'&') continue;
        if (i + 1 < n && Text[i + 1] == u'&') {
            ++i;
            continue;
        }
        if (i + 1 < n) return Text[i + 1];
        break;
    }
    return Char(0);
}

bool IsAccel(Word VK, const String& Str) {
    Char hot = GetHotkey(Str);
    if (hot.unicode() == 0) return false;
    return hot.toUpper() == Char(VK).toUpper();
}

String StripHotkey(const String& Text) {
    String r;
    int n = int(Text.size());
    for (int i = 0; i < n; ++i) {
        if (Text[i] == u'&') {
            if (i + 1 < n && Text[i + 1] == u'&') {
                r += u'&';
                ++i;
            }
            continue;
        }
        r += Text[i];
    }
    return r;
}
