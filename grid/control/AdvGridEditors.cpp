// TAdvStringGrid: its in-place editors. The default text editor comes from the platform grid's
// editor factory; the editor controls that the grid keeps for the whole of its life are made
// by the constructor (run time only), the others on first use, and all are freed with it.
#include "AdvGrid.h"
#include "AdvInplaceEdit.h"
#include "AdvStyleIF.h"
#include "GridCellEditors.h"
#include "OSInfo.h"

void TAdvStringGrid::MakeEditorControls() {
    TGridCombo* combo = Make(FEditCombo, new TGridCombo(this), "EditCombo");
    combo->SetParent(this);
    combo->SetEnabled(false);
    combo->SetVisible(false);
    combo->SetIsWinXP(CheckWin32Version(5, 1));
    combo->SetIsVista(IsVistaOrLater());

    TGridTransEdit* trans = Make(FEditTrans, new TGridTransEdit(this), "EditTrans");
    trans->SetParent(this);
    trans->SetBorderStyle(bsNone);
    TGridTransCombo* transCombo = Make(FComboTrans, new TGridTransCombo(this), "ComboTrans");
    transCombo->SetParent(this);

    TGridCheckBox* check = Make(FEditCheck, new TGridCheckBox(this), "EditCheck");
    check->SetParent(this);
    check->SetEnabled(false);
    check->SetVisible(false);

    TGridEditBtn* editBtn = Make(FEditBtn, new TGridEditBtn(this), "EditBtn");
    editBtn->SetParent(this);
    editBtn->SetEnabled(false);
    editBtn->SetVisible(false);
    editBtn->SetButtonCaption("...");
    editBtn->SetBorderStyle(bsNone);
    editBtn->SetIsWinXP(CheckWin32Version(5, 1));

    TGridUnitEditBtn* unitBtn = Make(FUnitEditBtn, new TGridUnitEditBtn(this), "UnitEditBtn");
    unitBtn->SetParent(this);
    unitBtn->SetEnabled(false);
    unitBtn->SetVisible(false);
    unitBtn->SetButtonCaption("...");
    unitBtn->SetBorderStyle(bsNone);

    TGridButton* button = Make(FGridButton, new TGridButton(this), "GridButton");
    button->SetParent(this);
    button->SetEnabled(false);
    button->SetVisible(false);
    button->OnClick = [this](TObject* Sender) { GridButtonClick(Sender); };
}

void TAdvStringGrid::FreeEditorControls() {
    Drop(FEditCombo, "EditCombo");
    Drop(FEditTrans, "EditTrans");
    Drop(FComboTrans, "ComboTrans");
    Drop(FEditDateTime, "DateAndTimePicker");
    Drop(FEditDate, "DateTimePicker");
    Drop(FEditSpin, "SpinEdit");
    FreeDropDownEditors();
    Drop(FEditCheck, "EditCheck");
    Drop(FEditBtn, "EditBtn");
    Drop(FUnitEditBtn, "UnitEditBtn");
    Drop(FGridButton, "GridButton");
}

TInplaceEdit* TAdvStringGrid::CreateEditor() {
    return new TAdvInplaceEdit(this);
}

TAdvInplaceEdit* TAdvStringGrid::NormalEdit() const {
    return static_cast<TAdvInplaceEdit*>(InplaceEditor());
}

void TAdvStringGrid::EditKeyDown(Word&, TShiftState) {}
void TAdvStringGrid::EditKeyMessage(TMessage&) {}
void TAdvStringGrid::EditCaretMoved(const String&, TPoint, int) {}
void TAdvStringGrid::EditFormulaMode(bool) {}

// Tab and Enter advance through the cells later: until then the current cell stays.
void TAdvStringGrid::AdvanceOnTab(bool) {}
void TAdvStringGrid::AdvanceEdit(int, int, bool, bool) {}
