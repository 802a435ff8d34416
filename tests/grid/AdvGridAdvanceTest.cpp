// The Enter advance (directions, wrap, loop, the row append and its refusal, read-only cells,
// merged areas, OnAutoAdvance) and the check the grid makes before the current cell moves (the
// changing events, merged areas, the footer row, node and disabled rows, the editing option
// following read-only cells), driven by keys through the grid's window.
#include "AdvShownGridFixture.h"

#include "Forms.h"

#include <functional>
#include <string>
#include <vector>

namespace {

// The protected check, open to the tests.
class TProbeGrid : public TAdvStringGrid {
public:
    using TAdvStringGrid::SelectCell;
    using TAdvStringGrid::TAdvStringGrid;
};

class GridAdvance : public ::testing::Test {
protected:
    void SetUp() override {
        Form = new TForm(nullptr);
        Form->SetBounds(100, 100, 600, 400);
        Grid = new TProbeGrid(Form);
        Grid->SetParent(Form);
        Grid->SetBounds(10, 10, 450, 300);
        Grid->SetColCount(5);
        Grid->SetRowCount(5);
        TGridOptions options = Grid->Options();
        options.insert(goEditing);
        Grid->SetOptions(options);
        Grid->Navigation()->AdvanceOnEnter = true;
        Form->Show();
        Grid->SetFocus();
        Application->ProcessMessages();
    }
    void TearDown() override { TObject::Free(Form); }

    // Enter in the cell's open text editor, as a user ends an edit.
    void EnterFrom(int ACol, int ARow) {
        Grid->FocusCell(ACol, ARow);
        SimulateKey(Grid, VK_F2);
        ASSERT_TRUE(Grid->EditorMode());
        SimulateKey(nullptr, VK_RETURN);
        Application->ProcessMessages();
    }
    TPoint Current() const { return TPoint(Grid->Col(), Grid->Row()); }

    TForm* Form = nullptr;
    TProbeGrid* Grid = nullptr;
};

TEST_F(GridAdvance, EnterStepsByDirectionWrapLoopAndAppend) {
    struct Case {
        const char* Name;
        TAdvanceDirection Dir;
        bool Loop;
        bool Insert;
        TPoint From;
        TPoint To;
        int Rows;
    };
    const std::vector<Case> cases = {
        {"right along the row", adLeftRight, true, false, {1, 1}, {2, 1}, 5},
        {"row end to the next row", adLeftRight, true, false, {4, 1}, {1, 2}, 5},
        {"last cell loops to the first", adLeftRight, true, false, {4, 4}, {1, 1}, 5},
        {"last cell without loop stays", adLeftRight, false, false, {4, 4}, {4, 4}, 5},
        {"last cell appends a row", adLeftRight, true, true, {4, 4}, {1, 5}, 6},
        {"in-row wraps to the row start", adLeftRightInRow, true, false, {4, 2}, {1, 2}, 5},
        {"in-row without loop stays", adLeftRightInRow, false, false, {4, 2}, {4, 2}, 5},
        {"down the column", adTopBottom, true, false, {1, 1}, {1, 2}, 5},
        {"column end to the next column", adTopBottom, true, false, {1, 4}, {2, 1}, 5},
        {"last column end back to the first", adTopBottom, true, false, {4, 4}, {1, 1}, 5},
        {"in-column wraps to the first data row", adTopBottomInCol, true, false, {2, 4}, {2, 1}, 5},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        TearDown();
        SetUp();
        Grid->Navigation()->SetAdvanceDirection(c.Dir);
        Grid->Navigation()->AdvanceOnEnterLoop = c.Loop;
        Grid->Navigation()->SetAdvanceInsert(c.Insert);
        int added = -1;
        Grid->OnAutoAddRow = [&](TObject*, int R) { added = R; };
        EnterFrom(c.From.X, c.From.Y);
        EXPECT_EQ(Current(), c.To);
        EXPECT_EQ(Grid->RowCount(), c.Rows);
        EXPECT_EQ(added, c.Rows == 6 ? 5 : -1);
    }
}

// A refused append keeps the row count and goes to the first column of the same row.
TEST_F(GridAdvance, RefusedAppendStaysInTheLastRow) {
    Grid->Navigation()->SetAdvanceInsert(true);
    Grid->OnCanAddRow = [](TObject*, bool& Can) { Can = false; };
    EnterFrom(4, 4);
    EXPECT_EQ(Current(), TPoint(1, 4));
    EXPECT_EQ(Grid->RowCount(), 5);
}

TEST_F(GridAdvance, ReadOnlyCellsArePassedOverAndTheStartIsReported) {
    Grid->SetReadOnly(2, 1, true);
    Grid->SetReadOnly(3, 1, true);
    std::vector<std::string> reports;
    Grid->OnAutoAdvance = [&](TObject*, int OldRow, int OldCol, int& NewRow, int& NewCol, bool&) {
        reports.push_back(std::to_string(OldCol) + "," + std::to_string(OldRow) + "->" +
                          std::to_string(NewCol) + "," + std::to_string(NewRow));
    };
    EnterFrom(1, 1);
    EXPECT_EQ(Current(), TPoint(4, 1));
    EXPECT_EQ(reports, std::vector<std::string>{"1,1->4,1"});

    // Without the skip the read-only cell becomes current.
    Grid->Navigation()->AdvanceSkipReadOnlyCells = false;
    EnterFrom(1, 1);
    EXPECT_EQ(Current(), TPoint(2, 1));
}

// Every cell read-only: the walk ends (back at its start) instead of going round for ever.
TEST_F(GridAdvance, AllCellsReadOnlyEndsTheWalk) {
    Grid->FocusCell(1, 1);
    for (int c = 1; c < 5; ++c)
        for (int r = 1; r < 5; ++r) Grid->SetReadOnly(c, r, true);
    Grid->Navigation()->AdvanceOnEnterLoop = true;
    SimulateKey(Grid, VK_RETURN);
    Grid->AdvanceEdit(1, 1, false, false, true, false, false);
    EXPECT_EQ(Current(), TPoint(1, 1));
    Grid->Navigation()->AdvanceOnEnterLoop = false;
    Grid->AdvanceEdit(1, 1, false, false, true, false, false);
    EXPECT_EQ(Current(), TPoint(1, 1));
}

TEST_F(GridAdvance, OnAutoAdvanceRedirectsOrRefuses) {
    Grid->OnAutoAdvance = [](TObject*, int, int, int& NewRow, int& NewCol, bool&) {
        NewRow = 3;
        NewCol = 3;
    };
    EnterFrom(1, 1);
    EXPECT_EQ(Current(), TPoint(3, 3));

    Grid->OnAutoAdvance = [](TObject*, int, int, int&, int&, bool& Allow) { Allow = false; };
    EnterFrom(1, 1);
    EXPECT_EQ(Current(), TPoint(1, 1));

    // A target outside the grid is refused too.
    Grid->OnAutoAdvance = [](TObject*, int, int, int& NewRow, int&, bool&) { NewRow = 99; };
    EnterFrom(1, 1);
    EXPECT_EQ(Current(), TPoint(1, 1));
}

// OnCellChanging fires once for an advance (the advance's own), the row and column events from
// the moves; a refusal keeps the cell.
TEST_F(GridAdvance, TheAdvanceFiresOnCellChangingOnce) {
    int cellEvents = 0, colEvents = 0;
    Grid->OnCellChanging = [&](TObject*, int, int, int, int, bool&) { ++cellEvents; };
    Grid->OnColChanging = [&](TObject*, int, int, bool&) { ++colEvents; };
    EnterFrom(1, 2);
    EXPECT_EQ(Current(), TPoint(2, 2));
    EXPECT_EQ(cellEvents, 1);
    EXPECT_GE(colEvents, 1);

    Grid->OnCellChanging = [&](TObject*, int, int, int, int, bool& Allow) { Allow = false; };
    EnterFrom(1, 2);
    EXPECT_EQ(Current(), TPoint(1, 2));
}

TEST_F(GridAdvance, AMergedAreaIsSteppedOverWhole) {
    Grid->MergeCells(1, 1, 3, 1);
    EnterFrom(1, 1);
    EXPECT_EQ(Current(), TPoint(4, 1));
}

TEST_F(GridAdvance, NodeGridWithoutFixedColumnsWrapsToColumnOne) {
    Grid->SetFixedCols(0);
    Grid->AddNode(1, 2);
    ASSERT_TRUE(Grid->HasNodes());
    Grid->FocusCell(4, 3);
    Grid->AdvanceEdit(4, 3, false, false, true, false, false);
    EXPECT_EQ(Current(), TPoint(1, 4));
}

// ---- The current-cell check ----

TEST_F(GridAdvance, KeyMovesFireTheChangingEventsAndARefusalKeepsTheCell) {
    std::vector<std::string> events;
    Grid->OnRowChanging = [&](TObject*, int O, int N, bool&) {
        events.push_back("row " + std::to_string(O) + ">" + std::to_string(N));
    };
    Grid->OnColChanging = [&](TObject*, int O, int N, bool&) {
        events.push_back("col " + std::to_string(O) + ">" + std::to_string(N));
    };
    Grid->OnCellChanging = [&](TObject*, int, int, int, int, bool&) { events.push_back("cell"); };
    Grid->FocusCell(1, 1);
    events.clear();
    SimulateKey(Grid, VK_DOWN);
    SimulateKey(Grid, VK_RIGHT);
    EXPECT_EQ(events, (std::vector<std::string>{"row 1>2", "cell", "col 1>2", "cell"}));
    EXPECT_EQ(Current(), TPoint(2, 2));

    Grid->OnRowChanging = [&](TObject*, int, int, bool& Allow) { Allow = false; };
    SimulateKey(Grid, VK_DOWN);
    EXPECT_EQ(Current(), TPoint(2, 2));
}

TEST_F(GridAdvance, NegativeCoordinatesAndTheFooterRowAreRefused) {
    int events = 0;
    Grid->OnRowChanging = [&](TObject*, int, int, bool&) { ++events; };
    EXPECT_FALSE(Grid->SelectCell(-1, 2));
    EXPECT_FALSE(Grid->SelectCell(2, -1));
    EXPECT_EQ(events, 0);

    Grid->FloatingFooter()->SetVisible(true);
    EXPECT_FALSE(Grid->SelectCell(1, Grid->RowCount() - 1));
    EXPECT_TRUE(Grid->SelectCell(1, Grid->RowCount() - 2));
}

TEST_F(GridAdvance, AMoveIntoAMergedAreaLandsOnItsBaseCell) {
    TGridOptions options = Grid->Options();
    options.erase(goRangeSelect);
    Grid->SetOptions(options);
    Grid->MergeCells(2, 2, 2, 2);
    Grid->FocusCell(3, 1);
    SimulateKey(Grid, VK_DOWN);
    EXPECT_EQ(Current(), TPoint(2, 2));
    // Asked from outside the area: the check answers False for the covered cell and the base
    // cell becomes current.
    Grid->FocusCell(4, 4);
    EXPECT_FALSE(Grid->SelectCell(3, 3));
    EXPECT_EQ(Current(), TPoint(2, 2));
}

TEST_F(GridAdvance, NodeColumnAndDisabledRowsAreNotSelectable) {
    Grid->SetFixedCols(0);
    Grid->AddNode(1, 2);
    EXPECT_FALSE(Grid->SelectCell(0, 2));
    TGridOptions options = Grid->Options();
    options.insert(goRowSelect);
    Grid->SetOptions(options);
    EXPECT_TRUE(Grid->SelectCell(0, 2));

    // Skipped only once some row has been disabled, and only with SkipDisabledRows.
    EXPECT_TRUE(Grid->SelectCell(1, 3));
    Grid->SetRowEnabled(3, false);
    EXPECT_FALSE(Grid->SelectCell(1, 3));
    Grid->Navigation()->SkipDisabledRows = false;
    EXPECT_TRUE(Grid->SelectCell(1, 3));
}

TEST_F(GridAdvance, EditingFollowsReadOnlyCells) {
    Grid->SetReadOnly(2, 1, true);
    Grid->FocusCell(1, 1);
    SimulateKey(Grid, VK_RIGHT);
    EXPECT_EQ(Current(), TPoint(2, 1));
    EXPECT_FALSE(Grid->HasOption(goEditing));
    SimulateKey(Grid, VK_RIGHT);
    EXPECT_EQ(Current(), TPoint(3, 1));
    EXPECT_TRUE(Grid->HasOption(goEditing));
}

// The row-changed handler hears only of moves that happen.
TEST_F(GridAdvance, ARefusedMoveIsNotReportedAsARowChange) {
    std::vector<std::string> changes;
    Grid->FocusCell(1, 1);
    Grid->OnRowUpdate = [&](TObject*, int O, int N) {
        changes.push_back(std::to_string(O) + ">" + std::to_string(N));
    };
    Grid->OnCellChanging = [](TObject*, int, int, int, int, bool& Allow) { Allow = false; };
    SimulateKey(Grid, VK_DOWN);
    EXPECT_EQ(Grid->Row(), 1);
    EXPECT_TRUE(changes.empty());
    Grid->OnCellChanging = nullptr;
    SimulateKey(Grid, VK_DOWN);
    EXPECT_EQ(Grid->Row(), 2);
    ASSERT_EQ(changes.size(), 1u);
    EXPECT_EQ(changes[0].substr(changes[0].find('>')), ">2");
}

TEST_F(GridAdvance, EscapeRestoresTheTextTheCellHadWhenEditingStarted) {
    Grid->SetCells(1, 1, "before");
    Grid->FocusCell(1, 1);
    SimulateText(Grid, "x");
    ASSERT_TRUE(Grid->EditorMode());
    SimulateKey(nullptr, VK_ESCAPE);
    Application->ProcessMessages();
    EXPECT_EQ(Grid->Cells(1, 1), "before");
}

// The incremental row search: with nothing found the text starts again and the row stays.
TEST_F(GridAdvance, IncrementalSearchWithoutAMatchStartsAgain) {
    TGridOptions options = Grid->Options();
    options.erase(goEditing);
    Grid->SetOptions(options);
    Grid->Navigation()->AutoGotoWhenSorted = true;
    Grid->Navigation()->AutoGotoIncremental = true;
    Grid->FocusCell(1, 2);
    SimulateText(Grid, "zz");
    EXPECT_EQ(Grid->IncrSearchText(), "");
    EXPECT_EQ(Grid->Row(), 2);
}

} // namespace
