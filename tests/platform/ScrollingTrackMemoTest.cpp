// The scrolling control's automatic ranges and moving children, the track bar's range rules and
// change notifications, and the memo's lines.
#include "ComCtrls.h"
#include "ExtPanels.h"
#include "Forms.h"
#include "OSInfo.h"
#include "StdCtrls.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

namespace {

class ScrollingAndStandardControls : public ::testing::Test {
protected:
    void SetUp() override {
        Form = new TForm(nullptr);
        Form->SetBounds(100, 100, 400, 300);
        Form->Show();
    }
    void TearDown() override { TObject::Free(Form); }
    TForm* Form = nullptr;
};

// A scrolling control to place on a form (forms themselves are top-level windows).
class TScrollBoxStandIn : public TScrollingWinControl {
public:
    using TScrollingWinControl::TScrollingWinControl;
};

TEST_F(ScrollingAndStandardControls, AutoScrollFollowsTheChildrenAndScrollsThem) {
    auto* box = new TScrollBoxStandIn(Form);
    box->SetParent(Form);
    box->SetBounds(0, 0, 120, 100);
    auto* child = new TPanel(box);
    child->SetParent(box);
    child->SetBounds(0, 0, 80, 60);
    box->SetAutoScroll(true);
    TControlScrollBar* v = box->VertScrollBar();
    EXPECT_FALSE(v->IsScrollBarVisible());
    child->SetHeight(300); // taller than the client area
    EXPECT_TRUE(v->IsScrollBarVisible());
    EXPECT_FALSE(box->HorzScrollBar()->IsScrollBarVisible());
    EXPECT_EQ(v->Range(), 300);
    EXPECT_EQ(box->ClientWidth(), 120 - GetSystemMetrics(SM_CXVSCROLL));
    v->SetPosition(50);
    EXPECT_EQ(child->Top(), -50);
    v->SetPosition(1000); // kept within the range
    EXPECT_EQ(v->Position(), 300 - box->ClientHeight());
    EXPECT_EQ(child->Top(), -v->Position());
    box->Perform(WM_VSCROLL, SB_TOP, 0);
    EXPECT_EQ(v->Position(), 0);
    box->Perform(WM_VSCROLL, SB_LINEDOWN, 0);
    EXPECT_EQ(v->Position(), v->Increment());
    box->Perform(WM_VSCROLL, MAKEWPARAM(SB_THUMBTRACK, 40), 0); // not tracking: waits for the release
    EXPECT_EQ(v->Position(), v->Increment());
    box->Perform(WM_VSCROLL, MAKEWPARAM(SB_THUMBPOSITION, 40), 0);
    EXPECT_EQ(v->Position(), 40);
    child->SetHeight(50); // fits again: the bar goes and the content comes back
    EXPECT_FALSE(v->IsScrollBarVisible());
    EXPECT_EQ(v->Position(), 0);
    EXPECT_EQ(child->Top(), 0);
}

TEST_F(ScrollingAndStandardControls, TheTrackBarKeepsItsPositionInRange) {
    auto* bar = new TTrackBar(Form);
    bar->SetParent(Form);
    int changes = 0;
    bar->OnChange = [&](TObject*) { ++changes; };
    bar->SetMin(20); // above Max
    EXPECT_EQ(bar->Min(), 0);
    bar->SetMax(-1); // below Min
    EXPECT_EQ(bar->Max(), 10);
    bar->SetPosition(7);
    EXPECT_EQ(changes, 1);
    bar->SetPosition(7);
    EXPECT_EQ(changes, 1);
    bar->SetPosition(-3);
    EXPECT_EQ(bar->Position(), 0);
    EXPECT_EQ(changes, 2);
    bar->SetPosition(6);
    bar->SetMax(4); // the position follows the narrower range and notifies
    EXPECT_EQ(bar->Position(), 4);
    EXPECT_EQ(changes, 4);
    bar->SetFocus();
    SimulateKey(bar, VK_LEFT); // the user's keys move it too
    EXPECT_EQ(bar->Position(), 3);
    EXPECT_EQ(changes, 5);
}

TEST_F(ScrollingAndStandardControls, TheMemoShowsItsTextAsLines) {
    auto* memo = new TMemo(Form);
    memo->SetParent(Form);
    memo->Lines()->SetText(QStringLiteral("one\r\ntwo\r\n"));
    EXPECT_EQ(memo->Lines()->Count(), 2);
    EXPECT_EQ(memo->Text(), QStringLiteral("one\r\ntwo"));
    memo->Lines()->Add(QStringLiteral("three"));
    EXPECT_EQ(memo->Lines()->Strings(2), QStringLiteral("three"));
    EXPECT_EQ(memo->Lines()->Text(), QStringLiteral("one\r\ntwo\r\nthree\r\n"));
    memo->Lines()->Delete(0);
    EXPECT_EQ(memo->Lines()->Strings(0), QStringLiteral("two"));
    memo->Lines()->Clear();
    EXPECT_EQ(memo->Lines()->Count(), 0);
    memo->SetMaxLength(3);
    memo->SetFocus();
    SimulateText(memo, QStringLiteral("abcdef"));
    EXPECT_EQ(memo->Text(), QStringLiteral("abc"));
    memo->SetScrollBars(ssVertical); // a new window keeps the text
    EXPECT_EQ(memo->Text(), QStringLiteral("abc"));
    TStringList source;
    source.Add(QStringLiteral("x"));
    memo->SetLines(&source);
    EXPECT_EQ(memo->Text(), QStringLiteral("x"));
}

} // namespace
