#include "USet_PDO_Access.h"

#include "Classes.h"
#include "ULang.h"
#include "UProject.h"

using namespace CANopen_Tables;

TFSet_PDO_Access* FSet_PDO_Access = nullptr;

namespace {

// Columns of both tables: N, COB-ID, Dimension, Add B1 .. Add B8, then TimeOut (receive) or
// Send Time and On Change (transmit), Mnemonic.
enum { colCobID = 1, colDim, colB1, colTime = 11 };

TTableEditorDesc PDO_Desc() {
    TTableEditorDesc d;
    d.FormName = QStringLiteral("FSet_PDO_Access");
    d.Width = 798;
    d.TextBlock = 1700;
    d.ButtonHintId = 1708;
    d.Root = QStringLiteral("PDO_CANopen");
    d.File = &File_PDO_CANopen;
    d.ErrorRowId = 1768;
    d.DeleteQuestionId = 1791;

    TTableDesc r = Table("sga", "TS_Receive_PDO", 1714, "Receive_PDO", 30);
    r.Columns = {Column(1716, 0, 40, ""), Column(1717, 1743, 65, "COB-ID"),
                 Column(1718, 1744, 65, "Dimension")};
    Add_Position_Columns(r.Columns, 8, 1719, 1745, 45, "Address_B");
    r.Columns.push_back(Column(1727, 1753, 65, "TimeOut"));
    r.Columns.push_back(Column(1728, 1754, 173, "Mnemonic"));

    TTableDesc t = Table("sgb", "TS_Transmit_PDO", 1715, "Transmit_PDO", 30);
    t.Columns = {Column(1729, 0, 40, ""), Column(1730, 1755, 65, "COB-ID"),
                 Column(1731, 1756, 65, "Dimension")};
    Add_Position_Columns(t.Columns, 8, 1732, 1757, 45, "Address_B");
    t.Columns.push_back(Column(1740, 1765, 65, "Send_Time"));
    t.Columns.push_back(Check_Column(1741, 1766, 68, "On_Change"));
    t.Columns.push_back(Column(1742, 1767, 105, "Mnemonic"));

    d.Tables = {r, t};
    return d;
}

} // namespace

TFSet_PDO_Access::TFSet_PDO_Access(TComponent* AOwner) : TFCANopenTables(AOwner, PDO_Desc()) {
    TS_Receive_PDO = PageControl1->Pages(0);
    TS_Transmit_PDO = PageControl1->Pages(1);
    sga = Grid(0);
    sgb = Grid(1);
    OnCreate = [this](TObject* Sender) { FormCreate(Sender); };
    OnShow = [this](TObject* Sender) { FormShow(Sender); };
    DoCreate();
}

TFSet_PDO_Access::~TFSet_PDO_Access() {
    TObject::Free(Hint_PDO_Receive);
    TObject::Free(Hint_PDO_Transmit);
}

void TFSet_PDO_Access::FormCreate(TObject*) {
    if (!Hint_PDO_Receive) Hint_PDO_Receive = new TStringList();
    if (!Hint_PDO_Transmit) Hint_PDO_Transmit = new TStringList();
    Create_Frame();
}

void TFSet_PDO_Access::FormShow(TObject*) {
    Show_Frame();
}

bool TFSet_PDO_Access::Controllo_dati() {
    // Per table: the texts of COB-ID, Dimension, the first position, and the time, and the
    // time's upper limit.
    const struct {
        int CobID, Dim, Position, Time, Time_Max;
    } texts[] = {{1769, 1770, 1771, 1779, 65535}, {1780, 1781, 1782, 1790, 100000000}};
    for (int t = 0; t < 2; ++t) {
        const auto& x = texts[t];
        const bool ok = Check_Rows(t, [&](int r) {
            if (!In_Range(Cell_Int(t, colCobID, r), 0, 2047)) return Lang_Text.Get(x.CobID);
            const int dim = Cell_Int(t, colDim, r);
            if (!In_Range(dim, 1, 8)) return Lang_Text.Get(x.Dim);
            String failure = Check_Positions(t, r, colB1, dim, x.Position);
            if (!failure.isEmpty()) return failure;
            if (!In_Range(Cell_Int(t, colTime, r), 0, x.Time_Max)) return Lang_Text.Get(x.Time);
            return String();
        });
        if (!ok) return false;
    }
    return true;
}
