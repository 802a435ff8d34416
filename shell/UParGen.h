// The general-parameters window "Set Communication": the communication parameters of the open
// project, kept in the project file ParGen.xml.
//
// The window holds the parameter panels of every converter of the family (IEC 61850 client
// network settings, then the other side's protocol: Modbus, BACnet, CAN, CANopen, DeviceNet,
// EtherNet/IP, J1939, KNX, NMEA 2000, PROFIBUS, PROFINET, SNMP, MQTT with Ethernet, Wi-Fi, TLS and
// NTP, serial) in a scrolling group of collapsible panels. Each converter has a pair of layout
// routines: Order_TAB_Panels_<n> shows and numbers its panels, RePosition_Objects_<n> fits their
// rows and heights. This program configures the IEC 61850 client / PROFIBUS slave converter
// (40210), so the window shows the client and PROFIBUS panels and validates and saves those.
//
// ParGen.xml: the root element Par_Gen, then the comment "SW_VERSION = 1.000" after it, and one
// element per key holding the field's text as typed (the gateway flag as "1" or "0"). The
// configuration build and the description-file generators read the same file.
#pragma once

#include "CategoryPanels.h"
#include "ExtPanels.h"
#include "Forms.h"
#include "ImgList.h"
#include "LbButton.h"
#include "StdCtrls.h"
#include "XmlDoc.h"

#include <map>
#include <vector>

// One key of ParGen.xml: its element name and the value a field shows when the file or the key
// is missing.
struct TParGenKey {
    const char* Element;
    const char* Default;
};
// The twenty keys in the order they are written.
extern const TParGenKey ParGen_Keys[20];
// Indexes into ParGen_Keys of the keys with a special rule.
constexpr int ParGen_Key_En_GAT = 12;
constexpr int ParGen_Key_NTP_Server_URL = 15;
constexpr int ParGen_Key_NTP_Poll_Time = 16;

// The converter this program configures; its layout routines are the ones the window runs.
constexpr int ParGen_Built_Variant = 40210;

class TFParGen : public TForm {
public:
    explicit TFParGen(TComponent* AOwner);

    // ---- Components ------------------------------------------------------------------------
    TPanel* P_Title;
    TLabel* L_SW_Code;
    TLabel* L_SW_Desc;
    TCategoryPanelGroup* CPG;
    TPanel* P_Button;
    TLbButton* Btn_OK;
    TLbButton* Btn_Cancel;
    TImageList* ImageList1;
    TXMLDocument* XML1;

    // The twenty category panels.
    TCategoryPanel* CP_IEC61850_Client;
    TCategoryPanel* CP_Modbus_Slave;
    TCategoryPanel* CP_Modbus_TCP_Slave;
    TCategoryPanel* CP_BACnet_Slave;
    TCategoryPanel* CP_CAN;
    TCategoryPanel* CP_CANopen;
    TCategoryPanel* CP_DeviceNet_Slave;
    TCategoryPanel* CP_EtherNetIP;
    TCategoryPanel* CP_J1939;
    TCategoryPanel* CP_NMEA2000;
    TCategoryPanel* CP_PROFINET;
    TCategoryPanel* CP_SNMP_Agent;
    TCategoryPanel* CP_Serial;
    TCategoryPanel* CP_MQTT;
    TCategoryPanel* CP_Ethernet;
    TCategoryPanel* CP_TLS;
    TCategoryPanel* CP_NTP;
    TCategoryPanel* CP_WiFi;
    TCategoryPanel* CP_KNX;
    TCategoryPanel* CP_PROFIBUS;

    // IEC 61850 client panel.
    TLabel* L_IEC61850_Client_IP;
    TEdit* E_IEC61850_Client_IP1;
    TEdit* E_IEC61850_Client_IP2;
    TEdit* E_IEC61850_Client_IP3;
    TEdit* E_IEC61850_Client_IP4;
    TLabel* L_IEC61850_Client_SM;
    TEdit* E_IEC61850_Client_SM1;
    TEdit* E_IEC61850_Client_SM2;
    TEdit* E_IEC61850_Client_SM3;
    TEdit* E_IEC61850_Client_SM4;
    TCheckBox* CB_IEC61850_Client_En_GAT;
    TEdit* E_IEC61850_Client_GAT1;
    TEdit* E_IEC61850_Client_GAT2;
    TEdit* E_IEC61850_Client_GAT3;
    TEdit* E_IEC61850_Client_GAT4;
    TLabel* L_IEC61850_Client_VLAN;
    TEdit* E_IEC61850_Client_VLAN;
    TLabel* L_IEC61850_Client_AppID;
    TEdit* E_IEC61850_Client_AppID;

    // PROFIBUS panel.
    TLabel* L_PROFIBUS_IDDevice;
    TEdit* E_PROFIBUS_IDDevice;
    TLabel* L_PROFIBUS_Baudrate;
    TComboBox* CB_PROFIBUS_Baudrate;
    TLabel* L_PROFIBUS_NByte_In;
    TEdit* E_PROFIBUS_NByte_In;
    TLabel* L_PROFIBUS_NByte_Out;
    TEdit* E_PROFIBUS_NByte_Out;

    // NTP panel (written to the file, never shown by this program).
    TEdit* E_NTP_Server_URL;
    TEdit* E_NTP_Poll_Time;

    // Wi-Fi address mode box.
    TCheckBox* CB_WiFi_IP_Auto;

    // ---- Window events ---------------------------------------------------------------------
    void FormCreate(TObject* Sender);
    void FormShow(TObject* Sender);
    void FormResize(TObject* Sender);
    void FormMouseWheel(TObject* Sender, TShiftState Shift, int WheelDelta, TPoint MousePos, bool& Handled);
    void Btn_OKClick(TObject* Sender);
    // OnChange of every edit and list, OnClick of every check box: re-layout for the senders
    // whose value decides which rows show.
    void On_Change(TObject* Sender);
    void On_Click(TObject* Sender);
    // OnKeyPress of every octet field: "." never reaches the field; in the client panel's
    // address fields it moves the focus to the next octet.
    using TForm::KeyPress;
    void KeyPress(TObject* Sender, Char& Key);

    // ---- Data ------------------------------------------------------------------------------
    // Fills the fields from ParGen.xml (or the defaults) and fits the layout. A file that cannot
    // be read gives the defaults and an error message; the file is left as it is.
    void Load_ParGen();
    // Writes the fields to ParGen.xml (whole or not at all); raises EXMLDocError on failure.
    void Save_ParGen();
    // Checks the fields of this converter's panels in order; shows the first failure's message
    // and answers false, or answers true.
    bool Controllo_Dati();
    // True when Str holds a character other than a-z, A-Z and 0-9.
    static bool Check_Device_Name(const String& Str);

    // ---- Texts -----------------------------------------------------------------------------
    // Fills captions, labels, hints and the fixed list items from the text table. Panel headers
    // are left alone: they are set when the panels are ordered.
    void Set_Lang();

    // ---- Layout ----------------------------------------------------------------------------
    void Order_TAB_Panels();
    void Move_GroupBoxs();

    void Order_TAB_Panels_40191();
    void Order_TAB_Panels_40192();
    void Order_TAB_Panels_40193();
    void Order_TAB_Panels_40194();
    void Order_TAB_Panels_40196();
    void Order_TAB_Panels_40197();
    void Order_TAB_Panels_40198();
    void Order_TAB_Panels_40199();
    void Order_TAB_Panels_40200();
    void Order_TAB_Panels_40203();
    void Order_TAB_Panels_40207();
    void Order_TAB_Panels_40210();
    void Order_TAB_Panels_40211();
    void Order_TAB_Panels_40214();
    void Order_TAB_Panels_40215();

    void RePosition_Objects_40191();
    void RePosition_Objects_40192();
    void RePosition_Objects_40193();
    void RePosition_Objects_40194();
    void RePosition_Objects_40196();
    void RePosition_Objects_40197();
    void RePosition_Objects_40198();
    void RePosition_Objects_40199();
    void RePosition_Objects_40200();
    void RePosition_Objects_40203();
    void RePosition_Objects_40207();
    void RePosition_Objects_40210();
    void RePosition_Objects_40211();
    void RePosition_Objects_40214();
    void RePosition_Objects_40215();

    void RePosition_Object_IEC61850_Client();
    void RePosition_Object_Modbus_Slave();
    void RePosition_Object_Modbus_TCP_Slave();
    void RePosition_Object_BACnet_Slave();
    void RePosition_Object_Serial();
    void RePosition_Object_EtherNetIP();
    void RePosition_Object_CAN();
    void RePosition_Object_CANopen();
    void RePosition_Object_DeviceNet_Slave();
    void RePosition_Object_J1939();
    void RePosition_Object_NMEA2000();
    void RePosition_Object_KNX();
    void RePosition_Object_PROFIBUS();
    void RePosition_Object_PROFINET();
    void RePosition_Object_SNMP_Agent();
    void RePosition_Object_MQTT();
    void RePosition_Object_Ethernet();
    void RePosition_Object_WiFi();
    void RePosition_Object_TLS();
    void RePosition_Object_NTP();

    // The layout routines of every converter, by number (for code that picks one at run time).
    struct TVariantLayout {
        int Variant;
        void (TFParGen::*Order)();
        void (TFParGen::*RePosition)();
    };
    static const std::vector<TVariantLayout>& Variant_Layouts();

    // The twenty panels in the order they were made.
    std::vector<TCategoryPanel*> All_Panels() const;
    // The text ids a panel's fields and labels use (first and last), for checks of the table.
    struct TPanelTexts {
        TCategoryPanel* Panel;
        int First;
        int Last;
        int Used; // ids the panel's controls took
    };
    const std::vector<TPanelTexts>& Panel_Texts() const { return FPanelTexts; }
    // Every text id Set_Lang reads.
    std::vector<int> Used_Text_Ids() const;

    // The component of this window named Name cast to T (nullptr when there is none).
    template <class T> T* Item(const String& Name) const { return dynamic_cast<T*>(FindComponent(Name)); }

private:
    friend class TParGenBuilder;

    // A row of a panel: its controls with their offsets from the row's top, and the control whose
    // bottom ends the panel when the row is the last one shown.
    struct TRow {
        std::vector<TControl*> Controls;
        std::vector<int> Offsets;
        TControl* Last = nullptr;
    };
    enum TTextKind { tkCaption, tkHint, tkItems, tkItemsKeepIndex };
    struct TTextRef {
        TControl* Control;
        TTextKind Kind;
        int Id;
        int Count;
    };

    void Build_Window();
    void Build_Panels();
    // Shows a row at row index Index (top 9 + 28 * Index) / hides it.
    void Place_Row(TCategoryPanel* Panel, const String& Row, int Index);
    void Hide_Row(TCategoryPanel* Panel, const String& Row);
    TControl* Row_Last(TCategoryPanel* Panel, const String& Row) const;
    // Height := top of Last + its height + header height + 12.
    void Fit_Panel(TCategoryPanel* Panel, TControl* Last);
    void Fit_Panel(TCategoryPanel* Panel, const String& LastRow) {
        Fit_Panel(Panel, Row_Last(Panel, LastRow));
    }
    // Shows the panels in this order, numbered "1. ", "2. " ... before their header texts, each
    // directly below the previous one, with tab orders 0, 1, 2 ...
    void Order_Panels(const std::vector<std::pair<TCategoryPanel*, int>>& Panels);
    TComboBox* Combo(const String& Name) const { return Item<TComboBox>(Name); }
    TCheckBox* Check(const String& Name) const { return Item<TCheckBox>(Name); }
    void Set_Defaults();
    // The field of each key of ParGen_Keys (nullptr for the gateway flag, which is a check box).
    std::vector<TEdit*> Key_Fields() const;
    void Show_Load_Error(const String& Message);

    std::map<TCategoryPanel*, std::map<String, TRow>> FRows;
    std::vector<TTextRef> FTexts;
    std::vector<TPanelTexts> FPanelTexts;
    std::vector<TEdit*> FOctet_Chain; // IP1 .. GAT4 of the client panel
};

extern TFParGen* FParGen;
