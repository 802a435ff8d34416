// Sorting the grid's rows: the cell comparison of every sort style, whole-grid sorts keeping
// rows whole, the rows and columns that stay, unsorting, group and key sorts, an event handler
// that raises, and the recursion depth of the quicksort on an order made to defeat its pivot.
#include "AdvGrid.h"
#include "AdvShownGridFixture.h"
#include "AdvGridTestSupport.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <functional>
#include <random>
#include <stdexcept>
#include <vector>

namespace {

// Fixed conversions: "." decimals, "," thousands, day/month/year dates, ":" times.
class SortFormats : public ::testing::Test {
protected:
    void SetUp() override {
        Saved = FormatSettings;
        FormatSettings.DecimalSeparator = u'.';
        FormatSettings.ThousandSeparator = u',';
        FormatSettings.DateSeparator = u'/';
        FormatSettings.TimeSeparator = u':';
        FormatSettings.ShortDateFormat = "dd/mm/yyyy";
        FormatSettings.ShortTimeFormat = "hh:nn";
        FormatSettings.LongTimeFormat = "hh:nn:ss";
    }
    void TearDown() override { FormatSettings = Saved; }
    TFormatSettings Saved;
};

using SortCompare = SortFormats;
using SortGrid = SortFormats;

QStringList Column(TAdvStringGrid* G, int ACol, int From = 0) {
    QStringList texts;
    for (int r = From; r < G->RowCount(); ++r) texts << G->Cells(ACol, r);
    return texts;
}

// Fills a column from row 1 on.
void Fill(TAdvStringGrid* G, int ACol, const QStringList& Texts) {
    for (int i = 0; i < Texts.size(); ++i) G->SetCells(ACol, i + 1, Texts[i]);
}

} // namespace

TEST_F(SortCompare, EveryStyleComparesByItsRule) {
    struct Case {
        TSortStyle Style;
        const char* A;
        const char* B;
        int Expected;
        const char* Prefix = "";
        const char* Suffix = "";
    };
    const Case cases[] = {
        // Numbers: an empty text counts 0, two texts that do not convert are equal, one that does
        // not convert against one that does counts 0.
        {ssNumeric, "10", "9", 1},
        {ssNumeric, "", "9", -1},
        {ssNumeric, "-3", "", -1},
        {ssNumeric, "abc", "def", 0},
        {ssNumeric, "abc", "5", -1},
        {ssNumeric, "1e3", "999.5", 1},
        {ssNumeric, " 7", "7", 0},
        {ssNumeric, "1,000", "999", -1},
        {ssFinancial, "1,000.5", "999", 1},
        {ssFinancial, "1,234,567", "1,234,568", -1},
        // The first prefix and suffix go, wherever they stand.
        {ssNumeric, "$10", "$9", 1, "$"},
        {ssNumeric, "10 kg", "9 kg", 1, "", " kg"},
        {ssNumeric, "x5", "4", 1, "x"},
        // Texts.
        {ssAlphabetic, "a", "B", 1},
        {ssAlphaCase, "b", "b", 0},
        {ssAlphaNoCase, "a", "B", -1},
        {ssAlphaNoCase, "abc", "ABC", 0},
        {ssAnsiAlphaCase, "a", "B", -1},
        {ssAnsiAlphaCase, "a", "A", -1},
        {ssAnsiAlphaNoCase, "a", "A", 0},
        {ssHTML, "<b>b</b>", "a", 1},
        {ssHTML, "<i>a</i>", "<b>a</b>", 0},
        // Dates and times by the run-time settings; a failed conversion counts 0.
        {ssDate, "02/01/2020", "01/02/2020", -1},
        {ssDate, "", "01/01/2020", -1},
        {ssDate, "garbage", "", 0},
        {ssDateTime, "01/01/2020 10:00", "01/01/2020 09:00", 1},
        {ssTime, "10:00", "9:30", 1},
        {ssTime, "nonsense", "00:00", 0},
        {ssShortDateEU, "01/02/2020", "02/01/2020", 1},
        {ssShortDateUS, "01/02/2020", "02/01/2020", -1},
        {ssShortDateEU, "31/02/2020", "01/01/2000", -1},
        // Detected from the first text.
        {ssAutomatic, "12", "9", 1},
        {ssAutomatic, "10/01/2020", "02/03/2020", -1},
        {ssAutomatic, "1/03/2020", "2/01/2020", 1},
        {ssAutomatic, "123/4", "2/01/2020", -1},
        {ssAutomatic, "ab/cd", "2/01/2020", 1},
        {ssAutomatic, "9:05", "10:00", -1},
        {ssAutomatic, "9:05", "1000", 1},
        {ssAlphaNumeric, "10", "9", 1},
        {ssAlphaNumeric, "a10", "a9", -1},
        {ssAlphaNumericNoCase, "b", "A", 1},
    };
    auto g = MakeAdvGrid(2, 3);
    TSortStyle style = ssAutomatic;
    String prefix, suffix;
    g->OnGetFormat = [&](TObject*, int, TSortStyle& S, String& P, String& X) {
        S = style;
        P = prefix;
        X = suffix;
    };
    for (const Case& c : cases) {
        style = c.Style;
        prefix = c.Prefix;
        suffix = c.Suffix;
        g->SetCells(1, 1, c.A);
        g->SetCells(1, 2, c.B);
        EXPECT_EQ(g->CompareRowCells(1, 1, sdAscending, 2), c.Expected)
            << int(c.Style) << " '" << c.A << "' vs '" << c.B << "'";
    }
}

TEST_F(SortCompare, BlanksArePlacedByBlankPosInBothDirections) {
    struct Case {
        TSortBlankPosition Pos;
        TSortDirection Dir;
        const char* A;
        const char* B;
        int Expected;
    };
    const Case cases[] = {
        {blFirst, sdAscending, "", "x", -1},
        {blFirst, sdAscending, "x", "", 1},
        {blLast, sdAscending, "", "x", 1},
        {blLast, sdAscending, "x", "", -1},
        {blFirst, sdDescending, "", "x", 1},
        {blFirst, sdDescending, "x", "", -1},
        {blLast, sdDescending, "", "x", -1},
        {blLast, sdDescending, "x", "", 1},
        // Two blanks keep the comparison; a suffix-only number text is blank once prepared.
        {blLast, sdAscending, "", "", 0},
    };
    auto g = MakeAdvGrid(2, 3);
    g->SortSettings()->SetIgnoreBlanks(true);
    for (const Case& c : cases) {
        g->SortSettings()->SetBlankPos(c.Pos);
        g->SetCells(1, 1, c.A);
        g->SetCells(1, 2, c.B);
        EXPECT_EQ(g->CompareRowCells(1, 1, c.Dir, 2), c.Expected)
            << int(c.Pos) << int(c.Dir) << " '" << c.A << "' vs '" << c.B << "'";
    }

    // Whole sorts: empty cells end last both ways with blLast.
    g->SortSettings()->SetBlankPos(blLast);
    g->SetRowCount(6);
    Fill(g.get(), 1, {"b", "", "a", "", "c"});
    g->SortSettings()->SetColumn(1);
    g->SortSettings()->SetDirection(sdAscending);
    g->QSort();
    EXPECT_EQ(Column(g.get(), 1, 1), (QStringList{"a", "b", "c", "", ""}));
    g->SortSettings()->SetDirection(sdDescending);
    g->QSort();
    EXPECT_EQ(Column(g.get(), 1, 1), (QStringList{"c", "b", "a", "", ""}));
}

TEST_F(SortCompare, CheckBoxesImagesAndTheCompareEvents) {
    auto g = MakeAdvGrid(3, 3);
    // Detected check boxes: unchecked sorts before checked.
    g->AddCheckBox(1, 1, true, false);
    g->AddCheckBox(1, 2, false, false);
    EXPECT_EQ(g->CompareRowCells(1, 1, sdAscending, 2), 1);
    EXPECT_EQ(g->CompareRowCells(1, 2, sdAscending, 1), -1);
    g->SetCheckBoxState(1, 2, true);
    EXPECT_EQ(g->CompareRowCells(1, 1, sdAscending, 2), 0);

    TSortStyle style = ssCustom;
    g->OnGetFormat = [&](TObject*, int, TSortStyle& S, String&, String&) { S = style; };
    g->SetCells(2, 1, "left");
    g->SetCells(2, 2, "right");
    std::vector<String> seen;
    EXPECT_EQ(g->CompareRowCells(2, 1, sdAscending, 2), 0) << "custom without a handler";
    g->OnCustomCompare = [&](TObject*, const String& A, const String& B, int& Res) {
        seen = {A, B};
        Res = 1;
    };
    EXPECT_EQ(g->CompareRowCells(2, 1, sdAscending, 2), 1);
    EXPECT_EQ(seen, (std::vector<String>{"left", "right"}));
    style = ssRaw;
    int rows = 0;
    g->OnRawCompare = [&](TObject*, int ACol, int R1, int R2, int& Res) {
        rows = ACol * 100 + R1 * 10 + R2;
        Res = -1;
    };
    EXPECT_EQ(g->CompareRowCells(2, 2, sdAscending, 1), -1);
    EXPECT_EQ(rows, 221);
    style = ssImages;
    EXPECT_EQ(g->CompareRowCells(2, 1, sdAscending, 2), 0) << "no images on either side";
    const int before = g->Compares;
    g->CompareRowCells(2, 1, sdAscending, 2);
    EXPECT_EQ(g->Compares, before + 1);
}

// Random grids of words, numbers and blanks in four columns, one of them hidden, some cells with
// properties, under the styles that order consistently: after the sort neighbouring rows are in
// order, and every row is still whole.
TEST_F(SortGrid, RandomGridsSortIntoOrderAndKeepEveryRowWhole) {
    std::mt19937 rng(20261211);
    const char* words[] = {"", "pear", "Apple", "apple", "12", "9", "fig", "-4", "1e2", "x y"};
    for (int round = 0; round < 30; ++round) {
        auto g = MakeAdvGrid(5, 2 + int(rng() % 40));
        g->SetFixedRows(1);
        const int sortCol = 1 + int(rng() % 3);
        const bool desc = rng() % 2;
        // A style that orders every pair consistently (automatic detection does not between
        // numbers and words).
        const TSortStyle styles[] = {ssAlphabetic, ssAlphaNoCase, ssNumeric, ssAnsiAlphaNoCase, ssHTML};
        const TSortStyle style = styles[rng() % 5];
        g->OnGetFormat = [style](TObject*, int, TSortStyle& S, String&, String&) { S = style; };
        g->SortSettings()->SetFull(true);
        // Each row: an id in column 0, random texts elsewhere, properties on some cells.
        std::vector<std::vector<String>> rowsBefore;
        std::vector<std::vector<TObject*>> objectsBefore;
        for (int r = 1; r < g->RowCount(); ++r) {
            g->SetCells(0, r, QString::number(r));
            for (int c = 1; c < 5; ++c) {
                g->SetCells(c, r, words[rng() % 10]);
                if (rng() % 4 == 0) g->SetColors(c, r, TColor(rng() % 0xFFFFFF));
            }
        }
        g->HideColumn(3);
        auto rowOf = [&](int r) {
            std::vector<String> t;
            for (int c = 0; c < g->TotalColCount(); ++c) t.push_back(g->Cells(c, r));
            return t;
        };
        auto objectsOf = [&](int r) {
            std::vector<TObject*> o;
            for (int c = 0; c < g->TotalColCount(); ++c) o.push_back(g->Objects(c, r));
            return o;
        };
        for (int r = 1; r < g->RowCount(); ++r) {
            rowsBefore.push_back(rowOf(r));
            objectsBefore.push_back(objectsOf(r));
        }
        const int rowCount = g->RowCount();
        const int colCount = g->ColCount();

        g->Sort(sortCol, desc ? sdDescending : sdAscending);

        ASSERT_EQ(g->RowCount(), rowCount);
        ASSERT_EQ(g->ColCount(), colCount);
        for (int r = 1; r + 1 < g->RowCount(); ++r)
            EXPECT_NE(g->CompareRowsFull(sortCol, r, r + 1), desc ? -1 : 1)
                << "round " << round << " rows " << r << "," << r + 1;
        for (int r = 1; r < g->RowCount(); ++r) {
            const int id = g->Cells(0, r).toInt();
            ASSERT_GE(id, 1);
            EXPECT_EQ(rowOf(r), rowsBefore[size_t(id - 1)]) << "round " << round;
            EXPECT_EQ(objectsOf(r), objectsBefore[size_t(id - 1)]) << "round " << round;
        }
        // Nothing is left in the scratch rows' store.
        for (int r = rowCount; r < rowCount + 3; ++r)
            for (int c = 0; c < g->TotalColCount(); ++c) {
                EXPECT_TRUE(g->Cells(c, r).isEmpty());
                EXPECT_EQ(g->Objects(c, r), nullptr);
            }
    }
}

TEST_F(SortGrid, FixedFooterAndHiddenRowsStayAndColumnZeroStaysWithNormalCellsOnly) {
    auto g = MakeAdvGrid(3, 8);
    g->SetFixedRows(1);
    g->SetFixedCols(1);
    g->SetFixedFooters(1);
    Fill(g.get(), 0, {"r1", "r2", "r3", "r4", "r5", "r6", "foot"});
    Fill(g.get(), 1, {"d", "b", "hidden", "e", "a", "c", "zz-footer"});
    Fill(g.get(), 2, {"4", "2", "h", "5", "1", "3", "f"});
    g->SetCells(1, 0, "head");
    g->HideRow(3);
    g->SortSettings()->SetNormalCellsOnly(true);
    g->Sort(1, sdAscending);
    EXPECT_EQ(Column(g.get(), 1), (QStringList{"head", "a", "b", "c", "d", "e", "zz-footer"}));
    EXPECT_EQ(Column(g.get(), 2), (QStringList{"", "1", "2", "3", "4", "5", "f"}));
    EXPECT_EQ(Column(g.get(), 0), (QStringList{"", "r1", "r2", "r4", "r5", "r6", "foot"}))
        << "column 0 keeps its texts in place";
    g->UnHideRowsAll();
    EXPECT_EQ(g->Cells(1, 3), "hidden");

    // Without NormalCellsOnly column 0 moves with its rows.
    g->SortSettings()->SetNormalCellsOnly(false);
    g->Sort(1, sdDescending);
    EXPECT_EQ(Column(g.get(), 1).mid(1, 3), (QStringList{"hidden", "e", "d"}));
    EXPECT_EQ(Column(g.get(), 0).mid(1, 3), (QStringList{"r3", "r6", "r5"}));
}

TEST_F(SortGrid, TheCurrentRowFollowsItsDataOnlyWithMoveRowOnSort) {
    for (const bool move : {false, true}) {
        auto g = MakeAdvGrid(2, 5);
        g->SetFixedRows(1);
        Fill(g.get(), 1, {"c", "a", "d", "b"});
        g->SetRow(1); // "c"
        std::vector<std::pair<int, int>> updates;
        g->OnRowUpdate = [&](TObject*, int OldRow, int NewRow) { updates.emplace_back(OldRow, NewRow); };
        g->Navigation()->MoveRowOnSort = move;
        g->Sort(1, sdAscending);
        if (move) {
            EXPECT_EQ(g->Row(), 3);
            EXPECT_EQ(g->Cells(1, g->Row()), "c");
            ASSERT_FALSE(updates.empty());
            EXPECT_EQ(updates.back().second, 3);
        } else {
            EXPECT_EQ(g->Row(), 1);
            EXPECT_EQ(g->Cells(1, 1), "a");
            ASSERT_FALSE(updates.empty());
            EXPECT_EQ(updates.back(), std::make_pair(1, 1));
        }
    }
}

TEST_F(SortGrid, UnSortRestoresTheOrderFromBeforeTheFirstSort) {
    auto g = MakeAdvGrid(3, 7);
    g->SetFixedRows(1);
    const QStringList original{"m", "c", "x", "a", "q", "b"};
    Fill(g.get(), 1, original);
    Fill(g.get(), 2, {"6", "1", "4", "2", "5", "3"});
    g->Sort(1, sdAscending);
    g->Sort(2, sdDescending);
    EXPECT_NE(Column(g.get(), 1, 1), original);
    g->QUnSort();
    EXPECT_EQ(Column(g.get(), 1, 1), original);
    EXPECT_EQ(Column(g.get(), 2, 1), (QStringList{"6", "1", "4", "2", "5", "3"}));

    // Rows added after the sort: the cross reference starts anew and the order stays.
    g->Sort(1, sdAscending);
    g->SetRowCount(8);
    g->SetCells(1, 7, "new");
    const QStringList now = Column(g.get(), 1);
    g->QUnSort();
    EXPECT_EQ(Column(g.get(), 1), now);
    g->Sort(1, sdDescending);
    g->QUnSort();
    EXPECT_EQ(Column(g.get(), 1), now);
}

TEST_F(SortGrid, GroupSortOrdersOnlyTheChildrenOfExpandedDeepestNodes) {
    auto g = MakeAdvGrid(2, 12);
    g->SetFixedRows(1);
    // Rows 1..10 one group; rows 2..5 a deeper group of three children, rows 6..7 a deeper
    // group of one child, rows 8..10 children of the outer group only.
    g->AddNode(1, 10);
    g->AddNode(2, 4);
    g->AddNode(6, 2);
    Fill(g.get(), 1, {"top", "g1", "z", "m", "a", "g2", "only", "y", "b", "x", "free"});
    g->SortSettings()->SetColumn(1);
    g->QSortGroup();
    EXPECT_EQ(Column(g.get(), 1, 1),
              (QStringList{"top", "g1", "a", "m", "z", "g2", "only", "y", "b", "x", "free"}));

    // A collapsed group keeps its order.
    g->SetCells(1, 3, "zz");
    g->SetCells(1, 5, "aa");
    g->ContractNode(2);
    g->SortSettings()->SetDirection(sdAscending);
    g->QSortGroup();
    g->ExpandNode(2);
    EXPECT_EQ(Column(g.get(), 1, 3).mid(0, 3), (QStringList{"zz", "m", "aa"}));

    // Indexed with no keys: nothing happens.
    g->QSortGroupIndexed();
    EXPECT_EQ(Column(g.get(), 1, 3).mid(0, 3), (QStringList{"zz", "m", "aa"}));
}

TEST_F(SortGrid, IndexedSortOrdersByKeysAndRefusesAnEmptyKeyList) {
    auto g = MakeAdvGrid(3, 7);
    g->SetFixedRows(1);
    Fill(g.get(), 0, {"b", "a", "c", "a", "b", "c"});
    Fill(g.get(), 1, {"1", "2", "3", "4", "5", "6"});
    Fill(g.get(), 2, {"x", "y", "x", "y", "y", "x"});
    const QStringList col0 = Column(g.get(), 0);
    try {
        g->QSortIndexed();
        ADD_FAILURE() << "no exception";
    } catch (const EAdvGridError& e) {
        EXPECT_EQ(String(e.Message()), "No indexes specified for indexed sort");
    }
    EXPECT_EQ(Column(g.get(), 0), col0);
    EXPECT_EQ(g->RowCount(), 7);

    g->SortIndexes()->AddIndex(2, false);
    g->SortIndexes()->AddIndex(0, true);
    g->QSortIndexed();
    EXPECT_EQ(Column(g.get(), 2, 1), (QStringList{"y", "y", "y", "x", "x", "x"}));
    EXPECT_EQ(Column(g.get(), 0, 1), (QStringList{"a", "a", "b", "b", "c", "c"}));
    EXPECT_EQ(g->SortIndexes()->Count(), 2) << "the keys stay";

    // QuickSortIndexed without keys does nothing; QSort clears the keys.
    g->SortIndexes()->Clear();
    g->QuickSortIndexed(1, 6);
    EXPECT_EQ(Column(g.get(), 0, 1), (QStringList{"a", "a", "b", "b", "c", "c"}));
}

TEST_F(SortGrid, AnExceptionFromACompareEventLeavesTheGridAsItWas) {
    auto g = MakeAdvGrid(4, 9);
    g->SetFixedRows(1);
    for (int r = 1; r < 9; ++r) {
        g->SetCells(1, r, QString::number(9 - r));
        g->SetCells(3, r, QStringLiteral("h%1").arg(r));
        g->SetColors(2, r, TColor(r));
    }
    g->HideColumn(3);
    g->SetColWidths(2, 77);
    struct Snapshot {
        int Rows, Cols, Width, Top;
        std::vector<String> Texts;
        std::vector<TObject*> Objects;
        bool operator==(const Snapshot&) const = default;
    };
    auto snap = [&] {
        Snapshot s{g->RowCount(), g->ColCount(), g->ColWidths(g->ColCount() - 1), g->TopRow(), {}, {}};
        for (int r = 0; r < g->RowCount() + 3; ++r)
            for (int c = 0; c < g->TotalColCount(); ++c) {
                s.Texts.push_back(g->Cells(c, r));
                s.Objects.push_back(g->Objects(c, r));
            }
        return s;
    };
    g->OnGetFormat = [](TObject*, int, TSortStyle& S, String&, String&) { S = ssCustom; };
    int calls = 0;
    g->OnCustomCompare = [&](TObject*, const String& A, const String& B, int& Res) {
        if (++calls == 5) throw std::runtime_error("handler failed");
        Res = A.toInt() - B.toInt() > 0 ? 1 : (A == B ? 0 : -1);
    };
    const Snapshot before = snap();
    EXPECT_THROW(g->Sort(1, sdAscending), std::runtime_error);
    const Snapshot after = snap();
    EXPECT_EQ(after.Rows, before.Rows);
    EXPECT_EQ(after.Cols, before.Cols);
    EXPECT_EQ(after.Width, before.Width);
    // Rows may have moved before the failure; every row is still whole and nothing is left in
    // the scratch rows.
    for (int r = before.Rows; r < before.Rows + 3; ++r)
        for (int c = 0; c < g->TotalColCount(); ++c) {
            EXPECT_TRUE(g->Cells(c, r).isEmpty());
            EXPECT_EQ(g->Objects(c, r), nullptr);
        }
    for (int r = 1; r < 9; ++r) {
        const int v = g->Cells(1, r).toInt();
        EXPECT_EQ(g->Cells(3, r), QStringLiteral("h%1").arg(9 - v));
        EXPECT_EQ(g->Colors(2, r), TColor(9 - v));
    }
    // The grid sorts normally afterwards.
    calls = -1000;
    g->Sort(1, sdAscending);
    EXPECT_EQ(Column(g.get(), 1, 1), (QStringList{"1", "2", "3", "4", "5", "6", "7", "8"}));
}

// An order whose middle row is always the largest of its range: every partition splits off one
// row. The workers recurse into the smaller part only, so the stack the compare events see does
// not grow with the row count.
TEST_F(SortGrid, AnOrderThatMakesEveryPivotExtremeRecursesOnlyOnce) {
    auto stackUsed = [](int Rows) {
        std::vector<int> value(static_cast<size_t>(Rows));
        std::vector<int> slot(static_cast<size_t>(Rows));
        for (int i = 0; i < Rows; ++i) slot[size_t(i)] = i;
        // Play the partition backwards: the middle of 0..R gets the largest value left, and the
        // partition swaps it to R.
        for (int R = Rows - 1; R > 0; --R) {
            const int m = R / 2;
            value[size_t(slot[size_t(m)])] = R;
            std::swap(slot[size_t(m)], slot[size_t(R)]);
        }
        value[size_t(slot[0])] = 0;
        auto g = MakeAdvGrid(1, Rows);
        g->SetFixedRows(0);
        for (int r = 0; r < Rows; ++r) g->SetCells(0, r, QString::number(value[size_t(r)]));
        g->OnGetFormat = [](TObject*, int, TSortStyle& S, String&, String&) { S = ssRaw; };
        std::uintptr_t lowest = UINTPTR_MAX;
        TAdvStringGrid* grid = g.get();
        g->OnRawCompare = [&](TObject*, int ACol, int R1, int R2, int& Res) {
            volatile char probe = 0;
            lowest = std::min(lowest, std::uintptr_t(&probe));
            const int a = grid->Cells(ACol, R1).toInt(), b = grid->Cells(ACol, R2).toInt();
            Res = a > b ? 1 : (a < b ? -1 : 0);
        };
        volatile char top = 0;
        const std::uintptr_t start = std::uintptr_t(&top);
        g->Sort(0, sdAscending);
        for (int r = 0; r < Rows; ++r) EXPECT_EQ(g->Cells(0, r).toInt(), r);
        return start - lowest;
    };
    const std::uintptr_t small = stackUsed(200);
    const std::uintptr_t large = stackUsed(1200);
    EXPECT_LT(large, small + 4096) << "stack used: " << small << " for 200 rows, " << large << " for 1200";
}

// The header click reaches the sort: a click on the sort row orders the column.
class SortHeaderClick : public AdvShownGridFixture {};

TEST_F(SortHeaderClick, AClickOnTheHeaderSortsAndASecondReverses) {
    Grid->SetColCount(3);
    Grid->SetRowCount(5);
    Grid->SortSettings()->SetShow(true);
    Fill(Grid, 1, {"pear", "apple", "fig", "banana"});
    Fill(Grid, 2, {"1", "2", "3", "4"});
    const TRect r = Grid->CellRect(1, 0);
    SimulateClick(Grid, (r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2);
    Application->ProcessMessages();
    EXPECT_EQ(Column(Grid, 1, 1), (QStringList{"apple", "banana", "fig", "pear"}));
    EXPECT_EQ(Column(Grid, 2, 1), (QStringList{"2", "4", "3", "1"}));
    SimulateClick(Grid, (r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2);
    Application->ProcessMessages();
    EXPECT_EQ(Column(Grid, 1, 1), (QStringList{"pear", "fig", "banana", "apple"}));
}

TEST_F(SortGrid, SortSettingsLoadedFromTextSortTheRows) {
    auto g = MakeAdvGrid(3, 5);
    g->SetFixedRows(1);
    Fill(g.get(), 0, {"b", "a", "b", "a"});
    Fill(g.get(), 1, {"2", "10", "1", "3"});
    struct Case {
        const char* Text;
        QStringList Col1;
    };
    const Case cases[] = {
        {"d1", {"10", "3", "2", "1"}},
        {"u1", {"1", "2", "3", "10"}},
        {"i;u0;d1", {"10", "3", "2", "1"}},
        // A column the grid does not have changes nothing.
        {"u99", {"10", "3", "2", "1"}},
    };
    for (const Case& c : cases) {
        g->SortSettings()->LoadFromString(c.Text);
        EXPECT_EQ(Column(g.get(), 1, 1), c.Col1) << c.Text;
        EXPECT_EQ(g->RowCount(), 5) << c.Text;
    }
}

// A sort without handlers reads the sort column once per row and compares the texts it read; a
// format handler that leaves the style makes every comparison read the cells again. Both must
// give the same order (rows are told apart by the id in column 0) after the same comparisons,
// for the whole grid and for a range of rows.
TEST_F(SortGrid, ReadOnceKeysGiveTheOrderOfTheComparisonsThatReadTheCells) {
    struct Data {
        const char* Name;
        std::vector<const char*> Texts;
    };
    const Data data[] = {
        {"integers", {"12", "9", "-4", "12", "0", "100", "7", "9", "-40", "3", "12", "55"}},
        {"numbers, blanks and words",
         {"1.5", "", "abc", "-2", "1e2", "", " 7", "x", "7", "2.50", "1,000", "0"}},
        {"words first", {"pear", "12", "Apple", "apple", "", "9", "fig", "Fig", "-4", "x y", "pear", "b"}},
        {"dates and times",
         {"03/04/2020", "1/2/2021", "12:30", "01/01/1999", "", "9:05", "31/12/2020", "03/04/2020 10:00", "7",
          "10:00"}},
    };
    struct Style {
        bool Auto, IgnoreCase, IgnoreBlanks, Full;
        TSortBlankPosition Pos;
        bool Virtual = true;
    };
    const Style styles[] = {
        {true, false, false, false, blFirst},      {true, true, false, true, blFirst},
        {true, false, true, false, blLast},        {false, false, false, false, blFirst},
        {false, true, true, true, blFirst},        {false, true, false, false, blLast},
        {true, false, true, true, blFirst, false}, {false, true, false, false, blFirst, false},
    };
    for (const Data& d : data)
        for (const Style& st : styles)
            for (int sortKind = 0; sortKind < 4; ++sortKind) {
                // Whole grid both ways, then a range inside it both ways.
                const TSortDirection dir = sortKind % 2 ? sdDescending : sdAscending;
                const bool range = sortKind >= 2;
                std::vector<QStringList> orders;
                std::vector<int> compares;
                for (bool withEvent : {false, true}) {
                    const int n = int(d.Texts.size());
                    auto g = MakeAdvGrid(3, n + 1);
                    g->SetFixedRows(1);
                    for (int r = 1; r <= n; ++r) {
                        g->SetCells(0, r, QString::number(r));
                        g->SetCells(1, r, d.Texts[size_t(r - 1)]);
                        g->SetCells(2, r, QString::number(r % 3));
                    }
                    TSortSettings* ss = g->SortSettings();
                    ss->SetAutoFormat(st.Auto);
                    ss->SetIgnoreCase(st.IgnoreCase);
                    ss->SetIgnoreBlanks(st.IgnoreBlanks);
                    ss->SetBlankPos(st.Pos);
                    ss->SetFull(st.Full);
                    ss->SetSortOnVirtualCells(st.Virtual);
                    if (withEvent) g->OnGetFormat = [](TObject*, int, TSortStyle&, String&, String&) {};
                    g->Compares = 0;
                    if (range) {
                        ss->SetDirection(dir);
                        g->QuickSort(1, 3, n - 2);
                    } else {
                        g->Sort(1, dir);
                    }
                    orders.push_back(Column(g.get(), 0, 1));
                    compares.push_back(g->Compares);
                }
                EXPECT_EQ(orders[0], orders[1])
                    << d.Name << " auto " << st.Auto << " nocase " << st.IgnoreCase << " blanks "
                    << st.IgnoreBlanks << " full " << st.Full << " kind " << sortKind;
                EXPECT_EQ(compares[0], compares[1]) << d.Name;
            }
}
