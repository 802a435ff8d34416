#include "UVelmoraeFirmWare.h"

#include "ShellApi.h"
#include "SysUtils.h"
#include "UAbout.h"
#include "UBACnetSlaveSetAccess.h"
#include "UBACnet_Eng_Unit.h"
#include "UTopicTemplate.h"
#include "UBACnet_EDE.h"
#include "UCANopen_EDS.h"
#include "UIEC_61850_Access.h"
#include "UKNXAccess.h"
#include "UBoot.h"
#include "ULang.h"
#include "UNew_Project.h"
#include "UOpenConf.h"
#include "UParGen.h"
#include "UProfibus_GSD.h"
#include "UProfinetFileName.h"
#include "UProfinetXML.h"
#include "UReceiveCAN.h"
#include "UReceiveJ1939.h"
#include "UReceiveNMEA.h"
#include "UProject.h"
#include "USNMP_MIB.h"
#include "USNMP_Trap_Access.h"
#include "UMQTT_Set_Topic.h"
#include "USettings.h"
#include "USoftOptions.h"
#include "UStyle.h"
#include "USet_PDO_Access.h"
#include "USet_SDO_Client_Access.h"
#include "USet_SDO_Server_Access.h"
#include "UTransmitCAN.h"
#include "UTransmitJ1939.h"
#include "UTransmitNMEA.h"
#include "UUpdateDevice.h"
#include "UUtils.h"
#include "UVersion.h"

TFVelmoraeFirmWare* FVelmoraeFirmWare = nullptr;

String Download_Link(const String& Text) {
    return QStringLiteral("<a href=\"") + Download_Page_URL() + QStringLiteral("\">") + Text +
           QStringLiteral("</a>");
}

namespace {

constexpr int Step_Button_Width = 170;
constexpr int Step_Button_Height = 36;

TShape* Create_Shape(TForm* Form, const String& Name, int Left, int Top, int Width, int Height) {
    auto* s = new TShape(Form);
    s->SetName(Name);
    s->SetParent(Form);
    s->SetBounds(Left, Top, Width, Height);
    s->Pen()->SetColor(clSilver);
    s->Brush()->SetStyle(bsClear);
    return s;
}

TSaveDialog* Create_Save_Dialog(TForm* Form, const String& Name, const String& Filter,
                                const String& DefaultExt) {
    auto* d = new TSaveDialog(Form);
    d->SetName(Name);
    d->Filter = Filter;
    d->DefaultExt = DefaultExt;
    return d;
}

// The name a chosen EDE file gets: ".csv" appended unless the name already ends with it (any case).
String EDE_File_Name(const String& Chosen) {
    return UpperCase(Copy(Chosen, Length(Chosen) - 3, 4)) == QStringLiteral(".CSV")
               ? Chosen
               : Chosen + QStringLiteral(".csv");
}

} // namespace

TFVelmoraeFirmWare::TFVelmoraeFirmWare(TComponent* AOwner) : TForm(AOwner) {
    BeginLoading();
    SetName(QStringLiteral("FVelmoraeFirmWare"));
    Setup_Window(this, 694, 440);
    auto stepFont = [](TLabel* L) {
        L->SetParentFont(false);
        L->Font()->SetName(QStringLiteral("Verdana"));
        L->Font()->SetHeight(-11);
        L->Font()->SetStyle({fsBold});
        L->Font()->SetColor(Button_Text_Color);
    };

    L_SW_Code = Create_Label(this, this, QStringLiteral("L_SW_Code"), 16, 8);
    L_SW_Code->SetParentFont(false);
    L_SW_Code->Font()->SetName(QStringLiteral("Verdana"));
    L_SW_Code->Font()->SetHeight(-32);
    L_SW_Code->Font()->SetColor(clGray);
    L_SW_Desc = Create_Label(this, this, QStringLiteral("L_SW_Desc"), 16, 42);
    L_SW_Desc->SetParentFont(false);
    L_SW_Desc->Font()->SetName(QStringLiteral("Verdana"));
    L_SW_Desc->Font()->SetHeight(-11);
    L_SW_Desc->Font()->SetStyle({fsBold});
    L_SW_Desc->Font()->SetColor(clGray);

    LL_Update = new TLinkLabel(this);
    LL_Update->SetName(QStringLiteral("LL_Update"));
    LL_Update->SetParent(this);
    LL_Update->SetBounds(16, 352, 400, 17);
    LL_Update->SetVisible(false);
    LL_Update->OnLinkClick = [this](TObject* Sender, const String& Link, TSysLinkType Type) {
        LL_UpdateLinkClick(Sender, Link, Type);
    };

    Btn_Info = Create_Button(this, this, QStringLiteral("Btn_Info"), 516, 8, 50, 50,
                             QStringLiteral("VGLYPH_INFO"), clYellow, bsNormal);
    Btn_Opz = Create_Button(this, this, QStringLiteral("Btn_Opz"), 574, 8, 50, 50,
                            QStringLiteral("VGLYPH_OPTIONS"), clYellow, bsNormal);
    Btn_Close = Create_Button(this, this, QStringLiteral("Btn_Close"), 632, 8, 50, 50,
                              QStringLiteral("VGLYPH_CLOSE"), clYellow, bsNormal);

    Timer_Update = new TTimer(this);
    Timer_Update->SetName(QStringLiteral("Timer_Update"));
    Timer_Update->SetEnabled(false);
    Timer_Update->SetInterval(60000);
    Timer_Update->OnTimer = [this](TObject* Sender) { Timer_UpdateTimer(Sender); };

    XML1 = new TXMLDocument(this);
    XML1->SetName(QStringLiteral("XML1"));
    HTTP1 = new THttpClient(this);
    HTTP1->SetName(QStringLiteral("HTTP1"));
    Setup_Version_Client(HTTP1);

    L_Begin = Create_Label(this, this, QStringLiteral("L_Begin"), 16, 84);
    stepFont(L_Begin);
    Shape2 = Create_Shape(this, QStringLiteral("Shape2"), 80, 70, 348, 36);
    L_Name_Conf = Create_Label(this, this, QStringLiteral("L_Name_Conf"), 87, 75);
    L_Name_Conf_L2 = Create_Label(this, this, QStringLiteral("L_Name_Conf_L2"), 87, 88);
    for (int n = 1; n <= 8; ++n) {
        L_Step[n - 1] = Create_Label(this, this, QStringLiteral("L_Step_%1").arg(n), 16, 128 + 44 * (n - 1));
        stepFont(L_Step[n - 1]);
    }
    Shape1 = Create_Shape(this, QStringLiteral("Shape1"), 10, 339, 674, 1);
    L_Ostrel = Create_Label(this, this, QStringLiteral("L_Ostrel"), 565, 304);
    L_Ostrel->SetParentFont(false);
    L_Ostrel->Font()->Assign(Font());
    L_Ostrel->Font()->SetColor(clBlue);
    L_Ostrel->SetCursor(crHandPoint);
    L_Ostrel->SetCaption(Maker_Site_Caption);
    L_Ostrel->OnClick = [this](TObject* Sender) { L_OstrelClick(Sender); };

    // The new, open and update steps track the pointer in sky blue, the others in yellow.
    auto step = [this](const char* Name, int Row, int Column, const char* Glyph, TColor HotTrack = clYellow,
                       TLbButtonStyle Style = bsEncarta) {
        TLbButton* b =
            Create_Button(this, this, QString::fromLatin1(Name), Column == 0 ? 80 : 258, 112 + 44 * Row,
                          Step_Button_Width, Step_Button_Height, QString::fromLatin1(Glyph), HotTrack, Style);
        b->SetAlignment(taLeftJustify);
        return b;
    };
    Btn_New = step("Btn_New", 0, 0, "VGLYPH_NEW", clSkyBlue);
    Btn_Open = step("Btn_Open", 0, 1, "VGLYPH_OPEN", clSkyBlue);
    Btn_Prm_Gen = step("Btn_Prm_Gen", 1, 0, "VGLYPH_PARAM", clYellow, bsNormal);
    Btn_IEC61850_Client = step("Btn_IEC61850_Client", 2, 0, "VGLYPH_IEC");
    Btn_CreateBin = step("Btn_CreateBin", 4, 0, "VGLYPH_UPDATE", clSkyBlue);
    Btn_Set_BACnet_Access = step("Btn_Set_BACnet_Access", 5, 0, "VGLYPH_PARAM");
    Btn_BACnet_EDE_File = step("Btn_BACnet_EDE_File", 5, 1, "VGLYPH_GSD");
    SD1 = Create_Save_Dialog(this, QStringLiteral("SD1"), QStringLiteral("CSV (MS-DOS) (*.csv)|*.csv"),
                             String());
    Btn_CAN_Rec_Frame = step("Btn_CAN_Rec_Frame", 5, 0, "VGLYPH_PARAM");
    Btn_CAN_Send_Frame = step("Btn_CAN_Send_Frame", 5, 1, "VGLYPH_PARAM");
    Btn_SDO_Server_CANopen = step("Btn_SDO_Server_CANopen", 6, 0, "VGLYPH_PARAM");
    Btn_SDO_Client_CANopen = step("Btn_SDO_Client_CANopen", 6, 1, "VGLYPH_PARAM");
    Btn_PDO_CANopen = step("Btn_PDO_CANopen", 5, 0, "VGLYPH_PARAM");
    Btn_CANopen_EDS = step("Btn_CANopen_EDS", 7, 0, "VGLYPH_GSD");
    SaveEDS =
        Create_Save_Dialog(this, QStringLiteral("SaveEDS"),
                           QStringLiteral("Electronic Data Sheet (*.eds)|*.eds"), QStringLiteral("*.eds"));
    Btn_KNX_Access = step("Btn_KNX_Access", 5, 0, "VGLYPH_PARAM");
    Btn_PROFIBUS_GSD = step("Btn_PROFIBUS_GSD", 3, 0, "VGLYPH_GSD");
    Btn_PROFINET_XML = step("Btn_PROFINET_XML", 3, 1, "VGLYPH_GSD");
    Btn_SNMP_Trap = step("Btn_SNMP_Trap", 5, 0, "VGLYPH_PARAM");
    Btn_SNMP_MIB = step("Btn_SNMP_MIB", 5, 1, "VGLYPH_GSD");
    SaveMIB = Create_Save_Dialog(this, QStringLiteral("SaveMIB"),
                                 QStringLiteral("Management Information Base (*.mib)|*.mib"),
                                 QStringLiteral("*.mib"));
    Btn_MQTT_Set_Topic = step("Btn_MQTT_Set_Topic", 5, 0, "VGLYPH_PARAM");

    for (TLbButton* b : Step_Buttons()) b->OnClick = [this](TObject* Sender) { Btn_Click(Sender); };
    for (TLbButton* b : {Btn_Info, Btn_Opz, Btn_Close})
        b->OnClick = [this](TObject* Sender) { Btn_Click(Sender); };
    EndLoading();

    OnClose = [this](TObject* Sender, TCloseAction& Action) { FormClose(Sender, Action); };
    OnCreate = [this](TObject* Sender) { FormCreate(Sender); };
    DoCreate();
}

std::vector<TLbButton*> TFVelmoraeFirmWare::Step_Buttons() const {
    return {Btn_New,
            Btn_Open,
            Btn_Prm_Gen,
            Btn_IEC61850_Client,
            Btn_CreateBin,
            Btn_Set_BACnet_Access,
            Btn_BACnet_EDE_File,
            Btn_CAN_Rec_Frame,
            Btn_CAN_Send_Frame,
            Btn_SDO_Server_CANopen,
            Btn_SDO_Client_CANopen,
            Btn_PDO_CANopen,
            Btn_CANopen_EDS,
            Btn_KNX_Access,
            Btn_PROFIBUS_GSD,
            Btn_PROFINET_XML,
            Btn_SNMP_Trap,
            Btn_SNMP_MIB,
            Btn_MQTT_Set_Topic};
}

void TFVelmoraeFirmWare::FormCreate(TObject*) {
    // The layout of the steps this build offers.
    for (TLabel* l : L_Step) l->SetVisible(false);
    for (TLbButton* b : Step_Buttons()) b->SetVisible(false);
    const struct {
        int Step;
        TLbButton* First;
        TLbButton* Second;
    } steps[] = {{1, Btn_New, Btn_Open},
                 {2, Btn_Prm_Gen, nullptr},
                 {3, Btn_IEC61850_Client, nullptr},
                 {4, Btn_PROFIBUS_GSD, nullptr},
                 {5, Btn_CreateBin, nullptr}};
    for (const auto& s : steps) {
        const int row = s.Step - 1;
        L_Step[row]->SetBounds(16, 128 + 44 * row, L_Step[row]->Width(), L_Step[row]->Height());
        L_Step[row]->SetVisible(true);
        s.First->SetBounds(80, 112 + 44 * row, Step_Button_Width, Step_Button_Height);
        s.First->SetVisible(true);
        if (s.Second) {
            s.Second->SetBounds(258, 112 + 44 * row, Step_Button_Width, Step_Button_Height);
            s.Second->SetVisible(true);
        }
    }
    L_Ostrel->SetTop(L_Step[4]->Top());
    L_Ostrel->SetLeft(565);
    L_Ostrel->SetVisible(true);
    Shape1->SetBounds(10, Btn_CreateBin->Top() + 51, 674, 1);
    SetClientSize(694, Btn_CreateBin->Top() + 152);

    Set_Program_Folders();
    Name_Project.clear();
    Update_Read_Back = true;
    Read_Settings(XML1);
    Enable_Timer_Update();

    Title_Program = QStringLiteral("Ostrel - Configurator CF40210 - ZED61850 Urerod / PROFIBUS Slave ");
    Code_SW = SW_Code;
    Desc_SW = SW_Description;
    SetCaption(Title_Program);
    L_SW_Code->SetCaption(Code_SW);
    L_SW_Desc->SetCaption(Desc_SW);

    Set_Language();
    Reopen_Last_Project();
    Set_Lang();
    Set_Files();

    if (!Copy_Row_List) Copy_Row_List = new TStringList();
    if (!MIB_Read_List) MIB_Read_List = new TStringList();
    if (!MIB_Write_List) MIB_Write_List = new TStringList();
}

void TFVelmoraeFirmWare::FormClose(TObject*, TCloseAction&) {
    Save_Setting();
}

void TFVelmoraeFirmWare::Enable_Timer_Update() {
    Timer_Update->SetEnabled(Enable_Internet && Enable_Update);
}

void TFVelmoraeFirmWare::Show_Project_Labels() {
    if (!Path_Project.isEmpty()) {
        L_Name_Conf->SetCaption(Lang_Text.Get(11));
        L_Name_Conf_L2->SetCaption(Name_Project);
    } else {
        L_Name_Conf->SetCaption(Lang_Text.Get(9));
        L_Name_Conf_L2->SetCaption(Lang_Text.Get(10));
    }
}

void TFVelmoraeFirmWare::Set_Lang() {
    L_Begin->SetCaption(Lang_Text.Get(0));
    for (int n = 1; n <= 8; ++n) L_Step[n - 1]->SetCaption(Lang_Text.Get(n));
    Show_Project_Labels();
    Btn_Info->SetHint(Lang_Text.Get(12));
    Btn_Opz->SetHint(Lang_Text.Get(13));
    Btn_Close->SetHint(Lang_Text.Get(14));
    Btn_New->SetCaption(Lang_Text.Get(15));
    Btn_Open->SetCaption(Lang_Text.Get(16));
    Btn_CreateBin->SetCaption(Lang_Text.Get(17));
    Btn_Prm_Gen->SetCaption(Lang_Text.Get(20));
    Btn_IEC61850_Client->SetCaption(Lang_Text.Get(21));
    Btn_New->SetHint(Lang_Text.Get(22));
    Btn_Open->SetHint(Lang_Text.Get(23));
    Btn_Prm_Gen->SetHint(Lang_Text.Get(24));
    Btn_IEC61850_Client->SetHint(Lang_Text.Get(25));
    Btn_CreateBin->SetHint(Lang_Text.Get(26));
    Btn_Set_BACnet_Access->SetCaption(Lang_Text.Get(27));
    Btn_Set_BACnet_Access->SetHint(Lang_Text.Get(28));
    Btn_BACnet_EDE_File->SetCaption(Lang_Text.Get(29));
    Btn_BACnet_EDE_File->SetHint(Lang_Text.Get(30));
    Btn_CAN_Rec_Frame->SetCaption(Lang_Text.Get(31));
    Btn_CAN_Send_Frame->SetCaption(Lang_Text.Get(32));
    Btn_CAN_Rec_Frame->SetHint(Lang_Text.Get(33));
    Btn_CAN_Send_Frame->SetHint(Lang_Text.Get(34));
    TLbButton* const pairs[] = {
        Btn_SDO_Server_CANopen, Btn_SDO_Client_CANopen, Btn_PDO_CANopen, Btn_CANopen_EDS, Btn_KNX_Access,
        Btn_PROFIBUS_GSD,       Btn_PROFINET_XML,       Btn_SNMP_Trap,   Btn_SNMP_MIB,    Btn_MQTT_Set_Topic};
    for (int i = 0; i < 10; ++i) {
        pairs[i]->SetCaption(Lang_Text.Get(39 + 2 * i));
        pairs[i]->SetHint(Lang_Text.Get(40 + 2 * i));
    }
}

void TFVelmoraeFirmWare::Set_Files() {
    ::Set_Files();
}

bool TFVelmoraeFirmWare::Save_Setting() {
    return Save_Settings(XML1);
}

void TFVelmoraeFirmWare::Create_New_Project() {
    if (!FNew_Project || FNew_Project->ShowModal() != mrOk) return;
    Show_Project_Labels();
}

void TFVelmoraeFirmWare::Open_Project() {
    if (!FOpenConf || FOpenConf->ShowModal() != mrOk) return;
    Open_Project_Named(FOpenConf->Name_Conf);
    Show_Project_Labels();
}

void TFVelmoraeFirmWare::Change_Language() {
    Set_Lang();
    if (FNew_Project) FNew_Project->Set_Lang();
    if (FOpenConf) FOpenConf->Set_Lang();
    if (FSoftOptions) FSoftOptions->Set_Lang();
    if (FBoot) FBoot->Set_Lang();
    if (FParGen) FParGen->Set_Lang();
    if (FIEC_61850_Access) FIEC_61850_Access->Set_Lang();
    // The windows of the field-protocol tables join here in the system's order: the BACnet, CAN,
    // CANopen, J1939, NMEA 2000 and KNX windows before the PROFINET file-name dialog, the SNMP
    // and MQTT windows after it.
    if (FBACnetSlaveSetAccess) FBACnetSlaveSetAccess->Set_Lang();
    if (FBACnet_Eng_Unit) FBACnet_Eng_Unit->Set_Lang();
    if (FReceiveCAN) FReceiveCAN->Set_Lang();
    if (FTransmitCAN) FTransmitCAN->Set_Lang();
    if (FSet_PDO_Access) FSet_PDO_Access->Set_Lang();
    if (FSet_SDO_Client_Access) FSet_SDO_Client_Access->Set_Lang();
    if (FSet_SDO_Server_Access) FSet_SDO_Server_Access->Set_Lang();
    if (FReceiveJ1939) FReceiveJ1939->Set_Lang();
    if (FTransmitJ1939) FTransmitJ1939->Set_Lang();
    if (FReceiveNMEA) FReceiveNMEA->Set_Lang();
    if (FTransmitNMEA) FTransmitNMEA->Set_Lang();
    if (FKNXAccess) FKNXAccess->Set_Lang();
    if (FProfinetFileName) FProfinetFileName->Set_Lang();
    if (FSNMP_Trap_Access) FSNMP_Trap_Access->Set_Lang();
    if (FMQTT_Set_Topic) FMQTT_Set_Topic->Set_Lang();
    if (FTopicTemplate) FTopicTemplate->Set_Lang();
}

void TFVelmoraeFirmWare::Start_Program(const String& NomeSW, const String& Parameter, Byte tipo) {
    ::Start_Program(NomeSW, Parameter, tipo);
}

void TFVelmoraeFirmWare::Update_Device() {
    try {
        // Builds and writes the images, then opens the device-update window in its Ethernet form.
        ::Update_Device();
    } catch (const Exception& E) {
        // A project that cannot be compiled or written is not handed to the update.
        MessageDlg(E.Message(), mtError, {mbOK});
    }
}

void TFVelmoraeFirmWare::BACnet_EDE_File() {
    SD1->InitialDir = Path_Project;
    if (!SD1->Execute()) return;
    const String name = EDE_File_Name(SD1->FileName);
    if (FileExists(name) && MessageDlg(Lang_Text.Get(1105), mtConfirmation, mbYesNoCancel) != mrYes) return;
    Create_EDE_File(name);
}

void TFVelmoraeFirmWare::Build_EDS_File() {
    SaveEDS->InitialDir = Path_Project;
    if (!SaveEDS->Execute()) return;
    Create_EDS_File(SaveEDS->FileName); // an existing file is replaced without a question
}

void TFVelmoraeFirmWare::PROFINET_XML() {
    if (!FProfinetFileName || FProfinetFileName->ShowModal() != mrOk) return;
    Create_GSDML_File(FProfinetFileName->Name_File_XML);
}

int TFVelmoraeFirmWare::Get_Type_BACnet() {
    if (!FileExists(File_ParGen)) return 0;
    try {
        XML1->SetActive(true);
        XML1->LoadFromFile(File_ParGen);
    } catch (const Exception&) {
        return 0;
    }
    const TXMLNode root = XML1->DocumentElement();
    const TXMLNode key = root ? root.FindNode(QStringLiteral("BACnet_Type")) : TXMLNode();
    if (!key || key.HasChildElements()) return 0;
    return StrToIntDef(key.Text(), 0);
}

void TFVelmoraeFirmWare::Btn_Click(TObject* Sender) {
    if (Sender == Btn_New) {
        Create_New_Project();
    } else if (Sender == Btn_Open) {
        Open_Project();
    } else if (Sender == Btn_Close) {
        Close();
    } else if (Sender == Btn_Info) {
        if (FAbout) FAbout->ShowModal();
    } else if (Sender == Btn_Opz) {
        if (FSoftOptions && FSoftOptions->ShowModal() == mrOk) {
            Save_Setting();
            Enable_Timer_Update();
        }
    } else if (Path_Project.isEmpty()) {
        MessageDlg(Lang_Text.Get(18), mtError, {mbOK});
    } else if (Sender == Btn_Prm_Gen) {
        if (FParGen) FParGen->ShowModal();
    } else if (Sender == Btn_IEC61850_Client) {
        if (FIEC_61850_Access) FIEC_61850_Access->ShowModal();
    } else if (Sender == Btn_BACnet_EDE_File) {
        BACnet_EDE_File();
    } else if (Sender == Btn_CANopen_EDS) {
        Build_EDS_File();
    } else if (Sender == Btn_PROFINET_XML) {
        PROFINET_XML();
    } else if (Sender == Btn_PROFIBUS_GSD) {
        Create_GSD_File();
    } else if (Sender == Btn_SNMP_MIB) {
        Create_MIB_File();
    } else if (Sender == Btn_CreateBin) {
        Update_Device();
    } else if (Sender == Btn_CAN_Rec_Frame) {
        if (FReceiveCAN) FReceiveCAN->ShowModal();
    } else if (Sender == Btn_CAN_Send_Frame) {
        if (FTransmitCAN) FTransmitCAN->ShowModal();
    } else if (Sender == Btn_PDO_CANopen) {
        if (FSet_PDO_Access) FSet_PDO_Access->ShowModal();
    } else if (Sender == Btn_SDO_Client_CANopen) {
        if (FSet_SDO_Client_Access) FSet_SDO_Client_Access->ShowModal();
    } else if (Sender == Btn_SDO_Server_CANopen) {
        if (FSet_SDO_Server_Access) FSet_SDO_Server_Access->ShowModal();
    } else if (Sender == Btn_Set_BACnet_Access) {
        if (FBACnetSlaveSetAccess) FBACnetSlaveSetAccess->ShowModal();
    } else if (Sender == Btn_KNX_Access) {
        if (FKNXAccess) FKNXAccess->ShowModal();
    } else if (Sender == Btn_SNMP_Trap) {
        if (FSNMP_Trap_Access) FSNMP_Trap_Access->ShowModal();
    } else if (Sender == Btn_MQTT_Set_Topic) {
        if (FMQTT_Set_Topic) FMQTT_Set_Topic->ShowModal();
    }
    // The editors of the other steps (the field-protocol tables) are opened here
    // as they join the program.
}

void TFVelmoraeFirmWare::L_OstrelClick(TObject*) {
    ShellExecute(0, QStringLiteral("open"), Home_Page_URL(), String(), String(), SW_SHOW);
}

void TFVelmoraeFirmWare::LL_UpdateLinkClick(TObject*, const String& Link, TSysLinkType) {
    ShellExecute(0, QStringLiteral("open"), Link, String(), String(), SW_SHOW);
}

void TFVelmoraeFirmWare::Timer_UpdateTimer(TObject*) {
    Timer_Update->SetEnabled(false);
    if (::Check_Version(HTTP1)) {
        LL_Update->SetCaption(Download_Link(Lang_Text.Get(19)));
        LL_Update->SetVisible(true);
    } else {
        LL_Update->SetVisible(false);
    }
    Timer_Update->SetInterval(7200000);
    Timer_Update->SetEnabled(true);
}
