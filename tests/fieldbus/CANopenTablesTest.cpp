// The CANopen PDO, SDO client and SDO server tables driven as a user drives them: shown modally
// over a project folder, cells filled on either page, buttons clicked, messages answered; and
// what they leave in their files.
#include "USet_PDO_Access.h"
#include "USet_SDO_Client_Access.h"
#include "USet_SDO_Server_Access.h"

#include "Dialogs.h"
#include "Forms.h"
#include "SaveStepFixture.h"
#include "TestSupport.h"
#include "UUtils.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

struct Check_Case {
    const char* name;
    int table;              // the page the row is filled on
    QStringList row;        // columns 1 ..
    const char* message;    // "" when the tables pass
    QStringList first = {}; // when given, row 1 of the first table, filled besides
};

QStringList With(QStringList Base, std::initializer_list<std::pair<int, const char*>> Changes) {
    for (const auto& [col, text] : Changes) Base[col - 1] = text;
    return Base;
}

class CANopenTablesTest : public SaveStepTest {
protected:
    void SetUp() override {
        SaveStepTest::SetUp();
        Code_SW = "CF40207";
        Enable_Jump_Field_Tables = Double_Click_Auto_Size = false;
        if (!Copy_Row_List) Copy_Row_List = new TStringList();
        Copy_Row_List->Clear();
        PDO = new TFSet_PDO_Access(nullptr);
        Client = new TFSet_SDO_Client_Access(nullptr);
        Server = new TFSet_SDO_Server_Access(nullptr);
    }
    void TearDown() override {
        TObject::Free(PDO);
        TObject::Free(Client);
        TObject::Free(Server);
        Enable_Jump_Field_Tables = Double_Click_Auto_Size = false;
        SaveStepTest::TearDown();
    }

    // Shows Editor modally; While runs inside, then the window is cancelled if still open.
    int Open(TFTableEditor* Editor, const std::function<void()>& While) {
        PostCall([Editor, While] {
            While();
            if (Editor->Visible() && Editor->ModalResult() == mrNone) Editor->Btn_Cancel->Click();
        });
        return Editor->ShowModal();
    }
    static void Fill(TAdvColumnGrid* G, int Row, const QStringList& Cells) {
        for (int c = 0; c < Cells.size(); ++c) G->SetCellEx(c + 1, Row, Cells[c]);
    }
    static QStringList RowOf(TAdvColumnGrid* G, int Row) {
        QStringList cells;
        for (int c = 1; c < G->ColCount(); ++c) cells << G->GetCellEx(c, Row);
        return cells;
    }
    QStringList Texts() const {
        QStringList t;
        for (const auto& m : Messages) t << m.Msg;
        return t;
    }

    // Each case over empty tables: its row filled as row 1 of its table, OK; the one error
    // expected and nothing written, or no message and the file written.
    void Run_Checks(TFTableEditor* E, const QString& File, const std::vector<Check_Case>& Cases) {
        for (const Check_Case& c : Cases) {
            QFile::remove(FDir.filePath(File));
            Messages.clear();
            const int result = Open(E, [&] {
                if (!c.first.isEmpty()) Fill(E->Grid(0), 1, c.first);
                Fill(E->Grid(c.table), c.first.isEmpty() ? 1 : 2 - c.table, c.row);
                E->Btn_OK->Click();
            });
            const bool passes = QByteArray(c.message).isEmpty();
            EXPECT_EQ(result, passes ? mrOk : mrCancel) << c.name;
            EXPECT_EQ(Texts(), passes ? QStringList() : QStringList({c.message})) << c.name;
            if (!passes) EXPECT_EQ(Messages.value(0).DlgType, mtError) << c.name;
            EXPECT_EQ(Files().contains(File), passes) << c.name;
        }
    }

    TFSet_PDO_Access* PDO = nullptr;
    TFSet_SDO_Client_Access* Client = nullptr;
    TFSet_SDO_Server_Access* Server = nullptr;
};

} // namespace

TEST_F(CANopenTablesTest, WindowsAfterCreationAndShow) {
    struct Case {
        TFCANopenTables* editor;
        int width;
        const char* caption;
        const char* pages[2];
        const char* pageCaptions[2];
        int rows;
        QStringList headers[2];
    };
    const Case cases[] = {
        {PDO,
         798,
         "CANopen PDO Access",
         {"TS_Receive_PDO", "TS_Transmit_PDO"},
         {"Receive PDO", "Transmit PDO"},
         31,
         {{"N", "COB-ID", "Dimension", "Add B1", "Add B2", "Add B3", "Add B4", "Add B5", "Add B6", "Add B7",
           "Add B8", "TimeOut", "Mnemonic"},
          {"N", "COB-ID", "Dimension", "Add B1", "Add B2", "Add B3", "Add B4", "Add B5", "Add B6", "Add B7",
           "Add B8", "Send Time", "On Change", "Mnemonic"}}},
        {Client,
         798,
         "CANopen SDO Client",
         {"TS_SDO_Read", "TS_SDO_Write"},
         {"SDO Read", "SDO Write"},
         257,
         {{"N", "ID Device", "Index", "SubIndex", "N Byte", "Poll Time", "Add Byte1", "Add Byte2",
           "Add Byte3", "Add Byte4", "Mnemonic"},
          {"N", "ID Device", "Index", "SubIndex", "N Byte", "Poll Time", "On Change", "Add Byte1",
           "Add Byte2", "Add Byte3", "Add Byte4", "Mnemonic"}}},
        {Server,
         749,
         "CANopen SDO Server",
         {"TS_SDO_Read", "TS_SDO_Write"},
         {"SDO in Read", "SDO in Write"},
         501,
         {{"N", "Index", "SubIndex", "N Byte", "Add Byte1", "Add Byte2", "Add Byte3", "Add Byte4",
           "Mnemonic"},
          {"N", "Index", "SubIndex", "N Byte", "Add Byte1", "Add Byte2", "Add Byte3", "Add Byte4",
           "Mnemonic"}}},
    };
    for (const Case& c : cases) {
        TFCANopenTables* e = c.editor;
        EXPECT_EQ(e->ClientWidth(), c.width);
        EXPECT_EQ(e->ClientHeight(), 337);
        EXPECT_EQ(e->Caption(), c.caption);
        EXPECT_EQ(e->L_SW_Code->Caption(), "CF40207");
        ASSERT_TRUE(e->PageControl1);
        for (int t = 0; t < 2; ++t) {
            EXPECT_EQ(e->PageControl1->Pages(t)->Name(), c.pages[t]);
            EXPECT_EQ(e->PageControl1->Pages(t)->Caption(), c.pageCaptions[t]);
            TAdvColumnGrid* g = e->Grid(t);
            EXPECT_EQ(g->Name(), t == 0 ? "sga" : "sgb");
            ASSERT_EQ(g->ColCount(), c.headers[t].size()) << c.caption;
            EXPECT_EQ(g->RowCount(), c.rows);
            for (int col = 0; col < g->ColCount(); ++col) {
                EXPECT_EQ(g->GetCellEx(col, 0), c.headers[t][col]) << c.caption << " " << col;
                EXPECT_NE(g->Columns()->Items(col)->Editor(), edComboList);
            }
            EXPECT_EQ(e->Hint_List(t)->Count(), g->ColCount() - 1);
        }
        EXPECT_EQ(e->Btn_DelRow->Hint(), "Delete the Selected Row in the table");

        // Leftovers are reset, the read page comes to the front, the array sizes are set.
        e->Grid(1)->SetCellEx(1, 3, "left");
        e->PageControl1->SetActivePage(e->PageControl1->Pages(1));
        Open(e, [&] {
            EXPECT_EQ(e->Current_Table(), 0);
            EXPECT_EQ(e->Grid(1)->GetCellEx(1, 3), "");
            EXPECT_EQ(e->Grid(1)->GetCellEx(0, c.rows - 1), String::number(c.rows - 1));
            EXPECT_EQ(e->PROFINET_NByte_IN, 1500);
            EXPECT_EQ(e->PROFINET_NByte_OUT, 1500);
        });
    }
    String hint;
    PDO->GridHint(PDO->sga, 0, 11, hint);
    EXPECT_EQ(hint,
              "Insert the TimeOut in milliseconds of data for each CANopen PDO frames, insert 0 do disable "
              "the function");
    EXPECT_EQ(PDO->Hint_PDO_Transmit->Strings(11),
              "Enable or Disable the possibility to send the CANopen PDO "
              "Frame if a Data Byte changes");
    EXPECT_EQ(Client->Hint_SDO_Client_Write->Strings(5),
              "Enable or Disable the possibility to send the CANopen SDO Request if a Data Byte changes");
    EXPECT_EQ(Server->Hint_SDO_Client_Write->Strings(3),
              "Insert the position of array where write the byte 1 of CANopen SDO Request");
    EXPECT_EQ(PDO->Btn_OK->Hint(), "Confirm and save the CANopen PDOs List");
    EXPECT_EQ(Server->Btn_Cancel->Hint(), "Exit without save the CANopen SDOs Server List");
}

TEST_F(CANopenTablesTest, PdoValidation) {
    // COB-ID, Dimension, Add B1 .. Add B8, TimeOut / Send Time, (On Change,) Mnemonic
    const QStringList rx = {"0x181", "2", "0", "1499", "", "", "", "", "", "", "0", "m"};
    const QStringList tx = {"0x201", "2", "0", "1", "", "", "", "", "", "", "100", "Y", "m"};
    auto r = [&](std::initializer_list<std::pair<int, const char*>> C) { return With(rx, C); };
    auto t = [&](std::initializer_list<std::pair<int, const char*>> C) { return With(tx, C); };
    Run_Checks(
        PDO, "PDO_CANopen.xml",
        {
            {"a valid receive row", 0, rx, ""},
            {"a valid transmit row", 1, tx, ""},
            {"receive COB-ID 0x7FF", 0, r({{1, "0x7FF"}}), ""},
            {"receive COB-ID 2048", 0, r({{1, "2048"}}),
             "Error row 1!! [Receive PDO] COB-ID must be between 0x000 and 0x7FF"},
            {"transmit COB-ID 2048", 1, t({{1, "2048"}}),
             "Error row 1!! [Transmit PDO] COB-ID must be between 0x000 and 0x7FF"},
            {"dimension 0", 0, r({{2, "0"}}),
             "Error row 1!! [Receive PDO] Dimension must be between 1 and 8"},
            {"dimension 9", 1, t({{2, "9"}}),
             "Error row 1!! [Transmit PDO] Dimension must be between 1 and 8"},
            {"an empty Add B2 within the dimension", 0, r({{4, ""}}),
             "Error row 1!! [Receive PDO] Address Byte2 must be between 0 and 1499"},
            {"1500 in Add B1", 0, r({{3, "1500"}}),
             "Error row 1!! [Receive PDO] Address Byte1 must be between 0 and 1499"},
            {"Add B8 of a transmit row", 1, t({{2, "8"}, {5, "2"}, {6, "3"}, {7, "4"}, {8, "5"}, {9, "6"}}),
             "Error row 1!! [Transmit PDO] Address Byte8 must be between 0 and 1499"},
            {"positions beyond the dimension", 0, r({{2, "1"}, {4, "x"}, {10, "99999"}}), ""},
            {"TimeOut 65535", 0, r({{11, "65535"}}), ""},
            {"TimeOut 65536", 0, r({{11, "65536"}}),
             "Error row 1!! [Receive PDO] TimeOut must be between 0 and 65535"},
            {"Send Time 100000000", 1, t({{11, "100000000"}}), ""},
            {"Send Time 100000001", 1, t({{11, "100000001"}}),
             "Error row 1!! [Transmit PDO] Send Time must be between 0 and 100000000"},
            {"On Change is not checked", 1, t({{12, "?"}}), ""},
            {"a receive error before the transmit table", 1, t({{1, "2048"}}),
             "Error row 1!! [Receive PDO] Dimension must be between 1 and 8", r({{2, "0"}})},
            {"the second transmit row", 0, r({{1, "2048"}}),
             "Error row 2!! [Receive PDO] COB-ID must be between 0x000 and 0x7FF", rx},
        });
}

TEST_F(CANopenTablesTest, SdoClientValidation) {
    // ID Device, Index, SubIndex, N Byte, Poll Time, (write: On Change,) Add Byte1 .. 4, Mnemonic
    const QStringList rd = {"1", "0x1000", "0", "1", "1", "0", "", "", "", "m"};
    const QStringList wr = {"127", "0xFFFF", "255", "2", "0", "N", "1499", "0", "", "", "m"};
    auto r = [&](std::initializer_list<std::pair<int, const char*>> C) { return With(rd, C); };
    auto w = [&](std::initializer_list<std::pair<int, const char*>> C) { return With(wr, C); };
    Run_Checks(
        Client, "SDO_Client_CANopen.xml",
        {
            {"a valid read row", 0, rd, ""},
            {"a valid write row", 1, wr, ""},
            {"ID Device 0", 0, r({{1, "0"}}), "Error row 1!! [SDO Read] Device ID must be between 1 and 127"},
            {"ID Device 128", 1, w({{1, "128"}}),
             "Error row 1!! [SDO Write] Device ID must be between 1 and 127"},
            {"Index 0xFFF", 0, r({{2, "0xFFF"}}),
             "Error row 1!! [SDO Read] Index must be between 0x1000 and 0xFFFF"},
            {"Index 0x10000", 1, w({{2, "0x10000"}}),
             "Error row 1!! [SDO Write] Index must be between 0x1000 and 0xFFFF"},
            {"SubIndex 256", 0, r({{3, "256"}}),
             "Error row 1!! [SDO Read] SubIndex must be between 0x00 and 0xFF"},
            {"N Byte 3 read", 0, r({{4, "3"}}), "Error row 1!! [SDO Read] N Byte must be 1 or 2 or 4"},
            {"N Byte 3 write", 1, w({{4, "3"}}), "Error row 1!! [SDO Write] N Byte must be 1 or 2 or 4"},
            {"Poll Time 0 read", 0, r({{5, "0"}}),
             "Error row 1!! [SDO Read] Poll Time must be between 1 and 100000000"},
            {"Poll Time 100000001 write", 1, w({{5, "100000001"}}),
             "Error row 1!! [SDO Write] Poll Time must be between 0 and 100000000"},
            {"N Byte 2 with an empty Add Byte3", 0, r({{4, "2"}, {7, "5"}}), ""},
            {"N Byte 2 with an empty Add Byte2", 0, r({{4, "2"}}),
             "Error row 1!! [SDO Read] Address Byte2 must be between 0 and 1499"},
            {"Add Byte1 1500", 0, r({{6, "1500"}}),
             "Error row 1!! [SDO Read] Address Byte1 must be between 0 and 1499"},
            {"write positions start after On Change", 1, w({{6, "abc"}, {7, ""}}),
             "Error row 1!! [SDO Write] Address Byte1 must be between 0 and 1499"},
            {"N Byte 4 write without Add Byte4", 1, w({{4, "4"}, {9, "2"}}),
             "Error row 1!! [SDO Write] Address Byte4 must be between 0 and 1499"},
        });
}

TEST_F(CANopenTablesTest, SdoServerValidation) {
    // Index, SubIndex, N Byte, Add Byte1 .. 4, Mnemonic
    const QStringList rd = {"0x2000", "0", "1", "0", "", "", "", "m"};
    auto r = [&](std::initializer_list<std::pair<int, const char*>> C) { return With(rd, C); };
    Run_Checks(Server, "SDO_Server_CANopen.xml",
               {
                   {"a valid read row", 0, rd, ""},
                   {"a valid write row", 1, r({{1, "0x5FFF"}, {2, "255"}}), ""},
                   {"Index 8192", 0, r({{1, "8192"}}), ""},
                   {"Index 0x1FFF", 0, r({{1, "0x1FFF"}}),
                    "Error row 1!! [SDO in Read] Index must be between 0x2000 and 0x5FFF"},
                   {"Index 0x6000", 1, r({{1, "0x6000"}}),
                    "Error row 1!! [SDO in Write] Index must be between 0x2000 and 0x5FFF"},
                   {"SubIndex -1", 1, r({{2, "-1"}}),
                    "Error row 1!! [SDO in Write] SubIndex must be between 0x00 and 0xFF"},
                   {"N Byte 0", 0, r({{3, "0"}}), "Error row 1!! [SDO in Read] N Byte must be 1 or 2 or 4"},
                   {"N Byte 4 without Add Byte4 read", 0, r({{3, "4"}, {5, "1"}, {6, "2"}}),
                    "Error row 1!! [SDO in Read] Address Byte4 must be between 0 and 1499"},
                   {"N Byte 4 without Add Byte4 write", 1, r({{3, "4"}, {5, "1"}, {6, "2"}}),
                    "Error row 1!! [SDO in Write] Address Byte4 must be between 0 and 1499"},
                   {"N Byte 2 with 1500", 1, r({{3, "2"}, {5, "1500"}}),
                    "Error row 1!! [SDO in Write] Address Byte2 must be between 0 and 1499"},
                   {"the same object in both tables", 1, rd, "", rd},
               });
}

// OK writes the root, both sections and the rows in use with their raw texts; they come back
// on the next show.
TEST_F(CANopenTablesTest, FilesRoundTrip) {
    struct Case {
        TFCANopenTables* editor;
        const char* file;
        QStringList rows[2];
        const char* expected;
    };
    const Case cases[] = {
        {PDO,
         "PDO_CANopen.xml",
         {{"0x181", "1", "7", "", "", "", "", "", "", "", "0", "a & b"},
          {"0x201", "2", "0", "1", "", "", "", "", "", "", "10", "Y", "t"}},
         "<PDO_CANopen><Receive_PDO><row COB-ID=\"0x181\" Dimension=\"1\" Address_B1=\"7\" Address_B2=\"\" "
         "Address_B3=\"\" Address_B4=\"\" Address_B5=\"\" Address_B6=\"\" Address_B7=\"\" Address_B8=\"\" "
         "TimeOut=\"0\" Mnemonic=\"a &amp; b\" /></Receive_PDO><Transmit_PDO><row COB-ID=\"0x201\" "
         "Dimension=\"2\" Address_B1=\"0\" Address_B2=\"1\" Address_B3=\"\" Address_B4=\"\" Address_B5=\"\" "
         "Address_B6=\"\" Address_B7=\"\" Address_B8=\"\" Send_Time=\"10\" On_Change=\"Y\" Mnemonic=\"t\" "
         "/></Transmit_PDO></PDO_CANopen>"},
        {Client,
         "SDO_Client_CANopen.xml",
         {{"5", "0x1018", "1", "4", "100", "0", "1", "2", "3", ""},
          {"6", "0x2000", "0", "1", "0", "N", "9", "", "", "", "w"}},
         "<SDO_Client_CANopen><SDO_Read><row Device_ID=\"5\" Index=\"0x1018\" SubIndex=\"1\" NByte=\"4\" "
         "Poll_Time=\"100\" Address_B1=\"0\" Address_B2=\"1\" Address_B3=\"2\" Address_B4=\"3\" "
         "Mnemonic=\"\" "
         "/></SDO_Read><SDO_Write><row Device_ID=\"6\" Index=\"0x2000\" SubIndex=\"0\" NByte=\"1\" "
         "Poll_Time=\"0\" On_Change=\"N\" Address_B1=\"9\" Address_B2=\"\" Address_B3=\"\" Address_B4=\"\" "
         "Mnemonic=\"w\" /></SDO_Write></SDO_Client_CANopen>"},
        {Server,
         "SDO_Server_CANopen.xml",
         {{"0x2000", "3", "2", "0", "1", "", "", "r"}, {}},
         "<SDO_Server_CANopen><SDO_Read><row Index=\"0x2000\" SubIndex=\"3\" NByte=\"2\" Address_B1=\"0\" "
         "Address_B2=\"1\" Address_B3=\"\" Address_B4=\"\" Mnemonic=\"r\" /></SDO_Read><SDO_Write "
         "/></SDO_Server_CANopen>"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Open(c.editor,
                       [&] {
                           for (int t = 0; t < 2; ++t)
                               if (!c.rows[t].isEmpty()) Fill(c.editor->Grid(t), 1, c.rows[t]);
                           c.editor->Btn_OK->Click();
                       }),
                  mrOk);
        const QByteArray written = Read(c.file);
        QByteArray flat = written;
        flat.replace("\r", "").replace("\n", "").replace("\t", "");
        // Whitespace between elements aside, the document and its comment after the root.
        QByteArray compact;
        bool inTag = false;
        for (char ch : flat) {
            if (ch == '<') inTag = true;
            if (ch == '>') inTag = false;
            if (!inTag && ch == ' ') continue;
            compact += ch;
        }
        EXPECT_TRUE(compact.startsWith(c.expected)) << written.constData();
        EXPECT_TRUE(compact.endsWith("<!--SW_VERSION = 1.000-->")) << written.constData();
        EXPECT_TRUE(Texts().isEmpty()) << Texts().join("|").toStdString();
        Open(c.editor, [&] {
            for (int t = 0; t < 2; ++t) {
                TAdvColumnGrid* g = c.editor->Grid(t);
                if (!c.rows[t].isEmpty()) EXPECT_EQ(RowOf(g, 1), c.rows[t]) << c.file;
                EXPECT_EQ(g->GetCellEx(1, c.rows[t].isEmpty() ? 1 : 2), "") << c.file;
            }
        });
        EXPECT_EQ(Read(c.file), written);
    }
}

// A file without a section, or a row without an attribute, stops the loading with a report; the
// rows read before stay, and OK then asks before replacing the file.
TEST_F(CANopenTablesTest, IncompleteFilesAreReportedAndProtected) {
    const QByteArray pdoRow = "<row COB-ID=\"5\" Dimension=\"1\" Address_B1=\"0\" Address_B2=\"\" "
                              "Address_B3=\"\" Address_B4=\"\" Address_B5=\"\" Address_B6=\"\" "
                              "Address_B7=\"\" Address_B8=\"\" TimeOut=\"0\"";
    const QByteArray serverRow = "<row Index=\"0x2000\" SubIndex=\"1\" NByte=\"1\" Address_B1=\"0\" "
                                 "Address_B2=\"\" Address_B3=\"\" Address_B4=\"\" Mnemonic=\"\"/>";
    const struct {
        const char* name;
        TFCANopenTables* editor;
        const char* file;
        QByteArray content;
        const char* what;
        QString key1[2]; // the key cells of row 1 of each table afterwards
    } cases[] = {
        {"no receive section",
         PDO,
         "PDO_CANopen.xml",
         "<PDO_CANopen><Transmit_PDO><row COB-ID=\"1\"/></Transmit_PDO></PDO_CANopen>",
         "Receive_PDO",
         {"", ""}},
        {"no transmit section",
         PDO,
         "PDO_CANopen.xml",
         "<PDO_CANopen><Receive_PDO>" + pdoRow + " Mnemonic=\"\"/></Receive_PDO></PDO_CANopen>",
         "Transmit_PDO",
         {"5", ""}},
        {"a row without Mnemonic",
         PDO,
         "PDO_CANopen.xml",
         "<PDO_CANopen><Receive_PDO>" + pdoRow + "/></Receive_PDO><Transmit_PDO/></PDO_CANopen>",
         "Mnemonic",
         {"5", ""}},
        {"a write row without Mnemonic",
         Client,
         "SDO_Client_CANopen.xml",
         "<SDO_Client_CANopen><SDO_Read/><SDO_Write><row Device_ID=\"3\" Index=\"0x1000\" SubIndex=\"0\" "
         "NByte=\"1\" Poll_Time=\"0\" On_Change=\"N\" Address_B1=\"0\" Address_B2=\"\" Address_B3=\"\" "
         "Address_B4=\"\"/></SDO_Write></SDO_Client_CANopen>",
         "Mnemonic",
         {"", "3"}},
        {"no SDO server write section",
         Server,
         "SDO_Server_CANopen.xml",
         "<SDO_Server_CANopen><SDO_Read>" + serverRow + "</SDO_Read></SDO_Server_CANopen>",
         "SDO_Write",
         {"0x2000", ""}},
    };
    for (const auto& c : cases) {
        WriteFile(c.file, c.content);
        Messages.clear();
        Answer = mrNo;
        TFCANopenTables* e = c.editor;
        Open(e, [&] {
            ASSERT_EQ(Messages.size(), 1) << c.name;
            EXPECT_TRUE(Messages[0].Msg.startsWith(Lang_Text.Get(1110) + NativePath(FDir.filePath(c.file))))
                << Messages[0].Msg.toStdString();
            EXPECT_TRUE(Messages[0].Msg.contains(c.what)) << Messages[0].Msg.toStdString();
            EXPECT_EQ(Messages[0].DlgType, mtError);
            EXPECT_TRUE(e->Load_Incomplete());
            for (int t = 0; t < 2; ++t) EXPECT_EQ(e->Grid(t)->GetCellEx(1, 1), c.key1[t]) << c.name;
            e->Btn_OK->Click(); // answered No
            EXPECT_TRUE(e->Visible());
        });
        EXPECT_EQ(Texts().value(1), Lang_Text.Get(1106)) << c.name;
        EXPECT_EQ(Read(c.file), c.content) << c.name;
    }
}

// The row buttons act on the page in front: each table its own copy flag, a paste across the
// pages refused, a click on a row number selects that row of the grid clicked, rows deleted by
// moving the rows below up.
TEST_F(CANopenTablesTest, TwoPageRowButtons) {
    for (TFCANopenTables* e : std::initializer_list<TFCANopenTables*>{PDO, Client, Server}) {
        Messages.clear();
        bool& copyA = e->Copy_Flag(0);
        bool& copyB = e->Copy_Flag(1);
        Open(e, [&] {
            TAdvColumnGrid* a = e->Grid(0);
            TAdvColumnGrid* b = e->Grid(1);
            Fill(a, 1, {"1", "x"});
            Fill(a, 2, {"2", "y"});
            Fill(a, 3, {"3", "z"});
            a->MoveCurrentCell(1, 1);
            e->Btn_CopyRow->Click();
            EXPECT_TRUE(copyA);
            EXPECT_FALSE(copyB);
            e->PageControl1->SetActivePage(e->PageControl1->Pages(1));
            b->MoveCurrentCell(1, 1);
            e->Btn_PasteRow->Click();
            EXPECT_EQ(Texts(), QStringList({Lang_Text.Get(1102)}));
            EXPECT_EQ(b->GetCellEx(1, 1), "");
            Fill(b, 4, {"b4"});
            b->MoveCurrentCell(1, 4);
            e->Btn_CopyRow->Click();
            EXPECT_FALSE(copyA);
            EXPECT_TRUE(copyB);
            b->MoveCurrentCell(1, 6);
            e->Btn_PasteRow->Click();
            EXPECT_EQ(b->GetCellEx(1, 6), "b4");
            // Insert Row puts no mark.
            b->MoveCurrentCell(1, 1);
            e->Btn_InsRow->Click();
            EXPECT_EQ(RowOf(b, 1), QStringList(b->ColCount() - 1, QString()));
            EXPECT_EQ(b->GetCellEx(1, 5), "b4");

            // Row-number clicks select the row of the grid clicked.
            e->ClickCell(b, 5, 0);
            EXPECT_EQ(b->Row(), 5);
            e->PageControl1->SetActivePage(e->PageControl1->Pages(0));
            e->ClickCell(a, 3, 0);
            EXPECT_EQ(a->Row(), 3);
            EXPECT_EQ(b->Row(), 5);

            Messages.clear();
            Answer = mrNo;
            a->MoveCurrentCell(1, 2);
            e->Btn_DelRow->Click();
            EXPECT_EQ(Texts(), QStringList({"Are you sure to delete the Row number 2"}));
            EXPECT_EQ(a->GetCellEx(1, 2), "2");
            Answer = mrYes;
            e->Btn_DelRow->Click();
            EXPECT_EQ(a->GetCellEx(1, 2), "3");
            EXPECT_EQ(a->GetCellEx(2, 2), "z");
            EXPECT_EQ(a->GetCellEx(1, 3), "");
            EXPECT_EQ(a->GetCellEx(0, 2), "2");
            EXPECT_EQ(b->GetCellEx(1, 5), "b4"); // the other table untouched
            const int last = a->RowCount() - 1;
            a->SetCellEx(2, last, "last");
            e->Delete_Row(last - 1, a);
            EXPECT_EQ(a->GetCellEx(2, last - 1), "last");
            EXPECT_EQ(a->GetCellEx(2, last), "");
            EXPECT_EQ(a->GetCellEx(0, last), String::number(last));
        });
        // A copy never survives into the next show.
        Open(e, [&] {
            EXPECT_FALSE(copyA);
            EXPECT_FALSE(copyB);
        });
    }
}

// Both grids of every editor answer Enter, the header double-click and the header hints of
// their own page, the write grid of the SDO server as well.
TEST_F(CANopenTablesTest, BothGridsHaveTheGridHandlers) {
    for (TFCANopenTables* e : std::initializer_list<TFCANopenTables*>{PDO, Client, Server}) {
        Open(e, [&] {
            TAdvColumnGrid* b = e->Grid(1);
            e->PageControl1->SetActivePage(e->PageControl1->Pages(1));
            const int last = b->ColCount() - 1;
            String hint;
            ASSERT_TRUE(b->OnGridHint);
            b->OnGridHint(b, 0, last, hint);
            EXPECT_EQ(hint, e->Hint_List(1)->Strings(last - 1));
            EXPECT_EQ(hint, "Insert a description of the " +
                                String(e == PDO ? "CANopen PDO Frame" : "CANopen SDO Request"));

            Enable_Jump_Field_Tables = true;
            b->MoveCurrentCell(last, 1);
            Char key = Char(13);
            ASSERT_TRUE(b->OnKeyPress);
            b->OnKeyPress(b, key);
            EXPECT_EQ(key, Char(0));
            EXPECT_EQ(b->Row(), 2);
            EXPECT_EQ(b->Col(), 1);
            Enable_Jump_Field_Tables = false;

            b->SetCellEx(last, 1, "a description far wider than the column was made to be");
            const int before = b->ColWidths(last);
            Double_Click_Auto_Size = true;
            ASSERT_TRUE(b->OnDblClickCell);
            b->OnDblClickCell(b, 0, last);
            EXPECT_GT(b->ColWidths(last), before);
            Double_Click_Auto_Size = false;

            ASSERT_TRUE(b->OnClickCell);
            b->OnClickCell(b, 7, 0);
            EXPECT_EQ(b->Row(), 7);
        });
    }
}
