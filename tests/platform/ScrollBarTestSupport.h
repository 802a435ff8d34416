// Working a window's scroll bar as the user does: the Qt scroll bar that shows it, the place of
// its parts, clicks on them and drags of the thumb.
#pragma once

#include "Controls.h"

#include <QCoreApplication>
#include <QMouseEvent>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionSlider>
#include <QWidget>

namespace ScrollBarTestSupport {

// The Qt scroll bar that shows a window's bar.
inline QScrollBar* BarWidget(TWinControl* C, Qt::Orientation Orientation) {
    QWidget* frame = C->Widget()->parentWidget();
    if (!frame) return nullptr;
    for (QScrollBar* b : frame->findChildren<QScrollBar*>())
        if (b->orientation() == Orientation) return b;
    return nullptr;
}

inline QRect PartOf(QScrollBar* B, QStyle::SubControl Part) {
    QStyleOptionSlider opt;
    opt.initFrom(B);
    opt.orientation = B->orientation();
    if (B->orientation() == Qt::Horizontal) opt.state |= QStyle::State_Horizontal;
    opt.minimum = B->minimum();
    opt.maximum = B->maximum();
    opt.sliderPosition = B->sliderPosition();
    opt.sliderValue = B->value();
    opt.singleStep = B->singleStep();
    opt.pageStep = B->pageStep();
    opt.subControls = QStyle::SC_All;
    return B->style()->subControlRect(QStyle::CC_ScrollBar, &opt, Part, B);
}

inline void BarMouse(QScrollBar* B, QEvent::Type Type, QPoint At, Qt::MouseButtons Buttons) {
    QMouseEvent e(Type, QPointF(At), QPointF(B->mapToGlobal(At)),
                  Type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton, Buttons, Qt::NoModifier);
    QCoreApplication::sendEvent(B, &e);
}

inline void ClickPart(QScrollBar* B, QStyle::SubControl Part) {
    const QPoint at = PartOf(B, Part).center();
    BarMouse(B, QEvent::MouseButtonPress, at, Qt::LeftButton);
    BarMouse(B, QEvent::MouseButtonRelease, at, Qt::NoButton);
}

// Drags the thumb by Delta pixels along the bar.
inline void DragThumb(QScrollBar* B, int Delta) {
    const QPoint from = PartOf(B, QStyle::SC_ScrollBarSlider).center();
    const QPoint step = B->orientation() == Qt::Vertical ? QPoint(0, Delta) : QPoint(Delta, 0);
    BarMouse(B, QEvent::MouseButtonPress, from, Qt::LeftButton);
    BarMouse(B, QEvent::MouseMove, from + step / 2, Qt::LeftButton);
    BarMouse(B, QEvent::MouseMove, from + step, Qt::LeftButton);
    BarMouse(B, QEvent::MouseButtonRelease, from + step, Qt::NoButton);
}

} // namespace ScrollBarTestSupport
