// The print layout engine of the grid: lays a cell range out on pages in 0.1 mm units (the
// canvas in MM_LOMETRIC, y upward) and counts or draws the pages. The arithmetic lives in
// TPrintLayout and CutRowsIntoPages (AdvGridPrintLayout.cpp); measuring and painting cells in
// MeasurePrintCell and PaintPrintRow.
#include "AdvGrid.h"
#include "GridUtil.h"
#include "MarkupRender.h"
#include "Printers.h"

#include <algorithm>
#include <cmath>
#include <functional>

namespace {

bool AtTop(TPrintPosition p) {
    return p == ppTopLeft || p == ppTopRight || p == ppTopCenter;
}

// Puts the canvas's font, pen, brush and background mode back whatever happens, and the grid's
// font scale to 1.0.
class TPrintCanvasState {
public:
    TPrintCanvasState(TCanvas* Canvas, double& Scale) : FCanvas(Canvas), FScale(Scale) {
        FFont->Assign(Canvas->Font());
        FPen->Assign(Canvas->Pen());
        FBrush->Assign(Canvas->Brush());
        FBkMode = Canvas->BkMode();
    }
    ~TPrintCanvasState() {
        FCanvas->SetFont(FFont.get());
        FCanvas->SetPen(FPen.get());
        FCanvas->SetBrush(FBrush.get());
        FCanvas->SetBkMode(FBkMode);
        FScale = 1.0;
    }
    TPrintCanvasState(const TPrintCanvasState&) = delete;
    TPrintCanvasState& operator=(const TPrintCanvasState&) = delete;

private:
    TCanvas* FCanvas;
    double& FScale;
    std::unique_ptr<TFont> FFont = std::make_unique<TFont>();
    std::unique_ptr<TPen> FPen = std::make_unique<TPen>();
    std::unique_ptr<TBrush> FBrush = std::make_unique<TBrush>();
    int FBkMode;
};

// Runs a function when the scope ends, however it ends.
class TScopeExit {
public:
    explicit TScopeExit(std::function<void()> F) : FF(std::move(F)) {}
    ~TScopeExit() { FF(); }
    TScopeExit(const TScopeExit&) = delete;
    TScopeExit& operator=(const TScopeExit&) = delete;

private:
    std::function<void()> FF;
};

// Whether the title comes from markup title lines.
bool IsMarkupTitle(TAdvStringGrid& Grid) {
    const TPrintSettings& ps = *Grid.PrintSettings();
    return ps.TitleText.isEmpty() && ps.TitleLines()->Count() > 0 &&
           CellTextType(ps.TitleLines()->Text(), Grid.EnableHTML) == ctkMarkup;
}

// Lays the markup title out (and draws it with Draw) in device units: at the top in a rectangle
// from LeftSize to the page width under -HeaderSize, at the bottom between H + FooterSize and H.
// Answers the height of a title at the top, in device pixels times 96 / LOGPIXELSY; 0 otherwise.
int MarkupTitle(TAdvStringGrid& Grid, TCanvas* Canvas, const TPrintLayout& L, double Zoom, bool Draw) {
    const TPrintSettings& ps = *Grid.PrintSettings();
    if (ps.Title == ppNone || !IsMarkupTitle(Grid)) return 0;
    const bool top = AtTop(ps.Title);
    const TRect area = Canvas->LPtoDP(
        TRect(ps.LeftSize, top ? -ps.HeaderSize : L.PageHeight + ps.FooterSize, L.PageWidth, L.PageHeight));
    const int fontHeight = Canvas->Font()->Height();
    const int oldMode = Canvas->SetMapMode(MM_TEXT);
    TFont* font = top ? ps.HeaderFont() : ps.FooterFont();
    Canvas->Font()->SetSize(std::max(1, int(std::trunc(font->Size() * L.FitFactor))));
    THTMLDrawOptions o;
    o.Images = Grid.GridImages();
    o.URLColor = Grid.URLColor();
    o.ScaleFactor = Zoom;
    o.Printing = true;
    o.MeasureOnly = !Draw;
    THTMLDrawResult res;
    DrawHTML(Canvas, ps.TitleLines()->Text(), area, o, res);
    Canvas->SetMapMode(oldMode);
    Canvas->Font()->SetHeight(fontHeight);
    const int dpiY = Canvas->GetDeviceCaps(LOGPIXELSY);
    return top && dpiY > 0 ? int(std::round(res.TextHeight * 96.0 / dpiY)) : 0;
}

} // namespace

int TAdvStringGrid::MapFontHeight(int PointSize) const {
    return TPrintLayout::MapFontHeight(PointSize, Fontscalefactor);
}

int TAdvStringGrid::MapFontSize(int Height) const {
    return TPrintLayout::MapFontSize(Height);
}

int TAdvStringGrid::GetPrintColWidth(int ACol) const {
    if (!FPrintLayout) throw EAdvGridError(QStringLiteral("Columns is not in valid range"));
    return FPrintLayout->GetPrintColWidth(ACol);
}

int TAdvStringGrid::GetPrintColOffset(int ACol) const {
    if (!FPrintLayout) throw EAdvGridError(QStringLiteral("Columns is not in valid range"));
    return FPrintLayout->GetPrintColOffset(ACol);
}

bool TAdvStringGrid::PrintPageDrawn() const {
    const int page = FPrintPass.Page + 1;
    return FPrintPass.Drawing() && page >= FPrintPageFrom && page <= FPrintPageTo;
}

bool TAdvStringGrid::IsRowPrinted(int ARow) {
    if (!FPrintSelectedOnly) return true;
    if (ARow < FixedRows() && PrintSettings()->FixedCellsAlways) return true;
    if (MouseActions()->DisjunctRowSelect()) return GetRowSelect(ARow);
    const TGridRect s = Selection();
    return ARow >= s.Top && ARow <= s.Bottom;
}

bool TAdvStringGrid::IsColPrinted(int ACol) {
    if (!FPrintSelectedOnly) return true;
    if (MouseActions()->DisjunctRowSelect()) return true;
    if (ACol < FixedCols() && PrintSettings()->FixedCellsAlways) return true;
    if (MouseActions()->DisjunctColSelect()) return GetColSelect(ACol);
    const TGridRect s = Selection();
    return ACol >= s.Left && ACol <= s.Right;
}

void TAdvStringGrid::CalcPrintColWidths(bool /*SelectedOnly*/) {
    TPrintLayout& L = *FPrintLayout;
    const TPrintSettings& ps = *PrintSettings();
    L.ResetWidths();
    if (ps.NoAutoSize) {
        L.WidthsFromScreen([this](int c) { return ColWidths(c); });
        return;
    }
    auto measureRow = [&](int r) {
        for (int c = L.Range.Left; c <= L.Range.Right; ++c) {
            if (!L.IsColPrinted(c)) continue;
            const int w = ps.UseFixedWidth ? ps.FixedWidth : MeasurePrintCell(RealColIndex(c), r).X;
            L.MeasuredWidth(c, w, IsXMergedCell(c, r));
        }
    };
    if (ps.RepeatFixedRows)
        for (int r = 0; r < FixedRows(); ++r) measureRow(r);
    for (int r = L.Range.Top; r <= L.Range.Bottom; ++r) measureRow(r);
}

int TAdvStringGrid::PrintRowHeight(int ARow) {
    const TPrintSettings& ps = *PrintSettings();
    const TPrintLayout& L = *FPrintLayout;
    if (ps.NoAutoSizeRow) return int(std::round(RowHeights(ARow) * L.Scale)) - 4;
    if (ps.UseFixedHeight) return ps.FixedHeight;
    if (ARow == FPrintRowHeightRow) return FPrintRowHeightValue;
    const double oldScale = Fontscalefactor;
    Fontscalefactor = L.FitFactor;
    int maxHeight = -1;
    int lastHeight = 0;
    try {
        for (int c = L.Range.Left; c <= L.Range.Right; ++c) {
            lastHeight = MeasurePrintCell(RealColIndex(c), ARow).Y;
            if (!IsYMergedCell(c, ARow)) maxHeight = std::max(maxHeight, lastHeight);
        }
    } catch (...) {
        Fontscalefactor = oldScale;
        throw;
    }
    Fontscalefactor = oldScale;
    if (maxHeight < 0) maxHeight = lastHeight;
    int height = maxHeight + maxHeight / 8;
    if (OnPrintSetRowHeight) OnPrintSetRowHeight(this, ARow, height);
    FPrintRowHeightRow = ARow;
    FPrintRowHeightValue = height;
    return height;
}

String TAdvStringGrid::PageNumberText() {
    const TPrintPass& P = FPrintPass;
    String text = FPrintLayout->PageNumberText(P.Page, P.PageInBand, P.Band, P.PageCount);
    if (OnPrintGetPageNum)
        OnPrintGetPageNum(this, FPrintLayout->MultiBand ? P.PageInBand + 1 : P.Page + 1, P.Band, text);
    return text;
}

int TAdvStringGrid::PaintHeaderFooter() {
    if (!PrintPageDrawn()) return 0;
    TPrintSettings& ps = *PrintSettings();
    TCanvas* canvas = FPrintPass.Canvas;
    const TPrintLayout& L = *FPrintLayout;
    const int W = L.PageWidth;
    const int H = L.PageHeight;
    const int gap8 = FPrintPass.Gap8;

    TPrintCanvasState saved(canvas, Fontscalefactor);
    Fontscalefactor = L.FitFactor;
    canvas->Brush()->SetStyle(bsClear);
    canvas->SetBkMode(TRANSPARENT);

    // The title: TitleText, else the title lines (markup drawn as markup, else the first line in
    // the slot and the others below it).
    const bool markupTitle = IsMarkupTitle(*this);
    String titleLine = ps.TitleText;
    if (titleLine.isEmpty() && !markupTitle && ps.TitleLines()->Count() > 0)
        titleLine = ps.TitleLines()->Strings(0);

    const TDateTime now = Now();
    const String timeText = ps.Time != ppNone ? FormatDateTime(QStringLiteral("hh:nn"), now) : String();
    const String dateText = ps.Date != ppNone ? FormatDateTime(ps.DateFormat, now) : String();
    const String pageText = ps.PageNr != ppNone ? PageNumberText() : String();
    const std::array<String, 6> texts = L.FillSlots(timeText, dateText, pageText, titleLine);

    auto setFont = [&](TFont* f) {
        canvas->Font()->Assign(f);
        canvas->Font()->SetHeight(MapFontHeight(f->Size()));
    };
    auto xFor = [&](TPrintPosition p, int textWidth) {
        if (p == ppTopLeft || p == ppBottomLeft) return ps.LeftSize;
        if (p == ppTopRight || p == ppBottomRight) return W - textWidth - ps.RightSize - 20;
        return (W - textWidth) / 2;
    };
    const int footerY = H + FPrintPass.FooterTextHeight + gap8 + ps.FooterSize;
    for (int i = 0; i < 6; ++i) {
        const TPrintPosition pos = TPrintPosition(i + 1);
        const bool top = AtTop(pos);
        setFont(top ? ps.HeaderFont() : ps.FooterFont());
        const String& text = texts[size_t(i)];
        const int y = top ? -ps.HeaderSize : footerY;
        if (!text.trimmed().isEmpty()) canvas->TextOut(xFor(pos, canvas->TextWidth(text)), y, text);
        if (pos == ps.Title && !markupTitle && ps.TitleText.isEmpty()) {
            const int lh = canvas->TextHeight(QStringLiteral("gh"));
            for (int l = 1; l < ps.TitleLines()->Count(); ++l) {
                const String line = ps.TitleLines()->Strings(l);
                canvas->TextOut(xFor(pos, canvas->TextWidth(line)), y - l * lh, line);
            }
        }
    }

    if (!markupTitle) return 0;
    setFont(AtTop(ps.Title) ? ps.HeaderFont() : ps.FooterFont());
    return MarkupTitle(*this, canvas, L, FPrintPass.Zoom, true);
}

void TAdvStringGrid::PaintPageFrame(int YEnd, int HeaderArea) {
    if (!PrintPageDrawn()) return;
    const TPrintSettings& ps = *PrintSettings();
    const TPrintLayout& L = *FPrintLayout;
    TCanvas* canvas = FPrintPass.Canvas;
    const TPrintBorders b = ps.Borders;
    const int x0 = L.RepeatColsNow ? L.Indents[0] : L.Indents[size_t(L.PrintColStart)];
    const int x1 = L.Indents[size_t(L.PrintColEnd) + 1];
    const int top = -HeaderArea - ps.TitleSpacing;
    if (b == pbAround || b == pbAroundVertical || b == pbAroundHorizontal) {
        canvas->MoveTo(x0, top);
        canvas->LineTo(x1, top);
        canvas->LineTo(x1, YEnd);
        canvas->LineTo(x0, YEnd);
        canvas->LineTo(x0, top);
    }
    if (b == pbDouble || b == pbHorizontal || b == pbAroundHorizontal) {
        canvas->MoveTo(x0, YEnd);
        canvas->LineTo(x1, YEnd);
    }
    if ((b == pbDouble || b == pbVertical || b == pbAroundVertical) && L.RepeatColsNow)
        for (int i = 0; i < FixedCols(); ++i) {
            canvas->MoveTo(L.Indents[size_t(i)], top);
            canvas->LineTo(L.Indents[size_t(i)], YEnd);
        }
}

void TAdvStringGrid::StartNextPage() {
    TPrintPass& P = FPrintPass;
    const int next = P.Page + 2;
    if (next < FPrintPageFrom || next > FPrintPageTo) return;
    const bool thisInRange = P.Page + 1 >= FPrintPageFrom && P.Page + 1 <= FPrintPageTo;
    TPrinter* prn = Printer();
    if (P.Mode == 1 && thisInRange && prn->Printing() && P.Canvas == prn->Canvas()) prn->NewPage();
    P.Canvas->SetMapMode(MM_LOMETRIC);
    if (P.Drawing() && OnPrintPage)
        OnPrintPage(this, P.Canvas, next, FPrintLayout->PageWidth, FPrintLayout->PageHeight);
}

int TAdvStringGrid::PrintPages(TCanvas* Canvas, int Mode, int PageCount, bool SelectedOnly) {
    TPrintSettings& ps = *PrintSettings();
    // A run started from an event of a running one gets state of its own; the outer run finds its
    // layout and pass as they were. After the outermost run no canvas is kept: measuring outside
    // the engine answers nothing instead of reaching a canvas that may be gone.
    const bool nested = FPrintPass.Canvas != nullptr;
    const TPrintPass outerPass = FPrintPass;
    std::unique_ptr<TPrintLayout> outerLayout = nested ? std::move(FPrintLayout) : nullptr;
    const bool outerSelectedOnly = FPrintSelectedOnly;
    const TRect outerPageRect = FPrintPageRect;
    const double outerScale = Fontscalefactor;
    TScopeExit restore([&] {
        if (!nested) {
            FPrintPass.Canvas = nullptr;
            FPrintRowHeightRow = -1;
            return;
        }
        FPrintPass = outerPass;
        FPrintLayout = std::move(outerLayout);
        FPrintSelectedOnly = outerSelectedOnly;
        FPrintPageRect = outerPageRect;
        Fontscalefactor = outerScale;
        FPrintRowHeightRow = -1;
    });
    FPrintSelectedOnly = SelectedOnly;
    FPrintRowHeightRow = -1;
    FPrintPass = TPrintPass();
    TPrintPass& P = FPrintPass;
    P.Canvas = Canvas;
    P.Mode = Mode;
    P.PageCount = PageCount;

    // Set-up: the markup zoom in device units, then everything in 0.1 mm.
    Canvas->SetMapMode(MM_TEXT);
    const int screenDpi = this->Canvas() ? this->Canvas()->GetDeviceCaps(LOGPIXELSX) : 0;
    const int targetDpi = Canvas->GetDeviceCaps(LOGPIXELSX);
    P.Zoom = screenDpi > 0 && targetDpi > 0 ? double(targetDpi) / screenDpi : 1.0;
    Canvas->SetMapMode(MM_LOMETRIC);
    Fontscalefactor = 1.0;
    TPrintCanvasState saved(Canvas, Fontscalefactor);

    Canvas->Pen()->SetColor(clBlack);
    Canvas->Pen()->SetStyle(ps.BorderStyle);
    Canvas->Pen()->SetWidth(TPrintLayout::PenWidth(ps.Borders));
    auto textHeightWith = [&](TFont* f) {
        Canvas->Font()->Assign(f);
        Canvas->Font()->SetHeight(MapFontHeight(f->Size()));
        return Canvas->TextHeight(QStringLiteral("gh"));
    };
    P.HeaderTextHeight = textHeightWith(ps.HeaderFont());
    P.FooterTextHeight = textHeightWith(ps.FooterFont());
    const int cellTextHeight = textHeightWith(ps.Font());
    P.Gap8 = cellTextHeight / 8;
    P.HalfG = Canvas->TextWidth(QStringLiteral("g")) / 2;

    int W = 0;
    int H = 0;
    if (Mode == 1) {
        const TRect clip = Canvas->ClipRect();
        W = clip.Right - clip.Left;
        H = clip.Bottom;
    } else if (Mode == 2) {
        W = PrevRect.Right - PrevRect.Left;
        H = -PrevRect.Bottom - PrevRect.Top;
    } else {
        PrevRect = Canvas->DPtoLP(PrevRect);
        W = PrevRect.Right - PrevRect.Left;
        H = PrevRect.Bottom - PrevRect.Top;
    }
    FPrintPageRect = TRect(0, 0, W, H);

    // The range, kept inside the grid; an empty or inverted one lays out nothing.
    auto layout = std::make_unique<TPrintLayout>(ps);
    TPrintLayout& L = *layout;
    L.Range = TRect(std::max(FPrintRect.Left, 0), std::max(FPrintRect.Top, 0),
                    std::min(FPrintRect.Right, ColCount() - 1), std::min(FPrintRect.Bottom, RowCount() - 1));
    L.PageWidth = W;
    L.PageHeight = H;
    L.Scale = TPrintLayout::ScreenScale(targetDpi, screenDpi);
    L.FixedCols = std::min(FixedCols(), ColCount());
    if (SelectedOnly) L.ColPrinted = [this](int c) { return IsColPrinted(c); };
    FPrintLayout = std::move(layout);
    if (L.Range.Right < L.Range.Left || L.Range.Bottom < L.Range.Top) {
        L.ResetWidths();
        return 0;
    }

    CalcPrintColWidths(SelectedOnly);
    L.FitToPage(
        [this](double& f, bool& allow) {
            if (OnFitToPage) OnFitToPage(this, f, allow);
        },
        OnPrintSetColumnWidth
            ? std::function<void(int, int&)>([this](int c, int& w) { OnPrintSetColumnWidth(this, c, w); })
            : std::function<void(int, int&)>());
    FPrintRowHeightRow = -1;

    const TGridExportState rowState =
        FPrintRect.Top <= FixedRows() && FPrintRect.Bottom >= RowCount() - 1 - FixedFooters()
            ? esExportNewRow
            : esExportSelRow;
    bool cancel = false;
    int headerArea = 0;
    int footerArea = 0;
    int pageY = 0;

    TPrintRowSteps steps;
    steps.FixedRows = FixedRows();
    steps.RepeatFixedRows = ps.RepeatFixedRows;
    steps.RowPrinted = [this](int r) { return IsRowPrinted(r); };
    steps.Height = [this](int r) { return PrintRowHeight(r); };
    steps.Step = [&](int r) { ExportNotification(rowState, r); };
    steps.BeginPage = [&](int& y, int& limit) {
        const int T = PaintHeaderFooter();
        y = -headerArea - ps.TitleSpacing - T;
        limit = H + footerArea;
    };
    steps.Place = [&](int r, int y) {
        // A row taller than the page is clipped at the footer limit.
        const bool clip = PrintPageDrawn() && y - PrintRowHeight(r) <= H + footerArea;
        if (clip) {
            Canvas->SaveDC();
            Canvas->IntersectClipRect(TRect(0, y, W, H + footerArea));
        }
        int h = 0;
        try {
            if (L.RepeatColsNow) PaintPrintRow(y, 0, L.FixedCols - 1, r);
            h = PaintPrintRow(y, L.PrintColStart, L.PrintColEnd, r);
        } catch (...) {
            if (clip) Canvas->RestoreDC();
            throw;
        }
        if (clip) Canvas->RestoreDC();
        pageY = y - h;
        return h;
    };
    steps.OnNewPage = [&](int r, bool& newPage) {
        if (OnPrintNewPage) OnPrintNewPage(this, r, newPage);
    };
    steps.EndPage = [&](const TPrintRowPage& page, bool more) {
        if (P.Drawing()) {
            if (OnPrintPageDone) OnPrintPageDone(this, Canvas, page.EndRow, page.EndY, P.Page + 1, W, H);
            if (OnPrintCancel) OnPrintCancel(this, P.Page + 1, cancel);
        }
        pageY = page.EndY;
        if (cancel) return false;
        // FastPrint ends the band early (the page count it shows is not known).
        if (!more || (FastPrint && P.Page > FPrintPageFrom)) return false;
        PaintPageFrame(page.EndY + P.Gap8 / 2, headerArea);
        StartNextPage();
        ++P.Page;
        ++P.PageInBand;
        headerArea = L.HeaderArea(P.Gap8, P.HeaderTextHeight);
        footerArea = L.FooterArea(P.Gap8, P.FooterTextHeight);
        return true;
    };

    // The column bands, each on its own run of pages.
    for (int first = L.Range.Left; first <= L.Range.Right && !cancel;) {
        ++P.Band;
        P.PageInBand = 0;
        const int last = L.BandEnd(first);
        L.PlaceBand(first, last);
        if (P.Band == 1 && P.Drawing() && OnPrintPage) OnPrintPage(this, Canvas, P.Page + 1, W, H);
        int T = 0;
        if (PrintPageDrawn()) {
            Canvas->Font()->Assign(AtTop(ps.Title) ? ps.HeaderFont() : ps.FooterFont());
            T = MarkupTitle(*this, Canvas, L, P.Zoom, false);
        }
        headerArea = L.HeaderArea(P.Gap8, P.HeaderTextHeight, T);
        footerArea = L.FooterArea(P.Gap8, P.FooterTextHeight);
        CutRowsIntoPages(L.Range.Top, L.Range.Bottom, steps);
        PaintPageFrame(pageY + P.Gap8 / 2, headerArea);
        if (cancel) {
            ++P.Page;
            break;
        }
        first = last + 1;
        if (first <= L.Range.Right) StartNextPage();
        ++P.Page;
    }
    return P.Page;
}
