// The text routines on cell markup: references, control tags, plain text and highlighting.
#include "MarkupText.h"

#include <gtest/gtest.h>

namespace {

struct TCase {
    const char16_t* In;
    const char16_t* Out;
};

String S(const char16_t* s) {
    return String::fromUtf16(s);
}

TEST(MarkupText, DecodeEntities) {
    const TCase plain[] = {
        {u"&amp;lt;", u"&lt;"}, // one level only
        {u"&amp;quot;", u"\""}, // the quote step runs after the ampersand step
        {u"a &lt;b&gt; c", u"a <b> c"},
        {u"&eacute;&copy;", u"&eacute;&copy;"}, // special characters need the flag
        {u"no refs", u"no refs"},
    };
    for (const auto& c : plain)
        EXPECT_EQ(DecodeHTMLEntities(S(c.In), false), S(c.Out)) << S(c.In).toStdString();

    const TCase special[] = {
        {u"caf&eacute; &Eacute;t&eacute;", u"caf\u00E9 \u00C9t\u00E9"},
        {u"&copy; &reg; &euro; &laquo;x&raquo;", u"\u00A9 \u00AE \u20AC \u00ABx\u00BB"},
        {u"&atilde; &EACUTE;", u"&atilde; &EACUTE;"}, // not in the table / case matters
    };
    for (const auto& c : special)
        EXPECT_EQ(DecodeHTMLEntities(S(c.In), true), S(c.Out)) << S(c.In).toStdString();
}

TEST(MarkupText, EncodeEntities) {
    const TCase plain[] = {
        {u"a<b", u"a&lt;b"},
        {u"\"x\" & y > z", u"&quot;x&quot; &amp; y &gt; z"},
        {u"*amp; stays a reference", u"&amp; stays a reference"},
        {u"\u00E9", u"\u00E9"},
    };
    for (const auto& c : plain)
        EXPECT_EQ(EncodeHTMLEntities(S(c.In), false), S(c.Out)) << S(c.In).toStdString();
    EXPECT_EQ(EncodeHTMLEntities(S(u"\u00E9\u00E3\u00C5\u20AC"), true), S(u"&eacute;\u00E3&Aring;&euro;"));

    // Whatever is encoded decodes back to itself.
    for (const char16_t* t : {u"<a href=\"x\">&amp;</a>", u"\u00E9t\u00E9 & \u00AB\u00BB", u"plain"})
        EXPECT_EQ(DecodeHTMLEntities(EncodeHTMLEntities(S(t), true), true), S(t));
}

TEST(MarkupText, SimpleRoutines) {
    EXPECT_EQ(SpacesToNbsp(QStringLiteral("a b  c")), QStringLiteral("a&nbsp;b&nbsp;&nbsp;c"));
    EXPECT_TRUE(HasHTMLControl(QStringLiteral("x <control type=\"EDIT\">")));
    EXPECT_FALSE(HasHTMLControl(QStringLiteral("<B>CONTROL</B>")));

    const TCase toText[] = {
        {u"a<b>b</b><br>c", u"ab\r\nc"},
        {u"x <y", u"x <y"},
        {u"one<HR>two<Br>three", u"one\r\ntwo\r\nthree"},
        {u"a &amp; b", u"a &amp; b"}, // references stay
        {u"<<b>x", u"x"},
    };
    for (const auto& c : toText) EXPECT_EQ(HTMLToText(S(c.In)), S(c.Out)) << S(c.In).toStdString();

    struct {
        const char* Text;
        int Value;
        bool Ok;
    } ints[] = {
        {"12", 12, true},  {"  -3px", -3, true}, {"$1F", 31, true}, {"0x1f", 31, true},
        {"abc", 0, false}, {"", 0, false},       {"+7", 7, true},   {"99999999999", 2147483647, true}};
    for (const auto& c : ints) {
        bool ok = !c.Ok;
        EXPECT_EQ(MarkupLeadingInt(QString::fromLatin1(c.Text), &ok), c.Value) << c.Text;
        EXPECT_EQ(ok, c.Ok) << c.Text;
    }
}

class MarkupControlTags : public ::testing::Test {
protected:
    String Markup = QStringLiteral(
        "Name: <CONTROL TYPE=\"EDIT\" ID=\"e1\" VALUE=\"a &amp; b\" WIDTH=\"80\" MAXLEN=\"10\">"
        " <control type=\"check\" id=\"c1\" value=\"TRUE\" width=\"20\">"
        " <CONTROL TYPE=\"COMBO\" ID=\"cb\" VALUE=\"x\" WIDTH=\"60\" PROP=\"p&quot;q\" HEIGHT=\"30\">"
        "<CONTROL TYPE=\"RADIO\" ID=\"r1\" VALUE=\"TRUE\" WIDTH=\"20\">"
        "<CONTROL TYPE=\"RADIO\" ID=\"r2\" VALUE=\"TRUE\" WIDTH=\"20\"> end");
};

TEST_F(MarkupControlTags, ReadsAttributes) {
    String v;
    ASSERT_TRUE(GetHTMLControlValue(Markup, QStringLiteral("e1"), v));
    EXPECT_EQ(v, QStringLiteral("a & b"));
    ASSERT_TRUE(GetHTMLControlValue(Markup, QStringLiteral("c1"), v));
    EXPECT_EQ(v, QStringLiteral("TRUE"));
    EXPECT_FALSE(GetHTMLControlValue(Markup, QStringLiteral("E1"), v)); // IDs compare exactly

    EXPECT_EQ(GetHTMLControlProp(Markup, QStringLiteral("cb")), QStringLiteral("p\"q"));
    EXPECT_EQ(GetHTMLControlProp(Markup, QStringLiteral("e1")), String());
    EXPECT_EQ(GetHTMLControlMaxLen(Markup, QStringLiteral("e1")), 10);
    EXPECT_EQ(GetHTMLControlMaxLen(Markup, QStringLiteral("cb")), 0);
    EXPECT_EQ(GetHTMLControlMaxLen(Markup, QStringLiteral("none")), 0);

    THTMLControlTag t = ParseHTMLControlTag(QStringLiteral("<control type=\"check\" id=\"c1\">"));
    EXPECT_EQ(t.Type, QStringLiteral("CHECK"));
    EXPECT_FALSE(t.HasWidth);
}

TEST_F(MarkupControlTags, NextEditControlSkipsButtonsChecksAndRadios) {
    EXPECT_EQ(NextHTMLEditControl(Markup, String()), QStringLiteral("e1"));
    EXPECT_EQ(NextHTMLEditControl(Markup, QStringLiteral("e1")), QStringLiteral("cb"));
    EXPECT_EQ(NextHTMLEditControl(Markup, QStringLiteral("cb")), String());
    EXPECT_EQ(NextHTMLEditControl(Markup, QStringLiteral("missing")), String());
}

TEST_F(MarkupControlTags, SetValueRewritesOnlyThatTag) {
    String m = Markup;
    ASSERT_TRUE(SetHTMLControlValue(m, QStringLiteral("cb"), QStringLiteral("x<y \"z\"")));
    String v;
    ASSERT_TRUE(GetHTMLControlValue(m, QStringLiteral("cb"), v));
    EXPECT_EQ(v, QStringLiteral("x<y \"z\""));
    EXPECT_TRUE(m.contains(QStringLiteral("VALUE=\"x&lt;y &quot;z&quot;\"")));
    // What the old tag held stays: width, type, property, height; the text around is untouched.
    THTMLControlTag t = ParseHTMLControlTag(m.mid(m.indexOf(QStringLiteral("<CONTROL ID=\"cb\""))));
    EXPECT_EQ(t.Width, QStringLiteral("60"));
    EXPECT_EQ(t.Type, QStringLiteral("COMBO"));
    EXPECT_EQ(t.Prop, QStringLiteral("p\"q"));
    EXPECT_EQ(t.Height, QStringLiteral("30"));
    EXPECT_FALSE(t.HasMaxLen);
    EXPECT_TRUE(m.startsWith(QStringLiteral("Name: <CONTROL TYPE=\"EDIT\" ID=\"e1\"")));
    EXPECT_TRUE(m.endsWith(QStringLiteral("> end")));

    String unchanged = Markup;
    EXPECT_FALSE(SetHTMLControlValue(unchanged, QStringLiteral("nope"), QStringLiteral("v")));
    EXPECT_EQ(unchanged, Markup);
}

TEST_F(MarkupControlTags, ClearRadiosLeavesOtherControls) {
    const String m = ClearHTMLRadioControls(Markup);
    String v;
    for (const char* id : {"r1", "r2"}) {
        ASSERT_TRUE(GetHTMLControlValue(m, QString::fromLatin1(id), v));
        EXPECT_EQ(v, QStringLiteral("FALSE")) << id;
    }
    ASSERT_TRUE(GetHTMLControlValue(m, QStringLiteral("c1"), v));
    EXPECT_EQ(v, QStringLiteral("TRUE"));
}

TEST(MarkupText, AttributeNamesInsideValuesAreNotAttributes) {
    // "ID=" inside a value, and names that end in "ID", do not count as the ID attribute.
    const String m = QStringLiteral(
        "<CONTROL TYPE=\"EDIT\" VALUE=\"PAID=&quot;5&quot;\" GRID=\"g\" ID=\"x\" WIDTH=\"5\">");
    String v;
    ASSERT_TRUE(GetHTMLControlValue(m, QStringLiteral("x"), v));
    EXPECT_EQ(v, QStringLiteral("PAID=\"5\""));
    // A tag without its closing ">" is read to the end of the text.
    ASSERT_TRUE(GetHTMLControlValue(QStringLiteral("<CONTROL ID=\"u\" VALUE=\"v\" WIDTH=\"3\""),
                                    QStringLiteral("u"), v));
    EXPECT_EQ(v, QStringLiteral("v"));
}

TEST(MarkupText, HighlightAndUnhighlight) {
    struct {
        const char16_t* Markup;
        const char16_t* Text;
        bool DoCase;
        const char16_t* Out;
    } cases[] = {
        {u"aaa", u"a", true, u"<hi>a</hi><hi>a</hi><hi>a</hi>"},
        {u"<B>ab</B>c", u"bc", true, u"<B>a<hi>b</B>c</hi>"},
        {u"Hello World", u"world", false, u"Hello <hi>World</hi>"},
        {u"Hello World", u"world", true, u"Hello World"},
        {u"<B>abc</B>", u"a", true, u"<hi><B>a</hi>bc</B>"},
        {u"a > b", u"b", true, u"a &gt; <hi>b</hi>"}, // stray brackets: plain text
        {u"x", u"", true, u"x"},
        {u"", u"x", true, u""},
    };
    const String tag = QStringLiteral("hi");
    for (const auto& c : cases) {
        EXPECT_EQ(HighlightInHTML(S(c.Markup), S(c.Text), tag, c.DoCase), S(c.Out))
            << S(c.Markup).toStdString();
    }
    for (const char16_t* m : {u"<B>ab</B>c", u"aaa", u"<FONT COLOR=\"clRed\">red</FONT> and more"}) {
        const String h = HighlightInHTML(S(m), QStringLiteral("a"), tag, false);
        EXPECT_EQ(UnhighlightInHTML(h, QStringLiteral("HI")), S(m));
    }
    EXPECT_EQ(UnhighlightInHTML(QStringLiteral("<HI>x</hi> &lt;&gt;"), tag), QStringLiteral("x <>"));
}

} // namespace
