// TAdvStringGrid: the HTML export. One TR per row, one TD per base cell with its spans, the
// cell's colours, font and alignment as CSS classes collected in a style block, line breaks as
// br, links, and cell graphics written as JPEG files into an images folder beside the document.
#include "AdvGridFilesSupport.h"
#include "GridPrintSettings.h"
#include "GridUtil.h"
#include "ImgList.h"
#include "Jpeg.h"
#include "MarkupText.h"
#include "ShellApi.h"

#include <QImage>

using namespace GridFiles;

namespace {

// The colour value that stands for "no colour" while the cell's looks are asked for.
constexpr TColor NoColor = TColor(0x7FFFFFFF);

const String CRLF = QStringLiteral("\r\n");

String Quoted(const String& S) {
    return u'"' + S + u'"';
}

// Writes Image as images/img<Counter>.jpg in Dir; answers the path.
String SaveHTMLImage(const String& Dir, int Counter, const QImage& Image) {
    const String folder = Dir + QStringLiteral("images");
    if (!DirectoryExists(folder) && !ForceDirectories(folder))
        throw Exception(QStringLiteral("Cannot create ") + folder);
    const String path = folder + QStringLiteral("/img") + String::number(Counter) + QStringLiteral(".jpg");
    WriteWholeFile(path, JpegEncode(Image.convertToFormat(QImage::Format_RGB32)));
    return path;
}

QImage GraphicImage(TGraphic* G) {
    if (!G || G->Empty()) return QImage();
    TScoped<TBitmap> bmp(new TBitmap(G->Width(), G->Height()));
    G->Draw(bmp->Canvas(), TRect(0, 0, G->Width(), G->Height()));
    return bmp->Image();
}

// The link step: a web address or a mail address becomes an anchor (the mail rule wins).
String LinkText(const String& T, bool Full) {
    if (T.contains(QLatin1String("</"))) return T;
    String result = T;
    const qsizetype web = T.indexOf(QLatin1String("://"));
    if (web >= 0)
        result =
            QStringLiteral("<a href=") + T + u'>' + (Full ? T : T.mid(web + 3, 255)) + QStringLiteral("</a>");
    const qsizetype mail = T.indexOf(QLatin1String("mailto:"));
    if (mail >= 0)
        result = QStringLiteral("<a href=") + T + u'>' + (Full ? T : T.mid(mail + 7, 255)) +
                 QStringLiteral("</a>");
    return result;
}

} // namespace

String TAdvStringGrid::SaveToHTMLString(const String& Dir) {
    THTMLSettings* hs = FHTMLSettings.get();
    const int startCol = SaveFixedCells || SaveFixedCols ? 0 : TBaseGrid::FixedCols();
    int startRow = SaveFixedCells || SaveFixedRows ? 0 : TBaseGrid::FixedRows();
    String prolog;
    if (hs->XHTML)
        prolog = QStringLiteral("<?xml version=\"1.0\" encoding=\"utf-8\"?>") + CRLF +
                 QStringLiteral("<!DOCTYPE html PUBLIC \"-//W3C//DTD XHTML 1.0 Strict//EN\"") + CRLF +
                 QStringLiteral("\"http://www.w3.org/TR/xhtml1/DTD/xhtml1-strict.dtd\">") + CRLF +
                 QStringLiteral("<HTML xmlns=\"http://www.w3.org/1999/xhtml\" xml:lang=\"en\" lang=\"en\">") +
                 CRLF;
    QStringList lines;
    if (!hs->PrefixTag.isEmpty()) lines << hs->PrefixTag;
    String table = QStringLiteral("<TABLE BORDER=") + Quoted(String::number(hs->BorderSize)) +
                   QStringLiteral(" CELLSPACING=") + Quoted(String::number(hs->CellSpacing)) +
                   QStringLiteral(" CELLPADDING=") + Quoted(String::number(hs->CellPadding)) + u' ';
    if (!hs->Summary.isEmpty()) table += QStringLiteral("SUMMARY=") + Quoted(hs->Summary) + u' ';
    if (!hs->TableStyle.isEmpty()) table += u' ' + hs->TableStyle + u' ';
    table += QStringLiteral(" WIDTH=") + Quoted(String::number(hs->Width) + u'%') + u'>';
    lines << table;

    QStringList styles;
    int imageCounter = 1;
    TIntList* widths = hs->ColWidths();
    const bool headerRow = TBaseGrid::FixedRows() > 0 && (SaveFixedCells || SaveFixedRows);

    // One TD element of cell (c, r).
    auto element = [&](int c, int r, bool Header) {
        const int real = RealColIndex(c);
        String spans;
        const TPoint span = CellSpan(c, r);
        if (span.X > 0) spans += QStringLiteral(" COLSPAN=") + Quoted(String::number(span.X + 1));
        if (span.Y > 0) spans += QStringLiteral(" ROWSPAN=") + Quoted(String::number(span.Y + 1));
        String t;
        SaveCell(real, r, t);
        if (!Header) {
            if (hs->ConvertSpecialChars) t = EncodeHTMLEntities(t, true);
            if (hs->NonBreakingText) t = SpacesToNbsp(t);
        }
        t = LineBreaksToBR(t);
        if (URLShow()) t = LinkText(t, URLFull());

        TScoped<TFont> font(new TFont());
        font->Assign(Font());
        font->SetColor(NoColor);
        font->SetStyle({});
        TScoped<TBrush> brush(new TBrush());
        brush->SetColor(NoColor);
        TGridDrawState state;
        TColor colorTo = clNone, mirror = clNone, mirrorTo = clNone;
        TAlignment ha = taLeftJustify;
        TVAlignment va = vtaTop;
        bool ww = false;
        TCellGradientDirection gd = GradientVertical;
        GetVisualProperties(c, r, state, true, false, false, brush.get(), colorTo, mirror, mirrorTo,
                            font.get(), ha, va, ww, gd);
        if (Header || IsFixed(c, r)) brush->SetColor(FixedColor());

        QStringList css;
        if (brush->Color() != NoColor && hs->SaveColor)
            css << QStringLiteral("background-color: #") + ColorToHTMLHex(brush->Color());
        if (font->Color() != NoColor && hs->SaveColor)
            css << QStringLiteral("color: #") + ColorToHTMLHex(font->Color());
        css << QStringLiteral("font-size:") + String::number(font->Size()) + QStringLiteral("pt");
        if (font->Style().count(fsItalic)) css << QStringLiteral("font-style: italic");
        if (font->Style().count(fsBold)) css << QStringLiteral("font-weight: bold");
        css << QStringLiteral("font-family: ") + font->Name();
        if (ha == taRightJustify) css << QStringLiteral("text-align: right");
        if (ha == taCenter) css << QStringLiteral("text-align: center");
        css << (va == vtaTop      ? QStringLiteral("vertical-align: top")
                : va == vtaCenter ? QStringLiteral("vertical-align: middle")
                                  : QStringLiteral("vertical-align: bottom"));
        const String style = css.join(u';');
        int k = int(styles.indexOf(style));
        if (k < 0) {
            styles << style;
            k = int(styles.size()) - 1;
        }

        String width;
        if (Header) {
            if (widths && c < widths->Count())
                width = QStringLiteral(" WIDTH=") + String::number(widths->Items(c));
        } else if (widths && c - startCol >= 0 && c - startCol < widths->Count() && !headerRow)
            width = QStringLiteral(" width=") + String::number(widths->Items(c - startCol));
        if (Header ? t.isEmpty() : t.trimmed().isEmpty()) t = QStringLiteral("&nbsp;");
        const String nowrap = ww ? String() : QStringLiteral(" nowrap");

        String content = t;
        TCellGraphic* g = hs->ExportImages ? GetCellGraphic(real, r) : nullptr;
        auto imgTag = [&](const QImage& Image) -> String {
            if (Image.isNull()) return String();
            const String path = SaveHTMLImage(Dir, imageCounter++, Image);
            return QStringLiteral("<img src= \"file://") + path + QStringLiteral("\">");
        };
        if (g) {
            TCustomImageList* list = GetCellImageList(real, r);
            switch (g->CellType) {
                case ctBitmap:
                    if (auto* b = dynamic_cast<TBitmap*>(g->CellBitmap))
                        content = t + imgTag(GraphicImage(b));
                    break;
                case ctImageList:
                    if (FGridImages && list && g->CellIndex >= 0 && g->CellIndex < FGridImages->Count())
                        content = imgTag(list->GetImage(g->CellIndex)) + t;
                    break;
                case ctDataImage: {
                    bool ok = false;
                    const int idx = GetCellEx(real, r).trimmed().toInt(&ok);
                    content = ok && FGridImages && idx >= 0 && idx < FGridImages->Count()
                                  ? imgTag(FGridImages->GetImage(idx))
                                  : String();
                    break;
                }
                case ctNode: content = u'+' + t; break;
                case ctImages:
                    if (list) {
                        content.clear();
                        if (auto* idx = dynamic_cast<TIntList*>(g->CellBitmap))
                            for (int i = 0; i < idx->Count(); ++i)
                                if (idx->Items(i) >= 0 && idx->Items(i) < list->Count())
                                    content += imgTag(list->GetImage(idx->Items(i)));
                        content += t;
                    }
                    break;
                case ctPicture:
                case ctInterface:
                    if (auto* p = dynamic_cast<TPicture*>(g->CellBitmap))
                        if (p->Graphic()) content = t + imgTag(GraphicImage(p->Graphic()));
                    break;
                default: break;
            }
        }
        return QStringLiteral("<TD class=\"c") + String::number(k) + u'"' + spans + nowrap + width + u'>' +
               content + QStringLiteral("</td>");
    };

    if (headerRow) {
        String row = QStringLiteral("<TR>");
        for (int c = startCol; c < ColCount(); ++c)
            if (IsBaseCell(c, 0)) row += element(c, 0, true);
        lines << row + QStringLiteral("</TR>");
        startRow = 1;
    }
    ExportNotification(esExportStart, startRow);
    for (int r = startRow; r < RowCount(); ++r) {
        ExportNotification(esExportNextRow, r);
        String row = QStringLiteral("<TR>");
        for (int c = startCol; c < ColCount(); ++c)
            if (IsBaseCell(c, r)) row += element(c, r, false);
        lines << row + QStringLiteral("</TR>");
    }
    ExportNotification(esExportDone, -1);
    lines << QStringLiteral("</TABLE>");
    if (!hs->SuffixTag.isEmpty()) lines << hs->SuffixTag;
    if (hs->XHTML) lines << QStringLiteral("</HTML>");

    String result = prolog + QStringLiteral("<style>") + CRLF;
    for (int k = 0; k < styles.size(); ++k)
        result += QStringLiteral(".c") + String::number(k) + QStringLiteral(" {") + styles[k] + u'}' + CRLF;
    result += QStringLiteral("</style>") + CRLF;
    for (const String& l : lines) result += l + CRLF;
    return result;
}

void TAdvStringGrid::SaveToHTML(const String& FileName, bool Show, bool Unicode) {
    SaveHTMLFile(FileName, Show, Unicode, false);
}

void TAdvStringGrid::AppendToHTML(const String& FileName, bool Show, bool Unicode) {
    SaveHTMLFile(FileName, Show, Unicode, true);
}

void TAdvStringGrid::SaveHTMLFile(const String& FileName, bool Show, bool Unicode, bool Append) {
    THTMLSettings* hs = FHTMLSettings.get();
    QStringList lines;
    if (Append) try {
            lines = ReadLines(FileName);
        } catch (const Exception&) {
        }
    if (!hs->HeaderFile.isEmpty()) lines << ReadLines(hs->HeaderFile);
    String dir = ExtractFilePath(FileName);
    dir.replace(u'\\', u'/');
    lines << SaveToHTMLString(dir);
    if (!hs->FooterFile.isEmpty()) lines << ReadLines(hs->FooterFile);
    String text;
    for (const String& l : lines) text += l + CRLF;
    // Without Unicode the file is UTF-8 (what the prolog declares), with no byte-order mark: a
    // text of plain ASCII gives the same bytes as before.
    WriteWholeFile(FileName, Unicode ? EncodeLines(lines, true) : text.toUtf8());
    if (Show || hs->AutoPreview)
        ShellExecute(HandleAllocated() ? Handle() : 0, "open", FileName, "", "", SW_SHOWNORMAL);
}
