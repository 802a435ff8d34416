// The multi-column drop-down on a real form: the completion of typed text from the lookup column
// (with the nested change notification of its own write), Backspace, Delete, Enter and Esc in
// the edit, the search typed into the open list, the stepping table, the lookup list rebuilt only
// at EndUpdate, items with fewer texts than the lookup column, the popup's height snapping and
// column fitting, choosing, committing and cancelling, the styles, and the list's painting and
// sizing on pixels and measured texts.
#include "AdvMultiColumnDropDown.h"

#include "ControlImage.h"
#include "DropDownTestSupport.h"
#include "StdCtrls.h"
#include "TestSupport.h"

#include <QImage>
#include <gtest/gtest.h>

namespace {

using namespace AdvMultiColumnDropDown;

class MultiColumnDropDown : public DropDownFormTest {
protected:
    void SetUp() override {
        DropDownFormTest::SetUp();
        DD = new TAdvMultiColumnDropDown(Form);
        DD->SetParent(Form);
        DD->SetBounds(20, 30, 200, 21);
        DD->OnSelect = [this](TObject*) { ++Selects; };
        DD->SetFocus();
    }
    void AddColumns(std::initializer_list<int> Widths) {
        for (int w : Widths) {
            TDropDownColumn* c = DD->Columns()->Add();
            c->SetWidth(w);
            c->SetHeader(QStringLiteral("H%1").arg(DD->Columns()->Count()));
        }
    }
    TDropDownItem* AddItem(std::initializer_list<const char16_t*> Texts) {
        TDropDownItem* item = DD->Items()->Add();
        for (const char16_t* t : Texts) item->Text()->Add(String::fromUtf16(t));
        return item;
    }
    void AddFruit() {
        AddColumns({80, 60});
        DD->BeginUpdate();
        AddItem({u"Apple", u"red"});
        AddItem({u"Apricot", u"orange"});
        AddItem({u"Banana", u"yellow"});
        DD->EndUpdate();
    }
    void Type(Char C) { SimulateKey(nullptr, Word(C.toUpper().unicode()), {}, C); }
    String EditText() const { return DD->EditText(); }
    TAdvColGrid* List() const { return DD->ColGrid(); }
    void Open() {
        DD->ShowDropDown();
        ASSERT_TRUE(DD->DroppedDown());
    }

    TAdvMultiColumnDropDown* DD = nullptr;
    int Selects = 0;
};

TEST_F(MultiColumnDropDown, ANewControlHasItsDefaults) {
    EXPECT_EQ(DD->LookupColumn(), 0);
    EXPECT_EQ(DD->ItemIndex(), -1);
    EXPECT_EQ(DD->DropDownRowHeight(), 22);
    EXPECT_EQ(DD->HeaderHeight(), 25);
    EXPECT_EQ(DD->HeaderColor(), TColor(0xFFFFFF));
    EXPECT_EQ(DD->HeaderColorTo(), TColor(0x808080));
    EXPECT_EQ(DD->LineColor(), TColor(0xF1EDEB)); // the Office 2007 selection style's
    EXPECT_EQ(DD->FixedLineColor(), TColor(0xD1BBA4));
    EXPECT_EQ(DD->DropDownHeight(), 200);
    EXPECT_TRUE(DD->DropDownAutoWidth());
    EXPECT_TRUE(DD->ColumnSizeWithDropDown());
    EXPECT_FALSE(DD->ColumnSizing());
    EXPECT_TRUE(DD->MatchStart());
    ASSERT_NE(List(), nullptr);
    EXPECT_EQ(List()->Parent(), DD->DropDownForm());
}

TEST_F(MultiColumnDropDown, TypingCompletesFromTheLookupColumn) {
    AddFruit();
    Type(u'a');
    EXPECT_EQ(EditText(), QStringLiteral("apple"));
    Type(u'p');
    EXPECT_EQ(EditText(), QStringLiteral("apple"));
    EXPECT_EQ(DD->SelStart(), 2);
    EXPECT_EQ(DD->SelLength(), 3);
    EXPECT_EQ(DD->ItemIndex(), 0);
    Type(u'r'); // replaces the selected "ple"
    EXPECT_EQ(EditText(), QStringLiteral("apricot"));
    EXPECT_EQ(DD->SelStart(), 3);
    EXPECT_EQ(DD->SelLength(), 4);
    EXPECT_EQ(DD->ItemIndex(), 1);
    // A character that matches nothing keeps only what stands before the caret.
    Type(u'x');
    EXPECT_EQ(EditText(), QStringLiteral("aprx"));
    EXPECT_EQ(Selects, 0);
}

TEST_F(MultiColumnDropDown, BackspaceAndDeleteDoNotCompleteTheNextKeyDoes) {
    AddFruit();
    Type(u'a');
    Type(u'p');
    ASSERT_EQ(EditText(), QStringLiteral("apple"));
    SimulateKey(nullptr, VK_BACK); // removes the selected tail
    EXPECT_EQ(EditText(), QStringLiteral("ap"));
    SimulateKey(nullptr, VK_BACK);
    EXPECT_EQ(EditText(), QStringLiteral("a"));
    SimulateKey(nullptr, VK_END);
    SimulateKey(nullptr, VK_DELETE);
    EXPECT_EQ(EditText(), QStringLiteral("a"));
    Type(u'p');
    EXPECT_EQ(EditText(), QStringLiteral("apple"));
}

TEST_F(MultiColumnDropDown, EnterTakesTheEntryAsWrittenAndEscapeForgetsAnUnknownText) {
    AddFruit();
    SimulateKey(nullptr, VK_DELETE); // no completion for the text written next
    DD->SetText(QStringLiteral("BANANA"));
    SimulateKey(nullptr, VK_RETURN);
    EXPECT_EQ(EditText(), QStringLiteral("Banana"));
    EXPECT_EQ(DD->ItemIndex(), 2);
    DD->SetText(QStringLiteral("cherry"));
    SimulateKey(nullptr, VK_ESCAPE);
    EXPECT_TRUE(EditText().isEmpty());
    EXPECT_EQ(DD->ItemIndex(), -1);
}

TEST_F(MultiColumnDropDown, WithReturnIsTabEnterTakesTheEntryAndMovesOn) {
    AddFruit();
    auto* next = new TEdit(Form);
    next->SetParent(Form);
    next->SetBounds(20, 80, 100, 21);
    DD->SetReturnIsTab(true);
    DD->SetFocus();
    SimulateKey(nullptr, VK_DELETE); // no completion for the text written next
    DD->SetText(QStringLiteral("apricot"));
    SimulateKey(nullptr, VK_RETURN);
    EXPECT_EQ(EditText(), QStringLiteral("Apricot"));
    EXPECT_EQ(DD->ItemIndex(), 1);
    EXPECT_TRUE(ProcessMessagesUntil([&] { return next->Focused(); }));
}

TEST_F(MultiColumnDropDown, ItemsAddedAfterEndUpdateAreShownButNotCompleted) {
    AddFruit();
    AddItem({u"Cherry", u"dark red"});
    Type(u'c');
    EXPECT_EQ(EditText(), QStringLiteral("c"));
    EXPECT_EQ(DD->ItemIndex(), -1);
    Open();
    EXPECT_EQ(List()->RowCount(), 5);
    DD->HideDropDown(true);
    DD->EndUpdate();
    SimulateKey(nullptr, VK_BACK);
    Type(u'c');
    EXPECT_EQ(EditText(), QStringLiteral("cherry"));
    EXPECT_EQ(DD->ItemIndex(), 3);
}

TEST_F(MultiColumnDropDown, AnItemWithoutALookupTextIsNoMatchAndRaisesNothing) {
    AddColumns({80, 80, 80});
    DD->SetLookupColumn(2);
    DD->BeginUpdate();
    AddItem({u"short"});
    AddItem({u"a", u"b", u"Cedar"});
    DD->EndUpdate();
    EXPECT_EQ(DD->GetItemIndex(QStringLiteral("Cedar")), 1);
    EXPECT_EQ(DD->GetItemIndex(QString()), -1);
    EXPECT_EQ(DD->Items()->IndexInColumn(2, QStringLiteral("Cedar")), 1);
    EXPECT_EQ(DD->Items()->IndexInColumn(0, QStringLiteral("short")), 0);
    Type(u'c');
    EXPECT_EQ(EditText(), QStringLiteral("cedar"));
    DD->SetItemIndex(0);
    EXPECT_TRUE(EditText().isEmpty());
    // The list's search skips the short item as well.
    Open();
    SimulateKey(List(), 'C', {}, Char(u'c'));
    EXPECT_EQ(DD->ItemIndex(), 1);
    EXPECT_EQ(List()->Row(), 2);
    DD->HideDropDown(true);
    // A negative lookup column finds nothing and shows nothing.
    DD->SetLookupColumn(-1);
    EXPECT_EQ(DD->GetItemIndex(QStringLiteral("Cedar")), -1);
    DD->SetItemIndex(1);
    EXPECT_TRUE(EditText().isEmpty());
}

TEST_F(MultiColumnDropDown, ItemIndexIgnoresValuesBeyondTheItems) {
    AddFruit();
    DD->SetItemIndex(1);
    EXPECT_EQ(EditText(), QStringLiteral("Apricot"));
    DD->SetItemIndex(3);
    EXPECT_EQ(DD->ItemIndex(), 1);
    EXPECT_EQ(EditText(), QStringLiteral("Apricot"));
    DD->SetItemIndex(-1);
    EXPECT_EQ(DD->ItemIndex(), -1);
    EXPECT_TRUE(EditText().isEmpty());
}

TEST_F(MultiColumnDropDown, SteppingFollowsItsTable) {
    AddColumns({80});
    for (int i = 0; i < 100; ++i) DD->Items()->Add()->Text()->Add(QStringLiteral("item %1").arg(i));
    enum TStep { NextPage, PreviousPage, Next, Previous, First, Last };
    struct Case {
        int From;
        TStep Step;
        int Expected;
    };
    const Case cases[] = {
        {95, NextPage, 99}, {80, NextPage, 90},    {5, PreviousPage, 0}, {50, PreviousPage, 40},
        {-1, NextPage, 0},  {-1, PreviousPage, 0}, {-1, Next, 0},        {-1, Previous, 0},
        {99, Next, 99},     {0, Previous, 0},      {7, First, 0},        {7, Last, 99},
    };
    for (const Case& c : cases) {
        DD->SetItemIndex(c.From);
        switch (c.Step) {
            case NextPage: DD->SelectNextPage(); break;
            case PreviousPage: DD->SelectPreviousPage(); break;
            case Next: DD->SelectNext(); break;
            case Previous: DD->SelectPrevious(); break;
            case First: DD->SelectFirst(); break;
            case Last: DD->SelectLast(); break;
        }
        EXPECT_EQ(DD->ItemIndex(), c.Expected) << "from " << c.From << " step " << c.Step;
    }
    // The keys of the closed control step the same way.
    DD->SetItemIndex(20);
    SimulateKey(DD, VK_NEXT);
    EXPECT_EQ(DD->ItemIndex(), 30);
    SimulateKey(DD, VK_UP);
    EXPECT_EQ(DD->ItemIndex(), 29);
    EXPECT_EQ(EditText(), QStringLiteral("item 29"));
}

TEST_F(MultiColumnDropDown, ThePopupHeightSnapsToWholeRows) {
    int height = 300;
    DD->AdjustDropDownHeight(height);
    EXPECT_EQ(height, 25 + 2 + 12 * 22);
    // A row height that is not positive leaves the height as asked.
    for (int rowHeight : {0, -5}) {
        DD->SetDropDownRowHeight(rowHeight);
        height = 300;
        DD->AdjustDropDownHeight(height);
        EXPECT_EQ(height, 300);
    }
}

TEST_F(MultiColumnDropDown, ColumnsAreFittedToThePopupWidthRoundingHalvesToEven) {
    AddColumns({1, 1, 1});
    AddItem({u"a", u"b", u"c"});
    DD->SetDropDownAutoWidth(false);
    // 162 over 1 + 3 widths: every column is worth 40.5, the third gets the carried error.
    DD->SetDropDownWidth(162);
    Open();
    EXPECT_EQ(DD->DropDownForm()->Width(), 162);
    EXPECT_EQ(List()->ColWidths(0), 40);
    EXPECT_EQ(List()->ColWidths(1), 40);
    EXPECT_EQ(List()->ColWidths(2), 41);
    EXPECT_EQ(DD->Columns()->Items(0)->Width(), 1); // the drop-down's widths stay
    DD->HideDropDown(true);
    DD->Columns()->Items(0)->SetWidth(50);
    DD->Columns()->Items(1)->SetWidth(100);
    DD->Columns()->Items(2)->SetWidth(150);
    DD->SetDropDownWidth(400);
    Open();
    // The columns fill the list inside the popup's border exactly.
    EXPECT_EQ(List()->ColWidths(0) + List()->ColWidths(1) + List()->ColWidths(2), List()->ClientWidth());
    DD->HideDropDown(true);
}

TEST_F(MultiColumnDropDown, TypingIntoTheOpenListSearchesIt) {
    AddFruit();
    Open();
    SimulateKey(List(), 'B', {}, Char(u'b'));
    SimulateKey(List(), 'A', {}, Char(u'a'));
    EXPECT_EQ(List()->Row(), 3);
    EXPECT_EQ(DD->ItemIndex(), 2);
    EXPECT_EQ(EditText(), QStringLiteral("Banana"));
    EXPECT_EQ(DD->SelStart(), 2);
    EXPECT_EQ(DD->SelLength(), 4);
    EXPECT_EQ(DD->LookupEntry(), QStringLiteral("ba"));
    // "bax" and then "x" alone find nothing: the search text is cleared, the row stays.
    SimulateKey(List(), 'X', {}, Char(u'x'));
    EXPECT_TRUE(DD->LookupEntry().isEmpty());
    EXPECT_EQ(List()->Row(), 3);
    // A failed longer search restarts from the single character.
    SimulateKey(List(), 'A', {}, Char(u'a'));
    SimulateKey(List(), 'B', {}, Char(u'b'));
    EXPECT_EQ(DD->LookupEntry(), QStringLiteral("b"));
    EXPECT_EQ(DD->ItemIndex(), 2);
    EXPECT_TRUE(DD->DroppedDown());
    DD->HideDropDown(true);
}

TEST_F(MultiColumnDropDown, EnterChoosesTheRowAndEscapeBringsBackTheItemOfTheOpening) {
    AddFruit();
    DD->SetItemIndex(0);
    Open();
    EXPECT_EQ(List()->Row(), 1);
    SimulateKey(List(), VK_DOWN);
    EXPECT_EQ(DD->ItemIndex(), 1); // the edit follows the highlighted row
    SimulateKey(List(), VK_ESCAPE);
    EXPECT_FALSE(DD->DroppedDown());
    EXPECT_EQ(DD->ItemIndex(), 0);
    EXPECT_EQ(EditText(), QStringLiteral("Apple"));
    Tick += 1000;
    Open();
    SimulateKey(List(), VK_DOWN);
    SimulateKey(List(), VK_DOWN);
    SimulateKey(List(), VK_TAB); // does nothing in the list
    EXPECT_TRUE(DD->DroppedDown());
    EXPECT_EQ(List()->Row(), 3);
    SimulateKey(List(), VK_RETURN);
    EXPECT_FALSE(DD->DroppedDown());
    EXPECT_EQ(DD->ItemIndex(), 2);
    EXPECT_EQ(EditText(), QStringLiteral("Banana"));
    EXPECT_EQ(Selects, 1);
}

TEST_F(MultiColumnDropDown, AnyMouseButtonReleasedOverADataRowChoosesIt) {
    AddFruit();
    for (TMouseButton button : {mbLeft, mbRight}) {
        Tick += 1000;
        DD->SetItemIndex(0);
        Open();
        const TRect cell = List()->CellRect(0, 2);
        SimulateClick(List(), cell.Left + 5, cell.Top + 5, button);
        EXPECT_FALSE(DD->DroppedDown());
        EXPECT_EQ(DD->ItemIndex(), 1);
    }
    EXPECT_EQ(Selects, 2);
}

TEST_F(MultiColumnDropDown, TheStylesSetHeaderLineAndSelectionColours) {
    struct Case {
        TKitStyle Style;
        TColor Header, HeaderTo, Line, FixedLine, SelectionText;
    };
    const Case cases[] = {
        {tsOffice2003Blue, TColor(0xD68759), TColor(0x933803), TColor(0x962D00), TColor(0x962D00), clBlack},
        {tsOffice2007Luna, TColor(0xFFEFE3), TColor(0xFFD2AF), TColor(0xFFD2AF), TColor(0xFFD2AF), clBlack},
        {tsWindowsXP, clBtnFace, clBtnFace, TColor(0xC0C0C0), clBlack, clHighlightText},
        {tsWindows7, TColor(0xFDFBFA), TColor(0xFDF3EB), TColor(0xFBD6B8), TColor(0xFBD6B8), clBlack},
        {tsTerminal, clBtnFace, clBtnFace, TColor(0x808080), TColor(0x808080), clHighlightText},
        {tsOffice2010Black, TColor(0x828282), clNone, TColor(0xEEDDCF), TColor(0xEEDDCF), clBlack},
    };
    for (const Case& c : cases) {
        DD->SetComponentStyle(c.Style);
        EXPECT_EQ(DD->HeaderColor(), c.Header) << c.Style;
        EXPECT_EQ(DD->HeaderColorTo(), c.HeaderTo) << c.Style;
        EXPECT_EQ(DD->LineColor(), c.Line) << c.Style;
        EXPECT_EQ(DD->FixedLineColor(), c.FixedLine) << c.Style;
        EXPECT_EQ(DD->SelectionTextColor(), c.SelectionText) << c.Style;
    }
    DD->SetComponentStyle(tsWindowsXP);
    EXPECT_EQ(DD->SelectionColor(), clHighlight);
    EXPECT_EQ(DD->SelectionColorTo(), clHighlight);
    EXPECT_EQ(DD->HeaderFont()->Color(), clBlack);
    // A dash in the table leaves the header font's colour.
    DD->HeaderFont()->SetColor(clRed);
    DD->SetComponentStyle(tsOffice2003Silver);
    EXPECT_EQ(DD->HeaderFont()->Color(), clRed);
    DD->SetComponentStyle(tsCustom);
    EXPECT_EQ(DD->HeaderColor(), TColor(0xBDA4A5));
}

// ---- The list on pixels ----

QColor Qt(TColor C) {
    const int rgb = ColorToRGB(C);
    return QColor(rgb & 0xFF, (rgb >> 8) & 0xFF, (rgb >> 16) & 0xFF);
}

TEST_F(MultiColumnDropDown, TheHeaderIsAGradientOrPlainWithoutAnEndColour) {
    AddColumns({100});
    AddItem({u""});
    DD->SetHeaderColor(clWhite);
    DD->SetHeaderColorTo(clBlack);
    Open();
    QImage img = ControlImage(List());
    const TRect header = List()->CellRect(0, 0);
    EXPECT_GT(img.pixelColor(50, header.Top + 1).lightness(), 200);
    EXPECT_LT(img.pixelColor(50, header.Bottom - 3).lightness(), 60);
    DD->HideDropDown(true);
    DD->SetHeaderColor(clYellow);
    DD->SetHeaderColorTo(clNone);
    Tick += 1000;
    Open();
    img = ControlImage(List());
    for (int y : {header.Top + 1, header.Top + 12, header.Bottom - 3})
        EXPECT_EQ(img.pixelColor(60, y), Qt(clYellow)) << y;
    DD->HideDropDown(true);
}

TEST_F(MultiColumnDropDown, TheSelectedRowAndAnImageColumnArePainted) {
    AddColumns({100, 100});
    DD->Columns()->Items(1)->SetColumnType(ctImage);
    TCustomImageList* images = NewOneColourImages(clLime, 8);
    DD->SetImages(images);
    AddItem({u"", u""})->SetImageIndex(-1);
    AddItem({u"", u""})->SetImageIndex(0);
    DD->SetSelectionColorStyle(scCustom);
    DD->SetSelectionColor(clRed);
    DD->SetSelectionColorTo(clRed);
    DD->SetItemIndex(0);
    Open();
    const QImage img = ControlImage(List());
    const TRect selected = List()->CellRect(0, 1);
    EXPECT_EQ(img.pixelColor(selected.Left + 50, selected.Top + 10), Qt(clRed));
    // The image: 2 pixels in from the cell's left plus the line width, vertically centred.
    const TRect cell = List()->CellRect(1, 2);
    const int top = cell.Top + 1 + (cell.Height() - 2 - 8) / 2;
    EXPECT_EQ(img.pixelColor(cell.Left + 1 + 2 + 4, top + 4), Qt(clLime));
    EXPECT_NE(img.pixelColor(cell.Left + 1 + 2 + 20, top + 4), Qt(clLime));
    DD->HideDropDown(true);
    DD->SetImages(nullptr);
    TObject::Free(images);
}

TEST_F(MultiColumnDropDown, WithoutItemsTheListHasOneEmptyRowAndNoHeader) {
    AddColumns({80, 80});
    Open();
    EXPECT_EQ(List()->RowCount(), 1);
    EXPECT_EQ(List()->FixedRows(), 0);
    (void)ControlImage(List()); // paints without an item
    DD->HideDropDown(true);
}

TEST_F(MultiColumnDropDown, BadSettingsOpenPaintAndSearchWithoutFault) {
    struct Case {
        const char* Name;
        int Columns, Items, RowHeight, LookupColumn;
        bool Wordwrap;
    };
    const Case cases[] = {
        {"no items", 2, 0, 22, 0, false},
        {"no columns", 0, 3, 22, 0, false},
        {"row height 0", 2, 3, 0, 0, true},
        {"negative row height", 2, 3, -4, 0, false},
        {"negative lookup column", 2, 3, 22, -1, false},
        {"lookup column beyond the texts", 2, 3, 22, 5, true},
    };
    for (const Case& c : cases) {
        DD->Columns()->Clear();
        DD->Items()->Clear();
        for (int i = 0; i < c.Columns; ++i) {
            DD->Columns()->Add()->SetWordwrap(c.Wordwrap);
        }
        for (int i = 0; i < c.Items; ++i) AddItem({u"alpha", u"beta"});
        DD->SetDropDownRowHeight(c.RowHeight);
        DD->SetLookupColumn(c.LookupColumn);
        DD->EndUpdate();
        Tick += 1000;
        DD->ShowDropDown();
        ASSERT_TRUE(DD->DroppedDown()) << c.Name;
        (void)ControlImage(List());
        SimulateKey(List(), 'A', {}, Char(u'a'));
        SimulateKey(List(), VK_DOWN);
        SimulateKey(List(), VK_ESCAPE);
        EXPECT_FALSE(DD->DroppedDown()) << c.Name;
        DD->SetFocus();
        Type(u'a');
        SimulateKey(nullptr, VK_RETURN);
        DD->SetText(String());
    }
}

TEST_F(MultiColumnDropDown, AutoSizeAndWordWrapMeasureTheTexts) {
    AddColumns({10, 30});
    DD->Columns()->Items(0)->SetAutoSize(true);
    DD->Columns()->Items(1)->SetWordwrap(true);
    AddItem({u"short", u"x"});
    AddItem({u"a rather longer text", u"several words that must wrap over lines"});
    Open();
    TBitmap measure(1, 1);
    measure.Canvas()->Font()->Assign(DD->Columns()->Items(0)->Font());
    TRect r(0, 0, 1000, 500);
    DrawText(measure.Canvas(), QStringLiteral("a rather longer text"), r, DT_CALCRECT | DT_SINGLELINE);
    EXPECT_EQ(List()->Columns()->Items(0)->Width(), r.Width() + 6);
    EXPECT_EQ(DD->Columns()->Items(0)->Width(), 10);
    // A short wrapped text still gives 24 pixels; a long one its measured height + 6.
    EXPECT_EQ(List()->RowHeights(1), 24);
    TRect box(0, 0, 30, 500);
    DrawText(measure.Canvas(), QStringLiteral("several words that must wrap over lines"), box,
             DT_CALCRECT | DT_WORDBREAK);
    EXPECT_EQ(List()->RowHeights(2), std::max(24, box.Height() + 6));
    EXPECT_GT(List()->RowHeights(2), 24);
    DD->HideDropDown(true);
}

} // namespace
