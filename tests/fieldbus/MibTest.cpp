// The SNMP MIB module: the objects and notifications made from the enabled rows of
// SNMP_Trap.xml, the fixed object tree, and the step that asks for the file and writes it.
#include "SaveStepFixture.h"

#include "Dialogs.h"
#include "Forms.h"
#include "SysUtils.h"
#include "ULang.h"
#include "UProject.h"
#include "USNMP_MIB.h"

#include <QFile>

#include <gtest/gtest.h>

namespace {

QByteArray Row(const char* Enable, const char* Type, const char* Description) {
    QByteArray r = "<row";
    if (Enable) r += QByteArray(" Enable=\"") + Enable + "\"";
    r += " Community_Name=\"public\"";
    if (Type) r += QByteArray(" Type=\"") + Type + "\"";
    if (Description) r += QByteArray(" Description=\"") + Description + "\"";
    return r + "/>";
}

QByteArray TrapFile(const QByteArray& ReadRows, const QByteArray& WriteRows) {
    return "<?xml version=\"1.0\"?><SNMP_Trap><!--SW_VERSION = 1.000--><SNMP_Trap_Read>" + ReadRows +
           "</SNMP_Trap_Read><SNMP_Trap_Write>" + WriteRows + "</SNMP_Trap_Write></SNMP_Trap>";
}

class MibStep : public SaveStepTest {};

} // namespace

TEST_F(MibStep, EnabledRowsBecomeNumberedObjectsAndReadRowsNotifications) {
    WriteFile("SNMP_Trap.xml",
              TrapFile(Row("Y", "Int", "Temp") + Row("N", "Int", "Skip") + Row("y", "String", nullptr) +
                           Row("Y", nullptr, "Flag") + Row(nullptr, "Int", "NoEnable"),
                       Row("Y", "int", "Cmd") + Row("n", "Int", "Off") + Row("Y", "", "")));
    Chosen = FDir.filePath("agent.mib");
    Create_MIB_File();
    EXPECT_TRUE(Messages.isEmpty());
    const QByteArray bytes = Read("agent.mib");
    const QStringList L = CrLfLines("agent.mib");
    ASSERT_EQ(L.last(), "END");
    EXPECT_EQ(L.first(), "GATEWAY DEFINITIONS ::= BEGIN");
    EXPECT_FALSE(bytes.contains("\n\n")) << "every line ends with CR LF";

    const auto object = [](const QString& Name, bool Int, const char* Access, const QString& Desc,
                           const char* Parent, int J) {
        return Name + " OBJECT-TYPE SYNTAX " + (Int ? "INTEGER" : "OCTET STRING") + " MAX-ACCESS " + Access +
               " STATUS current DESCRIPTION \"" + Desc + "\" ::= { " + Parent + " " + QString::number(J) +
               " }";
    };
    const auto notification = [](int J, bool Int, const QString& Desc) {
        return "trapval" + QString::number(J) + " NOTIFICATION-TYPE SYNTAX " +
               (Int ? "INTEGER" : "OCTET STRING") + " MAX-ACCESS read-only STATUS current DESCRIPTION \"" +
               Desc + "\" ::= { trapsval " + QString::number(J) + " }";
    };
    // Disabled rows (and a row without Enable) leave no gap; an empty description names the
    // object by its number; only "INT" in any case is an integer.
    const QStringList expected = {
        " bufferinval OBJECT IDENTIFIER::= { bufferin 9 }",
        object("Temp", true, "read-only", "Temp", "bufferinval", 1),
        object("bufferinval2", false, "read-only", "", "bufferinval", 2),
        object("Flag", false, "read-only", "Flag", "bufferinval", 3),
        "bufferout OBJECT IDENTIFIER::= { data 5 }",
    };
    const qsizetype at = L.indexOf(expected[0]);
    ASSERT_GE(at, 0);
    for (qsizetype i = 1; i < expected.size(); ++i) EXPECT_EQ(L[at + i], expected[i]);
    const qsizetype out = L.indexOf(" bufferoutval OBJECT IDENTIFIER::= { bufferout 9 }");
    ASSERT_GE(out, 0);
    EXPECT_EQ(L[out + 1], object("Cmd", true, "read-write", "Cmd", "bufferoutval", 1));
    EXPECT_EQ(L[out + 2], object("bufferoutval2", false, "read-write", "", "bufferoutval", 2));
    EXPECT_EQ(L[out + 3], "traps OBJECT IDENTIFIER::= { application 2 }");
    EXPECT_EQ(L[out + 4], " trapsval OBJECT IDENTIFIER::= { traps 1 }");
    // Notifications for the read objects only, always named by their number.
    EXPECT_EQ(L.mid(out + 5), QStringList({notification(1, true, "Temp"), notification(2, false, ""),
                                           notification(3, false, "Flag"), "END"}));
}

TEST_F(MibStep, FixedPartsStandWithoutTheTableFile) {
    Chosen = FDir.filePath("agent.mib");
    Create_MIB_File();
    const QStringList L = CrLfLines("agent.mib");
    ASSERT_FALSE(L.isEmpty());
    for (const char* line : {"         FROM RFC1155-SMI;", "identity MODULE-IDENTITY",
                             "    LAST-UPDATED \"201701310000Z\"", "\t\"MIB objects for agent module \"",
                             "    ::= { ostrel 2 }", "gateway OBJECT IDENTIFIER::= { ostrel 1 }",
                             "countout  OBJECT-TYPE SYNTAX INTEGER       MAX-ACCESS read-write STATUS "
                             "current  DESCRIPTION \"\" ::= { "
                             "data 3}",
                             "bufferinblk1 OBJECT-TYPE SYNTAX OCTET STRING MAX-ACCESS read-only STATUS "
                             "current DESCRIPTION \"data "
                             "block n.1\" ::= { bufferin 1 }",
                             "bufferoutblk8 OBJECT-TYPE SYNTAX OCTET STRING MAX-ACCESS read-write STATUS "
                             "current DESCRIPTION \"data "
                             "block n.8\" ::= { bufferout 8 }"})
        EXPECT_TRUE(L.contains(QString::fromLatin1(line))) << line;
    EXPECT_TRUE(L.filter(QStringLiteral("OBJECT IDENTIFIER ::= { enterprises ")).size() == 1);
    // The value nodes and the traps node follow each other directly.
    const qsizetype traps = L.indexOf(" trapsval OBJECT IDENTIFIER::= { traps 1 }");
    ASSERT_GE(traps, 0);
    EXPECT_EQ(L.mid(traps + 1), QStringList({"END"}));
    EXPECT_EQ(L.filter(QStringLiteral("bufferinval ")).size(), 1) << "no value objects";
}

TEST_F(MibStep, DialogCancelAndOverwriteQuestion) {
    // The dialog opens in the project folder with the module's filter; cancel writes nothing.
    Chosen.clear();
    Create_MIB_File();
    EXPECT_EQ(Dialogs, 1);
    EXPECT_EQ(InitialDir, Path_Project);
    EXPECT_EQ(Filter, "Management Information Base (*.mib)|*.mib");
    EXPECT_TRUE(Files().isEmpty());

    // The name is taken as the dialog gives it; an existing file is replaced only after Yes.
    WriteFile("old.mib", "old");
    Chosen = FDir.filePath("old.mib");
    Answer = mrNo;
    Create_MIB_File();
    ASSERT_EQ(Messages.size(), 1);
    EXPECT_EQ(Messages[0].Msg, Lang_Text.Get(1105));
    EXPECT_EQ(Messages[0].DlgType, mtConfirmation);
    EXPECT_EQ(Read("old.mib"), "old");
    Answer = mrYes;
    Create_MIB_File();
    EXPECT_TRUE(Read("old.mib").startsWith("GATEWAY DEFINITIONS"));
}

TEST_F(MibStep, DamagedTableFileRaisesAndKeepsTheOldModule) {
    const struct {
        const char* Why;
        QByteArray File;
        const char* Names; // a text the message must hold
    } cases[] = {
        {"not XML", "<SNMP_Trap><SNMP_Trap_Read>", "SNMP_Trap.xml"},
        {"no write section", "<SNMP_Trap><SNMP_Trap_Read/></SNMP_Trap>", "SNMP_Trap_Write"},
        {"no read section", "<SNMP_Trap><SNMP_Trap_Write/></SNMP_Trap>", "SNMP_Trap_Read"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Why);
        WriteFile("SNMP_Trap.xml", c.File);
        WriteFile("agent.mib", "old");
        Chosen = FDir.filePath("agent.mib");
        try {
            Create_MIB_File();
            ADD_FAILURE() << "no error";
        } catch (const Exception& E) {
            EXPECT_TRUE(E.Message().contains(QString::fromLatin1(c.Names))) << E.Message().toStdString();
        }
        EXPECT_EQ(Read("agent.mib"), "old");
    }
}

TEST_F(MibStep, MoreRowsThanTheEditorSavesAreAllWritten) {
    // A hand-edited file with more rows than the editor's 256: every row gets its object and type.
    QByteArray rows;
    for (int i = 1; i <= 300; ++i)
        rows += Row("Y", i % 2 ? "Int" : "String", qPrintable(QStringLiteral("V%1").arg(i)));
    WriteFile("SNMP_Trap.xml", TrapFile(rows, QByteArray()));
    Chosen = FDir.filePath("agent.mib");
    Create_MIB_File();
    ASSERT_EQ(MIB_Read_List->Count(), 300);
    const QStringList L = CrLfLines("agent.mib");
    EXPECT_TRUE(L.contains("V299 OBJECT-TYPE SYNTAX INTEGER MAX-ACCESS read-only STATUS current DESCRIPTION "
                           "\"V299\" ::= { bufferinval 299 }"));
    EXPECT_TRUE(
        L.contains("trapval300 NOTIFICATION-TYPE SYNTAX OCTET STRING MAX-ACCESS read-only STATUS current "
                   "DESCRIPTION \"V300\" ::= { trapsval 300 }"));
}

TEST_F(MibStep, TheMainWindowsDialogIsUsedWhenItHasOne) {
    Chosen = FDir.filePath("agent.mib");
    auto* main = new TForm(nullptr);
    auto* saveMib = new TSaveDialog(main);
    saveMib->SetName(QStringLiteral("SaveMIB"));
    saveMib->Filter = QStringLiteral("the main window's filter");
    TCustomForm* savedMain = Application->MainForm();
    Application->SetMainForm(main);
    Create_MIB_File();
    Application->SetMainForm(savedMain);
    EXPECT_EQ(Filter, "the main window's filter");
    EXPECT_EQ(saveMib->InitialDir, Path_Project);
    EXPECT_EQ(main->ComponentCount(), 1); // no dialog of its own was left behind
    EXPECT_TRUE(Read("agent.mib").startsWith("GATEWAY DEFINITIONS"));
    TObject::Free(main);
}
