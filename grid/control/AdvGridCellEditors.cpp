// The editor controls of the grid: opening the control of the cell's editor kind over a cell
// (OpenCellEditor) and taking its value back into the cell (CloseCellEditor), the spin and date
// editors made on first use, and the combo editor's item list.
//
// Kinds without a control open nothing: edCustom without an EditLink (or whose link makes no
// control) and the drop-down kinds whose getters answer nullptr. The rich-text editor and the
// custom links open and commit in AdvGridRichText.cpp.
#include "AdvGrid.h"

#include "GridCellEditors.h"
#include "GridUtil.h"
#include "GridSettings.h"
#include "SysUtils.h"

namespace {

// The integer a spin editor opens on: the digits before the first character that does not
// belong to a number, 0 when there are none.
int LeadingInt(const String& Text) {
    int value = 0, code = 0;
    Val(Text, value, code);
    if (code == 0) return value;
    Val(Text.left(code - 1), value, code);
    return code == 0 ? value : 0;
}

void CloseControl(TWinControl* Control) {
    Control->SetVisible(false);
    Control->SetEnabled(false);
}

void ShowControl(TWinControl* Control, TColor Colour) {
    Control->SetVisible(true);
    Control->SetEnabled(true);
    Control->SetColor(Colour);
    if (Control->CanFocus()) Control->SetFocus();
}

bool FlatLook(TGridLook Look) {
    switch (Look) {
        case glSoft:
        case glKit:
        case glXP:
        case glListView:
        case glVista:
        case glWin7:
        case glOffice2007: return true;
        default: return false;
    }
}

} // namespace

// =============================================================================================
// Editor controls made on first use

namespace {
// An editor control made on first use: owned by the grid, on the grid, hidden and disabled.
template <class TSlot>
typename TSlot::element_type* MakeOnFirstUse(TAdvStringGrid* Grid, TSlot& Slot, const char* Name) {
    using T = typename TSlot::element_type;
    if (Slot || Grid->ComponentState().count(csDesigning)) return Slot.get();
    T* control = new T(Grid);
    Slot.reset(control);
    if (TAdvStringGrid::LifeCycleTrace) TAdvStringGrid::LifeCycleTrace(true, Name);
    control->SetParent(Grid);
    control->SetVisible(false);
    control->SetEnabled(false);
    return control;
}
} // namespace

TGridSpin* TAdvStringGrid::SpinEdit() {
    const bool made = !FEditSpin;
    TGridSpin* spin = MakeOnFirstUse(this, FEditSpin, "SpinEdit");
    if (made && spin) {
        spin->SetBorderStyle(bsNone);
        spin->SetIsWinXP(FIsWinXP);
    }
    return spin;
}

TGridDatePicker* TAdvStringGrid::DateTimePicker() {
    const bool made = !FEditDate;
    TGridDatePicker* picker = MakeOnFirstUse(this, FEditDate, "DateTimePicker");
    if (made && picker) {
        picker->OnCloseUp = [this](TObject* Sender) { DatePickerCloseUp(Sender); };
        picker->OnDropDown = [this](TObject* Sender) { DatePickerDropDown(Sender); };
        picker->OnChange = [this](TObject* Sender) { DatePickerChange(Sender); };
    }
    return picker;
}

TGridDateTimePicker* TAdvStringGrid::DateAndTimePicker() {
    const bool made = !FEditDateTime;
    TGridDateTimePicker* picker = MakeOnFirstUse(this, FEditDateTime, "DateAndTimePicker");
    if (made && picker) {
        picker->SetAutoTab(true);
        picker->OnCloseUp = [this](TObject* Sender) { DatePickerCloseUp(Sender); };
        picker->OnChange = [this](TObject* Sender) { DateAndTimePickerTimeChange(Sender); };
    }
    return picker;
}

void TAdvStringGrid::UnitEditBtnUnitChanged(TObject*, const String& NewUnit) {
    if (OnUnitChanged) OnUnitChanged(this, Col(), RealRowIndex(Row()), NewUnit);
}

// =============================================================================================
// The combo editor's items

int TAdvStringGrid::ComboItemOf(const String& S) const {
    return FEditCombo ? FEditCombo->Items()->IndexOf(S) : -1;
}

void TAdvStringGrid::ClearComboString() {
    if (FEditCombo) FEditCombo->Items()->Clear();
}

void TAdvStringGrid::AddComboString(const String& S) {
    if (FEditCombo) FEditCombo->Items()->Add(S);
}

void TAdvStringGrid::AddComboStringObject(const String& S, TObject* AObject) {
    if (FEditCombo) FEditCombo->Items()->AddObject(S, AObject);
}

bool TAdvStringGrid::RemoveComboString(const String& S) {
    const int idx = ComboItemOf(S);
    if (idx < 0) return false;
    FEditCombo->Items()->Delete(idx);
    return true;
}

bool TAdvStringGrid::SetComboSelectionString(const String& S) {
    const int idx = ComboItemOf(S);
    if (idx < 0) return false;
    FComboIdx = idx;
    return true;
}

void TAdvStringGrid::SetComboIndex(int ACol, int ARow, int Value) {
    GetEditorProp(ACol, ARow, EditLink);
    if (!FEditCombo || Value < 0 || Value >= FEditCombo->Items()->Count()) return;
    int bc = ACol, br = ARow;
    ResolveBaseCell(ACol, ARow, bc, br);
    SetCellEx(bc, br, FEditCombo->Items()->Strings(Value));
}

int TAdvStringGrid::GetComboCount() {
    return FEditCombo ? FEditCombo->Items()->Count() : 0;
}

int TAdvStringGrid::GetComboIndex(int ACol, int ARow) {
    GetEditorProp(ACol, ARow, nullptr);
    return ComboItemOf(Cells(ACol, ARow));
}

// =============================================================================================
// Opening an editor control

void TAdvStringGrid::OpenCellEditor(int ACol, int ARow) {
    FEditing = true;
    FSpecialEditor = true;
    FEditActive = true;
    // Each kind that finds its control sets EditMode again.
    FEditMode = false;
    TRect R = CellRect(ACol, ARow);
    const int C = RealColIndex(ACol);
    const int W = R.Width() - 1, H = R.Height() - 1;
    // The cell's look: the editor takes the colour the cell is painted in.
    TGridDrawState state;
    TColor colorTo = clNone, mirror = clNone, mirrorTo = clNone;
    TAlignment ha = taLeftJustify;
    TVAlignment va = vtaTop;
    bool ww = false;
    TCellGradientDirection gd{};
    GetVisualProperties(ACol, Row(), state, false, false, true, Canvas()->Brush(), colorTo, mirror, mirrorTo,
                        Canvas()->Font(), ha, va, ww, gd);
    const TColor colour = Canvas()->Brush()->Color();
    FEditCtrl = nullptr;
    // A custom link keeps the outcome of the last validation: its key handling reopens it after
    // a refused value.
    if (EditControl != edCustom) FLastValidation = true;
    FNoEditChange = true;
    const String text = GetEditText(ACol, ARow);
    TWinControl* opened = nullptr; // the control the start character goes to
    const bool pickers = DateTimePickersAvailable();

    switch (EditControl) {
        case edSpinEdit:
        case edFloatSpinEdit:
        case edTimeSpinEdit:
        case edDateSpinEdit: {
            TGridSpin* spin = SpinEdit();
            if (!spin) break;
            FEditMode = true;
            spin->ReCreate();
            spin->SetBounds(R.Left, R.Top, W, H);
            spin->SetVisible(true);
            spin->SetEnabled(true);
            spin->SetColor(colour);
            spin->ExcelStyleDecimalSeparator = ExcelStyleDecimalSeparator;
            GetEditorProp(C, ARow, EditLink);
            switch (EditControl) {
                case edSpinEdit:
                    spin->SetSpinType(sptNormal);
                    spin->SetValue(LeadingInt(text));
                    break;
                case edFloatSpinEdit: {
                    spin->SetSpinType(sptFloat);
                    double value = 0;
                    int code = 0;
                    Val(NormalizeFloatText(text), value, code);
                    spin->SetFloatValue(code == 0 ? value : 0.0);
                    break;
                }
                case edTimeSpinEdit:
                    spin->SetSpinType(sptTime);
                    spin->SetText(text);
                    break;
                default: {
                    spin->SetSpinType(sptDate);
                    TDateTime value = 0;
                    spin->SetDateValue(TryStrToDate(text, value) ? value : Now());
                    break;
                }
            }
            if (spin->CanFocus()) spin->SetFocus();
            opened = spin;
            if (FSpinUpClick) spin->StepUp(false);
            if (FSpinDnClick) spin->StepDown(false);
            FSpinUpClick = FSpinDnClick = false;
            FEditCtrl = spin;
            break;
        }
        case edComboEdit:
        case edComboList:
            if (!FEditCombo) break;
            OpenComboEditor(ACol, ARow, C, R, colour);
            opened = FEditCombo.get();
            break;
        case edEditBtn:
        case edNumericEditBtn:
        case edFloatEditBtn:
        case edMaskEditBtn: {
            TGridEditBtn* edit = FEditBtn.get();
            if (!edit) break;
            FEditMode = true;
            edit->ReCreate();
            edit->SetBounds(R.Left, R.Top, W, edit->Height());
            edit->SetText(text);
            edit->SetMaxLength(GetEditLimit());
            ShowControl(edit, colour);
            edit->SetHeight(H);
            edit->SetEditMask(EditControl == edMaskEditBtn ? GetEditMask(ACol, ARow) : String());
            opened = edit;
            FEditCtrl = edit;
            break;
        }
        case edUnitEditBtn:
        case edNumericUnitEditBtn:
        case edFloatUnitEditBtn: {
            TGridUnitEditBtn* edit = FUnitEditBtn.get();
            if (!edit) break;
            FEditMode = true;
            edit->ReCreate();
            edit->SetBounds(R.Left, R.Top, W, edit->Height());
            edit->SetMaxLength(GetEditLimit());
            edit->SetUnitID(String());
            edit->SetText(String());
            edit->SetTextAndUnit(text);
            GetEditorProp(C, ARow, EditLink);
            ShowControl(edit, colour);
            edit->SetHeight(H);
            opened = edit;
            FEditCtrl = edit;
            break;
        }
        case edCheckBox: {
            TGridCheckBox* check = FEditCheck.get();
            if (!check) break;
            FEditMode = true;
            check->ReCreate();
            check->SetBounds(R.Left, R.Top, W, H);
            check->SetCaption(text);
            check->SetEnabled(true);
            check->SetState(cbUnchecked);
            check->SetVisible(true);
            if (check->CanFocus()) check->SetFocus();
            break;
        }
        case edDateEdit:
        case edDateEditUpDown:
        case edTimeEdit:
            if (!pickers || !DateTimePicker()) break;
            OpenDateEditor(ACol, ARow, C, R, colour);
            if (EditControl != edTimeEdit) opened = FEditDate.get();
            break;
        case edDateTimeEdit: {
            if (!pickers) break;
            TGridDateTimePicker* picker = DateAndTimePicker();
            if (!picker) break;
            FEditMode = true;
            TDateTime value = 0;
            if (!TryStrToDateTime(text, value)) value = Now();
            FOriginalDateTime = value;
            picker->SetKind(dkDateTime);
            picker->SetDateTime(value);
            picker->SetBounds(R.Left, R.Top, W, std::max(picker->Height(), H));
            GetEditorProp(C, ARow, EditLink);
            ShowControl(picker, colour);
            break;
        }
        case edRichEdit: opened = OpenRichEditor(ACol, ARow, R, colour); break;
        case edCustom: opened = OpenEditLink(ACol, ARow, R, colour); break;
        case edButton: {
            TGridButton* button = FGridButton.get();
            if (!button) break;
            FEditMode = true;
            button->ReCreate();
            button->SetBounds(R.Left - 1, R.Top - 1, W + 2, H + 2);
            button->SetCaption(text);
            button->SetVisible(true);
            button->SetEnabled(true);
            if (button->CanFocus()) button->SetFocus();
            FEditCtrl = button;
            break;
        }
        default: break;
    }

    if (!FEditMode) {
        // No control for this kind: the cell is not edited.
        FEditing = false;
        FSpecialEditor = false;
        FEditActive = false;
    } else if (opened && FStartEditChar != Char(u'\0') && opened->HandleAllocated()) {
        PostMessage(opened->Handle(), WM_CHAR, WPARAM(FStartEditChar.unicode()), 0);
    }
    FNoEditChange = false;
    FStartEditChar = Char(u'\0');
}

void TAdvStringGrid::OpenComboEditor(int ACol, int ARow, int C, const TRect& R, TColor Colour) {
    TGridCombo* combo = FEditCombo.get();
    const int W = R.Width() - 1, H = R.Height() - 1;
    FEditMode = true;
    combo->SetDropDownCount(ControlLook()->DropDownCount());
    GetEditorProp(C, ARow, EditLink);
    combo->SetBounds(R.Left, R.Top, 0, 0);
    combo->SetEnabled(true);
    combo->SetDroppedDown(false);
    const bool list = EditControl == edComboList;
    combo->SetStyle(list ? csDropDownList : csDropDown);
    combo->SetBounds(R.Left, R.Top, W, H);
    const int items = combo->Items()->Count();
    int changedTo = -1; // the item an edComboList cell was moved to
    if (!list) {
        // A freshly filled edit part has its caret after the text, also when it shows that text
        // already and keeps the caret of an earlier edit.
        combo->SetText(GetEditText(ACol, ARow));
        combo->SetSelStart(int(combo->Text().size()));
        if (FComboIdx != -1 && combo->ItemIndex() == -1 && FComboIdx < items) combo->SetItemIndex(FComboIdx);
        combo->SetMaxLength(MaxComboLength);
    } else {
        int bc = C, br = ARow;
        ResolveBaseCell(C, ARow, bc, br);
        int item = ComboItemOf(GetGridCell(bc, br));
        if (item < 0 && FComboIdx == -1) {
            item = ComboItemOf(GetEditText(ACol, ARow));
            if (item < 0 && items > 0) item = 0;
            combo->SetItemIndex(item);
            if (OnEditChange) OnEditChange(this, Col(), Row(), combo->Text());
            changedTo = items > 0 ? item : -1;
        } else if (item < 0) {
            combo->SetItemIndex(FComboIdx < items ? FComboIdx : -1);
        } else {
            combo->SetItemIndex(item);
        }
    }
    combo->SetColor(Colour);
    combo->SetVisible(true);
    const bool flat = FlatLook(Look());
    combo->SetFlat(flat);
    combo->SetEtched(flat);
    if (Navigation()->AutoComboDropSize) combo->SizeDropDownWidth();
    if (combo->CanFocus()) combo->SetFocus();
    // The cell's text was none of the items: the list tells which item the cell now shows.
    if (changedTo >= 0) {
        const String selection = combo->Items()->Strings(changedTo);
        if (OnComboChange) OnComboChange(this, C, ARow, changedTo, selection);
        if (OnComboObjectChange)
            OnComboObjectChange(this, C, ARow, changedTo, selection, combo->Items()->Objects(changedTo));
    }
    if (MouseActions()->DirectComboDrop || ControlLook()->DropDownAlwaysVisible())
        combo->SetDroppedDown(true);
    FEditCtrl = combo;
}

void TAdvStringGrid::OpenDateEditor(int ACol, int ARow, int C, const TRect& R, TColor Colour) {
    TGridDatePicker* picker = FEditDate.get();
    const int W = R.Width() - 1, H = R.Height() - 1;
    const String text = GetEditText(ACol, ARow);
    FEditMode = true;
    picker->ReCreate();
    if (EditControl == edTimeEdit) {
        TDateTime value = 0;
        if (!TryStrToTime(text, value)) value = Now();
        picker->SetKind(dtkTime);
        picker->SetDateTime(value);
        picker->SetBounds(R.Left, R.Top, W, H);
        picker->SetVisible(true);
        picker->SetEnabled(true);
        picker->SetColor(Colour);
        GetEditorProp(C, ARow, EditLink);
        if (picker->CanFocus()) picker->SetFocus();
        FEditCtrl = picker;
        return;
    }
    TDateTime value = 0;
    if (text.trimmed().isEmpty() || !TryStrToDateTime(text, value)) value = Now();
    // A date outside the picker's range would be refused: it opens just inside.
    if (picker->MaxDate() != 0 && value > picker->MaxDate()) value = picker->MaxDate() - 1;
    if (picker->MinDate() != 0 && value <= picker->MinDate()) value = picker->MinDate() + 1;
    picker->SetKind(dtkDate);
    picker->SetDateMode(EditControl == edDateEditUpDown ? dmUpDown : dmComboBox);
    picker->SetDateTime(value);
    GetEditorProp(C, ARow, EditLink);
    picker->SetBounds(R.Left, R.Top, W, H);
    ShowControl(picker, Colour);
    if (MouseActions()->DirectDateDrop) picker->DropDownCalendar();
    FEditCtrl = picker;
}

// =============================================================================================
// Closing an editor control
//
// EditMode is cleared before a control hides: hiding the focused control makes it leave, and
// its exit handling must find the edit ended already.

void TAdvStringGrid::CloseCellEditor(int ACol, int ARow) {
    if (ComponentState().count(csDestroying)) return;
    FSpecialEditor = false;
    FBlockKill = true;
    const int C = RealColIndex(ACol);
    FStartEditChar = Char(u'\0');
    const bool pickers = DateTimePickersAvailable();

    switch (EditControl) {
        case edSpinEdit:
        case edFloatSpinEdit:
        case edTimeSpinEdit:
        case edDateSpinEdit: {
            TGridSpin* spin = FEditSpin.get();
            if (!spin) break;
            FEditMode = false;
            if (spin->AllowEmptyValue && spin->Text().trimmed().isEmpty()) {
                SetCellEx(C, ARow, String());
            } else if (EditControl == edSpinEdit) {
                SetInts(C, ARow, spin->Value());
            } else if (EditControl == edFloatSpinEdit) {
                SetFloats(C, ARow, spin->FloatValue());
            } else if (EditControl == edTimeSpinEdit) {
                StoreEditText(C, ARow, spin->Text());
            } else {
                SetDates(C, ARow, spin->DateValue());
            }
            CloseControl(spin);
            break;
        }
        case edComboEdit:
        case edComboList:
            if (!FEditCombo || !FEditMode) break;
            FEditMode = false;
            StoreEditText(C, ARow, FEditCombo->Text());
            CloseControl(FEditCombo.get());
            break;
        case edEditBtn:
        case edNumericEditBtn:
        case edFloatEditBtn:
        case edMaskEditBtn:
            if (!FEditBtn || !FEditMode) break;
            FEditMode = false;
            StoreEditText(C, ARow, FEditBtn->Text());
            CloseControl(FEditBtn.get());
            break;
        case edUnitEditBtn:
        case edNumericUnitEditBtn:
        case edFloatUnitEditBtn:
            if (!FUnitEditBtn) break;
            FEditMode = false;
            StoreEditText(C, ARow, FUnitEditBtn->TextAndUnit());
            CloseControl(FUnitEditBtn.get());
            break;
        case edCheckBox:
            FEditMode = false;
            if (FEditCheck) CloseControl(FEditCheck.get());
            break;
        case edButton:
            FEditMode = false;
            if (FGridButton) CloseControl(FGridButton.get());
            break;
        case edRichEdit: CloseRichEditor(C, ARow); break;
        case edCustom: CloseEditLink(C, ARow); break;
        case edDateEdit:
        case edDateEditUpDown:
            if (!pickers || !FEditDate) break;
            FEditMode = false;
            StoreEditText(C, ARow, FEditDate->Checked() ? FEditDate->Text() : String());
            CloseControl(FEditDate.get());
            break;
        case edTimeEdit:
            // The picker's text is shown in its own format (its Format, else the locale's long
            // time format): it is taken as it stands, and the locale's formats stay untouched.
            if (!pickers || !FEditDate) break;
            FEditMode = false;
            StoreEditText(C, ARow, FEditDate->Text());
            CloseControl(FEditDate.get());
            break;
        case edDateTimeEdit:
            if (!pickers || !FEditDateTime) break;
            FEditMode = false;
            StoreEditText(C, ARow,
                          FEditDateTime->Checked() ? FormatDateTime(FormatSettings.ShortDateFormat + " " +
                                                                        FormatSettings.ShortTimeFormat,
                                                                    FEditDateTime->DateTime())
                                                   : String());
            CloseControl(FEditDateTime.get());
            break;
        default: break;
    }

    if (EditControl != edNormal && FEditActive) NotifyEditingDone(C, ARow);
    FBlockKill = false;
    FEditActive = false;
}
