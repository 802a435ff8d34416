// The CAN receive and transmit frame tables driven as a user drives them: shown modally over a
// project folder, cells filled, buttons clicked, messages answered; and what they leave in their
// files.
#include "UReceiveCAN.h"
#include "UTransmitCAN.h"

#include "Dialogs.h"
#include "Forms.h"
#include "TableEditorFixture.h"
#include "TestSupport.h"
#include "UUtils.h"

#include <gtest/gtest.h>

#include <functional>

inline void PrintTo(const QString& S, std::ostream* Os) {
    *Os << '"' << S.toStdString() << '"';
}

namespace {

const QByteArray Comment = "<!--SW_VERSION = 1.000-->";

struct Check_Case {
    const char* name;
    QStringList row1; // columns 1 ..
    QStringList row2;
    const char* message; // "" when the table passes
};

// Base with the cells of Changes (column, text) replaced.
QStringList With(QStringList Base, std::initializer_list<std::pair<int, const char*>> Changes) {
    for (const auto& [col, text] : Changes) Base[col - 1] = text;
    return Base;
}

class CANTablesTest : public TableEditorTest {
protected:
    void SetUp() override {
        TableEditorTest::SetUp();
        Rec = new TFReceiveCAN(nullptr);
        Send = new TFTransmitCAN(nullptr);
    }
    void TearDown() override {
        TObject::Free(Rec);
        TObject::Free(Send);
        TableEditorTest::TearDown();
    }

    QStringList Texts() const {
        QStringList t;
        for (const auto& m : Messages) t << m.Msg;
        return t;
    }

    // Each case: rows 1 and 2 filled over an empty table, OK; the one message expected (an error) and
    // nothing written, or no message and the file written.
    void Run_Checks(TFTableEditor* E, const QString& File, const std::vector<Check_Case>& Cases) {
        for (const Check_Case& c : Cases) {
            QFile::remove(FDir.filePath(File));
            Messages.clear();
            const int result = Open(E, [&] {
                Fill(E->Grid(0), 1, c.row1);
                if (!c.row2.isEmpty()) Fill(E->Grid(0), 2, c.row2);
                E->Btn_OK->Click();
            });
            const bool passes = QByteArray(c.message).isEmpty();
            EXPECT_EQ(result, passes ? mrOk : mrCancel) << c.name;
            EXPECT_EQ(Texts(), passes ? QStringList() : QStringList({c.message})) << c.name;
            if (!passes) {
                EXPECT_EQ(Messages.value(0).DlgType, mtError) << c.name;
            }
            EXPECT_EQ(Files().contains(File), passes) << c.name;
        }
    }

    TFReceiveCAN* Rec = nullptr;
    TFTransmitCAN* Send = nullptr;
};

} // namespace

TEST_F(CANTablesTest, WindowsAfterCreationAndShow) {
    struct Case {
        TFTableEditor* editor;
        TAdvColumnGrid* grid;
        int width, cols;
        const char* caption;
        QStringList headers;
        int maxByte, firstByteCol;
    };
    const Case cases[] = {
        {Rec,
         Rec->ACG_CAN_Receive,
         1010,
         15,
         "CAN Receive Frames",
         {"N", "Enable", "CobID", "Type", "Dimension", "TimeOut", "Byte1", "Byte2", "Byte3", "Byte4", "Byte5",
          "Byte6", "Byte7", "Byte8", "Mnemonic"},
         1438,
         6},
        {Send,
         Send->ACG_CAN_Transmit,
         1100,
         18,
         "CAN Transmit Frames",
         {"N", "Enable", "CobID", "Type", "Dimension", "OnChange", "OnCMD", "OnTimer", "Time", "Byte1",
          "Byte2", "Byte3", "Byte4", "Byte5", "Byte6", "Byte7", "Byte8", "Mnemonic"},
         1600,
         9},
    };
    for (const Case& c : cases) {
        TFTableEditor* e = c.editor;
        EXPECT_EQ(e->ClientWidth(), c.width);
        EXPECT_EQ(e->ClientHeight(), 337);
        EXPECT_EQ(e->Color(), TColor(0xEDF7F8));
        EXPECT_EQ(e->Caption(), c.caption);
        EXPECT_EQ(e->L_SW_Code->Caption(), "CF40210");
        EXPECT_EQ(e->P_Title->Height(), 69);
        EXPECT_EQ(e->P_Button->Height(), 40);
        const TLbButton* buttons[] = {e->Btn_OK,     e->Btn_Cancel,  e->Btn_DelRow,
                                      e->Btn_InsRow, e->Btn_CopyRow, e->Btn_PasteRow};
        const char* captions[] = {"OK", "Cancel", "Delete Row", "Insert Row", "Copy Row", "Paste Row"};
        for (int i = 0; i < 6; ++i) {
            EXPECT_EQ(buttons[i]->BoundsRect(), TRect(16 + 118 * i, 6, 16 + 118 * i + 110, 34)) << i;
            EXPECT_EQ(buttons[i]->Caption(), captions[i]);
        }
        EXPECT_EQ(e->Btn_Cancel->ModalResult(), mrCancel);
        ASSERT_EQ(c.grid->ColCount(), c.cols);
        EXPECT_EQ(c.grid->RowCount(), 513);
        for (int col = 0; col < c.cols; ++col)
            EXPECT_EQ(c.grid->Columns()->Items(col)->Header(), c.headers[col]);
        EXPECT_EQ(c.grid->Columns()->Items(1)->Editor(), edDataCheckBox);
        EXPECT_EQ(c.grid->Columns()->Items(3)->ComboItems()->CommaText(),
                  "\"2.0A (11 bits)\",\"2.0B (29 bits)\"");

        // Leftovers of an earlier show are reset; the byte lists follow the array size.
        c.grid->SetCellEx(2, 7, "left");
        c.grid->SetCellEx(1, 7, "N");
        Open(e, [&] {
            EXPECT_TRUE(c.grid->Focused());
            EXPECT_EQ(c.grid->GetCellEx(0, 7), "7");
            EXPECT_EQ(c.grid->GetCellEx(0, 512), "512");
            EXPECT_EQ(c.grid->GetCellEx(1, 7), "Y");
            EXPECT_EQ(c.grid->GetCellEx(2, 7), "");
            for (int k = 0; k < 8; ++k) {
                const TStringList* items = c.grid->Columns()->Items(c.firstByteCol + k)->ComboItems();
                ASSERT_EQ(items->Count(), c.maxByte + 1);
                EXPECT_EQ(items->Strings(0), "None");
                EXPECT_EQ(items->Strings(1), "0");
                EXPECT_EQ(items->Strings(c.maxByte), String::number(c.maxByte - 1));
            }
        });
    }
    EXPECT_EQ(Rec->MAX_Byte, 1438);
    EXPECT_EQ(Send->MAX_Byte, 1600);
    EXPECT_EQ(Send->Hard_Type, 1);
}

TEST_F(CANTablesTest, HeaderHints) {
    String hint = "old";
    Rec->ACG_CAN_ReceiveGridHint(Rec->ACG_CAN_Receive, 0, 2, hint);
    EXPECT_EQ(hint, "Insert the CobID of the CAN Frame in receive");
    Rec->ACG_CAN_ReceiveGridHint(Rec->ACG_CAN_Receive, 0, 5, hint);
    EXPECT_EQ(
        hint,
        "Insert the TimeOut in milliseconds of data for each CAN frames, insert 0 do disable the function");
    Rec->ACG_CAN_ReceiveGridHint(Rec->ACG_CAN_Receive, 0, 13, hint);
    EXPECT_EQ(hint, "Insert the position of array where put the byte 8 of CAN frame");
    Rec->ACG_CAN_ReceiveGridHint(Rec->ACG_CAN_Receive, 3, 2, hint);
    EXPECT_EQ(hint, "");
    Rec->ACG_CAN_ReceiveGridHint(Rec->ACG_CAN_Receive, 0, 0, hint);
    EXPECT_EQ(hint, "");
    Open(Send, [] {});
    Send->ACG_CAN_TransmitGridHint(Send->ACG_CAN_Transmit, 0, 6, hint);
    EXPECT_EQ(hint, "Enable or Disable the possibility to send the CAN Frame by Command");
    Send->ACG_CAN_TransmitGridHint(Send->ACG_CAN_Transmit, 0, 17, hint);
    EXPECT_EQ(hint, "Insert a description of the CAN Frame");
    EXPECT_EQ(Send->Hint_TransmitCAN->Count(), 17);
    EXPECT_EQ(Rec->Btn_OK->Hint(), "Confirm and save the Receive CAN Frames List");
    EXPECT_EQ(Send->Btn_PasteRow->Hint(), "Paste the Copied Fields in the Selected Row");
}

// Attributes missing from a row get the column's default or keep the reset value.
TEST_F(CANTablesTest, MissingAttributesLoadTheirDefaults) {
    WriteFile("CAN_Rec_Frames.xml",
              "<Receive_Frames>"
              "<row COBID=\"0x100\" Dim=\"2\" Byte1=\"5\" Mnemonic=\"m\"/>"
              "<row Enable=\"N\" COBID=\"7\" CAN_Type=\"2.0A (11 bits)\" TimeOut=\"10\"/>"
              "</Receive_Frames>");
    Open(Rec, [this] {
        EXPECT_EQ(RowOf(Rec->ACG_CAN_Receive, 1),
                  QStringList({"Y", "0x100", "", "2", "0", "5", "", "", "", "", "", "", "", "m"}));
        EXPECT_EQ(RowOf(Rec->ACG_CAN_Receive, 2),
                  QStringList({"N", "7", "2.0A (11 bits)", "", "10", "", "", "", "", "", "", "", "", ""}));
        EXPECT_EQ(RowOf(Rec->ACG_CAN_Receive, 3)[0], "Y");
    });
    WriteFile("CAN_Send_Frames.xml",
              "<Transmit_Frames>"
              "<row COBID=\"1\"/>"
              "<row COBID=\"2\" OnTimer=\"Y\"/>"
              "<row COBID=\"3\" OnTimer=\"y\"/>"
              "<row COBID=\"4\" CAN_Type=\"\" OnChange=\"N\" OnCMD=\"Y\" OnTimer=\"Y\" "
              "Time=\"abc\"/>"
              "</Transmit_Frames>");
    Open(Send, [this] {
        TAdvColumnGrid* g = Send->ACG_CAN_Transmit;
        const QStringList none = {"", "", "", "", "", "", "", "", ""};
        EXPECT_EQ(RowOf(g, 1), QStringList({"Y", "1", "2.0A (11 bits)", "", "Y", "N", "N", ""}) + none);
        EXPECT_EQ(RowOf(g, 2), QStringList({"Y", "2", "2.0A (11 bits)", "", "Y", "N", "Y", "0"}) + none);
        // Only an OnTimer of exactly "Y" gives a period.
        EXPECT_EQ(RowOf(g, 3), QStringList({"Y", "3", "2.0A (11 bits)", "", "Y", "N", "y", ""}) + none);
        EXPECT_EQ(RowOf(g, 4), QStringList({"Y", "4", "", "", "N", "Y", "Y", "abc"}) + none);
    });
    EXPECT_TRUE(Messages.isEmpty());
}

TEST_F(CANTablesTest, ReceiveValidation) {
    // Enable, CobID, Type, Dim, TimeOut, Byte1 .. Byte8, Mnemonic
    const QStringList ok = {"Y", "1", "2.0A (11 bits)", "2", "0", "0", "1", "", "", "", "", "", "", "x"};
    auto with = [&](std::initializer_list<std::pair<int, const char*>> Changes) { return With(ok, Changes); };
    Run_Checks(
        Rec, "CAN_Rec_Frames.xml",
        {
            {"a valid row", ok, {}, ""},
            {"11-bit CobID 2048", with({{2, "2048"}}), {}, "Error row 1!! CobID must be between 0 and 2047"},
            {"2048 as 29 bits", with({{2, "2048"}, {3, "2.0B (29 bits)"}}), {}, ""},
            {"2048 with an empty Type", with({{2, "2048"}, {3, ""}}), {}, ""},
            {"0x20000000",
             with({{2, "0x20000000"}, {3, ""}}),
             {},
             "Error row 1!! CobID must be between 0x00000000 and 0x1FFFFFFF"},
            {"the type trimmed",
             with({{2, "2048"}, {3, " 2.0A (11 bits) "}}),
             {},
             "Error row 1!! CobID must be between 0 and 2047"},
            {"0x7FF, $7FF, blank before", with({{2, "0x7FF"}}), with({{2, " $7ff"}}), ""},
            {"blank after", ok, with({{2, "2047 "}}), "Error row 2!! CobID must be between 0 and 2047"},
            {"7FFh", with({{2, "7FFh"}}), {}, "Error row 1!! CobID must be between 0 and 2047"},
            {"dimension 0", with({{4, "0"}}), {}, "Error row 1!! Dimension must be between 1 and 8"},
            {"dimension 9", with({{4, "9"}}), {}, "Error row 1!! Dimension must be between 1 and 8"},
            {"timeout 100000001",
             with({{5, "100000001"}}),
             {},
             "Error row 1!! TimeOut must be between 0 and 100000000 milliseconds"},
            {"timeout empty",
             with({{5, ""}}),
             {},
             "Error row 1!! TimeOut must be between 0 and 100000000 milliseconds"},
            {"byte beyond the dimension", with({{4, "3"}, {9, "5000"}}), {}, ""},
            {"None and empty bytes", with({{4, "8"}, {6, "None"}, {7, " "}}), {}, ""},
            {"1438 in Byte1",
             with({{6, "1438"}}),
             {},
             "Error row 1!! Byte1 must be between 0 and 1437 or None"},
            {"1437 in Byte2", with({{7, "1437"}}), {}, ""},
            {"Byte8",
             with({{4, "8"}, {13, "-1"}}),
             {},
             "Error row 1!! Byte8 must be between 0 and 1437 or None"},
            {"a disabled row", with({{1, "N"}, {2, "99999"}}), {}, ""},
            {"a lower-case y",
             with({{1, " y "}, {2, "99999"}}),
             {},
             "Error row 1!! CobID must be between 0 and 2047"},
            {"only the first failure", with({{4, "0"}}), with({{2, "2048"}}),
             "Error row 1!! Dimension must be between 1 and 8"},
        });
}

TEST_F(CANTablesTest, TransmitValidation) {
    // Enable, CobID, Type, Dim, OnChange, OnCMD, OnTimer, Time, Byte1 .. Byte8, Mnemonic
    const QStringList ok = {"Y", "1", "2.0A (11 bits)", "2", "Y", "N", "N", "", "0", "1", "", "", "", "", "",
                            "",  ""};
    auto with = [&](std::initializer_list<std::pair<int, const char*>> Changes) { return With(ok, Changes); };
    Run_Checks(
        Send, "CAN_Send_Frames.xml",
        {
            {"a valid row", ok, {}, ""},
            {"Time abc without OnTimer", with({{8, "abc"}}), {}, ""},
            {"Time abc with OnTimer",
             with({{7, "Y"}, {8, "abc"}}),
             {},
             "Error row 1!! Time must be between 0 and 100000000 milliseconds"},
            {"OnTimer y",
             with({{7, " y"}, {8, "100000001"}}),
             {},
             "Error row 1!! Time must be between 0 and 100000000 milliseconds"},
            {"Time 100000000", with({{7, "Y"}, {8, "100000000"}}), {}, ""},
            {"11-bit CobID 2048", with({{2, "2048"}}), {}, "Error row 1!! CobID must be between 0 and 2047"},
            {"empty Type takes 29 bits", with({{2, "2048"}, {3, ""}}), {}, ""},
            {"0x20000000",
             with({{2, "0x20000000"}, {3, "2.0B (29 bits)"}}),
             {},
             "Error row 1!! CobID must be between 0x00000000 and 0x1FFFFFFF"},
            {"dimension", with({{4, "abc"}}), {}, "Error row 1!! Dimension must be between 1 and 8"},
            {"1600 in Byte1",
             with({{9, "1600"}}),
             {},
             "Error row 1!! Byte1 must be between 0 and 1599 or None"},
            {"1600 in Byte3 beyond the dimension", with({{11, "1600"}}), {}, ""},
            {"1599 in Byte2", with({{10, "1599"}}), {}, ""},
            {"OnChange and OnCMD unchecked", with({{5, "?"}, {6, "?"}}), {}, ""},
            {"a disabled row", with({{1, "n"}, {4, "0"}}), with({{9, "1600"}}),
             "Error row 2!! Byte1 must be between 0 and 1599 or None"},
        });
}

// OK writes exactly the root, the comment and the rows in use with their raw texts; the texts
// come back on the next show; Cancel leaves the file.
TEST_F(CANTablesTest, SaveWritesRawRowsAndCancelLeavesTheFile) {
    Open(Send, [this] {
        Fill(Send->ACG_CAN_Transmit, 1,
             {"N", " 0x10 ", "2.0B (29 bits)", "1", "Y", "N", "Y", "abc", "None", "", "", "", "", "", "", "",
              "a & b < c \"q\" 'p'"});
        Fill(Send->ACG_CAN_Transmit, 2, {"Y", "2", "", "1"});
        Send->ACG_CAN_Transmit->SetCellEx(17, 4, "below the empty key");
        Answer = mrYes; // save without the row below the empty key
        Send->Btn_OK->Click();
    });
    EXPECT_EQ(Texts(), QStringList({Lang_Text.Get(1108)}));
    const QByteArray written = Read("CAN_Send_Frames.xml");
    EXPECT_TRUE(written.startsWith("<Transmit_Frames>")) << written.constData();
    EXPECT_TRUE(written.contains(Comment));
    EXPECT_GT(written.indexOf(Comment), written.indexOf("</Transmit_Frames>"));
    EXPECT_TRUE(written.contains(
        "<row Enable=\"N\" COBID=\" 0x10 \" CAN_Type=\"2.0B (29 bits)\" Dim=\"1\" OnChange=\"Y\" OnCMD=\"N\" "
        "OnTimer=\"Y\" Time=\"abc\" Byte1=\"None\" Byte2=\"\" Byte3=\"\" Byte4=\"\" Byte5=\"\" Byte6=\"\" "
        "Byte7=\"\" Byte8=\"\" Mnemonic=\"a &amp; b &lt; c &quot;q&quot; 'p'\" />"))
        << written.constData();
    EXPECT_EQ(written.count("<row "), 2);
    EXPECT_FALSE(written.contains("below"));

    Messages.clear();
    Open(Send, [this] {
        EXPECT_EQ(Send->ACG_CAN_Transmit->GetCellEx(2, 1), " 0x10 ");
        EXPECT_EQ(Send->ACG_CAN_Transmit->GetCellEx(17, 1), "a & b < c \"q\" 'p'");
        EXPECT_EQ(Send->ACG_CAN_Transmit->GetCellEx(2, 2), "2");
        EXPECT_EQ(Send->ACG_CAN_Transmit->GetCellEx(17, 4), "");
        Send->ACG_CAN_Transmit->SetCellEx(2, 1, "edited");
    }); // cancelled
    EXPECT_EQ(Read("CAN_Send_Frames.xml"), written);

    // Unchanged OK rewrites the same file; an empty table writes root and comment only.
    Open(Send, [this] { Send->Btn_OK->Click(); });
    EXPECT_EQ(Read("CAN_Send_Frames.xml"), written);
    Open(Send, [this] {
        Send->ACG_CAN_Transmit->SetCellEx(2, 1, " ");
        Answer = mrYes;
        Send->Btn_OK->Click();
    });
    const QByteArray empty = Read("CAN_Send_Frames.xml");
    EXPECT_FALSE(empty.contains("<row"));
    EXPECT_TRUE(empty.startsWith("<Transmit_Frames")) << empty.constData();
    EXPECT_TRUE(empty.contains(Comment));
}

// Data the save would drop is asked about first; No keeps the window open and the file.
TEST_F(CANTablesTest, RowsBelowTheEmptyKeyAreAskedAbout) {
    WriteFile("CAN_Rec_Frames.xml", "<Receive_Frames><row COBID=\"1\" Dim=\"1\"/></Receive_Frames>");
    const QByteArray before = Read("CAN_Rec_Frames.xml");
    Answer = mrNo;
    const int result = Open(Rec, [this] {
        Rec->ACG_CAN_Receive->SetCellEx(14, 3, "forgotten key");
        Rec->Btn_OK->Click();
        EXPECT_TRUE(Rec->Visible());
    });
    EXPECT_EQ(result, mrCancel);
    EXPECT_EQ(Texts(), QStringList({Lang_Text.Get(1108)}));
    EXPECT_EQ(Read("CAN_Rec_Frames.xml"), before);
}

TEST_F(CANTablesTest, RowButtons) {
    TAdvColumnGrid* g = Rec->ACG_CAN_Receive;
    // Paste within the editor, with the overwrite question.
    Open(Rec, [&] {
        Fill(g, 1, {"N", "1", "2.0A (11 bits)", "1", "0", "3", "", "", "", "", "", "", "", "one"});
        Fill(g, 2, {"Y", "2"});
        g->MoveCurrentCell(2, 1);
        Rec->Btn_CopyRow->Click();
        EXPECT_TRUE(Rec->Do_Copy);
        g->MoveCurrentCell(2, 3);
        Rec->Btn_PasteRow->Click(); // an empty row: no question
        EXPECT_TRUE(Messages.isEmpty());
        EXPECT_EQ(RowOf(g, 3), RowOf(g, 1));
        Answer = mrNo;
        g->MoveCurrentCell(2, 2);
        Rec->Btn_PasteRow->Click();
        EXPECT_EQ(Texts(), QStringList({Lang_Text.Get(1100)}));
        EXPECT_EQ(g->GetCellEx(2, 2), "2");
        Answer = mrYes;
        Rec->Btn_PasteRow->Click();
        EXPECT_EQ(g->GetCellEx(14, 2), "one");

        // Delete asks with the row number.
        Messages.clear();
        Answer = mrNo;
        g->MoveCurrentCell(2, 3);
        Rec->Btn_DelRow->Click();
        EXPECT_EQ(Texts(), QStringList({"Are you sure to delete the Row number 3"}));
        EXPECT_EQ(g->GetCellEx(2, 3), "1");
        Answer = mrYes;
        g->MoveCurrentCell(2, 1);
        Rec->Btn_DelRow->Click();
        EXPECT_EQ(g->GetCellEx(2, 1), "1");
        EXPECT_EQ(g->GetCellEx(14, 1), "one");
        EXPECT_EQ(g->GetCellEx(2, 3), "");
        EXPECT_EQ(g->GetCellEx(0, 1), "1");

        // Insert marks the new row enabled; a last row with data is asked about first.
        Messages.clear();
        g->MoveCurrentCell(3, 1);
        Rec->Btn_InsRow->Click();
        EXPECT_TRUE(Messages.isEmpty());
        EXPECT_EQ(RowOf(g, 1), QStringList({"Y", "", "", "", "", "", "", "", "", "", "", "", "", ""}));
        EXPECT_EQ(g->GetCellEx(14, 2), "one");
        g->SetCellEx(14, 512, "last");
        Answer = mrNo;
        Rec->Btn_InsRow->Click();
        EXPECT_EQ(Texts(), QStringList({Lang_Text.Get(1109)}));
        EXPECT_EQ(g->GetCellEx(14, 2), "one");
        EXPECT_EQ(g->GetCellEx(14, 512), "last");
        Answer = mrYes;
        Rec->Btn_InsRow->Click();
        EXPECT_EQ(g->GetCellEx(14, 3), "one");
        EXPECT_EQ(g->GetCellEx(14, 512), "");
    });
    // A new show forgets the copy; the other editor never took one.
    Messages.clear();
    Open(Rec, [&] {
        EXPECT_FALSE(Rec->Do_Copy);
        g->MoveCurrentCell(2, 1);
        Rec->Btn_PasteRow->Click();
    });
    Open(Send, [&] {
        Send->ACG_CAN_Transmit->MoveCurrentCell(2, 1);
        Send->Btn_PasteRow->Click();
        // A copy of the transmit editor's own, then a receive row in the buffer: another width.
        Send->Btn_CopyRow->Click();
        Copy_Row(g, 1);
        Send->Btn_PasteRow->Click();
    });
    EXPECT_EQ(Texts(), QStringList({Lang_Text.Get(1102), Lang_Text.Get(1102), Lang_Text.Get(1101)}));
}

TEST_F(CANTablesTest, EnterJumpAndHeaderSizing) {
    TAdvColumnGrid* g = Rec->ACG_CAN_Receive;
    Open(Rec, [&] {
        g->SetCellEx(14, 1, "a description far wider than the column was made");
        for (bool option : {false, true}) {
            Enable_Jump_Field_Tables = option;
            g->MoveCurrentCell(14, 1);
            Char key = Char(13);
            Rec->ACG_CAN_ReceiveKeyPress(g, key);
            EXPECT_EQ(g->Col(), option ? 1 : 14);
            EXPECT_EQ(g->Row(), option ? 2 : 1);
            EXPECT_EQ(key == Char(0), option);
        }
        g->MoveCurrentCell(14, 512);
        Char key = Char(13);
        Rec->ACG_CAN_ReceiveKeyPress(g, key);
        EXPECT_EQ(g->Row(), 1);
        EXPECT_EQ(g->Col(), 1);

        const int before = g->ColWidths(14);
        Rec->ACG_CAN_ReceiveDblClickCell(g, 0, 14);
        EXPECT_EQ(g->ColWidths(14), before);
        Double_Click_Auto_Size = true;
        Rec->ACG_CAN_ReceiveDblClickCell(g, 0, 14);
        EXPECT_GT(g->ColWidths(14), before);
    });
}

// A file the parser rejects is reported with its name; OK then asks before replacing it.
TEST_F(CANTablesTest, DamagedFileIsReportedAndProtected) {
    const QByteArray damaged = "<Receive_Frames><row COBID=\"5\" Dim=\"1\"/><row COBID=\"6\"";
    WriteFile("CAN_Rec_Frames.xml", damaged);
    Answer = mrNo;
    Open(Rec, [this] {
        ASSERT_EQ(Messages.size(), 1);
        EXPECT_TRUE(Messages[0].Msg.startsWith(Lang_Text.Get(1110) + NativePath(File_CAN_Rec_Frames)))
            << Messages[0].Msg.toStdString();
        EXPECT_EQ(Messages[0].DlgType, mtError);
        EXPECT_TRUE(Rec->Load_Incomplete());
        Rec->ACG_CAN_Receive->SetCellEx(2, 1, "7");
        Rec->ACG_CAN_Receive->SetCellEx(4, 1, "1");
        Rec->ACG_CAN_Receive->SetCellEx(5, 1, "0");
        Rec->Btn_OK->Click(); // answered No
        EXPECT_TRUE(Rec->Visible());
    });
    EXPECT_EQ(Texts().value(1), Lang_Text.Get(1106));
    EXPECT_EQ(Read("CAN_Rec_Frames.xml"), damaged);
    Answer = mrYes;
    Messages.clear();
    EXPECT_EQ(Open(Rec,
                   [this] {
                       Rec->ACG_CAN_Receive->SetCellEx(2, 1, "7");
                       Rec->ACG_CAN_Receive->SetCellEx(4, 1, "1");
                       Rec->ACG_CAN_Receive->SetCellEx(5, 1, "0");
                       Rec->Btn_OK->Click();
                   }),
              mrOk);
    EXPECT_EQ(Texts().value(1), Lang_Text.Get(1106));
    EXPECT_TRUE(Read("CAN_Rec_Frames.xml").contains("COBID=\"7\""));
}

// More rows than the table holds: the user is told how many are not shown.
TEST_F(CANTablesTest, CapacityWarning) {
    QByteArray file = "<Receive_Frames>";
    for (int i = 1; i <= 515; ++i) file += "<row COBID=\"" + QByteArray::number(i) + "\" Dim=\"1\"/>";
    file += "</Receive_Frames>";
    WriteFile("CAN_Rec_Frames.xml", file);
    Open(Rec, [this] {
        EXPECT_EQ(Rec->ACG_CAN_Receive->GetCellEx(2, 512), "512");
        Rec->Btn_OK->Click();
    });
    EXPECT_EQ(Texts(), QStringList({Lang_Text.Get(1107) + "3"}));
    EXPECT_EQ(Messages.value(0).DlgType, mtWarning);
    const QByteArray saved = Read("CAN_Rec_Frames.xml");
    EXPECT_EQ(saved.count("<row "), 512);
    EXPECT_FALSE(saved.contains("COBID=\"513\""));
}

// A file that cannot be written is reported and the window stays open with its edits.
TEST_F(CANTablesTest, FailedWriteKeepsTheWindowOpen) {
    const String saved = File_CAN_Rec_Frames;
    File_CAN_Rec_Frames = FDir.filePath("missing/CAN_Rec_Frames.xml");
    Open(Rec, [this] {
        Rec->ACG_CAN_Receive->SetCellEx(2, 1, "1");
        Rec->ACG_CAN_Receive->SetCellEx(4, 1, "1");
        Rec->ACG_CAN_Receive->SetCellEx(5, 1, "0");
        Rec->Btn_OK->Click();
        EXPECT_TRUE(Rec->Visible());
        EXPECT_EQ(Rec->ModalResult(), mrNone);
        EXPECT_EQ(Rec->ACG_CAN_Receive->GetCellEx(2, 1), "1");
    });
    File_CAN_Rec_Frames = saved;
    ASSERT_EQ(Messages.size(), 1);
    EXPECT_TRUE(Messages[0].Msg.startsWith(Lang_Text.Get(1112))) << Messages[0].Msg.toStdString();
    EXPECT_EQ(Messages[0].DlgType, mtError);
}
