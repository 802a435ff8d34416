// The grid's editor controls: the combo box (label, focus colour, button width, list closing,
// custom borders) and the date picker (metro frame, version), each painting as the platform's
// control by default; the base cell checker; the label placements they share.
#include "AdvStringGridCheck.h"
#include "AsgCombo.h"
#include "AsgDateTimePicker.h"
#include "Forms.h"

#include <QImage>

#include "ControlImage.h"

#include <gtest/gtest.h>

namespace {

QRgb Rgb(TColor C) {
    const TColor c = ColorToRGB(C);
    return qRgb(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF);
}

class EditorControlsTest : public ::testing::Test {
protected:
    void SetUp() override {
        Form = new TForm(nullptr);
        Form->SetBounds(100, 100, 500, 300);
        Other = new TEdit(Form);
        Other->SetParent(Form);
        Other->SetBounds(300, 200, 100, 21);
    }
    void TearDown() override { TObject::Free(Form); }
    // A control made inside a loading bracket, as forms make theirs.
    template <class T> T* Make(int L, int T_, int W, int H, const std::function<void(T*)>& Setup = {}) {
        Form->BeginLoading();
        T* c = new T(Form);
        c->SetParent(Form);
        c->SetBounds(L, T_, W, H);
        if (Setup) Setup(c);
        Form->EndLoading();
        return c;
    }
    TForm* Form = nullptr;
    TEdit* Other = nullptr;
};

TEST_F(EditorControlsTest, ComboButtonWidthTakesOnly14To32) {
    auto* combo = Make<TAsgComboBox>(100, 20, 145, 21);
    const int initial = combo->ButtonWidth();
    EXPECT_EQ(initial, 19); // scroll-bar width + 2
    const std::pair<int, int> cases[] = {{13, initial}, {33, initial}, {14, 14}, {32, 32}, {0, 32}, {20, 20}};
    for (auto [set, expected] : cases) {
        combo->SetButtonWidth(set);
        EXPECT_EQ(combo->ButtonWidth(), expected) << "set " << set;
    }
}

TEST_F(EditorControlsTest, ComboFocusColourAndBackToTheLoadedColour) {
    auto* combo = Make<TAsgComboBox>(100, 20, 145, 21, [](TAsgComboBox* c) {
        c->SetColor(clInfoBk);
        c->SetFocusColor(clYellow);
        c->SetFocusLabel(true);
        c->SetLabelCaption("Name");
    });
    Form->Show();
    EXPECT_EQ(combo->Color(), clInfoBk);
    combo->SetFocus();
    EXPECT_EQ(combo->Color(), clYellow);
    EXPECT_TRUE(combo->ComboLabel()->Font()->Style().count(fsBold));
    Other->SetFocus();
    EXPECT_EQ(combo->Color(), clInfoBk);
    EXPECT_FALSE(combo->ComboLabel()->Font()->Style().count(fsBold));
}

TEST_F(EditorControlsTest, ComboLabelLeftAtTheSameTopAndFollowingTheCombo) {
    auto* combo = Make<TAsgComboBox>(100, 20, 145, 21);
    EXPECT_EQ(combo->ComboLabel(), nullptr);
    EXPECT_EQ(combo->LabelCaption(), "");
    combo->SetLabelCaption("Protocol");
    TLabel* label = combo->ComboLabel();
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->Parent(), Form);
    EXPECT_EQ(label->FocusControl(), combo);
    EXPECT_EQ(label->Top(), 20);
    EXPECT_EQ(label->Left() + label->Width(), 100 - 4);
    combo->SetBounds(150, 60, 145, 21);
    EXPECT_EQ(label->Top(), 60);
    EXPECT_EQ(label->Left() + label->Width(), 150 - 4);
    combo->SetEnabled(false);
    EXPECT_FALSE(label->Enabled());
    combo->SetEnabled(true);
    combo->SetLabelAlwaysEnabled(true);
    combo->SetEnabled(false);
    EXPECT_TRUE(label->Enabled());
    combo->SetVisible(false);
    EXPECT_FALSE(label->Visible());
    combo->SetLabelPosition(lpTopLeft);
    combo->SetVisible(true);
    EXPECT_EQ(label->Left(), 150);
    EXPECT_EQ(label->Top(), 60 - label->Height() - 4);
}

TEST_F(EditorControlsTest, ClosingTheListFiresOnDropUpOpeningDoesNot) {
    auto* combo = Make<TAsgComboBox>(100, 20, 145, 21);
    combo->Items()->Add("one");
    int dropUps = 0;
    combo->OnDropUp = [&](TObject* Sender) {
        EXPECT_EQ(Sender, combo);
        ++dropUps;
    };
    Form->Show();
    combo->SetDroppedDown(true);
    EXPECT_EQ(dropUps, 0);
    combo->SetDroppedDown(false);
    EXPECT_EQ(dropUps, 1);
}

TEST_F(EditorControlsTest, DefaultComboPaintsAsThePlatformComboBox) {
    auto* asg = Make<TAsgComboBox>(10, 20, 145, 21, [](TAsgComboBox* c) { c->Items()->Add("Modbus"); });
    auto* plain = Make<TComboBox>(10, 60, 145, 21, [](TComboBox* c) { c->Items()->Add("Modbus"); });
    asg->SetItemIndex(0);
    plain->SetItemIndex(0);
    Form->Show();
    EXPECT_EQ(ControlImage(asg), ControlImage(plain));
}

TEST_F(EditorControlsTest, ComboBorderAndButtonColours) {
    auto* combo = Make<TAsgComboBox>(10, 20, 145, 21, [](TAsgComboBox* c) {
        c->SetStyle(csDropDownList);
        c->SetBorderColor(clRed);
        c->ButtonColor = clBlue;
        c->ButtonTextColor = clWhite;
        c->ButtonBorderColor = clBlue;
    });
    Form->Show();
    const QImage img = ControlImage(combo);
    EXPECT_EQ(img.pixel(0, 0), Rgb(clRed));
    EXPECT_EQ(img.pixel(144, 20), Rgb(clRed));
    EXPECT_EQ(img.pixel(70, 0), Rgb(clRed));
    // The button area inside the frame is the button colour, with the arrow in the text colour.
    EXPECT_EQ(img.pixel(140, 4), Rgb(clBlue));
    EXPECT_EQ(img.pixel(145 - 19 + 2 + 4 + 3, 1 + 1 + 8), Rgb(clWhite));
}

TEST_F(EditorControlsTest, DefaultPickerPaintsAsThePlatformPicker) {
    const TDateTime value = EncodeDate(2024, 3, 5);
    auto* asg = Make<TAsgDateTimePicker>(10, 20, 186, 21, [&](TAsgDateTimePicker* p) { p->SetDate(value); });
    auto* plain = Make<TDateTimePicker>(10, 60, 186, 21, [&](TDateTimePicker* p) { p->SetDate(value); });
    Form->Show();
    EXPECT_EQ(asg->BorderStyle(), bsNone);
    EXPECT_EQ(asg->BorderColor(), clNone);
    EXPECT_EQ(ControlImage(asg), ControlImage(plain));
}

TEST_F(EditorControlsTest, PickerMetroFrame) {
    auto* picker = Make<TAsgDateTimePicker>(10, 20, 186, 21);
    Form->Show();
    const QImage plain = ControlImage(picker);
    picker->SetMetroStyle(true);
    picker->SetBorderColor(clGreen);
    QImage img = ControlImage(picker);
    for (const QPoint p : {QPoint(0, 0), QPoint(185, 0), QPoint(0, 20), QPoint(185, 20), QPoint(90, 20)})
        EXPECT_EQ(img.pixel(p), Rgb(clGreen)) << p.x() << "," << p.y();
    // Only a focus border colour: the frame shows while the picker has the focus.
    picker->SetBorderColor(clNone);
    picker->SetFocusBorderColor(clFuchsia);
    EXPECT_EQ(ControlImage(picker).pixel(90, 0), plain.pixel(90, 0));
    picker->SetFocus();
    EXPECT_EQ(ControlImage(picker).pixel(90, 0), Rgb(clFuchsia));
    Other->SetFocus();
    EXPECT_NE(ControlImage(picker).pixel(90, 0), Rgb(clFuchsia));
}

TEST_F(EditorControlsTest, PickerVersionReadsOneZeroZeroZero) {
    auto* picker = Make<TAsgDateTimePicker>(10, 20, 186, 21);
    EXPECT_EQ(picker->Version(), "1.0.0.0");
    picker->SetVersion("9.9.9.9");
    EXPECT_EQ(picker->Version(), "1.0.0.0");
}

TEST(CellCheckerBase, ChangesNoText) {
    TAdvStringGridCheck check(nullptr);
    for (const char* s : {"", "abc", " 12,5 ", "\t\n"}) {
        EXPECT_EQ(check.Correct(1, 2, s), s);
        EXPECT_EQ(check.MarkError(1, 2, s), s);
    }
    EXPECT_FALSE(check.GotoCell || check.AutoCorrect || check.AutoMarkError || check.UseCorrect ||
                 check.UseMarkError);
}

TEST(EditorLabelPlacement, ThirteenPlacements) {
    // A control at (100, 50) of 80 x 20; a label of 30 x 14 whose caption is 28 wide; margin 4.
    const TRect bounds = Bounds(100, 50, 80, 20);
    struct TCase {
        TLabelPosition Position;
        TPoint At;
    };
    const TCase cases[] = {
        {lpLeftTop, {68, 50}},        {lpLeftCenter, {68, 53}},     {lpLeftBottom, {68, 56}},
        {lpTopLeft, {100, 32}},       {lpBottomLeft, {100, 74}},    {lpLeftTopLeft, {96, 50}},
        {lpLeftCenterLeft, {96, 53}}, {lpLeftBottomLeft, {96, 56}}, {lpTopCenter, {125, 32}},
        {lpBottomCenter, {125, 74}},  {lpRightTop, {184, 50}},      {lpRightCenter, {184, 53}},
        {lpRighBottom, {184, 56}},
    };
    for (const TCase& c : cases)
        EXPECT_EQ(LabelPlace(c.Position, bounds, 30, 14, 28, 4), c.At) << int(c.Position);
    // Wider and taller than the control: the halves truncate toward zero.
    EXPECT_EQ(LabelPlace(lpTopCenter, bounds, 85, 14, 0, 4).X, 98);
    EXPECT_EQ(LabelPlace(lpLeftCenter, bounds, 30, 25, 28, 4).Y, 48);
}

} // namespace
