#include "AsgDateTimePicker.h"

#include "OSInfo.h"
#include "Themes.h"

namespace {
constexpr int AsgPickerVersion = 0x01000000;
constexpr TColor ThemedBorder = TColor(0xB99D7F);
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
            c = ThemedBorder;
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
    TRect r = Rect(cw - FButtonWidth + 2 + 1, 1, Width() - 1, h - 1);
    const bool down = GetAsyncKeyState(VK_LBUTTON) < 0;
    if (ButtonColor != clNone) {
        TColor fill = ButtonColor;
        if (FButtonHover) fill = down && ButtonColorDown != clNone ? ButtonColorDown : ButtonColorHot;
        if (fill == clNone) fill = ButtonColor;
        const TColor arrow = down && ButtonTextColorDown != clNone ? ButtonTextColorDown : ButtonTextColor;
        DrawColorDropButton(DC, Rect(r.Left + 2, r.Top, r.Right, r.Bottom), fill, ButtonBorderColor, arrow,
                            3);
    } else {
        int state = CBXS_HOT;
        if (!Enabled())
            state = CBXS_DISABLED;
        else if (down && DroppedDown())
            state = CBXS_PRESSED;
        else if (down || !FButtonHover || DroppedDown())
            state = CBXS_NORMAL;
        DrawPlatformDropButton(DC, Handle(), r, r, Themed(), state, Enabled());
    }
    DC->ExcludeClipRect(Rect(cw - FButtonWidth - 4, 0, cw + 2, h));
}

void TAsgDateTimePicker::DrawBorders(TCanvas* DC) {
    if (!MetroActive()) return;
    if (Enabled() && FBorderColor == clNone && FFocusBorderColor == clNone) return;
    if (!DC) {
        if (HandleAllocated()) Invalidate();
        return;
    }
    const int w = Width(), h = Height();
    if (!Enabled() && Themed() && !FDisabledBorder) {
        DrawWindowFrame(DC, w, h, ThemedBorder);
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
    }
    if (!(FIsWinXP && Themed())) {
        const int cw = ClientWidth();
        TRect r = Rect(cw - FButtonWidth - 2 + 2, 2, w - 2, h - 2);
        const bool active = HasState(csDesigning) ? Enabled() : (FMouseInControl || Focused());
        if (active) {
            DrawEdge(DC, r, DroppedDown() ? BDR_SUNKENOUTER : EDGE_RAISED,
                     BF_RECT | (DroppedDown() ? BF_FLAT : 0));
        } else {
            DC->Brush()->SetColor(clBtnFace);
            DC->FillRect(Rect(r.Left, r.Top + 1, r.Right - 1, r.Bottom - 1));
        }
        DC->ExcludeClipRect(r);
    }
}
