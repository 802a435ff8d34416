#include "Controls.h"

#include "ActnList.h"
#include "Forms.h"
#include "Menus.h"
#include "QtBridge.h"

#include <QApplication>
#include <QCursor>
#include <QPainter>
#include <QTimer>

#include <algorithm>

namespace {

const char* const SCannotFocus = "Cannot focus a disabled or invisible window";

bool IsForm(const TControl* C) {
    return dynamic_cast<const TCustomForm*>(C) != nullptr;
}

// The topmost parent of a control (the control itself when it has none).
const TControl* RootOf(const TControl* C) {
    while (C && C->Parent()) C = C->Parent();
    return C;
}

} // namespace

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
    if (auto* w = dynamic_cast<TWinControl*>(this); w && w->FQWidget) w->FQWidget->raise();
    FParent->Invalidate();
}

void TControl::SendToBack() {
    if (!FParent) return;
    auto& list = FParent->FControls;
    auto it = std::find(list.begin(), list.end(), this);
    if (it == list.end()) return;
    list.erase(it);
    list.insert(list.begin(), this);
    if (auto* w = dynamic_cast<TWinControl*>(this); w && w->FQWidget) w->FQWidget->lower();
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

// =============================================================================================
// TWinControl

TWinControl::TWinControl(TComponent* AOwner) : TControl(AOwner) {
    FBrush = new TBrush();
    FBrush->SetColor(FColor);
}

void TWinControl::BeforeDestruction() {
    TControl::BeforeDestruction();
}

TWinControl::~TWinControl() {
    // The focus leaves without messages to a window that is going away.
    TControlPrivate::ClearFocusSilently(this);
    TControlPrivate::ControlDestroyed(this);
    // Leave the parent while still a windowed control (its tab list holds us).
    if (FParent) FParent->RemoveControl(this);
    // Children go with their parent, as the platform destroys child windows.
    while (!FControls.empty()) {
        TControl* c = FControls.back();
        RemoveControl(c);
        TObject::Free(c);
    }
    DestroyHandle();
    TObject::Free(FBrush);
    FBrush = nullptr;
}

HWND TWinControl::Handle() {
    HandleNeeded();
    return FHandle;
}

void TWinControl::HandleNeeded() {
    if (!FHandle) CreateHandle();
}

QWidget* TWinControl::Widget() {
    HandleNeeded();
    return FQWidget;
}

QWidget* TWinControl::WidgetIfAllocated() const {
    return FQWidget;
}

void TWinControl::CreateParams(TCreateParams& Params) {
    Params.Caption = GetText();
    Params.Style = WS_CHILD | WS_CLIPSIBLINGS;
    if (HasStyle(csAcceptsControls)) {
        Params.Style |= WS_CLIPCHILDREN;
        Params.ExStyle |= WS_EX_CONTROLPARENT;
    }
    if (!FEnabled) Params.Style |= WS_DISABLED;
    if (FTabStop) Params.Style |= WS_TABSTOP;
    Params.X = FLeft;
    Params.Y = FTop;
    Params.Width = FWidth;
    Params.Height = FHeight;
    Params.WndParent = FParent ? FParent->FHandle : 0;
    Params.WindowClassStyle = CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS;
    if (!HasStyle(csDoubleClicks)) Params.WindowClassStyle &= ~CS_DBLCLKS;
    Params.WinClassName = ClassName();
}

QWidget* TWinControl::CreateWidget(const TCreateParams&, QWidget* ParentWidget) {
    return new TControlWidget(this, ParentWidget);
}

void TWinControl::CreateHandle() {
    if (FHandle) return;
    CreateWnd();
    if (!FHandle) return;
    for (size_t i = 0; i < FControls.size(); ++i)
        if (auto* w = dynamic_cast<TWinControl*>(FControls[i])) w->CreateHandle();
}

void TWinControl::CreateWnd() {
    QWidget* parentWidget = nullptr;
    if (FParent) {
        FParent->HandleNeeded();
        if (FHandle) return; // the parent made ours with its own
        parentWidget = FParent->FQWidget;
    }
    TCreateParams params;
    CreateParams(params);
    FStyle = params.Style;
    FExStyle = params.ExStyle;
    FQWidget = CreateWidget(params, parentWidget);
    FWidget = dynamic_cast<TControlWidget*>(FQWidget);
    FHandle = TControlPrivate::Register(this);
    FQWidget->setFocusPolicy(Qt::NoFocus);
    FQWidget->setMouseTracking(true);
    FQWidget->setEnabled(FEnabled);
    SyncWidgetGeometry();
    ApplyCursor();
    FNeedsPaint = true;
    if (FParent) FQWidget->setVisible(FVisible);
    FLastClient = GetClientRect();
}

void TWinControl::DestroyWnd() {
    if (!FHandle) return;
    for (auto& [id, timer] : FTimers) delete timer;
    FTimers.clear();
    TControlPrivate::Unregister(FHandle);
    FHandle = 0;
    QWidget* w = FQWidget;
    FQWidget = nullptr;
    FWidget = nullptr;
    TControlPrivate::DisposeWidget(w);
}

void TWinControl::DestroyHandle() {
    if (!FHandle) return;
    FControlState.insert(csDestroyingHandle);
    for (TControl* c : FControls)
        if (auto* w = dynamic_cast<TWinControl*>(c)) w->DestroyHandle();
    DestroyWnd();
    FControlState.erase(csDestroyingHandle);
}

void TWinControl::RecreateWnd() {
    if (!FHandle) return;
    bool hadFocus = ContainsControl(TControlPrivate::Focused());
    TWinControl* focused = TControlPrivate::Focused();
    FControlState.insert(csRecreating);
    DestroyHandle();
    CreateHandle();
    FControlState.erase(csRecreating);
    if (FQWidget && FParent == nullptr && FShowing) FQWidget->setVisible(true);
    if (hadFocus && focused && focused->FQWidget) focused->FQWidget->setFocus(Qt::OtherFocusReason);
}

void TWinControl::SyncWidgetGeometry() {
    if (!FQWidget) return;
    if (FParent) {
        FQWidget->setGeometry(FLeft, FTop, FWidth, FHeight);
    } else {
        TPoint o = ClientOrigin();
        TRect cr = GetClientRect();
        // A window of fixed size keeps being fixed, at its new size.
        if (FQWidget->minimumSize() == FQWidget->maximumSize())
            FQWidget->setFixedSize(cr.Width(), cr.Height());
        FQWidget->setGeometry(o.X, o.Y, cr.Width(), cr.Height());
    }
}

void TWinControl::ApplyCursor() {
    if (!FQWidget || !Screen) return;
    FQWidget->setCursor(Screen->Cursors(FCursor == crDefault ? crArrow : FCursor));
}

// ---------------------------------------------------------------------------------------------
// Children

TControl* TWinControl::Controls(int Index) const {
    if (Index < 0 || Index >= ControlCount())
        throw EListError(QStringLiteral("List index out of bounds (%1)").arg(Index));
    return FControls[size_t(Index)];
}

int TWinControl::WinControlCount() const {
    return int(FTabList.size());
}

void TWinControl::InsertControl(TControl* AControl) {
    if (!AControl || AControl->FParent == this) return;
    if (auto* w = dynamic_cast<TWinControl*>(AControl); AControl == this || (w && w->ContainsControl(this)))
        throw EInvalidOperation(QStringLiteral("A control cannot have itself or its child as its parent"));
    if (AControl->FParent) AControl->FParent->RemoveControl(AControl);
    FControls.push_back(AControl);
    AControl->FParent = this;
    auto* win = dynamic_cast<TWinControl*>(AControl);
    if (win) FTabList.push_back(win);
    AControl->Perform(CM_PARENTCOLORCHANGED);
    AControl->Perform(CM_PARENTFONTCHANGED);
    AControl->Perform(CM_PARENTSHOWHINTCHANGED);
    if (win) {
        if (win->FParentCtl3D) win->FCtl3D = FCtl3D;
        if (FHandle) {
            if (win->FHandle) {
                // A window moving to a new parent is made anew there.
                win->DestroyHandle();
            }
            win->CreateHandle();
        } else if (win->FHandle) {
            win->DestroyHandle();
        }
        win->UpdateShowing();
    }
    if (AControl->FAlign != alNone) AlignControl(AControl);
    Invalidate();
}

void TWinControl::RemoveControl(TControl* AControl) {
    auto it = std::find(FControls.begin(), FControls.end(), AControl);
    if (it == FControls.end()) return;
    if (auto* win = dynamic_cast<TWinControl*>(AControl)) {
        if (TCustomForm* form = GetParentForm(this)) form->DefocusControl(win, true);
        auto t = std::find(FTabList.begin(), FTabList.end(), win);
        if (t != FTabList.end()) FTabList.erase(t);
    }
    FControls.erase(std::find(FControls.begin(), FControls.end(), AControl));
    AControl->FParent = nullptr;
    if (auto* win = dynamic_cast<TWinControl*>(AControl)) {
        if (win->FHandle && !win->HasState(csDestroying)) win->DestroyHandle();
        win->FShowing = false;
    }
    if (AControl->FAlign != alNone) Realign();
    Invalidate();
}

bool TWinControl::ContainsControl(const TControl* Control) const {
    while (Control && Control != this) Control = Control->FParent;
    return Control == this;
}

TControl* TWinControl::ControlAtPos(const TPoint& Pos, bool AllowDisabled, bool AllowWinControls) const {
    for (size_t i = FControls.size(); i-- > 0;) {
        TControl* c = FControls[i];
        bool win = dynamic_cast<TWinControl*>(c) != nullptr;
        if (win && !AllowWinControls) continue;
        if (!c->FVisible || (!c->FEnabled && !AllowDisabled)) continue;
        TPoint p(Pos.X - c->FLeft, Pos.Y - c->FTop);
        if (!Rect(0, 0, c->FWidth, c->FHeight).Contains(p)) continue;
        if (c->Perform(CM_HITTEST, 0, PointToLParam(p)) == 0) continue;
        return c;
    }
    return nullptr;
}

void TWinControl::Broadcast(TMessage& Message) {
    for (size_t i = 0; i < FControls.size(); ++i) {
        FControls[i]->WindowProc(Message);
        if (Message.Result != 0) return;
    }
}

void TWinControl::NotifyControls(UINT Msg) {
    TMessage m(Msg);
    for (size_t i = 0; i < FControls.size(); ++i) FControls[i]->WindowProc(m);
}

// ---------------------------------------------------------------------------------------------
// Alignment

void TWinControl::DisableAlign() {
    ++FAlignLevel;
}

void TWinControl::EnableAlign() {
    if (FAlignLevel > 0) --FAlignLevel;
    if (FAlignLevel == 0 && FAlignPending) Realign();
}

void TWinControl::Realign() {
    AlignControl(nullptr);
}

void TWinControl::AlignControl(TControl* AControl) {
    if (FAlignLevel > 0 || FControlState.count(csAligning)) {
        FAlignPending = true;
        return;
    }
    FAlignPending = false;
    FControlState.insert(csAligning);
    try {
        TRect r = GetClientRect();
        AlignControls(AControl, r);
    } catch (...) {
        FControlState.erase(csAligning);
        throw;
    }
    FControlState.erase(csAligning);
    if (FAlignPending) {
        FAlignPending = false;
        Realign();
    }
}

void TWinControl::AdjustClientRect(TRect& Rect) {
    Rect = GetClientRect();
}

void TWinControl::AlignControls(TControl* AControl, TRect& Rect) {
    AdjustClientRect(Rect);
    bool changed = false;
    for (TAlign a : {alTop, alBottom, alLeft, alRight, alClient}) DoAlign(a, Rect, changed);
    Q_UNUSED(AControl);
}

// Places the visible children with alignment AAlign inside Rect and takes their room from it:
// top ones from the top in order of their tops, bottom ones from the bottom (lowest first), left
// and right likewise, the client one fills what is left.
void TWinControl::DoAlign(TAlign AAlign, TRect& R, bool& Changed) {
    std::vector<TControl*> list;
    auto before = [AAlign](TControl* c1, TControl* c2) {
        switch (AAlign) {
            case alTop: return c1->FTop < c2->FTop;
            case alBottom: return c1->FTop + c1->FHeight >= c2->FTop + c2->FHeight;
            case alLeft: return c1->FLeft < c2->FLeft;
            case alRight: return c1->FLeft + c1->FWidth >= c2->FLeft + c2->FWidth;
            default: return false;
        }
    };
    for (TControl* c : FControls) {
        if (c->FAlign != AAlign || !c->FVisible) continue;
        size_t j = 0;
        while (j < list.size() && !before(c, list[j])) ++j;
        list.insert(list.begin() + long(j), c);
    }
    for (TControl* c : list) {
        int w = R.Right - R.Left;
        if (w < 0 || AAlign == alLeft || AAlign == alRight) w = c->FWidth;
        int h = R.Bottom - R.Top;
        if (h < 0 || AAlign == alTop || AAlign == alBottom) h = c->FHeight;
        int l = R.Left, t = R.Top;
        switch (AAlign) {
            case alTop: R.Top += h; break;
            case alBottom:
                R.Bottom -= h;
                t = R.Bottom;
                break;
            case alLeft: R.Left += w; break;
            case alRight:
                R.Right -= w;
                l = R.Right;
                break;
            default: break;
        }
        if (c->FLeft != l || c->FTop != t || c->FWidth != w || c->FHeight != h) Changed = true;
        c->SetBounds(l, t, w, h);
        // A control that kept another size gives the difference back.
        if (c->FWidth != w || c->FHeight != h) {
            switch (AAlign) {
                case alTop: R.Top -= h - c->FHeight; break;
                case alBottom: R.Bottom += h - c->FHeight; break;
                case alLeft: R.Left -= w - c->FWidth; break;
                case alRight: R.Right += w - c->FWidth; break;
                case alClient:
                    R.Right -= w - c->FWidth;
                    R.Bottom -= h - c->FHeight;
                    break;
                default: break;
            }
        }
    }
}

void TWinControl::ChildBoundsChanged(TControl* AControl) {
    if (FControlState.count(csAligning)) return;
    if (AControl->FAlign != alNone) AlignControl(AControl);
}

void TWinControl::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
    TControl::SetBounds(ALeft, ATop, AWidth, AHeight);
}

void TWinControl::BoundsChanged(bool Resized) {
    SyncWidgetGeometry();
    if (Resized) {
        TRect cr = GetClientRect();
        Perform(WM_SIZE, 0, MAKELPARAM(cr.Width(), cr.Height()));
    } else if (FParent == nullptr) {
        FLastClient = GetClientRect();
    }
}

void TWinControl::WMSize(TWMSize&) {
    TRect cr = GetClientRect();
    int dw = cr.Width() - FLastClient.Width();
    int dh = cr.Height() - FLastClient.Height();
    FLastClient = cr;
    if ((dw || dh) && !HasState(csLoading)) {
        DisableAlign();
        try {
            for (size_t i = 0; i < FControls.size(); ++i) FControls[i]->ApplyAnchors(dw, dh);
        } catch (...) {
            EnableAlign();
            throw;
        }
        FAlignPending = true;
        EnableAlign();
    } else {
        Realign();
    }
    FNeedsPaint = true;
    if (!HasState(csLoading)) Resize();
}

// ---------------------------------------------------------------------------------------------
// Showing

bool TWinControl::Showing() const {
    return FShowing;
}

void TWinControl::UpdateShowing() {
    bool show = FVisible && (FParent ? FParent->FShowing : IsForm(this));
    if (show && !FHandle) CreateHandle();
    if (FShowing == show) {
        if (show)
            for (size_t i = 0; i < FTabList.size(); ++i) FTabList[i]->UpdateShowing();
        return;
    }
    FShowing = show;
    if (show) {
        for (size_t i = 0; i < FTabList.size(); ++i) FTabList[i]->UpdateShowing();
        try {
            Perform(CM_SHOWINGCHANGED);
        } catch (...) {
            FShowing = !show;
            throw;
        }
    } else {
        try {
            Perform(CM_SHOWINGCHANGED);
        } catch (...) {
            FShowing = !show;
            throw;
        }
        for (size_t i = 0; i < FTabList.size(); ++i) FTabList[i]->UpdateShowing();
    }
}

void TWinControl::CMShowingChanged(TMessage&) {
    if (!FParent && FQWidget) FQWidget->setVisible(FShowing);
}

void TWinControl::CMVisibleChanged(TMessage& Message) {
    TControl::Dispatch(Message);
    if (!FVisible && FParent) {
        if (TCustomForm* form = GetParentForm(this)) form->DefocusControl(this, false);
    }
    if (FQWidget && FParent) FQWidget->setVisible(FVisible);
    UpdateShowing();
}

void TWinControl::CMEnabledChanged(TMessage& Message) {
    if (!FEnabled && FParent) {
        if (TCustomForm* form = GetParentForm(this)) form->DefocusControl(this, false);
    }
    if (FQWidget) FQWidget->setEnabled(FEnabled);
    TControl::Dispatch(Message);
}

void TWinControl::CMFontChanged(TMessage& Message) {
    TControl::Dispatch(Message);
    TMessage m(CM_PARENTFONTCHANGED);
    for (size_t i = 0; i < FControls.size(); ++i) FControls[i]->WindowProc(m);
}

void TWinControl::CMColorChanged(TMessage& Message) {
    FBrush->SetColor(FColor);
    FNeedsPaint = true;
    TControl::Dispatch(Message);
    NotifyControls(CM_PARENTCOLORCHANGED);
}

void TWinControl::CMShowHintChanged(TMessage&) {
    NotifyControls(CM_PARENTSHOWHINTCHANGED);
}

void TWinControl::CMCtl3DChanged(TMessage&) {
    for (TWinControl* w : std::vector<TWinControl*>(FTabList))
        if (w->FParentCtl3D) {
            w->SetCtl3D(FCtl3D);
            w->FParentCtl3D = true;
        }
    Invalidate();
}

void TWinControl::CMCursorChanged(TMessage&) {
    ApplyCursor();
}

void TWinControl::SetCtl3D(bool Value) {
    FParentCtl3D = false;
    if (FCtl3D == Value) return;
    FCtl3D = Value;
    Perform(CM_CTL3DCHANGED);
}

void TWinControl::SetParentCtl3D(bool Value) {
    if (FParentCtl3D == Value) return;
    FParentCtl3D = Value;
    if (Value && FParent) {
        SetCtl3D(FParent->FCtl3D);
        FParentCtl3D = true;
    }
}

void TWinControl::SetParentBackground(bool Value) {
    FParentBackground = Value;
    Invalidate();
}

// ---------------------------------------------------------------------------------------------
// Focus and tab order

bool TWinControl::CanFocus() const {
    TCustomForm* form = GetParentForm(this);
    const TControl* c = this;
    while (c && c != form) {
        if (!(c->FVisible && c->FEnabled)) return false;
        c = c->FParent;
    }
    return true;
}

bool TWinControl::Focused() const {
    return FHandle != 0 && TControlPrivate::Focused() == this;
}

void TWinControl::SetFocus() {
    TCustomForm* form = GetParentForm(this);
    if (form) {
        form->FocusControl(this);
        return;
    }
    // A window of its own (no form): it takes the focus directly.
    if (!CanFocus()) throw EInvalidOperation(SCannotFocus);
    HandleNeeded();
    TControlPrivate::FocusWindow(this);
}

void TWinControl::SetTabStop(bool Value) {
    if (FTabStop == Value) return;
    FTabStop = Value;
    Perform(CM_TABSTOPCHANGED);
}

int TWinControl::TabOrder() const {
    if (!FParent) return -1;
    const auto& list = FParent->FTabList;
    auto it = std::find(list.begin(), list.end(), this);
    return it == list.end() ? -1 : int(it - list.begin());
}

void TWinControl::SetTabOrder(int Value) {
    // While a form is being built, orders are kept and put in place when it has loaded, so a
    // control may name a place that a later control fills.
    if (HasState(csLoading)) {
        FTabOrder = Value;
        return;
    }
    UpdateTabOrder(Value);
}

void TWinControl::UpdateTabOrder(int Value) {
    int cur = TabOrder();
    if (cur < 0 || Value == cur) return;
    auto& list = FParent->FTabList;
    int count = int(list.size());
    if (Value < 0) Value = 0;
    if (Value >= count) Value = count - 1;
    if (Value == cur) return;
    list.erase(list.begin() + cur);
    list.insert(list.begin() + Value, this);
}

void TWinControl::FixupTabList() {
    int count = int(FTabList.size());
    std::vector<TWinControl*> list(size_t(count), nullptr);
    for (TWinControl* c : FTabList) {
        int j = c->FTabOrder;
        if (j >= 0 && j < count) list[size_t(j)] = c;
    }
    for (int i = 0; i < count; ++i)
        if (list[size_t(i)]) list[size_t(i)]->UpdateTabOrder(i);
}

void TWinControl::Loaded() {
    TControl::Loaded();
    FixupTabList();
    for (TWinControl* c : FTabList) c->FTabOrder = -1;
    Realign();
}

void TWinControl::GetTabOrderList(std::vector<TWinControl*>& List) {
    for (TWinControl* c : std::vector<TWinControl*>(FTabList)) {
        List.push_back(c);
        c->GetTabOrderList(List);
    }
}

TWinControl* TWinControl::FindNextControl(TWinControl* CurControl, bool GoForward, bool CheckTabStop,
                                          bool CheckParent) {
    std::vector<TWinControl*> list;
    GetTabOrderList(list);
    if (list.empty()) return nullptr;
    int count = int(list.size());
    int start = -1;
    if (CurControl) {
        auto it = std::find(list.begin(), list.end(), CurControl);
        if (it != list.end()) start = int(it - list.begin());
    }
    if (start < 0) start = GoForward ? count - 1 : 0;
    int i = start;
    do {
        if (GoForward) {
            ++i;
            if (i == count) i = 0;
        } else {
            if (i == 0) i = count;
            --i;
        }
        TWinControl* c = list[size_t(i)];
        if (c == CurControl) continue;
        if ((!CheckTabStop || c->FTabStop) && (!CheckParent || c->FParent == this) && c->CanFocus()) return c;
    } while (i != start);
    return nullptr;
}

void TWinControl::SelectNext(TWinControl* CurControl, bool GoForward, bool CheckTabStop) {
    TWinControl* next = FindNextControl(CurControl, GoForward, CheckTabStop, !CheckTabStop);
    if (next) next->SetFocus();
}

void TWinControl::SelectFirst() {
    TWinControl* c = FindNextControl(nullptr, true, true, false);
    if (!c) c = FindNextControl(nullptr, true, false, false);
    if (c) c->SetFocus();
}

void TWinControl::WMSetFocus(TWMSetFocus& Message) {
    DefaultHandler(Message);
    if (TCustomForm* form = GetParentForm(this)) {
        form->SetFocusedControl(this);
    } else if (Screen) {
        Screen->FActiveControl = this;
    }
}

void TWinControl::WMKillFocus(TWMKillFocus& Message) {
    DefaultHandler(Message);
}

void TWinControl::CMEnter(TMessage&) {
    DoEnter();
}
void TWinControl::CMExit(TMessage&) {
    DoExit();
}

void TWinControl::DoEnter() {
    if (Assigned(OnEnter)) OnEnter(this);
}

void TWinControl::DoExit() {
    if (Assigned(OnExit)) OnExit(this);
}

void TWinControl::CMFocusChanged(TCMFocusChanged& Message) {
    Broadcast(Message);
}

// ---------------------------------------------------------------------------------------------
// Keys

void TWinControl::CNKeyDown(TWMKey& Message) {
    Message.Result = 1;
    if (Perform(CM_CHILDKEY, Word(Message.CharCode), LPARAM(this)) != 0) return;
    LRESULT mask = 0;
    switch (Word(Message.CharCode)) {
        case VK_TAB: mask = DLGC_WANTTAB; break;
        case VK_LEFT:
        case VK_RIGHT:
        case VK_UP:
        case VK_DOWN: mask = DLGC_WANTARROWS; break;
        case VK_RETURN:
        case VK_EXECUTE:
        case VK_ESCAPE:
        case VK_CANCEL: mask = DLGC_WANTALLKEYS; break;
        default: break;
    }
    if (mask != 0 && Perform(CM_WANTSPECIALKEY, Word(Message.CharCode), Integer(Message.KeyData)) == 0 &&
        (Perform(WM_GETDLGCODE) & mask) == 0) {
        TCustomForm* form = GetParentForm(this);
        if (form && form->Perform(CM_DIALOGKEY, Word(Message.CharCode), Integer(Message.KeyData)) != 0)
            return;
    }
    Message.Result = 0;
}

void TWinControl::CNSysKeyDown(TWMKey& Message) {
    CNKeyDown(Message);
}

void TWinControl::CNKeyUp(TWMKey& Message) {
    Message.Result = 0;
}

void TWinControl::CNChar(TWMKey& Message) {
    Message.Result = 1;
    if ((Perform(WM_GETDLGCODE) & DLGC_WANTCHARS) == 0) {
        TCustomForm* form = GetParentForm(this);
        if (form && form->Perform(CM_DIALOGCHAR, Word(Message.CharCode), Integer(Message.KeyData)) != 0)
            return;
    }
    Message.Result = 0;
}

void TWinControl::CNSysChar(TWMKey& Message) {
    Message.Result = 1;
    TCustomForm* form = GetParentForm(this);
    if (form && form->Perform(CM_DIALOGCHAR, Word(Message.CharCode), Integer(Message.KeyData)) != 0) return;
    Message.Result = 0;
}

void TWinControl::CMChildKey(TCMChildKey& Message) {
    if (FParent) Message.Result = FParent->Perform(CM_CHILDKEY, Message.WParam(), Message.LParam());
}

void TWinControl::CMDialogKey(TCMDialogKey& Message) {
    Broadcast(Message);
}
void TWinControl::CMDialogChar(TCMDialogChar& Message) {
    Broadcast(Message);
}

bool TWinControl::DoKeyDown(TWMKey& Message) {
    TCustomForm* form = GetParentForm(this);
    if (form && form != this && form->KeyPreview() && static_cast<TWinControl*>(form)->DoKeyDown(Message))
        return true;
    if (HasStyle(csNoStdEvents)) return false;
    Word key = Message.CharCode;
    KeyDown(key, KeyDataToShiftState(Integer(Message.KeyData)));
    Message.CharCode = key;
    return key == 0;
}

bool TWinControl::DoKeyUp(TWMKey& Message) {
    TCustomForm* form = GetParentForm(this);
    if (form && form != this && form->KeyPreview() && static_cast<TWinControl*>(form)->DoKeyUp(Message))
        return true;
    if (HasStyle(csNoStdEvents)) return false;
    Word key = Message.CharCode;
    KeyUp(key, KeyDataToShiftState(Integer(Message.KeyData)));
    Message.CharCode = key;
    return key == 0;
}

bool TWinControl::DoKeyPress(TWMKey& Message) {
    TCustomForm* form = GetParentForm(this);
    if (form && form != this && form->KeyPreview() && static_cast<TWinControl*>(form)->DoKeyPress(Message))
        return true;
    if (HasStyle(csNoStdEvents)) return false;
    Char ch(Word(Message.CharCode));
    KeyPress(ch);
    Message.CharCode = ch.unicode();
    return ch.unicode() == 0;
}

void TWinControl::KeyDown(Word& Key, TShiftState Shift) {
    if (Assigned(OnKeyDown)) OnKeyDown(this, Key, Shift);
}

void TWinControl::KeyUp(Word& Key, TShiftState Shift) {
    if (Assigned(OnKeyUp)) OnKeyUp(this, Key, Shift);
}

void TWinControl::KeyPress(Char& Key) {
    if (Assigned(OnKeyPress)) OnKeyPress(this, Key);
}

void TWinControl::WMKeyDown(TWMKey& Message) {
    if (!DoKeyDown(Message)) DefaultHandler(Message);
}

void TWinControl::WMSysKeyDown(TWMKey& Message) {
    if (!DoKeyDown(Message)) DefaultHandler(Message);
}

void TWinControl::WMKeyUp(TWMKey& Message) {
    if (!DoKeyUp(Message)) DefaultHandler(Message);
}

void TWinControl::WMSysKeyUp(TWMKey& Message) {
    if (!DoKeyUp(Message)) DefaultHandler(Message);
}

void TWinControl::WMChar(TWMKey& Message) {
    if (!DoKeyPress(Message)) DefaultHandler(Message);
}

void TWinControl::WMSysChar(TWMKey& Message) {
    DefaultHandler(Message);
}

void TWinControl::WMTimer(TWMTimer& Message) {
    DefaultHandler(Message);
}

// ---------------------------------------------------------------------------------------------
// Dispatch and painting

void TWinControl::Dispatch(TMessage& Message) {
    switch (Message.Msg) {
        case WM_SETFOCUS: CallHandler<TWMSetFocus>(this, &TWinControl::WMSetFocus, Message); break;
        case WM_KILLFOCUS: CallHandler<TWMKillFocus>(this, &TWinControl::WMKillFocus, Message); break;
        case WM_KEYDOWN: CallHandler<TWMKey>(this, &TWinControl::WMKeyDown, Message); break;
        case WM_KEYUP: CallHandler<TWMKey>(this, &TWinControl::WMKeyUp, Message); break;
        case WM_CHAR: CallHandler<TWMKey>(this, &TWinControl::WMChar, Message); break;
        case WM_SYSKEYDOWN: CallHandler<TWMKey>(this, &TWinControl::WMSysKeyDown, Message); break;
        case WM_SYSKEYUP: CallHandler<TWMKey>(this, &TWinControl::WMSysKeyUp, Message); break;
        case WM_SYSCHAR: CallHandler<TWMKey>(this, &TWinControl::WMSysChar, Message); break;
        case CN_KEYDOWN: CallHandler<TWMKey>(this, &TWinControl::CNKeyDown, Message); break;
        case CN_KEYUP: CallHandler<TWMKey>(this, &TWinControl::CNKeyUp, Message); break;
        case CN_CHAR: CallHandler<TWMKey>(this, &TWinControl::CNChar, Message); break;
        case CN_SYSKEYDOWN: CallHandler<TWMKey>(this, &TWinControl::CNSysKeyDown, Message); break;
        case CN_SYSCHAR: CallHandler<TWMKey>(this, &TWinControl::CNSysChar, Message); break;
        case CM_DIALOGKEY: CallHandler<TCMDialogKey>(this, &TWinControl::CMDialogKey, Message); break;
        case CM_DIALOGCHAR: CallHandler<TCMDialogChar>(this, &TWinControl::CMDialogChar, Message); break;
        case CM_CHILDKEY: CallHandler<TCMChildKey>(this, &TWinControl::CMChildKey, Message); break;
        case CM_FOCUSCHANGED:
            CallHandler<TCMFocusChanged>(this, &TWinControl::CMFocusChanged, Message);
            break;
        case CM_ENTER: CMEnter(Message); break;
        case CM_EXIT: CMExit(Message); break;
        case CM_FONTCHANGED: CMFontChanged(Message); break;
        case CM_COLORCHANGED: CMColorChanged(Message); break;
        case CM_ENABLEDCHANGED: CMEnabledChanged(Message); break;
        case CM_VISIBLECHANGED: CMVisibleChanged(Message); break;
        case CM_SHOWINGCHANGED: CMShowingChanged(Message); break;
        case CM_SHOWHINTCHANGED: CMShowHintChanged(Message); break;
        case CM_CTL3DCHANGED: CMCtl3DChanged(Message); break;
        case CM_CURSORCHANGED: CMCursorChanged(Message); break;
        case WM_TIMER: CallHandler<TWMTimer>(this, &TWinControl::WMTimer, Message); break;
        case WM_SIZE: CallHandler<TWMSize>(this, &TWinControl::WMSize, Message); break;
        default: TControl::Dispatch(Message); break;
    }
}

// The platform's own handling of a window's messages.
void TWinControl::DefaultHandler(TMessage& Message) {
    switch (Message.Msg) {
        case WM_ERASEBKGND: {
            TWMEraseBkgnd m(Message);
            if (m.DC()) PaintBackground(m.DC());
            Message.Result = 1;
            break;
        }
        case WM_PAINT: {
            TWMPaint m(Message);
            if (m.DC()) PaintWindow(m.DC());
            break;
        }
        case WM_GETDLGCODE: Message.Result = 0; break;
        case WM_MOUSEWHEEL:
            // Unhandled wheel turns go on to the parent window.
            if (FParent) Message.Result = FParent->Perform(Message);
            break;
        case WM_CLOSE: break;
        default: TControl::DefaultHandler(Message); break;
    }
}

void TWinControl::PaintBackground(TCanvas* Canvas) {
    if (FExStyle & WS_EX_TRANSPARENT) return;
    Canvas->Brush()->SetColor(FColor);
    Canvas->Brush()->SetStyle(bsSolid);
    Canvas->FillRect(GetClientRect());
}

void TWinControl::PaintWindow(TCanvas*) {}

void TWinControl::PaintControls(TCanvas* Canvas) {
    for (TControl* c : std::vector<TControl*>(FControls)) {
        auto* g = dynamic_cast<TGraphicControl*>(c);
        if (!g || !g->FVisible || g->FWidth <= 0 || g->FHeight <= 0) continue;
        Canvas->DrawImage(g->FLeft, g->FTop, g->PaintImage());
    }
}

void TWinControl::Invalidate() {
    FNeedsPaint = true;
    if (FQWidget) FQWidget->update();
}

void TWinControl::Update() {
    if (!FNeedsPaint) return;
    if (dynamic_cast<TCustomControl*>(this)) {
        TMessage m(WM_PAINT);
        Perform(m);
    }
    FNeedsPaint = false;
    if (FQWidget) FQWidget->update();
}

void TWinControl::Repaint() {
    Invalidate();
    Update();
}

QImage TWinControl::GrabImage() {
    TRect cr = GetClientRect();
    if (cr.Width() <= 0 || cr.Height() <= 0) return QImage();
    QImage img(cr.Width(), cr.Height(), QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    QPainter p(&img);
    TControlPrivate::PaintControl(this, p, true);
    p.end();
    return img;
}

void TWinControl::PaintTo(TCanvas* Canvas, int X, int Y) {
    if (!Canvas) return;
    QImage img = GrabImage();
    if (!img.isNull()) Canvas->DrawImage(X, Y, img);
}

// =============================================================================================
// TBackingImage

TBackingImage::TBackingImage(TNotifyEvent OnCanvasChange) {
    FCanvas = new TCanvas();
    FCanvas->OnChange = std::move(OnCanvasChange);
}

TBackingImage::~TBackingImage() {
    TObject::Free(FCanvas);
    FCanvas = nullptr;
}

void TBackingImage::Ensure(int Width, int Height) {
    int w = std::max(1, Width), h = std::max(1, Height);
    if (FImage.width() != w || FImage.height() != h) {
        FImage = QImage(w, h, QImage::Format_ARGB32_Premultiplied);
        FImage.fill(Qt::transparent);
        FCanvas->SetTarget(&FImage);
    } else if (FCanvas->Target() != &FImage) {
        FCanvas->SetTarget(&FImage);
    }
}

void TBackingImage::Paint(TCanvas* DC, const std::function<void()>& Body) {
    bool wasPainting = FPainting;
    FPainting = true;
    try {
        FCanvas->ResetClip();
        Body();
        if (DC && DC != FCanvas) DC->DrawImage(0, 0, FImage);
    } catch (...) {
        FPainting = wasPainting;
        throw;
    }
    FPainting = wasPainting;
}

// =============================================================================================
// TCustomControl

TCustomControl::TCustomControl(TComponent* AOwner)
    : TWinControl(AOwner), FBack([this](TObject* Sender) { CanvasChanged(Sender); }) {}

TCustomControl::~TCustomControl() = default;

void TCustomControl::EnsureImage() {
    FBack.Ensure(Width(), Height());
}

TCanvas* TCustomControl::Canvas() {
    EnsureImage();
    return FBack.Canvas();
}

QImage& TCustomControl::BackImage() {
    EnsureImage();
    return FBack.Image();
}

void TCustomControl::BoundsChanged(bool Resized) {
    if (Resized) EnsureImage();
    TWinControl::BoundsChanged(Resized);
    if (Resized) Invalidate();
}

void TCustomControl::CanvasChanged(TObject*) {
    // Drawing outside a paint shows at the next update of the window.
    if (!FBack.Painting() && WidgetIfAllocated()) WidgetIfAllocated()->update();
}

void TCustomControl::Dispatch(TMessage& Message) {
    switch (Message.Msg) {
        case WM_PAINT: CallHandler<TWMPaint>(this, &TCustomControl::WMPaint, Message); break;
        default: TWinControl::Dispatch(Message); break;
    }
}

// A paint: the background (or a transparent start for WS_EX_TRANSPARENT windows), then Paint,
// all into the backing image.
void TCustomControl::WMPaint(TWMPaint& Message) {
    EnsureImage();
    FBack.Paint(Message.DC(), [this] {
        if (WindowExStyle() & WS_EX_TRANSPARENT) FBack.Image().fill(Qt::transparent);
        TMessage erase(WM_ERASEBKGND, WPARAM(FBack.Canvas()));
        Perform(erase);
        PaintWindow(FBack.Canvas());
    });
}

void TCustomControl::PaintWindow(TCanvas*) {
    Paint();
}

void TCustomControl::Paint() {}

// =============================================================================================
// TGraphicControl

TGraphicControl::TGraphicControl(TComponent* AOwner)
    : TControl(AOwner), FBack([this](TObject* Sender) { CanvasChanged(Sender); }) {}

TGraphicControl::~TGraphicControl() = default;

void TGraphicControl::EnsureImage() {
    FBack.Ensure(Width(), Height());
}

TCanvas* TGraphicControl::Canvas() {
    EnsureImage();
    return FBack.Canvas();
}

QImage& TGraphicControl::BackImage() {
    EnsureImage();
    return FBack.Image();
}

void TGraphicControl::BoundsChanged(bool Resized) {
    if (Resized) {
        EnsureImage();
        FNeedsPaint = true;
    }
    TControl::BoundsChanged(Resized);
}

void TGraphicControl::CanvasChanged(TObject*) {
    if (!FBack.Painting() && Parent() && Parent()->WidgetIfAllocated())
        Parent()->WidgetIfAllocated()->update();
}

const QImage& TGraphicControl::PaintImage() {
    TMessage m(WM_PAINT);
    Perform(m);
    FNeedsPaint = false;
    return FBack.Image();
}

void TGraphicControl::Dispatch(TMessage& Message) {
    switch (Message.Msg) {
        case WM_PAINT: CallHandler<TWMPaint>(this, &TGraphicControl::WMPaint, Message); break;
        default: TControl::Dispatch(Message); break;
    }
}

void TGraphicControl::WMPaint(TWMPaint& Message) {
    EnsureImage();
    FBack.Paint(Message.DC(), [this] {
        FBack.Image().fill(Qt::transparent);
        Paint();
    });
}

void TGraphicControl::Paint() {}

// =============================================================================================
// Mouse

static TMouse GMouse;
TMouse* Mouse = &GMouse;

TPoint TMouse::CursorPos() const {
    QPoint p = QCursor::pos();
    return TPoint(p.x(), p.y());
}

void TMouse::SetCursorPos(const TPoint& Value) {
    QCursor::setPos(Value.X, Value.Y);
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
            if (auto* f = dynamic_cast<const TCustomForm*>(c)) return const_cast<TCustomForm*>(f);
        return nullptr;
    }
    const TControl* root = RootOf(Control);
    return const_cast<TCustomForm*>(dynamic_cast<const TCustomForm*>(root));
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
    if (!c) return false;
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
    if (auto* f = dynamic_cast<TCustomForm*>(c)) {
        if (CmdShow == SW_HIDE)
            f->Hide();
        else
            f->Show();
    } else {
        c->SetVisible(CmdShow != SW_HIDE);
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
        if (InsertAfter == HWND_TOP || InsertAfter == HWND_TOPMOST)
            c->BringToFront();
        else if (InsertAfter == HWND_BOTTOM)
            c->SendToBack();
    }
    if (Flags & SWP_SHOWWINDOW) ShowWindow(Wnd, (Flags & SWP_NOACTIVATE) ? SW_SHOWNA : SW_SHOW);
    if (Flags & SWP_HIDEWINDOW) ShowWindow(Wnd, SW_HIDE);
    return true;
}

bool InvalidateRect(HWND Wnd, const TRect*, bool) {
    TWinControl* c = FindControl(Wnd);
    if (!c) return false;
    c->Invalidate();
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
    TPoint o =
        c->Parent() ? c->Parent()->ClientToScreen(TPoint(c->Left(), c->Top())) : TPoint(c->Left(), c->Top());
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
