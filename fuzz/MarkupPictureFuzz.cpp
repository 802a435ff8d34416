// libFuzzer target: decoding picture files held in memory (JPEG through libjpeg, GIF frames, and
// the other formats of the image readers), selecting frames, animating and drawing them.
#include "PictureContainer.h"

#include <QApplication>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    // Kept for the whole process: Qt's own clean-up at exit is no part of what is fuzzed.
    new QApplication(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
    static TBitmap* bitmap = new TBitmap(64, 64);
    THTMLPicture pic;
    try {
        pic.LoadFromData(QByteArray(reinterpret_cast<const char*>(Data), int(Size)));
    } catch (const Exception&) {
        return 0;
    }
    pic.Draw(bitmap->Canvas(), TRect(0, 0, 64, 64));
    pic.SetStretch(true);
    pic.Draw(bitmap->Canvas(), TRect(3, 3, 40, 20));
    const int frames = pic.FrameCount();
    for (int i = 0; i < frames && i < 8; ++i) {
        pic.FrameNext();
        pic.Draw(bitmap->Canvas(), TRect(0, 0, 64, 64));
    }
    for (int i = 0; i < 8; ++i) pic.Step();
    pic.FramePrev();
    THTMLPicture copy;
    copy.Assign(&pic);
    return 0;
}
