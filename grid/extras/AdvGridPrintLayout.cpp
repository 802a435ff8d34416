// The print layout engine's arithmetic: see AdvGridPrintLayout.h.
#include "AdvGridPrintLayout.h"

#include "AdvGrid.h"

#include <algorithm>
#include <cmath>

int TPrintLayout::MapFontHeight(int PointSize, double FontScaleFactor) {
    return -int(std::trunc(double(PointSize * 254) / 72.0 * FontScaleFactor));
}

int TPrintLayout::MapFontSize(int Height) {
    return Height * 72 / 254;
}

double TPrintLayout::ScreenScale(int TargetDpi, int GridDpi) {
    if (TargetDpi <= 0 || GridDpi <= 0) return 254.0 / 96.0;
    return (254.0 / TargetDpi) * (double(TargetDpi) / GridDpi);
}

int TPrintLayout::ColumnGap() const {
    return FSettings.UseFixedWidth ? 0 : FSettings.ColumnSpacing + 20;
}

void TPrintLayout::ResetWidths() {
    // Sized for the range, however wide: a fixed-size array would be overrun by wide grids.
    const int n = std::max({Range.Right, FixedCols, 0}) + 2;
    MaxWidths.assign(size_t(n), 0);
    Indents.assign(size_t(n), 0);
}

void TPrintLayout::WidthsFromScreen(const std::function<int(int)>& ScreenWidth) {
    for (int c = Range.Left; c <= Range.Right; ++c)
        if (IsColPrinted(c)) MaxWidths[size_t(c)] = int(std::round(ScreenWidth(c) * Scale));
}

void TPrintLayout::MeasuredWidth(int c, int Width, bool Merged) {
    if (c < 0 || c >= int(MaxWidths.size()) || Merged || !IsColPrinted(c)) return;
    MaxWidths[size_t(c)] = std::max(MaxWidths[size_t(c)], Width);
}

void TPrintLayout::FitToPage(const std::function<void(double&, bool&)>& OnFit,
                             const std::function<void(int, int&)>& OnSetWidth) {
    FitFactor = 1.0;
    const int gap = ColumnGap();
    if (FSettings.FitToPage != fpNever && Range.Right >= Range.Left) {
        long long sum = 0;
        for (int c = Range.Left; c <= Range.Right; ++c)
            if (IsColPrinted(c)) sum += MaxWidths[size_t(c)] + gap;
        const long long gaps = (long long)(Range.Right - Range.Left + 1) * gap;
        if (sum != gaps) {
            double f =
                double(PageWidth - FSettings.RightSize - FSettings.LeftSize - gaps) / double(sum - gaps);
            switch (FSettings.FitToPage) {
                case fpShrink: f = std::min(f, 1.0); break;
                case fpGrow: f = std::max(f, 1.0); break;
                case fpCustom:
                    if (f != 1.0) {
                        bool allow = true;
                        if (OnFit) OnFit(f, allow);
                        if (!allow) f = 1.0;
                    }
                    break;
                default: break;
            }
            FitFactor = f;
        }
        if (FitFactor != 1.0)
            for (int c = Range.Left; c <= Range.Right; ++c)
                MaxWidths[size_t(c)] = int(std::trunc(MaxWidths[size_t(c)] * FitFactor));
    }
    if (OnSetWidth)
        for (int c = Range.Left; c <= Range.Right; ++c) OnSetWidth(c, MaxWidths[size_t(c)]);
}

int TPrintLayout::BandEnd(int First) {
    const int gap = ColumnGap();
    RepeatColsNow =
        FixedCols > 0 && FSettings.RepeatFixedCols && (First != Range.Left || Range.Left > FixedCols);
    FixedWidth = 0;
    if (RepeatColsNow)
        for (int i = 0; i < FixedCols; ++i) FixedWidth += MaxWidths[size_t(i)] + gap;
    const int avail = PageWidth - FSettings.RightSize;
    auto step = [&](int c) { return IsColPrinted(c) ? MaxWidths[size_t(c)] + gap : 0; };
    int used = FixedWidth;
    int c = First;
    while (c <= Range.Right && used <= avail) {
        if (used + step(c) > avail) break;
        used += step(c);
        ++c;
    }
    int last = c - 1;
    if (last - First + 1 < 2) {
        last = std::min(First + 1, Range.Right);
        used = FixedWidth;
        for (int i = First; i <= last; ++i) used += step(i);
    }
    if (last < Range.Right) MultiBand = true;
    PrintPageWidth = used;
    return last;
}

void TPrintLayout::PlaceBand(int First, int Last) {
    const int gap = ColumnGap();
    const int start = FSettings.Centered ? 0 : FSettings.LeftSize;
    Indents[size_t(First)] = start;
    Indents[0] = start;
    for (int c = First; c <= Last; ++c)
        Indents[size_t(c) + 1] = Indents[size_t(c)] + (IsColPrinted(c) ? MaxWidths[size_t(c)] + gap : 0);
    PrintColStart = First;
    PrintColEnd = Last;
    // The repeated fixed columns' edges, the right edge of the last one included (painting
    // reads it) unless it is the band's own first edge.
    if (RepeatColsNow)
        for (int i = 1; i <= FixedCols && (i < FixedCols || i < First); ++i)
            Indents[size_t(i)] = Indents[size_t(i) - 1] + MaxWidths[size_t(i) - 1] + gap;
    if (FSettings.Centered && PrintPageWidth < PageWidth) {
        const int shift = (PageWidth - PrintPageWidth) / 2;
        for (int c = First; c <= Last + 1; ++c) Indents[size_t(c)] += shift;
        // The repeated fixed columns' edges, unless the band already moved them.
        if (RepeatColsNow)
            for (int i = 0; i <= FixedCols; ++i)
                if (i < First || i > Last + 1) Indents[size_t(i)] += shift;
    }
    for (int c = First; c <= Last + 1; ++c) Indents[size_t(c)] += FixedWidth;
}

std::vector<std::pair<int, int>> TPrintLayout::Bands() {
    std::vector<std::pair<int, int>> bands;
    for (int first = Range.Left; first <= Range.Right;) {
        const int last = BandEnd(first);
        bands.emplace_back(first, last);
        first = last + 1;
    }
    return bands;
}

void TPrintLayout::CheckCol(int ACol) const {
    if (ACol < 0 || ACol >= int(MaxWidths.size()))
        throw EAdvGridError(QStringLiteral("Columns is not in valid range"));
}

int TPrintLayout::GetPrintColWidth(int ACol) const {
    CheckCol(ACol);
    return MaxWidths[size_t(ACol)];
}

int TPrintLayout::GetPrintColOffset(int ACol) const {
    CheckCol(ACol);
    return Indents[size_t(ACol)];
}

static bool AtTop(TPrintPosition p) {
    return p == ppTopLeft || p == ppTopRight || p == ppTopCenter;
}

static bool AtBottom(TPrintPosition p) {
    return p == ppBottomLeft || p == ppBottomRight || p == ppBottomCenter;
}

int TPrintLayout::HeaderArea(int Gap8, int HeaderTextHeight, int MarkupTitle) const {
    const TPrintSettings& s = FSettings;
    if (!(AtTop(s.Time) || AtTop(s.Date) || AtTop(s.PageNr) || AtTop(s.Title))) return s.HeaderSize;
    int area = Gap8 + HeaderTextHeight + s.HeaderSize;
    if (AtTop(s.Title) && MarkupTitle != 0)
        area += MarkupTitle + s.HeaderSize;
    else if (AtTop(s.Title) && s.TitleLines()->Count() > 0)
        area += (s.TitleLines()->Count() - 1) * HeaderTextHeight;
    return area;
}

int TPrintLayout::FooterArea(int Gap8, int FooterTextHeight) const {
    const TPrintSettings& s = FSettings;
    if (!(AtBottom(s.Time) || AtBottom(s.Date) || AtBottom(s.PageNr) || AtBottom(s.Title)))
        return Gap8 + FooterTextHeight + s.FooterSize;
    int area = 2 * (Gap8 + FooterTextHeight) + s.FooterSize;
    if (AtBottom(s.Title) && s.TitleLines()->Count() > 0)
        area += (s.TitleLines()->Count() - 1) * FooterTextHeight;
    return area;
}

String TPrintLayout::PageNumberText(int Page, int PageInBand, int Band, int PageCount) const {
    if (MultiBand) return QString::number(PageInBand + 1) + QStringLiteral("-") + QString::number(Band);
    String t = QString::number(Page + 1 + FSettings.PageNumberOffset);
    if (!FSettings.PageNumSep.isEmpty() && PageCount > 1)
        t += FSettings.PageNumSep + QString::number(qint64(PageCount) + FSettings.MaxPagesOffset);
    return t;
}

String JoinWithSpace(const String& A, const String& B) {
    if (A.isEmpty()) return B;
    if (B.isEmpty()) return A;
    return A + QStringLiteral(" ") + B;
}

std::array<String, 6> TPrintLayout::FillSlots(const String& Time, const String& Date, const String& PageNum,
                                              const String& TitleLine) const {
    std::array<String, 6> texts;
    auto put = [&](TPrintPosition p, const String& item) {
        if (p == ppNone) return;
        String& slot = texts[size_t(p) - 1];
        if (p == ppTopLeft || p == ppBottomLeft)
            slot = item + QStringLiteral(" ") + slot;
        else
            slot = slot + QStringLiteral(" ") + item;
    };
    put(FSettings.Time, Time);
    put(FSettings.Date, Date);
    put(FSettings.PageNr,
        FSettings.PagePrefix + QStringLiteral(" ") + PageNum + QStringLiteral(" ") + FSettings.PageSuffix);
    if (FSettings.Title != ppNone) {
        String& slot = texts[size_t(FSettings.Title) - 1];
        slot = (FSettings.Title == ppTopLeft || FSettings.Title == ppBottomLeft)
                   ? JoinWithSpace(TitleLine, slot)
                   : JoinWithSpace(slot, TitleLine);
    }
    return texts;
}

int CutRowsIntoPages(int Top, int Bottom, const TPrintRowSteps& S) {
    int pages = 0;
    int r = Top;
    while (r <= Bottom) {
        TPrintRowPage page;
        page.FirstRow = r;
        int y = 0;
        int limit = 0;
        bool begun = false;
        bool placedAny = false;
        while (r <= Bottom) {
            if (S.Step) S.Step(r);
            if (!begun) {
                begun = true;
                if (S.BeginPage) S.BeginPage(y, limit);
                if (r > 0 && S.RepeatFixedRows && S.FixedRows > 0 && (pages > 0 || Top >= S.FixedRows)) {
                    for (int f = 0; f < S.FixedRows; ++f) y -= S.Place(f, y);
                    page.FixedRowsRepeated = true;
                }
            }
            if (S.RowPrinted(r)) {
                // A row taller than the printable height is placed alone on an empty page.
                if (y - S.Height(r) > limit || !placedAny) {
                    y -= S.Place(r, y);
                    placedAny = true;
                } else
                    break;
            }
            ++r;
            bool newPage = false;
            if (S.OnNewPage) S.OnNewPage(r, newPage);
            const bool full = r <= Bottom && S.RowPrinted(r) && y - S.Height(r) <= limit;
            if (full || newPage) break;
        }
        page.EndRow = r;
        page.EndY = y;
        ++pages;
        if (S.EndPage && !S.EndPage(page, r <= Bottom)) break;
    }
    return pages;
}

std::vector<TPrintRowPage>
LayOutRows(int Top, int Bottom, int StartY, int Limit, const std::function<bool(int)>& RowPrinted,
           const std::function<int(int)>& Height, const std::function<int(int)>& Placed,
           const std::function<void(int, bool&)>& OnNewPage, int FixedRows, bool RepeatFixedRows) {
    std::vector<TPrintRowPage> pages;
    TPrintRowSteps s;
    s.RowPrinted = RowPrinted;
    s.Height = Height;
    s.Place = [&](int r, int) { return Placed(r); };
    s.BeginPage = [&](int& y, int& limit) {
        y = StartY;
        limit = Limit;
    };
    s.OnNewPage = OnNewPage;
    s.EndPage = [&](const TPrintRowPage& p, bool) {
        pages.push_back(p);
        return true;
    };
    s.FixedRows = FixedRows;
    s.RepeatFixedRows = RepeatFixedRows;
    CutRowsIntoPages(Top, Bottom, s);
    return pages;
}
