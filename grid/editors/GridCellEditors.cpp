// The grid's editor controls and fixed-cell editors.
#include "GridCellEditors.h"

#include "AdvGrid.h"

namespace {
TAdvStringGrid* GridOf(TComponent* AOwner) {
    return dynamic_cast<TAdvStringGrid*>(AOwner);
}
} // namespace

// ---------------------------------------------------------------------------------------------
// TGridCheckBox

TGridCheckBox::TGridCheckBox(TComponent* AOwner) : TCheckBox(AOwner), FGrid(GridOf(AOwner)) {}

void TGridCheckBox::DoExit() {
    if (FGrid) FGrid->HideInplaceEdit();
    TCheckBox::DoExit();
}

// ---------------------------------------------------------------------------------------------
// TGridSpin

TGridSpin::TGridSpin(TComponent* AOwner) : TAsgSpinEdit(AOwner), FGrid(GridOf(AOwner)) {
    SetMaxValue(100);
    SetMinValue(0);
    Increment = 1;
}

void TGridSpin::DoExit() {
    if (FGrid) FGrid->HideInplaceEdit();
    TAsgSpinEdit::DoExit();
}

void TGridSpin::Change() {
    TAsgSpinEdit::Change();
    if (FGrid && FGrid->OnEditChange) FGrid->OnEditChange(FGrid, FGrid->Col(), FGrid->Row(), Text());
}

// ---------------------------------------------------------------------------------------------
// TGridCombo

TGridCombo::TGridCombo(TComponent* AOwner) : TAsgComboBox(AOwner), FGrid(GridOf(AOwner)) {
    SetButtonWidth(16);
}

void TGridCombo::DoExit() {
    if (FGrid) FGrid->HideInplaceEdit();
    TAsgComboBox::DoExit();
}

void TGridCombo::Change() {
    TAsgComboBox::Change();
    if (FGrid && FGrid->OnEditChange) FGrid->OnEditChange(FGrid, FGrid->Col(), FGrid->Row(), Text());
}

// ---------------------------------------------------------------------------------------------
// TGridDatePicker

TGridDatePicker::TGridDatePicker(TComponent* AOwner) : TAsgDateTimePicker(AOwner), FGrid(GridOf(AOwner)) {}

// The field-by-field typing is not built yet: the focus stays in the field being typed.
void TGridDatePicker::ShiftFocus() {}

void TGridDatePicker::DoExit() {
    if (FGrid) FGrid->HideInplaceEdit();
    TAsgDateTimePicker::DoExit();
}

// ---------------------------------------------------------------------------------------------
// TGridDateTimePicker

TGridDateTimePicker::TGridDateTimePicker(TComponent* AOwner)
    : TAdvDateTimePicker(AOwner), FGrid(GridOf(AOwner)) {}

// ---------------------------------------------------------------------------------------------
// TGridEditBtn

TGridEditBtn::TGridEditBtn(TComponent* AOwner) : TAsgEditBtn(AOwner), FGrid(GridOf(AOwner)) {
    OnClickBtn = [this](TObject* Sender) { EditBtnClick(Sender); };
}

void TGridEditBtn::DoExit() {
    if (FGrid) FGrid->HideInplaceEdit();
    TAsgEditBtn::DoExit();
}

void TGridEditBtn::Change() {
    TAsgEditBtn::Change();
    if (FGrid && FGrid->OnEditChange) FGrid->OnEditChange(FGrid, FGrid->Col(), FGrid->Row(), Text());
}

void TGridEditBtn::EditBtnClick(TObject*) {
    if (!FGrid) return;
    SetText(FGrid->EllipsClick(Text()));
    SelectAll();
    Repaint();
    if (FStopEditAfterClick) {
        FGrid->HideInplaceEdit();
        if (FGrid->CanFocus()) FGrid->SetFocus();
    }
}

// ---------------------------------------------------------------------------------------------
// TGridUnitEditBtn

TGridUnitEditBtn::TGridUnitEditBtn(TComponent* AOwner) : TAsgUnitEditBtn(AOwner), FGrid(GridOf(AOwner)) {
    OnClickBtn = [this](TObject* Sender) { EditBtnClick(Sender); };
}

void TGridUnitEditBtn::DoExit() {
    if (FGrid) FGrid->HideInplaceEdit();
    TAsgUnitEditBtn::DoExit();
}

void TGridUnitEditBtn::EditBtnClick(TObject*) {
    if (!FGrid) return;
    SetText(FGrid->EllipsClick(Text()));
    SelectAll();
    Repaint();
}

// ---------------------------------------------------------------------------------------------
// TGridButton

TGridButton::TGridButton(TComponent* AOwner) : TButton(AOwner), FGrid(GridOf(AOwner)) {}

void TGridButton::DoExit() {
    if (FGrid) FGrid->HideInplaceEdit();
    TButton::DoExit();
}

// ---------------------------------------------------------------------------------------------
// Fixed-cell editors

namespace {
// The end of a fixed-cell edit: OnCellValidate may refuse the text (the editor keeps the
// focus on its cell) or change it; an accepted text goes into the cell and the editor hides.
bool StopFixedCellEdit(TAdvStringGrid* Grid, TWinControl* Editor, int ACol, int ARow, String Value) {
    if (!Grid) {
        Editor->SetVisible(false);
        return true;
    }
    bool valid = true;
    if (Grid->OnCellValidate) Grid->OnCellValidate(Grid, ACol, ARow, Value, valid);
    if (!valid) {
        Grid->SetCol(ACol);
        Grid->SetRow(ARow);
        if (Editor->CanFocus()) Editor->SetFocus();
        return false;
    }
    if (Grid->OnEditingDone) Grid->OnEditingDone(Grid);
    Grid->SetCellEx(ACol, ARow, Value);
    Editor->SetVisible(false);
    return true;
}
} // namespace

TGridTransEdit::TGridTransEdit(TComponent* AOwner) : TCustomEdit(AOwner), FGrid(GridOf(AOwner)) {
    SetVisible(false);
}

bool TGridTransEdit::StopEdit() {
    return StopFixedCellEdit(FGrid, this, FCol, FRow, Text());
}

void TGridTransEdit::KeyPress(Char& Key) {
    if (Key == Char(13)) Key = Char(0);
    TCustomEdit::KeyPress(Key);
}

// A hidden editor has nothing to stop (hiding an accepted edit moves the focus away).
void TGridTransEdit::DoExit() {
    TCustomEdit::DoExit();
    if (Visible()) StopEdit();
}

TGridTransCombo::TGridTransCombo(TComponent* AOwner) : TCustomComboBox(AOwner), FGrid(GridOf(AOwner)) {
    SetVisible(false);
}

bool TGridTransCombo::StopEdit() {
    return StopFixedCellEdit(FGrid, this, FCol, FRow, Text());
}

void TGridTransCombo::KeyPress(Char& Key) {
    if (Key == Char(13)) Key = Char(0);
    TCustomComboBox::KeyPress(Key);
}

void TGridTransCombo::DoExit() {
    TCustomComboBox::DoExit();
    if (Visible()) StopEdit();
}
