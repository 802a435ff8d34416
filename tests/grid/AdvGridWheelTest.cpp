// The grid control's window procedure driven by messages and timer ticks: the wheel turned into
// selection moves, scrolling or zoom; panning with the wheel button (dead zone, one step per tick
// of the pan timer, the cursors and the glyph, and every way it ends); the editors' notifications.
#include "AdvGrid.h"

#include "Forms.h"
#include "GridCellEditors.h"
#include "StdCtrls.h"

#include <gtest/gtest.h>

#include <QCursor>
#include <QImage>
#include <QPixmap>
#include <QWidget>

namespace {

class AdvGridWheel : public ::testing::Test {
protected:
    void SetUp() override {
        Form = new TForm(nullptr);
        Form->SetBounds(100, 100, 600, 400);
        Grid = new TAdvStringGrid(Form);
        Grid->SetParent(Form);
        Grid->SetBounds(10, 10, 400, 250);
        Grid->SetColCount(12);
        Grid->SetRowCount(40);
        Form->Show();
        Application->ProcessMessages();
        Grid->SetFocus();
    }
    void TearDown() override { TObject::Free(Form); }

    // One notch toward the user (Down) or away from the user, with the key flags given.
    LRESULT Wheel(bool Down, Word Keys = 0) {
        return Grid->Perform(WM_MOUSEWHEEL, MAKEWPARAM(Keys, Word(SmallInt(Down ? -120 : 120))),
                             MAKELPARAM(150, 150));
    }
    int Lines() const { return Grid->WheelScrollLines(); }

    // Panning: the press point and the pointer in client coordinates.
    void PressWheelButton(int X, int Y) {
        Mouse->SetCursorPos(Grid->ClientToScreen(TPoint(X, Y)));
        Grid->Perform(WM_MBUTTONDOWN, MK_MBUTTON, MAKELPARAM(X, Y));
    }
    void PointerAt(int X, int Y) { Mouse->SetCursorPos(Grid->ClientToScreen(TPoint(X, Y))); }
    void PanTick() { Grid->Perform(WM_TIMER, TAdvStringGrid::PanTimerId, 0); }
    bool ShowsCursor(TCursor Id) {
        const QCursor shown = Grid->Widget()->cursor();
        const QCursor want = Screen->Cursors(Id);
        return shown.shape() == Qt::BitmapCursor && shown.hotSpot() == want.hotSpot() &&
               shown.pixmap().toImage() == want.pixmap().toImage();
    }

    TForm* Form = nullptr;
    TAdvStringGrid* Grid = nullptr;
};

// ---------------------------------------------------------------------------------------------
// The wheel

TEST_F(AdvGridWheel, WheelMovesTheSelectionByTheConfiguredStep) {
    ASSERT_GT(Lines(), 0);
    Grid->SetRow(5);
    Wheel(true);
    EXPECT_EQ(Grid->Row(), 5 + Lines());
    Wheel(false);
    EXPECT_EQ(Grid->Row(), 5);

    Grid->MouseActions()->WheelIncrement = 2;
    int downs = 0;
    Grid->OnMouseWheelDown = [&](TObject*, TShiftState, TPoint, bool&) { ++downs; };
    EXPECT_EQ(Wheel(true), 1);
    EXPECT_EQ(Grid->Row(), 7);
    EXPECT_EQ(downs, 1);

    // At the ends the move stops on the first data row and on the last one before the footers.
    Grid->SetFixedFooters(1);
    Grid->MouseActions()->WheelIncrement = 100;
    Wheel(true);
    EXPECT_EQ(Grid->Row(), Grid->RowCount() - 2);
    Wheel(false);
    EXPECT_EQ(Grid->Row(), Grid->FixedRows());
}

TEST_F(AdvGridWheel, WheelScrollsTheViewAndKeepsTheCurrentRow) {
    Grid->MouseActions()->SetWheelAction(waScroll);
    Grid->MouseActions()->WheelIncrement = 4;
    Grid->SetRow(2);
    Wheel(true);
    EXPECT_EQ(Grid->TopRow(), 1 + 4);
    EXPECT_EQ(Grid->Row(), 2);
    Wheel(false);
    Wheel(false);
    EXPECT_EQ(Grid->TopRow(), Grid->FixedRows()) << "never above the fixed rows";
    EXPECT_EQ(Grid->Row(), 2);
    for (int i = 0; i < 20; ++i) Wheel(true);
    EXPECT_EQ(Grid->TopRow(), Grid->RowCount() - Grid->VisibleRowCount());
}

TEST_F(AdvGridWheel, WheelDoesNothingWhenSwitchedOff) {
    Grid->SetRow(3);
    Grid->EnableWheel = false;
    int events = 0;
    Grid->OnMouseWheelDown = [&](TObject*, TShiftState, TPoint, bool&) { ++events; };
    Grid->OnMouseWheel = [&](TObject*, TShiftState, int, TPoint, bool&) { ++events; };
    Wheel(true);
    EXPECT_EQ(Grid->Row(), 3);
    EXPECT_EQ(Grid->TopRow(), 1);
    EXPECT_EQ(events, 0) << "not passed on";
}

TEST_F(AdvGridWheel, CtrlWheelZoomsWithinItsRange) {
    const int lines = Lines();
    ASSERT_GT(lines, 0);
    // A notch changes the zoom by the wheel lines; a step that would leave -10..10 is not taken.
    const int top = (10 / lines) * lines;
    Wheel(true, MK_CONTROL);
    EXPECT_EQ(Grid->ZoomFactor, lines <= 10 ? lines : 0);
    Wheel(false, MK_CONTROL);
    EXPECT_EQ(Grid->ZoomFactor, 0);
    for (int i = 0; i < 12; ++i) Wheel(true, MK_CONTROL);
    EXPECT_EQ(Grid->ZoomFactor, top);
    for (int i = 0; i < 24; ++i) Wheel(false, MK_CONTROL);
    EXPECT_EQ(Grid->ZoomFactor, -top);
    // Without IntelliZoom Ctrl changes nothing: the wheel moves the selection.
    Grid->IntelliZoom = false;
    Grid->SetRow(1);
    Wheel(true, MK_CONTROL);
    EXPECT_EQ(Grid->ZoomFactor, -top);
    EXPECT_EQ(Grid->Row(), 1 + lines);
}

TEST_F(AdvGridWheel, RefusedMoveLandsHalfWayAndScrollsOneRowUp) {
    Grid->MouseActions()->WheelIncrement = 5;
    Grid->SetTopRow(4);
    Grid->SetRow(6);
    Grid->OnSelectCell = [](TObject*, int, int ARow, bool& CanSelect) { CanSelect = ARow != 11; };
    Wheel(true);
    // 11 is refused: 5 / 2 = 2.5, to the even neighbour 2.
    EXPECT_EQ(Grid->Row(), 8);
    EXPECT_EQ(Grid->TopRow(), 3);
}

TEST_F(AdvGridWheel, WheelMethodsPassScrollingToTheEvents) {
    // The wheel methods the platform calls when the message is passed on: with waScroll only the
    // events decide.
    Grid->MouseActions()->SetWheelAction(waScroll);
    bool downAsked = false;
    Grid->OnMouseWheelDown = [&](TObject*, TShiftState, TPoint, bool& Handled) {
        downAsked = true;
        Handled = true;
    };
    Grid->SetRow(4);
    EXPECT_EQ(Grid->Perform(CM_MOUSEWHEEL, MAKEWPARAM(0, Word(SmallInt(-120))), 0), 1);
    EXPECT_TRUE(downAsked);
    EXPECT_EQ(Grid->Row(), 4);
    // With waMoveSelection the cell store moves one row.
    Grid->MouseActions()->SetWheelAction(waMoveSelection);
    Grid->OnMouseWheelDown = nullptr;
    Grid->Perform(CM_MOUSEWHEEL, MAKEWPARAM(0, Word(SmallInt(-120))), 0);
    EXPECT_EQ(Grid->Row(), 5);
    Grid->Perform(CM_MOUSEWHEEL, MAKEWPARAM(0, Word(SmallInt(120))), 0);
    EXPECT_EQ(Grid->Row(), 4);
}

// ---------------------------------------------------------------------------------------------
// Panning

TEST_F(AdvGridWheel, PanningMovesOneStepPerTickOutsideTheDeadZone) {
    Grid->IntelliPan = ipBoth;
    Grid->SetCol(3);
    Grid->SetRow(5);
    PressWheelButton(150, 100);
    ASSERT_TRUE(Grid->WheelPanning());
    EXPECT_EQ(Mouse->Capture(), Grid->Handle());
    EXPECT_TRUE(ShowsCursor(TAdvStringGrid::crPanNeutral));

    // Within 5 pixels nothing moves.
    PointerAt(155, 95);
    PanTick();
    EXPECT_EQ(Grid->Col(), 3);
    EXPECT_EQ(Grid->Row(), 5);
    EXPECT_TRUE(ShowsCursor(8000));

    // 6 pixels to the right: one column per tick.
    PointerAt(156, 100);
    PanTick();
    EXPECT_EQ(Grid->Col(), 4);
    EXPECT_TRUE(ShowsCursor(8003));
    PanTick();
    EXPECT_EQ(Grid->Col(), 5);
    EXPECT_EQ(Grid->Row(), 5);

    // Far below and to the left: one row and one column per tick, whatever the distance.
    PointerAt(20, 240);
    PanTick();
    EXPECT_EQ(Grid->Col(), 4);
    EXPECT_EQ(Grid->Row(), 6);
    EXPECT_TRUE(ShowsCursor(8008));

    // The release of the wheel button keeps panning; a key ends it.
    Grid->Perform(WM_MBUTTONUP, 0, MAKELPARAM(20, 240));
    EXPECT_TRUE(Grid->WheelPanning());
    EXPECT_EQ(Mouse->Capture(), Grid->Handle());
    Grid->Perform(WM_KEYDOWN, VK_SHIFT, 0);
    EXPECT_FALSE(Grid->WheelPanning());
    EXPECT_EQ(Mouse->Capture(), HWND(0));
    EXPECT_FALSE(ShowsCursor(8008));
    const int row = Grid->Row();
    PanTick();
    EXPECT_EQ(Grid->Row(), row);
}

TEST_F(AdvGridWheel, PanningFollowsItsDirectionsAndScrollMode) {
    // ipVertical (the default) never moves sideways.
    Grid->SetCol(3);
    Grid->SetRow(5);
    PressWheelButton(150, 100);
    PointerAt(250, 20);
    PanTick();
    EXPECT_EQ(Grid->Col(), 3);
    EXPECT_EQ(Grid->Row(), 4);
    EXPECT_TRUE(ShowsCursor(8004));
    Grid->Perform(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(250, 20));
    Grid->Perform(WM_LBUTTONUP, 0, MAKELPARAM(250, 20));
    EXPECT_FALSE(Grid->WheelPanning());

    // waScroll scrolls the view instead of moving the current cell.
    Grid->MouseActions()->SetWheelAction(waScroll);
    Grid->IntelliPan = ipHorizontal;
    Grid->SetRow(5);
    const int col = Grid->Col(), top = Grid->TopRow(), left = Grid->LeftCol();
    PressWheelButton(150, 100);
    PointerAt(300, 200);
    PanTick();
    EXPECT_EQ(Grid->LeftCol(), left + 1);
    EXPECT_EQ(Grid->TopRow(), top);
    EXPECT_EQ(Grid->Col(), col);
    Grid->Perform(WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(300, 200));
    Grid->Perform(WM_RBUTTONUP, 0, MAKELPARAM(300, 200));
    EXPECT_FALSE(Grid->WheelPanning());

    // ipNone, or no rows beyond the fixed ones: no panning.
    Grid->IntelliPan = ipNone;
    PressWheelButton(150, 100);
    EXPECT_FALSE(Grid->WheelPanning());
    Grid->Perform(WM_MBUTTONUP, 0, MAKELPARAM(150, 100));
    Grid->IntelliPan = ipVertical;
    Grid->SetFixedRowAlways(true);
    Grid->SetRowCount(1);
    ASSERT_EQ(Grid->FixedRows(), 1);
    PressWheelButton(150, 100);
    EXPECT_FALSE(Grid->WheelPanning());
}

TEST_F(AdvGridWheel, PanGlyphShowsAtThePressPoint) {
    PressWheelButton(100, 80);
    ASSERT_TRUE(Grid->WheelPanning());
    EXPECT_EQ(Grid->WheelPanPos(), TPoint(100, 80));
    const QImage& back = Grid->BackImage();
    // The glyph's background shows white, its centre dot black.
    EXPECT_EQ(QColor(back.pixel(100, 80)), QColor(Qt::white));
    EXPECT_EQ(QColor(back.pixel(113, 93)), QColor(Qt::black));
    Grid->Perform(WM_KEYDOWN, VK_ESCAPE, 0);
    Application->ProcessMessages();
    Grid->Update();
    EXPECT_NE(QColor(Grid->BackImage().pixel(113, 93)), QColor(Qt::black)) << "the glyph is erased";
}

// Panning used to end only at a press or a plain key: whatever else takes the window or the
// mouse away ends it too, so the pan cursor and timer never stay behind.
TEST_F(AdvGridWheel, PanningEndsWhenTheMouseOrTheWindowIsTakenAway) {
    auto* other = new TEdit(Form);
    other->SetParent(Form);
    other->SetBounds(10, 300, 100, 24);
    struct TCase {
        const char* Name;
        std::function<void()> Take;
    };
    const TCase cases[] = {
        {"system key", [&] { Grid->Perform(WM_SYSKEYDOWN, VK_MENU, 0); }},
        {"cancel mode", [&] { Grid->Perform(WM_CANCELMODE, 0, 0); }},
        {"capture taken", [&] { SetCapture(other->Handle()); }},
    };
    for (const TCase& c : cases) {
        PressWheelButton(150, 100);
        ASSERT_TRUE(Grid->WheelPanning()) << c.Name;
        c.Take();
        EXPECT_FALSE(Grid->WheelPanning()) << c.Name;
        EXPECT_NE(Mouse->Capture(), Grid->Handle()) << c.Name;
        EXPECT_FALSE(ShowsCursor(TAdvStringGrid::crPanNeutral)) << c.Name;
        ReleaseCapture();
    }
    // The grid going away while panning leaves no capture behind.
    PressWheelButton(150, 100);
    ASSERT_TRUE(Grid->WheelPanning());
    TObject::Free(Grid);
    Grid = nullptr;
    EXPECT_EQ(Mouse->Capture(), HWND(0));
}

TEST_F(AdvGridWheel, PanningKeepsTheHintSetting) {
    Grid->SetShowHint(false);
    PressWheelButton(150, 100);
    EXPECT_FALSE(Grid->ShowHint());
    Grid->Perform(WM_KEYDOWN, VK_ESCAPE, 0);
    EXPECT_FALSE(Grid->ShowHint()) << "no hints switched on for a grid without them";
    Grid->SetShowHint(true);
    PressWheelButton(150, 100);
    EXPECT_FALSE(Grid->ShowHint());
    Grid->Perform(WM_KEYDOWN, VK_ESCAPE, 0);
    EXPECT_TRUE(Grid->ShowHint());
}

// ---------------------------------------------------------------------------------------------
// Notifications of the editors

TEST_F(AdvGridWheel, ComboNotificationsReachTheGridEventsOnce) {
    TGridCombo* combo = Grid->Combobox();
    ASSERT_NE(combo, nullptr);
    combo->SetParent(Grid);
    Grid->SetCol(2);
    Grid->SetRow(3);
    int drops = 0, closes = 0, comboDrops = 0;
    Grid->OnComboDropDown = [&](TObject*, int ARow, int ACol) {
        ++drops;
        EXPECT_EQ(ARow, 3);
        EXPECT_EQ(ACol, 2);
    };
    Grid->OnComboCloseUp = [&](TObject*, int, int) { ++closes; };
    combo->OnDropDown = [&](TObject*) { ++comboDrops; };
    Grid->Perform(WM_COMMAND, MAKEWPARAM(0, CBN_DROPDOWN), LPARAM(combo->Handle()));
    EXPECT_EQ(drops, 1);
    EXPECT_EQ(comboDrops, 1) << "the combo hears its own notification once";
    Grid->Perform(WM_COMMAND, MAKEWPARAM(0, CBN_CLOSEUP), LPARAM(combo->Handle()));
    EXPECT_EQ(closes, 1);

    // An edit change of the combo reports its text with no item.
    combo->SetText("typed");
    std::vector<int> items;
    Grid->OnComboChange = [&](TObject*, int, int, int AItemIndex, const String& ASelection) {
        items.push_back(AItemIndex);
        EXPECT_EQ(ASelection, "typed");
    };
    Grid->Perform(WM_COMMAND, MAKEWPARAM(0, CBN_EDITCHANGE), LPARAM(combo->Handle()));
    EXPECT_EQ(items, std::vector<int>{-1});
}

TEST_F(AdvGridWheel, EditLinkProcedureWantsTabsOnlyWithGoTabs) {
    struct TLinkGrid : TAdvStringGrid {
        using TAdvStringGrid::EditLinkWindowProc;
        using TAdvStringGrid::FGridControlWndProc;
        using TAdvStringGrid::TAdvStringGrid;
    };
    auto* g = new TLinkGrid(Form);
    int passed = 0;
    g->FGridControlWndProc = [&](TMessage& M) {
        ++passed;
        M.Result = DLGC_WANTARROWS;
    };
    TMessage m(WM_GETDLGCODE, 0, 0);
    g->EditLinkWindowProc(m);
    EXPECT_EQ(passed, 1);
    TGridOptions opts = g->Options();
    opts.insert(goTabs);
    g->SetOptions(opts);
    TMessage t(WM_GETDLGCODE, 0, 0);
    g->EditLinkWindowProc(t);
    EXPECT_EQ(passed, 1);
    EXPECT_EQ(t.Result, 0x83);
}

} // namespace
