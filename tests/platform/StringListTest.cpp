#include "Classes.h"
#include "SysUtils.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

QStringList Items(const TStrings& s) {
    return s.ToStringList();
}

// Counts the change events of a list.
struct ChangeCounter {
    int changing = 0, changed = 0;
    explicit ChangeCounter(TStringList& l) {
        l.OnChanging = [this](TObject*) { ++changing; };
        l.OnChange = [this](TObject*) { ++changed; };
    }
};

// An object that tells when it is freed.
struct TTracked : TObject {
    int* freed;
    explicit TTracked(int* f) : freed(f) {}
    ~TTracked() override { ++*freed; }
};

QByteArray ReadFile(const String& name) {
    QFile f(name);
    EXPECT_TRUE(f.open(QIODevice::ReadOnly));
    return f.readAll();
}

void WriteFile(const String& name, const QByteArray& bytes) {
    QFile f(name);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

} // namespace

TEST(CommaText, JoinQuotesWhatNeedsIt) {
    TStringList l;
    l.AddStrings(QStringList{"a", "b c", "d,e", "f\"g", "", " lead", "tab\there"});
    EXPECT_EQ(l.CommaText(), "a,\"b c\",\"d,e\",\"f\"\"g\",,\" lead\",\"tab\there\"");
    TStringList back;
    back.SetCommaText(l.CommaText());
    EXPECT_TRUE(back.Equals(&l));

    TStringList one;
    one.Add("");
    EXPECT_EQ(one.CommaText(), "\"\"") << "a single empty string is two quotes";
    back.SetCommaText("\"\"");
    EXPECT_EQ(Items(back), QStringList{""});
    TStringList none;
    EXPECT_EQ(none.CommaText(), "");
}

TEST(CommaText, SplitRules) {
    struct Case {
        const char* text;
        bool strict;
        QStringList items;
    };
    const Case cases[] = {
        {"a b", false, {"a", "b"}},
        {"  a  ,  b  ", false, {"a", "b"}},
        {"a,,b", false, {"a", "", "b"}},
        {"a,", false, {"a", ""}},
        {",a", false, {"", "a"}},
        {"", false, {}},
        {"\"a b\",c", false, {"a b", "c"}},
        {"\"a\"\"b\"", false, {"a\"b"}},
        {"\"a\"b", false, {"a", "b"}},
        {"\"open", false, {"open"}},
        {"a b,c", true, {"a b", "c"}},
        {" a , b ", true, {" a ", " b "}},
        {"a,", true, {"a", ""}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        TStringList l;
        l.Add("old");
        l.SetStrictDelimiter(c.strict);
        l.SetCommaText(c.text);
        EXPECT_EQ(Items(l), c.items);
    }
}

TEST(DelimitedText, OwnDelimiterAndQuote) {
    TStringList l;
    l.SetDelimiter(u';');
    l.SetQuoteChar(u'\'');
    l.SetDelimitedText("a;'b;c';'it''s'");
    EXPECT_EQ(Items(l), (QStringList{"a", "b;c", "it's"}));
    EXPECT_EQ(l.DelimitedText(), "a;'b;c';'it''s'");
    EXPECT_EQ(l.CommaText(), "a,b;c,it's") << "comma text always uses , and \"";
    EXPECT_EQ(l.Delimiter(), u';');
}

TEST(StringsText, LinesAndNameValuePairs) {
    TStringList l;
    l.SetText("a\r\nb\nc\rd\r\n\r\n");
    EXPECT_EQ(Items(l), (QStringList{"a", "b", "c", "d", ""}));
    EXPECT_EQ(l.Text(), "a\r\nb\r\nc\r\nd\r\n\r\n");
    l.SetText("");
    EXPECT_EQ(l.Count(), 0);

    l.SetText("Key=val\nnovalue\nx=1=2");
    EXPECT_EQ(l.Values("KEY"), "val");
    EXPECT_EQ(l.Values("x"), "1=2");
    EXPECT_EQ(l.Names(1), "");
    EXPECT_EQ(l.ValueFromIndex(1), "") << "a line without separator has no value";
    EXPECT_EQ(l.IndexOfName("X"), 2);
    l.SetValues("k2", "v");
    EXPECT_EQ(l.Strings(3), "k2=v");
    l.SetValues("key", "");
    EXPECT_EQ(l.IndexOfName("key"), -1);
    l.SetValues("x", "3");
    EXPECT_EQ(l.Strings(1), "x=3");
}

TEST(StringList, IndexErrorsNameTheIndex) {
    TStringList l;
    l.Add("a");
    try {
        l.Strings(5);
        FAIL();
    } catch (const EListError& e) {
        EXPECT_EQ(e.Message(), "List index out of bounds (5)");
    }
    EXPECT_THROW(l.Delete(-1), EListError);
    EXPECT_THROW(l.Insert(2, "x"), EListError);
    EXPECT_NO_THROW(l.Insert(1, "x"));
}

TEST(StringList, SortedListsKeepOrderAndRefuseInsertion) {
    TStringList l;
    l.SetSorted(true);
    for (const char* s : {"b", "a", "C", "d"}) l.Add(s);
    EXPECT_EQ(Items(l), (QStringList{"a", "b", "C", "d"})) << "without regard to case";
    int i = -1;
    EXPECT_TRUE(l.Find("c", i));
    EXPECT_EQ(i, 2);
    EXPECT_FALSE(l.Find("bb", i));
    EXPECT_EQ(i, 2);
    EXPECT_EQ(l.IndexOf("D"), 3);
    try {
        l.Insert(0, "x");
        FAIL();
    } catch (const EListError& e) {
        EXPECT_EQ(e.Message(), "Operation not allowed on sorted list");
    }
    EXPECT_THROW(l.SetStrings(0, "z"), EListError);
    EXPECT_THROW(l.Exchange(0, 1), EListError);
    EXPECT_THROW(l.Move(0, 1), EListError);
    l.SetSorted(false);
    l.Insert(0, "x");
    EXPECT_EQ(l.Strings(0), "x");
}

TEST(StringList, Duplicates) {
    TStringList l;
    l.SetSorted(true);
    l.Add("a");
    EXPECT_EQ(l.Add("A"), 0) << "dupIgnore answers the existing index";
    EXPECT_EQ(l.Count(), 1);
    l.SetDuplicates(dupError);
    try {
        l.Add("a");
        FAIL();
    } catch (const EListError& e) {
        EXPECT_EQ(e.Message(), "String list does not allow duplicates");
    }
    l.SetDuplicates(dupAccept);
    l.Add("A");
    EXPECT_EQ(l.Count(), 2);
    // Duplicates only apply to sorted lists.
    TStringList u;
    u.SetDuplicates(dupError);
    u.Add("a");
    EXPECT_NO_THROW(u.Add("a"));
}

TEST(StringList, CaseSensitivity) {
    TStringList l;
    l.AddStrings(QStringList{"b", "A", "a", "B"});
    EXPECT_EQ(l.IndexOf("B"), 0);
    l.SetCaseSensitive(true);
    EXPECT_EQ(l.IndexOf("B"), 3);
    l.SetSorted(true);
    EXPECT_EQ(Items(l), (QStringList{"a", "A", "b", "B"})) << "lower case before upper case";
    l.SetDuplicates(dupError);
    EXPECT_THROW(l.Add("a"), EListError);
    l.SetCaseSensitive(false);
    EXPECT_EQ(l.IndexOf("b"), 2);
}

TEST(StringList, SortIsStableAndCustomSortSeesTheOriginalList) {
    TStringList l;
    l.AddStrings(QStringList{"bb", "a", "ccc", "B", "dd", "A"});
    l.Sort();
    EXPECT_EQ(Items(l), (QStringList{"a", "A", "B", "bb", "ccc", "dd"})) << "equal strings keep their order";
    l.CustomSort(
        [](TStringList* s, int a, int b) { return int(s->Strings(a).size() - s->Strings(b).size()); });
    EXPECT_EQ(Items(l), (QStringList{"a", "A", "B", "bb", "dd", "ccc"}));
    // A compare function that answers nonsense cannot break the list.
    l.CustomSort([](TStringList*, int, int) { return 1; });
    EXPECT_EQ(l.Count(), 6);
}

TEST(StringList, ChangeEventsOncePerChange) {
    TStringList l;
    ChangeCounter c(l);
    l.Add("a");
    EXPECT_EQ(c.changing, 1);
    EXPECT_EQ(c.changed, 1);

    l.BeginUpdate();
    l.Add("b");
    l.Add("c");
    l.Delete(0);
    EXPECT_EQ(c.changed, 1) << "nothing fires inside the update";
    l.EndUpdate();
    EXPECT_EQ(c.changing, 2);
    EXPECT_EQ(c.changed, 2);

    l.BeginUpdate();
    l.EndUpdate();
    EXPECT_EQ(c.changed, 2) << "an update without changes fires nothing";

    struct Step {
        const char* what;
        std::function<void()> run;
        int changes;
    };
    TStringList other;
    other.Add("z");
    const Step steps[] = {
        {"SetText", [&] { l.SetText("x\ny\nz"); }, 1},
        {"Sort", [&] { l.Sort(); }, 1},
        {"Sorted", [&] { l.SetSorted(true); }, 1},
        {"Sorted again", [&] { l.SetSorted(true); }, 0},
        {"Unsorted", [&] { l.SetSorted(false); }, 0},
        {"Assign", [&] { l.Assign(&other); }, 1},
        {"CommaText", [&] { l.SetCommaText("1,2"); }, 1},
        {"Exchange", [&] { l.Exchange(0, 1); }, 1},
        {"Clear", [&] { l.Clear(); }, 1},
        {"Clear empty", [&] { l.Clear(); }, 0},
    };
    for (const Step& s : steps) {
        const int before = c.changed;
        s.run();
        EXPECT_EQ(c.changed - before, s.changes) << s.what;
    }
}

TEST(StringList, OwnsObjects) {
    int freed = 0;
    {
        TStringList l(true);
        l.AddObject("a", new TTracked(&freed));
        l.AddObject("b", new TTracked(&freed));
        l.AddObject("c", new TTracked(&freed));
        l.Move(0, 2);
        EXPECT_EQ(freed, 0) << "moving keeps the object";
        EXPECT_EQ(l.Strings(2), "a");
        l.Delete(0);
        EXPECT_EQ(freed, 1);
    }
    EXPECT_EQ(freed, 3);
    TStringList notOwning;
    TTracked keep(&freed);
    notOwning.AddObject("k", &keep);
    notOwning.Clear();
    EXPECT_EQ(freed, 3);
}

TEST(StringList, AssignEqualsAndObjects) {
    TObject o1, o2;
    TStringList a;
    a.AddObject("x", &o1);
    a.AddObject("y", &o2);
    a.SetDelimiter(u';');
    TStringList b;
    b.Add("old");
    b.Assign(&a);
    EXPECT_TRUE(b.Equals(&a));
    EXPECT_EQ(b.Objects(1), &o2);
    EXPECT_EQ(b.IndexOfObject(&o1), 0);
    EXPECT_EQ(b.Delimiter(), u';');
    b.Assign(&b);
    EXPECT_EQ(b.Count(), 2) << "assigning a list to itself keeps it";
    b.AddStrings(&b);
    EXPECT_EQ(Items(b), (QStringList{"x", "y", "x", "y"}));
    b.SetStrings(0, "X");
    EXPECT_FALSE(b.Equals(&a));
    TComponent c(nullptr);
    EXPECT_THROW(b.Assign(&c), EConvertError);
}

class StringFiles : public ::testing::Test {
protected:
    QTemporaryDir tmp;
    String Path(const char* name) const { return tmp.path() + "/" + name; }
};

TEST_F(StringFiles, LoadPicksTheEncodingFromTheByteOrderMark) {
    struct Case {
        const char* what;
        QByteArray bytes;
    };
    const String expected = QStringLiteral("\u20ACuro\u00E4");
    const Case cases[] = {
        {"UTF-8", QByteArray("\xEF\xBB\xBF\xE2\x82\xAC"
                             "uro\xC3\xA4\r\nb\nc")},
        {"UTF-16 LE", QByteArray("\xFF\xFE\xAC\x20u\0r\0o\0\xE4\0\r\0\n\0b\0\n\0c\0", 22)},
        {"UTF-16 BE", QByteArray("\xFE\xFF\x20\xAC\0u\0r\0o\0\xE4\0\r\0\n\0b\0\n\0c", 22)},
        {"Windows-1252", QByteArray("\x80uro\xE4\r\nb\rc")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        WriteFile(Path("in.txt"), c.bytes);
        TStringList l;
        l.LoadFromFile(Path("in.txt"));
        EXPECT_EQ(Items(l), (QStringList{expected, "b", "c"}));
    }
    // An explicit encoding reads the bytes as that encoding.
    WriteFile(Path("in.txt"), QByteArray("\xC3\xA4"));
    TStringList l;
    l.LoadFromFile(Path("in.txt"), TEncoding::UTF8);
    EXPECT_EQ(Items(l), QStringList{QStringLiteral("\u00E4")});
}

TEST_F(StringFiles, SaveInEachEncodingAndReadBack) {
    TStringList l;
    l.AddStrings(QStringList{QStringLiteral("\u20AC1"), "b"});
    l.SaveToFile(Path("ansi.txt"));
    EXPECT_EQ(ReadFile(Path("ansi.txt")), QByteArray("\x80"
                                                     "1\r\nb\r\n"));
    l.SaveToFile(Path("utf8.txt"), TEncoding::UTF8);
    EXPECT_EQ(ReadFile(Path("utf8.txt")), QByteArray("\xEF\xBB\xBF\xE2\x82\xAC"
                                                     "1\r\nb\r\n"));
    l.SaveToFile(Path("utf16.txt"), TEncoding::Unicode);
    EXPECT_EQ(ReadFile(Path("utf16.txt")), QByteArray("\xFF\xFE\xAC\x20"
                                                      "1\0\r\0\n\0b\0\r\0\n\0",
                                                      16));
    for (const char* name : {"ansi.txt", "utf8.txt", "utf16.txt"}) {
        TStringList back;
        back.LoadFromFile(Path(name));
        EXPECT_TRUE(back.Equals(&l)) << name;
    }
    // Characters the code page lacks become "?".
    l.SetText(QStringLiteral("\u03A9"));
    l.SaveToFile(Path("ansi.txt"));
    EXPECT_EQ(ReadFile(Path("ansi.txt")), QByteArray("?\r\n"));
}

TEST_F(StringFiles, FailuresNameTheFileAndKeepTheList) {
    TStringList l;
    l.Add("keep");
    try {
        l.LoadFromFile(Path("missing.txt"));
        FAIL();
    } catch (const EFOpenError& e) {
        EXPECT_TRUE(
            e.Message().startsWith(QStringLiteral("Cannot open file \"%1\". ").arg(Path("missing.txt"))))
            << e.what();
    }
    EXPECT_EQ(Items(l), QStringList{"keep"});
    try {
        l.SaveToFile(Path("no/such/dir/out.txt"));
        FAIL();
    } catch (const EFCreateError& e) {
        EXPECT_TRUE(e.Message().startsWith("Cannot create file \"")) << e.what();
    }
}

TEST_F(StringFiles, StreamsReadFromTheirPosition) {
    TMemoryStream m;
    m.WriteBuffer("skip", 4);
    m.WriteBuffer("x\r\ny", 4);
    m.SetPosition(4);
    TStringList l;
    l.LoadFromStream(&m);
    EXPECT_EQ(Items(l), (QStringList{"x", "y"}));
    TMemoryStream out;
    l.SaveToStream(&out);
    EXPECT_EQ(out.Bytes(), QByteArray("x\r\ny\r\n"));
}
