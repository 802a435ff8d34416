// The platform string grid against QTableWidget doing the same, each pair timed in one run:
// filling 100,000 rows x 20 columns through Cells, reading every cell back, and growing the row
// count one row at a time to 100,000 ("ratio" = ours / QTableWidget's, below 1 where ours is
// faster). And raising and lowering ColCount by 2 around each of 1,000 row moves against the
// moves alone ("ratio" below 2).
//
// Neither grid has a window here, so what is timed is the store and the structure, not painting.
#include "Forms.h"
#include "Grids.h"

#include <QTableWidget>

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>
#include <memory>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

constexpr int RowTotal = 100000;
constexpr int ColTotal = 20;
constexpr int Moves = 1000;

// Cell texts: one string per (column, row modulo 100), shared by both grids.
const std::vector<String>& Texts() {
    static const std::vector<String> texts = [] {
        std::vector<String> v;
        for (int r = 0; r < 100; ++r)
            for (int c = 0; c < ColTotal; ++c) v.push_back(QStringLiteral("R%1C%2 value").arg(r).arg(c));
        return v;
    }();
    return texts;
}

const String& TextOf(int Col, int Row) {
    return Texts()[size_t((Row % 100) * ColTotal + Col)];
}

class TBenchGrid : public TStringGrid {
public:
    TBenchGrid() : TStringGrid(nullptr) {
        SetColCount(ColTotal);
        SetRowCount(RowTotal + 1);
    }
    using TCustomGrid::MoveRow;
};

struct TFreeGrid {
    void operator()(TBenchGrid* G) const { TObject::Free(G); }
};
using TGridPtr = std::unique_ptr<TBenchGrid, TFreeGrid>;

void FillOurs(TBenchGrid* G) {
    for (int r = 1; r <= RowTotal; ++r)
        for (int c = 0; c < ColTotal; ++c) G->SetCells(c, r, TextOf(c, r));
}

void FillQt(QTableWidget* T) {
    for (int r = 1; r <= RowTotal; ++r)
        for (int c = 0; c < ColTotal; ++c) T->setItem(r, c, new QTableWidgetItem(TextOf(c, r)));
}

double Ms(Clock::duration D) {
    return std::chrono::duration<double, std::milli>(D).count();
}

void Report(benchmark::State& State, Clock::duration Ours, Clock::duration Theirs, const char* TheirName) {
    const double o = Ms(Ours), t = Ms(Theirs);
    State.counters["ours_ms"] = benchmark::Counter(o, benchmark::Counter::kAvgIterations);
    State.counters[TheirName] = benchmark::Counter(t, benchmark::Counter::kAvgIterations);
    State.counters["ratio"] = t > 0 ? o / t : 0;
}

void BM_Fill(benchmark::State& State) {
    Clock::duration ours{}, qt{};
    for (auto _ : State) {
        TGridPtr g(new TBenchGrid());
        auto t0 = Clock::now();
        FillOurs(g.get());
        auto t1 = Clock::now();
        auto t = std::make_unique<QTableWidget>(RowTotal + 1, ColTotal);
        auto t2 = Clock::now();
        FillQt(t.get());
        auto t3 = Clock::now();
        ours += t1 - t0;
        qt += t3 - t2;
    }
    Report(State, ours, qt, "qt_ms");
}
BENCHMARK(BM_Fill)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_ReadBack(benchmark::State& State) {
    TGridPtr g(new TBenchGrid());
    FillOurs(g.get());
    QTableWidget t(RowTotal + 1, ColTotal);
    FillQt(&t);
    Clock::duration ours{}, qt{};
    for (auto _ : State) {
        qsizetype a = 0, b = 0;
        auto t0 = Clock::now();
        for (int r = 1; r <= RowTotal; ++r)
            for (int c = 0; c < ColTotal; ++c) a += g->Cells(c, r).size();
        auto t1 = Clock::now();
        for (int r = 1; r <= RowTotal; ++r)
            for (int c = 0; c < ColTotal; ++c) b += t.item(r, c)->text().size();
        auto t2 = Clock::now();
        benchmark::DoNotOptimize(a);
        benchmark::DoNotOptimize(b);
        if (a != b) State.SkipWithError("the grids differ");
        ours += t1 - t0;
        qt += t2 - t1;
    }
    Report(State, ours, qt, "qt_ms");
}
BENCHMARK(BM_ReadBack)->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_GrowRowCount(benchmark::State& State) {
    Clock::duration ours{}, qt{};
    for (auto _ : State) {
        TGridPtr g(new TBenchGrid());
        g->SetRowCount(2);
        QTableWidget t(2, ColTotal);
        auto t0 = Clock::now();
        for (int n = 3; n <= RowTotal; ++n) g->SetRowCount(n);
        auto t1 = Clock::now();
        for (int n = 3; n <= RowTotal; ++n) t.setRowCount(n);
        auto t2 = Clock::now();
        ours += t1 - t0;
        qt += t2 - t1;
    }
    Report(State, ours, qt, "qt_ms");
}
BENCHMARK(BM_GrowRowCount)->Unit(benchmark::kMillisecond)->Iterations(3);

// Row moves between spread-out rows (as deleting a row moves it to the end), alone and with
// ColCount raised by 2 before and lowered after each (as the grid does while columns are
// hidden). First argument: 1 for moves across the grid, 0 for moves to the neighbouring row
// (where the move itself costs least). Second argument: 1 for a grid shown on a form (its
// window and scroll bars follow every change), 0 for a grid without a window.
void BM_ColCountAroundRowMoves(benchmark::State& State) {
    const bool far = State.range(0) != 0;
    const bool shown = State.range(1) != 0;
    TGridPtr g(new TBenchGrid());
    FillOurs(g.get());
    std::unique_ptr<TForm, void (*)(TForm*)> form(nullptr, [](TForm* F) { TObject::Free(F); });
    if (shown) {
        form.reset(new TForm(nullptr));
        form->SetBounds(0, 0, 800, 600);
        g->SetBounds(0, 0, 700, 500);
        g->SetParent(form.get());
        form->Show();
    }
    unsigned seed = 12345;
    auto next = [&seed] {
        seed = seed * 1103515245u + 12345u;
        return int((seed >> 8) % unsigned(RowTotal)) + 1;
    };
    auto move = [&] {
        const int from = next();
        const int to = far ? next() : (from < RowTotal ? from + 1 : from - 1);
        g->MoveRow(from, to);
    };
    Clock::duration alone{}, around{};
    for (auto _ : State) {
        auto t0 = Clock::now();
        for (int i = 0; i < Moves; ++i) move();
        auto t1 = Clock::now();
        for (int i = 0; i < Moves; ++i) {
            g->SetColCount(ColTotal + 2);
            move();
            g->SetColCount(ColTotal);
        }
        auto t2 = Clock::now();
        alone += t1 - t0;
        around += t2 - t1;
    }
    if (shown) g->SetParent(nullptr); // the grid is freed here, not with the form
    const double a = Ms(alone), b = Ms(around);
    State.counters["moves_ms"] = benchmark::Counter(a, benchmark::Counter::kAvgIterations);
    State.counters["with_counts_ms"] = benchmark::Counter(b, benchmark::Counter::kAvgIterations);
    State.counters["ratio"] = a > 0 ? b / a : 0;
}
BENCHMARK(BM_ColCountAroundRowMoves)
    ->Args({1, 0})
    ->Args({0, 0})
    ->Args({1, 1})
    ->Args({0, 1})
    ->Unit(benchmark::kMillisecond)
    ->Iterations(5);

} // namespace
