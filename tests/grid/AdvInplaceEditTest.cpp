// The grid's default text editor on a shown grid, driven by keys and the mouse: the character
// filters of the text editor types, the clipboard rules, lookup completion, where the caret goes
// when the editor opens, the keys that validate, and focus loss with a validation that raises.
#include "AdvGrid.h"
#include "AdvInplaceEdit.h"
#include "GridCellEditors.h"
#include "Forms.h"
#include "GridDropDowns.h"
#include "GridUtil.h"
#include "MessageBeepCount.h"
#include "SysUtils.h"
#include "KeyTyping.h"
#include "TestSupport.h"

#include <QClipboard>
#include <QGuiApplication>
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

namespace {

// The grid with its editing state in reach and, when Validator is set, a validation the test
// decides: Validator gets the text and may change it (as an OnCellValidate handler would); it
// answers whether the text is accepted. Without it the grid validates.
class TEditGrid : public TAdvStringGrid {
public:
    using TAdvStringGrid::EditControl;
    using TAdvStringGrid::FCellCache;
    using TAdvStringGrid::FEditing;
    using TAdvStringGrid::FEditMode;
    using TAdvStringGrid::FNewCellText;
    using TAdvStringGrid::FOldCellText;
    using TAdvStringGrid::LButFlg;
    using TAdvStringGrid::NormalEdit;
    using TAdvStringGrid::TAdvStringGrid;

    bool ValidateCell(const String& NewValue) override {
        ++Validations;
        if (!Validator) return TAdvStringGrid::ValidateCell(NewValue);
        String value = NewValue;
        const bool valid = Validator(value);
        FNewCellText = value;
        FEditing = false;
        return valid;
    }

    std::function<bool(String&)> Validator;
    int Validations = 0;
};

struct TSeparators {
    char16_t Decimal, Thousand;
};
constexpr TSeparators CommaDecimal{u',', u'.'}, PointDecimal{u'.', u','};

class AdvInplaceEdit : public ::testing::Test {
protected:
    void SetUp() override {
        Saved = FormatSettings;
        Form = new TForm(nullptr);
        Form->SetBounds(100, 100, 600, 400);
        Grid = new TEditGrid(Form);
        Grid->SetParent(Form);
        Grid->SetBounds(10, 10, 400, 250);
        TGridOptions options = Grid->Options();
        options.insert(goEditing);
        Grid->SetOptions(options);
        Other = new TEdit(Form);
        Other->SetParent(Form);
        Other->SetBounds(10, 300, 100, 21);
        Form->Show();
        Grid->SetFocus();
        Application->ProcessMessages();
    }
    void TearDown() override {
        TObject::Free(Form);
        FormatSettings = Saved;
    }
    static void UseSeparators(TSeparators S) {
        FormatSettings.DecimalSeparator = Char(S.Decimal);
        FormatSettings.ThousandSeparator = Char(S.Thousand);
    }
    // Opens the default editor on cell (1, 1) holding Text, for editor type Type, with the
    // given caret and selection.
    TAdvInplaceEdit* Open(TEditorType Type, const String& Text, int SelStart = -1, int SelLength = 0) {
        Grid->HideInplaceEdit();
        Grid->FEditing = false;
        Grid->SetCells(1, 1, Text);
        Grid->SetCol(1);
        Grid->SetRow(1);
        Grid->DefaultEditor = Type;
        if (!Grid->Focused()) Grid->SetFocus();
        Grid->ShowEditor();
        Application->ProcessMessages();
        TAdvInplaceEdit* e = Grid->NormalEdit();
        if (!e) return nullptr;
        if (SelStart >= 0) {
            e->SetSelStart(SelStart);
            e->SetSelLength(SelLength);
        }
        return e;
    }
    static void Type(TWinControl* Target, const String& Text) { TypeKeys(Target, Text); }
    static void SetClipboard(const String& Text) { QGuiApplication::clipboard()->setText(Text); }

    TFormatSettings Saved;
    TForm* Form = nullptr;
    TEditGrid* Grid = nullptr;
    TEdit* Other = nullptr;
};

// ---- The character filters ----

TEST_F(AdvInplaceEdit, CharacterFiltersByEditorType) {
    struct Case {
        TEditorType Type;
        TSeparators Separators;
        const char* Text;
        int SelStart, SelLength;
        char16_t Key;
        const char* Result;
        bool Beeps;
    } cases[] = {
        {edNumeric, PointDecimal, "12", 0, 0, u'-', "-12", false},
        {edNumeric, PointDecimal, "12", 1, 0, u'-', "12", true},
        {edNumeric, PointDecimal, "-12", 0, 0, u'-', "-12", true},
        {edNumeric, PointDecimal, "12", 2, 0, u'a', "12", true},
        {edNumeric, PointDecimal, "12", 2, 0, u'5', "125", false},
        {edPositiveNumeric, PointDecimal, "12", 0, 0, u'-', "12", true},
        {edPositiveNumeric, PointDecimal, "12", 2, 0, u'7', "127", false},
        // Decimal ",": a second one is dropped unless the selection holds the first; "." is the
        // thousand separator and always dropped.
        {edFloat, CommaDecimal, "1,5", 3, 0, u',', "1,5", false},
        {edFloat, CommaDecimal, "1,5", 0, 3, u',', ",", false},
        {edFloat, CommaDecimal, "15", 2, 0, u',', "15,", false},
        {edFloat, CommaDecimal, "15", 2, 0, u'.', "15", false},
        {edFloat, PointDecimal, "15", 2, 0, u'.', "15.", false},
        {edFloat, PointDecimal, "15", 2, 0, u',', "15", false},
        {edFloat, PointDecimal, "15", 0, 0, u'-', "-15", false},
        {edFloat, PointDecimal, "15", 1, 0, u'-', "15", true},
        {edFloat, PointDecimal, "-15", 0, 1, u'-', "-15", false},
        {edFloat, PointDecimal, "15", 2, 0, u'x', "15", false},
        {edPositiveFloat, PointDecimal, "15", 0, 0, u'-', "15", false},
        {edCapital, PointDecimal, "ab", 2, 0, u'c', "abC", false},
        {edUpperCase, PointDecimal, "ab", 2, 0, u'c', "abC", false},
        {edLowerCase, PointDecimal, "AB", 2, 0, u'C', "ABc", false},
        {edNormal, PointDecimal, "ab", 2, 0, u'-', "ab-", false},
        {edPassword, PointDecimal, "ab", 2, 0, u'c', "abc", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message()
                     << "type " << int(c.Type) << " text " << c.Text << " key " << char(c.Key));
        UseSeparators(c.Separators);
        TAdvInplaceEdit* e = Open(c.Type, c.Text, c.SelStart, c.SelLength);
        ASSERT_NE(e, nullptr);
        const Cardinal beeps = MessageBeepCount();
        Type(e, String(QChar(c.Key)));
        EXPECT_EQ(e->Text(), String(c.Result));
        EXPECT_EQ(MessageBeepCount() != beeps, c.Beeps);
    }
}

TEST_F(AdvInplaceEdit, ValidCharsAndTheCharacterSet) {
    struct Case {
        const char* ValidChars;
        char16_t Key;
        bool Taken;
    } cases[] = {{"abc", u'b', true}, {"abc", u'd', false}, {"", u'x', true}, {"", u'y', false}};
    Grid->ValidCharSet.set('x');
    for (const Case& c : cases) {
        SCOPED_TRACE(c.ValidChars + std::string(" ") + char(c.Key));
        Grid->ValidChars = c.ValidChars;
        TAdvInplaceEdit* e = Open(edValidChars, "", 0);
        const Cardinal beeps = MessageBeepCount();
        Type(e, String(QChar(c.Key)));
        EXPECT_EQ(e->Text(), c.Taken ? String(QChar(c.Key)) : String());
        EXPECT_EQ(MessageBeepCount() != beeps, !c.Taken);
    }
}

TEST_F(AdvInplaceEdit, MixedCaseRewritesTheTextAndKeepsTheCaretAfterTheTypedCharacter) {
    TAdvInplaceEdit* e = Open(edMixedCase, "hello orld", 6);
    Type(e, "w");
    EXPECT_EQ(e->Text(), ToMixedCase("hello world"));
    EXPECT_EQ(e->SelStart(), 7);
}

TEST_F(AdvInplaceEdit, LengthLimitDropsCharactersSilentlyButASelectionIsReplaced) {
    Grid->SetMaxEditLength(5);
    TAdvInplaceEdit* e = Open(edNormal, "abcde", 5);
    ASSERT_EQ(e->LengthLimit(), 5);
    const Cardinal beeps = MessageBeepCount();
    Type(e, "f");
    EXPECT_EQ(e->Text(), "abcde");
    EXPECT_EQ(MessageBeepCount(), beeps);
    e->SetSelStart(1);
    e->SetSelLength(3);
    Type(e, "x");
    EXPECT_EQ(e->Text(), "axe");
}

TEST_F(AdvInplaceEdit, KeypadDecimalKeyTypesTheLocaleSeparator) {
    UseSeparators(CommaDecimal);
    Grid->ExcelStyleDecimalSeparator = true;
    TAdvInplaceEdit* e = Open(edFloat, "1", 1);
    e->Perform(WM_CHAR, u'.', 1 << 22); // the keypad's key
    EXPECT_EQ(e->Text(), "1,");
    TAdvInplaceEdit* f = Open(edNormal, "1", 1);
    f->Perform(WM_CHAR, u'.', 0); // the main keyboard's "."
    EXPECT_EQ(f->Text(), "1.");
}

TEST_F(AdvInplaceEdit, CtrlAIsSwallowedAndSelectsTheWholeText) {
    TAdvInplaceEdit* e = Open(edNormal, "abc", 1);
    SimulateKey(e, 'A', {ssCtrl});
    EXPECT_EQ(e->Text(), "abc");
    EXPECT_EQ(e->SelStart(), 0);
    EXPECT_EQ(e->SelLength(), 3);
}

// ---- Clipboard ----

TEST_F(AdvInplaceEdit, PasteRulesByEditorType) {
    struct Case {
        TEditorType Type;
        const char* Text;
        int SelStart, SelLength;
        const char* Clip;
        const char* Result;
        int ResultSelStart, ResultSelLength;
    } cases[] = {
        {edNormal, "ab", 1, 0, "XY", "aXYb", 3, 0},
        {edNormal, "abcd", 1, 2, "XY", "aXYd", 1, 2},
        {edNormal, "ab", 2, 0, "word\r\n", "abword", 6, 0},
        {edNormal, "", 0, 0, "one\r\ntwo", "one\r\ntwo", 8, 0},
        {edNumeric, "1", 1, 0, "23", "123", 3, 0},
        {edNumeric, "1", 0, 0, "-", "-1", 1, 0},
        {edNumeric, "1", 1, 0, "x", "1", 2, 0},
        {edPositiveNumeric, "1", 0, 0, "-", "1", 1, 0},
        {edFloat, "1", 1, 0, ".5", "1.5", 3, 0},
        {edPositiveFloat, "1", 0, 0, "-", "1", 1, 0},
        {edUpperCase, "a", 1, 0, "bc", "ABC", 3, 0},
        {edLowerCase, "A", 1, 0, "BC", "abc", 3, 0},
        {edCapital, "a", 1, 0, "bc", "abc", 3, 0},
        {edValidChars, "a", 1, 0, "b", "a", 1, 0},
    };
    UseSeparators(PointDecimal);
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "type " << int(c.Type) << " clip " << c.Clip);
        TAdvInplaceEdit* e = Open(c.Type, c.Text, c.SelStart, c.SelLength);
        SetClipboard(c.Clip);
        SimulateKey(e, VK_INSERT, {ssShift});
        EXPECT_EQ(e->Text(), String(c.Result));
        EXPECT_EQ(e->SelStart(), std::min(c.ResultSelStart, int(e->Text().size())));
        EXPECT_EQ(e->SelLength(), c.ResultSelLength);
        // The cell follows the editor's text after every paste that reached the type rules.
        EXPECT_EQ(Grid->Cells(1, 1), String(c.Result));
    }
}

TEST_F(AdvInplaceEdit, PasteEventsAndTheLengthLimit) {
    String before, after;
    int afterCalls = 0;
    Grid->OnClipboardBeforePasteCell = [&](TObject*, int, int, String& Value, bool&) {
        before = Value;
        Value = Value + "!";
    };
    Grid->OnClipboardAfterPasteCell = [&](TObject*, int ACol, int ARow, const String& Value) {
        after = Value;
        ++afterCalls;
        EXPECT_EQ(ACol, 1);
        EXPECT_EQ(ARow, 1);
    };
    TAdvInplaceEdit* e = Open(edNormal, "a", 1);
    SetClipboard("b");
    SimulateKey(e, 'V', {ssCtrl});
    EXPECT_EQ(before, "b");
    EXPECT_EQ(e->Text(), "ab!");
    EXPECT_EQ(after, "ab!");

    // Refused by OnClipboardPaste: nothing changes and nothing more fires.
    Grid->OnClipboardPaste = [](TObject*, bool& Allow) { Allow = false; };
    SimulateKey(e, 'V', {ssCtrl});
    EXPECT_EQ(e->Text(), "ab!");
    EXPECT_EQ(afterCalls, 1);
    Grid->OnClipboardPaste = nullptr;

    // Longer than the limit, alone or with the text: refused whole.
    Grid->OnClipboardBeforePasteCell = nullptr;
    Grid->SetMaxEditLength(4);
    TAdvInplaceEdit* f = Open(edNormal, "abc", 3);
    SetClipboard("xyzuv");
    SimulateKey(f, 'V', {ssCtrl});
    EXPECT_EQ(f->Text(), "abc");
    SetClipboard("xy");
    SimulateKey(f, 'V', {ssCtrl});
    EXPECT_EQ(f->Text(), "abc");
    SetClipboard("x");
    SimulateKey(f, 'V', {ssCtrl});
    EXPECT_EQ(f->Text(), "abcx");
}

// With an empty ValidChars typing follows ValidCharSet, but a paste needs ValidChars.
TEST_F(AdvInplaceEdit, ValidCharsPasteRefusesEveryTextWhenValidCharsIsEmpty) {
    Grid->ValidCharSet.set('x');
    TAdvInplaceEdit* e = Open(edValidChars, "", 0);
    SetClipboard("x");
    SimulateKey(e, VK_INSERT, {ssShift});
    EXPECT_EQ(e->Text(), "");
    Type(e, "x");
    EXPECT_EQ(e->Text(), "x");
}

// ---- Lookup ----

TEST_F(AdvInplaceEdit, LookupCompletesFromTheFirstMatchingItemKeepingTheTypedCase) {
    Grid->Lookup = true;
    Grid->LookupItems()->Add("Alpha");
    Grid->LookupItems()->Add("alpine");
    TAdvInplaceEdit* e = Open(edNormal, "", 0);
    Type(e, "AL");
    EXPECT_EQ(e->Text(), "ALpha");
    EXPECT_EQ(e->SelStart(), 2);
    EXPECT_EQ(e->SelLength(), 3);
    // Backspace takes the completion away and completes nothing until the next key.
    SimulateKey(e, VK_BACK);
    EXPECT_EQ(e->Text(), "AL");
    EXPECT_EQ(e->SelLength(), 0);
    Type(e, "p");
    EXPECT_EQ(e->Text(), "ALpha");

    // Case-sensitive: "al" matches only alpine.
    Grid->LookupCaseSensitive = true;
    TAdvInplaceEdit* f = Open(edNormal, "", 0);
    Type(f, "al");
    EXPECT_EQ(f->Text(), "alpine");
}

// A key that types nothing (Home, Shift) never completes over text the user has typed: the text
// after the caret stays, and with the caret at the start the text is not replaced by an item.
TEST_F(AdvInplaceEdit, LookupKeepsTheTextAfterTheCaret) {
    Grid->Lookup = true;
    Grid->LookupItems()->Add("Alpha");
    TAdvInplaceEdit* e = Open(edNormal, "Alxyz", 2);
    SimulateKey(e, VK_SHIFT);
    EXPECT_EQ(e->Text(), "Alxyz");
    SimulateKey(e, VK_HOME);
    EXPECT_EQ(e->Text(), "Alxyz");
    EXPECT_EQ(e->SelStart(), 0);
}

TEST_F(AdvInplaceEdit, LookupHistoryKeepsTheTextWhenTheEditorIsLeft) {
    Grid->LookupHistory = true;
    Grid->LookupItems()->Add("one");
    TAdvInplaceEdit* e = Open(edNormal, "", 0);
    Type(e, "two");
    Other->SetFocus();
    Application->ProcessMessages();
    EXPECT_EQ(Grid->LookupItems()->Count(), 2);
    EXPECT_EQ(Grid->LookupItems()->Strings(1), "two");
}

// ---- Caret ----

TEST_F(AdvInplaceEdit, CaretAfterOpeningByKey) {
    Grid->Navigation()->EditSelectAll = false;
    TAdvInplaceEdit* e = Open(edNormal, "abcdef");
    EXPECT_EQ(e->SelStart(), 6);
    EXPECT_EQ(e->SelLength(), 0);
    Grid->HideEditor();
    Grid->Navigation()->EditSelectAll = true;
    e = Open(edNormal, "abcdef");
    EXPECT_EQ(e->SelStart(), 0);
    EXPECT_EQ(e->SelLength(), 6);
}

TEST_F(AdvInplaceEdit, CaretAtTheClickedCharacter) {
    Grid->SetCells(1, 1, "abcdefghij");
    Grid->SetColWidths(1, 150);
    const TRect r = Grid->CellRect(1, 1);
    // The click that starts the edit, just right of the sixth character's left edge.
    TAdvInplaceEdit* probe = Open(edNormal, "abcdefghij");
    const LRESULT pos = probe->Perform(EM_POSFROMCHAR, 5, 0);
    Grid->HideEditor();
    Grid->SetFocus();
    Application->ProcessMessages();
    const int x = r.Left + short(LOWORD(pos)) + 1, y = r.Top + r.Height() / 2;
    SimulateClick(Grid, x, y);
    Grid->LButFlg = true;
    TAdvInplaceEdit* e = Open(edNormal, "abcdefghij");
    EXPECT_EQ(e->SelStart(), 5);
    EXPECT_EQ(e->SelLength(), 0);
    EXPECT_FALSE(Grid->LButFlg);
}

TEST_F(AdvInplaceEdit, EditorCoversTheCellWithItsTextInset) {
    TAdvInplaceEdit* e = Open(edNormal, "abc");
    const TRect r = Grid->CellRect(1, 1);
    EXPECT_EQ(e->Left(), r.Left);
    EXPECT_EQ(e->Top(), r.Top);
    EXPECT_EQ(e->Width(), r.Width() - 1);
    EXPECT_EQ(e->Height(), r.Height() - 1);
    TRect fmt;
    e->Perform(EM_GETRECT, 0, LPARAM(&fmt));
    EXPECT_EQ(fmt.Left, 3);
    EXPECT_EQ(fmt.Top, 3);
}

// ---- Keys that validate ----

// A refused Enter keeps the editor open with the validated text, and the next validation still
// compares against the text from before the edit.
TEST_F(AdvInplaceEdit, RefusedEnterRestoresTheValidatedTextAndTheOldCellText) {
    Grid->Navigation()->EditSelectAll = false;
    Grid->Validator = [](String& Value) {
        Value = "fixed";
        return false;
    };
    TAdvInplaceEdit* e = Open(edNormal, "old", 3);
    Type(e, "x");
    Grid->FOldCellText = "old";
    Grid->FEditing = true;
    SimulateKey(e, VK_RETURN);
    EXPECT_EQ(Grid->Validations, 1);
    EXPECT_EQ(e->Text(), "fixed");
    EXPECT_EQ(e->SelStart(), 5);
    EXPECT_EQ(Grid->FOldCellText, "old");
    EXPECT_TRUE(e->Visible());
}

TEST_F(AdvInplaceEdit, EscPutsBackTheTextFromTheStartOfTheEdit) {
    Grid->Validator = [](String&) { return false; };
    TAdvInplaceEdit* e = Open(edNormal, "start", 5);
    Type(e, "1");
    SimulateKey(e, VK_RETURN);
    Type(e, "2");
    SimulateKey(e, VK_RETURN);
    SimulateKey(e, VK_ESCAPE);
    EXPECT_EQ(e->Text(), "start");
}

TEST_F(AdvInplaceEdit, CtrlEnterIsSwallowedUnlessTheGridAllowsIt) {
    Grid->SetWordWrap(false);
    Grid->Multilinecells = false;
    TAdvInplaceEdit* e = Open(edNormal, "ab", 2);
    SimulateKey(e, VK_RETURN, {ssCtrl});
    EXPECT_EQ(e->Text(), "ab");
    EXPECT_EQ(Grid->Validations, 0);
}

TEST_F(AdvInplaceEdit, LineFeedOnEnterTypesALineBreak) {
    Grid->Navigation()->LineFeedOnEnter = true;
    TAdvInplaceEdit* e = Open(edNormal, "ab", 2);
    SimulateKey(e, VK_RETURN);
    EXPECT_EQ(e->Text(), "ab\r\n");
    EXPECT_EQ(Grid->Validations, 0);
}

TEST_F(AdvInplaceEdit, WindowOnKeyPressClearingEnterKeepsTheEditorOpen) {
    int enters = 0;
    Grid->OnKeyPress = [&](TObject*, Char& Key) {
        if (Key == Char(13)) {
            ++enters;
            Key = Char(0);
        }
    };
    TAdvInplaceEdit* e = Open(edNormal, "ab", 2);
    SimulateKey(e, VK_RETURN);
    EXPECT_EQ(enters, 1);
    EXPECT_TRUE(e->Visible());
    EXPECT_EQ(e->Text(), "ab");
}

// ---- Focus loss ----

TEST_F(AdvInplaceEdit, FocusLossValidatesAndEndsTheEdit) {
    std::vector<String> done;
    Grid->OnEditingDone = [&](TObject*) { done.push_back("done"); };
    TAdvInplaceEdit* e = Open(edNormal, "a", 1);
    Type(e, "b");
    Other->SetFocus();
    Application->ProcessMessages();
    EXPECT_EQ(Grid->Validations, 1);
    EXPECT_FALSE(Grid->FEditing);
    EXPECT_FALSE(Grid->FEditMode);
}

TEST_F(AdvInplaceEdit, FocusLossWithARaisingValidationLeavesTheGridUsable) {
    Grid->OnCellValidate = [](TObject*, int, int, String&, bool&) { throw Exception("validation failed"); };
    TAdvInplaceEdit* e = Open(edNormal, "a", 1);
    Type(e, "b");
    EXPECT_THROW(e->Perform(WM_KILLFOCUS, WPARAM(Other->Handle()), 0), Exception);
    EXPECT_FALSE(Grid->FEditing);
    EXPECT_FALSE(Grid->FEditMode);
    EXPECT_FALSE(e->Visible());
    // The grid edits again.
    Grid->OnCellValidate = nullptr;
    TAdvInplaceEdit* again = Open(edNormal, "c", 1);
    ASSERT_NE(again, nullptr);
    EXPECT_TRUE(again->Visible());
    Type(again, "d");
    EXPECT_EQ(again->Text(), "cd");
}

} // namespace

// ---- The editor controls and the fixed-cell editors ----

namespace {

class TEditorsGrid : public TAdvStringGrid {
public:
    using TAdvStringGrid::FComboTrans;
    using TAdvStringGrid::FEditTrans;
    using TAdvStringGrid::TAdvStringGrid;
};

class GridEditorControls : public ::testing::Test {
protected:
    void SetUp() override {
        Form = new TForm(nullptr);
        Form->SetBounds(100, 100, 600, 400);
        Grid = new TEditorsGrid(Form);
        Grid->SetParent(Form);
        Grid->SetBounds(10, 10, 400, 250);
        Form->Show();
        Application->ProcessMessages();
    }
    void TearDown() override { TObject::Free(Form); }

    TForm* Form = nullptr;
    TEditorsGrid* Grid = nullptr;
};

} // namespace

TEST(GridEditorControlsLife, MadeBetweenTheArrowsAndTheMoveButtonAndFreedOnce) {
    std::vector<std::string> made, freed;
    TAdvStringGrid::LifeCycleTrace = [&](bool Created, const char* Name) {
        (Created ? made : freed).push_back(Name);
    };
    TObject::Free(new TAdvStringGrid(nullptr));
    TAdvStringGrid::LifeCycleTrace = nullptr;
    auto pos = [](const std::vector<std::string>& v, const char* n) {
        return int(std::find(v.begin(), v.end(), n) - v.begin());
    };
    const char* madeOrder[] = {"ArwR",    "EditCombo",   "EditTrans",  "ComboTrans", "EditCheck",
                               "EditBtn", "UnitEditBtn", "GridButton", "MoveButton"};
    for (size_t i = 1; i < std::size(madeOrder); ++i)
        EXPECT_LT(pos(made, madeOrder[i - 1]), pos(made, madeOrder[i])) << madeOrder[i];
    const char* freedOrder[] = {"FocusWindow", "EditCombo",   "EditTrans",  "ComboTrans", "EditCheck",
                                "EditBtn",     "UnitEditBtn", "GridButton", "MoveButton"};
    for (size_t i = 1; i < std::size(freedOrder); ++i)
        EXPECT_LT(pos(freed, freedOrder[i - 1]), pos(freed, freedOrder[i])) << freedOrder[i];
    for (const char* n : madeOrder) EXPECT_EQ(std::count(freed.begin(), freed.end(), n), 1) << n;
    // The editors made on first use are not made by the constructor.
    EXPECT_EQ(pos(made, "SpinEdit"), int(made.size()));
}

TEST_F(GridEditorControls, ConstructorEditorsAreHiddenChildrenOfTheGrid) {
    ASSERT_NE(Grid->Combobox(), nullptr);
    ASSERT_NE(Grid->BtnEdit(), nullptr);
    ASSERT_NE(Grid->BtnUnitEdit(), nullptr);
    for (TWinControl* c :
         {static_cast<TWinControl*>(Grid->Combobox()), static_cast<TWinControl*>(Grid->BtnEdit()),
          static_cast<TWinControl*>(Grid->BtnUnitEdit())}) {
        EXPECT_EQ(c->Parent(), Grid);
        EXPECT_FALSE(c->Visible());
        EXPECT_FALSE(c->Enabled());
    }
    EXPECT_EQ(Grid->BtnEdit()->ButtonCaption(), "...");
    // A drop-down editor is made on first use, hidden on the grid.
    for (TWinControl* c : {static_cast<TWinControl*>(Grid->MemoDropDown()),
                           static_cast<TWinControl*>(Grid->ColorPickerDropDown())}) {
        ASSERT_NE(c, nullptr);
        EXPECT_EQ(c->Parent(), Grid);
        EXPECT_FALSE(c->Visible());
    }
}

TEST_F(GridEditorControls, EditButtonClickShowsWhatOnEllipsClickGives) {
    int calls = 0;
    Grid->OnEllipsClick = [&](TObject*, int, int, String& S) {
        ++calls;
        S = S + "!";
    };
    TGridEditBtn* b = Grid->BtnEdit();
    b->SetText("value");
    b->OnClickBtn(b);
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(b->Text(), "value!");
    EXPECT_EQ(b->SelLength(), 6);
}

TEST_F(GridEditorControls, FixedCellEditRefusedAndAccepted) {
    Grid->SetColCount(4);
    Grid->SetRowCount(4);
    TGridTransEdit* e = Grid->FEditTrans.get();
    ASSERT_NE(e, nullptr);
    e->FCol = 2;
    e->FRow = 0;
    e->SetText("Header");
    e->SetVisible(true);
    bool accept = false;
    int done = 0;
    Grid->OnCellValidate = [&](TObject*, int ACol, int ARow, String& Value, bool& Valid) {
        EXPECT_EQ(ACol, 2);
        EXPECT_EQ(ARow, 0);
        Value = Value + "*";
        Valid = accept;
    };
    Grid->OnEditingDone = [&](TObject*) { ++done; };
    EXPECT_FALSE(e->StopEdit());
    EXPECT_TRUE(e->Visible());
    // The column follows; the header row cannot become current (the current-cell check refuses
    // fixed cells), so the row stays.
    EXPECT_EQ(Grid->Col(), 2);
    EXPECT_EQ(Grid->Row(), 1);
    EXPECT_EQ(Grid->Cells(2, 0), "");
    EXPECT_EQ(done, 0);
    accept = true;
    EXPECT_TRUE(e->StopEdit());
    EXPECT_FALSE(e->Visible());
    EXPECT_EQ(Grid->Cells(2, 0), "Header*");
    EXPECT_EQ(done, 1);

    // The combo ends the same way with its own text.
    TGridTransCombo* c = Grid->FComboTrans.get();
    c->FCol = 1;
    c->FRow = 0;
    c->SetText("Other");
    c->SetVisible(true);
    Grid->OnCellValidate = nullptr;
    EXPECT_TRUE(c->StopEdit());
    EXPECT_EQ(Grid->Cells(1, 0), "Other");
}
