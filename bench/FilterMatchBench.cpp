// Matching a filter pattern with many stars against matching a star-free pattern of the same
// length, both against the same 40-character value.
//
// BM_StarsVsPlain times both in one run, alternating, and reports their ratio (counter "ratio"):
// a pattern with 11 stars should cost at most 20 times the star-free one.
//   0: "*a" eleven times, then "b", against 40 "a" (every split of the value fits the stars,
//      none fits the "b");
//   1: eleven "*?" pairs, then "b", against the same value;
//   2: eleven stars in a row, then 11 "a" and a "b": the last star backs up over the whole value.
#include "GridUtil.h"

#include <benchmark/benchmark.h>

#include <chrono>

namespace {

String Repeat(const char* Piece, int Count) {
    String s;
    for (int i = 0; i < Count; ++i) s += QString::fromLatin1(Piece);
    return s;
}

String StarPattern(int Kind) {
    switch (Kind) {
        case 0: return Repeat("*a", 11) + "b";
        case 1: return Repeat("*?", 11) + "b";
        default: return Repeat("*", 11) + Repeat("a", 11) + "b";
    }
}

const String& Value() {
    static const String v = Repeat("a", 40);
    return v;
}

// The same length without stars: it runs along the value as far as the pattern goes.
String PlainPattern(int Length) {
    return Repeat("a", Length - 1) + "b";
}

void BM_StarPattern(benchmark::State& State) {
    const String pattern = StarPattern(int(State.range(0)));
    for (auto _ : State) benchmark::DoNotOptimize(MatchFilterTerm(pattern, Value()));
}
BENCHMARK(BM_StarPattern)->DenseRange(0, 2);

void BM_PlainPattern(benchmark::State& State) {
    const String pattern = PlainPattern(int(StarPattern(int(State.range(0))).size()));
    for (auto _ : State) benchmark::DoNotOptimize(MatchFilterTerm(pattern, Value()));
}
BENCHMARK(BM_PlainPattern)->DenseRange(0, 2);

void BM_StarsVsPlain(benchmark::State& State) {
    using Clock = std::chrono::steady_clock;
    const String stars = StarPattern(int(State.range(0)));
    const String plain = PlainPattern(int(stars.size()));
    Clock::duration plainTime{}, starTime{};
    for (auto _ : State) {
        const auto t0 = Clock::now();
        benchmark::DoNotOptimize(MatchFilterTerm(plain, Value()));
        const auto t1 = Clock::now();
        benchmark::DoNotOptimize(MatchFilterTerm(stars, Value()));
        const auto t2 = Clock::now();
        plainTime += t1 - t0;
        starTime += t2 - t1;
    }
    const double p = double(plainTime.count()), s = double(starTime.count());
    State.counters["ratio"] = p > 0 ? s / p : 0;
    State.counters["plain_ns"] = benchmark::Counter(p, benchmark::Counter::kAvgIterations);
    State.counters["stars_ns"] = benchmark::Counter(s, benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_StarsVsPlain)->DenseRange(0, 2);

} // namespace

BENCHMARK_MAIN();
