#include "UBACnetSlaveSetAccess.h"

#include "CANFrameRules.h"
#include "Dialogs.h"
#include "SysUtils.h"
#include "UBACnet_Eng_Unit.h"
#include "ULang.h"
#include "UProject.h"
#include "UUtils.h"

#include <algorithm>
#include <iterator>

using CAN_Frames::Number_Column;
using CAN_Frames::Text_Column;

TFBACnetSlaveSetAccess* FBACnetSlaveSetAccess = nullptr;

namespace {

enum { colType = 1, colUnit, colPosition, colBit, colLength, colSwap, colMnemonic };
enum { tabRead = 0, tabWrite = 1 };

constexpr int Bytes_In_Array = 1500;

// Texts of the checks; the length texts are in the type table.
constexpr int Text_Unit[2] = {1333, 1347};
constexpr int Text_Position[2] = {1334, 1348};
constexpr int Text_End[2] = {1346, 1358};
constexpr int Text_Too_Many = 1359;

// The data types in list order. A type is in a table's list when it has a text for that table;
// Binary types need a Start Bit instead of a Length.
const struct {
    const char* Name;
    int Text[2]; // the failing check's text for the Read and Write table; 0: not in that list
    int Min, Max;
    const char* Write_Length; // the Write table's default length
    bool Binary;
} Types[] = {
    {"Analog Input", {1335, 0}, 1, 4, "", false},
    {"Analog Out", {0, 1349}, 1, 4, "4", false},
    {"Analog Value", {1338, 1350}, 1, 4, "4", false},
    {"Binary Input", {1345, 0}, 0, 0, "", true},
    {"Binary Out", {0, 1357}, 0, 0, "1", true},
    {"Binary Value", {1345, 1357}, 0, 0, "1", true},
    {"Positive Integer Value", {1336, 1351}, 1, 4, "4", false},
    {"Large Analog Value", {1337, 1352}, 1, 8, "8", false},
    // The Read table bounds "Integer Value" as the Write table does.
    {"Integer Value", {1365, 1353}, 1, 4, "4", false},
    {"Multi State Input", {1339, 0}, 1, 4, "", false},
    {"Multi State Output", {0, 1354}, 1, 4, "4", false},
    {"Multi State Value", {1340, 1355}, 1, 4, "4", false},
    {"Life Safety Point", {1341, 0}, 1, 2, "", false},
    {"Life Safety Zone", {1342, 0}, 1, 2, "", false},
    {"Access Door", {1343, 1356}, 1, 1, "1", false},
    {"Accumulator", {1344, 0}, 1, 4, "", false},
    {"Octet String", {1361, 1363}, 1, 50, "1", false},
    {"CharacterString Value", {1362, 1364}, 1, 50, "1", false},
};

QStringList Type_List(int Table) {
    QStringList l;
    for (const auto& t : Types)
        if (t.Text[Table] != 0) l << QString::fromLatin1(t.Name);
    return l;
}

QStringList Number_List(int Count) {
    QStringList l;
    for (int i = 0; i < Count; ++i) l << String::number(i);
    return l;
}

TTableDesc Table(int Which) {
    TTableDesc t;
    t.GridName = QString::fromLatin1(Which == tabRead ? "ACG_BACnet_in_Read" : "ACG_BACnet_in_Write");
    t.PageCaptionId = 1308 + Which;
    t.Section = QString::fromLatin1(Which == tabRead ? "BACnet_in_Read" : "BACnet_in_Write");
    t.KeyCol = colType;
    t.Capacity = 2000;
    t.RowClick = true;
    const int header = Which == tabRead ? 1316 : 1324;
    TTableColumn type = Text_Column(header + 1, 0, 150, clWindow, "Data_Type", maRequired);
    type.Editor = edComboList;
    type.Items = Type_List(Which);
    TTableColumn position = Text_Column(header + 3, 0, 64, clWindow, "Position", maRequired);
    position.Editor = edComboList;
    position.Items = Number_List(Bytes_In_Array);
    TTableColumn bit = Text_Column(header + 4, 0, 64, clWindow, "Bit", maRequired);
    bit.Editor = edComboList;
    bit.Items = Number_List(8);
    TTableColumn swap = Text_Column(header + 6, 0, 40, clWindow, "Swap", maDefault, "N");
    swap.Editor = edDataCheckBox;
    t.Columns = {
        Number_Column(header),
        type,
        Text_Column(header + 2, 0, 100, clWindow, "Eng_Unit", maRequired),
        position,
        bit,
        Text_Column(header + 5, 0, 64, clWindow, "Length", maRequired),
        swap,
        Text_Column(header + 7, 0, 250, clWindow, "Mnemonic", maRequired),
    };
    return t;
}

TTableEditorDesc BACnet_Desc() {
    TTableEditorDesc d;
    d.FormName = QStringLiteral("FBACnetSlaveSetAccess");
    d.Width = 764;
    d.TextBlock = 1300;
    d.ButtonHintId = 1310;
    d.Root = QStringLiteral("BACnet_to_Modbus");
    d.Comment = QStringLiteral("SW_VERSION = 1.001");
    d.File = &File_BACnet_Slave_SetAccess;
    d.ErrorRowId = 1332;
    d.DeleteQuestionId = 1360;
    d.Tables = {Table(tabRead), Table(tabWrite)};
    return d;
}

} // namespace

String BACnet_Write_Default_Length(const String& DataType) {
    const String type = UpperCase(DataType);
    for (const auto& t : Types)
        if (t.Text[tabWrite] != 0 && type == QString::fromLatin1(t.Name).toUpper())
            return QString::fromLatin1(t.Write_Length);
    return String();
}

TFBACnetSlaveSetAccess::TFBACnetSlaveSetAccess(TComponent* AOwner) : TFTableEditor(AOwner, BACnet_Desc()) {
    ACG_BACnet_in_Read = Grid(tabRead);
    ACG_BACnet_in_Write = Grid(tabWrite);
    for (TAdvColumnGrid* g : {ACG_BACnet_in_Read, ACG_BACnet_in_Write}) {
        g->OnKeyPress = [this](TObject* Sender, Char& Key) { KeyPress(Sender, Key); };
        g->OnClickCell = [this](TObject* Sender, int ARow, int ACol) { ClickCell(Sender, ARow, ACol); };
        g->OnGridHint = [this](TObject* Sender, int ARow, int ACol, String& hint) {
            GridHint(Sender, ARow, ACol, hint);
        };
    }
    ACG_BACnet_in_Read->OnDblClickCell = [this](TObject* Sender, int ARow, int ACol) {
        ACG_BACnet_in_ReadDblClickCell(Sender, ARow, ACol);
    };
    ACG_BACnet_in_Write->OnDblClickCell = [this](TObject* Sender, int ARow, int ACol) {
        ACG_BACnet_in_WriteDblClickCell(Sender, ARow, ACol);
    };
    ACG_BACnet_in_Write->OnComboChange = [this](TObject* Sender, int ACol, int ARow, int AItemIndex,
                                                const String& ASelection) {
        ACG_BACnet_in_WriteComboChange(Sender, ACol, ARow, AItemIndex, ASelection);
    };
    Btn_OK->OnClick = [this](TObject* Sender) { bitbtn1Click(Sender); };
    Btn_DelRow->OnClick = [this](TObject* Sender) { Btn_DelRow_Click(Sender); };
    OnCreate = [this](TObject* Sender) { FormCreate(Sender); };
    OnShow = [this](TObject* Sender) { FormShow(Sender); };
    DoCreate();
}

void TFBACnetSlaveSetAccess::FormCreate(TObject*) {
    Create_Frame();
}

void TFBACnetSlaveSetAccess::Set_Limits() {
    NByte_IN = NByte_OUT = Bytes_In_Array;
    const QStringList positions = Number_List(Bytes_In_Array);
    for (TAdvColumnGrid* g : {ACG_BACnet_in_Read, ACG_BACnet_in_Write}) {
        TStringList items;
        for (const String& s : positions) items.Add(s);
        g->Columns()->Items(colPosition)->SetComboItems(&items);
    }
    // The capacity follows the object-name length of the general parameters, read into the
    // window's own document.
    Desc_Lenght = false;
    if (FileExists(File_ParGen)) {
        try {
            XML1->SetActive(true);
            XML1->LoadFromFile(File_ParGen);
            const TXMLNode root = XML1->DocumentElement();
            const TXMLNode key = root ? root.FindNode(QStringLiteral("BACnet_Desc_Chars_Limit")) : TXMLNode();
            Desc_Lenght = key && key.Text() == QStringLiteral("1");
        } catch (const Exception& E) {
            MessageDlg(NativePath(File_ParGen) + QStringLiteral(": ") + E.Message(), mtError, {mbOK});
        }
    }
    Set_Capacity(tabRead, Row_Limit());
    Set_Capacity(tabWrite, Row_Limit());
}

void TFBACnetSlaveSetAccess::FormShow(TObject*) {
    Show_Frame();
}

bool TFBACnetSlaveSetAccess::Controllo_dati() {
    for (int table : {tabRead, tabWrite}) {
        const int bytes = table == tabRead ? NByte_IN : NByte_OUT;
        const bool ok = Check_Rows(table, [&](int r) -> String {
            const int unit = Cell_Int(table, colUnit, r);
            if (unit < 0 || unit > 65535) return Lang_Text.Get(Text_Unit[table]);
            const int position = Cell_Int(table, colPosition, r);
            if (position < 0 || position > bytes - 1)
                return Lang_Text.Get(Text_Position[table]) + String::number(bytes - 1);
            int end = position;
            const String type = Cell(table, colType, r);
            const auto* rule = std::find_if(std::begin(Types), std::end(Types), [&](const auto& t) {
                return t.Text[table] != 0 && type == QLatin1String(t.Name);
            });
            const bool known = rule != std::end(Types);
            if (known && rule->Binary) {
                if (Cell(table, colBit, r).isEmpty()) return Lang_Text.Get(rule->Text[table]);
            } else {
                const int length = StrToIntDef(Cell(table, colLength, r), 0);
                if (known && (length < rule->Min || length > rule->Max))
                    return Lang_Text.Get(rule->Text[table]);
                end = position + length - 1;
            }
            if (end >= bytes) return Lang_Text.Get(Text_End[table]);
            return String();
        });
        if (!ok) return false;
    }
    if (Rows_In_Use(tabRead) + Rows_In_Use(tabWrite) > Row_Limit()) {
        MessageDlg(Lang_Text.Get(Text_Too_Many) + String::number(Row_Limit()), mtError, {mbOK});
        return false;
    }
    return true;
}

void TFBACnetSlaveSetAccess::bitbtn1Click(TObject* Sender) {
    Btn_OKClick(Sender);
}

void TFBACnetSlaveSetAccess::Btn_DelRow_Click(TObject* Sender) {
    Btn_DelRowClick(Sender);
}

void TFBACnetSlaveSetAccess::ClickCell(TObject* Sender, int ARow, int ACol) {
    ClickCell_Frame(Sender, ARow, ACol);
}

void TFBACnetSlaveSetAccess::KeyPress(TObject* Sender, Char& Key) {
    KeyPress_Frame(Sender, Key);
}

void TFBACnetSlaveSetAccess::GridHint(TObject*, int, int, String&) {}

void TFBACnetSlaveSetAccess::Pick_Unit(TAdvColumnGrid* G, int ARow, int ACol) {
    if (ACol == colUnit && ARow > 0 && FBACnet_Eng_Unit) {
        const String cell = G->GetCellEx(colUnit, ARow);
        FBACnet_Eng_Unit->E_Selected_EU->SetText(cell);
        FBACnet_Eng_Unit->Label5->SetCaption(QStringLiteral("-> ") + Desc_Unit(StrToIntDef(cell, -1)));
        if (FBACnet_Eng_Unit->ShowModal() == mrOk)
            G->SetCellEx(colUnit, ARow, FBACnet_Eng_Unit->E_Selected_EU->Text());
    }
    Grid_Auto_Size_Col(G, ARow, ACol);
}

void TFBACnetSlaveSetAccess::ACG_BACnet_in_ReadDblClickCell(TObject*, int ARow, int ACol) {
    Pick_Unit(ACG_BACnet_in_Read, ARow, ACol);
}

void TFBACnetSlaveSetAccess::ACG_BACnet_in_WriteDblClickCell(TObject*, int ARow, int ACol) {
    Pick_Unit(ACG_BACnet_in_Write, ARow, ACol);
}

void TFBACnetSlaveSetAccess::ACG_BACnet_in_WriteComboChange(TObject*, int ACol, int ARow, int,
                                                            const String& ASelection) {
    if (ACol != colType) return;
    const String length = BACnet_Write_Default_Length(ASelection);
    if (!length.isEmpty()) ACG_BACnet_in_Write->SetCellEx(colLength, ARow, length);
}
