// Losing the mouse capture (another capture, a modal window, the form's deactivation) with
// WM_CANCELMODE and WM_CAPTURECHANGED, and the cursor chosen through WM_SETCURSOR on each move.
#include "Forms.h"

#include <QCursor>
#include <QWidget>
#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// Records the capture and cursor messages and the mouse calls, as text.
class TMouseLog : public TCustomControl {
public:
    explicit TMouseLog(TComponent* AOwner, int X) : TCustomControl(AOwner) { SetBounds(X, 10, 50, 40); }
    std::vector<std::string> Log;
    std::vector<TMessage> SetCursors;
    TCursor Answer = crNone; // crNone: default handling of WM_SETCURSOR

    void Dispatch(TMessage& Message) override {
        switch (Message.Msg) {
            case WM_CANCELMODE: Log.push_back("cancel mode"); break;
            case WM_CAPTURECHANGED:
                Log.push_back(Message.LParam ? "capture to " + std::to_string(Message.LParam)
                                             : "capture to none");
                break;
            case WM_SETCURSOR:
                SetCursors.push_back(Message);
                if (Answer != crNone) {
                    ::SetCursor(Screen->Cursors(Answer));
                    Message.Result = 1;
                    return;
                }
                break;
            default: break;
        }
        TCustomControl::Dispatch(Message);
    }
    void Click() override {
        Log.push_back("click");
        TCustomControl::Click();
    }

protected:
    void MouseUp(TMouseButton, TShiftState, int X, int Y) override {
        Log.push_back("up " + std::to_string(X) + "," + std::to_string(Y));
    }
};

class TCursorChild : public TGraphicControl {
public:
    explicit TCursorChild(TComponent* AOwner) : TGraphicControl(AOwner) { SetBounds(30, 0, 20, 20); }
};

class CaptureTest : public ::testing::Test {
protected:
    void SetUp() override {
        Form = new TForm(nullptr);
        Form->SetClientSize(200, 100);
        A = new TMouseLog(Form, 10);
        A->SetParent(Form);
        B = new TMouseLog(Form, 100);
        B->SetParent(Form);
        Form->Show();
    }
    void TearDown() override {
        // The buttons the tests left down go up (the simulated button state is shared).
        SimulateMouseUp(Form, mbLeft, {}, 1, 1);
        SimulateMouseUp(Form, mbRight, {}, 1, 1);
        ReleaseCapture();
        TObject::Free(Form);
    }
    std::string Handle(TWinControl* C) { return std::to_string(C->Handle()); }
    using Lines = std::vector<std::string>;

    TForm* Form = nullptr;
    TMouseLog* A = nullptr;
    TMouseLog* B = nullptr;
};

TEST_F(CaptureTest, ReleasingItsOwnCaptureIsTold) {
    SimulateMouseDown(A, mbLeft, {}, 5, 5);
    EXPECT_EQ(GetCapture(), A->Handle());
    SimulateMouseUp(A, mbLeft, {}, 5, 5);
    EXPECT_EQ(A->Log, Lines({"capture to none", "click", "up 5,5"}));
}

TEST_F(CaptureTest, AnotherCaptureEndsTheDragWithoutAClick) {
    SimulateMouseDown(A, mbLeft, {}, 5, 5);
    SetCapture(B->Handle());
    EXPECT_EQ(A->Log, Lines({"capture to " + Handle(B), "up -1,-1"}));
    EXPECT_FALSE(A->MouseCapture());
    EXPECT_EQ(GetCapture(), B->Handle());
    // The release goes to the window with the capture now.
    SimulateMouseUp(A, mbLeft, {}, 5, 5);
    EXPECT_EQ(A->Log.size(), 2u);
}

TEST_F(CaptureTest, AModalWindowTakesTheMouse) {
    SimulateMouseDown(A, mbLeft, {}, 5, 5);
    auto* modal = new TForm(nullptr);
    PostCall([modal] { modal->SetModalResult(mrOk); });
    EXPECT_EQ(modal->ShowModal(), mrOk);
    TObject::Free(modal);
    EXPECT_EQ(A->Log, Lines({"cancel mode", "capture to none", "up -1,-1"}));
    EXPECT_EQ(GetCapture(), HWND(0));
}

TEST_F(CaptureTest, TheFormsDeactivationTakesTheMouse) {
    ASSERT_EQ(Screen->ActiveForm(), Form);
    SimulateMouseDown(A, mbLeft, {}, 5, 5);
    auto* other = new TForm(nullptr);
    other->Show();
    EXPECT_EQ(Screen->ActiveForm(), other);
    EXPECT_EQ(A->Log, Lines({"cancel mode", "capture to none", "up -1,-1"}));
    EXPECT_EQ(GetCapture(), HWND(0));
    TObject::Free(other);
}

TEST_F(CaptureTest, ARightButtonCaptureEndsQuietly) {
    SimulateMouseDown(A, mbRight, {}, 5, 5);
    SetCapture(B->Handle());
    EXPECT_EQ(A->Log, Lines({"capture to " + Handle(B)}));
}

// ---------------------------------------------------------------------------------------------
// WM_SETCURSOR

TEST_F(CaptureTest, EveryMoveAsksTheWindowForItsCursor) {
    SimulateMouseMove(A, {}, 5, 5);
    SimulateMouseMove(A, {}, 6, 5);
    ASSERT_EQ(A->SetCursors.size(), 2u);
    TWMSetCursor m(A->SetCursors[0]);
    EXPECT_EQ(HWND(m.CursorWnd), A->Handle());
    EXPECT_EQ(SmallInt(m.HitTest), HTCLIENT);
    EXPECT_EQ(Word(m.MouseMsg), WM_MOUSEMOVE);
    SimulateMouseDown(A, mbLeft, {}, 6, 5);
    ASSERT_EQ(A->SetCursors.size(), 3u);
    EXPECT_EQ(Word(TWMSetCursor(A->SetCursors[2]).MouseMsg), WM_LBUTTONDOWN);
    // Not while a control holds the capture.
    SimulateMouseMove(A, {}, 7, 5);
    EXPECT_EQ(A->SetCursors.size(), 3u);
    SimulateMouseUp(A, mbLeft, {}, 7, 5);
    // The pointer's position as the messages saw it.
    TPoint p;
    ASSERT_TRUE(GetCursorPos(p));
    EXPECT_EQ(p, A->ClientToScreen(TPoint(7, 5)));
}

TEST_F(CaptureTest, TheDefaultCursorIsTheControlsOrItsGraphicChilds) {
    QWidget* w = A->Widget();
    A->SetCursor(crHandPoint);
    SimulateMouseMove(A, {}, 5, 5);
    EXPECT_EQ(w->cursor().shape(), Qt::PointingHandCursor);
    auto* child = new TCursorChild(A);
    child->SetParent(A);
    child->SetCursor(crHSplit);
    SimulateMouseMove(A, {}, 35, 5);
    EXPECT_EQ(w->cursor().shape(), Qt::SplitHCursor);
    // A handler that sets a cursor itself answers 1.
    A->Answer = crVSplit;
    SimulateMouseMove(A, {}, 5, 5);
    EXPECT_EQ(w->cursor().shape(), Qt::SplitVCursor);
    // A window with the default cursor gets the arrow, whatever its parent's cursor; its parent
    // is asked first.
    A->Answer = crNone;
    Form->SetCursor(crHandPoint);
    std::vector<HWND> formHeard;
    Form->WindowProc = [&](TMessage& M) {
        if (M.Msg == WM_SETCURSOR) formHeard.push_back(HWND(M.WParam));
        Form->WndProc(M);
    };
    SimulateMouseMove(B, {}, 5, 5);
    EXPECT_EQ(B->Widget()->cursor().shape(), Qt::ArrowCursor);
    EXPECT_EQ(formHeard, std::vector<HWND>({B->Handle()}));
    Form->WindowProc = [this](TMessage& M) { Form->WndProc(M); };
}

} // namespace
