#include "UBACnet_EDE.h"

#include "Classes.h"
#include "Dialogs.h"
#include "ULang.h"
#include "Maker.h"
#include "UProject.h"
#include "XmlDoc.h"

#include <QHash>

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
    QStringList Places; // per object: its table and row, for the messages

    int Next_Object_Instance(int Type) { return Counters[Type]++; }
};

// The file writes every field as it stands, so a field holding the separator or a line break
// would shift the columns of its line, and one with a character the code page lacks would lose it:
// such a field is refused (text 1120), naming where it comes from.
void Check_Field(const String& Value, const String& Where) {
    bool lossless = true;
    ToWin1252(Value, &lossless);
    if (!lossless || Value.contains(u';') || Value.contains(u'\r') || Value.contains(u'\n'))
        throw EConvertError(Lang_Text.Get(1120) + u' ' + Where + QStringLiteral(": \"%1\"").arg(Value));
}

String File_ParGen_Name() {
    return ExtractFileName(File_ParGen);
}

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
    const char* device = StrToIntDef(type, 0) == 1 ? "BACnet_Ser_DEV_IDE" : "BACnet_DEV_IDE";
    text(device, Run.DeviceInstance);
    Check_Field(Run.DeviceInstance, File_ParGen_Name() + u' ' + S(device));
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
        int rowNumber = 0;
        const TXMLNode section = root ? root.FindNode(S(name)) : TXMLNode();
        if (!section)
            throw EConvertError(QStringLiteral("File \"%1\": the section %2 is missing")
                                    .arg(File_BACnet_Slave_SetAccess, S(name)));
        for (TXMLNode row = section.FirstChild(); row; row = row.NextSibling()) {
            // The editor writes every attribute; a row without them is refused with its name.
            const String dataType = row.RequiredAttribute(QStringLiteral("Data_Type"));
            const String unit = row.RequiredAttribute(QStringLiteral("Eng_Unit"));
            const String mnemonic = row.RequiredAttribute(QStringLiteral("Mnemonic"));
            const String place = QStringLiteral("[%1] row %2").arg(S(name)).arg(++rowNumber);
            Check_Field(mnemonic, place + QStringLiteral(": Mnemonic"));
            Check_Field(unit, place + QStringLiteral(": Eng_Unit"));
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
            Run.Places << place;
        }
    }
}

// What EDE readers reject although the file is well formed: an empty device instance, empty or
// repeated object names and repeated keynames. One line each, for the warning after writing.
QStringList Reader_Problems(const TEDERun& Run) {
    QStringList problems;
    if (!Run.Objects.isEmpty() && Run.DeviceInstance.isEmpty())
        problems << QStringLiteral("device instance empty (%1 BACnet_DEV_IDE)").arg(File_ParGen_Name());
    const auto repeats = [&](const String TBACnet_EDE_Obj::*Field, const QString& What) {
        QHash<String, QStringList> places;
        QStringList order;
        for (qsizetype i = 0; i < Run.Objects.size(); ++i) {
            const String& v = Run.Objects[i].*Field;
            if (v.isEmpty()) continue;
            if (!places.contains(v)) order << v;
            places[v] << Run.Places[i];
        }
        for (const String& v : order)
            if (places[v].size() > 1)
                problems << QStringLiteral("%1 \"%2\" repeated: %3")
                                .arg(What, v, places[v].join(QStringLiteral(", ")));
    };
    for (qsizetype i = 0; i < Run.Objects.size(); ++i)
        if (Run.Objects[i].ObjectName.isEmpty())
            problems << QStringLiteral("object name empty: ") + Run.Places[i];
    repeats(&TBACnet_EDE_Obj::ObjectName, QStringLiteral("object name"));
    repeats(&TBACnet_EDE_Obj::Keyname, QStringLiteral("keyname"));
    return problems;
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
    Check_Field(Name_Project, QStringLiteral("Name_Project"));
    // The file is replaced whole, or stays as it was when it cannot be written.
    TStringList lines;
    lines.AddStrings(EDE_Lines(run.Objects, Name_Project, EDE_Now()));
    lines.SaveToFile(FileName);
    const QStringList problems = Reader_Problems(run);
    if (!problems.isEmpty())
        MessageDlg(Lang_Text.Get(1121) + u'\n' + problems.join(u'\n'), mtWarning, TMsgDlgButtons{mbOK});
}
