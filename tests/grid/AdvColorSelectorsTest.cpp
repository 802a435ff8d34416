// The colour chooser panels on a real form. The cube: its geometry and colours, the hit test on
// and between cell centres, the RGB hint, picking with the mouse and the marks on pixels. The
// spectrum: its layout, picking known pixels of the picture, the swatches on pixels. The
// palette: its layout with the default boxes, the navigation keys by popup state, selection by
// colour and index with its event, the index error, and the box borders on pixels.
#include "AdvColorSelectors.h"

#include "ControlImage.h"
#include "DropDownTestSupport.h"
#include "ExtPanels.h"
#include "Forms.h"
#include "Messages.h"

#include <QImage>
#include <gtest/gtest.h>

#include <vector>

namespace {

QRgb Rgb(uint32_t BGR) {
    return qRgb(BGR & 0xFF, (BGR >> 8) & 0xFF, (BGR >> 16) & 0xFF);
}

class ColorCube : public DropDownFormTest {
protected:
    void SetUp() override {
        DropDownFormTest::SetUp();
        Cube = new TAdvColorCubePanel(Form);
        Cube->SetParent(Form);
        Cube->OnSelect = [this](TObject* Sender) { Selects.push_back(Sender); };
    }
    TAdvColorCubePanel* Cube = nullptr;
    std::vector<TObject*> Selects;
};

TEST_F(ColorCube, CellsFollowTheRowsOfTheHoneycomb) {
    EXPECT_EQ(Cube->Width(), 182);
    EXPECT_EQ(Cube->Height(), 160);
    struct Case {
        int Index, X, Y;
        uint32_t Color;
    };
    const Case Cases[] = {
        {1, 55, 20, 0x663300},    {7, 127, 20, 0x660000},    {8, 49, 30, 0x666600},  {58, 19, 80, 0x003300},
        {64, 91, 80, 0xFFFFFF},   {70, 163, 80, 0x660066},   {71, 25, 90, 0x006633}, {82, 157, 90, 0x800080},
        {121, 55, 140, 0x003366}, {127, 127, 140, 0x2100A5},
    };
    for (const Case& C : Cases) {
        SCOPED_TRACE(C.Index);
        EXPECT_EQ(Cube->Cell(C.Index).X, C.X);
        EXPECT_EQ(Cube->Cell(C.Index).Y, C.Y);
        EXPECT_EQ(uint32_t(Cube->Cell(C.Index).Color), C.Color);
    }
}

TEST_F(ColorCube, HitTestTakesTheFirstCellWithinSixPixels) {
    struct Case {
        int X, Y, Index;
    };
    const Case Cases[] = {
        {55, 20, 1}, {61, 20, 1},  {62, 20, 2},  {0, 0, -1},
        {55, 26, 1}, {55, 27, -1}, {91, 80, 64}, {181, 159, -1},
    };
    for (const Case& C : Cases) {
        SCOPED_TRACE(testing::Message() << C.X << "," << C.Y);
        EXPECT_EQ(Cube->IndexOfCellAt(C.X, C.Y), C.Index);
    }
}

TEST_F(ColorCube, HoverSetsTheRgbHintAndKeepsTheHotCellOffTheCells) {
    SimulateMouseMove(Cube, {}, 55, 20);
    EXPECT_EQ(Cube->HotIndex(), 1);
    EXPECT_EQ(Cube->Hint(), String("Red: 0,  Green: 51,  Blue: 102"));
    SimulateMouseMove(Cube, {}, 0, 0);
    EXPECT_EQ(Cube->Hint(), String());
    EXPECT_EQ(Cube->HotIndex(), 1);

    Cube->SetShowRGBHint(false);
    EXPECT_FALSE(Cube->ShowHint());
    SimulateMouseMove(Cube, {}, 91, 80);
    EXPECT_EQ(Cube->HotIndex(), 64);
    EXPECT_EQ(Cube->Hint(), String());
}

TEST_F(ColorCube, ClickPicksTheCellAndSelectedColorFindsIt) {
    SimulateClick(Cube, 91, 80);
    EXPECT_EQ(uint32_t(Cube->SelectedColor()), 0xFFFFFFu);
    EXPECT_EQ(Cube->SelectedIndex(), 64);
    EXPECT_EQ(Selects, std::vector<TObject*>{Cube});
    SimulateClick(Cube, 0, 0);
    EXPECT_EQ(Selects.size(), 1u);

    Cube->SetSelectedColor(TColor(0x808000));
    EXPECT_EQ(Cube->SelectedIndex(), 16);
    Cube->SetSelectedColor(clNone);
    EXPECT_EQ(Cube->SelectedIndex(), -1);
    EXPECT_EQ(Selects.size(), 1u);
}

TEST_F(ColorCube, CellsAndMarksOnPixels) {
    Cube->SetSelectedColor(TColor(0x0000FF)); // cell 118 at (109, 130)
    SimulateMouseMove(Cube, {}, 55, 20);      // cell 1 hot
    const QImage Img = ControlImage(Cube);
    EXPECT_EQ(Img.pixel(91, 80), Rgb(0xFFFFFF));
    EXPECT_EQ(Img.pixel(67, 60), Rgb(0xCCFF66));
    // Hot: red outer ring at half width 5, white inner ring at half width 4; centre keeps its colour.
    EXPECT_EQ(Img.pixel(55 - 5, 20), Rgb(0x0000FF));
    EXPECT_EQ(Img.pixel(55 - 4, 20), Rgb(0xFFFFFF));
    EXPECT_EQ(Img.pixel(55, 20), Rgb(0x663300));
    // Selected: black outer ring.
    EXPECT_EQ(Img.pixel(109 - 5, 130), Rgb(0x000000));
    EXPECT_EQ(Img.pixel(109 - 4, 130), Rgb(0xFFFFFF));
    EXPECT_EQ(Img.pixel(109, 130), Rgb(0x0000FF));
}

class ColorSpectrum : public DropDownFormTest {
protected:
    void SetUp() override {
        DropDownFormTest::SetUp();
        Spectrum = new TAdvColorSpectrumPanel(Form);
        Spectrum->SetParent(Form);
        Spectrum->UpdateLayout();
        Spectrum->OnSelect = [this](TObject* Sender) { Selects.push_back(Sender); };
        Spectrum->OnShouldHide = [this](TObject*) { ++Hides; };
    }
    TAdvColorSpectrumPanel* Spectrum = nullptr;
    std::vector<TObject*> Selects;
    int Hides = 0;
};

TEST_F(ColorSpectrum, LayoutAndSwatches) {
    EXPECT_EQ(Spectrum->Width(), 150);
    EXPECT_EQ(Spectrum->Height(), 174);
    EXPECT_EQ(Spectrum->SpectrumImage()->Left(), 11);
    EXPECT_EQ(Spectrum->SpectrumImage()->Top(), 10);
    EXPECT_EQ(Spectrum->SelectedRect(), TRect(10, 146, 73, 166));
    EXPECT_EQ(Spectrum->HotRect(), TRect(77, 146, 140, 166));
    EXPECT_EQ(Spectrum->HotColor(), clNone);
    EXPECT_EQ(uint32_t(Spectrum->SelectedColor()), 0xFFFFFFu);
    EXPECT_EQ(Screen->Cursors(crColorPointer).hotSpot(), QPoint(1, 30));
    EXPECT_EQ(Spectrum->SpectrumImage()->Cursor(), crColorPointer);
}

TEST_F(ColorSpectrum, PicksTheDisplayedPixel) {
    struct Case {
        int X, Y;
        uint32_t Color;
    };
    // Top row white, rows 63 and 64 fully saturated, bottom row black; red at both side columns.
    const Case Cases[] = {
        {0, 0, 0xFFFFFF}, {0, 63, 0x0000FF}, {127, 64, 0x0000FF}, {64, 127, 0x000000}, {127, 0, 0xFFFFFF},
    };
    TImage* Img = Spectrum->SpectrumImage();
    for (const Case& C : Cases) {
        SCOPED_TRACE(testing::Message() << C.X << "," << C.Y);
        SimulateMouseMove(Img, {}, C.X, C.Y);
        EXPECT_EQ(uint32_t(Spectrum->HotColor()), C.Color);
        const QImage Shown = ControlImage(Form);
        const TPoint At = Spectrum->ClientToParent(TPoint(11 + C.X, 10 + C.Y), Form);
        EXPECT_EQ(Shown.pixel(At.X, At.Y), Rgb(C.Color));
    }
    // A saturated green in the first third of the hues.
    SimulateMouseMove(Img, {}, 42, 63);
    const uint32_t Green = uint32_t(Spectrum->HotColor());
    EXPECT_GT((Green >> 8) & 0xFF, 0xF0u);
    EXPECT_LT(Green & 0xFF, 0x10u);

    SimulateMouseMove(Img, {}, 0, 63);
    SimulateClick(Img, 0, 63);
    EXPECT_EQ(uint32_t(Spectrum->SelectedColor()), 0x0000FFu);
    EXPECT_EQ(Selects, std::vector<TObject*>{Spectrum});
    EXPECT_EQ(Hides, 1);

    const QImage Panel = ControlImage(Spectrum);
    EXPECT_EQ(Panel.pixel(40, 156), Rgb(0x0000FF));  // selected swatch
    EXPECT_EQ(Panel.pixel(100, 156), Rgb(0x0000FF)); // hot swatch
    EXPECT_EQ(Panel.pixel(10, 146), Rgb(0xFFFFFF));  // the swatch's white edge
    EXPECT_EQ(Panel.pixel(9, 145), Rgb(0x808080));   // its grey frame
    EXPECT_EQ(Panel.pixel(10, 100), Rgb(0xFFFFFF));  // the picture's inner frame
    EXPECT_EQ(Panel.pixel(9, 100), Rgb(0x808080));   // and outer frame
}

class ColorPalette : public DropDownFormTest {
protected:
    void SetUp() override {
        DropDownFormTest::SetUp();
        Palette = new TCustomColorSelector(Form);
        Palette->SetParent(Form);
        Palette->AddDefaultColorBoxes();
        Palette->UpdateLayout();
        Palette->OnItemSelect = [this](TObject*) { Selects.push_back(Palette->ItemIndex()); };
    }
    TCustomColorSelector* Palette = nullptr;
    std::vector<int> Selects;
};

TEST_F(ColorPalette, DefaultLayout) {
    EXPECT_EQ(Palette->Items()->Count(), 60);
    EXPECT_EQ(Palette->Width(), 165);
    EXPECT_EQ(Palette->Height(), 84);
    struct Case {
        int Index;
        TRect Rect;
        TItemPos Pos;
        uint32_t Color;
    };
    const Case Cases[] = {
        {0, TRect(4, 4, 16, 16), ipStandAlone, 0xFFFFFF},
        {9, TRect(148, 4, 160, 16), ipStandAlone, 0x4696F7},
        {10, TRect(4, 20, 16, 32), ipTop, 0xF2F2F2},
        {20, TRect(4, 32, 16, 44), ipMiddle, 0xD8D8D8},
        {59, TRect(148, 68, 160, 80), ipBottom, 0x064897},
    };
    for (const Case& C : Cases) {
        SCOPED_TRACE(C.Index);
        TColorBoxItem* Item = Palette->Items()->Items(C.Index);
        EXPECT_EQ(Item->Rect(), C.Rect);
        EXPECT_EQ(Item->ColorBoxPos(), C.Pos);
        EXPECT_EQ(uint32_t(Item->Color()), C.Color);
    }

    Palette->SetColumnGap(0);
    EXPECT_EQ(Palette->Width(), 129);
    EXPECT_EQ(Palette->Height(), 80);
    Palette->Items()->Clear();
    Palette->UpdateLayout();
    EXPECT_EQ(Palette->Width(), 100);
    EXPECT_EQ(Palette->Height(), 50);
}

TEST_F(ColorPalette, NavigationKeysByPopupState) {
    struct Case {
        const char* Name;
        int Start;
        Word Key;
        bool EditorEnabled, DroppedDown;
        int Expected;
    };
    const Case Cases[] = {
        {"down closed", 3, VK_DOWN, true, false, 4},
        {"down dropped", 3, VK_DOWN, true, true, 13},
        {"down dropped from nothing", -1, VK_DOWN, true, true, 0},
        {"down dropped beyond the last row", 55, VK_DOWN, true, true, 55},
        {"up dropped", 13, VK_UP, false, true, 3},
        {"up dropped above the first row", 3, VK_UP, false, true, 3},
        {"up closed", 13, VK_UP, true, false, 12},
        {"right editor disabled closed", 3, VK_RIGHT, false, false, 4},
        {"right editor disabled dropped", 3, VK_RIGHT, false, true, 4},
        {"right editor enabled closed", 3, VK_RIGHT, true, false, 3},
        {"left editor enabled closed", 3, VK_LEFT, true, false, 3},
        {"left at the first", 0, VK_LEFT, false, true, 0},
        {"right at the last", 59, VK_RIGHT, false, true, 59},
        {"page up", 30, VK_PRIOR, true, false, 0},
        {"home", 30, VK_HOME, true, true, 0},
        {"page down", 3, VK_NEXT, true, false, 59},
        {"end", 3, VK_END, true, true, 59},
        {"other key", 3, VK_RETURN, false, true, 3},
    };
    for (const Case& C : Cases) {
        SCOPED_TRACE(C.Name);
        Palette->SetItemIndex(C.Start);
        Palette->HandleNavigationKey(C.Key, C.EditorEnabled, C.DroppedDown);
        EXPECT_EQ(Palette->ItemIndex(), C.Expected);
    }

    Palette->SetItemIndex(3);
    Palette->SetEnabled(false);
    Palette->HandleNavigationKey(VK_DOWN, false, true);
    EXPECT_EQ(Palette->ItemIndex(), 3);
}

TEST_F(ColorPalette, SelectionByColourIndexAndMouse) {
    Palette->SetSelectedColor(TColor(0x4D50C0));
    EXPECT_EQ(Palette->ItemIndex(), 5);
    EXPECT_EQ(Selects, std::vector<int>{5});

    Selects.clear();
    Palette->SetSelectedColor(clNone);
    EXPECT_EQ(Palette->ItemIndex(), -1);
    EXPECT_TRUE(Selects.empty());

    Palette->SetSelectedColor(TColor(0x123456)); // on no box
    EXPECT_EQ(Palette->ItemIndex(), -1);
    EXPECT_EQ(uint32_t(Palette->SelectedColor()), 0x123456u);
    EXPECT_TRUE(Selects.empty());

    Palette->SetItemIndex(12);
    EXPECT_EQ(uint32_t(Palette->SelectedColor()), 0xC3D9DDu);
    Palette->Items()->Items(13)->SetEnabled(false);
    Palette->SetItemIndex(13);
    EXPECT_EQ(Palette->ItemIndex(), 12);
    EXPECT_THROW(Palette->SetItemIndex(60), EListError);
    EXPECT_EQ(Palette->ItemIndex(), 12);

    Selects.clear();
    SimulateClick(Palette, 16, 20); // the gap column between boxes 10 and 11
    EXPECT_TRUE(Selects.empty());
    SimulateClick(Palette, 4, 20); // box 10, left and top inclusive
    EXPECT_EQ(Selects, std::vector<int>{10});
    SimulateMouseMove(Palette, {}, 152, 72);
    EXPECT_EQ(Palette->ItemHot(), 59);
    Palette->Perform(CM_MOUSELEAVE, 0, 0);
    EXPECT_EQ(Palette->ItemHot(), -1);
}

TEST_F(ColorPalette, BoxBordersByPositionOnPixels) {
    Palette->SetItemIndex(0);
    const QImage Img = ControlImage(Palette);
    const QRgb Border = Rgb(0xC5C5C5);
    // Stand-alone box 1 (black): all four sides.
    EXPECT_EQ(Img.pixel(20, 4), Border);
    EXPECT_EQ(Img.pixel(20, 15), Border);
    EXPECT_EQ(Img.pixel(24, 10), Rgb(0x000000));
    // Top box 11 (grey $7F7F7F) at (20, 20): top border, no bottom border.
    EXPECT_EQ(Img.pixel(25, 20), Border);
    EXPECT_EQ(Img.pixel(25, 31), Rgb(0x7F7F7F));
    EXPECT_EQ(Img.pixel(20, 31), Border);
    // Middle box 21 at (20, 32): side lines only.
    EXPECT_EQ(Img.pixel(25, 32), Rgb(0x595959));
    EXPECT_EQ(Img.pixel(31, 36), Border);
    // Bottom box 51 at (20, 68): bottom line.
    EXPECT_EQ(Img.pixel(25, 79), Border);
    EXPECT_EQ(Img.pixel(25, 68), Rgb(0x0C0C0C));
    // The selected box 0: red outer frame and light inner frame.
    EXPECT_EQ(Img.pixel(4, 10), Rgb(0x0000FF));
    EXPECT_EQ(Img.pixel(5, 10), Rgb(0x94E2FF));
}

TEST_F(ColorPalette, StyleResetsTheAppearanceExceptCustom) {
    Palette->SetItemColorStyle(scCustom);
    Palette->ColorBoxAppearance()->BorderColor = TColor(0x010203);
    Palette->SetItemColorStyle(scCustom);
    EXPECT_EQ(uint32_t(Palette->ColorBoxAppearance()->BorderColor), 0x010203u);
    Palette->SetItemColorStyle(scWindows7);
    EXPECT_EQ(uint32_t(Palette->ColorBoxAppearance()->BorderColor), 0xC5C5C5u);
}

} // namespace
