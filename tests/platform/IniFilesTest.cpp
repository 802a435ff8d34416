// The INI file in memory and the registry store: what is read comes back as written, the rest
// of a file stays as it was, a file that cannot be read is never written over.
#include "IniFiles.h"
#include "Registry.h"
#include "TestSupport.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

QByteArray ReadBytes(const QString& Name) {
    QFile f(Name);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace

TEST(IniFiles, MemIniFileKeepsWhatItDoesNotChange) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString name = dir.filePath(QStringLiteral("a.ini"));
    {
        QFile f(name);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("; comment\r\n[One]\r\nA=1\r\n; inside\r\nB= spaced \r\n\r\n[Two]\r\nC=$10\r\n");
    }
    TMemIniFile ini(name);
    // Names without regard to case; values as they stand; the system integer syntax.
    EXPECT_EQ(ini.ReadString("one", "b", "-"), QStringLiteral(" spaced "));
    EXPECT_EQ(ini.ReadInteger("TWO", "c", 0), 16);
    EXPECT_EQ(ini.ReadInteger("One", "Missing", -7), -7);
    EXPECT_EQ(ini.ReadInteger("One", "B", -7), -7); // no number
    EXPECT_TRUE(ini.ValueExists("One", "A"));
    EXPECT_FALSE(ini.SectionExists("Three"));
    ini.WriteInteger("One", "A", 2);
    ini.WriteString("Three", "D", QStringLiteral("x=y"));
    ini.UpdateFile();
    EXPECT_EQ(ReadBytes(name),
              QByteArray("; comment\r\n[One]\r\nA=2\r\n; inside\r\nB= spaced \r\n\r\n[Two]\r\nC=$10\r\n"
                         "\r\n[Three]\r\nD=x=y\r\n\r\n"));
    TMemIniFile again(name);
    EXPECT_EQ(again.ReadString("Three", "D", ""), QStringLiteral("x=y"));
}

TEST(IniFiles, MemIniFileTextsRoundTrip) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString name = dir.filePath(QStringLiteral("t.ini"));
    const struct {
        const char* What;
        QString Text;
    } cases[] = {
        {"Windows-1252", QStringLiteral("Gr\u00FC\u00DFe \u20AC")},
        {"beyond Windows-1252", QStringLiteral("\u041F\u0440\u0438\u0432\u0435\u0442 \u4E2D")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.What);
        {
            TMemIniFile ini(name);
            ini.WriteString("S", "T", c.Text);
            ini.UpdateFile();
        }
        TMemIniFile ini(name);
        EXPECT_EQ(ini.ReadString("S", "T", ""), c.Text);
    }
}

TEST(IniFiles, MemIniFileThatCannotBeReadIsRefused) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    EXPECT_THROW(TMemIniFile ini(dir.path()), EFOpenError);
    // A missing file reads as empty and is made by UpdateFile.
    const QString name = dir.filePath(QStringLiteral("new.ini"));
    TMemIniFile ini(name);
    EXPECT_EQ(ini.ReadString("S", "K", "d"), QStringLiteral("d"));
    ini.UpdateFile();
    EXPECT_TRUE(QFile::exists(name));
}

TEST(IniFiles, RegistryIniFileReadsWhatItWrote) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    SetRegistryFileName(dir.filePath(QStringLiteral("registry.ini")));
    ScopeGuard restore([] { SetRegistryFileName(QString()); });
    TRegistryIniFile ini(QStringLiteral("Software\\Test"));
    ini.WriteInteger("Sec", "I", -5);
    ini.WriteString("Sec", "S", QStringLiteral("42"));
    ini.WriteString("Sec", "T", QStringLiteral("text"));
    EXPECT_EQ(ini.ReadInteger("Sec", "I", 0), -5);
    EXPECT_EQ(ini.ReadString("Sec", "I", ""), QStringLiteral("-5"));
    EXPECT_EQ(ini.ReadInteger("Sec", "S", 0), 42); // a text holding a number
    EXPECT_EQ(ini.ReadInteger("Sec", "T", 3), 3);
    EXPECT_EQ(ini.ReadInteger("Sec", "Missing", 3), 3);
    EXPECT_EQ(ini.ReadString("Nowhere", "I", "d"), QStringLiteral("d"));
    EXPECT_TRUE(ini.ValueExists("Sec", "I"));
    EXPECT_TRUE(ini.SectionExists("Sec"));
    EXPECT_FALSE(ini.SectionExists("Nowhere"));
    TRegistry reg;
    ASSERT_TRUE(reg.OpenKeyReadOnly(QStringLiteral("\\Software\\Test\\Sec")));
    EXPECT_EQ(reg.GetDataType("I"), rdInteger);
}
