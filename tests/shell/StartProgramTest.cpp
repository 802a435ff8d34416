// Starting an external program and waiting for its end.
#include "SysUtils.h"
#include "UUtils.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

TEST(StartProgram, WaitsForTheProgramAndReturnsAtOnceWhenItCannotStart) {
    const QString touch = QStandardPaths::findExecutable("touch");
    if (touch.isEmpty()) GTEST_SKIP() << "no touch program";
    QTemporaryDir dir;
    const QString made = dir.path() + "/made by the program";
    // Arguments are split at blanks unless quoted; no shell is involved.
    Start_Program(touch, "\"" + made + "\"", 0);
    EXPECT_TRUE(QFileInfo::exists(made));
    // The program runs in the caller's current folder, not in its own.
    const QString before = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(dir.path()));
    Start_Program(touch, "relative", 0);
    QDir::setCurrent(before);
    EXPECT_TRUE(QFileInfo::exists(dir.path() + "/relative"));
    Start_Program(dir.path() + "\\missing program", "", 0);
    Start_Program("", "", 1);
    EXPECT_TRUE(DirectoryExists(dir.path()));
}
