// The SNMP MIB module: the objects and notifications made from the enabled rows of
// SNMP_Trap.xml, the fixed object tree, and the step that asks for the file and writes it.
#include "OutsideChecks.h"
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

class MibStep : public SaveStepTest {
protected:
    // Runs the step into agent.mib; every module written is also compiled by smilint.
    void Create() {
        Chosen = FDir.filePath("agent.mib");
        Create_MIB_File();
        if (QFile::exists(Chosen)) {
            EXPECT_EQ(outside_check::SmilintErrors(Chosen), QStringList());
        }
    }
};

} // namespace

TEST_F(MibStep, EnabledRowsBecomeNumberedObjectsAndReadRowsNotifications) {
    WriteFile("SNMP_Trap.xml",
              TrapFile(Row("Y", "Int", "temp") + Row("N", "Int", "Skip") + Row("y", "String", nullptr) +
                           Row("Y", nullptr, "flag") + Row(nullptr, "Int", "NoEnable"),
                       Row("Y", "int", "cmd") + Row("n", "Int", "Off") + Row("Y", "", "")));
    Create();
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
    // A notification names its object, as SMIv2 wants it, whatever the object's type.
    const auto notification = [](int J, const QString& Object, const QString& Desc) {
        return "trapval" + QString::number(J) + " NOTIFICATION-TYPE OBJECTS { " + Object +
               " } STATUS current DESCRIPTION \"" + Desc + "\" ::= { trapsval " + QString::number(J) + " }";
    };
    // Disabled rows (and a row without Enable) leave no gap; an empty description names the
    // object by its number; only "INT" in any case is an integer.
    const QStringList expected = {
        " bufferinval OBJECT IDENTIFIER::= { bufferin 9 }",
        object("temp", true, "read-only", "temp", "bufferinval", 1),
        object("bufferinval2", false, "read-only", "", "bufferinval", 2),
        object("flag", false, "read-only", "flag", "bufferinval", 3),
        "bufferout OBJECT IDENTIFIER::= { data 5 }",
    };
    const qsizetype at = L.indexOf(expected[0]);
    ASSERT_GE(at, 0);
    for (qsizetype i = 1; i < expected.size(); ++i) EXPECT_EQ(L[at + i], expected[i]);
    const qsizetype out = L.indexOf(" bufferoutval OBJECT IDENTIFIER::= { bufferout 9 }");
    ASSERT_GE(out, 0);
    EXPECT_EQ(L[out + 1], object("cmd", true, "read-write", "cmd", "bufferoutval", 1));
    EXPECT_EQ(L[out + 2], object("bufferoutval2", false, "read-write", "", "bufferoutval", 2));
    EXPECT_EQ(L[out + 3], "traps OBJECT IDENTIFIER::= { application 2 }");
    EXPECT_EQ(L[out + 4], " trapsval OBJECT IDENTIFIER::= { traps 1 }");
    // Notifications for the read objects only, always named by their number.
    EXPECT_EQ(L.mid(out + 5),
              QStringList({notification(1, "temp", "temp"), notification(2, "bufferinval2", ""),
                           notification(3, "flag", "flag"), "END"}));
}

TEST_F(MibStep, FixedPartsStandWithoutTheTableFile) {
    Create();
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
    QByteArray read, write;
    for (int i = 1; i <= 300; ++i) {
        read += Row("Y", i % 2 ? "Int" : "String", qPrintable(QStringLiteral("v%1").arg(i)));
        write += Row("Y", i % 2 ? "String" : "Int", qPrintable(QStringLiteral("w%1").arg(i)));
    }
    WriteFile("SNMP_Trap.xml", TrapFile(read, write));
    Create();
    ASSERT_EQ(MIB_Read_List->Count(), 300);
    ASSERT_EQ(MIB_Write_List->Count(), 300);
    const QStringList L = CrLfLines("agent.mib");
    EXPECT_TRUE(L.contains("v299 OBJECT-TYPE SYNTAX INTEGER MAX-ACCESS read-only STATUS current DESCRIPTION "
                           "\"v299\" ::= { bufferinval 299 }"));
    EXPECT_TRUE(L.contains("w300 OBJECT-TYPE SYNTAX INTEGER MAX-ACCESS read-write STATUS current DESCRIPTION "
                           "\"w300\" ::= { bufferoutval 300 }"));
    EXPECT_TRUE(
        L.contains("trapval300 NOTIFICATION-TYPE OBJECTS { v300 } STATUS current DESCRIPTION \"v300\" "
                   "::= { trapsval 300 }"));
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

TEST_F(MibStep, DescriptionsThatAreNoUsableNameAreRefused) {
    const struct {
        const char* Why;
        QByteArray Read, Write;
        const char* Names; // besides text 1125
    } cases[] = {
        {"an upper-case first letter", Row("Y", "Int", "Temp"), "", "[SNMP_Trap_Read] index 1: \"Temp\""},
        {"a digit first", Row("Y", "Int", "a") + Row("N", "Int", "b") + Row("Y", "Int", "1a"), "",
         "[SNMP_Trap_Read] index 2: \"1a\""},
        {"a hyphen", "", Row("Y", "Int", "set-point"), "[SNMP_Trap_Write] index 1"},
        {"a blank", "", Row("Y", "Int", "set point"), "[SNMP_Trap_Write] index 1"},
        {"65 characters", Row("Y", "Int", QByteArray(65, 'a').constData()), "", "[SNMP_Trap_Read] index 1"},
        {"a fixed name", Row("Y", "Int", "data"), "", "\"data\""},
        {"a block name", "", Row("Y", "Int", "bufferoutblk8"), "\"bufferoutblk8\""},
        {"the imported node", Row("Y", "Int", "enterprises"), "", "\"enterprises\""},
        {"the name of a row without description",
         Row("Y", "Int", "bufferinval3") + Row("Y", "Int", "x") + Row("Y", "Int", nullptr), "",
         "[SNMP_Trap_Read] index 1: \"bufferinval3\""},
        {"a notification's name", Row("Y", "Int", "a") + Row("Y", "Int", "trapval1"), "", "\"trapval1\""},
        {"the same name in both tables", Row("Y", "Int", "temp1"), Row("Y", "Int", "temp1"),
         "[SNMP_Trap_Read] index 1: \"temp1\""},
        {"the same name twice in one table", "", Row("Y", "Int", "a") + Row("Y", "Int", "a"),
         "[SNMP_Trap_Write] index 1"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Why);
        WriteFile("SNMP_Trap.xml", TrapFile(c.Read, c.Write));
        WriteFile("agent.mib", "old");
        Chosen = FDir.filePath("agent.mib");
        Messages.clear();
        try {
            Create_MIB_File();
            ADD_FAILURE() << "no error";
        } catch (const Exception& E) {
            EXPECT_TRUE(E.Message().startsWith(Lang_Text.Get(1125))) << E.Message().toStdString();
            EXPECT_TRUE(E.Message().contains(QString::fromLatin1(c.Names))) << E.Message().toStdString();
        }
        EXPECT_EQ(Read("agent.mib"), "old");
    }
    // Disabled rows are not in the module, so their names are free; 64 characters and capitals
    // after the first letter are a descriptor.
    WriteFile("SNMP_Trap.xml",
              TrapFile(Row("N", "Int", "Temp") + Row("Y", "Int", QByteArray(64, 'a').constData()),
                       Row("N", "Int", "data") + Row("Y", "Int", "setPoint2")));
    QFile::remove(FDir.filePath("agent.mib"));
    Create();
    EXPECT_TRUE(Read("agent.mib").contains("setPoint2 OBJECT-TYPE"));
}

TEST_F(MibStep, SmilintRejectsTheNotificationsWithoutObjects) {
    // The check is seen to fail: the module with notifications written with SYNTAX and
    // MAX-ACCESS and without the macro imported gives the compiler's errors.
    WriteFile("SNMP_Trap.xml", TrapFile(Row("Y", "Int", "temp1"), ""));
    Create();
    QByteArray bytes = Read("agent.mib");
    bytes.replace("MODULE-IDENTITY,OBJECT-TYPE,NOTIFICATION-TYPE", "MODULE-IDENTITY,OBJECT-TYPE");
    bytes.replace("NOTIFICATION-TYPE OBJECTS { temp1 } STATUS",
                  "NOTIFICATION-TYPE SYNTAX INTEGER MAX-ACCESS read-only STATUS");
    WriteFile("original.mib", bytes);
    const QString errors = outside_check::SmilintErrors(FDir.filePath("original.mib")).join(u'\n');
    EXPECT_TRUE(errors.contains("[2] macro `NOTIFICATION-TYPE' has not been imported"))
        << errors.toStdString();
    EXPECT_TRUE(errors.contains("[1] syntax error, unexpected SYNTAX, expecting STATUS"))
        << errors.toStdString();
}

TEST_F(MibStep, WithoutTheTableFileLineByLine) {
    const char* const expected = R"MIB(GATEWAY DEFINITIONS ::= BEGIN
IMPORTS
       MODULE-IDENTITY,OBJECT-TYPE,NOTIFICATION-TYPE
         FROM SNMPv2-SMI
         DisplayString, TimeStamp
         FROM SNMPv2-TC
         enterprises
         FROM RFC1155-SMI;

identity MODULE-IDENTITY
    LAST-UPDATED "201701310000Z"
    ORGANIZATION "www.ostrel.example"
    CONTACT-INFO
	 "Via delle Fonderie 21
    00421 Borgo Velmora (VL)
    Italy
    email:    ostrel.example"
    DESCRIPTION
	"MIB objects for agent module "
    REVISION     "201701310000Z"
    DESCRIPTION
	"Corrected notification "
    REVISION     "200202060000Z"
    DESCRIPTION
	"First draft"
    ::= { ostrel 2 }
ostrel          OBJECT IDENTIFIER ::= { enterprises 32473 }
gateway OBJECT IDENTIFIER::= { ostrel 1 }
application OBJECT IDENTIFIER::= { gateway 1 }
data OBJECT IDENTIFIER::= { application 1 }
hellostring OBJECT-TYPE SYNTAX OCTET STRING MAX-ACCESS read-only  STATUS current  DESCRIPTION "" ::= { data 1}
countin  OBJECT-TYPE SYNTAX INTEGER       MAX-ACCESS read-only  STATUS current  DESCRIPTION "" ::= { data 2}
countout  OBJECT-TYPE SYNTAX INTEGER       MAX-ACCESS read-write STATUS current  DESCRIPTION "" ::= { data 3}
bufferin OBJECT IDENTIFIER::= { data 4 }
bufferinblk1 OBJECT-TYPE SYNTAX OCTET STRING MAX-ACCESS read-only STATUS current DESCRIPTION "data block n.1" ::= { bufferin 1 }
bufferinblk2 OBJECT-TYPE SYNTAX OCTET STRING MAX-ACCESS read-only STATUS current DESCRIPTION "data block n.2" ::= { bufferin 2 }
bufferinblk3 OBJECT-TYPE SYNTAX OCTET STRING MAX-ACCESS read-only STATUS current DESCRIPTION "data block n.3" ::= { bufferin 3 }
bufferinblk4 OBJECT-TYPE SYNTAX OCTET STRING MAX-ACCESS read-only STATUS current DESCRIPTION "data block n.4" ::= { bufferin 4 }
bufferinblk5 OBJECT-TYPE SYNTAX OCTET STRING MAX-ACCESS read-only STATUS current DESCRIPTION "data block n.5" ::= { bufferin 5 }
bufferinblk6 OBJECT-TYPE SYNTAX OCTET STRING MAX-ACCESS read-only STATUS current DESCRIPTION "data block n.6" ::= { bufferin 6 }
bufferinblk7 OBJECT-TYPE SYNTAX OCTET STRING MAX-ACCESS read-only STATUS current DESCRIPTION "data block n.7" ::= { bufferin 7 }
bufferinblk8 OBJECT-TYPE SYNTAX OCTET STRING MAX-ACCESS read-only STATUS current DESCRIPTION "data block n.8" ::= { bufferin 8 }
 bufferinval OBJECT IDENTIFIER::= { bufferin 9 }
bufferout OBJECT IDENTIFIER::= { data 5 }
bufferoutblk1 OBJECT-TYPE SYNTAX OCTET STRING MAX-ACCESS read-write STATUS current DESCRIPTION "data block n.1" ::= { bufferout 1 }
bufferoutblk2 OBJECT-TYPE SYNTAX OCTET STRING MAX-ACCESS read-write STATUS current DESCRIPTION "data block n.2" ::= { bufferout 2 }
bufferoutblk3 OBJECT-TYPE SYNTAX OCTET STRING MAX-ACCESS read-write STATUS current DESCRIPTION "data block n.3" ::= { bufferout 3 }
bufferoutblk4 OBJECT-TYPE SYNTAX OCTET STRING MAX-ACCESS read-write STATUS current DESCRIPTION "data block n.4" ::= { bufferout 4 }
bufferoutblk5 OBJECT-TYPE SYNTAX OCTET STRING MAX-ACCESS read-write STATUS current DESCRIPTION "data block n.5" ::= { bufferout 5 }
bufferoutblk6 OBJECT-TYPE SYNTAX OCTET STRING MAX-ACCESS read-write STATUS current DESCRIPTION "data block n.6" ::= { bufferout 6 }
bufferoutblk7 OBJECT-TYPE SYNTAX OCTET STRING MAX-ACCESS read-write STATUS current DESCRIPTION "data block n.7" ::= { bufferout 7 }
bufferoutblk8 OBJECT-TYPE SYNTAX OCTET STRING MAX-ACCESS read-write STATUS current DESCRIPTION "data block n.8" ::= { bufferout 8 }
 bufferoutval OBJECT IDENTIFIER::= { bufferout 9 }
traps OBJECT IDENTIFIER::= { application 2 }
 trapsval OBJECT IDENTIFIER::= { traps 1 }
END
)MIB";
    QStringList want = QString::fromLatin1(expected).split(u'\n');
    want.removeLast(); // after the last line end
    Create();
    const QStringList L = CrLfLines("agent.mib");
    ASSERT_EQ(L.size(), want.size());
    for (qsizetype i = 0; i < L.size(); ++i) EXPECT_EQ(L[i], want[i]) << "line " << i + 1;
}
