// The main window: the program's header, the numbered steps of the converter this build
// configures, the buttons for information, options and closing, the version-check timer and the
// link to a newer version. It owns the components other windows borrow: the XML document XML1,
// the HTTP client HTTP1 and the save dialogs.
#pragma once

#include "Dialogs.h"
#include "ExtCtrls.h"
#include "ExtPanels.h"
#include "Forms.h"
#include "LbButton.h"
#include "Net.h"
#include "StdCtrls.h"
#include "XmlDoc.h"

class TFVelmoraeFirmWare : public TForm {
public:
    explicit TFVelmoraeFirmWare(TComponent* AOwner);

    TLabel* L_SW_Code;
    TLabel* L_SW_Desc;
    TLinkLabel* LL_Update;
    TLbButton* Btn_Info;
    TLbButton* Btn_Opz;
    TLbButton* Btn_Close;
    TTimer* Timer_Update;
    TXMLDocument* XML1;
    THttpClient* HTTP1;
    TLabel* L_Begin;
    TLabel* L_Name_Conf;
    TLabel* L_Name_Conf_L2;
    TShape* Shape2;
    TLabel* L_Step[8]; // L_Step_1 ... L_Step_8
    TShape* Shape1;
    TLabel* L_Ostrel;
    TLbButton* Btn_New;
    TLbButton* Btn_Open;
    TLbButton* Btn_Prm_Gen;
    TLbButton* Btn_IEC61850_Client;
    TLbButton* Btn_CreateBin;
    TLbButton* Btn_Set_BACnet_Access;
    TLbButton* Btn_BACnet_EDE_File;
    TSaveDialog* SD1;
    TLbButton* Btn_CAN_Rec_Frame;
    TLbButton* Btn_CAN_Send_Frame;
    TLbButton* Btn_SDO_Server_CANopen;
    TLbButton* Btn_SDO_Client_CANopen;
    TLbButton* Btn_PDO_CANopen;
    TLbButton* Btn_CANopen_EDS;
    TSaveDialog* SaveEDS;
    TLbButton* Btn_KNX_Access;
    TLbButton* Btn_PROFIBUS_GSD;
    TLbButton* Btn_PROFINET_XML;
    TLbButton* Btn_SNMP_Trap;
    TLbButton* Btn_SNMP_MIB;
    TSaveDialog* SaveMIB;
    TLbButton* Btn_MQTT_Set_Topic;

    void FormCreate(TObject* Sender);
    void FormClose(TObject* Sender, TCloseAction& Action);
    void Btn_Click(TObject* Sender);
    void L_OstrelClick(TObject* Sender);
    void LL_UpdateLinkClick(TObject* Sender, const String& Link, TSysLinkType LinkType);
    void Timer_UpdateTimer(TObject* Sender);

    // Fills the window's texts from the text table.
    void Set_Lang();
    // Recomputes the project file paths.
    void Set_Files();
    // Writes the settings file; false when it could not be written.
    bool Save_Setting();
    void Open_Project();
    void Create_New_Project();
    // Gives every window the texts of the language just loaded.
    void Change_Language();
    // Starts an external program and waits for its end (at most 150 s).
    void Start_Program(const String& NomeSW, const String& Parameter, Byte tipo);
    // Builds the configuration images, writes them and opens the device update.
    void Update_Device();
    void BACnet_EDE_File();
    void Build_EDS_File();
    void PROFINET_XML();
    // The BACnet_Type key of the open project's ParGen.xml (0 when missing or no number).
    int Get_Type_BACnet();

    // The buttons of the steps, in the order they are declared.
    std::vector<TLbButton*> Step_Buttons() const;

private:
    // Shows the project labels: the open project's name, or the hint to create or open one.
    void Show_Project_Labels();
    void Enable_Timer_Update();
};

extern TFVelmoraeFirmWare* FVelmoraeFirmWare;

// The link text of the maker's download page, with Text as its caption.
String Download_Link(const String& Text);
