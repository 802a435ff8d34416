// Measuring a cell's markup against measuring the same text without markup through the canvas.
//
// BM_MarkupVsPlain times both in one run and reports their ratio (counter "ratio"), for text
// wrapped in a cell's width and for text on one line: measuring the markup should cost at most
// five times measuring the plain text the same way.
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
    // The plain text measured as the grid measures a cell: wrapped in the cell's width, or on one
    // line.
    int MeasurePlain(bool Wrap) {
        TRect r(0, 0, CellWidth, 1000);
        return DrawText(Bitmap.Canvas(), Plain, r,
                        DT_CALCRECT | DT_NOPREFIX | DT_EXPANDTABS | (Wrap ? DT_WORDBREAK : DT_SINGLELINE));
    }
    int MeasureMarkup(bool Wrap) {
        THTMLDrawOptions o;
        o.MeasureOnly = true;
        o.WordWrap = Wrap;
        THTMLDrawResult res;
        DrawHTML(Bitmap.Canvas(), Markup, TRect(0, 0, Wrap ? CellWidth : 65535, 1000), o, res);
        return res.TextHeight;
    }
};

TSetup& Setup() {
    static TSetup* s = new TSetup();
    return *s;
}

void BM_MeasurePlain(benchmark::State& State) {
    const bool wrap = State.range(0);
    for (auto _ : State) benchmark::DoNotOptimize(Setup().MeasurePlain(wrap));
}
BENCHMARK(BM_MeasurePlain)->Arg(1)->Arg(0);

void BM_MeasureMarkup(benchmark::State& State) {
    const bool wrap = State.range(0);
    for (auto _ : State) benchmark::DoNotOptimize(Setup().MeasureMarkup(wrap));
}
BENCHMARK(BM_MeasureMarkup)->Arg(1)->Arg(0);

// Both in one run, alternating; "ratio" is the markup's time over the plain text's (at most 5).
// Argument 1: wrapped in the cell's width; 0: on one line.
void BM_MarkupVsPlain(benchmark::State& State) {
    using Clock = std::chrono::steady_clock;
    const bool wrap = State.range(0);
    Clock::duration plain{}, markup{};
    for (auto _ : State) {
        auto t0 = Clock::now();
        benchmark::DoNotOptimize(Setup().MeasurePlain(wrap));
        auto t1 = Clock::now();
        benchmark::DoNotOptimize(Setup().MeasureMarkup(wrap));
        auto t2 = Clock::now();
        plain += t1 - t0;
        markup += t2 - t1;
    }
    const double p = double(plain.count()), m = double(markup.count());
    State.counters["ratio"] = p > 0 ? m / p : 0;
    State.counters["plain_us"] = benchmark::Counter(p / 1000.0, benchmark::Counter::kAvgIterations);
    State.counters["markup_us"] = benchmark::Counter(m / 1000.0, benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_MarkupVsPlain)->Arg(1)->Arg(0);

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
