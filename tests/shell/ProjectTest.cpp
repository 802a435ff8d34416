// Project state: program folders, plain names, creating and listing projects, reopening the
// last one.
#include "ShellFixture.h"

class ProjectTest : public ShellFolderTest {};

TEST_F(ProjectTest, ProgramFoldersAreMadeUnderTheProgramFolder) {
    for (const char* d : {"MASTER", "PROJECTS", "LANGUAGE"}) EXPECT_TRUE(QDir(In(d)).exists()) << d;
    EXPECT_EQ(NativePath(Path_Program), FDir.path());
    EXPECT_EQ(NativePath(Path_Projects), In("PROJECTS"));
    EXPECT_EQ(NativePath(Path_Language), In("LANGUAGE"));
    EXPECT_EQ(NativePath(Path_Master), In("MASTER"));
}

TEST(PlainName, AcceptsFolderNamesAndRefusesPaths) {
    const struct {
        QString Name;
        bool Plain;
    } cases[] = {
        {"Plant1", true},
        {"Plant 1", true},
        {"a.b", true},
        {QString::fromUtf8("Stazione è"), true},
        {"con-1", true},
        {"COM10", true},
        {"", false},
        {".", false},
        {"..", false},
        {"../x", false},
        {"..\\x", false},
        {"a/b", false},
        {"a\\b", false},
        {" a", false},
        {"a ", false},
        {".a", false},
        {"a.", false},
        {"a:b", false},
        {"a*b", false},
        {"a?b", false},
        {"a\"b", false},
        {"a<b", false},
        {"a>b", false},
        {"a|b", false},
        {QString("a") + QChar(9) + "b", false},
        {QString("a") + QChar(0) + "b", false},
        {"CON", false},
        {"nul.txt", false},
        {"Com1", false},
        {"LPT9", false},
        {QString(256, 'x'), false},
        {QString(255, 'x'), true},
    };
    for (const auto& c : cases) EXPECT_EQ(Is_Plain_Name(c.Name), c.Plain) << c.Name.toStdString();
}

TEST_F(ProjectTest, NewProjectCreatesItsFolderAndOpensIt) {
    ASSERT_EQ(Create_New_Project("Plant1"), nprCreated);
    EXPECT_TRUE(QDir(In("PROJECTS/Plant1/bin")).exists());
    EXPECT_EQ(Name_Project, "Plant1");
    EXPECT_EQ(NativePath(Path_Project), In("PROJECTS/Plant1"));
    EXPECT_EQ(NativePath(File_ParGen), In("PROJECTS/Plant1/ParGen.xml"));
    EXPECT_EQ(NativePath(File_MQTT_Set_Topic), In("PROJECTS/Plant1/MQTT_Set_Topic.xml"));
}

TEST_F(ProjectTest, NewProjectRefusalsCreateNothingAndKeepTheOpenProject) {
    ASSERT_EQ(Create_New_Project("Open"), nprCreated);
    Write("PROJECTS/afile", "x");
    const QStringList before = Tree();
    const struct {
        QString Name;
        TNew_Project_Result Result;
    } cases[] = {
        {"", nprEmptyName},        {"Open", nprExists},
        {"OPEN", nprExists},       {"open", nprExists},
        {"../x", nprRefused},      {"..\\x", nprRefused},
        {"a/b", nprRefused},       {"Open/sub", nprRefused},
        {"Open\\sub", nprRefused}, {".", nprRefused},
        {"..", nprRefused},        {" x", nprRefused},
        {"x ", nprRefused},        {"x.", nprRefused},
        {"a:b", nprRefused},       {QString("a") + QChar(10) + "b", nprRefused},
        {"/tmp/abs", nprRefused},  {"afile", nprRefused},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Create_New_Project(c.Name), c.Result) << c.Name.toStdString();
        EXPECT_EQ(Name_Project, "Open") << c.Name.toStdString();
        EXPECT_EQ(NativePath(Path_Project), In("PROJECTS/Open"));
    }
    EXPECT_EQ(Tree(), before);
    EXPECT_FALSE(QDir(FDir.path() + "/../x").exists());
    const int message[] = {New_Project_Message(nprEmptyName), New_Project_Message(nprExists),
                           New_Project_Message(nprRefused)};
    EXPECT_EQ(message[0], 107);
    EXPECT_EQ(message[1], 106);
    EXPECT_EQ(message[2], 105);
}

TEST_F(ProjectTest, ListingShowsVisibleProjectFoldersSorted) {
    for (const char* d : {"beta", "Alpha", "gamma", ".hidden"}) QDir().mkpath(In(QString("PROJECTS/") + d));
    Write("PROJECTS/file.xml", "x");
    QDir().mkpath(In("PROJECTS/bad\\name"));
    const QStringList list = Existing_Projects();
    EXPECT_EQ(list, QStringList({"Alpha", "beta", "gamma"}));
    EXPECT_EQ(Search_Open_Conf(list, "BETA"), 1);
    EXPECT_EQ(Search_Open_Conf(list, "alpha"), 0);
    EXPECT_EQ(Search_Open_Conf(list, "delta"), -1);
    EXPECT_EQ(Search_Open_Conf(list, ""), -1);
}

TEST_F(ProjectTest, ReopenLastProjectNeedsItsFolder) {
    QDir().mkpath(In("PROJECTS/Plant1"));
    const struct {
        QString Name;
        bool Open;
    } cases[] = {{"Plant1", true}, {"Vanished", false}, {"", false}, {"../PROJECTS/Plant1", false}};
    for (const auto& c : cases) {
        Name_Project = c.Name;
        Path_Project = "stale";
        Reopen_Last_Project();
        EXPECT_EQ(!Path_Project.isEmpty(), c.Open) << c.Name.toStdString();
        EXPECT_EQ(Name_Project, c.Name); // kept for the settings file either way
    }
}

TEST_F(ProjectTest, OpenProjectNamed) {
    Open_Project_Named("Plant1");
    EXPECT_EQ(NativePath(Path_Project), In("PROJECTS/Plant1"));
    EXPECT_EQ(NativePath(File_IEC_61850_Client), In("PROJECTS/Plant1/IEC_61850_Client.xml"));
    Open_Project_Named("");
    EXPECT_TRUE(Path_Project.isEmpty());
    EXPECT_TRUE(Name_Project.isEmpty());
}
