// SCL decoding against pugixml's bare load of the same file, in one run:
//   Large_SCD  a ~50 MB SCD with many IEDs (copies of a sample IED); only the first is decoded;
//   Wide_IED   one IED with 2,000 logical nodes: the sample's logical nodes as the sample writes
//              them (with their instance data), cycled over ten logical devices, on the sample's
//              type templates; the first LN0 holds a data set whose members lie in every 20th node.
// Each decoding benchmark reports, besides its time:
//   x_bare_load       the median time of a decoding over the median time of a bare pugixml load of
//                     the same file, the two measured in alternating blocks in the same loop, as
//                     processor time of the thread (user and system), so that other programs on
//                     the machine do not count;
//   peak_over_file    the peak of live heap bytes during one decoding (above what was live
//                     before it), divided by the file's size;
//   bare_peak_over_file  the same for the bare load, the parser's own document;
//   median_ms, bare_median_ms  the two medians.
// The program keeps freed memory with the allocator (see main), so that no run pays for giving
// memory back to the system and taking it again after the run before it.
// Live heap bytes are counted by the program's own malloc family (glibc), so they hold every
// allocation: the parser's pages, Qt's strings, the model. Under a sanitizer the counts are
// not available and read -1.
//
// Other uses of the program:
//   --write-files=DIR  writes large.scd and wide.icd to DIR (for profiling);
//   --decode=FILE[,N]  decodes FILE N times (default 1), for a profiler;
//   --bare-load=FILE[,N]  loads FILE N times with pugixml alone, the same way;
//   --dump=FILE        decodes FILE and prints the whole model, every node expanded (to compare
//                      the models of two versions of the decoder).
#include "UIEC_Device.h"
#include "VelmoraPaths.h"

#include <benchmark/benchmark.h>
#include <pugixml.hpp>

#include <QFileInfo>
#include <QTemporaryDir>

#include <algorithm>
#include <atomic>
#include <ctime>
#include <cstdio>
#include <cstring>
#include <set>
#include <string>
#include <vector>

#include <malloc.h>
#include <unistd.h>

// ---- Live heap bytes ---------------------------------------------------------------------------

#if defined(__SANITIZE_ADDRESS__)
#define SCL_BENCH_COUNT_HEAP 0
#elif defined(__has_feature)
#if __has_feature(address_sanitizer) || __has_feature(memory_sanitizer) || __has_feature(thread_sanitizer)
#define SCL_BENCH_COUNT_HEAP 0
#endif
#endif
#if !defined(SCL_BENCH_COUNT_HEAP) && defined(__GLIBC__)
#define SCL_BENCH_COUNT_HEAP 1
#endif
#ifndef SCL_BENCH_COUNT_HEAP
#define SCL_BENCH_COUNT_HEAP 0
#endif

namespace {

// Counted only while a measurement runs, so that the timed runs pay nothing for it.
std::atomic<bool> Counting{false};
std::atomic<long long> LiveBytes{0};
std::atomic<long long> PeakBytes{0};

[[maybe_unused]] void Count(long long delta) {
    if (!Counting.load(std::memory_order_relaxed)) return;
    const long long now = LiveBytes.fetch_add(delta, std::memory_order_relaxed) + delta;
    long long peak = PeakBytes.load(std::memory_order_relaxed);
    while (now > peak && !PeakBytes.compare_exchange_weak(peak, now, std::memory_order_relaxed)) {
    }
}

} // namespace

#if SCL_BENCH_COUNT_HEAP
// Every allocation of the program passes through these (operator new, Qt and pugixml call
// malloc); they forward to glibc's allocator and count the usable size of each block.
extern "C" {
void* __libc_malloc(size_t);
void __libc_free(void*);
void* __libc_calloc(size_t, size_t);
void* __libc_realloc(void*, size_t);
void* __libc_memalign(size_t, size_t);

void* malloc(size_t n) {
    void* p = __libc_malloc(n);
    if (p && Counting.load(std::memory_order_relaxed)) Count((long long)malloc_usable_size(p));
    return p;
}
void free(void* p) {
    if (!p) return;
    if (Counting.load(std::memory_order_relaxed)) Count(-(long long)malloc_usable_size(p));
    __libc_free(p);
}
void* calloc(size_t n, size_t size) {
    void* p = __libc_calloc(n, size);
    if (p && Counting.load(std::memory_order_relaxed)) Count((long long)malloc_usable_size(p));
    return p;
}
void* realloc(void* p, size_t n) {
    const long long old =
        p && Counting.load(std::memory_order_relaxed) ? (long long)malloc_usable_size(p) : 0;
    void* q = __libc_realloc(p, n);
    if (q && Counting.load(std::memory_order_relaxed))
        Count((long long)malloc_usable_size(q) - old);
    else if (p && n == 0)
        Count(-old); // freed
    return q;
}
void* memalign(size_t align, size_t n) {
    void* p = __libc_memalign(align, n);
    if (p && Counting.load(std::memory_order_relaxed)) Count((long long)malloc_usable_size(p));
    return p;
}
void* aligned_alloc(size_t align, size_t n) {
    return memalign(align, n);
}
int posix_memalign(void** out, size_t align, size_t n) {
    void* p = memalign(align, n);
    if (!p) return n ? 12 /* ENOMEM */ : 0;
    *out = p;
    return 0;
}
void* valloc(size_t n) {
    return memalign(size_t(sysconf(_SC_PAGESIZE)), n);
}
void* pvalloc(size_t n) {
    const size_t page = size_t(sysconf(_SC_PAGESIZE));
    return memalign(page, (n + page - 1) / page * page);
}
}
#endif

namespace {

// The peak of live heap bytes while Work runs, above what was live when it started (-1 when
// the program cannot count).
template <class F> double PeakDuring(F&& Work) {
    if (!SCL_BENCH_COUNT_HEAP) {
        Work();
        return -1;
    }
    LiveBytes.store(0);
    PeakBytes.store(0);
    Counting.store(true);
    Work();
    Counting.store(false);
    return double(PeakBytes.load());
}

// ---- Files -------------------------------------------------------------------------------------

const char* Sample = VELMORA_TESTDATA_DIR "/scl/complexModel.icd";

QTemporaryDir& WorkDir() {
    static QTemporaryDir dir;
    return dir;
}

void MakeLargeScd(const std::string& path) {
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
}

void MakeWideIed(const std::string& path) {
    pugi::xml_document doc;
    if (!doc.load_file(Sample)) throw std::runtime_error("sample missing");
    pugi::xml_node scl = doc.child("SCL");
    pugi::xml_node server = scl.child("IED").child("AccessPoint").child("Server");
    // The sample's logical nodes (LN0 of the first logical device, every LN of all of them) as
    // the sample writes them, with their instance data; their data sets and GOOSE controls are
    // left out, as their members would name nodes that are not there.
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
            dataSet = l0.prepend_child("DataSet");
            dataSet.append_attribute("name") = "Wide";
        }
        for (int i = 0; i < perDevice; ++i, ++n) {
            pugi::xml_node ln = ld.append_copy(lns[size_t(n) % lns.size()]);
            const std::string lnInst = std::to_string(i + 1);
            ln.attribute("inst").set_value(lnInst.c_str());
            if (n % 20 == 0) {
                // The member: the first attribute of the first data object of the node's type.
                pugi::xml_node dtt = scl.child("DataTypeTemplates");
                pugi::xml_node object =
                    dtt.find_child_by_attribute("LNodeType", "id", ln.attribute("lnType").value())
                        .child("DO");
                pugi::xml_node attr =
                    dtt.find_child_by_attribute("DOType", "id", object.attribute("type").value()).child("DA");
                pugi::xml_node f = dataSet.append_child("FCDA");
                f.append_attribute("ldInst") = inst.c_str();
                f.append_attribute("prefix") = ln.attribute("prefix").value();
                f.append_attribute("lnClass") = ln.attribute("lnClass").value();
                f.append_attribute("lnInst") = lnInst.c_str();
                f.append_attribute("doName") = object.attribute("name").value();
                f.append_attribute("daName") = attr.attribute("name").value();
                f.append_attribute("fc") = attr.attribute("fc").value();
            }
        }
    }
    doc.save_file(path.c_str(), "  ");
}

const std::string& LargeScd() {
    static const std::string p = [] {
        const std::string path = (WorkDir().path() + "/large.scd").toStdString();
        MakeLargeScd(path);
        return path;
    }();
    return p;
}
const std::string& WideIed() {
    static const std::string p = [] {
        const std::string path = (WorkDir().path() + "/wide.icd").toStdString();
        MakeWideIed(path);
        return path;
    }();
    return p;
}

// ---- Measuring ---------------------------------------------------------------------------------

double FileSize(const std::string& path) {
    return double(QFileInfo(QString::fromStdString(path)).size());
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

// Decodes and expands every logical node, as the editor's tree shows them.
void DecodeAndExpandAll(const std::string& path) {
    TIEC_Device d(QString::fromStdString(path));
    size_t n = 0;
    for (TIEC_LDevice* ld : d.List_LDevice())
        for (TIEC_LN* ln : ld->List_LN()) n += ln->List_DO().size();
    benchmark::DoNotOptimize(n);
}

// The processor time of the calling thread (user and system, so page faults count): on a busy
// machine this is what the work costs, without the time other programs have the processor.
double ThreadSeconds() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return double(t.tv_sec) + double(t.tv_nsec) * 1e-9;
}

double Seconds(void (*Work)(const std::string&), const std::string& path) {
    const double t0 = ThreadSeconds();
    Work(path);
    return ThreadSeconds() - t0;
}

double Median(std::vector<double> v) {
    if (v.empty()) return 0;
    std::sort(v.begin(), v.end());
    const size_t m = v.size() / 2;
    return v.size() % 2 ? v[m] : (v[m - 1] + v[m]) / 2;
}

void RunBareLoad(benchmark::State& state, const std::string& path) {
    const double peak = PeakDuring([&] { BareLoad(path); });
    for (auto _ : state) BareLoad(path);
    state.counters["file_MB"] = FileSize(path) / 1e6;
    state.counters["peak_over_file"] = peak < 0 ? -1 : peak / FileSize(path);
}

// Times Work against the bare load, the two alternating in blocks so that both see the same
// machine. Each block's first run is not counted: it pays for what the other side left behind
// (the allocator sorts the blocks freed by the run before on the next request for memory).
void RunAgainstBare(benchmark::State& state, const std::string& path, void (*Work)(const std::string&)) {
    const double fileSize = FileSize(path);
    Work(path); // first use of the code paths
    const double peak = PeakDuring([&] { Work(path); });
    const double barePeak = PeakDuring([&] { BareLoad(path); });
    constexpr int Block = 8;
    std::vector<double> work, bare;
    int n = 0;
    bool first = false;
    for (auto _ : state) {
        if (n++ % Block == 0) {
            state.PauseTiming();
            for (int k = 0; k < Block; ++k) {
                const double t = Seconds(BareLoad, path);
                if (k) bare.push_back(t);
            }
            first = true;
            state.ResumeTiming();
        }
        const double t = Seconds(Work, path);
        if (!first) work.push_back(t);
        first = false;
    }
    state.counters["x_bare_load"] = work.empty() ? 0 : Median(work) / Median(bare);
    state.counters["median_ms"] = Median(work) * 1e3;
    state.counters["bare_median_ms"] = Median(bare) * 1e3;
    state.counters["peak_over_file"] = peak < 0 ? -1 : peak / fileSize;
    state.counters["bare_peak_over_file"] = barePeak < 0 ? -1 : barePeak / fileSize;
    state.counters["file_MB"] = fileSize / 1e6;
}

void BM_Large_SCD_BareLoad(benchmark::State& s) {
    RunBareLoad(s, LargeScd());
}
void BM_Large_SCD_Decode(benchmark::State& s) {
    RunAgainstBare(s, LargeScd(), Decode);
}
void BM_Wide_IED_BareLoad(benchmark::State& s) {
    RunBareLoad(s, WideIed());
}
void BM_Wide_IED_Decode(benchmark::State& s) {
    RunAgainstBare(s, WideIed(), Decode);
}
// The model of the wide IED with every logical node expanded (what the editor's tree shows).
void BM_Wide_IED_DecodeAndExpandAll(benchmark::State& s) {
    RunAgainstBare(s, WideIed(), DecodeAndExpandAll);
}

// ---- Model dump --------------------------------------------------------------------------------

void Print(const String& s) {
    std::fputs(s.toUtf8().constData(), stdout);
}

void DumpDA(const TIEC_DA* a, int depth) {
    Print(String(depth, QLatin1Char(' ')) + "DA " + a->Name() + " ref=" + a->Reference() + " fc=" + a->FC() +
          " bType=" + a->bType() + "\n");
    for (const TIEC_DA* c : a->List_DA()) DumpDA(c, depth + 1);
}

void DumpDO(const TIEC_DO* d, int depth) {
    Print(String(depth, QLatin1Char(' ')) + "DO " + d->Name() + " ref=" + d->Reference() + "\n");
    for (const TIEC_DO* c : d->List_DO()) DumpDO(c, depth + 1);
    for (const TIEC_DA* c : d->List_DA()) DumpDA(c, depth + 1);
}

void Collect(const TIEC_DA* a, std::set<const TIEC_DA*>& all) {
    all.insert(a);
    for (const TIEC_DA* c : a->List_DA()) Collect(c, all);
}

void Collect(const TIEC_DO* d, std::set<const TIEC_DA*>& all) {
    for (const TIEC_DO* c : d->List_DO()) Collect(c, all);
    for (const TIEC_DA* c : d->List_DA()) Collect(c, all);
}

int Dump(const std::string& path) {
    TIEC_Device d(QString::fromStdString(path));
    // Every member must be an attribute of the model itself.
    std::set<const TIEC_DA*> all;
    for (const TIEC_LDevice* ld : d.List_LDevice())
        for (const TIEC_LN* ln : ld->List_LN())
            for (const TIEC_DO* o : ln->List_DO()) Collect(o, all);
    Print("Device " + d.Name() + " file=" + d.FileName() + "\n");
    for (const TIEC_LDevice* ld : d.List_LDevice()) {
        Print(" LDevice " + ld->Name() + "\n");
        for (const TIEC_LN* ln : ld->List_LN()) {
            Print("  LN class=" + ln->lnClass() + " type=" + ln->lnType() + " prefix=" + ln->Prefix() +
                  " inst=" + ln->Inst() + " ref=" + ln->Reference() + "\n");
            for (const TIEC_DO* o : ln->List_DO()) DumpDO(o, 3);
            for (const TIEC_DataSet* ds : ln->List_DataSet()) {
                Print("   DataSet " + ds->Name() + " ref=" + ds->Reference() + " goose=" + ds->GooseName() +
                      "\n");
                for (const TIEC_DA* m : ds->List_DA())
                    Print("    member " + m->Reference() + " fc=" + m->FC() +
                          (all.count(m) ? "" : " OUTSIDE THE MODEL") + "\n");
            }
        }
    }
    for (const String& w : d.Warnings()) Print("Warning " + w + "\n");
    return 0;
}

} // namespace

BENCHMARK(BM_Large_SCD_BareLoad)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Large_SCD_Decode)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Wide_IED_BareLoad)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Wide_IED_Decode)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Wide_IED_DecodeAndExpandAll)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
    // Freed memory stays with the allocator instead of going back to the system after each run:
    // otherwise whether a run has to fault its pages in again depends on what ran before it
    // (the bare load alone measured three times slower after one program than after another),
    // and the figures measure the system's page handling more than the parsing and decoding.
    // Both sides of every comparison run under the same setting.
#if defined(__GLIBC__)
    mallopt(M_TRIM_THRESHOLD, 1 << 30);
    mallopt(M_MMAP_THRESHOLD, 32 << 20);
#endif
    auto option = [&](const char* name, std::string& value) {
        const size_t len = std::strlen(name);
        if (argc == 2 && std::strncmp(argv[1], name, len) == 0) {
            value = argv[1] + len;
            return true;
        }
        return false;
    };
    std::string value;
    if (option("--write-files=", value)) {
        MakeLargeScd(value + "/large.scd");
        MakeWideIed(value + "/wide.icd");
        return 0;
    }
    const bool bare = option("--bare-load=", value);
    if (bare || option("--decode=", value)) {
        int times = 1;
        const size_t comma = value.rfind(',');
        if (comma != std::string::npos) {
            times = std::max(1, std::atoi(value.c_str() + comma + 1));
            value.resize(comma);
        }
        for (int i = 0; i < times; ++i) bare ? BareLoad(value) : Decode(value);
        return 0;
    }
    if (option("--dump=", value)) return Dump(value);

    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
