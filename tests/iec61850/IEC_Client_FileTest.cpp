// The client mapping file: exact names, round trips, missing attributes and lists.
#include "UIEC_Client_File.h"
#include "XmlDoc.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

namespace {

TIEC_Item Full(const QStringList& names, const QString& tag) {
    TIEC_Item it;
    for (const QString& n : names) it.Set(n, tag + n);
    return it;
}

TIEC_Client_Mapping Sample() {
    TIEC_Client_Mapping m;
    m.ICD_Files.push_back(Full(IEC_ICD_File_Attrs, "f"));
    TIEC_Item v = Full(IEC_DA_Item_Attrs, "v1");
    v.Set("Mnemonic", "a & b < c \"quoted\" 'x'\nline");
    v.Set("IPAddress", "");
    m.Variables.push_back(v);
    TIEC_Item old = Full(IEC_DA_Item_Attrs, "v2");
    old.Remove("StartByte"); // written by an editor that did not know the byte range yet
    old.Remove("NumByte");
    m.Variables.push_back(old);
    TIEC_DataSet_Entry e;
    e.Attrs = Full(IEC_DataSet_Item_Attrs, "d");
    e.Members.push_back(Full(IEC_DataSet_DA_Item_Attrs, "m1"));
    TIEC_Item sparse;
    sparse.Set("bType", "FLOAT32");
    e.Members.push_back(sparse);
    m.DataSets.push_back(e);
    m.DataSets.push_back(TIEC_DataSet_Entry{Full(IEC_DataSet_Item_Attrs, "e"), true, {}});
    return m;
}

} // namespace

TEST(IEC_Client_File, NamesAreTheFormats) {
    EXPECT_EQ(IEC_Client_Root, "IEC_68850_Client");
    EXPECT_EQ(IEC_DA_Item_Attrs.size(), 18);
    EXPECT_EQ(IEC_DA_Item_Attrs.at(15), "Convertion");
    EXPECT_EQ(IEC_DA_Item_Attrs.at(16), "MoltFact");
    EXPECT_EQ(IEC_DataSet_Item_Attrs.size(), 8);
    EXPECT_EQ(IEC_DataSet_DA_Item_Attrs.size(), 7);
}

TEST(IEC_Client_File, RoundTripsAttributeForAttribute) {
    QTemporaryDir dir;
    const QString file = dir.path() + "/IEC_61850_Client.xml";
    const TIEC_Client_Mapping m = Sample();
    TXMLDocument doc(nullptr);
    Save_IEC_Client_Mapping(doc, m, file);

    TXMLDocument in(nullptr);
    const TIEC_Client_Mapping back = Load_IEC_Client_Mapping(in, file);
    EXPECT_TRUE(back == m);
    EXPECT_FALSE(back.Variables[1].Has("StartByte"));
    EXPECT_TRUE(back.Variables[0].Has("IPAddress"));
    EXPECT_EQ(back.Variables[0].Value("Mnemonic"), "a & b < c \"quoted\" 'x'\nline");
    EXPECT_EQ(back.DataSets[0].Members[1].Count(), 1);

    // On disk: the root first, the comment after it, attributes in the format's order.
    QFile f(file);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray text = f.readAll();
    EXPECT_TRUE(text.startsWith("<IEC_68850_Client>")) << text.constData();
    EXPECT_TRUE(text.trimmed().endsWith("<!--SW_VERSION = 1.000-->"));
    const int item = text.indexOf("<DA_Item");
    int last = item;
    for (const QString& a : IEC_DA_Item_Attrs) {
        const int at = text.indexOf(" " + a.toUtf8() + "=", item);
        EXPECT_GT(at, last) << a.toStdString();
        last = at;
    }
}

TEST(IEC_Client_File, EmptyMappingWritesTheThreeLists) {
    TXMLDocument doc(nullptr);
    Write_IEC_Client_Mapping(doc, TIEC_Client_Mapping());
    TXMLNode root = doc.DocumentElement();
    EXPECT_EQ(root.NodeName(), "IEC_68850_Client");
    ASSERT_EQ(root.ChildCount(), 3);
    EXPECT_EQ(root.FirstChild().NodeName(), "List_ICD_Files");
    EXPECT_EQ(root.FirstChild().NextSibling().NodeName(), "List_DA_Selected");
    EXPECT_EQ(root.FirstChild().NextSibling().NextSibling().NodeName(), "List_DataSet_Selected");
    EXPECT_EQ(root.FindNode("List_DA_Selected").ChildCount(), 0);
}

TEST(IEC_Client_File, ReadersFindListsByNameAndTakeChildrenWhateverTheirNames) {
    struct Case {
        const char* xml;
        bool ok;
        size_t vars, sets;
        bool hasSetList;
    };
    const Case cases[] = {
        {"<IEC_68850_Client><List_DA_Selected><X bType=\"a\"/><DA_Item/></List_DA_Selected>"
         "<List_ICD_Files/></IEC_68850_Client>",
         true, 2, 0, false},
        {"<!--c--><IEC_68850_Client><List_ICD_Files/><List_DA_Selected/><List_DataSet_Selected>"
         "<DataSet_Item><DataSet_List_DAs><Y/></DataSet_List_DAs></DataSet_Item></List_DataSet_Selected></"
         "IEC_68850_Client>",
         true, 0, 1, true},
        {"<Other><IEC_68850_Client/></Other>", false, 0, 0, false},
        {"<IEC_68850_Client><List_DA_Selected/></IEC_68850_Client>", false, 0, 0, false},
        {"<IEC_68850_Client><List_ICD_Files/></IEC_68850_Client>", false, 0, 0, false},
        {"<IEC_68850_Client><List_ICD_Files/><List_DA_Selected/><List_DataSet_Selected><DataSet_Item/>"
         "</List_DataSet_Selected></IEC_68850_Client>",
         false, 0, 0, false},
    };
    for (const Case& c : cases) {
        TXMLDocument doc(nullptr);
        doc.LoadFromXML(c.xml);
        if (!c.ok) {
            EXPECT_THROW(Read_IEC_Client_Mapping(doc), EConvertError) << c.xml;
            continue;
        }
        TIEC_Client_Mapping m = Read_IEC_Client_Mapping(doc);
        EXPECT_EQ(m.Variables.size(), c.vars) << c.xml;
        EXPECT_EQ(m.DataSets.size(), c.sets) << c.xml;
        EXPECT_EQ(m.Has_DataSet_List, c.hasSetList) << c.xml;
    }
}

TEST(IEC_Client_File, RequiredAttributeNamesWhatIsMissing) {
    TIEC_Item it;
    it.Set("Port", "");
    EXPECT_EQ(it.Required("DA_Item", "Port"), "");
    try {
        it.Required("DA_Item", "Time");
        FAIL();
    } catch (const EConvertError& e) {
        EXPECT_TRUE(e.Message().contains("Time"));
        EXPECT_TRUE(e.Message().contains("DA_Item"));
    }
}
