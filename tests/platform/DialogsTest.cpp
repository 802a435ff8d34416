// Message and file dialogs answered through their hooks, and the shell's open hook.
#include "Dialogs.h"
#include "ShellApi.h"

#include <gtest/gtest.h>

TEST(Dialogs, MessageDlgAsksTheHook) {
    std::vector<TMessageDlgRequest> seen;
    TMessageDlgHook old = SetMessageDlgHook([&](const TMessageDlgRequest& R) {
        seen.push_back(R);
        return R.Buttons.count(mbNo) ? mrNo : mrOk;
    });
    EXPECT_EQ(MessageDlg("Sure?", mtConfirmation, mbYesNoCancel), mrNo);
    EXPECT_EQ(MessageDlg("Broken", mtError, {mbOK}), mrOk);
    ShowMessage("Note");
    SetMessageDlgHook(old);
    ASSERT_EQ(seen.size(), 3u);
    EXPECT_EQ(seen[0].Msg, "Sure?");
    EXPECT_EQ(seen[0].DlgType, mtConfirmation);
    EXPECT_EQ(seen[0].Buttons, mbYesNoCancel);
    EXPECT_EQ(seen[1].DlgType, mtError);
    EXPECT_EQ(seen[2].Buttons, TMsgDlgButtons({mbOK}));
}

TEST(Dialogs, FileDialogTakesTheHooksAnswerAndItsDefaultExtension) {
    const struct {
        const char* Chosen;
        const char* DefaultExt;
        bool Accept;
        const char* Result;
    } cases[] = {
        {"/tmp/a", "*.eds", true, "/tmp/a.eds"}, {"/tmp/a.txt", "*.eds", true, "/tmp/a.txt"},
        {"/tmp/a", ".mib", true, "/tmp/a.mib"},  {"/tmp/a", "", true, "/tmp/a"},
        {"/tmp/a", "eds", false, "/tmp/a"},
    };
    for (const auto& c : cases) {
        bool wasSave = false;
        TFileDialogHook old = SetFileDialogHook([&](TOpenDialog* D, bool Save) {
            wasSave = Save;
            D->FileName = c.Chosen;
            return c.Accept;
        });
        TSaveDialog dialog(nullptr);
        dialog.DefaultExt = c.DefaultExt;
        EXPECT_EQ(dialog.Execute(), c.Accept);
        EXPECT_TRUE(wasSave);
        EXPECT_EQ(dialog.FileName, c.Result) << c.Chosen << " " << c.DefaultExt;
        SetFileDialogHook(old);
    }
}

TEST(ShellApi, OpenGoesToTheHook) {
    QStringList opened;
    TOpenDocumentHook old = SetOpenDocumentHook([&](const String& F) {
        opened << F;
        return true;
    });
    EXPECT_GT(ShellExecute(0, "open", "http://example.invalid/page?x=1", "", "", SW_SHOW), 32);
    EXPECT_GT(ShellExecute(0, "", "http://example.invalid/", "", "", SW_SHOW), 32);
    EXPECT_LE(ShellExecute(0, "print", "http://example.invalid/", "", "", SW_SHOW), 32);
    EXPECT_LE(ShellExecute(0, "open", "", "", "", SW_SHOW), 32);
    SetOpenDocumentHook(old);
    EXPECT_EQ(opened, QStringList({"http://example.invalid/page?x=1", "http://example.invalid/"}));
}
