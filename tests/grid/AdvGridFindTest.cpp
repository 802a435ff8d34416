// The grid's cell finder: the option set over one grid, continuing searches, replacing, the
// progress notifications, hidden rows under collapsed nodes, the incremental row lookup and the
// highlight and mark tags with their ranges.
#include "AdvGridTestSupport.h"

#include "AdvShownGridFixture.h"
#include "GridUtil.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

namespace {

// Column 0 and row 0 fixed:
//        c0    c1     c2     c3
//   r0   h0    ab     x      y
//   r1   f1    abc    cab    (empty)
//   r2   f2    ab     AB     zz
//   r3   f3    xab    (empty) ab
//   r4   ab    q      Abc    w
TAdvGridPtr MakeFindGrid() {
    auto g = MakeAdvGrid(4, 5);
    const char* rows[5][4] = {{"h0", "ab", "x", "y"},
                              {"f1", "abc", "cab", ""},
                              {"f2", "ab", "AB", "zz"},
                              {"f3", "xab", "", "ab"},
                              {"ab", "q", "Abc", "w"}};
    for (int r = 0; r < 5; ++r)
        for (int c = 0; c < 4; ++c) g->SetCells(c, r, QString::fromUtf8(rows[r][c]));
    return g;
}

TEST(AdvGridFind, OptionTable) {
    struct Case {
        const char* Name;
        const char* Text;
        TFindParams Params;
        TPoint Start;
        std::function<void(TAdvStringGrid*)> Setup;
        TPoint Expected;
    };
    const TPoint none(-1, -1), first(-1, -1);
    const Case cases[] = {
        // Column by column from the first data cell; case ignored unless asked for.
        {"contains", "ab", {}, first, nullptr, {1, 1}},
        {"upper-case search finds lower-case text", "ABC", {}, first, nullptr, {1, 1}},
        {"match case", "AB", {fnMatchCase}, first, nullptr, {2, 2}},
        {"match case finds nothing", "ABC", {fnMatchCase}, first, nullptr, none},
        {"full", "ab", {fnMatchFull}, first, nullptr, {1, 2}},
        {"start",
         "ab",
         {fnMatchStart, fnFindInPresetCol},
         first,
         [](TAdvStringGrid* g) { g->FindCol = 2; },
         {2, 2}},
        {"start skips a later occurrence", "ab", {fnMatchStart}, {1, 2}, nullptr, {2, 2}},
        {"start and full", "ab", {fnMatchStart, fnMatchFull}, {1, 2}, nullptr, {2, 2}},
        {"full with case", "ab", {fnMatchFull, fnMatchCase}, {1, 2}, nullptr, {3, 3}},
        {"condition", "*b", {fnMatchRegular}, first, nullptr, {1, 2}},
        {"condition with case", "A*", {fnMatchRegular, fnMatchCase}, first, nullptr, {2, 2}},
        {"condition with an operator", ">x", {fnMatchRegular}, first, nullptr, {1, 3}},
        {"two double quotes find an empty cell", "\"\"", {}, first, nullptr, {2, 3}},
        // The walk orders and the step on from the start cell.
        {"column by column steps down", "b", {}, {1, 1}, nullptr, {1, 2}},
        {"row by row steps right", "b", {fnDirectionLeftRight}, {1, 1}, nullptr, {2, 1}},
        {"backward column by column", "ab", {fnBackward}, first, nullptr, {3, 3}},
        {"backward row by row", "ab", {fnBackward, fnDirectionLeftRight}, first, nullptr, {2, 4}},
        {"backward steps up", "ab", {fnBackward}, {1, 3}, nullptr, {1, 2}},
        {"past the last match finds nothing", "zz", {}, {3, 2}, nullptr, none},
        {"the last cell wraps to the first", "ab", {}, {3, 4}, nullptr, {1, 1}},
        // Restrictions.
        {"fixed cells", "ab", {fnIncludeFixed}, first, nullptr, {0, 4}},
        {"fixed row in row order", "ab", {fnIncludeFixed, fnDirectionLeftRight}, first, nullptr, {1, 0}},
        {"current row",
         "ab",
         {fnFindInCurrentRow},
         first,
         [](TAdvStringGrid* g) { g->FocusCell(2, 3); },
         {1, 3}},
        {"current column",
         "ab",
         {fnFindInCurrentCol},
         first,
         [](TAdvStringGrid* g) { g->FocusCell(3, 1); },
         {3, 3}},
        {"preset row", "ab", {fnFindInPresetRow}, first, [](TAdvStringGrid* g) { g->FindRow = 4; }, {2, 4}},
        {"preset column",
         "ab",
         {fnFindInPresetCol},
         first,
         [](TAdvStringGrid* g) { g->FindCol = 3; },
         {3, 3}},
        {"preset column out of range",
         "ab",
         {fnFindInPresetCol},
         first,
         [](TAdvStringGrid* g) { g->FindCol = 99; },
         none},
        {"preset row out of range",
         "ab",
         {fnFindInPresetRow},
         first,
         [](TAdvStringGrid* g) { g->FindRow = -5; },
         none},
        {"selection",
         "ab",
         {fnSelectedCells},
         first,
         [](TAdvStringGrid* g) { g->SetSelection(TGridRect(2, 3, 3, 4)); },
         {2, 4}},
        {"ignored column skipped row by row",
         "ab",
         {fnDirectionLeftRight},
         first,
         [](TAdvStringGrid* g) { g->IgnoreColumns()->Add(1); },
         {2, 1}},
        {"ignored column searched column by column",
         "ab",
         {},
         first,
         [](TAdvStringGrid* g) { g->IgnoreColumns()->Add(1); },
         {1, 1}},
        // A hidden column: display columns without the option, real ones with it.
        {"hidden column left out", "abc", {}, first, [](TAdvStringGrid* g) { g->HideColumn(1); }, {1, 4}},
        {"hidden column searched",
         "abc",
         {fnIncludeHiddenColumns},
         first,
         [](TAdvStringGrid* g) { g->HideColumn(1); },
         {1, 1}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        auto g = MakeFindGrid();
        if (c.Setup) c.Setup(g.get());
        const int row = g->Row(), col = g->Col();
        const TPoint found = g->Find(c.Start, QString::fromUtf8(c.Text), c.Params);
        EXPECT_EQ(found, c.Expected);
        EXPECT_FALSE(g->FindBusy);
        // Without fnAutoGoto the current cell stays.
        EXPECT_EQ(g->Row(), row);
        EXPECT_EQ(g->Col(), col);
        EXPECT_TRUE(g->Cells(2, 2) == "AB"); // a find writes nothing
        if (found.X >= 0) {
            // fnAutoGoto moves the current cell to a found data cell.
            TFindParams go = c.Params;
            go.insert(fnAutoGoto);
            const TPoint again = g->Find(c.Start, QString::fromUtf8(c.Text), go);
            EXPECT_EQ(again, found);
            if (found.X >= g->FixedCols() && found.Y >= g->FixedRows() &&
                !c.Params.contains(fnIncludeHiddenColumns)) {
                EXPECT_EQ(g->Row(), found.Y);
                EXPECT_EQ(g->Col(), found.X);
            }
        }
    }
}

TEST(AdvGridFind, FindNextWalksOnThenReportsTheEndOnceAndStartsAgain) {
    auto g = MakeFindGrid();
    std::vector<TPoint> seen{g->FindFirst("ab", {})};
    for (int i = 0; i < 8; ++i) seen.push_back(g->FindNext());
    const std::vector<TPoint> expected{{1, 1}, {1, 2}, {1, 3},   {2, 1}, {2, 2},
                                       {2, 4}, {3, 3}, {-1, -1}, {1, 1}};
    EXPECT_EQ(seen, expected);
    EXPECT_EQ(g->SearchCell, TPoint(1, 1));

    // Row by row within the current column the search moves on to the next rows.
    g->FocusCell(1, 1);
    seen = {g->FindFirst("ab", {fnFindInCurrentCol, fnDirectionLeftRight})};
    seen.push_back(g->FindNext());
    seen.push_back(g->FindNext());
    EXPECT_EQ(seen, (std::vector<TPoint>{{1, 1}, {1, 2}, {1, 3}}));
}

TEST(AdvGridFind, EmptyGridsAndBadTextsFindNothingAndRaiseNothing) {
    // Only fixed cells hold the text.
    auto g = MakeAdvGrid(2, 2);
    g->SetCells(0, 0, "ab");
    g->SetCells(1, 0, "ab");
    EXPECT_EQ(g->Find({-1, -1}, "ab", {}), TPoint(-1, -1));
    EXPECT_EQ(g->Find({-1, -1}, "ab", {fnIncludeFixed}), TPoint(0, 0));
    auto h = MakeFindGrid();
    h->SetCells(3, 4, "a &amp; <b>\"|\\");
    for (const char* text : {"&", "<", "\"", "|\\", "(((", "\"abc", ">=", "&|", ""}) {
        SCOPED_TRACE(text);
        for (TFindParams p : {TFindParams{}, TFindParams{fnMatchRegular}, TFindParams{fnIgnoreHTMLTags}})
            EXPECT_NO_THROW(h->Find({-1, -1}, QString::fromUtf8(text), p));
    }
    EXPECT_EQ(h->Find({-1, -1}, String(100000, u'q'), {}), TPoint(-1, -1));
}

// The wide walk reads packed wide texts unpacked, strips markup and evaluates conditions on the
// cell text with the search text, as the narrow walk does.
TEST(AdvGridFind, WideWalkUnpacksStripsMarkupAndEvaluatesConditions) {
    auto g = MakeAdvGrid(3, 4);
    g->SetCells(1, 1, PackWideText(QStringLiteral("\u0416ar")));
    g->SetCells(1, 2, QStringLiteral("<b>fo</b>o"));
    g->SetCells(1, 3, QStringLiteral("plain"));
    struct Case {
        const char* Name;
        String Text;
        TFindParams Params;
        TPoint Narrow, Wide;
    };
    const Case cases[] = {
        {"packed text", QStringLiteral("\u0436A"), {}, {-1, -1}, {1, 1}},
        {"markup kept", "foo", {}, {-1, -1}, {-1, -1}},
        {"markup stripped", "foo", {fnIgnoreHTMLTags}, {1, 2}, {1, 2}},
        {"condition", "pl*", {fnMatchRegular}, {1, 3}, {1, 3}},
        {"condition matching nothing", "zz*", {fnMatchRegular}, {-1, -1}, {-1, -1}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        EXPECT_EQ(g->Find({-1, -1}, c.Text, c.Params), c.Narrow);
        EXPECT_EQ(g->FindWide({-1, -1}, c.Text, c.Params), c.Wide);
    }
}

class TNotifyingGrid : public TAdvStringGrid {
public:
    using TAdvStringGrid::TAdvStringGrid;
    void ExportNotification(TGridExportState State, int ARow) override {
        Calls.emplace_back(State, ARow);
        if (State == esExportNewRow) BusyInWalk = BusyInWalk && FindBusy;
        if (State == esExportNewRow && Raise) throw Exception("stopped");
    }
    bool Raise = false;
    std::vector<std::pair<TGridExportState, int>> Calls;
    bool BusyInWalk = true;
};

TEST(AdvGridFind, ReportsStartEachCellTestAndTheOutcome) {
    auto* g = new TNotifyingGrid(nullptr);
    TAdvGridPtr owner(g);
    g->SetColCount(3);
    g->SetRowCount(3);
    g->SetCells(2, 1, "hit");
    using G = TAdvStringGrid;
    EXPECT_EQ(g->Find({-1, -1}, "hit", {}), TPoint(2, 1));
    EXPECT_EQ(g->Calls, (std::vector<std::pair<G::TGridExportState, int>>{{G::esExportStart, -1},
                                                                          {G::esExportNewRow, 1},
                                                                          {G::esExportNewRow, 2},
                                                                          {G::esExportNewRow, 1},
                                                                          {G::esExportFail, -1}}));
    EXPECT_TRUE(g->BusyInWalk);
    EXPECT_FALSE(g->FindBusy);
    g->Calls.clear();
    EXPECT_EQ(g->FindWide({-1, -1}, "miss", {fnDirectionLeftRight}), TPoint(-1, -1));
    EXPECT_EQ(g->Calls.front(), std::make_pair(G::esExportStart, -1));
    EXPECT_EQ(g->Calls.back(), std::make_pair(G::esExportDone, -1));
    EXPECT_EQ(g->Calls.size(), 6u); // four cells tested

    // A handler that raises ends the find; the grid is no longer busy.
    g->Raise = true;
    EXPECT_THROW(g->Find({-1, -1}, "hit", {}), Exception);
    EXPECT_FALSE(g->FindBusy);
}

TEST(AdvGridFind, ReplaceIgnoresCaseInTheCellsItFinds) {
    auto g = MakeAdvGrid(3, 4);
    g->SetCells(1, 1, "aA");
    g->SetCells(1, 2, "A");
    g->SetCells(2, 1, "banana");
    g->SetCells(2, 3, "Ab");
    g->ShowModified()->SetEnabled(true);
    // With case the finder passes over "A" and "Ab", but rewrites every "A" in the cells it finds.
    EXPECT_EQ(g->Replace("a", "o", {fnMatchCase}), 2);
    EXPECT_EQ(g->Cells(1, 1), "oo");
    EXPECT_EQ(g->Cells(1, 2), "A");
    EXPECT_EQ(g->Cells(2, 1), "bonono");
    EXPECT_EQ(g->Cells(2, 3), "Ab");
    EXPECT_TRUE(g->GetRowModified(1));
    EXPECT_FALSE(g->GetRowModified(2));

    // A new text that holds the old one is written once per cell.
    EXPECT_EQ(g->Replace("o", "oo", {}), 2);
    EXPECT_EQ(g->Cells(1, 1), "oooo");
    // The last cell found: the walk wraps to the first cell and meets the rewritten ones again.
    EXPECT_EQ(g->Replace("b", "bb", {}), 2);
    EXPECT_EQ(g->Cells(2, 3), "Abb");
    EXPECT_EQ(g->Replace("", "x", {}), 0);
    EXPECT_EQ(g->Replace("missing", "x", {}), 0);
}

TEST(AdvGridFind, HiddenRowUnderACollapsedNodeIsExpandedAndSelected) {
    auto g = MakeAdvGrid(3, 7);
    for (int r = 1; r < 7; ++r) g->SetCells(1, r, QStringLiteral("r%1").arg(r));
    g->SetCells(2, 4, "target");
    g->AddNode(2, 3); // rows 2..4
    g->ContractNode(2);
    ASSERT_EQ(g->RowCount(), 5);
    // Without the option hidden rows are not searched.
    EXPECT_EQ(g->Find({-1, -1}, "target", {fnAutoGoto}), TPoint(-1, -1));
    EXPECT_EQ(g->Find({-1, -1}, "target", {fnAutoGoto, fnIncludeHiddenRows}), TPoint(2, 4));
    EXPECT_EQ(g->RowCount(), 7);
    EXPECT_FALSE(g->GetNodeState(2));
    EXPECT_EQ(g->Row(), 4);
    EXPECT_EQ(g->Col(), 2);

    // With disjunct row selection the found row becomes the only selected row.
    g->MouseActions()->SetDisjunctRowSelect(true);
    g->SetRowSelect(1, true);
    EXPECT_EQ(g->Find({-1, -1}, "r5", {fnAutoGoto}), TPoint(1, 5));
    EXPECT_EQ(g->Row(), 5);
    EXPECT_FALSE(g->GetRowSelect(1));
    EXPECT_TRUE(g->GetRowSelect(5));
}

// ---------------------------------------------------------------------------------------------
// Highlight and mark tags

TEST(AdvGridHighlight, RoundTripGivesBackEveryText) {
    const char* texts[] = {"a<b",         "x > y & z", "say \"b\"", "&lt;b literal", "b <hi", "a &amp; b",
                           "<B>bold</B>", "bbb",       "b",         "no match here"};
    auto g = MakeAdvGrid(3, 11);
    for (int r = 1; r <= 10; ++r) g->SetCells(1, r, QString::fromUtf8(texts[r - 1]));
    g->SetCells(2, 1, "untouched &lt; &amp;");
    for (int r = 1; r <= 10; ++r) {
        SCOPED_TRACE(texts[r - 1]);
        const String before = g->Cells(1, r);
        g->HilightInCell(false, 1, r, "b");
        EXPECT_EQ(g->Cells(1, r).contains("<hi>"), before.contains(u'b')) << g->Cells(1, r).toStdString();
        g->UnHilightInCell(1, r);
        EXPECT_EQ(g->Cells(1, r), before);
    }
    // The whole grid: twice highlighted, once removed; cells without an occurrence never change.
    const String untouched = g->Cells(2, 1);
    g->HilightInGrid(false, false, "B");
    EXPECT_EQ(g->Cells(1, 8), "<hi>b</hi><hi>b</hi><hi>b</hi>");
    g->HilightInGrid(false, true, "b");
    g->UnHilightInGrid(false);
    for (int r = 1; r <= 10; ++r) EXPECT_EQ(g->Cells(1, r), QString::fromUtf8(texts[r - 1]));
    EXPECT_EQ(g->Cells(2, 1), untouched);
    // The mark tag is a tag of its own.
    g->MarkInCell(false, 1, 9, "b");
    EXPECT_EQ(g->Cells(1, 9), "<e>b</e>");
    g->UnHilightInCell(1, 9);
    EXPECT_EQ(g->Cells(1, 9), "<e>b</e>");
    g->UnMarkInCell(1, 9);
    EXPECT_EQ(g->Cells(1, 9), "b");
}

TEST(AdvGridHighlight, TextRoutines) {
    auto g = MakeAdvGrid(2, 2);
    EXPECT_EQ(g->HilightText(false, "Abcab", "ab"), "<hi>Ab</hi>c<hi>ab</hi>");
    EXPECT_EQ(g->HilightText(true, "Abcab", "ab"), "Abc<hi>ab</hi>");
    EXPECT_EQ(g->MarkText(false, "<b>xy</b>", "y"), "<b>x<e>y</e></b>");
    EXPECT_EQ(g->UnHilightText("<HI>a</hi> &lt;"), "a <");
    EXPECT_EQ(g->UnMarkText("<e>x</e>y"), "xy");
    // A text without the tag is given back as it is.
    EXPECT_EQ(g->UnMarkText("1 &lt; 2"), "1 &lt; 2");
}

// Which cells each member reaches, on a grid with a fixed row and column, a right fixed column,
// a footer row and a hidden column (real column 2).
TEST(AdvGridHighlight, RangesOfTheMembers) {
    struct Case {
        const char* Name;
        std::function<void(TAdvStringGrid*)> Call;
        bool Removal;
        std::vector<const char*> Expected; // real columns 0..5 per row, x tagged
    };
    const Case cases[] = {
        {"HilightInCell",
         [](TAdvStringGrid* g) { g->HilightInCell(false, 3, 2, "x"); },
         false,
         {"......", "......", "...x..", "......", "......"}},
        {"HilightInCol",
         [](TAdvStringGrid* g) { g->HilightInCol(false, false, 1, "x"); },
         false,
         {"......", ".x....", ".x....", ".x....", "......"}},
        {"HilightInCol fixed",
         [](TAdvStringGrid* g) { g->HilightInCol(true, false, 1, "x"); },
         false,
         {".x....", ".x....", ".x....", ".x....", ".x...."}},
        {"MarkInRow",
         [](TAdvStringGrid* g) { g->MarkInRow(false, false, 1, "x"); },
         false,
         {"......", ".xxx..", "......", "......", "......"}},
        {"MarkInRow fixed",
         [](TAdvStringGrid* g) { g->MarkInRow(true, false, 1, "x"); },
         false,
         {"......", "xxxxx.", "......", "......", "......"}},
        {"HilightInGrid",
         [](TAdvStringGrid* g) { g->HilightInGrid(false, false, "x"); },
         false,
         {"......", ".xxxx.", ".xxxx.", ".xxxx.", "......"}},
        {"HilightInGrid fixed",
         [](TAdvStringGrid* g) { g->HilightInGrid(true, false, "x"); },
         false,
         {"xxxxx.", "xxxxx.", "xxxxx.", "xxxxx.", "xxxxx."}},
        {"MarkInGrid",
         [](TAdvStringGrid* g) { g->MarkInGrid(false, false, "x"); },
         false,
         {"......", ".xxx..", ".xxx..", ".xxx..", "......"}},
        {"UnHilightInRow",
         [](TAdvStringGrid* g) { g->UnHilightInRow(false, 2); },
         true,
         {"xxxxxx", "xxxxxx", "x....x", "xxxxxx", "xxxxxx"}},
        {"UnMarkInGrid",
         [](TAdvStringGrid* g) { g->UnMarkInGrid(false); },
         true,
         {"xxxxxx", "x....x", "x....x", "x....x", "xxxxxx"}},
        {"UnHilightInGrid fixed",
         [](TAdvStringGrid* g) { g->UnHilightInGrid(true); },
         true,
         {"......", "......", "......", "......", "......"}},
        {"UnMarkInCol",
         [](TAdvStringGrid* g) { g->UnMarkInCol(false, 4); },
         true,
         {"xxxxxx", "xxxx.x", "xxxx.x", "xxxx.x", "xxxxxx"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        auto g = MakeAdvGrid(6, 5);
        g->SetFixedRightCols(1);
        g->SetFixedFooters(1);
        const bool mark = QString::fromUtf8(c.Name).contains("Mark");
        const String tagged = mark ? "<e>x</e>" : "<hi>x</hi>";
        for (int r = 0; r < 5; ++r)
            for (int col = 0; col < 6; ++col) g->SetCells(col, r, c.Removal ? tagged : String("x"));
        g->HideColumn(2);
        c.Call(g.get());
        for (int r = 0; r < 5; ++r) {
            QString seen;
            for (int col = 0; col < 6; ++col) seen += g->Cells(col, r) == tagged ? u'x' : u'.';
            EXPECT_EQ(seen, QString::fromUtf8(c.Expected[size_t(r)])) << "row " << r;
        }
    }
}

// ---------------------------------------------------------------------------------------------
// The incremental row lookup

TEST(AdvGridSearch, LooksUpTheSortColumn) {
    auto g = MakeAdvGrid(4, 5);
    const char* col1[] = {"pear", "<b>Apple</b>", "fig", "apricot"};
    const char* col2[] = {"zeta", "beta", "alpha", "gamma"};
    for (int r = 1; r < 5; ++r) {
        g->SetCells(1, r, QString::fromUtf8(col1[r - 1]));
        g->SetCells(2, r, QString::fromUtf8(col2[r - 1]));
    }
    struct Case {
        const char* Name;
        std::function<void(TAdvStringGrid*)> Setup;
        const char* Text;
        int Expected;
    };
    const Case cases[] = {
        {"first data column without the sort indicator", nullptr, "AP", 2},
        {"markup stripped", nullptr, "APPLE", 2},
        {"longer text than the cell", nullptr, "APPLES", -1},
        {"sort column",
         [](TAdvStringGrid* g) {
             g->SortSettings()->SetShow(true);
             g->SortSettings()->SetColumn(2);
         },
         "AL", 3},
        {"no sort column",
         [](TAdvStringGrid* g) {
             g->SortSettings()->SetShow(true);
             g->SortSettings()->SetColumn(-1);
         },
         "AL", -1},
        {"first key of an indexed sort",
         [](TAdvStringGrid* g) {
             g->SortSettings()->SetShow(true);
             g->SortSettings()->SetIndexShow(true);
             g->SortIndexes()->AddIndex(2, true);
             g->SortIndexes()->AddIndex(1, true);
         },
         "G", 4},
        {"indexed without keys",
         [](TAdvStringGrid* g) {
             g->SortSettings()->SetShow(true);
             g->SortSettings()->SetIndexShow(true);
         },
         "F", 3},
        {"one row", [](TAdvStringGrid* g) { g->SetRowCount(1); }, "H", -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        auto h = MakeAdvGrid(4, 5);
        for (int r = 0; r < 5; ++r)
            for (int col = 0; col < 4; ++col) h->SetCells(col, r, g->Cells(col, r));
        h->SetCells(1, 0, "header");
        if (c.Setup) c.Setup(h.get());
        EXPECT_EQ(h->Search(QString::fromUtf8(c.Text)), c.Expected);
    }
}

class AdvGridSearchTyping : public AdvShownGridFixture {};

// Typing in a grid that does not edit moves to the row whose sort column starts with the text.
TEST_F(AdvGridSearchTyping, TypingMovesToTheRow) {
    TGridOptions options = Grid->Options();
    options.erase(goEditing);
    Grid->SetOptions(options);
    Grid->SetRowCount(6);
    const char* texts[] = {"delta", "alpha", "beta", "bravo", "charlie"};
    for (int r = 1; r < 6; ++r) Grid->SetCells(1, r, QString::fromUtf8(texts[r - 1]));
    Grid->Navigation()->AutoGotoWhenSorted = true;
    Grid->Navigation()->AutoGotoIncremental = true;
    Grid->FocusCell(1, 1);
    SimulateText(Grid, "b");
    EXPECT_EQ(Grid->Row(), 3);
    SimulateText(Grid, "r");
    EXPECT_EQ(Grid->Row(), 4);
    EXPECT_EQ(Grid->IncrSearchText(), "br");
}

// A row found near the bottom of the view is lifted clear of it, further with the floating
// footer shown.
TEST_F(AdvGridSearchTyping, FoundRowIsLiftedFromTheBottomOfTheView) {
    for (bool footer : {false, true}) {
        SCOPED_TRACE(footer ? "floating footer" : "no footer");
        Grid->SetRowCount(60);
        Grid->FocusCell(1, 1);
        Grid->SetTopRow(1);
        Grid->FloatingFooter()->SetVisible(footer);
        Application->ProcessMessages();
        const int vis = Grid->VisibleRowCount();
        ASSERT_LT(vis, 25);
        // Where moving to the row alone leaves the view.
        Grid->SetRow(30);
        Grid->SetCol(2);
        const int top = Grid->TopRow();
        ASSERT_LT(top + vis - (footer ? 4 : 2), 30);
        Grid->FocusCell(1, 1);
        Grid->SetTopRow(1);
        Grid->SetCells(2, 30, "deep");
        EXPECT_EQ(Grid->Find({-1, -1}, "deep", {fnAutoGoto}), TPoint(2, 30));
        EXPECT_EQ(Grid->Row(), 30);
        EXPECT_EQ(Grid->TopRow(), top + (footer ? 3 : 1));
        Grid->SetCells(2, 30, "");
    }
}

} // namespace
