// The grid's print engine and print operations: layouts on hand-worked numbers, page counts and
// page numbers, the selection filters, the passes and their events, a preview drawn into a
// bitmap and PDF jobs on the printer.
#include "AdvGrid.h"
#include "Printers.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <climits>
#include <memory>
#include <stdexcept>
#include <vector>

namespace {

int PdfPages(const QString& File) {
    QFile f(File);
    if (!f.open(QIODevice::ReadOnly)) return -1;
    const QByteArray data = f.readAll();
    return int(data.count("/Type /Page") - data.count("/Type /Pages"));
}

// A grid whose engine state a test may set for a single pass.
class TPrintGrid : public TAdvStringGrid {
public:
    TPrintGrid() : TAdvStringGrid(nullptr) {}
    // One counting pass for the printer over Range (all cells by default) on a page of W x H
    // (0.1 mm), measured on a canvas of Dpi pixels per inch.
    int Count(int W, int H, int Dpi = 600, TGridRect Range = TGridRect(-1, 0, 0, 0),
              bool SelectedOnly = false) {
        TCanvas* c = FCountBitmap.Canvas();
        c->SetPixelsPerInch(Dpi);
        c->SetMapMode(MM_LOMETRIC);
        FPrintRect = Range.Left == -1 ? TGridRect(0, 0, ColCount() - 1, RowCount() - 1) : Range;
        PrevRect = TRect(0, 0, W, H);
        FPrintPageFrom = 1;
        FPrintPageTo = INT_MAX;
        const int pages = PrintPages(c, 2, -1, SelectedOnly);
        c->SetMapMode(MM_TEXT);
        return pages;
    }

private:
    TBitmap FCountBitmap{8, 8};
};

struct TFreeGrid {
    void operator()(TPrintGrid* G) const { TObject::Free(G); }
};
using TPrintGridPtr = std::unique_ptr<TPrintGrid, TFreeGrid>;

TPrintGridPtr Grid(int Cols, int Rows, int FixedCols = 0, int FixedRows = 0) {
    TPrintGridPtr g(new TPrintGrid());
    g->SetColCount(Cols);
    g->SetRowCount(Rows);
    g->SetFixedCols(FixedCols);
    g->SetFixedRows(FixedRows);
    for (int r = 0; r < Rows; ++r)
        for (int c = 0; c < Cols; ++c) g->SetCells(c, r, QStringLiteral("%1.%2").arg(r).arg(c));
    return g;
}

// Screen widths for NoAutoSize layouts.
void ScreenWidths(TAdvStringGrid& G, const std::vector<int>& Widths) {
    G.PrintSettings()->NoAutoSize = true;
    for (size_t c = 0; c < Widths.size(); ++c) G.SetColWidths(int(c), Widths[c]);
}

// A new page after every Rows rows: page breaks that do not hang on font metrics.
void BreakEvery(TAdvStringGrid& G, int Rows) {
    G.OnPrintNewPage = [Rows](TObject*, int ARow, bool& NewPage) { NewPage = ARow % Rows == 0; };
}

std::vector<int> Widths(TAdvStringGrid& G, int Cols) {
    std::vector<int> w;
    for (int c = 0; c < Cols; ++c) w.push_back(G.GetPrintColWidth(c));
    return w;
}

// The printer writes PDF into a temporary folder; afterwards it points into the removed folder,
// so that no test can reach a system printer.
struct AdvGridPrintPdfJob : ::testing::Test {
    QTemporaryDir Dir;
    QString File;
    void SetUp() override {
        ASSERT_TRUE(Dir.isValid());
        File = Dir.filePath("grid.pdf");
        Printer()->OutputFileName = File;
        Printer()->Resolution = 100;
    }
    void TearDown() override {
        if (Printer()->Printing()) Printer()->Abort();
        Printer()->Resolution = 300;
    }
};

bool Dark(TColor C) {
    const TColor rgb = ColorToRGB(C);
    return (rgb & 0xFF) + ((rgb >> 8) & 0xFF) + ((rgb >> 16) & 0xFF) < 3 * 128;
}

} // namespace

TEST(AdvGridPrintTest, FontMapping) {
    TPrintGridPtr g = Grid(2, 2);
    EXPECT_EQ(g->MapFontHeight(10), -35);
    EXPECT_EQ(g->MapFontSize(35), 9);
    g->Fontscalefactor = 0.5;
    EXPECT_EQ(g->MapFontHeight(10), -17);
    g->Fontscalefactor = 1.0;
}

TEST(AdvGridPrintTest, ScreenWidthsBandsAndIndentsOn600DpiTarget) {
    // 96-dpi screen widths on a 600-dpi target: 254 / 96 tenths of a millimetre per pixel.
    TPrintGridPtr g = Grid(5, 3);
    ScreenWidths(*g, {64, 100, 64, 100, 64});
    TPrintSettings& ps = *g->PrintSettings();
    ps.Centered = false;
    ps.LeftSize = 50;
    EXPECT_EQ(g->Count(1000, 2000), 2); // columns 0..3 fill 948 of 1000; column 4 its own band
    EXPECT_EQ(Widths(*g, 5), (std::vector<int>{169, 265, 169, 265, 169}));
    EXPECT_EQ(g->PrintColStart(), 4);
    EXPECT_EQ(g->PrintColEnd(), 4);
    EXPECT_EQ(g->PrintPageWidth(), 189);
    EXPECT_EQ(g->GetPrintColOffset(4), 50);
    EXPECT_EQ(g->GetPrintColOffset(5), 239);
    EXPECT_EQ(g->PrintPageRect(), TRect(0, 0, 1000, -2000));

    // Centred, the last band moves right by half the unused width.
    ps.Centered = true;
    EXPECT_EQ(g->Count(1000, 2000), 2);
    EXPECT_EQ(g->GetPrintColOffset(4), (1000 - 189) / 2);

    // A column wider than the page shares its band with the next column.
    ScreenWidths(*g, {500, 50, 50, 0, 0});
    EXPECT_EQ(g->Count(1000, 2000, 600, TGridRect(0, 0, 2, 2)), 2);
    EXPECT_EQ(g->PrintColStart(), 2);

    // Ranges without columns or rows lay out nothing.
    EXPECT_EQ(g->Count(1000, 2000, 600, TGridRect(3, 0, 1, 2)), 0);
    EXPECT_EQ(g->Count(1000, 2000, 600, TGridRect(0, 2, 4, 1)), 0);
    EXPECT_EQ(g->Count(1000, 2000, 600, TGridRect(-5, -5, 99, 99)), g->Count(1000, 2000));
}

TEST(AdvGridPrintTest, FitToPageModes) {
    // Two columns of 265 and gaps of 20: factor (W - 40) / 530, 2 on 1100, 0.5 on 305.
    struct Case {
        TFitToPage Mode;
        int Page;
        int Width;
    } cases[] = {
        {fpNever, 1100, 265}, {fpGrow, 1100, 530},   {fpGrow, 305, 265},   {fpShrink, 1100, 265},
        {fpShrink, 305, 132}, {fpAlways, 1100, 530}, {fpAlways, 305, 132}, {fpCustom, 1100, 530},
    };
    for (const Case& c : cases) {
        TPrintGridPtr g = Grid(2, 2);
        ScreenWidths(*g, {100, 100});
        g->PrintSettings()->FitToPage = c.Mode;
        g->Count(c.Page, 2000);
        EXPECT_EQ(Widths(*g, 2), (std::vector<int>{c.Width, c.Width})) << c.Mode << " " << c.Page;
    }

    // fpCustom asks; a refusal keeps the widths, a changed factor is used. The column-width
    // event comes once per column, after the fitting.
    TPrintGridPtr g = Grid(2, 2);
    ScreenWidths(*g, {100, 100});
    g->PrintSettings()->FitToPage = fpCustom;
    double asked = 0;
    bool allow = false;
    g->OnFitToPage = [&](TObject*, double& f, bool& a) {
        asked = f;
        a = allow;
        f = 0.5;
    };
    std::vector<int> seen;
    g->OnPrintSetColumnWidth = [&](TObject*, int c, int& w) {
        seen.push_back(w);
        if (c == 1) w = 77;
    };
    g->Count(1100, 2000);
    EXPECT_DOUBLE_EQ(asked, 2.0);
    EXPECT_EQ(Widths(*g, 2), (std::vector<int>{265, 77}));
    EXPECT_EQ(seen, (std::vector<int>{265, 265}));
    allow = true;
    seen.clear();
    g->Count(1100, 2000);
    EXPECT_EQ(seen, (std::vector<int>{132, 132}));
}

TEST(AdvGridPrintTest, RepeatedFixedColumnsHeadLaterBands) {
    // Columns of 265 + 20 on 1000: three per band; later bands start after the fixed column.
    TPrintGridPtr g = Grid(6, 2, 1);
    ScreenWidths(*g, {100, 100, 100, 100, 100, 100});
    g->PrintSettings()->Centered = false;
    EXPECT_EQ(g->Count(1000, 2000), 2);
    g->PrintSettings()->RepeatFixedCols = true;
    EXPECT_EQ(g->Count(1000, 2000), 3); // 0..2, fixed + 3..4, fixed + 5
    EXPECT_EQ(g->PrintColStart(), 5);
    EXPECT_EQ(g->GetPrintColOffset(0), 0);
    EXPECT_EQ(g->GetPrintColOffset(5), 285);
    EXPECT_EQ(g->PrintPageWidth(), 570);
}

TEST(AdvGridPrintTest, RepeatedFixedRowsHeadEveryLaterPage) {
    // The last row of each page from the drawing pass of a preview; every row is as high.
    auto pageEnds = [](bool Repeat, int Top) {
        TPrintGridPtr g = Grid(2, 20, 0, 1);
        g->PrintSettings()->UseFixedHeight = true;
        g->PrintSettings()->FixedHeight = 150;
        g->PrintSettings()->RepeatFixedRows = Repeat;
        std::vector<int> ends;
        g->OnPrintPageDone = [&](TObject*, TCanvas*, int LastRow, int, int, int, int) {
            ends.push_back(LastRow);
        };
        TBitmap b(300, 300);
        g->PrintPreviewRect(b.Canvas(), TRect(0, 0, 300, 300), TGridRect(0, Top, 1, 19));
        EXPECT_EQ(int(ends.size()), g->PrintNrOfPages());
        return ends;
    };
    const std::vector<int> plain = pageEnds(false, 0);
    ASSERT_GE(plain.size(), 3u);
    const int k = plain[0]; // rows per page
    ASSERT_GE(k, 2);
    EXPECT_EQ(plain[1], 2 * k);
    // From row 0 the first page prints the fixed row once as its own; later pages start with it.
    const std::vector<int> repeated = pageEnds(true, 0);
    EXPECT_EQ(repeated[0], k);
    EXPECT_EQ(repeated[1], k + k - 1);
    EXPECT_EQ(repeated[2], k + 2 * (k - 1));
    // A range below the fixed rows has them on its first page too.
    EXPECT_EQ(pageEnds(true, 5)[0], 5 + k - 1);
}

TEST(AdvGridPrintTest, SelectedRowsAndColumns) {
    // The rows a pass measures are the rows it prints.
    auto printedRows = [](TPrintGrid& G) {
        std::vector<int> rows;
        G.OnPrintSetRowHeight = [&](TObject*, int r, int&) { rows.push_back(r); };
        G.Count(2000, 2000, 600, TGridRect(-1, 0, 0, 0), true);
        G.OnPrintSetRowHeight = nullptr;
        return rows;
    };
    TPrintGridPtr g = Grid(3, 8, 1, 1);
    g->MouseActions()->SetDisjunctRowSelect(true);
    g->SetRowSelect(2, true);
    g->SetRowSelect(5, true);
    EXPECT_EQ(printedRows(*g), (std::vector<int>{2, 5}));
    g->PrintSettings()->FixedCellsAlways = true;
    EXPECT_EQ(printedRows(*g), (std::vector<int>{0, 2, 5}));

    // A plain selection: its rows, and its columns only (fixed ones with FixedCellsAlways).
    TPrintGridPtr s = Grid(5, 8, 1, 1);
    ScreenWidths(*s, {50, 50, 50, 50, 50});
    s->SetSelection(TGridRect(2, 3, 3, 4));
    EXPECT_EQ(printedRows(*s), (std::vector<int>{3, 4}));
    EXPECT_EQ(Widths(*s, 5), (std::vector<int>{0, 0, 132, 132, 0}));
    s->PrintSettings()->FixedCellsAlways = true;
    EXPECT_EQ(printedRows(*s), (std::vector<int>{0, 3, 4}));
    EXPECT_EQ(Widths(*s, 5), (std::vector<int>{132, 0, 132, 132, 0}));
}

TEST(AdvGridPrintTest, RowsTallerThanThePageStillMakeProgress) {
    TPrintGridPtr g = Grid(2, 5);
    g->OnPrintSetRowHeight = [](TObject*, int r, int& h) {
        if (r == 2) h = 50000;
    };
    EXPECT_EQ(g->Count(2000, 2970), 3); // rows 0-1, row 2 alone, rows 3-4
    // The same in a preview that draws the tall row's page.
    TBitmap b(200, 280);
    g->SetPreviewPage(2);
    g->PrintPreview(b.Canvas(), TRect(0, 0, 200, 280));
    EXPECT_EQ(g->PrintNrOfPages(), 3);
    // Its borders reach down to the footer area and stop there (page 741 high, footer about 40:
    // pixel 265).
    auto darkRows = [&](int y0, int y1) {
        int n = 0;
        for (int y = y0; y < y1; ++y)
            for (int x = 0; x < 200; ++x) n += Dark(b.Canvas()->Pixels(x, y));
        return n;
    };
    EXPECT_GT(darkRows(200, 250), 2 * 50);
    EXPECT_EQ(darkRows(268, 280), 0);
    // A page too small for its header and footer puts one row on each page.
    g->OnPrintSetRowHeight = nullptr;
    g->PrintSettings()->PageNr = ppBottomCenter;
    EXPECT_EQ(g->Count(500, 10), 5);
    g->PrintPreview(b.Canvas(), TRect(0, 0, 0, 0));
    EXPECT_EQ(g->PrintNrOfPages(), 5);
    g->PrintPreview(b.Canvas(), TRect(100, 100, 0, 0));
    EXPECT_EQ(g->PrintNrOfPages(), 5);
}

TEST(AdvGridPrintTest, WideGridsHaveArraysForEveryColumn) {
    TPrintGridPtr g = Grid(700, 3);
    TBitmap b(400, 560);
    g->PrintPreview(b.Canvas(), TRect(0, 0, 400, 560));
    EXPECT_GT(g->PrintNrOfPages(), 10);
    EXPECT_GT(g->GetPrintColWidth(699), 0);
    EXPECT_EQ(g->PrintColEnd(), 699);
    for (int bad : {-1, 5000}) EXPECT_THROW(g->GetPrintColWidth(bad), EAdvGridError) << bad;
    try {
        g->GetPrintColOffset(-1);
        FAIL();
    } catch (const EAdvGridError& e) {
        EXPECT_EQ(e.Message(), QStringLiteral("Columns is not in valid range"));
    }
}

TEST(AdvGridPrintTest, CountingPassesFireOnlyTheirEvents) {
    TPrintGridPtr g = Grid(3, 30);
    BreakEvery(*g, 10);
    g->PrintSettings()->PageNr = ppTopRight;
    int newPage = 0, rowHeight = 0, cellSize = 0, drawing = 0;
    auto inner = g->OnPrintNewPage;
    g->OnPrintNewPage = [&](TObject* s, int r, bool& n) {
        ++newPage;
        inner(s, r, n);
    };
    g->OnPrintSetRowHeight = [&](TObject*, int, int&) { ++rowHeight; };
    g->OnCustomCellSize = [&](TObject*, TCanvas*, int, int, TPoint&, bool) { ++cellSize; };
    g->OnPrintPage = [&](TObject*, TCanvas*, int, int, int) { ++drawing; };
    g->OnPrintPageDone = [&](TObject*, TCanvas*, int, int, int, int, int) { ++drawing; };
    g->OnPrintCancel = [&](TObject*, int, bool&) { ++drawing; };
    g->OnPrintGetPageNum = [&](TObject*, int, int, String&) { ++drawing; };
    g->OnCustomCellDraw = [&](TObject*, TCanvas*, int, int, TGridDrawState, TRect&, bool) { ++drawing; };
    EXPECT_EQ(g->Count(2000, 2970), 3);
    EXPECT_EQ(newPage, 30);
    EXPECT_EQ(rowHeight, 30);
    EXPECT_GE(cellSize, 2 * 90); // widths and heights
    EXPECT_EQ(drawing, 0);
}

TEST(AdvGridPrintTest, PreviewDrawsTheChosenPageIntoABitmap) {
    TPrintGridPtr g = Grid(3, 30);
    BreakEvery(*g, 10);
    TPrintSettings& ps = *g->PrintSettings();
    ps.Borders = pbAround;
    ps.Title = ppTopLeft;
    ps.TitleText = QStringLiteral("WWWW");
    ps.HeaderSize = 100;
    ps.LeftSize = 200;
    ps.PageNr = ppTopRight;
    std::vector<String> numbers;
    std::vector<int> pagesBegun, rowsDrawn;
    g->OnPrintGetPageNum = [&](TObject*, int, int, String& s) { numbers.push_back(s); };
    g->OnPrintPage = [&](TObject*, TCanvas*, int p, int, int) { pagesBegun.push_back(p); };
    g->OnCustomCellDraw = [&](TObject*, TCanvas*, int, int r, TGridDrawState, TRect&, bool) {
        if (rowsDrawn.empty() || rowsDrawn.back() != r) rowsDrawn.push_back(r);
    };

    TBitmap b(420, 594); // on a 96-dpi canvas: 111 x 157 mm
    const TRect display(0, 0, 420, 594);
    g->SetPreviewPage(2);
    g->PrintPreview(b.Canvas(), display);
    EXPECT_EQ(g->PrintNrOfPages(), 3);
    EXPECT_EQ(numbers, (std::vector<String>{QStringLiteral("2/3")}));
    EXPECT_EQ(pagesBegun, (std::vector<int>{1, 2}));
    ASSERT_FALSE(rowsDrawn.empty());
    EXPECT_EQ(rowsDrawn.front(), 10);
    EXPECT_EQ(rowsDrawn.back(), 19);
    EXPECT_EQ(b.Canvas()->MapMode(), MM_TEXT);
    EXPECT_FALSE(g->IsPrintPreview());

    // The header text: left edge at LeftSize (20 mm = 75.6 px), top at HeaderSize (10 mm).
    auto darkIn = [&](int x0, int y0, int x1, int y1) {
        int n = 0;
        for (int y = y0; y < y1; ++y)
            for (int x = x0; x < x1; ++x) n += Dark(b.Canvas()->Pixels(x, y));
        return n;
    };
    EXPECT_GT(darkIn(76, 38, 140, 60), 0);
    EXPECT_EQ(darkIn(0, 0, 74, 36), 0);
    EXPECT_EQ(darkIn(76, 0, 140, 36), 0);
    // The frame: a vertical line at the band's left edge, from under the header down.
    const int left = int(g->GetPrintColOffset(0) * 96 / 254.0);
    const int right = int(g->GetPrintColOffset(3) * 96 / 254.0);
    int column = -1;
    for (int x = left - 2; x <= left + 2 && column < 0; ++x)
        if (darkIn(x, 120, x + 1, 200) == 80) column = x;
    EXPECT_GE(column, 0) << left;
    int rightColumn = -1;
    for (int x = right - 3; x <= right + 2 && rightColumn < 0; ++x)
        if (darkIn(x, 120, x + 1, 200) == 80) rightColumn = x;
    EXPECT_GE(rightColumn, 0) << right;
    EXPECT_EQ(darkIn(0, 120, left - 3, 200), 0);
}

TEST(AdvGridPrintTest, PreviewStartAnswersAndFailures) {
    TPrintGridPtr g = Grid(3, 30);
    BreakEvery(*g, 10);
    int drawnCells = 0;
    g->OnCustomCellDraw = [&](TObject*, TCanvas*, int, int, TGridDrawState, TRect&, bool) { ++drawnCells; };
    TBitmap b(300, 400);
    const TRect display(0, 0, 300, 400);

    // An empty or inverted answer draws nothing; the count stays.
    struct Answer {
        int From, To;
        bool Drawn;
    } answers[] = {{1, 3, true}, {0, 3, false}, {2, 1, false}, {3, 0, false}};
    for (const Answer& a : answers) {
        drawnCells = 0;
        g->OnPrintStart = [&](TObject*, int n, int& from, int& to) {
            EXPECT_EQ(n, 3);
            EXPECT_TRUE(g->IsPrintPreview());
            from = a.From;
            to = a.To;
        };
        g->SetPreviewPage(1);
        g->PrintPreview(b.Canvas(), display);
        EXPECT_EQ(drawnCells > 0, a.Drawn) << a.From << " " << a.To;
        EXPECT_EQ(g->PrintNrOfPages(), 3);
    }

    // FastPrint counts nothing: the handler is offered one page.
    g->FastPrint = true;
    int offered = 0;
    g->OnPrintStart = [&](TObject*, int n, int&, int&) { offered = n; };
    g->PrintPreview(b.Canvas(), display);
    EXPECT_EQ(offered, 1);
    g->FastPrint = false;

    // A failing handler leaves the canvas in its own mapping mode and the preview ended.
    g->OnCustomCellDraw = [](TObject*, TCanvas*, int, int, TGridDrawState, TRect&, bool) {
        throw std::runtime_error("cell");
    };
    EXPECT_THROW(g->PrintPreview(b.Canvas(), display), std::runtime_error);
    EXPECT_EQ(b.Canvas()->MapMode(), MM_TEXT);
    EXPECT_FALSE(g->IsPrintPreview());
    EXPECT_EQ(g->Fontscalefactor, 1.0);
}

TEST(AdvGridPrintTest, MarkupTitleIsDrawnAndPushesTheRowsDown) {
    // The y after the first page's rows in the drawing pass of a preview, and the picture.
    auto firstPage = [](bool Markup, TBitmap& B) {
        TPrintGridPtr g = Grid(2, 4);
        TPrintSettings& ps = *g->PrintSettings();
        ps.Title = ppTopLeft;
        ps.LeftSize = 100;
        if (Markup) ps.TitleLines()->SetText(QStringLiteral("<b>Monthly</b> report"));
        int offset = 0;
        g->OnPrintPageDone = [&](TObject*, TCanvas*, int, int y, int page, int, int) {
            if (page == 1) offset = y;
        };
        g->PrintPreview(B.Canvas(), TRect(0, 0, 300, 400));
        return offset;
    };
    TBitmap plain(300, 400), markup(300, 400);
    const int plainY = firstPage(false, plain);
    const int markupY = firstPage(true, markup);
    EXPECT_LT(markupY, plainY);
    int dark = 0;
    for (int y = 0; y < 30; ++y)
        for (int x = 38; x < 200; ++x) dark += Dark(markup.Canvas()->Pixels(x, y));
    EXPECT_GT(dark, 20);
}

TEST(AdvGridPrintTest, RunsStartedFromEventsAndMeasuringAfterwards) {
    // A preview started from a page event of another preview leaves the outer run's layout.
    TPrintGridPtr g = Grid(3, 30);
    BreakEvery(*g, 10);
    TBitmap outer(300, 400), inner(100, 100);
    int nestedPages = -1;
    bool innerRun = false;
    g->OnPrintPage = [&](TObject*, TCanvas*, int page, int, int) {
        if (page != 2 || innerRun) return;
        innerRun = true;
        g->PrintPreviewRect(inner.Canvas(), TRect(0, 0, 100, 100), TGridRect(0, 0, 0, 0));
        nestedPages = g->PrintNrOfPages();
    };
    g->SetPreviewPage(2);
    g->PrintPreview(outer.Canvas(), TRect(0, 0, 300, 400));
    EXPECT_EQ(nestedPages, 1);
    EXPECT_EQ(g->PrintColEnd(), 2);
    EXPECT_EQ(g->Fontscalefactor, 1.0);

    // Measuring after a run whose canvas is gone answers nothing.
    {
        TBitmap gone(100, 100);
        g->PrintPreview(gone.Canvas(), TRect(0, 0, 100, 100));
    }
    EXPECT_EQ(g->MeasurePrintCell(0, 0), TPoint(0, 0));
}

TEST(AdvGridPrintTest, PrintDrawDrawsWhatFitsTheFirstPage) {
    TPrintGridPtr g = Grid(3, 200);
    g->PrintSettings()->PageNr = ppBottomLeft;
    int starts = 0;
    std::vector<String> numbers;
    std::vector<int> lastRows;
    std::vector<int> begun;
    g->OnPrintStart = [&](TObject*, int, int&, int&) { ++starts; };
    g->OnPrintPage = [&](TObject*, TCanvas*, int p, int, int) { begun.push_back(p); };
    g->OnPrintGetPageNum = [&](TObject*, int, int, String& s) { numbers.push_back(s); };
    g->OnPrintPageDone = [&](TObject*, TCanvas*, int r, int, int, int, int) { lastRows.push_back(r); };
    TBitmap b(200, 150);
    g->PrintDraw(b.Canvas(), TRect(0, 0, 200, 150));
    EXPECT_EQ(starts, 0);
    // Only page 1 is begun and numbered; the rest of the grid is laid out but not drawn.
    EXPECT_EQ(begun, (std::vector<int>{1}));
    EXPECT_EQ(numbers, (std::vector<String>{QStringLiteral("1")}));
    ASSERT_GT(lastRows.size(), 1u);
    EXPECT_GT(lastRows[0], 1);
    EXPECT_LT(lastRows[0], 200);
    EXPECT_EQ(lastRows.back(), 200);
    EXPECT_EQ(b.Canvas()->MapMode(), MM_TEXT);
}

TEST_F(AdvGridPrintPdfJob, ThreePagesAndTheirNumbers) {
    TPrintGridPtr g = Grid(3, 30);
    BreakEvery(*g, 10);
    g->PrintSettings()->PageNr = ppBottomRight;
    std::vector<String> numbers;
    g->OnPrintGetPageNum = [&](TObject*, int, int, String& s) { numbers.push_back(s); };
    g->Print();
    EXPECT_EQ(PdfPages(File), 3);
    EXPECT_EQ(numbers, (std::vector<String>{"1/3", "2/3", "3/3"}));
    EXPECT_FALSE(Printer()->Printing());

    // OnPrintStart keeping 1..N prints the same pages in a second job.
    int offered = 0;
    g->OnPrintStart = [&](TObject*, int n, int& from, int& to) {
        offered = n;
        EXPECT_EQ(from, 1);
        EXPECT_EQ(to, n);
    };
    QFile::remove(File);
    g->Print();
    EXPECT_EQ(offered, 3);
    EXPECT_EQ(PdfPages(File), 3);

    // Odd answers print nothing and leave no file.
    struct Odd {
        int From, To;
    } odd[] = {{0, 3}, {1, 0}, {3, 2}, {-1, 3}};
    for (const Odd& o : odd) {
        QFile::remove(File);
        g->OnPrintStart = [&](TObject*, int, int& from, int& to) {
            from = o.From;
            to = o.To;
        };
        g->Print();
        EXPECT_FALSE(QFile::exists(File)) << o.From << " " << o.To;
        EXPECT_FALSE(Printer()->Printing());
    }
}

TEST_F(AdvGridPrintPdfJob, BandsFastPrintAndCancel) {
    // Two bands of one page each.
    TPrintGridPtr g = Grid(3, 3); // the first two columns overflow the page but share a band
    ScreenWidths(*g, {1000, 1000, 1000});
    g->PrintSettings()->PageNr = ppTopCenter;
    std::vector<String> numbers;
    g->OnPrintGetPageNum = [&](TObject*, int, int, String& s) { numbers.push_back(s); };
    g->Print();
    EXPECT_EQ(numbers, (std::vector<String>{"1-1", "1-2"}));
    EXPECT_EQ(PdfPages(File), 2);

    // FastPrint counts nothing: the page count shown is the largest integer.
    TPrintGridPtr f = Grid(2, 3);
    f->FastPrint = true;
    f->PrintSettings()->PageNr = ppTopCenter;
    f->PrintSettings()->MaxPagesOffset = 5;
    numbers.clear();
    f->OnPrintGetPageNum = [&](TObject*, int, int, String& s) { numbers.push_back(s); };
    f->Print();
    EXPECT_EQ(numbers, (std::vector<String>{"1/2147483652"}));
    // Without a count the band ends after the third page: the page range starts at 1.
    TPrintGridPtr l = Grid(2, 50);
    BreakEvery(*l, 10);
    l->FastPrint = true;
    QFile::remove(File);
    l->Print();
    EXPECT_EQ(PdfPages(File), 3);

    // Cancelling after the first page ends the job with that page.
    TPrintGridPtr c = Grid(3, 30);
    BreakEvery(*c, 10);
    int asked = 0;
    c->OnPrintCancel = [&](TObject*, int page, bool& cancel) {
        ++asked;
        cancel = page == 1;
    };
    QFile::remove(File);
    c->Print();
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(PdfPages(File), 1);
}

TEST_F(AdvGridPrintPdfJob, SelectedRowsAndColumnsPrintAlike) {
    TPrintGridPtr g = Grid(4, 120, 1, 1);
    g->SetSelection(TGridRect(1, 3, 2, 92));
    g->PrintSelectedRows();
    const int rows = PdfPages(File);
    const int rowsCount = g->PrintNrOfPages();
    QFile::remove(File);
    g->PrintSelectedCols();
    EXPECT_EQ(PdfPages(File), rows);
    EXPECT_EQ(g->PrintNrOfPages(), rowsCount);
    EXPECT_EQ(rows, rowsCount);
    EXPECT_GE(rowsCount, 2);
}

TEST_F(AdvGridPrintPdfJob, AFailingDrawingPassLeavesNoFile) {
    // An earlier file of the name stays as it was.
    {
        QFile f(File);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("earlier");
    }
    TPrintGridPtr g = Grid(3, 30);
    BreakEvery(*g, 10);
    g->OnCustomCellDraw = [](TObject*, TCanvas*, int, int r, TGridDrawState, TRect&, bool) {
        if (r == 15) throw std::runtime_error("cell");
    };
    EXPECT_THROW(g->Print(), std::runtime_error);
    EXPECT_FALSE(Printer()->Printing());
    EXPECT_EQ(Printer()->Canvas()->MapMode(), MM_TEXT);
    QFile f(File);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), QByteArray("earlier"));
    EXPECT_FALSE(QFile::exists(File + ".part"));

    // The next job runs.
    g->OnCustomCellDraw = nullptr;
    g->Print();
    EXPECT_EQ(PdfPages(File), 3);
}
