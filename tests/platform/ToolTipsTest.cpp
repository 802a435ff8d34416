// The tool-tip window: made by class name, its messages, the delays driven by TimerTick, the text
// asked from the tool's window, hiding by press, leave, pop and auto-pop, and the subclassing
// undone when either side goes.
#include "Forms.h"
#include "ToolTips.h"

#include <QWidget>
#include <gtest/gtest.h>

namespace {

// A control answering the tool-tip's text request with Answer, counting the requests.
class TTipProbe : public TCustomControl {
public:
    explicit TTipProbe(TComponent* AOwner) : TCustomControl(AOwner) { SetBounds(20, 30, 120, 60); }
    String Answer = QStringLiteral("Tip text");
    int Asked = 0;
    int Moves = 0;
    void Dispatch(TMessage& Message) override {
        if (Message.Msg == WM_NOTIFY) {
            auto* hdr = reinterpret_cast<NMHDR*>(Message.LParam);
            if (hdr && hdr->code == TTN_GETDISPINFO) {
                ++Asked;
                reinterpret_cast<NMTTDISPINFO*>(hdr)->Text = Answer;
                return;
            }
        }
        if (Message.Msg == WM_MOUSEMOVE) ++Moves;
        TCustomControl::Dispatch(Message);
    }
};

class ToolTipsTest : public ::testing::Test {
protected:
    void SetUp() override {
        Form = new TForm(nullptr);
        Form->SetClientSize(300, 200);
        Probe = new TTipProbe(Form);
        Probe->SetParent(Form);
        Form->Show();
        Tip = CreateWindowEx(
            0, TOOLTIPS_CLASS, String(), WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX | TTS_BALLOON, CW_USEDEFAULT,
            CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, Probe->Handle(), nullptr, 0, nullptr);
        TOOLINFO ti;
        ti.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
        ti.hwnd = Probe->Handle();
        ti.uId = UINT_PTR(Probe->Handle());
        ti.lpszText = LPSTR_TEXTCALLBACK;
        SendMessage(Tip, TTM_ADDTOOL, 0, LPARAM(&ti));
    }
    void TearDown() override {
        DestroyWindow(Tip);
        TObject::Free(Form);
    }
    TToolTipWindow* Window() { return FindToolTipWindow(Tip); }
    // Rests the pointer on the probe and lets the initial delay pass.
    void RestAndTick(int X, int Y) {
        SimulateMouseMove(Probe, {}, X, Y);
        ASSERT_EQ(Window()->TimerMode(), TToolTipWindow::tmShow);
        Window()->TimerTick();
    }

    TForm* Form = nullptr;
    TTipProbe* Probe = nullptr;
    HWND Tip = 0;
};

TEST(ToolTipClass, OnlyTheToolTipClassIsMadeByName) {
    const int before = ToolTipWindowCount();
    EXPECT_EQ(CreateWindowEx(0, "Button", String(), 0, 0, 0, 10, 10, 0, nullptr, 0, nullptr), HWND(0));
    const HWND tip = CreateWindowEx(0, "tooltips_class32", String(), TTS_BALLOON, CW_USEDEFAULT,
                                    CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, 0, nullptr, 0, nullptr);
    ASSERT_NE(tip, HWND(0));
    EXPECT_EQ(ToolTipWindowCount(), before + 1);
    // Topmost, a tool window, hidden until a tip shows.
    TToolTipWindow* w = FindToolTipWindow(tip);
    ASSERT_TRUE(w);
    EXPECT_TRUE(GetWindowLong(tip, GWL_EXSTYLE) & WS_EX_TOPMOST);
    EXPECT_FALSE(w->TipShowing());
    EXPECT_TRUE(DestroyWindow(tip));
    EXPECT_EQ(ToolTipWindowCount(), before);
    EXPECT_FALSE(DestroyWindow(tip));
    EXPECT_FALSE(DestroyWindow(0));
}

TEST_F(ToolTipsTest, SettingsByMessage) {
    TToolTipWindow* w = Window();
    ASSERT_TRUE(w);
    EXPECT_EQ(SendMessage(Tip, TTM_GETTOOLCOUNT), 1);
    // The platform's delays until set; -1 sets the default back.
    EXPECT_EQ(w->Delay(TTDT_INITIAL), 500);
    SendMessage(Tip, TTM_SETDELAYTIME, TTDT_INITIAL, 300);
    SendMessage(Tip, TTM_SETDELAYTIME, TTDT_AUTOPOP, 4000);
    SendMessage(Tip, TTM_SETDELAYTIME, TTDT_RESHOW, 50);
    EXPECT_EQ(SendMessage(Tip, TTM_GETDELAYTIME, TTDT_INITIAL), 300);
    EXPECT_EQ(SendMessage(Tip, TTM_GETDELAYTIME, TTDT_AUTOPOP), 4000);
    EXPECT_EQ(SendMessage(Tip, TTM_GETDELAYTIME, TTDT_RESHOW), 50);
    SendMessage(Tip, TTM_SETDELAYTIME, TTDT_INITIAL, -1);
    EXPECT_EQ(w->Delay(TTDT_INITIAL), 500);

    const String title = QStringLiteral("Title");
    EXPECT_EQ(SendMessage(Tip, TTM_SETTITLE, TTI_WARNING, LPARAM(title.utf16())), 1);
    EXPECT_EQ(w->TipTitle(), "Title");
    EXPECT_EQ(w->TipIcon(), TTI_WARNING);
    // An icon outside 0..3 shows none.
    SendMessage(Tip, TTM_SETTITLE, 7, LPARAM(title.utf16()));
    EXPECT_EQ(w->TipIcon(), TTI_NONE);

    EXPECT_EQ(SendMessage(Tip, TTM_SETMAXTIPWIDTH, 0, 300), -1);
    EXPECT_EQ(SendMessage(Tip, TTM_GETMAXTIPWIDTH), 300);
    SendMessage(Tip, TTM_SETTIPTEXTCOLOR, WPARAM(clRed));
    SendMessage(Tip, TTM_SETTIPBKCOLOR, WPARAM(clYellow));
    EXPECT_EQ(TColor(SendMessage(Tip, TTM_GETTIPTEXTCOLOR)), clRed);
    EXPECT_EQ(TColor(SendMessage(Tip, TTM_GETTIPBKCOLOR)), clYellow);
}

TEST_F(ToolTipsTest, TheTipShowsAfterTheDelayAndPopsAfterAutoPop) {
    SendMessage(Tip, TTM_SETDELAYTIME, TTDT_INITIAL, 300);
    SendMessage(Tip, TTM_SETDELAYTIME, TTDT_AUTOPOP, 4000);
    const String title = QStringLiteral("Note");
    SendMessage(Tip, TTM_SETTITLE, TTI_INFO, LPARAM(title.utf16()));
    TToolTipWindow* w = Window();

    SimulateMouseMove(Probe, {}, 10, 12);
    EXPECT_EQ(w->TimerMode(), TToolTipWindow::tmShow);
    EXPECT_EQ(w->TimerInterval(), 300);
    EXPECT_EQ(Probe->Moves, 1); // the window's own procedure still hears its messages
    EXPECT_FALSE(w->TipShowing());
    w->TimerTick();

    EXPECT_EQ(Probe->Asked, 1);
    ASSERT_TRUE(w->TipShowing());
    EXPECT_EQ(w->TipText(), "Tip text");
    // Below the pointer, topmost, not taking the activation.
    const TPoint pointer = Probe->ClientToScreen(TPoint(10, 12));
    EXPECT_EQ(w->Left(), pointer.X);
    EXPECT_GT(w->Top(), pointer.Y);
    QWidget* top = w->Widget()->window();
    EXPECT_TRUE(top->windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_TRUE(top->testAttribute(Qt::WA_ShowWithoutActivating));
    EXPECT_TRUE(Form->Active());

    // Moving on the same tool keeps it; the auto-pop hides it.
    SimulateMouseMove(Probe, {}, 14, 12);
    EXPECT_TRUE(w->TipShowing());
    EXPECT_EQ(w->TimerMode(), TToolTipWindow::tmPop);
    EXPECT_EQ(w->TimerInterval(), 4000);
    w->TimerTick();
    EXPECT_FALSE(w->TipShowing());
}

TEST_F(ToolTipsTest, PressPopAndEmptyTextHideTheTip) {
    TToolTipWindow* w = Window();
    RestAndTick(10, 12);
    ASSERT_TRUE(w->TipShowing());
    SimulateMouseDown(Probe, mbLeft, {}, 10, 12);
    EXPECT_FALSE(w->TipShowing());
    EXPECT_EQ(w->TimerMode(), TToolTipWindow::tmNone);
    SimulateMouseUp(Probe, mbLeft, {}, 10, 12);

    // Once a tip showed the next one waits only the reshow delay.
    SimulateMouseMove(Probe, {}, 30, 12);
    EXPECT_EQ(w->TimerInterval(), w->Delay(TTDT_RESHOW));
    w->TimerTick();
    ASSERT_TRUE(w->TipShowing());
    SendMessage(Tip, TTM_POP);
    EXPECT_FALSE(w->TipShowing());
    // A pop while a tip only waits leaves it waiting.
    SimulateMouseMove(Probe, {}, 34, 12);
    ASSERT_NE(w->TimerMode(), TToolTipWindow::tmNone);
    SendMessage(Tip, TTM_POP);
    w->TimerTick();
    EXPECT_TRUE(w->TipShowing());
    SendMessage(Tip, TTM_POP);

    Probe->Answer.clear();
    SimulateMouseMove(Probe, {}, 40, 12);
    w->TimerTick();
    EXPECT_FALSE(w->TipShowing());
}

TEST_F(ToolTipsTest, LongTextsWrapWithinTheMaximumWidth) {
    SendMessage(Tip, TTM_SETMAXTIPWIDTH, 0, 300);
    Probe->Answer = QStringLiteral("word ").repeated(60);
    RestAndTick(10, 12);
    TToolTipWindow* w = Window();
    ASSERT_TRUE(w->TipShowing());
    EXPECT_LE(w->Width(), 300 + 12);
    EXPECT_GT(w->Height(), 3 * w->Canvas()->TextHeight("gh"));
}

TEST_F(ToolTipsTest, EitherSideMayGoFirst) {
    // The tool-tip goes: the control's own procedure is back and hears its messages alone.
    DestroyWindow(Tip);
    Tip = 0;
    SimulateMouseMove(Probe, {}, 10, 12);
    EXPECT_EQ(Probe->Moves, 1);

    // The control goes first: the tool-tip forgets the tool.
    Tip = CreateWindowEx(0, TOOLTIPS_CLASS, String(), TTS_BALLOON, 0, 0, 0, 0, 0, nullptr, 0, nullptr);
    TOOLINFO ti;
    ti.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    ti.hwnd = Probe->Handle();
    ti.uId = UINT_PTR(Probe->Handle());
    ti.lpszText = LPSTR_TEXTCALLBACK;
    SendMessage(Tip, TTM_ADDTOOL, 0, LPARAM(&ti));
    SimulateMouseMove(Probe, {}, 10, 12);
    TObject::Free(Probe);
    Probe = nullptr;
    EXPECT_EQ(SendMessage(Tip, TTM_GETTOOLCOUNT), 0);
    Window()->TimerTick();
    EXPECT_FALSE(Window()->TipShowing());
}

} // namespace
