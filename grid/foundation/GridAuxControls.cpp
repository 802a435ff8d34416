#include "GridAuxControls.h"

#include "AdvStyleIF.h"
#include "AdvXPVS.h"
#include "CellDraw.h"
#include "Menus.h"
#include "OSInfo.h"
#include "SysUtils.h"

#include <QImage>

#include <algorithm>

namespace {

TRect Inflated(const TRect& R, int D) {
    return TRect(R.Left - D, R.Top - D, R.Right + D, R.Bottom + D);
}

// The button's gradient: 16 bands from top to bottom, band i in From + round(i * (To - From) / 16)
// per channel, each one pixel taller than its share; To clNone is a plain fill in From. A Frame
// other than clNone outlines the whole rectangle afterwards.
void ButtonGradient(TCanvas* Canvas, TColor From, TColor To, TColor Frame, const TRect& R) {
    if (R.IsEmpty()) return;
    Canvas->Brush()->SetStyle(bsSolid);
    if (To == clNone) {
        Canvas->Brush()->SetColor(From);
        Canvas->FillRect(R);
    } else {
        const TColor f = ColorToRGB(From), t = ColorToRGB(To);
        const int h = R.Height();
        for (int i = 0; i < 16; ++i) {
            auto channel = [i](int a, int b) { return a + int(Round(double(i) * (b - a) / 16.0)); };
            Canvas->Brush()->SetColor(RGB(channel(GetRValue(f), GetRValue(t)),
                                          channel(GetGValue(f), GetGValue(t)),
                                          channel(GetBValue(f), GetBValue(t))));
            const int top = R.Top + i * h / 16;
            const int bottom = std::min(R.Bottom, R.Top + (i + 1) * h / 16 + 1);
            if (bottom > top) Canvas->FillRect(TRect(R.Left, top, R.Right, bottom));
        }
    }
    if (Frame != clNone) {
        Canvas->Brush()->SetColor(Frame);
        Canvas->FrameRect(R);
    }
}

// A rounded outline with 8 x 8 corners around R grown by 1.
void RoundOutline(TCanvas* Canvas, TColor Color, const TRect& R) {
    Canvas->Pen()->SetStyle(psSolid);
    Canvas->Pen()->SetWidth(1);
    Canvas->Pen()->SetColor(Color);
    Canvas->Brush()->SetStyle(bsClear);
    Canvas->RoundRect(Inflated(R, 1), 8, 8);
    Canvas->Brush()->SetStyle(bsSolid);
}

// The colour scheme of the active visual style as the binding reports it: 1 "NormalColor",
// 2 "HomeStead", 3 "Metallic", else (also without an active style) 0.
int VisualStyleScheme() {
    if (!IsWindowsXPOrLater() || !AdvXPVS.IsThemeActive || !AdvXPVS.IsThemeActive()) return 0;
    if (!AdvXPVS.GetCurrentThemeName) return 0;
    char16_t file[255] = {}, color[255] = {}, size[255] = {};
    if (!Succeeded(AdvXPVS.GetCurrentThemeName(file, 255, color, 255, size, 255))) return 0;
    const String name = QString::fromUtf16(color);
    if (name == QLatin1String("NormalColor")) return 1;
    if (name == QLatin1String("HomeStead")) return 2;
    if (name == QLatin1String("Metallic")) return 3;
    return 0;
}

bool ThemesActive() {
    return IsWindowsXPOrLater() && ThemedDrawingAvailable();
}

// Draws Bitmap at (X, Y) leaving out its transparent colour.
void DrawTransparent(TCanvas* Canvas, TBitmap* Bitmap, int X, int Y) {
    if (!Bitmap || Bitmap->Empty()) return;
    CanvasBlit(Canvas, Bounds(X, Y, Bitmap->Width(), Bitmap->Height()), Bitmap->Image(), true,
               Bitmap->TransparentColor(), false);
}

} // namespace

// =============================================================================================
// TAdvGridButtonActionLink

TAdvGridButtonActionLink::TAdvGridButtonActionLink(TAdvGridButton* AClient)
    : TControlActionLink(AClient), FClient(AClient) {}

bool TAdvGridButtonActionLink::IsCheckedLinked() const {
    auto* a = dynamic_cast<TCustomAction*>(FAction);
    return TControlActionLink::IsCheckedLinked() && a && FClient->GroupIndex() != 0 &&
           FClient->AllowAllUp() && FClient->Down() == a->Checked();
}

bool TAdvGridButtonActionLink::IsGroupIndexLinked() const {
    auto* a = dynamic_cast<TCustomAction*>(FAction);
    return a && FClient->GroupIndex() == a->GroupIndex();
}

void TAdvGridButtonActionLink::SetChecked(bool Value) {
    if (IsCheckedLinked()) FClient->SetDown(Value);
}

void TAdvGridButtonActionLink::SetGroupIndex(int Value) {
    if (IsGroupIndexLinked()) FClient->SetGroupIndex(Value);
}

// =============================================================================================
// TAdvGridButton

TAdvGridButton::TAdvGridButton(TComponent* AOwner)
    : TGraphicControl(AOwner), FIsComCtl6(IsComCtl6OrLater()), FGlyph(new TBitmap),
      FGlyphDisabled(new TBitmap), FGlyphHot(new TBitmap), FGlyphDown(new TBitmap), FShadeGlyph(new TBitmap) {
    SetBounds(0, 0, 23, 22);
    SetControlStyle({csCaptureMouse, csDoubleClicks});
    SetColor(clBtnFace);
    SetParentColor(false);
    for (TBitmap* b : {FGlyph, FGlyphDisabled, FGlyphHot, FGlyphDown})
        b->OnChange = [this](TObject* Sender) { GlyphChanged(Sender); };
}

TAdvGridButton::~TAdvGridButton() {
    for (TBitmap* b : {FGlyph, FGlyphDisabled, FGlyphHot, FGlyphDown, FShadeGlyph}) TObject::Free(b);
}

void TAdvGridButton::GlyphChanged(TObject*) {
    Invalidate();
}

void TAdvGridButton::SetGlyph(TBitmap* Value) {
    FGlyph->Assign(Value);
    if (FGlyphDisabled->Empty() && !FGlyph->Empty()) {
        // The disabled glyph in grey: g = ((R + G + B) div 3) div 2 + 96 for every pixel.
        QImage img = FGlyph->Image();
        for (int y = 0; y < img.height(); ++y) {
            auto* line = reinterpret_cast<QRgb*>(img.scanLine(y));
            for (int x = 0; x < img.width(); ++x) {
                const int g = (qRed(line[x]) + qGreen(line[x]) + qBlue(line[x])) / 3 / 2 + 96;
                line[x] = qRgba(g, g, g, qAlpha(line[x]));
            }
        }
        FGlyphDisabled->SetImage(img);
    }
    if (FShaded && !HasState(csLoading)) BuildShadeGlyph();
    Invalidate();
}

// The glyph's silhouette in 0x808080 on the glyph's transparent colour.
void TAdvGridButton::BuildShadeGlyph() {
    if (FGlyph->Empty()) {
        FShadeGlyph->SetSize(0, 0);
        return;
    }
    const TColor key = ColorToRGB(FGlyph->TransparentColor());
    const QRgb keyRgb = qRgb(GetRValue(key), GetGValue(key), GetBValue(key));
    QImage img = FGlyph->Image();
    for (int y = 0; y < img.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(img.scanLine(y));
        for (int x = 0; x < img.width(); ++x)
            line[x] = (line[x] | 0xFF000000u) == keyRgb ? keyRgb : qRgb(0x80, 0x80, 0x80);
    }
    FShadeGlyph->SetImage(img);
}

void TAdvGridButton::SetShaded(bool Value) {
    FShaded = Value;
    if (Value && !HasState(csLoading)) BuildShadeGlyph();
}

void TAdvGridButton::Loaded() {
    TGraphicControl::Loaded();
    if (FShaded) BuildShadeGlyph();
    if (FAutoThemeAdapt) ThemeAdapt();
}

void TAdvGridButton::SetFlat(bool Value) {
    if (FFlat == Value) return;
    FFlat = Value;
    Invalidate();
}

void TAdvGridButton::SetLayout(TButtonLayout Value) {
    if (FLayout == Value) return;
    FLayout = Value;
    Invalidate();
}

void TAdvGridButton::SetMargin(int Value) {
    if (FMargin == Value || Value < -1) return;
    FMargin = Value;
    Invalidate();
}

void TAdvGridButton::SetSpacing(int Value) {
    FSpacing = Value;
    Invalidate();
}

void TAdvGridButton::SetShowCaption(bool Value) {
    if (FShowCaption == Value) return;
    FShowCaption = Value;
    Invalidate();
}

void TAdvGridButton::SetColorTo(TColor Value) {
    FColorTo = Value;
    Invalidate();
}

void TAdvGridButton::SetColorChecked(TColor Value) {
    FColorChecked = Value;
    Invalidate();
}

void TAdvGridButton::SetColorCheckedTo(TColor Value) {
    FColorCheckedTo = Value;
    Invalidate();
}

void TAdvGridButton::SetStyle(TAdvGridButtonStyle Value) {
    FStyle = Value;
    Invalidate();
}

void TAdvGridButton::SetRounded(bool Value) {
    FRounded = Value;
    Invalidate();
}

void TAdvGridButton::SetDropDownButton(bool Value) {
    FDropDownButton = Value;
    Invalidate();
}

void TAdvGridButton::SetBorderColor(TColor Value) {
    FBorderColor = Value;
    Invalidate();
}

void TAdvGridButton::SetDropDownMenu(TPopupMenu* Value) {
    FDropDownMenu = Value;
    if (Value) Value->FreeNotification(this);
}

void TAdvGridButton::Notification(TComponent* AComponent, TOperation Operation) {
    TGraphicControl::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == FDropDownMenu) FDropDownMenu = nullptr;
}

void TAdvGridButton::SetDown(bool Value) {
    if (FGroupIndex == 0 && FStyle == tasButton) Value = false;
    if (FStyle == tasCheck) {
        FDown = Value;
        Invalidate();
        return;
    }
    if (Value == FDown) return;
    if (FDown && !FAllowAllUp) return;
    FDown = Value;
    if (Value) {
        if (FState == bsUp) Invalidate();
        FState = bsExclusive;
        UpdateExclusive();
    } else {
        FState = bsUp;
        Invalidate();
    }
}

void TAdvGridButton::SetGroupIndex(int Value) {
    if (FGroupIndex == Value) return;
    FGroupIndex = Value;
    UpdateExclusive();
}

void TAdvGridButton::SetAllowAllUp(bool Value) {
    if (FAllowAllUp == Value) return;
    FAllowAllUp = Value;
    UpdateExclusive();
}

void TAdvGridButton::UpdateExclusive() {
    if (FGroupIndex == 0 || !Parent()) return;
    TMessage m(CM_BUTTONPRESSED, WPARAM(FGroupIndex), LPARAM(this));
    Parent()->Broadcast(m);
}

void TAdvGridButton::CMButtonPressed(TMessage& Message) {
    if (Message.WParam != WPARAM(FGroupIndex)) return;
    auto* sender = dynamic_cast<TAdvGridButton*>(reinterpret_cast<TObject*>(Message.LParam));
    if (!sender || sender == this) return;
    if (sender->Down() && FDown) {
        FDown = false;
        FState = bsUp;
        if (auto* a = dynamic_cast<TCustomAction*>(Action())) a->SetChecked(false);
        Invalidate();
    }
    FAllowAllUp = sender->AllowAllUp();
}

void TAdvGridButton::SetAutoThemeAdapt(bool Value) {
    FAutoThemeAdapt = Value;
    if (Value) ThemeAdapt();
}

void TAdvGridButton::ThemeAdapt() {
    switch (VisualStyleScheme()) {
        case 1: SetLook(2); break;
        case 2: SetLook(3); break;
        case 3: SetLook(4); break;
        default: SetLook(1); break;
    }
}

void TAdvGridButton::SetLook(int Value) {
    struct TPreset {
        TColor Color, ColorTo, Hot, HotTo, Down, DownTo, Checked, CheckedTo, BorderDown, BorderHot;
        bool Rounded;
    };
    static const TPreset presets[] = {
        {0xEDF1F1, 0xDFEBEB, 0xFAFCFC, 0xE5ECED, 0xE0E6E7, 0xD8E0E1, 0xFFFFFF, clNone, 0xAF987A, 0xC3CECE,
         true},
        {clBtnFace, clNone, 0xEED2C1, clNone, 0xE2B598, clNone, 0xE8E6E1, clNone, 0xC56A31, 0xC56A31, false},
        {0xFDEADA, 0xE4AE88, 0xCCF4FF, 0x91D0FF, 0x4E91FE, 0x8ED3FF, 0x8ED3FF, 0x55ADFF, 0, 0, false},
        {0xCFF0EA, 0x8CC0B1, 0xCCF4FF, 0x91D0FF, 0x4E91FE, 0x8ED3FF, 0x8ED3FF, 0x55ADFF, 0, 0, false},
        {0xECE2E1, 0xB39698, 0xCCF4FF, 0x91D0FF, 0x4E91FE, 0x8ED3FF, 0x8ED3FF, 0x55ADFF, 0, 0, false},
        {clBtnFace, clNone, clBtnFace, clNone, 0xD8D3D2, clNone, 0xCAC7C7, clNone, clNone, clNone, false},
        {0xCAFFFF, 0xA6FFFF, 0xA8F0FD, 0x7CE9FC, 0x4DE0FB, 0x7AE9FC, 0xB5E6F2, 0x9CDDED, 0x808080, 0x808080,
         false},
    };
    if (Value < 0 || Value > 6) return;
    FLook = Value;
    const TPreset& p = presets[Value];
    SetColor(p.Color);
    FColorTo = p.ColorTo;
    FColorHot = p.Hot;
    FColorHotTo = p.HotTo;
    FColorDown = p.Down;
    FColorDownTo = p.DownTo;
    FColorChecked = p.Checked;
    FColorCheckedTo = p.CheckedTo;
    FBorderDownColor = p.BorderDown;
    FBorderHotColor = p.BorderHot;
    FRounded = p.Rounded;
    FBorderColor = clNone;
    FFlat = true;
    Invalidate();
}

TControlActionLink* TAdvGridButton::CreateActionLink() {
    return new TAdvGridButtonActionLink(this);
}

void TAdvGridButton::ActionChange(TObject* Sender, bool CheckDefaults) {
    TGraphicControl::ActionChange(Sender, CheckDefaults);
    auto* a = dynamic_cast<TCustomAction*>(Sender);
    if (!a) return;
    if (!CheckDefaults || FGroupIndex == 0) SetGroupIndex(a->GroupIndex());
    if (!CheckDefaults || !FDown) SetDown(a->Checked());
}

// ---- Mouse ----

void TAdvGridButton::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
    TGraphicControl::MouseDown(Button, Shift, X, Y);
    if (Button != mbLeft || !Enabled()) return;
    if (FDropDownButton && X >= Width() - 12) {
        // The drop-down zone: the menu opens under the button, the button itself is not pressed.
        FState = bsUp;
        Invalidate();
        if (Assigned(OnDropDown)) OnDropDown(this);
        if (FDropDownMenu) {
            const TPoint p = ClientToScreen(TPoint(0, Height()));
            FDropDownMenu->SetPopupComponent(this);
            FDropDownMenu->Popup(p.X, p.Y);
        }
        return;
    }
    if (!FDown) {
        FState = bsDown;
        Invalidate();
    }
    if (FStyle == tasCheck) {
        FState = bsDown;
        Repaint();
    }
    FDragging = true;
}

void TAdvGridButton::MouseMove(TShiftState Shift, int X, int Y) {
    TGraphicControl::MouseMove(Shift, X, Y);
    if (FDragging) {
        TButtonState state = FDown ? bsExclusive : bsUp;
        if (X >= 0 && X < ClientWidth() && Y >= 0 && Y <= ClientHeight())
            state = FDown ? bsExclusive : bsDown;
        if (FStyle == tasCheck && FDown) state = bsDown;
        if (state != FState) {
            FState = state;
            Invalidate();
        }
    } else if (!FMouseInControl) {
        UpdateTracking();
    }
}

void TAdvGridButton::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
    TGraphicControl::MouseUp(Button, Shift, X, Y);
    if (!FDragging) return;
    FDragging = false;
    const bool inside = X >= 0 && X < ClientWidth() && Y >= 0 && Y <= ClientHeight();
    if (FGroupIndex == 0) {
        FState = bsUp;
        if (FStyle == tasCheck) FDown = !FDown;
        if (inside && !FDown) Invalidate();
        if (FStyle == tasCheck) Invalidate();
    } else if (inside) {
        SetDown(!FDown);
        if (FDown) Repaint();
    } else {
        if (FDown) FState = bsExclusive;
        Repaint();
    }
    if (inside) Click();
    UpdateTracking();
}

void TAdvGridButton::WMLButtonDblClk(TWMMouse& Message) {
    TGraphicControl::Dispatch(Message);
    if (FDown) DblClick();
}

void TAdvGridButton::UpdateTracking() {
    if (!FFlat || !Enabled()) return;
    const bool over = FindDragTarget(Mouse->CursorPos(), true) == this;
    if (over == FMouseInControl) return;
    Perform(over ? CM_MOUSEENTER : CM_MOUSELEAVE);
}

void TAdvGridButton::CMMouseEnter(TMessage&) {
    if (!Enabled() || DragMode() == dmAutomatic || GetCapture() != 0) return;
    FMouseInControl = true;
    Repaint();
    if (Assigned(OnMouseEnter)) OnMouseEnter(this);
}

void TAdvGridButton::CMMouseLeave(TMessage&) {
    if (!Enabled() || FDragging) return;
    FMouseInControl = false;
    Repaint();
    if (Assigned(OnMouseLeave)) OnMouseLeave(this);
}

void TAdvGridButton::CMEnabledChanged(TMessage&) {
    UpdateTracking();
    Repaint();
}

void TAdvGridButton::CMDialogChar(TCMDialogChar& Message) {
    if (IsAccel(Message.CharCode, Caption()) && Enabled() && Visible() && Parent() && Parent()->Showing()) {
        Click();
        Message.Result = 1;
    } else {
        TGraphicControl::Dispatch(Message);
    }
}

void TAdvGridButton::Dispatch(TMessage& Message) {
    switch (Message.Msg) {
        case CM_BUTTONPRESSED: CMButtonPressed(Message); break;
        case CM_DIALOGCHAR: CallHandler<TCMDialogChar>(this, &TAdvGridButton::CMDialogChar, Message); break;
        case CM_ENABLEDCHANGED: CMEnabledChanged(Message); break;
        case CM_MOUSEENTER: CMMouseEnter(Message); break;
        case CM_MOUSELEAVE: CMMouseLeave(Message); break;
        case WM_LBUTTONDBLCLK: CallHandler<TWMMouse>(this, &TAdvGridButton::WMLButtonDblClk, Message); break;
        case CM_FONTCHANGED:
        case CM_TEXTCHANGED:
        case CM_SYSCOLORCHANGE: Invalidate(); break;
        case WM_THEMECHANGED:
        case CM_SYSFONTCHANGED:
            if (FAutoThemeAdapt) ThemeAdapt();
            TGraphicControl::Dispatch(Message);
            break;
        default: TGraphicControl::Dispatch(Message);
    }
}

// ---- Painting ----

void TAdvGridButton::Paint() {
    if (!Enabled()) {
        FState = bsDisabled;
        FDragging = false;
    } else if (FState == bsDisabled) {
        FState = FDown && FGroupIndex != 0 ? bsExclusive : bsUp;
    }
    if (FStyle == tasCheck && FDown) FState = bsDown;
    TCanvas* C = Canvas();
    C->Font()->Assign(Font());
    const bool hot = FMouseInControl && Enabled() && !HasState(csDesigning);
    TRect R = ClientRect();
    PaintFace(R, hot);
    if (FState == bsExclusive && (!FFlat || !hot))
        ButtonGradient(C, FColorChecked, FColorCheckedTo, clNone, Inflated(R, 1));
    if (FDropDownButton) {
        const int right = ClientWidth(), mid = ClientHeight() / 2;
        C->Pen()->SetStyle(psSolid);
        C->Pen()->SetWidth(1);
        C->Pen()->SetColor(Font()->Color());
        C->Brush()->SetStyle(bsSolid);
        C->Brush()->SetColor(Font()->Color());
        C->Polygon({{right - 8, mid}, {right - 4, mid}, {right - 6, mid + 2}});
        R.Right = ClientWidth() - 12;
    }
    PaintContent(R, hot);
}

void TAdvGridButton::PaintFace(TRect& R, bool Hot) {
    TCanvas* C = Canvas();
    const bool down = FState == bsDown || FState == bsExclusive;
    if (!FFlat) {
        if (FAutoXPStyle && IsWindowsXPOrLater() && FIsComCtl6 && ThemesActive()) {
            const int state = down ? PBS_PRESSED : Hot ? PBS_HOT : PBS_NORMAL;
            const HWND h = Parent() ? Parent()->Handle() : 0;
            if (DrawThemed(C, h, u"button", BP_PUSHBUTTON, state, R)) return;
        }
        TRect face = R;
        DrawFrameControl(C, face, DFC_BUTTON, DFCS_BUTTONPUSH | (down ? DFCS_PUSHED : 0));
        R = Inflated(R, -2);
        return;
    }
    if (FBorderDownColor == clNone || FRounded) R = Inflated(R, -1);
    if (!Hot) {
        if (FStyle == tasCheck && FDown) {
            ButtonGradient(C, FColorChecked, FColorCheckedTo, clNone, R);
        } else {
            const TColor frame = FRounded ? clNone : FDown ? FBorderDownColor : FBorderColor;
            ButtonGradient(C, Color(), FColorTo, frame, R);
        }
        if (FBorderColor != clNone) {
            if (FRounded) {
                RoundOutline(C, FBorderColor, R);
            } else {
                C->Brush()->SetColor(FBorderColor);
                C->FrameRect(R);
            }
        }
    } else {
        TColor border;
        if (FStyle == tasCheck && FDown && !FDragging) {
            border = FBorderDownColor;
            ButtonGradient(C, FColorChecked, FColorCheckedTo, FRounded ? clNone : border, R);
        } else if (down) {
            border = FBorderDownColor;
            ButtonGradient(C, FColorDown, FColorDownTo, FRounded ? clNone : border, R);
        } else {
            border = FBorderHotColor;
            ButtonGradient(C, FColorHot, FColorHotTo, FRounded ? clNone : border, R);
        }
        if (FRounded && border != clNone) RoundOutline(C, border, R);
        if (FDropDownButton && border != clNone) {
            C->Pen()->SetStyle(psSolid);
            C->Pen()->SetWidth(1);
            C->Pen()->SetColor(border);
            C->MoveTo(R.Right - 12, R.Top);
            C->LineTo(R.Right - 12, R.Bottom);
        }
    }
    R = Inflated(R, -1);
}

void TAdvGridButton::PaintContent(const TRect& R, bool Hot) {
    TCanvas* C = Canvas();
    const bool down = FState == bsDown || FState == bsExclusive;
    TBitmap* glyph = nullptr;
    auto pick = [&glyph](TBitmap* B) {
        if (!glyph && B && !B->Empty()) glyph = B;
    };
    if (FMouseInControl) {
        if (down) pick(FGlyphDown);
        if (!HasState(csDesigning)) pick(FGlyphHot);
    } else if (down) {
        pick(FGlyphDown);
    }
    pick(FGlyph);
    if (!Enabled() && !FGlyphDisabled->Empty()) glyph = FGlyphDisabled;

    const String caption = Caption();
    const bool shade = Hot && FShaded && Enabled() && !down;
    TPoint offset;
    if (!FFlat && down) offset = TPoint(1, 1);
    if (FFlat && shade) offset = TPoint(-1, -1);

    const TSize glyphSize = glyph ? TSize{glyph->Width(), glyph->Height()} : TSize{};
    TSize textSize;
    if (!caption.isEmpty()) {
        TRect m(0, 0, R.Width(), 0);
        DrawText(C, caption, m, DT_CALCRECT);
        textSize = TSize{m.Width(), m.Height()};
    }
    const TRect client(R.Left + offset.X, R.Top + offset.Y, R.Right + offset.X, R.Bottom + offset.Y);
    const TButtonContentPlacement place =
        CalcButtonLayout(client, glyphSize, textSize, FLayout, FMargin, FSpacing, UseRightToLeftReading());
    const TPoint glyphPos = caption.isEmpty() ? TPoint(0, 0) : place.GlyphPos;
    if (glyph) {
        if (shade && !FShadeGlyph->Empty()) {
            const TPoint at = caption.isEmpty() ? glyphPos : TPoint(glyphPos.X + 2, glyphPos.Y + 2);
            DrawTransparent(C, FShadeGlyph, at.X, at.Y);
        }
        DrawTransparent(C, glyph, glyphPos.X, glyphPos.Y);
    }
    if (!FShowCaption || caption.isEmpty()) return;
    TRect text = place.TextBounds;
    if (FFlat && shade) text = TRect(text.Left + 1, text.Top + 1, text.Right + 1, text.Bottom + 1);
    C->Brush()->SetStyle(bsClear);
    C->SetBkMode(TRANSPARENT);
    const Cardinal flags = DT_CENTER | DT_VCENTER | DT_SINGLELINE;
    if (!Enabled()) {
        TRect shifted(text.Left + 1, text.Top + 1, text.Right + 1, text.Bottom + 1);
        C->Font()->SetColor(clBtnHighlight);
        DrawText(C, caption, shifted, flags);
        C->Font()->SetColor(clBtnShadow);
    }
    DrawText(C, caption, text, flags);
    C->Brush()->SetStyle(bsSolid);
}

// =============================================================================================
// TAdvCheckBox

TAdvCheckBox::TAdvCheckBox(TComponent* AOwner) : TCustomControl(AOwner), FIsWinXP(IsWindowsXPOrLater()) {
    SetBounds(Left(), Top(), 98, 20);
    TControlStyle style = ControlStyle();
    style.erase(csClickEvents);
    SetControlStyle(style);
}

TAdvCheckBox::~TAdvCheckBox() = default;

void TAdvCheckBox::SetChecked(bool Value) {
    SetState(Value ? cbChecked : cbUnchecked);
    Invalidate();
}

void TAdvCheckBox::SetState(TCheckBoxState Value) {
    if (FState == Value) return;
    FState = Value;
    if (HandleAllocated()) {
        const TRect strip = FAlignment == taRightJustify
                                ? TRect(ClientWidth() - 20, 0, ClientWidth(), ClientHeight())
                                : TRect(0, 0, 20, ClientHeight());
        InvalidateRect(Handle(), &strip, true);
    }
}

void TAdvCheckBox::Toggle() {
    if (!FReadOnly) SetChecked(!Checked());
}

void TAdvCheckBox::ToggleAndClick() {
    FClicksDisabled = true;
    try {
        Toggle();
    } catch (...) {
        FClicksDisabled = false;
        throw;
    }
    FClicksDisabled = false;
    Click();
}

void TAdvCheckBox::Click() {
    if (!FClicksDisabled) TCustomControl::Click();
}

void TAdvCheckBox::SetCaption(const String& Value) {
    TControl::SetCaption(Value);
    Invalidate();
}

void TAdvCheckBox::SetAlignment(TLeftRight Value) {
    if (FAlignment == Value) return;
    FAlignment = Value;
    Invalidate();
}

void TAdvCheckBox::SetButtonVertAlign(TTextLayout Value) {
    if (FButtonVertAlign == Value) return;
    FButtonVertAlign = Value;
    Invalidate();
}

void TAdvCheckBox::SetEllipsis(bool Value) {
    if (FEllipsis == Value) return;
    FEllipsis = Value;
    Invalidate();
}

void TAdvCheckBox::SetTransparent(bool Value) {
    FTransparent = Value;
    Invalidate();
}

void TAdvCheckBox::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
    TCustomControl::SetBounds(ALeft, ATop, AWidth, AHeight);
    if (FTransparent) Invalidate();
}

void TAdvCheckBox::InvalidateBox() {
    if (!HandleAllocated()) return;
    const TRect box =
        FAlignment == taRightJustify ? TRect(ClientWidth() - 16, 0, ClientWidth(), 16) : TRect(0, 0, 16, 16);
    InvalidateRect(Handle(), &box, true);
}

TRect TAdvCheckBox::CaptionRect() const {
    TRect r = ClientRect();
    if (FAlignment == taRightJustify) {
        r.Right -= 9;
        r.Left = 0;
    } else {
        r.Left += 9;
    }
    return TRect(r.Left + 6, r.Top + 4, r.Right + 6, r.Bottom + 4);
}

void TAdvCheckBox::Paint() {
    TCanvas* C = Canvas();
    if (FTransparent) {
        // The parent shows through the pixels left see-through.
        ClearToTransparent();
    } else {
        C->Brush()->SetStyle(bsSolid);
        C->Brush()->SetColor(Color());
        C->FillRect(ClientRect());
    }
    const int w = ClientWidth(), h = ClientHeight();
    bool drawn = false;
    if (FIsWinXP && ThemesActive() && IsComCtl6OrLater()) {
        const int top = FButtonVertAlign == tlTop ? 4 : FButtonVertAlign == tlCenter ? h / 2 - 6 : h - 14;
        const TRect box = Bounds(FAlignment == taRightJustify ? w - 15 : 0, top, 14, 14);
        const int base = FState == cbChecked  ? CBS_CHECKEDNORMAL
                         : FState == cbGrayed ? CBS_MIXEDNORMAL
                                              : CBS_UNCHECKEDNORMAL;
        const int step = !Enabled() ? 3 : FDown ? 2 : FHot ? 1 : 0;
        drawn = DrawThemed(C, Handle(), u"button", BP_CHECKBOX, base + step, box);
    }
    if (!drawn) {
        const int top = FButtonVertAlign == tlTop ? 4 : FButtonVertAlign == tlCenter ? h / 2 - 6 : h - 17;
        TRect box = Bounds(FAlignment == taRightJustify ? w - 13 : 0, top, 13, 13);
        Cardinal flags = DFCS_BUTTONCHECK;
        if (FState == cbChecked) flags |= DFCS_CHECKED;
        if (FState == cbGrayed || !Enabled()) flags |= DFCS_INACTIVE;
        DrawFrameControl(C, box, DFC_BUTTON, flags);
    }

    TRect r = CaptionRect();
    C->Font()->Assign(Font());
    C->Brush()->SetStyle(bsClear);
    C->SetBkMode(TRANSPARENT);
    const String caption = Caption();
    Cardinal flags = DT_LEFT | DT_SINGLELINE;
    if (FEllipsis) flags |= DT_END_ELLIPSIS;
    if (!Enabled()) {
        TRect shifted(r.Left + 1, r.Top + 1, r.Right + 1, r.Bottom + 1);
        C->Font()->SetColor(clWhite);
        DrawText(C, caption, shifted, flags);
        C->Font()->SetColor(0x808080);
    }
    DrawText(C, caption, r, flags);
    if (FFocused) {
        const int tw = C->TextWidth(StripHotkey(caption)), th = C->TextHeight(caption);
        C->Brush()->SetStyle(bsSolid);
        DrawFocusRect(C, TRect(r.Left - 2, r.Top, r.Left + tw + 1, r.Top + th + 1));
    }
    C->Brush()->SetStyle(bsSolid);
}

void TAdvCheckBox::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
    TCustomControl::MouseDown(Button, Shift, X, Y);
    FMouseDown = true;
    if (!Focused() && CanFocus()) SetFocus();
    SetMouseCapture(true);
    FDown = true;
    if (FIsWinXP) InvalidateBox();
}

void TAdvCheckBox::MouseMove(TShiftState Shift, int X, int Y) {
    TCustomControl::MouseMove(Shift, X, Y);
    if (MouseCapture()) FDown = X >= 0 && X <= Width() && Y >= 0 && Y <= Height();
}

void TAdvCheckBox::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
    SetMouseCapture(false);
    FDown = false;
    const bool pressedHere = FMouseDown;
    FMouseDown = false;
    if (X >= 0 && X <= Width() && Y >= 0 && Y <= Height() && Focused() && pressedHere) {
        ToggleAndClick();
    }
    InvalidateBox();
    TCustomControl::MouseUp(Button, Shift, X, Y);
}

void TAdvCheckBox::KeyDown(Word& Key, TShiftState Shift) {
    if (Key == VK_RETURN && FReturnIsTab) {
        // Enter moves on as Tab does: the Tab goes through the key pipeline, so the form moves the
        // focus to the next control.
        Key = VK_TAB;
        PostMessage(Handle(), CN_KEYDOWN, VK_TAB, 0);
    }
    if (Key == VK_SPACE) FDown = true;
    TCustomControl::KeyDown(Key, Shift);
}

void TAdvCheckBox::KeyUp(Word& Key, TShiftState Shift) {
    if (Key == VK_SPACE) {
        FDown = false;
        ToggleAndClick();
    }
    TCustomControl::KeyUp(Key, Shift);
}

void TAdvCheckBox::DoEnter() {
    FFocused = true;
    Invalidate();
    TCustomControl::DoEnter();
}

void TAdvCheckBox::DoExit() {
    FFocused = false;
    Invalidate();
    TCustomControl::DoExit();
}

void TAdvCheckBox::CMDialogChar(TCMDialogChar& Message) {
    if (IsAccel(Message.CharCode, Caption()) && CanFocus()) {
        Toggle();
        if (TabStop()) SetFocus();
        Message.Result = 1;
    } else {
        TCustomControl::Dispatch(Message);
    }
}

void TAdvCheckBox::CMMouseEnter(TMessage& Message) {
    FHot = true;
    InvalidateBox();
    TCustomControl::Dispatch(Message);
}

void TAdvCheckBox::CMMouseLeave(TMessage& Message) {
    FHot = false;
    InvalidateBox();
    TCustomControl::Dispatch(Message);
}

void TAdvCheckBox::WMEraseBkgnd(TMessage& Message) {
    if (FTransparent)
        Message.Result = 1;
    else
        TCustomControl::Dispatch(Message);
}

void TAdvCheckBox::Dispatch(TMessage& Message) {
    switch (Message.Msg) {
        case CM_DIALOGCHAR: CallHandler<TCMDialogChar>(this, &TAdvCheckBox::CMDialogChar, Message); break;
        case CM_MOUSEENTER: CMMouseEnter(Message); break;
        case CM_MOUSELEAVE: CMMouseLeave(Message); break;
        case WM_ERASEBKGND: WMEraseBkgnd(Message); break;
        default: TCustomControl::Dispatch(Message);
    }
}

// =============================================================================================
// TArrowWindow

TArrowWindow::TArrowWindow(TComponent* AOwner, TArrowDirection Direction)
    : TPanel(AOwner), FDir(Direction), FArrow(ArrowPoints(Direction)) {
    SetColor(clLime);
    SetParentColor(false);
    if (auto* parent = dynamic_cast<TWinControl*>(AOwner)) SetParent(parent);
    SetVisible(false);
}

std::vector<TPoint> TArrowWindow::ArrowPoints(TArrowDirection Direction) {
    switch (Direction) {
        case arrUp: return {{5, 0}, {10, 5}, {7, 5}, {7, 9}, {3, 9}, {3, 5}, {0, 5}};
        case arrDown: return {{3, 0}, {7, 0}, {7, 4}, {9, 4}, {5, 8}, {1, 4}, {3, 4}};
        case arrLeft: return {{0, 3}, {0, 7}, {4, 7}, {4, 10}, {8, 5}, {4, 0}, {4, 3}};
        case arrRight: return {{0, 5}, {4, 10}, {4, 7}, {8, 7}, {8, 3}, {4, 3}, {4, 0}};
    }
    return {};
}

void TArrowWindow::CreateParams(TCreateParams& Params) {
    TPanel::CreateParams(Params);
    Params.Style = WS_POPUP;
    Params.ExStyle = 0;
}

void TArrowWindow::CreateWnd() {
    TPanel::CreateWnd();
    SetWindowRgn(Handle(), CreatePolygonRgn(FArrow, WINDING), true);
}

void TArrowWindow::Paint() {
    TCanvas* C = Canvas();
    C->Brush()->SetStyle(bsSolid);
    C->Brush()->SetColor(Color());
    C->Pen()->SetStyle(psSolid);
    C->Pen()->SetColor(Color());
    C->Rectangle(ClientRect());
}

// =============================================================================================
// TGridFocusWindow

TGridFocusWindow::TGridFocusWindow(TComponent* AOwner) : TCustomControl(AOwner) {
    SetBounds(Left(), Top(), 0, 0);
    SetColor(clRed);
    SetParentColor(false);
}

void TGridFocusWindow::CreateParams(TCreateParams& Params) {
    TCustomControl::CreateParams(Params);
    Params.Style = WS_POPUP | WS_DISABLED;
    Params.ExStyle = WS_EX_TOOLWINDOW | WS_EX_TOPMOST;
}
