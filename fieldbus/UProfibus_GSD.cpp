#include "UProfibus_GSD.h"

#include "Maker.h"

#include "Dialogs.h"
#include "Forms.h"
#include "SysUtils.h"
#include "ULang.h"
#include "UProject.h"
#include "XmlDoc.h"

#include "Classes.h"

int GSD_Input_Bytes = 0;
int GSD_Output_Bytes = 0;

namespace {

const char* const Device_Description = "ZED61850 Urerod / PROFIBUS Slave - Converter";
const char* const Order_Number = "GW40210";

// Width of the header's frame, ";" included.
constexpr int Frame_Width = 85;

String S(const char* Text) {
    return String::fromLatin1(Text);
}

// ";*", the text, blanks up to the last column but one and "*".
String Frame(const String& Text) {
    String line = QStringLiteral(";*") + Text;
    return line.leftJustified(Frame_Width - 1, u' ') + u'*';
}

String Rule() {
    return QStringLiteral(";* ") + String(80, u'=') + QStringLiteral(" *");
}
String Empty_Frame() {
    return Frame(String());
}

void Banner(QStringList& L, const String& Title, int Width) {
    const String rule = u';' + String(Width - 1, u'=');
    L << rule << (QStringLiteral(";==== ") + Title + u' ').leftJustified(Width, u'=') << rule;
}

void Blanks(QStringList& L, int Count) {
    for (int i = 0; i < Count; ++i) L << String();
}

String Hex2(int Value) {
    return IntToHex(Value & 0xFF, 2);
}

// The modules of one direction, numbered on from Number.
void Modules(QStringList& L, const char* Name, const char* Kind, int Bytes, int& Number) {
    if (Bytes <= 0) return;
    const int count = GSD_Module_Count(Bytes);
    int left = Bytes;
    for (int i = 0; i < count; ++i) {
        const int size = i < count - 1 ? GSD_Module_Bytes : left;
        L << QStringLiteral("Module=\"%1  (PORT%2)    \" 0x%3,0x%4,0x00,0x%5")
                 .arg(S(Name))
                 .arg(Number)
                 .arg(S(Kind), Hex2(size - 1), Hex2(Number));
        L << String::number(Number) << QStringLiteral("EndModule");
        left -= GSD_Module_Bytes;
        ++Number;
    }
}

} // namespace

int GSD_Module_Count(int Bytes) {
    return Bytes <= 0 ? 0 : (Bytes + GSD_Module_Bytes - 1) / GSD_Module_Bytes;
}

String GSD_File_Name(const String& Chosen) {
    if (Chosen.toLower().endsWith(QStringLiteral(".gsd"))) return Chosen;
    return Chosen + QStringLiteral(".gsd");
}

QStringList GSD_Lines(int InputBytes, int OutputBytes) {
    const int nIn = GSD_Module_Count(InputBytes);
    const int nOut = GSD_Module_Count(OutputBytes);
    QStringList L;

    // Header
    L << QStringLiteral(";");
    L << QStringLiteral(";****************** %1 ********************").arg(S(Device_Description));
    L << Rule() << Empty_Frame();
    L << Frame(QStringLiteral(" Vendor:   ") + S(Maker::Name));
    const String indent(11, u' ');
    L << Frame(indent + S(Maker::Street)) << Frame(indent + S(Maker::Postcode_Town))
      << Frame(indent + QStringLiteral("(%1) - %2").arg(S(Maker::Province), S(Maker::Country)));
    L << Frame(indent + QStringLiteral("Tel. : ") + S(Maker::Phone));
    L << Frame(indent + QStringLiteral("FAX. : ") + S(Maker::Fax));
    L << Frame(indent + QStringLiteral("eMail: ") + S(Maker::Mail));
    L << Empty_Frame() << Rule() << Empty_Frame();
    L << Frame(QStringLiteral(" Function:       ") + S(Device_Description));
    L << Empty_Frame() << Empty_Frame();
    L << Frame(QStringLiteral(" Order Number : ") + S(Order_Number));
    L << Empty_Frame() << Empty_Frame();
    L << u';' + String(Frame_Width - 1, u'*');
    Blanks(L, 2);
    L << QStringLiteral("#Profibus_DP");
    Blanks(L, 2);

    // Parameter texts
    Banner(L, QStringLiteral("Prm-Text-Def-List"), 85);
    Blanks(L, 1);
    L << QStringLiteral("PrmText=1") << QStringLiteral("Text(0)=\"disable\"")
      << QStringLiteral("Text(1)=\"enable\"") << QStringLiteral("EndPrmText");
    Blanks(L, 1);
    L << QStringLiteral("PrmText  = 2") << QStringLiteral("Text(0)  = \"clock up\"")
      << QStringLiteral("Text(1)  = \"clock down\"") << QStringLiteral("EndPrmText");
    Blanks(L, 1);
    L << QStringLiteral("PrmText  = 3");
    for (int i = 1; i <= 5; ++i) L << QStringLiteral("Text(%1)  = \"%2\"").arg(i).arg(i * 10);
    L << QStringLiteral("EndPrmText");
    Blanks(L, 2);

    // Extended user parameters
    Banner(L, QStringLiteral("Ext-User-Prm-Data-Def-List"), 86);
    Blanks(L, 1);
    const struct {
        const char* Name;
        const char* Type;
        int TextRef;
    } prm[] = {
        {"[SlotNumber]", "Unsigned8 0 0-32", 0},
        {"Diagnostic Alarm", "Bit(0) 0 0-1", 1},
        {"Process Alarm", "Bit(1) 0 0-1", 1},
        {"Counter mode", "Unsigned8 0 0-1", 2},
        {"Counter timebase (ms)", "Unsigned8 1 1-5", 3},
        {"Counter high-limit", "Unsigned16 65535 0-65535", 0},
        {"Counter low-limit", "Unsigned16 0 0-65535", 0},
    };
    int n = 0;
    for (const auto& p : prm) {
        ++n;
        L << QStringLiteral("ExtUserPrmData=%1 \"%2\"").arg(n).arg(S(p.Name)) << S(p.Type);
        if (p.TextRef) L << QStringLiteral("Prm_Text_Ref=%1").arg(p.TextRef);
        L << QStringLiteral("EndExtUserPrmData");
        Blanks(L, n == int(std::size(prm)) ? 2 : 1);
    }

    // General keywords
    Banner(L, QStringLiteral("General DP Keywords"), 86);
    Blanks(L, 1);
    L << QStringLiteral("GSD_Revision = 5") << QStringLiteral("Vendor_Name = \"%1\"").arg(S(Maker::Name))
      << QStringLiteral("Model_Name = \"%1\"").arg(S(Order_Number)) << QStringLiteral("Revision = \"1.00\"")
      << QStringLiteral("Ident_Number = 0x") + IntToHex(GSD_Ident_Number, 4)
      << QStringLiteral("Protocol_Ident = 0") << QStringLiteral("Station_Type = 0")
      << QStringLiteral("FMS_supp = 0") << QStringLiteral("Hardware_Release = \"V1.00\"")
      << QStringLiteral("Software_Release = \"V1.00\"") << QStringLiteral("Redundancy = 0")
      << QStringLiteral("Repeater_Ctrl_Sig = 2") << QStringLiteral("24V_Pins = 0");
    Blanks(L, 2);

    // Baud rates
    Banner(L, QStringLiteral("Supported baudrates"), 79);
    Blanks(L, 1);
    const struct {
        const char* Rate;
        int Tsdr;
    } rates[] = {{"9.6", 15}, {"19.2", 15}, {"45.45", 15}, {"93.75", 15}, {"187.5", 15},
                 {"500", 15}, {"1.5M", 20}, {"3M", 35},    {"6M", 50},    {"12M", 95}};
    for (const auto& r : rates) L << QStringLiteral("%1_supp = 1").arg(S(r.Rate));
    Blanks(L, 1);
    for (const auto& r : rates) L << QStringLiteral("MaxTsdr_%1=%2").arg(S(r.Rate)).arg(r.Tsdr);
    Blanks(L, 2);

    // Slave values
    Banner(L, QStringLiteral("Slave specific values"), 79);
    Blanks(L, 1);
    L << QStringLiteral("OrderNumber=\"%1\"").arg(S(Order_Number))
      << QStringLiteral("Slave_Family = 9@%1@%2").arg(S(Maker::Name), S(Order_Number))
      << QStringLiteral("Implementation_Type = \"VPC3+\"")
      << QStringLiteral("Info_Text=\"%1: %2\"").arg(S(Maker::Name), S(Device_Description))
      << QStringLiteral("Bitmap_Device = \"DPV0_1N\"") << QStringLiteral("Bitmap_SF=\"DPV0_1S\"");
    Blanks(L, 1);
    L << QStringLiteral("Freeze_Mode_supp=1") << QStringLiteral("Sync_Mode_supp=1")
      << QStringLiteral("Fail_Safe=1") << QStringLiteral("Auto_Baud_supp=1")
      << QStringLiteral("Set_Slave_Add_supp=0");
    Blanks(L, 1);
    L << QStringLiteral("Min_Slave_Intervall=6");
    Blanks(L, 1);
    L << QStringLiteral("Modular_Station=1") << QStringLiteral("Max_Module=%1").arg(nIn + nOut)
      << QStringLiteral("Modul_Offset=1") << QStringLiteral("Max_Input_Len=%1").arg(InputBytes)
      << QStringLiteral("Max_Output_Len=%1").arg(OutputBytes)
      << QStringLiteral("Max_Data_Len=%1").arg(InputBytes + OutputBytes)
      << QStringLiteral("Max_Diag_Data_Len=15");
    Blanks(L, 1);
    L << QStringLiteral("WD_Base_1ms_supp = 1") << QStringLiteral("Publisher_supp = 1");
    Blanks(L, 1);

    // User parameters
    Banner(L, QStringLiteral("User-Prm-Data"), 79);
    Blanks(L, 1);
    L << QStringLiteral("Max_User_Prm_Data_Len = 12")
      << QStringLiteral("Ext_User_Prm_Data_Const(0)= 0x00,0x00,0x00");
    Blanks(L, 1);

    // Module status
    Banner(L, QStringLiteral("Modulstatus"), 79);
    Blanks(L, 1);
    for (int slot = 1; slot <= 2; ++slot) {
        L << QStringLiteral("Unit_Diag_Area = %1 - %2").arg(22 + 2 * slot).arg(23 + 2 * slot)
          << QStringLiteral("Value(1)= \"Slot %1: Module error\"").arg(slot)
          << QStringLiteral("Value(2)= \"Slot %1: Wrong module\"").arg(slot)
          << QStringLiteral("Value(3)= \"Slot %1: No module\"").arg(slot)
          << QStringLiteral("Unit_Diag_Area_End");
    }
    Blanks(L, 2);

    // Modules and slots
    Banner(L, QStringLiteral("Module-Definition-List"), 79);
    Blanks(L, 1);
    int number = 1;
    Modules(L, "DI", "42", InputBytes, number);
    Modules(L, "DO", "82", OutputBytes, number);
    Blanks(L, 3);
    L << QStringLiteral("SlotDefinition");
    for (int i = 1; i <= nIn + nOut; ++i) L << QStringLiteral("Slot(%1) = \"Slot %1\" %1 %1").arg(i);
    L << QStringLiteral("EndSlotDefinition");
    Blanks(L, 4);
    return L;
}

QByteArray GSD_Text(int InputBytes, int OutputBytes) {
    QByteArray bytes;
    for (const String& line : GSD_Lines(InputBytes, OutputBytes)) bytes += ToWin1252(line) + "\r\n";
    return bytes;
}

void Write_GSD_File(const String& FileName) {
    const QByteArray bytes = GSD_Text(GSD_Input_Bytes, GSD_Output_Bytes);
    // The file is replaced whole, or stays as it was when it cannot be written.
    TMemoryStream stream;
    stream.WriteBuffer(bytes.constData(), bytes.size());
    stream.SaveToFile(FileName);
}

namespace {

// The integer of a key under the root; 0 when the key is missing or holds no whole number.
int Read_Count(const TXMLNode& Root, const char* Key) {
    const TXMLNode node = Root.FindNode(S(Key));
    return node ? StrToIntDef(node.Text(), 0) : 0;
}

} // namespace

void Create_GSD_File() {
    if (!FileExists(File_ParGen)) {
        MessageDlg(Lang_Text.Get(1104), mtError, {mbOK});
        return;
    }
    int input = 0, output = 0;
    {
        TXMLDocument doc(nullptr);
        doc.SetActive(true);
        doc.LoadFromFile(File_ParGen); // a file that cannot be read is reported, not taken as empty
        const TXMLNode root = doc.DocumentElement();
        if (root) {
            output = Read_Count(root, "PROFINET_NB_IN");
            input = Read_Count(root, "PROFINET_NB_OUT");
        }
    }
    // Counts outside what the general parameters allow would give negative lengths or more
    // bytes than the slave carries: no master could use such a file, so none is written.
    if (input < 0 || input > GSD_Max_Bytes || output < 0 || output > GSD_Max_Bytes) {
        MessageDlg(QStringLiteral("Error! The PROFIBUS byte counts of the project (input %1, output %2) must "
                                  "be between 0 and %3: "
                                  "correct them with Set Communication before creating the GSD file")
                       .arg(output)
                       .arg(input)
                       .arg(GSD_Max_Bytes),
                   mtError, {mbOK});
        return;
    }
    GSD_Input_Bytes = input;
    GSD_Output_Bytes = output;

    // The main window owns the dialog while it runs, as it owns its own save dialogs.
    TSaveDialog dialog(Application ? Application->MainForm() : nullptr);
    dialog.InitialDir = Path_Project;
    dialog.Filter = QStringLiteral("Generic Station Description (*.gsd)|*.gsd");
    if (!dialog.Execute()) return;
    const String fileName = GSD_File_Name(dialog.FileName);
    if (FileExists(fileName) && MessageDlg(Lang_Text.Get(1103), mtConfirmation, mbYesNo) == mrNo) return;
    Write_GSD_File(fileName);
}
