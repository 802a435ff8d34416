// The grid's cell editors on the drop-downs: each wraps one drop-down control and ties it to the
// grid that owns it. The wrapper hands the grid's keys back to the grid, commits the value to the
// current cell with the grid's validation, raises the grid's OnEditChange and OnKeyPress, ends
// the edit when the focus leaves (HideInplaceEdit) and, for the text-typing kinds, puts the caret
// at the character the user clicked.
//
// The nine members are one family (TGridDropDownEditor) and differ only in the flags of their
// kind (TGridDropDownKind). What the grid stores on commit is chosen by the grid per editor type
// (CloseDropDownEditor): the text for most, the memo's lines, the colour, the image index.
#pragma once

#include "AdvCalculatorDropDown.h"
#include "AdvColorPickerDropDown.h"
#include "AdvDetailDropDown.h"
#include "AdvDropDown.h"
#include "AdvGridDropDown.h"
#include "AdvImagePickerDropDown.h"
#include "AdvMemoDropDown.h"
#include "AdvMultiColumnDropDown.h"
#include "AdvTimePickerDropDown.h"
#include "AdvTrackBarDropDown.h"

class TAdvStringGrid;

// How one member differs from the others.
struct TGridDropDownKind {
    bool ClaimsEnterEscape; // takes Enter and Escape from the form's dialog keys
    bool CaretAtClick;      // the caret goes to the clicked character when a click opened it
    bool PlainChange;       // its Change is the plain edit change (not the wrapped control's)
    bool FormattedText;     // writes its text through the drop-down's formatting Text setter
    bool CalcBeforeEnter;   // Enter completes a pending calculation before the text is read
    bool ColourKeys;        // Home ends the edit too; while dropped down only Tab, Enter and
                            // Escape are the grid's; Up and Down commit without validation
};

// TBase: the wrapped drop-down. Kind: the member's flags.
template <class TBase, const TGridDropDownKind& Kind> class TGridDropDownEditor : public TBase {
public:
    // The owner must be a TAdvStringGrid (or nil): any other component raises EInvalidCast.
    explicit TGridDropDownEditor(TComponent* AOwner);

    void Dispatch(TMessage& Message) override;

protected:
    void Change() override;
    void DoExit() override;
    void KeyDown(Word& Key, TShiftState Shift) override;
    void KeyPress(Char& Key) override;

    // The editor's text written back: formatted or as it stands (Kind.FormattedText).
    void WriteText(const String& Value);
    TAdvStringGrid* FGrid;

private:
    bool Forced = false;  // cleared at every key down
    bool WorkMode = true; // False after Backspace or Delete, True after any other key
};

extern const TGridDropDownKind GridTrackbarKind, GridMemoKind, GridCalculatorKind, GridTimepickerKind,
    GridDetailPickerKind, GridGridKind, GridAdvGridKind, GridColorKind, GridImageKind;

class TGridTrackbarDropDown : public TGridDropDownEditor<TAdvTrackBarDropDown, GridTrackbarKind> {
public:
    using TGridDropDownEditor::TGridDropDownEditor;
    // Does nothing.
    void DoChange() {}
};

class TGridMemoDropDown : public TGridDropDownEditor<TAdvMemoDropDown, GridMemoKind> {
public:
    using TGridDropDownEditor::TGridDropDownEditor;
};

class TGridCalculatorDropDown : public TGridDropDownEditor<TAdvCalculatorDropdown, GridCalculatorKind> {
public:
    using TGridDropDownEditor::TGridDropDownEditor;
};

class TGridTimepickerDropDown : public TGridDropDownEditor<TAdvTimePickerDropDown, GridTimepickerKind> {
public:
    // Without the drop-down's focus painting.
    explicit TGridTimepickerDropDown(TComponent* AOwner);
};

class TGridDetailPickerDropDown : public TGridDropDownEditor<TAdvDetailDropDown, GridDetailPickerKind> {
public:
    using TGridDropDownEditor::TGridDropDownEditor;
};

class TGridGridDropDown : public TGridDropDownEditor<TAdvMultiColumnDropDown, GridGridKind> {
public:
    using TGridDropDownEditor::TGridDropDownEditor;
};

class TGridAdvGridDropDown : public TGridDropDownEditor<TCustomAdvGridDropDown, GridAdvGridKind> {
public:
    using TGridDropDownEditor::TGridDropDownEditor;
    // The popup grid (EInvalidCast if it is not a TAdvStringGrid).
    TAdvStringGrid* Grid() const;
};

class TGridColorDropDown : public TGridDropDownEditor<TAdvColorPickerDropDown, GridColorKind> {
public:
    using TGridDropDownEditor::TGridDropDownEditor;
};

class TGridImageDropDown : public TGridDropDownEditor<TAdvImagePickerDropDown, GridImageKind> {
public:
    using TGridDropDownEditor::TGridDropDownEditor;
};
