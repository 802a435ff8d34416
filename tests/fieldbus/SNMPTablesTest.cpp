// The SNMP object tables driven as a user drives them: shown modally over a project folder,
// cells filled on both pages, buttons clicked, messages answered; and what they leave in
// SNMP_Trap.xml.
#include "USNMP_Trap_Access.h"

#include "TwoTableFixture.h"

namespace {

// Enable, Community Name, Type, On Change, On CMD, On Timer, Time, Position, Start Bit,
// Num Bits/Bytes, Description, IP Address, Conversion, Mnemonic
const QStringList Read_Ok = {"Y",  "Harbor", "Int",           "N",    "N", "N", "", "0", "0",
                             "16", "temp1",  "192.168.1.125", "None", "m"};
// Enable, Community Name, Type, Position, Start Bit, Num Bits/Bytes, Description, Conversion,
// Mnemonic
const QStringList Write_Ok = {"Y", "Lantern", "String", "5", "0", "16", "setp1", "Float", "w"};

class SNMPTablesTest : public TwoTableTest<TFSNMP_Trap_Access> {
protected:
    static QStringList Index(TAdvColumnGrid* G, int Rows) {
        QStringList cells;
        for (int r = 1; r <= Rows; ++r) cells << G->GetCellEx(0, r);
        return cells;
    }
};

TEST_F(SNMPTablesTest, WindowAndColumns) {
    EXPECT_EQ(E->ClientWidth(), 1256);
    EXPECT_EQ(E->ClientHeight(), 337);
    EXPECT_EQ(E->Caption(), "SNMP Trap Access");
    EXPECT_EQ(E->L_SW_Desc->Caption(), "Set SNMP Trap Access");
    EXPECT_EQ(E->PageControl1->Pages(0)->Caption(), "SNMP Read");
    EXPECT_EQ(E->PageControl1->Pages(1)->Caption(), "SNMP Write");
    EXPECT_EQ(E->ACG_SNMP_Read->RowCount(), 257);
    EXPECT_EQ(E->ACG_SNMP_Write->RowCount(), 257);
    const QStringList read_headers = {"N",          "Enable",     "Community Name", "Type",
                                      "On Change",  "On CMD",     "On Timer",       "Time (ms)",
                                      "Position",   "Start Bit",  "Num Bits/Bytes", "Description",
                                      "IP Address", "Conversion", "Mnemonic"};
    const QStringList write_headers = {"N",          "Enable",    "Community Name", "Type",
                                       "Position",   "Start Bit", "Num Bits/Bytes", "Description",
                                       "Conversion", "Mnemonic"};
    ASSERT_EQ(E->ACG_SNMP_Read->ColCount(), read_headers.size());
    ASSERT_EQ(E->ACG_SNMP_Write->ColCount(), write_headers.size());
    for (int c = 0; c < read_headers.size(); ++c)
        EXPECT_EQ(E->ACG_SNMP_Read->Columns()->Items(c)->Header(), read_headers[c]);
    for (int c = 0; c < write_headers.size(); ++c)
        EXPECT_EQ(E->ACG_SNMP_Write->Columns()->Items(c)->Header(), write_headers[c]);
    EXPECT_EQ(E->ACG_SNMP_Read->Columns()->Items(2)->ComboItems()->CommaText(), "Harbor,Lantern");
    EXPECT_EQ(E->ACG_SNMP_Read->Columns()->Items(2)->EditLength(), 15);
    EXPECT_EQ(E->ACG_SNMP_Read->Columns()->Items(11)->EditLength(), 15);
    EXPECT_EQ(E->ACG_SNMP_Write->Columns()->Items(7)->EditLength(), 15);

    String hint;
    E->ACG_SNMP_Read->OnGridHint(E->ACG_SNMP_Read, 0, 13, hint);
    EXPECT_EQ(hint, "Select the Data Conversion from Float to Int");
    Open([&] {
        const TStringList* pos = E->ACG_SNMP_Read->Columns()->Items(8)->ComboItems();
        ASSERT_EQ(pos->Count(), 1440);
        EXPECT_EQ(pos->Strings(1439), "1439");
        EXPECT_EQ(E->ACG_SNMP_Write->Columns()->Items(4)->ComboItems()->Count(), 1440);
        E->PageControl1->SetActivePage(E->PageControl1->Pages(1));
        E->ACG_SNMP_Write->OnGridHint(E->ACG_SNMP_Write, 0, 5, hint);
        EXPECT_EQ(hint, "Insert the Start Bit of Array where to Write the data");
    });
    EXPECT_EQ(E->NByte_IN, 1440);
    EXPECT_EQ(E->NByte_OUT, 1440);
}

// Each case fills read rows and write rows over empty tables and presses OK: either the one
// error message expected and no file, or no message and the file written.
TEST_F(SNMPTablesTest, Validation) {
    auto r = [](std::initializer_list<std::pair<int, const char*>> C) { return With(Read_Ok, C); };
    auto w = [](std::initializer_list<std::pair<int, const char*>> C) { return With(Write_Ok, C); };
    Run_Checks(
        "SNMP_Trap.xml",
        {
            {"valid rows", {Read_Ok}, {Write_Ok}, ""},
            {"community with a blank",
             {r({{2, "Har bor"}})},
             {},
             "Error row 1!! [SNMP Read] Community Name is not correct (allowed characters are \"a\"..\"z\", "
             "\"A\"..\"Z\" and \"0\"..\"9\")"},
            {"community letters and digits", {r({{2, "ab12CD"}})}, {}, ""},
            {"read type empty", {r({{3, " "}})}, {}, "Error row 1!! [SNMP Read] Type must be selected"},
            {"time 0 on timer",
             {r({{6, "y"}, {7, "0"}})},
             {},
             "Error row 1!! [SNMP Read] Time must be between 1 and 1000000000 ms"},
            {"time 0 without timer", {r({{7, "0"}})}, {}, ""},
            {"position", {r({{8, ""}})}, {}, "Error row 1!! [SNMP Read] Position must be selected"},
            {"start bit", {r({{9, ""}})}, {}, "Error row 1!! [SNMP Read] Start Bit must be selected"},
            {"string with bit 3",
             {r({{3, "String"}, {9, "3"}})},
             {},
             "Error row 1!! [SNMP Read] Start Bit must be 0 if Type is String"},
            {"string of 20 bytes",
             {r({{3, "String"}, {10, "20"}})},
             {},
             "Error row 1!! [SNMP Read] Num Bits/Bytes must be between 1 and 16 bytes"},
            {"int of 64", {r({{10, "64"}})}, {}, ""},
            {"int of 65",
             {r({{3, "int"}, {10, "65"}})},
             {},
             "Error row 1!! [SNMP Read] Num Bits/Bytes must be between 1 and 64 bits"},
            {"description upper case",
             {r({{11, "Temp"}})},
             {},
             "Error row 1!! [SNMP Read] Description is not correct (allowed characters are \"a\"..\"z\", "
             "\"A\"..\"Z\" and \"0\"..\"9\"). First character must be a letter and must be lowercase"},
            {"description digit first",
             {},
             {w({{7, "1abc"}})},
             "Error row 1!! [SNMP Write] Descrtiption is not correct (allowed characters are \"a\"..\"z\", "
             "\"A\"..\"Z\" and \"0\"..\"9\"). First character must be a letter and must be lowercase"},
            {"one empty description", {r({{11, ""}})}, {Write_Ok}, ""},
            {"two empty descriptions across tables",
             {r({{11, ""}})},
             {w({{7, ""}})},
             "Error!! The Descriptions must be all differents"},
            {"equal descriptions in one table",
             {Read_Ok, r({{11, "temp1"}})},
             {},
             "Error!! The Descriptions must be all differents"},
            {"descriptions differing in case", {Read_Ok}, {w({{7, "tEMP1"}})}, ""},
            {"bad IP address",
             {r({{12, "192.168.1"}})},
             {},
             "Error row 1!! [SNMP Read] IP Address must be a valid TCP IP Address (Ex. 192.168.1.125)"},
            {"read conversion", {r({{13, ""}})}, {}, "Error row 1!! [SNMP Read] Conversion must be selected"},
            {"write community",
             {},
             {Write_Ok, w({{2, "a-b"}, {7, "x2"}})},
             "Error row 2!! [SNMP Write] Community Name is not correct (allowed characters are \"a\"..\"z\", "
             "\"A\"..\"Z\" and \"0\"..\"9\")"},
            {"write type", {}, {w({{3, ""}})}, "Error row 1!! [SNMP Write] Type must be selected"},
            {"write position", {}, {w({{4, ""}})}, "Error row 1!! [SNMP Write] Position must be selected"},
            {"write start bit", {}, {w({{5, ""}})}, "Error row 1!! [SNMP Write] Start Bit must be selected"},
            {"write string bit",
             {},
             {w({{5, "1"}})},
             "Error row 1!! [SNMP Write] Start Bit must be 0 if Type is String"},
            {"write int bits",
             {},
             {w({{3, "Int"}, {6, "0"}})},
             "Error row 1!! [SNMP Write] Num Bits/Bytes must be between 1 and 64 bits"},
            {"write string bytes",
             {},
             {w({{6, "abc"}})},
             "Error row 1!! [SNMP Write] Num Bits/Bytes must be between 1 and 16 bytes"},
            {"write conversion",
             {},
             {w({{8, " "}})},
             "Error row 1!! [SNMP Write] Conversion must be selected"},
            {"a disabled row with bad contents", {r({{1, "N"}, {2, "a b"}, {3, ""}})}, {}, ""},
            {"a row after the first blank community", {Read_Ok, r({{2, " "}}), r({{2, "a b"}})}, {}, ""},
            {"the read table is checked first",
             {r({{3, ""}})},
             {w({{3, ""}})},
             "Error row 1!! [SNMP Read] Type must be selected"},
        });
}

TEST_F(SNMPTablesTest, IndexColumnNumbersTheEnabledRows) {
    Open([this] {
        TAdvColumnGrid* g = E->ACG_SNMP_Read;
        EXPECT_EQ(Index(g, 4), QStringList({"1", "2", "3", "4"}));
        for (int r = 1; r <= 3; ++r) Fill(g, r, Read_Ok);
        g->SetCellEx(1, 2, "N");
        E->ACG_SNMP_ReadCheckBoxClick(g, 1, 2, false);
        EXPECT_EQ(Index(g, 6), QStringList({"1", "", "2", "3", "4", "5"}));
        EXPECT_EQ(g->GetCellEx(0, 256), "255");
        // A click in another check-box column renumbers nothing.
        g->SetCellEx(1, 1, "n");
        E->ACG_SNMP_ReadCheckBoxClick(g, 4, 1, true);
        EXPECT_EQ(g->GetCellEx(0, 1), "1");
        E->ACG_SNMP_ReadCheckBoxClick(g, 1, 1, false);
        EXPECT_EQ(Index(g, 3), QStringList({"", "", "1"}));
        // The write grid is numbered on its own.
        E->ACG_SNMP_Write->SetCellEx(1, 1, "N");
        E->ACG_SNMP_ReadCheckBoxClick(E->ACG_SNMP_Write, 1, 1, false);
        EXPECT_EQ(Index(E->ACG_SNMP_Write, 2), QStringList({"", "1"}));
        EXPECT_EQ(Index(g, 3), QStringList({"", "", "1"}));
    });
}

// OK writes both sections with every row in use, disabled rows included; the next show reads
// them back, numbers the enabled rows and gives missing attributes their defaults.
TEST_F(SNMPTablesTest, FileRoundTrip) {
    Open([this] {
        Fill(E->ACG_SNMP_Read, 1, Read_Ok);
        Fill(E->ACG_SNMP_Read, 2, With(Read_Ok, {{1, "N"}, {2, "x y"}, {11, "a & <b>"}}));
        Fill(E->ACG_SNMP_Write, 1, Write_Ok);
        E->Btn_OK->Click();
    });
    EXPECT_TRUE(Messages.isEmpty()) << Texts().join('|').toStdString();
    const QByteArray written = Read("SNMP_Trap.xml");
    EXPECT_TRUE(written.startsWith("<SNMP_Trap>")) << written.constData();
    EXPECT_TRUE(written.contains("<!--SW_VERSION = 1.000-->"));
    EXPECT_TRUE(written.contains(
        "<row Enable=\"Y\" Community_Name=\"Harbor\" Type=\"Int\" On_Change=\"N\" On_Command=\"N\" "
        "On_Timer=\"N\" Time=\"\" Position=\"0\" Bit=\"0\" NumBits=\"16\" Description=\"temp1\" "
        "IP_Address=\"192.168.1.125\" Conversion=\"None\" Mnemonic=\"m\" />"))
        << written.constData();
    EXPECT_TRUE(
        written.contains("<row Enable=\"Y\" Community_Name=\"Lantern\" Type=\"String\" Position=\"5\" "
                         "Bit=\"0\" NumBits=\"16\" Description=\"setp1\" Conversion=\"Float\" "
                         "Mnemonic=\"w\" />"))
        << written.constData();
    EXPECT_LT(written.indexOf("<SNMP_Trap_Read>"), written.indexOf("<SNMP_Trap_Write>"));
    EXPECT_EQ(written.count("<row "), 3);

    Open([this] {
        EXPECT_EQ(RowOf(E->ACG_SNMP_Read, 1), Read_Ok);
        EXPECT_EQ(RowOf(E->ACG_SNMP_Read, 2), With(Read_Ok, {{1, "N"}, {2, "x y"}, {11, "a & <b>"}}));
        EXPECT_EQ(RowOf(E->ACG_SNMP_Write, 1), Write_Ok);
        EXPECT_EQ(Index(E->ACG_SNMP_Read, 3), QStringList({"1", "", "2"}));
    });

    WriteFile("SNMP_Trap.xml", "<SNMP_Trap><SNMP_Trap_Read><row Community_Name=\"c\"/></SNMP_Trap_Read>"
                               "<SNMP_Trap_Write><row Community_Name=\"d\"/></SNMP_Trap_Write></SNMP_Trap>");
    Open([this] {
        EXPECT_EQ(RowOf(E->ACG_SNMP_Read, 1),
                  QStringList({"Y", "c", "", "N", "N", "N", "", "", "", "", "", "", "None", ""}));
        EXPECT_EQ(RowOf(E->ACG_SNMP_Write, 1), QStringList({"Y", "d", "", "", "", "", "", "None", ""}));
    });
}

TEST_F(SNMPTablesTest, RowButtons) {
    Open([this] {
        Fill(E->ACG_SNMP_Read, 1, Read_Ok);
        E->ACG_SNMP_Read->SetRow(1);
        E->Btn_CopyRowClick(nullptr);
        EXPECT_TRUE(E->Do_Copy_In_Read);
        EXPECT_FALSE(E->Do_Copy_In_Write);
        // A read row cannot go into the write table.
        E->PageControl1->SetActivePage(E->PageControl1->Pages(1));
        E->ACG_SNMP_Write->SetRow(1);
        E->Btn_PasteRowClick(nullptr);
        EXPECT_EQ(Texts(), QStringList({Lang_Text.Get(1102)}));
        EXPECT_EQ(E->ACG_SNMP_Write->GetCellEx(2, 1), "");
        // Insert marks the new row enabled; Delete asks with the row number.
        Fill(E->ACG_SNMP_Write, 1, Write_Ok);
        E->ACG_SNMP_Write->SetCellEx(1, 1, "N");
        E->Btn_InsRowClick(nullptr);
        EXPECT_EQ(E->ACG_SNMP_Write->GetCellEx(1, 1), "Y");
        EXPECT_EQ(E->ACG_SNMP_Write->GetCellEx(2, 2), "Lantern");
        Messages.clear();
        Answer = mrYes;
        E->Btn_DelRowClick(nullptr);
        EXPECT_EQ(Texts(), QStringList({"Are you sure to delete the Row number 1"}));
        EXPECT_EQ(E->ACG_SNMP_Write->GetCellEx(2, 1), "Lantern");
    });
}

} // namespace
