// The general-parameters window: ParGen.xml read key by key with defaults, the exact file OK
// writes, the validation order and messages, damaged and unwritable files, the "." key in the
// octet fields, the wheel, the texts, and the layout of every converter's panels.
#include "ShellFixture.h"
#include "TestSupport.h"

#include "Dialogs.h"
#include "UParGen.h"

#include <QTemporaryDir>

namespace {

class ParGenTest : public ShellFolderTest {
protected:
    void SetUp() override {
        ShellFolderTest::SetUp();
        Code_SW = QStringLiteral("CF40210");
        ASSERT_EQ(Create_New_Project(QStringLiteral("Plant")), nprCreated);
        FPrevHook = SetMessageDlgHook([this](const TMessageDlgRequest& R) {
            Messages.push_back(R);
            return int(mrOk);
        });
        F = new TFParGen(nullptr);
    }
    void TearDown() override {
        TObject::Free(F);
        SetMessageDlgHook(FPrevHook);
        ShellFolderTest::TearDown();
    }

    String ParGenFile() const { return In("PROJECTS/Plant/ParGen.xml"); }
    void WriteParGen(const QByteArray& Bytes) const { Write("PROJECTS/Plant/ParGen.xml", Bytes); }
    QByteArray ReadParGen() const { return Read("PROJECTS/Plant/ParGen.xml"); }

    // A ParGen.xml holding every key with the value its default has, but with the given
    // elements replaced (an empty value leaves the element out).
    static QByteArray FileWith(const std::map<QString, QString>& Changes, const QByteArray& Before = {}) {
        QByteArray xml = Before + "<Par_Gen>";
        for (const TParGenKey& k : ParGen_Keys) {
            const QString name = QString::fromLatin1(k.Element);
            auto it = Changes.find(name);
            if (it == Changes.end()) {
                xml += "<" + name.toUtf8() + ">" + QByteArray(k.Default) + "</" + name.toUtf8() + ">";
            } else if (!it->second.isNull()) {
                xml += "<" + name.toUtf8() + ">" + it->second.toUtf8() + "</" + name.toUtf8() + ">";
            }
        }
        return xml + "</Par_Gen><!--SW_VERSION = 1.000-->";
    }

    std::vector<String> MessageTexts() const {
        std::vector<String> texts;
        for (const auto& m : Messages) texts.push_back(m.Msg);
        return texts;
    }

    TFParGen* F = nullptr;
    std::vector<TMessageDlgRequest> Messages;
    TMessageDlgHook FPrevHook;
};

// ---------------------------------------------------------------------------------------------
// Defaults and the file OK writes

TEST_F(ParGenTest, ANewProjectShowsTheDefaultsAndOKWritesExactlyThem) {
    ASSERT_FALSE(QFile::exists(ParGenFile()));
    F->FormShow(F);
    EXPECT_EQ(F->E_IEC61850_Client_IP1->Text(), "192");
    EXPECT_EQ(F->E_IEC61850_Client_IP4->Text(), "10");
    EXPECT_EQ(F->E_IEC61850_Client_SM3->Text(), "255");
    EXPECT_EQ(F->E_IEC61850_Client_SM4->Text(), "0");
    EXPECT_EQ(F->E_IEC61850_Client_GAT4->Text(), "1");
    EXPECT_FALSE(F->CB_IEC61850_Client_En_GAT->Checked());
    EXPECT_EQ(F->E_IEC61850_Client_VLAN->Text(), "0");
    EXPECT_EQ(F->E_IEC61850_Client_AppID->Text(), "0");
    EXPECT_EQ(F->E_PROFIBUS_IDDevice->Text(), "10");
    EXPECT_EQ(F->E_PROFIBUS_NByte_In->Text(), "244");
    EXPECT_EQ(F->E_PROFIBUS_NByte_Out->Text(), "244");

    F->Btn_OKClick(F->Btn_OK);
    EXPECT_EQ(F->ModalResult(), mrOk);
    EXPECT_TRUE(Messages.empty());
    const QByteArray expected = "<Par_Gen>\n"
                                "\t<IEC61850_Client_IP1>192</IEC61850_Client_IP1>\n"
                                "\t<IEC61850_Client_IP2>168</IEC61850_Client_IP2>\n"
                                "\t<IEC61850_Client_IP3>0</IEC61850_Client_IP3>\n"
                                "\t<IEC61850_Client_IP4>10</IEC61850_Client_IP4>\n"
                                "\t<IEC61850_Client_SM1>255</IEC61850_Client_SM1>\n"
                                "\t<IEC61850_Client_SM2>255</IEC61850_Client_SM2>\n"
                                "\t<IEC61850_Client_SM3>255</IEC61850_Client_SM3>\n"
                                "\t<IEC61850_Client_SM4>0</IEC61850_Client_SM4>\n"
                                "\t<IEC61850_Client_GAT1>192</IEC61850_Client_GAT1>\n"
                                "\t<IEC61850_Client_GAT2>168</IEC61850_Client_GAT2>\n"
                                "\t<IEC61850_Client_GAT3>0</IEC61850_Client_GAT3>\n"
                                "\t<IEC61850_Client_GAT4>1</IEC61850_Client_GAT4>\n"
                                "\t<IEC61850_Client_En_GAT>0</IEC61850_Client_En_GAT>\n"
                                "\t<IEC61850_Client_VLAN>0</IEC61850_Client_VLAN>\n"
                                "\t<IEC61850_Client_Application_ID>0</IEC61850_Client_Application_ID>\n"
                                "\t<NTP_Server_URL></NTP_Server_URL>\n"
                                "\t<NTP_Poll_Time></NTP_Poll_Time>\n"
                                "\t<PROFIBUS_ID_Device>10</PROFIBUS_ID_Device>\n"
                                "\t<PROFINET_NB_IN>244</PROFINET_NB_IN>\n"
                                "\t<PROFINET_NB_OUT>244</PROFINET_NB_OUT>\n"
                                "</Par_Gen>\n"
                                "<!--SW_VERSION = 1.000-->\n";
    EXPECT_EQ(ReadParGen().toStdString(), expected.toStdString());
}

TEST_F(ParGenTest, ValuesAreStoredAsTypedAndReadBack) {
    F->FormShow(F);
    F->E_IEC61850_Client_IP1->SetText("$C0");
    F->E_IEC61850_Client_IP2->SetText("0xA8");
    F->CB_IEC61850_Client_En_GAT->SetChecked(true);
    F->E_IEC61850_Client_VLAN->SetText("12");
    F->E_IEC61850_Client_AppID->SetText("Cell <7> & co");
    F->Btn_OKClick(F->Btn_OK);
    ASSERT_EQ(F->ModalResult(), mrOk);
    const QByteArray file = ReadParGen();
    EXPECT_TRUE(file.contains("<IEC61850_Client_IP1>$C0</IEC61850_Client_IP1>"));
    EXPECT_TRUE(file.contains("<IEC61850_Client_IP2>0xA8</IEC61850_Client_IP2>"));
    EXPECT_TRUE(file.contains("<IEC61850_Client_En_GAT>1</IEC61850_Client_En_GAT>"));

    auto* again = new TFParGen(nullptr);
    auto freeAgain = FreeAtEnd(again);
    again->FormShow(again);
    EXPECT_EQ(again->E_IEC61850_Client_IP1->Text(), "$C0");
    EXPECT_EQ(again->E_IEC61850_Client_IP2->Text(), "0xA8");
    EXPECT_TRUE(again->CB_IEC61850_Client_En_GAT->Checked());
    EXPECT_EQ(again->E_IEC61850_Client_AppID->Text(), "Cell <7> & co");
}

// ---------------------------------------------------------------------------------------------
// Loading

TEST_F(ParGenTest, MissingEmptyAndOddKeysLoadOneByOne) {
    struct Case {
        const char* Name;
        QByteArray File;
        const char* SM4;
        const char* VLAN;
        const char* ID;
        bool Gateway;
    };
    const QString missing; // a null value leaves the element out
    const Case cases[] = {
        {"all stored", FileWith({{"IEC61850_Client_SM4", "128"}, {"IEC61850_Client_En_GAT", "1"}}), "128",
         "0", "10", true},
        {"SM4 missing", FileWith({{"IEC61850_Client_SM4", missing}, {"IEC61850_Client_VLAN", "7"}}), "0", "7",
         "10", false},
        {"empty element", FileWith({{"PROFIBUS_ID_Device", ""}}), "0", "0", "", false},
        {"flag 01", FileWith({{"IEC61850_Client_En_GAT", "01"}}), "0", "0", "10", false},
        {"flag true", FileWith({{"IEC61850_Client_En_GAT", "true"}}), "0", "0", "10", false},
        {"flag blank 1", FileWith({{"IEC61850_Client_En_GAT", " 1"}}), "0", "0", "10", false},
        {"comment and declaration first",
         FileWith({{"IEC61850_Client_SM4", "252"}, {"IEC61850_Client_En_GAT", "1"}},
                  "<?xml version=\"1.0\"?>\n<!--SW_VERSION = 1.000-->\n"),
         "252", "0", "10", true},
        {"root of another name", "<Other><IEC61850_Client_SM4>4</IEC61850_Client_SM4></Other>", "4", "0",
         "10", false},
        {"root without children", "<Par_Gen/>", "0", "0", "10", false},
        {"element with children",
         "<Par_Gen><PROFIBUS_ID_Device><x>5</x></PROFIBUS_ID_Device><IEC61850_Client_SM4>9</"
         "IEC61850_Client_SM4>"
         "<IEC61850_Client_SM4>8</IEC61850_Client_SM4></Par_Gen>",
         "9", "0", "", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        WriteParGen(c.File);
        // Whatever was typed before is replaced at each show.
        F->E_IEC61850_Client_SM4->SetText("junk");
        F->CB_IEC61850_Client_En_GAT->SetChecked(!c.Gateway);
        F->FormShow(F);
        EXPECT_EQ(F->E_IEC61850_Client_SM4->Text(), c.SM4);
        EXPECT_EQ(F->E_IEC61850_Client_VLAN->Text(), c.VLAN);
        EXPECT_EQ(F->E_PROFIBUS_IDDevice->Text(), c.ID);
        EXPECT_EQ(F->CB_IEC61850_Client_En_GAT->Checked(), c.Gateway);
        EXPECT_EQ(F->E_IEC61850_Client_IP1->Text(), "192");
    }
    EXPECT_TRUE(Messages.empty());
}

TEST_F(ParGenTest, ADamagedFileGivesTheDefaultsAMessageAndStaysUntilOK) {
    const QByteArray damaged = "<Par_Gen><IEC61850_Client_IP1>10</IEC61850_Client_IP1><IEC61850";
    WriteParGen(damaged);
    F->E_IEC61850_Client_IP1->SetText("77");
    F->FormShow(F);
    ASSERT_EQ(Messages.size(), 1u);
    EXPECT_EQ(Messages[0].DlgType, mtError);
    EXPECT_TRUE(Messages[0].Msg.startsWith(Lang_Text[956]));
    EXPECT_TRUE(Messages[0].Msg.contains(File_ParGen));
    EXPECT_EQ(F->E_IEC61850_Client_IP1->Text(), "192");
    EXPECT_EQ(F->E_PROFIBUS_NByte_Out->Text(), "244");
    EXPECT_EQ(ReadParGen(), damaged);

    // Cancel keeps it; OK replaces it with a sound file.
    F->Btn_OKClick(F->Btn_OK);
    EXPECT_EQ(F->ModalResult(), mrOk);
    EXPECT_TRUE(ReadParGen().startsWith("<Par_Gen>\n\t<IEC61850_Client_IP1>192</IEC61850_Client_IP1>"));
}

TEST_F(ParGenTest, AFileThatCannotBeWrittenIsReportedAndTheWindowStaysOpen) {
    // The project folder was removed behind the window's back.
    F->FormShow(F);
    ASSERT_TRUE(QDir(In("PROJECTS/Plant")).removeRecursively());
    F->Btn_OKClick(F->Btn_OK);
    EXPECT_EQ(F->ModalResult(), mrNone);
    ASSERT_EQ(Messages.size(), 1u);
    EXPECT_EQ(Messages[0].DlgType, mtError);
    EXPECT_TRUE(Messages[0].Msg.startsWith(Lang_Text[955]));
    EXPECT_FALSE(QFile::exists(ParGenFile()));
}

// ---------------------------------------------------------------------------------------------
// Validation

TEST_F(ParGenTest, ValidationReportsTheFirstFailureInOrderAndWritesNothing) {
    struct Case {
        const char* Name;
        std::vector<std::pair<TEdit * TFParGen::*, const char*>> Fields;
        bool Gateway;
        int TextId; // 0: passes
    };
    const Case cases[] = {
        {"defaults", {}, false, 0},
        {"IP1 256", {{&TFParGen::E_IEC61850_Client_IP1, "256"}}, false, 649},
        {"IP2 -1", {{&TFParGen::E_IEC61850_Client_IP2, "-1"}}, false, 650},
        {"IP3 empty", {{&TFParGen::E_IEC61850_Client_IP3, ""}}, false, 651},
        {"IP4 trailing blank", {{&TFParGen::E_IEC61850_Client_IP4, "10 "}}, false, 652},
        {"only the first failure",
         {{&TFParGen::E_IEC61850_Client_SM2, "x"},
          {&TFParGen::E_IEC61850_Client_SM1, "300"},
          {&TFParGen::E_PROFIBUS_IDDevice, "0"}},
         false,
         653},
        {"SM4 text", {{&TFParGen::E_IEC61850_Client_SM4, "abc"}}, false, 656},
        {"gateway off: anything goes",
         {{&TFParGen::E_IEC61850_Client_GAT1, "abc"}, {&TFParGen::E_IEC61850_Client_GAT4, "999"}},
         false,
         0},
        {"gateway on: checked", {{&TFParGen::E_IEC61850_Client_GAT1, "abc"}}, true, 657},
        {"gateway on: GAT4", {{&TFParGen::E_IEC61850_Client_GAT4, "999"}}, true, 660},
        {"hexadecimal",
         {{&TFParGen::E_IEC61850_Client_IP1, "$FF"}, {&TFParGen::E_IEC61850_Client_IP2, "0xff"}},
         false,
         0},
        {"hexadecimal too big", {{&TFParGen::E_IEC61850_Client_IP1, "$100"}}, false, 649},
        {"ID 0", {{&TFParGen::E_PROFIBUS_IDDevice, "0"}}, false, 723},
        {"ID 126", {{&TFParGen::E_PROFIBUS_IDDevice, "126"}}, false, 723},
        {"ID 1 and 125 bounds",
         {{&TFParGen::E_PROFIBUS_IDDevice, "125"}, {&TFParGen::E_PROFIBUS_NByte_In, "0"}},
         false,
         0},
        {"ID 1", {{&TFParGen::E_PROFIBUS_IDDevice, " 1"}}, false, 0},
        {"bytes in 245", {{&TFParGen::E_PROFIBUS_NByte_In, "245"}}, false, 724},
        {"bytes out 245", {{&TFParGen::E_PROFIBUS_NByte_Out, "245"}}, false, 725},
        {"VLAN and application id free", {{&TFParGen::E_IEC61850_Client_AppID, "any text"}}, false, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        QFile::remove(ParGenFile());
        Messages.clear();
        F->SetModalResult(mrNone);
        F->FormShow(F);
        F->CB_IEC61850_Client_En_GAT->SetChecked(c.Gateway);
        for (const auto& [field, text] : c.Fields) (F->*field)->SetText(text);
        F->Btn_OKClick(F->Btn_OK);
        if (c.TextId == 0) {
            EXPECT_TRUE(Messages.empty());
            EXPECT_EQ(F->ModalResult(), mrOk);
            EXPECT_TRUE(QFile::exists(ParGenFile()));
            for (const auto& [field, text] : c.Fields)
                EXPECT_TRUE(ReadParGen().contains(">" + QByteArray(text) + "<") ||
                            QByteArray(text).isEmpty());
        } else {
            ASSERT_EQ(Messages.size(), 1u);
            EXPECT_EQ(Messages[0].Msg, Lang_Text[c.TextId]);
            EXPECT_EQ(Messages[0].DlgType, mtError);
            EXPECT_EQ(Messages[0].Buttons, TMsgDlgButtons{mbOK});
            EXPECT_EQ(F->ModalResult(), mrNone);
            EXPECT_FALSE(QFile::exists(ParGenFile()));
        }
    }
}

TEST_F(ParGenTest, AFailedCheckLeavesTheStoredFileAsItWas) {
    F->FormShow(F);
    F->Btn_OKClick(F->Btn_OK);
    const QByteArray stored = ReadParGen();
    F->SetModalResult(mrNone);
    F->E_IEC61850_Client_IP1->SetText("1");
    F->E_PROFIBUS_NByte_Out->SetText("300");
    F->Btn_OKClick(F->Btn_OK);
    EXPECT_EQ(F->ModalResult(), mrNone);
    EXPECT_EQ(ReadParGen(), stored);
    EXPECT_EQ(F->E_IEC61850_Client_IP1->Text(), "1");
}

TEST(ParGenDeviceName, NameCheckFindsCharactersOtherThanLettersAndDigits) {
    const std::pair<const char*, bool> cases[] = {{"", false},   {"Abc09", false}, {"abc def", true},
                                                  {"a_b", true}, {"Zürich", true}, {"x-1", true}};
    for (const auto& [name, bad] : cases)
        EXPECT_EQ(TFParGen::Check_Device_Name(QString::fromUtf8(name)), bad) << name;
}

// ---------------------------------------------------------------------------------------------
// The window as the user works it

TEST_F(ParGenTest, CancelDiscardsWhatWasTypedAndOKClosesWithTheFileWritten) {
    F->FormShow(F);
    F->Btn_OKClick(F->Btn_OK);
    const QByteArray stored = ReadParGen();

    PostCall([this] {
        F->E_IEC61850_Client_IP3->SetText("99");
        SimulateClick(F->Btn_Cancel, 10, 10);
    });
    EXPECT_EQ(F->ShowModal(), mrCancel);
    EXPECT_EQ(ReadParGen(), stored);

    String shown;
    PostCall([this, &shown] {
        shown = F->E_IEC61850_Client_IP3->Text();
        F->E_PROFIBUS_IDDevice->SetText("42");
        SimulateClick(F->Btn_OK, 10, 10);
    });
    EXPECT_EQ(F->ShowModal(), mrOk);
    EXPECT_EQ(shown, "0");
    EXPECT_TRUE(ReadParGen().contains("<PROFIBUS_ID_Device>42</PROFIBUS_ID_Device>"));
}

TEST_F(ParGenTest, TheDotKeyMovesThroughTheOctetsAndNeverReachesAField) {
    F->Show();
    F->E_IEC61850_Client_IP1->SetFocus();
    ASSERT_TRUE(ProcessMessagesUntil([this] { return F->E_IEC61850_Client_IP1->Focused(); }));
    for (TEdit* e : {F->E_IEC61850_Client_IP1, F->E_IEC61850_Client_IP2, F->E_IEC61850_Client_IP3,
                     F->E_IEC61850_Client_IP4})
        e->SetText(String());
    SimulateText(nullptr, "192.168.0.10");
    EXPECT_EQ(F->E_IEC61850_Client_IP1->Text(), "192");
    EXPECT_EQ(F->E_IEC61850_Client_IP2->Text(), "168");
    EXPECT_EQ(F->E_IEC61850_Client_IP3->Text(), "0");
    EXPECT_EQ(F->E_IEC61850_Client_IP4->Text(), "10");
    EXPECT_TRUE(F->E_IEC61850_Client_IP4->Focused());

    // The chain runs on into the mask and the gateway, and ends at the gateway's last octet.
    SimulateText(nullptr, ".");
    EXPECT_TRUE(F->E_IEC61850_Client_SM1->Focused());
    F->E_IEC61850_Client_SM4->SetFocus();
    SimulateText(nullptr, ".");
    EXPECT_TRUE(F->E_IEC61850_Client_GAT1->Focused());
    F->E_IEC61850_Client_GAT4->SetFocus();
    F->E_IEC61850_Client_GAT4->SetText("1");
    SimulateText(nullptr, ".");
    EXPECT_TRUE(F->E_IEC61850_Client_GAT4->Focused());
    EXPECT_EQ(F->E_IEC61850_Client_GAT4->Text(), "1");

    // Other panels' octets swallow it too; other keys and other fields are left alone.
    Char key = '.';
    F->KeyPress(F->Item<TEdit>("E_Modbus_TCP_Slave_IP1"), key);
    EXPECT_EQ(key, Char(0));
    key = '7';
    F->KeyPress(F->E_IEC61850_Client_IP1, key);
    EXPECT_EQ(key, Char('7'));
    EXPECT_TRUE(F->E_IEC61850_Client_GAT4->Focused());
    F->Hide();
}

TEST_F(ParGenTest, TheWheelScrollsThePanelGroupOnlyOverIt) {
    F->Show();
    // Make room for less than the panels so that there is something to scroll.
    F->SetClientHeight(69 + 40 + 200);
    ASSERT_EQ(F->ClientWidth(), 460);
    ASSERT_GT(F->CPG->ScrollMax(), 0);
    const int lines = Mouse->WheelScrollLines();
    ASSERT_GE(lines, 1);

    SimulateWheel(F, -120, {}, 200, 20); // over the title strip
    EXPECT_EQ(F->CPG->ScrollPos(), 0);
    SimulateWheel(F, -120, {}, 200, F->ClientHeight() - 10); // over the buttons
    EXPECT_EQ(F->CPG->ScrollPos(), 0);
    SimulateWheel(F, -120, {}, 200, 69 + 50);
    EXPECT_EQ(F->CPG->ScrollPos(), std::min(lines * F->CPG->LineIncrement(), F->CPG->ScrollMax()));
    const int down = F->CPG->ScrollPos();
    SimulateWheel(F, 120, {}, 200, 69 + 50);
    EXPECT_EQ(F->CPG->ScrollPos(), std::max(down - lines * F->CPG->LineIncrement(), 0));
    F->Hide();
}

// ---------------------------------------------------------------------------------------------
// Layout

TEST_F(ParGenTest, ThePROFIBUSConverterShowsTwoNumberedPanelsAsLaidOut) {
    EXPECT_EQ(F->ClientWidth(), 460);
    EXPECT_EQ(F->ClientHeight(), 700);
    EXPECT_EQ(F->Caption(), "Set Communication");
    EXPECT_EQ(F->L_SW_Code->Caption(), "CF40210");
    EXPECT_EQ(F->L_SW_Desc->Caption(), "Set Communication Setting");
    EXPECT_EQ(F->P_Title->BoundsRect(), Rect(0, 0, 460, 69));
    EXPECT_EQ(F->P_Button->BoundsRect(), Rect(0, 660, 460, 700));
    EXPECT_EQ(F->CPG->BoundsRect(), Rect(0, 69, 460, 660));
    EXPECT_EQ(F->Btn_OK->BoundsRect(), Rect(217, 6, 327, 34));
    EXPECT_EQ(F->Btn_Cancel->BoundsRect(), Rect(335, 6, 445, 34));
    EXPECT_EQ(F->Btn_Cancel->ModalResult(), mrCancel);
    EXPECT_EQ(F->Btn_OK->Caption(), "OK");
    EXPECT_EQ(F->Btn_Cancel->Hint(), "Exit and Discard the current configuration");

    EXPECT_EQ(F->CPG->HeaderHeight(), 24);
    EXPECT_EQ(F->CP_IEC61850_Client->Caption(), "1. ZED61850 Urerod");
    EXPECT_EQ(F->CP_PROFIBUS->Caption(), "2. PROFIBUS");
    EXPECT_EQ(F->CP_IEC61850_Client->BoundsRect(), Rect(0, 0, 460, 178));
    EXPECT_EQ(F->CP_PROFIBUS->BoundsRect(), Rect(0, 178, 460, 328));
    EXPECT_EQ(F->CP_IEC61850_Client->TabOrder(), 0);
    EXPECT_EQ(F->CP_PROFIBUS->TabOrder(), 1);
    for (TCategoryPanel* p : F->All_Panels())
        EXPECT_EQ(p->Visible(), p == F->CP_IEC61850_Client || p == F->CP_PROFIBUS) << p->Name().toStdString();

    // The client panel's rows.
    const int lefts[4] = {191, 252, 313, 374};
    const std::pair<const char*, int> octetRows[] = {{"IP", 9}, {"SM", 37}, {"GAT", 66}};
    for (const auto& [row, top] : octetRows)
        for (int i = 0; i < 4; ++i) {
            auto* e = F->Item<TEdit>(QStringLiteral("E_IEC61850_Client_%1%2").arg(row).arg(i + 1));
            ASSERT_NE(e, nullptr);
            EXPECT_EQ(e->BoundsRect(), Rect(lefts[i], top, lefts[i] + 55, top + 21)) << row << i;
            EXPECT_EQ(e->MaxLength(), 0);
            EXPECT_FALSE(e->NumbersOnly());
        }
    EXPECT_EQ(F->Item<TLabel>("L_IEC61850_Client_IP_Dot1")->Left(), 247);
    EXPECT_EQ(F->Item<TLabel>("L_IEC61850_Client_SM_Dot3")->Left(), 369);
    EXPECT_EQ(F->Item<TLabel>("L_IEC61850_Client_SM_Dot3")->Top(), 40);
    EXPECT_EQ(F->Item<TLabel>("L_IEC61850_Client_GAT_Dot2")->Top(), 69);
    EXPECT_EQ(F->L_IEC61850_Client_IP->Left(), 14);
    EXPECT_EQ(F->L_IEC61850_Client_IP->Top(), 12);
    EXPECT_EQ(F->CB_IEC61850_Client_En_GAT->Left(), 14);
    EXPECT_EQ(F->CB_IEC61850_Client_En_GAT->Top(), 66);
    EXPECT_EQ(F->E_IEC61850_Client_VLAN->BoundsRect(), Rect(191, 93, 429, 114));
    EXPECT_EQ(F->E_IEC61850_Client_VLAN->MaxLength(), 8);
    EXPECT_TRUE(F->E_IEC61850_Client_VLAN->NumbersOnly());
    EXPECT_EQ(F->E_IEC61850_Client_AppID->BoundsRect(), Rect(191, 121, 429, 142));
    EXPECT_EQ(F->L_IEC61850_Client_AppID->Caption(), "Application ID");
    EXPECT_EQ(F->E_IEC61850_Client_IP3->Hint(), "Insert Third byte of IP Address");
    // Gateway fields stay enabled whatever the box says.
    F->CB_IEC61850_Client_En_GAT->SetChecked(false);
    EXPECT_TRUE(F->E_IEC61850_Client_GAT2->Enabled());

    // Tab order: the octets, the box, the gateway, VLAN, application id.
    std::vector<TWinControl*> order;
    F->CP_IEC61850_Client->Surface()->GetTabOrderList(order);
    std::vector<TWinControl*> expected = {
        F->E_IEC61850_Client_IP1,  F->E_IEC61850_Client_IP2,  F->E_IEC61850_Client_IP3,
        F->E_IEC61850_Client_IP4,  F->E_IEC61850_Client_SM1,  F->E_IEC61850_Client_SM2,
        F->E_IEC61850_Client_SM3,  F->E_IEC61850_Client_SM4,  F->CB_IEC61850_Client_En_GAT,
        F->E_IEC61850_Client_GAT1, F->E_IEC61850_Client_GAT2, F->E_IEC61850_Client_GAT3,
        F->E_IEC61850_Client_GAT4, F->E_IEC61850_Client_VLAN, F->E_IEC61850_Client_AppID};
    EXPECT_EQ(order, expected);

    // The PROFIBUS panel: four rows, tab order from the bottom up, the fixed baud rate.
    const std::pair<TWinControl*, int> rows[] = {{F->E_PROFIBUS_IDDevice, 9},
                                                 {F->CB_PROFIBUS_Baudrate, 37},
                                                 {F->E_PROFIBUS_NByte_In, 65},
                                                 {F->E_PROFIBUS_NByte_Out, 93}};
    for (const auto& [c, top] : rows) EXPECT_EQ(c->BoundsRect(), Rect(191, top, 429, top + 21));
    order.clear();
    F->CP_PROFIBUS->Surface()->GetTabOrderList(order);
    EXPECT_EQ(order, (std::vector<TWinControl*>{F->E_PROFIBUS_NByte_Out, F->E_PROFIBUS_NByte_In,
                                                F->CB_PROFIBUS_Baudrate, F->E_PROFIBUS_IDDevice}));
    EXPECT_FALSE(F->CB_PROFIBUS_Baudrate->Enabled());
    EXPECT_EQ(F->CB_PROFIBUS_Baudrate->Style(), csOwnerDrawFixed);
    EXPECT_EQ(F->CB_PROFIBUS_Baudrate->Items()->Count(), 1);
    EXPECT_EQ(F->CB_PROFIBUS_Baudrate->ItemIndex(), 0);
    EXPECT_EQ(F->CB_PROFIBUS_Baudrate->Text(), "Auto Baudrate");

    // The width is fixed; the height may change, also by dragging the frame.
    EXPECT_EQ(F->BorderStyle(), bsSizeable);
    EXPECT_EQ(F->BorderIcons(), TBorderIcons{biSystemMenu});
    F->SetClientHeight(500);
    EXPECT_EQ(F->ClientWidth(), 460);
    F->SetClientWidth(600);
    EXPECT_EQ(F->ClientWidth(), 460);
}

TEST_F(ParGenTest, EveryConverterOrdersNumbersAndFitsItsPanels) {
    struct Expect {
        int Variant;
        std::vector<std::pair<TCategoryPanel * TFParGen::*, const char*>> Panels; // after the client panel
    };
    const Expect table[] = {
        {40191, {{&TFParGen::CP_Modbus_Slave, "Modbus Slave"}}},
        {40192, {{&TFParGen::CP_Modbus_TCP_Slave, "Modbus TCP Slave"}}},
        {40193, {{&TFParGen::CP_BACnet_Slave, "BACnet Slave"}}},
        {40194, {{&TFParGen::CP_CAN, "CAN"}}},
        {40196, {{&TFParGen::CP_DeviceNet_Slave, "DeviceNet Slave"}}},
        {40197, {{&TFParGen::CP_EtherNetIP, "EtherNet/IP"}}},
        {40198, {{&TFParGen::CP_J1939, "J1939"}}},
        {40199, {{&TFParGen::CP_KNX, "KNX"}}},
        {40200,
         {{&TFParGen::CP_MQTT, "MQTT"},
          {&TFParGen::CP_Ethernet, "Ethernet"},
          {&TFParGen::CP_TLS, "TLS (Transport Layer Security)"},
          {&TFParGen::CP_NTP, "NTP (Network Time Protocol)"}}},
        {40203, {{&TFParGen::CP_NMEA2000, "NMEA 2000"}}},
        {40207, {{&TFParGen::CP_CANopen, "CANopen"}}},
        {40210, {{&TFParGen::CP_PROFIBUS, "PROFIBUS"}}},
        {40211, {{&TFParGen::CP_PROFINET, "PROFINET"}}},
        {40214, {{&TFParGen::CP_SNMP_Agent, "SNMP Agent"}}},
        {40215, {{&TFParGen::CP_Serial, "Serial"}}},
    };
    ASSERT_EQ(TFParGen::Variant_Layouts().size(), std::size(table));
    for (const Expect& e : table) {
        SCOPED_TRACE(e.Variant);
        auto* f = new TFParGen(nullptr);
        auto freeF = FreeAtEnd(f);
        for (TCategoryPanel* p : f->All_Panels()) p->Hide();
        const auto& layouts = TFParGen::Variant_Layouts();
        auto it = std::find_if(layouts.begin(), layouts.end(),
                               [&](const auto& l) { return l.Variant == e.Variant; });
        ASSERT_NE(it, layouts.end());
        (f->*(it->Order))();
        (f->*(it->RePosition))();

        std::vector<TCategoryPanel*> shown = {f->CP_IEC61850_Client};
        for (const auto& [panel, header] : e.Panels) shown.push_back(f->*panel);
        int top = 0;
        for (size_t i = 0; i < shown.size(); ++i) {
            TCategoryPanel* p = shown[i];
            EXPECT_TRUE(p->Visible());
            EXPECT_EQ(p->Top(), top) << p->Name().toStdString();
            EXPECT_EQ(p->TabOrder(), int(i));
            const String header = i == 0 ? String("ZED61850 Urerod") : String(e.Panels[i - 1].second);
            EXPECT_EQ(p->Caption(), IntToStr(int(i) + 1) + ". " + header);
            // The panel ends 12 pixels below its last visible control.
            int bottom = 0;
            for (int c = 0; c < p->Surface()->ControlCount(); ++c) {
                TControl* ctl = p->Surface()->Controls(c);
                if (ctl->Visible()) bottom = std::max(bottom, ctl->Top() + ctl->Height());
            }
            EXPECT_EQ(p->Height(), bottom + 24 + 12) << p->Name().toStdString();
            top += p->Height();
        }
        int visible = 0;
        for (TCategoryPanel* p : f->All_Panels()) visible += p->Visible() ? 1 : 0;
        EXPECT_EQ(visible, int(shown.size()));
    }
}

TEST_F(ParGenTest, OptionRowsFollowTheirBoxesAndLists) {
    // Panel height = last visible control's bottom + header (24) + 12.
    auto height = [](int Row, bool Box) { return 9 + 28 * Row + (Box ? 1 + 17 : 21) + 36; };
    auto check = [this](const char* Name) { return F->Item<TCheckBox>(Name); };
    auto list = [this](const char* Name) { return F->Item<TComboBox>(Name); };

    // TLS: off, on, with both authentications.
    F->RePosition_Object_TLS();
    EXPECT_EQ(F->CP_TLS->Height(), height(0, true));
    EXPECT_FALSE(F->Item<TEdit>("E_TLS_Server_Cert")->Visible());
    check("CB_TLS_Enable")->SetChecked(true);
    F->RePosition_Object_TLS();
    EXPECT_EQ(F->CP_TLS->Height(), height(2, true));
    check("CB_TLS_Server_Auth")->SetChecked(true);
    check("CB_TLS_Client_Auth")->SetChecked(true);
    F->RePosition_Object_TLS();
    EXPECT_EQ(F->CP_TLS->Height(), height(6, false));
    EXPECT_EQ(F->Item<TEdit>("E_TLS_Key_Password")->Top(), 9 + 28 * 6);

    // MQTT: the user-name row moves below the will rows when the will flag is on.
    F->RePosition_Object_MQTT();
    EXPECT_EQ(F->Item<TEdit>("E_MQTT_User_Name")->Top(), 9 + 28 * 6);
    EXPECT_FALSE(F->Item<TEdit>("E_MQTT_Async_Send_Time")->Visible());
    EXPECT_EQ(F->CP_MQTT->Height(), height(7, false));
    check("CB_MQTT_Will_Flag")->SetChecked(true);
    F->RePosition_Object_MQTT();
    EXPECT_EQ(F->Item<TEdit>("E_MQTT_User_Name")->Top(), 9 + 28 * 10);
    EXPECT_EQ(F->CP_MQTT->Height(), height(11, false));

    // BACnet: MS/TP hides the IP rows and lays its own from the IP row down.
    F->RePosition_Object_BACnet_Slave();
    EXPECT_TRUE(F->Item<TEdit>("E_BACnet_Slave_IP1")->Visible());
    EXPECT_FALSE(F->Item<TEdit>("E_BACnet_Slave_MAC")->Visible());
    EXPECT_EQ(F->CP_BACnet_Slave->Height(), height(7, true));
    list("CB_BACnet_Slave_Type")->SetItemIndex(1);
    F->RePosition_Object_BACnet_Slave();
    EXPECT_FALSE(F->Item<TEdit>("E_BACnet_Slave_IP1")->Visible());
    EXPECT_EQ(F->Item<TComboBox>("CB_BACnet_Slave_Baudrate")->Top(), 9 + 28);
    EXPECT_EQ(F->CP_BACnet_Slave->Height(), height(9, true));

    // SNMP: version 3 and its security levels.
    F->RePosition_Object_SNMP_Agent();
    EXPECT_EQ(F->CP_SNMP_Agent->Height(), height(7, true));
    check("CB_SNMP_Agent_Version3")->SetChecked(true);
    const std::pair<int, int> levels[] = {{0, 9}, {1, 11}, {2, 13}};
    for (const auto& [level, lastRow] : levels) {
        list("CB_SNMP_Agent_Security_Level")->SetItemIndex(level);
        F->RePosition_Object_SNMP_Agent();
        EXPECT_EQ(F->CP_SNMP_Agent->Height(), height(lastRow, false)) << level;
    }

    // Wi-Fi: access point with security and DHCP, then client with automatic address.
    // Access point: type, four address rows, port, SSID, secure type, DHCP box, max client,
    // channel; the password follows the secure type and the DHCP rows the box.
    F->RePosition_Object_WiFi();
    EXPECT_EQ(F->CP_WiFi->Height(), height(10, false));
    EXPECT_EQ(F->Item<TComboBox>("CB_WiFi_Secure_Type")->Top(), 9 + 28 * 7);
    EXPECT_FALSE(check("CB_WiFi_Hidden_SSID")->Visible());
    EXPECT_FALSE(F->Item<TEdit>("E_WiFi_Password")->Visible());
    list("CB_WiFi_Secure_Type")->SetItemIndex(2);
    check("CB_WiFi_DHCP")->SetChecked(true);
    F->RePosition_Object_WiFi();
    EXPECT_EQ(F->Item<TEdit>("E_WiFi_Password")->Top(), 9 + 28 * 8);
    EXPECT_EQ(F->Item<TEdit>("E_WiFi_Lease_Time")->Top(), 9 + 28 * 12);
    EXPECT_EQ(F->CP_WiFi->Height(), height(14, false));
    list("CB_WiFi_Type")->SetItemIndex(1);
    F->CB_WiFi_IP_Auto->SetChecked(true);
    F->RePosition_Object_WiFi();
    EXPECT_FALSE(F->Item<TEdit>("E_WiFi_IP1")->Visible());
    EXPECT_TRUE(F->Item<TEdit>("E_WiFi_Name")->Visible());
    EXPECT_FALSE(F->Item<TComboBox>("CB_WiFi_Channel")->Visible());
    EXPECT_EQ(F->CP_WiFi->Height(), height(5, false));

    // Ethernet and PROFINET drop their optional rows.
    F->RePosition_Object_Ethernet();
    EXPECT_FALSE(F->Item<TEdit>("E_Ethernet_DNS1")->Visible());
    EXPECT_EQ(F->CP_Ethernet->Height(), height(2, false));
    F->RePosition_Object_PROFINET();
    EXPECT_FALSE(F->Item<TCheckBox>("CB_PROFINET_Diagnostic")->Visible());
    EXPECT_EQ(F->CP_PROFINET->Height(), height(6, false));
}

TEST_F(ParGenTest, OnlyTheOptionSendersReLayTheBuiltConverter) {
    // This converter's layout fits the client and PROFIBUS panels; a change elsewhere leaves
    // their heights alone, and the option senders re-run it.
    F->CP_PROFIBUS->SetHeight(40);
    F->On_Change(F->E_IEC61850_Client_IP1);
    EXPECT_EQ(F->CP_PROFIBUS->Height(), 40);
    F->On_Click(F->CB_IEC61850_Client_En_GAT);
    EXPECT_EQ(F->CP_PROFIBUS->Height(), 40);
    F->On_Change(F->Item<TComboBox>("CB_WiFi_Type"));
    EXPECT_EQ(F->CP_PROFIBUS->Height(), 150);
    F->CP_PROFIBUS->SetHeight(40);
    F->On_Click(F->Item<TCheckBox>("CB_TLS_Enable"));
    EXPECT_EQ(F->CP_PROFIBUS->Height(), 150);
}

// ---------------------------------------------------------------------------------------------
// Texts

TEST_F(ParGenTest, ALanguageChangeRelabelsFieldsButNotPanelHeaders) {
    Lang_Text.Set(407, "Indirizzo IP");
    Lang_Text.Set(408, "Primo byte");
    Lang_Text.Set(400, "Comunicazione");
    Lang_Text.Set(406, "Cliente");
    Lang_Text.Set(817, "Punto di accesso");
    F->Item<TComboBox>("CB_WiFi_Type")->SetItemIndex(2);
    F->Item<TComboBox>("CB_BACnet_Slave_Type")->SetItemIndex(1);
    F->Set_Lang();
    EXPECT_EQ(F->Caption(), "Comunicazione");
    EXPECT_EQ(F->L_IEC61850_Client_IP->Caption(), "Indirizzo IP");
    EXPECT_EQ(F->E_IEC61850_Client_IP1->Hint(), "Primo byte");
    EXPECT_EQ(F->CP_IEC61850_Client->Caption(), "1. ZED61850 Urerod");
    // The Wi-Fi lists are refilled and start again at their first item; other lists keep theirs.
    EXPECT_EQ(F->Item<TComboBox>("CB_WiFi_Type")->ItemIndex(), 0);
    EXPECT_EQ(F->Item<TComboBox>("CB_WiFi_Type")->Text(), "Punto di accesso");
    EXPECT_EQ(F->Item<TComboBox>("CB_BACnet_Slave_Type")->ItemIndex(), 1);
}

TEST_F(ParGenTest, EveryTextOfTheWindowIsInTheBuiltInTable) {
    for (int id : F->Used_Text_Ids()) {
        if (id == 816) continue; // the Wi-Fi type list has a blank hint
        EXPECT_NE(Lang_Text[id].trimmed(), String()) << id;
    }
    for (int id = 400; id <= 954; ++id) {
        if (id == 816) continue;
        EXPECT_NE(Lang_Text[id].trimmed(), String()) << id;
    }
    // Each panel's controls take exactly the ids of its block.
    ASSERT_EQ(F->Panel_Texts().size(), 20u);
    for (const auto& t : F->Panel_Texts())
        EXPECT_EQ(t.Used, t.Last - t.First + 1) << t.Panel->Name().toStdString();
    // The messages end where the texts say they do.
    EXPECT_TRUE(Lang_Text[716].endsWith("between 0 and "));
    EXPECT_EQ(Lang_Text[691], Lang_Text[689]);
}

TEST_F(ParGenTest, TheButtonsShowTheirHints) {
    F->Show();
    ASSERT_FALSE(F->Btn_OK->Hint().isEmpty());
    SimulateMouseMove(F->Btn_OK, {}, 10, 10);
    ASSERT_EQ(HintTimerMode(), htmShowHint);
    HintTimerTick();
    ASSERT_TRUE(ShownHintWindow());
    EXPECT_EQ(ShownHintWindow()->Caption(), F->Btn_OK->Hint());
    Application->CancelHint();
    EXPECT_EQ(ShownHintWindow(), nullptr);
}

} // namespace
