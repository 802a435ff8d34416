// Resizing the popup by the user: the popup form's own bottom-right corner (when a drop-down
// makes it sizeable) and the footer's size grip both size the popup through the platform, which
// tells the drop-down while it does (DropDownFormSizing); the size survives the next opening.
#include "AdvDropDown.h"

#include "ExtPanels.h"
#include "Forms.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

namespace {

class TSizedDropDown : public TAdvCustomDropDown {
public:
    explicit TSizedDropDown(TComponent* AOwner) : TAdvCustomDropDown(AOwner) {
        FPanel = new TPanel(this);
        FPanel->SetBounds(0, 0, 150, 100);
        SetControl(FPanel);
    }
    int Sizings = 0;

protected:
    void DropDownFormSizing(TObject* Sender) override {
        TAdvCustomDropDown::DropDownFormSizing(Sender);
        ++Sizings;
    }

private:
    TPanel* FPanel;
};

class DropDownResize : public ::testing::Test {
protected:
    void SetUp() override {
        Form = new TForm(nullptr);
        Form->SetBounds(100, 100, 400, 300);
        Form->Show();
        DD = new TSizedDropDown(Form);
        DD->SetParent(Form);
        DD->SetBounds(20, 30, 200, 21);
        DD->SetFocus();
    }
    void TearDown() override {
        SimulateMouseUp(Form, mbLeft, {}, 1, 1);
        ReleaseCapture();
        TObject::Free(Form);
    }
    TDropDownForm* Popup() const { return DD->DropDownForm(); }

    TForm* Form = nullptr;
    TSizedDropDown* DD = nullptr;
};

TEST_F(DropDownResize, ThePopupsOwnCornerSizesIt) {
    DD->DropDownFooter()->SetVisible(false);
    Popup()->SetSizeable(true);
    DD->ShowDropDown();
    ASSERT_TRUE(DD->DroppedDown());
    const int w = Popup()->Width(), h = Popup()->Height();
    // The press lands on the form itself: its corner is no client area.
    SimulateMouseMove(Popup(), {}, w - 3, h - 3);
    SimulateMouseDown(Popup(), mbLeft, {}, w - 3, h - 3);
    SimulateMouseMove(Popup(), {ssLeft}, w + 27, h + 17);
    EXPECT_EQ(Popup()->Width(), w + 30);
    EXPECT_EQ(Popup()->Height(), h + 20);
    EXPECT_EQ(DD->Sizings, 1);
    SimulateMouseUp(Popup(), mbLeft, {}, w + 27, h + 17);
    EXPECT_TRUE(DD->DroppedDown());

    // The user's size comes back at the next opening.
    DD->HideDropDown(false);
    DD->ShowDropDown();
    EXPECT_EQ(Popup()->Width(), w + 30);
    EXPECT_EQ(Popup()->Height(), h + 20);
}

TEST_F(DropDownResize, WithoutSizeableTheCornerIsNoHandle) {
    DD->DropDownFooter()->SetVisible(false);
    DD->ShowDropDown();
    const int w = Popup()->Width(), h = Popup()->Height();
    SimulateMouseDown(Popup(), mbLeft, {}, w - 3, h - 3);
    SimulateMouseMove(Popup(), {ssLeft}, w + 27, h + 17);
    SimulateMouseUp(Popup(), mbLeft, {}, w + 27, h + 17);
    EXPECT_EQ(Popup()->Width(), w);
    EXPECT_EQ(DD->Sizings, 0);
}

TEST_F(DropDownResize, TheFooterGripSizesThroughThePlatformToo) {
    DD->DropDownFooter()->SetVisible(true);
    DD->ShowDropDown();
    TAdvFooter* footer = Popup()->Footer();
    ASSERT_NE(footer, nullptr);
    const int w = Popup()->Width(), h = Popup()->Height();
    const int x = footer->Width() - 5, y = footer->Height() - 5;
    SimulateMouseDown(footer, mbLeft, {}, x, y);
    SimulateMouseMove(footer, {ssLeft}, x + 40, y + 10);
    EXPECT_EQ(Popup()->Width(), w + 40);
    EXPECT_EQ(Popup()->Height(), h + 10);
    EXPECT_EQ(DD->Sizings, 1);
    SimulateMouseUp(footer, mbLeft, {}, x + 40, y + 10);
    SimulateMouseMove(footer, {}, 5, 5);
    EXPECT_EQ(Popup()->Width(), w + 40);
}

} // namespace
