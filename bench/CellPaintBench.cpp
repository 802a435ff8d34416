// The grid control painting one viewport of a 100,000 x 20 grid (default look, a check-box column,
// a colour per column set through the cells' properties) at the top and at row 50,000, against
// QTableWidget rendering the same viewport into an image, each pair timed in one run
// ("ratio" = ours / QTableWidget's, below 1 where ours is faster; "middle_top" = the grid at row
// 50,000 / the grid at the top). The two sides run alternately and each figure is the median of
// its renders, so that a render stretched by other work on the machine does not decide a ratio.
#include "AdvGrid.h"
#include "Forms.h"
#include "Graphics.h"

#include <QApplication>
#include <QHeaderView>
#include <QImage>
#include <QPainter>
#include <QScrollBar>
#include <QTableWidget>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <memory>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

constexpr int RowTotal = 100000;
constexpr int ColTotal = 20;
constexpr int CheckCol = 1;
constexpr int ViewWidth = 700;
constexpr int ViewHeight = 500;
constexpr int MiddleRow = 50000;

const String& TextOf(int Col, int Row) {
    static const std::vector<String> texts = [] {
        std::vector<String> v;
        for (int r = 0; r < 100; ++r)
            for (int c = 0; c < ColTotal; ++c) v.push_back(QStringLiteral("R%1C%2 value").arg(r).arg(c));
        return v;
    }();
    return texts[size_t((Row % 100) * ColTotal + Col)];
}

// A light colour per column.
TColor ColumnColor(int Col) {
    return TColor(0xE0E0E0 + ((Col * 37) % 32) * 0x010101 - (Col % 3) * 0x100000);
}

double Ms(Clock::duration D) {
    return std::chrono::duration<double, std::milli>(D).count();
}

// The median of the times, in milliseconds.
double MedianMs(std::vector<Clock::duration> Times) {
    if (Times.empty()) return 0;
    std::sort(Times.begin(), Times.end());
    const size_t n = Times.size();
    return n % 2 ? Ms(Times[n / 2]) : (Ms(Times[n / 2 - 1]) + Ms(Times[n / 2])) / 2;
}

// The grid on a form, filled once for every benchmark of the run.
struct TOurs {
    TForm* Form = nullptr;
    TAdvStringGrid* Grid = nullptr;
    TBitmap* Target = nullptr;
    TOurs() {
        Form = new TForm(nullptr);
        Form->SetBounds(0, 0, ViewWidth + 50, ViewHeight + 50);
        Grid = new TAdvStringGrid(Form);
        Grid->SetParent(Form);
        Grid->SetBounds(0, 0, ViewWidth, ViewHeight);
        Grid->SetColCount(ColTotal);
        Grid->SetRowCount(RowTotal + 1);
        for (int r = 1; r <= RowTotal; ++r)
            for (int c = 0; c < ColTotal; ++c) {
                if (c != CheckCol) Grid->SetCells(c, r, TextOf(c, r));
                if (c > 0) Grid->SetColors(c, r, ColumnColor(c));
            }
        Grid->AddCheckBoxColumn(CheckCol);
        Form->Show();
        Application->ProcessMessages();
        Target = new TBitmap();
        Target->SetSize(ViewWidth, ViewHeight);
    }
    ~TOurs() {
        TObject::Free(Target);
        TObject::Free(Form);
    }
    void ShowRow(int Row) {
        Grid->SetTopRow(Row);
        Application->ProcessMessages();
    }
    void Render() { Grid->PaintTo(Target->Canvas(), 0, 0); }
};

struct TTheirs {
    std::unique_ptr<QTableWidget> Table;
    QImage Target{ViewWidth, ViewHeight, QImage::Format_ARGB32_Premultiplied};
    TTheirs() {
        Table = std::make_unique<QTableWidget>(RowTotal, ColTotal);
        Table->resize(ViewWidth, ViewHeight);
        for (int r = 0; r < RowTotal; ++r)
            for (int c = 0; c < ColTotal; ++c) {
                auto* item = new QTableWidgetItem();
                if (c == CheckCol) {
                    item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
                    item->setCheckState(Qt::Unchecked);
                } else {
                    item->setText(TextOf(c, r + 1));
                }
                if (c > 0) {
                    const TColor col = ColumnColor(c);
                    item->setBackground(QColor(col & 0xFF, (col >> 8) & 0xFF, (col >> 16) & 0xFF));
                }
                Table->setItem(r, c, item);
            }
        Table->show();
        QApplication::processEvents();
    }
    void ShowRow(int Row) {
        Table->verticalScrollBar()->setValue(Row - 1);
        QApplication::processEvents();
    }
    void Render() {
        QPainter p(&Target);
        Table->render(&p);
    }
};

// Made on first use, freed by main before the application goes.
std::unique_ptr<TOurs> GOurs;
std::unique_ptr<TTheirs> GTheirs;

TOurs& Ours() {
    if (!GOurs) GOurs = std::make_unique<TOurs>();
    return *GOurs;
}

TTheirs& Theirs() {
    if (!GTheirs) GTheirs = std::make_unique<TTheirs>();
    return *GTheirs;
}

// One viewport rendered by each, alternately; argument: the top row shown.
void BM_RenderViewport(benchmark::State& State) {
    const int row = int(State.range(0));
    TOurs& ours = Ours();
    TTheirs& theirs = Theirs();
    ours.ShowRow(row);
    theirs.ShowRow(row);
    for (int i = 0; i < 10; ++i) { // warm: fonts, glyphs, the allocator
        ours.Render();
        theirs.Render();
    }
    std::vector<Clock::duration> a, b;
    bool oursFirst = true; // each pair in the other order than the pair before
    for (auto _ : State) {
        const auto timed = [](auto& Side) {
            const auto t0 = Clock::now();
            Side.Render();
            return Clock::now() - t0;
        };
        if (oursFirst) {
            a.push_back(timed(ours));
            b.push_back(timed(theirs));
        } else {
            b.push_back(timed(theirs));
            a.push_back(timed(ours));
        }
        oursFirst = !oursFirst;
    }
    const double oursMs = MedianMs(a), theirsMs = MedianMs(b);
    State.counters["ours_ms"] = oursMs;
    State.counters["qtablewidget_ms"] = theirsMs;
    State.counters["ratio"] = theirsMs > 0 ? oursMs / theirsMs : 0;
}
BENCHMARK(BM_RenderViewport)->Arg(1)->Arg(MiddleRow)->Unit(benchmark::kMillisecond)->Iterations(100);

// The grid alone at the top and at row 50,000, alternately.
void BM_RenderTopAgainstMiddle(benchmark::State& State) {
    TOurs& ours = Ours();
    std::vector<Clock::duration> top, middle;
    for (auto _ : State) {
        ours.ShowRow(1);
        auto t0 = Clock::now();
        ours.Render();
        top.push_back(Clock::now() - t0);
        ours.ShowRow(MiddleRow);
        auto t1 = Clock::now();
        ours.Render();
        middle.push_back(Clock::now() - t1);
    }
    const double t = MedianMs(top), m = MedianMs(middle);
    State.counters["top_ms"] = t;
    State.counters["middle_ms"] = m;
    State.counters["middle_top"] = t > 0 ? m / t : 0;
}
BENCHMARK(BM_RenderTopAgainstMiddle)->Unit(benchmark::kMillisecond)->Iterations(100);

} // namespace

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    TApplication::Create(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    GTheirs.reset();
    GOurs.reset();
    TApplication::Shutdown();
    return 0;
}
