// The page layout of a printed cell range: print column widths, fit to page, column bands and
// their indents, the header and footer areas, page numbers, the header and footer slots and the
// cutting of rows into pages. Units are 0.1 mm; y grows upward, so a page's top edge is y = 0
// and page heights are negative. Nothing here draws: the grid measures and paints through the
// callbacks and reads the laid-out arrays.
#pragma once

#include "GridPrintSettings.h"

#include <array>
#include <functional>
#include <vector>

class TPrintLayout {
public:
    // The font height in logical units (0.1 mm) for a point size, scaled by FontScaleFactor;
    // negative, as character heights are.
    static int MapFontHeight(int PointSize, double FontScaleFactor = 1.0);
    // The point size of a logical font height, without scaling.
    static int MapFontSize(int Height);
    // Pen width of the cell borders and the page frame, 0.1 mm.
    static int PenWidth(TPrintBorders Borders) { return Borders == pbDouble ? 10 : 2; }
    // Tenths of a millimetre per pixel of the grid's own canvas.
    static double ScreenScale(int TargetDpi, int GridDpi);

    explicit TPrintLayout(const TPrintSettings& Settings) : FSettings(Settings) {}

    // The cell range: columns Left..Right, rows Top..Bottom (display indexes).
    TRect Range;
    int PageWidth = 0;
    int PageHeight = 0; // negative
    double Scale = 1.0; // ScreenScale
    int FixedCols = 0;
    // Which columns are printed (SelectedOnly); unset prints every column.
    std::function<bool(int)> ColPrinted;

    double FitFactor = 1.0;
    std::vector<int> MaxWidths;
    std::vector<int> Indents;
    int PrintColStart = 0;
    int PrintColEnd = 0;
    int PrintPageWidth = 0;
    bool MultiBand = false;
    bool RepeatColsNow = false;
    int FixedWidth = 0;

    int ColumnGap() const;
    bool IsColPrinted(int c) const { return !ColPrinted || ColPrinted(c); }

    // Sizes the column arrays for the range (and the fixed columns) and clears the widths.
    void ResetWidths();
    // Widths from the screen widths (NoAutoSize): round(width × Scale) for printed columns.
    void WidthsFromScreen(const std::function<int(int)>& ScreenWidth);
    // A measured cell width: the column grows to it unless the cell is horizontally merged.
    void MeasuredWidth(int c, int Width, bool Merged);

    // Fit to page. OnFit (fpCustom, factor ≠ 1): var factor, var Allow. OnSetWidth: once per
    // column of the range, var width.
    void FitToPage(const std::function<void(double&, bool&)>& OnFit,
                   const std::function<void(int, int&)>& OnSetWidth);

    // The last column of the band that starts at First (at least two columns unless the range
    // ends there); also sets RepeatColsNow and FixedWidth for the band.
    int BandEnd(int First);
    // Indents of the band First..Last; sets PrintColStart/End and PrintPageWidth.
    void PlaceBand(int First, int Last);
    // Every band of the range as (first, last); an inverted range has none.
    std::vector<std::pair<int, int>> Bands();

    // Raise EAdvGridError "Columns is not in valid range" outside the laid-out arrays.
    int GetPrintColWidth(int ACol) const;
    int GetPrintColOffset(int ACol) const;

    // Header and footer heights; MarkupTitle is the measured markup title height (band start
    // of a drawing pass), else 0.
    int HeaderArea(int Gap8, int HeaderTextHeight, int MarkupTitle = 0) const;
    int FooterArea(int Gap8, int FooterTextHeight) const;

    // The page-number text before the page-number event: Page is 0-based over the job.
    String PageNumberText(int Page, int PageInBand, int Band, int PageCount) const;

    // The six header and footer slots (TopLeft, TopRight, TopCenter, BottomLeft, BottomRight,
    // BottomCenter) filled with the time, date, page number and one-line title.
    std::array<String, 6> FillSlots(const String& Time, const String& Date, const String& PageNum,
                                    const String& TitleLine) const;

private:
    const TPrintSettings& FSettings;
    void CheckCol(int ACol) const;
};

// Joins two texts with one blank, or returns the non-empty one.
String JoinWithSpace(const String& A, const String& B);

// The cutting of rows Top..Bottom into pages. Height(r) is the row's print height (the fit
// test), Placed(r) the height it takes on the page; the page is full when the next row does not
// fit above Limit. A row that does not fit on an empty page is placed alone there (the painter
// clips it at the limit), so every page makes progress. With RepeatFixedRows the fixed rows
// 0..FixedRows - 1 head every page but a first one that prints them as its own rows.
struct TPrintRowPage {
    int FirstRow = 0;               // first row step of the page
    int EndRow = 0;                 // row after the last one placed
    int EndY = 0;                   // y after the last row
    bool FixedRowsRepeated = false; // the fixed rows head the page
};
std::vector<TPrintRowPage> LayOutRows(int Top, int Bottom, int StartY, int Limit,
                                      const std::function<bool(int)>& RowPrinted,
                                      const std::function<int(int)>& Height,
                                      const std::function<int(int)>& Placed,
                                      const std::function<void(int, bool&)>& OnNewPage = {},
                                      int FixedRows = 0, bool RepeatFixedRows = false);

// The same cutting with the page engine's steps: BeginPage gives a page's first y and its limit
// (the header and footer are drawn there), Place(r, y) places row r at y and answers the height it
// took, Step(r) runs before every row step, and EndPage(page, more rows) ends a page and answers
// whether the cutting goes on. Answers the pages cut.
struct TPrintRowSteps {
    std::function<bool(int)> RowPrinted;
    std::function<int(int)> Height;
    std::function<int(int, int)> Place;
    std::function<void(int& StartY, int& Limit)> BeginPage;
    std::function<void(int)> Step;
    std::function<void(int, bool&)> OnNewPage;
    std::function<bool(const TPrintRowPage&, bool)> EndPage;
    int FixedRows = 0;
    bool RepeatFixedRows = false;
};
int CutRowsIntoPages(int Top, int Bottom, const TPrintRowSteps& Steps);
