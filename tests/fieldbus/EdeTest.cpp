// The BACnet EDE file: the header, one line per object of the two BACnet tables with instances
// counted per object type, what ParGen.xml adds, and damaged tables refused before writing.
#include "SaveStepFixture.h"

#include "SysUtils.h"
#include "UBACnet_EDE.h"
#include "UProject.h"

#include <gtest/gtest.h>

namespace {

QByteArray Row(const char* Type, const char* Unit, const char* Mnemonic) {
    return QByteArray("<row Enable=\"Y\" Data_Type=\"") + Type + "\" Eng_Unit=\"" + Unit + "\" Mnemonic=\"" +
           Mnemonic + "\"/>";
}

QByteArray Tables(const QByteArray& Read, const QByteArray& Write) {
    return "<BACnet_Slave_SetAccess><BACnet_in_Read>" + Read + "</BACnet_in_Read><BACnet_in_Write>" + Write +
           "</BACnet_in_Write></BACnet_Slave_SetAccess>";
}

class EdeFile : public SaveStepTest {
protected:
    void SetUp() override {
        SaveStepTest::SetUp();
        FOldNow = EDE_Now;
        EDE_Now = [] { return EncodeDate(2026, 3, 7) + EncodeTime(9, 5, 4, 0); };
        Name_Project = "Plant1";
    }
    void TearDown() override {
        EDE_Now = FOldNow;
        Name_Project.clear();
        SaveStepTest::TearDown();
    }
    // The lines of a run's file, without their CR LF.
    QStringList Run() {
        Create_EDE_File(FDir.filePath("out.csv"));
        return CrLfLines("out.csv");
    }
    std::function<TDateTime()> FOldNow;
};

} // namespace

TEST_F(EdeFile, HeaderAndObjectLines) {
    WriteFile("BACnet_Slave_SetAccess.xml", Tables(Row("Analog Input", "62", "BoilerTemperature1"), ""));
    const QStringList L = Run();
    ASSERT_EQ(L.size(), 8);
    EXPECT_EQ(L.mid(0, 7),
              QStringList({
                  "PROJECT_NAME; Ostrel-GW40118-Plant1;;;;;;",
                  "VERSION_OF_REFERENCEFILE;1.0;;;;;;",
                  "TIMESTAMP_OF_LAST_CHANGE;09:05:04 07/03/2026;;;;;;",
                  "AUTHOR_OF_LAST_CHANGE;Ostrel;;;;;;",
                  "VERSION_OF_LAYOUT;2;;;;;;",
                  "# mandatory;mandatory;mandatory;mandatory;mandatory;optional;optional;",
                  "# keyname;device obj.-instance;object-name;object-type;object-instance;description;"
                  "unit-code;",
              }));
    // Without general parameters: no device instance, names cut at 16 characters.
    EXPECT_EQ(L[7], "_BoilerTemperature1_0;;BoilerTemperatur;0;0;BoilerTemperatur;62;");
}

TEST_F(EdeFile, GeneralParametersGiveDeviceInstanceAndNameLength) {
    WriteFile("BACnet_Slave_SetAccess.xml", Tables(Row("Analog Input", "62", "BoilerTemperature1"), ""));
    const struct {
        const char* ParGen;
        const char* Line;
    } cases[] = {
        {"<Par_Gen><BACnet_DEV_IDE>1234</BACnet_DEV_IDE><BACnet_Desc_Chars_Limit>1</BACnet_Desc_Chars_Limit>"
         "</Par_Gen>",
         "1234_BoilerTemperature1_0;1234;BoilerTemperature1;0;0;BoilerTemperature1;62;"},
        {"<Par_Gen><BACnet_Type>1</BACnet_Type><BACnet_Ser_DEV_IDE>77</BACnet_Ser_DEV_IDE>"
         "<BACnet_DEV_IDE>88</BACnet_DEV_IDE><BACnet_Desc_Chars_Limit>0</BACnet_Desc_Chars_Limit></Par_Gen>",
         "77_BoilerTemperature1_0;77;BoilerTemperatur;0;0;BoilerTemperatur;62;"},
        {"<Par_Gen><BACnet_Type>2</BACnet_Type><BACnet_Ser_DEV_IDE>77</BACnet_Ser_DEV_IDE>"
         "<BACnet_DEV_IDE>88</BACnet_DEV_IDE></Par_Gen>",
         "88_BoilerTemperature1_0;88;BoilerTemperatur;0;0;BoilerTemperatur;62;"},
        // The run after a project with 32-character names starts afresh.
        {"<Par_Gen></Par_Gen>", "_BoilerTemperature1_0;;BoilerTemperatur;0;0;BoilerTemperatur;62;"},
    };
    for (const auto& c : cases) {
        WriteParGen(c.ParGen);
        const QStringList L = Run();
        ASSERT_EQ(L.size(), 8) << c.ParGen;
        EXPECT_EQ(L[7], c.Line) << c.ParGen;
    }
}

TEST_F(EdeFile, InstancesCountPerTypeAcrossBothTables) {
    WriteFile("BACnet_Slave_SetAccess.xml",
              Tables(Row("Multi State Value", "95", "A") + Row("Analog Value", "62", "B") +
                         Row("Integer Value ", "95", "C") + Row("foo", "95", "D") +
                         Row("Analog Value", "62", "E"),
                     Row("multi state value", "95", "F") + Row("ANALOG INPUT", "95", "G") +
                         Row("Analog Value", "62", "H;I")));
    const QStringList L = Run();
    // Object type and instance of each object (the fourth and fifth fields).
    QStringList typeAndInstance;
    for (const QString& line : L.mid(7, 7)) typeAndInstance << line.section(u';', 3, 4);
    EXPECT_EQ(typeAndInstance, QStringList({"19;0", "2;0", "45;0", "0;0", "2;1", "19;1", "0;1"}));
    // A mnemonic with ";" is written as it stands.
    EXPECT_EQ(L.last(), "_H;I_2;;H;I;2;2;H;I;62;");
}

TEST_F(EdeFile, TypeTable) {
    const struct {
        const char* Type;
        int Code;
    } cases[] = {{"Analog Input", 0},
                 {"ANALOG OUT", 1},
                 {"analog value", 2},
                 {"Binary Input", 3},
                 {"Binary Out", 4},
                 {"Binary Value", 5},
                 {"Multi State Input", 13},
                 {"Multi State Output", 14},
                 {"Life Safety Point", 21},
                 {"Life Safety Zone", 22},
                 {"Accumulator", 23},
                 {"Access Door", 30},
                 {"CharacterString Value", 40},
                 {"DateTime Value", 44},
                 {"  Large Analog Value ", 46},
                 {"Octet String", 47},
                 {"Positive Integer Value", 48},
                 {"Analog  Input", 0},
                 {"", 0}};
    for (const auto& c : cases) EXPECT_EQ(Get_Object_Type(c.Type), c.Code) << c.Type;
}

TEST_F(EdeFile, WithoutTablesOnlyTheHeader) {
    EXPECT_EQ(Run().size(), 7);
}

TEST_F(EdeFile, DamagedTablesRaiseAndKeepTheOldFile) {
    const struct {
        const char* Why;
        QByteArray File;
        const char* Names;
    } cases[] = {
        {"no write section", "<T><BACnet_in_Read/></T>", "BACnet_in_Write"},
        {"no read section", "<T><BACnet_in_Write/></T>", "BACnet_in_Read"},
        {"a row without Mnemonic", Tables("<row Data_Type=\"Analog Input\" Eng_Unit=\"62\"/>", ""),
         "Mnemonic"},
        {"a row without Eng_Unit", Tables("", "<row Data_Type=\"Analog Input\" Mnemonic=\"M\"/>"),
         "Eng_Unit"},
        {"not XML", "<T><BACnet_in_Read>", "BACnet_Slave_SetAccess.xml"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Why);
        WriteFile("BACnet_Slave_SetAccess.xml", c.File);
        WriteFile("out.csv", "old");
        try {
            Create_EDE_File(FDir.filePath("out.csv"));
            ADD_FAILURE() << "no error";
        } catch (const Exception& E) {
            EXPECT_TRUE(E.Message().contains(QString::fromLatin1(c.Names))) << E.Message().toStdString();
        }
        EXPECT_EQ(Read("out.csv"), "old");
    }
}
