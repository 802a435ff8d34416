// JPEG pictures through libjpeg: decoding bytes held in memory into a 32-bit image, and encoding
// an image back into JPEG bytes.
#pragma once

#include "System.h"

#include <QByteArray>

class QImage;

// Whether the bytes begin like a JPEG file (the start-of-image marker FF D8 FF).
bool IsJpegData(const QByteArray& Data);

// Decodes JPEG bytes into Image (QImage::Format_RGB32). Answers false and leaves Image null on
// data that are not a readable JPEG picture, or whose picture would be unreasonably large;
// Error then tells why. Grey-scale, RGB and CMYK/YCCK pictures are read.
bool JpegDecode(const QByteArray& Data, QImage& Image, String* Error = nullptr);

// The largest number of pixels JpegDecode accepts (width x height).
constexpr qint64 JpegMaxPixels = qint64(1) << 25;

// Encodes Image as a baseline JPEG of the given quality (1..100). Answers empty bytes for a null
// image.
QByteArray JpegEncode(const QImage& Image, int Quality = 90);
