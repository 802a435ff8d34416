// The grid's keys: navigation, the editor keys (F2, Enter, a typed character) and the dialog
// codes that make the key pipeline hand these keys to the grid.
#include "Grids.h"

#include <algorithm>

void TCustomGrid::WMGetDlgCode(TMessage& Message) {
    Message.Result = DLGC_WANTARROWS;
    if (HasOption(goTabs)) Message.Result |= DLGC_WANTTAB;
    if (HasOption(goEditing)) Message.Result |= DLGC_WANTCHARS;
}

// A character typed on the grid with goEditing opens the editor and goes into it (replacing the
// text, which the editor selects when it loads the cell); otherwise it is an ordinary key press.
void TCustomGrid::WMChar(TWMKey& Message) {
    const Char ch(char16_t(Word(Message.CharCode)));
    if (HasOption(goEditing) && (ch == Char(8) || ch.unicode() >= 32)) {
        ShowEditor();
        if (FInplaceEdit && FInplaceCol >= 0 && FInplaceEdit->Visible()) {
            FInplaceEdit->Perform(WM_CHAR, Message.WParam(), Message.LParam());
            Message.Result = 0;
            return;
        }
    }
    TCustomControl::Dispatch(Message);
}

void TCustomGrid::KeyPress(Char& Key) {
    TCustomControl::KeyPress(Key);
    if (Key == Char(13) && !HasOption(goAlwaysShowEditor)) {
        if (FEditorMode)
            HideEditor();
        else
            ShowEditor();
        Key = Char(0);
    }
}

Word TCustomGrid::DirectionKey(Word Key) const {
    if (!UseRightToLeftAlignment()) return Key;
    if (Key == VK_LEFT) return VK_RIGHT;
    if (Key == VK_RIGHT) return VK_LEFT;
    return Key;
}

// Arrows, Page Up/Down (with Ctrl: the first and last row shown), Home/End (the first and last
// column; with Ctrl or goRowSelect: the first and last row), Tab with goTabs (the next cell,
// wrapping into the next row and round the grid; Shift+Tab back) and F2 (the editor). With
// range selection Shift moves the selection's other corner instead of the current cell. With
// goRowSelect Left and Right scroll. In a right-to-left grid Left and Right swap.
void TCustomGrid::KeyDown(Word& Key, TShiftState Shift) {
    TCustomControl::KeyDown(Key, Shift);
    if (Key == 0) return;
    const bool ctrl = Shift.count(ssCtrl) != 0;
    const bool rowSelect = HasOption(goRowSelect);
    bool ranged = Shift.count(ssShift) && RangeSelectAllowed();
    const Word key = DirectionKey(Key);
    const int pageRows = std::max(1, VisibleRowCount());
    const TGridCoord origin = ranged ? FAnchor : FCurrent;
    TGridCoord cur = origin;
    TGridCoord topLeft = FTopLeft;
    switch (key) {
        case VK_UP: --cur.Y; break;
        case VK_DOWN: ++cur.Y; break;
        case VK_LEFT:
            if (rowSelect)
                --topLeft.X;
            else
                --cur.X;
            break;
        case VK_RIGHT:
            if (rowSelect)
                ++topLeft.X;
            else
                ++cur.X;
            break;
        case VK_NEXT:
            if (ctrl) {
                cur.Y = FTopLeft.Y + pageRows - 1;
            } else {
                cur.Y += pageRows;
                topLeft.Y += pageRows;
            }
            break;
        case VK_PRIOR:
            if (ctrl) {
                cur.Y = FTopLeft.Y;
            } else {
                cur.Y -= pageRows;
                topLeft.Y -= pageRows;
            }
            break;
        case VK_HOME:
            if (ctrl || rowSelect) cur.Y = FFixedRows;
            if (!rowSelect) cur.X = FFixedCols;
            break;
        case VK_END:
            if (ctrl || rowSelect) cur.Y = RowCount() - 1;
            if (!rowSelect) cur.X = ColCount() - 1;
            break;
        case VK_TAB:
            if (!HasOption(goTabs) || Shift.count(ssAlt)) return;
            ranged = false;
            cur = FCurrent;
            if (Shift.count(ssShift)) {
                if (rowSelect || --cur.X < FFixedCols) {
                    cur.X = ColCount() - 1;
                    if (--cur.Y < FFixedRows) cur.Y = RowCount() - 1;
                }
            } else {
                if (rowSelect || ++cur.X >= ColCount()) {
                    cur.X = FFixedCols;
                    if (++cur.Y >= RowCount()) cur.Y = FFixedRows;
                }
            }
            break;
        case VK_F2: SetEditorMode(true); return;
        default: return;
    }
    TGridDrawInfo info;
    CalcDrawInfo(info);
    topLeft.X = std::clamp(topLeft.X, FFixedCols, std::max(FFixedCols, MaxTopLeftOf(FColWidths, info.Horz)));
    topLeft.Y = std::clamp(topLeft.Y, FFixedRows, std::max(FFixedRows, MaxTopLeftOf(FRowHeights, info.Vert)));
    cur.X = std::clamp(cur.X, FFixedCols, ColCount() - 1);
    cur.Y = std::clamp(cur.Y, FFixedRows, RowCount() - 1);
    if (!(topLeft == FTopLeft)) MoveTopLeft(topLeft.X, topLeft.Y);
    if (cur == origin) return;
    if (ranged)
        MoveAnchor(cur);
    else
        FocusCell(cur.X, cur.Y, true);
}
