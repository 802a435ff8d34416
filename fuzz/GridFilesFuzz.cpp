// libFuzzer targets: arbitrary bytes read by one of the grid's file readers, chosen when the
// target is built (GRID_FILES_READER: 1 the binary cell stream, 2 the own text stream, 3 CSV,
// 4 XML, 5 the clipboard's cells format pasted into a selection, 6 the bytes as clipboard text
// pasted with the smart fill). A reader may refuse the bytes with an exception of the class
// library; it must never crash, read out of bounds or hang, and a grid that read something must
// still save it.
#include "AdvGrid.h"
#include "Clipbrd.h"

#include "Forms.h"

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

#ifndef GRID_FILES_READER
#define GRID_FILES_READER 1
#endif

namespace {

QTemporaryDir* Folder() {
    static QTemporaryDir* dir = new QTemporaryDir();
    return dir;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    // Kept for the whole process: Qt's own clean-up at exit is no part of what is fuzzed.
    new QApplication(*argc, *argv);
    // FUZZ_SEED_FILE=<name> writes what the grid's writer makes of a few set-up cells there, a
    // seed for the corpus.
    if (const char* seed = getenv("FUZZ_SEED_FILE")) {
        auto* g = new TAdvStringGrid(nullptr);
        g->SetColCount(4);
        g->SetRowCount(4);
        g->SetCells(1, 1, "a,b");
        g->SetCells(2, 1, "two\r\nlines");
        g->SetCells(1, 2, "x<y & \"z\"");
        g->GetCellProperties(2, 2)->SetBrushColor(clRed);
        g->CreateRadio(3, 3, 0, 1)->Add("one");
        g->CreateBitmap(3, 2, false, haLeft, vaTop)->SetSize(2, 2);
#if GRID_FILES_READER == 1 || GRID_FILES_READER == 5
        g->SaveToBinFile(seed);
#elif GRID_FILES_READER == 2
        TMemoryStream ms;
        g->SaveToStream(&ms);
        ms.SaveToFile(seed);
#elif GRID_FILES_READER == 3 || GRID_FILES_READER == 6
        g->SaveToCSV(seed, false);
#else
        g->SaveToXML(seed, "list", "row", nullptr, true);
#endif
        TObject::Free(g);
    }
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
    auto* g = new TAdvStringGrid(nullptr);
    g->SetColCount(3);
    g->SetRowCount(3);
    TMemoryStream in;
    in.WriteBuffer(reinterpret_cast<const char*>(Data), Int64(Size));
    in.SetPosition(0);
    try {
#if GRID_FILES_READER == 1
        g->LoadAtPointFromBinStream(TPoint(1, 1), &in);
#elif GRID_FILES_READER == 2
        g->LoadFromStream(&in);
        if (in.Position() > in.Size()) std::abort();
#elif GRID_FILES_READER == 3
        g->LoadFromCSVStream(&in);
#elif GRID_FILES_READER == 5 || GRID_FILES_READER == 6
        // Pasted as another program's clipboard content, with growth, row insertion by the
        // input's size and the smart fill over a selection of two columns.
        TGridOptions options = g->Options();
        options.insert(goEditing);
        g->SetOptions(options);
        g->Navigation()->AllowFmtClipboard = true;
        g->Navigation()->AllowSmartClipboard = true;
        g->Navigation()->ClipboardPasteAction = Size % 2 == 1 ? paInsert : paReplace;
        Clipboard()->Clear();
#if GRID_FILES_READER == 5
        Clipboard()->SetAsHandle(Word(RegisterClipboardFormat(QStringLiteral("TAdvStringGrid Cells"))),
                                 QByteArray(reinterpret_cast<const char*>(Data), qsizetype(Size)));
#else
        Clipboard()->SetAsText(QString::fromUtf8(reinterpret_cast<const char*>(Data), qsizetype(Size)));
#endif
        g->SetSelection(TGridRect(1, 1, 2, 2));
        g->PasteSelectionFromClipboard();
#else
        const String name = Folder()->filePath(QStringLiteral("input.xml"));
        in.SaveToFile(name);
        g->LoadFromXML(name, Size % 2 == 1, Size % 3 == 1);
#endif
    } catch (const Exception&) {
    }
    // Whatever was read, the grid saves it.
    TMemoryStream out;
    g->SaveToBinStream(&out);
    TObject::Free(g);
    return 0;
}
