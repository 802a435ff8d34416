#include "AsgDateTimePicker.h"

#include "OSInfo.h"
#include "Themes.h"

namespace {
constexpr int AsgPickerVersion = 0x01000000;
} // namespace

TAsgDateTimePicker::TAsgDateTimePicker(TComponent* AOwner) : TDateTimePicker(AOwner) {
    FIsThemed = (GetFileVersion(QStringLiteral("COMCTL32.DLL")) >> 16) > 5;
    FButtonWidth = GetSystemMetrics(SM_CXVSCROLL) + 2;
    FIsWinXP = CheckWin32Version(5, 1);
    SetDoubleBuffered(true);
    SetParentCtl3D(false);
    SetCtl3D(true);
}

String TAsgDateTimePicker::Version() const {
    return VersionString(AsgPickerVersion);
}

void TAsgDateTimePicker::SetBorderStyle(TBorderStyle Value) {
    if (FBorderStyle == Value) return;
    FBorderStyle = Value;
    Invalidate();
}

void TAsgDateTimePicker::SetBorderColor(TColor Value) {
    if (FBorderColor == Value) return;
    FBorderColor = Value;
    Invalidate();
}

void TAsgDateTimePicker::SetMetroStyle(bool Value) {
    if (FMetroStyle == Value) return;
    FMetroStyle = Value;
    Invalidate();
}

bool TAsgDateTimePicker::Themed() const {
    return FIsThemed && PlatformSwitches().VisualStylesActive;
}

void TAsgDateTimePicker::MouseMove(TShiftState Shift, int X, int Y) {
    TDateTimePicker::MouseMove(Shift, X, Y);
    const bool hover = X > Width() - FButtonWidth && X < Width();
    if (hover != FButtonHover) {
        FButtonHover = hover;
        Invalidate();
    }
}

void TAsgDateTimePicker::WndProc(TMessage& Message) {
    TDateTimePicker::WndProc(Message);
    if (Message.Msg != WM_NCPAINT) return;
    // The border steps again after every non-client paint passed on.
    auto* dc = reinterpret_cast<TCanvas*>(Message.WParam);
    if ((!Enabled() && Themed() && !FDisabledBorder) || (FFocusBorderColor != clNone && FHasFocus) ||
        FBorderColor != clNone)
        DrawBorders(dc);
}

void TAsgDateTimePicker::Dispatch(TMessage& Message) {
    switch (Message.Msg) {
        case CM_ENTER:
        case CM_EXIT:
            TDateTimePicker::Dispatch(Message);
            if (HasState(csDesigning)) break;
            FHasFocus = Message.Msg == CM_ENTER;
            DrawBorders();
            break;
        case CM_MOUSEENTER:
        case CM_MOUSELEAVE: {
            TDateTimePicker::Dispatch(Message);
            if (HasState(csDesigning)) break;
            const bool entering = Message.Msg == CM_MOUSEENTER;
            if (entering && !Enabled()) break;
            FMouseInControl = entering;
            if (!entering) FButtonHover = false;
            DrawBorders();
            if (FIsWinXP) Invalidate();
            break;
        }
        case CM_CTL3DCHANGED:
            TDateTimePicker::Dispatch(Message);
            Invalidate();
            break;
        case WM_PAINT: CallHandler<TWMPaint>(this, &TAsgDateTimePicker::WMPaint, Message); break;
        case WM_NCPAINT: CallHandler<TWMNCPaint>(this, &TAsgDateTimePicker::WMNCPaint, Message); break;
        default: TDateTimePicker::Dispatch(Message); break;
    }
}

void TAsgDateTimePicker::WMNCPaint(TWMNCPaint& Message) {
    TDateTimePicker::Dispatch(Message);
    TCanvas* dc = Message.DC();
    if (dc && !Ctl3D() && FBorderColor != clNone) {
        const int w = Width(), h = Height();
        TColor c = FBorderColor;
        if (FBorderStyle == bsNone && Parent())
            c = Parent()->Brush()->Color();
        else if (Themed())
            c = DisabledThemedBorder;
        DrawWindowFrame(dc, w, h, c);
        if (Parent()) {
            dc->Pen()->SetColor(FBorderStyle == bsSingle ? Parent()->Brush()->Color() : c);
            dc->MoveTo(1, h - 2);
            dc->LineTo(1, 1);
            dc->LineTo(w - 1, 1);
        }
    }
    if (dc && ((!Enabled() && Themed() && !FDisabledBorder) || (FFocusBorderColor != clNone && FHasFocus) ||
               FBorderColor != clNone))
        DrawBorders(dc);
    Message.Result = 0;
}

void TAsgDateTimePicker::WMPaint(TWMPaint& Message) {
    TDateTimePicker::Dispatch(Message);
    TCanvas* dc = Message.DC();
    if (!dc || !(!Ctl3D() || MetroActive()) || !CheckWin32Version(6, 0)) return;
    dc->ResetClip();
    if (MetroActive() && Kind() != dtkTime) {
        const int cw = ClientWidth(), ch = ClientHeight();
        dc->Brush()->SetColor(Color());
        dc->Brush()->SetStyle(bsSolid);
        if (Themed())
            dc->FillRect(Rect(cw - FButtonWidth - 15, 1, cw, ch));
        else
            dc->FillRect(Rect(cw - FButtonWidth - 2, 4, cw - 2, ch - 4));
        DrawButton(dc);
    }
    DrawBorders(dc);
}

void TAsgDateTimePicker::DrawButton(TCanvas* DC) {
    const int cw = ClientWidth(), h = Height();
    const TRect r = Rect(cw - FButtonWidth + 2 + 1, 1, Width() - 1, h - 1);
    const TDropButtonColors colors{ButtonColor,       ButtonColorHot,  ButtonColorDown,
                                   ButtonBorderColor, ButtonTextColor, ButtonTextColorDown};
    DrawEditorDropButton(DC, Handle(), r, Rect(r.Left + 2, r.Top, r.Right, r.Bottom), r, colors, 3, Enabled(),
                         FButtonHover, DroppedDown(), Themed());
    DC->ExcludeClipRect(Rect(cw - FButtonWidth - 4, 0, cw + 2, h));
}

void TAsgDateTimePicker::DrawBorders(TCanvas* DC) {
    if (!MetroActive()) return;
    if (Enabled() && FBorderColor == clNone && FFocusBorderColor == clNone) return;
    if (!DC) {
        if (HandleAllocated()) Invalidate();
        return;
    }
    const TEditorFrame frame = EditorFrame(this, Themed(), FDisabledBorder, FHasFocus, FBorderColor,
                                           FFocusBorderColor, FFocusBorder, FMouseInControl, FButtonWidth);
    DrawEditorFrame(DC, frame);
    if (!(FIsWinXP && Themed())) {
        const bool active = HasState(csDesigning) ? Enabled() : (FMouseInControl || Focused());
        DrawButtonArea(DC, Rect(ClientWidth() - FButtonWidth, 2, frame.Width - 2, frame.Height - 2), active,
                       true, DroppedDown());
    }
}
