// The picture of a top-level window as it shows on the screen.
#pragma once

#include "Controls.h"

#include <QImage>
#include <QRegion>
#include <QWidget>

// The window of C grabbed and cut to its shape (the window system cuts a window to its mask; the
// headless one does not, so the tests do): pixels outside the shape are 0, fully transparent.
inline QImage ShownWindowImage(TWinControl* C) {
    QWidget* top = C->Widget()->window();
    QImage img = top->grab().toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied);
    const QRegion mask = top->mask();
    if (mask.isEmpty()) return img;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            if (!mask.contains(QPoint(x, y))) img.setPixel(x, y, 0);
    return img;
}
