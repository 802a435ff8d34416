// The search footer driven through its panel: searching as the user types, find next and
// previous in both walk orders, the button search with AutoSearch off, and highlighting.
#include "AdvGrid.h"
#include "Forms.h"
#include "KeyTyping.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// Column 0 and row 0 fixed; "ab" in any case at (1,1), (2,2), (1,3) and (1,5).
const char* const Texts[6][3] = {{"", "h1", "h2"}, {"", "ab", "x"}, {"", "q", "ab"},
                                 {"", "abc", "y"}, {"", "z", "z"},  {"", "Ab", "w"}};

class SearchFooterFixture : public ::testing::Test {
protected:
    void SetUp() override {
        Form = new TForm(nullptr);
        Form->SetBounds(100, 100, 700, 400);
        Grid = new TAdvStringGrid(Form);
        Grid->SetParent(Form);
        Grid->SetBounds(10, 10, 600, 300);
        Grid->SetColCount(3);
        Grid->SetRowCount(6);
        for (int r = 0; r < 6; ++r)
            for (int c = 0; c < 3; ++c) Grid->SetCells(c, r, QString::fromUtf8(Texts[r][c]));
        Form->Show();
        Application->ProcessMessages();
        Grid->OnSearchFooterAction = [this](TObject*, const String&, int ACol, int ARow, TSearchAction Kind) {
            Found.push_back(TPoint(ACol, ARow));
            Kinds.push_back(Kind);
        };
        Grid->SearchFooter()->SetVisible(true);
        Application->ProcessMessages();
        Edit()->SetFocus();
    }
    void TearDown() override { TObject::Free(Form); }

    TSearchPanel* Panel() { return Grid->SearchPanel(); }
    TRetEdit* Edit() { return Panel()->EditControl(); }
    static void Click(TControl* C) { SimulateClick(C, C->Width() / 2, C->Height() / 2); }
    void Forward() { Click(Panel()->ForwardButton()); }
    void Backward() { Click(Panel()->BackwardButton()); }
    TPoint Current() const { return TPoint(Grid->Col(), Grid->Row()); }
    // The cells that hold a highlight tag, as "col,row".
    std::vector<String> Highlighted() const {
        std::vector<String> cells;
        for (int r = 0; r < 6; ++r)
            for (int c = 0; c < 3; ++c)
                if (Grid->Cells(c, r).contains("<hi>"))
                    cells.push_back(QStringLiteral("%1,%2").arg(c).arg(r));
        return cells;
    }
    bool TextsAsMade() const {
        for (int r = 0; r < 6; ++r)
            for (int c = 0; c < 3; ++c)
                if (Grid->Cells(c, r) != QString::fromUtf8(Texts[r][c])) return false;
        return true;
    }

    TForm* Form = nullptr;
    TAdvStringGrid* Grid = nullptr;
    std::vector<TPoint> Found;
    std::vector<TSearchAction> Kinds;
};

TEST_F(SearchFooterFixture, TypingFindsFromTheFirstCellAndColoursTheEdit) {
    TypeKeys(Edit(), "ab");
    EXPECT_EQ(Found.back(), TPoint(1, 1));
    EXPECT_EQ(Kinds.back(), saFindFirst);
    EXPECT_EQ(Current(), TPoint(1, 1));
    EXPECT_EQ(Edit()->Color(), clWindow);

    TypeKeys(Edit(), "z");
    EXPECT_EQ(Found.back(), TPoint(-1, -1));
    EXPECT_EQ(Edit()->Color(), TColor(0x0000FF));
    EXPECT_EQ(Current(), TPoint(1, 1)); // nothing found: the current cell stays

    SimulateKey(Edit(), VK_BACK);
    EXPECT_EQ(Found.back(), TPoint(1, 1));
    EXPECT_EQ(Edit()->Color(), clWindow);
}

TEST_F(SearchFooterFixture, FindNextAndPreviousInBothOrders) {
    struct Case {
        const char* Name;
        TSearchDirection Direction;
        std::vector<char> Presses; // n: next, p: previous
        std::vector<TPoint> Expected;
    };
    const Case cases[] = {
        {"top to bottom", sdTopBottom, {'n', 'n', 'n', 'n', 'n'}, {{1, 3}, {1, 5}, {2, 2}, {-1, -1}, {1, 1}}},
        {"previous wraps to the last cell", sdTopBottom, {'p', 'p', 'p'}, {{2, 2}, {1, 5}, {1, 3}}},
        // Left to right for typing and find next; find previous walks backwards column by column.
        {"left to right", sdLeftRight, {'n', 'n', 'p', 'p'}, {{2, 2}, {1, 3}, {1, 1}, {2, 2}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        Edit()->SetText(String());
        Grid->SearchFooter()->SearchDirection = c.Direction;
        TypeKeys(Edit(), "ab");
        ASSERT_EQ(Found.back(), TPoint(1, 1));
        Found.clear();
        Kinds.clear();
        for (char p : c.Presses) p == 'n' ? Forward() : Backward();
        EXPECT_EQ(Found, c.Expected);
        for (size_t i = 0; i < Kinds.size(); ++i)
            EXPECT_EQ(Kinds[i], c.Presses[i] == 'n' ? saFindNext : saFindPrevious);
        if (c.Expected.back().X >= 0) {
            EXPECT_EQ(Current(), c.Expected.back());
        }
    }
}

TEST_F(SearchFooterFixture, WithoutAutoSearchTheButtonsSearchAndANewTextStartsOver) {
    Grid->SearchFooter()->AutoSearch = false;
    TypeKeys(Edit(), "ab");
    EXPECT_TRUE(Found.empty());
    EXPECT_EQ(Current(), TPoint(1, 1)); // the first data cell, where the grid starts
    Forward();
    Forward();
    EXPECT_EQ(Found, (std::vector<TPoint>{{1, 1}, {1, 3}}));
    EXPECT_EQ(Current(), TPoint(1, 3));
    TypeKeys(Edit(), "c");
    EXPECT_EQ(Found.size(), 2u);
    Forward();
    EXPECT_EQ(Found.back(), TPoint(1, 3)); // from the first cell again
    Forward();
    EXPECT_EQ(Found.back(), TPoint(-1, -1));
}

TEST_F(SearchFooterFixture, HighlightFollowsTheButtonTheTextAndClosing) {
    TypeKeys(Edit(), "a");
    Click(Panel()->HiliteButton());
    ASSERT_TRUE(Panel()->HiliteButton()->Down());
    TypeKeys(Edit(), "b");
    const std::vector<String> all{"1,1", "2,2", "1,3", "1,5"};
    EXPECT_EQ(Highlighted(), all);
    EXPECT_EQ(Grid->Cells(1, 5), "<hi>Ab</hi>");
    // Searching goes on over the tagged texts.
    Forward();
    EXPECT_EQ(Found.back(), TPoint(1, 3));

    Click(Panel()->HiliteButton());
    EXPECT_TRUE(TextsAsMade());
    Click(Panel()->HiliteButton());
    EXPECT_EQ(Highlighted(), all);
    // Match case narrows the highlight with the next search.
    Panel()->MatchCase()->SetChecked(true);
    SimulateKey(Edit(), VK_BACK);
    TypeKeys(Edit(), "b");
    EXPECT_EQ(Highlighted(), (std::vector<String>{"1,1", "2,2", "1,3"}));

    // Closing the footer takes the highlight away.
    Click(Panel()->ExitButton());
    EXPECT_FALSE(Grid->SearchFooter()->Visible());
    EXPECT_TRUE(TextsAsMade());
}

// The accelerators of the button captions reach the buttons while the footer shows.
TEST_F(SearchFooterFixture, AcceleratorsRunTheButtons) {
    Grid->SearchFooter()->SetFindNextCaption("Find &next");
    Grid->SearchFooter()->SetFindPrevCaption("Find &previous");
    TypeKeys(Edit(), "ab");
    Found.clear();
    EXPECT_NE(Form->Perform(CM_DIALOGCHAR, 'N', 0), 0);
    EXPECT_NE(Form->Perform(CM_DIALOGCHAR, 'p', 0), 0);
    EXPECT_EQ(Found, (std::vector<TPoint>{{1, 3}, {1, 1}}));

    Click(Panel()->ExitButton());
    EXPECT_EQ(Form->Perform(CM_DIALOGCHAR, 'N', 0), 0);
    EXPECT_EQ(Found.size(), 2u);
}

TEST_F(SearchFooterFixture, HighlightOfOneColumnAlwaysAndVetoed) {
    Grid->SearchFooter()->SearchColumn = 2;
    Grid->SearchFooter()->AlwaysHighLight = true;
    TypeKeys(Edit(), "ab");
    EXPECT_EQ(Found.back(), TPoint(2, 2)); // only the column is searched
    EXPECT_EQ(Highlighted(), (std::vector<String>{"2,2"}));
    // Emptying the text takes the highlight away.
    SimulateKey(Edit(), VK_BACK);
    EXPECT_EQ(Highlighted(), (std::vector<String>{"2,2"}));
    SimulateKey(Edit(), VK_BACK);
    EXPECT_TRUE(Highlighted().empty());
    TypeKeys(Edit(), "x");
    EXPECT_EQ(Highlighted(), (std::vector<String>{"2,1"}));

    // A handler that takes the search over: no search and no highlight change.
    Grid->OnSearchEditChange = [](TObject*, const String&, bool& DefaultSearch) { DefaultSearch = false; };
    const size_t actions = Found.size();
    TypeKeys(Edit(), "y");
    EXPECT_EQ(Found.size(), actions);
    EXPECT_EQ(Highlighted(), (std::vector<String>{"2,1"}));
}

} // namespace
