// The track bar of the common controls.
#include "ComCtrls.h"

#include <QSlider>

#include <algorithm>

TTrackBar::TTrackBar(TComponent* AOwner) : TNativeControl(AOwner) {
    FControlStyle = {csCaptureMouse, csClickEvents, csFixedHeight};
    SetBounds(0, 0, 150, 45);
    SetTabStop(true);
}

QWidget* TTrackBar::CreateNative(QWidget* Host) {
    FSlider = new QSlider(FOrientation == trHorizontal ? Qt::Horizontal : Qt::Vertical, Host);
    FSlider->setTickPosition(QSlider::TicksBelow);
    QObject::connect(FSlider, &QSlider::valueChanged, FSlider, [this](int Value) { SliderMoved(Value); });
    return FSlider;
}

void TTrackBar::UpdateNative() {
    TNativeControl::UpdateNative();
    if (!FSlider) return;
    FUpdating = true;
    FSlider->setRange(FMin, FMax);
    FSlider->setValue(FPosition);
    FSlider->setPageStep(std::max(1, FPageSize));
    FSlider->setSingleStep(1);
    FSlider->setTickInterval(std::max(1, FFrequency));
    FUpdating = false;
}

void TTrackBar::SliderMoved(int Value) {
    if (FUpdating || Value == FPosition) return;
    FPosition = std::clamp(Value, FMin, FMax);
    Changed();
}

void TTrackBar::SetMin(int Value) {
    if (Value > FMax || Value == FMin) return;
    FMin = Value;
    UpdateNative();
    SetPosition(FPosition);
}

void TTrackBar::SetMax(int Value) {
    if (Value < FMin || Value == FMax) return;
    FMax = Value;
    UpdateNative();
    SetPosition(FPosition);
}

void TTrackBar::SetPosition(int Value) {
    Value = std::clamp(Value, FMin, FMax);
    if (Value == FPosition) return;
    FPosition = Value;
    UpdateNative();
    Changed();
}

void TTrackBar::SetPageSize(int Value) {
    FPageSize = Value;
    UpdateNative();
}

void TTrackBar::SetFrequency(int Value) {
    FFrequency = Value;
    UpdateNative();
}

void TTrackBar::SetOrientation(TTrackBarOrientation Value) {
    if (Value == FOrientation) return;
    FOrientation = Value;
    if (!HasState(csLoading)) SetBounds(Left(), Top(), Height(), Width());
    RecreateWnd();
}

void TTrackBar::Changed() {
    if (Assigned(OnChange)) OnChange(this);
}
