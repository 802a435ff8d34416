// The print engine's counting pass (column widths, fit, bands, row heights and page cutting) over
// 10,000 rows x 10 columns against measuring every cell text once with the print font on the same
// 600-dpi canvas in 0.1 mm units, both timed in one run ("ratio" = counting pass / measuring).
#include "AdvGrid.h"
#include "Forms.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <climits>
#include <cstdlib>
#include <memory>

namespace {

using Clock = std::chrono::steady_clock;

constexpr int RowTotal = 10000;
constexpr int ColTotal = 10;

// A grid whose counting pass the benchmark runs directly.
class TCountGrid : public TAdvStringGrid {
public:
    TCountGrid() : TAdvStringGrid(nullptr) {}
    int Count(TCanvas* Canvas) {
        FPrintRect = TGridRect(0, 0, ColCount() - 1, RowCount() - 1);
        PrevRect = TRect(0, 0, 2100, 2970);
        FPrintPageFrom = 1;
        FPrintPageTo = INT_MAX;
        return PrintPages(Canvas, 2, -1, false);
    }
};

struct TFreeGrid {
    void operator()(TCountGrid* G) const { TObject::Free(G); }
};

std::unique_ptr<TCountGrid, TFreeGrid> MakeGrid() {
    std::unique_ptr<TCountGrid, TFreeGrid> g(new TCountGrid());
    g->SetColCount(ColTotal);
    g->SetRowCount(RowTotal);
    for (int r = 0; r < RowTotal; ++r)
        for (int c = 0; c < ColTotal; ++c)
            g->SetCells(c, r,
                        c % 2 ? QString::number(r * 37 + c) : QStringLiteral("item %1 of %2").arg(r).arg(c));
    return g;
}

// The yardstick: every cell text measured once in the print font.
int MeasureAll(TAdvStringGrid* G, TCanvas* Canvas) {
    Canvas->Font()->Assign(G->PrintSettings()->Font());
    Canvas->Font()->SetHeight(G->MapFontHeight(G->PrintSettings()->Font()->Size()));
    int sum = 0;
    for (int r = 0; r < G->RowCount(); ++r)
        for (int c = 0; c < G->ColCount(); ++c) sum += Canvas->TextWidth(G->Cells(c, r));
    return sum;
}

void BM_PrintCountingPass(benchmark::State& State) {
    auto g = MakeGrid();
    TBitmap bitmap(8, 8);
    TCanvas* canvas = bitmap.Canvas();
    canvas->SetPixelsPerInch(600);
    canvas->SetMapMode(MM_LOMETRIC);
    double countTime = 0, measureTime = 0;
    int pages = 0;
    for (auto _ : State) {
        auto t0 = Clock::now();
        pages = g->Count(canvas);
        auto t1 = Clock::now();
        benchmark::DoNotOptimize(MeasureAll(g.get(), canvas));
        auto t2 = Clock::now();
        countTime += std::chrono::duration<double>(t1 - t0).count();
        measureTime += std::chrono::duration<double>(t2 - t1).count();
    }
    State.counters["pages"] = pages;
    State.counters["ratio"] = measureTime > 0 ? countTime / measureTime : 0;
    State.counters["count_ms"] = countTime * 1000 / double(State.iterations());
    State.counters["measure_ms"] = measureTime * 1000 / double(State.iterations());
}
BENCHMARK(BM_PrintCountingPass)->Unit(benchmark::kMillisecond);

} // namespace
