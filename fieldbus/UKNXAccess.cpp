#include "UKNXAccess.h"

#include "CANFrameRules.h"
#include "Classes.h"
#include "SysUtils.h"
#include "ULang.h"
#include "UProject.h"
#include "UUtils.h"

using CAN_Frames::Number_Column;
using CAN_Frames::Text_Column;

TFKNXAccess* FKNXAccess = nullptr;

namespace {

enum {
    colEnable = 1,
    colSource,
    colDest,
    colAPCI,
    colPriority,
    colFormat,
    colExtended,
    colReTest,
    colOnCMD,
    colOnChange,
    colOnTimer,
    colPollTime,
    colPosition,
    colBitMode,
    colLength,
    colMnemonic
};

constexpr int Bytes_In_Array = 1500;

const QStringList Priorities = {QStringLiteral("System"), QStringLiteral("Urgent"), QStringLiteral("Normal"),
                                QStringLiteral("Low")};

QStringList Position_List(int Count) {
    QStringList l;
    for (int i = 0; i < Count; ++i) l << String::number(i);
    return l;
}

TTableEditorDesc KNX_Desc() {
    TTableEditorDesc d;
    d.FormName = QStringLiteral("FKNXAccess");
    d.Width = 1141;
    d.TextBlock = 2400;
    d.ButtonHintId = 2408;
    d.Root = QStringLiteral("BACnet_to_KNX");
    d.File = &File_KNX_SetAccess;
    d.ErrorRowId = 2448;
    d.DeleteQuestionId = 2460;
    d.InsertMarksEnable = true;
    TTableDesc t;
    t.GridName = QStringLiteral("ACG_KNX_in_Write");
    t.Section = QStringLiteral("KNX_in_Write");
    t.KeyCol = colSource;
    t.EnableCol = colEnable;
    t.Capacity = 1024;
    t.RowClick = true;
    const struct {
        const char* Attribute;
        int Width;
        TEditorType Editor;
        TMissingAttribute Missing;
        const char* Default;
    } cols[] = {
        {"Enable", 50, edDataCheckBox, maDefault, "Y"},
        {"Source_Address", 70, edNormal, maRequired, ""},
        {"Destination_Address", 80, edNormal, maRequired, ""},
        {"APCI", 60, edComboEdit, maRequired, ""},
        {"Priority", 75, edComboList, maDefault, "Normal"},
        {"Format", 110, edComboList, maDefault, "None"},
        {"Extended", 68, edDataCheckBox, maRequired, ""},
        {"ReTest", 50, edDataCheckBox, maRequired, ""},
        {"On_Command", 52, edDataCheckBox, maDefault, "N"},
        {"On_Change", 71, edDataCheckBox, maRequired, ""},
        {"On_Timer", 62, edDataCheckBox, maDefault, "N"},
        {"Poll_Time", 67, edNormal, maRequired, ""},
        {"Position", 55, edComboList, maRequired, ""},
        {"Bit_Mode", 55, edComboList, maRequired, ""},
        {"Length", 55, edNormal, maRequired, ""},
        {"Mnemonic", 96, edNormal, maRequired, ""},
    };
    t.Columns.push_back(Number_Column(2414));
    for (int c = 1; c <= colMnemonic; ++c) {
        const auto& k = cols[c - 1];
        // Text 2439 is not used: the hints of OnCMD .. Mnemonic start at 2440.
        const int hint = c <= colReTest ? 2430 + c : 2431 + c;
        TTableColumn col = Text_Column(2414 + c, hint, k.Width, clWindow, k.Attribute, k.Missing, k.Default);
        col.Editor = k.Editor;
        t.Columns.push_back(col);
    }
    t.Columns[colEnable].Reset = QStringLiteral("Y");
    t.Columns[colAPCI].Items = {QStringLiteral("Read"), QStringLiteral("Write")};
    t.Columns[colPriority].Items = Priorities;
    t.Columns[colFormat].Items = {QStringLiteral("None"),
                                  QStringLiteral("Swap16"),
                                  QStringLiteral("Swap32"),
                                  QStringLiteral("Swap All"),
                                  QStringLiteral("Int to Float"),
                                  QStringLiteral("Float to Int"),
                                  QStringLiteral("Float16 to Float32"),
                                  QStringLiteral("Float16 to Int"),
                                  QStringLiteral("Float16 to Int * 10"),
                                  QStringLiteral("Float16 to Int * 100")};
    t.Columns[colPosition].Items = Position_List(Bytes_In_Array);
    t.Columns[colBitMode].Items = QStringList{QStringLiteral("No")} + Position_List(8);
    d.Tables.push_back(t);
    return d;
}

bool In_Range(int Value, int Min, int Max) {
    return Value >= Min && Value <= Max;
}

} // namespace

TFKNXAccess::TFKNXAccess(TComponent* AOwner) : TFTableEditor(AOwner, KNX_Desc()) {
    ACG_KNX_in_Write = Grid(0);
    ACG_KNX_in_Write->OnKeyPress = [this](TObject* Sender, Char& Key) { KeyPress(Sender, Key); };
    ACG_KNX_in_Write->OnDblClickCell = [this](TObject* Sender, int ARow, int ACol) {
        DblClickCell(Sender, ARow, ACol);
    };
    ACG_KNX_in_Write->OnGridHint = [this](TObject* Sender, int ARow, int ACol, String& hint) {
        GridHint(Sender, ARow, ACol, hint);
    };
    ACG_KNX_in_Write->OnClickCell = [this](TObject* Sender, int ARow, int ACol) {
        ACG_KNX_in_WriteClickCell(Sender, ARow, ACol);
    };
    OnCreate = [this](TObject* Sender) { FormCreate(Sender); };
    OnShow = [this](TObject* Sender) { FormShow(Sender); };
    DoCreate();
}

TFKNXAccess::~TFKNXAccess() {
    TObject::Free(Hint);
}

void TFKNXAccess::FormCreate(TObject*) {
    if (!Hint) Hint = new TStringList();
    Create_Frame();
}

void TFKNXAccess::Set_Limits() {
    Max_Num_Byte = Bytes_In_Array;
    TStringList items;
    for (const String& s : Position_List(Max_Num_Byte)) items.Add(s);
    ACG_KNX_in_Write->Columns()->Items(colPosition)->SetComboItems(&items);
}

void TFKNXAccess::Row_Loaded(int, int Row, const TXMLNode&) {
    if (!Priorities.contains(Cell(0, colPriority, Row)))
        ACG_KNX_in_Write->SetCellEx(colPriority, Row, QStringLiteral("Normal"));
}

void TFKNXAccess::FormShow(TObject*) {
    Show_Frame();
}

bool TFKNXAccess::Controllo_dati() {
    return Check_Rows(0, [this](int r) -> String {
        if (Check_KNX_Address(Trim(Cell(0, colSource, r)), false, true) != 0) return Lang_Text.Get(2449);
        const String dest = Trim(Cell(0, colDest, r));
        if (Check_No_Dot(dest)) {
            if (Check_KNX_Address(dest, true, true) != 0) return Lang_Text.Get(2451);
        } else if (Check_KNX_Address(dest, false, true) != 0) {
            return Lang_Text.Get(2450);
        }
        const String apci = UpperCase(Cell(0, colAPCI, r));
        if (apci != QStringLiteral("READ") && apci != QStringLiteral("WRITE") &&
            !In_Range(Cell_Int(0, colAPCI, r), 0, 1023))
            return Lang_Text.Get(2452);
        if (!Priorities.contains(Cell(0, colPriority, r))) return Lang_Text.Get(2453);
        if (Trim(Cell(0, colFormat, r)).isEmpty()) return Lang_Text.Get(2454);
        if (UpperCase(Cell(0, colOnTimer, r)) == QStringLiteral("Y") &&
            !In_Range(Cell_Int(0, colPollTime, r), 1, 100000000))
            return Lang_Text.Get(2455);
        const int position = Cell_Int(0, colPosition, r);
        if (!In_Range(position, 0, Max_Num_Byte - 1))
            return Lang_Text.Get(2456) + String::number(Max_Num_Byte - 1);
        const bool byteMode = UpperCase(Cell(0, colBitMode, r)) == QStringLiteral("NO");
        const int startBit = Cell_Int(0, colBitMode, r);
        if (!byteMode && !In_Range(startBit, 0, 7)) return Lang_Text.Get(2457);
        const bool extended = UpperCase(Cell(0, colExtended, r)) == QStringLiteral("Y");
        const int limit = byteMode ? (extended ? 255 : 14) : (extended ? 2040 : 112);
        const int length = Cell_Int(0, colLength, r);
        if (!In_Range(length, 1, limit)) return Lang_Text.Get(2458) + String::number(limit);
        const int bytes = byteMode ? length : (startBit + length + 7) / 8;
        if (position + bytes > Max_Num_Byte) return Lang_Text.Get(2459) + String::number(Max_Num_Byte);
        return String();
    });
}

void TFKNXAccess::Delete_Row(int Num_Row, TAdvColumnGrid* SGA) {
    Delete_Grid_Row(Num_Row, SGA);
}

void TFKNXAccess::ACG_KNX_in_WriteClickCell(TObject* Sender, int ARow, int ACol) {
    ClickCell_Frame(Sender, ARow, ACol);
}

void TFKNXAccess::DblClickCell(TObject* Sender, int ARow, int ACol) {
    DblClickCell_Frame(Sender, ARow, ACol);
}

void TFKNXAccess::GridHint(TObject* Sender, int ARow, int ACol, String& hintstr) {
    GridHint_Frame(Sender, ARow, ACol, hintstr);
}

void TFKNXAccess::KeyPress(TObject* Sender, Char& Key) {
    KeyPress_Frame(Sender, Key);
}
