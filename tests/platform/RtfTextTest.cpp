// RTF text in and out of a rich-text document: round trips of every format the writer knows,
// text as other programs write it, and damaged text.
#include "RtfText.h"

#include <gtest/gtest.h>

#include <QFont>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

namespace {

QFont Default() {
    QFont f(QStringLiteral("DejaVu Sans"));
    f.setPointSizeF(10);
    return f;
}

// One run of text with the format this test compares.
struct TRun {
    QString Text;
    QString Family;
    double Size = 0;
    bool Bold = false, Italic = false, Underline = false, Strike = false;
    QColor Fore, Back;
    int Offset = 0;
    int VAlign = 0;
    bool operator==(const TRun&) const = default;
};

std::ostream& operator<<(std::ostream& os, const TRun& R) {
    return os << '"' << R.Text.toStdString() << "\" " << R.Family.toStdString() << ' ' << R.Size
              << (R.Bold ? " b" : "") << (R.Italic ? " i" : "") << (R.Underline ? " u" : "")
              << (R.Strike ? " s" : "") << " fore " << R.Fore.name().toStdString() << " back "
              << R.Back.name().toStdString() << " offset " << R.Offset << " valign " << R.VAlign;
}

TRun RunOf(const QTextFragment& F) {
    const QTextCharFormat f = F.charFormat();
    TRun r;
    r.Text = F.text();
    r.Family = f.fontFamilies().toStringList().value(0);
    r.Size = f.fontPointSize();
    r.Bold = f.fontWeight() >= QFont::DemiBold;
    r.Italic = f.fontItalic();
    r.Underline = f.fontUnderline();
    r.Strike = f.fontStrikeOut();
    if (f.hasProperty(QTextFormat::ForegroundBrush)) r.Fore = f.foreground().color();
    if (f.hasProperty(QTextFormat::BackgroundBrush)) r.Back = f.background().color();
    r.Offset = f.intProperty(RtfOffsetProperty);
    r.VAlign = f.verticalAlignment() == QTextCharFormat::AlignSuperScript ? 1
               : f.verticalAlignment() == QTextCharFormat::AlignSubScript ? -1
                                                                          : 0;
    return r;
}

// The runs of each paragraph.
std::vector<std::vector<TRun>> Runs(const QTextDocument& Doc) {
    std::vector<std::vector<TRun>> out;
    for (QTextBlock b = Doc.begin(); b.isValid(); b = b.next()) {
        out.emplace_back();
        for (auto it = b.begin(); !it.atEnd(); ++it) out.back().push_back(RunOf(it.fragment()));
    }
    return out;
}

void Insert(QTextCursor& C, const TRun& R) {
    QTextCharFormat f;
    f.setFontFamilies(QStringList{R.Family});
    f.setFontPointSize(R.Size);
    f.setFontWeight(R.Bold ? QFont::Bold : QFont::Normal);
    f.setFontItalic(R.Italic);
    f.setFontUnderline(R.Underline);
    f.setFontStrikeOut(R.Strike);
    if (R.Fore.isValid()) f.setForeground(R.Fore);
    if (R.Back.isValid()) f.setBackground(R.Back);
    if (R.Offset) f.setProperty(RtfOffsetProperty, R.Offset);
    const int v = R.Offset ? (R.Offset > 0 ? 1 : -1) : R.VAlign;
    if (v > 0) f.setVerticalAlignment(QTextCharFormat::AlignSuperScript);
    if (v < 0) f.setVerticalAlignment(QTextCharFormat::AlignSubScript);
    C.insertText(R.Text, f);
}

TRun Plain(const QString& Text, double Size = 10, const QString& Family = QStringLiteral("DejaVu Sans")) {
    TRun r;
    r.Text = Text;
    r.Family = Family;
    r.Size = Size;
    return r;
}

} // namespace

TEST(RtfText, EveryFormatRoundTrips) {
    TRun bold = Plain("bold "), italic = Plain("italic "), under = Plain("under "), strike = Plain("strike ");
    bold.Bold = true;
    italic.Italic = true;
    under.Underline = true;
    strike.Strike = true;
    TRun red = Plain("red on yellow", 14, QStringLiteral("Liberation Serif"));
    red.Fore = QColor(255, 0, 0);
    red.Back = QColor(255, 255, 0);
    TRun up = Plain("up"), down = Plain("down"), sup = Plain("sup"), sub = Plain("sub");
    up.Offset = 40;
    down.Offset = -40;
    sup.VAlign = 1;
    sub.VAlign = -1;
    const std::vector<std::vector<TRun>> doc = {
        {bold, italic, under, strike},
        {red},
        {Plain(QString::fromUtf8("Tab\there\u2028next line \\ { } \u00e9\u20ac\u4e2d\U0001F600 \u00a0end"))},
        {},
        {up, Plain(" "), down, Plain(" "), sup, Plain(" "), sub},
    };
    const Qt::Alignment aligns[] = {Qt::AlignLeft, Qt::AlignHCenter, Qt::AlignRight, Qt::AlignLeft,
                                    Qt::AlignJustify};

    QTextDocument src;
    src.setDefaultFont(Default());
    QTextCursor c(&src);
    for (size_t i = 0; i < doc.size(); ++i) {
        if (i) c.insertBlock();
        QTextBlockFormat bf;
        bf.setAlignment(aligns[i]);
        c.setBlockFormat(bf);
        for (const TRun& r : doc[i]) Insert(c, r);
    }

    const QByteArray rtf = WriteRtf(src);
    for (char ch : rtf) ASSERT_TRUE(uchar(ch) < 0x80) << "the text is 7-bit";
    QTextDocument back;
    ASSERT_TRUE(ReadRtf(rtf, back, Default()));
    EXPECT_EQ(back.toPlainText(), src.toPlainText());
    EXPECT_EQ(Runs(back), Runs(src)) << rtf.toStdString();
    int i = 0;
    for (QTextBlock b = back.begin(); b.isValid(); b = b.next(), ++i)
        EXPECT_EQ(b.blockFormat().alignment() & Qt::AlignHorizontal_Mask, aligns[i]) << "paragraph " << i;
    EXPECT_EQ(i, 5);
}

TEST(RtfText, ReadsWhatAnotherEditorWrites) {
    const QByteArray rtf =
        "{\\rtf1\\ansi\\ansicpg1252\\deff0\\nouicompat\\deflang1033{\\fonttbl{\\f0\\fnil\\fcharset0 "
        "Calibri;}{\\f1\\fswiss\\fprq2\\fcharset0 Arial;}}\r\n"
        "{\\colortbl ;\\red255\\green0\\blue0;\\red0\\green77\\blue187;}\r\n"
        "{\\*\\generator Riched20 10.0.19041}\\viewkind4\\uc1 \r\n"
        "\\pard\\sa200\\sl276\\slmult1\\f0\\fs22\\lang9 Hello \\b bold\\b0  \\cf1 red\\cf0\\par\r\n"
        "\\pard\\qc\\f1\\fs28 Centered \\u8364? and \\'e9 {\\i it{\\pict\\wmetafile8 0100ff}alic}"
        " {\\field{\\*\\fldinst HYPERLINK \"x\"}{\\fldrslt link}}\\par\r\n}\r\n";
    QTextDocument doc;
    ASSERT_TRUE(ReadRtf(rtf, doc, Default()));
    EXPECT_EQ(doc.toPlainText().toStdString(), "Hello bold red\nCentered \u20ac and \u00e9 italic link");
    const auto runs = Runs(doc);
    ASSERT_EQ(runs.size(), 2u);
    ASSERT_EQ(runs[0].size(), 4u);
    EXPECT_EQ(runs[0][0].Family, "Calibri");
    EXPECT_EQ(runs[0][0].Size, 11);
    EXPECT_TRUE(runs[0][1].Bold);
    EXPECT_EQ(runs[0][1].Text, "bold");
    EXPECT_EQ(runs[0][3].Text, "red");
    EXPECT_EQ(runs[0][3].Fore, QColor(255, 0, 0));
    EXPECT_EQ(doc.lastBlock().blockFormat().alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
    EXPECT_EQ(runs[1][0].Family, "Arial");
    EXPECT_EQ(runs[1][0].Size, 14);
    bool italic = false;
    for (const TRun& r : runs[1])
        if (r.Text == "italic") italic = r.Italic;
    EXPECT_TRUE(italic) << "the picture inside the italic group is left out";
}

TEST(RtfText, DamagedTextIsReadAsFarAsItGoes) {
    static const char controls[] = "{\\rtf1 a\0b\x01"
                                   "c\x7f"
                                   "d\\'00e}";
    const struct {
        const char* Name;
        QByteArray Rtf;
        QString Plain;
    } cases[] = {
        {"no closing brace", "{\\rtf1 abc", "abc"},
        {"text after the end", "{\\rtf1 abc}}} more", "abc"},
        {"cut in a hex character", "{\\rtf1 a\\'4", "a"},
        {"bad hex digits", "{\\rtf1 a\\'zzb}", "ab"},
        {"unicode without a number", "{\\rtf1 a\\u b}", "ab"},
        {"unknown control words", "{\\rtf1 \\madeup12 a\\other-3 b}", "ab"},
        {"unknown destination", "{\\rtf1 a{\\*\\secret hidden}b}", "ab"},
        {"cut after a backslash", "{\\rtf1 a\\", "a"},
        {"negative and huge numbers", "{\\rtf1\\fs-5\\cf99999999999 a\\u-4064?}",
         QString::fromUtf8("a\uf020")},
        {"empty", "{\\rtf1}", ""},
        {"binary data holding braces", "{\\rtf1 a\\bin5 {}}\\\\b}", "ab"},
        {"binary data running past the end", "{\\rtf1 a\\bin999 xyz", "a"},
        {"negative binary length", "{\\rtf1 a\\bin-4 b}", "ab"},
        {"huge raise and lowering", "{\\rtf1 \\up99999999999 x\\dn2147483647 y\\up-5 z}", "xyz"},
        {"huge fallback count", "{\\rtf1\\uc99999 \\u8364 abc}", QString::fromUtf8("\u20ac")},
        {"control characters", QByteArray(controls, sizeof(controls) - 1), "abcde"},
        {"the document's own structure characters", "{\\rtf1 a\\u-560?b\\u-1?c}", "abc"},
    };
    for (const auto& c : cases) {
        QTextDocument doc;
        ASSERT_TRUE(ReadRtf(c.Rtf, doc, Default())) << c.Name;
        EXPECT_EQ(doc.toPlainText().toStdString(), c.Plain.toStdString()) << c.Name;
    }

    // Deep nesting costs no stack.
    QByteArray deep = "{\\rtf1 ";
    deep += QByteArray(100000, '{') + "x" + QByteArray(100000, '}') + "}";
    QTextDocument doc;
    ASSERT_TRUE(ReadRtf(deep, doc, Default()));
    EXPECT_EQ(doc.toPlainText(), "x");
}

TEST(RtfText, OutOfRangeValuesAreHeldToWhatAnEditShows) {
    // A font size and an offset beyond any edit's are held at 1638 points.
    QTextDocument doc;
    ASSERT_TRUE(ReadRtf("{\\rtf1\\fs99999999 big\\up99999 up}", doc, Default()));
    const auto runs = Runs(doc);
    ASSERT_EQ(runs.size(), 1u);
    ASSERT_EQ(runs[0].size(), 2u);
    EXPECT_EQ(runs[0][0].Size, 1638);
    EXPECT_EQ(runs[0][1].Offset, 32760);
}

TEST(RtfText, FontNamesWithASemicolonRoundTrip) {
    const QByteArray rtf = "{\\rtf1{\\fonttbl{\\f0 Semi\\'3bcolon;}}\\f0 odd}";
    QTextDocument doc;
    ASSERT_TRUE(ReadRtf(rtf, doc, Default()));
    ASSERT_EQ(Runs(doc)[0][0].Family, "Semi;colon");
    QTextDocument back;
    ASSERT_TRUE(ReadRtf(WriteRtf(doc), back, Default()));
    EXPECT_EQ(Runs(back), Runs(doc));
}

TEST(RtfText, TextThatIsNoRtfLeavesTheDocument) {
    QTextDocument doc;
    doc.setPlainText(QStringLiteral("kept"));
    for (const char* text : {"", "plain text", "{\\rt", "{rtf1 x}"}) {
        EXPECT_FALSE(IsRtfText(text)) << text;
        EXPECT_FALSE(ReadRtf(text, doc, Default())) << text;
        EXPECT_EQ(doc.toPlainText(), "kept");
    }
    EXPECT_TRUE(IsRtfText(" \r\n{\\rtf1}"));
}
