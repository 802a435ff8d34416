// The calculator drop-down on a real form. The keypad: its 28 keys, the layout for a known panel
// size, the point on a shared border line, press and release (also released elsewhere), hot and
// pressed key faces on pixels with and without visual styles. The key appearance and key items:
// defaults, notification, copies and the style taken from the drop button. The engine: the key
// sequences of a pocket calculator as one table (clicked on the keypad), memory with thousand
// separators, MaxLength, displays that do not convert ("-", "Error"), huge numbers and long
// fractions, and both keyboards (popup shown and popup hidden).
#include "AdvCalculatorDropDown.h"

#include "ControlImage.h"
#include "DropDownTestSupport.h"
#include "StdCtrls.h"
#include "SysUtils.h"
#include "TestSupport.h"

#include <QImage>
#include <gtest/gtest.h>

#include <algorithm>
#include <limits>
#include <vector>

namespace {

class CalculatorDropDown : public DropDownFormTest {
protected:
    void SetUp() override {
        DropDownFormTest::SetUp();
        Saved = FormatSettings;
        FormatSettings.DecimalSeparator = Char(u'.');
        FormatSettings.ThousandSeparator = Char(u',');
        SavedException = Application->OnException;
        Application->OnException = [this](TObject*, Exception& E) { Errors.push_back(E.Message()); };
        Calc = NewCalculator();
    }
    void TearDown() override {
        Application->OnException = SavedException;
        DropDownFormTest::TearDown();
        FormatSettings = Saved;
        ResetPlatformSwitches();
    }
    TAdvCalculatorDropdown* NewCalculator() {
        auto* c = new TAdvCalculatorDropdown(Form);
        c->SetParent(Form);
        c->SetBounds(20, 30, 200, 21);
        c->SetFocus();
        return c;
    }
    TCustomButtonPanel* Pad() const { return Calc->ButtonPanel(); }
    // The index of the key with this caption.
    int Key(const String& Caption) const {
        for (int i = 0; i < Pad()->Buttons()->Count(); ++i)
            if (Pad()->Buttons()->Items(i)->Caption() == Caption) return i;
        ADD_FAILURE() << "no key " << Caption.toStdString();
        return -1;
    }
    // A click on the key as the user gives it, on the shown keypad.
    void Click(const String& Caption) {
        const TRect r = Pad()->GetButtonRect(Key(Caption));
        SimulateClick(Pad(), (r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2);
    }
    // Clicks the keys of a sequence separated by blanks.
    void Keys(const String& Sequence) {
        for (const String& k : Sequence.split(u' ', Qt::SkipEmptyParts)) Click(k);
    }
    String Display() const { return Calc->Text(); }

    TFormatSettings Saved;
    TExceptionEvent SavedException;
    std::vector<String> Errors;
    TAdvCalculatorDropdown* Calc = nullptr;
};

// ---- The keys and the layout ----

TEST_F(CalculatorDropDown, ANewCalculatorHasItsDefaultsAndItsKeypad) {
    EXPECT_EQ(Calc->EditType(), etFloat);
    EXPECT_EQ(Calc->Precision(), 2);
    EXPECT_EQ(Calc->DropDownWidth(), 230);
    EXPECT_EQ(Calc->DropDownColor(), clWhite);
    EXPECT_FALSE(Calc->DropDownHeader()->Visible());
    EXPECT_FALSE(Calc->DropDownFooter()->Visible());
    EXPECT_FALSE(Calc->ShowThousandSeparator());
    EXPECT_EQ(Display(), QStringLiteral("0.00"));
    ASSERT_NE(Pad(), nullptr);
    EXPECT_EQ(Calc->Control(), Pad());
    EXPECT_EQ(Pad()->AdvDropDown(), Calc);
    EXPECT_EQ(Pad()->Height(), 150);
    ASSERT_EQ(Pad()->Buttons()->Count(), 28);
    struct Expected {
        int Index;
        const char16_t *Name, *Caption;
        int Tag;
        bool Special;
    } keys[] = {
        {0, u"BTN_ON", u"", 30, false},  {1, u"BTN_BACK", u"Back", 31, true},
        {3, u"BTN_C", u"C", 16, true},   {7, u"BTN_M+", u"M+", 36, true},
        {8, u"BTN_0", u"0", 0, false},   {15, u"BTN_+/-", u"+/-", 14, false},
        {16, u"BTN_.", u".", 15, false}, {20, u"BTN_/", u"/", 13, true},
        {24, u"BTN_=", u"=", 17, true},  {25, u"BTN_1/x", u"1/x", 38, false},
        {26, u"BTN_%", u"%", 18, false}, {27, u"BTN_sqrt", u"sqrt", 37, true},
    };
    for (const Expected& k : keys) {
        TButtonItem* item = Pad()->Buttons()->Items(k.Index);
        EXPECT_EQ(item->Name(), String::fromUtf16(k.Name)) << k.Index;
        EXPECT_EQ(item->Caption(), String::fromUtf16(k.Caption)) << k.Index;
        EXPECT_EQ(item->Tag(), k.Tag) << k.Index;
        EXPECT_EQ(item->Special(), k.Special) << k.Index;
        EXPECT_EQ(item->CaptionColor(), k.Special ? TColor(0x000080) : TColor(0xFFFFFF)) << k.Index;
    }
    Calc->ShowDropDown();
    ASSERT_TRUE(Calc->DroppedDown());
    EXPECT_FALSE(Calc->DropDownForm()->CancelOnDeActivate());
    EXPECT_EQ(Pad()->Color(), clWhite);
    Calc->HideDropDown(false);
}

class ButtonPanel : public ::testing::Test {
protected:
    void SetUp() override {
        Form = new TForm(nullptr);
        Form->SetBounds(100, 100, 400, 300);
        Form->Show();
        Pad = new TCustomButtonPanel(Form);
        Pad->SetParent(Form);
        Pad->SetBounds(10, 10, 228, 150);
        Pad->CreateButtons();
        Pad->OnButtonClick = [this](TObject*, int Index) { Clicks.push_back(Index); };
    }
    void TearDown() override {
        TObject::Free(Form);
        ResetPlatformSwitches();
    }
    TForm* Form = nullptr;
    TCustomButtonPanel* Pad = nullptr;
    std::vector<int> Clicks;
};

TEST_F(ButtonPanel, TheKeysOfA228By150PanelSitInTheirGroups) {
    // Keys 34 x 26; groups 4 pixels apart, the keys of a group sharing their border line.
    struct Place {
        int Index;
        TRect Rect;
    } places[] = {
        {0, {8, 8, 42, 34}},      {1, {46, 8, 100, 34}},      {2, {104, 8, 158, 34}},
        {3, {162, 8, 217, 34}},   {4, {8, 38, 42, 64}},       {7, {8, 113, 42, 139}},
        {11, {46, 38, 80, 64}},   {12, {79, 38, 113, 64}},    {19, {112, 38, 146, 64}},
        {10, {46, 63, 80, 89}},   {8, {46, 113, 80, 139}},    {20, {150, 38, 184, 64}},
        {27, {183, 38, 217, 64}}, {24, {183, 113, 217, 139}},
    };
    for (const Place& p : places) EXPECT_EQ(Pad->GetButtonRect(p.Index), p.Rect) << p.Index;
    EXPECT_EQ(Pad->GetButtonRect(28), TRect(-1, -1, -1, -1));
    EXPECT_EQ(Pad->GetButtonRect(-1), TRect(-1, -1, -1, -1));
    // A new size lays the keys out again.
    Pad->SetBounds(10, 10, 116, 120); // keys 15 x 20
    EXPECT_EQ(Pad->GetButtonRect(11), TRect(27, 32, 42, 52));
    // Custom panels keep the rectangles they have.
    Pad->SetButtonPanelType(plCustom);
    Pad->SetBounds(10, 10, 228, 150);
    EXPECT_EQ(Pad->GetButtonRect(11), TRect(27, 32, 42, 52));
    // Panels too small for their keys give empty keys and paint without harm.
    Pad->SetButtonPanelType(plCalculator);
    Pad->SetBounds(10, 10, 5, 5);
    EXPECT_LE(Pad->GetButtonRect(11).Width(), 0);
    EXPECT_FALSE(ControlImage(Pad).isNull());
}

TEST_F(ButtonPanel, APointOnASharedLineBelongsToTheEarlierKey) {
    // "7" (11) and "8" (12) share x = 79; "4" (10) and "7" (11) share y = 63.
    EXPECT_EQ(Pad->ButtonAt(79, 50), 11);
    EXPECT_EQ(Pad->ButtonAt(80, 50), 12);
    EXPECT_EQ(Pad->ButtonAt(50, 63), 10);
    EXPECT_EQ(Pad->ButtonAt(50, 62), 11);
    EXPECT_EQ(Pad->ButtonAt(146, 50), -1); // right edge of "9": the gap before "/"
    EXPECT_EQ(Pad->ButtonAt(3, 3), -1);
    SimulateClick(Pad, 79, 50);
    EXPECT_EQ(Clicks, std::vector<int>{11});
}

TEST_F(ButtonPanel, AClickCountsOnlyWhereItWasPressedAndNotOnDisabledKeys) {
    SimulateMouseDown(Pad, mbLeft, {}, 60, 50); // "7"
    EXPECT_EQ(Pad->ButtonDown(), 11);
    SimulateMouseUp(Pad, mbLeft, {}, 95, 50); // released on "8"
    EXPECT_EQ(Pad->ButtonDown(), -1);
    EXPECT_TRUE(Clicks.empty());
    Pad->Buttons()->Items(12)->SetEnabled(false);
    SimulateClick(Pad, 95, 50);
    EXPECT_EQ(Pad->ButtonDown(), -1);
    EXPECT_TRUE(Clicks.empty());
    SimulateMouseMove(Pad, {}, 60, 50);
    EXPECT_EQ(Pad->ButtonHot(), 11);
    SimulateMouseMove(Pad, {}, 95, 50); // a disabled key clears the hot key
    EXPECT_EQ(Pad->ButtonHot(), -1);
    SimulateMouseMove(Pad, {}, 60, 50);
    SimulateMouseLeave(Pad);
    EXPECT_EQ(Pad->ButtonHot(), -1);
    SimulateClick(Pad, 60, 50);
    EXPECT_EQ(Clicks, std::vector<int>{11});
}

// The key "7" as the panel shows it, without its outer line, which it shares with "8" and "4".
QImage KeyImage(TCustomButtonPanel* Pad) {
    const TRect r = Pad->GetButtonRect(11);
    return ControlImage(Pad).copy(r.Left + 1, r.Top + 1, r.Width() - 2, r.Height() - 2);
}

TEST_F(ButtonPanel, KeyFacesShowTheFourStatesThemedAndPlain) {
    for (const bool themed : {true, false}) {
        PlatformSwitches().VisualStylesActive = themed;
        PlatformSwitches().VisualStylesAvailable = themed;
        Pad->SetEnabled(true);
        SimulateMouseMove(Pad, {}, 3, 3);
        const QImage normal = KeyImage(Pad);
        SimulateMouseMove(Pad, {}, 60, 50);
        const QImage hot = KeyImage(Pad);
        SimulateMouseDown(Pad, mbLeft, {}, 60, 50);
        const QImage pressed = KeyImage(Pad);
        SimulateMouseUp(Pad, mbLeft, {}, 3, 3);
        SimulateMouseMove(Pad, {}, 3, 3);
        Pad->SetEnabled(false);
        const QImage disabled = KeyImage(Pad);
        EXPECT_NE(pressed, normal) << themed;
        if (themed) {
            EXPECT_NE(hot, normal);
            EXPECT_NE(disabled, normal);
        } else {
            // The platform's plain button: a raised frame, a sunken one while pressed.
            EXPECT_EQ(hot, normal);
            EXPECT_NE(normal.pixelColor(normal.width() - 1, normal.height() - 1), normal.pixelColor(0, 0));
            EXPECT_NE(pressed.pixelColor(0, 0), normal.pixelColor(0, 0));
        }
        // The caption in the text colour, in the middle of the key.
        bool black = false;
        for (int y = 6; y < normal.height() - 6; ++y)
            for (int x = 6; x < normal.width() - 6; ++x)
                black = black || normal.pixelColor(x, y) == QColor(Qt::black);
        EXPECT_TRUE(black) << themed;
    }
}

TEST_F(ButtonPanel, SpecialKeysAndTheFrameOfAPanelOnItsOwn) {
    PlatformSwitches().VisualStylesActive = false;
    Pad->ButtonAppearance()->SetSpecialTextColor(TColor(0x0000FF)); // red
    const QImage img = ControlImage(Pad);
    EXPECT_EQ(img.pixelColor(0, 0), QColor(Qt::black));
    EXPECT_EQ(img.pixelColor(227, 149), QColor(Qt::black));
    const TRect c = Pad->GetButtonRect(3); // "C"
    int red = 0;
    for (int y = c.Top; y < c.Bottom; ++y)
        for (int x = c.Left; x < c.Right; ++x) red += img.pixelColor(x, y) == QColor(Qt::red);
    EXPECT_GT(red, 3);
}

TEST_F(ButtonPanel, PicturesAndCaptionsFollowTheButtonLayout) {
    PlatformSwitches().VisualStylesActive = false;
    TCustomImageList* images = NewOneColourImages(TColor(0x0000FF), 8); // red
    Pad->SetButtonPanelType(plCustom);
    Pad->ClearButtons();
    TButtonItem* key = Pad->Buttons()->Add();
    key->SetCaption(QStringLiteral("Ab"));
    key->SetImageIndex(0);
    key->SetRect(TRect(10, 10, 110, 50)); // content (14, 14, 106, 46)
    Pad->SetImages(images);
    EXPECT_EQ(Pad->GetButtonRect(0), TRect(10, 10, 110, 50)); // custom keys keep their place
    TBitmap measure(1, 1);
    measure.Canvas()->Font()->Assign(Pad->ButtonAppearance()->Font());
    const TSize text = GetTextSize(measure.Canvas(), key->Caption());
    const QColor red(Qt::red);
    struct Case {
        TItemLayout Layout;
        int X, Y; // the picture's top-left corner
    } cases[] = {
        {ilCaptionRight, 14, 26},
        {ilCaptionLeft, 14 + text.cx, 26},
        {ilCaptionTop, 56, 14 + text.cy},
        {ilCaptionBottom, 56, 14},
    };
    for (const Case& c : cases) {
        Pad->SetButtonLayout(c.Layout);
        const QImage img = ControlImage(Pad);
        EXPECT_EQ(img.pixelColor(c.X, c.Y), red) << c.Layout;
        EXPECT_EQ(img.pixelColor(c.X + 7, c.Y + 7), red) << c.Layout;
        EXPECT_NE(img.pixelColor(c.X - 1, c.Y), red) << c.Layout;
        EXPECT_NE(img.pixelColor(c.X + 8, c.Y + 8), red) << c.Layout;
    }
    // The key's own picture comes first.
    TBitmap green(8, 8);
    green.Canvas()->Brush()->SetColor(TColor(0x00FF00));
    green.Canvas()->FillRect(TRect(0, 0, 8, 8));
    key->Image()->Assign(&green);
    Pad->SetButtonLayout(ilCaptionRight);
    EXPECT_EQ(ControlImage(Pad).pixelColor(15, 27), QColor(Qt::green));
    // The size that fits a caption beside a picture, in the panel's font.
    measure.Canvas()->Font()->Assign(Pad->Font());
    const TSize panelText = GetTextSize(measure.Canvas(), key->Caption());
    TSize size;
    Pad->GetButtonSize(size);
    EXPECT_EQ(size.cx, 8 + 8 + panelText.cx);
    EXPECT_EQ(size.cy, std::max(8, panelText.cy) + 8);
    Pad->SetButtonLayout(ilCaptionBottom);
    Pad->GetButtonSize(size);
    EXPECT_EQ(size.cx, std::max(8, panelText.cx) + 8);
    EXPECT_EQ(size.cy, 8 + 8 + panelText.cy);
    // A freed image list is forgotten.
    TObject::Free(images);
    EXPECT_EQ(Pad->Images(), nullptr);
    EXPECT_FALSE(ControlImage(Pad).isNull());
}

// ---- Key items and the key appearance ----

TEST(ButtonAppearance, DefaultsNotificationAndCopies) {
    TButtonAppearance a;
    EXPECT_EQ(a.Color(), TColor(0x9A915F));
    EXPECT_EQ(a.ColorTo(), TColor(0xB0A170));
    EXPECT_EQ(a.ColorDown(), TColor(0x4B2F08));
    EXPECT_EQ(a.ColorHotTo(), TColor(0xD5C244));
    EXPECT_EQ(a.BorderColorChecked(), TColor(0xFF0000));
    EXPECT_EQ(a.ColorCheckedTo(), ScaleColorChannels(0xF9D2B2, -10, -10, 0));
    EXPECT_EQ(a.ColorChecked(), ScaleColorChannels(0xF5F0E1, -10, -10, 0));
    EXPECT_EQ(a.ColorDisabled(), TColor(0xF2F2F2));
    EXPECT_EQ(a.ColorDisabledTo(), TColor(0xF2F2F2));
    EXPECT_EQ(a.SpecialTextColor(), TColor(0x000080));
    EXPECT_EQ(a.TextColor(), TColor(0x000000));
    EXPECT_EQ(a.Font()->Size(), 10);
    EXPECT_TRUE(a.Font()->Style().count(fsBold));
    int changes = 0;
    a.OnChange = [&](TObject*) { ++changes; };
    a.SetColor(0x9A915F); // the same value
    a.SetShineColor(0x123456);
    a.SetGlowColorHot(0x123456);
    EXPECT_EQ(changes, 0);
    a.SetColorHot(0x010203);
    a.SetSpecialTextColor(0x00FF00);
    EXPECT_EQ(changes, 2);

    TButtonAppearance b;
    b.Font()->SetSize(14);
    b.Assign(&a);
    EXPECT_EQ(b.ColorHot(), TColor(0x010203));
    EXPECT_EQ(b.SpecialTextColor(), TColor(0x00FF00));
    EXPECT_EQ(b.ShineColor(), TColor(0x123456));
    EXPECT_EQ(b.Font()->Size(), 10);
    TFont font;
    EXPECT_THROW(b.Assign(&font), Exception);
}

TEST(ButtonItems, AKeyCopiesItsContentButNotItsPlace) {
    TButtonItems items(nullptr);
    TButtonItem* a = items.Add();
    a->SetCaption(QStringLiteral("7"));
    a->SetTag(7);
    a->SetName(QStringLiteral("BTN_7"));
    a->SetImageIndex(2);
    a->SetEnabled(false);
    a->SetCaptionColor(0x000080);
    a->SetSpecial(true);
    a->SetRect(TRect(1, 2, 30, 40));
    EXPECT_EQ(a->GetRect(), TRect(1, 2, 30, 40));
    TButtonItem* b = items.Add();
    b->Assign(a);
    EXPECT_EQ(b->Caption(), QStringLiteral("7"));
    EXPECT_EQ(b->Tag(), 7);
    EXPECT_EQ(b->Name(), QStringLiteral("BTN_7"));
    EXPECT_EQ(b->ImageIndex(), 2);
    EXPECT_FALSE(b->Enabled());
    EXPECT_EQ(b->CaptionColor(), TColor(0x000080));
    EXPECT_FALSE(b->Special());
    EXPECT_EQ(b->GetRect(), TRect(0, 0, 0, 0));
    TButtonAppearance other;
    EXPECT_THROW(b->Assign(&other), Exception);
}

TEST_F(CalculatorDropDown, TheKeysTakeTheDropButtonsStyle) {
    for (const TKitStyle style : {tsOffice2007Luna, tsOffice2010Blue, tsWindows7}) {
        Calc->SetComponentStyle(style);
        const TAdvButtonAppearance* b = Calc->ButtonAppearance();
        TButtonAppearance* a = Calc->CalcButtonAppearance();
        EXPECT_EQ(a->Color(), b->Color()) << style;
        EXPECT_EQ(a->ColorHotTo(), b->ColorHotTo()) << style;
        EXPECT_EQ(a->ColorDisabledTo(), b->ColorDisabledTo()) << style;
        EXPECT_EQ(a->BorderColorChecked(), b->BorderColorDisabled()) << style;
        EXPECT_EQ(a->ColorChecked(), b->ColorDisabledTo()) << style;
        EXPECT_EQ(a->ColorCheckedTo(), b->ColorHotTo()) << style;
        if (style == tsOffice2010Blue) {
            EXPECT_EQ(a->GlowColorHot(), b->ColorHot());
            EXPECT_EQ(a->GlowColorDown(), b->ColorHot());
        } else {
            EXPECT_EQ(a->GlowColorHot(), b->ColorDownTo()) << style;
            EXPECT_EQ(a->GlowColorDown(), TColor(0xD5C244)) << style;
        }
    }
    // The keypad gets the appearance when the popup drops down.
    Calc->CalcButtonAppearance()->SetTextColor(0x00FF00);
    Calc->ShowDropDown();
    EXPECT_EQ(Pad()->ButtonAppearance()->TextColor(), TColor(0x00FF00));
    Calc->HideDropDown(false);
}

// ---- The engine ----

TEST_F(CalculatorDropDown, KeySequencesGiveWhatAPocketCalculatorShows) {
    struct Case {
        const char* Start; // a value written first ("" for none)
        const char* Keys;
        const char* Shown;
    } cases[] = {
        {"", "7 + 8 =", "15.00"},
        {"", "7 + 8 = + 2 =", "17.00"},
        {"", "2 0 0 + 1 0 %", "20.00"},
        {"", "2 0 0 + 1 0 % =", "220.00"},
        {"", "9 - 4 * 3 / 5 =", "3.00"},
        {"", "8 / 0 =", "Error"},
        {"", "8 / 0 = C", "0.00"},
        {"", "8 / 0 = C 5 =", "5.00"}, // no operator pending after "C"
        {"", "8 / 0 = 7", "7.00"},     // a digit on "Error" starts a number
        {"", "8 / 0 = + 2 =", "2.00"}, // an operator on "Error" reads it as 0
        {"", "5 . 2 5", "5.25"},
        {"", "7 + . 5 =", "7.50"}, // "." after an operator starts at 0
        {"", "5 . 1 2 3", "5.12"}, // each digit adds to the rounded display
        {"", "1 . 2 3 4 5 6 7 8 9 0 1", "1.23"},
        {"", "9 +/-", "-9.00"},
        {"", "9 +/- +/-", "9.00"},
        {"", "1 2 3 Back", "12.00"},
        {"", "1 2 + Back", "12.00"}, // only with no operator pending
        {"", "5 Back", "0.00"},
        {"", "9 sqrt", "3.00"},
        {"", "4 +/- sqrt", "Error"},
        {"", "4 1/x", "0.25"},
        {"", "0 1/x", "Error"},
        {"", "5 MS C MR", "5.00"},
        {"", "5 MS C 3 M+ MR", "8.00"},
        {"", "5 MS MC MR", "0.00"},
        {"", "4 + 5 CE =", "0.00"},
        {"1e300", "* =", "0.00"}, // overflow clears the accumulator
        {"1e308", "+ =", "0.00"},
        {"1e308", "+ = + 5 =", "5.00"},
        {"1e300", "+ %", "0.00"}, // so does a percentage too large
    };
    for (const Case& c : cases) {
        TObject::Free(Calc);
        Calc = NewCalculator();
        if (*c.Start) Calc->SetValue(QString::fromLatin1(c.Start).toDouble());
        Calc->ShowDropDown();
        Keys(QString::fromLatin1(c.Keys));
        EXPECT_EQ(Display(), QString::fromLatin1(c.Shown)) << c.Start << " | " << c.Keys;
        Calc->HideDropDown(false);
    }
    EXPECT_TRUE(Errors.empty());
}

TEST_F(CalculatorDropDown, MemoryTakesAndGivesThousandSeparators) {
    Calc->SetShowThousandSeparator(true);
    EXPECT_EQ(Calc->EditType(), etMoney);
    Calc->ShowDropDown();
    Keys(QStringLiteral("1 2 3 4 . 5"));
    EXPECT_EQ(Display(), QStringLiteral("1,234.50"));
    Keys(QStringLiteral("MS C"));
    EXPECT_EQ(Display(), QStringLiteral("0.00"));
    Keys(QStringLiteral("MR"));
    EXPECT_EQ(Display(), QStringLiteral("1,234.50"));
    Keys(QStringLiteral("M+ C MR"));
    EXPECT_EQ(Display(), QStringLiteral("2,469.00"));
    EXPECT_DOUBLE_EQ(Calc->Value(), 2469.0);
    Calc->SetShowThousandSeparator(false);
    EXPECT_EQ(Calc->EditType(), etFloat);
    EXPECT_EQ(Display(), QStringLiteral("2469.00"));
    Calc->HideDropDown(false);
}

TEST_F(CalculatorDropDown, AFullDisplayTakesNoDigitsButStillCalculates) {
    Calc->SetMaxLength(4);
    Calc->SetValue(1);
    Calc->ShowDropDown();
    ASSERT_EQ(Display(), QStringLiteral("1.00"));
    for (const char* k : {"5", "+/-", "."}) {
        Click(QString::fromLatin1(k));
        EXPECT_EQ(Display(), QStringLiteral("1.00")) << k;
        EXPECT_FALSE(Calc->IsModified()) << k;
    }
    Keys(QStringLiteral("+ ="));
    EXPECT_EQ(Display(), QStringLiteral("2.00"));
    EXPECT_TRUE(Calc->IsModified());
    Calc->HideDropDown(false);
}

TEST_F(CalculatorDropDown, ADisplayThatIsNoNumberIsReportedAndChangesNothing) {
    Calc->ShowDropDown();
    Keys(QStringLiteral("7 +"));
    for (const char* k : {"=", "-", "%"}) {
        Calc->SetEditorText(QStringLiteral("-"));
        Errors.clear();
        Click(QString::fromLatin1(k));
        EXPECT_EQ(Errors.size(), 1u) << k;
        EXPECT_EQ(Display(), QStringLiteral("-")) << k;
    }
    // The pending addition and the accumulator survived.
    Keys(QStringLiteral("2 ="));
    EXPECT_EQ(Display(), QStringLiteral("9.00"));
    // Value reads such a text as 0 and an empty one as 0 written.
    Calc->SetEditorText(QStringLiteral("-"));
    EXPECT_EQ(Calc->Value(), 0.0);
    Calc->SetEditorText(String());
    EXPECT_EQ(Calc->Value(), 0.0);
    EXPECT_EQ(Display(), QStringLiteral("0.00"));
    Calc->SetValue(2.5);
    EXPECT_EQ(Display(), QStringLiteral("2.50"));
    Calc->SetValue(std::numeric_limits<double>::infinity());
    EXPECT_EQ(Display(), QStringLiteral("0.00"));
    Calc->HideDropDown(false);
}

// ---- The keyboards ----

TEST_F(CalculatorDropDown, TheEditCalculatesWhileThePopupIsHidden) {
    auto type = [&](TWinControl* Target, const char* Keys) {
        for (const char* k = Keys; *k; ++k) {
            if (*k >= '0' && *k <= '9')
                SimulateText(Target, QString(QChar(*k)));
            else if (*k == '\r')
                SimulateKey(Target, VK_RETURN);
            else
                SimulateKey(Target, 0, {}, Char(*k));
        }
    };
    // Before the first drop-down.
    type(Calc, "7*6\r");
    EXPECT_EQ(Display(), QStringLiteral("42.00"));
    // Shown once and hidden again without a key.
    TObject::Free(Calc);
    Calc = NewCalculator();
    Calc->ShowDropDown();
    Calc->HideDropDown(false);
    Calc->SetFocus();
    type(Calc, "7*6\r");
    EXPECT_EQ(Display(), QStringLiteral("42.00"));
    type(Calc, "+8=");
    EXPECT_EQ(Display(), QStringLiteral("50.00"));
    // "C" clears the display; letters are swallowed.
    type(Calc, "Cx");
    EXPECT_EQ(Display(), QStringLiteral("0.00"));
    type(Calc, "12.5");
    EXPECT_EQ(Display(), QStringLiteral("12.50"));
    // Delete turns "Error" into 0.
    Calc->SetText(QStringLiteral("Error"));
    Calc->SetSelStart(5);
    SimulateKey(Calc, VK_DELETE);
    EXPECT_EQ(Display(), QStringLiteral("0.00"));
    EXPECT_TRUE(Errors.empty());
}

TEST_F(CalculatorDropDown, ThePopupTakesTheCalculatorKeys) {
    Calc->ShowDropDown();
    TDropDownForm* popup = Calc->DropDownForm();
    auto type = [&](const char* Keys) {
        for (const char* k = Keys; *k; ++k) {
            if (*k >= '0' && *k <= '9')
                SimulateText(popup, QString(QChar(*k)));
            else
                SimulateKey(popup, 0, {}, Char(*k));
        }
    };
    type("12+3");
    EXPECT_EQ(Display(), QStringLiteral("3.00"));
    type("=");
    EXPECT_EQ(Display(), QStringLiteral("15.00"));
    EXPECT_TRUE(Calc->DroppedDown());
    type("*2");
    SimulateKey(popup, VK_RETURN);
    EXPECT_EQ(Display(), QStringLiteral("30.00"));
    EXPECT_FALSE(Calc->DroppedDown());
    // Esc closes cancelling: the value written last by code comes back.
    Calc->ShowDropDown();
    type("c9");
    EXPECT_EQ(Display(), QStringLiteral("9.00"));
    SimulateKey(popup, VK_ESCAPE);
    EXPECT_FALSE(Calc->DroppedDown());
    EXPECT_TRUE(Errors.empty());
}

} // namespace
