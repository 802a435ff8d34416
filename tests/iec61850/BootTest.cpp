// The device-update window: texts and layout of its two forms, the address keys, the ping with
// scripted echoes and a clock of its own, and the update action with a scripted update program.
#include "UBoot.h"

#include "ExtPanels.h"
#include "LbButton.h"
#include "ProgramFolderFixture.h"
#include "StdCtrls.h"
#include "SysUtils.h"
#include "UEthernet_Update.h"
#include "UUtils.h"
#include "XmlDoc.h"

#include <cerrno>
#include <csignal>

namespace {

// One scripted echo: answered, silent, or an echo that cannot be sent.
enum TEcho { Answer, Silence, Fail };

class BootWindow : public ProgramFolderTest {
protected:
    BootWindow() : ProgramFolderTest("Plant") {}

    void SetUp() override {
        ProgramFolderTest::SetUp();
        if (HasFatalFailure()) return;
        Code_SW = "CF40210";
        QDir().mkpath(FDir.filePath("PROJECTS/Plant/bin"));
        WriteFile("MASTER/Sim40210.sim", QByteArray(4000, 'f'));
        WriteFile("PROJECTS/Plant/bin/bank1.bin", QByteArray(2048, '1'));
        WriteFile("PROJECTS/Plant/bin/bank2.bin", QByteArray(100, '2'));

        Boot = new TFBoot(Application);
        Boot->Clock = [this] { return Now; };
        Boot->Pause = [this](int Ms) { Now += Cardinal(Ms); };
        SetPing([this](const TIcmpEchoRequest& R, TReplyStatus& Reply) {
            Sent.push_back(R);
            const TEcho e = Script.empty() ? Silence : Script[std::min(Sent.size(), Script.size()) - 1];
            if (e == Fail) throw EIcmpError("Cannot resolve the host " + R.Host);
            Now += e == Answer ? 3 : Cardinal(R.ReceiveTimeout);
            Reply.BytesReceived = e == Answer ? IcmpEchoHeaderSize + int(R.Payload.size()) : 0;
        });
        FOldRunner = SetProgramRunner([this](const TProgramRun& R) {
            Runs.push_back(R);
            BusyDuringRun = Boot->Busy() && !Boot->Btn_Update->Enabled() && !Boot->Btn_Cancel->Enabled() &&
                            !Boot->E_IP1->Enabled();
            CloseAllowedDuringRun = Boot->CloseQuery();
            FileDuringRun = ReadFile("Ethernet_Update.xml");
            if (Runs.size() == 1) Boot->Btn_UpdateClick(nullptr); // a second press while the update runs
            return Result;
        });
        FRunnerHooked = true;
        Result.Outcome = poFinished;
        Result.ExitCode = 0;
    }
    void TearDown() override {
        if (Boot && Boot->Visible()) Boot->Hide();
        TObject::Free(Boot);
        if (FRunnerHooked) SetProgramRunner(FOldRunner);
        ProgramFolderTest::TearDown();
    }
    void Address(const char* O1, const char* O2, const char* O3, const char* O4) const {
        Boot->E_IP1->SetText(O1);
        Boot->E_IP2->SetText(O2);
        Boot->E_IP3->SetText(O3);
        Boot->E_IP4->SetText(O4);
    }
    void ShowEthernet() const {
        Boot->Form_Type = 1;
        Boot->Show();
    }
    // The real program runner from here on, with Body as the update program in the program folder.
    void UseStubUpdater(const QByteArray& Body) const {
        SetProgramRunner(nullptr);
        WriteFile("Ethernet_Update", Body);
        QFile(FDir.filePath("Ethernet_Update"))
            .setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }

    TFBoot* Boot = nullptr;
    Cardinal Now = 1000;
    std::vector<TEcho> Script;
    std::vector<TIcmpEchoRequest> Sent;
    std::vector<TProgramRun> Runs;
    TProgramResult Result;
    bool BusyDuringRun = false;
    bool CloseAllowedDuringRun = true;
    QByteArray FileDuringRun;

private:
    TProgramRunner FOldRunner;
    bool FRunnerHooked = false;
};

} // namespace

TEST_F(BootWindow, DesignValuesBeforeTheFirstShow) {
    EXPECT_EQ(Boot->Form_Type, 0);
    EXPECT_EQ(Boot->ping_res, 0);
    for (TEdit* e : {Boot->E_IP1, Boot->E_IP2, Boot->E_IP3, Boot->E_IP4}) EXPECT_EQ(e->Text(), "0");
    ASSERT_EQ(Boot->CB_Update_Options->Items()->Count(), 3);
    EXPECT_EQ(Boot->CB_Update_Options->Items()->Strings(1), "Firmware");
    EXPECT_EQ(Boot->CB_Update_Options->ItemIndex(), 0);
    EXPECT_TRUE(Boot->CB_Update_Option_Read_Back->Checked());
    EXPECT_EQ(Boot->CB_COM_Port->Text(), "COM1");
    EXPECT_EQ(Boot->Btn_COM_List->Hint(), "Update COM Ports List");
    EXPECT_EQ(Boot->L_COM_Port->Caption(), "Select the COM port for the Update");
    EXPECT_EQ(Boot->Ping->ReceiveTimeout, 400);
    EXPECT_EQ(Boot->Ping->PacketSize, 1024);
    EXPECT_EQ(Boot->BorderStyle(), bsSingle);
    EXPECT_EQ(Boot->BorderIcons(), TBorderIcons({biSystemMenu}));
    EXPECT_EQ(Boot->Position(), poScreenCenter);
}

TEST_F(BootWindow, EthernetFormTextsAndLayout) {
    Update_Option = 1;
    Update_Read_Back = false;
    ShowEthernet();
    EXPECT_EQ(Boot->Caption(), "Update Device by Ethernet (UDP)");
    EXPECT_EQ(Boot->L_SW_Desc->Caption(), "Update Device Using the Ethernet Port");
    EXPECT_EQ(Boot->L_SW_Code->Caption(), "CF40210");
    EXPECT_EQ(Boot->L_IP_Address->Caption(), "Insert the IP Address of Device");
    EXPECT_EQ(Boot->Btn_Update->Caption(), "Execute Update Firmware");
    EXPECT_EQ(Boot->Btn_Cancel->Caption(), "Cancel");
    EXPECT_EQ(Boot->Btn_Cancel->ModalResult(), mrCancel);
    EXPECT_EQ(Boot->Btn_Update->ModalResult(), mrNone);
    EXPECT_EQ(Boot->E_IP3->Hint(), "Insert third byte of IP Address");
    EXPECT_EQ(Boot->CB_Update_Option_Read_Back->Hint(),
              "Enable or disable the possibility to read back the Firmware/Configuration");
    ASSERT_EQ(Boot->CB_Update_Options->Items()->Count(), 3);
    EXPECT_EQ(Boot->CB_Update_Options->Items()->Strings(0), "Firmware + Configuration");
    EXPECT_EQ(Boot->CB_Update_Options->Items()->Strings(2), "Configuration");
    EXPECT_EQ(Boot->CB_Update_Options->ItemIndex(), 1);
    EXPECT_FALSE(Boot->CB_Update_Option_Read_Back->Checked());

    EXPECT_EQ(Boot->ClientWidth(), 449);
    EXPECT_EQ(Boot->ClientHeight(), 230);
    EXPECT_TRUE(Boot->P_IP_Address->Visible());
    EXPECT_TRUE(Boot->P_Options->Visible());
    EXPECT_FALSE(Boot->P_Serial->Visible());
    EXPECT_FALSE(Boot->P_Search->Visible());
    EXPECT_EQ(Boot->P_IP_Address->Top(), 69);
    EXPECT_EQ(Boot->P_Options->Top(), 118);
    EXPECT_EQ(Boot->P_Button->Top(), 190);
    // Tab order: title, address, options, buttons, then the hidden serial panel.
    const TPanel* order[] = {Boot->P_Title, Boot->P_IP_Address, Boot->P_Options, Boot->P_Button,
                             Boot->P_Serial};
    for (int i = 0; i < 5; ++i) EXPECT_EQ(order[i]->TabOrder(), i) << i;
    EXPECT_EQ(Boot->E_IP1->Text(), "192");
    EXPECT_EQ(Boot->E_IP4->Text(), "205");
    EXPECT_TRUE(Boot->E_IP1->Focused());
}

TEST_F(BootWindow, SerialFormShowsThePortListInstead) {
    Boot->Form_Type = 0;
    Boot->Show();
    EXPECT_EQ(Boot->Caption(), "Update Device by Serial");
    EXPECT_EQ(Boot->L_SW_Desc->Caption(), "Update Device Using the Serial Port");
    EXPECT_EQ(Boot->ClientHeight(), 232);
    EXPECT_TRUE(Boot->P_Serial->Visible());
    EXPECT_FALSE(Boot->P_IP_Address->Visible());
    EXPECT_EQ(Boot->P_Serial->Top(), 69);
    EXPECT_EQ(Boot->P_Options->Top(), 120);
    const TPanel* order[] = {Boot->P_Title, Boot->P_Serial, Boot->P_Options, Boot->P_Button,
                             Boot->P_IP_Address};
    for (int i = 0; i < 5; ++i) EXPECT_EQ(order[i]->TabOrder(), i) << i;
    for (int i = 0; i < Boot->CB_COM_Port->Items()->Count(); ++i)
        EXPECT_TRUE(Boot->CB_COM_Port->Items()->Strings(i).startsWith("COM"));
    // The button only keeps the options.
    Boot->CB_Update_Options->SetItemIndex(2);
    Boot->CB_Update_Option_Read_Back->SetChecked(false);
    Boot->Btn_UpdateClick(nullptr);
    EXPECT_EQ(Update_Option, 2);
    EXPECT_FALSE(Update_Read_Back);
    EXPECT_TRUE(Sent.empty());
    EXPECT_TRUE(Runs.empty());
    EXPECT_TRUE(Messages.empty());
}

// The serial form lists the ports the shell's port list gives, and the small button asks again.
TEST_F(BootWindow, SerialPortListComesFromTheSharedPortList) {
    QList<QByteArray> present = {"/dev/ttyS0", "/dev/ttyS2"};
    TSerialDeviceProbe old = SetSerialDeviceProbe([&](const QByteArray& Device) {
        if (Device == "/dev/ttyS4") return EBUSY;
        return present.contains(Device) ? 0 : ENOENT;
    });
    Boot->Form_Type = 0;
    Boot->Show();
    EXPECT_EQ(Boot->CB_COM_Port->Items()->CommaText(), "COM1,COM3,COM5");
    EXPECT_EQ(Boot->CB_COM_Port->ItemIndex(), 0);
    present = {"/dev/ttyS7"};
    Boot->Btn_COM_List->Click();
    EXPECT_EQ(Boot->CB_COM_Port->Items()->CommaText(), "COM5,COM8");
    EXPECT_EQ(Boot->CB_COM_Port->Text(), "COM5");
    SetSerialDeviceProbe(old);
}

TEST_F(BootWindow, StoredAddressFillsTheEditsOnlyWhenValid) {
    const struct {
        const char* Stored;
        const char* Edits[4];
    } cases[] = {
        {"10.0.0.7", {"10", "0", "0", "7"}},  {" 172.16 . 1.2 ", {"172", "16", "1", "2"}},
        {"", {"0", "0", "0", "0"}},           {"10.0.0", {"0", "0", "0", "0"}},
        {"10.0.0.256", {"0", "0", "0", "0"}}, {"1.2.3.4.5", {"0", "0", "0", "0"}},
    };
    for (const auto& c : cases) {
        Address("0", "0", "0", "0");
        Last_IP_Address = c.Stored;
        ShowEthernet();
        TEdit* edits[] = {Boot->E_IP1, Boot->E_IP2, Boot->E_IP3, Boot->E_IP4};
        for (int i = 0; i < 4; ++i) EXPECT_EQ(edits[i]->Text(), c.Edits[i]) << c.Stored << " octet " << i + 1;
        Boot->Hide();
    }
}

TEST_F(BootWindow, DotMovesToTheNextEditAndIsNeverTyped) {
    ShowEthernet();
    Boot->E_IP1->SetFocus();
    SimulateText(nullptr, "10.1.22.3.4");
    EXPECT_EQ(Boot->E_IP1->Text(), "10");
    EXPECT_EQ(Boot->E_IP2->Text(), "1");
    EXPECT_EQ(Boot->E_IP3->Text(), "22");
    EXPECT_EQ(Boot->E_IP4->Text(), "34");
    EXPECT_TRUE(Boot->E_IP4->Focused());
}

TEST_F(BootWindow, PingOutcomes) {
    const struct {
        const char* Name;
        std::vector<TEcho> Script;
        bool Result;
        int Status;
        size_t Echoes;
    } cases[] = {
        {"two answers", {Answer, Answer}, true, 1, 2},
        {"answers 1 and 3", {Answer, Silence, Answer}, true, 1, 3},
        // Silent echoes take 410 ms each (400 ms and one pause) until more than 5000 ms have
        // passed since the first.
        {"one answer then silence", {Answer, Silence}, false, 2, 14},
        {"silence", {Silence}, false, 2, 13},
        {"unresolvable host", {Fail}, false, 0, 1},
        {"answer, then the echo cannot be sent", {Answer, Fail}, false, 1, 2},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        Script = c.Script;
        Sent.clear();
        Address("192", "168", "2", "205");
        EXPECT_EQ(Boot->Send_Ping(), c.Result);
        EXPECT_EQ(Boot->ping_res, c.Status);
        EXPECT_EQ(Boot->Ping_Error().isEmpty(), c.Script.back() != Fail);
        ASSERT_EQ(Sent.size(), c.Echoes);
        EXPECT_EQ(Sent[0].Host, "192.168.2.205");
        EXPECT_EQ(Sent[0].Payload, "192.168.2.205");
        EXPECT_EQ(Sent[0].ReceiveTimeout, 400);
        EXPECT_EQ(Sent[0].PacketSize, 1024);
    }
}

TEST_F(BootWindow, UpdateStoresTheChoicesWritesTheFileAndRunsTheUpdater) {
    ShowEthernet();
    Script = {Answer, Answer};
    Address(" 10", "0", "00", "7");
    Boot->CB_Update_Options->SetItemIndex(1);
    Boot->CB_Update_Option_Read_Back->SetChecked(false);
    Boot->Btn_UpdateClick(nullptr);

    EXPECT_TRUE(Messages.empty()) << Messages[0].Msg.toStdString();
    EXPECT_EQ(Last_IP_Address, "10.0.0.7");
    EXPECT_EQ(Update_Option, 1);
    EXPECT_FALSE(Update_Read_Back);
    ASSERT_EQ(Runs.size(), 1u) << "the second press while running starts nothing";
    EXPECT_EQ(NativePath(Runs[0].Program), FDir.filePath("Ethernet_Update"));
    EXPECT_TRUE(Runs[0].Arguments.isEmpty());
    EXPECT_EQ(Runs[0].TimeoutMs, 150000);
    EXPECT_TRUE(Runs[0].ProcessEvents);
    EXPECT_TRUE(BusyDuringRun);
    EXPECT_FALSE(CloseAllowedDuringRun);
    EXPECT_FALSE(Boot->Busy());
    EXPECT_TRUE(Boot->Btn_Update->Enabled());
    EXPECT_TRUE(Boot->Btn_Cancel->Enabled());

    // The file was there when the updater started: the canonical address, one firmware operation.
    TXMLDocument doc(nullptr);
    doc.LoadFromXML(FileDuringRun);
    EXPECT_EQ(doc.DocumentElement().FindNode("IP_Address_Dev").Text(), "10.0.0.7");
    const TXMLNode op = doc.DocumentElement().FindNode("Operations").FirstChild();
    EXPECT_EQ(op.FindNode("Ope_FileName").Text(), FDir.filePath("MASTER/Sim40210.sim"));
    EXPECT_EQ(op.FindNode("Ope_Read_Back").Text(), "0");
    EXPECT_FALSE(op.NextSibling());

    // The next show preselects what was chosen.
    Boot->Hide();
    ShowEthernet();
    EXPECT_EQ(Boot->CB_Update_Options->ItemIndex(), 1);
    EXPECT_FALSE(Boot->CB_Update_Option_Read_Back->Checked());
    EXPECT_EQ(Boot->E_IP1->Text(), "10");
}

TEST_F(BootWindow, FailuresBeforeTheUpdaterStoreAndRunNothing) {
    const struct {
        const char* Name;
        std::vector<TEcho> Script;
        const char* Octet1;
        TMsgDlgType Kind;
        int Text;
        size_t Echoes;
    } cases[] = {
        {"address not decimal", {Answer}, "0x0A", mtError, 1037, 0},
        {"octet out of range", {Answer}, "256", mtError, 1037, 0},
        {"no answer", {Silence}, "10", mtWarning, 1036, 13},
        {"echo cannot be sent", {Fail}, "10", mtError, 1037, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        ShowEthernet();
        Script = c.Script;
        Sent.clear();
        Messages.clear();
        Address(c.Octet1, "1", "1", "1");
        Boot->CB_Update_Options->SetItemIndex(2);
        Boot->Btn_UpdateClick(nullptr);
        ASSERT_EQ(Messages.size(), 1u);
        // Why an echo could not be sent follows the text on a line of its own.
        EXPECT_EQ(Messages[0].Msg,
                  Lang_Text.Get(c.Text) + (c.Script[0] == Fail ? "\nCannot resolve the host 10.1.1.1" : ""));
        EXPECT_EQ(Messages[0].DlgType, c.Kind);
        EXPECT_EQ(Messages[0].Buttons, TMsgDlgButtons({mbOK}));
        EXPECT_EQ(Sent.size(), c.Echoes);
        EXPECT_EQ(Last_IP_Address, "192.168.2.205");
        EXPECT_EQ(Update_Option, 0);
        EXPECT_TRUE(Runs.empty());
        EXPECT_FALSE(QFile::exists(FDir.filePath("Ethernet_Update.xml")));
        EXPECT_TRUE(Boot->Btn_Update->Enabled());
        // Reopened, the window shows the stored address, not the one just typed.
        Boot->Hide();
        ShowEthernet();
        EXPECT_EQ(Boot->E_IP1->Text(), "192");
        Boot->Hide();
    }
}

TEST_F(BootWindow, MissingImageIsNamedAndTheUpdaterNotStarted) {
    ShowEthernet();
    Script = {Answer, Answer};
    QFile::remove(FDir.filePath("PROJECTS/Plant/bin/bank2.bin"));
    Boot->CB_Update_Options->SetItemIndex(2);
    Boot->Btn_UpdateClick(nullptr);
    ASSERT_EQ(Messages.size(), 1u);
    EXPECT_EQ(Messages[0].DlgType, mtError);
    EXPECT_TRUE(Messages[0].Msg.startsWith(Lang_Text.Get(1038)));
    EXPECT_TRUE(Messages[0].Msg.endsWith(FDir.filePath("PROJECTS/Plant/bin/bank2.bin")))
        << Messages[0].Msg.toStdString();
    EXPECT_TRUE(Runs.empty());
    EXPECT_FALSE(QFile::exists(FDir.filePath("Ethernet_Update.xml")));
    // Firmware alone needs only the firmware image.
    Messages.clear();
    Boot->CB_Update_Options->SetItemIndex(1);
    Boot->Btn_UpdateClick(nullptr);
    EXPECT_TRUE(Messages.empty());
    EXPECT_EQ(Runs.size(), 1u);
}

TEST_F(BootWindow, UpdaterOutcomesAreReported) {
    const struct {
        const char* Name;
        TProgramOutcome Outcome;
        int ExitCode;
        QByteArray ErrorOutput;
        TMsgDlgType Kind;
        const char* Text; // nullptr: no message
    } cases[] = {
        {"success", poFinished, 0, "", mtError, nullptr},
        {"exit code", poFinished, 3, "line 1\nEthernet_Update: Operation 2: bad\n", mtError,
         "Error!!! The update program ended with an error, exit code 3\nline 1\nEthernet_Update: Operation "
         "2: bad"},
        {"not started", poFailedToStart, -1, "", mtError,
         "Error!!! The update program could not be started:\n"},
        {"still running", poTimedOut, -1, "", mtWarning, "The update program did not end within 150 s."},
        {"crashed", poCrashed, -1, "", mtError, "Error!!! The update program ended abnormally:\n"},
    };
    ShowEthernet();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        Script = {Answer, Answer};
        Sent.clear();
        Messages.clear();
        Result = TProgramResult();
        Result.Outcome = c.Outcome;
        Result.ExitCode = c.ExitCode;
        Result.ErrorOutput = c.ErrorOutput;
        Result.Error = "No such file";
        Boot->Btn_UpdateClick(nullptr);
        if (!c.Text) {
            EXPECT_TRUE(Messages.empty());
            continue;
        }
        ASSERT_EQ(Messages.size(), 1u);
        EXPECT_EQ(Messages[0].DlgType, c.Kind);
        EXPECT_TRUE(Messages[0].Msg.startsWith(c.Text)) << Messages[0].Msg.toStdString();
        EXPECT_TRUE(Boot->Btn_Update->Enabled());
    }
}

// An update program left running past the 150 s keeps the window from starting a second one,
// until it has ended; its parameter file stays as it was.
TEST_F(BootWindow, NoSecondUpdaterWhileOneIsLeftRunning) {
    bool running = true;
    Result.Outcome = poTimedOut;
    Result.StillRunning = [&] { return running; };
    ShowEthernet();
    Script = {Answer, Answer};
    Address("10", "0", "0", "7");
    Boot->Btn_UpdateClick(nullptr);
    ASSERT_EQ(Runs.size(), 1u);
    EXPECT_EQ(MessageTexts(), QStringList{Lang_Text.Get(1041)});
    EXPECT_TRUE(Boot->Updater_Running());
    const QByteArray file = ReadFile("Ethernet_Update.xml");
    ASSERT_TRUE(file.contains("10.0.0.7"));

    // Other choices, pressed again, and again after the window was closed and opened.
    for (int press = 0; press < 2; ++press) {
        SCOPED_TRACE(press);
        Messages.clear();
        Sent.clear();
        Address("10", "0", "0", "8");
        Boot->CB_Update_Options->SetItemIndex(2);
        Boot->Btn_UpdateClick(nullptr);
        ASSERT_EQ(Messages.size(), 1u);
        EXPECT_EQ(Messages[0].Msg, Lang_Text.Get(1043));
        EXPECT_EQ(Messages[0].DlgType, mtWarning);
        EXPECT_EQ(Runs.size(), 1u);
        EXPECT_TRUE(Sent.empty()) << "not even pinged";
        EXPECT_EQ(ReadFile("Ethernet_Update.xml"), file);
        EXPECT_EQ(Last_IP_Address, "10.0.0.7");
        EXPECT_EQ(Update_Option, 0);
        EXPECT_TRUE(Boot->Btn_Update->Enabled());
        Boot->Hide();
        ShowEthernet();
    }

    // Once it has ended, the next press updates.
    running = false;
    Result = TProgramResult();
    Result.Outcome = poFinished;
    Result.ExitCode = 0;
    Messages.clear();
    Address("10", "0", "0", "8");
    Boot->Btn_UpdateClick(nullptr);
    EXPECT_TRUE(Messages.empty()) << MessageTexts().join("|").toStdString();
    EXPECT_EQ(Runs.size(), 2u);
    EXPECT_TRUE(ReadFile("Ethernet_Update.xml").contains("10.0.0.8"));
    EXPECT_FALSE(Boot->Updater_Running());
}

TEST_F(BootWindow, ParameterFileThatCannotBeWrittenStartsNoUpdater) {
    ShowEthernet();
    Script = {Answer, Answer};
    ASSERT_TRUE(QDir().mkpath(FDir.filePath("Ethernet_Update.xml"))); // a folder in the file's place
    EXPECT_THROW(Boot->Btn_UpdateClick(nullptr), EXMLDocError);
    EXPECT_TRUE(Runs.empty());
    EXPECT_TRUE(Messages.empty());
    EXPECT_FALSE(Boot->Busy());
    EXPECT_TRUE(Boot->Btn_Update->Enabled());
    EXPECT_TRUE(Boot->CloseQuery());
}

// The real program runner: a stub update program that outlasts the time bound.
TEST_F(BootWindow, StubUpdaterLeftRunningBlocksTheNextUpdateUntilItEnds) {
    UseStubUpdater("#!/bin/sh\ncd \"$(dirname \"$0\")\" || exit 9\necho $$ > updater.pid\nexec sleep 60\n");
    Boot->Update_Timeout_Ms = 300;
    ShowEthernet();
    Script = {Answer, Answer};
    Boot->Btn_UpdateClick(nullptr);
    EXPECT_EQ(MessageTexts(), QStringList{Lang_Text.Get(1041)});
    ASSERT_TRUE(ProcessMessagesUntil([&] { return !ReadFile("updater.pid").isEmpty(); }));
    const pid_t pid = pid_t(ReadFile("updater.pid").trimmed().toInt());
    ASSERT_GT(pid, 0);
    struct TStop {
        pid_t Pid;
        ~TStop() { ::kill(Pid, SIGKILL); }
    } stop{pid};
    EXPECT_TRUE(Boot->Updater_Running());

    Messages.clear();
    QFile::remove(FDir.filePath("Ethernet_Update.xml"));
    Boot->Btn_UpdateClick(nullptr);
    EXPECT_EQ(MessageTexts(), QStringList{Lang_Text.Get(1043)});
    EXPECT_FALSE(QFile::exists(FDir.filePath("Ethernet_Update.xml")));

    ::kill(pid, SIGKILL);
    EXPECT_TRUE(ProcessMessagesUntil([&] { return !Boot->Updater_Running(); }));
    WriteFile("Ethernet_Update", "#!/bin/sh\nexit 0\n");
    Boot->Update_Timeout_Ms = 150000;
    Messages.clear();
    Boot->Btn_UpdateClick(nullptr);
    EXPECT_TRUE(Messages.empty()) << MessageTexts().join("|").toStdString();
    EXPECT_TRUE(QFile::exists(FDir.filePath("Ethernet_Update.xml")));
}

// The real program runner with a stub update program in the program folder.
TEST_F(BootWindow, StubUpdaterRunsFromTheProgramFolderAndFindsItsFile) {
    UseStubUpdater(
        "#!/bin/sh\ncd \"$(dirname \"$0\")\" && cp Ethernet_Update.xml seen.xml && exit 0\nexit 9\n");
    ShowEthernet();
    Script = {Answer, Answer};
    Boot->Btn_UpdateClick(nullptr);
    EXPECT_TRUE(Messages.empty()) << Messages[0].Msg.toStdString();
    EXPECT_EQ(ReadFile("seen.xml"), ReadFile("Ethernet_Update.xml"));
    EXPECT_FALSE(ReadFile("seen.xml").isEmpty());

    WriteFile("Ethernet_Update",
              "#!/bin/sh\necho 'Ethernet_Update: the device did not answer' >&2\nexit 4\n");
    Boot->Btn_UpdateClick(nullptr);
    ASSERT_EQ(Messages.size(), 1u);
    EXPECT_EQ(Messages[0].Msg, Lang_Text.Get(1040) + " 4\nEthernet_Update: the device did not answer");

    QFile::remove(FDir.filePath("Ethernet_Update"));
    Messages.clear();
    Boot->Btn_UpdateClick(nullptr);
    ASSERT_EQ(Messages.size(), 1u);
    EXPECT_TRUE(Messages[0].Msg.startsWith(Lang_Text.Get(1039) + "\n" + FDir.filePath("Ethernet_Update")));
}
