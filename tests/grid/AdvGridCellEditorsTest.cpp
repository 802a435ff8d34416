// The grid's editor controls driven as a user drives them: combo kinds with their items, the
// spin's steps and limits, date and time cells, the check box, the edit button and the button
// cell; Esc after refused attempts; the combo editor's item list; the focus frame following a
// moved form.
#include "AdvShownGridFixture.h"

#include "GridCellEditors.h"
#include "GridSettings.h"
#include "GridStructure.h"
#include "SysUtils.h"

#include "ControlImage.h"

#include <QClipboard>
#include <QGuiApplication>

#include <map>
#include <string>
#include <vector>

namespace {

class GridCellEditors : public AdvShownGridFixture {
protected:
    void SetUp() override {
        AdvShownGridFixture::SetUp();
        SavedFormats = FormatSettings;
        SavedException = Application->OnException;
        Application->OnException = [this](TObject*, Exception& E) { Errors.push_back(E.Message()); };
        Grid->SetColCount(4);
        Grid->SetRowCount(10);
        Grid->SetDefaultColWidth(90);
        TGridOptions options = Grid->Options();
        options.insert(goEditing);
        Grid->SetOptions(options);
        Grid->OnGetEditorType = [this](TObject*, int, int, TEditorType& AEditor) { AEditor = Kind; };
        Grid->OnGetEditorProp = [this](TObject*, int, int, TEditLink*) {
            Grid->ClearComboString();
            for (const char* item : {"Apple", "Apricot", "Banana"}) Grid->AddComboString(item);
        };
        Grid->SetFocus();
        Application->ProcessMessages();
    }
    void TearDown() override {
        Application->OnException = SavedException;
        FormatSettings = SavedFormats;
        AdvShownGridFixture::TearDown();
    }
    // Makes cell (1, 1) current with Text and opens its editor of kind K with F2.
    void Open(TEditorType K, const String& Text) {
        Kind = K;
        Grid->SetCells(1, 1, Text);
        Grid->SetCol(1);
        Grid->SetRow(1);
        Grid->SetFocus();
        SimulateKey(Grid, VK_F2);
        Drain();
    }
    void Drain() {
        for (int i = 0; i < 5; ++i) Application->ProcessMessages();
    }
    // A key through the window messages a key press sends to the editor control (simulated
    // Qt key events reach the grid's window, not the control laid over it).
    static void PressKey(TWinControl* Target, Word Key, TShiftState Shift = {}) {
        const HWND handle = Target->Handle();
        LPARAM data = 1;
        if (Shift.count(ssShift)) data |= 0; // the shift state is read from the keyboard
        TMessage cn(CN_KEYDOWN, Key, data);
        Target->Perform(cn);
        if (cn.Result == 0 && FindControl(handle) == Target) Target->Perform(WM_KEYDOWN, Key, data);
        if (FindControl(handle) == Target) Target->Perform(WM_KEYUP, Key, data | KF_UP);
    }
    // Characters through WM_CHAR, where an edit filters and types them.
    static void TypeChars(TWinControl* Target, const String& Text) {
        for (QChar ch : Text) Target->Perform(WM_CHAR, WPARAM(ch.unicode()), 1);
    }
    // Types Text at the end of the combo's text, one key at a time (each key's release is
    // where the combo completes from its lists).
    static void TypeInCombo(TGridCombo* Combo, const String& Text) {
        for (QChar ch : Text) {
            const String now = Combo->SelLength() > 0 ? Combo->Text().left(Combo->SelStart()) : Combo->Text();
            Combo->SetText(now + ch);
            Combo->SetSelStart(int(Combo->Text().size()));
            Combo->SetSelLength(0);
            Combo->Perform(WM_KEYUP, ch.toUpper().unicode(), LPARAM(1) | KF_UP);
        }
    }

    TEditorType Kind = edNormal;
    TFormatSettings SavedFormats;
    TExceptionEvent SavedException;
    std::vector<String> Errors;
};

// ---------------------------------------------------------------------------------------------
// Combo kinds

TEST_F(GridCellEditors, ComboKindsOpenWithTheirItemsAndTheChosenItemLandsInTheCell) {
    struct Case {
        const char* Name;
        TEditorType Kind;
        const char* CellText;
        int OpenIndex;      // ItemIndex once open
        bool Type;          // type "Ban" (edit kind) or step with Down (list kind)
        const char* Stored; // the cell after Enter
        int ComboChanges;   // OnComboChange calls while opening
    };
    const std::vector<Case> cases = {
        {"list on an item", edComboList, "Apricot", 1, false, "Banana", 0},
        {"list on no item selects item 0", edComboList, "Cherry", 0, false, "Apricot", 1},
        {"edit keeps a text that is no item", edComboEdit, "Cherry", -1, true, "Cherry", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        std::vector<int> changes;
        Grid->OnComboChange = [&](TObject*, int, int, int AItemIndex, const String&) {
            changes.push_back(AItemIndex);
        };
        Open(c.Kind, c.CellText);
        TGridCombo* combo = Grid->Combobox();
        ASSERT_TRUE(combo->Visible());
        EXPECT_EQ(combo->Items()->Count(), 3);
        EXPECT_EQ(combo->ItemIndex(), c.OpenIndex);
        EXPECT_EQ(int(changes.size()), c.ComboChanges);
        if (c.ComboChanges > 0) {
            EXPECT_EQ(changes[0], c.OpenIndex);
        }
        if (c.Kind == edComboList) {
            // One wheel notch towards the user: the next item.
            combo->Perform(WM_MOUSEWHEEL, WPARAM(Word(-120)) << 16, 0);
        } else {
            combo->SetText(String());
            TypeInCombo(combo, "Cherry");
        }
        PressKey(combo, VK_RETURN);
        Drain();
        EXPECT_FALSE(combo->Visible());
        EXPECT_FALSE(Grid->EditMode());
        EXPECT_EQ(Grid->Cells(1, 1), c.Stored);
        Grid->OnComboChange = nullptr;
    }
}

TEST_F(GridCellEditors, ComboLookupCompletesFromTheItemsThenFromLookupItems) {
    Grid->Lookup = true;
    Grid->LookupItems()->Add("Cranberry");
    Open(edComboEdit, "");
    TGridCombo* combo = Grid->Combobox();
    combo->SetText(String());
    TypeInCombo(combo, "Ap");
    EXPECT_EQ(combo->Text(), "Apple");
    EXPECT_EQ(combo->ItemIndex(), 0);
    EXPECT_EQ(combo->SelText(), "ple");
    combo->SetText(String());
    combo->SetItemIndex(-1);
    TypeInCombo(combo, "Cr");
    EXPECT_EQ(combo->Text(), "Cranberry");
    EXPECT_EQ(combo->ItemIndex(), -1);
}

// A click that opens an editable combo puts the caret at the character under the pointer, on a
// grid whose combo opens for the first time too; an edit opened by a key afterwards selects or
// puts the caret after the text as EditSelectAll asks.
TEST_F(GridCellEditors, AComboOpenedByAClickTakesTheCaretUnderThePointer) {
    const String text = "abcdefghijkl";
    Grid->SetColWidths(1, 200);
    Grid->Navigation()->EditSelectAll = false;
    Open(edComboEdit, text);
    TGridCombo* combo = Grid->Combobox();
    ASSERT_TRUE(combo->Visible());
    // The grid point over the edit part where the character at offset 5 starts.
    TWinControl* edit = FindControl(GetWindow(combo->Handle(), GW_CHILD));
    ASSERT_NE(edit, nullptr);
    const int y = edit->Height() / 2;
    int x = -1;
    for (int i = 0; i < edit->Width() && x < 0; ++i)
        if (edit->Perform(EM_CHARFROMPOS, 0, PointToLParam(TPoint(i, y))) == 5) x = i;
    ASSERT_GE(x, 0);
    const TPoint at = Grid->ScreenToClient(edit->ClientToScreen(TPoint(x + 1, y)));
    PressKey(combo, VK_ESCAPE);
    Drain();
    ASSERT_FALSE(combo->Visible());

    // DirectEdit opens the editor at the press; without it a click on the current cell does.
    struct Case {
        bool SelectAll, FreshGrid, DirectEdit;
    } cases[] = {{false, false, true}, {true, false, true},   {false, true, true},
                 {true, true, true},   {false, false, false}, {true, true, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "select all " << c.SelectAll << ", fresh grid " << c.FreshGrid
                                        << ", direct edit " << c.DirectEdit);
        TAdvStringGrid* g = Grid;
        if (c.FreshGrid) {
            // A grid of the same layout in the same place whose combo has never been shown.
            Grid->SetVisible(false);
            g = new TAdvStringGrid(Form);
            g->SetParent(Form);
            g->SetBounds(Grid->Left(), Grid->Top(), Grid->Width(), Grid->Height());
            g->SetColCount(4);
            g->SetRowCount(10);
            g->SetDefaultColWidth(90);
            g->SetColWidths(1, 200);
            TGridOptions options = g->Options();
            options.insert(goEditing);
            g->SetOptions(options);
            g->OnGetEditorType = [](TObject*, int, int, TEditorType& AEditor) { AEditor = edComboEdit; };
            Drain();
        }
        Kind = edComboEdit;
        g->SetCells(1, 1, text);
        g->Navigation()->EditSelectAll = c.SelectAll;
        g->MouseActions()->DirectEdit = c.DirectEdit;
        g->MouseActions()->CaretPositioning = true;
        g->SetCol(1);
        g->SetRow(1);
        g->SetFocus();
        Drain();
        Mouse->SetCursorPos(g->ClientToScreen(at));
        SimulateClick(g, at.X, at.Y);
        Drain();
        TGridCombo* opened = g->Combobox();
        ASSERT_TRUE(opened->Visible());
        ASSERT_TRUE(opened->Focused());
        EXPECT_EQ(opened->Text(), text);
        EXPECT_EQ(opened->SelStart(), 5);
        EXPECT_EQ(opened->SelLength(), 0);
        PressKey(opened, VK_ESCAPE);
        Drain();

        g->MouseActions()->DirectEdit = false;
        g->SetCol(1);
        g->SetRow(1);
        g->SetFocus();
        SimulateKey(g, VK_F2);
        Drain();
        ASSERT_TRUE(opened->Visible());
        EXPECT_EQ(opened->SelStart() + opened->SelLength(), int(text.size()));
        if (!c.SelectAll) {
            EXPECT_EQ(opened->SelLength(), 0);
        }
        PressKey(opened, VK_ESCAPE);
        Drain();
        if (c.FreshGrid) {
            TObject::Free(g);
            Grid->SetVisible(true);
        }
    }
}

// What is typed into the combo survives a change of its colours: a focus colour giving way to
// the normal one as the focus leaves, and any colour set while editing, keep the typed text (which
// the cell then receives), the caret and the selection.
TEST_F(GridCellEditors, TypedComboTextSurvivesColourChanges) {
    Grid->Navigation()->EditSelectAll = false;
    TGridCombo* combo = Grid->Combobox();
    combo->SetFocusColor(clYellow);
    combo->SetFocusBorderColor(clRed);
    Open(edComboEdit, "abc");
    ASSERT_TRUE(combo->Focused());
    combo->SetSelStart(1);
    SimulateText(combo, "XY");
    Drain();
    ASSERT_EQ(combo->Text(), "aXYbc");
    combo->SetColor(clAqua);
    EXPECT_EQ(combo->Text(), "aXYbc");
    EXPECT_EQ(combo->SelStart(), 3);
    EXPECT_EQ(combo->SelLength(), 0);
    combo->SetSelStart(1);
    combo->SetSelLength(2);
    combo->SetColor(clLime);
    EXPECT_EQ(combo->SelText(), "XY");
    Grid->SetFocus();
    Drain();
    EXPECT_FALSE(combo->Visible());
    EXPECT_EQ(Grid->Cells(1, 1), "aXYbc");
}

TEST_F(GridCellEditors, LookupHistoryKeepsANewNonEmptyText) {
    Grid->LookupHistory = true;
    Grid->OnGetEditorProp = nullptr;
    Grid->ClearComboString();
    Grid->AddComboString("Apple");
    for (const char* typed : {"Mango", "", "Apple"}) {
        SCOPED_TRACE(typed);
        Open(edComboEdit, "Apple");
        TGridCombo* combo = Grid->Combobox();
        ASSERT_TRUE(combo->Focused());
        combo->SetText(typed);
        Grid->SetFocus(); // the combo loses the focus: the edit ends
        Drain();
        EXPECT_FALSE(combo->Visible());
        EXPECT_EQ(Grid->Cells(1, 1), typed);
    }
    ASSERT_EQ(Grid->GetComboCount(), 2);
    EXPECT_EQ(Grid->Combobox()->Items()->Strings(1), "Mango");
}

// With ComboGetUpDown off, Down moves the grid once and the cell below keeps its own text.
TEST_F(GridCellEditors, DownWithComboGetUpDownOffMovesOnceAndWritesNoOtherCell) {
    Grid->Navigation()->ComboGetUpDown = false;
    Grid->SetCells(1, 2, "below");
    Open(edComboEdit, "Banana");
    TGridCombo* combo = Grid->Combobox();
    combo->SetText("Typed");
    PressKey(combo, VK_DOWN);
    Drain();
    EXPECT_EQ(Grid->Row(), 2);
    EXPECT_EQ(Grid->Cells(1, 1), "Typed");
    EXPECT_EQ(Grid->Cells(1, 2), "below");
}

TEST_F(GridCellEditors, TheComboItemListAnswersForMissingItemsAndChangesNothing) {
    Grid->OnGetEditorProp = nullptr;
    Grid->ClearComboString();
    Grid->AddComboString("one");
    TObject marker;
    Grid->AddComboStringObject("two", &marker);
    EXPECT_FALSE(Grid->RemoveComboString("three"));
    EXPECT_FALSE(Grid->SetComboSelectionString("three"));
    EXPECT_EQ(Grid->GetComboCount(), 2);
    EXPECT_EQ(Grid->Combobox()->Items()->Objects(1), &marker);
    EXPECT_TRUE(Grid->RemoveComboString("one"));
    EXPECT_EQ(Grid->GetComboCount(), 1);
    EXPECT_EQ(Grid->Combobox()->Items()->Strings(0), "two");

    // SetComboIndex lets the property handler fill the list for the cell, then writes the item;
    // an index outside the list writes nothing.
    int asked = 0;
    Grid->OnGetEditorProp = [&](TObject*, int ACol, int ARow, TEditLink*) {
        ++asked;
        EXPECT_EQ(ACol, 2);
        EXPECT_EQ(ARow, 3);
        Grid->ClearComboString();
        Grid->AddComboString("x");
        Grid->AddComboString("y");
    };
    Grid->SetComboIndex(2, 3, 1);
    EXPECT_EQ(Grid->Cells(2, 3), "y");
    Grid->SetComboIndex(2, 3, 5);
    EXPECT_EQ(Grid->Cells(2, 3), "y");
    EXPECT_EQ(asked, 2);
    Grid->SetCells(2, 3, "x");
    EXPECT_EQ(Grid->GetComboIndex(2, 3), 0);
}

// SetComboSelection picks the item an edComboList cell opens on when its text is no item.
TEST_F(GridCellEditors, TheComboSelectionIsTheItemAListOpensOnForAnUnknownText) {
    Grid->OnGetEditorProp = nullptr;
    Grid->ClearComboString();
    for (const char* item : {"a", "b", "c"}) Grid->AddComboString(item);
    ASSERT_TRUE(Grid->SetComboSelectionString("c"));
    Open(edComboList, "zzz");
    EXPECT_EQ(Grid->Combobox()->ItemIndex(), 2);
    Grid->SetComboSelection(-1);
}

// ---------------------------------------------------------------------------------------------
// Spin kinds

TEST_F(GridCellEditors, SpinKindsStepAndClampAndFireTheirEvents) {
    std::vector<std::pair<int, bool>> clicks;
    Grid->OnSpinClick = [&](TObject*, int, int, int AValue, bool UpDown) {
        clicks.emplace_back(AValue, UpDown);
    };
    struct Case {
        const char* Name;
        const char* CellText;
        Word Key;
        int Value;
        std::vector<std::pair<int, bool>> Clicks;
    };
    const std::vector<Case> cases = {
        {"up at the top stays", "100", VK_UP, 100, {}},
        {"page up at the top stays", "100", VK_PRIOR, 100, {}},
        {"down steps", "40", VK_DOWN, 39, {}},
        {"home takes the upper limit", "40", VK_HOME, 100, {{100, false}}},
        {"end takes the lower limit", "40", VK_END, 0, {{0, false}}},
        {"no number opens on its leading digits", "12ab", VK_UP, 13, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        clicks.clear();
        Open(edSpinEdit, c.CellText);
        TGridSpin* spin = Grid->SpinEdit();
        ASSERT_TRUE(spin && spin->Visible());
        PressKey(spin, c.Key);
        EXPECT_EQ(spin->Value(), c.Value);
        EXPECT_EQ(clicks, c.Clicks);
        PressKey(spin, VK_RETURN);
        Drain();
        EXPECT_FALSE(spin->Visible());
        EXPECT_EQ(Grid->Cells(1, 1), IntToStr(c.Value));
    }
    // The up button fires the event with UpDown True.
    clicks.clear();
    Open(edSpinEdit, "5");
    Grid->SpinEdit()->UpButtonClick(nullptr);
    EXPECT_EQ(clicks, (std::vector<std::pair<int, bool>>{{6, true}}));
    Grid->HideInplaceEdit();
    EXPECT_EQ(Grid->Cells(1, 1), "6");
}

TEST_F(GridCellEditors, AnEmptySpinWithAllowEmptyValueEmptiesTheCell) {
    Open(edSpinEdit, "7");
    TGridSpin* spin = Grid->SpinEdit();
    spin->AllowEmptyValue = true;
    spin->SetText("");
    PressKey(spin, VK_RETURN);
    Drain();
    EXPECT_EQ(Grid->Cells(1, 1), "");
    spin->AllowEmptyValue = false;
}

// Esc after refused attempts puts back the text the cell had when the edit began.
TEST_F(GridCellEditors, EscAfterRefusedAttemptsRestoresTheSnapshot) {
    int refused = 0;
    Grid->OnCellValidate = [&](TObject*, int, int, String&, bool& Valid) {
        Valid = false;
        ++refused;
    };
    struct Case {
        const char* Name;
        TEditorType Kind;
        std::function<TWinControl*()> Control;
    };
    const std::vector<Case> cases = {
        {"spin", edSpinEdit, [this] { return static_cast<TWinControl*>(Grid->SpinEdit()); }},
        {"edit button", edEditBtn, [this] { return static_cast<TWinControl*>(Grid->BtnEdit()); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        refused = 0;
        Open(c.Kind, "5");
        TWinControl* control = c.Control();
        ASSERT_TRUE(control->Visible());
        for (const char* attempt : {"7", "8"}) {
            control->SetText(attempt);
            PressKey(control, VK_RETURN);
            Drain();
            EXPECT_TRUE(control->Visible());
            EXPECT_TRUE(Grid->EditMode());
        }
        EXPECT_EQ(refused, 2);
        PressKey(control, VK_ESCAPE);
        Drain();
        EXPECT_FALSE(control->Visible());
        EXPECT_FALSE(Grid->EditMode());
        EXPECT_EQ(Grid->Cells(1, 1), "5");
    }
    EXPECT_TRUE(Errors.empty());
}

// ---------------------------------------------------------------------------------------------
// Date and time kinds

TEST_F(GridCellEditors, ADateCellRoundTripsItsText) {
    const String text = DateToStr(EncodeDate(2024, 3, 12));
    Open(edDateEdit, text);
    TGridDatePicker* picker = Grid->DateTimePicker();
    ASSERT_TRUE(picker && picker->Visible());
    EXPECT_EQ(Trunc(picker->Date()), Trunc(EncodeDate(2024, 3, 12)));
    PressKey(picker, VK_RETURN);
    Drain();
    EXPECT_FALSE(picker->Visible());
    EXPECT_EQ(Grid->Cells(1, 1), text);

    // A text that is no date opens on today.
    Open(edDateEdit, "no date");
    EXPECT_EQ(Trunc(Grid->DateTimePicker()->Date()), Trunc(Now()));
    Grid->HideInplaceEdit();
}

TEST_F(GridCellEditors, TimeEditLeavesTheLocaleFormatAloneAlsoWhenValidationRaises) {
    FormatSettings.LongTimeFormat = "hh:nn:ss";
    Grid->OnGetEditorProp = [this](TObject*, int, int, TEditLink*) {
        Grid->DateTimePicker()->SetFormat("HH:mm");
    };
    for (bool raise : {false, true}) {
        SCOPED_TRACE(raise ? "raising" : "accepting");
        Errors.clear();
        Grid->OnCellValidate = [raise](TObject*, int, int, String&, bool&) {
            if (raise) throw Exception("validation failed");
        };
        Grid->AlwaysValidate = raise;
        Open(edTimeEdit, "10:30");
        TGridDatePicker* picker = Grid->DateTimePicker();
        ASSERT_TRUE(picker && picker->Visible());
        EXPECT_EQ(picker->Text(), "10:30");
        if (raise)
            EXPECT_THROW(PressKey(picker, VK_RETURN), Exception);
        else
            PressKey(picker, VK_RETURN);
        Drain();
        EXPECT_EQ(FormatSettings.LongTimeFormat, "hh:nn:ss");
        if (!raise) {
            EXPECT_EQ(Grid->Cells(1, 1), "10:30");
        }
        Grid->OnCellValidate = nullptr;
        Grid->AlwaysValidate = false;
        Grid->HideInplaceEdit();
        EXPECT_EQ(FormatSettings.LongTimeFormat, "hh:nn:ss");
    }
}

TEST_F(GridCellEditors, EscInTheDatePickerFallsBackToTodayForACellThatIsNoDate) {
    Open(edDateEdit, DateToStr(EncodeDate(2020, 1, 2)));
    TGridDatePicker* picker = Grid->DateTimePicker();
    Grid->SetCells(1, 1, "garbage");
    PressKey(picker, VK_ESCAPE);
    Drain();
    EXPECT_FALSE(picker->Visible());
    EXPECT_EQ(Grid->Cells(1, 1), DateToStr(Date()));
}

TEST_F(GridCellEditors, TheDateAndTimeEditorStoresDateAndTimeAndEscRestores) {
    const TDateTime value = EncodeDate(2023, 6, 5) + EncodeTime(14, 20, 0, 0);
    const String text =
        FormatDateTime(FormatSettings.ShortDateFormat + " " + FormatSettings.ShortTimeFormat, value);
    Open(edDateTimeEdit, text);
    TGridDateTimePicker* picker = Grid->DateAndTimePicker();
    ASSERT_TRUE(picker && picker->Visible());
    picker->SetDateTime(value + 1);
    PressKey(picker, VK_ESCAPE);
    Drain();
    EXPECT_FALSE(picker->Visible());
    EXPECT_EQ(Grid->Cells(1, 1), text);
}

// ---------------------------------------------------------------------------------------------
// Check box, edit button, unit edit, button

TEST_F(GridCellEditors, TheCheckBoxEditorOpensUncheckedAndEndsOnEnterOnly) {
    Open(edCheckBox, "Caption");
    TCheckBox* check = nullptr;
    for (int i = 0; i < Grid->ControlCount(); ++i)
        if (auto* c = dynamic_cast<TGridCheckBox*>(Grid->Controls(i)); c && c->Visible()) check = c;
    ASSERT_NE(check, nullptr);
    EXPECT_EQ(check->Caption(), "Caption");
    EXPECT_FALSE(check->Checked());
    // The box's own click handling is the only toggle: a change of the state by the box
    // reaches the grid's editor once.
    check->Toggle();
    EXPECT_TRUE(check->Checked());
    // Home and Esc do not end the edit; Enter does.
    PressKey(check, VK_HOME);
    PressKey(check, VK_ESCAPE);
    EXPECT_TRUE(check->Visible());
    PressKey(check, VK_RETURN);
    Drain();
    EXPECT_FALSE(check->Visible());
    EXPECT_FALSE(Grid->EditMode());
}

TEST_F(GridCellEditors, TheEditButtonHandsItsTextToOnEllipsClickAndMayStop) {
    Grid->OnEllipsClick = [](TObject*, int, int, String& S) { S = S + "!"; };
    for (bool stop : {false, true}) {
        SCOPED_TRACE(stop ? "stop after click" : "keep editing");
        Open(edEditBtn, "go");
        TGridEditBtn* edit = Grid->BtnEdit();
        ASSERT_TRUE(edit->Visible());
        edit->SetStopEditAfterClick(stop);
        edit->ClickButton(nullptr);
        Drain();
        EXPECT_EQ(edit->Visible(), !stop);
        if (stop) {
            EXPECT_EQ(Grid->Cells(1, 1), "go!");
        } else {
            EXPECT_EQ(edit->Text(), "go!");
            PressKey(edit, VK_RETURN);
            Drain();
            EXPECT_EQ(Grid->Cells(1, 1), "go!");
        }
    }
}

// A paste into the edit-button editor: the text editor's paste without its character rules, the
// cell's text following at once, the paste events with their veto.
TEST_F(GridCellEditors, TheEditButtonPastesWithoutCharacterRules) {
    struct Case {
        const char* Name;
        TEditorType Kind;
        const char* Clip;
        int SelStart, SelLength;
        bool Veto;
        const char* Text;
        int NewStart, NewLength;
    };
    const Case cases[] = {
        {"at the caret, one trailing line break dropped", edEditBtn, "xy\r\n", 1, 0, false, "gxyo", 3, 0},
        {"over the selection, which then covers the paste", edEditBtn, "XYZ", 0, 2, false, "XYZ", 0, 3},
        {"letters into a number editor", edNumericEditBtn, "a-b", 2, 0, false, "goa-b", 5, 0},
        {"only a last line break alone is dropped", edEditBtn, "1\r\n2\r\n", 2, 0, false, "go1\r\n2\r\n", 8,
         0},
        {"refused by OnClipboardPaste", edEditBtn, "no", 0, 0, true, "go", 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        Grid->OnClipboardPaste = [&](TObject*, bool& Allow) {
            if (c.Veto) Allow = false;
        };
        int after = 0;
        Grid->OnClipboardAfterPasteCell = [&](TObject*, int, int, const String&) { ++after; };
        Open(c.Kind, "go");
        TGridEditBtn* edit = Grid->BtnEdit();
        ASSERT_TRUE(edit->Visible());
        QGuiApplication::clipboard()->setText(QString::fromUtf8(c.Clip));
        edit->SetSelStart(c.SelStart);
        edit->SetSelLength(c.SelLength);
        edit->Perform(WM_PASTE, 0, 0);
        EXPECT_EQ(edit->Text(), QString::fromUtf8(c.Text));
        EXPECT_EQ(Grid->CurrentCell(), QString::fromUtf8(c.Veto ? "go" : c.Text));
        if (!c.Veto) {
            EXPECT_EQ(edit->SelStart(), c.NewStart);
            EXPECT_EQ(edit->SelLength(), c.NewLength);
        }
        EXPECT_EQ(after, 0) << "the edit button fires no after-paste event";
        Grid->HideInplaceEdit();
        Grid->OnClipboardPaste = nullptr;
        Grid->OnClipboardAfterPasteCell = nullptr;
    }
}

// The date editor is framed by two rings of the window colour, whatever paints below them.
TEST_F(GridCellEditors, TheDateEditorHasATwoPixelFrameInTheWindowColour) {
    Open(edDateEdit, DateToStr(EncodeDate(2024, 3, 12)));
    TGridDatePicker* picker = Grid->DateTimePicker();
    ASSERT_TRUE(picker && picker->Visible());
    picker->SetColor(clYellow);
    const QImage img = ControlImage(picker);
    const QRgb window = QColor(Qt::white).rgb();
    ASSERT_EQ(ColorToRGB(clWindow), TColor(0xFFFFFF));
    const int w = img.width(), h = img.height();
    for (int ring = 0; ring < 2; ++ring) {
        SCOPED_TRACE(ring);
        for (int x = ring; x < w - ring; ++x) {
            EXPECT_EQ(img.pixel(x, ring), window) << x;
            EXPECT_EQ(img.pixel(x, h - 1 - ring), window) << x;
        }
        for (int y = ring; y < h - ring; ++y) {
            EXPECT_EQ(img.pixel(ring, y), window) << y;
            EXPECT_EQ(img.pixel(w - 1 - ring, y), window) << y;
        }
    }
    Grid->HideInplaceEdit();
}

TEST_F(GridCellEditors, NumericEditButtonsFilterTypedCharacters) {
    Open(edNumericEditBtn, "");
    TGridEditBtn* edit = Grid->BtnEdit();
    TypeChars(edit, "1a-2");
    EXPECT_EQ(edit->Text(), "12");
    PressKey(edit, VK_RETURN);
    Drain();
    EXPECT_EQ(Grid->Cells(1, 1), "12");
}

TEST_F(GridCellEditors, TheUnitEditorStoresValueAndUnit) {
    Grid->BtnUnitEdit()->Units()->Add("mm");
    Open(edUnitEditBtn, "12mm");
    TGridUnitEditBtn* edit = Grid->BtnUnitEdit();
    ASSERT_TRUE(edit->Visible());
    EXPECT_EQ(edit->TextAndUnit(), "12mm");
    PressKey(edit, VK_RETURN);
    Drain();
    EXPECT_FALSE(edit->Visible());
    EXPECT_EQ(Grid->Cells(1, 1), "12mm");
}

TEST_F(GridCellEditors, TheButtonCellRestoresOnEscAndMovesOnceOnAnArrow) {
    Open(edButton, "press");
    TWinControl* button = Grid->EditCtrl();
    ASSERT_NE(button, nullptr);
    ASSERT_TRUE(button->Visible());
    Grid->SetCells(1, 1, "changed");
    PressKey(button, VK_ESCAPE);
    Drain();
    EXPECT_FALSE(button->Visible());
    EXPECT_EQ(Grid->Cells(1, 1), "press");

    Open(edButton, "press");
    button = Grid->EditCtrl();
    PressKey(button, VK_DOWN);
    Drain();
    EXPECT_FALSE(button->Visible());
    EXPECT_EQ(Grid->Row(), 2);
}

TEST_F(GridCellEditors, KindsWithoutAControlOpenNothing) {
    // edCustom without an EditLink, a drop-down kind whose control the grid does not make.
    for (TEditorType kind : {edCustom, edMemoDropDown}) {
        Open(kind, "text");
        EXPECT_FALSE(Grid->EditMode());
        EXPECT_FALSE(Grid->EditActive());
        EXPECT_EQ(Grid->Cells(1, 1), "text");
    }
    EXPECT_TRUE(Errors.empty());
}

// ---------------------------------------------------------------------------------------------
// The focus frame and the stretch setter

TEST_F(GridCellEditors, TheFocusFrameFollowsAMovedForm) {
    Grid->FocusHelper()->Enabled = true;
    Open(edSpinEdit, "1");
    ASSERT_EQ(TAdvStringGrid::FocusFrameGrid(), Grid);
    TWinControl* frame = Grid->FocusWindow();
    ASSERT_NE(frame, nullptr);
    const TPoint before(frame->Left(), frame->Top());
    Form->SetBounds(Form->Left() + 30, Form->Top() + 20, Form->Width(), Form->Height());
    Drain();
    EXPECT_EQ(frame->Left(), before.X + 30);
    EXPECT_EQ(frame->Top(), before.Y + 20);
    Grid->HideInplaceEdit();
}

TEST_F(GridCellEditors, SettingStretchSizesTheStretchColumnAtOnce) {
    Grid->ColumnSize()->StretchColumn = 3;
    Grid->ColumnSize()->SetStretch(true);
    EXPECT_EQ(Grid->ColWidths(3), Grid->ClientWidth() - 3 * 90 - 1);
    Grid->ColumnSize()->StretchColumn = 7;
    EXPECT_THROW(Grid->ColumnSize()->SetStretch(true), EAdvGridError);
}

} // namespace

namespace {

// The editor controls are made disabled and enabled when they open: they then take real key
// events like any other control.
TEST_F(GridCellEditors, AnEditorControlMadeDisabledTakesKeysOnceOpen) {
    Open(edEditBtn, "");
    TGridEditBtn* edit = Grid->BtnEdit();
    ASSERT_TRUE(edit->Visible());
    EXPECT_FALSE(edit->WindowStyle() & WS_DISABLED);
    SimulateText(edit, "ab");
    EXPECT_EQ(edit->Text(), "ab");
    SimulateKey(edit, VK_RETURN);
    Drain();
    EXPECT_FALSE(edit->Visible());
    EXPECT_EQ(Grid->Cells(1, 1), "ab");
}

} // namespace
