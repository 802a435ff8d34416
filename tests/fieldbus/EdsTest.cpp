// The CANopen EDS file: header counts, fixed objects, the sections of each PDO, the application
// objects of the SDO server tables, the date and time texts, and damaged tables.
#include "OutsideChecks.h"
#include "SaveStepFixture.h"

#include "SysUtils.h"
#include "UCANopen_EDS.h"
#include "UProject.h"

#include <gtest/gtest.h>

namespace {

QByteArray Pdo(const char* Cob, const char* Dim) {
    return QByteArray("<row COB-ID=\"") + Cob + "\" Dimension=\"" + Dim +
           "\" Address_B1=\"0\" TimeOut=\"0\" Mnemonic=\"\"/>";
}
QByteArray PdoFile(const QByteArray& Receive, const QByteArray& Transmit) {
    return "<PDO_CANopen><!--SW_VERSION = 1.000--><Receive_PDO>" + Receive + "</Receive_PDO><Transmit_PDO>" +
           Transmit + "</Transmit_PDO></PDO_CANopen>";
}
QByteArray Sdo(const char* Index, const char* Sub, const char* NByte) {
    return QByteArray("<row Index=\"") + Index + "\" SubIndex=\"" + Sub + "\" NByte=\"" + NByte +
           "\" Mnemonic=\"x\"/>";
}
QByteArray SdoFile(const QByteArray& Read, const QByteArray& Write) {
    return "<SDO_Server_CANopen><SDO_Read>" + Read + "</SDO_Read><SDO_Write>" + Write +
           "</SDO_Write></SDO_Server_CANopen>";
}

class EdsFile : public SaveStepTest {
protected:
    void SetUp() override {
        SaveStepTest::SetUp();
        FOldNow = EDS_Now;
        EDS_Now = [] { return EncodeDate(2021, 6, 25) + EncodeTime(15, 7, 0, 0); };
    }
    void TearDown() override {
        EDS_Now = FOldNow;
        SaveStepTest::TearDown();
    }
    // Every file a test generates is also read by the outside checks.
    QStringList Run() {
        Create_EDS_File(FDir.filePath("out.eds"));
        EXPECT_EQ(outside_check::EdsFaults(FDir.filePath("out.eds")), QString());
        return CrLfLines("out.eds");
    }
    // Create_EDS_File refuses the tables: the message holds every one of Names, and the earlier
    // file stays as it was.
    void ExpectRefused(const QStringList& Names) {
        WriteFile("out.eds", "old");
        try {
            Create_EDS_File(FDir.filePath("out.eds"));
            ADD_FAILURE() << "no error";
        } catch (const Exception& E) {
            for (const QString& n : Names) EXPECT_TRUE(E.Message().contains(n)) << E.Message().toStdString();
        }
        EXPECT_EQ(Read("out.eds"), "old");
        QStringList left = Files();
        left.removeAll("PDO_CANopen.xml");
        left.removeAll("SDO_Server_CANopen.xml");
        EXPECT_EQ(left, QStringList({"out.eds"})) << "no temporary file left";
    }
    // The lines of a section after its name, up to the next empty line or section.
    static QStringList Section(const QStringList& L, const QString& Name) {
        qsizetype at = L.indexOf(Name);
        if (at < 0) return {"<missing " + Name + ">"};
        QStringList keys;
        for (++at; at < L.size() && !L[at].isEmpty() && !L[at].startsWith(u'['); ++at) keys << L[at];
        return keys;
    }
    std::function<TDateTime()> FOldNow;
};

} // namespace

TEST_F(EdsFile, EmptyProjectHasTheFixedPartOnly) {
    const QStringList L = Run();
    EXPECT_EQ(Section(L, "[FileInfo]"),
              QStringList({"FileName=ZEZ61850_Ovidor_ARIzizu.eds", "FileVersion=1", "FileRevision=0",
                           "EDSVersion=4.0", "Description=ZED61850 Urerod / CANopen - Converter",
                           "CreationTime=03:07PM", "CreationDate=06-25-2021", "CreatedBy=Ostrel",
                           "ModificationTime=03:07PM", "ModificationDate=06-25-2021", "ModifiedBy=Ostrel"}));
    const QStringList device = Section(L, "[DeviceInfo]");
    EXPECT_EQ(device.mid(device.size() - 2), QStringList({"NrOfRXPDO=0", "NrOfTXPDO=0"}));
    EXPECT_EQ(Section(L, "[OptionalObjects]").first(), "SupportedObjects=8");
    EXPECT_EQ(Section(L, "[ManufacturerObjects]"), QStringList({"SupportedObjects=0"}));
    EXPECT_EQ(Section(L, "[1014]"),
              QStringList({"ParameterName=COB-ID EMCY", "ObjectType=0x07", "DataType=0x0007", "AccessType=ro",
                           "DefaultValue=$NODEID+0x80", "PDOMapping=0"}));
    EXPECT_EQ(Section(L, "[1018]"),
              QStringList({"SubNumber=5", "ParameterName=Identity Object", "ObjectType=0x09"}));
    EXPECT_EQ(Section(L, "[1018sub1]"), QStringList({"ParameterName=Vendor Id", "ObjectType=0x07",
                                                     "DataType=0x0007", "AccessType=ro", "PDOMapping=0"}));
    // The last fixed object is followed by the one final empty line.
    EXPECT_EQ(L.mid(L.size() - 7),
              QStringList({"[1280sub3]", "ParameterName=Node ID of the SDO Server", "ObjectType=0x07",
                           "DataType=0x0005", "AccessType=rw", "PDOMapping=0", ""}));
}

TEST_F(EdsFile, PdoSections) {
    WriteFile("PDO_CANopen.xml",
              PdoFile(Pdo("0x201", "2"), Pdo("0x181", "1") + Pdo("$282", "x") + Pdo("oops", "1")));
    const QStringList L = Run();
    const QStringList device = Section(L, "[DeviceInfo]");
    EXPECT_EQ(device.mid(device.size() - 2), QStringList({"NrOfRXPDO=1", "NrOfTXPDO=3"}));
    const QStringList optional = Section(L, "[OptionalObjects]");
    EXPECT_EQ(optional.first(), "SupportedObjects=20");
    EXPECT_EQ(optional.mid(9),
              QStringList({"9=0x1400", "10=0x1600", "11=0x1800", "12=0x1801", "13=0x1802", "14=0x1A00",
                           "15=0x1A01", "16=0x1A02", "17=0x7000", "18=0x7050", "19=0x7051", "20=0x7052"}));
    EXPECT_EQ(Section(L, "[1400]"),
              QStringList(
                  {"SubNumber=4", "ParameterName=Receive PDO Communication Parameter 1", "ObjectType=0x09"}));
    EXPECT_EQ(Section(L, "[1400sub1]")[4], "DefaultValue=0x00000201");
    EXPECT_EQ(Section(L, "[1600]"),
              QStringList({"SubNumber=3", "ParameterName=Receive PDO Mapping Parameter", "ObjectType=0x09"}));
    EXPECT_EQ(Section(L, "[1600sub0]")[4], "DefaultValue=0x02");
    EXPECT_EQ(Section(L, "[1600sub2]"),
              QStringList({"ParameterName=Mapping Entry 2", "ObjectType=0x07", "DataType=0x0007",
                           "AccessType=ro", "DefaultValue=0x70000208", "PDOMapping=0"}));
    EXPECT_EQ(Section(L, "[7000]"), QStringList({"SubNumber=3", "ParameterName=RPDO1", "ObjectType=0x08"}));
    EXPECT_EQ(Section(L, "[7000sub2]"), QStringList({"ParameterName=b2", "ObjectType=0x07", "DataType=0x0005",
                                                     "AccessType=rww", "DefaultValue=0x00", "PDOMapping=1"}));
    // The second transmit PDO; a length that is no number counts as 8, a COB-ID as 0.
    EXPECT_EQ(Section(L, "[1A01]")[1], "ParameterName=Transmit PDO Mapping Parameter 2");
    EXPECT_EQ(Section(L, "[1A01]")[0], "SubNumber=9");
    EXPECT_EQ(Section(L, "[1801sub1]")[4], "DefaultValue=0x00000282");
    EXPECT_EQ(Section(L, "[1802sub1]")[4], "DefaultValue=0x00000000");
    EXPECT_EQ(Section(L, "[7051sub0]")[3], "AccessType=rw");
    EXPECT_EQ(Section(L, "[7051sub8]")[0], "ParameterName=m8");
    EXPECT_EQ(Section(L, "[7051sub8]")[3], "AccessType=rwr");
    // The sections come in their groups: receive communication and mapping, transmit
    // communication and mapping, then the data objects.
    QStringList order;
    for (const QString& l : L)
        if (l.startsWith(u'[') && !l.contains("sub") && (l.startsWith("[1") || l.startsWith("[7")) &&
            l.size() == 6 && l >= "[1400]")
            order << l;
    EXPECT_EQ(order, QStringList({"[1400]", "[1600]", "[1800]", "[1801]", "[1802]", "[1A00]", "[1A01]",
                                  "[1A02]", "[7000]", "[7050]", "[7051]", "[7052]"}));
}

TEST_F(EdsFile, ApplicationObjectsFromTheSdoServerTables) {
    WriteFile("SDO_Server_CANopen.xml",
              SdoFile(Sdo("0x2100", "0", "4") + Sdo("0x2000", "3", "2") + Sdo("$2100", "16", "1") +
                          Sdo("8448", "255", "4") + Sdo("0x2200", "5", "4"),
                      Sdo("0x2000", "1", "1") + Sdo("0x2200", "6", "2")));
    const QStringList L = Run();
    // Objects in the order of first appearance, read table first.
    EXPECT_EQ(Section(L, "[ManufacturerObjects]"),
              QStringList({"SupportedObjects=3", "1=0x2100", "2=0x2000", "3=0x2200"}));
    // Without a sub-index 0 a largest-sub-index entry is made; entries sorted by sub-index.
    EXPECT_EQ(Section(L, "[2000]"), QStringList({"SubNumber=3", "ParameterName=App Vars", "ObjectType=0x9"}));
    EXPECT_EQ(Section(L, "[2000sub0]"),
              QStringList({"ParameterName=Largest Sub-Index supported", "ObjectType=0x7", "DataType=0x0005",
                           "AccessType=ro", "DefaultValue=0x03", "PDOMapping=0"}));
    EXPECT_LT(L.indexOf("[2000sub1]"), L.indexOf("[2000sub3]"));
    EXPECT_EQ(Section(L, "[2000sub1]"), QStringList({"ParameterName=Application Variable", "ObjectType=0x7",
                                                     "DataType=0x0005", "LowLimit=0x00", "HighLimit=0xFF",
                                                     "DefaultValue=0x00", "AccessType=rw", "PDOMapping=0"}));
    EXPECT_EQ(Section(L, "[2000sub3]")[2], "DataType=0x0006");
    EXPECT_EQ(Section(L, "[2000sub3]")[6], "AccessType=ro");
    // With a user sub-index 0 the object has as many subs as entries, and no generated sub0.
    EXPECT_EQ(Section(L, "[2100]")[0], "SubNumber=3");
    EXPECT_EQ(Section(L, "[2100sub0]")[0], "ParameterName=Application Variable");
    EXPECT_EQ(Section(L, "[2100sub10]")[2], "DataType=0x0005");
    EXPECT_EQ(Section(L, "[2100subFF]")[2], "DataType=0x0007");
    // One object from both tables: each entry keeps the access of its table.
    EXPECT_EQ(Section(L, "[2200sub5]")[6], "AccessType=ro");
    EXPECT_EQ(Section(L, "[2200sub6]")[6], "AccessType=rw");
    EXPECT_EQ(L.last(), "");
    EXPECT_EQ(L[L.size() - 2], "");
    EXPECT_EQ(L[L.size() - 3], "PDOMapping=0");
}

TEST_F(EdsFile, DateAndTimeTexts) {
    const struct {
        int H, M;
        const char* Time;
    } cases[] = {{0, 0, "00:00AM"},   {0, 5, "00:05AM"},  {9, 30, "09:30AM"},
                 {11, 59, "11:59AM"}, {12, 0, "12:00PM"}, {12, 1, "00:01PM"},
                 {12, 59, "00:59PM"}, {13, 0, "01:00PM"}, {23, 59, "11:59PM"}};
    for (const auto& c : cases)
        EXPECT_EQ(EDS_Time_Text(EncodeDate(2021, 6, 25) + EncodeTime(Word(c.H), Word(c.M), 30, 0)), c.Time);
    EXPECT_EQ(EDS_Date_Text(EncodeDate(2021, 6, 25)), "06-25-2021");
    EXPECT_EQ(EDS_Date_Text(EncodeDate(1999, 12, 1)), "12-01-1999");
}

TEST_F(EdsFile, ThirtyPdoRowsAreTheMost) {
    QByteArray rows;
    for (int i = 0; i < 30; ++i) rows += Pdo("0x200", "1");
    WriteFile("PDO_CANopen.xml", PdoFile(rows, ""));
    const QStringList L = Run();
    EXPECT_TRUE(L.contains("NrOfRXPDO=30"));
    EXPECT_EQ(Section(L, "[701Dsub1]")[0], "ParameterName=av1");
    // A hand-edited table with a 31st row is refused, not cut.
    WriteFile("PDO_CANopen.xml", PdoFile("", rows + Pdo("0x200", "1")));
    ExpectRefused({Lang_Text.Get(1116), "[Transmit_PDO] row 31"});
}

TEST_F(EdsFile, ValuesOutOfRangeAreRefused) {
    const struct {
        const char* File;
        QByteArray Content;
        QStringList Names; // besides text 1116
    } cases[] = {
        {"PDO_CANopen.xml",
         PdoFile(Pdo("1", "1") + Pdo("1", "0"), ""),
         {"[Receive_PDO] row 2", "Dimension \"0\""}},
        {"PDO_CANopen.xml", PdoFile("", Pdo("1", "9")), {"[Transmit_PDO] row 1", "Dimension \"9\""}},
        {"PDO_CANopen.xml", PdoFile(Pdo("1", "-1"), ""), {"[Receive_PDO] row 1", "Dimension"}},
        {"PDO_CANopen.xml", PdoFile(Pdo("1", "4294967304"), ""), {"[Receive_PDO] row 1", "Dimension"}},
        {"SDO_Server_CANopen.xml",
         SdoFile(Sdo("0x1FFF", "1", "1"), ""),
         {"[SDO_Read] row 1", "Index \"0x1FFF\""}},
        {"SDO_Server_CANopen.xml",
         SdoFile("", Sdo("0x2000", "1", "1") + Sdo("0x6000", "1", "1")),
         {"[SDO_Write] row 2", "Index"}},
        {"SDO_Server_CANopen.xml", SdoFile(Sdo("0x12000", "1", "1"), ""), {"[SDO_Read] row 1", "Index"}},
        {"SDO_Server_CANopen.xml",
         SdoFile(Sdo("0x2000", "256", "1"), ""),
         {"[SDO_Read] row 1", "SubIndex \"256\""}},
        {"SDO_Server_CANopen.xml", SdoFile(Sdo("0x2000", "-1", "1"), ""), {"SubIndex \"-1\""}},
        {"SDO_Server_CANopen.xml", SdoFile(Sdo("0x2000", "1", "3"), ""), {"[SDO_Read] row 1", "NByte \"3\""}},
        {"SDO_Server_CANopen.xml", SdoFile(Sdo("0x2000", "1", "8"), ""), {"NByte \"8\""}},
        {"SDO_Server_CANopen.xml", SdoFile(Sdo("0x2000", "1", "0"), ""), {"NByte \"0\""}},
        {"SDO_Server_CANopen.xml", SdoFile(Sdo("20h", "1", "1"), ""), {"[SDO_Read] row 1", "Index \"20h\""}},
        {"SDO_Server_CANopen.xml", SdoFile(Sdo("0x2000", "1", "99999999999"), ""), {"NByte"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Content.toStdString());
        QFile::remove(FDir.filePath("PDO_CANopen.xml"));
        QFile::remove(FDir.filePath("SDO_Server_CANopen.xml"));
        WriteFile(c.File, c.Content);
        ExpectRefused(QStringList{Lang_Text.Get(1116)} + c.Names);
    }
    // The bounds themselves are written.
    QFile::remove(FDir.filePath("SDO_Server_CANopen.xml"));
    WriteFile("PDO_CANopen.xml", PdoFile(Pdo("1", "1") + Pdo("1", "8"), ""));
    WriteFile("SDO_Server_CANopen.xml", SdoFile(Sdo("0x2000", "0", "1") + Sdo("0x5FFF", "255", "4"), ""));
    const QStringList L = Run();
    EXPECT_EQ(Section(L, "[1601]")[0], "SubNumber=9");
    EXPECT_EQ(Section(L, "[5FFFsubFF]")[2], "DataType=0x0007");
}

TEST_F(EdsFile, RepeatedIndexAndSubIndexAreRefused) {
    const struct {
        QByteArray Read, Write;
        const char* Names;
    } cases[] = {
        {Sdo("0x2000", "3", "2") + Sdo("0x2000", "3", "2"), "", "Index 0x2000, SubIndex 3"},
        {Sdo("0x2200", "5", "4"), Sdo("0x2100", "1", "1") + Sdo("$2200", "5", "2"),
         "Index 0x2200, SubIndex 5"},
        {Sdo("0x2000", "0", "1") + Sdo("8192", "0", "1"), "", "Index 0x2000, SubIndex 0"},
        {"", Sdo("0x3000", "255", "1") + Sdo("0x3000", "0xFF", "1"), "Index 0x3000, SubIndex 255"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Names);
        WriteFile("SDO_Server_CANopen.xml", SdoFile(c.Read, c.Write));
        ExpectRefused({Lang_Text.Get(1115), QString::fromLatin1(c.Names)});
    }
}

TEST_F(EdsFile, DamagedTablesRaiseAndKeepTheOldFile) {
    const struct {
        const char* Why;
        const char* File;
        QByteArray Content;
        const char* Names;
    } cases[] = {
        {"PDO file without transmit section", "PDO_CANopen.xml", "<P><Receive_PDO/></P>", "Transmit_PDO"},
        {"PDO row without Dimension", "PDO_CANopen.xml", PdoFile("<row COB-ID=\"1\"/>", ""), "Dimension"},
        {"SDO file without write section", "SDO_Server_CANopen.xml", "<S><SDO_Read/></S>", "SDO_Write"},
        {"SDO row without NByte", "SDO_Server_CANopen.xml",
         SdoFile("<row Index=\"0x2000\" SubIndex=\"1\"/>", ""), "NByte"},
        {"SDO index no number", "SDO_Server_CANopen.xml", SdoFile(Sdo("20h", "1", "1"), ""), "20h"},
        {"not XML", "SDO_Server_CANopen.xml", "<S><SDO_Read>", "SDO_Server_CANopen.xml"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Why);
        QFile::remove(FDir.filePath("PDO_CANopen.xml"));
        QFile::remove(FDir.filePath("SDO_Server_CANopen.xml"));
        WriteFile(c.File, c.Content);
        WriteFile("out.eds", "old");
        try {
            Create_EDS_File(FDir.filePath("out.eds"));
            ADD_FAILURE() << "no error";
        } catch (const Exception& E) {
            EXPECT_TRUE(E.Message().contains(QString::fromLatin1(c.Names))) << E.Message().toStdString();
        }
        EXPECT_EQ(Read("out.eds"), "old");
    }
}

TEST_F(EdsFile, EmptyProjectLineByLine) {
    // Without table files: the header, the fixed objects, and the one final empty line.
    const char* const expected = R"EDS([FileInfo]
FileName=ZEZ61850_Ovidor_ARIzizu.eds
FileVersion=1
FileRevision=0
EDSVersion=4.0
Description=ZED61850 Urerod / CANopen - Converter
CreationTime=03:07PM
CreationDate=06-25-2021
CreatedBy=Ostrel
ModificationTime=03:07PM
ModificationDate=06-25-2021
ModifiedBy=Ostrel

[DeviceInfo]
VendorName=Ostrel
VendorNumber=0x00
ProductName=ZED61850 Urerod / CANopen - Converter
ProductNumber=207
RevisionNumber=0x0
OrderCode=GW40207
BaudRate_10=1
BaudRate_20=1
BaudRate_50=1
BaudRate_125=1
BaudRate_250=1
BaudRate_500=1
BaudRate_800=0
BaudRate_1000=1
DynamicChannelsSupported=0
GroupMessaging=0
LSS_Supported=0
Granularity=0
SimpleBootUpSlave=1
SimpleBootUpMaster=0
NrOfRXPDO=0
NrOfTXPDO=0

[Comments]
Lines=0

[DummyUsage]
Dummy0001=0
Dummy0002=0
Dummy0003=0
Dummy0004=0
Dummy0005=0
Dummy0006=0
Dummy0007=0

[MandatoryObjects]
SupportedObjects=3
1=0x1000
2=0x1001
3=0x1018

[OptionalObjects]
SupportedObjects=8
1=0x1005
2=0x1006
3=0x1008
4=0x1014
5=0x1016
6=0x1017
7=0x1029
8=0x1280

[ManufacturerObjects]
SupportedObjects=0

[1000]
ParameterName=Device Type
ObjectType=0x07
DataType=0x0007
AccessType=const
DefaultValue=0x000101A4
PDOMapping=0

[1001]
ParameterName=Error Register
ObjectType=0x07
DataType=0x0005
AccessType=ro
DefaultValue=0x00
PDOMapping=0

[1005]
ParameterName=COB-ID SYNC
ObjectType=0x07
DataType=0x0007
AccessType=rw
DefaultValue=0x80000080
PDOMapping=0

[1006]
ParameterName=Communication Cycle Period
ObjectType=0x07
DataType=0x0007
AccessType=rw
DefaultValue=0x00000000
PDOMapping=0

[1008]
ParameterName=Manufacturer Device Name
ObjectType=0x07
DataType=0x0009
AccessType=const
DefaultValue=s1
PDOMapping=0

[1014]
ParameterName=COB-ID EMCY
ObjectType=0x07
DataType=0x0007
AccessType=ro
DefaultValue=$NODEID+0x80
PDOMapping=0

[1016]
SubNumber=3
ParameterName=Heartbeat Consumer Entries
ObjectType=0x08

[1016sub0]
ParameterName=Number of Entries
ObjectType=0x07
DataType=0x0005
AccessType=ro
DefaultValue=0x02
PDOMapping=0

[1016sub1]
ParameterName=Consumer Heartbeat Time 1
ObjectType=0x07
DataType=0x0007
AccessType=rw
DefaultValue=0x00000000
PDOMapping=0

[1016sub2]
ParameterName=Consumer Heartbeat Time 2
ObjectType=0x07
DataType=0x0007
AccessType=rw
DefaultValue=0x00000000
PDOMapping=0

[1017]
ParameterName=Producer Heartbeat Time
ObjectType=0x07
DataType=0x0006
AccessType=rw
DefaultValue=0x000003E8
PDOMapping=0

[1018]
SubNumber=5
ParameterName=Identity Object
ObjectType=0x09

[1018sub0]
ParameterName=number of entries
ObjectType=0x07
DataType=0x0005
AccessType=ro
DefaultValue=0x4
PDOMapping=0

[1018sub1]
ParameterName=Vendor Id
ObjectType=0x07
DataType=0x0007
AccessType=ro
PDOMapping=0

[1018sub2]
ParameterName=Product Code
ObjectType=0x07
DataType=0x0007
AccessType=ro
PDOMapping=0

[1018sub3]
ParameterName=Revision number
ObjectType=0x07
DataType=0x0007
AccessType=ro
PDOMapping=0

[1018sub4]
ParameterName=Serial number
ObjectType=0x07
DataType=0x0007
AccessType=ro
PDOMapping=0

[1029]
SubNumber=2
ParameterName=Error Behaviour
ObjectType=0x08

[1029sub0]
ParameterName=Number of Entries
ObjectType=0x07
DataType=0x0005
AccessType=ro
DefaultValue=1
PDOMapping=0

[1029sub1]
ParameterName=Communication Error
ObjectType=0x07
DataType=0x0005
AccessType=rw
DefaultValue=0x0
PDOMapping=0

[1280]
SubNumber=4
ParameterName=Client SDO Parameter 1
ObjectType=0x09

[1280sub0]
ParameterName=Number of Entries
ObjectType=0x07
DataType=0x0005
AccessType=ro
DefaultValue=0x03
PDOMapping=0

[1280sub1]
ParameterName=COB-ID Client -> Server
ObjectType=0x07
DataType=0x0007
AccessType=rw
PDOMapping=0

[1280sub2]
ParameterName=COB-ID Server -> Client
ObjectType=0x07
DataType=0x0007
AccessType=rw
PDOMapping=0

[1280sub3]
ParameterName=Node ID of the SDO Server
ObjectType=0x07
DataType=0x0005
AccessType=rw
PDOMapping=0
)EDS";
    QStringList want = QString::fromLatin1(expected).split(u'\n');
    want.removeLast();
    want << QString(); // the final empty line
    const QStringList L = Run();
    ASSERT_EQ(L.size(), want.size());
    for (qsizetype i = 0; i < L.size(); ++i) EXPECT_EQ(L[i], want[i]) << "line " << i + 1;
}

TEST_F(EdsFile, TheOutsideCheckerSeesBrokenFiles) {
    // The checker itself must reject what an EDS reader rejects.
    WriteFile("SDO_Server_CANopen.xml", SdoFile(Sdo("0x2000", "1", "1") + Sdo("0x2000", "2", "2"), ""));
    const QStringList L = Run();
    const struct {
        const char* Why;
        QString From, To;
        const char* Fault;
    } cases[] = {
        {"a repeated section", "[2000sub2]", "[2000sub1]", "configparser"},
        {"a wrong SubNumber", "SubNumber=3\r\nParameterName=App Vars",
         "SubNumber=4\r\nParameterName=App Vars", "SubNumber=4 but 3 sub sections"},
        {"an object not listed", "1=0x2000", "1=0x2001", "no section for 0x2001"},
        {"a wrong PDO count", "NrOfRXPDO=0", "NrOfRXPDO=1", "NrOfRXPDO=1"},
    };
    const QByteArray good = Read("out.eds");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Why);
        QByteArray bad = good;
        ASSERT_TRUE(bad.contains(c.From.toLatin1()));
        bad.replace(c.From.toLatin1(), c.To.toLatin1());
        WriteFile("bad.eds", bad);
        EXPECT_TRUE(outside_check::EdsFaults(FDir.filePath("bad.eds")).contains(QString::fromLatin1(c.Fault)))
            << outside_check::EdsFaults(FDir.filePath("bad.eds")).toStdString();
    }
    EXPECT_FALSE(L.isEmpty());
}

TEST(EdsHelpers, FindSdoIndex) {
    EDS_SDO_List = {{0x2100, {}}, {0x2000, {}}, {0x5FFF, {}}};
    const struct {
        Word Index;
        int At;
    } cases[] = {{0x2100, 0}, {0x2000, 1}, {0x5FFF, 2}, {0x2001, -1}, {0, -1}};
    for (const auto& c : cases) EXPECT_EQ(Find_SDO_Index(c.Index), c.At) << c.Index;
    EDS_SDO_List.clear();
    EXPECT_EQ(Find_SDO_Index(0x2000), -1);
}

TEST(EdsHelpers, SortSubIndexesKeepsEqualOnesInOrder) {
    const auto entry = [](int Sub, bool Readonly) { return SDO_Sub_Type{Byte(Sub), 1, Readonly, {}}; };
    const struct {
        std::vector<int> In;
        std::vector<int> Out;
    } cases[] = {
        {{}, {}}, {{7}, {7}}, {{3, 1}, {1, 3}}, {{255, 16, 0, 1}, {0, 1, 16, 255}}, {{1, 2, 3}, {1, 2, 3}},
    };
    for (const auto& c : cases) {
        EDS_SDO_List = {{0x2000, {}}};
        for (int s : c.In) EDS_SDO_List[0].Sub_Indexs.push_back(entry(s, true));
        Sort_SDO_Sub_Indexs();
        std::vector<int> got;
        for (const SDO_Sub_Type& e : EDS_SDO_List[0].Sub_Indexs) got.push_back(e.Sub);
        EXPECT_EQ(got, c.Out);
    }
    // Equal sub-indexes keep their order (the read table's entry first); objects are not sorted.
    EDS_SDO_List = {{0x3000, {entry(5, false), entry(2, true), entry(5, true)}}, {0x2000, {entry(1, true)}}};
    EDS_SDO_List[0].Sub_Indexs[0].Quantity = 4;
    Sort_SDO_Sub_Indexs();
    EXPECT_EQ(EDS_SDO_List[0].Index, 0x3000);
    const auto& s = EDS_SDO_List[0].Sub_Indexs;
    EXPECT_EQ(s[0].Sub, 2);
    EXPECT_EQ(s[1].Quantity, 4);
    EXPECT_FALSE(s[1].Readonly);
    EXPECT_TRUE(s[2].Readonly);
    EDS_SDO_List.clear();
}
