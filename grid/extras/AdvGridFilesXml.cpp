// TAdvStringGrid: XML export and import. The writer gives one element per row and one child per
// cell, in the encoding its declaration names; the reader walks a parsed document and lays the
// element texts and attributes out over the cells.
#include "AdvGridFilesSupport.h"
#include "XmlDoc.h"

#include <QFile>

using namespace GridFiles;

namespace {

// The writer's escaping; "$amp;" stands for "&", as files written so far hold it. CR is written
// as a character reference, since readers fold CR LF to LF.
String XmlEscape(String T) {
    T.replace(u'&', QStringLiteral("$amp;"));
    T.replace(u'>', QStringLiteral("&gt;"));
    T.replace(u'<', QStringLiteral("&lt;"));
    T.replace(u'"', QStringLiteral("&quot;"));
    T.replace(u'\r', QStringLiteral("&#13;"));
    // A text of blanks only would be taken for layout by the reader: its blanks go as references.
    if (!T.isEmpty() && T.trimmed().isEmpty()) {
        T.replace(u' ', QStringLiteral("&#32;"));
        T.replace(u'\t', QStringLiteral("&#9;"));
        T.replace(u'\n', QStringLiteral("&#10;"));
    }
    return T;
}

String XmlUnescape(String T) {
    T.replace(QStringLiteral("$amp;"), QStringLiteral("&"));
    T.replace(QStringLiteral("&gt;"), QStringLiteral(">"));
    T.replace(QStringLiteral("&lt;"), QStringLiteral("<"));
    T.replace(QStringLiteral("&quot;"), QStringLiteral("\""));
    return T;
}

// The text in the named encoding; characters it cannot hold become character references.
QByteArray EncodeXml(const String& Text, const String& Encoding) {
    const String enc = Encoding.trimmed().toUpper();
    const bool utf8 = enc == QLatin1String("UTF-8") || enc == QLatin1String("UTF8");
    const bool latin1 = enc == QLatin1String("ISO-8859-1") || enc == QLatin1String("LATIN1");
    const bool win1252 = enc == QLatin1String("WINDOWS-1252") || enc == QLatin1String("CP1252");
    QByteArray out;
    out.reserve(Text.size());
    const QList<uint> codes = Text.toUcs4();
    for (uint u : codes) {
        // Control characters other than TAB, LF and CR go as references too.
        if (u < 0x20 && u != 9 && u != 10 && u != 13) {
            out += "&#" + QByteArray::number(u) + ';';
            continue;
        }
        if (u < 0x80) {
            out += char(u);
            continue;
        }
        if (utf8) {
            out += String::fromUcs4(reinterpret_cast<const char32_t*>(&u), 1).toUtf8();
            continue;
        }
        if (latin1 && u < 0x100) {
            out += char(u);
            continue;
        }
        if (win1252) {
            bool lossless = false;
            const QByteArray b =
                ToWin1252(String::fromUcs4(reinterpret_cast<const char32_t*>(&u), 1), &lossless);
            if (lossless && b.size() == 1) {
                out += b;
                continue;
            }
        }
        // US-ASCII and every encoding not known here: plain ASCII holds in all of them.
        out += "&#" + QByteArray::number(u) + ';';
    }
    return out;
}

struct TXmlReadState {
    TAdvStringGrid* Grid;
    bool LevelToRow;
    bool LoadFieldDescr;
    bool Headers; // SaveFixedCells or SaveFixedRows
    int C0, R0;
    int r = 0, c = 0, L = 1, MC = 0, MR = 0;
};

constexpr int MaxXmlDepth = 256;

// Makes cell (c + C0, r + R0) exist; false for a cell above the grid.
bool Grow(TXmlReadState& S) {
    const qint64 col = qint64(S.c) + S.C0, row = qint64(S.r) + S.R0;
    if (col < 0 || row < 0) return false;
    if (col >= MaxGridCols || row >= MaxGridRows)
        throw EInvalidGridOperation(QStringLiteral("Grid too large for operation"));
    if (S.Grid->ColCount() < col + 1) S.Grid->SetColCount(int(col + 1));
    if (S.Grid->RowCount() < row + 1) S.Grid->SetRowCount(int(row + 1));
    return true;
}

void Store(TXmlReadState& S, const String& Text) {
    if (!Grow(S)) return;
    S.Grid->LoadCell(S.c + S.C0, S.r + S.R0, Text);
    S.MC = std::max(S.MC, S.c + S.C0);
    S.MR = std::max(S.MR, S.r + S.R0);
}

void Visit(TXmlReadState& S, const TXMLNode& N, int Depth) {
    if (Depth > MaxXmlDepth) throw Exception(QStringLiteral("XML nesting too deep"));
    bool newRow = false;
    if (N.IsElement()) {
        int count = 0;
        for (pugi::xml_attribute a = N.Handle().first_attribute(); a; a = a.next_attribute(), ++count) {
            const String name = String::fromUtf8(a.name()), value = String::fromUtf8(a.value());
            if (Grow(S) && S.Headers && S.Grid->Cells(S.c + S.C0, 0).isEmpty())
                S.Grid->LoadCell(S.c + S.C0, 0, name);
            Store(S, XmlUnescape(value));
            ++S.c;
        }
        if (S.LevelToRow && count > 0) {
            ++S.r;
            S.c = S.L;
            newRow = true;
        }
    }
    const int children = N.NodeCount();
    if (children > 1) {
        if (S.LevelToRow && !newRow) {
            ++S.r;
            S.c = 0;
        }
        ++S.L;
        for (pugi::xml_node ch = N.Handle().first_child(); ch; ch = ch.next_sibling())
            Visit(S, TXMLNode(ch), Depth + 1);
    } else if (children == 0) {
        Store(S, String());
        ++S.c;
    } else {
        if (Grow(S) && S.Headers && S.LoadFieldDescr && S.Grid->Cells(S.c + S.C0, 0).isEmpty())
            S.Grid->LoadCell(S.c + S.C0, 0, N.NodeName());
        String t = XmlUnescape(N.InnerText());
        if (S.Grid->QuoteEmptyCells && t == QLatin1String("\"\"")) t.clear();
        Store(S, t);
        ++S.c;
    }
}

} // namespace

void TAdvStringGrid::SaveToXML(const String& FileName, const String& ListDescr, const String& RecordDescr,
                               TStrings* FieldDescr, bool ExportEmptyCells) {
    String text =
        QStringLiteral("<?xml version=\"1.0\" encoding=\"") + XMLEncoding + QStringLiteral("\" ?>\r\n");
    text += u'<' + ListDescr + QStringLiteral(">\r\n");
    TProgressReport progress(this, OnFileProgress);
    ExportNotification(esExportStart, SaveStartRow());
    const int endCol = SaveEndCol() + (SaveHiddenCells ? FNumHidden : 0);
    for (int r = SaveStartRow(); r <= SaveEndRow(); ++r) {
        ExportNotification(esExportNextRow, r);
        text += u'<' + RecordDescr + QStringLiteral(">\r\n");
        for (int c = SaveStartCol(); c <= endCol; ++c) {
            const int real = SaveHiddenCells ? c : RealColIndex(c);
            if (!IsBaseCell(real, r)) continue;
            String t;
            SaveCell(real, r, t);
            if (t.isEmpty() && !ExportEmptyCells) continue;
            if (t.isEmpty() && QuoteEmptyCells) t = QStringLiteral("\"\"");
            const int i = c - SaveStartCol();
            const String tag = FieldDescr && i < FieldDescr->Count()
                                   ? FieldDescr->Strings(i)
                                   : QStringLiteral("FIELD") + String::number(i);
            text += u'<' + tag + u'>' + XmlEscape(t) + QStringLiteral("</") + tag + QStringLiteral(">\r\n");
        }
        text += QStringLiteral("</") + RecordDescr + QStringLiteral(">\r\n");
        progress.Report(double(r) / std::max(1, SaveEndRow() - SaveStartRow()));
    }
    text += QStringLiteral("</") + ListDescr + QStringLiteral(">\r\n");
    ExportNotification(esExportDone, -1);
    try {
        WriteWholeFile(FileName, EncodeXml(text, XMLEncoding));
    } catch (const EFCreateError&) {
        throw EAdvGridError(QStringLiteral("Cannot Create file ") + FileName);
    }
}

void TAdvStringGrid::LoadFromXML(const String& FileName, bool LevelToRow, bool LoadFieldDescr) {
    if (!FileExists(FileName)) throw Exception(QStringLiteral("XML file not found"));
    QFile f(NativePath(FileName));
    if (!f.open(QIODevice::ReadOnly)) throw Exception(QStringLiteral("XML file not found"));
    QByteArray bytes = f.readAll();
    // The parser reads UTF-8, UTF-16 and ISO-8859-1 by itself; a Windows-1252 file (as the writer
    // makes for that encoding) is turned into UTF-8 first, its declaration with it.
    if (!bytes.startsWith("\xEF\xBB\xBF") && !bytes.startsWith("\xFF\xFE") && !bytes.startsWith("\xFE\xFF")) {
        const qsizetype end = bytes.indexOf("?>");
        const QByteArray decl = bytes.startsWith("<?xml") && end > 0 ? bytes.left(end) : QByteArray();
        const QByteArray lower = decl.toLower();
        for (const char* name : {"windows-1252", "cp1252"}) {
            const qsizetype at = lower.indexOf(name);
            if (at < 0) continue;
            QByteArray head = decl;
            head.replace(at, qstrlen(name), "UTF-8");
            bytes = head + FromWin1252(bytes.mid(end)).toUtf8();
            break;
        }
    }
    TScoped<TXMLDocument> doc(new TXMLDocument(nullptr));
    try {
        doc->LoadFromXML(bytes);
    } catch (const EXMLDocError&) {
        const qint64 offset = std::clamp<qint64>(doc->ParseOffset(), 0, bytes.size());
        const int line = int(bytes.left(offset).count('\n')) + 1;
        throw Exception(
            QStringLiteral("XMLDOM Parsing error %1 on line %2").arg(doc->ParseStatus()).arg(line));
    }
    TXmlReadState s{this, LevelToRow, LoadFieldDescr, SaveFixedCells || SaveFixedRows, SaveStartCol(), 0};
    s.R0 = (!SaveFixedCells && !SaveFixedRows) || LoadFieldDescr ? TBaseGrid::FixedRows() : 0;
    s.MC = s.C0;
    s.MR = s.R0;
    const TXMLNode root = doc->DocumentElement();
    int q = 0;
    for (pugi::xml_node rec = root.Handle().first_child(); rec; rec = rec.next_sibling(), ++q) {
        s.c = 0;
        s.L = 1;
        if (LevelToRow && q == 0 && !rec.first_attribute()) s.r = -1;
        Visit(s, TXMLNode(rec), 0);
        if (!LevelToRow) ++s.r;
    }
    SetColCount(s.MC + 1);
    SetRowCount(s.MR + 1);
    AllCellsChanged();
}
