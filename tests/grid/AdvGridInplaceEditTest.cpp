// In-place editing of the grid: which cells open an editor, the edit-text bridge, validation
// (the handler's changes and refusals, the modified marks, undo, the change notification, an
// exception from a handler), the editing-done notification and its posted "GridEditDone", and
// an open editor while the grid scrolls.
#include "AdvShownGridFixture.h"

#include "Forms.h"
#include "OSInfo.h"
#include "StdCtrls.h"

#include <stdexcept>
#include <string>
#include <vector>

namespace {

class GridEditing : public AdvShownGridFixture {
protected:
    void SetUp() override {
        AdvShownGridFixture::SetUp();
        Grid->SetColCount(4);
        Grid->SetRowCount(30);
        TGridOptions options = Grid->Options();
        options.insert(goEditing);
        Grid->SetOptions(options);
        Grid->SetCells(1, 1, "abc");
        Grid->SetCells(2, 1, "two");
        Grid->SetCells(1, 2, "below");
        Grid->SetFocus();
        Application->ProcessMessages();
    }
    TInplaceEdit* Editor() { return Grid->InplaceEditor(); }
    bool TextEditorShown() { return Editor() && Editor()->Visible() && Grid->EditorMode(); }
    // Runs the message loop until the posted messages are handled.
    void Drain() {
        for (int i = 0; i < 5; ++i) Application->ProcessMessages();
    }
};

TEST_F(GridEditing, ATypedCharacterOpensTheTextEditorWithIt) {
    SimulateText(Grid, "x");
    ASSERT_TRUE(TextEditorShown());
    EXPECT_EQ(Editor()->Text(), "x");
    EXPECT_TRUE(Grid->EditMode());
    EXPECT_TRUE(Grid->Editing());
    EXPECT_EQ(Grid->CurrentEditor(), edNormal);
    EXPECT_EQ(Grid->OriginalCellValue(), "abc");
}

// Cells that open nothing: the typed character reaches no editor, the cell keeps its text and
// the grid is not left in an editing state.
TEST_F(GridEditing, CellsThatAreNotEditedOpenNothing) {
    struct Case {
        const char* Name;
        std::function<void(TAdvStringGrid*)> Setup;
    };
    const std::vector<Case> cases = {
        {"read-only cell", [](TAdvStringGrid* G) { G->SetReadOnly(1, 1, true); }},
        {"edNone",
         [](TAdvStringGrid* G) {
             G->OnGetEditorType = [](TObject*, int, int, TEditorType& E) { E = edNone; };
         }},
        {"data check box kind",
         [](TAdvStringGrid* G) {
             G->OnGetEditorType = [](TObject*, int, int, TEditorType& E) { E = edDataCheckBox; };
         }},
        {"check box cell", [](TAdvStringGrid* G) { G->AddCheckBox(1, 1, false, false); }},
        {"fixed cell by the fixed-cell query",
         [](TAdvStringGrid* G) { G->OnIsFixedCell = [](TObject*, int, int, bool& F) { F = true; }; }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        TearDown();
        SetUp();
        c.Setup(Grid);
        const String before = Grid->Cells(1, 1);
        ASSERT_NO_THROW(SimulateText(Grid, "x"));
        EXPECT_FALSE(TextEditorShown());
        EXPECT_FALSE(Grid->EditMode());
        EXPECT_FALSE(Grid->Editing());
        EXPECT_FALSE(Grid->EditActive());
        EXPECT_EQ(Grid->Cells(1, 1), before);
    }
}

TEST_F(GridEditing, IsEditableFollowsGoEditingTheCanEditQueryAndFixedCells) {
    EXPECT_TRUE(Grid->IsEditable(1, 1));
    EXPECT_FALSE(Grid->IsEditable(0, 1)); // fixed column
    Grid->SetReadOnly(2, 1, true);
    EXPECT_FALSE(Grid->IsEditable(2, 1));
    Grid->OnCanEditCell = [](TObject*, int ARow, int, bool& CanEdit) { CanEdit = ARow != 3; };
    EXPECT_FALSE(Grid->IsEditable(1, 3));
    EXPECT_TRUE(Grid->IsEditable(1, 4));
    TGridOptions options = Grid->Options();
    options.erase(goEditing);
    Grid->SetOptions(options);
    EXPECT_FALSE(Grid->IsEditable(1, 4));
}

TEST_F(GridEditing, TheEditorGetsTheTextWithoutMarkupUnlessEditWithTags) {
    Grid->SetCells(1, 1, "<b>bold</b> text");
    SimulateKey(Grid, VK_F2);
    ASSERT_TRUE(TextEditorShown());
    EXPECT_EQ(Editor()->Text(), "bold text");
    Grid->HideInplaceEdit();
    Grid->EditWithTags = true;
    SimulateKey(Grid, VK_F2);
    ASSERT_TRUE(TextEditorShown());
    EXPECT_EQ(Editor()->Text(), "<b>bold</b> text");
}

TEST_F(GridEditing, AMergedAreaIsEditedThroughItsBaseCell) {
    Grid->MergeCells(1, 1, 2, 2);
    SimulateKey(Grid, VK_F2);
    ASSERT_TRUE(TextEditorShown());
    EXPECT_EQ(Editor()->Text(), "abc");
    SimulateText(nullptr, "d");
    Grid->HideInplaceEdit();
    EXPECT_EQ(Grid->Cells(1, 1), "abcd");
    // An editor's result for a covered cell lands in the base cell.
    Grid->StoreEditText(2, 2, "stored");
    EXPECT_EQ(Grid->Cells(1, 1), "stored");
}

// The four outcomes of a validation handler: keep or change the value, accept or refuse it.
TEST_F(GridEditing, ValidationStoresOrRefusesTheValueAsTheHandlerSays) {
    struct Case {
        const char* Name;
        bool Change;
        bool Accept;
        const char* Cell; // the cell afterwards (and the reopened editor's text after a refusal)
    };
    const std::vector<Case> cases = {
        {"accepted as typed", false, true, "typed"},
        {"accepted changed", true, true, "fixed"},
        {"refused as typed", false, false, "abc"},
        {"refused changed", true, false, "fixed"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        TearDown();
        SetUp();
        std::vector<String> seen;
        Grid->OnCellValidate = [&](TObject*, int ACol, int ARow, String& Value, bool& Valid) {
            EXPECT_EQ(ACol, 1);
            EXPECT_EQ(ARow, 1);
            seen.push_back(Value);
            if (c.Change) Value = "fixed";
            Valid = c.Accept;
        };
        SimulateKey(Grid, VK_F2);
        ASSERT_TRUE(TextEditorShown());
        Editor()->SetText("typed");
        EXPECT_EQ(Grid->ValidateCell(Editor()->Text()), c.Accept);
        EXPECT_EQ(seen, std::vector<String>{"typed"});
        EXPECT_EQ(Grid->Cells(1, 1), c.Cell);
        // A refusal keeps the user on the cell with the editor reopened and the edit going on.
        EXPECT_EQ(Grid->Editing(), !c.Accept);
        if (!c.Accept) {
            ASSERT_TRUE(TextEditorShown());
            EXPECT_EQ(Editor()->Text(), c.Cell);
            EXPECT_EQ(Grid->Col(), 1);
            EXPECT_EQ(Grid->Row(), 1);
        }
        // The modified flag follows the stored value, not the typed one.
        EXPECT_EQ(Grid->Modified(), c.Accept);
    }
}

TEST_F(GridEditing, AnUnchangedTextIsValidatedOnlyWithAlwaysValidate) {
    int events = 0, changes = 0;
    Grid->OnCellValidate = [&](TObject*, int, int, String&, bool&) { ++events; };
    Grid->OnCellsChanged = [&](TObject*, const TRect&) { ++changes; };
    SimulateKey(Grid, VK_F2);
    EXPECT_TRUE(Grid->ValidateCell("abc"));
    EXPECT_EQ(events, 0);
    Grid->AlwaysValidate = true;
    Grid->HideInplaceEdit();
    SimulateKey(Grid, VK_F2);
    EXPECT_TRUE(Grid->ValidateCell("abc"));
    EXPECT_EQ(events, 1);
    EXPECT_EQ(changes, 0); // nothing changed
    EXPECT_FALSE(Grid->Modified());
    // No edit open: nothing is validated.
    EXPECT_TRUE(Grid->ValidateCell("other"));
    EXPECT_EQ(events, 1);
}

TEST_F(GridEditing, AnAcceptedChangeIsRegisteredMarkedAndReported) {
    TAdvGridUndoRedo undo(nullptr);
    Grid->SetUndoRedo(&undo);
    Grid->ShowModified()->SetEnabled(true);
    std::vector<TRect> changed;
    Grid->OnCellsChanged = [&](TObject*, const TRect& R) { changed.push_back(R); };
    Grid->SetRow(2);
    SimulateKey(Grid, VK_F2);
    EXPECT_TRUE(Grid->ValidateCell("new"));
    EXPECT_EQ(Grid->Cells(1, 2), "new");
    EXPECT_TRUE(Grid->Modified());
    ASSERT_EQ(changed.size(), 1u);
    EXPECT_EQ(changed[0], TRect(1, 2, 1, 2));
    ASSERT_TRUE(undo.CanUndo());
    Grid->HideInplaceEdit();
    undo.Undo();
    EXPECT_EQ(Grid->Cells(1, 2), "below");
    Grid->SetUndoRedo(nullptr);
}

TEST_F(GridEditing, ARaisingValidationHandlerLeavesTheGridUsable) {
    bool raise = true;
    Grid->OnCellValidate = [&](TObject*, int, int, String&, bool&) {
        if (raise) throw std::runtime_error("handler failed");
    };
    SimulateKey(Grid, VK_F2);
    EXPECT_THROW(Grid->ValidateCell("typed"), std::runtime_error);
    EXPECT_FALSE(Grid->Validating());
    // The snapshot was taken again for the current cell; the next edit validates normally.
    raise = false;
    Grid->HideInplaceEdit();
    SimulateKey(Grid, VK_F2);
    EXPECT_TRUE(TextEditorShown());
    EXPECT_TRUE(Grid->ValidateCell("again"));
    EXPECT_EQ(Grid->Cells(1, 1), "again");
}

TEST_F(GridEditing, EditingDoneFiresAtOnceAndEditCellDoneFromThePostedMessage) {
    std::vector<std::string> order;
    Grid->OnEditingDone = [&](TObject*) { order.push_back("done"); };
    Grid->OnEditCellDone = [&](TObject*, int ACol, int ARow) {
        order.push_back("cell " + std::to_string(ACol) + "," + std::to_string(ARow));
    };
    Grid->NotifyEditingDone(2, 5);
    EXPECT_EQ(order, std::vector<std::string>{"done"});
    Drain();
    EXPECT_EQ(order, (std::vector<std::string>{"done", "cell 2,5"}));
    EXPECT_EQ(TAdvStringGrid::GridEditDoneMessage(), RegisterWindowMessage("GRIDEDITDONE"));
}

TEST_F(GridEditing, EditOnDblClickOnlyEndsEditingWhenTheDoneMessageArrives) {
    Grid->MouseActions()->SetEditOnDblClickOnly(true);
    Grid->NotifyEditingDone(1, 1);
    EXPECT_TRUE(Grid->HasOption(goEditing)); // not before the message is handled
    Drain();
    EXPECT_FALSE(Grid->HasOption(goEditing));
    EXPECT_FALSE(Grid->EditMode());
    // Typing into the editable cell switches editing on again, as Enter and F2 do.
    SimulateText(Grid, "x");
    EXPECT_TRUE(TextEditorShown());
    EXPECT_TRUE(Grid->HasOption(goEditing));
}

TEST_F(GridEditing, ShowInplaceEditScrollsOnlyBackToACellAboveTheView) {
    Grid->SetCells(1, 25, "far");
    Grid->SetRow(25);
    Grid->SetTopRow(10);
    ASSERT_GT(Grid->Row(), Grid->TopRow() + Grid->VisibleRowCount());
    Grid->ShowInplaceEdit();
    EXPECT_EQ(Grid->TopRow(), 10); // no scroll down
    Grid->HideInplaceEdit();
    Grid->SetTopRow(1);
    Grid->SetRow(2);
    Grid->SetTopRow(12);
    Grid->ShowInplaceEdit();
    EXPECT_EQ(Grid->TopRow(), 2);
    EXPECT_TRUE(TextEditorShown());
    EXPECT_EQ(Editor()->Text(), "below");
    // A check box cell opens nothing.
    Grid->HideInplaceEdit();
    Grid->AddCheckBox(1, 2, false, false);
    Grid->ShowInplaceEdit();
    EXPECT_FALSE(TextEditorShown());
}

TEST_F(GridEditing, TheTextEditorStaysOpenWhileTheGridScrolls) {
    SimulateText(Grid, "x");
    ASSERT_TRUE(TextEditorShown());
    Grid->SetTopRow(2);
    Grid->SetTopRow(1);
    EXPECT_TRUE(TextEditorShown());
    EXPECT_EQ(Editor()->Text(), "x");
    EXPECT_TRUE(Grid->EditMode());
}

TEST_F(GridEditing, CellControlsFollowAScrollAndOneInAHiddenColumnStaysHidden) {
    auto* control = new TEdit(Form);
    control->SetParent(Grid);
    Grid->SetCellControls(2, 3, control);
    Grid->CellControlsUpdate(true);
    ASSERT_TRUE(control->Visible());
    Grid->SetTopRow(10);
    EXPECT_FALSE(control->Visible());
    Grid->SetTopRow(1);
    EXPECT_TRUE(control->Visible());
    EXPECT_EQ(control->Left(), Grid->CellRect(2, 3).Left - 1);
    EXPECT_EQ(control->Top(), Grid->CellRect(2, 3).Top - 1);
    Grid->HideColumn(2);
    Grid->SetTopRow(2);
    Grid->SetTopRow(1);
    EXPECT_FALSE(control->Visible());
}

TEST_F(GridEditing, AWindowsKeyPressHandlerClearingEnterKeepsTheEditorOpen) {
    Grid->OnKeyPress = [](TObject*, Char& Key) {
        if (Key == Char(13)) Key = Char(0);
    };
    SimulateText(Grid, "x");
    ASSERT_TRUE(TextEditorShown());
    SimulateKey(nullptr, VK_RETURN);
    EXPECT_TRUE(TextEditorShown());
    EXPECT_EQ(Editor()->Text(), "x");
}

TEST_F(GridEditing, ThePlatformCarriesTheDateAndTimePickers) {
    EXPECT_TRUE(TAdvStringGrid::DateTimePickersAvailable());
}

} // namespace
