// Named bitmap resources, looked up case-insensitively among the pictures compiled in from
// resources/bitmaps/.
#include "Resources.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QImage>
#include <QImageReader>
#include <QMutex>

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

// Each picture is decoded once (windows load the same glyphs many times), by the reader its
// suffix names: finding the reader from the contents would load every image plugin first.
QImage LoadResourceImage(const String& Name) {
    const auto& index = Index();
    const String key = Name.toUpper();
    static QHash<String, QImage> decoded;
    static QMutex lock;
    QMutexLocker guard(&lock);
    auto done = decoded.constFind(key);
    if (done != decoded.constEnd()) return *done;
    QImage img;
    auto it = index.find(key);
    if (it != index.end()) {
        QImageReader reader(*it, QFileInfo(*it).suffix().toLatin1());
        reader.setAutoDetectImageFormat(false);
        img = reader.read();
    }
    if (img.isNull()) throw EResNotFound(QStringLiteral("Resource %1 not found").arg(Name));
    decoded.insert(key, img);
    return img;
}

QStringList ResourceImageNames() {
    QStringList names;
    const auto& index = Index();
    for (auto it = index.begin(); it != index.end(); ++it) names << QFileInfo(it.value()).completeBaseName();
    names.sort(Qt::CaseInsensitive);
    return names;
}
