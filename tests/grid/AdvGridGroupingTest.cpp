// The grid control's grouping: header rows as nodes over runs of equal values, summary rows, the
// grouped column taken out and put back, merged and coloured header and summary rows, sub-groups
// and the per-group results.
#include "AdvGridTestSupport.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// One fixed row with the headers "H0".."H4", then the rows given as column texts from column 1.
TAdvGridPtr MakeTable(const std::vector<std::vector<String>>& Rows) {
    auto g = MakeAdvGrid(5, int(Rows.size()) + 1);
    for (int c = 0; c < 5; ++c) g->SetCells(c, 0, QStringLiteral("H%1").arg(c));
    for (size_t r = 0; r < Rows.size(); ++r)
        for (size_t c = 0; c < Rows[r].size(); ++c) g->SetCells(int(c) + 1, int(r) + 1, Rows[r][c]);
    // The rows keep their order: no sort runs before grouping.
    g->SortSettings()->SetAutoSortForGrouping(false);
    return g;
}

// The texts of one column over every shown row.
std::vector<String> Column(TAdvStringGrid* G, int Col) {
    std::vector<String> texts;
    for (int r = 0; r < G->RowCount(); ++r) texts.push_back(G->Cells(Col, r));
    return texts;
}

// Per shown row: 'N' a node, 'S' a summary row, '.' another row.
std::string Kinds(TAdvStringGrid* G) {
    std::string kinds;
    for (int r = 0; r < G->RowCount(); ++r) kinds += G->IsNode(r) ? 'N' : G->IsSummary(r) ? 'S' : '.';
    return kinds;
}

} // namespace

TEST(AdvGridGroupingTest, GroupMakesHeaderNodesAndUnGroupRestoresTheRows) {
    auto g = MakeTable({{"x1", "A", "1"}, {"x2", "A", "2"}, {"x3", "B", "3"}});
    g->SetColWidths(2, 77);
    g->Group(2);
    EXPECT_EQ(g->GroupColumn(), 2);
    EXPECT_EQ(g->ColCount(), 4);
    EXPECT_EQ(Kinds(g.get()), ".N..N.");
    EXPECT_EQ(Column(g.get(), 1), (std::vector<String>{"H1", "A", "x1", "x2", "B", "x3"}));
    // The column after the grouped one takes its place.
    EXPECT_EQ(Column(g.get(), 2), (std::vector<String>{"H3", "", "1", "2", "", "3"}));
    EXPECT_EQ(g->GetNodeSpan(1), 3);
    EXPECT_EQ(g->GetNodeSpan(4), 2);
    EXPECT_EQ(g->GetNodeLevel(1), 1);
    EXPECT_EQ(g->Row(), 1);

    g->UnGroup();
    EXPECT_EQ(g->GroupColumn(), -1);
    EXPECT_EQ(g->NumNodes(), 0);
    EXPECT_EQ(g->ColCount(), 5);
    EXPECT_EQ(g->RowCount(), 4);
    EXPECT_EQ(Kinds(g.get()), "....");
    EXPECT_EQ(Column(g.get(), 1), (std::vector<String>{"H1", "x1", "x2", "x3"}));
    EXPECT_EQ(Column(g.get(), 2), (std::vector<String>{"H2", "A", "A", "B"}));
    EXPECT_EQ(Column(g.get(), 3), (std::vector<String>{"H3", "1", "2", "3"}));
    EXPECT_EQ(g->ColWidths(2), 77);
}

TEST(AdvGridGroupingTest, SummaryRowFollowsEachGroup) {
    auto g = MakeTable({{"x1", "A"}, {"x2", "A"}, {"x3", "B"}, {"x4", "C"}});
    g->Grouping()->Summary = true;
    g->Grouping()->SummaryColor = 0x00FFFF;
    g->Group(2);
    EXPECT_EQ(Kinds(g.get()), ".N..SN.SN.S");
    EXPECT_EQ(g->GetNodeSpan(1), 3);
    EXPECT_EQ(g->GetNodeSpan(5), 2);
    EXPECT_EQ(g->GetNodeSpan(8), 2);
    EXPECT_EQ(g->Colors(1, 4), TColor(0x00FFFF));
    EXPECT_EQ(g->Colors(1, 10), TColor(0x00FFFF));
    EXPECT_EQ(g->Colors(1, 2), clNone);
    g->UnGroup();
    EXPECT_EQ(Kinds(g.get()), ".....");
    EXPECT_EQ(Column(g.get(), 2), (std::vector<String>{"H2", "A", "A", "B", "C"}));
}

TEST(AdvGridGroupingTest, GroupingByColumnOneWritesCaptionsIntoColumnTwo) {
    auto g = MakeTable({{"A", "x1"}, {"A", "x2"}, {"B", "x3"}});
    g->Group(1);
    EXPECT_EQ(Column(g.get(), 1), (std::vector<String>{"H2", "A", "x1", "x2", "B", "x3"}));
    g->UnGroup();
    EXPECT_EQ(Column(g.get(), 1), (std::vector<String>{"H1", "A", "A", "B"}));
    EXPECT_EQ(Column(g.get(), 2), (std::vector<String>{"H2", "x1", "x2", "x3"}));
}

TEST(AdvGridGroupingTest, GroupColumnWriterGroupsAndUngroups) {
    auto g = MakeTable({{"x1", "A"}, {"x2", "B"}});
    g->SetGroupColumn(0);
    EXPECT_EQ(g->GroupColumn(), -1);
    EXPECT_EQ(g->RowCount(), 3);
    g->SetGroupColumn(2);
    EXPECT_EQ(g->GroupColumn(), 2);
    EXPECT_EQ(Kinds(g.get()), ".N.N.");
    // Grouping again undoes the first grouping.
    g->SetGroupColumn(3);
    EXPECT_EQ(g->GroupColumn(), 3);
    EXPECT_EQ(g->NumNodes(), 1);
    g->SetGroupColumn(-1);
    EXPECT_EQ(g->GroupColumn(), -1);
    EXPECT_EQ(Column(g.get(), 2), (std::vector<String>{"H2", "A", "B"}));
    // A fixed column, a column outside the grid and a grid without data rows stay ungrouped.
    for (int col : {0, 9}) {
        g->Group(col);
        EXPECT_EQ(g->GroupColumn(), -1) << col;
    }
    // Only the footer row below the fixed row.
    auto empty = MakeTable({{"x1", "A"}});
    empty->FloatingFooter()->SetVisible(true);
    empty->Group(2);
    EXPECT_EQ(empty->GroupColumn(), -1);
    EXPECT_EQ(empty->ColCount(), 5);
    EXPECT_EQ(empty->NumNodes(), 0);
}

TEST(AdvGridGroupingTest, MergedHeaderAndSummaryRows) {
    auto g = MakeTable({{"x1", "A"}, {"x2", "B"}});
    g->Grouping()->Summary = true;
    g->Grouping()->MergeHeader = true;
    g->Grouping()->MergeSummary = true;
    g->Grouping()->HeaderColor = 0x0000FF;
    g->Grouping()->SummaryColor = 0x00FF00;
    g->Group(2);
    EXPECT_EQ(Kinds(g.get()), ".N.SN.S");
    for (int r : {1, 4}) {
        EXPECT_EQ(g->CellSpan(1, r).X, 2) << r;
        EXPECT_EQ(g->Colors(1, r), TColor(0x0000FF)) << r;
    }
    for (int r : {3, 6}) {
        EXPECT_EQ(g->CellSpan(1, r).X, 2) << r;
        EXPECT_EQ(g->Colors(1, r), TColor(0x00FF00)) << r;
    }
    // Data rows stay apart and uncoloured.
    EXPECT_EQ(g->CellSpan(1, 2).X, 0);
    EXPECT_EQ(g->Colors(1, 2), clNone);
    g->UnGroup();
    EXPECT_EQ(Kinds(g.get()), "...");
    for (int r = 0; r < g->RowCount(); ++r) EXPECT_EQ(g->CellSpan(1, r).X, 0) << r;
}

TEST(AdvGridGroupingTest, HeaderColoursWithoutMerging) {
    auto g = MakeTable({{"x1", "A"}, {"x2", "B"}});
    g->Grouping()->HeaderColor = 0x0000FF;
    g->Grouping()->HeaderTextColor = 0xFFFFFF;
    g->Group(2);
    EXPECT_EQ(g->Colors(1, 1), TColor(0x0000FF));
    EXPECT_EQ(g->Colors(3, 3), TColor(0x0000FF));
    EXPECT_EQ(g->FontColors(1, 1), TColor(0xFFFFFF));
    EXPECT_EQ(g->Colors(1, 2), clNone);
}

TEST(AdvGridGroupingTest, ExpandOneLeavesTheFirstGroupOpen) {
    auto g = MakeTable({{"x1", "A"}, {"x2", "B"}, {"x3", "B"}, {"x4", "C"}});
    g->CellNode()->ExpandOne = true;
    g->Group(2);
    EXPECT_EQ(Column(g.get(), 1), (std::vector<String>{"H1", "A", "x1", "B", "C"}));
    g->UnGroup();
    EXPECT_TRUE(g->CellNode()->ExpandOne);
    EXPECT_EQ(Column(g.get(), 1), (std::vector<String>{"H1", "x1", "x2", "x3", "x4"}));
    EXPECT_EQ(Column(g.get(), 2), (std::vector<String>{"H2", "A", "B", "B", "C"}));
}

TEST(AdvGridGroupingTest, SubGroupsInsideEachGroupAndBack) {
    auto g = MakeTable({{"x1", "A", "p"}, {"x2", "A", "q"}, {"x3", "B", "p"}, {"x4", "B", "p"}});
    g->Group(2);
    // Column 3 (the sub-grouped one) is column 2 now; its captions go into column 3.
    g->SubGroup(2);
    EXPECT_EQ(Kinds(g.get()), ".NN.N.NN..");
    EXPECT_EQ(Column(g.get(), 1), (std::vector<String>{"H1", "A", "", "x1", "", "x2", "B", "", "x3", "x4"}));
    // The sub-grouped column's data cells are left empty.
    EXPECT_EQ(Column(g.get(), 2), (std::vector<String>{"H3", "", "", "", "", "", "", "", "", ""}));
    EXPECT_EQ(Column(g.get(), 3), (std::vector<String>{"H4", "", "p", "", "q", "", "", "p", "", ""}));
    EXPECT_EQ(g->GetNodeSpan(1), 5);
    EXPECT_EQ(g->GetSubNodeCount(1), 2);
    EXPECT_EQ(g->GetNodeSpan(2), 2);
    EXPECT_EQ(g->GetNodeLevel(2), 2);
    EXPECT_EQ(g->GetNodeSpan(6), 4);
    EXPECT_EQ(g->GetSubNodeCount(6), 1);
    EXPECT_EQ(g->GetNodeSpan(7), 3);
    EXPECT_EQ(g->GroupColumn(), 2);

    g->SubUnGroup(2);
    EXPECT_EQ(Kinds(g.get()), ".N..N..");
    EXPECT_EQ(Column(g.get(), 2), (std::vector<String>{"H3", "", "p", "q", "", "p", "p"}));
    EXPECT_EQ(g->GetNodeSpan(1), 3);
    EXPECT_EQ(g->GetSubNodeCount(1), 0);
    EXPECT_EQ(g->GetNodeSpan(4), 3);
    EXPECT_EQ(g->GetSubNodeCount(4), 0);
    g->UnGroup();
    EXPECT_EQ(Column(g.get(), 2), (std::vector<String>{"H2", "A", "A", "B", "B"}));
    EXPECT_EQ(Column(g.get(), 3), (std::vector<String>{"H3", "p", "q", "p", "p"}));
}

TEST(AdvGridGroupingTest, GroupResultsGoIntoHeaderOrSummaryRows) {
    const std::vector<std::vector<String>> rows = {
        {"x1", "A", "1"}, {"x2", "A", "2"}, {"x3", "A", "4"}, {"x4", "B", "10"}};
    struct Case {
        bool Summary;
        int Method;
        std::vector<String> Column; // column 2 (the numbers) after grouping and the calculation
    };
    const Case cases[] = {
        {false, 1, {"H3", "7.00", "1", "2", "4", "10.00", "10"}},
        {false, 5, {"H3", "3", "1", "2", "4", "1", "10"}},
        {true, 1, {"H3", "", "1", "2", "4", "7.00", "", "10", "10.00"}},
        {true, 2, {"H3", "", "1", "2", "4", "2.33", "", "10", "10.00"}},
        {true, 3, {"H3", "", "1", "2", "4", "1.00", "", "10", "10.00"}},
        {true, 4, {"H3", "", "1", "2", "4", "4.00", "", "10", "10.00"}},
        {true, 5, {"H3", "", "1", "2", "4", "3", "", "10", "1"}},
        {true, 9, {"H3", "", "1", "2", "4", "", "", "10", ""}},
    };
    for (const Case& c : cases) {
        auto g = MakeTable(rows);
        g->Grouping()->Summary = c.Summary;
        g->Group(2);
        g->GroupCalc(2, c.Method);
        EXPECT_EQ(Column(g.get(), 2), c.Column) << c.Summary << " " << c.Method;
    }
}

TEST(AdvGridGroupingTest, CollapsedGroupIsLeftOutAndTheCustomResultComesFromTheEvent) {
    auto g = MakeTable({{"x1", "A", "1"}, {"x2", "A", "2"}, {"x3", "B", "10"}});
    g->Group(2);
    g->ContractNode(1);
    std::vector<std::pair<int, int>> ranges;
    g->OnGroupCalc = [&](TObject*, int, int FromRow, int ToRow, double& Res) {
        ranges.emplace_back(FromRow, ToRow);
        Res = 42;
    };
    g->GroupCalc(2, 6);
    EXPECT_EQ(Column(g.get(), 2), (std::vector<String>{"H3", "", "42.00", "10"}));
    EXPECT_EQ(ranges, (std::vector<std::pair<int, int>>{{3, 3}}));
    g->GroupCount(2);
    EXPECT_EQ(g->Cells(2, 1), "");
    EXPECT_EQ(g->Cells(2, 2), "1");
}

TEST(AdvGridGroupingTest, GroupSumSetsTheFooterCalculation) {
    auto g = MakeTable({{"x1", "A", "1"}, {"x2", "B", "2"}, {"", "", ""}});
    g->FloatingFooter()->SetVisible(true);
    g->Group(2);
    EXPECT_EQ(Kinds(g.get()), ".N.N..");
    g->GroupSum(2);
    EXPECT_EQ(g->GetCellProperties(2, g->RowCount() - 1)->CalcType(), acSUM);
    g->GroupCount(2);
    EXPECT_EQ(g->GetCellProperties(2, g->RowCount() - 1)->CalcType(), acCOUNT);
    g->GroupStdDev(2);
    EXPECT_EQ(g->GetCellProperties(2, g->RowCount() - 1)->CalcType(), acCOUNT);
}

// A node of span 0 covers the rows up to the next node; a group without its summary row gets the
// result in its header even while Summary is set.
TEST(AdvGridGroupingTest, GroupResultsForOpenSpansAndMissingSummaryRows) {
    auto g = MakeTable({{"x1", "A", "1"}, {"x2", "A", "2"}, {"x3", "B", "3"}});
    g->Group(2);
    g->Grouping()->Summary = true;
    g->GroupSum(2);
    EXPECT_EQ(Column(g.get(), 2), (std::vector<String>{"H3", "3.00", "1", "2", "3.00", "3"}));
    g->SetNodeSpan(1, 0);
    g->SetNodeSpan(4, 0);
    g->GroupCount(2);
    EXPECT_EQ(g->Cells(2, 1), "2");
    EXPECT_EQ(g->Cells(2, 4), "1");
}

TEST(AdvGridGroupingTest, SubGroupNeedsAGroupedGridAndLeavesTheFooterAlone) {
    auto g = MakeTable({{"x1", "A", "p"}, {"x2", "A", "q"}, {"x3", "B", "p"}});
    g->SubGroup(3);
    EXPECT_EQ(g->RowCount(), 4);
    EXPECT_EQ(g->NumNodes(), 0);
    auto f = MakeTable({{"x1", "A", "p"}, {"x2", "A", "q"}, {"f1", "f2", "f3"}});
    f->FloatingFooter()->SetVisible(true);
    f->Group(2);
    f->SubGroup(2);
    EXPECT_EQ(f->Cells(2, f->RowCount() - 1), "f3");
    EXPECT_EQ(Kinds(f.get()), ".NN.N..");
    f->SubUnGroup(2);
    f->UnGroup();
    EXPECT_EQ(Column(f.get(), 2), (std::vector<String>{"H2", "A", "A", "f2"}));
    EXPECT_EQ(Column(f.get(), 3), (std::vector<String>{"H3", "p", "q", "f3"}));
}
