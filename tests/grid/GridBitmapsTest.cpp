// The focus frame's bitmap routines: the alpha mask (merging, copying, pictures of other sizes),
// the rounded-rectangle mask and the Gaussian blur.
#include "GridBitmaps.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

// A 24-bit bitmap filled with one colour given as its three scan-line bytes (B, G, R order).
TBitmap* NewBitmap24(int W, int H, Byte B0, Byte B1, Byte B2) {
    auto* b = new TBitmap;
    b->SetPixelFormat(pf24bit);
    b->SetSize(W, H);
    for (int y = 0; y < H; ++y) {
        Byte* line = b->ScanLine(y);
        for (int x = 0; x < W; ++x) {
            line[x * 3] = B0;
            line[x * 3 + 1] = B1;
            line[x * 3 + 2] = B2;
        }
    }
    return b;
}

// A mask whose red byte is Alpha everywhere.
TBitmap* NewMask(int W, int H, Byte Alpha) {
    return NewBitmap24(W, H, 0, 0, Alpha);
}

// A mask bitmap, a 24-bit source picture and the alpha mask they are merged into.
class GridAlphaMask : public ::testing::Test {
protected:
    void Make(TBitmap* AMask, TBitmap* ASource) {
        Mask = AMask;
        Source = ASource;
        M = new TGridAlphaMask;
    }
    void TearDown() override {
        for (TBitmap* b : {Mask, Source, static_cast<TBitmap*>(M)}) TObject::Free(b);
    }
    TBitmap* Mask = nullptr;
    TBitmap* Source = nullptr;
    TGridAlphaMask* M = nullptr;
};

TEST_F(GridAlphaMask, MergeMaskPremultipliesByTheMasksRedByte) {
    Make(NewMask(4, 3, 128), NewBitmap24(4, 3, 200, 100, 50));
    TBitmap* mask = Mask;
    TBitmap* source = Source;
    TGridAlphaMask* m = M;
    EXPECT_EQ(m->PixelFormat(), pf32bit);
    EXPECT_EQ(m->Opacity, 255);

    m->MergeMask(mask, source, clRed);
    ASSERT_EQ(m->Width(), 4);
    ASSERT_EQ(m->Height(), 3);
    for (int y = 0; y < 3; ++y) {
        const Byte* p = m->ScanLine(y);
        for (int x = 0; x < 4; ++x) {
            EXPECT_EQ(p[x * 4], 100); // round(200 * 128 / 255)
            EXPECT_EQ(p[x * 4 + 1], 50);
            EXPECT_EQ(p[x * 4 + 2], 25);
            EXPECT_EQ(p[x * 4 + 3], 128);
        }
    }
}

TEST_F(GridAlphaMask, MergeMaskUsesOnlyTheRedByteAndSkipsOtherFormats) {
    Make(NewBitmap24(2, 2, 255, 255, 0), NewBitmap24(2, 2, 200, 100, 50)); // mask: red 0
    TBitmap* mask = Mask;
    TBitmap* source = Source;
    TGridAlphaMask* m = M;
    m->MergeMask(mask, source, clNone);
    EXPECT_EQ(m->ScanLine(0)[3], 0);
    EXPECT_EQ(m->ScanLine(0)[0], 0);

    // A source that is not 24-bit: nothing happens.
    auto* wide = new TBitmap(7, 7);
    auto f4 = FreeAtEnd(wide);
    m->MergeMask(mask, wide, clNone);
    EXPECT_EQ(m->Width(), 2);
}

// A mask smaller than the picture: the pixels it does not reach are fully transparent, and
// nothing is read past its end.
TEST_F(GridAlphaMask, MergeMaskWithASmallerMaskLeavesTheRestTransparent) {
    Make(NewMask(3, 2, 255), NewBitmap24(6, 5, 10, 20, 30));
    TBitmap* mask = Mask;
    TBitmap* source = Source;
    TGridAlphaMask* m = M;
    m->MergeMask(mask, source, clNone);
    ASSERT_EQ(m->Width(), 6);
    ASSERT_EQ(m->Height(), 5);
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 6; ++x) {
            const Byte* p = m->ScanLine(y) + x * 4;
            const bool inside = x < 3 && y < 2;
            SCOPED_TRACE(testing::Message() << x << "," << y);
            EXPECT_EQ(p[3], inside ? 255 : 0);
            EXPECT_EQ(p[0], inside ? 10 : 0);
            EXPECT_EQ(p[2], inside ? 30 : 0);
        }
    // No mask at all reaches no pixel: all transparent.
    m->MergeMask(nullptr, source, clNone);
    EXPECT_EQ(m->ScanLine(0)[3], 0);
    EXPECT_EQ(m->ScanLine(0)[0], 0);
}

TEST_F(GridAlphaMask, AssignCopiesTheOverlapOfMasksOfOtherSizes) {
    Make(NewMask(4, 4, 200), NewBitmap24(4, 4, 255, 255, 255));
    TBitmap* mask = Mask;
    TBitmap* source = Source;
    TGridAlphaMask* small = M;
    auto* large = new TGridAlphaMask;
    auto f4 = FreeAtEnd(large);
    small->MergeMask(mask, source, clNone);
    small->Opacity = 230;

    // A larger mask keeps its size: the overlap is copied, the rest becomes transparent.
    large->SetSize(6, 6);
    large->Assign(small);
    EXPECT_EQ(large->Opacity, 230);
    EXPECT_EQ(large->Width(), 6);
    EXPECT_EQ(large->PixelFormat(), pf32bit);
    EXPECT_EQ(large->ScanLine(3)[3 * 4 + 3], 200);
    EXPECT_EQ(large->ScanLine(3)[3 * 4], 200);
    EXPECT_EQ(large->ScanLine(3)[4 * 4 + 3], 0);
    EXPECT_EQ(large->ScanLine(5)[0], 0);

    // A smaller one takes what fits and reads nothing past the other's pixels.
    auto* tiny = new TGridAlphaMask;
    auto f5 = FreeAtEnd(tiny);
    tiny->SetSize(2, 2);
    tiny->Assign(large);
    EXPECT_EQ(tiny->Width(), 2);
    EXPECT_EQ(tiny->ScanLine(1)[4 + 3], 200);

    // Any other bitmap: the bitmap's own copy, 32-bit afterwards.
    large->Assign(source);
    EXPECT_EQ(large->Width(), 4);
    EXPECT_EQ(large->PixelFormat(), pf32bit);
}

TEST(RoundRectMask, ARingOrAFilledShape) {
    auto* b = new TBitmap;
    auto f = FreeAtEnd(b);
    // A ring 4 wide: h = 2, rectangle (4, 4) to (36, 26).
    CreateRoundRectMask(b, 40, 30, 4, 5, 0);
    EXPECT_EQ(b->PixelFormat(), pf24bit);
    EXPECT_EQ(b->Width(), 40);
    EXPECT_EQ(b->Height(), 30);
    TCanvas* c = b->Canvas();
    EXPECT_EQ(c->Pixels(1, 15), clBlack);
    EXPECT_EQ(c->Pixels(4, 15), clWhite);
    EXPECT_EQ(c->Pixels(20, 15), clBlack); // inside the ring
    EXPECT_EQ(c->Pixels(20, 4), clWhite);
    EXPECT_EQ(c->Pixels(38, 15), clBlack);

    CreateRoundRectMask(b, 40, 30, 0, 5, 0);
    EXPECT_EQ(c->Pixels(20, 15), clWhite);
    EXPECT_EQ(c->Pixels(1, 15), clBlack);
}

TEST(GaussianBlur, RefusesBitmapsThatAreNot24Bit) {
    auto* b = new TBitmap(10, 10);
    auto f = FreeAtEnd(b);
    b->Canvas()->SetPixels(3, 3, clRed);
    try {
        GaussianBlur(b, 3.0);
        FAIL() << "no error";
    } catch (const Exception& E) {
        EXPECT_EQ(E.Message(), "Blur only works for 24-bit bitmaps");
    }
    EXPECT_EQ(b->Canvas()->Pixels(3, 3), clRed); // untouched
    try {
        CreateRoundRectMask(b, 10, 10, 4, 5, 2.0); // makes it 24-bit first: no error
    } catch (const Exception& E) {
        FAIL() << E.what();
    }
}

// The blur by hand: the kernel as the routine builds it, one dimension at a time.
std::vector<double> Kernel(double R) {
    std::vector<double> w(21);
    double sum = 0;
    for (int i = -10; i <= 10; ++i) sum += w[i + 10] = std::exp(-(i / R) * (i / R) / 2);
    for (double& v : w) v /= sum;
    int size = 10;
    double tails = 0;
    while (tails < 1.0 / (2 * 255) && size > 1) {
        tails += 2 * w[size + 10];
        --size;
    }
    std::vector<double> k(size_t(2 * size + 1));
    sum = 0;
    for (int i = -size; i <= size; ++i) sum += k[i + size] = w[i + 10];
    for (double& v : k) v /= sum;
    return k;
}

std::vector<int> Blur1D(const std::vector<int>& In, const std::vector<double>& K) {
    const int size = int(K.size()) / 2, n = int(In.size());
    std::vector<int> out(In.size());
    for (int i = 0; i < n; ++i) {
        double s = 0;
        for (int j = -size; j <= size; ++j) s += K[j + size] * In[std::clamp(i + j, 0, n - 1)];
        out[i] = std::clamp(int(s), 0, 255);
    }
    return out;
}

TEST(GaussianBlur, ASmallBitmapIsBlurredInEveryRowAndColumn) {
    // A 10 x 10 black picture with one white pixel: all rows and columns lie within 20 pixels
    // of an edge, so the blur spreads it as the separable kernel says, in every direction.
    TBitmap* b = NewBitmap24(10, 10, 0, 0, 0);
    auto f = FreeAtEnd(b);
    for (int c = 0; c < 3; ++c) b->ScanLine(5)[5 * 3 + c] = 255;
    GaussianBlur(b, 1.0);
    const std::vector<double> k = Kernel(1.0);
    std::vector<std::vector<int>> expected(10, std::vector<int>(10, 0));
    expected[5][5] = 255;
    for (auto& row : expected) row = Blur1D(row, k);
    for (int x = 0; x < 10; ++x) {
        std::vector<int> col(10);
        for (int y = 0; y < 10; ++y) col[y] = expected[y][x];
        col = Blur1D(col, k);
        for (int y = 0; y < 10; ++y) expected[y][x] = col[y];
    }
    int lit = 0;
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 10; ++x) {
            SCOPED_TRACE(testing::Message() << x << "," << y);
            const Byte* p = b->ScanLine(y) + x * 3;
            EXPECT_EQ(p[0], expected[y][x]);
            EXPECT_EQ(p[2], expected[y][x]);
            if (p[0] > 0) ++lit;
        }
    EXPECT_LT(b->ScanLine(5)[5 * 3], 255);
    EXPECT_GT(b->ScanLine(5)[4 * 3], 0);
    EXPECT_GT(b->ScanLine(4)[5 * 3], 0);
    EXPECT_GT(lit, 4);
}

TEST(GaussianBlur, TheMiddleOfALargeBitmapRepeatsRowAndColumnFifteen) {
    // Only row 15 lit: the rows from 21 to height - 21 take the blurred row 15, so they are lit
    // too, while the rows of the lower band stay dark.
    TBitmap* rows = NewBitmap24(30, 60, 0, 0, 0);
    auto f1 = FreeAtEnd(rows);
    for (int x = 0; x < 30; ++x) rows->ScanLine(15)[x * 3 + 2] = 255;
    GaussianBlur(rows, 2.0);
    EXPECT_GT(rows->ScanLine(30)[2 * 3 + 2], 200);
    EXPECT_GT(rows->ScanLine(34)[2 * 3 + 2], 200);
    EXPECT_EQ(rows->ScanLine(55)[2 * 3 + 2], 0);
    EXPECT_EQ(rows->ScanLine(30)[2 * 3], 0); // only the red byte was lit

    // Only column 15 lit: likewise the columns from 21 to width - 21.
    TBitmap* cols = NewBitmap24(60, 30, 0, 0, 0);
    auto f2 = FreeAtEnd(cols);
    for (int y = 0; y < 30; ++y) cols->ScanLine(y)[15 * 3 + 1] = 255;
    GaussianBlur(cols, 2.0);
    for (int x = 21; x < 40; ++x)
        EXPECT_EQ(cols->ScanLine(10)[x * 3 + 1], cols->ScanLine(10)[15 * 3 + 1]) << x;
    EXPECT_GT(cols->ScanLine(10)[30 * 3 + 1], 0);
    EXPECT_EQ(cols->ScanLine(10)[55 * 3 + 1], 0);
}

} // namespace
