// The general-parameters window's panels: how each panel's rows are made, the panel order of
// every converter of the family, and the routines that fit each panel to its visible rows.
#include "UParGen.h"

#include "SysUtils.h"
#include "ULang.h"

namespace {

// Rows are 28 pixels apart from 9 pixels below the header; labels sit 3 pixels below their
// row's top, check boxes 1 pixel.
constexpr int RowFirstTop = 9;
constexpr int RowStep = 28;
constexpr int LabelLeft = 14;
constexpr int FieldLeft = 191;
constexpr int FieldWidth = 238;
constexpr int FieldHeight = 21;
constexpr int OctetWidth = 55;
constexpr int OctetLefts[4] = {191, 252, 313, 374};
constexpr int DotLefts[3] = {247, 308, 369};
constexpr int LabelOffset = 3;
constexpr int BoxOffset = 1;
constexpr int BoxWidth = 170;
constexpr int BoxHeight = 17;

int RowTop(int Index) {
    return RowFirstTop + RowStep * Index;
}

const QStringList Serial_Bauds = {"1200", "2400", "4800", "9600", "19200", "38400", "57600", "115200"};
const QStringList Parities = {"None", "Even", "Odd"};

} // namespace

// Makes the rows of one panel, one after the other, taking the panel's text ids in order: a
// label's caption then its field's hint, a check box's caption then its hint, one hint per octet
// field, then the items of lists whose items come from the text table.
class TParGenBuilder {
public:
    TParGenBuilder(TFParGen* AForm, TCategoryPanel* APanel, const String& APrefix, int AFirst, int ALast)
        : F(AForm), P(APanel), Prefix(APrefix), Id(AFirst), First(AFirst), Last(ALast) {}

    ~TParGenBuilder() { F->FPanelTexts.push_back({P, First, Last, Id - First}); }

    // A label and a field.
    TEdit* Edit(const String& Name, int Width = FieldWidth) {
        TFParGen::TRow& row = NewRow(Name);
        TLabel* label = MakeLabel("L_" + Prefix + "_" + Name, LabelLeft, Top + LabelOffset);
        TEdit* edit = MakeEdit("E_" + Prefix + "_" + Name, FieldLeft, Top, Width);
        Add(row, label, LabelOffset);
        Add(row, edit, 0);
        row.Last = edit;
        Caption(label);
        Hint(edit);
        return edit;
    }

    // A label and a fixed list.
    TComboBox* List(const String& Name, const QStringList& Items, int Index = 0) {
        TFParGen::TRow& row = NewRow(Name);
        TLabel* label = MakeLabel("L_" + Prefix + "_" + Name, LabelLeft, Top + LabelOffset);
        auto* combo = new TComboBox(F);
        combo->SetParent(P->Surface());
        combo->SetName("CB_" + Prefix + "_" + Name);
        combo->SetStyle(csDropDownList);
        combo->SetBounds(FieldLeft, Top, FieldWidth, FieldHeight);
        combo->Items()->SetText(Items.join('\n'));
        combo->SetItemIndex(Index);
        combo->OnChange = [f = F](TObject* Sender) { f->On_Change(Sender); };
        Add(row, label, LabelOffset);
        Add(row, combo, 0);
        row.Last = combo;
        Caption(label);
        Hint(combo);
        return combo;
    }

    // A check box in the label column.
    TCheckBox* Box(const String& Name) {
        TFParGen::TRow& row = NewRow(Name);
        TCheckBox* box = MakeBox("CB_" + Prefix + "_" + Name);
        Add(row, box, BoxOffset);
        row.Last = box;
        Caption(box);
        Hint(box);
        return box;
    }

    // A label and four octet fields with dots between them.
    void Octets(const String& Name) {
        TFParGen::TRow& row = NewRow(Name);
        TLabel* label = MakeLabel("L_" + Prefix + "_" + Name, LabelLeft, Top + LabelOffset);
        Add(row, label, LabelOffset);
        Caption(label);
        OctetFields(row, Name, true);
    }

    // A check box and four octet fields (the fields take one hint each, or one for all four).
    TCheckBox* Box_Octets(const String& BoxName, const String& Name, bool HintEach = true) {
        TFParGen::TRow& row = NewRow(Name);
        TCheckBox* box = MakeBox("CB_" + Prefix + "_" + BoxName);
        Add(row, box, BoxOffset);
        Caption(box);
        Hint(box);
        OctetFields(row, Name, HintEach);
        return box;
    }

    // A check box and a field without a label of its own.
    TEdit* Box_Edit(const String& BoxName, const String& Name) {
        TFParGen::TRow& row = NewRow(Name);
        TCheckBox* box = MakeBox("CB_" + Prefix + "_" + BoxName);
        TEdit* edit = MakeEdit("E_" + Prefix + "_" + Name, FieldLeft, Top, FieldWidth);
        Add(row, box, BoxOffset);
        Add(row, edit, 0);
        row.Last = edit;
        Caption(box);
        Hint(box);
        Hint(edit);
        return edit;
    }

    // A unit label after the field of the last row.
    TLabel* Unit(const String& Name, int Left) {
        TFParGen::TRow& row = F->FRows[P][LastRow];
        TLabel* label = MakeLabel("L_" + Prefix + "_" + Name, Left, Top + LabelOffset);
        Add(row, label, LabelOffset);
        Caption(label);
        return label;
    }

    // The next Count ids are the items of Combo (refilled by Set_Lang).
    void Items(TComboBox* Combo, int Count, bool KeepIndex) {
        F->FTexts.push_back({Combo, KeepIndex ? TFParGen::tkItemsKeepIndex : TFParGen::tkItems, Id, Count});
        Id += Count;
    }

private:
    TFParGen::TRow& NewRow(const String& Name) {
        Top = RowTop(RowIndex++);
        LastRow = Name;
        return F->FRows[P][Name];
    }

    void Add(TFParGen::TRow& Row, TControl* Control, int Offset) {
        Row.Controls.push_back(Control);
        Row.Offsets.push_back(Offset);
    }

    void Caption(TControl* Control) { F->FTexts.push_back({Control, TFParGen::tkCaption, Id++, 1}); }
    void Hint(TControl* Control) { F->FTexts.push_back({Control, TFParGen::tkHint, Id++, 1}); }

    void OctetFields(TFParGen::TRow& Row, const String& Name, bool HintEach) {
        const int sharedHint = HintEach ? 0 : Id++;
        for (int i = 0; i < 4; ++i) {
            TEdit* edit =
                MakeEdit("E_" + Prefix + "_" + Name + IntToStr(i + 1), OctetLefts[i], Top, OctetWidth);
            edit->OnKeyPress = [f = F](TObject* Sender, Char& Key) { f->KeyPress(Sender, Key); };
            Add(Row, edit, 0);
            Row.Last = edit;
            if (HintEach)
                Hint(edit);
            else
                F->FTexts.push_back({edit, TFParGen::tkHint, sharedHint, 1});
        }
        for (int i = 0; i < 3; ++i) {
            TLabel* dot = MakeLabel("L_" + Prefix + "_" + Name + "_Dot" + IntToStr(i + 1), DotLefts[i],
                                    Top + LabelOffset);
            dot->SetCaption(".");
            Add(Row, dot, LabelOffset);
        }
    }

    TLabel* MakeLabel(const String& Name, int Left, int ATop) {
        auto* label = new TLabel(F);
        label->SetParent(P->Surface());
        label->SetName(Name);
        label->SetTransparent(true);
        label->SetLeft(Left);
        label->SetTop(ATop);
        return label;
    }

    TEdit* MakeEdit(const String& Name, int Left, int ATop, int Width) {
        auto* edit = new TEdit(F);
        edit->SetParent(P->Surface());
        edit->SetName(Name);
        edit->SetBounds(Left, ATop, Width, FieldHeight);
        edit->SetText(String());
        edit->OnChange = [f = F](TObject* Sender) { f->On_Change(Sender); };
        return edit;
    }

    TCheckBox* MakeBox(const String& Name) {
        auto* box = new TCheckBox(F);
        box->SetParent(P->Surface());
        box->SetName(Name);
        box->SetBounds(LabelLeft, Top + BoxOffset, BoxWidth, BoxHeight);
        box->OnClick = [f = F](TObject* Sender) { f->On_Click(Sender); };
        return box;
    }

    TFParGen* F;
    TCategoryPanel* P;
    String Prefix;
    int Id;
    int First;
    int Last;
    int RowIndex = 0;
    int Top = RowFirstTop;
    String LastRow;
};

// =============================================================================================
// Making the panels

void TFParGen::Build_Panels() {
    auto panel = [this](const String& Name) {
        TCategoryPanel* p = CPG->CreatePanel(this);
        p->SetName("CP_" + Name);
        p->SetCaption(String());
        p->SetExpandedImageIndex(0);
        p->SetCollapsedImageIndex(1);
        return p;
    };
    CP_IEC61850_Client = panel("IEC61850_Client");
    CP_Modbus_Slave = panel("Modbus_Slave");
    CP_Modbus_TCP_Slave = panel("Modbus_TCP_Slave");
    CP_BACnet_Slave = panel("BACnet_Slave");
    CP_CAN = panel("CAN");
    CP_CANopen = panel("CANopen");
    CP_DeviceNet_Slave = panel("DeviceNet_Slave");
    CP_EtherNetIP = panel("EtherNetIP");
    CP_J1939 = panel("J1939");
    CP_NMEA2000 = panel("NMEA2000");
    CP_PROFINET = panel("PROFINET");
    CP_SNMP_Agent = panel("SNMP_Agent");
    CP_Serial = panel("Serial");
    CP_MQTT = panel("MQTT");
    CP_Ethernet = panel("Ethernet");
    CP_TLS = panel("TLS");
    CP_NTP = panel("NTP");
    CP_WiFi = panel("WiFi");
    CP_KNX = panel("KNX");
    CP_PROFIBUS = panel("PROFIBUS");

    {
        TParGenBuilder b(this, CP_IEC61850_Client, "IEC61850_Client", 407, 426);
        b.Octets("IP");
        b.Octets("SM");
        CB_IEC61850_Client_En_GAT = b.Box_Octets("En_GAT", "GAT");
        // The gateway octets line up with their check box at 66, one pixel below the grid.
        TRow& gateway = FRows[CP_IEC61850_Client]["GAT"];
        for (size_t i = 0; i < gateway.Controls.size(); ++i) {
            if (gateway.Controls[i] == CB_IEC61850_Client_En_GAT) continue;
            gateway.Offsets[i] += 1;
            gateway.Controls[i]->SetTop(gateway.Controls[i]->Top() + 1);
        }
        E_IEC61850_Client_VLAN = b.Edit("VLAN");
        E_IEC61850_Client_VLAN->SetMaxLength(8);
        E_IEC61850_Client_VLAN->SetNumbersOnly(true);
        E_IEC61850_Client_AppID = b.Edit("AppID");
    }
    {
        TParGenBuilder b(this, CP_Modbus_Slave, "Modbus_Slave", 428, 439);
        b.List("Baudrate", Serial_Bauds, 3);
        b.List("Parity", Parities);
        b.List("Stop_Bits", {"1", "2"});
        b.Edit("IDDevice");
        b.Edit("Time_Out");
        b.Box("Read_Input");
    }
    {
        TParGenBuilder b(this, CP_Modbus_TCP_Slave, "Modbus_TCP_Slave", 441, 458);
        b.Octets("IP");
        b.Octets("SM");
        b.Box_Octets("En_GAT", "GAT");
        b.Edit("Port");
    }
    {
        TParGenBuilder b(this, CP_BACnet_Slave, "BACnet_Slave", 460, 501);
        TComboBox* type = b.List("Type", {"BACnet/IP", "BACnet MS/TP"});
        b.Items(type, 2, true);
        b.Octets("IP");
        b.Octets("SM");
        b.Box_Octets("En_GAT", "GAT");
        b.Edit("Port");
        b.Edit("Device_Name");
        b.Edit("Device_ID");
        b.List("Baudrate", {"9600", "19200", "38400", "76800"});
        b.List("Parity", Parities);
        b.Edit("MAC");
        b.Edit("Max_Master");
        b.Edit("Max_Info_Frames");
        b.Edit("Device_Instance");
        b.Edit("Network");
        b.Box("Desc_32");
    }
    {
        TParGenBuilder b(this, CP_CAN, "CAN", 503, 504);
        b.List("Baudrate", {"10K", "20K", "50K", "125K", "250K", "500K", "800K", "1M"}, 4);
    }
    {
        TParGenBuilder b(this, CP_CANopen, "CANopen", 506, 516);
        b.Edit("IDDevice");
        b.List("Baudrate", {"10K", "20K", "50K", "125K", "250K", "500K", "800K", "1M"}, 4);
        b.Edit("Delay");
        b.Edit("Heartbeat");
        b.Edit("SDO_Time_Out", 200);
        b.Unit("SDO_Time_Out_Unit", 397);
    }
    {
        TParGenBuilder b(this, CP_DeviceNet_Slave, "DeviceNet_Slave", 518, 525);
        b.Edit("IDDevice");
        b.List("Baudrate", {"125K", "250K", "500K"});
        b.Edit("NByte_In");
        b.Edit("NByte_Out");
    }
    {
        TParGenBuilder b(this, CP_EtherNetIP, "EtherNetIP", 527, 551);
        b.Octets("IP");
        b.Octets("SM");
        b.Box_Octets("En_GAT", "GAT");
        b.Edit("Tunnel_Port");
        b.Edit("NByte_In");
        b.Edit("NByte_Out");
        b.Box_Edit("Diagnostic", "Diagnostic_Address");
        // The diagnostic area is not offered by this converter's firmware.
        Hide_Row(CP_EtherNetIP, "Diagnostic_Address");
    }
    {
        TParGenBuilder b(this, CP_J1939, "J1939", 553, 560);
        b.List("Baudrate", {"125K", "250K", "500K"}, 1);
        b.Edit("Time_Out");
        b.Box("Address_Claim");
        b.Edit("Device_ID");
    }
    {
        TParGenBuilder b(this, CP_NMEA2000, "NMEA2000", 567, 572);
        b.Edit("Time_Out");
        b.Edit("Device_ID");
        b.Box("Peer_To_Peer");
    }
    {
        TParGenBuilder b(this, CP_PROFINET, "PROFINET", 583, 609);
        b.Octets("IP");
        b.Octets("SM");
        b.Box_Octets("En_GAT", "GAT");
        b.Edit("Tunnel_Port");
        b.Edit("Name_Station");
        b.Edit("NByte_In");
        b.Edit("NByte_Out");
        b.Box_Edit("Diagnostic", "Diagnostic_Address");
    }
    {
        TParGenBuilder b(this, CP_SNMP_Agent, "SNMP_Agent", 611, 648);
        b.Octets("IP");
        b.Octets("SM");
        b.Box_Octets("En_GAT", "GAT");
        b.Edit("Read_Community");
        b.Edit("Write_Community");
        b.Edit("Sys_Contact");
        b.Edit("Sys_Location");
        b.Box("Version3");
        b.Edit("User");
        b.List("Security_Level", {"noAuthNoPriv", "authNoPriv", "authPriv"});
        b.Edit("Authority");
        b.List("Authority_Mode", {"MD5", "SHA"});
        b.Edit("Privacy");
        b.List("Privacy_Mode", {"DES", "AES"});
    }
    {
        TParGenBuilder b(this, CP_Serial, "Serial", 755, 762);
        b.List("Baudrate", Serial_Bauds, 3);
        b.List("Parity", Parities);
        b.List("Data_Bits", {"7", "8"}, 1);
        b.List("Stop_Bits", {"1", "2"});
    }
    {
        TParGenBuilder b(this, CP_MQTT, "MQTT", 765, 790);
        b.Edit("Broker");
        b.Edit("Port");
        b.Edit("Client_ID");
        b.Edit("Keep_Alive");
        b.Box("Clean_Session");
        b.Box("Will_Flag");
        b.Edit("Will_Topic");
        b.Edit("Will_Message");
        b.Box("Will_Retain");
        b.List("Will_QoS", {"0", "1", "2"});
        b.Edit("User_Name");
        b.Edit("Password")->SetPasswordChar('*');
        b.Edit("Async_Send_Time");
    }
    {
        TParGenBuilder b(this, CP_Ethernet, "Ethernet", 792, 813);
        b.Octets("IP");
        b.Octets("SM");
        b.Octets("GAT");
        b.Box_Octets("En_DNS", "DNS", false);
        b.Edit("TCP_Port");
        b.Edit("UDP_Port");
    }
    {
        TParGenBuilder b(this, CP_WiFi, "WiFi", 815, 889);
        TComboBox* type = b.List("Type", {"Access Point", "Client Mode", "WiFi Direct"});
        b.Items(type, 3, false);
        CB_WiFi_IP_Auto = b.Box("IP_Auto");
        b.Octets("IP");
        b.Octets("SM");
        b.Box_Octets("En_GAT", "GAT");
        b.Box_Octets("En_DNS", "DNS");
        b.Edit("Name");
        b.Edit("Port");
        b.Edit("SSID");
        b.Box("Hidden_SSID"); // its texts are in the table, but neither Wi-Fi type shows it
        TComboBox* secure = b.List("Secure_Type", {"Unsecured", "WPA", "WPA2", "WEP"});
        b.Items(secure, 4, false);
        b.Edit("Password")->SetPasswordChar('*');
        b.Box("DHCP");
        b.Octets("DHCP_First");
        b.Octets("DHCP_Mask");
        b.Edit("Lease_Time");
        b.Edit("Max_Client");
        QStringList channels = {"Auto Search"};
        for (int i = 1; i <= 11; ++i) channels << IntToStr(i);
        TComboBox* channel = b.List("Channel", channels);
        b.Items(channel, 12, false);
    }
    {
        TParGenBuilder b(this, CP_TLS, "TLS", 891, 904);
        b.Box("Enable");
        b.Box("Server_Auth");
        b.Edit("Server_Cert");
        b.Box("Client_Auth");
        b.Edit("Client_Cert");
        b.Edit("Client_Key");
        b.Edit("Key_Password")->SetPasswordChar('*');
    }
    {
        TParGenBuilder b(this, CP_NTP, "NTP", 906, 909);
        E_NTP_Server_URL = b.Edit("Server_URL");
        E_NTP_Poll_Time = b.Edit("Poll_Time");
    }
    {
        TParGenBuilder b(this, CP_KNX, "KNX", 562, 565);
        b.Edit("Time_Out");
        b.Edit("IDDevice");
    }
    {
        TParGenBuilder b(this, CP_PROFIBUS, "PROFIBUS", 574, 581);
        E_PROFIBUS_IDDevice = b.Edit("IDDevice");
        CB_PROFIBUS_Baudrate = b.List("Baudrate", {"Auto Baudrate"});
        E_PROFIBUS_NByte_In = b.Edit("NByte_In");
        E_PROFIBUS_NByte_Out = b.Edit("NByte_Out");
        // The slave follows the master's baud rate: the list only shows that.
        CB_PROFIBUS_Baudrate->SetStyle(csOwnerDrawFixed);
        CB_PROFIBUS_Baudrate->SetEnabled(false);
        // Tab order runs from the bottom row up.
        E_PROFIBUS_NByte_Out->SetTabOrder(0);
        E_PROFIBUS_NByte_In->SetTabOrder(1);
        CB_PROFIBUS_Baudrate->SetTabOrder(2);
        E_PROFIBUS_IDDevice->SetTabOrder(3);
    }

    // The built converter's controls by name.
    L_IEC61850_Client_IP = Item<TLabel>("L_IEC61850_Client_IP");
    L_IEC61850_Client_SM = Item<TLabel>("L_IEC61850_Client_SM");
    L_IEC61850_Client_VLAN = Item<TLabel>("L_IEC61850_Client_VLAN");
    L_IEC61850_Client_AppID = Item<TLabel>("L_IEC61850_Client_AppID");
    E_IEC61850_Client_IP1 = Item<TEdit>("E_IEC61850_Client_IP1");
    E_IEC61850_Client_IP2 = Item<TEdit>("E_IEC61850_Client_IP2");
    E_IEC61850_Client_IP3 = Item<TEdit>("E_IEC61850_Client_IP3");
    E_IEC61850_Client_IP4 = Item<TEdit>("E_IEC61850_Client_IP4");
    E_IEC61850_Client_SM1 = Item<TEdit>("E_IEC61850_Client_SM1");
    E_IEC61850_Client_SM2 = Item<TEdit>("E_IEC61850_Client_SM2");
    E_IEC61850_Client_SM3 = Item<TEdit>("E_IEC61850_Client_SM3");
    E_IEC61850_Client_SM4 = Item<TEdit>("E_IEC61850_Client_SM4");
    E_IEC61850_Client_GAT1 = Item<TEdit>("E_IEC61850_Client_GAT1");
    E_IEC61850_Client_GAT2 = Item<TEdit>("E_IEC61850_Client_GAT2");
    E_IEC61850_Client_GAT3 = Item<TEdit>("E_IEC61850_Client_GAT3");
    E_IEC61850_Client_GAT4 = Item<TEdit>("E_IEC61850_Client_GAT4");
    L_PROFIBUS_IDDevice = Item<TLabel>("L_PROFIBUS_IDDevice");
    L_PROFIBUS_Baudrate = Item<TLabel>("L_PROFIBUS_Baudrate");
    L_PROFIBUS_NByte_In = Item<TLabel>("L_PROFIBUS_NByte_In");
    L_PROFIBUS_NByte_Out = Item<TLabel>("L_PROFIBUS_NByte_Out");
    FOctet_Chain = {E_IEC61850_Client_IP1,  E_IEC61850_Client_IP2,  E_IEC61850_Client_IP3,
                    E_IEC61850_Client_IP4,  E_IEC61850_Client_SM1,  E_IEC61850_Client_SM2,
                    E_IEC61850_Client_SM3,  E_IEC61850_Client_SM4,  E_IEC61850_Client_GAT1,
                    E_IEC61850_Client_GAT2, E_IEC61850_Client_GAT3, E_IEC61850_Client_GAT4};
}

std::vector<TCategoryPanel*> TFParGen::All_Panels() const {
    return {CP_IEC61850_Client,
            CP_Modbus_Slave,
            CP_Modbus_TCP_Slave,
            CP_BACnet_Slave,
            CP_CAN,
            CP_CANopen,
            CP_DeviceNet_Slave,
            CP_EtherNetIP,
            CP_J1939,
            CP_NMEA2000,
            CP_PROFINET,
            CP_SNMP_Agent,
            CP_Serial,
            CP_MQTT,
            CP_Ethernet,
            CP_TLS,
            CP_NTP,
            CP_WiFi,
            CP_KNX,
            CP_PROFIBUS};
}

// =============================================================================================
// Row helpers

void TFParGen::Place_Row(TCategoryPanel* Panel, const String& Row, int Index) {
    auto p = FRows.find(Panel);
    if (p == FRows.end()) return;
    auto r = p->second.find(Row);
    if (r == p->second.end()) return;
    const int top = RowTop(Index);
    for (size_t i = 0; i < r->second.Controls.size(); ++i) {
        r->second.Controls[i]->SetTop(top + r->second.Offsets[i]);
        r->second.Controls[i]->Show();
    }
}

void TFParGen::Hide_Row(TCategoryPanel* Panel, const String& Row) {
    auto p = FRows.find(Panel);
    if (p == FRows.end()) return;
    auto r = p->second.find(Row);
    if (r == p->second.end()) return;
    for (TControl* c : r->second.Controls) c->Hide();
}

TControl* TFParGen::Row_Last(TCategoryPanel* Panel, const String& Row) const {
    auto p = FRows.find(Panel);
    if (p == FRows.end()) return nullptr;
    auto r = p->second.find(Row);
    return r == p->second.end() ? nullptr : r->second.Last;
}

void TFParGen::Fit_Panel(TCategoryPanel* Panel, TControl* Last) {
    if (!Panel || !Last) return;
    Panel->SetHeight(Last->Top() + Last->Height() + CPG->HeaderHeight() + 12);
}

void TFParGen::Order_Panels(const std::vector<std::pair<TCategoryPanel*, int>>& Panels) {
    TCategoryPanel* previous = nullptr;
    int n = 0;
    for (const auto& [panel, textId] : Panels) {
        panel->Show();
        panel->SetTop(previous ? previous->Top() + previous->Height() : 0);
        panel->SetCaption(IntToStr(n + 1) + ". " + Lang_Text[textId]);
        panel->SetTabOrder(n);
        previous = panel;
        ++n;
    }
}

// =============================================================================================
// Panel order of each converter

void TFParGen::Order_TAB_Panels() {
    Order_TAB_Panels_40210();
}
void TFParGen::Move_GroupBoxs() {
    RePosition_Objects_40210();
}

void TFParGen::Order_TAB_Panels_40191() {
    Order_Panels({{CP_IEC61850_Client, 406}, {CP_Modbus_Slave, 427}});
}
void TFParGen::Order_TAB_Panels_40192() {
    Order_Panels({{CP_IEC61850_Client, 406}, {CP_Modbus_TCP_Slave, 440}});
}
void TFParGen::Order_TAB_Panels_40193() {
    Order_Panels({{CP_IEC61850_Client, 406}, {CP_BACnet_Slave, 459}});
}
void TFParGen::Order_TAB_Panels_40194() {
    Order_Panels({{CP_IEC61850_Client, 406}, {CP_CAN, 502}});
}
void TFParGen::Order_TAB_Panels_40196() {
    Order_Panels({{CP_IEC61850_Client, 406}, {CP_DeviceNet_Slave, 517}});
}
void TFParGen::Order_TAB_Panels_40197() {
    Order_Panels({{CP_IEC61850_Client, 406}, {CP_EtherNetIP, 526}});
}
void TFParGen::Order_TAB_Panels_40198() {
    Order_Panels({{CP_IEC61850_Client, 406}, {CP_J1939, 552}});
}
void TFParGen::Order_TAB_Panels_40199() {
    Order_Panels({{CP_IEC61850_Client, 406}, {CP_KNX, 561}});
}
void TFParGen::Order_TAB_Panels_40200() {
    Order_Panels(
        {{CP_IEC61850_Client, 406}, {CP_MQTT, 764}, {CP_Ethernet, 791}, {CP_TLS, 890}, {CP_NTP, 905}});
}
void TFParGen::Order_TAB_Panels_40203() {
    Order_Panels({{CP_IEC61850_Client, 406}, {CP_NMEA2000, 566}});
}
void TFParGen::Order_TAB_Panels_40207() {
    Order_Panels({{CP_IEC61850_Client, 406}, {CP_CANopen, 505}});
}
void TFParGen::Order_TAB_Panels_40210() {
    Order_Panels({{CP_IEC61850_Client, 406}, {CP_PROFIBUS, 573}});
}
void TFParGen::Order_TAB_Panels_40211() {
    Order_Panels({{CP_IEC61850_Client, 406}, {CP_PROFINET, 582}});
}
void TFParGen::Order_TAB_Panels_40214() {
    Order_Panels({{CP_IEC61850_Client, 406}, {CP_SNMP_Agent, 610}});
}
void TFParGen::Order_TAB_Panels_40215() {
    Order_Panels({{CP_IEC61850_Client, 406}, {CP_Serial, 754}});
}

void TFParGen::RePosition_Objects_40191() {
    RePosition_Object_IEC61850_Client();
    RePosition_Object_Modbus_Slave();
}
void TFParGen::RePosition_Objects_40192() {
    RePosition_Object_IEC61850_Client();
    RePosition_Object_Modbus_TCP_Slave();
}
void TFParGen::RePosition_Objects_40193() {
    RePosition_Object_IEC61850_Client();
    RePosition_Object_BACnet_Slave();
}
void TFParGen::RePosition_Objects_40194() {
    RePosition_Object_IEC61850_Client();
    RePosition_Object_CAN();
}
void TFParGen::RePosition_Objects_40196() {
    RePosition_Object_IEC61850_Client();
    RePosition_Object_DeviceNet_Slave();
}
void TFParGen::RePosition_Objects_40197() {
    RePosition_Object_IEC61850_Client();
    RePosition_Object_EtherNetIP();
}
void TFParGen::RePosition_Objects_40198() {
    RePosition_Object_IEC61850_Client();
    RePosition_Object_J1939();
}
void TFParGen::RePosition_Objects_40199() {
    RePosition_Object_IEC61850_Client();
    RePosition_Object_KNX();
}
void TFParGen::RePosition_Objects_40200() {
    RePosition_Object_IEC61850_Client();
    RePosition_Object_MQTT();
    RePosition_Object_Ethernet();
    RePosition_Object_WiFi();
    RePosition_Object_TLS();
    RePosition_Object_NTP();
}
void TFParGen::RePosition_Objects_40203() {
    RePosition_Object_IEC61850_Client();
    RePosition_Object_NMEA2000();
}
void TFParGen::RePosition_Objects_40207() {
    RePosition_Object_IEC61850_Client();
    RePosition_Object_CANopen();
}
void TFParGen::RePosition_Objects_40210() {
    RePosition_Object_IEC61850_Client();
    RePosition_Object_PROFIBUS();
}
void TFParGen::RePosition_Objects_40211() {
    RePosition_Object_IEC61850_Client();
    RePosition_Object_PROFINET();
}
void TFParGen::RePosition_Objects_40214() {
    RePosition_Object_IEC61850_Client();
    RePosition_Object_SNMP_Agent();
}
void TFParGen::RePosition_Objects_40215() {
    RePosition_Object_IEC61850_Client();
    RePosition_Object_Serial();
}

const std::vector<TFParGen::TVariantLayout>& TFParGen::Variant_Layouts() {
    static const std::vector<TVariantLayout> layouts = {
        {40191, &TFParGen::Order_TAB_Panels_40191, &TFParGen::RePosition_Objects_40191},
        {40192, &TFParGen::Order_TAB_Panels_40192, &TFParGen::RePosition_Objects_40192},
        {40193, &TFParGen::Order_TAB_Panels_40193, &TFParGen::RePosition_Objects_40193},
        {40194, &TFParGen::Order_TAB_Panels_40194, &TFParGen::RePosition_Objects_40194},
        {40196, &TFParGen::Order_TAB_Panels_40196, &TFParGen::RePosition_Objects_40196},
        {40197, &TFParGen::Order_TAB_Panels_40197, &TFParGen::RePosition_Objects_40197},
        {40198, &TFParGen::Order_TAB_Panels_40198, &TFParGen::RePosition_Objects_40198},
        {40199, &TFParGen::Order_TAB_Panels_40199, &TFParGen::RePosition_Objects_40199},
        {40200, &TFParGen::Order_TAB_Panels_40200, &TFParGen::RePosition_Objects_40200},
        {40203, &TFParGen::Order_TAB_Panels_40203, &TFParGen::RePosition_Objects_40203},
        {40207, &TFParGen::Order_TAB_Panels_40207, &TFParGen::RePosition_Objects_40207},
        {40210, &TFParGen::Order_TAB_Panels_40210, &TFParGen::RePosition_Objects_40210},
        {40211, &TFParGen::Order_TAB_Panels_40211, &TFParGen::RePosition_Objects_40211},
        {40214, &TFParGen::Order_TAB_Panels_40214, &TFParGen::RePosition_Objects_40214},
        {40215, &TFParGen::Order_TAB_Panels_40215, &TFParGen::RePosition_Objects_40215},
    };
    return layouts;
}

// =============================================================================================
// Fitting each panel

void TFParGen::RePosition_Object_IEC61850_Client() {
    Fit_Panel(CP_IEC61850_Client, E_IEC61850_Client_AppID);
}
void TFParGen::RePosition_Object_Modbus_Slave() {
    Fit_Panel(CP_Modbus_Slave, "Read_Input");
}
void TFParGen::RePosition_Object_Modbus_TCP_Slave() {
    Fit_Panel(CP_Modbus_TCP_Slave, "Port");
}
void TFParGen::RePosition_Object_Serial() {
    Fit_Panel(CP_Serial, "Stop_Bits");
}
void TFParGen::RePosition_Object_EtherNetIP() {
    Fit_Panel(CP_EtherNetIP, "NByte_Out");
}
void TFParGen::RePosition_Object_CAN() {
    Fit_Panel(CP_CAN, "Baudrate");
}
void TFParGen::RePosition_Object_CANopen() {
    Fit_Panel(CP_CANopen, "SDO_Time_Out");
}
void TFParGen::RePosition_Object_DeviceNet_Slave() {
    Fit_Panel(CP_DeviceNet_Slave, "NByte_Out");
}
void TFParGen::RePosition_Object_J1939() {
    Fit_Panel(CP_J1939, "Device_ID");
}
void TFParGen::RePosition_Object_NMEA2000() {
    Fit_Panel(CP_NMEA2000, "Peer_To_Peer");
}
void TFParGen::RePosition_Object_KNX() {
    Fit_Panel(CP_KNX, "IDDevice");
}
void TFParGen::RePosition_Object_PROFIBUS() {
    Fit_Panel(CP_PROFIBUS, E_PROFIBUS_NByte_Out);
}
void TFParGen::RePosition_Object_NTP() {
    Fit_Panel(CP_NTP, "Poll_Time");
}

void TFParGen::RePosition_Object_BACnet_Slave() {
    TCategoryPanel* p = CP_BACnet_Slave;
    const bool ip = Combo("CB_BACnet_Slave_Type")->ItemIndex() == 0;
    static const char* const ipRows[] = {"IP", "SM", "GAT", "Port", "Device_Name", "Device_ID"};
    static const char* const mstpRows[] = {"Baudrate",   "Parity",          "Device_Name",     "MAC",
                                           "Max_Master", "Max_Info_Frames", "Device_Instance", "Network"};
    int row = 1;
    if (ip) {
        for (const char* r : mstpRows) Hide_Row(p, r);
        for (const char* r : ipRows) Place_Row(p, r, row++);
    } else {
        for (const char* r : ipRows) Hide_Row(p, r);
        for (const char* r : mstpRows) Place_Row(p, r, row++);
    }
    Place_Row(p, "Desc_32", row);
    Fit_Panel(p, "Desc_32");
}

void TFParGen::RePosition_Object_SNMP_Agent() {
    TCategoryPanel* p = CP_SNMP_Agent;
    if (!Check("CB_SNMP_Agent_Version3")->Checked()) {
        for (const char* r :
             {"User", "Security_Level", "Authority", "Authority_Mode", "Privacy", "Privacy_Mode"})
            Hide_Row(p, r);
        Fit_Panel(p, "Version3");
        return;
    }
    Place_Row(p, "User", 8);
    Place_Row(p, "Security_Level", 9);
    const int level = Combo("CB_SNMP_Agent_Security_Level")->ItemIndex();
    if (level == 0) {
        for (const char* r : {"Authority", "Authority_Mode", "Privacy", "Privacy_Mode"}) Hide_Row(p, r);
        Fit_Panel(p, "Security_Level");
    } else {
        Place_Row(p, "Authority", 10);
        Place_Row(p, "Authority_Mode", 11);
        if (level == 1) {
            Hide_Row(p, "Privacy");
            Hide_Row(p, "Privacy_Mode");
            Fit_Panel(p, "Authority_Mode");
        } else {
            Place_Row(p, "Privacy", 12);
            Place_Row(p, "Privacy_Mode", 13);
            Fit_Panel(p, "Privacy_Mode");
        }
    }
}

void TFParGen::RePosition_Object_MQTT() {
    TCategoryPanel* p = CP_MQTT;
    int row = 6; // the will-topic row
    if (Check("CB_MQTT_Will_Flag")->Checked()) {
        for (const char* r : {"Will_Topic", "Will_Message", "Will_Retain", "Will_QoS"})
            Place_Row(p, r, row++);
    } else {
        for (const char* r : {"Will_Topic", "Will_Message", "Will_Retain", "Will_QoS"}) Hide_Row(p, r);
    }
    Place_Row(p, "User_Name", row++);
    Place_Row(p, "Password", row);
    Hide_Row(p, "Async_Send_Time");
    Fit_Panel(p, "Password");
}

void TFParGen::RePosition_Object_Ethernet() {
    TCategoryPanel* p = CP_Ethernet;
    for (const char* r : {"DNS", "TCP_Port", "UDP_Port"}) Hide_Row(p, r);
    Fit_Panel(p, "GAT");
}

void TFParGen::RePosition_Object_WiFi() {
    TCategoryPanel* p = CP_WiFi;
    static const char* const addressRows[] = {"IP", "SM", "GAT", "DNS"};
    static const char* const accessPointRows[] = {"Hidden_SSID", "Secure_Type", "Password",
                                                  "DHCP",        "DHCP_First",  "DHCP_Mask",
                                                  "Lease_Time",  "Max_Client",  "Channel"};
    const int type = Combo("CB_WiFi_Type")->ItemIndex();
    int row = 1;
    if (type == 0) {
        // Access point: every row one below the other, the optional ones only when they apply.
        for (const char* r : {"IP_Auto", "Name", "Hidden_SSID"}) Hide_Row(p, r);
        for (const char* r : addressRows) Place_Row(p, r, row++);
        for (const char* r : {"Port", "SSID", "Secure_Type"}) Place_Row(p, r, row++);
        if (Combo("CB_WiFi_Secure_Type")->ItemIndex() != 0)
            Place_Row(p, "Password", row++);
        else
            Hide_Row(p, "Password");
        Place_Row(p, "DHCP", row++);
        if (Check("CB_WiFi_DHCP")->Checked()) {
            for (const char* r : {"DHCP_First", "DHCP_Mask", "Lease_Time"}) Place_Row(p, r, row++);
        } else {
            for (const char* r : {"DHCP_First", "DHCP_Mask", "Lease_Time"}) Hide_Row(p, r);
        }
        Place_Row(p, "Max_Client", row++);
        Place_Row(p, "Channel", row);
        Fit_Panel(p, "Channel");
    } else if (type == 1) {
        // Client: the address comes from the network or is typed.
        Place_Row(p, "IP_Auto", row++);
        if (CB_WiFi_IP_Auto->Checked()) {
            for (const char* r : addressRows) Hide_Row(p, r);
            Place_Row(p, "Name", row++);
        } else {
            Hide_Row(p, "Name");
            for (const char* r : addressRows) Place_Row(p, r, row++);
        }
        for (const char* r : {"Port", "SSID", "Password"}) Place_Row(p, r, row++);
        for (const char* r : accessPointRows)
            if (String(r) != "Password") Hide_Row(p, r);
        Fit_Panel(p, "Password");
    }
}

void TFParGen::RePosition_Object_TLS() {
    TCategoryPanel* p = CP_TLS;
    static const char* const clientRows[] = {"Client_Cert", "Client_Key", "Key_Password"};
    if (!Check("CB_TLS_Enable")->Checked()) {
        for (const char* r :
             {"Server_Auth", "Server_Cert", "Client_Auth", "Client_Cert", "Client_Key", "Key_Password"})
            Hide_Row(p, r);
        Fit_Panel(p, "Enable");
        return;
    }
    int row = 1;
    Place_Row(p, "Server_Auth", row++);
    if (Check("CB_TLS_Server_Auth")->Checked())
        Place_Row(p, "Server_Cert", row++);
    else
        Hide_Row(p, "Server_Cert");
    Place_Row(p, "Client_Auth", row++);
    if (Check("CB_TLS_Client_Auth")->Checked()) {
        for (const char* r : clientRows) Place_Row(p, r, row++);
        Fit_Panel(p, "Key_Password");
    } else {
        for (const char* r : clientRows) Hide_Row(p, r);
        Fit_Panel(p, "Client_Auth");
    }
}

void TFParGen::RePosition_Object_PROFINET() {
    Hide_Row(CP_PROFINET, "Diagnostic_Address");
    Fit_Panel(CP_PROFINET, "NByte_Out");
}
