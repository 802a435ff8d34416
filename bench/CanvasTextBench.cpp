// Text on the canvas: cells painted through DrawText inside a control's paint against the same
// texts drawn by one QPainter directly, and a wrapped cell measured against the same text on one
// line.
//
// Both comparisons run their two sides alternately in one run and report the ratio (counter
// "ratio") with the time of each side:
// - BM_CellsDrawTextVsPainter: 600 one-line cells; DrawText should cost at most 1.3 times the
//   painter's own drawing.
// - BM_WrappedVsOneLine: a cell of 200 characters measured with DT_CALCRECT wrapped in the cell's
//   width, against measuring it on one line; at most 3 times.
#include "Controls.h"
#include "Forms.h"
#include "Graphics.h"

#include <QFontMetrics>
#include <QPainter>

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>

namespace {

constexpr int Cols = 20, Rows = 30, CellWidth = 64, CellHeight = 20;
constexpr Cardinal CellFlags = DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_LEFT;

// Cell texts as a mapping table shows them: names, addresses, numbers.
String CellText(int Col, int Row) {
    switch ((Col + Row) % 4) {
        case 0: return QStringLiteral("Value %1").arg(Row * Cols + Col);
        case 1: return QStringLiteral("%1.%2").arg(40001 + Row).arg(Col);
        case 2: return QStringLiteral("LD0/MMXU%1").arg(Col);
        default: return QStringLiteral("Q%1 ok").arg(Row);
    }
}

TRect CellRect(int Col, int Row) {
    // The text inset by two pixels on each side, as a grid draws it.
    return TRect(Col * CellWidth + 2, Row * CellHeight, (Col + 1) * CellWidth - 2, (Row + 1) * CellHeight);
}

// A control whose paint draws every cell's text through DrawText, the background left alone (the
// cells would have filled it).
class TCellsControl : public TCustomControl {
public:
    TCellsControl() : TCustomControl(nullptr) {
        SetBounds(0, 0, Cols * CellWidth, Rows * CellHeight);
        Canvas()->Font()->SetName(QStringLiteral("Tahoma"));
        Canvas()->Font()->SetSize(8);
        for (int r = 0; r < Rows; ++r)
            for (int c = 0; c < Cols; ++c) Texts.push_back(CellText(c, r));
    }
    void Dispatch(TMessage& Message) override {
        if (Message.Msg == WM_ERASEBKGND) {
            Message.Result = 1;
            return;
        }
        TCustomControl::Dispatch(Message);
    }
    void PaintNow() {
        TMessage m(WM_PAINT);
        Perform(m);
    }
    std::vector<String> Texts;

protected:
    void Paint() override {
        TCanvas* c = Canvas();
        c->Brush()->SetStyle(bsClear);
        for (int r = 0; r < Rows; ++r)
            for (int col = 0; col < Cols; ++col) {
                TRect cell = CellRect(col, r);
                DrawText(c, Texts[size_t(r * Cols + col)], cell, CellFlags);
            }
    }
};

// The same texts at the same places, drawn by one QPainter on an image of the control's size.
struct TDirect {
    QImage Image{Cols * CellWidth, Rows* CellHeight, QImage::Format_ARGB32_Premultiplied};
    QFont Font;
    void Paint(const std::vector<String>& Texts) {
        QPainter p(&Image);
        p.setFont(Font);
        p.setPen(Qt::black);
        QFontMetrics fm(Font);
        const int lh = fm.ascent() + fm.descent();
        for (int r = 0; r < Rows; ++r)
            for (int c = 0; c < Cols; ++c) {
                TRect cell = CellRect(c, r);
                int top = cell.Top + (cell.Height() - lh) / 2;
                p.drawText(QPoint(cell.Left, top + fm.ascent()), Texts[size_t(r * Cols + c)]);
            }
    }
};

struct TSetup {
    TCellsControl Control;
    TDirect Direct;
    TBitmap Bitmap{300, 200};
    String Wrapped;
    TSetup() {
        Direct.Image.fill(Qt::white);
        Direct.Font = Control.Canvas()->DrawingFont();
        Bitmap.Canvas()->Font()->Assign(Control.Canvas()->Font());
        while (Wrapped.size() < 200)
            Wrapped += QStringLiteral("The converter maps measured value %1 of the field device. ")
                           .arg(Wrapped.size());
        Wrapped.truncate(200);
    }
    // Measured as the grid sizes a cell: in its width with the edit-control rules, or on one line.
    int Measure(bool Wrap) {
        TRect r(0, 0, 240, 0);
        const Cardinal flags = DT_CALCRECT | DT_NOPREFIX | DT_EXPANDTABS;
        return DrawText(Bitmap.Canvas(), Wrapped, r,
                        flags | (Wrap ? DT_WORDBREAK | DT_EDITCONTROL : DT_SINGLELINE));
    }
};

TSetup& Setup() {
    static TSetup* s = new TSetup();
    return *s;
}

// Runs A and B alternately; "ratio" is A's time over B's.
template <class A, class B>
void Paired(benchmark::State& State, A&& RunA, B&& RunB, const char* NameA, const char* NameB) {
    using Clock = std::chrono::steady_clock;
    Clock::duration a{}, b{};
    for (auto _ : State) {
        auto t0 = Clock::now();
        RunA();
        auto t1 = Clock::now();
        RunB();
        auto t2 = Clock::now();
        a += t1 - t0;
        b += t2 - t1;
    }
    const double da = double(a.count()), db = double(b.count());
    State.counters["ratio"] = db > 0 ? da / db : 0;
    State.counters[NameA] = benchmark::Counter(da / 1000.0, benchmark::Counter::kAvgIterations);
    State.counters[NameB] = benchmark::Counter(db / 1000.0, benchmark::Counter::kAvgIterations);
}

void BM_CellsDrawTextVsPainter(benchmark::State& State) {
    TSetup& s = Setup();
    Paired(
        State, [&] { s.Control.PaintNow(); }, [&] { s.Direct.Paint(s.Control.Texts); }, "drawtext_us",
        "painter_us");
}
BENCHMARK(BM_CellsDrawTextVsPainter)->Unit(benchmark::kMicrosecond);

void BM_WrappedVsOneLine(benchmark::State& State) {
    TSetup& s = Setup();
    Paired(
        State, [&] { benchmark::DoNotOptimize(s.Measure(true)); },
        [&] { benchmark::DoNotOptimize(s.Measure(false)); }, "wrapped_us", "oneline_us");
}
BENCHMARK(BM_WrappedVsOneLine)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    TApplication::Create(argc, argv);
    Application->Initialize();
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    TApplication::Shutdown();
    return 0;
}
