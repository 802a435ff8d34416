// libFuzzer target: the markup renderer on any text, measuring, painting and hit-testing, with a
// picture container, a URL cache and an image list at hand.
#include "ImgList.h"
#include "MarkupRender.h"
#include "PictureContainer.h"

#include <QApplication>
#include <QBuffer>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace {

struct TWorld {
    TBitmap Bitmap{160, 80};
    TPictureContainer Container{nullptr};
    THTMLPictureCache Cache;
    TImageList Images{nullptr, 16, 16};

    TWorld() {
        QImage img(30, 12, QImage::Format_RGB32);
        img.fill(Qt::red);
        QByteArray png;
        QBuffer buf(&png);
        buf.open(QIODevice::WriteOnly);
        img.save(&buf, "PNG");
        TPictureItem* item = Container.Items()->Add();
        item->SetName(QStringLiteral("pic"));
        item->Picture()->LoadFromData(png);
        TBitmap b(16, 16);
        Images.Add(&b, nullptr);
        Bitmap.Canvas()->Font()->SetName(QStringLiteral("Tahoma"));
        Bitmap.Canvas()->Font()->SetSize(8);
    }
};

TWorld* World = nullptr;

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    // Kept for the whole process: Qt's own clean-up at exit is no part of what is fuzzed.
    new QApplication(*argc, *argv);
    World = new TWorld();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
    if (Size < 2) return 0;
    const uint8_t mode = Data[0], point = Data[1];
    const String s = QString::fromUtf8(reinterpret_cast<const char*>(Data + 2), int(Size - 2));
    THTMLDrawOptions o;
    o.Images = &World->Images;
    o.PictureContainer = &World->Container;
    o.PictureCache = &World->Cache;
    o.HitX = point % 160;
    o.HitY = point / 4;
    o.MeasureOnly = (mode & 3) == 0;
    o.HitTestOnly = (mode & 3) == 2;
    o.WordWrap = mode & 4;
    o.HoverStyle = mode & 8;
    o.HoverAnchor = (mode >> 4) & 3;
    o.FocusAnchor = (mode >> 6) - 1;
    o.KeepColors = mode & 16;
    o.Printing = mode & 32;
    o.ScaleFactor = 1.5;
    o.ControlID = QStringLiteral("c");
    o.BiDiMode = (mode >> 5) & 1;
    THTMLDrawResult r;
    DrawHTML(World->Bitmap.Canvas(), s, TRect(0, 0, 160, (mode & 64) ? 80 : 30), o, r);
    // The cache must not grow without bound while fuzzing.
    if (World->Cache.Count() > 64) World->Cache.ClearPictures();
    return 0;
}
