// Custom cell editors: TEditLink, through which an application puts a control of its own into
// a cell (edCustom), over the cell or in a borderless pop-up window; and the edit and combo box
// the grid lays over a CONTROL tag of a cell's markup (TControlEdit, TControlCombo).
#pragma once

#include "AsgCombo.h"
#include "Classes.h"
#include "Controls.h"
#include "Mask.h"

#include <functional>

class TAdvStringGrid;
class TForm;

enum TEditStyle { esInplace, esPopup };

class TEditLink : public TComponent {
public:
    explicit TEditLink(TComponent* AOwner);
    // The pop-up window stays with the application; it no longer calls the link.
    ~TEditLink() override;

    // What a descendant overrides to serve its control. The control's key-down event is to
    // reach EditKeyDown; GetEditControl answers the control (the base: none); CreateEditor makes
    // it with AParent (the grid or the pop-up window) as parent, DestroyEditor frees it after a
    // pop-up edit; SetProperties applies the link's settings, SetCellProps the cell's colour and
    // font; GetEditorValue and SetEditorValue move the value between the control and the cell.
    virtual void EditKeyDown(TObject* Sender, Word& Key, TShiftState Shift);
    virtual TWinControl* GetEditControl() { return nullptr; }
    virtual void CreateEditor(TWinControl* /*AParent*/) {}
    virtual void DestroyEditor() {}
    // Shows, enables and focuses the control (Value False: the grid takes the focus); in place
    // the grid's message filter is laid over the control's window procedure.
    virtual void SetFocus(bool Value);
    // Places the control at r, less the grid's line width.
    virtual void SetRect(const TRect& r);
    virtual void SetVisible(bool Value);
    virtual void SetProperties() {}
    virtual void SetCellProps(TColor /*AColor*/, TFont* /*AFont*/) {}
    virtual String GetEditorValue() { return String(); }
    virtual void SetEditorValue(const String& /*s*/) {}

    // Ends the edit: the value goes into the cell, the grid closes the editor.
    void EditExit(TObject* Sender);
    // The pop-up window's deactivation: the value is committed (only stored while the link
    // itself hands the focus to the grid).
    void FormExit(TObject* Sender);
    // The pop-up window in the pop-up style, else the grid.
    TWinControl* GetParent();
    // The current cell's text, and a value stored into it.
    String GetCellValue();
    void SetCellValue(const String& s);
    void HideEditor();
    // The control's own window procedure back, and the control hidden (in place only).
    void RestoreWinProc();

    TAdvStringGrid* Grid() const { return FOwner; }
    TPoint EditCell() const { return FEditCell; }
    TForm* PopupForm() const { return FPopupForm; }
    bool SubClassed() const { return FSubClassed; }

    bool AutoPopupWidth() const { return FAutoPopupWidth; }
    void SetAutoPopupWidth(bool Value) { FAutoPopupWidth = Value; }
    TEditStyle EditStyle() const { return FEditStyle; }
    void SetEditStyle(TEditStyle Value) { FEditStyle = Value; }
    int PopupLeft() const { return FPopupLeft; }
    void SetPopupLeft(int Value) { FPopupLeft = Value; }
    int PopupTop() const { return FPopupTop; }
    void SetPopupTop(int Value) { FPopupTop = Value; }
    int PopupWidth() const { return FPopupWidth; }
    void SetPopupWidth(int Value) { FPopupWidth = Value; }
    int PopupHeight() const { return FPopupHeight; }
    void SetPopupHeight(int Value) { FPopupHeight = Value; }
    bool WantKeyLeftRight() const { return FWantKeyLeftRight; }
    void SetWantKeyLeftRight(bool Value) { FWantKeyLeftRight = Value; }
    bool WantKeyUpDown() const { return FWantKeyUpDown; }
    void SetWantKeyUpDown(bool Value) { FWantKeyUpDown = Value; }
    bool WantKeyHomeEnd() const { return FWantKeyHomeEnd; }
    void SetWantKeyHomeEnd(bool Value) { FWantKeyHomeEnd = Value; }
    bool WantKeyPriorNext() const { return FWantKeyPriorNext; }
    void SetWantKeyPriorNext(bool Value) { FWantKeyPriorNext = Value; }
    bool WantKeyReturn() const { return FWantKeyReturn; }
    void SetWantKeyReturn(bool Value) { FWantKeyReturn = Value; }
    bool WantKeyEscape() const { return FWantKeyEscape; }
    void SetWantKeyEscape(bool Value) { FWantKeyEscape = Value; }
    // Stored only: nothing in the grid reads it.
    bool WantReturns() const { return FWantReturns; }
    void SetWantReturns(bool Value) { FWantReturns = Value; }
    bool WantTabs() const { return FWantTabs; }
    void SetWantTabs(bool Value) { FWantTabs = Value; }
    int Tag() const { return FTag; }
    void SetTag(int Value) { FTag = Value; }

protected:
    // The pop-up window freed elsewhere (a second "gridform" replaces it) is forgotten.
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    friend class TAdvStringGrid;
    // Hands the focus to the grid while the pop-up window's deactivation only stores the value.
    void ForcedGridFocus();
    // Ends the edit and commits the value to the current cell.
    void Commit();
    // The pop-up edit's end: the control freed, the window hidden.
    void ClosePopup();

    TAdvStringGrid* FOwner = nullptr;
    bool FWantKeyLeftRight = false;
    bool FWantKeyUpDown = false;
    bool FWantKeyHomeEnd = false;
    bool FWantKeyPriorNext = false;
    bool FWantKeyReturn = false;
    bool FWantKeyEscape = false;
    TEditStyle FEditStyle = esInplace;
    TForm* FPopupForm = nullptr;
    int FPopupWidth = 0;
    int FPopupHeight = 0;
    bool FForcedExit = false;
    TPoint FEditCell{0, 0};
    int FTag = 0;
    bool FAutoPopupWidth = false;
    int FPopupLeft = -1;
    int FPopupTop = -1;
    bool FSubClassed = false;
    bool FWantReturns = false;
    bool FWantTabs = false;
    bool FExiting = false; // EditExit runs: the window's deactivation while it hides is ours
};

// The edit over an EDIT, PASSWORD or MASK tag: Enter commits, Tab commits and moves on.
class TControlEdit : public TMaskEdit {
public:
    explicit TControlEdit(TComponent* AOwner) : TMaskEdit(AOwner) {}
    void Dispatch(TMessage& Message) override;
    // Enter and Tab in a markup-control editor on Grid (shared with TControlCombo): Key := #0,
    // the control's exit handling commits the value; Enter gives the grid the focus, Tab moves
    // on (AdvanceAuto) or opens the cell's next CONTROL tag. False for any other key.
    static bool GridKeyPress(TAdvStringGrid* Grid, Char& Key, const std::function<void()>& ExitHandling);

protected:
    void KeyPress(Char& Key) override;
};

// The combo box over a COMBO tag: Enter commits, Tab commits and moves on.
class TControlCombo : public TAsgComboBox {
public:
    explicit TControlCombo(TComponent* AOwner) : TAsgComboBox(AOwner) {}
    void Dispatch(TMessage& Message) override;

protected:
    void KeyPress(Char& Key) override;
};
