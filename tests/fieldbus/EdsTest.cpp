// The CANopen EDS file: header counts, fixed objects, the sections of each PDO, the application
// objects of the SDO server tables, the date and time texts, and damaged tables.
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
    QStringList Run() {
        Create_EDS_File(FDir.filePath("out.eds"));
        return CrLfLines("out.eds");
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
                      Sdo("0x2000", "1", "1") + Sdo("0x2200", "5", "2")));
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
    // The same entry in both tables: two sections of one name, the read one first.
    EXPECT_EQ(L.count("[2200sub5]"), 2);
    const qsizetype first = L.indexOf("[2200sub5]");
    EXPECT_EQ(L[first + 7], "AccessType=ro");
    EXPECT_EQ(L[L.indexOf("[2200sub5]", first + 1) + 7], "AccessType=rw");
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

TEST_F(EdsFile, MoreThanThirtyPdoRowsAreCutAtThirty) {
    QByteArray rows;
    for (int i = 0; i < 35; ++i) rows += Pdo("0x200", "1");
    WriteFile("PDO_CANopen.xml", PdoFile(rows, ""));
    const QStringList L = Run();
    EXPECT_TRUE(L.contains("NrOfRXPDO=30"));
    EXPECT_EQ(Section(L, "[701Dsub1]")[0], "ParameterName=av1");
    EXPECT_FALSE(L.contains("[701E]"));
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
