// A control as it shows on the screen, its native face and its frame included, for pixel tests.
#pragma once

#include "Controls.h"
#include "Graphics.h"

#include <QImage>

inline QImage ControlImage(TWinControl* Control) {
    auto* bmp = new TBitmap();
    bmp->SetSize(Control->Width(), Control->Height());
    Control->PaintTo(bmp->Canvas(), 0, 0);
    QImage img = bmp->Image().convertToFormat(QImage::Format_RGB32);
    TObject::Free(bmp);
    return img;
}
