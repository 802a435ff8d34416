// The application's hints: the pause over a control, the CM_HINTSHOW query, the hint window
// and its timeout; THintWindow.
#include "Hints.h"

#include "Forms.h"
#include "QtBridge.h"
#include "ToolTips.h"

#include <QGuiApplication>
#include <QScreen>
#include <QTimer>

THintWindowClass HintWindowClass = HintWindowClassOf<THintWindow>();

namespace {

// The hint shows below the pointer, by the height of the standard arrow cursor.
constexpr int CursorHeightMargin = 20;

// The hint state of the application; owned by the application so it goes with it.
class THintController : public TComponent {
public:
    explicit THintController(TComponent* AOwner) : TComponent(AOwner), Timer(new QTimer()) {
        Timer->setSingleShot(true);
        QObject::connect(Timer, &QTimer::timeout, [this] { Tick(); });
    }
    ~THintController() override;

    TControl* Control = nullptr; // the control whose hint is pending or showing
    bool Active = false;         // a hint showed since the pointer came to a hint control
    TRect CursorRect;            // screen rectangle the shown hint belongs to
    THintWindow* Window = nullptr;
    THintWindowClass WindowClass = nullptr;
    QTimer* Timer;
    THintTimerMode Mode = htmNone;
    int Interval = 0;

    void Start(int Ms, THintTimerMode AMode) {
        Mode = AMode;
        Interval = std::max(0, Ms);
        Timer->start(Interval);
    }
    void Stop() {
        Timer->stop();
        Mode = htmNone;
        Interval = 0;
    }
    void Tick() {
        const THintTimerMode m = Mode;
        Stop();
        if (!Application) return;
        TControlPrivate::Guard(Application, [&] {
            if (m == htmShowHint) {
                TPoint p;
                GetCursorPos(p);
                Application->ActivateHint(p);
            } else if (m == htmHideHint) {
                Application->HideHint();
            }
        });
    }
    void SetControl(TControl* C) {
        Control = C;
        if (C) C->FreeNotification(this);
    }

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override {
        TComponent::Notification(AComponent, Operation);
        if (Operation != opRemove) return;
        if (AComponent == Control) {
            Control = nullptr;
            Active = false;
            Stop();
            if (Window && Window->HandleAllocated()) Window->ReleaseHandle();
        }
        if (AComponent == Window) {
            Window = nullptr;
            WindowClass = nullptr;
        }
    }
};

THintController* GHint = nullptr;

THintController::~THintController() {
    delete Timer;
    if (GHint == this) GHint = nullptr;
}

THintController* Hints() {
    if (!GHint && Application) GHint = new THintController(Application);
    return GHint;
}

// The control that shows a hint for C: the first up its parents with ShowHint.
TControl* GetHintControl(TControl* C) {
    while (C && !C->ShowHint()) C = C->Parent();
    return C;
}

// The hint of a control, or of the nearest parent that has one; the part before "|".
String ShortHintOf(TControl* C) {
    while (C && C->Hint().isEmpty()) C = C->Parent();
    if (!C) return String();
    const String hint = C->Hint();
    const auto bar = hint.indexOf(u'|');
    return bar < 0 ? hint : hint.left(bar);
}

TRect Offset(const TRect& R, int DX, int DY) {
    return TRect(R.Left + DX, R.Top + DY, R.Right + DX, R.Bottom + DY);
}

} // namespace

// =============================================================================================
// The application's hint

void TApplication::HintMouseMessage(TControl* Control, TMessage& Message) {
    THintController* st = Hints();
    if (!st || !Control) return;
    if (IsTipHidingMessage(Message.Msg)) {
        CancelHint();
        return;
    }
    if (Message.Msg == CM_MOUSELEAVE) {
        // The pointer left the hint control (and went to none of its parts).
        TControl* now = TControlPrivate::MouseControl();
        if (st->Control && (!now || GetHintControl(now) != st->Control)) CancelHint();
        return;
    }
    if (Message.Msg != WM_MOUSEMOVE) return;
    if (!FShowHint) {
        CancelHint();
        return;
    }
    const TPoint local = LParamToPoint(Message.LParam);
    const TPoint screen = Control->ClientToScreen(local);
    TControl* under = Control;
    // With the capture the messages come from outside the control too.
    if (!Rect(0, 0, Control->Width(), Control->Height()).Contains(local))
        under = FindDragTarget(screen, true);
    TControl* hc = GetHintControl(under);
    if (!hc) {
        CancelHint();
        return;
    }
    if (hc == st->Control && st->CursorRect.Contains(screen)) return;
    const bool wasActive = st->Active;
    int pause = wasActive ? HintShortPause : HintPause;
    hc->Perform(CM_HINTSHOWPAUSE, wasActive ? 1 : 0, LPARAM(&pause));
    CancelHint();
    st = Hints();
    if (!st) return;
    st->Active = wasActive;
    st->SetControl(hc);
    st->Start(pause, htmShowHint);
}

void TApplication::ActivateHint(const TPoint& CursorPos) {
    THintController* st = Hints();
    if (!st) return;
    st->Stop();
    TControl* hc = st->Control;
    if (!hc || !FShowHint || !hc->ShowHint() || !hc->Showing()) {
        CancelHint();
        return;
    }
    THintInfo info;
    info.HintControl = hc;
    info.HintPos = TPoint(CursorPos.X, CursorPos.Y + CursorHeightMargin);
    info.HintMaxWidth = Screen ? Screen->Width() : 1024;
    info.HintColor = HintColor;
    // The control's bounds in its own client coordinates.
    const TPoint origin = hc->ClientOrigin();
    const TPoint parentOrigin = hc->Parent() ? hc->Parent()->ClientOrigin() : TPoint(hc->Left(), hc->Top());
    info.CursorRect = Offset(hc->BoundsRect(), parentOrigin.X - origin.X, parentOrigin.Y - origin.Y);
    info.CursorPos = hc->ScreenToClient(CursorPos);
    info.HintStr = ShortHintOf(hc);
    info.HideTimeout = HintHidePause;
    info.HintWindowClass = HintWindowClass;
    bool canShow = hc->Perform(CM_HINTSHOW, 0, LPARAM(&info)) == 0;
    if (canShow && Assigned(OnShowHint)) OnShowHint(info.HintStr, canShow, info);
    st = Hints();
    // The control may have gone while it was asked.
    if (!st || st->Control != hc) return;
    st->Active = canShow;
    if (canShow && !info.HintStr.isEmpty()) {
        THintWindowClass cls = info.HintWindowClass ? info.HintWindowClass : HintWindowClass;
        if (!st->Window || st->WindowClass != cls) {
            if (st->Window) TObject::Free(st->Window);
            st->Window = cls(st);
            st->WindowClass = cls;
            st->Window->FreeNotification(st);
        }
        st->CursorRect = Offset(info.CursorRect, origin.X, origin.Y);
        TRect r = st->Window->CalcHintRect(info.HintMaxWidth, info.HintStr, info.HintData);
        r = Offset(r, info.HintPos.X, info.HintPos.Y);
        st->Window->SetColor(info.HintColor);
        st->Window->ActivateHintData(r, info.HintStr, info.HintData);
        if (info.HideTimeout > 0) st->Start(info.HideTimeout, htmHideHint);
        return;
    }
    if (info.ReshowTimeout > 0)
        st->Start(info.ReshowTimeout, htmShowHint);
    else
        CancelHint();
}

void TApplication::HideHint() {
    THintController* st = GHint;
    if (st && st->Window && st->Window->HandleAllocated()) st->Window->ReleaseHandle();
}

void TApplication::CancelHint() {
    THintController* st = GHint;
    if (!st) return;
    if (st->Control) {
        HideHint();
        st->Control = nullptr;
        st->Active = false;
        st->Stop();
    }
    st->CursorRect = TRect();
}

// =============================================================================================
// Tests

THintTimerMode HintTimerMode() {
    return GHint ? GHint->Mode : htmNone;
}

int HintTimerInterval() {
    return GHint ? GHint->Interval : 0;
}

void HintTimerTick() {
    if (GHint && GHint->Mode != htmNone) GHint->Tick();
}

THintWindow* ShownHintWindow() {
    THintWindow* w = GHint ? GHint->Window : nullptr;
    return w && w->HandleAllocated() && w->Showing() ? w : nullptr;
}

// =============================================================================================
// THintWindow

THintWindow::THintWindow(TComponent* AOwner) : TCustomControl(AOwner) {
    SetVisible(false);
    SetColor(clInfoBk);
    if (Screen) {
        SetFont(Screen->HintFont());
        Canvas()->SetFont(Screen->HintFont());
    }
}

void THintWindow::CreateParams(TCreateParams& Params) {
    TCustomControl::CreateParams(Params);
    Params.Style = WS_POPUP | WS_BORDER;
    Params.ExStyle = WS_EX_TOOLWINDOW | WS_EX_TOPMOST;
    Params.WindowClassStyle |= CS_SAVEBITS;
    Params.WndParent = 0;
}

TRect THintWindow::CalcHintRect(int MaxWidth, const String& AHint, void*) {
    TRect r(0, 0, MaxWidth, 0);
    TCanvas* c = Canvas();
    c->SetFont(Font());
    DrawText(c, AHint, r, DT_CALCRECT | DT_LEFT | DT_WORDBREAK | DT_NOPREFIX);
    r.Right += 6;
    r.Bottom += 2;
    return r;
}

void THintWindow::ActivateHint(TRect Rect, const String& AHint) {
    SetCaption(AHint);
    // Kept on the screen that holds its top-left corner.
    QScreen* screen = nullptr;
    if (QGuiApplication::instance()) {
        screen = QGuiApplication::screenAt(QPoint(Rect.Left, Rect.Top));
        if (!screen) screen = QGuiApplication::primaryScreen();
    }
    if (screen) {
        const QRect g = screen->geometry();
        const int right = g.x() + g.width(), bottom = g.y() + g.height();
        int dx = 0, dy = 0;
        if (Rect.Right > right) dx = right - Rect.Right;
        if (Rect.Left + dx < g.x()) dx = g.x() - Rect.Left;
        if (Rect.Bottom > bottom) dy = bottom - Rect.Bottom;
        if (Rect.Top + dy < g.y()) dy = g.y() - Rect.Top;
        Rect = Offset(Rect, dx, dy);
    }
    SetBounds(Rect.Left, Rect.Top, Rect.Width(), Rect.Height());
    SetWindowPos(Handle(), HWND_TOPMOST, Rect.Left, Rect.Top, Rect.Width(), Rect.Height(),
                 SWP_SHOWWINDOW | SWP_NOACTIVATE);
    Invalidate();
}

void THintWindow::ActivateHintData(TRect Rect, const String& AHint, void*) {
    ActivateHint(Rect, AHint);
}

void THintWindow::ReleaseHandle() {
    SetVisible(false);
    DestroyHandle();
}

void THintWindow::Paint() {
    TCanvas* c = Canvas();
    TRect r = ClientRect();
    r.Left += 2;
    r.Top += 2;
    c->SetFont(Font());
    c->Font()->SetColor(clInfoText);
    c->Brush()->SetStyle(bsClear);
    DrawText(c, Caption(), r, DT_LEFT | DT_NOPREFIX | DT_WORDBREAK);
}
