#include "GridUtil.h"

#include "Classes.h"
#include "Graphics.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <vector>

namespace {

constexpr Char CR = u'\r';
constexpr Char LF = u'\n';

const String CRLF = QStringLiteral("\r\n");

[[noreturn]] void DateEncodeError() {
    throw EConvertError(QStringLiteral("Invalid argument to date encode"));
}

bool IsDigit(Char c) {
    return c >= u'0' && c <= u'9';
}

bool IsAsciiLetter(Char c) {
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z');
}

String ReplaceChar(const String& Text, Char From, const String& To) {
    String r;
    r.reserve(Text.size());
    for (Char c : Text) {
        if (c == From)
            r += To;
        else
            r += c;
    }
    return r;
}

// The separators and the short date format of the user's settings, read at each call (the
// run-time format settings start as the user's locale; the program and tests may change them).
struct TLocaleNow {
    Char Decimal = FormatSettings.DecimalSeparator;
    Char Thousand = FormatSettings.ThousandSeparator;
    Char Date = FormatSettings.DateSeparator;
    Char Time = FormatSettings.TimeSeparator;
    String ShortDate = FormatSettings.ShortDateFormat;
};

// The platform's integer rule, answering false for anything else.
bool ReadInt(const String& S, int& V) {
    return TryStrToInt(S, V);
}

// A number in "." notation: optional sign, digits with at most one ".", optional exponent.
bool ReadDotNumber(const String& S, double& V) {
    int i = 0;
    const int n = int(S.size());
    if (i < n && (S[i] == u'+' || S[i] == u'-')) ++i;
    int digits = 0;
    while (i < n && IsDigit(S[i])) ++i, ++digits;
    if (i < n && S[i] == u'.') {
        ++i;
        while (i < n && IsDigit(S[i])) ++i, ++digits;
    }
    if (digits == 0) return false;
    if (i < n && (S[i] == u'e' || S[i] == u'E')) {
        ++i;
        if (i < n && (S[i] == u'+' || S[i] == u'-')) ++i;
        int ed = 0;
        while (i < n && IsDigit(S[i])) ++i, ++ed;
        if (ed == 0) return false;
    }
    if (i != n) return false;
    V = std::strtod(S.toLatin1().constData(), nullptr);
    return std::isfinite(V);
}

// The OEM code page (437): characters of the bytes 128..255.
const char16_t Oem437High[128] = {
    0x00C7, 0x00FC, 0x00E9, 0x00E2, 0x00E4, 0x00E0, 0x00E5, 0x00E7, 0x00EA, 0x00EB, 0x00E8, 0x00EF, 0x00EE,
    0x00EC, 0x00C4, 0x00C5, 0x00C9, 0x00E6, 0x00C6, 0x00F4, 0x00F6, 0x00F2, 0x00FB, 0x00F9, 0x00FF, 0x00D6,
    0x00DC, 0x00A2, 0x00A3, 0x00A5, 0x20A7, 0x0192, 0x00E1, 0x00ED, 0x00F3, 0x00FA, 0x00F1, 0x00D1, 0x00AA,
    0x00BA, 0x00BF, 0x2310, 0x00AC, 0x00BD, 0x00BC, 0x00A1, 0x00AB, 0x00BB, 0x2591, 0x2592, 0x2593, 0x2502,
    0x2524, 0x2561, 0x2562, 0x2556, 0x2555, 0x2563, 0x2551, 0x2557, 0x255D, 0x255C, 0x255B, 0x2510, 0x2514,
    0x2534, 0x252C, 0x251C, 0x2500, 0x253C, 0x255E, 0x255F, 0x255A, 0x2554, 0x2569, 0x2566, 0x2560, 0x2550,
    0x256C, 0x2567, 0x2568, 0x2564, 0x2565, 0x2559, 0x2558, 0x2552, 0x2553, 0x256B, 0x256A, 0x2518, 0x250C,
    0x2588, 0x2584, 0x258C, 0x2590, 0x2580, 0x03B1, 0x00DF, 0x0393, 0x03C0, 0x03A3, 0x03C3, 0x00B5, 0x03C4,
    0x03A6, 0x0398, 0x03A9, 0x03B4, 0x221E, 0x03C6, 0x03B5, 0x2229, 0x2261, 0x00B1, 0x2265, 0x2264, 0x2320,
    0x2321, 0x00F7, 0x2248, 0x00B0, 0x2219, 0x00B7, 0x221A, 0x207F, 0x00B2, 0x25A0, 0x00A0};

} // namespace

// ---------------------------------------------------------------------------------------------
// Text kinds and numbers

int CellTextType(const String& Text, bool AllowMarkup) {
    if (Text.isEmpty()) return ctkPlain;
    if (Text[0] == u'=') return ctkFormula;
    if (Text.startsWith(QStringLiteral("|\\"))) {
        if (Text.size() > 4 && Text[3] == u'=' && Text[4].unicode() == 0) return ctkFormula;
        return ctkPackedWide;
    }
    if (Text.startsWith(QStringLiteral("{\\"))) return ctkRTF;
    if (AllowMarkup && (Text.contains(QStringLiteral("</")) || Text.contains(QStringLiteral("<B")) ||
                        Text.contains(QStringLiteral("<I")) || Text.contains(QStringLiteral("<C"))))
        return ctkMarkup;
    return ctkPlain;
}

int NumericTextType(const String& S) {
    if (S.isEmpty()) return ntkNone;
    const TLocaleNow loc;
    const int n = int(S.size());

    bool isInt = true;
    bool isFloat = true;
    bool isSci = true;
    int minus = 0, decimals = 0, exps = 0, thousands = 0;
    int lastThousand = -1000;
    for (int i = 1; i <= n; ++i) {
        const Char c = S[i - 1];
        const bool digit = IsDigit(c);
        if (c == u'-') ++minus;
        if (c == loc.Decimal) ++decimals;
        if (c == u'e' || c == u'E') {
            ++exps;
            if (i == 1) isSci = false;
        }
        if (c == loc.Thousand) {
            ++thousands;
            if (i - lastThousand <= 3) isFloat = false;
            lastThousand = i;
        }
        if (!(digit || (c == u'-' && i == 1))) isInt = false;
        if (!(digit || c == loc.Thousand || c == loc.Decimal || (c == u'-' && i == 1))) isFloat = false;
        if (!(digit || c == loc.Decimal || c == u'e' || c == u'E' || c == u'+' || c == u'-')) isSci = false;
    }
    if (exps != 1 || thousands > 0) isSci = false;
    const Char last = S[n - 1];
    if (last == u'+' || last == u'-' || last == u'e' || last == u'E') isSci = false;

    int result = ntkNone;
    if (isInt)
        result = ntkInteger;
    else if (isSci)
        result = ntkScientific;
    else if (isFloat)
        result = ntkFloat;

    if (minus > (result == ntkScientific ? 2 : 1) || decimals > 1) result = ntkNone;
    return result;
}

bool IsNumChar(Char Ch) {
    return IsDigit(Ch);
}

String NormalizeFloatText(const String& Text) {
    if (Text.isEmpty()) return String();
    const TLocaleNow loc;
    String s = Trim(Text);
    bool negative = s.startsWith(u'(') && s.endsWith(u')');
    auto numberStart = [&](Char c) {
        return IsDigit(c) || c == loc.Thousand || c == loc.Decimal || c == u'e' || c == u'E';
    };
    while (s.size() >= 2 && !numberStart(s[0])) {
        if (s[0] == u'-') negative = true;
        s.remove(0, 1);
    }
    String r;
    for (Char c : s) {
        if (c == loc.Thousand) continue;
        if (c == loc.Decimal)
            r += u'.';
        else if (IsDigit(c) || c == u'-' || c == u'.' || c == u'e' || c == u'E' || c == u'+')
            r += c;
        else
            break;
    }
    if (negative) r.prepend(u'-');
    return r;
}

String ColorToHTMLHex(TColor Color) {
    const Cardinal c = Cardinal(ColorToRGB(Color));
    return IntToHex(int(GetRValue(c)), 2) + IntToHex(int(GetGValue(c)), 2) + IntToHex(int(GetBValue(c)), 2);
}

int ClampToLimits(int Value, int Lower, int Upper) {
    if (Lower == Upper) return Value;
    if (Lower > 0 && Value < Lower) return Lower;
    if (Upper > 0 && Value > Upper) return Upper;
    return Value;
}

int IntMax(int A, int B) {
    return A > B ? A : B;
}
int IntMin(int A, int B) {
    return A < B ? A : B;
}

// ---------------------------------------------------------------------------------------------
// Dates

bool ParseLocaleDateTime(const String& Text, TDateTime& Value) {
    const TLocaleNow loc;
    // Order of day, month and year: the order of their first letters in the short date format.
    const String fmt = AnsiUpperCase(loc.ShortDate);
    struct TField {
        Char Letter;
        int At;
    };
    TField order[3] = {
        {u'D', int(fmt.indexOf(u'D'))}, {u'M', int(fmt.indexOf(u'M'))}, {u'Y', int(fmt.indexOf(u'Y'))}};
    for (auto& f : order)
        if (f.At < 0) f.At = 1000;
    std::stable_sort(std::begin(order), std::end(order),
                     [](const TField& a, const TField& b) { return a.At < b.At; });

    const int p1 = int(Text.indexOf(loc.Date));
    if (p1 < 0) return false;
    const int p2 = int(Text.indexOf(loc.Date, p1 + 1));
    if (p2 < 0) return false;
    String parts[3] = {Text.left(p1), Text.mid(p1 + 1, p2 - p1 - 1), Trim(Text.mid(p2 + 1))};
    String timePart;
    bool hasTime = false;
    const int blank = int(parts[2].indexOf(u' '));
    if (blank >= 0) {
        timePart = parts[2].mid(blank + 1);
        parts[2] = parts[2].left(blank);
        hasTime = true;
    }
    int day = 0, month = 0, year = 0;
    for (int i = 0; i < 3; ++i) {
        int v;
        if (!ReadInt(parts[i], v)) return false;
        if (order[i].Letter == u'D')
            day = v;
        else if (order[i].Letter == u'M')
            month = v;
        else
            year = v;
    }
    if (day > 31 || month > 12) return false;

    int hour = 0, minute = 0, second = 0;
    bool ok = true;
    if (hasTime) {
        const int t1 = int(timePart.indexOf(loc.Time));
        if (t1 < 0) {
            ok = false; // no time separator: the value is midnight, the answer false
        } else {
            if (!ReadInt(timePart.left(t1), hour) || hour > 23) return false;
            const int t2 = int(timePart.indexOf(loc.Time, t1 + 1));
            if (t2 >= 0) {
                if (!ReadInt(timePart.mid(t1 + 1, t2 - t1 - 1), minute)) return false;
                if (!ReadInt(timePart.mid(t2 + 1), second)) return false;
            } else if (!ReadInt(timePart.mid(t1 + 1), minute)) {
                return false;
            }
            if (minute > 59 || second > 60) return false;
        }
    }
    if (year < 0 || month < 0 || day < 0 || hour < 0 || minute < 0 || second < 0) return false;
    TDateTime d, t;
    if (!TryEncodeDate(Word(year), Word(month), Word(day), d)) return false;
    if (!TryEncodeTime(Word(hour), Word(minute), Word(second), 0, t)) return false;
    Value = d + t;
    return ok;
}

namespace {

// Shared reading of ParseDateUS and ParseDateEU; DayFirst for day/month/year.
TDateTime ParseShortDate(const String& S, bool DayFirst) {
    Char sep = u'-';
    if (S.contains(u'/'))
        sep = u'/';
    else if (S.contains(u'.'))
        sep = u'.';
    const int p1 = int(S.indexOf(sep));
    if (p1 < 0) return 0;
    const int p2 = int(S.indexOf(sep, p1 + 1));
    if (p2 < 0) return 0;
    int a, b, y;
    if (!ReadInt(S.left(p1), a) || !ReadInt(S.mid(p1 + 1, p2 - p1 - 1), b) || !ReadInt(S.mid(p2 + 1), y))
        return 0;
    // Two-digit years: 00-25 this century, the rest the last one. Four-digit years are shifted the
    // same way, which keeps their order when dates are only compared.
    y = y <= 25 ? 2000 + y : 1900 + y;
    const int day = DayFirst ? a : b;
    const int month = DayFirst ? b : a;
    if (day < 0 || month < 0 || y < 0 || y > 0xFFFF) DateEncodeError();
    return EncodeDate(Word(y), Word(month), Word(day));
}

} // namespace

TDateTime ParseDateUS(const String& S) {
    return ParseShortDate(S, false);
}
TDateTime ParseDateEU(const String& S) {
    return ParseShortDate(S, true);
}

bool IsDateText(const String& Text) {
    const Char sep = TLocaleNow().Date;
    const int p1 = int(Text.indexOf(sep)) + 1; // 1-based
    if (p1 < 2) return false;
    const int p2 = int(Text.indexOf(sep, p1)) + 1;
    return p2 > p1 + 1;
}

TDateTime IncDateParts(int Years, int Months, int Days, double Increment, TDateTime Date) {
    const double timeOfDay = Date - std::floor(Date);
    if (Years == 0 && Months == 0 && Days != 0) return Date + Days;
    if (Years != 0 && Months == 0 && Days == 0) {
        Word y, m, d;
        DecodeDate(Date, y, m, d);
        const int ny = int(y) + Years;
        if (ny < 1 || ny > 9999) DateEncodeError();
        return EncodeDate(Word(ny), m, d) + timeOfDay;
    }
    if (Years == 0 && Months != 0 && Days == 0) {
        Word y, m, d;
        DecodeDate(Date, y, m, d);
        int ny = y;
        int nm = int(m) + Months;
        if (nm == 0) {
            nm = 12;
            --ny;
        } else if (nm > 12) {
            nm -= 12;
            ++ny;
        }
        if (nm < 1 || nm > 12 || ny < 1) DateEncodeError();
        return EncodeDate(Word(ny), Word(nm), d) + timeOfDay;
    }
    return Date + Increment;
}

// ---------------------------------------------------------------------------------------------
// Line breaks, quotes and escapes

String EscapeDoubleQuotes(const String& Text) {
    return ReplaceChar(Text, u'"', QStringLiteral("\"\""));
}

String UndoubleChar(Char Ch, const String& Text) {
    String r;
    r.reserve(Text.size());
    for (int i = 0; i < Text.size(); ++i) {
        r += Text[i];
        if (Text[i] == Ch && i + 1 < Text.size() && Text[i + 1] == Ch) ++i;
    }
    return r;
}

String CSVQuoteMultiLine(const String& Text) {
    String r = Text;
    r.replace(CRLF, QString(QChar(11)));
    return u'"' + r + u'"';
}

String VTabToCRLF(const String& Text) {
    return ReplaceChar(Text, QChar(11), CRLF);
}

String CRLFToLF(const String& Text) {
    String r = Text;
    r.replace(CRLF, QStringLiteral("\n"));
    return r;
}

String RemoveCR(const String& Text) {
    String r = Text;
    r.remove(CR);
    return r;
}

String CRToLF(const String& Text) {
    String r = Text;
    r.replace(CR, LF);
    return r;
}

String LineBreaksToTilde(const String& Text) {
    String r = Text;
    r.remove(LF);
    r.replace(CR, u'~');
    return r;
}

String TildeToLineBreaks(const String& Text) {
    if (Text == QStringLiteral("^")) return String();
    return ReplaceChar(Text, u'~', CRLF);
}

String LineBreaksToBR(const String& Text) {
    return ReplaceChar(Text, CR, QStringLiteral("<br>"));
}

String EncodeLineEscapes(const String& Text) {
    String r = Text;
    r.remove(LF);
    return ReplaceChar(r, CR, QStringLiteral("\\n"));
}

String DecodeLineEscapes(const String& Text) {
    String r = Text;
    r.replace(QStringLiteral("\\n"), QString(CR));
    return r;
}

String EncodeLineBreaksForSave(const String& Text) {
    if (!Text.contains(CR)) return Text;
    String r = Text;
    for (Char& c : r) {
        if (c == CR)
            c = QChar(9);
        else if (c == LF)
            c = QChar(8);
        else if (c.unicode() == 0)
            c = QChar(1);
    }
    return r;
}

String DecodeLineBreaksFromSave(const String& Text, bool MultiLine) {
    String r = Text;
    if (r.contains(QChar(8))) {
        for (Char& c : r) {
            if (c.unicode() == 9)
                c = CR;
            else if (c.unicode() == 8)
                c = LF;
            else if (c.unicode() == 1)
                c = QChar(0);
        }
    }
    if (!MultiLine) return CutFirstLine(r, false);
    return r;
}

String CutFirstLine(String& Text, bool KeepRest) {
    const int p = int(Text.indexOf(CR));
    if (p < 0) {
        String all = Text;
        Text.clear();
        return all;
    }
    String line = Text.left(p);
    int rest = p + 1;
    if (rest < Text.size() && Text[rest] == LF) ++rest;
    if (KeepRest)
        Text = Text.mid(rest);
    else
        Text.clear();
    return line;
}

int CountLines(const String& Text, bool MultiLine) {
    return MultiLine ? int(Text.count(CR)) + 1 : 1;
}

int ClosingQuotePos(Char Ch, const String& Text) {
    const int n = int(Text.size());
    int i = 0;
    while (i < n) {
        if (Text[i] != Ch) {
            ++i;
            continue;
        }
        int j = i;
        while (j < n && Text[j] == Ch) ++j;
        // Run i..j-1; a run reaching the end ends at the last character whatever its length.
        if (j == n) return n;
        if ((j - i) % 2 == 1) return j; // 1-based position of the run's last character
        i = j;
    }
    return 0;
}

int ClosingQuotePos(Char Ch, const String& Text, int& Pos) {
    Pos = ClosingQuotePos(Ch, Text);
    return Pos;
}

int CountClosingQuotes(Char Ch, const String& Text) {
    String s = Text;
    int count = 0;
    for (;;) {
        const int p = ClosingQuotePos(Ch, s);
        if (p == 0) break;
        ++count;
        s = s.mid(p);
    }
    return count;
}

int CountChar(Char Ch, const String& Text) {
    return int(Text.count(Ch));
}

String FillChars(const String& Text, Char Ch) {
    return String(Text.size(), Ch);
}

String StringToOem(const String& Text) {
    String r;
    r.reserve(Text.size());
    for (Char c : Text) {
        const char16_t u = c.unicode();
        if (u < 128) {
            r += c;
            continue;
        }
        int code = '?';
        for (int i = 0; i < 128; ++i)
            if (Oem437High[i] == u) {
                code = 128 + i;
                break;
            }
        r += QChar(code);
    }
    return r;
}

String OemToString(const String& Text) {
    String r;
    r.reserve(Text.size());
    for (Char c : Text) {
        const char16_t u = c.unicode();
        r += (u >= 128 && u < 256) ? QChar(Oem437High[u - 128]) : c;
    }
    return r;
}

// ---------------------------------------------------------------------------------------------
// Wide text

String PackWideText(const String& Value) {
    String r = QStringLiteral("|\\");
    r.reserve(2 + Value.size() * 2);
    for (Char c : Value) {
        r += QChar(c.unicode() >> 8);
        r += QChar(c.unicode() & 0xFF);
    }
    return r;
}

String UnpackWideText(const String& Text) {
    if (!Text.startsWith(QStringLiteral("|\\"))) return Text;
    String r;
    for (int i = 2; i + 1 < Text.size(); i += 2)
        r += QChar(char16_t(((Text[i].unicode() & 0xFF) << 8) | (Text[i + 1].unicode() & 0xFF)));
    return r;
}

int WidePos(const String& Sub, const String& S) {
    return Pos(Sub, S);
}

// ---------------------------------------------------------------------------------------------
// Other text routines

int UpperCasePos(const String& Sub, const String& Text) {
    return Pos(Sub, AnsiUpperCase(Text));
}

int CharPos(Char Ch, const String& Text) {
    return int(Text.indexOf(Ch)) + 1;
}

int CharPosVar(Char Ch, const String& Text, int& Pos) {
    Pos = CharPos(Ch, Text);
    return Pos;
}

int PosVar(const String& Sub, const String& S, int& P) {
    P = Pos(Sub, S);
    return P;
}

String CutToken(String& Source, const String& Delim) {
    const int p = Pos(Delim, Source);
    if (p == 0) return String();
    String token = Source.left(p - 1);
    Source = Source.mid(p - 1 + Delim.size());
    return token;
}

String ConcatLines(TStrings* Lines) {
    String r;
    if (!Lines) return r;
    for (int i = 0; i < Lines->Count(); ++i) r += Lines->Strings(i);
    return r;
}

bool CellInGridRect(int ACol, int ARow, const TRect& R) {
    return ACol >= R.Left && ACol <= R.Right && ARow >= R.Top && ARow <= R.Bottom;
}

bool ParseRCCellRef(const String& Text, TPoint& P) {
    const String s = AnsiUpperCase(Text);
    if (s.size() <= 3 || s[0] != u'R') return false;
    const int c = int(s.indexOf(u'C'));
    if (c < 0) return false;
    int row, col;
    if (!ReadInt(s.mid(1, c - 1), row) || !ReadInt(s.mid(c + 1), col)) return false;
    P = TPoint(col, row);
    return true;
}

// ---------------------------------------------------------------------------------------------
// Clipboard HTML

String BuildClipboardHTML(const String& Fragment) {
    static const String DocType =
        QStringLiteral("<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.0 Transitional//EN\">");
    static const String Head = QStringLiteral(
        "<html><head><META http-equiv=Content-Type content=\"text/html; charset=iso-8859-1\"></head>"
        "<body><!--StartFragment-->");
    static const String Tail = QStringLiteral("<!--EndFragment--></body></html>");
    const int n = int(Fragment.size());
    auto offset = [](int v) { return QStringLiteral("%1").arg(v, 8, 10, QChar(u'0')); };
    // The header is 97 characters; the fragment starts after the document type and the head.
    const int startHTML = 97;
    const int startFragment = startHTML + int(DocType.size()) + int(Head.size());
    const int endFragment = startFragment + n;
    const int endHTML = endFragment + int(Tail.size());
    return QStringLiteral("Version:1.0\r\n") + QStringLiteral("StartHTML:") + offset(startHTML) + CRLF +
           QStringLiteral("EndHTML:") + offset(endHTML) + CRLF + QStringLiteral("StartFragment:") +
           offset(startFragment) + CRLF + QStringLiteral("EndFragment:") + offset(endFragment) + CRLF +
           DocType + Head + Fragment + Tail;
}

// ---------------------------------------------------------------------------------------------
// Capitalisation

String ToMixedCase(const String& Text) {
    auto isSeparator = [](Char c) { return c == u' ' || c == u'\'' || c == u',' || c == u'-' || c == u'.'; };
    String r = Text;
    bool upNext = true;
    for (Char& c : r) {
        const bool sep = isSeparator(c);
        if (!sep) c = upNext ? c.toUpper() : c.toLower();
        upNext = sep;
    }
    // "Mc" names: the letter after the c is a capital too.
    if (r.size() > 2 && r.startsWith(QStringLiteral("Mc"))) r[2] = r[2].toUpper();
    const int mc = int(r.indexOf(QStringLiteral(" Mc")));
    if (mc >= 0 && mc + 3 < r.size()) r[mc + 3] = r[mc + 3].toUpper();
    // A final roman numeral I, II or III stays in capitals. Only a last word made of I's counts:
    // capitalising any letter that follows a final " I" or " II" would turn "Ivy" into "IVy".
    const int lastBlank = int(r.lastIndexOf(u' '));
    if (lastBlank >= 0) {
        const String word = r.mid(lastBlank + 1);
        if (!word.isEmpty() && word.size() <= 3 && word.toUpper() == String(word.size(), u'I'))
            for (int i = lastBlank + 1; i < r.size(); ++i) r[i] = u'I';
    }
    return r;
}

// ---------------------------------------------------------------------------------------------
// Filter conditions

namespace {

bool IsFilterOperator(Char c) {
    return c == u'(' || c == u';' || c == u'^' || c == u'&' || c == u'|';
}

// Index of the next operator at or after From outside double quotes, -1 when none.
int NextOperator(const String& S, int From) {
    bool quoted = false;
    for (int i = From; i < S.size(); ++i) {
        if (S[i] == u'"')
            quoted = !quoted;
        else if (!quoted && IsFilterOperator(S[i]))
            return i;
    }
    return -1;
}

// Index of the ")" that closes the "(" at Open (outside quotes), -1 when none.
int MatchingParenthesis(const String& S, int Open) {
    bool quoted = false;
    int depth = 0;
    for (int i = Open; i < S.size(); ++i) {
        const Char c = S[i];
        if (c == u'"') {
            quoted = !quoted;
        } else if (!quoted) {
            if (c == u'(')
                ++depth;
            else if (c == u')' && --depth == 0)
                return i;
        }
    }
    return -1;
}

String Unquote(const String& S) {
    if (S.size() >= 2 && S.startsWith(u'"') && S.endsWith(u'"')) return S.mid(1, S.size() - 2);
    return S;
}

// The value compared with an operand: as dates when both are dates, as numbers when both are
// numbers (and neither a date), else as texts by character code (first 255 characters).
int CompareFilterValues(const String& Value, const String& Operand) {
    const TLocaleNow loc;
    auto normalise = [&](const String& s) {
        String r;
        for (Char c : s) {
            if (c == loc.Thousand) continue;
            r += c == loc.Decimal ? QChar(u'.') : c;
        }
        return r;
    };
    TDateTime dv = 0, dop = 0;
    const bool dateV = ParseLocaleDateTime(Value, dv);
    const bool dateOp = ParseLocaleDateTime(Operand, dop);
    double nv = 0, nop = 0;
    const bool numV = ReadDotNumber(normalise(Value), nv);
    const bool numOp = ReadDotNumber(normalise(Operand), nop);
    if (dateV && dateOp) return dv < dop ? -1 : (dv > dop ? 1 : 0);
    if (numV && numOp && !dateV && !dateOp) return nv < nop ? -1 : (nv > nop ? 1 : 0);
    return CompareStr(Value.left(255), Operand.left(255));
}

// One comparison: Op is ">", ">=", "<" or "<=", Operand its text.
bool CompareHolds(const String& Value, const String& Op, const String& Operand) {
    const int c = CompareFilterValues(Value, Unquote(Trim(Operand)));
    if (Op == QStringLiteral(">")) return c > 0;
    if (Op == QStringLiteral(">=")) return c >= 0;
    if (Op == QStringLiteral("<")) return c < 0;
    return c <= 0;
}

// Patterns over the whole value: "*" any run of characters (also none), "?" one character,
// double quotes are not looked at, every other character stands for itself; a "!" negates
// whether the rest of the pattern matches the rest of the value from where the "!" is reached
// (written first, it negates the whole pattern). Stars are matched in time proportional to the
// pattern's length times the value's at worst, never by trying every split of the value.

// The pattern P from Pi, holding no "!", against V from Vi: the greedy match with one back-up
// point. A star first takes nothing; on a mismatch the last star takes one character more and
// the match goes on behind it. Earlier stars never need to take more: whatever a longer run of
// theirs could reach, the last star reaches too.
bool MatchStars(const String& P, int Pi, const String& V, int Vi) {
    const int m = int(P.size()), n = int(V.size());
    int star = -1, mark = 0;
    while (Vi < n) {
        if (Pi < m && P[Pi] == u'*') {
            star = Pi++;
            mark = Vi;
        } else if (Pi < m && (P[Pi] == u'?' || P[Pi] == V[Vi])) {
            ++Pi;
            ++Vi;
        } else if (star >= 0) {
            Pi = star + 1;
            Vi = ++mark;
        } else {
            return false;
        }
    }
    while (Pi < m && P[Pi] == u'*') ++Pi;
    return Pi == m;
}

// The pattern P from Pi, which holds a "!" behind a star, against V from Vi. The "!" asks its
// rest from every position the star can reach, so the answer is worked out for all positions at
// once: one row per pattern character, from the pattern's end backwards, where Row[v] tells
// whether the pattern from that character matches the value from position v.
bool MatchFromEveryPosition(const String& P, int Pi, const String& V, int Vi) {
    const int n = int(V.size());
    std::vector<char> row(size_t(n) + 1, 0), next(size_t(n) + 1);
    row[size_t(n)] = 1; // the end of the pattern matches the end of the value only
    for (int i = int(P.size()) - 1; i >= Pi; --i) {
        row.swap(next);
        const Char c = P[i];
        if (c == u'!') {
            for (int v = 0; v <= n; ++v) row[size_t(v)] = !next[size_t(v)];
        } else if (c == u'*') {
            row[size_t(n)] = next[size_t(n)];
            for (int v = n - 1; v >= 0; --v) row[size_t(v)] = next[size_t(v)] || row[size_t(v) + 1];
        } else {
            row[size_t(n)] = 0;
            for (int v = 0; v < n; ++v) row[size_t(v)] = next[size_t(v) + 1] && (c == u'?' || c == V[v]);
        }
    }
    return row[size_t(Vi)];
}

bool MatchPattern(const String& Term, const String& V) {
    const String P = Term.contains(u'"') ? String(Term).remove(u'"') : Term;
    const int m = int(P.size()), n = int(V.size());
    // Up to the first star the pattern can match one way only; every "!" on that way flips the
    // answer of what follows it.
    bool negate = false;
    int vi = 0;
    for (int pi = 0; pi < m; ++pi) {
        const Char c = P[pi];
        if (c == u'!') {
            negate = !negate;
        } else if (c == u'*') {
            const bool rest =
                P.indexOf(u'!', pi) < 0 ? MatchStars(P, pi, V, vi) : MatchFromEveryPosition(P, pi, V, vi);
            return negate != rest;
        } else if (vi < n && (c == u'?' || c == V[vi])) {
            ++vi;
        } else {
            return negate;
        }
    }
    return negate != (vi == n);
}

bool EvaluateCondition(const String& C, const String& Value, bool CaseSensitive, int Depth) {
    bool result = false;
    bool first = true;
    Char op = u'|';
    int pos = 0;
    auto combine = [&](bool r) {
        if (first)
            result = r;
        else if (op == u'&')
            result = result && r;
        else
            result = result || r;
        first = false;
    };
    for (;;) {
        if (pos < C.size() && C[pos] == u'(') {
            int close = MatchingParenthesis(C, pos);
            // An unclosed group runs to the end of the condition.
            const int end = close < 0 ? int(C.size()) : close;
            const String group = C.mid(pos + 1, end - pos - 1);
            // Deeply nested groups are cut off rather than exhausting the stack.
            combine(Depth < 64 ? EvaluateCondition(group, Value, CaseSensitive, Depth + 1) : false);
            pos = close < 0 ? int(C.size()) : close + 1;
            // Text between a group and the next operator has no meaning: it is passed over.
            const int next = NextOperator(C, pos);
            if (next < 0) break;
            pos = next;
        } else {
            const int next = NextOperator(C, pos);
            String term = next < 0 ? C.mid(pos) : C.mid(pos, next - pos);
            String value = Value;
            if (!CaseSensitive) {
                term = AnsiUpperCase(term);
                value = AnsiUpperCase(value);
            }
            combine(MatchFilterTerm(term, value));
            if (next < 0) break;
            pos = next;
        }
        if (C[pos] == u'(') {
            // A group right after a term joins it by and.
            op = u'&';
            continue;
        }
        op = C[pos];
        ++pos;
        if (pos >= C.size()) {
            // The (empty) text after the last operator is the last term.
            String value = CaseSensitive ? Value : AnsiUpperCase(Value);
            combine(MatchFilterTerm(String(), value));
            break;
        }
    }
    return result;
}

} // namespace

bool MatchFilterTerm(const String& Term, const String& Value) {
    const int gt = int(Term.indexOf(u'>'));
    const int lt = int(Term.indexOf(u'<'));
    if (gt >= 0 || lt >= 0) {
        // One comparison, or two joined by and when the term holds both signs (">5<10").
        auto comparison = [&](int at, int end) {
            const Char sign = Term[at];
            int operandAt = at + 1;
            String op(sign);
            if (operandAt < end && Term[operandAt] == u'=') {
                op += u'=';
                ++operandAt;
            }
            return CompareHolds(Value, op, Term.mid(operandAt, end - operandAt));
        };
        if (gt >= 0 && lt >= 0) {
            const int firstAt = std::min(gt, lt), secondAt = std::max(gt, lt);
            return comparison(firstAt, secondAt) && comparison(secondAt, int(Term.size()));
        }
        return comparison(gt >= 0 ? gt : lt, int(Term.size()));
    }
    return MatchPattern(Term, Value);
}

bool MatchFilterCondition(const String& Condition, const String& Value, bool CaseSensitive) {
    // Blanks outside double quotes are dropped, then a leading "=".
    const String trimmed = Trim(Condition);
    String c;
    bool quoted = false;
    for (Char ch : trimmed) {
        if (ch == u'"') quoted = !quoted;
        if (ch == u' ' && !quoted) continue;
        c += ch;
    }
    if (c.startsWith(u'=')) c.remove(0, 1);
    if (c.isEmpty()) return true;
    return EvaluateCondition(c, Value, CaseSensitive, 0);
}

// ---------------------------------------------------------------------------------------------
// Links

bool IsURL(const String& Text) {
    return Text.contains(QStringLiteral("://")) || Text.contains(QStringLiteral("mailto:"));
}

String StripURLScheme(const String& Text) {
    int p = int(Text.indexOf(QStringLiteral("://")));
    if (p >= 0) return Text.mid(p + 3);
    p = int(Text.indexOf(QStringLiteral("mailto:")));
    if (p >= 0) return Text.mid(p + 7);
    return Text;
}

bool MakeURLAnchor(const String& Text, const String& Prefix, String& Result) {
    if (Prefix.isEmpty() || !AnsiUpperCase(Text).contains(Prefix)) return false;
    String s = Text;
    s.replace(u'<', QStringLiteral("&lt;"));
    s.replace(u'>', QStringLiteral("&gt;"));
    const int start = int(AnsiUpperCase(s).indexOf(Prefix));
    auto isURLChar = [](Char c) {
        return IsDigit(c) || IsAsciiLetter(c) || QStringLiteral("%()-./:@\\_{}").contains(c);
    };
    int end = start + int(Prefix.size());
    while (end < s.size() && isURLChar(s[end])) ++end;
    const String url = s.mid(start, end - start);
    Result = s.left(start) + QStringLiteral("<a href=\"") + url + QStringLiteral("\">") + url +
             QStringLiteral("</a>") + s.mid(end);
    return true;
}
