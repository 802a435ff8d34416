#include "UCANopen_EDS.h"

#include "Classes.h"
#include "Maker.h"
#include "ULang.h"
#include "UProject.h"
#include "XmlDoc.h"

#include <algorithm>
#include <utility>

int EDS_NR_Receive_PDO = 0;
int EDS_NR_Transmit_PDO = 0;
TEDS_PDO EDS_Receive_PDO[EDS_Max_PDO];
TEDS_PDO EDS_Transmit_PDO[EDS_Max_PDO];
std::vector<SDO_Index> EDS_SDO_List;
std::function<TDateTime()> EDS_Now = [] { return Now(); };

namespace {

const char* const EDS_File_Name_Text = "ZEZ61850_Ovidor_ARIzizu.eds";
const char* const EDS_Product = "ZED61850 Urerod / CANopen - Converter";
const char* const EDS_Product_Number = "207";
const char* const EDS_Order_Code = "GW40207";

// The name stems of the data bytes of each PDO row, per direction.
const char* const Receive_Stems[EDS_Max_PDO] = {"b",  "c",  "d",  "e",  "f",  "g",  "h",  "j",  "k",  "i",
                                                "aa", "ab", "ac", "ad", "ae", "af", "ag", "ah", "ai", "al",
                                                "am", "an", "ao", "ap", "aq", "ar", "as", "at", "au", "av"};
const char* const Transmit_Stems[EDS_Max_PDO] = {"l",  "m",  "n",  "o",  "p",  "q",  "r",  "s",  "t",  "u",
                                                 "ca", "cb", "cc", "cd", "ce", "cf", "cg", "ch", "ci", "cl",
                                                 "cm", "cn", "co", "cp", "cq", "cr", "cs", "ct", "cu", "cv"};

// A fixed object: a variable (the six keys, DefaultValue left out when null) or, with a
// SubNumber, the head of a record or array.
struct TFixedObject {
    const char* Section;
    int SubNumber; // 0: a variable
    const char* Name;
    const char* ObjectType;
    const char* DataType;
    const char* Access;
    const char* Default;
};
const TFixedObject Fixed_Objects[] = {
    {"1000", 0, "Device Type", "0x07", "0x0007", "const", "0x000101A4"},
    {"1001", 0, "Error Register", "0x07", "0x0005", "ro", "0x00"},
    {"1005", 0, "COB-ID SYNC", "0x07", "0x0007", "rw", "0x80000080"},
    {"1006", 0, "Communication Cycle Period", "0x07", "0x0007", "rw", "0x00000000"},
    {"1008", 0, "Manufacturer Device Name", "0x07", "0x0009", "const", "s1"},
    {"1014", 0, "COB-ID EMCY", "0x07", "0x0007", "ro", "$NODEID+0x80"},
    {"1016", 3, "Heartbeat Consumer Entries", "0x08", nullptr, nullptr, nullptr},
    {"1016sub0", 0, "Number of Entries", "0x07", "0x0005", "ro", "0x02"},
    {"1016sub1", 0, "Consumer Heartbeat Time 1", "0x07", "0x0007", "rw", "0x00000000"},
    {"1016sub2", 0, "Consumer Heartbeat Time 2", "0x07", "0x0007", "rw", "0x00000000"},
    {"1017", 0, "Producer Heartbeat Time", "0x07", "0x0006", "rw", "0x000003E8"},
    {"1018", 5, "Identity Object", "0x09", nullptr, nullptr, nullptr},
    {"1018sub0", 0, "number of entries", "0x07", "0x0005", "ro", "0x4"},
    {"1018sub1", 0, "Vendor Id", "0x07", "0x0007", "ro", nullptr},
    {"1018sub2", 0, "Product Code", "0x07", "0x0007", "ro", nullptr},
    {"1018sub3", 0, "Revision number", "0x07", "0x0007", "ro", nullptr},
    {"1018sub4", 0, "Serial number", "0x07", "0x0007", "ro", nullptr},
    {"1029", 2, "Error Behaviour", "0x08", nullptr, nullptr, nullptr},
    {"1029sub0", 0, "Number of Entries", "0x07", "0x0005", "ro", "1"},
    {"1029sub1", 0, "Communication Error", "0x07", "0x0005", "rw", "0x0"},
    {"1280", 4, "Client SDO Parameter 1", "0x09", nullptr, nullptr, nullptr},
    {"1280sub0", 0, "Number of Entries", "0x07", "0x0005", "ro", "0x03"},
    {"1280sub1", 0, "COB-ID Client -> Server", "0x07", "0x0007", "rw", nullptr},
    {"1280sub2", 0, "COB-ID Server -> Client", "0x07", "0x0007", "rw", nullptr},
    {"1280sub3", 0, "Node ID of the SDO Server", "0x07", "0x0005", "rw", nullptr},
};

String S(const char* Text) {
    return String::fromLatin1(Text);
}
String Hex(uint32_t Value, int Digits) {
    return IntToHex64(Value, Digits);
}

// The lines of the file, built section by section.
class TEDSText {
public:
    QStringList L;

    void Section(const String& Name) { L << u'[' + Name + u']'; }
    void Key(const char* Key, const String& Value) { L << S(Key) + u'=' + Value; }
    void Empty() { L << String(); }
    // A variable: its keys in the fixed order, DefaultValue left out when empty; an empty line.
    void Variable(const String& Name, const String& Param, const char* ObjectType, const char* DataType,
                  const String& Access, const String& Default, const char* Mapping = "0") {
        Section(Name);
        Key("ParameterName", Param);
        Key("ObjectType", S(ObjectType));
        Key("DataType", S(DataType));
        Key("AccessType", Access);
        if (!Default.isEmpty()) Key("DefaultValue", Default);
        Key("PDOMapping", S(Mapping));
        Empty();
    }
    // The head of a record or array: SubNumber, name and object type; an empty line.
    void Head(const String& Name, int SubNumber, const String& Param, const char* ObjectType) {
        Section(Name);
        Key("SubNumber", String::number(SubNumber));
        Key("ParameterName", Param);
        Key("ObjectType", S(ObjectType));
        Empty();
    }
};

void Header(TEDSText& T, TDateTime Time) {
    const String date = EDS_Date_Text(Time), time = EDS_Time_Text(Time);
    const int nR = EDS_NR_Receive_PDO, nT = EDS_NR_Transmit_PDO;
    T.Section("FileInfo");
    T.Key("FileName", S(EDS_File_Name_Text));
    T.L << "FileVersion=1"
        << "FileRevision=0"
        << "EDSVersion=4.0";
    T.Key("Description", S(EDS_Product));
    T.Key("CreationTime", time);
    T.Key("CreationDate", date);
    T.Key("CreatedBy", S(Maker::Name));
    T.Key("ModificationTime", time);
    T.Key("ModificationDate", date);
    T.Key("ModifiedBy", S(Maker::Name));
    T.Empty();

    T.Section("DeviceInfo");
    T.Key("VendorName", S(Maker::Name));
    T.L << "VendorNumber=0x00";
    T.Key("ProductName", S(EDS_Product));
    T.Key("ProductNumber", S(EDS_Product_Number));
    T.L << "RevisionNumber=0x0";
    T.Key("OrderCode", S(EDS_Order_Code));
    for (const char* rate : {"10", "20", "50", "125", "250", "500"}) T.L << "BaudRate_" + S(rate) + "=1";
    T.L << "BaudRate_800=0"
        << "BaudRate_1000=1"
        << "DynamicChannelsSupported=0"
        << "GroupMessaging=0"
        << "LSS_Supported=0"
        << "Granularity=0"
        << "SimpleBootUpSlave=1"
        << "SimpleBootUpMaster=0";
    T.Key("NrOfRXPDO", String::number(nR));
    T.Key("NrOfTXPDO", String::number(nT));
    T.Empty();

    T.L << "[Comments]"
        << "Lines=0";
    T.Empty();
    T.Section("DummyUsage");
    for (int i = 1; i <= 7; ++i) T.L << QStringLiteral("Dummy000%1=0").arg(i);
    T.Empty();
    T.L << "[MandatoryObjects]"
        << "SupportedObjects=3"
        << "1=0x1000"
        << "2=0x1001"
        << "3=0x1018";
    T.Empty();

    T.Section("OptionalObjects");
    T.Key("SupportedObjects", String::number(3 * nR + 3 * nT + 8));
    T.L << "1=0x1005"
        << "2=0x1006"
        << "3=0x1008"
        << "4=0x1014"
        << "5=0x1016"
        << "6=0x1017"
        << "7=0x1029"
        << "8=0x1280";
    int number = 9;
    const auto objects = [&](uint32_t Base, int Count) {
        for (int i = 0; i < Count; ++i) T.L << String::number(number++) + "=0x" + Hex(Base + uint32_t(i), 4);
    };
    objects(0x1400, nR);
    objects(0x1600, nR);
    objects(0x1800, nT);
    objects(0x1A00, nT);
    objects(0x7000, nR);
    objects(0x7050, nT);
    T.Empty();

    T.Section("ManufacturerObjects");
    T.Key("SupportedObjects", String::number(EDS_SDO_List.size()));
    for (size_t k = 0; k < EDS_SDO_List.size(); ++k)
        T.L << String::number(k + 1) + "=0x" + Hex(EDS_SDO_List[k].Index, 4);
    T.Empty();
}

void FixedObjects(TEDSText& T) {
    for (const TFixedObject& o : Fixed_Objects) {
        if (o.SubNumber)
            T.Head(S(o.Section), o.SubNumber, S(o.Name), o.ObjectType);
        else
            T.Variable(S(o.Section), S(o.Name), o.ObjectType, o.DataType, S(o.Access), S(o.Default));
    }
    T.L.removeLast(); // the last fixed object ends without its empty line
}

// The PDO sections of one kind for one direction.
void Communication(TEDSText& T, bool Receive) {
    const int n = Receive ? EDS_NR_Receive_PDO : EDS_NR_Transmit_PDO;
    for (int i = 0; i < n; ++i) {
        const TEDS_PDO& p = Receive ? EDS_Receive_PDO[i] : EDS_Transmit_PDO[i];
        const String x = Hex((Receive ? 0x1400u : 0x1800u) + uint32_t(i), 4);
        T.Head(x, 4,
               (Receive ? QStringLiteral("Receive PDO Communication Parameter ")
                        : QStringLiteral("Transmit PDO Communication Parameter ")) +
                   String::number(i + 1),
               "0x09");
        T.Variable(x + "sub0", "Number of Entries", "0x07", "0x0005", "ro", "0x03");
        T.Variable(x + "sub1", "COB-ID", "0x07", "0x0007", "rw", "0x" + Hex(p.COB_ID, 8));
        T.Variable(x + "sub2", "Transmission Type", "0x07", "0x0005", "rw", "0xFE");
        T.Variable(x + "sub3", "Inhibit Time", "0x07", "0x0006", "rw", "0x0");
    }
}

void Mapping(TEDSText& T, bool Receive) {
    const int n = Receive ? EDS_NR_Receive_PDO : EDS_NR_Transmit_PDO;
    for (int i = 0; i < n; ++i) {
        const uint32_t d = (Receive ? EDS_Receive_PDO[i] : EDS_Transmit_PDO[i]).Length;
        const String x = Hex((Receive ? 0x1600u : 0x1A00u) + uint32_t(i), 4);
        const String object = Hex((Receive ? 0x7000u : 0x7050u) + uint32_t(i), 4);
        T.Head(x, int(d + 1),
               Receive ? QStringLiteral("Receive PDO Mapping Parameter")
                       : QStringLiteral("Transmit PDO Mapping Parameter ") + String::number(i + 1),
               "0x09");
        T.Variable(x + "sub0", "Number of Entries", "0x07", "0x0005", "ro", "0x" + Hex(d, 2));
        for (uint32_t k = 1; k <= d; ++k)
            T.Variable(x + "sub" + String::number(k), "Mapping Entry " + String::number(k), "0x07", "0x0007",
                       "ro", "0x" + object + Hex(k, 2) + "08");
    }
}

void DataObjects(TEDSText& T, bool Receive) {
    const int n = Receive ? EDS_NR_Receive_PDO : EDS_NR_Transmit_PDO;
    for (int i = 0; i < n; ++i) {
        const uint32_t d = (Receive ? EDS_Receive_PDO[i] : EDS_Transmit_PDO[i]).Length;
        const String x = Hex((Receive ? 0x7000u : 0x7050u) + uint32_t(i), 4);
        T.Head(x, int(d + 1),
               (Receive ? QStringLiteral("RPDO") : QStringLiteral("TPDO")) + String::number(i + 1), "0x08");
        T.Variable(x + "sub0", "Number of Entries", "0x07", "0x0005", Receive ? "ro" : "rw",
                   "0x" + Hex(d, 2));
        const char* stem = Receive ? Receive_Stems[i] : Transmit_Stems[i];
        for (uint32_t k = 1; k <= d; ++k)
            T.Variable(x + "sub" + String::number(k), S(stem) + String::number(k), "0x07", "0x0005",
                       Receive ? "rww" : "rwr", "0x00", "1");
    }
}

void ApplicationObjects(TEDSText& T) {
    for (const SDO_Index& o : EDS_SDO_List) {
        if (o.Sub_Indexs.empty()) continue; // every object is made with its first entry
        const String x = Hex(o.Index, 4);
        const int n = int(o.Sub_Indexs.size());
        const bool hasSub0 = o.Sub_Indexs.front().Sub == 0;
        T.Head(x, hasSub0 ? n : n + 1, "App Vars", "0x9");
        if (!hasSub0)
            T.Variable(x + "sub0", "Largest Sub-Index supported", "0x7", "0x0005", "ro",
                       "0x" + Hex(o.Sub_Indexs.back().Sub, 2));
        for (const SDO_Sub_Type& e : o.Sub_Indexs) {
            T.Section(x + "sub" + QString::number(e.Sub, 16).toUpper());
            T.L << "ParameterName=Application Variable"
                << "ObjectType=0x7";
            switch (e.Quantity) {
                case 1:
                    T.L << "DataType=0x0005"
                        << "LowLimit=0x00"
                        << "HighLimit=0xFF"
                        << "DefaultValue=0x00";
                    break;
                case 2:
                    T.L << "DataType=0x0006"
                        << "LowLimit=0x0000"
                        << "HighLimit=0xFFFF"
                        << "DefaultValue=0x0000";
                    break;
                default:
                    T.L << "DataType=0x0007"
                        << "LowLimit=0x00000000"
                        << "HighLimit=0xFFFFFFFF"
                        << "DefaultValue=0x00000000";
            }
            T.L << (e.Readonly ? "AccessType=ro" : "AccessType=rw") << "PDOMapping=0";
            T.Empty();
        }
    }
}

// The document's root of an existing table file, loaded into Doc.
TXMLNode Load(TXMLDocument& Doc, const String& FileName) {
    Doc.SetActive(true);
    Doc.LoadFromFile(FileName);
    const TXMLNode root = Doc.DocumentElement();
    if (!root) throw EConvertError(QStringLiteral("File \"%1\" has no root element").arg(FileName));
    return root;
}

TXMLNode Section(const TXMLNode& Root, const char* Name, const String& FileName) {
    const TXMLNode s = Root.FindNode(S(Name));
    if (!s)
        throw EConvertError(QStringLiteral("File \"%1\": the section %2 is missing").arg(FileName, S(Name)));
    return s;
}

// Refuses a table file with a value the generator cannot write (text 1116), naming the section,
// the row and what is wrong with it.
[[noreturn]] void Out_Of_Range(const char* Section, int Row, const String& What, const String& Value) {
    String m = Lang_Text.Get(1116) + QStringLiteral(" [%1] row %2: %3").arg(S(Section)).arg(Row).arg(What);
    if (!Value.isNull()) m += QStringLiteral(" \"%1\"").arg(Value);
    throw EConvertError(m);
}

} // namespace

String EDS_Date_Text(TDateTime Time) {
    Word y, m, d;
    DecodeDate(Time, y, m, d);
    return QStringLiteral("%1-%2-%3").arg(m, 2, 10, QChar(u'0')).arg(d, 2, 10, QChar(u'0')).arg(y);
}

String EDS_Time_Text(TDateTime Time) {
    Word h, mi, s, ms;
    DecodeTime(Time, h, mi, s, ms);
    // Morning hours as they are with AM; afternoon hours less twelve with PM (12:30 is 00:30PM);
    // noon itself is 12:00PM.
    int hour = h;
    bool pm = false;
    if (h > 12 || (h == 12 && mi > 0)) {
        hour = h - 12;
        pm = true;
    } else if (h == 12) {
        pm = true;
    }
    return QStringLiteral("%1:%2%3")
        .arg(hour, 2, 10, QChar(u'0'))
        .arg(mi, 2, 10, QChar(u'0'))
        .arg(pm ? "PM" : "AM");
}

int Find_SDO_Index(Word Index) {
    for (size_t i = 0; i < EDS_SDO_List.size(); ++i)
        if (EDS_SDO_List[i].Index == Index) return int(i);
    return -1;
}

void Sort_SDO_Sub_Indexs() {
    for (SDO_Index& o : EDS_SDO_List)
        std::stable_sort(o.Sub_Indexs.begin(), o.Sub_Indexs.end(),
                         [](const SDO_Sub_Type& a, const SDO_Sub_Type& b) { return a.Sub < b.Sub; });
}

void Read_PDO_CANopen() {
    EDS_NR_Receive_PDO = 0;
    EDS_NR_Transmit_PDO = 0;
    if (!FileExists(File_PDO_CANopen)) return;
    TXMLDocument doc(nullptr);
    const TXMLNode root = Load(doc, File_PDO_CANopen);
    const auto read = [&](const char* Name, TEDS_PDO* Table, int& Count) {
        int n = 0;
        for (TXMLNode row = Section(root, Name, File_PDO_CANopen).FirstChild(); row;
             row = row.NextSibling()) {
            const String cob = row.RequiredAttribute(QStringLiteral("COB-ID"));
            const String dim = row.RequiredAttribute(QStringLiteral("Dimension"));
            // The editor saves at most 30 rows, as many as the objects have names; a longer
            // (hand-edited) table is refused rather than cut.
            if (n == EDS_Max_PDO) Out_Of_Range(Name, n + 1, QStringLiteral("row"), QString());
            // A length that is no number counts as 8 bytes; a number must be one a PDO can carry.
            Int64 length = 8;
            if (TryStrToInt64(dim, length) && (length < 1 || length > 8))
                Out_Of_Range(Name, n + 1, QStringLiteral("Dimension"), dim);
            Table[n].COB_ID = uint32_t(StrToIntDef(cob, 0));
            Table[n].Length = uint32_t(length);
            ++n;
        }
        Count = n;
    };
    int nR = 0, nT = 0;
    read("Receive_PDO", EDS_Receive_PDO, nR);
    read("Transmit_PDO", EDS_Transmit_PDO, nT);
    EDS_NR_Receive_PDO = nR;
    EDS_NR_Transmit_PDO = nT;
}

void Read_SDO_Server_CANopen() {
    if (!FileExists(File_SDO_Server_CANopen)) return;
    TXMLDocument doc(nullptr);
    const TXMLNode root = Load(doc, File_SDO_Server_CANopen);
    // The read table's entries are read-only, the write table's read-write.
    for (const auto& [name, readOnly] : {std::pair{"SDO_Read", true}, std::pair{"SDO_Write", false}}) {
        int rowNumber = 0;
        for (TXMLNode row = Section(root, name, File_SDO_Server_CANopen).FirstChild(); row;
             row = row.NextSibling()) {
            ++rowNumber;
            // Each value is checked against its range before it is narrowed to its field.
            const auto value = [&](const char* Attribute, int Low, int High) {
                const String text = row.RequiredAttribute(S(Attribute));
                Int64 v = 0;
                if (!TryStrToInt64(text, v) || v < Low || v > High)
                    Out_Of_Range(name, rowNumber, S(Attribute), text);
                return int(v);
            };
            const Word index = Word(value("Index", 0x2000, 0x5FFF));
            SDO_Sub_Type e;
            e.Sub = Byte(value("SubIndex", 0, 255));
            const int size = value("NByte", 1, 4);
            if (size == 3) Out_Of_Range(name, rowNumber, QStringLiteral("NByte"), QStringLiteral("3"));
            e.Quantity = Byte(size);
            e.Readonly = readOnly;
            const int at = Find_SDO_Index(index);
            if (at < 0)
                EDS_SDO_List.push_back({index, {e}});
            else
                EDS_SDO_List[size_t(at)].Sub_Indexs.push_back(e);
        }
    }
}

QStringList EDS_Lines(TDateTime Time) {
    TEDSText T;
    Header(T, Time);
    FixedObjects(T);
    Communication(T, true);
    Mapping(T, true);
    Communication(T, false);
    Mapping(T, false);
    DataObjects(T, true);
    DataObjects(T, false);
    ApplicationObjects(T);
    T.Empty();
    return T.L;
}

namespace {

void Check_SDO_Duplicates() {
    // Entries are sorted, so a pair given twice (in one table or across both) sits side by side;
    // two sections of one name would make the file unreadable.
    for (const SDO_Index& o : EDS_SDO_List)
        for (size_t k = 1; k < o.Sub_Indexs.size(); ++k)
            if (o.Sub_Indexs[k].Sub == o.Sub_Indexs[k - 1].Sub)
                throw Exception(
                    Lang_Text.Get(1115) +
                    QStringLiteral(" Index 0x%1, SubIndex %2").arg(Hex(o.Index, 4)).arg(o.Sub_Indexs[k].Sub));
}

} // namespace

void Create_EDS_File(const String& FileName) {
    EDS_SDO_List.clear();
    Read_PDO_CANopen();
    Read_SDO_Server_CANopen();
    Sort_SDO_Sub_Indexs();
    Check_SDO_Duplicates();
    // The file is replaced whole, or stays as it was when it cannot be written.
    TStringList lines;
    lines.AddStrings(EDS_Lines(EDS_Now()));
    lines.SaveToFile(FileName);
}
