// The BACnet EDE file: the header, one line per object of the two BACnet tables with instances
// counted per object type, what ParGen.xml adds, and damaged tables refused before writing.
#include "OutsideChecks.h"
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
    // The lines of a run's file, without their CR LF. Every file is also read by the csv
    // check, in full when ParGen.xml gives the device instance.
    QStringList Run() {
        Create_EDE_File(FDir.filePath("out.csv"));
        const QStringList L = CrLfLines("out.csv");
        const bool device = Read("ParGen.xml").contains("DEV_IDE>");
        EXPECT_EQ(outside_check::EdeObjects(FDir.filePath("out.csv"), device), L.size() - 7);
        return L;
    }
    // The project's ParGen.xml and BACnet tables; an empty text leaves the file out.
    void Project(const QByteArray& ParGen, const QByteArray& BACnet) {
        QFile::remove(FDir.filePath("ParGen.xml"));
        QFile::remove(FDir.filePath("BACnet_Slave_SetAccess.xml"));
        if (!ParGen.isEmpty()) WriteParGen(ParGen);
        if (!BACnet.isEmpty()) WriteFile("BACnet_Slave_SetAccess.xml", BACnet);
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
                         Row("Analog Value", "62", "H")));
    const QStringList L = Run();
    // Object type and instance of each object (the fourth and fifth fields).
    QStringList typeAndInstance;
    for (const QString& line : L.mid(7, 7)) typeAndInstance << line.section(u';', 3, 4);
    EXPECT_EQ(typeAndInstance, QStringList({"19;0", "2;0", "45;0", "0;0", "2;1", "19;1", "0;1"}));
    EXPECT_EQ(L.last(), "_H_2;;H;2;2;H;62;");
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

TEST_F(EdeFile, FieldsThatWouldBreakTheFileAreRefused) {
    const struct {
        const char* Why;
        QByteArray ParGen;
        QByteArray Tables;
        QString Project;
        QStringList Names; // besides text 1120
    } cases[] = {
        {"a mnemonic with the separator",
         "",
         Tables(Row("Analog Input", "62", "A") + Row("Analog Input", "62", "H;I"), ""),
         "Plant1",
         {"[BACnet_in_Read] row 2", "Mnemonic", "H;I"}},
        {"a mnemonic with a line feed",
         "",
         Tables("", "<row Data_Type=\"Binary Value\" Eng_Unit=\"95\" Mnemonic=\"a&#10;b\"/>"),
         "Plant1",
         {"[BACnet_in_Write] row 1", "Mnemonic"}},
        {"a mnemonic with a carriage return",
         "",
         Tables("<row Data_Type=\"Binary Value\" Eng_Unit=\"95\" Mnemonic=\"a&#13;b\"/>", ""),
         "Plant1",
         {"[BACnet_in_Read] row 1", "Mnemonic"}},
        {"a mnemonic the code page lacks",
         "",
         Tables("", Row("Analog Value", "62", "Ohm \xce\xa9")),
         "Plant1",
         {"[BACnet_in_Write] row 1", "Mnemonic"}},
        {"a unit code with the separator",
         "",
         Tables(Row("Analog Value", "6;2", "T"), ""),
         "Plant1",
         {"[BACnet_in_Read] row 1", "Eng_Unit"}},
        {"a device instance with the separator",
         "<Par_Gen><BACnet_DEV_IDE>12;34</BACnet_DEV_IDE></Par_Gen>",
         Tables(Row("Analog Value", "62", "T"), ""),
         "Plant1",
         {"ParGen.xml BACnet_DEV_IDE", "12;34"}},
        {"a serial device instance with a line break",
         "<Par_Gen><BACnet_Type>1</BACnet_Type><BACnet_Ser_DEV_IDE>7&#10;7</BACnet_Ser_DEV_IDE></Par_Gen>",
         "",
         "Plant1",
         {"BACnet_Ser_DEV_IDE"}},
        {"a project name with the separator", "", "", "Plant;1", {"Name_Project", "Plant;1"}},
        {"a project name the code page lacks", "", "", QStringLiteral("Plant \u0416"), {"Name_Project"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Why);
        Project(c.ParGen, c.Tables);
        Name_Project = c.Project;
        WriteFile("out.csv", "old");
        try {
            Create_EDE_File(FDir.filePath("out.csv"));
            ADD_FAILURE() << "no error";
        } catch (const Exception& E) {
            for (const QString& n : QStringList{Lang_Text.Get(1120)} + c.Names)
                EXPECT_TRUE(E.Message().contains(n)) << E.Message().toStdString();
        }
        EXPECT_EQ(Read("out.csv"), "old");
        EXPECT_TRUE(Messages.isEmpty());
    }
    // Characters of the code page other than ASCII are written as they are.
    QFile::remove(FDir.filePath("ParGen.xml"));
    Name_Project = QStringLiteral("Caf\u00e9");
    WriteFile("BACnet_Slave_SetAccess.xml", Tables(Row("Analog Value", "62", "T\xc2\xb0 \xe2\x82\xac"), ""));
    Run();
    EXPECT_TRUE(Read("out.csv").contains("PROJECT_NAME; Ostrel-GW40118-Caf\xe9;"));
    EXPECT_TRUE(Read("out.csv").contains(";T\xb0 \x80;"));
}

TEST_F(EdeFile, WhatReadersRejectIsReportedAfterWriting) {
    const QByteArray device = "<Par_Gen><BACnet_DEV_IDE>1234</BACnet_DEV_IDE></Par_Gen>";
    const struct {
        const char* Why;
        QByteArray ParGen;
        QByteArray Tables;
        QStringList Names; // what the warning lists; empty: no warning
    } cases[] = {
        {"a sound file",
         device,
         Tables(Row("Analog Input", "62", "T1"), Row("Analog Value", "62", "T2")),
         {}},
        {"no objects, no device instance", "", "", {}},
        {"no device instance", "", Tables(Row("Analog Input", "62", "T1"), ""), {"device instance empty"}},
        {"an empty object name",
         device,
         Tables(Row("Analog Input", "62", "T1"), Row("Analog Value", "62", "")),
         {"object name empty: [BACnet_in_Write] row 1"}},
        {"names equal after the cut to 16",
         device,
         Tables(Row("Analog Input", "62", "BoilerTemperatureA"),
                Row("Analog Value", "62", "BoilerTemperatureB")),
         {"object name \"BoilerTemperatur\" repeated: [BACnet_in_Read] row 1, [BACnet_in_Write] row 1"}},
        {"a repeated keyname",
         device,
         Tables(Row("Analog Input", "62", "T") + Row("Binary Value", "95", "T"), ""),
         {"object name \"T\" repeated",
          "keyname \"1234_T_0\" repeated: [BACnet_in_Read] row 1, [BACnet_in_Read] row 2"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Why);
        Project(c.ParGen, c.Tables);
        Messages.clear();
        Create_EDE_File(FDir.filePath("out.csv"));
        EXPECT_TRUE(Read("out.csv").startsWith("PROJECT_NAME;")) << "the file is written all the same";
        if (c.Names.isEmpty()) {
            EXPECT_TRUE(Messages.isEmpty());
            continue;
        }
        ASSERT_EQ(Messages.size(), 1);
        EXPECT_EQ(Messages[0].DlgType, mtWarning);
        EXPECT_TRUE(Messages[0].Msg.startsWith(Lang_Text.Get(1121)));
        for (const QString& n : c.Names)
            EXPECT_TRUE(Messages[0].Msg.contains(n)) << Messages[0].Msg.toStdString();
    }
}
