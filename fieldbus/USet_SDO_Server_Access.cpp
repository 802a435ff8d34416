#include "USet_SDO_Server_Access.h"

#include "Classes.h"
#include "ULang.h"
#include "UProject.h"

using namespace CANopen_Tables;

TFSet_SDO_Server_Access* FSet_SDO_Server_Access = nullptr;

namespace {

// Columns of both tables: N, Index, SubIndex, N Byte, Add Byte1 .. Add Byte4, Mnemonic.
enum { colIndex = 1, colSub, colNByte, colB1 };

TTableEditorDesc SDO_Server_Desc() {
    TTableEditorDesc d;
    d.FormName = QStringLiteral("FSet_SDO_Server_Access");
    d.Width = 749;
    d.TextBlock = 1900;
    d.ButtonHintId = 1908;
    d.Root = QStringLiteral("SDO_Server_CANopen");
    d.File = &File_SDO_Server_CANopen;
    d.ErrorRowId = 1950;
    d.DeleteQuestionId = 1965;

    // Both tables alike; the write grid answers Enter, the header double-click, its hints and
    // the row-number click as the read grid does.
    const auto table = [](const char* Grid, const char* Page, int Caption, const char* Section, int Header,
                          int Hint) {
        TTableDesc t = Table(Grid, Page, Caption, Section, 500);
        t.Columns = {Column(Header, 0, 40, ""), Column(Header + 1, Hint, 65, "Index"),
                     Column(Header + 2, Hint + 1, 61, "SubIndex"), Column(Header + 3, Hint + 2, 55, "NByte")};
        Add_Position_Columns(t.Columns, 4, Header + 4, Hint + 3, 80, "Address_B");
        t.Columns.push_back(Column(Header + 8, Hint + 7, 170, "Mnemonic"));
        return t;
    };
    d.Tables = {table("sga", "TS_SDO_Read", 1914, "SDO_Read", 1916, 1934),
                table("sgb", "TS_SDO_Write", 1915, "SDO_Write", 1925, 1942)};
    return d;
}

} // namespace

TFSet_SDO_Server_Access::TFSet_SDO_Server_Access(TComponent* AOwner)
    : TFCANopenTables(AOwner, SDO_Server_Desc()) {
    TS_SDO_Read = PageControl1->Pages(0);
    TS_SDO_Write = PageControl1->Pages(1);
    sga = Grid(0);
    sgb = Grid(1);
    OnCreate = [this](TObject* Sender) { FormCreate(Sender); };
    OnShow = [this](TObject* Sender) { FormShow(Sender); };
    DoCreate();
}

TFSet_SDO_Server_Access::~TFSet_SDO_Server_Access() {
    TObject::Free(Hint_SDO_Client_Read);
    TObject::Free(Hint_SDO_Client_Write);
}

void TFSet_SDO_Server_Access::FormCreate(TObject*) {
    if (!Hint_SDO_Client_Read) Hint_SDO_Client_Read = new TStringList();
    if (!Hint_SDO_Client_Write) Hint_SDO_Client_Write = new TStringList();
    Create_Frame();
}

void TFSet_SDO_Server_Access::FormShow(TObject*) {
    Show_Frame();
}

bool TFSet_SDO_Server_Access::Controllo_dati() {
    // The same index and sub-index may stand in several rows and in both tables.
    for (int t = 0; t < 2; ++t) {
        const int text = t == 0 ? 1951 : 1958;
        const bool ok = Check_Rows(t, [&](int r) {
            if (!In_Range(Cell_Int(t, colIndex, r), 0x2000, 0x5FFF)) return Lang_Text.Get(text);
            if (!In_Range(Cell_Int(t, colSub, r), 0, 255)) return Lang_Text.Get(text + 1);
            const int n = Cell_Int(t, colNByte, r);
            if (n != 1 && n != 2 && n != 4) return Lang_Text.Get(text + 2);
            return Check_Positions(t, r, colB1, n, text + 3);
        });
        if (!ok) return false;
    }
    return true;
}
