// The J1939 and NMEA 2000 receive and transmit tables driven as a user drives them: shown
// modally over a project folder, cells filled, OK clicked, messages answered; and what they
// leave in their files.
#include "UReceiveJ1939.h"
#include "UReceiveNMEA.h"
#include "UTransmitJ1939.h"
#include "UTransmitNMEA.h"

#include "Dialogs.h"
#include "Forms.h"
#include "SaveStepFixture.h"
#include "TestSupport.h"
#include "UUtils.h"

#include <gtest/gtest.h>

#include <functional>

inline void PrintTo(const QString& S, std::ostream* Os) {
    *Os << '"' << S.toStdString() << '"';
}

namespace {

// Rows given as columns 1 .. of each; "" when the table passes, else the one message.
struct Check_Case {
    const char* name;
    std::vector<QStringList> rows;
    QString message;
};

// Base with the cells of Changes (column, text) replaced.
QStringList With(QStringList Base, std::initializer_list<std::pair<int, const char*>> Changes) {
    for (const auto& [col, text] : Changes) Base[col - 1] = text;
    return Base;
}

std::vector<QStringList> Times(int N, const QStringList& Row) {
    return std::vector<QStringList>(size_t(N), Row);
}

std::vector<QStringList> operator+(std::vector<QStringList> A, const std::vector<QStringList>& B) {
    A.insert(A.end(), B.begin(), B.end());
    return A;
}

class PGNTablesTest : public SaveStepTest {
protected:
    void SetUp() override {
        SaveStepTest::SetUp();
        Code_SW = "GW40211";
        if (!Copy_Row_List) Copy_Row_List = new TStringList();
        Copy_Row_List->Clear();
        RecJ = new TFReceiveJ1939(nullptr);
        SendJ = new TFTransmitJ1939(nullptr);
        RecN = new TFReceiveNMEA(nullptr);
        SendN = new TFTransmitNMEA(nullptr);
    }
    void TearDown() override {
        TObject::Free(RecJ);
        TObject::Free(SendJ);
        TObject::Free(RecN);
        TObject::Free(SendN);
        SaveStepTest::TearDown();
    }

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

    // Each case: its rows filled over an empty table, OK; the one error expected and nothing
    // written, or no message and the file written with one row element per row.
    void Run_Checks(TFTableEditor* E, const QString& File, const std::vector<Check_Case>& Cases) {
        for (const Check_Case& c : Cases) {
            QFile::remove(FDir.filePath(File));
            Messages.clear();
            const int result = Open(E, [&] {
                for (size_t r = 0; r < c.rows.size(); ++r) Fill(E->Grid(0), int(r) + 1, c.rows[r]);
                E->Btn_OK->Click();
            });
            const bool passes = c.message.isEmpty();
            EXPECT_EQ(result, passes ? mrOk : mrCancel) << c.name;
            EXPECT_EQ(Texts(), passes ? QStringList() : QStringList({c.message})) << c.name;
            if (!passes) {
                EXPECT_EQ(Messages.value(0).DlgType, mtError) << c.name;
            }
            EXPECT_EQ(Files().contains(File), passes) << c.name;
            if (passes) {
                EXPECT_EQ(Read(File).count("<row "), int(c.rows.size())) << c.name;
            }
        }
    }

    TFReceiveJ1939* RecJ = nullptr;
    TFTransmitJ1939* SendJ = nullptr;
    TFReceiveNMEA* RecN = nullptr;
    TFTransmitNMEA* SendN = nullptr;
};

} // namespace

TEST_F(PGNTablesTest, WindowsAfterCreationAndShow) {
    struct Case {
        TFTableEditor* editor;
        int width, rows;
        const char* caption;
        QStringList headers;
        QList<int> widths;
        QString hint3;
    };
    const Case cases[] = {
        {RecJ,
         876,
         513,
         "Receive J1939 Frames",
         {"N", "Data Page", "PGN", "Source Address", "Transport Protocol", "Start Byte", "N Byte",
          "Cancel Data", "On Request", "Time(ms)", "Mnemonic"},
         {40, 65, 85, 95, 113, 65, 55, 75, 75, 65, 120},
         "Insert the Source Address of J1939 Frame"},
        {SendJ,
         800,
         513,
         "Transmit J1939 Frames",
         {"N", "Priority", "Data Page", "PGN", "Source Address", "N Bytes", "Request", "Data Change",
          "On Timer", "Send Timer", "Mnemonic"},
         {40, 50, 65, 85, 95, 60, 55, 80, 60, 70, 115},
         "Insert the PGN of J1939 Frame"},
        {RecN,
         810,
         63,
         "Receive NMEA 2000 Frames",
         {"N", "PGN", "Source Address", "Transport Protocol", "Fast Packet", "Start Byte", "N Byte",
          "Cancel Data", "Mnemonic"},
         {40, 80, 95, 113, 73, 65, 50, 74, 195},
         "Enable or Disable the Transport Protocol for the NMEA 2000 Frame"},
        {SendN,
         810,
         63,
         "Transmit NMEA 2000 Frames",
         {"N", "Priority", "PGN", "Source Address", "Fast Packet", "Num Byte", "Request", "Data Change",
          "On Timer", "Send Timer", "Mnemonic"},
         {40, 50, 75, 95, 75, 60, 55, 80, 64, 75, 116},
         "Insert the Source Address of NMEA 2000 Frame"},
    };
    for (const Case& c : cases) {
        TFTableEditor* e = c.editor;
        TAdvColumnGrid* g = e->Grid(0);
        EXPECT_EQ(g->Name(), "sga");
        EXPECT_EQ(e->ClientWidth(), c.width);
        EXPECT_EQ(e->ClientHeight(), 337);
        EXPECT_EQ(e->L_SW_Desc->Caption(), c.caption);
        EXPECT_EQ(e->L_SW_Code->Caption(), "GW40211");
        EXPECT_EQ(e->Btn_Cancel->ModalResult(), mrCancel);
        EXPECT_EQ(g->RowCount(), c.rows);
        ASSERT_EQ(g->ColCount(), c.headers.size());
        for (int col = 0; col < c.headers.size(); ++col) {
            EXPECT_EQ(g->Columns()->Items(col)->Header(), c.headers[col]) << c.caption;
            EXPECT_EQ(g->Columns()->Items(col)->Width(), c.widths[col]) << c.caption << col;
        }
        String hint = "old";
        g->OnGridHint(g, 0, 3, hint);
        EXPECT_EQ(hint, c.hint3);
        g->OnGridHint(g, 2, 3, hint);
        EXPECT_EQ(hint, "");

        // Leftovers of an earlier show are reset: every cell but the row number is empty.
        g->SetCellEx(2, 7, "left");
        Open(e, [&] {
            EXPECT_EQ(g->GetCellEx(0, 7), "7");
            EXPECT_EQ(g->GetCellEx(0, c.rows - 1), String::number(c.rows - 1));
            EXPECT_EQ(RowOf(g, 7), QStringList(c.headers.size() - 1, String()));
        });
    }
    EXPECT_EQ(RecJ->NUM_BYTE_IN, 1440);
    EXPECT_EQ(RecN->NUM_BYTE_IN, 512);
    EXPECT_EQ(SendJ->NUM_BYTE_OUT, 512);
    EXPECT_EQ(SendN->NUM_BYTE_OUT, 512);
}

TEST_F(PGNTablesTest, ReceiveJ1939Validation) {
    // DP, PGN, SA, TP, Start, NByte, Delete, OnRequest, Time, Mnemonic
    const QStringList ok = {"0", "61444", "0", "N", "", "", "N", "N", "", "x"};
    auto with = [&](std::initializer_list<std::pair<int, const char*>> Changes) { return With(ok, Changes); };
    const QString row1 = "Error in row 1";
    Run_Checks(
        RecJ, "J1939_Rec_Frames.xml",
        {
            {"180 whole frames take 1440", Times(180, ok), ""},
            {"181 whole frames", Times(181, ok), "Error!! Too many bytes of data, the max number is 1440"},
            {"start 2, 4 bytes take 12", Times(179, ok) + Times(1, with({{5, "2"}, {6, "4"}})),
             "Error!! Too many bytes of data, the max number is 1440"},
            {"start 2, 4 bytes within the budget", Times(178, ok) + Times(1, with({{5, "2"}, {6, "4"}})), ""},
            {"start 3, 6 bytes",
             {with({{5, "3"}, {6, "6"}})},
             row1 + "!! The Number Bytes plus Start Byte must be minor of 9"},
            {"start 0", {with({{5, "0"}, {6, "2"}})}, row1 + "!! The Start Byte must be between 1 and 8"},
            {"9 bytes", {with({{5, "1"}, {6, "9"}})}, row1 + "!! The Number Bytes must be between 1 and 8"},
            {"start without bytes",
             {with({{5, "2"}})},
             row1 + "!! Start Byte and Number Bytes must be both compiled"},
            {"blanks count as empty", {with({{5, " "}, {6, "  "}})}, ""},
            {"transport 1700 + 85", {with({{4, "Y"}, {5, "1700"}, {6, "85"}})}, ""},
            {"transport 1700 + 86",
             {with({{4, "Y"}, {5, "1700"}, {6, "86"}})},
             row1 + "!! Start Byte plus Number Bytes must be between 0 and 1785"},
            {"transport start 1786",
             {with({{4, "Y"}, {5, "1786"}, {6, "0"}})},
             row1 + "!! Start Byte must be between 0 and 1785"},
            {"transport bytes huge",
             {with({{4, "Y"}, {5, "10"}, {6, "2147483647"}})},
             row1 + "!! Start Byte plus Number Bytes must be between 0 and 1785"},
            {"transport 0 bytes take nothing",
             Times(180, ok) + Times(1, with({{4, "Y"}, {5, "0"}, {6, "0"}})), ""},
            {"transport y is a single frame",
             {with({{4, "y"}, {5, "1700"}, {6, "85"}})},
             row1 + "!! The Start Byte must be between 1 and 8"},
            {"PGN 65536", {with({{2, "65536"}})}, row1 + "!! PGN must be between 0x0000 and 0xFFFF"},
            {"PGN 0xFEF1", {with({{2, "0xFEF1"}})}, ""},
            {"PGN of blanks", {with({{2, "  "}})}, row1 + "!! PGN must be between 0x0000 and 0xFFFF"},
            {"source 240", {with({{3, "240"}})}, row1 + "!! Source Address must be between 0 and 239"},
            {"data page empty", {with({{1, ""}})}, row1 + "!! Data Page must be 0 or 1"},
            {"on request, time 0", {with({{8, "Y"}, {9, "0"}})}, ""},
            {"on request, time 10000001",
             {with({{8, "Y"}, {9, "10000001"}})},
             row1 + "!! Time(ms) must be between 0 and 10000000"},
            {"no request leaves the time", {with({{9, "abc"}})}, ""},
            {"the second row",
             {ok, with({{3, "-1"}})},
             "Error in row 2!! Source Address must be between 0 and 239"},
        });
}

TEST_F(PGNTablesTest, TransmitJ1939Validation) {
    // Priority, DP, PGN, SA, NBytes, Request, DataChange, OnTimer, SendTimer, Mnemonic
    const QStringList ok = {"6", "0", "65226", "255", "8", "N", "N", "N", "", "x"};
    auto with = [&](std::initializer_list<std::pair<int, const char*>> Changes) { return With(ok, Changes); };
    const QString row1 = "Error in row 1";
    Run_Checks(
        SendJ, "J1939_Send_Frames.xml",
        {
            {"64 rows of 8 bytes", Times(64, ok), ""},
            {"one byte more", Times(63, ok) + Times(1, with({{5, "9"}})),
             "Error!! Too many bytes of data, the max number is 512"},
            {"0 bytes", {with({{5, "0"}})}, ""},
            {"513 bytes", {with({{5, "513"}})}, row1 + "!! Num Byte must be between 0 and 512"},
            {"priority empty", {with({{1, ""}})}, row1 + "!! Priority must be between 0 and 7"},
            {"priority 7", {with({{1, "7"}})}, ""},
            {"data page empty", {with({{2, ""}})}, row1 + "!! Data Page must be 0 or 1"},
            {"PGN 131071", {with({{3, "131071"}})}, ""},
            {"PGN 131072", {with({{3, "131072"}})}, row1 + "!! PGN must be between 0x00000 and 0x1FFFF"},
            {"source 256", {with({{4, "256"}})}, row1 + "!! Source Address must be between 0 and 255"},
            {"timer 0", {with({{8, "Y"}, {9, "0"}})}, row1 + "!! Send Timer must be between 1 and 65535 ms"},
            {"timer 65536",
             {with({{8, "Y"}, {9, "65536"}})},
             row1 + "!! Send Timer must be between 1 and 65535 ms"},
            {"timer 65535", {with({{8, "Y"}, {9, "65535"}})}, ""},
            {"on timer y", {with({{8, "y"}, {9, "0"}})}, ""},
        });
}

TEST_F(PGNTablesTest, ReceiveNMEAValidation) {
    // PGN, SA, TP, FP, Start, NByte, Delete, Mnemonic
    const QStringList ok = {"127250", "0", "N", "N", "", "", "N", "x"};
    auto with = [&](std::initializer_list<std::pair<int, const char*>> Changes) { return With(ok, Changes); };
    const QString row1 = "Error in row 1";
    const QStringList tp256 = with({{3, "Y"}, {5, "0"}, {6, "256"}});
    Run_Checks(
        RecN, "NMEA_Rec_Frames.xml",
        {
            {"62 whole frames take 496", Times(62, ok), ""},
            {"fast packet 200 + 23", {with({{4, "Y"}, {5, "200"}, {6, "23"}})}, ""},
            {"fast packet 200 + 24",
             {with({{4, "Y"}, {5, "200"}, {6, "24"}})},
             row1 + "!! Start Byte plus Number Bytes must be between 0 and 223"},
            {"fast packet start 224",
             {with({{4, "Y"}, {5, "224"}, {6, "0"}})},
             row1 + "!! Start Byte must be between 0 and 223"},
            {"both marks: transport", {with({{3, "Y"}, {4, "Y"}, {5, "200"}, {6, "24"}})}, ""},
            {"fast packet 0 bytes take nothing", {tp256, tp256, with({{4, "Y"}, {5, "0"}, {6, "0"}})}, ""},
            {"start 1, 7 bytes", {with({{5, "1"}, {6, "7"}})}, ""},
            {"start 1, 8 bytes",
             {with({{5, "1"}, {6, "8"}})},
             row1 + "!! The Number Bytes plus Start Byte must be minor of 9"},
            {"two transport rows of 256", {tp256, tp256}, ""},
            {"then a single frame",
             {tp256, tp256, ok},
             "Error!! Too many bytes of data, the max number is 512"},
            {"transport 1786",
             {with({{3, "Y"}, {5, "1"}, {6, "1785"}})},
             row1 + "!! Start Byte plus Number Bytes must be between 0 and 1785"},
            {"PGN 131072", {with({{1, "131072"}})}, row1 + "!! PGN must be between 0x00000 and 0x1FFFF"},
            {"source 240", {with({{2, "240"}})}, row1 + "!! Source Address must be between 0 and 239"},
            {"bytes without start",
             {with({{6, "3"}})},
             row1 + "!! Start Byte and Number Bytes must be both compiled"},
        });
}

TEST_F(PGNTablesTest, TransmitNMEAValidation) {
    // Priority, PGN, SA, FP, NumByte, Request, DataChange, OnTimer, SendTimer, Mnemonic
    const QStringList ok = {"3", "129025", "239", "N", "256", "N", "N", "N", "", "x"};
    auto with = [&](std::initializer_list<std::pair<int, const char*>> Changes) { return With(ok, Changes); };
    const QString row1 = "Error in row 1";
    Run_Checks(
        SendN, "NMEA_Send_Frames.xml",
        {
            {"0 bytes", {with({{5, "0"}})}, ""},
            {"513 bytes", {with({{5, "513"}})}, row1 + "!! Num Byte must be between 0 and 512"},
            {"two rows of 256", {ok, ok}, ""},
            {"and one byte more",
             {ok, ok, with({{5, "1"}})},
             "Error!! Too many bytes of data, the max number is 512"},
            {"fast packet of 300 bytes", {with({{4, "Y"}, {5, "300"}})}, ""},
            {"timer 65535", {with({{8, "Y"}, {9, "65535"}})}, ""},
            {"timer 65536",
             {with({{8, "Y"}, {9, "65536"}})},
             row1 + "!! Send Timer must be between 1 and 65535 ms"},
            {"priority 8", {with({{1, "8"}})}, row1 + "!! Priority must be between 0 and 7"},
            {"PGN 131072", {with({{2, "131072"}})}, row1 + "!! PGN must be between 0x00000 and 0x1FFFF"},
            {"source 240", {with({{3, "240"}})}, row1 + "!! Source Address must be between 0 and 239"},
        });
}

// A row with a Priority but an empty PGN ends both validation and saving there; the rows below
// it are asked about before they are dropped. A PGN of blanks is no empty PGN.
TEST_F(PGNTablesTest, EmptyPGNEndsTheTable) {
    struct Case {
        TFTableEditor* editor;
        const char* file;
        int pgnCol;
        QStringList ok;
    };
    const Case cases[] = {
        {SendJ, "J1939_Send_Frames.xml", 3, {"6", "0", "65226", "255", "8", "N", "N", "N", "", "x"}},
        {SendN, "NMEA_Send_Frames.xml", 2, {"3", "129025", "239", "N", "256", "N", "N", "N", "", "x"}},
    };
    for (const Case& c : cases) {
        Messages.clear();
        Answer = mrYes;
        QStringList stop = c.ok;
        stop[0] = "99"; // an invalid priority that is never checked
        stop[c.pgnCol - 1] = "";
        QStringList below = c.ok;
        below[0] = "99";
        EXPECT_EQ(Open(c.editor,
                       [&] {
                           Fill(c.editor->Grid(0), 1, c.ok);
                           Fill(c.editor->Grid(0), 2, stop);
                           Fill(c.editor->Grid(0), 3, below);
                           c.editor->Btn_OK->Click();
                       }),
                  mrOk)
            << c.file;
        EXPECT_EQ(Texts(), QStringList({Lang_Text.Get(1108)})) << c.file;
        EXPECT_EQ(Read(c.file).count("<row "), 1) << c.file;

        Messages.clear();
        EXPECT_EQ(Open(c.editor,
                       [&] {
                           c.editor->Grid(0)->SetCellEx(c.pgnCol, 1, " ");
                           c.editor->Btn_OK->Click();
                       }),
                  mrCancel);
        EXPECT_EQ(Texts().size(), 1);
        EXPECT_TRUE(Texts().value(0).startsWith("Error in row 1!! PGN must be between")) << c.file;
    }
}

// Row elements lacking attributes load the column defaults; the older J1939 transmit rows with
// T_Type decide the three flags; an empty byte count loads "8". No message: these files never
// stop a load.
TEST_F(PGNTablesTest, MissingAttributesAndOlderRows) {
    struct Case {
        TFTableEditor* editor;
        const char* file;
        QByteArray body;
        std::vector<QStringList> rows;
    };
    const QStringList none10(10, String());
    const Case cases[] = {
        {RecJ,
         "J1939_Rec_Frames.xml",
         "<Receive_J1939><row PGN=\"61444\"/>"
         "<row DP=\"1\" PGN=\"1\" SA=\"2\" TP=\"Y\" TP_Start=\"3\" TP_NByte=\"4\" Delete=\"Y\" "
         "OnRequest=\"Y\" "
         "OnReq_Time=\"\" Mnemonic=\"m\"/></Receive_J1939>",
         {{"", "61444", "", "N", "", "", "N", "N", "1000", ""},
          {"1", "1", "2", "Y", "3", "4", "Y", "Y", "", "m"}}},
        {RecN,
         "NMEA_Rec_Frames.xml",
         "<Receive_NMEA_2000><row/><row PGN=\"127250\" FP=\"Y\"/></Receive_NMEA_2000>",
         {{"", "", "N", "N", "", "", "N", ""}, {"127250", "", "N", "Y", "", "", "N", ""}}},
        {SendN,
         "NMEA_Send_Frames.xml",
         "<Receive_NMEA_2000><row PGN=\"129025\" TP_NByte=\"\"/></Receive_NMEA_2000>",
         {{"", "129025", "", "N", "", "N", "N", "N", "", ""}}},
        {SendJ,
         "J1939_Send_Frames.xml",
         "<Transmit_J1939>"
         "<row PGN=\"1\"/>"
         "<row PGN=\"2\" TP_NByte=\"\" T_Type=\"on timer\" On_Request=\"Y\"/>"
         "<row PGN=\"3\" TP_NByte=\"0\" T_Type=\"On Data Change\" On_Timer=\"Y\"/>"
         "<row PGN=\"4\" T_Type=\"on request\"/>"
         "<row PGN=\"5\" On_Request=\"Y\" On_Data_Change=\"\" On_Timer=\"y\" SendTimer=\"10\"/>"
         "</Transmit_J1939>",
         {{"", "", "1", "", "8", "N", "N", "N", "", ""},
          {"", "", "2", "", "8", "N", "N", "Y", "", ""},
          {"", "", "3", "", "0", "N", "Y", "N", "", ""},
          {"", "", "4", "", "8", "N", "N", "N", "", ""},
          {"", "", "5", "", "8", "Y", "", "y", "10", ""}}},
    };
    for (const Case& c : cases) {
        WriteFile(c.file, c.body);
        Messages.clear();
        Open(c.editor, [&] {
            for (size_t r = 0; r < c.rows.size(); ++r)
                EXPECT_EQ(RowOf(c.editor->Grid(0), int(r) + 1), c.rows[r]) << c.file << " row " << r + 1;
            EXPECT_EQ(c.editor->Grid(0)->GetCellEx(2, int(c.rows.size()) + 1), "") << c.file;
        });
        EXPECT_TRUE(Messages.isEmpty()) << c.file;
    }
    // Saved again, the older row is written in the present layout.
    Open(SendJ, [this] {
        for (int r = 1; r <= 5; ++r) {
            SendJ->sga->SetCellEx(1, r, "6");
            SendJ->sga->SetCellEx(2, r, "0");
            SendJ->sga->SetCellEx(4, r, "0");
        }
        SendJ->sga->SetCellEx(9, 2, "100"); // the period of the row sent on a timer
        EXPECT_TRUE(Messages.isEmpty());
        SendJ->Btn_OK->Click();
    });
    const QByteArray saved = Read("J1939_Send_Frames.xml");
    EXPECT_FALSE(saved.contains("T_Type")) << saved.constData();
    EXPECT_TRUE(saved.contains("PGN=\"2\" SA=\"0\" TP_NByte=\"8\" On_Request=\"N\" On_Data_Change=\"N\" "
                               "On_Timer=\"Y\" SendTimer=\"100\""))
        << saved.constData();
    EXPECT_TRUE(Messages.isEmpty()) << Texts().join("|").toStdString();
}

// Files of more rows than the table holds show the first rows and say how many are not shown;
// OK then saves only those.
TEST_F(PGNTablesTest, MoreRowsThanTheTableHolds) {
    struct Case {
        TFTableEditor* editor;
        const char* file;
        const char* root;
        const char* attributes; // of every row, beside its PGN
        int capacity;
    };
    const Case cases[] = {
        {RecJ, "J1939_Rec_Frames.xml", "Receive_J1939",
         "DP=\"0\" SA=\"0\" TP=\"Y\" TP_Start=\"0\" TP_NByte=\"0\"", 512},
        {SendJ, "J1939_Send_Frames.xml", "Transmit_J1939", "Priority=\"6\" DP=\"0\" SA=\"0\" TP_NByte=\"0\"",
         512},
        {RecN, "NMEA_Rec_Frames.xml", "Receive_NMEA_2000", "SA=\"0\"", 62},
        {SendN, "NMEA_Send_Frames.xml", "Receive_NMEA_2000", "Priority=\"6\" SA=\"0\" TP_NByte=\"0\"", 62},
    };
    for (const Case& c : cases) {
        QByteArray body = "<" + QByteArray(c.root) + ">";
        for (int i = 1; i <= c.capacity + 2; ++i)
            body += "<row PGN=\"" + QByteArray::number(i) + "\" " + c.attributes + "/>";
        body += "</" + QByteArray(c.root) + ">";
        WriteFile(c.file, body);
        Messages.clear();
        EXPECT_EQ(Open(c.editor,
                       [&] {
                           const int pgnCol = c.editor->Desc().Tables[0].KeyCol;
                           EXPECT_EQ(c.editor->Grid(0)->GetCellEx(pgnCol, c.capacity),
                                     String::number(c.capacity));
                           c.editor->Btn_OK->Click();
                       }),
                  mrOk)
            << c.file;
        EXPECT_EQ(Texts(), QStringList({Lang_Text.Get(1107) + "2"})) << c.file;
        const QByteArray saved = Read(c.file);
        EXPECT_EQ(saved.count("<row "), c.capacity) << c.file;
        EXPECT_TRUE(saved.startsWith("<" + QByteArray(c.root) + ">")) << c.file;
        EXPECT_TRUE(saved.contains("<!--SW_VERSION = 1.000-->")) << c.file;
    }
}

// What OK writes comes back unchanged on the next show, raw texts included, and an unchanged OK
// writes the same bytes; Cancel leaves the file.
TEST_F(PGNTablesTest, RoundTrips) {
    struct Case {
        TFTableEditor* editor;
        const char* file;
        QStringList row;
    };
    const Case cases[] = {
        {RecJ,
         "J1939_Rec_Frames.xml",
         {"1", " 0xFEF1", "239", "Y", "345", "1440", "Y", "Y", "10000000", "a & b < \"c\""}},
        {SendJ, "J1939_Send_Frames.xml", {"7", "1", "0x1FFFF", "255", "512", "Y", "Y", "Y", "65535", "m"}},
        {RecN, "NMEA_Rec_Frames.xml", {"0x1F801", "17", "N", "Y", "0", "223", "Y", "'q'"}},
        {SendN, "NMEA_Send_Frames.xml", {"0", "130306", "0", "Y", "300", "N", "Y", "N", "", ""}},
    };
    for (const Case& c : cases) {
        QFile::remove(FDir.filePath(c.file));
        Messages.clear();
        EXPECT_EQ(Open(c.editor,
                       [&] {
                           Fill(c.editor->Grid(0), 1, c.row);
                           c.editor->Btn_OK->Click();
                       }),
                  mrOk)
            << c.file;
        EXPECT_TRUE(Messages.isEmpty()) << c.file;
        const QByteArray written = Read(c.file);
        Open(c.editor, [&] {
            EXPECT_EQ(RowOf(c.editor->Grid(0), 1), c.row) << c.file;
            c.editor->Grid(0)->SetCellEx(1, 1, "edited");
        }); // cancelled
        EXPECT_EQ(Read(c.file), written) << c.file;
        Open(c.editor, [&] { c.editor->Btn_OK->Click(); });
        EXPECT_EQ(Read(c.file), written) << c.file;
    }
}

// A file the parser rejects is reported naming it, and OK asks before replacing it: No keeps
// the window open and the file as it was.
TEST_F(PGNTablesTest, DamagedFileIsProtected) {
    struct Case {
        TFTableEditor* editor;
        const char* file;
    };
    const Case cases[] = {{RecJ, "J1939_Rec_Frames.xml"},
                          {SendJ, "J1939_Send_Frames.xml"},
                          {RecN, "NMEA_Rec_Frames.xml"},
                          {SendN, "NMEA_Send_Frames.xml"}};
    const QByteArray damaged = "<Receive_J1939><row PGN=\"5\"/><row PGN=\"6\"";
    for (const Case& c : cases) {
        WriteFile(c.file, damaged);
        Messages.clear();
        Answer = mrNo;
        Open(c.editor, [&] {
            ASSERT_EQ(Messages.size(), 1) << c.file;
            EXPECT_TRUE(Messages[0].Msg.startsWith(Lang_Text.Get(1110))) << c.file;
            EXPECT_TRUE(Messages[0].Msg.contains(c.file)) << Messages[0].Msg.toStdString();
            c.editor->Btn_OK->Click(); // an empty table passes; replacing is asked about
            EXPECT_TRUE(c.editor->Visible()) << c.file;
        });
        EXPECT_EQ(Texts().value(1), Lang_Text.Get(1106)) << c.file;
        EXPECT_EQ(Read(c.file), damaged) << c.file;
    }
}
