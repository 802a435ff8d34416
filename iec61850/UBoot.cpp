#include "UBoot.h"

#include "Dialogs.h"
#include "ExtPanels.h"
#include "LbButton.h"
#include "StdCtrls.h"
#include "SysUtils.h"
#include "UEthernet_Update.h"
#include "ULang.h"
#include "UProject.h"
#include "UUtils.h"
#include "XmlDoc.h"

#include <QDir>
#include <QEventLoop>
#include <QTimer>

TFBoot* FBoot = nullptr;

namespace {

constexpr TColor Window_Color = 15595512; // the pale cream of every window
constexpr int Client_Width = 449;
constexpr int Ping_Echo_Ms = 400;
constexpr int Ping_Total_Ms = 5000;

// Texts of the failures the window reports on its own.
constexpr int Text_Device_Not_Found = 1036;
constexpr int Text_Check_Address = 1037;
constexpr int Text_Image_Missing = 1038;
constexpr int Text_Not_Started = 1039;
constexpr int Text_Exit_Code = 1040;
constexpr int Text_Still_Running = 1041;
constexpr int Text_Crashed = 1042;
constexpr int Text_Updater_Running = 1043;

template <class T> T* Make(TComponent* Owner, TWinControl* Parent, int Left, int Top, int Width, int Height) {
    T* c = new T(Owner);
    c->SetParent(Parent);
    c->SetBounds(Left, Top, Width, Height);
    return c;
}

TPanel* Make_Panel(TComponent* Owner, TWinControl* Parent, int Height) {
    auto* p = Make<TPanel>(Owner, Parent, 0, 0, Client_Width, Height);
    p->SetBevelOuter(bvNone);
    p->SetShowCaption(false);
    p->SetParentColor(true);
    return p;
}

// The last lines of what the update program wrote, for a message.
String Tail(const QByteArray& Output, int Lines = 6) {
    QStringList all = String::fromLocal8Bit(Output).split(u'\n', Qt::SkipEmptyParts);
    while (all.size() > Lines) all.removeFirst();
    return all.join(u'\n');
}

} // namespace

TFBoot::TFBoot(TComponent* AOwner) : TForm(AOwner) {
    BeginLoading();
    SetBorderStyle(bsSingle);
    SetBorderIcons({biSystemMenu});
    SetPosition(poScreenCenter);
    SetColor(Window_Color);
    Font()->SetName(QStringLiteral("Verdana"));
    Font()->SetSize(8);
    SetShowHint(true);
    SetClientSize(Client_Width, 230);

    P_Title = Make_Panel(this, this, 69);
    L_SW_Code = Make<TLabel>(this, P_Title, 16, 8, 200, 32);
    L_SW_Code->Font()->SetName(QStringLiteral("Verdana"));
    L_SW_Code->Font()->SetHeight(-32);
    L_SW_Code->Font()->SetColor(clGray);
    L_SW_Desc = Make<TLabel>(this, P_Title, 16, 44, 420, 16);
    L_SW_Desc->Font()->SetStyle({fsBold});
    L_SW_Desc->Font()->SetColor(clGray);

    P_IP_Address = Make_Panel(this, this, 49);
    L_IP_Address = Make<TLabel>(this, P_IP_Address, 16, 4, 300, 14);
    TEdit** edits[] = {&E_IP1, &E_IP2, &E_IP3, &E_IP4};
    TLabel** dots[] = {&L_Dot1, &L_Dot2, &L_Dot3};
    for (int i = 0; i < 4; ++i) {
        TEdit* e = Make<TEdit>(this, P_IP_Address, 16 + 56 * i, 22, 44, 21);
        e->SetText(QStringLiteral("0"));
        e->SetTabOrder(i);
        e->OnKeyPress = [this](TObject* Sender, Char& Key) { KeyPress(Sender, Key); };
        *edits[i] = e;
        if (i < 3) {
            *dots[i] = Make<TLabel>(this, P_IP_Address, 16 + 56 * i + 48, 26, 6, 14);
            (*dots[i])->SetCaption(QStringLiteral("."));
        }
    }

    P_Search = Make_Panel(this, this, 49);
    P_Search->SetVisible(false);

    P_Options = Make_Panel(this, this, 72);
    L_Update_Option = Make<TLabel>(this, P_Options, 16, 4, 300, 14);
    CB_Update_Options = Make<TComboBox>(this, P_Options, 16, 21, 240, 21);
    CB_Update_Options->SetStyle(csDropDownList);
    for (const char* item : {"Firmware + Configuration", "Firmware", "Configuration"})
        CB_Update_Options->Items()->Add(String::fromLatin1(item));
    CB_Update_Options->SetItemIndex(0);
    CB_Update_Options->SetTabOrder(0);
    CB_Update_Option_Read_Back = Make<TCheckBox>(this, P_Options, 16, 47, 300, 17);
    CB_Update_Option_Read_Back->SetChecked(true);
    CB_Update_Option_Read_Back->SetTabOrder(1);

    P_Serial = Make_Panel(this, this, 51);
    L_COM_Port = Make<TLabel>(this, P_Serial, 16, 4, 300, 14);
    L_COM_Port->SetCaption(QStringLiteral("Select the COM port for the Update"));
    CB_COM_Port = Make<TComboBox>(this, P_Serial, 16, 22, 120, 21);
    CB_COM_Port->SetStyle(csDropDownList);
    CB_COM_Port->Items()->Add(QStringLiteral("COM1"));
    CB_COM_Port->SetItemIndex(0);
    CB_COM_Port->SetTabOrder(0);
    Btn_COM_List = Make<TLbButton>(this, P_Serial, 142, 21, 23, 23);
    Btn_COM_List->SetCaption(QStringLiteral("..."));
    Btn_COM_List->SetHint(QStringLiteral("Update COM Ports List"));
    Btn_COM_List->SetTabOrder(1);
    Btn_COM_List->OnClick = [this](TObject* Sender) { Btn_COM_ListClick(Sender); };

    P_Button = Make_Panel(this, this, 40);
    P_Button->SetAlign(alBottom);
    Btn_Cancel = Make<TLbButton>(this, P_Button, 16, 6, 110, 28);
    Btn_Cancel->SetModalResult(mrCancel);
    Btn_Cancel->SetTabOrder(0);
    Btn_Update = Make<TLbButton>(this, P_Button, Client_Width - 16 - 210, 6, 210, 28);
    Btn_Update->SetTabOrder(1);
    Btn_Update->OnClick = [this](TObject* Sender) { Btn_UpdateClick(Sender); };

    P_Title->SetAlign(alTop);
    P_IP_Address->SetVisible(false);
    P_Options->SetVisible(false);
    P_Serial->SetVisible(false);

    Ping = new TIdIcmpClient(this);
    Ping->IPVersion = Id_IPv4;
    Ping->Protocol = 1;
    Ping->ReceiveTimeout = Ping_Echo_Ms;
    Ping->PacketSize = 1024;
    Ping->OnReply = [this](TObject* Sender, const TReplyStatus& Status) { PingReply(Sender, Status); };

    XML1 = new TXMLDocument(this);

    Clock = [] { return GetTickCount(); };
    Pause = [](int Ms) {
        if (Application) Application->ProcessMessages();
        QEventLoop loop;
        QTimer::singleShot(Ms, &loop, &QEventLoop::quit);
        loop.exec();
    };

    OnShow = [this](TObject* Sender) { FormShow(Sender); };
    OnCloseQuery = [this](TObject* Sender, bool& CanClose) { FormCloseQuery(Sender, CanClose); };
    EndLoading();
    DoCreate();
}

void TFBoot::Set_Lang() {
    const bool serial = Form_Type == 0;
    SetCaption(Lang_Text.Get(serial ? 1000 : 1002));
    L_SW_Desc->SetCaption(Lang_Text.Get(serial ? 1001 : 1003));
    L_IP_Address->SetCaption(Lang_Text.Get(1006));
    L_Update_Option->SetCaption(Lang_Text.Get(1014));
    CB_Update_Options->Clear();
    for (int id : {1015, 1016, 1017}) CB_Update_Options->Items()->Add(Lang_Text.Get(id));
    CB_Update_Options->SetItemIndex(0);
    CB_Update_Option_Read_Back->SetCaption(Lang_Text.Get(1018));
    Btn_Cancel->SetCaption(Lang_Text.Get(1019));
    Btn_Update->SetCaption(Lang_Text.Get(1020));
    E_IP1->SetHint(Lang_Text.Get(1021));
    E_IP2->SetHint(Lang_Text.Get(1022));
    E_IP3->SetHint(Lang_Text.Get(1023));
    E_IP4->SetHint(Lang_Text.Get(1024));
    CB_Update_Options->SetHint(Lang_Text.Get(1032));
    CB_Update_Option_Read_Back->SetHint(Lang_Text.Get(1033));
    Btn_Cancel->SetHint(Lang_Text.Get(1034));
    Btn_Update->SetHint(Lang_Text.Get(1035));
}

void TFBoot::Layout_Form() {
    for (TPanel* p : {P_IP_Address, P_Search, P_Options, P_Serial}) {
        p->SetVisible(false);
        p->SetAlign(alNone);
    }
    // Panels aligned to the top stack in the order of their tops.
    const auto stack = [this](TPanel* First, TPanel* Second) {
        First->SetTop(P_Title->Height());
        Second->SetTop(P_Title->Height() + First->Height());
        for (TPanel* p : {First, Second}) {
            p->SetVisible(true);
            p->SetAlign(alTop);
        }
        SetClientSize(Client_Width,
                      P_Title->Height() + First->Height() + Second->Height() + P_Button->Height());
        P_Title->SetTabOrder(0);
        First->SetTabOrder(1);
        Second->SetTabOrder(2);
        P_Button->SetTabOrder(3);
    };
    if (Form_Type == 1) {
        stack(P_IP_Address, P_Options);
        P_Serial->SetTabOrder(4);
        String o1 = E_IP1->Text(), o2 = E_IP2->Text(), o3 = E_IP3->Text(), o4 = E_IP4->Text();
        if (!Last_IP_Address.isEmpty() && Check_IP_Address(Last_IP_Address, o1, o2, o3, o4)) {
            E_IP1->SetText(o1);
            E_IP2->SetText(o2);
            E_IP3->SetText(o3);
            E_IP4->SetText(o4);
        }
    } else {
        stack(P_Serial, P_Options);
        P_IP_Address->SetTabOrder(4);
    }
    CB_Update_Options->SetItemIndex(Update_Option);
    CB_Update_Option_Read_Back->SetChecked(Update_Read_Back);
    if (Form_Type == 1) {
        if (E_IP1->CanFocus()) E_IP1->SetFocus();
    } else {
        update_ComPort();
        if (CB_COM_Port->CanFocus()) CB_COM_Port->SetFocus();
    }
}

void TFBoot::FormShow(TObject*) {
    Set_Lang();
    L_SW_Code->SetCaption(Code_SW);
    Layout_Form();
}

void TFBoot::FormCloseQuery(TObject*, bool& CanClose) {
    CanClose = !FBusy;
}

void TFBoot::KeyPress(TObject* Sender, Char& Key) {
    if (Key != u'.') return;
    Key = Char(0);
    TEdit* next = Sender == E_IP1 ? E_IP2 : Sender == E_IP2 ? E_IP3 : Sender == E_IP3 ? E_IP4 : nullptr;
    if (next && next->CanFocus()) next->SetFocus();
}

void TFBoot::PingReply(TObject*, const TReplyStatus& AReplyStatus) {
    ping_res = AReplyStatus.BytesReceived > 0 ? 1 : 2;
}

// The edits are checked before anything uses them: raw text would go to the resolver as a host
// name and unchecked into the update program's parameter file.
bool TFBoot::Device_Address(String& Address) const {
    return Canonical_IP_Address(E_IP1->Text(), E_IP2->Text(), E_IP3->Text(), E_IP4->Text(), Address);
}

bool TFBoot::Send_Ping() {
    ping_res = 0;
    FPing_Error.clear();
    const Cardinal start = Clock();
    String address;
    if (!Device_Address(address)) return false;
    Ping->Host = address;
    int answered = 0;
    try {
        for (;;) {
            const Cardinal attempt = Clock();
            Ping->Ping(address, 0);
            // The reply event has fired inside Ping; one pause lets the window breathe.
            do Pause(10);
            while (ping_res == 0 && Cardinal(Clock() - attempt) <= Cardinal(Ping_Echo_Ms));
            if (ping_res == 1 && ++answered >= 2) break;
            if (Cardinal(Clock() - start) > Cardinal(Ping_Total_Ms)) break;
        }
    } catch (const Exception& E) {
        FPing_Error = E.Message();
        return false;
    }
    return ping_res == 1;
}

void TFBoot::Compile_XML_Parameter_New_Boot() {
    String address;
    if (!Device_Address(address)) throw EUpdate_Error(Lang_Text.Get(Text_Check_Address));
    const TEthernet_Update_Parameters parameters = Ethernet_Update_Parameters(
        address, CB_Update_Options->ItemIndex(), CB_Update_Option_Read_Back->Checked());
    Build_Ethernet_Update(XML1, parameters);
    XML1->SaveToFile(Ethernet_Update_File());
}

void TFBoot::Set_Busy(bool Value) {
    FBusy = Value;
    for (TControl* c : std::initializer_list<TControl*>{E_IP1, E_IP2, E_IP3, E_IP4, CB_Update_Options,
                                                        CB_Update_Option_Read_Back, CB_COM_Port, Btn_COM_List,
                                                        Btn_Update, Btn_Cancel})
        c->SetEnabled(!Value);
    if (Screen) Screen->SetCursor(Value ? crHourGlass : crDefault);
}

void TFBoot::Btn_UpdateClick(TObject*) {
    if (FBusy) return; // a click that slipped in while a ping or an update runs
    if (Form_Type != 1) {
        Update_Option = CB_Update_Options->ItemIndex();
        Update_Read_Back = CB_Update_Option_Read_Back->Checked();
        return;
    }
    // An update program left running past the time bound still reads its parameter file and
    // talks to the device: a second one would rewrite the file under it and race it.
    if (Updater_Running()) {
        MessageDlg(Lang_Text.Get(Text_Updater_Running), mtWarning, {mbOK});
        return;
    }
    String address;
    if (!Device_Address(address)) {
        MessageDlg(Lang_Text.Get(Text_Check_Address), mtError, {mbOK});
        return;
    }
    Set_Busy(true);
    struct TIdle {
        TFBoot* Form;
        ~TIdle() { Form->Set_Busy(false); }
    } idle{this};

    if (!Send_Ping()) {
        if (ping_res == 2)
            MessageDlg(Lang_Text.Get(Text_Device_Not_Found), mtWarning, {mbOK});
        else
            MessageDlg(Lang_Text.Get(Text_Check_Address) +
                           (FPing_Error.isEmpty() ? String() : u'\n' + FPing_Error),
                       mtError, {mbOK});
        return;
    }
    Last_IP_Address = address;
    Update_Option = CB_Update_Options->ItemIndex();
    Update_Read_Back = CB_Update_Option_Read_Back->Checked();
    Run_Update(address);
}

void TFBoot::Run_Update(const String& Address) {
    // Every image the update program is told to load must be there before it starts, so that a
    // missing one is named here instead of failing inside the update program half-way.
    const TEthernet_Update_Parameters parameters =
        Ethernet_Update_Parameters(Address, Update_Option, Update_Read_Back);
    for (const String& file : Update_Image_Files(parameters))
        if (!FileExists(file)) {
            MessageDlg(Lang_Text.Get(Text_Image_Missing) + u'\n' + QDir::toNativeSeparators(file), mtError,
                       {mbOK});
            return;
        }
    Compile_XML_Parameter_New_Boot();

    TProgramRun run;
    run.Program = Ethernet_Update_Program();
    run.TimeoutMs = Update_Timeout_Ms;
    run.Shown = true;
    run.ProcessEvents = true; // painted, while the disabled controls take no input
    const TProgramResult result = RunProgramAndWait(run);
    FUpdater_Running = result.Outcome == poTimedOut ? result.StillRunning : nullptr;
    switch (result.Outcome) {
        case poFinished:
            if (result.ExitCode != 0) {
                String text = Lang_Text.Get(Text_Exit_Code) + u' ' + String::number(result.ExitCode);
                const String detail = Tail(result.ErrorOutput.isEmpty() ? result.Output : result.ErrorOutput);
                if (!detail.isEmpty()) text += u'\n' + detail;
                MessageDlg(text, mtError, {mbOK});
            }
            break;
        case poFailedToStart:
            MessageDlg(Lang_Text.Get(Text_Not_Started) + u'\n' + NativePath(run.Program) +
                           QStringLiteral(": ") + result.Error,
                       mtError, {mbOK});
            break;
        case poTimedOut: MessageDlg(Lang_Text.Get(Text_Still_Running), mtWarning, {mbOK}); break;
        case poCrashed:
            MessageDlg(Lang_Text.Get(Text_Crashed) + u'\n' + result.Error, mtError, {mbOK});
            break;
    }
}

void TFBoot::update_ComPort() {
    TStringList* numbers = Get_COM_Port_List();
    CB_COM_Port->Clear();
    for (int i = 0; i < numbers->Count(); ++i)
        CB_COM_Port->Items()->Add(QStringLiteral("COM") + numbers->Strings(i));
    if (CB_COM_Port->Items()->Count() > 0) CB_COM_Port->SetItemIndex(0);
    TObject::Free(numbers);
}

void TFBoot::Btn_COM_ListClick(TObject*) {
    update_ComPort();
}
