#include "NativeFace.h"

#include "Graphics.h"
#include "QtBridge.h"
#include "StdCtrls.h"

#include <QPainter>
#include <QWidget>

void PaintNativeThroughMessages(TWinControl* Control, QWidget* Widget) {
    if (Widget->width() <= 0 || Widget->height() <= 0) return;
    QImage image(Widget->size(), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    auto* canvas = new TCanvas();
    canvas->SetTarget(&image);
    TControlPrivate::Guard(Control, [&] {
        Control->Perform(WM_PAINT, WPARAM(canvas), 0);
        canvas->ResetClip();
        Control->Perform(WM_NCPAINT, WPARAM(canvas), 0);
    });
    TObject::Free(canvas);
    QPainter painter(Widget);
    painter.drawImage(0, 0, image);
}

void TNativeControl::PaintWindow(TCanvas* Canvas) {
    auto* face = dynamic_cast<INativeFace*>(NativeWidget());
    if (!face || !Canvas || !Canvas->Target()) return;
    QPainter painter(Canvas->Target());
    if (Canvas->HasClip()) painter.setClipRegion(Canvas->ClipRegion());
    painter.translate(NativeWidget()->pos());
    face->PaintFace(painter);
}
