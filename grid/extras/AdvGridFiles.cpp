// TAdvStringGrid: the grid's own text format (file and stream), the column-aligned text export,
// fixed-width files and CellToReal. Writers take each text through SaveCell, readers store it
// through LoadCell; files are written whole or not at all.
#include "AdvGridFilesSupport.h"
#include "Forms.h"
#include "GridUtil.h"

#include <QElapsedTimer>

#include <vector>

using namespace GridFiles;

namespace {

[[noreturn]] void CorruptFile(const String& FileName) {
    throw EAdvGridError(QStringLiteral("File contains no data or corrupt file ") + FileName);
}

// A strict decimal integer (blanks around it allowed), else EConvertError.
int StrictInt(const String& Text) {
    bool ok = false;
    const int v = Text.trimmed().toInt(&ok);
    if (!ok) throw EConvertError(QStringLiteral("'%1' is not a valid integer value").arg(Text));
    return v;
}

} // namespace

void TAdvStringGrid::LoadCell(int ACol, int ARow, const String& Value) {
    String v = Value;
    if (Assigned(OnLoadCell)) OnLoadCell(this, ACol, ARow, v);
    SetCells(ACol, ARow, v);
}

// =============================================================================================
// Own text format, file

void TAdvStringGrid::SaveToFile(const String& FileName, bool Unicode) {
    const int startCol = SaveStartCol();
    const int endCol = SaveEndCol() + (SaveHiddenCells ? FNumHidden : 0);
    QStringList lines;
    lines << QStringLiteral("%1,%2")
                 .arg(SaveColCount() + (SaveHiddenCells ? FNumHidden : 0))
                 .arg(SaveRowCount());
    // The columns written: every real column with SaveHiddenCells, else the shown ones, each
    // line at its shown position with the text of its real column (as the other writers do), so
    // that the count of the first line covers every column written.
    std::vector<std::pair<int, int>> cols; // position, real column
    for (int d = startCol; d <= endCol; ++d) {
        cols.emplace_back(d, SaveHiddenCells ? d : RealColIndex(d));
        if (d < ColCount()) lines << QStringLiteral("cw %1,%2").arg(d).arg(ColWidths(d));
    }
    TProgressReport progress(this, OnFileProgress);
    ExportNotification(esExportStart, SaveStartRow());
    for (int r = SaveStartRow(); r <= SaveEndRow(); ++r) {
        ExportNotification(esExportNextRow, r);
        for (const auto& [d, c] : cols) {
            String t;
            SaveCell(c, r, t);
            if (!t.isEmpty()) lines << QStringLiteral("%1,%2,").arg(d).arg(r) + EncodeLineBreaksForSave(t);
        }
        progress.Report(double(r) / std::max(1, SaveRowCount() - 1));
    }
    ExportNotification(esExportDone, -1);
    WriteWholeFile(FileName, EncodeLines(lines, Unicode));
}

void TAdvStringGrid::LoadFromFile(const String& FileName) {
    const QStringList lines = ReadLines(FileName);
    const int a = SaveFixedCells || SaveFixedCols ? 0 : TBaseGrid::FixedCols();
    const int b = SaveFixedCells || SaveFixedRows ? 0 : TBaseGrid::FixedRows();
    if (!lines.isEmpty() && !lines[0].isEmpty()) {
        const int comma = int(lines[0].indexOf(u','));
        const qint64 cols = qint64(a) + LenientInt(comma < 0 ? lines[0] : lines[0].left(comma));
        const qint64 rows = qint64(b) + (comma < 0 ? 0 : LenientInt(lines[0].mid(comma + 1)));
        // Refused before anything changes.
        if (cols <= 0 || rows <= 0 || cols > MaxGridCols || rows > MaxGridRows) CorruptFile(FileName);
        SetColCount(int(cols));
        SetRowCount(int(rows));
    }
    if (ColCount() == 0 || RowCount() == 0) CorruptFile(FileName);

    TProgressReport progress(this, OnFileProgress);
    // The window keeps painting during a long load, but takes no input: a click or key handled
    // now would act on a half-loaded grid.
    QElapsedTimer sincePaint;
    sincePaint.start();
    for (int i = 1; i < lines.size(); ++i) {
        const String& line = lines[i];
        if (line.startsWith(QLatin1String("cw"))) {
            const int comma = int(line.indexOf(u','));
            const int index = LenientInt(comma < 0 ? line.mid(3) : line.mid(3, comma - 3));
            const int width = comma < 0 ? 0 : LenientInt(line.mid(comma + 1, 255));
            if (index >= 0 && index < ColCount() && width >= 0) SetColWidths(index, width);
            continue;
        }
        int col = 0, row = 0;
        String text = line;
        const int c1 = int(line.indexOf(u','));
        if (c1 >= 0) {
            col = LenientInt(line.left(c1));
            const int c2 = int(line.indexOf(u',', c1 + 1));
            row = LenientInt(c2 < 0 ? line.mid(c1 + 1) : line.mid(c1 + 1, c2 - c1 - 1));
            text = c2 < 0 ? String() : line.mid(c2 + 1);
        }
        if (col >= 0 && col < ColCount() && row >= 0 && row < RowCount())
            LoadCell(col, row, DecodeLineBreaksFromSave(text, Multilinecells));
        progress.Report(double(row) / std::max(1, RowCount() - 1));
        if (sincePaint.elapsed() >= 100 && HandleAllocated()) {
            Update();
            sincePaint.restart();
        }
    }
    CellsChanged(TRect(0, 0, ColCount(), RowCount()));
    AllCellsChanged();
}

// =============================================================================================
// Own text format, stream: UTF-16 without byte-order mark, coordinates relative to the save start

void TAdvStringGrid::SaveToStream(TStream* Stream) {
    QStringList lines;
    lines << QStringLiteral("%1,%2").arg(SaveColCount()).arg(SaveRowCount());
    for (int i = 0; i < ColCount(); ++i) lines << QStringLiteral("cw %1,%2").arg(i).arg(ColWidths(i));
    const int startCol = SaveStartCol(), startRow = SaveStartRow();
    for (int r = startRow; r <= SaveEndRow(); ++r)
        for (int d = startCol; d <= SaveEndCol(); ++d) {
            String t;
            SaveCell(RealColIndex(d), r, t);
            if (!t.isEmpty())
                lines << QStringLiteral("%1,%2,").arg(d - startCol).arg(r - startRow) +
                             EncodeLineBreaksForSave(t);
        }
    QByteArray bytes;
    for (const String& l : lines) {
        const String line = l + QStringLiteral("\r\n");
        for (Char ch : line) {
            bytes.append(char(ch.unicode() & 0xFF));
            bytes.append(char(ch.unicode() >> 8));
        }
    }
    Stream->WriteBuffer(bytes);
}

void TAdvStringGrid::LoadFromStream(TStream* Stream) {
    const Int64 start = Stream->Position();
    const QByteArray bytes = Stream->ReadAll();
    const qint64 chars = bytes.size() / 2;
    auto charAt = [&](qint64 i) {
        return Char(char16_t(Byte(bytes[int(2 * i)]) | Byte(bytes[int(2 * i + 1)]) << 8));
    };
    qint64 pos = 0;
    // One line up to the CR (the character after the CR is skipped); false at the end.
    auto readLine = [&](String& Line) {
        if (pos >= chars) return false;
        Line.clear();
        while (pos < chars && charAt(pos) != u'\r') Line += charAt(pos++);
        if (pos < chars) pos += 2;
        pos = std::min(pos, chars);
        return true;
    };
    const int startCol = SaveStartCol(), startRow = SaveStartRow();
    String line;
    qint64 lineStart = pos;
    bool stopped = false;
    if (readLine(line) && !line.isEmpty()) {
        const int comma = int(line.indexOf(u','));
        const qint64 cols = qint64(StrictInt(comma < 0 ? line : line.left(comma))) + startCol;
        const qint64 rows =
            qint64(comma < 0 ? StrictInt(String()) : StrictInt(line.mid(comma + 1))) + startRow;
        if (cols < 1 || rows < 1 || cols > MaxGridCols || rows > MaxGridRows)
            throw EReadError(QStringLiteral("Stream read error"));
        SetColCount(int(cols));
        SetRowCount(int(rows));
        lineStart = pos;
        while (readLine(line)) {
            if (line.startsWith(QLatin1String("cw"))) {
                const int comma2 = int(line.indexOf(u','));
                if (comma2 < 0) {
                    stopped = true;
                    break;
                }
                const int index = StrictInt(line.mid(3, comma2 - 3));
                const int width = StrictInt(line.mid(comma2 + 1));
                if (index < 0 || index >= ColCount())
                    throw EInvalidGridOperation(QStringLiteral("Grid index out of range"));
                if (width >= 0) SetColWidths(index, width);
                lineStart = pos;
                continue;
            }
            const int c1 = int(line.indexOf(u','));
            const int c2 = c1 < 0 ? -1 : int(line.indexOf(u',', c1 + 1));
            if (c2 < 0) {
                stopped = true;
                break;
            }
            const qint64 c = qint64(StrictInt(line.left(c1))) + startCol;
            const qint64 r = qint64(StrictInt(line.mid(c1 + 1, c2 - c1 - 1))) + startRow;
            if (c >= 0 && r >= 0 && c < MaxGridCols && r < MaxGridRows)
                LoadCell(int(c), int(r), DecodeLineBreaksFromSave(line.mid(c2 + 1), Multilinecells));
            lineStart = pos;
        }
    }
    // What follows the grid's lines stays for the caller.
    Stream->SetPosition(start + 2 * (stopped ? lineStart : pos));
    if (!stopped && pos >= chars) Stream->SetPosition(start + bytes.size());
    CellsChanged(TRect(0, 0, ColCount(), RowCount()));
    AllCellsChanged();
}

// =============================================================================================
// Column-aligned text

namespace {

String AlignInWidth(String Text, TAlignment Align, int Width) {
    if (Align == taRightJustify) {
        if (Text.length() < Width) Text = String(Width - Text.length(), u' ') + Text;
    } else if (Align == taCenter) {
        while (Text.length() < Width) Text = u' ' + Text + u' ';
    }
    return Text;
}

} // namespace

void TAdvStringGrid::SaveToASCII(const String& FileName, bool Unicode) {
    SaveAligned(FileName, Unicode, false);
}

void TAdvStringGrid::AppendToASCII(const String& FileName, bool Unicode) {
    SaveAligned(FileName, Unicode, true);
}

void TAdvStringGrid::SaveAligned(const String& FileName, bool Unicode, bool Append) {
    TAdvStringGrid* G = this;
    const THourGlass hourGlass;
    QStringList lines;
    if (Append && FileExists(FileName)) lines = ReadLines(FileName);
    const int startCol = G->SaveFixedCells || G->SaveFixedCols ? 0 : TBaseGrid::FixedCols();
    const int startRow = G->SaveFixedCells || G->SaveFixedRows ? 0 : TBaseGrid::FixedRows();
    const int endCol = G->ColCount() - 1 + (G->SaveHiddenCells ? G->NumHiddenColumns() : 0);
    std::vector<int> cols, widths;
    for (int d = startCol; d <= endCol; ++d) {
        const int c = G->SaveHiddenCells ? d : G->RealColIndex(d);
        cols.push_back(c);
        widths.push_back(G->MaxLineLengthInCol(c));
    }
    G->ExportNotification(TAdvStringGrid::esExportStart, startRow);
    for (int r = startRow; r < G->RowCount(); ++r) {
        G->ExportNotification(TAdvStringGrid::esExportNextRow, r);
        String main;
        QStringList more;
        int colStart = 0;
        for (size_t j = 0; j < cols.size(); ++j) {
            String text;
            G->SaveCell(cols[j], r, text);
            TAlignment ha = taLeftJustify;
            TVAlignment va = vtaTop;
            G->GetCellAlignment(cols[j], r, ha, va);
            const int w = widths[j];
            String first = AlignInWidth(CutFirstLine(text, true), ha, w);
            if (first.length() <= w) first += String(w - first.length() + 1, u' ');
            main += first;
            int k = 0;
            while (G->Multilinecells && !text.isEmpty()) {
                const String part = AlignInWidth(CutFirstLine(text, true), ha, w);
                if (k >= more.size()) more << String();
                String& l = more[k++];
                if (l.length() < colStart) l += String(colStart - l.length(), u' ');
                l += part;
            }
            colStart += w + 1;
        }
        lines << main;
        lines << more;
    }
    G->ExportNotification(TAdvStringGrid::esExportDone, -1);
    WriteWholeFile(FileName, EncodeLines(lines, Unicode));
}

// =============================================================================================
// Fixed width

void TAdvStringGrid::SaveToFixed(const String& FileName, TIntList* Positions) {
    const int startCol = SaveStartCol();
    const int endCol = SaveEndCol() + (SaveHiddenCells ? FNumHidden : 0);
    std::vector<int> cols;
    for (int d = startCol; d <= endCol; ++d) {
        const int c = SaveHiddenCells ? d : RealColIndex(d);
        cols.push_back(c);
        // The width of the column whose text is written.
        if (Positions && Positions->Count() <= d - startCol) Positions->Add(MaxLineLengthInCol(c) + 1);
    }
    QStringList lines;
    ExportNotification(esExportStart, SaveStartRow());
    for (int r = SaveStartRow(); r <= SaveEndRow(); ++r) {
        ExportNotification(esExportNextRow, r);
        String line;
        for (size_t j = 0; j < cols.size(); ++j) {
            const int w =
                Positions && int(j) < Positions->Count() ? std::max(0, Positions->Items(int(j))) : 0;
            String t;
            SaveCell(cols[j], r, t);
            line += t.length() >= w ? t.left(w) : t + String(w - t.length(), u' ');
        }
        lines << line;
    }
    ExportNotification(esExportDone, -1);
    try {
        WriteWholeFile(FileName, EncodeLines(lines, false));
    } catch (const EFCreateError&) {
        throw EAdvGridError(QStringLiteral("Cannot Create file ") + FileName);
    }
}

void TAdvStringGrid::LoadFromFixed(const String& FileName, TIntList* Positions, bool DoTrim, int MaxRows) {
    // Fields lie between two positions: fewer than two give no field and no column.
    if (!Positions || Positions->Count() < 2)
        throw EAdvGridError(QStringLiteral("Fixed-width positions need at least two entries"));
    if (TBaseGrid::FixedCols() + Positions->Count() - 1 > MaxGridCols)
        throw EAdvGridError(QStringLiteral("Fixed-width positions give too many columns"));
    QStringList lines;
    if (!FileExists(FileName))
        throw EAdvGridError(QStringLiteral("File ") + FileName + QStringLiteral(" not found"));
    try {
        lines = ReadLines(FileName);
    } catch (const EFOpenError&) {
        throw EAdvGridError(QStringLiteral("File ") + FileName + QStringLiteral(" not found"));
    }
    SetColCount(TBaseGrid::FixedCols() + Positions->Count() - 1);
    std::vector<int> p;
    for (int i = 0; i < Positions->Count(); ++i) p.push_back(Positions->Items(i));
    std::sort(p.begin(), p.end());
    for (int i = 0; i < Positions->Count(); ++i)
        if (Positions->Items(i) != p[size_t(i)]) Positions->SetInteger(i, p[size_t(i)]);
    int row = SaveStartRow();
    for (int i = 0; i < lines.size(); ++i) {
        for (size_t k = 0; k + 1 < p.size(); ++k) {
            const int from = std::max(1, p[k]);
            const int len = std::max(0, p[k + 1] - from);
            String field = lines[i].mid(from - 1, len);
            if (DoTrim) field = field.trimmed();
            LoadCell(SaveStartCol() + int(k), row, field);
        }
        if (MaxRows != -1 && i + 1 >= MaxRows) break;
        if (i + 1 < lines.size()) {
            ++row;
            if (row >= RowCount()) SetRowCount(row + 1);
        }
    }
    CellsChanged(TRect(0, 0, ColCount(), RowCount()));
    AllCellsChanged();
}

// =============================================================================================

double TAdvStringGrid::CellToReal(int ACol, int ARow) {
    const String cell = GetCellEx(ACol, ARow);
    if (cell.isEmpty()) return 0;
    const String s = NormalizeFloatText(cell);
    bool ok = false;
    const double v = s.toDouble(&ok);
    if (ok) return v;
    // The position of the first character that cannot continue a number.
    int n = int(s.length());
    while (n > 0) {
        (void)s.left(n).toDouble(&ok);
        if (ok) break;
        --n;
    }
    throw EAdvGridError(
        QStringLiteral("Error at position: %1 in Cell [%2, %3].").arg(n + 1).arg(ACol).arg(ARow));
}
