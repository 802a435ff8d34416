// Bitmap routines of the grid's focus frame: the alpha mask that becomes a translucent window
// picture, the rounded-rectangle mask and the Gaussian blur that softens it.
#pragma once

#include "Graphics.h"

// A 32-bit bitmap of premultiplied pixels with a constant opacity, as a layered window shows it.
class TGridAlphaMask : public TBitmap {
public:
    TGridAlphaMask();

    // From another mask: its opacity and its pixels where the two overlap (this mask keeps its
    // size; pixels the other has not become 0, fully transparent). From anything else the
    // bitmap's own copy. The pixels stay 32-bit.
    void Assign(TPersistent* Source) override;
    // Only for a 24-bit Bitmap: takes Bitmap's size; each pixel's alpha is the red byte of Mask's
    // pixel there (0 where Mask does not reach, everywhere without a Mask) and its colour bytes are Bitmap's
    // premultiplied by it (rounded). Color is not used.
    void MergeMask(TBitmap* Mask, TBitmap* Bitmap, TColor Color);

    Byte Opacity = 255;
};

// Makes Bitmap a 24-bit Width x Height black picture with a white rounded rectangle from
// (h + 2, h + 2) to (Width - h - 2, Height - h - 2), h = PenWidth div 2, corners Radius x Radius:
// filled for PenWidth < 1, else a ring PenWidth wide; then blurred with radius Blur when above 0.
void CreateRoundRectMask(TBitmap* Bitmap, int Width, int Height, int PenWidth, int Radius, double Blur);

// Blurs a 24-bit bitmap with a Gaussian kernel of the radius given. Rows and columns within 20
// pixels of an edge are blurred; the rows and columns between take row or column 15 (the mask
// this serves is alike all along its middle). Raises Exception "Blur only works for 24-bit
// bitmaps" for any other bitmap.
void GaussianBlur(TBitmap* Bitmap, double Radius);
