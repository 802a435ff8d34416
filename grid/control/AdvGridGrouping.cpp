// TAdvStringGrid: grouping rows by the values of a column. Each run of equal values gets a header
// row before it, which becomes a tree node over the run; an optional summary row follows each
// group; the grouped column leaves the grid until the rows are ungrouped. A second level groups
// the rows of each group again (sub-groups, whose headers remember their column in the node
// graphic's CellVar).
#include "AdvGrid.h"

#include "GridUpdateScope.h"

#include <algorithm>

namespace {

// The value before the first row: no cell text equals it.
const String NoValue = QStringLiteral(u"\u00FF\u00FE");

} // namespace

// =============================================================================================
// Looks of header and summary rows

void TAdvStringGrid::SetGroupRowLook(int ARow, bool Header) {
    const TGrouping* g = FGrouping.get();
    const TColor color = Header ? g->HeaderColor : g->SummaryColor;
    const TColor colorTo = Header ? g->HeaderColorTo : g->SummaryColorTo;
    const TColor textColor = Header ? g->HeaderTextColor : g->SummaryTextColor;
    if (color != clNone) SetRowColor(ARow, color);
    if (colorTo != clNone) SetRowColorTo(ARow, colorTo);
    if (textColor != clNone) SetRowFontColor(ARow, textColor);
}

void TAdvStringGrid::MergeGroupRow(int ARow, int FromCol, bool Header) {
    const int span = ColCount() - FromCol;
    if (span < 1 || FromCol < 0) return;
    MergeCells(FromCol, ARow, span, 1);
    const TGrouping* g = FGrouping.get();
    const TColor color = Header ? g->HeaderColor : g->SummaryColor;
    const TColor colorTo = Header ? g->HeaderColorTo : g->SummaryColorTo;
    const TColor textColor = Header ? g->HeaderTextColor : g->SummaryTextColor;
    if (color != clNone) SetColors(FromCol, ARow, color);
    if (colorTo != clNone) SetColorsTo(FromCol, ARow, colorTo);
    if (textColor != clNone) SetFontColors(FromCol, ARow, textColor);
}

// =============================================================================================
// Grouping

void TAdvStringGrid::SetGroupColumn(int Value) {
    if (Value == -1)
        UnGroup();
    else if (Value > 0)
        Group(Value);
}

void TAdvStringGrid::Group(int ACol) {
    if (ACol < FixedCols() || ACol >= TotalColCount()) return;
    if (FGroupColumn != -1) UnGroup();
    if (RowCount() - FFixedFooters <= FixedRows()) return;
    TGridUpdateScope update(this);
    // The search panel lays itself out again once it is part of the grid.
    FGroupColumn = ACol;
    FGroupWidth = AllColWidths(ACol);
    FGroupCaption = FixedRows() > 0 ? Cells(ACol, 0) : String();
    FGroupFooter = FFixedFooters > 0 ? Cells(ACol, RowCount() - 1) : String();
    if (FSortSettings->AutoSortForGrouping()) {
        FSortSettings->SetColumn(ACol);
        QSort();
    }
    const TGrouping* gs = FGrouping.get();
    // The caption stands in column 1, or in column 2 while column 1 is the one grouped (it is
    // column 1 again once that column has left).
    const int captionCol = ACol == 1 ? 2 : 1;
    int header = -1;
    // Makes the open header a node over its rows up to R; with summaries the previous group's
    // summary row goes before the header first.
    auto closeGroup = [&](int& R) {
        if (header > FixedRows() && gs->Summary) {
            InsertRows(header, 1, true);
            MarkSummaryRow(RealRowIndex(header));
            if (!gs->MergeSummary) SetGroupRowLook(header, false);
            ++header;
            ++R;
        }
        AddNode(RealRowIndex(header), R - header);
    };
    String previous = NoValue;
    int r = FixedRows();
    while (r <= RowCount() - FFixedFooters - 1) {
        const String value = Cells(ACol, r);
        if (value != previous) {
            if (header >= 0) closeGroup(r);
            InsertRows(r, 1, true);
            SetCells(captionCol, r, value);
            if (!gs->MergeHeader) SetGroupRowLook(r, true);
            header = r;
            ++r;
        }
        if (r < RowCount()) previous = Cells(ACol, r);
        ++r;
    }
    if (header >= 0)
        closeGroup(r);
    else
        AddNode(RealRowIndex(FixedRows()), RowCount() - FFixedFooters - FixedRows());
    if (gs->Summary) {
        InsertRows(r, 1, true);
        MarkSummaryRow(RealRowIndex(r));
        if (!gs->MergeSummary) SetGroupRowLook(r, false);
    }
    RemoveCols(ACol, 1);
    if (gs->MergeHeader || (gs->MergeSummary && gs->Summary))
        for (int b = FixedRows(); b < RowCount() - FFixedFooters; ++b) {
            if (gs->MergeHeader && IsNode(b))
                MergeGroupRow(b, 1, true);
            else if (gs->MergeSummary && gs->Summary && IsSummary(b))
                MergeGroupRow(b, 1, false);
        }
    if (FCellNode->ExpandOne)
        for (int b = FixedRows(); b < RowCount(); ++b)
            if (IsNode(b)) {
                ExpandNode(RealRowIndex(b));
                break;
            }
    if (Col() >= ColCount() || Row() >= RowCount()) MoveColRow(FixedCols(), FixedRows(), true, false);
    if (FixedRows() < RowCount()) SetRow(FixedRows());
}

void TAdvStringGrid::UnGroup() {
    if (FGroupColumn <= 0) return;
    TGridUpdateScope update(this);
    struct TRestoreExpandOne {
        TCellNode* Node;
        bool Was;
        ~TRestoreExpandOne() { Node->ExpandOne = Was; }
    } restore{FCellNode.get(), FCellNode->ExpandOne};
    FCellNode->ExpandOne = false;
    ExpandAll();
    // The header and summary rows leave below; their merges go first so that the new column
    // lands in no merged area.
    for (int r = FixedRows(); r < RowCount(); ++r)
        if ((IsNode(r) || IsSummary(r)) && IsMergedCell(1, r)) SplitCells(1, r);
    const int col = FGroupColumn;
    InsertCols(col, 1);
    SetAllColWidths(col, FGroupWidth);
    if (FixedRows() > 0) SetCells(col, 0, FGroupCaption);
    if (FFixedFooters > 0) SetCells(col, RowCount() - 1, FGroupFooter);
    const int captionCol = col == 1 ? 2 : 1;
    String value;
    for (int r = FixedRows(); r <= RowCount() - FFixedFooters - 1;) {
        if (!IsNode(r)) {
            if (!IsSummary(r)) SetCells(col, r, value);
            ++r;
            continue;
        }
        // The group's summary row and its header leave with their cell properties (the colours
        // grouping gave them go too).
        const int summary = r + GetNodeSpan(r);
        if (IsSummary(summary)) DeleteRowRange(summary, 1);
        value = Cells(captionCol, r);
        RemoveNode(RealRowIndex(r));
        DeleteRowRange(r, 1);
    }
    FGroupColumn = -1;
    Invalidate();
}

// =============================================================================================
// Sub-groups

void TAdvStringGrid::SubGroup(int ACol) {
    // The captions go into the column after ACol, which must exist; the rows must be grouped.
    if (ACol < FixedCols() || ACol + 1 >= TotalColCount() || FGroupColumn == -1) return;
    TGridUpdateScope update(this);
    const TGrouping* gs = FGrouping.get();
    const int captionCol = ACol + 1;
    auto headerLook = [&](int ARow) {
        if (gs->MergeHeader)
            MergeGroupRow(ARow, captionCol, true);
        else
            SetGroupRowLook(ARow, true);
    };
    auto makeSubNode = [&](int ARow, int Span) {
        AddNode(RealRowIndex(ARow), Span);
        if (TCellGraphic* g = NodeGraphic(ARow)) g->CellVar = ACol;
    };
    auto groupRow = [&](int ARow) { return IsNode(ARow) || IsSummary(ARow); };
    String previous = NoValue;
    int sub = -1;
    int r = FixedRows() + 1;
    while (r < RowCount() - FFixedFooters) {
        if (Cells(ACol, r) != previous || groupRow(r)) {
            if (sub >= 0 && !groupRow(sub)) makeSubNode(sub, r - sub);
            if (!groupRow(r)) {
                InsertChildRow(RealRowIndex(r), 0);
                SetCells(captionCol, r, Cells(ACol, r + 1));
                headerLook(r);
            }
            sub = r;
            ++r;
        }
        if (r < RowCount() - FFixedFooters && !groupRow(r - 1)) {
            previous = Cells(ACol, r);
            SetCells(ACol, r, String());
            ++r;
        } else {
            previous = NoValue;
        }
    }
    if (sub >= 0 && IsSummary(sub)) return;
    if (sub >= 0) {
        makeSubNode(sub, r - sub);
        headerLook(sub);
    }
    if (gs->Summary) {
        InsertRows(r, 1, true);
        MarkSummaryRow(RealRowIndex(r));
        if (gs->MergeSummary)
            MergeGroupRow(r, captionCol, false);
        else
            SetGroupRowLook(r, false);
    }
    SetRow(FixedRows());
}

void TAdvStringGrid::SubUnGroup(int ACol) {
    if (ACol < 0) return;
    TGridUpdateScope update(this);
    ExpandAll();
    String value;
    for (int r = FixedRows(); r <= RowCount() - FFixedFooters - 1;) {
        TCellGraphic* g = NodeGraphic(r);
        if (!g) {
            if (!IsSummary(r)) SetCells(ACol, r, value);
            ++r;
        } else if (g->CellVar.toInt() == ACol) {
            value = Cells(ACol + 1, r);
            const int real = RealRowIndex(r);
            RemoveNode(real);
            RemoveChildRow(real);
        } else {
            ++r;
        }
    }
}

// =============================================================================================
// Per-group results

void TAdvStringGrid::GroupCalc(int ACol, int Method) {
    for (int n = FixedRows(); n < RowCount();) {
        TCellGraphic* g = NodeGraphic(n);
        if (!g || g->CellBoolean) {
            ++n;
            continue;
        }
        const int span = CoveredRows(n, g);
        // The summary row after the group when there is one, else the header.
        const int target = FGrouping->Summary && IsSummary(n + span) ? n + span : n;
        const int from = n + 1;
        const int to = n + span - 1;
        // A header without rows has only a count.
        if (to < from && Method != 5) {
            n += span;
            continue;
        }
        switch (Method) {
            case 1: SetFloats(ACol, target, ColumnSum(ACol, from, to)); break;
            case 2: SetFloats(ACol, target, ColumnAvg(ACol, from, to)); break;
            case 3: SetFloats(ACol, target, ColumnMin(ACol, from, to)); break;
            case 4: SetFloats(ACol, target, ColumnMax(ACol, from, to)); break;
            case 5: SetInts(ACol, target, span - 1); break;
            case 6: SetFloats(ACol, target, CustomGroupCalc(ACol, from, to)); break;
            case 7: SetFloats(ACol, target, ColumnDistinct(ACol, from, to)); break;
            case 8: SetFloats(ACol, target, ColumnStdDev(ACol, from, to)); break;
            default: break;
        }
        // Nodes nested in the group are not visited.
        n += span;
    }
}

void TAdvStringGrid::GroupCalcWithFooter(int ACol, int Method, TColumnCalcType CalcType) {
    GroupCalc(ACol, Method);
    if (FooterRowShown()) GetCellProperties(ACol, RowCount() - 1)->SetCalcType(CalcType);
}

void TAdvStringGrid::GroupSum(int ACol) {
    GroupCalcWithFooter(ACol, 1, acSUM);
}

void TAdvStringGrid::GroupAvg(int ACol) {
    GroupCalcWithFooter(ACol, 2, acAVG);
}

void TAdvStringGrid::GroupMin(int ACol) {
    GroupCalcWithFooter(ACol, 3, acMIN);
}

void TAdvStringGrid::GroupMax(int ACol) {
    GroupCalcWithFooter(ACol, 4, acMAX);
}

void TAdvStringGrid::GroupCount(int ACol) {
    GroupCalcWithFooter(ACol, 5, acCOUNT);
}
