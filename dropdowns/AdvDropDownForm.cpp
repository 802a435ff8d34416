#include "AdvDropDownForm.h"

#include "AdvDropDown.h"
#include "AdvDropDownDraw.h"
#include "AdvDropDownStrips.h"
#include "AdvXPVS.h"
#include "EditorLook.h"
#include "OSInfo.h"
#include "SysUtils.h"
#include "Themes.h"

#include <algorithm>

namespace {
std::function<Cardinal()>& TickSource() {
    static std::function<Cardinal()> source;
    return source;
}

// The common controls of version 6 or later draw with visual styles.
bool ComCtl6() {
    return (GetFileVersion(QStringLiteral("COMCTL32.DLL")) >> 16) > 5;
}
} // namespace

Cardinal DropDownTickCount() {
    return TickSource() ? TickSource()() : GetTickCount();
}

void SetDropDownTickSource(std::function<Cardinal()> Source) {
    TickSource() = std::move(Source);
}

// =============================================================================================
// TDropDownForm

// Forms do not paint here; the popup's background and frame are painted by this graphic control,
// which lies under every child and covers the whole window. Disabled, it leaves the mouse to the
// form.
class TDropDownBackground : public TGraphicControl {
public:
    explicit TDropDownBackground(TDropDownForm* Form) : TGraphicControl(Form), FForm(Form) {
        SetEnabled(false);
        SetParent(Form);
    }

protected:
    void Paint() override { FForm->DrawBackground(Canvas()); }

private:
    TDropDownForm* FForm;
};

TDropDownForm::TDropDownForm(TComponent* AOwner) : TForm(AOwner) {
    FBackground = new TDropDownBackground(this);
    FBackground->SetBounds(0, 0, ClientWidth(), ClientHeight());
}

void TDropDownForm::CreateParams(TCreateParams& Params) {
    TForm::CreateParams(Params);
    Params.ExStyle |= WS_EX_TOPMOST;
}

int TDropDownForm::BorderWidth() const {
    return FAdvDropDown ? FAdvDropDown->DropDownBorderWidth() : 0;
}

void TDropDownForm::AdjustClientRect(TRect& Rect) {
    TForm::AdjustClientRect(Rect);
    if (!FAdvDropDown) return;
    const int b = BorderWidth();
    Rect = TRect(Rect.Left + b, Rect.Top + b, Rect.Right - b, Rect.Bottom - b);
}

void TDropDownForm::SetMinSize(int AWidth, int AHeight) {
    FMinWidth = AWidth;
    FMinHeight = AHeight;
}

void TDropDownForm::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
    TForm::SetBounds(ALeft, ATop, std::max(AWidth, FMinWidth), std::max(AHeight, FMinHeight));
}

void TDropDownForm::DrawBackground(TCanvas* ACanvas) {
    if (!FAdvDropDown || !ACanvas) return;
    const int b = BorderWidth();
    const TRect client = ClientRect();
    const TRect r(client.Left + b, client.Top + b, client.Right - b, client.Bottom - b);
    const TColor from = FAdvDropDown->DropDownColor(), to = FAdvDropDown->DropDownColorTo();
    if (from != clNone && to != clNone) {
        DrawSteppedGradient(ACanvas, from, to, 80, r, FAdvDropDown->DropDownGradient() == gdHorizontal);
    } else if (from != clNone) {
        ACanvas->Brush()->SetStyle(bsSolid);
        ACanvas->Brush()->SetColor(from);
        ACanvas->FillRect(r);
    }
    if (b > 0) {
        // A wide pen is centred on the rectangle: its outer half falls outside at the right and
        // bottom, where the rectangle stays at the client edge.
        const TRect frame(client.Left + b / 2, client.Top + b / 2, client.Right, client.Bottom);
        ACanvas->Pen()->SetStyle(psSolid);
        ACanvas->Pen()->SetWidth(b);
        ACanvas->Pen()->SetColor(FAdvDropDown->DropDownBorderColor());
        ACanvas->Brush()->SetStyle(bsClear);
        ACanvas->Rectangle(frame);
        ACanvas->Pen()->SetWidth(1);
        ACanvas->Brush()->SetStyle(bsSolid);
    }
}

void TDropDownForm::InitializeAndUpdate() {
    if (!FAdvDropDown) return;
    THeaderAppearance* header = FAdvDropDown->DropDownHeader();
    if (FHeader) {
        FHeader->SetAdvDropDown(FAdvDropDown);
        FHeader->UpdateButtons();
        FHeader->SetVisible(header->Visible());
    } else if (header->Visible()) {
        // Only a new header takes the appearance's height.
        FHeader = new TAdvHeader(this);
        FHeader->SetParent(this);
        FHeader->SetHeight(header->Height());
        FHeader->SetAdvDropDown(FAdvDropDown);
        FHeader->UpdateButtons();
        FHeader->SetAlign(alTop);
    }
    if (FHeader) {
        FHeader->OnDrawBackGround = FAdvDropDown->OnDrawHeader;
        FHeader->OnGetText = FAdvDropDown->OnGetHeaderText;
    }
    TFooterAppearance* footer = FAdvDropDown->DropDownFooter();
    if (FFooter) {
        FFooter->SetAdvDropDown(FAdvDropDown);
        FFooter->UpdateButtons();
        FFooter->SetVisible(footer->Visible());
    } else if (footer->Visible()) {
        FFooter = new TAdvFooter(this);
        FFooter->SetParent(this);
        FFooter->SetHeight(footer->Height());
        FFooter->SetAdvDropDown(FAdvDropDown);
        FFooter->UpdateButtons();
        FFooter->SetAlign(alBottom);
    }
    if (FFooter) {
        FFooter->OnDrawBackGround = FAdvDropDown->OnDrawFooter;
        FFooter->OnGetText = FAdvDropDown->OnGetFooterText;
    }
}

void TDropDownForm::WMActivate(bool Active, TWinControl* Other) {
    if (FBlockActivate) return;
    if (Active) {
        // The form that holds the drop-down keeps its active caption.
        if (FAdvDropDown) {
            TWinControl* top = FAdvDropDown;
            while (top->Parent()) top = top->Parent();
            if (top->HandleAllocated()) top->Perform(WM_NCACTIVATE, 1, 0);
        }
        return;
    }
    if (!Visible()) return;
    FDeActivate = DropDownTickCount();
    // A window that belongs to the popup (a nested popup of its control) keeps it open. A
    // top-level window's parent is its owner's window.
    for (TWinControl* w = Other; w;) {
        TWinControl* up = w->Parent();
        if (!up) up = dynamic_cast<TWinControl*>(w->Owner());
        if (up == this) return;
        w = up;
    }
    if (FAdvDropDown)
        FAdvDropDown->DoHideDropDown(FCancelOnDeActivate);
    else
        Hide();
}

void TDropDownForm::Dispatch(TMessage& Message) {
    switch (Message.Msg) {
        case CM_ACTIVATE:
            TForm::Dispatch(Message);
            WMActivate(true, nullptr);
            break;
        case CM_DEACTIVATE:
            // The screen names the form that takes the activation before the old one hears
            // that it lost it.
            TForm::Dispatch(Message);
            WMActivate(false, Screen ? Screen->ActiveForm() : nullptr);
            break;
        case WM_SIZE:
            TForm::Dispatch(Message);
            if (FBackground) {
                FBackground->SetBounds(0, 0, ClientWidth(), ClientHeight());
                FBackground->Invalidate();
            }
            break;
        case WM_SIZING:
            TForm::Dispatch(Message);
            if (Assigned(OnSizing)) OnSizing(this);
            break;
        case WM_NCHITTEST: {
            const TPoint p = ScreenToClient(LParamToPoint(Message.LParam));
            Message.Result = HTNOWHERE;
            if (FSizeable && p.X > Width() - 10 && p.Y > Height() - 10) Message.Result = HTBOTTOMRIGHT;
            break;
        }
        case WM_GETDLGCODE: Message.Result = DLGC_WANTARROWS | DLGC_WANTALLKEYS; break;
        default: TForm::Dispatch(Message); break;
    }
}

// =============================================================================================
// TAdvDropDownSpeedButton

TAdvDropDownSpeedButton::TAdvDropDownSpeedButton(TComponent* AOwner)
    : TSpeedButton(AOwner), FIsWinXP(ComCtl6()) {}

void TAdvDropDownSpeedButton::SetButtonStyle(TButtonStyle Value) {
    FButtonStyle = Value;
    Invalidate();
}

void TAdvDropDownSpeedButton::SetEtched(bool Value) {
    if (Value == FEtched) return;
    FEtched = Value;
    Invalidate();
}

void TAdvDropDownSpeedButton::SetFocused(bool Value) {
    if (Value == FFocused) return;
    FFocused = Value;
    Invalidate();
}

bool TAdvDropDownSpeedButton::IsThemed() const {
    return FIsWinXP && AdvXPVS.IsThemeActive && AdvXPVS.IsThemeActive();
}

void TAdvDropDownSpeedButton::Dispatch(TMessage& Message) {
    TSpeedButton::Dispatch(Message);
    if (Message.Msg == CM_MOUSEENTER || Message.Msg == CM_MOUSELEAVE) {
        FHot = Message.Msg == CM_MOUSEENTER;
        Invalidate();
    }
}

void TAdvDropDownSpeedButton::Paint() {
    if (FButtonStyle == bsButton)
        PaintButton();
    else
        PaintDropDown();
}

void TAdvDropDownSpeedButton::PaintDropDown() {
    auto* host = dynamic_cast<TDropDownEditButton*>(Owner());
    auto* dd = host ? dynamic_cast<TAdvCustomDropDown*>(host->Owner()) : nullptr;
    TCanvas* C = Canvas();
    const TRect client(0, 0, Width(), Height());
    if (host && host->ButtonColor != clNone) {
        TColor fill = host->ButtonColor;
        TColor arrow = host->ButtonTextColor;
        if (FHot) {
            fill = host->ButtonColorHot;
            arrow = host->ButtonTextColorHot;
        }
        if (Pressed()) {
            fill = host->ButtonColorDown;
            arrow = host->ButtonTextColorDown;
        }
        DrawColorDropButton(C, client, fill, dd ? dd->BorderColor() : TColor(clNone), arrow, 5);
        return;
    }
    if (!Glyph()->Empty()) {
        C->Brush()->SetStyle(bsSolid);
        C->Brush()->SetColor(clBtnFace);
        C->Pen()->SetStyle(psSolid);
        C->Pen()->SetColor(clGray);
        C->Rectangle(client);
        TBitmap glyph;
        glyph.Assign(Glyph());
        glyph.SetTransparent(true);
        C->Draw(0, 0, &glyph);
        return;
    }
    if (dd) {
        const bool enabled = dd->Enabled() && !dd->ReadOnly();
        if (Enabled() != enabled) SetEnabled(enabled);
    }
    if (IsThemed()) {
        TRect r = client;
        if (IsVistaOrLater()) {
            r.Left += 1;
        } else {
            r = TRect(r.Left - 1, r.Top - 1, r.Right + 1, r.Bottom + 1);
            r.Left += 2;
        }
        const int state = !Enabled()  ? CBXS_DISABLED
                          : Pressed() ? CBXS_PRESSED
                          : FHot      ? CBXS_HOT
                                      : CBXS_NORMAL;
        HWND window = Parent() && Parent()->HandleAllocated() ? Parent()->Handle() : 0;
        if (DrawThemedPart(C, window, u"combobox", CP_DROPDOWNBUTTON, state, r)) return;
    }
    TSpeedButton::Paint();
    C->Pen()->SetStyle(psSolid);
    C->Pen()->SetWidth(1);
    C->Pen()->SetColor(clBtnFace);
    C->MoveTo(Width() - 2, 0);
    C->LineTo(0, 0);
    C->LineTo(0, Height() - 1);
    C->Pen()->SetColor(clWhite);
    C->MoveTo(Width() - 3, 1);
    C->LineTo(1, 1);
    C->LineTo(1, Height() - 2);
    C->Brush()->SetStyle(bsSolid);
    C->Brush()->SetColor(clBlack);
    C->Pen()->SetColor(clBlack);
    C->Polygon({TPoint(5, 7), TPoint(11, 7), TPoint(8, 10)});
}

void TAdvDropDownSpeedButton::PaintButton() {
    auto* host = dynamic_cast<TDropDownEditButton*>(Owner());
    auto* dd = host ? dynamic_cast<TAdvCustomDropDown*>(host->Owner()) : nullptr;
    TCanvas* C = Canvas();
    if (dd) C->Font()->Assign(dd->Font());
    const TRect bounds(0, 0, Width(), Height());
    const bool down = FState == bsDown || FState == bsExclusive;
    const bool hasGlyph = !Glyph()->Empty();
    const bool hasCaption = !Caption().isEmpty();
    auto drawGlyph = [&](int X, int Y) {
        TBitmap glyph;
        glyph.Assign(Glyph());
        glyph.SetTransparent(true);
        C->Draw(X, Y, &glyph);
    };
    if (IsThemed()) {
        C->FillRect(bounds);
        const int state = !Enabled() ? PBS_DISABLED : Pressed() ? PBS_PRESSED : FHot ? PBS_HOT : PBS_NORMAL;
        HWND window = Parent() && Parent()->HandleAllocated() ? Parent()->Handle() : 0;
        DrawThemedPart(C, window, u"button", BP_PUSHBUTTON, state, TRect(0, 0, Width() + 1, Height() + 1));
        TRect r = bounds;
        if (hasGlyph) {
            r = TRect(r.Left + 2, r.Top + 2, r.Right - 2, r.Bottom - 2);
            if (hasCaption)
                r.Left += 2;
            else if (Glyph()->Width() < r.Width())
                r.Left += (r.Width() - Glyph()->Width()) / 2;
            if (Glyph()->Height() < r.Height()) r.Top += (r.Height() - Glyph()->Height()) / 2;
            if (down) r = TRect(r.Left + 1, r.Top + 1, r.Right + 1, r.Bottom + 1);
            drawGlyph(r.Left, r.Top);
        }
        if (hasCaption) {
            C->Brush()->SetStyle(bsClear);
            if (!hasGlyph) {
                TRect t(r.Left + 3, r.Top + 1, r.Right - 3, r.Bottom - 1);
                if (down) t = TRect(t.Left + 1, t.Top + 1, t.Right + 1, t.Bottom + 1);
                DrawText(C, Caption(), t, DT_CENTER);
            } else {
                TRect t(r.Left + Glyph()->Width() + 2, r.Top - 1, r.Right, r.Bottom);
                DrawText(C, Caption(), t, DT_LEFT);
            }
        }
        return;
    }
    if (Flat()) {
        C->FillRect(bounds);
        C->Brush()->SetColor(clBtnFace);
        C->FillRect(bounds);
        TRect edge(0, 0, Width() + 1, Height() + 1);
        DrawEdge(C, edge, FEtched ? EDGE_ETCHED : EDGE_RAISED, BF_RECT | (down ? BF_FLAT : 0));
        const int shift = down ? 1 : 0;
        if (hasGlyph) drawGlyph(3 + shift, 3 + shift);
        if (hasCaption) {
            C->Brush()->SetStyle(bsClear);
            TRect t(3 + shift, 1 + shift, Width() - 3 + shift, Height() - 1 + shift);
            DrawText(C, Caption(), t, DT_CENTER);
        }
        return;
    }
    TSpeedButton::Paint();
}

// =============================================================================================
// TDropDownEditButton

TDropDownEditButton::TDropDownEditButton(TComponent* AOwner) : TWinControl(AOwner) {
    TControlStyle style = ControlStyle();
    style.erase(csAcceptsControls);
    style.erase(csSetCaption);
    style.insert(csOpaque);
    SetControlStyle(style);
    CreateButton();
    FButton->SetButtonStyle(bsDropDown);
    TWinControl::SetBounds(Left(), Top(), 16, 25);
    FBWidth = 16;
    KeepWidth();
}

void TDropDownEditButton::CreateButton() {
    FButton = new TAdvDropDownSpeedButton(this);
    FButton->SetParent(this);
    FButton->OnClick = [](TObject*) {};
    FButton->OnMouseUp = [this](TObject* Sender, TMouseButton Button, TShiftState, int, int) {
        ButtonMouseUp(Sender, Button);
    };
    FButton->SetVisible(true);
    FButton->SetEnabled(Enabled());
    FButton->SetText(String());
}

void TDropDownEditButton::SetFixedWidth(int Value) {
    FBWidth = Value;
    SetWidth(Value);
}

void TDropDownEditButton::AdjustButtonSize(int& W, int& H) {
    if (!FButton || (HasState(csLoading) && !HasState(csDesigning))) return;
    W = FBWidth;
    FButton->SetBounds(0, 0, FBWidth, H);
}

void TDropDownEditButton::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
    AdjustButtonSize(AWidth, AHeight);
    TWinControl::SetBounds(ALeft, ATop, AWidth, AHeight);
}

void TDropDownEditButton::KeepWidth() {
    int w = Width(), h = Height();
    AdjustButtonSize(w, h);
    if (w != Width() || h != Height()) TWinControl::SetBounds(Left(), Top(), w, h);
}

void TDropDownEditButton::Loaded() {
    TWinControl::Loaded();
    KeepWidth();
}

void TDropDownEditButton::SetFocusControl(TWinControl* Value) {
    FFocusControl = Value;
    if (Value) Value->FreeNotification(this);
}

void TDropDownEditButton::Notification(TComponent* AComponent, TOperation Operation) {
    TWinControl::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == FFocusControl) FFocusControl = nullptr;
}

void TDropDownEditButton::ButtonMouseUp(TObject* Sender, TMouseButton Button) {
    if (Button == mbLeft && Assigned(OnClick) && Sender == FButton) OnClick(this);
}

void TDropDownEditButton::Dispatch(TMessage& Message) {
    switch (Message.Msg) {
        case WM_SIZE:
            TWinControl::Dispatch(Message);
            KeepWidth();
            Message.Result = 0;
            break;
        case CM_ENABLEDCHANGED:
            TWinControl::Dispatch(Message);
            if (!HasState(csDesigning) && FButton) FButton->SetEnabled(Enabled());
            break;
        default: TWinControl::Dispatch(Message); break;
    }
}
