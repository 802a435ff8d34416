#include "GridBitmaps.h"

#include "SysUtils.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

// =============================================================================================
// TGridAlphaMask

TGridAlphaMask::TGridAlphaMask() {
    SetPixelFormat(pf32bit);
}

void TGridAlphaMask::Assign(TPersistent* Source) {
    if (auto* other = dynamic_cast<TGridAlphaMask*>(Source)) {
        if (other == this) return;
        Opacity = other->Opacity;
        SetPixelFormat(pf32bit);
        const int w = std::min(Width(), other->Width()), h = std::min(Height(), other->Height());
        for (int y = 0; y < Height(); ++y) {
            Byte* dst = ScanLine(y);
            std::memset(dst, 0, size_t(Width()) * 4);
            if (y < h && w > 0) std::memcpy(dst, other->ScanLine(y), size_t(w) * 4);
        }
        Changed(this);
    } else {
        TBitmap::Assign(Source);
    }
    SetPixelFormat(pf32bit);
}

void TGridAlphaMask::MergeMask(TBitmap* Mask, TBitmap* Bitmap, TColor) {
    if (!Bitmap || Bitmap->PixelFormat() != pf24bit) return;
    SetPixelFormat(pf32bit);
    SetSize(Bitmap->Width(), Bitmap->Height());
    const int maskStride = Mask && Mask->PixelFormat() == pf24bit ? 3 : 4;
    const int maskW = Mask ? Mask->Width() : 0, maskH = Mask ? Mask->Height() : 0;
    for (int y = 0; y < Height(); ++y) {
        const Byte* src = Bitmap->ScanLine(y);
        const Byte* mask = y < maskH ? Mask->ScanLine(y) : nullptr;
        Byte* dst = ScanLine(y);
        for (int x = 0; x < Width(); ++x) {
            const int a = mask && x < maskW ? mask[x * maskStride + 2] : 0;
            for (int c = 0; c < 3; ++c) dst[x * 4 + c] = Byte(Round(src[x * 3 + c] * a / 255.0));
            dst[x * 4 + 3] = Byte(a);
        }
    }
    Changed(this);
}

// =============================================================================================
// Mask and blur

void CreateRoundRectMask(TBitmap* Bitmap, int Width, int Height, int PenWidth, int Radius, double Blur) {
    if (!Bitmap) return;
    Bitmap->SetPixelFormat(pf24bit);
    Bitmap->SetSize(Width, Height);
    TCanvas* c = Bitmap->Canvas();
    c->Brush()->SetStyle(bsSolid);
    c->Brush()->SetColor(clBlack);
    c->FillRect(TRect(0, 0, Width, Height));
    c->Pen()->SetStyle(psSolid);
    c->Pen()->SetColor(clWhite);
    if (PenWidth < 1) {
        c->Pen()->SetWidth(1);
        c->Brush()->SetColor(clWhite);
    } else {
        c->Pen()->SetWidth(PenWidth);
        c->Brush()->SetColor(clBlack);
    }
    const int h = PenWidth / 2;
    c->RoundRect(h + 2, h + 2, Width - h - 2, Height - h - 2, Radius, Radius);
    if (Blur > 0) GaussianBlur(Bitmap, Blur);
}

namespace {

constexpr int MaxKernelSize = 10;
// Rows and columns this near an edge are blurred; the ones between copy this one.
constexpr int EdgeBand = 20;
constexpr int ModelLine = 15;

struct TKernel {
    int Size = MaxKernelSize;
    double Weights[2 * MaxKernelSize + 1] = {};
    double& operator[](int I) { return Weights[I + MaxKernelSize]; }
};

void Normalise(TKernel& K) {
    double sum = 0;
    for (int i = -K.Size; i <= K.Size; ++i) sum += K[i];
    for (int i = -K.Size; i <= K.Size; ++i) K[i] /= sum;
}

TKernel MakeKernel(double Radius) {
    TKernel k;
    for (int i = -MaxKernelSize; i <= MaxKernelSize; ++i) k[i] = std::exp(-(i / Radius) * (i / Radius) / 2);
    Normalise(k);
    // Cut the tails that add up to less than half a colour step.
    double tails = 0;
    while (tails < 1.0 / (2 * 255) && k.Size > 1) {
        tails += 2 * k[k.Size];
        --k.Size;
    }
    Normalise(k);
    return k;
}

// Blurs Count pixels of 3 bytes, Stride bytes apart, in place.
void BlurLine(TKernel& K, Byte* First, int Count, std::ptrdiff_t Stride, std::vector<Byte>& Buffer) {
    Buffer.resize(size_t(Count) * 3);
    for (int i = 0; i < Count; ++i) std::memcpy(&Buffer[size_t(i) * 3], First + i * Stride, 3);
    for (int i = 0; i < Count; ++i) {
        double sum[3] = {0, 0, 0};
        for (int j = -K.Size; j <= K.Size; ++j) {
            const int at = std::clamp(i + j, 0, Count - 1);
            for (int c = 0; c < 3; ++c) sum[c] += K[j] * Buffer[size_t(at) * 3 + c];
        }
        for (int c = 0; c < 3; ++c) First[i * Stride + c] = Byte(std::clamp(int(Trunc(sum[c])), 0, 255));
    }
}

} // namespace

void GaussianBlur(TBitmap* Bitmap, double Radius) {
    if (!Bitmap || Bitmap->PixelFormat() != pf24bit || Bitmap->HandleType() != bmDIB)
        throw Exception(QStringLiteral("Blur only works for 24-bit bitmaps"));
    const int w = Bitmap->Width(), h = Bitmap->Height();
    if (w <= 0 || h <= 0 || !(Radius > 0)) return;
    TKernel k = MakeKernel(Radius);
    std::vector<Byte> buffer;
    // Rows, then columns, on the bitmap's 24-bit scan lines.
    std::vector<Byte*> lines(static_cast<size_t>(h));
    for (int y = 0; y < h; ++y) lines[size_t(y)] = Bitmap->ScanLine(y);
    for (int y = 0; y < h; ++y)
        if (y <= EdgeBand || y >= h - EdgeBand) BlurLine(k, lines[size_t(y)], w, 3, buffer);
    for (int y = EdgeBand + 1; y < h - EdgeBand; ++y)
        std::memcpy(lines[size_t(y)], lines[ModelLine], size_t(w) * 3);

    const std::ptrdiff_t stride = h > 1 ? lines[1] - lines[0] : 0;
    for (int x = 0; x < w; ++x)
        if (x <= EdgeBand || x >= w - EdgeBand) BlurLine(k, lines[0] + x * 3, h, stride, buffer);
    for (int y = 0; y < h; ++y)
        for (int x = EdgeBand + 1; x < w - EdgeBand; ++x)
            std::memcpy(lines[size_t(y)] + x * 3, lines[size_t(y)] + ModelLine * 3, 3);
}
