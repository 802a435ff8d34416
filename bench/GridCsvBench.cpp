// LoadFromCSV of a file of 100,000 rows of 20 fields against reading and splitting the same file
// with QTextStream and QString::split, alternating in one run. The counter "ratio" is the grid's
// time over the plain reading; it should stay at or below 3.
#include "AdvGrid.h"

#include "Forms.h"

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>
#include <QTextStream>

#include <benchmark/benchmark.h>

#include <chrono>

namespace {

constexpr int Rows = 100000;
constexpr int Fields = 20;

const QString& CsvFile() {
    static QTemporaryDir* dir = new QTemporaryDir();
    static const QString name = [] {
        const QString n = dir->filePath("bench.csv");
        QFile f(n);
        f.open(QIODevice::WriteOnly);
        QByteArray line;
        for (int r = 0; r < Rows; ++r) {
            line.clear();
            for (int c = 0; c < Fields; ++c) {
                if (c > 0) line += ',';
                line += "v" + QByteArray::number(r) + "_" + QByteArray::number(c);
            }
            line += "\r\n";
            f.write(line);
        }
        return n;
    }();
    return name;
}

qint64 SplitWithQt(const QString& Name) {
    QFile f(Name);
    f.open(QIODevice::ReadOnly);
    QTextStream in(&f);
    qint64 fields = 0;
    QString line;
    while (in.readLineInto(&line)) fields += line.split(u',').size();
    return fields;
}

void BM_LoadFromCSVVsSplit(benchmark::State& State) {
    using Clock = std::chrono::steady_clock;
    const QString name = CsvFile();
    Clock::duration gridTime{}, plainTime{};
    for (auto _ : State) {
        auto* g = new TAdvStringGrid(nullptr);
        const auto t0 = Clock::now();
        benchmark::DoNotOptimize(SplitWithQt(name));
        const auto t1 = Clock::now();
        g->LoadFromCSV(name);
        const auto t2 = Clock::now();
        if (g->RowCount() < Rows) State.SkipWithError("rows missing");
        TObject::Free(g);
        plainTime += t1 - t0;
        gridTime += t2 - t1;
    }
    const double p = double(plainTime.count()), g = double(gridTime.count());
    State.counters["ratio"] = p > 0 ? g / p : 0;
    State.counters["split_ms"] = benchmark::Counter(p / 1e6, benchmark::Counter::kAvgIterations);
    State.counters["grid_ms"] = benchmark::Counter(g / 1e6, benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_LoadFromCSVVsSplit)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
