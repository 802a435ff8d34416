#include "Mask.h"

#include "EditBox.h"
#include "Forms.h"
#include "SysUtils.h"

#include <QApplication>
#include <QClipboard>

#include <algorithm>

// =============================================================================================
// TEditMask

TEditMask::TEditMask(const String& Mask) {
    // "picture;save;blank": the last two fields are read from the end, so a picture may hold
    // an escaped ";".
    String picture = Mask;
    const qsizetype last = picture.lastIndexOf(u';');
    if (last >= 0 && last >= picture.size() - 2 && (last == 0 || picture[last - 1] != u'\\')) {
        const qsizetype second = picture.lastIndexOf(u';', last - 1);
        if (second >= 0 && second == last - 2 && (second == 0 || picture[second - 1] != u'\\')) {
            FSaveLiterals = picture[second + 1] != u'0';
            if (last + 1 < picture.size()) FBlank = picture[last + 1];
            picture.truncate(second);
        } else if (last == picture.size() - 2) {
            FSaveLiterals = picture[last + 1] != u'0';
            picture.truncate(last);
        }
    }
    int letterCase = 0;
    for (qsizetype i = 0; i < picture.size(); ++i) {
        const Char c = picture[i];
        TPosition p;
        switch (c.unicode()) {
            case u'!': FLeadingBlanks = true; continue;
            case u'>': letterCase = 1; continue;
            case u'<':
                if (i + 1 < picture.size() && picture[i + 1] == u'>') {
                    ++i;
                    letterCase = 0;
                } else {
                    letterCase = -1;
                }
                continue;
            case u'\\':
                if (++i >= picture.size()) continue;
                p.Literal = picture[i];
                break;
            case u'L':
            case u'l':
            case u'A':
            case u'a':
            case u'C':
            case u'c':
            case u'0':
            case u'9':
            case u'#':
                p.Kind = c;
                p.Case = letterCase;
                break;
            case u':': p.Literal = FormatSettings.TimeSeparator; break;
            case u'/': p.Literal = FormatSettings.DateSeparator; break;
            case u'_': p.Literal = Char(u' '); break;
            default: p.Literal = c; break;
        }
        FPositions.push_back(p);
    }
}

bool TEditMask::Accepts(int Pos, Char& Ch) const {
    const TPosition& p = FPositions[size_t(Pos)];
    if (p.Literal.unicode()) return Ch == p.Literal;
    bool ok = false;
    switch (p.Kind.unicode()) {
        case u'L':
        case u'l': ok = Ch.isLetter(); break;
        case u'A':
        case u'a': ok = Ch.isLetterOrNumber(); break;
        case u'C':
        case u'c': ok = Ch.unicode() >= 32; break;
        case u'0':
        case u'9': ok = Ch >= u'0' && Ch <= u'9'; break;
        case u'#': ok = (Ch >= u'0' && Ch <= u'9') || Ch == u'+' || Ch == u'-'; break;
        default: break;
    }
    if (ok && p.Case > 0) Ch = Ch.toUpper();
    if (ok && p.Case < 0) Ch = Ch.toLower();
    return ok;
}

String TEditMask::EmptyText() const {
    String t;
    t.reserve(Length());
    for (const TPosition& p : FPositions) t += p.Literal.unicode() ? p.Literal : FBlank;
    return t;
}

String TEditMask::EditTextOf(const String& Value) const {
    String t = EmptyText();
    // Fills the edit positions [From, To) from Chars, aligned as "!" says.
    auto fill = [&](int From, int To, const String& Chars) {
        std::vector<int> cells;
        for (int i = From; i < To; ++i)
            if (!IsLiteral(i)) cells.push_back(i);
        const int n = std::min(int(cells.size()), int(Chars.size()));
        const int skip = FLeadingBlanks ? int(cells.size()) - n : 0;
        for (int k = 0; k < n; ++k) {
            const Char c = Chars[k];
            t[cells[size_t(skip + k)]] = c == u' ' ? FBlank : c;
        }
    };
    if (!FSaveLiterals) {
        fill(0, Length(), Value);
        return t;
    }
    // Each run of edit positions takes Value up to the literal that follows the run.
    qsizetype at = 0;
    int pos = 0;
    while (pos < Length()) {
        if (IsLiteral(pos)) {
            if (at < Value.size() && Value[at] == FPositions[size_t(pos)].Literal) ++at;
            ++pos;
            continue;
        }
        int end = pos;
        while (end < Length() && !IsLiteral(end)) ++end;
        // Without its literal in Value the run takes as many characters as it has positions.
        qsizetype stop = std::min(Value.size(), at + (end - pos));
        if (end < Length()) {
            const qsizetype found = Value.indexOf(FPositions[size_t(end)].Literal, at);
            if (found >= 0) stop = found;
        }
        fill(pos, end, Value.mid(at, stop - at));
        at = stop;
        pos = end;
    }
    return t;
}

String TEditMask::TextOf(const String& EditText) const {
    String t;
    for (int i = 0; i < Length() && i < EditText.size(); ++i) {
        if (IsLiteral(i)) {
            if (FSaveLiterals) t += EditText[i];
            continue;
        }
        t += EditText[i] == FBlank ? Char(u' ') : EditText[i];
    }
    return t;
}

bool TEditMask::Validate(const String& EditText, int& Pos) const {
    for (int i = 0; i < Length(); ++i) {
        if (IsLiteral(i)) continue;
        Char c = i < EditText.size() ? EditText[i] : FBlank;
        const Char kind = FPositions[size_t(i)].Kind;
        const bool required = kind == u'L' || kind == u'A' || kind == u'C' || kind == u'0';
        if (c == FBlank || c == u' ') {
            if (!required) continue;
        } else if (Accepts(i, c)) {
            continue;
        }
        Pos = i;
        return false;
    }
    Pos = -1;
    return true;
}

// =============================================================================================
// TCustomMaskEdit

TCustomMaskEdit::TCustomMaskEdit(TComponent* AOwner) : TCustomEdit(AOwner) {}

void TCustomMaskEdit::SetEditMask(const String& Value) {
    if (Value == FMaskText) return;
    const String old = Text();
    FMaskText = Value;
    FMask = TEditMask(Value);
    SetEditText(IsMasked() ? FMask.EditTextOf(old) : old);
}

String TCustomMaskEdit::GetText() const {
    return IsMasked() ? FMask.TextOf(EditText()) : TCustomEdit::GetText();
}

void TCustomMaskEdit::SetEditText(const String& Value) {
    ApplyText(Value);
    FOldEditText = Value;
}

void TCustomMaskEdit::ValidateEdit() {
    if (!IsMasked() || !Modified) return;
    int pos = 0;
    if (FMask.Validate(EditText(), pos)) return;
    SetSelStart(pos);
    SetSelLength(1);
    MessageBeep(0);
    throw EDBEditError("Invalid input value.  Use escape key to abandon changes");
}

void TCustomMaskEdit::Reset() {
    if (!IsMasked() || !Modified) return;
    ApplyText(FOldEditText);
    Modified = false;
}

void TCustomMaskEdit::DoEnter() {
    FOldEditText = EditText();
    TCustomEdit::DoEnter();
}

void TCustomMaskEdit::DoExit() {
    // Leaving with a required position empty is reported; the focus change itself goes on.
    try {
        ValidateEdit();
    } catch (const EDBEditError&) {
        if (Application) Application->HandleException(this);
    }
    TCustomEdit::DoExit();
}

bool TCustomMaskEdit::PassesKey(Word Key, const TShiftState& Shift) const {
    if (!IsMasked()) return TCustomEdit::PassesKey(Key, Shift);
    // Only moving keys reach the text box: nothing may shift the text against the mask.
    switch (Key) {
        case VK_LEFT:
        case VK_RIGHT:
        case VK_HOME:
        case VK_END: return true;
        default: return false;
    }
}

void TCustomMaskEdit::KeyDown(Word& Key, TShiftState Shift) {
    TCustomEdit::KeyDown(Key, Shift);
    if (Key == VK_ESCAPE && IsMasked() && Modified) {
        Reset();
        Key = 0;
    }
}

void TCustomMaskEdit::BlankSelection(bool Backwards) {
    const String edit = EditText();
    int start = SelStart(), len = SelLength();
    if (len == 0) {
        // The edit position before (Backspace) or at (Delete) the caret.
        int p = Backwards ? start - 1 : start;
        const int step = Backwards ? -1 : 1;
        while (p >= 0 && p < FMask.Length() && FMask.IsLiteral(p)) p += step;
        if (p < 0 || p >= FMask.Length()) return;
        start = p;
        len = 1;
    }
    String part = edit.mid(start, len);
    for (int i = 0; i < part.size(); ++i)
        if (!FMask.IsLiteral(start + i)) part[i] = FMask.Blank();
    if (part != edit.mid(start, len)) {
        Box()->Select(start, start + len);
        Box()->Insert(part);
    }
    Box()->Select(start, start);
}

bool TCustomMaskEdit::TypeMasked(Char Ch) {
    if (SelLength() > 0) BlankSelection(false);
    const int caret = SelStart();
    int pos = caret;
    while (pos < FMask.Length() && FMask.IsLiteral(pos)) ++pos;
    if (pos >= FMask.Length() || !FMask.Accepts(pos, Ch)) {
        // A literal typed before its place moves the caret past it (what lies between stays
        // blank); typed just after it, it is taken as already there.
        const String edit = EditText();
        int lit = caret;
        while (lit < FMask.Length() && !FMask.IsLiteral(lit)) ++lit;
        if (lit < FMask.Length() && edit[lit] == Ch) {
            Box()->Select(lit + 1, lit + 1);
            return true;
        }
        return caret > 0 && FMask.IsLiteral(caret - 1) && edit[caret - 1] == Ch;
    }
    Box()->Select(pos, pos + 1);
    Box()->Insert(String(Ch));
    int next = pos + 1;
    while (next < FMask.Length() && FMask.IsLiteral(next)) ++next;
    Box()->Select(next, next);
    return true;
}

void TCustomMaskEdit::PasteMasked() {
    if (ReadOnly()) return;
    const String text = QApplication::clipboard()->text();
    for (QChar c : text)
        if (c == u'\r' || c == u'\n' || !TypeMasked(c)) {
            MessageBeep(0);
            return;
        }
}

void TCustomMaskEdit::Dispatch(TMessage& Message) {
    if (Message.Msg == CM_TEXTCHANGED && IsMasked()) {
        SetEditText(FMask.EditTextOf(TControl::GetText()));
        TNativeControl::Dispatch(Message);
        return;
    }
    TCustomEdit::Dispatch(Message);
}

void TCustomMaskEdit::DefaultHandler(TMessage& Message) {
    if (!IsMasked() || !Box()) {
        TCustomEdit::DefaultHandler(Message);
        return;
    }
    switch (Message.Msg) {
        case WM_CHAR: {
            const Char ch(char16_t(Message.WParam));
            if (ch.unicode() < 32 && ch != Char(8)) {
                TCustomEdit::DefaultHandler(Message); // the clipboard characters
                return;
            }
            if (ReadOnly()) return;
            if (ch == Char(8))
                BlankSelection(true);
            else if (!TypeMasked(ch))
                MessageBeep(0);
            break;
        }
        case WM_KEYDOWN:
            if (Message.WParam == VK_DELETE && !GetShiftState().count(ssShift)) {
                if (!ReadOnly()) BlankSelection(false);
                break;
            }
            TCustomEdit::DefaultHandler(Message);
            break;
        case WM_PASTE: PasteMasked(); break;
        case WM_CUT:
        case WM_CLEAR:
            if (ReadOnly() || SelLength() == 0) break;
            if (Message.Msg == WM_CUT) CopyToClipboard();
            BlankSelection(false);
            break;
        default: TCustomEdit::DefaultHandler(Message); break;
    }
}
