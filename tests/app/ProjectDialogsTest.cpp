// The new-project and open-project dialogs, driven from the main window's first step.
#include "WindowFixture.h"

class ProjectDialogsTest : public WindowsTest {};

TEST_F(ProjectDialogsTest, NewProjectByTyping) {
    Start();
    ClickThen(Main()->Btn_New, [] {
        EXPECT_TRUE(FNew_Project->E_New_Proj->Focused());
        SimulateText(FNew_Project->E_New_Proj, "Plant 7");
        SimulateKey(FNew_Project->E_New_Proj, VK_RETURN); // Enter confirms
    });
    EXPECT_TRUE(Messages.empty());
    EXPECT_FALSE(FNew_Project->Visible());
    EXPECT_EQ(Name_Project, "Plant 7");
    EXPECT_TRUE(QDir(In("PROJECTS/Plant 7/bin")).exists());
    EXPECT_EQ(Main()->L_Name_Conf->Caption(), "Opened Configuration of the Converter : ");
    EXPECT_EQ(Main()->L_Name_Conf_L2->Caption(), "Plant 7");
    EXPECT_EQ(NativePath(File_ParGen), In("PROJECTS/Plant 7/ParGen.xml"));
    // The next show starts with an empty name.
    ClickThen(Main()->Btn_New, [] {
        EXPECT_EQ(FNew_Project->E_New_Proj->Text(), "");
        FNew_Project->Btn_Cancel->Click();
    });
    EXPECT_EQ(Name_Project, "Plant 7");
}

TEST_F(ProjectDialogsTest, RefusedNamesKeepTheDialogOpen) {
    QDir().mkpath(In("PROJECTS/Existing"));
    Start();
    const struct {
        const char* Name;
        const char* Message;
    } cases[] = {
        {"", "Error! Name Project is not valid"},
        {"Existing", "Error! Name project is not valid because directory already exists"},
        {"EXISTING", "Error! Name project is not valid because directory already exists"},
        {"../escape", "Error! Name project is not valid"},
        {"a\\b", "Error! Name project is not valid"},
        {"trailing ", "Error! Name project is not valid"},
    };
    const QStringList before = Tree();
    ClickThen(Main()->Btn_New, [&] {
        for (const auto& c : cases) {
            Messages.clear();
            FNew_Project->E_New_Proj->SetText(c.Name);
            FNew_Project->Btn_OK->Click();
            ASSERT_EQ(Messages.size(), 1u) << c.Name;
            EXPECT_EQ(Messages[0].Msg, c.Message) << c.Name;
            EXPECT_EQ(Messages[0].DlgType, mtError);
            EXPECT_TRUE(FNew_Project->Visible()) << c.Name;
        }
        FNew_Project->Btn_Cancel->Click();
    });
    EXPECT_EQ(Tree(), before);
    EXPECT_TRUE(Path_Project.isEmpty());
    EXPECT_EQ(Main()->L_Name_Conf_L2->Caption(), "Use Step1 to open or create new configuration");
}

TEST_F(ProjectDialogsTest, OpenDialogPreselectsTheOpenProject) {
    for (const char* d : {"Alpha", "beta", "Gamma"}) QDir().mkpath(In(QString("PROJECTS/") + d));
    Start();
    const struct {
        const char* Open; // the open project's folder name as Path_Project names it ("" none)
        int Selected;
    } cases[] = {{"beta", 1}, {"BETA", 1}, {"Gamma", 2}, {"Deleted", 0}, {"", 0}};
    for (const auto& c : cases) {
        Path_Project = *c.Open ? Path_Projects + "\\" + c.Open : String();
        ClickThen(Main()->Btn_Open, [&] {
            EXPECT_EQ(FOpenConf->ListBox1->Count(), 3);
            EXPECT_EQ(FOpenConf->ListBox1->ItemIndex(), c.Selected) << c.Open;
            EXPECT_EQ(FOpenConf->Name_Conf, FOpenConf->SL[c.Selected]);
            FOpenConf->Btn_Cancel->Click();
        });
    }
    // Choosing another entry and OK opens it.
    Path_Project.clear();
    ClickThen(Main()->Btn_Open, [] {
        FOpenConf->ListBox1->SetFocus();
        SimulateKey(FOpenConf->ListBox1, VK_DOWN);
        FOpenConf->Btn_OK->Click();
    });
    EXPECT_EQ(Name_Project, "beta");
    EXPECT_EQ(NativePath(Path_Project), In("PROJECTS/beta"));
    EXPECT_EQ(Main()->L_Name_Conf_L2->Caption(), "beta");
}

TEST_F(ProjectDialogsTest, OpenDialogOnAnEmptyFolderLeavesNoProject) {
    QDir().mkpath(In("PROJECTS/Old"));
    Start();
    Open_Project_Named("Old");
    QDir(In("PROJECTS/Old")).removeRecursively();
    ClickThen(Main()->Btn_Open, [] {
        EXPECT_EQ(FOpenConf->ListBox1->Count(), 0);
        FOpenConf->Btn_OK->Click();
    });
    EXPECT_TRUE(Path_Project.isEmpty());
    EXPECT_EQ(Main()->L_Name_Conf->Caption(), "None Configuration Opened ");
    Main()->Btn_Prm_Gen->Click();
    EXPECT_EQ(Shown(), QStringList({"Error! Project not Valid"}));
}
