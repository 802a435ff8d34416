// Measuring a cell's markup against measuring the same text without markup through the canvas.
//
// BM_MarkupVsPlain times both in one run and reports their ratio (counter "ratio"): measuring the
// markup should cost at most five times measuring the plain text.
#include "Graphics.h"
#include "MarkupRender.h"
#include "MarkupText.h"

#include <QApplication>

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>

namespace {

// A cell text of about 200 visible characters with a few tags.
const char* const CellMarkup =
    "Measured <B>values</B> of the <I>field</I> device are copied to the <FONT COLOR=\"clRed\">exchange "
    "memory</FONT> on every cycle; <U>changed</U> values raise an event, and the <A HREF=\"log\">log</A> "
    "keeps the latest entries for the operator.";

constexpr int CellWidth = 240;

struct TSetup {
    TBitmap Bitmap{CellWidth + 20, 200};
    String Markup = QString::fromUtf8(CellMarkup);
    String Plain = HTMLToText(Markup);
    TSetup() {
        Bitmap.Canvas()->Font()->SetName(QStringLiteral("Tahoma"));
        Bitmap.Canvas()->Font()->SetSize(8);
    }
    int MeasurePlain() {
        TRect r(0, 0, CellWidth, 1000);
        return DrawText(Bitmap.Canvas(), Plain, r, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX | DT_EXPANDTABS);
    }
    int MeasureMarkup() {
        THTMLDrawOptions o;
        o.MeasureOnly = true;
        THTMLDrawResult res;
        DrawHTML(Bitmap.Canvas(), Markup, TRect(0, 0, CellWidth, 1000), o, res);
        return res.TextHeight;
    }
};

TSetup& Setup() {
    static TSetup* s = new TSetup();
    return *s;
}

void BM_MeasurePlain(benchmark::State& State) {
    for (auto _ : State) benchmark::DoNotOptimize(Setup().MeasurePlain());
}
BENCHMARK(BM_MeasurePlain);

void BM_MeasureMarkup(benchmark::State& State) {
    for (auto _ : State) benchmark::DoNotOptimize(Setup().MeasureMarkup());
}
BENCHMARK(BM_MeasureMarkup);

void BM_MarkupVsPlain(benchmark::State& State) {
    using Clock = std::chrono::steady_clock;
    Clock::duration plain{}, markup{};
    for (auto _ : State) {
        auto t0 = Clock::now();
        benchmark::DoNotOptimize(Setup().MeasurePlain());
        auto t1 = Clock::now();
        benchmark::DoNotOptimize(Setup().MeasureMarkup());
        auto t2 = Clock::now();
        plain += t1 - t0;
        markup += t2 - t1;
    }
    const double p = double(plain.count()), m = double(markup.count());
    State.counters["ratio"] = p > 0 ? m / p : 0;
    State.counters["plain_us"] = benchmark::Counter(p / 1000.0, benchmark::Counter::kAvgIterations);
    State.counters["markup_us"] = benchmark::Counter(m / 1000.0, benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_MarkupVsPlain);

void BM_PaintMarkup(benchmark::State& State) {
    TSetup& s = Setup();
    for (auto _ : State) {
        THTMLDrawResult res;
        DrawHTML(s.Bitmap.Canvas(), s.Markup, TRect(0, 0, CellWidth, 200), THTMLDrawOptions(), res);
        benchmark::DoNotOptimize(res.TextHeight);
    }
}
BENCHMARK(BM_PaintMarkup);

} // namespace

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
