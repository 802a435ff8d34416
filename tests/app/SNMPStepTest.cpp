// The SNMP and MQTT steps as a new user meets them: the SNMP objects step of the main window
// (hidden in this build, so reached through the buttons' dispatch), two read objects and one
// write object entered, OK; then the MIB step with its save dialog answered, the module passing
// the MIB compiler; and the MQTT topics with the template dialog open.
#include "../fieldbus/OutsideChecks.h"
#include "KeyTyping.h"
#include "WindowFixture.h"
#include "WindowImage.h"

#include <QImage>

class SNMPStepTest : public WindowsTest {};

TEST_F(SNMPStepTest, ObjectsEnteredThenTheMibWritten) {
    Start();
    ASSERT_EQ(::Create_New_Project("Plant1"), nprCreated);
    ASSERT_FALSE(Main()->Btn_SNMP_Trap->Visible());
    bool shown = false;
    PostCall([&] {
        shown = FSNMP_Trap_Access->Visible();
        TAdvColumnGrid* r = FSNMP_Trap_Access->ACG_SNMP_Read;
        TAdvColumnGrid* w = FSNMP_Trap_Access->ACG_SNMP_Write;
        const QStringList read1 = {"Y",  "Harbor", "Int",           "Y",   "N", "N", "", "10", "0",
                                   "16", "temp1",  "192.168.1.125", "None"};
        QStringList read2 = read1;
        read2[2] = "String";
        read2[10] = "label";
        const QStringList write1 = {"Y", "Lantern", "Int", "20", "0", "8", "setp", "None"};
        for (int c = 0; c < read1.size(); ++c) {
            r->SetCellEx(c + 1, 1, read1[c]);
            r->SetCellEx(c + 1, 2, read2[c]);
        }
        for (int c = 0; c < write1.size(); ++c) w->SetCellEx(c + 1, 1, write1[c]);
        SimulateClick(FSNMP_Trap_Access->Btn_OK, 20, 14);
    });
    Main()->Btn_Click(Main()->Btn_SNMP_Trap);
    EXPECT_TRUE(shown);
    EXPECT_FALSE(FSNMP_Trap_Access->Visible());
    EXPECT_TRUE(Messages.empty()) << Shown().join("|").toStdString();
    EXPECT_EQ(Read("PROJECTS/Plant1/SNMP_Trap.xml").count("<row "), 3);

    const QString mib = In("PROJECTS/Plant1/agent.mib");
    QString initialDir;
    TFileDialogHook old = SetFileDialogHook([&](TOpenDialog* Dialog, bool) {
        initialDir = Dialog->InitialDir;
        Dialog->FileName = mib;
        return true;
    });
    Main()->Btn_Click(Main()->Btn_SNMP_MIB);
    SetFileDialogHook(old);
    EXPECT_TRUE(Messages.empty()) << Shown().join("|").toStdString();
    const QString text = QString::fromLatin1(Read("PROJECTS/Plant1/agent.mib"));
    EXPECT_TRUE(text.contains("temp1 OBJECT-TYPE SYNTAX INTEGER MAX-ACCESS read-only")) << text.toStdString();
    EXPECT_TRUE(text.contains("label OBJECT-TYPE SYNTAX OCTET STRING MAX-ACCESS read-only"));
    EXPECT_TRUE(text.contains("setp OBJECT-TYPE SYNTAX INTEGER MAX-ACCESS read-write"));
    EXPECT_TRUE(text.contains("trapval1 NOTIFICATION-TYPE OBJECTS { temp1 }"));
    EXPECT_TRUE(text.contains("trapval2 NOTIFICATION-TYPE OBJECTS { label }"));
    EXPECT_EQ(text.count("NOTIFICATION-TYPE OBJECTS"), 2);
    EXPECT_EQ(outside_check::SmilintErrors(mib), QStringList());
}

// The MQTT topics with the template dialog over them. With VELMORA_SCREENSHOT_DIR set, the
// picture is saved there as mqtt_template.png.
TEST_F(SNMPStepTest, MqttTemplatePicture) {
    Start();
    ASSERT_EQ(::Create_New_Project("Plant1"), nprCreated);
    QImage img;
    QString edited;
    PostCall([&] {
        TAdvColumnGrid* g = FMQTT_Set_Topic->ACG_Pub;
        g->SetCellEx(1, 1, "plant/temp");
        g->SetCellEx(9, 1, "$VALUE$");
        g->SetRow(1);
        g->SetCol(g->DisplColIndex(9));
        PostCall([&] {
            img = ShownWindowImage(FTopicTemplate);
            FTopicTemplate->RE_TopicTemplate->SetText("{\"t\": $VALUE$}");
            FTopicTemplate->Btn_OK->Click();
        });
        FMQTT_Set_Topic->ACG_MQTT_DblClickCell(g, 1, g->Col());
        edited = g->GetCellEx(9, 1);
        FMQTT_Set_Topic->Btn_Cancel->Click();
    });
    Main()->Btn_Click(Main()->Btn_MQTT_Set_Topic);
    EXPECT_EQ(edited, "{\"t\": $VALUE$}");
    if (const QByteArray dir = qgetenv("VELMORA_SCREENSHOT_DIR"); !dir.isEmpty())
        img.save(QString::fromLocal8Bit(dir) + "/mqtt_template.png");
    EXPECT_FALSE(img.isNull());
}

// A change of language reaches the SNMP and MQTT windows and the template dialog.
TEST_F(SNMPStepTest, ChangeLanguageReachesTheWindows) {
    Start();
    Lang_Text.Set(2600, "SNMP-Objekte");
    Lang_Text.Set(2640, "Gemeinschaftsname eingeben");
    Lang_Text.Set(2734, "MQTT Abonnieren");
    Lang_Text.Set(2807, "Gut");
    Main()->Change_Language();
    EXPECT_EQ(FSNMP_Trap_Access->Caption(), "SNMP-Objekte");
    EXPECT_EQ(FSNMP_Trap_Access->Hint_SNMP_Read->Strings(1), "Gemeinschaftsname eingeben");
    EXPECT_EQ(FMQTT_Set_Topic->PageControl1->Pages(1)->Caption(), "MQTT Abonnieren");
    EXPECT_EQ(FTopicTemplate->Btn_OK->Caption(), "Gut");
}
