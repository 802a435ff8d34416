// The grid control's row map: mapping every display row of a 100,000-row grid to its real row
// with 10,000 rows hidden against the same sweep with none hidden, both timed in one run
// ("ratio" = hidden / none; the map keeps an index of the hidden rows, so it stays near 1 where
// a walk over the rows would grow with the grid). A second pair maps rows in a scattered order
// (the mouse), where each map is a binary search.
#include "AdvGrid.h"
#include "Forms.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>
#include <memory>

namespace {

using Clock = std::chrono::steady_clock;

constexpr int RowTotal = 100000;
constexpr int HiddenTotal = 10000;

struct TFreeGrid {
    void operator()(TAdvStringGrid* G) const { TObject::Free(G); }
};
using TGridPtr = std::unique_ptr<TAdvStringGrid, TFreeGrid>;

TGridPtr MakeGrid(bool HideRows) {
    TGridPtr g(new TAdvStringGrid(nullptr));
    g->SetColCount(2);
    g->SetRowCount(RowTotal);
    if (HideRows) {
        // Every tenth row, as one filter level.
        auto* list = new TIntList(0, 0);
        for (int r = 5; r < RowTotal && list->Count() < HiddenTotal; r += RowTotal / HiddenTotal)
            list->Add(r);
        g->HideRowList(list);
        TObject::Free(list);
    }
    return g;
}

// Sum of the real rows of the display rows in Order (0: ascending, 1: scattered).
long long Sweep(const TAdvStringGrid* G, int Order) {
    long long sum = 0;
    const int n = G->RowCount();
    for (int i = 0; i < n; ++i) {
        const int d = Order == 0 ? i : int((long long)i * 7919 % n);
        sum += G->RealRowIndex(d);
    }
    return sum;
}

void RunPair(benchmark::State& State, int Order) {
    TGridPtr none = MakeGrid(false);
    TGridPtr hidden = MakeGrid(true);
    if (hidden->NumHiddenRows() != HiddenTotal) State.SkipWithError("rows were not hidden");
    double noneTime = 0, hiddenTime = 0;
    for (auto _ : State) {
        auto t0 = Clock::now();
        benchmark::DoNotOptimize(Sweep(none.get(), Order));
        auto t1 = Clock::now();
        benchmark::DoNotOptimize(Sweep(hidden.get(), Order));
        auto t2 = Clock::now();
        noneTime += std::chrono::duration<double>(t1 - t0).count();
        hiddenTime += std::chrono::duration<double>(t2 - t1).count();
    }
    State.counters["ratio"] = noneTime > 0 ? hiddenTime / noneTime : 0;
    State.counters["none_ms"] = noneTime * 1000 / double(State.iterations());
    State.counters["hidden_ms"] = hiddenTime * 1000 / double(State.iterations());
}

void BM_RealRowIndexSweep(benchmark::State& State) {
    RunPair(State, 0);
}
BENCHMARK(BM_RealRowIndexSweep)->Unit(benchmark::kMillisecond);

void BM_RealRowIndexScattered(benchmark::State& State) {
    RunPair(State, 1);
}
BENCHMARK(BM_RealRowIndexScattered)->Unit(benchmark::kMillisecond);

} // namespace
