// The grid's default text editor: the platform grid's in-place edit, made a multi-line edit
// whose text starts 3 pixels in from the cell's left and top, with the character filters of the
// grid's text editor types, the clipboard rules, lookup completion from the grid's LookupItems,
// growing the cell while typing, and the keys that hand the edit back to the grid with
// validation (Enter, Esc, Tab, the arrows at the ends of the text).
#pragma once

#include "GridTypes.h"
#include "Grids.h"

#include <cstdint>

class TAdvStringGrid;

// Whether a number editor (edNumeric, edPositiveNumeric, edFloat, edPositiveFloat) takes the
// typed character Ch at the caret SelStart of Text with SelText selected; a refused digit-like
// character beeps. Characters outside a float editor's set pass only while Ctrl is down.
bool NumberCharAllowed(TEditorType Kind, Char Ch, const String& Text, int SelStart, const String& SelText);

// The paste of the grid's text editors, up to the new text: the clipboard's text through the
// grid's OnClipboardPaste and OnClipboardBeforePasteCell (Editor their sender), one trailing line
// break dropped, put in place of Text's selection (SelStart, SelLength) or at the caret. Gives the
// new text and its selection (the pasted text when something was selected, else the caret after
// it); false when nothing is to be pasted. A LengthLimit above 0 refuses a longer clipboard text
// or result.
bool ComposeCellPaste(TAdvStringGrid* Grid, TObject* Editor, int LengthLimit, const String& Text,
                      int SelStart, int SelLength, String& NewText, int& NewSelStart, int& NewSelLength);

class TAdvInplaceEdit : public TInplaceEdit {
public:
    explicit TAdvInplaceEdit(TComponent* AOwner);

    // Right-aligned text; changing it makes the window anew.
    bool VAlign() const { return FValign; }
    void SetVAlign(bool Value);
    // Word wrap (taken from the grid whenever the window is made); changing it makes the window
    // anew.
    bool WordWrap() const { return FWordWrap; }
    void SetWordWrap(bool Value);
    // The most characters the text may hold; 0 or less: no limit.
    int LengthLimit() const { return FLengthLimit; }
    void SetLengthLimit(int Value) { FLengthLimit = std::int16_t(Value); }

    // Lookup completion: completes the text from the grid's LookupItems after a key.
    void DoChange();

    void UpdateContents() override;
    void Dispatch(TMessage& Message) override;

protected:
    void CreateParams(TCreateParams& Params) override;
    void CreateWnd() override;
    void BoundsChanged(bool Resized) override;
    void KeyDown(Word& Key, TShiftState Shift) override;
    void KeyPress(Char& Key) override;
    void KeyUp(Word& Key, TShiftState Shift) override;
    void Change() override;
    // The Tab key is the editor's when the grid lets its editors take it.
    LRESULT DialogCode() const override;

private:
    void WMChar(TWMKey& Message);
    void WMKeyDown(TWMKey& Message);
    void WMKeyUp(TWMKey& Message);
    void WMPaste(TMessage& Message);
    void WMCopy(TMessage& Message);
    void WMCut(TMessage& Message);
    void WMSetFocus(TWMSetFocus& Message);
    void WMKillFocus(TWMKillFocus& Message);
    void WMLButtonDblClk(TWMMouse& Message);
    // The character filter of the grid's editor type; false when Ch was refused or dropped.
    bool FilterChar(Char& Ch);
    // The line of the caret and the line of the end of the text, as the edit window counts.
    int CaretLine();
    int LastLine();
    // Validation of T for the walks out of the editor: T becomes the current cell's text first.
    bool ValidateWalk(const String& T);
    // After a refused validation: the validated text back, all of it selected or the caret at
    // Caret (-1: the end), and the text validation compares against back to OldCellText.
    void RestoreAfterFailure(const String& OldCellText, int Caret);
    // The cursor walk out of the editor at the start (Left) or the end (Right) of its text.
    void CursorWalk(Word& Key, bool Left);
    void ApplyFormattingRect();
    // Shows Value as the editor's text without telling OnEditChange.
    void SetTextQuietly(const String& Value);

    int FSelKeyDown = 0;
    int FOldSelStart = 0;
    std::int16_t FLengthLimit = 0;
    bool FValign = false;
    bool FWordWrap = false;
    bool GotKey = false;
    bool FGotFocus = false;
    bool Workmode = true;
    TAdvStringGrid* FGrid;
    int FColE = 0, FRowE = 0;
    bool FAltBack = false;
    bool FPlacing = false;       // the editor is being placed on its cell
    bool FDropEnterChar = false; // a refused Enter: its character is not typed
};
