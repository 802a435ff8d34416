// Scroll information of windows: setting and reading it, the bars' visibility, and the messages
// a bar worked by the user sends (with the window answering as windows do); the scroll-bar
// control; system metrics.
#include "Forms.h"
#include "OSInfo.h"
#include "ScrollBarTestSupport.h"
#include "StdCtrls.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

namespace {

using namespace ScrollBarTestSupport;

struct TScrollMsg {
    UINT Msg;
    int Code;
    int Pos;
    bool operator==(const TScrollMsg&) const = default;
};

std::ostream& operator<<(std::ostream& Out, const TScrollMsg& M) {
    return Out << (M.Msg == WM_VSCROLL ? "WM_VSCROLL" : "WM_HSCROLL") << '(' << M.Code << ", " << M.Pos
               << ')';
}

// A window with both scroll bars and a sunken border that records WM_HSCROLL / WM_VSCROLL and,
// while Follow is on, answers them as a scrolling window does: the position moves by a line or
// a page, or to the track position.
class TScrollProbe : public TCustomControl {
public:
    explicit TScrollProbe(TComponent* AOwner) : TCustomControl(AOwner) { SetBounds(10, 10, 120, 100); }

    std::vector<TScrollMsg> Log;
    bool Follow = true;

    void Dispatch(TMessage& Message) override {
        if (Message.Msg == WM_VSCROLL || Message.Msg == WM_HSCROLL) {
            TWMScroll m(Message);
            Log.push_back({Message.Msg, SmallInt(m.ScrollCode), SmallInt(m.Pos)});
            if (Follow) Answer(Message.Msg == WM_HSCROLL ? SB_HORZ : SB_VERT, SmallInt(m.ScrollCode));
            return;
        }
        TCustomControl::Dispatch(Message);
    }

protected:
    void CreateParams(TCreateParams& Params) override {
        TCustomControl::CreateParams(Params);
        Params.Style |= WS_HSCROLL | WS_VSCROLL;
        AddBorderStyle(Params, bsSingle, Ctl3D());
    }
    void Paint() override {
        Canvas()->Brush()->SetColor(clWhite);
        Canvas()->FillRect(ClientRect());
    }

private:
    void Answer(int Bar, int Code) {
        SCROLLINFO si;
        si.fMask = SIF_ALL;
        GetScrollInfo(Handle(), Bar, si);
        int pos = si.nPos;
        switch (Code) {
            case SB_LINEUP: --pos; break;
            case SB_LINEDOWN: ++pos; break;
            case SB_PAGEUP: pos -= int(si.nPage); break;
            case SB_PAGEDOWN: pos += int(si.nPage); break;
            case SB_THUMBTRACK:
            case SB_THUMBPOSITION: pos = si.nTrackPos; break;
            default: return;
        }
        SetScrollPos(Handle(), Bar, pos, true);
    }
};

class ScrollInfoTest : public ::testing::Test {
protected:
    void SetUp() override {
        Form = new TForm(nullptr);
        Form->SetClientSize(300, 200);
        Probe = new TScrollProbe(Form);
        Probe->SetParent(Form);
        Form->Show();
    }
    void TearDown() override { TObject::Free(Form); }

    void Set(int Bar, int Min, int Max, UINT Page, int Pos, bool Redraw = true) {
        SCROLLINFO si;
        si.fMask = SIF_ALL;
        si.nMin = Min;
        si.nMax = Max;
        si.nPage = Page;
        si.nPos = Pos;
        SetScrollInfo(Probe->Handle(), Bar, si, Redraw);
    }
    SCROLLINFO Get(int Bar) {
        SCROLLINFO si;
        si.fMask = SIF_ALL;
        EXPECT_TRUE(GetScrollInfo(Probe->Handle(), Bar, si));
        return si;
    }
    bool Shown(int Bar) {
        return GetWindowLong(Probe->Handle(), GWL_STYLE) & LONG(Bar == SB_HORZ ? WS_HSCROLL : WS_VSCROLL);
    }

    TForm* Form = nullptr;
    TScrollProbe* Probe = nullptr;
};

// ---------------------------------------------------------------------------------------------
// The table: action, information before -> after, messages

struct TInfo {
    int Min, Max;
    UINT Page;
    int Pos;
};

struct TScrollCase {
    const char* Action;
    int Bar;
    TInfo Before;
    std::function<void(ScrollInfoTest&, TScrollProbe*)> Act;
    TInfo After;
    bool ShownAfter;
    std::vector<TScrollMsg> Messages;
};

class ScrollTable : public ScrollInfoTest {};

TEST_F(ScrollTable, ActionsInformationAndMessages) {
    auto set = [](UINT Mask, int Min, int Max, UINT Page, int Pos, bool Redraw) {
        return [=](ScrollInfoTest&, TScrollProbe* P) {
            SCROLLINFO si;
            si.fMask = Mask;
            si.nMin = Min;
            si.nMax = Max;
            si.nPage = Page;
            si.nPos = Pos;
            SetScrollInfo(P->Handle(), SB_VERT, si, Redraw);
        };
    };
    auto click = [](Qt::Orientation O, QStyle::SubControl Part) {
        return [=](ScrollInfoTest&, TScrollProbe* P) { ClickPart(BarWidget(P, O), Part); };
    };
    const UINT V = WM_VSCROLL, H = WM_HSCROLL;
    const std::vector<TScrollCase> cases = {
        // Set by code: the position stays within nMin..nMax - (nPage - 1); no messages.
        {"SetScrollInfo SIF_POS past the end",
         SB_VERT,
         {0, 100, 10, 0},
         set(SIF_POS, 0, 0, 0, 95, true),
         {0, 100, 10, 91},
         true,
         {}},
        {"SetScrollInfo SIF_POS before the start, no redraw",
         SB_VERT,
         {5, 100, 10, 50},
         set(SIF_POS, 0, 0, 0, -3, false),
         {5, 100, 10, 5},
         true,
         {}},
        {"SetScrollInfo SIF_PAGE moves the position into the smaller range",
         SB_VERT,
         {0, 100, 10, 91},
         set(SIF_PAGE, 0, 0, 50, 0, true),
         {0, 100, 50, 51},
         true,
         {}},
        {"SetScrollInfo SIF_RANGE inverted becomes 0..0 and hides the bar",
         SB_VERT,
         {0, 100, 10, 40},
         set(SIF_RANGE, 50, 10, 0, 0, true),
         {0, 0, 1, 0},
         false,
         {}},
        {"SetScrollInfo a page as large as the range hides the bar",
         SB_VERT,
         {0, 100, 10, 40},
         set(SIF_PAGE, 0, 0, 500, 0, true),
         {0, 100, 101, 0},
         false,
         {}},
        {"SetScrollInfo SIF_DISABLENOSCROLL keeps the bar",
         SB_VERT,
         {0, 100, 10, 40},
         set(SIF_PAGE | SIF_DISABLENOSCROLL, 0, 0, 500, 0, true),
         {0, 100, 101, 0},
         true,
         {}},
        {"SetScrollPos",
         SB_VERT,
         {0, 100, 10, 40},
         [](ScrollInfoTest&, TScrollProbe* P) {
             EXPECT_EQ(SetScrollPos(P->Handle(), SB_VERT, 60, true), 40);
         },
         {0, 100, 10, 60},
         true,
         {}},
        {"SetScrollRange",
         SB_VERT,
         {0, 100, 10, 80},
         [](ScrollInfoTest&, TScrollProbe* P) { SetScrollRange(P->Handle(), SB_VERT, 10, 50, false); },
         {10, 50, 10, 41},
         true,
         {}},
        // Worked by the user: a message per step, SB_ENDSCROLL after the action.
        {"down arrow",
         SB_VERT,
         {0, 100, 10, 10},
         click(Qt::Vertical, QStyle::SC_ScrollBarAddLine),
         {0, 100, 10, 11},
         true,
         {{V, SB_LINEDOWN, 0}, {V, SB_ENDSCROLL, 0}}},
        {"up arrow at the top",
         SB_VERT,
         {0, 100, 10, 0},
         click(Qt::Vertical, QStyle::SC_ScrollBarSubLine),
         {0, 100, 10, 0},
         true,
         {{V, SB_LINEUP, 0}, {V, SB_ENDSCROLL, 0}}},
        {"track below the thumb",
         SB_VERT,
         {0, 100, 10, 10},
         click(Qt::Vertical, QStyle::SC_ScrollBarAddPage),
         {0, 100, 10, 20},
         true,
         {{V, SB_PAGEDOWN, 0}, {V, SB_ENDSCROLL, 0}}},
        {"track above the thumb",
         SB_VERT,
         {0, 100, 10, 50},
         click(Qt::Vertical, QStyle::SC_ScrollBarSubPage),
         {0, 100, 10, 40},
         true,
         {{V, SB_PAGEUP, 0}, {V, SB_ENDSCROLL, 0}}},
        {"thumb dragged to the end",
         SB_VERT,
         {0, 100, 10, 0},
         [](ScrollInfoTest&, TScrollProbe* P) { DragThumb(BarWidget(P, Qt::Vertical), 400); },
         {0, 100, 10, 91},
         true,
         {{V, SB_THUMBTRACK, 91}, {V, SB_THUMBPOSITION, 91}, {V, SB_ENDSCROLL, 0}}},
        {"right arrow of the horizontal bar",
         SB_HORZ,
         {0, 20, 5, 3},
         click(Qt::Horizontal, QStyle::SC_ScrollBarAddLine),
         {0, 20, 5, 4},
         true,
         {{H, SB_LINEDOWN, 0}, {H, SB_ENDSCROLL, 0}}},
        // A window that does not answer keeps its position: the bar does not move by itself.
        {"down arrow, window not answering",
         SB_VERT,
         {0, 100, 10, 10},
         [](ScrollInfoTest&, TScrollProbe* P) {
             P->Follow = false;
             ClickPart(BarWidget(P, Qt::Vertical), QStyle::SC_ScrollBarAddLine);
             EXPECT_EQ(BarWidget(P, Qt::Vertical)->value(), 10);
         },
         {0, 100, 10, 10},
         true,
         {{V, SB_LINEDOWN, 0}, {V, SB_ENDSCROLL, 0}}},
    };
    for (const TScrollCase& c : cases) {
        SCOPED_TRACE(c.Action);
        Probe->Follow = true;
        Set(SB_HORZ, 0, 20, 5, 3);
        Set(SB_VERT, 0, 100, 10, 0);
        Set(c.Bar, c.Before.Min, c.Before.Max, c.Before.Page, c.Before.Pos);
        ASSERT_TRUE(Shown(SB_VERT));
        Probe->Log.clear();
        c.Act(*this, Probe);
        const SCROLLINFO after = Get(c.Bar);
        EXPECT_EQ(after.nMin, c.After.Min);
        EXPECT_EQ(after.nMax, c.After.Max);
        EXPECT_EQ(after.nPage, c.After.Page);
        EXPECT_EQ(after.nPos, c.After.Pos);
        EXPECT_EQ(Shown(c.Bar), c.ShownAfter);
        // The track positions on the way depend on pixels: a run of SB_THUMBTRACK counts as its
        // last one.
        std::vector<TScrollMsg> log;
        for (const TScrollMsg& m : Probe->Log) {
            if (!log.empty() && log.back().Code == SB_THUMBTRACK && m.Code == SB_THUMBTRACK) log.pop_back();
            log.push_back(m);
        }
        EXPECT_EQ(log, c.Messages);
    }
}

// ---------------------------------------------------------------------------------------------
// Reading while tracking, the bars and the client area

TEST_F(ScrollInfoTest, TheTrackPositionAnswersWhileTheThumbIsDragged) {
    Set(SB_VERT, 0, 100, 10, 20);
    Probe->Follow = false;
    std::vector<int> tracked;
    Probe->WindowProc = [this, &tracked](TMessage& M) {
        if (M.Msg == WM_VSCROLL && SmallInt(TWMScroll(M).ScrollCode) == SB_THUMBTRACK) {
            SCROLLINFO si;
            si.fMask = SIF_POS | SIF_TRACKPOS;
            GetScrollInfo(Probe->Handle(), SB_VERT, si);
            EXPECT_EQ(si.nPos, 20); // nobody moved it
            tracked.push_back(si.nTrackPos);
        }
        Probe->WndProc(M);
    };
    DragThumb(BarWidget(Probe, Qt::Vertical), 30);
    ASSERT_FALSE(tracked.empty());
    EXPECT_GT(tracked.back(), 20);
    // After the drag the track position is the position again.
    SCROLLINFO si;
    si.fMask = SIF_TRACKPOS;
    ASSERT_TRUE(GetScrollInfo(Probe->Handle(), SB_VERT, si));
    EXPECT_EQ(si.nTrackPos, 20);
    EXPECT_EQ(BarWidget(Probe, Qt::Vertical)->value(), 20);
    Probe->WindowProc = [this](TMessage& M) { Probe->WndProc(M); };
}

TEST_F(ScrollInfoTest, ShowingAndHidingBarsChangesTheClientAreaAndSendsWMSize) {
    // 120 x 100 less a 2-pixel sunken border and the 17-pixel bars.
    EXPECT_EQ(Probe->ClientRect(), Rect(0, 0, 120 - 4 - 17, 100 - 4 - 17));
    std::vector<TPoint> sizes;
    Probe->OnResize = [&](TObject*) { sizes.push_back(TPoint(Probe->ClientWidth(), Probe->ClientHeight())); };
    EXPECT_TRUE(ShowScrollBar(Probe->Handle(), SB_VERT, false));
    EXPECT_EQ(Probe->ClientWidth(), 116);
    EXPECT_TRUE(ShowScrollBar(Probe->Handle(), SB_BOTH, false));
    EXPECT_EQ(Probe->ClientRect(), Rect(0, 0, 116, 96));
    // A range with something to scroll shows its bar again.
    Set(SB_HORZ, 0, 300, 50, 0);
    EXPECT_EQ(Probe->ClientRect(), Rect(0, 0, 116, 79));
    EXPECT_EQ(sizes, std::vector<TPoint>({{116, 79}, {116, 96}, {116, 79}}));
    // The client widget sits inside the border.
    EXPECT_EQ(Probe->Widget()->geometry(), QRect(2, 2, 116, 79));
    EXPECT_EQ(Probe->ClientOrigin().X, Form->ClientOrigin().X + 10 + 2);
}

TEST_F(ScrollInfoTest, DisabledBarsTakeNoInputAndBadHandlesAnswerNothing) {
    Set(SB_VERT, 0, 100, 10, 10);
    EXPECT_TRUE(EnableScrollBar(Probe->Handle(), SB_VERT, ESB_DISABLE_BOTH));
    EXPECT_FALSE(EnableScrollBar(Probe->Handle(), SB_VERT, ESB_DISABLE_BOTH)); // no change
    QScrollBar* bar = BarWidget(Probe, Qt::Vertical);
    EXPECT_FALSE(bar->isEnabled());
    Probe->Log.clear();
    ClickPart(bar, QStyle::SC_ScrollBarAddLine);
    EXPECT_TRUE(Probe->Log.empty());
    EXPECT_TRUE(EnableScrollBar(Probe->Handle(), SB_BOTH, ESB_ENABLE_BOTH));
    EXPECT_TRUE(bar->isEnabled());

    SCROLLINFO si;
    si.fMask = SIF_ALL;
    EXPECT_FALSE(GetScrollInfo(987654, SB_VERT, si));
    EXPECT_EQ(SetScrollInfo(987654, SB_VERT, si, true), 0);
    EXPECT_EQ(GetScrollPos(987654, SB_VERT), 0);
    // A window without bars has no information until some is set; SB_CTL is only for
    // scroll-bar controls.
    auto* bare = new TForm(nullptr);
    EXPECT_FALSE(GetScrollInfo(bare->Handle(), SB_HORZ, si));
    EXPECT_FALSE(GetScrollInfo(bare->Handle(), SB_CTL, si));
    si.fMask = 0;
    EXPECT_FALSE(GetScrollInfo(Probe->Handle(), SB_VERT, si)); // the mask names nothing
    TObject::Free(bare);
}

// A window rendered again shows its bars as they are now (a rendering may put back the pixels a
// bar at rest left before): after each change, rendering it twice gives what rendering a window
// that was never rendered, brought to the same state, gives.
TEST_F(ScrollInfoTest, RenderingAgainShowsTheBarsAsTheyAreNow) {
    const auto set = [](TScrollProbe* P, int Bar, int Pos, UINT Page) {
        SCROLLINFO si;
        si.fMask = SIF_ALL;
        si.nMin = 0;
        si.nMax = 100;
        si.nPage = Page;
        si.nPos = Pos;
        SetScrollInfo(P->Handle(), Bar, si, true);
    };
    const std::function<void(TScrollProbe*)> steps[] = {
        [&](TScrollProbe* P) {
            set(P, SB_VERT, 0, 10);
            set(P, SB_HORZ, 0, 10);
        },
        [&](TScrollProbe* P) { set(P, SB_VERT, 50, 10); },
        [&](TScrollProbe* P) { set(P, SB_HORZ, 20, 40); },
        [&](TScrollProbe* P) { EnableScrollBar(P->Handle(), SB_VERT, ESB_DISABLE_BOTH); },
        [&](TScrollProbe* P) { EnableScrollBar(P->Handle(), SB_VERT, ESB_ENABLE_BOTH); },
        [&](TScrollProbe* P) { P->SetBounds(10, 10, 150, 90); },
    };
    const auto render = [](TScrollProbe* P) {
        TBitmap bmp;
        bmp.SetSize(P->Width(), P->Height());
        P->PaintTo(bmp.Canvas(), 0, 0);
        return bmp.Image().copy();
    };
    QImage before;
    for (size_t i = 0; i < std::size(steps); ++i) {
        steps[i](Probe);
        const QImage first = render(Probe), again = render(Probe);
        auto* fresh = new TScrollProbe(Form);
        fresh->SetParent(Form);
        for (size_t k = 0; k <= i; ++k) steps[k](fresh);
        const QImage expected = render(fresh);
        TObject::Free(fresh);
        EXPECT_TRUE(first == expected) << "step " << i;
        EXPECT_TRUE(again == expected) << "step " << i;
        EXPECT_FALSE(first == before) << "step " << i << " changed nothing";
        before = first;
    }
}

// ---------------------------------------------------------------------------------------------
// The scroll-bar control

TEST(ScrollBarControl, UserActionsMoveThePositionThroughTheParent) {
    auto* form = new TForm(nullptr);
    form->SetClientSize(300, 200);
    auto* sb = new TScrollBar(form);
    sb->SetParent(form);
    sb->SetKind(sbVertical);
    EXPECT_EQ(sb->Width(), GetSystemMetrics(SM_CXVSCROLL)); // width and height swapped
    sb->SetBounds(5, 5, 17, 150);
    sb->SetParams(10, 0, 200);
    sb->SetPageSize(20);
    sb->SetSmallChange(2);
    sb->SetLargeChange(25);
    form->Show();
    std::vector<std::pair<TScrollCode, int>> scrolls;
    int changes = 0;
    sb->OnScroll = [&](TObject*, TScrollCode Code, int& Pos) { scrolls.push_back({Code, Pos}); };
    sb->OnChange = [&](TObject*) { ++changes; };
    std::vector<UINT> parentHeard;
    form->WindowProc = [&](TMessage& M) {
        if (M.Msg == WM_VSCROLL && HWND(M.LParam) == sb->Handle()) parentHeard.push_back(M.Msg);
        form->WndProc(M);
    };
    auto* bar = qobject_cast<QScrollBar*>(sb->NativeWidget());
    ASSERT_TRUE(bar);
    EXPECT_EQ(bar->value(), 10);
    ClickPart(bar, QStyle::SC_ScrollBarAddLine);
    EXPECT_EQ(sb->Position(), 12);
    ClickPart(bar, QStyle::SC_ScrollBarAddPage);
    EXPECT_EQ(sb->Position(), 37);
    DragThumb(bar, 1000);
    EXPECT_EQ(sb->Position(), 181); // 200 - (20 - 1)
    EXPECT_EQ(GetScrollPos(sb->Handle(), SB_CTL), 181);
    EXPECT_EQ(scrolls.front(), std::make_pair(scLineDown, 12));
    EXPECT_EQ(scrolls.back(), std::make_pair(scEndScroll, 181));
    EXPECT_GE(changes, 3);
    EXPECT_EQ(parentHeard.size(), scrolls.size());
    form->WindowProc = [form](TMessage& M) { form->WndProc(M); };

    // Painting onto a canvas renders the bar.
    TBitmap bmp;
    bmp.SetSize(17, 150);
    bmp.Canvas()->Brush()->SetColor(clRed);
    bmp.Canvas()->FillRect(Rect(0, 0, 17, 150));
    sb->PaintTo(bmp.Canvas(), 0, 0);
    int red = 0;
    for (int y = 0; y < 150; ++y)
        for (int x = 0; x < 17; ++x)
            if (bmp.Canvas()->Pixels(x, y) == clRed) ++red;
    EXPECT_EQ(red, 0);

    EXPECT_THROW(sb->SetParams(0, 10, 5), EInvalidOperation);
    EXPECT_EQ(sb->Min(), 0);
    TObject::Free(form);
}

TEST(SystemMetrics, ScrollBarsAndBordersAtNinetySixDots) {
    EXPECT_EQ(GetSystemMetrics(SM_CXVSCROLL), 17);
    EXPECT_EQ(GetSystemMetrics(SM_CYHSCROLL), 17);
    EXPECT_EQ(GetSystemMetrics(SM_CYBORDER), 1);
    EXPECT_EQ(GetSystemMetrics(SM_CXEDGE), 2);
    EXPECT_GT(GetSystemMetrics(SM_CXSCREEN), 0);
    EXPECT_EQ(GetSystemMetrics(-5), 0);
}

} // namespace
