#include "Jpeg.h"

#include <QImage>

#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include <jpeglib.h>

namespace {

// libjpeg reports fatal errors through error_exit, which must not return: it jumps back to the
// call that started the work. Only plain C data live between setjmp and the jump.
struct TJpegError {
    jpeg_error_mgr Mgr;
    jmp_buf Jump;
    char Message[JMSG_LENGTH_MAX];
};

void ErrorExit(j_common_ptr Info) {
    auto* err = reinterpret_cast<TJpegError*>(Info->err);
    (*Info->err->format_message)(Info, err->Message);
    longjmp(err->Jump, 1);
}

void OutputMessage(j_common_ptr) {}

// A source that reads the bytes held in memory; running past their end supplies an end-of-image
// marker, so truncated files decode as far as they go.
struct TMemorySource {
    jpeg_source_mgr Mgr;
    const JOCTET* Data;
    size_t Size;
};

const JOCTET EndOfImage[2] = {0xFF, JPEG_EOI};

void InitSource(j_decompress_ptr) {}

boolean FillInputBuffer(j_decompress_ptr Info) {
    Info->src->next_input_byte = EndOfImage;
    Info->src->bytes_in_buffer = 2;
    return TRUE;
}

void SkipInputData(j_decompress_ptr Info, long Count) {
    if (Count <= 0) return;
    jpeg_source_mgr* src = Info->src;
    while (Count > long(src->bytes_in_buffer)) {
        Count -= long(src->bytes_in_buffer);
        FillInputBuffer(Info);
    }
    src->next_input_byte += Count;
    src->bytes_in_buffer -= size_t(Count);
}

void TermSource(j_decompress_ptr) {}

// A destination that collects the encoded bytes in a growing buffer.
struct TMemoryDest {
    jpeg_destination_mgr Mgr;
    QByteArray* Out;
    JOCTET Buffer[4096];
};

void InitDestination(j_compress_ptr Info) {
    auto* d = reinterpret_cast<TMemoryDest*>(Info->dest);
    d->Mgr.next_output_byte = d->Buffer;
    d->Mgr.free_in_buffer = sizeof(d->Buffer);
}

boolean EmptyOutputBuffer(j_compress_ptr Info) {
    auto* d = reinterpret_cast<TMemoryDest*>(Info->dest);
    d->Out->append(reinterpret_cast<const char*>(d->Buffer), int(sizeof(d->Buffer)));
    d->Mgr.next_output_byte = d->Buffer;
    d->Mgr.free_in_buffer = sizeof(d->Buffer);
    return TRUE;
}

void TermDestination(j_compress_ptr Info) {
    auto* d = reinterpret_cast<TMemoryDest*>(Info->dest);
    d->Out->append(reinterpret_cast<const char*>(d->Buffer), int(sizeof(d->Buffer) - d->Mgr.free_in_buffer));
}

// The decoding itself, free of C++ objects with destructors so that the error jump is safe.
// Writes into Pixels (allocated by Alloc once the size is known). Answers 0, or 1 with Message set.
using TAllocPixels = unsigned char* (*)(void* Context, int Width, int Height, int& Stride);

int DecodeInto(const unsigned char* Data, size_t Size, TAllocPixels Alloc, void* Context, char* Message) {
    jpeg_decompress_struct info;
    TJpegError err;
    std::memset(&info, 0, sizeof(info));
    info.err = jpeg_std_error(&err.Mgr);
    err.Mgr.error_exit = ErrorExit;
    err.Mgr.output_message = OutputMessage;
    err.Message[0] = 0;
    // Volatile: it changes after setjmp and is read after the jump.
    JSAMPLE* volatile row = nullptr;
    if (setjmp(err.Jump)) {
        std::strncpy(Message, err.Message, JMSG_LENGTH_MAX - 1);
        Message[JMSG_LENGTH_MAX - 1] = 0;
        std::free(row);
        jpeg_destroy_decompress(&info);
        return 1;
    }
    jpeg_create_decompress(&info);
    TMemorySource src;
    src.Mgr.init_source = InitSource;
    src.Mgr.fill_input_buffer = FillInputBuffer;
    src.Mgr.skip_input_data = SkipInputData;
    src.Mgr.resync_to_restart = jpeg_resync_to_restart;
    src.Mgr.term_source = TermSource;
    src.Mgr.next_input_byte = Data;
    src.Mgr.bytes_in_buffer = Size;
    src.Data = Data;
    src.Size = Size;
    info.src = &src.Mgr;

    jpeg_read_header(&info, TRUE);
    const bool cmyk = info.jpeg_color_space == JCS_CMYK || info.jpeg_color_space == JCS_YCCK;
    if (cmyk)
        info.out_color_space = JCS_CMYK;
    else if (info.jpeg_color_space == JCS_GRAYSCALE)
        info.out_color_space = JCS_GRAYSCALE;
    else
        info.out_color_space = JCS_RGB;
    if (qint64(info.image_width) * qint64(info.image_height) > JpegMaxPixels) {
        std::snprintf(Message, JMSG_LENGTH_MAX, "Picture too large (%ux%u)", unsigned(info.image_width),
                      unsigned(info.image_height));
        jpeg_destroy_decompress(&info);
        return 1;
    }
    jpeg_start_decompress(&info);
    const int w = int(info.output_width), h = int(info.output_height), comps = info.output_components;
    int stride = 0;
    unsigned char* pixels = Alloc(Context, w, h, stride);
    if (!pixels) {
        std::snprintf(Message, JMSG_LENGTH_MAX, "Out of memory for a %dx%d picture", w, h);
        jpeg_destroy_decompress(&info);
        return 1;
    }
    row = static_cast<JSAMPLE*>(std::malloc(size_t(w) * size_t(comps)));
    if (!row) {
        std::snprintf(Message, JMSG_LENGTH_MAX, "Out of memory for a %dx%d picture", w, h);
        jpeg_destroy_decompress(&info);
        return 1;
    }
    // Adobe writes CMYK inverted; the marker tells.
    const bool inverted = cmyk && info.saw_Adobe_marker;
    while (info.output_scanline < info.output_height) {
        const int y = int(info.output_scanline);
        JSAMPROW rows[1] = {row};
        if (jpeg_read_scanlines(&info, rows, 1) != 1) break;
        auto* out = reinterpret_cast<uint32_t*>(pixels + size_t(y) * size_t(stride));
        for (int x = 0; x < w; ++x) {
            const JSAMPLE* p = row + x * comps;
            unsigned r, g, b;
            if (comps == 1) {
                r = g = b = p[0];
            } else if (comps == 4) {
                unsigned c = p[0], m = p[1], yy = p[2], k = p[3];
                if (!inverted) {
                    c = 255 - c;
                    m = 255 - m;
                    yy = 255 - yy;
                    k = 255 - k;
                }
                r = c * k / 255;
                g = m * k / 255;
                b = yy * k / 255;
            } else {
                r = p[0];
                g = p[1];
                b = p[2];
            }
            out[x] = 0xFF000000u | (r << 16) | (g << 8) | b;
        }
    }
    jpeg_finish_decompress(&info);
    std::free(row);
    row = nullptr;
    jpeg_destroy_decompress(&info);
    return 0;
}

unsigned char* AllocImage(void* Context, int Width, int Height, int& Stride) {
    auto* image = static_cast<QImage*>(Context);
    *image = QImage(Width, Height, QImage::Format_RGB32);
    if (image->isNull()) return nullptr;
    Stride = int(image->bytesPerLine());
    return image->bits();
}

int EncodeFrom(const QImage& Image, int Quality, QByteArray* Out, char* Message) {
    jpeg_compress_struct info;
    TJpegError err;
    std::memset(&info, 0, sizeof(info));
    info.err = jpeg_std_error(&err.Mgr);
    err.Mgr.error_exit = ErrorExit;
    err.Mgr.output_message = OutputMessage;
    err.Message[0] = 0;
    JSAMPLE* volatile row = nullptr;
    if (setjmp(err.Jump)) {
        std::strncpy(Message, err.Message, JMSG_LENGTH_MAX - 1);
        Message[JMSG_LENGTH_MAX - 1] = 0;
        std::free(row);
        jpeg_destroy_compress(&info);
        return 1;
    }
    jpeg_create_compress(&info);
    TMemoryDest dest;
    dest.Mgr.init_destination = InitDestination;
    dest.Mgr.empty_output_buffer = EmptyOutputBuffer;
    dest.Mgr.term_destination = TermDestination;
    dest.Out = Out;
    info.dest = &dest.Mgr;
    info.image_width = JDIMENSION(Image.width());
    info.image_height = JDIMENSION(Image.height());
    info.input_components = 3;
    info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, Quality, TRUE);
    jpeg_start_compress(&info, TRUE);
    const int w = Image.width();
    row = static_cast<JSAMPLE*>(std::malloc(size_t(w) * 3));
    if (!row) {
        jpeg_destroy_compress(&info);
        return 1;
    }
    while (info.next_scanline < info.image_height) {
        const auto* in = reinterpret_cast<const uint32_t*>(Image.constScanLine(int(info.next_scanline)));
        for (int x = 0; x < w; ++x) {
            row[x * 3] = JSAMPLE((in[x] >> 16) & 0xFF);
            row[x * 3 + 1] = JSAMPLE((in[x] >> 8) & 0xFF);
            row[x * 3 + 2] = JSAMPLE(in[x] & 0xFF);
        }
        JSAMPROW rows[1] = {row};
        jpeg_write_scanlines(&info, rows, 1);
    }
    jpeg_finish_compress(&info);
    std::free(row);
    jpeg_destroy_compress(&info);
    return 0;
}

} // namespace

bool IsJpegData(const QByteArray& Data) {
    return Data.size() >= 3 && uchar(Data[0]) == 0xFF && uchar(Data[1]) == 0xD8 && uchar(Data[2]) == 0xFF;
}

bool JpegDecode(const QByteArray& Data, QImage& Image, String* Error) {
    Image = QImage();
    char message[JMSG_LENGTH_MAX] = {0};
    if (!IsJpegData(Data)) {
        if (Error) *Error = QStringLiteral("Not a JPEG picture");
        return false;
    }
    QImage out;
    if (DecodeInto(reinterpret_cast<const unsigned char*>(Data.constData()), size_t(Data.size()), AllocImage,
                   &out, message) != 0) {
        if (Error) *Error = String::fromLatin1(message);
        return false;
    }
    Image = out;
    return true;
}

QByteArray JpegEncode(const QImage& Image, int Quality) {
    QByteArray out;
    if (Image.isNull()) return out;
    const QImage rgb = Image.convertToFormat(QImage::Format_RGB32);
    char message[JMSG_LENGTH_MAX] = {0};
    if (EncodeFrom(rgb, qBound(1, Quality, 100), &out, message) != 0) return QByteArray();
    return out;
}
