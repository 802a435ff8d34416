// The PROFINET XML step as a user takes it: through the main window's hidden step button, the
// file-name dialog typed into, and the save dialog answered with another folder.
#include "GsdmlCheck.h"
#include "UProfinetXML.h"
#include "WindowFixture.h"

class ProfinetStepTest : public WindowsTest {
protected:
    void SetUp() override {
        WindowsTest::SetUp();
        FOldToday = ProfinetFileName_Today;
        ProfinetFileName_Today = [] { return EncodeDate(2021, 6, 25); };
    }
    void TearDown() override {
        ProfinetFileName_Today = FOldToday;
        WindowsTest::TearDown();
    }

private:
    std::function<TDateTime()> FOldToday;
};

TEST_F(ProfinetStepTest, TypedNameWrittenIntoTheFolderChosen) {
    Start();
    ASSERT_EQ(::Create_New_Project("Plant1"), nprCreated);
    // The general parameters as the user saved them, with a station name of their own.
    ClickThen(Main()->Btn_Prm_Gen, [] { FParGen->Btn_OK->Click(); });
    ASSERT_TRUE(QFileInfo(In("PROJECTS/Plant1/ParGen.xml")).exists());
    QDir().mkpath(In("Exports"));

    const QString typed = In("Exports/whatever.xml");
    int dialogs = 0;
    TComponent* owner = nullptr;
    QString initialDir;
    TFileDialogHook old = SetFileDialogHook([&](TOpenDialog* Dialog, bool Save) {
        ++dialogs;
        EXPECT_TRUE(Save);
        owner = Dialog->Owner();
        initialDir = Dialog->InitialDir;
        Dialog->FileName = typed;
        return true;
    });
    TCustomForm* savedMain = Application->MainForm();
    Application->SetMainForm(Main());
    bool shown = false;
    PostCall([&] {
        shown = FProfinetFileName->Visible();
        EXPECT_EQ(FProfinetFileName->Caption(), "PROFINET XML File Name");
        EXPECT_EQ(FProfinetFileName->L_XML_Fix2->Caption(), "-20210625.xml");
        FProfinetFileName->E_XML_User->SetFocus();
        SimulateText(FProfinetFileName->E_XML_User, "GW40211");
        SimulateClick(FProfinetFileName->Btn_OK, 20, 14);
    });
    // The step is hidden in this build, so it is reached through the buttons' dispatch.
    ASSERT_FALSE(Main()->Btn_PROFINET_XML->Visible());
    Main()->Btn_Click(Main()->Btn_PROFINET_XML);
    Application->SetMainForm(savedMain);
    SetFileDialogHook(old);

    EXPECT_TRUE(shown);
    EXPECT_FALSE(FProfinetFileName->Visible());
    EXPECT_EQ(dialogs, 1);
    EXPECT_EQ(owner, Main());
    EXPECT_EQ(NativePath(initialDir), In("PROJECTS/Plant1"));
    EXPECT_TRUE(Messages.empty()) << Shown().join("|").toStdString();
    const QString name = "GSDML-V2.25-Ostrel-_GW40211-20210625.xml";
    EXPECT_EQ(QDir(In("Exports")).entryList(QDir::Files), QStringList({name}));
    ExpectSoundGsdml(In("Exports/" + name));
    // The general parameters' PROFINET values went into the file.
    const QByteArray text = Read("Exports/" + name);
    EXPECT_TRUE(text.contains("DNS_CompatibleName=\"" + GSDML_Station_Name.toUtf8() + "\""));
    EXPECT_TRUE(
        text.contains("Length=\"" + QByteArray::number(GSDML_Input_Length) + "\" TextId=\"IDT_Input_1\""));
}

TEST_F(ProfinetStepTest, CancelWritesNothing) {
    Start();
    ASSERT_EQ(::Create_New_Project("Plant1"), nprCreated);
    int dialogs = 0;
    TFileDialogHook old = SetFileDialogHook([&](TOpenDialog*, bool) {
        ++dialogs;
        return false;
    });
    PostCall([] { FProfinetFileName->Btn_Cancel->Click(); });
    Main()->Btn_Click(Main()->Btn_PROFINET_XML);
    SetFileDialogHook(old);
    EXPECT_EQ(dialogs, 0);
    EXPECT_TRUE(Messages.empty());
    EXPECT_EQ(QDir(In("PROJECTS/Plant1")).entryList(QDir::Files), QStringList());
}

// A new language reaches the file-name dialog with the other windows.
TEST_F(ProfinetStepTest, ChangeLanguageReachesTheDialog) {
    Start();
    Lang_Text.Apply_Lang_Lines({"STR2500 = Nome del file XML", "STR2506 = Conferma", "STR15 = Nuova"});
    Main()->Change_Language();
    EXPECT_EQ(Main()->Btn_New->Caption(), "Nuova");
    EXPECT_EQ(FProfinetFileName->Caption(), "Nome del file XML");
    EXPECT_EQ(FProfinetFileName->Btn_OK->Caption(), "Conferma");
}
