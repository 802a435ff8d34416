// TCellGraphic: the graphic of one grid cell, its setters per kind and the picture sizing.
#include "CellGraphic.h"

#include <algorithm>
#include <cmath>

TCellGraphic::~TCellGraphic() {
    switch (CellType) {
        case ctBitmap:
        case ctRadio:
        case ctPicture:
        case ctFilePicture:
        case ctBitButton:
            if (CellCreated) TObject::Free(CellBitmap);
            break;
        case ctImages: TObject::Free(CellBitmap); break;
        case ctIcon:
            if (CellCreated) TObject::Free(CellIcon);
            break;
        default: break;
    }
    TObject::Free(FBalloon);
}

void TCellGraphic::SetBalloon(TStringList* Value) {
    if (Value == FBalloon) return;
    TObject::Free(FBalloon);
    FBalloon = Value;
}

void TCellGraphic::SetBitmap(TBitmap* ABitmap, bool Transparent, TCellHAlign hal, TCellVAlign val) {
    CellType = ctBitmap;
    CellBitmap = ABitmap;
    CellTransparent = Transparent;
    CellHAlign = hal;
    CellVAlign = val;
}

void TCellGraphic::SetIcon(TIcon* AIcon, TCellHAlign hal, TCellVAlign val) {
    CellType = ctIcon;
    CellIcon = AIcon;
    CellHAlign = hal;
    CellVAlign = val;
}

void TCellGraphic::SetImageIdx(int Idx, TCellHAlign hal, TCellVAlign val) {
    CellType = ctImageList;
    CellIndex = Idx;
    CellHAlign = hal;
    CellVAlign = val;
}

void TCellGraphic::SetDataImage(int Idx, TCellHAlign hal, TCellVAlign val) {
    CellType = ctDataImage;
    CellIndex = Idx;
    CellHAlign = hal;
    CellVAlign = val;
}

void TCellGraphic::SetMultiImage(int ACol, int ARow, int Dir, TCellHAlign hal, TCellVAlign val,
                                 const TImageChangeEvent& Notifier) {
    CellType = ctImages;
    auto* list = new TIntList(ACol, ARow);
    list->OnChange = Notifier;
    CellBitmap = list;
    CellCreated = true;
    CellBoolean = Dir == 0;
    CellHAlign = hal;
    CellVAlign = val;
}

void TCellGraphic::SetPicture(TPicture* APicture, bool Transparent, TStretchMode StretchMode, int Padding,
                              TCellHAlign hal, TCellVAlign val) {
    CellType = ctPicture;
    CellBitmap = APicture;
    CellTransparent = Transparent;
    CellAngle = int(StretchMode);
    CellIndex = Padding;
    CellHAlign = hal;
    CellVAlign = val;
}

void TCellGraphic::SetFilePicture(TFilePicture* APicture, bool Transparent, TStretchMode StretchMode,
                                  int Padding, TCellHAlign hal, TCellVAlign val) {
    SetPicture(nullptr, Transparent, StretchMode, Padding, hal, val);
    CellType = ctFilePicture;
    CellBitmap = APicture;
}

void TCellGraphic::SetCheckBox(bool Value, bool Data, bool Flat, TCellHAlign hal, TCellVAlign val) {
    CellType = Data ? ctDataCheckBox : ctCheckBox;
    CellBoolean = Value;
    CellAngle = 0;
    CellTransparent = Flat;
    CellHAlign = hal;
    CellVAlign = val;
}

void TCellGraphic::SetCheckBox(TCheckBoxState State, bool Flat, TCellHAlign hal, TCellVAlign val) {
    CellType = ctTriStateCheckBox;
    CellCheckBoxState = State;
    CellBoolean = false;
    CellTransparent = Flat;
    CellHAlign = hal;
    CellVAlign = val;
}

void TCellGraphic::SetRadioButton(bool Value, bool Flat, TCellHAlign hal, TCellVAlign val) {
    CellType = ctRadioButton;
    CellBoolean = Value;
    CellAngle = 0;
    CellTransparent = Flat;
    CellHAlign = hal;
    CellVAlign = val;
}

void TCellGraphic::SetButton(int bw, int bh, const String& Caption, TCellHAlign hal, TCellVAlign val) {
    CellType = ctButton;
    CellIndex = int(unsigned(bh) << 16 | (unsigned(bw) & 0xFFFF));
    CellText = Caption;
    CellBoolean = false;
    CellHAlign = hal;
    CellVAlign = val;
}

void TCellGraphic::SetBitButton(int bw, int bh, const String& Caption, TBitmap* Glyph, TCellHAlign hal,
                                TCellVAlign val) {
    SetButton(bw, bh, Caption, hal, val);
    CellType = ctBitButton;
    CellBitmap = Glyph;
}

void TCellGraphic::SetAngle(int AAngle) {
    CellType = ctRotated;
    int a = std::int16_t(AAngle);
    while (a < 0) a += 360;
    while (a > 360) a -= 360;
    CellAngle = a;
}

void TCellGraphic::SetInterfacedCell(TObject* AObject) {
    CellType = ctInterface;
    CellBitmap = AObject;
}

TPoint TCellGraphic::GetPictureSize(int cw, int rh, bool) const {
    int w = 0, h = 0;
    if (CellType == ctPicture) {
        if (auto* p = dynamic_cast<TPicture*>(CellBitmap)) w = p->Width(), h = p->Height();
    } else if (CellType == ctFilePicture) {
        if (auto* p = dynamic_cast<TFilePicture*>(CellBitmap)) w = p->Width(), h = p->Height();
    } else {
        return TPoint();
    }
    const int a = cw - CellIndex;
    const int b = rh - CellIndex;
    const bool fits = a >= w && b >= h;
    // Keeps the picture's aspect ratio: the smaller of the two scales wins.
    const auto aspect = [&](bool Cap) {
        double ra = w > 0 && h > 0 ? double(a) / w : 1;
        double rb = w > 0 && h > 0 ? double(b) / h : 1;
        if (Cap) ra = std::min(ra, 1.0), rb = std::min(rb, 1.0);
        return ra >= rb ? TPoint(int(std::lround(w * rb)), b) : TPoint(a, int(std::lround(h * ra)));
    };
    switch (TStretchMode(CellAngle)) {
        case Stretch: return TPoint(a, b);
        case StretchWithAspectRatio: return aspect(false);
        case Shrink: return fits ? TPoint(w, h) : TPoint(a, b);
        case ShrinkWithAspectRatio: return fits ? TPoint(w, h) : aspect(true);
        default: return TPoint(w, h);
    }
}

void TCellGraphic::Assign(TPersistent* Source) {
    auto* src = dynamic_cast<TCellGraphic*>(Source);
    if (!src) {
        TPersistent::Assign(Source);
        return;
    }
    CellType = src->CellType;
    CellHAlign = src->CellHAlign;
    CellVAlign = src->CellVAlign;
    CellIndex = src->CellIndex;
    CellTransparent = src->CellTransparent;
    CellValue = src->CellValue;
    CellAngle = src->CellAngle;
    CellBoolean = src->CellBoolean;
    CellErrFrom = src->CellErrFrom;
    CellErrLen = src->CellErrLen;
    CellText = src->CellText;
    CellCreated = src->CellCreated;
}
