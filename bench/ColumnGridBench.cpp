// The column grid end to end, as the mapping editor uses it, against QTableWidget doing the same
// in the same run: build a 20-column grid (per-column colours, a check-box column, a combo column,
// read-only columns), fill 100,000 rows, render the viewport at the top, scroll to row 50,000 and
// render it again. Each step is timed on both sides; "<step>_ratio" = ours / QTableWidget's, below
// 1 where ours is faster, "total_ratio" over the whole. Each side is built once untimed first.
#include "AdvColumnGrid.h"
#include "Forms.h"
#include "Graphics.h"

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QScrollBar>
#include <QTableWidget>

#include <benchmark/benchmark.h>

#include <array>
#include <chrono>
#include <cstdlib>
#include <memory>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

constexpr int RowTotal = 100000;
constexpr int ColTotal = 20;
constexpr int CheckCol = 9;
constexpr int ComboCol = 14;
constexpr int ViewWidth = 1000;
constexpr int ViewHeight = 500;
constexpr int MiddleRow = 50000;

enum Step { Build, Fill, RenderTop, ScrollRender, StepCount };
const char* const StepNames[StepCount] = {"build", "fill", "render_top", "scroll_render"};

bool ReadOnlyCol(int Col) {
    return Col >= 2 && Col <= 4;
}

TColor ColumnColor(int Col) {
    static const TColor colours[] = {TColor(16710368), TColor(11075583), TColor(13303754), TColor(16045820),
                                     TColor(11589887)};
    return colours[(Col / 4) % 5];
}

const String& TextOf(int Col, int Row) {
    static const std::vector<String> texts = [] {
        std::vector<String> v;
        for (int r = 0; r < 100; ++r)
            for (int c = 0; c < ColTotal; ++c) v.push_back(QStringLiteral("LD%1/MMXU%2.val").arg(r).arg(c));
        return v;
    }();
    if (Col == ComboCol) {
        static const String bits[] = {"0", "1", "2", "3", "4", "5", "6", "7"};
        return bits[Row % 8];
    }
    return texts[size_t((Row % 100) * ColTotal + Col)];
}

double Ms(Clock::duration D) {
    return std::chrono::duration<double, std::milli>(D).count();
}

struct TOurs {
    TForm* Form = nullptr;
    TAdvColumnGrid* Grid = nullptr;
    TBitmap* Target = nullptr;
    ~TOurs() {
        TObject::Free(Target);
        TObject::Free(Form);
    }
    void Build() {
        Form = new TForm(nullptr);
        Form->SetBounds(0, 0, ViewWidth + 50, ViewHeight + 50);
        Grid = new TAdvColumnGrid(Form);
        Grid->SetParent(Form);
        Grid->SetBounds(0, 0, ViewWidth, ViewHeight);
        Grid->SetColCount(ColTotal);
        Grid->SetRowCount(2);
        Grid->SetOptions({goFixedVertLine, goFixedHorzLine, goVertLine, goHorzLine, goRangeSelect,
                          goColSizing, goEditing});
        for (int c = 0; c < ColTotal; ++c) {
            TGridColumnItem* item = Grid->Columns()->Items(c);
            item->SetHeader(QStringLiteral("Column %1").arg(c));
            item->SetWidth(c == 0 ? 40 : 70);
            if (c > 0) item->SetColor(ColumnColor(c));
            item->SetReadOnly(ReadOnlyCol(c));
            if (c == CheckCol) {
                item->SetEditor(edDataCheckBox);
                item->SetAlignment(taCenter);
            }
            if (c == ComboCol) {
                item->SetEditor(edComboList);
                for (const char* t : {"0", "1", "2", "3", "4", "5", "6", "7"}) item->ComboItems()->Add(t);
            }
        }
        Form->Show();
        Application->ProcessMessages();
        Target = new TBitmap();
        Target->SetSize(ViewWidth, ViewHeight);
    }
    void Fill() {
        Grid->BeginUpdate();
        Grid->SetRowCount(RowTotal + 1);
        for (int r = 1; r <= RowTotal; ++r) {
            Grid->SetCells(0, r, String::number(r));
            for (int c = 1; c < ColTotal; ++c)
                Grid->SetCells(c, r, c == CheckCol ? String(r % 2 ? "Y" : "N") : TextOf(c, r));
        }
        Grid->EndUpdate();
    }
    void Render() { Grid->PaintTo(Target->Canvas(), 0, 0); }
    void ScrollRender() {
        Grid->SetTopRow(MiddleRow);
        Application->ProcessMessages();
        Render();
    }
};

struct TTheirs {
    std::unique_ptr<QTableWidget> Table;
    QImage Target{ViewWidth, ViewHeight, QImage::Format_ARGB32_Premultiplied};
    void Build() {
        Table = std::make_unique<QTableWidget>(1, ColTotal);
        Table->resize(ViewWidth, ViewHeight);
        for (int c = 0; c < ColTotal; ++c) {
            Table->setHorizontalHeaderItem(c, new QTableWidgetItem(QStringLiteral("Column %1").arg(c)));
            Table->setColumnWidth(c, c == 0 ? 40 : 70);
        }
        Table->show();
        QApplication::processEvents();
    }
    void Fill() {
        Table->setUpdatesEnabled(false);
        Table->setRowCount(RowTotal);
        for (int r = 0; r < RowTotal; ++r)
            for (int c = 0; c < ColTotal; ++c) {
                auto* item = new QTableWidgetItem();
                if (c == CheckCol) {
                    item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
                    item->setCheckState((r + 1) % 2 ? Qt::Checked : Qt::Unchecked);
                } else {
                    item->setText(c == 0 ? QString::number(r + 1) : TextOf(c, r + 1));
                }
                if (ReadOnlyCol(c)) item->setFlags(item->flags() & ~Qt::ItemIsEditable);
                if (c > 0) {
                    const TColor col = ColumnColor(c);
                    item->setBackground(QColor(col & 0xFF, (col >> 8) & 0xFF, (col >> 16) & 0xFF));
                }
                Table->setItem(r, c, item);
            }
        Table->setUpdatesEnabled(true);
    }
    void Render() {
        QPainter p(&Target);
        Table->render(&p);
    }
    void ScrollRender() {
        Table->verticalScrollBar()->setValue(MiddleRow - 1);
        QApplication::processEvents();
        Render();
    }
};

template <class T> std::array<Clock::duration, StepCount> Run() {
    std::array<Clock::duration, StepCount> d{};
    T side;
    auto t0 = Clock::now();
    side.Build();
    auto t1 = Clock::now();
    side.Fill();
    auto t2 = Clock::now();
    side.Render();
    auto t3 = Clock::now();
    side.ScrollRender();
    auto t4 = Clock::now();
    d[Build] = t1 - t0;
    d[Fill] = t2 - t1;
    d[RenderTop] = t3 - t2;
    d[ScrollRender] = t4 - t3;
    return d;
}

void BM_MappingGridEndToEnd(benchmark::State& State) {
    std::array<double, StepCount> ours{}, theirs{};
    // One untimed build of each side first: the first text drawn in the process loads Qt's font
    // database and the font faces, which would otherwise be charged to whichever side runs first.
    {
        TOurs warmOurs;
        warmOurs.Build();
        TTheirs warmTheirs;
        warmTheirs.Build();
    }
    for (auto _ : State) {
        const auto a = Run<TOurs>();
        const auto b = Run<TTheirs>();
        for (int s = 0; s < StepCount; ++s) {
            ours[size_t(s)] += Ms(a[size_t(s)]);
            theirs[size_t(s)] += Ms(b[size_t(s)]);
        }
    }
    double oursTotal = 0, theirsTotal = 0;
    for (int s = 0; s < StepCount; ++s) {
        const double o = ours[size_t(s)], t = theirs[size_t(s)];
        oursTotal += o;
        theirsTotal += t;
        State.counters[std::string(StepNames[s]) + "_ms"] =
            benchmark::Counter(o, benchmark::Counter::kAvgIterations);
        State.counters[std::string(StepNames[s]) + "_qt_ms"] =
            benchmark::Counter(t, benchmark::Counter::kAvgIterations);
        State.counters[std::string(StepNames[s]) + "_ratio"] = t > 0 ? o / t : 0;
    }
    State.counters["total_ratio"] = theirsTotal > 0 ? oursTotal / theirsTotal : 0;
}
BENCHMARK(BM_MappingGridEndToEnd)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace
