// Image lists: equally sized images kept together and drawn by index.
#pragma once

#include "Graphics.h"

#include <vector>

enum TDrawingStyle { dsFocus, dsSelected, dsNormal, dsTransparent };
enum TImageType { itImage, itMask };

class TCustomImageList : public TComponent {
public:
    explicit TCustomImageList(TComponent* AOwner);
    // An image list of images AWidth x AHeight.
    TCustomImageList(TComponent* AOwner, int AWidth, int AHeight);
    ~TCustomImageList() override;

    int Width() const { return FWidth; }
    // Changing the size clears the list, as the platform's does.
    void SetWidth(int Value);
    int Height() const { return FHeight; }
    void SetHeight(int Value);
    void SetSize(int AWidth, int AHeight);
    int Count() const { return int(FImages.size()); }
    TColor BkColor = clNone;
    TColor BlendColor = clNone;
    TDrawingStyle DrawingStyle = dsNormal;
    TImageType ImageType = itImage;
    bool Masked = true;

    // Adds Image (split into as many images as fit its width) with Mask (white = transparent;
    // nullptr = opaque). Answers the index of the first added image, -1 when nothing was added.
    int Add(TBitmap* Image, TBitmap* Mask);
    // Adds Image with pixels of MaskColor transparent (clDefault: the bottom-left pixel's colour).
    int AddMasked(TBitmap* Image, TColor MaskColor);
    int AddIcon(TIcon* Image);
    // Adds the images of another list.
    void AddImages(TCustomImageList* Value);
    void Replace(int Index, TBitmap* Image, TBitmap* Mask);
    void ReplaceMasked(int Index, TBitmap* NewImage, TColor MaskColor);
    void Delete(int Index);
    void Move(int CurIndex, int NewIndex);
    void Clear();

    // Draws image Index with its transparency at (X, Y); disabled images are drawn embossed in the
    // system's highlight and shadow colours. An index out of range draws nothing.
    void Draw(TCanvas* Canvas, int X, int Y, int Index, bool Enabled = true);
    void Draw(TCanvas* Canvas, int X, int Y, int Index, TDrawingStyle ADrawingStyle, TImageType AImageType,
              bool Enabled = true);
    // Copies image Index into Image (sized to the list, transparent pixels in the background
    // colour, or clBtnFace when BkColor is clNone). Answers false for an index out of range.
    bool GetBitmap(int Index, TBitmap* Image);
    // The image with its transparency in the alpha channel (a null image out of range).
    QImage GetImage(int Index) const;

    void Assign(TPersistent* Source) override;

    TNotifyEvent OnChange;

protected:
    virtual void Change();

private:
    int AddImage(const QImage& Image);
    // Adds the images of a strip (see Split); answers the index of the first, -1 for none.
    int AddStrip(const QImage& Strip);
    // Raises "Invalid ImageList Index" unless Index is an image's.
    void CheckIndex(int Index) const;

    int FWidth = 16;
    int FHeight = 16;
    std::vector<QImage> FImages;
};

class TImageList : public TCustomImageList {
public:
    using TCustomImageList::TCustomImageList;
};
