#include "EditorLook.h"

#include "AdvXPVS.h"
#include "Themes.h"

TPoint LabelPlace(TLabelPosition Position, const TRect& Bounds, int LabelWidth, int LabelHeight,
                  int TextWidth, int Margin) {
    const int l = Bounds.Left, t = Bounds.Top, w = Bounds.Width(), h = Bounds.Height();
    int x = l, y = t;
    switch (Position) {
        case lpLeftTop:
        case lpLeftCenter:
        case lpLeftBottom: x = l - TextWidth - Margin; break;
        case lpLeftTopLeft:
        case lpLeftCenterLeft:
        case lpLeftBottomLeft: x = l - Margin; break;
        case lpTopLeft:
        case lpBottomLeft: x = l; break;
        case lpTopCenter:
        case lpBottomCenter: x = l + (w - LabelWidth) / 2; break;
        case lpTopRight:
        case lpBottomRight: x = l + w - LabelWidth; break;
        case lpRightTop:
        case lpRightCenter:
        case lpRighBottom: x = l + w + Margin; break;
    }
    switch (Position) {
        case lpLeftTop:
        case lpLeftTopLeft:
        case lpRightTop: y = t; break;
        case lpLeftCenter:
        case lpLeftCenterLeft:
        case lpRightCenter: y = t + (h - LabelHeight) / 2; break;
        case lpLeftBottom:
        case lpLeftBottomLeft:
        case lpRighBottom: y = t + h - LabelHeight; break;
        case lpTopLeft:
        case lpTopCenter:
        case lpTopRight: y = t - LabelHeight - Margin; break;
        case lpBottomLeft:
        case lpBottomCenter:
        case lpBottomRight: y = t + h + Margin; break;
    }
    return TPoint(x, y);
}

void DrawWindowFrame(TCanvas* DC, int Width, int Height, TColor Color) {
    DC->Brush()->SetStyle(bsSolid);
    DC->Brush()->SetColor(Color);
    DC->FrameRect(Rect(0, 0, Width, Height));
}

void DrawFlatFrame(TCanvas* DC, int Width, int Height, TColor Outer, TColor Inner, bool FocusFrame,
                   int ButtonWidth) {
    TRect r = Rect(0, 0, Width, Height);
    DC->Brush()->SetStyle(bsSolid);
    if (FocusFrame) {
        DrawEdge(DC, r, BDR_SUNKENOUTER, BF_RECT);
        r = Rect(r.Left + 1, r.Top + 1, r.Right - 1, r.Bottom - 1);
        DC->Brush()->SetColor(Outer);
        DC->FrameRect(r);
    } else {
        DC->Brush()->SetColor(Outer);
        DC->FrameRect(r);
        r = Rect(r.Left + 1, r.Top + 1, r.Right - 1, r.Bottom - 1);
        DC->FrameRect(Rect(r.Left, r.Top, r.Right - ButtonWidth, r.Bottom));
    }
    r = Rect(r.Left + 1, r.Top + 1, r.Right - 1, r.Bottom - 1);
    DC->Brush()->SetColor(Inner);
    DC->FrameRect(r);
}

void DrawColorDropButton(TCanvas* DC, const TRect& R, TColor Fill, TColor Border, TColor Arrow, int Offset) {
    DC->Brush()->SetStyle(bsSolid);
    DC->Brush()->SetColor(Fill);
    DC->Pen()->SetStyle(psSolid);
    DC->Pen()->SetColor(Fill);
    DC->Rectangle(R);
    DC->Pen()->SetColor(Border);
    DC->MoveTo(R.Left, R.Top);
    DC->LineTo(R.Left, R.Bottom);
    DC->Brush()->SetColor(Arrow);
    DC->Pen()->SetColor(Arrow);
    DC->Polygon({TPoint(R.Left + Offset, R.Top + 7), TPoint(R.Left + Offset + 6, R.Top + 7),
                 TPoint(R.Left + Offset + 3, R.Top + 10)});
}

void DrawPlatformDropButton(TCanvas* DC, HWND Window, const TRect& R, const TRect& Classic, bool Themed,
                            int State, bool Enabled) {
    if (Themed && AdvXPVS.Loaded() && AdvXPVS.OpenThemeData && AdvXPVS.DrawThemeBackground &&
        AdvXPVS.CloseThemeData && AdvXPVS.IsThemeActive && AdvXPVS.IsThemeActive()) {
        if (const HTHEME theme = AdvXPVS.OpenThemeData(Window, u"combobox")) {
            AdvXPVS.DrawThemeBackground(theme, DC, CP_DROPDOWNBUTTON, State, &R, nullptr);
            AdvXPVS.CloseThemeData(theme);
            return;
        }
    }
    TRect r = Classic;
    DrawFrameControl(DC, r, DFC_SCROLL, DFCS_SCROLLCOMBOBOX | (Enabled ? DFCS_FLAT : DFCS_INACTIVE));
}

String VersionString(int Number) {
    const auto n = unsigned(Number);
    return QStringLiteral("%1.%2.%3.%4")
        .arg(n >> 24)
        .arg((n >> 16) & 0xFF)
        .arg((n >> 8) & 0xFF)
        .arg(n & 0xFF);
}

void DrawEditorDropButton(TCanvas* DC, HWND Window, const TRect& R, const TRect& ColorRect,
                          const TRect& Classic, const TDropButtonColors& Colors, int ArrowOffset,
                          bool Enabled, bool Hover, bool Dropped, bool Themed) {
    const bool down = GetAsyncKeyState(VK_LBUTTON) < 0;
    if (Colors.Color != clNone) {
        TColor fill = Colors.Color;
        if (Hover) fill = down && Colors.Down != clNone ? Colors.Down : Colors.Hot;
        if (fill == clNone) fill = Colors.Color;
        const TColor arrow = down && Colors.TextDown != clNone ? Colors.TextDown : Colors.Text;
        DrawColorDropButton(DC, ColorRect, fill, Colors.Border, arrow, ArrowOffset);
        return;
    }
    int state = CBXS_HOT;
    if (!Enabled)
        state = CBXS_DISABLED;
    else if (down && Dropped)
        state = CBXS_PRESSED;
    else if (down || !Hover || Dropped)
        state = CBXS_NORMAL;
    DrawPlatformDropButton(DC, Window, R, Classic, Themed, state, Enabled);
}

TEditorFrame EditorFrame(TWinControl* Control, bool Themed, bool DisabledBorder, bool HasFocus,
                         TColor BorderColor, TColor FocusBorderColor, bool FocusBorder, bool MouseInControl,
                         int ButtonWidth) {
    TEditorFrame f;
    f.Width = Control->Width();
    f.Height = Control->Height();
    f.Enabled = Control->Enabled();
    f.Themed = Themed;
    f.DisabledBorder = DisabledBorder;
    f.HasFocus = HasFocus;
    f.BorderColor = BorderColor;
    f.FocusBorderColor = FocusBorderColor;
    f.FocusFrame = FocusBorder && !Control->HasState(csDesigning) && (MouseInControl || Control->Focused());
    TWinControl* parent = Control->Parent();
    f.Outer = f.FocusFrame ? TColor(clBtnFace) : (parent ? parent->Brush()->Color() : Control->Color());
    f.Inner = Control->Color();
    f.ButtonWidth = ButtonWidth;
    return f;
}

bool DrawEditorFrame(TCanvas* DC, const TEditorFrame& F) {
    if (!F.Enabled && F.Themed && !F.DisabledBorder) {
        DrawWindowFrame(DC, F.Width, F.Height, DisabledThemedBorder);
    } else if (F.FocusBorderColor != clNone && F.HasFocus) {
        DrawWindowFrame(DC, F.Width, F.Height, F.FocusBorderColor);
    } else if (F.BorderColor != clNone) {
        DrawWindowFrame(DC, F.Width, F.Height, F.BorderColor);
    } else if (F.FocusBorderColor == clNone) {
        DrawFlatFrame(DC, F.Width, F.Height, F.Outer, F.Inner, F.FocusFrame, F.ButtonWidth);
        return true;
    }
    return false;
}

void DrawButtonArea(TCanvas* DC, TRect R, bool Active, bool Edged, bool Dropped) {
    if (Active && Edged) {
        DrawEdge(DC, R, Dropped ? BDR_SUNKENOUTER : EDGE_RAISED, BF_RECT | (Dropped ? BF_FLAT : 0));
    } else if (!Active) {
        DC->Brush()->SetStyle(bsSolid);
        DC->Brush()->SetColor(clBtnFace);
        DC->FillRect(Rect(R.Left, R.Top + 1, R.Right - 1, R.Bottom - 1));
    }
    DC->ExcludeClipRect(R);
}

TLabel* CreateAttachedLabel(TWinControl* Control, TFont* LabelFont) {
    auto* label = new TLabel(Control);
    label->FreeNotification(Control);
    label->SetParent(Control->Parent());
    label->SetFocusControl(Control);
    label->Font()->Assign(LabelFont);
    label->SetParentFont(Control->ParentFont());
    return label;
}

void PlaceAttachedLabel(TLabel* Label, TControl* Control, TLabelPosition Position, int Margin,
                        int TextWidth) {
    const TPoint at =
        LabelPlace(Position, Control->BoundsRect(), Label->Width(), Label->Height(), TextWidth, Margin);
    Label->SetBounds(at.X, at.Y, Label->Width(), Label->Height());
    Label->SetVisible(Control->Visible());
}

void SetLabelBold(TLabel* Label, bool Bold) {
    if (!Label) return;
    TFontStyles s = Label->Font()->Style();
    if (Bold)
        s.insert(fsBold);
    else
        s.erase(fsBold);
    Label->Font()->SetStyle(s);
}
