// The grid's editor controls: the thin subclasses that bind the base editor controls (spin,
// combo, date picker, edit with a button, value-plus-unit edit) and the standard check box and
// push button to their owner grid, and the fixed-cell editors. The grid makes them, lays them
// over the edited cell, fills them when editing starts and reads them back when it ends; each
// keeps its grid in FGrid (the constructor's owner, nullptr when that is no grid).
//
// What they share: losing the focus has the grid hide the editor (which commits) before the
// base exit handling, and a change of the text tells the grid's OnEditChange. Their own keys,
// lookup and validation are not built yet: keys reach the base controls unchanged.
#pragma once

#include "AdvDateTimePicker.h"
#include "AsgCombo.h"
#include "AsgDateTimePicker.h"
#include "AsgEditBtn.h"
#include "AsgSpin.h"
#include "StdButton.h"
#include "StdCtrls.h"

#include <cstdint>

class TAdvStringGrid;

// The check-box cell editor.
class TGridCheckBox : public TCheckBox {
public:
    explicit TGridCheckBox(TComponent* AOwner);
    void ReCreate() { RecreateWnd(); }

protected:
    void DoExit() override;

    TAdvStringGrid* FGrid;
};

// The spin cell editor (integer, float, date and time spin types).
class TGridSpin : public TAsgSpinEdit {
public:
    explicit TGridSpin(TComponent* AOwner);
    void ReCreate() { RecreateWnd(); }

protected:
    void DoExit() override;
    void Change() override;

    TAdvStringGrid* FGrid;
};

// The combo cell editor (edComboEdit: drop-down, edComboList: drop-down list).
class TGridCombo : public TAsgComboBox {
public:
    explicit TGridCombo(TComponent* AOwner);

    bool Forced = false;     // cleared at each key-down
    bool WorkMode = true;    // lookup completion allowed
    int ItemIdx = 0;         // index of the last lookup match
    bool ItemChange = false; // a lookup match was applied
    TNotifyEvent OnReturnKey;

protected:
    void DoExit() override;
    void Change() override;

    TAdvStringGrid* FGrid;
};

// The date and time cell editor (edDateEdit, edDateEditUpDown, edTimeEdit).
class TGridDatePicker : public TAsgDateTimePicker {
public:
    explicit TGridDatePicker(TComponent* AOwner);
    void ReCreate() { RecreateWnd(); }

    bool Weeknumbers() const { return FWeekNumbers; }
    void SetWeeknumbers(bool Value) { FWeekNumbers = Value; }
    bool ShowToday() const { return FShowToday; }
    void SetShowToday(bool Value) { FShowToday = Value; }
    bool ShowTodayCircle() const { return FShowTodayCircle; }
    void SetShowTodayCircle(bool Value) { FShowTodayCircle = Value; }

    // Moves to the next field once a typed digit completed the field being typed.
    virtual void ShiftFocus();

protected:
    void DoExit() override;

    TAdvStringGrid* FGrid;
    // The value before the last digit key: year, month, day, hour, minute, second, millisecond.
    std::uint16_t Fy = 0, Fm = 0, Fd = 0, Fth = 0, Ftm = 0, Fts = 0, Ftms = 0;
    bool FOldDropped = false; // the calendar is open
    bool FWeekNumbers = false;
    bool FShowToday = true;
    bool FShowTodayCircle = true;
};

// The date-and-time cell editor (edDateTimeEdit).
class TGridDateTimePicker : public TAdvDateTimePicker {
public:
    explicit TGridDateTimePicker(TComponent* AOwner);

protected:
    TAdvStringGrid* FGrid;
};

// The edit-with-button cell editor (edEditBtn, edNumericEditBtn, edFloatEditBtn,
// edMaskEditBtn). A click of its button hands the text to the grid's OnEllipsClick and shows
// what that gives, all of it selected; with StopEditAfterClick the edit then ends.
class TGridEditBtn : public TAsgEditBtn {
public:
    explicit TGridEditBtn(TComponent* AOwner);
    void ReCreate() { RecreateWnd(); }

    bool StopEditAfterClick() const { return FStopEditAfterClick; }
    void SetStopEditAfterClick(bool Value) { FStopEditAfterClick = Value; }

    bool WorkMode = true; // lookup completion allowed

protected:
    void DoExit() override;
    void Change() override;
    void EditBtnClick(TObject* Sender);

    TAdvStringGrid* FGrid;
    int FSelKeyDown = 0; // the caret position at the last key-down
    bool FStopEditAfterClick = false;
};

// The value-plus-unit cell editor (edUnitEditBtn, edNumericUnitEditBtn, edFloatUnitEditBtn).
class TGridUnitEditBtn : public TAsgUnitEditBtn {
public:
    explicit TGridUnitEditBtn(TComponent* AOwner);
    void ReCreate() { RecreateWnd(); }

protected:
    void DoExit() override;
    void EditBtnClick(TObject* Sender);

    TAdvStringGrid* FGrid;
};

// The push-button cell editor (edButton); its caption is the cell's text.
class TGridButton : public TButton {
public:
    explicit TGridButton(TComponent* AOwner);
    void ReCreate() { RecreateWnd(); }

    String Text() const { return Caption(); }
    void SetText(const String& Value) { SetCaption(Value); }

protected:
    void DoExit() override;

    TAdvStringGrid* FGrid;
};

// The fixed-cell editors: an edit and a combo laid over a fixed cell. Enter does not type; the
// edit ends when the editor loses the focus. StopEdit asks the grid's OnCellValidate: refused,
// the grid's current cell moves to the fixed cell's column and row and the editor keeps the
// focus (the answer is False); accepted, OnEditingDone fires, the cell takes the text and the
// editor hides (True).
class TGridTransEdit : public TCustomEdit {
public:
    explicit TGridTransEdit(TComponent* AOwner);
    bool StopEdit();

    int FRow = 0; // the fixed cell's row
    int FCol = 0; // the fixed cell's real column

protected:
    void KeyPress(Char& Key) override;
    void DoExit() override;

    TAdvStringGrid* FGrid;
};

class TGridTransCombo : public TCustomComboBox {
public:
    explicit TGridTransCombo(TComponent* AOwner);
    bool StopEdit();

    int FRow = 0;
    int FCol = 0;

protected:
    void KeyPress(Char& Key) override;
    void DoExit() override;

    TAdvStringGrid* FGrid;
};
