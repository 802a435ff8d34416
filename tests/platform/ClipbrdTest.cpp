// The clipboard object: brackets that publish several formats at once, text that starts new
// content, blocks of registered formats under their MIME types, and other programs' data.
#include "Clipbrd.h"
#include "SysUtils.h"

#include <gtest/gtest.h>

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

namespace {

class ClipboardObject : public ::testing::Test {
protected:
    void SetUp() override {
        Clipboard()->Clear();
        Cells = Word(RegisterClipboardFormat("Test Cells Format"));
        Rtf = Word(RegisterClipboardFormat("Rich Text Format"));
        Html = Word(RegisterClipboardFormat("HTML Format"));
    }
    const QMimeData* Published() const { return QGuiApplication::clipboard()->mimeData(); }
    Word Cells = 0, Rtf = 0, Html = 0;
};

TEST_F(ClipboardObject, ABracketPublishesEveryFormatOnceAtItsClose) {
    int published = 0;
    QMetaObject::Connection c =
        QObject::connect(QGuiApplication::clipboard(), &QClipboard::dataChanged, [&] { ++published; });
    Clipboard()->Open();
    Clipboard()->Open(); // brackets nest
    Clipboard()->SetAsText("text");
    EXPECT_TRUE(Clipboard()->SetAsHandle(Rtf, "{\\rtf1 x}"));
    EXPECT_TRUE(Clipboard()->SetAsHandle(Cells, QByteArray("\0\1\2", 3)));
    Clipboard()->Close();
    EXPECT_EQ(published, 0);
    EXPECT_FALSE(Published()->hasText());
    Clipboard()->Close();
    Clipboard()->Close(); // one too many does nothing
    QObject::disconnect(c);
    EXPECT_EQ(published, 1);

    const QMimeData* data = Published();
    EXPECT_EQ(data->text(), "text");
    EXPECT_EQ(data->data("text/rtf"), QByteArray("{\\rtf1 x}"));
    EXPECT_EQ(data->data("application/x-velmora-test%20cells%20format"), QByteArray("\0\1\2", 3));
    EXPECT_TRUE(Clipboard()->HasFormat(CF_TEXT));
    EXPECT_TRUE(Clipboard()->HasFormat(Cells));
    EXPECT_EQ(Clipboard()->GetAsHandle(Cells), QByteArray("\0\1\2", 3));
}

TEST_F(ClipboardObject, TextStartsNewContentABlockJoinsIt) {
    EXPECT_TRUE(Clipboard()->SetAsHandle(Cells, "cells"));
    Clipboard()->SetAsText("one");
    EXPECT_FALSE(Clipboard()->HasFormat(Cells));
    EXPECT_EQ(Clipboard()->AsText(), "one");
    // A block outside a bracket joins what the clipboard holds.
    EXPECT_TRUE(Clipboard()->SetAsHandle(Cells, "cells"));
    EXPECT_EQ(Clipboard()->AsText(), "one");
    EXPECT_EQ(Clipboard()->GetAsHandle(Cells), QByteArray("cells"));
    Clipboard()->Clear();
    EXPECT_FALSE(Clipboard()->HasFormat(CF_UNICODETEXT));
    EXPECT_FALSE(Clipboard()->HasFormat(Cells));
}

TEST_F(ClipboardObject, FormatsWithoutAMimeTypeAreRefused) {
    EXPECT_FALSE(Clipboard()->SetAsHandle(Word(0xBEEF), "x"));
    EXPECT_FALSE(Clipboard()->SetAsHandle(CF_TEXT, "x"));
    EXPECT_FALSE(Clipboard()->HasFormat(Word(0xBEEF)));
    EXPECT_TRUE(Clipboard()->GetAsHandle(Word(0xBEEF)).isEmpty());
    EXPECT_EQ(ClipboardFormatMimeType(CF_UNICODETEXT), "text/plain");
    // Names compare without case, so the type does not depend on how a name was written.
    EXPECT_EQ(ClipboardFormatMimeType(Cells),
              ClipboardFormatMimeType(RegisterClipboardFormat("TEST CELLS FORMAT")));
}

TEST_F(ClipboardObject, HtmlFormatCarriesTheDocumentForOtherPrograms) {
    const QByteArray doc = "<html><body>caf\xe9</body></html>";
    const QByteArray header =
        "Version:1.0\r\nStartHTML:00000051\r\nEndHTML:000000" + QByteArray::number(51 + doc.size()) + "\r\n";
    ASSERT_EQ(header.size(), 51);
    EXPECT_TRUE(Clipboard()->SetAsHandle(Html, header + doc));
    EXPECT_EQ(Published()->html(), QString::fromUtf8("<html><body>café</body></html>"));
    EXPECT_EQ(Clipboard()->GetAsHandle(Html), header + doc);

    // Another program's HTML reads as the document in the 8-bit code page; a broken header
    // publishes the whole block.
    auto* m = new QMimeData;
    m->setHtml(QString::fromUtf8("<p>é</p>"));
    QGuiApplication::clipboard()->setMimeData(m);
    EXPECT_TRUE(Clipboard()->HasFormat(Html));
    EXPECT_EQ(Clipboard()->GetAsHandle(Html), QByteArray("<p>\xe9</p>"));
    EXPECT_TRUE(Clipboard()->SetAsHandle(Html, "StartHTML:99999999<b>x</b>"));
    EXPECT_EQ(Published()->html(), "StartHTML:99999999<b>x</b>");
}

} // namespace
