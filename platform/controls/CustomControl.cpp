#include "Controls.h"

#include "ActnList.h"
#include "Forms.h"
#include "Menus.h"
#include "QtBridge.h"

#include <QApplication>
#include <QCursor>
#include <QPainter>
#include <QTimer>

#include <algorithm>

// =============================================================================================
// TBackingImage

TBackingImage::TBackingImage(TNotifyEvent OnCanvasChange) {
    FCanvas = new TCanvas();
    FCanvas->OnChange = std::move(OnCanvasChange);
}

TBackingImage::~TBackingImage() {
    TObject::Free(FCanvas);
    FCanvas = nullptr;
}

void TBackingImage::Ensure(int Width, int Height) {
    int w = std::max(1, Width), h = std::max(1, Height);
    if (FImage.width() != w || FImage.height() != h) {
        FImage = QImage(w, h, QImage::Format_ARGB32_Premultiplied);
        FImage.fill(Qt::transparent);
        FCanvas->SetTarget(&FImage);
    } else if (FCanvas->Target() != &FImage) {
        FCanvas->SetTarget(&FImage);
    }
}

void TBackingImage::Paint(TCanvas* DC, const std::function<void()>& Body) {
    // One QPainter for the whole paint: every drawing call of Body shares it.
    TCanvasPainting painting(FCanvas);
    bool wasPainting = FPainting;
    FPainting = true;
    try {
        FCanvas->ResetClip();
        Body();
        if (DC && DC != FCanvas) DC->DrawImage(0, 0, FImage);
    } catch (...) {
        FPainting = wasPainting;
        throw;
    }
    FPainting = wasPainting;
}

// =============================================================================================
// TCustomControl

TCustomControl::TCustomControl(TComponent* AOwner)
    : TWinControl(AOwner), FBack([this](TObject* Sender) { CanvasChanged(Sender); }) {}

TCustomControl::~TCustomControl() = default;

void TCustomControl::EnsureImage() {
    FBack.Ensure(Width(), Height());
}

TCanvas* TCustomControl::Canvas() {
    EnsureImage();
    return FBack.Canvas();
}

QImage& TCustomControl::BackImage() {
    EnsureImage();
    return FBack.Image();
}

void TCustomControl::BoundsChanged(bool Resized) {
    if (Resized) EnsureImage();
    TWinControl::BoundsChanged(Resized);
    if (Resized) Invalidate();
}

void TCustomControl::CanvasChanged(TObject*) {
    // Drawing outside a paint shows at the next update of the window.
    if (!FBack.Painting() && WidgetIfAllocated()) WidgetIfAllocated()->update();
}

void TCustomControl::Dispatch(TMessage& Message) {
    switch (Message.Msg) {
        case WM_PAINT: CallHandler<TWMPaint>(this, &TCustomControl::WMPaint, Message); break;
        default: TWinControl::Dispatch(Message); break;
    }
}

// A paint: the background (or a transparent start for WS_EX_TRANSPARENT windows), then Paint,
// all into the backing image.
void TCustomControl::WMPaint(TWMPaint& Message) {
    EnsureImage();
    FBack.Paint(Message.DC(), [this] {
        if (WindowExStyle() & WS_EX_TRANSPARENT) FBack.Image().fill(Qt::transparent);
        TMessage erase(WM_ERASEBKGND, WPARAM(FBack.Canvas()));
        Perform(erase);
        PaintWindow(FBack.Canvas());
    });
}

void TCustomControl::PaintWindow(TCanvas*) {
    Paint();
}

void TCustomControl::Paint() {}

// =============================================================================================
// TGraphicControl

TGraphicControl::TGraphicControl(TComponent* AOwner)
    : TControl(AOwner), FBack([this](TObject* Sender) { CanvasChanged(Sender); }) {}

TGraphicControl::~TGraphicControl() = default;

void TGraphicControl::EnsureImage() {
    FBack.Ensure(Width(), Height());
}

TCanvas* TGraphicControl::Canvas() {
    EnsureImage();
    return FBack.Canvas();
}

QImage& TGraphicControl::BackImage() {
    EnsureImage();
    return FBack.Image();
}

void TGraphicControl::BoundsChanged(bool Resized) {
    if (Resized) {
        EnsureImage();
        FNeedsPaint = true;
    }
    TControl::BoundsChanged(Resized);
}

void TGraphicControl::CanvasChanged(TObject*) {
    if (!FBack.Painting() && Parent() && Parent()->WidgetIfAllocated())
        Parent()->WidgetIfAllocated()->update();
}

const QImage& TGraphicControl::PaintImage() {
    TMessage m(WM_PAINT);
    Perform(m);
    FNeedsPaint = false;
    return FBack.Image();
}

void TGraphicControl::Dispatch(TMessage& Message) {
    switch (Message.Msg) {
        case WM_PAINT: CallHandler<TWMPaint>(this, &TGraphicControl::WMPaint, Message); break;
        default: TControl::Dispatch(Message); break;
    }
}

void TGraphicControl::WMPaint(TWMPaint& Message) {
    EnsureImage();
    FBack.Paint(Message.DC(), [this] {
        FBack.Image().fill(Qt::transparent);
        Paint();
    });
}

void TGraphicControl::Paint() {}
