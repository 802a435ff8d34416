// A white bitmap to draw on, shared by the tests of the drawing routines.
#pragma once

#include "Graphics.h"

#include <QImage>

#include <gtest/gtest.h>

template <int Width, int Height> class WhitePaper : public ::testing::Test {
protected:
    void SetUp() override { New(Width, Height); }
    void TearDown() override { TObject::Free(FBitmap); }
    void New(int W, int H) {
        if (FBitmap) TObject::Free(FBitmap);
        FBitmap = new TBitmap(W, H);
        Canvas()->Brush()->SetColor(clWhite);
        Canvas()->FillRect(TRect(0, 0, W, H));
    }
    TCanvas* Canvas() { return FBitmap->Canvas(); }
    TColor At(int X, int Y) { return Canvas()->Pixels(X, Y); }
    QImage Region(const TRect& R) { return FBitmap->Image().copy(R.Left, R.Top, R.Width(), R.Height()); }

    TBitmap* FBitmap = nullptr;
};
