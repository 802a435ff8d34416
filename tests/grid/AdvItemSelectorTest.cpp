// The item selector: the panel's layout (cell places, cell sizes from captions and colour
// boxes), selection and hot rules (disabled items, re-selection, stepping), the lookup through
// markup captions, painting of hot and selected items on pixels, scrolling an item into view and
// the visible-item count (also with cells of no height), and the item appearance's styles.
#include "AdvItemSelector.h"

#include "ControlImage.h"
#include "SysUtils.h"
#include "TestSupport.h"

#include <QImage>
#include <gtest/gtest.h>

namespace {

class ItemSelector : public ::testing::Test {
protected:
    void SetUp() override {
        Form = new TForm(nullptr);
        Form->SetBounds(100, 100, 400, 300);
        Form->Show();
        Sel = new TAdvCustomItemSelector(Form);
        Sel->SetParent(Form);
        Sel->SetBounds(10, 10, 200, 100);
    }
    void TearDown() override { TObject::Free(Form); }
    void AddItems(std::initializer_list<const char16_t*> Captions) {
        for (const char16_t* c : Captions) Sel->Items()->Add()->SetCaption(String::fromUtf16(c));
        Sel->UpdateSelectorPanel();
    }
    void FixedCells(int W, int H) {
        Sel->OnItemSize = [W, H](TObject*, TSize& S) {
            S.cx = W;
            S.cy = H;
        };
    }
    TRect ItemRect(int Index) const {
        TRect r;
        Sel->SelectorPanel()->GetItemRect(Index, r);
        return r;
    }

    TForm* Form = nullptr;
    TAdvCustomItemSelector* Sel = nullptr;
};

// The size DrawMarkupText gives a caption in the appearance's font.
TPoint CaptionSize(TAdvCustomItemSelector* Sel, const String& Caption) {
    TBitmap b(1, 1);
    b.Canvas()->Font()->Assign(Sel->ItemAppearance()->Font());
    TPoint size;
    DrawMarkupText(b.Canvas(), Caption, TRect(0, 0, 1000, 500), size, HWND(0), false, nullptr);
    return size;
}

TEST_F(ItemSelector, AnEmptySelectorHasASmallPanelAndNoSelection) {
    int w = 0, h = 0;
    Sel->GetSelectorSize(w, h);
    EXPECT_EQ(w, 100);
    EXPECT_EQ(h, 50);
    EXPECT_EQ(Sel->ItemIndex(), -1);
    EXPECT_EQ(Sel->GetVisibleItemCount(), 0);
    EXPECT_EQ(Sel->Columns(), 1);
    EXPECT_EQ(Sel->ItemLayout(), ilCaptionRight);
    EXPECT_THROW(new TCustomItemSelector(Form), Exception); // "Invalid parent"
    try {
        new TCustomItemSelector(nullptr);
    } catch (const Exception& E) {
        EXPECT_EQ(E.Message(), QStringLiteral("Invalid parent"));
    }
}

TEST_F(ItemSelector, FiveItemsInTwoColumnsFillTheGridRowByRow) {
    FixedCells(40, 20);
    Sel->SetColumns(2);
    AddItems({u"a", u"b", u"c", u"d", u"e"});
    const TRect expected[] = {
        {2, 2, 42, 22}, {42, 2, 82, 22}, {2, 22, 42, 42}, {42, 22, 82, 42}, {2, 42, 42, 62}};
    for (int i = 0; i < 5; ++i) EXPECT_EQ(ItemRect(i), expected[i]) << i;
    int w = 0, h = 0;
    Sel->GetSelectorSize(w, h);
    EXPECT_EQ(w, 84);
    EXPECT_EQ(h, 64);
    EXPECT_EQ(Sel->SelectorPanel()->ItemAtPos(42, 22), 3); // left and top edges are inside
    EXPECT_EQ(Sel->SelectorPanel()->ItemAtPos(82, 5), -1); // right edge outside
    EXPECT_EQ(ItemRect(5), TRect(-1, -1, -1, -1));
    Sel->SetColumns(0);
    Sel->SetColumns(-3);
    EXPECT_EQ(Sel->Columns(), 2);
}

TEST_F(ItemSelector, CellsAreSizedFromTheWidestCaptionAndTheColourBox) {
    AddItems({u"Red", u"<b>Magenta</b>"});
    const TPoint a = CaptionSize(Sel, QStringLiteral("Red")),
                 b = CaptionSize(Sel, QStringLiteral("<b>Magenta</b>"));
    const int c = std::max(a.X, b.X), d = std::max(a.Y, b.Y);
    EXPECT_EQ(ItemRect(0).Width(), 2 * 4 + c + 4);
    EXPECT_EQ(ItemRect(0).Height(), d + 8);
    Sel->SetSelectorType(stColor); // 14 x 14 boxes
    EXPECT_EQ(ItemRect(0).Width(), 8 + 14 + 4 + c + 4);
    EXPECT_EQ(ItemRect(0).Height(), std::max(d, 14) + 8);
    Sel->SetItemLayout(ilCaptionBottom);
    Sel->UpdateSelectorPanel();
    EXPECT_EQ(ItemRect(0).Width(), std::max(c + 4, 14) + 8);
    EXPECT_EQ(ItemRect(0).Height(), 8 + 14 + 4 + d);
}

TEST_F(ItemSelector, DisabledItemsCanBeNeitherSelectedNorMadeHot) {
    FixedCells(40, 20);
    AddItems({u"a", u"b", u"c"});
    Sel->Items()->Items(1)->SetEnabled(false);
    int selects = 0;
    Sel->OnItemSelect = [&](TObject* Sender) {
        EXPECT_EQ(Sender, Sel);
        ++selects;
    };
    Sel->SetItemIndex(1);
    EXPECT_EQ(Sel->ItemIndex(), -1);
    SimulateClick(Sel->SelectorPanel(), 10, ItemRect(1).Top + 5);
    EXPECT_EQ(Sel->ItemIndex(), -1);
    SimulateMouseMove(Sel->SelectorPanel(), {}, 10, ItemRect(1).Top + 5);
    EXPECT_EQ(Sel->ItemHot(), -1);
    Sel->SelectFirst();
    Sel->SelectNext(); // onto the disabled item: the step stops
    EXPECT_EQ(Sel->ItemIndex(), 0);
    SimulateClick(Sel->SelectorPanel(), 10, ItemRect(2).Top + 5);
    EXPECT_EQ(Sel->ItemIndex(), 2);
    Sel->SetItemIndex(2); // re-selecting fires again
    EXPECT_EQ(selects, 3);
    Sel->SelectNext(); // no wrap
    EXPECT_EQ(Sel->ItemIndex(), 2);
    SimulateMouseMove(Sel->SelectorPanel(), {}, 10, ItemRect(0).Top + 5);
    EXPECT_EQ(Sel->ItemHot(), 0);
    SimulateMouseLeave(Sel->SelectorPanel());
    EXPECT_EQ(Sel->ItemHot(), -1);
}

TEST_F(ItemSelector, LookupComparesCaptionsWithoutMarkup) {
    AddItems({u"<b>abc</b>", u"  Abd", u"x"});
    EXPECT_TRUE(Sel->LookupItem(QStringLiteral("AB")));
    EXPECT_EQ(Sel->ItemIndex(), 0);
    EXPECT_TRUE(Sel->LookupItem(QStringLiteral("ABD"))); // trimmed
    EXPECT_EQ(Sel->ItemIndex(), 1);
    EXPECT_FALSE(Sel->LookupItem(String()));
    EXPECT_FALSE(Sel->LookupItem(QStringLiteral("abd"))); // callers pass it upper-cased
    EXPECT_EQ(Sel->ItemIndex(), 1);
}

TEST_F(ItemSelector, HotAndSelectedItemsArePaintedWithTheirColours) {
    FixedCells(60, 20);
    AddItems({u"", u"", u""});
    TItemAppearance* a = Sel->ItemAppearance();
    a->SetColorStyle(scCustom);
    a->SetBorderColorTop(clNone); // plain gradient boxes
    a->SetColorHot(clLime);
    a->SetColorHotTo(clLime);
    a->SetColorSelected(clRed);
    a->SetColorSelectedTo(clRed);
    a->SetBorderColor(clBlue);
    Sel->SetColor(clWhite);
    Sel->SetItemIndex(1);
    SimulateMouseMove(Sel->SelectorPanel(), {}, 10, ItemRect(1).Top + 5); // hot and selected
    ASSERT_EQ(Sel->ItemHot(), 1);
    QImage img = ControlImage(Sel->SelectorPanel());
    auto at = [&](int Index, int Dx, int Dy) {
        const TRect r = ItemRect(Index);
        return img.pixelColor(r.Left + Dx, r.Top + Dy);
    };
    EXPECT_EQ(at(0, 30, 10), QColor(Qt::white));
    EXPECT_EQ(at(1, 30, 10), QColor(Qt::red)); // selection wins over hot
    EXPECT_EQ(at(1, 0, 0), QColor(Qt::blue));  // one-pixel border
    SimulateMouseMove(Sel->SelectorPanel(), {}, 10, ItemRect(2).Top + 5);
    img = ControlImage(Sel->SelectorPanel());
    EXPECT_EQ(at(2, 30, 10), QColor(Qt::green));
    EXPECT_EQ(at(1, 30, 10), QColor(Qt::red));
}

TEST_F(ItemSelector, SelectingScrollsTheItemIntoViewAndTheThumbIsTracked) {
    FixedCells(100, 20);
    for (int i = 0; i < 20; ++i) Sel->Items()->Add()->SetCaption(IntToStr(i));
    Sel->UpdateSelectorPanel();
    TControlScrollBar* bar = Sel->VertScrollBar();
    ASSERT_TRUE(bar->IsScrollBarVisible());
    EXPECT_EQ(Sel->GetVisibleItemCount(), 5); // 100 div 20
    Sel->SetItemIndex(19);
    const int client = Sel->ClientHeight();
    EXPECT_EQ(bar->Position(), ItemRect(19).Bottom - client);
    EXPECT_EQ(Sel->SelectorPanel()->Top(), -bar->Position());
    Sel->SetItemIndex(0); // the item's top comes to the client's top
    EXPECT_EQ(bar->Position(), ItemRect(0).Top);
    Sel->Perform(WM_VSCROLL, MAKEWPARAM(SB_THUMBTRACK, 60), 0);
    EXPECT_EQ(bar->Position(), 60);
    EXPECT_EQ(Sel->SelectorPanel()->Top(), -60);
    EXPECT_EQ(Sel->Perform(WM_GETDLGCODE, 0, 0), DLGC_WANTARROWS | DLGC_WANTALLKEYS);
}

TEST_F(ItemSelector, CellsOfNoHeightCountNoVisibleItems) {
    FixedCells(0, 0);
    AddItems({u"a", u"b"});
    EXPECT_EQ(Sel->GetVisibleItemCount(), 0);
    Sel->SelectLast();
    EXPECT_EQ(Sel->ItemIndex(), 1);
}

TEST_F(ItemSelector, TheAppearanceCopiesItsStyleAfterTheColours) {
    TItemAppearance a(nullptr), b(nullptr);
    EXPECT_EQ(a.ColorStyle(), scOffice2007);
    EXPECT_EQ(a.ColorHot(), TColor(0xD7FFFD));
    EXPECT_EQ(a.ColorHotText(), clBlack);
    b.SetColorStyle(scWindows7);
    EXPECT_EQ(b.BorderColor(), TColor(0xCEA27D));
    EXPECT_EQ(b.ColorMirrorHot(), clNone);
    b.SetColorHot(clRed);
    b.SetColorHotText(clBlue);
    b.SetColorSelectedText(clGreen);
    a.Assign(&b); // the style differs: its preset overwrites the copied colours
    EXPECT_EQ(a.ColorStyle(), scWindows7);
    EXPECT_EQ(a.ColorHot(), TColor(0xFCEBDC));
    EXPECT_EQ(a.ColorHotText(), clBlack); // not copied
    EXPECT_EQ(a.ColorSelectedText(), clGreen);
    b.SetColorHot(clYellow);
    a.Assign(&b); // same style now: the colours stay as copied
    EXPECT_EQ(a.ColorHot(), clYellow);
    a.SetColorStyle(scCustom);
    EXPECT_EQ(a.ColorHot(), clYellow);
    TFont f;
    EXPECT_THROW(a.Assign(&f), Exception);
}

} // namespace
