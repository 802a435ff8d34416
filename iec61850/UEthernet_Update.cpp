#include "UEthernet_Update.h"

#include "SysUtils.h"
#include "UProject.h"
#include "XmlDoc.h"

const String Ethernet_Update_File_Name = QStringLiteral("Ethernet_Update.xml");
const String Firmware_Image_Name = QStringLiteral("Sim40210.sim");

namespace {

// The three kinds of operation.
enum TOperation_Kind { okFirmware, okParameter_Block, okClient_Image };

String S(const char* Text) {
    return String::fromLatin1(Text);
}

void Add(TXMLNode Parent, const char* Name, const String& Text) {
    TXMLNode node = Parent.AddChild(S(Name));
    if (!Text.isEmpty()) node.SetText(Text);
}

void Add_Operation(TXMLNode Operations, TOperation_Kind Kind, const String& File, bool Read_Back, bool Last) {
    TXMLNode op = Operations.AddChild(QStringLiteral("Operation"));
    const bool firmware = Kind == okFirmware;
    Add(op, "Ope_Protection_Enabled", String());
    Add(op, "Ope_GoToBoot_Before", S("0"));
    Add(op, "Ope_GoToApp_Before", S("0"));
    Add(op, "Ope_IP_Address", String());
    Add(op, "Ope_Port", S("2008"));
    Add(op, "Ope_Port_Sec", S("2007"));
    Add(op, "Ope_Erase_Memory", S("0"));
    Add(op, "Ope_FileName", File);
    Add(op, "Ope_Start_Address",
        S(Kind == okFirmware          ? "0x8000"
          : Kind == okParameter_Block ? "0x07000"
                                      : "0x80000"));
    Add(op, "Ope_Memory_Type", S("0"));
    Add(op, "Ope_Bank_Type", S(firmware ? "1" : "2"));
    Add(op, "Ope_Read_Back", S(Read_Back ? "1" : "0"));
    Add(op, "Ope_Write_CSS", S(firmware ? "1" : "0"));
    Add(op, "Ope_Address_CSS", S("0x07A00"));
    Add(op, "Ope_Command_CSS", S("0x02"));
    Add(op, "Ope_Write_Internal_Data", S("0"));
    Add(op, "Ope_WID_Address", S("0x07810"));
    Add(op, "Ope_WID_Command", S("0x02"));
    Add(op, "Ope_WID_Data", S("0x00, 0x00, 0x00, 0x01"));
    // Only the last operation sends the converter back to its application.
    Add(op, "Ope_GoToApp_After", S(Last ? "1" : "0"));
}

void Check_Option(int Option) {
    if (Option < uoFirmware_Configuration || Option > uoConfiguration)
        throw EUpdate_Error(QStringLiteral("Unknown update option %1").arg(Option));
}

String Native_Full(const String& Path) {
    return ExpandFileName(NativePath(Path));
}

} // namespace

TEthernet_Update_Parameters Ethernet_Update_Parameters(const String& IP_Address, int Option, bool Read_Back) {
    TEthernet_Update_Parameters p;
    p.IP_Address = IP_Address;
    p.Option = Option;
    p.Read_Back = Read_Back;
    p.Firmware_File = Native_Full(Path_Master + u'\\' + Firmware_Image_Name);
    p.Bank1_File = Native_Full(Path_Project + QStringLiteral("\\bin\\bank1.bin"));
    p.Bank2_File = Native_Full(Path_Project + QStringLiteral("\\bin\\bank2.bin"));
    return p;
}

QStringList Update_Image_Files(const TEthernet_Update_Parameters& Parameters) {
    Check_Option(Parameters.Option);
    QStringList files;
    if (Parameters.Option != uoConfiguration) files << Parameters.Firmware_File;
    if (Parameters.Option != uoFirmware) files << Parameters.Bank1_File << Parameters.Bank2_File;
    return files;
}

void Build_Ethernet_Update(TXMLDocument* Doc, const TEthernet_Update_Parameters& Parameters) {
    Check_Option(Parameters.Option);
    Doc->SetActive(true);
    Doc->Clear();
    TXMLNode root = Doc->AddChild(QStringLiteral("Ethernet_Update"));
    Add(root, "Version", S("1000"));
    Add(root, "Title", S("Ostrel - CF40210 Ethernet Update"));
    Add(root, "IP_Address_Dev", Parameters.IP_Address);
    Add(root, "Application_Port", S("10000"));
    Add(root, "Boot_Port", S("2008"));
    Add(root, "Boot_Port_Sec", S("2007"));
    Add(root, "Address_Protection", S("0x07800"));
    Add(root.AddChild(QStringLiteral("Protections")), "Protection", S("0x2D6"));
    TXMLNode operations = root.AddChild(QStringLiteral("Operations"));
    const bool firmware = Parameters.Option != uoConfiguration;
    const bool configuration = Parameters.Option != uoFirmware;
    if (firmware)
        Add_Operation(operations, okFirmware, Parameters.Firmware_File, Parameters.Read_Back, !configuration);
    if (configuration) {
        Add_Operation(operations, okParameter_Block, Parameters.Bank1_File, Parameters.Read_Back, false);
        Add_Operation(operations, okClient_Image, Parameters.Bank2_File, Parameters.Read_Back, true);
    }
}

void Write_Ethernet_Update_File(const String& FileName, const TEthernet_Update_Parameters& Parameters) {
    TXMLDocument doc(nullptr);
    Build_Ethernet_Update(&doc, Parameters);
    doc.SaveToFile(FileName);
}

String Ethernet_Update_File() {
    return Path_Program + u'\\' + Ethernet_Update_File_Name;
}

// Programs carry no extension outside Windows: the update program is built as Ethernet_Update.
String Ethernet_Update_Program() {
#ifdef Q_OS_WIN
    return Path_Program + QStringLiteral("\\Ethernet_Update.exe");
#else
    return Path_Program + QStringLiteral("\\Ethernet_Update");
#endif
}

bool Canonical_IP_Address(const String& Octet1, const String& Octet2, const String& Octet3,
                          const String& Octet4, String& Address) {
    QStringList parts;
    for (const String* octet : {&Octet1, &Octet2, &Octet3, &Octet4}) {
        const String t = octet->trimmed();
        if (t.isEmpty() || t.size() > 3) return false;
        for (Char c : t)
            if (c < u'0' || c > u'9') return false;
        const int value = t.toInt();
        if (value > 255) return false;
        parts << String::number(value);
    }
    Address = parts.join(u'.');
    return true;
}
