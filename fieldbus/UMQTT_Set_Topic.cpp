#include "UMQTT_Set_Topic.h"

#include "CANFrameRules.h"
#include "Classes.h"
#include "Dialogs.h"
#include "SysUtils.h"
#include "ULang.h"
#include "UProject.h"
#include "UTopicTemplate.h"
#include "UUtils.h"

using CAN_Frames::Check_Column;
using CAN_Frames::Number_Column;
using CAN_Frames::Text_Column;

TFMQTT_Set_Topic* FMQTT_Set_Topic = nullptr;

namespace {

// Publish grid, real columns.
enum {
    puTopic = 1,
    puRetained,
    puQoS,
    puType,
    puDim,
    puPos,
    puIP,
    puInTemplate,
    puTemplate,
    puOnChange,
    puOnCmd,
    puOnTimer,
    puTime,
    puChannel,
    puSwap,
    puSwapWord,
    puMnemonic
};
// Subscribe grid, real columns.
enum {
    suTopic = 1,
    suRetained,
    suQoS,
    suType,
    suDim,
    suPos,
    suIP,
    suPort,
    suEthType,
    suInTemplate,
    suTemplate,
    suSwap,
    suSwapWord,
    suMnemonic
};

// The value columns stand at the same real index in both tables.
static_assert(suType == puType && suDim == puDim && suPos == puPos);

constexpr int Rows = 1024;
constexpr int Array_Size = 1500;
constexpr TColor Topic_Color = 0xFEFAE0;

const int Pub_Hidden[] = {puIP, puInTemplate, puOnCmd, puChannel, puSwap, puSwapWord};
const int Sub_Hidden[] = {suRetained, suIP, suPort, suEthType, suInTemplate, suSwap, suSwapWord};

TTableColumn Text(int HeaderId, int HintId, int Width, const char* Attribute,
                  TMissingAttribute Missing = maDefault) {
    return Text_Column(HeaderId, HintId, Width, Topic_Color, Attribute, Missing);
}

TTableColumn List(int HeaderId, int HintId, int Width, const char* Attribute, const QStringList& Items,
                  TMissingAttribute Missing = maDefault) {
    TTableColumn c = Text(HeaderId, HintId, Width, Attribute, Missing);
    c.Editor = edComboList;
    c.Items = Items;
    return c;
}

TTableColumn Template(int HeaderId, int HintId) {
    TTableColumn c = Text(HeaderId, HintId, 160, "Template");
    c.Editor = edComboEdit;
    c.Items = {QStringLiteral("$VALUE$")};
    return c;
}

// A check box; Attribute empty for a cell that is not saved.
TTableColumn Check(int HeaderId, int HintId, const char* Attribute, TMissingAttribute Missing = maDefault) {
    TTableColumn c = Check_Column(HeaderId, HintId, 70, Attribute, Missing, "N");
    return c;
}

TTableDesc Table(const char* Grid, int Page, const char* Section) {
    TTableDesc t;
    t.GridName = QString::fromLatin1(Grid);
    t.PageCaptionId = Page;
    t.Section = QString::fromLatin1(Section);
    t.KeyCol = 1;
    t.Capacity = Rows;
    t.GridHandlers = false;
    return t;
}

TTableEditorDesc MQTT_Desc() {
    TTableEditorDesc d;
    d.FormName = QStringLiteral("FMQTT_Set_Topic");
    d.Width = 1100;
    d.TextBlock = 2700;
    d.ButtonHintId = 2708;
    d.Root = QStringLiteral("MQTT_Set_Topic");
    d.File = &File_MQTT_Set_Topic;
    d.ErrorRowId = 2751;
    d.DeleteQuestionId = 2723;
    const QStringList qos = {QStringLiteral("0"), QStringLiteral("1"), QStringLiteral("2")};
    const QStringList types = {QStringLiteral("Int"), QStringLiteral("Float"), QStringLiteral("String"),
                               QStringLiteral("Base64")};
    QStringList channels;
    for (int i = 0; i < 64; ++i) channels << String::number(i);
    channels << QStringLiteral("All");

    TTableDesc p = Table("ACG_Pub", 2733, "MQTT_Publish");
    p.Columns = {
        Number_Column(2714),
        Text(2715, 2719, 200, "Topic", maRequired),
        Check(2716, 2720, "Retained", maRequired),
        List(2717, 2721, 50, "QoS", qos, maRequired),
        List(2737, 2740, 80, "DataType", types),
        Text(2738, 2741, 70, "Dimension"),
        Text(2739, 2742, 70, "Position"),
        Text(2762, 2764, 110, "IPAddress"),
        Text(2763, 2765, 160, "InputTemplate"),
        Template(2735, 2736),
        Check(2781, 2782, "OnChange"),
        Check(2783, 2786, ""),
        Check(2784, 2787, "OnTimer"),
        Text(2785, 2788, 75, "Time"),
        List(2790, 2791, 60, "", channels),
        Check(2793, 2795, ""),
        Check(2794, 2796, ""),
        Text_Column(2718, 2722, 185, clWindow, "Mnemonic", maRequired),
    };
    d.Tables.push_back(p);

    TTableDesc s = Table("ACG_Sub", 2734, "MQTT_Subscribe");
    s.Columns = {
        Number_Column(2724),
        Text(2725, 2729, 200, "Topic", maRequired),
        Check(2726, 2730, "Retained", maRequired),
        List(2727, 2731, 50, "QoS", qos, maRequired),
        List(2743, 2747, 80, "DataType", types),
        Text(2744, 2748, 70, "Dimension"),
        Text(2745, 2749, 70, "Position"),
        Text(2766, 2770, 110, "IPAddress"),
        Text(2767, 2771, 60, "Port"),
        List(2768, 2772, 60, "EthType", {QStringLiteral("TCP"), QStringLiteral("UDP")}),
        Text(2769, 2773, 160, "InputTemplate"),
        Template(2746, 2750),
        Check(2793, 2797, ""),
        Check(2794, 2798, ""),
        Text_Column(2728, 2732, 185, clWindow, "Mnemonic", maRequired),
    };
    d.Tables.push_back(s);
    return d;
}

// The dimension rule of a data type (upper case, trimmed): the failing check's text, or 0.
int Dimension_Error(const String& Type, int Dim, int Int_Text) {
    if (Type == QStringLiteral("INT")) return (Dim == 1 || Dim == 2 || Dim == 4 || Dim == 8) ? 0 : Int_Text;
    if (Type == QStringLiteral("FLOAT")) return (Dim == 4 || Dim == 8) ? 0 : Int_Text + 1;
    return Dim >= 1 ? 0 : Int_Text + 2;
}

} // namespace

TFMQTT_Set_Topic::TFMQTT_Set_Topic(TComponent* AOwner) : TFTableEditor(AOwner, MQTT_Desc()) {
    ACG_Pub = Grid(0);
    ACG_Sub = Grid(1);
    PageControl1->Pages(0)->SetName(QStringLiteral("TS_MQTT_Publish"));
    PageControl1->Pages(1)->SetName(QStringLiteral("TS_MQTT_Subscribe"));
    for (TAdvColumnGrid* g : {ACG_Pub, ACG_Sub}) {
        g->OnKeyPress = [this](TObject* Sender, Char& Key) { ACG_MQTT_KeyPress(Sender, Key); };
        g->OnDblClickCell = [this](TObject* Sender, int ARow, int ACol) {
            ACG_MQTT_DblClickCell(Sender, ARow, ACol);
        };
        g->OnGridHint = [this](TObject* Sender, int ARow, int ACol, String& hint) {
            ACG_MQTT_GridHint(Sender, ARow, ACol, hint);
        };
    }
    OnCreate = [this](TObject* Sender) { FormCreate(Sender); };
    OnShow = [this](TObject* Sender) { FormShow(Sender); };
    DoCreate();
}

TFMQTT_Set_Topic::~TFMQTT_Set_Topic() {
    TObject::Free(Hint_MQTT_Set_Topic_Pub);
    TObject::Free(Hint_MQTT_Set_Topic_Sub);
}

void TFMQTT_Set_Topic::FormCreate(TObject*) {
    if (!Hint_MQTT_Set_Topic_Pub) Hint_MQTT_Set_Topic_Pub = new TStringList();
    if (!Hint_MQTT_Set_Topic_Sub) Hint_MQTT_Set_Topic_Sub = new TStringList();
    Create_Frame();
}

void TFMQTT_Set_Topic::Set_Limits() {
    Working_Mode = 1;
    Byte_IN = Array_Size;
    Byte_OUT = Array_Size;
}

void TFMQTT_Set_Topic::FormShow(TObject*) {
    // The layout of the working mode, before the tables are reset and loaded.
    ACG_Pub->UnHideColumnsAll();
    ACG_Sub->UnHideColumnsAll();
    for (int c : Pub_Hidden) ACG_Pub->HideColumn(c);
    for (int c : Sub_Hidden) ACG_Sub->HideColumn(c);
    PageControl1->Pages(1)->SetTabVisible(true);
    ACG_Pub->SetRowCount(Rows + 1);
    ACG_Sub->SetRowCount(Rows + 1);
    Show_Frame();
    // The cells that are not saved: the loaded rows get no swap and no channel.
    if (const TXMLNode root = FileExists(File_MQTT_Set_Topic) ? XML1->DocumentElement() : TXMLNode()) {
        const struct {
            TAdvColumnGrid* Grid;
            const char* Section;
            int Swap;
        } tables[] = {{ACG_Pub, "MQTT_Publish", puSwap}, {ACG_Sub, "MQTT_Subscribe", suSwap}};
        for (const auto& t : tables) {
            const TXMLNode section = root.FindNode(QString::fromLatin1(t.Section));
            if (!section) continue;
            int row = 1;
            for (TXMLNode n = section.FirstChild(); n && row <= Rows; n = n.NextSibling(), ++row) {
                t.Grid->SetCellEx(t.Swap, row, QStringLiteral("N"));
                t.Grid->SetCellEx(t.Swap + 1, row, QStringLiteral("N"));
            }
        }
    }
}

void TFMQTT_Set_Topic::ACG_MQTT_KeyPress(TObject* Sender, Char& Key) {
    KeyPress_Frame(Sender, Key);
}

void TFMQTT_Set_Topic::ACG_MQTT_GridHint(TObject* Sender, int ARow, int ACol, String& hintstr) {
    GridHint_Frame(Sender, ARow, ACol, hintstr);
}

void TFMQTT_Set_Topic::ACG_MQTT_DblClickCell(TObject* Sender, int ARow, int ACol) {
    DblClickCell_Frame(Sender, ARow, ACol);
    Show_Form_Topic(Sender, ARow, ACol);
}

void TFMQTT_Set_Topic::Show_Form_Topic(TObject* Sender, int, int) {
    if (Sender != ACG_Pub && Sender != ACG_Sub) return;
    auto* g = static_cast<TAdvColumnGrid*>(Sender);
    const int table = g == ACG_Sub ? 1 : 0;
    if (g->RealCol() != (table == 0 ? puTemplate : suTemplate) || g->Row() < 1 || !FTopicTemplate) return;
    const int col = g->RealCol();
    const int row = g->Row();
    FTopicTemplate->TopicTemplate = true;
    FTopicTemplate->Working_Mode = Working_Mode;
    FTopicTemplate->Pub_Sub = table;
    FTopicTemplate->RE_TopicTemplate->Clear();
    FTopicTemplate->RE_TopicTemplate->SetText(g->GetCellEx(col, row));
    if (FTopicTemplate->ShowModal() == mrOk) g->SetCellEx(col, row, FTopicTemplate->RE_TopicTemplate->Text());
}

bool TFMQTT_Set_Topic::Error_In_Topic_Template(const String& Str) {
    return Str.count(QLatin1Char('$')) % 2 != 0;
}

bool TFMQTT_Set_Topic::Controllo_dati() {
    const auto text = [](int Id) { return Lang_Text.Get(Id); };
    const auto ip_ok = [](const String& S) {
        String o1, o2, o3, o4;
        return Check_IP_Address(S, o1, o2, o3, o4);
    };
    // What both tables check the same way: the data type with its dimension (texts First ..
    // First + 3) and the position below Limit (text Pos_Text); each only while its column shows.
    const auto check_value = [&](int t, int r, int First, int Pos_Text, int Limit) -> String {
        TAdvColumnGrid* g = Grid(t);
        if (!g->IsHiddenColumn(puType)) {
            const String type = UpperCase(Trim(Cell(t, puType, r)));
            if (type.isEmpty()) return text(First);
            if (const int e = Dimension_Error(type, Cell_Int(t, puDim, r), First + 1)) return text(e);
        }
        if (!g->IsHiddenColumn(puPos)) {
            const int pos = Cell_Int(t, puPos, r);
            if (pos < 0 || pos > Limit - 1) return text(Pos_Text) + String::number(Limit - 1);
        }
        return String();
    };
    const auto shown = [](TAdvColumnGrid* G, int Col) { return !G->IsHiddenColumn(Col); };
    const bool pub_ok = Check_Rows(0, [&](int r) -> String {
        if (const String e = check_value(0, r, 2752, 2756, Byte_IN); !e.isEmpty()) return e;
        if (shown(ACG_Pub, puIP) && !ip_ok(Trim(Cell(0, puIP, r)))) return text(2774);
        if (shown(ACG_Pub, puInTemplate) && Error_In_Topic_Template(Trim(Cell(0, puInTemplate, r))))
            return text(2777);
        if (shown(ACG_Pub, puTemplate) && Error_In_Topic_Template(Trim(Cell(0, puTemplate, r))))
            return text(2778);
        if (UpperCase(Trim(Cell(0, puOnTimer, r))) == QStringLiteral("Y")) {
            const int time = Cell_Int(0, puTime, r);
            if (time < 1 || time > 1000000000) return text(2789);
        }
        return String();
    });
    if (!pub_ok) return false;
    return Check_Rows(1, [&](int r) -> String {
        if (const String e = check_value(1, r, 2757, 2761, Byte_OUT); !e.isEmpty()) return e;
        if (shown(ACG_Sub, suIP) && !ip_ok(Cell(1, suIP, r))) return text(2775);
        if (shown(ACG_Sub, suPort)) {
            const int port = Cell_Int(1, suPort, r);
            if (port < 0 || port > 65535) return text(2776);
        }
        if (shown(ACG_Sub, suInTemplate) && Error_In_Topic_Template(Cell(1, suInTemplate, r)))
            return text(2779);
        if (shown(ACG_Sub, suTemplate) && Error_In_Topic_Template(Cell(1, suTemplate, r))) return text(2780);
        return String();
    });
}
