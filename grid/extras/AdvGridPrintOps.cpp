// The grid's printing operations: printing a range on the printer, a print preview of one page
// into a caller's canvas, and drawing the first page into any canvas. Each runs the page engine
// (AdvGridPrint.cpp) once to count the pages and once to draw them.
#include "AdvGrid.h"
#include "Printers.h"

#include <climits>
#include <cmath>

namespace {

// Puts a canvas's mapping mode back whatever happens.
class TMapModeKeeper {
public:
    explicit TMapModeKeeper(TCanvas* Canvas) : FCanvas(Canvas), FMode(Canvas->MapMode()) {}
    ~TMapModeKeeper() { FCanvas->SetMapMode(FMode); }
    TMapModeKeeper(const TMapModeKeeper&) = delete;
    TMapModeKeeper& operator=(const TMapModeKeeper&) = delete;

private:
    TCanvas* FCanvas;
    int FMode;
};

} // namespace

void TAdvStringGrid::Print() {
    PrintToPrinter(TGridRect(0, 0, ColCount() - 1, RowCount() - 1), false);
}

void TAdvStringGrid::PrintSelection() {
    PrintToPrinter(Selection(), false);
}

void TAdvStringGrid::PrintRect(const TGridRect& Gridrect) {
    PrintToPrinter(Gridrect, false);
}

void TAdvStringGrid::PrintSelectedRows() {
    PrintToPrinter(TGridRect(0, 0, ColCount() - 1, RowCount() - 1), true);
}

void TAdvStringGrid::PrintSelectedCols() {
    PrintToPrinter(TGridRect(0, 0, ColCount() - 1, RowCount() - 1), true);
}

void TAdvStringGrid::PrintPreview(TCanvas* Canvas, TRect Displayrect) {
    PreviewPages(Canvas, Displayrect, TGridRect(0, 0, ColCount() - 1, RowCount() - 1), false);
}

void TAdvStringGrid::PrintPreviewRect(TCanvas* Canvas, TRect Displayrect, const TGridRect& Gridrect) {
    PreviewPages(Canvas, Displayrect, Gridrect, false);
}

void TAdvStringGrid::PrintPreviewSelection(TCanvas* Canvas, TRect Displayrect) {
    PreviewPages(Canvas, Displayrect, Selection(), false);
}

void TAdvStringGrid::PrintPreviewSelectedRows(TCanvas* Canvas, TRect Displayrect) {
    PreviewPages(Canvas, Displayrect, TGridRect(0, 0, ColCount() - 1, RowCount() - 1), true);
}

void TAdvStringGrid::PrintPreviewSelectedCols(TCanvas* Canvas, TRect Displayrect) {
    PreviewPages(Canvas, Displayrect, TGridRect(0, 0, ColCount() - 1, RowCount() - 1), true);
}

void TAdvStringGrid::PrintDraw(TCanvas* Canvas, TRect DrawRect) {
    PrintDrawRect(Canvas, DrawRect, TGridRect(0, 0, ColCount() - 1, RowCount() - 1));
}

void TAdvStringGrid::PrintDrawRect(TCanvas* Canvas, TRect DrawRect, const TGridRect& Gridrect) {
    FPrintRect = Gridrect;
    PrevRect = DrawRect;
    FPrintPageFrom = FPrintPageTo = FPrintNrOfPages = 1;
    TMapModeKeeper keep(Canvas);
    Canvas->SetMapMode(MM_LOMETRIC);
    PrintPages(Canvas, 1, 1, false);
}

void TAdvStringGrid::PrintToPrinter(const TGridRect& Range, bool SelectedOnly) {
    ExportNotification(esExportStart, -1);
    FPrintRect = Range;
    TPrinter* prn = Printer();
    const TPrintSettings& ps = *PrintSettings();
    if (!ps.UseDefaultOrientation) prn->SetOrientation(ps.Orientation);
    const int dpiX = prn->GetDeviceCaps(LOGPIXELSX);
    const int dpiY = prn->GetDeviceCaps(LOGPIXELSY);
    PrevRect = TRect(0, 0, int(std::round(254.0 / dpiX * prn->PageWidth())),
                     int(std::round(254.0 / dpiY * prn->PageHeight())));
    prn->Title = ps.JobName;
    prn->BeginDoc();
    TCanvas* canvas = prn->Canvas();

    int pages = INT_MAX;
    if (!FastPrint) {
        try {
            TMapModeKeeper keep(canvas);
            canvas->SetMapMode(MM_LOMETRIC);
            pages = PrintPages(canvas, 2, -1, SelectedOnly);
        } catch (...) {
            prn->Abort();
            throw;
        }
    }
    FPrintPageFrom = 1;
    FPrintPageTo = pages;
    FPrintNrOfPages = pages;

    if (OnPrintStart) {
        // The job begun for measuring is dropped; the handler picks the pages of a new one.
        prn->Abort();
        OnPrintStart(this, pages, FPrintPageFrom, FPrintPageTo);
        if (FPrintPageFrom <= 0 || FPrintPageTo <= 0 || FPrintPageFrom > FPrintPageTo) {
            ExportNotification(esExportDone, -1);
            return;
        }
        prn->BeginDoc();
        canvas = prn->Canvas();
    }
    FPrintNrOfPages = FPrintPageTo;

    try {
        TMapModeKeeper keep(canvas);
        PrintPages(canvas, 1, pages, SelectedOnly);
    } catch (...) {
        // A file half written is dropped (an earlier file of the name stays); a printer job is
        // ended with what it has.
        if (!prn->OutputFileName.isEmpty())
            prn->Abort();
        else
            prn->EndDoc();
        throw;
    }
    prn->EndDoc();
    ExportNotification(esExportDone, -1);
}

void TAdvStringGrid::PreviewPages(TCanvas* Canvas, TRect Displayrect, const TGridRect& Range,
                                  bool SelectedOnly) {
    ExportNotification(esExportStart, -1);
    FPrintRect = Range;
    try {
        TMapModeKeeper keep(Canvas);
        Canvas->SetMapMode(MM_LOMETRIC);
        PrevRect = Displayrect;
        int pages = 1;
        if (!FastPrint) {
            pages = PrintPages(Canvas, 3, -1, SelectedOnly);
            FPrintNrOfPages = pages;
        }
        int fromPage = 1;
        int toPage = pages;
        FIsPrintPreview = true;
        if (OnPrintStart) OnPrintStart(this, pages, fromPage, toPage);
        if (fromPage > 0 && toPage > 0 && toPage >= fromPage) {
            // The counting pass turned PrevRect into logical units.
            PrevRect = Displayrect;
            PrintPages(Canvas, 0, pages, SelectedOnly);
        }
    } catch (...) {
        ExportNotification(esExportDone, -1);
        FIsPrintPreview = false;
        throw;
    }
    ExportNotification(esExportDone, -1);
    FIsPrintPreview = false;
}
