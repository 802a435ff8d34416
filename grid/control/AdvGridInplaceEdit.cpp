// In-place editing of the grid: when a cell may be edited and with which editor, the edit-text
// bridge between the cell store and the text editor, the snapshot of the cell being edited,
// validation, the end of an edit ("GridEditDone") and how an open editor follows a scroll.
//
// The text-like editor kinds use the platform grid's in-place editor: the platform asks
// CanEditShow before it shows it, fills it through GetEditText and writes it back through
// SetEditText. Every other kind opens an editor control over the cell (OpenCellEditor,
// AdvGridCellEditors.cpp) and refuses the text editor.
#include "AdvGrid.h"
#include "AdvGridEditRules.h"

#include "AdvStringGridCheck.h"
#include "Forms.h"
#include "MarkupText.h"
#include "OSInfo.h"

bool IsTextEditorKind(TEditorType Kind) {
    switch (Kind) {
        case edNormal:
        case edNumeric:
        case edPositiveNumeric:
        case edFloat:
        case edCapital:
        case edMixedCase:
        case edPassword:
        case edLowerCase:
        case edUpperCase:
        case edValidChars:
        case edPositiveFloat: return true;
        default: return false;
    }
}

namespace {

// Sets a flag for the life of a scope and clears it on every way out.
struct TFlagScope {
    bool& Flag;
    explicit TFlagScope(bool& F) : Flag(F) { Flag = true; }
    ~TFlagScope() { Flag = false; }
};

} // namespace

// =============================================================================================
// Process-wide answers

UINT TAdvStringGrid::GridEditDoneMessage() {
    static const UINT number = RegisterWindowMessage("GridEditDone");
    return number;
}

bool TAdvStringGrid::DateTimePickersAvailable() {
    // Version 4.70 of the common controls brought the pickers: (4 shl 16) or 69 = 262213.
    static const bool available = GetFileVersion("comctl32.dll") > 262213;
    return available;
}

// =============================================================================================
// Whether a cell may be edited

bool TAdvStringGrid::IsEditable(int ACol, int ARow) {
    if (!HasOption(goEditing) && !MouseActions()->RangeSelectAndEdit && !FEditDisable) return false;
    return CanEditBaseCell(ACol, ARow);
}

bool TAdvStringGrid::CanEditBaseCell(int ACol, int ARow) {
    int bc = ACol, br = ARow;
    ResolveBaseCell(ACol, ARow, bc, br);
    bool allowed = true;
    QueryCanEdit(bc, br, allowed);
    bool fixed = false;
    IsFixedCell(RealColIndex(bc), br, fixed);
    return allowed && !fixed;
}

bool TAdvStringGrid::EditorHandlesTab() const {
    return HasOption(goTabs) || Assigned(OnCellValidate) || Assigned(OnCellValidateWide);
}

// The can-show-editor query. A text-like kind lets the platform's text editor show; any other
// kind opens its editor control here and refuses the text editor.
bool TAdvStringGrid::CanEditShow() {
    // No editor shows while a validation runs; the text editor already open on its cell stays
    // (validation stores the text into the cell it shows, which asks again).
    if (FValidating) return FEditMode && InplaceEditor() && InplaceEditor()->Visible();
    // An open editor control stays the editor of its cell (a refused validation reopens it).
    if (FEditActive) return false;
    bool result = TBaseGrid::CanEditShow();
    if (ComponentState().count(csDesigning)) return result;
    int bc = RealColIndex(Col()), br = Row();
    ResolveBaseCell(bc, br, bc, br);
    if (result && !FEditMode && IsClickableCell(bc, br)) return false;
    // A cell that may not be edited (read-only, refused by the can-edit query, fixed) opens
    // nothing, also while the grid keeps goEditing on for every cell.
    if (result && !FEditMode && !CanEditBaseCell(DisplColIndex(bc), br)) return false;
    if (result && !FEditMode) {
        FNoEditChange = true;
        FCellCache = GetGridCell(bc, br);
        // A new edit compares with the cell as it is now; after a refusal the edit goes on and
        // the snapshot from before it stays.
        if (!FEditing) SaveOldCell(Col(), Row());
        EditControl = DefaultEditor;
        GetCellEditor(bc, br, EditControl);
        // A data check box is toggled by a click and has no editor.
        if (EditControl == edNone || EditControl == edDataCheckBox) {
            FNoEditChange = false;
            return false;
        }
        FEditMode = true;
        if (IsTextEditorKind(EditControl)) {
            FShowEditProcess = true;
        } else {
            OpenCellEditor(DisplColIndex(bc), br);
            FEntered = FEditMode;
            if (FEditMode && FFocusHelper->Enabled) ShowFocusFrame();
            result = false;
        }
    }
    if (result) {
        FEntered = true;
        FEditing = true;
        if (FFocusHelper->Enabled) ShowFocusFrame();
    }
    return result;
}

// =============================================================================================
// The edit-text bridge

String TAdvStringGrid::GetEditText(int ACol, int ARow) {
    FNoEditChange = true;
    int c = RealColIndex(ACol), r = ARow;
    ResolveBaseCell(c, r, c, r);
    String text = TBaseGrid::GetEditText(c, r);
    if (!EditWithTags) text = HTMLToText(text);
    return text;
}

void TAdvStringGrid::SetEditText(int ACol, int ARow, const String& Value) {
    int c = ACol, r = ARow;
    ResolveBaseCell(ACol, ARow, c, r);
    TBaseGrid::SetEditText(RealColIndex(c), r, Value);
}

void TAdvStringGrid::StoreEditText(int ACol, int ARow, const String& Value) {
    SetEditText(DisplColIndex(ACol), ARow, Value);
    SetCellEx(ACol, ARow, Value);
}

void TAdvStringGrid::RestoreCellCache() {
    SetCellEx(RealCol(), Row(), FCellCache);
    RepaintCell(Col(), Row());
}

// =============================================================================================
// The snapshot and validation

void TAdvStringGrid::SaveOldCell(int ACol, int ARow) {
    FOldCol = ACol;
    FOldRow = ARow;
    const int c = RealColIndex(ACol);
    const bool inStore = c >= 0 && ARow >= 0 && c < MaxGridCols && ARow < MaxGridRows;
    FOldCellText = inStore ? GetGridCell(c, ARow) : String();
    FOldCellTextWide = FOldCellText;
    FOldModifiedValue = FModified;
}

void TAdvStringGrid::Click() {
    TBaseGrid::Click();
    FEntered = false;
    SaveOldCell(Col(), Row());
}

bool TAdvStringGrid::ValidateCell(const String& NewValue) {
    return ValidateEdit(NewValue, false);
}

bool TAdvStringGrid::ValidateCellWide(const String& NewValue) {
    return ValidateEdit(NewValue, true);
}

// Texts are UTF-16 in both forms, so one routine serves both; Wide takes the wide variant's
// order of steps (the column's footer before the event, no checker, no undo, no balloon).
bool TAdvStringGrid::ValidateEdit(const String& NewValue, bool Wide) {
    if (!FEditing || FValidating) return true;
    FEditing = false;
    FValidating = true;
    bool valid = true;
    const int acol = RealColIndex(FOldCol);
    const int arow = FOldRow;
    FNewCellText = NewValue;
    const String oldText = Wide ? FOldCellTextWide : FOldCellText;
    try {
        if (NewValue != oldText || AlwaysValidate) {
            const bool changed = NewValue != oldText;
            const bool advanceOnEnter = FNavigation->AdvanceOnEnter;
            if (!Wide) FNavigation->AdvanceOnEnter = false;
            String value = NewValue;
            if (Wide) {
                ColumnValueChanged(acol, arow);
                if (OnCellValidateWide) OnCellValidateWide(this, acol, arow, value, valid);
            } else {
                if (CellChecker() && CellChecker()->AutoCorrect)
                    value = CellChecker()->Correct(acol, arow, value);
                if (OnCellValidate) OnCellValidate(this, acol, arow, value, valid);
            }
            const bool modified = Wide ? changed : value != oldText;
            if (modified) {
                FModified = true;
                if (FixedCols() > 0 && (!Wide || (FShowModified->Enabled() && changed))) {
                    const int markRow = Wide ? FOldRow : Row();
                    MarkRowModified(RealRowIndex(markRow));
                    if (FShowModified->Enabled()) RepaintCell(0, markRow);
                }
            }
            if (!Wide) {
                if (valid) ColumnValueChanged(acol, arow);
                if (CellChecker() && CellChecker()->AutoMarkError)
                    value = CellChecker()->MarkError(acol, arow, value);
                if (valid && UndoRedo()) UndoRedo()->RegisterChange(acol, arow, FOldCellText, value);
            }
            if (valid && changed) CellsChanged(TRect(acol, arow, acol, arow));
            if (!Wide) FNavigation->AdvanceOnEnter = advanceOnEnter;
            FNewCellText = value;
            if (valid) {
                if (Wide) {
                    SetWideCells(acol, FOldRow, value);
                } else {
                    SetCellEx(acol, arow, value);
                    int bc = acol, br = arow;
                    if (!ResolveBaseCell(acol, arow, bc, br)) SetCellEx(bc, br, value);
                }
            } else {
                if (!Wide) FLastValidation = false;
                ReopenAfterRefusal(acol, value != NewValue ? value : oldText);
                FModified = FOldModifiedValue;
                if (!Wide) ShowInvalidEntryBalloon();
            }
            if (Wide)
                FOldCellTextWide = GetGridCell(acol, FOldRow);
            else
                FOldCellText = GetGridCell(acol, arow);
        }
    } catch (...) {
        SaveOldCell(Col(), Row());
        FValidating = false;
        throw;
    }
    SaveOldCell(Col(), Row());
    FValidating = false;
    if (valid && !Wide) HideFocusFrame();
    return valid;
}

// A refused edit: the cell gets CellValue (the handler's value, or its text from before the
// edit), the snapshot cell becomes current again and the editor reopens on it.
void TAdvStringGrid::ReopenAfterRefusal(int ACol, const String& CellValue) {
    if (FEditMode) FValidating = false;
    HideEditor();
    SetCellEx(ACol, FOldRow, CellValue);
    MoveColRow(FOldCol, FOldRow, true, true);
    FValidating = false;
    FEditing = true;
    ShowInplaceEdit();
    if (Col() != FOldCol) InvalidateEditor();
}

void TAdvStringGrid::ShowInvalidEntryBalloon() {
    if (InvalidEntryTitle.isEmpty() && InvalidEntryText.isEmpty()) return;
    TWinControl* target = nullptr;
    if (!FSpecialEditor && FEditMode)
        target = InplaceEditor();
    else
        target = FEditCtrl;
    if (!target) return;
    EDITBALLOONTIP tip;
    tip.cbStruct = sizeof(EDITBALLOONTIP);
    const std::u16string title = InvalidEntryTitle.toStdU16String();
    const std::u16string text = InvalidEntryText.toStdU16String();
    tip.pszTitle = title.c_str();
    tip.pszText = text.c_str();
    tip.ttiIcon = int(InvalidEntryIcon);
    target->Perform(EM_SHOWBALLOONTIP, 0, LPARAM(&tip));
}

void TAdvStringGrid::MarkRowModified(int ARow) {
    SetRowModified(ARow, true);
}

void TAdvStringGrid::ColumnValueChanged(int ACol, int) {
    CalcFooter(ACol);
}

String TAdvStringGrid::EllipsClick(const String& S) {
    String result = S;
    if (OnEllipsClick) OnEllipsClick(this, RealCol(), Row(), result);
    return result;
}

void TAdvStringGrid::GetEditorProp(int ACol, int ARow, TEditLink* AEditLink) {
    if (OnGetEditorProp) OnGetEditorProp(this, ACol, ARow, AEditLink);
    if (OnGetEditorPropInt) OnGetEditorPropInt(this, ACol, ARow);
}

// =============================================================================================
// Opening and ending an edit from code

void TAdvStringGrid::ShowInplaceEdit() {
    int bc = RealCol(), br = Row();
    ResolveBaseCell(bc, br, bc, br);
    if (IsClickableCell(bc, br)) return;
    if (Row() < TopRow()) SetTopRow(Row());
    if (Col() < LeftCol()) SetLeftCol(Col());
    ShowEditor();
}

void TAdvStringGrid::HideInplaceEdit() {
    if (!FEditMode) return;
    HideEditor();
    CloseCellEditor(Col(), Row());
    FEditMode = false;
    SelectCell(Col(), Row());
}

void TAdvStringGrid::ShowCellEdit() {
    Perform(WM_KEYDOWN, VK_F2, 0);
}

void TAdvStringGrid::HideCellEdit() {
    CloseCellEditor(Col(), Row());
}

void TAdvStringGrid::DoneInplaceEdit(Word Key, TShiftState Shift) {
    TFlagScope blockFocus(FBlockFocus);
    FEditing = false;
    HideInplaceEdit();
    if (Key == VK_DOWN && FNavigation->AppendOnArrowDown && IsLastDataRow()) AddRowAtEnd();
    switch (Key) {
        case VK_TAB:
        case VK_LEFT:
        case VK_UP:
        case VK_RIGHT:
        case VK_DOWN: KeyDown(Key, Shift); break;
        default: break;
    }
    const bool alwaysEdit = FNavigation->AlwaysEdit;
    FNavigation->AlwaysEdit = false;
    if (CanFocus()) SetFocus();
    if (Key == VK_RETURN) AdvanceEdit(Col(), Row(), false, true, true, false, false);
    FNavigation->AlwaysEdit = alwaysEdit;
}

// =============================================================================================
// The end of an edit

void TAdvStringGrid::NotifyEditingDone(int ACol, int ARow) {
    if (OnEditingDone) OnEditingDone(this);
    FEditMode = false;
    if (HandleAllocated()) PostMessage(Handle(), GridEditDoneMessage(), WPARAM(ACol), LPARAM(ARow));
}

void TAdvStringGrid::GridEditDone(TMessage& Message) {
    if (OnEditCellDone) OnEditCellDone(this, int(Message.WParam), int(Message.LParam));
    if (MouseActions()->EditOnDblClickOnly()) {
        HideInplaceEdit();
        FEditMode = false;
        TGridOptions options = Options();
        options.erase(goEditing);
        SetOptions(options);
    }
}

// =============================================================================================
// Following a scroll

void TAdvStringGrid::TopLeftChanged() {
    const bool scrolledDown = TopRow() > FOldTopRow;
    TBaseGrid::TopLeftChanged();
    if (FSelectionRectangle && Selection().Bottom > Selection().Top) Invalidate();
    // An editor control is committed and closed; the text editor moves with its cell.
    if (FEditMode && !IsTextEditorKind(EditControl)) HideInplaceEdit();
    UpdateFooter();
    CellControlsUpdate(false);
    FOldLeftCol = LeftCol();
    FOldTopRow = TopRow();
    // Scrolled down with the search footer shown: when the current cell reaches under the
    // search panel, one row more brings it into view.
    if (scrolledDown && FSearchFooter->Visible()) {
        const int panelTop = SearchPanelTop();
        const TRect cell = CellRect(Col(), Row());
        if (panelTop >= 0 && !cell.IsEmpty() && cell.Bottom > panelTop && TopRow() < RowCount() - 1)
            SetTopRow(TopRow() + 1);
    }
    if (ComponentState().count(csDesigning)) Invalidate();
}

int TAdvStringGrid::SearchPanelTop() const {
    if (!FSearchFooter->Visible() || !FSearchPanel) return -1;
    return ClientHeight() - FSearchPanel->Height();
}
