// The platform grid's editor protocol: a typed character, F2 and Enter open the editor, Enter
// closes it, a refusal keeps it shut, every change goes back through one SetEditText, the editor
// loads mask and limit, follows its cell and hands navigation keys to the grid.
#include "GridTestSupport.h"

namespace {

class GridEditor : public GridFixture {
protected:
    void SetUp() override {
        GridFixture::SetUp();
        AddOptions({goEditing});
        Grid->SetCells(1, 1, QStringLiteral("abc"));
        Grid->SetCells(1, 2, QStringLiteral("below"));
    }
    TInplaceEdit* Editor() { return Grid->InplaceEditor(); }
    bool EditorShown() { return Editor() && Editor()->Visible() && Grid->EditorMode(); }
    using Commit = std::tuple<int, int, String>;
};

TEST_F(GridEditor, ACharacterOpensTheEditorWithItAndEnterWritesItBackOnce) {
    SimulateText(Grid, QStringLiteral("x"));
    ASSERT_TRUE(EditorShown());
    EXPECT_TRUE(Editor()->Focused());
    EXPECT_EQ(Editor()->Text(), QStringLiteral("x")); // the character replaced the cell's text
    EXPECT_EQ(Editor()->BoundsRect(), Grid->CellRect(1, 1));
    SimulateText(nullptr, QStringLiteral("yz"));
    EXPECT_TRUE(Grid->Commits.empty()); // nothing goes back while typing
    SimulateKey(nullptr, VK_RETURN);
    EXPECT_FALSE(EditorShown());
    EXPECT_TRUE(Grid->Focused());
    EXPECT_EQ(Grid->Commits, (std::vector<Commit>{{1, 1, QStringLiteral("xyz")}}));
    EXPECT_EQ(Grid->Cells(1, 1), QStringLiteral("xyz"));
}

TEST_F(GridEditor, F2OpensOnTheCellsTextWithTheCaretAtTheEnd) {
    SimulateKey(Grid, VK_F2);
    ASSERT_TRUE(EditorShown());
    EXPECT_EQ(Editor()->Text(), QStringLiteral("abc"));
    EXPECT_EQ(Editor()->SelStart(), 3);
    EXPECT_EQ(Editor()->SelLength(), 0);
    SimulateText(nullptr, QStringLiteral("d"));
    SimulateKey(nullptr, VK_RETURN);
    EXPECT_EQ(Grid->Commits, (std::vector<Commit>{{1, 1, QStringLiteral("abcd")}}));
}

TEST_F(GridEditor, EnterTogglesTheEditorAndAnUnchangedTextIsNotWrittenBack) {
    SimulateKey(Grid, VK_RETURN);
    ASSERT_TRUE(EditorShown());
    EXPECT_EQ(Editor()->SelLength(), 3); // the whole text selected
    SimulateKey(nullptr, VK_RETURN);
    EXPECT_FALSE(EditorShown());
    EXPECT_TRUE(Grid->Commits.empty());
    SimulateKey(Grid, VK_RETURN);
    EXPECT_TRUE(EditorShown());
}

TEST_F(GridEditor, ARefusalKeepsTheEditorShutAndTheKeyIsAnOrdinaryOne) {
    Grid->AllowEditor = false;
    String pressed;
    Grid->OnKeyPress = [&](TObject*, Char& Key) { pressed += Key; };
    SimulateText(Grid, QStringLiteral("q"));
    SimulateKey(Grid, VK_F2);
    SimulateKey(Grid, VK_RETURN);
    EXPECT_FALSE(Editor() && Editor()->Visible());
    EXPECT_FALSE(Grid->EditorMode());
    EXPECT_GE(Grid->CanEditShowAsked, 3);
    EXPECT_EQ(pressed, QStringLiteral("q\r"));
    EXPECT_TRUE(Grid->Focused());
    // Without goEditing the grid does not even ask.
    RemoveOptions({goEditing});
    Grid->CanEditShowAsked = 0;
    SimulateText(Grid, QStringLiteral("q"));
    EXPECT_EQ(Grid->CanEditShowAsked, 0);
}

TEST_F(GridEditor, EachChangeGoesBackOnceWhenTheEditorLeavesItsCell) {
    SimulateKey(Grid, VK_F2);
    SimulateText(nullptr, QStringLiteral("1"));
    SimulateKey(nullptr, VK_DOWN); // the editor hands Down to the grid
    EXPECT_EQ(Grid->Row(), 2);
    EXPECT_FALSE(EditorShown());
    EXPECT_TRUE(Grid->Focused());
    Grid->HideEditor();
    EXPECT_EQ(Grid->Commits, (std::vector<Commit>{{1, 1, QStringLiteral("abc1")}}));
    // Open and close again without a change: nothing more.
    SimulateKey(Grid, VK_F2);
    SimulateKey(nullptr, VK_UP);
    EXPECT_EQ(Grid->Commits.size(), 1u);
    EXPECT_EQ(Grid->Cells(1, 1), QStringLiteral("abc1"));
}

TEST_F(GridEditor, TheTextIsInTheCellBeforeSelectCellIsAskedAndARefusalKeepsEditing) {
    String seen;
    Grid->RefuseSelect = [&](int, int) {
        seen = Grid->Cells(1, 1);
        return true;
    };
    SimulateKey(Grid, VK_F2);
    SimulateText(nullptr, QStringLiteral("!"));
    SimulateKey(nullptr, VK_DOWN);
    EXPECT_EQ(seen, QStringLiteral("abc!"));
    EXPECT_EQ(Grid->Row(), 1);
    EXPECT_TRUE(EditorShown());
    EXPECT_EQ(Grid->Commits.size(), 1u);
    SimulateKey(nullptr, VK_RETURN);
    EXPECT_EQ(Grid->Commits.size(), 1u); // nothing changed since
}

TEST_F(GridEditor, TheTextGoesBackWhenTheFocusLeavesTheGrid) {
    SimulateText(Grid, QStringLiteral("z"));
    Other->SetFocus();
    EXPECT_EQ(Grid->Commits, (std::vector<Commit>{{1, 1, QStringLiteral("z")}}));
    Grid->HideEditor();
    EXPECT_EQ(Grid->Commits.size(), 1u);
}

TEST_F(GridEditor, TheEditorLoadsMaskAndLimit) {
    Grid->EditLimit = 4;
    Grid->EditMask = QStringLiteral("!9999;1;_");
    SimulateText(Grid, QStringLiteral("123456"));
    EXPECT_EQ(Editor()->MaxLength(), 4);
    EXPECT_EQ(Editor()->EditMask(), QStringLiteral("!9999;1;_"));
    EXPECT_EQ(Editor()->Text(), QStringLiteral("1234"));
}

TEST_F(GridEditor, TheEditorFollowsItsCell) {
    Grid->SetRowCount(20);
    SimulateKey(Grid, VK_F2);
    Grid->SetColWidths(0, 20);
    EXPECT_EQ(Editor()->BoundsRect(), Grid->CellRect(1, 1));
    EXPECT_EQ(Editor()->BoundsRect(), TRect(21, 25, 85, 49));
    // Scrolled out of view it hides, giving the focus to the grid; back in view it shows.
    Grid->SetTopRow(3);
    EXPECT_FALSE(Editor()->Visible());
    EXPECT_TRUE(Grid->Focused());
    Grid->SetTopRow(1);
    EXPECT_TRUE(Editor()->Visible());
    EXPECT_EQ(Editor()->BoundsRect(), Grid->CellRect(1, 1));
}

TEST_F(GridEditor, ArrowsStayInTheTextUnlessTheEditorIsAlwaysShown) {
    SimulateKey(Grid, VK_F2);
    SimulateKey(nullptr, VK_RIGHT);
    SimulateKey(nullptr, VK_LEFT);
    EXPECT_TRUE(EditorShown());
    EXPECT_EQ(Grid->Col(), 1);
    Grid->HideEditor();

    AddOptions({goAlwaysShowEditor, goTabs});
    ASSERT_TRUE(EditorShown());
    Grid->SetCells(2, 1, QStringLiteral("right"));
    Editor()->Deselect(); // caret at the end of "abc"
    SimulateKey(nullptr, VK_RIGHT);
    EXPECT_EQ(Grid->Col(), 2);
    EXPECT_TRUE(EditorShown()); // the always-shown editor moves along
    EXPECT_EQ(Editor()->Text(), QStringLiteral("right"));
    SimulateKey(nullptr, VK_TAB);
    EXPECT_EQ(Grid->Col(), 3);
    EXPECT_EQ(Editor()->BoundsRect(), Grid->CellRect(3, 1));
}

TEST_F(GridEditor, ACellWrittenWhileItIsEditedShowsInTheEditor) {
    SimulateKey(Grid, VK_F2);
    Grid->SetCells(1, 1, QStringLiteral("from outside"));
    EXPECT_EQ(Editor()->Text(), QStringLiteral("from outside"));
    Grid->InvalidateEditor();
    EXPECT_TRUE(EditorShown());
    Grid->HideEditor();
    EXPECT_TRUE(Grid->Commits.empty());
}

TEST_F(GridEditor, AClickOnTheCurrentCellOpensTheEditor) {
    SimulateClick(Grid, 140, 30); // another cell: moves there
    EXPECT_EQ(Grid->Col(), 2);
    EXPECT_FALSE(EditorShown());
    SimulateClick(Grid, 140, 30); // the current cell: opens
    EXPECT_TRUE(EditorShown());
    EXPECT_EQ(Grid->State(), gsNormal); // no range selection while editing
}

} // namespace
