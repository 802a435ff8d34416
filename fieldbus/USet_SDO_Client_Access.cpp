#include "USet_SDO_Client_Access.h"

#include "Classes.h"
#include "ULang.h"
#include "UProject.h"

using namespace CANopen_Tables;

TFSet_SDO_Client_Access* FSet_SDO_Client_Access = nullptr;

namespace {

// Columns of both tables: N, ID Device, Index, SubIndex, N Byte, Poll Time, (write: On Change),
// Add Byte1 .. Add Byte4, Mnemonic.
enum { colDevice = 1, colIndex, colSub, colNByte, colPoll };

TTableEditorDesc SDO_Client_Desc() {
    TTableEditorDesc d;
    d.FormName = QStringLiteral("FSet_SDO_Client_Access");
    d.Width = 798;
    d.TextBlock = 1800;
    d.ButtonHintId = 1808;
    d.Root = QStringLiteral("SDO_Client_CANopen");
    d.File = &File_SDO_Client_CANopen;
    d.ErrorRowId = 1860;
    d.DeleteQuestionId = 1879;

    const auto head = [](TTableDesc& T, int Header, int Hint) {
        T.Columns = {Column(Header, 0, 40, ""),
                     Column(Header + 1, Hint, 60, "Device_ID"),
                     Column(Header + 2, Hint + 1, 55, "Index"),
                     Column(Header + 3, Hint + 2, 60, "SubIndex"),
                     Column(Header + 4, Hint + 3, 45, "NByte"),
                     Column(Header + 5, Hint + 4, 60, "Poll_Time")};
    };
    TTableDesc r = Table("sga", "TS_SDO_Read", 1814, "SDO_Read", 256);
    head(r, 1816, 1839);
    Add_Position_Columns(r.Columns, 4, 1822, 1844, 70, "Address_B");
    r.Columns.push_back(Column(1826, 1848, 163, "Mnemonic"));

    TTableDesc w = Table("sgb", "TS_SDO_Write", 1815, "SDO_Write", 256);
    head(w, 1827, 1849);
    w.Columns.push_back(Check_Column(1833, 1854, 68, "On_Change"));
    Add_Position_Columns(w.Columns, 4, 1834, 1855, 70, "Address_B");
    w.Columns.push_back(Column(1838, 1859, 95, "Mnemonic"));

    d.Tables = {r, w};
    return d;
}

} // namespace

TFSet_SDO_Client_Access::TFSet_SDO_Client_Access(TComponent* AOwner)
    : TFCANopenTables(AOwner, SDO_Client_Desc()) {
    TS_SDO_Read = PageControl1->Pages(0);
    TS_SDO_Write = PageControl1->Pages(1);
    sga = Grid(0);
    sgb = Grid(1);
    OnCreate = [this](TObject* Sender) { FormCreate(Sender); };
    OnShow = [this](TObject* Sender) { FormShow(Sender); };
    DoCreate();
}

TFSet_SDO_Client_Access::~TFSet_SDO_Client_Access() {
    TObject::Free(Hint_SDO_Client_Read);
    TObject::Free(Hint_SDO_Client_Write);
}

void TFSet_SDO_Client_Access::FormCreate(TObject*) {
    if (!Hint_SDO_Client_Read) Hint_SDO_Client_Read = new TStringList();
    if (!Hint_SDO_Client_Write) Hint_SDO_Client_Write = new TStringList();
    Create_Frame();
}

void TFSet_SDO_Client_Access::FormShow(TObject*) {
    Show_Frame();
}

bool TFSet_SDO_Client_Access::Controllo_dati() {
    // Per table: the first of its texts, the lowest poll time and the first position column
    // (the write table's On Change comes before its positions).
    const struct { int Text, Poll_Min, Position_Col; } tables[] = {{1861, 1, 6}, {1870, 0, 7}};
    for (int t = 0; t < 2; ++t) {
        const auto& x = tables[t];
        const bool ok = Check_Rows(t, [&](int r) {
            if (!In_Range(Cell_Int(t, colDevice, r), 1, 127)) return Lang_Text.Get(x.Text);
            if (!In_Range(Cell_Int(t, colIndex, r), 0x1000, 0xFFFF)) return Lang_Text.Get(x.Text + 1);
            if (!In_Range(Cell_Int(t, colSub, r), 0, 255)) return Lang_Text.Get(x.Text + 2);
            const int n = Cell_Int(t, colNByte, r);
            if (n != 1 && n != 2 && n != 4) return Lang_Text.Get(x.Text + 3);
            if (!In_Range(Cell_Int(t, colPoll, r), x.Poll_Min, 100000000)) return Lang_Text.Get(x.Text + 4);
            return Check_Positions(t, r, x.Position_Col, n, x.Text + 5);
        });
        if (!ok) return false;
    }
    return true;
}
