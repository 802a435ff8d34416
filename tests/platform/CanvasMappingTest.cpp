// The canvas's MM_LOMETRIC mapping mode (0.1 mm units, y upward): conversions, clipping, shapes,
// text and measuring in logical units, and the bitmap copies the printing uses. A canvas of
// 254 pixels per inch has one pixel per logical unit, so positions can be checked exactly.
#include "Graphics.h"
#include "Printers.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

struct MappingFixture : ::testing::Test {
    TBitmap Bmp;
    TCanvas* C = nullptr;
    void Make(int W, int H, int Dpi) {
        Bmp.SetSize(W, H);
        C = Bmp.Canvas();
        C->SetMapMode(MM_TEXT);
        C->SetPixelsPerInch(Dpi);
        C->Brush()->SetColor(clWhite);
        C->FillRect(TRect(0, 0, W, H));
    }
    // Bounding box of the pixels of Color, in device pixels (empty when none).
    TRect Ink(TColor Color) {
        QImage& img = Bmp.Image();
        TRect r(img.width(), img.height(), 0, 0);
        const QRgb want = ToQColor(Color).rgb();
        for (int y = 0; y < img.height(); ++y)
            for (int x = 0; x < img.width(); ++x)
                if ((img.pixel(x, y) | 0xFF000000u) == want) {
                    r.Left = std::min(r.Left, x);
                    r.Top = std::min(r.Top, y);
                    r.Right = std::max(r.Right, x + 1);
                    r.Bottom = std::max(r.Bottom, y + 1);
                }
        return r.IsEmpty() ? TRect() : r;
    }
};

// Pixels that differ between two pictures of the same size (-1 for different sizes).
int Differences(const QImage& A, const QImage& B) {
    if (A.size() != B.size()) return -1;
    const QImage a = A.convertToFormat(QImage::Format_RGB32), b = B.convertToFormat(QImage::Format_RGB32);
    int n = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) n += a.pixel(x, y) != b.pixel(x, y);
    return n;
}

} // namespace

TEST_F(MappingFixture, ConversionsFollowTheResolutionAndTurnY) {
    struct Case {
        int Dpi;
        TPoint Logical;
        TPoint Device;
    } cases[] = {
        {254, {10, -20}, {10, 20}},       {600, {254, -254}, {600, 600}},
        {96, {254, -127}, {96, 48}},      {300, {0, 0}, {0, 0}},
        {300, {-100, 100}, {-118, -118}}, // 118.1 rounds down
        {96, {2100, -2970}, {794, 1123}}, // an A4 page
    };
    Make(10, 10, 96);
    for (const Case& c : cases) {
        C->SetPixelsPerInch(c.Dpi);
        EXPECT_EQ(C->SetMapMode(MM_LOMETRIC), C->MapMode());
        TPoint p = c.Logical;
        ASSERT_TRUE(LPtoDP(C, &p, 1));
        EXPECT_EQ(p, c.Device) << c.Dpi << " " << c.Logical.X << "," << c.Logical.Y;
        // Back to logical within the rounding of one pixel.
        ASSERT_TRUE(DPtoLP(C, &p, 1));
        EXPECT_LE(std::abs(p.X - c.Logical.X), 254 / c.Dpi + 1);
        EXPECT_LE(std::abs(p.Y - c.Logical.Y), 254 / c.Dpi + 1);
    }
    // MM_TEXT converts nothing; an unknown mode is refused and changes nothing.
    EXPECT_EQ(SetMapMode(C, MM_TEXT), MM_LOMETRIC);
    TRect r(3, 4, 5, 6);
    ASSERT_TRUE(LPtoDP(C, r));
    EXPECT_EQ(r, TRect(3, 4, 5, 6));
    EXPECT_EQ(SetMapMode(C, 7), 0);
    EXPECT_EQ(GetMapMode(C), MM_TEXT);
}

TEST_F(MappingFixture, ClipRectIsLogicalWithThePageBelowTheTop) {
    Make(200, 300, 254);
    C->SetMapMode(MM_LOMETRIC);
    // The whole bitmap: top at 0, page height negative.
    EXPECT_EQ(C->ClipRect(), TRect(0, 0, 200, -300));
    // A logical clip given either way up covers the same pixels.
    C->IntersectClipRect(TRect(20, -30, 120, -130));
    EXPECT_EQ(C->ClipRect(), TRect(20, -30, 120, -130));
    C->Brush()->SetColor(clRed);
    C->FillRect(TRect(0, 0, 200, -300));
    EXPECT_EQ(Ink(clRed), TRect(20, 30, 120, 130));
    C->SelectClipRect(nullptr);
    C->SelectClipRect(TRect(0, -250, 10, -240));
    EXPECT_EQ(C->ClipRect(), TRect(0, -240, 10, -250));
    // The same bitmap at the screen's resolution answers tenths of a millimetre.
    C->SelectClipRect(nullptr);
    C->SetPixelsPerInch(96);
    EXPECT_EQ(C->ClipRect(), TRect(0, 0, 529, -794));
}

TEST_F(MappingFixture, ShapesLandWhereTheirLogicalCornersMap) {
    Make(100, 100, 254);
    C->SetMapMode(MM_LOMETRIC);
    C->Pen()->SetColor(clBlue);
    C->Brush()->SetColor(clBlue);
    C->Rectangle(10, -10, 30, -20); // y upward: top -10, bottom -20
    EXPECT_EQ(Ink(clBlue), TRect(10, 10, 30, 20));
    C->Pen()->SetColor(clRed);
    C->MoveTo(50, -60);
    C->LineTo(80, -60);
    EXPECT_EQ(Ink(clRed), TRect(50, 60, 80, 61));
    EXPECT_EQ(C->PenPos(), TPoint(80, -60));
    C->SetPixels(5, -95, clYellow);
    EXPECT_EQ(C->Pixels(5, -95), clYellow);
    EXPECT_EQ(Bmp.Canvas()->Pixels(5, -95), clYellow);

    // Pen widths are logical too: 1 mm at 600 pixels per inch is 24 pixels.
    Make(400, 400, 600);
    C->SetMapMode(MM_LOMETRIC);
    C->Pen()->SetColor(clBlack);
    C->Pen()->SetWidth(10);
    C->MoveTo(0, -50);
    C->LineTo(100, -50);
    const TRect line = Ink(clBlack);
    EXPECT_EQ(line.Height(), 24);
    EXPECT_EQ(C->Pen()->Width(), 10); // the pen keeps its logical width
}

TEST_F(MappingFixture, TextStaysUprightAndMeasuresInLogicalUnits) {
    // The same glyphs as in device units: 254 pixels per inch maps one unit to one pixel.
    TBitmap ref(120, 40);
    ref.Canvas()->Brush()->SetColor(clWhite);
    ref.Canvas()->FillRect(TRect(0, 0, 120, 40));
    ref.Canvas()->Font()->SetHeight(-20);
    ref.Canvas()->TextOut(5, 6, "Fgh");
    Make(120, 40, 254);
    C->SetMapMode(MM_LOMETRIC);
    C->Font()->SetHeight(-20);
    C->TextOut(5, -6, "Fgh");
    EXPECT_EQ(Differences(Bmp.Image(), ref.Image()), 0);
    EXPECT_EQ(C->PenPos(), TPoint(5 + ref.Canvas()->TextWidth("Fgh"), -6));

    // At 600 pixels per inch, 3.5 mm characters are about 83 pixels; extents come back in 0.1 mm.
    Make(10, 10, 600);
    C->SetMapMode(MM_LOMETRIC);
    C->Font()->SetHeight(-35);
    const int h = C->TextHeight("gh");
    EXPECT_GT(h, 35);
    EXPECT_LT(h, 50);
    C->SetMapMode(MM_TEXT);
    C->Font()->SetHeight(-83); // 3.5 mm in pixels
    const int pixels = C->TextHeight("gh");
    EXPECT_NEAR(h, pixels * 254.0 / 600.0, 1.0);
}

TEST_F(MappingFixture, EscapementsTurnTheOtherWayWithYUpward) {
    // A negative escapement in MM_LOMETRIC turns the text counter-clockwise on the page, as the
    // positive one does in device units: the same pixels, drawn by TextOut and by TextRect.
    for (int way = 0; way < 2; ++way) {
        TBitmap ref(80, 80);
        ref.Canvas()->Brush()->SetColor(clWhite);
        ref.Canvas()->FillRect(TRect(0, 0, 80, 80));
        ref.Canvas()->Brush()->SetStyle(bsClear);
        ref.Canvas()->Font()->SetHeight(-16);
        ref.Canvas()->Font()->SetOrientation(900);
        Make(80, 80, 254);
        C->SetMapMode(MM_LOMETRIC);
        C->Brush()->SetStyle(bsClear);
        C->Font()->SetHeight(-16);
        C->Font()->SetOrientation(-900);
        if (way == 0) {
            ref.Canvas()->TextOut(20, 70, "Up");
            C->TextOut(20, -70, "Up");
        } else {
            ref.Canvas()->TextRect(TRect(0, 0, 80, 80), 20, 70, "Up");
            C->TextRect(TRect(0, 0, 80, -80), 20, -70, "Up");
        }
        EXPECT_EQ(Differences(Bmp.Image(), ref.Image()), 0) << way;
        // Counter-clockwise from (20, 70): the text runs up the picture.
        const TRect ink = Ink(clBlack);
        EXPECT_LE(ink.Bottom, 71) << way;
        EXPECT_LT(ink.Top, 60) << way;
    }
}

TEST_F(MappingFixture, CalcRectHeightsAreSignedByTheDirectionOfY) {
    struct Case {
        int Mode;
        Cardinal Flags;
        String Text;
    } cases[] = {
        {MM_TEXT, DT_CALCRECT | DT_SINGLELINE, "gh"},
        {MM_LOMETRIC, DT_CALCRECT | DT_SINGLELINE, "gh"},
        {MM_LOMETRIC, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX, "one two three four five six"},
    };
    Make(10, 10, 254);
    C->Font()->SetHeight(-20);
    for (const Case& c : cases) {
        C->SetMapMode(c.Mode);
        TRect r(0, 0, 60, 50);
        const int h = DrawText(C, c.Text, r, c.Flags);
        const int line = C->TextHeight("gh");
        const int lines = (c.Flags & DT_WORDBREAK) ? 3 : 1;
        if (c.Mode == MM_TEXT) {
            EXPECT_EQ(h, line * lines);
            EXPECT_EQ(r.Bottom, h);
        } else {
            // Negative: the text runs down the page; the rectangle's bottom is below its top.
            EXPECT_LE(h, -line * (lines == 1 ? 1 : 2)) << c.Text.toStdString();
            EXPECT_EQ(r.Bottom, h);
        }
        EXPECT_GT(r.Right, 0);
        EXPECT_LE(r.Right, lines == 1 ? 60 : 61);
    }
}

TEST_F(MappingFixture, DeviceCapsAreTheTargetsOwn) {
    Make(300, 200, 96);
    EXPECT_EQ(GetDeviceCaps(C, LOGPIXELSX), 96);
    EXPECT_EQ(GetDeviceCaps(C, LOGPIXELSY), 96);
    EXPECT_EQ(GetDeviceCaps(C, HORZRES), 300);
    EXPECT_EQ(GetDeviceCaps(C, VERTRES), 200);
    EXPECT_EQ(GetDeviceCaps(C, PHYSICALOFFSETX), 0);

    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    TPrinter p;
    p.OutputFileName = dir.filePath("caps.pdf");
    p.Resolution = 300;
    EXPECT_EQ(p.GetDeviceCaps(LOGPIXELSX), 300);
    EXPECT_EQ(p.GetDeviceCaps(HORZRES), p.PageWidth());
    EXPECT_EQ(p.GetDeviceCaps(VERTRES), p.PageHeight());
    p.BeginDoc();
    TCanvas* pc = p.Canvas();
    EXPECT_EQ(GetDeviceCaps(pc, LOGPIXELSX), 300);
    EXPECT_EQ(GetDeviceCaps(pc, LOGPIXELSY), 300);
    EXPECT_EQ(GetDeviceCaps(pc, HORZRES), p.PageWidth());
    EXPECT_EQ(GetDeviceCaps(pc, VERTRES), p.PageHeight());
    // An A4 page in tenths of a millimetre.
    pc->SetMapMode(MM_LOMETRIC);
    const TRect page = pc->ClipRect();
    EXPECT_NEAR(page.Right, 2100, 1);
    EXPECT_NEAR(page.Bottom, -2970, 1);
    p.Abort();
    // The next job starts in device units.
    p.BeginDoc();
    EXPECT_EQ(GetMapMode(p.Canvas()), MM_TEXT);
    p.Abort();
}

TEST_F(MappingFixture, SaveAndRestoreKeepTheMappingMode) {
    Make(10, 10, 254);
    const int level = C->SaveDC();
    C->SetMapMode(MM_LOMETRIC);
    C->RestoreDC(level);
    EXPECT_EQ(C->MapMode(), MM_TEXT);
}

TEST_F(MappingFixture, BitmapCopiesIconsAndCheckBoxesInLogicalUnits) {
    // A 2 x 2 picture stretched over 20 x 20 units, its alpha left out.
    QImage pic(2, 2, QImage::Format_ARGB32);
    pic.setPixel(0, 0, qRgba(255, 0, 0, 0)); // transparent red still prints red
    pic.setPixel(1, 0, qRgb(0, 0, 255));
    pic.setPixel(0, 1, qRgb(0, 0, 255));
    pic.setPixel(1, 1, qRgb(255, 0, 0));
    Make(60, 60, 254);
    C->SetMapMode(MM_LOMETRIC);
    EXPECT_EQ(StretchDIBits(C, TRect(10, -10, 30, -30), pic, SRCCOPY), 2);
    EXPECT_EQ(Bmp.Canvas()->Pixels(12, -12), clRed);
    EXPECT_EQ(Bmp.Canvas()->Pixels(28, -12), clBlue);
    EXPECT_EQ(Bmp.Canvas()->Pixels(12, -28), clBlue);
    EXPECT_EQ(Bmp.Canvas()->Pixels(28, -28), clRed);
    EXPECT_EQ(Bmp.Canvas()->Pixels(31, -31), clWhite);
    EXPECT_EQ(StretchDIBits(C, TRect(0, 0, 10, -10), QImage(), SRCCOPY), 0);

    // An icon printed as mask then colours: its colours where opaque, the paper elsewhere.
    TIcon icon;
    QImage ic(2, 1, QImage::Format_ARGB32);
    ic.setPixel(0, 0, qRgba(0, 128, 0, 255));
    ic.setPixel(1, 0, qRgba(0, 128, 0, 0));
    icon.SetImage(ic);
    StretchDIBits(C, TRect(40, -40, 60, -50), icon.MaskImage(), SRCCOPY);
    StretchDIBits(C, TRect(40, -40, 60, -50), icon.ColorImage(), SRCINVERT);
    EXPECT_EQ(C->Pixels(45, -45), TColor(0x008000));
    EXPECT_EQ(C->Pixels(55, -45), clWhite);

    // The classic check box in the mapped rectangle.
    Make(60, 60, 254);
    C->SetMapMode(MM_LOMETRIC);
    TRect box(20, -20, 33, -33);
    ASSERT_TRUE(DrawFrameControl(C, box, DFC_BUTTON, DFCS_BUTTONCHECK | DFCS_CHECKED | DFCS_FLAT));
    EXPECT_EQ(box, TRect(20, -20, 33, -33));
    TBitmap ref(60, 60);
    ref.Canvas()->Brush()->SetColor(clWhite);
    ref.Canvas()->FillRect(TRect(0, 0, 60, 60));
    TRect rr(20, 20, 33, 33);
    DrawFrameControl(ref.Canvas(), rr, DFC_BUTTON, DFCS_BUTTONCHECK | DFCS_CHECKED | DFCS_FLAT);
    EXPECT_EQ(Differences(Bmp.Image(), ref.Image()), 0);
}
