// Moving columns and rows of the grid control: what follows a move (sort columns, hidden
// columns, hidden rows' texts, the current column, widths and heights, a synchronised grid), the
// floating footer's row that no row lands on, and the end of a move with the grid's own visuals.
#include "AdvGrid.h"
#include "AdvGridTestSupport.h"
#include "TestSupport.h"

#include "Forms.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace {

// Opens the moved hooks, the release of a move and the moving state to the tests.
class TMovingGrid : public TAdvStringGrid {
public:
    explicit TMovingGrid(TComponent* AOwner) : TAdvStringGrid(AOwner) {}
    using TAdvStringGrid::ColMoveFlg;
    using TAdvStringGrid::ColumnMoved;
    using TAdvStringGrid::EndEnhancedMove;
    using TAdvStringGrid::FSyncedMove;
    using TAdvStringGrid::Movecell;
    using TAdvStringGrid::MoveForm;
    using TAdvStringGrid::RowMoved;
    TGridState State() const { return FGridState; }
    void SetState(TGridState Value) { FGridState = Value; }
    // The platform grid's own move (as its mouse handling makes it).
    void PlatformMoveRow(int FromIndex, int ToIndex) { TBaseGrid::MoveRow(FromIndex, ToIndex); }
};

// A grid of Cols x Rows whose cells read "c,r", column c 40 + c wide and row r 20 + r high.
TMovingGrid* MakeNamedGrid(TComponent* Owner, int Cols, int Rows) {
    auto* g = new TMovingGrid(Owner);
    g->SetColCount(Cols);
    g->SetRowCount(Rows);
    for (int c = 0; c < Cols; ++c) g->SetColWidths(c, 40 + c);
    for (int r = 0; r < Rows; ++r) {
        g->SetRowHeights(r, 20 + r);
        for (int c = 0; c < Cols; ++c) g->SetCells(c, r, QStringLiteral("%1,%2").arg(c).arg(r));
    }
    return g;
}

// The original column of each display column (read from row Row of the real columns).
std::vector<int> DisplayedColumns(TAdvStringGrid* G, int Row = 0) {
    std::vector<int> cols;
    for (int d = 0; d < G->ColCount(); ++d)
        cols.push_back(G->Cells(G->RealColIndex(d), Row).section(u',', 0, 0).toInt());
    return cols;
}

// A form holding a shown named grid, set at 10, 10 in 500 x 200.
TMovingGrid* ShowNamedGrid(TForm*& Form, int Cols, int Rows) {
    Form = new TForm(nullptr);
    Form->SetBounds(100, 100, 600, 300);
    TMovingGrid* g = MakeNamedGrid(Form, Cols, Rows);
    g->SetParent(Form);
    g->SetBounds(10, 10, 500, 200);
    Form->Show();
    Application->ProcessMessages();
    return g;
}

std::vector<int> Widths(TAdvStringGrid* G) {
    std::vector<int> w;
    for (int d = 0; d < G->ColCount(); ++d) w.push_back(G->ColWidths(d));
    return w;
}

} // namespace

TEST(AdvGridMoving, TheSortColumnAndTheSortKeysFollowTheMove) {
    struct Case {
        int From, To, Sorted, Expected;
    };
    const std::vector<Case> cases = {
        {1, 3, 3, 2},                 // a column between moves towards the gap
        {3, 1, 1, 2},   {1, 3, 1, 3}, // the moved column's own sort state goes with it
        {1, 3, 4, 4},                 // outside the move: stays
        {4, 2, -1, -1},
    };
    for (const Case& c : cases) {
        auto* g = MakeNamedGrid(nullptr, 6, 4);
        auto freeGrid = FreeAtEnd(g);
        g->SortSettings()->SetColumn(c.Sorted);
        g->MoveColumn(c.From, c.To);
        EXPECT_EQ(g->SortSettings()->Column(), c.Expected)
            << c.From << "->" << c.To << " sorted " << c.Sorted;
    }

    // The sort keys follow with IndexShow only; their directions stay.
    for (bool indexShow : {false, true}) {
        auto* g = MakeNamedGrid(nullptr, 6, 4);
        auto freeGrid = FreeAtEnd(g);
        g->SortSettings()->SetIndexShow(indexShow);
        g->SortIndexes()->AddIndex(3, true);
        g->SortIndexes()->AddIndex(1, false);
        g->MoveColumn(1, 3);
        EXPECT_EQ(g->SortIndexes()->SortColumns(0), indexShow ? 2 : 3);
        EXPECT_EQ(g->SortIndexes()->SortColumns(1), indexShow ? 3 : 1);
        EXPECT_TRUE(g->SortIndexes()->SortDirections(0));
        EXPECT_FALSE(g->SortIndexes()->SortDirections(1));
    }
}

TEST(AdvGridMoving, HiddenColumnsKeepTheirFlagAndWidthWithTheirColumn) {
    // The platform grid's move with and without the grid's own move visuals, and a direct call.
    for (auto [byPlatform, enhanced] :
         {std::pair(true, true), std::pair(true, false), std::pair(false, true)}) {
        auto* g = MakeNamedGrid(nullptr, 7, 3);
        auto freeGrid = FreeAtEnd(g);
        g->EnhRowColMove = enhanced;
        g->HideColumn(2);
        g->HideColumn(4);
        ASSERT_EQ(DisplayedColumns(g), (std::vector<int>{0, 1, 3, 5, 6}));
        // Display column 1 (real 1) to display column 3 (real 5).
        if (byPlatform)
            g->MoveColumn(1, 3);
        else
            g->ColumnMoved(1, 3); // with EnhRowColMove it moves the widths itself
        EXPECT_EQ(DisplayedColumns(g), (std::vector<int>{0, 3, 5, 1, 6})) << byPlatform;
        EXPECT_EQ(DisplayedColumns(g, 2), (std::vector<int>{0, 3, 5, 1, 6})) << byPlatform;
        EXPECT_EQ(Widths(g), (std::vector<int>{40, 43, 45, 41, 46})) << byPlatform;
        EXPECT_TRUE(g->IsHiddenColumn(1)) << enhanced;
        EXPECT_TRUE(g->IsHiddenColumn(3)) << enhanced;
        EXPECT_FALSE(g->IsHiddenColumn(2));
        EXPECT_FALSE(g->IsHiddenColumn(4));
        EXPECT_EQ(g->HiddenColWidth(1), 42);
        EXPECT_EQ(g->HiddenColWidth(3), 44);

        g->UnHideColumnsAll();
        EXPECT_EQ(DisplayedColumns(g), (std::vector<int>{0, 2, 3, 4, 5, 1, 6})) << byPlatform;
        EXPECT_EQ(Widths(g), (std::vector<int>{40, 42, 43, 44, 45, 41, 46})) << byPlatform;
    }
}

TEST(AdvGridMoving, HiddenRowsKeepTheirCellsInStepWithAColumnMove) {
    auto* g = MakeNamedGrid(nullptr, 5, 5);
    auto freeGrid = FreeAtEnd(g);
    g->HideRow(2);
    g->MoveColumn(1, 3);
    g->UnHideRowsAll();
    for (int r = 0; r < 5; ++r)
        EXPECT_EQ(DisplayedColumns(g, r), (std::vector<int>{0, 2, 3, 1, 4})) << "row " << r;
}

TEST(AdvGridMoving, OnColumnMovedFiresBeforeTheSortAndCurrentColumnsFollow) {
    auto* g = MakeNamedGrid(nullptr, 6, 4);
    auto freeGrid = FreeAtEnd(g);
    g->SetCol(1);
    g->SortSettings()->SetColumn(1);
    std::vector<std::string> seen;
    g->OnColumnMoved = [&](TObject*, int From, int To) {
        seen.push_back(std::to_string(From) + "->" + std::to_string(To) + " sort " +
                       std::to_string(g->SortSettings()->Column()) + " col " + std::to_string(g->Col()));
    };
    g->ColumnMoved(1, 4);
    EXPECT_EQ(seen, (std::vector<std::string>{"1->4 sort 1 col 1"}));
    EXPECT_EQ(g->SortSettings()->Column(), 4);
    EXPECT_EQ(g->Col(), 4);
    EXPECT_TRUE(g->ColMoveFlg);
}

// The current column, the widths and the cells move once, whichever way the move arrives.
class AdvGridMoveWays : public ::testing::TestWithParam<const char*> {
protected:
    void SetUp() override {
        Grid = ShowNamedGrid(Form, 6, 5);
        TGridOptions o = Grid->Options();
        o.insert(goColMoving);
        Grid->SetOptions(o);
    }
    void TearDown() override { TObject::Free(Form); }

    void Move(int From, int To) {
        const std::string way = GetParam();
        if (way == "code") {
            Grid->ColumnMoved(From, To);
        } else if (way == "MoveColumn") {
            Grid->MoveColumn(From, To);
        } else {
            const TRect a = Grid->CellRect(From, 0), b = Grid->CellRect(To, 0);
            SimulateMouseDown(Grid, mbLeft, {}, (a.Left + a.Right) / 2, 10);
            ASSERT_EQ(Grid->State(), gsColMoving);
            SimulateMouseMove(Grid, {ssLeft}, (b.Left + b.Right) / 2, 10);
            SimulateMouseUp(Grid, mbLeft, {}, (b.Left + b.Right) / 2, 10);
        }
    }

    TForm* Form = nullptr;
    TMovingGrid* Grid = nullptr;
};

TEST_P(AdvGridMoveWays, TheCurrentColumnFollowsExactlyOnce) {
    struct Case {
        int Current, From, To, Expected;
    };
    const std::vector<Case> cases = {
        {2, 2, 4, 4}, // the moved column itself
        {3, 1, 4, 2}, // a column between, moving left
        {2, 4, 1, 3}, // a column between, moving right
        {5, 1, 3, 5}, // outside the move
    };
    int moves = 0;
    Grid->OnColumnMoved = [&](TObject*, int, int) { ++moves; };
    for (const Case& c : cases) {
        Grid->SetCol(c.Current);
        std::vector<int> order = DisplayedColumns(Grid);
        std::vector<int> widths = Widths(Grid);
        Move(c.From, c.To);
        EXPECT_EQ(Grid->Col(), c.Expected) << GetParam() << ": " << c.From << "->" << c.To;
        // Cells and widths moved once, the same way.
        auto moveItem = [&](std::vector<int>& V) {
            const int v = V[size_t(c.From)];
            V.erase(V.begin() + c.From);
            V.insert(V.begin() + c.To, v);
        };
        moveItem(order);
        moveItem(widths);
        EXPECT_EQ(DisplayedColumns(Grid), order) << GetParam();
        EXPECT_EQ(Widths(Grid), widths) << GetParam();
    }
    EXPECT_EQ(moves, int(cases.size()));
}

INSTANTIATE_TEST_SUITE_P(Ways, AdvGridMoveWays, ::testing::Values("code", "MoveColumn", "mouse"),
                         [](const ::testing::TestParamInfo<const char*>& Info) {
                             return std::string(Info.param);
                         });

TEST(AdvGridMoving, RowMovedFiresOnceAfterTheHeightsMoved) {
    for (bool byPlatform : {true, false}) {
        auto* g = MakeNamedGrid(nullptr, 3, 6);
        auto freeGrid = FreeAtEnd(g);
        std::vector<std::string> seen;
        g->OnRowMoved = [&](TObject*, int From, int To) {
            seen.push_back(std::to_string(From) + "->" + std::to_string(To) + " h " +
                           std::to_string(g->RowHeights(To)) + " " + g->Cells(1, To).toStdString());
        };
        if (byPlatform)
            g->MoveRow(1, 4);
        else
            g->RowMoved(1, 4);
        EXPECT_EQ(seen, (std::vector<std::string>{"1->4 h 21 1,1"})) << byPlatform;
        EXPECT_EQ(g->RowHeights(1), 22);
        EXPECT_EQ(g->Cells(1, 1), QStringLiteral("1,2"));
        EXPECT_TRUE(g->ColMoveFlg);
    }
}

TEST(AdvGridMoving, NoRowLandsOnTheFloatingFootersRow) {
    for (int way = 0; way < 3; ++way) {
        auto* g = MakeNamedGrid(nullptr, 3, 6);
        auto freeGrid = FreeAtEnd(g);
        g->FloatingFooter()->SetFooterStyle(fsFixedLastRow);
        g->FloatingFooter()->SetVisible(true);
        g->SetRow(2);
        int events = 0;
        g->OnRowMoved = [&](TObject*, int, int) { ++events; };
        if (way == 0) g->MoveRow(2, 5);
        if (way == 1) g->RowMoved(2, 5);
        if (way == 2) g->PlatformMoveRow(2, 5); // the platform grid's own move (its mouse)
        for (int r = 0; r < 6; ++r) {
            EXPECT_EQ(g->Cells(1, r), QStringLiteral("1,%1").arg(r)) << way;
            EXPECT_EQ(g->RowHeights(r), 20 + r) << way;
        }
        EXPECT_EQ(g->Row(), 2) << way;
        EXPECT_EQ(events, 0) << way;
        // Onto another row it moves.
        g->MoveRow(2, 4);
        EXPECT_EQ(g->Cells(1, 4), QStringLiteral("1,2"));
    }
}

TEST(AdvGridMoving, SynchronisedGridsMoveAColumnOnceEach) {
    auto* a = MakeNamedGrid(nullptr, 5, 3);
    auto freeA = FreeAtEnd(a);
    auto* b = MakeNamedGrid(nullptr, 5, 3);
    auto freeB = FreeAtEnd(b);
    a->SyncGrid()->SetGrid(b);
    a->SyncGrid()->MoveColumn = true;
    a->SyncGrid()->MoveRow = true;
    b->SyncGrid()->SetGrid(a);
    b->SyncGrid()->MoveColumn = true;
    b->SyncGrid()->MoveRow = true;
    int movesA = 0, movesB = 0;
    a->OnColumnMoved = [&](TObject*, int, int) { ++movesA; };
    b->OnColumnMoved = [&](TObject*, int, int) { ++movesB; };
    a->MoveColumn(1, 3);
    EXPECT_EQ(movesA, 1);
    EXPECT_EQ(movesB, 1);
    EXPECT_EQ(DisplayedColumns(a), (std::vector<int>{0, 2, 3, 1, 4}));
    EXPECT_EQ(DisplayedColumns(b), (std::vector<int>{0, 2, 3, 1, 4}));

    b->MoveRow(1, 2);
    EXPECT_EQ(a->Cells(0, 2), QStringLiteral("0,1"));
    EXPECT_EQ(b->Cells(0, 2), QStringLiteral("0,1"));
    EXPECT_FALSE(a->FSyncedMove);
    EXPECT_FALSE(b->FSyncedMove);
}

// ---------------------------------------------------------------------------------------------
// The end of a move with the grid's own visuals at the release

class AdvGridEnhancedMoveEnd : public ::testing::Test {
protected:
    void SetUp() override {
        Grid = ShowNamedGrid(Form, 4, 5); // the columns end at 166: room to their right
        Grid->OnEndBlockFocus = [this](TObject*) { ++EndFocus; };
    }
    void TearDown() override {
        Screen->SetCursor(crDefault);
        TObject::Free(Form);
    }
    // A move of column (row) 1 under way, shown with Cursor.
    void Start(TGridState State, TCursor Cursor) {
        Grid->SetState(State);
        Grid->Movecell = 1;
        Screen->SetCursor(Cursor);
    }
    TPoint CenterOf(int ACol, int ARow) const {
        const TRect r = Grid->CellRect(ACol, ARow);
        return TPoint((r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2);
    }

    TForm* Form = nullptr;
    TMovingGrid* Grid = nullptr;
    int EndFocus = 0;
};

TEST_F(AdvGridEnhancedMoveEnd, AReleaseOverACellMovesTheColumnOrRowThere) {
    Start(gsColMoving, crDrag);
    Grid->MoveForm = new TForm(nullptr);
    const TPoint p = CenterOf(3, 0);
    EXPECT_TRUE(Grid->EndEnhancedMove(p.X, p.Y));
    EXPECT_EQ(DisplayedColumns(Grid), (std::vector<int>{0, 2, 3, 1}));
    EXPECT_EQ(Grid->State(), gsNormal);
    EXPECT_EQ(Screen->Cursor(), crDefault);
    EXPECT_EQ(Grid->MoveForm, nullptr);
    EXPECT_EQ(EndFocus, 1);
    EXPECT_TRUE(Grid->ColMoveFlg);

    Start(gsRowMoving, crDrag);
    const TPoint q = CenterOf(0, 3);
    EXPECT_TRUE(Grid->EndEnhancedMove(q.X, q.Y));
    EXPECT_EQ(Grid->Cells(0, 3), QStringLiteral("0,1"));
    EXPECT_EQ(Grid->State(), gsNormal);
}

TEST_F(AdvGridEnhancedMoveEnd, ARefusedPlaceOrAReleaseOutsideTheCellsMovesNothing) {
    struct Case {
        TGridState State;
        TCursor Cursor;
        int X, Y;
    };
    const std::vector<Case> cases = {
        {gsColMoving, crNoDrop, -1, -1}, // refused: anywhere
        {gsColMoving, crDrag, 300, 10},  // right of the columns
        {gsRowMoving, crDrag, 10, 190},  // below the rows
        {gsColMoving, crDrag, -2, -2},   // over a fixed cell: the column under the point, 0, is fixed
    };
    for (const Case& c : cases) {
        Start(c.State, c.Cursor);
        const TPoint p = c.X == -1 ? CenterOf(3, 0) : c.X == -2 ? CenterOf(0, 0) : TPoint(c.X, c.Y);
        EndFocus = 0;
        EXPECT_TRUE(Grid->EndEnhancedMove(p.X, p.Y));
        EXPECT_EQ(DisplayedColumns(Grid), (std::vector<int>{0, 1, 2, 3}));
        EXPECT_EQ(Grid->Cells(0, 1), QStringLiteral("0,1"));
        EXPECT_EQ(Screen->Cursor(), crDefault);
        EXPECT_EQ(Grid->State(), gsNormal);
        EXPECT_EQ(EndFocus, 1);
    }

    // No move of the grid's own under way: the release is not this one's.
    EndFocus = 0;
    Grid->SetState(gsColMoving);
    Screen->SetCursor(crDefault);
    EXPECT_FALSE(Grid->EndEnhancedMove(10, 10));
    Grid->EnhRowColMove = false;
    Screen->SetCursor(crDrag);
    EXPECT_FALSE(Grid->EndEnhancedMove(10, 10));
    EXPECT_EQ(Grid->State(), gsColMoving);
    EXPECT_EQ(EndFocus, 0);
    Grid->SetState(gsNormal);
}
