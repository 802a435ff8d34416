// Category panel group: stacking by top, collapsing and expanding, scrolling through WM_VSCROLL
// and the scroll bar, the header's look (gradient, image marks, hot chevron) and the surface
// that holds a panel's controls below its header.
#include "CategoryPanels.h"
#include "Forms.h"
#include "StdCtrls.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <QScrollBar>
#include <QWidget>

namespace {

TColor Pixel(const QImage& Image, int X, int Y) {
    const QRgb p = Image.pixel(X, Y);
    return TColor(qRed(p) | (qGreen(p) << 8) | (qBlue(p) << 16));
}

class CategoryPanelsTest : public ::testing::Test {
protected:
    void SetUp() override {
        Form = new TForm(nullptr);
        Form->SetClientSize(320, 240);
        Group = new TCategoryPanelGroup(Form);
        Group->SetParent(Form);
        Group->SetBounds(0, 0, 300, 200);
        Group->SetColor(TColor(0xEDF7F8));
        for (int h : {100, 80, 60}) {
            TCategoryPanel* p = Group->CreatePanel(Form);
            p->SetHeight(h);
            P.push_back(p);
        }
        Form->Show();
    }
    void TearDown() override { TObject::Free(Form); }

    void Scroll(int Code) {
        Group->Perform(WM_VSCROLL, MAKEWPARAM(Word(Code), 0));
        Group->Perform(WM_VSCROLL, MAKEWPARAM(Word(SB_ENDSCROLL), 0));
    }

    TForm* Form = nullptr;
    TCategoryPanelGroup* Group = nullptr;
    std::vector<TCategoryPanel*> P;
};

TEST_F(CategoryPanelsTest, VisiblePanelsStackInTheOrderOfTheirTops) {
    // Joined in order: one below the other at full client width.
    EXPECT_EQ(P[0]->Top(), 0);
    EXPECT_EQ(P[1]->Top(), 100);
    EXPECT_EQ(P[2]->Top(), 180);
    // 240 pixels of panels in a 200-pixel group: the scroll bar takes its width.
    ASSERT_TRUE(Group->ScrollBarVisible());
    EXPECT_EQ(Group->ClientWidth(), 300 - TCategoryPanelGroup::ScrollBarWidth());
    for (TCategoryPanel* p : P) EXPECT_EQ(p->Width(), Group->ClientWidth());

    // A hidden panel leaves no gap; the rest fit, so the scroll bar goes.
    P[1]->Hide();
    EXPECT_EQ(P[2]->Top(), 100);
    EXPECT_FALSE(Group->ScrollBarVisible());
    EXPECT_EQ(P[0]->Width(), 300);

    // Setting a top chooses the place: the last panel to the top, the first directly below it.
    P[1]->Show();
    P[2]->SetTop(0);
    P[0]->SetTop(P[2]->Top() + P[2]->Height());
    EXPECT_EQ(P[2]->Top(), 0);
    EXPECT_EQ(P[0]->Top(), 60);
    EXPECT_EQ(P[1]->Top(), 160);
}

TEST_F(CategoryPanelsTest, CollapsingKeepsTheFullHeightForTheNextExpand) {
    std::vector<String> events;
    P[0]->OnCollapse = [&](TObject*) { events.push_back("collapse"); };
    P[0]->OnExpand = [&](TObject*) { events.push_back("expand"); };

    P[0]->Collapse();
    EXPECT_EQ(P[0]->Height(), Group->HeaderHeight());
    EXPECT_EQ(P[0]->FullHeight(), 100);
    EXPECT_EQ(P[1]->Top(), Group->HeaderHeight());
    EXPECT_FALSE(P[0]->Surface()->Visible());

    // A height set while collapsed is the height the panel expands to.
    P[0]->SetHeight(130);
    EXPECT_EQ(P[0]->Height(), Group->HeaderHeight());
    P[0]->Expand();
    EXPECT_EQ(P[0]->Height(), 130);
    EXPECT_EQ(P[1]->Top(), 130);
    EXPECT_TRUE(P[0]->Surface()->Visible());
    EXPECT_EQ(P[0]->Surface()->Height(), 130 - Group->HeaderHeight());
    EXPECT_EQ(events, (std::vector<String>{"collapse", "expand"}));

    // A click on the header toggles; a click below it does not.
    SimulateClick(P[1], 20, 5);
    EXPECT_TRUE(P[1]->Collapsed());
    SimulateClick(P[1], 20, 5);
    EXPECT_FALSE(P[1]->Collapsed());
    SimulateClick(P[1], 20, Group->HeaderHeight() + 10);
    EXPECT_FALSE(P[1]->Collapsed());
}

TEST_F(CategoryPanelsTest, LineScrollingMovesThePanelsAndStopsAtTheEnds) {
    ASSERT_EQ(Group->ScrollMax(), 40);
    Scroll(SB_LINEDOWN);
    EXPECT_EQ(Group->ScrollPos(), Group->LineIncrement());
    EXPECT_EQ(P[0]->Top(), -Group->LineIncrement());
    EXPECT_EQ(P[2]->Top(), 180 - Group->LineIncrement());
    for (int i = 0; i < 10; ++i) Scroll(SB_LINEDOWN);
    EXPECT_EQ(Group->ScrollPos(), 40);
    EXPECT_EQ(P[2]->Top() + P[2]->Height(), 200);
    Scroll(SB_LINEUP);
    EXPECT_EQ(Group->ScrollPos(), 40 - Group->LineIncrement());
    Group->Perform(WM_VSCROLL, MAKEWPARAM(Word(SB_THUMBPOSITION), 17));
    EXPECT_EQ(Group->ScrollPos(), 17);
    Scroll(SB_TOP);
    EXPECT_EQ(Group->ScrollPos(), 0);
    Scroll(SB_LINEUP);
    EXPECT_EQ(Group->ScrollPos(), 0);

    // Less content than room: the position comes back within range and the bar goes.
    Scroll(SB_BOTTOM);
    P[0]->Collapse();
    EXPECT_EQ(Group->ScrollPos(), 0);
    EXPECT_EQ(P[0]->Top(), 0);
    EXPECT_FALSE(Group->ScrollBarVisible());
}

TEST_F(CategoryPanelsTest, TheScrollBarFollowsThePositionAndScrollsTheGroup) {
    Group->HandleNeeded();
    auto* bar = Group->Widget()->findChild<QScrollBar*>();
    ASSERT_NE(bar, nullptr);
    EXPECT_TRUE(bar->isVisibleTo(Group->Widget()));
    EXPECT_EQ(bar->maximum(), 40);
    EXPECT_EQ(bar->geometry().left(), 300 - TCategoryPanelGroup::ScrollBarWidth());
    Scroll(SB_LINEDOWN);
    EXPECT_EQ(bar->value(), Group->LineIncrement());
    // The user moves the bar: the panels follow.
    bar->setValue(30);
    EXPECT_EQ(Group->ScrollPos(), 30);
    EXPECT_EQ(P[0]->Top(), -30);
    P[2]->Hide();
    EXPECT_FALSE(bar->isVisibleTo(Group->Widget()));
}

TEST_F(CategoryPanelsTest, ControlsOfAPanelSitBelowItsHeader) {
    auto* edit = new TEdit(Form);
    edit->SetParent(P[1]->Surface());
    edit->SetBounds(191, 9, 55, 21);
    const TPoint inGroup = edit->ClientToParent(TPoint(0, 0), Group);
    EXPECT_EQ(inGroup, TPoint(191, P[1]->Top() + Group->HeaderHeight() + 9));
    // Controls of a collapsed panel cannot take the focus.
    EXPECT_TRUE(edit->CanFocus());
    P[1]->Collapse();
    EXPECT_FALSE(edit->CanFocus());
}

TEST_F(CategoryPanelsTest, HeaderShowsGradientMarkCaptionAndHotChevron) {
    Group->SetGradientBaseColor(TColor(0xD8D8E7));
    Group->SetGradientColor(TColor(0xD8D8E7));
    Group->SetChevronColor(clBlack);
    Group->SetChevronHotColor(clRed);
    Group->HeaderFont()->SetColor(clGray);
    auto* images = new TImageList(Form, 8, 8);
    for (TColor c : {clLime, clBlue}) {
        TBitmap bmp(8, 8);
        bmp.Canvas()->Brush()->SetColor(c);
        bmp.Canvas()->FillRect(Rect(0, 0, 8, 8));
        images->Add(&bmp, nullptr);
    }
    Group->SetImages(images);
    P[0]->SetExpandedImageIndex(0);
    P[0]->SetCollapsedImageIndex(1);
    P[0]->SetCaption("1. Client");

    auto paint = [&] {
        P[0]->Repaint();
        return P[0]->BackImage().copy();
    };
    const int hh = Group->HeaderHeight();
    QImage img = paint();
    EXPECT_EQ(Pixel(img, P[0]->Width() / 2, 2), TColor(0xD8D8E7));
    EXPECT_EQ(Pixel(img, 6, hh / 2), clLime);
    // The caption is drawn between the mark and the chevron in the header font's colour.
    bool gray = false;
    for (int x = 20; x < 80 && !gray; ++x)
        for (int y = 0; y < hh && !gray; ++y) gray = Pixel(img, x, y) == clGray;
    EXPECT_TRUE(gray);

    auto chevronHas = [&](const QImage& image, TColor c) {
        const TRect r = P[0]->ChevronRect();
        for (int x = r.Left; x < r.Right; ++x)
            for (int y = r.Top; y < r.Bottom; ++y)
                if (Pixel(image, x, y) == c) return true;
        return false;
    };
    EXPECT_TRUE(chevronHas(img, clBlack));
    EXPECT_FALSE(chevronHas(img, clRed));
    const TRect r = P[0]->ChevronRect();
    SimulateMouseMove(P[0], {}, r.Left + 8, r.Top + 8);
    EXPECT_TRUE(P[0]->ChevronHot());
    img = paint();
    EXPECT_TRUE(chevronHas(img, clRed));
    SimulateMouseMove(P[0], {}, 5, hh + 20);
    EXPECT_FALSE(P[0]->ChevronHot());

    P[0]->Collapse();
    img = paint();
    EXPECT_EQ(Pixel(img, 6, hh / 2), clBlue);
    // The image list going away leaves the header without a mark.
    TObject::Free(images);
    EXPECT_EQ(Group->Images(), nullptr);
    img = paint();
    EXPECT_EQ(Pixel(img, 6, hh / 2), TColor(0xD8D8E7));
}

TEST(CategoryPanelGroupLifetime, PanelsFreedBeforeOrWithTheirGroupLeaveNoTrace) {
    auto* form = new TForm(nullptr);
    auto freeForm = FreeAtEnd(form); // frees the group with the panel still inside
    auto* group = new TCategoryPanelGroup(form);
    group->SetParent(form);
    TCategoryPanel* a = group->CreatePanel(form);
    TCategoryPanel* b = group->CreatePanel(form);
    a->SetHeight(50);
    b->SetHeight(70);
    TObject::Free(a);
    EXPECT_EQ(group->PanelCount(), 1);
    EXPECT_EQ(b->Top(), 0);
    EXPECT_EQ(group->ContentHeight(), 70);
}

} // namespace

namespace {

// A window built in code: the panel's surface ends loading with the panel, so tab orders given
// while building are in place afterwards.
class TPanelForm : public TForm {
public:
    explicit TPanelForm(TComponent* AOwner) : TForm(AOwner) {
        BeginLoading();
        Group = new TCategoryPanelGroup(this);
        Group->SetParent(this);
        Panel = Group->CreatePanel(this);
        for (int i = 0; i < 3; ++i) {
            auto* e = new TEdit(this);
            e->SetParent(Panel->Surface());
            Edits.push_back(e);
        }
        for (int i = 0; i < 3; ++i) Edits[size_t(i)]->SetTabOrder(2 - i);
        EndLoading();
    }
    TCategoryPanelGroup* Group;
    TCategoryPanel* Panel;
    std::vector<TWinControl*> Edits;
};

TEST(CategoryPanelLoading, TheSurfaceEndsLoadingWithItsPanel) {
    auto* f = new TPanelForm(nullptr);
    auto freeF = FreeAtEnd(f);
    EXPECT_FALSE(f->Panel->HasState(csLoading));
    EXPECT_FALSE(f->Panel->Surface()->HasState(csLoading));
    std::vector<TWinControl*> order;
    f->Panel->Surface()->GetTabOrderList(order);
    EXPECT_EQ(order, (std::vector<TWinControl*>{f->Edits[2], f->Edits[1], f->Edits[0]}));
}

} // namespace
