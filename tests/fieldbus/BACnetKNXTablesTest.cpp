// The BACnet object tables and the KNX telegram table driven as a user drives them: shown
// modally over a project folder, cells filled, buttons clicked, messages answered; and what they
// leave in their files.
#include "UBACnetSlaveSetAccess.h"
#include "UBACnet_Eng_Unit.h"
#include "UKNXAccess.h"

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

class BACnetKNXTest : public TableEditorTest {
protected:
    void SetUp() override {
        TableEditorTest::SetUp();
        BACnet = new TFBACnetSlaveSetAccess(nullptr);
        KNX = new TFKNXAccess(nullptr);
    }
    void TearDown() override {
        TObject::Free(BACnet);
        TObject::Free(KNX);
        TableEditorTest::TearDown();
    }
    // The error messages shown so far.
    QStringList Errors() const {
        QStringList t;
        for (const auto& m : Messages)
            if (m.DlgType == mtError) t << m.Msg;
        return t;
    }

    TFBACnetSlaveSetAccess* BACnet = nullptr;
    TFKNXAccess* KNX = nullptr;
};

// Data type, unit, position, start bit, length, swap, mnemonic.
QStringList Obj(const char* Type, const char* Unit, const char* Position, const char* Bit, const char* Length,
                const char* Mnemonic = "m") {
    return {Type, Unit, Position, Bit, Length, "N", Mnemonic};
}

const QString RW = QStringLiteral("!! [BACnet in Read] ");
const QString WW = QStringLiteral("!! [BACnet in Write] ");

} // namespace

TEST_F(BACnetKNXTest, BACnetWindowAfterCreationAndShow) {
    EXPECT_EQ(BACnet->ClientWidth(), 764);
    EXPECT_EQ(BACnet->L_SW_Desc->Caption(), "BACnet Set Access");
    EXPECT_EQ(BACnet->PageControl1->Pages(1)->Caption(), "BACnet in Write");
    EXPECT_EQ(BACnet->Btn_OK->Hint(), "Confirm and save the SNMP Trap List");
    const QStringList headers = {"N",         "Data Type", "Eng. Unit", "Position",
                                 "Start Bit", "Length",    "Swap",      "Mnemonic"};
    for (TAdvColumnGrid* g : {BACnet->ACG_BACnet_in_Read, BACnet->ACG_BACnet_in_Write}) {
        ASSERT_EQ(g->ColCount(), 8);
        for (int c = 0; c < 8; ++c) EXPECT_EQ(g->Columns()->Items(c)->Header(), headers[c]);
    }
    TStringList* read = BACnet->ACG_BACnet_in_Read->Columns()->Items(1)->ComboItems();
    TStringList* write = BACnet->ACG_BACnet_in_Write->Columns()->Items(1)->ComboItems();
    EXPECT_EQ(read->Count(), 15);
    EXPECT_EQ(read->Strings(0), "Analog Input");
    EXPECT_EQ(read->Strings(14), "CharacterString Value");
    EXPECT_EQ(write->Count(), 12);
    EXPECT_EQ(write->Strings(0), "Analog Out");
    EXPECT_EQ(write->Strings(9), "Access Door");
    // No header hints.
    String hint = "x";
    BACnet->ACG_BACnet_in_Read->OnGridHint(BACnet->ACG_BACnet_in_Read, 0, 2, hint);
    EXPECT_EQ(hint, "x");
    Open(BACnet, [&] {
        EXPECT_EQ(BACnet->ACG_BACnet_in_Read->RowCount(), 2001);
        EXPECT_EQ(BACnet->NByte_IN, 1500);
        EXPECT_EQ(BACnet->ACG_BACnet_in_Write->Columns()->Items(3)->ComboItems()->Strings(1499), "1499");
    });
}

TEST_F(BACnetKNXTest, BACnetValidation) {
    const struct {
        const char* name;
        int table;
        QStringList row;
        QString message; // empty when the tables pass
    } cases[] = {
        {"write length 5", 1, Obj("Analog Value", "62", "0", "", "5"),
         WW + "Length with variable \"Analog Value\" must be between 1 and 4"},
        {"read charstring 51", 0, Obj("CharacterString Value", "0", "0", "", "51"),
         RW + "Length with variable \"Characterstring Value\" must be between 1 and 50"},
        {"write charstring 51", 1, Obj("CharacterString Value", "0", "0", "", "51"),
         WW + "Length with variable \"Characterstring Value\" must be between 1 and 50"},
        {"charstring 50", 0, Obj("CharacterString Value", "0", "0", "", "50"), ""},
        {"binary at 1499, any length", 0, Obj("Binary Input", "0", "1499", "3", "77"), ""},
        {"binary without start bit", 0, Obj("Binary Value", "0", "4", "", "1"),
         RW + "Start Bit must be set with variable \"Binary Input\" or \"Binary Value\""},
        {"write binary without start bit", 1, Obj("Binary Out", "0", "4", "", "1"),
         WW + "Start Bit must be set with variable \"Binary Out\" or \"Binary Value\""},
        {"end 1499", 0, Obj("Analog Input", "0", "1496", "", "4"), ""},
        {"end 1500", 0, Obj("Analog Input", "0", "1497", "", "4"),
         RW + "Position plus Length must be minor or equal to 1500"},
        {"write end 1500", 1, Obj("Large Analog Value", "0", "1493", "", "8"),
         WW + "Position plus Length must be minor or equal to 1500"},
        {"unit empty", 0, Obj("Analog Input", "", "0", "", "1"),
         RW + "Eng. Unit must be between 0 and 65535"},
        {"unit abc", 1, Obj("Analog Out", "abc", "0", "", "1"), WW + "Eng. Unit must be between 0 and 65535"},
        {"unit 65536", 0, Obj("Analog Input", "65536", "0", "", "1"),
         RW + "Eng. Unit must be between 0 and 65535"},
        {"unit 65535", 0, Obj("Analog Input", "65535", "0", "", "1"), ""},
        {"unit hexadecimal", 0, Obj("Analog Input", "0x10", "0", "", "1"), ""},
        {"position 1500", 0, Obj("Analog Input", "0", "1500", "", "1"),
         RW + "Position must be between 0 and 1499"},
        {"write position empty", 1, Obj("Analog Out", "0", "", "", "1"),
         WW + "Position must be between 0 and 1499"},
        {"length not a number", 0, Obj("Analog Input", "0", "0", "", "x"),
         RW + "Length with variable \"Analog Input\" must be between 1 and 4"},
        {"read integer value 5", 0, Obj("Integer Value", "0", "0", "", "5"),
         RW + "Length with variable \"Integer Value\" must be between 1 and 4"},
        {"read integer value 4", 0, Obj("Integer Value", "0", "0", "", "4"), ""},
        {"access door 2", 1, Obj("Access Door", "0", "0", "", "2"),
         WW + "Length with variable \"Access Door\" must be 1"},
        {"life safety 3", 0, Obj("Life Safety Zone", "0", "0", "", "3"),
         RW + "Length with variable \"Life Safety Zone\" must be between 1 and 2"},
        // Types compare exactly: a type of the other table's list has no length rule here.
        {"write type in the read table", 0, Obj("Analog Out", "0", "0", "", "9"), ""},
        {"lower-case type", 1, Obj("analog value", "0", "0", "", "9"), ""},
    };
    for (const auto& c : cases) {
        QFile::remove(FDir.filePath("BACnet_Slave_SetAccess.xml"));
        Messages.clear();
        const int result = Open(BACnet, [&] {
            // The other table holds a row valid in it, so only the case's row can fail.
            Fill(BACnet->Grid(1 - c.table), 1,
                 Obj(c.table ? "Analog Input" : "Analog Out", "0", "0", "", "4"));
            Fill(BACnet->Grid(c.table), 1, c.row);
            BACnet->Btn_OK->Click();
        });
        const bool passes = c.message.isEmpty();
        EXPECT_EQ(result, passes ? mrOk : mrCancel) << c.name;
        EXPECT_EQ(Errors(), passes ? QStringList() : QStringList({"Error row 1" + c.message})) << c.name;
        EXPECT_EQ(Files().contains("BACnet_Slave_SetAccess.xml"), passes) << c.name;
    }
}

TEST_F(BACnetKNXTest, BACnetCapacityFollowsTheGeneralParameters) {
    const struct {
        const char* parGen; // nullptr: no ParGen.xml
        int readRows, writeRows;
        int rowCount;
        const char* message;
    } cases[] = {
        {"<ParGen><BACnet_Desc_Chars_Limit>1</BACnet_Desc_Chars_Limit></ParGen>", 600, 401, 1001,
         "Error!! Too many Requests. Max requests 1000"},
        {"<ParGen><BACnet_Desc_Chars_Limit>1</BACnet_Desc_Chars_Limit></ParGen>", 600, 400, 1001, ""},
        {"<ParGen><BACnet_Desc_Chars_Limit>0</BACnet_Desc_Chars_Limit></ParGen>", 1000, 1001, 2001,
         "Error!! Too many Requests. Max requests 2000"},
        {nullptr, 1500, 500, 2001, ""},
    };
    for (const auto& c : cases) {
        QFile::remove(FDir.filePath("ParGen.xml"));
        QFile::remove(FDir.filePath("BACnet_Slave_SetAccess.xml"));
        if (c.parGen) WriteParGen(c.parGen);
        Messages.clear();
        const int result = Open(BACnet, [&] {
            EXPECT_EQ(BACnet->ACG_BACnet_in_Read->RowCount(), c.rowCount);
            EXPECT_EQ(BACnet->ACG_BACnet_in_Write->RowCount(), c.rowCount);
            for (int r = 1; r <= c.readRows; ++r)
                Fill(BACnet->Grid(0), r, Obj("Analog Input", "0", "0", "", "1"));
            for (int r = 1; r <= c.writeRows; ++r)
                Fill(BACnet->Grid(1), r, Obj("Analog Out", "0", "0", "", "1"));
            BACnet->Btn_OK->Click();
        });
        const bool passes = QByteArray(c.message).isEmpty();
        EXPECT_EQ(result, passes ? mrOk : mrCancel) << c.message;
        EXPECT_EQ(Errors(), passes ? QStringList() : QStringList({c.message}));
        if (passes) {
            const QByteArray file = Read("BACnet_Slave_SetAccess.xml");
            EXPECT_EQ(file.count("<row "), c.readRows + c.writeRows);
        }
    }
    // A damaged ParGen.xml is reported, naming it, and the tables keep 2000 rows.
    WriteParGen("<ParGen><BACnet_Desc_Chars_Limit>1</BACnet_Desc");
    Messages.clear();
    Open(BACnet, [&] { EXPECT_EQ(BACnet->ACG_BACnet_in_Read->RowCount(), 2001); });
    ASSERT_EQ(Errors().size(), 1);
    EXPECT_TRUE(Errors()[0].contains("ParGen.xml")) << Errors()[0].toStdString();
    // Back to 2000 rows: the rows that return are empty.
    QFile::remove(FDir.filePath("BACnet_Slave_SetAccess.xml"));
    WriteParGen("<ParGen><BACnet_Desc_Chars_Limit>1</BACnet_Desc_Chars_Limit></ParGen>");
    Open(BACnet, [&] { Fill(BACnet->Grid(0), 1000, Obj("Analog Input", "0", "0", "", "1")); });
    QFile::remove(FDir.filePath("ParGen.xml"));
    Open(BACnet, [&] {
        EXPECT_EQ(BACnet->ACG_BACnet_in_Read->RowCount(), 2001);
        EXPECT_EQ(BACnet->ACG_BACnet_in_Read->GetCellEx(0, 1500), "1500");
        EXPECT_EQ(BACnet->ACG_BACnet_in_Read->GetCellEx(1, 1500), "");
        EXPECT_EQ(BACnet->ACG_BACnet_in_Read->GetCellEx(1, 1000), "");
    });
}

TEST_F(BACnetKNXTest, BACnetWriteTypeGivesItsDefaultLength) {
    const struct {
        const char* type;
        const char* length;
    } cases[] = {
        {"Analog Out", "4"},    {"Analog Value", "4"},           {"Binary Out", "1"},
        {"Binary Value", "1"},  {"Positive Integer Value", "4"}, {"Large Analog Value", "8"},
        {"Integer Value", "4"}, {"Multi State Output", "4"},     {"Multi State Value", "4"},
        {"Access Door", "1"},   {"Octet String", "1"},           {"CharacterString Value", "1"},
    };
    TAdvColumnGrid* w = BACnet->ACG_BACnet_in_Write;
    int row = 1;
    for (const auto& c : cases) {
        w->SetCellEx(5, row, "x");
        w->OnComboChange(w, 1, row, 0, c.type);
        EXPECT_EQ(w->GetCellEx(5, row), c.length) << c.type;
        ++row;
    }
    // Another column changes nothing; the Read table fills no length.
    w->SetCellEx(5, 1, "7");
    w->OnComboChange(w, 3, 1, 0, "Large Analog Value");
    EXPECT_EQ(w->GetCellEx(5, 1), "7");
    EXPECT_FALSE(bool(BACnet->ACG_BACnet_in_Read->OnComboChange));
}

TEST_F(BACnetKNXTest, BACnetUnitPickedByDoubleClick) {
    FBACnet_Eng_Unit = new TFBACnet_Eng_Unit(nullptr);
    auto freePicker = FreeAtEnd(FBACnet_Eng_Unit);
    const struct {
        const char* cell;
        const char* label;
        std::function<void()> inPicker;
        const char* after;
    } cases[] = {
        {"62", "-> degrees-Celsius",
         [] {
             FBACnet_Eng_Unit->E_Selected_EU->SetText("x");
             FBACnet_Eng_Unit->Btn_OK->Click();
         },
         "x"},
        {"", "-> unknown",
         [] {
             FBACnet_Eng_Unit->CB_Select_Type->SetItemIndex(3);
             FBACnet_Eng_Unit->CB_Select_TypeSelect(nullptr);
             FBACnet_Eng_Unit->CB_Select_Unit->SetItemIndex(11);
             FBACnet_Eng_Unit->Btn_Select_Eng_UnitClick(nullptr);
             EXPECT_EQ(FBACnet_Eng_Unit->Label5->Caption(), "-> ohm-meters");
             FBACnet_Eng_Unit->Btn_OK->Click();
         },
         "172"},
        {"95", "-> no-units",
         [] {
             FBACnet_Eng_Unit->CB_Select_Type->SetItemIndex(22);
             FBACnet_Eng_Unit->CB_Select_TypeSelect(nullptr);
             FBACnet_Eng_Unit->CB_Select_Unit->SetItemIndex(30);
             FBACnet_Eng_Unit->Btn_Select_Eng_UnitClick(nullptr);
             FBACnet_Eng_Unit->Btn_Cancel->Click();
         },
         "95"},
    };
    for (int table : {0, 1}) {
        for (const auto& c : cases) {
            TAdvColumnGrid* g = BACnet->Grid(table);
            g->SetCellEx(2, 4, c.cell);
            bool shown = false;
            PostCall([&] {
                shown = FBACnet_Eng_Unit->Visible();
                EXPECT_EQ(FBACnet_Eng_Unit->E_Selected_EU->Text(), c.cell);
                EXPECT_EQ(FBACnet_Eng_Unit->Label5->Caption(), c.label);
                c.inPicker();
            });
            g->OnDblClickCell(g, 4, 2);
            EXPECT_TRUE(shown) << c.cell;
            EXPECT_EQ(g->GetCellEx(2, 4), c.after) << c.cell;
        }
    }
    // Another column opens nothing.
    bool ran = false, opened = false;
    PostCall([&] {
        ran = true;
        opened = FBACnet_Eng_Unit->Visible();
        if (opened) FBACnet_Eng_Unit->Btn_Cancel->Click();
    });
    BACnet->ACG_BACnet_in_Read->OnDblClickCell(BACnet->ACG_BACnet_in_Read, 4, 7);
    EXPECT_FALSE(ran) << "a modal window ran the posted call";
    ProcessMessagesUntil([&] { return ran; });
    EXPECT_FALSE(opened);
}

TEST_F(BACnetKNXTest, BACnetFileRoundTripWithSwapMissing) {
    WriteFile("BACnet_Slave_SetAccess.xml", "<BACnet_to_Modbus><BACnet_in_Read>"
                                            "<row Data_Type=\"Analog Input\" Eng_Unit=\"62\" Position=\"0\" "
                                            "Bit=\"\" Length=\"4\" Mnemonic=\"T1\"/>"
                                            "<row Data_Type=\"Binary Input\" Eng_Unit=\"95\" Position=\"4\" "
                                            "Bit=\"2\" Length=\"\" Swap=\"Y\" Mnemonic=\"B1\"/>"
                                            "</BACnet_in_Read><BACnet_in_Write>"
                                            "<row Data_Type=\"Analog Out\" Eng_Unit=\"98\" Position=\"10\" "
                                            "Bit=\"\" Length=\"4\" Mnemonic=\"O1\"/>"
                                            "</BACnet_in_Write></BACnet_to_Modbus>");
    const int result = Open(BACnet, [&] {
        EXPECT_EQ(RowOf(BACnet->ACG_BACnet_in_Read, 1),
                  QStringList({"Analog Input", "62", "0", "", "4", "N", "T1"}));
        EXPECT_EQ(RowOf(BACnet->ACG_BACnet_in_Read, 2),
                  QStringList({"Binary Input", "95", "4", "2", "", "Y", "B1"}));
        EXPECT_EQ(RowOf(BACnet->ACG_BACnet_in_Write, 1),
                  QStringList({"Analog Out", "98", "10", "", "4", "N", "O1"}));
        // A row after the first empty Data Type is neither checked nor saved.
        Fill(BACnet->ACG_BACnet_in_Read, 4, Obj("Analog Input", "bad", "0", "", "9"));
        BACnet->bitbtn1Click(BACnet->Btn_OK);
    });
    EXPECT_EQ(result, mrOk);
    EXPECT_TRUE(Errors().isEmpty()) << Errors().join("|").toStdString();
    const QByteArray file = Read("BACnet_Slave_SetAccess.xml");
    EXPECT_TRUE(file.startsWith("<BACnet_to_Modbus>")) << file.constData();
    EXPECT_TRUE(file.contains("<!--SW_VERSION = 1.001-->")) << file.constData();
    EXPECT_LT(file.indexOf("<BACnet_in_Read>"), file.indexOf("<BACnet_in_Write>"));
    EXPECT_EQ(file.count("<row "), 3);
    EXPECT_TRUE(
        file.contains("<row Data_Type=\"Analog Input\" Eng_Unit=\"62\" Position=\"0\" Bit=\"\" Length=\"4\" "
                      "Swap=\"N\" Mnemonic=\"T1\" />"))
        << file.constData();
    EXPECT_FALSE(file.contains("bad"));
}

TEST_F(BACnetKNXTest, BACnetRowsMissingARequiredAttributeStopTheLoading) {
    WriteFile("BACnet_Slave_SetAccess.xml",
              "<BACnet_to_Modbus><BACnet_in_Read>"
              "<row Data_Type=\"Analog Input\" Eng_Unit=\"62\" Position=\"0\" Bit=\"\" Length=\"4\" "
              "Mnemonic=\"T1\"/>"
              "<row Data_Type=\"Analog Input\" Eng_Unit=\"62\" Position=\"0\" Bit=\"\" Mnemonic=\"T2\"/>"
              "</BACnet_in_Read></BACnet_to_Modbus>");
    Open(BACnet, [&] {
        EXPECT_TRUE(BACnet->Load_Incomplete());
        EXPECT_EQ(BACnet->ACG_BACnet_in_Read->GetCellEx(7, 1), "T1");
    });
    ASSERT_EQ(Errors().size(), 1);
    EXPECT_TRUE(Errors()[0].contains("Length")) << Errors()[0].toStdString();
}

// ---- KNX --------------------------------------------------------------------------------------------

namespace {

// Enable, Source, Dest, APCI, Priority, Format, Extended, ReTest, OnCMD, OnChange, OnTimer, Poll Time,
// Position, Bit Mode, Length, Mnemonic.
QStringList Knx(std::initializer_list<std::pair<int, const char*>> Changes) {
    QStringList r = {"Y", "1.1.20", "1/2/3", "Write", "Normal", "None", "N", "N",
                     "N", "Y",      "N",     "",      "0",      "No",   "2", "m"};
    for (const auto& [col, text] : Changes) r[col - 1] = text;
    return r;
}

const QString KW = QStringLiteral("!! [KNX in Write] ");
const QString Src = KW + "Source Address must be a valid KNX Address (Ex. 1.1.20)";
const QString DestInd = KW + "Destination Address must be a valid KNX Address (Ex. 1.1.20)";
const QString DestGrp = KW + "Destination Address must be a valid KNX Address (Ex. 230.240)";
const QString Apci = KW + "APCI must be between 0 and 1023 or use the value Read or Write";
const QString Len = KW + "Length must be between 1 and ";
const QString End = KW + "Position plus Length must be minor or equal to 1500";

} // namespace

TEST_F(BACnetKNXTest, KNXWindowAfterCreationAndShow) {
    EXPECT_EQ(KNX->ClientWidth(), 1141);
    EXPECT_EQ(KNX->Caption(), "KNX Set Access");
    EXPECT_EQ(KNX->Btn_InsRow->Hint(), "Insert a Row in the Table");
    TAdvColumnGrid* g = KNX->ACG_KNX_in_Write;
    ASSERT_EQ(g->ColCount(), 17);
    EXPECT_EQ(g->Columns()->Items(3)->Header(), "Dest/Group");
    EXPECT_EQ(g->Columns()->Items(16)->Header(), "Mnemonic");
    EXPECT_EQ(g->Columns()->Items(16)->Width(), 96);
    // Hints: column c shows entry c - 1, text 2439 left out.
    const struct {
        int col;
        const char* hint;
    } hints[] = {{1, "Enable/Disabel the KNX Rule"},
                 {8, "Enable/Disable the ReTest of KNX Variable"},
                 {9, "Enable/Disable the Possibility to Send the KNX Message on Command"},
                 {16, "Insert a description of the KNX Message"}};
    for (const auto& h : hints) {
        String text;
        g->OnGridHint(g, 0, h.col, text);
        EXPECT_EQ(text, h.hint);
        g->OnGridHint(g, 1, h.col, text);
        EXPECT_EQ(text, "");
    }
    Open(KNX, [&] {
        EXPECT_EQ(g->RowCount(), 1025);
        EXPECT_EQ(RowOf(g, 1024),
                  QStringList({"Y", "", "", "", "", "", "", "", "", "", "", "", "", "", "", ""}));
        EXPECT_EQ(g->Columns()->Items(13)->ComboItems()->Count(), 1500);
        EXPECT_EQ(g->Columns()->Items(14)->ComboItems()->Strings(0), "No");
    });
}

TEST_F(BACnetKNXTest, KNXValidation) {
    const struct {
        const char* name;
        QStringList row;
        QString message;
    } cases[] = {
        {"valid", Knx({}), ""},
        {"source 1.1.256", Knx({{2, "1.1.256"}}), Src},
        {"source 16.1.1", Knx({{2, "16.1.1"}}), Src},
        {"source 1/1/1", Knx({{2, "1/1/1"}}), Src},
        {"source 70000", Knx({{2, "70000"}}), Src},
        {"source 0.0.0", Knx({{2, "0.0.0"}}), ""},
        {"source a.b", Knx({{2, "3.7"}}), ""},
        {"source a.b above a byte", Knx({{2, "3.256"}}), Src},
        {"source four parts", Knx({{2, "1.1.1.1"}}), Src},
        {"dest 31/7/255", Knx({{3, "31/7/255"}}), ""},
        {"dest 31/2047", Knx({{3, "31/2047"}}), ""},
        {"dest 0/0", Knx({{3, "0/0"}}), DestGrp},
        {"dest 0/0/0", Knx({{3, "0/0/0"}}), DestGrp},
        {"dest 32/1", Knx({{3, "32/1"}}), DestGrp},
        {"dest individual", Knx({{3, "1.1.20"}}), ""},
        {"dest 15.15.256", Knx({{3, "15.15.256"}}), DestInd},
        {"apci write any case", Knx({{4, "wRiTe"}}), ""},
        {"apci 1023", Knx({{4, "1023"}}), ""},
        {"apci 0x3FF", Knx({{4, "0x3FF"}}), ""},
        {"apci 1024", Knx({{4, "1024"}}), Apci},
        {"apci Response", Knx({{4, "Response"}}), Apci},
        {"priority lower case", Knx({{5, "normal"}}),
         KW + "Priority must be System or Urgent or Normal or Low"},
        {"format empty", Knx({{6, " "}}), KW + "Format is not correct"},
        {"poll 0 on timer", Knx({{11, "Y"}, {12, "0"}}), KW + "Poll Time must be between 1 and 100000000"},
        {"poll abc without timer", Knx({{11, "N"}, {12, "abc"}}), ""},
        {"poll on timer lower case", Knx({{11, "y"}, {12, "100000001"}}),
         KW + "Poll Time must be between 1 and 100000000"},
        {"position 1500", Knx({{13, "1500"}}), KW + "Position must be between 0 and 1499"},
        {"bit mode 8", Knx({{14, "8"}}), KW + "Bit Mode must be \"No\" or between 0 and 7"},
        {"bytes 14", Knx({{15, "14"}}), ""},
        {"bytes 15", Knx({{15, "15"}}), Len + "14"},
        {"bytes 255 extended", Knx({{7, "y"}, {15, "255"}}), ""},
        {"bytes 256 extended", Knx({{7, "Y"}, {15, "256"}}), Len + "255"},
        {"bits 112", Knx({{14, "3"}, {15, "112"}}), ""},
        {"bits 113", Knx({{14, "3"}, {15, "113"}}), Len + "112"},
        {"bits 2040 extended", Knx({{7, "Y"}, {14, "0"}, {15, "2040"}, {13, "100"}}), ""},
        {"length 0", Knx({{15, "0"}}), Len + "14"},
        {"1499 one byte", Knx({{13, "1499"}, {15, "1"}}), ""},
        {"1499 two bytes", Knx({{13, "1499"}, {15, "2"}}), End},
        {"1499 bit 7 one bit", Knx({{13, "1499"}, {14, "7"}, {15, "1"}}), ""},
        {"1499 bit 7 two bits", Knx({{13, "1499"}, {14, "7"}, {15, "2"}}), End},
        {"disabled lower case", Knx({{1, "y"}, {2, "16.1.1"}}), ""},
    };
    for (const auto& c : cases) {
        QFile::remove(FDir.filePath("KNX_SetAccess.xml"));
        Messages.clear();
        const int result = Open(KNX, [&] {
            Fill(KNX->ACG_KNX_in_Write, 1, Knx({}));
            Fill(KNX->ACG_KNX_in_Write, 2, c.row);
            KNX->Btn_OK->Click();
        });
        const bool passes = c.message.isEmpty();
        EXPECT_EQ(result, passes ? mrOk : mrCancel) << c.name;
        EXPECT_EQ(Errors(), passes ? QStringList() : QStringList({"Error row 2" + c.message})) << c.name;
        EXPECT_EQ(Files().contains("KNX_SetAccess.xml"), passes) << c.name;
    }
    // A disabled row is saved as it stands.
    EXPECT_TRUE(Read("KNX_SetAccess.xml").contains("Enable=\"y\" Source_Address=\"16.1.1\""));
}

TEST_F(BACnetKNXTest, KNXLoadingDefaultsAndPriority) {
    const QByteArray req =
        "Source_Address=\"1.1.1\" Destination_Address=\"1/1\" APCI=\"Read\" Extended=\"N\" "
        "ReTest=\"N\" On_Change=\"Y\" Poll_Time=\"\" Position=\"0\" Bit_Mode=\"No\" "
        "Length=\"1\" Mnemonic=\"m\"";
    WriteFile("KNX_SetAccess.xml",
              "<BACnet_to_KNX><KNX_in_Write>"
              "<row " +
                  req +
                  " Priority=\"normal\"/>"
                  "<row " +
                  req +
                  " Priority=\"Urgent\" Enable=\"N\" Format=\"Swap16\" On_Command=\"Y\" On_Timer=\"Y\"/>"
                  "<row " +
                  req +
                  " Priority=\"Foo\"/>"
                  "<row " +
                  req +
                  "/>"
                  "<row Source_Address=\"1.1.9\"/>"
                  "</KNX_in_Write></BACnet_to_KNX>");
    TAdvColumnGrid* g = KNX->ACG_KNX_in_Write;
    Open(KNX, [&] {
        // Enable, Priority, Format, OnCMD, OnTimer.
        const auto five = [&](int r) {
            return QStringList{g->GetCellEx(1, r), g->GetCellEx(5, r), g->GetCellEx(6, r), g->GetCellEx(9, r),
                               g->GetCellEx(11, r)};
        };
        EXPECT_EQ(five(1), QStringList({"Y", "Normal", "None", "N", "N"}));
        EXPECT_EQ(five(2), QStringList({"N", "Urgent", "Swap16", "Y", "Y"}));
        EXPECT_EQ(five(3), QStringList({"Y", "Normal", "None", "N", "N"}));
        EXPECT_EQ(five(4), QStringList({"Y", "Normal", "None", "N", "N"}));
        EXPECT_EQ(g->GetCellEx(7, 4), "N");
        // The fifth row lacks required attributes: the loading stops there.
        EXPECT_TRUE(KNX->Load_Incomplete());
    });
    ASSERT_EQ(Errors().size(), 1);
    EXPECT_TRUE(Errors()[0].contains("Destination_Address")) << Errors()[0].toStdString();
}

TEST_F(BACnetKNXTest, KNXRowButtons) {
    TAdvColumnGrid* g = KNX->ACG_KNX_in_Write;
    Open(KNX, [&] {
        for (int r = 1; r <= 3; ++r) Fill(g, r, Knx({{16, r == 1 ? "a" : r == 2 ? "b" : "c"}}));
        Fill(g, 1024, Knx({{16, "last"}}));
        // Delete row 2 after the question: the rows below move up, the last row is emptied.
        g->MoveCurrentCell(2, 2);
        KNX->Btn_DelRow->Click();
        EXPECT_EQ(Messages.size(), 1);
        EXPECT_EQ(Messages.value(0).Msg, "Are you sure to delete the Row number 2");
        EXPECT_EQ(g->GetCellEx(16, 2), "c");
        EXPECT_EQ(g->GetCellEx(16, 1023), "last");
        EXPECT_EQ(RowOf(g, 1024).join(""), "");
        EXPECT_EQ(g->GetCellEx(0, 1024), "1024");
        // Insert at row 1: an empty row with Enable "Y".
        g->MoveCurrentCell(2, 1);
        KNX->Btn_InsRow->Click();
        EXPECT_EQ(RowOf(g, 1),
                  QStringList({"Y", "", "", "", "", "", "", "", "", "", "", "", "", "", "", ""}));
        EXPECT_EQ(g->GetCellEx(16, 2), "a");
        EXPECT_EQ(g->GetCellEx(16, 3), "c");
        // A No keeps the row.
        Answer = mrNo;
        g->MoveCurrentCell(2, 2);
        KNX->Btn_DelRow->Click();
        EXPECT_EQ(g->GetCellEx(16, 2), "a");
    });
}
