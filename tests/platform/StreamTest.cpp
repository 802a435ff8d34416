#include "Classes.h"
#include "SysUtils.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

QByteArray ReadAllOf(TStream& s) {
    s.SetPosition(0);
    return s.ReadAll();
}

} // namespace

TEST(MemoryStream, ReadWriteSeekAndGrow) {
    TMemoryStream m;
    EXPECT_EQ(m.Size(), 0);
    m.WriteBuffer("hello", 5);
    EXPECT_EQ(m.Position(), 5);
    EXPECT_EQ(m.Seek(-3, soFromEnd), 2);
    char buf[8] = {};
    EXPECT_EQ(m.Read(buf, 8), 3);
    EXPECT_STREQ(buf, "llo");
    EXPECT_EQ(m.Read(buf, 8), 0) << "nothing after the end";

    // Writing past the end fills the gap with zeros.
    m.Seek(Int64(8), soBeginning);
    m.WriteBuffer("!", 1);
    EXPECT_EQ(m.Bytes(), QByteArray("hello\0\0\0!", 9));

    m.SetSize(3);
    EXPECT_EQ(m.Position(), 3) << "the position follows a shrinking size";
    EXPECT_EQ(m.Bytes(), QByteArray("hel"));
    m.SetSize(5);
    EXPECT_EQ(m.Bytes(), QByteArray("hel\0\0", 5));

    m.SetPosition(-4);
    EXPECT_EQ(m.Read(buf, 1), 0) << "a position before the start reads nothing";
    EXPECT_EQ(m.Write("x", 1), 0);
    EXPECT_THROW(m.Seek(Int64(0), Word(7)), EStreamError);

    m.Clear();
    EXPECT_EQ(m.Size(), 0);
    EXPECT_EQ(m.Position(), 0);
}

TEST(MemoryStream, BufferErrors) {
    TMemoryStream m;
    m.WriteBuffer("ab", 2);
    m.SetPosition(0);
    char buf[4];
    try {
        m.ReadBuffer(buf, 3);
        FAIL();
    } catch (const EReadError& e) {
        EXPECT_EQ(e.Message(), "Stream read error");
    }
    EXPECT_NO_THROW(m.ReadBuffer(buf, 0));
}

TEST(Stream, CopyFrom) {
    TMemoryStream src;
    src.WriteBuffer("0123456789", 10);
    src.SetPosition(4);

    TMemoryStream dst;
    EXPECT_EQ(dst.CopyFrom(&src, 3), 3) << "from the source's position";
    EXPECT_EQ(dst.Bytes(), QByteArray("456"));
    EXPECT_EQ(dst.CopyFrom(&src, 0), 10) << "0: the whole source from its start";
    EXPECT_EQ(dst.Bytes(), QByteArray("4560123456789"));
    src.SetPosition(8);
    EXPECT_THROW(dst.CopyFrom(&src, 5), EReadError);
}

TEST(StringStream, HoldsEncodedText) {
    TStringStream ansi(QStringLiteral("\u20AC1"));
    EXPECT_EQ(ansi.Bytes(), QByteArray("\x80"
                                       "1"));
    EXPECT_EQ(ansi.DataString(), QStringLiteral("\u20AC1"));
    ansi.Seek(Int64(0), soEnd);
    ansi.WriteString("23");
    EXPECT_EQ(ansi.DataString(), QStringLiteral("\u20AC"
                                                "123"));
    ansi.SetPosition(1);
    EXPECT_EQ(ansi.ReadString(2), "12");

    TStringStream utf8(QStringLiteral("\u00E4"), TEncoding::UTF8);
    EXPECT_EQ(utf8.Size(), 2);
    EXPECT_EQ(utf8.DataString(), QStringLiteral("\u00E4"));
}

class FileStreams : public ::testing::Test {
protected:
    QTemporaryDir tmp;
    String Path(const char* name) const { return tmp.path() + "/" + name; }
};

TEST_F(FileStreams, CreateWriteReopenAndModes) {
    const String name = Path("data.bin");
    {
        TFileStream f(name, fmCreate | fmShareExclusive);
        f.WriteBuffer("abcdef", 6);
        EXPECT_EQ(f.Size(), 6);
        f.SetSize(4);
        EXPECT_EQ(f.Position(), 4);
    }
    {
        TFileStream f(name, fmOpenRead | fmShareDenyNone);
        EXPECT_EQ(ReadAllOf(f), QByteArray("abcd"));
        EXPECT_THROW(f.WriteBuffer("x", 1), EWriteError) << "read-only";
    }
    {
        // Opening for writing keeps the content.
        TFileStream f(String(name).replace(u'/', u'\\'), fmOpenWrite);
        f.Seek(Int64(1), soBeginning);
        f.WriteBuffer("X", 1);
    }
    {
        TFileStream f(name, fmOpenReadWrite);
        EXPECT_EQ(ReadAllOf(f), QByteArray("aXcd"));
        f.Seek(Int64(0), soEnd);
        f.WriteBuffer("e", 1);
    }
    TMemoryStream m;
    m.LoadFromFile(name);
    EXPECT_EQ(m.Bytes(), QByteArray("aXcde"));
    EXPECT_EQ(m.Position(), 0);
    m.SaveToFile(Path("copy.bin"));
    QFile copy(Path("copy.bin"));
    ASSERT_TRUE(copy.open(QIODevice::ReadOnly));
    EXPECT_EQ(copy.readAll(), QByteArray("aXcde"));
}

TEST_F(FileStreams, FailuresRaiseWithFileAndReason) {
    try {
        TFileStream f(Path("missing.bin"), fmOpenRead);
        FAIL();
    } catch (const EFOpenError& e) {
        EXPECT_EQ(
            e.Message(),
            QStringLiteral("Cannot open file \"%1\". %2").arg(Path("missing.bin"), SysErrorMessage(ENOENT)));
    }
    EXPECT_FALSE(FileExists(Path("missing.bin"))) << "opening for writing must not create the file";
    EXPECT_THROW(TFileStream(Path("missing.bin"), fmOpenWrite), EFOpenError);
    EXPECT_FALSE(FileExists(Path("missing.bin")));
    try {
        TFileStream f(Path("no/dir/x.bin"), fmCreate);
        FAIL();
    } catch (const EFCreateError& e) {
        EXPECT_TRUE(
            e.Message().startsWith(QStringLiteral("Cannot create file \"%1\". ").arg(Path("no/dir/x.bin"))));
    }
    EXPECT_THROW(TFileStream(tmp.path(), fmOpenRead), EFOpenError) << "a folder is no file";
    EXPECT_THROW(TFileStream("", fmOpenRead), EFOpenError);
    // EFOpenError and EFCreateError are stream errors.
    EXPECT_THROW(TFileStream(Path("missing.bin"), fmOpenRead), EStreamError);
}
