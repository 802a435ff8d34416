// Controls: message dispatch, sending and posting, windows on demand and their styles, the
// backing image, mouse capture, clicks and double clicks, enter/leave, alignment and anchors,
// fonts and colours from the parent, actions and popup menus.
#include "ActnList.h"
#include "Forms.h"
#include "Menus.h"
#include "TestSupport.h"

#include <QWidget>
#include <gtest/gtest.h>

#include <vector>

namespace {

// Records what a self-drawn control hears: mouse calls and the enter/leave messages.
class TMouseProbe : public TCustomControl {
public:
    explicit TMouseProbe(TComponent* AOwner) : TCustomControl(AOwner) { SetBounds(10, 10, 50, 30); }

    struct Call {
        char Kind; // 'D' down, 'U' up, 'M' move, 'C' click, 'B' double click
        TMouseButton Button;
        TShiftState Shift;
        int X, Y;
        bool operator==(const Call&) const = default;
    };
    std::vector<Call> Calls;
    std::vector<UINT> Notices; // CM_MOUSEENTER / CM_MOUSELEAVE in order
    bool EnabledSetterCalled = false;
    TColor Fill = clRed;
    bool PaintSomething = true;

    void SetEnabled(bool Value) override {
        EnabledSetterCalled = true;
        TCustomControl::SetEnabled(Value);
    }
    void Dispatch(TMessage& Message) override {
        if (Message.Msg == CM_MOUSEENTER || Message.Msg == CM_MOUSELEAVE) Notices.push_back(Message.Msg);
        TCustomControl::Dispatch(Message); // "inherited"
    }
    int CountKind(char k) const {
        return int(std::count_if(Calls.begin(), Calls.end(), [k](const Call& c) { return c.Kind == k; }));
    }
    void Click() override {
        Calls.push_back({'C', mbLeft, {}, 0, 0});
        TCustomControl::Click();
    }

protected:
    void DblClick() override { Calls.push_back({'B', mbLeft, {}, 0, 0}); }
    void MouseDown(TMouseButton B, TShiftState S, int X, int Y) override {
        Calls.push_back({'D', B, S, X, Y});
        TCustomControl::MouseDown(B, S, X, Y);
    }
    void MouseUp(TMouseButton B, TShiftState S, int X, int Y) override { Calls.push_back({'U', B, S, X, Y}); }
    void MouseMove(TShiftState S, int X, int Y) override { Calls.push_back({'M', mbLeft, S, X, Y}); }
    void Paint() override {
        if (!PaintSomething) return;
        Canvas()->Brush()->SetColor(Fill);
        Canvas()->FillRect(Rect(0, 0, 10, 10));
    }
};

class TGraphicProbe : public TGraphicControl {
public:
    explicit TGraphicProbe(TComponent* AOwner) : TGraphicControl(AOwner) { SetBounds(100, 10, 20, 20); }
    std::vector<UINT> Notices;
    std::vector<TPoint> Downs;
    void Dispatch(TMessage& Message) override {
        if (Message.Msg == CM_MOUSEENTER || Message.Msg == CM_MOUSELEAVE) Notices.push_back(Message.Msg);
        TGraphicControl::Dispatch(Message);
    }

protected:
    void MouseDown(TMouseButton, TShiftState, int X, int Y) override { Downs.push_back(TPoint(X, Y)); }
    void Paint() override {
        Canvas()->Brush()->SetColor(clBlue);
        Canvas()->FillRect(Rect(0, 0, 20, 20));
    }
};

class ControlsTest : public ::testing::Test {
protected:
    void SetUp() override {
        Form = new TForm(nullptr);
        Form->SetClientSize(200, 100);
        Probe = new TMouseProbe(Form);
        Probe->SetParent(Form);
        Form->Show();
    }
    void TearDown() override {
        ReleaseCapture();
        TObject::Free(Form);
    }
    TForm* Form = nullptr;
    TMouseProbe* Probe = nullptr;
};

// ---------------------------------------------------------------------------------------------
// Messages

TEST_F(ControlsTest, InheritedHandlingReachesTheBaseClassHandlers) {
    int entered = 0;
    Probe->OnMouseEnter = [&](TObject*) { ++entered; };
    EXPECT_EQ(Probe->Perform(CM_MOUSEENTER), 0);
    EXPECT_EQ(Probe->Notices, std::vector<UINT>({CM_MOUSEENTER}));
    EXPECT_EQ(entered, 1);
}

TEST_F(ControlsTest, AReplacedWindowProcSeesMessagesFirstAndCanBeRestored) {
    TWndMethod saved = Probe->WindowProc;
    std::vector<UINT> seen;
    Probe->WindowProc = [&](TMessage& m) {
        seen.push_back(m.Msg);
        if (m.Msg == CM_MOUSEENTER) return; // swallowed
        saved(m);
    };
    Probe->Perform(CM_MOUSEENTER);
    Probe->Perform(CM_MOUSELEAVE);
    EXPECT_EQ(seen, std::vector<UINT>({CM_MOUSEENTER, CM_MOUSELEAVE}));
    EXPECT_EQ(Probe->Notices, std::vector<UINT>({CM_MOUSELEAVE}));
    Probe->WindowProc = saved;
    Probe->Perform(CM_MOUSEENTER);
    EXPECT_EQ(seen.size(), 2u);
}

TEST_F(ControlsTest, PostedMessagesComeAfterTheCurrentOneAndNotToFreedWindows) {
    HWND h = Probe->Handle();
    ASSERT_TRUE(PostMessage(h, CM_MOUSEENTER));
    EXPECT_TRUE(Probe->Notices.empty()); // not yet
    ASSERT_TRUE(ProcessMessagesUntil([&] { return !Probe->Notices.empty(); }));
    EXPECT_EQ(SendMessage(h, CM_MOUSELEAVE), 0);
    EXPECT_EQ(Probe->Notices, std::vector<UINT>({CM_MOUSEENTER, CM_MOUSELEAVE}));

    // A message posted to a window that goes before it is handled is dropped.
    auto* other = new TMouseProbe(Form);
    other->SetParent(Form);
    HWND oh = other->Handle();
    int seen = 0;
    other->OnMouseEnter = [&](TObject*) { ++seen; };
    ASSERT_TRUE(PostMessage(oh, CM_MOUSEENTER));
    TObject::Free(other);
    bool done = false;
    PostCall([&] { done = true; });
    ASSERT_TRUE(ProcessMessagesUntil([&] { return done; }));
    EXPECT_EQ(seen, 0);
    EXPECT_FALSE(IsWindow(oh));
    EXPECT_FALSE(PostMessage(oh, CM_MOUSEENTER));
    EXPECT_EQ(SendMessage(oh, CM_MOUSEENTER), 0);
}

TEST(Messages, RegisteredMessageNumbersAreSharedPerName) {
    UINT a = RegisterWindowMessage(QStringLiteral("GridEditDone"));
    UINT b = RegisterWindowMessage(QStringLiteral("DTPShiftFocus"));
    EXPECT_GE(a, 0xC000u);
    EXPECT_GE(b, 0xC000u);
    EXPECT_NE(a, b);
    EXPECT_EQ(RegisterWindowMessage(QStringLiteral("GridEditDone")), a);
    EXPECT_EQ(RegisterWindowMessage(QStringLiteral("grideditdone")), a); // names ignore case
    EXPECT_EQ(RegisterWindowMessage(QString()), 0u);
}

TEST(Messages, TypedViewsReadAndWriteTheRecord) {
    TMessage m(WM_KEYDOWN, VK_RETURN, 0x001C0001);
    TWMKey k(m);
    EXPECT_EQ(Word(k.CharCode), VK_RETURN);
    EXPECT_EQ(Integer(k.KeyData), 0x001C0001);
    k.CharCode = 0;
    k.Result = 7;
    EXPECT_EQ(m.WParam, 0u);
    EXPECT_EQ(m.Result, 7);

    TMessage mm(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(-3, 40));
    TWMMouse mouse(mm);
    EXPECT_EQ(SmallInt(mouse.XPos), -3);
    EXPECT_EQ(SmallInt(mouse.YPos), 40);
    mouse.YPos = -2;
    EXPECT_EQ(LParamToPoint(mm.LParam), TPoint(-3, -2));
}

// ---------------------------------------------------------------------------------------------
// Windows and painting

TEST_F(ControlsTest, WindowsAreMadeOnDemandWithTheirStyles) {
    auto* c = new TMouseProbe(nullptr);
    auto freeC = FreeAtEnd(c);
    EXPECT_FALSE(c->HandleAllocated());
    HWND h = c->Handle();
    EXPECT_TRUE(c->HandleAllocated());
    EXPECT_EQ(GetWindowLong(h, GWL_EXSTYLE) & LONG(WS_EX_TRANSPARENT), 0);
    SetWindowLong(h, GWL_EXSTYLE, LONG(WS_EX_TRANSPARENT));
    EXPECT_EQ(GetWindowLong(h, GWL_EXSTYLE), LONG(WS_EX_TRANSPARENT));
    EXPECT_EQ(c->WindowExStyle(), WS_EX_TRANSPARENT);
    // Recreating the window makes a new one from CreateParams; the old handle is dead.
    c->RecreateWnd();
    EXPECT_NE(c->Handle(), h);
    EXPECT_FALSE(IsWindow(h));
    FreeAndNil(c);
    EXPECT_FALSE(IsWindow(h));
}

TEST_F(ControlsTest, PaintDrawsIntoTheBackingImageOverTheColourOrTransparent) {
    Probe->SetColor(clWhite);
    Probe->Repaint();
    QImage& img = Probe->BackImage();
    ASSERT_EQ(img.size(), QSize(50, 30));
    EXPECT_EQ(img.pixelColor(5, 5), QColor(255, 0, 0));
    EXPECT_EQ(img.pixelColor(30, 20), QColor(255, 255, 255));
    // A transparent window starts each paint from nothing: the parent shows through.
    SetWindowLong(Probe->Handle(), GWL_EXSTYLE, LONG(WS_EX_TRANSPARENT));
    Probe->Repaint();
    EXPECT_EQ(img.pixelColor(5, 5), QColor(255, 0, 0));
    EXPECT_EQ(qAlpha(img.pixel(30, 20)), 0);
    // Rendering the parent shows the form's colour there.
    TBitmap bmp;
    bmp.SetSize(200, 100);
    Form->PaintTo(bmp.Canvas(), 0, 0);
    EXPECT_EQ(ColorToRGB(bmp.Canvas()->Pixels(40, 30)), ColorToRGB(clBtnFace));
    EXPECT_EQ(bmp.Canvas()->Pixels(15, 15), clRed);
}

TEST_F(ControlsTest, DrawingOutsideAPaintShowsWithoutAnotherPaint) {
    Probe->Repaint();
    // A setter that paints at once draws straight into the backing image...
    Probe->Canvas()->Brush()->SetColor(clLime);
    Probe->Canvas()->FillRect(Rect(0, 0, 5, 5));
    // ...and the window shows it as it is, without running Paint again.
    QImage shown = Probe->Widget()->grab().toImage();
    EXPECT_EQ(shown.pixelColor(2, 2), QColor(0, 255, 0));
    EXPECT_EQ(shown.pixelColor(7, 7), QColor(255, 0, 0));
    // An invalidated control paints anew.
    Probe->Invalidate();
    shown = Probe->Widget()->grab().toImage();
    EXPECT_EQ(shown.pixelColor(2, 2), QColor(255, 0, 0));
}

TEST_F(ControlsTest, PaintToRendersGraphicAndWindowedChildren) {
    auto* g = new TGraphicProbe(Form);
    g->SetParent(Form);
    Form->SetColor(clLime);
    TBitmap bmp;
    bmp.SetSize(200, 100);
    Form->PaintTo(bmp.Canvas(), 0, 0);
    EXPECT_EQ(bmp.Canvas()->Pixels(110, 20), clBlue); // graphic child
    EXPECT_EQ(bmp.Canvas()->Pixels(12, 12), clRed);   // windowed child's own painting
    EXPECT_EQ(bmp.Canvas()->Pixels(150, 80), clLime); // the form's colour
}

TEST_F(ControlsTest, TheVirtualEnabledSetterRunsForEveryChange) {
    TControl* asBase = Probe;
    asBase->SetEnabled(false);
    EXPECT_TRUE(Probe->EnabledSetterCalled);
    EXPECT_FALSE(Probe->Enabled());
}

TEST_F(ControlsTest, ShowingFollowsTheParents) {
    int showingChanges = 0;
    auto* c = new TMouseProbe(Form);
    c->WindowProc = [c, &showingChanges](TMessage& m) {
        if (m.Msg == CM_SHOWINGCHANGED) ++showingChanges;
        c->WndProc(m);
    };
    c->SetParent(Form);
    EXPECT_TRUE(c->Showing());
    Form->Hide();
    EXPECT_FALSE(c->Showing());
    EXPECT_FALSE(Probe->Showing());
    Form->Show();
    EXPECT_TRUE(c->Showing());
    c->Hide();
    EXPECT_FALSE(c->Showing());
    EXPECT_EQ(showingChanges, 4);
}

// A hidden child gets no window with its parent's, but as soon as it shows or its handle is
// asked for; then it keeps its place in the z-order (under the siblings after it in the list).
TEST_F(ControlsTest, HiddenChildrenGetTheirWindowsWhenShownOrAskedFor) {
    auto make = [this](bool Visible) {
        auto* c = new TMouseProbe(Form);
        c->SetVisible(Visible);
        c->SetParent(Form);
        return c;
    };
    TMouseProbe* hidden = make(false);
    TMouseProbe* asked = make(false);
    TMouseProbe* top = make(true);
    EXPECT_TRUE(top->HandleAllocated());
    EXPECT_FALSE(hidden->HandleAllocated());
    EXPECT_FALSE(asked->HandleAllocated());

    // Asked for: made at once, hidden still, under the later sibling that already has its window.
    const HWND h = asked->Handle();
    ASSERT_TRUE(IsWindow(h));
    EXPECT_FALSE(asked->Widget()->isVisible());
    auto order = [this](TWinControl* A, TWinControl* B) {
        const QObjectList& kids = Form->Widget()->children();
        return kids.indexOf(A->Widget()) < kids.indexOf(B->Widget());
    };
    EXPECT_TRUE(order(asked, top));

    // Shown: made and visible; a child made while its parent had no window follows the parent.
    hidden->Show();
    ASSERT_TRUE(hidden->HandleAllocated());
    EXPECT_TRUE(hidden->Widget()->isVisible());
    EXPECT_TRUE(hidden->Showing());
    EXPECT_TRUE(order(hidden, asked));
    EXPECT_TRUE(order(hidden, top));

    // Shown in a hidden parent that has its window: made, so a later Show of the parent shows it.
    Form->Hide();
    TMouseProbe* late = make(false);
    late->Show();
    EXPECT_TRUE(late->HandleAllocated());
    EXPECT_FALSE(late->Showing());
    Form->Show();
    EXPECT_TRUE(late->Showing());
    EXPECT_TRUE(late->Widget()->isVisibleTo(Form->Widget()));

    // Recreating the parent makes the visible children again and leaves the hidden ones to later.
    TMouseProbe* hiddenAgain = make(false);
    hiddenAgain->HandleNeeded();
    Form->RecreateWnd();
    EXPECT_TRUE(top->HandleAllocated());
    EXPECT_FALSE(hiddenAgain->HandleAllocated());
    EXPECT_TRUE(hiddenAgain->Handle() != 0);
    EXPECT_TRUE(order(top, hiddenAgain));
}

TEST_F(ControlsTest, CaptionFollowsTheNameOnlyOutsideLoading) {
    auto* c = new TMouseProbe(Form);
    c->SetName(QStringLiteral("Probe1"));
    EXPECT_EQ(c->Caption(), QStringLiteral("Probe1"));
    c->SetCaption(QStringLiteral("Mine"));
    c->SetName(QStringLiteral("Probe2"));
    EXPECT_EQ(c->Caption(), QStringLiteral("Mine"));
    Form->BeginLoading();
    auto* d = new TMouseProbe(Form);
    d->SetName(QStringLiteral("Probe3"));
    Form->EndLoading();
    EXPECT_EQ(d->Caption(), QString());
}

// ---------------------------------------------------------------------------------------------
// Mouse

TEST_F(ControlsTest, ACapturedPressKeepsTheMovesAndTheReleaseOutside) {
    SimulateMouseDown(Probe, mbLeft, {}, 5, 5);
    EXPECT_TRUE(Probe->MouseCapture());
    SimulateMouseMove(Probe, {ssLeft}, 80, 60);
    SimulateMouseUp(Probe, mbLeft, {}, 80, 60);
    EXPECT_FALSE(Probe->MouseCapture());
    ASSERT_EQ(Probe->Calls.size(), 3u);
    EXPECT_EQ(Probe->Calls[1].Kind, 'M');
    EXPECT_EQ(Probe->Calls[2], (TMouseProbe::Call{'U', mbLeft, {}, 80, 60}));
    // No click: the release was outside.
    EXPECT_EQ(Probe->CountKind('C'), 0);
    // Inside, the press and release make a click.
    SimulateClick(Probe, 5, 5);
    EXPECT_EQ(Probe->CountKind('C'), 1);
}

TEST_F(ControlsTest, TheReleaseGoesToTheCapturingControlEvenWhenAnotherWindowGetsIt) {
    auto* other = new TMouseProbe(Form);
    other->SetParent(Form);
    other->SetBounds(100, 50, 50, 30);
    SimulateMouseDown(Probe, mbLeft, {}, 5, 5);
    SimulateMouseUp(other, mbLeft, {}, 10, 10);
    EXPECT_TRUE(other->Calls.empty());
    ASSERT_EQ(Probe->CountKind('U'), 1);
    // Reported in the capturing control's coordinates.
    EXPECT_EQ(Probe->Calls.back(), (TMouseProbe::Call{'U', mbLeft, {}, 100, 50}));
}

TEST_F(ControlsTest, WithoutCaptureAReleaseOutsideIsNotDelivered) {
    Probe->SetControlStyle({csClickEvents});
    SimulateMouseDown(Probe, mbLeft, {}, 5, 5);
    EXPECT_FALSE(Probe->MouseCapture());
    SimulateMouseUp(Probe, mbLeft, {}, 80, 60);
    EXPECT_EQ(Probe->CountKind('U'), 0);
}

TEST_F(ControlsTest, DoubleClicksDependOnTheControlStyle) {
    struct Case {
        TControlStyle Style;
        std::vector<char> Kinds;
        bool SecondDownDouble;
    };
    const Case cases[] = {
        // Without double clicks the second click is a plain second press.
        {{csCaptureMouse, csClickEvents}, {'D', 'C', 'U', 'D', 'C', 'U'}, false},
        {{csCaptureMouse, csClickEvents, csDoubleClicks}, {'D', 'C', 'U', 'B', 'D', 'U'}, true},
        // A control that makes its own clicks gets presses only.
        {{csCaptureMouse}, {'D', 'U', 'D', 'U'}, false},
    };
    for (const Case& c : cases) {
        Probe->Calls.clear();
        Probe->SetControlStyle(c.Style);
        SimulateDblClick(Probe, mbLeft, {}, 5, 5);
        std::vector<char> kinds;
        for (auto& call : Probe->Calls) kinds.push_back(call.Kind);
        EXPECT_EQ(kinds, c.Kinds);
        std::vector<TShiftState> downs;
        for (auto& call : Probe->Calls)
            if (call.Kind == 'D') downs.push_back(call.Shift);
        ASSERT_EQ(downs.size(), 2u);
        EXPECT_EQ(downs[1].count(ssDouble) != 0, c.SecondDownDouble);
    }
}

TEST_F(ControlsTest, EnterAndLeaveIncludingGraphicChildren) {
    auto* g = new TGraphicProbe(Form);
    g->SetParent(Form);
    SimulateMouseEnter(Probe);
    SimulateMouseLeave(Probe);
    EXPECT_EQ(Probe->Notices, std::vector<UINT>({CM_MOUSEENTER, CM_MOUSELEAVE}));
    // Over the form onto its graphic child and off again.
    SimulateMouseMove(Form, {}, 150, 80);
    SimulateMouseMove(Form, {}, 105, 15);
    EXPECT_EQ(g->Notices, std::vector<UINT>({CM_MOUSEENTER}));
    SimulateMouseMove(Form, {}, 150, 80);
    EXPECT_EQ(g->Notices, std::vector<UINT>({CM_MOUSEENTER, CM_MOUSELEAVE}));
    // The graphic child gets presses in its own coordinates.
    SimulateMouseDown(g, mbLeft, {}, 3, 4);
    SimulateMouseUp(g, mbLeft, {}, 3, 4);
    EXPECT_EQ(g->Downs, std::vector<TPoint>({TPoint(3, 4)}));
}

TEST_F(ControlsTest, WhileCapturedOnlyTheCapturingControlHearsLeaveAndEnter) {
    SimulateMouseEnter(Probe);
    SimulateMouseDown(Probe, mbLeft, {}, 5, 5);
    SimulateMouseMove(Probe, {ssLeft}, 90, 60); // off the control
    SimulateMouseMove(Probe, {ssLeft}, 6, 6);   // back on
    SimulateMouseUp(Probe, mbLeft, {}, 6, 6);
    EXPECT_EQ(Probe->Notices, std::vector<UINT>({CM_MOUSEENTER, CM_MOUSELEAVE, CM_MOUSEENTER}));
}

TEST_F(ControlsTest, ARightClickPopsUpThePopupMenuAtTheScreenPoint) {
    auto* menu = new TPopupMenu(Form);
    Probe->SetPopupMenu(menu);
    SimulateClick(Probe, 7, 8, mbRight);
    EXPECT_EQ(menu->PopupCount(), 1);
    EXPECT_EQ(menu->PopupPoint(), Probe->ClientToScreen(TPoint(7, 8)));
    // Freeing the menu unlinks it.
    TObject::Free(menu);
    EXPECT_EQ(Probe->PopupMenu(), nullptr);
    SimulateClick(Probe, 7, 8, mbRight);
}

TEST_F(ControlsTest, WindowTimersSendWmTimer) {
    std::vector<UINT_PTR> ids;
    TWndMethod saved = Probe->WindowProc;
    Probe->WindowProc = [&](TMessage& m) {
        if (m.Msg == WM_TIMER) ids.push_back(m.WParam);
        saved(m);
    };
    ASSERT_TRUE(SetTimer(Probe->Handle(), 111, 1));
    ASSERT_TRUE(ProcessMessagesUntil([&] { return ids.size() >= 2; }));
    EXPECT_TRUE(KillTimer(Probe->Handle(), 111));
    EXPECT_FALSE(KillTimer(Probe->Handle(), 111));
    EXPECT_EQ(ids[0], 111u);
    Probe->WindowProc = saved;
}

// ---------------------------------------------------------------------------------------------
// Layout

TEST(Align, ChildrenTakeTheirSidesInTheClassLibrarysOrder) {
    auto* parent = new TCustomControl(nullptr);
    auto freeParent = FreeAtEnd(parent);
    parent->SetBounds(0, 0, 200, 100);
    struct Piece {
        TAlign Align;
        int W, H;
        TRect Expected;
    };
    const Piece pieces[] = {
        {alClient, 10, 10, Rect(30, 20, 180, 85)}, {alTop, 10, 20, Rect(0, 0, 200, 20)},
        {alLeft, 30, 10, Rect(0, 20, 30, 85)},     {alBottom, 10, 15, Rect(0, 85, 200, 100)},
        {alRight, 20, 10, Rect(180, 20, 200, 85)},
    };
    std::vector<TControl*> made;
    for (const Piece& p : pieces) {
        auto* c = new TCustomControl(parent);
        c->SetBounds(0, 0, p.W, p.H);
        c->SetParent(parent);
        c->SetAlign(p.Align);
        made.push_back(c);
    }
    for (size_t i = 0; i < made.size(); ++i) EXPECT_EQ(made[i]->BoundsRect(), pieces[i].Expected) << i;
    // The parent grows: the sides follow, the client piece fills the rest.
    parent->SetBounds(0, 0, 300, 150);
    EXPECT_EQ(made[0]->BoundsRect(), Rect(30, 20, 280, 135));
    EXPECT_EQ(made[4]->BoundsRect(), Rect(280, 20, 300, 135));
    EXPECT_EQ(made[3]->BoundsRect(), Rect(0, 135, 300, 150));
    // A hidden piece gives its room back.
    made[1]->Hide();
    EXPECT_EQ(made[0]->BoundsRect(), Rect(30, 0, 280, 135));
}

TEST(Align, TwoTopPiecesStackInTheOrderOfTheirTops) {
    auto* parent = new TCustomControl(nullptr);
    auto freeParent = FreeAtEnd(parent);
    parent->SetBounds(0, 0, 100, 100);
    auto* lower = new TCustomControl(parent);
    lower->SetBounds(0, 50, 10, 10);
    lower->SetParent(parent);
    auto* upper = new TCustomControl(parent);
    upper->SetBounds(0, 5, 10, 20);
    upper->SetParent(parent);
    parent->DisableAlign();
    lower->SetAlign(alTop);
    upper->SetAlign(alTop);
    parent->EnableAlign();
    EXPECT_EQ(upper->BoundsRect(), Rect(0, 0, 100, 20));
    EXPECT_EQ(lower->BoundsRect(), Rect(0, 20, 100, 30));
}

TEST(Align, AnchorsKeepDistancesWhenTheParentResizes) {
    auto* parent = new TCustomControl(nullptr);
    auto freeParent = FreeAtEnd(parent);
    parent->SetBounds(0, 0, 200, 100);
    struct Case {
        TAnchors Anchors;
        TRect Expected;
    };
    const Case cases[] = {
        {{akLeft, akTop}, Rect(10, 10, 50, 30)},
        {{akRight, akBottom}, Rect(60, 40, 100, 60)},
        {{akLeft, akTop, akRight}, Rect(10, 10, 100, 30)},
        {{akLeft, akTop, akRight, akBottom}, Rect(10, 10, 100, 60)},
    };
    std::vector<TControl*> made;
    for (const Case& c : cases) {
        auto* ctl = new TCustomControl(parent);
        ctl->SetParent(parent);
        ctl->SetBounds(10, 10, 40, 20);
        ctl->SetAnchors(c.Anchors);
        made.push_back(ctl);
    }
    parent->SetBounds(0, 0, 250, 130);
    for (size_t i = 0; i < made.size(); ++i) EXPECT_EQ(made[i]->BoundsRect(), cases[i].Expected) << i;
}

// ---------------------------------------------------------------------------------------------
// Fonts and colours

TEST_F(ControlsTest, ParentFontAndColourFollowTheParentUntilSetHere) {
    auto* own = new TMouseProbe(Form);
    own->SetParent(Form);
    own->Font()->SetName(QStringLiteral("Verdana"));
    own->SetColor(clYellow);
    EXPECT_FALSE(own->ParentFont());
    EXPECT_FALSE(own->ParentColor());

    Form->Font()->SetName(QStringLiteral("Arial"));
    Form->Font()->SetSize(12);
    Form->SetColor(clAqua);
    EXPECT_EQ(Probe->Font()->Name(), QStringLiteral("Arial"));
    EXPECT_EQ(Probe->Font()->Size(), 12);
    EXPECT_TRUE(Probe->ParentFont());
    EXPECT_EQ(Probe->Color(), clAqua);
    EXPECT_TRUE(Probe->ParentColor());
    EXPECT_EQ(own->Font()->Name(), QStringLiteral("Verdana"));
    EXPECT_EQ(own->Color(), clYellow);
    // Back to following.
    own->SetParentFont(true);
    EXPECT_EQ(own->Font()->Name(), QStringLiteral("Arial"));
}

TEST(Forms, NewFormsUseTheClassLibrarysDefaultFont) {
    TForm* f = new TForm(nullptr);
    auto freeF = FreeAtEnd(f);
    EXPECT_EQ(f->Font()->Name(), QStringLiteral("Tahoma"));
    EXPECT_EQ(f->Font()->Size(), 8);
}

// ---------------------------------------------------------------------------------------------
// Actions

class TActionProbe : public TCustomControl {
public:
    using TCustomControl::TCustomControl;
    std::vector<std::pair<TObject*, bool>> Changes;
    using TCustomControl::Click;

protected:
    void ActionChange(TObject* Sender, bool CheckDefaults) override {
        Changes.push_back({Sender, CheckDefaults});
        TCustomControl::ActionChange(Sender, CheckDefaults);
    }
};

TEST(Actions, ALinkedControlFollowsItsActionAndRunsItOnClick) {
    auto* list = new TActionList(nullptr);
    auto freeList = FreeAtEnd(list);
    auto* action = new TAction(list);
    action->SetActionList(list);
    action->SetCaption(QStringLiteral("Run"));
    int executed = 0;
    action->OnExecute = [&](TObject*) { ++executed; };
    auto* c = new TActionProbe(nullptr);
    auto freeC = FreeAtEnd(c);
    c->SetAction(action);
    ASSERT_EQ(c->Changes.size(), 1u);
    EXPECT_EQ(c->Changes[0].first, action);
    EXPECT_FALSE(c->Changes[0].second);
    EXPECT_EQ(c->Caption(), QStringLiteral("Run"));

    action->SetCaption(QStringLiteral("Go"));
    action->SetEnabled(false);
    EXPECT_EQ(c->Caption(), QStringLiteral("Go"));
    EXPECT_FALSE(c->Enabled());
    EXPECT_GE(c->Changes.size(), 3u);

    c->Click();
    EXPECT_EQ(executed, 0); // a disabled action does not run
    action->SetEnabled(true);
    c->Click();
    EXPECT_EQ(executed, 1);
    // An assigned OnClick wins over the action.
    int clicked = 0;
    c->OnClick = [&](TObject*) { ++clicked; };
    c->Click();
    EXPECT_EQ(clicked, 1);
    EXPECT_EQ(executed, 1);

    // The action goes: the control forgets it.
    FreeAndNil(list);
    EXPECT_EQ(c->Action(), nullptr);
}

} // namespace
