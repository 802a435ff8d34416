// The platform grid's store and structure: cells and objects kept across count changes, the row
// and column views, moves and deletes, sizes, defaults and the errors of bad indexes and counts;
// the events the draw grid raises from its hooks.
#include "GridTestSupport.h"

#include <QString>

#include <memory>
#include <tuple>
#include <vector>

namespace {

// An object to attach to cells (the store neither owns nor frees it).
class TTag : public TObject {};

using GridStore = GridFixture;

TEST_F(GridStore, StartsWithTheClassLibrarysDefaults) {
    TStringGrid* g = new TStringGrid(Form);
    EXPECT_EQ(g->ColCount(), 5);
    EXPECT_EQ(g->RowCount(), 5);
    EXPECT_EQ(g->FixedCols(), 1);
    EXPECT_EQ(g->FixedRows(), 1);
    EXPECT_EQ(g->DefaultColWidth(), 64);
    EXPECT_EQ(g->DefaultRowHeight(), 24);
    EXPECT_EQ(g->GridLineWidth(), 1);
    EXPECT_EQ(g->Options(),
              (TGridOptions{goFixedVertLine, goFixedHorzLine, goVertLine, goHorzLine, goRangeSelect}));
    EXPECT_EQ(g->FixedColor(), clBtnFace);
    EXPECT_EQ(g->ScrollBars(), ssBoth);
    EXPECT_TRUE(g->DefaultDrawing());
    EXPECT_EQ(g->Col(), 1);
    EXPECT_EQ(g->Row(), 1);
    EXPECT_EQ(g->Selection(), TGridRect(1, 1, 1, 1));
    EXPECT_EQ(g->LeftCol(), 1);
    EXPECT_EQ(g->TopRow(), 1);
}

// Lowering a count keeps the cells beyond it; raising it again shows them at the same index.
struct CountChange {
    const char* Name;
    int Col, Row;           // the cell written (may lie beyond the counts at first)
    int LowCols, LowRows;   // counts while it is hidden
    int HighCols, HighRows; // counts that show it again
    bool Text, Object;      // what the cell holds
};

class GridCountChanges : public GridFixture, public ::testing::WithParamInterface<CountChange> {};

TEST_P(GridCountChanges, KeepCellsAndShowThemAgain) {
    const CountChange& c = GetParam();
    TTag tag;
    if (c.Text) Grid->SetCells(c.Col, c.Row, QStringLiteral("kept"));
    if (c.Object) Grid->SetObjects(c.Col, c.Row, &tag);
    Grid->SetColCount(c.LowCols);
    Grid->SetRowCount(c.LowRows);
    EXPECT_EQ(Grid->ColCount(), c.LowCols);
    EXPECT_EQ(Grid->RowCount(), c.LowRows);
    // Hidden, but still there at its real index.
    EXPECT_EQ(Grid->Cells(c.Col, c.Row), c.Text ? QStringLiteral("kept") : QString());
    EXPECT_EQ(Grid->Objects(c.Col, c.Row), c.Object ? &tag : nullptr);
    if (c.Row < c.LowRows) {
        EXPECT_EQ(Grid->Rows(c.Row)->Count(), c.LowCols);
    }

    Grid->SetColCount(c.HighCols);
    Grid->SetRowCount(c.HighRows);
    TStrings* row = Grid->Rows(c.Row);
    ASSERT_GT(row->Count(), c.Col);
    EXPECT_EQ(row->Strings(c.Col), c.Text ? QStringLiteral("kept") : QString());
    EXPECT_EQ(row->Objects(c.Col), c.Object ? &tag : nullptr);
    // And it is drawn again where it belongs.
    Grid->SetColWidths(0, 10);
    Grid->SetLeftCol(std::max(c.Col, Grid->FixedCols()));
    Grid->SetTopRow(std::max(c.Row, Grid->FixedRows()));
    PaintNow();
    EXPECT_EQ(Grid->DrawsOf(c.Col, c.Row), 1);
}

INSTANTIATE_TEST_SUITE_P(
    Table, GridCountChanges,
    ::testing::Values(CountChange{"ColumnsLoweredAndRaised", 4, 2, 2, 5, 5, 5, true, true},
                      CountChange{"RowsLoweredAndRaised", 2, 4, 5, 2, 5, 5, true, true},
                      CountChange{"BothLoweredBelowTheFixedCells", 3, 3, 1, 1, 5, 5, true, false},
                      CountChange{"ObjectOnAnEmptyCell", 3, 1, 2, 5, 5, 5, false, true},
                      CountChange{"WrittenBeyondTheCountsFirst", 7, 6, 5, 5, 8, 7, true, true},
                      CountChange{"RaisedFarBeyond", 1, 2, 2, 3, 40, 300, true, true}),
    [](const ::testing::TestParamInfo<CountChange>& Info) { return std::string(Info.param.Name); });

TEST_F(GridStore, CountChangesLeaveCellsAndObjectsAloneAroundRowMoves) {
    // Raising and lowering ColCount around a row move (as hidden columns need) keeps the cells
    // of the columns beyond the count in their rows.
    TTag a, b;
    for (int r = 0; r < 5; ++r)
        for (int c = 0; c < 7; ++c) Grid->SetCells(c, r, QStringLiteral("%1/%2").arg(c).arg(r));
    Grid->SetObjects(6, 1, &a);
    Grid->SetObjects(6, 3, &b);
    Grid->SetColCount(7);
    Grid->MoveRow(1, 3);
    Grid->SetColCount(5);
    EXPECT_EQ(Grid->Cells(6, 3), QStringLiteral("6/1"));
    EXPECT_EQ(Grid->Objects(6, 3), &a);
    EXPECT_EQ(Grid->Objects(6, 2), &b);
    EXPECT_EQ(Grid->Cells(6, 1), QStringLiteral("6/2"));
    EXPECT_EQ(Grid->RowMoves, (std::vector<std::pair<int, int>>{{1, 3}}));
}

TEST_F(GridStore, RowViewAssignCopiesTextsAndObjectsAndClearsTheRest) {
    TTag tag;
    for (int c = 0; c < 5; ++c) Grid->SetCells(c, 2, QStringLiteral("old"));
    TStringList src;
    src.AddObject(QStringLiteral("a"), &tag);
    src.Add(QString());
    src.Add(QStringLiteral("c"));
    Grid->SetRows(2, &src);
    EXPECT_EQ(Grid->Cells(0, 2), QStringLiteral("a"));
    EXPECT_EQ(Grid->Objects(0, 2), &tag);
    EXPECT_EQ(Grid->Cells(1, 2), QString());
    EXPECT_EQ(Grid->Cells(2, 2), QStringLiteral("c"));
    EXPECT_EQ(Grid->Cells(3, 2), QString());
    EXPECT_EQ(Grid->Cells(4, 2), QString());

    // A row copied out takes the cells of ColCount columns with their objects.
    TStringList copy;
    copy.Assign(Grid->Rows(2));
    EXPECT_EQ(copy.Count(), 5);
    EXPECT_EQ(copy.Objects(0), &tag);

    // The column view runs down the rows.
    TStrings* col = Grid->Cols(2);
    EXPECT_EQ(col->Count(), Grid->RowCount());
    col->SetStrings(4, QStringLiteral("down"));
    EXPECT_EQ(Grid->Cells(2, 4), QStringLiteral("down"));
    col->Clear();
    EXPECT_EQ(Grid->Cells(2, 2), QString());
    // The views have a fixed length.
    EXPECT_THROW(col->Add(QStringLiteral("x")), EInvalidGridOperation);
    EXPECT_THROW(col->Delete(0), EInvalidGridOperation);
    EXPECT_THROW(col->Strings(5), EInvalidGridOperation);
}

TEST_F(GridStore, SwappingStoredRowsExchangesEveryStoredCellAndObject) {
    // Columns beyond the count and a row never written to change places too; nothing else moves.
    TTag a, b;
    for (int c = 0; c < 7; ++c) Grid->SetCells(c, 1, QStringLiteral("one%1").arg(c));
    Grid->SetObjects(6, 1, &a);
    Grid->SetObjects(0, 2, &b);
    Grid->SetCells(0, 3, QStringLiteral("three"));
    Grid->SwapStoredRows(1, 2);
    for (int c = 0; c < 7; ++c) {
        EXPECT_EQ(Grid->Cells(c, 2), QStringLiteral("one%1").arg(c)) << c;
        EXPECT_TRUE(Grid->Cells(c, 1).isEmpty()) << c;
    }
    EXPECT_EQ(Grid->Objects(6, 2), &a);
    EXPECT_EQ(Grid->Objects(0, 1), &b);
    EXPECT_EQ(Grid->Objects(6, 1), nullptr);
    EXPECT_EQ(Grid->Cells(0, 3), QStringLiteral("three"));
    Grid->SwapStoredRows(3, 40);
    EXPECT_EQ(Grid->Cells(0, 40), QStringLiteral("three"));
    EXPECT_TRUE(Grid->Cells(0, 3).isEmpty());
    Grid->SwapStoredRows(2, 2);
    EXPECT_EQ(Grid->Objects(6, 2), &a);
    EXPECT_TRUE(Grid->RowMoves.empty()) << "no row-move notification";
}

TEST_F(GridStore, MovingAColumnMovesItsCellsInEveryStoredRowAndItsWidth) {
    Grid->SetColWidths(1, 30);
    for (int r = 0; r < 9; ++r)
        Grid->SetCells(1, r, QStringLiteral("one%1").arg(r)); // rows 5..8 beyond the count
    Grid->SetCells(3, 8, QStringLiteral("three"));
    Grid->SetCol(1);
    int events = 0;
    Grid->OnColumnMoved = [&](TObject*, int From, int To) {
        ++events;
        EXPECT_EQ(From, 1);
        EXPECT_EQ(To, 3);
    };
    Grid->MoveColumn(1, 3);
    for (int r = 0; r < 9; ++r) EXPECT_EQ(Grid->Cells(3, r), QStringLiteral("one%1").arg(r)) << r;
    EXPECT_EQ(Grid->Cells(2, 8), QStringLiteral("three"));
    EXPECT_EQ(Grid->ColWidths(3), 30);
    EXPECT_EQ(Grid->ColWidths(1), 64);
    EXPECT_EQ(Grid->Col(), 3); // the current cell goes with its column
    EXPECT_EQ(events, 1);
    EXPECT_EQ(Grid->ColumnMoves, (std::vector<std::pair<int, int>>{{1, 3}}));
}

TEST_F(GridStore, DeletingARowMovesItToTheEndAndLowersTheCount) {
    for (int r = 0; r < 5; ++r) Grid->SetCells(1, r, QStringLiteral("r%1").arg(r));
    Grid->SetRowHeights(2, 40);
    Grid->SetRow(4);
    Grid->DeleteRow(2);
    EXPECT_EQ(Grid->RowCount(), 4);
    EXPECT_EQ(Grid->Cells(1, 2), QStringLiteral("r3"));
    EXPECT_EQ(Grid->Cells(1, 3), QStringLiteral("r4"));
    EXPECT_EQ(Grid->Row(), 3);
    EXPECT_EQ(Grid->RowHeights(2), 24);
    EXPECT_EQ(Grid->RowMoves, (std::vector<std::pair<int, int>>{{2, 4}}));
    // The deleted row stays in the store past the count.
    EXPECT_EQ(Grid->Cells(1, 4), QStringLiteral("r2"));
}

TEST_F(GridStore, SizesFollowTheCountsAndTheDefault) {
    Grid->SetColWidths(4, 10);
    Grid->SetRowHeights(1, 50);
    Grid->SetColCount(3);
    Grid->SetColCount(5);
    EXPECT_EQ(Grid->ColWidths(4), 64); // a size beyond the count is not kept
    EXPECT_EQ(Grid->RowHeights(1), 50);
    EXPECT_EQ(Grid->ColWidths(99), 64); // out of the count: the default
    Grid->SetDefaultRowHeight(30);
    EXPECT_EQ(Grid->RowHeights(1), 30);
    const int changes = Grid->RowHeightsChanges;
    Grid->SetRowHeights(1, 30);
    EXPECT_EQ(Grid->RowHeightsChanges, changes); // no change, no notice
}

TEST_F(GridStore, CountChangesReportTheOldCountsAndPullTheCurrentCellIn) {
    Grid->SetColCount(8);
    Grid->SetRowCount(8);
    Grid->SetCol(7);
    Grid->SetRow(6);
    Grid->SizeChanges.clear();
    Grid->SetColCount(4);
    Grid->SetRowCount(3);
    EXPECT_EQ(Grid->SizeChanges, (std::vector<std::pair<int, int>>{{8, 8}, {4, 8}}));
    EXPECT_EQ(Grid->Col(), 3);
    EXPECT_EQ(Grid->Row(), 2);
    EXPECT_EQ(Grid->Selection(), TGridRect(3, 2, 3, 2));
}

TEST_F(GridStore, ASelectionParkedOutsideTheGridStaysThereWhileCountsChange) {
    Grid->SetSelection(TGridRect(5, 5, 5, 5));
    EXPECT_EQ(Grid->Col(), 5);
    Grid->SetColCount(7);
    Grid->SetColCount(5);
    EXPECT_EQ(Grid->Selection(), TGridRect(5, 5, 5, 5));
    // Nothing shows selected or focused.
    PaintNow();
    for (auto& [cell, state] : Grid->DrawStates) {
        EXPECT_FALSE(state.count(gdSelected)) << cell.first << "," << cell.second;
        EXPECT_FALSE(state.count(gdFocused)) << cell.first << "," << cell.second;
    }
}

// Bad indexes and counts: each raises with its message and changes nothing.
struct BadCall {
    const char* Name;
    std::function<void(TTestGrid*)> Call;
    const char* Message;
};

class GridErrors : public GridFixture, public ::testing::WithParamInterface<BadCall> {};

TEST_P(GridErrors, RaiseAndChangeNothing) {
    Grid->SetCells(2, 2, QStringLiteral("x"));
    const int cols = Grid->ColCount(), rows = Grid->RowCount(), fixedCols = Grid->FixedCols();
    const TGridRect sel = Grid->Selection();
    try {
        GetParam().Call(Grid);
        FAIL() << "no error";
    } catch (EInvalidGridOperation& e) {
        EXPECT_EQ(e.Message(), QString::fromUtf8(GetParam().Message));
    }
    EXPECT_EQ(Grid->ColCount(), cols);
    EXPECT_EQ(Grid->RowCount(), rows);
    EXPECT_EQ(Grid->FixedCols(), fixedCols);
    EXPECT_EQ(Grid->Selection(), sel);
    EXPECT_EQ(Grid->Cells(2, 2), QStringLiteral("x"));
}

const char* const OutOfRange = "Grid index out of range";

INSTANTIATE_TEST_SUITE_P(
    Table, GridErrors,
    ::testing::Values(
        BadCall{"NegativeColumn", [](TTestGrid* g) { g->SetCells(-1, 0, QStringLiteral("y")); }, OutOfRange},
        BadCall{"NegativeRowRead", [](TTestGrid* g) { (void)g->Cells(0, -1); }, OutOfRange},
        BadCall{"ColumnPastTheStore", [](TTestGrid* g) { g->SetCells(MaxGridCols, 0, QStringLiteral("y")); },
                OutOfRange},
        BadCall{"RowPastTheStore", [](TTestGrid* g) { g->SetObjects(0, MaxGridRows, nullptr); }, OutOfRange},
        BadCall{"RowViewPastTheStore", [](TTestGrid* g) { g->Rows(MaxGridRows); }, OutOfRange},
        BadCall{"ColWriterPastTheCount", [](TTestGrid* g) { g->SetCol(5); }, OutOfRange},
        BadCall{"RowWriterNegative", [](TTestGrid* g) { g->SetRow(-1); }, OutOfRange},
        BadCall{"WidthPastTheCount", [](TTestGrid* g) { g->SetColWidths(5, 10); }, OutOfRange},
        BadCall{"MovePastTheCount", [](TTestGrid* g) { g->MoveColumn(1, 5); }, OutOfRange},
        BadCall{"FixedColumnsAsManyAsColumns", [](TTestGrid* g) { g->SetFixedCols(5); },
                "Fixed column count must be less than column count"},
        BadCall{"FixedRowsAboveRows", [](TTestGrid* g) { g->SetFixedRows(9); },
                "Fixed row count must be less than row count"},
        BadCall{"NegativeFixedCount", [](TTestGrid* g) { g->SetFixedCols(-1); }, OutOfRange},
        BadCall{"TooManyRows", [](TTestGrid* g) { g->SetRowCount(MaxGridRows + 1); },
                "Grid too large for operation"},
        BadCall{"TooManyColumns", [](TTestGrid* g) { g->SetColCount(MaxGridCols + 1); },
                "Grid too large for operation"}),
    [](const ::testing::TestParamInfo<BadCall>& Info) { return std::string(Info.param.Name); });

TEST_F(GridStore, ACountDownToTheFixedCellsLowersTheFixedCount) {
    Grid->SetFixedCols(2);
    Grid->SetColCount(2);
    EXPECT_EQ(Grid->FixedCols(), 1);
    Grid->SetRowCount(0);
    EXPECT_EQ(Grid->RowCount(), 1);
    EXPECT_EQ(Grid->FixedRows(), 0);
}

TEST_F(GridStore, TheLargestCountsAreStoredWithoutTouchingCells) {
    Grid->SetRowCount(MaxGridRows);
    Grid->SetColCount(MaxGridCols);
    Grid->SetCells(MaxGridCols - 1, MaxGridRows - 1, QStringLiteral("corner"));
    EXPECT_EQ(Grid->Cells(MaxGridCols - 1, MaxGridRows - 1), QStringLiteral("corner"));
    Grid->SetRow(MaxGridRows - 1);
    EXPECT_EQ(Grid->Row(), MaxGridRows - 1);
}

// A plain string grid (no hook overridden) raises its events from the hooks: OnDrawCell per
// shown cell, OnSelectCell able to refuse, OnTopLeftChanged, and the editor's OnGetEditText (on
// the cell's text), OnGetEditMask and OnSetEditText (after the cell took the text).
TEST(DrawGridEvents, FireFromTheHooks) {
    std::unique_ptr<TForm, void (*)(TForm*)> form(new TForm(nullptr), [](TForm* F) { TObject::Free(F); });
    form->SetBounds(100, 100, 400, 300);
    auto* g = new TStringGrid(form.get());
    g->SetParent(form.get());
    g->SetBorderStyle(bsNone);
    g->SetScrollBars(ssNone);
    g->SetBounds(10, 10, 200, 100);
    g->SetRowCount(20);
    TGridOptions o = g->Options();
    o.insert(goEditing);
    g->SetOptions(o);
    form->Show();
    g->SetFocus();

    std::vector<std::pair<int, int>> drawn, asked;
    std::vector<std::tuple<int, int, String>> sets;
    int topLeft = 0;
    g->OnDrawCell = [&](TObject*, int C, int R, TRect, TGridDrawState) { drawn.emplace_back(C, R); };
    g->OnSelectCell = [&](TObject*, int C, int R, bool& Can) {
        asked.emplace_back(C, R);
        Can = !(C == 2 && R == 1);
    };
    g->OnTopLeftChanged = [&](TObject*) { ++topLeft; };
    g->OnGetEditText = [&](TObject*, int, int, String& Value) { Value += u'!'; };
    g->OnSetEditText = [&](TObject* Sender, int C, int R, const String& Value) {
        EXPECT_EQ(static_cast<TStringGrid*>(Sender)->Cells(C, R), Value);
        sets.emplace_back(C, R, Value);
    };

    g->Repaint();
    EXPECT_EQ(drawn.size(), 16u); // columns 0-3, rows 0-3
    SimulateKey(g, VK_RIGHT);
    EXPECT_EQ(g->Col(), 1); // refused
    SimulateKey(g, VK_DOWN);
    EXPECT_EQ(g->Row(), 2);
    EXPECT_EQ(asked, (std::vector<std::pair<int, int>>{{2, 1}, {1, 2}}));
    g->SetTopRow(5);
    g->SetTopRow(5);
    EXPECT_EQ(topLeft, 1);
    g->SetTopRow(1);

    g->SetCells(1, 2, QStringLiteral("def"));
    SimulateKey(g, VK_F2);
    ASSERT_NE(g->InplaceEditor(), nullptr);
    EXPECT_EQ(g->InplaceEditor()->Text(), QStringLiteral("def!"));
    EXPECT_EQ(g->InplaceEditor()->EditMask(), QString());
    SimulateText(nullptr, QStringLiteral("z"));
    SimulateKey(nullptr, VK_RETURN);
    EXPECT_EQ(sets, (std::vector<std::tuple<int, int, String>>{{1, 2, QStringLiteral("def!z")}}));

    // The mask comes from its event each time the editor opens (a digits-only mask here, so the
    // text the editor loads is a number).
    g->OnGetEditMask = [&](TObject*, int, int, String& Value) { Value = QStringLiteral("000;1;_"); };
    g->OnGetEditText = nullptr;
    g->SetCells(1, 2, QStringLiteral("123"));
    SimulateKey(g, VK_F2);
    ASSERT_NE(g->InplaceEditor(), nullptr);
    EXPECT_EQ(g->InplaceEditor()->EditMask(), QStringLiteral("000;1;_"));
    EXPECT_EQ(g->InplaceEditor()->Text(), QStringLiteral("123"));
}

} // namespace
