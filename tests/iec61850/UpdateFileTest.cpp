// The update program's parameter file, element for element, for each update option and
// read-back setting; the image paths; the canonical device address.
#include "UEthernet_Update.h"
#include "UProject.h"
#include "XmlDoc.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

using TElements = std::vector<std::pair<String, String>>;

// The children of an element as (name, text) pairs; an element with children of its own shows
// as "<n>" with n its number of children.
TElements Children(const TXMLNode& Node) {
    TElements result;
    for (TXMLNode c = Node.FirstChild(); c; c = c.NextSibling())
        result.emplace_back(c.NodeName(),
                            c.HasChildElements() ? QStringLiteral("<%1>").arg(c.ChildCount()) : c.Text());
    return result;
}

enum TKind { Firmware, Block, Image };

// One operation as the file must carry it.
TElements Operation(TKind Kind, const String& File, bool ReadBack, bool Last) {
    return {
        {"Ope_Protection_Enabled", ""},
        {"Ope_GoToBoot_Before", "0"},
        {"Ope_GoToApp_Before", "0"},
        {"Ope_IP_Address", ""},
        {"Ope_Port", "2008"},
        {"Ope_Port_Sec", "2007"},
        {"Ope_Erase_Memory", "0"},
        {"Ope_FileName", File},
        {"Ope_Start_Address", Kind == Firmware ? "0x8000"
                              : Kind == Block  ? "0x07000"
                                               : "0x80000"},
        {"Ope_Memory_Type", "0"},
        {"Ope_Bank_Type", Kind == Firmware ? "1" : "2"},
        {"Ope_Read_Back", ReadBack ? "1" : "0"},
        {"Ope_Write_CSS", Kind == Firmware ? "1" : "0"},
        {"Ope_Address_CSS", "0x07A00"},
        {"Ope_Command_CSS", "0x02"},
        {"Ope_Write_Internal_Data", "0"},
        {"Ope_WID_Address", "0x07810"},
        {"Ope_WID_Command", "0x02"},
        {"Ope_WID_Data", "0x00, 0x00, 0x00, 0x01"},
        {"Ope_GoToApp_After", Last ? "1" : "0"},
    };
}

class UpdateFile : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(FDir.isValid());
        // A program folder, and a project whose name has a blank.
        Path_Program = FDir.path();
        Path_Master = Path_Program + "\\MASTER";
        Path_Project = Path_Program + "\\PROJECTS\\My Project";
        Set_Files();
    }
    void TearDown() override {
        Path_Project.clear();
        Path_Program.clear();
        Path_Master.clear();
    }
    QTemporaryDir FDir;
};

} // namespace

TEST_F(UpdateFile, EachOptionAndReadBackGivesItsOperations) {
    const String fw = FDir.path() + "/MASTER/Sim40210.sim";
    const String b1 = FDir.path() + "/PROJECTS/My Project/bin/bank1.bin";
    const String b2 = FDir.path() + "/PROJECTS/My Project/bin/bank2.bin";
    const struct {
        int Option;
        std::vector<TKind> Kinds;
    } cases[] = {
        {uoFirmware_Configuration, {Firmware, Block, Image}},
        {uoFirmware, {Firmware}},
        {uoConfiguration, {Block, Image}},
    };
    for (const auto& c : cases)
        for (bool readBack : {true, false}) {
            SCOPED_TRACE(testing::Message() << "option " << c.Option << " read back " << readBack);
            const String file = Path_Program + "\\" + Ethernet_Update_File_Name;
            Write_Ethernet_Update_File(file,
                                       Ethernet_Update_Parameters(" 192.168.2.205", c.Option, readBack));
            QFile f(FDir.filePath("Ethernet_Update.xml"));
            ASSERT_TRUE(f.open(QIODevice::ReadOnly));
            const QByteArray bytes = f.readAll();
            EXPECT_TRUE(bytes.startsWith("<Ethernet_Update>")) << "no declaration before the root";

            TXMLDocument doc(nullptr);
            doc.LoadFromXML(bytes);
            const TXMLNode root = doc.DocumentElement();
            EXPECT_EQ(root.NodeName(), "Ethernet_Update");
            const TElements top = {{"Version", "1000"},
                                   {"Title", "Ostrel - CF40210 Ethernet Update"},
                                   {"IP_Address_Dev", " 192.168.2.205"},
                                   {"Application_Port", "10000"},
                                   {"Boot_Port", "2008"},
                                   {"Boot_Port_Sec", "2007"},
                                   {"Address_Protection", "0x07800"},
                                   {"Protections", "<1>"},
                                   {"Operations", QStringLiteral("<%1>").arg(c.Kinds.size())}};
            EXPECT_EQ(Children(root), top);
            EXPECT_EQ(Children(root.FindNode("Protections")), TElements({{"Protection", "0x2D6"}}));
            int i = 0;
            for (TXMLNode op = root.FindNode("Operations").FirstChild(); op; op = op.NextSibling(), ++i) {
                ASSERT_LT(i, int(c.Kinds.size()));
                EXPECT_EQ(op.NodeName(), "Operation");
                const TKind k = c.Kinds[size_t(i)];
                EXPECT_EQ(Children(op), Operation(k,
                                                  k == Firmware ? fw
                                                  : k == Block  ? b1
                                                                : b2,
                                                  readBack, i == int(c.Kinds.size()) - 1));
            }
            EXPECT_EQ(i, int(c.Kinds.size()));
            EXPECT_EQ(Update_Image_Files(Ethernet_Update_Parameters("", c.Option, readBack)).size(),
                      qsizetype(c.Kinds.size()));
        }
}

TEST_F(UpdateFile, UnknownOptionWritesNothing) {
    const String file = FDir.filePath("Ethernet_Update.xml");
    for (int option : {-1, 3}) {
        EXPECT_THROW(Write_Ethernet_Update_File(file, Ethernet_Update_Parameters("1.2.3.4", option, true)),
                     EUpdate_Error);
        EXPECT_THROW(Update_Image_Files(Ethernet_Update_Parameters("1.2.3.4", option, true)), EUpdate_Error);
    }
    EXPECT_FALSE(QFile::exists(file));
}

TEST_F(UpdateFile, FileIsReplacedWholeAndAFailedSaveLeavesTheOldOne) {
    const String file = FDir.filePath("Ethernet_Update.xml");
    Write_Ethernet_Update_File(file, Ethernet_Update_Parameters("1.2.3.4", uoFirmware_Configuration, true));
    Write_Ethernet_Update_File(file, Ethernet_Update_Parameters("5.6.7.8", uoFirmware, false));
    TXMLDocument doc(nullptr);
    doc.LoadFromFile(file);
    EXPECT_EQ(doc.DocumentElement().FindNode("IP_Address_Dev").Text(), "5.6.7.8");
    EXPECT_EQ(doc.DocumentElement().FindNode("Operations").ChildCount(), 1);
    EXPECT_THROW(Write_Ethernet_Update_File(FDir.filePath("no/such/folder/Ethernet_Update.xml"),
                                            Ethernet_Update_Parameters("1.2.3.4", uoFirmware, true)),
                 EXMLDocError);
}

TEST(DeviceAddress, FourDecimalOctetsInCanonicalForm) {
    const struct {
        const char *O1, *O2, *O3, *O4;
        const char* Address; // nullptr: refused
    } cases[] = {
        {"192", "168", "2", "205", "192.168.2.205"},
        {" 10", "0 ", " 000", "010", "10.0.0.10"},
        {"255", "255", "255", "255", "255.255.255.255"},
        {"0", "0", "0", "0", "0.0.0.0"},
        {"256", "1", "1", "1", nullptr},
        {"1", "1", "1", "", nullptr},
        {"1", "1", "1", "-1", nullptr},
        {"1", "1", "1", "+1", nullptr},
        {"$FF", "1", "1", "1", nullptr},
        {"0x1", "1", "1", "1", nullptr},
        {"1.2", "1", "1", "1", nullptr},
        {"1 2", "1", "1", "1", nullptr},
        {"0001", "1", "1", "1", nullptr},
        {"١", "1", "1", "1", nullptr}, // a digit of another script
    };
    for (const auto& c : cases) {
        String address = "unchanged";
        EXPECT_EQ(Canonical_IP_Address(String::fromUtf8(c.O1), c.O2, c.O3, c.O4, address),
                  c.Address != nullptr)
            << c.O1;
        EXPECT_EQ(address, c.Address ? c.Address : "unchanged") << c.O1;
    }
}
