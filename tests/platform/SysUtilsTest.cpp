#include "Classes.h"
#include "SysUtils.h"

#include <QDate>
#include <QLocale>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <climits>

namespace {

// Settings with a chosen decimal separator and day-month-year dates, independent of the machine.
TFormatSettings Settings(Char decimal, Char thousand = u'\0') {
    TFormatSettings fs = TFormatSettings::Invariant();
    fs.DecimalSeparator = decimal;
    fs.ThousandSeparator = thousand.isNull() ? (decimal == u',' ? Char(u'.') : Char(u',')) : thousand;
    return fs;
}

// Replaces the global settings for one test.
class GlobalSettings {
public:
    explicit GlobalSettings(const TFormatSettings& fs) : FSaved(FormatSettings) { FormatSettings = fs; }
    ~GlobalSettings() { FormatSettings = FSaved; }

private:
    TFormatSettings FSaved;
};

} // namespace

// ---- integers -------------------------------------------------------------------------------

TEST(IntegerText, OneRuleForEveryConversion) {
    struct Case {
        const char* text;
        bool ok;
        int value; // on success
        int code;  // Val's error position on failure
    };
    const Case cases[] = {
        {"0", true, 0, 0},
        {"123", true, 123, 0},
        {"-123", true, -123, 0},
        {"+7", true, 7, 0},
        {"$1F", true, 31, 0},
        {"x1f", true, 31, 0},
        {"X1F", true, 31, 0},
        {"0x1f", true, 31, 0},
        {"0X1F", true, 31, 0},
        {"-$10", true, -16, 0},
        {" 12", true, 12, 0},
        {"   +$a", true, 10, 0},
        {"007", true, 7, 0},
        {"2147483647", true, INT_MAX, 0},
        {"-2147483648", true, INT_MIN, 0},
        {"$FFFFFFFF", true, -1, 0}, // hexadecimal uses the whole 32 bits
        {"12 ", false, 0, 3},       // a trailing blank is not allowed
        {"", false, 0, 1},
        {"   ", false, 0, 4},
        {"+", false, 0, 2},
        {"-", false, 0, 2},
        {"$", false, 0, 2},
        {"0x", false, 0, 3},
        {"1a", false, 0, 2},
        {"0x1G", false, 0, 4},
        {"1.0", false, 0, 2},
        {"1 2", false, 0, 2},
        {"\t1", false, 0, 1}, // only blanks are skipped
        {"2147483648", false, 0, 10},
        {"-2147483649", false, 0, 11},
        {"$100000000", false, 0, 10},
        {"--1", false, 0, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        const String s = QString::fromUtf8(c.text);
        int v = 12345;
        EXPECT_EQ(TryStrToInt(s, v), c.ok);
        EXPECT_EQ(StrToIntDef(s, -99), c.ok ? c.value : -99);
        if (c.ok) {
            EXPECT_EQ(v, c.value);
            EXPECT_EQ(StrToInt(s), c.value);
        } else {
            EXPECT_EQ(v, 12345) << "a failed TryStrToInt leaves the variable alone";
            EXPECT_THROW(StrToInt(s), EConvertError);
        }
        int val = 0, code = -1;
        Val(s, val, code);
        EXPECT_EQ(code, c.ok ? 0 : c.code);
    }
}

TEST(IntegerText, ErrorMessageAndPartialValue) {
    try {
        StrToInt("12 ");
        FAIL();
    } catch (const EConvertError& e) {
        EXPECT_EQ(e.Message(), "'12 ' is not a valid integer value");
    }
    // Val keeps the digits before the offending character.
    int v = 0, code = 0;
    Val("-42x", v, code);
    EXPECT_EQ(v, -42);
    EXPECT_EQ(code, 4);
    Val("abc", v, code);
    EXPECT_EQ(v, 0);
    EXPECT_EQ(code, 1);
}

TEST(IntegerText, SixtyFourBits) {
    EXPECT_EQ(StrToInt64("9223372036854775807"), INT64_MAX);
    EXPECT_EQ(StrToInt64("-9223372036854775808"), INT64_MIN);
    EXPECT_THROW(StrToInt64("9223372036854775808"), EConvertError);
    EXPECT_EQ(StrToInt64("$FFFFFFFFFFFFFFFF"), -1);
    EXPECT_EQ(StrToInt64("0x100000000"), Int64(1) << 32);
    EXPECT_EQ(StrToInt64Def("x", 5), 5);
}

TEST(IntegerText, ToText) {
    EXPECT_EQ(IntToStr(-5), "-5");
    EXPECT_EQ(IntToStr(Int64(1) << 40), "1099511627776");
    EXPECT_EQ(IntToStr(size_t(7)), "7");
    EXPECT_EQ(IntToHex(255, 4), "00FF");
    EXPECT_EQ(IntToHex(-1, 2), "FFFFFFFF");
    EXPECT_EQ(IntToHex(Int64(-1), 2), "FFFFFFFFFFFFFFFF");
    EXPECT_EQ(IntToHex(0xABCDEF, 0), "ABCDEF");
}

TEST(Rounding, TiesGoToTheEvenNeighbour) {
    EXPECT_EQ(Round(0.5), 0);
    EXPECT_EQ(Round(1.5), 2);
    EXPECT_EQ(Round(2.5), 2);
    EXPECT_EQ(Round(-2.5), -2);
    EXPECT_EQ(Round(2.6), 3);
    EXPECT_EQ(Trunc(-2.7), -2);
}

// ---- floating point -------------------------------------------------------------------------

TEST(FloatText, ParsingFollowsTheDecimalSeparator) {
    struct Case {
        const char* text;
        bool okDot;
        bool okComma;
        double value;
    };
    const Case cases[] = {
        {"1.5", true, false, 1.5},   {"1,5", false, true, 1.5},  {" 2.5 ", true, false, 2.5},
        {"-.5", true, false, -0.5},  {"1.", true, false, 1.0},   {"1e3", true, true, 1000},
        {"+1E-2", true, true, 0.01}, {"7", true, true, 7},       {".", false, false, 0},
        {"", false, false, 0},       {"1e", false, false, 0},    {"1,000.5", false, false, 0},
        {"1.2.3", false, false, 0},  {"1e999", false, false, 0}, {"abc", false, false, 0},
        {"1 2", false, false, 0},
    };
    const TFormatSettings dot = Settings(u'.'), comma = Settings(u',');
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        const String s = QString::fromUtf8(c.text);
        double v = -1;
        EXPECT_EQ(TryStrToFloat(s, v, dot), c.okDot);
        if (c.okDot) {
            EXPECT_DOUBLE_EQ(v, c.value);
        }
        v = -1;
        EXPECT_EQ(TryStrToFloat(s, v, comma), c.okComma);
        if (c.okComma) {
            EXPECT_DOUBLE_EQ(v, c.value);
        }
    }
    {
        GlobalSettings g(comma);
        EXPECT_DOUBLE_EQ(StrToFloat("3,25"), 3.25);
        EXPECT_DOUBLE_EQ(StrToFloatDef("3.25", -1), -1);
        try {
            StrToFloat("3.25");
            FAIL();
        } catch (const EConvertError& e) {
            EXPECT_EQ(e.Message(), "'3.25' is not a valid floating point value");
        }
    }
}

TEST(FloatText, GeneralFormatWithFifteenDigits) {
    const TFormatSettings dot = Settings(u'.');
    struct Case {
        double value;
        const char* text;
    };
    const Case cases[] = {
        {0, "0"},
        {0.1, "0.1"},
        {-2.5, "-2.5"},
        {1.0 / 3, "0.333333333333333"},
        {2.0 / 3, "0.666666666666667"},
        {0.1 + 0.2, "0.3"},
        {123456789012345.0, "123456789012345"},
        {1e15, "1E15"},
        {1e20, "1E20"},
        {0.0001, "0.0001"},
        {0.00001, "1E-5"},
        {1.5e-7, "1.5E-7"},
        {-1234.5, "-1234.5"},
    };
    for (const Case& c : cases) EXPECT_EQ(FloatToStr(c.value, dot), c.text) << c.value;
    EXPECT_EQ(FloatToStr(0.5, Settings(u',')), "0,5");
}

TEST(FloatText, FixedNumberAndExponentFormats) {
    const TFormatSettings fs = Settings(u'.', u',');
    EXPECT_EQ(FloatToStrF(1234.5678, ffFixed, 15, 2, fs), "1234.57");
    EXPECT_EQ(FloatToStrF(1234.5678, ffNumber, 15, 2, fs), "1,234.57");
    EXPECT_EQ(FloatToStrF(1e6, ffNumber, 15, 0, fs), "1,000,000");
    EXPECT_EQ(FloatToStrF(-999.995, ffNumber, 15, 2, fs), "-1,000.00");
    EXPECT_EQ(FloatToStrF(0.125, ffFixed, 15, 2, fs), "0.13"); // half away from zero
    EXPECT_EQ(FloatToStrF(2.5, ffFixed, 15, 0, fs), "3");
    EXPECT_EQ(FloatToStrF(-0.001, ffFixed, 15, 2, fs), "0.00"); // no negative zero
    EXPECT_EQ(FloatToStrF(1.005, ffFixed, 15, 2, fs), "1.00");  // 1.005 is 1.00499... in binary
    EXPECT_EQ(FloatToStrF(1234.0, ffExponent, 4, 2, fs), "1.234E+03");
    EXPECT_EQ(FloatToStrF(0.0, ffExponent, 3, 0, fs), "0.00E+0");
    EXPECT_EQ(FloatToStrF(1234.5678, ffGeneral, 6, 0, fs), "1234.57");
    EXPECT_EQ(FloatToStrF(1.5, ffFixed, 15, 3, Settings(u',')), "1,500");
}

TEST(FloatText, PictureFormats) {
    const TFormatSettings fs = Settings(u'.', u',');
    struct Case {
        const char* format;
        double value;
        const char* text;
    };
    const Case cases[] = {
        {"0.00", 3.14159, "3.14"},
        {"#,##0.00", 1234567.891, "1,234,567.89"},
        {"#.##", 0.5, ".5"},
        {"0.##", 2.0, "2"},
        {"000", 7, "007"},
        {"0", -7.6, "-8"},
        {"0.00;(0.00)", -2.5, "(2.50)"},
        {"0;-0;\"zero\"", 0, "zero"},
        {"0.00E+00", 12345, "1.23E+04"},
        {"\"Value: \"0 'kg'", 5, "Value: 5 kg"},
    };
    for (const Case& c : cases) EXPECT_EQ(FormatFloat(c.format, c.value, fs), c.text) << c.format;
}

// ---- Format ---------------------------------------------------------------------------------

TEST(FormatText, Directives) {
    GlobalSettings g(Settings(u'.', u','));
    EXPECT_EQ(Format("%d", 42), "42");
    EXPECT_EQ(Format("[%5d]", 42), "[   42]");
    EXPECT_EQ(Format("[%-5d]", 42), "[42   ]");
    EXPECT_EQ(Format("%.3d", -5), "-005");
    EXPECT_EQ(Format("%d", Int64(1) << 40), "1099511627776");
    EXPECT_EQ(Format("%u", -1), "4294967295");
    EXPECT_EQ(Format("%x", 255), "FF");
    EXPECT_EQ(Format("%.4x", 255), "00FF");
    EXPECT_EQ(Format("%x", -1), "FFFFFFFF");
    EXPECT_EQ(Format("%s%.8d", "ab", 42), "ab00000042");
    EXPECT_EQ(Format("[%-10s]", String("abc")), "[abc       ]");
    EXPECT_EQ(Format("%.2s", "abcdef"), "ab");
    EXPECT_EQ(Format("%s", QChar(u'x')), "x");
    EXPECT_EQ(Format("%.2f", 3.14159), "3.14");
    EXPECT_EQ(Format("%f", 2.0), "2.00");
    EXPECT_EQ(Format("%.0f", 0.5), "1");
    EXPECT_EQ(Format("%n", 1234567.891), "1,234,567.89");
    EXPECT_EQ(Format("%e", 1.0), "1.00000000000000E+000");
    EXPECT_EQ(Format("%g", 0.5), "0.5");
    EXPECT_EQ(Format("100%%"), "100%");
    EXPECT_EQ(Format("%1:s %0:s %s", "a", "b"), "b a b");
    EXPECT_EQ(Format("[%*d]", 4, 7), "[   7]");
    EXPECT_EQ(Format("%p", nullptr), String(int(sizeof(void*) * 2), u'0'));
    EXPECT_EQ(Format("%d and %s", {3, "x"}), "3 and x");
}

TEST(FormatText, UsesTheSettingsDecimalSeparator) {
    EXPECT_EQ(Format("%.1f", {2.25}, Settings(u',')), "2,3");
    GlobalSettings g(Settings(u','));
    EXPECT_EQ(Format("%.2f", 1.5), "1,50");
}

TEST(FormatText, MismatchRaises) {
    struct Case {
        const char* fmt;
        std::vector<TVarRec> args;
    };
    const Case cases[] = {
        {"%d", {1.5}},  {"%f", {1}},     {"%s", {1}},   {"%d", {}},        {"%d", {"x"}},
        {"%d", {true}}, {"%z", {1}},     {"abc%", {}},  {"%x", {2.0}},     {"%d %d", {1}},
        {"%p", {1}},    {"%e", {"1.0"}}, {"%u", {0.5}}, {"%s", {nullptr}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.fmt);
        try {
            Format(c.fmt, c.args);
            ADD_FAILURE() << "no error";
        } catch (const EConvertError& e) {
            EXPECT_EQ(e.Message(),
                      QStringLiteral("Format '%1' invalid or incompatible with argument").arg(c.fmt));
        }
    }
}

// ---- strings --------------------------------------------------------------------------------

TEST(StringRoutines, PositionsAndCopies) {
    EXPECT_EQ(Pos("", "abc"), 0);
    EXPECT_EQ(Pos("b", "abc"), 2);
    EXPECT_EQ(Pos("x", "abc"), 0);
    EXPECT_EQ(Pos("abcd", "abc"), 0);
    EXPECT_EQ(PosEx("a", "aba", 2), 3);
    EXPECT_EQ(PosEx("a", "aba", 4), 0);
    EXPECT_EQ(PosEx("a", "aba", 0), 0);

    EXPECT_EQ(Copy("abc", 0, 2), "ab");
    EXPECT_EQ(Copy("abc", -5, 1), "a");
    EXPECT_EQ(Copy("abc", 2, 100), "bc");
    EXPECT_EQ(Copy("abc", 2, INT_MAX), "bc");
    EXPECT_EQ(Copy("abc", 4, 1), "");
    EXPECT_EQ(Copy("abc", 1, -1), "");

    String s = "abcdef";
    Delete(s, 2, 2);
    EXPECT_EQ(s, "adef");
    Delete(s, 0, 1);
    EXPECT_EQ(s, "adef");
    Delete(s, 3, INT_MAX);
    EXPECT_EQ(s, "ad");
    Delete(s, 3, 1);
    EXPECT_EQ(s, "ad");

    s = "abc";
    Insert("X", s, 0);
    EXPECT_EQ(s, "Xabc");
    Insert("Y", s, 100);
    EXPECT_EQ(s, "XabcY");
    Insert("-", s, 3);
    EXPECT_EQ(s, "Xa-bcY");
}

TEST(StringRoutines, TrimCaseAndComparison) {
    EXPECT_EQ(Trim(QStringLiteral("\t a b \r\n")), "a b");
    EXPECT_EQ(TrimLeft(QStringLiteral("\x01 x ")), "x ");
    EXPECT_EQ(TrimRight(QStringLiteral(" x \x1f")), " x");
    EXPECT_EQ(Trim(QStringLiteral(" \u00a0 ")), QStringLiteral("\u00a0"))
        << "only characters up to the blank";

    EXPECT_EQ(UpperCase(QStringLiteral("äbc")), QStringLiteral("äBC"));
    EXPECT_EQ(AnsiUpperCase(QStringLiteral("äbc")), QStringLiteral("ÄBC"));
    EXPECT_EQ(LowerCase(QStringLiteral("ÄBC")), QStringLiteral("Äbc"));

    EXPECT_LT(CompareText("a", "B"), 0);
    EXPECT_GT(CompareText("_", "a"), 0) << "letters compare as upper case";
    EXPECT_EQ(CompareText("abc", "ABC"), 0);
    EXPECT_TRUE(SameText("Hello", "hELLO"));
    EXPECT_FALSE(SameText(QStringLiteral("ä"), QStringLiteral("Ä")));
    EXPECT_TRUE(AnsiSameText(QStringLiteral("ä"), QStringLiteral("Ä")));
    EXPECT_LT(CompareStr("B", "a"), 0);
    EXPECT_LT(AnsiCompareStr("a", "A"), 0);
    EXPECT_LT(AnsiCompareStr("A", "b"), 0);
    EXPECT_EQ(AnsiCompareText("abc", "ABC"), 0);
    EXPECT_LT(AnsiCompareText("abc", "ABD"), 0);
}

TEST(StringRoutines, ReplaceQuoteAndDelimiters) {
    EXPECT_EQ(StringReplace("aXbxc", "x", "-", {}), "aXb-c");
    EXPECT_EQ(StringReplace("aXbxc", "x", "-", {rfIgnoreCase}), "a-bxc");
    EXPECT_EQ(StringReplace("aXbxc", "x", "-", {rfReplaceAll, rfIgnoreCase}), "a-b-c");
    EXPECT_EQ(StringReplace("aaa", "", "-", {rfReplaceAll}), "aaa");

    EXPECT_EQ(QuotedStr("it's"), "'it''s'");
    EXPECT_EQ(AnsiQuotedStr("a\"b", u'"'), "\"a\"\"b\"");
    String src = "'a''b'rest";
    EXPECT_EQ(AnsiExtractQuotedStr(src, u'\''), "a'b");
    EXPECT_EQ(src, "rest");
    src = "'open";
    EXPECT_EQ(AnsiExtractQuotedStr(src, u'\''), "open");
    EXPECT_EQ(src, "");
    src = "plain";
    EXPECT_EQ(AnsiExtractQuotedStr(src, u'\''), "");
    EXPECT_EQ(src, "plain");
    EXPECT_EQ(AnsiDequotedStr("'x''y'", u'\''), "x'y");
    EXPECT_EQ(AnsiDequotedStr("'x'y", u'\''), "'x'y");

    EXPECT_EQ(StringOfChar(u'*', 3), "***");
    EXPECT_EQ(StringOfChar(u'*', -1), "");
    EXPECT_EQ(LastDelimiter("\\/", "a/b\\c"), 4);
    EXPECT_EQ(LastDelimiter(".", "abc"), 0);
    EXPECT_TRUE(IsDelimiter(",;", "a;b", 2));
    EXPECT_FALSE(IsDelimiter(",;", "a;b", 4));
}

// ---- files ----------------------------------------------------------------------------------

TEST(FileNames, PartsWithEitherSeparator) {
    EXPECT_EQ(ExtractFilePath("C:\\dir\\file.txt"), "C:\\dir\\");
    EXPECT_EQ(ExtractFilePath("/home/u/file.txt"), "/home/u/");
    EXPECT_EQ(ExtractFilePath("file.txt"), "");
    EXPECT_EQ(ExtractFileDir("C:\\dir\\file.txt"), "C:\\dir");
    EXPECT_EQ(ExtractFileDir("/file"), "/");
    EXPECT_EQ(ExtractFileName("a\\b/c.txt"), "c.txt");
    EXPECT_EQ(ExtractFileExt("a\\b.tar.gz"), ".gz");
    EXPECT_EQ(ExtractFileExt("a.b/c"), "");
    EXPECT_EQ(ChangeFileExt("a.b/c", ".x"), "a.b/c.x");
    EXPECT_EQ(ChangeFileExt("dir\\name.old", ".new"), "dir\\name.new");
    EXPECT_EQ(ChangeFileExt("name.old", ""), "name");
    EXPECT_EQ(IncludeTrailingPathDelimiter("C:\\x"), "C:\\x\\");
    EXPECT_EQ(IncludeTrailingPathDelimiter("/x"), "/x/");
    EXPECT_EQ(IncludeTrailingPathDelimiter("/x/"), "/x/");
    EXPECT_EQ(ExcludeTrailingPathDelimiter("/x//"), "/x");
    EXPECT_EQ(ExcludeTrailingPathDelimiter("/"), "/");
    EXPECT_EQ(NativePath("a\\b\\c"), "a/b/c");
}

TEST(Files, FoldersAndFilesThroughBackslashPaths) {
    QTemporaryDir tmp;
    ASSERT_TRUE(tmp.isValid());
    const String base = tmp.path().replace(u'/', u'\\');
    const String deep = base + "\\a\\b\\c";
    EXPECT_FALSE(DirectoryExists(deep));
    EXPECT_TRUE(ForceDirectories(deep));
    EXPECT_TRUE(DirectoryExists(deep));
    EXPECT_TRUE(ForceDirectories(deep + "\\")) << "an existing folder is fine";
    EXPECT_FALSE(ForceDirectories(""));
    EXPECT_FALSE(FileExists(deep)) << "a folder is no file";
    EXPECT_FALSE(CreateDir(base + "\\x\\y")) << "one level only";
    EXPECT_TRUE(CreateDir(base + "\\x"));

    const String file = deep + "\\f.txt";
    {
        TFileStream f(file, fmCreate);
        f.WriteBuffer("abc", 3);
    }
    EXPECT_TRUE(FileExists(file));
    EXPECT_EQ(FileSize(file), 3);
    const String other = base + "\\g.txt";
    EXPECT_TRUE(RenameFile(file, other));
    EXPECT_FALSE(FileExists(file));
    { TFileStream f(file, fmCreate); }
    EXPECT_FALSE(RenameFile(file, other)) << "renaming onto an existing file fails";
    EXPECT_TRUE(DeleteFile(file));
    EXPECT_FALSE(DeleteFile(file));
    EXPECT_FALSE(DeleteFile(deep)) << "DeleteFile does not remove folders";
    EXPECT_TRUE(RemoveDir(deep));
}

TEST(Files, FindFirstHonoursAttributes) {
    QTemporaryDir tmp;
    ASSERT_TRUE(tmp.isValid());
    const String dir = tmp.path() + "/";
    for (const char* name : {"b.txt", "A.txt", ".hidden.txt", "c.dat"}) TFileStream(dir + name, fmCreate);
    ASSERT_TRUE(CreateDir(dir + "sub.txt"));

    auto list = [&](const String& pattern, int attr) {
        QStringList names;
        TSearchRec sr;
        if (FindFirst(pattern, attr, sr) == 0) {
            do names << sr.Name;
            while (FindNext(sr) == 0);
            FindClose(sr);
        }
        return names;
    };
    EXPECT_EQ(list(dir + "*.txt", faArchive), (QStringList{"A.txt", "b.txt"}));
    EXPECT_EQ(list(dir + "*.TXT", faArchive | faHidden), (QStringList{".hidden.txt", "A.txt", "b.txt"}));
    QStringList all = list(dir + "*.*", faAnyFile);
    EXPECT_TRUE(all.contains("sub.txt"));
    EXPECT_TRUE(all.contains("c.dat"));
    EXPECT_TRUE(all.contains(".."));
    TSearchRec sr;
    EXPECT_EQ(FindFirst(dir + "sub.txt", faDirectory, sr), 0);
    EXPECT_TRUE(sr.Attr & faDirectory);
    FindClose(sr);
    EXPECT_NE(FindFirst(dir + "*.none", faAnyFile, sr), 0);
    EXPECT_NE(FindFirst(dir + "missing/*", faAnyFile, sr), 0);
}

// ---- dates and times ------------------------------------------------------------------------

TEST(DateTime, EncodeAndDecode) {
    EXPECT_EQ(EncodeDate(1899, 12, 30), 0);
    EXPECT_EQ(EncodeDate(2000, 1, 1), 36526);
    EXPECT_DOUBLE_EQ(EncodeTime(12, 0, 0, 0), 0.5);
    EXPECT_THROW(EncodeDate(2023, 2, 29), EConvertError);
    EXPECT_THROW(EncodeDate(2024, 13, 1), EConvertError);
    EXPECT_THROW(EncodeTime(24, 0, 0, 0), EConvertError);
    EXPECT_NO_THROW(EncodeDate(2024, 2, 29));

    Word y, m, d, h, mi, s, ms;
    // Before the epoch the time is the absolute fraction: -1.25 is 29 Dec 1899, 06:00.
    DecodeDate(-1.25, y, m, d);
    DecodeTime(-1.25, h, mi, s, ms);
    EXPECT_EQ(std::vector<int>({y, m, d, h, mi}), std::vector<int>({1899, 12, 29, 6, 0}));
    // A time that rounds up to midnight carries into the next day instead of showing 24:00.
    const TDateTime almost = 2.0 - 1e-10;
    DecodeDate(almost, y, m, d);
    DecodeTime(almost, h, mi, s, ms);
    EXPECT_EQ(std::vector<int>({y, m, d, h, mi, s, ms}), std::vector<int>({1900, 1, 1, 0, 0, 0, 0}));

    EXPECT_EQ(DayOfWeek(EncodeDate(2024, 1, 1)), 2); // a Monday
    EXPECT_EQ(IncMonth(EncodeDate(2001, 1, 31)), EncodeDate(2001, 2, 28));
    EXPECT_EQ(IncMonth(EncodeDate(2004, 1, 31)), EncodeDate(2004, 2, 29));
    EXPECT_EQ(IncMonth(EncodeDate(2004, 3, 15), -15), EncodeDate(2002, 12, 15));
    EXPECT_DOUBLE_EQ(IncMonth(EncodeDate(2004, 3, 15) + 0.25, 1), EncodeDate(2004, 4, 15) + 0.25);
}

TEST(DateTime, FormattingAndParsingWithSettings) {
    TFormatSettings fs = Settings(u'.');
    fs.DateSeparator = u'.';
    fs.ShortDateFormat = "dd/mm/yyyy";
    fs.LongTimeFormat = "hh:nn:ss";
    fs.ShortTimeFormat = "hh:nn";
    fs.TwoDigitYearCenturyWindow = 50;
    const TDateTime dt = EncodeDate(2024, 3, 5) + EncodeTime(14, 7, 9, 0);
    EXPECT_EQ(DateToStr(dt, fs), "05.03.2024");
    EXPECT_EQ(TimeToStr(dt, fs), "14:07:09");
    EXPECT_EQ(DateTimeToStr(dt, fs), "05.03.2024 14:07:09");
    EXPECT_EQ(DateTimeToStr(EncodeDate(2024, 3, 5), fs), "05.03.2024");
    EXPECT_EQ(FormatDateTime("yyyy-mm-dd hh:nn", dt, fs), "2024-03-05 14:07");
    EXPECT_EQ(FormatDateTime("h:nn am/pm", dt, fs), "2:07 pm");
    EXPECT_EQ(FormatDateTime("d/m/yy 'at' h:mm", dt, fs), "5.3.24 at 14:07");
    EXPECT_EQ(FormatDateTime("ddd mmm", dt, fs), fs.ShortDayNames[2] + " " + fs.ShortMonthNames[2]);

    struct DateCase {
        const char* text;
        bool ok;
        int y, m, d;
    };
    const DateCase dates[] = {
        {"5.3.2024", true, 2024, 3, 5}, {" 05.03.2024 ", true, 2024, 3, 5},
        {"5.3.24", true, 2024, 3, 5},   {"5.3.99", true, 1999, 3, 5},
        {"31.2.2024", false, 0, 0, 0},  {"5-3-2024", false, 0, 0, 0},
        {"5.3.2024x", false, 0, 0, 0},  {"", false, 0, 0, 0},
        {"32.1.2024", false, 0, 0, 0},
    };
    for (const DateCase& c : dates) {
        SCOPED_TRACE(c.text);
        TDateTime v = -7;
        EXPECT_EQ(TryStrToDate(c.text, v, fs), c.ok);
        if (c.ok) {
            EXPECT_EQ(v, EncodeDate(c.y, c.m, c.d));
        }
    }
    TDateTime v;
    ASSERT_TRUE(TryStrToDate("5.3", v, fs)) << "a missing year is this year";
    Word y, m, d;
    DecodeDate(v, y, m, d);
    EXPECT_EQ(y, QDate::currentDate().year());

    EXPECT_DOUBLE_EQ(StrToTime("14:07", fs), EncodeTime(14, 7, 0, 0));
    EXPECT_DOUBLE_EQ(StrToTime("2:07:09 PM", fs), EncodeTime(14, 7, 9, 0));
    EXPECT_DOUBLE_EQ(StrToTime("12:00 am", fs), 0);
    EXPECT_DOUBLE_EQ(StrToTime("5 PM", fs), EncodeTime(17, 0, 0, 0));
    EXPECT_THROW(StrToTime("13:00 PM", fs), EConvertError);
    EXPECT_THROW(StrToTime("25:00", fs), EConvertError);
    EXPECT_THROW(StrToTime("14", fs), EConvertError);
    EXPECT_DOUBLE_EQ(StrToDateTime("05.03.2024 14:07:09", fs), dt);
    try {
        StrToDate("x", fs);
        FAIL();
    } catch (const EConvertError& e) {
        EXPECT_EQ(e.Message(), "'x' is not a valid date");
    }
}

TEST(DateTime, LocaleSettingsReadTheirOwnOutput) {
    // Settings taken from a locale convert what they write back to the same value.
    const TDateTime dt = EncodeDate(2021, 11, 3) + EncodeTime(14, 5, 6, 0);
    for (const char* name : {"C", "en_US", "de_DE", "fr_FR", "nl_NL", "sv_SE", "ja_JP"}) {
        SCOPED_TRACE(name);
        const TFormatSettings fs = TFormatSettings::Create(QLocale(QString::fromLatin1(name)));
        EXPECT_FALSE(fs.DecimalSeparator.isNull());
        TDateTime back = 0;
        EXPECT_TRUE(TryStrToDateTime(DateTimeToStr(dt, fs), back, fs)) << DateTimeToStr(dt, fs).toStdString();
        EXPECT_DOUBLE_EQ(back, dt);
        EXPECT_DOUBLE_EQ(StrToFloat(FloatToStr(-1.25, fs), fs), -1.25);
    }
    const TFormatSettings de = TFormatSettings::Create(QLocale(QStringLiteral("de_DE")));
    EXPECT_EQ(de.DecimalSeparator, u',');
    EXPECT_EQ(DateToStr(dt, de), "03.11.21");
    EXPECT_EQ(GetDecimalSeparator(), TFormatSettings::Create().DecimalSeparator);
}

// ---- codec and misc -------------------------------------------------------------------------

TEST(Win1252, RoundTripsEveryByteAndReportsLoss) {
    QByteArray all;
    for (int b = 0; b < 256; ++b) all += char(b);
    const String text = FromWin1252(all);
    EXPECT_EQ(text[0x80], QChar(0x20AC));
    EXPECT_EQ(text[0x9F], QChar(0x0178));
    EXPECT_EQ(text[0xE4], QChar(0x00E4));
    EXPECT_EQ(text[0x81], QChar(0x0081));
    bool lossless = false;
    EXPECT_EQ(ToWin1252(text, &lossless), all);
    EXPECT_TRUE(lossless);

    EXPECT_EQ(ToWin1252(QStringLiteral("\u03A9x"), &lossless), QByteArray("?x"));
    EXPECT_FALSE(lossless);
    EXPECT_EQ(ToWin1252(QStringLiteral("a\U0001F600b"), &lossless), QByteArray("a?b"));
    EXPECT_FALSE(lossless);
}

TEST(Misc, TickCountIsMonotonicAndBeepIsHarmless) {
    const uint64_t a = GetTickCount64();
    const uint64_t b = GetTickCount64();
    EXPECT_LE(a, b);
    EXPECT_TRUE(MessageBeep(0));
    EXPECT_FALSE(ParamStr(0).isEmpty());
    EXPECT_THROW(Abort(), EAbort);
}
