// The check list box: a list box whose items each carry a check box. A click on an item's box
// (or the space key on the current item) ticks or unticks it and tells OnClickCheck.
#pragma once

#include "StdCtrls.h"

#include <vector>

class TCheckListBox : public TCustomListBox {
public:
    explicit TCheckListBox(TComponent* AOwner);

    // The check state of item Index; an index outside the items reads False and writes nothing.
    bool Checked(int Index) const;
    void SetChecked(int Index, bool Value);

    // A tick or untick by the user.
    TNotifyEvent OnClickCheck;

protected:
    QWidget* CreateNative(QWidget* Host) override;
    void UpdateNative() override;
    void ItemsChanged() override;
    virtual void ClickCheck();

private:
    void NativeItemChanged(int Row, bool Value);
    std::vector<bool> FChecked;
};
