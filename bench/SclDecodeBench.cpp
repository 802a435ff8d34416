// SCL decoding against pugixml's bare load of the same file, in one run:
//   Large_SCD  a ~50 MB SCD with many IEDs (copies of a sample IED); only the first is decoded;
//   Wide_IED   one IED with 2,000 logical nodes made from a sample's logical nodes and types,
//              with a data set whose members lie in every 20th node.
// Each decoding benchmark reports, besides its time:
//   x_bare_load     its mean time over the mean time of the bare pugixml load of the same file;
//   peak_over_file  the growth of the process's peak resident memory during one decoding,
//                   divided by the file's size.
#include "UIEC_Device.h"

#include <benchmark/benchmark.h>
#include <pugixml.hpp>

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <functional>
#include <string>

#include <unistd.h>

namespace {

const char* Sample = VELMORA_TESTDATA_DIR "/scl/complexModel.icd";

QTemporaryDir& WorkDir() {
    static QTemporaryDir dir;
    return dir;
}

std::string MakeLargeScd() {
    const std::string path = (WorkDir().path() + "/large.scd").toStdString();
    pugi::xml_document doc;
    if (!doc.load_file(Sample)) throw std::runtime_error("sample missing");
    pugi::xml_node scl = doc.child("SCL");
    pugi::xml_node ied = scl.child("IED");
    pugi::xml_node dtt = scl.child("DataTypeTemplates");
    size_t iedSize = 0;
    {
        struct Counter : pugi::xml_writer {
            size_t n = 0;
            void write(const void*, size_t size) override { n += size; }
        } c;
        ied.print(c);
        iedSize = c.n;
    }
    const size_t copies = 50'000'000 / iedSize;
    for (size_t i = 1; i <= copies; ++i) {
        pugi::xml_node copy = scl.insert_copy_before(ied, dtt);
        copy.attribute("name").set_value(("IED" + std::to_string(i)).c_str());
    }
    doc.save_file(path.c_str(), "  ");
    return path;
}

std::string MakeWideIed() {
    const std::string path = (WorkDir().path() + "/wide.icd").toStdString();
    pugi::xml_document doc;
    if (!doc.load_file(Sample)) throw std::runtime_error("sample missing");
    pugi::xml_node scl = doc.child("SCL");
    pugi::xml_node server = scl.child("IED").child("AccessPoint").child("Server");
    // The sample's logical nodes (LN0 of the first logical device, every LN of all of them).
    pugi::xml_document pool;
    pugi::xml_node ln0 = pool.append_copy(server.child("LDevice").child("LN0"));
    for (pugi::xml_node ds = ln0.child("DataSet"); ds; ds = ln0.child("DataSet")) ln0.remove_child(ds);
    for (pugi::xml_node g = ln0.child("GSEControl"); g; g = ln0.child("GSEControl")) ln0.remove_child(g);
    std::vector<pugi::xml_node> lns;
    for (pugi::xml_node ld : server.children("LDevice"))
        for (pugi::xml_node ln : ld.children("LN")) {
            pugi::xml_node copy = pool.append_copy(ln);
            for (pugi::xml_node ds = copy.child("DataSet"); ds; ds = copy.child("DataSet"))
                copy.remove_child(ds);
            for (pugi::xml_node g = copy.child("GSEControl"); g; g = copy.child("GSEControl"))
                copy.remove_child(g);
            lns.push_back(copy);
        }
    while (server.child("LDevice")) server.remove_child(server.child("LDevice"));

    const int devices = 10, perDevice = 200;
    pugi::xml_node dataSet;
    int n = 0;
    for (int d = 0; d < devices; ++d) {
        pugi::xml_node ld = server.append_child("LDevice");
        const std::string inst = "LD" + std::to_string(d);
        ld.append_attribute("inst") = inst.c_str();
        pugi::xml_node l0 = ld.append_copy(ln0);
        if (d == 0) {
            dataSet = l0.append_child("DataSet");
            dataSet.append_attribute("name") = "Wide";
        }
        for (int i = 0; i < perDevice; ++i, ++n) {
            pugi::xml_node ln = ld.append_copy(lns[size_t(n) % lns.size()]);
            const std::string lnInst = std::to_string(i + 1);
            ln.attribute("inst").set_value(lnInst.c_str());
            if (n % 20 == 0) {
                pugi::xml_node f = dataSet.append_child("FCDA");
                f.append_attribute("ldInst") = inst.c_str();
                f.append_attribute("prefix") = ln.attribute("prefix").value();
                f.append_attribute("lnClass") = ln.attribute("lnClass").value();
                f.append_attribute("lnInst") = lnInst.c_str();
                f.append_attribute("doName") = "Mod";
                f.append_attribute("daName") = "q";
                f.append_attribute("fc") = "ST";
            }
        }
    }
    doc.save_file(path.c_str(), "  ");
    return path;
}

const std::string& LargeScd() {
    static const std::string p = MakeLargeScd();
    return p;
}
const std::string& WideIed() {
    static const std::string p = MakeWideIed();
    return p;
}

long ProcStatusKb(const char* key) {
    std::ifstream f("/proc/self/status");
    std::string line;
    const size_t len = std::strlen(key);
    while (std::getline(f, line))
        if (line.compare(0, len, key) == 0) return std::stol(line.substr(len + 1));
    return -1;
}

// Growth of the peak resident memory of a fresh process while it decodes Path once, in bytes
// (-1 when the system cannot say). A fresh process, so that memory freed by earlier benchmarks
// and kept by the allocator does not hide what decoding takes.
double PeakGrowth(const std::string& Path) {
    char exe[4096];
    const ssize_t n = readlink("/proc/self/exe", exe, sizeof(exe) - 1);
    if (n <= 0) return -1;
    exe[n] = 0;
    std::string cmd = "'";
    cmd.append(exe).append("' --peak-decode='").append(Path).append("'");
    FILE* p = popen(cmd.c_str(), "r");
    if (!p) return -1;
    double bytes = -1;
    if (std::fscanf(p, "%lf", &bytes) != 1) bytes = -1;
    pclose(p);
    return bytes;
}

double MeanSeconds(int runs, const std::function<void()>& work) {
    double total = 0;
    for (int i = 0; i < runs; ++i) {
        auto t0 = std::chrono::steady_clock::now();
        work();
        total += std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
    }
    return total / runs;
}

void BareLoad(const std::string& path) {
    pugi::xml_document doc;
    if (!doc.load_file(path.c_str())) throw std::runtime_error("load failed");
    benchmark::DoNotOptimize(doc.first_child());
}

void Decode(const std::string& path) {
    TIEC_Device d(QString::fromStdString(path));
    benchmark::DoNotOptimize(d.List_LDevice().size());
}

void RunBareLoad(benchmark::State& state, const std::string& path) {
    for (auto _ : state) BareLoad(path);
    state.counters["file_MB"] = double(QFileInfo(QString::fromStdString(path)).size()) / 1e6;
}

void RunDecode(benchmark::State& state, const std::string& path) {
    const double fileSize = double(QFileInfo(QString::fromStdString(path)).size());
    const double peak = PeakGrowth(path);
    const double bare = MeanSeconds(3, [&] { BareLoad(path); });
    double total = 0;
    int64_t runs = 0;
    for (auto _ : state) {
        auto t0 = std::chrono::steady_clock::now();
        Decode(path);
        total += std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
        ++runs;
    }
    state.counters["x_bare_load"] = runs ? (total / double(runs)) / bare : 0;
    state.counters["peak_over_file"] = peak < 0 ? -1 : peak / fileSize;
    state.counters["file_MB"] = fileSize / 1e6;
}

void BM_Large_SCD_BareLoad(benchmark::State& s) {
    RunBareLoad(s, LargeScd());
}
void BM_Large_SCD_Decode(benchmark::State& s) {
    RunDecode(s, LargeScd());
}
void BM_Wide_IED_BareLoad(benchmark::State& s) {
    RunBareLoad(s, WideIed());
}
void BM_Wide_IED_Decode(benchmark::State& s) {
    RunDecode(s, WideIed());
}

// The model of the wide IED with every logical node expanded (what the editor's tree shows).
void BM_Wide_IED_DecodeAndExpandAll(benchmark::State& state) {
    const std::string& path = WideIed();
    for (auto _ : state) {
        TIEC_Device d(QString::fromStdString(path));
        size_t n = 0;
        for (TIEC_LDevice* ld : d.List_LDevice())
            for (TIEC_LN* ln : ld->List_LN()) n += ln->List_DO().size();
        benchmark::DoNotOptimize(n);
    }
}

} // namespace

BENCHMARK(BM_Large_SCD_BareLoad)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Large_SCD_Decode)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Wide_IED_BareLoad)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Wide_IED_Decode)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Wide_IED_DecodeAndExpandAll)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
    // The child of PeakGrowth: decode once and print the growth of the peak resident memory.
    const std::string mode = "--peak-decode=";
    if (argc == 2 && std::strncmp(argv[1], mode.c_str(), mode.size()) == 0) {
        Decode(Sample); // first use of the code paths, so that their pages are not counted
        {
            std::ofstream clear("/proc/self/clear_refs");
            clear << "5"; // resets the peak to the current resident size
        }
        const long before = ProcStatusKb("VmRSS:");
        Decode(argv[1] + mode.size());
        const long peak = ProcStatusKb("VmHWM:");
        std::printf("%.0f\n", before < 0 || peak < 0 ? -1.0 : double(peak - before) * 1024.0);
        return 0;
    }
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
