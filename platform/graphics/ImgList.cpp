// Image lists: images of one size, kept with their transparency in the alpha channel.
#include "ImgList.h"
#include "StandIn.h"

#include <algorithm>

TCustomImageList::TCustomImageList(TComponent* AOwner) : TComponent(AOwner) {}

TCustomImageList::TCustomImageList(TComponent* AOwner, int AWidth, int AHeight) : TComponent(AOwner) {
    FWidth = std::max(1, AWidth);
    FHeight = std::max(1, AHeight);
}

TCustomImageList::~TCustomImageList() = default;

void TCustomImageList::Change() {
    if (Assigned(OnChange)) OnChange(this);
}

void TCustomImageList::SetSize(int AWidth, int AHeight) {
    AWidth = std::max(1, AWidth);
    AHeight = std::max(1, AHeight);
    if (AWidth == FWidth && AHeight == FHeight) return;
    FWidth = AWidth;
    FHeight = AHeight;
    FImages.clear();
    Change();
}

void TCustomImageList::SetWidth(int Value) {
    SetSize(Value, FHeight);
}
void TCustomImageList::SetHeight(int Value) {
    SetSize(FWidth, Value);
}

int TCustomImageList::AddImage(const QImage& Image) {
    FImages.push_back(Image);
    return int(FImages.size()) - 1;
}

namespace {

// Splits a strip into images of W x H (a picture narrower than W gives one image), padding with
// transparent pixels.
std::vector<QImage> Split(const QImage& Strip, int W, int H) {
    std::vector<QImage> out;
    if (Strip.isNull()) return out;
    int n = std::max(1, Strip.width() / W);
    for (int i = 0; i < n; ++i) {
        QImage img(W, H, QImage::Format_ARGB32);
        img.fill(0);
        int cw = std::min(W, Strip.width() - i * W), ch = std::min(H, Strip.height());
        for (int y = 0; y < ch; ++y) {
            const auto* s = reinterpret_cast<const uint32_t*>(Strip.constScanLine(y)) + i * W;
            std::copy_n(s, cw, reinterpret_cast<uint32_t*>(img.scanLine(y)));
        }
        out.push_back(img);
    }
    return out;
}

} // namespace

int TCustomImageList::AddStrip(const QImage& Strip) {
    int first = -1;
    for (const QImage& part : Split(Strip, FWidth, FHeight)) {
        int i = AddImage(part);
        if (first < 0) first = i;
    }
    Change();
    return first;
}

void TCustomImageList::CheckIndex(int Index) const {
    if (Index < 0 || Index >= Count()) throw EInvalidOperation(QStringLiteral("Invalid ImageList Index"));
}

int TCustomImageList::Add(TBitmap* Image, TBitmap* Mask) {
    if (!Image || Image->Empty()) return -1;
    QImage img = Image->Image().copy();
    for (int y = 0; y < img.height(); ++y) {
        auto* l = reinterpret_cast<uint32_t*>(img.scanLine(y));
        for (int x = 0; x < img.width(); ++x) {
            bool transparent = false;
            if (Mask && !Mask->Empty() && x < Mask->Width() && y < Mask->Height())
                transparent =
                    (reinterpret_cast<const uint32_t*>(Mask->Image().constScanLine(y))[x] & 0xFFFFFF) != 0;
            l[x] = transparent ? 0u : (l[x] | 0xFF000000u);
        }
    }
    return AddStrip(img);
}

int TCustomImageList::AddMasked(TBitmap* Image, TColor MaskColor) {
    if (!Image || Image->Empty()) return -1;
    QImage img = Image->Image().copy();
    TColor keyColor = MaskColor == clDefault || MaskColor == clNone ? Image->TransparentColor() : MaskColor;
    uint32_t key = ToQColor(keyColor).rgb() & 0xFFFFFF;
    for (int y = 0; y < img.height(); ++y) {
        auto* l = reinterpret_cast<uint32_t*>(img.scanLine(y));
        for (int x = 0; x < img.width(); ++x) l[x] = (l[x] & 0xFFFFFF) == key ? 0u : (l[x] | 0xFF000000u);
    }
    return AddStrip(img);
}

int TCustomImageList::AddIcon(TIcon* Image) {
    if (!Image || Image->Empty()) return -1;
    QImage img = Image->Image().scaled(FWidth, FHeight, Qt::IgnoreAspectRatio, Qt::FastTransformation);
    int i = AddImage(img.convertToFormat(QImage::Format_ARGB32));
    Change();
    return i;
}

void TCustomImageList::AddImages(TCustomImageList* Value) {
    if (!Value || Value == this) return;
    for (const QImage& img : Value->FImages)
        AddImage(img.scaled(FWidth, FHeight, Qt::IgnoreAspectRatio, Qt::FastTransformation));
    Change();
}

void TCustomImageList::Replace(int Index, TBitmap* Image, TBitmap* Mask) {
    CheckIndex(Index);
    TCustomImageList tmp(nullptr, FWidth, FHeight);
    if (tmp.Add(Image, Mask) < 0) return;
    FImages[Index] = tmp.FImages[0];
    Change();
}

void TCustomImageList::ReplaceMasked(int Index, TBitmap* NewImage, TColor MaskColor) {
    CheckIndex(Index);
    TCustomImageList tmp(nullptr, FWidth, FHeight);
    if (tmp.AddMasked(NewImage, MaskColor) < 0) return;
    FImages[Index] = tmp.FImages[0];
    Change();
}

void TCustomImageList::Delete(int Index) {
    CheckIndex(Index);
    FImages.erase(FImages.begin() + Index);
    Change();
}

void TCustomImageList::Move(int CurIndex, int NewIndex) {
    CheckIndex(CurIndex);
    CheckIndex(NewIndex);
    QImage img = FImages[CurIndex];
    FImages.erase(FImages.begin() + CurIndex);
    FImages.insert(FImages.begin() + NewIndex, img);
    Change();
}

void TCustomImageList::Clear() {
    if (FImages.empty()) return;
    FImages.clear();
    Change();
}

QImage TCustomImageList::GetImage(int Index) const {
    if (Index < 0 || Index >= Count()) return QImage();
    return FImages[Index];
}

void TCustomImageList::Draw(TCanvas* Canvas, int X, int Y, int Index, bool Enabled) {
    Draw(Canvas, X, Y, Index, DrawingStyle, ImageType, Enabled);
}

void TCustomImageList::Draw(TCanvas* Canvas, int X, int Y, int Index, TDrawingStyle ADrawingStyle,
                            TImageType AImageType, bool Enabled) {
    if (!Canvas || Index < 0 || Index >= Count()) return;
    // The platform blends focused and selected images with BlendColor and fills the transparent
    // pixels of a normal one with BkColor when that is set; here every image keeps its own
    // transparency over the canvas.
    if (ADrawingStyle == dsFocus || ADrawingStyle == dsSelected)
        PlatformStandIn("TCustomImageList::Draw(dsFocus/dsSelected)");
    else if (ADrawingStyle == dsNormal && BkColor != clNone)
        PlatformStandIn("TCustomImageList::BkColor");
    const QImage& img = FImages[Index];
    if (AImageType == itMask) {
        // The mask: black where the image is transparent, white where it is opaque.
        QImage m(img.size(), QImage::Format_ARGB32);
        for (int y = 0; y < img.height(); ++y) {
            const auto* s = reinterpret_cast<const uint32_t*>(img.constScanLine(y));
            auto* d = reinterpret_cast<uint32_t*>(m.scanLine(y));
            for (int x = 0; x < img.width(); ++x) d[x] = (s[x] >> 24) ? 0xFF000000u : 0xFFFFFFFFu;
        }
        CanvasBlit(Canvas, Bounds(X, Y, FWidth, FHeight), m, false, clBlack, false);
        return;
    }
    if (Enabled) {
        CanvasBlit(Canvas, Bounds(X, Y, FWidth, FHeight), img, false, clBlack, true);
        return;
    }
    // Disabled: the image's dark pixels embossed, highlight one pixel down-right, shadow on top.
    auto silhouette = [&](TColor c) {
        QImage s(img.size(), QImage::Format_ARGB32);
        s.fill(0);
        uint32_t px = 0xFF000000u | (ToQColor(c).rgb() & 0xFFFFFF);
        for (int y = 0; y < img.height(); ++y) {
            const auto* src = reinterpret_cast<const uint32_t*>(img.constScanLine(y));
            auto* d = reinterpret_cast<uint32_t*>(s.scanLine(y));
            for (int x = 0; x < img.width(); ++x) {
                if ((src[x] >> 24) < 128) continue;
                int r = (src[x] >> 16) & 0xFF, g = (src[x] >> 8) & 0xFF, b = src[x] & 0xFF;
                if (r * 30 + g * 59 + b * 11 < 192 * 100) d[x] = px;
            }
        }
        return s;
    };
    CanvasBlit(Canvas, Bounds(X + 1, Y + 1, FWidth, FHeight), silhouette(clBtnHighlight), false, clBlack,
               true);
    CanvasBlit(Canvas, Bounds(X, Y, FWidth, FHeight), silhouette(clBtnShadow), false, clBlack, true);
}

bool TCustomImageList::GetBitmap(int Index, TBitmap* Image) {
    if (!Image || Index < 0 || Index >= Count()) return false;
    QImage out(FWidth, FHeight, QImage::Format_ARGB32);
    out.fill(ToQColor(BkColor == clNone ? clBtnFace : BkColor).rgb() | 0xFF000000u);
    const QImage& img = FImages[Index];
    for (int y = 0; y < FHeight; ++y) {
        const auto* s = reinterpret_cast<const uint32_t*>(img.constScanLine(y));
        auto* d = reinterpret_cast<uint32_t*>(out.scanLine(y));
        for (int x = 0; x < FWidth; ++x)
            if (s[x] >> 24) d[x] = s[x] | 0xFF000000u;
    }
    Image->SetImage(out);
    Image->SetPixelFormat(pf24bit);
    return true;
}

void TCustomImageList::Assign(TPersistent* Source) {
    if (auto* l = dynamic_cast<TCustomImageList*>(Source)) {
        if (l == this) return;
        FWidth = l->FWidth;
        FHeight = l->FHeight;
        FImages = l->FImages;
        BkColor = l->BkColor;
        BlendColor = l->BlendColor;
        DrawingStyle = l->DrawingStyle;
        ImageType = l->ImageType;
        Masked = l->Masked;
        Change();
        return;
    }
    TComponent::Assign(Source);
}
