// SCL decoding against pugixml's bare load of the same file, in one run:
//   Large_SCD  a ~50 MB SCD with many IEDs (copies of a sample IED); only the first is decoded;
//   Wide_IED   one IED with one logical device of 2,000 logical nodes of the sample's few types
//              (as the sample writes them, with their instance data), every third node holding a
//              data set of four members that name attributes of the nodes after it (667 data sets,
//              2,668 members, all resolvable);
//   File<NAME> every SCL file given on the command line, measured the same way.
// For each file: its bare load; its decoding; its decoding with every logical node expanded (what
// the mapping editor's tree shows). The decoding benchmarks report, besides their time:
//   x_bare_load       the median time of a decoding over the median time of a bare pugixml load of
//                     the same file, the two measured in alternating blocks in the same loop, as
//                     processor time of the thread (user and system), so that other programs on
//                     the machine do not count;
//   peak_over_file    the peak of live heap bytes during one decoding (above what was live
//                     before it), divided by the file's size;
//   bare_peak_over_file  the same for the bare load, the parser's own document;
//   median_ms, bare_median_ms  the two medians;
//   fresh_*           the same figures for a program that has just started: each measured in
//                     processes of their own doing one decoding or one bare load after start,
//                     without the allocator tuning of the warm loop (time: median of five).
// The program keeps freed memory with the allocator in the warm loop (see main), so that no run
// pays for giving memory back to the system and taking it again after the run before it.
// Live heap bytes are counted by the program's own malloc family (glibc), so they hold every
// allocation: the parser's pages, Qt's strings, the model. Under a sanitizer the counts are
// not available and read -1.
//
// Usage: bench_scl_decode [benchmark options] [FILE...]. Other uses of the program:
//   --write-files=DIR  writes large.scd and wide.icd to DIR (for profiling). Both are made from
//                      the shared test data's complexModel.icd; without it they are skipped, with a
//                      message, and only the files on the command line are measured;
//   --decode=FILE[,N]  decodes FILE N times (default 1), for a profiler;
//   --bare-load=FILE[,N]  loads FILE N times with pugixml alone, the same way;
//   --dump=FILE        decodes FILE and prints the whole model, every node expanded (to compare
//                      the models of two versions of the decoder).
#include "UIEC_Device.h"
#include "VelmoraPaths.h"

#include <benchmark/benchmark.h>
#include <pugixml.hpp>

#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include <algorithm>
#include <atomic>
#include <ctime>
#include <cstdio>
#include <cstring>
#include <functional>
#include <map>
#include <set>
#include <stdexcept>
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

// Whether the sample the generated files are made of is there (the shared test data may be
// absent); if not, says so once.
bool HaveSample() {
    static const bool have = [] {
        const bool exists = QFileInfo::exists(QString::fromUtf8(Sample));
        if (!exists)
            std::fprintf(stderr,
                         "The sample SCL file %s is missing: the generated files (large.scd, wide.icd) and "
                         "their benchmarks are skipped.\n",
                         Sample);
        return exists;
    }();
    return have;
}

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
        ied.print(c, "  ", pugi::format_default, pugi::encoding_auto, 1); // as the file is saved
        iedSize = c.n;
    }
    const size_t copies = 50'000'000 / iedSize;
    for (size_t i = 1; i <= copies; ++i) {
        pugi::xml_node copy = scl.insert_copy_before(ied, dtt);
        copy.attribute("name").set_value(("IED" + std::to_string(i)).c_str());
    }
    doc.save_file(path.c_str(), "  ");
}

// The leaf attributes of a logical-node type as data-set members name them: the data object's
// path (with sub-data objects) and the attribute's path (through nested attributes), with the
// attribute's functional constraint.
struct TLeaf {
    std::string DoName, DaName, FC;
};

void Leaves(pugi::xml_node dtt, const char* kind, const char* type, const std::string& doName,
            const std::string& daName, const std::string& fc, int depth, std::vector<TLeaf>& out) {
    if (depth > 8) return;
    pugi::xml_node t = dtt.find_child_by_attribute(kind, "id", type);
    for (pugi::xml_node c : t.children()) {
        const std::string name = c.attribute("name").value();
        const std::string cname = c.name();
        if (cname == "SDO") {
            Leaves(dtt, "DOType", c.attribute("type").value(), doName + "." + name, "", "", depth + 1, out);
        } else if (cname == "DA" || cname == "BDA") {
            const std::string path = daName.empty() ? name : daName + "." + name;
            const std::string own = c.attribute("fc") ? c.attribute("fc").value() : fc;
            const std::string bType = c.attribute("bType").value();
            if (bType == "Struct")
                Leaves(dtt, "DAType", c.attribute("type").value(), doName, path, own, depth + 1, out);
            else
                out.push_back({doName, path, own});
        }
    }
}

void MakeWideIed(const std::string& path) {
    pugi::xml_document doc;
    if (!doc.load_file(Sample)) throw std::runtime_error("sample missing");
    pugi::xml_node scl = doc.child("SCL");
    pugi::xml_node server = scl.child("IED").child("AccessPoint").child("Server");
    pugi::xml_node dtt = scl.child("DataTypeTemplates");
    // The sample's logical nodes (LN0 of the first logical device, every LN of all of them) as
    // the sample writes them, with their instance data; their data sets and GOOSE controls are
    // left out, as their members would name nodes that are not there.
    pugi::xml_document pool;
    auto take = [&](pugi::xml_node ln) {
        pugi::xml_node copy = pool.append_copy(ln);
        for (pugi::xml_node ds = copy.child("DataSet"); ds; ds = copy.child("DataSet")) copy.remove_child(ds);
        for (pugi::xml_node g = copy.child("GSEControl"); g; g = copy.child("GSEControl"))
            copy.remove_child(g);
        return copy;
    };
    pugi::xml_node ln0 = take(server.child("LDevice").child("LN0"));
    std::vector<pugi::xml_node> lns;
    for (pugi::xml_node ld : server.children("LDevice"))
        for (pugi::xml_node ln : ld.children("LN")) lns.push_back(take(ln));
    while (server.child("LDevice")) server.remove_child(server.child("LDevice"));

    // One logical device: LN0 and 1,999 logical nodes of the sample's few types.
    constexpr int Nodes = 2000;
    pugi::xml_node ld = server.append_child("LDevice");
    ld.append_attribute("inst") = "LD0";
    std::vector<pugi::xml_node> nodes{ld.append_copy(ln0)};
    for (int i = 1; i < Nodes; ++i) {
        pugi::xml_node ln = ld.append_copy(lns[size_t(i - 1) % lns.size()]);
        ln.attribute("inst").set_value(std::to_string(i).c_str());
        nodes.push_back(ln);
    }
    // Every third node holds a data set (667 of them) of four members: leaf attributes of the
    // next nodes, named as tools write them (dotted paths through sub-objects and structures),
    // every fourth one without daName (the first leaf with the member's constraint).
    size_t pick = 0;
    int sets = 0;
    for (int i = 0; i < Nodes; i += 3, ++sets) {
        pugi::xml_node ds = nodes[size_t(i)].prepend_child("DataSet");
        ds.append_attribute("name") = ("DS" + std::to_string(sets)).c_str();
        for (int m = 0; m < 4; ++m) {
            pugi::xml_node target = nodes[size_t(i + 1 + m) % Nodes];
            std::vector<TLeaf> leaves;
            for (pugi::xml_node o :
                 dtt.find_child_by_attribute("LNodeType", "id", target.attribute("lnType").value())
                     .children("DO"))
                Leaves(dtt, "DOType", o.attribute("type").value(), o.attribute("name").value(), "", "", 0,
                       leaves);
            const TLeaf& leaf = leaves[pick++ % leaves.size()];
            pugi::xml_node f = ds.append_child("FCDA");
            f.append_attribute("ldInst") = "LD0";
            f.append_attribute("prefix") = target.attribute("prefix").value();
            f.append_attribute("lnClass") = target.attribute("lnClass").value();
            f.append_attribute("lnInst") = target.attribute("inst").value();
            f.append_attribute("doName") = leaf.DoName.c_str();
            if (pick % 4 != 0) f.append_attribute("daName") = leaf.DaName.c_str();
            f.append_attribute("fc") = leaf.FC.c_str();
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
        TIEC_Device d(QString::fromStdString(path));
        if (!d.Warnings().isEmpty())
            throw std::runtime_error("wide.icd does not resolve: " + d.Warnings().join("\n").toStdString());
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
    if (!doc.load_file(path.c_str())) throw std::runtime_error("load failed: " + path);
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

using TWork = void (*)(const std::string&);

// The kinds of work by name, for the fresh processes (see Fresh).
struct TNamedWork {
    const char* Name;
    TWork Work;
};
const TNamedWork Works[] = {{"bare", BareLoad}, {"decode", Decode}, {"expand", DecodeAndExpandAll}};

const char* WorkName(TWork work) {
    for (const TNamedWork& w : Works)
        if (w.Work == work) return w.Name;
    return "";
}

// The processor time of the calling thread (user and system, so page faults count): on a busy
// machine this is what the work costs, without the time other programs have the processor.
double ThreadSeconds() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return double(t.tv_sec) + double(t.tv_nsec) * 1e-9;
}

double Seconds(TWork Work, const std::string& path) {
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

// ---- Fresh processes ---------------------------------------------------------------------------
// Users load a file once, in a program that has just started: the allocator has no freed memory
// to reuse and every page is new. The warm loop does not see that, so each figure is also taken
// in fresh processes of this program: one work after start, with the allocator as the system
// sets it up (main tunes it only for the warm loop).

std::string& SelfPath() {
    static std::string path;
    return path;
}

// What one fresh process measured.
struct TFreshRun {
    double Seconds = -1, Peak = -1;
};

// Runs `--fresh=KIND,WHAT,FILE` in a new process of this program: KIND the work, WHAT "time"
// (the processor time of the work, nothing counted) or "heap" (its peak of live heap bytes).
double FreshOnce(TWork work, const char* what, const std::string& path) {
    QProcess p;
    p.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    p.start(QString::fromStdString(SelfPath()),
            {QString::fromStdString(std::string("--fresh=") + WorkName(work) + "," + what + "," + path)});
    if (!p.waitForFinished(-1) || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0)
        throw std::runtime_error("fresh process failed for " + path);
    return p.readAllStandardOutput().trimmed().toDouble();
}

// The medians of a few fresh processes (the peak is the same every time: one process).
TFreshRun Fresh(TWork work, const std::string& path) {
    static std::map<std::pair<std::string, TWork>, TFreshRun> done; // a benchmark runs more than once
    auto it = done.find({path, work});
    if (it != done.end()) return it->second;
    std::vector<double> times;
    for (int i = 0; i < 5; ++i) times.push_back(FreshOnce(work, "time", path));
    TFreshRun r{Median(times), FreshOnce(work, "heap", path)};
    done[{path, work}] = r;
    return r;
}

// The child's side of FreshOnce; prints the figure.
int RunFresh(const std::string& arg) {
    const size_t c1 = arg.find(','), c2 = arg.find(',', c1 + 1);
    if (c1 == std::string::npos || c2 == std::string::npos) return 2;
    const std::string kind = arg.substr(0, c1), what = arg.substr(c1 + 1, c2 - c1 - 1),
                      path = arg.substr(c2 + 1);
    for (const TNamedWork& w : Works) {
        if (kind != w.Name) continue;
        const double figure = what == "heap" ? PeakDuring([&] { w.Work(path); }) : Seconds(w.Work, path);
        std::printf("%.9g\n", figure);
        return 0;
    }
    return 2;
}

// ---- Benchmarks --------------------------------------------------------------------------------

void RunBareLoad(benchmark::State& state, const std::string& path) {
    const double peak = PeakDuring([&] { BareLoad(path); });
    for (auto _ : state) BareLoad(path);
    state.counters["file_MB"] = FileSize(path) / 1e6;
    state.counters["peak_over_file"] = peak < 0 ? -1 : peak / FileSize(path);
}

// Times Work against the bare load, the two alternating in blocks so that both see the same
// machine. The first run after a switch pays for what the other side left behind (the allocator
// sorts the blocks freed by the run before on the next request for memory): it runs untimed, so
// that every iteration counts one timed run of Work, the first one too.
void RunAgainstBare(benchmark::State& state, const std::string& path, TWork Work) {
    const double fileSize = FileSize(path);
    Work(path); // first use of the code paths
    const double peak = PeakDuring([&] { Work(path); });
    const double barePeak = PeakDuring([&] { BareLoad(path); });
    constexpr int Block = 8;
    std::vector<double> work, bare;
    int n = 0;
    for (auto _ : state) {
        if (n++ % Block == 0) {
            state.PauseTiming();
            BareLoad(path);
            for (int k = 0; k < Block; ++k) bare.push_back(Seconds(BareLoad, path));
            Work(path);
            state.ResumeTiming();
        }
        work.push_back(Seconds(Work, path));
    }
    const TFreshRun fresh = Fresh(Work, path), freshBare = Fresh(BareLoad, path);
    state.counters["x_bare_load"] = Median(work) / Median(bare);
    state.counters["median_ms"] = Median(work) * 1e3;
    state.counters["bare_median_ms"] = Median(bare) * 1e3;
    state.counters["peak_over_file"] = peak < 0 ? -1 : peak / fileSize;
    state.counters["bare_peak_over_file"] = barePeak < 0 ? -1 : barePeak / fileSize;
    state.counters["fresh_x_bare_load"] = fresh.Seconds / freshBare.Seconds;
    state.counters["fresh_ms"] = fresh.Seconds * 1e3;
    state.counters["fresh_bare_ms"] = freshBare.Seconds * 1e3;
    state.counters["fresh_peak_over_file"] = fresh.Peak < 0 ? -1 : fresh.Peak / fileSize;
    state.counters["fresh_bare_peak_over_file"] = freshBare.Peak < 0 ? -1 : freshBare.Peak / fileSize;
    state.counters["file_MB"] = fileSize / 1e6;
}

// The three benchmarks of one file: bare load, decoding, decoding with every node expanded.
void Register(const std::string& name, std::function<std::string()> file) {
    benchmark::RegisterBenchmark((name + "_BareLoad").c_str(), [file](benchmark::State& s) {
        RunBareLoad(s, file());
    })->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark((name + "_Decode").c_str(), [file](benchmark::State& s) {
        RunAgainstBare(s, file(), Decode);
    })->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark((name + "_DecodeAndExpandAll").c_str(), [file](benchmark::State& s) {
        RunAgainstBare(s, file(), DecodeAndExpandAll);
    })->Unit(benchmark::kMillisecond);
}

// ---- Model dump --------------------------------------------------------------------------------

void Print(const String& s) {
    std::fputs(s.toUtf8().constData(), stdout);
}

void DumpDA(const TIEC_DA* a, int depth) {
    Print(String(depth, QLatin1Char(' ')) + "DA " + a->Name() + " ref=" + a->Reference() + " fc=" + a->FC() +
          " bType=" + a->bType() + (a->Count() ? " count=" + QString::number(a->Count()) : String()) + "\n");
    for (const TIEC_DA* c : a->List_DA()) DumpDA(c, depth + 1);
    for (const TIEC_DA* e : a->List_Element()) DumpDA(e, depth + 1);
}

void DumpDO(const TIEC_DO* d, int depth) {
    Print(String(depth, QLatin1Char(' ')) + "DO " + d->Name() + " ref=" + d->Reference() +
          (d->Count() ? " count=" + QString::number(d->Count()) : String()) + "\n");
    for (const TIEC_DO* c : d->List_DO()) DumpDO(c, depth + 1);
    for (const TIEC_DA* c : d->List_DA()) DumpDA(c, depth + 1);
    for (const TIEC_DO* e : d->List_Element()) DumpDO(e, depth + 1);
}

void Collect(const TIEC_DA* a, std::set<const TIEC_DA*>& all) {
    all.insert(a);
    for (const TIEC_DA* c : a->List_DA()) Collect(c, all);
    for (const TIEC_DA* e : a->List_Element()) Collect(e, all);
}

void Collect(const TIEC_DO* d, std::set<const TIEC_DA*>& all) {
    for (const TIEC_DO* c : d->List_DO()) Collect(c, all);
    for (const TIEC_DA* c : d->List_DA()) Collect(c, all);
    for (const TIEC_DO* e : d->List_Element()) Collect(e, all);
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

int main(int argc, char** argv) {
    auto option = [&](const char* name, std::string& value) {
        const size_t len = std::strlen(name);
        if (argc == 2 && std::strncmp(argv[1], name, len) == 0) {
            value = argv[1] + len;
            return true;
        }
        return false;
    };
    std::string value;
    // A fresh process measures before anything else happens, the allocator untouched.
    if (option("--fresh=", value)) return RunFresh(value);

        // Freed memory stays with the allocator instead of going back to the system after each run:
        // otherwise whether a run has to fault its pages in again depends on what ran before it
        // (the bare load alone measured three times slower after one program than after another),
        // and the figures measure the system's page handling more than the parsing and decoding.
        // Both sides of every comparison run under the same setting.
#if defined(__GLIBC__)
    mallopt(M_TRIM_THRESHOLD, 1 << 30);
    mallopt(M_MMAP_THRESHOLD, 32 << 20);
#endif
    if (option("--write-files=", value)) {
        if (!HaveSample()) return 1;
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

    SelfPath() = QFileInfo(QStringLiteral("/proc/self/exe")).canonicalFilePath().toStdString();
    benchmark::Initialize(&argc, argv);
    // What is left on the command line are SCL files, each measured like the generated ones.
    if (HaveSample()) {
        Register("Large_SCD", LargeScd);
        Register("Wide_IED", WideIed);
    }
    for (int i = 1; i < argc; ++i) {
        const std::string path = argv[i];
        if (path.rfind("--", 0) == 0 || !QFileInfo::exists(QString::fromStdString(path))) {
            std::fprintf(stderr, "%s: not an option or file: %s\n", argv[0], argv[i]);
            return 1;
        }
        Register("File<" + QFileInfo(QString::fromStdString(path)).fileName().toStdString() + ">",
                 [path] { return path; });
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
