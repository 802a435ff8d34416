// A project folder of its own for the steps that write a description file: the project is open
// there, and the message and file dialogs are answered through the hooks and recorded.
#pragma once

#include "Dialogs.h"
#include "SysUtils.h"
#include "ULang.h"
#include "UProject.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

class SaveStepTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(FDir.isValid());
        Lang_Text.Load_Default_Lang();
        Path_Project = FDir.path();
        Set_Files();
        FOldMsg = SetMessageDlgHook([this](const TMessageDlgRequest& R) {
            Messages << R;
            return Answer;
        });
        FOldFile = SetFileDialogHook([this](TOpenDialog* D, bool Save) {
            ++Dialogs;
            EXPECT_TRUE(Save);
            InitialDir = D->InitialDir;
            Filter = D->Filter;
            Preset = D->FileName;
            Owner = D->Owner();
            D->FileName = Chosen;
            return !Chosen.isEmpty();
        });
    }
    void TearDown() override {
        SetMessageDlgHook(FOldMsg);
        SetFileDialogHook(FOldFile);
        Path_Project.clear();
        Set_Files();
    }
    // A file of the project folder.
    void WriteFile(const QString& Name, const QByteArray& Bytes) const {
        QFile f(FDir.filePath(Name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(Bytes);
    }
    void WriteParGen(const QByteArray& Body) const { WriteFile("ParGen.xml", Body); }
    QByteArray Read(const QString& Name) const {
        QFile f(FDir.filePath(Name));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
    }
    // The lines of a text file of the project folder that ends every line with CR LF (a failure
    // when its last line has none), without their line ends.
    QStringList CrLfLines(const QString& Name) const {
        const QByteArray bytes = Read(Name);
        EXPECT_TRUE(bytes.endsWith("\r\n")) << Name.toStdString();
        QStringList lines = QString::fromLatin1(bytes).split(QStringLiteral("\r\n"));
        lines.removeLast(); // after the last line end
        return lines;
    }
    QStringList Files() const { return QDir(FDir.path()).entryList(QDir::Files, QDir::Name); }

    QTemporaryDir FDir;
    QList<TMessageDlgRequest> Messages;
    int Answer = mrYes;
    int Dialogs = 0;
    // The file the dialog answers with (empty: cancelled), and what it was opened with.
    QString Chosen, InitialDir, Filter, Preset;
    TComponent* Owner = nullptr;

private:
    TMessageDlgHook FOldMsg;
    TFileDialogHook FOldFile;
};
