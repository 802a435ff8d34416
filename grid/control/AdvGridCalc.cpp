// TAdvStringGrid: column and row statistics, the selection's text, automatic numbering, sizing
// cells, columns, rows and the control to their contents, fitting the columns into the control,
// and exchanging two columns or rows (also the exchange step of sorting).
#include "AdvGrid.h"

#include "GridUtil.h"
#include "OSInfo.h"

#include <QSet>

#include <algorithm>
#include <cmath>

namespace {

// Announces esExportDone when a pass ends, also by an exception.
struct TPassEnd {
    TAdvStringGrid* Grid;
    ~TPassEnd() { Grid->ExportNotification(TAdvStringGrid::esExportDone, -1); }
};

// An index that follows an exchange of A and B.
int Exchanged(int V, int A, int B) {
    return V == A ? B : V == B ? A : V;
}

} // namespace

// =============================================================================================
// Column statistics

void TAdvStringGrid::DefaultCalcRange(int& FromRow, int& ToRow) const {
    if (FromRow == -1 || ToRow == -1) {
        FromRow = TBaseGrid::FixedRows();
        ToRow = RowCount() - FFixedFooters - 1;
    }
}

bool TAdvStringGrid::CalcRangeIsReal(int ToRow) const {
    // A range reaching past the shown rows counts every row, hidden ones included.
    return ToRow > RowCount() - 1;
}

double TAdvStringGrid::CalcValue(int ACol, int ARow, bool Real) {
    return Real ? GetAllFloats(ACol, ARow) : GetFloats(ACol, ARow);
}

double TAdvStringGrid::ColumnPass(int ACol, int FromRow, int ToRow, bool Real, TColumnPassKind Kind) {
    ExportNotification(esExportStart, FromRow);
    TPassEnd end{this};
    double result = 0;
    if (Kind != cpSum) result = CalcValue(ACol, FromRow, Real); // a non-number here is the caller's
    // The hidden rows' real indexes, built on first need; freed on every way out.
    TIntList* hiddenList = nullptr;
    struct TFreeList {
        TIntList*& L;
        ~TFreeList() { TObject::Free(L); }
    } freeList{hiddenList};
    const bool grouped = FGroupColumn != -1;
    for (int r = FromRow; r <= ToRow; ++r) {
        const bool hidden = Real && IsHiddenRow(r, hiddenList);
        if (!hidden) {
            const int d = Real ? DisplRowIndex(r) : r;
            if (grouped && (IsNode(d) || IsSummary(d))) continue;
            if (IsMergedNonBaseCell(ACol, d)) continue;
        }
        ExportNotification(esExportNextRow, r);
        double v = 0;
        try {
            v = CalcValue(ACol, r, Real);
        } catch (const Exception&) {
            continue;
        }
        switch (Kind) {
            case cpSum: result += v; break;
            case cpMin: result = std::min(result, v); break;
            case cpMax: result = std::max(result, v); break;
        }
    }
    return result;
}

double TAdvStringGrid::ColumnSum(int ACol, int FromRow, int ToRow) {
    DefaultCalcRange(FromRow, ToRow);
    return ColumnPass(ACol, FromRow, ToRow, CalcRangeIsReal(ToRow), cpSum);
}

double TAdvStringGrid::ColumnMin(int ACol, int FromRow, int ToRow) {
    DefaultCalcRange(FromRow, ToRow);
    return ColumnPass(ACol, FromRow, ToRow, CalcRangeIsReal(ToRow), cpMin);
}

double TAdvStringGrid::ColumnMax(int ACol, int FromRow, int ToRow) {
    DefaultCalcRange(FromRow, ToRow);
    return ColumnPass(ACol, FromRow, ToRow, CalcRangeIsReal(ToRow), cpMax);
}

double TAdvStringGrid::ColumnAvg(int ACol, int FromRow, int ToRow) {
    DefaultCalcRange(FromRow, ToRow);
    const int n = ToRow - FromRow + 1;
    return n <= 0 ? 0 : ColumnSum(ACol, FromRow, ToRow) / n;
}

double TAdvStringGrid::ColumnStdDev(int ACol, int FromRow, int ToRow) {
    DefaultCalcRange(FromRow, ToRow);
    const int n = ToRow - FromRow + 1;
    if (n <= 0) return 0;
    const double avg = ColumnAvg(ACol, FromRow, ToRow);
    const bool real = CalcRangeIsReal(ToRow);
    ExportNotification(esExportStart, FromRow);
    TPassEnd end{this};
    double sum = 0;
    for (int r = FromRow; r <= ToRow; ++r) {
        const double d = CalcValue(ACol, r, real) - avg;
        sum += d * d;
    }
    return std::sqrt(sum / n);
}

double TAdvStringGrid::ColumnDistinct(int ACol, int FromRow, int ToRow) {
    DefaultCalcRange(FromRow, ToRow);
    const bool real = CalcRangeIsReal(ToRow);
    ExportNotification(esExportStart, FromRow);
    TPassEnd end{this};
    QSet<String> texts;
    for (int r = FromRow; r <= ToRow; ++r) {
        texts.insert((real ? AllCells(ACol, r) : GetCellEx(ACol, r)).toUpper());
        ExportNotification(esExportNextRow, r);
    }
    return double(texts.size());
}

double TAdvStringGrid::ColumnCustomCalc(int ACol, int FromRow, int ToRow) {
    double res = 0;
    if (OnColumnCalc) OnColumnCalc(this, ACol, FromRow, ToRow, res);
    return res;
}

double TAdvStringGrid::CustomGroupCalc(int ACol, int FromRow, int ToRow) {
    double res = 0;
    if (OnGroupCalc) OnGroupCalc(this, ACol, FromRow, ToRow, res);
    return res;
}

bool TAdvStringGrid::FooterCalcValue(int ACol, int FromRow, int ToRow, bool Real, TColumnCalcType Type,
                                     double& Value) {
    switch (Type) {
        case acSUM: Value = ColumnPass(ACol, FromRow, ToRow, Real, cpSum); return true;
        case acAVG:
            Value =
                ToRow < FromRow ? 0 : ColumnPass(ACol, FromRow, ToRow, Real, cpSum) / (ToRow - FromRow + 1);
            return true;
        case acMIN: Value = ColumnPass(ACol, FromRow, ToRow, Real, cpMin); return true;
        case acMAX: Value = ColumnPass(ACol, FromRow, ToRow, Real, cpMax); return true;
        // Distinct and deviation read past the shown rows on their own.
        case acDISTINCT: Value = ColumnDistinct(ACol, FromRow, ToRow); return true;
        case acSTDDEV: Value = ColumnStdDev(ACol, FromRow, ToRow); return true;
        default: return false;
    }
}

// =============================================================================================
// Row statistics

double TAdvStringGrid::RowSum(int ARow, int FromCol, int ToCol) {
    double sum = 0;
    for (int c = FromCol; c <= ToCol; ++c) {
        if (IsMergedNonBaseCell(c, ARow)) continue;
        try {
            sum += GetFloats(c, ARow);
        } catch (const Exception&) {
        }
    }
    return sum;
}

double TAdvStringGrid::RowAvg(int ARow, int FromCol, int ToCol) {
    const int n = ToCol - FromCol + 1;
    return n <= 0 ? 0 : RowSum(ARow, FromCol, ToCol) / n;
}

double TAdvStringGrid::RowExtreme(int ARow, int FromCol, int ToCol, bool Max) {
    double result = GetFloats(FromCol, ARow);
    for (int c = FromCol; c <= ToCol; ++c) {
        try {
            const double v = GetFloats(c, ARow);
            result = Max ? std::max(result, v) : std::min(result, v);
        } catch (const Exception&) {
        }
    }
    return result;
}

double TAdvStringGrid::RowMin(int ARow, int FromCol, int ToCol) {
    return RowExtreme(ARow, FromCol, ToCol, false);
}

double TAdvStringGrid::RowMax(int ARow, int FromCol, int ToCol) {
    return RowExtreme(ARow, FromCol, ToCol, true);
}

// =============================================================================================
// Selection

void TAdvStringGrid::SelectCells(int FromCol, int FromRow, int ToCol, int ToRow) {
    SetSelection(TGridRect(FromCol, FromRow, ToCol, ToRow));
}

String TAdvStringGrid::SelectedText() {
    const TGridRect s = Selection();
    int left = std::min(s.Left, s.Right);
    int right = std::max(s.Left, s.Right);
    if (Options().count(goRowSelect) && FDragDropSettings->OleEntireRows()) {
        left = 0;
        right = ColCount() - 1;
    }
    std::vector<int> rows;
    if (FMouseActions->DisjunctRowSelect()) {
        for (int r = TBaseGrid::FixedRows(); r < RowCount(); ++r)
            if (RowSelectedForOps(r)) rows.push_back(r);
    } else {
        for (int r = std::min(s.Top, s.Bottom); r <= std::max(s.Top, s.Bottom); ++r) rows.push_back(r);
    }
    QStringList lines;
    for (int r : rows) {
        QStringList cells;
        for (int c = left; c <= right; ++c) {
            String text = GetCellEx(RealColIndex(c), r);
            if (CellTextType(text, EnableHTML) == ctkRTF) text = RichPlainText(text);
            if (ExcelClipboardFormat && CountLines(text, Multilinecells) > 1) text = CSVQuoteMultiLine(text);
            cells << text;
        }
        lines << cells.join(u'\t');
    }
    return lines.join(QStringLiteral("\r\n"));
}

// =============================================================================================
// Automatic numbering

void TAdvStringGrid::AutoNumberCol(int ACol) {
    if (RowCount() <= 0) return;
    const int fixedRows = TBaseGrid::FixedRows();
    const int last = RowCount() - FFixedFooters - 1;
    for (int r = fixedRows + AutoNumberStart; r <= last; ++r) {
        const int value = r + AutoNumberOffset - fixedRows + 1;
        SetInts(ACol, AutoNumberDirection == sdAscending ? r : fixedRows + last - r, value);
    }
}

void TAdvStringGrid::AutoNumberRow(int ARow) {
    if (ColCount() <= 0) return;
    const int fixedCols = TBaseGrid::FixedCols();
    const int last = ColCount() - FFixedRightCols - 1;
    for (int c = fixedCols + AutoNumberStart; c <= last; ++c) {
        const int value = c + AutoNumberOffset - fixedCols + 1;
        SetInts(AutoNumberDirection == sdAscending ? c : fixedCols + last - c, ARow, value);
    }
}

// =============================================================================================
// Sizing to the contents

void TAdvStringGrid::UpdateAutoColumnSize(int ACol, int& AWidth) {
    if (OnUpdateColumnSize) OnUpdateColumnSize(this, ACol, AWidth);
}

void TAdvStringGrid::SizeColToContents(int ACol, bool GrowOnly) {
    if (ACol < 0 || ACol >= ColCount()) return;
    const int rc = RealColIndex(ACol);
    int first = 0, last = RowCount() - 1;
    switch (FColumnSize->Rows) {
        case arNormal:
            first = TBaseGrid::FixedRows();
            last = RowCount() - FFixedFooters - 1;
            break;
        case arFixed: last = TBaseGrid::FixedRows() - 1; break;
        case arAll: break;
    }
    int widest = 0;
    for (int r = first; r <= last; ++r) {
        if (IsXMergedCell(rc, r)) continue;
        const TPoint graphic = GetCellGraphicSize(rc, r);
        int w = graphic.X + CalcCellTextSize(rc, ACol, r, false, false).cx;
        if (FControlLook->DropDownAlwaysVisible() && HasComboBox(rc, r)) w += 16;
        if (TCellGraphic* g = GetCellGraphic(rc, r); g && g->CellHAlign == haFull)
            w = graphic.X - 2 * (GridLineWidth() + 1) - XYOffset.X;
        widest = std::max(widest, w);
    }
    int needed = widest + TotalXOffset() + 2 * (GridLineWidth() + 1);
    if (GrowOnly && ColWidths(ACol) >= needed) return;
    UpdateAutoColumnSize(ACol, needed);
    SetColWidths(ACol, ClampToLimits(needed, MinColWidth, MaxColWidth));
}

void TAdvStringGrid::AutoSizeCol(int ACol, int Padding) {
    if (ACol < 0 || ACol >= ColCount()) return;
    SizeColToContents(ACol, SizeGrowOnly);
    if (Padding != 0) SetColWidths(ACol, ClampToLimits(ColWidths(ACol) + Padding, MinColWidth, MaxColWidth));
}

void TAdvStringGrid::AutoSizeColumns(bool DoFixedCols, int Padding) {
    const int first = DoFixedCols ? 0 : TBaseGrid::FixedCols();
    const int last = DoFixedCols ? ColCount() - 1 : ColCount() - FFixedRightCols - 1;
    for (int c = first; c <= last; ++c) AutoSizeCol(c, Padding);
}

void TAdvStringGrid::SizeRowToContents(int ARow, bool GrowOnly, int Extra) {
    if (ARow < 0 || ARow >= RowCount()) return;
    int tallest = 0;
    for (int c = 0; c < ColCount(); ++c) {
        const int rc = RealColIndex(c);
        if (IsYMergedCell(rc, ARow) || IsIgnoredColumn(rc)) continue;
        int textHeight = GetCellTextSize(rc, ARow, false, WordWrap()).cy;
        TPoint graphic;
        CalcCellGraphicSize(rc, ARow, graphic, Extra);
        int graphicHeight = graphic.Y;
        const TCellGraphic* g = GetCellGraphic(rc, ARow);
        const TCellType type = g ? g->CellType : ctEmpty;
        if (g && g->CellVAlign == vaFull) graphicHeight = textHeight == 0 ? DefaultRowHeight() : 0;
        if ((type == ctDataCheckBox || type == ctRowCheckBox) && graphicHeight > 0) textHeight = 0;
        int height = textHeight + graphicHeight;
        if (IsMergedNonBaseCell(rc, ARow)) height = 0;
        if (type == ctCheckBox || type == ctDataCheckBox || type == ctRowCheckBox || type == ctRadioButton)
            height = DefaultRowHeight();
        tallest = std::max(tallest, height);
    }
    const int needed = tallest + TotalYOffset() + 2 * GridLineWidth() + (XYOffsetTopLeftOnly ? 2 : 0);
    if (GrowOnly && RowHeights(ARow) >= needed) return;
    SetRowHeights(ARow, ClampToLimits(needed, MinRowHeight, MaxRowHeight));
}

void TAdvStringGrid::AutoSizeRow(int ARow, int Padding) {
    if (ARow < 0 || ARow >= RowCount()) return;
    SizeRowToContents(ARow, SizeGrowOnly, Padding);
    if (Padding != 0)
        SetRowHeights(ARow, ClampToLimits(RowHeights(ARow) + Padding, MinRowHeight, MaxRowHeight));
}

void TAdvStringGrid::AutoSizeRows(bool DoFixedRows, int Padding) {
    if (RowCount() <= 0) return;
    const int first = DoFixedRows ? 0 : TBaseGrid::FixedRows();
    ExportNotification(esExportStart, first);
    TPassEnd end{this};
    for (int r = first; r < RowCount(); ++r) {
        ExportNotification(esExportNextRow, r);
        if (WordWrap()) {
            AutoSizeRow(r, 0);
            if (Padding != 0)
                SetRowHeights(r, ClampToLimits(RowHeights(r) + Padding, MinRowHeight, MaxRowHeight));
        } else {
            SetRowHeightByLines(r, MaxLinesInRow(r), Padding);
        }
    }
    UpdateAlwaysShownScrollBars(false);
}

void TAdvStringGrid::SetRowHeightByLines(int ARow, int Lines, int Extra) {
    if (ARow < 0 || ARow >= RowCount()) return;
    TCanvas* canvas = Canvas();
    TFont savedFont;
    savedFont.Assign(canvas->Font());
    TBrush savedBrush;
    savedBrush.Assign(canvas->Brush());
    TGridDrawState state;
    const int c = std::min(TBaseGrid::FixedCols(), std::max(TotalColCount() - 1, 0));
    GetFontProperties(c, RealColIndex(c), ARow, state, canvas->Font(), canvas->Brush(), true);
    const int h = canvas->TextHeight("gh");
    canvas->Font()->Assign(&savedFont);
    canvas->Brush()->Assign(&savedBrush);
    SetRowHeights(ARow, ClampToLimits(Extra + Lines * (h + h / 8), MinRowHeight, MaxRowHeight));
}

void TAdvStringGrid::AutoSizeCells(bool DoFixedCells, int PaddingX, int PaddingY) {
    BeginUpdate();
    struct TEnd {
        TAdvStringGrid* G;
        ~TEnd() { G->EndUpdate(); }
    } end{this};
    const int firstRow = DoFixedCells ? 0 : TBaseGrid::FixedRows();
    for (int c = DoFixedCells ? 0 : TBaseGrid::FixedCols(); c < ColCount(); ++c) {
        const int rc = RealColIndex(c);
        int running = SizeGrowOnly ? ColWidths(c) : 0;
        for (int r = firstRow; r < RowCount(); ++r) {
            const TSize text = CalcCellTextSize(rc, c, r, false, false);
            const TPoint graphic = GetCellGraphicSize(rc, r);
            const int w = text.cx + graphic.X + PaddingX + XYOffset.X;
            const int h = text.cy + graphic.Y + PaddingY + XYOffset.Y;
            if (!IsXMergedCell(rc, r) && w > running) {
                const int cw = ClampToLimits(w, MinColWidth, MaxColWidth);
                if (cw > running) {
                    SetColWidths(c, cw);
                    running = cw;
                }
            }
            if (!IsYMergedCell(rc, r) && h > RowHeights(r)) {
                const int rh = ClampToLimits(h, MinRowHeight, MaxRowHeight);
                if (rh > RowHeights(r)) SetRowHeights(r, rh);
            }
        }
    }
}

// =============================================================================================
// Sizing the control and fitting the columns

void TAdvStringGrid::SizeToCols() {
    int w = 0;
    for (int c = 0; c < ColCount(); ++c) w += ColWidths(c);
    SetClientWidth(w);
}

void TAdvStringGrid::SizeToRows() {
    int h = 0;
    for (int r = 0; r < RowCount(); ++r) h += RowHeights(r);
    SetClientHeight(h);
}

void TAdvStringGrid::SizeToCells() {
    const TScrollStyle bars = ScrollBars();
    SetScrollBars(ssNone);
    SizeToCols();
    SizeToRows();
    SetScrollBars(bars);
}

void TAdvStringGrid::AutoFitColumns(bool DoFixedCells) {
    const int fixedCols = TBaseGrid::FixedCols();
    const int fixedRows = TBaseGrid::FixedRows();
    const bool vertBar =
        ScrollBarAlways() == saVert || (ScrollBars() != ssNone && VisibleRowCount() + fixedRows < RowCount());
    const int a = vertBar ? GetSystemMetrics(SM_CXVSCROLL) : 0;
    const int b = BorderStyle() == bsSingle ? (Ctl3D() ? 4 : 2) : 0;

    int first = 0, last = ColCount() - 1;
    int w = Width();
    if (!DoFixedCells) {
        first = fixedCols;
        last = ColCount() - FFixedRightCols - 1;
        for (int c = 0; c < ColCount(); ++c)
            if (c < first || c > last) w -= ColWidths(c);
    }
    int g = Options().count(goVertLine) ? (ColCount() - fixedCols - FFixedRightCols) * GridLineWidth() : 0;
    if (Options().count(goFixedVertLine) && DoFixedCells) g += fixedCols + FFixedRightCols;

    const int n = last - first + 1;
    if (n <= 0) return; // nothing to fit
    auto sumWidths = [&] {
        int s = 0;
        for (int c = first; c <= last; ++c) s += ColWidths(c);
        return s;
    };
    if (ColCount() < 2) {
        SetColWidths(0, Width() - a - 5);
    } else {
        const int s = sumWidths();
        if (s == w - a - b) return;
        if (s <= 0) return; // no width to scale from
        const double f = double(w - a - b - g) / s;
        double t = 0;
        for (int c = first; c <= last; ++c) t += std::nearbyint(ColWidths(c) * f);
        for (int c = first; c <= last; ++c) SetColWidths(c, int(std::nearbyint(ColWidths(c) * t / s)));
    }
    int r = w - (sumWidths() + a + b);
    if (n < r && n > 1) {
        for (int c = first; c <= last; ++c) SetColWidths(c, ColWidths(c) + r / n);
        r -= n * (r / n);
    }
    int widest = first;
    for (int c = first; c <= last; ++c)
        if (ColWidths(c) > ColWidths(widest)) widest = c;
    SetColWidths(widest, std::max(ColWidths(widest) + r, 0));
}

// =============================================================================================
// Exchanging columns and rows

void TAdvStringGrid::SwapColumns(int ACol1, int ACol2) {
    if (ACol1 == ACol2 || ACol1 < 0 || ACol2 < 0 || ACol1 >= ColCount() || ACol2 >= ColCount()) return;
    const int rc1 = RealColIndex(ACol1);
    const int rc2 = RealColIndex(ACol2);
    for (int r = 0; r < RowCount(); ++r) SwapCells(TPoint(rc1, r), TPoint(rc2, r));
    for (int i = 0; i < FGridItems->Count(); ++i) {
        TStrings* items = FGridItems->Items(i)->Items();
        if (std::max(rc1, rc2) >= items->Count()) continue;
        const String t = items->Strings(rc1);
        TObject* o = items->Objects(rc1);
        items->SetStrings(rc1, items->Strings(rc2));
        items->SetObjects(rc1, items->Objects(rc2));
        items->SetStrings(rc2, t);
        items->SetObjects(rc2, o);
    }
    const int w = ColWidths(ACol1);
    SetColWidths(ACol1, ColWidths(ACol2));
    SetColWidths(ACol2, w);
    FSortSettings->SetColumn(Exchanged(FSortSettings->Column(), ACol1, ACol2));
    for (int i = 0; i < FControlList->Count(); ++i) {
        TControlItem* ctl = FControlList->GetControl(i);
        ctl->X = Exchanged(ctl->X, rc1, rc2);
    }
    CellControlsUpdate(false);
    Invalidate();
}

void TAdvStringGrid::SwapRows(int ARow1, int ARow2) {
    if (ARow1 == ARow2 || ARow1 < 0 || ARow2 < 0 || ARow1 >= RowCount() || ARow2 >= RowCount()) return;
    for (int c = 0; c < TotalColCount(); ++c) SwapCells(TPoint(c, ARow1), TPoint(c, ARow2));
    const int h = RowHeights(ARow1);
    SetRowHeights(ARow1, RowHeights(ARow2));
    SetRowHeights(ARow2, h);
    const int real1 = RealRowIndex(ARow1);
    const int real2 = RealRowIndex(ARow2);
    for (int i = 0; i < FControlList->Count(); ++i) {
        TControlItem* ctl = FControlList->GetControl(i);
        ctl->Y = Exchanged(ctl->Y, real1, real2);
    }
    CellControlsUpdate(false);
    Invalidate();
}

void TAdvStringGrid::SortSwapRows(int ARow1, int ARow2) {
    ++Swaps;
    if (ARow1 < 0 || ARow2 < 0 || ARow1 >= RowCount() || ARow2 >= RowCount()) return;
    if (ARow1 < FSortRowXRef->Count() && ARow2 < FSortRowXRef->Count()) FSortRowXRef->Exchange(ARow1, ARow2);
    if (FSortSettings->SingleColumn()) {
        const int c = FSortSettings->Column();
        if (c >= 0 && c < TotalColCount()) SwapCells(TPoint(c, ARow1), TPoint(c, ARow2));
        return;
    }
    // Whole rows change places in the cell store at once (hidden columns included).
    SwapStoredRows(ARow1, ARow2);
    if (RowHeights(ARow1) != RowHeights(ARow2)) {
        const int h = RowHeights(ARow1);
        SetRowHeights(ARow1, RowHeights(ARow2));
        SetRowHeights(ARow2, h);
    }
    if (FMouseActions->DisjunctRowSelect() && FNavigation->MoveRowOnSort) {
        const int f1 = NumHiddenRows() > 0 ? RealRowIndex(ARow1) : ARow1;
        const int f2 = NumHiddenRows() > 0 ? RealRowIndex(ARow2) : ARow2;
        const int need = std::max(f1, f2) + 1;
        if (FSelectedRowList->Count() < need) FSelectedRowList->SetCount(need);
        FSelectedRowList->Exchange(f1, f2);
    }
    if (FShowModified->Enabled() && ARow1 < FModifiedRows->Count() && ARow2 < FModifiedRows->Count())
        FModifiedRows->Exchange(ARow1, ARow2);
    SortRow = Exchanged(SortRow, ARow1, ARow2);
}
