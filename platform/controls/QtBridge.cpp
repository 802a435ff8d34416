#include "QtBridge.h"

#include "Forms.h"
#include "OleDnD.h"
#include "WindowFrame.h"

#include <QCoreApplication>
#include <QCursor>
#include <QDropEvent>
#include <QElapsedTimer>
#include <QEnterEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QThread>
#include <QTimer>
#include <QWheelEvent>

#include <array>
#include <cstdio>
#include <map>
#include <mutex>
#include <unordered_map>

namespace {

std::mutex GRegistryMutex;
std::unordered_map<HWND, TWinControl*> GWindows;
HWND GNextHandle = 0x1000;

TWinControl* GFocused = nullptr;
TControl* GCapture = nullptr;
TControl* GMouseControl = nullptr;
std::array<bool, 256> GKeys{};

std::mutex GMessageMutex;
std::map<QString, UINT> GRegisteredMessages;
UINT GNextMessage = REGISTERED_MESSAGE_BASE;

const TControl* RootOf(const TControl* C) {
    while (C && C->Parent()) C = C->Parent();
    return C;
}

bool ChainEnabled(const TControl* C) {
    for (; C; C = C->Parent()) {
        if (!C->Enabled()) return false;
        // A window made disabled (WS_DISABLED) takes no input whatever its control says.
        if (auto* w = dynamic_cast<const TWinControl*>(C); w && (w->WindowStyle() & WS_DISABLED))
            return false;
    }
    return true;
}

// Keeps the event depth of a widget while one of its events runs.
struct TDepthGuard {
    int& Depth;
    explicit TDepthGuard(int& D) : Depth(D) { ++Depth; }
    ~TDepthGuard() { --Depth; }
};

} // namespace

// =============================================================================================
// Handle registry, sending and posting

HWND TControlPrivate::Register(TWinControl* Control) {
    std::lock_guard<std::mutex> lock(GRegistryMutex);
    HWND h = ++GNextHandle;
    GWindows[h] = Control;
    return h;
}

void TControlPrivate::Unregister(HWND Handle) {
    std::lock_guard<std::mutex> lock(GRegistryMutex);
    GWindows.erase(Handle);
}

TWinControl* FindControl(HWND Handle) {
    if (!Handle) return nullptr;
    std::lock_guard<std::mutex> lock(GRegistryMutex);
    auto it = GWindows.find(Handle);
    return it == GWindows.end() ? nullptr : it->second;
}

LRESULT SendMessage(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam) {
    QCoreApplication* app = QCoreApplication::instance();
    if (app && QThread::currentThread() != app->thread()) {
        LRESULT result = 0;
        QMetaObject::invokeMethod(
            app,
            [&]() {
                TWinControl* c = FindControl(Wnd);
                if (c) TControlPrivate::Guard(c, [&] { result = c->Perform(Msg, WParam, LParam); });
            },
            Qt::BlockingQueuedConnection);
        return result;
    }
    TWinControl* c = FindControl(Wnd);
    return c ? c->Perform(Msg, WParam, LParam) : 0;
}

bool PostMessage(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam) {
    QCoreApplication* app = QCoreApplication::instance();
    if (!app || !IsWindow(Wnd)) return false;
    QMetaObject::invokeMethod(
        app,
        [Wnd, Msg, WParam, LParam]() {
            // The window may have gone meanwhile: then the message is dropped.
            TWinControl* c = FindControl(Wnd);
            if (c) TControlPrivate::Guard(c, [&] { c->Perform(Msg, WParam, LParam); });
        },
        Qt::QueuedConnection);
    return true;
}

void PostCall(std::function<void()> Call) {
    QCoreApplication* app = QCoreApplication::instance();
    if (!app || !Call) return;
    QMetaObject::invokeMethod(
        app, [Call = std::move(Call)]() { TControlPrivate::Guard(nullptr, Call); }, Qt::QueuedConnection);
}

UINT RegisterWindowMessage(const String& Name) {
    if (Name.isEmpty()) return 0;
    String key = Name.toUpper();
    std::lock_guard<std::mutex> lock(GMessageMutex);
    auto it = GRegisteredMessages.find(key);
    if (it != GRegisteredMessages.end()) return it->second;
    if (GNextMessage > 0xFFFF) return 0;
    UINT id = GNextMessage++;
    GRegisteredMessages[key] = id;
    return id;
}

// =============================================================================================
// Shared state

TWinControl* TControlPrivate::Focused() {
    return GFocused;
}

void TControlPrivate::ClearFocusSilently(TWinControl* Control) {
    if (GFocused && Control->ContainsControl(GFocused)) GFocused = nullptr;
    if (Screen && Screen->FActiveControl && Control->ContainsControl(Screen->FActiveControl))
        Screen->FActiveControl = nullptr;
}

// The platform's SetFocus: the window's form becomes active when it is not, the old window
// hears WM_KILLFOCUS and the new one WM_SETFOCUS.
void TControlPrivate::FocusWindow(TWinControl* Control) {
    if (Control == GFocused) return;
    if (Control) ActivateFormOf(Control);
    if (Control == GFocused) return;
    TWinControl* old = GFocused;
    GFocused = Control;
    HWND newHandle = Control ? Control->FHandle : 0;
    HWND oldHandle = old ? old->FHandle : 0;
    if (old) old->Perform(WM_KILLFOCUS, newHandle, 0);
    if (GFocused != Control || !Control) return;
    if (Control->FQWidget) Control->FQWidget->setFocus(Qt::OtherFocusReason);
    Control->Perform(WM_SETFOCUS, oldHandle, 0);
}

TControl* TControlPrivate::Capture() {
    return GCapture;
}

void TControlPrivate::SetCapture(TControl* Control) {
    if (GCapture == Control) return;
    TControl* lost = GCapture;
    GCapture = Control;
    if (lost) TWindowExtras::CaptureChanged(lost, Control);
}

TControl* TControlPrivate::MouseControl() {
    return GMouseControl;
}

// The control under the pointer changed: the old one hears CM_MOUSELEAVE and the new one
// CM_MOUSEENTER; while a control holds the capture only it hears them.
void TControlPrivate::SetMouseControl(TControl* Control) {
    if (Control == GMouseControl) return;
    TControl* cap = GCapture;
    TControl* old = GMouseControl;
    GMouseControl = Control;
    if (old && (!cap || old == cap)) Guard(old, [&] { old->Perform(CM_MOUSELEAVE); });
    if (Control && GMouseControl == Control && (!cap || Control == cap))
        Guard(Control, [&] { Control->Perform(CM_MOUSEENTER); });
}

void TControlPrivate::ControlDestroyed(TControl* Control) {
    if (!Control) return;
    if (GCapture == Control) GCapture = nullptr;
    if (GMouseControl == Control) GMouseControl = nullptr;
    if (GFocused == Control) GFocused = nullptr;
}

void TControlPrivate::SetKeyDown(int VirtKey, bool Down) {
    if (VirtKey > 0 && VirtKey < 256) GKeys[size_t(VirtKey)] = Down;
}

bool TControlPrivate::KeyDown(int VirtKey) {
    return VirtKey > 0 && VirtKey < 256 && GKeys[size_t(VirtKey)];
}

void TControlPrivate::SetModifiers(Qt::KeyboardModifiers Modifiers, int ExceptKey) {
    auto set = [&](int vk, int left, int right, bool down) {
        if (ExceptKey == vk || ExceptKey == left || ExceptKey == right) return;
        GKeys[size_t(vk)] = down;
        if (!down) GKeys[size_t(left)] = GKeys[size_t(right)] = false;
    };
    set(VK_SHIFT, VK_LSHIFT, VK_RSHIFT, Modifiers & Qt::ShiftModifier);
    set(VK_CONTROL, VK_LCONTROL, VK_RCONTROL, Modifiers & Qt::ControlModifier);
    set(VK_MENU, VK_LMENU, VK_RMENU, Modifiers & Qt::AltModifier);
}

void TControlPrivate::Guard(TObject* Sender, const std::function<void()>& Call) {
    try {
        Call();
    } catch (...) {
        ReportException(Sender);
    }
}

void TControlPrivate::ReportException(TObject* Sender) {
    if (Application) {
        Application->HandleException(Sender);
        return;
    }
    try {
        throw;
    } catch (Exception& e) {
        std::fprintf(stderr, "%s\n", e.what());
    } catch (std::exception& e) {
        std::fprintf(stderr, "%s\n", e.what());
    } catch (...) {
        std::fprintf(stderr, "Unknown exception\n");
    }
}

void TControlPrivate::DisposeWidget(QWidget* Widget) {
    if (!Widget) return;
    bool busy = false;
    auto check = [&](QWidget* w) {
        if (auto* cw = dynamic_cast<TControlWidget*>(w)) {
            if (cw->EventDepth() > 0) busy = true;
            cw->Detach();
        }
    };
    check(Widget);
    for (QWidget* w : Widget->findChildren<QWidget*>()) check(w);
    if (busy) {
        Widget->hide();
        Widget->deleteLater();
    } else {
        delete Widget;
    }
}

// =============================================================================================
// The widget

TControlWidget::TControlWidget(TWinControl* AControl, QWidget* AParent, Qt::WindowFlags Flags)
    : QWidget(AParent, Flags), FControl(AControl) {
    setAutoFillBackground(false);
}

TControlWidget::~TControlWidget() = default;

bool TControlWidget::event(QEvent* Event) {
    TWinControl* c = FControl;
    if (!c) return QWidget::event(Event);
    TDepthGuard depth(FEventDepth);
    switch (Event->type()) {
        case QEvent::KeyPress:
        case QEvent::KeyRelease:
            TControlPrivate::KeyEvent(c, static_cast<QKeyEvent*>(Event));
            Event->accept();
            return true;
        case QEvent::ShortcutOverride:
            // Keys are ours: no Qt shortcut takes them first.
            Event->accept();
            return true;
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::MouseMove:
            TControlPrivate::MouseEvent(c, static_cast<QMouseEvent*>(Event));
            Event->accept();
            return true;
        case QEvent::Wheel:
            TControlPrivate::WheelEvent(c, static_cast<QWheelEvent*>(Event));
            Event->accept();
            return true;
        case QEvent::Enter: TControlPrivate::EnterEvent(c, Event); return true;
        case QEvent::Leave: TControlPrivate::LeaveEvent(c, Event); return true;
        case QEvent::DragEnter:
        case QEvent::DragMove:
        case QEvent::DragLeave:
        case QEvent::Drop: TControlPrivate::DropEvent(c, Event); return true;
        case QEvent::FocusIn:
        case QEvent::FocusOut:
            // The controls keep the focus themselves; Qt's focus only follows it.
            return true;
        case QEvent::ContextMenu:
            // The context menu comes from the right-button release (WM_CONTEXTMENU).
            return true;
        case QEvent::Close:
            Event->ignore();
            TControlPrivate::Guard(c, [&] { c->Perform(WM_CLOSE); });
            return true;
        case QEvent::Resize:
            if (isWindow()) {
                // The user resized the window: the form takes the new client size.
                QSize s = size();
                if (s.width() != c->ClientWidth() || s.height() != c->ClientHeight())
                    TControlPrivate::Guard(c, [&] {
                        // The window hears WM_SIZING first and may change the size.
                        const int dw = s.width() - c->ClientWidth(), dh = s.height() - c->ClientHeight();
                        const TRect r = TWindowExtras::UserSized(
                            c, Bounds(c->Left(), c->Top(), c->Width() + dw, c->Height() + dh));
                        c->SetBounds(r.Left, r.Top, r.Width(), r.Height());
                    });
            }
            break;
        case QEvent::Move:
            if (isWindow()) {
                // The client area's place (the frame the window manager adds is not ours).
                TPoint o = c->ClientOrigin();
                QPoint p = geometry().topLeft();
                if (p.x() != o.X || p.y() != o.Y)
                    TControlPrivate::Guard(c, [&] {
                        c->SetBounds(c->Left() + p.x() - o.X, c->Top() + p.y() - o.Y, c->Width(),
                                     c->Height());
                    });
            }
            break;
        default: break;
    }
    return QWidget::event(Event);
}

void TControlWidget::paintEvent(QPaintEvent* Event) {
    TWinControl* c = FControl;
    if (!c) return;
    TDepthGuard depth(FEventDepth);
    QPainter painter(this);
    const QRegion region = Event->region();
    TControlPrivate::Guard(c, [&] { TControlPrivate::PaintControl(c, painter, &region); });
}

void TControlPrivate::PaintControl(TWinControl* Control, QPainter& Painter, const QRegion* Region) {
    if (TWindowExtras::PaintLayered(Control, Painter)) return;
    Control->ResolveUpdateRegion();
    const QRegion all = Control->PaintArea();
    if (!Region) {
        Control->FUpdateRgn = all;
        Control->FUpdateErase = true;
    }
    const QRegion& limit = Region ? *Region : all;
    if (auto* cc = dynamic_cast<TCustomControl*>(Control)) {
        // WM_PAINT's BeginPaint takes the part of the update region that Qt paints now; the rest
        // of the backing image still holds what the control painted before.
        if (Control->FUpdateRgn.intersects(limit)) {
            struct TLimit {
                const QRegion*& Slot;
                const QRegion* Saved;
                ~TLimit() { Slot = Saved; }
            } restore{Control->FPaintLimit, Control->FPaintLimit};
            Control->FPaintLimit = &limit;
            TMessage m(WM_PAINT);
            Control->Perform(m);
        }
        Painter.drawImage(0, 0, cc->BackImage());
    } else {
        // A window with a layer hears WM_PAINT when the layer paints (above its Qt widget).
        if (!TWindowExtras::HasLayer(Control)) Control->RemoveUpdateRegion(limit);
        if (!(Control->FExStyle & WS_EX_TRANSPARENT)) {
            TRect cr = Control->GetClientRect();
            Painter.fillRect(0, 0, cr.Width(), cr.Height(), ToQColor(Control->Color()));
        }
    }
    for (TControl* child : std::vector<TControl*>(Control->FControls)) {
        if (!child->Visible() || child->Width() <= 0 || child->Height() <= 0) continue;
        if (!limit.intersects(QRect(child->Left(), child->Top(), child->Width(), child->Height()))) continue;
        if (auto* g = dynamic_cast<TGraphicControl*>(child)) {
            Painter.drawImage(g->Left(), g->Top(), g->PaintImage());
        } else if (!Region) {
            TWindowExtras::PaintChild(static_cast<TWinControl*>(child), Painter);
        }
    }
}

// =============================================================================================
// Input

namespace {

WPARAM MouseKeys(Qt::MouseButtons Buttons, Qt::KeyboardModifiers Modifiers) {
    WPARAM k = 0;
    if (Buttons & Qt::LeftButton) k |= MK_LBUTTON;
    if (Buttons & Qt::RightButton) k |= MK_RBUTTON;
    if (Buttons & Qt::MiddleButton) k |= MK_MBUTTON;
    if (Modifiers & Qt::ShiftModifier) k |= MK_SHIFT;
    if (Modifiers & Qt::ControlModifier) k |= MK_CONTROL;
    return k;
}

void SetButtonState(Qt::MouseButtons Buttons) {
    TControlPrivate::SetKeyDown(VK_LBUTTON, Buttons & Qt::LeftButton);
    TControlPrivate::SetKeyDown(VK_RBUTTON, Buttons & Qt::RightButton);
    TControlPrivate::SetKeyDown(VK_MBUTTON, Buttons & Qt::MiddleButton);
}

// The control under Pos of Receiver's client area: a graphic child or the receiver itself;
// nullptr outside.
TControl* ControlUnder(TWinControl* Receiver, const TPoint& Pos) {
    if (!Receiver->ClientRect().Contains(Pos)) return nullptr;
    if (TControl* g = Receiver->ControlAtPos(Pos, true, false)) return g;
    return Receiver;
}

} // namespace

void TControlPrivate::MouseEvent(TWinControl* Receiver, QMouseEvent* Event) {
    QPoint qp = Event->position().toPoint();
    TPoint pos(qp.x(), qp.y());
    SetModifiers(Event->modifiers());
    SetButtonState(Event->buttons());
    if (!ChainEnabled(Receiver)) return;

    int button;
    switch (Event->button()) {
        case Qt::LeftButton: button = 0; break;
        case Qt::RightButton: button = 1; break;
        case Qt::MiddleButton: button = 2; break;
        default: button = -1; break;
    }
    UINT msg;
    switch (Event->type()) {
        case QEvent::MouseButtonPress: msg = WM_LBUTTONDOWN; break;
        case QEvent::MouseButtonRelease: msg = WM_LBUTTONUP; break;
        case QEvent::MouseButtonDblClick: msg = WM_LBUTTONDBLCLK; break;
        default: msg = WM_MOUSEMOVE; break;
    }
    if (msg != WM_MOUSEMOVE) {
        if (button < 0) return;
        msg += UINT(button) * (WM_RBUTTONDOWN - WM_LBUTTONDOWN);
    }
    bool press = Event->type() == QEvent::MouseButtonPress || Event->type() == QEvent::MouseButtonDblClick;

    // A window the platform sizes itself takes the mouse until the button goes up.
    if (TWindowExtras::FollowSizing(msg, Receiver->ClientToScreen(pos))) return;
    // Unless a capture claims the message, the window says which part of it lies under the
    // pointer; outside the client area it hears the non-client message.
    if (!GCapture) {
        const TPoint screen = Receiver->ClientToScreen(pos);
        const LRESULT hit = TWindowExtras::HitTest(Receiver, screen);
        if (hit != HTCLIENT) {
            TWindowExtras::NonClientMouse(Receiver, hit, msg, screen);
            return;
        }
    }

    // Where the message goes: the control holding the capture, else a graphic child under
    // the pointer, else the window itself.
    TControl* target = Receiver;
    TPoint tp = pos;
    TControl* cap = GCapture;
    if (cap && cap != Receiver) {
        TPoint screen = Receiver->ClientToScreen(pos);
        target = cap;
        tp = cap->ScreenToClient(screen);
    } else if (!cap) {
        TControl* g = Receiver->ControlAtPos(pos, false, false);
        if (g) {
            target = g;
            tp = TPoint(pos.X - g->Left(), pos.Y - g->Top());
        } else if (!press && !Receiver->ClientRect().Contains(pos)) {
            // Outside the window without capture: the platform would tell another window.
            if (msg == WM_MOUSEMOVE) SetMouseControl(nullptr);
            return;
        }
    }

    const HWND h = Receiver->FHandle;
    if (msg == WM_MOUSEMOVE || press) {
        TControl* under = ControlUnder(Receiver, pos);
        if (cap && cap != Receiver && under != cap) under = nullptr;
        SetMouseControl(under);
        // The window under the pointer chooses the cursor (not while a control holds the capture).
        TWindowExtras::PointerMoved(Receiver, Receiver->ClientToScreen(pos), msg, !cap);
        if (FindControl(h) != Receiver) return;
    } else {
        TWindowExtras::PointerMoved(Receiver, Receiver->ClientToScreen(pos), msg, false);
    }
    if (press) ActivateFormOf(Receiver);

    QEvent* prev = Receiver->FCurrentEvent;
    Receiver->FCurrentEvent = Event;
    WPARAM keys = MouseKeys(Event->buttons(), Event->modifiers());
    Guard(target, [&] { target->Perform(msg, keys, MAKELPARAM(tp.X, tp.Y)); });
    if (FindControl(h) == Receiver) Receiver->FCurrentEvent = prev;
}

void TControlPrivate::WheelEvent(TWinControl* Receiver, QWheelEvent* Event) {
    SetModifiers(Event->modifiers());
    if (!ChainEnabled(Receiver)) return;
    int delta = Event->angleDelta().y();
    if (delta == 0) return;
    QPoint qp = Event->position().toPoint();
    TPoint screen = Receiver->ClientToScreen(TPoint(qp.x(), qp.y()));
    WPARAM keys = MouseKeys(Event->buttons(), Event->modifiers());
    WPARAM w = MAKEWPARAM(Word(keys), Word(SmallInt(delta)));
    TWinControl* target = Receiver;
    if (GFocused && RootOf(GFocused) == RootOf(Receiver)) target = GFocused;
    Guard(target, [&] { target->Perform(WM_MOUSEWHEEL, w, MAKELPARAM(screen.X, screen.Y)); });
}

void TControlPrivate::EnterEvent(TWinControl* Receiver, QEvent* Event) {
    TPoint pos(-1, -1);
    if (auto* e = dynamic_cast<QEnterEvent*>(Event)) {
        QPoint p = e->position().toPoint();
        pos = TPoint(p.x(), p.y());
    }
    TControl* under = Receiver->ClientRect().Contains(pos) ? ControlUnder(Receiver, pos) : Receiver;
    SetMouseControl(under);
}

void TControlPrivate::LeaveEvent(TWinControl* Receiver, QEvent*) {
    TControl* m = GMouseControl;
    if (m && (m == Receiver || (m->Parent() == Receiver && !dynamic_cast<TWinControl*>(m))))
        SetMouseControl(nullptr);
}

void TControlPrivate::DropEvent(TWinControl* Receiver, QEvent* Event) {
    // Whether the last move over a window allowed a drop: Qt delivers the drop either way, the
    // platform turns a drop where the pointer was refused into a leave.
    static std::unordered_map<HWND, bool> allowed;
    const HWND wnd = Receiver->FHandle;
    IDropTarget* target = wnd ? RegisteredDropTarget(wnd) : nullptr;
    if (!target) {
        Event->ignore();
        return;
    }
    TIntf<IDropTarget> hold(target);
    const bool drop = Event->type() == QEvent::Drop;
    if (Event->type() == QEvent::DragLeave || (drop && !allowed[wnd])) {
        allowed.erase(wnd);
        Guard(Receiver, [&] { target->DragLeave(); });
        Event->ignore();
        return;
    }
    auto* e = static_cast<QDropEvent*>(Event);
    const QPoint sp = Receiver->Widget()->mapToGlobal(e->position().toPoint());
    const TPoint pt(sp.x(), sp.y());
    DWORD keys = 0;
    if (e->buttons() & Qt::LeftButton) keys |= MK_LBUTTON;
    if (e->buttons() & Qt::RightButton) keys |= MK_RBUTTON;
    if (e->modifiers() & Qt::ControlModifier) keys |= MK_CONTROL;
    if (e->modifiers() & Qt::ShiftModifier) keys |= MK_SHIFT;
    DWORD effect = DWORD(DropActionsToEffects(e->possibleActions()));
    bool ok = false;
    Guard(Receiver, [&] {
        if (Event->type() == QEvent::DragMove) {
            target->DragOver(keys, pt, effect);
        } else {
            IDataObject* obj = DataObjectOfMimeData(e->mimeData());
            TIntf<IDataObject> data(obj);
            obj->Release();
            if (Event->type() == QEvent::DragEnter)
                target->DragEnter(obj, keys, pt, effect);
            else
                target->Drop(obj, keys, pt, effect);
        }
        ok = true;
    });
    const int action = ok ? EffectToDropAction(int(effect)) : Qt::IgnoreAction;
    if (drop)
        allowed.erase(wnd);
    else
        allowed[wnd] = action != Qt::IgnoreAction;
    if (Event->type() == QEvent::DragEnter) {
        // Qt sends the moves only over a window that took the enter; the move decides.
        e->setDropAction(action == Qt::IgnoreAction ? Qt::CopyAction : Qt::DropAction(action));
        e->accept();
    } else if (action != Qt::IgnoreAction) {
        e->setDropAction(Qt::DropAction(action));
        e->accept();
    } else {
        e->ignore();
    }
}

void TControlPrivate::KeyEvent(TWinControl* Receiver, QKeyEvent* Event) {
    bool press = Event->type() == QEvent::KeyPress;
    Qt::KeyboardModifiers mods = Event->modifiers();
    Word vk = QtKeyToVirtualKey(Event->key(), mods);
    if (vk == 0 && Event->key() == 0 && Event->nativeScanCode() == 0 && Event->nativeVirtualKey() < 256)
        vk = Word(Event->nativeVirtualKey());
    SetModifiers(mods, vk);
    if (vk) SetKeyDown(vk, press);

    // Keys go to the window with the focus when it is in the same top-level window.
    TWinControl* target = Receiver;
    if (GFocused && GFocused->FHandle && RootOf(GFocused) == RootOf(Receiver)) target = GFocused;
    if (!ChainEnabled(target)) return;

    bool alt = mods & Qt::AltModifier;
    bool ctrl = mods & Qt::ControlModifier;
    bool sys = (alt && !ctrl) || vk == VK_F10 || (vk == VK_MENU && !ctrl);
    bool extended = false;
    Byte scan = VirtualKeyScanCode(vk, extended);
    LPARAM keyData = 1 | (LPARAM(scan) << 16);
    if (extended) keyData |= KF_EXTENDED;
    if (alt) keyData |= KF_ALTDOWN;
    if (press) {
        if (Event->isAutoRepeat()) keyData |= KF_REPEAT;
    } else {
        keyData |= KF_REPEAT | KF_UP;
    }

    HWND h = target->FHandle;
    auto alive = [&] { return FindControl(h) == target; };
    QEvent* prev = target->FCurrentEvent;
    target->FCurrentEvent = Event;
    Guard(target, [&] {
        if (press) {
            if (vk) {
                TMessage cn(sys ? CN_SYSKEYDOWN : CN_KEYDOWN, vk, keyData);
                target->Perform(cn);
                if (cn.Result != 0 || !alive()) return;
                TMessage wm(sys ? WM_SYSKEYDOWN : WM_KEYDOWN, vk, keyData);
                target->Perform(wm);
                if (!alive()) return;
            }
            String text = Event->text();
            if (vk == VK_DELETE) text.clear(); // the platform types nothing with Delete
            if (text.isEmpty() && alt && !ctrl) {
                TShiftState shift = QtModifiersToShift(mods);
                shift.erase(ssAlt);
                Char ch = VirtualKeyChar(vk, shift);
                if (ch.unicode()) text = String(ch);
            }
            for (QChar ch : text) {
                TMessage cn(sys ? CN_SYSCHAR : CN_CHAR, ch.unicode(), keyData);
                target->Perform(cn);
                if (!alive()) return;
                if (cn.Result != 0) continue;
                TMessage wm(sys ? WM_SYSCHAR : WM_CHAR, ch.unicode(), keyData);
                target->Perform(wm);
                if (!alive()) return;
            }
        } else if (vk) {
            TMessage cn(CN_BASE + (sys ? WM_SYSKEYUP : WM_KEYUP), vk, keyData);
            target->Perform(cn);
            if (cn.Result != 0 || !alive()) return;
            TMessage wm(sys ? WM_SYSKEYUP : WM_KEYUP, vk, keyData);
            target->Perform(wm);
        }
    });
    if (alive()) target->FCurrentEvent = prev;
}

// =============================================================================================
// Key tables

Word QtKeyToVirtualKey(int QtKey, Qt::KeyboardModifiers Modifiers) {
    bool keypad = Modifiers & Qt::KeypadModifier;
    if (QtKey >= Qt::Key_A && QtKey <= Qt::Key_Z) return Word('A' + (QtKey - Qt::Key_A));
    if (QtKey >= Qt::Key_0 && QtKey <= Qt::Key_9)
        return keypad ? Word(VK_NUMPAD0 + (QtKey - Qt::Key_0)) : Word('0' + (QtKey - Qt::Key_0));
    if (QtKey >= Qt::Key_F1 && QtKey <= Qt::Key_F24) return Word(VK_F1 + (QtKey - Qt::Key_F1));
    switch (QtKey) {
        case Qt::Key_Backspace: return VK_BACK;
        case Qt::Key_Tab:
        case Qt::Key_Backtab: return VK_TAB;
        case Qt::Key_Clear: return VK_CLEAR;
        case Qt::Key_Return:
        case Qt::Key_Enter: return VK_RETURN;
        case Qt::Key_Shift: return VK_SHIFT;
        case Qt::Key_Control: return VK_CONTROL;
        case Qt::Key_Alt: return VK_MENU;
        case Qt::Key_AltGr: return VK_RMENU;
        case Qt::Key_Pause: return VK_PAUSE;
        case Qt::Key_CapsLock: return VK_CAPITAL;
        case Qt::Key_Escape: return VK_ESCAPE;
        case Qt::Key_Space: return VK_SPACE;
        case Qt::Key_PageUp: return VK_PRIOR;
        case Qt::Key_PageDown: return VK_NEXT;
        case Qt::Key_End: return VK_END;
        case Qt::Key_Home: return VK_HOME;
        case Qt::Key_Left: return VK_LEFT;
        case Qt::Key_Up: return VK_UP;
        case Qt::Key_Right: return VK_RIGHT;
        case Qt::Key_Down: return VK_DOWN;
        case Qt::Key_Select: return VK_SELECT;
        case Qt::Key_Print: return VK_SNAPSHOT;
        case Qt::Key_Execute: return VK_EXECUTE;
        case Qt::Key_Insert: return VK_INSERT;
        case Qt::Key_Delete: return VK_DELETE;
        case Qt::Key_Help: return VK_HELP;
        case Qt::Key_Meta: return VK_LWIN;
        case Qt::Key_Menu: return VK_APPS;
        case Qt::Key_NumLock: return VK_NUMLOCK;
        case Qt::Key_ScrollLock: return VK_SCROLL;
        case Qt::Key_Asterisk: return keypad ? VK_MULTIPLY : Word('8');
        case Qt::Key_Plus: return keypad ? VK_ADD : VK_OEM_PLUS;
        case Qt::Key_Minus: return keypad ? VK_SUBTRACT : VK_OEM_MINUS;
        case Qt::Key_Period: return keypad ? VK_DECIMAL : VK_OEM_PERIOD;
        case Qt::Key_Comma: return keypad ? VK_DECIMAL : VK_OEM_COMMA;
        case Qt::Key_Slash: return keypad ? VK_DIVIDE : VK_OEM_2;
        case Qt::Key_Semicolon:
        case Qt::Key_Colon: return VK_OEM_1;
        case Qt::Key_Equal: return VK_OEM_PLUS;
        case Qt::Key_Less: return VK_OEM_COMMA;
        case Qt::Key_Underscore: return VK_OEM_MINUS;
        case Qt::Key_Greater: return VK_OEM_PERIOD;
        case Qt::Key_Question: return VK_OEM_2;
        case Qt::Key_QuoteLeft:
        case Qt::Key_AsciiTilde: return VK_OEM_3;
        case Qt::Key_BracketLeft:
        case Qt::Key_BraceLeft: return VK_OEM_4;
        case Qt::Key_Backslash:
        case Qt::Key_Bar: return VK_OEM_5;
        case Qt::Key_BracketRight:
        case Qt::Key_BraceRight: return VK_OEM_6;
        case Qt::Key_Apostrophe:
        case Qt::Key_QuoteDbl: return VK_OEM_7;
        case Qt::Key_Exclam: return Word('1');
        case Qt::Key_At: return Word('2');
        case Qt::Key_NumberSign: return Word('3');
        case Qt::Key_Dollar: return Word('4');
        case Qt::Key_Percent: return Word('5');
        case Qt::Key_AsciiCircum: return Word('6');
        case Qt::Key_Ampersand: return Word('7');
        case Qt::Key_ParenLeft: return Word('9');
        case Qt::Key_ParenRight: return Word('0');
        case Qt::Key_Adiaeresis: return VK_OEM_7;
        case Qt::Key_Odiaeresis: return VK_OEM_3;
        case Qt::Key_Udiaeresis: return VK_OEM_1;
        case Qt::Key_ssharp: return VK_OEM_4;
        default: return 0;
    }
}

int VirtualKeyToQtKey(Word VirtKey, bool& Keypad) {
    Keypad = false;
    if (VirtKey >= 'A' && VirtKey <= 'Z') return Qt::Key_A + (VirtKey - 'A');
    if (VirtKey >= '0' && VirtKey <= '9') return Qt::Key_0 + (VirtKey - '0');
    if (VirtKey >= VK_NUMPAD0 && VirtKey <= VK_NUMPAD9) {
        Keypad = true;
        return Qt::Key_0 + (VirtKey - VK_NUMPAD0);
    }
    if (VirtKey >= VK_F1 && VirtKey <= VK_F1 + 23) return Qt::Key_F1 + (VirtKey - VK_F1);
    switch (VirtKey) {
        case VK_BACK: return Qt::Key_Backspace;
        case VK_TAB: return Qt::Key_Tab;
        case VK_CLEAR: return Qt::Key_Clear;
        case VK_RETURN: return Qt::Key_Return;
        case VK_SHIFT:
        case VK_LSHIFT:
        case VK_RSHIFT: return Qt::Key_Shift;
        case VK_CONTROL:
        case VK_LCONTROL:
        case VK_RCONTROL: return Qt::Key_Control;
        case VK_MENU:
        case VK_LMENU: return Qt::Key_Alt;
        case VK_RMENU: return Qt::Key_AltGr;
        case VK_PAUSE: return Qt::Key_Pause;
        case VK_CAPITAL: return Qt::Key_CapsLock;
        case VK_ESCAPE: return Qt::Key_Escape;
        case VK_SPACE: return Qt::Key_Space;
        case VK_PRIOR: return Qt::Key_PageUp;
        case VK_NEXT: return Qt::Key_PageDown;
        case VK_END: return Qt::Key_End;
        case VK_HOME: return Qt::Key_Home;
        case VK_LEFT: return Qt::Key_Left;
        case VK_UP: return Qt::Key_Up;
        case VK_RIGHT: return Qt::Key_Right;
        case VK_DOWN: return Qt::Key_Down;
        case VK_SELECT: return Qt::Key_Select;
        case VK_SNAPSHOT: return Qt::Key_Print;
        case VK_EXECUTE: return Qt::Key_Execute;
        case VK_INSERT: return Qt::Key_Insert;
        case VK_DELETE: return Qt::Key_Delete;
        case VK_HELP: return Qt::Key_Help;
        case VK_LWIN:
        case VK_RWIN: return Qt::Key_Meta;
        case VK_APPS: return Qt::Key_Menu;
        case VK_NUMLOCK: return Qt::Key_NumLock;
        case VK_SCROLL: return Qt::Key_ScrollLock;
        case VK_MULTIPLY: Keypad = true; return Qt::Key_Asterisk;
        case VK_ADD: Keypad = true; return Qt::Key_Plus;
        case VK_SUBTRACT: Keypad = true; return Qt::Key_Minus;
        case VK_DECIMAL: Keypad = true; return Qt::Key_Period;
        case VK_DIVIDE: Keypad = true; return Qt::Key_Slash;
        case VK_OEM_1: return Qt::Key_Semicolon;
        case VK_OEM_PLUS: return Qt::Key_Equal;
        case VK_OEM_COMMA: return Qt::Key_Comma;
        case VK_OEM_MINUS: return Qt::Key_Minus;
        case VK_OEM_PERIOD: return Qt::Key_Period;
        case VK_OEM_2: return Qt::Key_Slash;
        case VK_OEM_3: return Qt::Key_QuoteLeft;
        case VK_OEM_4: return Qt::Key_BracketLeft;
        case VK_OEM_5: return Qt::Key_Backslash;
        case VK_OEM_6: return Qt::Key_BracketRight;
        case VK_OEM_7: return Qt::Key_Apostrophe;
        default: return 0;
    }
}

// Scan codes of the platform's keyboard (set 1) with the extended-key flag.
Byte VirtualKeyScanCode(Word VirtKey, bool& Extended) {
    Extended = false;
    static const char* const Row1 = "1234567890";
    static const char* const Letters = "QWERTYUIOPASDFGHJKLZXCVBNM";
    static const Byte LetterCodes[26] = {0x10, 0x11, 0x12, 0x13, 0x14, 0x15, 0x16, 0x17, 0x18,
                                         0x19, 0x1E, 0x1F, 0x20, 0x21, 0x22, 0x23, 0x24, 0x25,
                                         0x26, 0x2C, 0x2D, 0x2E, 0x2F, 0x30, 0x31, 0x32};
    if (VirtKey >= '0' && VirtKey <= '9') {
        for (int i = 0; i < 10; ++i)
            if (Row1[i] == char(VirtKey)) return Byte(0x02 + i);
    }
    if (VirtKey >= 'A' && VirtKey <= 'Z') {
        for (int i = 0; i < 26; ++i)
            if (Letters[i] == char(VirtKey)) return LetterCodes[i];
    }
    if (VirtKey >= VK_F1 && VirtKey <= VK_F10) return Byte(0x3B + (VirtKey - VK_F1));
    auto ext = [&](Byte code) {
        Extended = true;
        return code;
    };
    switch (VirtKey) {
        case VK_ESCAPE: return 0x01;
        case VK_OEM_MINUS: return 0x0C;
        case VK_OEM_PLUS: return 0x0D;
        case VK_BACK: return 0x0E;
        case VK_TAB: return 0x0F;
        case VK_OEM_4: return 0x1A;
        case VK_OEM_6: return 0x1B;
        case VK_RETURN: return 0x1C;
        case VK_CONTROL:
        case VK_LCONTROL: return 0x1D;
        case VK_RCONTROL: return ext(0x1D);
        case VK_OEM_1: return 0x27;
        case VK_OEM_7: return 0x28;
        case VK_OEM_3: return 0x29;
        case VK_SHIFT:
        case VK_LSHIFT: return 0x2A;
        case VK_OEM_5: return 0x2B;
        case VK_OEM_COMMA: return 0x33;
        case VK_OEM_PERIOD: return 0x34;
        case VK_OEM_2: return 0x35;
        case VK_RSHIFT: return 0x36;
        case VK_MULTIPLY: return 0x37;
        case VK_MENU:
        case VK_LMENU: return 0x38;
        case VK_RMENU: return ext(0x38);
        case VK_SPACE: return 0x39;
        case VK_CAPITAL: return 0x3A;
        case VK_NUMLOCK: return ext(0x45);
        case VK_SCROLL: return 0x46;
        case VK_NUMPAD7: return 0x47;
        case VK_NUMPAD8: return 0x48;
        case VK_NUMPAD9: return 0x49;
        case VK_SUBTRACT: return 0x4A;
        case VK_NUMPAD4: return 0x4B;
        case VK_NUMPAD5: return 0x4C;
        case VK_NUMPAD6: return 0x4D;
        case VK_ADD: return 0x4E;
        case VK_NUMPAD1: return 0x4F;
        case VK_NUMPAD2: return 0x50;
        case VK_NUMPAD3: return 0x51;
        case VK_NUMPAD0: return 0x52;
        case VK_DECIMAL: return 0x53;
        case VK_F11: return 0x57;
        case VK_F12: return 0x58;
        case VK_DIVIDE: return ext(0x35);
        case VK_HOME: return ext(0x47);
        case VK_UP: return ext(0x48);
        case VK_PRIOR: return ext(0x49);
        case VK_LEFT: return ext(0x4B);
        case VK_RIGHT: return ext(0x4D);
        case VK_END: return ext(0x4F);
        case VK_DOWN: return ext(0x50);
        case VK_NEXT: return ext(0x51);
        case VK_INSERT: return ext(0x52);
        case VK_DELETE: return ext(0x53);
        case VK_SNAPSHOT: return ext(0x37);
        case VK_LWIN: return ext(0x5B);
        case VK_RWIN: return ext(0x5C);
        case VK_APPS: return ext(0x5D);
        default: return 0;
    }
}

Char VirtualKeyChar(Word VirtKey, const TShiftState& Shift) {
    bool shift = Shift.count(ssShift) != 0;
    bool ctrl = Shift.count(ssCtrl) != 0;
    if (VirtKey >= 'A' && VirtKey <= 'Z') {
        if (ctrl) return Char(char16_t(VirtKey - 'A' + 1));
        return shift ? Char(char16_t(VirtKey)) : Char(char16_t(VirtKey - 'A' + 'a'));
    }
    if (ctrl) {
        switch (VirtKey) {
            case VK_RETURN: return Char(char16_t(10));
            case VK_BACK: return Char(char16_t(127));
            case VK_ESCAPE: return Char(char16_t(27));
            case VK_OEM_4: return Char(char16_t(27));
            default: return Char(char16_t(0));
        }
    }
    static const char* const ShiftedDigits = ")!@#$%^&*(";
    if (VirtKey >= '0' && VirtKey <= '9')
        return shift ? Char(char16_t(ShiftedDigits[VirtKey - '0'])) : Char(char16_t(VirtKey));
    if (VirtKey >= VK_NUMPAD0 && VirtKey <= VK_NUMPAD9) return Char(char16_t('0' + (VirtKey - VK_NUMPAD0)));
    auto pick = [shift](char normal, char shifted) { return Char(char16_t(shift ? shifted : normal)); };
    switch (VirtKey) {
        case VK_SPACE: return Char(char16_t(' '));
        case VK_RETURN: return Char(char16_t(13));
        case VK_ESCAPE: return Char(char16_t(27));
        case VK_TAB: return Char(char16_t(9));
        case VK_BACK: return Char(char16_t(8));
        case VK_MULTIPLY: return Char(char16_t('*'));
        case VK_ADD: return Char(char16_t('+'));
        case VK_SUBTRACT: return Char(char16_t('-'));
        case VK_DECIMAL: return Char(char16_t('.'));
        case VK_DIVIDE: return Char(char16_t('/'));
        case VK_OEM_1: return pick(';', ':');
        case VK_OEM_PLUS: return pick('=', '+');
        case VK_OEM_COMMA: return pick(',', '<');
        case VK_OEM_MINUS: return pick('-', '_');
        case VK_OEM_PERIOD: return pick('.', '>');
        case VK_OEM_2: return pick('/', '?');
        case VK_OEM_3: return pick('`', '~');
        case VK_OEM_4: return pick('[', '{');
        case VK_OEM_5: return pick('\\', '|');
        case VK_OEM_6: return pick(']', '}');
        case VK_OEM_7: return pick('\'', '"');
        default: return Char(char16_t(0));
    }
}

Qt::KeyboardModifiers ShiftToQtModifiers(const TShiftState& Shift) {
    Qt::KeyboardModifiers m;
    if (Shift.count(ssShift)) m |= Qt::ShiftModifier;
    if (Shift.count(ssCtrl)) m |= Qt::ControlModifier;
    if (Shift.count(ssAlt)) m |= Qt::AltModifier;
    return m;
}

TShiftState QtModifiersToShift(Qt::KeyboardModifiers Modifiers) {
    TShiftState s;
    if (Modifiers & Qt::ShiftModifier) s.insert(ssShift);
    if (Modifiers & Qt::ControlModifier) s.insert(ssCtrl);
    if (Modifiers & Qt::AltModifier) s.insert(ssAlt);
    return s;
}

// =============================================================================================
// Driving controls with Qt events

namespace {

Qt::MouseButtons GSimButtons;

Qt::MouseButton QtButton(TMouseButton Button) {
    switch (Button) {
        case mbRight: return Qt::RightButton;
        case mbMiddle: return Qt::MiddleButton;
        default: return Qt::LeftButton;
    }
}

// The widget that receives Target's mouse events and the point in that widget.
QWidget* MouseWidget(TControl* Target, int& X, int& Y) {
    if (auto* w = dynamic_cast<TWinControl*>(Target)) return w->Widget();
    TWinControl* p = Target->Parent();
    if (!p) return nullptr;
    X += Target->Left();
    Y += Target->Top();
    return p->Widget();
}

void SendKey(TWinControl* Target, QEvent::Type Type, Word Key, const TShiftState& Shift, Char Ch) {
    TWinControl* t = Target ? Target : TControlPrivate::Focused();
    if (!t) return;
    QWidget* w = t->Widget();
    bool keypad = false;
    int qk = VirtualKeyToQtKey(Key, keypad);
    if (Key == VK_TAB && Shift.count(ssShift)) qk = Qt::Key_Backtab;
    Qt::KeyboardModifiers mods = ShiftToQtModifiers(Shift);
    if (keypad) mods |= Qt::KeypadModifier;
    String text;
    if (Type == QEvent::KeyPress) {
        Char ch = Ch.unicode() ? Ch : VirtualKeyChar(Key, Shift);
        if (ch.unicode()) text = String(ch);
    }
    QKeyEvent ev(Type, qk, mods, 0, qk ? 0 : Key, 0, text);
    QCoreApplication::sendEvent(w, &ev);
}

void SendMouse(TControl* Target, QEvent::Type Type, Qt::MouseButton Button, const TShiftState& Shift, int X,
               int Y) {
    if (!Target) return;
    QWidget* w = MouseWidget(Target, X, Y);
    if (!w) return;
    if (Type == QEvent::MouseButtonPress || Type == QEvent::MouseButtonDblClick) GSimButtons |= Button;
    if (Type == QEvent::MouseButtonRelease) GSimButtons &= ~Qt::MouseButtons(Button);
    QPointF local(X, Y);
    QPointF global = w->mapToGlobal(local);
    QMouseEvent ev(Type, local, global, Button, GSimButtons, ShiftToQtModifiers(Shift));
    QCoreApplication::sendEvent(w, &ev);
}

} // namespace

void SimulateKeyDown(TWinControl* Target, Word Key, TShiftState Shift, Char Ch) {
    SendKey(Target, QEvent::KeyPress, Key, Shift, Ch);
}

void SimulateKeyUp(TWinControl* Target, Word Key, TShiftState Shift) {
    SendKey(Target, QEvent::KeyRelease, Key, Shift, Char(0));
}

void SimulateKey(TWinControl* Target, Word Key, TShiftState Shift, Char Ch) {
    TWinControl* t = Target ? Target : TControlPrivate::Focused();
    if (!t) return;
    HWND h = t->Handle();
    SimulateKeyDown(t, Key, Shift, Ch);
    // The release goes to the window with the focus now (the press may have moved it).
    TWinControl* up = TControlPrivate::Focused();
    if (!up || RootOf(up) != RootOf(t)) up = FindControl(h);
    if (up) SimulateKeyUp(up, Key, Shift);
}

void SimulateText(TWinControl* Target, const String& Text) {
    for (QChar ch : Text) {
        Word vk = 0;
        TShiftState shift;
        ushort u = ch.unicode();
        if (u >= 'a' && u <= 'z')
            vk = Word(u - 'a' + 'A');
        else if (u >= 'A' && u <= 'Z') {
            vk = u;
            shift.insert(ssShift);
        } else if (u >= '0' && u <= '9')
            vk = u;
        else if (u == ' ')
            vk = VK_SPACE;
        SimulateKey(Target, vk, shift, ch);
    }
}

void SimulateMouseDown(TControl* Target, TMouseButton Button, TShiftState Shift, int X, int Y) {
    SendMouse(Target, QEvent::MouseButtonPress, QtButton(Button), Shift, X, Y);
}

void SimulateMouseUp(TControl* Target, TMouseButton Button, TShiftState Shift, int X, int Y) {
    SendMouse(Target, QEvent::MouseButtonRelease, QtButton(Button), Shift, X, Y);
}

void SimulateMouseMove(TControl* Target, TShiftState Shift, int X, int Y) {
    SendMouse(Target, QEvent::MouseMove, Qt::NoButton, Shift, X, Y);
}

void SimulateDblClick(TControl* Target, TMouseButton Button, TShiftState Shift, int X, int Y) {
    Qt::MouseButton b = QtButton(Button);
    SendMouse(Target, QEvent::MouseButtonPress, b, Shift, X, Y);
    SendMouse(Target, QEvent::MouseButtonRelease, b, Shift, X, Y);
    SendMouse(Target, QEvent::MouseButtonDblClick, b, Shift, X, Y);
    SendMouse(Target, QEvent::MouseButtonRelease, b, Shift, X, Y);
}

void SimulateClick(TControl* Target, int X, int Y, TMouseButton Button, TShiftState Shift) {
    SimulateMouseDown(Target, Button, Shift, X, Y);
    SimulateMouseUp(Target, Button, Shift, X, Y);
}

void SimulateMouseEnter(TControl* Target) {
    if (!Target) return;
    int x = Target->Width() / 2, y = Target->Height() / 2;
    QWidget* w = MouseWidget(Target, x, y);
    if (!w) return;
    if (dynamic_cast<TWinControl*>(Target)) {
        QPointF local(x, y);
        QEnterEvent ev(local, local, w->mapToGlobal(local));
        QCoreApplication::sendEvent(w, &ev);
    } else {
        SendMouse(Target, QEvent::MouseMove, Qt::NoButton, {}, Target->Width() / 2, Target->Height() / 2);
    }
}

void SimulateMouseLeave(TControl* Target) {
    if (!Target) return;
    int x = 0, y = 0;
    QWidget* w = MouseWidget(Target, x, y);
    if (!w) return;
    QEvent ev(QEvent::Leave);
    QCoreApplication::sendEvent(w, &ev);
}

void SimulateWheel(TControl* Target, int Delta, TShiftState Shift, int X, int Y) {
    if (!Target) return;
    QWidget* w = MouseWidget(Target, X, Y);
    if (!w) return;
    QPointF local(X, Y);
    QWheelEvent ev(local, w->mapToGlobal(local), QPoint(), QPoint(0, Delta), GSimButtons,
                   ShiftToQtModifiers(Shift), Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(w, &ev);
}

bool ProcessMessagesUntil(const std::function<bool()>& Condition, int TimeoutMs) {
    QElapsedTimer clock;
    clock.start();
    while (!Condition()) {
        if (clock.elapsed() > TimeoutMs) return Condition();
        QCoreApplication::processEvents(QEventLoop::AllEvents);
        if (Condition()) return true;
        // Wait for the next event, but never longer than a moment, so the bound holds.
        QTimer wake;
        wake.setSingleShot(true);
        wake.start(10);
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
    return true;
}
