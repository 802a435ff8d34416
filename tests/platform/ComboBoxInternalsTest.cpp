// The combo box's platform behaviour: list notifications reflected through the parent, dropped
// width and item heights, the edit part's selection and window, the wheel through the window
// procedure, and the face painted through WM_PAINT / WM_NCPAINT.
#include "Forms.h"
#include "Graphics.h"
#include "Menus.h"
#include "StdCtrls.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QImage>
#include <QLineEdit>

#include "ControlImage.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

// A combo box that records what reaches its window procedure.
class TProbeCombo : public TComboBox {
public:
    using TComboBox::TComboBox;
    std::vector<Word> Commands;
    int Wheels = 0;
    bool ExcludeButton = false;
    TColor NCColor = clNone;

    void WndProc(TMessage& Message) override {
        if (Message.Msg == CN_COMMAND) Commands.push_back(HIWORD(Message.WParam));
        if (Message.Msg == WM_MOUSEWHEEL) ++Wheels;
        if (Message.Msg == WM_PAINT && ExcludeButton) {
            // Paint before the platform, and let it paint only left of the button.
            auto* dc = reinterpret_cast<TCanvas*>(Message.WParam);
            dc->Brush()->SetColor(clLime);
            dc->FillRect(Rect(0, 0, Width(), Height()));
            dc->ExcludeClipRect(Rect(Width() - 20, 0, Width(), Height()));
        }
        TComboBox::WndProc(Message);
        if (Message.Msg == WM_NCPAINT && NCColor != clNone) {
            auto* dc = reinterpret_cast<TCanvas*>(Message.WParam);
            dc->Brush()->SetColor(NCColor);
            dc->FrameRect(Rect(0, 0, Width(), Height()));
        }
    }
};

class ComboInternalsTest : public ::testing::Test {
protected:
    void SetUp() override {
        Form = new TForm(nullptr);
        Form->SetBounds(100, 100, 400, 300);
        Combo = new TProbeCombo(Form);
        Combo->SetParent(Form);
        Combo->SetBounds(10, 10, 145, 21);
        for (const char* s : {"Apple", "Apricot", "Banana"}) Combo->Items()->Add(s);
        Form->Show();
    }
    void TearDown() override { TObject::Free(Form); }
    TForm* Form = nullptr;
    TProbeCombo* Combo = nullptr;
};

TEST_F(ComboInternalsTest, OpeningAndClosingComeBackAsCnCommand) {
    int drops = 0, closes = 0;
    Combo->OnDropDown = [&](TObject*) { ++drops; };
    Combo->OnCloseUp = [&](TObject*) { ++closes; };
    Combo->SetDroppedDown(true);
    EXPECT_TRUE(Combo->DroppedDown());
    EXPECT_EQ(Combo->Perform(CB_GETDROPPEDSTATE), 1);
    EXPECT_EQ(drops, 1);
    EXPECT_EQ(closes, 0);
    Combo->Perform(CB_SHOWDROPDOWN, 0);
    EXPECT_FALSE(Combo->DroppedDown());
    EXPECT_EQ(closes, 1);
    EXPECT_EQ(Combo->Commands, (std::vector<Word>{CBN_DROPDOWN, CBN_CLOSEUP}));
    // Closing a list that is not open tells nobody.
    Combo->SetDroppedDown(false);
    EXPECT_EQ(closes, 1);
}

TEST_F(ComboInternalsTest, DroppedWidthIsAtLeastTheControlsWidth) {
    EXPECT_EQ(Combo->Perform(CB_GETDROPPEDWIDTH), 145);
    Combo->Perform(CB_SETDROPPEDWIDTH, 300);
    EXPECT_EQ(Combo->Perform(CB_GETDROPPEDWIDTH), 300);
    Combo->SetDroppedDown(true);
    auto* q = static_cast<QComboBox*>(Combo->NativeWidget());
    EXPECT_GE(q->view()->parentWidget()->width(), 300);
    Combo->SetDroppedDown(false);
    Combo->Perform(CB_SETDROPPEDWIDTH, 50);
    EXPECT_EQ(Combo->Perform(CB_GETDROPPEDWIDTH), 145);
}

TEST_F(ComboInternalsTest, ItemHeightMinusOneIsTheEditPart) {
    EXPECT_EQ(Combo->Perform(CB_GETITEMHEIGHT, WPARAM(-1)), 15);
    EXPECT_GT(Combo->Perform(CB_GETITEMHEIGHT, 0), 0);
    Combo->Perform(CB_SETITEMHEIGHT, WPARAM(-1), 18);
    EXPECT_EQ(Combo->Height(), 24);
    EXPECT_EQ(Combo->Perform(CB_GETITEMHEIGHT, WPARAM(-1)), 18);
    EXPECT_EQ(Combo->Perform(CB_SETITEMHEIGHT, 0, 0), CB_ERR);
}

// What the user typed stays in the edit part, with its caret and selection, through updates of
// the control that rebuild the native widget's state; a text the code sets replaces it.
TEST_F(ComboInternalsTest, TypedTextSurvivesUpdatesOfTheControl) {
    struct Case {
        const char* Name;
        std::function<void(TComboBox*)> Update;
    } cases[] = {
        {"colour", [](TComboBox* c) { c->SetColor(clAqua); }},
        {"font", [](TComboBox* c) { c->Font()->SetSize(12); }},
        {"item added", [](TComboBox* c) { c->Items()->Add("Cherry"); }},
        {"drop-down count", [](TComboBox* c) { c->SetDropDownCount(3); }},
        {"no item chosen", [](TComboBox* c) { c->SetItemIndex(-1); }},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.Name);
        Combo->SetText("Apple");
        Combo->SetFocus();
        Application->ProcessMessages();
        Combo->SetSelStart(2);
        SimulateText(Combo, "xy");
        ASSERT_EQ(Combo->Text(), "Apxyple");
        k.Update(Combo);
        EXPECT_EQ(Combo->Text(), "Apxyple");
        EXPECT_EQ(Combo->SelStart(), 4);
        EXPECT_EQ(Combo->SelLength(), 0);
        Combo->Perform(CB_SETEDITSEL, 0, MAKELPARAM(1, 3));
        k.Update(Combo);
        EXPECT_EQ(Combo->SelText(), "px");
    }
    Combo->SetText("Banana");
    EXPECT_EQ(Combo->Text(), "Banana");
    Combo->SetItemIndex(0);
    EXPECT_EQ(Combo->Text(), "Apple");
}

TEST_F(ComboInternalsTest, EditSelectionBySetEditSel) {
    Combo->SetText("Apricot");
    Combo->Perform(CB_SETEDITSEL, 0, MAKELPARAM(2, 5));
    EXPECT_EQ(Combo->SelStart(), 2);
    EXPECT_EQ(Combo->SelLength(), 3);
    EXPECT_EQ(Combo->SelText(), "ric");
    DWORD start = 0, end = 0;
    Combo->Perform(CB_GETEDITSEL, WPARAM(&start), LPARAM(&end));
    EXPECT_EQ(start, 2u);
    EXPECT_EQ(end, 5u);
    // End -1 selects to the end.
    Combo->Perform(CB_SETEDITSEL, 0, MAKELPARAM(4, -1));
    EXPECT_EQ(Combo->SelText(), "cot");
    // A drop-down list has no edit part.
    Combo->SetStyle(csDropDownList);
    EXPECT_EQ(Combo->Perform(CB_GETEDITSEL), CB_ERR);
}

TEST_F(ComboInternalsTest, TheEditIsTheFirstChildWindowAndAnswersCharFromPos) {
    Combo->SetText("Apricot");
    const HWND edit = GetWindow(Combo->Handle(), GW_CHILD);
    ASSERT_NE(edit, 0u);
    const TRect r = FindControl(edit)->BoundsRect();
    EXPECT_GT(r.Width(), 50);
    // Far right of the text: after its last character; the left edge: before the first.
    EXPECT_EQ(LOWORD(uintptr_t(SendMessage(edit, EM_CHARFROMPOS, 0, MAKELPARAM(r.Width() - 2, 5)))), 7);
    EXPECT_EQ(LOWORD(uintptr_t(SendMessage(edit, EM_CHARFROMPOS, 0, MAKELPARAM(0, 5)))), 0);
    const int mid = int(LOWORD(uintptr_t(SendMessage(edit, EM_CHARFROMPOS, 0, MAKELPARAM(20, 5)))));
    EXPECT_GT(mid, 0);
    EXPECT_LT(mid, 7);
    EXPECT_EQ(SendMessage(edit, EM_CHARFROMPOS, 0, MAKELPARAM(r.Width() + 40, 5)), -1);
    // A drop-down list has no edit window.
    Combo->SetStyle(csDropDownList);
    EXPECT_EQ(GetWindow(Combo->Handle(), GW_CHILD), 0u);
}

TEST_F(ComboInternalsTest, WheelReachesTheWindowProcedureAndStepsTheSelection) {
    Combo->SetStyle(csDropDownList);
    Combo->SetItemIndex(0);
    int changes = 0;
    Combo->OnChange = [&](TObject*) { ++changes; };
    Combo->SetFocus();
    SimulateWheel(Combo, -WHEEL_DELTA, {}, 130, 10);
    EXPECT_EQ(Combo->Wheels, 1);
    EXPECT_EQ(Combo->ItemIndex(), 1);
    SimulateWheel(Combo, WHEEL_DELTA, {}, 130, 10);
    SimulateWheel(Combo, WHEEL_DELTA, {}, 130, 10);
    EXPECT_EQ(Combo->ItemIndex(), 0);
    EXPECT_EQ(changes, 2);
    EXPECT_EQ(Combo->Text(), "Apple");
}

TEST_F(ComboInternalsTest, DefaultFaceIsQtsComboBox) {
    Combo->SetStyle(csDropDownList);
    Combo->SetItemIndex(2);
    QComboBox plain;
    plain.addItems({"Apple", "Apricot", "Banana"});
    plain.setCurrentIndex(2);
    plain.setFont(Combo->NativeWidget()->font());
    plain.setPalette(Combo->NativeWidget()->palette());
    plain.resize(145, 21);
    const QImage expected = plain.grab().toImage().convertToFormat(QImage::Format_RGB32);
    const QImage actual = ControlImage(Combo).convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(actual.size(), expected.size());
    EXPECT_EQ(actual, expected);
}

TEST_F(ComboInternalsTest, PaintHooksRunAroundThePlatformPainting) {
    Combo->SetStyle(csDropDownList);
    Combo->ExcludeButton = true;
    Combo->NCColor = clRed;
    const QImage img = ControlImage(Combo);
    // The handler's fill stays in the excluded button area; the platform painted the rest.
    EXPECT_EQ(img.pixel(135, 10) & 0xFFFFFF, 0x00FF00u);
    EXPECT_NE(img.pixel(60, 10) & 0xFFFFFF, 0x00FF00u);
    // WM_NCPAINT draws after, in window coordinates.
    EXPECT_EQ(img.pixel(0, 0) & 0xFFFFFF, 0xFF0000u);
    EXPECT_EQ(img.pixel(144, 20) & 0xFFFFFF, 0xFF0000u);
}

TEST(RawPopupMenu, ChoiceArrivesAsWmCommandWithItsId) {
    auto* form = new TForm(nullptr);
    struct TOwner : TWinControl {
        using TWinControl::TWinControl;
        std::vector<Word> Ids;
        void DefaultHandler(TMessage& M) override {
            if (M.Msg == WM_COMMAND) Ids.push_back(LOWORD(M.WParam));
            TWinControl::DefaultHandler(M);
        }
    };
    auto* owner = new TOwner(form);
    owner->SetParent(form);
    HMENU menu = CreatePopupMenu();
    for (int i = 1; i <= 3; ++i) AppendMenu(menu, MF_STRING, UINT_PTR(i), QStringLiteral("unit %1").arg(i));
    EXPECT_EQ(GetMenuItemCount(menu), 3);
    TPoint at;
    SetTrackPopupMenuHook([&](HMENU M, int X, int Y) -> UINT_PTR {
        at = TPoint(X, Y);
        UINT_PTR id;
        String text;
        EXPECT_TRUE(GetMenuItem(M, 1, id, text));
        EXPECT_EQ(text, "unit 2");
        return id;
    });
    TrackPopupMenu(menu, TPM_LEFTALIGN | TPM_LEFTBUTTON, 40, 50, 0, owner->Handle());
    EXPECT_TRUE(DestroyMenu(menu));
    EXPECT_FALSE(DestroyMenu(menu));
    EXPECT_EQ(at, TPoint(40, 50));
    ASSERT_TRUE(ProcessMessagesUntil([&] { return !owner->Ids.empty(); }));
    EXPECT_EQ(owner->Ids, std::vector<Word>{2});
    // Dismissed: nothing arrives; TPM_RETURNCMD answers the id instead.
    menu = CreatePopupMenu();
    AppendMenu(menu, MF_STRING, 7, "x");
    SetTrackPopupMenuHook([](HMENU, int, int) -> UINT_PTR { return 0; });
    EXPECT_EQ(TrackPopupMenu(menu, 0, 0, 0, 0, owner->Handle()), 1);
    SetTrackPopupMenuHook([](HMENU, int, int) -> UINT_PTR { return 7; });
    EXPECT_EQ(TrackPopupMenu(menu, TPM_RETURNCMD, 0, 0, 0, owner->Handle()), 7);
    SetTrackPopupMenuHook(nullptr);
    DestroyMenu(menu);
    Application->ProcessMessages();
    EXPECT_EQ(owner->Ids.size(), 1u);
    TObject::Free(form);
}

} // namespace
