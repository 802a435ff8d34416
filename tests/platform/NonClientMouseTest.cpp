// The parts of a window under the pointer (WM_NCHITTEST before each mouse message that no
// capture claims), the non-client messages and cursor for parts outside the client area, and
// the sizing from the bottom-right corner that WM_NCLBUTTONDOWN starts, with WM_SIZING before
// each new size (offscreen the platform follows the pointer itself).
#include "Forms.h"
#include "WindowSizing.h"

#include <QWidget>
#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// A frameless window whose bottom-right 10 x 10 pixels size it and whose top 5 rows are no
// part of it (HTNOWHERE); it logs the mouse messages it gets.
class TCornerWindow : public TForm {
public:
    explicit TCornerWindow(TComponent* AOwner) : TForm(AOwner) { SetBorderStyle(bsNone); }
    std::vector<std::string> Log;
    int HitTests = 0;
    int MaxWidth = 0; // WM_SIZING keeps the width at most this (0: any)

    void Dispatch(TMessage& Message) override {
        switch (Message.Msg) {
            case WM_NCHITTEST: {
                ++HitTests;
                const TPoint p = ScreenToClient(LParamToPoint(Message.LParam));
                if (p.X >= Width() - 10 && p.Y >= Height() - 10)
                    Message.Result = HTBOTTOMRIGHT;
                else if (p.Y < 5)
                    Message.Result = HTNOWHERE;
                else
                    TForm::Dispatch(Message);
                return;
            }
            case WM_NCLBUTTONDOWN:
            case WM_NCLBUTTONUP:
            case WM_NCMOUSEMOVE:
                Log.push_back((Message.Msg == WM_NCLBUTTONDOWN ? "nc down "
                               : Message.Msg == WM_NCLBUTTONUP ? "nc up "
                                                               : "nc move ") +
                              std::to_string(Message.WParam));
                break;
            case WM_SIZING: {
                auto* r = reinterpret_cast<TRect*>(Message.LParam);
                Log.push_back("sizing " + std::to_string(Message.WParam) + " " + std::to_string(r->Width()) +
                              "x" + std::to_string(r->Height()));
                if (MaxWidth > 0 && r->Width() > MaxWidth) r->Right = r->Left + MaxWidth;
                break;
            }
            default: break;
        }
        TForm::Dispatch(Message);
    }

protected:
    void MouseDown(TMouseButton, TShiftState, int X, int Y) override {
        Log.push_back("down " + std::to_string(X) + "," + std::to_string(Y));
    }
    void MouseUp(TMouseButton, TShiftState, int X, int Y) override {
        Log.push_back("up " + std::to_string(X) + "," + std::to_string(Y));
    }
};

class NonClientMouse : public ::testing::Test {
protected:
    void SetUp() override {
        Window = new TCornerWindow(nullptr);
        Window->SetBounds(200, 150, 120, 90);
        Window->Show();
    }
    void TearDown() override {
        SimulateMouseUp(Window, mbLeft, {}, 1, 1);
        ReleaseCapture();
        TObject::Free(Window);
    }
    using Lines = std::vector<std::string>;
    TCornerWindow* Window = nullptr;
};

TEST_F(NonClientMouse, TheClientAreaGetsTheClientMessages) {
    SimulateClick(Window, 50, 40);
    EXPECT_EQ(Window->Log, (Lines{"down 50,40", "up 50,40"}));
    EXPECT_GT(Window->HitTests, 0);
    // A control holding the capture gets the messages without a hit test.
    Window->HitTests = 0;
    SetCapture(Window->Handle());
    SimulateMouseMove(Window, {}, 115, 2);
    SimulateMouseDown(Window, mbLeft, {}, 115, 85);
    EXPECT_EQ(Window->HitTests, 0);
    EXPECT_EQ(Window->Log.back(), "down 115,85");
    SimulateMouseUp(Window, mbLeft, {}, 115, 85);
    ReleaseCapture();
}

TEST_F(NonClientMouse, OtherPartsGetTheNonClientMessagesAndTheirCursor) {
    SimulateMouseMove(Window, {}, 50, 2);
    SimulateClick(Window, 50, 2);
    EXPECT_EQ(Window->Log, (Lines{"nc move 0", "nc down 0", "nc up 0"}));
    EXPECT_EQ(Window->Width(), 120); // nowhere sizes nothing

    SimulateMouseMove(Window, {}, 115, 85);
    EXPECT_EQ(Window->WidgetIfAllocated()->cursor().shape(), Qt::SizeFDiagCursor);
    SimulateMouseMove(Window, {}, 50, 40);
    EXPECT_EQ(Window->WidgetIfAllocated()->cursor().shape(), Qt::ArrowCursor);
}

TEST_F(NonClientMouse, ThePressInTheCornerSizesTheWindowUntilTheRelease) {
    SimulateMouseDown(Window, mbLeft, {}, 115, 85);
    SimulateMouseMove(Window, {ssLeft}, 135, 105);
    EXPECT_EQ(Window->Width(), 140);
    EXPECT_EQ(Window->Height(), 110);
    EXPECT_EQ(Window->Left(), 200);
    EXPECT_EQ(Window->Top(), 150);
    // The pointer is now over the grown window's client area; the sizing goes on.
    SimulateMouseMove(Window, {ssLeft}, 95, 65);
    EXPECT_EQ(Window->Width(), 100);
    SimulateMouseUp(Window, mbLeft, {}, 95, 65);
    EXPECT_EQ(Window->Log, (Lines{"nc down 17", "sizing 8 140x110", "sizing 8 100x70"}));
    // After the release the mouse is the window's again.
    SimulateMouseMove(Window, {}, 30, 30);
    EXPECT_EQ(Window->Width(), 100);
    EXPECT_EQ(GetCapture(), HWND(0));
}

TEST_F(NonClientMouse, WMSizingMayChangeTheNewSize) {
    Window->MaxWidth = 130;
    SimulateMouseDown(Window, mbLeft, {}, 115, 85);
    SimulateMouseMove(Window, {ssLeft}, 175, 95);
    EXPECT_EQ(Window->Width(), 130);
    EXPECT_EQ(Window->Height(), 100);
    SimulateMouseUp(Window, mbLeft, {}, 175, 95);
}

TEST_F(NonClientMouse, ACaptureTakenAwayEndsTheSizing) {
    SimulateMouseDown(Window, mbLeft, {}, 115, 85);
    ReleaseCapture();
    SimulateMouseMove(Window, {ssLeft}, 60, 60);
    EXPECT_EQ(Window->Width(), 120);
    EXPECT_EQ(Window->Height(), 90);
}

} // namespace
