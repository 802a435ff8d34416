// Pictures kept encoded in memory, the URL picture cache and the picture container.
#include "PictureContainer.h"
#include "PictureTestData.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstdlib>

using namespace picture_test;

namespace {

bool Near(QRgb A, QRgb B, int Tolerance) {
    return std::abs(qRed(A) - qRed(B)) <= Tolerance && std::abs(qGreen(A) - qGreen(B)) <= Tolerance &&
           std::abs(qBlue(A) - qBlue(B)) <= Tolerance;
}

// The frames of the animation used below: a red full frame, then a green and a blue part.
QByteArray ThreeFrameGif() {
    return MakeGif(20, 10, {{0, 0, 20, 10, 10, 1}, {4, 2, 6, 5, 20, 2}, {10, 5, 8, 4, 30, 3}});
}

TEST(PictureContainer, DecodesEveryFormatFromMemory) {
    const QColor color(200, 60, 30);
    struct {
        const char* Format;
        QByteArray Data;
        int Tolerance;
    } cases[] = {
        {"PNG", Encode(Filled(32, 16, color), "PNG"), 0},
        {"BMP", Encode(Filled(32, 16, color), "BMP"), 0},
        {"JPEG", Encode(Filled(32, 16, color), "JPEG"), 6},
        {"GIF", MakeGif(32, 16, {{0, 0, 32, 16, 0, 1}}), 0},
    };
    for (const auto& c : cases) {
        ASSERT_FALSE(c.Data.isEmpty()) << c.Format;
        THTMLPicture pic;
        int changes = 0;
        pic.OnChange = [&](TObject*) { ++changes; };
        pic.LoadFromData(c.Data);
        EXPECT_FALSE(pic.Empty()) << c.Format;
        EXPECT_EQ(pic.GetWidth(), 32) << c.Format;
        EXPECT_EQ(pic.GetHeight(), 16) << c.Format;
        EXPECT_EQ(changes, 1) << c.Format;
        // The file is kept exactly as loaded.
        EXPECT_EQ(pic.Data(), c.Data) << c.Format;
        const QRgb expected = QByteArray(c.Format) == "GIF" ? GifColor(1) : color.rgb();
        EXPECT_TRUE(Near(pic.Image().pixel(5, 5), expected, c.Tolerance)) << c.Format;

        TBitmap bmp(40, 20);
        bmp.Canvas()->Brush()->SetColor(clWhite);
        bmp.Canvas()->FillRect(TRect(0, 0, 40, 20));
        pic.Draw(bmp.Canvas(), TRect(4, 2, 10, 6)); // own size: the rectangle's size does not matter
        EXPECT_TRUE(Near(bmp.Image().pixel(4 + 31, 2 + 15), expected, c.Tolerance)) << c.Format;
        EXPECT_EQ(bmp.Image().pixel(4 + 32, 2), qRgb(255, 255, 255)) << c.Format;
        pic.SetStretch(true);
        bmp.Canvas()->FillRect(TRect(0, 0, 40, 20));
        pic.Draw(bmp.Canvas(), TRect(0, 0, 8, 4));
        EXPECT_TRUE(Near(bmp.Image().pixel(7, 3), expected, c.Tolerance)) << c.Format;
        EXPECT_EQ(bmp.Image().pixel(8, 4), qRgb(255, 255, 255)) << c.Format;

        // Not GIF: no frames, and the animation size is the picture's.
        if (QByteArray(c.Format) != "GIF") {
            EXPECT_EQ(pic.FrameCount(), -1) << c.Format;
            EXPECT_EQ(pic.MaxWidth(), 32) << c.Format;
        }
    }
}

TEST(PictureContainer, BadDataNeverCrashesAndLeavesThePictureEmpty) {
    QImage noise(128, 96, QImage::Format_RGB32);
    for (int y = 0; y < noise.height(); ++y)
        for (int x = 0; x < noise.width(); ++x)
            noise.setPixel(x, y, qRgb((x * 37 + y * 11) & 255, (x * y) & 255, (x ^ y) * 2 & 255));
    const QByteArray jpeg = Encode(noise, "JPEG");
    const QByteArray gif = ThreeFrameGif();
    {
        // A truncated JPEG decodes as far as it goes.
        THTMLPicture pic;
        pic.LoadFromData(jpeg.left(jpeg.size() / 2));
        EXPECT_EQ(pic.GetWidth(), 128);
    }
    const QByteArray bad[] = {QByteArray("not a picture at all"), jpeg.left(40),
                              QByteArray("\xFF\xD8\xFF\xE0", 4), gif.left(30),
                              QByteArray("GIF89a\xFF\xFF\xFF\xFF", 10)};
    for (const QByteArray& b : bad) {
        THTMLPicture pic;
        pic.LoadFromData(Encode(Filled(4, 4, Qt::red), "PNG"));
        TMemoryStream stream;
        stream.WriteBuffer(b);
        stream.SetPosition(0);
        try {
            pic.LoadFromStream(&stream);
        } catch (const EInvalidGraphic&) {
        }
        // Either decoded (some partial files are pictures) or empty; never half-loaded.
        EXPECT_EQ(pic.Empty(), pic.Image().isNull());
        if (pic.Empty()) {
            EXPECT_TRUE(pic.Data().isEmpty());
        }
    }
    THTMLPicture pic;
    TMemoryStream stream;
    stream.WriteBuffer(QByteArray("garbage"));
    stream.SetPosition(0);
    EXPECT_THROW(pic.LoadFromStream(&stream), EInvalidGraphic);
    EXPECT_TRUE(pic.Empty());
    pic.LoadFromFile(QStringLiteral("/nonexistent/picture.png")); // swallowed
    EXPECT_TRUE(pic.Empty());
    pic.LoadFromStream(static_cast<TStream*>(nullptr));
    EXPECT_TRUE(pic.Empty());
}

TEST(PictureContainer, GifFrames) {
    THTMLPicture pic;
    int frameChanges = 0;
    pic.OnFrameChange = [&](TObject*) { ++frameChanges; };
    pic.LoadFromData(ThreeFrameGif());
    EXPECT_TRUE(pic.IsGIF());
    EXPECT_EQ(pic.FrameCount(), 3);
    EXPECT_EQ(pic.Frame(), 1);
    EXPECT_EQ(pic.GetWidth(), 20);
    EXPECT_EQ(pic.MaxWidth(), 20);
    EXPECT_EQ(pic.MaxHeight(), 10);

    pic.SetFrame(2);
    EXPECT_EQ(frameChanges, 1);
    EXPECT_EQ(pic.FrameXPos(), 4);
    EXPECT_EQ(pic.FrameYPos(), 2);
    EXPECT_EQ(pic.GetWidth(), 6);
    EXPECT_EQ(pic.GetHeight(), 5);
    EXPECT_EQ(pic.MaxWidth(), 20);
    EXPECT_EQ(pic.Image().pixel(0, 0), GifColor(2));

    pic.SetFrame(3);
    EXPECT_EQ(pic.Image().pixel(0, 0), GifColor(3));
    EXPECT_EQ(pic.FrameXPos(), 10);
    pic.FrameNext();
    EXPECT_EQ(pic.Frame(), 1);
    pic.FramePrev();
    EXPECT_EQ(pic.Frame(), 3);
    pic.SetFrame(9); // kept within the frames
    EXPECT_EQ(pic.Frame(), 3);
    EXPECT_EQ(pic.FrameDelay(2), 20);

    // A tick is a tenth of a second: with delays of 10, 20 and 30 hundredths the frame changes
    // on the third, fifth and eighth tick.
    pic.SetFrame(1);
    std::vector<int> frames;
    for (int i = 0; i < 8; ++i) {
        const bool changed = pic.Step();
        frames.push_back(changed ? pic.Frame() : 0);
    }
    EXPECT_EQ(frames, (std::vector<int>{0, 0, 2, 0, 3, 0, 0, 1}));

    THTMLPictureCache cache;
    THTMLPicture* anim = cache.AddPicture();
    anim->LoadFromData(ThreeFrameGif());
    THTMLPicture* still = cache.AddPicture();
    still->LoadFromData(Encode(Filled(3, 3, Qt::red), "PNG"));
    EXPECT_FALSE(still->Step());
    int changes = 0;
    for (int i = 0; i < 3; ++i) changes += cache.Animate() ? 1 : 0;
    EXPECT_EQ(changes, 1);
}

TEST(PictureContainer, LoadFromURL) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const String path = dir.filePath(QStringLiteral("Pic.png"));
    {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(Encode(Filled(7, 5, Qt::green), "PNG"));
    }
    THTMLPicture pic;
    const String url = QStringLiteral("file://") + path;
    pic.LoadFromURL(url);
    EXPECT_FALSE(pic.Empty());
    EXPECT_EQ(pic.ID(), url);
    EXPECT_EQ(pic.GetWidth(), 7);

    // A resource of the program; a missing one changes nothing but the ID.
    THTMLPicture res;
    res.LoadFromURL(QStringLiteral("res://LBOK"));
    EXPECT_FALSE(res.Empty());
    const int w = res.GetWidth();
    res.LoadFromURL(QStringLiteral("RES://NO_SUCH_RESOURCE"));
    EXPECT_FALSE(res.Empty());
    EXPECT_EQ(res.GetWidth(), w);
    EXPECT_EQ(res.ID(), QStringLiteral("RES://NO_SUCH_RESOURCE"));

    // Other schemes are not fetched.
    THTMLPicture net;
    net.SetAsynch(false);
    net.LoadFromURL(QStringLiteral("http://example.invalid/x.png"));
    EXPECT_TRUE(net.Empty());
    EXPECT_EQ(net.ID(), QStringLiteral("http://example.invalid/x.png"));
    EXPECT_FALSE(net.Busy());
    THTMLPicture async;
    async.LoadFromURL(QStringLiteral("http://example.invalid/y.png"));
    EXPECT_TRUE(async.Empty());
    EXPECT_TRUE(async.Busy());
    EXPECT_EQ(async.ID(), String());
    EXPECT_EQ(async.RequestedURL(), QStringLiteral("http://example.invalid/y.png"));
}

TEST(PictureContainer, ContainerCacheAndCopies) {
    TPictureContainer container(nullptr);
    TPictureItem* logo = container.Items()->Add();
    logo->SetName(QStringLiteral("Logo"));
    logo->SetTag(7);
    logo->Picture()->LoadFromData(Encode(Filled(10, 4, Qt::red), "PNG"));
    container.Items()->Add()->SetName(QStringLiteral("Other"));
    EXPECT_EQ(container.FindPicture(QStringLiteral("LOGO")), logo->Picture());
    EXPECT_EQ(container.FindPicture(QStringLiteral("missing")), nullptr);

    // Items copy name, tag and picture.
    TPictureContainer copy(nullptr);
    copy.SetItems(container.Items());
    ASSERT_EQ(copy.Items()->Count(), 2);
    EXPECT_EQ(copy.Items()->Items(0)->Name(), QStringLiteral("Logo"));
    EXPECT_EQ(copy.Items()->Items(0)->Tag(), 7);
    EXPECT_EQ(copy.Items()->Items(0)->Picture()->GetWidth(), 10);
    EXPECT_NE(copy.Items()->Items(0)->Picture(), logo->Picture());

    THTMLPicture pic;
    pic.Assign(logo->Picture());
    EXPECT_EQ(pic.Data(), logo->Picture()->Data());
    TBitmap bmp(2, 2);
    pic.Assign(&bmp);
    EXPECT_TRUE(pic.Empty());
    pic.Assign(logo->Picture());
    pic.Assign(nullptr);
    EXPECT_TRUE(pic.Empty());

    THTMLPictureCache cache;
    THTMLPicture* a = cache.AddPicture();
    a->SetID(QStringLiteral("FILE://X.PNG"));
    EXPECT_EQ(cache.FindPicture(QStringLiteral("FILE://X.PNG")), a);
    EXPECT_EQ(cache.FindPicture(QStringLiteral("file://x.png")), nullptr);
    cache.SetPicture(0, new THTMLPicture()); // the old one is freed
    EXPECT_EQ(cache.Count(), 1);
    cache.AddPicture();
    cache.ClearPictures();
    EXPECT_EQ(cache.Count(), 0);
}

} // namespace
