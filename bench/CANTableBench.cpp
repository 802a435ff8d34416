// The CAN receive table full (512 rows of 15 columns, every byte position set) against what the
// work costs at the least, in one run:
//   Show  the window's show (reset, limits and lists, the file loaded);
//   OK    the window's OK (every row checked, the file written).
// Each benchmark measures, in alternating iterations of the same loop, its baseline as well:
//   show  pugixml parsing the same file and filling the same cells inside one update lock;
//   OK    reading the same cells inside one update lock and pugixml writing the same file.
// and reports x_baseline, the median of the window's times over the median of the baseline's
// (processor time of the thread). The aim is at most 3.
// The BACnet object tables are measured the same way in their own shape: two tables of 2000 rows
// of 8 columns shown (BM_BACnet_Show); OK over 1000 rows in each table (BM_BACnet_OK), the most
// the row limit of both tables together lets it save.
#include "Dialogs.h"
#include "Forms.h"
#include "ULang.h"
#include "UBACnetSlaveSetAccess.h"
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

const char* const BACnet_Attributes[] = {"Data_Type", "Eng_Unit", "Length",  "Position",
                                         "Bit",       "Swap",     "Mnemonic"};
const char* const BACnet_Sections[] = {"BACnet_in_Read", "BACnet_in_Write"};

// The BACnet tables' file with Rows valid rows in each table.
void Write_BACnet_File(const QString& File, int Rows) {
    pugi::xml_document doc;
    pugi::xml_node root = doc.append_child("BACnet_to_Modbus");
    for (int t = 0; t < 2; ++t) {
        pugi::xml_node section = root.append_child(BACnet_Sections[t]);
        for (int r = 0; r < Rows; ++r) {
            pugi::xml_node row = section.append_child("row");
            const std::string values[] = {t == 0 ? "Analog Input" : "Analog Out",
                                          std::to_string(r % 237),
                                          "4",
                                          std::to_string(r % 1496),
                                          "",
                                          r % 2 ? "Y" : "N",
                                          "Object " + std::to_string(r + 1)};
            for (int a = 0; a < 7; ++a)
                row.append_attribute(BACnet_Attributes[a]).set_value(values[a].c_str());
        }
    }
    doc.append_child(pugi::node_comment).set_value("SW_VERSION = 1.001");
    doc.save_file(File.toLocal8Bit().constData(), "\t", pugi::format_indent | pugi::format_no_declaration);
}

// The file's rows into both grids, attributes in column order (the editor's columns 1 .. 7).
const int BACnet_Column_Of[] = {1, 2, 5, 3, 4, 6, 7};

void Baseline_BACnet_Show(TFBACnetSlaveSetAccess* E, const QString& File) {
    pugi::xml_document doc;
    doc.load_file(File.toLocal8Bit().constData());
    for (int t = 0; t < 2; ++t) {
        TAdvColumnGrid* g = E->Grid(t);
        g->BeginUpdate();
        int r = 1;
        for (pugi::xml_node row : doc.first_child().child(BACnet_Sections[t]).children()) {
            for (int a = 0; a < 7; ++a)
                g->SetCellEx(BACnet_Column_Of[a], r,
                             QString::fromUtf8(row.attribute(BACnet_Attributes[a]).value()));
            ++r;
        }
        g->EndUpdate();
    }
}

void Baseline_BACnet_OK(TFBACnetSlaveSetAccess* E, const QString& File, int Rows) {
    pugi::xml_document doc;
    pugi::xml_node root = doc.append_child("BACnet_to_Modbus");
    doc.append_child(pugi::node_comment).set_value("SW_VERSION = 1.001");
    for (int t = 0; t < 2; ++t) {
        TAdvColumnGrid* g = E->Grid(t);
        pugi::xml_node section = root.append_child(BACnet_Sections[t]);
        g->BeginUpdate();
        for (int r = 1; r <= Rows; ++r) {
            pugi::xml_node row = section.append_child("row");
            for (int a = 0; a < 7; ++a)
                row.append_attribute(BACnet_Attributes[a])
                    .set_value(g->GetCellEx(BACnet_Column_Of[a], r).toUtf8().constData());
        }
        g->EndUpdate();
    }
    doc.save_file(File.toLocal8Bit().constData(), "\t", pugi::format_indent | pugi::format_no_declaration);
}

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

void BM_BACnet_Show(benchmark::State& State) {
    auto* e = new TFBACnetSlaveSetAccess(nullptr);
    const QString file = NativePath(File_BACnet_Slave_SetAccess);
    Write_BACnet_File(file, 2000);
    Measure(
        State, [&] { e->FormShow(e); }, [&] { Baseline_BACnet_Show(e, file); });
    if (e->ACG_BACnet_in_Write->GetCellEx(7, 2000) != QStringLiteral("Object 2000"))
        State.SkipWithError("the tables were not read whole");
    TObject::Free(e);
}

void BM_BACnet_OK(benchmark::State& State) {
    auto* e = new TFBACnetSlaveSetAccess(nullptr);
    const QString file = NativePath(File_BACnet_Slave_SetAccess);
    Write_BACnet_File(file, 1000);
    e->FormShow(e);
    const QString other = file + QStringLiteral(".baseline");
    Measure(
        State,
        [&] {
            e->SetModalResult(mrNone);
            e->bitbtn1Click(e);
            if (e->ModalResult() != mrOk) State.SkipWithError("OK did not save");
        },
        [&] { Baseline_BACnet_OK(e, other, 1000); });
    TObject::Free(e);
}

BENCHMARK(BM_Show)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OK)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BACnet_Show)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BACnet_OK)->Unit(benchmark::kMillisecond);

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
