// The grid's Enter advance, its key press (Esc, Enter, the incremental row search), the walk
// between the CONTROL tags of a markup cell and the check the platform grid makes before the
// current cell moves (merged areas, validation of the cell being left, the changing events and
// the editing option following the editability of the new cell).
#include "AdvGrid.h"
#include "AdvGridEditRules.h"
#include "AdvInplaceEdit.h"

#include "Forms.h"
#include "MarkupText.h"

#include <algorithm>

// =============================================================================================
// Tab stops

int TAdvStringGrid::FirstNormalCol() {
    if (FixedCols() > 0) return FixedCols();
    return HasNodes() ? 1 : 0;
}

int TAdvStringGrid::VisibleFixedRightCols() const {
    if (NumHiddenColumns() == 0) return FixedRightCols();
    const int all = ColCount() + NumHiddenColumns();
    int shown = 0;
    for (int c = all - 1; c >= all - FixedRightCols() && c >= 0; --c)
        if (!IsHiddenColumn(c)) ++shown;
    return shown;
}

bool TAdvStringGrid::CanTabToCell(int ACol, int ARow) {
    bool can = HasOption(goEditing) ? IsEditable(ACol, ARow) : !IsFixed(ACol, ARow);
    if (OnSelectCell) OnSelectCell(this, ACol, ARow, can);
    return can;
}

int TAdvStringGrid::FirstTabColInRow(int ARow) {
    for (int c = 0; c < ColCount(); ++c)
        if (CanTabToCell(c, ARow)) return c;
    return -1;
}

int TAdvStringGrid::LastTabColInRow(int ARow) {
    for (int c = ColCount() - 1; c >= 0; --c)
        if (CanTabToCell(c, ARow)) return c;
    return -1;
}

bool TAdvStringGrid::IsLastDataRow() const {
    if (FooterRowShown() && Row() == RowCount() - 2) return true;
    return Row() == RowCount() - FixedFooters() - 1;
}

// =============================================================================================
// Enter advance

void TAdvStringGrid::AdvanceEdit(int ACol, int ARow, bool Force, bool AutoEdit, bool Forward, bool Recursing,
                                 bool DoEdit) {
    TNavigation* nav = FNavigation.get();
    if (!nav->AdvanceOnEnter && !Force) return;
    if (MouseActions()->RangeSelectAndEdit && !HasOption(goEditing)) SwitchGridOption(this, goEditing, true);
    if (!Recursing) {
        FAECol = ACol;
        FAERow = ARow;
    }
    const TPoint origin(ACol, ARow);
    FStartEditChar = Char(0);
    const int span = std::max(0, CellSpan(RealColIndex(ACol), ARow).X);
    const int first = FirstNormalCol();
    const int last = ColCount() - VisibleFixedRightCols() - 1;
    const int lastRow = RowCount() - FixedFooters() - 1;
    const TAdvanceDirection dir = nav->AdvanceDirection();

    if (Forward && (dir == adLeftRight || dir == adLeftRightInRow)) {
        if (ACol + span < last) {
            ACol += span + 1;
        } else if (dir == adLeftRightInRow) {
            if (nav->AdvanceOnEnterLoop) ACol = first;
        } else if (ARow < lastRow) {
            ++ARow;
            ACol = first;
        } else if (nav->AdvanceInsert()) {
            const bool canAdd = CanAddRow();
            ACol = first;
            if (canAdd) {
                AddRow();
                ++ARow;
                if (OnAutoAddRow) OnAutoAddRow(this, RowCount() - FixedFooters() - 1);
                bool anyEditable = false;
                for (int c = FixedCols(); c < ColCount() && !anyEditable; ++c)
                    anyEditable = IsEditable(c, ARow);
                if (!anyEditable) return;
            }
        } else if (nav->AdvanceOnEnterLoop) {
            ARow = FixedRows();
            ACol = first;
        }
    } else if (Forward) {
        if (ARow < lastRow) {
            ++ARow;
        } else if (dir == adTopBottomInCol) {
            ARow = FixedRows();
        } else {
            if (ACol != ColCount() - FixedRightCols() - 1) {
                ARow = FixedRows();
                if (++ACol >= ColCount()) ACol = first;
            } else if (nav->AdvanceInsert()) {
                SetColCount(ColCount() + 1);
                ACol = std::min(ACol + span + 1, ColCount() - 1);
                ARow = FixedRows();
                if (OnAutoInsertCol) OnAutoInsertCol(this, ColCount() - FixedRightCols() - 1);
            } else {
                ARow = FixedRows();
                ACol = first;
            }
            Invalidate();
        }
    } else if (dir == adLeftRight) {
        if (ACol > first) {
            --ACol;
        } else {
            ARow = ARow > FixedRows() ? ARow - 1 : lastRow;
            ACol = ColCount() - FixedRightCols() - 1;
        }
    } else if (dir == adTopBottom) {
        if (ARow > FixedRows()) {
            --ARow;
        } else {
            ACol = ACol > first ? ACol - 1 : ColCount() - FixedRightCols() - 1;
            ARow = lastRow;
        }
    }

    const int C = RealColIndex(ACol);
    bool can = true;
    QueryCanEdit(C, ARow, can);
    if (can) {
        bool allow = true;
        int newRow = ARow, newCol = ACol;
        if (OnAutoAdvance) OnAutoAdvance(this, FAERow, FAECol, newRow, newCol, allow);
        // A target outside the grid cannot become current: the advance is refused.
        if (newCol < 0 || newRow < 0 || newCol >= ColCount() || newRow >= RowCount()) allow = false;
        if (allow) {
            ACol = newCol;
            ARow = newRow;
        }
        if (!allow) {
            SelectCell(origin.X, origin.Y);
        } else {
            if (OnCellChanging) OnCellChanging(this, FAERow, FAECol, ARow, ACol, allow);
            FDisableChange = true;
            if (allow) {
                SetCol(ACol);
                SetRow(ARow);
            } else {
                SelectCell(origin.X, origin.Y);
            }
            FDisableChange = false;
        }
    } else if (nav->AdvanceSkipReadOnlyCells) {
        // Passed over; a walk that makes no move or comes back to where it started (every cell
        // on its way read-only) ends without moving the current cell.
        const bool moved = ACol != origin.X || ARow != origin.Y;
        const bool backAtStart = ACol == FAECol && ARow == FAERow;
        if (moved && !backAtStart) AdvanceEdit(ACol, ARow, Force, AutoEdit, Forward, true, DoEdit);
        return;
    } else {
        SetCol(ACol);
        SetRow(ARow);
    }

    if (!DoEdit) return;
    const int newC = RealColIndex(Col());
    const bool clickable = IsClickableCell(newC, Row());
    if ((AutoEdit && nav->AdvanceAutoEdit) || clickable) {
        if (!IsEditable(Col(), Row())) return;
        ShowEditor();
        if (clickable) {
            const TPoint target(Col(), Row());
            FDisableChange = true;
            if (origin.X < ColCount() && origin.Y < RowCount()) {
                MoveColRow(origin.X, origin.Y, true, false);
                MoveColRow(target.X, target.Y, true, false);
            }
            if (!IsClickableCell(RealColIndex(origin.X), origin.Y)) {
                ClickCellAt(Col(), Row());
                if (dir != adLeftRight) HideEditor();
            }
            FDisableChange = false;
            bool allow = true;
            if (OnCellChanging) OnCellChanging(this, origin.Y, origin.X, Row(), Col(), allow);
            TEditorType kind = DefaultEditor;
            GetCellEditor(RealColIndex(origin.X), origin.Y, kind);
            if (!IsTextEditorKind(kind) || kind == edValidChars) HideEditor();
        }
    }
    if (MouseActions()->DisjunctRowSelect()) {
        ClearRowSelect();
        SetRowSelect(Row(), true);
    }
}

void TAdvStringGrid::ClickCellAt(int ACol, int ARow) {
    const TRect r = CellRect(ACol, ARow);
    if (r.IsEmpty()) return;
    const LPARAM at = LPARAM(MAKELONG(Word(r.Left + 2), Word(r.Top + 2)));
    Perform(WM_LBUTTONDOWN, MK_LBUTTON, at);
    Perform(WM_LBUTTONUP, 0, at);
}

// =============================================================================================
// The key press

void TAdvStringGrid::KeyPress(Char& Key) {
    TNavigation* nav = FNavigation.get();
    if (Key == Char(27)) {
        if (HasOption(goEditing) && FEditing) RestoreCellCache();
        TWinControl::KeyPress(Key);
        return;
    }
    const int C = RealColIndex(Col());
    if (Key == Char(13) && !nav->AdvanceOnEnter && !IsEditable(Col(), Row())) {
        TWinControl::KeyPress(Key);
        Key = Char(0);
        return;
    }
    if (Key == Char(13) && (!Focused() || IsClickableCell(C, Row()))) {
        AdvanceEdit(Col(), Row(), false, false, true, false, EditMode());
        if (!nav->AdvanceAutoEdit) {
            TWinControl::KeyPress(Key);
            Key = Char(0);
            return;
        }
        if (IsClickableCell(C, Row())) {
            TWinControl::KeyPress(Key);
            if (nav->AdvanceOnEnter) ShowInplaceEdit();
            Key = Char(0);
            return;
        }
    }
    // Control characters other than Backspace are no part of a search text.
    if (!HasOption(goEditing) && nav->AutoGotoWhenSorted && (Key == Char(8) || Key.unicode() >= 32)) {
        if (nav->AutoGotoIncremental) {
            if (Key == Char(8))
                SearchInc.chop(1);
            else
                SearchInc += Key;
            SearchTics = 0;
        } else {
            SearchInc = String(Key);
        }
        const int r = Search(SearchInc.toUpper());
        if (r == -1)
            SearchInc.clear();
        else
            SetRow(r);
    }
    TBaseGrid::KeyPress(Key);
}

void TAdvStringGrid::IncrSearchTick() {
    if (SearchInc.isEmpty()) return;
    if (++SearchTics >= 4) {
        SearchInc.clear();
        SearchTics = 0;
    }
}

// =============================================================================================
// Cell controls

void TAdvStringGrid::FocusNextCellControl(int ACol, int ARow, const String& ID) {
    if (NextHTMLEditControl(Cells(ACol, ARow), ID).isEmpty()) {
        if (CanFocus()) SetFocus();
        return;
    }
    EditCellControl(ACol, ARow, ID);
}

// =============================================================================================
// The current-cell check

void TAdvStringGrid::CellChanging(int NewCol, int NewRow, bool& Allow) {
    if (NewRow != Row() && OnRowChanging) OnRowChanging(this, Row(), NewRow, Allow);
    if (NewCol != Col() && OnColChanging) OnColChanging(this, Col(), NewCol, Allow);
    if (NewRow == Row() && NewCol == Col()) return;
    if (!FDisableChange && OnCellChanging) OnCellChanging(this, Row(), Col(), NewRow, NewCol, Allow);
}

int TAdvStringGrid::ShownSearchPanelHeight() const {
    if (!FSearchFooter->Visible()) return 0;
    const int top = SearchPanelTop();
    return top >= 0 ? std::max(0, ClientHeight() - top) : 0;
}

bool TAdvStringGrid::SelectCell(int ACol, int ARow) {
    const TGridRect oldSel = Selection();
    const bool indicator = FRowIndicator && !FRowIndicator->Empty() && FixedCols() > 0;
    if (FForceSel) {
        if (indicator) {
            RepaintCell(0, Row());
            RepaintCell(0, ARow);
        }
        return true;
    }
    if (!Parent()) return true;
    // Negative coordinates are refused before anything reads the cell.
    if (ACol < 0 || ARow < 0) return false;
    FEditText = GetGridCell(RealColIndex(ACol), ARow);

    // The target stays visible above a floating footer and the search panel.
    const int searchHeight = ShownSearchPanelHeight();
    const int sf = searchHeight > 0 ? searchHeight + 2 : 0;
    if (FFloatingFooter->Visible()) {
        const int footerHeight = FFloatingFooter->Height();
        const bool lastRowStyle = FFloatingFooter->FooterStyle() == fsFixedLastRow;
        if (lastRowStyle && ARow == RowCount() - 1) return false;
        if (lastRowStyle && ARow >= TopRow() + VisibleRowCount())
            SetTopRow(std::max(FixedRows(), ARow + FixedRows() - VisibleRowCount()));
        const TRect r = CellRect(ACol, ARow);
        const int limit = lastRowStyle ? RowCount() - 1 : RowCount();
        if (!r.IsEmpty() && r.Bottom > ClientHeight() - footerHeight - sf + 2 && ARow < limit &&
            TopRow() < RowCount() - 1)
            SetTopRow(TopRow() + 1);
    }
    if (searchHeight > 0) {
        for (TRect r = CellRect(ACol, ARow); !r.IsEmpty() && r.Bottom > ClientHeight() - searchHeight + 2 &&
                                             ARow <= RowCount() - 1 && TopRow() < RowCount() - 1;
             r = CellRect(ACol, ARow))
            SetTopRow(TopRow() + 1);
    }

    // A cell inside a merged area sends the current cell to the area's base cell; a move inside
    // the area of the current cell itself (the first half of a key leaving the area) passes.
    int baseCol = RealColIndex(ACol), baseRow = ARow;
    if (!HasOption(goRangeSelect) && !ResolveBaseCell(baseCol, baseRow, baseCol, baseRow)) {
        int curCol = RealCol(), curRow = Row();
        ResolveBaseCell(curCol, curRow, curCol, curRow);
        if (curCol != baseCol || curRow != baseRow) {
            const int displBase = DisplColIndex(baseCol);
            if (displBase >= 0 && displBase < ColCount() && baseRow < RowCount())
                MoveColRow(displBase, baseRow, true, true);
            RepaintCell(displBase, baseRow);
            if (MouseActions()->DirectEdit ||
                (FControlLook->DropDownAlwaysVisible() && HasComboBox(RealColIndex(ACol), ARow)))
                ShowEditor();
            return false;
        }
    }
    if (ACol == 0 && HasNodes() && !HasOption(goRowSelect)) return false;
    if (FNavigation->SkipDisabledRows && UseEnabledRows && !GetRowEnabled(ARow)) return false;

    bool result = false;
    const int oldCol = Col(), oldRow = Row();
    const int C = RealColIndex(ACol);
    String text = GetGridCell(C, ARow);
    const bool focused = NormalEdit() && NormalEdit()->Focused();
    const bool rangeEdit = MouseActions()->RangeSelectAndEdit;
    if (IsClickableCell(C, ARow)) {
        bool can = true;
        QueryCanEdit(C, ARow, can);
        if (!FEditDisable) FEditDisable = !can && (HasOption(goEditing) || rangeEdit);
        if (!HasOption(goEditing) && !HasOption(goRowSelect) && can) {
            FEditChange = true;
            SwitchGridOption(this, goEditing, true);
        }
    } else {
        bool can = HasOption(goEditing) || FEditDisable;
        QueryCanEdit(C, ARow, can);
        if (can && MouseActions()->DirectEdit) {
            EditControl = DefaultEditor;
            if (HasNoEditor(C, ARow)) can = false;
        }
        if (MouseActions()->EditOnDblClickOnly()) can = false;
        if (can) {
            FEditDisable = false;
            if (!HasOption(goEditing)) {
                FEditChange = true;
                if (!FEditing) SaveOldCell(ACol, ARow);
                if (HasOption(goRowSelect) && rangeEdit) SwitchGridOption(this, goRowSelect, false);
                SwitchGridOption(this, goEditing, true);
            }
            if (FEditing) {
                HideInplaceEdit();
                text = GetGridCell(C, ARow);
            }
        } else {
            if (FEditing) {
                HideInplaceEdit();
                text = GetGridCell(C, ARow);
            }
            if (HasOption(goEditing)) {
                FEditMode = false;
                FEditDisable = true;
                FEditChange = true;
                SwitchGridOption(this, goEditing, false);
                SetEditorMode(false);
            }
        }
    }

    if (!FEditing || focused) {
        bool allow = true;
        CellChanging(ACol, ARow, allow);
        if (IsFixed(ACol, ARow) || !allow)
            result = (allow && HasOption(goRowSelect)) || (FixedRowAlways() && RowCount() == FixedRows());
        else
            result = TBaseGrid::SelectCell(ACol, ARow);
    } else {
        // An editor control is still open on the cell being left: its value is validated first.
        const String saved = FCellCache;
        const String current = GetGridCell(RealCol(), Row());
        result = IsWideCell(RealCol(), Row()) ? ValidateCellWide(current) : ValidateCell(current);
        bool allow = true;
        CellChanging(ACol, ARow, allow);
        if (!allow) result = false;
        if (result)
            result = TBaseGrid::SelectCell(ACol, ARow);
        else
            text = saved;
    }

    if (indicator) {
        RepaintCell(0, oldRow);
        RepaintCell(0, ARow);
    }
    if (FSelListener) FSelListener->CellSelected(Col(), ARow);
    if (FActiveCellShow) {
        RepaintHeaderCells(oldCol, oldRow, ARow, ACol);
        if (oldSel.Left != oldCol && oldSel.Top != oldRow)
            RepaintHeaderCells(oldSel.Left, oldSel.Top, oldSel.Top, oldSel.Left);
    }
    if (ActiveRowShow()) {
        RepaintRow(ARow);
        RepaintRow(oldSel.Top);
    }
    if (FSelectionRectangle) InvalidateGridRect(Selection());
    // Only a move that happens is reported to the row-changed handler.
    if (result && !Loading() && ARow != FLastReportedRow && OnRowUpdate) {
        const int old = FLastReportedRow;
        FLastReportedRow = ARow;
        OnRowUpdate(this, old, ARow);
    }
    if (HasCustomCellBorders())
        for (int r = oldSel.Top; r <= oldSel.Bottom && r < RowCount(); ++r) RepaintRow(r);
    FCellCache = text;
    return result;
}
