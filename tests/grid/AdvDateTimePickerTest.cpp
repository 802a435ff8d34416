// The date/time picker of the drop-down editors: the date-and-time kind with its embedded time
// picker, Date and Time keeping the other part, kind switching, the caption label's placements,
// auto-tab through "DTPShiftFocus", the check box coupling and bad values.
#include "AdvDateTimePicker.h"
#include "Forms.h"

#include <QCheckBox>

#include <gtest/gtest.h>

namespace {

class AdvDateTimePickerTest : public ::testing::Test {
protected:
    void SetUp() override {
        Form = new TForm(nullptr);
        Form->SetBounds(100, 100, 500, 300);
        Picker = new TAdvDateTimePicker(Form);
        Picker->SetParent(Form);
        Picker->SetBounds(120, 60, 200, 21);
    }
    void TearDown() override { TObject::Free(Form); }
    TForm* Form = nullptr;
    TAdvDateTimePicker* Picker = nullptr;
};

// 2024-03-05 (days since 1899-12-30).
constexpr TDateTime March5 = 45356;

TEST_F(AdvDateTimePickerTest, DateTimeDropsMillisecondsInBothParts) {
    EXPECT_EQ(Picker->Kind(), dkDateTime);
    EXPECT_EQ(Picker->TimePicker(), nullptr);
    Picker->SetDateTime(March5 + EncodeTime(14, 30, 15, 750));
    const TDateTime expected = March5 + EncodeTime(14, 30, 15, 0);
    ASSERT_NE(Picker->TimePicker(), nullptr);
    EXPECT_DOUBLE_EQ(Picker->TDateTimePicker::DateTime(), expected);
    EXPECT_DOUBLE_EQ(Picker->TimePicker()->TDateTimePicker::DateTime(), expected);
    EXPECT_DOUBLE_EQ(Picker->DateTime(), expected);
}

TEST_F(AdvDateTimePickerTest, DateKeepsTheTimeAndTimeShowsInBothParts) {
    Picker->SetDateTime(March5 + EncodeTime(14, 30, 15, 0));
    Picker->SetDate(EncodeDate(2024, 12, 24) + 0.75);
    EXPECT_DOUBLE_EQ(Picker->DateTime(), EncodeDate(2024, 12, 24) + EncodeTime(14, 30, 15, 0));
    Picker->SetTime(EncodeTime(9, 5, 0, 0));
    EXPECT_DOUBLE_EQ(Picker->Time(), EncodeTime(9, 5, 0, 0));
    EXPECT_DOUBLE_EQ(Picker->TimePicker()->TDateTimePicker::Time(), EncodeTime(9, 5, 0, 0));
    EXPECT_DOUBLE_EQ(Picker->DateTime(), EncodeDate(2024, 12, 24) + EncodeTime(9, 5, 0, 0));
}

TEST_F(AdvDateTimePickerTest, ValueThatCannotBeEncodedChangesNothing) {
    Picker->SetFormat("dd/MM/yyyy");
    Picker->SetDateTime(March5 + EncodeTime(14, 30, 15, 0));
    Form->Show();
    const String text = Picker->Text();
    EXPECT_THROW(Picker->SetDateTime(EncodeDate(9999, 12, 31) + 1), EConvertError);
    EXPECT_THROW(Picker->SetDate(1e9), EConvertError);
    EXPECT_DOUBLE_EQ(Picker->DateTime(), March5 + EncodeTime(14, 30, 15, 0));
    EXPECT_EQ(Picker->Text(), text);
}

TEST_F(AdvDateTimePickerTest, KindSwitchingFreesAndMakesTheTimePicker) {
    Form->Show();
    TCustomDateTimePicker* first = Picker->TimePicker();
    ASSERT_NE(first, nullptr);
    EXPECT_TRUE(first->Visible());
    EXPECT_EQ(first->Parent(), Picker);
    EXPECT_EQ(first->Kind(), dtkTime);
    // Laid out at the right edge, inside the control.
    EXPECT_GT(first->Left(), 0);
    EXPECT_LE(first->Left() + first->Width(), Picker->Width());
    Picker->SetKind(dkDate);
    EXPECT_EQ(Picker->TimePicker(), nullptr);
    EXPECT_EQ(Picker->TDateTimePicker::Kind(), dtkDate);
    Picker->SetKind(dkTime);
    EXPECT_EQ(Picker->TDateTimePicker::Kind(), dtkTime);
    EXPECT_EQ(Picker->TimePicker(), nullptr);
    Picker->SetKind(dkDateTime);
    ASSERT_NE(Picker->TimePicker(), nullptr);
    EXPECT_TRUE(Picker->TimePicker()->Visible());
}

TEST_F(AdvDateTimePickerTest, LabelPlacements) {
    Picker->SetLabelCaption("Start");
    TLabel* label = Picker->PickerLabel();
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->Parent(), Form);
    const int lw = label->Width(), lh = label->Height();
    struct TCase {
        TLabelPosition Position;
        int Left, Top;
    };
    const TCase cases[] = {
        {lpLeftTop, 120 - lw - 4, 60},
        {lpLeftCenter, 120 - lw - 4, 60 + (21 - lh) / 2},
        {lpLeftBottom, 120 - lw - 4, 81 - lh},
        {lpTopLeft, 120, 60 - lh - 4},
        {lpBottomLeft, 120, 85},
        {lpLeftTopLeft, 116, 60},
        {lpLeftCenterLeft, 116, 60 + (21 - lh) / 2},
        {lpLeftBottomLeft, 116, 81 - lh},
        {lpTopCenter, 120 + (200 - lw) / 2, 60 - lh - 4},
        {lpBottomCenter, 120 + (200 - lw) / 2, 85},
        {lpRightTop, 324, 60},
        {lpRightCenter, 324, 60 + (21 - lh) / 2},
        {lpRighBottom, 324, 81 - lh},
    };
    for (const TCase& c : cases) {
        Picker->SetLabelPosition(c.Position);
        EXPECT_EQ(label->Left(), c.Left) << int(c.Position);
        EXPECT_EQ(label->Top(), c.Top) << int(c.Position);
    }
    // The label follows the control's bounds, visibility and enabled state.
    Picker->SetBounds(150, 100, 200, 21);
    EXPECT_EQ(label->Left(), 354);
    Picker->SetEnabled(false);
    EXPECT_FALSE(label->Enabled());
    Picker->SetVisible(false);
    EXPECT_FALSE(label->Visible());
}

class AutoTabTest : public AdvDateTimePickerTest {
protected:
    void Start(const String& Format) {
        Picker->SetFormat(Format);
        Picker->SetAutoTab(true);
        Picker->SetDateTime(March5 + EncodeTime(14, 30, 15, 0));
        Form->Show();
        Picker->SetFocus();
    }
    // Types the digits one by one, as a user does: the posted "DTPShiftFocus" (and the
    // VK_RIGHT it may post) run after each.
    void Type(const String& Digits) {
        for (const QChar c : Digits) {
            SimulateText(FindControl(GetFocus()), String(c));
            Application->ProcessMessages();
            Application->ProcessMessages();
        }
    }
};

TEST_F(AutoTabTest, ShiftFocusIsTheRegisteredMessage) {
    EXPECT_EQ(DTPShiftFocusMessage(), RegisterWindowMessage("DTPShiftFocus"));
    EXPECT_GE(DTPShiftFocusMessage(), REGISTERED_MESSAGE_BASE);
}

TEST_F(AutoTabTest, CustomFormatEndingInTheYear) {
    Start("dd/MM/yyyy");
    ASSERT_EQ(Picker->CurrentField(), 0);
    // A digit that changes the day moves one field right.
    Type("07");
    EXPECT_EQ(Picker->CurrentField(), 1);
    EXPECT_TRUE(Picker->Focused());
    // Digits that change the year (the last field): the time part takes the focus.
    SimulateKey(Picker, VK_RIGHT);
    ASSERT_EQ(Picker->CurrentField(), 2);
    Type("2025");
    EXPECT_TRUE(Picker->TimePicker()->Focused());
    EXPECT_DOUBLE_EQ(Picker->Date(), EncodeDate(2025, 3, 7));
}

TEST_F(AutoTabTest, DefaultFormat) {
    // The run-time short date format decides the fields: day, month, year here.
    const TFormatSettings saved = FormatSettings;
    struct TRestore {
        const TFormatSettings& Saved;
        ~TRestore() { FormatSettings = Saved; }
    } restore{saved};
    FormatSettings.ShortDateFormat = "dd/mm/yyyy";
    FormatSettings.DateSeparator = u'/';
    Start("");
    ASSERT_EQ(Picker->Text(), "05/03/2024");
    ASSERT_EQ(Picker->CurrentField(), 0);
    // The first field of the locale's short date, its value typed again: no move.
    const String text = Picker->Text();
    const String firstField = text.left(text.indexOf(FormatSettings.DateSeparator));
    Type(firstField.rightJustified(2, u'0'));
    EXPECT_EQ(Picker->CurrentField(), 0);
    EXPECT_TRUE(Picker->Focused());
    // A digit that changes the day or the month moves one field right.
    Type(firstField == "01" || firstField == "1" ? "02" : "01");
    EXPECT_EQ(Picker->CurrentField(), 1);
}

TEST_F(AutoTabTest, OffMovesNowhere) {
    Start("dd/MM/yyyy");
    Picker->SetAutoTab(false);
    Type("07");
    EXPECT_EQ(Picker->CurrentField(), 0);
    EXPECT_DOUBLE_EQ(Picker->Date(), EncodeDate(2024, 3, 7));
}

TEST_F(AdvDateTimePickerTest, CheckBoxEnablesTheTimePart) {
    Picker->SetShowCheckbox(true);
    Picker->SetDateTime(March5);
    Form->Show();
    auto* box = Picker->NativeWidget()->findChild<QCheckBox*>();
    ASSERT_NE(box, nullptr);
    ASSERT_NE(Picker->TimePicker(), nullptr);
    EXPECT_TRUE(Picker->TimePicker()->Enabled());
    box->click();
    EXPECT_FALSE(Picker->Checked());
    EXPECT_FALSE(Picker->TimePicker()->Enabled());
    box->click();
    EXPECT_TRUE(Picker->Checked());
    EXPECT_TRUE(Picker->TimePicker()->Enabled());
    // The date cleared by code: the time part goes off with it, and comes back with a date.
    Picker->Perform(DTM_SETSYSTEMTIME, GDT_NONE, 0);
    EXPECT_FALSE(Picker->Checked());
    EXPECT_FALSE(Picker->TimePicker()->Enabled());
    Picker->SetDate(March5);
    EXPECT_TRUE(Picker->Checked());
    EXPECT_TRUE(Picker->TimePicker()->Enabled());
}

TEST_F(AdvDateTimePickerTest, VersionAndConstructorValues) {
    EXPECT_EQ(Picker->Version(), "1.2.0.0");
    Picker->SetVersion("3.0.0.0");
    EXPECT_EQ(Picker->Version(), "1.2.0.0");
    EXPECT_EQ(Picker->BorderStyle(), bsSingle);
    EXPECT_TRUE(Picker->Ctl3D());
    EXPECT_EQ(Picker->LabelMargin(), 4);
    EXPECT_FALSE(Picker->MetroStyle());
    EXPECT_EQ(Picker->BorderColor(), clBlack);
}

} // namespace
