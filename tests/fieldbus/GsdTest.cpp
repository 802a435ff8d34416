// The PROFIBUS GSD file: its text byte for byte, the module and slot lists for several byte
// counts, and the step that reads ParGen.xml, asks for the name and writes the file.
#include "GsdGolden.h"
#include "SaveStepFixture.h"

#include "Dialogs.h"
#include "Forms.h"
#include "SysUtils.h"
#include "UProfibus_GSD.h"
#include "ULang.h"
#include "UProject.h"
#include "XmlDoc.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

QByteArray WithCrLf(const char* Text) {
    return QByteArray(Text).replace("\n", "\r\n");
}

QList<QByteArray> Lines(const QByteArray& Bytes) {
    QList<QByteArray> lines = Bytes.split('\n');
    lines.removeLast(); // after the last line end
    return lines;
}

// The golden file with its count-dependent lines replaced: the Max_ lines, the modules and
// the slotCount. Modules are given as "DI 1 3F": direction, module number, length byte.
QByteArray Expected(int In, int Out, const QStringList& Modules) {
    QList<QByteArray> lines = QByteArray(Gsd_100_10).split('\n');
    QList<QByteArray> result;
    int slotCount = int(Modules.size());
    for (int i = 0; i < lines.size(); ++i) {
        const QByteArray& l = lines[i];
        if (l.startsWith("Max_Module="))
            result << "Max_Module=" + QByteArray::number(slotCount);
        else if (l.startsWith("Max_Input_Len="))
            result << "Max_Input_Len=" + QByteArray::number(In);
        else if (l.startsWith("Max_Output_Len="))
            result << "Max_Output_Len=" + QByteArray::number(Out);
        else if (l.startsWith("Max_Data_Len="))
            result << "Max_Data_Len=" + QByteArray::number(In + Out);
        else if (l.startsWith("Module=\"DI  (PORT1)")) {
            for (const QString& m : Modules) {
                const QStringList p = m.split(u' ');
                const QByteArray k = p[1].toLatin1();
                const QByteArray code = p[0] == "DI" ? "42" : "82";
                result << "Module=\"" + p[0].toLatin1() + "  (PORT" + k + ")    \" 0x" + code + ",0x" +
                              p[2].toLatin1() + ",0x00,0x" +
                              QByteArray::number(k.toInt(), 16).rightJustified(2, '0').toUpper();
                result << k << "EndModule";
            }
            i += 8; // the golden's three modules
        } else if (l.startsWith("Slot(1)")) {
            for (int s = 1; s <= slotCount; ++s) {
                const QByteArray n = QByteArray::number(s);
                result << "Slot(" + n + ") = \"Slot " + n + "\" " + n + " " + n;
            }
            i += 2;
        } else
            result << l;
    }
    return result.join("\r\n");
}

} // namespace

TEST(Gsd, TextOfTheExampleCountsByteForByte) {
    EXPECT_EQ(GSD_Text(100, 10), WithCrLf(Gsd_100_10));
}

TEST(Gsd, FrameLinesAreEightyFiveWideAndEveryLineIsAscii) {
    const QByteArray text = GSD_Text(244, 244);
    ASSERT_TRUE(text.endsWith("\r\n\r\n"));
    for (QByteArray line : Lines(text)) {
        ASSERT_TRUE(line.endsWith('\r')) << line.constData();
        line.chop(1);
        EXPECT_FALSE(line.contains('\n'));
        if (line.startsWith(";*")) {
            EXPECT_EQ(line.size(), 85) << line.constData();
        }
        for (char c : line) EXPECT_TRUE(c >= 0x20 && c < 0x7F) << line.constData();
    }
}

TEST(Gsd, ModulesAndSlotsFollowTheByteCounts) {
    const struct {
        int In, Out;
        QStringList Modules;
    } cases[] = {
        {0, 0, {}},
        {244, 244, {"DI 1 3F", "DI 2 3F", "DI 3 3F", "DI 4 33", "DO 5 3F", "DO 6 3F", "DO 7 3F", "DO 8 33"}},
        {64, 65, {"DI 1 3F", "DO 2 3F", "DO 3 00"}},
        {0, 1, {"DO 1 00"}},
        {128, 0, {"DI 1 3F", "DI 2 3F"}},
        {100, 10, {"DI 1 3F", "DI 2 23", "DO 3 09"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.In << "/" << c.Out);
        EXPECT_EQ(GSD_Text(c.In, c.Out), Expected(c.In, c.Out, c.Modules));
        EXPECT_EQ(GSD_Module_Count(c.In) + GSD_Module_Count(c.Out), c.Modules.size());
    }
    // Both counts 0: the slot section holds its two lines alone.
    EXPECT_TRUE(GSD_Text(0, 0).contains("\r\n\r\n\r\nSlotDefinition\r\nEndSlotDefinition\r\n"));
}

TEST(Gsd, FileNameGetsTheExtensionUnlessItHasIt) {
    const struct {
        const char* Chosen;
        const char* Name;
    } cases[] = {{"/p/dev", "/p/dev.gsd"},         {"/p/dev.gsd", "/p/dev.gsd"},
                 {"/p/dev.GSD", "/p/dev.GSD"},     {"/p/dev.Gsd", "/p/dev.Gsd"},
                 {"/p/dev.txt", "/p/dev.txt.gsd"}, {"/p/dev.gsdx", "/p/dev.gsdx.gsd"},
                 {"/p/a.b/dev", "/p/a.b/dev.gsd"}};
    for (const auto& c : cases) EXPECT_EQ(GSD_File_Name(c.Chosen), c.Name);
}

class GsdStep : public SaveStepTest {
protected:
    void WriteCounts(const char* In, const char* Out) const {
        WriteParGen(QByteArray("<Par_Gen><PROFIBUS_ID_Device>10</PROFIBUS_ID_Device><PROFINET_NB_IN>") + In +
                    "</PROFINET_NB_IN><PROFINET_NB_OUT>" + Out +
                    "</PROFINET_NB_OUT></Par_Gen><!--SW_VERSION = 1.000-->");
    }
};

TEST_F(GsdStep, WritesTheFileFromTheProjectsCounts) {
    // The master's inputs are the converter's outputs: 100 from PROFINET_NB_OUT.
    WriteCounts("10", "100");
    Chosen = FDir.filePath("Device");
    Create_GSD_File();
    EXPECT_TRUE(Messages.isEmpty());
    EXPECT_EQ(Dialogs, 1);
    EXPECT_EQ(NativePath(InitialDir), FDir.path());
    EXPECT_EQ(Filter, "Generic Station Description (*.gsd)|*.gsd");
    EXPECT_EQ(Read("Device.gsd"), WithCrLf(Gsd_100_10));
    EXPECT_EQ(GSD_Input_Bytes, 100);
    EXPECT_EQ(GSD_Output_Bytes, 10);
}

TEST_F(GsdStep, SaveDialogBelongsToTheMainWindowForOneRun) {
    WriteCounts("8", "8");
    Chosen = FDir.filePath("d.gsd");
    auto* main = new TForm(nullptr);
    TCustomForm* savedMain = Application->MainForm();
    Application->SetMainForm(main);
    Create_GSD_File();
    Application->SetMainForm(savedMain);
    EXPECT_EQ(Dialogs, 1);
    EXPECT_EQ(Owner, main);
    EXPECT_EQ(main->ComponentCount(), 0); // gone with the run
    TObject::Free(main);
}

TEST_F(GsdStep, MissingOrUnreadableKeysCountAsZero) {
    const struct {
        QByteArray ParGen;
        int In, Out;
    } cases[] = {
        {"<Par_Gen><PROFINET_NB_IN>64</PROFINET_NB_IN></Par_Gen>", 0, 64},
        {"<Par_Gen><PROFINET_NB_IN>6x</PROFINET_NB_IN><PROFINET_NB_OUT>12 </PROFINET_NB_OUT></Par_Gen>", 0,
         0},
        {"<Par_Gen><PROFINET_NB_OUT>$10</PROFINET_NB_OUT><PROFINET_NB_IN></PROFINET_NB_IN></Par_Gen>", 16, 0},
        {"<Other/>", 0, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.ParGen.constData());
        WriteParGen(c.ParGen);
        Chosen = FDir.filePath("d.gsd");
        QFile::remove(Chosen);
        Create_GSD_File();
        EXPECT_TRUE(Messages.isEmpty());
        const QByteArray text = Read("d.gsd");
        EXPECT_TRUE(text.contains("\r\nMax_Input_Len=" + QByteArray::number(c.In) + "\r\n"));
        EXPECT_TRUE(text.contains("\r\nMax_Output_Len=" + QByteArray::number(c.Out) + "\r\n"));
    }
}

TEST_F(GsdStep, WithoutParGenOnlyTheErrorIsShown) {
    Chosen = FDir.filePath("d.gsd");
    Create_GSD_File();
    ASSERT_EQ(Messages.size(), 1);
    EXPECT_EQ(Messages[0].Msg, Lang_Text.Get(1104));
    EXPECT_EQ(Messages[0].DlgType, mtError);
    EXPECT_EQ(Messages[0].Buttons, TMsgDlgButtons({mbOK}));
    EXPECT_EQ(Dialogs, 0);
    EXPECT_TRUE(Files().isEmpty());
}

TEST_F(GsdStep, BadParGenIsReportedAndNothingIsWritten) {
    Chosen = FDir.filePath("d.gsd");
    WriteParGen("<Par_Gen><PROFINET_NB_IN>10</PROFINET_NB_I");
    EXPECT_THROW(Create_GSD_File(), EXMLDocError);
    for (const auto& counts : {std::pair{"245", "0"}, std::pair{"0", "-1"}, std::pair{"100000", "1"}}) {
        WriteCounts(counts.first, counts.second);
        Messages.clear();
        Create_GSD_File();
        ASSERT_EQ(Messages.size(), 1);
        EXPECT_EQ(Messages[0].DlgType, mtError);
        EXPECT_TRUE(Messages[0].Msg.contains("between 0 and 244")) << Messages[0].Msg.toStdString();
    }
    EXPECT_EQ(Dialogs, 0);
    EXPECT_EQ(Files(), QStringList{"ParGen.xml"});
}

TEST_F(GsdStep, CancelledDialogWritesNothing) {
    WriteCounts("244", "244");
    Chosen.clear();
    Create_GSD_File();
    EXPECT_EQ(Dialogs, 1);
    EXPECT_TRUE(Messages.isEmpty());
    EXPECT_EQ(Files(), QStringList{"ParGen.xml"});
}

TEST_F(GsdStep, ExistingFileIsReplacedOnlyAfterYes) {
    WriteCounts("244", "244");
    WriteFile("Dev.GSD", "old");
    Chosen = FDir.filePath("Dev.GSD");
    Answer = mrNo;
    Create_GSD_File();
    ASSERT_EQ(Messages.size(), 1);
    EXPECT_EQ(Messages[0].Msg, Lang_Text.Get(1103));
    EXPECT_EQ(Messages[0].DlgType, mtConfirmation);
    EXPECT_EQ(Messages[0].Buttons, mbYesNo);
    EXPECT_EQ(Read("Dev.GSD"), "old");

    Answer = mrYes;
    Create_GSD_File();
    EXPECT_EQ(Messages.size(), 2);
    EXPECT_EQ(Read("Dev.GSD"), GSD_Text(244, 244));
    EXPECT_EQ(Files(), QStringList({"Dev.GSD", "ParGen.xml"}));
}

TEST_F(GsdStep, WriteFailureRaisesAndLeavesNoFile) {
    WriteCounts("8", "8");
    Chosen = FDir.filePath("missing/sub/d");
    EXPECT_THROW(Create_GSD_File(), EFCreateError);
    EXPECT_FALSE(QDir(FDir.filePath("missing")).exists());
}
