// libFuzzer target: arbitrary bytes read as a column stream. The reader either refuses them with
// its stream error, leaving the columns as they were, or reads them; a stream it read must write
// and read back to the same bytes.
#include "AdvColumnGrid.h"

#include "Forms.h"

#include <QApplication>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace {

TAdvColumnGrid* Grid() {
    static TAdvColumnGrid* grid = [] {
        auto* g = new TAdvColumnGrid(nullptr);
        g->SetColCount(4);
        g->SetRowCount(3);
        return g;
    }();
    return grid;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    // Kept for the whole process: Qt's own clean-up at exit is no part of what is fuzzed.
    new QApplication(*argc, *argv);
    // FUZZ_SEED_FILE=<name> writes a stream of a few set-up columns there, a seed for the corpus
    // (random bytes seldom get past the stream's signature).
    if (const char* seed = getenv("FUZZ_SEED_FILE")) {
        TAdvColumnGrid* g = Grid();
        g->Columns()->Items(0)->SetName("first");
        g->Columns()->Items(2)->SetHeader("Header");
        g->Columns()->Items(3)->SetReadOnly(true);
        TMemoryStream out;
        g->SaveColumnsToStream(&out);
        out.SaveToFile(QString::fromLocal8Bit(seed));
    }
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
    TAdvColumnGrid* g = Grid();
    // A known state before each input, so that a refused stream can be checked against it.
    g->SetColCount(4);
    g->Columns()->Items(1)->SetName("probe");
    TMemoryStream in;
    in.WriteBuffer(Data, Int64(Size));
    in.SetPosition(0);
    try {
        g->LoadColumnsFromStream(&in);
    } catch (const EStreamError&) {
        if (g->Columns()->Count() != 4 || g->Columns()->Items(1)->Name() != "probe") abort();
        return 0;
    }
    TMemoryStream once, twice;
    g->SaveColumnsToStream(&once);
    once.SetPosition(0);
    g->LoadColumnsFromStream(&once);
    g->SaveColumnsToStream(&twice);
    if (once.Bytes() != twice.Bytes()) abort();
    return 0;
}
