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

namespace {

// The canvas of a backing image: the image is made when the canvas first draws (measuring text
// needs no pixels).
class TBackingCanvas : public TCanvas {
public:
    explicit TBackingCanvas(TBackingImage* AOwner) : FOwner(AOwner) {}
    bool RequireTarget() override {
        FOwner->Ensure();
        return TCanvas::RequireTarget();
    }
    QImage* Raw() const { return RawTarget(); }

private:
    TBackingImage* FOwner;
};

} // namespace

TBackingImage::TBackingImage(TNotifyEvent OnCanvasChange) {
    FCanvas = new TBackingCanvas(this);
    FCanvas->OnChange = std::move(OnCanvasChange);
}

TBackingImage::~TBackingImage() {
    TObject::Free(FCanvas);
    FCanvas = nullptr;
}

void TBackingImage::SetSize(int Width, int Height) {
    FWidth = std::max(1, Width);
    FHeight = std::max(1, Height);
}

void TBackingImage::Ensure() {
    if (FImage.width() != FWidth || FImage.height() != FHeight) {
        FImage = QImage(FWidth, FHeight, QImage::Format_ARGB32_Premultiplied);
        FImage.fill(Qt::transparent);
        FCanvas->SetTarget(&FImage);
    } else if (static_cast<TBackingCanvas*>(FCanvas)->Raw() != &FImage) {
        FCanvas->SetTarget(&FImage);
    }
}

void TBackingImage::Clear(const QRegion& Region) {
    Ensure();
    const QRegion inside = Region.intersected(FImage.rect());
    for (const QRect& r : inside)
        for (int y = r.top(); y <= r.bottom(); ++y) {
            auto* line = reinterpret_cast<QRgb*>(FImage.scanLine(y));
            std::fill(line + r.left(), line + r.right() + 1, QRgb(0));
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

TCanvas* TCustomControl::Canvas() {
    FBack.SetSize(Width(), Height());
    return FBack.Canvas();
}

QImage& TCustomControl::BackImage() {
    FBack.SetSize(Width(), Height());
    return FBack.Image();
}

void TCustomControl::ClearToTransparent() {
    FBack.Clear(Canvas()->ClipRegion());
}

// A new size costs nothing until the control paints: the image follows then.
void TCustomControl::BoundsChanged(bool Resized) {
    if (Resized) FBack.SetSize(Width(), Height());
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

TCanvas* TCustomControl::PaintCanvas(const QRegion& Region) {
    FBack.SetSize(Width(), Height());
    FBack.Ensure();
    if (WindowExStyle() & WS_EX_TRANSPARENT) FBack.Clear(Region);
    return FBack.Canvas();
}

// A paint of the window: BeginPaint takes the part of the update region being painted and clips
// the canvas to it; the background when the region asks for it (a WS_EX_TRANSPARENT window starts
// from transparent pixels instead), then Paint, all into the backing image. Painted onto another
// canvas (PaintTo, a child showing its parent behind it), the whole face is painted anew and
// copied there; the update region stays as it is.
void TCustomControl::WMPaint(TWMPaint& Message) {
    auto face = [this](TCanvas* DC, bool Erase) {
        if (Erase) Perform(WM_ERASEBKGND, WPARAM(DC));
        PaintWindow(DC);
    };
    if (TCanvas* dc = Message.DC()) {
        TCanvas* own = PaintCanvas(QRegion(0, 0, Width(), Height()));
        FBack.Paint(dc, [&] { face(own, true); });
        return;
    }
    PAINTSTRUCT ps;
    StartPaint(ps);
    try {
        FBack.Paint(nullptr, [&] { face(ps.hdc, ps.fErase); });
    } catch (...) {
        FinishPaint(ps);
        throw;
    }
    FinishPaint(ps);
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

TCanvas* TGraphicControl::Canvas() {
    FBack.SetSize(Width(), Height());
    return FBack.Canvas();
}

QImage& TGraphicControl::BackImage() {
    FBack.SetSize(Width(), Height());
    return FBack.Image();
}

// A new size costs nothing until the control paints: the image follows then.
void TGraphicControl::BoundsChanged(bool Resized) {
    if (Resized) FBack.SetSize(Width(), Height());
    TControl::BoundsChanged(Resized);
}

void TGraphicControl::CanvasChanged(TObject*) {
    if (!FBack.Painting() && Parent() && Parent()->WidgetIfAllocated())
        Parent()->WidgetIfAllocated()->update();
}

const QImage& TGraphicControl::PaintImage() {
    TMessage m(WM_PAINT);
    Perform(m);
    return BackImage();
}

void TGraphicControl::Dispatch(TMessage& Message) {
    switch (Message.Msg) {
        case WM_PAINT: CallHandler<TWMPaint>(this, &TGraphicControl::WMPaint, Message); break;
        default: TControl::Dispatch(Message); break;
    }
}

void TGraphicControl::WMPaint(TWMPaint& Message) {
    FBack.SetSize(Width(), Height());
    FBack.Ensure();
    FBack.Paint(Message.DC(), [this] {
        FBack.Image().fill(Qt::transparent);
        Paint();
    });
}

void TGraphicControl::Paint() {}
