// Private glue of the standard controls whose face is a Qt widget painted through the control's
// messages, so that a control can paint before, around and after the platform's own painting
// (as a subclassed window of the platform does). Only the platform's own sources include this.
#pragma once

#include "Controls.h"

class QPainter;
class QWidget;

// A native widget that can paint its face (what Qt paints for it) onto any painter.
class INativeFace {
public:
    virtual ~INativeFace() = default;
    // Paints the face as the widget's own paint event would, in widget coordinates.
    virtual void PaintFace(QPainter& Painter) = 0;
};

// The paint event of Widget (the native widget of Control, at its client origin): a canvas over
// a transparent image of the widget's size goes through WM_PAINT (whose default handling paints
// the face, within the canvas's clip) and then WM_NCPAINT (window coordinates: the control has
// no non-client area of its own), and the image is shown.
void PaintNativeThroughMessages(TWinControl* Control, QWidget* Widget);
