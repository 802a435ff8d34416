// The grid's text routines: tables of inputs and results, the locale-dependent ones under two
// sets of user settings.
#include "GridUtil.h"

#include "Classes.h"
#include "SysUtils.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <functional>
#include <random>

namespace {

// Switches the run-time format settings for one test and restores them afterwards.
class LocaleFixture : public ::testing::Test {
protected:
    void SetUp() override { FSaved = FormatSettings; }
    void TearDown() override { FormatSettings = FSaved; }

    static void UseUS() {
        FormatSettings.DecimalSeparator = u'.';
        FormatSettings.ThousandSeparator = u',';
        FormatSettings.DateSeparator = u'/';
        FormatSettings.TimeSeparator = u':';
        FormatSettings.ShortDateFormat = QStringLiteral("M/d/yyyy");
    }
    static void UseGerman() {
        FormatSettings.DecimalSeparator = u',';
        FormatSettings.ThousandSeparator = u'.';
        FormatSettings.DateSeparator = u'.';
        FormatSettings.TimeSeparator = u':';
        FormatSettings.ShortDateFormat = QStringLiteral("dd.MM.yyyy");
    }

private:
    TFormatSettings FSaved;
};

using GridTextLocale = LocaleFixture;

const String CR = QStringLiteral("\r");
const String LF = QStringLiteral("\n");

} // namespace

TEST(GridText, CellTextKinds) {
    struct Case {
        String Text;
        bool Markup;
        int Kind;
    } cases[] = {
        {QStringLiteral("=A1+1"), true, 3},
        {QStringLiteral("{\\rtf1 x}"), true, 2},
        {QStringLiteral("<b>x</b>"), true, 1},
        {QStringLiteral("<b>x"), true, 0}, // lower-case "<b" is not a sign of markup
        {QStringLiteral("<B>x"), true, 1},
        {QStringLiteral("<B>x"), false, 0},
        {QString(), true, 0},
        {QStringLiteral("plain"), true, 0},
        {PackWideText(QStringLiteral("AB")), true, 5},
        {PackWideText(QStringLiteral("=A")), true, 3}, // a packed formula
    };
    for (const Case& c : cases) EXPECT_EQ(CellTextType(c.Text, c.Markup), c.Kind) << c.Text.toStdString();
}

TEST_F(GridTextLocale, NumberKindsUnderTwoLocales) {
    struct Case {
        const char* Text;
        int Kind;
    };
    UseUS();
    const Case us[] = {{"1,234.5", 1}, {"1,23,4", 2},       {"-12", 0}, {"1.5e-3", 5}, {"e5", 2},
                       {"", 2},        {"1.2.3", 2},        {"--1", 2}, {"-1e-5", 5},  {"1e5+", 2},
                       {"12a", 2},     {"1,234,567.89", 1}, {"1-2", 2}, {"1e5e", 2}};
    for (const Case& c : us)
        EXPECT_EQ(NumericTextType(QString::fromLatin1(c.Text)), c.Kind) << "US " << c.Text;
    UseGerman();
    const Case de[] = {{"1.234,5", 1}, {"1,5", 1}, {"1.5e3", 2}, {"1,5e3", 5}, {"1.23.4", 2}};
    for (const Case& c : de)
        EXPECT_EQ(NumericTextType(QString::fromLatin1(c.Text)), c.Kind) << "DE " << c.Text;
}

TEST_F(GridTextLocale, NormalizeFloatText) {
    UseGerman();
    EXPECT_EQ(NormalizeFloatText(QStringLiteral("(1.234,50)")), QStringLiteral("-1234.50"));
    EXPECT_EQ(NormalizeFloatText(QStringLiteral("-1.000,5 EUR")), QStringLiteral("-1000.5"));
    UseUS();
    struct Case {
        const char* In;
        const char* Out;
    } cases[] = {{"$ 12", "12"}, {"EUR 12", "E"}, // E belongs to number notation
                 {"", ""},       {"-1,234.5", "-1234.5"}, {"  42 kg", "42"},
                 {"(5)", "-5"},  {"1.5e+3", "1.5e+3"}};
    for (const Case& c : cases)
        EXPECT_EQ(NormalizeFloatText(QString::fromLatin1(c.In)), QString::fromLatin1(c.Out)) << c.In;
}

TEST(GridText, SmallNumberRoutines) {
    EXPECT_EQ(ColorToHTMLHex(clRed), QStringLiteral("FF0000"));
    EXPECT_EQ(ColorToHTMLHex(0x123456), QStringLiteral("563412"));
    EXPECT_EQ(ColorToHTMLHex(clBtnFace), QStringLiteral("F0F0F0")); // system colours resolved
    struct Case {
        int Value, Lower, Upper, Result;
    } clamps[] = {{5, 5, 5, 5},    {1, 3, 3, 1},   {1, 3, 10, 3}, {12, 3, 10, 10},
                  {-4, 0, 10, -4}, {50, 3, 0, 50}, {7, 3, 10, 7}};
    for (const Case& c : clamps) EXPECT_EQ(ClampToLimits(c.Value, c.Lower, c.Upper), c.Result);
    EXPECT_EQ(IntMax(3, -2), 3);
    EXPECT_EQ(IntMin(3, -2), -2);
    EXPECT_TRUE(IsNumChar(u'7'));
    EXPECT_FALSE(IsNumChar(u'x'));
}

TEST_F(GridTextLocale, LocaleDates) {
    UseGerman();
    TDateTime v = 0;
    EXPECT_TRUE(ParseLocaleDateTime(QStringLiteral("31.12.2020 10:30"), v));
    EXPECT_DOUBLE_EQ(v, EncodeDate(2020, 12, 31) + EncodeTime(10, 30, 0, 0));
    EXPECT_TRUE(ParseLocaleDateTime(QStringLiteral("1.2.2021 10:30:15"), v));
    EXPECT_DOUBLE_EQ(v, EncodeDate(2021, 2, 1) + EncodeTime(10, 30, 15, 0));
    EXPECT_TRUE(ParseLocaleDateTime(QStringLiteral("5.6.2021"), v));
    EXPECT_DOUBLE_EQ(v, EncodeDate(2021, 6, 5));
    // A time without separator: false, but the date is produced.
    v = 0;
    EXPECT_FALSE(ParseLocaleDateTime(QStringLiteral("31.12.2020 10"), v));
    EXPECT_DOUBLE_EQ(v, EncodeDate(2020, 12, 31));
    for (const char* bad : {"31.13.2020", "32.1.2020", "29.2.2021", "1.2", "a.1.2020", "31.12.2020 24:00",
                            "31.12.2020 10:60", "0.1.2020", ""})
        EXPECT_FALSE(ParseLocaleDateTime(QString::fromLatin1(bad), v)) << bad;
    UseUS(); // month first
    EXPECT_TRUE(ParseLocaleDateTime(QStringLiteral("12/31/2020"), v));
    EXPECT_DOUBLE_EQ(v, EncodeDate(2020, 12, 31));
    EXPECT_FALSE(ParseLocaleDateTime(QStringLiteral("31/12/2020"), v));
}

TEST(GridText, ShortDatesUSAndEU) {
    EXPECT_DOUBLE_EQ(ParseDateEU(QStringLiteral("31/12/99")), EncodeDate(1999, 12, 31));
    EXPECT_DOUBLE_EQ(ParseDateEU(QStringLiteral("1-2-03")), EncodeDate(2003, 2, 1));
    EXPECT_DOUBLE_EQ(ParseDateEU(QStringLiteral("1.2.25")), EncodeDate(2025, 2, 1));
    EXPECT_DOUBLE_EQ(ParseDateUS(QStringLiteral("12/31/99")), EncodeDate(1999, 12, 31));
    // Four-digit years are shifted as well; their order is kept.
    EXPECT_LT(ParseDateUS(QStringLiteral("1/1/2020")), ParseDateUS(QStringLiteral("1/1/2021")));
    for (const char* bad : {"abc", "1/2", "a/b/c", ""}) {
        EXPECT_EQ(ParseDateUS(QString::fromLatin1(bad)), 0) << bad;
        EXPECT_EQ(ParseDateEU(QString::fromLatin1(bad)), 0) << bad;
    }
    EXPECT_THROW(ParseDateEU(QStringLiteral("31/02/20")), EConvertError);
    EXPECT_THROW(ParseDateUS(QStringLiteral("13/1/20")), EConvertError);
}

TEST_F(GridTextLocale, DateTextNeedsTwoSeparators) {
    UseUS();
    struct Case {
        const char* Text;
        bool Date;
    } cases[] = {{"1/2/3", true}, {"/1/2", false}, {"1//2", false}, {"12/3", false}, {"12/3/2020", true}};
    for (const Case& c : cases) EXPECT_EQ(IsDateText(QString::fromLatin1(c.Text)), c.Date) << c.Text;
    UseGerman();
    EXPECT_TRUE(IsDateText(QStringLiteral("1.2.2020")));
    EXPECT_FALSE(IsDateText(QStringLiteral("1/2/2020")));
}

TEST(GridText, DateSeries) {
    const TDateTime noon = EncodeDate(2020, 3, 15) + 0.5;
    EXPECT_DOUBLE_EQ(IncDateParts(0, 0, 5, 0, noon), noon + 5);
    EXPECT_DOUBLE_EQ(IncDateParts(1, 0, 0, 0, noon), EncodeDate(2021, 3, 15) + 0.5);
    EXPECT_DOUBLE_EQ(IncDateParts(0, 1, 0, 0, EncodeDate(2020, 12, 15)), EncodeDate(2021, 1, 15));
    EXPECT_DOUBLE_EQ(IncDateParts(0, -1, 0, 0, EncodeDate(2020, 1, 15)), EncodeDate(2019, 12, 15));
    EXPECT_DOUBLE_EQ(IncDateParts(0, 0, 0, 0.25, noon), noon + 0.25);
    EXPECT_DOUBLE_EQ(IncDateParts(1, 1, 0, 2, noon), noon + 2); // a mixed step uses the increment
    EXPECT_THROW(IncDateParts(1, 0, 0, 0, EncodeDate(2020, 2, 29)), EConvertError);
    EXPECT_THROW(IncDateParts(0, 1, 0, 0, EncodeDate(2020, 1, 31)), EConvertError);
    EXPECT_THROW(IncDateParts(0, 13, 0, 0, EncodeDate(2020, 12, 1)), EConvertError);
}

TEST(GridText, LineBreakAndQuoteEscapes) {
    using F = std::function<String(const String&)>;
    struct Case {
        const char* Name;
        F Fn;
        String In, Out;
    } cases[] = {
        {"EscapeDoubleQuotes", EscapeDoubleQuotes, QStringLiteral("a\"b"), QStringLiteral("a\"\"b")},
        {"UndoubleChar", [](const String& s) { return UndoubleChar(u'"', s); },
         QStringLiteral("a\"\"b\"\"\"c\""), QStringLiteral("a\"b\"\"c\"")},
        {"CSVQuoteMultiLine", CSVQuoteMultiLine, QStringLiteral("a\r\nb"),
         QStringLiteral("\"a\x0B"
                        "b\"")},
        {"VTabToCRLF", VTabToCRLF,
         QStringLiteral("a\x0B"
                        "b"),
         QStringLiteral("a\r\nb")},
        {"CRLFToLF", CRLFToLF, QStringLiteral("a\r\nb\rc"), QStringLiteral("a\nb\rc")},
        {"RemoveCR", RemoveCR, QStringLiteral("a\r\nb\r"), QStringLiteral("a\nb")},
        {"CRToLF", CRToLF, QStringLiteral("a\r\nb"), QStringLiteral("a\n\nb")},
        {"LineBreaksToTilde", LineBreaksToTilde, QStringLiteral("a\r\nb\nc"), QStringLiteral("a~bc")},
        {"TildeToLineBreaks", TildeToLineBreaks, QStringLiteral("a~b"), QStringLiteral("a\r\nb")},
        {"TildeToLineBreaks ^", TildeToLineBreaks, QStringLiteral("^"), QString()},
        {"LineBreaksToBR", LineBreaksToBR, QStringLiteral("a\r\nb"), QStringLiteral("a<br>\nb")},
        {"EncodeLineEscapes", EncodeLineEscapes, QStringLiteral("a\r\nb"), QStringLiteral("a\\nb")},
        {"DecodeLineEscapes", DecodeLineEscapes, QStringLiteral("a\\nb"), QStringLiteral("a\rb")},
        {"EncodeLineBreaksForSave", EncodeLineBreaksForSave, QStringLiteral("a\r\nb"),
         QStringLiteral("a\t\bb")},
        {"EncodeLineBreaksForSave single", EncodeLineBreaksForSave, QStringLiteral("a\tb"),
         QStringLiteral("a\tb")},
        {"FillChars", [](const String& s) { return FillChars(s, u'*'); }, QStringLiteral("abc"),
         QStringLiteral("***")},
    };
    for (const Case& c : cases) EXPECT_EQ(c.Fn(c.In), c.Out) << c.Name;
}

TEST(GridText, SaveEncodingRoundTrip) {
    String text = QStringLiteral("line1\r\nline2");
    text += QChar(0);
    text += QStringLiteral("x");
    const String saved = EncodeLineBreaksForSave(text);
    EXPECT_FALSE(saved.contains(u'\r'));
    EXPECT_FALSE(saved.contains(QChar(0)));
    EXPECT_EQ(DecodeLineBreaksFromSave(saved, true), text);
    EXPECT_EQ(DecodeLineBreaksFromSave(saved, false), QStringLiteral("line1"));
    // A text that holds no character 8 is left as it is.
    EXPECT_EQ(DecodeLineBreaksFromSave(QStringLiteral("a\tb"), true), QStringLiteral("a\tb"));
}

TEST(GridText, CutFirstLineAndCounting) {
    String s = QStringLiteral("one\r\ntwo\rthree");
    EXPECT_EQ(CutFirstLine(s, true), QStringLiteral("one"));
    EXPECT_EQ(s, QStringLiteral("two\rthree"));
    EXPECT_EQ(CutFirstLine(s, false), QStringLiteral("two"));
    EXPECT_TRUE(s.isEmpty());
    s = QStringLiteral("single");
    EXPECT_EQ(CutFirstLine(s, true), QStringLiteral("single"));
    EXPECT_TRUE(s.isEmpty());

    EXPECT_EQ(CountLines(QStringLiteral("a\rb\rc"), true), 3);
    EXPECT_EQ(CountLines(QStringLiteral("a\rb\rc"), false), 1);
    EXPECT_EQ(CountChar(u'a', QStringLiteral("banana")), 3);

    struct Case {
        const char* Text;
        int Pos;
    } quotes[] = {{"ab\"c", 3}, {"a\"\"b\"c", 5}, {"abc\"", 4}, {"a\"\"", 3},
                  {"abc", 0},   {"\"\"\"x", 3},   {"", 0}};
    for (const Case& c : quotes) {
        int pos = -1;
        EXPECT_EQ(ClosingQuotePos(u'"', QString::fromLatin1(c.Text), pos), c.Pos) << c.Text;
        EXPECT_EQ(pos, c.Pos);
    }
    EXPECT_EQ(CountClosingQuotes(u'"', QStringLiteral("a\"b\"c\"")), 3);
    EXPECT_EQ(CountClosingQuotes(u'"', QStringLiteral("a\"\"b")), 0);
}

TEST(GridText, WideAndOemText) {
    const String wide = QStringLiteral("Gr\u00FC\u00DFe \u20AC\u4E2D");
    const String packed = PackWideText(wide);
    EXPECT_TRUE(packed.startsWith(QStringLiteral("|\\")));
    EXPECT_EQ(packed.size(), 2 + 2 * wide.size());
    EXPECT_EQ(packed[2].unicode(), 0);    // high byte of "G"
    EXPECT_EQ(packed[3].unicode(), u'G'); // low byte
    EXPECT_EQ(UnpackWideText(packed), wide);
    EXPECT_EQ(UnpackWideText(QStringLiteral("plain")), QStringLiteral("plain"));
    EXPECT_EQ(WidePos(QStringLiteral("\u4E2D"), wide), wide.size());

    const String oem = StringToOem(QStringLiteral("Gr\u00FC\u00DFe"));
    EXPECT_EQ(oem[2].unicode(), 0x81);
    EXPECT_EQ(oem[3].unicode(), 0xE1);
    EXPECT_EQ(OemToString(oem), QStringLiteral("Gr\u00FC\u00DFe"));
    EXPECT_EQ(StringToOem(QStringLiteral("\u20AC")), QStringLiteral("?")); // not in the code page
}

TEST(GridText, PositionsTokensAndReferences) {
    EXPECT_EQ(UpperCasePos(QStringLiteral("BC"), QStringLiteral("abcd")), 2);
    EXPECT_EQ(CharPos(u'c', QStringLiteral("abc")), 3);
    int pos = 99;
    EXPECT_EQ(CharPosVar(u'z', QStringLiteral("abc"), pos), 0);
    EXPECT_EQ(pos, 0); // the 0 of an absent character is answered through Pos too
    EXPECT_EQ(CharPosVar(u'b', QStringLiteral("abc"), pos), 2);
    EXPECT_EQ(pos, 2);
    EXPECT_EQ(PosVar(QStringLiteral("zz"), QStringLiteral("abc"), pos), 0);
    EXPECT_EQ(pos, 0);

    String src = QStringLiteral("key::value");
    EXPECT_EQ(CutToken(src, QStringLiteral("::")), QStringLiteral("key"));
    EXPECT_EQ(src, QStringLiteral("value"));
    EXPECT_EQ(CutToken(src, QStringLiteral("::")), QString());
    EXPECT_EQ(src, QStringLiteral("value"));

    TStringList* lines = new TStringList;
    auto freeLines = FreeAtEnd(lines);
    lines->Add(QStringLiteral("a"));
    lines->Add(QStringLiteral("b"));
    EXPECT_EQ(ConcatLines(lines), QStringLiteral("ab"));

    EXPECT_TRUE(CellInGridRect(2, 3, TRect(1, 1, 2, 3)));
    EXPECT_FALSE(CellInGridRect(3, 3, TRect(1, 1, 2, 3)));

    struct Case {
        const char* Text;
        bool Ok;
        int X, Y;
    } refs[] = {{"R2C3", true, 3, 2},  {"r10c1", true, 1, 10}, {"R1C", false, 0, 0},  {"RC1", false, 0, 0},
                {"X1C1", false, 0, 0}, {"R1X1", false, 0, 0},  {"R1C1 ", false, 0, 0}};
    for (const Case& c : refs) {
        TPoint p(-1, -1);
        EXPECT_EQ(ParseRCCellRef(QString::fromLatin1(c.Text), p), c.Ok) << c.Text;
        if (c.Ok) {
            EXPECT_EQ(p, TPoint(c.X, c.Y)) << c.Text;
        }
    }
}

TEST(GridText, ClipboardHTMLOffsetsPointAtTheParts) {
    const String fragment = QStringLiteral("<table><tr><td>x</td></tr></table>");
    const String html = BuildClipboardHTML(fragment);
    auto offset = [&](const char* Name) {
        const String key = QString::fromLatin1(Name) + u':';
        const int p = int(html.indexOf(key));
        return html.mid(p + key.size(), 8).toInt();
    };
    EXPECT_TRUE(html.startsWith(QStringLiteral("Version:1.0\r\nStartHTML:00000097\r\n")));
    EXPECT_EQ(offset("StartFragment"), 274);
    EXPECT_EQ(html.mid(offset("StartHTML"), 9), QStringLiteral("<!DOCTYPE"));
    EXPECT_EQ(html.mid(offset("StartFragment"), fragment.size()), fragment);
    EXPECT_EQ(offset("EndFragment"), 274 + fragment.size());
    EXPECT_EQ(offset("EndHTML"), html.size());
    EXPECT_TRUE(html.endsWith(QStringLiteral("<!--EndFragment--></body></html>")));
}

TEST(GridText, MixedCase) {
    struct Case {
        const char* In;
        const char* Out;
    } cases[] = {{"mcdonald o'neil iii", "McDonald O'Neil III"},
                 {"JOHN SMITH", "John Smith"},
                 {"mary-jane watson", "Mary-Jane Watson"},
                 {"henry ii", "Henry II"},
                 {"louis i", "Louis I"},
                 {"mike ivy", "Mike Ivy"},
                 {"ronald mcintosh", "Ronald McIntosh"},
                 {"a.b,c", "A.B,C"},
                 {"", ""}};
    for (const Case& c : cases)
        EXPECT_EQ(ToMixedCase(QString::fromLatin1(c.In)), QString::fromLatin1(c.Out)) << c.In;
}

TEST_F(GridTextLocale, FilterConditions) {
    UseUS();
    struct Case {
        const char* Condition;
        const char* Value;
        bool CaseSensitive;
        bool Match;
    } cases[] = {
        {">10&<20", "15", false, true},
        {">10&<20", "25", false, false},
        {"a*|b*", "apple", false, true},
        {"a*|b*", "banana", false, true},
        {"a*|b*", "cherry", false, false},
        {"a*;c*", "cherry", false, true},
        {"!a*", "banana", false, true},
        {"!a*", "apple", false, false},
        {">1/15/2021", "2/1/2021", false, true},
        {"<1/15/2021", "2/1/2021", false, false},
        {" = abc ", "ABC", false, true},
        {"abc", "ABC", true, false},
        {"a?c", "abc", false, true},
        {"a?c", "abbc", false, false},
        {"(a*|b*)&*e", "apple", false, true},
        {"(a*|b*)&*e", "banana", false, false},
        {"", "anything", false, true},
        {">=10", "10", false, true},
        {"<=10", "10.5", false, false},
        {"\"a b\"", "a b", false, true},
        {"(a*", "apple", false, true}, // an unclosed group runs to the end
        {">1,000", "1,500", false, true},
        {"<z", "apple", false, true}, // texts compared by character code
        {">5<10", "7", false, true},
        {">5<10", "12", false, false},
        {"a*&", "apple", false, false}, // the empty last term matches only an empty value
    };
    for (const Case& c : cases)
        EXPECT_EQ(MatchFilterCondition(QString::fromLatin1(c.Condition), QString::fromLatin1(c.Value),
                                       c.CaseSensitive),
                  c.Match)
            << c.Condition << " / " << c.Value;
    UseGerman();
    EXPECT_TRUE(MatchFilterCondition(QStringLiteral(">1,5"), QStringLiteral("2,25"), false));
    EXPECT_TRUE(MatchFilterCondition(QStringLiteral(">1.000"), QStringLiteral("1.500"), false));
    EXPECT_TRUE(MatchFilterCondition(QStringLiteral("<15.1.2021"), QStringLiteral("2.1.2021"), false));
    // Deep nesting is evaluated without running out of stack.
    EXPECT_FALSE(MatchFilterCondition(String(5000, u'('), QStringLiteral("x"), false));
}

namespace {

// The pattern matcher the grid had before, kept here as the reference of what every pattern
// answers: it tries every run a star can take, so it is only fit for short inputs.
bool BacktrackingMatch(const String& P, int pi, const String& V, int vi) {
    while (pi < P.size()) {
        const Char c = P[pi];
        if (c == u'"') {
            ++pi;
            continue;
        }
        if (c == u'!') return !BacktrackingMatch(P, pi + 1, V, vi);
        if (c == u'*') {
            for (int k = vi; k <= V.size(); ++k)
                if (BacktrackingMatch(P, pi + 1, V, k)) return true;
            return false;
        }
        if (vi >= V.size()) return false;
        if (c != u'?' && c != V[vi]) return false;
        ++pi;
        ++vi;
    }
    return vi == V.size();
}

String Repeat(const char* Piece, int Count) {
    String s;
    for (int i = 0; i < Count; ++i) s += QString::fromLatin1(Piece);
    return s;
}

} // namespace

// Patterns with many stars, some of them far beyond what trying every split could answer.
TEST(GridText, StarHeavyPatterns) {
    const String a40 = Repeat("a", 40);
    const String elevenStars = Repeat("*a", 11) + "*b"; // 11 times "*a", then "*b": 12 stars
    struct Case {
        String Pattern;
        String Value;
        bool Match;
    } cases[] = {
        {Repeat("*a", 11) + "b", a40, false},
        {Repeat("*a", 11) + "b", Repeat("a", 39) + "b", true},
        {Repeat("*a", 11) + "b", Repeat("a", 10) + "b", false}, // one "a" short
        {elevenStars, a40, false},
        {elevenStars, "b" + a40, false}, // the "b" must follow the eleventh "a"
        {elevenStars, a40 + "b", true},
        {"!" + Repeat("*a", 11) + "b", a40, true},
        {Repeat("*?", 11), Repeat("x", 10), false},
        {Repeat("*?", 11), Repeat("x", 11), true},
        {Repeat("*?", 11), a40, true},
        {Repeat("*", 11), String(), true},
        {Repeat("*", 11), a40, true},
        {Repeat("*ab", 8) + "x", Repeat("ab", 20), false},
        {Repeat("*ab", 8) + "*", Repeat("ab", 20), true},
        {Repeat("*ab", 21), Repeat("ab", 20), false},
        {Repeat("*ab", 20), Repeat("ab", 20), true},
        {"*a*b*c*d*e*f*g*h*", "xaxbxcxdxexfxgxhx", true},
        {"*a*b*c*d*e*f*g*h*", "hgfedcba", false},
        {"**a**", "bab", true},
        {"\"*\"a\"*\"", "xax", true},
        {"a*b*c", "abcbc", true}, // the last star takes the longer run
        {"a*b*c", "abcb", false},
        // A "!" behind a star holds when the rest fails from any position the star reaches.
        {"*!*", "abc", false},
        {"*!", "", false},
        {"*!", "x", true},
        {"*a*!*b*", "ab", true}, // from the end, "*b*" finds no "b"
        {"*a*!*b*", "bbb", false},
        {"*a!b" + Repeat("*a", 10), a40, true},
        {Repeat("*a", 10) + "*!" + Repeat("a", 20), a40, true},
    };
    for (const Case& c : cases)
        EXPECT_EQ(MatchFilterTerm(c.Pattern, c.Value), c.Match)
            << c.Pattern.toStdString() << " / " << c.Value.toStdString();
}

// Every pattern answers as the backtracking matcher answered: random short patterns (at most
// four stars) against random short values.
TEST(GridText, PatternsAnswerAsTheBacktrackingMatcher) {
    std::mt19937 random(20240611);
    const char patternChars[] = {'a', 'b', '?', '*', '!', '"'};
    const char valueChars[] = {'a', 'b', '*', '?', '!'};
    auto pick = [&](int Size) { return std::uniform_int_distribution<int>(0, Size - 1)(random); };
    int differences = 0;
    for (int round = 0; round < 200000 && differences < 10; ++round) {
        String pattern, value;
        int stars = 0;
        for (int n = pick(10); pattern.size() < n;) {
            const char c = patternChars[pick(6)];
            if (c == '*' && ++stars > 4) continue;
            pattern += QChar::fromLatin1(c);
        }
        // Mostly letters, so that a good share of the values is matched.
        for (int n = pick(9); value.size() < n;)
            value += QChar::fromLatin1(valueChars[pick(3) == 0 ? pick(5) : pick(2)]);
        const bool expected = BacktrackingMatch(pattern, 0, value, 0);
        if (MatchFilterTerm(pattern, value) != expected) {
            ++differences;
            ADD_FAILURE() << "pattern " << pattern.toStdString() << " / value " << value.toStdString()
                          << ": expected " << expected;
        }
    }
}

TEST(GridText, Links) {
    EXPECT_TRUE(IsURL(QStringLiteral("see http://x.org")));
    EXPECT_TRUE(IsURL(QStringLiteral("mailto:a@b.c")));
    EXPECT_FALSE(IsURL(QStringLiteral("www.x.org")));
    EXPECT_EQ(StripURLScheme(QStringLiteral("https://x.org/a")), QStringLiteral("x.org/a"));
    EXPECT_EQ(StripURLScheme(QStringLiteral("mailto:a@b.c")), QStringLiteral("a@b.c"));
    EXPECT_EQ(StripURLScheme(QStringLiteral("plain")), QStringLiteral("plain"));

    String result;
    EXPECT_TRUE(
        MakeURLAnchor(QStringLiteral("see http://x.org/a_b now <b>"), QStringLiteral("HTTP://"), result));
    EXPECT_EQ(result, QStringLiteral("see <a href=\"http://x.org/a_b\">http://x.org/a_b</a> now &lt;b&gt;"));
    result = QStringLiteral("unchanged");
    EXPECT_FALSE(MakeURLAnchor(QStringLiteral("no link"), QStringLiteral("HTTP://"), result));
    EXPECT_EQ(result, QStringLiteral("unchanged"));
}
