// The search footer: the panel's layout, enabling and painting, its keys and buttons reaching the
// grid's handlers, the search as the user types and closing the footer.
#include "AdvGrid.h"
#include "ControlImage.h"
#include "Forms.h"
#include "KeyTyping.h"
#include "OSInfo.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

struct Action {
    String Value;
    int Col, Row;
    TSearchAction Kind;
};

class SearchPanelFixture : public ::testing::Test {
protected:
    void SetUp() override {
        Form = new TForm(nullptr);
        Form->SetBounds(100, 100, 700, 400);
        Grid = new TAdvStringGrid(Form);
        Grid->SetParent(Form);
        Grid->SetBorderStyle(bsNone);
        Grid->SetBounds(10, 10, 500, 250);
        Grid->SetRowCount(5);
        Form->Show();
        Application->ProcessMessages();
        Grid->OnSearchFooterAction = [this](TObject*, const String& Value, int ACol, int ARow,
                                            TSearchAction Kind) {
            Actions.push_back({Value, ACol, ARow, Kind});
        };
    }
    void TearDown() override {
        TObject::Free(Form);
        ResetPlatformSwitches();
    }
    TSearchPanel* Panel() { return Grid->SearchPanel(); }
    TRetEdit* Edit() { return Panel()->EditControl(); }
    void Show() {
        Grid->SearchFooter()->SetVisible(true);
        Application->ProcessMessages();
    }
    static TColor Px(const QImage& Img, int X, int Y) {
        const QRgb p = Img.pixel(X, Y);
        return TColor(qRed(p) | (qGreen(p) << 8) | (qBlue(p) << 16));
    }
    static void ExpectBounds(TControl* C, int Left, int Top, int Width, int Height) {
        EXPECT_EQ(C->Left(), Left);
        EXPECT_EQ(C->Top(), Top);
        EXPECT_EQ(C->Width(), Width);
        EXPECT_EQ(C->Height(), Height);
    }

    TForm* Form = nullptr;
    TAdvStringGrid* Grid = nullptr;
    std::vector<Action> Actions;
};

TEST_F(SearchPanelFixture, LayoutAndVisibility) {
    ASSERT_NE(Panel(), nullptr);
    EXPECT_EQ(Panel()->Parent(), Grid);
    EXPECT_EQ(Panel()->Height(), 0);
    Grid->SearchFooter()->SetFindNextCaption(QStringLiteral("Next"));
    Grid->SearchFooter()->SetHintClose(QStringLiteral("Close"));
    Show();
    EXPECT_TRUE(Panel()->Visible());
    EXPECT_EQ(Panel()->Height(), 32);
    EXPECT_EQ(Panel()->Top() + 32, Grid->ClientHeight());
    EXPECT_EQ(Edit()->Left(), 25);
    EXPECT_EQ(Edit()->Top(), 6);
    EXPECT_EQ(Edit()->Width(), 110);
    ExpectBounds(Panel()->ForwardButton(), 140, 5, 90, 23);
    ExpectBounds(Panel()->BackwardButton(), 235, 5, 90, 23);
    ExpectBounds(Panel()->ExitButton(), 5, 7, 14, 14);
    ExpectBounds(Panel()->HiliteButton(), 330, 5, 90, 23);
    EXPECT_EQ(Panel()->MatchCase()->Left(), 425);
    EXPECT_EQ(Panel()->MatchCase()->Top(), 8);
    EXPECT_EQ(Panel()->MatchCase()->Height(), 18);
    EXPECT_EQ(Panel()->ForwardButton()->Caption(), QStringLiteral("Next"));
    EXPECT_TRUE(Panel()->ExitButton()->ShowHint());
    EXPECT_FALSE(Panel()->ForwardButton()->ShowHint()); // no hint text
    EXPECT_FALSE(Panel()->ForwardButton()->Glyph()->Empty());
    EXPECT_EQ(Panel()->HiliteButton()->Style(), tasCheck);

    // Without the highlight button the match-case box moves left; hidden buttons are 0 high.
    Grid->SearchFooter()->SetShowHighLight(false);
    EXPECT_EQ(Panel()->MatchCase()->Left(), 330);
    EXPECT_EQ(Panel()->HiliteButton()->Height(), 0);
    Grid->SearchFooter()->SetShowFindPrev(false);
    EXPECT_FALSE(Panel()->BackwardButton()->Visible());
    EXPECT_EQ(Panel()->BackwardButton()->Height(), 0);

    Grid->SearchFooter()->SetVisible(false);
    EXPECT_FALSE(Panel()->Visible());
    EXPECT_EQ(Panel()->Height(), 0);
}

TEST_F(SearchPanelFixture, ResizingTheGridKeepsThePanelAtTheBottomEdge) {
    Show();
    Panel()->SetHeight(50); // whatever changed it, the next size brings it back
    Grid->SetBounds(10, 10, 400, 180);
    Application->ProcessMessages();
    EXPECT_EQ(Panel()->Height(), 32);
    EXPECT_EQ(Panel()->Align(), alBottom);
    EXPECT_EQ(Panel()->Top() + 32, Grid->ClientHeight());
    EXPECT_EQ(Panel()->Width(), Grid->ClientWidth());
}

TEST_F(SearchPanelFixture, RightToLeftMirrorsTheButtons) {
    Show();
    ASSERT_EQ(Panel()->Width(), 500);
    PlatformSwitches().MiddleEastLocale = true;
    Panel()->SetBiDiMode(bdRightToLeft);
    Panel()->LayoutChildren();
    EXPECT_EQ(Panel()->ForwardButton()->Left(), 500 - 90 - 140);
    EXPECT_EQ(Panel()->BackwardButton()->Left(), 500 - 90 - 235);
    EXPECT_EQ(Panel()->ExitButton()->Left(), 500 - 14 - 5);
    EXPECT_EQ(Edit()->Left(), 500 - 110 - 25);
}

TEST_F(SearchPanelFixture, TypingEnablesTheButtons) {
    Show();
    TAdvGridButton* const buttons[] = {Panel()->ForwardButton(), Panel()->BackwardButton(),
                                       Panel()->HiliteButton()};
    for (TAdvGridButton* b : buttons) EXPECT_FALSE(b->Enabled());
    Edit()->SetFocus();
    TypeKeys(Edit(), QStringLiteral("a"));
    EXPECT_EQ(Edit()->Text(), QStringLiteral("a"));
    for (TAdvGridButton* b : buttons) EXPECT_TRUE(b->Enabled());
    SimulateKey(Edit(), VK_BACK);
    EXPECT_EQ(Edit()->Text(), QString());
    for (TAdvGridButton* b : buttons) EXPECT_FALSE(b->Enabled());
}

// Typing searches from the first cell; a text that is found nowhere colours the edit red, an
// empty text back in the window colour. A handler may take the search over.
TEST_F(SearchPanelFixture, TypingSearchesAndColoursTheEdit) {
    Show();
    Edit()->SetFocus();
    TypeKeys(Edit(), QStringLiteral("zq"));
    ASSERT_EQ(Actions.size(), 2u);
    EXPECT_EQ(Actions[1].Value, QStringLiteral("zq"));
    EXPECT_EQ(Actions[1].Kind, saFindFirst);
    EXPECT_EQ(Actions[1].Col, -1);
    EXPECT_EQ(Edit()->Color(), clRed);
    SimulateKey(Edit(), VK_BACK);
    SimulateKey(Edit(), VK_BACK);
    EXPECT_EQ(Edit()->Color(), clWindow);
    EXPECT_EQ(Actions.size(), 3u); // the empty text searches nothing

    String seen;
    Grid->OnSearchEditChange = [&](TObject*, const String& Value, bool& DefaultSearch) {
        seen = Value;
        DefaultSearch = false;
    };
    TypeKeys(Edit(), QStringLiteral("x"));
    EXPECT_EQ(seen, QStringLiteral("x"));
    EXPECT_EQ(Actions.size(), 3u);
    EXPECT_EQ(Edit()->Color(), clWindow);
}

// Return and Ctrl+Return are find next and find previous; the edit never sees them.
TEST_F(SearchPanelFixture, ReturnKeysReachTheButtonsHandlers) {
    Show();
    Edit()->SetFocus();
    TypeKeys(Edit(), QStringLiteral("ab"));
    Actions.clear();
    int keyDowns = 0;
    Edit()->OnKeyDown = [&](TObject*, Word&, TShiftState) { ++keyDowns; };
    SimulateKey(Edit(), VK_RETURN);
    SimulateKey(Edit(), VK_RETURN, {ssCtrl});
    ASSERT_EQ(Actions.size(), 2u);
    EXPECT_EQ(Actions[0].Kind, saFindNext);
    EXPECT_EQ(Actions[0].Value, QStringLiteral("ab"));
    EXPECT_EQ(Actions[1].Kind, saFindPrevious);
    EXPECT_EQ(Edit()->Text(), QStringLiteral("ab"));
    EXPECT_EQ(keyDowns, 0);
}

TEST_F(SearchPanelFixture, ButtonsReachTheHandlers) {
    Show();
    Edit()->SetFocus();
    TypeKeys(Edit(), QStringLiteral("ab"));
    Actions.clear();
    auto click = [](TControl* C) { SimulateClick(C, C->Width() / 2, C->Height() / 2); };
    click(Panel()->ForwardButton());
    click(Panel()->BackwardButton());
    ASSERT_EQ(Actions.size(), 2u);
    EXPECT_EQ(Actions[0].Kind, saFindNext);
    EXPECT_EQ(Actions[1].Kind, saFindPrevious);

    click(Panel()->HiliteButton());
    EXPECT_TRUE(Panel()->HiliteButton()->Down());
    click(Panel()->HiliteButton());
    EXPECT_FALSE(Panel()->HiliteButton()->Down());

    int closes = 0;
    Grid->OnSearchFooterClose = [&](TObject* Sender) {
        EXPECT_EQ(Sender, Grid);
        EXPECT_TRUE(Grid->SearchFooter()->Visible());
        ++closes;
    };
    click(Panel()->ExitButton());
    EXPECT_EQ(closes, 1);
    EXPECT_FALSE(Grid->SearchFooter()->Visible());
    EXPECT_EQ(Panel()->Height(), 0);
}

TEST_F(SearchPanelFixture, PaintsItsGradientAndTopLine) {
    Grid->SearchFooter()->SetColor(0xFFFFFF);
    Grid->SearchFooter()->SetColorTo(0x000000);
    Grid->SetGridLineColor(0x0000FF);
    Show();
    Application->ProcessMessages();
    const QImage img = ControlImage(Panel());
    const int x = 480; // right of every child
    EXPECT_EQ(Px(img, x, 0), TColor(0x0000FF));
    EXPECT_GT(qGray(img.pixel(x, 2)), 200);
    EXPECT_LT(qGray(img.pixel(x, 30)), 60);

    Grid->SearchFooter()->SetColorTo(clNone);
    Application->ProcessMessages();
    const QImage plain = ControlImage(Panel());
    EXPECT_EQ(Px(plain, x, 30), TColor(0xFFFFFF));
}

} // namespace
