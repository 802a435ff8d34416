// The client mapping window: catalog, device tree, mapping grids, validation, loading and saving.
#include "AdvGridStartup.h"
#include "KeyTyping.h"
#include "ProgramFolderFixture.h"
#include "TestSupport.h"
#include "TreeClick.h"
#include "UIEC_61850_Access.h"
#include "UIEC_Device.h"
#include "XmlDoc.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>

namespace {

const char* Small_SCL = R"(<SCL>
 <IED name="IED1"><AccessPoint name="AP1"><Server>
  <LDevice inst="LD0">
   <LN0 lnClass="LLN0" lnType="LLN0_T" inst="">
    <DataSet name="DS1">
     <FCDA ldInst="LD0" lnClass="MMXU" lnInst="1" doName="TotW" fc="MX"/>
     <FCDA ldInst="LD0" lnClass="MMXU" lnInst="1" doName="TotW" daName="q" fc="MX"/>
    </DataSet>
    <GSEControl name="GC1" datSet="DS1"/>
   </LN0>
   <LN lnClass="MMXU" inst="1" lnType="MMXU_T"/>
   <LN prefix="Q0" lnClass="XCBR" inst="1" lnType="XCBR_T"/>
  </LDevice>
 </Server></AccessPoint></IED>
 <DataTypeTemplates>
  <LNodeType id="LLN0_T" lnClass="LLN0"/>
  <LNodeType id="MMXU_T" lnClass="MMXU"><DO name="TotW" type="MV_T"/></LNodeType>
  <LNodeType id="XCBR_T" lnClass="XCBR"><DO name="Pos" type="DPC_T"/></LNodeType>
  <DOType id="MV_T" cdc="MV"><DA name="mag" bType="Struct" type="AV_T" fc="MX"/><DA name="q" bType="Quality" fc="MX"/></DOType>
  <DOType id="DPC_T" cdc="DPC"><DA name="stVal" bType="Dbpos" fc="ST"/></DOType>
  <DAType id="AV_T"><BDA name="f" bType="FLOAT32"/></DAType>
 </DataTypeTemplates>
</SCL>
)";

// The cells of a grid row joined with " | ".
QString RowText(TAdvColumnGrid* Grid, int Row) {
    QStringList cells;
    for (int c = 0; c < Grid->ColCount(); ++c) cells << Grid->Cells(c, Row);
    return cells.join(QStringLiteral(" | "));
}

// The node reached from the top-level node by the texts of Path ("IED1/LD0/MMXU1").
TTreeNode* NodeAt(TTreeView* Tree, const QString& Path) {
    const QStringList parts = Path.split(u'/');
    TTreeNode* node = nullptr;
    for (int i = 0; i < Tree->Items()->TopCount(); ++i)
        if (Tree->Items()->Top(i)->Text() == parts[0]) node = Tree->Items()->Top(i);
    for (int p = 1; node && p < parts.size(); ++p) {
        TTreeNode* next = nullptr;
        for (int i = 0; i < node->Count(); ++i)
            if (node->Item(i)->Text() == parts[p]) next = node->Item(i);
        node = next;
    }
    return node;
}

} // namespace

class IEC_61850_AccessTest : public ProgramFolderTest {
protected:
    IEC_61850_AccessTest() : ProgramFolderTest(QStringLiteral("P1")) {}

    void SetUp() override {
        ProgramFolderTest::SetUp();
        AdvGridUnitStartup();
        AdvColumnGridUnitStartup();
        WriteFile(QStringLiteral("small.icd"), Small_SCL);
        FOldFile = SetFileDialogHook([this](TOpenDialog* Dialog, bool) {
            if (FChoose.isEmpty()) return false;
            Dialog->FileName = FChoose;
            return true;
        });
        F = new TFIEC_61850_Access(nullptr);
        F->FormShow(nullptr);
    }
    void TearDown() override {
        delete F;
        SetFileDialogHook(FOldFile);
        ProgramFolderTest::TearDown();
    }

    QString Project(const QString& Name) const {
        return FDir.filePath(QStringLiteral("PROJECTS/P1/") + Name);
    }

    // Adds a file through the catalog button, answering the overwrite question with Answer.
    void Add(const QString& Path, int Answer = mrYes) {
        FChoose = Path;
        SetMessageDlgHook([this, Answer](const TMessageDlgRequest& R) {
            Messages.push_back(R);
            return R.DlgType == mtConfirmation ? Answer : mrOk;
        });
        F->Btn_Add_IEC_DeviceClick(nullptr);
        FChoose.clear();
    }
    void Choose(int Device) {
        F->LB_IEC_Devices->SetItemIndex(Device);
        F->LB_IEC_DevicesClick(nullptr);
    }
    void Pick(const QString& Path) {
        TTreeNode* node = NodeAt(F->TV_IEC_Device, Path);
        ASSERT_NE(node, nullptr) << Path.toStdString();
        F->TV_IEC_Device->SetSelected(node);
        F->TV_IEC_DeviceClick(nullptr);
    }
    // The small device added and shown, f of TotW picked.
    void AddSmall() {
        Add(FDir.filePath(QStringLiteral("small.icd")));
        Choose(0);
    }
    void Fill_Variable(int Row, const QString& Ip, const QString& Port, const QString& Position,
                       const QString& Rw) {
        F->ACG_DA->SetCells(7, Row, Ip);
        F->ACG_DA->SetCells(8, Row, Port);
        F->ACG_DA->SetCells(13, Row, Position);
        F->ACG_DA->SetCells(14, Row, QStringLiteral("0"));
        F->ACG_DA->SetCells(15, Row, Rw);
        F->ACG_DA->SetCells(16, Row, QStringLiteral("None"));
        F->ACG_DA->SetCells(17, Row, QStringLiteral("NONE"));
    }

    TFIEC_61850_Access* F = nullptr;
    QString FChoose;
    TFileDialogHook FOldFile;
};

TEST_F(IEC_61850_AccessTest, TreeShowsTheModelWithPicturesColoursAndExpansion) {
    AddSmall();
    ASSERT_EQ(F->LB_IEC_Devices->Count(), 1);
    EXPECT_EQ(F->LB_IEC_Devices->Items()->Strings(0), "IED1");
    TTreeView* tv = F->TV_IEC_Device;
    ASSERT_EQ(tv->Items()->TopCount(), 1);
    struct Case {
        const char* Path;
        int Image;
        TColor Color;
        bool Expanded;
        int Children;
    };
    const Case cases[] = {
        {"IED1", 0, clBlack, true, 1},
        {"IED1/LD0", 1, clBlack, true, 3},
        {"IED1/LD0/LLN0", 2, clBlack, true, 1},
        {"IED1/LD0/LLN0/DS1", 5, TColor(0x008000), false, 0},
        {"IED1/LD0/MMXU1", 2, clBlack, true, 1},
        {"IED1/LD0/MMXU1/TotW", 3, TColor(0xFF0000), false, 2},
        {"IED1/LD0/MMXU1/TotW/mag", 4, clBlack, false, 1},
        {"IED1/LD0/MMXU1/TotW/mag/f", 4, clBlack, false, 0},
        {"IED1/LD0/MMXU1/TotW/q", 4, clBlack, false, 0},
        {"IED1/LD0/Q0XCBR1/Pos/stVal", 4, clBlack, false, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Path);
        TTreeNode* node = NodeAt(tv, c.Path);
        ASSERT_NE(node, nullptr);
        EXPECT_EQ(node->ImageIndex(), c.Image);
        EXPECT_EQ(node->SelectedIndex(), c.Image);
        EXPECT_EQ(tv->NodeTextColor(node), c.Color);
        EXPECT_EQ(node->Expanded(), c.Expanded);
        EXPECT_EQ(node->Count(), c.Children);
    }
    // Order below a logical node: data objects first, then data sets; below LD0 file order.
    TTreeNode* ld0 = NodeAt(tv, "IED1/LD0");
    EXPECT_EQ(ld0->Item(0)->Text(), "LLN0");
    EXPECT_EQ(ld0->Item(1)->Text(), "MMXU1");
    EXPECT_EQ(ld0->Item(2)->Text(), "Q0XCBR1");
}

TEST_F(IEC_61850_AccessTest, ClickSelectsOnlyLeafAttributesAndDataSets) {
    AddSmall();
    struct Case {
        const char* Path;
        const char* Attribute; // reference of the selected attribute, or ""
        const char* DataSet;   // reference of the selected data set, or ""
    };
    const Case cases[] = {
        {"IED1/LD0/MMXU1/TotW/mag/f", "IED1LD0/MMXU1.TotW.mag.f", ""},
        {"IED1/LD0/MMXU1/TotW/q", "IED1LD0/MMXU1.TotW.q", ""},
        {"IED1/LD0/MMXU1/TotW/mag", "", ""},
        {"IED1/LD0/MMXU1/TotW", "", ""},
        {"IED1/LD0/MMXU1", "", ""},
        {"IED1/LD0", "", ""},
        {"IED1", "", ""},
        {"IED1/LD0/LLN0/DS1", "", "IED1LD0/LLN0.DS1"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Path);
        Pick(c.Path);
        EXPECT_EQ(F->Selected_IEC_DA ? F->Selected_IEC_DA->Reference() : QString(), c.Attribute);
        EXPECT_EQ(F->Selected_IEC_DS ? F->Selected_IEC_DS->Reference() : QString(), c.DataSet);
    }
    // Choosing another device leaves nothing selected.
    Choose(0);
    EXPECT_EQ(F->Selected_IEC_DA, nullptr);
    EXPECT_EQ(F->Selected_IEC_DS, nullptr);
}

TEST_F(IEC_61850_AccessTest, AMouseClickOnTheTreeSelects) {
    F->Show(); // shows and rebuilds: no mapping file, no devices
    AddSmall();
    for (const char* path : {"IED1/LD0/MMXU1/TotW/mag", "IED1/LD0/MMXU1/TotW/mag/f"}) {
        TTreeNode* node = NodeAt(F->TV_IEC_Device, path);
        ASSERT_TRUE(ClickTreeNode(F->TV_IEC_Device, node)) << path;
        EXPECT_EQ(F->TV_IEC_Device->Selected(), node);
    }
    ASSERT_NE(F->Selected_IEC_DA, nullptr);
    EXPECT_EQ(F->Selected_IEC_DA->Reference(), "IED1LD0/MMXU1.TotW.mag.f");
    F->Hide();
}

TEST_F(IEC_61850_AccessTest, AddAndRemoveVariableRows) {
    AddSmall();
    Pick("IED1/LD0/MMXU1/TotW/mag/f");
    F->Btn_AddVarClick(nullptr);
    const QString expected =
        "1 | 0 | FLOAT32 | MX | IED1LD0/MMXU1.TotW.mag.f | 0 | 4 |  |  | N | N | N |  |  |  |  |  |  | ";
    EXPECT_EQ(RowText(F->ACG_DA, 1), expected);
    EXPECT_TRUE(F->ACG_DA->ReadOnly(5, 1));
    EXPECT_TRUE(F->ACG_DA->ReadOnly(6, 1));
    F->Btn_AddVarClick(nullptr);
    ASSERT_EQ(F->ACG_DA->RowCount(), 3);
    EXPECT_EQ(RowText(F->ACG_DA, 2), QString(expected).replace(0, 1, "2"));
    // Remove the last row, then the only one: column 0 keeps "1".
    F->PC_DA_DataSet->SetActivePage(F->TS_DA);
    F->ACG_DA->SetRow(2);
    F->Btn_RemoveVarClick(nullptr);
    ASSERT_EQ(F->ACG_DA->RowCount(), 2);
    F->ACG_DA->SetRow(1);
    F->Btn_RemoveVarClick(nullptr);
    EXPECT_EQ(F->ACG_DA->RowCount(), 2);
    EXPECT_EQ(F->ACG_DA->Cells(0, 1), "1");
    EXPECT_EQ(F->ACG_DA->Cells(2, 1), "");
    // Nothing selected: Add Var adds nothing.
    Pick("IED1/LD0/MMXU1");
    F->Btn_AddVarClick(nullptr);
    EXPECT_EQ(F->ACG_DA->Cells(1, 1), "");
}

TEST_F(IEC_61850_AccessTest, ByteSizeRule) {
    struct Case {
        const char* Type;
        const char* Start; // expected cells; "keep" when the row keeps its texts
        const char* Num;
        bool ReadOnly;
    };
    const Case cases[] = {
        {"FLOAT32", "0", "4", true},   {"INT32U", "0", "4", true},  {"int32", "0", "4", true},
        {"Quality", "0", "4", true},   {"FLOAT64", "0", "8", true}, {"INT64", "0", "8", true},
        {"INT8U", "0", "1", true},     {"INT8", "0", "1", true},    {"BOOLEAN", "0", "1", true},
        {"Timestamp", "0", "1", true}, {"Enum", "0", "1", true},    {"INT16U", "0", "2", true},
        {"INT16", "0", "2", true},     {"Dbpos", "5", "6", false},  {"VisString255", "5", "6", false},
        {"Octet64", "5", "6", false},
    };
    F->ACG_DA->SetRowCount(int(std::size(cases)) + 1);
    for (size_t i = 0; i < std::size(cases); ++i) {
        F->ACG_DA->SetCells(1, int(i) + 1, "0");
        F->ACG_DA->SetCells(2, int(i) + 1, cases[i].Type);
        F->ACG_DA->SetCells(5, int(i) + 1, "5");
        F->ACG_DA->SetCells(6, int(i) + 1, "6");
    }
    F->Set_Start_Num_Byte();
    for (size_t i = 0; i < std::size(cases); ++i) {
        SCOPED_TRACE(cases[i].Type);
        EXPECT_EQ(F->ACG_DA->Cells(5, int(i) + 1), cases[i].Start);
        EXPECT_EQ(F->ACG_DA->Cells(6, int(i) + 1), cases[i].Num);
        EXPECT_EQ(F->ACG_DA->ReadOnly(5, int(i) + 1), cases[i].ReadOnly);
        EXPECT_EQ(F->ACG_DA->ReadOnly(6, int(i) + 1), cases[i].ReadOnly);
    }
}

TEST_F(IEC_61850_AccessTest, DataSetRowsAndMembersStayBoundToTheirEntries) {
    AddSmall();
    Pick("IED1/LD0/LLN0/DS1");
    F->Btn_AddVarClick(nullptr);
    EXPECT_EQ(F->PC_DA_DataSet->ActivePage(), F->TS_DataSet);
    EXPECT_EQ(RowText(F->ACG_DataSet, 1), "1 | 0 | IED1LD0/LLN0.DS1 | GC1 | Y |  |  |  | ");
    ASSERT_EQ(F->List_DataSet.size(), 1u);
    ASSERT_EQ(F->List_DataSet[0]->List_DAs.size(), 2u);
    // The member grid shows the new row's members.
    EXPECT_EQ(F->ACG_DS_Vars->Cells(2, 1), "IED1LD0/MMXU1.TotW.mag.f");
    EXPECT_EQ(F->ACG_DS_Vars->Cells(2, 2), "IED1LD0/MMXU1.TotW.q");
    F->Btn_AddVarClick(nullptr);
    F->Btn_AddVarClick(nullptr);
    ASSERT_EQ(F->List_DataSet.size(), 3u);
    TDataSet* second = F->List_DataSet[1].get();
    TDataSet* third = F->List_DataSet[2].get();
    // Keyboard or mouse: the current row moves to row 2 and the member grid follows.
    F->ACG_DataSet->SetRow(2);
    EXPECT_EQ(F->Shown_Entry(), second);
    F->ACG_DS_Vars->SetCells(3, 1, "10");
    F->ACG_DS_VarsEditCellDone(F->ACG_DS_Vars, 3, 1);
    EXPECT_EQ(second->List_DAs[0]->Position, "10");
    // An edit past the member list stores nothing.
    F->ACG_DS_VarsEditCellDone(F->ACG_DS_Vars, 3, 5);
    // Remove row 1: the entry of old row 2 is now row 1 and keeps its edit; the member grid
    // follows the current row, not the removed entry.
    F->ACG_DataSet->SetRow(1);
    F->Btn_RemoveVarClick(nullptr);
    ASSERT_EQ(F->List_DataSet.size(), 2u);
    EXPECT_EQ(F->List_DataSet[0].get(), second);
    EXPECT_EQ(F->ACG_DataSet->Cells(0, 2), "2");
    F->ACG_DataSet->SetRow(2);
    EXPECT_EQ(F->Shown_Entry(), third);
    EXPECT_EQ(F->ACG_DS_Vars->Cells(3, 1), "");
    F->ACG_DS_Vars->SetCells(3, 2, "20");
    F->ACG_DS_VarsEditCellDone(F->ACG_DS_Vars, 3, 2);
    EXPECT_EQ(third->List_DAs[1]->Position, "20");
    EXPECT_EQ(second->List_DAs[1]->Position, "");
    // A member typed but not yet committed by an edit-done message is stored by OK.
    F->ACG_DS_Vars->SetCells(7, 1, "typed");
    F->Btn_OKClick(nullptr);
    EXPECT_EQ(third->List_DAs[0]->Mnemonic, "typed");
    // A row-number click on the data-set grid makes that row current there.
    F->ClickCell(F->ACG_DataSet, 1, 0);
    EXPECT_EQ(F->ACG_DataSet->Row(), 1);
    EXPECT_EQ(F->Shown_Entry(), second);
}

TEST_F(IEC_61850_AccessTest, Validation) {
    struct Case {
        const char* Name;
        QStringList Cells; // columns 2 .. 18 of row 1 (bType ... Mnemonic)
        QString Message;   // "" passes
    };
    auto row = [](const char* Type, const char* Start, const char* Num, const char* Ip, const char* Port,
                  const char* OnTimer, const char* Time, const char* Position, const char* Rw,
                  const char* Molt) {
        return QStringList{Type,    "MX", "R",      Start, Num, Ip,     Port, "N", "N",
                           OnTimer, Time, Position, "0",   Rw,  "None", Molt, ""};
    };
    const QString e = "Error row 1";
    const Case cases[] = {
        {"fine", row("FLOAT32", "0", "4", "192.168.1.1", "102", "N", "", "0", "Read", "NONE"), ""},
        {"empty type skips", row("", "", "", "bad", "", "", "", "", "", ""), ""},
        {"VisString 0+255", row("VisString255", "0", "255", "1.2.3.4", "0", "N", "", "0", "Read", "1.5"), ""},
        {"VisString 1+255", row("VISSTRING255", "1", "255", "1.2.3.4", "0", "N", "", "0", "Read", "1"),
         e + "!! Start Byte plus Num Byte must be minor of 255"},
        {"VisString start", row("VisString255", "255", "1", "1.2.3.4", "0", "N", "", "0", "Read", "1"),
         e + "!! Start Byte must be between 0 and 254"},
        {"VisString empty num", row("VisString255", "0", "", "1.2.3.4", "0", "N", "", "0", "Read", "1"),
         e + "!! Num Byte must be between 1 and 255"},
        {"Octet 63+1", row("Octet64", "63", "1", "1.2.3.4", "0", "N", "", "0", "Write", "1,5"), ""},
        {"Octet 63+2", row("Octet64", "63", "2", "1.2.3.4", "0", "N", "", "0", "Write", "1"),
         e + "!! Start Byte plus Num Byte must be minor of 64"},
        {"Octet num", row("Octet64", "0", "65", "1.2.3.4", "0", "N", "", "0", "Write", "1"),
         e + "!! Num Byte must be between 1 and 64"},
        {"IP octet", row("FLOAT32", "0", "4", "1.2.3.256", "0", "N", "", "0", "Read", "1"),
         e + "!! IP Address must be a valid TCP IP Address (Ex. 192.168.1.125)"},
        {"IP hex", row("FLOAT32", "0", "4", "$10.0.0.1", "0", "N", "", "0", "Read", "1"),
         e + "!! IP Address must be a valid TCP IP Address (Ex. 192.168.1.125)"},
        {"IP five parts", row("FLOAT32", "0", "4", "1.2.3.4.5", "0", "N", "", "0", "Read", "1"),
         e + "!! IP Address must be a valid TCP IP Address (Ex. 192.168.1.125)"},
        {"IP blanks", row("FLOAT32", "0", "4", " 1 . 2. 3 .4 ", "0", "N", "", "0", "Read", "1"), ""},
        {"port", row("FLOAT32", "0", "4", "1.2.3.4", "65536", "N", "", "0", "Read", "1"),
         e + "!! Port must be between 0 and 65535"},
        {"time off", row("FLOAT32", "0", "4", "1.2.3.4", "1", "N", "0", "0", "Read", "1"), ""},
        {"time on", row("FLOAT32", "0", "4", "1.2.3.4", "1", "Y", "0", "0", "Read", "1"),
         e + "!! Time must be between 1 and 100000000 ms"},
        {"position", row("FLOAT32", "0", "4", "1.2.3.4", "1", "N", "", "1400", "Read", "1"),
         e + "!! Position must be between 0 and 1399"},
        {"molt none", row("FLOAT32", "0", "4", "1.2.3.4", "1", "N", "", "1399", "Read", " none "), ""},
        {"molt empty", row("FLOAT32", "0", "4", "1.2.3.4", "1", "N", "", "1", "Read", ""),
         e + "!! Mult. Factor must be a valid Float"},
        {"rw empty", row("FLOAT32", "0", "4", "1.2.3.4", "1", "N", "", "1", "", "1"),
         e + "!! R/W must be Read or Write"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        Messages.clear();
        F->ACG_DA->SetCells(1, 1, "0");
        for (int i = 0; i < c.Cells.size(); ++i) F->ACG_DA->SetCells(i + 2, 1, c.Cells[i]);
        EXPECT_EQ(F->Controllo_dati(), c.Message.isEmpty());
        EXPECT_EQ(MessageTexts().join("\n"), c.Message);
    }
}

TEST_F(IEC_61850_AccessTest, DataSetRowsAndMembersAreValidated) {
    AddSmall();
    Pick("IED1/LD0/LLN0/DS1");
    F->Btn_AddVarClick(nullptr);
    // Typed into the member grid, as the user does.
    auto set_members = [&](const char* Position, const char* Bit, const char* Molt) {
        for (int r = 1; r <= 2; ++r) {
            F->ACG_DS_Vars->SetCells(3, r, Position);
            F->ACG_DS_Vars->SetCells(4, r, Bit);
            F->ACG_DS_Vars->SetCells(6, r, Molt);
        }
    };
    struct Case {
        const char* Ip;
        const char* Port;
        const char* Time;
        const char* Position;
        const char* Bit;
        const char* Molt;
        QString Message;
    };
    const QString e = "Error DataSet row 1";
    const Case cases[] = {
        {"10.0.0.1", "102", "1000", "0", "0", "NONE", ""},
        {"10.0.0", "102", "1000", "0", "0", "NONE",
         e + "!! IP Address must be a valid TCP IP Address (Ex. 192.168.1.125)"},
        {"10.0.0.1", "-1", "1000", "0", "0", "NONE", e + "!! Port must be between 0 and 65535"},
        {"10.0.0.1", "102", "0", "0", "0", "NONE", e + "!! Time must be between 1 and 100000000 ms"},
        {"10.0.0.1", "102", "1", "1400", "0", "NONE", e + " member 1!! Position must be between 0 and 1399"},
        {"10.0.0.1", "102", "1", "0", "8", "NONE", e + " member 1!! Start Bit must be between 0 and 7"},
        {"10.0.0.1", "102", "1", "0", "0", "x", e + " member 1!! Mult. Factor must be a valid Float"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Message.toStdString());
        Messages.clear();
        F->ACG_DataSet->SetCells(5, 1, c.Ip);
        F->ACG_DataSet->SetCells(6, 1, c.Port);
        F->ACG_DataSet->SetCells(7, 1, c.Time);
        set_members(c.Position, c.Bit, c.Molt);
        EXPECT_EQ(F->Controllo_dati(), c.Message.isEmpty());
        EXPECT_EQ(MessageTexts().join("\n"), c.Message);
    }
}

TEST_F(IEC_61850_AccessTest, OkWritesTheMappingAndCanonicalAddresses) {
    AddSmall();
    Pick("IED1/LD0/MMXU1/TotW/mag/f");
    F->Btn_AddVarClick(nullptr);
    Fill_Variable(1, " 192.168.001.010 ", "102", "0", "Read");
    F->ACG_DA->SetCells(18, 1, "a&b<c\"d'");
    Pick("IED1/LD0/LLN0/DS1");
    F->Btn_AddVarClick(nullptr);
    F->ACG_DataSet->SetCells(5, 1, "10.0.0.1");
    F->ACG_DataSet->SetCells(6, 1, "102");
    F->ACG_DataSet->SetCells(7, 1, "500");
    for (int r = 1; r <= 2; ++r) {
        F->ACG_DS_Vars->SetCells(3, r, QString::number(10 + 4 * r));
        F->ACG_DS_Vars->SetCells(4, r, "0");
        F->ACG_DS_Vars->SetCells(6, r, "NONE");
    }
    F->Btn_OKClick(nullptr);
    EXPECT_EQ(F->ModalResult(), mrOk) << MessageTexts().join("\n").toStdString();
    const QByteArray written = ReadFile("PROJECTS/P1/IEC_61850_Client.xml");
    const QByteArray expected =
        "<IEC_68850_Client>\n"
        "\t<List_ICD_Files>\n"
        "\t\t<ICD_File Name=\"IED1\" FileName=\"small.icd\" />\n"
        "\t</List_ICD_Files>\n"
        "\t<List_DA_Selected>\n"
        "\t\t<DA_Item Index=\"0\" bType=\"FLOAT32\" fc=\"MX\" Reference=\"IED1LD0/MMXU1.TotW.mag.f\" "
        "StartByte=\"0\" "
        "NumByte=\"4\" IPAddress=\"192.168.1.10\" Port=\"102\" OnChange=\"N\" OnCMD=\"N\" OnTimer=\"N\" "
        "Time=\"\" "
        "Position=\"0\" StartBit=\"0\" ReadWrite=\"Read\" Convertion=\"None\" MoltFact=\"NONE\" "
        "Mnemonic=\"a&amp;b&lt;c&quot;d'\" />\n"
        "\t</List_DA_Selected>\n"
        "\t<List_DataSet_Selected>\n"
        "\t\t<DataSet_Item Index=\"0\" Reference=\"IED1LD0/LLN0.DS1\" GooseName=\"GC1\" EnGoose=\"Y\" "
        "IPAddress=\"10.0.0.1\" Port=\"102\" Time=\"500\" Mnemonic=\"\">\n"
        "\t\t\t<DataSet_List_DAs>\n"
        "\t\t\t\t<DataSet_DA_Item bType=\"FLOAT32\" Reference=\"IED1LD0/MMXU1.TotW.mag.f\" Position=\"14\" "
        "StartBit=\"0\" Convertion=\"\" MoltFact=\"NONE\" Mnemonic=\"\" />\n"
        "\t\t\t\t<DataSet_DA_Item bType=\"Quality\" Reference=\"IED1LD0/MMXU1.TotW.q\" Position=\"18\" "
        "StartBit=\"0\" Convertion=\"\" MoltFact=\"NONE\" Mnemonic=\"\" />\n"
        "\t\t\t</DataSet_List_DAs>\n"
        "\t\t</DataSet_Item>\n"
        "\t</List_DataSet_Selected>\n"
        "</IEC_68850_Client>\n"
        "<!--SW_VERSION = 1.000-->\n";
    EXPECT_EQ(QString::fromUtf8(written), QString::fromUtf8(expected));

    // Shown again, the window reads back what it wrote, attribute by attribute.
    const TIEC_Client_Mapping before = F->Build_Mapping();
    F->FormShow(nullptr);
    EXPECT_TRUE(F->Load_Complete());
    EXPECT_EQ(F->Build_Mapping(), before);
    EXPECT_EQ(F->ACG_DA->Cells(18, 1), "a&b<c\"d'");
    // Cancel writes nothing: the file stays as it is.
    F->ACG_DA->SetCells(18, 1, "changed");
    EXPECT_EQ(ReadFile("PROJECTS/P1/IEC_61850_Client.xml"), written);
}

TEST_F(IEC_61850_AccessTest, CatalogAddReplaceAndRemove) {
    const QString source = FDir.filePath("small.icd");
    Add(source);
    EXPECT_TRUE(QFile::exists(Project("ICD_Catalog/small.icd")));
    ASSERT_EQ(F->List_IEC_Dev.size(), 1u);
    // Same name again: Cancel adds nothing, No decodes the catalog copy, Yes replaces it.
    Messages.clear();
    Add(source, mrCancel);
    EXPECT_EQ(F->List_IEC_Dev.size(), 1u);
    ASSERT_EQ(Messages.size(), 1u);
    EXPECT_EQ(Messages[0].Msg, "File already exists in catalog directory. Do you want to overwrite file?");
    WriteFile("small.icd", QByteArray(Small_SCL).replace("IED1", "IED2"));
    Add(source, mrNo);
    ASSERT_EQ(F->List_IEC_Dev.size(), 2u);
    EXPECT_EQ(F->List_IEC_Dev[1]->Name(), "IED1");
    Add(source, mrYes);
    ASSERT_EQ(F->List_IEC_Dev.size(), 3u);
    EXPECT_EQ(F->List_IEC_Dev[2]->Name(), "IED2");
    // A damaged file: a message, the catalog copy and the list as they were.
    WriteFile("bad.icd", "<SCL><IED");
    Messages.clear();
    Add(FDir.filePath("bad.icd"));
    EXPECT_EQ(F->List_IEC_Dev.size(), 3u);
    EXPECT_EQ(Messages.size(), 1u);
    // A file that holds no IED decodes to an empty device, added with an empty name.
    WriteFile("empty.xml", "<SCL/>");
    Messages.clear();
    Add(FDir.filePath("empty.xml"));
    ASSERT_EQ(F->List_IEC_Dev.size(), 4u);
    EXPECT_EQ(F->List_IEC_Dev[3]->Name(), "");
    EXPECT_TRUE(Messages.empty());
    F->LB_IEC_Devices->SetItemIndex(3);
    F->Btn_Remove_IEC_DeviceClick(nullptr);
    ASSERT_EQ(F->List_IEC_Dev.size(), 3u);
    // A file that cannot be read: a message and no device.
    Messages.clear();
    Add(FDir.filePath("nothing-here.icd"));
    EXPECT_EQ(F->List_IEC_Dev.size(), 3u);
    ASSERT_EQ(Messages.size(), 1u);
    EXPECT_TRUE(Messages[0].Msg.startsWith("Error!!! The file cannot be copied into the catalog folder"))
        << Messages[0].Msg.toStdString();

    // Rows use devices 1 and 2: removing device 1 is refused (by the Index cell, and by the
    // data-set entry alone), device 0 goes and the rows' Index values follow.
    Choose(2);
    Pick("IED2/LD0/MMXU1/TotW/q");
    F->Btn_AddVarClick(nullptr);
    Choose(1);
    Pick("IED1/LD0/LLN0/DS1");
    F->Btn_AddVarClick(nullptr);
    F->LB_IEC_Devices->SetItemIndex(1);
    F->Btn_Remove_IEC_DeviceClick(nullptr);
    EXPECT_EQ(F->List_IEC_Dev.size(), 3u);
    F->ACG_DataSet->SetCells(1, 1, "7"); // the cell says otherwise; the entry still holds device 1
    F->Btn_Remove_IEC_DeviceClick(nullptr);
    EXPECT_EQ(F->List_IEC_Dev.size(), 3u);
    F->ACG_DataSet->SetCells(1, 1, "1");
    Choose(0);
    ASSERT_NE(F->TV_IEC_Device->Items()->Count(), 0);
    F->Btn_Remove_IEC_DeviceClick(nullptr);
    ASSERT_EQ(F->List_IEC_Dev.size(), 2u);
    EXPECT_EQ(F->ACG_DA->Cells(1, 1), "1");
    EXPECT_EQ(F->ACG_DataSet->Cells(1, 1), "0");
    EXPECT_EQ(F->List_DataSet[0]->Device, 0);
    // The removed device was the one shown: the tree is empty.
    EXPECT_EQ(F->TV_IEC_Device->Items()->Count(), 0);
    EXPECT_EQ(F->NODE_ORIG, nullptr);
}

TEST_F(IEC_61850_AccessTest, UnreadableCatalogFilesKeepTheirPlace) {
    QDir().mkpath(Project("ICD_Catalog"));
    QFile::copy(FDir.filePath("small.icd"), Project("ICD_Catalog/a.icd"));
    QFile::copy(FDir.filePath("small.icd"), Project("ICD_Catalog/c.icd"));
    WriteFile("PROJECTS/P1/ICD_Catalog/bad.icd", "<SCL><IED");
    const QByteArray file = "<IEC_68850_Client><List_ICD_Files>"
                            "<ICD_File Name=\"A\" FileName=\"a.icd\"/>"
                            "<ICD_File Name=\"B\" FileName=\"gone.icd\"/>"
                            "<ICD_File Name=\"X\" FileName=\"../../outside.icd\"/>"
                            "<ICD_File Name=\"D\" FileName=\"bad.icd\"/>"
                            "<ICD_File Name=\"C\" FileName=\"c.icd\"/>"
                            "</List_ICD_Files><List_DA_Selected/>"
                            "<List_DataSet_Selected>"
                            "<DataSet_Item Index=\"4\" Reference=\"IED1LD0/LLN0.DS1\" GooseName=\"GC1\" "
                            "EnGoose=\"Y\" IPAddress=\"1.1.1.1\" "
                            "Port=\"1\" Time=\"1\" Mnemonic=\"\"><DataSet_List_DAs>"
                            "<DataSet_DA_Item bType=\"FLOAT32\" Reference=\"IED1LD0/MMXU1.TotW.mag.f\" "
                            "Position=\"1\" StartBit=\"0\" "
                            "Convertion=\"None\" MoltFact=\"NONE\" Mnemonic=\"m\"/>"
                            "<DataSet_DA_Item bType=\"INT32\" Reference=\"IED1LD0/old\" Position=\"2\" "
                            "StartBit=\"3\" Convertion=\"x\" "
                            "MoltFact=\"2\" Mnemonic=\"kept\"/>"
                            "</DataSet_List_DAs></DataSet_Item>"
                            "<DataSet_Item Index=\"1\" Reference=\"IED9LD0/LLN0.DSX\" GooseName=\"\" "
                            "EnGoose=\"N\" IPAddress=\"bad\" "
                            "Port=\"\" Time=\"\" Mnemonic=\"lost?\"><DataSet_List_DAs>"
                            "<DataSet_DA_Item bType=\"BOOLEAN\" Reference=\"r &amp; s\" Position=\"9\" "
                            "StartBit=\"\" Mnemonic=\"\"/>"
                            "</DataSet_List_DAs></DataSet_Item>"
                            "</List_DataSet_Selected></IEC_68850_Client>";
    WriteFile("PROJECTS/P1/IEC_61850_Client.xml", file);
    Messages.clear();
    F->FormShow(nullptr);
    ASSERT_EQ(F->List_IEC_Dev.size(), 5u);
    EXPECT_EQ(F->List_IEC_Dev[4]->Name(), "IED1");
    for (int k : {1, 2, 3}) EXPECT_TRUE(F->Is_Placeholder(k)) << k;
    EXPECT_EQ(F->LB_IEC_Devices->Items()->Strings(1), "gone.icd (not available)");
    ASSERT_EQ(Messages.size(), 1u);
    for (const char* name : {"gone.icd", "../../outside.icd", "bad.icd"})
        EXPECT_TRUE(Messages[0].Msg.contains(name));
    // Row 1 found its data set in device 4; its second member did not match and is kept.
    ASSERT_EQ(F->List_DataSet.size(), 2u);
    EXPECT_NE(F->List_DataSet[0]->Select_DataSet, nullptr);
    EXPECT_FALSE(F->List_DataSet[0]->List_DAs[0]->Unmatched);
    EXPECT_TRUE(F->List_DataSet[0]->List_DAs[1]->Unmatched);
    EXPECT_TRUE(F->List_DataSet[1]->Unmatched);
    EXPECT_TRUE(F->ACG_DataSet->ReadOnly(5, 2));
    F->ACG_DataSet->SetRow(1);
    F->Show_DataSet_DAs();
    EXPECT_TRUE(F->ACG_DS_Vars->ReadOnly(3, 2));
    EXPECT_EQ(F->ACG_DS_Vars->Cells(7, 2), "kept");
    const String keptHint = "Not found in the device model: kept as loaded and written back unchanged";
    String hint;
    F->ACG_DAGridHint(F->ACG_DS_Vars, 2, 3, hint);
    EXPECT_EQ(hint, keptHint);
    hint.clear();
    F->ACG_DAGridHint(F->ACG_DS_Vars, 1, 3, hint);
    EXPECT_EQ(hint, "");
    F->ACG_DAGridHint(F->ACG_DataSet, 2, 1, hint);
    EXPECT_EQ(hint, keptHint);
    // OK passes over the kept rows and writes everything back unchanged.
    F->List_DataSet[0]->List_DAs[0]->Position = "1";
    F->Btn_OKClick(nullptr);
    EXPECT_EQ(F->ModalResult(), mrOk) << MessageTexts().join("\n").toStdString();
    TXMLDocument doc(nullptr);
    const TIEC_Client_Mapping original = [&] {
        TXMLDocument d(nullptr);
        d.LoadFromXML(file);
        return Read_IEC_Client_Mapping(d);
    }();
    const TIEC_Client_Mapping written = Load_IEC_Client_Mapping(doc, File_IEC_61850_Client);
    ASSERT_EQ(written.ICD_Files.size(), 5u);
    // Decoded devices are written with their IED names, placeholders as they were read.
    EXPECT_EQ(written.ICD_Files[0].Value("Name"), "IED1");
    EXPECT_EQ(written.ICD_Files[4].Value("FileName"), "c.icd");
    for (size_t k = 1; k < 4; ++k) EXPECT_EQ(written.ICD_Files[k], original.ICD_Files[k]) << k;
    ASSERT_EQ(written.DataSets.size(), 2u);
    EXPECT_EQ(written.DataSets[0].Members[1], original.DataSets[0].Members[1]);
    EXPECT_EQ(written.DataSets[1].Attrs, original.DataSets[1].Attrs);
    EXPECT_EQ(written.DataSets[1].Members, original.DataSets[1].Members);
    EXPECT_FALSE(QFile::exists(FDir.filePath("outside.icd")));
}

TEST_F(IEC_61850_AccessTest, PartialLoadIsNotOverwrittenWithoutAsking) {
    const QByteArray good_item =
        "<DA_Item Index=\"0\" bType=\"FLOAT32\" fc=\"MX\" Reference=\"R\" IPAddress=\"1.1.1.1\" Port=\"1\" "
        "OnChange=\"N\" OnCMD=\"N\" OnTimer=\"N\" Time=\"\" Position=\"0\" StartBit=\"0\" ReadWrite=\"Read\" "
        "Convertion=\"None\" MoltFact=\"NONE\" Mnemonic=\"\"/>";
    const QByteArray files[] = {
        // a required attribute missing
        "<IEC_68850_Client><List_ICD_Files/><List_DA_Selected>" + good_item +
            "<DA_Item Index=\"0\" bType=\"FLOAT32\"/></List_DA_Selected></IEC_68850_Client>",
        // a data-set Index that is no integer
        "<IEC_68850_Client><List_ICD_Files/><List_DA_Selected>" + good_item +
            "</List_DA_Selected><List_DataSet_Selected><DataSet_Item Index=\"1a\" Reference=\"R\" "
            "GooseName=\"\" "
            "EnGoose=\"N\" IPAddress=\"\" Port=\"\" Time=\"\" "
            "Mnemonic=\"\"><DataSet_List_DAs/></DataSet_Item>"
            "</List_DataSet_Selected></IEC_68850_Client>",
        // a file the parser rejects
        "<IEC_68850_Client><List_ICD_Files>",
    };
    for (const QByteArray& file : files) {
        SCOPED_TRACE(file.toStdString());
        WriteFile("PROJECTS/P1/IEC_61850_Client.xml", file);
        SetMessageDlgHook([this](const TMessageDlgRequest& R) {
            Messages.push_back(R);
            return mrOk;
        });
        Messages.clear();
        F->FormShow(nullptr);
        EXPECT_FALSE(F->Load_Complete());
        ASSERT_EQ(Messages.size(), 1u);
        EXPECT_TRUE(Messages[0].Msg.startsWith("Error!!! The mapping file could not be read completely"));
        // OK asks; No keeps the file.
        F->ACG_DA->SetRowCount(2);
        SetMessageDlgHook([this](const TMessageDlgRequest& R) {
            Messages.push_back(R);
            return R.DlgType == mtConfirmation ? mrNo : mrOk;
        });
        Messages.clear();
        F->SetModalResult(mrNone);
        F->Btn_OKClick(nullptr);
        ASSERT_EQ(Messages.size(), 1u);
        EXPECT_EQ(Messages[0].DlgType, mtConfirmation);
        EXPECT_NE(F->ModalResult(), mrOk);
        EXPECT_EQ(ReadFile("PROJECTS/P1/IEC_61850_Client.xml"), file);
    }
}

TEST_F(IEC_61850_AccessTest, EverySampleFileCanBeAddedAndShown) {
    SKIP_WITHOUT_TESTDATA("scl");
    const QString folder = TestDataPath("scl");
    QDirIterator it(folder, QDir::Files);
    int k = 0;
    while (it.hasNext()) {
        const QString path = it.next();
        SCOPED_TRACE(path.toStdString());
        Messages.clear();
        Add(path);
        ASSERT_EQ(F->List_IEC_Dev.size(), size_t(k + 1));
        Choose(k);
        EXPECT_GT(F->TV_IEC_Device->Items()->Count(), 1);
        EXPECT_EQ(F->TV_IEC_Device->Items()->GetFirstNode()->Text(), F->List_IEC_Dev[size_t(k)]->Name());
        ++k;
    }
    EXPECT_GT(k, 0);
}

TEST_F(IEC_61850_AccessTest, LayoutAndTexts) {
    F->Show();
    F->PC_DA_DataSet->SetActivePage(F->TS_DataSet);
    EXPECT_EQ(F->ClientWidth(), 1200);
    EXPECT_EQ(F->ClientHeight(), 550);
    EXPECT_EQ(F->Color(), TColor(15595512));
    EXPECT_EQ(F->PDevIEC->Width(), 465);
    EXPECT_EQ(F->PDevIECList->Width(), 161);
    EXPECT_EQ(F->P_DataSet_List->Height(), 185);
    EXPECT_FALSE(F->Btn_MoveUp->Visible());
    EXPECT_FALSE(F->Btn_ModeDown->Visible());
    // The member grid fills the page below the data-set grid and its splitter.
    const TRect vars = F->P_DataSet_Vars_List->BoundsRect();
    EXPECT_EQ(vars.Top, 188);
    EXPECT_EQ(vars.Bottom, F->TS_DataSet->ClientHeight());
    EXPECT_EQ(F->ACG_DS_Vars->Height(), vars.Bottom - vars.Top);
    for (TAdvColumnGrid* g : {F->ACG_DA, F->ACG_DataSet, F->ACG_DS_Vars}) {
        EXPECT_EQ(g->RowHeights(0), 22);
        EXPECT_EQ(g->ColWidths(0), 40);
    }
    EXPECT_EQ(F->Caption(), "ZED61850 Urerod Set Access");
    EXPECT_EQ(F->ACG_DA->Cells(17, 0), "Molt Fact");
    EXPECT_EQ(F->ACG_DS_Vars->Cells(6, 0), "Mult Fact");
    EXPECT_EQ(F->Btn_Add_IEC_Device->Caption(), "Add IEC Device");
    // Each grid has its own header hints; data cells and column 0 keep the grid's own.
    struct Case {
        TAdvColumnGrid* Grid;
        int Row, Col;
        const char* Hint;
    };
    const Case cases[] = {
        {F->ACG_DA, 0, 5, "First byte of the value to map"},
        {F->ACG_DA, 0, 15, "Read the value from the server or write it to the server"},
        {F->ACG_DataSet, 0, 3, "Name of the GOOSE control block of the data set"},
        {F->ACG_DS_Vars, 0, 3, "Byte position in the internal data array"},
        {F->ACG_DA, 0, 0, "keep"},
        {F->ACG_DA, 1, 5, "keep"},
    };
    for (const Case& c : cases) {
        String hint = "keep";
        F->ACG_DAGridHint(c.Grid, c.Row, c.Col, hint);
        EXPECT_EQ(hint, c.Hint) << c.Row << "," << c.Col;
    }
    // The file dialog's filter: SCL files and any file.
    EXPECT_EQ(F->OD_IcdFile->Filter,
              "SCL Files (*.scd, *.ssd, *.sed, *.icd, *.iid, *.cid)|*.scd; *.ssd; *.sed; "
              "*.icd; *.iid; *.cid;|Any File (*.*)|*.*");
    F->Hide();
}

TEST_F(IEC_61850_AccessTest, CatalogFolderThatCannotBeMadeAddsNothing) {
    WriteFile("PROJECTS/P1/ICD_Catalog", "a file where the folder should be");
    Add(FDir.filePath("small.icd"));
    EXPECT_TRUE(F->List_IEC_Dev.empty());
    ASSERT_EQ(Messages.size(), 1u);
    EXPECT_TRUE(Messages[0].Msg.startsWith("Error!!! The catalog folder cannot be created"))
        << Messages[0].Msg.toStdString();
    EXPECT_EQ(ReadFile("PROJECTS/P1/ICD_Catalog"), "a file where the folder should be");
}

TEST_F(IEC_61850_AccessTest, RowNumberClickActsOnTheGridClicked) {
    AddSmall();
    Pick("IED1/LD0/MMXU1/TotW/q");
    for (int i = 0; i < 3; ++i) F->Btn_AddVarClick(nullptr);
    F->ACG_DA->SetCells(18, 2, "second");
    F->ClickCell(F->ACG_DA, 2, 0);
    EXPECT_EQ(F->ACG_DA->Row(), 2);
    F->Btn_RemoveVarClick(nullptr);
    ASSERT_EQ(F->ACG_DA->RowCount(), 3);
    EXPECT_EQ(F->ACG_DA->Cells(18, 1), "");
    EXPECT_EQ(F->ACG_DA->Cells(18, 2), "");
    EXPECT_EQ(F->ACG_DA->Cells(0, 2), "2");
    // A click on the variables grid leaves the data-set grid's current row alone.
    Pick("IED1/LD0/LLN0/DS1");
    F->Btn_AddVarClick(nullptr);
    F->Btn_AddVarClick(nullptr);
    F->ClickCell(F->ACG_DataSet, 1, 0);
    F->ClickCell(F->ACG_DA, 2, 0);
    EXPECT_EQ(F->ACG_DataSet->Row(), 1);
    EXPECT_EQ(F->Shown_Entry(), F->List_DataSet[0].get());
}

TEST_F(IEC_61850_AccessTest, OkStoresAnOpenMemberEdit) {
    F->Show();
    AddSmall();
    Pick("IED1/LD0/LLN0/DS1");
    F->Btn_AddVarClick(nullptr);
    F->ACG_DS_Vars->SetFocus();
    F->ACG_DS_Vars->MoveCurrentCell(3, 2);
    F->ACG_DS_Vars->ShowInplaceEdit();
    ASSERT_NE(F->ACG_DS_Vars->InplaceEditor(), nullptr);
    TypeKeys(F->ACG_DS_Vars->InplaceEditor(), "33");
    ASSERT_EQ(F->ACG_DS_Vars->InplaceEditor()->Text(), "33");
    ASSERT_EQ(F->ACG_DS_Vars->Cells(3, 2), "");
    F->Btn_OKClick(nullptr); // fails validation, but the edit is stored first
    EXPECT_EQ(F->List_DataSet[0]->List_DAs[1]->Position, "33");
    EXPECT_EQ(F->List_DataSet[0]->List_DAs[0]->Position, "");
    F->Hide();
}

TEST_F(IEC_61850_AccessTest, UnresolvedMembersAreReportedWhenAFileIsAdded) {
    WriteFile("warn.icd", QByteArray(Small_SCL).replace("daName=\"q\"", "daName=\"nothing\""));
    Add(FDir.filePath("warn.icd"));
    ASSERT_EQ(F->List_IEC_Dev.size(), 1u);
    ASSERT_FALSE(F->List_IEC_Dev[0]->Warnings().isEmpty());
    ASSERT_EQ(Messages.size(), 1u);
    EXPECT_EQ(Messages[0].DlgType, mtWarning);
    EXPECT_TRUE(Messages[0].Msg.startsWith("Some data-set members of this file could not be resolved:"));
    EXPECT_TRUE(Messages[0].Msg.contains(F->List_IEC_Dev[0]->Warnings().first()));
}
