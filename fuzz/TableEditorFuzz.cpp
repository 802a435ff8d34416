// Reads arbitrary bytes as the table file of a table editor: the CAN receive table, the CAN
// transmit table, a frame of two tables in sections with required attributes, the BACnet object
// tables, the KNX telegram table, the SNMP object tables or the MQTT topic tables (hidden columns,
// required attributes) (the first byte chooses). Showing must never crash or fill more rows than
// the table holds; OK then either refuses (the file stays as it was) or writes a file that the
// next show reads back into the same cells. A BACnet file that OK wrote is then read by the EDE
// generator: it refuses with a message, or writes a file whose object lines hold their seven
// fields each.
#include "Dialogs.h"
#include "Forms.h"
#include "ULang.h"
#include "UBACnetSlaveSetAccess.h"
#include "UBACnet_EDE.h"
#include "UKNXAccess.h"
#include "UProject.h"
#include "UMQTT_Set_Topic.h"
#include "UReceiveCAN.h"
#include "USNMP_Trap_Access.h"
#include "UTransmitCAN.h"

#include <QByteArray>
#include <QDir>
#include <QFile>

#include <cstdint>
#include <cstdlib>
#include <unistd.h>

namespace {

String Two_File;

TTableEditorDesc Two_Desc() {
    TTableEditorDesc d;
    d.FormName = QStringLiteral("FTwo");
    d.TextBlock = 1500;
    d.ButtonHintId = 1523;
    d.Root = QStringLiteral("Two");
    d.File = &Two_File;
    d.ErrorRowId = 1544;
    d.DeleteQuestionId = 1558;
    for (const char* section : {"Read", "Write"}) {
        TTableDesc t;
        t.GridName = QStringLiteral("ACG_") + section;
        t.Section = QString::fromLatin1(section);
        t.Capacity = 4;
        t.EnableCol = 1;
        TTableColumn n, enable, key, value;
        enable.Attribute = QStringLiteral("Enable");
        enable.Editor = edDataCheckBox;
        enable.Missing = maDefault;
        enable.Default = QStringLiteral("Y");
        key.Attribute = QStringLiteral("Key");
        key.Missing = maRequired;
        value.Attribute = QStringLiteral("Value");
        t.KeyCol = 2;
        t.Columns = {n, enable, key, value};
        d.Tables.push_back(t);
    }
    return d;
}

class TFTwo : public TFTableEditor {
public:
    explicit TFTwo(TComponent* AOwner) : TFTableEditor(AOwner, Two_Desc()) {
        OnCreate = [this](TObject*) { Create_Frame(); };
        DoCreate();
    }
    void Show() { Show_Frame(); }
    bool Controllo_dati() override {
        for (int t = 0; t < 2; ++t)
            if (!Check_Rows(t, [this, t](int r) {
                    return Cell_Int(t, 3, r) < 0 ? QStringLiteral("!! Value") : String();
                }))
                return false;
        return true;
    }
    TStringList* Hint_List(int) override { return &FHints; }
    bool& Copy_Flag(int Table) override { return FCopy[Table]; }

private:
    TStringList FHints;
    bool FCopy[2] = {false, false};
};

QByteArray Get(const String& File) {
    QFile f(File);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<none>");
}

void Put(const String& File, const QByteArray& Bytes) {
    QFile f(File);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate)) std::abort();
    f.write(Bytes);
}

QStringList Cells(TFTableEditor* E) {
    QStringList cells;
    for (int t = 0; t < E->Table_Count(); ++t) {
        TAdvColumnGrid* g = E->Grid(t);
        for (int r = 0; r < g->RowCount(); ++r)
            for (int c = 0; c < g->ColCount(); ++c) cells << g->GetCellEx(c, r);
    }
    return cells;
}

// Whether a cell read back equals the cell saved; an editor that normalises a column on reading
// says what it accepts.
using TSame = std::function<bool(int Col, const String& Saved, const String& Read)>;

bool Equal(int, const String& Saved, const String& Read) {
    return Saved == Read;
}

// Shows E over Input, then OK: refused with the file unchanged, or written and read back the same.
// Answers whether OK wrote the file.
bool Run(TFTableEditor* E, const String& File, const std::function<void()>& Show,
         const std::function<void()>& OK, const QByteArray& Input, const TSame& Same = Equal) {
    Put(File, Input);
    Show();
    for (int t = 0; t < E->Table_Count(); ++t)
        if (E->Grid(t)->RowCount() != E->Desc().Tables[size_t(t)].Capacity + 1) std::abort();
    E->SetModalResult(mrNone);
    OK();
    if (E->ModalResult() != mrOk) {
        if (Get(File) != Input) std::abort();
        return false;
    }
    const QStringList saved = Cells(E);
    Show();
    if (E->Load_Incomplete()) std::abort();
    // The rows in use come back; rows below the first empty key were dropped by the save.
    for (int t = 0; t < E->Table_Count(); ++t) {
        TAdvColumnGrid* g = E->Grid(t);
        const TTableDesc& T = E->Desc().Tables[size_t(t)];
        for (int r = 1; r < g->RowCount(); ++r) {
            if (Trim(g->GetCellEx(T.KeyCol, r)).isEmpty()) break;
            for (int c = 1; c < g->ColCount(); ++c) {
                const int before =
                    (t == 0 ? 0 : E->Grid(0)->RowCount() * E->Grid(0)->ColCount()) + r * g->ColCount() + c;
                if (!Same(c, saved[before], g->GetCellEx(c, r))) std::abort();
            }
        }
    }
    return true;
}

// The EDE file of the BACnet tables just saved: refused, or every object line with its seven
// fields (the separator never inside one).
void Check_EDE() {
    const String file = Path_Project + QStringLiteral("/objects.csv");
    QFile::remove(file);
    try {
        Create_EDE_File(file);
    } catch (const Exception&) {
        if (QFile::exists(file)) std::abort();
        return;
    }
    const QList<QByteArray> lines = Get(file).split('\n');
    for (qsizetype i = 7; i < lines.size(); ++i)
        if (!lines[i].isEmpty() && lines[i].count(';') != 7) std::abort();
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    TApplication::Create(*argc, *argv);
    Application->Initialize();
    Lang_Text.Load_Default_Lang();
    // Every question is answered Yes (save without the rows not shown, overwrite a partial file).
    SetMessageDlgHook([](const TMessageDlgRequest&) { return int(mrYes); });
    const QString dir = QDir::tempPath() + "/fuzz-table-editor-" + QString::number(getpid());
    QDir().mkpath(dir);
    Path_Project = dir;
    Set_Files();
    Two_File = dir + "/Two.xml";
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    static TFReceiveCAN* receive = new TFReceiveCAN(nullptr);
    static TFTransmitCAN* transmit = new TFTransmitCAN(nullptr);
    static TFTwo* two = new TFTwo(nullptr);
    static TFBACnetSlaveSetAccess* bacnet = new TFBACnetSlaveSetAccess(nullptr);
    static TFKNXAccess* knx = new TFKNXAccess(nullptr);
    static TFSNMP_Trap_Access* snmp = new TFSNMP_Trap_Access(nullptr);
    static TFMQTT_Set_Topic* mqtt = new TFMQTT_Set_Topic(nullptr);
    const QByteArray input(reinterpret_cast<const char*>(data + 1), qsizetype(size - 1));
    switch (data[0] % 7) {
        case 3:
            if (Run(
                    bacnet, File_BACnet_Slave_SetAccess, [] { bacnet->FormShow(bacnet); },
                    [] { bacnet->bitbtn1Click(bacnet); }, input))
                Check_EDE();
            break;
        case 4:
            // A disabled row is saved unchecked: its Priority, when not one of the list's, reads
            // back as "Normal".
            Run(
                knx, File_KNX_SetAccess, [] { knx->FormShow(knx); }, [] { knx->Btn_OKClick(knx); }, input,
                [](int Col, const String& Saved, const String& Read) {
                    return Saved == Read || (Col == 5 && Read == QStringLiteral("Normal"));
                });
            break;
        case 0:
            Run(
                receive, File_CAN_Rec_Frames, [] { receive->FormShow(receive); },
                [] { receive->Btn_OKClick(receive); }, input);
            break;
        case 1:
            Run(
                transmit, File_CAN_Send_Frames, [] { transmit->FormShow(transmit); },
                [] { transmit->Btn_OKClick(transmit); }, input);
            break;
        case 5:
            Run(
                snmp, File_SNMP_Trap, [] { snmp->FormShow(snmp); }, [] { snmp->Btn_OKClick(snmp); }, input);
            break;
        case 6:
            Run(
                mqtt, File_MQTT_Set_Topic, [] { mqtt->FormShow(mqtt); }, [] { mqtt->Btn_OKClick(mqtt); },
                input);
            break;
        default:
            Run(
                two, Two_File, [] { two->Show(); }, [] { two->Btn_OKClick(two); }, input);
            break;
    }
    return 0;
}
