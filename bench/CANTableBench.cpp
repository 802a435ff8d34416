// The CAN receive table full (512 rows of 15 columns, every byte position set) against what the
// work costs at the least, in one run:
//   Show  the window's show (reset, limits and lists, the file loaded);
//   OK    the window's OK (every row checked, the file written).
// Each benchmark measures, in alternating iterations of the same loop, its baseline as well:
//   show  pugixml parsing the same file and filling the same cells inside one update lock;
//   OK    reading the same cells inside one update lock and pugixml writing the same file.
// and reports x_baseline, the median of the window's times over the median of the baseline's
// (processor time of the thread). The aim is at most 3.
#include "Dialogs.h"
#include "Forms.h"
#include "ULang.h"
#include "UProject.h"
#include "UReceiveCAN.h"

#include <benchmark/benchmark.h>
#include <pugixml.hpp>

#include <QFile>
#include <QTemporaryDir>

#include <algorithm>
#include <ctime>
#include <vector>

namespace {

const char* const Attributes[] = {"Enable", "COBID", "CAN_Type", "Dim",   "TimeOut", "Byte1", "Byte2",
                                  "Byte3",  "Byte4", "Byte5",    "Byte6", "Byte7",   "Byte8", "Mnemonic"};

double ThreadSeconds() {
    timespec ts{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return double(ts.tv_sec) + double(ts.tv_nsec) * 1e-9;
}

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

struct Bench_Project {
    QTemporaryDir Dir;
    QString File;
    TFReceiveCAN* Editor = nullptr;

    Bench_Project() {
        Path_Project = Dir.path();
        Set_Files();
        File = NativePath(File_CAN_Rec_Frames);
        pugi::xml_document doc;
        pugi::xml_node root = doc.append_child("Receive_Frames");
        for (int r = 0; r < 512; ++r) {
            pugi::xml_node row = root.append_child("row");
            const std::string values[] = {"Y",
                                          std::to_string(r + 1),
                                          r % 2 ? "2.0A (11 bits)" : "2.0B (29 bits)",
                                          "8",
                                          "100",
                                          std::to_string(r % 1438),
                                          std::to_string((r + 1) % 1438),
                                          std::to_string((r + 2) % 1438),
                                          std::to_string((r + 3) % 1438),
                                          "None",
                                          std::to_string((r + 5) % 1438),
                                          std::to_string((r + 6) % 1438),
                                          std::to_string((r + 7) % 1438),
                                          "Frame " + std::to_string(r + 1)};
            for (int a = 0; a < 14; ++a) row.append_attribute(Attributes[a]).set_value(values[a].c_str());
        }
        doc.append_child(pugi::node_comment).set_value("SW_VERSION = 1.000");
        doc.save_file(File.toLocal8Bit().constData(), "\t",
                      pugi::format_indent | pugi::format_no_declaration);
        Editor = new TFReceiveCAN(nullptr);
    }
    ~Bench_Project() { TObject::Free(Editor); }
};

Bench_Project* Project = nullptr;

void Baseline_Show(TAdvColumnGrid* G, const QString& File) {
    pugi::xml_document doc;
    doc.load_file(File.toLocal8Bit().constData());
    G->BeginUpdate();
    int r = 1;
    for (pugi::xml_node row : doc.first_child().children()) {
        for (int a = 0; a < 14; ++a)
            G->SetCellEx(a + 1, r, QString::fromUtf8(row.attribute(Attributes[a]).value()));
        ++r;
    }
    G->EndUpdate();
}

void Baseline_OK(TAdvColumnGrid* G, const QString& File) {
    pugi::xml_document doc;
    pugi::xml_node root = doc.append_child("Receive_Frames");
    doc.append_child(pugi::node_comment).set_value("SW_VERSION = 1.000");
    G->BeginUpdate();
    for (int r = 1; r <= 512; ++r) {
        pugi::xml_node row = root.append_child("row");
        for (int a = 0; a < 14; ++a)
            row.append_attribute(Attributes[a]).set_value(G->GetCellEx(a + 1, r).toUtf8().constData());
    }
    G->EndUpdate();
    doc.save_file(File.toLocal8Bit().constData(), "\t", pugi::format_indent | pugi::format_no_declaration);
}

template <class Editor_Step, class Baseline_Step>
void Measure(benchmark::State& State, Editor_Step Step, Baseline_Step Baseline) {
    std::vector<double> editor, baseline;
    for (auto _ : State) {
        double t0 = ThreadSeconds();
        Baseline();
        double t1 = ThreadSeconds();
        Step();
        double t2 = ThreadSeconds();
        baseline.push_back(t1 - t0);
        editor.push_back(t2 - t1);
    }
    State.counters["median_ms"] = Median(editor) * 1e3;
    State.counters["baseline_median_ms"] = Median(baseline) * 1e3;
    State.counters["x_baseline"] = Median(editor) / std::max(Median(baseline), 1e-9);
}

void BM_Show(benchmark::State& State) {
    TFReceiveCAN* e = Project->Editor;
    TAdvColumnGrid* g = e->ACG_CAN_Receive;
    Measure(
        State, [&] { e->FormShow(e); }, [&] { Baseline_Show(g, Project->File); });
}

void BM_OK(benchmark::State& State) {
    TFReceiveCAN* e = Project->Editor;
    TAdvColumnGrid* g = e->ACG_CAN_Receive;
    e->FormShow(e);
    const QString other = Project->File + QStringLiteral(".baseline");
    Measure(
        State,
        [&] {
            e->SetModalResult(mrNone);
            e->Btn_OKClick(e);
            if (e->ModalResult() != mrOk) State.SkipWithError("OK did not save");
        },
        [&] { Baseline_OK(g, other); });
}

BENCHMARK(BM_Show)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OK)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    TApplication::Create(argc, argv);
    Application->Initialize();
    // A full valid table raises no message; any message would be a fault of the setup.
    SetMessageDlgHook([](const TMessageDlgRequest& R) {
        fprintf(stderr, "unexpected message: %s\n", R.Msg.toUtf8().constData());
        return int(mrYes);
    });
    Lang_Text.Load_Default_Lang();
    Project = new Bench_Project();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    delete Project;
    TApplication::Shutdown();
    return 0;
}
