// The BACnet steps as a new user takes them: the object tables through the main window's hidden
// step button, a unit picked by category with a double-click on the Eng. Unit cell, OK; then the
// EDE step with the save dialog answered, and the file read by python3's csv module.
#include "../fieldbus/OutsideChecks.h"
#include "UBACnetSlaveSetAccess.h"
#include "UBACnet_EDE.h"
#include "UBACnet_Eng_Unit.h"
#include "UKNXAccess.h"
#include "WindowFixture.h"

class BACnetStepTest : public WindowsTest {
protected:
    void SetUp() override {
        WindowsTest::SetUp();
        FOldNow = EDE_Now;
        EDE_Now = [] { return EncodeDate(2024, 3, 5) + EncodeTime(14, 7, 9, 0); };
    }
    void TearDown() override {
        FreeAndNil(FKNXAccess);
        FreeAndNil(FBACnetSlaveSetAccess);
        FreeAndNil(FBACnet_Eng_Unit);
        EDE_Now = FOldNow;
        WindowsTest::TearDown();
    }
    // The main block's windows, the BACnet and KNX windows in their places among them.
    void Start_All() {
        Start();
        FBACnet_Eng_Unit = new TFBACnet_Eng_Unit(nullptr);
        FBACnetSlaveSetAccess = new TFBACnetSlaveSetAccess(nullptr);
        FKNXAccess = new TFKNXAccess(nullptr);
    }
    static TPoint Centre(TAdvColumnGrid* G, int ACol, int ARow) {
        const TRect r = G->CellRect(ACol, ARow);
        return TPoint((r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2);
    }

private:
    std::function<TDateTime()> FOldNow;
};

TEST_F(BACnetStepTest, ObjectsEnteredThenEDEWritten) {
    Start_All();
    ASSERT_EQ(::Create_New_Project("Plant1"), nprCreated);
    // A project set up for BACnet names its device instance in the general parameters.
    {
        QFile f(In("PROJECTS/Plant1/ParGen.xml"));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write("<ParGen><BACnet_DEV_IDE>4711</BACnet_DEV_IDE></ParGen>");
    }
    ASSERT_FALSE(Main()->Btn_Set_BACnet_Access->Visible());
    TAdvColumnGrid* g = FBACnetSlaveSetAccess->ACG_BACnet_in_Read;
    bool shown = false, picked = false;
    PostCall([&] {
        shown = FBACnetSlaveSetAccess->Visible();
        EXPECT_EQ(FBACnetSlaveSetAccess->L_SW_Desc->Caption(), "BACnet Set Access");
        g->SetCellEx(1, 1, "Analog Input");
        g->SetCellEx(3, 1, "0");
        g->SetCellEx(5, 1, "4");
        g->SetCellEx(7, 1, "Room temperature 1");
        // The unit: Temperature, its first unit, through the picker.
        PostCall([&] {
            picked = FBACnet_Eng_Unit->Visible();
            EXPECT_EQ(FBACnet_Eng_Unit->Label5->Caption(), "-> unknown");
            FBACnet_Eng_Unit->CB_Select_Type->SetItemIndex(16);
            FBACnet_Eng_Unit->CB_Select_Type->OnSelect(FBACnet_Eng_Unit->CB_Select_Type);
            EXPECT_EQ(FBACnet_Eng_Unit->CB_Select_Unit->Text(), "degrees-Celsius");
            SimulateClick(FBACnet_Eng_Unit->Btn_Select_Eng_Unit, 20, 14);
            EXPECT_EQ(FBACnet_Eng_Unit->Label5->Caption(), "-> degrees-Celsius");
            SimulateClick(FBACnet_Eng_Unit->Btn_OK, 20, 14);
        });
        g->SetFocus();
        const TPoint p = Centre(g, 2, 1);
        SimulateDblClick(g, mbLeft, {}, p.X, p.Y);
        EXPECT_EQ(g->GetCellEx(2, 1), "62");
        g->SetCellEx(1, 2, "Binary Value");
        g->SetCellEx(2, 2, "95");
        g->SetCellEx(3, 2, "4");
        g->SetCellEx(4, 2, "0");
        g->SetCellEx(7, 2, "Pump running");
        SimulateClick(FBACnetSlaveSetAccess->Btn_OK, 20, 14);
    });
    Main()->Btn_Click(Main()->Btn_Set_BACnet_Access);
    EXPECT_TRUE(shown);
    EXPECT_TRUE(picked);
    EXPECT_FALSE(FBACnetSlaveSetAccess->Visible());
    EXPECT_TRUE(Messages.empty()) << Shown().join("|").toStdString();
    const QByteArray table = Read("PROJECTS/Plant1/BACnet_Slave_SetAccess.xml");
    EXPECT_TRUE(table.contains("Data_Type=\"Analog Input\" Eng_Unit=\"62\"")) << table.constData();

    // The EDE step, the save dialog answered with a name without its extension.
    const QString chosen = In("PROJECTS/Plant1/objects");
    TFileDialogHook old = SetFileDialogHook([&](TOpenDialog* Dialog, bool Save) {
        EXPECT_TRUE(Save);
        Dialog->FileName = chosen;
        return true;
    });
    Main()->Btn_Click(Main()->Btn_BACnet_EDE_File);
    SetFileDialogHook(old);
    EXPECT_TRUE(Messages.empty()) << Shown().join("|").toStdString();
    const QString ede = chosen + ".csv";
    ASSERT_TRUE(QFileInfo::exists(ede));
    EXPECT_EQ(outside_check::EdeObjects(ede, true), 2);
    QFile f(ede);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QStringList lines = QString::fromLatin1(f.readAll()).split("\r\n");
    EXPECT_EQ(lines.value(7), "4711_Room temperature 1_0;4711;Room temperature;0;0;Room temperature;62;");
    EXPECT_EQ(lines.value(8), "4711_Pump running_0;4711;Pump running;5;0;Pump running;95;");
}

// A change of language reaches the BACnet and KNX windows.
TEST_F(BACnetStepTest, ChangeLanguageReachesTheTables) {
    Start_All();
    Lang_Text.Set(1308, "BACnet lesen");
    Lang_Text.Set(2417, "Ziel/Gruppe");
    Lang_Text.Set(1404, "Gewaehlte Einheit");
    Main()->Change_Language();
    EXPECT_EQ(FBACnetSlaveSetAccess->PageControl1->Pages(0)->Caption(), "BACnet lesen");
    EXPECT_EQ(FKNXAccess->ACG_KNX_in_Write->Columns()->Items(3)->Header(), "Ziel/Gruppe");
    EXPECT_EQ(FBACnet_Eng_Unit->Label1->Caption(), "Gewaehlte Einheit");
}

// The KNX step opens its table from the hidden button.
TEST_F(BACnetStepTest, KNXStepOpensItsTable) {
    Start_All();
    ASSERT_EQ(::Create_New_Project("Plant1"), nprCreated);
    ASSERT_FALSE(Main()->Btn_KNX_Access->Visible());
    bool shown = false;
    PostCall([&] {
        shown = FKNXAccess->Visible();
        FKNXAccess->Btn_Cancel->Click();
    });
    Main()->Btn_Click(Main()->Btn_KNX_Access);
    EXPECT_TRUE(shown);
}
