// The platform's date-time picker: value, bounds and check box, the calendar opened by F4 (not
// Ctrl+F4 or Alt+F4), its styles and size, notifications through the parent, and its face.
#include "ComCtrls.h"
#include "Forms.h"
#include "StdCtrls.h"
#include "Graphics.h"

#include <QDateTimeEdit>
#include <QImage>

#include "ControlImage.h"

#include <gtest/gtest.h>

namespace {

class DateTimePickerTest : public ::testing::Test {
protected:
    void SetUp() override {
        Form = new TForm(nullptr);
        Form->SetBounds(100, 100, 400, 300);
        Picker = new TDateTimePicker(Form);
        Picker->SetParent(Form);
        Picker->SetBounds(10, 10, 186, 21);
        Picker->SetFormat("dd/MM/yyyy");
        Picker->SetDateTime(EncodeDate(2024, 3, 5) + EncodeTime(14, 30, 15, 0));
        Form->Show();
        Picker->SetFocus();
    }
    void TearDown() override { TObject::Free(Form); }
    TForm* Form = nullptr;
    TDateTimePicker* Picker = nullptr;
};

TEST_F(DateTimePickerTest, DateAndTimeKeepTheOtherPart) {
    EXPECT_EQ(Picker->Text(), "05/03/2024");
    Picker->SetDate(EncodeDate(2024, 12, 24) + 0.25);
    EXPECT_DOUBLE_EQ(Picker->DateTime(), EncodeDate(2024, 12, 24) + EncodeTime(14, 30, 15, 0));
    Picker->SetTime(EncodeTime(8, 5, 0, 0));
    EXPECT_DOUBLE_EQ(Picker->DateTime(), EncodeDate(2024, 12, 24) + EncodeTime(8, 5, 0, 0));
    Picker->SetKind(dtkTime);
    Picker->SetFormat("HH:mm:ss");
    EXPECT_EQ(Picker->Text(), "08:05:00");
}

TEST_F(DateTimePickerTest, BadValuesRaiseAndChangeNothing) {
    const TDateTime before = Picker->DateTime();
    EXPECT_THROW(Picker->SetDateTime(EncodeDate(9999, 12, 31) + 2), EConvertError);
    EXPECT_THROW(Picker->SetDate(-700000), EConvertError);
    EXPECT_DOUBLE_EQ(Picker->DateTime(), before);
    EXPECT_EQ(Picker->Text(), "05/03/2024");
}

TEST_F(DateTimePickerTest, MinAndMaxDateZeroMeansNoBound) {
    Picker->SetMinDate(EncodeDate(2024, 1, 1));
    Picker->SetMaxDate(EncodeDate(2024, 12, 31));
    EXPECT_THROW(Picker->SetDate(EncodeDate(2023, 12, 31)), EDateTimeError);
    EXPECT_THROW(Picker->SetDate(EncodeDate(2025, 1, 1)), EDateTimeError);
    EXPECT_EQ(Picker->Text(), "05/03/2024");
    // The bound days themselves are allowed, whatever the time.
    Picker->SetDateTime(EncodeDate(2024, 12, 31) + 0.9);
    Picker->SetMaxDate(0);
    Picker->SetMinDate(0);
    Picker->SetDate(EncodeDate(1700, 1, 1));
    EXPECT_EQ(Picker->Text(), "01/01/1700");
}

TEST_F(DateTimePickerTest, F4OpensTheCalendarOnlyWithoutCtrlOrAlt) {
    struct TCase {
        TShiftState Shift;
        bool Opens;
    };
    const TCase cases[] = {{{}, true}, {{ssCtrl}, false}, {{ssAlt}, false}, {{ssCtrl, ssAlt}, false}};
    for (const TCase& c : cases) {
        int drops = 0;
        Picker->OnDropDown = [&](TObject*) { ++drops; };
        SimulateKey(Picker, VK_F4, c.Shift);
        EXPECT_EQ(Picker->DroppedDown(), c.Opens);
        EXPECT_EQ(drops, c.Opens ? 1 : 0);
        Picker->CloseUpCalendar();
    }
    // The time kind and up-down mode have no calendar.
    Picker->SetDateMode(dmUpDown);
    SimulateKey(Picker, VK_F4);
    EXPECT_FALSE(Picker->DroppedDown());
}

TEST_F(DateTimePickerTest, NotificationsComeBackThroughTheParent) {
    std::vector<int> codes;
    Picker->OnChange = [&](TObject*) { codes.push_back(DTN_DATETIMECHANGE); };
    Picker->OnDropDown = [&](TObject*) { codes.push_back(DTN_DROPDOWN); };
    Picker->OnCloseUp = [&](TObject*) { codes.push_back(DTN_CLOSEUP); };
    Picker->DropDownCalendar();
    Picker->CloseUpCalendar();
    // Typing into the day field changes the value: DTN_DATETIMECHANGE.
    SimulateText(Picker, "07");
    EXPECT_EQ(Picker->Text().left(2), "07");
    EXPECT_EQ(codes, (std::vector<int>{DTN_DROPDOWN, DTN_CLOSEUP, DTN_DATETIMECHANGE}));
    // Set by code: no notification.
    Picker->SetDate(EncodeDate(2020, 1, 1));
    EXPECT_EQ(codes.size(), 3u);
}

TEST_F(DateTimePickerTest, RightAndLeftMoveBetweenFields) {
    const int first = Picker->CurrentField();
    SimulateKey(Picker, VK_RIGHT);
    EXPECT_EQ(Picker->CurrentField(), first + 1);
    SimulateKey(Picker, VK_LEFT);
    EXPECT_EQ(Picker->CurrentField(), first);
}

TEST_F(DateTimePickerTest, UncheckedBoxMeansNoDate) {
    Picker->SetShowCheckbox(true);
    SYSTEMTIME st;
    EXPECT_EQ(Picker->Perform(DTM_GETSYSTEMTIME, 0, LPARAM(&st)), GDT_VALID);
    EXPECT_EQ(st.wYear, 2024);
    Picker->Perform(DTM_SETSYSTEMTIME, GDT_NONE, 0);
    EXPECT_FALSE(Picker->Checked());
    EXPECT_EQ(Picker->Perform(DTM_GETSYSTEMTIME, 0, LPARAM(&st)), GDT_NONE);
    // Typing does nothing while unchecked.
    SimulateText(Picker, "1");
    EXPECT_EQ(Picker->Text(), "05/03/2024");
    Picker->SetChecked(true);
    EXPECT_EQ(Picker->Perform(DTM_GETSYSTEMTIME, 0, LPARAM(&st)), GDT_VALID);
}

TEST_F(DateTimePickerTest, CalendarStylesAndMinimumSize) {
    Picker->Perform(DTM_SETMCSTYLE, 0, LPARAM(MCS_NOTODAY));
    EXPECT_EQ(Picker->Perform(DTM_GETMCSTYLE), LRESULT(MCS_NOTODAY));
    const TSize noToday = Picker->CalendarMinSize();
    Picker->SetCalendarStyle(0);
    const TSize plain = Picker->CalendarMinSize();
    Picker->SetCalendarStyle(MCS_WEEKNUMBERS);
    const TSize weeks = Picker->CalendarMinSize();
    EXPECT_GT(plain.cy, noToday.cy); // the today line
    EXPECT_GT(weeks.cx, plain.cx);   // the week-number column
    EXPECT_GE(plain.cx, 150);
}

TEST_F(DateTimePickerTest, DefaultFaceIsQtsDateTimeEdit) {
    QDateTimeEdit plain;
    plain.setDisplayFormat("dd/MM/yyyy");
    plain.setCalendarPopup(true);
    plain.setDateTime(QDateTime(QDate(2024, 3, 5), QTime(14, 30, 15)));
    plain.setFont(Picker->NativeWidget()->font());
    plain.setPalette(Picker->NativeWidget()->palette());
    plain.resize(186, 21);
    // Unfocused: no field is highlighted.
    auto* other = new TEdit(Form);
    other->SetParent(Form);
    other->SetBounds(10, 50, 100, 21);
    other->SetFocus();
    const QImage expected = plain.grab().toImage().convertToFormat(QImage::Format_RGB32);
    const QImage actual = ControlImage(Picker).convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(actual.size(), expected.size());
    EXPECT_EQ(actual, expected);
}

} // namespace
