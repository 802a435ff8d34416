// The grid drop-down on a real form: the popup grid filled from the items (each data row carrying
// its item as the object of column 0), the typed search of each lookup method and style in the
// open popup and in the edit, the rows of a grid filled by the application (UseItems off), the
// commit right after opening, the item kept through a reordering of the rows, the blocked popup
// activation around the grid's click events, editable cells, the styles and the height snapping.
#include "AdvGridDropDown.h"

#include "DropDownTestSupport.h"
#include "StdCtrls.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

namespace {

using namespace AdvGridDropDown;

class GridDropDown : public DropDownFormTest {
protected:
    void SetUp() override {
        DropDownFormTest::SetUp();
        DD = new TAdvGridDropDown(Form);
        DD->SetParent(Form);
        DD->SetBounds(20, 30, 200, 21);
        DD->OnSelect = [this](TObject*) { ++Selects; };
        DD->SetFocus();
    }
    void AddColumns(std::initializer_list<const char16_t*> Headers) {
        for (const char16_t* h : Headers) {
            TDropDownColumn* c = DD->Columns()->Add();
            c->SetHeader(String::fromUtf16(h));
            c->SetWidth(80);
        }
    }
    TDropDownItem* AddItem(std::initializer_list<const char16_t*> Texts) {
        TDropDownItem* item = DD->Items()->Add();
        for (const char16_t* t : Texts) item->Text()->Add(String::fromUtf16(t));
        return item;
    }
    void AddFruit() {
        AddColumns({u"Name", u"Colour"});
        DD->BeginUpdate();
        AddItem({u"Apple", u"red"});
        AddItem({u"Apricot", u"orange"});
        AddItem({u"Banana", u"yellow"});
        DD->EndUpdate();
    }
    void Open() {
        Tick += 1000;
        DD->ShowDropDown();
        ASSERT_TRUE(DD->DroppedDown());
    }
    void TypeInto(TWinControl* Target, const char* Text) {
        for (const char* p = Text; *p; ++p)
            SimulateKey(Target, Word(QChar(*p).toUpper().unicode()), {}, Char(char16_t(*p)));
    }
    TAdvColGrid* Grid() const { return DD->GetGrid(); }
    int ObjectAt(int Row) const { return int(qintptr(Grid()->GetObjectEx(0, Row))); }

    TAdvGridDropDown* DD = nullptr;
    int Selects = 0;
};

TEST_F(GridDropDown, ANewControlHasItsDefaults) {
    EXPECT_TRUE(DD->UseItems());
    EXPECT_EQ(DD->LookupMethod(), lmLookup);
    EXPECT_EQ(DD->Style(), dsDropDown);
    EXPECT_EQ(DD->Sorting(), gsNone);
    EXPECT_TRUE(DD->AutoSizeColumns());
    EXPECT_TRUE(DD->RowSelect());
    EXPECT_FALSE(DD->GridEditable());
    EXPECT_EQ(DD->LineColor(), TColor(0xF1EDEB));
    EXPECT_EQ(DD->FixedLineColor(), TColor(0xD1BBA4));
    EXPECT_EQ(DD->HoverRowColor(), clInfoBk);
    EXPECT_EQ(DD->Navigation()->HomeEndKey, heFirstLastRow);
    EXPECT_EQ(Grid()->Navigation()->HomeEndKey, heFirstLastRow);
    EXPECT_EQ(DD->GetVersionNr(), 0x06000101);
    EXPECT_EQ(DD->Version(), QStringLiteral("6.0.1.1"));
    EXPECT_EQ(DD->Columns()->Count(), 0);
    DD->SetStyle(dsDropDownList);
    EXPECT_FALSE(DD->EditorEnabled());
}

TEST_F(GridDropDown, TheGridIsFilledFromTheItemsWithTheItemAsRowObject) {
    AddFruit();
    AddItem({u"Cherry"}); // fewer texts than columns
    Grid()->FillFromItems();
    EXPECT_EQ(Grid()->RowCount(), 5);
    EXPECT_EQ(Grid()->Cells(0, 0), QStringLiteral("Name"));
    EXPECT_EQ(Grid()->Cells(1, 0), QStringLiteral("Colour"));
    EXPECT_EQ(ObjectAt(0), -1);
    EXPECT_EQ(int(qintptr(Grid()->GetObjectEx(1, 0))), -1);
    for (int i = 0; i < 4; ++i) EXPECT_EQ(ObjectAt(i + 1), i);
    EXPECT_EQ(Grid()->Cells(1, 2), QStringLiteral("orange"));
    EXPECT_TRUE(Grid()->Cells(1, 4).isEmpty());
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(DD->RowToItem(i + 1), i);
        EXPECT_EQ(DD->ItemToRow(i), i + 1);
    }
}

TEST_F(GridDropDown, EnterRightAfterOpeningCommitsTheCurrentRow) {
    AddFruit();
    DD->SetItemIndex(1);
    Open();
    EXPECT_EQ(Grid()->Row(), 2);
    EXPECT_EQ(Grid()->RowCount(), 4);
    SimulateKey(Grid(), VK_RETURN);
    EXPECT_FALSE(DD->DroppedDown());
    EXPECT_EQ(DD->ItemIndex(), 1);
    EXPECT_EQ(DD->EditText(), QStringLiteral("Apricot"));
    EXPECT_EQ(Selects, 1);
    // Enter reaching the edit closes the popup through the commit of the last reported row,
    // which starts as the placed current row, not the first data row.
    Open();
    EXPECT_EQ(Grid()->Row(), 2);
    SimulateKey(DD, VK_RETURN);
    EXPECT_FALSE(DD->DroppedDown());
    EXPECT_EQ(DD->ItemIndex(), 1);
    // Moving first commits the row moved to.
    Open();
    SimulateKey(Grid(), VK_DOWN);
    EXPECT_EQ(DD->ItemIndex(), 2);
    SimulateKey(Grid(), VK_RETURN);
    EXPECT_EQ(DD->ItemIndex(), 2);
    EXPECT_EQ(DD->EditText(), QStringLiteral("Banana"));
}

TEST_F(GridDropDown, AReorderingOfTheRowsKeepsTheItemAndTheCommitYieldsTheItem) {
    AddFruit();
    DD->SetItemIndex(0);
    Open();
    // What a sort does to the rows: Banana first, Apple last, the objects moving along.
    bool doSort = true;
    Grid()->OnCanSort(Grid(), 0, doSort);
    for (int c = 0; c < 2; ++c) {
        const String first = Grid()->Cells(c, 1);
        Grid()->SetCellEx(c, 1, Grid()->Cells(c, 3));
        Grid()->SetCellEx(c, 3, first);
    }
    Grid()->SetObjectEx(0, 1, 2);
    Grid()->SetObjectEx(0, 3, 0);
    Grid()->OnClickSort(Grid(), 0);
    EXPECT_EQ(Grid()->Row(), 3); // Apple's row, now the last
    EXPECT_EQ(DD->ItemIndex(), 0);
    SimulateKey(Grid(), VK_UP); // onto Apricot's row
    SimulateKey(Grid(), VK_UP); // onto Banana's row
    EXPECT_EQ(Grid()->Row(), 1);
    SimulateKey(Grid(), VK_RETURN);
    EXPECT_EQ(DD->ItemIndex(), 2); // the item, not the row
    EXPECT_EQ(DD->EditText(), QStringLiteral("Banana"));
}

TEST_F(GridDropDown, TypingIntoTheOpenPopupSearchesByMethodAndStyle) {
    struct Case {
        TLookupMethod Method;
        TDropDownStyle Style;
        const char* Typed;
        int Row;           // the current row afterwards
        const char* Entry; // the search text afterwards
    };
    const Case cases[] = {
        {lmNone, dsDropDown, "ba", 1, ""},
        {lmLookup, dsDropDown, "ba", 3, "ba"},
        {lmLookup, dsDropDown, "bax", 3, ""}, // a failed search in the popup clears it
        {lmLookup, dsDropDownList, "ba", 3, "ba"},
        {lmLookup, dsDropDownList, "ab", 3, "b"}, // restarts from the single character
        {lmLookup, dsDropDownList, "bax", 3, ""}, // cleared when that alone finds nothing
        {lmLookup, dsDropDown, "ap", 1, "ap"},
        {lmLookup, dsDropDown, "apr", 2, "apr"},
    };
    AddFruit();
    for (const Case& c : cases) {
        DD->SetLookupMethod(c.Method);
        DD->SetStyle(c.Style);
        DD->SetItemIndex(0);
        Open();
        TypeInto(Grid(), c.Typed);
        EXPECT_EQ(Grid()->Row(), c.Row) << c.Method << " " << c.Style << " " << c.Typed;
        EXPECT_EQ(DD->LookupEntry(), QString::fromLatin1(c.Entry))
            << c.Method << " " << c.Style << " " << c.Typed;
        // Esc in the popup closes it and clears the search text, which otherwise lives on.
        SimulateKey(Grid(), VK_ESCAPE);
        EXPECT_FALSE(DD->DroppedDown());
        EXPECT_TRUE(DD->LookupEntry().isEmpty());
    }
}

TEST_F(GridDropDown, TypingIntoTheEditGrowsOrRestartsTheSearchText) {
    AddFruit();
    // The edit's own completion works in every method; lmNone builds no search text.
    DD->SetLookupMethod(lmNone);
    TypeInto(DD, "b");
    EXPECT_EQ(DD->EditText(), QStringLiteral("banana"));
    EXPECT_TRUE(DD->LookupEntry().isEmpty());
    SimulateKey(DD, VK_ESCAPE);
    // dsDropDown: a failed search keeps growing.
    DD->SetLookupMethod(lmLookup);
    DD->SetText(String());
    DD->SetFocus();
    TypeInto(DD, "bx");
    EXPECT_EQ(DD->LookupEntry(), QStringLiteral("bx"));
    TypeInto(DD, "y");
    EXPECT_EQ(DD->LookupEntry(), QStringLiteral("bxy"));
    // dsDropDownList: a failed search restarts from the typed character.
    DD->SetStyle(dsDropDownList);
    DD->SetFocus();
    TypeInto(DD, "a");
    EXPECT_EQ(DD->LookupEntry(), QStringLiteral("a"));
    EXPECT_EQ(DD->EditText(), QStringLiteral("Apple"));
    TypeInto(DD, "x");
    EXPECT_TRUE(DD->LookupEntry().isEmpty());
}

TEST_F(GridDropDown, ABlankNarrowDownTextOrEnteringTheEditClearsTheSearch) {
    AddFruit();
    DD->SetLookupMethod(lmNarrowDown);
    Open();
    SimulateKey(Grid(), VK_SPACE, {}, Char(u' '));
    EXPECT_EQ(DD->LookupEntry(), QStringLiteral(" "));
    EXPECT_EQ(Grid()->Row(), 1); // the first data row
    SimulateKey(Grid(), 'B', {}, Char(u'b'));
    EXPECT_EQ(DD->LookupEntry(), QStringLiteral(" b"));
    DD->HideDropDown(true);
    EXPECT_EQ(DD->LookupEntry(), QStringLiteral(" b"));
    // Entering the edit again starts afresh.
    auto* other = new TEdit(Form);
    other->SetParent(Form);
    other->SetBounds(20, 80, 100, 21);
    other->SetFocus();
    DD->SetFocus();
    EXPECT_TRUE(DD->LookupEntry().isEmpty());
}

// Typing with the narrow-down lookup keeps the rows whose lookup column holds the typed text,
// without regard to case.
TEST_F(GridDropDown, NarrowDownKeepsTheRowsHoldingTheTypedText) {
    AddFruit();
    DD->SetLookupMethod(lmNarrowDown);
    Open();
    auto shown = [&] {
        std::vector<String> v;
        for (int r = Grid()->FixedRows(); r < Grid()->RowCount(); ++r) v.push_back(Grid()->Cells(0, r));
        return v;
    };
    SimulateKey(Grid(), 'A', {}, Char(u'a'));
    EXPECT_EQ(shown(), (std::vector<String>{"Apple", "Apricot", "Banana"}));
    SimulateKey(Grid(), 'P', {}, Char(u'p'));
    EXPECT_EQ(shown(), (std::vector<String>{"Apple", "Apricot"}));
    SimulateKey(Grid(), 'R', {}, Char(u'r'));
    EXPECT_EQ(shown(), (std::vector<String>{"Apricot"}));
}

TEST_F(GridDropDown, WithoutItemsTheApplicationsRowsAreTheChoices) {
    AddColumns({u"Code", u"Name"});
    DD->SetUseItems(false);
    DD->SetLookupColumn(1);
    TAdvColGrid* g = Grid();
    g->SetColCount(2);
    g->SetRowCount(5);
    const char16_t* names[] = {u"alpha", u"beta", u"gamma", u"delta"};
    for (int r = 1; r < 5; ++r) {
        g->SetCells(0, r, QString::number(r));
        g->SetCells(1, r, String::fromUtf16(names[r - 1]));
    }
    EXPECT_EQ(DD->GetItemCount(), 4);
    DD->SetItemIndex(2);
    EXPECT_EQ(DD->EditText(), QStringLiteral("gamma"));
    DD->SetItemIndex(-1);
    EXPECT_TRUE(DD->EditText().isEmpty());
    String match;
    int row = -1;
    EXPECT_TRUE(DD->FindLookupMatch(QStringLiteral("DE"), match, row));
    EXPECT_EQ(row, 4);
    EXPECT_EQ(match, QStringLiteral("delta"));
    // A word-wrapped column with more rows than items opens.
    DD->Columns()->Items(1)->SetWordwrap(true);
    DD->SetText(QStringLiteral("beta"));
    Open();
    EXPECT_EQ(g->Row(), 2);
    EXPECT_GE(g->RowHeights(4), 24);
    SimulateKey(g, VK_DOWN);
    SimulateKey(g, VK_RETURN);
    EXPECT_EQ(DD->ItemIndex(), 2);
    EXPECT_EQ(DD->EditText(), QStringLiteral("gamma"));
}

TEST_F(GridDropDown, WithoutItemsAutoSizeSizesEveryColumnToItsCells) {
    DD->SetUseItems(false);
    DD->SetColumnSizeWithDropDown(false); // keep the sized widths on screen
    TAdvColGrid* g = Grid();
    g->SetColCount(2);
    g->SetRowCount(3);
    g->SetCells(0, 1, QStringLiteral("x"));
    g->SetCells(1, 1, QStringLiteral("a much longer text than the other column holds"));
    g->SetCells(1, 2, QStringLiteral("short"));
    Open();
    TBitmap measure(1, 1);
    measure.Canvas()->Font()->Assign(g->Font());
    const int longWidth = measure.Canvas()->TextWidth(g->Cells(1, 1));
    EXPECT_GE(g->ColWidths(1), longWidth + 4);
    EXPECT_LT(g->ColWidths(0), g->ColWidths(1));
    EXPECT_EQ(DD->Columns()->Count(), 2); // columns added for the grid's
    DD->HideDropDown(true);
}

TEST_F(GridDropDown, TheGridsClickEventsRunWithThePopupActivationBlocked) {
    AddFruit();
    bool blocked = false;
    DD->OnGridEllipsClick = [&](TObject*, int, int, String&) {
        blocked = DD->DropDownForm()->BlockActivate();
    };
    int anchors = 0, hints = 0;
    DD->OnGridAnchorClick = [&](TObject*, int, int, const String&, bool&) {
        anchors += DD->DropDownForm()->BlockActivate() ? 1 : 0;
    };
    DD->OnGridHint = [&](TObject*, int, int, String&) { ++hints; };
    Open();
    String s;
    Grid()->OnEllipsClick(Grid(), 0, 1, s);
    EXPECT_TRUE(blocked);
    EXPECT_FALSE(DD->DropDownForm()->BlockActivate());
    bool autoHandle = true;
    Grid()->OnAnchorClick(Grid(), 1, 0, QStringLiteral("x"), autoHandle);
    EXPECT_EQ(anchors, 1);
    String hint;
    Grid()->OnGridHint(Grid(), 1, 0, hint);
    EXPECT_EQ(hints, 1);
    EXPECT_TRUE(DD->DroppedDown());
    // The alignment and colour events start from the column's settings.
    DD->Columns()->Items(1)->SetAlignment(taRightJustify);
    DD->HideDropDown(true);
    Open();
    TAlignment align = taLeftJustify;
    TVAlignment valign = vtaCenter;
    Grid()->OnGetAlignment(Grid(), 1, 1, align, valign);
    EXPECT_EQ(align, taRightJustify);
    DD->HideDropDown(true);
}

TEST_F(GridDropDown, AnEditableGridCommitsTheCellWithoutClosing) {
    AddFruit();
    DD->SetGridEditable(true);
    DD->SetRowSelect(false); // whole-row selection shows no cell editor
    Open();
    EXPECT_TRUE(Grid()->HasOption(goEditing));
    // Choosing a row keeps the popup open.
    SimulateKey(Grid(), VK_DOWN);
    EXPECT_EQ(DD->ItemIndex(), 1);
    EXPECT_TRUE(DD->DroppedDown());
    Grid()->SetCells(0, 2, QStringLiteral("Apricots"));
    SimulateKey(Grid(), VK_F2);
    ASSERT_TRUE(Grid()->EditMode() || Grid()->EditorMode());
    SimulateKeyDown(DD, VK_RETURN);
    EXPECT_TRUE(DD->DroppedDown());
    EXPECT_FALSE(Grid()->EditMode());
    EXPECT_EQ(DD->EditText(), QStringLiteral("Apricots"));
    EXPECT_EQ(DD->ItemIndex(), 1);
    DD->HideDropDown(true);
}

TEST_F(GridDropDown, OnlyALeftClickOnAPlainDataCellChooses) {
    AddFruit();
    DD->SetItemIndex(0);
    Open();
    EXPECT_EQ(Grid()->LeftCol(), 0);
    EXPECT_EQ(Grid()->ColWidths(0) + Grid()->ColWidths(1), Grid()->ClientWidth()); // no border
    Grid()->AddCheckBox(1, 2, false, false);
    ASSERT_TRUE(Grid()->HasCheckBox(1, 2));
    const TRect box = Grid()->CellRect(1, 2);
    SimulateClick(Grid(), box.Left + 3, box.Top + box.Height() / 2);
    EXPECT_TRUE(DD->DroppedDown()); // a check-box cell chooses nothing
    EXPECT_EQ(Selects, 0);
    const TRect third = Grid()->CellRect(0, 3);
    SimulateClick(Grid(), third.Left + 5, third.Top + 5, mbRight);
    EXPECT_TRUE(DD->DroppedDown()); // nor does a right click
    EXPECT_EQ(Selects, 0);
    SimulateClick(Grid(), third.Left + 5, third.Top + 5);
    EXPECT_FALSE(DD->DroppedDown());
    EXPECT_EQ(DD->ItemIndex(), 2);
    EXPECT_EQ(Selects, 1);
}

TEST_F(GridDropDown, EnterInAnEditableGridChoosesWithoutOpeningAnEditor) {
    AddFruit();
    DD->SetGridEditable(true);
    DD->SetRowSelect(false);
    Open();
    SimulateKey(Grid(), VK_DOWN);
    SimulateKey(Grid(), VK_RETURN);
    EXPECT_FALSE(Grid()->EditMode());
    EXPECT_EQ(Grid()->Row(), 2); // no advance to the next row
    EXPECT_TRUE(DD->DroppedDown());
    EXPECT_EQ(DD->ItemIndex(), 1);
    EXPECT_EQ(Selects, 1);
    DD->HideDropDown(true);
}

TEST_F(GridDropDown, BadSettingsOpenAndSearchWithoutFault) {
    struct Case {
        const char* Name;
        int Columns, Items, RowHeight, LookupColumn;
        TLookupMethod Method;
    };
    const Case cases[] = {
        {"no items", 2, 0, 22, 0, lmLookup},
        {"no columns", 0, 3, 22, 0, lmLookup},
        {"row height 0", 2, 3, 0, 0, lmNarrowDown},
        {"negative lookup column", 2, 3, 22, -1, lmLookup},
        {"lookup column beyond the texts", 2, 3, 22, 5, lmNarrowDown},
    };
    for (const Case& c : cases) {
        DD->Columns()->Clear();
        DD->Items()->Clear();
        for (int i = 0; i < c.Columns; ++i) DD->Columns()->Add()->SetWordwrap(true);
        for (int i = 0; i < c.Items; ++i) AddItem({u"alpha", u"beta"});
        DD->SetDropDownRowHeight(c.RowHeight);
        DD->SetLookupColumn(c.LookupColumn);
        DD->SetLookupMethod(c.Method);
        DD->EndUpdate();
        Open();
        SimulateKey(Grid(), 'A', {}, Char(u'a'));
        SimulateKey(Grid(), VK_DOWN);
        SimulateKey(Grid(), VK_ESCAPE);
        EXPECT_FALSE(DD->DroppedDown()) << c.Name;
        DD->SetFocus();
        TypeInto(DD, "a");
        SimulateKey(nullptr, VK_RETURN);
        DD->SetText(String());
    }
}

TEST_F(GridDropDown, TheOffice2010StylesLeaveTheHeaderColours) {
    DD->SetComponentStyle(tsOffice2003Blue);
    EXPECT_EQ(DD->HeaderColor(), TColor(0xD68759));
    EXPECT_EQ(DD->LineColor(), TColor(0x962D00));
    for (TKitStyle style : {tsOffice2010Blue, tsOffice2010Silver, tsOffice2010Black}) {
        DD->SetComponentStyle(style);
        EXPECT_EQ(DD->HeaderColor(), TColor(0xD68759)) << style;
        EXPECT_EQ(DD->HeaderColorTo(), TColor(0x933803)) << style;
        EXPECT_EQ(DD->LineColor(), TColor(0x962D00)) << style;
    }
}

TEST_F(GridDropDown, ThePopupHeightSnapsToWholeRowsWithItsOwnMargin) {
    int height = 300;
    DD->AdjustDropDownHeight(height);
    EXPECT_EQ(height, 25 + 6 + 12 * 22);
    DD->SetDropDownRowHeight(0);
    height = 300;
    DD->AdjustDropDownHeight(height);
    EXPECT_EQ(height, 300);
}

} // namespace
