// TAdvStringGrid: copy, cut and paste through the clipboard. Text travels as a block (cells
// separated by TAB, rows by CR LF, a cell holding CR quoted with its CRs turned into LF); the
// top-left cell's RTF as 8-bit RTF; the grid's own cells format as the binary cell stream, read
// back with the stream's checked reader. A paste writes a cell only where the grid is or where
// the clipboard growth options let it grow, and with AllowSmartClipboard fills the rest of the
// selection from the pasted cells (the arithmetic is in AdvGridSmartPaste).
#include "AdvGrid.h"
#include "AdvGridSmartPaste.h"
#include "AdvGridStartup.h"
#include "Clipbrd.h"
#include "GridStreamIO.h"
#include "GridUtil.h"

#include <QCoreApplication>
#include <QDir>
#include <QTemporaryDir>

#include <algorithm>

namespace {

const String TAB = QStringLiteral("\t");
const String CRLF = QStringLiteral("\r\n");

Word RtfClipboardFormat() {
    static const Word format = Word(RegisterClipboardFormat(QStringLiteral("Rich Text Format")));
    return format;
}

Word HtmlClipboardFormat() {
    static const Word format = Word(RegisterClipboardFormat(QStringLiteral("HTML Format")));
    return format;
}

Word CellsClipboardFormat() {
    const Cardinal f = GridUnitState().CF_GRIDCELLS;
    return Word(f ? f : RegisterClipboardFormat(QStringLiteral("TAdvStringGrid Cells")));
}

// One clipboard bracket: what is written inside is published together at its end.
class TClipboardBracket {
public:
    TClipboardBracket() { Clipboard()->Open(); }
    ~TClipboardBracket() { Clipboard()->Close(); }
    TClipboardBracket(const TClipboardBracket&) = delete;
    TClipboardBracket& operator=(const TClipboardBracket&) = delete;
};

// A text block's lines: split at CR, a LF right after a CR skipped; the empty remainder after a
// final line break is a line too.
QStringList BlockLines(const String& Text) {
    QStringList lines;
    String line;
    for (qsizetype i = 0; i < Text.size(); ++i) {
        const Char c = Text[i];
        if (c == u'\r') {
            lines << line;
            line.clear();
            if (i + 1 < Text.size() && Text[i + 1] == u'\n') ++i;
        } else {
            line += c;
        }
    }
    lines << line;
    return lines;
}

// Whether text follows line Index of a block: not when only the empty remainder after a final
// line break is left.
bool MoreTextAfter(const QStringList& Lines, qsizetype Index) {
    return Index + 2 < Lines.size() || (Index + 1 < Lines.size() && !Lines[Index + 1].isEmpty());
}

// A field as a cell keeps it: a multi-line field loses its enclosing quotes, and the vertical
// tab of spreadsheet line breaks becomes CR LF. A field without LF is multi-line when it is
// quoted and holds the vertical tab (a copy in the CSV manner).
String UnquoteField(String Field) {
    const bool quotedTabs =
        Field.size() >= 2 && Field.startsWith(u'"') && Field.endsWith(u'"') && Field.contains(QChar(11));
    if (!Field.contains(u'\n') && !quotedTabs) return Field;
    if (Field.startsWith(u'"')) Field.remove(0, 1);
    if (Field.endsWith(u'"')) Field.chop(1);
    Field.replace(QChar(11), QStringLiteral("\r\n"));
    return Field;
}

bool IsPackedWide(const String& Text) {
    return Text.startsWith(QStringLiteral("|\\"));
}

// The folder of this run for the images of an HTML copy, removed when the program ends; never
// the current folder (when no temporary folder can be made, the image writer reports that it
// cannot create the one named here).
String HtmlImageFolder() {
    static QTemporaryDir folder;
    if (folder.isValid()) return folder.path() + u'/';
    return QDir::tempPath() +
           QStringLiteral("/velmora-clipboard-%1/").arg(QCoreApplication::applicationPid());
}

} // namespace

// =============================================================================================
// Text blocks

String TAdvStringGrid::SelectionToText(const TRect& Rect, bool Disjunct) {
    FClipTopLeft = TPoint(Rect.Left, Rect.Top);
    ExportNotification(esExportStart, -1);
    const bool rowMode = Disjunct && MouseActions()->DisjunctRowSelect();
    const bool colMode = Disjunct && MouseActions()->DisjunctColSelect();
    auto rowTaken = [&](int r) { return !rowMode || colMode || RowSelectedForOps(r); };
    auto colTaken = [&](int c) { return !colMode || GetColSelect(c); };
    const bool partial = Rect.Top > TBaseGrid::FixedRows() || Rect.Bottom < RowCount() - 1 - FixedFooters();
    const bool multiRow = Rect.Bottom > Rect.Top;

    // Markup and RTF become plain text first, then the line breaks are made safe for the block:
    // quoted, with CR turned into LF (in the CSV manner with ExcelClipboardFormat: CR LF as the
    // vertical tab), so that a pasted block splits into rows only at its row ends.
    auto cellText = [&](int c, int r) {
        const int rc = RealColIndex(c);
        String t;
        SaveCell(rc, r, t);
        if (IsPackedWide(t)) t = UnpackWideText(t);
        if (!Navigation()->CopyHTMLTagsToClipboard && t.contains(QStringLiteral("</")))
            t = StrippedCells(rc, r);
        else if (t.contains(QStringLiteral("{\\")))
            t = RichPlainText(t);
        if (ExcelClipboardFormat && CountLines(t, Multilinecells) > 1)
            t = CSVQuoteMultiLine(t).replace(u'\r', u'\n');
        else if (t.contains(u'\r'))
            t = u'"' + String(t).replace(u'\r', u'\n') + u'"';
        return t;
    };

    // The first pass measures, the second builds.
    qsizetype size = 0;
    for (int r = Rect.Top; r <= Rect.Bottom; ++r) {
        if (!rowTaken(r)) continue;
        ExportNotification(partial ? esExportSelRow : esExportNewRow, r);
        for (int c = Rect.Left; c <= Rect.Right; ++c)
            if (colTaken(c)) size += cellText(c, r).size() + 1;
        size += 2;
    }
    String result;
    result.reserve(size);
    for (int r = Rect.Top; r <= Rect.Bottom; ++r) {
        if (!rowTaken(r)) continue;
        ExportNotification(esExportNewRow, r);
        bool first = true;
        // Only the columns taken are written, so a row never ends in a separator.
        for (int c = Rect.Left; c <= Rect.Right; ++c) {
            if (!colTaken(c)) continue;
            if (!first) result += TAB;
            result += cellText(c, r);
            first = false;
        }
        if (multiRow) result += CRLF;
    }
    ExportNotification(esExportDone, -1);
    return result;
}

String TAdvStringGrid::GetSelectionAsText() {
    const TGridRect s = Selection();
    return SelectionToText(TRect(std::min(s.Left, s.Right), std::min(s.Top, s.Bottom),
                                 std::max(s.Left, s.Right), std::max(s.Top, s.Bottom)),
                           false);
}

void TAdvStringGrid::SetSelectionAsText(const String& Value) {
    const TGridRect s = Selection();
    const int left = std::min(s.Left, s.Right);
    const int top = std::min(s.Top, s.Bottom);
    const QStringList lines = BlockLines(Value);
    int col = left, row = top, maxCol = left, maxRow = top;
    for (qsizetype li = 0; li < lines.size(); ++li) {
        const bool remainder = li == lines.size() - 1 && li > 0 && lines[li].isEmpty();
        if (remainder) break;
        const QStringList fields = lines[li].split(u'\t');
        for (qsizetype fi = 0; fi < fields.size(); ++fi) {
            if (col < ColCount() && row < RowCount()) {
                SetGridCell(RealColIndex(col), row, UnquoteField(fields[fi]));
                maxCol = std::max(maxCol, col);
                maxRow = std::max(maxRow, row);
            }
            if (fi + 1 < fields.size()) {
                ++col;
                if (col >= ColCount() && col < MaxGridCols) SetColCount(col + 1);
            }
        }
        col = left;
        if (MoreTextAfter(lines, li)) {
            ++row;
            const int shown =
                RowCount() - (FooterRowShown() && FloatingFooter()->FooterStyle() == fsFixedLastRow);
            if (row >= shown && row < MaxGridRows) SetRowCount(RowCount() + 1);
        }
    }
    CellsChanged(TRect(RealColIndex(left), top, RealColIndex(maxCol), maxRow));
}

void TAdvStringGrid::TextBlockSize(const String& Text, int& Cols, int& Rows) {
    const QStringList lines = BlockLines(Text);
    Cols = 0;
    int empty = 0;
    for (const String& line : lines) {
        Cols = std::max(Cols, int(line.count(u'\t')) + 1);
        if (line.isEmpty()) ++empty;
    }
    // An empty text, or one of empty lines only, has no rows.
    Rows = std::max(0, int(lines.size() - 1) - empty);
}

// =============================================================================================
// Copy and cut

TGridRect TAdvStringGrid::WidenSelectionToMerged() {
    const TGridRect old = Selection();
    TGridRect s(std::min(old.Left, old.Right), std::min(old.Top, old.Bottom), std::max(old.Left, old.Right),
                std::max(old.Top, old.Bottom));
    if (IsMergedCell(s.Left, s.Top)) {
        const TPoint base = BaseCell(s.Left, s.Top);
        s.Left = base.X;
        s.Top = base.Y;
    }
    if (IsMergedCell(s.Right, s.Bottom)) {
        const TPoint base = BaseCell(s.Right, s.Bottom);
        const TPoint span = CellSpan(base.X, base.Y);
        s.Right = base.X + span.X;
        s.Bottom = base.Y + span.Y;
    }
    if (s.Left != old.Left || s.Top != old.Top || s.Right != old.Right || s.Bottom != old.Bottom)
        SetSelection(s);
    return s;
}

void TAdvStringGrid::CopyRectToClipboard(const TRect& Rect, bool Disjunct) {
    const String text = SelectionToText(Rect, Disjunct);
    TClipboardBracket bracket;
    Clipboard()->SetAsText(text);
    if (Navigation()->AllowRTFClipboard && Rect.Left >= 0 && Rect.Top >= 0) {
        const String rtf = GetCellEx(RealColIndex(Rect.Left), Rect.Top);
        // 8-bit RTF, as other programs read it.
        if (rtf.contains(QStringLiteral("{\\")))
            Clipboard()->SetAsHandle(RtfClipboardFormat(), ToWin1252(rtf));
    }
    if (AllowFmtClipboard()) {
        TOwned<TMemoryStream> ms(new TMemoryStream());
        try {
            SaveRectToBinStream(Rect, ms.get());
            Clipboard()->SetAsHandle(CellsClipboardFormat(), ms->Bytes());
        } catch (const EAdvGridError&) {
            // A rectangle the cell stream cannot hold: the cells format is left out.
        }
    }
}

void TAdvStringGrid::CopySelectionToClipboard() {
    const TGridRect s = WidenSelectionToMerged();
    const TRect save(SaveStartCol(), SaveStartRow(), SaveEndCol(), SaveEndRow());
    if (!AllowFmtClipboard() && MouseActions()->DisjunctRowSelect())
        CopyRectToClipboard(
            TRect(FixedCols(), SaveStartRow(), ColCount() - FixedRightCols() - 1, SaveEndRow()), true);
    else if (!AllowFmtClipboard() && MouseActions()->DisjunctColSelect())
        CopyRectToClipboard(save, true);
    else
        CopyRectToClipboard(TRect(s.Left, s.Top, s.Right, s.Bottom), false);
    FClipLastOp = coCopy;
}

void TAdvStringGrid::CopyToClipBoard() {
    CopyRectToClipboard(TRect(SaveStartCol(), SaveStartRow(), SaveEndCol(), SaveEndRow()), false);
    FClipLastOp = coCopy;
}

void TAdvStringGrid::CopyToClipBoardAsHTML() {
    // Images go to a folder of this run, never into the current folder.
    const QByteArray block = ToWin1252(BuildClipboardHTML(SaveToHTMLString(HtmlImageFolder())));
    TClipboardBracket bracket;
    Clipboard()->SetAsText(FromWin1252(block));
    Clipboard()->SetAsHandle(HtmlClipboardFormat(), block);
}

void TAdvStringGrid::CutToClipboard() {
    CopyToClipBoard();
    const bool always = Navigation()->AllowClipboardAlways;
    for (int r = SaveStartRow(); r <= SaveEndRow(); ++r) {
        for (int c = SaveStartCol(); c <= SaveEndCol(); ++c)
            if (always || IsEditable(c, r)) SetCellEx(c, r, String());
        if (ShowModified()->Enabled()) SetRowModified(r, true);
    }
    FClipLastOp = coCut;
}

void TAdvStringGrid::CutSelectionToClipboard() {
    const TGridRect old = Selection();
    const TRect remembered(std::min(old.Left, old.Right), std::min(old.Top, old.Bottom),
                           std::max(old.Left, old.Right), std::max(old.Top, old.Bottom));
    CopySelectionToClipboard();
    const bool always = Navigation()->AllowClipboardAlways;
    if (MouseActions()->DisjunctRowSelect()) {
        for (int r = TBaseGrid::FixedRows(); r < RowCount(); ++r) {
            if (!RowSelectedForOps(r)) continue;
            ClearRows(r, 1);
            if (ShowModified()->Enabled()) SetRowModified(r, true);
        }
    } else if (MouseActions()->DisjunctColSelect()) {
        for (int c = FixedCols(); c < ColCount(); ++c)
            if (GetColSelect(c)) ClearCols(c, 1);
    } else {
        const TGridRect s = Selection();
        TAdvGridUndoRedo* undo = UndoRedo();
        if (undo) undo->StartSequence();
        for (int r = s.Top; r <= s.Bottom; ++r) {
            bool cleared = false;
            for (int c = s.Left; c <= s.Right; ++c) {
                if (!always && !IsEditable(c, r)) continue;
                const int rc = RealColIndex(c);
                if (undo) undo->RegisterChange(rc, r, GetCellEx(rc, r), String());
                SetCellEx(rc, r, String());
                // Only the cells cleared lose their properties: a read-only cell keeps its flag.
                if (AllowFmtClipboard()) FreeCellPropertiesRange(rc, r, rc, r);
                cleared = true;
            }
            if (cleared && ShowModified()->Enabled()) SetRowModified(r, true);
        }
        if (undo) undo->StopSequence();
    }
    FClipLastOp = coCut;
    if (OnCellsChanged) OnCellsChanged(this, remembered);
    if (NumHiddenColumns() > 0) Invalidate();
}

// =============================================================================================
// Paste

bool TAdvStringGrid::AllowFmtClipboard() {
    return Navigation()->AllowFmtClipboard;
}

void TAdvStringGrid::PasteCell(int ACol, int ARow, const String& Value) {
    const int rc = RealColIndex(ACol);
    if (UndoRedo()) UndoRedo()->RegisterChange(rc, ARow, GetCellEx(rc, ARow), Value);
    if (HasCheckBox(rc, ARow)) {
        const bool state = Value == CheckTrue;
        SetCheckBoxState(rc, ARow, state);
        CheckBoxChange(rc, ARow, state);
    } else {
        SetCellEx(rc, ARow, Value);
    }
    if (rc != ACol) RepaintCell(ACol, ARow);
}

void TAdvStringGrid::PasteDone(const TPoint& /*Source*/, const TRect& Target, TClipOperation /*Operation*/) {
    if (!ShowModified()->Enabled()) return;
    for (int r = Target.Top; r <= Target.Bottom; ++r) SetRowModified(r, true);
}

bool TAdvStringGrid::PasteTargetReady(int ACol, int ARow) {
    if (ACol < 0 || ARow < 0 || ACol >= MaxGridCols || ARow >= MaxGridRows) return false;
    if (ACol >= ColCount()) {
        if (!Navigation()->AllowClipboardColGrow) return false;
        SetColCount(ACol + 1);
    }
    if (ARow >= RowCount()) {
        if (!Navigation()->AllowClipboardRowGrow) return false;
        SetRowCount(ARow + 1);
    }
    return true;
}

int TAdvStringGrid::PasteText(int ACol, int ARow, int& Lines, int& Fields, const String& Text) {
    Lines = 0;
    Fields = 0;
    FPasteTrailingBreak = false;
    if (ACol < 0 || ARow < 0) return 0;
    TNavigation* nav = Navigation();
    if (!HasOption(goEditing) && !nav->AllowClipboardAlways && !MouseActions()->RangeSelectAndEdit) return 0;

    TAdvGridUndoRedo* undo = UndoRedo();
    if (undo) undo->StartSequence();
    const QStringList lines = BlockLines(Text);
    int result = 0;
    int col = ACol, row = ARow, maxCol = ACol, maxRow = ARow;
    for (qsizetype li = 0; li < lines.size(); ++li) {
        const String& line = lines[li];
        const bool remainder = li > 0 && li == lines.size() - 1 && line.isEmpty();
        ++Lines;
        ImportNotification(FPasteAll ? isImportNewRow : isImportSelRow, row);
        if (!line.isEmpty() && nav->ClipboardPasteAction == paInsert) InsertRows(row, 1);
        Fields = 1;
        const QStringList fields = line.split(u'\t');
        for (qsizetype fi = 0; fi < fields.size(); ++fi) {
            if (!remainder) {
                String value = UnquoteField(fields[fi]);
                if (PasteTargetReady(col, row) && (nav->AllowClipboardAlways || IsEditable(col, row))) {
                    bool allow = true;
                    const bool wide = IsPackedWide(value);
                    if (wide) {
                        String w = UnpackWideText(value);
                        if (OnClipboardBeforePasteWideCell)
                            OnClipboardBeforePasteWideCell(this, col, row, w, allow);
                        value = PackWideText(w);
                    } else if (OnClipboardBeforePasteCell) {
                        OnClipboardBeforePasteCell(this, col, row, value, allow);
                    }
                    if (allow) {
                        PasteCell(col, row, value);
                        maxCol = std::max(maxCol, col);
                        maxRow = std::max(maxRow, row);
                        if (wide) {
                            if (OnClipboardAfterPasteWideCell)
                                OnClipboardAfterPasteWideCell(this, col, row, UnpackWideText(value));
                        } else if (OnClipboardAfterPasteCell) {
                            OnClipboardAfterPasteCell(this, col, row, value);
                        }
                    }
                }
            }
            ++result;
            if (fi + 1 < fields.size()) {
                ++Fields;
                ++col;
                if (nav->AllowClipboardColGrow && col >= ColCount() && col < MaxGridCols)
                    SetColCount(col + 1);
            }
        }
        col = ACol;
        if (MoreTextAfter(lines, li)) {
            ++row;
            const int shown =
                RowCount() - (FooterRowShown() && FloatingFooter()->FooterStyle() == fsFixedLastRow);
            if (row == shown && nav->AllowClipboardRowGrow && row < MaxGridRows) SetRowCount(RowCount() + 1);
        }
        FPasteTrailingBreak = remainder;
    }
    if (undo) undo->StopSequence();
    PasteDone(FClipTopLeft, TRect(ACol, ARow, maxCol, maxRow), FClipLastOp);
    CellsChanged(TRect(RealColIndex(ACol), ARow, RealColIndex(maxCol), maxRow));
    return result;
}

int TAdvStringGrid::PasteFromClipboardAt(int ACol, int ARow, int& Rows, int& Cols) {
    Rows = 0;
    Cols = 0;
    FPasteTrailingBreak = false;
    TClipboard* cb = Clipboard();
    TNavigation* nav = Navigation();
    const Word cells = CellsClipboardFormat();
    if (AllowFmtClipboard() && cb->HasFormat(cells)) {
        BeforePaste();
        TOwned<TMemoryStream> ms(new TMemoryStream());
        const QByteArray block = cb->GetAsHandle(cells);
        ms->Write(block.constData(), block.size());
        ms->SetPosition(0);
        // The block may come from any program: its header is checked before the grid changes.
        TOwned<TGridPropIO> header(new TGridPropIO(nullptr));
        ReadGridPropIO(ms.get(), header.get());
        // Every cell of the block follows as a record of its own, so a block cannot ask for more
        // cells than it has bytes left.
        const qint64 left = ms->Size() - ms->Position();
        if (ACol < 0 || ARow < 0 || header->ColCount < 1 || header->RowCount < 1 ||
            header->ColCount > MaxGridCols - ACol || header->RowCount > MaxGridRows - ARow ||
            qint64(header->ColCount) * header->RowCount > left)
            throw EReadError(QStringLiteral("Stream read error"));
        const bool insert = nav->ClipboardPasteAction == paInsert;
        if (nav->AllowClipboardRowGrow || nav->AllowClipboardColGrow || insert) {
            if (ACol + header->ColCount >= ColCount() && nav->AllowClipboardColGrow)
                SetColCount(ACol + header->ColCount);
            if (ARow + header->RowCount >= RowCount() && nav->AllowClipboardRowGrow)
                SetRowCount(ARow + header->RowCount);
            Cols = ColCount();
            Rows = RowCount();
            if (insert) InsertRows(ARow, header->RowCount);
        }
        ms->SetPosition(0);
        LoadBinStreamAt(TPoint(ACol, ARow), ms.get(), true);
        const TRect target(ACol, ARow, ACol + header->ColCount - 1, ARow + header->RowCount - 1);
        PasteDone(header->ID == StreamID() ? FClipTopLeft : TPoint(-1, -1), target, FClipLastOp);
        AfterPaste();
        return header->ColCount * header->RowCount;
    }
    const Word rtfFormat = RtfClipboardFormat();
    if (nav->AllowRTFClipboard && cb->HasFormat(rtfFormat)) {
        QByteArray block = cb->GetAsHandle(rtfFormat);
        const qsizetype zero = block.indexOf('\0');
        if (zero >= 0) block.truncate(zero);
        if (ACol >= 0 && ARow >= 0 && ACol < ColCount() && ARow < RowCount() && IsEditable(ACol, ARow))
            PasteCell(ACol, ARow, FromWin1252(block));
        Rows = Cols = 1;
        return 0;
    }
    if (cb->HasFormat(CF_TEXT)) return PasteText(ACol, ARow, Rows, Cols, cb->AsText());
    return 0;
}

void TAdvStringGrid::PasteFromClipboard() {
    ImportNotification(isImportStart, -1);
    FPasteAll = true;
    struct TDone {
        TAdvStringGrid* G;
        ~TDone() { G->FPasteAll = false; }
    } done{this};
    int rows = 0, cols = 0;
    PasteFromClipboardAt(SaveStartCol(), SaveStartRow(), rows, cols);
    ImportNotification(isImportDone, -1);
    AllCellsChanged();
}

void TAdvStringGrid::PasteSelectionFromClipboard() {
    ImportNotification(isImportStart, -1);
    FPasteAll = false;
    // The paste ends with its notification however it ends.
    struct TDone {
        TAdvStringGrid* G;
        ~TDone() { G->ImportNotification(isImportDone, -1); }
    } done{this};
    const TGridRect s = WidenSelectionToMerged();
    int rows = 0, cols = 0;
    const int n = PasteFromClipboardAt(HasOption(goRowSelect) ? FixedCols() : s.Left, s.Top, rows, cols);
    if (Navigation()->AllowSmartClipboard) SmartFillSelection(s, n, rows, cols);
}

// =============================================================================================
// Smart fill

void TAdvStringGrid::SmartFillSingle(const TGridRect& S) {
    const int tlc = RealColIndex(S.Left);
    String value = GetCellEx(tlc, S.Top);
    if (HasCheckBox(tlc, S.Top)) value = IsChecked(tlc, S.Top) ? CheckTrue : CheckFalse;
    const bool always = Navigation()->AllowClipboardAlways;
    for (int c = S.Left; c <= S.Right; ++c)
        for (int r = S.Top; r <= S.Bottom; ++r) {
            if (!always && !IsEditable(c, r)) continue;
            const bool topLeft = c == S.Left && r == S.Top;
            String v = value;
            bool allow = true;
            if (!topLeft && OnClipboardBeforePasteCell) OnClipboardBeforePasteCell(this, c, r, v, allow);
            if (allow) PasteCell(c, r, v);
            PasteDone(FClipTopLeft, TRect(c, r, c, r), coCopy);
            if (!topLeft && OnClipboardAfterPasteCell) OnClipboardAfterPasteCell(this, c, r, v);
        }
}

void TAdvStringGrid::SmartFillCells(const TGridRect& S, const std::vector<String>& Values,
                                    bool AfterOnlyAllowed) {
    const bool always = Navigation()->AllowClipboardAlways;
    size_t i = 0;
    for (int c = S.Left; c <= S.Right; ++c)
        for (int r = S.Top; r <= S.Bottom; ++r, ++i) {
            if (i >= Values.size()) return;
            if (!always && !IsEditable(c, r)) continue;
            const bool topLeft = c == S.Left && r == S.Top;
            String v = Values[i];
            bool allow = true;
            if (!topLeft && OnClipboardBeforePasteCell) OnClipboardBeforePasteCell(this, c, r, v, allow);
            if (allow) PasteCell(c, r, v);
            PasteDone(FClipTopLeft, TRect(c, r, c, r), coCopy);
            if (!topLeft && OnClipboardAfterPasteCell && (allow || !AfterOnlyAllowed))
                OnClipboardAfterPasteCell(this, c, r, v);
        }
}

void TAdvStringGrid::SmartFillSelection(const TGridRect& S, int N, int Rows, int Cols) {
    const int m = (S.Bottom - S.Top + 1) * (S.Right - S.Left + 1);
    if (SmartFillComplete(N, m)) return;
    BeforePaste();
    if (N == 1 && m > 1) SmartFillSingle(S);
    AfterPaste();

    const bool oneCol = S.Left == S.Right, oneRow = S.Top == S.Bottom;
    if (N > 1 && (oneCol || oneRow)) {
        const String v = GetCellEx(RealColIndex(S.Left), S.Top);
        const String w =
            oneRow ? GetCellEx(RealColIndex(S.Left + 1), S.Top) : GetCellEx(RealColIndex(S.Left), S.Top + 1);
        const TSmartFillKind kind = SmartFillKind(v, w);
        if (kind != TSmartFillKind::sfRepeat) {
            SmartFillCells(S, SmartFillSeries(v, w, m, FloatFormat),
                           kind == TSmartFillKind::sfFloat || kind == TSmartFillKind::sfInteger);
        } else {
            // The pasted block is repeated: its cells are the ones the paste covered (a text
            // ending with a line break counts its empty last line, which pasted nothing).
            const int block = N - (FPasteTrailingBreak ? 1 : 0);
            std::vector<String> cells;
            cells.reserve(size_t(m));
            for (int c = S.Left; c <= S.Right; ++c)
                for (int r = S.Top; r <= S.Bottom; ++r) cells.push_back(GetCellEx(RealColIndex(c), r));
            SmartFillRepeat(cells, block + 1);
            const bool always = Navigation()->AllowClipboardAlways;
            for (int i = block; i < m; ++i) {
                const int c = oneCol ? S.Left : S.Left + i;
                const int r = oneCol ? S.Top + i : S.Top;
                if (!always && !IsEditable(c, r)) continue;
                String value = cells[size_t(i)];
                bool allow = true;
                if (OnClipboardBeforePasteCell) OnClipboardBeforePasteCell(this, c, r, value, allow);
                if (!allow) continue;
                PasteCell(c, r, value);
                if (OnClipboardAfterPasteCell) OnClipboardAfterPasteCell(this, c, r, value);
            }
            if (block < m) {
                const TRect target = oneCol ? TRect(S.Left, S.Top + block, S.Left, S.Bottom)
                                            : TRect(S.Left + block, S.Top, S.Right, S.Bottom);
                PasteDone(TPoint(S.Left, S.Top), target, coCopy);
            }
        }
        CellsChanged(TRect(S.Left, S.Top, S.Right, S.Bottom));
        return;
    }

    // A one-line paste repeated down the rows, a one-field paste along the columns.
    if (S.Top < S.Bottom && S.Left != S.Right && Rows == 1) {
        for (int r = S.Top + 1; r <= S.Bottom; ++r) {
            SetRow(r);
            PasteFromClipboardAt(S.Left, r, Rows, Cols);
        }
        SetSelection(S);
    }
    if (S.Bottom != S.Top && S.Left < S.Right && Cols == 1) {
        for (int c = S.Left + 1; c <= S.Right; ++c) {
            SetCol(c);
            PasteFromClipboardAt(c, S.Top, Rows, Cols);
        }
        SetSelection(S);
    }
    CellsChanged(TRect(S.Left, S.Top, S.Right, S.Bottom));
    AllCellsChanged();
}
