// Rich text in the grid and custom editor links, driven as a user drives them: RTF cells moved
// between cells and rich edits, the in-place rich-text editor (empty and plain cells, Up and
// Down, growth while typing, raised and lowered selections), RTF cells measured and painted,
// and custom links in place and in their pop-up window (the keys that end them, placement, a
// click outside).
#include "AdvShownGridFixture.h"

#include "AdvRichEdit.h"
#include "EditLinks.h"
#include "GridOptions.h"
#include "GridStructure.h"
#include "RtfText.h"
#include "StdCtrls.h"
#include "TestSupport.h"

#include <QTextDocument>

#include <map>

namespace {

// A link over a plain edit; its key-down event reaches the link's key handler.
class TTestLink : public TEditLink {
public:
    using TEditLink::TEditLink;
    TWinControl* GetEditControl() override { return NoControl ? nullptr : Edit; }
    void CreateEditor(TWinControl* AParent) override {
        ++Created;
        if (NoControl) return;
        if (!Edit) {
            Edit = new TEdit(AParent);
            Edit->OnKeyDown = [this](TObject* Sender, Word& Key, TShiftState Shift) {
                EditKeyDown(Sender, Key, Shift);
            };
        }
        Edit->SetParent(AParent);
    }
    // Called from the control's own key event: the control is hidden and let go, and its owner
    // (the pop-up window) frees it later.
    void DestroyEditor() override {
        ++Destroyed;
        if (Edit) Edit->SetVisible(false);
        Edit = nullptr;
    }
    String GetEditorValue() override { return Edit ? Edit->Text() : String(); }
    void SetEditorValue(const String& s) override {
        if (Edit) Edit->SetText(s);
    }

    TEdit* Edit = nullptr;
    bool NoControl = false;
    int Created = 0;
    int Destroyed = 0;
};

class GridRichText : public AdvShownGridFixture {
protected:
    void SetUp() override {
        AdvShownGridFixture::SetUp();
        Grid->SetColCount(4);
        Grid->SetRowCount(8);
        Grid->SetDefaultColWidth(90);
        TGridOptions options = Grid->Options();
        options.insert(goEditing);
        Grid->SetOptions(options);
        Grid->OnGetEditorType = [this](TObject*, int, int, TEditorType& AEditor) { AEditor = Kind; };
        Grid->SetFocus();
        Drain();
    }
    void Open(TEditorType K, int ACol, int ARow, const String& Text) {
        Kind = K;
        Grid->SetCells(ACol, ARow, Text);
        Grid->SetCol(ACol);
        Grid->SetRow(ARow);
        Grid->SetFocus();
        SimulateKey(Grid, VK_F2);
        Drain();
    }
    static void Drain() {
        for (int i = 0; i < 5; ++i) Application->ProcessMessages();
    }
    // A key through the window messages a key press sends to a control laid over the grid.
    static void PressKey(TWinControl* Target, Word Key, TShiftState Shift = {}) {
        const HWND handle = Target->Handle();
        LPARAM data = 1;
        if (Shift.count(ssAlt)) data |= KF_ALTDOWN;
        TMessage cn(CN_KEYDOWN, Key, data);
        Target->Perform(cn);
        if (cn.Result == 0 && FindControl(handle) == Target) Target->Perform(WM_KEYDOWN, Key, data);
        if (FindControl(handle) == Target) Target->Perform(WM_KEYUP, Key, data | KF_UP);
    }
    // An RTF text made in a rich edit: "plain bold red" with bold and red runs.
    String FormattedRtf() {
        TAdvRichEdit* rich = Grid->RichEdit();
        rich->Clear();
        rich->SetText("plain bold red");
        rich->SetSelStart(6);
        rich->SetSelLength(4);
        rich->SelAttributes()->SetStyle({fsBold});
        rich->SetSelStart(11);
        rich->SetSelLength(3);
        rich->SelAttributes()->SetColor(clRed);
        return Grid->RichToString(rich);
    }

    TEditorType Kind = edNormal;
};

} // namespace

// ---------------------------------------------------------------------------------------------
// Cells and rich edits

TEST_F(GridRichText, TheRichEditTakesOnlyAGridAsOwner) {
    TComponent* other = new TComponent(nullptr);
    auto freeOther = FreeAtEnd(other);
    EXPECT_THROW(new TAdvRichEdit(other), EInvalidCast);
    auto* rich = new TAdvRichEdit(Grid);
    EXPECT_EQ(rich->Owner(), Grid);
    TObject::Free(rich);
}

TEST_F(GridRichText, RtfWrittenByTheGridReadsBackUnchanged) {
    TAdvRichEdit* rich = Grid->RichEdit();
    ASSERT_NE(rich, nullptr);
    struct Sample {
        const char* What;
        std::function<void(TAdvRichEdit*)> Format;
    };
    const Sample samples[] = {
        {"bold and red",
         [](TAdvRichEdit* R) {
             R->SetSelStart(0);
             R->SetSelLength(4);
             R->SelAttributes()->SetStyle({fsBold});
             R->SetSelStart(5);
             R->SetSelLength(3);
             R->SelAttributes()->SetColor(clRed);
         }},
        {"a font and a size",
         [](TAdvRichEdit* R) {
             R->SetSelStart(2);
             R->SetSelLength(6);
             R->SelAttributes()->SetName("Courier New");
             R->SetSelLength(0);
             R->SetSelStart(0);
             R->SetSelLength(3);
             R->SelAttributes()->SetSize(16);
         }},
        {"italic, underline, strike-out",
         [](TAdvRichEdit* R) {
             R->SetSelStart(0);
             R->SetSelLength(9);
             R->SelAttributes()->SetStyle({fsItalic, fsUnderline, fsStrikeOut});
         }},
        {"raised and lowered",
         [](TAdvRichEdit* R) {
             R->SetSelStart(1);
             R->SetSelLength(1);
             R->SelSuperscript();
             R->SetSelStart(3);
             R->SetSelLength(2);
             R->SelSubscript();
         }},
    };
    for (const Sample& s : samples) {
        SCOPED_TRACE(s.What);
        rich->Clear();
        rich->SetText("some text\r\nsecond line");
        s.Format(rich);
        const String rtf = Grid->RichToString(rich);
        ASSERT_TRUE(rtf.startsWith("{\\rtf"));
        Grid->RichToCell(1, 2, rich);
        EXPECT_EQ(Grid->Cells(1, 2), rtf);
        // Another rich edit loads the cell and gives the same RTF back.
        TAdvRichEdit* other = Grid->InplaceRichEdit();
        Grid->CellToRich(1, 2, other);
        EXPECT_EQ(other->Text(), "some text\r\nsecond line");
        EXPECT_EQ(Grid->RichToString(other), rtf);
        EXPECT_EQ(Grid->RichPlainText(rtf), "some text\r\nsecond line");
    }
    // An empty cell clears the rich edit.
    Grid->SetCells(1, 3, "");
    Grid->CellToRich(1, 3, rich);
    EXPECT_EQ(rich->Text(), "");
}

// ---------------------------------------------------------------------------------------------
// The in-place rich-text editor

TEST_F(GridRichText, EmptyPlainAndRtfCellsOpenAndCommit) {
    struct Case {
        const char* What;
        String Cell;
        String Shown;
    };
    const Case cases[] = {
        {"empty", "", ""},
        {"plain text, every character kept", QString::fromUtf8("caf\u00e9 \u20ac \u4e2d"),
         QString::fromUtf8("caf\u00e9 \u20ac \u4e2d")},
        {"text that only looks like RTF", "{not rtf}", "{not rtf}"},
        {"RTF", FormattedRtf(), "plain bold red"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.What);
        Open(edRichEdit, 1, 1, c.Cell);
        TAdvRichEdit* edit = Grid->InplaceRichEdit();
        ASSERT_NE(edit, nullptr);
        ASSERT_TRUE(Grid->EditMode());
        EXPECT_EQ(Grid->EditCtrl(), edit);
        EXPECT_TRUE(edit->Visible());
        EXPECT_FALSE(edit->Locked());
        EXPECT_EQ(edit->Text(), c.Shown);
        // The whole text is selected (Navigation.EditSelectAll).
        EXPECT_EQ(edit->SelLength(), c.Shown.length());
        Grid->HideInplaceEdit();
        Drain();
        EXPECT_FALSE(Grid->EditMode());
        EXPECT_FALSE(edit->Visible());
        // The cell holds RTF now, whose text is what was shown.
        EXPECT_TRUE(Grid->Cells(1, 1).startsWith("{\\rtf"));
        EXPECT_EQ(Grid->RichPlainText(Grid->Cells(1, 1)), c.Shown);
    }
}

TEST_F(GridRichText, UpAndDownLeaveTheEditorOnlyWithoutWrapping) {
    struct Case {
        bool WordWrap, Multiline;
        int RowAfterDown;
    };
    const Case cases[] = {{false, false, 3}, {true, false, 2}, {false, true, 2}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "word wrap " << c.WordWrap << ", multi-line " << c.Multiline);
        Grid->SetWordWrap(c.WordWrap);
        Grid->Multilinecells = c.Multiline;
        Open(edRichEdit, 1, 2, "one");
        TAdvRichEdit* edit = Grid->InplaceRichEdit();
        ASSERT_TRUE(edit->Focused());
        PressKey(edit, VK_DOWN);
        Drain();
        EXPECT_EQ(Grid->Row(), c.RowAfterDown);
        EXPECT_EQ(edit->Focused(), c.RowAfterDown == 2);
        Grid->HideInplaceEdit();
        Drain();
    }
}

TEST_F(GridRichText, TheRowGrowsWhileTypingAndNeverShrinks) {
    Grid->SizeWhileTyping()->Height = true;
    std::vector<int> sized;
    Grid->OnEndRowSize = [&](TObject* Sender, int ARow) {
        EXPECT_EQ(Sender, Grid);
        sized.push_back(ARow);
    };
    const int before = Grid->RowHeights(1);
    Open(edRichEdit, 1, 1, "x");
    TAdvRichEdit* edit = Grid->InplaceRichEdit();
    EXPECT_EQ(Grid->RowHeights(1), before) << "loading the cell does not grow the row";
    EXPECT_TRUE(sized.empty());
    // Four lines ask for more than the row has.
    edit->SetText("a\r\nb\r\nc\r\nd");
    Drain();
    const int grown = Grid->RowHeights(1);
    EXPECT_GT(grown, before);
    ASSERT_FALSE(sized.empty());
    EXPECT_EQ(sized.back(), 1);
    EXPECT_EQ(edit->Height(), grown - 1);
    // Fewer lines again: the row keeps its height.
    edit->SetText("a");
    Drain();
    EXPECT_EQ(Grid->RowHeights(1), grown);
    // A content taller than the grid leaves the row as it is.
    String tall;
    for (int i = 0; i < 40; ++i) tall += "line\r\n";
    edit->SetText(tall);
    Drain();
    EXPECT_EQ(Grid->RowHeights(1), grown);
    Grid->HideInplaceEdit();
}

TEST_F(GridRichText, SelectionsAreRaisedLoweredOrNormal) {
    Open(edRichEdit, 1, 1, "H2O x2");
    TAdvRichEdit* edit = Grid->InplaceRichEdit();
    edit->SetSelStart(1);
    edit->SetSelLength(1);
    struct Step {
        const char* What;
        std::function<void()> Do;
        bool Normal, Sub, Super;
    };
    const Step steps[] = {
        {"superscript", [&] { edit->SelSuperscript(); }, false, false, true},
        {"subscript", [&] { edit->SelSubscript(); }, false, true, false},
        {"normal", [&] { edit->SelNormal(); }, true, false, false},
        {"another raise",
         [&] {
             CHARFORMATW f;
             f.dwMask = CFM_OFFSET;
             f.yOffset = 60;
             edit->Perform(EM_SETCHARFORMAT, SCF_SELECTION, LPARAM(&f));
         },
         false, false, false},
    };
    for (const Step& s : steps) {
        SCOPED_TRACE(s.What);
        s.Do();
        EXPECT_EQ(edit->IsSelNormal(), s.Normal);
        EXPECT_EQ(edit->IsSelSubscript(), s.Sub);
        EXPECT_EQ(edit->IsSelSuperscript(), s.Super);
    }
    Grid->HideInplaceEdit();
}

TEST_F(GridRichText, SelectionChangesReachTheGridsEvent) {
    int changes = 0;
    Grid->OnRichEditSelectionChange = [&](TObject* Sender) {
        EXPECT_EQ(Sender, Grid);
        ++changes;
    };
    Open(edRichEdit, 1, 1, "some text");
    const int opened = changes;
    Grid->InplaceRichEdit()->SetSelStart(3);
    EXPECT_GT(changes, opened);
    Grid->HideInplaceEdit();
}

// ---------------------------------------------------------------------------------------------
// Measuring and painting

TEST_F(GridRichText, RtfCellsAreMeasuredAndPaintedInTheirOwnFont) {
    // A cell in Courier New 14 bold, measured and painted as that font draws the text.
    TAdvRichEdit* rich = Grid->RichEdit();
    rich->Clear();
    rich->SetText("Wide");
    rich->SetSelStart(0);
    rich->SetSelLength(4);
    rich->SelAttributes()->SetName("Courier New");
    rich->SelAttributes()->SetSize(14);
    rich->SelAttributes()->SetStyle({fsBold});
    rich->SelAttributes()->SetColor(clBlack);
    const String rtf = Grid->RichToString(rich);
    Grid->SetColWidths(1, 200);
    Grid->SetRowHeights(1, 40);
    Grid->SetCells(1, 1, rtf);
    Grid->SetCol(2);
    Grid->SetRow(3);

    TBitmap probe;
    probe.SetSize(300, 60);
    probe.Canvas()->Font()->SetName("Courier New");
    probe.Canvas()->Font()->SetSize(14);
    probe.Canvas()->Font()->SetStyle({fsBold});
    const int textWidth = probe.Canvas()->TextWidth("Wide");
    const int textHeight = probe.Canvas()->TextHeight("Wide");

    const TSize size = Grid->GetCellTextSize(1, 1, false, true);
    EXPECT_NEAR(size.cy, textHeight + 4, 3);
    Grid->SetWordWrap(false);
    const TSize unwrapped = Grid->GetCellTextSize(1, 1, false, true);
    EXPECT_NEAR(unwrapped.cx, textWidth, 3);

    // Painted: the inked columns of the cell match those of the same text drawn by the font.
    Grid->Invalidate();
    Drain();
    const TRect cell = Grid->CellRect(1, 1);
    const QImage shown = Grid->BackImage();
    auto inked = [](const QImage& Image, const TRect& R) {
        int left = -1, right = -1, count = 0;
        for (int x = R.Left; x < R.Right; ++x)
            for (int y = R.Top; y < R.Bottom; ++y)
                if (qGray(Image.pixel(x, y)) < 128) {
                    if (left < 0) left = x;
                    right = x;
                    ++count;
                }
        return std::tuple<int, int, int>(left - R.Left, right - R.Left, count);
    };
    probe.Canvas()->Brush()->SetColor(clWhite);
    probe.Canvas()->FillRect(TRect(0, 0, 300, 60));
    probe.Canvas()->TextOut(0, 0, "Wide");
    const auto [gl, gr, gn] =
        inked(shown, TRect(cell.Left + 1, cell.Top + 1, cell.Right - 1, cell.Bottom - 1));
    const auto [pl, pr, pn] = inked(probe.Image(), TRect(0, 0, 300, 60));
    ASSERT_GE(gl, 0) << "the cell shows text";
    EXPECT_NEAR(gr - gl, pr - pl, 2) << "as wide as the font draws it";
    EXPECT_NEAR(gn, pn, pn / 5) << "as much ink";
    EXPECT_NEAR(gl, Grid->XYOffset.X + pl, 2) << "inset by XYOffset";
}

// ---------------------------------------------------------------------------------------------
// Custom editor links

class GridEditLink : public GridRichText {
protected:
    void SetUp() override {
        GridRichText::SetUp();
        Link = new TTestLink(Form);
        Grid->EditLink = Link;
        for (int r = 1; r < Grid->RowCount(); ++r)
            for (int c = 1; c < Grid->ColCount(); ++c) Grid->SetCells(c, r, String("c%1r%2").arg(c).arg(r));
    }
    void TearDown() override {
        Grid->EditLink = nullptr;
        GridRichText::TearDown();
        // The pop-up window belongs to the application: it goes with the test.
        if (TComponent* popup = Application->FindComponent("gridform")) delete popup;
    }
    TTestLink* Link = nullptr;
};

// Committing a link asks the cell's editor kind again when drop-down buttons always show, so a
// kind that changed while the link was open is the one the grid goes on with.
TEST_F(GridEditLink, CommittingWithDropDownsAlwaysVisibleAsksTheKindAgain) {
    for (bool always : {false, true}) {
        SCOPED_TRACE(always ? "always visible" : "not always visible");
        Grid->ControlLook()->SetDropDownAlwaysVisible(always);
        Open(edCustom, 1, 2, "v");
        ASSERT_EQ(Grid->CurrentEditor(), edCustom);
        Kind = edComboList;
        Grid->HideInplaceEdit();
        Drain();
        EXPECT_EQ(Grid->CurrentEditor(), always ? edComboList : edCustom);
        EXPECT_EQ(Grid->Cells(1, 2), Link->GetEditorValue());
    }
}

TEST_F(GridEditLink, KeysEndTheEditUnlessTheLinkKeepsThem) {
    struct Case {
        const char* What;
        Word Key;
        TShiftState Shift;
        std::function<void(TEditLink*)> Keep; // the property that keeps the key, or none
        bool Ends;
        String Cell; // the cell's text afterwards ("typed" is what the editor holds)
        TPoint Current;
    };
    const auto none = [](TEditLink*) {};
    const Case cases[] = {
        {"Home", VK_HOME, {}, none, true, "typed", {1, 2}},
        {"End", VK_END, {}, none, true, "typed", {1, 2}},
        {"Home kept", VK_HOME, {}, [](TEditLink* L) { L->SetWantKeyHomeEnd(true); }, false, "c1r2", {1, 2}},
        {"End kept", VK_END, {}, [](TEditLink* L) { L->SetWantKeyHomeEnd(true); }, false, "c1r2", {1, 2}},
        {"a letter", 'A', {}, none, false, "c1r2", {1, 2}},
        {"Alt with a letter", 'A', {ssAlt}, none, true, "typed", {1, 2}},
        {"Alt+Up", VK_UP, {ssAlt}, none, true, "typed", {1, 1}},
        {"Alt+Up kept",
         VK_UP,
         {ssAlt},
         [](TEditLink* L) { L->SetWantKeyUpDown(true); },
         false,
         "c1r2",
         {1, 2}},
        {"Down", VK_DOWN, {}, none, true, "typed", {1, 3}},
        {"Right kept",
         VK_RIGHT,
         {},
         [](TEditLink* L) { L->SetWantKeyLeftRight(true); },
         false,
         "c1r2",
         {1, 2}},
        {"Page Down kept",
         VK_NEXT,
         {},
         [](TEditLink* L) { L->SetWantKeyPriorNext(true); },
         false,
         "c1r2",
         {1, 2}},
        {"Escape: the old text", VK_ESCAPE, {}, none, true, "c1r2", {1, 2}},
        {"Escape kept",
         VK_ESCAPE,
         {},
         [](TEditLink* L) { L->SetWantKeyEscape(true); },
         false,
         "c1r2",
         {1, 2}},
        {"Enter without AdvanceOnEnter", VK_RETURN, {}, none, true, "typed", {1, 2}},
        {"Enter kept", VK_RETURN, {}, [](TEditLink* L) { L->SetWantKeyReturn(true); }, false, "c1r2", {1, 2}},
        {"Tab without TabToNextAtEnd", VK_TAB, {}, none, true, "typed", {1, 2}},
        {"Tab kept", VK_TAB, {}, [](TEditLink* L) { L->SetWantTabs(true); }, false, "c1r2", {1, 2}},
    };
    Grid->Navigation()->AdvanceOnEnter = false;
    // With goTabs the grid's filter over the link's control lets Tab reach it.
    TGridOptions options = Grid->Options();
    options.insert(goTabs);
    Grid->SetOptions(options);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.What);
        auto* link = new TTestLink(Form);
        Grid->EditLink = link;
        c.Keep(link);
        Open(edCustom, 1, 2, "c1r2");
        ASSERT_TRUE(Grid->EditMode());
        ASSERT_NE(link->Edit, nullptr);
        EXPECT_TRUE(link->SubClassed());
        EXPECT_EQ(link->Grid(), Grid);
        EXPECT_EQ(link->EditCell(), TPoint(1, 2));
        EXPECT_EQ(link->Edit->Text(), "c1r2");
        link->Edit->SetText("typed");
        PressKey(link->Edit, c.Key, c.Shift);
        Drain();
        EXPECT_EQ(Grid->EditMode(), !c.Ends);
        EXPECT_EQ(link->Edit->Visible(), !c.Ends);
        EXPECT_EQ(link->SubClassed(), !c.Ends);
        EXPECT_EQ(Grid->Cells(1, 2), c.Cell);
        EXPECT_EQ(TPoint(Grid->Col(), Grid->Row()), c.Current);
        if (Grid->EditMode()) Grid->HideInplaceEdit();
        Drain();
        Grid->EditLink = Link;
        Grid->SetCells(1, 2, "c1r2");
    }
}

TEST_F(GridEditLink, TabToNextAtEndOpensTheNextCellsEditor) {
    Grid->Navigation()->TabToNextAtEnd = true;
    TGridOptions options = Grid->Options();
    options.insert(goTabs);
    Grid->SetOptions(options);
    Open(edCustom, 1, 2, "c1r2");
    Link->Edit->SetText("typed");
    PressKey(Link->Edit, VK_TAB);
    Drain();
    EXPECT_EQ(Grid->Cells(1, 2), "typed");
    EXPECT_EQ(TPoint(Grid->Col(), Grid->Row()), TPoint(2, 2));
    // The editor opened on the next cell with its text.
    EXPECT_TRUE(Grid->EditMode());
    EXPECT_EQ(Link->EditCell(), TPoint(2, 2));
    EXPECT_EQ(Link->Edit->Text(), "c2r2");
    Grid->HideInplaceEdit();
}

TEST_F(GridEditLink, ALinkWithoutControlOrNoLinkOpensNothing) {
    Link->NoControl = true;
    Open(edCustom, 1, 1, "kept");
    EXPECT_EQ(Link->Created, 1);
    EXPECT_FALSE(Grid->EditMode());
    EXPECT_FALSE(Grid->EditActive());
    // Without a control these do nothing.
    Link->SetVisible(true);
    Link->RestoreWinProc();
    Grid->EditLink = nullptr;
    Open(edCustom, 1, 1, "kept");
    EXPECT_FALSE(Grid->EditMode());
    EXPECT_EQ(Grid->Cells(1, 1), "kept");
}

TEST_F(GridEditLink, PopupPlacement) {
    struct Case {
        const char* What;
        int Left, Top;
        bool AutoWidth;
        int ColWidth;
    };
    const Case cases[] = {
        {"at the cell", -1, -1, false, 90},
        {"one coordinate unset: at the cell", 300, -1, false, 90},
        {"at the position given", 250, 180, false, 90},
        {"as wide as the cell", -1, -1, true, 130},
    };
    Link->SetEditStyle(esPopup);
    Link->SetPopupWidth(150);
    Link->SetPopupHeight(70);
    TForm* first = nullptr;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.What);
        Link->SetPopupLeft(c.Left);
        Link->SetPopupTop(c.Top);
        Link->SetAutoPopupWidth(c.AutoWidth);
        Grid->SetColWidths(2, c.ColWidth);
        Open(edCustom, 2, 3, "c2r3");
        TForm* popup = Link->PopupForm();
        ASSERT_NE(popup, nullptr);
        if (!first) first = popup;
        EXPECT_EQ(popup, first) << "a second open reuses the window";
        EXPECT_EQ(popup->Name(), "gridform");
        EXPECT_EQ(popup->Owner(), Application);
        EXPECT_TRUE(popup->Visible());
        EXPECT_EQ(popup->FormStyle(), fsStayOnTop);
        EXPECT_EQ(popup->BorderStyle(), bsNone);
        const TRect cell = Grid->CellRect(2, 3);
        const TPoint at = c.Left == -1 || c.Top == -1 ? Grid->ClientToScreen(TPoint(cell.Left, cell.Top))
                                                      : TPoint(c.Left, c.Top);
        EXPECT_EQ(TPoint(popup->Left(), popup->Top()), at);
        EXPECT_EQ(popup->Width(), c.AutoWidth ? cell.Width() : 150);
        EXPECT_EQ(popup->Height(), 70);
        ASSERT_NE(Link->Edit, nullptr);
        EXPECT_EQ(Link->Edit->Parent(), popup);
        EXPECT_EQ(Link->Edit->Text(), "c2r3");
        EXPECT_FALSE(Link->SubClassed()) << "a pop-up control keeps its own window procedure";
        // Enter commits, frees the control and hides the window.
        Link->Edit->SetText("new");
        PressKey(Link->Edit, VK_RETURN);
        Drain();
        EXPECT_EQ(Grid->Cells(2, 3), "new");
        EXPECT_FALSE(popup->Visible());
        EXPECT_EQ(Link->Edit, nullptr);
        EXPECT_EQ(Link->Destroyed, Link->Created);
    }
}

TEST_F(GridEditLink, AClickOutsideThePopupCommits) {
    Link->SetEditStyle(esPopup);
    Link->SetPopupWidth(120);
    Link->SetPopupHeight(60);
    EXPECT_FALSE(Grid->InvokedFocusChange);
    Open(edCustom, 1, 1, "c1r1");
    TForm* popup = Link->PopupForm();
    ASSERT_TRUE(popup && popup->Visible());
    Link->Edit->SetText("clicked away");
    // The user clicks the grid's form: the pop-up window is deactivated.
    Form->SetFocus();
    Drain();
    ProcessMessagesUntil([&] { return !popup->Visible(); }, 2000);
    EXPECT_FALSE(popup->Visible());
    EXPECT_EQ(Grid->Cells(1, 1), "clicked away");
    EXPECT_FALSE(Grid->EditMode());
    EXPECT_TRUE(Grid->InvokedFocusChange);
}

// ---------------------------------------------------------------------------------------------
// The markup-control editors

TEST_F(GridRichText, MarkupControlEditorsCommitOnEnterAndTab) {
    struct Case {
        const char* What;
        String Markup;
        Word Key;
        String Typed;
        bool Combo;
    };
    const Case cases[] = {
        {"an edit, Enter", "<CONTROL TYPE=\"EDIT\" ID=\"e1\" VALUE=\"abc\" WIDTH=\"80\">", VK_RETURN, "typed",
         false},
        {"an edit, Tab", "<CONTROL TYPE=\"EDIT\" ID=\"e1\" VALUE=\"abc\" WIDTH=\"80\">", VK_TAB, "tabbed",
         false},
        {"a combo, Enter", "<CONTROL TYPE=\"COMBO\" ID=\"c1\" VALUE=\"abc\" WIDTH=\"80\">", VK_RETURN,
         "chosen", true},
    };
    Grid->SetDefaultRowHeight(30);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.What);
        std::vector<String> done;
        Grid->OnControlEditDone = [&](TObject*, int, int, const String& ID, const String&,
                                      const String& Value) { done.push_back(ID + "=" + Value); };
        Grid->SetCells(1, 1, c.Markup);
        const TRect r = Grid->CellRect(1, 1);
        SimulateMouseDown(Grid, mbLeft, {}, r.Left + 10, r.Top + 8);
        SimulateMouseUp(Grid, mbLeft, {}, r.Left + 10, r.Top + 8);
        Drain();
        // The grid's own markup-control editor of the tag's kind.
        TWinControl* editor = nullptr;
        for (int i = 0; i < Grid->ComponentCount(); ++i) {
            TComponent* owned = Grid->Components(i);
            if (c.Combo ? dynamic_cast<TControlCombo*>(owned) != nullptr
                        : dynamic_cast<TControlEdit*>(owned) != nullptr)
                editor = static_cast<TWinControl*>(owned);
        }
        ASSERT_NE(editor, nullptr);
        ASSERT_TRUE(editor->Visible());
        EXPECT_EQ(editor->Parent(), Grid);
        // Enter and Tab are keys these editors take themselves.
        EXPECT_NE(editor->Perform(CM_WANTSPECIALKEY, VK_TAB, 0), 0);
        editor->SetText(c.Typed);
        editor->Perform(WM_CHAR, c.Key, 1);
        Drain();
        ASSERT_EQ(done.size(), 1u) << "committed once";
        EXPECT_EQ(done[0], String(c.Combo ? "c1=" : "e1=") + c.Typed);
        EXPECT_TRUE(Grid->Cells(1, 1).contains("VALUE=\"" + c.Typed + "\""))
            << Grid->Cells(1, 1).toStdString();
        EXPECT_FALSE(editor->Visible());
        Grid->OnControlEditDone = nullptr;
    }
}

// A click opens the control under it; Tab (without AdvanceAuto) goes on to the next editable
// control of the same cell, past a check box, and Tab after the last gives the focus back to the
// grid.
TEST_F(GridRichText, KeysWalkTheEditableControlsOfACell) {
    Grid->SetDefaultRowHeight(30);
    Grid->SetDefaultColWidth(260);
    Grid->SetCells(1, 1,
                   "<CONTROL TYPE=\"EDIT\" ID=\"a\" VALUE=\"one\" WIDTH=\"60\"> "
                   "<CONTROL TYPE=\"CHECK\" ID=\"k\" VALUE=\"TRUE\"> "
                   "<CONTROL TYPE=\"EDIT\" ID=\"b\" VALUE=\"two\" WIDTH=\"60\">");
    std::vector<String> done;
    Grid->OnControlEditDone = [&](TObject*, int, int, const String& ID, const String&, const String& Value) {
        done.push_back(ID + "=" + Value);
    };
    TControlEdit* edit = nullptr;
    for (int i = 0; i < Grid->ComponentCount(); ++i)
        if (auto* e = dynamic_cast<TControlEdit*>(Grid->Components(i))) edit = e;
    ASSERT_NE(edit, nullptr);
    const TRect r = Grid->CellRect(1, 1);
    SimulateMouseDown(Grid, mbLeft, {}, r.Left + 10, r.Top + 8);
    SimulateMouseUp(Grid, mbLeft, {}, r.Left + 10, r.Top + 8);
    Drain();
    ASSERT_TRUE(edit->Visible());
    EXPECT_EQ(edit->Text(), "one");
    const int firstLeft = edit->Left();
    edit->SetText("1");
    edit->Perform(WM_CHAR, VK_TAB, 1);
    Drain();
    ASSERT_TRUE(edit->Visible()) << "the next edit control of the cell is open";
    EXPECT_EQ(edit->Text(), "two");
    EXPECT_GT(edit->Left(), firstLeft);
    edit->SetText("2");
    edit->Perform(WM_CHAR, VK_TAB, 1);
    Drain();
    EXPECT_FALSE(edit->Visible());
    EXPECT_EQ(done, (std::vector<String>{"a=1", "b=2"}));
    EXPECT_TRUE(Grid->Cells(1, 1).contains("VALUE=\"1\""));
    EXPECT_TRUE(Grid->Cells(1, 1).contains("VALUE=\"2\""));
    Grid->OnControlEditDone = nullptr;
}

TEST_F(GridEditLink, TwoPopupLinksShareTheWindowNameWithoutDanglingWindows) {
    // Each link's first pop-up open frees the window named "gridform" another link made.
    auto* second = new TTestLink(Form);
    for (TTestLink* link : {Link, second}) {
        link->SetEditStyle(esPopup);
        link->SetPopupWidth(100);
        link->SetPopupHeight(50);
    }
    for (TTestLink* link : {Link, second, Link}) {
        Grid->EditLink = link;
        Open(edCustom, 1, 1, "v");
        ASSERT_NE(link->PopupForm(), nullptr);
        EXPECT_TRUE(link->PopupForm()->Visible());
        EXPECT_EQ(Application->FindComponent("gridform"), link->PopupForm());
        PressKey(link->Edit, VK_RETURN);
        Drain();
    }
    EXPECT_EQ(second->PopupForm(), nullptr) << "its window was freed by the other link";
    // A link freed with its window still there: the window no longer reaches it.
    TForm* popup = Link->PopupForm();
    ASSERT_NE(popup, nullptr);
    Grid->EditLink = nullptr;
    TObject::Free(Link);
    Link = nullptr;
    popup->Show();
    Form->SetFocus();
    Drain();
    SUCCEED();
}

TEST_F(GridRichText, SelectedRtfCellsTakeTheSelectionTextColourUnlessKept) {
    // A black RTF text in a cell of a selected range other than the current cell.
    TAdvRichEdit* rich = Grid->RichEdit();
    rich->Clear();
    rich->SetText("MMMM");
    const String rtf = Grid->RichToString(rich);
    Grid->SetCells(2, 2, rtf);
    Grid->SetSelectionTextColor(clRed);
    struct Case {
        bool Selected, Keep, Red;
    };
    const Case cases[] = {{true, false, true}, {true, true, false}, {false, false, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "selected " << c.Selected << ", kept " << c.Keep);
        Grid->SelectionRTFKeep = c.Keep;
        Grid->SetCol(1);
        Grid->SetRow(c.Selected ? 1 : 4);
        Grid->SetSelection(c.Selected ? TGridRect{1, 1, 3, 3} : TGridRect{1, 4, 1, 4});
        TBitmap canvas;
        canvas.SetSize(90, 30);
        canvas.Canvas()->Brush()->SetColor(clWhite);
        canvas.Canvas()->FillRect(TRect(0, 0, 90, 30));
        Grid->DrawRichCell(2, 2, TRect(0, 0, 90, 30), canvas.Canvas());
        bool red = false, ink = false; // red pixels, black pixels
        const QImage image = canvas.Image();
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x) {
                const QColor px = image.pixelColor(x, y);
                if (px.red() > 150 && px.green() < 80 && px.blue() < 80) red = true;
                if (px.red() < 80 && px.green() < 80 && px.blue() < 80) ink = true;
            }
        EXPECT_EQ(red, c.Red);
        EXPECT_EQ(ink, !c.Red) << "otherwise the text's own black";
        // The cell keeps its RTF: the colour is the painting's only.
        EXPECT_EQ(Grid->Cells(2, 2), rtf);
    }
}

TEST_F(GridRichText, RichToStringWhileTheGridIsDestroyedIsEmpty) {
    TAdvRichEdit* rich = Grid->RichEdit();
    rich->SetText("text");
    ASSERT_FALSE(Grid->RichToString(rich).isEmpty());
    Grid->Destroying();
    EXPECT_EQ(Grid->RichToString(rich), "");
}

TEST_F(GridEditLink, LeavingAnActivePopupByKeyStoresTheValueOnce) {
    // The pop-up window is the active form when a key ends the edit: hiding it deactivates it,
    // which must not commit again (the control is gone by then).
    struct Case {
        const char* What;
        Word Key;
        bool TabToNextAtEnd;
        TPoint Current;
    };
    const Case cases[] = {
        {"Enter", VK_RETURN, false, {1, 1}},
        {"Page Down", VK_NEXT, false, {1, 1}},
    };
    TGridOptions options = Grid->Options();
    options.insert(goTabs);
    Grid->SetOptions(options);
    Link->SetEditStyle(esPopup);
    Link->SetPopupWidth(100);
    Link->SetPopupHeight(40);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.What);
        Grid->Navigation()->TabToNextAtEnd = c.TabToNextAtEnd;
        Grid->SetCells(1, 1, "c1r1");
        Grid->SetCells(2, 1, "c2r1");
        Open(edCustom, 1, 1, "c1r1");
        TForm* popup = Link->PopupForm();
        ASSERT_TRUE(popup && Link->Edit);
        Link->Edit->SetFocus();
        Drain();
        ASSERT_EQ(Screen->ActiveForm(), popup);
        Link->Edit->SetText("typed");
        PressKey(Link->Edit, c.Key);
        Drain();
        EXPECT_EQ(Grid->Cells(1, 1), "typed");
        EXPECT_EQ(TPoint(Grid->Col(), Grid->Row()), c.Current);
        EXPECT_EQ(Grid->Cells(2, 1), "c2r1");
        EXPECT_FALSE(Grid->EditMode());
        EXPECT_FALSE(popup->Visible());
    }
}
