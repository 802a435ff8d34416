// The grid's editor controls: the thin subclasses that bind the base editor controls (spin,
// combo, date picker, edit with a button, value-plus-unit edit) and the standard check box and
// push button to their owner grid, and the fixed-cell editors. The grid makes them, lays them
// over the edited cell, fills them when editing starts and reads them back when it ends; each
// keeps its grid in FGrid (the constructor's owner, nullptr when that is no grid).
//
// What they share: losing the focus has the grid hide the editor (which commits) before the
// base exit handling, and a change of the text tells the grid's OnEditChange (not while the
// grid loads the editor). Enter, Esc, Tab and the arrows end an edit the way the grid's
// Navigation asks; Enter, Up, Down and Tab first validate the text (a refusal keeps the editor
// open on the cell, consumes the key and keeps the grid from advancing on the key-up). The
// want-special-key query claims the keys an editor ends edits with, so that the form does not
// take them.
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

// The grid unit's format-setting getters (GetTimeSeparator, GetShortDateFormat, ...) are the
// platform's (SysUtils.h).
// Adds WS_EX_TRANSPARENT to the window's extended style.
void SetWindowTransparent(HWND Window);
// Keeps the focus frame of the grid that shows one around its current cell whenever a window
// of the application moved or changed its size; installed once, on the first focus frame.
void CallWndProcHook(TWinControl* Window);
void InstallCallWndProcHook();

// The check-box cell editor.
// The box toggles once per user action: by the check box's own click and Space handling.
class TGridCheckBox : public TCheckBox {
public:
    explicit TGridCheckBox(TComponent* AOwner);
    void ReCreate() { RecreateWnd(); }
    void Dispatch(TMessage& Message) override;

protected:
    void DoExit() override;
    void KeyDown(Word& Key, TShiftState Shift) override;

    TAdvStringGrid* FGrid;
};

// The spin cell editor (integer, float, date and time spin types).
class TGridSpin : public TAsgSpinEdit {
public:
    explicit TGridSpin(TComponent* AOwner);
    void ReCreate() { RecreateWnd(); }
    void Dispatch(TMessage& Message) override;
    // The base step, then the grid's spin event of the spin type (UpDown True for up).
    void UpButtonClick(TObject* Sender) override;
    void DownButtonClick(TObject* Sender) override;

protected:
    void DoExit() override;
    void Change() override;
    void KeyDown(Word& Key, TShiftState Shift) override;
    void KeyPress(Char& Key) override;
    void FireSpinClick(bool UpDown);

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

    void Dispatch(TMessage& Message) override;
    // Widens the drop-down list to its widest item on the grid's canvas.
    void SizeDropDownWidth();
    // Completes the text from the items (then the grid's LookupItems) while the grid's Lookup
    // is on.
    void DoChange();

protected:
    void DoExit() override;
    void Change() override;
    void KeyDown(Word& Key, TShiftState Shift) override;
    void KeyPress(Char& Key) override;
    void KeyUp(Word& Key, TShiftState Shift) override;
    void FireComboChange();

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
    void Dispatch(TMessage& Message) override;
    void WndProc(TMessage& Message) override;

protected:
    void DoExit() override;
    void KeyDown(Word& Key, TShiftState Shift) override;
    void KeyPress(Char& Key) override;
    void DropDown() override;
    void CloseUp() override;

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
    void Dispatch(TMessage& Message) override;

protected:
    void KeyDown(Word& Key, TShiftState Shift) override;
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
    void Dispatch(TMessage& Message) override;

protected:
    void DoExit() override;
    void Change() override;
    void KeyDown(Word& Key, TShiftState Shift) override;
    void KeyPress(Char& Key) override;
    void KeyUp(Word& Key, TShiftState Shift) override;
    void EditBtnClick(TObject* Sender);
    void DoLookup();

    TAdvStringGrid* FGrid;
    int FSelKeyDown = 0; // the caret position at the last key-down
    bool FStopEditAfterClick = false;
};

// The value-plus-unit cell editor (edUnitEditBtn, edNumericUnitEditBtn, edFloatUnitEditBtn).
class TGridUnitEditBtn : public TAsgUnitEditBtn {
public:
    explicit TGridUnitEditBtn(TComponent* AOwner);
    void ReCreate() { RecreateWnd(); }
    void Dispatch(TMessage& Message) override;

protected:
    void DoExit() override;
    void KeyDown(Word& Key, TShiftState Shift) override;
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
    void Dispatch(TMessage& Message) override;

protected:
    void DoExit() override;
    void KeyDown(Word& Key, TShiftState Shift) override;
    void KeyUp(Word& Key, TShiftState Shift) override;
    // The caption through the grid's OnEllipsClick.
    void ExchangeCaption();

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
