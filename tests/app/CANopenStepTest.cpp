// The CANopen steps as a new user meets them: the PDO step and the SDO server step of the main
// window (hidden in this build, so reached through the buttons' dispatch), rows typed into their
// grids, OK; then the EDS step with its save dialog answered, and the file it writes read by the
// outside checks.
#include "../fieldbus/OutsideChecks.h"
#include "KeyTyping.h"
#include "UCANopen_EDS.h"
#include "WindowFixture.h"

class CANopenStepTest : public WindowsTest {};

namespace {

// Types each text into the current cell of Grid and ends it with Enter (an empty text: Enter only).
void Type_Row(TAdvColumnGrid* Grid, int Row, const QStringList& Cells) {
    Grid->MoveCurrentCell(1, Row);
    for (const QString& text : Cells) {
        if (!text.isEmpty()) TypeKeys(Grid, text);
        SimulateKey(Grid, VK_RETURN, {}, Char(13));
    }
}

} // namespace

TEST_F(CANopenStepTest, PdoAndSdoServerTablesMakeTheEdsFile) {
    Start();
    ASSERT_EQ(::Create_New_Project("Plant1"), nprCreated);
    Enable_Jump_Field_Tables = true; // Enter goes on to the next cell
    ASSERT_FALSE(Main()->Btn_PDO_CANopen->Visible());

    bool shown = false;
    PostCall([&] {
        TFSet_PDO_Access* e = FSet_PDO_Access;
        shown = e->Visible();
        EXPECT_EQ(e->Caption(), "CANopen PDO Access");
        e->sga->SetFocus();
        // COB-ID, Dimension, Add B1 .. Add B8, TimeOut, Mnemonic
        Type_Row(e->sga, 1, {"0x181", "2", "0", "1", "", "", "", "", "", "", "100", "rx one"});
        EXPECT_EQ(e->sga->Row(), 2);
        EXPECT_EQ(e->sga->Col(), 1);
        Type_Row(e->sga, 2, {"0x182", "1", "2", "", "", "", "", "", "", "", "0", "rx two"});
        e->PageControl1->SetActivePage(e->TS_Transmit_PDO);
        e->sgb->SetFocus();
        // COB-ID, Dimension, Add B1 .. Add B8, Send Time, On Change, Mnemonic
        Type_Row(e->sgb, 1, {"0x201", "3", "10", "11", "12", "", "", "", "", "", "1000", "", "tx one"});
        e->sgb->SetCellEx(12, 1, "Y");
        SimulateClick(e->Btn_OK, 20, 14);
    });
    Main()->Btn_Click(Main()->Btn_PDO_CANopen);
    EXPECT_TRUE(shown);
    EXPECT_FALSE(FSet_PDO_Access->Visible());
    EXPECT_TRUE(Messages.empty()) << Shown().join("|").toStdString();
    const QByteArray pdo = Read("PROJECTS/Plant1/PDO_CANopen.xml");
    EXPECT_EQ(pdo.count("<row "), 3) << pdo.constData();
    EXPECT_TRUE(pdo.contains("Mnemonic=\"rx two\"")) << pdo.constData();
    EXPECT_TRUE(pdo.contains("Send_Time=\"1000\" On_Change=\"Y\" Mnemonic=\"tx one\"")) << pdo.constData();

    shown = false;
    PostCall([&] {
        TFSet_SDO_Server_Access* e = FSet_SDO_Server_Access;
        shown = e->Visible();
        e->sga->SetFocus();
        // Index, SubIndex, N Byte, Add Byte1 .. Add Byte4, Mnemonic
        Type_Row(e->sga, 1, {"0x2000", "1", "1", "20", "", "", "", "speed"});
        Type_Row(e->sga, 2, {"0x2000", "2", "2", "21", "22", "", "", "load"});
        e->PageControl1->SetActivePage(e->TS_SDO_Write);
        e->sgb->SetFocus();
        Type_Row(e->sgb, 1, {"0x2001", "1", "4", "30", "31", "32", "33", "set point"});
        SimulateClick(e->Btn_OK, 20, 14);
    });
    Main()->Btn_Click(Main()->Btn_SDO_Server_CANopen);
    EXPECT_TRUE(shown);
    EXPECT_TRUE(Messages.empty()) << Shown().join("|").toStdString();
    EXPECT_EQ(Read("PROJECTS/Plant1/SDO_Server_CANopen.xml").count("<row "), 3);

    // The EDS step: the save dialog answered with a file in the project folder.
    const QString target = In("PROJECTS/Plant1/device.eds");
    Write("PROJECTS/Plant1/device.eds", "an older file");
    QString initialDir;
    TFileDialogHook old = SetFileDialogHook([&](TOpenDialog* Dialog, bool Save) {
        EXPECT_TRUE(Save);
        initialDir = Dialog->InitialDir;
        Dialog->FileName = target;
        return true;
    });
    Main()->Btn_Click(Main()->Btn_CANopen_EDS);
    SetFileDialogHook(old);
    EXPECT_EQ(initialDir, Path_Project);
    EXPECT_TRUE(Messages.empty()) << Shown().join("|").toStdString(); // replaced without a question
    EXPECT_EQ(outside_check::EdsFaults(target), QString());
    const QStringList lines = QString::fromLatin1(Read("PROJECTS/Plant1/device.eds")).split("\r\n");
    for (const char* line :
         {"NrOfRXPDO=2", "NrOfTXPDO=1", "[1400sub1]", "DefaultValue=0x00000181", "DefaultValue=0x00000182",
          "[1800sub1]", "DefaultValue=0x00000201", "ParameterName=RPDO1", "ParameterName=RPDO2",
          "ParameterName=TPDO1", "[7050sub3]", "[ManufacturerObjects]", "1=0x2000", "2=0x2001", "[2000sub1]",
          "[2000sub2]", "[2001sub1]"})
        EXPECT_TRUE(lines.contains(QString::fromLatin1(line))) << line;
}

// A change of language reaches the three CANopen tables.
TEST_F(CANopenStepTest, ChangeLanguageReachesTheTables) {
    Start();
    Lang_Text.Set(1700, "PDO-Zugriff");
    Lang_Text.Set(1830, "Unterindex");
    Lang_Text.Set(1949, "Beschreibung des Objekts");
    Main()->Change_Language();
    EXPECT_EQ(FSet_PDO_Access->Caption(), "PDO-Zugriff");
    EXPECT_EQ(FSet_SDO_Client_Access->sgb->GetCellEx(3, 0), "Unterindex");
    EXPECT_EQ(FSet_SDO_Server_Access->Hint_SDO_Client_Write->Strings(7), "Beschreibung des Objekts");
}

// Each CANopen step opens its own table, with the read or receive page in front.
TEST_F(CANopenStepTest, EachStepOpensItsTable) {
    Start();
    ASSERT_EQ(::Create_New_Project("Plant1"), nprCreated);
    const struct {
        TLbButton* button;
        TFCANopenTables* editor;
    } steps[] = {{Main()->Btn_PDO_CANopen, FSet_PDO_Access},
                 {Main()->Btn_SDO_Client_CANopen, FSet_SDO_Client_Access},
                 {Main()->Btn_SDO_Server_CANopen, FSet_SDO_Server_Access}};
    for (const auto& s : steps) {
        TFCANopenTables* shown = nullptr;
        PostCall([&] {
            for (const auto& other : steps)
                if (other.editor->Visible()) shown = other.editor;
            EXPECT_EQ(s.editor->Current_Table(), 0);
            s.editor->Btn_Cancel->Click();
        });
        Main()->Btn_Click(s.button);
        EXPECT_EQ(shown, s.editor);
    }
    EXPECT_TRUE(Messages.empty()) << Shown().join("|").toStdString();
}
