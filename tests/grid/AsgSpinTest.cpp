// The spin edit: limits, reads of text that does not parse, the float separators of two locales,
// the date and time steps by caret position (and the steps that cannot be encoded), the step
// keys, the minus sign, EditorEnabled off, the layout of button and text, and the repeating
// spin button driven tick by tick through its timer.
#include "AsgSpin.h"

#include "Forms.h"
#include "TestSupport.h"

#include <QApplication>
#include <QClipboard>
#include <QImage>
#include <gtest/gtest.h>

namespace {

class SpinEdit : public ::testing::Test {
protected:
    void SetUp() override {
        Saved = FormatSettings;
        FormatSettings.DecimalSeparator = u'.';
        FormatSettings.ThousandSeparator = u',';
        FormatSettings.DateSeparator = u'/';
        FormatSettings.TimeSeparator = u':';
        FormatSettings.ShortDateFormat = QStringLiteral("dd/mm/yyyy");
        FormatSettings.LongTimeFormat = QStringLiteral("hh:nn:ss");
        Form = new TForm(nullptr);
        Form->SetBounds(100, 100, 320, 200);
        Form->Show();
        Other = new TEdit(Form);
        Other->SetParent(Form);
        Other->SetBounds(10, 150, 80, 21);
    }
    void TearDown() override {
        TObject::Free(Form);
        FormatSettings = Saved;
    }

    TAsgSpinEdit* Add(TAsgSpinType Type = sptNormal) {
        auto* e = new TAsgSpinEdit(Form);
        e->SetParent(Form);
        e->SetBounds(10, 10, 120, 24);
        e->SetSpinType(Type);
        return e;
    }
    static void Focus(TWinControl* C) {
        C->SetFocus();
        ASSERT_TRUE(C->Focused());
    }
    static void Caret(TAsgSpinEdit* E, int Pos) {
        E->SetSelStart(Pos);
        E->SetSelLength(0);
    }

    TFormatSettings Saved;
    TForm* Form = nullptr;
    TEdit* Other = nullptr;
};

// ---- Integer limits ----

struct LimitCase {
    const char* Name;
    int Min, Max;
    const char* Typed;
    const char* AfterExit;
};

TEST_F(SpinEdit, TypedValuesAreClampedOnExit) {
    const LimitCase cases[] = {
        {"AboveMax", 0, 100, "150", "100"},       {"BelowMin", 0, 100, "-5", "0"},
        {"Inside", 0, 100, "42", "42"},           {"EqualLimitsMeanNone", 0, 0, "150", "150"},
        {"NegativeRange", -10, -5, "-20", "-10"},
    };
    for (const LimitCase& c : cases) {
        SCOPED_TRACE(c.Name);
        auto* e = Add();
        e->SetMinValue(c.Min);
        e->SetMaxValue(c.Max);
        Focus(e);
        e->SelectAll();
        SimulateText(e, QString::fromLatin1(c.Typed));
        EXPECT_EQ(e->Text(), QString::fromLatin1(c.Typed));
        Focus(Other);
        EXPECT_EQ(e->Text(), QString::fromLatin1(c.AfterExit));
        TObject::Free(e);
    }
}

TEST_F(SpinEdit, WritesClampAndStepsStopAtTheLimits) {
    auto* e = Add();
    e->SetValue(250);
    EXPECT_EQ(e->Text(), QStringLiteral("100"));
    e->SetValue(-3);
    EXPECT_EQ(e->Text(), QStringLiteral("0"));
    e->StepDown(false);
    EXPECT_EQ(e->Value(), 0);
    e->SetValue(99);
    e->Increment = 5;
    e->StepUp(false);
    EXPECT_EQ(e->Value(), 100);

    e->SetSpinType(sptFloat);
    e->SetMinFloatValue(1.5);
    e->SetMaxFloatValue(2.5);
    e->SetFloatValue(9);
    EXPECT_EQ(e->Text(), QStringLiteral("2.5"));
    e->SetFloatValue(0);
    EXPECT_EQ(e->Text(), QStringLiteral("1.5"));
}

// Text that does not parse reads as the limits the rules name and never raises, whether set by
// code, typed or pasted; a step goes on from that reading.
TEST_F(SpinEdit, TextThatDoesNotParseNeverRaises) {
    auto* e = Add();
    e->SetMinValue(7);
    e->SetMaxValue(50);
    e->SetMinFloatValue(3.5);
    e->SetMinDateValue(EncodeDate(2020, 1, 2));
    e->SetMaxDateValue(EncodeDate(2030, 1, 2));
    for (const char* bad : {"abc", "1x", "--", "12/ab/2020", ":::"}) {
        SCOPED_TRACE(bad);
        e->SetText(QString::fromLatin1(bad));
        EXPECT_EQ(e->Value(), 7);
        EXPECT_EQ(e->FloatValue(), 7.0) << "the integer MinValue, not MinFloatValue";
        EXPECT_EQ(e->DateValue(), EncodeDate(2020, 1, 2));
        EXPECT_EQ(e->TimeValue(), 0.0);
    }
    e->SetText(QString());
    EXPECT_EQ(e->Value(), 0);
    e->SetText(QStringLiteral("zz"));
    EXPECT_NO_THROW(e->StepUp(false));
    EXPECT_EQ(e->Text(), QStringLiteral("8"));

    e->SetSpinType(sptTime);
    e->SetText(QStringLiteral("noon"));
    e->SetSpinType(sptTime);
    EXPECT_EQ(e->Text(), QStringLiteral("00:00:00"));
}

// ---- Float separators under two locales ----

struct FloatKeyCase {
    const char* Name;
    char16_t Decimal, Thousand;
    const char* Text;
    int SelStart, SelLength;
    char16_t Key;
    bool Allowed;
};

TEST_F(SpinEdit, FloatKeysFollowTheLocaleSeparators) {
    const FloatKeyCase cases[] = {
        {"CommaThirdDecimal", u',', u'.', "1,25", 4, 0, u'3', false},
        {"CommaDigitBeforeSeparator", u',', u'.', "1,25", 1, 0, u'3', true},
        {"CommaSecondSeparator", u',', u'.', "1,25", 4, 0, u',', false},
        {"CommaSeparatorInSelection", u',', u'.', "1,25", 0, 4, u',', true},
        {"CommaThousandRefused", u',', u'.', "12", 2, 0, u'.', false},
        {"CommaFirstSeparator", u',', u'.', "12", 2, 0, u',', true},
        {"PointThirdDecimal", u'.', u',', "1.25", 4, 0, u'3', false},
        {"PointSecondSeparator", u'.', u',', "1.25", 3, 0, u'.', false},
        {"PointThousandRefused", u'.', u',', "12", 2, 0, u',', false},
        {"PointFirstSeparator", u'.', u',', "12", 2, 0, u'.', true},
        {"Letter", u'.', u',', "12", 2, 0, u'a', false},
        {"Blank", u'.', u',', "12", 2, 0, u' ', false},
    };
    for (const FloatKeyCase& c : cases) {
        SCOPED_TRACE(c.Name);
        FormatSettings.DecimalSeparator = Char(c.Decimal);
        FormatSettings.ThousandSeparator = Char(c.Thousand);
        auto* e = Add(sptFloat);
        e->SetPrecision(2);
        e->SetText(QString::fromLatin1(c.Text));
        e->SetSelStart(c.SelStart);
        e->SetSelLength(c.SelLength);
        Char key(c.Key);
        EXPECT_EQ(e->CharAllowed(key), c.Allowed);
        TObject::Free(e);
    }
}

TEST_F(SpinEdit, FloatTextUnderTwoLocales) {
    struct {
        char16_t Decimal, Thousand;
        const char* Fixed;
        const char* General;
    } locales[] = {{u',', u'.', "1,00", "2,5"}, {u'.', u',', "1.00", "2.5"}};
    for (const auto& l : locales) {
        SCOPED_TRACE(l.Fixed);
        FormatSettings.DecimalSeparator = Char(l.Decimal);
        FormatSettings.ThousandSeparator = Char(l.Thousand);
        auto* e = Add(sptFloat);
        e->SetPrecision(2);
        e->SetFloatValue(1);
        EXPECT_EQ(e->Text(), QString::fromLatin1(l.Fixed));
        EXPECT_EQ(e->FloatValue(), 1.0);
        e->SetPrecision(0);
        e->SetFloatValue(2.5);
        EXPECT_EQ(e->Text(), QString::fromLatin1(l.General));
        TObject::Free(e);
    }
}

// A refused key typed for real is dropped (the third decimal), an allowed one goes in.
TEST_F(SpinEdit, TypingAThirdDecimalIsDropped) {
    FormatSettings.DecimalSeparator = u',';
    FormatSettings.ThousandSeparator = u'.';
    auto* e = Add(sptFloat);
    e->SetPrecision(2);
    e->SetText(QStringLiteral("1,25"));
    Focus(e);
    Caret(e, 4);
    SimulateText(e, QStringLiteral("7"));
    EXPECT_EQ(e->Text(), QStringLiteral("1,25"));
    Caret(e, 1);
    SimulateText(e, QStringLiteral("3"));
    EXPECT_EQ(e->Text(), QStringLiteral("13,25"));
}

// ---- The minus sign ----

TEST_F(SpinEdit, AMinusGoesOnlyInFrontAndOnce) {
    auto* e = Add();
    e->SetMinValue(-100);
    e->SetText(QStringLiteral("12"));
    Focus(e);
    Caret(e, 2);
    SimulateText(e, QStringLiteral("-"));
    EXPECT_EQ(e->Text(), QStringLiteral("12"));
    Caret(e, 0);
    SimulateText(e, QStringLiteral("-"));
    EXPECT_EQ(e->Text(), QStringLiteral("-12"));
    Caret(e, 0);
    SimulateText(e, QStringLiteral("-"));
    EXPECT_EQ(e->Text(), QStringLiteral("-12"));
    e->SelectAll();
    SimulateText(e, QStringLiteral("-"));
    EXPECT_EQ(e->Text(), QStringLiteral("-")) << "the selection holds the minus it replaces";
}

// ---- Date and time steps ----

struct StepCase {
    const char* Name;
    const char* Format; // the short date format; "" for a time
    const char* Text;
    int Caret;
    bool Up;
    const char* Result;
};

// One step of each case, from its text with the caret at its place; the caret stays.
class SpinSteps : public SpinEdit {
protected:
    void Run(std::initializer_list<StepCase> Cases) {
        for (const StepCase& c : Cases) {
            SCOPED_TRACE(c.Name);
            const bool date = *c.Format != 0;
            if (date) FormatSettings.ShortDateFormat = QString::fromLatin1(c.Format);
            auto* e = Add(date ? sptDate : sptTime);
            e->SetText(QString::fromLatin1(c.Text));
            Caret(e, c.Caret);
            if (c.Up)
                e->StepUp(false);
            else
                e->StepDown(false);
            EXPECT_EQ(e->Text(), QString::fromLatin1(c.Result));
            EXPECT_EQ(e->SelStart(), c.Caret);
            TObject::Free(e);
        }
    }
};

TEST_F(SpinSteps, DateStepsFollowTheCaret) {
    Run({
        {"DayFirstDay", "dd/mm/yyyy", "15/03/2024", 0, true, "16/03/2024"},
        {"DayFirstDayAtSeparator", "dd/mm/yyyy", "15/03/2024", 2, true, "16/03/2024"},
        {"DayFirstMonth", "dd/mm/yyyy", "15/03/2024", 3, true, "15/04/2024"},
        {"DayFirstYear", "dd/mm/yyyy", "15/03/2024", 8, true, "15/03/2025"},
        {"DayFirstMonthDown", "dd/mm/yyyy", "15/03/2024", 4, false, "15/02/2024"},
        {"EndOfJanuaryPlusMonth", "dd/mm/yyyy", "31/01/2024", 4, true, "29/02/2024"},
        {"DayDownAcrossMonth", "dd/mm/yyyy", "01/03/2024", 0, false, "29/02/2024"},
        {"MonthFirstMonth", "mm/dd/yyyy", "03/15/2024", 0, true, "04/15/2024"},
        {"MonthFirstDay", "mm/dd/yyyy", "03/15/2024", 4, true, "03/16/2024"},
        {"MonthFirstYear", "mm/dd/yyyy", "03/15/2024", 7, false, "03/15/2023"},
    });
}

TEST_F(SpinSteps, TimeStepsFollowTheCaret) {
    Run({
        {"Seconds", "", "23:59:30", 7, true, "23:59:31"},
        {"SecondsAtSeparator", "", "23:59:30", 6, true, "23:59:31"},
        {"MinutesBeforeSecondSeparator", "", "12:30:00", 5, true, "12:31:00"},
        {"MinutesDown", "", "12:30:00", 4, false, "12:29:00"},
        {"HoursDownBelowMidnight", "", "00:10:00", 1, false, "23:10:00"},
        {"HoursUpPastMidnight", "", "23:30:00", 0, true, "00:30:00"},
        {"SecondsDownBelowMidnight", "", "00:00:00", 7, false, "23:59:59"},
    });
}

TEST_F(SpinEdit, WithoutSecondsTheLastPartIsMinutes) {
    auto* e = Add(sptTime);
    e->ShowSeconds = false;
    e->SetTimeValue(EncodeTime(9, 30, 0, 0));
    EXPECT_EQ(e->Text(), QStringLiteral("9:30"));
    Caret(e, 4);
    e->IncrementMinutes = 15;
    e->StepUp(false);
    EXPECT_EQ(e->Text(), QStringLiteral("9:45"));
}

// A step that cannot be encoded raises the encoding error and changes nothing.
TEST_F(SpinEdit, AStepThatCannotBeEncodedChangesNothing) {
    auto* date = Add(sptDate);
    date->SetText(QStringLiteral("29/02/2024"));
    Caret(date, 8);
    EXPECT_THROW(date->StepUp(false), EConvertError);
    EXPECT_EQ(date->Text(), QStringLiteral("29/02/2024"));
    EXPECT_EQ(date->SelStart(), 8);

    struct {
        int Caret;
        int Hours, Minutes, Seconds;
    } steps[] = {{0, 24, 1, 1}, {4, 1, 60, 1}, {7, 1, 1, 60}};
    for (const auto& s : steps) {
        SCOPED_TRACE(s.Caret);
        auto* time = Add(sptTime);
        time->SetText(QStringLiteral("10:20:30"));
        time->IncrementHours = s.Hours;
        time->IncrementMinutes = s.Minutes;
        time->IncrementSeconds = s.Seconds;
        Caret(time, s.Caret);
        EXPECT_THROW(time->StepDown(false), EConvertError);
        EXPECT_EQ(time->Text(), QStringLiteral("10:20:30"));
        EXPECT_EQ(time->TimeValue(), EncodeTime(10, 20, 30, 0));
        TObject::Free(time);
    }
}

// ---- Keys ----

TEST_F(SpinEdit, StepKeysAreConsumedByTheEdit) {
    auto* e = Add(sptFloat);
    e->SetMaxFloatValue(1000);
    e->SetFloatValue(5);
    std::vector<Word> seen;
    e->OnKeyDown = [&](TObject*, Word& Key, TShiftState) { seen.push_back(Key); };
    Focus(e);
    SimulateKey(e, VK_UP);
    EXPECT_EQ(e->FloatValue(), 5.1);
    SimulateKey(e, VK_PRIOR);
    EXPECT_EQ(e->FloatValue(), 6.1);
    SimulateKey(e, VK_NEXT);
    SimulateKey(e, VK_DOWN);
    EXPECT_EQ(e->FloatValue(), 5.0);
    EXPECT_TRUE(seen.empty());
    SimulateKey(e, VK_HOME);
    EXPECT_EQ(seen, std::vector<Word>{VK_HOME});
}

TEST_F(SpinEdit, WithTheEditorDisabledOnlyStepsChangeTheValue) {
    auto* e = Add();
    e->SetEditorEnabled(false);
    e->SetValue(42);
    EXPECT_EQ(e->SelLength(), 2) << "a written value is shown selected";
    Focus(e);
    Caret(e, 0);
    SimulateText(e, QStringLiteral("7"));
    SimulateKey(e, VK_DELETE);
    SimulateKey(e, VK_BACK);
    EXPECT_EQ(e->Text(), QStringLiteral("42"));
    SimulateKey(e, VK_UP);
    EXPECT_EQ(e->Text(), QStringLiteral("43"));
    e->Button()->UpButton()->Click();
    EXPECT_EQ(e->Text(), QStringLiteral("44"));
}

TEST_F(SpinEdit, AReadOnlyEditDoesNotStep) {
    auto* e = Add();
    e->SetValue(3);
    e->SetReadOnly(true);
    e->StepUp(false);
    e->Button()->DownButton()->Click();
    EXPECT_EQ(e->Text(), QStringLiteral("3"));
}

// The keypad's decimal key (key data bit 22) types the decimal separator when asked to; the
// main keyboard's "." stays a "." (here the refused thousand separator).
TEST_F(SpinEdit, TheKeypadDecimalKeyTypesTheSeparator) {
    FormatSettings.DecimalSeparator = u',';
    FormatSettings.ThousandSeparator = u'.';
    auto* e = Add(sptFloat);
    e->SetText(QStringLiteral("1"));
    Focus(e);
    Caret(e, 1);
    e->Perform(WM_CHAR, u'.', 0x400000);
    EXPECT_EQ(e->Text(), QStringLiteral("1")) << "off by default";
    e->ExcelStyleDecimalSeparator = true;
    e->Perform(WM_CHAR, u'.', 0);
    EXPECT_EQ(e->Text(), QStringLiteral("1"));
    e->Perform(WM_CHAR, u'.', 0x400000);
    EXPECT_EQ(e->Text(), QStringLiteral("1,"));
}

// Enter with ReturnIsTab moves on as Tab does and leaves the text alone.
TEST_F(SpinEdit, ReturnActsAsTab) {
    auto* e = Add();
    e->ReturnIsTab = true;
    e->SetValue(5);
    Focus(e);
    SimulateKey(e, VK_RETURN);
    EXPECT_TRUE(ProcessMessagesUntil([&] { return Other->Focused(); }));
    EXPECT_EQ(e->Text(), QStringLiteral("5"));
}

// Pasted text that is no number is kept as typed text would be and reads as MinValue.
TEST_F(SpinEdit, PastedTextThatDoesNotParse) {
    auto* e = Add();
    e->SetMinValue(3);
    Focus(e);
    e->SelectAll();
    QApplication::clipboard()->setText(QStringLiteral("abc"));
    SimulateKey(e, 'V', {ssCtrl});
    EXPECT_EQ(e->Text(), QStringLiteral("abc"));
    EXPECT_EQ(e->Value(), 3);
    EXPECT_NO_THROW(Focus(Other));
    EXPECT_NO_THROW(e->StepUp(false));
    EXPECT_EQ(e->Text(), QStringLiteral("4"));
}

// While loading, the date and time writers only keep the value; Loaded shows it.
TEST_F(SpinEdit, ADateSetWhileLoadingShowsWhenLoaded) {
    auto* e = new TAsgSpinEdit(Form);
    e->BeginLoading();
    e->SetParent(Form);
    e->SetSpinType(sptDate);
    e->SetDateValue(EncodeDate(2023, 7, 14));
    EXPECT_EQ(e->Text(), QStringLiteral("0"));
    e->EndLoading();
    EXPECT_EQ(e->Text(), QStringLiteral("14/07/2023"));
}

// The spin button on its own: the arrow keys move the focus mark and click, Space clicks the
// marked button; the mark shows only while the spin button has the focus.
TEST_F(SpinEdit, TheSpinButtonsKeys) {
    auto* b = new TAsgSpinButton(Form);
    b->SetParent(Form);
    b->SetTabStop(true);
    std::vector<std::string> clicks;
    b->OnUpClick = [&](TObject* Sender) {
        EXPECT_EQ(Sender, b);
        clicks.push_back("up");
    };
    b->OnDownClick = [&](TObject*) { clicks.push_back("down"); };
    EXPECT_EQ(b->FocusedButton(), b->UpButton());
    Focus(b);
    EXPECT_EQ(b->UpButton()->TimeBtnState().count(tbFocusRect), 1u);
    SimulateKey(b, VK_DOWN);
    EXPECT_EQ(b->FocusedButton(), b->DownButton());
    EXPECT_EQ(b->UpButton()->TimeBtnState().count(tbFocusRect), 0u);
    EXPECT_EQ(b->DownButton()->TimeBtnState().count(tbFocusRect), 1u);
    SimulateKey(b, VK_SPACE);
    SimulateKey(b, VK_UP);
    EXPECT_EQ(clicks, (std::vector<std::string>{"down", "down", "up"}));
    Focus(Other);
    EXPECT_EQ(b->UpButton()->TimeBtnState().count(tbFocusRect), 0u);
}

// ---- Layout ----

TEST_F(SpinEdit, TheButtonSitsAtTheRightAndTheTextKeepsOffIt) {
    auto* e = Add();
    TAsgSpinButton* b = e->Button();
    EXPECT_EQ(b->Parent(), e);
    EXPECT_EQ(b->Left(), 120 - 15 - 5);
    EXPECT_EQ(b->Top(), 0);
    EXPECT_EQ(b->Height(), 24 - 5);
    EXPECT_NE(e->WindowStyle() & ES_MULTILINE, 0u);
    TRect r;
    e->Perform(EM_GETRECT, 0, reinterpret_cast<LPARAM>(&r));
    EXPECT_EQ(r.Right, e->ClientWidth() - 15 - 2);
    // The two buttons share the height, the lower one overlapping the upper by a pixel.
    EXPECT_EQ(b->UpButton()->BoundsRect(), TRect(0, 0, 15, 9));
    EXPECT_EQ(b->DownButton()->BoundsRect(), TRect(0, 8, 15, 19));

    e->SetHeight(4);
    EXPECT_EQ(e->Height(), e->MinHeight());

    e->SetDirection(spHorizontal);
    EXPECT_EQ(b->Width(), 20);
    EXPECT_EQ(b->UpButton()->ButtonDirection(), bdRight);
    EXPECT_EQ(b->DownButton()->Left(), 0);
    EXPECT_EQ(b->UpButton()->Left(), 11);
}

// ---- The repeating button ----

class SpinRepeat : public SpinEdit {
protected:
    void Tick(TTimer* T) { T->OnTimer(T); }
};

// Held down: nothing at once, a step at the first tick (due after 400 ms), then one at each
// tick 100 ms apart; the release clicks once more and stops the timer.
TEST_F(SpinRepeat, HoldingTheUpButtonRepeatsByTimerTicks) {
    auto* e = Add();
    TAdvTimerSpeedButton* up = e->Button()->UpButton();
    EXPECT_EQ(up->RepeatTimer(), nullptr);
    SimulateMouseDown(up, mbLeft, {}, 3, 3);
    EXPECT_TRUE(e->Focused()) << "the press gives the focus to the edit";
    TTimer* t = up->RepeatTimer();
    ASSERT_NE(t, nullptr);
    EXPECT_TRUE(t->Enabled());
    EXPECT_EQ(t->Interval(), 400u);
    EXPECT_EQ(e->Value(), 0);
    Tick(t);
    EXPECT_EQ(e->Value(), 1);
    EXPECT_EQ(t->Interval(), 100u);
    Tick(t);
    Tick(t);
    EXPECT_EQ(e->Value(), 3);
    EXPECT_EQ(t->Interval(), 100u);
    SimulateMouseUp(up, mbLeft, {}, 3, 3);
    EXPECT_EQ(e->Value(), 4) << "the release clicks as well";
    EXPECT_FALSE(t->Enabled());
    Tick(t);
    EXPECT_EQ(e->Value(), 4) << "a late tick after the release does nothing";

    // A new press starts again from 400 ms.
    SimulateMouseDown(up, mbLeft, {}, 3, 3);
    EXPECT_EQ(t->Interval(), 400u);
    EXPECT_TRUE(t->Enabled());
    // Dragged off the button (it shows up) the ticks step no more.
    SimulateMouseMove(up, {ssLeft}, 80, 80);
    Tick(t);
    EXPECT_EQ(e->Value(), 4);
    SimulateMouseUp(up, mbLeft, {}, 80, 80);
    EXPECT_EQ(e->Value(), 4);
}

TEST_F(SpinRepeat, AnExceptionInARepeatedClickStopsTheTimer) {
    auto* e = Add(sptTime);
    e->SetText(QStringLiteral("10:00:00"));
    Caret(e, 0);
    e->IncrementHours = 30;
    TAdvTimerSpeedButton* down = e->Button()->DownButton();
    SimulateMouseDown(down, mbLeft, {}, 3, 3);
    TTimer* t = down->RepeatTimer();
    ASSERT_NE(t, nullptr);
    EXPECT_THROW(Tick(t), EConvertError);
    EXPECT_FALSE(t->Enabled());
    EXPECT_EQ(e->Text(), QStringLiteral("10:00:00"));
    down->Perform(WM_CANCELMODE);
}

// The coloured look: the face in ButtonColor (hot, down) with a black triangle.
TEST_F(SpinRepeat, TheColouredLookOnPixels) {
    auto* e = Add();
    TAsgSpinButton* b = e->Button();
    b->ButtonColor = clAqua;
    b->ButtonColorHot = clYellow;
    b->ButtonColorDown = clRed;
    TAdvTimerSpeedButton* up = b->UpButton();
    auto at = [](TAdvTimerSpeedButton* B, int X, int Y) {
        const QRgb p = B->PaintImage().pixel(X, Y);
        return RGB(qRed(p), qGreen(p), qBlue(p));
    };
    EXPECT_EQ(at(up, 12, 7), clAqua);
    // The triangles: apex and base corners.
    EXPECT_EQ(at(up, 6, 2), clBlack);
    EXPECT_EQ(at(up, 4, 4), clBlack);
    EXPECT_EQ(at(up, 8, 4), clBlack);
    EXPECT_EQ(at(up, 6, 5), clAqua);
    EXPECT_EQ(at(b->DownButton(), 6, 4), clBlack);
    EXPECT_EQ(at(b->DownButton(), 4, 2), clBlack);
    EXPECT_EQ(at(b->DownButton(), 8, 2), clBlack);
    EXPECT_EQ(at(b->DownButton(), 6, 1), clAqua);
    up->Perform(CM_MOUSEENTER);
    EXPECT_TRUE(up->HasMouse());
    EXPECT_EQ(at(up, 12, 7), clYellow);
    SimulateMouseDown(up, mbLeft, {}, 3, 3);
    EXPECT_EQ(at(up, 12, 7), clRed);
    SimulateMouseUp(up, mbLeft, {}, 3, 3);
    up->Perform(CM_MOUSELEAVE);
    EXPECT_FALSE(up->HasMouse());
    EXPECT_EQ(at(up, 12, 7), clAqua);
}

// Side by side the buttons show the system's scroll arrows; themed, the spin parts (a picture
// other than the classic face).
TEST_F(SpinRepeat, TheSystemAndThemedLooks) {
    auto* e = Add();
    e->SetDirection(spHorizontal);
    TAdvTimerSpeedButton* left = e->Button()->DownButton();
    TAdvTimerSpeedButton* right = e->Button()->UpButton();
    EXPECT_EQ(left->ButtonDirection(), bdLeft);
    auto blackColumns = [](TAdvTimerSpeedButton* B) {
        const QImage img = B->PaintImage();
        int first = img.width(), last = -1;
        for (int y = 0; y < img.height(); ++y)
            for (int x = 0; x < img.width(); ++x)
                if ((img.pixel(x, y) & 0xFFFFFF) == 0) {
                    first = std::min(first, x);
                    last = std::max(last, x);
                }
        return std::pair(first, last);
    };
    const auto [lFirst, lLast] = blackColumns(left);
    const auto [rFirst, rLast] = blackColumns(right);
    EXPECT_LE(lFirst, lLast) << "an arrow is drawn";
    EXPECT_LE(rFirst, rLast);

    e->SetDirection(spVertical);
    TAdvTimerSpeedButton* up = e->Button()->UpButton();
    const QImage classic = up->PaintImage().copy();
    e->SetIsWinXP(true);
    EXPECT_TRUE(up->IsWinXP());
    EXPECT_NE(up->PaintImage(), classic);
}

// Without colours: the arrow glyphs (vertical) or the system arrows (horizontal).
TEST_F(SpinRepeat, TheGlyphLookShowsTheArrows) {
    auto* e = Add();
    TAdvTimerSpeedButton* up = e->Button()->UpButton();
    const QImage img = up->PaintImage();
    int black = 0;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x) black += (img.pixel(x, y) & 0xFFFFFF) == 0;
    EXPECT_EQ(black, 9) << "the 5-3-1 arrow, inside a frame that has no black";
}

} // namespace
