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
    FLabel = new TLabel(this);
    FLabel->FreeNotification(this);
    FLabel->SetParent(Parent());
    FLabel->SetFocusControl(this);
    FLabel->Font()->Assign(FLabelFont);
    FLabel->SetParentFont(ParentFont());
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
    const TPoint at =
        LabelPlace(FLabelPosition, BoundsRect(), FLabel->Width(), FLabel->Height(), r.Width(), FLabelMargin);
    FLabel->SetBounds(at.X, at.Y, FLabel->Width(), FLabel->Height());
    FLabel->SetVisible(Visible());
}

// ---- Focus and mouse ---------------------------------------------------------------------------

void TAsgCustomCombo::FocusGained() {
    if (FFocusColor != clNone) TCustomComboBox::SetColor(FFocusColor);
    if (FFocusLabel && FLabel) {
        TFontStyles s = FLabel->Font()->Style();
        s.insert(fsBold);
        FLabel->Font()->SetStyle(s);
    }
}

void TAsgCustomCombo::FocusLost() {
    if (FFocusColor != clNone && FNormalColor != clNone) TCustomComboBox::SetColor(FNormalColor);
    if (FLabel) {
        TFontStyles s = FLabel->Font()->Style();
        s.erase(fsBold);
        FLabel->Font()->SetStyle(s);
    }
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
    TRect r = Rect(cw - FButtonWidth + 2 + 1, 1, Width() - 1, h - 1);
    const bool down = MouseButtonDown();
    if (ButtonColor == clNone) {
        int state = CBXS_HOT;
        if (!Enabled())
            state = CBXS_DISABLED;
        else if (down && DroppedDown())
            state = CBXS_PRESSED;
        else if (down || !FButtonHover || DroppedDown())
            state = CBXS_NORMAL;
        const TRect classic = Rect(r.Left - 4, r.Top + 1, r.Right - 4, r.Bottom - 1);
        DrawPlatformDropButton(DC, Handle(), r, classic, Themed(), state, Enabled());
    } else {
        r = Rect(r.Left - 1, r.Top + 1, r.Right - 2, r.Bottom - 1);
        TColor fill = ButtonColor;
        if (FButtonHover) fill = down && ButtonColorDown != clNone ? ButtonColorDown : ButtonColorHot;
        if (fill == clNone) fill = ButtonColor;
        const TColor arrow = down && ButtonTextColorDown != clNone ? ButtonTextColorDown : ButtonTextColor;
        DrawColorDropButton(DC, r, fill, ButtonBorderColor, arrow, 4);
    }
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
    const int w = Width(), h = Height();
    if (!Enabled() && Themed() && !FDisabledBorder) {
        DrawWindowFrame(DC, w, h, TColor(0xB99D7F));
    } else if (FFocusBorderColor != clNone && FHasFocus) {
        DrawWindowFrame(DC, w, h, FFocusBorderColor);
    } else if (FBorderColor != clNone) {
        DrawWindowFrame(DC, w, h, FBorderColor);
    } else if (FFocusBorderColor == clNone) {
        const bool active = FMouseInControl || Focused();
        const bool focusFrame = FFocusBorder && !HasState(csDesigning) && active;
        const TColor outer =
            focusFrame ? TColor(clBtnFace) : (Parent() ? Parent()->Brush()->Color() : Color());
        DrawFlatFrame(DC, w, h, outer, Color(), focusFrame, FButtonWidth);
        if (FFlat && FFlatLineColor != clNone) {
            DC->Pen()->SetColor(FFlatLineColor);
            DC->MoveTo(-2, h - 1);
            DC->LineTo(w - FButtonWidth - 1, h - 1);
        }
    }
    if (Style() != csSimple && !Themed()) {
        const int cw = ClientWidth(), ch = ClientHeight();
        TRect r = Rect(cw - FButtonWidth - 2 + 2, 2, w - 2, h - 2);
        const bool inactive = HasState(csDesigning) ? !Enabled() : !(FMouseInControl || Focused());
        if (inactive) {
            DC->Brush()->SetColor(clBtnFace);
            DC->FillRect(Rect(r.Left, r.Top + 1, r.Right - 1, r.Bottom - 1));
        }
        DC->ExcludeClipRect(r);
        DC->ExcludeClipRect(Rect(cw - FButtonWidth + 4, 4, cw - 4, ch - 4));
    }
}
