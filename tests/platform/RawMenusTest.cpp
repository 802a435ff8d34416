// Raw popup menus: items with ids, the choice posted to the owner window as WM_COMMAND (or
// answered with TPM_RETURNCMD), dismissal posting nothing, handles that are gone refused.
#include "Menus.h"

#include "Forms.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

namespace {

// A window that records the WM_COMMAND messages it receives.
class TCommandProbe : public TCustomControl {
public:
    using TCustomControl::TCustomControl;
    std::vector<WPARAM> Commands;
    void Dispatch(TMessage& Message) override {
        if (Message.Msg == WM_COMMAND) Commands.push_back(Message.WParam);
        TCustomControl::Dispatch(Message);
    }
};

class RawMenus : public ::testing::Test {
protected:
    void SetUp() override {
        Form = new TForm(nullptr);
        Form->SetBounds(100, 100, 200, 150);
        Form->Show();
        Probe = new TCommandProbe(Form);
        Probe->SetParent(Form);
        Menu = CreatePopupMenu();
        AppendMenu(Menu, MF_STRING, 1, QStringLiteral("kg"));
        AppendMenu(Menu, MF_STRING, 2, QStringLiteral("g"));
    }
    void TearDown() override {
        SetTrackPopupMenuHook(nullptr);
        DestroyMenu(Menu);
        TObject::Free(Form);
    }

    TForm* Form = nullptr;
    TCommandProbe* Probe = nullptr;
    HMENU Menu = nullptr;
};

TEST_F(RawMenus, TheChoiceArrivesAsWmCommand) {
    TPoint shownAt;
    SetTrackPopupMenuHook([&](HMENU M, int X, int Y) -> UINT_PTR {
        shownAt = TPoint(X, Y);
        UINT_PTR id = 0;
        String text;
        EXPECT_TRUE(GetMenuItem(M, 1, id, text));
        EXPECT_EQ(text, QStringLiteral("g"));
        return id;
    });
    EXPECT_EQ(GetMenuItemCount(Menu), 2);
    EXPECT_EQ(TrackPopupMenu(Menu, TPM_LEFTALIGN | TPM_LEFTBUTTON, 30, 40, 0, Probe->Handle()), 1);
    EXPECT_EQ(shownAt, TPoint(30, 40));
    ASSERT_TRUE(ProcessMessagesUntil([&] { return !Probe->Commands.empty(); }));
    EXPECT_EQ(LOWORD(Probe->Commands[0]), 2);
    EXPECT_EQ(HIWORD(Probe->Commands[0]), 0);
}

TEST_F(RawMenus, ReturnCmdAnswersAndADismissalPostsNothing) {
    SetTrackPopupMenuHook([](HMENU, int, int) -> UINT_PTR { return 1; });
    EXPECT_EQ(TrackPopupMenu(Menu, TPM_RETURNCMD, 0, 0, 0, Probe->Handle()), 1);
    SetTrackPopupMenuHook([](HMENU, int, int) -> UINT_PTR { return 0; });
    EXPECT_EQ(TrackPopupMenu(Menu, 0, 0, 0, 0, Probe->Handle()), 1);
    Application->ProcessMessages();
    EXPECT_TRUE(Probe->Commands.empty());
}

TEST_F(RawMenus, AHandleThatIsGoneIsRefused) {
    HMENU gone = CreatePopupMenu();
    EXPECT_TRUE(DestroyMenu(gone));
    EXPECT_FALSE(DestroyMenu(gone));
    EXPECT_FALSE(AppendMenu(gone, MF_STRING, 1, QStringLiteral("x")));
    EXPECT_EQ(GetMenuItemCount(gone), -1);
    EXPECT_EQ(TrackPopupMenu(gone, TPM_RETURNCMD, 0, 0, 0, Probe->Handle()), 0);
    UINT_PTR id = 0;
    String text;
    EXPECT_FALSE(GetMenuItem(Menu, 2, id, text));
}

} // namespace
