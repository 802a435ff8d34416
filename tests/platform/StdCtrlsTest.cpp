// Standard controls: edits filter typed characters through the key pipeline, list boxes and
// check boxes report the user's choices, labels size themselves, link labels find their links.
#include "ComCtrls.h"
#include "ExtPanels.h"
#include "Forms.h"
#include "StdCtrls.h"

#include <QLineEdit>
#include <QListWidget>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

class StdCtrlsTest : public ::testing::Test {
protected:
    void SetUp() override {
        Form = new TForm(nullptr);
        Form->SetBounds(100, 100, 400, 300);
    }
    void TearDown() override { TObject::Free(Form); }
    template <class T> T* Add(int L, int T_, int W, int H) {
        T* c = new T(Form);
        c->SetParent(Form);
        c->SetBounds(L, T_, W, H);
        return c;
    }
    void ShowAndFocus(TWinControl* C) {
        Form->Show();
        C->SetFocus();
        ASSERT_TRUE(C->Focused());
    }
    TForm* Form = nullptr;
};

} // namespace

TEST_F(StdCtrlsTest, EditTypesWhatKeyPressLeaves) {
    auto* e = Add<TEdit>(8, 8, 120, 21);
    int changes = 0;
    String keys;
    e->OnChange = [&](TObject*) { ++changes; };
    e->OnKeyPress = [&](TObject*, Char& Key) {
        keys += Key;
        if (Key == u'a') Key = u'b';
        if (Key == u'x' || Key == Char(13)) Key = Char(0);
    };
    ShowAndFocus(e);
    SimulateText(e, QStringLiteral("axc"));
    SimulateKey(e, VK_RETURN);
    EXPECT_EQ(e->Text(), "bc");
    EXPECT_EQ(keys, QString("axc") + QChar(13));
    EXPECT_EQ(changes, 2);
    SimulateKey(e, VK_BACK);
    EXPECT_EQ(e->Text(), "b");
    SimulateKey(e, VK_HOME);
    SimulateKey(e, VK_DELETE);
    EXPECT_EQ(e->Text(), "");
    e->SetText("set by code");
    EXPECT_EQ(changes, 5);
    EXPECT_EQ(static_cast<QLineEdit*>(e->NativeWidget())->text(), "set by code");
}

TEST_F(StdCtrlsTest, EditLimitsTypingButNotCode) {
    const struct {
        const char* Name;
        bool Numbers;
        int Max;
        const char* Typed;
        const char* Result;
    } cases[] = {
        {"digits only", true, 0, "1a2-3.", "123"},
        {"max length", false, 3, "abcdef", "abc"},
        {"both", true, 2, "9x87", "98"},
        {"no limit", false, 0, "a b", "a b"},
    };
    auto* e = Add<TEdit>(8, 8, 120, 21);
    ShowAndFocus(e);
    for (const auto& c : cases) {
        e->SetText("");
        e->SetNumbersOnly(c.Numbers);
        e->SetMaxLength(c.Max);
        SimulateText(e, c.Typed);
        EXPECT_EQ(e->Text(), c.Result) << c.Name;
    }
    e->SetMaxLength(2);
    e->SetText("longer than two");
    EXPECT_EQ(e->Text(), "longer than two");
}

TEST_F(StdCtrlsTest, EditKeepsItsTextWithoutAWindow) {
    TEdit e(nullptr);
    int changes = 0;
    e.OnChange = [&](TObject*) { ++changes; };
    e.SetText("abc");
    EXPECT_EQ(e.Text(), "abc");
    EXPECT_EQ(changes, 1);
    e.SelectAll();
    EXPECT_EQ(e.SelText(), "abc");
}

TEST_F(StdCtrlsTest, ListBoxReportsTheUsersChoiceOnly) {
    auto* l = Add<TListBox>(8, 8, 120, 100);
    int clicks = 0;
    l->OnClick = [&](TObject*) { ++clicks; };
    l->Items()->Add("one");
    l->Items()->Add("two");
    l->Items()->Add("three");
    l->SetItemIndex(0);
    EXPECT_EQ(clicks, 0);
    ShowAndFocus(l);
    SimulateKey(l, VK_DOWN);
    EXPECT_EQ(l->ItemIndex(), 1);
    EXPECT_EQ(clicks, 1);
    auto* list = static_cast<QListWidget*>(l->NativeWidget());
    const QRect r = list->visualItemRect(list->item(2));
    const QPoint p = list->viewport()->mapTo(l->WidgetIfAllocated(), r.center());
    SimulateClick(l, p.x(), p.y());
    EXPECT_EQ(l->ItemIndex(), 2);
    EXPECT_EQ(clicks, 2);
    l->Items()->Delete(2);
    EXPECT_EQ(l->ItemIndex(), -1);
    l->Items()->Clear();
    EXPECT_EQ(list->count(), 0);
}

TEST_F(StdCtrlsTest, CheckBoxClicksAndState) {
    auto* cb = Add<TCheckBox>(8, 8, 150, 17);
    cb->SetCaption("&Option");
    int clicks = 0;
    cb->OnClick = [&](TObject*) { ++clicks; };
    cb->SetChecked(true); // by code: fires OnClick as the platform does
    EXPECT_EQ(clicks, 1);
    cb->SetChecked(true);
    EXPECT_EQ(clicks, 1);
    ShowAndFocus(cb);
    SimulateClick(cb, 5, 8);
    EXPECT_FALSE(cb->Checked());
    EXPECT_EQ(clicks, 2);
    SimulateKey(cb, VK_SPACE);
    EXPECT_TRUE(cb->Checked());
    EXPECT_EQ(clicks, 3);
    cb->SetEnabled(false); // a disabled box keeps its mark
    EXPECT_TRUE(cb->Checked());
    cb->SetEnabled(true);
    cb->SetAllowGrayed(true);
    cb->Toggle();
    EXPECT_EQ(cb->State(), cbUnchecked);
    cb->Toggle();
    EXPECT_EQ(cb->State(), cbGrayed);
    cb->Toggle();
    EXPECT_EQ(cb->State(), cbChecked);
}

TEST_F(StdCtrlsTest, LabelSizesItselfToItsCaption) {
    auto* l = Add<TLabel>(10, 10, 10, 10);
    l->SetCaption("Short");
    const int shortWidth = l->Width();
    l->SetCaption("A much longer caption");
    EXPECT_GT(l->Width(), shortWidth);
    EXPECT_GT(l->Height(), 8);
    l->SetAlignment(taRightJustify);
    const int right = l->Left() + l->Width();
    l->SetCaption("x");
    EXPECT_EQ(l->Left() + l->Width(), right);
    l->SetAutoSize(false);
    l->SetBounds(0, 0, 40, 40);
    l->SetCaption("Another caption");
    EXPECT_EQ(l->Width(), 40);

    // The text shows in the font colour over the label's colour.
    l->SetBounds(0, 0, 60, 20);
    l->SetColor(clWhite);
    l->Font()->SetColor(clRed);
    l->SetCaption("WWW");
    const QImage& img = l->PaintImage();
    bool red = false;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x) red |= img.pixel(x, y) == qRgb(255, 0, 0);
    EXPECT_TRUE(red);
    EXPECT_EQ(img.pixel(59, 19), qRgb(255, 255, 255));
}

TEST_F(StdCtrlsTest, LinkLabelFindsItsLinks) {
    const struct {
        const char* Caption;
        int Pieces;
        const char* FirstLink;
    } cases[] = {
        {"<a href=\"http://x/a?b=1#c\">Click</a>", 1, "http://x/a?b=1#c"},
        {"Before <a href='u'>link</a> after", 3, "u"},
        {"<a>self</a>", 1, "self"},
        {"plain text", 1, ""},
        {"<a href=\"u\">unclosed", 1, ""},
        {"<abbr>not a link</abbr>", 2, ""},
    };
    auto* ll = Add<TLinkLabel>(10, 10, 10, 10);
    for (const auto& c : cases) {
        ll->SetCaption(c.Caption);
        EXPECT_EQ(int(ll->Pieces().size()), c.Pieces) << c.Caption;
        String first;
        for (const auto& p : ll->Pieces())
            if (p.IsLink) {
                first = p.Link;
                break;
            }
        EXPECT_EQ(first, c.FirstLink) << c.Caption;
    }

    ll->SetCaption("Go <a href=\"http://example.invalid/\">here</a>");
    QStringList clicked;
    ll->OnLinkClick = [&](TObject*, const String& Link, TSysLinkType) { clicked << Link; };
    Form->Show();
    ll->PaintImage();
    const TRect link = ll->Pieces()[1].Bounds;
    SimulateClick(ll, 1, 2); // on "Go "
    SimulateClick(ll, link.Left + 2, 3);
    EXPECT_EQ(clicked, QStringList({"http://example.invalid/"}));
}

TEST_F(StdCtrlsTest, ComboBoxChoosesItems) {
    auto* cb = Add<TComboBox>(8, 8, 120, 21);
    cb->SetStyle(csDropDownList);
    cb->Items()->Add("first");
    cb->Items()->Add("second");
    int changes = 0;
    cb->OnChange = [&](TObject*) { ++changes; };
    cb->SetItemIndex(0);
    EXPECT_EQ(cb->Text(), "first");
    EXPECT_EQ(changes, 0);
    ShowAndFocus(cb);
    SimulateKey(cb, VK_DOWN);
    EXPECT_EQ(cb->ItemIndex(), 1);
    EXPECT_EQ(cb->Text(), "second");
    EXPECT_EQ(changes, 1);
}

TEST_F(StdCtrlsTest, PageControlShowsTheActiveSheet) {
    auto* pc = Add<TPageControl>(0, 0, 300, 200);
    TTabSheet* sheets[3];
    for (int i = 0; i < 3; ++i) {
        sheets[i] = new TTabSheet(Form);
        sheets[i]->SetPageControl(pc);
        sheets[i]->SetCaption(QStringLiteral("Page %1").arg(i));
    }
    EXPECT_EQ(pc->PageCount(), 3);
    EXPECT_EQ(pc->ActivePage(), sheets[0]);
    EXPECT_TRUE(sheets[0]->Visible());
    EXPECT_FALSE(sheets[1]->Visible());
    EXPECT_EQ(sheets[1]->BoundsRect(), pc->DisplayRect());
    int changes = 0;
    pc->OnChange = [&](TObject*) { ++changes; };
    Form->Show();
    const TRect tab = pc->TabRect(2);
    SimulateClick(pc, tab.Left + 4, tab.Top + 4);
    EXPECT_EQ(pc->ActivePage(), sheets[2]);
    EXPECT_TRUE(sheets[2]->Visible());
    EXPECT_FALSE(sheets[0]->Visible());
    EXPECT_EQ(changes, 1);
    pc->SetActivePage(sheets[1]); // by code: no OnChange
    EXPECT_EQ(changes, 1);
    sheets[1]->SetTabVisible(false);
    EXPECT_NE(pc->ActivePage(), sheets[1]);
    EXPECT_EQ(sheets[2]->TabIndex(), 1);
    TObject::Free(sheets[2]);
    EXPECT_EQ(pc->PageCount(), 2);
}

TEST_F(StdCtrlsTest, PanelPlacesChildrenInsideItsFrame) {
    auto* p = Add<TPanel>(0, 0, 200, 100);
    p->SetBorderWidth(2);
    auto* child = new TPanel(Form);
    child->SetParent(p);
    child->SetAlign(alTop);
    child->SetHeight(20);
    EXPECT_EQ(child->BoundsRect(), TRect(3, 3, 197, 23)); // bevel 1 + border 2
    p->SetBevelOuter(bvNone);
    EXPECT_EQ(child->BoundsRect(), TRect(2, 2, 198, 22));
}

TEST_F(StdCtrlsTest, ShapeDrawsAOnePixelRule) {
    auto* s = Add<TShape>(0, 0, 50, 1);
    s->Pen()->SetColor(clSilver);
    s->Brush()->SetStyle(bsClear);
    const QImage& img = s->PaintImage();
    for (int x : {0, 25, 49}) EXPECT_EQ(img.pixel(x, 0), qRgb(192, 192, 192)) << x;
}

TEST_F(StdCtrlsTest, ImageShowsABitmapFile) {
    QTemporaryDir dir;
    TBitmap bmp(4, 2);
    bmp.Canvas()->Brush()->SetColor(clBlue);
    bmp.Canvas()->FillRect(TRect(0, 0, 4, 2));
    bmp.Canvas()->SetPixels(0, 1, clLime); // the transparent colour: bottom-left
    const String file = dir.path() + "/flag.bmp";
    bmp.SaveToFile(file);
    auto* img = Add<TImage>(0, 0, 8, 4);
    img->Picture()->LoadFromFile(file);
    EXPECT_EQ(img->Picture()->Width(), 4);
    EXPECT_EQ(img->DestRect(), TRect(0, 0, 4, 2));
    img->SetStretch(true);
    EXPECT_EQ(img->DestRect(), TRect(0, 0, 8, 4));
    const QImage& opaque = img->PaintImage();
    EXPECT_EQ(opaque.pixel(7, 0), qRgb(0, 0, 255));
    EXPECT_EQ(opaque.pixel(0, 3), qRgb(0, 255, 0));
    img->SetTransparent(true);
    const QImage& clear = img->PaintImage();
    EXPECT_EQ(qAlpha(clear.pixel(0, 3)), 0);
    EXPECT_EQ(clear.pixel(7, 0), qRgb(0, 0, 255));
}
