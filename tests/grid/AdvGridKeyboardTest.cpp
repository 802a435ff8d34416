// The grid's keyboard driven through its window: the Tab walk (read-only cells, row ends, the
// append at the end and its refusal, the hand-on at the end), the row append on Down, scrolling
// only, Enter on read-only cells, Space on check boxes, the jump over fixed cells, Insert and
// Delete with their refusals, Ctrl+Home, the keypad decimal key and characters beyond 255.
#include "AdvShownGridFixture.h"

#include "AdvGridEditRules.h"

#include "Forms.h"
#include "SysUtils.h"

#include <string>
#include <vector>

namespace {

class GridKeyboard : public AdvShownGridFixture {
protected:
    void SetUp() override {
        AdvShownGridFixture::SetUp();
        Grid->SetColCount(5);
        Grid->SetRowCount(5);
        SetOption(goEditing, true);
        SetOption(goTabs, true);
        Grid->Navigation()->AdvanceAutoEdit = false;
        Grid->SetFocus();
        Application->ProcessMessages();
    }
    void SetOption(TGridOption Option, bool On) { SwitchGridOption(Grid, Option, On); }
    void Press(Word Key, TShiftState Shift = {}) {
        SimulateKey(Grid, Key, Shift);
        Application->ProcessMessages();
    }
    TPoint Current() const { return TPoint(Grid->Col(), Grid->Row()); }
};

TEST_F(GridKeyboard, TabWalksTheRowsAndPassesReadOnlyCells) {
    Grid->SetReadOnly(2, 1, true);
    Grid->FocusCell(1, 1);
    Press(VK_TAB);
    EXPECT_EQ(Current(), TPoint(3, 1));
    Press(VK_TAB);
    Press(VK_TAB);
    EXPECT_EQ(Current(), TPoint(1, 2));
    Press(VK_TAB, {ssShift});
    EXPECT_EQ(Current(), TPoint(4, 1));
    Press(VK_TAB, {ssShift});
    EXPECT_EQ(Current(), TPoint(3, 1));
}

// A row without any tab stop is passed whole.
TEST_F(GridKeyboard, TabSkipsARowWithoutTabStops) {
    for (int c = 1; c < 5; ++c) Grid->SetReadOnly(c, 2, true);
    Grid->FocusCell(4, 1);
    Press(VK_TAB);
    EXPECT_EQ(Current(), TPoint(1, 3));
}

TEST_F(GridKeyboard, TabAtTheEndOfTheGrid) {
    struct Case {
        const char* Name;
        bool Insert;
        bool Refuse;
        bool ToNext;
        TPoint To;
        int Rows;
    };
    const std::vector<Case> cases = {
        {"back to the first row", false, false, false, {1, 1}, 5},
        {"appends one row", true, false, false, {1, 5}, 6},
        {"append refused", true, true, false, {1, 1}, 5},
        {"hands on at the end", true, false, true, {1, 1}, 5},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        TearDown();
        SetUp();
        Grid->Navigation()->SetAdvanceInsert(c.Insert);
        Grid->Navigation()->TabToNextAtEnd = c.ToNext;
        int added = 0;
        Grid->OnAutoAddRow = [&](TObject*, int) { ++added; };
        if (c.Refuse) Grid->OnCanAddRow = [](TObject*, bool& Can) { Can = false; };
        Grid->FocusCell(4, 4);
        Press(VK_TAB);
        EXPECT_EQ(Current(), c.To);
        EXPECT_EQ(Grid->RowCount(), c.Rows);
        EXPECT_EQ(added, c.Rows - 5);
    }
}

TEST_F(GridKeyboard, DownOnTheLastRowAppendsWithAppendOnArrowDown) {
    Grid->Navigation()->AppendOnArrowDown = true;
    Grid->SetCells(1, 4, "last");
    int added = -1;
    Grid->OnAutoAddRow = [&](TObject*, int R) { added = R; };
    Grid->FocusCell(1, 4);
    Press(VK_DOWN);
    EXPECT_EQ(Grid->RowCount(), 6);
    EXPECT_EQ(Current(), TPoint(1, 5));
    EXPECT_EQ(Grid->Cells(1, 5), "");
    EXPECT_EQ(Grid->Cells(1, 4), "last");
    EXPECT_EQ(added, 5);

    Grid->OnCanAddRow = [](TObject*, bool& Can) { Can = false; };
    Press(VK_DOWN);
    EXPECT_EQ(Grid->RowCount(), 6);
    EXPECT_EQ(Current(), TPoint(1, 5));
}

TEST_F(GridKeyboard, MoveScrollOnlyScrollsWithoutMovingTheCell) {
    Grid->SetRowCount(60);
    Grid->Navigation()->MoveScrollOnly = true;
    int keyDowns = 0;
    Grid->OnKeyDown = [&](TObject*, Word&, TShiftState) { ++keyDowns; };
    Grid->FocusCell(1, 1);
    Press(VK_DOWN);
    EXPECT_EQ(Grid->Row(), 1);
    EXPECT_EQ(Grid->TopRow(), 2);
    Press(VK_END);
    const int lastTop = Grid->TopRow();
    EXPECT_EQ(lastTop, 60 - Grid->VisibleRowCount());
    Press(VK_DOWN);
    EXPECT_EQ(Grid->TopRow(), lastTop);
    EXPECT_EQ(Grid->Row(), 1);
    EXPECT_EQ(keyDowns, 0);
}

// Enter on a read-only cell: OnKeyDown once, the form (without KeyPreview) hears nothing.
TEST_F(GridKeyboard, EnterOnAReadOnlyCellFiresOnKeyDownOnce) {
    Grid->SetReadOnly(1, 1, true);
    int gridKeys = 0, formKeys = 0;
    Grid->OnKeyDown = [&](TObject*, Word& K, TShiftState) {
        if (K == VK_RETURN) ++gridKeys;
    };
    Form->OnKeyDown = [&](TObject*, Word&, TShiftState) { ++formKeys; };
    Grid->FocusCell(1, 1);
    Press(VK_RETURN);
    EXPECT_EQ(gridKeys, 1);
    EXPECT_EQ(formKeys, 0);
    EXPECT_FALSE(Grid->EditorMode());
}

TEST_F(GridKeyboard, SpaceTogglesACheckBoxOnlyWhereItMay) {
    struct Case {
        const char* Name;
        bool Editing;
        bool AlwaysActive;
        Word Key;
        const char* Text;
    };
    const std::vector<Case> cases = {
        {"editable grid, Space", true, false, VK_SPACE, "Y"},
        {"read-only grid, Space", false, false, VK_SPACE, "N"},
        {"read-only grid with CheckAlwaysActive", false, true, VK_SPACE, "Y"},
        {"Enter does not toggle", true, false, VK_RETURN, "N"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        TearDown();
        SetUp();
        SetOption(goEditing, c.Editing);
        Grid->ControlLook()->SetCheckAlwaysActive(c.AlwaysActive);
        Grid->AddCheckBox(2, 2, false, true);
        std::vector<std::string> clicks;
        Grid->OnCheckBoxClick = [&](TObject*, int C, int R, bool State) {
            clicks.push_back(std::to_string(C) + "," + std::to_string(R) + (State ? " on " : " off ") +
                             Grid->Cells(C, R).toStdString());
        };
        Grid->FocusCell(2, 2);
        Press(c.Key);
        EXPECT_EQ(Grid->Cells(2, 2), c.Text);
        if (String(c.Text) == "Y")
            EXPECT_EQ(clicks, std::vector<std::string>{"2,2 on Y"});
        else
            EXPECT_TRUE(clicks.empty());
    }
}

TEST_F(GridKeyboard, ArrowsJumpOverFixedCells) {
    Grid->OnIsFixedCell = [](TObject*, int, int ACol, bool& F) {
        if (ACol == 2) F = true;
    };
    int keyDowns = 0;
    Grid->OnKeyDown = [&](TObject*, Word&, TShiftState) { ++keyDowns; };
    Grid->FocusCell(1, 1);
    Press(VK_RIGHT);
    EXPECT_EQ(Current(), TPoint(3, 1));
    EXPECT_EQ(keyDowns, 1);
    Press(VK_LEFT);
    EXPECT_EQ(Current(), TPoint(1, 1));

    // Before a fixed right column the last data column stays.
    Grid->SetFixedRightCols(1);
    Grid->OnIsFixedCell = [](TObject*, int, int ACol, bool& F) {
        if (ACol == 4) F = true;
    };
    Grid->FocusCell(3, 1);
    Press(VK_RIGHT);
    EXPECT_EQ(Current(), TPoint(3, 1));
}

TEST_F(GridKeyboard, InsertAndDeleteRowsWithTheirRefusals) {
    Grid->Navigation()->AllowInsertRow = true;
    Grid->Navigation()->AllowDeleteRow = true;
    Grid->SetCells(1, 2, "two");
    Grid->FocusCell(1, 2);
    Press(VK_INSERT);
    EXPECT_EQ(Grid->RowCount(), 6);
    EXPECT_EQ(Grid->Cells(1, 3), "two");
    EXPECT_TRUE(Grid->GridModified());

    Grid->OnCanInsertRow = [](TObject*, int, bool& Can) { Can = false; };
    Press(VK_INSERT);
    EXPECT_EQ(Grid->RowCount(), 6);

    Grid->OnCanDeleteRow = [](TObject*, int, bool& Can) { Can = false; };
    Press(VK_DELETE);
    EXPECT_EQ(Grid->RowCount(), 6);
    Grid->OnCanDeleteRow = nullptr;
    int deleted = -1;
    Grid->OnAutoDeleteRow = [&](TObject*, int R) { deleted = R; };
    Press(VK_DELETE);
    EXPECT_EQ(Grid->RowCount(), 5);
    EXPECT_EQ(deleted, 2);
    EXPECT_EQ(Grid->Cells(1, 2), "two");
}

// A grid without data rows: Delete does nothing.
TEST_F(GridKeyboard, DeleteWithoutDataRowsDoesNothing) {
    Grid->Navigation()->AllowDeleteRow = true;
    Grid->SetRowCount(2);
    Grid->SetFixedRows(1);
    Grid->SetFixedFooters(1);
    Grid->FocusCell(1, 1);
    Press(VK_DELETE);
    EXPECT_EQ(Grid->RowCount(), 2);
}

TEST_F(GridKeyboard, CtrlHomeGoesToTheFirstTabStopOfTheFirstRow) {
    Grid->SetReadOnly(1, 1, true);
    Grid->FocusCell(3, 3);
    Press(VK_HOME, {ssCtrl});
    EXPECT_EQ(Current(), TPoint(2, 1));
    Press(VK_END);
    EXPECT_EQ(Current(), TPoint(4, 1));
    Press(VK_HOME);
    EXPECT_EQ(Current(), TPoint(2, 1));
}

TEST_F(GridKeyboard, KeypadDecimalKeyTypesTheLocaleSeparator) {
    struct Case {
        const char* Name;
        bool Excel;
        LPARAM KeyData;
        String Text;
    };
    const String sep(GetDecimalSeparator());
    const std::vector<Case> cases = {
        {"main keyboard", true, 0, "."},
        {"keypad without the setting", false, 0x400000, "."},
        {"keypad with the setting", true, 0x400000, sep},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        TearDown();
        SetUp();
        Grid->ExcelStyleDecimalSeparator = c.Excel;
        Grid->FocusCell(1, 1);
        Grid->Perform(WM_CHAR, '.', c.KeyData);
        ASSERT_TRUE(Grid->EditorMode());
        EXPECT_EQ(Grid->InplaceEditor()->Text(), c.Text);
    }
}

TEST_F(GridKeyboard, ACharacterBeyond255OpensNoEditor) {
    Grid->FocusCell(1, 1);
    Grid->Perform(WM_CHAR, 0x263A, 0);
    EXPECT_FALSE(Grid->EditorMode());
    Grid->Perform(WM_CHAR, 'a', 0);
    EXPECT_TRUE(Grid->EditorMode());
}

TEST_F(GridKeyboard, OnKeyPressSeesEnterBeforeTheGrid) {
    SetOption(goEditing, false);
    std::vector<int> keys;
    Grid->OnKeyPress = [&](TObject*, Char& K) { keys.push_back(K.unicode()); };
    Grid->FocusCell(1, 1);
    Press(VK_RETURN);
    EXPECT_EQ(keys, std::vector<int>{13});
}

} // namespace
