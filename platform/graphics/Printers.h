// The printer: a job of pages drawn on a canvas, written as PDF to a file or sent to a system
// printer. The canvas draws each page into an image at the printer's resolution; the image goes
// to the output when the page ends.
//
// A job opens its output only when something has been drawn: metrics and text measuring work
// from BeginDoc on, and a job aborted before any drawing leaves no file and lets the next
// BeginDoc start afresh. File output is written beside the target and moved over it by EndDoc,
// so an aborted job leaves an earlier file of that name as it was.
#pragma once

#include "Graphics.h"

#include <memory>

class QPrinter;
class QPainter;

// The page orientation of the printer.
enum TPrinterOrientation { poPortrait, poLandscape };

// A printer request that cannot be met (no output, a job already running).
class EPrinter : public Exception {
    using Exception::Exception;
};

constexpr int DC_ORIENTATION = 17;

class TPrinter : public TObject {
public:
    TPrinter();
    ~TPrinter() override;

    // The PDF file the job writes; empty sends the job to the system printer (PrinterName, or
    // the default one).
    String OutputFileName;
    String PrinterName;
    // The document name of the job.
    String Title;
    // Dots per inch of the pages (LOGPIXELSX and LOGPIXELSY).
    int Resolution = 300;

    TPrinterOrientation Orientation() const { return FOrientation; }
    void SetOrientation(TPrinterOrientation Value);
    // The printable page in device pixels.
    int PageWidth() const;
    int PageHeight() const;
    int GetDeviceCaps(int Index) const;

    TCanvas* Canvas() const { return FCanvas.get(); }
    bool Printing() const { return FPrinting; }
    bool Aborted() const { return FAborted; }
    int PageNumber() const { return FPageNumber; }

    void BeginDoc();
    void NewPage();
    void EndDoc();
    void Abort();

private:
    void NewImage();
    void FlushPage();
    void OpenOutput();
    void CloseOutput();
    void Drawn(TObject*);

    TPrinterOrientation FOrientation = poPortrait;
    std::unique_ptr<TCanvas> FCanvas;
    QImage FPage;
    std::unique_ptr<QPrinter> FPrinter;
    std::unique_ptr<QPainter> FPainter;
    String FPartFile;
    bool FPrinting = false;
    bool FAborted = false;
    bool FPageDrawn = false;
    int FPageNumber = 0;
    int FPendingBlank = 0; // pages ended before the output opened
};

// The application's printer.
TPrinter* Printer();
// What the printer device answers: DC_ORIENTATION is the angle of landscape pages (90).
int DeviceCapabilitiesW(const String& Device, const String& Port, int Capability, void* Output = nullptr,
                        void* DevMode = nullptr);
