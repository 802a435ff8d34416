// The platform's push button.
#pragma once

#include "StdCtrls.h"

// A click of the mouse, or Space, clicks it (Click, OnClick); its caption is the control's text.
class TButton : public TNativeControl {
public:
    explicit TButton(TComponent* AOwner);

    void Dispatch(TMessage& Message) override;

protected:
    QWidget* CreateNative(QWidget* Host) override;
    void UpdateNative() override;
    LRESULT DialogCode() const override { return DLGC_BUTTON; }
    bool PassesKey(Word Key, const TShiftState& Shift) const override;
};
