#include "Buttons.h"

#include <QImage>

TButtonContentPlacement CalcButtonLayout(const TRect& Client, TSize GlyphSize, TSize TextSize,
                                         TButtonLayout Layout, int Margin, int Spacing,
                                         bool RightToLeftReading) {
    if (RightToLeftReading) {
        if (Layout == blGlyphLeft)
            Layout = blGlyphRight;
        else if (Layout == blGlyphRight)
            Layout = blGlyphLeft;
    }
    const int clientW = Client.Width(), clientH = Client.Height();
    const bool horizontal = Layout == blGlyphLeft || Layout == blGlyphRight;
    TPoint glyph, text;
    if (horizontal) {
        glyph.Y = (clientH - GlyphSize.cy + 1) / 2;
        text.Y = (clientH - TextSize.cy + 1) / 2;
    } else {
        glyph.X = (clientW - GlyphSize.cx + 1) / 2;
        text.X = (clientW - TextSize.cx + 1) / 2;
    }
    if (TextSize.cx == 0 || GlyphSize.cx == 0) Spacing = 0;
    const int free = horizontal ? clientW : clientH;
    const int glyphExtent = horizontal ? GlyphSize.cx : GlyphSize.cy;
    const int textExtent = horizontal ? TextSize.cx : TextSize.cy;
    if (Margin == -1) {
        if (Spacing == -1) {
            Margin = (free - glyphExtent - textExtent) / 3;
            Spacing = Margin;
        } else {
            Margin = (free - glyphExtent - Spacing - textExtent + 1) / 2;
        }
    } else if (Spacing == -1) {
        Spacing = (free - Margin - glyphExtent - textExtent) / 2;
    }
    switch (Layout) {
        case blGlyphLeft:
            glyph.X = Margin;
            text.X = glyph.X + GlyphSize.cx + Spacing;
            break;
        case blGlyphRight:
            glyph.X = clientW - Margin - GlyphSize.cx;
            text.X = glyph.X - Spacing - TextSize.cx;
            break;
        case blGlyphTop:
            glyph.Y = Margin;
            text.Y = glyph.Y + GlyphSize.cy + Spacing;
            break;
        case blGlyphBottom:
            glyph.Y = clientH - Margin - GlyphSize.cy;
            text.Y = glyph.Y - Spacing - TextSize.cy;
            break;
    }
    TButtonContentPlacement p;
    p.GlyphPos = TPoint(glyph.X + Client.Left, glyph.Y + Client.Top);
    p.TextBounds = TRect(text.X + Client.Left, text.Y + Client.Top, text.X + Client.Left + TextSize.cx,
                         text.Y + Client.Top + TextSize.cy);
    return p;
}

// =============================================================================================
// TSpeedButton

TSpeedButton::TSpeedButton(TComponent* AOwner) : TGraphicControl(AOwner), FGlyph(new TBitmap) {
    SetBounds(0, 0, 23, 22);
    SetControlStyle({csCaptureMouse, csDoubleClicks});
    FGlyph->OnChange = [this](TObject*) { Invalidate(); };
}

TSpeedButton::~TSpeedButton() {
    TObject::Free(FGlyph);
}

void TSpeedButton::SetGlyph(TBitmap* Value) {
    FGlyph->Assign(Value);
    Invalidate();
}

void TSpeedButton::SetNumGlyphs(int Value) {
    if (Value < 1 || Value > 4 || Value == FNumGlyphs) return;
    FNumGlyphs = Value;
    Invalidate();
}

void TSpeedButton::SetFlat(bool Value) {
    if (Value == FFlat) return;
    FFlat = Value;
    Invalidate();
}

void TSpeedButton::SetTransparent(bool Value) {
    if (Value == FTransparent) return;
    FTransparent = Value;
    Invalidate();
}

void TSpeedButton::SetLayout(TButtonLayout Value) {
    if (Value == FLayout) return;
    FLayout = Value;
    Invalidate();
}

void TSpeedButton::SetMargin(int Value) {
    if (Value == FMargin || Value < -1) return;
    FMargin = Value;
    Invalidate();
}

void TSpeedButton::SetSpacing(int Value) {
    if (Value == FSpacing) return;
    FSpacing = Value;
    Invalidate();
}

void TSpeedButton::SetDown(bool Value) {
    if (FGroupIndex == 0) Value = false;
    if (Value == FDown) return;
    if (FDown && !FAllowAllUp) return;
    FDown = Value;
    if (Value) {
        if (FState == bsUp) Invalidate();
        FState = bsExclusive;
    } else {
        FState = bsUp;
        Repaint();
    }
    if (Value) UpdateExclusive();
}

void TSpeedButton::SetGroupIndex(int Value) {
    if (Value == FGroupIndex) return;
    FGroupIndex = Value;
    UpdateExclusive();
}

void TSpeedButton::SetAllowAllUp(bool Value) {
    if (Value == FAllowAllUp) return;
    FAllowAllUp = Value;
    UpdateExclusive();
}

void TSpeedButton::UpdateExclusive() {
    if (FGroupIndex == 0 || !Parent()) return;
    TMessage m(CM_BUTTONPRESSED, WPARAM(FGroupIndex), LPARAM(this));
    Parent()->Broadcast(m);
}

void TSpeedButton::CMButtonPressed(TMessage& Message) {
    if (Message.WParam != WPARAM(FGroupIndex)) return;
    auto* sender = dynamic_cast<TSpeedButton*>(reinterpret_cast<TObject*>(Message.LParam));
    if (!sender || sender == this) return;
    if (sender->Down() && FDown) {
        FDown = false;
        FState = bsUp;
        Invalidate();
    }
    FAllowAllUp = sender->AllowAllUp();
}

void TSpeedButton::Click() {
    TGraphicControl::Click();
}

// ---- Mouse ----

void TSpeedButton::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
    TGraphicControl::MouseDown(Button, Shift, X, Y);
    if (Button != mbLeft || !Enabled()) return;
    if (!FDown) {
        FState = bsDown;
        Invalidate();
    }
    FDragging = true;
}

void TSpeedButton::MouseMove(TShiftState Shift, int X, int Y) {
    TGraphicControl::MouseMove(Shift, X, Y);
    if (FDragging) {
        TButtonState state = FDown ? bsExclusive : bsUp;
        if (X >= 0 && X < ClientWidth() && Y >= 0 && Y <= ClientHeight())
            state = FDown ? bsExclusive : bsDown;
        if (state != FState) {
            FState = state;
            Invalidate();
        }
    } else if (!FMouseInControl) {
        UpdateTracking();
    }
}

void TSpeedButton::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
    TGraphicControl::MouseUp(Button, Shift, X, Y);
    if (!FDragging) return;
    FDragging = false;
    const bool inside = X >= 0 && X < ClientWidth() && Y >= 0 && Y <= ClientHeight();
    if (FGroupIndex == 0) {
        // A plain button goes up again; repaint unless it already shows up.
        FState = bsUp;
        FMouseInControl = false;
        Invalidate();
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

void TSpeedButton::WMLButtonDblClk(TWMMouse& Message) {
    TGraphicControl::Dispatch(Message);
    if (FDown) DblClick();
}

void TSpeedButton::UpdateTracking() {
    if (!FFlat || !Enabled()) return;
    const bool over = FindDragTarget(Mouse->CursorPos(), true) == this;
    if (over == FMouseInControl) return;
    Perform(over ? CM_MOUSEENTER : CM_MOUSELEAVE);
}

void TSpeedButton::CMMouseEnter(TMessage& Message) {
    TGraphicControl::Dispatch(Message);
    if (FFlat && !FMouseInControl && Enabled() && DragMode() != dmAutomatic && GetCapture() == 0) {
        FMouseInControl = true;
        Repaint();
    }
}

void TSpeedButton::CMMouseLeave(TMessage& Message) {
    TGraphicControl::Dispatch(Message);
    if (FFlat && FMouseInControl && Enabled() && !FDragging) {
        FMouseInControl = false;
        Invalidate();
    }
}

void TSpeedButton::CMDialogChar(TCMDialogChar& Message) {
    if (IsAccel(Message.CharCode, Caption()) && Enabled() && Visible() && Parent() && Parent()->Showing()) {
        Click();
        Message.Result = 1;
    } else {
        TGraphicControl::Dispatch(Message);
    }
}

void TSpeedButton::Dispatch(TMessage& Message) {
    switch (Message.Msg) {
        case CM_BUTTONPRESSED: CMButtonPressed(Message); break;
        case CM_DIALOGCHAR: CallHandler<TCMDialogChar>(this, &TSpeedButton::CMDialogChar, Message); break;
        case CM_MOUSEENTER: CMMouseEnter(Message); break;
        case CM_MOUSELEAVE: CMMouseLeave(Message); break;
        case WM_LBUTTONDBLCLK: CallHandler<TWMMouse>(this, &TSpeedButton::WMLButtonDblClk, Message); break;
        case CM_ENABLEDCHANGED:
            UpdateTracking();
            Repaint();
            break;
        case CM_FONTCHANGED:
        case CM_TEXTCHANGED:
        case CM_SYSCOLORCHANGE: Invalidate(); break;
        default: TGraphicControl::Dispatch(Message);
    }
}

// ---- Painting ----

QImage TSpeedButton::GlyphImage(TButtonState State) const {
    if (FGlyph->Empty()) return QImage();
    const QImage& all = FGlyph->Image();
    const int w = all.width() / FNumGlyphs, h = all.height();
    if (w <= 0 || h <= 0) return QImage();
    const QRgb key = all.pixel(0, h - 1) & 0xFFFFFF;
    int index = int(State);
    if (index >= FNumGlyphs) index = 0;
    QImage img = all.copy(index * w, 0, w, h).convertToFormat(QImage::Format_ARGB32);
    const bool emboss = State == bsDisabled && FNumGlyphs < 2;
    const QRgb shadow = QRgb(ColorToRGB(clBtnShadow)), light = QRgb(ColorToRGB(clBtnHighlight));
    auto swap = [](QRgb c) { return qRgb(qBlue(c), qGreen(c), qRed(c)); }; // TColor is BGR
    QImage out(w + (emboss ? 1 : 0), h + (emboss ? 1 : 0), QImage::Format_ARGB32);
    out.fill(0);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const QRgb c = img.pixel(x, y);
            if ((c & 0xFFFFFF) == key) continue;
            if (emboss) {
                out.setPixel(x + 1, y + 1, swap(light) | 0xFF000000);
            } else {
                out.setPixel(x, y, c | 0xFF000000);
            }
        }
    if (emboss)
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                if ((img.pixel(x, y) & 0xFFFFFF) != key) out.setPixel(x, y, swap(shadow) | 0xFF000000);
    return out;
}

void TSpeedButton::DrawContent(const TRect& R, TPoint Offset) {
    TCanvas* C = Canvas();
    const QImage glyph = GlyphImage(FState);
    const String caption = Caption();
    TRect textBox(0, 0, 0, 0);
    if (!caption.isEmpty()) DrawText(C, caption, textBox, DT_CALCRECT | DT_SINGLELINE);
    const TSize glyphSize = glyph.isNull() ? TSize{0, 0} : TSize{glyph.width(), glyph.height()};
    const TSize textSize{textBox.Width(), textBox.Height()};
    const TRect client(R.Left + Offset.X, R.Top + Offset.Y, R.Right + Offset.X, R.Bottom + Offset.Y);
    const TButtonContentPlacement p =
        CalcButtonLayout(client, glyphSize, textSize, FLayout, FMargin, FSpacing, UseRightToLeftReading());
    if (!glyph.isNull()) C->DrawImage(p.GlyphPos.X, p.GlyphPos.Y, glyph);
    if (caption.isEmpty()) return;
    C->Brush()->SetStyle(bsClear);
    TRect t = p.TextBounds;
    if (FState == bsDisabled) {
        // Embossed: the highlight one pixel down and right, the shadow over it.
        TRect lit(t.Left + 1, t.Top + 1, t.Right + 1, t.Bottom + 1);
        C->Font()->SetColor(clBtnHighlight);
        DrawText(C, caption, lit, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
        C->Font()->SetColor(clBtnShadow);
    }
    DrawText(C, caption, t, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
}

void TSpeedButton::Paint() {
    if (!Enabled()) {
        FState = bsDisabled;
        FDragging = false;
    } else if (FState == bsDisabled) {
        FState = FDown && FGroupIndex != 0 ? bsExclusive : bsUp;
    }
    TCanvas* C = Canvas();
    C->Font()->Assign(Font());
    TRect R(0, 0, Width(), Height());
    const bool pressed = FState == bsDown || FState == bsExclusive;
    if (!FFlat) {
        Cardinal flags = DFCS_BUTTONPUSH | DFCS_ADJUSTRECT;
        if (pressed) flags |= DFCS_PUSHED;
        DrawFrameControl(C, R, DFC_BUTTON, flags);
    } else {
        if (pressed || (FMouseInControl && FState != bsDisabled)) {
            TRect edge = R;
            DrawEdge(C, edge, (pressed ? BDR_SUNKENOUTER : BDR_RAISEDINNER) | (FTransparent ? 0 : BF_MIDDLE),
                     BF_RECT);
        } else if (!FTransparent) {
            C->Brush()->SetColor(Color());
            C->Brush()->SetStyle(bsSolid);
            C->FillRect(R);
        }
        R = TRect(R.Left + 1, R.Top + 1, R.Right - 1, R.Bottom - 1);
    }
    if (pressed) {
        if (FState == bsExclusive && (!FFlat || !FMouseInControl)) {
            // The down face: a checker of face and highlight pixels.
            QImage pattern(2, 2, QImage::Format_RGB32);
            const QRgb face = QRgb(ColorToRGB(clBtnFace)), lit = QRgb(ColorToRGB(clBtnHighlight));
            auto rgb = [](QRgb c) { return qRgb(qBlue(c), qGreen(c), qRed(c)); };
            pattern.setPixel(0, 0, rgb(face));
            pattern.setPixel(1, 1, rgb(face));
            pattern.setPixel(1, 0, rgb(lit));
            pattern.setPixel(0, 1, rgb(lit));
            TBitmap bmp;
            bmp.SetImage(pattern);
            C->Brush()->SetBitmap(&bmp);
            C->FillRect(R);
            C->Brush()->SetBitmap(nullptr);
        }
        DrawContent(R, TPoint(1, 1));
    } else {
        DrawContent(R, TPoint(0, 0));
    }
}
