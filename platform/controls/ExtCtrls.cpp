#include "ExtCtrls.h"

#include "QtBridge.h"

#include <QTimer>

TTimer::TTimer(TComponent* AOwner) : TComponent(AOwner) {
    FTimer = new QTimer();
    QObject::connect(FTimer, &QTimer::timeout,
                     [this]() { TControlPrivate::Guard(this, [this] { Timer(); }); });
    UpdateTimer();
}

TTimer::~TTimer() {
    FTimer->stop();
    delete FTimer;
}

void TTimer::SetEnabled(bool Value) {
    if (FEnabled == Value) return;
    FEnabled = Value;
    UpdateTimer();
}

void TTimer::SetInterval(Cardinal Value) {
    FInterval = Value;
    UpdateTimer();
}

// Starts the count-down afresh (or stops the timer when it is off or has no interval).
void TTimer::UpdateTimer() {
    FTimer->stop();
    if (FEnabled && FInterval > 0 && !HasState(csDestroying))
        FTimer->start(int(std::min<Cardinal>(FInterval, 0x7FFFFFFF)));
}

void TTimer::Timer() {
    if (Assigned(OnTimer)) OnTimer(this);
}
