// The grid control's cell operations that are not editing: the cell checker over cells, fills,
// dates and times as values, the disjunct row and column selections, the modified and disabled
// rows, moving the current cell, and the repaint operations (on a shown grid's update region).
#include "AdvGrid.h"
#include "AdvGridTestSupport.h"
#include "AdvShownGridFixture.h"
#include "AdvStringGridCheck.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <QRegion>

#include <algorithm>
#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace {

// A grid that counts the change reports of its fills.
class TCountingGrid : public TAdvStringGrid {
public:
    explicit TCountingGrid(TComponent* AOwner) : TAdvStringGrid(AOwner) {}
    void AllCellsChanged() override {
        ++AllChanged;
        TAdvStringGrid::AllCellsChanged();
    }
    int AllChanged = 0;
};

struct TFreeCounting {
    void operator()(TCountingGrid* G) const { TObject::Free(G); }
};
using TCountingGridPtr = std::unique_ptr<TCountingGrid, TFreeCounting>;

TCountingGridPtr MakeCountingGrid(int Cols, int Rows) {
    TCountingGridPtr g(new TCountingGrid(nullptr));
    g->SetColCount(Cols);
    g->SetRowCount(Rows);
    return g;
}

// A checker that upper-cases one cell's text and brackets the text it marks, recording its calls.
class TRecordingCheck : public TAdvStringGridCheck {
public:
    explicit TRecordingCheck(TComponent* AOwner) : TAdvStringGridCheck(AOwner) {}
    String Correct(int ACol, int ARow, const String& S) override {
        Calls.push_back("correct " + std::to_string(ACol) + "," + std::to_string(ARow));
        return ACol == FixCol && ARow == FixRow ? S.toUpper() : S;
    }
    String MarkError(int ACol, int ARow, const String& S) override {
        return ACol == FixCol && ARow == FixRow ? "[" + S + "]" : S;
    }
    void StartCheck() override { Calls.push_back("start"); }
    void StopCheck() override { Calls.push_back("stop"); }
    int FixCol = 2, FixRow = 2;
    std::vector<std::string> Calls;
    int Count(const std::string& Call) const { return int(std::count(Calls.begin(), Calls.end(), Call)); }
};

// Every cell's text of a grid, row by row, "|" between cells and "/" between rows.
std::string Texts(TAdvStringGrid* G) {
    std::string s;
    for (int r = 0; r < G->RowCount(); ++r) {
        for (int c = 0; c < G->ColCount(); ++c)
            s += G->Cells(c, r).toStdString() + (c + 1 < G->ColCount() ? "|" : "");
        s += "/";
    }
    return s;
}

template <class F> std::string ErrorOf(F Fn) {
    try {
        Fn();
    } catch (const Exception& E) {
        return E.Message().toStdString();
    }
    return "none";
}

} // namespace

// ---------------------------------------------------------------------------------------------
// Cell checks

TEST(AdvGridCellChecks, CheckGridReportsAChangeRunsTheCheckOnceAndKeepsTheCurrentCell) {
    TAdvGridPtr g = MakeAdvGrid(5, 5);
    auto* check = new TRecordingCheck(nullptr);
    auto freeCheck = FreeAtEnd(check);
    check->GotoCell = true;
    check->UseCorrect = true;
    g->SetCellChecker(check);
    g->TextFill(false, QStringLiteral("ab"));
    g->SetCol(3);
    g->SetRow(1);

    EXPECT_FALSE(g->CheckGrid(false));
    EXPECT_EQ(check->Count("start"), 1);
    EXPECT_EQ(check->Count("stop"), 1);
    EXPECT_EQ(check->Calls.front(), "start");
    EXPECT_EQ(check->Calls.back(), "stop");
    // Every data cell was checked, also after the change, row by row.
    EXPECT_EQ(check->Calls.size(), 2u + 16u);
    EXPECT_EQ(check->Calls[1], "correct 1,1");
    EXPECT_EQ(check->Calls[2], "correct 2,1");
    EXPECT_EQ(g->Cells(2, 2), QStringLiteral("AB"));
    EXPECT_EQ(g->Cells(3, 3), QStringLiteral("ab"));
    EXPECT_EQ(g->Col(), 3);
    EXPECT_EQ(g->Row(), 1);

    // Nothing left to change: every cell unchanged.
    EXPECT_TRUE(g->CheckGrid(false));
    // A column or row that misses the changing cell.
    check->FixCol = 4;
    EXPECT_TRUE(g->CheckCol(false, 1));
    EXPECT_FALSE(g->CheckRow(false, 2));
}

TEST(AdvGridCellChecks, CorrectThenMarkAndNoCheckerChangesNothing) {
    TAdvGridPtr g = MakeAdvGrid(4, 4);
    g->SetCells(2, 2, QStringLiteral("ab"));
    EXPECT_TRUE(g->CheckCell(2, 2)); // no checker
    EXPECT_TRUE(g->CheckGrid(true));
    EXPECT_EQ(g->Cells(2, 2), QStringLiteral("ab"));

    auto* check = new TRecordingCheck(nullptr);
    check->UseCorrect = true;
    check->UseMarkError = true;
    g->SetCellChecker(check);
    EXPECT_FALSE(g->CheckCell(2, 2));
    EXPECT_EQ(g->Cells(2, 2), QStringLiteral("[AB]"));
    EXPECT_EQ(check->Count("start"), 0); // a single cell runs no check bracket

    // A freed checker is forgotten.
    TObject::Free(check);
    EXPECT_EQ(g->CellChecker(), nullptr);
    EXPECT_TRUE(g->CheckCell(2, 2));
}

// ---------------------------------------------------------------------------------------------
// Fills

TEST(AdvGridFills, EachFillCoversItsRangeAndReportsTheChange) {
    struct Case {
        const char* Name;
        bool DoFixed;
        std::function<void(TAdvStringGrid*)> Fill;
        std::string Expected;
    };
    // 4 x 4 with one fixed column and row, one fixed right column and one footer: the data cells
    // are columns 1-2 of rows 1-2.
    const std::vector<Case> cases = {
        {"text", false, [](TAdvStringGrid* G) { G->TextFill(false, QStringLiteral("x")); },
         "|||/|x|x|/|x|x|/|||/"},
        {"format", false, [](TAdvStringGrid* G) { G->FormatFill(false, QStringLiteral("%d-%d")); },
         "|||/|1-1|2-1|/|1-2|2-2|/|||/"},
        {"format column only", false, [](TAdvStringGrid* G) { G->FormatFill(false, QStringLiteral("c%d")); },
         "|||/|c1|c2|/|c1|c2|/|||/"},
        {"linear", false, [](TAdvStringGrid* G) { G->LinearFill(false); }, "|||/|1:1|2:1|/|1:2|2:2|/|||/"},
        {"linear with fixed", true, [](TAdvStringGrid* G) { G->LinearFill(true); },
         "0:0|1:0|2:0|3:0/0:1|1:1|2:1|3:1/0:2|1:2|2:2|3:2/0:3|1:3|2:3|3:3/"},
        {"random below 1", false, [](TAdvStringGrid* G) { G->RandomFill(false, 1); }, "|||/|0|0|/|0|0|/|||/"},
    };
    for (const Case& c : cases) {
        TCountingGridPtr g = MakeCountingGrid(4, 4);
        g->SetFixedRightCols(1);
        g->SetFixedFooters(1);
        g->AllChanged = 0;
        c.Fill(g.get());
        EXPECT_EQ(Texts(g.get()), c.Expected) << c.Name;
        EXPECT_EQ(g->AllChanged, 1) << c.Name;
    }
}

TEST(AdvGridFills, RandomValuesStayBelowTheBound) {
    TAdvGridPtr g = MakeAdvGrid(6, 6);
    g->RandomFill(false, 3);
    for (int r = 1; r < 6; ++r)
        for (int c = 1; c < 6; ++c) {
            const int v = g->GetInts(c, r);
            EXPECT_TRUE(v >= 0 && v < 3) << c << "," << r << ": " << v;
        }
}

TEST(AdvGridFills, AnEmptyRangeChangesNothingButStillReportsAndABadFormatWritesNothing) {
    TCountingGridPtr g = MakeCountingGrid(2, 3); // one fixed column, one fixed right column
    g->SetFixedRightCols(1);
    g->AllChanged = 0;
    g->TextFill(false, QStringLiteral("x"));
    EXPECT_EQ(Texts(g.get()), "|/|/|/");
    EXPECT_EQ(g->AllChanged, 1);

    TCountingGridPtr h = MakeCountingGrid(3, 3);
    EXPECT_THROW(h->FormatFill(false, QStringLiteral("%s")), EConvertError);
    EXPECT_EQ(Texts(h.get()), "||/||/||/");
}

// ---------------------------------------------------------------------------------------------
// Dates and times

TEST(AdvGridDates, DatesAndTimesRoundTripAndNullDatesFollowTheSwitch) {
    TAdvGridPtr g = MakeAdvGrid(3, 3);
    const TDateTime day = EncodeDate(2024, 2, 29);
    g->SetDates(1, 1, day);
    EXPECT_EQ(g->Cells(1, 1), DateToStr(day));
    EXPECT_EQ(g->GetDates(1, 1), day);
    const TDateTime time = EncodeTime(13, 45, 30, 0);
    g->SetTimes(2, 1, time);
    EXPECT_EQ(g->Cells(2, 1), TimeToStr(time));
    EXPECT_NEAR(g->GetTimes(2, 1), time, 1e-9);

    g->SetDates(1, 2, 0);
    EXPECT_FALSE(g->Cells(1, 2).isEmpty()); // ShowNullDates is on by default
    g->ShowNullDates = false;
    g->SetDates(1, 2, 0);
    EXPECT_TRUE(g->Cells(1, 2).isEmpty());
    g->SetDates(1, 2, -3);
    EXPECT_TRUE(g->Cells(1, 2).isEmpty());

    g->SetCells(2, 2, QStringLiteral("no date"));
    EXPECT_THROW(g->GetDates(2, 2), EConvertError);
    EXPECT_THROW(g->GetTimes(2, 2), EConvertError);
    EXPECT_EQ(g->Cells(2, 2), QStringLiteral("no date"));
}

// ---------------------------------------------------------------------------------------------
// The disjunct selections

TEST(AdvGridDisjunctSelection, AccessOutsideTheGridRaisesAndChangesNothing) {
    TAdvGridPtr g = MakeAdvGrid(4, 6);
    g->MouseActions()->SetDisjunctRowSelect(true);
    g->MouseActions()->SetDisjunctColSelect(true);
    g->SetRowSelect(2, true);
    g->SetColSelect(1, true);
    int events = 0;
    g->OnRowDisjunctSelect = [&](TObject*, int, bool, bool&) { ++events; };
    g->OnRowDisjunctSelected = [&](TObject*, int) { ++events; };

    const std::vector<std::pair<std::function<void()>, std::string>> cases = {
        {[&] { g->GetRowSelect(-1); }, "Invalid row -1 accessed"},
        {[&] { g->GetRowSelect(6); }, "Invalid row 6 accessed"},
        {[&] { g->SetRowSelect(-1, true); }, "Invalid row accessed"},
        {[&] { g->SetRowSelect(6, true); }, "Invalid row accessed"},
        {[&] { g->SelectRows(-1, 2); }, "Invalid row accessed"},
        {[&] { g->GetColSelect(4); }, "Invalid column accessed"},
        {[&] { g->GetColSelect(-1); }, "Invalid column accessed"},
        {[&] { g->SetColSelect(4, true); }, "Invalid column accessed"},
        {[&] { g->SetColSelect(-1, false); }, "Invalid column accessed"},
    };
    for (const auto& [call, message] : cases) {
        EXPECT_THROW(call(), EAdvGridError) << message;
        EXPECT_EQ(ErrorOf(call), message);
    }
    EXPECT_EQ(events, 0);
    EXPECT_EQ(g->RowSelectCount(), 1);
    EXPECT_EQ(g->ColSelectCount(), 1);
    EXPECT_EQ(g->SelectedRowCount(), 1);

    // A hidden row still counts as a row of the grid.
    g->HideRow(4);
    EXPECT_FALSE(g->GetRowSelect(5));
    // Persistent flags name real rows: the range is not checked on reading.
    g->MouseActions()->RowSelectPersistent = true;
    EXPECT_FALSE(g->GetRowSelect(40));
}

TEST(AdvGridDisjunctSelection, SelectRowsAsksAndReportsEachRowAndIsCutAtTheLastRow) {
    TAdvGridPtr g = MakeAdvGrid(4, 6);
    g->MouseActions()->SetDisjunctRowSelect(true);
    std::vector<std::string> log;
    g->OnRowDisjunctSelect = [&](TObject*, int ARow, bool Value, bool&) {
        log.push_back("ask " + std::to_string(ARow) + (Value ? " on" : " off"));
    };
    g->OnRowDisjunctSelected = [&](TObject*, int ARow) { log.push_back("done " + std::to_string(ARow)); };

    g->SelectRows(4, 5);
    EXPECT_EQ(log, (std::vector<std::string>{"ask 4 on", "done 4", "ask 5 on", "done 5"}));
    EXPECT_TRUE(g->GetRowSelect(4));
    EXPECT_TRUE(g->GetRowSelect(5));
    EXPECT_FALSE(g->GetRowSelect(3));
    EXPECT_EQ(g->RowSelectCount(), 2);

    // Selecting a selected row again asks nothing but still reports.
    log.clear();
    g->SetRowSelect(4, true);
    EXPECT_EQ(log, (std::vector<std::string>{"done 4"}));

    // A refusal changes nothing and reports nothing.
    log.clear();
    g->OnRowDisjunctSelect = [&](TObject*, int, bool, bool& Allow) { Allow = false; };
    g->SetRowSelect(1, true);
    g->UnSelectRows(4, 1);
    EXPECT_TRUE(log.empty());
    EXPECT_FALSE(g->GetRowSelect(1));
    EXPECT_TRUE(g->GetRowSelect(4));

    // The selected rows keep their order; the fixed row is flagged but not listed.
    g->OnRowDisjunctSelect = nullptr;
    g->SetRowSelect(0, true);
    g->SetRowSelect(2, true);
    EXPECT_EQ(g->SelectedRowCount(), 3);
    EXPECT_EQ(g->SelectedRow(0), 4);
    EXPECT_EQ(g->SelectedRow(1), 5);
    EXPECT_EQ(g->SelectedRow(2), 2);
    EXPECT_EQ(g->RowSelectCount(), 4);

    g->UnSelectRows(4, 1);
    EXPECT_FALSE(g->GetRowSelect(4));
    EXPECT_EQ(g->SelectedRow(0), 5);
    g->ClearRowSelect();
    EXPECT_EQ(g->RowSelectCount(), 0);
    EXPECT_EQ(g->SelectedRowCount(), 0);
}

TEST(AdvGridDisjunctSelection, WithoutDisjunctSelectionTheSelectionIsUsed) {
    TAdvGridPtr g = MakeAdvGrid(5, 8);
    g->SelectRows(6, 4); // cut at the last row
    EXPECT_EQ(g->Selection(), TGridRect(1, 6, 4, 7));
    EXPECT_TRUE(g->GetRowSelect(7));
    EXPECT_FALSE(g->GetRowSelect(5));
    EXPECT_EQ(g->RowSelectCount(), 2);

    g->SetSelection(TGridRect(1, 5, 2, 2)); // from row 5 up to row 2
    EXPECT_EQ(g->RowSelectCount(), 4);
    EXPECT_EQ(g->ColSelectCount(), 2);

    g->SelectCols(2, 9);
    EXPECT_EQ(g->Selection(), TGridRect(2, 1, 4, 7));
    g->UnSelectRows(1, 3); // nothing without disjunct rows
    EXPECT_EQ(g->Selection(), TGridRect(2, 1, 4, 7));

    g->SelectRange(1, 3, 2, 4);
    EXPECT_EQ(g->Selection(), TGridRect(1, 2, 3, 4));
    EXPECT_EQ(g->Col(), 3);
    EXPECT_EQ(g->Row(), 4);
}

TEST(AdvGridDisjunctSelection, ColumnsAndTheSelectionCopiedIntoTheFlags) {
    TAdvGridPtr g = MakeAdvGrid(6, 8);
    g->MouseActions()->SetDisjunctColSelect(true);
    g->SelectCols(3, 9);
    EXPECT_EQ(g->ColSelectCount(), 3);
    EXPECT_TRUE(g->GetColSelect(5));
    g->UnSelectCols(4, 1);
    EXPECT_FALSE(g->GetColSelect(4));
    EXPECT_EQ(g->ColSelectCount(), 2);
    g->ClearColSelect();
    EXPECT_EQ(g->ColSelectCount(), 0);

    g->SetSelection(TGridRect(2, 3, 3, 7));
    g->SelectionToColSelect(false);
    EXPECT_EQ(g->ColSelectCount(), 2);
    g->SetColSelect(5, true);
    g->SelectionToColSelect(true);
    EXPECT_FALSE(g->GetColSelect(5));
    EXPECT_TRUE(g->GetColSelect(2));

    // Rows: the footer row stays out of the copy.
    g->MouseActions()->SetDisjunctRowSelect(true);
    g->SetFixedFooters(1);
    g->SetRowSelect(1, true);
    g->SelectionToRowSelect(false);
    EXPECT_TRUE(g->GetRowSelect(1)); // outside the selection, kept
    EXPECT_TRUE(g->GetRowSelect(6));
    EXPECT_FALSE(g->GetRowSelect(7));
    EXPECT_EQ(g->RowSelectCount(), 5);
    g->SelectionToRowSelect(true);
    EXPECT_FALSE(g->GetRowSelect(1));
    EXPECT_EQ(g->RowSelectCount(), 4);
}

TEST(AdvGridDisjunctSelection, PersistentFlagsBelongToRealRows) {
    TAdvGridPtr g = MakeAdvGrid(4, 8);
    g->MouseActions()->SetDisjunctRowSelect(true);
    g->MouseActions()->RowSelectPersistent = true;
    g->HideRow(2);
    g->SelectRows(3, 1); // display row 3 is real row 4
    EXPECT_TRUE(g->GetRowSelect(4));
    EXPECT_FALSE(g->GetRowSelect(3));
    EXPECT_EQ(g->SelectedRow(0), 4);
}

// ---------------------------------------------------------------------------------------------
// The current cell and swapping

TEST(AdvGridCurrentCell, GotoFocusAndMoveTheCurrentCell) {
    TAdvGridPtr g = MakeAdvGrid(6, 6);
    g->GotoCell(4, 3);
    EXPECT_EQ(g->Col(), 4);
    EXPECT_EQ(g->Row(), 3);
    g->FocusCell(2, 5);
    EXPECT_EQ(g->Selection(), TGridRect(2, 5, 2, 5));
    g->SetSelection(TGridRect(1, 1, 3, 3));
    g->MoveCurrentCell(5, 2);
    EXPECT_EQ(g->Col(), 5);
    EXPECT_EQ(g->Row(), 2);
    EXPECT_EQ(g->Selection(), TGridRect(5, 2, 5, 2));
}

TEST(AdvGridCurrentCell, SwapCellsExchangesTheStoredContentsOnly) {
    TAdvGridPtr g = MakeAdvGrid(6, 6);
    g->MergeCells(1, 1, 2, 2);
    g->SetCells(1, 1, QStringLiteral("base"));
    g->SetCells(2, 2, QStringLiteral("covered"));
    g->SetColors(4, 4, clRed);
    g->SetCells(4, 4, QStringLiteral("red"));
    TObject* baseProps = g->Objects(1, 1);
    TObject* coveredProps = g->Objects(2, 2);

    g->SwapCells(TPoint(1, 1), TPoint(2, 2));
    EXPECT_EQ(g->Cells(1, 1), QStringLiteral("covered"));
    EXPECT_EQ(g->Cells(2, 2), QStringLiteral("base"));
    EXPECT_EQ(g->Objects(1, 1), coveredProps);
    EXPECT_EQ(g->Objects(2, 2), baseProps);

    g->SwapCells(TPoint(4, 4), TPoint(5, 5));
    EXPECT_EQ(g->Cells(5, 5), QStringLiteral("red"));
    EXPECT_EQ(g->Colors(5, 5), clRed);
    EXPECT_EQ(g->Objects(4, 4), nullptr);
}

// ---------------------------------------------------------------------------------------------
// Modified and disabled rows

TEST(AdvGridRowLists, ModifiedRowsCountOnlyMarkedRows) {
    TAdvGridPtr g = MakeAdvGrid(3, 8);
    EXPECT_FALSE(g->GetRowModified(5));
    EXPECT_FALSE(g->GetRowModified(-1));
    g->SetRowModified(5, true);
    g->SetRowModified(2, true);
    g->SetRowModified(2, false);
    g->SetRowModified(-1, true); // no such row: nothing
    EXPECT_TRUE(g->GetRowModified(5));
    EXPECT_FALSE(g->GetRowModified(2));
    EXPECT_EQ(g->ModifiedRowCount(), 1);
    g->ClearModifiedRows();
    EXPECT_EQ(g->ModifiedRowCount(), 0);
}

TEST(AdvGridRowLists, DisablingTheCurrentRowMovesToTheFirstOtherEnabledRow) {
    struct Case {
        int Current;
        std::vector<int> AlreadyDisabled;
        int Row;
        bool Value;
        int Expected;
    };
    const std::vector<Case> cases = {
        {3, {}, 3, false, 1},     // the first data row
        {1, {}, 1, false, 2},     // itself passed over
        {3, {1, 2}, 3, true, 4},  // enabling it moves as well
        {2, {1, 3}, 5, false, 2}, // another row: the current row stays
    };
    for (const Case& c : cases) {
        TAdvGridPtr g = MakeAdvGrid(3, 6);
        for (int r : c.AlreadyDisabled) g->SetRowEnabled(r, false);
        g->SetRow(c.Current);
        g->SetRowEnabled(c.Row, c.Value);
        EXPECT_EQ(g->Row(), c.Expected) << c.Current << " " << c.Row;
        EXPECT_EQ(g->GetRowEnabled(c.Row), c.Value);
        EXPECT_TRUE(g->UseEnabledRows);
    }
    // No other enabled row: the current row stays.
    TAdvGridPtr g = MakeAdvGrid(3, 3);
    g->SetRowEnabled(1, false);
    g->SetRow(2);
    g->SetRowEnabled(2, false);
    EXPECT_EQ(g->Row(), 2);
    EXPECT_TRUE(g->GetRowEnabled(7)); // beyond the list
}

// ---------------------------------------------------------------------------------------------
// Repaints on a shown grid of 8 x 20 cells, more than its client area shows

class AdvGridRepaints : public AdvShownGridFixture {
protected:
    void SetUp() override {
        AdvShownGridFixture::SetUp();
        Grid->SetColCount(8);
        Grid->SetRowCount(20);
        Grid->SetDefaultRowHeight(24);
        for (int r = 0; r < Grid->RowCount(); ++r) Grid->SetRowHeights(r, 24);
        Grid->OnPainted = [this](TObject*) { ++Paints; };
        Settle();
    }
    // Paints whatever is pending and empties the update region.
    void Settle() {
        Grid->Update();
        ValidateRect(Grid->Handle(), nullptr);
        Paints = 0;
    }
    QRegion Pending() {
        QRegion rgn;
        GetUpdateRgn(Grid->Handle(), rgn, false);
        return rgn;
    }
    static QRect Q(const TRect& R) { return QRect(R.Left, R.Top, R.Width(), R.Height()); }
    QRect Client() const { return Q(Grid->ClientRect()); }
    static bool Covers(const QRegion& Region, const QRect& R) { return (QRegion(R) - Region).isEmpty(); }
    int Paints = 0;
};

TEST_F(AdvGridRepaints, RowColumnAndCellBandsInvalidateWhatTheyName) {
    const int lastCol = Grid->LeftCol() + Grid->VisibleColCount(); // the column after the last whole one
    const int lastRow = Grid->TopRow() + Grid->VisibleRowCount();
    ASSERT_LT(lastCol, Grid->ColCount() - 1);
    ASSERT_LT(lastRow, Grid->RowCount() - 1);

    Grid->RepaintRow(3);
    EXPECT_TRUE(Covers(Pending(), Q(Grid->CellRect(0, 3))));
    EXPECT_TRUE(Covers(Pending(), Q(Grid->CellRect(lastCol, 3)) & Client()));
    EXPECT_FALSE(Pending().intersects(Q(Grid->CellRect(1, 2))));
    EXPECT_FALSE(Pending().intersects(Q(Grid->CellRect(1, 4))));
    Settle();

    Grid->RepaintCol(2);
    EXPECT_TRUE(Covers(Pending(), Q(Grid->CellRect(2, Grid->TopRow()))));
    EXPECT_TRUE(Covers(Pending(), Q(Grid->CellRect(2, lastRow)) & Client()));
    EXPECT_FALSE(Pending().intersects(Q(Grid->CellRect(2, 0)))); // the header is no part of it
    EXPECT_FALSE(Pending().intersects(Q(Grid->CellRect(1, 3))));
    EXPECT_FALSE(Pending().intersects(Q(Grid->CellRect(3, 3))));
    Settle();

    Grid->RepaintCell(2, 4);
    EXPECT_EQ(Pending(), QRegion(Q(Grid->CellRect(2, 4))));
    Settle();
    Grid->RepaintCell(2, 19); // out of view
    Grid->RepaintRow(19);
    Grid->RepaintCol(7);
    EXPECT_TRUE(Pending().isEmpty());

    Grid->RepaintHeaderCells(1, 2, 5, 3);
    const QRegion headers = QRegion(Q(Grid->CellRect(1, 0))) + Q(Grid->CellRect(3, 0)) +
                            Q(Grid->CellRect(0, 2)) + Q(Grid->CellRect(0, 5));
    EXPECT_EQ(Pending(), headers);
}

TEST_F(AdvGridRepaints, RepaintRectUnitesItsCornersOrRepaintsTheWholeGridAtOnce) {
    Grid->RepaintRect(TRect(1, 2, 2, 4));
    const TRect a = Grid->CellRect(1, 2), b = Grid->CellRect(2, 4);
    EXPECT_EQ(Pending(), QRegion(QRect(a.Left, a.Top, b.Right - a.Left, b.Bottom - a.Top)));
    EXPECT_EQ(Paints, 0);
    Settle();

    Grid->RepaintRect(TRect(-1, 2, 2, 4));
    EXPECT_TRUE(Pending().isEmpty());
    EXPECT_EQ(Paints, 0);

    // A corner below the view: the whole grid paints now.
    Grid->RepaintRect(TRect(1, 2, 2, 19));
    EXPECT_EQ(Paints, 1);
    EXPECT_TRUE(Pending().isEmpty());
}

TEST_F(AdvGridRepaints, SelectionFlagsRepaintOnlyOnAChange) {
    Grid->MouseActions()->SetDisjunctRowSelect(true);
    Settle();
    Grid->SetRowSelect(3, true);
    EXPECT_TRUE(Pending().contains(Q(Grid->CellRect(1, 3)).center()));
    Settle();
    Grid->SetRowSelect(3, true); // selected already
    EXPECT_TRUE(Pending().isEmpty());
    Grid->ClearRowSelect();
    EXPECT_TRUE(Pending().contains(Q(Grid->CellRect(1, 3)).center()));
    Settle();
    Grid->SetColSelect(2, false); // not selected: no repaint
    EXPECT_TRUE(Pending().isEmpty());
    Grid->SetColSelect(2, true);
    EXPECT_TRUE(Pending().contains(Q(Grid->CellRect(2, 5)).center()));
    Settle();
    Grid->SetRowModified(4, true);
    EXPECT_EQ(Pending(), QRegion(Q(Grid->CellRect(0, 4))));
}
