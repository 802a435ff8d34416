// The XML document component: what the project files rely on.
#include "XmlDoc.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

TEST(XmlDoc, FirstNodeIsTheFirstElementWhateverPrecedesIt) {
    const QByteArray inputs[] = {
        "<Par_Gen><A>1</A></Par_Gen><!--SW_VERSION = 1.000-->",
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<Par_Gen><A>1</A></Par_Gen>",
        "<!-- comment first --><?pi x?><!DOCTYPE Par_Gen><Par_Gen><!-- inside --><A>1</A></Par_Gen>",
        "\xEF\xBB\xBF<Par_Gen>\n  <A>1</A>\n</Par_Gen>\n",
    };
    for (const QByteArray& in : inputs) {
        TXMLDocument doc(nullptr);
        doc.LoadFromXML(in);
        TXMLNode root = doc.DocumentElement();
        ASSERT_TRUE(root) << in.constData();
        EXPECT_EQ(root.NodeName(), "Par_Gen");
        // Comments and blank text are not children.
        EXPECT_EQ(root.ChildCount(), 1) << in.constData();
        EXPECT_EQ(root.FindNode("A").Text(), "1");
    }
}

TEST(XmlDoc, WritesRootCommentAndAttributesInOrderWithoutDeclaration) {
    TXMLDocument doc(nullptr);
    doc.SetActive(true);
    doc.Clear();
    TXMLNode root = doc.AddChild("Root");
    doc.AppendComment("SW_VERSION = 1.000");
    TXMLNode item = root.AddChild("Item");
    item.SetAttribute("Zeta", "1");
    item.SetAttribute("Alpha", "a&b<c>\"d\" 'e'");
    item.SetAttribute("Multi", "line1\r\nline2\tend");
    root.AddChild("Key").SetText("text & more");
    const QByteArray out = doc.SaveToXML();
    EXPECT_TRUE(out.startsWith("<Root>")) << out.constData();
    EXPECT_TRUE(out.trimmed().endsWith("<!--SW_VERSION = 1.000-->")) << out.constData();
    EXPECT_LT(out.indexOf("Zeta"), out.indexOf("Alpha"));

    TXMLDocument back(nullptr);
    back.LoadFromXML(out);
    TXMLNode i = back.FindNode("Root").FindNode("Item");
    EXPECT_EQ(i.Attribute("Alpha"), "a&b<c>\"d\" 'e'");
    EXPECT_EQ(i.Attribute("Multi"), "line1\r\nline2\tend");
    EXPECT_EQ(back.DocumentElement().FindNode("Key").Text(), "text & more");
    EXPECT_FALSE(i.HasAttribute("Missing"));
    EXPECT_TRUE(i.Attribute("Missing").isEmpty());
    EXPECT_THROW(i.RequiredAttribute("Missing"), EConvertError);
}

TEST(XmlDoc, ParseAndWriteFailuresRaiseAndKeepTheOldFile) {
    QTemporaryDir dir;
    TXMLDocument doc(nullptr);
    EXPECT_THROW(doc.LoadFromXML("<a><b></a>"), EXMLDocError);
    EXPECT_FALSE(doc.DocumentElement());
    EXPECT_THROW(doc.LoadFromXML(""), EXMLDocError);
    EXPECT_THROW(doc.LoadFromFile(dir.path() + "/missing.xml"), EXMLDocError);

    const QString file = dir.path() + "/kept.xml";
    doc.Clear();
    doc.AddChild("First");
    doc.SaveToFile(file);
    doc.Clear();
    doc.AddChild("Second");
    // A folder in place of the file: the save fails and the folder and its neighbours stay.
    EXPECT_THROW(doc.SaveToFile(dir.path() + "/no/such/folder/x.xml"), EXMLDocError);
    TXMLDocument back(nullptr);
    back.LoadFromFile(file);
    EXPECT_EQ(back.DocumentElement().NodeName(), "First");
    // Paths with "\" separators are accepted.
    doc.SaveToFile(QString(file).replace('/', '\\'));
    back.LoadFromFile(file);
    EXPECT_EQ(back.DocumentElement().NodeName(), "Second");
}
