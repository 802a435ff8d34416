// Extra controls of the class library. For now: the timer.
#pragma once

#include "Classes.h"

class QTimer;

// A timer: OnTimer every Interval milliseconds while Enabled. Setting Interval (even to the
// same value) or enabling starts the count-down again from the full interval.
class TTimer : public TComponent {
public:
    explicit TTimer(TComponent* AOwner);
    ~TTimer() override;

    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool Value);
    Cardinal Interval() const { return FInterval; }
    void SetInterval(Cardinal Value);

    TNotifyEvent OnTimer;

protected:
    virtual void Timer();

private:
    void UpdateTimer();

    QTimer* FTimer;
    bool FEnabled = true;
    Cardinal FInterval = 1000;
};
