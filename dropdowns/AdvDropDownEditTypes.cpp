// The typed input of the drop-down edits: the value between prefix and suffix, the characters
// each edit type accepts while typing, the formatting and reading of numbers with the run-time
// separators (read at each use, so a change of the settings applies at once), the caret kept
// out of prefix and suffix, focus in and out, and the filtered clipboard.
#include "AdvDropDown.h"

#include "Caret.h"
#include "Clipbrd.h"
#include "GridUtil.h"
#include "SysUtils.h"

#include <cmath>
#include <limits>

namespace {

Char DS() {
    return FormatSettings.DecimalSeparator;
}
Char TS() {
    return FormatSettings.ThousandSeparator;
}

// 1-based position of Ch in S, 0 when absent.
int PosOf(Char Ch, const String& S) {
    return int(S.indexOf(Ch)) + 1;
}

bool IsDigit(Char C) {
    return C >= u'0' && C <= u'9';
}

bool IsAsciiLetter(Char C) {
    return (C >= u'A' && C <= u'Z') || (C >= u'a' && C <= u'z');
}

bool IsHexLetter(Char C) {
    return (C >= u'A' && C <= u'F') || (C >= u'a' && C <= u'f');
}

// A double as a 64-bit integer towards zero: values beyond the range are clamped, values that
// are not finite count as 0.
Int64 TruncClamped(double Value) {
    if (!std::isfinite(Value)) return 0;
    constexpr double limit = 9223372036854775807.0; // 2^63, the first value beyond the range
    if (Value >= limit) return std::numeric_limits<Int64>::max();
    if (Value <= -limit) return std::numeric_limits<Int64>::min();
    return Int64(Value);
}

String PrecisionFormat(int Precision, char Type) {
    return QStringLiteral("%.") + IntToStr(Precision) + QChar::fromLatin1(Type);
}

constexpr char16_t kBackspace = 8, kTab = 9, kLineFeed = 10, kReturn = 13, kEscape = 27;

} // namespace

// =============================================================================================
// Routines

int GetNumberKind(const String& Text) {
    if (Text.isEmpty()) return 2;
    const Char ds = DS(), ts = TS();
    if (Text.count(u'-') > 1 || Text.count(ds) > 1) return 2;
    bool integer = true, isFloat = true, hex = true;
    int lastTS = 0;
    for (int i = 1; i <= int(Text.size()); ++i) {
        const Char c = Text[i - 1];
        const bool digit = IsDigit(c);
        if (!digit && c != u'-') integer = false;
        if (c == ts) {
            if (i < 2 || (lastTS > 0 && i - lastTS < 3)) isFloat = false;
            lastTS = i;
        } else if (!digit && c != u',' && c != u'-' && c != u'.') {
            isFloat = false;
        }
        if (!digit && c != u'-' && !IsHexLetter(c)) hex = false;
    }
    if (integer) return 0;
    if (isFloat) return 1;
    if (hex) return 5;
    return 2;
}

String StripThousandSeparators(const String& Text) {
    String s = Text;
    s.remove(TS());
    return s;
}

int HexDigitValue(Char Ch) {
    if (IsDigit(Ch)) return Ch.unicode() - u'0';
    if (Ch >= u'A' && Ch <= u'F') return Ch.unicode() - u'A' + 10;
    if (Ch >= u'a' && Ch <= u'f') return Ch.unicode() - u'a' + 10;
    return 0;
}

int HexToInt(const String& Text) {
    // In 64 bits without overflow (unsigned arithmetic wraps), then the low 32 bits.
    uint64_t sum = 0, power = 1;
    for (qsizetype i = Text.size() - 1; i >= 0; --i) {
        sum += uint64_t(HexDigitValue(Text[i])) * power;
        power *= 16;
    }
    return int(int32_t(uint32_t(sum & 0xFFFFFFFFu)));
}

bool IsRangeSeparator(Char Ch) {
    return Ch == u',' || Ch == u'-' || Ch == u';';
}

// =============================================================================================
// Value and selection

void TAdvCustomDropDown::SelectAll() {
    SetSelStart(int(FPrefix.size()));
    SetSelLength(int(Text().size()));
}

void TAdvCustomDropDown::SelectBeforeDecimal() {
    const int d = PosOf(DS(), Text());
    SetSelStart(int(FPrefix.size()) + (d > 0 ? d - 1 : 0));
    SetSelLength(0);
}

void TAdvCustomDropDown::SelectAfterDecimal() {
    const int d = PosOf(DS(), Text());
    SetSelStart(int(FPrefix.size()) + (d > 0 ? d : 0));
    SetSelLength(0);
}

void TAdvCustomDropDown::SetEditorText(const String& Value) {
    TControl::SetText(Value);
}

void TAdvCustomDropDown::SetIsModified(bool Value) {
    if (HasState(csLoading) || !FEditorEnabled || ReadOnly()) return;
    Modified = Value;
    FIsModified = Value;
}

void TAdvCustomDropDown::SetText(const String& Value) {
    String v = Value;
    if (v.isEmpty() && (IsNumericType() || FEditType == etHex)) v = QStringLiteral("0");
    if (FPrecision > 0 && !v.isEmpty() && v != QStringLiteral("Error")) {
        if (FEditType == etMoney)
            v = Format(PrecisionFormat(FPrecision, 'n'), TextToFloat(v));
        else if (FEditType == etFloat)
            v = Format(PrecisionFormat(FPrecision, 'f'), TextToFloat(v));
    }
    if (FEditType == etHex) v = v.toUpper();
    TControl::SetText(FPrefix + v + FSuffix);
    FOldText = v;
    SetIsModified(false);
}

double TAdvCustomDropDown::TextToFloat(const String& S) const {
    double value = 0;
    if (!TryStrToFloat(StripThousandSeparators(S), value)) return 0;
    return value;
}

void TAdvCustomDropDown::SetFloatValue(double Value) {
    if (!std::isfinite(Value)) Value = 0;
    const bool free = FPrecision < 0;
    switch (FEditType) {
        case etString:
        case etFloat:
            SetText(free ? Format(QStringLiteral("%g"), Value)
                         : Format(PrecisionFormat(FPrecision, 'f'), Value));
            break;
        case etNumeric:
            SetText(free ? Format(QStringLiteral("%g"), Value)
                         : Format(PrecisionFormat(FPrecision, 'n'), Value));
            break;
        case etMoney:
            SetText(free ? Format(QStringLiteral("%g"), Value)
                         : Format(PrecisionFormat(FPrecision, 'f'), Value));
            FormatMoney();
            break;
        case etHex: SetText(IntToHex(TruncClamped(Value), 0)); break;
        default: break;
    }
    SetIsModified(true);
}

void TAdvCustomDropDown::SetIntValue(int Value) {
    switch (FEditType) {
        case etNumeric:
        case etFloat: SetText(IntToStr(Value)); break;
        case etMoney:
            SetText(IntToStr(Value));
            FormatMoney();
            break;
        case etHex: SetText(IntToHex(Value, 0)); break;
        default: break;
    }
    SetIsModified(true);
}

double TAdvCustomDropDown::GetFloatValue() {
    const String v = Text();
    switch (FEditType) {
        case etString: {
            double value = 0;
            int code = 0;
            Val(v, value, code);
            return code == 0 ? value : 0;
        }
        case etNumeric:
        case etFloat:
            if (v.isEmpty() || v == QStringLiteral("Error") || v == QStringLiteral("-")) return 0;
            return TextToFloat(v);
        case etMoney: {
            if (v.isEmpty()) return 0;
            String s = StripThousandSeparators(v);
            if (!s.isEmpty() && s.back() == DS()) s.chop(1);
            return s.isEmpty() || s == QStringLiteral("-") ? 0 : TextToFloat(s);
        }
        case etHex: return v.isEmpty() ? 0 : HexToInt(v);
        default: return 0;
    }
}

void TAdvCustomDropDown::FormatMoney() {
    String v = Text();
    if (v.isEmpty()) return;
    const int l0 = int(v.size()), p0 = SelStart();
    String sign;
    if (v.startsWith(u'-')) {
        sign = QStringLiteral("-");
        v.remove(0, 1);
    }
    const int d = PosOf(DS(), v);
    const String fraction = d > 0 ? v.mid(d - 1, 255) : String();
    // The integer part's digits, grouped by thousands as "%n" groups them; from the integer
    // itself, so that no digit of a long value is lost to a floating-point format.
    const Int64 n = TruncClamped(std::fabs(GetFloatValue()));
    String whole = IntToStr(n);
    if (FAutoThousandSeparator)
        for (qsizetype i = whole.size() - 3; i > 0; i -= 3) whole.insert(i, TS());
    const SmallInt precision = FPrecision;
    FPrecision = 0;
    const String text = FPrefix + sign + whole + fraction + FSuffix;
    // The notification of a write that changes the text is the regrouping's own: no OnChange.
    FBlockChange = text != EditText();
    SetEditorText(text);
    FPrecision = precision;
    SetSelStart(p0 + (int(Text().size()) - l0));
    SetSelLength(0);
}

// =============================================================================================
// Writers of the type and the decimals

void TAdvCustomDropDown::SetEditType(TDropDownEditType Value) {
    if (Value == FEditType) return;
    FEditType = Value;
    if (Value == etPassword) {
        SetPasswordChar(Char(u'*'));
        FCanUndo = false;
        if (HandleAllocated()) RecreateWnd();
    } else {
        SetPasswordChar(Char());
    }
    const int kind = GetNumberKind(Text());
    if (Value == etNumeric && kind != 0)
        SetIntValue(0);
    else if ((Value == etFloat || Value == etMoney) && kind == 2)
        SetFloatValue(0);
    else if (Value == etHex && kind != 0 && kind != 5)
        SetIntValue(0);
    if (Designing() && Value == etFloat && FPrecision == 0) SetPrecision(2);
}

void TAdvCustomDropDown::SetPrecision(int Value) {
    if (Value == FPrecision || (FEditType != etString && FEditType != etFloat && FEditType != etMoney))
        return;
    FPrecision = SmallInt(Value);
    if (GetNumberKind(Text()) == 2)
        SetFloatValue(0);
    else
        SetFloatValue(GetFloatValue());
}

// =============================================================================================
// Predicates of the character filter

int TAdvCustomDropDown::IntegerPartEnd(const String& S) const {
    const String s = StripThousandSeparators(S);
    int r = PosOf(DS(), s);
    if (r == 0) r = int(s.size()) + 1;
    if (FSigned && IsNumericType() && s.contains(u'-')) --r;
    return r;
}

int TAdvCustomDropDown::DecimalPosInEdit(const String& V) const {
    const int d = PosOf(DS(), V);
    if (d > 0) return d + int(FPrefix.size());
    return int(FPrefix.size() + V.size() + FSuffix.size()) + 1;
}

bool TAdvCustomDropDown::FractionFull(const String& V, int Q) const {
    const int d = PosOf(DS(), V);
    return FPrecision > 0 && int(V.size()) - Q <= FPrecision && d > 0 && Q >= d &&
           int(V.size()) - d >= FPrecision;
}

bool TAdvCustomDropDown::SeparatorTooClose(const String& V, int Q) const {
    const Char ts = TS();
    if (!V.contains(ts)) return false;
    String s = V;
    int d = int(V.size());
    while (s.contains(ts)) {
        const int t = PosOf(ts, s);
        const int dist = std::abs(t - Q);
        if (dist < d) d = dist;
        if (dist < 3) return true;
        if (Q > t) Q -= t;
        s.remove(0, t);
    }
    return d > 3;
}

bool TAdvCustomDropDown::IsSignedMinus(Char C) const {
    return FSigned && IsNumericType() && C == u'-';
}

// =============================================================================================
// The character filter

void TAdvCustomDropDown::PassChar(TWMKey& Message, Char C) {
    Message.CharCode = C.unicode();
    TCustomMaskEdit::Dispatch(Message);
}

void TAdvCustomDropDown::ToggleSign(int P) {
    String v = Text();
    const int prefix = int(FPrefix.size());
    if (v.contains(u'-')) {
        v.remove(0, 1);
        SetEditorText(FPrefix + v + FSuffix);
        SetIsModified(true);
        SetSelStart(P > prefix && P > 0 ? P - 1 : prefix);
        SetSelLength(0);
    } else {
        SetEditorText(FPrefix + QStringLiteral("-") + v + FSuffix);
        SetSelLength(0);
        SetSelStart(P + 1);
        SetIsModified(true);
    }
}

void TAdvCustomDropDown::WMChar(TWMKey& Message) {
    if (!FEditorEnabled) return;
    // Left and right Ctrl both read as Ctrl.
    const bool ctrl = GetKeyState(VK_CONTROL) < 0;
    Char c(char16_t(Message.CharCode));
    const String v = Text();
    const int p = SelStart();
    const int q = p - int(FPrefix.size());
    const bool wholeSelected = SelLength() == int(v.size()) && !v.isEmpty();
    const String before = EditText();
    // Typing over the whole value replaces it in one change, which raises no OnChange.
    if (wholeSelected) FBlockChange = true;
    // A character that changes nothing leaves no block behind for a later change.
    struct TDisarm {
        TAdvCustomDropDown* Self;
        bool Armed;
        String Before;
        ~TDisarm() {
            if (Armed && Self->FBlockChange && Self->EditText() == Before) Self->FBlockChange = false;
        }
    } disarm{this, wholeSelected, before};

    const char16_t u = c.unicode();
    if (u == kReturn && ctrl) {
        Message.CharCode = 0;
        Message.Result = 1;
        return;
    }
    if (u == kReturn) {
        Char key(kReturn);
        if (Assigned(OnKeyPress)) OnKeyPress(this, key);
        Message.CharCode = 0;
        if (!FDefaultHandling && Parent()) {
            PostMessage(Parent()->Handle(), WM_KEYDOWN, VK_RETURN, 0);
            TCustomForm* form = GetParentForm(this);
            if (form && form->KeyPreview())
                TCustomMaskEdit::Dispatch(Message);
            else
                PostMessage(Parent()->Handle(), WM_KEYUP, VK_RETURN, 0);
        }
        return;
    }
    if (u == kEscape && !FDefaultHandling && Parent()) {
        TCustomForm* form = GetParentForm(this);
        if (form && form->KeyPreview()) {
            PassChar(Message, c);
            return;
        }
        PostMessage(Parent()->Handle(), WM_KEYDOWN, VK_ESCAPE, 0);
        PostMessage(Parent()->Handle(), WM_KEYUP, VK_ESCAPE, 0);
    }
    if (u == kEscape && !FCanUndo) {
        PassChar(Message, c);
        return;
    }
    if (ctrl && (u == 3 || u == 22 || u == 24)) {
        PassChar(Message, c);
        return;
    }
    // The numeric keypad's decimal key (bit 22 of the key data) types the decimal separator.
    if (FExcelStyleDecimalSeparator && (u == u'.' || u == u',') && (Message.KeyData & 0x400000)) c = DS();
    const bool selection = SelLength() > 0;
    if (u == kBackspace && !FPrefix.isEmpty() && int(FPrefix.size()) >= p && !selection) return;
    if (FLengthLimit > 0 && IntegerPartEnd(v) > FLengthLimit && !selection && p < DecimalPosInEdit(v) &&
        c.unicode() != kBackspace && c != DS() && !IsSignedMinus(c))
        return;
    if (u == kBackspace) {
        PassChar(Message, c);
        // The whole value went: its notification was swallowed above, so OnChange comes here.
        if (wholeSelected && Text().isEmpty()) Change();
        return;
    }
    if (ctrl && u == kLineFeed) return;
    if (c == u'-' && IsNumericType() && !FSigned) return;
    FilterTypedChar(Message, c, v, p, q);
    if (Modified) SetIsModified(true);
}

void TAdvCustomDropDown::FilterTypedChar(TWMKey& Message, Char C, const String& V, int P, int Q) {
    const char16_t u = C.unicode();
    const bool control = u == kBackspace || u == kTab || u == kReturn;
    const bool selection = SelLength() > 0;
    const Char ds = DS(), ts = TS();
    switch (FEditType) {
        case etString:
        case etPassword:
            SetIsModified(true);
            PassChar(Message, C);
            return;
        case etAlphaNumeric:
            if (control || IsDigit(C) || IsAsciiLetter(C)) {
                SetIsModified(true);
                PassChar(Message, C);
            }
            return;
        case etValidChars:
            if (FValidChars.contains(C) || u == kBackspace) {
                SetIsModified(true);
                PassChar(Message, C);
            }
            return;
        case etHex:
            if (control || C == u'-' || IsDigit(C) || IsHexLetter(C)) {
                SetIsModified(true);
                PassChar(Message, C);
            }
            return;
        case etRange: {
            if (!(control || IsDigit(C) || C == u',' || C == u'-' || C == u';')) return;
            SetIsModified(true);
            if (IsRangeSeparator(C)) {
                // No two separators touch and none starts the list.
                const String text = EditText();
                if (int(FPrefix.size()) >= P) return;
                if (P >= 1 && P <= int(text.size()) && IsRangeSeparator(text[P - 1])) return;
                if (P < int(text.size()) && IsRangeSeparator(text[P])) return;
            }
            PassChar(Message, C);
            return;
        }
        case etUppercase: PassChar(Message, C.toUpper()); return;
        case etLowerCase: PassChar(Message, C.toLower()); return;
        case etMixedCase:
            PassChar(Message, C);
            SetEditorText(FPrefix + ToMixedCase(Text()) + FSuffix);
            SetSelStart(P + 1);
            SetSelLength(0);
            return;
        case etNumeric:
            if (C == u'-') {
                if (SelLength() == int(V.size())) {
                    SetEditorText(FPrefix + QStringLiteral("-") + FSuffix);
                    SetSelStart(int(FPrefix.size()) + 1);
                    SetSelLength(0);
                } else {
                    ToggleSign(P);
                }
                return;
            }
            // Any other character only while Ctrl is held (left or right).
            if (control || IsDigit(C) || GetKeyState(VK_CONTROL) < 0) PassChar(Message, C);
            return;
        case etFloat:
        case etMoney: break;
        default: return;
    }

    if (FEditType == etFloat) {
        if (C == u',' && ds != u',' && ts != u',') return;
        if (C == u'.' && ds != u'.' && ts != u'.') return;
        if (!(control || IsDigit(C) || C == u',' || C == u'-' || C == u'.')) return;
        if (C == ds && !SelText().contains(ds)) {
            if (V.contains(ds) || FPrecision == 0) {
                if (FPrecision > 0) SelectAfterDecimal();
                return;
            }
        }
        if (C == u',' && V.contains(u',') && !SelText().contains(u',') && ts != u',') return;
    } else {
        if (C == ds && (V.contains(ds) || FPrecision == 0)) {
            if (FPrecision <= 0) return;
            if (SelLength() == int(V.size())) SetText(QStringLiteral("0,0"));
            SelectAfterDecimal();
            return;
        }
        if (!(control || IsDigit(C) || C == u'-' || C == ds)) return;
    }
    // Shared by both: separators only at thousand places, a full fraction, the first separator,
    // the sign.
    if ((C == ts || C == ds) && SeparatorTooClose(V, Q)) return;
    if (FractionFull(V, Q) && (IsDigit(C) || C == ds) && !selection) {
        if (FPrecision > 0 && PosOf(ds, V) <= Q && IsDigit(C) && Q < int(V.size()))
            SetSelLength(1); // the typed digit replaces the next one
        else
            return;
    }
    if (P == 0 && V.isEmpty() && C == ds) {
        SetEditorText(FPrefix + QStringLiteral("0") + ds + FSuffix);
        SetSelStart(int(FPrefix.size()) + 2);
        SetSelLength(0);
        SetIsModified(true);
        return;
    }
    if (C == u'-' && !selection) {
        const SmallInt precision = FPrecision;
        FPrecision = 0;
        ToggleSign(P);
        FPrecision = precision;
        return;
    }
    PassChar(Message, C);
    if (FEditType == etMoney) {
        const String now = Text();
        if (!now.isEmpty() && now != QStringLiteral("-") && C != ds) {
            if (Modified) SetIsModified(true);
            FormatMoney();
        }
    }
}

// =============================================================================================
// Keys and the mouse around prefix and suffix

bool TAdvCustomDropDown::PrefixSuffixKey(TWMKey& Message) {
    const Word key = Word(Message.CharCode);
    const String v = Text();
    const int len = int(v.size()), prefix = int(FPrefix.size());
    const DWORD sel = DWORD(Perform(EM_GETSEL, 0, 0));
    const int e = HIWORD(sel);
    const bool shift = GetKeyState(VK_SHIFT) < 0;
    auto swallow = [&] {
        Message.CharCode = 0;
        Message.Result = 0;
        return false;
    };
    switch (key) {
        case VK_RIGHT:
            if (!FSuffix.isEmpty() && len <= e) return swallow();
            break;
        case VK_LEFT:
            if (!FPrefix.isEmpty() && prefix >= e) return swallow();
            break;
        case VK_END:
            if (FSuffix.isEmpty()) break;
            if (shift) {
                SetSelLength(len - SelStart());
            } else {
                SetSelStart(len);
                SetSelLength(0);
            }
            return swallow();
        case VK_HOME:
            if (FPrefix.isEmpty()) break;
            if (shift)
                Perform(EM_SETSEL, prefix + len, prefix);
            else {
                SetSelStart(prefix);
                SetSelLength(0);
            }
            return swallow();
        case VK_BACK:
            if (FPrefix.isEmpty()) break;
            if (SelStart() <= prefix + 1) return swallow();
            SetIsModified(true);
            break;
        case VK_DELETE: {
            if (!FSuffix.isEmpty()) {
                if (len <= e && SelLength() == 0) return swallow();
                SetIsModified(true);
            }
            if (SelStart() >= prefix) {
                String s = v;
                const int from = SelStart() - prefix;
                s.remove(from, SelLength() > 0 ? SelLength() : 1);
                // Deleting the decimal separator must not make the integer part too long.
                if (FLengthLimit > 0 && IntegerPartEnd(s) - 1 > FLengthLimit) return swallow();
                SetIsModified(true);
            }
            break;
        }
        default: break;
    }
    return true;
}

void TAdvCustomDropDown::AfterKey(Word Key) {
    if (Key == VK_DELETE && FEditType == etMoney) FormatMoney();
    if (!FPrefix.isEmpty() && SelStart() < int(FPrefix.size())) {
        SetSelStart(int(FPrefix.size()));
        SetSelLength(0);
    }
}

void TAdvCustomDropDown::ClampMouseSelection() {
    const int len = int(Text().size()), prefix = int(FPrefix.size());
    if (!FPrefix.isEmpty() && SelStart() < prefix) {
        SetSelStart(prefix);
        SetSelLength(len);
    }
    if (FSuffix.isEmpty()) return;
    if (SelStart() > len) {
        SetSelStart(len);
        SetSelLength(0);
    }
    if (SelStart() + SelLength() > len) SetSelLength(len - SelStart());
}

// =============================================================================================
// Focus

void TAdvCustomDropDown::WMSetFocus(TMessage& Message) {
    TCustomMaskEdit::Dispatch(Message);
    if (HasState(csLoading)) return;
    if (FEditorEnabled) {
        FOldString = Text();
        if (AutoSelect)
            SelectAll();
        else if (FEditType == etFloat || FEditType == etMoney)
            SelectBeforeDecimal();
    } else {
        // A pick-only edit shows no caret.
        HideCaret(Handle());
        Invalidate();
    }
}

void TAdvCustomDropDown::WMKillFocus(TMessage& Message) {
    if (HasState(csLoading)) return;
    const String v = Text();
    const bool typed = FEditType == etFloat || FEditType == etMoney;
    if (FPrecision > 0 && typed && (!v.isEmpty() || !FAllowNumericNullValue)) {
        const bool modified = FIsModified, editModified = Modified;
        SetFloatValue(GetFloatValue());
        FIsModified = modified;
        Modified = editModified;
    }
    if (v.isEmpty() && !FAllowNumericNullValue) {
        if (FEditType == etNumeric)
            SetText(QStringLiteral("0"));
        else if (typed)
            SetFloatValue(0);
    }
    TCustomMaskEdit::Dispatch(Message);
    if (!FEditorEnabled) Invalidate();
}

// =============================================================================================
// Clipboard

void TAdvCustomDropDown::WMCopy(TMessage& Message) {
    bool allow = true;
    if (Assigned(OnClipboardCopy) && !FBlockCopy)
        OnClipboardCopy(this, Copy(Text(), SelStart() - int(FPrefix.size()) + 1, SelLength()), allow);
    FBlockCopy = false;
    if (allow) TCustomMaskEdit::Dispatch(Message);
}

void TAdvCustomDropDown::WMCut(TMessage& Message) {
    if (!FEditorEnabled || ReadOnly()) return;
    bool allow = true;
    FBlockCopy = true;
    if (Assigned(OnClipboardCut))
        OnClipboardCut(this, Copy(Text(), SelStart() - int(FPrefix.size()) + 1, SelLength()), allow);
    if (allow) TCustomMaskEdit::Dispatch(Message);
    FBlockCopy = false;
}

void TAdvCustomDropDown::WMPaste(TMessage&) {
    if (ReadOnly() || !Clipboard()->HasFormat(CF_TEXT)) return;
    const String clip = Clipboard()->AsText();
    const String v = Text();
    const int prefix = int(FPrefix.size());
    // The value with the selection replaced; afterwards the pasted text is selected, or the
    // caret stands after it.
    const int from = std::clamp(SelStart() - prefix, 0, int(v.size()));
    const int count = std::clamp(SelLength(), 0, int(v.size()) - from);
    const String s = v.left(from) + clip + v.mid(from + count);
    const int newStart = prefix + from;
    const int newLength = count > 0 ? int(clip.size()) : 0;
    const int newCaret = count > 0 ? newStart : newStart + int(clip.size());
    bool allow = true;
    if (Assigned(OnClipboardPaste)) OnClipboardPaste(this, s, allow);
    if (!allow) return;
    if (MaxLength() > 0 && int(clip.size()) + int(v.size()) - SelLength() > MaxLength()) return;
    const int kind = GetNumberKind(s);
    const bool signOk = FSigned || !s.contains(u'-');
    auto allOf = [&](auto Accept) {
        for (Char ch : s)
            if (!Accept(ch)) return false;
        return true;
    };
    switch (FEditType) {
        case etString:
        case etPassword: SetText(s); break;
        case etNumeric:
            if (kind == 0 && signOk) {
                SetText(s);
                SetIsModified(true);
            }
            break;
        case etFloat:
        case etMoney:
            if ((kind == 0 || kind == 1) && !(FPrecision == 0 && clip.contains(DS())) && signOk) {
                SetText(s);
                SetFloatValue(GetFloatValue());
                SetIsModified(true);
            }
            break;
        case etUppercase: SetText(s.toUpper()); break;
        case etLowerCase: SetText(s.toLower()); break;
        case etMixedCase: SetText(ToMixedCase(s)); break;
        case etAlphaNumeric:
            if (allOf([](Char ch) { return IsDigit(ch) || IsAsciiLetter(ch); })) {
                SetText(s);
                SetIsModified(true);
            }
            break;
        case etValidChars:
            if (allOf([&](Char ch) { return FValidChars.contains(ch); })) {
                SetText(s);
                SetIsModified(true);
            }
            break;
        case etRange:
        case etHex: break; // never pasted into
    }
    if (FEditType == etMoney && Text().size() > 3) {
        SelectAll();
    } else if (newLength > 0) {
        SetSelStart(newStart);
        SetSelLength(newLength);
    } else {
        SetSelStart(newCaret);
        SetSelLength(0);
    }
    switch (FEditType) {
        case etString:
        case etUppercase:
        case etMixedCase:
        case etLowerCase:
        case etPassword: SetIsModified(true); break;
        default: break;
    }
}
