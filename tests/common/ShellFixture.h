// A fixture that gives each test a program folder of its own (with MASTER, PROJECTS and
// LANGUAGE) and puts the shared state back to a fresh start around it.
#pragma once

#include "SysUtils.h"
#include "ULang.h"
#include "UProject.h"

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

inline void ResetShellState() {
    Name_Project.clear();
    Path_Project.clear();
    Last_IP_Address = QStringLiteral("192.168.2.205");
    Language = QStringLiteral("English");
    Enable_Internet = Enable_Update = Enable_Jump_Field_Tables = Double_Click_Auto_Size = false;
    Update_Option = 0;
    Update_Read_Back = true;
    Lang_Text.Load_Default_Lang();
}

class ShellFolderTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(FDir.isValid());
        ResetShellState();
        Program_Folder_Override = FDir.path();
        Set_Program_Folders();
    }
    void TearDown() override {
        Program_Folder_Override.clear();
        ResetShellState();
    }

    // A path inside the program folder, native separators.
    QString In(const QString& Relative) const { return FDir.path() + u'/' + Relative; }
    void Write(const QString& Relative, const QByteArray& Bytes) const {
        QDir().mkpath(QFileInfo(In(Relative)).path());
        QFile f(In(Relative));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(Bytes);
    }
    QByteArray Read(const QString& Relative) const {
        QFile f(In(Relative));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    // Every entry under the program folder, relative, sorted: to see that nothing was created.
    QStringList Tree() const {
        QStringList all;
        QDirIterator it(FDir.path(), QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                        QDirIterator::Subdirectories);
        while (it.hasNext()) all << QDir(FDir.path()).relativeFilePath(it.next());
        all.sort();
        return all;
    }

    QTemporaryDir FDir;
};
