#include "UProfinetXML.h"

#include "Classes.h"
#include "Dialogs.h"
#include "Forms.h"
#include "SysUtils.h"
#include "ULang.h"
#include "UProfibus_GSD.h"
#include "UProject.h"
#include "XmlDoc.h"

#include <initializer_list>
#include <utility>

int GSDML_Input_Length = GSDML_Default_Length;
int GSDML_Output_Length = GSDML_Default_Length;
String GSDML_Station_Name;

String XML_Attribute_Value(const String& Text) {
    String out;
    out.reserve(Text.size());
    for (qsizetype i = 0; i < Text.size(); ++i) {
        const QChar c = Text[i];
        const char16_t u = c.unicode();
        switch (u) {
            case u'&': out += QStringLiteral("&amp;"); continue;
            case u'<': out += QStringLiteral("&lt;"); continue;
            case u'>': out += QStringLiteral("&gt;"); continue;
            case u'"': out += QStringLiteral("&quot;"); continue;
            case u'\'': out += QStringLiteral("&apos;"); continue;
            case u'\t': out += QStringLiteral("&#9;"); continue;
            case u'\n': out += QStringLiteral("&#10;"); continue;
            case u'\r': out += QStringLiteral("&#13;"); continue;
            default: break;
        }
        if (u < 0x20 || u == 0xFFFE || u == 0xFFFF) continue;
        if (c.isHighSurrogate()) {
            if (i + 1 < Text.size() && Text[i + 1].isLowSurrogate()) {
                out += c;
                out += Text[++i];
            }
            continue;
        }
        if (c.isLowSurrogate()) continue;
        out += c;
    }
    return out;
}

namespace {

using TAttrs = std::initializer_list<std::pair<const char*, String>>;

// The lines of the document with their indentation: one tab per level of nesting.
class TGsdmlLines {
public:
    QStringList Lines;

    void Line(const String& Text) { Lines << String(FDepth, u'\t') + Text; }
    // A start tag on a line of its own; the children follow one level deeper.
    void Open(const char* Name, TAttrs Attrs = {}) {
        Line(u'<' + Tag(Name, Attrs) + u'>');
        ++FDepth;
    }
    void Close(const char* Name) {
        --FDepth;
        Line(QStringLiteral("</") + String::fromLatin1(Name) + u'>');
    }
    // An element without children.
    void Empty(const char* Name, TAttrs Attrs) { Line(Element(Name, Attrs)); }
    // An element holding text only.
    void Text(const char* Name, const char* Value) {
        const String name = String::fromLatin1(Name);
        Line(u'<' + name + u'>' + String::fromLatin1(Value) + QStringLiteral("</") + name + u'>');
    }

    static String Element(const char* Name, TAttrs Attrs) {
        return u'<' + Tag(Name, Attrs) + QStringLiteral("/>");
    }

private:
    static String Tag(const char* Name, TAttrs Attrs) {
        String tag = String::fromLatin1(Name);
        for (const auto& [attr, value] : Attrs)
            tag +=
                u' ' + String::fromLatin1(attr) + QStringLiteral("=\"") + XML_Attribute_Value(value) + u'"';
        return tag;
    }

    int FDepth = 0;
};

String S(const char* Text) {
    return String::fromLatin1(Text);
}

String Hex_ID(int Value) {
    return QStringLiteral("0x") + IntToHex(Value, 4);
}

const char* const Device_Profile_Namespace = "http://www.profibus.com/GSDML/2003/11/DeviceProfile";

// The texts of ExternalTextList, in the order written.
const struct {
    const char* Id;
    const char* Value;
} External_Texts[] = {
    {"IDT_INFO_Device", "Ostrel Gateways"},
    {"IDT_NAME_DAP1", "IEC61850Device"},
    {"IDT_INFO_DAP1", "Profinet IEC61850 Adapter"},
    {"IDT_SUBSLOT_1", "Subslot 1"},
    {"IDT_SUBSLOT_Interface", "Interface"},
    {"IDT_SUBSLOT_Port1", "Port 1"},
    {"IDT_SUBSLOT_Port2", "Port 2"},
    {"IDT_RECORD_NAME_Head", "Parameters of head module"},
    {"IDT_REF_Power", "Percent power"},
    {"IDT_NAME_VS1", "Submodule V1"},
    {"IDT_INFO_VS1", "Description of submodule V1"},
    {"IDT_NAME_IS", "I"},
    {"IDT_NAME_PS1", "P1"},
    {"IDT_NAME_PS2", "P2"},
    {"IDT_NAME_M1", "Module"},
    {"IDT_INFO_M1", "device IEC61850"},
    {"IDT_NAME_FAP", "FAP for IEC61850"},
    {"IDT_INFO_FAP", "Description of FAP for IEC61850"},
    {"IDT_RECORD_NAME_SlotCluster", "Parameters of the FAP"},
    {"IDT_REF_SlotClusterBegin", "Beginning of slot cluster"},
    {"IDT_NAME_M_PB1", "IEC61850 Device "},
    {"IDT_INFO_M_PB1", "Description of IEC61850"},
    {"IDT_NAME_S_PB1", "Module of a IEC61850"},
    {"IDT_INFO_S_PB1", "Description of module of a IEC61850"},
    {"IDT_PB_Input", "Digital input IEC61850CLIENT"},
    {"IDT_PB_InputBit0", "Digital input bit IEC61850"},
    {"IDT_NAME_S1", "Submodule 1"},
    {"IDT_INFO_S1", "Description of submodule 1"},
    {"IDT_Input_1", "Input byte"},
    {"IDT_Output_1", "Output word"},
    {"IDT_CATEGORY_DI", "Digital Input"},
    {"IDT_INFO_DI", "Description of digital input"},
    {"IDT_CATEGORY_DO", "Digital output"},
    {"IDT_INFO_DO", "Description of digital output"},
    {"IDT_NAME_M1_IDT_REF_channel", "Canale x"},
    {"IDT_REF_reaction_to_cpu_stop", "Reaction to CPU STOP"},
    {"IDT_NAME_M1_Base_Parameters", "Base Parameters"},
    {"IDT_ASSIGN_do_set_substitude_values", "Output substitute value"},
    {"IDT_ASSIGN_do_values_will_hold", "Keep last value"},
    {"IDT_ASSIGN_do_continue_counting", "Continue operation"},
};
// The last three texts are written with their value first.
constexpr int Value_First_Texts = 3;

void Module_Info(TGsdmlLines& L, const char* Name, const char* Info) {
    L.Open("ModuleInfo");
    L.Empty("Name", {{"TextId", S(Name)}});
    L.Empty("InfoText", {{"TextId", S(Info)}});
}

void Device_Access_Point(TGsdmlLines& L, const String& Station) {
    L.Open("DeviceAccessPointList");
    L.Open("DeviceAccessPointItem", {{"PNIO_Version", "V2.3"},
                                     {"RequiredSchemaVersion", "V2.25"},
                                     {"ID", "IDD_1"},
                                     {"PhysicalSlots", "0..4"},
                                     {"ModuleIdentNumber", "0x00000001"},
                                     {"MinDeviceInterval", "64"},
                                     {"ImplementationType", Station},
                                     {"DNS_CompatibleName", Station},
                                     {"FixedInSlots", "0"},
                                     {"ObjectUUID_LocalIndex", "1"},
                                     {"MultipleWriteSupported", "true"},
                                     {"MaxSupportedRecordSize", "8192"},
                                     {"ParameterizationSpeedupSupported", "true"},
                                     {"PowerOnToCommReady", "350"},
                                     {"DeviceAccessSupported", "true"},
                                     {"SharedDeviceSupported", "true"},
                                     {"CheckDeviceID_Allowed", "false"},
                                     {"NameOfStationNotTransferable", "true"}});
    Module_Info(L, "IDT_NAME_DAP1", "IDT_INFO_DAP1");
    L.Empty("VendorName", {{"Value", "Ostrel"}});
    L.Empty("OrderNumber", {{"Value", "GW40211"}});
    L.Close("ModuleInfo");

    L.Open("SubslotList");
    L.Empty("SubslotItem", {{"SubslotNumber", "0"}, {"TextId", "IDT_SUBSLOT_1"}});
    L.Empty("SubslotItem", {{"SubslotNumber", "32768"}, {"TextId", "IDT_SUBSLOT_Interface"}});
    L.Empty("SubslotItem", {{"SubslotNumber", "32769"}, {"TextId", "IDT_SUBSLOT_Port1"}});
    L.Empty("SubslotItem", {{"SubslotNumber", "32770"}, {"TextId", "IDT_SUBSLOT_Port2"}});
    L.Close("SubslotList");
    L.Empty("IOConfigData",
            {{"MaxInputLength", "1440"}, {"MaxOutputLength", "1440"}, {"MaxDataLength", "2880"}});
    L.Open("UseableModules");
    L.Empty("ModuleItemRef", {{"ModuleItemTarget", "IDM_1"}, {"FixedInSlots", "1"}});
    L.Close("UseableModules");

    L.Open("VirtualSubmoduleList");
    L.Open("VirtualSubmoduleItem", {{"ID", "IDS_V1"}, {"SubmoduleIdentNumber", "0x00000000"}});
    L.Empty("IOData", {{"IOPS_Length", "1"}, {"IOCS_Length", "1"}});
    Module_Info(L, "IDT_NAME_VS1", "IDT_INFO_VS1");
    L.Close("ModuleInfo");
    L.Close("VirtualSubmoduleItem");
    L.Close("VirtualSubmoduleList");

    L.Open("SystemDefinedSubmoduleList");
    L.Open("InterfaceSubmoduleItem", {{"ID", "IDS_I"},
                                      {"SubmoduleIdentNumber", "0x00000001"},
                                      {"SubslotNumber", "32768"},
                                      {"TextId", "IDT_NAME_IS"},
                                      {"SupportedRT_Classes", "RT_CLASS_1"},
                                      {"SupportedProtocols", "SNMP;LLDP"},
                                      {"SupportedMibs", "MIB2"}});
    L.Open("ApplicationRelations");
    L.Empty("TimingProperties", {{"SendClock", "32"}, {"ReductionRatio", "1 2 4 8 16 32 64 128 256 512"}});
    L.Close("ApplicationRelations");
    L.Close("InterfaceSubmoduleItem");
    for (int port = 1; port <= 2; ++port)
        L.Empty("PortSubmoduleItem", {{"ID", QStringLiteral("IDS_P%1").arg(port)},
                                      {"SubmoduleIdentNumber", "0x00000002"},
                                      {"SubslotNumber", String::number(32768 + port)},
                                      {"TextId", QStringLiteral("IDT_NAME_PS%1").arg(port)},
                                      {"MaxPortRxDelay", "350"},
                                      {"MaxPortTxDelay", "160"}});
    L.Close("SystemDefinedSubmoduleList");
    L.Line(QStringLiteral("<!-- This element tells the engineering tool that the DAP supports fieldbus "
                          "integration (slot clusters). -->"));
    L.Line(QStringLiteral("<!-- FieldbusIntegrationSlots MaxSupported=\"127\" Range=\"100..9999\"/-->"));
    L.Close("DeviceAccessPointItem");
    L.Close("DeviceAccessPointList");
}

void Module(TGsdmlLines& L, int InputLength, int OutputLength) {
    L.Open("ModuleList");
    L.Line(QStringLiteral("<!-- The \"normal\" module carrying the FAP. -->"));
    L.Open("ModuleItem", {{"ID", "IDM_1"}, {"ModuleIdentNumber", "0x00000001"}});
    Module_Info(L, "IDT_NAME_M1", "IDT_INFO_M1");
    L.Empty("OrderNumber", {{"Value", "12345-0040-M"}});
    L.Close("ModuleInfo");
    L.Open("VirtualSubmoduleList");
    L.Open("VirtualSubmoduleItem", {{"ID", "IDM_1"}, {"SubmoduleIdentNumber", "0x00000001"}});
    L.Open("IOData", {{"IOPS_Length", "1"}, {"IOCS_Length", "1"}});
    // Input and Output each stand on one line with their data item.
    L.Line(QStringLiteral("<Input>") +
           TGsdmlLines::Element("DataItem", {{"DataType", "OctetString"},
                                             {"Length", String::number(InputLength)},
                                             {"TextId", "IDT_Input_1"}}) +
           QStringLiteral("</Input>"));
    L.Line(QStringLiteral("<Output>") +
           TGsdmlLines::Element("DataItem", {{"DataType", "OctetString"},
                                             {"Length", String::number(OutputLength)},
                                             {"TextId", "IDT_Output_1"}}) +
           QStringLiteral("</Output>"));
    L.Close("IOData");
    L.Open("RecordDataList");
    L.Open("ParameterRecordDataItem", {{"Index", "128"}, {"Length", "2"}});
    L.Empty("Name", {{"TextId", "IDT_NAME_M1_IDT_REF_channel"}});
    L.Empty("Const", {{"ByteOffset", "0"}, {"Data", "0x00,0x00"}});
    L.Empty("Ref", {{"TextId", "IDT_REF_reaction_to_cpu_stop"},
                    {"Visible", "true"},
                    {"DataType", "BitArea"},
                    {"ByteOffset", "0"},
                    {"BitOffset", "0"},
                    {"BitLength", "2"},
                    {"DefaultValue", "2"},
                    {"AllowedValues", "0..2"},
                    {"ValueItemTarget", "IDV_reaction_to_cpu_stop"},
                    {"ID", "IDT_REF_reaction_to_cpu_stop"}});
    L.Open("MenuList");
    L.Open("MenuItem", {{"ID", "IDT_NAME_M1_IDT_REF_channel"}});
    L.Empty("Name", {{"TextId", "IDT_NAME_M1_IDT_REF_channel"}});
    L.Empty("MenuRef", {{"MenuTarget", "IDT_NAME_M1_Base_Parameters"}});
    L.Close("MenuItem");
    L.Open("MenuItem", {{"ID", "IDT_NAME_M1_Base_Parameters"}});
    L.Empty("Name", {{"TextId", "IDT_NAME_M1_Base_Parameters"}});
    L.Empty("ParameterRef", {{"ParameterTarget", "IDT_REF_reaction_to_cpu_stop"}});
    L.Close("MenuItem");
    L.Close("MenuList");
    L.Close("ParameterRecordDataItem");
    L.Close("RecordDataList");
    Module_Info(L, "IDT_NAME_M1", "IDT_INFO_M1");
    L.Close("ModuleInfo");
    L.Close("VirtualSubmoduleItem");
    L.Close("VirtualSubmoduleList");
    L.Close("ModuleItem");
    L.Close("ModuleList");
}

void Values_Categories_Texts(TGsdmlLines& L) {
    L.Open("ValueList");
    L.Open("ValueItem", {{"ID", "IDV_reaction_to_cpu_stop"}});
    L.Open("Assignments");
    L.Empty("Assign", {{"TextId", "IDT_ASSIGN_do_set_substitude_values"}, {"Content", "0"}});
    L.Empty("Assign", {{"TextId", "IDT_ASSIGN_do_values_will_hold"}, {"Content", "1"}});
    L.Empty("Assign", {{"TextId", "IDT_ASSIGN_do_continue_counting"}, {"Content", "2"}});
    L.Close("Assignments");
    L.Close("ValueItem");
    L.Close("ValueList");

    L.Open("CategoryList");
    for (const char* dir : {"DI", "DO"}) {
        L.Open("CategoryItem", {{"ID", S("IDC_") + S(dir)}, {"TextId", S("IDT_CATEGORY_") + S(dir)}});
        L.Empty("InfoText", {{"TextId", S("IDT_INFO_") + S(dir)}});
        L.Close("CategoryItem");
    }
    L.Close("CategoryList");

    L.Open("ExternalTextList");
    L.Open("PrimaryLanguage");
    const int count = int(std::size(External_Texts));
    for (int i = 0; i < count; ++i) {
        const auto& t = External_Texts[i];
        if (i < count - Value_First_Texts)
            L.Empty("Text", {{"TextId", S(t.Id)}, {"Value", S(t.Value)}});
        else
            L.Empty("Text", {{"Value", S(t.Value)}, {"TextId", S(t.Id)}});
    }
    L.Close("PrimaryLanguage");
    L.Close("ExternalTextList");
}

} // namespace

QStringList GSDML_Lines(const String& StationName, int InputLength, int OutputLength) {
    TGsdmlLines L;
    L.Line(QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>"));
    L.Line(QStringLiteral("<!-- A fieldbus integration example. -->"));
    const String ns = S(Device_Profile_Namespace);
    L.Open("ISO15745Profile",
           {{"xmlns", ns},
            {"xmlns:xsi", "http://www.w3.org/2001/XMLSchema-instance"},
            {"xsi:schemaLocation", ns + QStringLiteral(" ..\\xsd\\GSDML-DeviceProfile-v2.31.xsd")}});

    L.Open("ProfileHeader");
    L.Text("ProfileIdentification", "PROFINET Device Profile");
    L.Text("ProfileRevision", "1.00");
    L.Text("ProfileName", "Device Profile for PROFINET Devices");
    L.Text("ProfileSource", "PROFIBUS Nutzerorganisation e. V. (PNO)");
    L.Text("ProfileClassID", "Device");
    L.Open("ISO15745Reference");
    L.Text("ISO15745Part", "4");
    L.Text("ISO15745Edition", "1");
    L.Text("ProfileTechnology", "GSDML");
    L.Close("ISO15745Reference");
    L.Close("ProfileHeader");

    L.Open("ProfileBody");
    L.Open("DeviceIdentity", {{"VendorID", Hex_ID(GSDML_Vendor_ID)}, {"DeviceID", Hex_ID(GSDML_Device_ID)}});
    L.Empty("InfoText", {{"TextId", "IDT_INFO_Device"}});
    L.Empty("VendorName", {{"Value", "Ostrel"}});
    L.Close("DeviceIdentity");
    L.Open("DeviceFunction");
    L.Empty("Family", {{"MainFamily", "Gateway"}, {"ProductFamily", "GW40211"}});
    L.Close("DeviceFunction");
    L.Open("ApplicationProcess");
    Device_Access_Point(L, StationName);
    Module(L, InputLength, OutputLength);
    Values_Categories_Texts(L);
    L.Close("ApplicationProcess");
    L.Close("ProfileBody");
    L.Close("ISO15745Profile");
    return L.Lines;
}

void Read_PROFINET_Par() {
    GSDML_Input_Length = GSDML_Default_Length;
    GSDML_Output_Length = GSDML_Default_Length;
    GSDML_Station_Name.clear();
    if (FileExists(File_ParGen)) {
        TXMLDocument doc(nullptr);
        doc.SetActive(true);
        doc.LoadFromFile(File_ParGen); // a file that cannot be read is reported, not taken as empty
        if (const TXMLNode root = doc.DocumentElement()) {
            if (const TXMLNode n = root.FindNode(QStringLiteral("PROFINET_NB_IN")))
                GSDML_Output_Length = StrToIntDef(n.Text(), GSDML_Default_Length);
            if (const TXMLNode n = root.FindNode(QStringLiteral("PROFINET_NB_OUT")))
                GSDML_Input_Length = StrToIntDef(n.Text(), GSDML_Default_Length);
            if (const TXMLNode n = root.FindNode(QStringLiteral("PROFINET_NAME_STA")))
                GSDML_Station_Name = n.Text();
        }
    }
    if (Trim(GSDML_Station_Name).isEmpty()) GSDML_Station_Name = QStringLiteral("SERIAL");
}

bool GSDML_Lengths_Valid() {
    return GSDML_Input_Length >= 0 && GSDML_Input_Length <= GSDML_Max_Length && GSDML_Output_Length >= 0 &&
           GSDML_Output_Length <= GSDML_Max_Length;
}

void Write_GSDML_File(const String& FileName) {
    Read_PROFINET_Par();
    // A data length the device cannot carry would give a file no controller can use.
    if (!GSDML_Lengths_Valid()) throw Exception(Lang_Text.Get(2510));
    TStringList lines;
    for (const String& line : GSDML_Lines(GSDML_Station_Name, GSDML_Input_Length, GSDML_Output_Length))
        lines.Add(line);
    lines.SaveToFile(FileName, TEncoding::UTF8);
}

void Create_GSDML_File(const String& FileName) {
    // The composed name goes into the chosen folder as it is: it must stay a name in that folder.
    if (!Is_Plain_Name(FileName)) {
        MessageDlg(Lang_Text.Get(2509), mtError, {mbOK});
        return;
    }
    Read_PROFINET_Par();
    if (!GSDML_Lengths_Valid()) {
        MessageDlg(Lang_Text.Get(2510), mtError, {mbOK});
        return;
    }

    // The main window owns the dialog while it runs, as it owns its own save dialogs.
    TSaveDialog dialog(Application ? Application->MainForm() : nullptr);
    dialog.InitialDir = Path_Project;
    dialog.Filter = QStringLiteral("PROFINET XML (*.xml)|") + FileName;
    dialog.FileName = FileName;
    if (!dialog.Execute()) return;
    // The user chooses the folder only; a name typed in the dialog gives way to the composed one.
    String folder = ExtractFilePath(dialog.FileName);
    if (folder.isEmpty()) folder = IncludeTrailingPathDelimiter(Path_Project);
    const String target = folder + FileName;
    if (FileExists(target) && MessageDlg(Lang_Text.Get(2508), mtConfirmation, mbYesNo) == mrNo) return;
    Write_GSDML_File(target);
}
