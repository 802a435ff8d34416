// The grid control's tree rows: nodes over spans of rows, their levels, collapsing and expanding
// through the hidden-row store, rows inserted and removed inside nodes, the glyph hit test and the
// row counts shown after group captions.
#include "AdvGridTestSupport.h"

#include "StdCtrls.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// A grid of Cols x Rows whose column-1 cells read "r<real row>".
TAdvGridPtr MakeTree(int Cols, int Rows) {
    auto g = MakeAdvGrid(Cols, Rows);
    for (int r = 0; r < Rows; ++r) g->SetCells(1, r, QStringLiteral("r%1").arg(r));
    return g;
}

// Column 1 of every shown row.
std::vector<String> ShownTexts(TAdvStringGrid* G) {
    std::vector<String> texts;
    for (int r = 0; r < G->RowCount(); ++r) texts.push_back(G->Cells(1, r));
    return texts;
}

std::vector<String> Texts(std::initializer_list<int> Rows) {
    std::vector<String> texts;
    for (int r : Rows) texts.push_back(QStringLiteral("r%1").arg(r));
    return texts;
}

int Level(TAdvStringGrid* G, int Row) {
    return G->HasCellProperties(0, Row) ? G->GetCellProperties(0, Row)->NodeLevel() : 0;
}

} // namespace

TEST(AdvGridTreeTest, NodeCoversItsSpanWithLevelsAndParent) {
    auto g = MakeTree(4, 10);
    g->AddNode(2, 3);
    EXPECT_EQ(g->NumNodes(), 1);
    EXPECT_TRUE(g->HasNodes());
    EXPECT_TRUE(g->IsNode(2));
    EXPECT_FALSE(g->IsNode(3));
    EXPECT_EQ(g->GetNodeSpan(2), 3);
    EXPECT_EQ(g->GetNodeSpan(3), -1);
    EXPECT_EQ(g->GetNodeLevel(2), 1);
    EXPECT_EQ(g->GetNodeLevel(3), -1);
    struct Case {
        int Row, Level, Parent, Indent;
    };
    const Case cases[] = {{1, 0, -1, 0}, {2, 1, 2, 12}, {3, 1, 2, 12}, {4, 1, 2, 12}, {5, 0, -1, 0}};
    for (const Case& c : cases) {
        EXPECT_EQ(Level(g.get(), c.Row), c.Level) << c.Row;
        EXPECT_EQ(g->GetParentRow(c.Row), c.Parent) << c.Row;
        EXPECT_EQ(g->GetRowIndent(c.Row), c.Indent) << c.Row;
    }
    EXPECT_EQ(g->GetSubNodeCount(2), 0);
    EXPECT_FALSE(g->GetNodeState(2));
}

TEST(AdvGridTreeTest, CollapsingHidesTheSpanAndExpandingBringsItBack) {
    auto g = MakeTree(4, 10);
    g->SetRowHeights(3, 31);
    g->SetRowHeights(4, 41);
    g->AddNode(2, 3);
    g->ContractNode(2);
    EXPECT_EQ(g->RowCount(), 8);
    EXPECT_TRUE(g->GetNodeState(2));
    EXPECT_EQ(g->RealRowIndex(3), 5);
    EXPECT_EQ(ShownTexts(g.get()), Texts({0, 1, 2, 5, 6, 7, 8, 9}));
    g->ExpandNode(2);
    EXPECT_FALSE(g->GetNodeState(2));
    EXPECT_EQ(g->RowCount(), 10);
    EXPECT_EQ(ShownTexts(g.get()), Texts({0, 1, 2, 3, 4, 5, 6, 7, 8, 9}));
    EXPECT_EQ(g->RowHeights(3), 31);
    EXPECT_EQ(g->RowHeights(4), 41);
    // SetNodeState takes display rows and acts only on a change.
    g->SetNodeState(2, true);
    g->SetNodeState(2, true);
    EXPECT_EQ(g->RowCount(), 8);
    g->SetNodeState(2, false);
    EXPECT_EQ(g->RowCount(), 10);
}

TEST(AdvGridTreeTest, NodeOfSpanZeroCoversRowsUpToTheNextNode) {
    auto g = MakeTree(4, 10);
    g->AddNode(1, 0);
    g->AddNode(5, 0);
    g->ContractNode(1);
    EXPECT_EQ(ShownTexts(g.get()), Texts({0, 1, 5, 6, 7, 8, 9}));
    // The last node covers the rows to the end.
    g->ContractNode(5);
    EXPECT_EQ(ShownTexts(g.get()), Texts({0, 1, 5}));
    g->ExpandNode(1);
    EXPECT_EQ(ShownTexts(g.get()), Texts({0, 1, 2, 3, 4, 5}));
    g->ExpandNode(5);
    EXPECT_EQ(g->RowCount(), 10);
}

TEST(AdvGridTreeTest, InnerNodeCollapsedInsideOuterComesBackExpanded) {
    auto g = MakeTree(4, 12);
    g->AddNode(1, 8); // rows 1..8
    g->AddNode(3, 3); // rows 3..5
    EXPECT_EQ(g->GetNodeLevel(3), 2);
    EXPECT_EQ(g->GetParentRow(4), 3);
    EXPECT_EQ(g->GetParentRow(3), 1);
    EXPECT_EQ(g->GetParentRow(7), 1);
    g->ContractNode(3);
    EXPECT_EQ(ShownTexts(g.get()), Texts({0, 1, 2, 3, 6, 7, 8, 9, 10, 11}));
    // Rows below a collapsed node keep their parent.
    EXPECT_EQ(g->GetParentRow(5), 1);
    g->ContractNode(1);
    EXPECT_EQ(ShownTexts(g.get()), Texts({0, 1, 9, 10, 11}));
    g->ExpandNode(1);
    EXPECT_EQ(g->RowCount(), 12);
    EXPECT_FALSE(g->GetNodeState(3));
    EXPECT_EQ(ShownTexts(g.get()), Texts({0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11}));
}

TEST(AdvGridTreeTest, ExpandOneCollapsesTheOtherNodes) {
    auto g = MakeTree(4, 10);
    g->AddNode(1, 3);
    g->AddNode(4, 3);
    g->AddNode(7, 3);
    g->ContractAll();
    g->CellNode()->ExpandOne = true;
    g->ExpandNode(4);
    EXPECT_EQ(ShownTexts(g.get()), Texts({0, 1, 4, 5, 6, 7}));
    g->ExpandNode(7);
    EXPECT_EQ(ShownTexts(g.get()), Texts({0, 1, 4, 7, 8, 9}));
    EXPECT_TRUE(g->GetNodeState(1));
    EXPECT_TRUE(g->GetNodeState(2));
    EXPECT_FALSE(g->GetNodeState(3));
}

TEST(AdvGridTreeTest, ContractAllAndExpandAll) {
    auto g = MakeTree(4, 12);
    g->AddNode(1, 5); // rows 1..5
    g->AddNode(2, 2); // rows 2..3, nested
    g->AddNode(7, 3); // rows 7..9
    g->ContractNode(2);
    g->ContractAll();
    EXPECT_EQ(ShownTexts(g.get()), Texts({0, 1, 6, 7, 10, 11}));
    EXPECT_TRUE(g->GetNodeState(1));
    EXPECT_TRUE(g->GetNodeState(3));
    g->ExpandAll();
    EXPECT_EQ(g->RowCount(), 12);
    EXPECT_EQ(ShownTexts(g.get()), Texts({0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11}));
    for (int r : {1, 2, 7}) EXPECT_FALSE(g->GetNodeState(r)) << r;
}

TEST(AdvGridTreeTest, RemovingNodesExpandsThemAndLowersTheLevels) {
    auto g = MakeTree(4, 10);
    g->AddNode(1, 6);
    g->AddNode(2, 2);
    g->ContractNode(2);
    g->RemoveNode(2);
    EXPECT_EQ(g->NumNodes(), 1);
    EXPECT_EQ(g->RowCount(), 10);
    EXPECT_FALSE(g->IsNode(2));
    for (int r : {2, 3}) EXPECT_EQ(Level(g.get(), r), 1) << r;
    g->AddNode(7, 2);
    g->ContractNode(1);
    g->RemoveAllNodes();
    EXPECT_EQ(g->NumNodes(), 0);
    EXPECT_FALSE(g->HasNodes());
    EXPECT_EQ(ShownTexts(g.get()), Texts({0, 1, 2, 3, 4, 5, 6, 7, 8, 9}));
    for (int r = 0; r < 10; ++r) EXPECT_EQ(Level(g.get(), r), 0) << r;
    EXPECT_EQ(g->GetRowIndent(3), 0);
    EXPECT_EQ(g->GetParentRow(3), -1);
}

TEST(AdvGridTreeTest, ChildRowsGrowAndShrinkEveryEnclosingNode) {
    auto g = MakeTree(4, 12);
    g->AddNode(1, 6); // level 1: rows 1..6
    g->AddNode(2, 3); // level 2: rows 2..4
    g->InsertChildRow(3, 0);
    EXPECT_EQ(g->RowCount(), 13);
    EXPECT_EQ(g->GetNodeSpan(1), 7);
    EXPECT_EQ(g->GetNodeSpan(2), 4);
    EXPECT_EQ(g->GetSubNodeCount(1), 1);
    EXPECT_EQ(g->GetSubNodeCount(2), 1);
    EXPECT_TRUE(g->Cells(1, 3).isEmpty());
    EXPECT_EQ(g->Cells(1, 4), "r3");
    EXPECT_EQ(Level(g.get(), 3), 2);

    g->RemoveChildRow(3);
    EXPECT_EQ(g->RowCount(), 12);
    EXPECT_EQ(g->GetNodeSpan(1), 6);
    EXPECT_EQ(g->GetNodeSpan(2), 3);
    EXPECT_EQ(g->GetSubNodeCount(1), 0);
    EXPECT_EQ(g->GetSubNodeCount(2), 0);
    EXPECT_EQ(ShownTexts(g.get()), Texts({0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11}));
}

TEST(AdvGridTreeTest, ChildRowUnderANodeRowTakesTheNodeRowsCells) {
    auto g = MakeTree(4, 8);
    g->SetCells(2, 2, "two");
    g->SetColors(2, 2, 0x00FF00);
    g->AddNode(2, 3);
    g->InsertChildRow(2, 0);
    EXPECT_TRUE(g->IsNode(2));
    EXPECT_TRUE(g->Cells(1, 2).isEmpty());
    EXPECT_TRUE(g->Cells(2, 2).isEmpty());
    EXPECT_EQ(g->Colors(2, 2), clNone);
    EXPECT_EQ(g->Cells(1, 3), "r2");
    EXPECT_EQ(g->Cells(2, 3), "two");
    EXPECT_EQ(g->Colors(2, 3), TColor(0x00FF00));
    EXPECT_EQ(g->GetNodeSpan(2), 4);
    EXPECT_EQ(Level(g.get(), 3), 1);
}

// Rows a collapsed node keeps hidden stay its own when rows are inserted and removed above it.
TEST(AdvGridTreeTest, HiddenRowsFollowRowsInsertedAndRemovedBeforeThem) {
    auto g = MakeTree(4, 12);
    g->AddNode(1, 3); // rows 1..3
    g->AddNode(6, 3); // rows 6..8
    g->ContractNode(6);
    g->InsertChildRow(2, 0);
    g->InsertNormalRow(5);
    g->ExpandNode(8);
    EXPECT_EQ(ShownTexts(g.get()), (std::vector<String>{"r0", "r1", "", "r2", "r3", "", "r4", "r5", "r6",
                                                        "r7", "r8", "r9", "r10", "r11"}));
    g->ContractNode(8);
    g->RemoveChildRow(2);
    g->RemoveNormalRow(4);
    g->ExpandNode(6);
    EXPECT_EQ(ShownTexts(g.get()), Texts({0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11}));
}

// A collapsed node inside the parent, before the new row, keeps its hidden rows.
TEST(AdvGridTreeTest, ChildRowAfterACollapsedSiblingLeavesItsRowsAlone) {
    auto g = MakeTree(4, 10);
    g->AddNode(1, 7); // rows 1..7
    g->AddNode(2, 3); // rows 2..4
    g->ContractNode(2);
    g->InsertChildRow(6, 0);
    EXPECT_EQ(g->GetNodeSpan(1), 8);
    g->ExpandNode(2);
    EXPECT_EQ(ShownTexts(g.get()),
              (std::vector<String>{"r0", "r1", "r2", "r3", "r4", "r5", "", "r6", "r7", "r8", "r9"}));
}

TEST(AdvGridTreeTest, RemovedChildRowTakesItsCellControlAlong) {
    auto g = MakeTree(4, 8);
    g->AddNode(1, 5);
    auto* gone = new TEdit(nullptr);
    auto* below = new TEdit(nullptr);
    g->SetCellControls(2, 3, gone);
    g->SetCellControls(2, 4, below);
    g->RemoveChildRow(3);
    ASSERT_EQ(g->ControlList()->Count(), 1);
    EXPECT_EQ(g->ControlList()->GetControl(0)->Control, below);
    EXPECT_EQ(g->ControlList()->GetControl(0)->Y, 3);
    EXPECT_EQ(g->CellControls(2, 3), below);
    EXPECT_EQ(g->GetNodeSpan(1), 4);
    g->SetCellControls(2, 3, nullptr);
    for (TEdit* e : {gone, below}) {
        e->SetParent(nullptr);
        TObject::Free(e);
    }
}

TEST(AdvGridTreeTest, SpanTypesForTheTreeLines) {
    auto g = MakeTree(4, 8);
    g->AddNode(1, 4); // rows 1..4
    g->AddNode(2, 2); // rows 2..3
    struct Case {
        int Row, Type;
    };
    // 0 a node; 2 when the next row is as deep; 1 at the end of a level and on the last row.
    const Case cases[] = {{0, 2}, {1, 0}, {2, 0}, {3, 1}, {4, 1}, {5, 1}, {7, 1}};
    for (const Case& c : cases) EXPECT_EQ(g->GetNodeSpanType(c.Row), c.Type) << c.Row;
}

TEST(AdvGridTreeTest, NodeClickHitsTheGlyphByNodeType) {
    auto g = MakeTree(4, 8);
    g->AddNode(1, 3);
    g->AddNode(2, 2);
    struct Case {
        TNodeType Type;
        int Row, X;
        bool Hit;
    };
    const Case cases[] = {
        {cnXP, 1, 4, false},    {cnXP, 1, 5, true},    {cnXP, 1, 10, true},    {cnXP, 1, 15, true},
        {cnXP, 1, 16, false},   {cnXP, 1, 17, false},  {cnXP, 2, 16, false},   {cnXP, 2, 17, true},
        {cnXP, 2, 27, true},    {cnXP, 2, 28, false},  {cn3D, 1, 1, true},     {cn3D, 1, 17, true},
        {cn3D, 1, 18, false},   {cnLeaf, 1, 2, false}, {cnLeaf, 1, 3, true},   {cnLeaf, 1, 19, true},
        {cnLeaf, 1, 20, false}, {cnGlyph, 1, 1, true}, {cnGlyph, 1, 11, true}, {cnGlyph, 1, 12, false},
    };
    for (const Case& c : cases) {
        g->CellNode()->SetNodeType(c.Type);
        EXPECT_EQ(g->IsNodeClick(c.Row, c.X), c.Hit) << int(c.Type) << " row " << c.Row << " x " << c.X;
    }
    g->MouseActions()->PreciseNodeClick = false;
    EXPECT_TRUE(g->IsNodeClick(1, 300));
}

TEST(AdvGridTreeTest, GroupCountFollowsTheCaption) {
    auto g = MakeTree(4, 8);
    g->AddNode(1, 5);
    g->UpdateSubNodeCount(1, 1);
    EXPECT_EQ(g->Cells(1, 1), "r1");
    EXPECT_EQ(g->AllCells(1, 1), "r1");
    g->Grouping()->ShowGroupCount = true;
    struct Case {
        const char* Format;
        const char* Text;
    };
    // Rows of the group without its header and sub-group headers; a format that does not take
    // the number shows the plain count.
    const Case cases[] = {{"", "r1 (3)"}, {" [%d rows]", "r1 [3 rows]"}, {" %s", "r1 (3)"}};
    for (const Case& c : cases) {
        g->Grouping()->GroupCountFormat = c.Format;
        EXPECT_EQ(g->AllCells(1, 1), c.Text) << c.Format;
    }
    EXPECT_EQ(g->AllCells(2, 1), "");
    EXPECT_EQ(g->AllCells(1, 2), "r2");
}

TEST(AdvGridTreeTest, BadRowsAreIgnored) {
    auto g = MakeTree(4, 6);
    g->AddNode(6, 2);
    g->AddNode(-1, 2);
    g->MarkSummaryRow(9);
    EXPECT_EQ(g->NumNodes(), 0);
    for (int r : {-1, 0, 3, 6, 100}) {
        EXPECT_FALSE(g->IsNode(r)) << r;
        EXPECT_FALSE(g->IsSummary(r)) << r;
        EXPECT_EQ(g->GetNodeSpan(r), -1) << r;
        EXPECT_EQ(g->GetNodeLevel(r), -1) << r;
        EXPECT_FALSE(g->GetNodeState(r)) << r;
        EXPECT_EQ(g->GetParentRow(r), -1) << r;
    }
    g->ExpandNode(3);
    g->ContractNode(3);
    g->RemoveNode(3);
    g->InsertChildRow(40, 0);
    g->RemoveChildRow(40);
    EXPECT_EQ(g->RowCount(), 6);
    g->MarkSummaryRow(4);
    EXPECT_TRUE(g->IsSummary(4));
}

TEST(AdvGridTreeTest, CellNodeSettingsCopyAndRepaint) {
    TCellNode a(nullptr), b(nullptr);
    a.SetColor(0x123456);
    a.SetNodeType(cnFlat);
    a.SetNodeColor(0x111111);
    a.ExpandOne = true;
    a.SetShowTree(false);
    a.SetShowTreeFull(false);
    a.SetNodeIndent(20);
    a.SetTreeColor(0x222222);
    a.ExpandGlyph()->SetSize(7, 5);
    b.Assign(&a);
    EXPECT_EQ(b.Color(), TColor(0x123456));
    EXPECT_EQ(b.NodeType(), cnFlat);
    EXPECT_EQ(b.NodeColor(), TColor(0x111111));
    EXPECT_TRUE(b.ExpandOne);
    EXPECT_FALSE(b.ShowTree());
    EXPECT_FALSE(b.ShowTreeFull());
    EXPECT_EQ(b.NodeIndent(), 20);
    EXPECT_EQ(b.TreeColor(), TColor(0x222222));
    EXPECT_EQ(b.ExpandGlyph()->Width(), 7);
    EXPECT_NE(b.ExpandGlyph(), a.ExpandGlyph());
    TFont other;
    b.Assign(&other); // another kind: nothing
    EXPECT_EQ(b.NodeIndent(), 20);

    auto g = MakeTree(4, 6);
    g->AddNode(1, 3);
    g->CellNode()->SetNodeIndent(16);
    EXPECT_EQ(g->GetRowIndent(2), 16);
}

// With Grouping.AutoCheckGroup a node's box speaks for its group: toggling it skips grayed and
// sets every row of the group, collapsed or not; a row's toggle sets its node to checked,
// unchecked or grayed as the group's rows agree.
TEST(AdvGridTreeTest, AutoCheckGroupTiesANodesBoxToItsRows) {
    auto g = MakeTree(4, 10);
    g->AddNode(2, 4); // rows 3..5 belong to it
    g->AddCheckBoxColumn(2);
    g->AddCheckBox(2, 2, cbUnchecked);
    g->Grouping()->AutoCheckGroup = true;
    auto node = [&] {
        TCheckBoxState s = cbGrayed;
        EXPECT_TRUE(g->GetCheckBoxState(2, 2, s));
        return s;
    };
    auto row = [&](int Real) {
        bool b = false;
        EXPECT_TRUE(g->GetCheckBoxState(2, Real, b));
        return b;
    };

    EXPECT_TRUE(g->ToggleCheckBox(2, 2));
    EXPECT_EQ(node(), cbChecked);
    EXPECT_TRUE(row(3) && row(4) && row(5));
    EXPECT_FALSE(row(6)) << "a row after the group stays as it was";

    EXPECT_TRUE(g->ToggleCheckBox(2, 4));
    EXPECT_EQ(node(), cbGrayed) << "the group's rows differ";
    EXPECT_TRUE(g->ToggleCheckBox(2, 3));
    EXPECT_TRUE(g->ToggleCheckBox(2, 5));
    EXPECT_EQ(node(), cbUnchecked) << "all rows unchecked";

    g->ContractNode(2);
    EXPECT_TRUE(g->ToggleCheckBox(2, 2)) << "grayed or unchecked goes to checked";
    EXPECT_EQ(node(), cbChecked);
    g->ExpandNode(2);
    EXPECT_TRUE(row(3) && row(4) && row(5)) << "collapsed rows took the node's state";

    g->Grouping()->AutoCheckGroup = false;
    EXPECT_TRUE(g->ToggleCheckBox(2, 2));
    EXPECT_EQ(node(), cbUnchecked);
    EXPECT_TRUE(g->ToggleCheckBox(2, 2));
    EXPECT_EQ(node(), cbGrayed) << "without AutoCheckGroup the three states cycle";
    EXPECT_TRUE(row(3)) << "and the rows are left alone";
}
