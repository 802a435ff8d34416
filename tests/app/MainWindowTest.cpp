// The main window: start-up, the step layout, refused steps, the project labels, closing and
// the links.
#include "USettings.h"
#include "UVersion.h"
#include "WindowFixture.h"
#include "XmlDoc.h"

#include <QImage>
#include <QWidget>

class MainWindowTest : public WindowsTest {};

TEST_F(MainWindowTest, StartInAnEmptyProgramFolder) {
    for (const char* d : {"MASTER", "PROJECTS", "LANGUAGE"}) QDir(In(d)).removeRecursively();
    Start();
    for (const char* d : {"MASTER", "PROJECTS", "LANGUAGE"}) EXPECT_TRUE(QDir(In(d)).exists()) << d;
    TFVelmoraeFirmWare* m = Main();
    EXPECT_EQ(m->Caption(), "Ostrel - Configurator CF40210 - ZED61850 Urerod / PROFIBUS Slave ");
    EXPECT_EQ(m->L_SW_Code->Caption(), "CF40210");
    EXPECT_EQ(m->L_SW_Desc->Caption(), "ZED61850 Urerod / PROFIBUS Slave - Converter");
    EXPECT_EQ(m->L_Name_Conf->Caption(), "None Configuration Opened ");
    EXPECT_EQ(m->L_Name_Conf_L2->Caption(), "Use Step1 to open or create new configuration");
    EXPECT_TRUE(Path_Project.isEmpty());
    EXPECT_EQ(m->ClientWidth(), 694);
    EXPECT_EQ(m->ClientHeight(), 440);
    EXPECT_FALSE(m->Timer_Update->Enabled());

    // Five step labels and six step buttons, where the layout puts them.
    for (int n = 1; n <= 8; ++n) {
        EXPECT_EQ(m->L_Step[n - 1]->Visible(), n <= 5) << n;
        if (n <= 5) {
            EXPECT_EQ(m->L_Step[n - 1]->Left(), 16);
            EXPECT_EQ(m->L_Step[n - 1]->Top(), 128 + 44 * (n - 1));
            EXPECT_EQ(m->L_Step[n - 1]->Caption(), QStringLiteral("Step %1").arg(n));
        }
    }
    const struct {
        TLbButton* Button;
        int Left, Top;
        const char* Caption;
    } shown[] = {
        {m->Btn_New, 80, 112, "New Configuration"},     {m->Btn_Open, 258, 112, "Open Configuration"},
        {m->Btn_Prm_Gen, 80, 156, "Set Communication"}, {m->Btn_IEC61850_Client, 80, 200, "IEC61850 Access"},
        {m->Btn_PROFIBUS_GSD, 80, 244, "PROFIBUS GSD"}, {m->Btn_CreateBin, 80, 288, "Update Device UDP"},
    };
    int visible = 0;
    for (TLbButton* b : m->Step_Buttons()) visible += b->Visible() ? 1 : 0;
    EXPECT_EQ(visible, 6);
    for (const auto& s : shown) {
        EXPECT_TRUE(s.Button->Visible()) << s.Caption;
        EXPECT_EQ(s.Button->BoundsRect(), Bounds(s.Left, s.Top, 170, 36)) << s.Caption;
        EXPECT_EQ(s.Button->Caption(), s.Caption);
    }
    // Every step button has the same look: left-aligned dark grey text on the window colour, an
    // orange face when pressed and a yellow one under the pointer (sky blue on the new, open and
    // update steps); only the general parameters' button keeps the default style.
    for (TLbButton* b : m->Step_Buttons()) {
        const std::string name = b->Name().toStdString();
        EXPECT_EQ(b->Style(), b == m->Btn_Prm_Gen ? bsNormal : bsEncarta) << name;
        EXPECT_EQ(b->Color(), TColor(15595512)) << name;
        EXPECT_EQ(b->ColorWhenDown(), TColor(33023)) << name;
        const bool sky = b == m->Btn_New || b == m->Btn_Open || b == m->Btn_CreateBin;
        EXPECT_EQ(b->HotTrackColor(), sky ? clSkyBlue : clYellow) << name;
        EXPECT_EQ(b->Font()->Color(), TColor(3355443)) << name;
        EXPECT_EQ(b->Alignment(), taLeftJustify) << name;
    }
    EXPECT_EQ(m->Shape1->BoundsRect(), Bounds(10, 339, 674, 1));
    EXPECT_EQ(m->L_Ostrel->Left(), 565);
    EXPECT_EQ(m->L_Ostrel->Top(), 304);
    EXPECT_EQ(m->Btn_Info->Hint(), "Information");
    EXPECT_EQ(m->Btn_Close->BoundsRect(), Bounds(632, 8, 50, 50));
}

TEST_F(MainWindowTest, StepsNeedAnOpenProject) {
    Start();
    TFVelmoraeFirmWare* m = Main();
    // The visible steps are clicked; the hidden ones (a hidden button does not click) go through
    // the same dispatch.
    for (TLbButton* b :
         {m->Btn_Prm_Gen, m->Btn_IEC61850_Client, m->Btn_PROFIBUS_GSD, m->Btn_CreateBin,
          m->Btn_BACnet_EDE_File, m->Btn_SNMP_MIB, m->Btn_MQTT_Set_Topic, m->Btn_CANopen_EDS}) {
        Messages.clear();
        if (b->Visible())
            b->Click();
        else
            m->Btn_Click(b);
        ASSERT_EQ(Messages.size(), 1u) << b->Name().toStdString();
        EXPECT_EQ(Messages[0].Msg, "Error! Project not Valid");
        EXPECT_EQ(Messages[0].DlgType, mtError);
        EXPECT_EQ(Messages[0].Buttons, TMsgDlgButtons({mbOK}));
    }
    EXPECT_FALSE(QDir(In("PROJECTS")).entryList(QDir::AllEntries | QDir::NoDotAndDotDot).size());

    // The steps that need no project open their windows instead.
    Messages.clear();
    ClickThen(m->Btn_Info, [] { FAbout->SetModalResult(mrOk); });
    ClickThen(m->Btn_New, [] { FNew_Project->Btn_Cancel->Click(); });
    ClickThen(m->Btn_Open, [] { FOpenConf->Btn_Cancel->Click(); });
    ClickThen(m->Btn_Opz, [] { FSoftOptions->Btn_Cancel->Click(); });
    EXPECT_TRUE(Messages.empty());
    EXPECT_FALSE(FAbout->Visible());
}

TEST_F(MainWindowTest, ProjectStepsOpenTheirWindows) {
    Start();
    ASSERT_EQ(::Create_New_Project("Plant1"), nprCreated);
    // The update step writes both images before the device-update window shows, every time.
    for (int round = 0; round < 2; ++round) {
        QFile::remove(In("PROJECTS/Plant1/bin/bank1.bin"));
        bool shown = false;
        ClickThen(Main()->Btn_CreateBin, [&] {
            shown = FBoot->Visible();
            EXPECT_EQ(FBoot->Form_Type, 1);
            EXPECT_EQ(QFileInfo(In("PROJECTS/Plant1/bin/bank1.bin")).size(), 2048);
            EXPECT_TRUE(QFileInfo(In("PROJECTS/Plant1/bin/bank2.bin")).exists());
            FBoot->Btn_Cancel->Click();
        });
        EXPECT_TRUE(shown);
    }
    bool parGen = false;
    ClickThen(Main()->Btn_Prm_Gen, [&] {
        parGen = FParGen->Visible();
        FParGen->Btn_Cancel->Click();
    });
    EXPECT_TRUE(parGen);
    EXPECT_TRUE(Messages.empty()) << Shown().join("|").toStdString();
}

TEST_F(MainWindowTest, GsdStepNeedsTheGeneralParametersThenWritesTheChosenFile) {
    Start();
    ASSERT_EQ(::Create_New_Project("Plant1"), nprCreated);
    Main()->Btn_PROFIBUS_GSD->Click();
    ASSERT_EQ(Messages.size(), 1u);
    EXPECT_EQ(Messages[0].Msg, Lang_Text.Get(1104));

    // With the general parameters saved, the step asks where to write and writes there.
    ClickThen(Main()->Btn_Prm_Gen, [] { FParGen->Btn_OK->Click(); });
    ASSERT_TRUE(QFileInfo(In("PROJECTS/Plant1/ParGen.xml")).exists());
    Messages.clear();
    const QString target = In("PROJECTS/Plant1/device");
    TComponent* owner = nullptr;
    TFileDialogHook old = SetFileDialogHook([&](TOpenDialog* Dialog, bool Save) {
        EXPECT_TRUE(Save);
        owner = Dialog->Owner();
        Dialog->FileName = target;
        return true;
    });
    // The main window is the application's main form, as the main block creates it first.
    TCustomForm* savedMain = Application->MainForm();
    Application->SetMainForm(Main());
    Main()->Btn_PROFIBUS_GSD->Click();
    Application->SetMainForm(savedMain);
    SetFileDialogHook(old);
    EXPECT_EQ(owner, Main());
    EXPECT_TRUE(Messages.empty()) << Shown().join("|").toStdString();
    QFile gsd(target + ".gsd");
    ASSERT_TRUE(gsd.open(QIODevice::ReadOnly));
    EXPECT_TRUE(gsd.readAll().contains("\r\n#Profibus_DP\r\n"));
}

TEST_F(MainWindowTest, ReopensTheLastProjectWhenItsFolderExists) {
    const struct {
        const char* Name;
        bool Folder;
        const char* Line1;
        const char* Line2;
    } cases[] = {
        {"Plant1", true, "Opened Configuration of the Converter : ", "Plant1"},
        {"Vanished", false, "None Configuration Opened ", "Use Step1 to open or create new configuration"},
    };
    for (const auto& c : cases) {
        QDir(In("PROJECTS")).removeRecursively();
        QDir().mkpath(In("PROJECTS"));
        if (c.Folder) QDir().mkpath(In(QString("PROJECTS/") + c.Name));
        Write("Velmora.xml", QByteArray("<Conf_Settings><lastproj><projectname>") + c.Name +
                                 "</projectname></lastproj></Conf_Settings>");
        Start();
        EXPECT_EQ(Main()->L_Name_Conf->Caption(), c.Line1) << c.Name;
        EXPECT_EQ(Main()->L_Name_Conf_L2->Caption(), c.Line2) << c.Name;
        EXPECT_EQ(Path_Project.isEmpty(), !c.Folder);
        // Closing writes the settings, with the name read at start even when its folder is gone.
        Main()->Close();
        EXPECT_TRUE(Read("Velmora.xml").contains(QByteArray("<projectname>") + c.Name + "</projectname>"))
            << c.Name;
        TearDown();
        SetUp();
    }
}

TEST_F(MainWindowTest, CloseWritesTheSettingsAndTheTimerFollowsTheFlags) {
    Write("Velmora.xml", "<Conf_Settings><lastipadd><ipaddress>10.1.1.1</ipaddress></lastipadd>"
                         "<lastinternet><enable_internet>1</enable_internet><enable_update>1</enable_update>"
                         "</lastinternet></Conf_Settings>");
    Start();
    EXPECT_TRUE(Main()->Timer_Update->Enabled());
    EXPECT_EQ(Main()->Timer_Update->Interval(), 60000u);
    Last_IP_Address = "10.2.2.2";
    ClickThen(Main()->Btn_Close);
    const QByteArray saved = Read("Velmora.xml");
    EXPECT_TRUE(saved.contains("<ipaddress>10.2.2.2</ipaddress>"));
    EXPECT_TRUE(saved.contains("<enable_update>1</enable_update>"));
    EXPECT_TRUE(saved.contains("<language>English</language>"));
}

TEST_F(MainWindowTest, LinksOpenTheMakersPages) {
    Start();
    Main()->L_OstrelClick(Main()->L_Ostrel);
    ASSERT_EQ(Opened.size(), 1);
    EXPECT_EQ(Opened[0], Home_Page_URL());
    EXPECT_TRUE(Opened[0].endsWith("/HOME/default.asp?frompg=CF40210"));
}

TEST_F(MainWindowTest, AboutBoxShowsTheFixedTexts) {
    Start();
    ClickThen(Main()->Btn_Info, [] {
        EXPECT_EQ(FAbout->Label2->Caption(), "ZED61850 Urerod / PROFIBUS Slave - Converter");
        EXPECT_EQ(FAbout->Label9->Caption(), "CF40210");
        EXPECT_EQ(FAbout->Label10->Caption(), "1.000");
        EXPECT_EQ(FAbout->Label12->Caption(), "UM40210");
        EXPECT_EQ(FAbout->ClientWidth(), 425);
        EXPECT_EQ(FAbout->ClientHeight(), 148);
        FAbout->Label4Click(FAbout->Label4);
        FAbout->LbButton1->Click();
    });
    EXPECT_EQ(Opened, QStringList({Home_Page_URL()}));
    EXPECT_FALSE(FAbout->Visible());
}

// The main window's picture: the background, the frame round the project lines and the rule under
// the steps where the layout puts them. With VELMORA_SCREENSHOT_DIR set, the picture is saved
// there as main_window.png.
TEST_F(MainWindowTest, Picture) {
    Start();
    Main()->Show();
    const QImage img = Main()->Widget()->grab().toImage().convertToFormat(QImage::Format_RGB32);
    if (const QByteArray dir = qgetenv("VELMORA_SCREENSHOT_DIR"); !dir.isEmpty())
        img.save(QString::fromLocal8Bit(dir) + "/main_window.png");
    ASSERT_EQ(img.size(), QSize(694, 440));
    const QRgb window = qRgb(248, 247, 237), silver = qRgb(192, 192, 192);
    EXPECT_EQ(img.pixel(300, 420), window);
    EXPECT_EQ(img.pixel(300, 339), silver); // the rule under the last step
    EXPECT_EQ(img.pixel(9, 339), window);
    EXPECT_EQ(img.pixel(200, 70), silver);  // the frame's top edge
    EXPECT_EQ(img.pixel(427, 90), silver);  // and its right edge
    EXPECT_EQ(img.pixel(500, 130), window); // no second button in step 2
}

// The EDE file name keeps a ".csv" ending in any case and gets ".csv" after the whole name
// otherwise; an existing file of that name is asked about (Yes, No, Cancel).
TEST_F(MainWindowTest, EdeFileNameAndOverwriteQuestion) {
    Start();
    ASSERT_EQ(::Create_New_Project("Plant1"), nprCreated);
    const struct {
        const char* Chosen;
        const char* Existing;
        bool Asked;
    } cases[] = {
        {"a.csv", "a.csv", true}, {"b.CsV", "b.CsV", true},  {"c.txt", "c.txt.csv", true},
        {"d", "d.csv", true},     {"e.txt", "e.txt", false}, {"f.csv", "f.csv.csv", false},
        {"csv", "csv.csv", true},
    };
    for (const auto& c : cases) {
        Write(QString("PROJECTS/Plant1/") + c.Existing, "x");
        const String chosen = Path_Project + "\\" + c.Chosen;
        TFileDialogHook old = SetFileDialogHook([&](TOpenDialog* Dialog, bool Save) {
            EXPECT_TRUE(Save);
            EXPECT_EQ(Dialog->InitialDir, Path_Project);
            Dialog->FileName = chosen;
            return true;
        });
        Messages.clear();
        Main()->Btn_Click(Main()->Btn_BACnet_EDE_File);
        SetFileDialogHook(old);
        ASSERT_EQ(Messages.size(), c.Asked ? 1u : 0u) << c.Chosen;
        if (c.Asked) {
            EXPECT_EQ(Messages[0].Msg, "File already exists. Do you want to overwrite?");
            EXPECT_EQ(Messages[0].Buttons, mbYesNoCancel);
        }
    }
}

TEST_F(MainWindowTest, BacnetTypeOfTheProject) {
    Start();
    ASSERT_EQ(::Create_New_Project("Plant1"), nprCreated);
    const struct {
        const char* Content; // nullptr: no file
        int Type;
    } cases[] = {
        {nullptr, 0},
        {"<Par_Gen><Other>3</Other></Par_Gen>", 0},
        {"<Par_Gen><BACnet_Type>7</BACnet_Type></Par_Gen>", 7},
        {"<Anything><BACnet_Type>$10</BACnet_Type></Anything>", 16},
        {"<Par_Gen><BACnet_Type>seven</BACnet_Type></Par_Gen>", 0},
        {"<Par_Gen><BACnet_Type><x>7</x></BACnet_Type></Par_Gen>", 0},
        {"<Par_Gen><BACnet_Type>", 0},
    };
    for (const auto& c : cases) {
        QFile::remove(In("PROJECTS/Plant1/ParGen.xml"));
        if (c.Content) Write("PROJECTS/Plant1/ParGen.xml", c.Content);
        EXPECT_EQ(Main()->Get_Type_BACnet(), c.Type) << (c.Content ? c.Content : "no file");
    }
}
