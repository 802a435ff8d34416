#include "Controls.h"

#include "ActnList.h"
#include "Forms.h"
#include "Menus.h"
#include "QtBridge.h"
#include "StandIn.h"
#include "WindowFrame.h"
#include "WindowSizing.h"

#include <QApplication>
#include <QCursor>
#include <QGuiApplication>
#include <QPainter>
#include <QTimer>

#include <algorithm>

namespace {

const char* const SCannotFocus = "Cannot focus a disabled or invisible window";

} // namespace

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
    TWindowExtras::Free(this);
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

QWidget* TWinControl::CreateWidget(const TCreateParams& Params, QWidget* ParentWidget) {
    // A popup is a top-level window of its own (owned by its parent's window when it has one).
    if ((Params.Style & WS_POPUP) && !IsFormWindow())
        return new TControlWidget(this, ParentWidget, PopupWindowFlags(Params.Style, Params.ExStyle));
    return new TControlWidget(this, ParentWidget);
}

// The windows of visible children are made with their parent's; a hidden child gets its window
// when it is shown or its handle is asked for (Handle, HandleNeeded), as hidden controls do in
// the class library. Until then its settings wait in the control, as before it had a parent.
void TWinControl::CreateHandle() {
    if (FHandle) return;
    CreateWnd();
    if (!FHandle) return;
    for (size_t i = 0; i < FControls.size(); ++i)
        if (auto* w = dynamic_cast<TWinControl*>(FControls[i]); w && w->FVisible) w->CreateHandle();
}

void TWinControl::StackAmongSiblings() {
    if (!FParent || TWindowExtras::IsPopup(this)) return;
    // A window made after its later siblings' goes under the first of them, so the windows keep
    // the order of the parent's list (later ones above).
    const auto& list = FParent->FControls;
    auto it = std::find(list.begin(), list.end(), this);
    if (it == list.end()) return;
    for (++it; it != list.end(); ++it) {
        auto* w = dynamic_cast<TWinControl*>(*it);
        if (!w || !w->FQWidget || TWindowExtras::IsPopup(w)) continue;
        TWindowExtras::Outer(this)->stackUnder(TWindowExtras::Outer(w));
        return;
    }
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
    FQWidget->setEnabled(FEnabled && !(FStyle & WS_DISABLED));
    SyncWidgetGeometry();
    TWindowExtras::ApplyPopupStyles(this);
    ApplyCursor();
    // A new window is painted whole; a wrapped Qt widget paints itself.
    FUpdateRgn = FWidget ? PaintArea() : QRegion();
    FUpdateErase = FWidget != nullptr;
    FUpdateWhole = false;
    if (FParent && !TWindowExtras::IsPopup(this)) FQWidget->setVisible(FVisible);
    StackAmongSiblings();
    FLastClient = GetClientRect();
}

void TWinControl::DestroyWnd() {
    if (!FHandle) return;
    for (auto& [id, timer] : FTimers) delete timer;
    FTimers.clear();
    TControlPrivate::Unregister(FHandle);
    FHandle = 0;
    QWidget* w = TWindowExtras::ReleaseWindow(this);
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
    if (TWindowExtras::SyncGeometry(this)) return;
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
            if (win->FVisible) win->CreateHandle();
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
    // A new size paints the whole window anew (the platform's CS_HREDRAW | CS_VREDRAW).
    FUpdateRgn = QRegion();
    if (FQWidget)
        AddUpdateRegion(PaintArea(), true);
    else
        MarkWholeDue(true);
    if (!HasState(csLoading)) Resize();
}

// ---------------------------------------------------------------------------------------------
// Showing

bool TWinControl::Showing() const {
    return FShowing;
}

void TWinControl::UpdateShowing() {
    // A window of its own shows by itself: a form, or a popup (WS_POPUP) without a parent.
    bool own = IsFormWindow();
    if (!FParent && !own && FVisible) {
        if (FHandle) {
            own = FStyle & WS_POPUP;
        } else {
            TCreateParams params;
            CreateParams(params);
            own = params.Style & WS_POPUP;
        }
    }
    bool show = FVisible && (FParent ? FParent->FShowing : own);
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
    if ((!FParent || TWindowExtras::IsPopup(this)) && FQWidget) {
        FQWidget->setVisible(FShowing);
        if (FShowing && QGuiApplication::platformName() != QLatin1String("offscreen"))
            TWindowExtras::Outer(this)->raise();
    }
}

void TWinControl::CMVisibleChanged(TMessage& Message) {
    TControl::Dispatch(Message);
    if (!FVisible && FParent) {
        if (TCustomForm* form = GetParentForm(this)) form->DefocusControl(this, false);
    }
    // A child shown in a parent that has its window gets its own now (it shows as it is made).
    if (FVisible && FParent && FParent->FHandle && !FHandle)
        CreateHandle();
    else if (FQWidget && FParent && !TWindowExtras::IsPopup(this))
        FQWidget->setVisible(FVisible);
    UpdateShowing();
}

void TWinControl::CMEnabledChanged(TMessage& Message) {
    if (!FEnabled && FParent) {
        if (TCustomForm* form = GetParentForm(this)) form->DefocusControl(this, false);
    }
    if (FQWidget) {
        // Enabling a control enables its window, as EnableWindow does: a window made while its
        // control was disabled loses the disabled style it was made with.
        if (FEnabled) FStyle &= ~DWORD(WS_DISABLED);
        const bool enabled = FEnabled && !(FStyle & WS_DISABLED);
        TWindowExtras::Outer(this)->setEnabled(enabled);
        FQWidget->setEnabled(enabled);
    }
    TControl::Dispatch(Message);
}

void TWinControl::CMFontChanged(TMessage& Message) {
    TControl::Dispatch(Message);
    TMessage m(CM_PARENTFONTCHANGED);
    for (size_t i = 0; i < FControls.size(); ++i) FControls[i]->WindowProc(m);
}

void TWinControl::CMColorChanged(TMessage& Message) {
    FBrush->SetColor(FColor);
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
    if (!Value) PlatformStandIn("TWinControl::SetCtl3D"); // the flat look is not drawn
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
    if (Value) PlatformStandIn("TWinControl::SetParentBackground"); // the brush is painted still
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
        case WM_SETCURSOR: CallHandler<TWMSetCursor>(this, &TWinControl::WMSetCursor, Message); break;
        case WM_HSCROLL: CallHandler<TWMScroll>(this, &TWinControl::WMHScroll, Message); break;
        case WM_COMMAND: CallHandler<TWMCommand>(this, &TWinControl::WMCommand, Message); break;
        case WM_NOTIFY: CallHandler<TWMNotify>(this, &TWinControl::WMNotify, Message); break;
        case WM_VSCROLL: CallHandler<TWMScroll>(this, &TWinControl::WMVScroll, Message); break;
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
        case WM_NCPAINT: {
            // The default frame: the border and the size box (the bars paint themselves).
            TWMNCPaint m(Message);
            if (m.DC()) {
                TWindowExtras::PaintDefaultFrame(this, m.DC());
            } else if (HDC dc = GetWindowDC(Handle())) {
                TWindowExtras::PaintDefaultFrame(this, dc);
                ReleaseDC(Handle(), dc);
            }
            Message.Result = 0;
            break;
        }
        case WM_SETCURSOR: {
            // The parent decides first; without its answer the arrow shows, or the sizing
            // arrows over a sizing corner.
            if (FParent && FParent->Perform(Message) != 0) break;
            const SmallInt hit = SmallInt(LOWORD(uintptr_t(Message.LParam)));
            if (Screen && hit != HTERROR)
                ::SetCursor(Screen->Cursors(hit == HTBOTTOMRIGHT ? crSizeNWSE : crArrow));
            Message.Result = 0;
            break;
        }
        case WM_NCHITTEST:
            // The frame's parts (border, bars) are widgets of their own: what reaches the window
            // lies in its client area.
            Message.Result = HTCLIENT;
            break;
        case WM_NCLBUTTONDOWN:
            TWindowExtras::StartSizing(this, LRESULT(Message.WParam), LParamToPoint(Message.LParam));
            break;
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

TCanvas* TWinControl::PaintCanvas(const QRegion&) {
    return nullptr;
}

void TWinControl::PaintControls(TCanvas* Canvas) {
    for (TControl* c : std::vector<TControl*>(FControls)) {
        auto* g = dynamic_cast<TGraphicControl*>(c);
        if (!g || !g->FVisible || g->FWidth <= 0 || g->FHeight <= 0) continue;
        Canvas->DrawImage(g->FLeft, g->FTop, g->PaintImage());
    }
}

// The whole window, erased first unless the control paints every pixel itself (csOpaque).
void TWinControl::Invalidate() {
    if (!FQWidget) {
        MarkWholeDue(!HasStyle(csOpaque));
        return;
    }
    AddUpdateRegion(PaintArea(), !HasStyle(csOpaque));
}

// Paints the update region now (a self-drawn control into its image, which the window then shows).
void TWinControl::Update() {
    ResolveUpdateRegion();
    if (FUpdateRgn.isEmpty()) return;
    const QRegion pending = FUpdateRgn;
    if (dynamic_cast<TCustomControl*>(this)) {
        TMessage m(WM_PAINT);
        Perform(m);
    } else if (TWindowExtras::HasLayer(this)) {
        TWindowExtras::PaintThroughLayer(this, pending);
    } else {
        RemoveUpdateRegion(pending);
    }
    if (FQWidget) FQWidget->update(pending);
}

// ---------------------------------------------------------------------------------------------
// The update region

QRegion TWinControl::PaintArea() const {
    // A child window's widget covers its bounds less its frame (border and scroll bars, which a
    // frame widget around it shows); a top-level window's widget its client area.
    if (FParent) {
        const TRect i = TWindowExtras::Insets(this);
        return QRegion(0, 0, std::max(0, FWidth - i.Left - i.Right), std::max(0, FHeight - i.Top - i.Bottom));
    }
    TRect cr = GetClientRect();
    return QRegion(cr.Left, cr.Top, std::max(0, cr.Width()), std::max(0, cr.Height()));
}

void TWinControl::AddUpdateRegion(const QRegion& Region, bool Erase) {
    if (!FQWidget) {
        if (!Region.isEmpty()) MarkWholeDue(Erase);
        return;
    }
    if (!FWidget) {
        // A wrapped Qt widget paints itself: it only hears that it needs to.
        FQWidget->update(Region);
        return;
    }
    const QRegion added = Region.intersected(PaintArea());
    if (added.isEmpty()) return;
    FUpdateRgn += added;
    if (Erase) FUpdateErase = true;
    if (FQWidget) FQWidget->update(added);
}

// Without a window the whole paint area is due: no region arithmetic for the hidden windows
// built by the hundred at start-up (a new window is painted whole anyway).
void TWinControl::MarkWholeDue(bool Erase) {
    FUpdateWhole = true;
    if (Erase) FUpdateErase = true;
}

void TWinControl::ResolveUpdateRegion() {
    if (!FUpdateWhole) return;
    FUpdateWhole = false;
    FUpdateRgn = PaintArea();
    if (FUpdateRgn.isEmpty()) FUpdateErase = false;
}

void TWinControl::RemoveUpdateRegion(const QRegion& Region) {
    ResolveUpdateRegion();
    FUpdateRgn -= Region;
    if (FUpdateRgn.isEmpty()) FUpdateErase = false;
}

// BeginPaint: the part of the update region painted now (during a paint event only what Qt
// paints), taken from the region, with the window's canvas clipped to it.
HDC TWinControl::StartPaint(PAINTSTRUCT& PS) {
    PS = PAINTSTRUCT();
    ResolveUpdateRegion();
    QRegion region = FPaintLimit ? FUpdateRgn.intersected(*FPaintLimit) : FUpdateRgn;
    PS.fErase = FUpdateErase && !region.isEmpty();
    RemoveUpdateRegion(region);
    const QRect box = region.boundingRect();
    PS.rcPaint = region.isEmpty() ? TRect() : Bounds(box.x(), box.y(), box.width(), box.height());
    PS.hdc = PaintCanvas(region);
    if (PS.hdc) PS.hdc->SelectPaintRegion(&region);
    return PS.hdc;
}

void TWinControl::FinishPaint(const PAINTSTRUCT& PS) {
    if (PS.hdc) PS.hdc->SelectPaintRegion(nullptr);
}

// The erase a paint would start with, done now on the update region (which stays to be painted).
void TWinControl::EraseUpdateRegion() {
    ResolveUpdateRegion();
    if (!FUpdateErase || FUpdateRgn.isEmpty()) return;
    FUpdateErase = false;
    const QRegion region = FUpdateRgn;
    TCanvas* dc = PaintCanvas(region);
    if (!dc) return;
    dc->SelectPaintRegion(&region);
    try {
        Perform(WM_ERASEBKGND, WPARAM(dc));
    } catch (...) {
        dc->SelectPaintRegion(nullptr);
        throw;
    }
    dc->SelectPaintRegion(nullptr);
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
    TControlPrivate::PaintControl(this, p, nullptr);
    p.end();
    return img;
}

void TWinControl::PaintTo(TCanvas* Canvas, int X, int Y) {
    if (!Canvas) return;
    QImage img = TWindowExtras::RenderWindow(this);
    if (!img.isNull()) Canvas->DrawImage(X, Y, img);
}
