// The drop-down unit's painting routines on pixels, its colour arithmetic and its colour tables.
#include "AdvDropDownDraw.h"

#include "DropDownTestSupport.h"
#include "Graphics.h"
#include "ImgList.h"
#include "PaperFixture.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

namespace {

// A white bitmap to draw on.
using DropDownPaper = WhitePaper<40, 20>;

using SteppedGradient = DropDownPaper;
using DropDownText = DropDownPaper;

} // namespace

TEST(DropDownColours, BlendColor) {
    struct Case {
        TColor Color1, Color2;
        int Percent;
        TColor Expected;
    } cases[] = {
        {clWhite, clBlack, 20, 0x333333},
        {clWhite, clBlack, 50, 0x808080},     // 127.5 rounds to the even 128
        {clBtnFace, clBlack, 100, clBtnFace}, // returned as it is, not resolved
        {clBtnFace, clBlack, 150, clBtnFace},
        {clBlack, clHighlight, 0, clHighlight},
        {clBlack, clHighlight, -5, clHighlight},
        {RGB(200, 100, 0), RGB(0, 100, 200), 25, RGB(50, 100, 150)},
    };
    for (const Case& c : cases) EXPECT_EQ(BlendColor(c.Color1, c.Color2, c.Percent), c.Expected) << c.Percent;
    // A system colour in the mix is resolved first.
    EXPECT_EQ(BlendColor(clBtnFace, clBtnFace, 50), ColorToRGB(clBtnFace));
}

TEST(DropDownColours, ScaleColorChannels) {
    struct Case {
        TColor Color;
        int R, G, B;
        TColor Expected;
    } cases[] = {
        {0xF5F0E1, -10, -10, 0, 0xF5D8CA}, // the strip buttons' checked colours
        {0xF9D2B2, -10, -10, 0, 0xF9BDA0},
        {RGB(100, 100, 100), 20, 0, -50, RGB(100, 100, 50)}, // a positive delta keeps a channel
        {RGB(0, 0, 0), 30, -4, 0, RGB(30, 0, 0)},            // a zero channel becomes the delta
        // Beyond the channel range: held to 0..255 instead of spilling into the next channel.
        {RGB(0, 0, 0), 300, 0, 0, RGB(255, 0, 0)},
        {RGB(200, 200, 200), -150, 0, 0, RGB(0, 200, 200)},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ScaleColorChannels(c.Color, c.R, c.G, c.B), c.Expected) << std::hex << c.Color;
}

TEST_F(SteppedGradient, NoStepsIsOneBandOverTheWholeRectangle) {
    DrawSteppedGradient(Canvas(), clRed, clBlue, 0, TRect(5, 2, 15, 12), true);
    EXPECT_EQ(At(5, 2), clRed);
    EXPECT_EQ(At(14, 11), clRed);
    EXPECT_EQ(At(15, 5), clWhite);
    EXPECT_EQ(At(5, 12), clWhite);
    EXPECT_EQ(At(4, 5), clWhite);

    New(40, 20);
    DrawSteppedGradient(Canvas(), clGreen, clGreen, 7, TRect(0, 0, 10, 10), false);
    for (int y = 0; y < 10; ++y) EXPECT_EQ(At(9, y), clGreen) << y;
    EXPECT_EQ(At(0, 10), clWhite);
}

TEST_F(SteppedGradient, BandsRoundTiesToEven) {
    // Red 0 -> 5 in 2 bands over a width of 10 (9 after the right edge is taken in): the second
    // band's red is Round(2.5) = 2, its offset Round(4.5) = 4 and its extent Round(4.5) + 1 = 5.
    DrawSteppedGradient(Canvas(), RGB(0, 0, 0), RGB(5, 0, 0), 2, TRect(0, 0, 10, 4), true);
    EXPECT_EQ(At(0, 0), RGB(0, 0, 0));
    EXPECT_EQ(At(3, 3), RGB(0, 0, 0));
    EXPECT_EQ(At(4, 0), RGB(2, 0, 0)); // the bands overlap by one pixel; the later one wins
    EXPECT_EQ(At(8, 3), RGB(2, 0, 0));
    EXPECT_EQ(At(9, 0), clWhite); // the rounding leaves the last column to the caller
    EXPECT_EQ(At(0, 4), clWhite);
}

TEST_F(SteppedGradient, VerticalBandsAndMoreBandsThanRows) {
    New(10, 30);
    DrawSteppedGradient(Canvas(), RGB(0, 0, 0), RGB(0, 0, 200), 4, TRect(0, 0, 10, 21), false);
    // Band size 5: bands at 0, 5, 10, 15, each 6 rows, blue 0, 50, 100, 150.
    EXPECT_EQ(At(3, 0), RGB(0, 0, 0));
    EXPECT_EQ(At(3, 5), RGB(0, 0, 50));
    EXPECT_EQ(At(9, 14), RGB(0, 0, 100));
    EXPECT_EQ(At(0, 20), RGB(0, 0, 150));
    EXPECT_EQ(At(0, 21), clWhite);

    // 80 bands over 6 rows: every row is painted and the colours still run from the start.
    New(10, 30);
    DrawSteppedGradient(Canvas(), RGB(0, 0, 0), RGB(0, 0, 160), 80, TRect(0, 0, 10, 7), false);
    for (int y = 0; y < 7; ++y) EXPECT_NE(At(5, y), clWhite) << y;
    EXPECT_LT(GetBValue(At(5, 0)), GetBValue(At(5, 6)));
    EXPECT_EQ(At(5, 7), clWhite);
}

TEST_F(DropDownPaper, GradientBox) {
    DrawGradientBox(Canvas(), TRect(2, 2, 22, 12), clRed, clNone, clBlack, 1, gdVertical);
    EXPECT_EQ(At(2, 2), clBlack);
    EXPECT_EQ(At(21, 11), clBlack);
    EXPECT_EQ(At(10, 6), clRed);
    EXPECT_EQ(At(22, 6), clWhite);

    New(40, 20);
    DrawGradientBox(Canvas(), TRect(0, 0, 30, 10), RGB(0, 0, 0), RGB(0, 200, 0), clNone, 1, gdHorizontal);
    EXPECT_LT(GetGValue(At(0, 5)), 10); // 80 bands over 29 columns: later bands repaint the first
    EXPECT_EQ(GetRValue(At(0, 5)), 0);
    EXPECT_GT(GetGValue(At(28, 5)), 180);
    EXPECT_EQ(GetGValue(At(10, 0)), GetGValue(At(10, 9))); // colours change left to right only

    New(40, 20);
    DrawGradientBox(Canvas(), TRect(0, 0, 30, 10), clNone, clNone, clNone, 1, gdHorizontal);
    DrawGradientBox(nullptr, TRect(0, 0, 30, 10), clRed, clNone, clNone, 1, gdHorizontal);
    EXPECT_EQ(At(5, 5), clWhite);
}

TEST_F(DropDownPaper, TransparentGlyph) {
    auto* glyph = new TBitmap(4, 4);
    auto freeGlyph = FreeAtEnd(glyph);
    glyph->Canvas()->Brush()->SetColor(clFuchsia);
    glyph->Canvas()->FillRect(TRect(0, 0, 4, 4));
    glyph->Canvas()->SetPixels(2, 2, clBlue);
    glyph->Canvas()->SetPixels(3, 3, clBlue);

    DrawTransparentGlyph(Canvas(), glyph, clYellow, TRect(10, 5, 20, 15));
    EXPECT_EQ(At(10, 5), clYellow);
    EXPECT_EQ(At(12, 7), clBlue);
    EXPECT_EQ(At(13, 8), clBlue);
    EXPECT_EQ(At(14, 9), clWhite); // the glyph's own size

    // A smaller rectangle takes as much of the glyph as it holds.
    New(40, 20);
    DrawTransparentGlyph(Canvas(), glyph, clYellow, TRect(10, 5, 13, 8));
    EXPECT_EQ(At(12, 7), clBlue);
    EXPECT_EQ(At(13, 8), clWhite);
    EXPECT_EQ(At(13, 5), clWhite);
}

TEST_F(DropDownText, SizeTruncationAndCase) {
    Canvas()->Font()->SetName(QStringLiteral("Tahoma"));
    const String text = QStringLiteral("Drop-down caption");
    EXPECT_EQ(GetTextSize(Canvas(), String()).cx, 0);
    EXPECT_EQ(GetTextSize(Canvas(), String()).cy, 0);
    const TSize size = GetTextSize(Canvas(), text);
    EXPECT_EQ(size.cx, Canvas()->TextWidth(text));
    EXPECT_EQ(size.cy, Canvas()->TextHeight(text));

    const int full = Canvas()->TextWidth(text);
    EXPECT_EQ(TruncateText(Canvas(), text, full, true), text);
    EXPECT_EQ(TruncateText(Canvas(), text, 0, true), text); // nothing fits: the text stays
    const String cut = TruncateText(Canvas(), text, full / 2, true);
    EXPECT_TRUE(cut.endsWith(QStringLiteral("...")));
    EXPECT_LT(Canvas()->TextWidth(cut), full / 2);
    // The longest head that fits: one more character would not.
    const String head = cut.left(cut.size() - 3);
    EXPECT_GE(Canvas()->TextWidth(text.left(head.size() + 1) + QStringLiteral("...")), full / 2);
    const String plain = TruncateText(Canvas(), text, full / 2, false);
    EXPECT_TRUE(text.startsWith(plain));
    EXPECT_LT(Canvas()->TextWidth(plain), full / 2);

    // A head never splits a character outside the basic plane.
    const String wide = QStringLiteral("ab") + QString::fromUcs4(U"\U0001F600") + QStringLiteral("cd");
    for (int w = 1; w < Canvas()->TextWidth(wide); ++w) {
        const String t = TruncateText(Canvas(), wide, w, false);
        EXPECT_FALSE(!t.isEmpty() && t.back().isHighSurrogate()) << w;
    }

    EXPECT_EQ(CaseAdjust(QStringLiteral("abc ä"), false), QStringLiteral("ABC Ä"));
    EXPECT_EQ(CaseAdjust(QStringLiteral("Mixed"), true), QStringLiteral("Mixed"));
}

TEST_F(DropDownText, ImageAndTextAndMarkup) {
    New(100, 20);
    auto* images = NewOneColourImages(clRed);
    auto freeImages = FreeAtEnd(images);

    // The image 4 pixels in and vertically centred, the text after it.
    DrawImageAndText(Canvas(), TRect(10, 0, 100, 20), QStringLiteral("Abc"), 0, images);
    EXPECT_EQ(At(14, 6), clRed);
    EXPECT_EQ(At(21, 13), clRed);
    EXPECT_EQ(At(13, 6), clWhite);
    EXPECT_EQ(At(14, 5), clWhite);
    auto inkIn = [this](int X1, int X2) {
        for (int x = X1; x < X2; ++x)
            for (int y = 0; y < 20; ++y)
                if (At(x, y) != clWhite && At(x, y) != clRed) return true;
        return false;
    };
    EXPECT_TRUE(inkIn(30, 50));
    EXPECT_FALSE(inkIn(50, 100));

    // Without an image the text is centred.
    New(100, 20);
    DrawImageAndText(Canvas(), TRect(0, 0, 100, 20), QStringLiteral("Abc"), 0, nullptr);
    EXPECT_FALSE(inkIn(0, 35));
    EXPECT_TRUE(inkIn(35, 65));
    EXPECT_FALSE(inkIn(65, 100));

    // Markup: measuring paints nothing and gives the same size as painting.
    New(100, 20);
    TPoint measured(-1, -1), painted(-1, -1);
    DrawMarkupText(Canvas(), QStringLiteral("<b>Bold</b> text"), TRect(0, 0, 100, 20), measured, 0, false,
                   nullptr);
    EXPECT_FALSE(inkIn(0, 100));
    EXPECT_GT(measured.X, 0);
    EXPECT_GT(measured.Y, 0);
    DrawMarkupText(Canvas(), QStringLiteral("<b>Bold</b> text"), TRect(0, 0, 100, 20), painted, 0, true,
                   nullptr);
    EXPECT_TRUE(inkIn(0, 100));
    EXPECT_EQ(painted.X, measured.X);
    EXPECT_EQ(painted.Y, measured.Y);
    DrawMarkupText(Canvas(), String(), TRect(0, 0, 100, 20), painted, 0, true, nullptr);
    EXPECT_EQ(painted.X, 0);
    EXPECT_EQ(painted.Y, 0);
}

namespace {

bool IsColour(TColor C) {
    return C == clNone || (Cardinal(C) & 0xFF000000u) == 0xFF000000u || Cardinal(C) <= 0xFFFFFFu;
}

} // namespace

TEST(DropDownColourTables, RowsPerStyle) {
    EXPECT_EQ(PopupStyleColors(tsCustom), nullptr);
    EXPECT_EQ(ButtonStyleColors(tsCustom), nullptr);
    EXPECT_EQ(ItemStyleColors(tsCustom), nullptr);
    EXPECT_EQ(SelectionStyleColors(scCustom), nullptr);

    // Every value of every other row is a colour, a system colour or clNone.
    for (int s = tsOffice2003Blue; s <= tsOffice2010Black; ++s) {
        if (s == tsCustom) continue;
        const TKitStyle style = TKitStyle(s);
        const TPopupStyleColors* p = PopupStyleColors(style);
        const TButtonStyleColors* b = ButtonStyleColors(style);
        const TItemStyleColors* i = ItemStyleColors(style);
        ASSERT_TRUE(p && b && i) << s;
        for (TColor c : {p->DropDownColor,
                         p->DropDownColorTo,
                         p->DropDownBorderColor.value_or(clNone),
                         p->Header.Color,
                         p->Header.ColorTo,
                         p->Header.FontColor,
                         p->Header.BorderColor,
                         p->Footer.Color,
                         p->Footer.ColorTo,
                         p->Footer.FontColor,
                         p->Footer.BorderColor,
                         b->Color,
                         b->ColorTo,
                         b->BorderColor,
                         b->ColorHot,
                         b->ColorHotTo,
                         b->BorderColorHot,
                         b->ColorDown,
                         b->ColorDownTo,
                         b->BorderColorDown,
                         b->ColorDisabled,
                         b->ColorDisabledTo,
                         b->ColorChecked,
                         b->ColorCheckedTo,
                         b->BorderColorChecked,
                         i->ColorHot,
                         i->ColorHotTo,
                         i->ColorMirrorHot,
                         i->ColorMirrorHotTo,
                         i->ColorSelected,
                         i->ColorSelectedTo,
                         i->ColorMirrorSelected,
                         i->ColorMirrorSelectedTo,
                         i->BorderColor,
                         i->BorderColorTop,
                         i->BorderColorBottom,
                         i->EdgeColor,
                         i->ColorSelectedText.value_or(clNone)})
            EXPECT_TRUE(IsColour(c)) << "style " << s << std::hex << " value " << c;
    }

    // Samples of each table, among them the rows that differ from their neighbours.
    const TPopupStyleColors* vista = PopupStyleColors(tsWindowsVista);
    EXPECT_EQ(vista->Header.Color, vista->Footer.ColorTo); // the footer's gradient runs the other way
    EXPECT_EQ(vista->Header.ColorTo, vista->Footer.Color);
    EXPECT_EQ(ButtonStyleColors(tsWindowsVista)->BorderColorChecked, TColor(0xFEDF9A));
    EXPECT_EQ(ButtonStyleColors(tsWindowsVista)->BorderColorChecked,
              ButtonStyleColors(tsWindowsVista)->BorderColorDown);
    const TPopupStyleColors* blue = PopupStyleColors(tsOffice2003Blue);
    EXPECT_FALSE(blue->DropDownBorderColor.has_value());
    EXPECT_EQ(blue->Header.BorderColor, clBlack);
    EXPECT_EQ(blue->Footer.BorderColor, TColor(0x962D00));
    EXPECT_EQ(PopupStyleColors(tsOffice2007Luna)->DropDownBorderColor, std::optional<TColor>(clNone));
    EXPECT_EQ(PopupStyleColors(tsOffice2007Luna)->Footer.FontColor, TColor(0x723708));
    EXPECT_EQ(ButtonStyleColors(tsWindowsXP)->ColorDown, clInactiveCaption);
    EXPECT_EQ(ButtonStyleColors(tsOffice2010Silver)->ColorHotTo, clNone);
    EXPECT_EQ(ButtonStyleColors(tsOffice2007Silver)->BorderColorChecked, TColor(0x45667B));
    EXPECT_EQ(ItemStyleColors(tsTerminal)->ColorSelectedText, std::optional<TColor>(clHighlightText));
    EXPECT_FALSE(ItemStyleColors(tsWindows7)->ColorSelectedText.has_value());
    EXPECT_EQ(ItemStyleColors(tsOffice2007Obsidian)->EdgeColor, TColor(0xC3D9DF));
    EXPECT_EQ(SelectionStyleColors(scOffice2007)->MirrorTo, TColor(0xB3F1FC));
    EXPECT_EQ(SelectionStyleColors(scWindows7)->ColorTo, TColor(0xFCDBC1));
    EXPECT_EQ(SelectionStyleColors(scWindowsVista)->MirrorFrom, clNone);
}
