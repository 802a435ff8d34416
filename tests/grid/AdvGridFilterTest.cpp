// Filtering the grid's rows: the row match with its item operations, filter passes as levels of
// hidden rows, the incremental filter, the filter list picks made through the grid's own list,
// and texts and conditions that must not break the match.
#include "AdvGrid.h"
#include "AdvGridTestSupport.h"
#include "Forms.h"
#include "GridFilterDropDown.h"
#include "GridUtil.h"
#include "StdCtrls.h"

#include <gtest/gtest.h>

#include <QListWidget>

#include <functional>
#include <vector>

namespace {

QStringList Column(TAdvStringGrid* G, int ACol, int From = 1) {
    QStringList texts;
    for (int r = From; r < G->RowCount(); ++r) texts << G->Cells(ACol, r);
    return texts;
}

void Fill(TAdvStringGrid* G, int ACol, const QStringList& Texts) {
    for (int i = 0; i < Texts.size(); ++i) G->SetCells(ACol, i + 1, Texts[i]);
}

TFilterData* AddItem(TAdvStringGrid* G, int ACol, const String& Condition, TFilterOperation Op) {
    TFilterData* item = G->Filter()->Add();
    item->SetColumn(ACol);
    item->SetCondition(Condition);
    item->SetOperation(Op);
    return item;
}

} // namespace

TEST(GridFilterMatch, ItemsJoinByTheirOperationsFromLeftToRight) {
    // Rows 1..8: every combination of "1" and "0" in columns 0, 1 and 2.
    auto g = MakeAdvGrid(3, 9);
    for (int r = 1; r < 9; ++r)
        for (int c = 0; c < 3; ++c) g->SetCells(c, r, ((r - 1) >> c) & 1 ? "1" : "0");
    auto bit = [](int r, int c) { return (((r - 1) >> c) & 1) != 0; };
    struct Case {
        const char* Name;
        TFilterOperation Ops[3];
        std::function<bool(bool, bool, bool)> Expected;
    };
    const Case cases[] = {
        {"(A and B) or C", {foNONE, foAND, foOR}, [](bool a, bool b, bool c) { return (a && b) || c; }},
        {"(A or B) and C", {foNONE, foOR, foAND}, [](bool a, bool b, bool c) { return (a || b) && c; }},
        {"A xor B xor C", {foNONE, foXOR, foXOR}, [](bool a, bool b, bool c) { return a != b != c; }},
        {"foNONE overrides", {foNONE, foAND, foNONE}, [](bool, bool, bool c) { return c; }},
        // A failing foSHORT item stops with False before the later items could override it.
        {"A short, then C", {foSHORT, foAND, foNONE}, [](bool a, bool, bool c) { return a && c; }},
    };
    for (const Case& c : cases) {
        g->Filter()->Clear();
        for (int i = 0; i < 3; ++i) AddItem(g.get(), i, "1", c.Ops[i]);
        for (int r = 1; r < 9; ++r)
            EXPECT_EQ(g->MatchFilter(r), c.Expected(bit(r, 0), bit(r, 1), bit(r, 2)))
                << c.Name << " row " << r;
    }

    // No items pass every row; OnCustomFilter alone may still refuse, and has the last word.
    g->Filter()->Clear();
    EXPECT_TRUE(g->MatchFilter(1));
    g->OnCustomFilter = [](TObject*, int ARow, bool& Accept) { Accept = Accept && ARow != 2; };
    EXPECT_TRUE(g->MatchFilter(1));
    EXPECT_FALSE(g->MatchFilter(2));
}

TEST(GridFilterMatch, TextKindsPrefixSuffixAndLiteralConditions) {
    auto g = MakeAdvGrid(3, 3);
    g->SetCells(1, 1, "  <b>Pump</b> 12 kg  ");
    g->SetCells(2, 1, "other");
    const String wide = QStringLiteral("Ventil \u00e4");
    g->SetCells(1, 2, PackWideText(wide));
    struct Case {
        const char* Name;
        TFilterCells Data;
        String Condition;
        int Row;
        bool Expected;
        bool CaseSensitive = true;
        const char* Prefix = "";
        const char* Suffix = "";
        TFilterMethod Method = fmExpression;
    };
    const Case cases[] = {
        {"markup kept", fcVirtual, "<b>*", 1, true},
        {"markup stripped", fcStripHTML, "\"Pump 12*\"", 1, true},
        {"blanks outside quotes go", fcStripHTML, "Pump 12*", 1, false},
        {"suffix at the end", fcStripHTML, "\"Pump 12\"", 1, true, true, "", " kg"},
        {"prefix at the start", fcVirtual, "Pump*", 1, true, true, "<b>"},
        {"case differs", fcStripHTML, "pump*", 1, false},
        {"without case", fcStripHTML, "pump*", 1, true, false},
        {"literal must be exact", fcStripHTML, "Pump 12 kg", 1, true, false, "", "", fmLiteral},
        {"literal ignores CaseSensitive", fcStripHTML, "pump 12 kg", 1, false, false, "", "", fmLiteral},
        {"row joins every cell", fcRow, "PUMP</B> 12 KG", 1, true},
        {"row without case", fcRow, "oth", 1, true},
        {"row misses", fcRow, "nowhere", 1, false},
        {"wide text unpacked", fcVirtual, wide, 2, true, true, "", "", fmLiteral},
    };
    for (const Case& c : cases) {
        g->Filter()->Clear();
        TFilterData* item = AddItem(g.get(), 1, c.Condition, foNONE);
        item->SetData(c.Data);
        item->SetCaseSensitive(c.CaseSensitive);
        item->SetPrefix(c.Prefix);
        item->SetSuffix(c.Suffix);
        item->SetMethod(c.Method);
        EXPECT_EQ(g->MatchFilter(c.Row), c.Expected) << c.Name;
    }
}

TEST(GridFilterMatch, BadTextsAndConditionsFailTheirItemWithoutHarm) {
    auto g = MakeAdvGrid(2, 2);
    const String huge(100000, u'x');
    const QStringList texts{"", "<b>unclosed", "a & b", "\"half", "|\\", "|\\0", huge, "(", "a|b"};
    const QStringList conditions{"(",  ")", "\"",  "&",   "|",   "*\"*", "<",
                                 ">=", "!", "<b>", "|\\", "((a", huge,   "*&*"};
    for (const String& t : texts)
        for (const String& cond : conditions) {
            g->SetCells(1, 1, t);
            g->Filter()->Clear();
            AddItem(g.get(), 1, cond, foNONE);
            g->MatchFilter(1);
            g->Filter()->GetItem(0)->SetData(fcRow);
            g->MatchFilter(1);
        }
    // A condition on a column outside the grid matches an empty text.
    g->Filter()->Clear();
    AddItem(g.get(), 40, "x*", foNONE);
    EXPECT_FALSE(g->MatchFilter(1));
}

TEST(GridFilterLevels, PassesStackAsLevelsAndEveryRowComesBack) {
    auto g = MakeAdvGrid(2, 7);
    g->SetFixedRows(1);
    const QStringList all{"apple", "pear", "plum", "fig", "apricot", "peach"};
    Fill(g.get(), 1, all);
    AddItem(g.get(), 1, "p*", foNONE);
    std::vector<int> progress;
    g->OnFilterProgress = [&](TObject*, int P) { progress.push_back(P); };

    // Twice True applies once.
    g->SetFilterActive(true);
    g->SetFilterActive(true);
    EXPECT_EQ(Column(g.get(), 1), (QStringList{"pear", "plum", "peach"}));
    EXPECT_EQ(g->FilterLevel(), 1);
    EXPECT_EQ(progress.back(), 100);
    EXPECT_EQ(progress.size(), size_t(7)) << "one per row and a final one";

    // Off and on again, then everything removed: every row back, no batch left.
    g->SetFilterActive(false);
    EXPECT_EQ(Column(g.get(), 1), all);
    g->SetFilterActive(true);
    g->SetFilterActive(false);
    EXPECT_EQ(Column(g.get(), 1), all);
    g->RemoveAllFilters();
    EXPECT_EQ(Column(g.get(), 1), all);
    EXPECT_EQ(g->FilterLevel(), 0);
    EXPECT_EQ(g->NumHiddenRows(), 0);
    EXPECT_EQ(g->Filter()->Count(), 1) << "the items stay while levels were removed";
    g->RemoveAllFilters();
    EXPECT_EQ(g->Filter()->Count(), 0) << "without levels the items go";

    // A pass that hides nothing is a level too; RemoveLastFilter answers whether more than one
    // level remains.
    g->ApplyFilter();
    AddItem(g.get(), 1, "a*", foNONE);
    g->ApplyFilter();
    AddItem(g.get(), 1, "*t", foNONE)->SetOperation(foNONE);
    g->ApplyFilter();
    EXPECT_EQ(g->FilterLevel(), 3);
    EXPECT_EQ(Column(g.get(), 1), (QStringList{"apricot"}));
    EXPECT_TRUE(g->RemoveLastFilter());
    EXPECT_EQ(Column(g.get(), 1), (QStringList{"apple", "apricot"}));
    EXPECT_FALSE(g->RemoveLastFilter());
    EXPECT_EQ(Column(g.get(), 1), all);
    EXPECT_FALSE(g->RemoveLastFilter());
    EXPECT_FALSE(g->RemoveLastFilter()) << "no level left";
    EXPECT_EQ(g->FilterLevel(), 0);
}

TEST(GridFilterLevels, NarrowDownStacksOneLevelPerCharacter) {
    auto g = MakeAdvGrid(3, 8);
    g->SetFixedRows(1);
    const QStringList all{"abc", "abd", "xa", "ABCD", "b", "a b", "ab x"};
    Fill(g.get(), 1, all);
    Fill(g.get(), 2, {"", "", "", "", "", "", "ABC"});
    struct Step {
        const char* Text;
        int Level;
        QStringList Shown;
    };
    const Step steps[] = {
        {"a", 1, {"abc", "abd", "xa", "ABCD", "a b", "ab x"}},
        {"ab", 2, {"abc", "abd", "ABCD", "ab x"}},
        {"abc", 3, {"abc", "ABCD"}},
        {"ab", 2, {"abc", "abd", "ABCD", "ab x"}},
        {"x", 1, {"xa", "ab x"}},
        {"a b", 1, {"a b"}},
        {"", 0, all},
    };
    for (const Step& s : steps) {
        g->NarrowDown(s.Text, 1);
        EXPECT_EQ(g->FilterLevel(), s.Level) << s.Text;
        EXPECT_EQ(Column(g.get(), 1), s.Shown) << s.Text;
    }
    EXPECT_EQ(g->NumHiddenRows(), 0);

    // Column -1: anywhere in the row, without regard to case.
    g->NarrowDown("abc", -1);
    EXPECT_EQ(Column(g.get(), 1), (QStringList{"abc", "ABCD", "ab x"}));
    g->NarrowDown("", -1);
    EXPECT_EQ(Column(g.get(), 1), all);
}

TEST(GridFilterLevels, NodeRowsStayWhileFilterNormalCellsOnly) {
    auto g = MakeAdvGrid(2, 7);
    g->SetFixedRows(1);
    g->AddNode(1, 3);
    g->AddNode(4, 3);
    Fill(g.get(), 1, {"group one", "keep", "drop", "group two", "drop", "keep"});
    AddItem(g.get(), 1, "keep", foNONE);
    g->SetFilterActive(true);
    EXPECT_EQ(Column(g.get(), 1), (QStringList{"group one", "keep", "group two", "keep"}));
    g->SetFilterActive(false);
    g->FilterNormalCellsOnly = false;
    g->SetFilterActive(true);
    EXPECT_EQ(Column(g.get(), 1), (QStringList{"keep", "keep"}));
}

TEST(GridFilterLevels, FilterRowHidesOneFailingRow) {
    auto g = MakeAdvGrid(2, 4);
    Fill(g.get(), 1, {"a", "b", "c"});
    AddItem(g.get(), 1, "b", foNONE);
    g->FilterRow(1);
    g->FilterRow(1);
    EXPECT_EQ(Column(g.get(), 1), (QStringList{"b", "c"}));
    g->UnHideRowsAll();
    EXPECT_EQ(Column(g.get(), 1), (QStringList{"a", "b", "c"}));
}

TEST(GridFilterLevels, DropDownWritersTakeOnlyValidValues) {
    auto g = MakeAdvGrid(3, 5);
    g->SetFixedRows(2);
    g->SetFilterDropDownRow(1);
    EXPECT_EQ(g->FilterDropDownRow(), 1);
    g->SetFilterDropDownRow(2);
    EXPECT_EQ(g->FilterDropDownRow(), 1) << "not a fixed row";
    g->SetFilterDropDownAuto(true);
    EXPECT_TRUE(g->FilterDropDownAuto());
}

// ---------------------------------------------------------------------------------------------
// Picks in the grid's own filter lists

namespace {

class GridFilterPick : public ::testing::Test {
protected:
    void SetUp() override {
        Form = new TForm(nullptr);
        Form->SetBounds(100, 100, 600, 400);
        Grid = new TAdvStringGrid(Form);
        Grid->SetParent(Form);
        Grid->SetBounds(10, 10, 400, 250);
        Grid->SetColCount(3);
        Grid->SetRowCount(7);
        Fill(Grid, 2, {"New York", "York", "New", "Paris", "New York", "Rome"});
        Fill(Grid, 1, {"1", "2", "3", "4", "5", "6"});
        Grid->SetFilterDropDownAuto(true);
        Form->Show();
        Application->ProcessMessages();
    }
    void TearDown() override { TObject::Free(Form); }

    void ClickButton(int ACol) {
        const TRect r = Grid->CellRect(ACol, 0);
        SimulateClick(Grid, r.Right - 9, r.Top + 8);
        Application->ProcessMessages();
    }
    // Opens the list of column 2 and picks the entry shown as Shown.
    void Pick(const String& Shown) {
        ClickButton(2);
        TDropList* list = Grid->DropList();
        ASSERT_TRUE(list->Visible());
        const int at = list->Items()->IndexOf(Shown);
        ASSERT_GE(at, 0) << Shown.toStdString();
        for (int i = 0; i < at; ++i) SimulateKey(list, VK_DOWN);
        SimulateKey(list, VK_RETURN);
        Application->ProcessMessages();
    }

    TForm* Form = nullptr;
    TAdvStringGrid* Grid = nullptr;
};

} // namespace

TEST_F(GridFilterPick, AValueWithABlankMatchesOnlyThatTextAndClearShowsAllAgain) {
    int done = 0;
    std::vector<String> names;
    Grid->OnFilterDone = [&](TObject*) { ++done; };
    Grid->OnFilterSelect = [&](TObject*, int, int, const String& Name, String&) { names.push_back(Name); };
    Pick("New York");
    EXPECT_TRUE(Grid->FilterActive());
    EXPECT_EQ(Column(Grid, 2), (QStringList{"New York", "New York"}));
    EXPECT_EQ(Column(Grid, 1), (QStringList{"1", "5"}));
    ASSERT_EQ(Grid->Filter()->Count(), 1);
    EXPECT_EQ(Grid->Filter()->GetItem(0)->Condition(), "\"New York\"");
    EXPECT_EQ(Grid->FilterColumn(), -1);
    EXPECT_EQ(Grid->Row(), 1);
    EXPECT_EQ(done, 1);

    Pick("(All)");
    EXPECT_EQ(Grid->Filter()->Count(), 0);
    EXPECT_EQ(Column(Grid, 2), (QStringList{"New York", "York", "New", "Paris", "New York", "Rome"}));
    EXPECT_EQ(names, (std::vector<String>{"New York", "(All)"}));

    // The handler may change the condition.
    Grid->OnFilterSelect = [](TObject*, int, int, const String&, String& Condition) { Condition = "R*"; };
    Pick("Paris");
    EXPECT_EQ(Column(Grid, 2), (QStringList{"Rome"}));
}

TEST_F(GridFilterPick, TicksInTheCheckListJoinAsAlternatives) {
    Grid->FilterDropDownCheck = true;
    ClickButton(2);
    TDropCheckList* list = Grid->DropCheckList();
    ASSERT_TRUE(list->Visible());
    const int paris = list->Items()->IndexOf("Paris");
    const int york = list->Items()->IndexOf("York");
    ASSERT_GE(paris, 0);
    ASSERT_GE(york, 0);
    // The user ticks two values; each tick filters at once.
    auto* native = static_cast<QListWidget*>(list->NativeWidget());
    ASSERT_NE(native, nullptr);
    native->item(paris)->setCheckState(Qt::Checked);
    EXPECT_EQ(Column(Grid, 2), (QStringList{"Paris"}));
    native->item(york)->setCheckState(Qt::Checked);
    EXPECT_TRUE(Grid->FilterActive());
    EXPECT_EQ(Column(Grid, 2), (QStringList{"York", "Paris"}));
    ASSERT_EQ(Grid->Filter()->Count(), 2);
    EXPECT_EQ(Grid->Filter()->GetItem(0)->Operation(), foNONE);
    EXPECT_EQ(Grid->Filter()->GetItem(1)->Operation(), foOR);
    EXPECT_EQ(Grid->FilterColumn(), 2) << "the check list's column stays";
}
