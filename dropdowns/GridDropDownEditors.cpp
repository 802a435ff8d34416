// The grid's cell editors on the drop-downs (the wrapper family), the grid's getters that make
// them, and the grid's halves of opening and committing a drop-down cell.
#include "GridDropDownEditors.h"

#include "AdvGrid.h"
#include "AdvGridEditRules.h"
#include "GridDropDowns.h"
#include "GridEditorSupport.h"
#include "CellGraphic.h"
#include "GridSettings.h"
#include "SysUtils.h"

// ---------------------------------------------------------------------------------------------
// The members' differences

//                                          claims Enter/Esc, caret, plain change, formatted,
//                                          calc on Enter, colour keys
const TGridDropDownKind GridTrackbarKind{true, true, false, true, false, false};
const TGridDropDownKind GridMemoKind{false, true, false, false, false, false};
const TGridDropDownKind GridCalculatorKind{false, true, true, false, true, false};
const TGridDropDownKind GridTimepickerKind{false, false, false, false, false, false};
const TGridDropDownKind GridDetailPickerKind{false, false, false, false, false, false};
const TGridDropDownKind GridGridKind{false, false, false, false, false, false};
const TGridDropDownKind GridAdvGridKind{false, false, false, false, false, false};
const TGridDropDownKind GridColorKind{true, false, true, false, false, true};
const TGridDropDownKind GridImageKind{false, false, true, false, false, false};

// ---------------------------------------------------------------------------------------------
// The family

namespace {

void GridTakesFocus(TAdvStringGrid* Grid) {
    if (Grid->CanFocus()) Grid->SetFocus();
}

// The keys the grid handles while one of its drop-down editors is open; the others are the
// drop-down's own. Alt+Down opens and closes the popup.
bool IsGridKey(const TGridDropDownKind& Kind, Word Key, TShiftState Shift, bool DroppedDown) {
    if (Kind.ColourKeys && DroppedDown) return Key == VK_TAB || Key == VK_RETURN || Key == VK_ESCAPE;
    switch (Key) {
        case VK_TAB:
        case VK_RETURN:
        case VK_ESCAPE:
        case VK_PRIOR:
        case VK_NEXT:
        case VK_END:
        case VK_UP: return true;
        case VK_DOWN: return !Shift.count(ssAlt);
        case VK_HOME: return Kind.ColourKeys;
        default: return false;
    }
}

// The calculator completes a pending operation; the other kinds have nothing to complete.
template <class T> void CompletePending(T*) {}
void CompletePending(TAdvCalculatorDropdown* Calculator) {
    Calculator->CalcResult();
}

// Escape discards the edit: the value the grid commits when the editor closes goes back to what
// the cell holds. The text kinds take the cell's text (written by the caller); the memo's
// typed text already went into the cell through the grid's edit-text handling, so the cell gets
// its text from before the edit back first; the pickers take the cell's colour or image index
// (their own keys step it while the popup is closed). No pick is reported for this.
template <class T> void RevertToCell(TAdvStringGrid*, T*) {}
void RevertToCell(TAdvStringGrid* Grid, TAdvMemoDropDown*) {
    TGridEditorSupport::RestoreCellCache(Grid);
}
void RevertToCell(TAdvStringGrid* Grid, TAdvColorPickerDropDown* Colours) {
    const int c = Grid->RealCol(), r = Grid->Row();
    const TNotifyEvent onSelect = Colours->OnSelect;
    Colours->OnSelect = nullptr;
    Colours->SetSelectedColor(Grid->GetCellType(c, r) == ctShape ? Grid->GetShapeColor(c, r)
                                                                 : Grid->Colors(c, r));
    Colours->OnSelect = onSelect;
}
void RevertToCell(TAdvStringGrid* Grid, TAdvImagePickerDropDown* Images) {
    const int c = Grid->RealCol(), r = Grid->Row();
    const TCellType type = Grid->GetCellType(c, r);
    int index = -1;
    if (type == ctImageList)
        Grid->GetImageIdx(c, r, index);
    else if (type != ctDataImage || !TryStrToInt(Grid->CurrentCell().trimmed(), index))
        return;
    const TNotifyEvent onSelect = Images->OnSelect;
    Images->OnSelect = nullptr;
    Images->SetImageIndex(index);
    Images->OnSelect = onSelect;
}

} // namespace

template <class TBase, const TGridDropDownKind& Kind>
TGridDropDownEditor<TBase, Kind>::TGridDropDownEditor(TComponent* AOwner)
    : TBase(AOwner), FGrid(As<TAdvStringGrid>(AOwner)) {}

template <class TBase, const TGridDropDownKind& Kind>
void TGridDropDownEditor<TBase, Kind>::WriteText(const String& Value) {
    if (Kind.FormattedText)
        this->SetText(Value);
    else
        this->SetEditorText(Value);
}

template <class TBase, const TGridDropDownKind& Kind>
void TGridDropDownEditor<TBase, Kind>::Dispatch(TMessage& Message) {
    TBase::Dispatch(Message);
    if (!FGrid) return;
    if (Message.Msg == CM_WANTSPECIALKEY) {
        const Word key = Word(Message.WParam);
        if (Kind.ClaimsEnterEscape && (key == VK_RETURN || key == VK_ESCAPE)) Message.Result = 1;
        if (key == VK_TAB && FGrid->EditorHandlesTab()) Message.Result = 1;
    } else if (Message.Msg == WM_SETFOCUS && Kind.CaretAtClick) {
        TGridEditorSupport::CaretAtClick(FGrid, this);
    }
}

template <class TBase, const TGridDropDownKind& Kind> void TGridDropDownEditor<TBase, Kind>::Change() {
    if (Kind.PlainChange)
        TCustomMaskEdit::Change();
    else
        TBase::Change();
    if (FGrid && FGrid->OnEditChange) FGrid->OnEditChange(FGrid, FGrid->Col(), FGrid->Row(), this->Text());
}

template <class TBase, const TGridDropDownKind& Kind> void TGridDropDownEditor<TBase, Kind>::DoExit() {
    if (FGrid) FGrid->HideInplaceEdit();
    TBase::DoExit();
}

template <class TBase, const TGridDropDownKind& Kind>
void TGridDropDownEditor<TBase, Kind>::KeyPress(Char& Key) {
    if (FGrid && FGrid->OnKeyPress) FGrid->OnKeyPress(this, Key);
    if (Key == Char(VK_ESCAPE) || Key == Char(VK_RETURN) || Key == Char(VK_TAB)) Key = Char(0);
    TBase::KeyPress(Key);
}

template <class TBase, const TGridDropDownKind& Kind>
void TGridDropDownEditor<TBase, Kind>::KeyDown(Word& Key, TShiftState Shift) {
    Forced = false;
    const bool gridKey = FGrid && IsGridKey(Kind, Key, Shift, this->DroppedDown());
    WorkMode = Key != VK_BACK && Key != VK_DELETE;
    if (!gridKey) {
        TBase::KeyDown(Key, Shift);
        return;
    }
    // Escape: the cell keeps its stored text and the grid takes the focus back.
    if (Key == VK_ESCAPE) {
        RevertToCell(FGrid, static_cast<TBase*>(this));
        WriteText(FGrid->CurrentCell());
        FGrid->HideInplaceEdit();
        GridTakesFocus(FGrid);
        return;
    }
    // The text goes into the cell and is validated. A refusal keeps the editor open on the text
    // the validation left: all of it selected (Enter and the arrows), the caret at its end (Tab).
    auto validated = [this](bool SelectAll) {
        if (TGridEditorSupport::ValidateText(FGrid, this->Text())) {
            WriteText(FGrid->CurrentCell());
            return true;
        }
        WriteText(TGridEditorSupport::NewCellText(FGrid));
        const int length = int(this->Text().size());
        this->SetSelStart(SelectAll ? 0 : length);
        this->SetSelLength(SelectAll ? length : 0);
        this->Repaint();
        return false;
    };
    const bool validates = Key == VK_RETURN || (!Kind.ColourKeys && (Key == VK_UP || Key == VK_DOWN));
    if (validates) {
        if (Key == VK_RETURN) CompletePending(static_cast<TBase*>(this));
        if (!validated(true)) {
            Key = 0;
            return;
        }
    }
    if (Key == VK_TAB && FGrid->EditorHandlesTab()) {
        if (!validated(false)) {
            Key = 0;
            return;
        }
        if (FGrid->HasOption(goTabs)) {
            TGridEditorSupport::TabOn(FGrid, Shift);
            Key = 0;
            return;
        }
        // The grid moves on Tab itself once this key is done.
        if (FGrid->HandleAllocated()) PostMessage(FGrid->Handle(), WM_KEYDOWN, VK_TAB, 0);
    }
    if (this->DroppedDown()) {
        FGrid->HideInplaceEdit();
        if (Key == VK_PRIOR || Key == VK_NEXT || Key == VK_UP || Key == VK_DOWN) Key = 0;
    } else if (Key == VK_END) {
        // The caret goes to the end of the text; the edit goes on.
        TBase::KeyDown(Key, Shift);
        return;
    }
    TGridEditorSupport::MovesOn(FGrid, Key, Shift);
    Key = 0;
    TBase::KeyDown(Key, Shift);
}

template class TGridDropDownEditor<TAdvTrackBarDropDown, GridTrackbarKind>;
template class TGridDropDownEditor<TAdvMemoDropDown, GridMemoKind>;
template class TGridDropDownEditor<TAdvCalculatorDropdown, GridCalculatorKind>;
template class TGridDropDownEditor<TAdvTimePickerDropDown, GridTimepickerKind>;
template class TGridDropDownEditor<TAdvDetailDropDown, GridDetailPickerKind>;
template class TGridDropDownEditor<TAdvMultiColumnDropDown, GridGridKind>;
template class TGridDropDownEditor<TCustomAdvGridDropDown, GridAdvGridKind>;
template class TGridDropDownEditor<TAdvColorPickerDropDown, GridColorKind>;
template class TGridDropDownEditor<TAdvImagePickerDropDown, GridImageKind>;

TGridTimepickerDropDown::TGridTimepickerDropDown(TComponent* AOwner) : TGridDropDownEditor(AOwner) {
    SetFocusDraw(false);
}

TAdvStringGrid* TGridAdvGridDropDown::Grid() const {
    return As<TAdvStringGrid>(GetGrid());
}

// ---------------------------------------------------------------------------------------------
// The grid's getters: each editor is made on first use with the grid as owner and parent,
// hidden, with the grid's component style and colour tones.

namespace {

template <class T>
T* MakeDropDownEditor(TAdvStringGrid* Grid, T*& Slot, void (*Prepare)(TAdvStringGrid*, T*)) {
    if (Slot || Grid->ComponentState().count(csDesigning)) return Slot;
    T* editor = new T(Grid);
    Slot = editor;
    editor->SetParent(Grid);
    editor->SetVisible(false);
    editor->SetComponentStyle(Grid->Style());
    editor->SetColorTones(Grid->ColorTones());
    if (Prepare) Prepare(Grid, editor);
    return editor;
}

template <class T> void EnableTyping(TAdvStringGrid*, T* Editor) {
    Editor->SetEditorEnabled(true);
}

} // namespace

TGridTrackbarDropDown* TAdvStringGrid::TrackbarDropDown() {
    return MakeDropDownEditor(this, FTrackbarDropDown, &EnableTyping<TGridTrackbarDropDown>);
}

TGridMemoDropDown* TAdvStringGrid::MemoDropDown() {
    return MakeDropDownEditor<TGridMemoDropDown>(
        this, FMemoDropDown, [](TAdvStringGrid* Grid, TGridMemoDropDown* Memo) {
            Memo->OnChange = [Grid](TObject* Sender) { Grid->MemoDropDownChange(Sender); };
        });
}

TGridCalculatorDropDown* TAdvStringGrid::CalculatorDropDown() {
    return MakeDropDownEditor(this, FCalculatorDropDown, &EnableTyping<TGridCalculatorDropDown>);
}

TGridTimepickerDropDown* TAdvStringGrid::TimePickerDropDown() {
    return MakeDropDownEditor<TGridTimepickerDropDown>(this, FTimepickerDropDown, nullptr);
}

TGridDetailPickerDropDown* TAdvStringGrid::DetailPickerDropDown() {
    return MakeDropDownEditor<TGridDetailPickerDropDown>(this, FDetailPickerDropDown, nullptr);
}

TGridGridDropDown* TAdvStringGrid::GridDropDown() {
    return MakeDropDownEditor<TGridGridDropDown>(this, FGridDropDown, nullptr);
}

TGridAdvGridDropDown* TAdvStringGrid::AdvGridDropDown() {
    return MakeDropDownEditor<TGridAdvGridDropDown>(this, FAdvGridDropDown, nullptr);
}

TGridColorDropDown* TAdvStringGrid::ColorPickerDropDown() {
    return MakeDropDownEditor<TGridColorDropDown>(
        this, FColorDropDown, [](TAdvStringGrid* Grid, TGridColorDropDown* Colours) {
            Colours->AddDefaultColors();
            Colours->OnSelect = [Grid](TObject* Sender) { Grid->ColorSelect(Sender); };
        });
}

TGridImageDropDown* TAdvStringGrid::ImagePickerDropDown() {
    return MakeDropDownEditor<TGridImageDropDown>(
        this, FImageDropDown, [](TAdvStringGrid* Grid, TGridImageDropDown* Images) {
            Images->OnSelect = [Grid](TObject* Sender) { Grid->ImageSelect(Sender); };
        });
}

void TAdvStringGrid::ColorSelect(TObject*) {
    if (OnColorSelect && FColorDropDown)
        OnColorSelect(this, Col(), Row(), FColorDropDown->SelectedColor(),
                      FColorDropDown->SelectedColorText());
}

void TAdvStringGrid::ImageSelect(TObject*) {
    if (OnImageSelect && FImageDropDown) OnImageSelect(this, Col(), Row(), FImageDropDown->ItemIndex());
}

// The drop-down editors made so far take the grid's component style or colour tones.
void TAdvStringGrid::StyleDropDowns(TKitStyle AStyle) {
    TAdvCustomDropDown* const made[] = {FColorDropDown,      FImageDropDown,        FGridDropDown,
                                        FAdvGridDropDown,    FDetailPickerDropDown, FTimepickerDropDown,
                                        FCalculatorDropDown, FMemoDropDown};
    for (TAdvCustomDropDown* d : made)
        if (d) d->SetComponentStyle(AStyle);
}

void TAdvStringGrid::TonesDropDowns(const TColorTones& ATones) {
    TAdvCustomDropDown* const made[] = {FMemoDropDown,         FTrackbarDropDown, FTimepickerDropDown,
                                        FCalculatorDropDown,   FGridDropDown,     FAdvGridDropDown,
                                        FDetailPickerDropDown, FColorDropDown,    FImageDropDown};
    for (TAdvCustomDropDown* d : made)
        if (d) d->SetColorTones(ATones);
}

// ---------------------------------------------------------------------------------------------
// Opening a drop-down cell and committing it

namespace {

String JoinLines(TStrings* Lines) {
    String text;
    for (int i = 0; i < Lines->Count(); ++i) {
        if (i > 0) text += QStringLiteral("\r\n");
        text += Lines->Strings(i);
    }
    return text;
}

} // namespace

TWinControl* TAdvStringGrid::OpenDropDownEditor(int ACol, int ARow, int C, const TRect& R, TColor Colour) {
    TAdvCustomDropDown* editor = nullptr;
    switch (EditControl) {
        case edTrackbarDropDown: editor = TrackbarDropDown(); break;
        case edMemoDropDown: editor = MemoDropDown(); break;
        case edCalculatorDropDown: editor = CalculatorDropDown(); break;
        case edTimePickerDropDown: editor = TimePickerDropDown(); break;
        case edDetailDropDown: editor = DetailPickerDropDown(); break;
        case edGridDropDown: editor = GridDropDown(); break;
        case edAdvGridDropDown: editor = AdvGridDropDown(); break;
        case edColorPickerDropDown: editor = ColorPickerDropDown(); break;
        case edImagePickerDropDown: editor = ImagePickerDropDown(); break;
        default: break;
    }
    if (!editor) return nullptr;
    const int W = R.Width() - 1, H = R.Height() - 1;
    const String text = GetEditText(ACol, ARow);
    FEditMode = true;
    editor->DropDownFooter()->Assign(ControlLook()->DropDownFooter());
    editor->DropDownHeader()->Assign(ControlLook()->DropDownHeader());
    editor->SetComponentStyle(Style());
    editor->OnDropDownHeaderButtonClick = [this](TObject* Sender, int Index) {
        DropDownHeaderButtonClick(Sender, Index);
    };
    editor->OnDropDownFooterButtonClick = [this](TObject* Sender, int Index) {
        DropDownFooterButtonClick(Sender, Index);
    };
    if (EditControl == edGridDropDown || EditControl == edAdvGridDropDown) {
        editor->SetColor(Colour);
        editor->SetEditorEnabled(true);
    }
    GetEditorProp(C, ARow, EditLink);
    if (EditControl == edGridDropDown) {
        FGridDropDown->BeginUpdate();
        FGridDropDown->EndUpdate();
    } else if (EditControl == edAdvGridDropDown) {
        // The popup grid keeps its header row when its rows are narrowed.
        FAdvGridDropDown->Grid()->SetFixedRowAlways(true);
        FAdvGridDropDown->BeginUpdate();
        FAdvGridDropDown->EndUpdate();
    }
    editor->SetBounds(R.Left, R.Top, 0, 0);
    editor->SetEnabled(true);
    editor->SetBorderStyle(bsNone);
    editor->SetWidth(W);
    editor->SetHeight(H);
    bool ownColour = true; // the colour and image pickers keep their own colour
    switch (EditControl) {
        case edTrackbarDropDown: FTrackbarDropDown->SetPosition(LeadingInt(text)); break;
        case edMemoDropDown:
        case edCalculatorDropDown: editor->SetText(text); break;
        case edTimePickerDropDown:
        case edDetailDropDown:
            editor->SetText(text);
            editor->SetEditorEnabled(true);
            break;
        case edGridDropDown:
            FGridDropDown->SetItemIndex(text.isEmpty() ? 0 : FGridDropDown->GetItemIndex(text));
            editor->SetText(text);
            ownColour = false;
            break;
        case edAdvGridDropDown:
            if (FAdvGridDropDown->UseItems()) {
                String match;
                int index = -1;
                if (text.isEmpty())
                    index = 0;
                else
                    FAdvGridDropDown->FindLookupMatch(text, match, index);
                FAdvGridDropDown->SetItemIndex(index);
            }
            editor->SetText(text);
            ownColour = false;
            break;
        case edColorPickerDropDown:
            FColorDropDown->SetSelectedColor(GetCellType(C, ARow) == ctShape ? GetShapeColor(C, ARow)
                                                                             : Colors(C, ARow));
            ownColour = false;
            break;
        case edImagePickerDropDown: {
            TGridImageDropDown* images = FImageDropDown;
            const TCellType type = GetCellType(C, ARow);
            if (type == ctImageList || type == ctDataImage) {
                images->SetImages(GridImages());
                if (images->Items()->Count() == 0) images->AddImagesFromImageList();
                int index = -1;
                if (type == ctImageList)
                    GetImageIdx(C, ARow, index);
                else if (!TryStrToInt(GetGridCell(C, ARow).trimmed(), index))
                    index = -1;
                images->SetImageIndex(index);
            }
            const int item = images->ItemIndex();
            editor->SetEditorText(
                images->ImageIndex() == -1 || item < 0 ? String() : images->Items()->Items(item)->Caption());
            ownColour = false;
            break;
        }
        default: ownColour = false; break;
    }
    if (ownColour) editor->SetColor(Colour);
    editor->SetVisible(true);
    const bool clicked = LButFlg;
    if (editor->CanFocus()) editor->SetFocus();
    // The caret placed at a click (the focus cleared LButFlg) stays where it is.
    const bool caretPlaced = clicked && !LButFlg;
    if (EditControl == edDetailDropDown) {
        const int index = FDetailPickerDropDown->Items()->IndexOf(editor->Text());
        if (index >= 0) FDetailPickerDropDown->SetItemIndex(index);
    }
    if (MouseActions()->DirectComboDrop) editor->ShowDropDown();
    FEditCtrl = editor;
    if (EditControl == edMemoDropDown && !caretPlaced) {
        editor->SetSelStart(0);
        editor->SetSelLength(0);
    }
    return editor;
}

void TAdvStringGrid::CloseDropDownEditor(int C, int ARow) {
    TAdvCustomDropDown* editor = nullptr;
    switch (EditControl) {
        case edTrackbarDropDown: editor = FTrackbarDropDown; break;
        case edMemoDropDown: editor = FMemoDropDown; break;
        case edCalculatorDropDown: editor = FCalculatorDropDown; break;
        case edTimePickerDropDown: editor = FTimepickerDropDown; break;
        case edDetailDropDown: editor = FDetailPickerDropDown; break;
        case edGridDropDown: editor = FGridDropDown; break;
        case edAdvGridDropDown: editor = FAdvGridDropDown; break;
        case edColorPickerDropDown: editor = FColorDropDown; break;
        case edImagePickerDropDown: editor = FImageDropDown; break;
        default: break;
    }
    if (!editor || !FEditMode) return;
    FEditMode = false;
    switch (EditControl) {
        case edMemoDropDown: StoreEditText(C, ARow, JoinLines(FMemoDropDown->MemoText())); break;
        case edColorPickerDropDown: {
            TColor colour = FColorDropDown->SelectedColor();
            String value = FColorDropDown->SelectedColorText();
            if (OnColorSelected) OnColorSelected(this, C, ARow, colour, value);
            StoreEditText(C, ARow, value);
            if (GetCellType(C, ARow) == ctShape)
                SetShapeColor(C, ARow, colour);
            else
                SetColors(C, ARow, colour);
            break;
        }
        case edImagePickerDropDown: {
            int index = FImageDropDown->ImageIndex();
            if (OnImageSelected) OnImageSelected(this, C, ARow, index);
            const TCellType type = GetCellType(C, ARow);
            if (type == ctImageList)
                SetImageIdx(C, ARow, index);
            else if (type == ctDataImage)
                StoreEditText(C, ARow, IntToStr(index));
            break;
        }
        default: StoreEditText(C, ARow, editor->Text()); break;
    }
    editor->SetVisible(false);
    editor->SetEnabled(false);
}
