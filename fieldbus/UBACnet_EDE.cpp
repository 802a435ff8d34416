#include "UBACnet_EDE.h"

#include "Classes.h"
#include "Maker.h"
#include "UProject.h"
#include "XmlDoc.h"

std::function<TDateTime()> EDE_Now = [] { return Now(); };

namespace {

// The data types of the tables and their BACnet object type codes; each code counts its own
// instances.
const struct {
    const char* Type;
    int Code;
} Object_Types[] = {
    {"ANALOG INPUT", 0},
    {"ANALOG OUT", 1},
    {"ANALOG VALUE", 2},
    {"BINARY INPUT", 3},
    {"BINARY OUT", 4},
    {"BINARY VALUE", 5},
    {"MULTI STATE INPUT", 13},
    {"MULTI STATE OUTPUT", 14},
    {"MULTI STATE VALUE", 19},
    {"LIFE SAFETY POINT", 21},
    {"LIFE SAFETY ZONE", 22},
    {"ACCUMULATOR", 23},
    {"ACCESS DOOR", 30},
    {"CHARACTERSTRING VALUE", 40},
    {"DATETIME VALUE", 44},
    {"INTEGER VALUE", 45},
    {"LARGE ANALOG VALUE", 46},
    {"OCTET STRING", 47},
    {"POSITIVE INTEGER VALUE", 48},
};

// The order code the file names, whatever variant the configurator is built for.
const char* const EDE_Device_Code = "GW40118";

String S(const char* Text) {
    return String::fromLatin1(Text);
}

// The state of one run: what ParGen.xml gives and the instance counters.
struct TEDERun {
    String DeviceInstance;
    int NameLength = 16;
    int Counters[256] = {}; // by type code; the codes are below 256
    QList<TBACnet_EDE_Obj> Objects;

    int Next_Object_Instance(int Type) { return Counters[Type]++; }
};

void Read_ParGen_BACnet(TEDERun& Run) {
    if (!FileExists(File_ParGen)) return;
    TXMLDocument doc(nullptr);
    doc.SetActive(true);
    doc.LoadFromFile(File_ParGen);
    const TXMLNode root = doc.DocumentElement();
    if (!root) return;
    const auto text = [&](const char* Key, String& Value) {
        const TXMLNode node = root.FindNode(S(Key));
        if (node) Value = node.Text();
    };
    String type;
    text("BACnet_Type", type);
    text(StrToIntDef(type, 0) == 1 ? "BACnet_Ser_DEV_IDE" : "BACnet_DEV_IDE", Run.DeviceInstance);
    String limit;
    text("BACnet_Desc_Chars_Limit", limit);
    if (limit == QStringLiteral("1")) Run.NameLength = 32;
}

void Read_BACnet_Objects(TEDERun& Run) {
    if (!FileExists(File_BACnet_Slave_SetAccess)) return;
    TXMLDocument doc(nullptr);
    doc.SetActive(true);
    doc.LoadFromFile(File_BACnet_Slave_SetAccess);
    const TXMLNode root = doc.DocumentElement();
    for (const char* name : {"BACnet_in_Read", "BACnet_in_Write"}) {
        const TXMLNode section = root ? root.FindNode(S(name)) : TXMLNode();
        if (!section)
            throw EConvertError(QStringLiteral("File \"%1\": the section %2 is missing")
                                    .arg(File_BACnet_Slave_SetAccess, S(name)));
        for (TXMLNode row = section.FirstChild(); row; row = row.NextSibling()) {
            // The editor writes every attribute; a row without them is refused with its name.
            const String dataType = row.RequiredAttribute(QStringLiteral("Data_Type"));
            const String unit = row.RequiredAttribute(QStringLiteral("Eng_Unit"));
            const String mnemonic = row.RequiredAttribute(QStringLiteral("Mnemonic"));
            const int type = Get_Object_Type(dataType);
            const String instance = String::number(Run.Next_Object_Instance(type));
            TBACnet_EDE_Obj o;
            o.Keyname = Run.DeviceInstance + u'_' + mnemonic + u'_' + instance;
            o.DevObjInstance = Run.DeviceInstance;
            o.ObjectName = mnemonic.left(Run.NameLength);
            o.ObjectType = String::number(type);
            o.ObjectInstance = instance;
            o.Description = o.ObjectName;
            o.UnitCode = unit;
            Run.Objects << o;
        }
    }
}

// HH:MM:SS DD/MM/YYYY, the separators as written whatever the locale.
String Get_EDE_Time_Stamp(TDateTime Time) {
    Word y, mo, d, h, mi, s, ms;
    DecodeDate(Time, y, mo, d);
    DecodeTime(Time, h, mi, s, ms);
    const auto two = [](int v) { return String::number(v).rightJustified(2, u'0'); };
    return two(h) + u':' + two(mi) + u':' + two(s) + u' ' + two(d) + u'/' + two(mo) + u'/' +
           String::number(y);
}

} // namespace

int Get_Object_Type(const String& DataType) {
    const String type = DataType.trimmed().toUpper();
    for (const auto& t : Object_Types)
        if (type == QLatin1String(t.Type)) return t.Code;
    return 0;
}

QStringList EDE_Lines(const QList<TBACnet_EDE_Obj>& Objects, const String& ProjectName, TDateTime Time) {
    QStringList L;
    L << QStringLiteral("PROJECT_NAME; %1-%2-%3;;;;;;").arg(S(Maker::Name), S(EDE_Device_Code), ProjectName)
      << QStringLiteral("VERSION_OF_REFERENCEFILE;1.0;;;;;;")
      << QStringLiteral("TIMESTAMP_OF_LAST_CHANGE;%1;;;;;;").arg(Get_EDE_Time_Stamp(Time))
      << QStringLiteral("AUTHOR_OF_LAST_CHANGE;%1;;;;;;").arg(S(Maker::Name))
      << QStringLiteral("VERSION_OF_LAYOUT;2;;;;;;")
      << QStringLiteral("# mandatory;mandatory;mandatory;mandatory;mandatory;optional;optional;")
      << QStringLiteral("# keyname;device obj.-instance;object-name;object-type;object-instance;description;"
                        "unit-code;");
    for (const TBACnet_EDE_Obj& o : Objects) {
        String line;
        for (const String* f : {&o.Keyname, &o.DevObjInstance, &o.ObjectName, &o.ObjectType,
                                &o.ObjectInstance, &o.Description, &o.UnitCode})
            line += *f + u';';
        L << line;
    }
    return L;
}

void Create_EDE_File(const String& FileName) {
    TEDERun run; // every run starts afresh
    Read_ParGen_BACnet(run);
    Read_BACnet_Objects(run);
    QByteArray bytes;
    for (const String& line : EDE_Lines(run.Objects, Name_Project, EDE_Now()))
        bytes += ToWin1252(line) + "\r\n";
    // The file is replaced whole, or stays as it was when it cannot be written.
    TMemoryStream stream;
    stream.WriteBuffer(bytes.constData(), bytes.size());
    stream.SaveToFile(FileName);
}
