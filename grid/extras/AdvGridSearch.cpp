// TAdvStringGrid: search. The incremental lookup of the sort column, the cell finder with its
// option set, search and replace, and the highlight ("hi") and mark ("e") tags wrapped around
// found text inside cells.
#include "AdvGrid.h"
#include "GridUtil.h"
#include "MarkupText.h"

#include <set>
#include <utility>

namespace {

const String HiTag = QStringLiteral("hi");
const String MarkTag = QStringLiteral("e");

// Whether a text holds an opening or closing tag of that name (any case).
bool HasTag(const String& S, const String& Tag) {
    if (!S.contains(u'<')) return false;
    return S.contains(QLatin1Char('<') + Tag + QLatin1Char('>'), Qt::CaseInsensitive) ||
           S.contains(QStringLiteral("</") + Tag + QLatin1Char('>'), Qt::CaseInsensitive);
}

// The tags taken out of a text; a text without them is left exactly as it is, so that a text
// that was never tagged keeps its "&lt;" and "&gt;".
String RemoveTags(const String& S, const String& Tag) {
    return HasTag(S, Tag) ? UnhighlightInHTML(S, Tag) : S;
}

// A cell text highlighted in place is stored HTML-encoded with the tags; taking the tags out
// before decoding gives back exactly the text it was, also when that text holds entities or
// something that reads like the tag.
String RemoveCellTags(const String& S, const String& Tag) {
    if (!HasTag(S, Tag)) return S;
    return DecodeHTMLEntities(UnhighlightInHTML(S, Tag), false);
}

// Clears FindBusy however the walk ends (an event handler may raise).
struct TBusyGuard {
    bool& Flag;
    explicit TBusyGuard(bool& AFlag) : Flag(AFlag) { Flag = true; }
    ~TBusyGuard() { Flag = false; }
};

} // namespace

// The options of one walk, read once.
struct TAdvStringGrid::TFindWalk {
    bool Wide, MatchCase, MatchFull, MatchRegular, MatchStart, IgnoreHTML, HiddenCols, HiddenRows;
    bool EmptyCell; // the search text is two double quotes: an empty cell matches
};

// =============================================================================================
// Incremental lookup

int TAdvStringGrid::Search(const String& S) {
    if (RowCount() < 2) return -1;
    int col;
    if (!SortSettings()->Show())
        col = FixedCols();
    else if (SortSettings()->IndexShow())
        col = SortIndexes()->Count() > 0 ? SortIndexes()->SortColumns(0) : FixedCols();
    else
        col = SortSettings()->Column();
    if (col < 0 || col >= TotalColCount()) return -1;
    for (int r = FixedRows(); r < RowCount(); ++r)
        if (AnsiUpperCase(StrippedCells(col, r).left(S.size())) == S) return r;
    return -1;
}

// =============================================================================================
// The finder

TPoint TAdvStringGrid::Find(TPoint StartCell, const String& S, const TFindParams& FindParams) {
    ExportNotification(esExportStart, -1);
    const TPoint found = FindInGrid(StartCell, S, FindParams, false);
    ExportNotification(found.X < 0 ? esExportDone : esExportFail, -1);
    if (FindParams.contains(fnAutoGoto)) {
        // Keep a found row near the bottom clear of the floating footer.
        const int a = FooterRowShown() ? 2 : 0;
        if (TopRow() + VisibleRowCount() - a - 2 < Row() && VisibleRowCount() + FixedRows() + a < RowCount())
            SetTopRow(TopRow() + a + 1);
    }
    return found;
}

TPoint TAdvStringGrid::FindWide(TPoint StartCell, const String& S, const TFindParams& FindParams) {
    ExportNotification(esExportStart, -1);
    const TPoint found = FindInGrid(StartCell, S, FindParams, true);
    ExportNotification(found.X < 0 ? esExportDone : esExportFail, -1);
    return found;
}

TPoint TAdvStringGrid::FindFirst(const String& S, const TFindParams& FindParams) {
    SearchCell = Find(TPoint(-1, -1), S, FindParams);
    return SearchCell;
}

TPoint TAdvStringGrid::FindNext() {
    SearchCell = Find(SearchCell, SearchCache, FFindParams);
    return SearchCell;
}

TPoint TAdvStringGrid::FindInGrid(TPoint StartCell, const String& S, const TFindParams& P, bool Wide) {
    TPoint result(-1, -1);
    FFindParams = P;
    TBusyGuard busy(FindBusy);
    const bool matchCase = P.contains(fnMatchCase);
    SearchCache = matchCase ? S : AnsiUpperCase(S);

    if (ColCount() == FixedCols() || ColCount() == 0 || RowCount() + NumHiddenRows() == FixedRows() ||
        RowCount() == 0)
        return result;

    const TFindWalk w{Wide,
                      matchCase,
                      P.contains(fnMatchFull),
                      P.contains(fnMatchRegular),
                      P.contains(fnMatchStart),
                      P.contains(fnIgnoreHTMLTags),
                      P.contains(fnIncludeHiddenColumns),
                      P.contains(fnIncludeHiddenRows),
                      SearchCache == QStringLiteral("\"\"")};
    const bool leftRight = P.contains(fnDirectionLeftRight);
    const bool backward = P.contains(fnBackward);

    // Bounds.
    int left, right, top, bottom;
    if (P.contains(fnIncludeFixed)) {
        left = 0;
        right = ColCount() - 1;
        top = 0;
        bottom = RowCount() - 1;
    } else {
        left = FixedCols();
        right = ColCount() - FixedRightCols() - 1;
        top = FixedRows();
        bottom = RowCount() - FixedFooters() - 1;
    }
    if (P.contains(fnSelectedCells)) {
        const TGridRect sel = Selection();
        left = sel.Left;
        right = sel.Right;
        top = sel.Top;
        bottom = sel.Bottom;
    }
    if (w.HiddenCols) right += NumHiddenColumns();
    if (w.HiddenRows) bottom += NumHiddenRows();

    // One step on from a cell in walk order, wrapping to the first (or last) cell.
    auto step = [&](int& x, int& y) {
        if (leftRight) {
            if (!backward) {
                if (x < right)
                    ++x;
                else if (y < bottom)
                    x = left, ++y;
                else
                    x = left, y = top;
            } else {
                if (x > left)
                    --x;
                else if (y > top)
                    x = right, --y;
                else
                    x = right, y = bottom;
            }
        } else {
            if (!backward) {
                if (y < bottom)
                    ++y;
                else if (x < right)
                    y = top, ++x;
                else
                    x = left, y = top;
            } else {
                if (y > top)
                    --y;
                else if (x > left)
                    y = bottom, --x;
                else
                    x = right, y = bottom;
            }
        }
    };

    int x, y;
    const bool fromStart = StartCell.X == -1 && StartCell.Y == -1;
    if (fromStart) {
        x = backward ? right : left;
        y = backward ? bottom : top;
    } else {
        x = StartCell.X;
        y = StartCell.Y;
        step(x, y);
    }

    // Restrictions. The current row and column are display indexes; the walk over hidden rows
    // or columns counts real ones.
    const int curRow = w.HiddenRows ? RealRowIndex(Row()) : Row();
    const int curCol = w.HiddenCols ? RealColIndex(Col()) : Col();
    if (P.contains(fnFindInCurrentRow)) y = top = bottom = curRow;
    if (P.contains(fnFindInPresetRow)) y = top = bottom = FindRow;
    if (P.contains(fnFindInCurrentCol)) x = left = right = curCol;
    if (P.contains(fnFindInPresetCol)) x = left = right = FindCol;
    // A restriction across the walk's outer direction would bring the walk back to the cell it
    // starts after; it moves on within the restricted bounds instead.
    if (!fromStart && x == StartCell.X && y == StartCell.Y) step(x, y);

    // Nothing outside the cells: a preset row or column out of range finds nothing.
    const int maxCol = TotalColCount() - 1;
    const int maxRow = w.HiddenRows ? RowCount() + NumHiddenRows() - 1 : RowCount() - 1;
    left = std::max(left, 0);
    top = std::max(top, 0);
    right = std::min(right, maxCol);
    bottom = std::min(bottom, maxRow);

    const int d = backward ? -1 : 1;
    bool found = false;
    if (leftRight) {
        while (!found && y >= top && y <= bottom) {
            while (x >= left && x <= right) {
                ExportNotification(esExportNewRow, y);
                if (!IsIgnoredColumn(x) && MatchFindCell(w, x, y)) {
                    found = true;
                    break;
                }
                x += d;
            }
            if (found) break;
            x = backward ? right : left;
            y += d;
        }
    } else {
        while (!found && x >= left && x <= right) {
            while (y >= top && y <= bottom) {
                ExportNotification(esExportNewRow, y);
                if (MatchFindCell(w, x, y)) {
                    found = true;
                    break;
                }
                y += d;
            }
            if (found) break;
            y = backward ? bottom : top;
            x += d;
        }
    }
    if (!found) return result;

    SearchCell = TPoint(x, y);
    result = SearchCell;
    if (P.contains(fnAutoGoto)) {
        int r = y;
        if (w.HiddenRows && NumHiddenRows() > 0) {
            if (IsHiddenRow(r) && NumNodes() > 0) {
                const int node = FindNodeOfRow(r);
                if (node >= 0) ExpandNode(RealRowIndex(node));
            }
            r = IsHiddenRow(r) ? -1 : DisplRowIndex(r);
        }
        int c = x;
        if (w.HiddenCols) c = IsHiddenColumn(x) ? -1 : DisplColIndex(x);
        // The current cell is a data cell: a fixed or hidden one is reported, not moved to.
        const bool rowOk = r >= TBaseGrid::FixedRows() && r < RowCount();
        const bool colOk = c >= TBaseGrid::FixedCols() && c < ColCount();
        if (rowOk) {
            if (MouseActions()->DisjunctRowSelect()) {
                ClearRowSelect();
                SetRowSelect(r, true);
                SetRow(r);
            } else {
                SetRow(r);
                if (colOk) SetCol(c);
            }
        }
    }
    return result;
}

bool TAdvStringGrid::MatchFindCell(const TFindWalk& W, int X, int Y) {
    const int c = W.HiddenCols ? X : RealColIndex(X);
    String text = W.HiddenRows ? AllCells(c, Y) : GetCellEx(c, Y);
    if (W.Wide) text = UnpackWideText(text);
    if (!W.MatchCase) text = AnsiUpperCase(text);
    if (W.IgnoreHTML) text = HTMLToText(text);
    if (W.EmptyCell) return text.isEmpty();
    if (W.MatchRegular) return MatchFilterCondition(SearchCache, text, W.MatchCase);
    // The position test: an empty search text stands nowhere.
    if (SearchCache.isEmpty()) return false;
    if (W.MatchFull) return text == SearchCache;
    if (W.MatchStart) return text.startsWith(SearchCache);
    return text.contains(SearchCache);
}

int TAdvStringGrid::FindNodeOfRow(int ARow) {
    // The shown row just above the gap that holds the hidden row; a collapsed node there covers
    // the rows hidden right after it (nested collapsed nodes lie inside its span).
    const int d = DisplRowIndex(ARow) - 1;
    if (d < FixedRows() || d >= RowCount() || !IsNode(d) || !GetNodeState(d)) return -1;
    return d;
}

// =============================================================================================
// Replace

int TAdvStringGrid::Replace(const String& OrigStr, const String& NewStr, const TFindParams& FindParams) {
    if (OrigStr.isEmpty()) return 0;
    const bool hiddenRows = FindParams.contains(fnIncludeHiddenRows);
    const bool hiddenCols = FindParams.contains(fnIncludeHiddenColumns);
    // A rewritten cell may match again (the new text holds the old one, or the match was not
    // a literal occurrence); the walk wraps after the last cell, so each cell is taken once.
    std::set<std::pair<int, int>> done;
    int count = 0;
    TPoint cur(-1, -1);
    while (true) {
        cur = Find(cur, OrigStr, FindParams);
        if (cur.X < 0 || !done.insert({cur.X, cur.Y}).second) break;
        const int c = hiddenCols ? cur.X : RealColIndex(cur.X);
        const String text = hiddenRows ? AllCells(c, cur.Y) : GetCellEx(c, cur.Y);
        const String replaced = StringReplace(text, OrigStr, NewStr, {rfReplaceAll, rfIgnoreCase});
        if (hiddenRows)
            SetAllCells(c, cur.Y, replaced);
        else
            SetCellEx(c, cur.Y, replaced);
        if (ShowModified()->Enabled()) {
            const int r = hiddenRows ? DisplRowIndex(cur.Y) : cur.Y;
            if (!hiddenRows || !IsHiddenRow(cur.Y)) SetRowModified(r, true);
        }
        ++count;
    }
    return count;
}

// =============================================================================================
// Highlight and mark tags

String TAdvStringGrid::HilightText(bool DoCase, const String& S, const String& Text) {
    return HighlightInHTML(S, Text, HiTag, DoCase);
}

String TAdvStringGrid::MarkText(bool DoCase, const String& S, const String& Text) {
    return HighlightInHTML(S, Text, MarkTag, DoCase);
}

String TAdvStringGrid::UnHilightText(const String& S) {
    return RemoveTags(S, HiTag);
}

String TAdvStringGrid::UnMarkText(const String& Text) {
    return RemoveTags(Text, MarkTag);
}

void TAdvStringGrid::HilightInRange(const String& HiText, const String& Tag, int Top, int Left, int Bottom,
                                    int Right, bool DoCase) {
    if (HiText.isEmpty()) return;
    const String hi = EncodeHTMLEntities(HiText, false);
    Left = std::max(Left, 0);
    Top = std::max(Top, 0);
    Right = std::min(Right, TotalColCount() - 1);
    Bottom = std::min(Bottom, RowCount() - 1);
    const bool displText = Assigned(OnGetDisplText);
    for (int r = Top; r <= Bottom; ++r)
        for (int c = Left; c <= Right; ++c) {
            if (!IsBaseCell(c, r)) continue;
            const String stored = displText ? GetCellEx(c, r) : Cells(c, r);
            // Highlighting a highlighted cell again starts from its plain text.
            const String plain = RemoveCellTags(stored, Tag);
            const String encoded = EncodeHTMLEntities(plain, false);
            const String tagged = HighlightInHTML(encoded, hi, Tag, DoCase);
            // Only a cell with an occurrence is rewritten: the others keep their text as it is.
            if (tagged != encoded)
                SetCellEx(c, r, tagged);
            else if (plain != stored)
                SetCellEx(c, r, plain);
        }
}

void TAdvStringGrid::UnHilightInRange(const String& Tag, int Left, int Top, int Right, int Bottom) {
    Left = std::max(Left, 0);
    Top = std::max(Top, 0);
    Right = std::min(Right, TotalColCount() - 1);
    Bottom = std::min(Bottom, RowCount() - 1);
    for (int r = Top; r <= Bottom; ++r)
        for (int c = Left; c <= Right; ++c) {
            if (!IsBaseCell(c, r)) continue;
            const String stored = Cells(c, r);
            if (HasTag(stored, Tag)) SetCellEx(c, r, RemoveCellTags(stored, Tag));
        }
}

// The ranges: rows and columns without the fixed ones unless DoFixed; the removal of a row or
// the whole grid also reaches the hidden columns kept after the shown ones.
namespace {

struct TSpan {
    int From, To;
};

// Rows 0 .. RowCount - 1, or the data rows without the footer rows.
TSpan RowSpan(TAdvStringGrid* G, bool DoFixed) {
    return DoFixed ? TSpan{0, G->RowCount() - 1}
                   : TSpan{G->FixedRows(), G->RowCount() - G->FixedFooters() - 1};
}

// Columns 0 .. ColCount - 1, or the data columns without the right fixed ones; Hidden more at
// the right end of each.
TSpan ColSpan(TAdvStringGrid* G, bool DoFixed, int Hidden) {
    return DoFixed ? TSpan{0, G->ColCount() + Hidden - 1}
                   : TSpan{G->FixedCols(), G->ColCount() + Hidden - G->FixedRightCols() - 1};
}

} // namespace

void TAdvStringGrid::HilightInCell(bool DoCase, int Col, int Row, const String& HiText) {
    HilightInRange(HiText, HiTag, Row, Col, Row, Col, DoCase);
}

void TAdvStringGrid::MarkInCell(bool DoCase, int Col, int Row, const String& HiText) {
    HilightInRange(HiText, MarkTag, Row, Col, Row, Col, DoCase);
}

void TAdvStringGrid::HilightInCol(bool DoFixed, bool DoCase, int Col, const String& HiText) {
    const TSpan rows = RowSpan(this, DoFixed);
    HilightInRange(HiText, HiTag, rows.From, Col, rows.To, Col, DoCase);
}

void TAdvStringGrid::MarkInCol(bool DoFixed, bool DoCase, int Col, const String& HiText) {
    const TSpan rows = RowSpan(this, DoFixed);
    HilightInRange(HiText, MarkTag, rows.From, Col, rows.To, Col, DoCase);
}

void TAdvStringGrid::HilightInRow(bool DoFixed, bool DoCase, int Row, const String& HiText) {
    const TSpan cols = ColSpan(this, DoFixed, 0);
    HilightInRange(HiText, HiTag, Row, cols.From, Row, cols.To, DoCase);
}

void TAdvStringGrid::MarkInRow(bool DoFixed, bool DoCase, int Row, const String& HiText) {
    const TSpan cols = ColSpan(this, DoFixed, 0);
    HilightInRange(HiText, MarkTag, Row, cols.From, Row, cols.To, DoCase);
}

// The highlight reaches the hidden columns (not with DoFixed), the mark does not.
void TAdvStringGrid::HilightInGrid(bool DoFixed, bool DoCase, const String& HiText) {
    const TSpan rows = RowSpan(this, DoFixed);
    const TSpan cols = ColSpan(this, DoFixed, DoFixed ? 0 : NumHiddenColumns());
    HilightInRange(HiText, HiTag, rows.From, cols.From, rows.To, cols.To, DoCase);
}

void TAdvStringGrid::MarkInGrid(bool DoFixed, bool DoCase, const String& HiText) {
    const TSpan rows = RowSpan(this, DoFixed);
    const TSpan cols = ColSpan(this, DoFixed, 0);
    HilightInRange(HiText, MarkTag, rows.From, cols.From, rows.To, cols.To, DoCase);
}

void TAdvStringGrid::UnHilightInCell(int Col, int Row) {
    UnHilightInRange(HiTag, Col, Row, Col, Row);
}

void TAdvStringGrid::UnMarkInCell(int Col, int Row) {
    UnHilightInRange(MarkTag, Col, Row, Col, Row);
}

void TAdvStringGrid::UnHilightInCol(bool DoFixed, int Col) {
    const TSpan rows = RowSpan(this, DoFixed);
    UnHilightInRange(HiTag, Col, rows.From, Col, rows.To);
}

void TAdvStringGrid::UnMarkInCol(bool DoFixed, int Col) {
    const TSpan rows = RowSpan(this, DoFixed);
    UnHilightInRange(MarkTag, Col, rows.From, Col, rows.To);
}

void TAdvStringGrid::UnHilightInRow(bool DoFixed, int Row) {
    const TSpan cols = ColSpan(this, DoFixed, NumHiddenColumns());
    UnHilightInRange(HiTag, cols.From, Row, cols.To, Row);
}

void TAdvStringGrid::UnMarkInRow(bool DoFixed, int Row) {
    const TSpan cols = ColSpan(this, DoFixed, NumHiddenColumns());
    UnHilightInRange(MarkTag, cols.From, Row, cols.To, Row);
}

void TAdvStringGrid::UnHilightInGrid(bool DoFixed) {
    const TSpan rows = RowSpan(this, DoFixed);
    const TSpan cols = ColSpan(this, DoFixed, NumHiddenColumns());
    UnHilightInRange(HiTag, cols.From, rows.From, cols.To, rows.To);
}

void TAdvStringGrid::UnMarkInGrid(bool DoFixed) {
    const TSpan rows = RowSpan(this, DoFixed);
    const TSpan cols = ColSpan(this, DoFixed, NumHiddenColumns());
    UnHilightInRange(MarkTag, cols.From, rows.From, cols.To, rows.To);
}
