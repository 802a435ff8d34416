// The main window's step "Update Device UDP" as a whole: a project with its general parameters
// and a client mapping is built, the window opens, the converter answers the ping and the
// update program (a stub, or the built stand-in when it is there) runs with the parameter file.
#include "UUpdateDevice.h"

#include "LbButton.h"
#include "ProgramFolderFixture.h"
#include "StdCtrls.h"
#include "SysUtils.h"
#include "UBoot.h"
#include "UCompile_Bin.h"
#include "XmlDoc.h"

#include <QCoreApplication>

namespace {

class UpdateDeviceStep : public ProgramFolderTest {
protected:
    UpdateDeviceStep() : ProgramFolderTest("Sub Station") {}

    void SetUp() override {
        ProgramFolderTest::SetUp();
        if (HasFatalFailure()) return;
        WriteFile("MASTER/Sim40210.sim", QByteArray(30000, '\x11'));
        WriteFile("PROJECTS/Sub Station/ParGen.xml",
                  "<Par_Gen><IEC61850_Client_IP1>10</IEC61850_Client_IP1><IEC61850_Client_IP2>0</"
                  "IEC61850_Client_IP2>"
                  "<IEC61850_Client_IP3>0</IEC61850_Client_IP3><IEC61850_Client_IP4>5</IEC61850_Client_IP4>"
                  "<PROFIBUS_ID_Device>7</PROFIBUS_ID_Device><PROFINET_NB_IN>32</PROFINET_NB_IN>"
                  "<PROFINET_NB_OUT>16</PROFINET_NB_OUT></Par_Gen><!--SW_VERSION = 1.000-->");
        WriteFile(
            "PROJECTS/Sub Station/IEC_61850_Client.xml",
            "<IEC_68850_Client><List_ICD_Files><ICD_File Name=\"I\" FileName=\"i.icd\"/></List_ICD_Files>"
            "<List_DA_Selected><DA_Item Index=\"0\" bType=\"FLOAT32\" fc=\"MX\" "
            "Reference=\"LD0/MMXU1.TotW.mag.f\" "
            "StartByte=\"0\" NumByte=\"4\" IPAddress=\"10.0.0.9\" Port=\"102\" OnChange=\"N\" OnCMD=\"N\" "
            "OnTimer=\"Y\" Time=\"1000\" Position=\"0\" StartBit=\"0\" ReadWrite=\"Read\" "
            "Convertion=\"None\" "
            "MoltFact=\"NONE\" Mnemonic=\"\"/></List_DA_Selected><List_DataSet_Selected/></IEC_68850_Client>"
            "<!--SW_VERSION = 1.000-->");
        SetPing([this](const TIcmpEchoRequest& R, TReplyStatus& Reply) {
            Hosts << R.Host;
            Reply.BytesReceived = IcmpEchoHeaderSize + int(R.Payload.size());
        });
    }
    void TearDown() override {
        SetProgramRunner(nullptr);
        FreeAndNil(FBoot);
        ProgramFolderTest::TearDown();
    }
    void Executable(const QString& Name) const {
        QFile(FDir.filePath(Name)).setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
    // Runs the step as the user does: once the window is up, type the address, press the
    // update button, then Cancel.
    void RunStep() {
        PostCall([this] {
            struct TClose {
                ~TClose() {
                    if (FBoot && FBoot->Visible()) FBoot->SetModalResult(mrCancel);
                }
            } close;
            ShownWithImages = FBoot && FBoot->Visible() && FBoot->Form_Type == 1 &&
                              ReadFile("PROJECTS/Sub Station/bin/bank1.bin").size() == 2048 &&
                              QFile::exists(FDir.filePath("PROJECTS/Sub Station/bin/bank2.bin"));
            if (!FBoot) return;
            FBoot->E_IP1->SetFocus();
            SimulateText(nullptr, "10.0.0.5");
            SimulateClick(FBoot->Btn_Update, 20, 10);
            SimulateClick(FBoot->Btn_Cancel, 20, 10);
        });
        Update_Device();
    }

    QStringList Hosts;
    bool ShownWithImages = false;
};

} // namespace

TEST_F(UpdateDeviceStep, BuildsPingsWritesTheFileAndRunsTheUpdater) {
    WriteFile("Ethernet_Update",
              "#!/bin/sh\ncd \"$(dirname \"$0\")\" || exit 8\ncp Ethernet_Update.xml seen.xml\n");
    Executable("Ethernet_Update");
    RunStep();
    EXPECT_TRUE(ShownWithImages);
    EXPECT_TRUE(Messages.empty()) << MessageTexts().join("; ").toStdString();
    EXPECT_EQ(Hosts, QStringList({"10.0.0.5", "10.0.0.5"}));
    EXPECT_EQ(Last_IP_Address, "10.0.0.5");
    EXPECT_FALSE(FBoot->Visible());

    const QByteArray seen = ReadFile("seen.xml");
    ASSERT_FALSE(seen.isEmpty());
    EXPECT_EQ(seen, ReadFile("Ethernet_Update.xml"));
    TXMLDocument doc(nullptr);
    doc.LoadFromXML(seen);
    const TXMLNode root = doc.DocumentElement();
    EXPECT_EQ(root.FindNode("IP_Address_Dev").Text(), "10.0.0.5");
    QStringList files;
    for (TXMLNode op = root.FindNode("Operations").FirstChild(); op; op = op.NextSibling())
        files << op.FindNode("Ope_FileName").Text();
    EXPECT_EQ(files, QStringList({FDir.filePath("MASTER/Sim40210.sim"),
                                  FDir.filePath("PROJECTS/Sub Station/bin/bank1.bin"),
                                  FDir.filePath("PROJECTS/Sub Station/bin/bank2.bin")}));
}

TEST_F(UpdateDeviceStep, TheBuiltStandInAcceptsWhatTheStepHandsOver) {
    const QString standIn = QDir(QCoreApplication::applicationDirPath()).filePath("Ethernet_Update");
    if (!QFile::exists(standIn)) GTEST_SKIP() << "the stand-in update program is not built";
    ASSERT_TRUE(QFile::copy(standIn, FDir.filePath("Ethernet_Update")));
    Executable("Ethernet_Update");
    TProgramResult result;
    SetProgramRunner([&](const TProgramRun& R) { return result = ProcessProgramRunner(R); });
    RunStep();
    EXPECT_TRUE(Messages.empty()) << MessageTexts().join("; ").toStdString();
    EXPECT_EQ(result.Outcome, poFinished);
    EXPECT_EQ(result.ExitCode, 0) << result.ErrorOutput.constData();
    EXPECT_TRUE(result.Output.contains("bank1.bin (2048 bytes) to 10.0.0.5:2008"))
        << result.Output.constData();
    EXPECT_TRUE(result.Output.contains("Then would start the application of 10.0.0.5"))
        << result.Output.constData();
}

TEST_F(UpdateDeviceStep, BuildErrorEndsTheStepBeforeTheWindow) {
    WriteFile("PROJECTS/Sub Station/IEC_61850_Client.xml", "<IEC_68850_Client><List_DA_Selected><DA_Item");
    bool shown = false;
    PostCall([&] {
        shown = FBoot && FBoot->Visible();
        if (shown) FBoot->SetModalResult(mrCancel);
    });
    EXPECT_THROW(Update_Device(), Exception);
    QCoreApplication::processEvents();
    EXPECT_FALSE(shown);
    EXPECT_TRUE(Hosts.isEmpty());
    EXPECT_FALSE(QFile::exists(FDir.filePath("PROJECTS/Sub Station/bin/bank1.bin")));
}
