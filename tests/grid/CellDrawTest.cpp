// The cell drawing primitives, checked on pixels.
#include "CellDraw.h"

#include "AdvXPVS.h"
#include "Controls.h"
#include "Graphics.h"
#include "OSInfo.h"
#include "PaperFixture.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

namespace {

// A white bitmap to draw on; the platform's switches set by a test are reset after it.
class Paper : public WhitePaper<60, 40> {
protected:
    void TearDown() override {
        WhitePaper::TearDown();
        ResetPlatformSwitches();
    }
};

using Gradient = Paper;
using Indicator = Paper;
using Shape = Paper;
using Face = Paper;
using Marks = Paper;

int Blue(TColor C) {
    return GetBValue(Cardinal(C));
}

TColorTones SampleTones() {
    TColorTones t;
    t.Background = {0x101010, 0x202020, 0x303030};
    t.Hover = {0x404040, 0x505050, 0x606060};
    t.Selected = {0x0000C0, 0x707070, 0x808080};
    t.Disabled = {0x909090, 0xA0A0A0, 0xB0B0B0};
    return t;
}

} // namespace

TEST(ColourArithmetic, Channels) {
    EXPECT_EQ(HalveColor(0x808080), TColor(0x404040));
    EXPECT_EQ(HalveColor(clBtnFace), TColor(0x787878));                    // system colours resolved first
    EXPECT_EQ(ScaleColorPercent(RGB(200, 200, 200), 50), RGB(44, 44, 44)); // 300 keeps its low 8 bits
    EXPECT_EQ(ScaleColorPercent(RGB(100, 50, 0), -50), RGB(50, 25, 0));
    EXPECT_EQ(InterpolateColor(clBlack, clWhite, 0, 5, 10), RGB(128, 128, 128)); // 127.5 rounds to even
    EXPECT_EQ(InterpolateColor(clRed, clNone, 0, 5, 10), clRed);
    EXPECT_EQ(InterpolateColor(clRed, clBlue, 3, 1, 3), clRed);        // no range: no division by zero
    EXPECT_EQ(InterpolateColor(clBlack, clWhite, 0, 20, 10), clWhite); // kept within 0..255
}

TEST_F(Gradient, StepsAreLimitedByTheHeight) {
    // 16 steps on a 10-pixel-high rectangle: 9 steps, 10 bands, one per row.
    DrawStepGradient(Canvas(), clBlack, clBlue, false, TRect(0, 0, 20, 10), 16);
    for (int row = 0; row < 10; ++row) {
        const int expected = int(std::lround(row * 255.0 / 9));
        EXPECT_NEAR(Blue(At(5, row)), expected, 1) << row;
        EXPECT_EQ(At(0, row), At(19, row)) << row;
    }
    EXPECT_EQ(At(5, 10), clWhite);

    // Horizontal: the colour changes from left to right.
    DrawStepGradient(Canvas(), clBlack, clBlue, true, TRect(0, 20, 60, 30), 4);
    EXPECT_EQ(At(0, 25), clBlack);
    EXPECT_EQ(At(59, 25), clBlue);
    EXPECT_LT(Blue(At(20, 25)), Blue(At(40, 25)));
}

TEST_F(Gradient, NoneColoursAndEmptyRectangles) {
    DrawStepGradient(Canvas(), clNone, clBlue, false, TRect(0, 0, 10, 10), 16);
    EXPECT_EQ(At(0, 0), clBlue);
    EXPECT_EQ(At(9, 9), clBlue);
    DrawStepGradient(Canvas(), clNone, clNone, false, TRect(20, 0, 30, 10), 16);
    EXPECT_EQ(At(25, 5), clWhite);
    DrawStepGradient(Canvas(), clRed, clBlue, false, TRect(40, 5, 50, 5), 16);
    EXPECT_EQ(At(45, 5), clWhite);
    // Top and bottom swapped: drawn as the upright rectangle.
    DrawStepGradient(Canvas(), clRed, clRed, false, TRect(40, 20, 50, 10), 16);
    EXPECT_EQ(At(45, 15), clRed);
}

TEST_F(Gradient, GradientCellHalvesAndBorders) {
    // Vertical with a mirror colour: upper half red to red, lower half blue to blue.
    DrawGradientCell(Canvas(), TRect(0, 0, 20, 20), clRed, true, false, clBlack, true, clBlue, clBlue, clRed);
    EXPECT_EQ(At(10, 5), clRed);
    EXPECT_EQ(At(10, 15), clBlue);
    EXPECT_EQ(At(0, 10), clBlack); // frame
    EXPECT_EQ(At(19, 10), clBlack);
    EXPECT_EQ(At(10, 0), clBlack);
    EXPECT_EQ(At(10, 19), clBlack);
    // Solid fill reaches one row further down; sides only leaves top and bottom open.
    DrawGradientCell(Canvas(), TRect(30, 0, 50, 20), clLime, true, true, clBlack, true, clNone, clNone,
                     clNone);
    EXPECT_EQ(At(40, 20), clLime);
    EXPECT_EQ(At(40, 0), clLime);
    EXPECT_EQ(At(30, 10), clBlack);
    EXPECT_EQ(At(49, 10), clBlack);
}

TEST_F(Gradient, RoundedSelectionFrame) {
    const TColor corner = 0x000001, innerCorner = 0x000002, edge = 0x000003, lower = 0x000004,
                 upper = 0x000005;
    // L 0, T 0, R 39, B 18 after the rectangle's bottom -2 and right -1.
    DrawSelectionGradient(Canvas(), clRed, clNone, 0, TRect(0, 0, 40, 20), corner, innerCorner, edge, lower,
                          upper, clNone, clNone);
    EXPECT_EQ(At(0, 0), corner);
    EXPECT_EQ(At(1, 0), innerCorner);
    EXPECT_EQ(At(0, 1), innerCorner);
    EXPECT_EQ(At(1, 1), innerCorner);
    EXPECT_EQ(At(0, 18), corner);
    EXPECT_EQ(At(38, 0), corner);
    EXPECT_EQ(At(10, 0), edge);
    EXPECT_EQ(At(10, 18), edge);
    EXPECT_EQ(At(0, 10), edge);
    EXPECT_EQ(At(38, 10), edge);
    EXPECT_EQ(At(10, 1), upper);
    EXPECT_EQ(At(10, 17), lower);
    EXPECT_EQ(At(1, 4), upper); // upper half of the inner side line
    EXPECT_EQ(At(1, 14), lower);
    EXPECT_EQ(At(10, 9), clRed); // solid inside
    EXPECT_EQ(At(39, 10), clWhite);
    EXPECT_EQ(At(10, 19), clWhite);

    // Neither end rounded: straight edges to the ends, no corner pixels.
    DrawSelectionGradient(Canvas(), clRed, clBlue, 3, TRect(0, 20, 40, 40), corner, innerCorner, edge, lower,
                          upper, clNone, clNone);
    EXPECT_EQ(At(0, 20), edge);
    EXPECT_EQ(At(0, 21), upper);
    EXPECT_EQ(At(0, 22), clRed); // gradient from the face colour at the top
    EXPECT_EQ(At(0, 36), clBlue);
}

TEST_F(Indicator, ProgressBarTextAndFill) {
    New(120, 40);
    Canvas()->Font()->SetHeight(-8);
    Canvas()->Brush()->SetColor(clWhite);
    // Without format: the rounded position and "%", a full bar above 100.
    DrawProgressBar(Canvas(), TRect(10, 5, 110, 35), clBlue, false, clBlack, QString(), 100, 0, 0, 0, 150,
                    clBlack, clSilver, clWhite);
    EXPECT_EQ(At(11, 6), clBlue);
    EXPECT_EQ(At(108, 6), clBlue);
    EXPECT_EQ(At(9, 20), clBlack); // border one pixel outside
    EXPECT_EQ(At(8, 20), clWhite); // then the entry brush colour

    // "%d items" from 0 to 200 at 50: a quarter.
    New(120, 40);
    Canvas()->Font()->SetHeight(-8);
    DrawProgressBar(Canvas(), TRect(10, 5, 110, 35), clBlue, false, clNone, QStringLiteral("%d items"), 200,
                    0, 0, 0, 50, clBlack, clSilver, clWhite);
    EXPECT_EQ(At(11, 6), clBlue);
    EXPECT_EQ(At(34, 6), clBlue);
    EXPECT_EQ(At(36, 6), clSilver);
    EXPECT_EQ(At(9, 20), clWhite); // no border colour

    // A real-number format whose text holds a "d" is formatted as a real number, not refused.
    EXPECT_NO_THROW(DrawProgressBar(Canvas(), TRect(10, 5, 110, 35), clBlue, false, clNone,
                                    QStringLiteral("%.1f done"), 10, 0, 0, 0, 5, clBlack, clSilver, clWhite));
    EXPECT_EQ(At(55, 6), clBlue);
    EXPECT_EQ(At(65, 6), clSilver);
    // A format that does not suit a number falls back to the percentage text.
    EXPECT_NO_THROW(DrawProgressBar(Canvas(), TRect(10, 5, 110, 35), clBlue, false, clNone,
                                    QStringLiteral("%s"), 10, 10, 0, 0, 5, clBlack, clSilver, clWhite));
}

TEST_F(Indicator, LevelBarColourByLevel) {
    New(110, 20);
    TLevelProgress level;
    level.Level0Color = 0x000010;
    level.Level1Color = 0x000020;
    level.Level2Color = 0x000030;
    level.Level3Color = 0x000040;
    level.Level1Perc = 30;
    level.Level2Perc = 70;
    level.ShowGradient = false;
    level.ShowPercentage = false;
    level.BackgroundColor = clWhite;
    struct Case {
        int Percent;
        TColor Color;
    } cases[] = {{20, 0x000010}, {50, 0x000020}, {90, 0x000030}, {100, 0x000040}};
    for (const Case& c : cases) {
        DrawLevelProgressBar(Canvas(), TRect(0, 0, 102, 20), c.Percent, level);
        EXPECT_EQ(At(2, 10), c.Color) << c.Percent;
        EXPECT_EQ(At(c.Percent - 2, 10), c.Color) << c.Percent;
        if (c.Percent < 100) {
            EXPECT_EQ(At(c.Percent + 3, 10), clWhite) << c.Percent;
        }
    }
    // Stacked: one segment per level up to its threshold.
    level.Stacked = true;
    DrawLevelProgressBar(Canvas(), TRect(0, 0, 102, 20), 100, level);
    EXPECT_EQ(At(10, 10), 0x000010);
    EXPECT_EQ(At(50, 10), 0x000020);
    EXPECT_EQ(At(90, 10), 0x000040);
    EXPECT_EQ(At(100, 10), 0x000040);
    // Blocks of 7 pixels with 2-pixel gaps.
    level.Stacked = false;
    level.CompletionSmooth = false;
    DrawLevelProgressBar(Canvas(), TRect(0, 0, 102, 20), 20, level);
    EXPECT_EQ(At(2, 10), 0x000010);
    EXPECT_EQ(At(8, 10), 0x000010);
    EXPECT_EQ(At(9, 10), clWhite);
    EXPECT_EQ(At(11, 10), 0x000010);
}

TEST_F(Indicator, PieAndPositiveNegativeBar) {
    New(60, 60);
    DrawProgressPie(Canvas(), TRect(10, 10, 50, 50), clRed, false, 25);
    EXPECT_EQ(At(38, 20), clRed); // upper right quarter
    EXPECT_NE(At(20, 40), clRed); // lower left stays
    int top = 0;                  // the circle at 12 o'clock is grey
    while (top < 30 && At(30, top) == clWhite) ++top;
    EXPECT_EQ(At(30, top), 0x808080);

    New(60, 20);
    DrawPosNegBar(Canvas(), TRect(0, 0, 60, 20), 50, clGreen, clRed, false, 100);
    EXPECT_EQ(At(30, 10), clGreen);
    EXPECT_EQ(At(41, 10), clGreen);
    EXPECT_EQ(At(44, 10), clWhite);
    EXPECT_EQ(At(25, 10), clWhite);
    DrawPosNegBar(Canvas(), TRect(0, 0, 60, 20), -500, clGreen, clRed, false, 100); // limited to -maximum
    EXPECT_EQ(At(3, 10), clRed);
}

TEST_F(Shape, BoxesAndFigures) {
    // csSquare in a box 20 wide and 10 high: the rectangle (L+1, T+1) - (L+9, T+9).
    DrawCellShape(Canvas(), 0, 0, clBlack, clRed, csSquare, 10, 20);
    EXPECT_EQ(At(1, 1), clBlack);
    EXPECT_EQ(At(8, 8), clBlack);
    EXPECT_EQ(At(4, 4), clRed);
    EXPECT_EQ(At(9, 9), clWhite);
    EXPECT_EQ(At(12, 4), clWhite);
    // A shape value of 19 draws nothing.
    DrawCellShape(Canvas(), 30, 0, clBlack, clRed, 19, 10, 10);
    for (int x = 30; x < 40; ++x) EXPECT_EQ(At(x, 5), clWhite);
    // Triangle pointing down: wide at the top, apex at the bottom centre.
    DrawCellShape(Canvas(), 0, 20, clBlack, clRed, csTriangleDown, 10, 10);
    EXPECT_EQ(At(5, 22), clRed);
    EXPECT_EQ(At(1, 28), clWhite);
    // A horizontal line across the middle.
    DrawCellShape(Canvas(), 30, 20, clBlack, clBlue, csLineHorz, 10, 10);
    EXPECT_EQ(At(32, 25), clBlue);
    EXPECT_EQ(At(32, 24), clWhite);
    // The star is filled at its centre and empty in the corners.
    DrawCellShape(Canvas(), 45, 20, clBlack, clRed, csStar, 14, 14);
    EXPECT_EQ(At(52, 27), clRed);
    EXPECT_EQ(At(46, 21), clWhite);
}

TEST_F(Face, TonesFillWithTheStatesTone) {
    const TColorTones tones = SampleTones();
    DrawComboButton(Canvas(), 0, TRect(0, 0, 40, 20), tones, fsPressed, flTones);
    EXPECT_EQ(At(36, 4), tones.Selected.BrushColor);
    EXPECT_EQ(At(25, 4), tones.Background.BorderColor); // the line at left + 1
    EXPECT_EQ(At(32, 9), tones.Background.TextColor);   // the arrow
    EXPECT_EQ(At(20, 4), clWhite);

    DrawButtonFrame(Canvas(), 0, TRect(0, 20, 20, 40), tones, fsHot, flTones);
    EXPECT_EQ(At(10, 30), tones.Hover.BrushColor);
    EXPECT_EQ(At(0, 30), tones.Hover.BorderColor);

    DrawSpinButtons(Canvas(), 0, TRect(30, 21, 60, 41), tones, fsNormal, flTones);
    EXPECT_EQ(At(45, 22), tones.Background.BrushColor);
    EXPECT_EQ(At(51, 25), clBlack); // the up triangle
}

TEST_F(Face, ClassicAndThemedLooks) {
    const TColorTones tones = SampleTones();
    const TRect cell(0, 0, 40, 20);
    // Classic: the platform's frame control in the button's place.
    DrawComboButton(Canvas(), 0, cell, tones, fsNormal, flClassic);
    TBitmap* reference = new TBitmap(60, 40);
    auto freeReference = FreeAtEnd(reference);
    reference->Canvas()->Brush()->SetColor(clWhite);
    reference->Canvas()->FillRect(TRect(0, 0, 60, 40));
    TRect button(21, 1, 38, 19);
    DrawFrameControl(reference->Canvas(), button, DFC_SCROLL, DFCS_SCROLLCOMBOBOX);
    EXPECT_EQ(Region(cell), reference->Image().copy(0, 0, 40, 20));
    const QImage classic = Region(cell);

    // Themed: drawn through the visual style, a different picture in the same place.
    New(60, 40);
    DrawComboButton(Canvas(), 0, cell, tones, fsNormal, flThemed);
    EXPECT_NE(Region(cell), classic);
    EXPECT_EQ(At(10, 10), clWhite); // outside the button
    EXPECT_NE(At(29, 10), clWhite);
    EXPECT_EQ(OpenThemeHandleCount(), 0);

    // Without an active visual style the themed look falls back to the classic one.
    PlatformSwitches().VisualStylesActive = false;
    New(60, 40);
    DrawComboButton(Canvas(), 0, cell, tones, fsNormal, flThemed);
    EXPECT_EQ(Region(cell), classic);
    ResetPlatformSwitches();

    // Push buttons: classic and themed differ, pressed differs from normal in both.
    New(60, 40);
    DrawButtonFrame(Canvas(), 0, TRect(0, 0, 30, 20), tones, fsNormal, flClassic);
    DrawButtonFrame(Canvas(), 0, TRect(30, 0, 60, 20), tones, fsPressed, flClassic);
    DrawButtonFrame(Canvas(), 0, TRect(0, 20, 30, 40), tones, fsNormal, flThemed);
    DrawButtonFrame(Canvas(), 0, TRect(30, 20, 60, 40), tones, fsPressed, flThemed);
    const QImage classicNormal = Region(TRect(0, 0, 30, 20)), classicPressed = Region(TRect(30, 0, 60, 20));
    const QImage themedNormal = Region(TRect(0, 20, 30, 40)), themedPressed = Region(TRect(30, 20, 60, 40));
    EXPECT_NE(classicNormal, classicPressed);
    EXPECT_NE(themedNormal, themedPressed);
    EXPECT_NE(classicNormal, themedNormal);
    EXPECT_EQ(At(15, 10), GetSysColor(15)); // classic face in the button face colour

    // Spin buttons in the flat look differ from the classic ones.
    New(60, 40);
    DrawSpinButtons(Canvas(), 0, TRect(0, 1, 30, 21), tones, fsNormal, flClassic);
    DrawSpinButtons(Canvas(), 0, TRect(30, 1, 60, 21), tones, fsNormal, flFlat);
    EXPECT_NE(Region(TRect(14, 0, 29, 20)), Region(TRect(44, 0, 59, 20)));
}

TEST_F(Marks, TransparentBitmapTriangleAndUnderline) {
    TBitmap* bmp = new TBitmap(4, 4);
    auto freeBmp = FreeAtEnd(bmp);
    bmp->Canvas()->Brush()->SetColor(clFuchsia);
    bmp->Canvas()->FillRect(TRect(0, 0, 4, 4));
    bmp->Canvas()->SetPixels(2, 2, clRed);
    DrawTransparentBitmap(Canvas(), bmp, clLime, TRect(10, 10, 30, 30));
    EXPECT_EQ(At(10, 10), clLime);
    EXPECT_EQ(At(12, 12), clRed);
    EXPECT_EQ(At(14, 14), clWhite); // drawn at its own size
    DrawResourceBitmap(Canvas(), clLime, TRect(0, 0, 10, 10), QStringLiteral("NO SUCH PICTURE")); // nothing
    EXPECT_EQ(At(0, 0), clWhite);

    DrawDownTriangle(Canvas(), 45, 5, clBlue);
    EXPECT_EQ(At(45, 5), clBlue);
    EXPECT_EQ(At(45, 6), clBlue);
    EXPECT_EQ(At(45, 8), clBlue);
    EXPECT_EQ(At(45, 9), clWhite);
    EXPECT_EQ(At(41, 6), clWhite);

    // The zigzag: red pixels below the marked characters, none before them.
    New(200, 40);
    const String text = QStringLiteral("Helo wrld");
    DrawErrorUnderline(nullptr, Canvas(), text, 4, 5, 12, TRect(10, 5, 190, 35));
    const int start = 10 + 1 + Canvas()->TextWidth(text.left(5));
    int red = 0, redBefore = 0;
    for (int y = 15; y < 30; ++y)
        for (int x = 0; x < 200; ++x)
            if (At(x, y) == clRed) (x < start - 1 ? redBefore : red)++;
    EXPECT_GT(red, 10);
    EXPECT_EQ(redBefore, 0);
}

TEST(LayeredWindows, CallsReachTheWindow) {
    EXPECT_FALSE(CallSetLayeredWindowAttributes(987654, 0, 200, LWA_ALPHA)); // no such window
    TWinControl* window = new TWinControl(nullptr);
    auto freeWindow = FreeAtEnd(window);
    window->SetBounds(0, 0, 20, 20);
    EXPECT_TRUE(CallSetLayeredWindowAttributes(window->Handle(), 0, 128, LWA_ALPHA));
    TPoint at(5, 6);
    TSize size{30, 40};
    EXPECT_TRUE(
        CallUpdateLayeredWindow(window->Handle(), nullptr, &at, &size, nullptr, nullptr, 0, nullptr, 0));
    EXPECT_EQ(window->Left(), 5);
    EXPECT_EQ(window->Height(), 40);
}
