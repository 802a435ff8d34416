// The key pipeline: dialog keys to the form unless the focused control claims them, broadcasts
// to default/cancel buttons, accelerators, the order of key messages, key preview, tab order.
#include "Forms.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// A focusable control that records the key messages it gets and claims keys on request.
class TKeyProbe : public TCustomControl {
public:
    explicit TKeyProbe(TComponent* AOwner) : TCustomControl(AOwner) {
        SetTabStop(true);
        SetBounds(0, 0, 60, 20);
    }

    LRESULT DlgCode = 0;
    bool WantSpecial = false;
    std::vector<UINT> Messages; // CN_KEYDOWN, WM_KEYDOWN, WM_CHAR, WM_KEYUP ... in order
    String Inserted;            // characters the control's default handling of WM_CHAR took
    std::vector<Word> KeyDowns;
    std::vector<TShiftState> Shifts;
    std::vector<LPARAM> KeyData;
    int Entered = 0, Exited = 0, FocusChanges = 0;

    void Dispatch(TMessage& Message) override {
        switch (Message.Msg) {
            case CN_KEYDOWN:
            case CN_KEYUP:
            case CN_CHAR:
            case WM_KEYDOWN:
            case WM_KEYUP:
            case WM_CHAR:
            case WM_SYSKEYDOWN:
            case WM_SYSCHAR:
                Messages.push_back(Message.Msg);
                if (Message.Msg == WM_KEYDOWN) KeyData.push_back(Message.LParam);
                break;
            case CM_FOCUSCHANGED: ++FocusChanges; break;
            case WM_GETDLGCODE: Message.Result = DlgCode; return;
            case CM_WANTSPECIALKEY: Message.Result = WantSpecial ? 1 : 0; return;
            default: break;
        }
        TCustomControl::Dispatch(Message);
    }
    void DefaultHandler(TMessage& Message) override {
        // A standard edit inserts the character only here, after KeyPress had its say.
        if (Message.Msg == WM_CHAR && Message.WParam >= 32) Inserted += QChar(char16_t(Message.WParam));
        TCustomControl::DefaultHandler(Message);
    }
    size_t Count(UINT Msg) const { return size_t(std::count(Messages.begin(), Messages.end(), Msg)); }

protected:
    void KeyDown(Word& Key, TShiftState Shift) override {
        KeyDowns.push_back(Key);
        Shifts.push_back(Shift);
        TCustomControl::KeyDown(Key, Shift);
    }
    void DoEnter() override {
        ++Entered;
        TCustomControl::DoEnter();
    }
    void DoExit() override {
        ++Exited;
        TCustomControl::DoExit();
    }
};

// A button-like control: takes Enter when Default, Esc when Cancel, and its caption's accelerator.
class TDialogButton : public TCustomControl {
public:
    explicit TDialogButton(TComponent* AOwner) : TCustomControl(AOwner) {
        SetTabStop(true);
        SetBounds(0, 30, 60, 20);
    }
    bool Default = false;
    bool Cancel = false;
    int Clicks = 0;

    void Dispatch(TMessage& Message) override {
        if (Message.Msg == CM_DIALOGKEY) {
            TCMDialogKey m(Message);
            if ((m.CharCode == VK_RETURN && Default) || (m.CharCode == VK_ESCAPE && Cancel)) {
                ++Clicks;
                m.Result = 1;
                return;
            }
        } else if (Message.Msg == CM_DIALOGCHAR) {
            TCMDialogChar m(Message);
            if (IsAccel(m.CharCode, Caption())) {
                ++Clicks;
                m.Result = 1;
                return;
            }
        }
        TCustomControl::Dispatch(Message);
    }
};

class KeyboardTest : public ::testing::Test {
protected:
    void SetUp() override {
        Form = new TForm(nullptr);
        Probe = new TKeyProbe(Form);
        Probe->SetParent(Form);
        Ok = new TDialogButton(Form);
        Ok->SetParent(Form);
        Ok->SetCaption(QStringLiteral("&OK"));
        Ok->Default = true;
        CancelBtn = new TDialogButton(Form);
        CancelBtn->SetParent(Form);
        CancelBtn->SetCaption(QStringLiteral("&Cancel"));
        CancelBtn->Cancel = true;
        Form->Show();
        Probe->SetFocus();
    }
    void TearDown() override { TObject::Free(Form); }

    TForm* Form = nullptr;
    TKeyProbe* Probe = nullptr;
    TDialogButton* Ok = nullptr;
    TDialogButton* CancelBtn = nullptr;
};

TEST_F(KeyboardTest, DialogKeysGoToTheFormUnlessTheFocusedControlClaimsThem) {
    struct Case {
        const char* Name;
        Word Key;
        TShiftState Shift;
        LRESULT DlgCode;
        bool WantSpecial;
        int OkClicks, CancelClicks;
        bool ReachesControl; // WM_KEYDOWN and the character reach the focused control
    };
    const Case cases[] = {
        {"Enter goes to the default button", VK_RETURN, {}, 0, false, 1, 0, false},
        {"Esc goes to the cancel button", VK_ESCAPE, {}, 0, false, 0, 1, false},
        {"Enter wanted through the dialog code", VK_RETURN, {}, DLGC_WANTALLKEYS, false, 0, 0, true},
        {"Esc wanted through the dialog code", VK_ESCAPE, {}, DLGC_WANTALLKEYS, false, 0, 0, true},
        {"Enter wanted as a special key", VK_RETURN, {}, 0, true, 0, 0, true},
        {"arrows code does not claim Enter", VK_RETURN, {}, DLGC_WANTARROWS, false, 1, 0, false},
        {"chars code does not claim Esc", VK_ESCAPE, {}, DLGC_WANTCHARS, false, 0, 1, false},
        {"Tab wanted", VK_TAB, {}, DLGC_WANTTAB, false, 0, 0, true},
        {"arrow wanted", VK_LEFT, {}, DLGC_WANTARROWS, false, 0, 0, true},
        {"a letter is no dialog key", 'A', {}, 0, false, 0, 0, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        Probe->DlgCode = c.DlgCode;
        Probe->WantSpecial = c.WantSpecial;
        Probe->Messages.clear();
        Probe->Inserted.clear();
        Ok->Clicks = CancelBtn->Clicks = 0;
        SimulateKey(Probe, c.Key, c.Shift);
        EXPECT_EQ(Ok->Clicks, c.OkClicks);
        EXPECT_EQ(CancelBtn->Clicks, c.CancelClicks);
        EXPECT_EQ(Probe->Count(CN_KEYDOWN), 1u);
        EXPECT_EQ(Probe->Count(WM_KEYDOWN), c.ReachesControl ? 1u : 0u);
        // The arrows type no character.
        bool types = c.ReachesControl && c.Key != VK_LEFT;
        EXPECT_EQ(Probe->Count(WM_CHAR), types ? 1u : 0u);
        // The release always arrives: CN_KEYUP, then WM_KEYUP.
        EXPECT_EQ(Probe->Count(CN_KEYUP), 1u);
        EXPECT_EQ(Probe->Count(WM_KEYUP), 1u);
        EXPECT_TRUE(Probe->Focused());
    }
}

TEST_F(KeyboardTest, MessagesArriveInThePlatformsOrder) {
    Probe->DlgCode = DLGC_WANTCHARS;
    SimulateKey(Probe, 'X', {ssShift});
    std::vector<UINT> expected = {CN_KEYDOWN, WM_KEYDOWN, CN_CHAR, WM_CHAR, CN_KEYUP, WM_KEYUP};
    EXPECT_EQ(Probe->Messages, expected);
    EXPECT_EQ(Probe->Inserted, QStringLiteral("X"));
    ASSERT_EQ(Probe->KeyDowns.size(), 1u);
    EXPECT_EQ(Probe->KeyDowns[0], Word('X'));
    EXPECT_EQ(Probe->Shifts[0], TShiftState({ssShift}));
}

TEST_F(KeyboardTest, AnEnterNobodyTakesReachesTheFocusedControl) {
    Ok->Default = false;
    SimulateKey(Probe, VK_RETURN);
    EXPECT_EQ(Probe->Count(WM_KEYDOWN), 1u);
    ASSERT_EQ(Probe->KeyDowns.size(), 1u);
    EXPECT_EQ(Probe->KeyDowns[0], VK_RETURN);
}

TEST_F(KeyboardTest, KeyPressCanChangeOrDropTheCharacterBeforeTheDefaultHandling) {
    Probe->DlgCode = DLGC_WANTCHARS;
    Probe->OnKeyPress = [](TObject*, Char& Key) {
        if (Key == u'a') Key = u'b';
        if (Key == u'x') Key = Char(0);
    };
    SimulateText(Probe, QStringLiteral("axc"));
    EXPECT_EQ(Probe->Inserted, QStringLiteral("bc"));
}

TEST_F(KeyboardTest, ClearingTheKeyInKeyDownKeepsTheCharacter) {
    // As on the platform, the character is already on its way when OnKeyDown runs.
    Probe->DlgCode = DLGC_WANTCHARS;
    Probe->OnKeyDown = [](TObject*, Word& Key, TShiftState) { Key = 0; };
    SimulateKey(Probe, 'Q');
    EXPECT_EQ(Probe->Inserted, QStringLiteral("q"));
}

TEST_F(KeyboardTest, AcceleratorsThroughDialogChar) {
    // A control that does not want characters lets a typed letter press a caption's accelerator.
    SimulateKey(Probe, 'O');
    EXPECT_EQ(Ok->Clicks, 1);
    EXPECT_EQ(Probe->Count(WM_CHAR), 0u);
    // A control that wants characters keeps the letter...
    Probe->DlgCode = DLGC_WANTCHARS;
    SimulateKey(Probe, 'O');
    EXPECT_EQ(Ok->Clicks, 1);
    EXPECT_EQ(Probe->Inserted, QStringLiteral("o"));
    // ...but Alt+letter always goes to the accelerators.
    SimulateKey(Probe, 'C', {ssAlt});
    EXPECT_EQ(CancelBtn->Clicks, 1);
    EXPECT_EQ(Probe->Inserted, QStringLiteral("o"));
    // A letter no caption has passes on.
    Probe->DlgCode = 0;
    SimulateKey(Probe, 'Z');
    EXPECT_EQ(Probe->Count(WM_CHAR), 2u);
}

TEST_F(KeyboardTest, KeyPreviewLetsTheFormSeeKeysFirst) {
    std::vector<Word> formKeys;
    Form->SetKeyPreview(true);
    Form->OnKeyDown = [&](TObject*, Word& Key, TShiftState) {
        formKeys.push_back(Key);
        if (Key == VK_F2) Key = 0;
    };
    SimulateKey(Probe, VK_F2);
    SimulateKey(Probe, VK_F3);
    EXPECT_EQ(formKeys, std::vector<Word>({VK_F2, VK_F3}));
    EXPECT_EQ(Probe->KeyDowns, std::vector<Word>({VK_F3}));
}

TEST_F(KeyboardTest, KeyDataCarriesScanCodesAndFlags) {
    Probe->DlgCode = DLGC_WANTCHARS | DLGC_WANTARROWS;
    SimulateKey(Probe, VK_DECIMAL);
    SimulateKey(Probe, VK_OEM_PERIOD);
    SimulateKey(Probe, VK_LEFT);
    ASSERT_EQ(Probe->KeyData.size(), 3u);
    // Bit 22 tells the keypad's decimal key from the main period key.
    EXPECT_TRUE(Probe->KeyData[0] & (1 << 22));
    EXPECT_FALSE(Probe->KeyData[1] & (1 << 22));
    EXPECT_EQ(Probe->KeyData[0] & 0xFFFF, 1);
    // The arrows are extended keys.
    EXPECT_TRUE(Probe->KeyData[2] & KF_EXTENDED);
    EXPECT_EQ(Probe->Inserted, QStringLiteral(".."));
}

TEST_F(KeyboardTest, AltKeysAreSystemKeys) {
    Probe->Messages.clear();
    SimulateKey(Probe, 'Q', {ssAlt});
    EXPECT_EQ(Probe->Count(WM_SYSKEYDOWN), 1u);
    EXPECT_EQ(Probe->Count(WM_KEYDOWN), 0u);
    EXPECT_EQ(Probe->Count(WM_SYSCHAR), 1u);
    ASSERT_EQ(Probe->Shifts.size(), 1u);
    EXPECT_EQ(Probe->Shifts[0], TShiftState({ssAlt}));
}

// ---------------------------------------------------------------------------------------------
// Tab order

class TabOrderTest : public ::testing::Test {
protected:
    // Builds a form whose controls are created in one order and given the reverse tab order
    // while the form loads, as a form built in code does.
    void SetUp() override {
        Form = new TForm(nullptr);
        Form->BeginLoading();
        for (int i = 0; i < 4; ++i) {
            auto* p = new TKeyProbe(Form);
            p->SetParent(Form);
            p->SetBounds(0, i * 25, 60, 20);
            p->SetTabOrder(3 - i);
            Probes.push_back(p);
        }
        Form->EndLoading();
        Form->Show();
    }
    void TearDown() override { TObject::Free(Form); }

    TForm* Form = nullptr;
    std::vector<TKeyProbe*> Probes;
};

TEST_F(TabOrderTest, TabOrdersGivenWhileLoadingArePutInPlace) {
    for (int i = 0; i < 4; ++i) EXPECT_EQ(Probes[size_t(i)]->TabOrder(), 3 - i);
    // The form focuses the first control in tab order when it becomes active.
    EXPECT_EQ(Form->ActiveControl(), Probes[3]);
    EXPECT_TRUE(Probes[3]->Focused());
}

TEST_F(TabOrderTest, TabAndShiftTabWalkTheTabOrderAndSkipWhatCannotTakeTheFocus) {
    Probes[1]->SetTabStop(false);
    Probes[0]->SetEnabled(false);
    std::vector<TWinControl*> seen;
    for (int i = 0; i < 4; ++i) {
        SimulateKey(nullptr, VK_TAB);
        seen.push_back(Form->ActiveControl());
    }
    // 3 -> 2 -> (1 no tab stop, 0 disabled) -> wraps to 3 -> 2
    EXPECT_EQ(seen, std::vector<TWinControl*>({Probes[2], Probes[3], Probes[2], Probes[3]}));
    SimulateKey(nullptr, VK_TAB, {ssShift});
    EXPECT_EQ(Form->ActiveControl(), Probes[2]);
    // No control saw the Tab itself.
    for (TKeyProbe* p : Probes) EXPECT_EQ(p->Count(WM_KEYDOWN), 0u);
}

TEST_F(TabOrderTest, EnterAndExitFollowTheFocusAndEveryControlHearsOfIt) {
    for (TKeyProbe* p : Probes) p->FocusChanges = 0;
    SimulateKey(nullptr, VK_TAB);
    EXPECT_EQ(Probes[3]->Exited, 1);
    EXPECT_EQ(Probes[2]->Entered, 1);
    for (TKeyProbe* p : Probes) EXPECT_EQ(p->FocusChanges, 1);
}

TEST_F(TabOrderTest, ArrowsMoveAmongSiblingsIgnoringTabStops) {
    Probes[2]->SetTabStop(false);
    SimulateKey(nullptr, VK_DOWN);
    EXPECT_EQ(Form->ActiveControl(), Probes[2]);
    SimulateKey(nullptr, VK_UP);
    EXPECT_EQ(Form->ActiveControl(), Probes[3]);
}

TEST_F(TabOrderTest, SettingATabOrderRenumbersTheSiblings) {
    struct Case {
        int Control, NewOrder;
        std::vector<int> Expected; // tab order of Probes[0..3] afterwards
    };
    const Case cases[] = {
        {0, 0, {0, 3, 2, 1}},  // the last moves to the front, the others shift back
        {3, 2, {3, 1, 0, 2}},  // the first moves back, the ones it passes move forward
        {0, 99, {3, 2, 1, 0}}, // too large: the end (where it is)
        {1, -5, {3, 0, 2, 1}}, // negative: the front
    };
    for (const Case& c : cases) {
        for (int i = 0; i < 4; ++i) Probes[size_t(i)]->SetTabOrder(3 - i);
        Probes[size_t(c.Control)]->SetTabOrder(c.NewOrder);
        std::vector<int> got;
        for (TKeyProbe* p : Probes) got.push_back(p->TabOrder());
        EXPECT_EQ(got, c.Expected) << "control " << c.Control << " to " << c.NewOrder;
    }
}

} // namespace
