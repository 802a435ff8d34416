// The filter drop-down of the grid: the plain list (TDropList) and the check list
// (TDropCheckList) that a column's filter button opens, and TNoActiveForm, the borderless window
// that never takes the activation from the form (the drag image of column and row moves).
#pragma once

#include "CheckLst.h"
#include "Forms.h"
#include "StdCtrls.h"

class TAdvStringGrid;

using TDropSelectEvent = TEvent<TObject*, int /*ItemIndex*/>;

// The plain list: Return or a mouse release picks the item under the cursor and closes the list;
// Esc closes it without a pick.
class TDropList : public TListBox {
public:
    explicit TDropList(TComponent* AOwner) : TListBox(AOwner) {}
    void Dispatch(TMessage& Message) override;
    TDropSelectEvent OnSelect;

protected:
    void KeyDown(Word& Key, TShiftState Shift) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
};

// The check list: each tick or untick reports OnSelect(-1); the list stays open until the focus
// leaves it, Esc, or a cancel-mode message with the cursor outside it.
class TDropCheckList : public TCheckListBox {
public:
    explicit TDropCheckList(TComponent* AOwner) : TCheckListBox(AOwner) {}
    void Dispatch(TMessage& Message) override;
    TDropSelectEvent OnSelect;

protected:
    void KeyDown(Word& Key, TShiftState Shift) override;
    void ClickCheck() override;
};

// A pop-up window that is never activated: showing it or clicking it leaves the activation and
// the keyboard with the form that was active.
class TNoActiveForm : public TForm {
public:
    explicit TNoActiveForm(TComponent* AOwner) : TForm(AOwner) {}
    void Dispatch(TMessage& Message) override;

protected:
    void CreateParams(TCreateParams& Params) override;
};
