// Masked edits: the class library's edit-mask format and the edit that keeps to it.
//
// A mask is "picture;save;blank". The picture holds one position per character of the edit
// text, written as:
//   L letter, l optional letter, A letter or digit, a optional letter or digit, C any character,
//   c optional any character, 0 digit, 9 optional digit, # optional digit or sign (+ or -);
//   : and / the locale's time and date separators, _ a blank, \x the literal x, any other
//   character itself as a literal;
//   > upper case from here, < lower case from here, <> no case change (these take no position);
//   ! optional characters are kept as leading blanks (the text is aligned to the right).
// "save" 0 leaves the literals out of Text (default 1: they stay); "blank" is the character
// shown where nothing was typed (default "_"), a space in Text.
#pragma once

#include "StdCtrls.h"

#include <vector>

// Raised by TCustomMaskEdit::ValidateEdit.
class EDBEditError : public Exception {
    using Exception::Exception;
};

class TEditMask {
public:
    TEditMask() = default;
    explicit TEditMask(const String& Mask);

    bool IsEmpty() const { return FPositions.empty(); }
    int Length() const { return int(FPositions.size()); }
    bool SaveLiterals() const { return FSaveLiterals; }
    Char Blank() const { return FBlank; }
    bool IsLiteral(int Pos) const { return FPositions[size_t(Pos)].Literal.unicode() != 0; }
    // Whether Ch may stand at the edit position Pos; Ch gets the position's case.
    bool Accepts(int Pos, Char& Ch) const;
    // The edit text with nothing typed: literals and blanks.
    String EmptyText() const;
    // The edit text for a Text: with saved literals each field of Value between literals fills
    // its run of positions, otherwise Value's characters fill the edit positions in order;
    // a shorter field is padded (on the left with "!"), a longer one cut. Characters are placed
    // as they come, so a Value that does not fit the picture is shown rather than lost.
    String EditTextOf(const String& Value) const;
    // Text for an edit text: blanks become spaces, literals stay only when saved.
    String TextOf(const String& EditText) const;
    // False when a required position of EditText is blank or holds what it does not accept;
    // Pos is then that position.
    bool Validate(const String& EditText, int& Pos) const;

private:
    struct TPosition {
        Char Kind;    // the picture character, 0 for a literal
        Char Literal; // the literal shown, 0 for an edit position
        int Case = 0; // 1 upper, -1 lower
    };
    std::vector<TPosition> FPositions;
    bool FSaveLiterals = true;
    bool FLeadingBlanks = false;
    Char FBlank = Char(u'_');
};

// An edit with an EditMask: typing overwrites one edit position at a time and skips the
// literals; a character the position does not take is refused with a beep; Backspace and
// Delete blank positions instead of moving text. Without a mask it is a plain edit.
class TCustomMaskEdit : public TCustomEdit {
public:
    explicit TCustomMaskEdit(TComponent* AOwner);

    String EditMask() const { return FMaskText; }
    // A new mask shows the present Text in it.
    void SetEditMask(const String& Value);
    bool IsMasked() const { return !FMask.IsEmpty(); }
    const TEditMask& Mask() const { return FMask; }
    // The text as shown, blanks and literals included.
    String EditText() const { return TCustomEdit::GetText(); }
    void SetEditText(const String& Value);
    // Raises EDBEditError when the text leaves a required position empty (the caret goes there).
    virtual void ValidateEdit();
    // Back to the text the edit had when it was entered or last set by code.
    void Reset();

    void Dispatch(TMessage& Message) override;
    void DefaultHandler(TMessage& Message) override;

protected:
    String GetText() const override;
    bool PassesKey(Word Key, const TShiftState& Shift) const override;
    void KeyDown(Word& Key, TShiftState Shift) override;
    void DoEnter() override;
    void DoExit() override;

private:
    // Types Ch at the caret; false when it was refused.
    bool TypeMasked(Char Ch);
    void BlankSelection(bool Backwards);
    void PasteMasked();

    String FMaskText;
    TEditMask FMask;
    String FOldEditText;
};

class TMaskEdit : public TCustomMaskEdit {
public:
    explicit TMaskEdit(TComponent* AOwner) : TCustomMaskEdit(AOwner) {}
};
