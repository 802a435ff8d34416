// The IEC61850 Access step as a new user takes it: a new project, Set Communication, the mapping
// window with a real SCL file, a variable and a data set mapped, OK, then Update Device UDP; the
// images equal those built from a hand-written mapping file holding the same rows.
#include "TestSupport.h"
#include "TreeClick.h"
#include "UCompile_Bin.h"
#include "UIEC_Device.h"
#include "WindowFixture.h"

namespace {

TTreeNode* NodeAt(TTreeView* Tree, const QStringList& Path) {
    TTreeNode* node = Tree->Items()->GetFirstNode();
    if (!node || node->Text() != Path[0]) return nullptr;
    for (int p = 1; node && p < Path.size(); ++p) {
        TTreeNode* next = nullptr;
        for (int i = 0; i < node->Count(); ++i)
            if (node->Item(i)->Text() == Path[p]) next = node->Item(i);
        node = next;
    }
    return node;
}

void ClickNode(TTreeView* Tree, TTreeNode* Node) {
    ASSERT_TRUE(ClickTreeNode(Tree, Node));
}

QByteArray ReadAll(const QString& Path) {
    QFile f(Path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace

class IEC61850StepTest : public WindowsTest {};

TEST_F(IEC61850StepTest, NewUserMapsAVariableAndADataSetThenUpdates) {
    SKIP_WITHOUT_TESTDATA("scl/sampleModel_with_dataset.icd");
    const QString scl = TestDataPath("scl/sampleModel_with_dataset.icd");
    Start();
    ASSERT_EQ(::Create_New_Project("Plant1"), nprCreated);
    ClickThen(Main()->Btn_Prm_Gen, [] { FParGen->Btn_OK->Click(); });

    TFileDialogHook oldFile = SetFileDialogHook([&](TOpenDialog* Dialog, bool Save) {
        EXPECT_FALSE(Save);
        Dialog->FileName = scl;
        return true;
    });
    int members = 0;
    bool shown = false;
    ClickThen(Main()->Btn_IEC61850_Client, [&] {
        TFIEC_61850_Access* w = FIEC_61850_Access;
        shown = w->Visible();
        SimulateClick(w->Btn_Add_IEC_Device, 20, 14);
        ASSERT_EQ(w->LB_IEC_Devices->Count(), 1);
        w->LB_IEC_Devices->SetItemIndex(0);
        w->LB_IEC_DevicesClick(w->LB_IEC_Devices);
        ClickNode(w->TV_IEC_Device,
                  NodeAt(w->TV_IEC_Device, {"SampleIED", "Device1", "MMXU1", "Beh", "stVal"}));
        ASSERT_NE(w->Selected_IEC_DA, nullptr);
        EXPECT_EQ(w->Selected_IEC_DA->Reference(), "SampleIEDDevice1/MMXU1.Beh.stVal");
        SimulateClick(w->Btn_AddVar, 20, 14);
        ClickNode(w->TV_IEC_Device, NodeAt(w->TV_IEC_Device, {"SampleIED", "Device1", "LLN0", "dataset1"}));
        ASSERT_NE(w->Selected_IEC_DS, nullptr);
        SimulateClick(w->Btn_AddVar, 20, 14);
        if (const QByteArray dir = qgetenv("VELMORA_SCREENSHOT_DIR"); !dir.isEmpty())
            w->Widget()->grab().save(QString::fromLocal8Bit(dir) + "/iec61850_access.png");

        // The variable: address, port, position and R/W.
        w->ACG_DA->SetCells(7, 1, "192.168.2.10");
        w->ACG_DA->SetCells(8, 1, "102");
        w->ACG_DA->SetCells(13, 1, "0");
        w->ACG_DA->SetCells(14, 1, "0");
        w->ACG_DA->SetCells(15, 1, "Read");
        w->ACG_DA->SetCells(17, 1, "NONE");
        // The data set and its members, one position each after the variable.
        w->ACG_DataSet->SetCells(5, 1, "192.168.2.10");
        w->ACG_DataSet->SetCells(6, 1, "102");
        w->ACG_DataSet->SetCells(7, 1, "1000");
        members = w->ACG_DS_Vars->RowCount() - 1;
        for (int r = 1; r <= members; ++r) {
            w->ACG_DS_Vars->SetCells(3, r, QString::number(10 + r));
            w->ACG_DS_Vars->SetCells(4, r, "0");
            w->ACG_DS_Vars->SetCells(6, r, "NONE");
        }
        SimulateClick(w->Btn_OK, 20, 14);
        if (w->Visible()) w->Btn_Cancel->Click(); // a failed check leaves it open
    });
    SetFileDialogHook(oldFile);
    EXPECT_TRUE(shown);
    EXPECT_TRUE(Messages.empty()) << Shown().join("|").toStdString();
    EXPECT_EQ(members, 3);
    ASSERT_TRUE(QFileInfo::exists(In("PROJECTS/Plant1/IEC_61850_Client.xml")));

    ClickThen(Main()->Btn_CreateBin, [] { FBoot->Btn_Cancel->Click(); });
    const QByteArray bank1 = ReadAll(In("PROJECTS/Plant1/bin/bank1.bin"));
    const QByteArray bank2 = ReadAll(In("PROJECTS/Plant1/bin/bank2.bin"));
    ASSERT_EQ(bank1.size(), 2048);
    ASSERT_FALSE(bank2.isEmpty());

    // The same rows written by hand.
    Write("PROJECTS/Plant1/IEC_61850_Client.xml",
          "<IEC_68850_Client><List_ICD_Files>"
          "<ICD_File Name=\"SampleIED\" FileName=\"sampleModel_with_dataset.icd\"/></List_ICD_Files>"
          "<List_DA_Selected><DA_Item Index=\"0\" bType=\"INT32\" fc=\"ST\" "
          "Reference=\"SampleIEDDevice1/MMXU1.Beh.stVal\" StartByte=\"0\" NumByte=\"1\" "
          "IPAddress=\"192.168.2.10\" "
          "Port=\"102\" OnChange=\"N\" OnCMD=\"N\" OnTimer=\"N\" Time=\"\" Position=\"0\" StartBit=\"0\" "
          "ReadWrite=\"Read\" Convertion=\"\" MoltFact=\"NONE\" Mnemonic=\"\"/></List_DA_Selected>"
          "<List_DataSet_Selected><DataSet_Item Index=\"0\" Reference=\"SampleIEDDevice1/LLN0.dataset1\" "
          "GooseName=\"gcbDataset1\" EnGoose=\"Y\" IPAddress=\"192.168.2.10\" Port=\"102\" Time=\"1000\" "
          "Mnemonic=\"\"><DataSet_List_DAs>"
          "<DataSet_DA_Item bType=\"Quality\" Reference=\"SampleIEDDevice1/LLN0.Mod.q\" Position=\"11\" "
          "StartBit=\"0\" Convertion=\"\" MoltFact=\"NONE\" Mnemonic=\"\"/>"
          "<DataSet_DA_Item bType=\"Quality\" Reference=\"SampleIEDDevice1/MMXU1.Mod.q\" Position=\"12\" "
          "StartBit=\"0\" Convertion=\"\" MoltFact=\"NONE\" Mnemonic=\"\"/>"
          "<DataSet_DA_Item bType=\"Enum\" Reference=\"SampleIEDDevice1/MMXU1.Mod.ctlModel\" Position=\"13\" "
          "StartBit=\"0\" Convertion=\"\" MoltFact=\"NONE\" Mnemonic=\"\"/>"
          "</DataSet_List_DAs></DataSet_Item></List_DataSet_Selected></IEC_68850_Client>");
    Compile_Bin();
    Save_Bin();
    EXPECT_EQ(ReadAll(In("PROJECTS/Plant1/bin/bank1.bin")), bank1);
    EXPECT_EQ(ReadAll(In("PROJECTS/Plant1/bin/bank2.bin")), bank2);
}
