// The time-picker drop-down on a real form, the clock's ticks driven by hand: a new control's
// text and mask, ShowSeconds switching the form, Up and Down stepping the field under the caret,
// a click on the clock reaching the edit and Enter keeping it, Esc after changes showing Time,
// typed texts (complete with and without seconds, out of range, blank), the parts' setters, the
// panel with the platform time picker, the popup's key filter and the text helpers.
#include "AdvTimePickerDropDown.h"

#include "ComCtrls.h"
#include "DropDownTestSupport.h"
#include "ExtPanels.h"
#include "Forms.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

namespace {

TDateTime At(int H, int M, int S = 0) {
    return EncodeTime(Word(H), Word(M), Word(S), 0);
}

// A time text with the locale's separator in place of each ":".
String Local(const char* Text) {
    String t = QString::fromLatin1(Text);
    t.replace(u':', FormatSettings.TimeSeparator);
    return t;
}

// Remembers the panel's size as the drop-down leaves it, before the popup lays it out.
class TProbedTimePicker : public TAdvTimePickerDropDown {
public:
    using TAdvTimePickerDropDown::TAdvTimePickerDropDown;
    int PanelWidth = 0, PanelHeight = 0;

protected:
    void DoBeforeDropDown() override {
        TAdvTimePickerDropDown::DoBeforeDropDown();
        PanelWidth = Panel()->Width();
        PanelHeight = Panel()->Height();
    }
};

class TimePicker : public DropDownFormTest {
protected:
    void SetUp() override {
        DropDownFormTest::SetUp();
        SetWatchTicksByHand(true);
        SetWatchPause([](int) {});
        TP = new TProbedTimePicker(Form);
        TP->SetParent(Form);
        TP->SetBounds(20, 30, 120, 21);
        TP->OnTimeChange = [this](TObject*) { ++TimeChanges; };
    }
    void TearDown() override {
        DropDownFormTest::TearDown();
        SetWatchTicksByHand(false);
        SetWatchPause(nullptr);
    }
    void Animate() {
        TTimer* timer = TP->Watch()->AnimationTimer();
        for (int i = 0; i < 100 && timer->Enabled(); ++i) timer->OnTimer(timer);
    }
    // Types Text into the edit from the caret at Start, one character at a time.
    void Type(int Start, const String& Text) {
        TP->SetFocus();
        TP->SetSelStart(Start);
        TP->SetSelLength(0);
        SimulateText(TP, Text);
    }

    TProbedTimePicker* TP = nullptr;
    int TimeChanges = 0;
};

TEST_F(TimePicker, ANewControlShowsMidnightInTheMask) {
    EXPECT_EQ(TP->EditText(), Local("00:00:00"));
    EXPECT_EQ(TP->Time(), 0.0);
    EXPECT_EQ(TP->EditMask(), Local("!90:00:00;1; "));
    EXPECT_FALSE(TP->EditorEnabled());
    EXPECT_TRUE(TP->DropDownEnabled());
    EXPECT_FALSE(TP->DropDownHeader()->Visible());
    EXPECT_FALSE(TP->DropDownFooter()->Visible());
    ASSERT_NE(TP->Watch(), nullptr);
    EXPECT_EQ(TP->Control(), TP->Panel());
    EXPECT_EQ(TP->TimePicker(), nullptr);
}

TEST_F(TimePicker, ShowSecondsSwitchesTextAndMask) {
    TP->SetTime(At(13, 45, 10));
    EXPECT_EQ(TP->EditText(), Local("13:45:10"));
    EXPECT_EQ(TimeChanges, 0); // a written time is not the user's change
    TP->SetShowSeconds(false);
    EXPECT_EQ(TP->EditText(), Local("13:45"));
    EXPECT_EQ(TP->EditMask(), Local("!90:00;1; "));
    EXPECT_EQ(TP->Time(), At(13, 45, 10));
    TP->SetShowSeconds(true);
    EXPECT_EQ(TP->EditText(), Local("13:45:10"));
    EXPECT_EQ(TP->EditMask(), Local("!90:00:00;1; "));
}

TEST_F(TimePicker, UpAndDownStepTheFieldUnderTheCaret) {
    struct TCase {
        const char* Name;
        int Caret;
        Word Key;
        const char* From;
        const char* To;
    } cases[] = {
        {"minutes up", 4, VK_UP, "00:00:00", "00:59:00"},
        {"minutes down", 4, VK_DOWN, "00:59:00", "00:00:00"},
        {"hours up", 0, VK_UP, "00:10:00", "23:10:00"},
        {"hours down", 1, VK_DOWN, "23:10:00", "00:10:00"},
        {"seconds up", 7, VK_UP, "05:10:00", "05:10:59"},
        {"seconds down", 6, VK_DOWN, "05:10:59", "05:10:00"},
        {"before the colon", 2, VK_DOWN, "05:10:00", "06:10:00"},
    };
    TP->SetEditorEnabled(true);
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        TDateTime from = 0;
        ASSERT_TRUE(TryStrToTime(Local(c.From), from));
        TP->SetTime(from);
        TimeChanges = 0;
        TP->SetFocus();
        TP->SetSelStart(c.Caret);
        TP->SetSelLength(0);
        SimulateKey(TP, c.Key);
        EXPECT_EQ(TP->EditText(), Local(c.To));
        EXPECT_EQ(TP->SelStart(), c.Caret);
        EXPECT_EQ(TimeChanges, 1);
    }
    // Without seconds the field after the second colon does not exist: the minutes step.
    TP->SetShowSeconds(false);
    TP->SetTime(At(5, 10));
    TP->SetSelStart(4);
    SimulateKey(TP, VK_UP);
    EXPECT_EQ(TP->EditText(), Local("05:09"));
    // With Ctrl nothing steps.
    SimulateKey(TP, VK_UP, {ssCtrl});
    EXPECT_EQ(TP->EditText(), Local("05:09"));
}

TEST_F(TimePicker, AClickOnTheClockReachesTheEditAndEnterKeepsIt) {
    TP->ShowDropDown();
    ASSERT_TRUE(TP->DroppedDown());
    TAdvWatch* w = TP->Watch();
    EXPECT_EQ(TP->PanelWidth, 170);
    EXPECT_EQ(TP->PanelHeight, 170);
    EXPECT_FALSE(TP->DropDownForm()->CancelOnDeActivate());
    const TRect face = w->GetWatchRect();
    const int cx = face.Left + face.Width() / 2, cy = face.Top + face.Height() / 2;
    SimulateClick(w, cx + face.Width() / 3, cy); // inside, at 3 o'clock
    EXPECT_TRUE(w->AnimationTimer()->Enabled());
    EXPECT_EQ(TP->EditText(), Local("00:00:00")); // the hand is on its way
    Animate();
    EXPECT_EQ(TP->EditText(), Local("03:00:00"));
    EXPECT_EQ(TP->Time(), At(3, 0));
    EXPECT_EQ(TimeChanges, 1);
    SimulateKey(nullptr, VK_RETURN);
    EXPECT_FALSE(TP->DroppedDown());
    EXPECT_EQ(TP->EditText(), Local("03:00:00"));
    EXPECT_EQ(TP->Time(), At(3, 0));
}

TEST_F(TimePicker, EscAfterChangesShowsTime) {
    TP->SetTime(At(7, 30));
    TP->ShowDropDown();
    TAdvWatch* w = TP->Watch();
    EXPECT_EQ(w->Time(), At(7, 30));
    // The popup's keys go to the clock: Page Up moves the hour on.
    SimulateKey(nullptr, VK_PRIOR);
    Animate();
    EXPECT_EQ(TP->EditText(), Local("08:30:00"));
    SimulateKey(nullptr, VK_ESCAPE);
    EXPECT_FALSE(TP->DroppedDown());
    // Edit and Time agree (the clock's last time, which the hiding took).
    EXPECT_EQ(TP->Time(), At(8, 30));
    EXPECT_EQ(TP->EditText(), Local("08:30:00"));
    EXPECT_EQ(w->Time(), TP->Time());
}

TEST_F(TimePicker, TypedTimesAreTakenWhenComplete) {
    std::vector<String> errors;
    TExceptionEvent saved = Application->OnException;
    Application->OnException = [&](TObject*, Exception& E) { errors.push_back(E.Message()); };
    struct TCase {
        const char* Name;
        bool Seconds;
        int Caret;
        const char* Typed;
        const char* Time;
        int Errors;
    } cases[] = {
        {"full text with seconds", true, 0, "123456", "12:34:56", 0},
        {"hours only", true, 0, "21", "21:00:00", 0},
        {"an hour of 24", true, 0, "24", "20:00:00", 1},
        {"a minute of 60 and 61", true, 0, "0761", "07:00:00", 2},
        {"a second of 60 and 61", true, 6, "61", "00:00:00", 2},
        {"without seconds", false, 0, "0945", "09:45:00", 0},
    };
    TP->SetEditorEnabled(true);
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        TP->SetShowSeconds(c.Seconds);
        TP->SetTime(1);
        TP->SetTime(0);
        errors.clear();
        Type(c.Caret, QString::fromLatin1(c.Typed));
        EXPECT_EQ(FormatDateTime(QStringLiteral("hh:nn:ss"), TP->Time()), QString::fromLatin1(c.Time));
        EXPECT_EQ(int(errors.size()), c.Errors);
        for (const String& e : errors) EXPECT_EQ(e, QStringLiteral("Invalid argument to time encode"));
    }
    // Blanked fields count as zeros once the text is complete again.
    TP->SetShowSeconds(true);
    TP->SetTime(At(11, 22, 33));
    TP->SetFocus();
    TP->SetSelStart(3);
    TP->SetSelLength(2);
    SimulateKey(TP, VK_DELETE);
    EXPECT_EQ(TP->EditText(), Local("11:  :33"));
    EXPECT_EQ(TP->Time(), At(11, 0, 33));
    Application->OnException = saved;
}

TEST_F(TimePicker, PartsChangeOnlyWithinTheirRanges) {
    TP->SetTime(At(10, 20, 30) + 0.5 / 86400.0);
    struct TCase {
        int Part, Value;
        bool Changes;
    } cases[] = {{0, 24, false}, {0, -1, false}, {0, 10, false}, {0, 23, true},
                 {1, 60, false}, {1, 59, true},  {2, 60, false}, {2, 0, true}};
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Part * 100 + c.Value);
        const int before = TimeChanges;
        if (c.Part == 0) TP->SetHourPart(c.Value);
        if (c.Part == 1) TP->SetMinutePart(c.Value);
        if (c.Part == 2) TP->SetSecondPart(c.Value);
        EXPECT_EQ(TimeChanges - before, c.Changes ? 1 : 0);
    }
    EXPECT_EQ(TP->EditText(), Local("23:59:00"));
    Word h, m, s, ms;
    DecodeTime(TP->Time(), h, m, s, ms);
    EXPECT_EQ(ms, 500); // milliseconds kept
}

TEST_F(TimePicker, ThePanelHoldsThePlatformTimePickerOnRequest) {
    TP->SetShowTimePicker(true);
    TP->SetTime(At(9, 15, 20));
    TP->ShowDropDown();
    TDateTimePicker* picker = TP->TimePicker();
    ASSERT_NE(picker, nullptr);
    EXPECT_EQ(picker->Kind(), dtkTime);
    EXPECT_EQ(picker->Format(), QStringLiteral("HH:mm:ss"));
    EXPECT_TRUE(picker->Visible());
    EXPECT_EQ(TP->PanelHeight, picker->Height() + 170);
    EXPECT_EQ(FormatDateTime(QStringLiteral("hh:nn:ss"), picker->Time()), QStringLiteral("09:15:20"));
    // The clock's changes reach the picker.
    TP->Watch()->SetAnimation(false);
    TP->Watch()->HandleKey(VK_PRIOR);
    EXPECT_EQ(FormatDateTime(QStringLiteral("hh:nn:ss"), picker->Time()), QStringLiteral("10:15:20"));
    EXPECT_EQ(TP->Time(), At(10, 15, 20));
    TP->HideDropDown(false);

    TP->SetShowSeconds(false);
    TP->ShowDropDown();
    EXPECT_EQ(picker->Format(), QStringLiteral("HH:mm"));
    TP->HideDropDown(false);

    TP->SetShowTimePicker(false);
    TP->ShowDropDown();
    EXPECT_FALSE(picker->Visible());
    TP->HideDropDown(false);
}

TEST_F(TimePicker, TheClockTakesTheDropDownsOptionsAtEachDropDown) {
    TP->SetAnimation(false);
    TP->SetAnimationFactor(3);
    TP->SetShowWatchAMPM(false);
    TP->SetShowWatchNumbers(false);
    TP->WatchAppearance()->SetHourPointer(clRed);
    TP->SetComponentStyle(tsOffice2010Black);
    TP->ShowDropDown();
    TAdvWatch* w = TP->Watch();
    EXPECT_FALSE(w->Animation());
    EXPECT_EQ(w->AnimationFactor(), 3);
    EXPECT_FALSE(w->ShowAMPM());
    EXPECT_FALSE(w->ShowNumbers());
    EXPECT_EQ(w->Appearance()->HourPointer(), TColor(0x6D6D6D));
    EXPECT_EQ(w->Appearance()->BackgroundColor(), TColor(0xBFBFBF));
    TP->HideDropDown(false);
}

TEST(TimePickerText, TwoDigitsBlanksAndFields) {
    EXPECT_EQ(TAdvTimePickerDropDown::TwoDigits(0), QStringLiteral("00"));
    EXPECT_EQ(TAdvTimePickerDropDown::TwoDigits(7), QStringLiteral("07"));
    EXPECT_EQ(TAdvTimePickerDropDown::TwoDigits(42), QStringLiteral("42"));
    EXPECT_EQ(BlanksToZeros(QStringLiteral(" 1: 2:  ")), QStringLiteral("01:02:00"));
    struct TCase {
        const char* Field;
        bool Valid;
    } cases[] = {{"", true},   {"7", true},    {"07", true}, {"7a", false},
                 {"x", false}, {"123", false}, {"-1", false}};
    for (const TCase& c : cases) EXPECT_EQ(IsTwoDigitField(QString::fromLatin1(c.Field)), c.Valid) << c.Field;
}

} // namespace
