// Face painting of the owner-drawn button, checked on pixels.
#include "LbButtons.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>

#include <QStringList>

namespace {

// Inputs of DrawButtonFace with the values the system's windows use.
struct Face {
    int W = 100, H = 23;
    int Step = 0;
    int NumGlyphs = 0;
    TBitmap* Glyph = nullptr;
    bool Pressed = false, Hot = false, Enabled = true, Flat = false, WordWrap = false, Popup = false;
    TLbButtonStyle Style = bsEncarta;
    TColor Color = 0xEDF7F8, WhenDown = 0x0080FF, HotTrack = clYellow, Light = clGray, Shadow = 0x808080;
    TLbButtonLayout Layout = blGlyphLeft;
    String Caption;
    TAlignment Alignment = taCenter;
};

// Paints the face onto a fresh bitmap prefilled with a sentinel colour.
struct Painted {
    TBitmap* Bmp;
    TFont* Font;
    explicit Painted(const Face& f, TColor Sentinel = 0x123456) {
        Bmp = new TBitmap(f.W, f.H);
        Bmp->Canvas()->Brush()->SetColor(Sentinel);
        Bmp->Canvas()->FillRect(TRect(0, 0, f.W, f.H));
        Font = new TFont;
        Font->SetName("Tahoma");
        Font->SetHeight(-11);
        DrawButtonFace(Bmp->Canvas(), f.W, f.H, f.Step, f.NumGlyphs, f.Glyph, f.Pressed, f.Hot, false,
                       f.Enabled, f.Flat, f.WordWrap, f.Popup, f.Style, f.Color, f.WhenDown, f.HotTrack,
                       f.Light, f.Shadow, Font, f.Layout, f.Caption, f.Alignment);
    }
    ~Painted() {
        TObject::Free(Bmp);
        TObject::Free(Font);
    }
    TColor At(int x, int y) { return Bmp->Canvas()->Pixels(x, y); }
    // Bounding box of the pixels inside Area that differ from Background.
    TRect InkBox(const TRect& Area, TColor Background) {
        TRect box(INT_MAX, INT_MAX, INT_MIN, INT_MIN);
        for (int y = Area.Top; y < Area.Bottom; ++y)
            for (int x = Area.Left; x < Area.Right; ++x)
                if (At(x, y) != Background) {
                    box.Left = std::min(box.Left, x);
                    box.Top = std::min(box.Top, y);
                    box.Right = std::max(box.Right, x + 1);
                    box.Bottom = std::max(box.Bottom, y + 1);
                }
        return box;
    }
    int CountInk(const TRect& Area, TColor Background) {
        int n = 0;
        for (int y = Area.Top; y < Area.Bottom; ++y)
            for (int x = Area.Left; x < Area.Right; ++x) n += At(x, y) != Background;
        return n;
    }
};

// A glyph strip of n frames 18 x 18: frame i is filled with Colors[i] on a clLime border whose
// bottom-left pixel makes clLime the transparent colour.
TBitmap* MakeStrip(const std::vector<TColor>& Colors) {
    const int n = int(Colors.size());
    TBitmap* b = new TBitmap(18 * n, 18);
    b->Canvas()->Brush()->SetColor(clLime);
    b->Canvas()->FillRect(TRect(0, 0, 18 * n, 18));
    for (int i = 0; i < n; ++i) {
        b->Canvas()->Brush()->SetColor(Colors[i]);
        b->Canvas()->FillRect(TRect(18 * i + 3, 3, 18 * i + 15, 15));
    }
    return b;
}

} // namespace

TEST(LbButtonFace, EncartaRestHotPressed) {
    Face f;
    f.Caption = "OK";
    {
        Painted p(f);
        EXPECT_EQ(p.At(3, 3), 0xEDF7F8);
        EXPECT_EQ(p.At(0, 5), clGray);     // left
        EXPECT_EQ(p.At(50, 0), clGray);    // top
        EXPECT_EQ(p.At(99, 5), 0x808080);  // right
        EXPECT_EQ(p.At(50, 22), 0x808080); // bottom
        EXPECT_EQ(p.At(0, 22), clGray);    // the bevel starts there
        EXPECT_EQ(p.At(1, 22), 0x808080);
    }
    {
        f.Hot = true;
        f.Step = 8;
        Painted p(f);
        EXPECT_EQ(p.At(3, 3), clYellow);
    }
    {
        f.Pressed = true;
        Painted p(f);
        EXPECT_EQ(p.At(3, 3), 0x0080FF);
    }
}

TEST(LbButtonFace, PressedEncartaSwapsBevelBoldensAndDoesNotShift) {
    Face f;
    f.Light = clWhite;
    f.Caption = "Abbrechen";
    f.WhenDown = clNone;
    Painted rest(f);
    f.Pressed = true;
    Painted down(f);
    EXPECT_EQ(rest.At(0, 5), clWhite);
    EXPECT_EQ(rest.At(99, 5), 0x808080);
    EXPECT_EQ(down.At(0, 5), 0x808080);
    EXPECT_EQ(down.At(50, 0), 0x808080);
    EXPECT_EQ(down.At(99, 5), clWhite);
    EXPECT_EQ(down.At(50, 22), clWhite);
    const TRect inner(2, 2, 98, 21);
    const TRect a = rest.InkBox(inner, 0xEDF7F8), b = down.InkBox(inner, 0xEDF7F8);
    EXPECT_EQ(a.Top, b.Top);
    EXPECT_EQ(a.Bottom, b.Bottom);
    EXPECT_GT(down.CountInk(inner, 0xEDF7F8), rest.CountInk(inner, 0xEDF7F8)); // bold
}

TEST(LbButtonFace, PressedNormalShiftsCaptionAndGlyphByOnePixel) {
    TBitmap* strip = MakeStrip({clRed});
    auto freeStrip = FreeAtEnd(strip);
    Face f;
    f.Style = bsNormal;
    f.WhenDown = clNone;
    f.Caption = "Wiederholen";
    f.Glyph = strip;
    f.NumGlyphs = 1;
    Painted rest(f);
    f.Pressed = true;
    Painted down(f);
    const TRect inner(2, 2, 98, 21);
    const TRect a = rest.InkBox(inner, 0xEDF7F8), b = down.InkBox(inner, 0xEDF7F8);
    EXPECT_EQ(b.Left, a.Left + 1);
    EXPECT_EQ(b.Top, a.Top + 1);
    EXPECT_EQ(b.Right, a.Right + 1);
    EXPECT_EQ(b.Bottom, a.Bottom + 1);
    for (int y = inner.Top; y < inner.Bottom - 1; ++y)
        for (int x = inner.Left; x < inner.Right - 1; ++x) ASSERT_EQ(rest.At(x, y), down.At(x + 1, y + 1));
}

TEST(LbButtonFace, FlatBevelOnlyWhileHotOrPressedAndNeverDisabled) {
    struct Case {
        bool Hot, Pressed, Enabled, Bevel;
    } cases[] = {
        {false, false, true, false}, {true, false, true, true},    {false, true, true, true},
        {true, true, false, false},  {false, false, false, false},
    };
    for (const Case& c : cases) {
        Face f;
        f.Style = bsNormal;
        f.Flat = true;
        f.Light = clWhite;
        f.HotTrack = clNone;
        f.WhenDown = clNone;
        f.Hot = c.Hot;
        f.Pressed = c.Pressed;
        f.Enabled = c.Enabled;
        Painted p(f);
        SCOPED_TRACE(testing::Message()
                     << "hot " << c.Hot << " pressed " << c.Pressed << " enabled " << c.Enabled);
        EXPECT_EQ(p.At(0, 5) != 0xEDF7F8, c.Bevel);
        EXPECT_EQ(p.At(99, 5) != 0xEDF7F8, c.Bevel);
    }
    // Not flat, disabled: the bevel stays.
    Face f;
    f.Style = bsNormal;
    f.Enabled = false;
    f.Light = clWhite;
    Painted p(f);
    EXPECT_EQ(p.At(0, 5), clWhite);
}

// The old style's double bevel: an inner shadow line and an outer light / dark-shadow line, both
// moving to the other sides while pressed.
TEST(LbButtonFace, OldStyleDoubleBevel) {
    const TColor dark = ColorToRGB(cl3DDkShadow);
    struct Probe {
        int X, Y;
        TColor Rest, Pressed;
    } probes[] = {
        {0, 5, clWhite, dark},        // outer left
        {50, 0, clWhite, dark},       // outer top
        {99, 5, dark, clWhite},       // outer right
        {50, 22, dark, clWhite},      // outer bottom
        {0, 22, dark, clWhite},       // the bottom line runs through the left corner
        {98, 5, 0x808080, 0xEDF7F8},  // inner right
        {50, 21, 0x808080, 0xEDF7F8}, // inner bottom
        {1, 5, 0xEDF7F8, 0x808080},   // inner left
        {50, 1, 0xEDF7F8, 0x808080},  // inner top
    };
    Face f;
    f.Style = bsOld;
    f.Light = clWhite;
    f.HotTrack = clNone;
    f.WhenDown = clNone;
    Painted rest(f);
    f.Pressed = true;
    Painted down(f);
    for (const Probe& p : probes) {
        EXPECT_EQ(rest.At(p.X, p.Y), p.Rest) << p.X << "," << p.Y;
        EXPECT_EQ(down.At(p.X, p.Y), p.Pressed) << p.X << "," << p.Y;
    }
}

TEST(LbButtonFace, DisabledDrawsGreyCaptionAndSecondGlyphFrame) {
    TBitmap* two = MakeStrip({clRed, clBlue});
    auto freeTwo = FreeAtEnd(two);
    TBitmap* one = MakeStrip({clRed});
    auto freeOne = FreeAtEnd(one);
    struct Case {
        TBitmap* Glyph;
        int NumGlyphs;
        bool Enabled;
        TColor Expected;
    } cases[] = {{two, 2, true, clRed}, {two, 2, false, clBlue}, {one, 1, false, clRed}};
    for (const Case& c : cases) {
        Face f;
        f.Style = bsNormal;
        f.Glyph = c.Glyph;
        f.NumGlyphs = c.NumGlyphs;
        f.Enabled = c.Enabled;
        f.Alignment = taLeftJustify;
        f.WordWrap = true;
        Painted p(f);
        // Glyph at (4, (23 - 18) div 2); its centre is filled, its border transparent.
        EXPECT_EQ(p.At(4 + 9, 2 + 9), c.Expected);
        EXPECT_EQ(p.At(4 + 1, 2 + 1), 0xEDF7F8);
    }
    Face f;
    f.Style = bsNormal;
    f.Enabled = false;
    f.Caption = "Nein";
    Painted p(f);
    const TRect inner(2, 2, 98, 21);
    int ink = 0;
    for (int y = inner.Top; y < inner.Bottom; ++y)
        for (int x = inner.Left; x < inner.Right; ++x) {
            const TColor c = p.At(x, y);
            if (c == 0xEDF7F8) continue;
            ++ink;
            // Text is drawn without smoothing: every inked pixel is the disabled grey.
            EXPECT_EQ(c, 0x808080) << x << "," << y;
        }
    EXPECT_GT(ink, 10);
}

TEST(LbButtonFace, GlyphFramesPickedByState) {
    TBitmap* four = MakeStrip({clRed, clBlue, clGreen, clNavy});
    auto freeFour = FreeAtEnd(four);
    TBitmap* three = MakeStrip({clRed, clBlue, clGreen});
    auto freeThree = FreeAtEnd(three);
    struct Case {
        TBitmap* Glyph;
        int NumGlyphs;
        bool Hot, Pressed;
        TColor Expected;
    } cases[] = {
        {four, 4, true, false, clNavy},
        {four, 4, true, true, clGreen},
        {three, 3, true, false, clRed},
        {three, 3, false, true, clGreen},
    };
    for (const Case& c : cases) {
        Face f;
        f.Style = bsEncarta; // no shift while pressed
        f.Glyph = c.Glyph;
        f.NumGlyphs = c.NumGlyphs;
        f.Hot = c.Hot;
        f.Pressed = c.Pressed;
        f.WordWrap = true;
        f.Alignment = taLeftJustify;
        Painted p(f);
        EXPECT_EQ(p.At(4 + 9, 2 + 9), c.Expected);
    }
}

// Where the glyph lands for every layout and alignment: the red centre of a one-frame strip starts
// 3 pixels inside the frame. The caption "OK" is measured on its own canvas with the same font.
TEST(LbButtonFace, GlyphPositionByLayoutAndAlignment) {
    TBitmap* strip = MakeStrip({clRed});
    auto freeStrip = FreeAtEnd(strip);
    TBitmap* probe = new TBitmap(10, 10);
    probe->Canvas()->Font()->SetName("Tahoma");
    probe->Canvas()->Font()->SetHeight(-11);
    const int tw = probe->Canvas()->TextWidth("OK");
    const int th = probe->Canvas()->TextHeight("OK");
    TObject::Free(probe);
    const int t = tw + 4;
    const int c = (50 - (18 + th + 4)) / 2; // top of the glyph-and-caption block, 50 high
    struct Case {
        TLbButtonLayout Layout;
        TAlignment Alignment;
        bool WordWrap;
        int H, Left, Top;
    } cases[] = {
        {blGlyphLeft, taLeftJustify, false, 23, 4, 2},
        {blGlyphLeft, taRightJustify, false, 23, 100 - 18 - t - 4, 2},
        {blGlyphLeft, taCenter, false, 23, (100 - 18) / 2 - t / 2, 2},
        {blGlyphLeft, taRightJustify, true, 23, 4, 2},
        {blGlyphRight, taLeftJustify, false, 23, 4 + t, 2},
        {blGlyphRight, taRightJustify, false, 23, 100 - 18 - 4, 2},
        {blGlyphRight, taCenter, false, 23, (100 - 18) / 2 + t / 2, 2},
        {blGlyphRight, taCenter, true, 23, 4 + t, 2},
        {blGlyphTop, taLeftJustify, false, 50, 4, c},
        {blGlyphTop, taRightJustify, false, 50, 100 - 18 - 4, c},
        {blGlyphTop, taCenter, true, 50, (100 - 18) / 2, c},
        {blGlyphBottom, taCenter, false, 50, (100 - 18) / 2, c + th},
    };
    for (const Case& k : cases) {
        Face f;
        f.Style = bsEncarta;
        f.H = k.H;
        f.Glyph = strip;
        f.NumGlyphs = 1;
        f.Caption = "OK";
        f.Layout = k.Layout;
        f.Alignment = k.Alignment;
        f.WordWrap = k.WordWrap;
        Painted p(f);
        TRect red(INT_MAX, INT_MAX, INT_MIN, INT_MIN);
        for (int y = 0; y < f.H; ++y)
            for (int x = 0; x < f.W; ++x)
                if (p.At(x, y) == clRed) {
                    red.Left = std::min(red.Left, x);
                    red.Top = std::min(red.Top, y);
                }
        SCOPED_TRACE(testing::Message() << "layout " << int(k.Layout) << " alignment " << int(k.Alignment)
                                        << " wrap " << k.WordWrap);
        EXPECT_EQ(red.Left - 3, k.Left);
        EXPECT_EQ(red.Top - 3, k.Top);
        // Without word wrap the caption keeps clear of the glyph frame (only the 12 x 12 centre inks it).
        const TRect glyph(k.Left, k.Top, k.Left + 18, k.Top + 18);
        if (!k.WordWrap) {
            EXPECT_EQ(p.CountInk(glyph, 0xEDF7F8), 144);
        }
    }
}

TEST(LbButtonFace, NarrowButtonCutsCaptionWithoutWordWrap) {
    Face f;
    f.W = 50;
    f.Style = bsNormal;
    f.Caption = "Wiederholen Wiederholen";
    f.Alignment = taLeftJustify;
    Painted cut(f);
    f.WordWrap = true;
    f.H = 60;
    Painted wrapped(f);
    const TRect box = cut.InkBox(TRect(1, 1, 49, 22), 0xEDF7F8);
    EXPECT_GE(box.Left, 4);
    EXPECT_LE(box.Right, 4 + 42); // fits the 42 available pixels
    const TRect wbox = wrapped.InkBox(TRect(1, 1, 49, 59), 0xEDF7F8);
    // The cut caption is a single line, the wrapped one takes at least two.
    EXPECT_GT(wbox.Height(), box.Height() + 5);
}

TEST(LbButtonFace, HalfHotTrackStepBlendsTruncated) {
    EXPECT_EQ(BlendHotTrackColor(0x000000, 0xFFFFFF, 4), 0x7F7F7F);
    EXPECT_EQ(BlendHotTrackColor(0x204060, 0x00FFFF, 0), 0x204060);
    EXPECT_EQ(BlendHotTrackColor(0x204060, 0x00FFFF, 8), 0x00FFFF);
    EXPECT_EQ(BlendHotTrackColor(0x000000, 0x0000FF, 1), 0x00001F); // 31.875
    EXPECT_EQ(BlendHotTrackColor(clBtnFace, clBtnFace, 3), ColorToRGB(clBtnFace));
    Face f;
    f.Style = bsNormal;
    f.Color = 0x000000;
    f.HotTrack = 0xFFFFFF;
    f.Step = 4;
    Painted p(f);
    EXPECT_EQ(p.At(3, 3), 0x7F7F7F);
    f.Enabled = false; // disabled buttons show no hot-track colour
    Painted q(f);
    EXPECT_EQ(q.At(3, 3), 0x000000);
}

TEST(LbButtonFace, GradientBands) {
    struct Case {
        int Height, BandStep;
    } cases[] = {{31, 1}, {62, 2}, {93, 3}};
    for (const Case& c : cases) {
        TBitmap* b = new TBitmap(10, c.Height + 5);
        auto freeB = FreeAtEnd(b);
        b->Canvas()->Brush()->SetColor(0x123456);
        b->Canvas()->FillRect(TRect(0, 0, 10, c.Height + 5));
        b->Canvas()->Pen()->SetStyle(psDot);
        DrawGradient(b->Canvas(), 0x000000, 0xF8F8F8, 2, 1, 8, 1 + c.Height);
        EXPECT_EQ(b->Canvas()->Pen()->Style(), psDot); // restored
        // Band i starts at i * step and covers the rows up to the next band (8 per channel step).
        for (int y = 0; y < c.Height; ++y) {
            const int band = y / c.BandStep;
            EXPECT_EQ(b->Canvas()->Pixels(2, 1 + y), RGB(8 * band, 8 * band, 8 * band)) << "row " << y;
            EXPECT_EQ(b->Canvas()->Pixels(7, 1 + y), RGB(8 * band, 8 * band, 8 * band));
        }
        EXPECT_EQ(b->Canvas()->Pixels(2, 1 + c.Height), 0x123456); // cut at the bottom
        EXPECT_EQ(b->Canvas()->Pixels(1, 5), 0x123456);
        EXPECT_EQ(b->Canvas()->Pixels(8, 5), 0x123456);
    }
}

TEST(LbButtonFace, TransparentStylesLeaveKeyColourOutside) {
    // The shape style paints everything in the key colour but caption and glyph; modern leaves the
    // corners outside its rounded frame untouched.
    Face f;
    f.Style = bsShape;
    Painted shape(f);
    EXPECT_EQ(shape.At(0, 0), 0xFF00FF);
    EXPECT_EQ(shape.At(50, 11), 0xFF00FF);
    f.Style = bsModern;
    f.Light = clWhite;
    f.HotTrack = clNone;
    f.Color = 0xC0C0C0;
    Painted modern(f);
    EXPECT_EQ(modern.At(0, 0), 0x123456);  // outside the 6 x 6 corner
    EXPECT_EQ(modern.At(50, 0), 0x808080); // rounded outline
    EXPECT_EQ(modern.At(1, 10), 0xC0C0C0); // inner outline in the face colour
    // The upper gradient covers rows 2..4 only: bands 0..10 all start on row 2, so band 10
    // (255 + 10 * (192 - 255) / 31 = 234.7) is what remains there.
    EXPECT_EQ(modern.At(50, 2), RGB(234, 234, 234));
    f.Style = bsQuicken;
    f.Shadow = 0xC0C0C0;
    f.Color = 0x603000;
    Painted quicken(f);
    EXPECT_EQ(quicken.At(10, 0), 0xC0C0C0); // top line
    EXPECT_EQ(quicken.At(2, 0), 0x123456);
    EXPECT_EQ(quicken.At(10, 10), 0x603000);
}

TEST(LbButtonFace, PopupMarkRightOfCentre) {
    Face f;
    f.Style = bsNormal;
    f.Popup = true;
    Painted p(f);
    // The 5 x 3 arrow at (W - 11, H div 2 - 1): a full top row, the tip in the middle below.
    for (int x = 0; x < 5; ++x) EXPECT_EQ(p.At(89 + x, 10), clBlack);
    EXPECT_EQ(p.At(91, 12), clBlack);
    EXPECT_EQ(p.At(89, 12), 0xEDF7F8); // transparent corner
}

TEST(LbButtonResources, GlyphStripsHaveTwoFramesOverATransparentCorner) {
    const QStringList names = {"LBOK",    "LBCANCEL", "LBHELP",  "LBYES",    "LBNO",
                               "LBCLOSE", "LBABORT",  "LBRETRY", "LBIGNORE", "LBALL"};
    for (const QString& name : names) {
        SCOPED_TRACE(name.toStdString());
        TBitmap* b = new TBitmap;
        auto freeB = FreeAtEnd(b);
        b->LoadFromResourceName(name);
        EXPECT_EQ(b->Width(), 36);
        EXPECT_EQ(b->Height(), name == "LBALL" ? 19 : 18);
        const TColor key = b->Canvas()->Pixels(0, b->Height() - 1);
        EXPECT_EQ(b->Canvas()->Pixels(18, b->Height() - 1), key);
        int normal = 0, disabled = 0;
        for (int y = 0; y < b->Height(); ++y)
            for (int x = 0; x < 18; ++x) {
                normal += b->Canvas()->Pixels(x, y) != key;
                disabled += b->Canvas()->Pixels(18 + x, y) != key;
            }
        EXPECT_GT(normal, 20);
        EXPECT_EQ(normal, disabled); // the disabled frame is a greyed copy
    }
    TBitmap* arrow = new TBitmap;
    auto freeArrow = FreeAtEnd(arrow);
    arrow->LoadFromResourceName("LBARROW");
    EXPECT_EQ(arrow->Width(), 5);
    EXPECT_EQ(arrow->Height(), 3);
}
