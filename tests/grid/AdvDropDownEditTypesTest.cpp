// The typed input of the drop-down edits on a real form, driven by keys: the characters each
// edit type takes (with the caret afterwards), the change notifications of typing over the whole
// value, the integer-part limit, the caret kept out of prefix and suffix, the text writer and
// the number writers under two sets of separators, the edit type and precision writers, focus
// in and out (the pick-only edit shows no caret) and the filtered clipboard.
#include "AdvDropDown.h"

#include "Caret.h"
#include "Forms.h"
#include "SysUtils.h"
#include "KeyTyping.h"
#include "TestSupport.h"

#include <QClipboard>
#include <QGuiApplication>
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

class TTypedDropDown : public TAdvCustomDropDown {
public:
    using TAdvCustomDropDown::TAdvCustomDropDown;
};

// Separators of a locale: decimal and thousand.
struct TSeparators {
    char16_t Decimal, Thousand;
};
constexpr TSeparators CommaDecimal{u',', u'.'}, PointDecimal{u'.', u','};

class DropDownEditTypes : public ::testing::Test {
protected:
    void SetUp() override {
        Saved = FormatSettings;
        UseSeparators(CommaDecimal);
        Form = new TForm(nullptr);
        Form->SetBounds(100, 100, 400, 300);
        Form->Show();
        DD = new TTypedDropDown(Form);
        DD->SetParent(Form);
        DD->SetBounds(20, 30, 200, 21);
        Other = new TEdit(Form);
        Other->SetParent(Form);
        Other->SetBounds(20, 100, 100, 21);
        DD->OnChange = [this](TObject*) { ++Changes; };
        DD->SetFocus();
    }
    void TearDown() override {
        TObject::Free(Form);
        FormatSettings = Saved;
    }
    static void UseSeparators(TSeparators S) {
        FormatSettings.DecimalSeparator = Char(S.Decimal);
        FormatSettings.ThousandSeparator = Char(S.Thousand);
    }
    // The edit text and caret as code leaves them before the user types.
    void Start(const String& EditText, int SelStart, int SelLength = 0) {
        DD->SetEditorText(EditText);
        DD->SetSelStart(SelStart);
        DD->SetSelLength(SelLength);
        Changes = 0;
    }
    void Type(const String& Text) { TypeKeys(DD, Text); }
    static void SetClipboard(const String& Text) { QGuiApplication::clipboard()->setText(Text); }

    TFormatSettings Saved;
    TForm* Form = nullptr;
    TTypedDropDown* DD = nullptr;
    TEdit* Other = nullptr;
    int Changes = 0;
};

// ---- Routines ----

TEST_F(DropDownEditTypes, NumberKindsAndHexDigits) {
    struct Case {
        const char* Text;
        int Kind;
    } cases[] = {
        {"", 2},    {"123", 0},    {"-12", 0},   {"1,5", 1},   {"1.234", 1}, {"1.234.567,5", 1},
        {".5", 2},  {"1.23.4", 1}, {"1.2.3", 2}, {"1,2,3", 2}, {"--1", 2},   {"FF", 5},
        {"-1a", 5}, {"1x", 2},     {"12 3", 2},
    };
    for (const Case& c : cases) EXPECT_EQ(GetNumberKind(QString::fromUtf8(c.Text)), c.Kind) << c.Text;
    EXPECT_EQ(HexToInt(QStringLiteral("255")), 597);
    EXPECT_EQ(HexToInt(QStringLiteral("-fF")), 255);
    EXPECT_EQ(HexDigitValue(u'g'), 0);
    // Long texts keep the low 32 bits, read as a signed number, without overflowing.
    EXPECT_EQ(HexToInt(QString(20, u'F')), -1);
    EXPECT_EQ(HexToInt(QStringLiteral("1") + QString(8, u'0')), 0);
    EXPECT_EQ(HexToInt(QString(4000, u'7')), 0x77777777);
    EXPECT_EQ(StripThousandSeparators(QStringLiteral("1.234.567,5")), QStringLiteral("1234567,5"));
    EXPECT_TRUE(IsRangeSeparator(u';'));
    EXPECT_FALSE(IsRangeSeparator(u'.'));
}

// ---- The character filter ----

TEST_F(DropDownEditTypes, EachTypeTakesItsCharacters) {
    struct Case {
        const char* Name;
        TDropDownEditType Type;
        bool Signed;
        int Precision;
        const char* Before;
        int Caret;
        const char* Typed;
        const char* After;
        int CaretAfter;
    } cases[] = {
        {"numeric drops letters and minus", etNumeric, false, 0, "", 0, "1a-2", "12", 2},
        {"signed minus in the middle", etNumeric, true, 0, "12", 1, "-", "-12", 2},
        {"signed minus again", etNumeric, true, 0, "-12", 2, "-", "12", 1},
        {"float full fraction at the end", etFloat, false, 2, "1,25", 4, "3", "1,25", 4},
        {"float full fraction overwrites", etFloat, false, 2, "1,25", 3, "7", "1,27", 4},
        {"float separator into nothing", etFloat, false, 2, "", 0, ",", "0,", 2},
        {"float second separator jumps", etFloat, false, 2, "0,5", 0, ",", "0,5", 2},
        {"float without decimals", etFloat, false, 0, "12", 2, ",", "12", 2},
        {"float letters", etFloat, false, 2, "", 0, "1x", "1", 1},
        {"hex", etHex, false, 0, "", 0, "fg1-", "f1-", 3},
        {"alphanumeric", etAlphaNumeric, false, 0, "", 0, "a-b_1", "ab1", 3},
        {"upper case", etUppercase, false, 0, "", 0, "abC", "ABC", 3},
        {"lower case", etLowerCase, false, 0, "", 0, "AbC", "abc", 3},
        {"mixed case", etMixedCase, false, 0, "", 0, "hELLO wORLD", "Hello World", 11},
        {"range list", etRange, false, 0, "", 0, ",1-2;;3--", "1-2;3-", 6},
        {"money groups while typing", etMoney, false, 2, "", 0, "1234567", "1.234.567", 9},
        {"money drops a typed thousand separator", etMoney, false, 2, "1.234", 5, ".", "1.234", 5},
        {"length limit", etNumeric, false, 0, "123", 3, "4", "123", 3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        DD->SetEditType(c.Type);
        DD->SetSigned(c.Signed);
        DD->SetPrecision(c.Precision);
        DD->SetLengthLimit(std::string(c.Name) == "length limit" ? 3 : 0);
        Start(QString::fromUtf8(c.Before), c.Caret);
        Type(QString::fromUtf8(c.Typed));
        EXPECT_EQ(DD->EditText(), QString::fromUtf8(c.After));
        EXPECT_EQ(DD->SelStart(), c.CaretAfter);
        EXPECT_EQ(DD->SelLength(), 0);
    }
}

TEST_F(DropDownEditTypes, ValidCharsAndTheFractionPastTheLimit) {
    DD->SetEditType(etValidChars);
    DD->SetValidChars(QStringLiteral("xyz"));
    Start(String(), 0);
    Type(QStringLiteral("axbyc"));
    EXPECT_EQ(DD->EditText(), QStringLiteral("xy"));

    // The limit counts the integer part only.
    DD->SetEditType(etFloat);
    DD->SetPrecision(2);
    DD->SetLengthLimit(3);
    Start(QStringLiteral("123,4"), 5);
    Type(QStringLiteral("5"));
    EXPECT_EQ(DD->EditText(), QStringLiteral("123,45"));
    // Deleting the separator of 123,45 would make the integer part five long: refused.
    Start(QStringLiteral("123,45"), 3);
    SimulateKey(DD, VK_DELETE);
    EXPECT_EQ(DD->EditText(), QStringLiteral("123,45"));
    Start(QStringLiteral("123,45"), 5);
    SimulateKey(DD, VK_DELETE);
    EXPECT_EQ(DD->EditText(), QStringLiteral("123,4"));
}

TEST_F(DropDownEditTypes, TypingOverTheWholeValueRaisesNoChangeAndBackspaceOne) {
    Start(QStringLiteral("abc"), 0, 3);
    Type(QStringLiteral("x"));
    EXPECT_EQ(DD->EditText(), QStringLiteral("x"));
    EXPECT_EQ(Changes, 0);
    Type(QStringLiteral("y"));
    EXPECT_EQ(Changes, 1);

    Start(QStringLiteral("abc"), 0, 3);
    SimulateKey(DD, VK_BACK, {}, Char(8));
    EXPECT_EQ(DD->EditText(), String());
    EXPECT_EQ(Changes, 1);

    // A character the type refuses changes nothing and leaves no block for the next key.
    DD->SetEditType(etNumeric);
    Start(QStringLiteral("12"), 0, 2);
    Type(QStringLiteral("a"));
    EXPECT_EQ(DD->EditText(), QStringLiteral("12"));
    DD->SetSelStart(2);
    Type(QStringLiteral("3"));
    EXPECT_EQ(DD->EditText(), QStringLiteral("123"));
    EXPECT_EQ(Changes, 1);
}

TEST_F(DropDownEditTypes, TheCaretKeysStayOutOfPrefixAndSuffix) {
    DD->SetPrefix(QStringLiteral("$"));
    DD->SetText(QStringLiteral("5"));
    EXPECT_EQ(DD->EditText(), QStringLiteral("$5"));
    DD->SetSelStart(2);
    SimulateKey(DD, VK_HOME);
    EXPECT_EQ(DD->SelStart(), 1);
    SimulateKey(DD, VK_LEFT);
    EXPECT_EQ(DD->SelStart(), 1);
    SimulateKey(DD, VK_BACK, {}, Char(8));
    EXPECT_EQ(DD->EditText(), QStringLiteral("$5"));
    DD->SetSelStart(2);
    SimulateKey(DD, VK_HOME, {ssShift});
    EXPECT_EQ(DD->SelStart(), 1);
    EXPECT_EQ(DD->SelLength(), 1);
    // A mouse selection that reaches into the prefix takes the value.
    SimulateClick(DD, 1, 5);
    EXPECT_GE(DD->SelStart(), 1);

    DD->SetPrefix(String());
    DD->SetSuffix(QStringLiteral(" kg"));
    DD->SetText(QStringLiteral("5"));
    EXPECT_EQ(DD->EditText(), QStringLiteral("5 kg"));
    EXPECT_EQ(DD->Text(), QStringLiteral("5"));
    DD->SetSelStart(0);
    SimulateKey(DD, VK_END);
    EXPECT_EQ(DD->SelStart(), 1);
    SimulateKey(DD, VK_RIGHT);
    EXPECT_EQ(DD->SelStart(), 1);
    SimulateKey(DD, VK_DELETE);
    EXPECT_EQ(DD->EditText(), QStringLiteral("5 kg"));
    DD->SelectAll();
    EXPECT_EQ(DD->SelStart(), 0);
    EXPECT_EQ(DD->SelLength(), 1);
}

// ---- Writers ----

TEST_F(DropDownEditTypes, TheTextWriterAndTheNumberWritersUnderBothLocales) {
    struct Case {
        const char* Name;
        TDropDownEditType Type;
        int Precision;
        std::function<void(TAdvCustomDropDown*)> Write;
        const char* Comma; // DS "," and TS "."
        const char* Point; // DS "." and TS ","
    } cases[] = {
        {"float text", etFloat, 2, [](auto* D) { D->SetText(QStringLiteral("3")); }, "3,00", "3.00"},
        {"money text", etMoney, 2, [](auto* D) { D->SetText(QStringLiteral("1234")); }, "1.234,00",
         "1,234.00"},
        {"error text", etFloat, 2, [](auto* D) { D->SetText(QStringLiteral("Error")); }, "Error", "Error"},
        {"empty numeric", etNumeric, 0, [](auto* D) { D->SetText(String()); }, "0", "0"},
        {"hex text", etHex, 0, [](auto* D) { D->SetText(QStringLiteral("ff")); }, "FF", "FF"},
        {"float value", etFloat, 2, [](auto* D) { D->SetFloatValue(1234.5); }, "1234,50", "1234.50"},
        {"numeric value", etNumeric, 0, [](auto* D) { D->SetFloatValue(1234); }, "1.234", "1,234"},
        {"free format", etString, -1, [](auto* D) { D->SetFloatValue(0.5); }, "0,5", "0.5"},
        {"money value", etMoney, 2, [](auto* D) { D->SetFloatValue(1234567.891); }, "1.234.567,89",
         "1,234,567.89"},
        {"hex value", etHex, 0, [](auto* D) { D->SetFloatValue(255); }, "FF", "FF"},
        {"hex of nothing", etHex, 0, [](auto* D) { D->SetFloatValue(std::nan("")); }, "0", "0"},
        {"hex beyond 64 bits", etHex, 0, [](auto* D) { D->SetFloatValue(1e300); }, "7FFFFFFFFFFFFFFF",
         "7FFFFFFFFFFFFFFF"},
        {"integer money", etMoney, 0, [](auto* D) { D->SetIntValue(-1234); }, "-1.234", "-1,234"},
        {"integer hex", etHex, 0, [](auto* D) { D->SetIntValue(255); }, "FF", "FF"},
    };
    for (const TSeparators& sep : {CommaDecimal, PointDecimal}) {
        UseSeparators(sep);
        for (const Case& c : cases) {
            SCOPED_TRACE(std::string(c.Name) + (sep.Decimal == u',' ? " comma" : " point"));
            // The decimals are written while the type takes them.
            DD->SetEditType(etString);
            DD->SetPrecision(c.Precision);
            DD->SetEditType(c.Type);
            c.Write(DD);
            EXPECT_EQ(DD->EditText(), QString::fromUtf8(sep.Decimal == u',' ? c.Comma : c.Point));
        }
    }
    // Money beyond 64 bits and money that is no number stay sane.
    UseSeparators(CommaDecimal);
    DD->SetEditType(etMoney);
    DD->SetPrecision(0);
    DD->SetFloatValue(1e30);
    EXPECT_TRUE(DD->EditText().startsWith(QStringLiteral("9.223.372.036.854.775")))
        << DD->EditText().toStdString();
    DD->SetFloatValue(std::numeric_limits<double>::infinity());
    EXPECT_EQ(DD->EditText(), QStringLiteral("0"));
}

TEST_F(DropDownEditTypes, ReadingTheValueAsANumber) {
    DD->SetEditType(etHex);
    Start(String(), 0);
    Type(QStringLiteral("255"));
    EXPECT_EQ(DD->GetFloatValue(), 597);
    DD->SetEditType(etMoney);
    DD->SetPrecision(2);
    DD->SetEditorText(QStringLiteral("1.234,"));
    EXPECT_EQ(DD->GetFloatValue(), 1234);
    DD->SetEditorText(QStringLiteral("-"));
    EXPECT_EQ(DD->GetFloatValue(), 0);
    DD->SetEditType(etFloat);
    DD->SetEditorText(QStringLiteral("abc"));
    EXPECT_EQ(DD->GetFloatValue(), 0);
    DD->SetEditType(etString);
    DD->SetEditorText(QStringLiteral("2.5"));
    EXPECT_EQ(DD->GetFloatValue(), 2.5); // locale-independent
    DD->SetEditorText(QStringLiteral("2,5"));
    EXPECT_EQ(DD->GetFloatValue(), 0);
}

TEST_F(DropDownEditTypes, TheTypeAndPrecisionWriters) {
    DD->SetText(QStringLiteral("abc"));
    DD->SetEditType(etPassword);
    EXPECT_EQ(DD->PasswordChar(), Char(u'*'));
    EXPECT_FALSE(DD->CanUndo());
    EXPECT_EQ(DD->EditText(), QStringLiteral("abc"));
    DD->SetEditType(etNumeric);
    EXPECT_EQ(DD->PasswordChar(), Char());
    EXPECT_EQ(DD->EditText(), QStringLiteral("0"));
    DD->SetText(QStringLiteral("12"));
    DD->SetEditType(etFloat);
    EXPECT_EQ(DD->EditText(), QStringLiteral("12"));
    DD->SetPrecision(2);
    EXPECT_EQ(DD->EditText(), QStringLiteral("12,00"));
    DD->SetPrecision(1);
    EXPECT_EQ(DD->EditText(), QStringLiteral("12,0"));
    DD->SetEditorText(QStringLiteral("x"));
    DD->SetEditType(etHex);
    EXPECT_EQ(DD->EditText(), QStringLiteral("0"));
    // Not for the other types.
    DD->SetPrecision(3);
    EXPECT_EQ(DD->Precision(), 1);
}

// ---- Focus ----

TEST_F(DropDownEditTypes, FocusInAndOut) {
    ASSERT_TRUE(DD->Focused());
    EXPECT_FALSE(CaretHidden(DD->Handle()));
    // A pick-only edit hides the caret when it takes the focus.
    DD->SetEditorEnabled(false);
    Other->SetFocus();
    DD->SetFocus();
    EXPECT_TRUE(CaretHidden(DD->Handle()));
    Other->SetFocus();
    DD->SetEditorEnabled(true);
    DD->SetFocus();
    EXPECT_FALSE(CaretHidden(DD->Handle()));

    // Leaving reformats the decimals and keeps the modified state.
    DD->SetEditType(etFloat);
    DD->SetPrecision(2);
    Start(String(), 0);
    Type(QStringLiteral("1,5"));
    EXPECT_TRUE(DD->IsModified());
    Other->SetFocus();
    EXPECT_EQ(DD->EditText(), QStringLiteral("1,50"));
    EXPECT_TRUE(DD->IsModified());
    // An empty number becomes 0 unless it may stay empty.
    DD->SetEditType(etNumeric);
    DD->SetFocus();
    DD->SetEditorText(String());
    Other->SetFocus();
    EXPECT_EQ(DD->EditText(), QStringLiteral("0"));
    DD->SetAllowNumericNullValue(true);
    DD->SetFocus();
    DD->SetEditorText(String());
    Other->SetFocus();
    EXPECT_EQ(DD->EditText(), String());
}

// ---- Clipboard ----

TEST_F(DropDownEditTypes, PasteByType) {
    struct Case {
        const char* Name;
        TDropDownEditType Type;
        int Precision;
        const char* Before;
        const char* Clip;
        const char* After;
    } cases[] = {
        {"numeric digits", etNumeric, 0, "12", "34", "1234"},
        {"numeric with a letter", etNumeric, 0, "12", "3a", "12"},
        {"numeric minus unsigned", etNumeric, 0, "12", "-", "12"},
        {"float", etFloat, 2, "", "1,5", "1,50"},
        {"float separator without decimals", etFloat, 0, "", "1,5", ""},
        {"range", etRange, 0, "1-2", "3", "1-2"},
        {"hex", etHex, 0, "A", "F", "A"},
        {"upper case", etUppercase, 0, "", "abc", "ABC"},
        {"alphanumeric refused", etAlphaNumeric, 0, "", "a-1", ""},
        {"string", etString, 0, "ab", "cd", "abcd"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        DD->SetEditType(etString);
        DD->SetPrecision(c.Precision);
        DD->SetEditType(c.Type);
        const String before = QString::fromUtf8(c.Before);
        Start(before, int(before.size()));
        SetClipboard(QString::fromUtf8(c.Clip));
        DD->Perform(WM_PASTE);
        EXPECT_EQ(DD->EditText(), QString::fromUtf8(c.After));
    }

    // The event sees the new value and may refuse it.
    DD->SetEditType(etString);
    Start(QStringLiteral("ab"), 1);
    String seen;
    DD->OnClipboardPaste = [&](TObject*, String Value, bool& Allow) {
        seen = Value;
        Allow = false;
    };
    SetClipboard(QStringLiteral("X"));
    DD->Perform(WM_PASTE);
    EXPECT_EQ(seen, QStringLiteral("aXb"));
    EXPECT_EQ(DD->EditText(), QStringLiteral("ab"));
}

TEST_F(DropDownEditTypes, CutRaisesNoCopyEvent) {
    DD->SetPrefix(QStringLiteral("$"));
    DD->SetText(QStringLiteral("123"));
    std::vector<std::string> log;
    DD->OnClipboardCopy = [&](TObject*, String Value, bool&) {
        log.push_back("copy " + Value.toStdString());
    };
    DD->OnClipboardCut = [&](TObject*, String Value, bool&) { log.push_back("cut " + Value.toStdString()); };
    DD->SetSelStart(1);
    DD->SetSelLength(2);
    DD->Perform(WM_COPY);
    DD->Perform(WM_CUT);
    EXPECT_EQ(log, (std::vector<std::string>{"copy 12", "cut 12"}));
    EXPECT_EQ(DD->EditText(), QStringLiteral("$3"));
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("12"));
    // A refused cut leaves the text.
    DD->OnClipboardCut = [](TObject*, String, bool& Allow) { Allow = false; };
    DD->SelectAll();
    DD->Perform(WM_CUT);
    EXPECT_EQ(DD->EditText(), QStringLiteral("$3"));
}

} // namespace
