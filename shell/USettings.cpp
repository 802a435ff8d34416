#include "USettings.h"

#include "SysUtils.h"
#include "UProject.h"
#include "XmlDoc.h"

namespace {

const String Default_IP_Address = QStringLiteral("192.168.2.205");
const String Default_Language = QStringLiteral("English");

// The text of a child element of Parent, or false when the child is missing or holds elements.
bool Child_Text(const TXMLNode& Parent, const char* Name, String& Value) {
    if (!Parent || !Parent.IsElement()) return false;
    const TXMLNode node = Parent.FindNode(QString::fromLatin1(Name));
    if (!node || node.HasChildElements()) return false;
    Value = node.Text();
    return true;
}

bool Child_Flag(const TXMLNode& Parent, const char* Name) {
    String v;
    return Child_Text(Parent, Name, v) && v == QStringLiteral("1");
}

} // namespace

String Settings_File_Name() {
    return Path_Program + QStringLiteral("\\Velmora.xml");
}

void Read_Settings(TXMLDocument* XML) {
    Name_Project.clear();
    Path_Project.clear();
    Last_IP_Address = Default_IP_Address;
    Language = Default_Language;
    Enable_Internet = Enable_Update = Enable_Jump_Field_Tables = Double_Click_Auto_Size = false;

    const String file = Settings_File_Name();
    if (!FileExists(file)) return;
    XML->SetActive(true);
    try {
        XML->LoadFromFile(file);
    } catch (const Exception&) {
        return;
    }
    const TXMLNode root = XML->DocumentElement();

    String v;
    if (root && Child_Text(root.FindNode(QStringLiteral("lastproj")), "projectname", v) && Is_Plain_Name(v))
        Name_Project = v;
    if (root && Child_Text(root.FindNode(QStringLiteral("lastipadd")), "ipaddress", v)) Last_IP_Address = v;
    if (root && Child_Text(root.FindNode(QStringLiteral("lastlang")), "language", v) && Is_Plain_Name(v))
        Language = v;
    const TXMLNode flags = root ? root.FindNode(QStringLiteral("lastinternet")) : TXMLNode();
    Enable_Internet = Child_Flag(flags, "enable_internet");
    Enable_Update = Child_Flag(flags, "enable_update");
    Enable_Jump_Field_Tables = Child_Flag(flags, "enable_jump_field_tables");
    Double_Click_Auto_Size = Child_Flag(flags, "Double_Click_Auto_Size");
}

bool Save_Settings(TXMLDocument* XML) {
    auto flag = [](bool b) { return b ? QStringLiteral("1") : QStringLiteral("0"); };
    XML->SetActive(true);
    XML->Clear();
    TXMLNode root = XML->AddChild(QStringLiteral("Conf_Settings"));
    root.AddChild(QStringLiteral("lastproj")).AddChild(QStringLiteral("projectname")).SetText(Name_Project);
    root.AddChild(QStringLiteral("lastipadd")).AddChild(QStringLiteral("ipaddress")).SetText(Last_IP_Address);
    root.AddChild(QStringLiteral("lastlang")).AddChild(QStringLiteral("language")).SetText(Language);
    TXMLNode flags = root.AddChild(QStringLiteral("lastinternet"));
    flags.AddChild(QStringLiteral("enable_internet")).SetText(flag(Enable_Internet));
    flags.AddChild(QStringLiteral("enable_update")).SetText(flag(Enable_Update));
    flags.AddChild(QStringLiteral("enable_jump_field_tables")).SetText(flag(Enable_Jump_Field_Tables));
    flags.AddChild(QStringLiteral("Double_Click_Auto_Size")).SetText(flag(Double_Click_Auto_Size));
    try {
        XML->SaveToFile(Settings_File_Name());
    } catch (const Exception&) {
        return false;
    }
    return true;
}
