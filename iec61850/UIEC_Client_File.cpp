#include "UIEC_Client_File.h"

#include "XmlDoc.h"

const String IEC_Client_Root = QStringLiteral("IEC_68850_Client");
const String IEC_List_ICD_Files = QStringLiteral("List_ICD_Files");
const String IEC_ICD_File = QStringLiteral("ICD_File");
const String IEC_List_DA_Selected = QStringLiteral("List_DA_Selected");
const String IEC_DA_Item = QStringLiteral("DA_Item");
const String IEC_List_DataSet_Selected = QStringLiteral("List_DataSet_Selected");
const String IEC_DataSet_Item = QStringLiteral("DataSet_Item");
const String IEC_DataSet_List_DAs = QStringLiteral("DataSet_List_DAs");
const String IEC_DataSet_DA_Item = QStringLiteral("DataSet_DA_Item");
const String IEC_Client_Comment = QStringLiteral("SW_VERSION = 1.000");

const QStringList IEC_ICD_File_Attrs = {"Name", "FileName"};
const QStringList IEC_DA_Item_Attrs = {
    "Index", "bType",   "fc",   "Reference", "StartByte", "NumByte",   "IPAddress",  "Port",     "OnChange",
    "OnCMD", "OnTimer", "Time", "Position",  "StartBit",  "ReadWrite", "Convertion", "MoltFact", "Mnemonic"};
const QStringList IEC_DataSet_Item_Attrs = {"Index",     "Reference", "GooseName", "EnGoose",
                                            "IPAddress", "Port",      "Time",      "Mnemonic"};
const QStringList IEC_DataSet_DA_Item_Attrs = {"bType",      "Reference", "Position", "StartBit",
                                               "Convertion", "MoltFact",  "Mnemonic"};

TIEC_Item::TIEC_Item(const QStringList& Names) {
    for (const String& n : Names) FValues.insert(n, String());
}

std::optional<String> TIEC_Item::Find(const String& Name) const {
    auto it = FValues.constFind(Name);
    if (it == FValues.constEnd()) return std::nullopt;
    return *it;
}

String TIEC_Item::Required(const String& Element, const String& Name) const {
    auto it = FValues.constFind(Name);
    if (it == FValues.constEnd())
        throw EConvertError("The attribute \"" + Name + "\" is missing in the element \"" + Element + "\"");
    return *it;
}

namespace {

TIEC_Item ReadItem(const TXMLNode& n, const QStringList& names) {
    TIEC_Item item;
    String v;
    for (const String& name : names)
        if (n.TryAttribute(name, v)) item.Set(name, v);
    return item;
}

void WriteItem(TXMLNode n, const TIEC_Item& item, const QStringList& names) {
    for (const String& name : names)
        if (auto v = item.Find(name)) n.SetAttribute(name, *v);
}

TXMLNode RequiredNode(const TXMLNode& parent, const String& name, const String& where) {
    TXMLNode n = parent.FindNode(name);
    if (!n) throw EConvertError("The mapping file has no \"" + name + "\" in \"" + where + "\"");
    return n;
}

} // namespace

TIEC_Client_Mapping Read_IEC_Client_Mapping(const TXMLDocument& Doc) {
    TIEC_Client_Mapping m;
    TXMLNode root = Doc.FindNode(IEC_Client_Root);
    if (!root) throw EConvertError("The mapping file has no root element \"" + IEC_Client_Root + "\"");

    TXMLNode files = RequiredNode(root, IEC_List_ICD_Files, IEC_Client_Root);
    for (TXMLNode c = files.FirstChild(); c; c = c.NextSibling())
        m.ICD_Files.push_back(ReadItem(c, IEC_ICD_File_Attrs));

    TXMLNode vars = RequiredNode(root, IEC_List_DA_Selected, IEC_Client_Root);
    for (TXMLNode c = vars.FirstChild(); c; c = c.NextSibling())
        m.Variables.push_back(ReadItem(c, IEC_DA_Item_Attrs));

    TXMLNode sets = root.FindNode(IEC_List_DataSet_Selected);
    m.Has_DataSet_List = bool(sets);
    int i = 0;
    for (TXMLNode c = sets.FirstChild(); c; c = c.NextSibling(), ++i) {
        TIEC_DataSet_Entry e;
        e.Attrs = ReadItem(c, IEC_DataSet_Item_Attrs);
        TXMLNode members = c.FindNode(IEC_DataSet_List_DAs);
        if (!members)
            throw EConvertError("The mapping file's data set " + QString::number(i + 1) + " has no \"" +
                                IEC_DataSet_List_DAs + "\"");
        for (TXMLNode mm = members.FirstChild(); mm; mm = mm.NextSibling())
            e.Members.push_back(ReadItem(mm, IEC_DataSet_DA_Item_Attrs));
        m.DataSets.push_back(std::move(e));
    }
    return m;
}

TIEC_Client_Mapping Load_IEC_Client_Mapping(TXMLDocument& Doc, const String& FileName) {
    Doc.SetActive(true);
    Doc.LoadFromFile(FileName);
    return Read_IEC_Client_Mapping(Doc);
}

void Write_IEC_Client_Mapping(TXMLDocument& Doc, const TIEC_Client_Mapping& Mapping) {
    Doc.SetActive(true);
    Doc.Clear();
    TXMLNode root = Doc.AddChild(IEC_Client_Root);
    Doc.AppendComment(IEC_Client_Comment);

    TXMLNode files = root.AddChild(IEC_List_ICD_Files);
    for (const TIEC_Item& f : Mapping.ICD_Files)
        WriteItem(files.AddChild(IEC_ICD_File), f, IEC_ICD_File_Attrs);

    TXMLNode vars = root.AddChild(IEC_List_DA_Selected);
    for (const TIEC_Item& v : Mapping.Variables) WriteItem(vars.AddChild(IEC_DA_Item), v, IEC_DA_Item_Attrs);

    TXMLNode sets = root.AddChild(IEC_List_DataSet_Selected);
    for (const TIEC_DataSet_Entry& e : Mapping.DataSets) {
        TXMLNode item = sets.AddChild(IEC_DataSet_Item);
        WriteItem(item, e.Attrs, IEC_DataSet_Item_Attrs);
        TXMLNode members = item.AddChild(IEC_DataSet_List_DAs);
        for (const TIEC_Item& mm : e.Members)
            WriteItem(members.AddChild(IEC_DataSet_DA_Item), mm, IEC_DataSet_DA_Item_Attrs);
    }
}

void Save_IEC_Client_Mapping(TXMLDocument& Doc, const TIEC_Client_Mapping& Mapping, const String& FileName) {
    Write_IEC_Client_Mapping(Doc, Mapping);
    Doc.SaveToFile(FileName);
}
