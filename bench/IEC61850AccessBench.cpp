// The client mapping window: drawing the tree of an IED with 2,000 logical nodes against a bare
// QTreeWidget given the same nodes (texts and pictures), in one run ("ratio" = ours / Qt's, the
// target at most 3); and a showing that loads 1,000 variables rows from the mapping file.
#include "AdvGridStartup.h"
#include "ImgList.h"
#include "UIEC_61850_Access.h"
#include "UIEC_Device.h"
#include "UProject.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTreeWidget>

#include <benchmark/benchmark.h>

#include <chrono>
#include <functional>

namespace {

using Clock = std::chrono::steady_clock;

constexpr int LNs = 2000;

// One IED, one logical device, LNs measurement nodes of one type with two data objects of two
// attributes each (one structured), and a data set in LLN0.
QByteArray Big_SCL() {
    QByteArray s =
        "<SCL><IED name=\"IED1\"><AccessPoint name=\"AP\"><Server><LDevice inst=\"LD0\">"
        "<LN0 lnClass=\"LLN0\" inst=\"\" lnType=\"L0\"><DataSet name=\"DS1\">"
        "<FCDA ldInst=\"LD0\" lnClass=\"MMXU\" lnInst=\"1\" doName=\"TotW\" fc=\"MX\"/></DataSet></LN0>";
    for (int i = 1; i <= LNs; ++i)
        s += "<LN lnClass=\"MMXU\" inst=\"" + QByteArray::number(i) + "\" lnType=\"M\"/>";
    s += "</LDevice></Server></AccessPoint></IED><DataTypeTemplates>"
         "<LNodeType id=\"L0\" lnClass=\"LLN0\"/>"
         "<LNodeType id=\"M\" lnClass=\"MMXU\"><DO name=\"TotW\" type=\"MV\"/><DO name=\"Hz\" "
         "type=\"MV\"/></LNodeType>"
         "<DOType id=\"MV\" cdc=\"MV\"><DA name=\"mag\" bType=\"Struct\" type=\"AV\" fc=\"MX\"/>"
         "<DA name=\"q\" bType=\"Quality\" fc=\"MX\"/></DOType>"
         "<DAType id=\"AV\"><BDA name=\"f\" bType=\"FLOAT32\"/></DAType></DataTypeTemplates></SCL>";
    return s;
}

double Ms(Clock::duration D) {
    return std::chrono::duration<double, std::milli>(D).count();
}

// The same nodes in a bare Qt tree: texts, pictures, the same expansion.
void Qt_Tree(QTreeWidget* T, TIEC_Device* D, const std::vector<QIcon>& Icons) {
    auto add = [&](QTreeWidgetItem* Parent, const QString& Text, int Image) {
        auto* item = new QTreeWidgetItem();
        item->setText(0, Text);
        item->setIcon(0, Icons[size_t(Image)]);
        if (Parent)
            Parent->addChild(item);
        else
            T->addTopLevelItem(item);
        return item;
    };
    std::function<void(QTreeWidgetItem*, TIEC_DA*)> da = [&](QTreeWidgetItem* P, TIEC_DA* A) {
        QTreeWidgetItem* n = add(P, A->Name(), 4);
        for (TIEC_DA* a : A->List_DA()) da(n, a);
    };
    std::function<void(QTreeWidgetItem*, TIEC_DO*)> dob = [&](QTreeWidgetItem* P, TIEC_DO* O) {
        QTreeWidgetItem* n = add(P, O->Name(), 3);
        for (TIEC_DO* d : O->List_DO()) dob(n, d);
        for (TIEC_DA* a : O->List_DA()) da(n, a);
    };
    QTreeWidgetItem* dev = add(nullptr, D->Name(), 0);
    for (TIEC_LDevice* ld : D->List_LDevice()) {
        QTreeWidgetItem* l = add(dev, ld->Name(), 1);
        for (TIEC_LN* ln : ld->List_LN()) {
            QTreeWidgetItem* n = add(l, ln->Prefix() + ln->lnClass() + ln->Inst(), 2);
            for (TIEC_DO* d : ln->List_DO()) dob(n, d);
            for (TIEC_DataSet* ds : ln->List_DataSet()) add(n, ds->Name(), 5);
            n->setExpanded(true);
        }
        l->setExpanded(true);
    }
    dev->setExpanded(true);
}

void BM_Tree(benchmark::State& State) {
    QTemporaryDir dir;
    Path_Project = dir.path();
    Set_Files();
    QDir().mkpath(dir.filePath("ICD_Catalog"));
    QFile f(dir.filePath("ICD_Catalog/big.icd"));
    f.open(QIODevice::WriteOnly);
    f.write(Big_SCL());
    f.close();
    TFIEC_61850_Access w(nullptr);
    auto* device = new TIEC_Device(Path_Project + "\\ICD_Catalog\\big.icd");
    w.List_IEC_Dev.push_back(device);
    std::vector<QIcon> icons;
    for (int i = 0; i < 6; ++i) icons.push_back(QIcon(QPixmap::fromImage(w.IL_IEC->GetImage(i))));
    // Expanded once beforehand, so both sides time the drawing only.
    w.Show_Tree_IEC_Device(device);
    Clock::duration ours{}, qt{};
    for (auto _ : State) {
        w.TV_IEC_Device->Items()->Clear();
        auto t0 = Clock::now();
        w.Show_Tree_IEC_Device(device);
        auto t1 = Clock::now();
        QTreeWidget t;
        t.setColumnCount(1);
        auto t2 = Clock::now();
        Qt_Tree(&t, device, icons);
        auto t3 = Clock::now();
        ours += t1 - t0;
        qt += t3 - t2;
    }
    State.counters["ours_ms"] = benchmark::Counter(Ms(ours), benchmark::Counter::kAvgIterations);
    State.counters["qt_ms"] = benchmark::Counter(Ms(qt), benchmark::Counter::kAvgIterations);
    State.counters["ratio"] = Ms(qt) > 0 ? Ms(ours) / Ms(qt) : 0;
    State.counters["nodes"] = w.TV_IEC_Device->Items()->Count();
    Path_Project.clear();
}
BENCHMARK(BM_Tree)->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_ShowThousandRows(benchmark::State& State) {
    QTemporaryDir dir;
    Path_Project = dir.path();
    Set_Files();
    QByteArray s = "<IEC_68850_Client><List_ICD_Files/><List_DA_Selected>";
    for (int i = 0; i < 1000; ++i)
        s += "<DA_Item Index=\"0\" bType=\"FLOAT32\" fc=\"MX\" Reference=\"IED1LD0/MMXU" +
             QByteArray::number(i) +
             ".TotW.mag.f\" StartByte=\"0\" NumByte=\"4\" IPAddress=\"10.0.0.1\" Port=\"102\" OnChange=\"N\" "
             "OnCMD=\"N\" OnTimer=\"Y\" Time=\"1000\" Position=\"" +
             QByteArray::number(i) +
             "\" StartBit=\"0\" ReadWrite=\"Read\" Convertion=\"None\" MoltFact=\"NONE\" Mnemonic=\"\"/>";
    s += "</List_DA_Selected></IEC_68850_Client>";
    QFile f(dir.filePath("IEC_61850_Client.xml"));
    f.open(QIODevice::WriteOnly);
    f.write(s);
    f.close();
    TFIEC_61850_Access w(nullptr);
    for (auto _ : State) {
        w.FormShow(nullptr);
        if (w.ACG_DA->RowCount() != 1001) State.SkipWithError("rows missing");
    }
    Path_Project.clear();
}
BENCHMARK(BM_ShowThousandRows)->Unit(benchmark::kMillisecond)->Iterations(5);

} // namespace

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    TApplication::Create(argc, argv);
    AdvGridUnitStartup();
    AdvColumnGridUnitStartup();
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    TApplication::Shutdown();
    return 0;
}
