// The markup renderer: measuring known layouts from the canvas's own text metrics, hit-testing
// anchors, pictures and embedded controls, and a few painted results checked on pixels.
#include "ImgList.h"
#include "MarkupRender.h"
#include "OSInfo.h"
#include "PictureContainer.h"
#include "PictureTestData.h"

#include <QFile>
#include <QLocale>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>

using namespace picture_test;

namespace {

constexpr Cardinal RunFlags = DT_BOTTOM | DT_SINGLELINE | DT_EXPANDTABS | DT_EXTERNALLEADING | DT_CALCRECT;

class MarkupRender : public ::testing::Test {
protected:
    void SetUp() override {
        ResetPlatformSwitches();
        Bmp = new TBitmap(400, 200);
        C = Bmp->Canvas();
        C->Font()->SetName(QStringLiteral("Arial"));
        C->Font()->SetSize(10);
        C->Font()->SetColor(clBlack);
        Clear(clWhite);
    }
    void TearDown() override {
        TObject::Free(Bmp);
        ResetPlatformSwitches();
    }

    void Clear(TColor Color) {
        C->Brush()->SetStyle(bsSolid);
        C->Brush()->SetColor(Color);
        C->FillRect(TRect(0, 0, 400, 200));
    }

    THTMLDrawResult Measure(const String& M, TRect R = TRect(0, 0, 400, 200), THTMLDrawOptions O = {}) {
        O.MeasureOnly = true;
        THTMLDrawResult res;
        EXPECT_FALSE(DrawHTML(C, M, R, O, res));
        return res;
    }
    THTMLDrawResult Paint(const String& M, TRect R = TRect(0, 0, 400, 200), THTMLDrawOptions O = {}) {
        THTMLDrawResult res;
        DrawHTML(C, M, R, O, res);
        return res;
    }
    THTMLDrawResult HitTest(const String& M, int X, int Y, THTMLDrawOptions O = {}) {
        O.HitTestOnly = true;
        O.HitX = X;
        O.HitY = Y;
        THTMLDrawResult res;
        DrawHTML(C, M, TRect(0, 0, 400, 200), O, res);
        return res;
    }

    // A text run as the renderer measures it, in the canvas font with Style.
    TSize Run(const String& Text, const TFontStyles& Style = {}) {
        const TFontStyles old = C->Font()->Style();
        C->Font()->SetStyle(Style);
        TRect r(0, 0, 10000, 10000);
        DrawText(C, Text, r, RunFlags);
        C->Font()->SetStyle(old);
        return TSize{r.Width(), r.Height()};
    }
    int GH() { return C->TextHeight(QStringLiteral("gh")); }
    int LineHeight(std::initializer_list<String> Runs) {
        int h = GH();
        for (const String& r : Runs) h = std::max(h, Run(r).cy);
        return h;
    }

    // Pixels of the bitmap in a rectangle that match a colour (RGB value).
    int Count(TColor Color, TRect R = TRect(0, 0, 400, 200)) {
        const QRgb want = ToQColor(Color).rgb();
        int n = 0;
        for (int y = R.Top; y < R.Bottom; ++y)
            for (int x = R.Left; x < R.Right; ++x)
                if ((Bmp->Image().pixel(x, y) & 0xFFFFFF) == (want & 0xFFFFFF)) ++n;
        return n;
    }
    int CountNot(TColor Color, TRect R) { return R.Width() * R.Height() - Count(Color, R); }

    TBitmap* Bmp = nullptr;
    TCanvas* C = nullptr;
};

TEST_F(MarkupRender, MeasuresRunsWithTheCanvasMetrics) {
    const TFontStyles bold{fsBold};
    struct {
        const char* Markup;
        std::vector<std::pair<String, TFontStyles>> Runs;
        const char* Stripped;
    } cases[] = {
        {"Hello world", {{"Hello ", {}}, {"world", {}}}, "Hello world"},
        {"<B>ab</B>cd", {{"ab", bold}, {"cd", {}}}, "abcd"},
        {"<b>ab</B>cd", {{"ab", bold}, {"cd", {}}}, "abcd"},
        {"a &amp; b", {{"a ", {}}, {"&& ", {}}, {"b", {}}}, "a & b"},
        {"x &lt;b&gt; y", {{"x ", {}}, {"<b> ", {}}, {"y", {}}}, "x <b> y"},
        {"<#00FF00>", {{"#00FF00", {}}}, "#00FF00"},
        {"<Q>a<X y=\"1\">b", {{"a", {}}, {"b", {}}}, "ab"},
        {"a<Z>hidden</Z>b", {{"a", {}}, {"b", {}}}, "ahiddenb"},
        {"trailing ", {{"trailing ", {}}, {" ", {}}}, "trailing "}, // the trailing blank does not count
    };
    for (const auto& c : cases) {
        const String m = QString::fromUtf8(c.Markup);
        THTMLDrawResult r = Measure(m);
        int width = 0, height = GH();
        for (size_t i = 0; i < c.Runs.size(); ++i) {
            const TSize s = Run(c.Runs[i].first, c.Runs[i].second);
            if (String(c.Markup) == "trailing " && i == 1) {
                width -= s.cx;
                continue;
            }
            width += s.cx;
            height = std::max(height, s.cy);
        }
        EXPECT_EQ(r.TextWidth, width) << c.Markup;
        EXPECT_EQ(r.TextHeight, height) << c.Markup;
        EXPECT_EQ(r.StrippedText, QString::fromUtf8(c.Stripped)) << c.Markup;
        EXPECT_EQ(r.AnchorCount, 0);
    }
    // Nothing laid out: the height of one line of the font.
    EXPECT_EQ(Measure(String()).TextHeight, GH());
    EXPECT_EQ(Measure(String()).TextWidth, 0);
}

TEST_F(MarkupRender, LineBreaks) {
    const int lh = LineHeight({QStringLiteral("one"), QStringLiteral("two")});
    for (const char* m : {"one<BR>two", "one\r\ntwo", "one<br>two"}) {
        THTMLDrawResult r = Measure(QString::fromUtf8(m));
        EXPECT_EQ(r.TextHeight, 2 * lh) << m;
        EXPECT_EQ(r.TextWidth, std::max(Run(QStringLiteral("one")).cx, Run(QStringLiteral("two")).cx)) << m;
        EXPECT_EQ(r.StrippedText, QStringLiteral("one\rtwo")) << m;
    }
    // <HR>, </P> and </LI> break lines too; <P> alone does not.
    EXPECT_EQ(Measure(QStringLiteral("one<HR>two")).TextHeight, 2 * lh);
    EXPECT_EQ(Measure(QStringLiteral("<P>one</P>two")).TextHeight, 2 * lh);
    EXPECT_EQ(Measure(QStringLiteral("<P>one<P>two")).TextHeight, lh);
}

TEST_F(MarkupRender, WordWrap) {
    const String aaa = QStringLiteral("aaa "), bbb = QStringLiteral("bbb "), ccc = QStringLiteral("ccc");
    // The line has room for "aaa bbb " and one pixel more (text starts 1 pixel inside).
    const int width = Run(aaa).cx + Run(bbb).cx + 2;
    const TRect r(0, 0, width, 200);
    THTMLDrawResult res = Measure(QStringLiteral("aaa bbb ccc"), r);
    const int lh = LineHeight({aaa, bbb, ccc});
    EXPECT_EQ(res.TextHeight, 2 * lh);
    EXPECT_EQ(res.TextWidth, std::max(Run(aaa).cx + Run(bbb).cx - Run(QStringLiteral(" ")).cx, Run(ccc).cx));
    EXPECT_EQ(res.StrippedText, QStringLiteral("aaa bbb ccc")); // a word that moves on is not repeated

    // A word split by tags stays whole on its line.
    const int w2 = Run(QStringLiteral("xx ")).cx + Run(QStringLiteral("wo"), {fsBold}).cx + 2;
    EXPECT_EQ(Measure(QStringLiteral("xx <B>wo</B>rd"), TRect(0, 0, w2, 200)).TextHeight,
              LineHeight({QStringLiteral("xx "), QStringLiteral("rd")}));
    EXPECT_GT(Measure(QStringLiteral("xx word"), TRect(0, 0, w2, 200)).TextHeight,
              LineHeight({QStringLiteral("xx ")}));

    // Painting cuts the text at the rectangle's bottom; measuring does not.
    const String many = QStringLiteral("a<BR>b<BR>c<BR>d<BR>e");
    EXPECT_EQ(Measure(many, TRect(0, 0, 100, lh * 2)).TextHeight, 5 * lh);
    EXPECT_LT(Paint(many, TRect(0, 0, 100, lh * 2)).TextHeight, 5 * lh);
}

TEST_F(MarkupRender, WithoutWordWrapAnOverflowDropsTheRest) {
    THTMLDrawOptions o;
    o.WordWrap = false;
    const String longRun = QStringLiteral("aaaaaaaaaaaa"), shortRun = QStringLiteral("bbb");
    const TRect narrow(0, 0, Run(shortRun).cx + 5, 200);
    ASSERT_GT(Run(longRun).cx, narrow.Width());
    // The first run overflows and is kept (drawn with an ellipsis); later lines stay.
    THTMLDrawResult r = Measure(longRun + QStringLiteral("<BR>ccc"), narrow, o);
    EXPECT_EQ(r.StrippedText, longRun + QStringLiteral("\rccc"));
    // A run that fits the line on its own but overflows after the first drops the rest of the
    // markup, later lines included.
    r = Measure(longRun + QStringLiteral("<B>bbb</B><BR>ccc"), narrow, o);
    EXPECT_EQ(r.StrippedText, longRun + shortRun);
    EXPECT_EQ(r.TextHeight, LineHeight({longRun}));
    // Without word wrap a line is one run up to the next tag.
    r = Measure(QStringLiteral("aaa bbb ccc"), TRect(0, 0, 400, 200), o);
    EXPECT_EQ(r.TextWidth, Run(QStringLiteral("aaa bbb ccc")).cx);
}

TEST_F(MarkupRender, ListsIndentAndDrawBullets) {
    const String m = QStringLiteral("<UL><LI>a<LI>b</UL>");
    THTMLDrawResult r = Measure(m);
    const int gh = GH();
    const int lh = LineHeight({QStringLiteral("a"), QStringLiteral("b")});
    EXPECT_EQ(r.TextHeight, gh + 2 * lh); // the first line holds only <UL>
    EXPECT_EQ(r.TextWidth, 12 + std::max(Run(QStringLiteral("a")).cx, Run(QStringLiteral("b")).cx));

    Paint(m);
    // Each bullet stands at the start of its line, its text 12 pixels to the right of it.
    for (int line = 0; line < 2; ++line) {
        const int top = gh + line * lh;
        EXPECT_GT(CountNot(clWhite, TRect(1, top, 13, top + lh)), 0) << line;
        EXPECT_GT(CountNot(clWhite, TRect(13, top, 13 + Run(QStringLiteral("a")).cx, top + lh)), 0) << line;
        EXPECT_EQ(CountNot(clWhite, TRect(30, top, 400, top + lh)), 0) << line;
    }
}

TEST_F(MarkupRender, SubAndSuperscriptsAddAQuarterOfTheirHeight) {
    const int lh = LineHeight({QStringLiteral("a")});
    const int q = Run(QStringLiteral("b")).cy / 4;
    ASSERT_GT(q, 0);
    struct {
        const char* Markup;
        int Height;
    } cases[] = {
        {"a<SUB>b</SUB>", lh + q},
        {"a<SUP>b</SUP>", lh + q},
        {"a<SUB>b</SUB><SUP>b</SUP>", lh + 2 * q},
        {"a<SUB>b<BR>a", lh + q + lh}, // both end with their line
        {"a<sub x>b", lh},             // only the exact tag counts
    };
    for (const auto& c : cases)
        EXPECT_EQ(Measure(QString::fromUtf8(c.Markup)).TextHeight, c.Height) << c.Markup;
}

TEST_F(MarkupRender, LinesAreAlignedAndIndented) {
    // The anchor's hover rectangle tells where its line was placed.
    const String a = QStringLiteral("<A HREF=\"h\">x</A>");
    const int w = Run(QStringLiteral("x")).cx, lh = LineHeight({QStringLiteral("x")});
    const int la = LineHeight({QStringLiteral("a")});
    struct {
        String Markup;
        int Left, Top;
    } cases[] = {
        {a, 1, 0},
        {QStringLiteral("<P ALIGN=\"RIGHT\">") + a, 400 - w, 0},
        {QStringLiteral("<P ALIGN=\"CENTER\">") + a, 1 + (399 - w) / 2, 0},
        {QStringLiteral("<P ALIGN=\"CENTER RIGHT\">") + a, 1 + (399 - w) / 2, 0}, // the last test wins
        {QStringLiteral("<P INDENT=\"20\">") + a, 21, 0},
        {QStringLiteral("<P ALIGN=\"RIGHT\" INDENT=\"5\">") + a, 405 - w, 0},
        {QStringLiteral("<P ALIGN=\"RIGHT\">a<BR>") + a, 400 - w, la}, // in force on later lines
        {QStringLiteral("<P INDENT=\"20\">a</P>") + a, 21, la},
        {QStringLiteral("<IND x=\"30\">") + a, 31, 0},
        {QStringLiteral("ab<IND x=\"2\">") + a, 1 + Run(QStringLiteral("ab")).cx, 0}, // not beyond the line
    };
    for (const auto& c : cases) {
        THTMLDrawResult r = HitTest(c.Markup, c.Left + w / 2, c.Top + lh - 2);
        EXPECT_TRUE(r.Hit) << c.Markup.toStdString();
        EXPECT_EQ(r.HoverRect, TRect(c.Left, c.Top, c.Left + w, c.Top + lh)) << c.Markup.toStdString();
    }
}

TEST_F(MarkupRender, FontSizes) {
    auto heightAt = [&](int Points) {
        const int old = C->Font()->Size();
        C->Font()->SetSize(Points);
        const int h = LineHeight({QStringLiteral("x")});
        C->Font()->SetSize(old);
        return h;
    };
    struct {
        const char* Markup;
        int Points;
    } cases[] = {{"<FONT SIZE=\"3\">x</FONT>", 12},
                 {"<FONT SIZE=3>x</FONT>", 12},
                 {"<FONT SIZE=3 COLOR=\"clRed\">x</FONT>", 12},
                 {"<font size=\"1\">x", 8},
                 {"<FONT SIZE=\"7\">x</FONT>", 7},
                 {"<FONT SIZE=\"24\">x</FONT>", 24}};
    // A line starts as high as the font the call began with; a larger font raises it.
    for (const auto& c : cases)
        EXPECT_EQ(Measure(QString::fromUtf8(c.Markup)).TextHeight, std::max(heightAt(10), heightAt(c.Points)))
            << c.Markup;
    EXPECT_EQ(Measure(QStringLiteral("<FONT SIZE=\"7\">x<BR>y</FONT>")).TextHeight,
              heightAt(10) + heightAt(7));
    // </FONT> returns to the size the call began with.
    EXPECT_EQ(Measure(QStringLiteral("<FONT SIZE=\"24\">x</FONT><BR>y")).TextHeight,
              heightAt(24) + heightAt(10));
}

TEST_F(MarkupRender, ColourValues) {
    struct {
        const char* Value;
        TColor Color;
    } cases[] = {{"#FF0000", 0x0000FF},
                 {"#00ff80", 0x80FF00},
                 {"clRed", clRed},
                 {"CLBLUE", clBlue},
                 {"clBtnFace", clBtnFace},
                 {"clInfoBk", clInfoBk},
                 {"unknown", clBlack},
                 {"#12", 0x12},
                 {"#GG0000", 0}};
    for (const auto& c : cases) EXPECT_EQ(HTMLColorValue(QString::fromUtf8(c.Value)), c.Color) << c.Value;
}

TEST_F(MarkupRender, PaintsColoursAndMarks) {
    const TRect line(0, 0, 400, 30);
    Paint(QStringLiteral("<FONT COLOR=\"#FF0000\">xxx</FONT>"));
    EXPECT_GT(Count(clRed, line), 0);
    EXPECT_EQ(Count(clBlack, line), 0);

    // Kept colours (a selected cell): the font colour stays.
    Clear(clWhite);
    THTMLDrawOptions keep;
    keep.KeepColors = true;
    Paint(QStringLiteral("<FONT COLOR=\"#FF0000\">xxx</FONT>"), TRect(0, 0, 400, 200), keep);
    EXPECT_EQ(Count(clRed, line), 0);
    EXPECT_GT(Count(clBlack, line), 0);

    Clear(clWhite);
    Paint(QStringLiteral("<BODY BGCOLOR=\"clYellow\">x"), TRect(10, 10, 50, 40));
    EXPECT_EQ(Count(clYellow, TRect(10, 10, 50, 40)) + Count(clBlack, TRect(10, 10, 50, 40)), 40 * 30);
    EXPECT_EQ(Count(clYellow, TRect(0, 0, 10, 10)), 0);

    Clear(clWhite);
    SetHTMLHighlightColors(clLime, clWhite);
    Paint(QStringLiteral("<HI>xx</HI>"));
    const int xx = Run(QStringLiteral("xx")).cx;
    EXPECT_GT(Count(clLime, TRect(1, 0, 1 + xx, 30)), xx * GH() / 2);
    SetHTMLHighlightColors(clHighlight, clHighlightText);

    Clear(clWhite);
    Paint(QStringLiteral("<E>wrong</E>"));
    EXPECT_GT(Count(clRed, line), 4);
    // The zigzag ends at the run's right edge, whichever the run's width.
    bool evenWidth = false;
    for (const char* word : {"i", "ii", "iii", "wrong", "word", "mm"}) {
        const String w = QString::fromUtf8(word);
        const int right = 1 + Run(w).cx;
        evenWidth = evenWidth || Run(w).cx % 2 == 0;
        Clear(clWhite);
        Paint(QStringLiteral("<E>") + w + QStringLiteral("</E>"));
        EXPECT_GT(Count(clRed, TRect(right - 2, 0, right, 40)), 0) << word;
        EXPECT_EQ(Count(clRed, TRect(right, 0, 400, 40)), 0) << word;
    }
    EXPECT_TRUE(evenWidth);

    Clear(clWhite);
    Paint(QStringLiteral("a<HR>b"), TRect(0, 0, 100, 200));
    bool fullLine = false;
    for (int y = 0; y < 40; ++y) fullLine = fullLine || Count(clBlack, TRect(1, y, 100, y + 1)) == 99;
    EXPECT_TRUE(fullLine);

    Clear(clWhite);
    THTMLDrawOptions shadow;
    shadow.ShadowColor = clGray;
    Paint(QStringLiteral("<SHAD>x</SHAD>"), TRect(0, 0, 400, 200), shadow);
    EXPECT_GT(Count(clGray, line), 0);

    // An anchor is drawn in the URL colour and underlined; without </A> the rest stays a link.
    Clear(clWhite);
    Paint(QStringLiteral("<A HREF=\"u\">link</A> after"));
    EXPECT_GT(Count(clBlue, line), 0);
    bool underline = false;
    const int lw = Run(QStringLiteral("link")).cx;
    for (int y = 0; y < 30; ++y) underline = underline || Count(clBlue, TRect(1, y, 1 + lw, y + 1)) >= lw - 1;
    EXPECT_TRUE(underline);
    const int afterX = 1 + lw + Run(QStringLiteral(" ")).cx;
    EXPECT_EQ(Count(clBlue, TRect(afterX, 0, 400, 30)), 0);
    Clear(clWhite);
    Paint(QStringLiteral("<A HREF=\"u\">link after"));
    EXPECT_GT(Count(clBlue, TRect(afterX, 0, 400, 30)), 0);
    EXPECT_EQ(Count(clBlack, line), 0);
}

TEST_F(MarkupRender, BlinkingTextHidesInItsHiddenPhase) {
    THTMLDrawOptions o;
    o.Blink = false;
    Paint(QStringLiteral("<BLINK>blink</BLINK>"), TRect(0, 0, 400, 200), o);
    EXPECT_EQ(CountNot(clWhite, TRect(0, 0, 400, 40)), 0);
    o.Blink = true;
    Paint(QStringLiteral("<BLINK>blink</BLINK>"), TRect(0, 0, 400, 200), o);
    EXPECT_GT(Count(clBlack, TRect(0, 0, 400, 40)), 0);
}

TEST_F(MarkupRender, PositionalEntryPassesEverythingThrough) {
    String anchor, stripped, focus, title, cid = QStringLiteral("c"), cv, ct;
    int xs = 0, ys = 0, links = 0, mouseLink = 0;
    TRect hover, ctrl;
    const String m =
        QStringLiteral("<A HREF=\"h\" TITLE=\"t\">ab</A> <CONTROL TYPE=\"EDIT\" ID=\"c\" VALUE=\"v\" "
                       "WIDTH=\"30\">");
    const bool hit =
        DrawHTMLText(C, m, TRect(0, 0, 400, 200), nullptr, 390, 190, 0, -1, 1, true, false, false, false,
                     true, false, true, false, 1.0, clBlue, clNone, clNone, clGray, anchor, stripped, focus,
                     title, xs, ys, links, mouseLink, hover, ctrl, cid, cv, ct, nullptr, nullptr, 0, 0);
    EXPECT_TRUE(hit);
    EXPECT_EQ(anchor, QStringLiteral("ctrl"));
    EXPECT_EQ(cid, QStringLiteral("c"));
    EXPECT_EQ(cv, QStringLiteral("v"));
    EXPECT_EQ(ct, QStringLiteral("EDIT"));
    EXPECT_EQ(ctrl.Width(), 30);
    EXPECT_EQ(focus, QStringLiteral("h"));
    EXPECT_EQ(links, 1);
    EXPECT_EQ(mouseLink, -1);
    EXPECT_EQ(xs, Run(QStringLiteral("ab ")).cx + 30);
    EXPECT_EQ(ys, std::max(23, GH() + 10));
    EXPECT_EQ(stripped, QStringLiteral("ab "));
}

TEST_F(MarkupRender, RightToLeftLocaleRunsFromTheRightEdge) {
    const QLocale saved;
    auto darkColumns = [&](int X1, int X2) { return CountNot(clWhite, TRect(X1, 0, X2, 40)); };
    const int w = Run(QStringLiteral("abc")).cx;
    THTMLDrawOptions o;
    o.BiDiMode = 1;
    Paint(QStringLiteral("abc"), TRect(0, 0, 200, 100), o); // left-to-right locale: the mode changes nothing
    EXPECT_GT(darkColumns(0, w + 2), 0);
    EXPECT_EQ(darkColumns(w + 2, 200), 0);

    QLocale::setDefault(QLocale(QLocale::Arabic, QLocale::Egypt));
    Clear(clWhite);
    Paint(QStringLiteral("abc"), TRect(0, 0, 200, 100), o);
    EXPECT_EQ(darkColumns(0, 200 - w - 2), 0);
    EXPECT_GT(darkColumns(200 - w - 2, 200), 0);
    Clear(clWhite);
    o.BiDiMode = 0;
    Paint(QStringLiteral("abc"), TRect(0, 0, 200, 100), o);
    EXPECT_EQ(darkColumns(w + 2, 200), 0);
    QLocale::setDefault(saved);
}

TEST_F(MarkupRender, LeavesTheCanvasAsItWas) {
    C->Font()->SetStyle({fsItalic});
    C->Pen()->SetColor(clMaroon);
    C->Pen()->SetWidth(3);
    C->Brush()->SetColor(clAqua);
    C->IntersectClipRect(TRect(0, 0, 300, 150));
    Paint(QStringLiteral("<B><FONT FACE=\"Courier New\" SIZE=\"20\" COLOR=\"clRed\"><U>x<R a=\"90\">y"
                         "<BODY BACKGROUND=\"none\" BGCOLOR=\"clGreen\"><P BGCOLOR=\"clRed\">z<HR>"));
    EXPECT_EQ(C->Font()->Name(), QStringLiteral("Arial"));
    EXPECT_EQ(C->Font()->Size(), 10);
    EXPECT_EQ(C->Font()->Style(), TFontStyles{fsItalic});
    EXPECT_EQ(C->Font()->Color(), clBlack);
    EXPECT_EQ(C->Font()->Orientation(), 0);
    EXPECT_EQ(C->Pen()->Color(), clMaroon);
    EXPECT_EQ(C->Pen()->Width(), 3);
    EXPECT_EQ(C->Brush()->Color(), clAqua);
    EXPECT_EQ(C->ClipRect(), TRect(0, 0, 300, 150));
    EXPECT_EQ(Count(clGreen, TRect(300, 150, 400, 200)), 0); // nothing drawn outside the clip
}

class MarkupAnchors : public MarkupRender {
protected:
    const String M =
        QStringLiteral("Go <A HREF=\"http://a\" TITLE=\"First\">one</A> and <A href=\"b\">two</A>");
    int Lh() { return LineHeight({QStringLiteral("Go "), QStringLiteral("one")}); }
    int XOne() { return 1 + Run(QStringLiteral("Go ")).cx; }
    int XTwo() {
        return XOne() + Run(QStringLiteral("one")).cx + Run(QStringLiteral(" and ")).cx -
               Run(QStringLiteral(" ")).cx + Run(QStringLiteral(" ")).cx;
    }
};

TEST_F(MarkupAnchors, HitTestFindsTheAnchorUnderThePoint) {
    const int y = Lh() - GH() / 2;
    THTMLDrawResult r = HitTest(M, XOne() + 3, y);
    EXPECT_TRUE(r.Hit);
    EXPECT_EQ(r.Anchor, QStringLiteral("http://a"));
    EXPECT_EQ(r.AnchorTitle, QStringLiteral("First"));
    EXPECT_EQ(r.HoverAnchor, 1);
    EXPECT_EQ(r.HoverRect, TRect(XOne(), 0, XOne() + Run(QStringLiteral("one")).cx, Lh()));
    EXPECT_EQ(r.AnchorCount, 2);

    r = HitTest(M, XTwo() + 2, y);
    EXPECT_TRUE(r.Hit);
    EXPECT_EQ(r.Anchor, QStringLiteral("b"));
    EXPECT_EQ(r.AnchorTitle, String());
    EXPECT_EQ(r.HoverAnchor, 2);

    struct {
        int X, Y;
    } misses[] = {{3, y}, {XOne() + 3, Lh() + 3}, {398, y}, {-5, -5}};
    for (const auto& p : misses) {
        r = HitTest(M, p.X, p.Y);
        EXPECT_FALSE(r.Hit) << p.X << "," << p.Y;
        EXPECT_EQ(r.Anchor, String()) << p.X << "," << p.Y;
        EXPECT_EQ(r.HoverAnchor, -1) << p.X << "," << p.Y;
    }

    // Painting hit-tests too; measuring never does.
    THTMLDrawOptions o;
    o.HitX = XOne() + 3;
    o.HitY = y;
    EXPECT_TRUE(Paint(M, TRect(0, 0, 400, 200), o).Hit);
    r = Measure(M, TRect(0, 0, 400, 200), o);
    EXPECT_FALSE(r.Hit);
    EXPECT_EQ(r.AnchorCount, 2);
}

TEST_F(MarkupAnchors, FocusAndHoverStyle) {
    THTMLDrawOptions o;
    o.FocusAnchor = 1;
    EXPECT_EQ(Paint(M, TRect(0, 0, 400, 200), o).FocusAnchor, QStringLiteral("b"));

    // With hover style only the hovered anchor is underlined; every anchor keeps the URL colour.
    const int lh = Lh();
    auto underlined = [&](int X, int W) {
        for (int y = 0; y < lh + 2; ++y)
            if (Count(clBlue, TRect(X, y, X + W, y + 1)) >= W - 1) return true;
        return false;
    };
    const int w1 = Run(QStringLiteral("one")).cx, w2 = Run(QStringLiteral("two")).cx;
    Clear(clWhite);
    THTMLDrawOptions hover;
    hover.HoverStyle = true;
    hover.HoverAnchor = 2;
    Paint(M, TRect(0, 0, 400, 200), hover);
    EXPECT_FALSE(underlined(XOne(), w1));
    EXPECT_TRUE(underlined(XTwo(), w2));
    EXPECT_GT(Count(clBlue, TRect(XOne(), 0, XOne() + w1, lh)), 0);
}

class MarkupPictures : public MarkupRender {
protected:
    void SetUp() override {
        MarkupRender::SetUp();
        Container = new TPictureContainer(nullptr);
        Add(QStringLiteral("Logo"), Encode(Filled(100, 40, Qt::red), "PNG"));
        Add(QStringLiteral("on"), Encode(Filled(20, 10, Qt::green), "PNG"));
        Add(QStringLiteral("off"), Encode(Filled(20, 10, Qt::red), "PNG"));
        Add(QStringLiteral("anim"), MakeGif(20, 10, {{0, 0, 20, 10, 10, 1}, {4, 2, 6, 5, 20, 2}}));
        Images = new TImageList(nullptr, 16, 16);
        for (int i = 0; i < 5; ++i) {
            TBitmap b(16, 16);
            b.Canvas()->Brush()->SetColor(i == 4 ? clBlue : clGray);
            b.Canvas()->FillRect(TRect(0, 0, 16, 16));
            Images->Add(&b, nullptr);
        }
    }
    void TearDown() override {
        TObject::Free(Container);
        TObject::Free(Images);
        MarkupRender::TearDown();
    }
    void Add(const String& Name, const QByteArray& Data) {
        TPictureItem* item = Container->Items()->Add();
        item->SetName(Name);
        item->Picture()->LoadFromData(Data);
    }
    THTMLDrawOptions Opts() {
        THTMLDrawOptions o;
        o.PictureContainer = Container;
        o.PictureCache = &Cache;
        o.Images = Images;
        return o;
    }

    TPictureContainer* Container = nullptr;
    TImageList* Images = nullptr;
    THTMLPictureCache Cache;
};

TEST_F(MarkupPictures, ContainerPicturesAreSizedAndDrawn) {
    THTMLDrawResult r =
        Measure(QStringLiteral("<IMG SRC=\"logo\" WIDTH=\"50\">"), TRect(0, 0, 400, 200), Opts());
    EXPECT_EQ(r.TextWidth, 50);
    EXPECT_EQ(r.TextHeight, std::max(20, GH()));
    Paint(QStringLiteral("<IMG SRC=\"logo\" WIDTH=\"50\">"), TRect(0, 0, 400, 200), Opts());
    EXPECT_EQ(Count(clRed, TRect(1, 0, 51, 20)), 50 * 20);
    EXPECT_EQ(Count(clRed, TRect(51, 0, 400, 200)) + Count(clRed, TRect(0, 20, 400, 200)), 0);

    EXPECT_EQ(
        Measure(QStringLiteral("<IMG SRC=\"logo\" HEIGHT=\"20\">"), TRect(0, 0, 400, 200), Opts()).TextWidth,
        50);
    EXPECT_EQ(Measure(QStringLiteral("<img src=\"Logo\">"), TRect(0, 0, 400, 200), Opts()).TextWidth, 100);
    // A picture that cannot be found takes no space.
    EXPECT_EQ(Measure(QStringLiteral("<IMG SRC=\"nothing\">x"), TRect(0, 0, 400, 200), Opts()).TextWidth,
              Run(QStringLiteral("x")).cx);
    EXPECT_EQ(Measure(QStringLiteral("<IMG SRC=\"logo\">x")).TextWidth, Run(QStringLiteral("x")).cx);
    // A picture too wide for what is left of a line moves to the next one.
    const THTMLDrawResult wrapped =
        Measure(QStringLiteral("abc<IMG SRC=\"logo\">"), TRect(0, 0, 110, 200), Opts());
    EXPECT_EQ(wrapped.TextHeight, LineHeight({QStringLiteral("abc")}) + std::max(40, GH()));
}

TEST_F(MarkupPictures, AlignedPicturesRaiseTheLinesText) {
    // A 40 pixels high picture; the anchor's text after it is hit only within its text band.
    const int gh = GH(), w = Run(QStringLiteral("x")).cx, x = 1 + 100 + w / 2;
    const int middle = (40 - gh) / 2;
    ASSERT_GT(middle, 2);
    struct {
        const char* Align;
        int TextBottom;
    } cases[] = {
        {"", 40}, {" ALIGN=\"TOP\"", gh}, {" align=\"middle\"", 40 - middle}, {" ALIGN=\"BOTTOM\"", 40}};
    for (const auto& c : cases) {
        const String m = QStringLiteral("<IMG SRC=\"Logo\"") + QString::fromUtf8(c.Align) +
                         QStringLiteral("><A HREF=\"h\">x</A>");
        for (int y = 1; y < 40; ++y) {
            const bool inBand = y >= c.TextBottom - gh && y < c.TextBottom;
            EXPECT_EQ(HitTest(m, x, y, Opts()).Hit, inBand) << c.Align << " y=" << y;
        }
    }
}

TEST_F(MarkupPictures, ImageListPictures) {
    EXPECT_EQ(Measure(QStringLiteral("<IMG SRC=\"IDX:5\">"), TRect(0, 0, 400, 200), Opts()).TextWidth, 0);
    EXPECT_EQ(Measure(QStringLiteral("<IMG SRC=\"IDX:-1\">"), TRect(0, 0, 400, 200), Opts()).TextWidth, 0);
    EXPECT_EQ(Measure(QStringLiteral("<IMG SRC=\"IDX:4\">"), TRect(0, 0, 400, 200), Opts()).TextWidth, 16);
    Paint(QStringLiteral("<IMG SRC=\"IDX:4\"><IMG SRC=\"IDX:0\">"), TRect(0, 0, 400, 200), Opts());
    EXPECT_EQ(Count(clBlue, TRect(1, 0, 17, 16)), 256);
    EXPECT_EQ(Count(clGray, TRect(17, 0, 33, 16)), 256);

    // Printing draws the picture scaled; it still takes its own size in the layout.
    Clear(clWhite);
    THTMLDrawOptions print = Opts();
    print.Printing = true;
    print.ScaleFactor = 2.0;
    EXPECT_EQ(Paint(QStringLiteral("<IMG SRC=\"IDX:4\">"), TRect(0, 0, 400, 200), print).TextWidth, 16);
    EXPECT_EQ(Count(clBlue), 32 * 32);
    EXPECT_EQ(Count(clBlue, TRect(1, 0, 33, 32)), 32 * 32);

    // The system's small and large icons.
    EXPECT_EQ(Measure(QStringLiteral("<IMG SRC=\"SSYS:3\">")).TextWidth, 16);
    EXPECT_EQ(Measure(QStringLiteral("<IMG SRC=\"LSYS:report.txt\">")).TextHeight, std::max(32, GH()));
}

TEST_F(MarkupPictures, PicturesInAnchorsAreHits) {
    THTMLDrawOptions o = Opts();
    THTMLDrawResult r = HitTest(QStringLiteral("<A HREF=\"pic\" TITLE=\"t\"><IMG SRC=\"on\"></A>"), 10, 5, o);
    EXPECT_TRUE(r.Hit);
    EXPECT_EQ(r.Anchor, QStringLiteral("pic"));
    EXPECT_EQ(r.AnchorTitle, QStringLiteral("t"));
    EXPECT_EQ(r.HoverAnchor, 1);
    r = HitTest(QStringLiteral("<IMG SRC=\"on\">"), 10, 5, o);
    EXPECT_FALSE(r.Hit);
    EXPECT_EQ(r.Anchor, String());

    // The picture under the mouse shows its ALT picture.
    const String m = QStringLiteral("<A HREF=\"x\"><IMG SRC=\"off\" ALT=\"on\"></A>");
    Paint(m, TRect(0, 0, 400, 200), o);
    EXPECT_EQ(Count(clRed, TRect(1, 0, 21, 10)), 200);
    o.HitX = 10;
    o.HitY = 5;
    Paint(m, TRect(0, 0, 400, 200), o);
    EXPECT_EQ(Count(clLime, TRect(1, 0, 21, 10)), 200);
}

TEST_F(MarkupPictures, AnimatedPictureShowsItsFrameAtItsOffset) {
    Container->FindPicture(QStringLiteral("anim"))->SetFrame(2);
    Clear(clAqua); // the brush colour on entry fills the animation's area
    THTMLDrawResult r = Paint(QStringLiteral("<IMG SRC=\"anim\">"), TRect(0, 0, 400, 200), Opts());
    EXPECT_EQ(r.TextWidth, 20);
    EXPECT_EQ(Count(clLime, TRect(1 + 4, 2, 1 + 10, 7)), 30);
    EXPECT_EQ(Count(clLime, TRect(0, 0, 400, 200)), 30);
}

TEST_F(MarkupPictures, UrlPicturesAreLoadedOnceIntoTheCache) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const String good = dir.filePath(QStringLiteral("Good.png")),
                 bad = dir.filePath(QStringLiteral("bad.png"));
    {
        QFile f(good);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(Encode(Filled(12, 6, Qt::blue), "PNG"));
        QFile g(bad);
        ASSERT_TRUE(g.open(QIODevice::WriteOnly));
        g.write("this is no picture");
    }
    const String m = QStringLiteral("<IMG SRC=\"file://") + good + QStringLiteral("\">");
    EXPECT_EQ(Measure(m, TRect(0, 0, 400, 200), Opts()).TextWidth, 12);
    Paint(m, TRect(0, 0, 400, 200), Opts());
    EXPECT_EQ(Count(clBlue, TRect(1, 0, 13, 6)), 72);
    ASSERT_EQ(Cache.Count(), 1);
    EXPECT_EQ(Cache.GetPicture(0)->ID(), (QStringLiteral("FILE://") + good).toUpper());

    const String broken = QStringLiteral("<IMG SRC=\"file://") + bad + QStringLiteral("\">x");
    for (int i = 0; i < 2; ++i)
        EXPECT_EQ(Measure(broken, TRect(0, 0, 400, 200), Opts()).TextWidth, Run(QStringLiteral("x")).cx);
    EXPECT_EQ(Cache.Count(), 2);
    EXPECT_EQ(
        Measure(QStringLiteral("<IMG SRC=\"http://example.invalid/p.png\">"), TRect(0, 0, 400, 200), Opts())
            .TextWidth,
        0);
}

TEST_F(MarkupPictures, BodyBackgroundTilesThePicture) {
    Paint(QStringLiteral("<BODY BACKGROUND=\"on\">"), TRect(5, 5, 50, 30), Opts());
    EXPECT_EQ(Count(clLime, TRect(5, 5, 50, 30)), 45 * 25);
    EXPECT_EQ(Count(clLime), 45 * 25);
}

class MarkupEmbeddedControls : public MarkupRender {};

TEST_F(MarkupEmbeddedControls, SizesAndLineHeights) {
    struct {
        const char* Markup;
        int Width;
        std::function<int(int)> Height; // of "gh"
    } cases[] = {
        {"<CONTROL TYPE=\"CHECK\" ID=\"c1\" VALUE=\"true\" WIDTH=\"20\">", 16, [](int) { return 16; }},
        {"<CONTROL TYPE=\"RADIO\" ID=\"r\" VALUE=\"false\" WIDTH=\"30\">", 16, [](int) { return 16; }},
        {"<CONTROL TYPE=\"BUTTON\" ID=\"b\" VALUE=\"Go\" WIDTH=\"60\" HEIGHT=\"40\">", 60,
         [](int) { return 38; }},
        {"<CONTROL TYPE=\"BUTTON\" ID=\"b\" VALUE=\"Go\" WIDTH=\"60\">", 60, [](int) { return 25; }},
        {"<CONTROL TYPE=\"EDIT\" ID=\"e\" VALUE=\"v\" WIDTH=\"80\">", 80,
         [](int gh) { return std::max(23, gh + 10); }},
        {"<CONTROL TYPE=\"OTHER\" ID=\"o\" WIDTH=\"40\">", 40, [](int gh) { return std::max(23, gh + 10); }},
        {"<CONTROL TYPE=\"EDIT\" ID=\"e\">", 0, [](int gh) { return gh; }},
        {"<CONTROL TYPE=\"EDIT\" ID=\"e\" WIDTH=\"wide\">", 0, [](int gh) { return gh; }},
    };
    for (const auto& c : cases) {
        THTMLDrawResult r = Measure(QString::fromUtf8(c.Markup));
        EXPECT_EQ(r.TextWidth, c.Width) << c.Markup;
        EXPECT_EQ(r.TextHeight, c.Height(GH())) << c.Markup;
    }
}

TEST_F(MarkupEmbeddedControls, HitTestReportsControls) {
    const String m = QStringLiteral("Pick <CONTROL TYPE=\"CHECK\" ID=\"c1\" VALUE=\"true\" WIDTH=\"20\"> and "
                                    "<CONTROL TYPE=\"EDIT\" ID=\"e1\" VALUE=\"text\" WIDTH=\"80\">"
                                    "<CONTROL TYPE=\"EDIT\" ID=\"nowidth\">");
    // By ID, wherever the point is.
    THTMLDrawOptions o;
    o.ControlID = QStringLiteral("c1");
    THTMLDrawResult r = HitTest(m, 399, 199, o);
    EXPECT_TRUE(r.Hit);
    EXPECT_EQ(r.Anchor, QStringLiteral("ctrl"));
    EXPECT_EQ(r.ControlID, QStringLiteral("c1"));
    EXPECT_EQ(r.ControlValue, QStringLiteral("true"));
    EXPECT_EQ(r.ControlType, QStringLiteral("CHECK"));
    const int x = 1 + Run(QStringLiteral("Pick ")).cx;
    EXPECT_EQ(r.ControlRect, TRect(x, 0, x + 16, 16));

    o.ControlID = QStringLiteral("nowidth");
    r = HitTest(m, 399, 199, o);
    EXPECT_FALSE(r.Hit);
    EXPECT_EQ(r.Anchor, String());

    // By position, when painting as well.
    const int ex = x + 16 + Run(QStringLiteral(" and ")).cx;
    THTMLDrawOptions p;
    p.HitX = ex + 10;
    p.HitY = 8;
    r = Paint(m, TRect(0, 0, 400, 200), p);
    EXPECT_TRUE(r.Hit);
    EXPECT_EQ(r.ControlID, QStringLiteral("e1"));
    EXPECT_EQ(r.ControlType, QStringLiteral("EDIT"));
    EXPECT_EQ(r.ControlValue, QStringLiteral("text"));
    EXPECT_EQ(r.ControlRect.Left, ex);
    EXPECT_EQ(r.ControlRect.Width(), 80);
}

TEST_F(MarkupEmbeddedControls, PaintsClassicAndThemedLooks) {
    const String checked = QStringLiteral("<CONTROL TYPE=\"CHECK\" ID=\"c\" VALUE=\"TRUE\" WIDTH=\"20\">");
    const String unchecked = QStringLiteral("<CONTROL TYPE=\"CHECK\" ID=\"c\" VALUE=\"FALSE\" WIDTH=\"20\">");
    auto picture = [&](const String& m) {
        Clear(clWhite);
        Paint(m);
        return Bmp->Image().copy(0, 0, 20, 20);
    };
    for (bool themed : {false, true}) {
        PlatformSwitches().VisualStylesActive = themed;
        const QImage on = picture(checked), off = picture(unchecked);
        EXPECT_NE(on, off) << themed;
        EXPECT_NE(off, Filled(20, 20, Qt::white).convertToFormat(off.format())) << themed;
    }

    // An edit box: frame, white inside, its value.
    PlatformSwitches().VisualStylesActive = false;
    Clear(clSilver);
    Paint(QStringLiteral("<CONTROL TYPE=\"EDIT\" ID=\"e\" VALUE=\"abc\" WIDTH=\"60\">"));
    EXPECT_GT(Count(clGray, TRect(1, 0, 61, 40)), 60);
    EXPECT_GT(Count(clWhite, TRect(1, 0, 61, 40)), 0);
    EXPECT_GT(Count(clBlack, TRect(1, 0, 61, 40)), 0);
}

TEST_F(MarkupRender, MalformedMarkupNeverFails) {
    const char* cases[] = {
        "<B",
        "<",
        "<a",
        "abc<",
        "</",
        "</B",
        "<>",
        "<<<>>>",
        "&",
        "&am;p &amp &",
        "&amp;amp;amp;",
        "<FONT SIZE=\"999999999\">x",
        "<FONT SIZE=\"-5\">x",
        "<FONT SIZE=>x",
        "<FONT FACE=\"\">x",
        "<UL><UL><UL><UL><LI>x<LI><LI></UL></UL></UL></UL></UL>",
        "</UL></UL><LI>x",
        "<IND x=\"99999999999\">x",
        "<IND x=\"abc\">x",
        "<R a=\"x\">y</R></R>",
        "<R a=\"720\">y",
        "<P INDENT=\"-99999\" ALIGN=\"RIGHT\">x",
        "<P ALIGN=\"CENTER\">x<P ALIGN=\"RIGHT\">y",
        "<IMG SRC=\"IDX:-1\">",
        "<IMG SRC=\"IDX:\">",
        "<IMG SRC=\"SSYS:\">",
        "<IMG SRC=\"LSYS:3\">",
        "<IMG SRC=\"file:///nonexistent/x.png\">",
        "<IMG SRC=\"RES://\">",
        "<IMG SRC=\"res://NO_SUCH\">",
        "<IMG WIDTH=\"99999999\" HEIGHT=\"-3\" SRC=\"logo\">",
        "<IMG HEIGHT=\"99999\" SRC=\"logo\">",
        "<BODY BACKGROUND=\"nothing\">",
        "<BODY BGCOLOR=\"#\">",
        "<CONTROL WIDTH=\"abc\">",
        "<CONTROL WIDTH=\"-5\" TYPE=\"BUTTON\">",
        "<CONTROL TYPE=\"BUTTON\" WIDTH=\"99999999\" HEIGHT=\"99999999\">",
        "<A HREF=\"x\"><A HREF=\"y\">z",
        "</A></A>x",
        "<SUB>a<SUP>b</SU>c",
        "<Z>hidden",
        "\t\ttabs\t",
        "<#",
        "<#<#>>",
        "a\r\r\n\nb",
        "<HI><HI></HI></HI>",
        "<BLINK>b</BLINK></BODY>",
    };
    THTMLPictureCache cache;
    TPictureContainer container(nullptr);
    TPictureItem* logo = container.Items()->Add();
    logo->SetName(QStringLiteral("logo"));
    logo->Picture()->LoadFromData(Encode(Filled(10, 10, Qt::red), "PNG"));
    for (const char* c : cases) {
        const String m = QString::fromUtf8(c);
        for (int mode = 0; mode < 3; ++mode) {
            THTMLDrawOptions o;
            o.PictureCache = &cache;
            o.PictureContainer = &container;
            o.HitX = 5;
            o.HitY = 5;
            o.MeasureOnly = mode == 0;
            o.HitTestOnly = mode == 2;
            o.WordWrap = mode != 1;
            o.Blink = mode != 1;
            THTMLDrawResult r;
            DrawHTML(C, m, TRect(0, 0, 120, 60), o, r);
            EXPECT_GE(r.TextHeight, 0) << c;
            EXPECT_GE(r.TextWidth, 0) << c;
        }
    }
    EXPECT_EQ(C->Font()->Size(), 10);
}

} // namespace
