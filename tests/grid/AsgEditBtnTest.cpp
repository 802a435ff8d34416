// The edit with a button and the value-plus-unit edit: the unit split (list order decides), the
// unit menu and its WM_COMMAND choice, F4 with and without Ctrl or Alt, EditorEnabled off, the
// layout of holder, text and unit, and the coloured button face on pixels.
#include "AsgEditBtn.h"

#include "Forms.h"
#include "Menus.h"
#include "TestSupport.h"

#include <QApplication>
#include <QClipboard>
#include <QImage>
#include <gtest/gtest.h>

namespace {

class EditBtn : public ::testing::Test {
protected:
    void SetUp() override {
        Form = new TForm(nullptr);
        Form->SetBounds(100, 100, 320, 200);
        Form->Show();
    }
    void TearDown() override {
        SetTrackPopupMenuHook(nullptr);
        TObject::Free(Form);
    }

    template <class T = TAsgEditBtn> T* Add() {
        auto* e = new T(Form);
        e->SetParent(Form);
        e->SetBounds(10, 10, 150, 24);
        return e;
    }
    static TAsgUnitEditBtn* WithUnits(TAsgUnitEditBtn* E, std::initializer_list<const char*> Units) {
        for (const char* u : Units) E->Units()->Add(QString::fromLatin1(u));
        return E;
    }

    TForm* Form = nullptr;
};

// ---- The unit split ----

TEST_F(EditBtn, TheFirstUnitInListOrderThatEndsTheValueWins) {
    const struct {
        const char* Name;
        std::initializer_list<const char*> Units;
        const char* Value;
        const char* Text;
        const char* Unit;
    } cases[] = {
        {"KgFirst", {"kg", "g"}, "12 kg", "12 ", "kg"},
        {"KgFirstGrams", {"kg", "g"}, "12 g", "12 ", "g"},
        {"NoUnitLeavesBoth", {"kg", "g"}, "12 lb", "old", "u"},
        {"GFirstTakesTheK", {"g", "kg"}, "12 kg", "12 k", "g"},
        {"FirstOccurrenceOnly", {"m", "mm"}, "5 mm", "5 ", "mm"},
        {"NoBlank", {"%"}, "50%", "50", "%"},
        {"UnitLongerThanValue", {"kg"}, "g", "old", "u"},
        {"EmptyValue", {"kg"}, "", "old", "u"},
        {"UnitAlone", {"kg"}, "kg", "", "kg"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        auto* e = WithUnits(Add<TAsgUnitEditBtn>(), c.Units);
        e->SetText(QStringLiteral("old"));
        e->SetUnitID(QStringLiteral("u"));
        e->SetTextAndUnit(QString::fromLatin1(c.Value));
        EXPECT_EQ(e->Text(), QString::fromLatin1(c.Text));
        EXPECT_EQ(e->UnitID(), QString::fromLatin1(c.Unit));
        EXPECT_EQ(e->TextAndUnit(), QString::fromLatin1(c.Text) + QString::fromLatin1(c.Unit));
        TObject::Free(e);
    }
}

// ---- The unit menu ----

TEST_F(EditBtn, TheUnitMenuChoiceArrivesAsWmCommand) {
    auto* e = WithUnits(Add<TAsgUnitEditBtn>(), {"kg", "g", "t"});
    e->SetUnitID(QStringLiteral("kg"));
    std::vector<TObject*> clicks;
    std::vector<String> changes;
    e->OnClickBtn = [&](TObject* Sender) { clicks.push_back(Sender); };
    e->OnUnitChanged = [&](TObject* Sender, const String& Unit) {
        EXPECT_EQ(Sender, e);
        changes.push_back(Unit);
    };
    UINT_PTR choice = 2;
    std::vector<String> offered;
    TPoint shownAt;
    SetTrackPopupMenuHook([&](HMENU M, int X, int Y) {
        offered.clear();
        for (int i = 0; i < GetMenuItemCount(M); ++i) {
            UINT_PTR id = 0;
            String text;
            GetMenuItem(M, i, id, text);
            EXPECT_EQ(id, UINT_PTR(i + 1));
            offered.push_back(text);
        }
        shownAt = TPoint(X, Y);
        return choice;
    });
    SimulateClick(e->Button()->Button(), 4, 4);
    EXPECT_EQ(clicks, std::vector<TObject*>{e}) << "the unit edit clicks as itself";
    EXPECT_EQ(offered, (std::vector<String>{QStringLiteral("kg"), QStringLiteral("g"), QStringLiteral("t")}));
    const TPoint origin = Form->ClientToScreen(TPoint(e->Left(), e->Top()));
    EXPECT_EQ(shownAt, TPoint(origin.X + e->ClientWidth() - 15, origin.Y + e->ClientHeight()));
    ASSERT_TRUE(ProcessMessagesUntil([&] { return !changes.empty(); }));
    EXPECT_EQ(e->UnitID(), QStringLiteral("g"));
    EXPECT_EQ(changes, std::vector<String>{QStringLiteral("g")});

    // The unit already shown: no change event. An id outside the list: nothing.
    e->ClickButton(e);
    Application->ProcessMessages();
    e->Perform(WM_COMMAND, MAKEWPARAM(9, 0), 0);
    e->Perform(WM_COMMAND, MAKEWPARAM(0, 0), 0);
    EXPECT_EQ(changes.size(), 1u);
    EXPECT_EQ(e->UnitID(), QStringLiteral("g"));
    // EN_CHANGE is no menu choice.
    e->Perform(WM_COMMAND, MAKEWPARAM(1, EN_CHANGE), 0);
    EXPECT_EQ(e->UnitID(), QStringLiteral("g"));
    choice = 0; // dismissed
    e->ClickButton(e);
    Application->ProcessMessages();
    EXPECT_EQ(e->UnitID(), QStringLiteral("g"));
}

// ---- Keys and the button ----

TEST_F(EditBtn, F4ClicksTheButtonUnlessCtrlOrAltIsHeld) {
    const struct {
        const char* Name;
        TShiftState Shift;
        bool Clicks;
    } cases[] = {
        {"F4", {}, true},           {"Shift+F4", {ssShift}, true},           {"Ctrl+F4", {ssCtrl}, false},
        {"Alt+F4", {ssAlt}, false}, {"Ctrl+Alt+F4", {ssCtrl, ssAlt}, false},
    };
    auto* e = Add();
    std::vector<TObject*> senders;
    e->OnClickBtn = [&](TObject* Sender) { senders.push_back(Sender); };
    e->SetFocus();
    ASSERT_TRUE(e->Focused());
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        senders.clear();
        SimulateKey(e, VK_F4, c.Shift);
        EXPECT_EQ(senders, c.Clicks ? std::vector<TObject*>{e} : std::vector<TObject*>{});
    }
    senders.clear();
    SimulateClick(e->Button()->Button(), 4, 4);
    EXPECT_EQ(senders, std::vector<TObject*>{e->Button()}) << "a click comes from the holder";
    EXPECT_TRUE(e->Focused());
    SimulateClick(e->Button()->Button(), 4, 4, mbRight);
    EXPECT_EQ(senders.size(), 1u) << "only the left button clicks";
}

TEST_F(EditBtn, WithTheEditorDisabledTypingPastingAndCuttingDoNothing) {
    auto* e = Add();
    int clicks = 0;
    e->OnClickBtn = [&](TObject*) { ++clicks; };
    e->SetText(QStringLiteral("abc"));
    e->SetEditorEnabled(false);
    e->SetFocus();
    QApplication::clipboard()->setText(QStringLiteral("pasted"));
    e->SetSelStart(1);
    e->SetSelLength(1);
    SimulateText(e, QStringLiteral("x"));
    SimulateKey(e, 'V', {ssCtrl});
    SimulateKey(e, 'X', {ssCtrl});
    EXPECT_EQ(e->Text(), QStringLiteral("abc"));
    SimulateClick(e->Button()->Button(), 4, 4);
    EXPECT_EQ(clicks, 1);

    e->SetEditorEnabled(true);
    SimulateKey(e, 'V', {ssCtrl});
    EXPECT_EQ(e->Text(), QStringLiteral("apastedc"));
    e->SetReadOnly(true);
    e->SelectAll();
    SimulateKey(e, 'X', {ssCtrl});
    EXPECT_EQ(e->Text(), QStringLiteral("apastedc")) << "read-only: no cut";
}

// ---- Layout and looks ----

TEST_F(EditBtn, TheHolderTextAndUnitShareTheWidth) {
    auto* e = Add();
    TAsgEditButton* h = e->Button();
    EXPECT_EQ(e->Text(), QStringLiteral("0"));
    EXPECT_EQ(h->Parent(), e);
    EXPECT_EQ(h->BoundsRect(), TRect(150 - 18 - 5, 0, 150 - 5, 24 - 5));
    EXPECT_EQ(h->Button()->BoundsRect(), TRect(0, 0, 18, 19)) << "the button fills its holder";
    TRect r;
    e->Perform(EM_GETRECT, 0, reinterpret_cast<LPARAM>(&r));
    EXPECT_EQ(r, TRect(1, 1, e->ClientWidth() - (18 + 5), e->ClientHeight() + 1));
    e->SetButtonWidth(25);
    EXPECT_EQ(h->Width(), 25);
    EXPECT_EQ(e->ButtonWidth(), 25);
    e->SetHeight(3);
    EXPECT_EQ(e->Height(), e->MinHeight());

    auto* u = Add<TAsgUnitEditBtn>();
    EXPECT_TRUE(u->RightAlign());
    EXPECT_NE(u->WindowStyle() & ES_RIGHT, 0u);
    EXPECT_EQ(u->UnitSpace(), 20);
    u->Perform(EM_GETRECT, 0, reinterpret_cast<LPARAM>(&r));
    EXPECT_EQ(r.Right, u->ClientWidth() - (18 + 20 + 5) - 3);
    u->SetUnitSpace(30);
    u->Perform(EM_GETRECT, 0, reinterpret_cast<LPARAM>(&r));
    EXPECT_EQ(r.Right, u->ClientWidth() - (18 + 30 + 5) - 3);

    // The unit shows between the text and the button, from (client width - holder - 3 - space, 2).
    auto darkIn = [this, u](const TRect& Area) {
        const QImage img = u->GrabImage();
        const TPoint o = u->ClientToScreen(TPoint(0, 0));
        const TPoint w = Form->ClientToScreen(TPoint(u->Left(), u->Top()));
        int dark = 0;
        for (int y = Area.Top; y < Area.Bottom; ++y)
            for (int x = Area.Left; x < Area.Right; ++x)
                dark += qGray(img.pixel(x + o.X - w.X, y + o.Y - w.Y)) < 100;
        return dark;
    };
    const TRect unitArea(u->ClientWidth() - 18 - 3 - 30, 2, u->ClientWidth() - 18 - 3, u->ClientHeight());
    EXPECT_EQ(darkIn(unitArea), 0);
    u->SetUnitID(QStringLiteral("kg"));
    EXPECT_GT(darkIn(unitArea), 5);
}

// A holder colour fills the face; the caption stays black whatever the text colours say.
TEST_F(EditBtn, AColouredFaceWithABlackCaption) {
    auto* e = Add();
    TAsgEditButton* h = e->Button();
    h->ButtonColor = clYellow;
    h->ButtonColorDown = clRed;
    h->ButtonTextColor = clBlue;
    e->SetButtonCaption(QStringLiteral("W"));
    TAdvSpeedButton* b = h->Button();
    b->Font()->SetColor(clLime);
    const QImage up = b->PaintImage();
    bool black = false, blue = false, lime = false;
    for (int y = 0; y < up.height(); ++y)
        for (int x = 0; x < up.width(); ++x) {
            const QRgb p = up.pixel(x, y) & 0xFFFFFF;
            black |= p == 0;
            blue |= p == 0x0000FF;
            lime |= p == 0x00FF00;
        }
    EXPECT_TRUE(black);
    EXPECT_FALSE(blue);
    EXPECT_FALSE(lime);
    EXPECT_EQ(up.pixel(1, 1) & 0xFFFFFF, 0xFFFF00u);
    EXPECT_TRUE(b->Flat());
    SimulateMouseDown(b, mbLeft, {}, 3, 3);
    EXPECT_EQ(b->PaintImage().pixel(1, 1) & 0xFFFFFF, 0xFF0000u);
    SimulateMouseUp(b, mbLeft, {}, 3, 3);
    b->Perform(CM_MOUSEENTER);
    EXPECT_TRUE(b->Hot());
    b->Perform(CM_MOUSELEAVE);
    EXPECT_FALSE(b->Hot());
}

} // namespace
