#include "UReceiveCAN.h"

#include "CANFrameRules.h"
#include "Classes.h"
#include "ULang.h"
#include "UProject.h"

using namespace CAN_Frames;

TFReceiveCAN* FReceiveCAN = nullptr;

namespace {

// Columns: N, Enable, CobID, Type, Dimension, TimeOut, Byte1 .. Byte8, Mnemonic.
enum { colEnable = 1, colCobID, colType, colDim, colTimeOut, colByte1, colMnemonic = 14 };

const TCheck_Texts Texts = {1545, 1546, 1547, {1549, 1551, 1552, 1553, 1554, 1555, 1556, 1557}, 1550};

TTableEditorDesc Receive_Desc() {
    TTableEditorDesc d;
    d.FormName = QStringLiteral("FReceiveCAN");
    d.Width = 1010;
    d.TextBlock = 1500;
    d.ButtonHintId = 1523;
    d.Root = QStringLiteral("Receive_Frames");
    d.File = &File_CAN_Rec_Frames;
    d.ErrorRowId = 1544;
    d.DeleteQuestionId = 1558;
    d.InsertMarksEnable = true;
    TTableDesc t;
    t.GridName = QStringLiteral("ACG_CAN_Receive");
    t.KeyCol = colCobID;
    t.EnableCol = colEnable;
    t.EnableIgnoresCase = true;
    t.Capacity = 512;
    t.Columns = {
        Number_Column(1508),
        Enable_Column(1509, 1529),
        Text_Column(1510, 1530, 90, Frame_Color, "COBID"),
        Type_Column(1511, 1531, maKeep),
        Text_Column(1512, 1532, 70, Frame_Color, "Dim"),
        Text_Column(1513, 1534, 75, Timing_Color, "TimeOut", maDefault, "0"),
    };
    Add_Byte_Columns(t.Columns, 1514, 1535);
    t.Columns.push_back(Text_Column(1522, 1543, 185, clWindow, "Mnemonic"));
    d.Tables.push_back(t);
    return d;
}

} // namespace

TFReceiveCAN::TFReceiveCAN(TComponent* AOwner) : TFTableEditor(AOwner, Receive_Desc()) {
    ACG_CAN_Receive = Grid(0);
    ACG_CAN_Receive->OnKeyPress = [this](TObject* Sender, Char& Key) {
        ACG_CAN_ReceiveKeyPress(Sender, Key);
    };
    ACG_CAN_Receive->OnDblClickCell = [this](TObject* Sender, int ARow, int ACol) {
        ACG_CAN_ReceiveDblClickCell(Sender, ARow, ACol);
    };
    ACG_CAN_Receive->OnGridHint = [this](TObject* Sender, int ARow, int ACol, String& hint) {
        ACG_CAN_ReceiveGridHint(Sender, ARow, ACol, hint);
    };
    OnCreate = [this](TObject* Sender) { FormCreate(Sender); };
    OnShow = [this](TObject* Sender) { FormShow(Sender); };
    DoCreate();
}

TFReceiveCAN::~TFReceiveCAN() {
    TObject::Free(Hint_ReceiveCAN);
}

void TFReceiveCAN::FormCreate(TObject*) {
    if (!Hint_ReceiveCAN) Hint_ReceiveCAN = new TStringList();
    Create_Frame();
}

void TFReceiveCAN::Set_Limits() {
    MAX_Byte = 1438;
    Fill_Position_Lists(0, colByte1, colByte1 + 7, MAX_Byte);
}

void TFReceiveCAN::FormShow(TObject*) {
    Show_Frame();
}

bool TFReceiveCAN::Controllo_dati() {
    return Check_Rows(0, [this](int r) {
        String failure = Check_Frame(Cell(0, colCobID, r), Cell(0, colType, r), Cell(0, colDim, r), Texts);
        if (!failure.isEmpty()) return failure;
        if (!Time_OK(Cell(0, colTimeOut, r))) return Lang_Text.Get(1548);
        return Check_Bytes(
            Cell_Int(0, colDim, r), MAX_Byte, [&](int k) { return Cell(0, colByte1 + k - 1, r); }, Texts);
    });
}

void TFReceiveCAN::ACG_CAN_ReceiveKeyPress(TObject* Sender, Char& Key) {
    KeyPress_Frame(Sender, Key);
}

void TFReceiveCAN::ACG_CAN_ReceiveDblClickCell(TObject* Sender, int ARow, int ACol) {
    DblClickCell_Frame(Sender, ARow, ACol);
}

void TFReceiveCAN::ACG_CAN_ReceiveGridHint(TObject* Sender, int ARow, int ACol, String& hintstr) {
    GridHint_Frame(Sender, ARow, ACol, hintstr);
}
