// The row buttons, the Enter jump and the header double-click of the table editors' grids, and
// the address checks of their tables.
#include "AdvColumnGrid.h"
#include "Classes.h"
#include "Dialogs.h"
#include "SysUtils.h"
#include "ULang.h"
#include "UProject.h"
#include "UUtils.h"

#include <QCoreApplication>
#include <QProcess>

#include <gtest/gtest.h>

#include <memory>

namespace {

struct TFreeGrid {
    void operator()(TAdvColumnGrid* G) const { TObject::Free(G); }
};
using TGridPtr = std::unique_ptr<TAdvColumnGrid, TFreeGrid>;

// Row number, Enable (check box), Key, Hidden (hidden text column), Flag (check box), Note; four
// data rows. Cells hold "<column letter><row>" so that every move shows.
TGridPtr Make_Table() {
    TGridPtr g(new TAdvColumnGrid(nullptr));
    g->SetColCount(6);
    g->SetRowCount(5);
    g->SetFixedCols(1);
    g->SetFixedRows(1);
    g->Columns()->Items(1)->SetEditor(edDataCheckBox);
    g->Columns()->Items(4)->SetEditor(edDataCheckBox);
    for (int r = 1; r < 5; ++r) {
        g->SetCellEx(0, r, String::number(r));
        for (int c = 1; c < 6; ++c) g->SetCellEx(c, r, QString(QChar(u'a' + c - 1)) + QString::number(r));
    }
    g->HideColumn(3);
    return g;
}

// Row r as "c1|c2|c3|c4|c5" (column 0 apart).
String Row_Text(TAdvColumnGrid* G, int Row) {
    QStringList cells;
    for (int c = 1; c <= 5; ++c) cells << G->GetCellEx(c, Row);
    return G->GetCellEx(0, Row) + QStringLiteral(":") + cells.join(u'|');
}

class TableRows : public ::testing::Test {
protected:
    void SetUp() override {
        Lang_Text.Load_Default_Lang();
        if (!Copy_Row_List) Copy_Row_List = new TStringList();
        Copy_Row_List->Clear();
        FOld = SetMessageDlgHook([this](const TMessageDlgRequest& R) {
            Messages << R.Msg;
            return Answer;
        });
        Enable_Jump_Field_Tables = Double_Click_Auto_Size = false;
    }
    void TearDown() override {
        SetMessageDlgHook(FOld);
        Enable_Jump_Field_Tables = Double_Click_Auto_Size = false;
    }
    QStringList Messages;
    int Answer = mrYes;

private:
    TMessageDlgHook FOld;
};

} // namespace

// Insert and delete move every data column, the hidden one included, never column 0, and keep
// the row count.
TEST_F(TableRows, InsertAndDeleteMoveAllDataColumns) {
    struct Case {
        const char* name;
        std::function<void(TAdvColumnGrid*)> act;
        QStringList rows; // rows 1 .. 4 afterwards
    };
    const Case cases[] = {
        {"insert at 2 with Y",
         [](TAdvColumnGrid* g) { Insert_Row(2, g, true); },
         {"1:a1|b1|c1|d1|e1", "2:Y||||", "3:a2|b2|c2|d2|e2", "4:a3|b3|c3|d3|e3"}},
        {"insert at 1 without Y",
         [](TAdvColumnGrid* g) { Insert_Row(1, g, false); },
         {"1:||||", "2:a1|b1|c1|d1|e1", "3:a2|b2|c2|d2|e2", "4:a3|b3|c3|d3|e3"}},
        {"insert on the last row",
         [](TAdvColumnGrid* g) { Insert_Row(4, g, true); },
         {"1:a1|b1|c1|d1|e1", "2:a2|b2|c2|d2|e2", "3:a3|b3|c3|d3|e3", "4:Y||||"}},
        {"delete row 2",
         [](TAdvColumnGrid* g) { Delete_Grid_Row(2, g); },
         {"1:a1|b1|c1|d1|e1", "2:a3|b3|c3|d3|e3", "3:a4|b4|c4|d4|e4", "4:||||"}},
        {"delete the last row",
         [](TAdvColumnGrid* g) { Delete_Grid_Row(4, g); },
         {"1:a1|b1|c1|d1|e1", "2:a2|b2|c2|d2|e2", "3:a3|b3|c3|d3|e3", "4:||||"}},
    };
    for (const Case& c : cases) {
        TGridPtr g = Make_Table();
        ASSERT_EQ(g->ColCount() + g->NumHiddenColumns() - 1, 5);
        c.act(g.get());
        EXPECT_EQ(g->RowCount(), 5) << c.name;
        for (int r = 1; r <= 4; ++r) EXPECT_EQ(Row_Text(g.get(), r), c.rows[r - 1]) << c.name;
    }
}

TEST_F(TableRows, CopyAndPaste) {
    struct Case {
        const char* name;
        bool copied;
        int bufferWidth;                             // 0: copy row 1 of the same grid
        std::function<void(TAdvColumnGrid*)> target; // prepares row 3
        int answer;
        QStringList messages;
        const char* row3;
    };
    const Case cases[] = {
        {"into a row with data, Yes",
         true,
         0,
         [](TAdvColumnGrid*) {},
         mrYes,
         {Lang_Text.Get(1100)},
         "3:a1|b1|c1|d1|e1"},
        {"into a row with data, No",
         true,
         0,
         [](TAdvColumnGrid*) {},
         mrNo,
         {Lang_Text.Get(1100)},
         "3:a3|b3|c3|d3|e3"},
        {"into a row with only check boxes filled",
         true,
         0,
         [](TAdvColumnGrid* g) {
             for (int c : {2, 3, 5}) g->SetCellEx(c, 3, QStringLiteral("  "));
         },
         mrNo,
         {},
         "3:a1|b1|c1|d1|e1"},
        {"from a grid of another width",
         true,
         4,
         [](TAdvColumnGrid*) {},
         mrYes,
         {Lang_Text.Get(1101)},
         "3:a3|b3|c3|d3|e3"},
        {"without a copy",
         false,
         0,
         [](TAdvColumnGrid*) {},
         mrYes,
         {Lang_Text.Get(1102)},
         "3:a3|b3|c3|d3|e3"},
    };
    for (const Case& c : cases) {
        TGridPtr g = Make_Table();
        Copy_Row(g.get(), 1);
        EXPECT_EQ(Copy_Row_List->CommaText(), "a1,b1,c1,d1,e1");
        if (c.bufferWidth > 0) {
            Copy_Row_List->Clear();
            for (int i = 0; i < c.bufferWidth; ++i) Copy_Row_List->Add("x");
        }
        c.target(g.get());
        Messages.clear();
        Answer = c.answer;
        Paste_Row(g.get(), 3, c.copied);
        EXPECT_EQ(Messages, c.messages) << c.name;
        EXPECT_EQ(Row_Text(g.get(), 3), c.row3) << c.name;
    }
}

TEST_F(TableRows, EnterJumpsToTheNextCell) {
    struct Case {
        bool option;
        int col, row;
        int toCol, toRow;
        bool consumed;
    };
    // Five visible columns (0 .. 4 after hiding one), rows 1 .. 4.
    const Case cases[] = {
        {true, 1, 1, 2, 1, true},   {true, 4, 2, 1, 3, true},   {true, 4, 4, 1, 1, true},
        {false, 4, 4, 4, 4, false}, {false, 1, 1, 1, 1, false},
    };
    for (const Case& c : cases) {
        TGridPtr g = Make_Table();
        Enable_Jump_Field_Tables = c.option;
        g->MoveCurrentCell(c.col, c.row);
        Char key = Char(13);
        Grid_Enter_Next_Cell(g.get(), key);
        EXPECT_EQ(g->Col(), c.toCol) << c.col << "," << c.row;
        EXPECT_EQ(g->Row(), c.toRow) << c.col << "," << c.row;
        EXPECT_EQ(key == Char(0), c.consumed);
    }
    // Other keys pass.
    TGridPtr g = Make_Table();
    Enable_Jump_Field_Tables = true;
    Char key = u'A';
    Grid_Enter_Next_Cell(g.get(), key);
    EXPECT_EQ(key, u'A');
}

TEST_F(TableRows, HeaderDoubleClickFitsTheColumn) {
    TGridPtr g = Make_Table();
    g->SetCellEx(2, 2, QStringLiteral("a much longer text than the column is wide"));
    g->SetColWidths(2, 20);
    Grid_Auto_Size_Col(g.get(), 0, 2); // option off
    EXPECT_EQ(g->ColWidths(2), 20);
    Double_Click_Auto_Size = true;
    Grid_Auto_Size_Col(g.get(), 1, 2); // not a header cell
    EXPECT_EQ(g->ColWidths(2), 20);
    Grid_Auto_Size_Col(g.get(), 0, 2);
    EXPECT_GT(g->ColWidths(2), 100);
}

TEST(AddressChecks, CheckKNXAddress) {
    struct Case {
        const char* text;
        bool group, allowZero;
        int result;
    };
    const Case cases[] = {
        // Group addresses.
        {"0/0", true, true, 1},
        {"31/2047", true, true, 0},
        {"31/7/255", true, true, 0},
        {"32/0/1", true, true, 1},
        {"0", true, true, 1},
        {"65535", true, true, 0},
        {"65536", true, true, 1},
        {"0/0/0", true, true, 1},
        {"0/0/1", true, true, 0},
        {"1/8/0", true, true, 1},
        {"1/2/3/4", true, true, 1},
        {"1.2", true, true, 1},
        {" 1 / 2 ", true, true, 0},
        {"a/1", true, true, 1},
        // Individual addresses.
        {"15.15.255", false, true, 0},
        {"16.1.1", false, true, 1},
        {"0.0.0", false, true, 0},
        {"0.0.0", false, false, 1},
        {"1.2", false, true, 0},
        {"1/2", false, true, 1},
        {"1.2.3.4", false, true, 1},
        {"65535", false, true, 0},
        {"0", false, true, 1},
        // The two-part form: the two bytes of the address.
        {"0.0", false, true, 0},
        {"255.255", false, true, 0},
        {"1.256", false, true, 1},
        {"256.1", false, true, 1},
        {"x.y", false, true, 1},
        {"1.", false, true, 1},
        {"-1.2", false, true, 1},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Check_KNX_Address(c.text, c.group, c.allowZero), c.result)
            << c.text << (c.group ? " group" : " individual");
    EXPECT_TRUE(Check_No_Dot("1/2/3"));
    EXPECT_FALSE(Check_No_Dot("1.2"));
}

// The number cells' integer rule: raw text, blanks and a sign before, decimal or one of the
// hexadecimal prefixes, nothing after.
TEST(AddressChecks, IntegerRuleOfTheNumberCells) {
    struct Case {
        const char* text;
        int value;
    };
    const Case cases[] = {
        {"2047", 2047},
        {"0x7FF", 2047},
        {"$7FF", 2047},
        {"$7ff", 2047},
        {"x7FF", 2047},
        {" 2047", 2047},
        {"2047 ", -1},
        {"", -1},
        {"7FFh", -1},
        {"2147483648", -1},
        {"-5", -5},
        {"+5", 5},
        {"0x80000000", int(0x80000000u)},
        {"0x1FFFFFFF", 0x1FFFFFFF},
        {"0x123456789", -1},
    };
    for (const Case& c : cases) EXPECT_EQ(StrToIntDef(c.text, -1), c.value) << c.text;
    EXPECT_LT(StrToIntDef("0x80000000", -1), 0);
}

// Either separator converts whatever the run-time format settings say.
TEST(AddressChecks, StrToFloatSepUnderEitherLocaleSeparator) {
    const TFormatSettings saved = FormatSettings;
    for (Char locale : {Char(u','), Char(u'.')}) {
        FormatSettings.DecimalSeparator = locale;
        FormatSettings.ThousandSeparator = locale == u',' ? Char(u'.') : Char(u',');
        for (Char sep : {Char(u','), Char(u'.')}) {
            float v = 0;
            EXPECT_TRUE(Str_To_Float_Sep("1.5", sep, v));
            EXPECT_FLOAT_EQ(v, 1.5f);
            EXPECT_TRUE(Str_To_Float_Sep("1,5", sep, v));
            EXPECT_FLOAT_EQ(v, 1.5f);
            EXPECT_FALSE(Str_To_Float_Sep("abc", sep, v));
            EXPECT_FLOAT_EQ(v, 1.0f);
        }
    }
    FormatSettings = saved;
}

// Run in a child process under a given locale (see below): prints the separator it finds.
TEST(AddressChecks, DecimalSeparatorProbe) {
    if (qgetenv("VELMORA_SEPARATOR_PROBE").isEmpty())
        GTEST_SKIP() << "run by DecimalSeparatorFollowsTheLocale";
    printf("separator=[%s]\n", QString(Get_Decimal_Separator()).toUtf8().constData());
}

TEST(AddressChecks, DecimalSeparatorFollowsTheLocale) {
    struct Case {
        const char* locale;
        const char* separator;
    };
    // Persian writes the Arabic decimal separator, neither "," nor ".".
    const Case cases[] = {{"de_DE.UTF-8", ","}, {"en_US.UTF-8", "."}, {"fa_IR.UTF-8", ","}};
    for (const Case& c : cases) {
        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("LC_ALL", c.locale);
        env.insert("LANG", c.locale);
        env.insert("VELMORA_SEPARATOR_PROBE", "1");
        p.setProcessEnvironment(env);
        p.start(QCoreApplication::applicationFilePath(),
                {QStringLiteral("--gtest_filter=AddressChecks.DecimalSeparatorProbe")});
        ASSERT_TRUE(p.waitForFinished(60000));
        const QByteArray out = p.readAllStandardOutput();
        EXPECT_TRUE(out.contains("separator=[" + QByteArray(c.separator) + "]"))
            << c.locale << out.constData();
    }
}
