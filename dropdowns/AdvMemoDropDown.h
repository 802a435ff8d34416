// The memo drop-down: a drop-down edit whose popup holds a multi-line memo. Its value is MemoText;
// the edit shows all of it while the editor is on, else its first line (followed by "..." when
// more lines follow, or cut to the edit's width). The memo holds an editable copy while the
// popup shows: every close commits it, a cancelled close resets it first. Keys typed in the
// memo stay there, except Alt, Esc and F4, which reach the edit and close or toggle the popup.
#pragma once

#include "AdvDropDown.h"

class TMemo;
class TPopupMenu;
class TStringList;

class TAdvMemoDropDown : public TAdvCustomDropDown {
public:
    explicit TAdvMemoDropDown(TComponent* AOwner);
    ~TAdvMemoDropDown() override;

    bool AutoDrop() const { return FAutoDrop; }
    void SetAutoDrop(bool Value) { FAutoDrop = Value; }
    TStringList* MemoText() const { return FMemoText; }
    void SetMemoText(TStrings* Value);
    // Not owned; handed to the memo when the popup opens.
    TPopupMenu* MemoPopup() const { return FMemoPopup; }
    void SetMemoPopup(TPopupMenu* Value) { FMemoPopup = Value; }
    TScrollStyle MemoScrollBars() const { return FMemoScrollBars; }
    void SetMemoScrollBars(TScrollStyle Value) { FMemoScrollBars = Value; }
    bool MemoReadOnly() const { return FMemoReadOnly; }
    void SetMemoReadOnly(bool Value);
    TMemo* Memo() const { return FMemo; }

    TNotifyEvent OnMemoChange;

protected:
    void CreateDropDownForm() override;
    void DoBeforeDropDown() override;
    void DoHideDropDown(bool CancelChanges) override;
    void DropDownFormHide(TObject* Sender) override;
    void DropDownControlKeyDown(TObject* Sender, Word& Key, TShiftState Shift) override;
    void DropDownControlKeyUp(TObject* Sender, Word& Key, TShiftState Shift) override;
    void DropDownControlKeyPress(TObject* Sender, Char& Key) override;
    void Change() override;
    void DoEnter() override;

private:
    // Writes the edit text shown for MemoText.
    void MemoTextChanged(TObject* Sender);

    TPopupMenu* FMemoPopup = nullptr;
    TStringList* FMemoText;
    TMemo* FMemo = nullptr;
    TScrollStyle FMemoScrollBars = ssNone;
    bool FMemoReadOnly = false;
    bool FInternalUpdate = false;
    bool FAutoDrop = false;
};
