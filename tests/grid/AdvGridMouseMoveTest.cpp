// The pointer moving over the grid control, driven by mouse messages: the hovered row and fixed
// cell and their looks, what a press would do at each place, selecting rows and columns by
// dragging over the fixed cells, the live visuals of a column move, the keys' row moves and wrap,
// and the cell rectangle as a floating window that never takes the activation.
#include "AdvGrid.h"

#include "ControlImage.h"
#include "Forms.h"
#include "Graphics.h"
#include "Messages.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

namespace {

// Opens the state the button handlers leave for the mouse movement.
class TMoveGrid : public TAdvStringGrid {
public:
    explicit TMoveGrid(TComponent* AOwner) : TAdvStringGrid(AOwner) {}
    using TAdvStringGrid::FMouseSelectStart;
    using TAdvStringGrid::Movecell;
    using TAdvStringGrid::MoveForm;
    using TAdvStringGrid::MoveOfsX;
    using TAdvStringGrid::MoveOfsY;
    TGridState State() const { return FGridState; }
};

class AdvGridMouseMove : public ::testing::Test {
protected:
    void SetUp() override {
        Form = new TForm(nullptr);
        Form->SetBounds(100, 100, 600, 400);
        Grid = new TMoveGrid(Form);
        Grid->SetParent(Form);
        Grid->SetBounds(10, 10, 400, 250);
        Grid->SetColCount(5);
        Grid->SetRowCount(8);
        for (int r = 0; r < 8; ++r)
            for (int c = 0; c < 5; ++c) Grid->SetCells(c, r, QStringLiteral("%1,%2").arg(c).arg(r));
        Form->Show();
        Application->ProcessMessages();
    }
    void TearDown() override {
        Screen->SetCursor(crDefault);
        TObject::Free(Form);
    }
    TPoint Center(int ACol, int ARow) const {
        const TRect r = Grid->CellRect(ACol, ARow);
        return TPoint((r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2);
    }
    void MoveTo(int ACol, int ARow, TShiftState Shift = {}) {
        const TPoint p = Center(ACol, ARow);
        SimulateMouseMove(Grid, Shift, p.X, p.Y);
    }
    TColor Pixel(int ACol, int ARow) {
        Application->ProcessMessages();
        const TRect r = Grid->CellRect(ACol, ARow);
        const QRgb p = ControlImage(Grid).pixel(r.Left + 3, r.Bottom - 3);
        return TColor(qRed(p) | (qGreen(p) << 8) | (qBlue(p) << 16));
    }
    void AddOption(TGridOption Option) {
        TGridOptions o = Grid->Options();
        o.insert(Option);
        Grid->SetOptions(o);
    }
    std::vector<int> Columns() {
        std::vector<int> cols;
        for (int d = 0; d < Grid->ColCount(); ++d)
            cols.push_back(Grid->Cells(Grid->RealColIndex(d), 1).section(u',', 0, 0).toInt());
        return cols;
    }

    TForm* Form = nullptr;
    TMoveGrid* Grid = nullptr;
};

} // namespace

TEST_F(AdvGridMouseMove, TheHoveredRowShowsItsColourUntilThePointerLeaves) {
    Grid->SetHoverRow(true);
    Grid->SetHoverRowColor(clLime);
    const TColor plain = Pixel(2, 3);
    ASSERT_NE(plain, clLime);

    MoveTo(2, 3);
    EXPECT_EQ(Grid->HoverRowIndex(), 3);
    EXPECT_EQ(Pixel(2, 3), clLime);
    EXPECT_EQ(Pixel(3, 3), clLime);

    MoveTo(2, 5);
    EXPECT_EQ(Grid->HoverRowIndex(), 5);
    EXPECT_EQ(Pixel(2, 3), plain);
    EXPECT_EQ(Pixel(2, 5), clLime);

    SimulateMouseLeave(Grid);
    EXPECT_EQ(Grid->HoverRowIndex(), -1);
    EXPECT_EQ(Pixel(2, 5), plain);
}

TEST_F(AdvGridMouseMove, TheHoveredFixedCellFollowsThePointerAndIsForgottenOnLeaving) {
    Grid->HoverFixedCells = hfAll;
    const TColor plain = Pixel(2, 0);
    MoveTo(2, 0);
    EXPECT_EQ(Grid->HoverFixedCell(), TPoint(2, 0));
    const TColor hovered = Pixel(2, 0);
    EXPECT_NE(hovered, plain);
    EXPECT_EQ(Pixel(3, 0), plain);

    MoveTo(3, 0);
    EXPECT_EQ(Grid->HoverFixedCell(), TPoint(3, 0));
    EXPECT_EQ(Pixel(2, 0), plain);
    EXPECT_EQ(Pixel(3, 0), hovered);

    SimulateMouseLeave(Grid);
    EXPECT_EQ(Grid->HoverFixedCell(), TPoint(-1, -1));
    EXPECT_EQ(Pixel(3, 0), plain);

    // Without hover cells nothing is remembered.
    Grid->HoverFixedCells = hfNone;
    MoveTo(2, 0);
    EXPECT_EQ(Grid->HoverFixedCell(), TPoint(-1, -1));
}

TEST_F(AdvGridMouseMove, AKeptHeaderHighlightOutlivesThePointerUntilItIsReset) {
    Grid->HoverFixedCells = hfAll;
    Grid->ControlLook()->SetFixedDropDownButton(true);
    bool asked = false;
    Grid->OnFixedDropDownClick = [&](TObject*, int ACol, int ARow, TPopupMenu*& Menu, bool& Keep) {
        asked = ACol == 2 && ARow == 0;
        Menu = nullptr; // no menu pops up
        Keep = true;
    };
    MoveTo(2, 0);
    const TRect r = Grid->CellRect(2, 0);
    SimulateMouseDown(Grid, mbLeft, {}, r.Right - 8, r.Top + 5);
    SimulateMouseUp(Grid, mbLeft, {}, r.Right - 8, r.Top + 5);
    EXPECT_TRUE(asked);
    SimulateMouseLeave(Grid);
    EXPECT_EQ(Grid->HoverFixedCell(), TPoint(2, 0));
    Grid->ResetFixedCellHighlight();
    EXPECT_EQ(Grid->HoverFixedCell(), TPoint(-1, -1));
}

TEST_F(AdvGridMouseMove, WhatAPressWouldDoFollowsThePlaceUnderThePointer) {
    Grid->MouseActions()->RowSelect = true;
    Grid->MouseActions()->ColSelect = true;
    Grid->MouseActions()->AllSelect = true;
    struct Case {
        const char* Name;
        int Col, Row;
        TMouseSelectMode Mode;
    };
    const Case cases[] = {
        {"row header", 0, 3, msRow},
        {"column header", 2, 0, msColumn},
        {"corner", 0, 0, msAll},
        {"data cell", 2, 3, msNormal},
    };
    for (const Case& c : cases) {
        MoveTo(c.Col, c.Row);
        EXPECT_EQ(Grid->MouseSelectMode(), c.Mode) << c.Name;
    }
    SimulateMouseLeave(Grid);
    EXPECT_EQ(Grid->MouseSelectMode(), msNormal);

    // Switched off, the fixed cells offer nothing.
    Grid->MouseActions()->RowSelect = false;
    MoveTo(0, 3);
    EXPECT_EQ(Grid->MouseSelectMode(), msNormal);
}

TEST_F(AdvGridMouseMove, DraggingOverTheFixedCellsSelectsWholeRowsOrColumns) {
    Grid->MouseActions()->RowSelect = true;
    Grid->MouseActions()->ColSelect = true;
    struct Case {
        const char* Name;
        int StartCol, StartRow; // where the press was (its row or column starts the selection)
        int ToCol, ToRow;       // where the pointer goes
        TGridRect Expected;
    };
    const Case cases[] = {
        {"rows down", 0, 2, 0, 5, TGridRect(1, 2, 4, 5)},
        {"rows up", 0, 5, 0, 3, TGridRect(1, 3, 4, 5)},
        {"rows up to the first data row", 0, 4, 0, 1, TGridRect(1, 1, 4, 4)},
        {"columns right", 1, 0, 3, 0, TGridRect(1, 1, 3, 7)},
        {"columns left", 4, 0, 2, 0, TGridRect(2, 1, 4, 7)},
    };
    for (const Case& c : cases) {
        SimulateMouseLeave(Grid);
        MoveTo(c.StartCol, c.StartRow);
        Grid->FMouseSelectStart = c.StartCol == 0 ? c.StartRow : c.StartCol; // as the press leaves it
        std::vector<TGridRect> changes;
        Grid->OnSelectionChanged = [&](TObject*, int L, int T, int R, int B) {
            changes.push_back(TGridRect(L, T, R, B));
        };
        MoveTo(c.ToCol, c.ToRow);
        const TGridRect s = Grid->Selection();
        EXPECT_EQ(s.Left, c.Expected.Left) << c.Name;
        EXPECT_EQ(s.Top, c.Expected.Top) << c.Name;
        EXPECT_EQ(s.Right, c.Expected.Right) << c.Name;
        EXPECT_EQ(s.Bottom, c.Expected.Bottom) << c.Name;
        ASSERT_FALSE(changes.empty()) << c.Name;
        EXPECT_EQ(changes.back().Top, c.Expected.Top) << c.Name;
        Grid->FMouseSelectStart = -1;
        Grid->OnSelectionChanged = nullptr;
    }

    // Over the header row the rows selected stay: never above the first data row.
    MoveTo(0, 4);
    Grid->FMouseSelectStart = 4;
    MoveTo(0, 2);
    MoveTo(0, 0);
    EXPECT_EQ(Grid->Selection().Top, 2);
    EXPECT_EQ(Grid->Selection().Bottom, 4);
}

TEST_F(AdvGridMouseMove, AColumnDragShowsTheDragButtonAndMovesTheColumnOnRelease) {
    AddOption(goColMoving);
    // The press on a header leaves the column to move and the offset of the press (button
    // handling).
    Grid->OnMouseDown = [this](TObject*, TMouseButton, TShiftState, int X, int Y) {
        int c = -1, r = -1;
        Grid->MouseToCell(X, Y, c, r);
        Grid->Movecell = c;
        Grid->MoveOfsX = X - Grid->CellRect(c, r).Left;
        Grid->MoveOfsY = Y - Grid->CellRect(c, r).Top;
    };
    std::vector<int> moving;
    Grid->OnColumnMoving = [&](TObject*, int ACol, bool&) { moving.push_back(ACol); };
    Grid->DragDropSettings()->SetShowCells(false);
    const TPoint from = Center(1, 0), to = Center(3, 0);
    SimulateMouseDown(Grid, mbLeft, {}, from.X, from.Y);
    ASSERT_EQ(Grid->State(), gsColMoving);
    SimulateMouseMove(Grid, {ssLeft}, from.X + 10, from.Y);
    SimulateMouseMove(Grid, {ssLeft}, to.X, to.Y);
    THeaderDragButton* button = Grid->MoveButton();
    ASSERT_NE(button, nullptr);
    EXPECT_TRUE(button->Visible());
    EXPECT_TRUE(button->Enabled());
    EXPECT_EQ(button->Caption(), QStringLiteral("1,0"));
    EXPECT_EQ(button->Width(), Grid->ColWidths(1));
    // The button keeps the press offset: its left edge stands where the header's did relative to
    // the pointer.
    EXPECT_EQ(button->Left(), to.X - (from.X - Grid->CellRect(1, 0).Left));
    EXPECT_EQ(Screen->Cursor(), crDrag);
    ASSERT_FALSE(moving.empty());
    EXPECT_EQ(moving.back(), 3);

    SimulateMouseUp(Grid, mbLeft, {}, to.X, to.Y);
    EXPECT_EQ(Columns(), (std::vector<int>{0, 2, 3, 1, 4}));

    // Showing the cells, the drag image follows the pointer instead, and the form stays active.
    Grid->DragDropSettings()->SetShowCells(true);
    Grid->MoveButton()->Hide();
    SimulateMouseDown(Grid, mbLeft, {}, from.X, from.Y);
    SimulateMouseMove(Grid, {ssLeft}, to.X, to.Y);
    ASSERT_NE(Grid->MoveForm, nullptr);
    EXPECT_TRUE(Grid->MoveForm->Visible());
    EXPECT_FALSE(Grid->MoveButton()->Visible());
    const TPoint screen = Grid->ClientToScreen(TPoint(to.X - Grid->MoveOfsX, to.Y - Grid->MoveOfsY));
    EXPECT_EQ(TPoint(Grid->MoveForm->Left(), Grid->MoveForm->Top()), screen);
    EXPECT_EQ(Grid->MoveForm->Width(), Grid->ColWidths(1) + 1);
    EXPECT_EQ(Screen->ActiveForm(), Form);
    SimulateMouseUp(Grid, mbLeft, {}, to.X, to.Y);
}

TEST_F(AdvGridMouseMove, ARefusedColumnMoveEndsAtTheNextMove) {
    AddOption(goColMoving);
    Grid->OnMouseDown = [this](TObject*, TMouseButton, TShiftState, int, int) { Grid->Movecell = 1; };
    Grid->OnColumnMove = [](TObject*, int, bool& Allow) { Allow = false; };
    const TPoint from = Center(1, 0), to = Center(3, 0);
    SimulateMouseDown(Grid, mbLeft, {}, from.X, from.Y);
    SimulateMouseMove(Grid, {ssLeft}, to.X, to.Y);
    EXPECT_EQ(Grid->State(), gsNormal);
    EXPECT_FALSE(Grid->MoveButton()->Visible());
    SimulateMouseUp(Grid, mbLeft, {}, to.X, to.Y);
    EXPECT_EQ(Columns(), (std::vector<int>{0, 1, 2, 3, 4}));
}

TEST_F(AdvGridMouseMove, CtrlUpAndDownMoveTheSelectedRows) {
    Grid->Navigation()->CursorMoveRows = true;
    Grid->SetFocus();
    // One row: it moves and the current row follows it.
    Grid->SetRow(3);
    SimulateKey(Grid, VK_DOWN, {ssCtrl});
    EXPECT_EQ(Grid->Cells(0, 4), QStringLiteral("0,3"));
    EXPECT_EQ(Grid->Row(), 4);
    SimulateKey(Grid, VK_UP, {ssCtrl});
    EXPECT_EQ(Grid->Cells(0, 3), QStringLiteral("0,3"));
    EXPECT_EQ(Grid->Row(), 3);

    // Three rows move together and stay selected.
    AddOption(goRangeSelect);
    Grid->SetSelection(TGridRect(1, 3, 4, 5));
    SimulateKey(Grid, VK_DOWN, {ssCtrl});
    EXPECT_EQ(Grid->Cells(0, 4), QStringLiteral("0,3"));
    EXPECT_EQ(Grid->Cells(0, 6), QStringLiteral("0,5"));
    EXPECT_EQ(Grid->Cells(0, 3), QStringLiteral("0,6"));
    const TGridRect s = Grid->Selection();
    EXPECT_EQ(TRect(s.Left, s.Top, s.Right, s.Bottom), TRect(1, 4, 4, 6));

    // At the edges nothing moves.
    Grid->SetSelection(TGridRect(1, 7, 1, 7));
    SimulateKey(Grid, VK_DOWN, {ssCtrl});
    EXPECT_EQ(Grid->Cells(0, 7), QStringLiteral("0,7"));
    Grid->SetSelection(TGridRect(1, 1, 1, 1));
    SimulateKey(Grid, VK_UP, {ssCtrl});
    EXPECT_EQ(Grid->Cells(0, 1), QStringLiteral("0,1"));
}

TEST_F(AdvGridMouseMove, ArrowsWrapAtTheEdgesWithLoopAndSnake) {
    Grid->SetFocus();
    struct Case {
        const char* Name;
        TCursorAdvance Advance;
        int Col, Row;
        Word Key;
        int ToCol, ToRow;
    };
    const Case cases[] = {
        {"loop left", caLoop, 1, 3, VK_LEFT, 4, 3},
        {"snake left", caSnake, 1, 3, VK_LEFT, 4, 2},
        {"snake left in the first data row", caSnake, 1, 1, VK_LEFT, 4, 1},
        {"loop right", caLoop, 4, 3, VK_RIGHT, 1, 3},
        {"snake right", caSnake, 4, 3, VK_RIGHT, 1, 4},
        {"loop down", caLoop, 2, 7, VK_DOWN, 2, 1},
        {"snake up", caSnake, 2, 1, VK_UP, 1, 7},
        {"default stays", caDefault, 1, 3, VK_LEFT, 1, 3},
    };
    for (const Case& c : cases) {
        Grid->Navigation()->CursorAdvance = c.Advance;
        Grid->SetCol(c.Col);
        Grid->SetRow(c.Row);
        SimulateKey(Grid, c.Key);
        EXPECT_EQ(Grid->Col(), c.ToCol) << c.Name;
        EXPECT_EQ(Grid->Row(), c.ToRow) << c.Name;
    }
}

TEST_F(AdvGridMouseMove, DownSkipsDisabledRows) {
    Grid->SetFocus();
    Grid->UseEnabledRows = true;
    Grid->Navigation()->SkipDisabledRows = true;
    Grid->SetRowEnabled(3, false);
    Grid->SetRowEnabled(4, false);
    // A disabled row refuses to become current.
    Grid->OnSelectCell = [this](TObject*, int, int ARow, bool& CanSelect) {
        CanSelect = Grid->GetRowEnabled(ARow);
    };
    Grid->SetRow(2);
    SimulateKey(Grid, VK_DOWN);
    EXPECT_EQ(Grid->Row(), 5);
    SimulateKey(Grid, VK_UP);
    EXPECT_EQ(Grid->Row(), 2);
    // Every row below disabled: the row stays.
    for (int r = 6; r < 8; ++r) Grid->SetRowEnabled(r, false);
    Grid->SetRow(5);
    SimulateKey(Grid, VK_DOWN);
    EXPECT_EQ(Grid->Row(), 5);
}

TEST_F(AdvGridMouseMove, SelectionToFormTakesEitherCornerOrderAndNeverTheActivation) {
    ASSERT_EQ(Screen->ActiveForm(), Form);
    TCustomForm* ordered = Grid->SelectionToForm(TGridRect(1, 1, 2, 3));
    TCustomForm* reversed = Grid->SelectionToForm(TGridRect(2, 3, 1, 1));
    const TRect a = Grid->CellRect(1, 1), b = Grid->CellRect(2, 3);
    EXPECT_EQ(ordered->Width(), b.Right - a.Left + 1);
    EXPECT_EQ(ordered->Height(), b.Bottom - a.Top + 1);
    EXPECT_EQ(reversed->Width(), ordered->Width());
    EXPECT_EQ(reversed->Height(), ordered->Height());
    EXPECT_TRUE(ordered->AlphaBlend());
    EXPECT_EQ(ordered->AlphaBlendValue(), 192);
    EXPECT_EQ(ordered->FormStyle(), fsStayOnTop);
    EXPECT_EQ(ordered->Owner(), Grid);

    ShowWindow(ordered->Handle(), SW_SHOWNOACTIVATE);
    reversed->Show();
    Application->ProcessMessages();
    EXPECT_TRUE(ordered->Visible());
    EXPECT_EQ(Screen->ActiveForm(), Form);
    EXPECT_EQ(ordered->Perform(WM_MOUSEACTIVATE, 0, 0), MA_NOACTIVATE);
    EXPECT_EQ(ordered->Perform(WM_ACTIVATE, 1, 0), 1);
    TObject::Free(ordered);
    TObject::Free(reversed);
}
