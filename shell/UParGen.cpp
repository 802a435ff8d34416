#include "UParGen.h"

#include "Dialogs.h"
#include "Messages.h"
#include "SysUtils.h"
#include "ULang.h"
#include "UProject.h"

#include <algorithm>
#include <initializer_list>

TFParGen* FParGen = nullptr;

const TParGenKey ParGen_Keys[20] = {
    {"IEC61850_Client_IP1", "192"},
    {"IEC61850_Client_IP2", "168"},
    {"IEC61850_Client_IP3", "0"},
    {"IEC61850_Client_IP4", "10"},
    {"IEC61850_Client_SM1", "255"},
    {"IEC61850_Client_SM2", "255"},
    {"IEC61850_Client_SM3", "255"},
    {"IEC61850_Client_SM4", "0"},
    {"IEC61850_Client_GAT1", "192"},
    {"IEC61850_Client_GAT2", "168"},
    {"IEC61850_Client_GAT3", "0"},
    {"IEC61850_Client_GAT4", "1"},
    {"IEC61850_Client_En_GAT", "0"},
    {"IEC61850_Client_VLAN", "0"},
    {"IEC61850_Client_Application_ID", "0"},
    {"NTP_Server_URL", ""},
    {"NTP_Poll_Time", ""},
    {"PROFIBUS_ID_Device", "10"},
    // The PROFIBUS byte counts are stored under these names; every reader looks for them so.
    {"PROFINET_NB_IN", "244"},
    {"PROFINET_NB_OUT", "244"},
};

namespace {

constexpr TColor WindowColor = TColor(0xEDF7F8);
constexpr TColor HeaderGradient = TColor(0xD8D8E7);
constexpr int WindowClientWidth = 460;
constexpr int WindowClientHeight = 700;

// Text ids of the two messages about the file itself.
constexpr int Text_Save_Failed = 955;
constexpr int Text_Load_Failed = 956;

// The first frame of a two-frame button bitmap.
void LoadFirstFrame(TBitmap* Glyph, const String& Resource) {
    TBitmap strip;
    strip.LoadFromResourceName(Resource);
    const int size = strip.Height();
    if (size <= 0) return;
    Glyph->SetSize(size, size);
    Glyph->Canvas()->CopyRect(Rect(0, 0, size, size), strip.Canvas(), Rect(0, 0, size, size));
}

// The header marks: a triangle pointing down (expanded) and one pointing right (collapsed) on a
// transparent background.
void AddHeaderMarks(TImageList* Images) {
    const TColor key = clFuchsia;
    for (int mark = 0; mark < 2; ++mark) {
        TBitmap bmp(16, 16);
        bmp.Canvas()->Brush()->SetColor(key);
        bmp.Canvas()->FillRect(Rect(0, 0, 16, 16));
        bmp.Canvas()->Brush()->SetColor(clGray);
        bmp.Canvas()->Pen()->SetColor(clGray);
        if (mark == 0)
            bmp.Canvas()->Polygon({TPoint(3, 5), TPoint(12, 5), TPoint(8, 10)});
        else
            bmp.Canvas()->Polygon({TPoint(5, 3), TPoint(10, 7), TPoint(5, 12)});
        Images->AddMasked(&bmp, key);
    }
}

// True when Sender is a component with one of Names.
bool Named_One_Of(TObject* Sender, std::initializer_list<const char*> Names) {
    auto* c = dynamic_cast<TComponent*>(Sender);
    return c && std::any_of(Names.begin(), Names.end(), [c](const char* Name) { return c->Name() == Name; });
}

} // namespace

// =============================================================================================
// Creation

TFParGen::TFParGen(TComponent* AOwner) : TForm(AOwner) {
    BeginLoading();
    SetName("FParGen");
    Build_Window();
    Build_Panels();
    OnCreate = [this](TObject* Sender) { FormCreate(Sender); };
    OnShow = [this](TObject* Sender) { FormShow(Sender); };
    OnResize = [this](TObject* Sender) { FormResize(Sender); };
    OnMouseWheel = [this](TObject* Sender, TShiftState Shift, int WheelDelta, TPoint MousePos,
                          bool& Handled) { FormMouseWheel(Sender, Shift, WheelDelta, MousePos, Handled); };
    EndLoading();
    DoCreate();
}

void TFParGen::Build_Window() {
    // A sizeable frame: the user may change the height (the group then scrolls); FormResize
    // puts the width back.
    SetBorderStyle(bsSizeable);
    SetBorderIcons({biSystemMenu});
    SetPosition(poScreenCenter);
    SetColor(WindowColor);
    Font()->SetName("Verdana");
    Font()->SetHeight(-11);
    SetShowHint(true);
    SetClientSize(WindowClientWidth, WindowClientHeight);

    ImageList1 = new TImageList(this, 16, 16);
    ImageList1->SetName("ImageList1");
    AddHeaderMarks(ImageList1);
    XML1 = new TXMLDocument(this);
    XML1->SetName("XML1");

    // The title and button panels: flat, in the window colour.
    auto panel = [this](const String& Name, TAlign Align, int Height) {
        auto* p = new TPanel(this);
        p->SetParent(this);
        p->SetName(Name);
        p->SetAlign(Align);
        p->SetHeight(Height);
        p->SetBevelOuter(bvNone);
        p->SetShowCaption(false);
        p->SetColor(WindowColor);
        return p;
    };
    // The labels of the title panel: grey Verdana at the given pixel height.
    auto title = [this](const String& Name, int Top, int Pixels) {
        auto* l = new TLabel(this);
        l->SetParent(P_Title);
        l->SetName(Name);
        l->SetTransparent(true);
        l->SetLeft(16);
        l->SetTop(Top);
        l->Font()->SetName("Verdana");
        l->Font()->SetHeight(-Pixels);
        return l;
    };

    P_Title = panel("P_Title", alTop, 69);
    L_SW_Code = title("L_SW_Code", 8, 32);
    L_SW_Code->Font()->SetColor(clGray);
    L_SW_Desc = title("L_SW_Desc", 42, 11);
    L_SW_Desc->Font()->SetStyle({fsBold});
    L_SW_Desc->Font()->SetColor(clGray);

    P_Button = panel("P_Button", alBottom, 40);

    auto button = [this](const String& Name, int Left, const String& Glyph) {
        auto* b = new TLbButton(this);
        b->SetParent(P_Button);
        b->SetName(Name);
        b->SetBounds(Left, 6, 110, 28);
        b->SetAnchors({akTop, akRight});
        b->SetStyle(bsEncarta);
        b->SetColor(WindowColor);
        b->SetLightColor(clGray);
        b->SetColorWhenDown(TColor(0x0080FF));
        b->SetHotTrackColor(clYellow);
        b->SetShowHint(true);
        b->SetNumGlyphs(1);
        TBitmap glyph;
        LoadFirstFrame(&glyph, Glyph);
        b->SetGlyph(&glyph);
        return b;
    };
    Btn_OK = button("Btn_OK", 217, "LBOK");
    Btn_OK->OnClick = [this](TObject* Sender) { Btn_OKClick(Sender); };
    Btn_Cancel = button("Btn_Cancel", 335, "LBCANCEL");
    Btn_Cancel->SetModalResult(mrCancel);

    CPG = new TCategoryPanelGroup(this);
    CPG->SetParent(this);
    CPG->SetName("CPG");
    CPG->SetAlign(alClient);
    CPG->SetColor(WindowColor);
    CPG->SetTracking(true);
    CPG->HeaderFont()->SetName("Verdana");
    CPG->HeaderFont()->SetHeight(-15);
    CPG->HeaderFont()->SetStyle({fsBold});
    CPG->HeaderFont()->SetColor(clGray);
    CPG->SetGradientBaseColor(HeaderGradient);
    CPG->SetGradientColor(HeaderGradient);
    CPG->SetChevronHotColor(clRed);
    CPG->SetImages(ImageList1);
}

void TFParGen::FormCreate(TObject*) {
    L_SW_Code->SetCaption(Code_SW);
    SetClientSize(WindowClientWidth, WindowClientHeight);
    for (TCategoryPanel* p : All_Panels()) p->Hide();
    Order_TAB_Panels();
    Move_GroupBoxs();
    Set_Lang();
}

// =============================================================================================
// Window events

void TFParGen::FormShow(TObject*) {
    Load_ParGen();
}

void TFParGen::FormResize(TObject*) {
    // The width is fixed; only the height may change.
    if (ClientWidth() != WindowClientWidth) SetClientWidth(WindowClientWidth);
}

void TFParGen::FormMouseWheel(TObject*, TShiftState, int WheelDelta, TPoint MousePos, bool& Handled) {
    const TPoint p = CPG->ScreenToClient(MousePos);
    if (!CPG->ClientRect().Contains(p)) return;
    Handled = true;
    const HWND group = CPG->Handle();
    const int code = WheelDelta > 0 ? SB_LINEUP : SB_LINEDOWN;
    for (int i = 0; i < Mouse->WheelScrollLines(); ++i) {
        SendMessage(group, WM_VSCROLL, WPARAM(code), 0);
        SendMessage(group, WM_VSCROLL, WPARAM(SB_ENDSCROLL), 0);
    }
}

void TFParGen::On_Change(TObject* Sender) {
    if (Named_One_Of(Sender, {"CB_BACnet_Slave_Type", "CB_SNMP_Agent_Security_Level", "CB_WiFi_Type",
                              "CB_WiFi_Secure_Type"}))
        Move_GroupBoxs();
}

void TFParGen::On_Click(TObject* Sender) {
    if (Named_One_Of(Sender, {"CB_SNMP_Agent_Version3", "CB_MQTT_Will_Flag", "CB_TLS_Enable",
                              "CB_TLS_Server_Auth", "CB_TLS_Client_Auth", "CB_WiFi_IP_Auto", "CB_WiFi_DHCP"}))
        Move_GroupBoxs();
}

void TFParGen::KeyPress(TObject* Sender, Char& Key) {
    if (Key != QLatin1Char('.')) return;
    // No octet takes a dot: it moves to the next octet of the client's addresses instead.
    Key = Char(0);
    auto it = std::find(FOctet_Chain.begin(), FOctet_Chain.end(), Sender);
    if (it == FOctet_Chain.end() || std::next(it) == FOctet_Chain.end()) return;
    TEdit* next = *std::next(it);
    if (next->CanFocus()) next->SetFocus();
}

void TFParGen::Btn_OKClick(TObject*) {
    if (!Controllo_Dati()) return;
    try {
        Save_ParGen();
    } catch (const Exception& E) {
        // Nothing was replaced: the window stays open with the values as typed.
        MessageDlg(Lang_Text[Text_Save_Failed] + "\n" + File_ParGen + "\n" + E.Message(), mtError, {mbOK}, 0);
        return;
    }
    SetModalResult(mrOk);
}

// =============================================================================================
// ParGen.xml

std::vector<TEdit*> TFParGen::Key_Fields() const {
    return {E_IEC61850_Client_IP1,
            E_IEC61850_Client_IP2,
            E_IEC61850_Client_IP3,
            E_IEC61850_Client_IP4,
            E_IEC61850_Client_SM1,
            E_IEC61850_Client_SM2,
            E_IEC61850_Client_SM3,
            E_IEC61850_Client_SM4,
            E_IEC61850_Client_GAT1,
            E_IEC61850_Client_GAT2,
            E_IEC61850_Client_GAT3,
            E_IEC61850_Client_GAT4,
            nullptr,
            E_IEC61850_Client_VLAN,
            E_IEC61850_Client_AppID,
            E_NTP_Server_URL,
            E_NTP_Poll_Time,
            E_PROFIBUS_IDDevice,
            E_PROFIBUS_NByte_In,
            E_PROFIBUS_NByte_Out};
}

void TFParGen::Set_Defaults() {
    const std::vector<TEdit*> fields = Key_Fields();
    for (int i = 0; i < 20; ++i)
        if (fields[size_t(i)]) fields[size_t(i)]->SetText(String::fromLatin1(ParGen_Keys[i].Default));
    CB_IEC61850_Client_En_GAT->SetChecked(false);
}

void TFParGen::Show_Load_Error(const String& Message) {
    MessageDlg(Lang_Text[Text_Load_Failed] + "\n" + File_ParGen + "\n" + Message, mtError, {mbOK}, 0);
}

void TFParGen::Load_ParGen() {
    if (!FileExists(File_ParGen)) {
        Set_Defaults();
    } else {
        String error;
        bool loaded = false;
        try {
            XML1->SetActive(true);
            XML1->LoadFromFile(File_ParGen);
            loaded = true;
        } catch (const Exception& E) {
            error = E.Message();
        }
        if (!loaded) {
            // The file stays as it is until OK writes a new one.
            Set_Defaults();
            Show_Load_Error(error);
        } else {
            // The root is the first element: a comment or declaration written before it by
            // another tool must not make every stored value fall back to its default.
            const TXMLNode root = XML1->DocumentElement();
            const std::vector<TEdit*> fields = Key_Fields();
            for (int i = 0; i < 20; ++i) {
                if (i == ParGen_Key_NTP_Server_URL || i == ParGen_Key_NTP_Poll_Time) continue;
                const TXMLNode node =
                    root ? root.FindNode(String::fromLatin1(ParGen_Keys[i].Element)) : TXMLNode();
                const String text = node ? node.Text() : String::fromLatin1(ParGen_Keys[i].Default);
                if (i == ParGen_Key_En_GAT)
                    CB_IEC61850_Client_En_GAT->SetChecked(node && text == "1");
                else
                    fields[size_t(i)]->SetText(text);
            }
        }
    }
    Move_GroupBoxs();
}

void TFParGen::Save_ParGen() {
    XML1->SetActive(true);
    XML1->Clear();
    TXMLNode root = XML1->AddChild("Par_Gen");
    XML1->AppendComment("SW_VERSION = 1.000");
    const std::vector<TEdit*> fields = Key_Fields();
    for (int i = 0; i < 20; ++i) {
        const String value = i == ParGen_Key_En_GAT ? String(CB_IEC61850_Client_En_GAT->Checked() ? "1" : "0")
                                                    : fields[size_t(i)]->Text();
        root.AddChild(String::fromLatin1(ParGen_Keys[i].Element)).SetText(value);
    }
    XML1->SaveToFile(File_ParGen);
}

bool TFParGen::Controllo_Dati() {
    struct TCheck {
        TEdit* Field;
        int Min, Max, TextId;
        bool GatewayOnly;
    };
    const TCheck checks[] = {
        {E_IEC61850_Client_IP1, 0, 255, 649, false}, {E_IEC61850_Client_IP2, 0, 255, 650, false},
        {E_IEC61850_Client_IP3, 0, 255, 651, false}, {E_IEC61850_Client_IP4, 0, 255, 652, false},
        {E_IEC61850_Client_SM1, 0, 255, 653, false}, {E_IEC61850_Client_SM2, 0, 255, 654, false},
        {E_IEC61850_Client_SM3, 0, 255, 655, false}, {E_IEC61850_Client_SM4, 0, 255, 656, false},
        {E_IEC61850_Client_GAT1, 0, 255, 657, true}, {E_IEC61850_Client_GAT2, 0, 255, 658, true},
        {E_IEC61850_Client_GAT3, 0, 255, 659, true}, {E_IEC61850_Client_GAT4, 0, 255, 660, true},
        {E_PROFIBUS_IDDevice, 1, 125, 723, false},   {E_PROFIBUS_NByte_In, 0, 244, 724, false},
        {E_PROFIBUS_NByte_Out, 0, 244, 725, false},
    };
    const bool gateway = CB_IEC61850_Client_En_GAT->Checked();
    for (const TCheck& c : checks) {
        if (c.GatewayOnly && !gateway) continue;
        const int value = StrToIntDef(c.Field->Text(), -1);
        if (value < c.Min || value > c.Max) {
            MessageDlg(Lang_Text[c.TextId], mtError, {mbOK}, 0);
            return false;
        }
    }
    return true;
}

bool TFParGen::Check_Device_Name(const String& Str) {
    for (QChar c : Str) {
        const ushort u = c.unicode();
        const bool plain = (u >= 'a' && u <= 'z') || (u >= 'A' && u <= 'Z') || (u >= '0' && u <= '9');
        if (!plain) return true;
    }
    return false;
}

// =============================================================================================
// Texts

void TFParGen::Set_Lang() {
    SetCaption(Lang_Text[400]);
    L_SW_Desc->SetCaption(Lang_Text[401]);
    Btn_OK->SetCaption(Lang_Text[402]);
    Btn_Cancel->SetCaption(Lang_Text[403]);
    Btn_OK->SetHint(Lang_Text[404]);
    Btn_Cancel->SetHint(Lang_Text[405]);
    for (const TTextRef& t : FTexts) {
        switch (t.Kind) {
            case tkCaption: t.Control->SetCaption(Lang_Text[t.Id]); break;
            case tkHint: t.Control->SetHint(Lang_Text[t.Id]); break;
            case tkItems:
            case tkItemsKeepIndex: {
                auto* combo = dynamic_cast<TComboBox*>(t.Control);
                if (!combo) break;
                const int index = combo->ItemIndex();
                QStringList items;
                for (int i = 0; i < t.Count; ++i) items << Lang_Text[t.Id + i];
                combo->Items()->SetText(items.join('\n'));
                combo->SetItemIndex(t.Kind == tkItems ? 0 : index);
                break;
            }
        }
    }
}

std::vector<int> TFParGen::Used_Text_Ids() const {
    std::vector<int> ids = {400, 401, 402, 403, 404, 405, Text_Save_Failed, Text_Load_Failed};
    for (int header :
         {406, 427, 440, 459, 502, 505, 517, 526, 552, 561, 566, 573, 582, 610, 754, 764, 791, 890, 905})
        ids.push_back(header);
    for (const TTextRef& t : FTexts)
        for (int i = 0; i < t.Count; ++i) ids.push_back(t.Id + i);
    for (int c : {649, 650, 651, 652, 653, 654, 655, 656, 657, 658, 659, 660, 723, 724, 725})
        ids.push_back(c);
    std::sort(ids.begin(), ids.end());
    ids.erase(std::unique(ids.begin(), ids.end()), ids.end());
    return ids;
}
