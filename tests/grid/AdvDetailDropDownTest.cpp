// The detail drop-down on a real form: its defaults and popup list size, the auto-completion of
// typed captions (before and after the list was filled, Backspace, Enter on an exact caption),
// the ItemIndex rules, Esc restoring the item of the opening, a click on a row, the keys of the
// closed control, page steps, the type-ahead with its timer driven by hand, and row painting.
#include "AdvDetailDropDown.h"

#include "ControlImage.h"
#include "DropDownTestSupport.h"
#include "ExtCtrls.h"
#include "TestSupport.h"

#include <QImage>
#include <gtest/gtest.h>

namespace {

class DetailDropDown : public DropDownFormTest {
protected:
    void SetUp() override {
        DropDownFormTest::SetUp();
        DD = new TAdvDetailDropDown(Form);
        DD->SetParent(Form);
        DD->SetBounds(20, 30, 200, 21);
        DD->OnSelect = [this](TObject*) { ++Selects; };
        DD->SetFocus();
    }
    void AddItems(std::initializer_list<const char16_t*> Captions) {
        for (const char16_t* c : Captions) DD->Items()->Add()->SetCaption(String::fromUtf16(c));
    }
    void OpenAndClose() {
        DD->ShowDropDown();
        ASSERT_TRUE(DD->DroppedDown());
        DD->HideDropDown(false);
        Tick += 1000;
    }
    String EditText() const { return DD->EditText(); }

    TAdvDetailDropDown* DD = nullptr;
    int Selects = 0;
};

TEST_F(DetailDropDown, ANewControlHasItsDefaultsAndAListAsWideAsTheEdit) {
    EXPECT_EQ(DD->ItemIndex(), -1);
    EXPECT_TRUE(EditText().isEmpty());
    EXPECT_EQ(DD->ItemHeight(), 22);
    EXPECT_EQ(DD->Layout(), ilCaptionRight);
    EXPECT_TRUE(DD->EditorEnabled());
    EXPECT_TRUE(DD->DropDownEnabled());
    EXPECT_FALSE(DD->MatchCase());
    EXPECT_EQ(DD->KeyTimer()->Interval(), 500u);
    EXPECT_FALSE(DD->KeyTimer()->Enabled());
    ASSERT_NE(DD->ItemSelector(), nullptr);
    AddItems({u"Alpha", u"Beta"});
    DD->ShowDropDown();
    ASSERT_TRUE(DD->DroppedDown());
    EXPECT_EQ(DD->DropDownForm()->Width(), DD->Width());
    EXPECT_EQ(DD->ItemSelector()->Items()->Count(), 2);
    TRect row;
    DD->ItemSelector()->SelectorPanel()->GetItemRect(0, row);
    EXPECT_EQ(row.Height(), 22);
    DD->HideDropDown(false);
}

TEST_F(DetailDropDown, TypingCompletesTheFirstMatchingCaption) {
    AddItems({u"Alpha", u"Beta"});
    // The list is still empty: the type-ahead finds nothing, the completion does the work.
    SimulateKey(DD, 'B', {}, Char(u'b'));
    EXPECT_EQ(EditText(), QStringLiteral("beta"));
    EXPECT_EQ(DD->SelStart(), 1);
    EXPECT_EQ(DD->SelLength(), 3);
    EXPECT_EQ(DD->ItemIndex(), 1);
    EXPECT_EQ(Selects, 0);
    // Backspace removes the completed tail and completes nothing until another key.
    SimulateKey(DD, VK_BACK);
    EXPECT_EQ(EditText(), QStringLiteral("b"));
    SimulateKey(DD, 'X', {}, Char(u'x'));
    EXPECT_EQ(EditText(), QStringLiteral("bx"));
}

TEST_F(DetailDropDown, OnceTheListIsFilledTheTypeAheadSelectsFirst) {
    AddItems({u"Alpha", u"Beta"});
    OpenAndClose();
    DD->SetFocus();
    SimulateKey(DD, 'B', {}, Char(u'b'));
    EXPECT_EQ(Selects, 1); // the type-ahead's selection
    EXPECT_EQ(DD->ItemIndex(), 1);
    // The typed character replaces the selected caption and completes it as before.
    EXPECT_EQ(EditText(), QStringLiteral("beta"));
    EXPECT_EQ(DD->SelStart(), 1);
    EXPECT_EQ(DD->SelLength(), 3);
    EXPECT_EQ(Selects, 1);
}

TEST_F(DetailDropDown, ATextMatchingNothingKeepsWhatIsLeftOfTheCaret) {
    AddItems({u"Alpha", u"Beta"});
    SimulateKey(DD, 'X', {}, Char(u'x'));
    EXPECT_EQ(EditText(), QStringLiteral("x"));
    EXPECT_EQ(DD->ItemIndex(), -1);
}

TEST_F(DetailDropDown, EnterOnAnExactCaptionSelectsIt) {
    AddItems({u"Alpha", u"Beta"});
    SimulateKey(DD, VK_DELETE); // completion off for the text written below
    DD->SetText(QStringLiteral("Beta"));
    SimulateKey(DD, VK_RETURN);
    EXPECT_EQ(DD->ItemIndex(), 1);
    EXPECT_EQ(Selects, 1);
    DD->SetText(QStringLiteral("beta")); // captions compare case-sensitively
    SimulateKey(DD, VK_RETURN);
    EXPECT_EQ(DD->ItemIndex(), 1);
    EXPECT_EQ(Selects, 1);
}

TEST_F(DetailDropDown, ItemIndexTakesOnlyExistingItemsOrMinusOne) {
    AddItems({u"Alpha", u"Beta"});
    DD->SetItemIndex(1);
    EXPECT_EQ(EditText(), QStringLiteral("Beta"));
    EXPECT_EQ(DD->SelLength(), 4);
    EXPECT_EQ(Selects, 1);
    DD->SetItemIndex(2);
    DD->SetItemIndex(-2);
    EXPECT_EQ(DD->ItemIndex(), 1);
    DD->SetItemIndex(-1);
    EXPECT_EQ(DD->ItemIndex(), -1);
    EXPECT_TRUE(EditText().isEmpty());
    EXPECT_EQ(Selects, 1);
    EXPECT_EQ(DD->Items()->IndexOf(QStringLiteral("Beta")), 1);
    EXPECT_EQ(DD->Items()->IndexOf(QStringLiteral("beta")), -1);
}

TEST_F(DetailDropDown, EscapeRestoresTheItemOfTheOpening) {
    AddItems({u"Alpha", u"Beta", u"Gamma", u"Delta"});
    DD->SetItemIndex(0);
    DD->ShowDropDown();
    ASSERT_TRUE(DD->DroppedDown());
    SimulateKey(nullptr, VK_DOWN);
    SimulateKey(nullptr, VK_DOWN);
    EXPECT_EQ(DD->ItemIndex(), 2);
    EXPECT_TRUE(DD->DroppedDown()); // keys move without closing
    SimulateKey(nullptr, VK_ESCAPE);
    EXPECT_FALSE(DD->DroppedDown());
    EXPECT_EQ(DD->ItemIndex(), 0);
    EXPECT_EQ(EditText(), QStringLiteral("Alpha"));
}

TEST_F(DetailDropDown, AClickOnARowSelectsItAndCloses) {
    AddItems({u"Alpha", u"Beta", u"Gamma"});
    DD->ShowDropDown();
    ASSERT_TRUE(DD->DroppedDown());
    TRect row;
    DD->ItemSelector()->SelectorPanel()->GetItemRect(1, row);
    SimulateClick(DD->ItemSelector()->SelectorPanel(), row.Left + 5, row.Top + 5);
    EXPECT_FALSE(DD->DroppedDown());
    EXPECT_EQ(DD->ItemIndex(), 1);
    EXPECT_EQ(EditText(), QStringLiteral("Beta"));
}

TEST_F(DetailDropDown, DownWhileClosedSelectsTheNextItemWithoutOpening) {
    AddItems({u"Alpha", u"Beta"});
    SimulateKey(DD, VK_DOWN);
    EXPECT_EQ(DD->ItemIndex(), 0);
    SimulateKey(DD, VK_DOWN);
    SimulateKey(DD, VK_DOWN);
    EXPECT_EQ(DD->ItemIndex(), 1);
    SimulateKey(DD, VK_UP);
    EXPECT_EQ(DD->ItemIndex(), 0);
    EXPECT_FALSE(DD->DroppedDown());
}

TEST_F(DetailDropDown, PageDownStepsByTheVisibleRows) {
    for (int i = 0; i < 20; ++i) DD->Items()->Add()->SetCaption(QStringLiteral("Item %1").arg(i));
    DD->SetItemHeight(20);
    DD->ItemSelector()->SetHeight(100); // five rows
    DD->SetItemIndex(2);
    SimulateKey(DD, VK_NEXT);
    EXPECT_EQ(DD->ItemIndex(), 7);
    DD->SetItemIndex(17);
    DD->ShowDropDown();
    ASSERT_TRUE(DD->DroppedDown());
    DD->ItemSelector()->SetHeight(100);
    SimulateKey(nullptr, VK_NEXT);
    EXPECT_EQ(DD->ItemIndex(), 19);
    EXPECT_TRUE(DD->DroppedDown());
    const int rows = DD->ItemSelector()->GetVisibleItemCount();
    SimulateKey(nullptr, VK_PRIOR);
    EXPECT_EQ(DD->ItemIndex(), 19 - rows);
    DD->HideDropDown(false);
}

TEST_F(DetailDropDown, TypeAheadCollectsTheCharactersOfOneBurst) {
    AddItems({u"Alpha", u"Beta", u"Bravo", u"<i>Charlie</i>"});
    DD->SetEditorEnabled(false); // pick-only: only the type-ahead acts
    OpenAndClose();
    DD->SetFocus();
    SimulateKey(DD, 'B', {}, Char(u'b'));
    EXPECT_EQ(DD->SearchText(), QStringLiteral("B"));
    EXPECT_EQ(DD->ItemIndex(), 1);
    EXPECT_TRUE(DD->KeyTimer()->Enabled());
    SimulateKey(DD, 'R', {}, Char(u'r'));
    EXPECT_EQ(DD->SearchText(), QStringLiteral("BR"));
    EXPECT_EQ(DD->ItemIndex(), 2);
    DD->KeyTimerTick(DD->KeyTimer()); // the burst ends
    EXPECT_TRUE(DD->SearchText().isEmpty());
    EXPECT_FALSE(DD->KeyTimer()->Enabled());
    // Shift types nothing: Shift+C searches for "C" (through the markup).
    SimulateKeyDown(DD, VK_SHIFT, {ssShift});
    SimulateKey(DD, 'C', {ssShift}, Char(u'C'));
    SimulateKeyUp(DD, VK_SHIFT);
    EXPECT_EQ(DD->SearchText(), QStringLiteral("C"));
    EXPECT_EQ(DD->ItemIndex(), 3);
    DD->KeyTimerTick(DD->KeyTimer());
    SimulateKey(DD, VK_F2); // a function key adds nothing
    EXPECT_TRUE(DD->SearchText().isEmpty());
    // Keypad digits read as digits.
    SimulateKey(DD, VK_NUMPAD0 + 7, {}, Char(u'7'));
    EXPECT_EQ(DD->SearchText(), QStringLiteral("7"));
    EXPECT_EQ(TypeAheadKeyText(nullptr, VK_NUMPAD0 + 3), QStringLiteral("3"));
    EXPECT_EQ(TypeAheadKeyText(nullptr, VK_SHIFT), String());
    EXPECT_EQ(TypeAheadKeyText(nullptr, 'Q'), QStringLiteral("Q"));
}

TEST_F(DetailDropDown, ComponentStylesColourTheItemAppearance) {
    TItemAppearance* a = DD->ItemAppearance();
    a->SetColorHotText(clRed);
    a->SetColorHot(clRed);
    DD->SetComponentStyle(tsCustom); // changes no colour, not even the text colours
    EXPECT_EQ(a->ColorHotText(), clRed);
    EXPECT_EQ(a->ColorHot(), clRed);
    DD->SetComponentStyle(tsWindows7);
    EXPECT_EQ(a->ColorHot(), TColor(0xFDFBFA));
    EXPECT_EQ(a->BorderColor(), TColor(0xCEA27D));
    EXPECT_EQ(a->ColorHotText(), clBlack);
    DD->SetComponentStyle(tsWindowsXP);
    EXPECT_EQ(a->ColorSelectedText(), clHighlightText);
    EXPECT_EQ(a->BorderColorTop(), clNone);
    DD->SetSelectionColorStyle(scWindowsVista); // reaches the list's own appearance
    EXPECT_EQ(DD->ItemSelector()->ItemAppearance()->ColorStyle(), scWindowsVista);
    EXPECT_EQ(DD->ItemSelector()->ItemAppearance()->ColorHot(), TColor(0xFDF8F1));
}

TEST_F(DetailDropDown, RowsShowThePictureCaptionAndNotes) {
    TDetailItem* item = DD->Items()->Add();
    item->SetCaption(QStringLiteral("Alpha"));
    item->SetNotes(QStringLiteral("first <b>letter</b>"));
    TBitmap square(10, 10);
    square.Canvas()->Brush()->SetColor(clRed);
    square.Canvas()->FillRect(TRect(0, 0, 10, 10));
    square.Canvas()->SetPixels(0, 9, clLime); // bottom-left: the transparent colour
    item->Image()->SetGraphic(&square);
    DD->SetItemHeight(40);
    DD->SetDropDownColor(clWhite);
    DD->ShowDropDown();
    ASSERT_TRUE(DD->DroppedDown());
    TCustomItemSelector* panel = DD->ItemSelector()->SelectorPanel();
    TRect row;
    panel->GetItemRect(0, row);
    const QImage img = ControlImage(panel);
    // The picture 2 pixels in from the row's left, vertically centred, its key colour left out.
    EXPECT_EQ(img.pixelColor(row.Left + 2 + 5, row.Top + 15 + 5), QColor(Qt::red));
    EXPECT_EQ(img.pixelColor(row.Left + 2, row.Top + 15 + 9), QColor(Qt::white));
    // Caption and notes leave dark pixels right of the picture, in two lines.
    auto inkIn = [&](int Top, int Bottom) {
        for (int y = Top; y < Bottom; ++y)
            for (int x = row.Left + 16; x < row.Right - 4; ++x)
                if (img.pixelColor(x, y).lightness() < 100) return true;
        return false;
    };
    EXPECT_TRUE(inkIn(row.Top + 2, row.Top + 16));
    EXPECT_TRUE(inkIn(row.Top + 18, row.Bottom));
    DD->HideDropDown(false);
}

} // namespace
