#include "Splitter.h"

#include "Graphics.h"

TSplitter::TSplitter(TComponent* AOwner) : TGraphicControl(AOwner) {
    SetAlign(alLeft);
    SetBounds(0, 0, 3, 100);
    SetCursor(crHSplit);
}

void TSplitter::BoundsChanged(bool Resized) {
    TGraphicControl::BoundsChanged(Resized);
    // The cursor follows the bar's direction.
    SetCursor(Vertical() ? crHSplit : crVSplit);
}

TControl* TSplitter::ResizeControl() const {
    TWinControl* parent = Parent();
    if (!parent) return nullptr;
    for (int i = 0; i < parent->ControlCount(); ++i) {
        TControl* c = parent->Controls(i);
        if (c == this || !c->Visible() || c->Align() != Align()) continue;
        switch (Align()) {
            case alTop:
                if (c->Top() + c->Height() == Top()) return c;
                break;
            case alBottom:
                if (c->Top() == Top() + Height()) return c;
                break;
            case alLeft:
                if (c->Left() + c->Width() == Left()) return c;
                break;
            case alRight:
                if (c->Left() == Left() + Width()) return c;
                break;
            default: break;
        }
    }
    return nullptr;
}

int TSplitter::MaxSize(TControl* Control) const {
    TWinControl* parent = Parent();
    const int size = Vertical() ? Control->Width() : Control->Height();
    // The free space: the client extent less every control aligned across it.
    int used = 0;
    for (int i = 0; i < parent->ControlCount(); ++i) {
        TControl* c = parent->Controls(i);
        if (!c->Visible()) continue;
        if (Vertical() && (c->Align() == alLeft || c->Align() == alRight)) used += c->Width();
        if (!Vertical() && (c->Align() == alTop || c->Align() == alBottom)) used += c->Height();
    }
    const int extent = Vertical() ? parent->ClientWidth() : parent->ClientHeight();
    return std::max(FMinSize, size + extent - used - FMinSize);
}

void TSplitter::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
    TGraphicControl::MouseDown(Button, Shift, X, Y);
    if (Button != mbLeft) return;
    FControl = ResizeControl();
    if (!FControl) return;
    FStart = Vertical() ? Left() + X : Top() + Y;
    FStartSize = Vertical() ? FControl->Width() : FControl->Height();
}

void TSplitter::MouseMove(TShiftState Shift, int X, int Y) {
    TGraphicControl::MouseMove(Shift, X, Y);
    SetCursor(Vertical() ? crHSplit : crVSplit);
    if (!FControl) return;
    const int pos = Vertical() ? Left() + X : Top() + Y;
    // Moving right or down grows a left or top control and shrinks a right or bottom one.
    const int delta = (Align() == alLeft || Align() == alTop) ? pos - FStart : FStart - pos;
    int size = std::clamp(FStartSize + delta, FMinSize, MaxSize(FControl));
    bool accept = true;
    if (Assigned(OnCanResize)) OnCanResize(this, size, accept);
    if (!accept) return;
    if (Vertical() ? FControl->Width() == size : FControl->Height() == size) return;
    if (Vertical())
        FControl->SetWidth(size);
    else
        FControl->SetHeight(size);
}

void TSplitter::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
    TGraphicControl::MouseUp(Button, Shift, X, Y);
    if (!FControl || Button != mbLeft) return;
    FControl = nullptr;
    if (Assigned(OnMoved)) OnMoved(this);
}

void TSplitter::Paint() {
    TCanvas* c = Canvas();
    const TRect r(0, 0, Width(), Height());
    c->Brush()->SetColor(Color());
    c->FillRect(r);
    if (!Beveled) return;
    c->Pen()->SetColor(clBtnHighlight);
    c->MoveTo(0, Height() - 1);
    c->LineTo(0, 0);
    c->LineTo(Width() - 1, 0);
    c->Pen()->SetColor(clBtnShadow);
    c->LineTo(Width() - 1, Height() - 1);
    c->LineTo(0, Height() - 1);
}
