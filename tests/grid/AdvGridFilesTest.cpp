// The grid's file formats: the binary cell stream, the own text format, aligned and fixed-width
// text and CSV, each over one table of awkward texts, plus the damaged-input rules.
#include "AdvGrid.h"
#include "AdvGridTestSupport.h"
#include "AdvShownGridFixture.h"
#include "GridUtil.h"
#include "Jpeg.h"
#include "ShellApi.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

namespace {

// Texts every format must carry unchanged.
const QStringList AwkwardTexts{QString(),
                               QStringLiteral("   "),
                               QStringLiteral("say \"hi\""),
                               QStringLiteral("a,b;c"),
                               QStringLiteral("line1\r\nline2"),
                               QStringLiteral("tab\there"),
                               QStringLiteral("vt") + QChar(11) + QStringLiteral("x"),
                               PackWideText(QStringLiteral("wide")),
                               QStringLiteral("Grüße €"),
                               QStringLiteral("<b>bold</b> & <i>x</i>"),
                               QStringLiteral("{\\rtf1\\ansi {\\b x}}")};

// A grid holding the texts in column 1 from row 1 on.
TAdvGridPtr AwkwardGrid() {
    TAdvGridPtr g = MakeAdvGrid(3, int(AwkwardTexts.size()) + 1);
    g->Multilinecells = true;
    for (int i = 0; i < AwkwardTexts.size(); ++i) g->SetCells(1, i + 1, AwkwardTexts[i]);
    return g;
}

QByteArray FileBytes(const QString& Name) {
    QFile f(Name);
    f.open(QIODevice::ReadOnly);
    return f.readAll();
}

void WriteFile(const QString& Name, const QByteArray& Bytes) {
    QFile f(Name);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(Bytes);
}

// ---- Binary cell stream ----

TEST(GridBinStream, RoundTripsTextsPropertiesAndGraphics) {
    TAdvGridPtr src = AwkwardGrid();
    TCellProperties* p = src->GetCellProperties(2, 1);
    p->SetBrushColor(clRed);
    p->SetFontName("Courier");
    p->SetFontStyle({fsBold});
    p->SetAlignment(taCenter);
    p->SetReadOnly(true);
    p->SetCellObject(1234);
    // A grid-made radio group, a picture by file name, two graphics (the second with a zero
    // value), a grid-made bitmap and one that belongs to the application.
    src->CreateRadio(2, 2, 0, 1)->AddStrings(QStringList{"one", "two"});
    TFilePicture* fp = src->CreateFilePicture(2, 3, false, noStretch, 0, haLeft, vaTop);
    try {
        fp->SetFilename("/nowhere/pic.png");
    } catch (const Exception&) {
    }
    src->AddProgress(2, 4, clRed, clWhite);
    src->GetCellGraphic(2, 4)->CellValue = 7.5;
    src->AddProgress(2, 5, clRed, clWhite);
    src->CreateBitmap(2, 6, false, haLeft, vaTop)->SetSize(3, 2);
    TBitmap appBitmap(4, 4);
    src->AddBitmap(2, 7, &appBitmap, false, haLeft, vaTop);
    src->SetCells(2, 7, "kept");

    TMemoryStream ms;
    src->SaveToBinStream(&ms);
    ms.SetPosition(0);
    TAdvGridPtr dst = MakeAdvGrid(1, 1);
    dst->LoadFromBinStream(&ms);

    ASSERT_EQ(dst->RowCount(), src->RowCount());
    for (int i = 0; i < AwkwardTexts.size(); ++i) EXPECT_EQ(dst->Cells(1, i + 1), AwkwardTexts[i]) << i;
    TCellProperties* q = dst->GetCellProperties(2, 1);
    EXPECT_EQ(q->BrushColor(), clRed);
    EXPECT_EQ(q->FontName(), "Courier");
    EXPECT_EQ(q->FontStyle(), TFontStyles{fsBold});
    EXPECT_EQ(q->Alignment(), taCenter);
    EXPECT_TRUE(q->ReadOnly());
    // Another grid gets no pointer from this one.
    EXPECT_EQ(q->CellObject(), 0u);
    auto* radio = dynamic_cast<TStrings*>(dst->GetCellGraphic(2, 2)->CellBitmap);
    ASSERT_NE(radio, nullptr);
    EXPECT_EQ(radio->Text(), "one\r\ntwo\r\n");
    EXPECT_NE(radio, src->GetCellGraphic(2, 2)->CellBitmap);
    auto* pic = dynamic_cast<TFilePicture*>(dst->GetCellGraphic(2, 3)->CellBitmap);
    ASSERT_NE(pic, nullptr);
    EXPECT_EQ(pic->Filename(), "/nowhere/pic.png");
    EXPECT_EQ(dst->GetCellGraphic(2, 4)->CellValue, 7.5);
    EXPECT_EQ(dst->GetCellGraphic(2, 5)->CellValue, 0.0);
    TBitmap* bmp = dst->GetBitmap(2, 6);
    ASSERT_NE(bmp, nullptr);
    EXPECT_EQ(bmp->Width(), 3);
    EXPECT_EQ(dst->GetCellGraphic(2, 7), nullptr);
    EXPECT_EQ(dst->Cells(2, 7), "kept");

    // The same grid reading its own stream keeps the cell object.
    ms.SetPosition(0);
    src->LoadFromBinStream(&ms);
    EXPECT_EQ(src->GetCellProperties(2, 1)->CellObject(), 1234u);
}

TEST(GridBinStream, PartialRectangleLandsAtThePointAndLeavesTheSize) {
    TAdvGridPtr src = MakeAdvGrid(10, 10);
    src->SetCells(3, 4, "x");
    TMemoryStream ms;
    src->SaveRectToBinStream(TRect(3, 4, 3, 4), &ms);
    ms.WriteBuffer("\x01", 1); // a trailing byte is passed over
    ms.SetPosition(0);
    TAdvGridPtr dst = MakeAdvGrid(8, 9);
    dst->SetColWidths(1, 33);
    dst->LoadAtPointFromBinStream(TPoint(5, 7), &ms);
    EXPECT_EQ(dst->Cells(5, 7), "x");
    EXPECT_EQ(dst->Cells(3, 4), "");
    EXPECT_EQ(dst->ColCount(), 8);
    EXPECT_EQ(dst->ColWidths(1), 33);
}

TEST(GridBinStream, WholeGridRestoresSizes) {
    TAdvGridPtr src = MakeAdvGrid(4, 3);
    src->SetColWidths(2, 91);
    src->SetRowHeights(1, 40);
    TMemoryStream ms;
    src->SaveToBinStream(&ms);
    ms.SetPosition(0);
    TAdvGridPtr dst = MakeAdvGrid(9, 9);
    dst->LoadFromBinStream(&ms);
    EXPECT_EQ(dst->ColCount(), 4);
    EXPECT_EQ(dst->RowCount(), 3);
    EXPECT_EQ(dst->ColWidths(2), 91);
    EXPECT_EQ(dst->RowHeights(1), 40);
}

// Damaged streams: every cut and every flipped byte either loads or raises the read error; the
// cells placed before the damage stay, and a header that does not fit changes nothing.
TEST(GridBinStream, DamagedStreamsRaiseReadErrorsAndNeverCrash) {
    TAdvGridPtr src = AwkwardGrid();
    src->GetCellProperties(1, 2)->SetBrushColor(clBlue);
    src->CreateBitmap(2, 2, false, haLeft, vaTop)->SetSize(2, 2);
    TMemoryStream good;
    src->SaveToBinStream(&good);
    const QByteArray bytes = good.Bytes();
    for (int cut = 0; cut < bytes.size(); cut += 7) {
        TMemoryStream ms;
        ms.WriteBuffer(bytes.left(cut));
        ms.SetPosition(0);
        TAdvGridPtr dst = MakeAdvGrid(2, 2);
        try {
            dst->LoadFromBinStream(&ms);
        } catch (const EReadError& e) {
            EXPECT_EQ(e.Message(), "Stream read error");
        }
    }
    for (int at = 0; at < bytes.size(); at += 5) {
        QByteArray bad = bytes;
        bad[at] = char(bad[at] ^ 0x5A);
        TMemoryStream ms;
        ms.WriteBuffer(bad);
        ms.SetPosition(0);
        TAdvGridPtr dst = MakeAdvGrid(2, 2);
        try {
            dst->LoadFromBinStream(&ms);
        } catch (const Exception&) {
        }
    }
}

TEST(GridBinStream, RefusalsChangeNothing) {
    TAdvGridPtr g = MakeAdvGrid(3, 3);
    g->SetCells(1, 1, "stay");
    TMemoryStream out;
    EXPECT_THROW(g->SaveRectToBinStream(TRect(0, 0, 65536, 1), &out), EAdvGridError);
    EXPECT_EQ(out.Size(), 0);

    // A whole-grid header asking for more columns than a grid can have.
    TAdvGridPtr big = MakeAdvGrid(2, 2);
    TMemoryStream ms;
    big->SaveToBinStream(&ms);
    QByteArray bytes = ms.Bytes();
    const int at = int(bytes.indexOf("ColCount")) + 8 + 1; // the value after its type byte
    bytes[at + 3] = 0x10;
    TMemoryStream bad;
    bad.WriteBuffer(bytes);
    bad.SetPosition(0);
    EXPECT_THROW(g->LoadFromBinStream(&bad), EReadError);
    EXPECT_EQ(g->Cells(1, 1), "stay");
    EXPECT_EQ(g->ColCount(), 3);
}

// ---- Own text format ----

TEST(GridTextFormat, FileAndStreamRoundTrip) {
    QTemporaryDir dir;
    for (bool unicode : {true, false}) {
        TAdvGridPtr src = AwkwardGrid();
        const QString name = dir.filePath(unicode ? "u.txt" : "a.txt");
        src->SaveToFile(name, unicode);
        TAdvGridPtr dst = MakeAdvGrid(1, 1);
        dst->Multilinecells = true;
        dst->LoadFromFile(name);
        EXPECT_EQ(dst->RowCount(), src->RowCount());
        for (int i = 0; i < AwkwardTexts.size(); ++i) {
            EXPECT_EQ(dst->Cells(1, i + 1), AwkwardTexts[i]) << i << " unicode " << unicode;
        }
    }
    // The escaped line and the cut without Multilinecells.
    TAdvGridPtr g = MakeAdvGrid(2, 2);
    g->SetCells(1, 1, "a\r\nb");
    const QString name = dir.filePath("ml.txt");
    g->SaveToFile(name, false);
    EXPECT_TRUE(FileBytes(name).contains(QByteArray("1,1,a\t\bb")));
    TAdvGridPtr one = MakeAdvGrid(1, 1);
    one->LoadFromFile(name);
    EXPECT_EQ(one->Cells(1, 1), "a");

    // The stream: relative to each grid's save start, and foreign lines left for the caller.
    TAdvGridPtr src = AwkwardGrid();
    TMemoryStream ms;
    src->SaveToStream(&ms);
    const Int64 end = ms.Position();
    const QString tail = QStringLiteral("other data\r\n");
    ms.WriteBuffer(reinterpret_cast<const char*>(tail.utf16()), tail.size() * 2);
    ms.SetPosition(0);
    TAdvGridPtr dst = MakeAdvGrid(5, 5);
    dst->Multilinecells = true;
    dst->SaveFixedCells = false;
    dst->SetFixedCols(1);
    dst->SetFixedRows(0);
    dst->LoadFromStream(&ms);
    EXPECT_EQ(ms.Position(), end);
    for (int i = 0; i < AwkwardTexts.size(); ++i) EXPECT_EQ(dst->Cells(2, i + 1), AwkwardTexts[i]) << i;
}

TEST(GridTextFormat, CorruptCountsChangeNothing) {
    QTemporaryDir dir;
    struct Case {
        const char* Content;
    };
    const Case cases[] = {{"0,5\r\n"}, {"-3,2\r\n"}, {"x,y\r\n"}, {"99999999,2\r\n"}};
    for (const Case& c : cases) {
        const QString name = dir.filePath("bad.txt");
        WriteFile(name, c.Content);
        TAdvGridPtr g = MakeAdvGrid(3, 3);
        g->SetCells(1, 1, "stay");
        try {
            g->LoadFromFile(name);
            ADD_FAILURE() << c.Content;
        } catch (const EAdvGridError& e) {
            EXPECT_EQ(e.Message(), "File contains no data or corrupt file " + name);
        }
        EXPECT_EQ(g->ColCount(), 3);
        EXPECT_EQ(g->Cells(1, 1), "stay");
    }
    // A negative width is passed over.
    const QString name = dir.filePath("cw.txt");
    WriteFile(name, "3,3\r\ncw 1,-40\r\n1,1,x\r\n");
    TAdvGridPtr g = MakeAdvGrid(3, 3);
    const int w = g->ColWidths(1);
    g->LoadFromFile(name);
    EXPECT_EQ(g->ColWidths(1), w);
    EXPECT_EQ(g->Cells(1, 1), "x");
}

TEST(GridTextFormat, AssignCellsCopiesThroughTheStream) {
    TAdvGridPtr src = AwkwardGrid();
    TAdvGridPtr dst = MakeAdvGrid(1, 1);
    dst->Multilinecells = true;
    dst->AssignCells(src.get());
    for (int i = 0; i < AwkwardTexts.size(); ++i) EXPECT_EQ(dst->Cells(1, i + 1), AwkwardTexts[i]) << i;
}

// ---- Fixed width and numbers ----

TEST(GridFixedWidth, PositionsAndRefusals) {
    QTemporaryDir dir;
    const QString name = dir.filePath("fixed.txt");
    WriteFile(name, "abcdefghijkl\r\n1234 56789\r\n");
    TAdvGridPtr g = MakeAdvGrid(2, 2);
    TIntList pos(0, 0);
    for (int p : {10, 1, 5}) pos.Add(p);
    g->LoadFromFixed(name, &pos, true, -1);
    EXPECT_EQ(pos.StrValue(), "1,5,10");
    EXPECT_EQ(g->Cells(0, 0), "abcd");
    EXPECT_EQ(g->Cells(1, 0), "efghi");
    EXPECT_EQ(g->Cells(0, 1), "1234");
    EXPECT_EQ(g->Cells(1, 1), "5678");

    TIntList one(0, 0);
    one.Add(1);
    g->SetCells(0, 0, "stay");
    const int cols = g->ColCount();
    EXPECT_THROW(g->LoadFromFixed(name, &one, true, -1), EAdvGridError);
    EXPECT_EQ(g->ColCount(), cols);
    EXPECT_EQ(g->Cells(0, 0), "stay");
    try {
        g->LoadFromFixed(dir.filePath("none.txt"), &pos, true, -1);
        ADD_FAILURE();
    } catch (const EAdvGridError& e) {
        EXPECT_EQ(e.Message(), "File " + dir.filePath("none.txt") + " not found");
    }

    // Saving fills the missing widths from the texts.
    TAdvGridPtr s = MakeAdvGrid(2, 2);
    s->SetCells(0, 0, "ab");
    s->SetCells(1, 1, "xyz");
    TIntList widths(0, 0);
    const QString out = dir.filePath("out.txt");
    s->SaveToFixed(out, &widths);
    EXPECT_EQ(widths.StrValue(), "3,4");
    EXPECT_EQ(FileBytes(out), QByteArray("ab     \r\n   xyz \r\n"));
}

TEST(GridCellToReal, NumbersAndErrors) {
    TAdvGridPtr g = MakeAdvGrid(2, 2);
    EXPECT_EQ(g->CellToReal(0, 0), 0.0);
    g->SetCells(0, 0, "12x34");
    EXPECT_EQ(g->CellToReal(0, 0), 12.0);
    g->SetCells(1, 1, "1e+e");
    try {
        g->CellToReal(1, 1);
        ADD_FAILURE();
    } catch (const EAdvGridError& e) {
        EXPECT_TRUE(e.Message().startsWith("Error at position: ")) << e.Message().toStdString();
        EXPECT_TRUE(e.Message().endsWith(" in Cell [1, 1].")) << e.Message().toStdString();
    }
}

// ---- CSV ----

TEST(GridCsv, RoundTripOfAwkwardTexts) {
    QTemporaryDir dir;
    for (bool unicode : {true, false}) {
        TAdvGridPtr src = AwkwardGrid();
        const QString name = dir.filePath("t.csv");
        src->SaveToCSV(name, unicode);
        TAdvGridPtr dst = MakeAdvGrid(1, 1);
        dst->LoadFromCSV(name);
        EXPECT_EQ(dst->RowCount(), src->RowCount());
        for (int i = 0; i < AwkwardTexts.size(); ++i) {
            const QString want = AwkwardTexts[i];
            // Character 11 is how the format keeps line breaks: it reads back as one.
            if (want.contains(QChar(11))) continue;
            EXPECT_EQ(dst->Cells(1, i + 1), want) << i << " unicode " << unicode;
        }
    }
}

TEST(GridCsv, QuotingTable) {
    QTemporaryDir dir;
    struct Case {
        const char* Text;
        bool Java, Always, QuoteEmpty;
        const char* Written;
    };
    const Case cases[] = {
        {"a,b", false, false, true, "\"a,b\""},
        {"say \"hi\"", false, false, true, "\"say \"\"hi\"\"\""},
        {"x\r\ny", false, false, true, "\"x\vy\""},
        {"", false, false, true, "\"\""},
        {"", false, false, false, ""},
        {"", true, false, true, "^"},
        {"x\r\ny", true, false, true, "x~y"},
        {"plain", false, true, true, "\"plain\""},
        {"x\r\ny", false, true, true, "\"x\ny\""},
    };
    for (const Case& c : cases) {
        TAdvGridPtr g = MakeAdvGrid(1, 1);
        g->SetCells(0, 0, c.Text);
        g->JavaCSV = c.Java;
        g->AlwaysQuotes = c.Always;
        g->QuoteEmptyCells = c.QuoteEmpty;
        const QString name = dir.filePath("q.csv");
        g->SaveToCSV(name, false);
        EXPECT_EQ(FileBytes(name), QByteArray(c.Written) + "\r\n") << c.Text;
    }
}

TEST(GridCsv, DelimiterGuessTable) {
    QTemporaryDir dir;
    struct Case {
        const char* File;
        const char* Cell1; // the text of cell (1, 0)
    };
    const Case cases[] = {
        {"a;b;c\r\n1;2;3\r\n", "b"},
        {"a,b;c\r\n", "b;c"},
        {"a|b\r\nc|d\r\n", "b"},
        {"a\tb,c\r\nd\te,f\r\n", "c"},
        {"\"x;y\",z\r\n\"1;2\",3\r\n", "z"},
    };
    for (const Case& c : cases) {
        const QString name = dir.filePath("g.csv");
        WriteFile(name, c.File);
        TAdvGridPtr g = MakeAdvGrid(1, 1);
        g->LoadFromCSV(name);
        EXPECT_EQ(g->Cells(1, 0), c.Cell1) << c.File;
        EXPECT_EQ(g->Delimiter, QChar(0));
    }
}

TEST(GridCsv, MaxRowsEmptyStreamAndInsert) {
    QTemporaryDir dir;
    const QString name = dir.filePath("m.csv");
    QByteArray many;
    for (int i = 0; i < 30; ++i) many += QByteArray::number(i) + ",x\r\n";
    WriteFile(name, many);
    TAdvGridPtr g = MakeAdvGrid(2, 2);
    g->LoadFromCSV(name, 10);
    EXPECT_EQ(g->RowCount(), 10);
    EXPECT_EQ(g->Cells(0, 9), "9");

    TMemoryStream empty;
    try {
        g->LoadFromCSVStream(&empty);
        ADD_FAILURE();
    } catch (const Exception& e) {
        EXPECT_EQ(e.Message(), "File is empty");
    }
    g->InsertFromCSV(name, 2);
    EXPECT_EQ(g->RowCount(), 12);
    EXPECT_EQ(g->Cells(0, 11), "1");
}

} // namespace

namespace {

// ---- HTML ----

TEST(GridHtml, ClassesSpansTextsAndLinks) {
    TAdvGridPtr g = MakeAdvGrid(4, 6);
    g->SetFixedRows(0);
    g->SetFixedCols(0);
    g->SetCells(0, 0, "a\r\nb");
    g->SetCells(1, 0, "   ");
    g->SetCells(2, 0, "see http://example.org/x");
    g->SetCells(3, 0, "mail mailto:me@example.org and http://x");
    g->MergeCells(0, 1, 2, 3);
    g->SetURLShow(true);
    const QString html = g->SaveToHTMLString("/tmp/");
    // Identical cells share the first class; every class is declared once, numbered from c0.
    EXPECT_TRUE(html.startsWith("<style>\r\n.c0 {")) << html.toStdString();
    EXPECT_FALSE(html.contains(".c1 {"));
    EXPECT_TRUE(html.contains("<TABLE BORDER=\"1\" CELLSPACING=\"0\" CELLPADDING=\"0\"  WIDTH=\"100%\">"));
    EXPECT_TRUE(html.contains("a<br>\nb</td>"));
    EXPECT_TRUE(html.contains(">&nbsp;</td>"));
    EXPECT_TRUE(html.contains("COLSPAN=\"2\" ROWSPAN=\"3\""));
    EXPECT_EQ(html.count("<TD"), 4 * 6 - 5); // the merged area gives one element
    EXPECT_TRUE(html.contains("<a href=see http://example.org/x>example.org/x</a>"));
    EXPECT_TRUE(html.contains(">me@example.org and http://x</a>"));
}

TEST(GridHtml, ImagesAreNumberedJpegFiles) {
    QTemporaryDir dir;
    TAdvGridPtr g = MakeAdvGrid(2, 3);
    g->SetFixedCols(0);
    TBitmap* b1 = g->CreateBitmap(0, 0, false, haLeft, vaTop);
    b1->SetSize(8, 6);
    TBitmap* b2 = g->CreateBitmap(1, 2, false, haLeft, vaTop);
    b2->SetSize(5, 4);
    const QString base = dir.path() + "/";
    const QString html = g->SaveToHTMLString(base);
    EXPECT_TRUE(html.contains("<img src= \"file://" + base + "images/img1.jpg\">"));
    EXPECT_TRUE(html.contains("<img src= \"file://" + base + "images/img2.jpg\">"));
    QImage img;
    ASSERT_TRUE(JpegDecode(FileBytes(base + "images/img2.jpg"), img));
    EXPECT_EQ(img.width(), 5);

    // A folder that cannot be made stops the export with its message.
    WriteFile(dir.filePath("file"), "x");
    try {
        g->SaveToHTMLString(dir.filePath("file") + "/");
        ADD_FAILURE();
    } catch (const Exception& e) {
        EXPECT_EQ(e.Message(), "Cannot create " + dir.filePath("file") + "/images");
    }
}

TEST(GridHtml, FileIsUtf8AndAsciiStaysTheSame) {
    QTemporaryDir dir;
    TAdvGridPtr g = MakeAdvGrid(2, 2);
    g->SetCells(1, 1, "plain");
    const QString name = dir.filePath("t.html");
    g->SaveToHTML(name);
    const QByteArray ascii = FileBytes(name);
    EXPECT_EQ(ascii, g->SaveToHTMLString(dir.path() + "/").toLatin1() + "\r\n");
    g->SetCells(1, 1, "Grüße €");
    g->SaveToHTML(name);
    EXPECT_TRUE(FileBytes(name).contains(QString("Grüße €").toUtf8()));
}

// ---- XML ----

TEST(GridXml, WriterLinesAndRoundTrip) {
    QTemporaryDir dir;
    const QString name = dir.filePath("t.xml");
    TAdvGridPtr g = MakeAdvGrid(2, 2);
    g->SetFixedRows(0);
    g->SetFixedCols(0);
    g->SetCells(0, 0, "a&b");
    g->SetCells(1, 0, "x<y");
    g->SetCells(0, 1, "1");
    g->SetCells(1, 1, "2");
    g->SaveToXML(name, "list", "row", nullptr, false);
    EXPECT_EQ(FileBytes(name),
              QByteArray("<?xml version=\"1.0\" encoding=\"ISO-8859-1\" ?>\r\n"
                         "<list>\r\n<row>\r\n<FIELD0>a$amp;b</FIELD0>\r\n"
                         "<FIELD1>x&lt;y</FIELD1>\r\n</row>\r\n<row>\r\n"
                         "<FIELD0>1</FIELD0>\r\n<FIELD1>2</FIELD1>\r\n</row>\r\n</list>\r\n"));
    // Field names from a list; empty cells written (as two escaped quotes) and read back empty.
    TStringList names;
    names.Add("name");
    const QString named = dir.filePath("n.xml");
    g->SetCells(1, 1, "");
    g->SaveToXML(named, "list", "row", &names, true);
    const QByteArray namedBytes = FileBytes(named);
    EXPECT_TRUE(namedBytes.contains("<name>1</name>\r\n<FIELD1>&quot;&quot;</FIELD1>"))
        << namedBytes.constData();
    TAdvGridPtr quoted = MakeAdvGrid(1, 1);
    quoted->LoadFromXML(named);
    EXPECT_EQ(quoted->Cells(1, 1), "");
    EXPECT_EQ(quoted->Cells(0, 1), "1");
    g->SetCells(1, 1, "2");

    TAdvGridPtr back = MakeAdvGrid(1, 1);
    back->LoadFromXML(name);
    EXPECT_EQ(back->ColCount(), 2);
    EXPECT_EQ(back->RowCount(), 2);
    EXPECT_EQ(back->Cells(0, 0), "a&b");
    EXPECT_EQ(back->Cells(1, 0), "x<y");

    // Every awkward text in every encoding the declaration may name.
    for (const char* encoding : {"ISO-8859-1", "Windows-1252", "UTF-8", "US-ASCII"}) {
        TAdvGridPtr src = AwkwardGrid();
        src->XMLEncoding = encoding;
        src->SaveToXML(name, "list", "row", nullptr, true);
        TAdvGridPtr dst = MakeAdvGrid(1, 1);
        dst->LoadFromXML(name);
        // XML cannot carry character 0, which packed texts hold.
        for (int i = 0; i < AwkwardTexts.size(); ++i)
            if (!AwkwardTexts[i].contains(QChar(0)))
                EXPECT_EQ(dst->Cells(1, i + 1), AwkwardTexts[i]) << i << " " << encoding;
    }
}

TEST(GridXml, ReaderRulesAndErrors) {
    QTemporaryDir dir;
    const QString name = dir.filePath("r.xml");
    WriteFile(name, "<list><rec id=\"7\"><a>1</a><b>2</b></rec><rec id=\"8\"><a>3</a><b>4</b></rec></list>");
    TAdvGridPtr g = MakeAdvGrid(5, 5);
    g->LoadFromXML(name, false, true);
    EXPECT_EQ(g->Cells(0, 0), "id");
    EXPECT_EQ(g->Cells(1, 0), "a");
    EXPECT_EQ(g->Cells(2, 1), "2");
    EXPECT_EQ(g->Cells(0, 2), "8");

    try {
        g->LoadFromXML(dir.filePath("none.xml"));
        ADD_FAILURE();
    } catch (const Exception& e) {
        EXPECT_EQ(e.Message(), "XML file not found");
    }
    WriteFile(name, "<list>\n<rec>\n<a>1</b>\n</list>");
    try {
        g->LoadFromXML(name);
        ADD_FAILURE();
    } catch (const Exception& e) {
        EXPECT_TRUE(e.Message().startsWith("XMLDOM Parsing error ")) << e.Message().toStdString();
        EXPECT_TRUE(e.Message().endsWith(" on line 3")) << e.Message().toStdString();
    }
}

} // namespace

namespace {

// ---- Aligned text ----

TEST(GridAsciiExport, AlignmentContinuationLinesAndAppend) {
    QTemporaryDir dir;
    TAdvGridPtr g = MakeAdvGrid(3, 2);
    g->Multilinecells = true;
    g->SetCells(0, 0, "left");
    g->SetCells(1, 0, "7");
    g->SetCells(2, 0, "ab");
    g->SetCells(0, 1, "x");
    g->SetCells(1, 1, "12345");
    g->SetCells(2, 1, "a\r\nbcd");
    g->GetCellProperties(1, 0)->SetAlignment(taRightJustify);
    g->GetCellProperties(2, 1)->SetAlignment(taCenter);
    const QString name = dir.filePath("a.txt");
    g->SaveToASCII(name, false);
    // Widths 4, 5 and 3; right: padded in front; centre: a blank on each side at a time.
    EXPECT_EQ(FileBytes(name), QByteArray("left     7 ab  \r\n"
                                          "x    12345  a  \r\n"
                                          "           bcd\r\n"));
    // The append keeps what the file holds; on a missing file it starts a new one.
    g->AppendToASCII(name, false);
    EXPECT_EQ(FileBytes(name).count("left"), 2);
    const QString fresh = dir.filePath("fresh.txt");
    g->AppendToASCII(fresh, false);
    EXPECT_EQ(FileBytes(fresh), FileBytes(name).mid(FileBytes(name).size() / 2));
}

TEST(GridAsciiExport, FailureRestoresTheCursorAndLeavesNoFile) {
    TAdvGridPtr g = MakeAdvGrid(2, 2);
    ASSERT_NE(Screen, nullptr);
    Screen->SetCursor(crDefault);
    EXPECT_THROW(g->SaveToASCII("/nonexistent-folder/a.txt", false), Exception);
    EXPECT_EQ(Screen->Cursor(), crDefault);
}

// Every writer replaces a file whole or not at all, and reports a failure.
TEST(GridFileWriters, FailuresAreReportedAndKeepTheOldFile) {
    QTemporaryDir dir;
    TAdvGridPtr g = MakeAdvGrid(2, 2);
    g->SetCells(1, 1, "new");
    struct Case {
        const char* Name;
        std::function<void(const QString&)> Write;
    };
    TIntList widths(0, 0);
    const Case cases[] = {
        {"SaveToFile", [&](const QString& F) { g->SaveToFile(F); }},
        {"SaveToBinFile", [&](const QString& F) { g->SaveToBinFile(F); }},
        {"SaveToASCII", [&](const QString& F) { g->SaveToASCII(F); }},
        {"SaveToFixed", [&](const QString& F) { g->SaveToFixed(F, &widths); }},
        {"SaveToCSV", [&](const QString& F) { g->SaveToCSV(F); }},
        {"SaveToHTML", [&](const QString& F) { g->SaveToHTML(F); }},
        {"SaveToXML", [&](const QString& F) { g->SaveToXML(F, "l", "r", nullptr); }},
    };
    for (const Case& c : cases) {
        // A folder in place of the file: the write cannot replace it.
        const QString name = dir.filePath(QString(c.Name) + ".out");
        ASSERT_TRUE(QDir().mkpath(name));
        EXPECT_THROW(c.Write(name), Exception) << c.Name;
        EXPECT_TRUE(QFileInfo(name).isDir()) << c.Name;
        // And a sound write replaces an old file whole.
        const QString file = dir.filePath(QString(c.Name) + ".txt");
        WriteFile(file, QByteArray(5000, 'o'));
        c.Write(file);
        EXPECT_FALSE(FileBytes(file).contains("ooooo")) << c.Name;
    }
    // CSV appends need the file; the own text's CSV append keeps what it held.
    EXPECT_THROW(g->AppendToCSV(dir.filePath("missing.csv")), Exception);
    const QString csv = dir.filePath("app.csv");
    g->SaveToCSV(csv, false);
    g->AppendToCSV(csv, false);
    EXPECT_EQ(FileBytes(csv).count("new"), 2);
}

TEST(GridCsv, InsertKeepsTheFloatingFooterLast) {
    QTemporaryDir dir;
    const QString name = dir.filePath("f.csv");
    WriteFile(name, "a,b\r\nc,d\r\n");
    TAdvGridPtr g = MakeAdvGrid(2, 3);
    g->FloatingFooter()->SetVisible(true);
    g->SetCells(0, 2, "footer");
    // The footer is a fixed footer row: the file's lines take its place and it follows them.
    ASSERT_EQ(g->FixedFooters(), 1);
    g->InsertFromCSV(name);
    EXPECT_EQ(g->RowCount(), 5);
    EXPECT_EQ(g->Cells(0, 2), "a");
    EXPECT_EQ(g->Cells(0, 3), "c");
    EXPECT_EQ(g->Cells(0, 4), "footer");
}

} // namespace

// ---- Loading with the window shown ----

class GridFileLoadShown : public AdvShownGridFixture {};

// A click posted while a long file loads waits until the load is over.
TEST_F(GridFileLoadShown, PostedClickDoesNotReenterTheLoad) {
    QTemporaryDir dir;
    const QString name = dir.filePath("big.txt");
    QByteArray content = "3,3000\r\n";
    for (int r = 0; r < 3000; ++r) content += "1," + QByteArray::number(r) + ",x\r\n";
    WriteFile(name, content);
    bool loading = false, clickedWhileLoading = false, clicked = false;
    Grid->OnMouseDown = [&](TObject*, TMouseButton, TShiftState, int, int) {
        clicked = true;
        clickedWhileLoading = clickedWhileLoading || loading;
    };
    Grid->OnLoadCell = [&](TObject*, int, int ARow, String&) {
        loading = true;
        if (ARow == 10) {
            const TRect r = Grid->CellRect(1, 1);
            PostMessage(Grid->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(r.Left + 2, r.Top + 2));
            PostMessage(Grid->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(r.Left + 2, r.Top + 2));
        }
    };
    Grid->LoadFromFile(name);
    loading = false;
    EXPECT_EQ(Grid->Cells(1, 2999), "x");
    Application->ProcessMessages();
    EXPECT_FALSE(clickedWhileLoading);
    EXPECT_TRUE(clicked);
}

namespace {

TEST(GridBinStream, ProgressRunsFromTheFirstRowAndStaysInRange) {
    TAdvGridPtr g = MakeAdvGrid(3, 12);
    std::vector<int> seen;
    g->OnFileProgress = [&](TObject*, short P) { seen.push_back(P); };
    TMemoryStream ms;
    g->SaveRectToBinStream(TRect(0, 5, 1, 9), &ms);
    EXPECT_EQ(seen, (std::vector<int>{0, 25, 50, 75, 100}));
    seen.clear();
    ms.SetPosition(0);
    g->LoadAtPointFromBinStream(TPoint(0, 40), &ms);
    ASSERT_FALSE(seen.empty());
    for (int p : seen) EXPECT_TRUE(p >= 0 && p <= 100) << p;
}

TEST(GridCsv, OemTextsTravelThroughCodePage437) {
    QTemporaryDir dir;
    const QString name = dir.filePath("oem.csv");
    TAdvGridPtr g = MakeAdvGrid(2, 1);
    g->SetFixedCols(0);
    g->SetFixedRows(0);
    g->OemConvert = true;
    g->SetCells(0, 0, "Grüße");
    g->SetCells(1, 0, "x");
    g->SaveToCSV(name, false);
    // ü and ß are 0x81 and 0xE1 in code page 437.
    EXPECT_EQ(FileBytes(name), QByteArray("Gr\x81\xE1"
                                          "e,x\r\n"));
    TAdvGridPtr back = MakeAdvGrid(1, 1);
    back->OemConvert = true;
    back->LoadFromCSV(name);
    EXPECT_EQ(back->Cells(0, 0), "Grüße");
}

TEST(GridHtml, ShowOpensTheWrittenFile) {
    QTemporaryDir dir;
    QString opened;
    const TOpenDocumentHook old = SetOpenDocumentHook([&](const String& F) {
        opened = F;
        return true;
    });
    TAdvGridPtr g = MakeAdvGrid(2, 2);
    const QString name = dir.filePath("show.html");
    g->SaveToHTML(name, true);
    EXPECT_EQ(opened, name);
    opened.clear();
    g->SaveToHTML(name, false);
    EXPECT_TRUE(opened.isEmpty());
    g->HTMLSettings()->AutoPreview = true;
    g->AppendToHTML(name, false);
    EXPECT_EQ(opened, name);
    SetOpenDocumentHook(old);
}

} // namespace

namespace {

// With a hidden column the writers take the real columns of the shown ones: the last real
// column is written, the hidden one is not, and a fixed-width column is as wide as its own text.
TEST(GridFileWriters, HiddenColumnsGiveTheShownColumns) {
    QTemporaryDir dir;
    TAdvGridPtr g = MakeAdvGrid(4, 1);
    g->SetFixedCols(0);
    g->SetFixedRows(0);
    const char* texts[] = {"a", "hidden-text", "c", "last"};
    for (int c = 0; c < 4; ++c) g->SetCells(c, 0, texts[c]);
    g->HideColumn(1);
    ASSERT_EQ(g->ColCount(), 3);

    const QString own = dir.filePath("own.txt");
    g->SaveToFile(own, false);
    const QByteArray ownBytes = FileBytes(own);
    EXPECT_TRUE(ownBytes.contains("\r\n2,0,last\r\n")) << ownBytes.constData();
    EXPECT_FALSE(ownBytes.contains("hidden-text"));
    TAdvGridPtr back = MakeAdvGrid(1, 1);
    back->LoadFromFile(own);
    EXPECT_EQ(back->Cells(2, 0), "last");

    const QString fixed = dir.filePath("fixed.txt");
    TIntList widths(0, 0);
    g->SaveToFixed(fixed, &widths);
    EXPECT_EQ(widths.StrValue(), "2,2,5");
    EXPECT_EQ(FileBytes(fixed), QByteArray("a c last \r\n"));

    const QString csv = dir.filePath("c.csv");
    g->SaveToCSV(csv, false);
    EXPECT_EQ(FileBytes(csv), QByteArray("a,c,last\r\n"));
}

// With LevelToRow a first record without attributes starts one row up; a value that would land
// above the grid is passed over.
TEST(GridXml, LevelToRowSkipsRowsAboveTheGrid) {
    QTemporaryDir dir;
    const QString name = dir.filePath("l.xml");
    WriteFile(name, "<list><rec><a>1</a></rec><rec><a>2</a><b>3</b></rec></list>");
    TAdvGridPtr g = MakeAdvGrid(1, 1);
    g->LoadFromXML(name, true, false);
    EXPECT_EQ(g->Cells(0, 0), "2");
    EXPECT_EQ(g->Cells(1, 0), "3");
    EXPECT_EQ(g->RowCount(), 1);
}

} // namespace
