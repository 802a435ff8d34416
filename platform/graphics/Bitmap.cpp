// Graphic classes: the abstract graphic, bitmaps with their canvas, icons and pictures.
#include "Graphics.h"
#include "Resources.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QImageWriter>
#include <QSaveFile>

#include <algorithm>

namespace {

QByteArray ReadFile(const String& FileName) {
    QFile f(FileName);
    if (!f.open(QIODevice::ReadOnly))
        throw EFOpenError(QStringLiteral("Cannot open file \"%1\". %2").arg(FileName, f.errorString()));
    return f.readAll();
}

// The drawing format of bitmaps: 32-bit, alpha kept.
QImage ToDrawFormat(const QImage& Image) {
    if (Image.format() == QImage::Format_ARGB32) return Image;
    return Image.convertToFormat(QImage::Format_ARGB32);
}

} // namespace

// ---------------------------------------------------------------------------------------------
// TGraphic

void TGraphic::SetTransparent(bool Value) {
    if (Value == FTransparent) return;
    FTransparent = Value;
    Changed(this);
}

void TGraphic::Changed(TObject*) {
    FModified = true;
    if (Assigned(OnChange)) OnChange(this);
}

void TGraphic::LoadFromFile(const String& FileName) {
    QByteArray data = ReadFile(FileName);
    QBuffer buf(&data);
    buf.open(QIODevice::ReadOnly);
    LoadFromStream(&buf);
}

void TGraphic::SaveToFile(const String& FileName) {
    QSaveFile f(FileName);
    if (!f.open(QIODevice::WriteOnly))
        throw EFCreateError(QStringLiteral("Cannot create file \"%1\". %2").arg(FileName, f.errorString()));
    SaveToStream(&f);
    if (!f.commit())
        throw EFCreateError(QStringLiteral("Cannot create file \"%1\". %2").arg(FileName, f.errorString()));
}

// ---------------------------------------------------------------------------------------------
// TBitmapCanvas

bool TBitmapCanvas::RequireTarget() {
    FBitmap->EnsureDrawFormat();
    if (RawTarget() != &FBitmap->FImage) SetTarget(&FBitmap->FImage);
    return TCanvas::RequireTarget();
}

void TBitmapCanvas::Changed() {
    TCanvas::Changed();
    FBitmap->Changed(FBitmap);
}

// ---------------------------------------------------------------------------------------------
// TBitmap

TBitmap::TBitmap() = default;

TBitmap::TBitmap(int AWidth, int AHeight) {
    SetSize(AWidth, AHeight);
}

TBitmap::~TBitmap() {
    TObject::Free(FCanvas);
}

int TBitmap::Width() const {
    return FImage.width();
}
int TBitmap::Height() const {
    return FImage.height();
}
bool TBitmap::Empty() const {
    return FImage.isNull() || FImage.width() == 0 || FImage.height() == 0;
}

void TBitmap::SetWidth(int Value) {
    SetSize(Value, Height());
}
void TBitmap::SetHeight(int Value) {
    SetSize(Width(), Value);
}

void TBitmap::SetSize(int AWidth, int AHeight) {
    AWidth = std::max(0, AWidth);
    AHeight = std::max(0, AHeight);
    if (AWidth == Width() && AHeight == Height()) return;
    EnsureDrawFormat();
    if (AWidth == 0 || AHeight == 0) {
        FImage = QImage();
    } else {
        QImage img(AWidth, AHeight, QImage::Format_ARGB32);
        if (img.isNull()) throw EOutOfResources(QStringLiteral("Out of system resources"));
        img.fill(0xFFFFFFFFu);
        if (!FImage.isNull()) {
            int w = std::min(AWidth, FImage.width()), h = std::min(AHeight, FImage.height());
            for (int y = 0; y < h; ++y)
                std::copy_n(reinterpret_cast<const uint32_t*>(FImage.constScanLine(y)), w,
                            reinterpret_cast<uint32_t*>(img.scanLine(y)));
        }
        FImage = img;
    }
    if (FCanvas) FCanvas->SetTarget(&FImage);
    Changed(this);
}

void TBitmap::EnsureDrawFormat() {
    if (FScanLayout24) {
        FImage = FImage.convertToFormat(QImage::Format_ARGB32);
        FScanLayout24 = false;
    } else if (!FImage.isNull() && FImage.format() != QImage::Format_ARGB32) {
        FImage = ToDrawFormat(FImage);
    }
}

TCanvas* TBitmap::Canvas() {
    if (!FCanvas) {
        FCanvas = new TBitmapCanvas(this);
        FCanvas->SetTarget(&FImage);
    }
    return FCanvas;
}

QImage& TBitmap::Image() {
    EnsureDrawFormat();
    return FImage;
}

const QImage& TBitmap::Image() const {
    const_cast<TBitmap*>(this)->EnsureDrawFormat();
    return FImage;
}

void TBitmap::SetImage(const QImage& Image) {
    FScanLayout24 = false;
    FImage = Image.isNull() ? QImage() : ToDrawFormat(Image);
    if (FCanvas) FCanvas->SetTarget(&FImage);
    Changed(this);
}

void TBitmap::SetPixelFormat(TPixelFormat Value) {
    if (Value == FPixelFormat) return;
    EnsureDrawFormat();
    FPixelFormat = Value;
    if (Value != pf32bit && !FImage.isNull()) {
        // Formats without alpha keep opaque pixels.
        for (int y = 0; y < FImage.height(); ++y) {
            auto* l = reinterpret_cast<uint32_t*>(FImage.scanLine(y));
            for (int x = 0; x < FImage.width(); ++x) l[x] |= 0xFF000000u;
        }
    }
    Changed(this);
}

Byte* TBitmap::ScanLine(int Y) {
    if (Y < 0 || Y >= Height())
        throw EInvalidGraphicOperation(QStringLiteral("Scan line index out of range"));
    if (FPixelFormat == pf24bit) {
        if (!FScanLayout24) {
            FImage = FImage.convertToFormat(QImage::Format_BGR888);
            FScanLayout24 = true;
        }
    } else {
        EnsureDrawFormat();
    }
    return FImage.scanLine(Y);
}

TColor TBitmap::TransparentColor() {
    if (FTransparentMode == tmFixed && FTransparentColor != clDefault) return FTransparentColor;
    if (Empty()) return clDefault;
    const QImage& img = Image();
    uint32_t p = reinterpret_cast<const uint32_t*>(img.constScanLine(img.height() - 1))[0];
    return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
}

void TBitmap::SetTransparentColor(TColor Value) {
    if (Value == FTransparentColor && (Value == clDefault) == (FTransparentMode == tmAuto)) return;
    FTransparentColor = Value;
    FTransparentMode = Value == clDefault ? tmAuto : tmFixed;
    Changed(this);
}

void TBitmap::SetTransparentMode(TTransparentMode Value) {
    if (Value == FTransparentMode) return;
    FTransparentMode = Value;
    if (Value == tmAuto) FTransparentColor = clDefault;
    Changed(this);
}

void TBitmap::Draw(TCanvas* ACanvas, const TRect& Rect) {
    if (!ACanvas || Empty()) return;
    const QImage& img = Image();
    if (FTransparent) {
        CanvasBlit(ACanvas, Rect, img, true, TransparentColor(), false);
    } else {
        bool alpha = FAlphaFormat != afIgnored && img.hasAlphaChannel();
        CanvasBlit(ACanvas, Rect, img, false, clBlack, alpha);
    }
}

void TBitmap::LoadFromStream(QIODevice* Stream) {
    if (!Stream) throw EInvalidGraphic(QStringLiteral("Bitmap image is not valid"));
    QByteArray data = Stream->readAll();
    QBuffer buf(&data);
    buf.open(QIODevice::ReadOnly);
    QImageReader reader(&buf);
    QByteArray format = reader.format();
    QImage img = reader.read();
    if (img.isNull()) throw EInvalidGraphic(QStringLiteral("Bitmap image is not valid"));
    FScanLayout24 = false;
    bool alpha = img.hasAlphaChannel();
    switch (img.depth()) {
        case 1: FPixelFormat = pf1bit; break;
        case 4: FPixelFormat = pf4bit; break;
        case 8: FPixelFormat = alpha ? pf32bit : pf8bit; break;
        case 16: FPixelFormat = pf16bit; break;
        default: FPixelFormat = alpha ? pf32bit : pf24bit; break;
    }
    // Pictures with an alpha channel (PNG, icons, XPM with transparent pixels) draw blended.
    FAlphaFormat = alpha && format != "bmp" ? afDefined : afIgnored;
    FImage = ToDrawFormat(img);
    if (FCanvas) FCanvas->SetTarget(&FImage);
    Changed(this);
}

void TBitmap::SaveToStream(QIODevice* Stream) {
    if (!Stream) return;
    QImage img = Image();
    if (FPixelFormat != pf32bit) img = img.convertToFormat(QImage::Format_RGB888);
    QImageWriter w(Stream, "bmp");
    if (!w.write(img))
        throw EInvalidGraphicOperation(QStringLiteral("Cannot write the bitmap: %1").arg(w.errorString()));
}

void TBitmap::LoadFromResourceName(const String& Name) {
    QImage img = LoadResourceImage(Name);
    FScanLayout24 = false;
    FPixelFormat = img.hasAlphaChannel() ? pf32bit : pf24bit;
    FAlphaFormat = afIgnored;
    FImage = ToDrawFormat(img);
    if (FImage.hasAlphaChannel()) {
        // Resources are opaque bitmaps: fully transparent pixels become white.
        for (int y = 0; y < FImage.height(); ++y) {
            auto* l = reinterpret_cast<uint32_t*>(FImage.scanLine(y));
            for (int x = 0; x < FImage.width(); ++x)
                if ((l[x] >> 24) == 0)
                    l[x] = 0xFFFFFFFFu;
                else
                    l[x] |= 0xFF000000u;
        }
        FPixelFormat = pf24bit;
    }
    if (FCanvas) FCanvas->SetTarget(&FImage);
    Changed(this);
}

void TBitmap::Mask(TColor TransparentColor) {
    // Turns the bitmap into its mask: black where opaque, white where TransparentColor was.
    EnsureDrawFormat();
    uint32_t key = ToQColor(TransparentColor).rgb() & 0xFFFFFF;
    for (int y = 0; y < FImage.height(); ++y) {
        auto* l = reinterpret_cast<uint32_t*>(FImage.scanLine(y));
        for (int x = 0; x < FImage.width(); ++x) l[x] = (l[x] & 0xFFFFFF) == key ? 0xFFFFFFFFu : 0xFF000000u;
    }
    Changed(this);
}

void TBitmap::Assign(TPersistent* Source) {
    if (!Source) {
        FScanLayout24 = false;
        FImage = QImage();
        if (FCanvas) FCanvas->SetTarget(&FImage);
        Changed(this);
        return;
    }
    if (auto* b = dynamic_cast<TBitmap*>(Source)) {
        if (b == this) return;
        FImage = b->Image();
        FScanLayout24 = false;
        FPixelFormat = b->FPixelFormat;
        FAlphaFormat = b->FAlphaFormat;
        FTransparent = b->FTransparent;
        FTransparentMode = b->FTransparentMode;
        FTransparentColor = b->FTransparentColor;
        if (FCanvas) FCanvas->SetTarget(&FImage);
        Changed(this);
        return;
    }
    if (auto* g = dynamic_cast<TGraphic*>(Source)) {
        // Any other graphic is drawn onto a white bitmap of its size.
        QImage img(std::max(0, g->Width()), std::max(0, g->Height()), QImage::Format_ARGB32);
        if (!img.isNull()) img.fill(0xFFFFFFFFu);
        FImage = img;
        FScanLayout24 = false;
        FPixelFormat = pf24bit;
        if (FCanvas) FCanvas->SetTarget(&FImage);
        if (!FImage.isNull()) g->Draw(Canvas(), TRect(0, 0, g->Width(), g->Height()));
        Changed(this);
        return;
    }
    TGraphic::Assign(Source);
}

// ---------------------------------------------------------------------------------------------
// TIcon

TIcon::TIcon() {
    FTransparent = true;
}

void TIcon::SetWidth(int Value) {
    if (Value == Width()) return;
    QImage img(std::max(0, Value), std::max(0, Height()), QImage::Format_ARGB32);
    img.fill(0);
    FImage = img;
    Changed(this);
}

void TIcon::SetHeight(int Value) {
    if (Value == Height()) return;
    QImage img(std::max(0, Width()), std::max(0, Value), QImage::Format_ARGB32);
    img.fill(0);
    FImage = img;
    Changed(this);
}

void TIcon::SetImage(const QImage& Image) {
    FImage = Image.isNull() ? QImage() : Image.convertToFormat(QImage::Format_ARGB32);
    Changed(this);
}

// A pixel counts as opaque from half coverage on, as the platform's one-bit mask does. Each
// pixel of the result is Opaque(pixel) or Transparent(pixel).
template <class TOpaque, class TClear>
static QImage SplitIcon(const QImage& Image, TOpaque Opaque, TClear Clear) {
    if (Image.isNull()) return QImage();
    const QImage src = Image.convertToFormat(QImage::Format_ARGB32);
    QImage out(src.size(), QImage::Format_RGB32);
    for (int y = 0; y < src.height(); ++y) {
        const auto* s = reinterpret_cast<const QRgb*>(src.constScanLine(y));
        auto* d = reinterpret_cast<QRgb*>(out.scanLine(y));
        for (int x = 0; x < src.width(); ++x) d[x] = qAlpha(s[x]) >= 128 ? Opaque(s[x]) : Clear(s[x]);
    }
    return out;
}

QImage TIcon::MaskImage() const {
    return SplitIcon(
        FImage, [](QRgb) { return 0xFF000000u; }, [](QRgb) { return 0xFFFFFFFFu; });
}

QImage TIcon::ColorImage() const {
    return SplitIcon(
        FImage, [](QRgb p) { return p | 0xFF000000u; }, [](QRgb) { return 0xFF000000u; });
}

void TIcon::Draw(TCanvas* ACanvas, const TRect& Rect) {
    if (!ACanvas || Empty()) return;
    CanvasBlit(ACanvas, Rect, FImage, false, clBlack, true);
}

void TIcon::LoadFromStream(QIODevice* Stream) {
    if (!Stream) throw EInvalidGraphic(QStringLiteral("Icon image is not valid"));
    QByteArray data = Stream->readAll();
    QImage img;
    if (!img.loadFromData(data)) throw EInvalidGraphic(QStringLiteral("Icon image is not valid"));
    SetImage(img);
}

void TIcon::SaveToStream(QIODevice* Stream) {
    if (!Stream) return;
    QImageWriter w(Stream, "ico");
    if (!w.write(FImage)) {
        QImageWriter png(Stream, "png");
        if (!png.write(FImage)) throw EInvalidGraphicOperation(QStringLiteral("Cannot write the icon"));
    }
}

void TIcon::Assign(TPersistent* Source) {
    if (!Source) {
        FImage = QImage();
        Changed(this);
        return;
    }
    if (auto* i = dynamic_cast<TIcon*>(Source)) {
        if (i == this) return;
        FImage = i->FImage;
        Changed(this);
        return;
    }
    if (auto* b = dynamic_cast<TBitmap*>(Source)) {
        QImage img = b->Image().copy();
        if (b->Transparent()) {
            uint32_t key = ToQColor(b->TransparentColor()).rgb() & 0xFFFFFF;
            for (int y = 0; y < img.height(); ++y) {
                auto* l = reinterpret_cast<uint32_t*>(img.scanLine(y));
                for (int x = 0; x < img.width(); ++x)
                    if ((l[x] & 0xFFFFFF) == key) l[x] = 0;
            }
        }
        SetImage(img);
        return;
    }
    TGraphic::Assign(Source);
}

// ---------------------------------------------------------------------------------------------
// TPicture

TPicture::~TPicture() {
    TObject::Free(FGraphic);
}

void TPicture::Changed(TObject*) {
    if (Assigned(OnChange)) OnChange(this);
}

void TPicture::Replace(TGraphic* NewGraphic) {
    TGraphic* old = FGraphic;
    FGraphic = NewGraphic;
    if (FGraphic) FGraphic->OnChange = [this](TObject* s) { Changed(s); };
    TObject::Free(old);
    Changed(this);
}

void TPicture::SetGraphic(TGraphic* Value) {
    if (Value == FGraphic) return;
    if (!Value) {
        Replace(nullptr);
        return;
    }
    TGraphic* g = Value->CreateNew();
    if (!g) throw EInvalidGraphic(QStringLiteral("Unsupported graphic class %1").arg(Value->ClassName()));
    try {
        g->Assign(Value);
    } catch (...) {
        TObject::Free(g);
        throw;
    }
    Replace(g);
}

TBitmap* TPicture::Bitmap() {
    if (auto* b = dynamic_cast<TBitmap*>(FGraphic)) return b;
    Replace(new TBitmap);
    return static_cast<TBitmap*>(FGraphic);
}

void TPicture::SetBitmap(TBitmap* Value) {
    SetGraphic(Value);
}

TIcon* TPicture::Icon() {
    if (auto* i = dynamic_cast<TIcon*>(FGraphic)) return i;
    Replace(new TIcon);
    return static_cast<TIcon*>(FGraphic);
}

void TPicture::LoadFromFile(const String& FileName) {
    QByteArray data = ReadFile(FileName);
    QBuffer buf(&data);
    buf.open(QIODevice::ReadOnly);
    QByteArray format = QImageReader::imageFormat(&buf);
    if (format.isEmpty()) {
        String ext = QFileInfo(FileName).suffix().toLower();
        throw EInvalidGraphic(QStringLiteral("Unknown picture file extension (.%1)").arg(ext));
    }
    buf.seek(0);
    TGraphic* g = format == "ico" || format == "cur" ? static_cast<TGraphic*>(new TIcon) : new TBitmap;
    try {
        g->LoadFromStream(&buf);
    } catch (...) {
        TObject::Free(g);
        throw;
    }
    Replace(g);
}

void TPicture::SaveToFile(const String& FileName) {
    if (FGraphic) FGraphic->SaveToFile(FileName);
}

void TPicture::Assign(TPersistent* Source) {
    if (!Source) {
        Replace(nullptr);
        return;
    }
    if (auto* p = dynamic_cast<TPicture*>(Source)) {
        if (p == this) return;
        SetGraphic(p->Graphic());
        return;
    }
    if (auto* g = dynamic_cast<TGraphic*>(Source)) {
        SetGraphic(g);
        return;
    }
    TPersistent::Assign(Source);
}
