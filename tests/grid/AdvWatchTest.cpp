// The analog clock on a real form, its timers ticked by hand and its clock and pause replaced:
// the face geometry, picking by point (a table), the keys' wrap-arounds, the animation and its
// single OnChange (also with a factor of 0), the range errors, marks and numerals per TickMarks
// on pixels, the presets' mark lengths on small and huge clocks, live mode with a fixed clock,
// the AM/PM roll and cursor, the appearance's notifications and the component looks.
#include "AdvWatch.h"

#include "ControlImage.h"
#include "DropDownTestSupport.h"
#include "Forms.h"
#include "TestSupport.h"

#include <QImage>
#include <QWidget>
#include <gtest/gtest.h>

#include <cmath>

namespace {

TDateTime At(int H, int M, int S = 0) {
    return EncodeTime(Word(H), Word(M), Word(S), 0);
}

String Clock(TDateTime T) {
    return FormatDateTime(QStringLiteral("hh:nn:ss"), T);
}

class Watch : public DropDownFormTest {
protected:
    void SetUp() override {
        DropDownFormTest::SetUp();
        SetWatchTicksByHand(true);
        SetWatchNowSource([this] { return NowValue; });
        SetWatchPause([this](int Ms) { Pauses.push_back(Ms); });
        W = new TAdvWatch(Form);
        W->SetParent(Form);
        W->SetBounds(10, 10, 180, 180);
        W->OnChange = [this](TObject*) { ++Changes; };
    }
    void TearDown() override {
        DropDownFormTest::TearDown();
        SetWatchTicksByHand(false);
        SetWatchNowSource(nullptr);
        SetWatchPause(nullptr);
    }
    // Ticks the animation until its timer stops (at most Limit ticks); answers the ticks.
    int Animate(int Limit = 100) {
        int ticks = 0;
        while (W->AnimationTimer()->Enabled() && ticks < Limit) {
            W->AnimationTimer()->OnTimer(W->AnimationTimer());
            ++ticks;
        }
        return ticks;
    }
    // Whether any pixel of the square around (X, Y) is far from white.
    static bool Inked(const QImage& Image, int X, int Y, int Half = 5) {
        for (int y = Y - Half; y <= Y + Half; ++y)
            for (int x = X - Half; x <= X + Half; ++x)
                if (qGray(Image.pixel(x, y)) < 160) return true;
        return false;
    }

    TDateTime NowValue = EncodeDate(2026, 12, 11) + At(14, 30, 15);
    std::vector<int> Pauses;
    int Changes = 0;
    TAdvWatch* W = nullptr;
};

TEST_F(Watch, TheFaceIsASquareCentredInTheControl) {
    struct TCase {
        int Width, Height, Size;
        TRect Face;
    } cases[] = {
        {180, 180, 0, TRect(10, 10, 170, 170)},   {180, 180, 300, TRect(0, 0, 180, 180)},
        {180, 180, 100, TRect(40, 40, 140, 140)}, {200, 120, 0, TRect(50, 10, 150, 110)},
        {15, 15, 0, TRect(7, 7, 7, 7)},           {1, 1, 0, TRect(0, 0, 0, 0)},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Width * 1000 + c.Size);
        W->SetBounds(10, 10, c.Width, c.Height);
        W->Appearance()->SetSize(c.Size);
        EXPECT_EQ(W->GetWatchRect(), c.Face);
        // Any size paints, picks and reads keys without harm.
        EXPECT_NO_THROW(ControlImage(W));
        EXPECT_NO_THROW(W->MinuteAtPoint(0, 0));
        EXPECT_FALSE(W->PtInEllipse(0, 0));
    }
}

TEST_F(Watch, PointsReadAsMinutesAndHours) {
    struct TCase {
        const char* Name;
        TPoint P;
        int Minute, HourAM, HourPM;
    } cases[] = {
        {"centre", {90, 90}, 23, 5, 17},         {"straight above, outside the face", {90, 2}, 0, 0, 12},
        {"right of the top", {91, 2}, 0, 0, 12}, {"three o'clock", {150, 90}, 15, 3, 15},
        {"six o'clock", {90, 150}, 30, 6, 18},   {"nine o'clock", {30, 90}, 45, 9, 21},
        {"minute 58", {80, 43}, 58, 12, 0},      {"minute 59", {85, 42}, 59, 12, 0},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        EXPECT_EQ(W->MinuteAtPoint(c.P.X, c.P.Y), c.Minute);
        W->SetTime(At(1, 0));
        ASSERT_TRUE(W->AM());
        EXPECT_EQ(W->HourAtPoint(c.P.X, c.P.Y), c.HourAM);
        W->SetTime(At(13, 0));
        ASSERT_FALSE(W->AM());
        EXPECT_EQ(W->HourAtPoint(c.P.X, c.P.Y), c.HourPM);
    }
    EXPECT_TRUE(W->PtInEllipse(90, 90));
    EXPECT_TRUE(W->PtInEllipse(90, 12));
    EXPECT_FALSE(W->PtInEllipse(90, 2));
    EXPECT_FALSE(W->PtInEllipse(15, 15)); // inside the square, outside the circle
}

TEST_F(Watch, ClicksSetTheHourInsideAndTheMinuteOutside) {
    W->SetAnimation(false);
    W->SetTime(At(1, 10));
    SimulateClick(W, 150, 90); // inside, three o'clock
    EXPECT_EQ(Clock(W->Time()), QStringLiteral("03:10:00"));
    EXPECT_EQ(Changes, 1);
    SimulateClick(W, 90, 178); // below the face: minute 30
    EXPECT_EQ(Clock(W->Time()), QStringLiteral("03:30:00"));
    EXPECT_EQ(Changes, 2);
    SimulateClick(W, 90, 178); // the same minute again: nothing
    EXPECT_EQ(Changes, 2);
}

TEST_F(Watch, KeysMoveHoursAndMinutesAndWrapAround) {
    struct TCase {
        const char* Name;
        TDateTime From;
        Word Key;
        bool Animated;
        const char* To;
    } cases[] = {
        {"Right at 23:59", At(23, 59), VK_RIGHT, false, "00:00:00"},
        {"Right at 10:20", At(10, 20), VK_RIGHT, false, "10:21:00"},
        {"Left at 0:00", At(0, 0), VK_LEFT, false, "23:59:00"},
        {"Left at 10:00", At(10, 0), VK_LEFT, false, "09:59:00"},
        {"Page Up at 23", At(23, 5), VK_PRIOR, true, "00:05:00"},
        {"Page Up at 10", At(10, 5), VK_PRIOR, true, "11:05:00"},
        {"Page Down at 0", At(0, 5), VK_NEXT, true, "23:05:00"},
        {"Home", At(7, 5), VK_HOME, true, "12:05:00"},
        {"End at 10:45", At(10, 45), VK_END, false, "11:00:00"},
        {"A at 15", At(15, 5), 'A', false, "03:05:00"},
        {"A at 3", At(3, 5), 'A', false, "03:05:00"},
        {"P at 3", At(3, 5), 'P', false, "15:05:00"},
        {"Right at 59, animated", At(8, 59), VK_RIGHT, true, "09:00:00"},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        W->SetAnimation(c.Animated);
        W->SetTime(c.From);
        Changes = 0;
        W->HandleKey(c.Key);
        Animate();
        EXPECT_EQ(Clock(W->Time()), QString::fromLatin1(c.To));
        EXPECT_EQ(Changes, Clock(c.From) == QString::fromLatin1(c.To) ? 0 : 1);
    }
    // Page Up at 23 lands at once, without the animation timer.
    W->SetAnimation(true);
    W->SetTime(At(23, 0));
    W->HandleKey(VK_PRIOR);
    EXPECT_FALSE(W->AnimationTimer()->Enabled());
    EXPECT_EQ(Clock(W->Time()), QStringLiteral("00:00:00"));
}

TEST_F(Watch, TheAnimationMovesByATenthOfTheWayAndTellsOnceAtTheEnd) {
    W->SetTime(At(1, 0));
    EXPECT_EQ(W->AnimationTimer()->Interval(), 1u);
    W->SetHour(9);
    EXPECT_TRUE(W->AnimationTimer()->Enabled());
    EXPECT_EQ(Clock(W->Time()), QStringLiteral("01:00:00"));
    std::vector<int> hours;
    while (W->AnimationTimer()->Enabled() && hours.size() < 20) {
        W->AnimationTimer()->OnTimer(W->AnimationTimer());
        Word h, m, s, ms;
        DecodeTime(W->Time(), h, m, s, ms);
        hours.push_back(h);
    }
    EXPECT_EQ(hours, (std::vector<int>{2, 3, 4, 5, 6, 7, 8, 9, 9}));
    EXPECT_EQ(Changes, 1);

    // Minutes decelerate: 0 to 50 takes the rounded tenth of what is left each tick.
    Changes = 0;
    W->SetTime(At(4, 0));
    W->SetMinute(50);
    std::vector<int> minutes;
    while (W->AnimationTimer()->Enabled() && minutes.size() < 60) {
        W->AnimationTimer()->OnTimer(W->AnimationTimer());
        Word h, m, s, ms;
        DecodeTime(W->Time(), h, m, s, ms);
        minutes.push_back(m);
    }
    ASSERT_GE(minutes.size(), 3u);
    EXPECT_EQ(minutes[0], 5);
    EXPECT_EQ(minutes[1], 9); // 4.5 rounds to the even 4
    EXPECT_EQ(minutes.back(), 50);
    EXPECT_EQ(Changes, 1);
}

TEST_F(Watch, AnAnimationFactorBelowOneMovesTheWholeWayAtOnce) {
    for (int factor : {0, -3, 1}) {
        SCOPED_TRACE(factor);
        W->SetAnimationFactor(factor);
        W->SetTime(At(1, 0));
        Changes = 0;
        W->SetHour(9);
        EXPECT_NO_THROW(W->AnimationTimer()->OnTimer(W->AnimationTimer()));
        EXPECT_EQ(Clock(W->Time()), QStringLiteral("09:00:00"));
        EXPECT_EQ(Animate(), 1); // the tick at the target stops the timer
        EXPECT_EQ(Changes, 1);
        W->SetMinute(40);
        EXPECT_NO_THROW(Animate());
        EXPECT_EQ(Clock(W->Time()), QStringLiteral("09:40:00"));
    }
}

TEST_F(Watch, OutOfRangeHoursAndMinutesFailAndChangeNothing) {
    W->SetTime(At(5, 6));
    for (bool animated : {true, false}) {
        W->SetAnimation(animated);
        try {
            W->SetMinute(60);
            ADD_FAILURE() << "no error";
        } catch (const Exception& E) {
            EXPECT_EQ(E.Message(), QStringLiteral("Invalid time"));
        }
        try {
            W->SetHour(24);
            ADD_FAILURE() << "no error";
        } catch (const EConvertError& E) {
            EXPECT_EQ(E.Message(), QStringLiteral("Invalid argument to time encode"));
        }
        EXPECT_THROW(W->SetHour(-1), EConvertError);
        EXPECT_FALSE(W->AnimationTimer()->Enabled());
        EXPECT_EQ(Clock(W->Time()), QStringLiteral("05:06:00"));
    }
    EXPECT_EQ(Changes, 0);
}

// Marks and numerals per TickMarks, on the default 180 x 180 face (centre (90, 90), marks from
// 70 to 78 pixels out) at 03:00, whose hands stay clear of the places looked at.
TEST_F(Watch, MarksAndNumeralsFollowTickMarks) {
    struct TCase {
        TTickMarks Marks;
        bool Quarter, Hour, Minute, Three, One;
    } cases[] = {
        {tmAll, true, true, true, true, true},
        {tmHours, true, true, false, false, false},
        {tmQuartHours, true, false, false, true, false},
        {tmNone, false, false, false, false, false},
    };
    W->SetTime(At(3, 0));
    for (const TCase& c : cases) {
        SCOPED_TRACE(int(c.Marks));
        W->Appearance()->SetTickMarks(c.Marks);
        const QImage img = ControlImage(W);
        EXPECT_EQ(Inked(img, 90, 16, 0), c.Quarter); // 12 o'clock
        EXPECT_EQ(Inked(img, 127, 26, 1), c.Hour);   // 1 o'clock
        EXPECT_EQ(Inked(img, 98, 15, 0), c.Minute);  // minute 1
        EXPECT_EQ(Inked(img, 151, 90), c.Three);
        EXPECT_EQ(Inked(img, 120, 37), c.One);
    }
    // Without numbers only the marks stay.
    W->Appearance()->SetTickMarks(tmAll);
    W->SetShowNumbers(false);
    const QImage img = ControlImage(W);
    EXPECT_FALSE(Inked(img, 151, 90));
    EXPECT_TRUE(Inked(img, 127, 26, 1));
}

TEST_F(Watch, TheFaceIsClippedToItsShape) {
    W->Appearance()->SetBackgroundColor(clRed);
    W->Appearance()->SetBorderColor(clNone);
    W->SetColor(clBlue);
    struct TCase {
        TWatchShape Shape;
        bool Corner, EdgeMiddle;
    } cases[] = {{wsCircle, false, true}, {wsRect, true, true}, {wsRoundRect, false, true}};
    for (const TCase& c : cases) {
        SCOPED_TRACE(int(c.Shape));
        W->Appearance()->SetShape(c.Shape);
        const QImage img = ControlImage(W);
        EXPECT_EQ(img.pixel(1, 1) == qRgb(255, 0, 0), c.Corner);
        EXPECT_EQ(img.pixel(c.Shape == wsCircle ? 11 : 1, 90) == qRgb(255, 0, 0), c.EdgeMiddle);
        EXPECT_EQ(img.pixel(60, 90), qRgb(255, 0, 0)); // the face itself
    }
}

TEST_F(Watch, StylePresetsAndTheirMarkLengths) {
    W->SetStyle(wsClassic); // already the stored style: nothing is applied
    EXPECT_EQ(W->Appearance()->HourMarkLength(), 0);
    EXPECT_EQ(W->Appearance()->HourFont()->Name(), QStringLiteral("Tahoma"));
    W->SetStyle(wsSuperNova);
    EXPECT_EQ(W->Appearance()->HourMarkLength(), 40);
    EXPECT_EQ(W->Appearance()->MinuteMarkLength(), 60);
    EXPECT_FALSE(W->ShowAMPM());
    W->SetStyle(wsClassic);
    EXPECT_EQ(W->Appearance()->HourMarkLength(), 8);
    EXPECT_EQ(W->Appearance()->HourFont()->Name(), QStringLiteral("Comic Sans MS"));
    EXPECT_EQ(W->Appearance()->HourFont()->Size(), 10);
    EXPECT_EQ(W->Appearance()->MinuteMarkLength(), 4);
    EXPECT_EQ(W->Appearance()->BackgroundColorTo(), clNone); // the defaults came back first
    EXPECT_TRUE(W->ShowAMPM());

    // A large clock: the byte-sized lengths stop at 255 instead of wrapping round.
    W->SetBounds(0, 0, 2000, 2000);
    W->SetStyle(wsSuperNova);
    EXPECT_EQ(W->Appearance()->HourMarkLength(), 255);
    EXPECT_EQ(W->Appearance()->MinuteMarkLength(), 255);
    W->SetStyle(wsSports);
    EXPECT_EQ(W->Appearance()->CenterPointSize(), 255);
    EXPECT_EQ(W->Appearance()->TickMarks(), tmQuartHours);
    EXPECT_NO_THROW(ControlImage(W));
    W->SetBounds(10, 10, 180, 180);
    for (int s = wsClassic; s <= wsSmooth; ++s) {
        W->SetStyle(TWatchStyle(s));
        EXPECT_NO_THROW(ControlImage(W));
    }
}

TEST_F(Watch, LiveModeFollowsTheClockWithItsOffset) {
    W->SetTime(At(8, 0));
    W->Settings()->SetAuto(true);
    EXPECT_TRUE(W->WatchTimer()->Enabled());
    EXPECT_EQ(W->WatchTimer()->Interval(), 100u);
    EXPECT_EQ(W->Time(), NowValue);
    EXPECT_FALSE(W->AM());
    W->Settings()->SetTimeOffset(45);
    EXPECT_EQ(Clock(W->GetDisplayTime()), QStringLiteral("15:15:15"));
    W->Settings()->SetTimeOffset(0);
    // Mouse and keys are ignored.
    W->HandleKey(VK_PRIOR);
    SimulateClick(W, 150, 90);
    EXPECT_FALSE(W->AnimationTimer()->Enabled());
    EXPECT_EQ(W->Time(), NowValue);
    // A tick draws the hands of the clock's time: at 14:30:15 the red second hand lies on the
    // line to 3 o'clock.
    ControlImage(W);
    W->Repaint();
    W->WatchTimer()->OnTimer(W->WatchTimer());
    EXPECT_EQ(W->BackImage().pixel(150, 90), qRgb(255, 0, 0));
    W->Settings()->SetSecond(false);
    W->WatchTimer()->OnTimer(W->WatchTimer());
    EXPECT_NE(W->BackImage().pixel(150, 90), qRgb(255, 0, 0));
    W->Settings()->SetAuto(false);
    EXPECT_FALSE(W->WatchTimer()->Enabled());
}

TEST_F(Watch, TheAMPMBoxRollsAndShowsTheHand) {
    W->SetTime(At(3, 0));
    W->Repaint();
    const TRect box = W->GetAMPMRect();
    ASSERT_FALSE(box.IsEmpty());
    EXPECT_EQ(box.Left + box.Width() / 2, 90);
    SimulateMouseMove(W, {}, box.Left + 2, box.Top + 2);
    EXPECT_EQ(W->Widget()->cursor().shape(), Qt::PointingHandCursor);
    SimulateMouseMove(W, {}, 90, 40);
    EXPECT_EQ(W->Widget()->cursor().shape(), Qt::ArrowCursor);

    SimulateClick(W, box.Left + 2, box.Top + 2);
    EXPECT_FALSE(W->AM());
    EXPECT_EQ(Clock(W->Time()), QStringLiteral("15:00:00"));
    EXPECT_EQ(Changes, 1);
    // One frame per pixel row of the box inside its frame, each followed by its pause.
    EXPECT_EQ(int(Pauses.size()), box.Height() - 2);
    EXPECT_EQ(Pauses.front(), 10);

    // Without animation the box turns over at once.
    Pauses.clear();
    W->SetAnimation(false);
    SimulateClick(W, box.Left + 2, box.Top + 2);
    EXPECT_TRUE(W->AM());
    EXPECT_TRUE(Pauses.empty());
    W->SetShowAMPM(false);
    EXPECT_EQ(W->GetAMPMRect(), TRect(-1, -1, -1, -1));
}

TEST_F(Watch, TheDialogCodeAsksForArrowsOnlyWithTabStop) {
    W->SetTabStop(true);
    EXPECT_EQ(W->Perform(WM_GETDLGCODE, 0, 0), DLGC_WANTARROWS | DLGC_WANTALLKEYS);
    W->SetTabStop(false);
    EXPECT_EQ(W->Perform(WM_GETDLGCODE, 0, 0), 0);
}

TEST(WatchAppearance, SettersTellOfChangesAndAssignOnlyOfThree) {
    TWatchAppearance a, b;
    int changes = 0;
    a.OnChange = [&](TObject*) { ++changes; };
    a.SetHourPointer(clRed);
    a.SetHourPointer(clRed);
    a.SetTickMarks(tmHours);
    a.SetAMPMColor(clBlue); // a plain field
    a.SetHourFont(b.HourFont());
    EXPECT_EQ(changes, 3);

    changes = 0;
    b.SetBorderWidth(9);
    b.SetTickMarks(tmHours);
    b.SetCenterPointOuterBorderColor(a.CenterPointOuterBorderColor());
    b.SetHourMarkStyle(a.HourMarkStyle());
    a.Assign(&b); // many fields differ, but none of the three
    EXPECT_EQ(changes, 0);
    EXPECT_EQ(a.BorderWidth(), 9);
    EXPECT_EQ(a.HourPointer(), b.HourPointer());
    b.SetHourMarkStyle(hmsQuartDblLine);
    a.Assign(&b);
    EXPECT_EQ(changes, 1);

    TWatchSettings s, t;
    int settingChanges = 0;
    s.OnChange = [&](TObject*) { ++settingChanges; };
    t.SetSecond(false);
    t.SetTimeOffset(30);
    s.Assign(&t);
    EXPECT_EQ(settingChanges, 0);
    EXPECT_FALSE(s.Second());
    EXPECT_EQ(s.TimeOffset(), 30);
    t.SetAuto(true);
    s.Assign(&t);
    EXPECT_EQ(settingChanges, 1);
}

TEST(WatchAppearance, ComponentLooks) {
    TWatchAppearance a;
    a.HourFont()->SetColor(clRed);
    ApplyWatchComponentStyle(&a, tsCustom);
    EXPECT_EQ(a.CenterPointOuterBorderColor(), TColor(0x000000));
    EXPECT_EQ(a.HourFont()->Color(), TColor(0x000000));
    EXPECT_EQ(a.BackgroundColor(), TColor(0xFFFFFF)); // nothing more for tsCustom

    ApplyWatchComponentStyle(&a, tsWindowsVista);
    EXPECT_EQ(a.AMPMBorderColor(), TColor(0xFEDF9A));
    EXPECT_EQ(a.AMPMColor(), TColor(0xFFFDF9));
    EXPECT_EQ(a.BackgroundColor(), TColor(0xFFFDF9));
    EXPECT_EQ(a.BackgroundColorTo(), TColor(0xFFFAF0));
    EXPECT_EQ(a.MinutePointer(), TColor(0xFEDF9A));
    EXPECT_EQ(a.HourPointerShadow(), TColor(0xFFFFFF));

    ApplyWatchComponentStyle(&a, tsOffice2007Obsidian);
    EXPECT_EQ(a.HourFont()->Color(), TColor(0xF2F1F0));
    EXPECT_EQ(a.AMPMFont()->Color(), TColor(0xF2F1F0));
    EXPECT_EQ(a.CenterPointColor(), TColor(0xFFEFE3));
    EXPECT_EQ(a.SecondPointer(), TColor(0xF2F1F0));
}

} // namespace
