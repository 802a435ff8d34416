// The printer on QPrinter: see Printers.h.
#include "Printers.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPrinter>

TPrinter::TPrinter() : FCanvas(std::make_unique<TCanvas>()) {
    FCanvas->OnChange = [this](TObject* s) { Drawn(s); };
}

TPrinter::~TPrinter() {
    if (FPrinting) Abort();
}

void TPrinter::SetOrientation(TPrinterOrientation Value) {
    if (FPrinting) throw EPrinter(QStringLiteral("Cannot perform this operation while printing"));
    FOrientation = Value;
}

// A4, the page QPrinter starts with, less nothing: the engine keeps its own margins.
int TPrinter::PageWidth() const {
    const QSizeF mm = QPageSize(QPageSize::A4).size(QPageSize::Millimeter);
    const double w = FOrientation == poPortrait ? mm.width() : mm.height();
    return int(w / 25.4 * Resolution);
}

int TPrinter::PageHeight() const {
    const QSizeF mm = QPageSize(QPageSize::A4).size(QPageSize::Millimeter);
    const double h = FOrientation == poPortrait ? mm.height() : mm.width();
    return int(h / 25.4 * Resolution);
}

int TPrinter::GetDeviceCaps(int Index) const {
    switch (Index) {
        case LOGPIXELSX:
        case LOGPIXELSY: return Resolution;
        case HORZRES:
        case PHYSICALWIDTH: return PageWidth();
        case VERTRES:
        case PHYSICALHEIGHT: return PageHeight();
        case HORZSIZE: return MulDiv(PageWidth(), 254, Resolution * 10);
        case VERTSIZE: return MulDiv(PageHeight(), 254, Resolution * 10);
        default: return 0;
    }
}

void TPrinter::NewImage() {
    FPage = QImage(PageWidth(), PageHeight(), QImage::Format_RGB32);
    FPage.fill(Qt::white);
    // The canvas answers the printer's resolution, so its mapping modes and metrics are the page's.
    FCanvas->SetPixelsPerInch(Resolution);
    FCanvas->SetTarget(&FPage);
    FPageDrawn = false;
}

void TPrinter::Drawn(TObject*) {
    if (FPrinting) FPageDrawn = true;
}

void TPrinter::BeginDoc() {
    if (FPrinting) throw EPrinter(QStringLiteral("Printing in progress"));
    FPrinting = true;
    FAborted = false;
    FPageNumber = 1;
    FPendingBlank = 0;
    // A job starts with a fresh device context: device units.
    FCanvas->SetMapMode(MM_TEXT);
    NewImage();
}

void TPrinter::OpenOutput() {
    FPrinter = std::make_unique<QPrinter>(QPrinter::HighResolution);
    FPrinter->setResolution(Resolution);
    FPrinter->setFullPage(true);
    FPrinter->setPageSize(QPageSize(QPageSize::A4));
    FPrinter->setPageOrientation(FOrientation == poPortrait ? QPageLayout::Portrait : QPageLayout::Landscape);
    FPrinter->setDocName(Title);
    if (!OutputFileName.isEmpty()) {
        FPrinter->setOutputFormat(QPrinter::PdfFormat);
        FPartFile = OutputFileName + QStringLiteral(".part");
        FPrinter->setOutputFileName(FPartFile);
    } else {
        FPrinter->setOutputFormat(QPrinter::NativeFormat);
        if (!PrinterName.isEmpty()) FPrinter->setPrinterName(PrinterName);
        FPartFile.clear();
    }
    FPainter = std::make_unique<QPainter>();
    if (!FPainter->begin(FPrinter.get())) {
        FPainter.reset();
        FPrinter.reset();
        if (!FPartFile.isEmpty()) QFile::remove(FPartFile);
        throw EPrinter(QStringLiteral("Printer output cannot be opened"));
    }
    // The pages ended blank before anything was drawn.
    for (; FPendingBlank > 0; --FPendingBlank) FPrinter->newPage();
}

void TPrinter::FlushPage() {
    if (!FPainter) {
        if (!FPageDrawn) {
            ++FPendingBlank;
            return;
        }
        OpenOutput();
    }
    const QRect target(0, 0, FPainter->device()->width(), FPainter->device()->height());
    FPainter->drawImage(target, FPage);
}

void TPrinter::NewPage() {
    if (!FPrinting) throw EPrinter(QStringLiteral("Printer is not currently printing"));
    FlushPage();
    if (FPainter) FPrinter->newPage();
    ++FPageNumber;
    NewImage();
}

void TPrinter::CloseOutput() {
    if (FPainter) FPainter->end();
    FPainter.reset();
    FPrinter.reset();
    FCanvas->SetTarget(nullptr);
    FPage = QImage();
    FPrinting = false;
}

void TPrinter::EndDoc() {
    if (!FPrinting) throw EPrinter(QStringLiteral("Printer is not currently printing"));
    FlushPage();
    const bool opened = FPainter != nullptr;
    CloseOutput();
    if (opened && !FPartFile.isEmpty()) {
        QFile::remove(OutputFileName);
        if (!QFile::rename(FPartFile, OutputFileName)) {
            QFile::remove(FPartFile);
            throw EPrinter(QStringLiteral("Cannot write %1").arg(OutputFileName));
        }
    }
}

void TPrinter::Abort() {
    if (!FPrinting) return;
    if (FPrinter && FPartFile.isEmpty()) FPrinter->abort();
    CloseOutput();
    if (!FPartFile.isEmpty()) QFile::remove(FPartFile);
    FAborted = true;
}

TPrinter* Printer() {
    static TPrinter printer;
    return &printer;
}

int DeviceCapabilitiesW(const String&, const String&, int Capability, void*, void*) {
    return Capability == DC_ORIENTATION ? 90 : 0;
}
