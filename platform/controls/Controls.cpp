#include "Controls.h"

#include "ActnList.h"
#include "Forms.h"
#include "Menus.h"
#include "OSInfo.h"
#include "QtBridge.h"
#include "StandIn.h"
#include "WindowPosNotice.h"
#include "WindowFrame.h"

#include <QApplication>
#include <QCursor>
#include <QPainter>
#include <QTimer>

#include <algorithm>

// =============================================================================================
// TControl

TControl::TControl(TComponent* AOwner) : TComponent(AOwner) {
    FFont = new TFont();
    FFont->OnChange = [this](TObject* Sender) { FontChanged(Sender); };
    FControlStyle = {csCaptureMouse, csClickEvents, csSetCaption, csDoubleClicks};
    WindowProc = [this](TMessage& Message) { WndProc(Message); };
}

TControl::~TControl() {
    TControlPrivate::ControlDestroyed(this);
    if (FParent) FParent->RemoveControl(this);
    if (FActionLink) {
        TBasicActionLink* link = FActionLink;
        FActionLink = nullptr;
        TObject::Free(link);
    }
    TObject::Free(FFont);
    FFont = nullptr;
}

LRESULT TControl::Perform(UINT Msg, WPARAM WParam, LPARAM LParam) {
    TMessage Message(Msg, WParam, LParam);
    WindowProc(Message);
    return Message.Result;
}

LRESULT TControl::Perform(TMessage& Message) {
    WindowProc(Message);
    return Message.Result;
}

void TControl::WndProc(TMessage& Message) {
    if (Message.Msg >= WM_MOUSEFIRST && Message.Msg <= WM_MOUSELAST) {
        // Without double clicks the platform sends a second press instead.
        if (!HasStyle(csDoubleClicks)) {
            switch (Message.Msg) {
                case WM_LBUTTONDBLCLK:
                case WM_RBUTTONDBLCLK:
                case WM_MBUTTONDBLCLK: Message.Msg -= WM_LBUTTONDBLCLK - WM_LBUTTONDOWN; break;
                default: break;
            }
        }
        switch (Message.Msg) {
            case WM_LBUTTONDOWN:
            case WM_LBUTTONDBLCLK: FControlState.insert(csLButtonDown); break;
            case WM_LBUTTONUP: FControlState.erase(csLButtonDown); break;
            default: break;
        }
        // The application's hint follows the mouse (a press hides it).
        if (Application) Application->HintMouseMessage(this, Message);
    } else if (Message.Msg == WM_KEYDOWN || Message.Msg == WM_SYSKEYDOWN || Message.Msg == CM_MOUSELEAVE) {
        if (Application) Application->HintMouseMessage(this, Message);
    }
    Dispatch(Message);
}

void TControl::Dispatch(TMessage& Message) {
    switch (Message.Msg) {
        case WM_LBUTTONDOWN: CallHandler<TWMMouse>(this, &TControl::WMLButtonDown, Message); break;
        case WM_LBUTTONUP: CallHandler<TWMMouse>(this, &TControl::WMLButtonUp, Message); break;
        case WM_LBUTTONDBLCLK: CallHandler<TWMMouse>(this, &TControl::WMLButtonDblClk, Message); break;
        case WM_RBUTTONDOWN: CallHandler<TWMMouse>(this, &TControl::WMRButtonDown, Message); break;
        case WM_RBUTTONUP: CallHandler<TWMMouse>(this, &TControl::WMRButtonUp, Message); break;
        case WM_RBUTTONDBLCLK: CallHandler<TWMMouse>(this, &TControl::WMRButtonDblClk, Message); break;
        case WM_MBUTTONDOWN: CallHandler<TWMMouse>(this, &TControl::WMMButtonDown, Message); break;
        case WM_MBUTTONUP: CallHandler<TWMMouse>(this, &TControl::WMMButtonUp, Message); break;
        case WM_MBUTTONDBLCLK: CallHandler<TWMMouse>(this, &TControl::WMMButtonDblClk, Message); break;
        case WM_MOUSEMOVE: CallHandler<TWMMouse>(this, &TControl::WMMouseMove, Message); break;
        case WM_MOUSEWHEEL: CallHandler<TWMMouseWheel>(this, &TControl::WMMouseWheel, Message); break;
        case WM_CONTEXTMENU: CallHandler<TWMContextMenu>(this, &TControl::WMContextMenu, Message); break;
        case CM_MOUSEWHEEL: CallHandler<TCMMouseWheel>(this, &TControl::CMMouseWheel, Message); break;
        case CM_ENABLEDCHANGED: CMEnabledChanged(Message); break;
        case CM_VISIBLECHANGED: CMVisibleChanged(Message); break;
        case CM_FONTCHANGED: CMFontChanged(Message); break;
        case CM_COLORCHANGED: CMColorChanged(Message); break;
        case CM_PARENTFONTCHANGED: CMParentFontChanged(Message); break;
        case CM_PARENTCOLORCHANGED: CMParentColorChanged(Message); break;
        case CM_PARENTSHOWHINTCHANGED: CMParentShowHintChanged(Message); break;
        case CM_MOUSEENTER: CMMouseEnter(Message); break;
        case CM_MOUSELEAVE: CMMouseLeave(Message); break;
        case CM_HITTEST: CallHandler<TCMHitTest>(this, &TControl::CMHitTest, Message); break;
        case CM_TEXTCHANGED: CMTextChanged(Message); break;
        case WM_CANCELMODE: WMCancelMode(Message); break;
        case WM_CAPTURECHANGED:
            CallHandler<TWMCaptureChanged>(this, &TControl::WMCaptureChanged, Message);
            break;
        default: DefaultHandler(Message); break;
    }
}

void TControl::DefaultHandler(TMessage& Message) {
    switch (Message.Msg) {
        case WM_GETTEXTLENGTH: Message.Result = GetTextLen(); break;
        default: break;
    }
}

// ---------------------------------------------------------------------------------------------
// Geometry

namespace {
std::vector<std::pair<int, TWindowPosNotice>>& WindowPosNotices() {
    static std::vector<std::pair<int, TWindowPosNotice>> notices;
    return notices;
}

void NotifyWindowPos(TWinControl* Window) {
    auto& notices = WindowPosNotices();
    if (notices.empty()) return;
    // A notice may add or remove notices: the ones present now are told.
    const auto copy = notices;
    for (const auto& n : copy) n.second(Window);
}
} // namespace

int AddWindowPosNotice(TWindowPosNotice Notice) {
    static int next = 0;
    WindowPosNotices().emplace_back(++next, std::move(Notice));
    return next;
}

void RemoveWindowPosNotice(int Id) {
    auto& notices = WindowPosNotices();
    std::erase_if(notices, [Id](const auto& n) { return n.first == Id; });
}

void TControl::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
    AWidth = std::max(0, AWidth);
    AHeight = std::max(0, AHeight);
    if (ALeft == FLeft && ATop == FTop && AWidth == FWidth && AHeight == FHeight) return;
    bool resized = AWidth != FWidth || AHeight != FHeight;
    TRect old = BoundsRect();
    FLeft = ALeft;
    FTop = ATop;
    FWidth = AWidth;
    FHeight = AHeight;
    BoundsChanged(resized);
    if (auto* window = dynamic_cast<TWinControl*>(this)) NotifyWindowPos(window);
    if (FParent) {
        if (!dynamic_cast<TWinControl*>(this)) {
            // A graphic control: its old and new places on the parent need painting.
            if (QWidget* w = FParent->WidgetIfAllocated()) {
                w->update(old.Left, old.Top, old.Width(), old.Height());
                w->update(FLeft, FTop, FWidth, FHeight);
            }
        }
        FParent->ChildBoundsChanged(this);
    }
}

void TControl::BoundsChanged(bool Resized) {
    if (Resized && !HasState(csLoading)) Resize();
}

TRect TControl::GetClientRect() const {
    return Rect(0, 0, FWidth, FHeight);
}

void TControl::SetClientWidth(int Value) {
    SetClientSize(Value, ClientHeight());
}
void TControl::SetClientHeight(int Value) {
    SetClientSize(ClientWidth(), Value);
}

void TControl::SetClientSize(int AWidth, int AHeight) {
    TRect cr = GetClientRect();
    SetBounds(FLeft, FTop, FWidth - cr.Width() + AWidth, FHeight - cr.Height() + AHeight);
}

TPoint TControl::ClientOrigin() const {
    if (!FParent) return TPoint(FLeft, FTop);
    TPoint p = FParent->ClientOrigin();
    return TPoint(p.X + FLeft, p.Y + FTop);
}

TPoint TControl::ClientToScreen(const TPoint& Point) const {
    TPoint o = ClientOrigin();
    return TPoint(Point.X + o.X, Point.Y + o.Y);
}

TPoint TControl::ScreenToClient(const TPoint& Point) const {
    TPoint o = ClientOrigin();
    return TPoint(Point.X - o.X, Point.Y - o.Y);
}

TPoint TControl::ClientToParent(const TPoint& Point, TWinControl* AParent) const {
    if (!AParent) AParent = FParent;
    if (!AParent) throw EInvalidOperation(QStringLiteral("Control '%1' has no parent window").arg(Name()));
    TPoint p = Point;
    const TControl* c = this;
    while (c && c != AParent) {
        p.X += c->FLeft;
        p.Y += c->FTop;
        c = c->FParent;
    }
    if (c != AParent)
        throw EInvalidOperation(QStringLiteral("Control '%1' has no parent window").arg(Name()));
    return p;
}

TPoint TControl::ParentToClient(const TPoint& Point, TWinControl* AParent) const {
    TPoint o = ClientToParent(TPoint(0, 0), AParent);
    return TPoint(Point.X - o.X, Point.Y - o.Y);
}

void TControl::SetAlign(TAlign Value) {
    if (FAlign == Value) return;
    TAlign old = FAlign;
    FAlign = Value;
    FAnchors = {akLeft, akTop};
    if (FParent && (old != alNone || Value != alNone)) FParent->AlignControl(this);
}

void TControl::SetAnchors(const TAnchors& Value) {
    FAnchors = Value;
}

// Moves or stretches the control by how much its parent's client area grew.
void TControl::ApplyAnchors(int DeltaWidth, int DeltaHeight) {
    if (FAlign != alNone) return;
    int l = FLeft, t = FTop, w = FWidth, h = FHeight;
    bool left = FAnchors.count(akLeft), right = FAnchors.count(akRight);
    bool top = FAnchors.count(akTop), bottom = FAnchors.count(akBottom);
    if (right && left)
        w += DeltaWidth;
    else if (right)
        l += DeltaWidth;
    else if (!left)
        l += DeltaWidth / 2;
    if (bottom && top)
        h += DeltaHeight;
    else if (bottom)
        t += DeltaHeight;
    else if (!top)
        t += DeltaHeight / 2;
    SetBounds(l, t, w, h);
}

// ---------------------------------------------------------------------------------------------
// State

void TControl::SetVisible(bool Value) {
    if (FVisible == Value) return;
    FVisible = Value;
    Perform(CM_VISIBLECHANGED, Value ? 1 : 0, 0);
    if (FParent && FAlign != alNone) FParent->AlignControl(this);
}

void TControl::Show() {
    SetVisible(true);
}

void TControl::Hide() {
    SetVisible(false);
}

void TControl::SetEnabled(bool Value) {
    if (FEnabled == Value) return;
    FEnabled = Value;
    Perform(CM_ENABLEDCHANGED);
}

bool TControl::Showing() const {
    return FVisible && FParent && FParent->Showing();
}

bool TControl::UseRightToLeftAlignment() const {
    return PlatformSwitches().MiddleEastLocale && FBiDiMode == bdRightToLeft;
}

bool TControl::UseRightToLeftReading() const {
    return PlatformSwitches().MiddleEastLocale && FBiDiMode != bdLeftToRight;
}

void TControl::SetParent(TWinControl* AParent) {
    if (FParent == AParent) return;
    if (AParent == this)
        throw EInvalidOperation(QStringLiteral("A control cannot have itself as its parent"));
    if (FParent) FParent->RemoveControl(this);
    if (AParent) AParent->InsertControl(this);
}

void TControl::SetColor(TColor Value) {
    if (FColor == Value) return;
    FColor = Value;
    FParentColor = false;
    Perform(CM_COLORCHANGED);
}

void TControl::SetParentColor(bool Value) {
    if (FParentColor == Value) return;
    FParentColor = Value;
    if (FParent && Value) Perform(CM_PARENTCOLORCHANGED);
}

void TControl::SetFont(TFont* Value) {
    if (Value) FFont->Assign(Value);
}

void TControl::FontChanged(TObject*) {
    if (!FSettingParentFont) FParentFont = false;
    Perform(CM_FONTCHANGED);
}

void TControl::SetParentFont(bool Value) {
    if (FParentFont == Value) return;
    FParentFont = Value;
    if (FParent && Value) Perform(CM_PARENTFONTCHANGED);
}

void TControl::SetText(const String& Value) {
    if (GetText() == Value) return;
    FText = Value;
    Perform(CM_TEXTCHANGED);
}

void TControl::SetHint(const String& Value) {
    FHint = Value;
}

void TControl::SetDragMode(TDragMode Value) {
    if (Value == dmAutomatic) PlatformStandIn("TControl::SetDragMode");
    FDragMode = Value;
}

bool TControl::IsDragging() const {
    PlatformStandIn("TControl::IsDragging");
    return false;
}

void TControl::SetShowHint(bool Value) {
    FParentShowHint = false;
    if (FShowHint == Value) return;
    FShowHint = Value;
    Perform(CM_SHOWHINTCHANGED);
}

void TControl::SetParentShowHint(bool Value) {
    if (FParentShowHint == Value) return;
    FParentShowHint = Value;
    if (FParent && Value) Perform(CM_PARENTSHOWHINTCHANGED);
}

void TControl::SetCursor(TCursor Value) {
    if (FCursor == Value) return;
    FCursor = Value;
    Perform(CM_CURSORCHANGED);
}

void TControl::SetPopupMenu(TPopupMenu* Value) {
    if (FPopupMenu == Value) return;
    if (FPopupMenu) FPopupMenu->RemoveFreeNotification(this);
    FPopupMenu = Value;
    if (Value) Value->FreeNotification(this);
}

TBasicAction* TControl::Action() const {
    return FActionLink ? FActionLink->Action() : nullptr;
}

void TControl::SetAction(TBasicAction* Value) {
    if (!Value) {
        if (FActionLink) {
            TBasicActionLink* link = FActionLink;
            FActionLink = nullptr;
            TObject::Free(link);
        }
        FControlStyle.erase(csActionClient);
        return;
    }
    if (!FActionLink) {
        FActionLink = CreateActionLink();
        FActionLink->OnChange = [this](TObject* Sender) { DoActionChange(Sender); };
    }
    FActionLink->SetAction(Value);
    ActionChange(Value, HasState(csLoading));
    Value->FreeNotification(this);
    FControlStyle.insert(csActionClient);
}

TControlActionLink* TControl::CreateActionLink() {
    return new TControlActionLink(this);
}

void TControl::DoActionChange(TObject* Sender) {
    if (Sender && Sender == Action()) ActionChange(Sender, false);
}

void TControl::ActionChange(TObject* Sender, bool CheckDefaults) {
    auto* a = dynamic_cast<TCustomAction*>(Sender);
    if (!a) return;
    if (!CheckDefaults || Caption().isEmpty() || Caption() == Name()) SetCaption(a->Caption());
    if (!CheckDefaults || Enabled()) SetEnabled(a->Enabled());
    if (!CheckDefaults || FHint.isEmpty()) SetHint(a->Hint());
    if (!CheckDefaults || Visible()) SetVisible(a->Visible());
}

bool TControl::MouseCapture() const {
    return TControlPrivate::Capture() == this;
}

void TControl::SetMouseCapture(bool Value) {
    if (MouseCapture() == Value) return;
    TControlPrivate::SetCapture(Value ? this : nullptr);
}

// A control without a window: its place on the parent's window is shown again (its own image
// is painted anew whenever the parent's window is).
void TControl::Invalidate() {
    if (!FParent) return;
    if (QWidget* w = FParent->WidgetIfAllocated()) w->update(FLeft, FTop, FWidth, FHeight);
}

void TControl::Update() {
    if (FParent) FParent->Update();
}

void TControl::Repaint() {
    Invalidate();
    Update();
}

void TControl::BringToFront() {
    if (!FParent) return;
    auto& list = FParent->FControls;
    auto it = std::find(list.begin(), list.end(), this);
    if (it == list.end()) return;
    list.erase(it);
    list.push_back(this);
    if (auto* w = dynamic_cast<TWinControl*>(this); w && w->FQWidget) TWindowExtras::Outer(w)->raise();
    FParent->Invalidate();
}

void TControl::SendToBack() {
    if (!FParent) return;
    auto& list = FParent->FControls;
    auto it = std::find(list.begin(), list.end(), this);
    if (it == list.end()) return;
    list.erase(it);
    list.insert(list.begin(), this);
    if (auto* w = dynamic_cast<TWinControl*>(this); w && w->FQWidget) TWindowExtras::Outer(w)->lower();
    FParent->Invalidate();
}

void TControl::Click() {
    if (Assigned(OnClick))
        OnClick(this);
    else if (FActionLink)
        FActionLink->Execute(this);
}

void TControl::DblClick() {
    if (Assigned(OnDblClick)) OnDblClick(this);
}

void TControl::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
    if (Assigned(OnMouseDown)) OnMouseDown(this, Button, Shift, X, Y);
}

void TControl::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
    if (Assigned(OnMouseUp)) OnMouseUp(this, Button, Shift, X, Y);
}

void TControl::MouseMove(TShiftState Shift, int X, int Y) {
    if (Assigned(OnMouseMove)) OnMouseMove(this, Shift, X, Y);
}

bool TControl::DoMouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos) {
    bool handled = false;
    if (Assigned(OnMouseWheel)) OnMouseWheel(this, Shift, WheelDelta, MousePos, handled);
    if (!handled) {
        if (WheelDelta < 0)
            handled = DoMouseWheelDown(Shift, MousePos);
        else
            handled = DoMouseWheelUp(Shift, MousePos);
    }
    return handled;
}

bool TControl::DoMouseWheelDown(TShiftState Shift, TPoint MousePos) {
    bool handled = false;
    if (Assigned(OnMouseWheelDown)) OnMouseWheelDown(this, Shift, MousePos, handled);
    return handled;
}

bool TControl::DoMouseWheelUp(TShiftState Shift, TPoint MousePos) {
    bool handled = false;
    if (Assigned(OnMouseWheelUp)) OnMouseWheelUp(this, Shift, MousePos, handled);
    return handled;
}

// The wheel goes to the focused control of the form first, then up its parents.
void TControl::MouseWheelHandler(TMessage& Message) {
    TCustomForm* form = GetParentForm(this);
    if (form && form != this) {
        static_cast<TControl*>(form)->MouseWheelHandler(Message);
        return;
    }
    Message.Result = Perform(CM_MOUSEWHEEL, Message.WParam, Message.LParam);
}

void TControl::DragOver(TObject* Source, int X, int Y, TDragState State, bool& Accept) {
    Accept = false;
    if (Assigned(OnDragOver)) {
        Accept = true;
        OnDragOver(this, Source, X, Y, State, Accept);
    }
}

void TControl::Resize() {
    if (Assigned(OnResize)) OnResize(this);
}

void TControl::DoContextPopup(TPoint MousePos, bool& Handled) {
    if (Assigned(OnContextPopup)) OnContextPopup(this, MousePos, Handled);
}

void TControl::ChangeScale(int M, int D) {
    if (M == D || D == 0) return;
    SetBounds(FLeft * M / D, FTop * M / D, FWidth * M / D, FHeight * M / D);
}

void TControl::Loaded() {
    TComponent::Loaded();
}

void TControl::Notification(TComponent* AComponent, TOperation Operation) {
    TComponent::Notification(AComponent, Operation);
    if (Operation != opRemove) return;
    if (AComponent == FPopupMenu) FPopupMenu = nullptr;
    if (FActionLink && AComponent == FActionLink->Action()) SetAction(nullptr);
}

void TControl::SetName(const String& NewName) {
    bool changeText = HasStyle(csSetCaption) && !HasState(csLoading) && Name() == GetText() &&
                      (!Owner() || !dynamic_cast<TControl*>(Owner()) || !Owner()->HasState(csLoading));
    TComponent::SetName(NewName);
    if (changeText) SetText(NewName);
}

TCustomForm* TControl::ParentForm() const {
    return GetParentForm(this);
}

// ---------------------------------------------------------------------------------------------
// Mouse messages

void TControl::DoMouseDown(TWMMouse& Message, TMouseButton Button, TShiftState Shift) {
    if (HasStyle(csNoStdEvents)) return;
    TShiftState s = KeysToShiftState(Word(Integer(Message.Keys)));
    s.insert(Shift.begin(), Shift.end());
    MouseDown(Button, s, Message.XPos, Message.YPos);
}

void TControl::DoMouseUp(TWMMouse& Message, TMouseButton Button) {
    if (HasStyle(csNoStdEvents)) return;
    MouseUp(Button, KeysToShiftState(Word(Integer(Message.Keys))), Message.XPos, Message.YPos);
}

void TControl::WMLButtonDown(TWMMouse& Message) {
    DefaultHandler(Message);
    if (HasStyle(csCaptureMouse)) SetMouseCapture(true);
    if (HasStyle(csClickEvents)) FControlState.insert(csClicked);
    DoMouseDown(Message, mbLeft, {});
}

void TControl::WMLButtonDblClk(TWMMouse& Message) {
    DefaultHandler(Message);
    if (HasStyle(csCaptureMouse)) SetMouseCapture(true);
    if (HasStyle(csClickEvents)) DblClick();
    DoMouseDown(Message, mbLeft, {ssDouble});
}

void TControl::WMLButtonUp(TWMMouse& Message) {
    DefaultHandler(Message);
    if (HasStyle(csCaptureMouse)) SetMouseCapture(false);
    if (FControlState.count(csClicked)) {
        FControlState.erase(csClicked);
        if (GetClientRect().Contains(Message.Pos())) Click();
    }
    DoMouseUp(Message, mbLeft);
}

void TControl::WMRButtonDown(TWMMouse& Message) {
    DefaultHandler(Message);
    if (HasStyle(csCaptureMouse)) SetMouseCapture(true);
    DoMouseDown(Message, mbRight, {});
}

void TControl::WMRButtonDblClk(TWMMouse& Message) {
    DefaultHandler(Message);
    if (HasStyle(csCaptureMouse)) SetMouseCapture(true);
    DoMouseDown(Message, mbRight, {ssDouble});
}

void TControl::WMRButtonUp(TWMMouse& Message) {
    DefaultHandler(Message);
    if (HasStyle(csCaptureMouse)) SetMouseCapture(false);
    DoMouseUp(Message, mbRight);
    // The platform follows a right-button release with the context-menu request.
    TPoint p = ClientToScreen(Message.Pos());
    Perform(WM_CONTEXTMENU, 0, MAKELPARAM(p.X, p.Y));
}

void TControl::WMMButtonDown(TWMMouse& Message) {
    DefaultHandler(Message);
    if (HasStyle(csCaptureMouse)) SetMouseCapture(true);
    DoMouseDown(Message, mbMiddle, {});
}

void TControl::WMMButtonDblClk(TWMMouse& Message) {
    DefaultHandler(Message);
    if (HasStyle(csCaptureMouse)) SetMouseCapture(true);
    DoMouseDown(Message, mbMiddle, {ssDouble});
}

void TControl::WMMButtonUp(TWMMouse& Message) {
    DefaultHandler(Message);
    if (HasStyle(csCaptureMouse)) SetMouseCapture(false);
    DoMouseUp(Message, mbMiddle);
}

void TControl::WMMouseMove(TWMMouse& Message) {
    DefaultHandler(Message);
    if (!HasStyle(csNoStdEvents))
        MouseMove(KeysToShiftState(Word(Integer(Message.Keys))), Message.XPos, Message.YPos);
}

void TControl::WMMouseWheel(TWMMouseWheel& Message) {
    MouseWheelHandler(Message);
    if (Message.Result == 0) DefaultHandler(Message);
}

void TControl::CMMouseWheel(TCMMouseWheel& Message) {
    Message.Result = 0;
    TShiftState shift = KeysToShiftState(Word(Message.Keys));
    if (DoMouseWheel(shift, SmallInt(Message.WheelDelta), Message.Pos()))
        Message.Result = 1;
    else if (FParent)
        Message.Result = FParent->Perform(CM_MOUSEWHEEL, Message.WParam(), Message.LParam());
}

void TControl::WMContextMenu(TWMContextMenu& Message) {
    if (Message.Result != 0) return;
    TPoint pos(SmallInt(Message.XPos), SmallInt(Message.YPos));
    TPoint clientPos = pos.X == -1 && pos.Y == -1 ? TPoint(-1, -1) : ScreenToClient(pos);
    bool handled = false;
    DoContextPopup(clientPos, handled);
    Message.Result = handled ? 1 : 0;
    if (handled) return;
    if (FPopupMenu && FPopupMenu->AutoPopup()) {
        if (pos.X == -1 && pos.Y == -1) pos = ClientToScreen(TPoint(0, 0));
        FPopupMenu->SetPopupComponent(this);
        FPopupMenu->Popup(pos.X, pos.Y);
        Message.Result = 1;
        return;
    }
    DefaultHandler(Message);
}

void TControl::CMEnabledChanged(TMessage&) {
    Invalidate();
}
void TControl::CMVisibleChanged(TMessage&) {
    if (FParent)
        if (QWidget* w = FParent->WidgetIfAllocated()) w->update(FLeft, FTop, FWidth, FHeight);
}
void TControl::CMFontChanged(TMessage&) {
    Invalidate();
}
void TControl::CMColorChanged(TMessage&) {
    Invalidate();
}

void TControl::CMParentFontChanged(TMessage& Message) {
    if (!FParentFont) return;
    TFont* src =
        Message.WParam ? reinterpret_cast<TFont*>(Message.LParam) : (FParent ? FParent->FFont : nullptr);
    if (!src) return;
    FSettingParentFont = true;
    try {
        FFont->Assign(src);
    } catch (...) {
        FSettingParentFont = false;
        throw;
    }
    FSettingParentFont = false;
    FParentFont = true;
}

void TControl::CMParentColorChanged(TMessage& Message) {
    if (!FParentColor) return;
    TColor c = Message.WParam ? TColor(Message.LParam) : (FParent ? FParent->FColor : FColor);
    SetColor(c);
    FParentColor = true;
}

void TControl::CMParentShowHintChanged(TMessage&) {
    if (!FParentShowHint || !FParent) return;
    SetShowHint(FParent->FShowHint);
    FParentShowHint = true;
}

void TControl::CMMouseEnter(TMessage& Message) {
    if (Message.LParam == 0 && Assigned(OnMouseEnter)) OnMouseEnter(this);
}

void TControl::CMMouseLeave(TMessage& Message) {
    if (Message.LParam == 0 && Assigned(OnMouseLeave)) OnMouseLeave(this);
}

void TControl::CMHitTest(TCMHitTest& Message) {
    Message.Result = HTCLIENT;
}

void TControl::CMTextChanged(TMessage&) {
    Invalidate();
}
