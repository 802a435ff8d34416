// Copying a file over another: whole or not at all.
#include "FileCopy.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

void Put(const QString& Path, const QByteArray& Bytes) {
    QFile f(Path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(Bytes);
}

QByteArray Get(const QString& Path) {
    QFile f(Path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<none>");
}

} // namespace

TEST(FileCopyTest, CopiesWholeOrLeavesTheTargetAlone) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString src = dir.filePath("src.icd"), dst = dir.filePath("dst.icd");
    Put(src, QByteArray(200000, 'x'));
    // A new target, then over an existing one, with "\" separators.
    EXPECT_TRUE(CopyFileOver(src, dst));
    EXPECT_EQ(Get(dst), QByteArray(200000, 'x'));
    Put(src, "new");
    EXPECT_TRUE(CopyFileOver(QString(src).replace('/', '\\'), dst));
    EXPECT_EQ(Get(dst), "new");
    // A missing source or a target folder that does not exist: false, the target as it was.
    EXPECT_FALSE(CopyFileOver(dir.filePath("missing"), dst));
    EXPECT_EQ(Get(dst), "new");
    EXPECT_FALSE(CopyFileOver(src, dir.filePath("no/such/folder/x")));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files).size(), 2);
}
