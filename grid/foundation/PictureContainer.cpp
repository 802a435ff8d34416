#include "PictureContainer.h"

#include "Jpeg.h"
#include "Resources.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace {

int RoundDiv(qint64 A, qint64 B) {
    return B == 0 ? 0 : int((A * 2 + (A >= 0 ? B : -B)) / (2 * B));
}

int U16(const QByteArray& D, int P) {
    if (P < 0 || P + 1 >= D.size()) return 0;
    return int(uchar(D[P])) | (int(uchar(D[P + 1])) << 8);
}

// Decodes a picture file: JPEG through libjpeg, everything else through the image readers.
QImage DecodePicture(const QByteArray& Bytes) {
    QImage img;
    if (Bytes.startsWith("\xFF\xD8")) {
        JpegDecode(Bytes, img);
        return img;
    }
    QBuffer buf;
    buf.setData(Bytes);
    buf.open(QIODevice::ReadOnly);
    QImageReader reader(&buf);
    reader.setDecideFormatFromContent(true);
    reader.setAutoTransform(false);
    // JPEG pictures are libjpeg's alone.
    if (reader.format() == "jpeg" || reader.format() == "jpg") return img;
    img = reader.read();
    return img;
}

// The bytes of a picture resource of the program: files under ":/rcdata" and the bitmap resources,
// names compared without regard to case.
bool FindPictureResource(const String& Name, QByteArray& Bytes) {
    if (Name.isEmpty()) return false;
    ResourceImageExists(Name); // makes sure the program's resources are registered
    for (const char* dir : {":/rcdata", ":/bitmaps"}) {
        const QFileInfoList files = QDir(QLatin1String(dir)).entryInfoList(QDir::Files, QDir::Name);
        for (const QFileInfo& fi : files) {
            if (fi.fileName().compare(Name, Qt::CaseInsensitive) != 0 &&
                fi.completeBaseName().compare(Name, Qt::CaseInsensitive) != 0)
                continue;
            QFile f(fi.filePath());
            if (!f.open(QIODevice::ReadOnly)) continue;
            Bytes = f.readAll();
            return true;
        }
    }
    return false;
}

} // namespace

// ---------------------------------------------------------------------------------------------
// THTMLPicture

THTMLPicture::THTMLPicture() = default;

THTMLPicture::~THTMLPicture() = default;

void THTMLPicture::Reset() {
    FEmpty = true;
    FImage = QImage();
    FHimetricWidth = FHimetricHeight = 0;
    FFrame = 1;
    FFrameCount = -1;
    FFrameBlocks.clear();
    FFrameXPos = FFrameYPos = 0;
    FLogicalWidth = FLogicalHeight = 0;
    FNextChange = -1;
    FTicks = -1;
}

bool THTMLPicture::IsGIF() const {
    return FData.size() >= 5 && FData.startsWith("GIF8");
}

void THTMLPicture::CountFrames() {
    FFrameBlocks.clear();
    const int n = FData.size();
    const auto* d = reinterpret_cast<const uchar*>(FData.constData());
    // A graphic control extension directly followed by an image descriptor starts a frame.
    for (int p = 0; p + 9 < n; ++p)
        if (d[p] == 0x21 && d[p + 1] == 0xF9 && d[p + 2] == 0x04 && d[p + 8] == 0x2C)
            FFrameBlocks.push_back(p);
    FFrameCount = int(FFrameBlocks.size());
}

int THTMLPicture::FrameCount() {
    if (!IsGIF()) return -1;
    if (FFrameCount < 0) CountFrames();
    return FFrameCount;
}

int THTMLPicture::FrameDelay(int Index) {
    if (FrameCount() < 1 || Index < 1 || Index > FFrameCount) return 0;
    return U16(FData, FFrameBlocks[size_t(Index - 1)] + 4);
}

void THTMLPicture::Build() {
    if (FData.isEmpty()) throw EInvalidGraphic(QStringLiteral("Empty image stream created"));
    QByteArray bytes = FData;
    FFrameXPos = FFrameYPos = 0;
    FLogicalWidth = FLogicalHeight = 0;
    int fw = 0, fh = 0;
    if (FrameCount() > 0) {
        // Leave out the frames before the selected one: the decoder shows the first it finds.
        FFrame = std::clamp(FFrame, 1, FFrameCount);
        const int first = FFrameBlocks.front();
        const int sel = FFrameBlocks[size_t(FFrame - 1)];
        if (sel != first) bytes = FData.left(first) + FData.mid(sel);
        FFrameXPos = U16(FData, sel + 9);
        FFrameYPos = U16(FData, sel + 11);
        fw = U16(FData, sel + 13);
        fh = U16(FData, sel + 15);
        FLogicalWidth = U16(FData, 6);
        FLogicalHeight = U16(FData, 8);
    }
    QImage img = DecodePicture(bytes);
    if (img.isNull()) throw EInvalidGraphic(QStringLiteral("Could not load image. Invalid format"));
    // The GIF reader paints a frame onto the animation's whole area; keep the frame's own part.
    if (fw > 0 && fh > 0 && img.size() != QSize(fw, fh)) {
        const QRect part(FFrameXPos, FFrameYPos, fw, fh);
        if (img.rect().contains(part)) img = img.copy(part);
    }
    if (img.format() != QImage::Format_ARGB32 && img.format() != QImage::Format_RGB32)
        img = img.convertToFormat(img.hasAlphaChannel() ? QImage::Format_ARGB32 : QImage::Format_RGB32);
    FImage = img;
    FHimetricWidth = RoundDiv(qint64(img.width()) * 2540, 96);
    FHimetricHeight = RoundDiv(qint64(img.height()) * 2540, 96);
}

void THTMLPicture::LoadBytes(const QByteArray& Bytes, bool Notify) {
    Reset();
    FData = Bytes;
    try {
        Build();
    } catch (...) {
        Reset();
        FData.clear();
        throw;
    }
    FEmpty = false;
    if (Notify) Changed(this);
}

int THTMLPicture::Width() const {
    return FImage.isNull() ? 0 : RoundDiv(qint64(FHimetricWidth) * 96, 2540);
}

int THTMLPicture::Height() const {
    return FImage.isNull() ? 0 : RoundDiv(qint64(FHimetricHeight) * 96, 2540);
}

void THTMLPicture::Assign(TPersistent* Source) {
    Reset();
    auto* src = dynamic_cast<THTMLPicture*>(Source);
    if (!src || src->FData.isEmpty()) {
        FData.clear();
        return;
    }
    try {
        LoadBytes(src->FData, true);
    } catch (const Exception&) {
        // The source could not be shown either: the copy stays empty.
    }
}

void THTMLPicture::Draw(TCanvas* ACanvas, const TRect& Rect) {
    if (FEmpty || FImage.isNull() || !ACanvas) return;
    TRect target = Rect;
    if (!FStretch) {
        target.Right =
            Rect.Left + RoundDiv(qint64(FHimetricWidth) * ACanvas->GetDeviceCaps(LOGPIXELSX), 2540);
        target.Bottom =
            Rect.Top + RoundDiv(qint64(FHimetricHeight) * ACanvas->GetDeviceCaps(LOGPIXELSY), 2540);
    }
    if (target.Width() <= 0 || target.Height() <= 0) return;
    if (target.Width() == FImage.width() && target.Height() == FImage.height()) {
        ACanvas->DrawImage(target.Left, target.Top, FImage);
        return;
    }
    QPainter* p = ACanvas->BeginPainter();
    if (!p) return;
    p->setRenderHint(QPainter::SmoothPixmapTransform, false);
    p->drawImage(QRect(target.Left, target.Top, target.Width(), target.Height()), FImage);
    ACanvas->EndPainter(p);
}

void THTMLPicture::LoadFromFile(const String& FileName) {
    QFile f(FileName);
    QByteArray bytes;
    if (f.open(QIODevice::ReadOnly)) bytes = f.readAll();
    try {
        LoadBytes(bytes, true);
    } catch (const Exception&) {
        // A file that cannot be read or decoded leaves the picture empty.
    }
}

void THTMLPicture::LoadFromData(const QByteArray& Data) {
    LoadBytes(Data, true);
}

void THTMLPicture::LoadFromStream(TStream* Stream) {
    if (!Stream) return;
    LoadBytes(Stream->ReadAll(), true);
}

void THTMLPicture::LoadFromStream(QIODevice* Stream) {
    if (!Stream) return;
    LoadBytes(Stream->readAll(), true);
}

void THTMLPicture::ReadData(TStream* Stream) {
    if (!Stream) return;
    LoadBytes(Stream->ReadAll(), false);
}

void THTMLPicture::SaveToStream(TStream* Stream) {
    if (Stream && !FData.isEmpty()) Stream->WriteBuffer(FData);
}

void THTMLPicture::SaveToStream(QIODevice* Stream) {
    if (Stream && !FData.isEmpty()) Stream->write(FData);
}

void THTMLPicture::WriteData(TStream* Stream) {
    SaveToStream(Stream);
}

void THTMLPicture::LoadFromResourceName(HINSTANCE, const String& Name) {
    QByteArray bytes;
    if (FindPictureResource(Name, bytes)) LoadBytes(bytes, true);
}

void THTMLPicture::LoadFromResourceID(HINSTANCE Instance, int ResID) {
    LoadFromResourceName(Instance, QString::number(ResID));
}

void THTMLPicture::LoadFromURL(const String& URL) {
    static const QLatin1String res("RES://"), file("FILE://");
    if (URL.startsWith(res, Qt::CaseInsensitive)) {
        FID = URL;
        const String name = URL.mid(res.size());
        if (!name.isEmpty()) LoadFromResourceName(0, name);
    } else if (URL.startsWith(file, Qt::CaseInsensitive)) {
        FID = URL;
        LoadFromFile(URL.mid(file.size()));
    } else if (!FAsynch) {
        FID = URL;
        FURL = URL;
    } else if (!FBusy) {
        // Pictures from the network are not fetched: the request is recorded and stays pending.
        FURL = URL;
        FBusy = true;
    }
}

void THTMLPicture::SetFrame(int Value) {
    FFrame = Value;
    if (FData.isEmpty()) return;
    if (FrameCount() > 0) FFrame = std::clamp(FFrame, 1, FFrameCount);
    try {
        Build();
    } catch (const Exception&) {
        // A frame that cannot be decoded keeps the picture it replaced out of view.
        FImage = QImage();
    }
    if (Assigned(OnFrameChange)) OnFrameChange(this);
}

void THTMLPicture::FrameNext() {
    const int n = FrameCount();
    if (n < 1) return;
    SetFrame(FFrame >= n ? 1 : FFrame + 1);
}

void THTMLPicture::FramePrev() {
    const int n = FrameCount();
    if (n < 1) return;
    SetFrame(FFrame <= 1 ? n : FFrame - 1);
}

bool THTMLPicture::Step() {
    if (FEmpty || FFrameCount < 2) return false;
    bool changed = false;
    if (FNextChange < 0) FNextChange = FrameDelay(FFrame);
    if (qint64(FTicks) * 10 >= FNextChange) {
        FrameNext();
        FNextChange += FrameDelay(FFrame);
        changed = true;
    }
    ++FTicks;
    return changed;
}

// ---------------------------------------------------------------------------------------------
// THTMLPictureCache

THTMLPictureCache::~THTMLPictureCache() {
    ClearPictures();
}

THTMLPicture* THTMLPictureCache::AddPicture() {
    auto* pic = new THTMLPicture();
    Add(pic);
    return pic;
}

THTMLPicture* THTMLPictureCache::FindPicture(const String& ID) const {
    for (int i = 0; i < Count(); ++i) {
        auto* pic = GetPicture(i);
        if (pic && pic->ID() == ID) return pic;
    }
    return nullptr;
}

void THTMLPictureCache::ClearPictures() {
    for (int i = 0; i < Count(); ++i) {
        TObject* pic = GetPicture(i);
        TObject::Free(pic);
    }
    Clear();
}

bool THTMLPictureCache::Animate() {
    bool changed = false;
    for (int i = 0; i < Count(); ++i)
        if (auto* pic = GetPicture(i); pic && pic->Step()) changed = true;
    return changed;
}

void THTMLPictureCache::SetPicture(int Index, THTMLPicture* Value) {
    THTMLPicture* old = GetPicture(Index);
    if (old == Value) return;
    SetItems(Index, Value);
    TObject::Free(old);
}

// ---------------------------------------------------------------------------------------------
// Picture items, collection and container

TPictureItem::TPictureItem(TCollection* Collection)
    : TCollectionItem(Collection), FPicture(new THTMLPicture()) {}

TPictureItem::~TPictureItem() {
    TObject::Free(FPicture);
}

void TPictureItem::Assign(TPersistent* Source) {
    if (auto* src = dynamic_cast<TPictureItem*>(Source)) {
        FName = src->FName;
        FTag = src->FTag;
        FPicture->Assign(src->FPicture);
        return;
    }
    TCollectionItem::Assign(Source);
}

TPictureCollection::TPictureCollection(TPersistent* AOwner)
    : TOwnedCollection(AOwner, CollectionItemClass<TPictureItem>()) {}

bool TPictureCollection::Animate() {
    bool changed = false;
    for (int i = 0; i < Count(); ++i)
        if (Items(i)->Picture()->Step()) changed = true;
    return changed;
}

TPictureContainer::TPictureContainer(TComponent* AOwner)
    : TComponent(AOwner), FItems(new TPictureCollection(this)) {}

TPictureContainer::~TPictureContainer() {
    TObject::Free(FItems);
}

THTMLPicture* TPictureContainer::FindPicture(const String& Name) {
    for (int i = 0; i < FItems->Count(); ++i) {
        TPictureItem* item = FItems->Items(i);
        if (item->Name().compare(Name, Qt::CaseInsensitive) == 0) return item->Picture();
    }
    return nullptr;
}
