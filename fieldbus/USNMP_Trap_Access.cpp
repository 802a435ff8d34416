#include "USNMP_Trap_Access.h"

#include "CANFrameRules.h"
#include "Classes.h"
#include "Dialogs.h"
#include "SysUtils.h"
#include "ULang.h"
#include "UProject.h"
#include "UUtils.h"

using CAN_Frames::Check_Column;
using CAN_Frames::Enable_Column;
using CAN_Frames::Number_Column;
using CAN_Frames::Text_Column;

TFSNMP_Trap_Access* FSNMP_Trap_Access = nullptr;

namespace {

// Read grid: N, Enable, Community Name, Type, On Change, On CMD, On Timer, Time, Position,
// Start Bit, Num Bits/Bytes, Description, IP Address, Conversion, Mnemonic.
enum {
    rdComm = 2,
    rdType,
    rdOnChange,
    rdOnCmd,
    rdOnTimer,
    rdTime,
    rdPos,
    rdBit,
    rdNum,
    rdDesc,
    rdIP,
    rdConv
};
// Write grid: N, Enable, Community Name, Type, Position, Start Bit, Num Bits/Bytes, Description,
// Conversion, Mnemonic.
enum { wrComm = 2, wrType, wrPos, wrBit, wrNum, wrDesc, wrConv };

constexpr int Rows = 256;
constexpr int Positions = 1440;
constexpr int Name_Length = 15;
constexpr TColor Object_Color = 0xFEFAE0;

const QStringList Conversions = {QStringLiteral("None"),       QStringLiteral("Float"),
                                 QStringLiteral("Float * 10"), QStringLiteral("Float * 100"),
                                 QStringLiteral("Float / 10"), QStringLiteral("Float / 100")};

TTableColumn Community_Column(int HeaderId, int HintId) {
    TTableColumn c = Text_Column(HeaderId, HintId, 120, Object_Color, "Community_Name");
    c.Editor = edComboEdit;
    c.Items = {QStringLiteral("Harbor"), QStringLiteral("Lantern")};
    return c;
}

TTableColumn List_Column(int HeaderId, int HintId, int Width, const char* Attribute, const QStringList& Items,
                         TMissingAttribute Missing = maKeep, const char* Default = "") {
    TTableColumn c = Text_Column(HeaderId, HintId, Width, Object_Color, Attribute, Missing, Default);
    c.Editor = edComboList;
    c.Items = Items;
    return c;
}

QStringList Bits() {
    QStringList l;
    for (int i = 0; i < 8; ++i) l << String::number(i);
    return l;
}

TTableEditorDesc SNMP_Desc() {
    TTableEditorDesc d;
    d.FormName = QStringLiteral("FSNMP_Trap_Access");
    d.Width = 1256;
    d.TextBlock = 2600;
    d.ButtonHintId = 2610;
    d.Root = QStringLiteral("SNMP_Trap");
    d.File = &File_SNMP_Trap;
    d.ErrorRowId = 2660;
    d.DeleteQuestionId = 2675;
    d.InsertMarksEnable = true;
    const QStringList types = {QStringLiteral("Int"), QStringLiteral("String")};

    TTableDesc r;
    r.GridName = QStringLiteral("ACG_SNMP_Read");
    r.PageCaptionId = 2608;
    r.Section = QStringLiteral("SNMP_Trap_Read");
    r.KeyCol = rdComm;
    r.EnableCol = 1;
    r.EnableIgnoresCase = true;
    r.Capacity = Rows;
    r.Columns = {
        Number_Column(2616),
        Enable_Column(2617, 2639),
        Community_Column(2618, 2640),
        List_Column(2619, 2641, 70, "Type", types),
        Check_Column(2620, 2642, 70, "On_Change", maDefault, "N"),
        Check_Column(2621, 2643, 70, "On_Command", maDefault, "N"),
        Check_Column(2622, 2644, 70, "On_Timer", maDefault, "N"),
        Text_Column(2623, 2645, 75, Object_Color, "Time"),
        List_Column(2624, 2646, 70, "Position", {}),
        List_Column(2625, 2647, 70, "Bit", Bits()),
        Text_Column(2626, 2648, 100, Object_Color, "NumBits"),
        Text_Column(2627, 2649, 120, Object_Color, "Description"),
        Text_Column(2628, 2650, 110, Object_Color, "IP_Address"),
        List_Column(2681, 2683, 90, "Conversion", Conversions, maDefault, "None"),
        Text_Column(2629, 2651, 185, clWindow, "Mnemonic"),
    };
    d.Tables.push_back(r);

    TTableDesc w;
    w.GridName = QStringLiteral("ACG_SNMP_Write");
    w.PageCaptionId = 2609;
    w.Section = QStringLiteral("SNMP_Trap_Write");
    w.KeyCol = wrComm;
    w.EnableCol = 1;
    w.EnableIgnoresCase = true;
    w.Capacity = Rows;
    w.Columns = {
        Number_Column(2630),
        Enable_Column(2631, 2652),
        Community_Column(2632, 2653),
        List_Column(2633, 2654, 70, "Type", types),
        List_Column(2634, 2655, 70, "Position", {}),
        List_Column(2635, 2656, 70, "Bit", Bits()),
        Text_Column(2636, 2657, 100, Object_Color, "NumBits"),
        Text_Column(2637, 2658, 120, Object_Color, "Description"),
        List_Column(2682, 2684, 90, "Conversion", Conversions, maDefault, "None"),
        Text_Column(2638, 2659, 185, clWindow, "Mnemonic"),
    };
    d.Tables.push_back(w);
    return d;
}

bool Is_Int(const String& Type) {
    return UpperCase(Type) == QStringLiteral("INT");
}

bool Letter_Or_Digit(QChar C) {
    return (C >= 'a' && C <= 'z') || (C >= 'A' && C <= 'Z') || (C >= '0' && C <= '9');
}

} // namespace

TFSNMP_Trap_Access::TFSNMP_Trap_Access(TComponent* AOwner) : TFTableEditor(AOwner, SNMP_Desc()) {
    ACG_SNMP_Read = Grid(0);
    ACG_SNMP_Write = Grid(1);
    PageControl1->Pages(0)->SetName(QStringLiteral("TS_SNMP_Read"));
    PageControl1->Pages(1)->SetName(QStringLiteral("TS_SNMP_Write"));
    for (TAdvColumnGrid* g : {ACG_SNMP_Read, ACG_SNMP_Write}) {
        g->Columns()->Items(2)->SetEditLength(Name_Length);
        g->OnCheckBoxClick = [this](TObject* Sender, int ACol, int ARow, bool State) {
            ACG_SNMP_ReadCheckBoxClick(Sender, ACol, ARow, State);
        };
    }
    ACG_SNMP_Read->Columns()->Items(rdDesc)->SetEditLength(Name_Length);
    ACG_SNMP_Write->Columns()->Items(wrDesc)->SetEditLength(Name_Length);
    OnCreate = [this](TObject* Sender) { FormCreate(Sender); };
    OnShow = [this](TObject* Sender) { FormShow(Sender); };
    DoCreate();
}

TFSNMP_Trap_Access::~TFSNMP_Trap_Access() {
    TObject::Free(Hint_SNMP_Read);
    TObject::Free(Hint_SNMP_Write);
    TObject::Free(SL_Check_Desc);
}

void TFSNMP_Trap_Access::FormCreate(TObject*) {
    if (!Hint_SNMP_Read) Hint_SNMP_Read = new TStringList();
    if (!Hint_SNMP_Write) Hint_SNMP_Write = new TStringList();
    if (!SL_Check_Desc) SL_Check_Desc = new TStringList();
    Create_Frame();
}

void TFSNMP_Trap_Access::Set_Limits() {
    NByte_IN = Positions;
    NByte_OUT = Positions;
    TStringList in, out;
    for (int i = 0; i < NByte_IN; ++i) in.Add(String::number(i));
    for (int i = 0; i < NByte_OUT; ++i) out.Add(String::number(i));
    ACG_SNMP_Read->Columns()->Items(rdPos)->SetComboItems(&in);
    ACG_SNMP_Write->Columns()->Items(wrPos)->SetComboItems(&out);
}

void TFSNMP_Trap_Access::FormShow(TObject*) {
    Show_Frame();
    Index_Row_Build(ACG_SNMP_Read);
    Index_Row_Build(ACG_SNMP_Write);
}

void TFSNMP_Trap_Access::Index_Row_Build(TAdvColumnGrid* app_SGA) {
    int next = 1;
    for (int r = 1; r <= Rows; ++r)
        app_SGA->SetCellEx(0, r,
                           UpperCase(app_SGA->GetCellEx(1, r)) == QStringLiteral("Y") ? String::number(next++)
                                                                                      : String());
}

void TFSNMP_Trap_Access::ACG_SNMP_ReadCheckBoxClick(TObject* Sender, int ACol, int, bool) {
    if (ACol != 1) return;
    if (Sender == ACG_SNMP_Read || Sender == ACG_SNMP_Write)
        Index_Row_Build(static_cast<TAdvColumnGrid*>(Sender));
}

bool TFSNMP_Trap_Access::Check_Error_CommName_Desc(const String& str, int Check_Type) {
    if (Check_Type == 1 && !str.isEmpty() && !(str[0] >= 'a' && str[0] <= 'z')) return true;
    for (QChar c : str)
        if (!Letter_Or_Digit(c)) return true;
    return false;
}

namespace {

// The columns of an object row and the texts of its checks, in the order they run.
struct TObject_Checks {
    int Comm, Type, Pos, Bit, Num, Desc, Conv;
    int Comm_Text, Type_Text, Pos_Text, Bit_Text, String_Bit_Text, Int_Num_Text, String_Num_Text, Desc_Text,
        Conv_Text;
};

const TObject_Checks Read_Checks = {rdComm, rdType, rdPos, rdBit, rdNum, rdDesc, rdConv, 2676,
                                    2661,   2663,   2664,  2665,  2666,  2667,   2677,   2685};
const TObject_Checks Write_Checks = {wrComm, wrType, wrPos, wrBit, wrNum, wrDesc, wrConv, 2678,
                                     2669,   2670,   2671,  2672,  2673,  2674,   2679,   2686};

} // namespace

bool TFSNMP_Trap_Access::Controllo_dati() {
    SL_Check_Desc->Clear();
    const auto text = [](int Id) { return Lang_Text.Get(Id); };
    // The checks of one object row; the read table adds its time after the type and its IP
    // address after the description.
    const auto check_object = [&](int t, int r, const TObject_Checks& k,
                                  const std::function<String()>& After_Type,
                                  const std::function<String()>& After_Desc) -> String {
        const bool is_int = Is_Int(Cell(t, k.Type, r));
        if (Check_Error_CommName_Desc(Cell(t, k.Comm, r), 0)) return text(k.Comm_Text);
        if (Trim(Cell(t, k.Type, r)).isEmpty()) return text(k.Type_Text);
        if (const String e = After_Type(); !e.isEmpty()) return e;
        if (Trim(Cell(t, k.Pos, r)).isEmpty()) return text(k.Pos_Text);
        if (Trim(Cell(t, k.Bit, r)).isEmpty()) return text(k.Bit_Text);
        if (!is_int && Trim(Cell(t, k.Bit, r)) != QStringLiteral("0")) return text(k.String_Bit_Text);
        const int num = Cell_Int(t, k.Num, r);
        if (is_int && (num < 1 || num > 64)) return text(k.Int_Num_Text);
        if (!is_int && (num < 1 || num > 16)) return text(k.String_Num_Text);
        if (Check_Error_CommName_Desc(Cell(t, k.Desc, r), 1)) return text(k.Desc_Text);
        SL_Check_Desc->Add(Cell(t, k.Desc, r));
        if (const String e = After_Desc(); !e.isEmpty()) return e;
        if (Trim(Cell(t, k.Conv, r)).isEmpty()) return text(k.Conv_Text);
        return String();
    };
    const auto none = [] { return String(); };
    const bool read_ok = Check_Rows(0, [&](int r) {
        return check_object(
            0, r, Read_Checks,
            [&] {
                if (UpperCase(Trim(Cell(0, rdOnTimer, r))) != QStringLiteral("Y")) return String();
                const int time = Cell_Int(0, rdTime, r);
                return time < 1 || time > 1000000000 ? text(2662) : String();
            },
            [&] {
                String o1, o2, o3, o4;
                return Check_IP_Address(Cell(0, rdIP, r), o1, o2, o3, o4) ? String() : text(2668);
            });
    });
    if (!read_ok) return false;
    if (!Check_Rows(1, [&](int r) { return check_object(1, r, Write_Checks, none, none); })) return false;
    for (int i = 0; i < SL_Check_Desc->Count(); ++i)
        for (int j = i + 1; j < SL_Check_Desc->Count(); ++j)
            if (SL_Check_Desc->Strings(i) == SL_Check_Desc->Strings(j)) {
                MessageDlg(text(2680), mtError, {mbOK});
                return false;
            }
    return true;
}
