// The PROFINET GSDML file: the document byte for byte against a hand-built file, the inputs read
// from ParGen.xml, the station name escaped, the lengths refused, and the step that asks for the
// folder and writes the file. Every file written is checked as a consumer would take it
// (GsdmlCheck.h: byte-order mark, CR LF, xmllint, text and ID references).
#include "GsdmlCheck.h"
#include "GsdmlGolden.h"
#include "SaveStepFixture.h"

#include "Dialogs.h"
#include "Forms.h"
#include "SysUtils.h"
#include "ULang.h"
#include "UProfinetXML.h"
#include "UProject.h"
#include "XmlDoc.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

namespace {

const QByteArray Bom = "\xEF\xBB\xBF";

// The hand-built file with its three variable parts replaced, as written: BOM and CR LF.
QByteArray Expected(const QByteArray& Station = "SERIAL", int In = 1438, int Out = 1438) {
    QByteArray text(Gsdml_Default);
    text.replace("ImplementationType=\"SERIAL\" DNS_CompatibleName=\"SERIAL\"",
                 "ImplementationType=\"" + Station + "\" DNS_CompatibleName=\"" + Station + "\"");
    text.replace("Length=\"1438\" TextId=\"IDT_Input_1\"",
                 "Length=\"" + QByteArray::number(In) + "\" TextId=\"IDT_Input_1\"");
    text.replace("Length=\"1438\" TextId=\"IDT_Output_1\"",
                 "Length=\"" + QByteArray::number(Out) + "\" TextId=\"IDT_Output_1\"");
    return Bom + text.replace("\n", "\r\n");
}

const char* const Name = "GSDML-V2.25-Ostrel-_GW40211-20210625.xml";

// The project folder of SaveStepTest, and another folder the save dialog may choose.
class Gsdml : public SaveStepTest {
protected:
    void SetUp() override {
        SaveStepTest::SetUp();
        ASSERT_TRUE(FOther.isValid());
    }
    // A path inside the project folder.
    QString Path(const QString& Name) const { return FDir.filePath(Name); }

    QTemporaryDir FOther;
};

} // namespace

TEST_F(Gsdml, WithoutParGenTheFileIsTheHandBuiltOne) {
    Write_GSDML_File(Path("d.xml"));
    EXPECT_EQ(Read("d.xml"), Expected());
    EXPECT_EQ(GSDML_Station_Name, "SERIAL");
    EXPECT_EQ(GSDML_Input_Length, 1438);
    EXPECT_EQ(GSDML_Output_Length, 1438);
    ExpectSoundGsdml(Path("d.xml"));
}

TEST_F(Gsdml, InputsFromParGen) {
    const struct {
        QByteArray ParGen; // the children of the root
        QByteArray Station;
        int In, Out;
    } cases[] = {
        // The controller's input data are the converter's outputs, and the other way round;
        // IOConfigData keeps its fixed maxima.
        {"<PROFINET_NB_IN>100</PROFINET_NB_IN><PROFINET_NB_OUT>20</PROFINET_NB_OUT>", "SERIAL", 20, 100},
        {"<PROFINET_NAME_STA>   </PROFINET_NAME_STA>", "SERIAL", 1438, 1438},
        {"<PROFINET_NAME_STA></PROFINET_NAME_STA>", "SERIAL", 1438, 1438},
        {"<PROFINET_NAME_STA>gw 40211  </PROFINET_NAME_STA>", "gw 40211  ", 1438, 1438},
        {"<PROFINET_NAME_STA>  a  b</PROFINET_NAME_STA>", "  a  b", 1438, 1438},
        {"<PROFINET_NAME_STA>stazione-\xC3\xA8</PROFINET_NAME_STA>", "stazione-\xC3\xA8", 1438, 1438},
        // Length 0 is written as it stands; a text that is no number, an empty element or a
        // missing key leaves the default.
        {"<PROFINET_NB_IN>0</PROFINET_NB_IN><PROFINET_NB_OUT>0</PROFINET_NB_OUT>", "SERIAL", 0, 0},
        {"<PROFINET_NB_IN>12x</PROFINET_NB_IN><PROFINET_NB_OUT></PROFINET_NB_OUT>", "SERIAL", 1438, 1438},
        {"<PROFINET_NB_OUT>$10</PROFINET_NB_OUT><PROFINET_NB_IN> 7</PROFINET_NB_IN>", "SERIAL", 16, 7},
        // A number too large for an integer is no number: it must not wrap round to a length.
        {"<PROFINET_NB_IN>4294967396</PROFINET_NB_IN>", "SERIAL", 1438, 1438},
        {"<PROFINET_NB_IN>1438</PROFINET_NB_IN><PROFINET_NAME_STA>pn1</PROFINET_NAME_STA>", "pn1", 1438,
         1438},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.ParGen.constData());
        WriteParGen("<Par_Gen>" + c.ParGen + "</Par_Gen><!--SW_VERSION = 1.000-->");
        Write_GSDML_File(Path("d.xml"));
        EXPECT_EQ(Read("d.xml"), Expected(c.Station, c.In, c.Out));
        ExpectSoundGsdml(Path("d.xml"));
    }
}

// The station name goes into two attribute values: whatever ParGen.xml holds, the file stays
// well-formed and a reader gets the name back as stored.
TEST_F(Gsdml, StationNameIsEscaped) {
    WriteParGen(
        "<Par_Gen><PROFINET_NAME_STA>A&amp;B &lt;&quot;x&quot;&gt; 'y'&#9;z</PROFINET_NAME_STA></Par_Gen>");
    Write_GSDML_File(Path("d.xml"));
    EXPECT_EQ(Read("d.xml"), Expected("A&amp;B &lt;&quot;x&quot;&gt; &apos;y&apos;&#9;z"));
    ExpectSoundGsdml(Path("d.xml"));
    TXMLDocument doc(nullptr);
    doc.SetActive(true);
    doc.LoadFromFile(Path("d.xml"));
    const TXMLNode dap = doc.DocumentElement()
                             .FindNode("ProfileBody")
                             .FindNode("ApplicationProcess")
                             .FindNode("DeviceAccessPointList")
                             .FindNode("DeviceAccessPointItem");
    ASSERT_TRUE(dap);
    EXPECT_EQ(dap.Attribute("ImplementationType"), "A&B <\"x\"> 'y'\tz");
    EXPECT_EQ(dap.Attribute("DNS_CompatibleName"), "A&B <\"x\"> 'y'\tz");

    // The same name written raw, as the template alone would: the outside check fails on it.
    QByteArray raw = Expected();
    raw.replace("=\"SERIAL\"", "=\"A&B\"");
    WriteFile("raw.xml", raw);
    QString lint;
    EXPECT_FALSE(XmllintAccepts(Path("raw.xml"), &lint));
    EXPECT_FALSE(lint.isEmpty());
}

TEST_F(Gsdml, AttributeValueEscapes) {
    const struct {
        QString Text;
        QString Value;
    } cases[] = {
        {"SERIAL", "SERIAL"},
        {"&<>\"'", "&amp;&lt;&gt;&quot;&apos;"},
        {"a\tb\nc\rd", "a&#9;b&#10;c&#13;d"},
        // What XML 1.0 cannot carry at all is left out.
        {QString("a") + QChar(1) + QChar(0x1F) + "b" + QChar(0xFFFE) + QChar(0xFFFF), "ab"},
        {QString("x") + QChar(0xD800) + "y" + QChar(0xDC00), "xy"},
        {QString::fromUtf8("\xF0\x9F\x98\x80 \xC3\xA8"), QString::fromUtf8("\xF0\x9F\x98\x80 \xC3\xA8")},
        {"", ""},
    };
    for (const auto& c : cases) EXPECT_EQ(XML_Attribute_Value(c.Text), c.Value) << c.Text.toStdString();
}

// Lengths the device cannot carry, which only a hand-edited ParGen.xml holds: text 2510, nothing
// asked, nothing written, an earlier file left as it was.
TEST_F(Gsdml, LengthsOutOfRangeAreRefused) {
    WriteFile(QString(Name), "earlier");
    for (const char* key : {"PROFINET_NB_IN", "PROFINET_NB_OUT"})
        for (const char* value : {"-1", "1439", "100000", "$FFFFFFFF"}) {
            SCOPED_TRACE(std::string(key) + "=" + value);
            WriteParGen(QByteArray("<Par_Gen><") + key + ">" + value + "</" + key + "></Par_Gen>");
            Messages.clear();
            Chosen = Path("x.xml");
            Create_GSDML_File(Name);
            ASSERT_EQ(Messages.size(), 1);
            EXPECT_EQ(Messages[0].Msg, Lang_Text.Get(2510));
            EXPECT_EQ(Messages[0].DlgType, mtError);
            EXPECT_EQ(Messages[0].Buttons, TMsgDlgButtons({mbOK}));
            EXPECT_EQ(Dialogs, 0);
            EXPECT_THROW(Write_GSDML_File(Path(QString(Name))), Exception);
            EXPECT_EQ(Read(QString(Name)), "earlier");
        }
    EXPECT_EQ(Files(), QStringList({Name, "ParGen.xml"}));
}

// The step: the dialog belongs to the main window, opens in the project folder with the composed
// name as filter and preset; only the folder chosen counts, the name typed there gives way.
TEST_F(Gsdml, WritesTheComposedNameIntoTheChosenFolder) {
    WriteParGen(
        "<Par_Gen><PROFINET_NB_IN>100</PROFINET_NB_IN><PROFINET_NB_OUT>20</PROFINET_NB_OUT></Par_Gen>");
    Chosen = FOther.filePath("typed.txt");
    auto* main = new TForm(nullptr);
    TCustomForm* savedMain = Application->MainForm();
    Application->SetMainForm(main);
    Create_GSDML_File(Name);
    Application->SetMainForm(savedMain);
    EXPECT_EQ(Owner, main);
    EXPECT_EQ(main->ComponentCount(), 0); // gone with the run
    TObject::Free(main);
    EXPECT_EQ(Dialogs, 1);
    EXPECT_EQ(NativePath(InitialDir), FDir.path());
    EXPECT_EQ(Filter, QString("PROFINET XML (*.xml)|") + Name);
    EXPECT_EQ(Preset, Name);
    EXPECT_TRUE(Messages.isEmpty());
    EXPECT_EQ(QDir(FOther.path()).entryList(QDir::Files), QStringList({Name}));
    QFile written(FOther.filePath(Name));
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    EXPECT_EQ(written.readAll(), Expected("SERIAL", 20, 100));
    ExpectSoundGsdml(FOther.filePath(Name));
}

TEST_F(Gsdml, ExistingFileIsReplacedOnlyAfterYesAndCancelWritesNothing) {
    WriteFile(QString(Name), "earlier");
    Chosen.clear();
    Create_GSDML_File(Name);
    EXPECT_EQ(Dialogs, 1);
    EXPECT_TRUE(Messages.isEmpty());

    Chosen = Path(QString(Name));
    Answer = mrNo;
    Create_GSDML_File(Name);
    ASSERT_EQ(Messages.size(), 1);
    EXPECT_EQ(Messages[0].Msg, Lang_Text.Get(2508));
    EXPECT_EQ(Messages[0].DlgType, mtConfirmation);
    EXPECT_EQ(Messages[0].Buttons, mbYesNo);
    EXPECT_EQ(Read(QString(Name)), "earlier");

    Answer = mrYes;
    Create_GSDML_File(Name);
    EXPECT_EQ(Messages.size(), 2);
    EXPECT_EQ(Read(QString(Name)), Expected());
    EXPECT_EQ(Files(), QStringList({Name}));
}

TEST_F(Gsdml, FailuresAreReportedAndLeaveNoFile) {
    // A name that is no plain file name never reaches the file system.
    for (const char* bad : {"../x.xml", "a/b.xml", "a\\b.xml", ""}) {
        Messages.clear();
        Chosen = Path("x.xml");
        Create_GSDML_File(bad);
        ASSERT_EQ(Messages.size(), 1) << bad;
        EXPECT_EQ(Messages[0].Msg, Lang_Text.Get(2509));
    }
    EXPECT_EQ(Dialogs, 0);

    // A folder that cannot be written.
    Chosen = Path("missing/sub/x.xml");
    EXPECT_THROW(Create_GSDML_File(Name), EFCreateError);
    EXPECT_FALSE(QDir(Path("missing")).exists());

    // A ParGen.xml that cannot be read is reported, not taken for the defaults.
    WriteParGen("<Par_Gen><PROFINET_NB_IN>10</PROFINET_NB_I");
    Chosen = Path("x.xml");
    EXPECT_THROW(Create_GSDML_File(Name), EXMLDocError);
    EXPECT_EQ(Files(), QStringList({"ParGen.xml"}));
}

// The consumer's checks are seen to fail on a file whose references do not resolve.
TEST_F(Gsdml, ReferenceChecksFailOnBrokenReferences) {
    const struct {
        QByteArray From, To;
        const char* Failure;
    } cases[] = {
        {"<InfoText TextId=\"IDT_INFO_DI\"/>", "<InfoText TextId=\"IDT_INFO_DX\"/>", "TextId without text"},
        {"ModuleItemTarget=\"IDM_1\"", "ModuleItemTarget=\"IDM_2\"", "names no ModuleItem"},
        {"MenuTarget=\"IDT_NAME_M1_Base_Parameters\"", "MenuTarget=\"IDT_NAME_M1\"", "names no MenuItem"},
        {"ParameterTarget=\"IDT_REF_reaction_to_cpu_stop\"", "ParameterTarget=\"IDV_reaction_to_cpu_stop\"",
         "names no Ref"},
    };
    for (const auto& c : cases) {
        QByteArray text = Expected();
        ASSERT_EQ(text.count(c.From), 1) << c.From.constData();
        WriteFile("broken.xml", text.replace(c.From, c.To));
        EXPECT_NONFATAL_FAILURE(ExpectSoundGsdml(Path("broken.xml")), c.Failure);
    }
}
