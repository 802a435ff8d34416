// The configuration build: bank1.bin and bank2.bin byte for byte, worked out by hand.
#include "UCompile_Bin.h"
#include "UProject.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTemporaryDir>

namespace {

// A project folder of its own for each test.
class Compile_Bin_Test : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(Dir.isValid());
        Path_Project = Dir.path();
        Set_Files();
    }
    void TearDown() override { Path_Project.clear(); }

    void Write(const QString& name, const QByteArray& text) {
        QFile f(Dir.path() + "/" + name);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(text);
    }
    QByteArray Read(const QString& name) {
        QFile f(Dir.path() + "/" + name);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    QByteArray Bank1() { return QByteArray(reinterpret_cast<const char*>(Bank1_Buffer), Bank1_Length); }
    QByteArray Bank2() {
        return QByteArray(reinterpret_cast<const char*>(Bank2_Buffer.data()), Bank2_Length);
    }

    QTemporaryDir Dir;
};

// Bytes written as hexadecimal digits, blanks ignored.
QByteArray Hex(const char* text) {
    return QByteArray::fromHex(QByteArray(text).replace(' ', ""));
}

uint32_t U32(const QByteArray& b, int at) {
    return uint32_t(uint8_t(b[at])) | uint32_t(uint8_t(b[at + 1])) << 8 | uint32_t(uint8_t(b[at + 2])) << 16 |
           uint32_t(uint8_t(b[at + 3])) << 24;
}

QByteArray Mapping(const QByteArray& vars, const QByteArray& sets = "") {
    return "<IEC_68850_Client><List_ICD_Files><ICD_File Name=\"I\" FileName=\"i.icd\"/></List_ICD_Files>"
           "<List_DA_Selected>" +
           vars + "</List_DA_Selected><List_DataSet_Selected>" + sets +
           "</List_DataSet_Selected></IEC_68850_Client><!--SW_VERSION = 1.000-->";
}

QByteArray Var(const QByteArray& reference, const QByteArray& bType = "FLOAT32",
               const QByteArray& ip = "1.2.3.4") {
    return "<DA_Item Index=\"0\" bType=\"" + bType + "\" fc=\"MX\" Reference=\"" + reference +
           "\" StartByte=\"0\" NumByte=\"4\" IPAddress=\"" + ip +
           "\" Port=\"102\" OnChange=\"N\" OnCMD=\"N\" OnTimer=\"Y\" Time=\"1000\" Position=\"0\" "
           "StartBit=\"0\" "
           "ReadWrite=\"Read\" Convertion=\"None\" MoltFact=\"NONE\" Mnemonic=\"\"/>";
}

QByteArray Member(int i) {
    return "<DataSet_DA_Item bType=\"BOOLEAN\" Reference=\"r" + QByteArray::number(i) +
           "\" Position=\"0\" StartBit=\"0\" Convertion=\"None\" MoltFact=\"NONE\" Mnemonic=\"\"/>";
}

QByteArray DataSet(int members) {
    QByteArray m;
    for (int i = 0; i < members; ++i) m += Member(i);
    return "<DataSet_Item Index=\"0\" Reference=\"D\" GooseName=\"\" EnGoose=\"N\" IPAddress=\"1.1.1.1\" "
           "Port=\"102\" "
           "Time=\"100\" Mnemonic=\"\"><DataSet_List_DAs>" +
           m + "</DataSet_List_DAs></DataSet_Item>";
}

} // namespace

TEST_F(Compile_Bin_Test, WithoutProjectFilesBothImagesHoldTheDefaults) {
    Compile_Bin();
    QByteArray expected(2048, '\0');
    auto put = [&](int at, const char* hex) { expected.replace(at, Hex(hex).size(), Hex(hex)); };
    put(0, "90D00300 90D00300 00000000 80250000");
    put(40, "C0A802CD FFFFFF00 FFFFFFFF 1027 1127 1127");
    put(436, "0808080808080808");
    put(1516, "00000800");
    put(2044, "8A0D0000"); // 3466
    EXPECT_EQ(Bank1().toHex(), expected.toHex());
    EXPECT_EQ(Bank2().toHex(), Hex("00000000 00000000 00000000 00000000 18000800 18000800").toHex());

    Save_Bin();
    EXPECT_EQ(Read("bin/bank1.bin"), expected);
    EXPECT_EQ(Read("bin/bank2.bin").size(), 24);

    // A mapping whose lists are empty gives the same image as no mapping at all.
    Write("IEC_61850_Client.xml", Mapping(""));
    Compile_Bin();
    EXPECT_EQ(Bank2().toHex(), Hex("00000000 00000000 00000000 00000000 18000800 18000800").toHex());
}

TEST_F(Compile_Bin_Test, GeneralParametersFillTheBlockKeyByKey) {
    Write("ParGen.xml", "<?xml version=\"1.0\"?><!-- a comment before the root -->\n"
                        "<Par_Gen>"
                        "<IEC61850_Client_IP1>abc</IEC61850_Client_IP1>"  // not a number: 192
                        "<IEC61850_Client_IP2>$0A</IEC61850_Client_IP2>"  // hexadecimal: 10
                        "<IEC61850_Client_IP4>300</IEC61850_Client_IP4>"  // low 8 bits: 44; IP3 missing: 0
                        "<IEC61850_Client_SM1>x</IEC61850_Client_SM1>"    // not a number: 255
                        "<IEC61850_Client_SM2>0x80</IEC61850_Client_SM2>" // 128; SM3, SM4 missing: 255, 0
                        "<IEC61850_Client_GAT1>10</IEC61850_Client_GAT1>"
                        "<IEC61850_Client_GAT2>20</IEC61850_Client_GAT2>"
                        "<IEC61850_Client_GAT3>30</IEC61850_Client_GAT3>"
                        "<IEC61850_Client_GAT4> 1 </IEC61850_Client_GAT4>" // trailing blank: not a number, 1
                        "<IEC61850_Client_En_GAT>1</IEC61850_Client_En_GAT>"
                        "<IEC61850_Client_VLAN>5</IEC61850_Client_VLAN>"
                        "<IEC61850_Client_Application_ID>0x1234</IEC61850_Client_Application_ID>"
                        "<PROFIBUS_ID_Device>$7D</PROFIBUS_ID_Device>"
                        "<PROFINET_NB_IN>100</PROFINET_NB_IN>" // PROFINET_NB_OUT missing: 244
                        "</Par_Gen><!--SW_VERSION = 1.000-->");
    Compile_Bin();
    const QByteArray b = Bank1();
    EXPECT_EQ(b.mid(40, 12).toHex(), Hex("C00A002C FF80FF00 0A141E01").toHex());
    EXPECT_EQ(b.mid(116, 8).toHex(), Hex("F4000000 64000000").toHex());
    EXPECT_EQ(uint8_t(b[129]), 125);
    EXPECT_EQ(U32(b, 1516), 0x80000u);
    uint32_t sum = 0;
    for (int i = 0; i < 2044; ++i) sum += uint8_t(b[i]);
    EXPECT_EQ(U32(b, 2044), sum);
    EXPECT_EQ(U32(Bank2(), 8), 5u);
    EXPECT_EQ(U32(Bank2(), 12), 0x1234u);
}

TEST_F(Compile_Bin_Test, UnreadableGeneralParametersStopTheBuild) {
    Write("ParGen.xml", "<Par_Gen><IEC61850_Client_IP1>10</IEC61850_Client_IP1>");
    try {
        Compile_Bin();
        ADD_FAILURE() << "no error";
    } catch (const ECompile_Error& e) {
        EXPECT_TRUE(e.Message().contains("general parameters")) << e.Message().toStdString();
    }
    EXPECT_THROW(Save_Bin(), ECompile_Error);
    EXPECT_FALSE(QFile::exists(Dir.path() + "/bin/bank1.bin"));
}

TEST_F(Compile_Bin_Test, GatewayOnlyWhenSwitchedOnExactly) {
    for (const char* flag : {"0", " 1", "01", "true", ""}) {
        Write("ParGen.xml", QByteArray("<Par_Gen><IEC61850_Client_GAT1>192</IEC61850_Client_GAT1>"
                                       "<IEC61850_Client_En_GAT>") +
                                flag + "</IEC61850_Client_En_GAT></Par_Gen>");
        Compile_Bin();
        EXPECT_EQ(Bank1().mid(48, 4).toHex(), "ffffffff") << flag;
    }
}

// The image of the Parts' worked example: one FLOAT32 variable with a 24-character reference.
TEST_F(Compile_Bin_Test, WorkedExampleAddresses) {
    Write("IEC_61850_Client.xml", Mapping(Var("IED1LD0/MMXU1.TotW.mag.f", "FLOAT32", "192.168.0.10")));
    Compile_Bin();
    const QByteArray b = Bank2();
    ASSERT_EQ(b.size(), 102);
    EXPECT_EQ(U32(b, 16), 0x80000u + 24);
    EXPECT_EQ(U32(b, 20), 0x80000u + 56);
    EXPECT_EQ(U32(b, 24 + 20), 0x80000u + 56);
    EXPECT_EQ(U32(b, 24 + 24), 0x80000u + 64);
    EXPECT_EQ(U32(b, 24 + 28), 0x80000u + 77);
}

TEST_F(Compile_Bin_Test, ClientImageByteForByte) {
    Write("IEC_61850_Client.xml",
          Mapping(
              "<DA_Item Index=\"0\" bType=\"FLOAT32\" fc=\"MX\" Reference=\"I/L.A.f\" StartByte=\"9\" "
              "NumByte=\"9\" "
              "IPAddress=\"10.0.0.1\" Port=\"102\" OnChange=\"Y\" OnCMD=\"N\" OnTimer=\"Y\" Time=\"500\" "
              "Position=\"$10\" StartBit=\"3\" ReadWrite=\"Read\" Convertion=\"ItoF/FtoI\" MoltFact=\"0,5\" "
              "Mnemonic=\"m\"/>"
              "<DA_Item Index=\"0\" bType=\"VisString255\" fc=\"ST\" Reference=\"R2\" StartByte=\"10\" "
              "NumByte=\"20\" IPAddress=\"1.2.3.4\" Port=\"x\" Time=\"abc\" Position=\"1399\" StartBit=\"7\" "
              "ReadWrite=\"\" MoltFact=\"NONE\" Mnemonic=\"\"/>",
              "<DataSet_Item Index=\"0\" Reference=\"I/L.DS\" GooseName=\"G\" EnGoose=\"Y\" "
              "IPAddress=\"10.0.0.2\" "
              "Port=\"102\" Time=\"200\" Mnemonic=\"\"><DataSet_List_DAs>"
              "<DataSet_DA_Item bType=\"INT32\" Reference=\"I/L.x.v\" Position=\"20\" StartBit=\"1\" "
              "Convertion=\"ItoF/FtoI\" MoltFact=\"2.5\" Mnemonic=\"\"/>"
              "<DataSet_DA_Item bType=\"BOOLEAN\" Reference=\"b\" Position=\"21\" StartBit=\"0\" "
              "MoltFact=\"NONE\"/>"
              "</DataSet_List_DAs></DataSet_Item>"
              "<DataSet_Item Index=\"0\" Reference=\"E\" GooseName=\"\" IPAddress=\"\" Port=\"65536\" "
              "Time=\"0x64\" "
              "Mnemonic=\"\"><DataSet_List_DAs/></DataSet_Item>"));
    Compile_Bin();
    QByteArray expected = Hex(
        // header: 2 variables, 2 data sets, vLan 0, appID 0, variables at base+24, data sets at base+88
        "02000000 02000000 00000000 00000000 18000800 58000800"
        // variable 1: MX, read, bit 3, on change + on timer, conversion, 0/4, position 16, port 102, 500 ms,
        // 0.5, strings at base+176, +184, +193
        "4D58 00 03 05 01 00 04 1000 6600 F4010000 0000003F B0000800 B8000800 C1000800"
        // variable 2: ST, write, bit 7, no options, no conversion, 10/20, position 1399, port 0, 1000 ms,
        // 1.0, strings at base+201, +214, +222
        "5354 01 07 00 00 0A 14 7705 0000 E8030000 0000803F C9000800 D6000800 DE000800"
        // data set 1: 2 members, options 4, port 102, GOOSE on, 200 ms, strings at base+225, +227, +234,
        // members at base+144
        "02 04 6600 01 000000 C8000000 E1000800 E3000800 EA000800 90000800"
        // data set 2: no members, port 65536 -> 0, GOOSE off, 100 ms, strings at base+243, +244, +246,
        // members at base+176 (the start of the string pool)
        "00 04 0000 00 000000 64000000 F3000800 F4000800 F6000800 B0000800"
        // member 1: position 20, bit 1, conversion, 2.5, strings at base+247, +253
        "1400 01 01 00002040 F7000800 FD000800"
        // member 2: position 21, bit 0, no conversion, 1.0, strings at base+261, +269
        "1500 00 00 0000803F 05010800 0D010800");
    expected += QByteArray("FLOAT32\0"
                           "10.0.0.1\0"
                           "I/L.A.f\0"
                           "VisString255\0"
                           "1.2.3.4\0"
                           "R2\0"
                           "G\0"
                           "I/L.DS\0"
                           "10.0.0.2\0"
                           "\0"
                           "E\0"
                           "\0"
                           "INT32\0"
                           "I/L.x.v\0"
                           "BOOLEAN\0"
                           "b\0",
                           95);
    ASSERT_EQ(expected.size(), 271);
    EXPECT_EQ(Bank2().toHex(' '), expected.toHex(' '));
}

TEST_F(Compile_Bin_Test, MultiplicationFactorTakesEitherSeparator) {
    struct Case {
        const char* text;
        const char* bytes;
    };
    const Case cases[] = {{"0.5", "0000003F"},   {"0,5", "0000003F"},    {"NONE", "0000803F"},
                          {"", "0000803F"},      {" -2,5 ", "000020C0"}, {"1e3", "00007A44"},
                          {"1.5.5", "0000803F"}, {"1e40", "0000803F"}};
    for (const Case& c : cases) {
        Write("IEC_61850_Client.xml", Mapping(QByteArray(Var("R")).replace(
                                          "MoltFact=\"NONE\"", QByteArray("MoltFact=\"") + c.text + "\"")));
        Compile_Bin();
        EXPECT_EQ(Bank2().mid(24 + 16, 4).toHex(), Hex(c.bytes).toHex()) << c.text;
    }
}

// Each attribute of a mapping removed in turn: the build either stops naming it, or compiles
// with the attribute's fallback, changing at most the one byte given.
TEST_F(Compile_Bin_Test, MissingAttributeStopsTheBuildOrTakesItsFallback) {
    const QByteArray var =
        "<DA_Item Index=\"0\" bType=\"VisString255\" fc=\"ST\" Reference=\"R\" StartByte=\"3\" "
        "NumByte=\"5\" IPAddress=\"1.2.3.4\" Port=\"102\" OnChange=\"Y\" OnCMD=\"Y\" OnTimer=\"Y\" "
        "Time=\"10\" Position=\"0\" StartBit=\"0\" ReadWrite=\"Read\" Convertion=\"ItoF/FtoI\" "
        "MoltFact=\"NONE\" Mnemonic=\"m\"/>";
    const QByteArray set = "<DataSet_Item Index=\"0\" Reference=\"D\" GooseName=\"G\" EnGoose=\"Y\" "
                           "IPAddress=\"1.1.1.1\" Port=\"102\" Time=\"100\" Mnemonic=\"m\">";
    const QByteArray member =
        "<DataSet_DA_Item bType=\"INT32\" Reference=\"x\" Position=\"1\" StartBit=\"0\" "
        "Convertion=\"ItoF/FtoI\" MoltFact=\"NONE\" Mnemonic=\"m\"/>";
    auto without = [](const QByteArray& item, const char* attr) {
        return QString::fromLatin1(item)
            .remove(QRegularExpression(QStringLiteral(" %1=\"[^\"]*\"").arg(QLatin1String(attr))))
            .toLatin1();
    };
    auto mapping = [&](const QByteArray& v, const QByteArray& s, const QByteArray& m) {
        return Mapping(v, s + "<DataSet_List_DAs>" + m + "</DataSet_List_DAs></DataSet_Item>");
    };
    Write("IEC_61850_Client.xml", mapping(var, set, member));
    Compile_Bin();
    const QByteArray full = Bank2();
    ASSERT_EQ(U32(full, 16), 0x80000u + 24);
    ASSERT_EQ(U32(full, 20), 0x80000u + 56);

    enum { V, S, M };                       // the element the attribute is removed from
    const int vAt = 24, sAt = 56, mAt = 84; // its record in the image
    struct Case {
        int element;
        const char* attr;
        bool stops;
        int at;     // the byte that changes, -1 for none
        Byte value; // its value then
    };
    const Case cases[] = {
        {V, "Index", false, -1, 0},
        {V, "bType", true, -1, 0},
        {V, "fc", true, -1, 0},
        {V, "Reference", true, -1, 0},
        {V, "StartByte", false, vAt + 6, 0},
        {V, "NumByte", false, vAt + 7, 1},
        {V, "IPAddress", true, -1, 0},
        {V, "Port", true, -1, 0},
        {V, "OnChange", false, vAt + 4, 6},
        {V, "OnCMD", false, vAt + 4, 5},
        {V, "OnTimer", false, vAt + 4, 3},
        {V, "Time", true, -1, 0},
        {V, "Position", true, -1, 0},
        {V, "StartBit", true, -1, 0},
        {V, "ReadWrite", false, vAt + 2, 1},
        {V, "Convertion", false, vAt + 5, 0},
        {V, "MoltFact", true, -1, 0},
        {V, "Mnemonic", false, -1, 0},
        {S, "Index", false, -1, 0},
        {S, "Reference", true, -1, 0},
        {S, "GooseName", true, -1, 0},
        {S, "EnGoose", false, sAt + 4, 0},
        {S, "IPAddress", true, -1, 0},
        {S, "Port", true, -1, 0},
        {S, "Time", true, -1, 0},
        {S, "Mnemonic", false, -1, 0},
        {M, "bType", true, -1, 0},
        {M, "Reference", true, -1, 0},
        {M, "Position", true, -1, 0},
        {M, "StartBit", true, -1, 0},
        {M, "Convertion", false, mAt + 3, 0},
        {M, "MoltFact", true, -1, 0},
        {M, "Mnemonic", false, -1, 0},
    };
    for (const Case& c : cases) {
        const std::string what = std::string(c.element == V   ? "DA_Item "
                                             : c.element == S ? "DataSet_Item "
                                                              : "DataSet_DA_Item ") +
                                 c.attr;
        Write("IEC_61850_Client.xml", mapping(c.element == V ? without(var, c.attr) : var,
                                              c.element == S ? without(set, c.attr) : set,
                                              c.element == M ? without(member, c.attr) : member));
        if (c.stops) {
            try {
                Compile_Bin();
                ADD_FAILURE() << what << ": no error";
            } catch (const ECompile_Error& e) {
                EXPECT_TRUE(e.Message().contains(c.attr)) << what << ": " << e.Message().toStdString();
            }
            continue;
        }
        Compile_Bin();
        QByteArray expected = full;
        if (c.at >= 0) expected[c.at] = char(c.value);
        EXPECT_EQ(Bank2().toHex(' '), expected.toHex(' ')) << what;
    }
}

TEST_F(Compile_Bin_Test, RefusedMappingsWriteNothing) {
    const QByteArray big(524228, 'r');
    struct Case {
        const char* what;
        QByteArray mapping;
        const char* message;
    };
    const Case cases[] = {
        {"unreadable file", "<IEC_68850_Client><List_ICD_Files>", "cannot be read"},
        {"no List_DA_Selected", "<IEC_68850_Client><List_ICD_Files/></IEC_68850_Client>", "List_DA_Selected"},
        {"variable without Port", Mapping(QByteArray(Var("R")).replace("Port=\"102\"", "")), "Port"},
        {"data set without Time", Mapping("", QByteArray(DataSet(1)).replace("Time=\"100\"", "")), "Time"},
        {"member without MoltFact", Mapping("", QByteArray(DataSet(1)).replace("MoltFact=\"NONE\"", "")),
         "MoltFact"},
        {"data set without member list", Mapping("", "<DataSet_Item Reference=\"D\"/>"), "DataSet_List_DAs"},
        {"256 members", Mapping("", DataSet(256)), "256 members"},
        {"reference beyond ASCII", Mapping(Var("IED1LD0/GGIO1.\xC3\xA9.stVal")), "U+00E9"},
        {"control character", Mapping(Var("a&#9;b")), "U+0009"},
        {"GOOSE name beyond ASCII",
         Mapping("", QByteArray(DataSet(0)).replace("GooseName=\"\"", "GooseName=\"\xE2\x82\xAC\"")),
         "U+20AC"},
        {"image one byte too large", Mapping(Var(big + "r", "X", "")), "524289 bytes"},
    };
    // A good build first: its images must survive every refused one.
    Write("IEC_61850_Client.xml", Mapping(Var("Good")));
    Compile_Bin();
    Save_Bin();
    const QByteArray good1 = Read("bin/bank1.bin"), good2 = Read("bin/bank2.bin");
    ASSERT_EQ(good2.size(), 24 + 32 + 8 + 8 + 5);

    for (const Case& c : cases) {
        Write("IEC_61850_Client.xml", c.mapping);
        try {
            Compile_Bin();
            ADD_FAILURE() << c.what << ": no error";
        } catch (const ECompile_Error& e) {
            EXPECT_TRUE(e.Message().contains(c.message)) << c.what << ": " << e.Message().toStdString();
        }
        EXPECT_THROW(Save_Bin(), ECompile_Error) << c.what;
        EXPECT_EQ(Read("bin/bank1.bin"), good1) << c.what;
        EXPECT_EQ(Read("bin/bank2.bin"), good2) << c.what;
    }
    EXPECT_EQ(QDir(Dir.path() + "/bin").entryList(QDir::Files).size(), 2);
}

TEST_F(Compile_Bin_Test, LimitsAreReachedExactly) {
    // 255 members and an image of exactly 512 KB still compile.
    Write("IEC_61850_Client.xml", Mapping("", DataSet(255)));
    Compile_Bin();
    EXPECT_EQ(uint8_t(Bank2()[24]), 255);
    EXPECT_EQ(U32(Bank2(), 24 + 24), 0x80000u + 24 + 28);

    Write("IEC_61850_Client.xml", Mapping(Var(QByteArray(524228, 'r'), "X", "")));
    Compile_Bin();
    EXPECT_EQ(Bank2_Length, 0x80000);
}

TEST_F(Compile_Bin_Test, SaveCreatesTheFolderAndReplacesBothImagesOrNeither) {
    Compile_Bin();
    ASSERT_FALSE(QDir(Dir.path() + "/bin").exists());
    Save_Bin();
    EXPECT_EQ(Read("bin/bank1.bin").size(), 2048);

    // Old images in place, and a folder where a temporary file would go: nothing is replaced.
    Write("bin/bank1.bin", "old1");
    Write("bin/bank2.bin", "old2");
    ASSERT_TRUE(QDir(Dir.path()).mkpath("bin/bank2.bin.tmp"));
    EXPECT_THROW(Save_Bin(), ECompile_Error);
    EXPECT_EQ(Read("bin/bank1.bin"), "old1");
    EXPECT_EQ(Read("bin/bank2.bin"), "old2");
    EXPECT_FALSE(QFile::exists(Dir.path() + "/bin/bank1.bin.tmp"));

    // A file where the bin folder should be.
    ASSERT_TRUE(QDir(Dir.path() + "/bin").removeRecursively());
    Write("bin", "not a folder");
    EXPECT_THROW(Save_Bin(), ECompile_Error);
}

// Whatever stops a save, the folder holds the old pair afterwards: a new bank1.bin with an old
// bank2.bin (or the other way round) must never reach a device. The message names the file.
TEST_F(Compile_Bin_Test, FailedSaveLeavesTheOldPairAndNamesTheFile) {
    const struct {
        const char* What;
        const char* Folder; // a folder (with a file in it) put where the save needs a file
        bool OldBank1, OldBank2;
        const char* Named;
    } cases[] = {
        // bank1.bin is replaced first, then bank2.bin cannot be: bank1.bin gets its old image back.
        {"bank2.bin is a folder", "bank2.bin", true, false, "bank2.bin"},
        {"bank2.bin is a folder, no bank1.bin before", "bank2.bin", false, false, "bank2.bin"},
        {"bank1.bin is a folder", "bank1.bin", false, true, "bank1.bin"},
        {"bank1.bin.tmp is a folder", "bank1.bin.tmp", true, true, "bank1.bin"},
        {"bank2.bin.tmp is a folder", "bank2.bin.tmp", true, true, "bank2.bin"},
        {"no room for the copy of the old bank1.bin", "bank1.bin.old", true, true, "bank1.bin"},
        {"no room for the copy of the old bank2.bin", "bank2.bin.old", true, true, "bank2.bin"},
    };
    Compile_Bin();
    const QString bin = Dir.path() + "/bin/";
    for (const auto& c : cases) {
        SCOPED_TRACE(c.What);
        ASSERT_TRUE(QDir(bin).removeRecursively());
        ASSERT_TRUE(QDir().mkpath(bin + c.Folder));
        Write(QString("bin/") + c.Folder + "/inside", "x");
        if (c.OldBank1) Write("bin/bank1.bin", "old1");
        if (c.OldBank2) Write("bin/bank2.bin", "old2");
        QStringList before = QDir(bin).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);

        try {
            Save_Bin();
            ADD_FAILURE() << "no error";
        } catch (const ECompile_Error& e) {
            EXPECT_TRUE(e.Message().startsWith("The file \"" + bin + c.Named + "\" cannot be "))
                << e.Message().toStdString();
        }
        // Nothing added, nothing gone, no file changed.
        EXPECT_EQ(QDir(bin).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), before);
        if (c.OldBank1) {
            EXPECT_EQ(Read("bin/bank1.bin"), "old1");
        }
        if (c.OldBank2) {
            EXPECT_EQ(Read("bin/bank2.bin"), "old2");
        }
        EXPECT_TRUE(QFileInfo(bin + c.Folder).isDir());

        // With the obstacle gone the same save puts the new pair in place and keeps no copies.
        ASSERT_TRUE(QDir(bin + c.Folder).removeRecursively());
        Save_Bin();
        EXPECT_EQ(Read("bin/bank1.bin"), Bank1());
        EXPECT_EQ(Read("bin/bank2.bin"), Bank2());
        EXPECT_EQ(QDir(bin).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
                  QStringList({"bank1.bin", "bank2.bin"}));
    }
}

TEST_F(Compile_Bin_Test, ReadOnlyBinFolderLeavesTheOldPair) {
    Compile_Bin();
    const QString bin = Dir.path() + "/bin";
    ASSERT_TRUE(QDir().mkpath(bin));
    Write("bin/bank1.bin", "old1");
    Write("bin/bank2.bin", "old2");
    ASSERT_TRUE(QFile(bin).setPermissions(QFile::ReadOwner | QFile::ExeOwner));
    struct TRestore {
        QString Bin;
        ~TRestore() { QFile(Bin).setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner); }
    } restore{bin};
    {
        // Rights that ignore a read-only folder (the superuser's) make this case meaningless.
        QFile probe(bin + "/probe");
        if (probe.open(QIODevice::WriteOnly)) {
            probe.remove();
            GTEST_SKIP() << "a read-only folder does not stop writing with this user's rights";
        }
    }
    try {
        Save_Bin();
        ADD_FAILURE() << "no error";
    } catch (const ECompile_Error& e) {
        EXPECT_TRUE(e.Message().startsWith("The file \"" + bin + "/bank1.bin\" cannot be written"))
            << e.Message().toStdString();
    }
    EXPECT_EQ(Read("bin/bank1.bin"), "old1");
    EXPECT_EQ(Read("bin/bank2.bin"), "old2");
    EXPECT_EQ(QDir(bin).entryList(QDir::Files), QStringList({"bank1.bin", "bank2.bin"}));
}
