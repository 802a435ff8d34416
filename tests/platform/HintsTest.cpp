// Hints: the pause over a control, the CM_HINTSHOW record and what a control may change in it,
// the hint window (topmost, not activated, its look), hiding by timeout, press or CancelHint, a
// new query outside the record's rectangle. The hint timer is driven by HintTimerTick.
#include "Forms.h"

#include <QWidget>
#include <gtest/gtest.h>

#include <functional>
#include <vector>

namespace {

// A control with a hint that records the CM_HINTSHOW records it gets; Change may alter the
// record or refuse the hint (answering non-zero).
class THintProbe : public TCustomControl {
public:
    explicit THintProbe(TComponent* AOwner) : TCustomControl(AOwner) {
        SetBounds(20, 30, 100, 40);
        SetHint(QStringLiteral("Open|Opens a project"));
        SetShowHint(true);
    }
    std::vector<THintInfo> Asked;
    std::function<LRESULT(THintInfo&)> Change;

    void Dispatch(TMessage& Message) override {
        if (Message.Msg == CM_HINTSHOW) {
            TCMHintShow m(Message);
            Asked.push_back(*m.HintInfo());
            Message.Result = Change ? Change(*m.HintInfo()) : 0;
            return;
        }
        TCustomControl::Dispatch(Message);
    }
};

// A hint window class of its own: records what it was asked to show.
class TRecordingHintWindow : public THintWindow {
public:
    explicit TRecordingHintWindow(TComponent* AOwner) : THintWindow(AOwner) {}
    static inline std::vector<void*> Data;
    void ActivateHintData(TRect Rect, const String& AHint, void* AData) override {
        Data.push_back(AData);
        THintWindow::ActivateHintData(Rect, AHint, AData);
    }
};

class HintsTest : public ::testing::Test {
protected:
    void SetUp() override {
        FPause = Application->HintPause;
        FHide = Application->HintHidePause;
        FShort = Application->HintShortPause;
        Application->HintPause = 500;
        Application->HintHidePause = 2500;
        Application->HintShortPause = 50;
        Form = new TForm(nullptr);
        Form->SetClientSize(300, 200);
        Probe = new THintProbe(Form);
        Probe->SetParent(Form);
        Form->Show();
    }
    void TearDown() override {
        Application->CancelHint();
        TObject::Free(Form);
        Application->HintPause = FPause;
        Application->HintHidePause = FHide;
        Application->HintShortPause = FShort;
    }
    // Rests the pointer at (X, Y) of the probe and lets the pause pass.
    void RestAndTick(int X, int Y) {
        SimulateMouseMove(Probe, {}, X, Y);
        ASSERT_EQ(HintTimerMode(), htmShowHint);
        HintTimerTick();
    }

    TForm* Form = nullptr;
    THintProbe* Probe = nullptr;

private:
    int FPause = 0, FHide = 0, FShort = 0;
};

TEST_F(HintsTest, ShownAfterThePauseAndHiddenAfterTheTimeout) {
    SimulateMouseMove(Probe, {}, 10, 8);
    EXPECT_EQ(HintTimerMode(), htmShowHint);
    EXPECT_EQ(HintTimerInterval(), 500);
    EXPECT_EQ(ShownHintWindow(), nullptr);
    HintTimerTick();

    ASSERT_EQ(Probe->Asked.size(), 1u);
    const THintInfo& info = Probe->Asked[0];
    EXPECT_EQ(info.HintControl, Probe);
    EXPECT_EQ(info.HintStr, "Open"); // the part before "|"
    EXPECT_EQ(info.CursorPos, TPoint(10, 8));
    EXPECT_EQ(info.CursorRect, Rect(0, 0, 100, 40));
    const TPoint pointer = Probe->ClientToScreen(TPoint(10, 8));
    EXPECT_EQ(info.HintPos, TPoint(pointer.X, pointer.Y + 20));
    EXPECT_EQ(info.HintMaxWidth, Screen->Width());
    EXPECT_EQ(info.HintColor, Application->HintColor);
    EXPECT_EQ(info.HideTimeout, 2500);
    EXPECT_EQ(info.HintWindowClass, HintWindowClass);
    EXPECT_EQ(info.HintData, nullptr);

    THintWindow* w = ShownHintWindow();
    ASSERT_TRUE(w);
    EXPECT_EQ(w->Caption(), "Open");
    EXPECT_EQ(TPoint(w->Left(), w->Top()), info.HintPos);
    // Topmost, a window of its own, shown without taking the activation.
    QWidget* top = w->Widget()->window();
    EXPECT_TRUE(top->isVisible());
    EXPECT_TRUE(top->windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_TRUE(top->testAttribute(Qt::WA_ShowWithoutActivating));
    EXPECT_EQ(Screen->ActiveForm(), Form);
    EXPECT_TRUE(Form->Active());

    EXPECT_EQ(HintTimerMode(), htmHideHint);
    EXPECT_EQ(HintTimerInterval(), 2500);
    HintTimerTick();
    EXPECT_EQ(ShownHintWindow(), nullptr);
    // Resting inside the same rectangle does not bring it back.
    SimulateMouseMove(Probe, {}, 12, 8);
    EXPECT_EQ(HintTimerMode(), htmNone);
}

TEST_F(HintsTest, APressHidesTheHint) {
    RestAndTick(10, 8);
    ASSERT_TRUE(ShownHintWindow());
    SimulateMouseDown(Probe, mbLeft, {}, 10, 8);
    EXPECT_EQ(ShownHintWindow(), nullptr);
    EXPECT_EQ(HintTimerMode(), htmNone);
    SimulateMouseUp(Probe, mbLeft, {}, 10, 8);
}

TEST_F(HintsTest, ANonZeroAnswerShowsNoHint) {
    Probe->Change = [](THintInfo&) { return LRESULT(1); };
    RestAndTick(10, 8);
    EXPECT_EQ(Probe->Asked.size(), 1u);
    EXPECT_EQ(ShownHintWindow(), nullptr);
    EXPECT_EQ(HintTimerMode(), htmNone);
}

TEST_F(HintsTest, TheControlShapesTheHintAndLeavingItsRectangleAsksAgain) {
    Probe->Change = [](THintInfo& I) {
        I.HintStr = QStringLiteral("Cell %1").arg(I.CursorPos.X / 10);
        I.HintColor = clYellow;
        I.HintPos = TPoint(300, 250);
        I.CursorRect = Rect(I.CursorPos.X / 10 * 10, 0, I.CursorPos.X / 10 * 10 + 10, 40);
        return LRESULT(0);
    };
    RestAndTick(15, 8);
    THintWindow* w = ShownHintWindow();
    ASSERT_TRUE(w);
    EXPECT_EQ(w->Caption(), "Cell 1");
    EXPECT_EQ(w->Color(), clYellow);
    EXPECT_EQ(TPoint(w->Left(), w->Top()), TPoint(300, 250));
    // Inside the rectangle nothing happens; outside it the hint goes and a new, short pause runs.
    SimulateMouseMove(Probe, {}, 18, 30);
    EXPECT_EQ(HintTimerMode(), htmHideHint);
    SimulateMouseMove(Probe, {}, 25, 8);
    EXPECT_EQ(ShownHintWindow(), nullptr);
    EXPECT_EQ(HintTimerMode(), htmShowHint);
    EXPECT_EQ(HintTimerInterval(), 50);
    HintTimerTick();
    ASSERT_EQ(Probe->Asked.size(), 2u);
    EXPECT_EQ(Probe->Asked[1].CursorPos, TPoint(25, 8));
    ASSERT_TRUE(ShownHintWindow());
    EXPECT_EQ(ShownHintWindow()->Caption(), "Cell 2");
}

TEST_F(HintsTest, CancelHintAndLeavingTheControlHideIt) {
    RestAndTick(10, 8);
    Application->CancelHint();
    EXPECT_EQ(ShownHintWindow(), nullptr);
    EXPECT_EQ(HintTimerMode(), htmNone);
    RestAndTick(10, 8);
    ASSERT_TRUE(ShownHintWindow());
    SimulateMouseLeave(Probe);
    EXPECT_EQ(ShownHintWindow(), nullptr);
    // A control without ShowHint (and no parent that shows one) starts no pause.
    Probe->SetShowHint(false);
    SimulateMouseMove(Probe, {}, 10, 8);
    EXPECT_EQ(HintTimerMode(), htmNone);
}

TEST_F(HintsTest, TheRecordsWindowClassMakesTheWindow) {
    static int data = 7;
    Probe->Change = [](THintInfo& I) {
        I.HintWindowClass = HintWindowClassOf<TRecordingHintWindow>();
        I.HintData = &data;
        return LRESULT(0);
    };
    TRecordingHintWindow::Data.clear();
    RestAndTick(10, 8);
    EXPECT_TRUE(dynamic_cast<TRecordingHintWindow*>(ShownHintWindow()));
    EXPECT_EQ(TRecordingHintWindow::Data, std::vector<void*>({&data}));
}

TEST_F(HintsTest, TheHintWindowsLook) {
    RestAndTick(10, 8);
    THintWindow* w = ShownHintWindow();
    ASSERT_TRUE(w);
    // Its size: the text's plus 6 across and 2 down, with a 1-pixel border.
    TRect calc = w->CalcHintRect(1000, QStringLiteral("Open"), nullptr);
    EXPECT_EQ(TPoint(w->Width(), w->Height()), TPoint(calc.Width(), calc.Height()));
    TBitmap text;
    text.Canvas()->SetFont(w->Font());
    EXPECT_EQ(calc.Width(), text.Canvas()->TextWidth(QStringLiteral("Open")) + 6);
    EXPECT_EQ(w->ClientWidth(), w->Width() - 2);
    TBitmap bmp;
    bmp.SetSize(w->Width(), w->Height());
    w->PaintTo(bmp.Canvas(), 0, 0);
    EXPECT_EQ(bmp.Canvas()->Pixels(0, 0), ColorToRGB(clWindowFrame));
    EXPECT_EQ(bmp.Canvas()->Pixels(w->Width() - 1, w->Height() - 1), ColorToRGB(clWindowFrame));
    EXPECT_EQ(bmp.Canvas()->Pixels(2, w->Height() - 2), ColorToRGB(clInfoBk));
    int ink = 0;
    for (int y = 0; y < w->Height(); ++y)
        for (int x = 3; x < w->Width() - 3; ++x)
            if (bmp.Canvas()->Pixels(x, y) == ColorToRGB(clInfoText)) ++ink;
    EXPECT_GT(ink, 10);
}

TEST_F(HintsTest, TheEventLoopRunsTheTimer) {
    Application->HintPause = 1;
    Application->HintHidePause = 60000;
    SimulateMouseMove(Probe, {}, 10, 8);
    EXPECT_TRUE(ProcessMessagesUntil([] { return ShownHintWindow() != nullptr; }));
}

} // namespace
