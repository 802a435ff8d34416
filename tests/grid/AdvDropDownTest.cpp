// The drop-down edit base on a real form, driven by keys and mouse: the drop button as a toggle
// under the 250 ms rule (fake tick source), Alt+Down, F4, Enter and Escape with OnDropUp's
// Cancelled flag and the restored value, the pick-only edit, ReturnIsTab, opening (a refusing
// OnDropDown, dpAuto placement, the right-edge shift against a fake work area, the user's size,
// no DoExit), the small rules (button width, Assign, label positions, the value with prefix and
// suffix, change notifications, stored styles, CM_WANTSPECIALKEY) and the popup form.
#include "AdvDropDown.h"

#include "DropDownTestSupport.h"
#include "ExtPanels.h"
#include "Forms.h"
#include "OSInfo.h"
#include "TestSupport.h"

#include <QImage>
#include <gtest/gtest.h>

namespace {

// A drop-down whose popup control is a plain panel.
class TTestDropDown : public TAdvCustomDropDown {
public:
    explicit TTestDropDown(TComponent* AOwner) : TAdvCustomDropDown(AOwner) {
        FPanel = new TPanel(this);
        FPanel->SetBounds(0, 0, 150, 100);
        SetControl(FPanel);
    }
    TPanel* Panel() const { return FPanel; }
    int NextItems = 0, PreviousItems = 0;

protected:
    void MoveToNextItem() override { ++NextItems; }
    void MoveToPreviousItem() override { ++PreviousItems; }

private:
    TPanel* FPanel;
};

class DropDown : public DropDownFormTest {
protected:
    void SetUp() override {
        DropDownFormTest::SetUp();
        DD = new TTestDropDown(Form);
        DD->SetParent(Form);
        DD->SetBounds(20, 30, 200, 21);
        Other = new TEdit(Form);
        Other->SetParent(Form);
        Other->SetBounds(20, 100, 100, 21);
        DD->OnDropUp = [this](TObject*, bool Cancelled) { Ups.push_back(Cancelled); };
        DD->SetFocus();
    }
    void TearDown() override {
        DropDownFormTest::TearDown();
        SetDropDownWorkAreaSource(nullptr);
        ResetPlatformSwitches();
    }
    TDropDownForm* Popup() const { return DD->DropDownForm(); }
    bool Open() const { return DD->DroppedDown() && Popup()->Visible(); }
    // A left click on the drop button as the user gives it.
    void ClickButton() { SimulateClick(DD->Button()->Button(), 5, 5); }

    TTestDropDown* DD = nullptr;
    TEdit* Other = nullptr;
    std::vector<bool> Ups;
};

// ---- Construction ----

TEST_F(DropDown, ANewDropDownHasItsDefaults) {
    auto* d = new TTestDropDown(nullptr);
    auto freeD = FreeAtEnd(d);
    EXPECT_EQ(d->Width(), 200);
    EXPECT_EQ(d->DropDownButtonWidth(), 17);
    EXPECT_EQ(d->Button()->Width(), 16); // the host keeps its own width until another is written
    EXPECT_EQ(d->DropDownWidth(), 0);
    EXPECT_EQ(d->DropDownHeight(), 0);
    EXPECT_EQ(d->DropPosition(), dpAuto);
    EXPECT_EQ(d->DropDownBorderWidth(), 1);
    EXPECT_TRUE(d->DropDownShadow());
    EXPECT_TRUE(d->DropDownSizeable());
    EXPECT_TRUE(d->EditorEnabled());
    EXPECT_EQ(d->BorderColor(), clNone);
    EXPECT_EQ(d->FocusBorderColor(), clNone);
    EXPECT_TRUE(d->DisabledBorder());
    EXPECT_EQ(d->LabelPosition(), lpLeftTop);
    EXPECT_EQ(d->LabelMargin(), 0);
    EXPECT_EQ(d->EditLabel(), nullptr);
    EXPECT_EQ(d->LabelCaption(), String());
    EXPECT_EQ(d->SelectionColorStyle(), scOffice2007);
    EXPECT_EQ(d->SelectionColor(), TColor(0xD7FFFD));
    EXPECT_EQ(d->SelectionColorTo(), TColor(0x58D4FC));
    EXPECT_EQ(d->GetComponentStyle(), tsOffice2007Luna);
    EXPECT_EQ(d->Version(), QStringLiteral("1.2.1.4"));
    EXPECT_EQ(d->EditType(), etString);
    EXPECT_TRUE(d->DefaultHandling());
    EXPECT_TRUE(d->CanUndo());
    EXPECT_TRUE(d->AutoThousandSeparator());
    EXPECT_TRUE(d->FocusDraw());
    EXPECT_FALSE(d->DropDownEnabled());
    EXPECT_FALSE(d->DroppedDown());
    EXPECT_EQ(d->ControlStyle().count(csSetCaption), 0u);
    ASSERT_NE(d->DropDownForm(), nullptr);
    EXPECT_FALSE(d->DropDownForm()->Visible());
    EXPECT_EQ(d->DropDownForm()->AdvDropDown(), d);
    EXPECT_EQ(d->DropDownForm()->DeActivateTime(), 0u);
    EXPECT_TRUE(d->DropDownForm()->CancelOnDeActivate());
    EXPECT_FALSE(d->DropDownForm()->Sizeable());
}

TEST_F(DropDown, TheButtonWidthReachesTheHostOnlyWhenItChanges) {
    DD->SetDropDownButtonWidth(17);
    EXPECT_EQ(DD->Button()->Width(), 16);
    DD->SetDropDownButtonWidth(20);
    EXPECT_EQ(DD->DropDownButtonWidth(), 20);
    EXPECT_EQ(DD->Button()->Width(), 20);
    // The host keeps its width whatever it is given.
    DD->Button()->SetWidth(30);
    EXPECT_EQ(DD->Button()->Width(), 20);
    EXPECT_EQ(DD->Button()->Button()->Width(), 20);
}

// ---- The drop button ----

TEST_F(DropDown, TheDropButtonTogglesUnderThe250msRule) {
    ClickButton();
    ASSERT_TRUE(Open());
    // Pressing the button activates the edit's form: the popup loses the activation and closes,
    // and the release does not open it again.
    ClickButton();
    EXPECT_FALSE(Open());
    EXPECT_EQ(Popup()->DeActivateTime(), Tick);
    ASSERT_EQ(Ups, std::vector<bool>{true});
    Tick += 250;
    ClickButton();
    EXPECT_FALSE(Open());
    Tick += 1;
    ClickButton();
    EXPECT_TRUE(Open());
}

TEST_F(DropDown, OnlyALeftReleaseOnTheButtonClicksWhereverItIsReleased) {
    int clicks = 0;
    DD->Button()->OnClick = [&](TObject*) { ++clicks; };
    TControl* b = DD->Button()->Button();
    SimulateMouseDown(b, mbRight, {}, 5, 5);
    SimulateMouseUp(b, mbRight, {}, 5, 5);
    EXPECT_EQ(clicks, 0);
    SimulateMouseDown(b, mbLeft, {ssLeft}, 5, 5);
    SimulateMouseUp(b, mbLeft, {}, 60, 40); // released outside the button
    EXPECT_EQ(clicks, 1);
}

// ---- Keys ----

TEST_F(DropDown, AltDownF4EnterAndEscape) {
    DD->SetText(QStringLiteral("kept"));
    SimulateKey(DD, VK_DOWN, {ssAlt});
    ASSERT_TRUE(Open());
    SimulateKey(nullptr, VK_DOWN, {ssAlt}); // typed in the popup, handled by the edit
    EXPECT_FALSE(Open());
    EXPECT_EQ(Ups, std::vector<bool>{false});

    SimulateKey(DD, VK_F4);
    ASSERT_TRUE(Open());
    SimulateKey(nullptr, VK_F4);
    EXPECT_FALSE(Open());

    // Escape restores the value written last by code.
    SimulateKey(DD, VK_F4);
    ASSERT_TRUE(Open());
    DD->SetEditText(QStringLiteral("chosen"));
    SimulateKey(nullptr, VK_ESCAPE);
    EXPECT_FALSE(Open());
    EXPECT_EQ(DD->Text(), QStringLiteral("kept"));
    EXPECT_EQ(Ups.back(), true);

    // Enter keeps the popup's choice.
    SimulateKey(DD, VK_F4);
    ASSERT_TRUE(Open());
    DD->SetEditText(QStringLiteral("chosen"));
    SimulateKey(nullptr, VK_RETURN);
    EXPECT_FALSE(Open());
    EXPECT_EQ(DD->Text(), QStringLiteral("chosen"));
    EXPECT_EQ(Ups.back(), false);
    EXPECT_EQ(Ups.size(), 4u);
    // The focus came back to the edit, and Enter typed nothing into it.
    EXPECT_TRUE(DD->Focused());
    EXPECT_EQ(DD->EditText(), QStringLiteral("chosen"));
}

TEST_F(DropDown, ThePopupClosesBeforeOnDropUpAndHidingClearsDroppedDown) {
    std::vector<std::string> order;
    DD->OnBeforeDropUp = [&](TObject*) { order.push_back("BeforeDropUp"); };
    Popup()->OnHide = [&, hide = Popup()->OnHide](TObject* S) {
        order.push_back("Hide");
        hide(S);
    };
    DD->OnDropUp = [&](TObject*, bool) { order.push_back(DD->DroppedDown() ? "DropUp(open)" : "DropUp"); };
    DD->ShowDropDown();
    DD->HideDropDown(false);
    EXPECT_EQ(order, (std::vector<std::string>{"BeforeDropUp", "Hide", "DropUp"}));
}

TEST_F(DropDown, APickOnlyEditSwallowsKeysAndOpensOnAClick) {
    DD->SetEditorEnabled(false);
    DD->SetText(QStringLiteral("one"));
    int keyDowns = 0;
    DD->OnKeyDown = [&](TObject*, Word&, TShiftState) { ++keyDowns; };
    for (Word key : {Word('A'), Word(VK_DOWN), Word(VK_LEFT), Word(VK_BACK), Word(VK_DELETE)})
        SimulateKey(DD, key);
    EXPECT_EQ(keyDowns, 0);
    EXPECT_EQ(DD->Text(), QStringLiteral("one"));
    EXPECT_FALSE(Open());
    // Enter and Escape still reach the edit's handling.
    SimulateKey(DD, VK_RETURN);
    EXPECT_EQ(keyDowns, 1);
    // F4 and Alt+Down open.
    SimulateKey(DD, VK_F4);
    EXPECT_TRUE(Open());
    SimulateKey(nullptr, VK_F4);
    EXPECT_FALSE(Open());
    SimulateKey(DD, VK_DOWN, {ssAlt});
    EXPECT_TRUE(Open());
    DD->HideDropDown(false);
    // A click anywhere in the text opens.
    Tick += 1000;
    SimulateClick(DD, 10, 8);
    EXPECT_TRUE(ProcessMessagesUntil([&] { return Open(); }, 2000));
}

TEST_F(DropDown, ReturnIsTabMovesTheFocusWithoutClosing) {
    DD->SetReturnIsTab(true);
    SimulateKey(DD, VK_RETURN);
    ProcessMessagesUntil([&] { return Other->Focused(); }, 2000);
    EXPECT_TRUE(Other->Focused());
    EXPECT_TRUE(Ups.empty());
    // Enter handed on from the open popup does not close it.
    DD->SetFocus();
    DD->ShowDropDown();
    ASSERT_TRUE(Open());
    DD->Perform(WM_KEYDOWN, VK_RETURN, 0);
    EXPECT_TRUE(Open());
    EXPECT_TRUE(Ups.empty());
}

TEST_F(DropDown, KeysAndTheWheelOfThePopupReachTheEdit) {
    DD->ShowDropDown();
    ASSERT_TRUE(Open());
    // The popup control's own key events are the edit's now.
    Word key = VK_F4;
    ASSERT_TRUE(Assigned(DD->Panel()->OnKeyDown));
    DD->Panel()->OnKeyDown(DD->Panel(), key, {});
    EXPECT_FALSE(Open());
    DD->ShowDropDown();
    SimulateWheel(Popup(), -120, {}, 10, 10);
    SimulateWheel(Popup(), 120, {}, 10, 10);
    EXPECT_EQ(DD->NextItems, 1);
    EXPECT_EQ(DD->PreviousItems, 1);
}

// ---- Opening ----

TEST_F(DropDown, ARefusingOnDropDownLeavesThePopupClosed) {
    bool before = false;
    DD->OnBeforeDropDown = [&](TObject*) { before = true; };
    DD->OnDropDown = [](TObject*, bool& Accept) { Accept = false; };
    DD->ShowDropDown();
    EXPECT_TRUE(before);
    EXPECT_FALSE(DD->DroppedDown());
    EXPECT_FALSE(Popup()->Visible());
}

TEST_F(DropDown, NothingOpensWhenDisabledOrReadOnly) {
    DD->SetReadOnly(true);
    DD->ShowDropDown();
    EXPECT_FALSE(Open());
    DD->SetReadOnly(false);
    DD->SetEnabled(false);
    DD->ShowDropDown();
    EXPECT_FALSE(Open());
}

TEST_F(DropDown, DpAutoOpensAboveFromTheEqualCaseOn) {
    const TPoint p = Form->ClientToScreen(TPoint(DD->Left(), DD->Top()));
    const int screenHeight = GetSystemMetrics(SM_CYSCREEN);
    const int room = screenHeight - p.Y; // the popup height at which both sides are equal
    ASSERT_GT(room, 60);
    const struct {
        int Height;
        bool Above;
    } cases[] = {{room - 1, false}, {room, true}, {room + 1, true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Height);
        DD->SetDropDownHeight(c.Height);
        DD->ShowDropDown();
        ASSERT_TRUE(Open());
        EXPECT_EQ(Popup()->Left(), p.X);
        EXPECT_EQ(Popup()->Top(), c.Above ? p.Y - c.Height : p.Y + DD->Height() - 1);
        DD->HideDropDown(false);
    }
    DD->SetDropPosition(dpUp);
    DD->SetDropDownHeight(70);
    DD->ShowDropDown();
    EXPECT_EQ(Popup()->Top(), p.Y - 70);
    DD->HideDropDown(false);
    DD->SetDropPosition(dpDown);
    DD->SetDropDownHeight(room + 50);
    DD->ShowDropDown();
    EXPECT_EQ(Popup()->Top(), p.Y + DD->Height() - 1); // no vertical correction
}

TEST_F(DropDown, APopupPastTheWorkAreaIsShiftedLeftUnlessTheMonitorStartsLeftOfZero) {
    const TPoint p = Form->ClientToScreen(TPoint(DD->Left(), DD->Top()));
    DD->SetDropDownWidth(300);
    const struct {
        const char* Name;
        TRect Work;
        int Left;
    } cases[] = {
        {"Fits", TRect(0, 0, p.X + 300, 2000), p.X},
        {"Shifted", TRect(0, 0, p.X + 200, 2000), p.X + 200 - 300},
        {"NegativeMonitor", TRect(-1280, 0, p.X + 200, 2000), p.X},
        {"StartsPastTheRight", TRect(0, 0, p.X, 2000), p.X},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        TPoint asked;
        SetDropDownWorkAreaSource([&](const TPoint& P) {
            asked = P;
            return c.Work;
        });
        DD->ShowDropDown();
        ASSERT_TRUE(Open());
        EXPECT_EQ(asked, p);
        EXPECT_EQ(Popup()->Left(), c.Left);
        EXPECT_EQ(Popup()->Width(), 300);
        DD->HideDropDown(false);
        DD->SetDropDownWidth(301);
        DD->SetDropDownWidth(300); // forget the size of the last close
    }
}

TEST_F(DropDown, TheUsersSizeSurvivesUntilTheSizeIsWritten) {
    DD->SetDropDownWidth(220);
    DD->SetDropDownHeight(120);
    DD->ShowDropDown();
    EXPECT_EQ(Popup()->Width(), 220);
    EXPECT_EQ(Popup()->Height(), 120);
    Popup()->SetBounds(Popup()->Left(), Popup()->Top(), 260, 150); // the user resized it
    DD->HideDropDown(false);
    DD->ShowDropDown();
    EXPECT_EQ(Popup()->Width(), 260);
    EXPECT_EQ(Popup()->Height(), 150);
    DD->HideDropDown(false);
    DD->SetDropDownWidth(220); // unchanged: the user's size stays
    DD->ShowDropDown();
    EXPECT_EQ(Popup()->Width(), 260);
    DD->HideDropDown(false);
    DD->SetDropDownWidth(230);
    DD->ShowDropDown();
    EXPECT_EQ(Popup()->Width(), 230);
    EXPECT_EQ(Popup()->Height(), 120);
}

TEST_F(DropDown, TheAutomaticSizeComesFromTheControlAndTheMinimumHolds) {
    DD->ShowDropDown();
    // The panel's width; its height plus the frame (header and footer are the strips' part).
    EXPECT_EQ(Popup()->Width(), 150);
    EXPECT_EQ(DD->Panel()->Parent(), Popup());
    EXPECT_EQ(DD->Panel()->Align(), alClient);
    DD->HideDropDown(false);
    DD->SetDropDownWidth(10);
    DD->SetDropDownHeight(10);
    DD->ShowDropDown();
    EXPECT_EQ(Popup()->Width(), 80);
    EXPECT_EQ(Popup()->Height(), 50);
}

TEST_F(DropDown, OpeningThePopupIsNotTheEditsExit) {
    int exits = 0, killFocus = 0;
    DD->OnExit = [&](TObject*) { ++exits; };
    TWndMethod old = DD->WindowProc;
    DD->WindowProc = [&, old](TMessage& M) {
        if (M.Msg == WM_KILLFOCUS) ++killFocus;
        old(M);
    };
    ASSERT_TRUE(DD->Focused());
    DD->ShowDropDown();
    ASSERT_TRUE(Open());
    EXPECT_FALSE(DD->Focused());
    EXPECT_EQ(killFocus, 1);
    EXPECT_EQ(exits, 0);
    DD->HideDropDown(false);
    EXPECT_TRUE(DD->Focused());
    EXPECT_EQ(exits, 0);
    DD->WindowProc = old;
}

// ---- Activation of the popup ----

TEST_F(DropDown, LosingTheActivationClosesWithCancelUnlessToldOtherwise) {
    DD->SetText(QStringLiteral("old"));
    DD->ShowDropDown();
    DD->SetEditText(QStringLiteral("new"));
    Form->Show(); // another window takes the activation
    EXPECT_FALSE(Open());
    EXPECT_EQ(DD->Text(), QStringLiteral("old"));
    EXPECT_EQ(Ups, std::vector<bool>{true});

    Popup()->SetCancelOnDeActivate(false);
    DD->ShowDropDown();
    DD->SetEditText(QStringLiteral("new"));
    Form->Show();
    EXPECT_FALSE(Open());
    EXPECT_EQ(DD->Text(), QStringLiteral("new"));
}

TEST_F(DropDown, AWindowOfThePopupOrBlockActivateKeepsItOpen) {
    DD->ShowDropDown();
    auto* nested = new TForm(Popup()); // a nested popup belongs to the popup
    nested->SetBounds(10, 10, 100, 80);
    nested->Show();
    EXPECT_TRUE(Open());
    nested->Hide();
    DD->SetFocus(); // back to the edit's form: now it closes
    EXPECT_FALSE(Open());

    Tick += 1000;
    DD->ShowDropDown();
    Popup()->SetBlockActivate(true);
    const Cardinal deactivated = Popup()->DeActivateTime();
    Form->Show();
    EXPECT_TRUE(Open());
    EXPECT_EQ(Popup()->DeActivateTime(), deactivated);
    Popup()->SetBlockActivate(false);
}

TEST_F(DropDown, ThePopupsOwnAnswers) {
    EXPECT_EQ(Popup()->Perform(WM_GETDLGCODE), 5);
    Popup()->SetBounds(300, 200, 120, 90);
    auto hit = [&](int X, int Y) {
        return Popup()->Perform(WM_NCHITTEST, 0, PointToLParam(TPoint(300 + X, 200 + Y)));
    };
    EXPECT_EQ(hit(115, 85), HTNOWHERE); // not sizeable
    Popup()->SetSizeable(true);
    EXPECT_EQ(hit(111, 81), HTBOTTOMRIGHT);
    EXPECT_EQ(hit(110, 81), HTNOWHERE);
    EXPECT_EQ(hit(111, 80), HTNOWHERE);
    int sizing = 0;
    Popup()->OnSizing = [&](TObject*) { ++sizing; };
    Popup()->Perform(WM_SIZING);
    EXPECT_EQ(sizing, 1);
    // The client area is inset by the frame width; none without a frame.
    EXPECT_EQ(DD->Panel()->Parent(), Popup());
    DD->ShowDropDown();
    EXPECT_EQ(DD->Panel()->Left(), 1);
    DD->HideDropDown(false);
    DD->SetDropDownBorderWidth(0);
    DD->ShowDropDown();
    EXPECT_EQ(DD->Panel()->Left(), 0);
}

// ---- Small rules ----

TEST_F(DropDown, AssignTakesOnlyDropDowns) {
    auto* src = new TTestDropDown(Form);
    src->SetDropDownColor(TColor(0x123456));
    src->SetDropDownWidth(333);
    src->SetPrefix(QStringLiteral("<"));
    src->SetReturnIsTab(true);
    src->SetDropDownButtonWidth(25);
    src->SetDropDownButtonHint(QStringLiteral("open"));
    src->SetEditorEnabled(false);
    src->SetSelectionColorStyle(scWindows7);
    const TColor before = DD->DropDownColor();
    TFont foreign;
    DD->Assign(&foreign);
    EXPECT_EQ(DD->DropDownColor(), before);
    EXPECT_EQ(DD->DropDownWidth(), 0);
    DD->Assign(src);
    EXPECT_EQ(DD->DropDownColor(), TColor(0x123456));
    EXPECT_EQ(DD->DropDownWidth(), 333);
    EXPECT_EQ(DD->Prefix(), QStringLiteral("<"));
    EXPECT_TRUE(DD->ReturnIsTab());
    EXPECT_EQ(DD->DropDownButtonWidth(), 25);
    EXPECT_EQ(DD->Button()->Width(), 25);
    EXPECT_EQ(DD->Button()->Hint(), QStringLiteral("open"));
    EXPECT_TRUE(DD->Button()->ShowHint());
    EXPECT_FALSE(DD->EditorEnabled());
    EXPECT_EQ(DD->SelectionColorStyle(), scWindows7);
    EXPECT_EQ(DD->SelectionColor(), TColor(0xFCEBDC));
}

TEST_F(DropDown, TheLabelSitsInEachOfItsFifteenPlaces) {
    DD->SetBounds(150, 100, 100, 21);
    DD->SetLabelMargin(4);
    DD->SetLabelCaption(QStringLiteral("Name"));
    TLabel* l = DD->EditLabel();
    ASSERT_NE(l, nullptr);
    EXPECT_EQ(l->Parent(), Form);
    EXPECT_EQ(l->FocusControl(), DD);
    const int w = l->Width(), h = l->Height();
    const int T = 100, L = 150, H = 21, W = 100, m = 4;
    const int cy = T + (H - h) / 2, cx = L + (W - w) / 2;
    const struct {
        TLabelPosition Position;
        int Left, Top;
    } cases[] = {
        {lpLeftTop, L - w - m, T},
        {lpLeftCenter, L - w - m, cy},
        {lpLeftBottom, L - w - m, T + H - h},
        {lpTopLeft, L, T - h - m},
        {lpBottomLeft, L, T + H + m},
        {lpLeftTopLeft, L - m, T},
        {lpLeftCenterLeft, L - m, cy},
        {lpLeftBottomLeft, L - m, T + H - h},
        {lpTopCenter, cx, T - h - m},
        {lpBottomCenter, cx, T + H + m},
        {lpRightTop, L + W + m, T},
        {lpRightCenter, L + W + m, cy},
        {lpRighBottom, L + W + m, T + H - h},
        {lpTopRight, L + W - w, T - h - m},
        {lpBottomRight, L + W - w, T + H + m},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(int(c.Position));
        DD->SetLabelPosition(c.Position);
        EXPECT_EQ(l->Left(), c.Left);
        EXPECT_EQ(l->Top(), c.Top);
    }
    int clicks = 0;
    DD->OnLabelClick = [&](TObject* S) {
        EXPECT_EQ(S, DD);
        ++clicks;
    };
    SimulateClick(l, 2, 2);
    EXPECT_EQ(clicks, 1);
    // The label follows the edit.
    DD->SetLabelPosition(lpLeftTop);
    DD->SetBounds(160, 110, 100, 21);
    EXPECT_EQ(l->Left(), 160 - w - m);
    DD->SetVisible(false);
    EXPECT_FALSE(l->Visible());
}

TEST_F(DropDown, TheValueStandsBetweenPrefixAndSuffix) {
    DD->SetPrefix(QStringLiteral("$ "));
    DD->SetSuffix(QStringLiteral(" kg"));
    DD->SetText(QStringLiteral("12"));
    EXPECT_EQ(DD->EditText(), QStringLiteral("$ 12 kg"));
    EXPECT_EQ(DD->Text(), QStringLiteral("12"));
    // The prefix comes off only where the text starts with it; the suffix's length always.
    DD->SetEditText(QStringLiteral("12 kg"));
    EXPECT_EQ(DD->Text(), QStringLiteral("12"));
    DD->SetEditText(QStringLiteral("$ 12xyz"));
    EXPECT_EQ(DD->Text(), QStringLiteral("12"));
    DD->SetEditText(QStringLiteral("ab"));
    EXPECT_EQ(DD->Text(), QString());
}

TEST_F(DropDown, EachChangingWriteNotifiesOnceAndLeavesTheCaretAtTheStart) {
    int changes = 0;
    DD->OnChange = [&](TObject*) { ++changes; };
    DD->SetText(QStringLiteral("abc"));
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(DD->SelStart(), 0);
    EXPECT_EQ(DD->SelLength(), 0);
    DD->SetText(QStringLiteral("abc"));
    EXPECT_EQ(changes, 1);
    SimulateText(DD, QStringLiteral("x"));
    EXPECT_EQ(changes, 2);
    DD->SetText(QStringLiteral("abcd"));
    EXPECT_EQ(changes, 3);
    EXPECT_EQ(DD->SelStart(), 0);
    EXPECT_EQ(DD->SelLength(), 0);
}

TEST_F(DropDown, StoredStylesAreReadWithoutColouring) {
    DD->ReadStoredStyles(int(scWindowsVista), int(tsWindows7));
    EXPECT_EQ(DD->StoredSelectionColorStyle(), int(scWindowsVista));
    EXPECT_EQ(DD->StoredKitStyle(), int(tsWindows7));
    EXPECT_EQ(DD->SelectionColor(), TColor(0xD7FFFD)); // still the colours of scOffice2007
}

TEST_F(DropDown, SelectionStylesSetTheirColoursAndCustomKeepsThem) {
    const struct {
        TSelectionColorStyle Style;
        TColor Color, ColorTo;
    } cases[] = {
        {scWindowsVista, TColor(0xFDF8F1), TColor(0xFCEFD5)},
        {scWindows7, TColor(0xFCEBDC), TColor(0xFCDBC1)},
        {scCustom, TColor(0xFCEBDC), TColor(0xFCDBC1)},
        {scOffice2007, TColor(0xD7FFFD), TColor(0x58D4FC)},
    };
    for (const auto& c : cases) {
        DD->SetSelectionColorStyle(c.Style);
        EXPECT_EQ(DD->SelectionColor(), c.Color);
        EXPECT_EQ(DD->SelectionColorTo(), c.ColorTo);
    }
}

TEST_F(DropDown, WantSpecialKeyNeedsAParentForm) {
    auto* alone = new TTestDropDown(nullptr);
    auto freeAlone = FreeAtEnd(alone);
    alone->SetText(QStringLiteral("abc"));
    EXPECT_EQ(alone->Perform(CM_WANTSPECIALKEY, VK_ESCAPE, 0), 0);
    EXPECT_EQ(alone->SelLength(), 0);
    // On a form, Escape with CanUndo selects the value; while the popup is open the edit claims it.
    DD->SetText(QStringLiteral("abc"));
    DD->Perform(CM_WANTSPECIALKEY, VK_ESCAPE, 0);
    EXPECT_EQ(DD->SelLength(), 3);
    Form->SetKeyPreview(true);
    DD->ShowDropDown();
    EXPECT_EQ(DD->Perform(CM_WANTSPECIALKEY, VK_ESCAPE, 0), 1);
}

TEST_F(DropDown, RemovedComponentsAreForgotten) {
    auto* images = new TImageList(Form);
    DD->SetImages(images);
    auto* focus = new TEdit(Form);
    DD->SetFocusControl(focus);
    TObject::Free(images);
    TObject::Free(focus);
    EXPECT_EQ(DD->Images(), nullptr);
    EXPECT_EQ(DD->FocusControl(), nullptr);
    TPanel* panel = DD->Panel();
    TObject::Free(panel);
    EXPECT_EQ(DD->Control(), nullptr);
    DD->ShowDropDown();
    EXPECT_TRUE(Open());
}

// ---- Component styles ----

TEST_F(DropDown, ComponentStylesWriteThePopupStripAndButtonColours) {
    const struct {
        TKitStyle Style;
        TColor Color, ColorTo, Border; // the popup's
        TColor HeaderColor, HeaderColorTo, HeaderFont, HeaderBorder;
        TColor FooterColor, FooterColorTo;
        TColor ButtonColor, ButtonChecked, ButtonCheckedBorder;
    } cases[] = {
        // tsOffice2003Blue leaves the popup border as it was (black after construction).
        {tsOffice2003Blue, 0xFFFFFF, clNone, clBlack, 0xFCE1CB, 0xE0A57D, 0x000000, 0x000000, 0xFCE1CB,
         0xE0A57D, 0xFCE1CB, 0x76AFF1, 0x45667B},
        {tsOffice2007Luna, 0xF3E5DA, 0xF0DED0, clNone, 0xFFEFE3, 0xFFD2AF, 0x723708, 0xFFD2AF, 0xFFEFE3,
         0xFFD2AF, 0xFFEFE3, 0x76AFF1, 0x45667B},
        // tsWindowsVista: the footer's gradient runs the other way; the checked border is the
        // style's down border (the table's value for it is no colour).
        {tsWindowsVista, 0xFFFFFF, 0xFFFFFF, 0x979797, 0xFFFDF9, 0xFFFAF0, 0x000000, 0xFCF2DA, 0xFFFAF0,
         0xFFFDF9, 0xFFFDF9, 0xFEF9F0, 0xFEDF9A},
        {tsOffice2010Black, 0xFFFFFF, 0xF1EFED, 0xEDEDEC, 0xBFBFBF, 0x919191, 0xD7D7D6, 0x6D6D6D, 0xBFBFBF,
         0x919191, 0xBFBFBF, 0x45E1FE, 0x4FA0CE},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(int(c.Style));
        auto* d = new TTestDropDown(nullptr);
        auto freeD = FreeAtEnd(d);
        d->SetDropDownBorderColor(clBlack);
        d->SetComponentStyle(c.Style);
        EXPECT_EQ(d->GetComponentStyle(), c.Style);
        EXPECT_EQ(d->DropDownColor(), c.Color);
        EXPECT_EQ(d->DropDownColorTo(), c.ColorTo);
        EXPECT_EQ(d->DropDownBorderColor(), c.Border);
        EXPECT_EQ(d->DropDownHeader()->Color(), c.HeaderColor);
        EXPECT_EQ(d->DropDownHeader()->ColorTo(), c.HeaderColorTo);
        EXPECT_EQ(d->DropDownHeader()->Font()->Color(), c.HeaderFont);
        EXPECT_EQ(d->DropDownHeader()->BorderColor(), c.HeaderBorder);
        EXPECT_EQ(d->DropDownFooter()->Color(), c.FooterColor);
        EXPECT_EQ(d->DropDownFooter()->ColorTo(), c.FooterColorTo);
        EXPECT_EQ(d->ButtonAppearance()->Color(), c.ButtonColor);
        EXPECT_EQ(d->ButtonAppearance()->ColorChecked(), c.ButtonChecked);
        EXPECT_EQ(d->ButtonAppearance()->BorderColorChecked(), c.ButtonCheckedBorder);
    }
}

TEST_F(DropDown, TsCustomOnlyStoresTheStyle) {
    DD->SetComponentStyle(tsWindows7);
    DD->SetDropDownColor(TColor(0x010203));
    DD->DropDownHeader()->SetColor(TColor(0x040506));
    DD->ButtonAppearance()->SetColor(TColor(0x070809));
    int changes = 0;
    DD->ButtonAppearance()->OnChange = [&](TObject*) { ++changes; };
    DD->SetComponentStyle(tsCustom);
    EXPECT_EQ(DD->GetComponentStyle(), tsCustom);
    EXPECT_EQ(DD->DropDownColor(), TColor(0x010203));
    EXPECT_EQ(DD->DropDownHeader()->Color(), TColor(0x040506));
    EXPECT_EQ(DD->ButtonAppearance()->Color(), TColor(0x070809));
    EXPECT_EQ(changes, 0);
}

TEST_F(DropDown, ColorTonesColourTheDropButtonAndTheBorder) {
    TColorTones tones;
    tones.Background.BrushColor = TColor(0x111111);
    tones.Background.BorderColor = TColor(0x222222);
    tones.Hover.BrushColor = TColor(0x333333);
    tones.Selected.BrushColor = TColor(0x444444);
    DD->SetColorTones(tones);
    EXPECT_EQ(DD->Button()->ButtonColor, TColor(0x111111));
    EXPECT_EQ(DD->Button()->ButtonColorHot, TColor(0x333333));
    EXPECT_EQ(DD->Button()->ButtonColorDown, TColor(0x444444));
    EXPECT_EQ(DD->Button()->ButtonBorderColor, TColor(0x222222));
    EXPECT_EQ(DD->BorderColor(), TColor(0x222222));
}

// ---- Header and footer of the popup ----

TEST_F(DropDown, ThePopupMakesItsStripsOnceAndAnExistingHeaderKeepsItsHeight) {
    bool drawn = false;
    DD->OnDrawHeader = [&](TObject*, TCanvas*, TRect) { drawn = true; };
    DD->ShowDropDown();
    ASSERT_NE(Popup()->Header(), nullptr);
    ASSERT_NE(Popup()->Footer(), nullptr);
    EXPECT_EQ(Popup()->Header()->Align(), alTop);
    EXPECT_EQ(Popup()->Footer()->Align(), alBottom);
    EXPECT_EQ(Popup()->Header()->Height(), 22);
    // Frame, header, footer and the panel.
    EXPECT_EQ(Popup()->Height(), 2 + 22 + 22 + 100);
    EXPECT_TRUE(Assigned(Popup()->Header()->OnDrawBackGround));
    Popup()->Header()->OnDrawBackGround(Popup()->Header(), nullptr, TRect());
    EXPECT_TRUE(drawn);
    DD->HideDropDown(false);

    TAdvHeader* header = Popup()->Header();
    DD->DropDownHeader()->SetHeight(40);
    DD->ShowDropDown();
    EXPECT_EQ(Popup()->Header(), header);
    EXPECT_EQ(header->Height(), 22);
    // Hiding the footer while the popup is open reaches the popup at once.
    DD->DropDownFooter()->SetVisible(false);
    EXPECT_FALSE(Popup()->Footer()->Visible());
}

TEST_F(DropDown, APopupWithoutStripsMakesNone) {
    DD->DropDownHeader()->SetVisible(false);
    DD->DropDownFooter()->SetVisible(false);
    DD->ShowDropDown();
    EXPECT_EQ(Popup()->Header(), nullptr);
    EXPECT_EQ(Popup()->Footer(), nullptr);
    EXPECT_EQ(Popup()->Height(), 2 + 100);
    EXPECT_EQ(DD->Panel()->Top(), 1);
}

TEST_F(DropDown, ThePopupBackgroundIsAGradientInsideTheFrame) {
    DD->SetDropDownColor(TColor(0x0000FF));
    DD->SetDropDownColorTo(TColor(0xFF0000));
    DD->SetDropDownBorderColor(TColor(0x00FF00));
    DD->DropDownHeader()->SetVisible(false);
    DD->DropDownFooter()->SetVisible(false);
    TPanel* panel = DD->Panel();
    TObject::Free(panel);
    DD->SetDropDownWidth(160);
    DD->SetDropDownHeight(60);
    DD->ShowDropDown();
    const QImage img = Popup()->GrabImage();
    ASSERT_EQ(img.width(), 160);
    EXPECT_EQ(img.pixelColor(0, 30), QColor(0, 255, 0));
    const QColor left = img.pixelColor(2, 30), right = img.pixelColor(156, 30);
    EXPECT_GT(left.red(), 240);
    EXPECT_LT(left.blue(), 15);
    EXPECT_GT(right.blue(), 230);
    EXPECT_LT(right.red(), 25);
    // Horizontal: one column is one colour.
    EXPECT_EQ(img.pixelColor(80, 5), img.pixelColor(80, 50));
}

// ---- On pixels ----

QImage ButtonImage(TDropDownEditButton* Host) {
    return Host->GrabImage();
}

TEST_F(DropDown, TheClassicArrowAndTheColouredButton) {
    PlatformSwitches().VisualStylesActive = false;
    DD->Button()->Button()->Invalidate();
    QImage img = ButtonImage(DD->Button());
    ASSERT_FALSE(img.isNull());
    // The black triangle (5, 7), (11, 7), (8, 10).
    EXPECT_EQ(img.pixelColor(8, 8), QColor(Qt::black));
    EXPECT_EQ(img.pixelColor(6, 7), QColor(Qt::black));
    EXPECT_NE(img.pixelColor(8, 12), QColor(Qt::black));
    // The white inner line.
    EXPECT_EQ(img.pixelColor(1, 5), QColor(Qt::white));

    DD->Button()->ButtonColor = TColor(0x0000FF);     // red fill
    DD->Button()->ButtonTextColor = TColor(0x00FF00); // green arrow
    DD->SetBorderColor(TColor(0xFF0000));             // blue left line
    img = ButtonImage(DD->Button());
    EXPECT_EQ(img.pixelColor(3, 3), QColor(255, 0, 0));
    EXPECT_EQ(img.pixelColor(8, 8), QColor(0, 255, 0));
    EXPECT_EQ(img.pixelColor(0, 5), QColor(0, 0, 255));
}

TEST_F(DropDown, ThePopupFrameHasTheBorderWidth) {
    DD->SetDropDownBorderWidth(3);
    DD->SetDropDownBorderColor(TColor(0x0000FF));
    DD->SetDropDownColor(TColor(0x00FF00));
    DD->SetDropDownColorTo(clNone);
    DD->SetDropDownWidth(120);
    DD->SetDropDownHeight(90);
    DD->DropDownHeader()->SetVisible(false);
    DD->DropDownFooter()->SetVisible(false);
    TPanel* panel = DD->Panel();
    TObject::Free(panel);
    DD->ShowDropDown();
    ASSERT_TRUE(Open());
    const QImage img = Popup()->GrabImage();
    ASSERT_EQ(img.width(), 120);
    const QColor red(255, 0, 0), green(0, 255, 0);
    // The pen of width 3 is centred on a rectangle whose left and top moved in by 1: three
    // pixels of frame at left and top, two at right and bottom (the outer half falls outside),
    // and there one pixel between frame and fill keeps the window's colour.
    EXPECT_EQ(img.pixelColor(0, 45), red);
    EXPECT_EQ(img.pixelColor(2, 45), red);
    EXPECT_EQ(img.pixelColor(3, 45), green);
    EXPECT_EQ(img.pixelColor(60, 2), red);
    EXPECT_EQ(img.pixelColor(60, 3), green);
    EXPECT_EQ(img.pixelColor(119, 45), red);
    EXPECT_EQ(img.pixelColor(118, 45), red);
    EXPECT_EQ(img.pixelColor(117, 45), QColor(0xF0, 0xF0, 0xF0));
    EXPECT_EQ(img.pixelColor(116, 45), green);
    EXPECT_EQ(img.pixelColor(60, 89), red);
    EXPECT_EQ(img.pixelColor(60, 88), red);
    EXPECT_EQ(img.pixelColor(60, 86), green);
}

} // namespace
