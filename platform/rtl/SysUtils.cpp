#include "SysUtils.h"
#include "MessageBeepCount.h"

#include <QApplication>
#include <atomic>
#include <QCoreApplication>
#include <QDate>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QRegularExpression>
#include <QTime>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <climits>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <string>
#include <thread>

// =============================================================================================
// Run-time format settings
// =============================================================================================

namespace {

// Turns a Qt date/time pattern into the class library's letters. With Sep given, the first
// separator between two fields is taken as the date (or time) separator and written as "/" (or
// ":"), so that the separator setting applies to it.
String ConvertQtFormat(const String& qt, bool isDate, Char* Sep) {
    String out;
    Char sep;
    bool sawField = false;
    const int n = int(qt.size());
    for (int i = 0; i < n;) {
        Char c = qt[i];
        if (c == u'\'') {
            // Quoted literal; '' is a single quote.
            int j = i + 1;
            String lit;
            while (j < n) {
                if (qt[j] == u'\'') {
                    if (j + 1 < n && qt[j + 1] == u'\'') {
                        lit += u'\'';
                        j += 2;
                        continue;
                    }
                    break;
                }
                lit += qt[j++];
            }
            if (!lit.isEmpty()) out += QStringLiteral("\"") + lit + QStringLiteral("\"");
            i = j + 1;
            continue;
        }
        if (c.unicode() < 128 && c.isLetter()) {
            int j = i;
            while (j < n && qt[j] == c) ++j;
            int cnt = j - i;
            i = j;
            switch (c.unicode()) {
                case u'd': out += String(cnt, u'd'); break;
                case u'M': out += String(cnt, u'm'); break;
                case u'y': out += cnt <= 2 ? QStringLiteral("yy") : QStringLiteral("yyyy"); break;
                case u'h':
                case u'H': out += cnt >= 2 ? QStringLiteral("hh") : QStringLiteral("h"); break;
                case u'm': out += cnt >= 2 ? QStringLiteral("nn") : QStringLiteral("n"); break;
                case u's': out += cnt >= 2 ? QStringLiteral("ss") : QStringLiteral("s"); break;
                case u'z': out += cnt >= 3 ? QStringLiteral("zzz") : QStringLiteral("z"); break;
                case u'A': out += QStringLiteral("AMPM"); break;
                case u'a': out += QStringLiteral("ampm"); break;
                default: break; // time zone and the like: left out
            }
            sawField = true;
            continue;
        }
        // Other characters are literal (our pattern letters are ASCII); an ASCII punctuation
        // character between fields is the separator.
        if (Sep && sawField && sep.isNull() && c.unicode() < 128 && !c.isLetterOrNumber() && !c.isSpace() &&
            c != u',')
            sep = c;
        if (Sep && !sep.isNull() && c == sep)
            out += isDate ? u'/' : u':';
        else
            out += c;
        ++i;
    }
    if (Sep) *Sep = sep;
    return out.trimmed();
}

TFormatSettings SettingsFromLocale(const QLocale& loc) {
    TFormatSettings fs;
    fs.DecimalSeparator = loc.decimalPoint().isEmpty() ? Char(u'.') : loc.decimalPoint().at(0);
    fs.ThousandSeparator = loc.groupSeparator().isEmpty() ? Char(u',') : loc.groupSeparator().at(0);
    fs.ListSeparator = fs.DecimalSeparator == u',' ? Char(u';') : Char(u',');
    fs.CurrencyString = loc.currencySymbol();
    {
        const String pos = loc.toCurrencyString(1.0);
        const String neg = loc.toCurrencyString(-1.0);
        const bool prefix = !fs.CurrencyString.isEmpty() && pos.startsWith(fs.CurrencyString);
        const bool space = pos.contains(u' ') || pos.contains(QChar(0xA0)) || pos.contains(QChar(0x202F));
        fs.CurrencyFormat = Byte((prefix ? 0 : 1) + (space ? 2 : 0));
        fs.NegCurrFormat = prefix ? (space ? 9 : 1) : (space ? 8 : 5);
        if (neg.startsWith(u'(')) fs.NegCurrFormat = prefix ? (space ? 14 : 0) : (space ? 15 : 4);
    }
    fs.CurrencyDecimals = 2;

    Char dsep, tsep;
    String shortDate = loc.dateFormat(QLocale::ShortFormat);
    // A short date with month names cannot be read back: use the month number instead.
    if (shortDate.contains(QStringLiteral("MMM"))) {
        shortDate.replace(QRegularExpression(QStringLiteral("M{3,}")), QStringLiteral("MM"));
        shortDate.replace(QRegularExpression(QStringLiteral("[^A-Za-z']+")), QStringLiteral("/"));
    }
    fs.ShortDateFormat = ConvertQtFormat(shortDate, true, &dsep);
    fs.LongDateFormat = ConvertQtFormat(loc.dateFormat(QLocale::LongFormat), true, nullptr);
    fs.DateSeparator = dsep.isNull() ? Char(u'/') : dsep;
    fs.ShortTimeFormat = ConvertQtFormat(loc.timeFormat(QLocale::ShortFormat), false, &tsep);
    fs.LongTimeFormat = ConvertQtFormat(loc.timeFormat(QLocale::LongFormat), false, &tsep);
    fs.TimeSeparator = tsep.isNull() ? Char(u':') : tsep;
    // Some locales write the long time with words between the fields ("14時05分06秒"): times
    // written that way could not be read back, so the long time follows the short one.
    if (!fs.LongTimeFormat.contains(u':') && fs.ShortTimeFormat.contains(u':')) {
        fs.LongTimeFormat = fs.ShortTimeFormat;
        if (!fs.LongTimeFormat.contains(u's'))
            fs.LongTimeFormat.replace(QStringLiteral("nn"), QStringLiteral("nn:ss"));
    }
    fs.TimeAMString = loc.amText();
    fs.TimePMString = loc.pmText();
    for (int i = 0; i < 12; ++i) {
        fs.ShortMonthNames[i] = loc.monthName(i + 1, QLocale::ShortFormat);
        fs.LongMonthNames[i] = loc.monthName(i + 1, QLocale::LongFormat);
    }
    for (int i = 0; i < 7; ++i) {
        const int qtDay = i == 0 ? 7 : i; // Qt counts Monday as 1
        fs.ShortDayNames[i] = loc.dayName(qtDay, QLocale::ShortFormat);
        fs.LongDayNames[i] = loc.dayName(qtDay, QLocale::LongFormat);
    }
    return fs;
}

} // namespace

TFormatSettings TFormatSettings::Create() {
    return SettingsFromLocale(QLocale::system());
}
TFormatSettings TFormatSettings::Create(const QLocale& Locale) {
    return SettingsFromLocale(Locale);
}

TFormatSettings TFormatSettings::Invariant() {
    TFormatSettings fs = SettingsFromLocale(QLocale::c());
    fs.CurrencyString = QString(QChar(0xA4));
    fs.CurrencyFormat = 0;
    fs.NegCurrFormat = 0;
    fs.DecimalSeparator = u'.';
    fs.ThousandSeparator = u',';
    fs.ListSeparator = u',';
    fs.DateSeparator = u'/';
    fs.TimeSeparator = u':';
    fs.ShortDateFormat = QStringLiteral("MM/dd/yyyy");
    fs.LongDateFormat = QStringLiteral("dddd, dd mmmm yyyy");
    fs.ShortTimeFormat = QStringLiteral("hh:nn");
    fs.LongTimeFormat = QStringLiteral("hh:nn:ss");
    fs.TimeAMString = QStringLiteral("AM");
    fs.TimePMString = QStringLiteral("PM");
    return fs;
}

TFormatSettings FormatSettings = TFormatSettings::Create();

Char GetDecimalSeparator() {
    const String s = QLocale::system().decimalPoint();
    return s.isEmpty() ? Char(u'.') : s[0];
}
Char GetThousandSeparator() {
    const String s = QLocale::system().groupSeparator();
    return s.isEmpty() ? Char(u',') : s[0];
}
Char GetDateSeparator() {
    return TFormatSettings::Create().DateSeparator;
}
Char GetTimeSeparator() {
    return TFormatSettings::Create().TimeSeparator;
}
String GetShortDateFormat() {
    return TFormatSettings::Create().ShortDateFormat;
}
String GetLongDateFormat() {
    return TFormatSettings::Create().LongDateFormat;
}
String GetShortTimeFormat() {
    return TFormatSettings::Create().ShortTimeFormat;
}
String GetLongTimeFormat() {
    return TFormatSettings::Create().LongTimeFormat;
}

// =============================================================================================
// Integers
// =============================================================================================

namespace {

int HexDigit(Char c) {
    const char16_t u = c.unicode();
    if (u >= u'0' && u <= u'9') return u - u'0';
    if (u >= u'a' && u <= u'f') return u - u'a' + 10;
    if (u >= u'A' && u <= u'F') return u - u'A' + 10;
    return -1;
}

template <class T> void ValInteger(const String& S, T& Value, int& Code) {
    using U = std::make_unsigned_t<T>;
    const int n = int(S.size());
    int i = 0;
    while (i < n && S[i] == u' ') ++i;
    bool neg = false;
    if (i < n && (S[i] == u'-' || S[i] == u'+')) {
        neg = S[i] == u'-';
        ++i;
    }
    bool hex = false;
    if (i < n && (S[i] == u'$' || S[i] == u'x' || S[i] == u'X')) {
        hex = true;
        ++i;
    } else if (i + 1 < n && S[i] == u'0' && (S[i + 1] == u'x' || S[i + 1] == u'X')) {
        hex = true;
        i += 2;
    }
    U acc = 0;
    auto result = [&]() {
        T v = T(acc);
        return neg ? T(U(0) - U(v)) : v;
    };
    if (i >= n) { // no digits at all
        Value = 0;
        Code = i + 1;
        return;
    }
    const U maxMag = neg ? U(std::numeric_limits<T>::max()) + 1 : U(std::numeric_limits<T>::max());
    for (; i < n; ++i) {
        int d = hex ? HexDigit(S[i]) : (S[i] >= u'0' && S[i] <= u'9' ? S[i].unicode() - u'0' : -1);
        bool overflow = false;
        if (d >= 0) {
            if (hex)
                overflow = acc > (std::numeric_limits<U>::max() >> 4);
            else
                overflow = acc > (maxMag - U(d)) / 10;
        }
        if (d < 0 || overflow) {
            Value = result();
            Code = i + 1;
            return;
        }
        acc = hex ? U((acc << 4) | U(d)) : U(acc * 10 + U(d));
    }
    Value = result();
    Code = 0;
}

[[noreturn]] void ConvertErrorInt(const String& S) {
    throw EConvertError(QStringLiteral("'%1' is not a valid integer value").arg(S));
}

} // namespace

void Val(const String& S, int& Value, int& Code) {
    ValInteger<int>(S, Value, Code);
}
void Val(const String& S, Int64& Value, int& Code) {
    ValInteger<Int64>(S, Value, Code);
}

String IntToStr64(Int64 Value) {
    return QString::number(qlonglong(Value));
}
String UIntToStr(uint64_t Value) {
    return QString::number(qulonglong(Value));
}

String IntToHex64(uint64_t Value, int Digits) {
    String s = QString::number(qulonglong(Value), 16).toUpper();
    if (s.size() < Digits) s.prepend(String(Digits - s.size(), u'0'));
    return s;
}

int StrToInt(const String& S) {
    int v, code;
    Val(S, v, code);
    if (code != 0) ConvertErrorInt(S);
    return v;
}

Int64 StrToInt64(const String& S) {
    Int64 v;
    int code;
    Val(S, v, code);
    if (code != 0) ConvertErrorInt(S);
    return v;
}

int StrToIntDef(const String& S, int Default) {
    int v;
    return TryStrToInt(S, v) ? v : Default;
}

Int64 StrToInt64Def(const String& S, Int64 Default) {
    Int64 v;
    return TryStrToInt64(S, v) ? v : Default;
}

bool TryStrToInt(const String& S, int& Value) {
    int v, code;
    Val(S, v, code);
    if (code != 0) return false;
    Value = v;
    return true;
}

bool TryStrToInt64(const String& S, Int64& Value) {
    Int64 v;
    int code;
    Val(S, v, code);
    if (code != 0) return false;
    Value = v;
    return true;
}

String BoolToStr(bool B, bool UseBoolStrs) {
    if (UseBoolStrs) return B ? QStringLiteral("True") : QStringLiteral("False");
    return B ? QStringLiteral("-1") : QStringLiteral("0");
}

bool TryStrToBool(const String& S, bool& Value) {
    if (S.compare(QStringLiteral("True"), Qt::CaseInsensitive) == 0) {
        Value = true;
        return true;
    }
    if (S.compare(QStringLiteral("False"), Qt::CaseInsensitive) == 0) {
        Value = false;
        return true;
    }
    double d;
    if (TryStrToFloat(S, d)) {
        Value = d != 0;
        return true;
    }
    return false;
}

bool StrToBool(const String& S) {
    bool b;
    if (!TryStrToBool(S, b)) throw EConvertError(QStringLiteral("'%1' is not a valid boolean value").arg(S));
    return b;
}

bool StrToBoolDef(const String& S, bool Default) {
    bool b;
    return TryStrToBool(S, b) ? b : Default;
}

Int64 Round(double X) {
    return Int64(std::nearbyint(X));
}
Int64 Trunc(double X) {
    return Int64(std::trunc(X));
}

// =============================================================================================
// Floating point
// =============================================================================================

namespace {

// Parses S as a number with the given decimal separator. Blanks around it are allowed when
// Blanks is set. Answers false for anything else, and for values out of range.
bool ParseFloat(const String& S, Char Sep, bool Blanks, double& Value, int* ErrorPos = nullptr) {
    const int n = int(S.size());
    int i = 0;
    auto fail = [&](int pos) {
        if (ErrorPos) *ErrorPos = pos + 1;
        return false;
    };
    if (Blanks)
        while (i < n && S[i] == u' ') ++i;
    std::string buf;
    if (i < n && (S[i] == u'+' || S[i] == u'-')) buf += char(S[i++].unicode());
    int digits = 0;
    while (i < n && S[i] >= u'0' && S[i] <= u'9') {
        buf += char(S[i++].unicode());
        ++digits;
    }
    if (i < n && S[i] == Sep) {
        buf += '.';
        ++i;
        while (i < n && S[i] >= u'0' && S[i] <= u'9') {
            buf += char(S[i++].unicode());
            ++digits;
        }
    }
    if (digits == 0) return fail(i);
    if (i < n && (S[i] == u'e' || S[i] == u'E')) {
        buf += 'e';
        ++i;
        if (i < n && (S[i] == u'+' || S[i] == u'-')) buf += char(S[i++].unicode());
        int ed = 0;
        while (i < n && S[i] >= u'0' && S[i] <= u'9') {
            buf += char(S[i++].unicode());
            ++ed;
        }
        if (ed == 0) return fail(i);
    }
    if (Blanks)
        while (i < n && S[i] == u' ') ++i;
    if (i != n) return fail(i);
    errno = 0;
    char* end = nullptr;
    double v = std::strtod(buf.c_str(), &end);
    if (!std::isfinite(v)) return fail(n);
    Value = v;
    if (ErrorPos) *ErrorPos = 0;
    return true;
}

// A number as decimal digits: value = 0.Digits * 10^Exponent; Digits without trailing zeros,
// empty for zero.
struct TFloatRec {
    std::string Digits;
    int Exponent = 0;
    bool Negative = false;
};

TFloatRec FloatToDecimal(double v) {
    TFloatRec r;
    r.Negative = std::signbit(v);
    v = std::fabs(v);
    if (v == 0) return r;
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.16e", v); // 17 significant digits: exact for a double
    const char* e = std::strchr(buf, 'e');
    r.Exponent = std::atoi(e + 1) + 1;
    for (const char* p = buf; p < e; ++p)
        if (*p >= '0' && *p <= '9') r.Digits += *p;
    while (!r.Digits.empty() && r.Digits.back() == '0') r.Digits.pop_back();
    return r;
}

// Keeps Keep digits, rounding half away from zero as the class library does.
void RoundDigits(TFloatRec& r, int Keep) {
    if (int(r.Digits.size()) <= Keep) return;
    if (Keep < 0) {
        r.Digits.clear();
        return;
    }
    const bool up = r.Digits[size_t(Keep)] >= '5';
    r.Digits.resize(size_t(Keep));
    if (up) {
        int i = Keep - 1;
        while (i >= 0 && r.Digits[size_t(i)] == '9') {
            r.Digits[size_t(i)] = '0';
            --i;
        }
        if (i < 0) {
            r.Digits.insert(r.Digits.begin(), '1');
            r.Exponent += 1;
            r.Digits.resize(size_t(std::max(Keep, 1)));
        } else {
            r.Digits[size_t(i)]++;
        }
    }
    while (!r.Digits.empty() && r.Digits.back() == '0') r.Digits.pop_back();
}

String ExponentText(int exp, int minDigits, bool plus) {
    String s = QStringLiteral("E");
    if (exp < 0)
        s += u'-';
    else if (plus)
        s += u'+';
    String d = QString::number(std::abs(exp));
    if (d.size() < minDigits) d.prepend(String(minDigits - d.size(), u'0'));
    return s + d;
}

// "ddd" with thousand separators every three digits.
String GroupThousands(const String& intPart, Char sep) {
    if (sep.isNull() || intPart.size() <= 3) return intPart;
    String out;
    const int n = int(intPart.size());
    for (int i = 0; i < n; ++i) {
        if (i > 0 && (n - i) % 3 == 0) out += sep;
        out += intPart[i];
    }
    return out;
}

// Integer and fraction digits of a rounded number in fixed notation.
void FixedParts(const TFloatRec& r, int decimals, String& intPart, String& fracPart) {
    intPart.clear();
    fracPart.clear();
    const int nd = int(r.Digits.size());
    if (r.Exponent <= 0)
        intPart = QStringLiteral("0");
    else
        for (int i = 0; i < r.Exponent; ++i) intPart += i < nd ? Char(r.Digits[size_t(i)]) : Char(u'0');
    for (int k = 0; k < decimals; ++k) {
        const int idx = r.Exponent + k;
        fracPart += idx >= 0 && idx < nd ? Char(r.Digits[size_t(idx)]) : Char(u'0');
    }
}

String Currency(const String& num, bool neg, const TFormatSettings& fs) {
    const String& c = fs.CurrencyString;
    if (!neg) {
        switch (fs.CurrencyFormat) {
            case 0: return c + num;
            case 1: return num + c;
            case 2: return c + u' ' + num;
            default: return num + u' ' + c;
        }
    }
    switch (fs.NegCurrFormat) {
        case 0: return u'(' + c + num + u')';
        case 1: return u'-' + c + num;
        case 2: return c + u'-' + num;
        case 3: return c + num + u'-';
        case 4: return u'(' + num + c + u')';
        case 5: return u'-' + num + c;
        case 6: return num + u'-' + c;
        case 7: return num + c + u'-';
        case 8: return u'-' + num + u' ' + c;
        case 9: return u'-' + c + u' ' + num;
        case 10: return num + u' ' + c + u'-';
        case 11: return c + u' ' + num + u'-';
        case 12: return c + u' ' + u'-' + num;
        case 13: return num + u'-' + u' ' + c;
        case 14: return u'(' + c + u' ' + num + u')';
        default: return u'(' + num + u' ' + c + u')';
    }
}

String GeneralText(TFloatRec r, int precision, int digits, const TFormatSettings& fs) {
    RoundDigits(r, precision);
    if (r.Digits.empty()) return QStringLiteral("0");
    String s = r.Negative ? QStringLiteral("-") : String();
    const int nd = int(r.Digits.size());
    if (r.Exponent > precision || r.Exponent < -3) {
        s += Char(r.Digits[0]);
        if (nd > 1) {
            s += fs.DecimalSeparator;
            for (int i = 1; i < nd; ++i) s += Char(r.Digits[size_t(i)]);
        }
        return s + ExponentText(r.Exponent - 1, digits, false);
    }
    String ip, fp;
    FixedParts(r, std::max(0, nd - r.Exponent), ip, fp);
    s += ip;
    if (!fp.isEmpty()) s += fs.DecimalSeparator + fp;
    return s;
}

} // namespace

void Val(const String& S, double& Value, int& Code) {
    double v = 0;
    int pos = 0;
    if (ParseFloat(S, u'.', false, v, &pos)) {
        Value = v;
        Code = 0;
    } else {
        Value = 0;
        Code = pos;
    }
}

bool TryStrToFloat(const String& S, double& Value, const TFormatSettings& Settings) {
    return ParseFloat(S, Settings.DecimalSeparator, true, Value);
}
bool TryStrToFloat(const String& S, double& Value) {
    return TryStrToFloat(S, Value, FormatSettings);
}

double StrToFloat(const String& S, const TFormatSettings& Settings) {
    double v;
    if (!TryStrToFloat(S, v, Settings))
        throw EConvertError(QStringLiteral("'%1' is not a valid floating point value").arg(S));
    return v;
}
double StrToFloat(const String& S) {
    return StrToFloat(S, FormatSettings);
}

double StrToFloatDef(const String& S, double Default, const TFormatSettings& Settings) {
    double v;
    return TryStrToFloat(S, v, Settings) ? v : Default;
}
double StrToFloatDef(const String& S, double Default) {
    return StrToFloatDef(S, Default, FormatSettings);
}

String FloatToStrF(double Value, TFloatFormat Format, int Precision, int Digits, const TFormatSettings& fs) {
    if (std::isnan(Value)) return QStringLiteral("NAN");
    if (std::isinf(Value)) return Value > 0 ? QStringLiteral("INF") : QStringLiteral("-INF");
    Precision = std::clamp(Precision, 1, 18);
    TFloatRec r = FloatToDecimal(Value);
    switch (Format) {
        case ffGeneral: return GeneralText(r, Precision, std::clamp(Digits, 0, 4), fs);
        case ffExponent: {
            RoundDigits(r, Precision);
            String s = r.Negative && !r.Digits.empty() ? QStringLiteral("-") : String();
            std::string d = r.Digits;
            d.resize(size_t(Precision), '0');
            s += Char(d[0]);
            if (Precision > 1) {
                s += fs.DecimalSeparator;
                for (int i = 1; i < Precision; ++i) s += Char(d[size_t(i)]);
            }
            return s + ExponentText(r.Digits.empty() ? 0 : r.Exponent - 1, std::clamp(Digits, 0, 4), true);
        }
        case ffFixed:
        case ffNumber:
        case ffCurrency: {
            Digits = std::clamp(Digits, 0, 18);
            {
                TFloatRec t = r;
                RoundDigits(t, Precision);
                if (t.Exponent > Precision) return GeneralText(r, Precision, 0, fs);
            }
            RoundDigits(r, std::min(Precision, r.Exponent + Digits));
            String ip, fp;
            FixedParts(r, Digits, ip, fp);
            if (Format != ffFixed) ip = GroupThousands(ip, fs.ThousandSeparator);
            String num = ip;
            if (Digits > 0) num += fs.DecimalSeparator + fp;
            const bool neg = r.Negative && !r.Digits.empty();
            if (Format == ffCurrency) return Currency(num, neg, fs);
            return neg ? u'-' + num : num;
        }
    }
    return String();
}

String FloatToStrF(double Value, TFloatFormat Format, int Precision, int Digits) {
    return FloatToStrF(Value, Format, Precision, Digits, FormatSettings);
}

String FloatToStr(double Value, const TFormatSettings& Settings) {
    return FloatToStrF(Value, ffGeneral, 15, 0, Settings);
}
String FloatToStr(double Value) {
    return FloatToStr(Value, FormatSettings);
}

// ---- FormatFloat ----------------------------------------------------------------------------

namespace {

// Splits a picture format into its sections (";" outside quotes).
QStringList FloatSections(const String& fmt) {
    QStringList out;
    String cur;
    Char quote;
    for (Char c : fmt) {
        if (!quote.isNull()) {
            if (c == quote) quote = Char();
            cur += c;
        } else if (c == u'"' || c == u'\'') {
            quote = c;
            cur += c;
        } else if (c == u';') {
            out << cur;
            cur.clear();
        } else {
            cur += c;
        }
    }
    out << cur;
    return out;
}

String FormatSection(const String& sec, double value, bool withSign, const TFormatSettings& fs) {
    // Pass 1: the shape of the picture.
    int intPlaces = 0, intZeros = -1, fracMin = 0, fracMax = 0, expDigits = 0;
    bool seenPoint = false, thousands = false, sci = false, sciPlus = false;
    int firstPh = -1, lastPh = -1;
    const int n = int(sec.size());
    for (int i = 0; i < n; ++i) {
        Char c = sec[i];
        if (c == u'"' || c == u'\'') {
            int j = sec.indexOf(c, i + 1);
            i = j < 0 ? n : j;
            continue;
        }
        if (sci) continue;
        if (c == u'0' || c == u'#') {
            if (firstPh < 0) firstPh = i;
            lastPh = i;
            if (!seenPoint) {
                ++intPlaces;
                if (c == u'0' && intZeros < 0) intZeros = intPlaces;
            } else {
                ++fracMax;
                if (c == u'0') fracMin = fracMax;
            }
        } else if (c == u'.') {
            if (!seenPoint) {
                seenPoint = true;
                if (firstPh < 0) firstPh = i;
                lastPh = i;
            }
        } else if (c == u',') {
            if (!seenPoint && firstPh >= 0) thousands = true;
        } else if ((c == u'E' || c == u'e') && i + 1 < n && (sec[i + 1] == u'+' || sec[i + 1] == u'-') &&
                   firstPh >= 0) {
            sci = true;
            sciPlus = sec[i + 1] == u'+';
            int j = i + 2;
            while (j < n && sec[j] == u'0') {
                ++expDigits;
                ++j;
            }
            lastPh = j - 1;
        }
    }
    const int minInt = intZeros < 0 ? 0 : intPlaces - intZeros + 1;

    // The number's text.
    String digitsText;
    TFloatRec r = FloatToDecimal(value);
    String ip, fp;
    String expText;
    if (sci) {
        const int prec = std::max(1, intPlaces + fracMax);
        RoundDigits(r, prec);
        int exp = r.Digits.empty() ? 0 : r.Exponent - std::max(intPlaces, 1);
        TFloatRec m = r;
        m.Exponent = r.Digits.empty() ? 0 : std::max(intPlaces, 1);
        FixedParts(m, fracMax, ip, fp);
        expText = QString::number(std::abs(exp));
        if (expText.size() < expDigits) expText.prepend(String(expDigits - expText.size(), u'0'));
        expText.prepend(exp < 0 ? QStringLiteral("-") : (sciPlus ? QStringLiteral("+") : String()));
    } else {
        RoundDigits(r, std::min(18, r.Exponent + fracMax));
        FixedParts(r, fracMax, ip, fp);
    }
    // Integer digits: no leading zeros beyond what the picture asks for.
    while (ip.size() > 1 && ip[0] == u'0') ip.remove(0, 1);
    if (ip == u"0" && minInt == 0) ip.clear();
    if (ip.size() < minInt) ip.prepend(String(minInt - ip.size(), u'0'));
    while (fp.size() > fracMin && fp.endsWith(u'0')) fp.chop(1);
    if (thousands) ip = GroupThousands(ip, fs.ThousandSeparator);
    String number = ip;
    if (!fp.isEmpty()) number += fs.DecimalSeparator + fp;
    if (sci) number += sec[sec.indexOf(QRegularExpression(QStringLiteral("[Ee][+-]")))] + expText;
    if (withSign && value < 0 && !r.Digits.empty()) number.prepend(u'-');

    // Pass 2: literals before and after the number's place.
    String out;
    bool placed = false;
    for (int i = 0; i < n; ++i) {
        Char c = sec[i];
        if (c == u'"' || c == u'\'') {
            int j = sec.indexOf(c, i + 1);
            if (j < 0) j = n;
            out += sec.mid(i + 1, j - i - 1);
            i = j;
            continue;
        }
        if (firstPh >= 0 && i >= firstPh && i <= lastPh) {
            if (!placed) out += number;
            placed = true;
            continue;
        }
        if (c == u',' && firstPh >= 0 && i > firstPh && i < lastPh) continue;
        out += c;
    }
    return out;
}

} // namespace

String FormatFloat(const String& Format, double Value, const TFormatSettings& Settings) {
    if (std::isnan(Value)) return QStringLiteral("NAN");
    if (std::isinf(Value)) return Value > 0 ? QStringLiteral("INF") : QStringLiteral("-INF");
    if (Format.isEmpty()) return FloatToStr(Value, Settings);
    QStringList sec = FloatSections(Format);
    if (Value < 0 && sec.size() >= 2 && !sec[1].isEmpty())
        return FormatSection(sec[1], -Value, false, Settings);
    if (sec.size() >= 3 && !sec[2].isEmpty()) {
        // The zero section applies when the value shows as zero in the positive picture.
        String pos = FormatSection(sec[0], std::fabs(Value), false, Settings);
        bool allZero = true;
        for (Char c : pos)
            if (c.isDigit() && c != u'0') allZero = false;
        if (allZero) return FormatSection(sec[2], 0, false, Settings);
    }
    return FormatSection(sec[0], Value, true, Settings);
}
String FormatFloat(const String& Format, double Value) {
    return FormatFloat(Format, Value, FormatSettings);
}

// =============================================================================================
// Format
// =============================================================================================

String FormatArgs(const String& Fmt, const std::vector<TVarRec>& Args, const TFormatSettings& fs) {
    auto bad = [&]() -> EConvertError {
        return EConvertError(QStringLiteral("Format '%1' invalid or incompatible with argument").arg(Fmt));
    };
    String out;
    size_t next = 0;
    const int n = int(Fmt.size());
    for (int i = 0; i < n; ++i) {
        Char c = Fmt[i];
        if (c != u'%') {
            out += c;
            continue;
        }
        if (++i >= n) throw bad();
        if (Fmt[i] == u'%') {
            out += u'%';
            continue;
        }
        // A number or "*" (taken from the arguments); -1 when absent.
        auto number = [&]() -> int {
            if (i < n && Fmt[i] == u'*') {
                ++i;
                if (next >= Args.size() || Args[next].VType != TVarRec::vtInteger) throw bad();
                return int(Args[next++].VInteger);
            }
            int v = -1;
            while (i < n && Fmt[i] >= u'0' && Fmt[i] <= u'9') {
                v = (v < 0 ? 0 : v) * 10 + (Fmt[i].unicode() - u'0');
                if (v > 1000000) throw bad();
                ++i;
            }
            return v;
        };
        // [index ":"] ["-"] [width] ["." precision] type
        int width = number();
        if (i < n && Fmt[i] == u':') {
            next = size_t(std::max(width, 0));
            ++i;
            width = -1;
        }
        bool left = false;
        if (width < 0) {
            if (i < n && Fmt[i] == u'-') {
                left = true;
                ++i;
            }
            width = number();
        }
        int prec = -1;
        if (i < n && Fmt[i] == u'.') {
            ++i;
            prec = std::max(number(), 0);
        }
        if (i >= n) throw bad();
        const char16_t type = Fmt[i].toLower().unicode();
        if (next >= Args.size()) throw bad();
        const TVarRec& a = Args[next++];
        String s;
        const bool isInt =
            a.VType == TVarRec::vtInteger || a.VType == TVarRec::vtInt64 || a.VType == TVarRec::vtUInt64;
        switch (type) {
            case u'd':
            case u'u': {
                if (!isInt) throw bad();
                bool neg = false;
                uint64_t mag;
                if (a.VType == TVarRec::vtUInt64) {
                    mag = uint64_t(a.VInteger);
                } else if (type == u'u' && a.VInteger < 0) {
                    mag = a.VType == TVarRec::vtInteger ? uint64_t(uint32_t(int32_t(a.VInteger)))
                                                        : uint64_t(a.VInteger);
                } else {
                    neg = a.VInteger < 0;
                    mag = neg ? uint64_t(0) - uint64_t(a.VInteger) : uint64_t(a.VInteger);
                }
                s = QString::number(qulonglong(mag));
                if (prec > s.size()) s.prepend(String(prec - s.size(), u'0'));
                if (neg) s.prepend(u'-');
                break;
            }
            case u'x': {
                if (!isInt) throw bad();
                uint64_t bits = a.VType == TVarRec::vtInteger ? uint64_t(uint32_t(int32_t(a.VInteger)))
                                                              : uint64_t(a.VInteger);
                s = IntToHex64(bits, std::max(prec, 0));
                break;
            }
            case u's':
                if (a.VType != TVarRec::vtString && a.VType != TVarRec::vtChar) throw bad();
                s = a.VString;
                if (prec >= 0 && s.size() > prec) s.truncate(prec);
                break;
            case u'f':
                if (a.VType != TVarRec::vtExtended) throw bad();
                s = FloatToStrF(a.VExtended, ffFixed, 18, prec < 0 ? 2 : prec, fs);
                break;
            case u'n':
                if (a.VType != TVarRec::vtExtended) throw bad();
                s = FloatToStrF(a.VExtended, ffNumber, 18, prec < 0 ? 2 : prec, fs);
                break;
            case u'm':
                if (a.VType != TVarRec::vtExtended) throw bad();
                s = FloatToStrF(a.VExtended, ffCurrency, 18, prec < 0 ? fs.CurrencyDecimals : prec, fs);
                break;
            case u'e':
                if (a.VType != TVarRec::vtExtended) throw bad();
                s = FloatToStrF(a.VExtended, ffExponent, prec < 0 ? 15 : std::max(prec, 1), 3, fs);
                break;
            case u'g':
                if (a.VType != TVarRec::vtExtended) throw bad();
                s = FloatToStrF(a.VExtended, ffGeneral, prec <= 0 ? 15 : prec, 3, fs);
                break;
            case u'p':
                if (a.VType != TVarRec::vtPointer) throw bad();
                s = IntToHex64(uint64_t(reinterpret_cast<uintptr_t>(a.VPointer)), int(sizeof(void*) * 2));
                break;
            default: throw bad();
        }
        if (width > s.size()) {
            const String pad(width - s.size(), u' ');
            s = left ? s + pad : pad + s;
        }
        out += s;
    }
    return out;
}

String FormatArgs(const String& Fmt, const std::vector<TVarRec>& Args) {
    return FormatArgs(Fmt, Args, FormatSettings);
}

// =============================================================================================
// Strings
// =============================================================================================

int Pos(const String& Sub, const String& S) {
    if (Sub.isEmpty()) return 0;
    return int(S.indexOf(Sub)) + 1;
}

int PosEx(const String& Sub, const String& S, int Offset) {
    if (Sub.isEmpty() || Offset < 1 || Offset > S.size()) return 0;
    return int(S.indexOf(Sub, Offset - 1)) + 1;
}

String Copy(const String& S, int Index, int Count) {
    if (Index < 1) Index = 1;
    const int len = int(S.size());
    if (Count <= 0 || Index > len) return String();
    const Int64 avail = Int64(len) - Index + 1;
    return S.mid(Index - 1, int(std::min<Int64>(Count, avail)));
}

void Delete(String& S, int Index, int Count) {
    const int len = int(S.size());
    if (Index < 1 || Index > len || Count <= 0) return;
    const Int64 avail = Int64(len) - Index + 1;
    S.remove(Index - 1, int(std::min<Int64>(Count, avail)));
}

void Insert(const String& Source, String& S, int Index) {
    Index = std::clamp(Index, 1, int(S.size()) + 1);
    S.insert(Index - 1, Source);
}

String Trim(const String& S) {
    int b = 0, e = int(S.size());
    while (b < e && S[b] <= u' ') ++b;
    while (e > b && S[e - 1] <= u' ') --e;
    return S.mid(b, e - b);
}

String TrimLeft(const String& S) {
    int b = 0;
    while (b < S.size() && S[b] <= u' ') ++b;
    return S.mid(b);
}

String TrimRight(const String& S) {
    int e = int(S.size());
    while (e > 0 && S[e - 1] <= u' ') --e;
    return S.left(e);
}

String UpperCase(const String& S) {
    String r = S;
    for (QChar& c : r)
        if (c >= u'a' && c <= u'z') c = QChar(c.unicode() - 32);
    return r;
}

String LowerCase(const String& S) {
    String r = S;
    for (QChar& c : r)
        if (c >= u'A' && c <= u'Z') c = QChar(c.unicode() + 32);
    return r;
}

String AnsiUpperCase(const String& S) {
    return S.toUpper();
}
String AnsiLowerCase(const String& S) {
    return S.toLower();
}

int CompareStr(const String& S1, const String& S2) {
    const int n = int(std::min(S1.size(), S2.size()));
    for (int i = 0; i < n; ++i)
        if (S1[i] != S2[i]) return int(S1[i].unicode()) - int(S2[i].unicode());
    return int(S1.size() - S2.size());
}

int CompareText(const String& S1, const String& S2) {
    auto up = [](QChar c) { return c >= u'a' && c <= u'z' ? int(c.unicode()) - 32 : int(c.unicode()); };
    const int n = int(std::min(S1.size(), S2.size()));
    for (int i = 0; i < n; ++i) {
        const int d = up(S1[i]) - up(S2[i]);
        if (d != 0) return d;
    }
    return int(S1.size() - S2.size());
}

bool SameText(const String& S1, const String& S2) {
    return S1.size() == S2.size() && CompareText(S1, S2) == 0;
}
bool SameStr(const String& S1, const String& S2) {
    return S1 == S2;
}

int AnsiCompareText(const String& S1, const String& S2) {
    const int c = QString::compare(S1, S2, Qt::CaseInsensitive);
    return c < 0 ? -1 : (c > 0 ? 1 : 0);
}

bool AnsiSameText(const String& S1, const String& S2) {
    return AnsiCompareText(S1, S2) == 0;
}

int AnsiCompareStr(const String& S1, const String& S2) {
    const int c = AnsiCompareText(S1, S2);
    if (c != 0) return c;
    const int n = int(std::min(S1.size(), S2.size()));
    for (int i = 0; i < n; ++i) {
        const QChar a = S1[i], b = S2[i];
        if (a == b) continue;
        if (a.isLower() && !b.isLower()) return -1;
        if (b.isLower() && !a.isLower()) return 1;
        return a.unicode() < b.unicode() ? -1 : 1;
    }
    return S1.size() < S2.size() ? -1 : (S1.size() > S2.size() ? 1 : 0);
}

bool AnsiSameStr(const String& S1, const String& S2) {
    return S1 == S2;
}

String StringReplace(const String& S, const String& OldPattern, const String& NewPattern,
                     const TReplaceFlags& Flags) {
    if (OldPattern.isEmpty()) return S;
    const Qt::CaseSensitivity cs = Flags.count(rfIgnoreCase) ? Qt::CaseInsensitive : Qt::CaseSensitive;
    if (Flags.count(rfReplaceAll)) {
        String r = S;
        r.replace(OldPattern, NewPattern, cs);
        return r;
    }
    const qsizetype p = S.indexOf(OldPattern, 0, cs);
    if (p < 0) return S;
    String r = S;
    r.replace(p, OldPattern.size(), NewPattern);
    return r;
}

String AnsiQuotedStr(const String& S, Char Quote) {
    String r = S;
    r.replace(Quote, String(2, Quote));
    return Quote + r + Quote;
}

String QuotedStr(const String& S) {
    return AnsiQuotedStr(S, u'\'');
}

String AnsiExtractQuotedStr(String& Src, Char Quote) {
    if (Src.isEmpty() || Src[0] != Quote) return String();
    String r;
    int i = 1;
    const int n = int(Src.size());
    while (i < n) {
        if (Src[i] == Quote) {
            if (i + 1 < n && Src[i + 1] == Quote) {
                r += Quote;
                i += 2;
                continue;
            }
            ++i; // the closing quote
            Src = Src.mid(i);
            return r;
        }
        r += Src[i++];
    }
    Src.clear(); // not closed: the rest of the text
    return r;
}

String AnsiDequotedStr(const String& S, Char Quote) {
    String src = S;
    String r = AnsiExtractQuotedStr(src, Quote);
    // Only a text that is quoted as a whole is unquoted.
    if (S.size() >= 2 && S[0] == Quote && src.isEmpty() && S.endsWith(Quote)) return r;
    return S;
}

String StringOfChar(Char Ch, int Count) {
    return Count > 0 ? String(Count, Ch) : String();
}

bool IsDelimiter(const String& Delimiters, const String& S, int Index) {
    if (Index < 1 || Index > S.size()) return false;
    return Delimiters.contains(S[Index - 1]);
}

int LastDelimiter(const String& Delimiters, const String& S) {
    for (int i = int(S.size()) - 1; i >= 0; --i)
        if (Delimiters.contains(S[i])) return i + 1;
    return 0;
}

void Abort() {
    throw EAbort(QStringLiteral("Operation aborted"));
}

// =============================================================================================
// Files
// =============================================================================================

namespace {
const String kDelims = QStringLiteral("\\/");
}

String NativePath(const String& Path) {
    String p = Path;
    p.replace(u'\\', u'/');
    return p;
}

bool FileExists(const String& FileName) {
    if (FileName.isEmpty()) return false;
    QFileInfo fi(NativePath(FileName));
    return fi.exists() && !fi.isDir();
}

bool DirectoryExists(const String& Directory) {
    if (Directory.isEmpty()) return false;
    return QFileInfo(NativePath(Directory)).isDir();
}

bool ForceDirectories(const String& Dir) {
    const String p = ExcludeTrailingPathDelimiter(NativePath(Dir));
    if (p.isEmpty()) return false;
    if (QFileInfo(p).isDir()) return true;
    return QDir().mkpath(p);
}

bool CreateDir(const String& Dir) {
    if (Dir.isEmpty()) return false;
    return QDir().mkdir(NativePath(Dir));
}

bool RemoveDir(const String& Dir) {
    if (Dir.isEmpty()) return false;
    return QDir().rmdir(NativePath(Dir));
}

bool DeleteFile(const String& FileName) {
    if (FileName.isEmpty()) return false;
    const String p = NativePath(FileName);
    if (QFileInfo(p).isDir()) return false;
    return QFile::remove(p);
}

bool RenameFile(const String& OldName, const String& NewName) {
    if (OldName.isEmpty() || NewName.isEmpty()) return false;
    const String from = NativePath(OldName), to = NativePath(NewName);
    // As on the original platform, renaming onto an existing file fails.
    if (QFileInfo::exists(to)) return false;
    return QDir().rename(from, to);
}

String GetCurrentDir() {
    return QDir::currentPath();
}
bool SetCurrentDir(const String& Dir) {
    return QDir::setCurrent(NativePath(Dir));
}

String ExpandFileName(const String& FileName) {
    if (FileName.isEmpty()) return String();
    return QDir::cleanPath(QDir::current().absoluteFilePath(NativePath(FileName)));
}

Int64 FileSize(const String& FileName) {
    QFileInfo fi(NativePath(FileName));
    return fi.exists() && !fi.isDir() ? fi.size() : -1;
}

String ExtractFilePath(const String& FileName) {
    return Copy(FileName, 1, LastDelimiter(kDelims, FileName));
}

String ExtractFileDir(const String& FileName) {
    int i = LastDelimiter(kDelims, FileName);
    if (i > 1 && kDelims.contains(FileName[i - 1]) && !IsDelimiter(kDelims, FileName, i - 1)) --i;
    return Copy(FileName, 1, i);
}

String ExtractFileName(const String& FileName) {
    return FileName.mid(LastDelimiter(kDelims, FileName));
}

String ExtractFileExt(const String& FileName) {
    const int i = LastDelimiter(QStringLiteral(".\\/"), FileName);
    if (i > 0 && FileName[i - 1] == u'.') return FileName.mid(i - 1);
    return String();
}

String ChangeFileExt(const String& FileName, const String& Extension) {
    int i = LastDelimiter(QStringLiteral(".\\/"), FileName);
    if (i == 0 || FileName[i - 1] != u'.') i = int(FileName.size()) + 1;
    return FileName.left(i - 1) + Extension;
}

String IncludeTrailingPathDelimiter(const String& S) {
    if (!S.isEmpty() && kDelims.contains(S.back())) return S;
    const bool backslash = S.contains(u'\\') && !S.contains(u'/');
    return S + (backslash ? u'\\' : u'/');
}

String ExcludeTrailingPathDelimiter(const String& S) {
    String r = S;
    while (r.size() > 1 && kDelims.contains(r.back())) r.chop(1);
    return r;
}

// ---- directory listing ----------------------------------------------------------------------

struct TSearchRecData {
    QFileInfoList Entries;
    int Next = 0;
    int ExcludeAttr = 0;
};

namespace {

int AttributesOf(const QFileInfo& fi) {
    int a = 0;
    const String name = fi.fileName();
    if (fi.isDir())
        a |= faDirectory;
    else if (fi.isFile())
        a |= faArchive;
    else
        a |= faSysFile;
    if (name.startsWith(u'.') && name != u"." && name != u"..") a |= faHidden;
    if (!fi.isWritable()) a |= faReadOnly;
    if (fi.isSymLink()) a |= faSymLink;
    if (a == 0) a = faNormal;
    return a;
}

bool FillSearchRec(TSearchRec& F) {
    TSearchRecData& d = *F.FindHandle;
    while (d.Next < d.Entries.size()) {
        const QFileInfo& fi = d.Entries[d.Next++];
        const int attr = AttributesOf(fi);
        if (attr & d.ExcludeAttr) continue;
        F.Name = fi.fileName();
        F.Attr = attr;
        F.Size = fi.isDir() ? 0 : fi.size();
        F.TimeStamp = QDateTimeToDateTime(fi.lastModified());
        return true;
    }
    return false;
}

} // namespace

int FindFirst(const String& Path, int Attr, TSearchRec& F) {
    const String p = NativePath(Path);
    String dir = ExtractFilePath(p);
    String pattern = ExtractFileName(p);
    if (dir.isEmpty()) dir = QStringLiteral(".");
    if (pattern.isEmpty()) return 2;
    if (pattern == u"*.*") pattern = QStringLiteral("*");
    QDir d(dir);
    if (!d.exists()) return 3;
    F.FindHandle = std::make_shared<TSearchRecData>();
    F.ExcludeAttr = ~Attr & (faHidden | faSysFile | faVolumeID | faDirectory);
    F.FindHandle->ExcludeAttr = F.ExcludeAttr;
    QDir::Filters filters = QDir::AllEntries | QDir::Hidden | QDir::System;
    if (!(Attr & faDirectory)) filters |= QDir::NoDotAndDotDot;
    F.FindHandle->Entries =
        d.entryInfoList(QStringList{pattern}, filters, QDir::Name | QDir::IgnoreCase | QDir::DirsFirst);
    if (!FillSearchRec(F)) {
        F.FindHandle.reset();
        return 2;
    }
    return 0;
}

int FindNext(TSearchRec& F) {
    if (!F.FindHandle) return 18;
    return FillSearchRec(F) ? 0 : 18;
}

void FindClose(TSearchRec& F) {
    F.FindHandle.reset();
}

// =============================================================================================
// Dates and times
// =============================================================================================

namespace {

constexpr Int64 kMSecsPerDay = 86400000;
const Int64 kJulianOfZero = QDate(1899, 12, 30).toJulianDay();

// Whole days and milliseconds of the day as the class library reads a TDateTime: the day is the
// integer part (towards zero), the time the absolute fraction.
void SplitDateTime(TDateTime dt, Int64& days, Int64& msecs) {
    double ip;
    double fp = std::modf(dt, &ip);
    days = Int64(ip);
    msecs = Int64(std::llround(std::fabs(fp) * double(kMSecsPerDay)));
    if (msecs >= kMSecsPerDay) {
        msecs -= kMSecsPerDay;
        days += dt < 0 ? -1 : 1;
    }
}

} // namespace

bool IsLeapYear(Word Year) {
    return Year % 4 == 0 && (Year % 100 != 0 || Year % 400 == 0);
}

Word DaysInAMonth(Word Year, Word Month) {
    static const Word days[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (Month < 1 || Month > 12) return 0;
    return Month == 2 && IsLeapYear(Year) ? 29 : days[Month - 1];
}

bool TryEncodeDate(Word Year, Word Month, Word Day, TDateTime& Date) {
    if (Year < 1 || Year > 9999 || Month < 1 || Month > 12 || Day < 1 || Day > DaysInAMonth(Year, Month))
        return false;
    Date = double(QDate(Year, Month, Day).toJulianDay() - kJulianOfZero);
    return true;
}

bool TryEncodeTime(Word Hour, Word Min, Word Sec, Word MSec, TDateTime& Time) {
    if (Hour >= 24 || Min >= 60 || Sec >= 60 || MSec >= 1000) return false;
    Time = double(((Hour * 60 + Min) * 60 + Sec) * 1000 + MSec) / double(kMSecsPerDay);
    return true;
}

TDateTime EncodeDate(Word Year, Word Month, Word Day) {
    TDateTime d;
    if (!TryEncodeDate(Year, Month, Day, d))
        throw EConvertError(QStringLiteral("Invalid argument to date encode"));
    return d;
}

TDateTime EncodeTime(Word Hour, Word Min, Word Sec, Word MSec) {
    TDateTime t;
    if (!TryEncodeTime(Hour, Min, Sec, MSec, t))
        throw EConvertError(QStringLiteral("Invalid argument to time encode"));
    return t;
}

void DecodeDate(TDateTime Date, Word& Year, Word& Month, Word& Day) {
    Int64 days, ms;
    SplitDateTime(Date, days, ms);
    QDate d = QDate::fromJulianDay(days + kJulianOfZero);
    if (!d.isValid() || d.year() < 1 || d.year() > 9999) {
        Year = Month = Day = 0;
        return;
    }
    Year = Word(d.year());
    Month = Word(d.month());
    Day = Word(d.day());
}

void DecodeTime(TDateTime Time, Word& Hour, Word& Min, Word& Sec, Word& MSec) {
    Int64 days, ms;
    SplitDateTime(Time, days, ms);
    MSec = Word(ms % 1000);
    ms /= 1000;
    Sec = Word(ms % 60);
    ms /= 60;
    Min = Word(ms % 60);
    Hour = Word(ms / 60);
}

int DayOfWeek(TDateTime Date) {
    Int64 days, ms;
    SplitDateTime(Date, days, ms);
    // 1899-12-30 was a Saturday (7).
    Int64 r = (days + 6) % 7;
    if (r < 0) r += 7;
    return int(r) + 1;
}

TDateTime IncMonth(TDateTime Date, int NumberOfMonths) {
    Word y, m, d;
    DecodeDate(Date, y, m, d);
    Int64 total = Int64(y) * 12 + (m - 1) + NumberOfMonths;
    const Word ny = Word(total / 12), nm = Word(total % 12 + 1);
    const Word nd = std::min(d, DaysInAMonth(ny, nm));
    Int64 days, ms;
    SplitDateTime(Date, days, ms);
    TDateTime nd0 = EncodeDate(ny, nm, nd);
    const double frac = double(ms) / double(kMSecsPerDay);
    return nd0 >= 0 ? nd0 + frac : nd0 - frac;
}

TDateTime QDateTimeToDateTime(const QDateTime& DT) {
    const QDate d = DT.date();
    const QTime t = DT.time();
    const double days = double(d.toJulianDay() - kJulianOfZero);
    const double frac = double(t.msecsSinceStartOfDay()) / double(kMSecsPerDay);
    return days >= 0 ? days + frac : days - frac;
}

QDateTime DateTimeToQDateTime(TDateTime DT) {
    Int64 days, ms;
    SplitDateTime(DT, days, ms);
    return QDateTime(QDate::fromJulianDay(days + kJulianOfZero), QTime::fromMSecsSinceStartOfDay(int(ms)));
}

TDateTime Now() {
    return QDateTimeToDateTime(QDateTime::currentDateTime());
}
TDateTime Date() {
    return std::floor(Now());
}
TDateTime Time() {
    const TDateTime n = Now();
    return n - std::floor(n);
}

// ---- FormatDateTime -------------------------------------------------------------------------

namespace {

String Pad(int v, int width) {
    String s = QString::number(v);
    if (s.size() < width) s.prepend(String(width - s.size(), u'0'));
    return s;
}

void FormatDT(String& out, const String& fmt, TDateTime dt, const TFormatSettings& fs, int depth) {
    if (depth > 2) return;
    Word y, mo, d, h, mi, s, ms;
    DecodeDate(dt, y, mo, d);
    DecodeTime(dt, h, mi, s, ms);
    const String low = fmt.toLower();
    const bool twelve = low.contains(QStringLiteral("am/pm")) || low.contains(QStringLiteral("a/p")) ||
                        low.contains(QStringLiteral("ampm"));
    bool afterHour = false;
    const int n = int(fmt.size());
    for (int i = 0; i < n;) {
        const Char c = fmt[i];
        const char16_t lc = c.toLower().unicode();
        auto count = [&](char16_t ch) {
            int j = i;
            while (j < n && fmt[j].toLower() == QChar(ch)) ++j;
            return j - i;
        };
        if (c == u'"' || c == u'\'') {
            int j = fmt.indexOf(c, i + 1);
            if (j < 0) j = n;
            out += fmt.mid(i + 1, j - i - 1);
            i = j + 1;
            continue;
        }
        switch (lc) {
            case u'c': {
                FormatDT(out, fs.ShortDateFormat, dt, fs, depth + 1);
                if (h || mi || s || ms) {
                    out += u' ';
                    FormatDT(out, fs.LongTimeFormat, dt, fs, depth + 1);
                }
                ++i;
                continue;
            }
            case u'd': {
                const int k = count(u'd');
                if (k == 1)
                    out += QString::number(d);
                else if (k == 2)
                    out += Pad(d, 2);
                else if (k == 3)
                    out += fs.ShortDayNames[DayOfWeek(dt) - 1];
                else if (k == 4)
                    out += fs.LongDayNames[DayOfWeek(dt) - 1];
                else if (k == 5)
                    FormatDT(out, fs.ShortDateFormat, dt, fs, depth + 1);
                else
                    FormatDT(out, fs.LongDateFormat, dt, fs, depth + 1);
                i += k;
                afterHour = false;
                continue;
            }
            case u'm': {
                const int k = count(u'm');
                if (afterHour && k <= 2) {
                    out += k == 1 ? QString::number(mi) : Pad(mi, 2);
                } else if (k == 1)
                    out += QString::number(mo);
                else if (k == 2)
                    out += Pad(mo, 2);
                else if (k == 3)
                    out += fs.ShortMonthNames[mo - 1];
                else
                    out += fs.LongMonthNames[mo - 1];
                i += k;
                afterHour = false;
                continue;
            }
            case u'y': {
                const int k = count(u'y');
                out += k <= 2 ? Pad(y % 100, 2) : Pad(y, 4);
                i += k;
                afterHour = false;
                continue;
            }
            case u'h': {
                const int k = count(u'h');
                int hh = h;
                if (twelve) {
                    hh = h % 12;
                    if (hh == 0) hh = 12;
                }
                out += k == 1 ? QString::number(hh) : Pad(hh, 2);
                i += k;
                afterHour = true;
                continue;
            }
            case u'n': {
                const int k = count(u'n');
                out += k == 1 ? QString::number(mi) : Pad(mi, 2);
                i += k;
                afterHour = false;
                continue;
            }
            case u's': {
                const int k = count(u's');
                out += k == 1 ? QString::number(s) : Pad(s, 2);
                i += k;
                afterHour = false;
                continue;
            }
            case u'z': {
                const int k = count(u'z');
                out += k < 3 ? QString::number(ms) : Pad(ms, 3);
                i += k;
                continue;
            }
            case u't': {
                const int k = count(u't');
                FormatDT(out, k == 1 ? fs.ShortTimeFormat : fs.LongTimeFormat, dt, fs, depth + 1);
                i += k;
                continue;
            }
            case u'a': {
                const String rest = fmt.mid(i);
                if (rest.startsWith(QStringLiteral("am/pm"), Qt::CaseInsensitive)) {
                    String t = h < 12 ? QStringLiteral("am") : QStringLiteral("pm");
                    if (fmt[i] == u'A') t = t.toUpper();
                    out += t;
                    i += 5;
                    continue;
                }
                if (rest.startsWith(QStringLiteral("a/p"), Qt::CaseInsensitive)) {
                    String t = h < 12 ? QStringLiteral("a") : QStringLiteral("p");
                    if (fmt[i] == u'A') t = t.toUpper();
                    out += t;
                    i += 3;
                    continue;
                }
                if (rest.startsWith(QStringLiteral("ampm"), Qt::CaseInsensitive)) {
                    out += h < 12 ? fs.TimeAMString : fs.TimePMString;
                    i += 4;
                    continue;
                }
                out += c;
                ++i;
                continue;
            }
            case u'/':
                out += fs.DateSeparator;
                ++i;
                continue;
            case u':':
                out += fs.TimeSeparator;
                ++i;
                continue;
            default:
                out += c;
                ++i;
                continue;
        }
    }
}

} // namespace

String FormatDateTime(const String& Format, TDateTime DateTime, const TFormatSettings& Settings) {
    String out;
    FormatDT(out, Format.isEmpty() ? QStringLiteral("c") : Format, DateTime, Settings, 0);
    return out;
}
String FormatDateTime(const String& Format, TDateTime DateTime) {
    return FormatDateTime(Format, DateTime, FormatSettings);
}

String DateToStr(TDateTime Date, const TFormatSettings& S) {
    return FormatDateTime(S.ShortDateFormat, Date, S);
}
String TimeToStr(TDateTime Time, const TFormatSettings& S) {
    return FormatDateTime(S.LongTimeFormat, Time, S);
}
String DateTimeToStr(TDateTime DateTime, const TFormatSettings& S) {
    return FormatDateTime(QStringLiteral("c"), DateTime, S);
}
String DateToStr(TDateTime Date) {
    return DateToStr(Date, FormatSettings);
}
String TimeToStr(TDateTime Time) {
    return TimeToStr(Time, FormatSettings);
}
String DateTimeToStr(TDateTime DateTime) {
    return DateTimeToStr(DateTime, FormatSettings);
}

// ---- parsing dates and times ----------------------------------------------------------------

namespace {

struct TScanner {
    const String& S;
    int Pos = 0;
    void Blanks() {
        while (Pos < S.size() && S[Pos] == u' ') ++Pos;
    }
    bool Number(int& v, int& digits) {
        Blanks();
        const int start = Pos;
        v = 0;
        while (Pos < S.size() && S[Pos] >= u'0' && S[Pos] <= u'9' && Pos - start < 9)
            v = v * 10 + (S[Pos++].unicode() - u'0');
        digits = Pos - start;
        return digits > 0;
    }
    bool Sep(QChar c) {
        Blanks();
        if (Pos < S.size() && S[Pos] == c) {
            ++Pos;
            return true;
        }
        return false;
    }
    bool Text(const String& t) {
        Blanks();
        if (!t.isEmpty() && S.mid(Pos, t.size()).compare(t, Qt::CaseInsensitive) == 0) {
            Pos += int(t.size());
            return true;
        }
        return false;
    }
    bool AtEnd() {
        Blanks();
        return Pos >= S.size();
    }
};

bool ScanDate(TScanner& sc, const TFormatSettings& fs, TDateTime& out) {
    // The order of the fields in the short date format.
    enum { MDY, DMY, YMD } order = MDY;
    for (QChar c : fs.ShortDateFormat.toLower()) {
        if (c == u'd') {
            order = DMY;
            break;
        }
        if (c == u'm') {
            order = MDY;
            break;
        }
        if (c == u'y') {
            order = YMD;
            break;
        }
    }
    int n1, n2, n3 = 0, d1, d2, d3 = 0;
    if (!sc.Number(n1, d1) || !sc.Sep(fs.DateSeparator) || !sc.Number(n2, d2)) return false;
    const int save = sc.Pos;
    const bool three = sc.Sep(fs.DateSeparator) && sc.Number(n3, d3);
    if (!three) sc.Pos = save;
    int y, m, d, yd;
    const int currentYear = QDate::currentDate().year();
    if (!three) {
        y = currentYear;
        yd = 4;
        if (order == DMY) {
            d = n1;
            m = n2;
        } else if (order == MDY) {
            m = n1;
            d = n2;
        } else {
            m = n1;
            d = n2;
        }
    } else {
        switch (order) {
            case MDY: m = n1, d = n2, y = n3, yd = d3; break;
            case DMY: d = n1, m = n2, y = n3, yd = d3; break;
            default: y = n1, yd = d1, m = n2, d = n3; break;
        }
    }
    if (yd <= 2) {
        int century = currentYear - fs.TwoDigitYearCenturyWindow;
        y += century / 100 * 100;
        if (fs.TwoDigitYearCenturyWindow > 0 && y < century) y += 100;
    }
    if (y < 1 || y > 9999 || m < 1 || m > 12 || d < 1 || d > 31) return false;
    return TryEncodeDate(Word(y), Word(m), Word(d), out);
}

bool ScanTime(TScanner& sc, const TFormatSettings& fs, TDateTime& out) {
    auto marker = [&](int& ampm) {
        const int save = sc.Pos;
        if (sc.Text(QStringLiteral("AM")) || (!fs.TimeAMString.isEmpty() && sc.Text(fs.TimeAMString)))
            ampm = 0;
        else if (sc.Text(QStringLiteral("PM")) || (!fs.TimePMString.isEmpty() && sc.Text(fs.TimePMString)))
            ampm = 1;
        else
            sc.Pos = save;
    };
    int ampm = -1;
    marker(ampm);
    int h, mi = 0, s = 0, ms = 0, dig;
    if (!sc.Number(h, dig)) return false;
    bool hasMinutes = false;
    if (sc.Sep(fs.TimeSeparator)) {
        if (!sc.Number(mi, dig)) return false;
        hasMinutes = true;
        if (sc.Sep(fs.TimeSeparator)) {
            if (!sc.Number(s, dig)) return false;
            if (sc.Sep(fs.DecimalSeparator)) {
                if (!sc.Number(ms, dig) || dig > 3) return false;
                for (; dig < 3; ++dig) ms *= 10;
            }
        }
    }
    if (ampm < 0) marker(ampm);
    if (!hasMinutes && ampm < 0) return false;
    if (ampm >= 0) {
        if (h < 1 || h > 12) return false;
        h = h % 12 + (ampm == 1 ? 12 : 0);
    }
    return TryEncodeTime(Word(std::min(h, 99)), Word(std::min(mi, 99)), Word(std::min(s, 99)),
                         Word(std::min(ms, 9999)), out);
}

} // namespace

bool TryStrToDate(const String& S, TDateTime& Value, const TFormatSettings& Settings) {
    TScanner sc{S};
    TDateTime d;
    if (!ScanDate(sc, Settings, d) || !sc.AtEnd()) return false;
    Value = d;
    return true;
}

bool TryStrToTime(const String& S, TDateTime& Value, const TFormatSettings& Settings) {
    TScanner sc{S};
    TDateTime t;
    if (!ScanTime(sc, Settings, t) || !sc.AtEnd()) return false;
    Value = t;
    return true;
}

bool TryStrToDateTime(const String& S, TDateTime& Value, const TFormatSettings& Settings) {
    TScanner sc{S};
    TDateTime d, t = 0;
    if (ScanDate(sc, Settings, d)) {
        if (!sc.AtEnd() && (!ScanTime(sc, Settings, t) || !sc.AtEnd())) return false;
        Value = d >= 0 ? d + t : d - t;
        return true;
    }
    return TryStrToTime(S, Value, Settings);
}

bool TryStrToDate(const String& S, TDateTime& Value) {
    return TryStrToDate(S, Value, FormatSettings);
}
bool TryStrToTime(const String& S, TDateTime& Value) {
    return TryStrToTime(S, Value, FormatSettings);
}
bool TryStrToDateTime(const String& S, TDateTime& Value) {
    return TryStrToDateTime(S, Value, FormatSettings);
}

TDateTime StrToDate(const String& S, const TFormatSettings& Settings) {
    TDateTime v;
    if (!TryStrToDate(S, v, Settings)) throw EConvertError(QStringLiteral("'%1' is not a valid date").arg(S));
    return v;
}
TDateTime StrToTime(const String& S, const TFormatSettings& Settings) {
    TDateTime v;
    if (!TryStrToTime(S, v, Settings)) throw EConvertError(QStringLiteral("'%1' is not a valid time").arg(S));
    return v;
}
TDateTime StrToDateTime(const String& S, const TFormatSettings& Settings) {
    TDateTime v;
    if (!TryStrToDateTime(S, v, Settings))
        throw EConvertError(QStringLiteral("'%1' is not a valid date and time").arg(S));
    return v;
}
TDateTime StrToDate(const String& S) {
    return StrToDate(S, FormatSettings);
}
TDateTime StrToTime(const String& S) {
    return StrToTime(S, FormatSettings);
}
TDateTime StrToDateTime(const String& S) {
    return StrToDateTime(S, FormatSettings);
}

TDateTime StrToDateDef(const String& S, TDateTime Default) {
    TDateTime v;
    return TryStrToDate(S, v) ? v : Default;
}
TDateTime StrToTimeDef(const String& S, TDateTime Default) {
    TDateTime v;
    return TryStrToTime(S, v) ? v : Default;
}
TDateTime StrToDateTimeDef(const String& S, TDateTime Default) {
    TDateTime v;
    return TryStrToDateTime(S, v) ? v : Default;
}

// =============================================================================================
// Processes, time and sound
// =============================================================================================

uint64_t GetTickCount64() {
    using namespace std::chrono;
    return uint64_t(duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

Cardinal GetTickCount() {
    return Cardinal(GetTickCount64());
}

void Sleep(Cardinal Milliseconds) {
    std::this_thread::sleep_for(std::chrono::milliseconds(Milliseconds));
}

namespace {
std::atomic<Cardinal> BeepCount{0};
}

bool MessageBeep(Cardinal) {
    ++BeepCount;
    if (qobject_cast<QApplication*>(QCoreApplication::instance())) QApplication::beep();
    return true;
}

Cardinal MessageBeepCount() {
    return BeepCount.load();
}

int ParamCount() {
    if (!QCoreApplication::instance()) return 0;
    return int(QCoreApplication::arguments().size()) - 1;
}

String ParamStr(int Index) {
    if (Index == 0) {
        if (QCoreApplication::instance()) return QCoreApplication::applicationFilePath();
        return QFileInfo(QStringLiteral("/proc/self/exe")).canonicalFilePath();
    }
    if (!QCoreApplication::instance()) return String();
    const QStringList args = QCoreApplication::arguments();
    return Index > 0 && Index < args.size() ? args[Index] : String();
}

String SysErrorMessage(int ErrorCode) {
    return QString::fromLocal8Bit(std::strerror(ErrorCode));
}

// =============================================================================================
// Windows-1252
// =============================================================================================

namespace {
// 0x80..0x9F; the five undefined bytes map to the control characters of the same number.
const char16_t kWin1252High[32] = {0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                   0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
                                   0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                   0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};
} // namespace

String FromWin1252(const QByteArray& Bytes) {
    String s;
    s.resize(Bytes.size());
    QChar* out = s.data();
    for (qsizetype i = 0; i < Bytes.size(); ++i) {
        const unsigned char b = static_cast<unsigned char>(Bytes[i]);
        out[i] = b >= 0x80 && b < 0xA0 ? QChar(kWin1252High[b - 0x80]) : QChar(b);
    }
    return s;
}

QByteArray ToWin1252(const String& S, bool* Lossless) {
    QByteArray out;
    out.reserve(S.size());
    bool ok = true;
    for (qsizetype i = 0; i < S.size(); ++i) {
        const char16_t u = S[i].unicode();
        int b = -1;
        if (u < 0x80 || (u >= 0xA0 && u <= 0xFF)) {
            b = u;
        } else {
            for (int k = 0; k < 32; ++k)
                if (kWin1252High[k] == u) {
                    b = 0x80 + k;
                    break;
                }
        }
        if (b < 0) {
            ok = false;
            b = '?';
            // A character outside the basic plane is one "?", not two.
            if (S[i].isHighSurrogate() && i + 1 < S.size() && S[i + 1].isLowSurrogate()) ++i;
        }
        out += char(b);
    }
    if (Lossless) *Lossless = ok;
    return out;
}
