#include "AsgCombo.h"

#include "Forms.h"
#include "OSInfo.h"
#include "Themes.h"

TAsgCustomCombo::TAsgCustomCombo(TComponent* AOwner) : TCustomComboBox(AOwner) {
    FButtonWidth = GetSystemMetrics(SM_CXVSCROLL) + 2;
    FIsThemed = (GetFileVersion(QStringLiteral("COMCTL32.DLL")) >> 16) > 5;
    FLabelFont = new TFont();
    FLabelFont->OnChange = [this](TObject* Sender) { LabelFontChanged(Sender); };
}

TAsgCustomCombo::~TAsgCustomCombo() {
    TObject::Free(FLabelFont);
    FLabelFont = nullptr;
    if (FLabel) {
        TLabel* label = FLabel;
        FLabel = nullptr;
        TObject::Free(label);
    }
}

void TAsgCustomCombo::Notification(TComponent* AComponent, TOperation Operation) {
    TCustomComboBox::Notification(AComponent, Operation);
    // The label lives on the parent, which may free it first.
    if (Operation == opRemove && AComponent == FLabel) FLabel = nullptr;
}

void TAsgCustomCombo::LabelFontChanged(TObject*) {
    if (HasState(csDesigning) && !HasState(csLoading)) SetParentFont(false);
    PlaceLabel();
}

void TAsgCustomCombo::SelectItem(const String& AString) {
    const int i = Items()->IndexOf(AString);
    if (i >= 0) SetItemIndex(i);
}

void TAsgCustomCombo::Init() {
    FNormalColor = Color();
}

void TAsgCustomCombo::Loaded() {
    TCustomComboBox::Loaded();
    if (FDropWidth > 0) Perform(CB_SETDROPPEDWIDTH, WPARAM(FDropWidth));
    FOldColor = FLoadedColor;
    if (!(FFlat && FFlatParentColor)) TCustomComboBox::SetColor(FLoadedColor);
    if (FLabel) {
        if (!FLabelAlwaysEnabled) FLabel->SetEnabled(Enabled());
        if (ParentFont()) FLabel->Font()->Assign(Font());
    }
    PlaceLabel();
    Init();
}

// ---- Settings --------------------------------------------------------------------------------

void TAsgCustomCombo::SetFlat(bool Value) {
    if (FFlat == Value) return;
    FFlat = Value;
    SetCtl3D(!Value);
    if (FFlat && FFlatParentColor && Parent())
        TCustomComboBox::SetColor(Parent()->Brush()->Color());
    else
        TCustomComboBox::SetColor(FLoadedColor);
    Invalidate();
}

void TAsgCustomCombo::SetEtched(bool Value) {
    FEtched = Value;
    Invalidate();
}

void TAsgCustomCombo::SetButtonWidth(int Value) {
    if (Value >= 14 && Value <= 32) FButtonWidth = Value;
}

void TAsgCustomCombo::SetDropWidth(int Value) {
    FDropWidth = Value;
    if (Value > 0) Perform(CB_SETDROPPEDWIDTH, WPARAM(Value));
}

void TAsgCustomCombo::SetFlatLineColor(TColor Value) {
    FFlatLineColor = Value;
    Invalidate();
}

void TAsgCustomCombo::SetFlatParentColor(bool Value) {
    FFlatParentColor = Value;
    Invalidate();
}

void TAsgCustomCombo::SetBorderColor(TColor Value) {
    if (FBorderColor == Value) return;
    FBorderColor = Value;
    if (HandleAllocated()) DrawBorders();
}

void TAsgCustomCombo::SetEnabled(bool Value) {
    const bool changed = Value != Enabled();
    TCustomComboBox::SetEnabled(Value);
    if (!changed || HasState(csLoading) || HasState(csDesigning)) return;
    if (FLabel) {
        if (!FLabelAlwaysEnabled) FLabel->SetEnabled(Value);
        PlaceLabel();
    }
}

void TAsgCustomCombo::SetVisible(bool Value) {
    TCustomComboBox::SetVisible(Value);
    if (FLabel) FLabel->SetVisible(Value);
}

void TAsgCustomCombo::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
    TCustomComboBox::SetBounds(ALeft, ATop, AWidth, AHeight);
    if (!HasState(csDestroying)) PlaceLabel();
}

// ---- The attached label ----------------------------------------------------------------------

void TAsgCustomCombo::CreateLabel() {
    FLabel = CreateAttachedLabel(this, FLabelFont);
}

String TAsgCustomCombo::LabelCaption() const {
    return FLabel ? FLabel->Caption() : String();
}

void TAsgCustomCombo::SetLabelCaption(const String& Value) {
    if (!FLabel) CreateLabel();
    FLabel->SetCaption(Value);
    PlaceLabel();
}

void TAsgCustomCombo::SetLabelFont(TFont* Value) {
    FLabelFont->Assign(Value);
    PlaceLabel();
}

void TAsgCustomCombo::SetLabelMargin(int Value) {
    FLabelMargin = Value;
    PlaceLabel();
}

void TAsgCustomCombo::SetLabelPosition(TLabelPosition Value) {
    FLabelPosition = Value;
    PlaceLabel();
}

void TAsgCustomCombo::SetLabelTransparent(bool Value) {
    FLabelTransparent = Value;
    PlaceLabel();
}

void TAsgCustomCombo::SetLabelAlwaysEnabled(bool Value) {
    FLabelAlwaysEnabled = Value;
    if (FLabel && Value) FLabel->SetEnabled(true);
    PlaceLabel();
}

void TAsgCustomCombo::PlaceLabel() {
    if (!FLabel) return;
    FLabel->SetTransparent(FLabelTransparent);
    if (!ParentFont()) FLabel->Font()->Assign(FLabelFont);
    if (FLabel->Parent() != Parent()) FLabel->SetParent(Parent());
    TRect r = Rect(0, 0, 1000, 255);
    TCanvas* c = FLabel->Canvas();
    c->SetFont(FLabel->Font());
    DrawText(c, FLabel->Caption(), r, DT_CALCRECT | DT_LEFT | DT_SINGLELINE | DT_HIDEPREFIX);
    PlaceAttachedLabel(FLabel, this, FLabelPosition, FLabelMargin, r.Width());
}

// ---- Focus and mouse ---------------------------------------------------------------------------

void TAsgCustomCombo::FocusGained() {
    if (FFocusColor != clNone) TCustomComboBox::SetColor(FFocusColor);
    if (FFocusLabel) SetLabelBold(FLabel, true);
}

void TAsgCustomCombo::FocusLost() {
    if (FFocusColor != clNone && FNormalColor != clNone) TCustomComboBox::SetColor(FNormalColor);
    SetLabelBold(FLabel, false);
}

bool TAsgCustomCombo::MouseButtonDown() const {
    return GetAsyncKeyState(VK_LBUTTON) < 0;
}

bool TAsgCustomCombo::Themed() const {
    return FIsThemed && PlatformSwitches().VisualStylesActive;
}

void TAsgCustomCombo::CMMouseEnter(TMessage&) {
    if (FMouseInControl || !Enabled()) return;
    FMouseInControl = true;
    DrawBorders();
    if (FAutoFocus && !HasState(csDesigning)) {
        TCustomForm* form = GetParentForm(this);
        if (!form || form->Active()) SetFocus();
    }
    if (Themed()) Invalidate();
}

void TAsgCustomCombo::CMMouseLeave(TMessage&) {
    if (!FMouseInControl || !Enabled()) return;
    FMouseInControl = false;
    FButtonHover = false;
    DrawBorders();
    if (Themed()) Invalidate();
}

void TAsgCustomCombo::MouseMove(TShiftState Shift, int X, int Y) {
    TCustomComboBox::MouseMove(Shift, X, Y);
    const bool hover = X > Width() - FButtonWidth && X < Width();
    if (hover != FButtonHover) {
        FButtonHover = hover;
        Invalidate();
    }
}

void TAsgCustomCombo::CMEnabledChanged(TMessage&) {
    if (!FFlat || HasState(csLoading)) return;
    if (Enabled()) {
        SetParentColor(FOldParentColor);
        TCustomComboBox::SetColor(FOldColor);
    } else {
        FOldParentColor = ParentColor();
        FOldColor = Color();
        SetParentColor(true);
    }
}

void TAsgCustomCombo::CNCommand(TWMCommand& Message) {
    const Word code = Message.NotifyCode;
    if (code == CBN_DROPDOWN || code == CBN_CLOSEUP) {
        const TRect client = ClientRect();
        const TRect button = Rect(client.Right - FButtonWidth, client.Top, client.Right, client.Bottom);
        InvalidateRect(Handle(), &button, false);
    }
    if (code == CBN_CLOSEUP && Assigned(OnDropUp)) OnDropUp(this);
}

void TAsgCustomCombo::Dispatch(TMessage& Message) {
    switch (Message.Msg) {
        case CM_ENTER:
            TCustomComboBox::Dispatch(Message);
            if (HasState(csDesigning)) break;
            FHasFocus = true;
            DrawBorders();
            FocusGained();
            break;
        case CM_EXIT:
            TCustomComboBox::Dispatch(Message);
            if (HasState(csDesigning)) break;
            FHasFocus = false;
            DrawBorders();
            FocusLost();
            break;
        case WM_SETFOCUS:
            TCustomComboBox::Dispatch(Message);
            if (FFocusBorderColor != clNone) {
                FocusGained();
                Invalidate();
            }
            break;
        case WM_KILLFOCUS:
            TCustomComboBox::Dispatch(Message);
            if (FFocusBorderColor != clNone) {
                FocusLost();
                Invalidate();
            }
            break;
        case CM_MOUSEENTER:
            TCustomComboBox::Dispatch(Message);
            CMMouseEnter(Message);
            break;
        case CM_MOUSELEAVE:
            TCustomComboBox::Dispatch(Message);
            CMMouseLeave(Message);
            break;
        case CM_ENABLEDCHANGED:
            TCustomComboBox::Dispatch(Message);
            CMEnabledChanged(Message);
            break;
        case CM_COLORCHANGED:
            // While loading, the colour written is the designed one.
            if (HasState(csLoading)) FLoadedColor = Color();
            TCustomComboBox::Dispatch(Message);
            break;
        case CM_FONTCHANGED:
            TCustomComboBox::Dispatch(Message);
            if (FLabel && ParentFont() && (HasState(csDesigning) || HasState(csLoading)))
                FLabel->Font()->Assign(Font());
            break;
        case CM_PARENTFONTCHANGED:
            TCustomComboBox::Dispatch(Message);
            if (FLabel && ParentFont()) FLabel->Font()->Assign(Font());
            PlaceLabel();
            break;
        case CN_COMMAND:
            TCustomComboBox::Dispatch(Message);
            CallHandler<TWMCommand>(this, &TAsgCustomCombo::CNCommand, Message);
            break;
        case WM_PAINT: CallHandler<TWMPaint>(this, &TAsgCustomCombo::WMPaint, Message); break;
        case WM_NCPAINT: CallHandler<TWMNCPaint>(this, &TAsgCustomCombo::WMNCPaint, Message); break;
        default: TCustomComboBox::Dispatch(Message); break;
    }
}

// ---- Painting ----------------------------------------------------------------------------------

bool TAsgCustomCombo::CustomPainting() const {
    if (FIsVista && ButtonColor == clNone) return false;
    return FFlat || ButtonColor != clNone || FBorderColor != clNone ||
           (FFocusBorderColor != clNone && FHasFocus) || (!Enabled() && FIsThemed && !FDisabledBorder);
}

void TAsgCustomCombo::WMPaint(TWMPaint& Message) {
    TCanvas* dc = Message.DC();
    if (!dc || !CustomPainting()) {
        TCustomComboBox::Dispatch(Message);
        return;
    }
    const bool ltr = !UseRightToLeftAlignment();
    if (Style() != csSimple) {
        dc->Brush()->Assign(Brush());
        dc->Brush()->SetColor(Color());
        dc->FillRect(ClientRect());
        if (ltr) DrawButton(dc);
    }
    TCustomComboBox::Dispatch(Message);
    if (ltr) {
        dc->ResetClip();
        DrawBorders(dc);
    }
}

void TAsgCustomCombo::WMNCPaint(TWMNCPaint& Message) {
    TCustomComboBox::Dispatch(Message);
    const bool draw = FFlat || (!Enabled() && Themed() && !FDisabledBorder) || FBorderColor != clNone ||
                      (FFocusBorderColor != clNone && FHasFocus);
    if (draw) DrawBorders(Message.DC());
}

void TAsgCustomCombo::DrawButton(TCanvas* DC) {
    const int cw = ClientWidth(), h = Height();
    const TRect r = Rect(cw - FButtonWidth + 2 + 1, 1, Width() - 1, h - 1);
    const TRect colored = Rect(r.Left - 1, r.Top + 1, r.Right - 2, r.Bottom - 1);
    const TRect classic = Rect(r.Left - 4, r.Top + 1, r.Right - 4, r.Bottom - 1);
    const TDropButtonColors colors{ButtonColor,       ButtonColorHot,  ButtonColorDown,
                                   ButtonBorderColor, ButtonTextColor, ButtonTextColorDown};
    DrawEditorDropButton(DC, Handle(), r, colored, classic, colors, 4, Enabled(), FButtonHover, DroppedDown(),
                         Themed());
    DC->ExcludeClipRect(Rect(cw - FButtonWidth - 4, 0, cw + 2, h));
}

void TAsgCustomCombo::DrawBorders(TCanvas* DC) {
    if (Enabled() && !FFlat && FBorderColor == clNone && FFocusBorderColor == clNone) return;
    if (FIsVista && FBorderColor == clNone) return;
    if (!DC) {
        // Outside a paint: the window paints again, and its paint draws them.
        if (HandleAllocated()) Invalidate();
        return;
    }
    const TEditorFrame frame = EditorFrame(this, Themed(), FDisabledBorder, FHasFocus, FBorderColor,
                                           FFocusBorderColor, FFocusBorder, FMouseInControl, FButtonWidth);
    if (DrawEditorFrame(DC, frame) && FFlat && FFlatLineColor != clNone) {
        DC->Pen()->SetColor(FFlatLineColor);
        DC->MoveTo(-2, frame.Height - 1);
        DC->LineTo(frame.Width - FButtonWidth - 1, frame.Height - 1);
    }
    if (Style() != csSimple && !Themed()) {
        const int cw = ClientWidth(), ch = ClientHeight();
        const bool active = HasState(csDesigning) ? Enabled() : (FMouseInControl || Focused());
        DrawButtonArea(DC, Rect(cw - FButtonWidth, 2, frame.Width - 2, frame.Height - 2), active, false,
                       false);
        DC->ExcludeClipRect(Rect(cw - FButtonWidth + 4, 4, cw - 4, ch - 4));
    }
}
