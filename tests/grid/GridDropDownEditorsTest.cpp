// The grid's drop-down cell editors driven in a shown grid with key and mouse events: the keys
// the grid takes back (Escape, Enter and the arrows with validation, Tab, Page Down, End,
// Alt+Down), the advance with auto edit, the caret at a click, the events they raise and the
// value each kind commits.
#include "AdvShownGridFixture.h"

#include "CellGraphic.h"
#include "DropDownTestSupport.h"
#include "GridDropDowns.h"
#include "GridSettings.h"
#include "StdCtrls.h"
#include "SysUtils.h"

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

namespace {

class GridDropDownEditors : public AdvShownGridFixture {
protected:
    void SetUp() override {
        AdvShownGridFixture::SetUp();
        Grid->SetColCount(5);
        Grid->SetRowCount(8);
        Grid->SetDefaultColWidth(90);
        TGridOptions options = Grid->Options();
        options.insert(goEditing);
        Grid->SetOptions(options);
        Grid->OnGetEditorType = [this](TObject*, int, int, TEditorType& AEditor) { AEditor = Kind; };
        // Whole numbers in the calculator; track-bar positions up to 100.
        Grid->CalculatorDropDown()->SetPrecision(0);
        Grid->TrackbarDropDown()->SetMax(100);
        Grid->SetFocus();
        Drain();
    }
    void Drain() {
        for (int i = 0; i < 5; ++i) Application->ProcessMessages();
    }
    // Makes cell (1, 1) current with Text and opens its editor of kind K with F2.
    TAdvCustomDropDown* Open(TEditorType K, const String& Text, int ACol = 1, int ARow = 1) {
        Kind = K;
        Grid->SetCells(ACol, ARow, Text);
        Grid->SetCol(ACol);
        Grid->SetRow(ARow);
        Grid->SetFocus();
        SimulateKey(Grid, VK_F2);
        Drain();
        return Editor();
    }
    // The editor of the current kind (made by its getter).
    TAdvCustomDropDown* Editor() {
        switch (Kind) {
            case edTrackbarDropDown: return Grid->TrackbarDropDown();
            case edMemoDropDown: return Grid->MemoDropDown();
            case edCalculatorDropDown: return Grid->CalculatorDropDown();
            case edTimePickerDropDown: return Grid->TimePickerDropDown();
            case edDetailDropDown: return Grid->DetailPickerDropDown();
            case edGridDropDown: return Grid->GridDropDown();
            case edAdvGridDropDown: return Grid->AdvGridDropDown();
            case edColorPickerDropDown: return Grid->ColorPickerDropDown();
            case edImagePickerDropDown: return Grid->ImagePickerDropDown();
            default: return nullptr;
        }
    }
    void Key(TWinControl* Target, Word K, TShiftState Shift = {}) {
        SimulateKey(Target, K, Shift);
        Drain();
    }
    // Replaces the editor's text as typing would (select all, then type).
    void TypeOver(TAdvCustomDropDown* E, const String& Text) {
        E->SetSelStart(0);
        E->SetSelLength(int(E->EditText().size()));
        SimulateText(E, Text);
        Drain();
    }
    bool Editing(TAdvCustomDropDown* E) const { return Grid->EditMode() && E->Visible() && E->Focused(); }

    TEditorType Kind = edNormal;
};

// ---------------------------------------------------------------------------------------------
// Construction and the getters

TEST(GridDropDownEditorOwner, ANonGridOwnerRaisesInvalidCast) {
    TForm* form = new TForm(nullptr);
    struct Case {
        const char* Name;
        std::function<TComponent*(TComponent*)> Make;
    } cases[] = {
        {"track bar", [](TComponent* O) { return new TGridTrackbarDropDown(O); }},
        {"memo", [](TComponent* O) { return new TGridMemoDropDown(O); }},
        {"calculator", [](TComponent* O) { return new TGridCalculatorDropDown(O); }},
        {"time picker", [](TComponent* O) { return new TGridTimepickerDropDown(O); }},
        {"detail", [](TComponent* O) { return new TGridDetailPickerDropDown(O); }},
        {"multi-column", [](TComponent* O) { return new TGridGridDropDown(O); }},
        {"grid", [](TComponent* O) { return new TGridAdvGridDropDown(O); }},
        {"colour", [](TComponent* O) { return new TGridColorDropDown(O); }},
        {"image", [](TComponent* O) { return new TGridImageDropDown(O); }},
    };
    auto* grid = new TAdvStringGrid(form);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        EXPECT_THROW(c.Make(form), EInvalidCast);
        TComponent* made = nullptr;
        EXPECT_NO_THROW(made = c.Make(grid));
        EXPECT_EQ(made->Owner(), grid);
        // Without an owner there is no grid to report to; typing still works.
        auto* loose = static_cast<TAdvCustomDropDown*>(c.Make(nullptr));
        EXPECT_NO_THROW(loose->SetText("1"));
        TObject::Free(loose);
    }
    TObject::Free(form);
}

TEST_F(GridDropDownEditors, GettersMakeEachEditorOnceHiddenOnTheGridWithItsStyle) {
    auto* g = new TAdvStringGrid(Form);
    g->SetParent(Form);
    g->SetComponentStyle(tsOffice2007Obsidian);
    using TGetter = std::function<TAdvCustomDropDown*()>;
    const TGetter getters[] = {
        [g] { return g->TrackbarDropDown(); },     [g] { return g->MemoDropDown(); },
        [g] { return g->CalculatorDropDown(); },   [g] { return g->TimePickerDropDown(); },
        [g] { return g->DetailPickerDropDown(); }, [g] { return g->GridDropDown(); },
        [g] { return g->AdvGridDropDown(); },      [g] { return g->ColorPickerDropDown(); },
        [g] { return g->ImagePickerDropDown(); },
    };
    for (const TGetter& get : getters) {
        TAdvCustomDropDown* e = get();
        ASSERT_NE(e, nullptr);
        SCOPED_TRACE(e->ClassName().toStdString());
        EXPECT_EQ(get(), e);
        EXPECT_EQ(e->Owner(), g);
        EXPECT_EQ(e->Parent(), g);
        EXPECT_FALSE(e->Visible());
        EXPECT_EQ(e->GetComponentStyle(), tsOffice2007Obsidian);
    }
    EXPECT_TRUE(g->TrackbarDropDown()->EditorEnabled());
    EXPECT_TRUE(g->CalculatorDropDown()->EditorEnabled());
    EXPECT_FALSE(g->TimePickerDropDown()->FocusDraw());
    EXPECT_TRUE(bool(g->MemoDropDown()->OnChange));
    EXPECT_EQ(g->AdvGridDropDown()->Grid(), g->AdvGridDropDown()->GetGrid());
    // The colour editor has the default colours and reports picks through the grid.
    EXPECT_EQ(g->ColorPickerDropDown()->Colors()->Count(), 16);
    EXPECT_TRUE(bool(g->ColorPickerDropDown()->OnSelect));
    EXPECT_TRUE(bool(g->ImagePickerDropDown()->OnSelect));
}

// ---------------------------------------------------------------------------------------------
// Keys

TEST_F(GridDropDownEditors, EscapeKeepsTheCellTextAndGivesTheFocusBack) {
    TAdvCustomDropDown* e = Open(edTrackbarDropDown, "4");
    ASSERT_TRUE(Editing(e));
    TypeOver(e, "7");
    EXPECT_EQ(e->Text(), "7");
    Key(e, VK_ESCAPE);
    EXPECT_FALSE(Grid->EditMode());
    EXPECT_FALSE(e->Visible());
    EXPECT_TRUE(Grid->Focused());
    EXPECT_EQ(Grid->Cells(1, 1), "4");
}

// Escape discards what the memo typed through to the cell and the colour or image the picker's
// own keys stepped to; the cell keeps its value.
TEST_F(GridDropDownEditors, EscapeDiscardsTheEditOfTheMemoAndThePickers) {
    TCustomImageList* images = NewOneColourImages(clRed);
    for (int i = 1; i < 4; ++i) {
        auto* b = new TBitmap(8, 8);
        images->Add(b, nullptr);
        TObject::Free(b);
    }
    Grid->SetGridImages(images);
    const TColor red = TColor(0x0000FF);
    Grid->SetColors(1, 2, red);
    Grid->AddImageIdx(1, 3, 1, haLeft, vaTop);
    std::vector<int> picks;
    Grid->OnColorSelect = [&](TObject*, int, int, TColor, const String&) { picks.push_back(0); };
    Grid->OnImageSelect = [&](TObject*, int, int, int) { picks.push_back(1); };
    // The memo: typed at the end of its text.
    TAdvCustomDropDown* memo = Open(edMemoDropDown, "one", 1, 1);
    memo->SetSelStart(int(memo->EditText().size()));
    memo->SetSelLength(0);
    SimulateText(memo, "two");
    Drain();
    EXPECT_EQ(memo->Text(), "onetwo");
    // The memo's change went into the cell through the grid's edit-text handling.
    EXPECT_EQ(Grid->Cells(1, 1), "onetwo");
    Key(memo, VK_ESCAPE);
    EXPECT_FALSE(Grid->EditMode());
    EXPECT_EQ(Grid->Cells(1, 1), "one");
    // The colour: Down steps the colour while the popup is closed.
    auto* colours = static_cast<TGridColorDropDown*>(Open(edColorPickerDropDown, "Red", 1, 2));
    Key(colours, VK_DOWN);
    EXPECT_NE(colours->SelectedColor(), red);
    picks.clear();
    Key(colours, VK_ESCAPE);
    EXPECT_FALSE(Grid->EditMode());
    EXPECT_EQ(Grid->Colors(1, 2), red);
    // Going back is no pick.
    EXPECT_TRUE(picks.empty());
    // The image: Down steps the image.
    auto* pictures = static_cast<TGridImageDropDown*>(Open(edImagePickerDropDown, "", 1, 3));
    ASSERT_EQ(pictures->ImageIndex(), 1);
    Key(pictures, VK_DOWN);
    EXPECT_EQ(pictures->ImageIndex(), 2);
    picks.clear();
    Key(pictures, VK_ESCAPE);
    EXPECT_FALSE(Grid->EditMode());
    int index = -1;
    EXPECT_TRUE(Grid->GetImageIdx(1, 3, index));
    EXPECT_EQ(index, 1);
    EXPECT_TRUE(picks.empty());
    Grid->SetGridImages(nullptr);
    TObject::Free(images);
}

TEST_F(GridDropDownEditors, ARefusedValueKeepsTheEditorOpenOnTheHandlersText) {
    struct Case {
        const char* Name;
        Word Key;
        int SelStart, SelLength; // of "fixed"
    } cases[] = {{"Enter selects all", VK_RETURN, 0, 5}, {"Tab puts the caret at the end", VK_TAB, 5, 0}};
    Grid->OnCellValidate = [](TObject*, int, int, String& Value, bool& Valid) {
        if (Value == "8") {
            Value = "fixed";
            Valid = false;
        }
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        TAdvCustomDropDown* e = Open(edTrackbarDropDown, "2");
        TypeOver(e, "8");
        Key(e, c.Key);
        EXPECT_TRUE(Editing(e));
        EXPECT_EQ(e->Text(), "fixed");
        EXPECT_EQ(e->SelStart(), c.SelStart);
        EXPECT_EQ(e->SelLength(), c.SelLength);
        EXPECT_EQ(Grid->Col(), 1);
        EXPECT_EQ(Grid->Row(), 1);
        Key(e, VK_ESCAPE);
    }
}

TEST_F(GridDropDownEditors, TabsMoveWithGoTabsAndTheValueIsCommitted) {
    TGridOptions options = Grid->Options();
    options.insert(goTabs);
    Grid->SetOptions(options);
    // The grid's Tab advance would open the next cell's editor by itself.
    Grid->Navigation()->AdvanceAutoEdit = false;
    struct Case {
        const char* Name;
        TShiftState Shift;
        int Col;
    } cases[] = {{"Tab", {}, 3}, {"Shift+Tab", {ssShift}, 1}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        TAdvCustomDropDown* e = Open(edCalculatorDropDown, "5", 2, 1);
        TypeOver(e, "6");
        Key(e, VK_TAB, c.Shift);
        EXPECT_FALSE(Grid->EditMode());
        EXPECT_FALSE(e->Visible());
        EXPECT_EQ(Grid->Cells(2, 1), "6");
        EXPECT_EQ(Grid->Col(), c.Col);
        EXPECT_EQ(Grid->Row(), 1);
    }
}

TEST_F(GridDropDownEditors, TabWithAValidationHandlerButNoGoTabsCommitsAndPostsTheTabToTheGrid) {
    std::vector<String> validated;
    Grid->OnCellValidate = [&](TObject*, int, int, String& Value, bool&) { validated.push_back(Value); };
    TAdvCustomDropDown* e = Open(edTimePickerDropDown, "10:00:00", 1, 2);
    std::vector<Word> gridKeys;
    Grid->OnKeyDown = [&](TObject*, Word& Key, TShiftState) { gridKeys.push_back(Key); };
    e->SetSelStart(0);
    SimulateText(e, "113000");
    Drain();
    EXPECT_EQ(e->Text(), "11:30:00");
    Key(e, VK_TAB);
    EXPECT_FALSE(e->Visible());
    EXPECT_FALSE(Grid->EditMode());
    EXPECT_EQ(Grid->Cells(1, 2), "11:30:00");
    ASSERT_FALSE(validated.empty());
    EXPECT_EQ(validated.front(), "11:30:00");
    // The grid hears the Tab twice: when the edit ends with it, and from its window's queue,
    // where the editor posted it; without goTabs neither moves the current cell.
    EXPECT_EQ(std::count(gridKeys.begin(), gridKeys.end(), Word(VK_TAB)), 2);
    EXPECT_EQ(Grid->Col(), 1);
}

TEST_F(GridDropDownEditors, PageDownCommitsWithoutMovingAndEndStaysInside) {
    TAdvCustomDropDown* e = Open(edTrackbarDropDown, "3", 1, 3);
    TypeOver(e, "9");
    e->SetSelStart(0);
    e->SetSelLength(0);
    Key(e, VK_END);
    EXPECT_TRUE(Editing(e));
    EXPECT_EQ(e->SelStart(), 1);
    Key(e, VK_NEXT);
    EXPECT_FALSE(Grid->EditMode());
    EXPECT_FALSE(e->Visible());
    EXPECT_EQ(Grid->Cells(1, 3), "9");
    EXPECT_EQ(Grid->Col(), 1);
    EXPECT_EQ(Grid->Row(), 3);
}

TEST_F(GridDropDownEditors, EnterAndTheArrowsCommitAndMove) {
    struct Case {
        const char* Name;
        Word Key;
        int Row;
    } cases[] = {{"Down", VK_DOWN, 4}, {"Up", VK_UP, 2}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        TAdvCustomDropDown* e = Open(edDetailDropDown, "before", 1, 3);
        TypeOver(e, c.Name);
        Key(e, c.Key);
        EXPECT_FALSE(Grid->EditMode());
        EXPECT_EQ(Grid->Cells(1, 3), c.Name);
        EXPECT_EQ(Grid->Row(), c.Row);
    }
}

TEST_F(GridDropDownEditors, AltDownTogglesThePopupWithoutCommitting) {
    TAdvCustomDropDown* e = Open(edTrackbarDropDown, "1", 1, 1);
    TypeOver(e, "2");
    Key(e, VK_DOWN, {ssAlt});
    EXPECT_TRUE(e->DroppedDown());
    EXPECT_TRUE(Grid->EditMode());
    EXPECT_EQ(Grid->Cells(1, 1), "1");
    Key(e, VK_DOWN, {ssAlt});
    EXPECT_FALSE(e->DroppedDown());
    EXPECT_TRUE(Grid->EditMode());
    EXPECT_EQ(Grid->Cells(1, 1), "1");
}

TEST_F(GridDropDownEditors, AdvanceOnEnterWithAutoEditOpensTheNextCellsEditor) {
    Grid->Navigation()->AdvanceOnEnter = true;
    Grid->Navigation()->AdvanceAutoEdit = true;
    Grid->Navigation()->SetAdvanceDirection(adTopBottom);
    TAdvCustomDropDown* e = Open(edDetailDropDown, "1", 1, 1);
    Grid->SetCells(1, 2, "20");
    TypeOver(e, "3");
    Key(e, VK_RETURN);
    EXPECT_EQ(Grid->Cells(1, 1), "3");
    EXPECT_EQ(Grid->Row(), 2);
    EXPECT_TRUE(Editing(e));
    EXPECT_EQ(e->Text(), "20");
}

// ---------------------------------------------------------------------------------------------
// The caret at the click

TEST_F(GridDropDownEditors, AClickPutsTheCaretAtTheClickedCharacterInTypingKindsOnly) {
    Grid->SetColWidths(1, 200);
    Grid->MouseActions()->DirectEdit = true;
    Grid->MouseActions()->CaretPositioning = true;
    struct Case {
        TEditorType Kind;
        bool Placed;
    } cases[] = {{edMemoDropDown, true}, {edTimePickerDropDown, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(int(c.Kind));
        // Where the sixth character's left edge lies in the open editor.
        TAdvCustomDropDown* e = Open(c.Kind, "abcdefghij", 1, 1);
        const LRESULT pos = e->Perform(EM_POSFROMCHAR, 5, 0);
        Key(e, VK_ESCAPE);
        Grid->SetRow(2);
        Drain();
        const TRect r = Grid->CellRect(1, 1);
        SimulateClick(Grid, r.Left + short(LOWORD(pos)) + 1, r.Top + r.Height() / 2);
        Drain();
        ASSERT_TRUE(Editing(e));
        if (c.Placed) {
            EXPECT_EQ(e->SelStart(), 5);
            EXPECT_EQ(e->SelLength(), 0);
        } else {
            EXPECT_NE(e->SelStart(), 5);
        }
        Key(e, VK_ESCAPE);
    }
}

// ---------------------------------------------------------------------------------------------
// Events

TEST_F(GridDropDownEditors, EditChangeAndKeyPressArriveWithTheirSenders) {
    struct Change {
        TObject* Sender;
        int Col, Row;
        String Value;
    };
    std::vector<Change> changes;
    std::vector<std::pair<TObject*, Char>> presses;
    Grid->OnEditChange = [&](TObject* Sender, int ACol, int ARow, const String& Value) {
        changes.push_back({Sender, ACol, ARow, Value});
    };
    Grid->OnKeyPress = [&](TObject* Sender, Char& Key) { presses.push_back({Sender, Key}); };
    for (TEditorType k : {edTrackbarDropDown, edCalculatorDropDown}) {
        SCOPED_TRACE(int(k));
        TAdvCustomDropDown* e = Open(k, "1", 2, 3);
        changes.clear();
        presses.clear();
        e->SetSelStart(int(e->EditText().size()));
        e->SetSelLength(0);
        SimulateText(e, "7");
        Drain();
        ASSERT_FALSE(changes.empty());
        EXPECT_EQ(changes.back().Sender, Grid);
        EXPECT_EQ(changes.back().Col, 2);
        EXPECT_EQ(changes.back().Row, 3);
        EXPECT_EQ(changes.back().Value, "17");
        ASSERT_EQ(presses.size(), 1u);
        EXPECT_EQ(presses[0].first, e);
        EXPECT_EQ(presses[0].second, Char(u'7'));
        Key(e, VK_ESCAPE);
    }
}

// ---------------------------------------------------------------------------------------------
// What each kind commits

TEST_F(GridDropDownEditors, EachKindCommitsItsValueOnEnter) {
    Grid->OnGetEditorProp = [this](TObject*, int, int, TEditLink*) {
        if (Kind == edDetailDropDown && Grid->DetailPickerDropDown()->Items()->Count() == 0) {
            for (const char* caption : {"North", "South"})
                Grid->DetailPickerDropDown()->Items()->Add()->SetCaption(caption);
        }
    };
    struct Case {
        const char* Name;
        TEditorType Kind;
        const char* Start;
        std::function<void(TAdvCustomDropDown*)> Edit;
        const char* Stored;
    };
    const std::vector<Case> cases = {
        {"track bar position", edTrackbarDropDown, "2",
         [](TAdvCustomDropDown* e) { static_cast<TGridTrackbarDropDown*>(e)->SetPosition(6); }, "6"},
        {"memo lines", edMemoDropDown, "first",
         [](TAdvCustomDropDown* e) {
             TStringList* lines = static_cast<TGridMemoDropDown*>(e)->MemoText();
             lines->Clear();
             lines->Add("first");
             lines->Add("second");
         },
         "first\r\nsecond"},
        {"calculator completes the sum", edCalculatorDropDown, "",
         [this](TAdvCustomDropDown* e) { TypeOver(e, "12+3"); }, "15"},
        {"time picker text", edTimePickerDropDown, "08:00:00",
         [this](TAdvCustomDropDown* e) {
             e->SetSelStart(0);
             SimulateText(e, "091500");
             Drain();
         },
         "09:15:00"},
        {"detail item", edDetailDropDown, "North",
         [](TAdvCustomDropDown* e) { static_cast<TGridDetailPickerDropDown*>(e)->SetItemIndex(1); }, "South"},
        {"multi-column text", edGridDropDown, "abc", [this](TAdvCustomDropDown* e) { TypeOver(e, "xyz"); },
         "xyz"},
        {"grid drop-down text", edAdvGridDropDown, "abc",
         [this](TAdvCustomDropDown* e) { TypeOver(e, "uvw"); }, "uvw"},
    };
    int row = 1;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        TAdvCustomDropDown* e = Open(c.Kind, c.Start, 1, row);
        ASSERT_NE(e, nullptr);
        ASSERT_TRUE(Editing(e));
        c.Edit(e);
        Key(e, VK_RETURN);
        EXPECT_FALSE(Grid->EditMode());
        EXPECT_FALSE(e->Visible());
        EXPECT_EQ(Grid->Cells(1, row), c.Stored);
        row = row % 6 + 1;
    }
}

TEST_F(GridDropDownEditors, TheColourEditorNavigatesWhileOpenAndCommitsTextAndColour) {
    const TColor red = TColor(0x0000FF), lime = TColor(0x00FF00);
    Grid->AddShape(1, 2, 0 /*rectangle*/, lime, clBlack, haLeft, vaTop);
    struct Case {
        const char* Name;
        int Row;
        bool Shape;
        TColor Start;
        bool Override; // OnColorSelected gives white and "paper"
    } cases[] = {
        {"background", 1, false, red, false},
        {"shape", 2, true, lime, false},
        {"changed by OnColorSelected", 3, false, red, true},
    };
    Grid->SetColors(1, 1, red);
    Grid->SetColors(1, 3, red);
    std::vector<TColor> reported;
    Grid->OnColorSelect = [&](TObject* Sender, int ACol, int ARow, TColor Color, const String&) {
        EXPECT_EQ(Sender, Grid);
        EXPECT_EQ(ACol, 1);
        reported.push_back(Color);
        (void)ARow;
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        Grid->OnColorSelected = nullptr;
        if (c.Override)
            Grid->OnColorSelected = [](TObject*, int, int, TColor& Color, String& Value) {
                Color = TColor(0xFFFFFF);
                Value = "paper";
            };
        auto* e = static_cast<TGridColorDropDown*>(Open(edColorPickerDropDown, "cell", 1, c.Row));
        ASSERT_TRUE(Editing(e));
        EXPECT_EQ(e->SelectedColor(), c.Start);
        // Alt+Down opens the popup; Down and Up move through the colours and the edit goes on.
        Key(e, VK_DOWN, {ssAlt});
        ASSERT_TRUE(e->DroppedDown());
        const int start = e->ItemIndex();
        reported.clear();
        Key(e, VK_DOWN);
        Key(e, VK_DOWN);
        Key(e, VK_UP);
        EXPECT_EQ(e->ItemIndex(), start + 1);
        EXPECT_TRUE(e->DroppedDown());
        EXPECT_TRUE(Grid->EditMode());
        EXPECT_EQ(Grid->Cells(1, c.Row), "cell");
        EXPECT_FALSE(reported.empty());
        const TColor picked = e->SelectedColor();
        const String text = e->SelectedColorText();
        Key(e, VK_RETURN);
        EXPECT_FALSE(Grid->EditMode());
        EXPECT_FALSE(e->Visible());
        const TColor stored = c.Override ? TColor(0xFFFFFF) : picked;
        EXPECT_EQ(Grid->Cells(1, c.Row), c.Override ? String("paper") : text);
        if (c.Shape)
            EXPECT_EQ(Grid->GetShapeColor(1, c.Row), stored);
        else
            EXPECT_EQ(Grid->Colors(1, c.Row), stored);
    }
}

TEST_F(GridDropDownEditors, TheImageEditorOpensOnTheCellsIndexAndCommitsThePickedOne) {
    TCustomImageList* images = NewOneColourImages(clRed);
    for (int i = 1; i < 5; ++i) {
        auto* b = new TBitmap(8, 8);
        images->Add(b, nullptr);
        TObject::Free(b);
    }
    Grid->SetGridImages(images);
    Grid->AddImageIdx(1, 1, 2, haLeft, vaTop);
    Grid->AddDataImage(1, 2, 1, haLeft, vaTop);
    std::vector<int> reported;
    Grid->OnImageSelect = [&](TObject*, int, int, int Index) { reported.push_back(Index); };
    struct Case {
        const char* Name;
        int Row;
        int Start, Pick;
        int Override; // -1: no OnImageSelected
    } cases[] = {
        {"image list cell", 1, 2, 4, -1},
        {"data image cell", 2, 1, 3, -1},
        {"changed by OnImageSelected", 1, 4, 1, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        Grid->OnImageSelected = nullptr;
        if (c.Override >= 0)
            Grid->OnImageSelected = [&c](TObject*, int, int, int& Index) { Index = c.Override; };
        auto* e =
            static_cast<TGridImageDropDown*>(Open(edImagePickerDropDown, Grid->Cells(1, c.Row), 1, c.Row));
        ASSERT_TRUE(Editing(e));
        EXPECT_EQ(e->Items()->Count(), 5);
        EXPECT_EQ(e->ImageIndex(), c.Start);
        reported.clear();
        e->SetItemIndex(c.Pick);
        EXPECT_EQ(reported, std::vector<int>{c.Pick});
        Key(e, VK_RETURN);
        EXPECT_FALSE(Grid->EditMode());
        const int stored = c.Override >= 0 ? c.Override : c.Pick;
        if (c.Row == 1) {
            int index = -1;
            EXPECT_TRUE(Grid->GetImageIdx(1, 1, index));
            EXPECT_EQ(index, stored);
        } else {
            EXPECT_EQ(Grid->Cells(1, 2), IntToStr(stored));
        }
    }
    Grid->SetGridImages(nullptr);
    TObject::Free(images);
}

// Whether the click that opened an editor was taken for its caret: the memo editor places the
// caret and clears the grid's click flag; the colour editor (pick-only) leaves both alone.
TEST_F(GridDropDownEditors, TheClickFlagIsTakenByTheMemoEditorButNotByTheColourEditor) {
    struct TFlagGrid : TAdvStringGrid {
        using TAdvStringGrid::LButFlg;
        using TAdvStringGrid::TAdvStringGrid;
    };
    auto* g = new TFlagGrid(Form);
    g->SetParent(Form);
    g->SetBounds(10, 10, 400, 250);
    TGridOptions options = g->Options();
    options.insert(goEditing);
    g->SetOptions(options);
    g->SetColWidths(1, 200);
    g->MouseActions()->DirectEdit = true;
    g->MouseActions()->CaretPositioning = true;
    struct Case {
        TEditorType Kind;
        bool Taken;
    } cases[] = {{edMemoDropDown, true}, {edColorPickerDropDown, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(int(c.Kind));
        g->OnGetEditorType = [&c](TObject*, int, int, TEditorType& AEditor) { AEditor = c.Kind; };
        g->SetCells(1, 1, "abcdef");
        g->SetRow(2);
        g->SetFocus();
        Drain();
        const TRect r = g->CellRect(1, 1);
        SimulateClick(g, r.Left + 20, r.Top + r.Height() / 2);
        Drain();
        ASSERT_TRUE(g->EditMode());
        EXPECT_EQ(g->LButFlg, !c.Taken);
        g->HideInplaceEdit();
        g->LButFlg = false;
    }
}

TEST_F(GridDropDownEditors, AnEditorOpensWithTheGridsStripsOverTheCellAndDropsWithDirectComboDrop) {
    Grid->ControlLook()->DropDownHeader()->SetCaption("Pick one");
    Grid->ControlLook()->DropDownFooter()->SetCaption("Done");
    int headerClicks = 0;
    Grid->OnDropDownHeaderButtonClick = [&](TObject* Sender, int ACol, int ARow, int) {
        EXPECT_EQ(Sender, Grid);
        EXPECT_EQ(ACol, 2);
        EXPECT_EQ(ARow, 3);
        ++headerClicks;
    };
    Grid->MouseActions()->DirectComboDrop = true;
    TAdvCustomDropDown* e = Open(edDetailDropDown, "x", 2, 3);
    ASSERT_TRUE(Editing(e) || e->DroppedDown());
    EXPECT_TRUE(e->DroppedDown());
    EXPECT_EQ(e->DropDownHeader()->Caption(), "Pick one");
    EXPECT_EQ(e->DropDownFooter()->Caption(), "Done");
    const TRect r = Grid->CellRect(2, 3);
    EXPECT_EQ(e->Left(), r.Left);
    EXPECT_EQ(e->Top(), r.Top);
    EXPECT_EQ(e->Width(), r.Width() - 1);
    ASSERT_TRUE(bool(e->OnDropDownHeaderButtonClick));
    e->OnDropDownHeaderButtonClick(e, 0);
    EXPECT_EQ(headerClicks, 1);
    e->HideDropDown(true);
    Drain();
    Key(e, VK_ESCAPE);
}

TEST_F(GridDropDownEditors, LeavingTheEditorCommitsIt) {
    auto* other = new TEdit(Form);
    other->SetParent(Form);
    other->SetBounds(10, 300, 100, 21);
    TAdvCustomDropDown* e = Open(edTrackbarDropDown, "1", 1, 1);
    TypeOver(e, "5");
    other->SetFocus();
    Drain();
    EXPECT_FALSE(Grid->EditMode());
    EXPECT_FALSE(e->Visible());
    EXPECT_EQ(Grid->Cells(1, 1), "5");
}

} // namespace
