// libFuzzer target: arbitrary bytes read as a visual-properties file. Loading either takes the
// keys or stops at a bad integer with EConvertError; whatever it took, the look it leaves must
// write and read back to the same file.
#include "AdvGrid.h"

#include "Forms.h"

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace {

TAdvStringGrid* Grid() {
    static TAdvStringGrid* grid = new TAdvStringGrid(nullptr);
    return grid;
}

QTemporaryDir* Folder() {
    static QTemporaryDir* dir = new QTemporaryDir();
    return dir;
}

QByteArray ReadAll(const String& Name) {
    QFile f(Name);
    if (!f.open(QIODevice::ReadOnly)) std::abort();
    return f.readAll();
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    // Kept for the whole process: Qt's own clean-up at exit is no part of what is fuzzed.
    new QApplication(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
    const String input = Folder()->filePath(QStringLiteral("input.ini"));
    const String once = Folder()->filePath(QStringLiteral("once.ini"));
    const String twice = Folder()->filePath(QStringLiteral("twice.ini"));
    {
        QFile f(input);
        if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate)) std::abort();
        f.write(reinterpret_cast<const char*>(Data), qint64(Size));
    }
    TAdvStringGrid* g = Grid();
    try {
        g->LoadVisualProps(input);
    } catch (const EConvertError&) {
    }
    g->SaveVisualProps(once);
    g->LoadVisualProps(once);
    g->SaveVisualProps(twice);
    if (ReadAll(once) != ReadAll(twice)) std::abort();
    return 0;
}
