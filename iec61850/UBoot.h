// The device-update window: the last step from a project to an updated converter.
//
// In its Ethernet form (Form_Type 1, the only one this build shows) the user types the
// converter's IPv4 address and chooses the update options. "Execute Update Firmware" checks the
// address, pings the converter and, when it answers, keeps the address and the options in the
// shared state, checks that the images exist, writes Ethernet_Update.xml into the program folder
// and runs the update program from there, waiting for its end (at most 150 s). While the ping
// or the update runs the window stays painted but takes no input: its controls are disabled and
// it cannot be closed. An update program still running past the 150 s goes on alone (also when
// the program closes); until it has ended, the button says so and starts nothing, so that a
// second update program never runs beside it nor finds its parameter file rewritten. Every
// failure is reported with a message; nothing is stored after a failed ping.
//
// The serial form (Form_Type 0) shows the serial port list instead of the address and only
// stores the options.
#pragma once

#include "Forms.h"
#include "Icmp.h"
#include "Process.h"

#include <functional>

class TPanel;
class TLabel;
class TEdit;
class TComboBox;
class TCheckBox;
class TLbButton;
class TXMLDocument;

class TFBoot : public TForm {
public:
    explicit TFBoot(TComponent* AOwner);

    TPanel* P_Title;
    TLabel* L_SW_Code;
    TLabel* L_SW_Desc;
    TPanel* P_IP_Address;
    TLabel* L_IP_Address;
    TEdit* E_IP1;
    TEdit* E_IP2;
    TEdit* E_IP3;
    TEdit* E_IP4;
    TLabel* L_Dot1;
    TLabel* L_Dot2;
    TLabel* L_Dot3;
    TPanel* P_Search; // network search of devices: part of the design, never shown
    TPanel* P_Options;
    TLabel* L_Update_Option;
    TComboBox* CB_Update_Options;
    TCheckBox* CB_Update_Option_Read_Back;
    TPanel* P_Serial;
    TLabel* L_COM_Port;
    TComboBox* CB_COM_Port;
    TLbButton* Btn_COM_List;
    TPanel* P_Button;
    TLbButton* Btn_Update;
    TLbButton* Btn_Cancel;
    TIdIcmpClient* Ping;
    TXMLDocument* XML1;

    // 0 serial form, 1 Ethernet form; the main window sets 1 before every show.
    int Form_Type = 0;
    // Status of the ping: 0 nothing recorded, 1 the last echo was answered, 2 it was not.
    int ping_res = 0;

    void FormShow(TObject* Sender);
    void FormCloseQuery(TObject* Sender, bool& CanClose);
    void Btn_UpdateClick(TObject* Sender);
    void Btn_COM_ListClick(TObject* Sender);
    // Key filter of the four address edits: "." is never typed and moves on to the next edit.
    void KeyPress(TObject* Sender, Char& Key);
    void PingReply(TObject* ASender, const TReplyStatus& AReplyStatus);

    // Pings the address of the four edits: echoes of up to 400 ms each until two have been
    // answered or more than 5000 ms have passed; true when the last echo was answered. An echo
    // that cannot be sent ends the attempts with false (ping_res keeps its last status, Ping_Error
    // says why).
    bool Send_Ping();
    // Writes Path_Program\Ethernet_Update.xml from the address edits, the options list and the
    // read-back box; raises when the address is not four decimal octets or the file cannot be
    // written.
    void Compile_XML_Parameter_New_Boot();
    void update_ComPort();
    void Set_Lang();

    // The address of the four edits in its canonical dotted form; false when an edit does not
    // hold a decimal octet 0 .. 255.
    bool Device_Address(String& Address) const;
    // Why the last ping could not send its echo (empty when it could).
    const String& Ping_Error() const { return FPing_Error; }
    // True while a ping or an update runs.
    bool Busy() const { return FBusy; }
    // True while an update program that this window started and stopped waiting for still runs.
    bool Updater_Running() const { return FUpdater_Running && FUpdater_Running(); }

    // The clock and the pause of the ping loop (milliseconds): the tick count and a 10 ms wait
    // that keeps the event loop running. Tests put a clock of their own here.
    std::function<Cardinal()> Clock;
    std::function<void(int Ms)> Pause;
    // Bound of the wait for the update program.
    int Update_Timeout_Ms = 150000;

protected:
    // The form's own key method stays visible beside the key handler of the same name.
    using TForm::KeyPress;

private:
    void Layout_Form();
    void Run_Update(const String& Address);
    void Set_Busy(bool Value);

    bool FBusy = false;
    String FPing_Error;
    // Asks whether the update program left running past the time bound still runs (empty when
    // none was left running).
    std::function<bool()> FUpdater_Running;
};

extern TFBoot* FBoot;
