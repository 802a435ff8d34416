// The editor protocol of the grid and its in-place editor.
//
// The grid is "editing" (EditorMode) between ShowEditor and HideEditor. While it is, UpdateEdit
// keeps the editor on the current cell: CanEditShow is asked, the editor is made on first use
// (CreateEditor), loaded from the cell (GetEditText, GetEditMask, GetEditLimit) when it comes to
// a new cell and placed on the cell's rectangle. The text goes back to the cell through
// SetEditText once per change: when the editor closes, moves to another cell, before the grid
// asks SelectCell about a move, and when the focus leaves the grid and the editor.
#include "Grids.h"

#include "Forms.h"

// =============================================================================================
// TCustomGrid: the protocol

bool TCustomGrid::CanEditShow() {
    return HasOption(goEditing) && !HasOption(goRowSelect) && HandleAllocated() && FCurrent.X >= FFixedCols &&
           FCurrent.Y >= FFixedRows && FCurrent.X < ColCount() && FCurrent.Y < RowCount() &&
           (HasOption(goAlwaysShowEditor) || IsActiveControl());
}

TInplaceEdit* TCustomGrid::CreateEditor() {
    return new TInplaceEdit(this);
}

String TCustomGrid::GetEditText(int, int) {
    return String();
}

void TCustomGrid::SetEditText(int, int, const String&) {}

String TCustomGrid::GetEditMask(int, int) {
    return String();
}

int TCustomGrid::GetEditLimit() {
    return 0;
}

bool TCustomGrid::IsActiveControl() const {
    const TWinControl* focused = FindControl(GetFocus());
    return focused && ContainsControl(focused);
}

void TCustomGrid::SetEditorMode(bool Value) {
    if (!Value) {
        HideEditor();
        return;
    }
    ShowEditor();
    if (FInplaceEdit && FInplaceCol >= 0) FInplaceEdit->Deselect();
}

void TCustomGrid::ShowEditor() {
    FEditorMode = true;
    UpdateEdit();
}

void TCustomGrid::HideEditor() {
    FEditorMode = false;
    HideEdit();
}

void TCustomGrid::InvalidateEditor() {
    FInplaceCol = -1;
    FInplaceRow = -1;
    UpdateEdit();
}

void TCustomGrid::UpdateEdit() {
    if (!FEditorMode) return;
    if (!CanEditShow()) {
        // Refused: nothing shows, and the grid says so (an always-shown editor waits instead).
        HideEdit();
        if (!HasOption(goAlwaysShowEditor)) FEditorMode = false;
        return;
    }
    if (!FInplaceEdit) {
        FInplaceEdit = CreateEditor();
        FInplaceEdit->SetGrid(this);
        FInplaceEdit->SetParent(this);
    }
    if (FCurrent.X != FInplaceCol || FCurrent.Y != FInplaceRow) {
        UpdateText();
        FInplaceCol = FCurrent.X;
        FInplaceRow = FCurrent.Y;
        FInplaceEdit->UpdateContents();
    }
    FInplaceEdit->Move(CellRect(FInplaceCol, FInplaceRow));
}

void TCustomGrid::UpdateText() {
    if (!FInplaceEdit || FInplaceCol < 0 || !FInplaceEdit->Modified || FEditChanging > 0) return;
    FInplaceEdit->Modified = false;
    struct TGuard {
        int& Level;
        explicit TGuard(int& L) : Level(L) { ++Level; }
        ~TGuard() { --Level; }
    } guard(FEditChanging);
    SetEditText(FInplaceCol, FInplaceRow, FInplaceEdit->Text());
}

void TCustomGrid::HideEdit() {
    if (!FInplaceEdit) return;
    UpdateText();
    FInplaceCol = -1;
    FInplaceRow = -1;
    FInplaceEdit->HideEditor();
}

void TCustomGrid::EditorFollowCell() {
    if (FInplaceEdit && FInplaceCol >= 0) FInplaceEdit->UpdateLoc(CellRect(FInplaceCol, FInplaceRow));
}

// =============================================================================================
// TInplaceEdit

TInplaceEdit::TInplaceEdit(TComponent* AOwner) : TCustomMaskEdit(AOwner) {
    SetVisible(false);
    SetTabStop(false);
    SetBorderStyle(bsNone);
    SetCtl3D(false);
}

LRESULT TInplaceEdit::DialogCode() const {
    LRESULT code = TCustomMaskEdit::DialogCode();
    if (FGrid && FGrid->HasOption(goTabs)) code |= DLGC_WANTTAB;
    return code;
}

void TInplaceEdit::UpdateContents() {
    if (!FGrid) return;
    const int c = FGrid->FInplaceCol, r = FGrid->FInplaceRow;
    SetEditMask(FGrid->GetEditMask(c, r));
    SetText(FGrid->GetEditText(c, r));
    SetMaxLength(FGrid->GetEditLimit());
    Modified = false;
    SelectAll();
}

void TInplaceEdit::Move(const TRect& Loc) {
    InternalMove(Loc, true);
}

void TInplaceEdit::UpdateLoc(const TRect& Loc) {
    InternalMove(Loc, false);
}

void TInplaceEdit::InternalMove(const TRect& Loc, bool Focus) {
    if (Loc.IsEmpty()) {
        HideEditor();
        return;
    }
    SetBoundsRect(Loc);
    if (!Visible()) Show();
    if (Focus && FGrid && FGrid->Focused() && CanFocus()) SetFocus();
}

void TInplaceEdit::HideEditor() {
    if (!Visible()) return;
    // The focus goes back to the grid before the window goes (else the form would take it).
    if (Focused() && FGrid && FGrid->CanFocus()) FGrid->SetFocus();
    SetVisible(false);
}

void TInplaceEdit::Deselect() {
    SetSelStart(int(Text().size()));
}

void TInplaceEdit::KeyDown(Word& Key, TShiftState Shift) {
    if (!FGrid) {
        TCustomMaskEdit::KeyDown(Key, Shift);
        return;
    }
    auto toGrid = [&] {
        FGrid->KeyDown(Key, Shift);
        Key = 0;
    };
    const bool arrowsNavigate = FGrid->HasOption(goAlwaysShowEditor);
    const bool ctrl = Shift.count(ssCtrl) && !Shift.count(ssAlt);
    const int len = int(Text().size()), start = SelStart(), sel = SelLength();
    const bool atStart = start == 0 && (sel == 0 || sel == len);
    const bool atEnd = (start == 0 || sel == 0) && start + sel == len;
    switch (Key) {
        case VK_UP:
        case VK_DOWN:
        case VK_PRIOR:
        case VK_NEXT:
        case VK_ESCAPE: toGrid(); break;
        case VK_INSERT:
            if (Shift.empty()) toGrid();
            break;
        case VK_LEFT:
        case VK_HOME:
            if (arrowsNavigate && (ctrl || atStart)) toGrid();
            break;
        case VK_RIGHT:
        case VK_END:
            if (arrowsNavigate && (ctrl || atEnd)) toGrid();
            break;
        case VK_TAB:
            if (!Shift.count(ssAlt)) toGrid();
            break;
        case VK_DELETE:
            if (ctrl) toGrid();
            break;
        case VK_F2:
            if (Assigned(FGrid->OnKeyDown)) FGrid->OnKeyDown(FGrid, Key, Shift);
            if (Key == VK_F2) {
                Deselect();
                Key = 0;
            }
            return;
        default: break;
    }
    if (Key == 0) return;
    if (Assigned(FGrid->OnKeyDown)) FGrid->OnKeyDown(FGrid, Key, Shift);
    if (Key != 0) TCustomMaskEdit::KeyDown(Key, Shift);
}

void TInplaceEdit::KeyPress(Char& Key) {
    // The grid sees every character first: Enter closes the editor there.
    if (FGrid) FGrid->KeyPress(Key);
    if (Key == Char(9) || Key == Char(27)) Key = Char(0);
    if (Key.unicode() != 0) TCustomMaskEdit::KeyPress(Key);
}

void TInplaceEdit::KeyUp(Word& Key, TShiftState Shift) {
    if (FGrid) FGrid->KeyUp(Key, Shift);
    if (Key != 0) TCustomMaskEdit::KeyUp(Key, Shift);
}

void TInplaceEdit::WMKillFocus(TWMKillFocus& Message) {
    TCustomMaskEdit::Dispatch(Message);
    // The focus leaves the grid and its editor: what was typed goes to the cell now.
    if (FGrid && HWND(Message.FocusedWnd) != (FGrid->HandleAllocated() ? FGrid->Handle() : 0))
        FGrid->UpdateText();
}

void TInplaceEdit::Dispatch(TMessage& Message) {
    switch (Message.Msg) {
        case WM_KILLFOCUS: CallHandler<TWMKillFocus>(this, &TInplaceEdit::WMKillFocus, Message); break;
        default: TCustomMaskEdit::Dispatch(Message); break;
    }
}
