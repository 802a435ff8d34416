// Named bitmap resources, looked up case-insensitively among the pictures compiled in from
// resources/bitmaps/.
#include "Resources.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QImage>
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

QImage LoadResourceImage(const String& Name) {
    const auto& index = Index();
    auto it = index.find(Name.toUpper());
    QImage img;
    if (it != index.end()) img.load(*it);
    if (img.isNull()) throw EResNotFound(QStringLiteral("Resource %1 not found").arg(Name));
    return img;
}

QStringList ResourceImageNames() {
    QStringList names;
    const auto& index = Index();
    for (auto it = index.begin(); it != index.end(); ++it) names << QFileInfo(it.value()).completeBaseName();
    names.sort(Qt::CaseInsensitive);
    return names;
}
