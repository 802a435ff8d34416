// The colour picker drop-down on a real form: the default colours, the SelectedColor and
// ItemIndex rules with their events, the colour texts, the list's keys and type-ahead, the
// palette's keys and Escape (also for a colour no box holds), the picks of the four choosers,
// the popup's size per style, a change of style and the swatch in the edit.
#include "AdvColorPickerDropDown.h"

#include "ControlImage.h"
#include "DropDownTestSupport.h"
#include "ExtCtrls.h"
#include "ExtPanels.h"
#include "TestSupport.h"

#include <QImage>
#include <gtest/gtest.h>

namespace {

class ColorPicker : public DropDownFormTest {
protected:
    void SetUp() override {
        DropDownFormTest::SetUp();
        DD = new TAdvColorPickerDropDown(Form);
        DD->SetParent(Form);
        DD->SetBounds(20, 30, 200, 21);
        DD->OnSelect = [this](TObject*) {
            ++Selects;
            SelectedAtEvent.push_back(DD->SelectedColor());
        };
        DD->SetFocus();
    }
    void Open() {
        DD->ShowDropDown();
        ASSERT_TRUE(DD->DroppedDown());
    }
    void Close(bool Cancel = false) {
        DD->HideDropDown(Cancel);
        Tick += 1000;
    }
    // The palette box holding Color (the palette must exist).
    int BoxOf(TColor Color) const {
        TColorBoxItems* boxes = DD->ColorSelector()->Items();
        for (int i = 0; i < boxes->Count(); ++i)
            if (boxes->Items(i)->Color() == Color) return i;
        return -1;
    }

    TAdvColorPickerDropDown* DD = nullptr;
    int Selects = 0;
    std::vector<TColor> SelectedAtEvent;
};

TEST_F(ColorPicker, ARunTimeControlStartsEmptyAndTakesTheSixteenDefaultsInOrder) {
    EXPECT_EQ(DD->Colors()->Count(), 0);
    EXPECT_EQ(DD->ItemIndex(), -1);
    EXPECT_EQ(DD->SelectedColor(), clNone);
    EXPECT_EQ(DD->ColorSelectionStyle(), csList);
    EXPECT_EQ(DD->ColorValueText(), cvtNone);
    EXPECT_FALSE(DD->EditorEnabled());
    EXPECT_TRUE(DD->DropDownEnabled());
    EXPECT_EQ(DD->DropDownHeight(), 200);
    EXPECT_FALSE(DD->DropDownHeader()->Visible());
    EXPECT_FALSE(DD->DropDownFooter()->Visible());
    EXPECT_EQ(DD->Cursor(), crArrow);
    EXPECT_EQ(DD->KeyTimer()->Interval(), 500u);
    EXPECT_FALSE(DD->KeyTimer()->Enabled());
    // Only the chooser of the first style exists.
    ASSERT_NE(DD->ItemSelector(), nullptr);
    EXPECT_EQ(DD->Control(), DD->ItemSelector());
    EXPECT_EQ(DD->ColorSelector(), nullptr);
    EXPECT_EQ(DD->ColorCubePanel(), nullptr);
    EXPECT_EQ(DD->SpectrumPanel(), nullptr);

    DD->AddDefaultColors();
    const struct {
        const char* Caption;
        unsigned Color;
    } expected[] = {
        {"Black", 0x000000},  {"Maroon", 0x000080},  {"Green", 0x008000}, {"Olive", 0x008080},
        {"Navy", 0x800000},   {"Purple", 0x800080},  {"Teal", 0x808000},  {"Gray", 0x808080},
        {"Silver", 0xC0C0C0}, {"Red", 0x0000FF},     {"Lime", 0x00FF00},  {"Yellow", 0x00FFFF},
        {"Blue", 0xFF0000},   {"Fuchsia", 0xFF00FF}, {"Aqua", 0xFFFF00},  {"White", 0xFFFFFF},
    };
    ASSERT_EQ(DD->Colors()->Count(), 16);
    for (int i = 0; i < 16; ++i) {
        EXPECT_EQ(DD->Colors()->Items(i)->Caption(), QString::fromLatin1(expected[i].Caption)) << i;
        EXPECT_EQ(DD->Colors()->Items(i)->Color(), TColor(expected[i].Color)) << i;
    }
    // Adding the defaults is no selection, and a second call appends them again.
    EXPECT_EQ(Selects, 0);
    DD->AddDefaultColors();
    EXPECT_EQ(DD->Colors()->Count(), 32);
    EXPECT_EQ(DD->Colors()->Items(22)->Caption(), QStringLiteral("Teal"));
}

TEST_F(ColorPicker, SelectedColorAndItemIndexFollowEachOtherWithTheirEvents) {
    DD->AddDefaultColors();
    DD->SetSelectedColor(TColor(0x0000FF));
    EXPECT_EQ(DD->ItemIndex(), 9);
    EXPECT_EQ(DD->SelectedColorText(), QStringLiteral("Red"));
    EXPECT_EQ(Selects, 1);
    // The same colour again does nothing.
    DD->SetSelectedColor(TColor(0x0000FF));
    EXPECT_EQ(Selects, 1);
    // A colour no item has keeps the item index and raises nothing.
    DD->SetSelectedColor(TColor(0x123456));
    EXPECT_EQ(DD->SelectedColor(), TColor(0x123456));
    EXPECT_EQ(DD->ItemIndex(), 9);
    EXPECT_EQ(Selects, 1);
    // The index setter always raises OnSelect, also for the current index, and takes the colour.
    DD->SetItemIndex(9);
    EXPECT_EQ(Selects, 2);
    EXPECT_EQ(DD->SelectedColor(), TColor(0x0000FF));
    DD->SetItemIndex(9);
    EXPECT_EQ(Selects, 3);
    // From Count on nothing happens; -1 keeps the colour.
    DD->SetItemIndex(16);
    DD->SetItemIndex(100);
    EXPECT_EQ(DD->ItemIndex(), 9);
    EXPECT_EQ(Selects, 3);
    DD->SetItemIndex(-1);
    EXPECT_EQ(DD->ItemIndex(), -1);
    EXPECT_EQ(DD->SelectedColor(), TColor(0x0000FF));
    EXPECT_EQ(Selects, 4);
    // The first item with the colour wins.
    DD->AddDefaultColors();
    DD->SetSelectedColor(TColor(0x808000));
    EXPECT_EQ(DD->ItemIndex(), 6);
}

TEST_F(ColorPicker, TheColourTextFollowsColorValueText) {
    DD->AddDefaultColors();
    DD->SetSelectedColor(TColor(0x0000FF));
    DD->SetItemIndex(-1);
    const struct {
        TColorValueText Kind;
        TColor Color;
        const char* Text;
    } cases[] = {
        {cvtNone, TColor(0x0000FF), ""},
        {cvtHTML, TColor(0x0000FF), "#FF0000"},
        {cvtRGB, TColor(0x0000FF), "Red:255,Green:0,Blue:0"},
        {cvtHex, TColor(0x0000FF), "0000FF"},
        {cvtWebName, TColor(0x0000FF), "red"},
        {cvtWebName, TColor(0x808000), "teal"},
        {cvtWebName, TColor(0xFFFF00), "aqua"}, // shared with "cyan": the first name answers
        {cvtWebName, TColor(0x563412), "#123456"},
        {cvtRGB, TColor(0x0A141E), "Red:30,Green:20,Blue:10"},
        {cvtHex, TColor(0xABCDEF), "ABCDEF"},
        // System colours: the value itself in hexadecimal, resolved for the others.
        {cvtHex, clBtnFace, "FF00000F"},
        {cvtHTML, clBtnFace, nullptr},
        // clNone has no red, green and blue.
        {cvtHex, clNone, "1FFFFFFF"},
        {cvtHTML, clNone, ""},
        {cvtRGB, clNone, ""},
        {cvtWebName, clNone, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << int(c.Kind) << " " << std::hex << unsigned(c.Color));
        DD->SetColorValueText(c.Kind);
        DD->SetSelectedColor(c.Color);
        const String expected = c.Text ? QString::fromLatin1(c.Text) : QStringLiteral("#") + [] {
            const TColor rgb = ColorToRGB(clBtnFace);
            return QStringLiteral("%1%2%3")
                .arg(GetRValue(rgb), 2, 16, QLatin1Char('0'))
                .arg(GetGValue(rgb), 2, 16, QLatin1Char('0'))
                .arg(GetBValue(rgb), 2, 16, QLatin1Char('0'))
                .toUpper();
        }();
        // Colours of an item select it: the list shows the caption, the other styles the text.
        if (DD->ItemIndex() >= 0) DD->SetItemIndex(-1);
        EXPECT_EQ(DD->SelectedColorText(), expected);
    }
    // In csList the selected item's caption is the text; in another style the value text.
    DD->SetColorValueText(cvtHTML);
    DD->SetItemIndex(9);
    EXPECT_EQ(DD->SelectedColorText(), QStringLiteral("Red"));
    DD->SetColorSelectionStyle(csDiscrete);
    EXPECT_EQ(DD->SelectedColorText(), QStringLiteral("#FF0000"));
}

TEST_F(ColorPicker, ListKeysMoveWithoutClosingAndEscapeRestoresTheOpening) {
    DD->AddDefaultColors();
    // Closed: Down and Up step the own selection (from none to the first item).
    SimulateKey(DD, VK_DOWN);
    EXPECT_EQ(DD->ItemIndex(), 0);
    SimulateKey(DD, VK_DOWN);
    EXPECT_EQ(DD->ItemIndex(), 1);
    SimulateKey(DD, VK_END);
    EXPECT_EQ(DD->ItemIndex(), 15);
    SimulateKey(DD, VK_DOWN);
    EXPECT_EQ(DD->ItemIndex(), 15);
    SimulateKey(DD, VK_HOME);
    EXPECT_EQ(DD->ItemIndex(), 0);
    EXPECT_FALSE(DD->DroppedDown());

    DD->SetItemIndex(2);
    Open();
    Selects = 0;
    SimulateKey(DD, VK_DOWN);
    SimulateKey(DD, VK_DOWN);
    EXPECT_EQ(DD->ItemIndex(), 4);
    EXPECT_EQ(DD->SelectedColor(), TColor(0x800000));
    EXPECT_TRUE(DD->DroppedDown());
    EXPECT_EQ(Selects, 2);
    SimulateKey(DD, VK_ESCAPE);
    EXPECT_FALSE(DD->DroppedDown());
    EXPECT_EQ(DD->ItemIndex(), 2);
    EXPECT_EQ(DD->SelectedColor(), TColor(0x008000));
}

TEST_F(ColorPicker, EscapeAfterAnOpeningWithoutItemBringsTheColourBack) {
    DD->AddDefaultColors();
    ASSERT_EQ(DD->SelectedColor(), clNone);
    Open();
    SimulateKey(DD, VK_DOWN);
    EXPECT_EQ(DD->SelectedColor(), TColor(0x000000));
    SimulateKey(DD, VK_ESCAPE);
    EXPECT_EQ(DD->ItemIndex(), -1);
    EXPECT_EQ(DD->SelectedColor(), clNone);
    // An Escape on the closed control keeps what the keys chose since the last opening.
    SimulateKey(DD, VK_DOWN);
    SimulateKey(DD, VK_DOWN);
    SimulateKey(DD, VK_ESCAPE);
    EXPECT_EQ(DD->ItemIndex(), 1);
}

TEST_F(ColorPicker, PageKeysStepByTheVisibleItemsWithinTheList) {
    DD->AddDefaultColors();
    Open();
    const int n = DD->ItemSelector()->GetVisibleItemCount();
    ASSERT_GE(n, 1);
    ASSERT_LT(n, 16);
    SimulateKey(DD, VK_HOME);
    EXPECT_EQ(DD->ItemIndex(), 0);
    SimulateKey(DD, VK_NEXT);
    EXPECT_EQ(DD->ItemIndex(), n);
    EXPECT_TRUE(DD->DroppedDown());
    for (int i = 0; i < 20; ++i) SimulateKey(DD, VK_NEXT);
    EXPECT_EQ(DD->ItemIndex(), 15);
    SimulateKey(DD, VK_PRIOR);
    EXPECT_EQ(DD->ItemIndex(), 15 - n);
    for (int i = 0; i < 20; ++i) SimulateKey(DD, VK_PRIOR);
    EXPECT_EQ(DD->ItemIndex(), 0);
    Close();
}

TEST_F(ColorPicker, TypeAheadLooksUpTheCharactersOfOneBurst) {
    DD->AddDefaultColors();
    // The popup never opened: its list is filled for the look-up.
    SimulateKey(DD, 'G', {}, Char(u'g'));
    EXPECT_EQ(DD->SearchText(), QStringLiteral("G"));
    EXPECT_EQ(DD->ItemIndex(), 2); // Green
    EXPECT_TRUE(DD->KeyTimer()->Enabled());
    SimulateKey(DD, 'R', {}, Char(u'r'));
    EXPECT_EQ(DD->SearchText(), QStringLiteral("GR"));
    EXPECT_EQ(DD->ItemIndex(), 2);
    SimulateKey(DD, 'A', {}, Char(u'a'));
    EXPECT_EQ(DD->SearchText(), QStringLiteral("GRA"));
    EXPECT_EQ(DD->ItemIndex(), 7); // Gray
    EXPECT_FALSE(DD->DroppedDown());
    // The timer ends the burst: the next key starts a new search.
    DD->KeyTimerTick(DD->KeyTimer());
    EXPECT_TRUE(DD->SearchText().isEmpty());
    EXPECT_FALSE(DD->KeyTimer()->Enabled());
    SimulateKey(DD, 'M', {}, Char(u'm'));
    EXPECT_EQ(DD->SearchText(), QStringLiteral("M"));
    EXPECT_EQ(DD->ItemIndex(), 1); // Maroon
    // The search holds the typed characters, not key codes: the keypad's 1 is "1", not "a".
    DD->KeyTimerTick(DD->KeyTimer());
    SimulateKey(DD, VK_NUMPAD0 + 1, {}, Char(u'1'));
    EXPECT_EQ(DD->SearchText(), QStringLiteral("1"));
    EXPECT_EQ(DD->ItemIndex(), 1);
    // A key that types nothing adds nothing and selects nothing again.
    DD->KeyTimerTick(DD->KeyTimer());
    const int selects = Selects;
    SimulateKey(DD, VK_F2);
    EXPECT_TRUE(DD->SearchText().isEmpty());
    EXPECT_EQ(Selects, selects);
}

TEST_F(ColorPicker, OneWheelNotchStepsOneColour) {
    DD->AddDefaultColors();
    SimulateWheel(DD, -120, {}, 5, 5);
    EXPECT_EQ(DD->ItemIndex(), 0);
    SimulateWheel(DD, -120, {}, 5, 5);
    SimulateWheel(DD, -120, {}, 5, 5);
    EXPECT_EQ(DD->ItemIndex(), 2);
    SimulateWheel(DD, 120, {}, 5, 5);
    EXPECT_EQ(DD->ItemIndex(), 1);
    EXPECT_EQ(Selects, 4);
    // The palette steps its boxes the same way.
    DD->SetColorSelectionStyle(csDiscrete);
    TCustomColorSelector* palette = DD->ColorSelector();
    DD->SetSelectedColor(palette->Items()->Items(30)->Color());
    SimulateWheel(DD, -120, {}, 5, 5);
    EXPECT_EQ(palette->ItemIndex(), 31);
    EXPECT_EQ(DD->SelectedColor(), palette->Items()->Items(31)->Color());
    EXPECT_FALSE(DD->DroppedDown());
}

TEST_F(ColorPicker, AListPickSelectsAndCloses) {
    DD->AddDefaultColors();
    Open();
    TRect cell;
    DD->ItemSelector()->SelectorPanel()->GetItemRect(12, cell);
    DD->ItemSelector()->ScrollItemInView(12);
    DD->ItemSelector()->SetItemIndex(12);
    EXPECT_FALSE(DD->DroppedDown());
    EXPECT_EQ(DD->ItemIndex(), 12);
    EXPECT_EQ(DD->SelectedColor(), TColor(0xFF0000));
    EXPECT_EQ(Selects, 1);
}

class PickerPalette : public ColorPicker {
protected:
    void SetUp() override {
        ColorPicker::SetUp();
        DD->SetColorSelectionStyle(csDiscrete);
        ASSERT_NE(DD->ColorSelector(), nullptr);
    }
};

TEST_F(PickerPalette, ArrowKeysStepThePaletteOpenOrClosed) {
    TCustomColorSelector* palette = DD->ColorSelector();
    DD->SetSelectedColor(palette->Items()->Items(12)->Color());
    EXPECT_EQ(Selects, 0); // no item of Colors has it
    // Closed: Down selects the next box and changes the colour at once.
    SimulateKey(DD, VK_DOWN);
    EXPECT_EQ(palette->ItemIndex(), 13);
    EXPECT_EQ(DD->SelectedColor(), palette->Items()->Items(13)->Color());
    EXPECT_EQ(Selects, 1);
    EXPECT_FALSE(DD->DroppedDown());
    // Right moves one box on, closed (the editor is disabled) ...
    SimulateKey(DD, VK_RIGHT);
    EXPECT_EQ(palette->ItemIndex(), 14);
    // ... and open; Down moves a row of ten there.
    Open();
    EXPECT_EQ(palette->ItemIndex(), 14);
    SimulateKey(DD, VK_RIGHT);
    EXPECT_EQ(palette->ItemIndex(), 15);
    SimulateKey(DD, VK_DOWN);
    EXPECT_EQ(palette->ItemIndex(), 25);
    EXPECT_EQ(DD->SelectedColor(), palette->Items()->Items(25)->Color());
    EXPECT_TRUE(DD->DroppedDown());
    EXPECT_EQ(DD->ItemIndex(), -1);
    Close();
}

TEST_F(PickerPalette, EscapeRestoresTheColourOfTheOpening) {
    TCustomColorSelector* palette = DD->ColorSelector();
    const struct {
        const char* Name;
        TColor Colour;
        bool OnABox;
    } cases[] = {
        {"a box's colour", palette->Items()->Items(20)->Color(), true},
        {"clNone", clNone, false},
        {"a colour no box holds", TColor(0x123456), false},
        {"a system colour", clBtnFace, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        DD->SetSelectedColor(c.Colour);
        Open();
        EXPECT_EQ(palette->ItemIndex(), c.OnABox ? 20 : -1);
        SimulateKey(DD, VK_DOWN);
        SimulateKey(DD, VK_RIGHT);
        ASSERT_NE(DD->SelectedColor(), c.Colour);
        SimulateKey(DD, VK_ESCAPE);
        EXPECT_FALSE(DD->DroppedDown());
        EXPECT_EQ(DD->SelectedColor(), c.Colour);
        EXPECT_EQ(palette->ItemIndex(), c.OnABox ? 20 : -1);
        Tick += 1000;
    }
}

TEST_F(PickerPalette, OpeningShowsTheColourWithoutReportingAPick) {
    DD->AddDefaultColors();
    TCustomColorSelector* palette = DD->ColorSelector();
    const int white = BoxOf(TColor(0xFFFFFF));
    ASSERT_GE(white, 0);
    // A palette colour that is also an item: the item is selected (one event).
    DD->SetSelectedColor(TColor(0xFFFFFF));
    EXPECT_EQ(Selects, 1);
    EXPECT_EQ(DD->ItemIndex(), 15);
    Open();
    EXPECT_EQ(palette->ItemIndex(), white);
    EXPECT_EQ(Selects, 1);
    EXPECT_EQ(DD->ItemIndex(), 15);
    Close();
    // clNone: no event, no box.
    DD->SetSelectedColor(clNone);
    EXPECT_EQ(Selects, 1);
    Open();
    EXPECT_EQ(palette->ItemIndex(), -1);
    EXPECT_EQ(Selects, 1);
    Close();
}

TEST_F(PickerPalette, APickClosesAndRaisesOnSelectOnceOrTwiceForAnItemColour) {
    DD->AddDefaultColors();
    TCustomColorSelector* palette = DD->ColorSelector();
    const int white = BoxOf(TColor(0xFFFFFF));
    ASSERT_GE(white, 0);
    int other = -1;
    for (int i = 0; i < palette->Items()->Count() && other < 0; ++i) {
        bool onList = false;
        for (int k = 0; k < DD->Colors()->Count(); ++k)
            onList = onList || DD->Colors()->Items(k)->Color() == palette->Items()->Items(i)->Color();
        if (!onList) other = i;
    }
    ASSERT_GE(other, 0);

    Open();
    TRect box = palette->Items()->Items(other)->Rect();
    SimulateClick(palette, box.Left + 2, box.Top + 2);
    EXPECT_FALSE(DD->DroppedDown());
    EXPECT_EQ(DD->SelectedColor(), palette->Items()->Items(other)->Color());
    EXPECT_EQ(DD->ItemIndex(), -1);
    EXPECT_EQ(Selects, 1);

    Tick += 1000;
    Selects = 0;
    Open();
    box = palette->Items()->Items(white)->Rect();
    SimulateClick(palette, box.Left + 2, box.Top + 2);
    EXPECT_FALSE(DD->DroppedDown());
    EXPECT_EQ(DD->SelectedColor(), TColor(0xFFFFFF));
    EXPECT_EQ(Selects, 2);
    EXPECT_EQ(DD->ItemIndex(), -1);
}

TEST_F(PickerPalette, EnterTakesTheHotBoxOrReportsTheColour) {
    TCustomColorSelector* palette = DD->ColorSelector();
    // Closed: Enter raises OnSelect for the colour there is.
    SimulateKey(DD, VK_RETURN);
    EXPECT_EQ(Selects, 1);
    Open();
    SimulateWheel(DD->DropDownForm(), -120, {}, 5, 5); // the wheel moves the hot box
    SimulateWheel(DD->DropDownForm(), -120, {}, 5, 5);
    ASSERT_EQ(palette->ItemHot(), 1);
    EXPECT_EQ(DD->SelectedColor(), clNone);
    SimulateKey(DD, VK_RETURN);
    EXPECT_FALSE(DD->DroppedDown());
    EXPECT_EQ(DD->SelectedColor(), palette->Items()->Items(1)->Color());
    EXPECT_EQ(Selects, 2); // the pick's own event; that Enter raises no other
}

TEST_F(PickerPalette, AnIndexBeyondThePaletteRaisesAndChangesNothing) {
    TCustomColorSelector* palette = DD->ColorSelector();
    DD->SetSelectedColor(palette->Items()->Items(3)->Color());
    Open();
    EXPECT_ANY_THROW(palette->SetItemIndex(palette->Items()->Count()));
    EXPECT_EQ(palette->ItemIndex(), 3);
    EXPECT_EQ(DD->SelectedColor(), palette->Items()->Items(3)->Color());
    EXPECT_TRUE(DD->DroppedDown());
    Close();
}

TEST_F(ColorPicker, TheCubeAndSpectrumPopupsFitTheirPanelAndHaveNoGrip) {
    const struct {
        TColorSelectionStyle Style;
        int Width, Height; // the panel's own size
    } cases[] = {{csColorCube, 182, 160}, {csSpectrum, 150, 174}, {csDiscrete, -1, -1}};
    for (const auto& c : cases) {
        SCOPED_TRACE(int(c.Style));
        DD->SetColorSelectionStyle(c.Style);
        Open();
        TControl* panel = DD->Control();
        ASSERT_NE(panel, nullptr);
        EXPECT_NE(panel, DD->ItemSelector());
        EXPECT_TRUE(panel->Visible());
        EXPECT_FALSE(DD->ItemSelector()->Visible());
        EXPECT_FALSE(DD->DropDownForm()->Sizeable());
        if (c.Width > 0) {
            EXPECT_EQ(panel->Width(), c.Width);
            EXPECT_EQ(panel->Height(), c.Height);
        }
        EXPECT_EQ(DD->DropDownForm()->Width(), panel->Width() + 2 * DD->DropDownBorderWidth());
        EXPECT_EQ(DD->DropDownForm()->Height(), panel->Height() + 2 * DD->DropDownBorderWidth());
        Close();
    }
    // Back to the list: its selector is the popup's control again.
    DD->SetColorSelectionStyle(csList);
    EXPECT_EQ(DD->Control(), DD->ItemSelector());
    EXPECT_TRUE(DD->ItemSelector()->Visible());
    EXPECT_FALSE(DD->ColorCubePanel()->Visible());
}

TEST_F(ColorPicker, ACubePickClosesWithTheCellsColour) {
    DD->AddDefaultColors();
    DD->SetColorSelectionStyle(csColorCube);
    Open();
    TAdvColorCubePanel* cube = DD->ColorCubePanel();
    ASSERT_NE(cube, nullptr);
    // The cube's white cell is also an item: two events.
    int whiteCell = -1;
    for (int i = 1; i <= TAdvColorCubePanel::CellCount && whiteCell < 0; ++i)
        if (cube->Cell(i).Color == TColor(0xFFFFFF)) whiteCell = i;
    ASSERT_GT(whiteCell, 0);
    SimulateClick(cube, cube->Cell(whiteCell).X, cube->Cell(whiteCell).Y);
    EXPECT_FALSE(DD->DroppedDown());
    EXPECT_EQ(DD->SelectedColor(), TColor(0xFFFFFF));
    EXPECT_EQ(DD->ItemIndex(), -1);
    EXPECT_EQ(Selects, 2);
    // The cube takes no keys.
    SimulateKey(DD, VK_DOWN);
    EXPECT_EQ(DD->SelectedColor(), TColor(0xFFFFFF));
}

TEST_F(ColorPicker, ASpectrumPickClosesWithThePixelsColour) {
    DD->SetColorSelectionStyle(csSpectrum);
    Open();
    TAdvColorSpectrumPanel* spectrum = DD->SpectrumPanel();
    ASSERT_NE(spectrum, nullptr);
    TImage* picture = spectrum->SpectrumImage();
    SimulateMouseMove(picture, {}, 10, 60);
    const TColor hot = spectrum->HotColor();
    ASSERT_NE(hot, clNone);
    SimulateClick(picture, 10, 60);
    EXPECT_FALSE(DD->DroppedDown());
    EXPECT_EQ(DD->SelectedColor(), hot);
    EXPECT_EQ(DD->ItemIndex(), -1);
    EXPECT_EQ(Selects, 1);
}

TEST_F(ColorPicker, TheApplicationCanDrawTheEditContent) {
    // Painting without a colour, or with clNone, draws no swatch and raises nothing.
    DD->Perform(WM_PAINT, 0, 0);
    int calls = 0;
    DD->OnDrawSelectedColor = [&](TObject* Sender, TCanvas* Canvas, TRect R) {
        ++calls;
        EXPECT_EQ(Sender, DD);
        EXPECT_NE(Canvas, nullptr);
        EXPECT_EQ(R, TRect(1, 1, DD->Width() - DD->DropDownButtonWidth() - 2, DD->Height() - 2));
    };
    DD->Perform(WM_PAINT, 0, 0);
    EXPECT_EQ(calls, 1);
}

TEST_F(ColorPicker, TheSwatchAndTheTextShowOverTheEditUntilTheColourGoes) {
    // 200 x 21 with the default 14 x 14 box: the content starts at (1, 1), the swatch 4 pixels
    // further, vertically centred; the text follows it on the focused highlight.
    const QColor highlight = ToQColor(ColorToRGB(clHighlight));
    DD->SetSelectedColor(clRed);
    ASSERT_TRUE(DD->Focused());
    QImage shown = ControlImage(DD);
    EXPECT_EQ(shown.pixelColor(5, 4), QColor(Qt::black)); // the swatch's frame
    EXPECT_EQ(shown.pixelColor(12, 11), QColor(Qt::red));
    EXPECT_EQ(shown.pixelColor(17, 16), QColor(Qt::red));
    EXPECT_EQ(shown.pixelColor(170, 4), highlight); // the text's background, right of the text

    // Another colour replaces it on the next paint; without a colour the edit's repaint covers it.
    DD->SetSelectedColor(clBlue);
    Application->ProcessMessages();
    EXPECT_EQ(ControlImage(DD).pixelColor(12, 11), QColor(Qt::blue));
    DD->SetSelectedColor(clNone);
    Application->ProcessMessages();
    shown = ControlImage(DD);
    EXPECT_NE(shown.pixelColor(12, 11), QColor(Qt::blue));
    EXPECT_NE(shown.pixelColor(5, 4), QColor(Qt::black));
}

TEST_F(ColorPicker, StylesReachTheListThroughTheItemAppearance) {
    DD->AddDefaultColors();
    DD->SetComponentStyle(tsWindows7);
    EXPECT_EQ(DD->ItemAppearance()->ColorHot(), TColor(0xFDFBFA));
    // The list takes the drop-down's appearance when it is next filled.
    Open();
    EXPECT_EQ(DD->ItemSelector()->ItemAppearance()->ColorHot(), TColor(0xFDFBFA));
    Close();
    DD->SetSelectionColorStyle(scWindowsVista);
    EXPECT_EQ(DD->ItemSelector()->ItemAppearance()->ColorStyle(), scWindowsVista);
    // The palette takes the selection style when it is prepared.
    DD->SetColorSelectionStyle(csDiscrete);
    EXPECT_EQ(DD->ColorSelector()->ItemColorStyle(), scWindowsVista);
}

TEST_F(ColorPicker, TheListShowsTheColoursAndTheApplicationMayDrawThem) {
    DD->AddDefaultColors();
    DD->Colors()->Items(3)->SetHint(QStringLiteral("olive green"));
    DD->SetColumns(2);
    DD->SetColorBoxWidth(20);
    DD->SetItemIndex(5);
    Open();
    TAdvCustomItemSelector* list = DD->ItemSelector();
    EXPECT_EQ(list->SelectorType(), stColor);
    ASSERT_EQ(list->Items()->Count(), 16);
    EXPECT_EQ(list->Items()->Items(3)->Caption(), QStringLiteral("Olive"));
    EXPECT_EQ(list->Items()->Items(3)->Color(), TColor(0x008080));
    EXPECT_EQ(list->Items()->Items(3)->Hint(), QStringLiteral("olive green"));
    EXPECT_EQ(list->Columns(), 2);
    EXPECT_EQ(list->ColorBoxWidth(), 20);
    EXPECT_EQ(list->ItemIndex(), 5);
    Close();
    std::vector<int> drawn;
    DD->OnDrawColor = [&](TObject* Sender, TCanvas*, TRect, int Index) {
        EXPECT_EQ(Sender, DD);
        drawn.push_back(Index);
    };
    Open();
    (void)ControlImage(DD->ItemSelector()->SelectorPanel());
    EXPECT_FALSE(drawn.empty());
    EXPECT_EQ(drawn.front(), 0);
    Close();
}

TEST(ColorItems, AssignCopiesAnotherColourItemOnly) {
    TColorItems from(nullptr), to(nullptr);
    TColorItem* source = from.Add();
    source->SetCaption(QStringLiteral("Sea"));
    source->SetColor(TColor(0x8B4513));
    source->SetHint(QStringLiteral("deep"));
    int changes = 0;
    to.OnChange = [&](TObject* Sender) {
        EXPECT_EQ(Sender, &to);
        ++changes;
    };
    TColorItem* target = to.Add();
    target->Assign(source);
    EXPECT_EQ(target->Caption(), QStringLiteral("Sea"));
    EXPECT_EQ(target->Color(), TColor(0x8B4513));
    EXPECT_EQ(target->Hint(), QStringLiteral("deep"));
    EXPECT_EQ(changes, 2); // caption and colour changed
    target->SetColor(TColor(0x8B4513));
    EXPECT_EQ(changes, 2);
    TFont font;
    EXPECT_ANY_THROW(target->Assign(&font));
    // The collection's setter copies all items.
    TColorItems copy(nullptr);
    copy.Assign(&from);
    ASSERT_EQ(copy.Count(), 1);
    EXPECT_EQ(copy.Items(0)->Caption(), QStringLiteral("Sea"));
}

} // namespace
