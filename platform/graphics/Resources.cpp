// Named bitmap resources, looked up case-insensitively among the pictures compiled in from
// resources/bitmaps/.
#include "Resources.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QImage>
#include <QImageReader>
#include <QMutex>
#include <QSet>

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <thread>

// Defined by the resources library: registers its compiled pictures.
void VelmoraInitBitmapResources();

namespace {

// Upper-case name -> resource path; when a name exists with several extensions, .bmp wins over
// .xpm over .png.
const QHash<String, String>& Index() {
    static QHash<String, String> index;
    static QMutex lock;
    static bool built = false;
    QMutexLocker guard(&lock);
    if (!built) {
        VelmoraInitBitmapResources();
        auto rank = [](const String& suffix) {
            static const QStringList order{QStringLiteral("bmp"), QStringLiteral("xpm"),
                                           QStringLiteral("png")};
            int i = int(order.indexOf(suffix.toLower()));
            return i < 0 ? int(order.size()) : i;
        };
        const QFileInfoList files = QDir(QStringLiteral(":/bitmaps")).entryInfoList(QDir::Files, QDir::Name);
        for (const QFileInfo& fi : files) {
            String key = fi.completeBaseName().toUpper();
            auto it = index.find(key);
            if (it == index.end() || rank(fi.suffix()) < rank(QFileInfo(*it).suffix()))
                index.insert(key, fi.filePath());
        }
        built = true;
    }
    return index;
}

} // namespace

bool ResourceImageExists(const String& Name) {
    return Index().contains(Name.toUpper());
}

namespace {

// The decoded pictures. A picture is decoded once, by whichever thread asks first (the program's
// thread or the preloader); a thread that wants one another thread is decoding waits for it.
struct TDecodedImages {
    std::mutex Lock;
    std::condition_variable Done;
    QHash<String, QImage> Images;
    QSet<String> Busy;
    std::thread Preloader;
    std::atomic<bool> Stop{false};
    ~TDecodedImages() {
        Stop = true;
        if (Preloader.joinable()) Preloader.join();
    }
};

TDecodedImages& Decoded() {
    static TDecodedImages d;
    return d;
}

// Decoded by the reader the suffix names: finding the reader from the contents would load every
// image plugin first.
QImage DecodeResource(const String& Path) {
    QImageReader reader(Path, QFileInfo(Path).suffix().toLatin1());
    reader.setAutoDetectImageFormat(false);
    return reader.read();
}

// The picture under Key, decoded now unless it is decoded or being decoded (then waited for).
// A null image when the resource is missing or unreadable.
QImage DecodedImage(const String& Key, const QHash<String, String>& Index) {
    TDecodedImages& d = Decoded();
    std::unique_lock<std::mutex> lk(d.Lock);
    for (;;) {
        auto done = d.Images.constFind(Key);
        if (done != d.Images.constEnd()) return *done;
        if (!d.Busy.contains(Key)) break;
        d.Done.wait(lk);
    }
    auto it = Index.find(Key);
    if (it == Index.end()) return QImage();
    d.Busy.insert(Key);
    lk.unlock();
    QImage img;
    try {
        img = DecodeResource(*it);
    } catch (...) {
        img = QImage();
    }
    lk.lock();
    d.Busy.remove(Key);
    if (!img.isNull()) d.Images.insert(Key, img);
    d.Done.notify_all();
    return img;
}

} // namespace

// Each picture is decoded once: windows load the same glyphs many times.
QImage LoadResourceImage(const String& Name) {
    QImage img = DecodedImage(Name.toUpper(), Index());
    if (img.isNull()) throw EResNotFound(QStringLiteral("Resource %1 not found").arg(Name));
    return img;
}

void StartResourceImagePreload() {
    TDecodedImages& d = Decoded();
    const QHash<String, String>& index = Index();
    std::lock_guard<std::mutex> guard(d.Lock);
    if (d.Preloader.joinable() || d.Stop) return;
    QStringList keys = index.keys();
    keys.sort();
    d.Preloader = std::thread([keys, &index, &d] {
        for (const String& key : keys) {
            if (d.Stop) return;
            DecodedImage(key, index);
        }
    });
}

void StopResourceImagePreload() {
    TDecodedImages& d = Decoded();
    d.Stop = true;
    if (d.Preloader.joinable()) d.Preloader.join();
}

QStringList ResourceImageNames() {
    QStringList names;
    const auto& index = Index();
    for (auto it = index.begin(); it != index.end(); ++it) names << QFileInfo(it.value()).completeBaseName();
    names.sort(Qt::CaseInsensitive);
    return names;
}
