// Picture files made in memory for the picture and markup tests.
#pragma once

#include "Jpeg.h"

#include <QBuffer>
#include <QByteArray>
#include <QColor>
#include <QImage>

#include <vector>

namespace picture_test {

// The four colours of the GIF files below, by palette index.
inline QRgb GifColor(int Index) {
    static const QRgb colors[4] = {qRgb(0, 0, 0), qRgb(255, 0, 0), qRgb(0, 255, 0), qRgb(0, 0, 255)};
    return colors[Index & 3];
}

struct TGifFrame {
    int Left, Top, Width, Height;
    int Delay;      // hundredths of a second
    int ColorIndex; // the frame is one colour
};

// A GIF file of a Width x Height animation with the given frames, each with its graphic control
// extension (so that each is a frame block). The pixels are written without compression: a
// clear code after every two pixels keeps the codes three bits wide.
inline QByteArray MakeGif(int Width, int Height, const std::vector<TGifFrame>& Frames) {
    QByteArray out("GIF89a");
    auto u16 = [&](int v) {
        out.append(char(v & 0xFF));
        out.append(char((v >> 8) & 0xFF));
    };
    u16(Width);
    u16(Height);
    out.append(char(0x91)); // global colour table of 4 entries
    out.append(char(0));
    out.append(char(0));
    for (int i = 0; i < 4; ++i) {
        const QRgb c = GifColor(i);
        out.append(char(qRed(c)));
        out.append(char(qGreen(c)));
        out.append(char(qBlue(c)));
    }
    for (const auto& f : Frames) {
        out.append("\x21\xF9\x04\x00", 4);
        u16(f.Delay);
        out.append(char(0));
        out.append(char(0));
        out.append(char(0x2C));
        u16(f.Left);
        u16(f.Top);
        u16(f.Width);
        u16(f.Height);
        out.append(char(0));
        out.append(char(2)); // minimum code size
        QByteArray data;
        unsigned acc = 0;
        int bits = 0;
        auto code = [&](unsigned c) {
            acc |= c << bits;
            bits += 3;
            while (bits >= 8) {
                data.append(char(acc & 0xFF));
                acc >>= 8;
                bits -= 8;
            }
        };
        const int n = f.Width * f.Height;
        for (int i = 0; i < n; ++i) {
            if (i % 2 == 0) code(4);
            code(unsigned(f.ColorIndex));
        }
        code(5);
        if (bits > 0) data.append(char(acc & 0xFF));
        for (int p = 0; p < data.size(); p += 255) {
            const int len = std::min(255, int(data.size()) - p);
            out.append(char(len));
            out.append(data.mid(p, len));
        }
        out.append(char(0));
    }
    out.append(char(0x3B));
    return out;
}

// A picture file of Image in a format the image writers know ("PNG", "BMP"), or JPEG through
// libjpeg.
inline QByteArray Encode(const QImage& Image, const char* Format) {
    if (QByteArray(Format) == "JPEG") return JpegEncode(Image, 95);
    QByteArray bytes;
    QBuffer buf(&bytes);
    buf.open(QIODevice::WriteOnly);
    Image.save(&buf, Format);
    return bytes;
}

inline QImage Filled(int W, int H, QColor Color) {
    QImage img(W, H, QImage::Format_RGB32);
    img.fill(Color);
    return img;
}

} // namespace picture_test
