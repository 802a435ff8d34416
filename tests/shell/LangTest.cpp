// The text table: reading language-file lines, applying language files, the built-in English
// texts and the choice of the language file.
#include "ShellFixture.h"

#include <map>

namespace {

struct LineCase {
    const char* Line;
    bool Sets;
    int Id;
    const char* Text;
};

const QString P = QString(QChar(0x00B6));

} // namespace

TEST(LangLine, ReadsTheLineFormat) {
    const LineCase cases[] = {
        {"STR18 = Error! Project not Valid", true, 18, "Error! Project not Valid"},
        {"STR12=Hello", true, 12, "Hello"}, // no blank before "=": still id 12
        {"STR12 =Hello", true, 12, "Hello"},
        {"   STR12   =   Hello   ", true, 12, "Hello"},
        {"STR3000 = x", false, 0, ""}, // outside the table
        {"STR2899 = last", true, 2899, "last"},
        {"STR-1 = x", false, 0, ""},
        {"STR0x10 = x", true, 16, "x"}, // the system's hexadecimal prefixes
        {"STR$11 = x", true, 17, "x"},
        {"STR1a = x", false, 0, ""}, // no number
        {"STR = x", false, 0, ""},
        {"STR20 = Set Parameters /#/ translated 2021", true, 20, "Set Parameters"},
        {"STR5 = /#/ only a comment", false, 0, ""},
        {"STR5 =", false, 0, ""},
        {"STR5 = a = b", true, 5, "a = b"}, // the first "=" ends the id
        {"STR7 x", false, 0, ""},           // no "="
        {"str7 = lower case prefix", false, 0, ""},
        {"; STR7 = commented out", false, 0, ""},
        {"\tSTR8 = tab before\t", true, 8, "tab before"},
        {"STR 0012 = x", true, 12, "x"},     // blanks and leading zeros around the id
        {"STR+5 = x", true, 5, "x"},         // a sign, read as the system reads numbers
        {"STR1234567890 = x", false, 0, ""}, // too long for an id
        {"STR99999999999999999999 = x", false, 0, ""},
    };
    for (const LineCase& c : cases) {
        int id = -7;
        String text = QStringLiteral("unchanged");
        EXPECT_EQ(Parse_Lang_Line(QString::fromUtf8(c.Line), id, text), c.Sets) << c.Line;
        if (c.Sets) {
            EXPECT_EQ(id, c.Id) << c.Line;
            EXPECT_EQ(text, QString::fromUtf8(c.Text)) << c.Line;
        }
    }
}

TEST(LangLine, PilcrowsKeepBlanks) {
    const struct {
        QString Line;
        QString Text;
    } cases[] = {
        {"STR11 = " + P + "Opened " + P, "Opened "},
        {"STR11 = " + P + "None Configuration Opened " + P + " /#/ first line", "None Configuration Opened "},
        {"STR11 = abc" + P + "def", "abc"},
        {"STR11 = " + P + "  both  " + P, "  both  "},
        {"STR11 = " + P + "unclosed  ", "unclosed"}, // the line's own blanks are gone first
    };
    for (const auto& c : cases) {
        int id = 0;
        String text;
        ASSERT_TRUE(Parse_Lang_Line(c.Line, id, text)) << c.Line.toStdString();
        EXPECT_EQ(id, 11);
        EXPECT_EQ(text, c.Text) << c.Line.toStdString();
    }
}

TEST(BuiltInTexts, NoIdHasTwoTexts) {
    std::map<int, String> seen;
    const auto lines = Built_In_Lang_Lines();
    ASSERT_FALSE(lines.empty());
    for (const auto& [id, text] : lines) {
        EXPECT_TRUE(seen.emplace(id, text).second) << "id " << id << " has two texts";
        EXPECT_FALSE(text.isEmpty()) << "id " << id;
    }
}

TEST(BuiltInTexts, TableHoldsTheWindowTexts) {
    TLang_Text table;
    EXPECT_EQ(table.Count(), 2900);
    EXPECT_EQ(table.Get(0), "Begin");
    EXPECT_EQ(table.Get(8), "Step 8");
    EXPECT_EQ(table.Get(9), "None Configuration Opened ");
    EXPECT_EQ(table.Get(11), "Opened Configuration of the Converter : ");
    EXPECT_EQ(table.Get(18), "Error! Project not Valid");
    EXPECT_EQ(table.Get(58), "Set the Topics for MQTT");
    EXPECT_EQ(table.Get(59), " ");
    EXPECT_EQ(table.Get(105), "Error! Name project is not valid");
    EXPECT_EQ(table.Get(207), "Cancel open of Configuration");
    EXPECT_EQ(table.Get(306), " / ");
    EXPECT_EQ(table.Get(317), " to ");
    EXPECT_EQ(table.Get(321), "Enable Auto Size of Table Columns by Double Click");
    EXPECT_EQ(table.Get(1105), "File already exists. Do you want to overwrite?");
    EXPECT_EQ(table.Get(2899), " ");
    EXPECT_EQ(table.Get(-1), " ");
    EXPECT_EQ(table.Get(2900), " ");
}

class LangFileTest : public ShellFolderTest {};

TEST_F(LangFileTest, FileReplacesTextsIdByIdInEveryEncoding) {
    const QString body =
        "; Deutsch\r\nSTR0 = Anfang\r\nSTR18=Fehler! Projekt ungültig\nSTR0 = Beginn\rnoise\n"
        "STR9 = " +
        P + "Keine Konfiguration " + P + "\n";
    const struct {
        const char* Name;
        QByteArray Bytes;
    } files[] = {
        {"utf8", QByteArray("\xEF\xBB\xBF") + body.toUtf8()},
        {"utf16le",
         [&] {
             QByteArray b("\xFF\xFE");
             b.append(reinterpret_cast<const char*>(body.utf16()), body.size() * 2);
             return b;
         }()},
        {"ansi", ToWin1252(body)},
    };
    for (const auto& f : files) {
        Write("LANGUAGE/Deutsch.lng", f.Bytes);
        TLang_Text table;
        table.Load_Lang_File(Path_Language + "\\Deutsch.lng");
        EXPECT_EQ(table.Get(0), "Beginn") << f.Name; // a later line wins
        EXPECT_EQ(table.Get(18), QString::fromUtf8("Fehler! Projekt ungültig")) << f.Name;
        EXPECT_EQ(table.Get(9), "Keine Konfiguration ") << f.Name;
        EXPECT_EQ(table.Get(1), "Step 1") << f.Name; // not in the file: English stays
        EXPECT_EQ(table.Count(), 2900);
    }
}

TEST_F(LangFileTest, MissingFileChangesNothing) {
    TLang_Text table;
    table.Load_Lang_File(Path_Language + "\\Nowhere.lng");
    EXPECT_EQ(table.Get(18), "Error! Project not Valid");
}

TEST_F(LangFileTest, SetLanguageChoosesTheFileOrFallsBackToEnglish) {
    Write("LANGUAGE/Deutsch.lng", "STR0 = Anfang\n");
    Write("LANGUAGE/English.lng", "STR0 = Start here\n");
    const struct {
        QString Language;
        QString Stored;
        QString Text0;
    } cases[] = {
        {"Deutsch", "Deutsch", "Anfang"},
        {"Gone", "English", "Start here"}, // deleted file: English, stored as English
        {"", "English", "Start here"},
        {"../LANGUAGE/Deutsch", "English", "Start here"}, // never a path
    };
    for (const auto& c : cases) {
        Language = c.Language;
        Set_Language();
        EXPECT_EQ(Language, c.Stored) << c.Language.toStdString();
        EXPECT_EQ(Lang_Text.Get(0), c.Text0) << c.Language.toStdString();
        EXPECT_EQ(Lang_Text.Get(1), "Step 1");
    }
}

TEST_F(LangFileTest, SetLanguageReloadsTheDefaultsFirst) {
    Write("LANGUAGE/Deutsch.lng", "STR1 = Schritt 1\n");
    Write("LANGUAGE/Italiano.lng", "STR2 = Passo 2\n");
    Language = "Deutsch";
    Set_Language();
    Language = "Italiano";
    Set_Language();
    EXPECT_EQ(Lang_Text.Get(1), "Step 1");
    EXPECT_EQ(Lang_Text.Get(2), "Passo 2");
}
