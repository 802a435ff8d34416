// The grid control's finder: FindFirst of a text that occurs nowhere in a grid of 100,000 rows x
// 20 columns (words, integers and dates) against a plain loop over the same cells that
// upper-cases each text and searches it with QString::indexOf, both timed in one run ("ratio" =
// finder / loop; the finder's own work per cell should keep it within a small factor).
#include "AdvGrid.h"
#include "Forms.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>
#include <memory>

namespace {

using Clock = std::chrono::steady_clock;

constexpr int RowTotal = 100000;
constexpr int ColTotal = 20;

struct TFreeGrid {
    void operator()(TAdvStringGrid* G) const { TObject::Free(G); }
};
using TGridPtr = std::unique_ptr<TAdvStringGrid, TFreeGrid>;

TGridPtr MakeGrid() {
    static const char* const Words[] = {"alpha", "bravo", "charlie", "delta", "echo", "foxtrot", "golf",
                                        "hotel", "india", "juliet",  "kilo",  "lima", "mike",    "november"};
    TGridPtr g(new TAdvStringGrid(nullptr));
    g->SetColCount(ColTotal);
    g->SetRowCount(RowTotal);
    unsigned seed = 12345;
    auto next = [&seed] { return seed = seed * 1103515245u + 12345u, (seed >> 8) & 0xFFFFFF; };
    for (int r = 1; r < RowTotal; ++r)
        for (int c = 1; c < ColTotal; ++c) {
            String t;
            switch (c % 3) {
                case 0:
                    t = QString::fromLatin1(Words[next() % 14]) + u' ' +
                        QString::fromLatin1(Words[next() % 14]);
                    break;
                case 1: t = QString::number(int(next() % 1000000)); break;
                default:
                    t = QStringLiteral("%1/%2/%3")
                            .arg(next() % 28 + 1, 2, 10, QChar(u'0'))
                            .arg(next() % 12 + 1, 2, 10, QChar(u'0'))
                            .arg(1990 + next() % 40);
            }
            g->SetCells(c, r, t);
        }
    return g;
}

// The yardstick: the same data cells, each upper-cased and searched.
bool PlainLoop(TAdvStringGrid* G, const String& Text) {
    const String up = Text.toUpper();
    for (int c = 1; c < G->ColCount(); ++c)
        for (int r = 1; r < G->RowCount(); ++r)
            if (G->Cells(c, r).toUpper().indexOf(up) >= 0) return true;
    return false;
}

void BM_FindFirstNowhere(benchmark::State& State) {
    TGridPtr g = MakeGrid();
    const String text = QStringLiteral("zulu");
    double findTime = 0, loopTime = 0;
    for (auto _ : State) {
        auto t0 = Clock::now();
        const TPoint found = g->FindFirst(text, {});
        auto t1 = Clock::now();
        const bool any = PlainLoop(g.get(), text);
        auto t2 = Clock::now();
        if (found.X != -1 || any) State.SkipWithError("the text was found");
        findTime += std::chrono::duration<double>(t1 - t0).count();
        loopTime += std::chrono::duration<double>(t2 - t1).count();
    }
    State.counters["ratio"] = loopTime > 0 ? findTime / loopTime : 0;
    State.counters["find_ms"] = findTime * 1000 / double(State.iterations());
    State.counters["loop_ms"] = loopTime * 1000 / double(State.iterations());
}
BENCHMARK(BM_FindFirstNowhere)->Unit(benchmark::kMillisecond);

} // namespace
