// Bitmaps (size, transparency, scan lines, files), pictures and image lists.
#include "Graphics.h"
#include "ImgList.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

// A bitmap of W x H filled with Color.
void Fill(TBitmap& B, int W, int H, TColor Color) {
    B.SetSize(W, H);
    B.Canvas()->Brush()->SetColor(Color);
    B.Canvas()->FillRect(TRect(0, 0, W, H));
}

std::string RowsOf(TCanvas* C, int W, int H) {
    std::string s;
    for (int y = 0; y < H; ++y) {
        for (int x = 0; x < W; ++x) {
            TColor c = C->Pixels(x, y);
            s += c == clRed       ? 'r'
                 : c == clBlack   ? 'X'
                 : c == clFuchsia ? 'm'
                 : c == clLime    ? 'g'
                 : c == clWhite   ? '.'
                                  : '?';
        }
        s += '/';
    }
    return s;
}

} // namespace

TEST(Bitmaps, NewPixelsAreWhiteAndResizingKeepsTheOldOnes) {
    TBitmap b;
    EXPECT_TRUE(b.Empty());
    b.SetSize(3, 2);
    EXPECT_FALSE(b.Empty());
    EXPECT_EQ(RowsOf(b.Canvas(), 3, 2), ".../.../");
    b.Canvas()->SetPixels(1, 1, clRed);
    b.SetWidth(4);
    b.SetHeight(3);
    EXPECT_EQ(RowsOf(b.Canvas(), 4, 3), "..../.r../..../");
    b.SetSize(2, 2);
    EXPECT_EQ(RowsOf(b.Canvas(), 2, 2), "../.r/");
    // Drawing on a zero-sized bitmap does nothing and does not fail.
    b.SetSize(0, 5);
    EXPECT_TRUE(b.Empty());
    b.Canvas()->FillRect(TRect(0, 0, 5, 5));
    b.Canvas()->TextOut(0, 0, "x");
}

TEST(Bitmaps, TransparentDrawLeavesOutTheKeyColour) {
    // A glyph: magenta background, a black bar, a lime bottom-left pixel.
    TBitmap glyph;
    Fill(glyph, 4, 3, clFuchsia);
    glyph.Canvas()->SetPixels(1, 1, clBlack);
    glyph.Canvas()->SetPixels(2, 1, clBlack);
    glyph.Canvas()->SetPixels(0, 2, clLime);

    struct Case {
        const char* Name;
        bool Transparent;
        TColor Key; // clDefault: automatic (bottom-left pixel)
        const char* Expected;
    } cases[] = {
        {"opaque", false, clFuchsia, "mmmm/mXXm/gmmm/"},
        {"explicit key", true, clFuchsia, "rrrr/rXXr/grrr/"},
        {"automatic key", true, clDefault, "mmmm/mXXm/rmmm/"},
    };
    for (const auto& c : cases) {
        glyph.SetTransparent(c.Transparent);
        glyph.SetTransparentColor(c.Key);
        TBitmap target;
        Fill(target, 4, 3, clRed);
        target.Canvas()->Draw(0, 0, &glyph);
        EXPECT_EQ(RowsOf(target.Canvas(), 4, 3), c.Expected) << c.Name;
    }
    EXPECT_EQ(glyph.TransparentMode(), tmAuto);
    EXPECT_EQ(glyph.TransparentColor(), clLime);
    glyph.SetTransparentColor(clFuchsia);
    EXPECT_EQ(glyph.TransparentMode(), tmFixed);
    EXPECT_EQ(glyph.TransparentColor(), clFuchsia);

    // Drawing at an offset is clipped to the target.
    TBitmap target;
    Fill(target, 3, 2, clRed);
    target.Canvas()->Draw(1, 0, &glyph);
    EXPECT_EQ(RowsOf(target.Canvas(), 3, 2), "rrr/rrX/");
}

TEST(Bitmaps, StretchDrawScalesByWholePixels) {
    TBitmap src;
    Fill(src, 2, 1, clRed);
    src.Canvas()->SetPixels(1, 0, clBlack);
    TBitmap dst;
    Fill(dst, 5, 2, clWhite);
    dst.Canvas()->StretchDraw(TRect(0, 0, 4, 2), &src);
    EXPECT_EQ(RowsOf(dst.Canvas(), 5, 2), "rrXX./rrXX./");
}

TEST(Bitmaps, ScanLinesUseBgrByteOrder) {
    TBitmap b;
    b.SetPixelFormat(pf24bit);
    Fill(b, 3, 2, clWhite);
    b.Canvas()->SetPixels(1, 1, RGB(10, 20, 30));
    Byte* row = b.ScanLine(1);
    EXPECT_EQ(row[3], 30); // blue
    EXPECT_EQ(row[4], 20); // green
    EXPECT_EQ(row[5], 10); // red
    // Writing through the scan line shows on the canvas.
    row[6] = 0;
    row[7] = 0;
    row[8] = 255;
    EXPECT_EQ(b.Canvas()->Pixels(2, 1), clRed);

    TBitmap c;
    c.SetPixelFormat(pf32bit);
    Fill(c, 2, 1, RGB(1, 2, 3));
    Byte* p = c.ScanLine(0);
    EXPECT_EQ(p[4], 3);
    EXPECT_EQ(p[5], 2);
    EXPECT_EQ(p[6], 1);
    EXPECT_THROW(c.ScanLine(1), EInvalidGraphicOperation);
}

TEST(Bitmaps, AssignCopiesAndChangesNotify) {
    TBitmap a;
    Fill(a, 3, 3, clRed);
    a.SetTransparent(true);
    a.SetTransparentColor(clRed);
    TBitmap b;
    int changes = 0;
    b.OnChange = [&](TObject*) { ++changes; };
    b.Assign(&a);
    EXPECT_GE(changes, 1);
    EXPECT_TRUE(b.Transparent());
    EXPECT_EQ(b.TransparentColor(), clRed);
    b.Canvas()->SetPixels(0, 0, clBlack);
    EXPECT_EQ(a.Canvas()->Pixels(0, 0), clRed); // independent copies
    b.Assign(nullptr);
    EXPECT_TRUE(b.Empty());
    TFont f;
    EXPECT_THROW(b.Assign(&f), EConvertError);
}

TEST(Bitmaps, FilesRoundTripAndBadFilesFailCleanly) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    TBitmap a;
    Fill(a, 5, 4, clLime);
    a.Canvas()->SetPixels(4, 3, clRed);
    String file = dir.filePath("pic.bmp");
    a.SaveToFile(file);
    TBitmap b;
    b.LoadFromFile(file);
    EXPECT_EQ(b.Width(), 5);
    EXPECT_EQ(b.Height(), 4);
    EXPECT_EQ(b.Canvas()->Pixels(4, 3), clRed);
    EXPECT_EQ(b.Canvas()->Pixels(0, 0), clLime);

    EXPECT_THROW(b.LoadFromFile(dir.filePath("missing.bmp")), EFOpenError);
    String junk = dir.filePath("junk.bmp");
    QFile f(junk);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("this is no picture");
    f.close();
    EXPECT_THROW(b.LoadFromFile(junk), EInvalidGraphic);
    EXPECT_EQ(b.Width(), 5); // unchanged after the error

    // Saving into a folder that does not exist fails and leaves nothing behind.
    EXPECT_THROW(a.SaveToFile(dir.filePath("no/such/folder/pic.bmp")), EFCreateError);
}

TEST(Pictures, PickTheGraphicClassByContent) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    QImage img(6, 3, QImage::Format_ARGB32);
    img.fill(QColor(255, 0, 0));
    // A PNG under a misleading extension still loads as a bitmap.
    String png = dir.filePath("pic.dat");
    ASSERT_TRUE(img.save(png, "PNG"));
    String ico = dir.filePath("pic.ico");
    QImage icon(16, 16, QImage::Format_ARGB32);
    icon.fill(Qt::transparent);
    ASSERT_TRUE(icon.save(ico, "ICO"));

    TPicture p;
    int changes = 0;
    p.OnChange = [&](TObject*) { ++changes; };
    p.LoadFromFile(png);
    ASSERT_TRUE(Is<TBitmap>(p.Graphic()));
    EXPECT_EQ(p.Width(), 6);
    EXPECT_EQ(p.Height(), 3);
    EXPECT_GE(changes, 1);

    TPicture q;
    q.LoadFromFile(ico);
    ASSERT_TRUE(Is<TIcon>(q.Graphic()));
    EXPECT_EQ(q.Width(), 16);

    String text = dir.filePath("notes.xyz");
    QFile f(text);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("plain text, no picture");
    f.close();
    try {
        p.LoadFromFile(text);
        FAIL() << "no error raised";
    } catch (const EInvalidGraphic& e) {
        EXPECT_EQ(e.Message(), "Unknown picture file extension (.xyz)");
    }
    // The picture is unchanged after the error.
    ASSERT_TRUE(Is<TBitmap>(p.Graphic()));
    EXPECT_EQ(p.Width(), 6);
    EXPECT_THROW(p.LoadFromFile(dir.filePath("missing.png")), EFOpenError);

    // Assign copies the graphic; Bitmap replaces an icon by an empty bitmap.
    TPicture r;
    r.Assign(&p);
    ASSERT_NE(r.Graphic(), p.Graphic());
    EXPECT_EQ(r.Width(), 6);
    EXPECT_EQ(q.Bitmap()->Width(), 0);
    EXPECT_TRUE(Is<TBitmap>(q.Graphic()));
}

TEST(ImageLists, AddDrawAndGetImagesWithTheirTransparency) {
    TImageList list(nullptr, 3, 2);
    EXPECT_EQ(list.Count(), 0);
    int changes = 0;
    list.OnChange = [&](TObject*) { ++changes; };

    // A strip of two images with a magenta key.
    TBitmap strip;
    Fill(strip, 6, 2, clFuchsia);
    strip.Canvas()->SetPixels(0, 0, clBlack);
    strip.Canvas()->SetPixels(4, 1, clRed);
    EXPECT_EQ(list.AddMasked(&strip, clFuchsia), 0);
    EXPECT_EQ(list.Count(), 2);

    // An image with a mask: white mask pixels are transparent.
    TBitmap img, mask;
    Fill(img, 3, 2, clLime);
    Fill(mask, 3, 2, clBlack);
    mask.Canvas()->SetPixels(2, 0, clWhite);
    EXPECT_EQ(list.Add(&img, &mask), 2);
    EXPECT_EQ(list.Count(), 3);
    EXPECT_EQ(changes, 2);

    struct Case {
        int Index;
        const char* Expected;
    } cases[] = {{0, "X../.../"}, {1, ".../.r./"}, {2, "gg./ggg/"}, {3, ".../.../"}, {-1, ".../.../"}};
    for (const auto& c : cases) {
        TBitmap target;
        Fill(target, 3, 2, clWhite);
        list.Draw(target.Canvas(), 0, 0, c.Index);
        EXPECT_EQ(RowsOf(target.Canvas(), 3, 2), c.Expected) << c.Index;
    }

    // Disabled images are drawn in the system's shadow colour, not in their own colours.
    TBitmap target;
    Fill(target, 4, 3, clWhite);
    list.Draw(target.Canvas(), 0, 0, 0, false);
    EXPECT_EQ(target.Canvas()->Pixels(0, 0), ColorToRGB(clBtnShadow));

    TBitmap out;
    EXPECT_TRUE(list.GetBitmap(1, &out));
    EXPECT_EQ(out.Width(), 3);
    EXPECT_EQ(out.Canvas()->Pixels(1, 1), clRed);
    EXPECT_EQ(out.Canvas()->Pixels(0, 0), ColorToRGB(clBtnFace));
    EXPECT_FALSE(list.GetBitmap(7, &out));

    list.Clear();
    EXPECT_EQ(list.Count(), 0);
    // A new size empties the list.
    list.AddMasked(&strip, clFuchsia);
    list.SetSize(4, 4);
    EXPECT_EQ(list.Count(), 0);
}
