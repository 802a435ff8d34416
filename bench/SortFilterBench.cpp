// Sorting and filtering 100,000 rows x 20 columns of words, integers and dates, against
// QTableWidget::sortItems on the same column of the same data, in one run.
//
// BM_SortColumn/0 sorts a word column, /1 an integer column (the grid's QSort under automatic
// style detection, the table's sortItems with integer items), /2 the same integer column against
// the table holding the integers as texts (an extra table column). Counter "ratio" is the grid's
// time over the table's: below 1 the grid is faster.
// BM_FilterColumn filters a word column with "*x*" (ApplyFilter) and reports its time over the
// table's sortItems of that column in the same run.
// Every timed call starts from the original row order: the grid unsorts (QUnSort) and drops its
// filter level, the table sorts back by its id column, outside the timing.
#include "AdvGrid.h"
#include "Forms.h"

#include <QApplication>
#include <QTableWidget>

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>
#include <memory>
#include <random>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

constexpr int RowTotal = 100000;
constexpr int ColTotal = 20;
constexpr int WordCol = 1;
constexpr int NumberCol = 2;

double Ms(Clock::duration D) {
    return std::chrono::duration<double, std::milli>(D).count();
}

// Column 0 holds the row's number; then words, integers and dates in turn.
struct TData {
    std::vector<String> Texts; // row-major, RowTotal x ColTotal
    std::vector<int> Numbers;  // the integer behind each integer cell, else 0
    TData() {
        std::mt19937 rng(42);
        const char* syllables[] = {"ka", "lo", "mi", "xu", "re", "ta", "no",  "vi",
                                   "se", "pa", "do", "ex", "ru", "fi", "gan", "bo"};
        Texts.resize(size_t(RowTotal) * ColTotal);
        Numbers.resize(Texts.size());
        for (int r = 0; r < RowTotal; ++r)
            for (int c = 0; c < ColTotal; ++c) {
                String& t = Texts[size_t(r) * ColTotal + size_t(c)];
                int& n = Numbers[size_t(r) * ColTotal + size_t(c)];
                if (c == 0) {
                    n = r;
                    t = QString::number(r);
                } else if (c % 3 == 1) {
                    for (int k = 0, len = 2 + int(rng() % 3); k < len; ++k)
                        t += QString::fromLatin1(syllables[rng() % 16]);
                } else if (c % 3 == 2) {
                    n = int(rng() % 2000000) - 1000000;
                    t = QString::number(n);
                } else {
                    t = QStringLiteral("%1/%2/%3")
                            .arg(1 + rng() % 28, 2, 10, QChar(u'0'))
                            .arg(1 + rng() % 12, 2, 10, QChar(u'0'))
                            .arg(1990 + rng() % 35);
                }
            }
    }
    const String& Text(int Col, int Row) const { return Texts[size_t(Row) * ColTotal + size_t(Col)]; }
    int Number(int Col, int Row) const { return Numbers[size_t(Row) * ColTotal + size_t(Col)]; }
};

const TData& Data() {
    static const TData data;
    return data;
}

// The grid with one fixed row over the data rows.
struct TOurs {
    TAdvStringGrid* Grid = new TAdvStringGrid(nullptr);
    TOurs() {
        Grid->SetColCount(ColTotal);
        Grid->SetRowCount(RowTotal + 1);
        Grid->SetFixedRows(1);
        for (int r = 0; r < RowTotal; ++r)
            for (int c = 0; c < ColTotal; ++c) Grid->SetCells(c, r + 1, Data().Text(c, r));
        Grid->InitSortXRef();
    }
    ~TOurs() { TObject::Free(Grid); }
    TOurs(const TOurs&) = delete;
    TOurs& operator=(const TOurs&) = delete;
};

// The table with integer items in the integer columns, so that they sort as numbers.
struct TTheirs {
    QTableWidget Table;
    // The integer column once more as texts, after the data columns.
    static constexpr int TextNumberCol = ColTotal;
    TTheirs() : Table(RowTotal, ColTotal + 1) {
        Table.setSortingEnabled(false);
        for (int r = 0; r < RowTotal; ++r)
            for (int c = 0; c < ColTotal; ++c) {
                auto* item = new QTableWidgetItem;
                if (c == 0 || c % 3 == 2)
                    item->setData(Qt::DisplayRole, Data().Number(c, r));
                else
                    item->setData(Qt::DisplayRole, Data().Text(c, r));
                Table.setItem(r, c, item);
            }
        for (int r = 0; r < RowTotal; ++r)
            Table.setItem(r, TextNumberCol, new QTableWidgetItem(Data().Text(NumberCol, r)));
    }
};

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

void Report(benchmark::State& State, Clock::duration OursTime, Clock::duration TheirsTime) {
    const double o = Ms(OursTime), t = Ms(TheirsTime);
    State.counters["ours_ms"] = benchmark::Counter(o, benchmark::Counter::kAvgIterations);
    State.counters["qtablewidget_ms"] = benchmark::Counter(t, benchmark::Counter::kAvgIterations);
    State.counters["ratio"] = t > 0 ? o / t : 0;
}

// The table's sort of Col from the original order, timed.
Clock::duration TableSort(int Col) {
    QTableWidget& table = Theirs().Table;
    table.sortItems(0, Qt::AscendingOrder);
    const auto t0 = Clock::now();
    table.sortItems(Col, Qt::AscendingOrder);
    return Clock::now() - t0;
}

void BM_SortColumn(benchmark::State& State) {
    const int col = State.range(0) == 0 ? WordCol : NumberCol;
    const int tableCol = State.range(0) == 2 ? TTheirs::TextNumberCol : col;
    TAdvStringGrid* g = Ours().Grid;
    Theirs();
    g->SortSettings()->SetAutoFormat(true);
    g->SortSettings()->SetDirection(sdAscending);
    g->SortSettings()->SetFull(false);
    Clock::duration ours{}, theirs{};
    for (auto _ : State) {
        g->QUnSort();
        g->SortSettings()->SetColumn(col);
        const auto t0 = Clock::now();
        g->QSort();
        ours += Clock::now() - t0;
        theirs += TableSort(tableCol);
    }
    g->QUnSort();
    Report(State, ours, theirs);
    g->Compares = g->Swaps = 0;
    g->QSort();
    State.counters["compares"] = g->Compares;
    State.counters["swaps"] = g->Swaps;
    g->QUnSort();
}
BENCHMARK(BM_SortColumn)->DenseRange(0, 2)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_FilterColumn(benchmark::State& State) {
    TAdvStringGrid* g = Ours().Grid;
    Theirs();
    g->Filter()->Clear();
    TFilterData* item = g->Filter()->Add();
    item->SetColumn(WordCol);
    item->SetCondition("*x*");
    Clock::duration ours{}, theirs{};
    int shown = 0;
    for (auto _ : State) {
        const auto t0 = Clock::now();
        g->ApplyFilter();
        ours += Clock::now() - t0;
        shown = g->RowCount() - 1;
        g->RemoveLastFilter();
        theirs += TableSort(WordCol);
    }
    g->Filter()->Clear();
    Report(State, ours, theirs);
    State.counters["rows_shown"] = shown;
}
BENCHMARK(BM_FilterColumn)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    TApplication::Create(argc, argv);
    FormatSettings.DateSeparator = u'/';
    FormatSettings.ShortDateFormat = "dd/mm/yyyy";
    FormatSettings.DecimalSeparator = u'.';
    FormatSettings.ThousandSeparator = u',';
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    GTheirs.reset();
    GOurs.reset();
    TApplication::Shutdown();
    return 0;
}
