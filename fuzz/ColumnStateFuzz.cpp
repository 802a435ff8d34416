// libFuzzer target: arbitrary text read as a column-state string. The grid either refuses it with
// EConvertError and keeps its columns, or takes it; a state it took must give the same text when
// written, read back and written again.
#include "AdvGrid.h"

#include "Forms.h"

#include <QApplication>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace {

TAdvStringGrid* Grid() {
    static TAdvStringGrid* grid = new TAdvStringGrid(nullptr);
    return grid;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    // Kept for the whole process: Qt's own clean-up at exit is no part of what is fuzzed.
    new QApplication(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
    // Very wide grids only slow the run down; the reader's limits are checked by the unit tests.
    if (Size > 4096) return 0;
    TAdvStringGrid* g = Grid();
    g->UnHideColumnsAll();
    g->SetColCount(5);
    g->SetColWidths(2, 77);
    const String before = g->ColumnStatesToString();
    const String text = QString::fromUtf8(reinterpret_cast<const char*>(Data), qsizetype(Size));
    try {
        g->StringToColumnStates(text);
    } catch (const EConvertError&) {
        if (g->ColumnStatesToString() != before) std::abort();
        return 0;
    }
    const String once = g->ColumnStatesToString();
    g->StringToColumnStates(once);
    if (g->ColumnStatesToString() != once) std::abort();
    return 0;
}
