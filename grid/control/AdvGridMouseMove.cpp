// TAdvStringGrid: the key-down, mouse-down, mouse-up and mouse-move overrides and the pointer
// leaving the control: hover state of rows, fixed cells, cell buttons and links, drag selection
// over the fixed cells, the live visuals of column and row moves, size hints, OLE drag start, and
// the cell rectangle as a floating window.
#include "AdvGrid.h"

#include "Forms.h"
#include "GridFilterDropDown.h"
#include "AdvGridDragDrop.h"
#include "GridUtil.h"
#include "Hints.h"
#include "HTMLHintWindow.h"
#include "MarkupRender.h"
#include "Menus.h"
#include "ToolTips.h"

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <memory>

namespace {

// An OLE drag moves (or copies) only after the pointer went more than this far from the press.
constexpr int OleDragThreshold = 3;
// The resizer grip at the selection's bottom-right corner.
constexpr int ResizerSize = 6;

bool SameRect(const TGridRect& A, const TGridRect& B) {
    return A.Left == B.Left && A.Top == B.Top && A.Right == B.Right && A.Bottom == B.Bottom;
}

// Whether (C, R) is a fixed cell of the grid (a place outside the cells is none).
bool FixedCellOf(TAdvStringGrid* G, int C, int R) {
    return C >= 0 && R >= 0 && C < G->ColCount() && R < G->RowCount() &&
           (C < G->FixedCols() || R < G->FixedRows());
}

} // namespace

// =============================================================================================
// Small services

void TAdvStringGrid::SelectionChanged(int ALeft, int ATop, int ARight, int ABottom) {
    if (FLook == glVista || FLook == glWin7 || FLook == glOffice2007)
        RepaintRect(TRect(ALeft, ATop, ARight, ABottom));
    FSelChange = true;
    if (OnSelectionChanged) OnSelectionChanged(this, ALeft, ATop, ARight, ABottom);
}

void TAdvStringGrid::StartBlockFocus() {
    if (OnStartBlockFocus) OnStartBlockFocus(this);
}

// The editors of fixed cells are opened by the button handling; until it is built a press on a
// fixed cell opens nothing.

void TAdvStringGrid::ResetFixedCellHighlight() {
    FSizeFixed = false;
    FSizeFixedR = false;
    FNoMouseLeave = false;
    if (HoverFixedCells != hfNone && FHoverFixedX != -1 && FHoverFixedY != -1) {
        const int x = FHoverFixedX, y = FHoverFixedY;
        FHoverFixedX = -1;
        FHoverFixedY = -1;
        if (x < ColCount() && y < RowCount()) RepaintCell(x, y);
    }
}

// =============================================================================================
// Keys

void TAdvStringGrid::KeyDown(Word& Key, TShiftState Shift) {
    int r0 = Row();
    FLastKeyCell = TPoint(Col(), Row());
    const bool ctrl = Shift.count(ssCtrl) != 0;
    const bool rowMoveKey = ctrl && (Key == VK_UP || Key == VK_DOWN) && FNavigation->CursorMoveRows;
    const TGridRect sel0 = Selection();
    TBaseGrid::KeyDown(Key, Shift);
    // The platform grid takes Ctrl+Up and Ctrl+Down as plain arrows: with row moves the rows
    // move below and the selection goes with them.
    if (rowMoveKey && !SameRect(Selection(), sel0)) SetSelection(sel0);

    const TGridRect sel = Selection();
    const int top = std::min(sel.Top, sel.Bottom), bottom = std::max(sel.Top, sel.Bottom);

    if (ctrl && Key == VK_DOWN && FNavigation->CursorMoveRows && bottom < RowCount() - 1) {
        r0 = Row();
        if (top == bottom) {
            MoveRow(top, top + 1);
            SetRow(std::min(r0 + 1, RowCount() - 1));
        } else {
            MoveRows(top, top + 1, bottom - top + 1);
            SetSelection(TGridRect(FixedCols(), top + 1, ColCount() - 1, bottom + 1));
        }
    }
    if (ctrl && Key == VK_UP && FNavigation->CursorMoveRows && top > FixedRows()) {
        r0 = Row();
        if (top == bottom) {
            MoveRow(top, top - 1);
            SetRow(std::max(r0 - 1, FixedRows()));
        } else {
            MoveRows(top, top - 1, bottom - top + 1);
            SetSelection(TGridRect(FixedCols(), top - 1, ColCount() - 1, bottom - 1));
        }
    }

    const TCursorAdvance adv = FNavigation->CursorAdvance;
    if (adv != caDefault) {
        const bool snake = adv == caSnake;
        const int lastCol = ColCount() - FFixedRightCols - 1, lastRow = RowCount() - FFixedFooters - 1;
        switch (Key) {
            case VK_LEFT:
                if (FLastKeyCell.X == FixedCols()) {
                    if (snake && Row() > FixedRows()) SetRow(Row() - 1);
                    SetCol(lastCol);
                }
                break;
            case VK_UP:
                if (FLastKeyCell.Y == FixedRows()) {
                    if (snake && Col() > FixedCols()) SetCol(Col() - 1);
                    SetRow(lastRow);
                }
                break;
            case VK_RIGHT:
                if (FLastKeyCell.X == ColCount() - 1) {
                    if (snake && Row() < lastRow) SetRow(Row() + 1);
                    SetCol(FixedCols());
                }
                break;
            case VK_DOWN:
                if (FLastKeyCell.Y == RowCount() - 1) {
                    if (snake && Col() < lastCol) SetCol(Col() + 1);
                    SetRow(FixedRows());
                }
                break;
            default: break;
        }
    }

    // A disabled next row refused the move: the next enabled row beyond it is taken.
    if (UseEnabledRows && FNavigation->SkipDisabledRows && Row() == r0) {
        if (Key == VK_UP && r0 > FixedRows()) {
            int r = r0 - 1;
            while (r > FixedRows() && !GetRowEnabled(r)) --r;
            if (GetRowEnabled(r)) SetRow(r);
        } else if (Key == VK_DOWN && r0 < RowCount() - 1) {
            int r = r0 + 1;
            while (r < RowCount() - 1 && !GetRowEnabled(r)) ++r;
            if (GetRowEnabled(r)) SetRow(r);
        }
    }

    if (auto* sync = FSyncGrid->Grid()) {
        if (FSyncGrid->SelectionColumn && Col() < sync->ColCount()) sync->SetCol(Col());
        if (FSyncGrid->SelectionRow && Row() < sync->RowCount()) sync->SetRow(Row());
    }
}

// =============================================================================================
// Mouse down

void TAdvStringGrid::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
    int col = -1, row = -1;
    MouseToCell(X, Y, col, row);

    if (FMouseActions->RangeSelectAndEdit && Button == mbLeft && !FMouseActions->EditOnDblClickOnly()) {
        if (col == Col() && row == Row() && !HasOption(goEditing) && IsEditable(RealColIndex(col), row)) {
            TGridOptions o = Options();
            o.insert(goEditing);
            SetOptions(o);
            TBaseGrid::MouseDown(Button, Shift, X, Y);
            ShowInplaceEdit();
            return;
        }
        if ((col != Col() || row != Row()) && HasOption(goEditing) && Shift.count(ssShift)) {
            TGridOptions o = Options();
            o.erase(goEditing);
            SetOptions(o);
            TBaseGrid::MouseDown(Button, Shift, X, Y);
            return;
        }
    }

    if (col >= 0 && row >= 0) {
        const TRect r = CellRect(col, row);
        const int m = HasOption(goColSizing) ? 2 : 0;
        if (r.Right - 16 < X && X < r.Right - m && IsHoverFixedCell(col, row) &&
            FControlLook->FixedDropDownButton()) {
            FDropDownDown = true;
            if (FixedDropDownMenu || OnFixedDropDownClick) {
                FNoMouseLeave = true;
                TPopupMenu* menu = FixedDropDownMenu;
                if (menu) menu->Tag = col;
                bool keep = false;
                if (OnFixedDropDownClick) OnFixedDropDownClick(this, col, row, menu, keep);
                if (menu) {
                    FMouseDownMove = false;
                    FHoverFixedX = col;
                    FHoverFixedY = row;
                    RepaintCell(col, row);
                    const TPoint p = ClientToScreen(TPoint(r.Right - 16, r.Bottom));
                    menu->Popup(p.X, p.Y);
                    FHoverFixedX = -1;
                    FHoverFixedY = -1;
                    if (col < ColCount() && row < RowCount()) RepaintCell(col, row);
                }
                FNoMouseLeave = keep;
                return;
            }
        }
        // The pressed look of the last fixed row's hovered header.
        if (row == FixedRows() - 1 && IsHoverFixedCell(col, row) &&
            FControlLook->FixedGradientDownTo() != clNone)
            RepaintCell(col, row);
    }

    FEditStart = true;
    try {
        TBaseGrid::MouseDown(Button, Shift, X, Y);
    } catch (...) {
        FEditStart = false;
        throw;
    }
    FEditStart = false;

    if (Shift.count(ssShift) && FSelectionRectangle) {
        const TGridRect s = Selection();
        RepaintRect(TRect(s.Left, s.Top, s.Right, s.Bottom));
    }

    if (col >= 0 && row >= 0 && (col < FixedCols() || row < FixedRows())) {
        const TRect r = CellRect(col, row);
        auto onBorder = [&] {
            return X < r.Left + 4 || X >= r.Right - 4 || Y < r.Top + 4 || Y >= r.Bottom - 4;
        };
        const TGridFixedCellEdit rowsEdit = FMouseActions->FixedRowsEdit,
                                 colsEdit = FMouseActions->FixedColsEdit;
        if (Button == mbLeft && rowsEdit == fceLeftClick && row < FixedRows()) {
            if (!(HasOption(goColSizing) && onBorder())) StartFixedCellEdit(col, row);
        } else if (Button == mbLeft && colsEdit == fceLeftClick && col < FixedCols()) {
            if (!(HasOption(goRowSizing) && onBorder())) StartFixedCellEdit(col, row);
        } else if (Button == mbRight && rowsEdit == fceRightClick && row < FixedRows()) {
            StartFixedCellEdit(col, row);
        } else if (Button == mbRight && colsEdit == fceRightClick && col < FixedCols()) {
            StartFixedCellEdit(col, row);
        }
    }

    if (auto* sync = FSyncGrid->Grid()) {
        if (FSyncGrid->SelectionColumn && Col() < sync->ColCount()) sync->SetCol(Col());
        if (FSyncGrid->SelectionRow && Row() < sync->RowCount()) sync->SetRow(Row());
    }
}

// =============================================================================================
// Mouse up

void TAdvStringGrid::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
    if (ComponentState().count(csDesigning)) {
        TBaseGrid::MouseUp(Button, Shift, X, Y);
        return;
    }
    const bool notify = Button == mbLeft || (Button == mbRight && FMouseActions->SelectOnRightClick);
    const TGridRect s = Selection();

    int col = -1, row = -1;
    MouseToCell(X, Y, col, row);
    const int rc = col >= 0 ? RealColIndex(col) : -1;
    if (row == FilterDropDownRow() && rc != FFilterCol && OnFilterButton(col, row, X, Y) &&
        GetColumnFilter(rc)) {
        ShowFilterList(col, row);
    } else {
        if (FDropList && FDropList->Visible()) FDropList->Hide();
        FFilterCol = -1;
    }

    FDropDownDown = false;

    // A sizing released beyond the control changes nothing.
    if ((FGridState == gsColSizing && X > Width()) || (FGridState == gsRowSizing && Y > Height())) {
        FGridState = gsNormal;
        InvalidateGrid();
        return;
    }

    if (FMouseActions->DisjunctCellSelect() && Button == mbLeft && col >= 0 && row >= 0) {
        const TPoint b = BaseCell(col, row);
        if (!IsFixed(b.X, b.Y)) {
            bool canSelect = true;
            if (OnSelectCell) OnSelectCell(this, b.X, b.Y, canSelect);
            if (!canSelect) return;
            if (Shift.count(ssShift)) {
                FSelectedCells->Add(TSelectedCellList::Key(col, row));
            } else if (Shift.count(ssCtrl)) {
                const int i = FSelectedCells->IndexOf(TSelectedCellList::Key(b.X, b.Y));
                if (i >= 0)
                    FSelectedCells->Delete(i);
                else
                    FSelectedCells->Add(TSelectedCellList::Key(b.X, b.Y));
            } else {
                for (int i = 0; i < FSelectedCells->Count(); ++i) {
                    const TGridCoord c = TSelectedCellList::Coord(FSelectedCells->Items(i));
                    if (c.X < ColCount() && c.Y < RowCount()) RepaintCell(c.X, c.Y);
                }
                FSelectedCells->Clear();
                FSelectedCells->Add(TSelectedCellList::Key(b.X, b.Y));
            }
        } else if (!IsFixed(col, row) && !Shift.count(ssCtrl)) {
            FSelectedCells->Clear();
            Invalidate();
        }
        const TGridRect sel = Selection();
        if (sel.Left == sel.Right && sel.Top == sel.Bottom) {
            RepaintCell(col, row);
        } else {
            for (int r = sel.Top; r <= sel.Bottom; ++r)
                for (int c = sel.Left; c <= sel.Right; ++c)
                    if (!(c == b.X && r == b.Y) && !IsSelected(c, r))
                        FSelectedCells->Add(TSelectedCellList::Key(c, r));
            for (int i = 0; i < FSelectedCells->Count(); ++i) {
                const TGridCoord c = TSelectedCellList::Coord(FSelectedCells->Items(i));
                if (c.X < ColCount() && c.Y < RowCount()) RepaintCell(c.X, c.Y);
            }
            RepaintCell(col, row);
        }
    }

    if (notify) SelectionChanged(s.Left, s.Top, s.Right, s.Bottom);

    if (!(Button == mbRight && FGridState == gsColMoving)) {
        TBaseGrid::MouseUp(Button, Shift, X, Y);
        if (col >= 0 && row >= 0 && col < ColCount() && row < RowCount() && row == FixedRows() - 1 &&
            IsHoverFixedCell(col, row) && FControlLook->FixedGradientDownTo() != clNone)
            RepaintCell(col, row);
        const TGridRect now = Selection();
        if (!SameRect(now, s)) SelectionChanged(now.Left, now.Top, now.Right, now.Bottom);
    }
}

// =============================================================================================
// Mouse move

void TAdvStringGrid::MouseMove(TShiftState Shift, int X, int Y) {
    const bool designing = ComponentState().count(csDesigning) != 0;
    if (FMouseDownMove && FMouseActions->RangeSelectAndEdit && HasOption(goEditing) && !EditorMode()) {
        TGridOptions o = Options();
        o.erase(goEditing);
        SetOptions(o);
    }

    const TGridRect s0 = Selection();
    if (FSelectionRectangle && FGridState == gsSelecting && !SameRect(s0, FSizeSelection))
        FSizeSelection = s0;

    int col = -1, row = -1;
    MouseToCell(X, Y, col, row);
    const bool onCell = col >= 0 && row >= 0;
    bool cursorHandled = false;
    bool scrolledUp = false;

    if (onCell && !designing) {
        if (HoverRow() && row != FHoverRowIdx) {
            const int old = FHoverRowIdx;
            FHoverRowIdx = row;
            RepaintRow(row);
            if (old >= 0 && old < RowCount()) RepaintRow(old);
        }
        // The shared scroll bar goes over a cell that holds a scroll bar whose page is less than
        // its range (17 pixels wide inside the grid lines at its right edge) and takes the
        // cell's position; over any other cell it hides.
        if (TScrollBar* bar = FScrollBar.get()) {
            const int rc = RealColIndex(col);
            if (!HasScrollBar(rc, row)) {
                bar->SetVisible(false);
            } else {
                FScrollCol = col;
                FScrollRow = row;
                const TScrollProp prop = GetScrollProp(rc, row);
                bar->SetPosition(GetScrollPosition(rc, row));
                const TRect r = CellRect(col, row);
                const int gl = GridLineWidth();
                const TRect place(r.Right - 17 - gl, r.Top + gl, r.Right - gl, r.Bottom - gl);
                if (prop.PageSize < prop.Range && prop.Range > 0 &&
                    !(bar->Visible() && bar->BoundsRect() == place)) {
                    // No page while the range changes: the bar refuses a range below its page.
                    bar->SetPageSize(0);
                    bar->SetParams(bar->Position(), 0, prop.Range);
                    bar->SetPageSize(prop.PageSize);
                    bar->SetBounds(place.Left, place.Top, place.Width(), place.Height());
                    bar->SetPosition(GetScrollPosition(rc, row));
                    bar->SetVisible(true);
                }
            }
        }
    }

    // The hovered fixed cell.
    if (HoverFixedCells != hfNone && !FNoMouseLeave && (col != FHoverFixedX || row != FHoverFixedY)) {
        const int ox = FHoverFixedX, oy = FHoverFixedY;
        FHoverFixedX = col;
        FHoverFixedY = row;
        if (FixedCellOf(this, ox, oy)) RepaintCell(ox, oy);
        if (FixedCellOf(this, col, row)) RepaintCell(col, row);
    }

    // The hot fixed cell of the list-view look.
    if (FLook == glListView && (col != FHotFixedCell.X || row != FHotFixedCell.Y)) {
        if (FixedCellOf(this, FHotFixedCell.X, FHotFixedCell.Y))
            RepaintCell(FHotFixedCell.X, FHotFixedCell.Y);
        FHotFixedCell = TPoint(col, row);
        if (FixedCellOf(this, col, row)) RepaintCell(col, row);
    }

    // A hot cell button or expand button.
    if (onCell) {
        bool hot = false;
        if (TCellGraphic* g = GetCellGraphic(col, row);
            g && (g->CellType == ctButton || g->CellType == ctBitButton))
            hot = GetButtonRect(col, row).Contains(TPoint(X, Y));
        if (!hot && IsNode(row) && col == 0) hot = GetExpandRect(col, row).Contains(TPoint(X, Y));
        if (hot) {
            if (FHoverButton.X != col || FHoverButton.Y != row) {
                if (FHoverButton.X >= 0 && FHoverButton.X < ColCount() && FHoverButton.Y < RowCount())
                    RepaintCell(FHoverButton.X, FHoverButton.Y);
                FHoverButton = TPoint(col, row);
                RepaintCell(col, row);
            }
        } else if (FHoverButton.X >= 0) {
            if (FHoverButton.X < ColCount() && FHoverButton.Y >= 0 && FHoverButton.Y < RowCount())
                RepaintCell(FHoverButton.X, FHoverButton.Y);
            FHoverButton = TPoint(-1, -1);
        }
    }

    // Selecting whole rows by dragging over the fixed column.
    if (FMouseSelectStart != -1 && FMouseActions->RowSelect && FMouseSelectMode == msRow) {
        if (row >= FixedRows() && row <= RowCount() - FFixedFooters) {
            const int to = std::min(std::max(FixedRows(), row), RowCount() - 1);
            SetSelection(TGridRect(FixedCols(), std::min(FMouseSelectStart, to), ColCount() - 1,
                                   std::max(FMouseSelectStart, to)));
            const TGridRect sel = Selection();
            if (FSelectionRectangle && !SameRect(sel, FSizeSelection)) {
                for (int r = std::min(sel.Top, FSizeSelection.Top);
                     r <= std::max(sel.Bottom, FSizeSelection.Bottom); ++r)
                    if (r >= 0 && r < RowCount())
                        RepaintRect(
                            TRect(LeftCol(), r, std::min(ColCount() - 1, LeftCol() + VisibleColCount()), r));
                FSizeSelection = sel;
            }
        }
        if (Y > Height() - 4 && TopRow() + VisibleRowCount() < RowCount()) SetTopRow(TopRow() + 1);
        if (FixedRows() > 0 && RowCount() > 0 && Y < RowHeights(0) && TopRow() > FixedRows()) {
            SetTopRow(TopRow() - 1);
            scrolledUp = true;
        }
    }

    // Selecting whole columns by dragging over the fixed row.
    if (FMouseSelectStart != -1 && FMouseActions->ColSelect && FMouseSelectMode == msColumn && col >= 0) {
        const int to = std::max(FixedCols(), col);
        SetSelection(TGridRect(std::min(FMouseSelectStart, to), FixedRows(), std::max(FMouseSelectStart, to),
                               RowCount() - 1));
        const TGridRect sel = Selection();
        if (FSelectionRectangle && !SameRect(sel, FSizeSelection)) {
            for (int c = std::min(sel.Left, FSizeSelection.Left);
                 c <= std::max(sel.Right, FSizeSelection.Right); ++c)
                if (c >= 0 && c < ColCount())
                    RepaintRect(
                        TRect(c, TopRow(), c, std::min(RowCount() - 1, TopRow() + VisibleRowCount())));
            FSizeSelection = sel;
        }
    }

    // The borders of fixed columns and rows that can be sized: Pos within 3 pixels of the far
    // edge of one of the Count fixed cells, whose edges run on by each size and a line.
    auto onFixedBorder = [&](int Count, const std::function<int(int)>& Size, int Pos) {
        bool on = false;
        for (int i = 0, edge = 0; i < Count; edge += Size(i) + 1, ++i)
            on = on || std::abs(edge + Size(i) - Pos) < 3;
        return on && onCell && !designing;
    };
    FSizeFixed = onFixedBorder(
                     FixedCols(), [this](int I) { return ColWidths(I); }, X) &&
                 FMouseActions->SizeFixedCol;
    // While a fixed column is sized its line follows the pointer: drawing the old line again
    // takes it away.
    if (FSizingFixed && X != FSizeFixedX) {
        DrawSizingLine(FSizeFixedX, true);
        FSizeFixedX = X;
        DrawSizingLine(X, true);
    }
    FSizeFixedR = onFixedBorder(
                      FixedRows(), [this](int I) { return RowHeights(I); }, Y) &&
                  FMouseActions->SizeFixedRow;
    if (FSizingFixedR && Y != FSizeFixedY) {
        DrawSizingLine(FSizeFixedY, false);
        FSizeFixedY = Y;
        DrawSizingLine(Y, false);
    }

    // The resizer grip at the selection's bottom-right corner.
    bool onResizer = false;
    if (FSelectionResizer && FSelectionRectangle) {
        const TGridRect sel = Selection();
        const TRect r = CellRect(sel.Right, sel.Bottom);
        const bool inY = Y >= r.Bottom - ResizerSize && Y < r.Bottom;
        const bool inX = UseRightToLeftAlignment() ? X >= r.Left && X < r.Left + ResizerSize
                                                   : X >= r.Right - ResizerSize && X < r.Right;
        onResizer = r.Width() > 0 && inX && inY;
    }

    // An OLE drag of the selection or of a column.
    if (FSelectionClick && onCell && ControlState().count(csLButtonDown) &&
        (std::abs(X - Clickposx) > OleDragThreshold || std::abs(Y - Clickposy) > OleDragThreshold) &&
        FDragDropSettings->OleDropSource() && FGridState != gsColSizing && !onResizer) {
        FSelectionClick = false;
        StartOleDrag(col, row);
    }

    if (!designing) {
        const bool moving = FGridState == gsColMoving || FGridState == gsRowMoving;
        if (moving) {
            bool allow = true;
            if (FGridState == gsColMoving && OnColumnMove) OnColumnMove(this, Movecell, allow);
            if (FGridState == gsRowMoving && OnRowMove) OnRowMove(this, Movecell, allow);
            if (!allow) {
                FGridState = gsNormal;
                HideMoveVisuals();
            }
        }
        if ((FGridState == gsColMoving || FGridState == gsRowMoving) && RowCount() > 1 &&
            (X != Clickposx || Y != Clickposy) && EnhRowColMove && !FSizingFixed && !FSizingFixedR)
            ShowMoveVisuals(col, row, X, Y);

        // What a left press here would do.
        FMouseSelectMode = onResizer ? msResize : msNormal;
        const bool inFixedRows = onCell && row < FixedRows();
        const bool inFixedCols = onCell && col < FixedCols();
        const int k =
            (FFloatingFooter->Visible() && FFloatingFooter->FooterStyle() == fsFixedLastRow) ? 2 : 1;
        if (inFixedRows && inFixedCols && FMouseActions->AllSelect) {
            FMouseSelectMode = msAll;
        } else if (inFixedRows && col >= FixedCols() && FMouseActions->ColSelect && !IsSizingPos(X, Y)) {
            FMouseSelectMode = msColumn;
        } else if (inFixedCols && row <= RowCount() - k && (row >= FixedRows() || scrolledUp) &&
                   FMouseActions->RowSelect && !IsSizingPos(X, Y) && !IsNodeClick(row, X)) {
            FMouseSelectMode = msRow;
        }
        if (FMouseSelectMode == msAll || FMouseSelectMode == msColumn || FMouseSelectMode == msRow) {
            Invokedchange = true;
            cursorHandled = true;
        }
    }

    if (onCell) cursorHandled = HoverLinks(col, row, X, Y) || cursorHandled;

    if (!cursorHandled && Cursor() != FOldCursor) {
        Invokedchange = true;
        SetCursor(FOldCursor);
    }

    // The cell hint of another cell goes.
    if (FLastHintPos.X != -1 && onCell) {
        const TPoint b = BaseCell(col, row);
        if (b.X != FLastHintPos.X || b.Y != FLastHintPos.Y) {
            // A hint that shows for the old cell goes; the pause the platform has just started
            // for the new place runs on.
            if (Application && ShownHintWindow()) Application->CancelHint();
            FLastHintPos = TPoint(-1, -1);
        }
    }
    // So does the balloon of another cell: the tool-tip asks for the new cell's text when it
    // shows again.
    if (FBalloon->Enable() && onCell) {
        const TPoint b = BaseCell(col, row);
        if (b.X != FLastBalloonPos.X || b.Y != FLastBalloonPos.Y) {
            if (FHToolTip) SendMessage(FHToolTip, TTM_POP, 0, 0);
            FLastBalloonPos = TPoint(-1, -1);
        }
    }

    // The frame of a range selection follows it.
    if (FGridState == gsSelecting && FSelectionRectangle) {
        const TGridRect sel = Selection();
        if (!SameRect(sel, FMoveSelection)) {
            InvalidateGridRect(FMoveSelection);
            InvalidateGridRect(sel);
            FMoveSelection = sel;
        }
    }

    TBaseGrid::MouseMove(Shift, X, Y);

    if (FNavigation->KeepHorizScroll && FMouseKeepDown && FGridState != gsColMoving) {
        StartUpdate();
        SetLeftCol(FOldKeepLeftCol);
        ResetUpdate();
    }

    ShowSizeHint(X, Y);

    if (EnhRowColMove && HandleAllocated()) Update();

    const TGridRect now = Selection();
    if (!SameRect(now, s0)) SelectionChanged(now.Left, now.Top, now.Right, now.Bottom);
}

// The links of the cell under the pointer: the hand cursor, the hovered link's underline, the
// anchor events. True when the pointer is over a link (the cursor is handled).
bool TAdvStringGrid::HoverLinks(int ACol, int ARow, int X, int Y) {
    const int rc = RealColIndex(ACol);
    const String text = GetCellEx(rc, ARow);
    const int kind = CellTextType(text, EnableHTML);
    auto hand = [this] {
        Invokedchange = true;
        if (Cursor() != crHandPoint) SetCursor(crHandPoint);
    };
    if (kind != ctkMarkup) {
        if (URLUnderlineOnHover &&
            ((FHoverCell.X >= 0 && FHoverCell.Y >= 0 && FHoverCell.X < ColCount() &&
              FHoverCell.Y < RowCount() && (FHoverCell.X != ACol || FHoverCell.Y != ARow)) ||
             FHoverlink != -1)) {
            FHoverlink = -1;
            if (FHoverCell.X >= 0 && FHoverCell.Y >= 0 && FHoverCell.X < ColCount() &&
                FHoverCell.Y < RowCount())
                RepaintCell(FHoverCell.X, FHoverCell.Y);
            FHoverCell = TPoint(-1, -1);
        }
        if (URLShow() && IsURL(text)) {
            hand();
            return true;
        }
        return false;
    }
    const TRect r = CellRect(ACol, ARow);
    TRect tr(r.Left + XYOffset.X + 1, r.Top + XYOffset.Y + 1, r.Right - XYOffset.X, r.Bottom);
    if (TCellGraphic* g = GetCellGraphic(rc, ARow); g && g->CellType == ctCheckBox)
        tr.Left += FControlLook->CheckSize();
    TCanvas* c = Canvas();
    c->Font()->Assign(IsFixed(ACol, ARow) ? FixedFont() : Font());
    THTMLDrawOptions opt;
    opt.Images = FGridImages;
    opt.PictureCache = ImageCache();
    opt.URLColor = URLColor();
    opt.HitTestOnly = true;
    opt.HitX = X;
    opt.HitY = Y;
    THTMLDrawResult res;
    DrawHTML(c, text, tr, opt, res);
    const bool onAnchor = res.Hit && !res.Anchor.isEmpty() && res.Anchor != QStringLiteral("ctrl");

    if (URLUnderlineOnHover) {
        const int link = onAnchor ? res.HoverAnchor : -1;
        const bool sameCell = FHoverCell.X == ACol && FHoverCell.Y == ARow;
        if (!sameCell || link != FHoverlink) {
            if (!sameCell && FHoverCell.X >= 0 && FHoverCell.Y >= 0 && FHoverCell.X < ColCount() &&
                FHoverCell.Y < RowCount() && FHoverlink != -1)
                RepaintCell(FHoverCell.X, FHoverCell.Y);
            if (!(sameCell && FHoverlink == -1 && link == -1)) {
                FHoverCell = TPoint(ACol, ARow);
                FHoverlink = link;
                RepaintCell(ACol, ARow);
            }
        }
    }

    if (onAnchor) {
        String title = res.AnchorTitle;
        if (title.isEmpty() && OnAnchorHint) OnAnchorHint(this, ARow, rc, title);
        if (title != FLastAnchorHint && !FLastAnchorHint.isEmpty() && res.Anchor != FLinkAnchor) {
            FLastAnchorHint = title;
            if (Application) Application->CancelHint();
        }
        hand();
        if (res.Anchor != FLinkAnchor) {
            if (OnAnchorEnter) OnAnchorEnter(this, ARow, rc, res.Anchor);
            FLinkAnchor = res.Anchor;
        }
        return true;
    }
    if (!FLinkAnchor.isEmpty()) {
        const String left = FLinkAnchor;
        FLinkAnchor.clear();
        if (OnAnchorExit) OnAnchorExit(this, ARow, rc, left);
    }
    return false;
}

// The drag button (or the drag image) and the insertion arrows while a column or row is moved.
void TAdvStringGrid::ShowMoveVisuals(int ACol, int ARow, int X, int Y) {
    bool allow = true;
    StartBlockFocus();
    const bool showCells = FDragDropSettings->ShowCells();
    const bool columns = FGridState == gsColMoving;
    THeaderDragButton* button = FMoveButton.get();
    if (columns && Movecell >= FixedCols() && ARow >= 0 && Movecell < ColCount()) {
        if (!MoveForm && showCells)
            ShowDragImage(SelectionToForm(
                TGridRect(Movecell, 0, Movecell, TopRow() + VisibleRowCount() - FixedRows())));
        if (button) {
            button->SetCaption(Cells(RealColIndex(Movecell), 0));
            button->SetBounds(button->Left(), button->Top(), ColWidths(Movecell),
                              RowHeights(std::max(0, ARow)));
            button->Invalidate();
        }
    } else if (!columns && Movecell >= FixedRows() && ACol >= 0 && Movecell < RowCount()) {
        if (!MoveForm && showCells)
            ShowDragImage(SelectionToForm(
                TGridRect(0, Movecell, LeftCol() + VisibleColCount() - FixedCols(), Movecell)));
        if (button) {
            button->SetCaption(Cells(0, Movecell));
            button->SetBounds(button->Left(), button->Top(), ColWidths(std::max(0, ACol)),
                              RowHeights(Movecell));
            button->Invalidate();
        }
    }

    // The drag button floats over the grid's client area at the pointer, less the press offset.
    const TPoint p(X - MoveOfsX, Y - MoveOfsY);
    if (showCells && MoveForm) {
        const TPoint sp = ClientToScreen(p);
        const int left = UseRightToLeftAlignment() ? sp.X + ColWidths(0) - MoveForm->Width() : sp.X;
        MoveForm->SetBounds(left, sp.Y, MoveForm->Width(), MoveForm->Height());
    } else if (button) {
        const int left = UseRightToLeftAlignment() ? p.X + ColWidths(0) - button->Width() : p.X;
        button->SetBounds(left, p.Y, button->Width(), button->Height());
    }

    const bool onCell = ACol >= 0 && ARow >= 0;
    TArrowWindow* up = FArrows[arrUp].get();
    TArrowWindow* down = FArrows[arrDown].get();
    TArrowWindow* leftArw = FArrows[arrLeft].get();
    TArrowWindow* rightArw = FArrows[arrRight].get();
    if (columns) {
        if (FMoveColInd >= FixedCols() && FMoveColInd < ColCount() && onCell && up && down) {
            const TRect r = CellRect(FMoveColInd, 0);
            const TPoint tl = ClientToScreen(TPoint(r.Left, r.Top));
            const int bottom = tl.Y + r.Height();
            const int x = FMoveColInd < Movecell ? tl.X - 5 : tl.X + ColWidths(FMoveColInd) - 5;
            up->SetBounds(x, bottom, up->Width(), up->Height());
            down->SetBounds(x, tl.Y - 8, down->Width(), down->Height());
            const bool shown = FMoveColInd - LeftCol() < VisibleColCount();
            up->SetVisible(shown);
            down->SetVisible(shown);
        }
        FMoveColInd = ACol;
        FMoveRowInd = 0;
        if (OnColumnMoving) OnColumnMoving(this, ACol, allow);
    } else {
        const bool footerRow = FooterRowShown() && FFloatingFooter->FooterStyle() == fsFixedLastRow &&
                               FMoveRowInd == RowCount() - 1;
        if (!footerRow && FMoveRowInd >= FixedRows() && FMoveRowInd < RowCount() &&
            FMoveRowInd - TopRow() < VisibleRowCount() && onCell && leftArw && rightArw) {
            const TRect r = CellRect(0, FMoveRowInd);
            const TPoint tl = ClientToScreen(TPoint(r.Left, r.Top));
            const int y = FMoveRowInd < Movecell ? tl.Y - 5 : tl.Y + RowHeights(FMoveRowInd) - 5;
            leftArw->SetBounds(tl.X - 10, y, leftArw->Width(), leftArw->Height());
            rightArw->SetBounds(tl.X + r.Width(), y, rightArw->Width(), rightArw->Height());
            leftArw->SetVisible(true);
            rightArw->SetVisible(true);
        }
        FMoveColInd = 0;
        FMoveRowInd = ARow;
        if (OnRowMoving) OnRowMoving(this, ARow, allow);
    }

    // Beyond the scrolling cells the view follows.
    int fixedW = 0, fixedH = 0;
    for (int i = 0; i < FixedCols(); ++i) fixedW += ColWidths(i);
    for (int i = 0; i < FixedRows(); ++i) fixedH += RowHeights(i);
    if (columns) {
        if (X < fixedW && LeftCol() > FixedCols()) {
            SetLeftCol(LeftCol() - 1);
            Invalidate();
        } else if (X > Width() && LeftCol() + VisibleColCount() < ColCount()) {
            SetLeftCol(LeftCol() + 1);
            Invalidate();
        }
    } else {
        if (Y < fixedH && TopRow() > FixedRows())
            SetTopRow(TopRow() - 1);
        else if (Y > Height() && TopRow() + VisibleRowCount() < RowCount())
            SetTopRow(TopRow() + 1);
    }

    if (button) {
        if (!button->Visible()) {
            if (!showCells) button->Show();
        }
        if (!button->Enabled()) button->SetEnabled(true);
    }
    Screen->SetCursor(allow ? crDrag : crNoDrop);
}

void TAdvStringGrid::ShowDragImage(TCustomForm* Form) {
    MoveForm = Form;
    if (!Form) return;
    ShowWindow(Form->Handle(), SW_SHOWNOACTIVATE);
}

void TAdvStringGrid::HideMoveVisuals() {
    if (FMoveButton) {
        FMoveButton->SetEnabled(false);
        FMoveButton->Hide();
    }
    for (auto& a : FArrows)
        if (a) a->Hide();
    if (MoveForm) {
        TCustomForm* form = MoveForm;
        MoveForm = nullptr;
        TObject::Free(form);
    }
    Screen->SetCursor(crDefault);
}

// The size hint while a column or row is sized, and the sizing events.
void TAdvStringGrid::ShowSizeHint(int X, int Y) {
    const bool colSizing = FGridState == gsColSizing, rowSizing = FGridState == gsRowSizing;
    if (!colSizing && !rowSizing && !FSizingFixed && !FSizingFixedR) return;
    String text;
    TPoint anchor;
    int size = 0;
    if (FSizingFixed) {
        size = FSizeFixedX;
        text = QStringLiteral("cw=<b>") + IntToStr(size) + QStringLiteral("</b>");
        anchor = TPoint(CellRect(0, 0).Left, CellRect(0, 0).Top);
        if (OnColumnSizing) OnColumnSizing(this, 0, size);
    } else if (FSizingFixedR) {
        size = FSizeFixedY;
        text = QStringLiteral("rh=<b>") + IntToStr(size) + QStringLiteral("</b>");
        anchor = TPoint(CellRect(0, 0).Left, CellRect(0, 0).Top);
        if (OnRowSizing) OnRowSizing(this, 0, size);
    } else if (colSizing) {
        int c = Colclicked, r = Rowclicked;
        if (c == -1) {
            c = ColCount() - 1;
            r = 0;
        }
        const TRect cell = CellRect(c, std::max(0, r));
        size = X - cell.Left - Clickposdx;
        text = QStringLiteral("cw=<b>") + IntToStr(size) + QStringLiteral("</b>");
        anchor = TPoint(cell.Left, cell.Top);
        if (OnColumnSizing) OnColumnSizing(this, Colclicked, size);
    } else {
        int c = Colclicked, r = Rowclicked;
        if (r == -1) {
            r = RowCount() - 1;
            c = 0;
        }
        const TRect cell = CellRect(std::max(0, c), r);
        size = Y - cell.Top - Clickposdy;
        text = QStringLiteral("rh=<b>") + IntToStr(size) + QStringLiteral("</b>");
        anchor = TPoint(cell.Left, cell.Top);
        if (OnRowSizing) OnRowSizing(this, Rowclicked, size);
    }
    if (!HintShowSizing && !ComponentState().count(csDesigning)) return;
    FScrollHintWnd->SetColor(HintColor);
    TRect hr = FScrollHintWnd->CalcHintRect(200, text, nullptr);
    const TPoint sp = ClientToScreen(anchor);
    hr = TRect(hr.Left + sp.X, hr.Top + sp.Y, hr.Right + sp.X, hr.Bottom + sp.Y);
    FScrollHintWnd->ActivateHint(hr, text);
    FScrollHintShow = true;
}

// An OLE drag from a press inside the selection (or on a column header).
void TAdvStringGrid::StartOleDrag(int ACol, int ARow) {
    bool allow = true;
    const int rc = RealColIndex(ACol);
    if (FDragDropSettings->OleColumnsOnly() && ARow >= FixedRows())
        allow = false;
    else if (OnOleDrag)
        OnOleDrag(this, ARow, rc, Cells(rc, ARow), allow);
    if (!allow) {
        if (FGridState == gsNormal) FGridState = gsSelecting;
        return;
    }
    // The drag holds references to its source: it lives as long as the last of them.
    TIntf<TGridDropSource> source(new TGridDropSource(this));
    if (OnOleDragStart) OnOleDragStart(this, ARow, rc);
    TPoint p;
    GetCursorPos(p);
    StartBlockFocus();

    if (FDragDropSettings->ShowCells() && !MoveForm) {
        SetShowSelection(false);
        TGridRect r;
        if (FDragDropSettings->OleColumnDragDrop()) {
            r = TGridRect(ACol, 0, ACol, VisibleRowCount());
        } else {
            const TGridRect sel = Selection();
            r = TGridRect(std::max(LeftCol(), sel.Left), std::max(TopRow(), sel.Top),
                          std::min(sel.Right, LeftCol() + VisibleColCount() - 1),
                          std::min(sel.Bottom, TopRow() + VisibleRowCount() - 1));
        }
        TCustomForm* form = SelectionToForm(r);
        SetShowSelection(true);
        ShowDragImage(form);
        if (MoveForm) {
            const int left = UseRightToLeftAlignment() ? p.X + ColWidths(0) - MoveForm->Width() : p.X;
            MoveForm->SetBounds(left, p.Y, MoveForm->Width(), MoveForm->Height());
        }
    }

    int effect = DROPEFFECT_NONE;
    if (ARow < FixedRows() && ACol >= 0 && FDragDropSettings->OleColumnDragDrop()) {
        if (!FDragDropSettings->ShowCells() && FMoveButton) {
            const TPoint cp = ScreenToClient(p);
            FMoveButton->SetCaption(Cells(rc, ARow));
            FMoveButton->SetBounds(cp.X, cp.Y, ColWidths(ACol), RowHeights(0));
            FMoveButton->Show();
        }
        const HRESULT res = RunColumnDragDrop(source.get(), rc, DROPEFFECT_COPY | DROPEFFECT_MOVE, effect);
        if (res != DRAGDROP_S_CANCEL && OnOleDragStop) OnOleDragStop(this, effect);
        if (FMoveButton) FMoveButton->Hide();
        if (FArrows[arrUp]) FArrows[arrUp]->Hide();
        if (FArrows[arrDown]) FArrows[arrDown]->Hide();
    } else {
        // A drop of rows above the selection within this grid moves the drop selection down.
        FDropSelection = Selection();
        std::unique_ptr<TMemoryStream> stream;
        if (FNavigation->AllowFmtClipboard) {
            stream = std::make_unique<TMemoryStream>();
            try {
                SaveRectToBinStream(TRect(FDropSelection.Left, FDropSelection.Top, FDropSelection.Right,
                                          FDropSelection.Bottom),
                                    stream.get());
            } catch (const EAdvGridError&) {
                // Cells beyond what the cell stream can address travel as text only.
                stream.reset();
            }
        }
        const HRESULT res = RunTextDragDrop(source.get(), SelectedText(), Cells(rc, ARow), effect,
                                            DROPEFFECT_COPY | DROPEFFECT_MOVE, stream.get());
        if (res != DRAGDROP_S_CANCEL) {
            if (!FDragDropSettings->OleCopyAlways() && effect == DROPEFFECT_MOVE) {
                if (FDragDropSettings->OleRemoveRows() && HasOption(goRowSelect)) {
                    if (FMouseActions->DisjunctRowSelect())
                        RemoveSelectedRows();
                    else
                        RemoveRows(FDropSelection.Top, FDropSelection.Bottom - FDropSelection.Top + 1);
                } else if (FMouseActions->DisjunctRowSelect()) {
                    ClearSelection();
                } else {
                    ClearRect(FDropSelection.Left, FDropSelection.Top, FDropSelection.Right,
                              FDropSelection.Bottom);
                }
            }
            if (OnOleDragStop) OnOleDragStop(this, effect);
        }
    }
    if (MoveForm) {
        TCustomForm* form = MoveForm;
        MoveForm = nullptr;
        TObject::Free(form);
    }
}

// =============================================================================================
// The pointer leaving

void TAdvStringGrid::CMMouseLeave(TMessage& Message) {
    TBaseGrid::Dispatch(Message);
    FMouseSelectMode = msNormal;
    FSizeFixed = false;
    FSizeFixedR = false;
    if (!FNoMouseLeave && HoverFixedCells != hfNone && FHoverFixedX != -1) {
        const int x = FHoverFixedX, y = FHoverFixedY;
        FHoverFixedX = -1;
        FHoverFixedY = -1;
        if (x >= 0 && y >= 0 && x < ColCount() && y < RowCount()) RepaintCell(x, y);
    }
    if (FLook == glListView && FixedCellOf(this, FHotFixedCell.X, FHotFixedCell.Y))
        RepaintCell(FHotFixedCell.X, FHotFixedCell.Y);
    if (HoverRow() && FHoverRowIdx != -1) {
        const int r = FHoverRowIdx;
        FHoverRowIdx = -1;
        if (r < RowCount()) RepaintRow(r);
    }
}

// =============================================================================================
// A cell rectangle as a window

TCustomForm* TAdvStringGrid::SelectionToForm(const TGridRect& ARect) {
    auto whole = std::make_unique<TBitmap>();
    whole->SetSize(Width(), Height());
    PaintTo(whole->Canvas(), 0, 0);

    TRect a = VirtualCellRect(ARect.Left, ARect.Top);
    TRect b = VirtualCellRect(ARect.Right, ARect.Bottom);
    if (b.Left < a.Left) std::swap(a, b);
    if (b.Bottom < a.Bottom) {
        std::swap(a.Top, b.Top);
        std::swap(a.Bottom, b.Bottom);
    }
    const int w = std::max(1, b.Right - a.Left + 1), h = std::max(1, b.Bottom - a.Top + 1);
    auto part = std::make_unique<TBitmap>();
    part->SetSize(w, h);
    part->Canvas()->CopyRect(TRect(0, 0, w, h), whole->Canvas(),
                             TRect(a.Left + 1, a.Top + 1, b.Right + 2, b.Bottom + 2));
    TCanvas* pc = part->Canvas();
    pc->Pen()->SetColor(GridFixedLineColor());
    const int left = std::min(ARect.Left, ARect.Right), top = std::min(ARect.Top, ARect.Bottom);
    if (left == 0 && FixedCols() > 0 && HasOption(goFixedHorzLine)) {
        pc->MoveTo(0, 0);
        pc->LineTo(0, h);
    }
    if (top == 0 && FixedRows() > 0 && HasOption(goFixedVertLine)) {
        pc->MoveTo(0, 0);
        pc->LineTo(w, 0);
    }

    auto* form = new TNoActiveForm(this);
    form->SetBorderStyle(bsNone);
    form->SetBounds(0, 0, w, h);
    form->SetFormStyle(fsStayOnTop);
    auto* image = new TImage(form);
    image->SetParent(form);
    image->SetAlign(alClient);
    image->Picture()->SetBitmap(part.get());
    form->SetAlphaBlend(true);
    form->SetAlphaBlendValue(192);
    return form;
}
