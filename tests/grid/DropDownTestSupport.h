// Helpers of the drop-down unit's tests.
#pragma once

#include "Graphics.h"
#include "ImgList.h"

// A new image list (no owner) holding one Size x Size image of a single colour.
inline TCustomImageList* NewOneColourImages(TColor Color, int Size = 8) {
    auto* images = new TCustomImageList(nullptr, Size, Size);
    auto* square = new TBitmap(Size, Size);
    square->Canvas()->Brush()->SetColor(Color);
    square->Canvas()->FillRect(TRect(0, 0, Size, Size));
    images->Add(square, nullptr);
    TObject::Free(square);
    return images;
}
