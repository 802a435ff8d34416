// The options dialog: language pages and the language change, the connection options, OK and
// Cancel, and the version check from the dialog and from the main window's timer.
#include "LocalHttpServer.h"
#include "UVersion.h"
#include "WindowFixture.h"

class OptionsTest : public WindowsTest {
protected:
    void AddLanguages(int Count) {
        for (int i = 0; i < Count; ++i)
            Write(QStringLiteral("LANGUAGE/Lang%1.lng").arg(i, 2, 10, QChar('0')), "");
    }
    // Shows the dialog, runs Action in it, and closes it with OK or Cancel.
    void InDialog(const std::function<void()>& Action, bool Ok) {
        ClickThen(Main()->Btn_Opz, [&] {
            Action();
            (Ok ? FSoftOptions->Btn_OK : FSoftOptions->Btn_Cancel)->Click();
        });
    }
    int VisibleSlots() const {
        int n = 0;
        for (TLabel* l : FSoftOptions->L_L) n += l->Visible() ? 1 : 0;
        return n;
    }
};

TEST_F(OptionsTest, LanguagePages) {
    const struct {
        int Files;
        const char* Page1; // L_Page_Lang on the first page
        int Pages;
        int LastSlots;
        bool NextOnFirst;
    } cases[] = {
        {13, "Page 1 / 3", 3, 1, true}, {6, "Page 1 / 1", 1, 6, false}, {0, "Page 1 / 0", 0, 0, true}};
    Start();
    for (const auto& c : cases) {
        QDir(In("LANGUAGE")).removeRecursively();
        QDir().mkpath(In("LANGUAGE"));
        AddLanguages(c.Files);
        InDialog(
            [&] {
                TFSoftOptions* d = FSoftOptions;
                EXPECT_EQ(d->L_Page_Lang->Caption(), c.Page1);
                EXPECT_FALSE(d->Btn_Prev->Visible());
                EXPECT_EQ(d->Btn_Next->Visible(), c.NextOnFirst);
                for (int p = 1; p < c.Pages; ++p) d->Btn_Next->Click();
                EXPECT_EQ(VisibleSlots(), c.LastSlots) << c.Files;
                if (c.Pages > 1) {
                    EXPECT_FALSE(d->Btn_Next->Visible());
                    EXPECT_TRUE(d->Btn_Prev->Visible());
                    EXPECT_EQ(d->L_L[0]->Caption(),
                              QStringLiteral("Lang%1").arg(6 * (c.Pages - 1), 2, 10, QChar('0')));
                }
                d->Btn_Next->Click(); // past the last page: nothing changes
                EXPECT_EQ(VisibleSlots(), c.LastSlots);
            },
            false);
    }
}

TEST_F(OptionsTest, FlagsFallBackToTheDefaultFlag) {
    Write("LANGUAGE/Deutsch.lng", "");
    Write("LANGUAGE/Italiano.lng", "");
    Write("LANGUAGE/Zulu.lng", "");
    TBitmap flag(48, 48);
    flag.SaveToFile(In("LANGUAGE/Deutsch.bmp"));
    Write("LANGUAGE/Zulu.bmp", "not a picture");
    Start();
    InDialog(
        [&] {
            EXPECT_TRUE(FSoftOptions->I_L[0]->Visible());  // its own flag
            EXPECT_FALSE(FSoftOptions->I_L[1]->Visible()); // no flag, no default flag
            EXPECT_FALSE(FSoftOptions->I_L[2]->Visible()); // a broken flag counts as none
        },
        false);
    // With a default flag, a missing and a damaged flag both show it.
    TBitmap defaultFlag(32, 24);
    defaultFlag.SaveToFile(In("LANGUAGE/DefaultFlag.bmp"));
    InDialog(
        [&] {
            TImage* const* images = FSoftOptions->I_L;
            EXPECT_EQ(images[0]->Picture()->Width(), 48); // its own flag still
            for (int slot : {1, 2}) {
                EXPECT_TRUE(images[slot]->Visible()) << slot;
                EXPECT_EQ(images[slot]->Picture()->Width(), 32) << slot;
                EXPECT_EQ(images[slot]->Picture()->Height(), 24) << slot;
            }
        },
        false);
    // A damaged default flag counts as none.
    Write("LANGUAGE/DefaultFlag.bmp", "BM not a picture either");
    InDialog(
        [&] {
            EXPECT_TRUE(FSoftOptions->I_L[0]->Visible());
            EXPECT_FALSE(FSoftOptions->I_L[1]->Visible());
            EXPECT_FALSE(FSoftOptions->I_L[2]->Visible());
        },
        false);
}

TEST_F(OptionsTest, ChoosingALanguageAsksAndRelabelsEveryWindow) {
    // UTF-8 with its byte-order mark; the pilcrows keep the blanks of texts 316 and 317.
    Write("LANGUAGE/Deutsch.lng",
          "\xEF\xBB\xBFSTR0 = Anfang\nSTR15 = Neue Konfiguration\nSTR100 = Neues Projekt\n"
          "STR302 = Sprache\nSTR316 = \xC2\xB6Sprache von \xC2\xB6\n"
          "STR317 = \xC2\xB6 nach \xC2\xB6\nSTR400 = Allgemeine Parameter\nSTR1000 = Aktualisierung\n");
    Start();
    // No: nothing changes.
    Answer = mrNo;
    InDialog([] { FSoftOptions->LangClick(FSoftOptions->L_L[0]); }, false);
    ASSERT_EQ(Messages.size(), 1u);
    EXPECT_EQ(Messages[0].Msg, "Do you want to change the Language from English to Deutsch?");
    EXPECT_EQ(Messages[0].DlgType, mtConfirmation);
    EXPECT_EQ(Messages[0].Buttons, TMsgDlgButtons({mbYes, mbNo}));
    EXPECT_EQ(Main()->L_Begin->Caption(), "Begin");

    // Yes, then Cancel: every window speaks German for the rest of the run; the stored language
    // stays English.
    Answer = mrYes;
    InDialog(
        [] {
            SimulateClick(FSoftOptions->L_L[0], 2, 2);
            EXPECT_EQ(FSoftOptions->L_Sel_Lang->Caption(), "Selected Language : Deutsch");
            EXPECT_EQ(FSoftOptions->TS_Language->Caption(), "Sprache");
        },
        false);
    EXPECT_EQ(Main()->L_Begin->Caption(), "Anfang");
    EXPECT_EQ(Main()->Btn_New->Caption(), "Neue Konfiguration");
    EXPECT_EQ(FNew_Project->Caption(), "Neues Projekt");
    EXPECT_EQ(FParGen->Caption(), "Allgemeine Parameter");
    EXPECT_EQ(FBoot->Caption(), "Aktualisierung");
    EXPECT_EQ(Language, "English");
    EXPECT_FALSE(Read("Velmora.xml").contains("Deutsch"));

    // Yes, then OK: the choice is stored.
    InDialog([] { FSoftOptions->LangClick(FSoftOptions->L_L[0]); }, true);
    EXPECT_EQ(Messages.back().Msg, "Sprache von English nach Deutsch?");
    EXPECT_EQ(Language, "Deutsch");
    EXPECT_TRUE(Read("Velmora.xml").contains("<language>Deutsch</language>"));
}

TEST_F(OptionsTest, ConnectionOptions) {
    Start();
    InDialog(
        [] {
            TFSoftOptions* d = FSoftOptions;
            EXPECT_EQ(d->PC_Options->ActivePage(), d->TS_Language);
            EXPECT_FALSE(d->CB_Update->Enabled());
            SimulateClick(d->CB_En_Con, 4, 8);
            EXPECT_TRUE(d->CB_En_Con->Checked());
            EXPECT_TRUE(d->CB_Update->Enabled());
            EXPECT_FALSE(d->Btn_Check_Update->Enabled());
            d->CB_Update->SetChecked(true);
            EXPECT_TRUE(d->Btn_Check_Update->Enabled());
            d->CB_En_Con->SetChecked(false); // disables, but keeps the mark
            EXPECT_FALSE(d->CB_Update->Enabled());
            EXPECT_TRUE(d->CB_Update->Checked());
            EXPECT_FALSE(d->Btn_Check_Update->Enabled());
            d->CB_Soft_Set_Jump_Table->SetChecked(true);
        },
        true);
    EXPECT_FALSE(Enable_Internet);
    EXPECT_TRUE(Enable_Update);
    EXPECT_TRUE(Enable_Jump_Field_Tables);
    EXPECT_FALSE(Double_Click_Auto_Size);
    EXPECT_FALSE(Main()->Timer_Update->Enabled());
    EXPECT_TRUE(Read("Velmora.xml").contains("<enable_update>1</enable_update>"));

    // Both on: the timer runs; Cancel changes nothing.
    InDialog([] { FSoftOptions->CB_En_Con->SetChecked(true); }, true);
    EXPECT_TRUE(Main()->Timer_Update->Enabled());
    InDialog([] { FSoftOptions->CB_En_Con->SetChecked(false); }, false);
    EXPECT_TRUE(Enable_Internet);
    EXPECT_TRUE(Main()->Timer_Update->Enabled());
}

class VersionCheckTest : public OptionsTest {
protected:
    void SetUp() override {
        OptionsTest::SetUp();
        FSite = Maker_Site;
    }
    void TearDown() override {
        Maker_Site = FSite;
        OptionsTest::TearDown();
    }
    String FSite;
};

TEST_F(VersionCheckTest, FromTheDialogAndFromTheTimer) {
    const struct {
        const char* Name;
        QByteArray Reply; // empty: no server
        bool Newer;
    } cases[] = {
        {"newer", "HTTP/1.0 200 OK\r\n\r\nVER. 1.001", true},
        {"same", "HTTP/1.0 200 OK\r\n\r\nVER. 1.000", false},
        {"garbage", "HTTP/1.0 200 OK\r\n\r\n<html>", false},
        {"no server", "", false},
    };
    Start();
    for (const auto& c : cases) {
        std::unique_ptr<TLocalHttpServer> server;
        if (!c.Reply.isEmpty()) server = std::make_unique<TLocalHttpServer>(c.Reply);
        Maker_Site = QStringLiteral("http://127.0.0.1:%1")
                         .arg(server ? server->Port() : TLocalHttpServer::ClosedPort());
        InDialog(
            [&] {
                TFSoftOptions* d = FSoftOptions;
                EXPECT_FALSE(d->LL_Check_Update->Visible());
                d->Btn_Check_UpdateClick(d->Btn_Check_Update);
                EXPECT_TRUE(d->LL_Check_Update->Visible());
                if (c.Newer) {
                    EXPECT_EQ(d->LL_Check_Update->Pieces().size(), 1u);
                    EXPECT_EQ(d->LL_Check_Update->Pieces()[0].Text,
                              "New Version Available. Click Here for more Details");
                    EXPECT_EQ(d->LL_Check_Update->Pieces()[0].Link, Download_Page_URL());
                } else {
                    EXPECT_EQ(d->LL_Check_Update->Caption(), "No Update Available") << c.Name;
                }
            },
            false);
        // The timer's tick: the link shows only for a newer version; the next check comes in 2 h.
        Main()->Timer_UpdateTimer(Main()->Timer_Update);
        EXPECT_EQ(Main()->LL_Update->Visible(), c.Newer) << c.Name;
        EXPECT_TRUE(Main()->Timer_Update->Enabled());
        EXPECT_EQ(Main()->Timer_Update->Interval(), 7200000u);
    }
    Main()->LL_UpdateLinkClick(Main()->LL_Update, Download_Page_URL(), sltURL);
    EXPECT_EQ(Opened, QStringList({Download_Page_URL()}));
    EXPECT_TRUE(Download_Page_URL().endsWith("/Home/download/download.asp#GW40210"));
}
