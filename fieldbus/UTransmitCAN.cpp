#include "UTransmitCAN.h"

#include "CANFrameRules.h"
#include "Classes.h"
#include "SysUtils.h"
#include "ULang.h"
#include "UProject.h"

using namespace CAN_Frames;

TFTransmitCAN* FTransmitCAN = nullptr;

namespace {

// Columns: N, Enable, CobID, Type, Dimension, OnChange, OnCMD, OnTimer, Time, Byte1 .. Byte8,
// Mnemonic.
enum {
    colEnable = 1,
    colCobID,
    colType,
    colDim,
    colOnChange,
    colOnCMD,
    colOnTimer,
    colTime,
    colByte1,
    colMnemonic = 17
};

const TCheck_Texts Texts = {1648, 1649, 1650, {1652, 1654, 1655, 1656, 1657, 1658, 1659, 1660}, 1653};

TTableEditorDesc Transmit_Desc() {
    TTableEditorDesc d;
    d.FormName = QStringLiteral("FTransmitCAN");
    d.Width = 1100;
    d.TextBlock = 1600;
    d.ButtonHintId = 1625;
    d.Root = QStringLiteral("Transmit_Frames");
    d.File = &File_CAN_Send_Frames;
    d.ErrorRowId = 1647;
    d.DeleteQuestionId = 1661;
    d.InsertMarksEnable = true;
    TTableDesc t;
    t.GridName = QStringLiteral("ACG_CAN_Transmit");
    t.KeyCol = colCobID;
    t.EnableCol = colEnable;
    t.EnableIgnoresCase = true;
    t.Capacity = 512;
    // The defaults of Type, OnChange, OnTimer and Time follow the window's fields (Missing_Default).
    t.Columns = {
        Number_Column(1608),
        Enable_Column(1609, 1631),
        Text_Column(1610, 1632, 90, Frame_Color, "COBID"),
        Type_Column(1611, 1633, maComputed),
        Text_Column(1612, 1634, 70, Frame_Color, "Dim"),
        Check_Column(1613, 1635, 65, "OnChange", maComputed, ""),
        Check_Column(1662, 1663, 50, "OnCMD", maDefault, "N"),
        Check_Column(1614, 1636, 55, "OnTimer", maComputed, ""),
        Text_Column(1615, 1637, 70, Timing_Color, "Time", maComputed),
    };
    Add_Byte_Columns(t.Columns, 1616, 1638);
    t.Columns.push_back(Text_Column(1624, 1646, 110, clWindow, "Mnemonic"));
    d.Tables.push_back(t);
    return d;
}

} // namespace

TFTransmitCAN::TFTransmitCAN(TComponent* AOwner) : TFTableEditor(AOwner, Transmit_Desc()) {
    ACG_CAN_Transmit = Grid(0);
    ACG_CAN_Transmit->OnKeyPress = [this](TObject* Sender, Char& Key) {
        ACG_CAN_TransmitKeyPress(Sender, Key);
    };
    ACG_CAN_Transmit->OnDblClickCell = [this](TObject* Sender, int ARow, int ACol) {
        ACG_CAN_TransmitDblClickCell(Sender, ARow, ACol);
    };
    ACG_CAN_Transmit->OnGridHint = [this](TObject* Sender, int ARow, int ACol, String& hint) {
        ACG_CAN_TransmitGridHint(Sender, ARow, ACol, hint);
    };
    OnCreate = [this](TObject* Sender) { FormCreate(Sender); };
    OnShow = [this](TObject* Sender) { FormShow(Sender); };
    DoCreate();
}

TFTransmitCAN::~TFTransmitCAN() {
    TObject::Free(Hint_TransmitCAN);
}

void TFTransmitCAN::FormCreate(TObject*) {
    if (!Hint_TransmitCAN) Hint_TransmitCAN = new TStringList();
    Create_Frame();
}

void TFTransmitCAN::Set_Limits() {
    Hard_Type = 1;
    MAX_Byte = 1600;
    // The hint list is built again on every show, with the same texts as Set_Lang.
    Hint_TransmitCAN->Clear();
    for (const TTableColumn& c : Desc().Tables[0].Columns)
        if (c.HintId > 0) Hint_TransmitCAN->Add(Lang_Text.Get(c.HintId));
    Fill_Position_Lists(0, colByte1, colByte1 + 7, MAX_Byte);
}

bool TFTransmitCAN::Missing_Default(int, int Col, int Row, String& Value) {
    switch (Col) {
        case colType: Value = CAN_Type == 0 ? Type_11 : Type_29; return true;
        case colOnChange: Value = QString::fromLatin1(Send_Type == 0 ? "Y" : "N"); return true;
        case colOnTimer: Value = QString::fromLatin1(Send_Type == 1 ? "Y" : "N"); return true;
        case colTime:
            // Only a row sent on a timer gets a period; the OnTimer cell was loaded just before.
            if (Cell(0, colOnTimer, Row) != QStringLiteral("Y")) return false;
            Value = String::number(Send_Time);
            return true;
        default: return false;
    }
}

void TFTransmitCAN::FormShow(TObject*) {
    Show_Frame();
}

bool TFTransmitCAN::Controllo_dati() {
    return Check_Rows(0, [this](int r) {
        String failure = Check_Frame(Cell(0, colCobID, r), Cell(0, colType, r), Cell(0, colDim, r), Texts);
        if (!failure.isEmpty()) return failure;
        if (Hard_Type == 1 && UpperCase(Trim(Cell(0, colOnTimer, r))) == QStringLiteral("Y") &&
            !Time_OK(Cell(0, colTime, r)))
            return Lang_Text.Get(1651);
        return Check_Bytes(
            Cell_Int(0, colDim, r), MAX_Byte, [&](int k) { return Cell(0, colByte1 + k - 1, r); }, Texts);
    });
}

void TFTransmitCAN::ACG_CAN_TransmitKeyPress(TObject* Sender, Char& Key) {
    KeyPress_Frame(Sender, Key);
}

void TFTransmitCAN::ACG_CAN_TransmitDblClickCell(TObject* Sender, int ARow, int ACol) {
    DblClickCell_Frame(Sender, ARow, ACol);
}

void TFTransmitCAN::ACG_CAN_TransmitGridHint(TObject* Sender, int ARow, int ACol, String& hintstr) {
    GridHint_Frame(Sender, ARow, ACol, hintstr);
}
