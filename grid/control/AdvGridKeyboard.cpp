// The grid's keyboard: its own steps for WM_KEYDOWN, WM_CHAR and WM_KEYUP before (and after) the
// platform grid's standard key processing, the Tab navigation, the row append at the end and the
// tab-stop queries they share. A key the grid consumes itself fires OnKeyDown itself, with a copy
// of the key (a handler's change is ignored).
#include "AdvGrid.h"
#include "AdvGridEditRules.h"

#include "Forms.h"
#include "GridUtil.h"
#include "MarkupText.h"

#include <algorithm>

namespace {

bool IsArrowKey(Word Key) {
    return Key == VK_LEFT || Key == VK_UP || Key == VK_RIGHT || Key == VK_DOWN;
}

bool IsNavigationKey(Word Key) {
    return Key >= VK_PRIOR && Key <= VK_DOWN;
}

TGridRect Normalised(TGridRect R) {
    if (R.Left > R.Right) std::swap(R.Left, R.Right);
    if (R.Top > R.Bottom) std::swap(R.Top, R.Bottom);
    return R;
}

} // namespace

void TAdvStringGrid::FireKeyDown(Word Key, TShiftState Shift) {
    if (!OnKeyDown) return;
    Word copy = Key;
    OnKeyDown(this, copy, Shift);
}

// Markup with a CONTROL tag: Enter, F2 and typing act on the tag's editors, not on the cell.
static bool HoldsCellControl(TAdvStringGrid* Grid) {
    const String text = Grid->Cells(Grid->Col(), Grid->Row());
    return CellTextType(text, Grid->EnableHTML) == ctkMarkup && text.toUpper().contains(u"<CONTROL");
}

// =============================================================================================
// WM_KEYDOWN

void TAdvStringGrid::WMKeyDown(TWMKey& Message) {
    TNavigation* nav = FNavigation.get();
    TShiftState shift;
    if (GetKeyState(VK_CONTROL) < 0) shift.insert(ssCtrl);
    if (GetKeyState(VK_SHIFT) < 0) shift.insert(ssShift);
    if (GetKeyState(VK_LMENU) < 0) shift.insert(ssAlt);
    FKeyShift = shift;
    const bool ctrl = shift.count(ssCtrl) != 0;
    const bool shiftDown = shift.count(ssShift) != 0;
    const bool altDown = GetKeyState(VK_MENU) < 0;
    Word key = Message.CharCode;

    FKeySelection = Selection();
    const int oldLeftCol = LeftCol();
    const int RC = RealColIndex(Col());
    const bool keepScroll = (key == VK_PRIOR || key == VK_NEXT || key == VK_UP || key == VK_DOWN) &&
                            HasOption(goRowSelect) && LeftCol() != FixedCols() && nav->KeepHorizScroll;

    if (nav->MoveScrollOnly && (key == VK_PRIOR || key == VK_NEXT || key == VK_END || key == VK_HOME ||
                                key == VK_UP || key == VK_DOWN)) {
        const int visible = VisibleRowCount();
        const int top = TopRow();
        int newTop = top;
        switch (key) {
            case VK_PRIOR: newTop = top > visible + FixedRows() ? top - visible : FixedRows(); break;
            case VK_NEXT:
                if (top + visible < RowCount()) newTop = top + visible;
                break;
            case VK_END: newTop = RowCount() - visible; break;
            case VK_HOME: newTop = FixedRows(); break;
            case VK_UP:
                if (top > FixedRows()) newTop = top - 1;
                break;
            default:
                if (top + visible < RowCount()) newTop = top + 1;
                break;
        }
        if (newTop != top) SetTopRow(std::max(FixedRows(), newTop));
        Message.Result = 1;
        return;
    }

    const bool enterOrF2 = key == VK_RETURN || key == VK_F2;
    if (MouseActions()->EditOnDblClickOnly() && enterOrF2 && !HasOption(goEditing)) {
        const bool saved = MouseActions()->RangeSelectAndEdit;
        MouseActions()->RangeSelectAndEdit = true;
        const bool editable = IsEditable(Col(), Row());
        MouseActions()->RangeSelectAndEdit = saved;
        if (editable) SwitchGridOption(this, goEditing, true);
    }
    if (MouseActions()->RangeSelectAndEdit && !HasOption(goEditing) && enterOrF2) {
        if (IsEditable(Col(), Row())) {
            SwitchGridOption(this, goEditing, true);
            ShowInplaceEdit();
        } else {
            FireKeyDown(key, shift);
            Message.CharCode = 0;
            Message.Result = 1;
            return;
        }
    }
    // Ctrl+F gives the search panel's edit field the focus once the grid has a search panel.
    if (enterOrF2 && HasOption(goEditing) && !IsEditable(Col(), Row())) {
        FireKeyDown(key, shift);
        Message.CharCode = 0;
        Message.Result = 1;
        return;
    }
    if (enterOrF2 && HoldsCellControl(this)) {
        Message.Result = 1;
        return;
    }
    if (key == VK_RETURN && !IsEditable(Col(), Row())) {
        TCustomForm* form = FindParentForm(this);
        if (form && form->KeyPreview()) {
            TBaseGrid::Dispatch(Message);
            return;
        }
        FireKeyDown(key, shift);
        Message.CharCode = 0;
        Message.Result = 1;
        return;
    }
    if ((key == VK_RETURN || key == VK_SPACE) && IsClickableCell(RC, Row())) KeyDownClickable(key, RC);
    if ((key == VK_HOME || key == VK_END) && KeyDownHomeEnd(Message, key, shift, oldLeftCol)) return;

    if ((key == VK_RIGHT || key == VK_LEFT) && IsNode(Row()) && IsMergedCell(RC, Row())) {
        if (key == VK_RIGHT)
            ExpandNode(RealRowIndex(Row()));
        else
            ContractNode(RealRowIndex(Row()));
    }
    if ((key == VK_RIGHT || key == VK_LEFT) && HasOption(goRowSelect) && !IsNode(Row()) &&
        ColCount() > VisibleColCount()) {
        const bool scroll = nav->LeftRightRowSelect ? ctrl : true;
        if (scroll) {
            const bool left = (key == VK_LEFT) != UseRightToLeftAlignment();
            if (left && LeftCol() > FixedCols())
                SetLeftCol(LeftCol() - 1);
            else if (!left && VisibleColCount() + LeftCol() < ColCount())
                SetLeftCol(LeftCol() + 1);
        }
        if (!nav->LeftRightRowSelect) {
            FireKeyDown(key, shift);
            Message.Result = 0;
            return;
        }
    }
    if (key == VK_TAB && HasOption(goTabs)) {
        AdvanceOnTab(shiftDown);
        const TGridRect sel = Selection();
        if (!(sel == FKeySelection)) SelectionChanged(sel.Left, sel.Top, sel.Right, sel.Bottom);
        return;
    }
    if (nav->SkipFixedCells && IsArrowKey(key) && KeyDownSkipFixed(Message, key, shift)) key = 0;
    if (key == VK_DOWN && IsLastDataRow() && nav->AppendOnArrowDown) AddRowAtEnd();
    if (FSelectionRectangle && !(Selection() == FKeySelection)) {
        InvalidateGridRect(Selection());
        FKeySelection = Selection();
    }

    // The search panel covers the last rows: the keys that would bring the current cell under it
    // keep it above.
    const int t0 = TopRow();
    const bool searchShown = FSearchFooter->Visible();
    bool searchLock = false;
    if (searchShown && TopRow() >= RowCount() - VisibleRowCount()) {
        const bool onLast = Row() >= RowCount() - 1;
        if ((key == VK_DOWN && onLast) || (key == VK_RIGHT && onLast && Col() == ColCount() - 1) ||
            (key == VK_LEFT && onLast && Col() == FixedCols())) {
            if (key == VK_DOWN) AdjustForSearchFooter();
            Message.Result = 1;
            FireKeyDown(key, shift);
            return;
        }
        if (onLast &&
            (key == VK_NEXT || key == VK_END || key == VK_LEFT || key == VK_RIGHT || key == VK_DOWN))
            searchLock = true;
        else if (key != VK_SHIFT && key != VK_MENU && !IsNavigationKey(key))
            searchLock = true;
        if (searchLock) BeginUpdate();
    }
    if (keepScroll) BeginUpdate();

    if (key != 0) TBaseGrid::Dispatch(Message);

    if (searchShown && TopRow() >= RowCount() - VisibleRowCount() && key != VK_SHIFT && key != VK_MENU &&
        !IsNavigationKey(key) && key != 0)
        SetTopRow(t0);
    if (searchLock) EndUpdate();
    const int panel = ShownSearchPanelHeight();
    if (panel > 0 && Row() == RowCount() - 1 &&
        (key == VK_NEXT || key == VK_END || key == VK_LEFT || key == VK_RIGHT || key == VK_DOWN)) {
        for (TRect r = CellRect(Col(), Row());
             !r.IsEmpty() && r.Bottom > ClientHeight() - panel + 2 && TopRow() < RowCount() - 1;
             r = CellRect(Col(), Row()))
            SetTopRow(TopRow() + 1);
    }
    if (keepScroll) {
        SetLeftCol(oldLeftCol);
        EndUpdate();
    }
    if (key == 0) return;

    const bool persistent = MouseActions()->DisjunctRowSelect() && MouseActions()->RowSelectPersistent;
    const int RS = persistent ? RealRowIndex(Row()) : Row();

    if (nav->AllowClipboardShortCuts) {
        enum { cbNone, cbCut, cbCopy, cbPaste } op = cbNone;
        if (ctrl && key == 'X') op = cbCut;
        if (ctrl && key == 'V') op = cbPaste;
        if (ctrl && (key == VK_INSERT || key == 'C')) op = cbCopy;
        if (shiftDown && !ctrl && key == VK_INSERT) op = cbPaste;
        if (shiftDown && !ctrl && key == VK_DELETE) op = cbCut;
        if (op != cbNone) {
            bool allow = true;
            switch (op) {
                case cbCut:
                    if (OnClipboardCut) OnClipboardCut(this, allow);
                    if (allow) CutSelectionToClipboard();
                    break;
                case cbPaste:
                    if (OnClipboardPaste) OnClipboardPaste(this, allow);
                    if (allow) PasteSelectionFromClipboard();
                    break;
                default:
                    if (OnClipboardCopy) OnClipboardCopy(this, allow);
                    if (allow) CopySelectionToClipboard();
                    break;
            }
            return;
        }
    }

    if (key == VK_INSERT && nav->AllowInsertRow && !ctrl && !shiftDown && !altDown) {
        if (!CanInsertRow(Row())) return;
        const int r = RealRowIndex(Row());
        int newRow = Row();
        const bool filter = FilterActive();
        SetFilterActive(false);
        if (r < RowCount()) SetRow(r);
        int at;
        if (nav->InsertPosition == pInsertAfter) {
            if (FixedRowAlways() && FixedRows() == RowCount()) {
                at = RealRowIndex(Row());
                newRow = 1;
            } else if (Row() + 1 < RowCount()) {
                at = RealRowIndex(Row() + 1);
                if (newRow + 1 < RowCount()) ++newRow;
            } else {
                at = RealRowIndex(Row());
            }
        } else {
            at = RealRowIndex(Row());
        }
        AutoInsertRow(at);
        if (OnAutoInsertRow) OnAutoInsertRow(this, at);
        FGridModified = true;
        SetFilterActive(filter);
        if (newRow >= 0 && newRow < RowCount()) SetRow(newRow);
        CalcFooter(-1);
    } else if (ctrl && key == 'A') {
        if (!HasOption(goRowSelect) && !HasOption(goRangeSelect)) return;
        const int lastCol = ColCount() - FixedRightCols() - 1;
        const int lastRow = RowCount() - FixedFooters() - 1;
        if (lastCol < 0 || lastRow < FixedRows()) return;
        TGridRect all;
        all.Left = FirstNormalCol();
        all.Top = FixedRows();
        all.Right = lastCol;
        all.Bottom = lastRow;
        if (MouseActions()->DisjunctRowSelect())
            for (int r = FixedRows(); r <= lastRow; ++r) SetRowSelect(r, true);
        BeforeSelectAll(all);
        SetSelection(all);
        FocusCell(lastCol, lastRow);
        const TRect cell = CellRect(lastCol, lastRow);
        MouseDown(mbLeft, {}, cell.Left + 2, cell.Top + 2);
        MouseUp(mbLeft, {}, cell.Left + 2, cell.Top + 2);
        FocusCell(lastCol, lastRow);
        SetSelection(all);
        return;
    }
    KeyDownOtherKeys(Message, key, shift, RS);
}

// Enter or Space on a check box, radio group, radio button or button cell.
void TAdvStringGrid::KeyDownClickable(Word Key, int RC) {
    const int row = Row();
    bool allow = HasOption(goEditing) || MouseActions()->RangeSelectAndEdit;
    QueryCanEdit(RC, row, allow);
    const bool space = Key == VK_SPACE;
    if (space && (allow || FControlLook->CheckAlwaysActive()) && HasCheckBox(RC, row)) {
        if (ToggleCheckState(RC, row, true)) {
            if (FShowModified->Enabled()) {
                SetRowModified(row, true);
                RepaintCell(0, row);
            }
            bool state = false;
            GetCheckBoxState(RC, RealRowIndex(row), state);
            CheckBoxClick(RC, row, state);
        }
    }
    if (space && (allow || FControlLook->RadioAlwaysActive()) && IsRadio(RC, row)) {
        SelectNextRadio(RC, row, true);
        int idx = -1;
        GetRadioIdx(RC, row, idx);
        if (OnRadioClick) OnRadioClick(this, RC, row, idx);
    }
    if (space && (allow || FControlLook->RadioAlwaysActive()) && HasRadioButton(RC, row)) {
        SetRadioButtonColumnIndex(RC, row);
        if (OnRadioButtonClick) OnRadioButtonClick(this, RC, row);
    }
    if (allow && HasButton(Col(), row)) ButtonClick(RC, row);
    RepaintCell(Col(), row);
}

// Home and End by Navigation.HomeEndKey; True when the key is done.
bool TAdvStringGrid::KeyDownHomeEnd(TWMKey& Message, Word Key, TShiftState Shift, int OldLeftCol) {
    const THomeEndAction mode = FNavigation->HomeEndKey;
    const bool ctrl = Shift.count(ssCtrl) != 0;
    const bool shiftDown = Shift.count(ssShift) != 0;
    const bool home = Key == VK_HOME;
    const int keyRow = Row();
    auto fire = [&] {
        FireKeyDown(Key, Shift);
        Message.Result = 0;
    };
    auto rowRange = [&] {
        if (MouseActions()->DisjunctRowSelect() && !shiftDown) {
            ClearRowSelect();
            SelectionToRowSelect(false);
        }
        if (shiftDown) {
            TGridRect sel;
            sel.Left = 0;
            sel.Right = ColCount() - 1;
            sel.Top = std::min(keyRow, Row());
            sel.Bottom = std::max(keyRow, Row());
            SetSelection(sel);
            if (MouseActions()->DisjunctRowSelect()) SelectionToRowSelect(false);
        }
    };
    auto restoreScroll = [&] {
        if (HasOption(goRowSelect) && FNavigation->KeepHorizScroll) {
            StartUpdate();
            SetLeftCol(OldLeftCol);
            ResetUpdate();
        }
    };
    auto standard = [&] {
        TBaseGrid::Dispatch(Message);
        return true;
    };
    const bool single = FixedRowAlways() && RowCount() == 1;
    if (mode == heFirstLastCell && !ctrl) {
        fire();
        if (home) {
            SetCol(FixedCols());
            SetRow(FixedRows());
        } else {
            SetCol(ColCount() - 1);
            SetRow(RowCount() - 1);
        }
        MoveToBaseCell();
        return true;
    }
    if (mode == heFirstLastRow && !ctrl) {
        if (single) return standard();
        fire();
        if (home) {
            SetRow(FixedRows());
            MoveToBaseCell();
            rowRange();
        } else {
            const bool footer = FFloatingFooter->Visible();
            SetRow(footer && RowCount() > 2 ? RowCount() - 2 : RowCount() - FixedFooters() - 1);
            if (FixedFooters() > 0 && !footer) SetTopRow(RowCount() - VisibleRowCount());
            MoveToBaseCell();
            rowRange();
            if (footer) SetTopRow(RowCount() - VisibleRowCount());
        }
        restoreScroll();
        return true;
    }
    if (mode == heFirstLastColumn && home && ctrl) {
        fire();
        SetRow(FixedRows());
        const int c = FirstTabColInRow(Row());
        if (c >= 0) SetCol(c);
        MoveToBaseCell();
        SetLeftCol(FirstNormalCol());
        return true;
    }
    if (mode == heFirstLastColumn && !ctrl && !HasOption(goRowSelect)) {
        if (single) return standard();
        fire();
        if (shiftDown) {
            TGridRect sel;
            sel.Left = home ? FixedCols() : Col();
            sel.Right = home ? Col() : ColCount() - FixedRightCols() - 1;
            sel.Top = sel.Bottom = Row();
            SetSelection(sel);
            RepaintRow(Row());
            return true;
        }
        if (home) {
            const int c = FirstTabColInRow(Row());
            if (c >= 0) SetCol(c);
            MoveToBaseCell();
            SetLeftCol(FirstNormalCol());
        } else {
            SetCol(ColCount() - 1);
            MoveToBaseCell();
            SetLeftCol(ColCount() - VisibleColCount());
        }
        return true;
    }
    return false;
}

// Arrows over fixed cells; True when the key jumped (and so does nothing more).
bool TAdvStringGrid::KeyDownSkipFixed(TWMKey& Message, Word Key, TShiftState Shift) {
    Word key = Key;
    if (UseRightToLeftAlignment() && key == VK_LEFT)
        key = VK_RIGHT;
    else if (UseRightToLeftAlignment() && key == VK_RIGHT)
        key = VK_LEFT;
    const int rightEnd = ColCount() - FixedRightCols();
    const int bottomEnd = RowCount() - FixedFooters();
    bool jumped = false;
    switch (key) {
        case VK_RIGHT:
            if (Col() < rightEnd && Col() + 1 < ColCount() && IsFixed(Col() + 1, Row())) {
                int c = Col();
                while (c + 1 < rightEnd && IsFixed(c + 1, Row())) ++c;
                if (c + 1 < rightEnd && !IsFixed(c + 1, Row())) SetCol(c + 1);
                jumped = true;
            }
            break;
        case VK_LEFT:
            if (Col() > FixedCols() && IsFixed(Col() - 1, Row())) {
                int c = Col();
                while (c - 1 >= FixedCols() && IsFixed(c - 1, Row())) --c;
                if (c - 1 >= FixedCols() && !IsFixed(c - 1, Row())) SetCol(c - 1);
                jumped = true;
            }
            break;
        case VK_UP:
            if (Row() > FixedRows() && IsFixed(Col(), Row() - 1)) {
                int r = Row();
                if (!HasOption(goRowSelect))
                    while (r - 1 >= FixedRows() && IsFixed(Col(), r - 1)) --r;
                if (r - 1 >= FixedRows() && (HasOption(goRowSelect) || !IsFixed(Col(), r - 1))) SetRow(r - 1);
                jumped = true;
            }
            break;
        case VK_DOWN:
            if (Row() < bottomEnd && Row() + 1 < RowCount() && IsFixed(Col(), Row() + 1)) {
                int r = Row();
                if (!HasOption(goRowSelect))
                    while (r + 1 < bottomEnd && IsFixed(Col(), r + 1)) ++r;
                if (r + 1 < bottomEnd && (HasOption(goRowSelect) || !IsFixed(Col(), r + 1))) SetRow(r + 1);
                jumped = true;
            }
            break;
        default: break;
    }
    if (!jumped) return false;
    FireKeyDown(Key, Shift);
    Message.CharCode = 0;
    return true;
}

// The keys after the standard processing: the disjunct selections, Space, Delete, Enter and F2.
void TAdvStringGrid::KeyDownOtherKeys(TWMKey&, Word Key, TShiftState Shift, int RS) {
    TNavigation* nav = FNavigation.get();
    TMouseActions* mouse = MouseActions();
    const bool ctrl = Shift.count(ssCtrl) != 0;
    const bool shiftDown = Shift.count(ssShift) != 0;
    if (IsNavigationKey(Key) && mouse->DisjunctRowSelect()) {
        if (!shiftDown && !ctrl) ClearRowSelect();
        if (shiftDown)
            SelectionToRowSelect(true);
        else
            SetRowSelect(RS, true);
    }
    if (IsNavigationKey(Key) && mouse->DisjunctColSelect()) {
        if (!shiftDown && !ctrl) ClearColSelect();
        if (shiftDown)
            SelectionToColSelect(true);
        else
            SetColSelect(Col(), true);
    }
    if (Key == VK_SPACE) {
        if (mouse->DisjunctRowSelect()) SetRowSelect(RS, !GetRowSelect(RS));
        if (mouse->DisjunctColSelect()) SetColSelect(Col(), !GetColSelect(Col()));
    }
    if (Key == VK_DELETE && nav->AllowDeleteRow && GetKeyState(VK_MENU) >= 0 &&
        RowCount() - FixedFooters() - FixedRows() >= 1) {
        const int r = RealRowIndex(Row());
        const bool filter = FilterActive();
        SetFilterActive(false);
        if (!CanDeleteRow(r)) {
            SetFilterActive(filter);
            return;
        }
        AutoDeleteRow(r);
        SetFilterActive(filter);
        if (FFloatingFooter->Visible() && Row() == RowCount() - 1 && RowCount() > 1) SetRow(RowCount() - 2);
        SaveOldCell(Col(), Row());
        FGridModified = true;
        CalcFooter(-1);
    }
    if (Key == VK_RETURN || Key == VK_F2) {
        SaveOldCell(Col(), Row());
        if (HasHTMLControl(Cells(Col(), Row()))) EditCellControl(Col(), Row(), String());
        if (Key == VK_F2) F2KeyPressed();
    }
    const TGridRect sel = Selection();
    if (!(sel == FKeySelection)) {
        SelectionChanged(sel.Left, sel.Top, sel.Right, sel.Bottom);
        FKeySelection = sel;
    }
}

// =============================================================================================
// WM_CHAR and WM_KEYUP

void TAdvStringGrid::WMChar(TWMKey& Message) {
    if (HoldsCellControl(this)) {
        Message.Result = 1;
        return;
    }
    const int RC = RealColIndex(Col());
    if (MouseActions()->EditOnDblClickOnly()) {
        // Typing into an editable cell switches editing on, as Enter and F2 do.
        bool canEdit = true;
        QueryCanEdit(RC, Row(), canEdit);
        if (canEdit) SwitchGridOption(this, goEditing, true);
    }
    Word c = Message.CharCode;
    const bool ctrl = GetKeyState(VK_CONTROL) < 0;
    if (FNavigation->AllowClipboardShortCuts && ctrl && (c == 3 || c == 22 || c == 24)) {
        Message.CharCode = 0;
        return;
    }
    const bool clickable = IsClickableCell(RC, Row());
    if (MouseActions()->RangeSelectAndEdit && !clickable && IsEditable(Col(), Row()) && c != 9 && c != 27 &&
        !ctrl) {
        if (OnKeyPress) {
            Char copy{char16_t(c)};
            OnKeyPress(this, copy);
        }
        FStartEditChar = Char(char16_t(c));
        SwitchGridOption(this, goEditing, true);
        if (Col() < LeftCol() || Col() > LeftCol() + VisibleColCount() || Row() < TopRow() ||
            Row() > TopRow() + VisibleRowCount())
            ScrollInView(Col(), Row());
        const TRect r = CellRect(Col(), Row());
        MouseDown(mbLeft, {}, r.Left + 2, r.Top + 2);
        TBaseGrid::Dispatch(Message);
        return;
    }
    if (c == '.' && ExcelStyleDecimalSeparator && (Message.KeyData & 0x400000) != 0) {
        c = GetDecimalSeparator().unicode();
        Message.CharCode = c;
    }
    bool handled = false;
    if (clickable && c == 13 && FNavigation->AdvanceOnEnter) {
        TBaseGrid::Dispatch(Message);
        handled = true;
    }
    if (HasOption(goEditing) && c != 9 && (c == 8 || (c >= 32 && c <= 255))) {
        Char ch{char16_t(c)};
        if (OnKeyPress) OnKeyPress(this, ch);
        FStartEditChar = ch;
        Message.CharCode = ch.unicode();
        if (!clickable && ch.unicode() != 0) TBaseGrid::Dispatch(Message);
        return;
    }
    if (handled) return;
    // A character beyond 255 opens no editor: it goes to the key press alone.
    if (c > 255)
        TWinControl::WMChar(Message);
    else
        TBaseGrid::Dispatch(Message);
}

void TAdvStringGrid::WMKeyUp(TWMKey& Message) {
    TBaseGrid::Dispatch(Message);
}

void TAdvStringGrid::KeyUp(Word& Key, TShiftState Shift) {
    const Word key = Key;
    if ((key >= VK_PRIOR && key <= VK_END) || IsArrowKey(key) || key == VK_INSERT || key == VK_DELETE)
        SearchInc.clear();
    const TGridRect before = Normalised(Selection());
    TBaseGrid::KeyUp(Key, Shift);
    const bool tab = key == VK_TAB && HasOption(goTabs);
    if (FNavigation->AlwaysEdit && (IsArrowKey(key) || tab) && !IsClickableCell(RealCol(), Row()))
        ShowInplaceEdit();
    if (IsArrowKey(key) || key == VK_TAB) {
        const TGridRect sel = Selection();
        if (!(sel == FKeySelection)) SelectionChanged(sel.Left, sel.Top, sel.Right, sel.Bottom);
    }
    if (!MouseActions()->DisjunctCellSelect() || HasOption(goEditing)) return;
    if (Shift.count(ssShift)) {
        for (int r = before.Top; r <= before.Bottom; ++r)
            for (int c = before.Left; c <= before.Right; ++c) SetSelectedCells(c, r, false);
        const TGridRect now = Normalised(Selection());
        for (int r = now.Top; r <= now.Bottom; ++r)
            for (int c = now.Left; c <= now.Right; ++c)
                if (c != Col() || r != Row()) SetSelectedCells(c, r, true);
    }
    if (key == VK_SPACE) {
        const TPoint b = BaseCell(Col(), Row());
        if (!IsFixed(b.X, b.Y)) {
            bool canSelect = true;
            if (OnSelectCell) OnSelectCell(this, b.X, b.Y, canSelect);
            if (!canSelect) return;
            if (Shift.count(ssCtrl)) {
                SetSelectedCells(b.X, b.Y, !SelectedCells(b.X, b.Y));
            } else {
                ClearSelectedCells();
                SetSelectedCells(b.X, b.Y, true);
                const TGridRect sel = Normalised(Selection());
                if (sel.Right > sel.Left || sel.Bottom > sel.Top)
                    for (int r = sel.Top; r <= sel.Bottom; ++r)
                        for (int c = sel.Left; c <= sel.Right; ++c)
                            if (c != b.X || r != b.Y) SetSelectedCells(c, r, true);
                Invalidate();
            }
        }
    }
    RepaintCell(Col(), Row());
}

// =============================================================================================
// Tab navigation

bool TAdvStringGrid::AdvanceOnTab(bool Backward) {
    TNavigation* nav = FNavigation.get();
    bool result = true;
    auto handOn = [&] {
        if (Parent() && nav->TabToNextAtEnd) {
            if (Parent()->HandleAllocated()) PostMessage(Parent()->Handle(), WM_KEYDOWN, VK_TAB, 0);
            result = false;
        }
    };
    const int limitC = ColCount() - VisibleFixedRightCols();
    const int lastDataRow = RowCount() - FixedFooters() - 1;
    if (OnKeyDown) {
        Word k = VK_TAB;
        OnKeyDown(this, k, Backward ? TShiftState{ssShift} : TShiftState{});
        if (k != VK_TAB) return true;
    }
    if (Col() == FLastTabCol && Row() == FLastTabRow) return true;
    FLastTabCol = Col();
    FLastTabRow = Row();
    if (FTabDepth == 0) {
        FTabStartCol = Col();
        FTabStartRow = Row();
    }
    ++FTabDepth;
    struct TEnd {
        TAdvStringGrid* G;
        ~TEnd() {
            G->FLastTabCol = -1;
            G->FLastTabRow = -1;
            --G->FTabDepth;
        }
    } endTab{this};

    auto isBase = [&](int c, int r) {
        int bc = RealColIndex(c), br = r;
        return ResolveBaseCell(bc, br, bc, br);
    };
    auto selectOnly = [&](int c, int r) {
        TGridRect sel;
        sel.Left = sel.Right = c;
        sel.Top = sel.Bottom = r;
        FForceSel = true;
        MoveColRow(c, r, true, true);
        FForceSel = false;
        SetSelection(sel);
    };
    const int first = FirstNormalCol();
    if (Backward && nav->TabAdvanceDirection != adLeftRight) {
        if (Row() > FixedRows()) {
            SetRow(Row() - 1);
        } else {
            SetRow(lastDataRow);
            SetCol(Col() > first ? Col() - 1 : limitC - 1);
        }
    } else if (Backward && Col() > first) {
        int b = 1;
        while (Col() - b >= first && !(CanTabToCell(Col() - b, Row()) && isBase(Col() - b, Row()))) ++b;
        if (Col() - b >= first) {
            SetCol(Col() - b);
        } else if (Row() > FixedRows()) {
            const int l = LastTabColInRow(Row() - 1);
            if (l >= 0) selectOnly(l, Row() - 1);
        } else {
            const int l = LastTabColInRow(lastDataRow);
            if (l >= 0) {
                selectOnly(l, lastDataRow);
                ScrollInView(Col(), Row());
            }
        }
        if (!isBase(Col(), Row())) MoveToBaseCell();
    } else if (Backward) {
        int b = 1;
        while (limitC - b >= FixedCols() && !CanTabToCell(limitC - b, Row())) ++b;
        if (limitC - b >= 0) SetCol(limitC - b);
        SetRow(Row() > FixedRows() ? Row() - 1 : lastDataRow);
    } else if (nav->TabAdvanceDirection != adLeftRight) {
        const int s = std::max(0, CellSpan(RealCol(), Row()).Y);
        if (Row() + s + 1 < RowCount() - FixedFooters()) {
            SetRow(Row() + s + 1);
        } else {
            MoveToFirstRow();
            if (Col() < limitC - 1) {
                SetCol(Col() + 1);
            } else {
                SetCol(first);
                handOn();
            }
        }
    } else {
        const int x = Col() + std::max(0, CellSpan(RealCol(), Row()).X);
        if (x + 1 < limitC) {
            int c = 1;
            while (x + c < limitC && !CanTabToCell(x + c, Row())) ++c;
            if (x + c == limitC) {
                FForceSel = true;
                if (Row() < lastDataRow) {
                    const int n = FirstTabColInRow(Row() + 1);
                    bool allow = true;
                    const int target = n < 0 ? FixedCols() : n;
                    if (OnRowChanging) OnRowChanging(this, Row(), Row() + 1, allow);
                    if (OnCellChanging) OnCellChanging(this, Row(), Col(), Row() + 1, target, allow);
                    if (OnColChanging) OnColChanging(this, Col(), target, allow);
                    if (allow) {
                        SetCol(target);
                        SetRow(Row() + 1);
                    }
                } else {
                    const int n = FirstTabColInRow(FixedRows());
                    if (n >= 0) selectOnly(n, FixedRows());
                    handOn();
                }
                FForceSel = false;
            } else {
                SetCol(x + c);
                if (!isBase(Col(), Row())) {
                    FLastTabCol = -1;
                    FLastTabRow = -1;
                    AdvanceOnTab(false);
                }
            }
        } else if (Row() < lastDataRow) {
            int e = first;
            while (e < ColCount() && !(isBase(e, Row() + 1) && CanTabToCell(e, Row() + 1))) ++e;
            if (e < ColCount()) {
                FForceSel = true;
                SetCol(e);
                FForceSel = false;
                SetRow(Row() + 1);
            } else {
                int g = Row() + 2;
                while (g < RowCount() && FirstTabColInRow(g) < 0) ++g;
                if (g < RowCount()) {
                    SetRow(g);
                    SetCol(FirstTabColInRow(g));
                } else {
                    // No later row has a tab stop: the bottom right cell, and one step more.
                    FForceSel = true;
                    MoveColRow(ColCount() - 1, RowCount() - 1, true, true);
                    FForceSel = false;
                    FLastTabCol = -1;
                    FLastTabRow = -1;
                    AdvanceOnTab(false);
                }
            }
        } else {
            if (nav->TabToNextAtEnd || !nav->AdvanceInsert()) {
                MoveToFirstRow();
            } else if (!CanAddRow()) {
                MoveToFirstRow();
            } else {
                if (FFloatingFooter->Visible()) {
                    InsertRows(RowCount() - 1, 1);
                    SetRow(RowCount() - 2);
                } else {
                    SetRowCount(RowCount() + 1);
                    SetRow(RowCount() - 1);
                }
                if (OnAutoAddRow) OnAutoAddRow(this, RowCount() - FixedFooters() - 1);
            }
            const int n = FirstTabColInRow(Row());
            if (n >= 0) SetCol(n);
            handOn();
        }
    }
    if (HasOption(goEditing) && !IsEditable(Col(), Row()) && result) {
        // A walk over read-only cells ends once it is back at the cell the Tab started from, or
        // has passed every cell of the grid.
        if (!(Col() == FTabStartCol && Row() == FTabStartRow) && FTabDepth < ColCount() * RowCount()) {
            FLastTabCol = -1;
            FLastTabRow = -1;
            result = AdvanceOnTab(Backward);
        }
    }
    if (nav->AdvanceAutoEdit && !IsClickableCell(RealCol(), Row())) SimulateCellClick(Col(), Row());
    if (nav->AlwaysEdit && CanFocus()) SetFocus();
    return result;
}

// =============================================================================================
// Rows added and removed by key

void TAdvStringGrid::AddRowAtEnd() {
    if (!CanAddRow()) return;
    const int all = ColCount() + NumHiddenColumns();
    if (FFloatingFooter->Visible()) {
        std::vector<String> footer(size_t(std::max(0, all)));
        for (int c = 0; c < all; ++c) footer[size_t(c)] = GetGridCell(c, RowCount() - 1);
        AutoAddRow();
        const int above = RowCount() - 2;
        for (int c = 0; c < all; ++c) {
            SetGridCell(c, above, String());
            SetObjects(c, above, nullptr);
        }
        for (int c = 0; c < all; ++c) SetGridCell(c, RowCount() - 1, footer[size_t(c)]);
    } else {
        AutoAddRow();
        for (int c = 0; c < all; ++c) {
            SetGridCell(c, RowCount() - 1, String());
            SetObjects(c, RowCount() - 1, nullptr);
        }
    }
    if ((FFloatingFooter->Visible() || FixedFooters() > 0) && Row() + 1 < RowCount()) SetRow(Row() + 1);
    if (FFloatingFooter->Visible()) CalcFooter(-1);
    if (OnAutoAddRow) OnAutoAddRow(this, RowCount() - FixedFooters() - 1);
}

void TAdvStringGrid::AutoAddRow() {
    AddRow();
}

void TAdvStringGrid::AutoInsertRow(int ARow) {
    InsertRows(DisplRowIndex(ARow), 1);
}

// The last data row is only emptied (unless FixedRowAlways keeps a grid of fixed rows alone).
void TAdvStringGrid::AutoDeleteRow(int ARow) {
    const int displ = DisplRowIndex(ARow);
    if (RowCount() - FixedFooters() - FixedRows() <= 1 && !FixedRowAlways())
        ClearRows(displ, 1);
    else
        RemoveRows(displ, 1);
    if (OnAutoDeleteRow) OnAutoDeleteRow(this, ARow);
}

bool TAdvStringGrid::CanDeleteRow(int ARow) {
    bool can = true;
    if (OnCanDeleteRow) OnCanDeleteRow(this, ARow, can);
    return can;
}

void SwitchGridOption(TAdvStringGrid* Grid, TGridOption Option, bool On) {
    TGridOptions options = Grid->Options();
    if (On)
        options.insert(Option);
    else
        options.erase(Option);
    Grid->SetOptions(options);
}
