// TAdvStringGrid: CSV files. The writer quotes by fixed rules and keeps a multi-line cell on one
// line; the reader guesses the delimiter from the first two lines, undoes the quoting and grows
// the grid a thousand rows at a time.
#include "AdvGridFilesSupport.h"
#include "GridUtil.h"

using namespace GridFiles;

namespace {

const Char Candidates[] = {u',', u';', u'#', u'\t', u'|', u'@', u'*', u'-', u'+', u'&'};

// Lines of CSV bytes: a byte-order mark picks UTF-8 or UTF-16; otherwise the ANSI code page, or
// with Oem the bytes as they are (the OEM conversion follows per line).
QStringList CsvLines(const QByteArray& Bytes, bool Oem) {
    String text;
    if (Bytes.startsWith("\xEF\xBB\xBF"))
        text = String::fromUtf8(Bytes.mid(3));
    else if (Bytes.startsWith("\xFF\xFE"))
        text = String::fromUtf16(reinterpret_cast<const char16_t*>(Bytes.constData() + 2),
                                 (Bytes.size() - 2) / 2);
    else if (Bytes.startsWith("\xFE\xFF")) {
        text.reserve((Bytes.size() - 2) / 2);
        for (qsizetype i = 2; i + 1 < Bytes.size(); i += 2)
            text += Char(char16_t(Byte(Bytes[i]) << 8 | Byte(Bytes[i + 1])));
    } else
        text = Oem ? String::fromLatin1(Bytes) : FromWin1252(Bytes);
    QStringList lines;
    qsizetype start = 0;
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        const Char c = text[i];
        if (c != u'\r' && c != u'\n') continue;
        lines << text.mid(start, i - start);
        if (c == u'\r' && i + 1 < n && text[i + 1] == u'\n') ++i;
        start = i + 1;
    }
    if (start < n) lines << text.mid(start);
    return lines;
}

Char GuessDelimiter(const QStringList& Lines) {
    const String l1 = Lines.value(0), l2 = Lines.value(1);
    Char choice = u'\0';
    int best = 0;
    for (Char c : Candidates) {
        const int a = CountClosingQuotes(c, l1), b = CountClosingQuotes(c, l2);
        if (a == b && a > best) {
            best = a;
            choice = c;
        }
    }
    if (choice != u'\0') return choice;
    for (Char c : Candidates) {
        const int a = CountChar(c, l1), b = CountChar(c, l2);
        if (a == b && a > best) {
            best = a;
            choice = c;
        }
    }
    if (choice != u'\0') return choice;
    for (Char c : Candidates) {
        const int a = CountChar(c, l1), b = CountChar(c, l2);
        if (a > best || b > best) {
            best = std::max(a, b);
            choice = c;
        }
    }
    return choice;
}

} // namespace

// =============================================================================================
// Writer

void TAdvStringGrid::SaveToCSV(const String& FileName, bool Unicode) {
    WriteCSV(FileName, Unicode, false);
}

void TAdvStringGrid::AppendToCSV(const String& FileName, bool Unicode) {
    WriteCSV(FileName, Unicode, true);
}

void TAdvStringGrid::WriteCSV(const String& FileName, bool Unicode, bool Append) {
    QStringList lines;
    // The file to append to must exist (its open error reaches the caller).
    if (Append) lines = ReadLines(FileName);
    const Char s = Delimiter == u'\0' ? u',' : Delimiter;
    const String sep(s);
    const int endCol = SaveEndCol() + (SaveHiddenCells ? FNumHidden : 0);
    TProgressReport progress(this, OnFileProgress);
    ExportNotification(esExportStart, SaveStartRow());
    for (int r = SaveStartRow(); r <= SaveEndRow(); ++r) {
        ExportNotification(esExportNextRow, r);
        String line;
        for (int d = SaveStartCol(); d <= endCol; ++d) {
            if (d > SaveStartCol()) line += s;
            String t;
            SaveCell(SaveHiddenCells ? d : RealColIndex(d), r, t);
            t.replace(QStringLiteral("\""), QStringLiteral("\"\""));
            if (OemConvert) t = StringToOem(t);
            bool quoted = false;
            // A text starting with a blank is quoted too: the reader drops leading blanks of
            // unquoted fields.
            if (AlwaysQuotes || (!t.contains(s) && (t.contains(u'"') || t.startsWith(u' ')))) {
                t = u'"' + t + u'"';
                quoted = true;
            }
            if (t.isEmpty()) {
                if (JavaCSV)
                    t = QStringLiteral("^");
                else if (QuoteEmptyCells)
                    t = QStringLiteral("\"\"");
            }
            if (t.contains(s) || t.contains(u'\r')) {
                if (JavaCSV)
                    t = LineBreaksToTilde(t);
                else if (quoted)
                    t.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
                else
                    t = CSVQuoteMultiLine(t);
            }
            line += t;
        }
        lines << line;
        progress.Report(double(r) / std::max(1, RowCount() - 1));
    }
    ExportNotification(esExportDone, -1);
    String text;
    for (const String& l : lines) text += l + QStringLiteral("\r\n");
    QByteArray bytes;
    if (Unicode)
        bytes = QByteArray("\xEF\xBB\xBF") + text.toUtf8();
    else if (OemConvert)
        bytes = text.toLatin1(); // the OEM bytes, one per character
    else
        bytes = ToWin1252(text);
    WriteWholeFile(FileName, bytes);
}

// =============================================================================================
// Reader

void TAdvStringGrid::LoadFromCSV(const String& FileName, int MaxRows) {
    TScoped<TFileStream> f(new TFileStream(FileName, fmOpenRead | fmShareDenyNone));
    if (f->Size() == 0) return;
    ReadCSVLines(CsvLines(f->ReadAll(), OemConvert), MaxRows, false);
}

void TAdvStringGrid::InsertFromCSV(const String& FileName, int MaxRows) {
    TScoped<TFileStream> f(new TFileStream(FileName, fmOpenRead | fmShareDenyNone));
    if (f->Size() == 0) return;
    ReadCSVLines(CsvLines(f->ReadAll(), OemConvert), MaxRows, true);
}

void TAdvStringGrid::LoadFromCSVStream(TStream* AStream, int MaxRows) {
    ReadCSVLines(CsvLines(AStream->ReadAll(), OemConvert), MaxRows, false);
}

void TAdvStringGrid::ReadCSVLines(const QStringList& Lines, int MaxRows, bool Insert) {
    if (Lines.isEmpty()) throw Exception(QStringLiteral("File is empty"));
    int row = Insert ? RowCount() : SaveStartRow();
    TScoped<TStringList> footer;
    if (Insert && FooterRowShown() && RowCount() > 0) {
        footer.reset(new TStringList());
        RowToStrings(RowCount() - 1, footer.get());
        BlankStoredRow(RowCount() - 1);
        row = RowCount() - 1;
    }
    const Char delim = Delimiter != u'\0' ? Delimiter : GuessDelimiter(Lines);
    const int first = LoadFirstRow ? 0 : 1;
    const int total = int(Lines.size()) - first;
    // Rows are added in place: a shown footer row is put back at the end, not moved on the way.
    auto setRows = [this](qint64 Count) {
        if (Count > MaxGridRows) throw EInvalidGridOperation(QStringLiteral("Grid too large for operation"));
        SetRowCountInPlace(int(std::max<qint64>(Count, 1)));
    };
    if (Assigned(OnFileProgress))
        setRows(Insert ? qint64(RowCount()) + total : qint64(SaveStartRow()) + total + FixedFooters());
    TProgressReport progress(this, OnFileProgress);
    const int hidden = SaveHiddenCells ? FNumHidden : 0;
    auto store = [&](int Col, String Field) {
        if (JavaCSV) {
            if (Field.contains(u'~') || Field == QLatin1String("^")) Field = TildeToLineBreaks(Field);
        } else if (Field.contains(QChar(11)))
            Field = VTabToCRLF(Field);
        if (Col >= MaxGridCols) return;
        LoadCell(Col, row, Field);
        if (Col + 1 - hidden > ColCount()) SetColCount(Col + 1 - hidden);
    };
    int read = 0;
    for (int i = first; i < Lines.size(); ++i) {
        if (MaxRows > 0 && read >= MaxRows) break;
        const String s = OemConvert ? OemToString(Lines[i]) : Lines[i];
        if (row >= RowCount() - FixedFooters()) setRows(qint64(row) + 1000);
        int col = SaveStartCol();
        // The line is walked by position: what is left of it starts at pos.
        qsizetype pos = 0;
        const qsizetype n = s.size();
        while (delim != u'\0' && s.indexOf(delim, pos) >= 0) {
            // Leading blanks go, but at least one character stays.
            while (pos + 1 < n && s[pos] == u' ') ++pos;
            String field;
            if (s[pos] == u'"') {
                ++pos;
                const String rest = s.mid(pos);
                const int p = ClosingQuotePos(u'"', rest);
                if (p > 0) {
                    field = UndoubleChar(u'"', rest.left(p - 1));
                    pos += p;
                }
                const qsizetype d = s.indexOf(delim, pos);
                pos = d < 0 ? n : d + 1;
            } else {
                const qsizetype d = s.indexOf(delim, pos);
                field = s.mid(pos, d - pos);
                pos = d + 1;
            }
            store(col++, field);
        }
        if (pos < n) {
            while (pos + 1 < n && s[pos] == u' ') ++pos;
            qsizetype end = n;
            if (s[pos] == u'"') ++pos;
            if (end > pos && s[end - 1] == u'"') --end;
            const String last = s.mid(pos, end - pos);
            store(col, last.contains(u'"') ? UndoubleChar(u'"', last) : last);
        }
        ++row;
        ++read;
        progress.Report(total > 0 ? double(read) / total : 1.0);
    }
    setRows(qint64(row) + FixedFooters());
    FMaxRowCount = RowCount();
    if (footer) StringsToRow(footer.get(), RowCount() - 1);
    CellsChanged(TRect(0, 0, ColCount(), RowCount()));
    AllCellsChanged();
}
