// The grid control's row and column operations: removing rows and columns with the side
// structures in step, inserting columns, clearing, trimming, colouring, merging and splitting,
// joining columns and the text probes.
#include "AdvGrid.h"
#include "AdvGridTestSupport.h"

#include "StdCtrls.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

String CellName(int Col, int Row) {
    return QStringLiteral("%1,%2").arg(Col).arg(Row);
}

// A grid of Cols x Rows whose cells read "c,r"; row r is 20 + r high.
TAdvGridPtr MakeNamedGrid(int Cols, int Rows) {
    TAdvGridPtr g = MakeAdvGrid(Cols, Rows);
    for (int r = 0; r < Rows; ++r) {
        g->SetRowHeights(r, 20 + r);
        for (int c = 0; c < Cols; ++c) g->SetCells(c, r, CellName(c, r));
    }
    return g;
}

// The original row number of each shown row (read from column 1).
std::vector<int> RowOrder(TAdvStringGrid* G) {
    std::vector<int> rows;
    for (int r = 0; r < G->RowCount(); ++r) rows.push_back(G->Cells(1, r).section(u',', 1).toInt());
    return rows;
}

// The original column number of each storage column (read from row 0).
std::vector<int> ColOrder(TAdvStringGrid* G) {
    std::vector<int> cols;
    for (int c = 0; c < G->TotalColCount(); ++c) cols.push_back(G->Cells(c, 0).section(u',', 0, 0).toInt());
    return cols;
}

std::vector<int> Range(int From, int To) {
    std::vector<int> v;
    for (int i = From; i <= To; ++i) v.push_back(i);
    return v;
}

std::vector<int> Without(std::vector<int> V, std::initializer_list<int> Gone) {
    for (int g : Gone) V.erase(std::find(V.begin(), V.end(), g));
    return V;
}

} // namespace

// ---------------------------------------------------------------------------------------------
// Removing rows

TEST(AdvGridRemoveRowsTest, RemovalsTakeOutOnlyRowsThatExist) {
    struct Case {
        int index, count;
        std::vector<int> order;
    };
    const Case cases[] = {
        {3, 2, Without(Range(0, 9), {3, 4})},
        // Reaching past the end: only rows 8 and 9 go, the rows before stay.
        {8, 5, Range(0, 7)},
        {9, 1, Range(0, 8)},
        // At or past the end, or nothing to remove: nothing happens.
        {10, 1, Range(0, 9)},
        {-1, 2, Range(0, 9)},
        {4, 0, Range(0, 9)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "RemoveRows(" << c.index << ", " << c.count << ")");
        TAdvGridPtr g = MakeNamedGrid(3, 10);
        g->RemoveRows(c.index, c.count);
        ASSERT_EQ(RowOrder(g.get()), c.order);
        for (int r = 0; r < g->RowCount(); ++r) EXPECT_EQ(g->RowHeights(r), 20 + c.order[size_t(r)]) << r;
        EXPECT_EQ(g->Row() < g->RowCount(), true);
    }
}

TEST(AdvGridRemoveRowsTest, TheFooterRowStaysLast) {
    TAdvGridPtr g = MakeNamedGrid(3, 10);
    g->FloatingFooter()->SetVisible(true);
    g->RemoveRows(2, 2);
    EXPECT_EQ(RowOrder(g.get()), Without(Range(0, 9), {2, 3}));
    g->RemoveRows(6, 5); // reaches past the data rows: the footer row is not one of them
    EXPECT_EQ(RowOrder(g.get()), std::vector<int>({0, 1, 4, 5, 6, 7, 9}));
    g->RemoveRows(6, 1);
    EXPECT_EQ(g->RowCount(), 7) << "the footer row itself is not removed";
}

TEST(AdvGridRemoveRowsTest, HiddenRowsKeepTheirDataAndPropertiesGoWithTheirRows) {
    TAdvGridPtr g = MakeNamedGrid(3, 14);
    g->GetCellProperties(2, 3)->SetBrushColor(clRed); // removed: freed (the leak check judges)
    g->GetCellProperties(2, 6)->SetBrushColor(clBlue);
    g->HideRows(12, 12);
    g->HideRows(1, 1);
    ASSERT_EQ(g->RowCount(), 12);
    // Shown rows 2 and 3 are real rows 3 and 4.
    g->RemoveRows(2, 2);
    EXPECT_TRUE(g->IsHiddenRow(10)) << "real row 12 is now row 10";
    EXPECT_TRUE(g->IsHiddenRow(1));
    EXPECT_EQ(g->GetCellProperties(2, 3)->BrushColor(), clBlue) << "real row 6 is shown row 3 now";
    g->UnHideRowsAll();
    EXPECT_EQ(RowOrder(g.get()), Without(Range(0, 13), {3, 4}));
}

TEST(AdvGridRemoveRowsTest, CurrentRowStaysInsideTheGrid) {
    TAdvGridPtr g = MakeNamedGrid(3, 10);
    g->SetRow(9);
    g->RemoveRows(8, 2);
    EXPECT_EQ(g->Row(), 7) << "the last remaining data row";
    g->SetRow(3);
    g->RemoveRows(5, 1);
    EXPECT_EQ(g->Row(), 3);
}

TEST(AdvGridRemoveRowsTest, CellControlsFollowTheirRowsOrLeaveWithThem) {
    TAdvGridPtr g = MakeNamedGrid(4, 10);
    auto* below = new TEdit(nullptr);
    auto* inside = new TEdit(nullptr);
    g->SetCellControls(2, 7, below);
    g->SetCellControls(1, 4, inside);
    g->RemoveRows(3, 2);
    ASSERT_EQ(g->ControlList()->Count(), 1);
    EXPECT_EQ(g->ControlList()->GetControl(0)->Control, below);
    EXPECT_EQ(g->ControlList()->GetControl(0)->Y, 5);
    EXPECT_EQ(g->CellControls(2, 5), below);
    g->SetCellControls(2, 5, nullptr);
    below->SetParent(nullptr);
    inside->SetParent(nullptr);
    TObject::Free(below);
    TObject::Free(inside);
}

TEST(AdvGridRemoveRowsTest, ChangesAreReportedOncePerRemoval) {
    TAdvGridPtr g = MakeNamedGrid(3, 10);
    std::vector<TRect> reports;
    g->OnCellsChanged = [&](TObject*, TRect R) { reports.push_back(R); };
    g->RemoveRows(3, 2);
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_EQ(reports[0], TRect(0, 3, 2, 5));
}

TEST(AdvGridRemoveRowsTest, CheckedDuplicateAndSelectedRowsGo) {
    {
        TAdvGridPtr g = MakeNamedGrid(3, 8);
        g->AddCheckBoxColumn(2);
        for (int r : {2, 5, 6}) g->SetCheckBoxState(2, r, true);
        g->RemoveCheckedRows(2, true);
        EXPECT_EQ(RowOrder(g.get()), Without(Range(0, 7), {2, 5, 6}));
        g->RemoveCheckedRows(2, false);
        EXPECT_EQ(RowOrder(g.get()), std::vector<int>({0}));
    }
    {
        // Compared without case; the first of each text stays.
        TAdvGridPtr g = MakeNamedGrid(3, 6);
        const char* texts[] = {"a", "A", "b", "a", "B"};
        for (int i = 0; i < 5; ++i) g->SetCells(2, i + 1, texts[i]);
        g->RemoveDuplicates(2, false);
        EXPECT_EQ(RowOrder(g.get()), std::vector<int>({0, 1, 3}));
        TAdvGridPtr h = MakeNamedGrid(3, 6);
        for (int i = 0; i < 5; ++i) h->SetCells(2, i + 1, texts[i]);
        h->RemoveDuplicates(2, true);
        EXPECT_EQ(RowOrder(h.get()), std::vector<int>({0, 1, 3}));
    }
    {
        // The selection's rows, dragged either way.
        for (const TGridRect& sel : {TGridRect(1, 3, 2, 5), TGridRect(2, 5, 1, 3)}) {
            TAdvGridPtr g = MakeNamedGrid(3, 9);
            g->SetSelection(sel);
            g->RemoveSelectedRows();
            EXPECT_EQ(RowOrder(g.get()), Without(Range(0, 8), {3, 4, 5}));
        }
        TAdvGridPtr g = MakeNamedGrid(3, 9);
        g->SetSelection(TGridRect(1, 3, 2, 5));
        g->RemoveUnSelectedRows();
        EXPECT_EQ(RowOrder(g.get()), std::vector<int>({0, 3, 4, 5}));
    }
}

TEST(AdvGridRemoveRowsTest, HidingSelectedOrUnselectedRowsKeepsThemForLater) {
    TAdvGridPtr g = MakeNamedGrid(3, 9);
    g->SetSelection(TGridRect(1, 3, 2, 5));
    g->HideSelectedRows();
    EXPECT_EQ(RowOrder(g.get()), Without(Range(0, 8), {3, 4, 5}));
    g->UnHideRowsAll();
    EXPECT_EQ(RowOrder(g.get()), Range(0, 8));
    g->SetSelection(TGridRect(1, 3, 2, 5));
    g->HideUnSelectedRows();
    EXPECT_EQ(RowOrder(g.get()), std::vector<int>({0, 3, 4, 5}));
    g->UnHideRowsAll();
    EXPECT_EQ(RowOrder(g.get()), Range(0, 8));
}

// The lean removal behind row-block moves: hidden rows after the block keep their data through
// the move, and hiding a range leaves the other hidden rows where they were.
TEST(AdvGridRemoveRowsTest, HiddenRowsKeepTheirPlaceThroughBlockMovesAndRangeHides) {
    {
        TAdvGridPtr g = MakeNamedGrid(3, 12);
        g->HideRows(9, 9);
        g->MoveRows(2, 6, 2); // rows 2 and 3 go before row 6
        EXPECT_TRUE(g->IsHiddenRow(9));
        g->UnHideRowsAll();
        EXPECT_EQ(RowOrder(g.get()), std::vector<int>({0, 1, 4, 5, 2, 3, 6, 7, 8, 9, 10, 11}));
    }
    {
        TAdvGridPtr g = MakeNamedGrid(3, 12);
        g->HideRows(9, 9);
        g->MoveRows(6, 2, 2); // rows 6 and 7 go before row 2
        g->UnHideRowsAll();
        EXPECT_EQ(RowOrder(g.get()), std::vector<int>({0, 1, 6, 7, 2, 3, 4, 5, 8, 9, 10, 11}));
    }
    {
        TAdvGridPtr g = MakeNamedGrid(3, 12);
        g->HideRows(9, 9);
        g->HideRows(3, 5);
        EXPECT_TRUE(g->IsHiddenRow(9));
        EXPECT_EQ(RowOrder(g.get()), Without(Range(0, 11), {3, 4, 5, 9}));
        g->UnHideRowsAll();
        EXPECT_EQ(RowOrder(g.get()), Range(0, 11));
    }
}

// ---------------------------------------------------------------------------------------------
// Columns

TEST(AdvGridColumnOpsTest, InsertedColumnsAreEmptyShownAndDefaultWide) {
    TAdvGridPtr g = MakeNamedGrid(4, 3);
    for (int c = 0; c < 4; ++c) g->SetColWidths(c, 30 + c);
    int reports = 0;
    g->OnCellsChanged = [&](TObject*, TRect) { ++reports; };
    g->InsertCols(1, 2);
    EXPECT_EQ(reports, 0);
    ASSERT_EQ(g->ColCount(), 6);
    EXPECT_EQ(g->Cells(0, 1), CellName(0, 1));
    EXPECT_EQ(g->Cells(1, 1), "");
    EXPECT_EQ(g->Cells(2, 1), "");
    EXPECT_EQ(g->Cells(3, 1), CellName(1, 1));
    EXPECT_EQ(g->Cells(5, 2), CellName(3, 2));
    const int widths[] = {30, g->DefaultColWidth(), g->DefaultColWidth(), 31, 32, 33};
    for (int c = 0; c < 6; ++c) EXPECT_EQ(g->ColWidths(c), widths[c]) << c;
    g->AddColumn();
    EXPECT_EQ(g->ColCount(), 7);
    EXPECT_EQ(g->Cells(6, 1), "");
}

TEST(AdvGridColumnOpsTest, ColumnChangesReachHiddenColumnsAndHiddenRows) {
    TAdvGridPtr g = MakeNamedGrid(6, 5);
    g->HideColumn(3);
    g->HideRows(2, 2);
    g->InsertCols(1, 1);
    EXPECT_TRUE(g->IsHiddenColumn(4)) << "the hidden column moved with its cells";
    EXPECT_FALSE(g->IsHiddenColumn(3));
    EXPECT_EQ(g->ColCount(), 6);
    g->RemoveCols(5, 1); // storage column 5 held the former column 4
    g->UnHideColumnsAll();
    g->UnHideRowsAll();
    ASSERT_EQ(g->TotalColCount(), 6);
    for (int r : {1, 2, 3}) {
        SCOPED_TRACE(r);
        const int expected[] = {0, -1, 1, 2, 3, 5};
        for (int c = 0; c < 6; ++c)
            EXPECT_EQ(g->Cells(c, r), expected[c] < 0 ? String() : CellName(expected[c], r)) << c;
    }
}

TEST(AdvGridColumnOpsTest, RemovalsAreCutToTheColumnsThatExistAndReported) {
    TAdvGridPtr g = MakeNamedGrid(6, 4);
    std::vector<TRect> reports;
    g->OnCellsChanged = [&](TObject*, TRect R) { reports.push_back(R); };
    g->RemoveCols(1, 2);
    EXPECT_EQ(ColOrder(g.get()), std::vector<int>({0, 3, 4, 5}));
    ASSERT_FALSE(reports.empty());
    EXPECT_EQ(reports.back(), TRect(1, 0, 3, 3));
    TAdvGridPtr h = MakeNamedGrid(6, 4);
    h->GetCellProperties(5, 1)->SetBrushColor(clRed); // freed with its column
    h->RemoveCols(4, 10);
    EXPECT_EQ(ColOrder(h.get()), std::vector<int>({0, 1, 2, 3}));
    h->RemoveCols(4, 1);
    h->RemoveCols(-1, 1);
    EXPECT_EQ(h->ColCount(), 4);
}

TEST(AdvGridColumnOpsTest, SelectedAndUnselectedColumnsGo) {
    TAdvGridPtr g = MakeNamedGrid(6, 4);
    g->SetFixedCols(1);
    g->SetSelection(TGridRect(2, 1, 3, 2));
    g->RemoveUnSelectedCols();
    EXPECT_EQ(ColOrder(g.get()), std::vector<int>({0, 2, 3}));
    TAdvGridPtr h = MakeNamedGrid(6, 4);
    h->SetFixedCols(1);
    h->SetSelection(TGridRect(3, 1, 2, 2));
    h->RemoveSelectedCols();
    EXPECT_EQ(ColOrder(h.get()), std::vector<int>({0, 1, 4, 5}));
}

TEST(AdvGridColumnOpsTest, MergeColsJoinsTrimmedTextsAndDropsTheSecond) {
    TAdvGridPtr g = MakeAdvGrid(4, 4);
    const char* texts[][2] = {{"a", "b"}, {"", "b"}, {" a ", ""}};
    for (int r = 1; r < 4; ++r) {
        g->SetCells(1, r, texts[r - 1][0]);
        g->SetCells(2, r, texts[r - 1][1]);
        g->SetCells(3, r, "keep");
    }
    g->SetCells(1, 0, "head1");
    g->MergeCols(1, 2, " ");
    ASSERT_EQ(g->ColCount(), 3);
    EXPECT_EQ(g->Cells(1, 0), "head1") << "the fixed row is not joined";
    EXPECT_EQ(g->Cells(1, 1), "a b");
    EXPECT_EQ(g->Cells(1, 2), "b");
    EXPECT_EQ(g->Cells(1, 3), "a");
    EXPECT_EQ(g->Cells(2, 1), "keep");
}

// ---------------------------------------------------------------------------------------------
// Clearing, trimming, colouring

TEST(AdvGridClearTest, ClearingFreesPropertiesButNeverTheUserObject) {
    TAdvGridPtr g = MakeNamedGrid(4, 4);
    auto* user = new TObject(); // the cell's user value: the grid must not free it
    g->GetCellProperties(1, 1)->SetCellObject(quintptr(user));
    g->AddComment(2, 2, "note");
    g->SetColors(3, 3, clRed);
    g->ClearRect(0, 0, 3, 3);
    EXPECT_FALSE(g->HasCellProperties(1, 1));
    EXPECT_FALSE(g->HasCellProperties(2, 2));
    EXPECT_EQ(g->Cells(2, 2), "");
    EXPECT_EQ(user->ClassName(), QLatin1String("TObject")) << "still alive";
    TObject::Free(user);
}

TEST(AdvGridClearTest, ClearTextOnlyKeepsColoursAndTheBlockIsExact) {
    TAdvGridPtr g = MakeNamedGrid(5, 5);
    g->SetColors(2, 2, clRed);
    g->ClearTextOnly = true;
    std::vector<TRect> reports;
    g->OnCellsChanged = [&](TObject*, TRect R) { reports.push_back(R); };
    g->ClearRect(1, 1, 2, 3);
    EXPECT_EQ(g->Colors(2, 2), clRed);
    for (int r = 0; r < 5; ++r)
        for (int c = 0; c < 5; ++c) {
            const bool inside = c >= 1 && c <= 2 && r >= 1 && r <= 3;
            EXPECT_EQ(g->Cells(c, r), inside ? String() : CellName(c, r)) << c << "," << r;
        }
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_EQ(reports[0], TRect(1, 1, 2, 3));
}

TEST(AdvGridClearTest, ClearingFamilyCoversItsBlocks) {
    struct Case {
        const char* name;
        std::function<void(TAdvStringGrid*)> op;
        std::function<bool(int, int)> cleared;
    };
    const Case cases[] = {
        {"ClearRows", [](TAdvStringGrid* g) { g->ClearRows(2, 2); },
         [](int, int r) { return r == 2 || r == 3; }},
        {"ClearNormalRows", [](TAdvStringGrid* g) { g->ClearNormalRows(2, 1); },
         [](int c, int r) { return r == 2 && c >= 1; }},
        {"ClearCols", [](TAdvStringGrid* g) { g->ClearCols(3, 1); }, [](int c, int) { return c == 3; }},
        {"ClearNormalCols", [](TAdvStringGrid* g) { g->ClearNormalCols(3, 1); },
         [](int c, int r) { return c == 3 && r >= 1 && r <= 4; }},
        {"ClearNormalCells", [](TAdvStringGrid* g) { g->ClearNormalCells(); },
         [](int c, int r) { return c >= 1 && r >= 1 && r <= 4; }},
        {"Clear", [](TAdvStringGrid* g) { g->Clear(); }, [](int, int) { return true; }},
        {"ClearSelection",
         [](TAdvStringGrid* g) {
             g->SetSelection(TGridRect(2, 2, 3, 3));
             g->ClearSelection();
         },
         [](int c, int r) { return c >= 2 && c <= 3 && r >= 2 && r <= 3; }},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.name);
        TAdvGridPtr g = MakeNamedGrid(5, 6);
        g->SetFixedCols(1);
        g->SetFixedRows(1);
        g->SetFixedFooters(1);
        k.op(g.get());
        for (int r = 0; r < 6; ++r)
            for (int c = 0; c < 5; ++c)
                EXPECT_EQ(g->Cells(c, r), k.cleared(c, r) ? String() : CellName(c, r)) << c << "," << r;
    }
}

TEST(AdvGridClearTest, ClearAllAlsoEmptiesHiddenRows) {
    TAdvGridPtr g = MakeNamedGrid(3, 6);
    g->HideRows(3, 3);
    g->Clear();
    g->UnHideRowsAll();
    EXPECT_EQ(g->Cells(1, 3), CellName(1, 3)) << "Clear leaves hidden rows alone";
    g->HideRows(3, 3);
    g->ClearAll();
    g->UnHideRowsAll();
    EXPECT_EQ(g->Cells(1, 3), "");
}

TEST(AdvGridClearTest, TrimmingAndColouringBlocks) {
    TAdvGridPtr g = MakeAdvGrid(3, 3);
    g->SetCells(1, 1, "  a b \t");
    g->SetCells(2, 2, " x ");
    g->TrimRow(1);
    EXPECT_EQ(g->Cells(1, 1), "a b");
    EXPECT_EQ(g->Cells(2, 2), " x ");
    g->TrimAll();
    EXPECT_EQ(g->Cells(2, 2), "x");
    g->ColorRect(1, 0, 2, 1, clYellow);
    EXPECT_EQ(g->Colors(1, 0), clYellow);
    EXPECT_EQ(g->Colors(2, 1), clYellow);
    EXPECT_EQ(g->Colors(0, 0), clNone);
    EXPECT_EQ(g->Colors(1, 2), clNone);
}

// ---------------------------------------------------------------------------------------------
// Merging, splitting, probes

TEST(AdvGridMergeTest, RowRunsOfEqualTextsMerge) {
    TAdvGridPtr g = MakeAdvGrid(7, 3);
    g->SetFixedCols(1);
    const char* texts[] = {"x", "x", "x", "y", "y", "z"};
    for (int c = 1; c < 7; ++c) g->SetCells(c, 1, texts[c - 1]);
    g->MergeRowCells(1, true);
    EXPECT_EQ(g->CellSpan(1, 1), TPoint(2, 0));
    EXPECT_EQ(g->CellSpan(4, 1), TPoint(1, 0));
    EXPECT_FALSE(g->IsMergedCell(6, 1));
    // A further row merges only where the column spans above are identical.
    for (int c = 1; c < 7; ++c) g->SetCells(c, 2, "same");
    g->MergeRowCells(2, false);
    EXPECT_EQ(g->CellSpan(1, 2), TPoint(2, 0));
    EXPECT_EQ(g->CellSpan(4, 2), TPoint(1, 0));
    EXPECT_FALSE(g->IsMergedCell(6, 2));
}

TEST(AdvGridMergeTest, SplittingDissolvesTheRightAreas) {
    TAdvGridPtr g = MakeAdvGrid(5, 6);
    g->MergeCells(1, 1, 2, 1); // horizontal
    g->MergeCells(4, 1, 1, 3); // vertical, in the last column
    g->MergeCells(0, 3, 1, 2); // vertical
    g->SplitColumnCells(1);
    EXPECT_TRUE(g->IsMergedCell(1, 1)) << "column splitting leaves horizontal areas";
    g->SplitRowCells(1);
    EXPECT_FALSE(g->IsMergedCell(1, 1));
    EXPECT_FALSE(g->IsMergedCell(4, 2)) << "an area in the last column splits too";
    EXPECT_TRUE(g->IsMergedCell(0, 3));
    g->SplitAllCells();
    EXPECT_FALSE(g->IsMergedCell(0, 4));
}

TEST(AdvGridMergeTest, TextProbes) {
    TAdvGridPtr g = MakeAdvGrid(4, 4);
    g->SetCells(3, 1, "x");
    g->SetCells(1, 2, "x");
    g->SetCells(0, 1, "X");
    int c = -1, r = -1;
    EXPECT_TRUE(g->IsCell("x", c, r));
    EXPECT_EQ(c, 3);
    EXPECT_EQ(r, 1);
    c = r = -7;
    EXPECT_FALSE(g->IsCell("y", c, r));
    EXPECT_EQ(c, -7);
    EXPECT_EQ(r, -7);
    g->SetCells(2, 2, "|\\wide");
    EXPECT_TRUE(g->IsWideCell(2, 2));
    EXPECT_FALSE(g->IsWideCell(1, 2));
}
