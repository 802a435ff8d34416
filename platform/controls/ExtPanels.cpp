#include "ExtPanels.h"

#include <algorithm>

// =============================================================================================
// Panel

void Frame3D(TCanvas* Canvas, TRect& R, TColor TopColor, TColor BottomColor, int Width) {
    Canvas->Pen()->SetWidth(1);
    --R.Bottom;
    --R.Right;
    for (int i = 0; i < Width; ++i) {
        Canvas->Pen()->SetColor(TopColor);
        Canvas->MoveTo(R.Left, R.Bottom);
        Canvas->LineTo(R.Left, R.Top);
        Canvas->LineTo(R.Right, R.Top);
        Canvas->Pen()->SetColor(BottomColor);
        Canvas->LineTo(R.Right, R.Bottom);
        Canvas->LineTo(R.Left - 1, R.Bottom);
        R = TRect(R.Left + 1, R.Top + 1, R.Right - 1, R.Bottom - 1);
    }
    ++R.Bottom;
    ++R.Right;
}

TCustomPanel::TCustomPanel(TComponent* AOwner) : TCustomControl(AOwner) {
    FControlStyle = {csAcceptsControls, csCaptureMouse, csClickEvents,
                     csSetCaption,      csOpaque,       csDoubleClicks};
    SetBounds(0, 0, 185, 41);
    SetParentColor(false);
    SetColor(clBtnFace);
}

void TCustomPanel::SetAlignment(TAlignment Value) {
    FAlignment = Value;
    Invalidate();
}

void TCustomPanel::SetVerticalAlignment(TVerticalAlignment Value) {
    FVerticalAlignment = Value;
    Invalidate();
}

void TCustomPanel::SetBevelInner(TBevelCut Value) {
    FBevelInner = Value;
    Realign();
    Invalidate();
}

void TCustomPanel::SetBevelOuter(TBevelCut Value) {
    FBevelOuter = Value;
    Realign();
    Invalidate();
}

void TCustomPanel::SetBevelWidth(int Value) {
    FBevelWidth = std::max(1, Value);
    Realign();
    Invalidate();
}

void TCustomPanel::SetBorderWidth(int Value) {
    FBorderWidth = std::max(0, Value);
    Realign();
    Invalidate();
}

void TCustomPanel::SetBorderStyle(TBorderStyle Value) {
    FBorderStyle = Value;
    Realign();
    Invalidate();
}

void TCustomPanel::SetShowCaption(bool Value) {
    FShowCaption = Value;
    Invalidate();
}

int TCustomPanel::FrameSize() const {
    int n = FBorderWidth;
    if (FBevelOuter != bvNone) n += FBevelWidth;
    if (FBevelInner != bvNone) n += FBevelWidth;
    if (FBorderStyle == bsSingle) n += 1;
    return n;
}

void TCustomPanel::AdjustClientRect(TRect& Rect) {
    TCustomControl::AdjustClientRect(Rect);
    const int n = FrameSize();
    Rect = TRect(Rect.Left + n, Rect.Top + n, std::max(Rect.Left + n, Rect.Right - n),
                 std::max(Rect.Top + n, Rect.Bottom - n));
}

void TCustomPanel::Paint() {
    TCanvas* c = Canvas();
    TRect r = ClientRect();
    c->Brush()->SetStyle(bsSolid);
    c->Brush()->SetColor(Color());
    c->FillRect(r);
    if (FBorderStyle == bsSingle) Frame3D(c, r, cl3DDkShadow, cl3DDkShadow, 1);
    auto bevel = [&](TBevelCut Cut) {
        if (Cut == bvNone) return;
        if (Cut == bvSpace) {
            Frame3D(c, r, Color(), Color(), FBevelWidth);
            return;
        }
        const bool raised = Cut == bvRaised;
        Frame3D(c, r, raised ? clBtnHighlight : clBtnShadow, raised ? clBtnShadow : clBtnHighlight,
                FBevelWidth);
    };
    bevel(FBevelOuter);
    Frame3D(c, r, Color(), Color(), FBorderWidth);
    bevel(FBevelInner);
    if (!FShowCaption || Caption().isEmpty()) return;
    Cardinal flags = DT_SINGLELINE | DT_EXPANDTABS;
    if (FAlignment == taCenter) flags |= DT_CENTER;
    if (FAlignment == taRightJustify) flags |= DT_RIGHT;
    if (FVerticalAlignment == taVerticalCenter) flags |= DT_VCENTER;
    if (FVerticalAlignment == taAlignBottom) flags |= DT_BOTTOM;
    c->SetFont(Font());
    if (!Enabled()) c->Font()->SetColor(clGrayText);
    c->Brush()->SetStyle(bsClear);
    DrawText(c, Caption(), r, flags);
}

void TCustomPanel::Dispatch(TMessage& Message) {
    TCustomControl::Dispatch(Message);
    if (Message.Msg == CM_TEXTCHANGED || Message.Msg == CM_FONTCHANGED) Invalidate();
}

// =============================================================================================
// Shape

TShape::TShape(TComponent* AOwner) : TGraphicControl(AOwner) {
    FControlStyle.insert(csReplicatable);
    FPen = new TPen();
    FBrush = new TBrush();
    FPen->OnChange = [this](TObject*) { Invalidate(); };
    FBrush->OnChange = [this](TObject*) { Invalidate(); };
    SetBounds(0, 0, 65, 65);
}

TShape::~TShape() {
    TObject::Free(FPen);
    TObject::Free(FBrush);
}

void TShape::SetShape(TShapeType Value) {
    if (FShape == Value) return;
    FShape = Value;
    Invalidate();
}

void TShape::Paint() {
    TCanvas* c = Canvas();
    c->SetPen(FPen);
    c->SetBrush(FBrush);
    const int pw = FPen->Width();
    int x = pw / 2, y = x;
    int w = Width() - pw + 1, h = Height() - pw + 1;
    if (pw == 0) {
        --w;
        --h;
    }
    if (w < h && (FShape == stSquare || FShape == stRoundSquare || FShape == stCircle)) {
        y += (h - w) / 2;
        h = w;
    } else if (h < w && (FShape == stSquare || FShape == stRoundSquare || FShape == stCircle)) {
        x += (w - h) / 2;
        w = h;
    }
    switch (FShape) {
        case stRectangle:
        case stSquare: c->Rectangle(x, y, x + w, y + h); break;
        case stRoundRect:
        case stRoundSquare: c->RoundRect(x, y, x + w, y + h, std::min(w, h) / 4, std::min(w, h) / 4); break;
        case stEllipse:
        case stCircle: c->Ellipse(x, y, x + w, y + h); break;
    }
}

// =============================================================================================
// Image

TImage::TImage(TComponent* AOwner) : TGraphicControl(AOwner) {
    FControlStyle.insert(csReplicatable);
    FPicture = new TPicture();
    FPicture->OnChange = [this](TObject* Sender) { PictureChanged(Sender); };
    SetBounds(0, 0, 105, 105);
}

TImage::~TImage() {
    TObject::Free(FPicture);
}

void TImage::SetAutoSize(bool Value) {
    FAutoSize = Value;
    PictureChanged(this);
}

void TImage::SetStretch(bool Value) {
    FStretch = Value;
    Invalidate();
}

void TImage::SetProportional(bool Value) {
    FProportional = Value;
    Invalidate();
}

void TImage::SetCenter(bool Value) {
    FCenter = Value;
    Invalidate();
}

void TImage::SetTransparent(bool Value) {
    FTransparent = Value;
    if (FPicture->Graphic()) FPicture->Graphic()->SetTransparent(Value);
    Invalidate();
}

void TImage::PictureChanged(TObject*) {
    TGraphic* g = FPicture->Graphic();
    if (g && g->Transparent() != FTransparent && dynamic_cast<TBitmap*>(g)) g->SetTransparent(FTransparent);
    if (FAutoSize && g && g->Width() > 0 && g->Height() > 0)
        SetBounds(Left(), Top(), g->Width(), g->Height());
    Invalidate();
}

TRect TImage::DestRect() const {
    const int pw = FPicture->Width(), ph = FPicture->Height();
    const int cw = ClientWidth(), ch = ClientHeight();
    int w = pw, h = ph;
    if (FStretch || (FProportional && (pw > cw || ph > ch))) {
        if (FProportional && pw > 0 && ph > 0) {
            if (cw * ph > ch * pw) {
                h = ch;
                w = pw * ch / ph;
            } else {
                w = cw;
                h = ph * cw / pw;
            }
        } else {
            w = cw;
            h = ch;
        }
    }
    TRect r(0, 0, w, h);
    if (FCenter) {
        r.Left = (cw - w) / 2;
        r.Top = (ch - h) / 2;
        r.Right = r.Left + w;
        r.Bottom = r.Top + h;
    }
    return r;
}

void TImage::Paint() {
    TGraphic* g = FPicture->Graphic();
    if (!g || g->Empty()) return;
    Canvas()->StretchDraw(DestRect(), g);
}
