// A fixture that gives each test a program folder of its own (MASTER and one project under
// PROJECTS), records message dialogs instead of showing them, and puts the shared state and
// the hooks it replaced back afterwards.
#pragma once

#include "Dialogs.h"
#include "Icmp.h"
#include "ULang.h"
#include "UProject.h"

#include <QDir>
#include <QFile>
#include <QStringList>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <utility>
#include <vector>

class ProgramFolderTest : public ::testing::Test {
protected:
    // Project: the project's folder name under PROJECTS.
    explicit ProgramFolderTest(QString Project) : FProject(std::move(Project)) {}

    void SetUp() override {
        ASSERT_TRUE(FDir.isValid());
        Lang_Text.Load_Default_Lang();
        Path_Program = FDir.path();
        Path_Master = Path_Program + "\\MASTER";
        Path_Project = Path_Program + "\\PROJECTS\\" + FProject;
        Set_Files();
        Last_IP_Address = "192.168.2.205";
        Update_Option = 0;
        Update_Read_Back = true;
        QDir().mkpath(FDir.filePath("MASTER"));
        QDir().mkpath(FDir.filePath("PROJECTS/" + FProject));
        FOldMsg = SetMessageDlgHook([this](const TMessageDlgRequest& R) {
            Messages.push_back(R);
            return mrOk;
        });
        FMsgHooked = true;
    }
    void TearDown() override {
        if (FPingHooked) SetIcmpTransport(FOldIcmp);
        if (FMsgHooked) SetMessageDlgHook(FOldMsg);
        Path_Project.clear();
        Last_IP_Address = "192.168.2.205";
        Update_Option = 0;
        Update_Read_Back = true;
    }

    // Answers the pings in place of the network until the test ends.
    void SetPing(TIcmpTransport Ping) {
        TIcmpTransport old = SetIcmpTransport(std::move(Ping));
        if (!FPingHooked) FOldIcmp = std::move(old);
        FPingHooked = true;
    }

    // Files by their path inside the program folder.
    void WriteFile(const QString& Name, const QByteArray& Bytes) const {
        QFile f(FDir.filePath(Name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(Bytes);
    }
    QByteArray ReadFile(const QString& Name) const {
        QFile f(FDir.filePath(Name));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

    // The texts of the messages shown so far.
    QStringList MessageTexts() const {
        QStringList texts;
        for (const auto& m : Messages) texts << m.Msg;
        return texts;
    }

    QTemporaryDir FDir;
    std::vector<TMessageDlgRequest> Messages;

private:
    QString FProject;
    TIcmpTransport FOldIcmp;
    TMessageDlgHook FOldMsg;
    bool FPingHooked = false;
    bool FMsgHooked = false;
};
