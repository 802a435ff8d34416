#include "Forms.h"

#include "QtBridge.h"
#include "Resources.h"
#include "StandIn.h"
#include "WindowFrame.h"

#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QCursor>
#include <QGuiApplication>
#include <QMessageBox>
#include <QScreen>

#include <algorithm>
#include <cstdio>
#include <map>

TApplication* Application = nullptr;
TScreen* Screen = nullptr;

namespace {

const char* const SCannotFocus = "Cannot focus a disabled or invisible window";
const char* const SCannotShowModal = "Cannot make a visible window modal";

QApplication* GOwnedApp = nullptr;

// The frame of a top-level window by border style: border width on each side and the height
// of the caption (the platform's classic metrics at 96 pixels per inch).
int FrameOf(TFormBorderStyle Style) {
    switch (Style) {
        case bsNone: return 0;
        case bsSizeable:
        case bsSizeToolWin: return 4;
        default: return 3;
    }
}

int CaptionOf(TFormBorderStyle Style) {
    switch (Style) {
        case bsNone: return 0;
        case bsToolWindow:
        case bsSizeToolWin: return 16;
        default: return 20;
    }
}

bool Sizeable(TFormBorderStyle Style) {
    return Style == bsSizeable || Style == bsSizeToolWin;
}

} // namespace

// =============================================================================================
// TCustomForm

TCustomForm::TCustomForm(TComponent* AOwner) : TScrollingWinControl(AOwner) {
    FIsForm = true;
    FControlStyle = {csAcceptsControls, csCaptureMouse, csClickEvents, csSetCaption, csDoubleClicks};
    FVisible = false;
    FParentFont = false;
    FParentColor = false;
    FColor = clBtnFace;
    Brush()->SetColor(clBtnFace);
    FFont->SetName(QStringLiteral("Tahoma"));
    FFont->SetSize(8);
    FParentFont = false;
    SetBounds(0, 0, 320, 240);
    if (Screen) Screen->AddForm(this);
}

void TCustomForm::BeforeDestruction() {
    TScrollingWinControl::BeforeDestruction();
    try {
        if (FVisible) Hide();
    } catch (...) {
        TControlPrivate::ReportException(this);
    }
    DoDestroy();
}

TCustomForm::~TCustomForm() {
    if (Application && Application->FMainForm == this) Application->FMainForm = nullptr;
    if (Screen) Screen->RemoveForm(this);
    FIsForm = false;
}

int TCustomForm::FrameWidth() const {
    return FrameOf(FBorderStyle);
}
int TCustomForm::CaptionHeight() const {
    return CaptionOf(FBorderStyle);
}

TRect TCustomForm::GetClientRect() const {
    int fw = FrameWidth();
    return Rect(0, 0, std::max(0, Width() - 2 * fw), std::max(0, Height() - 2 * fw - CaptionHeight()));
}

TPoint TCustomForm::ClientOrigin() const {
    if (Parent()) return TScrollingWinControl::ClientOrigin();
    return TPoint(Left() + FrameWidth(), Top() + FrameWidth() + CaptionHeight());
}

void TCustomForm::SetBorderStyle(TFormBorderStyle Value) {
    if (FBorderStyle == Value) return;
    // The client area keeps its size; the frame around it changes.
    TRect cr = GetClientRect();
    FBorderStyle = Value;
    SetClientSize(cr.Width(), cr.Height());
    RecreateWnd();
}

void TCustomForm::SetBorderIcons(const TBorderIcons& Value) {
    if (Value.count(biHelp)) PlatformStandIn("TCustomForm::SetBorderIcons(biHelp)");
    if (FBorderIcons == Value) return;
    FBorderIcons = Value;
    RecreateWnd();
}

void TCustomForm::SetPosition(TPosition Value) {
    if (Value == poDefault || Value == poDefaultPosOnly || Value == poDefaultSizeOnly)
        PlatformStandIn("TCustomForm::SetPosition(poDefault...)");
    FPosition = Value;
}

void TCustomForm::SetFormStyle(TFormStyle Value) {
    if (Value == fsMDIForm || Value == fsMDIChild) PlatformStandIn("TCustomForm::SetFormStyle(MDI)");
    if (FFormStyle == Value) return;
    FFormStyle = Value;
    RecreateWnd();
}

void TCustomForm::SetWindowState(TWindowState Value) {
    FWindowState = Value;
    if (QWidget* w = WidgetIfAllocated()) {
        switch (Value) {
            case wsMinimized: w->setWindowState(Qt::WindowMinimized); break;
            case wsMaximized: w->setWindowState(Qt::WindowMaximized); break;
            default: w->setWindowState(Qt::WindowNoState); break;
        }
    }
}

void TCustomForm::SetAlphaBlend(bool Value) {
    FAlphaBlend = Value;
    if (QWidget* w = WidgetIfAllocated()) w->setWindowOpacity(Value ? FAlphaBlendValue / 255.0 : 1.0);
}

void TCustomForm::SetAlphaBlendValue(Byte Value) {
    FAlphaBlendValue = Value;
    SetAlphaBlend(FAlphaBlend);
}

void TCustomForm::CreateParams(TCreateParams& Params) {
    TScrollingWinControl::CreateParams(Params);
    Params.Style &= ~(WS_CHILD | WS_CLIPSIBLINGS);
    Params.WndParent = 0;
    switch (FBorderStyle) {
        case bsNone: Params.Style |= WS_POPUP; break;
        case bsSingle:
        case bsToolWindow: Params.Style |= WS_CAPTION | WS_BORDER; break;
        case bsSizeable:
        case bsSizeToolWin: Params.Style |= WS_CAPTION | WS_THICKFRAME; break;
        case bsDialog:
            Params.Style |= WS_POPUP | WS_CAPTION;
            Params.ExStyle |= WS_EX_DLGMODALFRAME | WS_EX_WINDOWEDGE;
            break;
    }
    if (FBorderStyle != bsNone) {
        if (FBorderIcons.count(biSystemMenu)) Params.Style |= WS_SYSMENU;
        if (FBorderStyle == bsSingle || FBorderStyle == bsSizeable) {
            if (FBorderIcons.count(biMinimize)) Params.Style |= WS_MINIMIZEBOX;
            if (FBorderIcons.count(biMaximize)) Params.Style |= WS_MAXIMIZEBOX;
        }
    }
    if (FBorderStyle == bsToolWindow || FBorderStyle == bsSizeToolWin) Params.ExStyle |= WS_EX_TOOLWINDOW;
    if (FFormStyle == fsStayOnTop) Params.ExStyle |= WS_EX_TOPMOST;
}

QWidget* TCustomForm::CreateWidget(const TCreateParams& Params, QWidget* ParentWidget) {
    if (ParentWidget) return TScrollingWinControl::CreateWidget(Params, ParentWidget);
    Qt::WindowFlags flags = Qt::Window;
    if (FBorderStyle == bsNone) {
        flags |= Qt::FramelessWindowHint;
    } else {
        if (FBorderStyle == bsToolWindow || FBorderStyle == bsSizeToolWin) flags = Qt::Tool;
        flags |= Qt::CustomizeWindowHint | Qt::WindowTitleHint;
        if (Params.Style & WS_SYSMENU) flags |= Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
        if (Params.Style & WS_MINIMIZEBOX) flags |= Qt::WindowMinimizeButtonHint;
        if (Params.Style & WS_MAXIMIZEBOX) flags |= Qt::WindowMaximizeButtonHint;
    }
    if (Params.ExStyle & WS_EX_TOPMOST) flags |= Qt::WindowStaysOnTopHint;
    const bool noActivate = (Params.ExStyle & WS_EX_NOACTIVATE) != 0;
    if (noActivate) flags |= Qt::WindowDoesNotAcceptFocus;
    auto* w = new TControlWidget(this, nullptr, flags);
    if (noActivate) w->setAttribute(Qt::WA_ShowWithoutActivating, true);
    w->setWindowTitle(Params.Caption);
    return w;
}

void TCustomForm::CreateWnd() {
    TScrollingWinControl::CreateWnd();
    QWidget* w = WidgetIfAllocated();
    if (!w || Parent()) return;
    if (!Sizeable(FBorderStyle)) {
        TRect cr = GetClientRect();
        w->setFixedSize(std::max(0, cr.Width()), std::max(0, cr.Height()));
    }
    if (FAlphaBlend) w->setWindowOpacity(FAlphaBlendValue / 255.0);
}

void TCustomForm::PaintWindow(TCanvas* Canvas) {
    PaintBackground(Canvas);
}

void TCustomForm::PlaceWindow() {
    if (Parent() || !Screen) return;
    int l = Left(), t = Top();
    auto center = [&](const TRect& r) {
        l = r.Left + (r.Width() - Width()) / 2;
        t = r.Top + (r.Height() - Height()) / 2;
    };
    switch (FPosition) {
        case poScreenCenter:
        case poDesktopCenter: center(Rect(0, 0, Screen->Width(), Screen->Height())); break;
        case poMainFormCenter:
        case poOwnerFormCenter: {
            TCustomForm* ref = nullptr;
            if (FPosition == poOwnerFormCenter) ref = dynamic_cast<TCustomForm*>(Owner());
            if (!ref && Application) ref = Application->MainForm();
            if (ref && ref != this && ref->Visible())
                center(ref->BoundsRect());
            else
                center(Rect(0, 0, Screen->Width(), Screen->Height()));
            break;
        }
        default: return;
    }
    SetBounds(std::max(0, l), std::max(0, t), Width(), Height());
}

// ---------------------------------------------------------------------------------------------
// Showing

void TCustomForm::SetVisible(bool Value) {
    TScrollingWinControl::SetVisible(Value);
}

void TCustomForm::Show() {
    SetVisible(true);
    if (Showing() && Screen) Screen->ActivateForm(this, true);
    if (QWidget* w = WidgetIfAllocated(); w && QGuiApplication::platformName() != QLatin1String("offscreen"))
        w->raise();
}

void TCustomForm::Hide() {
    SetVisible(false);
}

void TCustomForm::CMShowingChanged(TMessage&) {
    QWidget* w = WidgetIfAllocated();
    if (Showing()) {
        PlaceWindow();
        FFormState.insert(fsShowing);
        try {
            DoShow();
        } catch (...) {
            FFormState.erase(fsShowing);
            throw;
        }
        FFormState.erase(fsShowing);
        if (w && !Parent()) {
            TRect cr = GetClientRect();
            if (!Sizeable(FBorderStyle)) w->setFixedSize(cr.Width(), cr.Height());
            w->setWindowTitle(Caption());
            w->setVisible(true);
        }
        if (Screen) Screen->ActivateForm(this, true);
    } else {
        DoHide();
        if (w && !Parent()) w->setVisible(false);
        if (Screen) Screen->ActivateNext(this);
    }
}

int TCustomForm::ShowModal() {
    if (Visible() || !Enabled() || FFormState.count(fsModal)) throw EInvalidOperation(SCannotShowModal);
    // The modal window takes the mouse: what a control does with it ends.
    CancelCapture();
    if (Application) Application->CancelHint();
    TCustomForm* previous = Screen ? Screen->ActiveForm() : nullptr;
    if (Application) Application->ModalStarted();
    FFormState.insert(fsModal);
    int result = mrNone;
    auto finish = [&] {
        FFormState.erase(fsModal);
        if (QWidget* w = WidgetIfAllocated()) w->setWindowModality(Qt::NonModal);
        if (Application) Application->ModalFinished();
        if (previous && previous != this && Screen && previous->Showing() && Screen->ActiveForm() != previous)
            Screen->ActivateForm(previous, true);
    };
    try {
        HandleNeeded();
        if (QWidget* w = WidgetIfAllocated()) w->setWindowModality(Qt::ApplicationModal);
        Show();
        FModalResult = mrNone;
        try {
            do {
                if (Application)
                    Application->HandleMessage();
                else
                    QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
                if (Application && Application->Terminated())
                    FModalResult = mrCancel;
                else if (FModalResult != mrNone)
                    CloseModal();
            } while (FModalResult == mrNone);
            result = FModalResult;
        } catch (...) {
            Hide();
            throw;
        }
        Hide();
    } catch (...) {
        finish();
        throw;
    }
    finish();
    return result;
}

void TCustomForm::CloseModal() {
    TCloseAction action = caNone;
    if (CloseQuery()) {
        action = caHide;
        DoClose(action);
    }
    switch (action) {
        case caNone: FModalResult = mrNone; break;
        case caFree: Release(); break;
        default: break;
    }
}

void TCustomForm::Close() {
    if (FFormState.count(fsModal)) {
        FModalResult = mrCancel;
        return;
    }
    if (!CloseQuery()) return;
    TCloseAction action = caHide;
    DoClose(action);
    if (action == caNone) return;
    if (Application && Application->MainForm() == this) {
        Application->Terminate();
        return;
    }
    switch (action) {
        case caHide: Hide(); break;
        case caMinimize: SetWindowState(wsMinimized); break;
        default: Release(); break;
    }
}

void TCustomForm::Release() {
    PostMessage(Handle(), CM_RELEASE);
}

bool TCustomForm::CloseQuery() {
    bool canClose = true;
    if (Assigned(OnCloseQuery)) OnCloseQuery(this, canClose);
    return canClose;
}

void TCustomForm::SetModalResult(TModalResult Value) {
    FModalResult = Value;
}

void TCustomForm::DoCreate() {
    try {
        if (Assigned(OnCreate)) OnCreate(this);
    } catch (...) {
        TControlPrivate::ReportException(this);
    }
}

void TCustomForm::DoDestroy() {
    try {
        if (Assigned(OnDestroy)) OnDestroy(this);
    } catch (...) {
        TControlPrivate::ReportException(this);
    }
}

void TCustomForm::DoShow() {
    if (Assigned(OnShow)) OnShow(this);
}

void TCustomForm::DoHide() {
    if (Assigned(OnHide)) OnHide(this);
}

void TCustomForm::DoClose(TCloseAction& Action) {
    if (Assigned(OnClose)) OnClose(this, Action);
}

void TCustomForm::Activate() {
    if (Assigned(OnActivate)) OnActivate(this);
}

void TCustomForm::Deactivate() {
    if (Assigned(OnDeactivate)) OnDeactivate(this);
}

// ---------------------------------------------------------------------------------------------
// Focus

void TCustomForm::SetActive(bool Value) {
    FActive = Value;
    if (Value) {
        if (!FActiveControl) FActiveControl = FindNextControl(nullptr, true, true, false);
        FFormState.insert(fsActivated);
        Perform(CM_ACTIVATE);
    } else {
        // A form that loses the activation loses the mouse too.
        if (TControl* cap = TControlPrivate::Capture(); cap && ContainsControl(cap)) CancelCapture();
        Perform(CM_DEACTIVATE);
    }
}

void TCustomForm::SetWindowFocus() {
    TWinControl* target = FActiveControl && FActiveControl->CanFocus() ? FActiveControl : this;
    HandleNeeded();
    target->HandleNeeded();
    TControlPrivate::FocusWindow(target);
}

void TCustomForm::SetActiveControl(TWinControl* Control) {
    if (FActiveControl == Control) return;
    if (Control &&
        (Control == this || GetParentForm(Control) != this || !(HasState(csLoading) || Control->CanFocus())))
        throw EInvalidOperation(SCannotFocus);
    FActiveControl = Control;
    if (!HasState(csLoading) && FActive) SetWindowFocus();
}

void TCustomForm::FocusControl(TWinControl* Control) {
    bool wasActive = FActive;
    SetActiveControl(Control);
    if (!wasActive) SetFocus();
}

void TCustomForm::SetFocus() {
    if (FActive) return;
    if (!(Visible() && Enabled())) throw EInvalidOperation(SCannotFocus);
    SetWindowFocus();
}

bool TCustomForm::CanFocus() const {
    return Visible() && Enabled();
}

// The focus moved to Control (a window of this form): controls it left hear CM_EXIT (innermost
// first), controls it entered CM_ENTER (outermost first), then every control of the form hears
// CM_FOCUSCHANGED.
bool TCustomForm::SetFocusedControl(TWinControl* Control) {
    FActiveControl = Control != this ? Control : nullptr;
    if (Screen) {
        Screen->FActiveControl = Control;
        Screen->FFocusedForm = this;
        if (Screen->FActiveForm != this && Showing()) Screen->BringFormToFront(this);
    }
    if (Control->FControlState.count(csFocusing)) return false;
    Control->FControlState.insert(csFocusing);
    struct TClear {
        TWinControl* C;
        HWND H;
        ~TClear() {
            if (FindControl(H) == C) C->FControlState.erase(csFocusing);
        }
    } clear{Control, Control->HandleAllocated() ? Control->Handle() : 0};
    if (!FFocusedControl) FFocusedControl = this;
    if (FFocusedControl == Control) return true;
    while (FFocusedControl && !FFocusedControl->ContainsControl(Control)) {
        TWinControl* leaving = FFocusedControl;
        FFocusedControl = FFocusedControl->Parent();
        leaving->Perform(CM_EXIT);
        if (TControlPrivate::Focused() != Control) return false;
    }
    if (!FFocusedControl) FFocusedControl = this;
    while (FFocusedControl != Control) {
        TWinControl* c = Control;
        while (c->Parent() != FFocusedControl) c = c->Parent();
        FFocusedControl = c;
        c->Perform(CM_ENTER);
        if (TControlPrivate::Focused() != Control) return false;
    }
    Perform(CM_FOCUSCHANGED, 0, LPARAM(Control));
    return true;
}

void TCustomForm::DefocusControl(TWinControl* Control, bool Removing) {
    if (Removing && FFocusedControl && Control->ContainsControl(FFocusedControl))
        FFocusedControl = Control->Parent();
    if (FActiveControl && Control->ContainsControl(FActiveControl)) {
        FActiveControl = nullptr;
        // The focus goes to the form itself.
        if (FActive && !HasState(csDestroying) && Showing()) SetWindowFocus();
    }
}

void TCustomForm::MouseWheelHandler(TMessage& Message) {
    if (FFocusedControl && FFocusedControl != this)
        Message.Result = FFocusedControl->Perform(CM_MOUSEWHEEL, Message.WParam, Message.LParam);
    else
        TScrollingWinControl::MouseWheelHandler(Message);
}

// ---------------------------------------------------------------------------------------------
// Messages

void TCustomForm::Dispatch(TMessage& Message) {
    switch (Message.Msg) {
        case CM_DIALOGKEY: CallHandler<TCMDialogKey>(this, &TCustomForm::CMDialogKey, Message); break;
        case CM_ACTIVATE: CMActivate(Message); break;
        case CM_DEACTIVATE: CMDeactivate(Message); break;
        case CM_SHOWINGCHANGED: CMShowingChanged(Message); break;
        case CM_RELEASE: CMRelease(Message); break;
        case CM_TEXTCHANGED: CMTextChanged(Message); break;
        case WM_CLOSE: WMClose(Message); break;
        default: TScrollingWinControl::Dispatch(Message); break;
    }
}

// Tab and Shift+Tab move the focus along the tab order, the arrows among the active control's
// siblings; any other dialog key goes to the controls (default and cancel buttons).
void TCustomForm::CMDialogKey(TCMDialogKey& Message) {
    if (GetKeyState(VK_MENU) >= 0) {
        switch (Word(Message.CharCode)) {
            case VK_TAB:
                if (GetKeyState(VK_CONTROL) >= 0) {
                    SelectNext(FActiveControl, GetKeyState(VK_SHIFT) >= 0, true);
                    Message.Result = 1;
                    return;
                }
                break;
            case VK_LEFT:
            case VK_RIGHT:
            case VK_UP:
            case VK_DOWN:
                if (FActiveControl && FActiveControl->Parent()) {
                    Word k = Message.CharCode;
                    FActiveControl->Parent()->SelectNext(FActiveControl, k == VK_RIGHT || k == VK_DOWN,
                                                         false);
                    Message.Result = 1;
                }
                return;
            default: break;
        }
    }
    TScrollingWinControl::Dispatch(Message);
}

void TCustomForm::CMActivate(TMessage&) {
    Activate();
}
void TCustomForm::CMDeactivate(TMessage&) {
    Deactivate();
}

void TCustomForm::CMRelease(TMessage&) {
    TObject::Free(this);
}

void TCustomForm::CMTextChanged(TMessage& Message) {
    if (QWidget* w = WidgetIfAllocated(); w && !Parent()) w->setWindowTitle(Caption());
    TScrollingWinControl::Dispatch(Message);
}

void TCustomForm::WMClose(TMessage&) {
    Close();
}

// =============================================================================================
// TScreen

struct TScreen::TCursorShapes {
    std::map<int, QCursor> Shapes;
};

TScreen::TScreen(TComponent* AOwner) : TComponent(AOwner), FCursors(std::make_unique<TCursorShapes>()) {
    FHintFont = new TFont();
}

TScreen::~TScreen() {
    SetCursor(crDefault);
    TObject::Free(FHintFont);
}

TCustomForm* TScreen::Forms(int Index) const {
    if (Index < 0 || Index >= FormCount())
        throw EListError(QStringLiteral("List index out of bounds (%1)").arg(Index));
    return FForms[size_t(Index)];
}

void TScreen::AddForm(TCustomForm* Form) {
    FForms.push_back(Form);
}

void TScreen::RemoveForm(TCustomForm* Form) {
    auto it = std::find(FForms.begin(), FForms.end(), Form);
    if (it != FForms.end()) FForms.erase(it);
    if (FActiveForm == Form) FActiveForm = nullptr;
    if (FFocusedForm == Form) FFocusedForm = nullptr;
    if (FActiveControl && Form->ContainsControl(FActiveControl)) FActiveControl = nullptr;
    TControlPrivate::ClearFocusSilently(Form);
}

void TScreen::BringFormToFront(TCustomForm* Form) {
    auto it = std::find(FForms.begin(), FForms.end(), Form);
    if (it == FForms.end()) return;
    FForms.erase(it);
    FForms.insert(FForms.begin(), Form);
}

void TScreen::ActivateForm(TCustomForm* Form, bool Focus) {
    // A not-activating window (a drag image, a floating picture) never becomes the active form:
    // the form that was active keeps the activation and the keyboard.
    if (Form && Form->HandleAllocated() && (Form->WindowExStyle() & WS_EX_NOACTIVATE)) return;
    if (FActiveForm == Form) {
        if (Focus && Form) {
            TWinControl* focused = TControlPrivate::Focused();
            if (!focused || GetParentForm(focused) != Form) Form->SetWindowFocus();
        }
        return;
    }
    TCustomForm* old = FActiveForm;
    FActiveForm = Form;
    if (Form) BringFormToFront(Form);
    if (old) old->SetActive(false);
    if (!Form || FActiveForm != Form) return;
    if (QWidget* w = Form->WidgetIfAllocated()) w->activateWindow();
    Form->SetActive(true);
    if (Focus && FActiveForm == Form) Form->SetWindowFocus();
}

void TScreen::ActivateNext(TCustomForm* Hidden) {
    TWinControl* focused = TControlPrivate::Focused();
    bool hadFocus = focused && Hidden->ContainsControl(focused);
    if (FActiveForm != Hidden) {
        if (hadFocus) TControlPrivate::FocusWindow(nullptr);
        return;
    }
    FActiveForm = nullptr;
    Hidden->SetActive(false);
    for (TCustomForm* f : std::vector<TCustomForm*>(FForms)) {
        if (f != Hidden && f->Showing() && f->Enabled()) {
            ActivateForm(f, true);
            return;
        }
    }
    if (hadFocus) TControlPrivate::FocusWindow(nullptr);
}

void TScreen::SetCursor(TCursor Value) {
    if (FCursor == Value) return;
    bool app = QGuiApplication::instance() != nullptr;
    if (FCursor != crDefault && app) QGuiApplication::restoreOverrideCursor();
    FCursor = Value;
    if (Value != crDefault && app) QGuiApplication::setOverrideCursor(Cursors(Value));
}

QCursor TScreen::Cursors(int Index) const {
    auto it = FCursors->Shapes.find(Index);
    if (it != FCursors->Shapes.end()) return it->second;
    switch (Index) {
        case crNone: return QCursor(Qt::BlankCursor);
        case crCross: return QCursor(Qt::CrossCursor);
        case crIBeam: return QCursor(Qt::IBeamCursor);
        case crSizeNESW: return QCursor(Qt::SizeBDiagCursor);
        case crSizeNS: return QCursor(Qt::SizeVerCursor);
        case crSizeNWSE: return QCursor(Qt::SizeFDiagCursor);
        case crSizeWE: return QCursor(Qt::SizeHorCursor);
        case crUpArrow: return QCursor(Qt::UpArrowCursor);
        case crHourGlass:
        case crSQLWait: return QCursor(Qt::WaitCursor);
        case crDrag:
        case crMultiDrag: return QCursor(Qt::DragCopyCursor);
        case crNoDrop:
        case crNo: return QCursor(Qt::ForbiddenCursor);
        case crHSplit: return QCursor(Qt::SplitHCursor);
        case crVSplit: return QCursor(Qt::SplitVCursor);
        case crAppStart: return QCursor(Qt::BusyCursor);
        case crHelp: return QCursor(Qt::WhatsThisCursor);
        case crHandPoint: return QCursor(Qt::PointingHandCursor);
        case crSizeAll: return QCursor(Qt::SizeAllCursor);
        default: return QCursor(Qt::ArrowCursor);
    }
}

void TScreen::SetCursors(int Index, const QCursor& Shape) {
    FCursors->Shapes[Index] = Shape;
}

int TScreen::Width() const {
    QScreen* s = QGuiApplication::instance() ? QGuiApplication::primaryScreen() : nullptr;
    return s ? s->geometry().width() : 1024;
}

int TScreen::Height() const {
    QScreen* s = QGuiApplication::instance() ? QGuiApplication::primaryScreen() : nullptr;
    return s ? s->geometry().height() : 768;
}

TRect TScreen::DesktopRect() const {
    return Rect(0, 0, Width(), Height());
}

TRect TScreen::WorkAreaRect() const {
    QScreen* s = QGuiApplication::instance() ? QGuiApplication::primaryScreen() : nullptr;
    if (!s) return DesktopRect();
    QRect r = s->availableGeometry();
    return Bounds(r.x(), r.y(), r.width(), r.height());
}

TRect TScreen::MonitorWorkAreaRect(const TPoint& Point) const {
    if (!QGuiApplication::instance()) return WorkAreaRect();
    const QPoint p(Point.X, Point.Y);
    QScreen* best = nullptr;
    qint64 bestDistance = 0;
    for (QScreen* s : QGuiApplication::screens()) {
        const QRect g = s->geometry();
        // The distance of the point from the monitor's rectangle (0 inside it).
        const qint64 dx = p.x() < g.left() ? g.left() - p.x() : p.x() > g.right() ? p.x() - g.right() : 0;
        const qint64 dy = p.y() < g.top() ? g.top() - p.y() : p.y() > g.bottom() ? p.y() - g.bottom() : 0;
        const qint64 d = dx * dx + dy * dy;
        if (!best || d < bestDistance) {
            best = s;
            bestDistance = d;
        }
    }
    if (!best) return WorkAreaRect();
    const QRect r = best->availableGeometry();
    return Bounds(r.x(), r.y(), r.width(), r.height());
}

void TControlPrivate::ActivateWindow(TWinControl* Window) {
    if (Screen && Screen->FActiveForm) Screen->ActivateForm(nullptr, false);
    if (QWidget* w = TWindowExtras::Outer(Window)) w->activateWindow();
    FocusWindow(Window);
}

void TControlPrivate::ActivateFormOf(TWinControl* Control) {
    if (!Screen || !Control) return;
    TCustomForm* form = GetParentForm(Control);
    if (form && form->Showing() && Screen->FActiveForm != form) Screen->ActivateForm(form, false);
}

// =============================================================================================
// TApplication

TApplication::TApplication(TComponent* AOwner) : TComponent(AOwner) {}

TApplication::~TApplication() {
    // The forms go while the application is still whole: their destructors ask it things.
    DestroyComponents();
    FMainForm = nullptr;
}

TApplication* TApplication::Create(int& argc, char** argv) {
    // The font configuration loads beside the making of the application and its windows.
    StartFontConfiguration();
    if (!QCoreApplication::instance()) GOwnedApp = new QApplication(argc, argv);
    QGuiApplication::setQuitOnLastWindowClosed(false);
    if (!Screen) Screen = new TScreen(nullptr);
    if (!Application) Application = new TApplication(nullptr);
    return Application;
}

void TApplication::Shutdown() {
    if (Application) {
        Application->FTerminated = true;
        TObject::Free(Application);
        Application = nullptr;
    }
    if (Screen) {
        TScreen* s = Screen;
        Screen = nullptr;
        TObject::Free(s);
    }
    if (QCoreApplication::instance()) QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    StopResourceImagePreload();
    AwaitFontConfiguration();
    delete GOwnedApp;
    GOwnedApp = nullptr;
}

void TApplication::Initialize() {
    if (FTitle.isEmpty()) FTitle = QCoreApplication::applicationName();
}

void TApplication::Run() {
    FTerminated = false;
    if (!FMainForm) return;
    if (ShowMainForm) FMainForm->Show();
    while (!FTerminated) HandleMessage();
}

void TApplication::ProcessMessages() {
    QCoreApplication::processEvents(QEventLoop::AllEvents);
}

void TApplication::HandleMessage() {
    QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
    if (Assigned(OnIdle)) OnIdle(this);
}

void TApplication::Terminate() {
    FTerminated = true;
    if (auto* d = QCoreApplication::eventDispatcher()) d->wakeUp();
}

void TApplication::HandleException(TObject* Sender) {
    if (!std::current_exception()) return;
    ReleaseCapture();
    auto report = [&](Exception& E) {
        if (Assigned(OnException)) {
            try {
                OnException(Sender, E);
            } catch (...) {
                std::fprintf(stderr, "%s\n", E.what());
            }
        } else {
            ShowException(E);
        }
    };
    try {
        throw;
    } catch (EAbort&) {
    } catch (Exception& E) {
        report(E);
    } catch (std::exception& e) {
        Exception E(String::fromLocal8Bit(e.what()));
        report(E);
    } catch (...) {
        Exception E(QStringLiteral("Unknown exception"));
        report(E);
    }
}

void TApplication::ShowException(Exception& E) {
    String msg = E.Message();
    // The class library ends the text with a period unless it ends in one (or in a character
    // that sorts before it).
    if (!msg.isEmpty() && msg.back() > u'.') msg += u'.';
    if (qobject_cast<QApplication*>(QCoreApplication::instance())) {
        QWidget* parent =
            Screen && Screen->ActiveForm() ? Screen->ActiveForm()->WidgetIfAllocated() : nullptr;
        String title = FTitle.isEmpty() ? QCoreApplication::applicationName() : FTitle;
        QMessageBox::critical(parent, title, msg);
    } else {
        std::fprintf(stderr, "%s\n", msg.toLocal8Bit().constData());
    }
}

void TApplication::SetTitle(const String& Value) {
    FTitle = Value;
}

String TApplication::ExeName() const {
    return QCoreApplication::instance() ? QCoreApplication::applicationFilePath() : String();
}

HWND TApplication::Handle() const {
    PlatformStandIn("TApplication::Handle");
    return 0;
}

void TApplication::Minimize() {
    PlatformStandIn("TApplication::Minimize");
}

void TApplication::Restore() {
    PlatformStandIn("TApplication::Restore");
}

void TApplication::BringToFront() {
    if (Screen && Screen->ActiveForm())
        if (QWidget* w = Screen->ActiveForm()->WidgetIfAllocated()) w->raise();
}
