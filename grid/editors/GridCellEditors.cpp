// The grid's editor controls and fixed-cell editors.
#include "GridCellEditors.h"

#include "AdvGrid.h"
#include "AdvInplaceEdit.h"
#include "GridOptions.h"
#include "WindowPosNotice.h"

namespace {
TAdvStringGrid* GridOf(TComponent* AOwner) {
    return dynamic_cast<TAdvStringGrid*>(AOwner);
}
} // namespace

// ---------------------------------------------------------------------------------------------
// Shared by the editors

namespace {

void GridTakesFocus(TAdvStringGrid* Grid) {
    if (Grid->CanFocus()) Grid->SetFocus();
}

bool Shifted(TShiftState Shift) {
    return Shift.count(ssShift) != 0;
}

bool NoModifier(TShiftState Shift) {
    return !Shift.count(ssShift) && !Shift.count(ssCtrl) && !Shift.count(ssAlt);
}

// The answer to the want-special-key query: Enter and Esc always, Tab when TabToo.
LRESULT ClaimsKey(WPARAM Key, bool TabToo) {
    return Key == VK_RETURN || Key == VK_ESCAPE || (Key == VK_TAB && TabToo) ? 1 : 0;
}

} // namespace

// What the editors share that reaches into the grid's protected part.
struct TGridEditorSupport {
    static bool ValidateText(TAdvStringGrid* Grid, const String& Text);
    static void TabOn(TAdvStringGrid* Grid, TShiftState Shift);
    static void CursorWalk(TAdvStringGrid* Grid, const String& Text, bool Left);
    static void MovesOn(TAdvStringGrid* Grid, Word Key, TShiftState Shift);
    static void AdvanceAfterEnter(TAdvStringGrid* Grid) {
        Grid->AdvanceEdit(Grid->Col(), Grid->Row(), true, false);
    }
    static void TabAdvance(TAdvStringGrid* Grid, TShiftState Shift) { Grid->AdvanceOnTab(Shifted(Shift)); }
};

// The grid's current cell takes Text, which the grid then validates.
// FNewCellText is the text unless a validation runs and says otherwise.
bool TGridEditorSupport::ValidateText(TAdvStringGrid* Grid, const String& Text) {
    Grid->SetCurrentCell(Text);
    Grid->FNewCellText = Text;
    return Grid->ValidateCell(Text);
}

// Tab with goTabs: the editor closes and the grid moves to the next (Shift: previous) cell.
void TGridEditorSupport::TabOn(TAdvStringGrid* Grid, TShiftState Shift) {
    Grid->HideInplaceEdit();
    GridTakesFocus(Grid);
    Grid->AdvanceOnTab(Shifted(Shift));
}

// The cursor walk out of an edit at its left or right end (Navigation.CursorWalkEditor): onto
// a clickable neighbour cell after validation, else one cell on with the editor shown again.
void TGridEditorSupport::CursorWalk(TAdvStringGrid* Grid, const String& Text, bool Left) {
    const int span = Grid->CellSpan(Grid->RealCol(), Grid->Row()).X;
    const int next = Left ? Grid->Col() - 1 : Grid->Col() + std::max(span, 0) + 1;
    const bool inside = Left ? next >= Grid->FixedCols() : next < Grid->ColCount() - Grid->FixedRightCols();
    if (inside && Grid->IsClickableCell(Grid->RealColIndex(next), Grid->Row())) {
        if (Grid->ValidateCell(Text)) {
            Grid->HideInplaceEdit();
            Grid->SetCol(next);
        }
        return;
    }
    GridTakesFocus(Grid);
    TNavigation* nav = Grid->Navigation();
    const TAdvanceDirection direction = nav->AdvanceDirection();
    nav->SetAdvanceDirection(adLeftRight);
    Grid->AdvanceEdit(Grid->Col(), Grid->Row(), !Left, true);
    nav->SetAdvanceDirection(direction);
    if (nav->CursorWalkAlwaysEdit) Grid->ShowInplaceEdit();
}

// The grid moves on after a key that ended an edit; after Enter (not Esc) with AdvanceOnEnter
// and AdvanceAutoEdit the editor opens on the new cell.
void TGridEditorSupport::MovesOn(TAdvStringGrid* Grid, Word Key, TShiftState Shift) {
    Grid->DoneInplaceEdit(Key, Shift);
    if (Key != VK_ESCAPE && Grid->Navigation()->AdvanceOnEnter && Grid->Navigation()->AdvanceAutoEdit)
        Grid->ShowInplaceEdit();
}

// ---------------------------------------------------------------------------------------------
// Unit routines

void SetWindowTransparent(HWND Window) {
    SetWindowLong(Window, GWL_EXSTYLE, GetWindowLong(Window, GWL_EXSTYLE) | WS_EX_TRANSPARENT);
}

void CallWndProcHook(TWinControl* Window) {
    static bool placing = false;
    TAdvStringGrid* grid = TAdvStringGrid::FocusFrameGrid();
    // Placing the frame moves the frame's own window: that move is no reason to place it again.
    if (!grid || placing || Window == grid->FocusWindow()) return;
    placing = true;
    try {
        grid->MoveFocusFrame();
    } catch (...) {
        placing = false;
        throw;
    }
    placing = false;
}

void InstallCallWndProcHook() {
    static const int installed = AddWindowPosNotice(CallWndProcHook);
    (void)installed;
}

void TColumnSize::SetStretch(bool Value) {
    Stretch = Value;
    auto* grid = dynamic_cast<TAdvStringGrid*>(Owner());
    if (grid && grid->Parent()) grid->StretchColumn(StretchColumn);
}

// ---------------------------------------------------------------------------------------------
// TGridCheckBox

TGridCheckBox::TGridCheckBox(TComponent* AOwner) : TCheckBox(AOwner), FGrid(GridOf(AOwner)) {}

void TGridCheckBox::Dispatch(TMessage& Message) {
    if (Message.Msg == CM_WANTSPECIALKEY) {
        switch (Message.WParam) {
            case VK_RETURN:
            case VK_LEFT:
            case VK_UP:
            case VK_RIGHT:
            case VK_DOWN: Message.Result = FGrid ? 1 : 0; return;
            default: break;
        }
    }
    TCheckBox::Dispatch(Message);
}

void TGridCheckBox::DoExit() {
    if (FGrid) FGrid->HideInplaceEdit();
    TCheckBox::DoExit();
}

void TGridCheckBox::KeyDown(Word& Key, TShiftState Shift) {
    switch (Key) {
        case VK_RETURN:
        case VK_PRIOR:
        case VK_NEXT:
        case VK_END:
        case VK_LEFT:
        case VK_UP:
        case VK_RIGHT:
        case VK_DOWN: {
            if (!FGrid) break;
            const Word key = Key;
            Key = 0;
            FGrid->HideInplaceEdit();
            GridTakesFocus(FGrid);
            if (key == VK_RETURN) TGridEditorSupport::AdvanceAfterEnter(FGrid);
            if (key == VK_UP || key == VK_DOWN) {
                Word k = key;
                FGrid->KeyDown(k, Shift);
            }
            return;
        }
        default: break;
    }
    TCheckBox::KeyDown(Key, Shift);
}

// ---------------------------------------------------------------------------------------------
// TGridSpin

TGridSpin::TGridSpin(TComponent* AOwner) : TAsgSpinEdit(AOwner), FGrid(GridOf(AOwner)) {
    SetMaxValue(100);
    SetMinValue(0);
    Increment = 1;
}

void TGridSpin::Dispatch(TMessage& Message) {
    if (FGrid && Message.Msg == CM_WANTSPECIALKEY) {
        Message.Result = ClaimsKey(Message.WParam, FGrid->HasOption(goTabs));
        return;
    }
    if (Message.Msg == WM_CHAR && (Message.WParam == VK_TAB || Message.WParam == VK_RETURN)) {
        Message.Result = 0;
        return;
    }
    TAsgSpinEdit::Dispatch(Message);
}

void TGridSpin::DoExit() {
    if (FGrid) FGrid->HideInplaceEdit();
    TAsgSpinEdit::DoExit();
}

void TGridSpin::Change() {
    TAsgSpinEdit::Change();
    if (FGrid && !FGrid->FNoEditChange && FGrid->OnEditChange)
        FGrid->OnEditChange(FGrid, FGrid->Col(), FGrid->Row(), Text());
}

void TGridSpin::KeyPress(Char& Key) {
    if (Key == Char(VK_ESCAPE)) Key = Char(0);
    if (Key == Char(VK_RETURN)) return;
    TAsgSpinEdit::KeyPress(Key);
}

void TGridSpin::FireSpinClick(bool UpDown) {
    if (!FGrid) return;
    const int c = FGrid->Col(), r = FGrid->Row();
    switch (SpinType()) {
        case sptNormal:
            if (FGrid->OnSpinClick) FGrid->OnSpinClick(FGrid, c, r, Value(), UpDown);
            break;
        case sptFloat:
            if (FGrid->OnFloatSpinClick) FGrid->OnFloatSpinClick(FGrid, c, r, FloatValue(), UpDown);
            break;
        case sptDate:
            if (FGrid->OnDateSpinClick) FGrid->OnDateSpinClick(FGrid, c, r, DateValue(), UpDown);
            break;
        case sptTime:
            if (FGrid->OnTimeSpinClick) FGrid->OnTimeSpinClick(FGrid, c, r, TimeValue(), UpDown);
            break;
    }
}

void TGridSpin::UpButtonClick(TObject* Sender) {
    TAsgSpinEdit::UpButtonClick(Sender);
    FireSpinClick(true);
}

void TGridSpin::DownButtonClick(TObject* Sender) {
    TAsgSpinEdit::DownButtonClick(Sender);
    FireSpinClick(false);
}

void TGridSpin::KeyDown(Word& Key, TShiftState Shift) {
    if (!FGrid) {
        TAsgSpinEdit::KeyDown(Key, Shift);
        return;
    }
    switch (Key) {
        case VK_HOME:
        case VK_END: {
            // Home takes the upper limit, End the lower one.
            const bool home = Key == VK_HOME;
            if (SpinType() == sptNormal) SetValue(home ? MaxValue() : MinValue());
            if (SpinType() == sptFloat) SetFloatValue(home ? MaxFloatValue() : MinFloatValue());
            if (FGrid->OnSpinClick) FGrid->OnSpinClick(FGrid, FGrid->Col(), FGrid->Row(), Value(), false);
            break;
        }
        case VK_TAB:
        case VK_RETURN:
        case VK_ESCAPE: {
            if (Key == VK_ESCAPE) {
                SetText(FGrid->FCellCache);
                if (SpinType() == sptNormal) SetValue(StrToIntDef(FGrid->FCellCache, 0));
                if (SpinType() == sptFloat) SetFloatValue(StrToFloatDef(FGrid->FCellCache, 0));
            } else {
                const bool valid = TGridEditorSupport::ValidateText(FGrid, Text());
                SetText(FGrid->CurrentCell());
                if (!valid) {
                    SetSelStart(int(Text().size()));
                    SetSelLength(0);
                    Key = 0;
                    FGrid->FNoAutoAdvance = true;
                    Repaint();
                    return;
                }
            }
            if (Key == VK_TAB && FGrid->HasOption(goTabs))
                TGridEditorSupport::TabOn(FGrid, Shift);
            else
                TGridEditorSupport::MovesOn(FGrid, Key, Shift);
            Key = 0;
            break;
        }
        default: break;
    }
    TAsgSpinEdit::KeyDown(Key, Shift);
}

// ---------------------------------------------------------------------------------------------
// TGridCombo

TGridCombo::TGridCombo(TComponent* AOwner) : TAsgComboBox(AOwner), FGrid(GridOf(AOwner)) {
    SetButtonWidth(16);
}

void TGridCombo::Dispatch(TMessage& Message) {
    if (FGrid && Message.Msg == CM_WANTSPECIALKEY) {
        Message.Result = ClaimsKey(Message.WParam, FGrid->EditorHandlesTab());
        return;
    }
    if (FGrid && FGrid->WheelMessage() != 0 && Message.Msg == FGrid->WheelMessage()) {
        // The wheel steps through the items: towards the user the next one.
        const short delta = short(HIWORD(Message.WParam));
        if (delta < 0 && ItemIndex() + 1 < Items()->Count()) SetItemIndex(ItemIndex() + 1);
        if (delta > 0 && ItemIndex() > 0) SetItemIndex(ItemIndex() - 1);
        if (FGrid->OnEditChange) FGrid->OnEditChange(FGrid, FGrid->RealCol(), FGrid->Row(), Text());
        FireComboChange();
        Message.Result = 0;
        return;
    }
    TAsgComboBox::Dispatch(Message);
    if (!FGrid || Message.Msg != WM_SETFOCUS) return;
    if (!FGrid->Navigation()->EditSelectAll && Style() == csDropDown) {
        SetSelStart(int(Text().size()));
        SetSelLength(0);
    }
    // A click started the edit: the caret goes to the character under the pointer in the edit
    // part (the combo's first child window).
    if (FGrid->LButFlg) {
        const TPoint p = ScreenToClient(Mouse->CursorPos());
        if (p.X >= 0 && p.X <= Width() && p.Y >= 0 && p.Y <= Height()) {
            if (TWinControl* edit = FindControl(GetWindow(Handle(), GW_CHILD))) {
                const LRESULT r =
                    edit->Perform(EM_CHARFROMPOS, 0, PointToLParam(edit->ScreenToClient(Mouse->CursorPos())));
                if (r != -1) {
                    SetSelStart(LOWORD(r));
                    SetSelLength(0);
                }
            }
            FGrid->LButFlg = false;
        }
    }
}

void TGridCombo::DoExit() {
    if (FGrid && FGrid->LookupHistory && !Text().isEmpty() && Items()->IndexOf(Text()) < 0)
        Items()->Add(Text());
    if (FGrid) FGrid->HideInplaceEdit();
    TAsgComboBox::DoExit();
}

void TGridCombo::Change() {
    TAsgComboBox::Change();
    if (FGrid && !FGrid->FNoEditChange && FGrid->OnEditChange)
        FGrid->OnEditChange(FGrid, FGrid->Col(), FGrid->Row(), Text());
}

void TGridCombo::FireComboChange() {
    if (!FGrid) return;
    const int idx = ItemIndex();
    if (FGrid->OnComboChange) FGrid->OnComboChange(FGrid, FGrid->RealCol(), FGrid->Row(), idx, Text());
    if (FGrid->OnComboObjectChange)
        FGrid->OnComboObjectChange(FGrid, FGrid->RealCol(), FGrid->Row(), idx, Text(),
                                   idx >= 0 && idx < Items()->Count() ? Items()->Objects(idx) : nullptr);
}

void TGridCombo::KeyPress(Char& Key) {
    const int before = ItemIndex();
    if (FGrid && FGrid->OnKeyPress) FGrid->OnKeyPress(this, Key);
    if (Key == Char(VK_ESCAPE)) Key = Char(0);
    if (Key == Char(VK_RETURN) && OnReturnKey) OnReturnKey(this);
    if (Key == Char(VK_RETURN) || Key == Char(VK_TAB)) Key = Char(0);
    TAsgComboBox::KeyPress(Key);
    if (ItemIndex() != before) FireComboChange();
}

void TGridCombo::KeyDown(Word& Key, TShiftState Shift) {
    Forced = false;
    if (!FGrid) {
        TAsgComboBox::KeyDown(Key, Shift);
        return;
    }
    const bool listMode = Style() == csDropDownList || DroppedDown();
    bool handled = false;
    if (!(Key == VK_DOWN && Shift.count(ssAlt))) {
        switch (Key) {
            case VK_TAB:
            case VK_RETURN:
            case VK_ESCAPE: handled = true; break;
            case VK_LEFT:
            case VK_RIGHT: handled = listMode; break;
            case VK_PRIOR:
            case VK_NEXT:
            case VK_END:
            case VK_UP:
            case VK_DOWN: handled = !listMode; break;
            default: break;
        }
    }
    WorkMode = Key != VK_BACK && Key != VK_DELETE;
    // Up and Down that the combo does not take move the grid, and that is all they do: the
    // combo's text is not handed on to the cell the grid moved to.
    if ((Key == VK_UP || Key == VK_DOWN) && !Shift.count(ssAlt) && !FGrid->Navigation()->ComboGetUpDown &&
        !DroppedDown()) {
        Word key = Key;
        Key = 0;
        FGrid->HideInplaceEdit();
        TNavigation* nav = FGrid->Navigation();
        const bool alwaysEdit = nav->AlwaysEdit;
        nav->AlwaysEdit = false;
        GridTakesFocus(FGrid);
        nav->AlwaysEdit = alwaysEdit;
        FGrid->KeyDown(key, Shift);
        return;
    }
    if (!handled) {
        TAsgComboBox::KeyDown(Key, Shift);
        return;
    }
    if (Key == VK_ESCAPE) {
        const String cell = FGrid->CurrentCell();
        const int idx = Items()->IndexOf(cell);
        if (idx >= 0) SetItemIndex(idx);
        if (Style() != csDropDownList) SetText(cell);
        FGrid->HideInplaceEdit();
        GridTakesFocus(FGrid);
        Key = 0;
        return;
    }
    // The validated text goes back into the combo.
    auto takeValidated = [this] {
        const String cell = FGrid->CurrentCell();
        if (Style() == csDropDownList)
            SetItemIndex(Items()->IndexOf(cell));
        else
            SetText(cell);
    };
    if (Key == VK_RETURN || Key == VK_UP || Key == VK_DOWN) {
        if (!TGridEditorSupport::ValidateText(FGrid, Text())) {
            if (Style() != csDropDownList) {
                SetText(FGrid->FNewCellText);
                SetSelStart(0);
                SetSelLength(int(Text().size()));
            }
            Repaint();
            Key = 0;
            FGrid->FNoAutoAdvance = true;
            return;
        }
        takeValidated();
    }
    if (Key == VK_TAB && FGrid->EditorHandlesTab()) {
        if (!TGridEditorSupport::ValidateText(FGrid, Text())) {
            if (Style() != csDropDownList) {
                SetText(FGrid->FNewCellText);
                SetSelStart(int(Text().size()));
            }
            Repaint();
            Key = 0;
            return;
        }
        takeValidated();
        if (FGrid->HasOption(goTabs)) {
            TGridEditorSupport::TabOn(FGrid, Shift);
            Key = 0;
            return;
        }
    }
    if (listMode) {
        TMouseActions* actions = FGrid->MouseActions();
        const bool directClose = actions->DirectComboClose;
        actions->DirectComboClose = false;
        FGrid->HideInplaceEdit();
        actions->DirectComboClose = directClose;
        if (Key == VK_LEFT || Key == VK_RIGHT) {
            Word key = Key;
            FGrid->KeyDown(key, Shift);
        }
        if (Key == VK_PRIOR || Key == VK_NEXT || Key == VK_LEFT || Key == VK_UP || Key == VK_RIGHT ||
            Key == VK_DOWN)
            Key = 0;
    } else if (Key == VK_END) {
        TAsgComboBox::KeyDown(Key, Shift);
        return;
    }
    TGridEditorSupport::MovesOn(FGrid, Key, Shift);
    Key = 0;
}

void TGridCombo::KeyUp(Word& Key, TShiftState Shift) {
    if (FGrid && Style() == csDropDown && FGrid->Navigation()->CursorWalkEditor && SelLength() == 0 &&
        NoModifier(Shift)) {
        const bool left = Key == VK_LEFT && SelStart() == 0;
        const bool right = Key == VK_RIGHT && SelStart() == int(Text().size());
        if (left || right) {
            Key = 0;
            TGridEditorSupport::CursorWalk(FGrid, Text(), left);
        }
    }
    if (FGrid) FGrid->FNoAutoAdvance = false;
    if (Key != VK_RETURN) TAsgComboBox::KeyUp(Key, Shift);
    DoChange();
}

namespace {
// The first item of List that begins with Prefix; -1 for none.
int PrefixMatch(TStrings* List, const String& Prefix, bool CaseSensitive) {
    const String p = CaseSensitive ? Prefix : Prefix.toUpper();
    for (int i = 0; i < List->Count(); ++i) {
        const String item = CaseSensitive ? List->Strings(i) : List->Strings(i).toUpper();
        if (item.startsWith(p)) return i;
    }
    return -1;
}
} // namespace

void TGridCombo::DoChange() {
    if (!WorkMode || !FGrid || !FGrid->Lookup || Style() != csDropDown) return;
    const String text = Text();
    const int caret = SelStart();
    if (caret <= 0 || SelLength() != 0) return;
    const String typed = text.left(caret);
    const bool cs = FGrid->LookupCaseSensitive;
    int idx = PrefixMatch(Items(), typed, cs);
    String item;
    if (idx >= 0) {
        item = Items()->Strings(idx);
        SetItemIndex(idx);
        ItemChange = true;
    } else if (TStringList* lookup = FGrid->LookupItems(); lookup && lookup->Count() > 0) {
        idx = PrefixMatch(lookup, typed, cs);
        if (idx < 0) return;
        item = lookup->Strings(idx);
    } else {
        return;
    }
    ItemIdx = idx;
    const String completed = (typed + item.mid(typed.size())).left(255);
    SetText(completed);
    SetSelStart(int(typed.size()));
    SetSelLength(int(completed.size() - typed.size()));
}

void TGridCombo::SizeDropDownWidth() {
    if (!FGrid) return;
    int w = Width();
    TCanvas* canvas = FGrid->Canvas();
    const bool scrollBar = Items()->Count() > DropDownCount();
    for (int i = 0; i < Items()->Count(); ++i) {
        const int tw = canvas->TextWidth(Items()->Strings(i));
        if (scrollBar) {
            if (tw > w - 25) w = tw + 25;
        } else if (tw > w - 5) {
            w = tw + 8;
        }
    }
    SetDropWidth(w);
}

// ---------------------------------------------------------------------------------------------
// TGridDatePicker

namespace {
UINT ShiftFocusMessage() {
    static const UINT number = RegisterWindowMessage("DTPShiftFocus");
    return number;
}

// Sets a picker to Text read as a time or a date; False when it is neither.
bool SetPickerFromText(TDateTimePicker* Picker, const String& Text) {
    TDateTime value = 0;
    const bool ok = Picker->Kind() == dtkTime ? TryStrToTime(Text, value) : TryStrToDate(Text, value);
    if (ok) Picker->SetDateTime(value);
    return ok;
}
} // namespace

TGridDatePicker::TGridDatePicker(TComponent* AOwner) : TAsgDateTimePicker(AOwner), FGrid(GridOf(AOwner)) {}

void TGridDatePicker::Dispatch(TMessage& Message) {
    if (FGrid && Message.Msg == CM_WANTSPECIALKEY) {
        Message.Result = ClaimsKey(Message.WParam, FGrid->EditorHandlesTab());
        return;
    }
    if (Message.Msg == ShiftFocusMessage()) {
        ShiftFocus();
        return;
    }
    TAsgDateTimePicker::Dispatch(Message);
}

void TGridDatePicker::WndProc(TMessage& Message) {
    TAsgDateTimePicker::WndProc(Message);
    if (Message.Msg != WM_NCPAINT) return;
    // A 2-pixel frame in the window colour along the outer edge, after every non-client paint.
    if (auto* dc = reinterpret_cast<TCanvas*>(Message.WParam)) {
        const int w = Width(), h = Height();
        dc->Brush()->SetStyle(bsSolid);
        dc->Brush()->SetColor(clWindow);
        dc->FrameRect(Rect(0, 0, w, h));
        dc->FrameRect(Rect(1, 1, w - 1, h - 1));
    }
}

void TGridDatePicker::DropDown() {
    FOldDropped = true;
    TAsgDateTimePicker::DropDown();
}

void TGridDatePicker::CloseUp() {
    FOldDropped = false;
    TAsgDateTimePicker::CloseUp();
}

void TGridDatePicker::ShiftFocus() {
    Word y = 0, m = 0, d = 0, h = 0, n = 0, s = 0, ms = 0;
    DecodeDate(DateTime(), y, m, d);
    DecodeTime(DateTime(), h, n, s, ms);
    bool stay;
    if (Kind() == dtkTime) {
        stay = h == Fth && n == Ftm && s == Fts;
    } else if (!Format().isEmpty()) {
        const Char last = Format().back().toLower();
        stay = (d != Fd && last == u'd') || (m != Fm && last == u'm') || (y != Fy && last == u'y') ||
               (d == Fd && m == Fm && y == Fy);
    } else {
        stay = d == Fd && m == Fm;
    }
    if (!stay && HandleAllocated()) PostMessage(Handle(), WM_KEYDOWN, VK_RIGHT, 0);
}

void TGridDatePicker::KeyPress(Char& Key) {
    if (Key >= u'0' && Key <= u'9') {
        Word y = 0, m = 0, d = 0, h = 0, n = 0, s = 0, ms = 0;
        DecodeDate(DateTime(), y, m, d);
        DecodeTime(DateTime(), h, n, s, ms);
        Fy = y, Fm = m, Fd = d, Fth = h, Ftm = n, Fts = s, Ftms = ms;
        TAsgDateTimePicker::KeyPress(Key);
        if (HandleAllocated()) PostMessage(Handle(), ShiftFocusMessage(), 0, 0);
    } else {
        TAsgDateTimePicker::KeyPress(Key);
    }
    if (FGrid && FGrid->OnKeyPress) FGrid->OnKeyPress(FGrid, Key);
}

void TGridDatePicker::KeyDown(Word& Key, TShiftState Shift) {
    if (!FGrid) {
        TAsgDateTimePicker::KeyDown(Key, Shift);
        return;
    }
    switch (Key) {
        case VK_TAB:
        case VK_RETURN:
        case VK_ESCAPE:
        case VK_PRIOR:
        case VK_NEXT:
        case VK_END: break;
        default: TAsgDateTimePicker::KeyDown(Key, Shift); return;
    }
    if (Key == VK_ESCAPE) {
        // Back to the cell's text; a text that is no date gives today.
        if (!SetPickerFromText(this, FGrid->CurrentCell())) SetDateTime(::Date());
    }
    if (Key == VK_RETURN) {
        if (!TGridEditorSupport::ValidateText(FGrid, Text())) {
            SetPickerFromText(this, FGrid->FNewCellText);
            Repaint();
            Key = 0;
            FGrid->FNoAutoAdvance = true;
            return;
        }
        SetPickerFromText(this, FGrid->CurrentCell());
    }
    if (Key == VK_TAB && FGrid->EditorHandlesTab()) {
        if (!TGridEditorSupport::ValidateText(FGrid, Text())) {
            SetPickerFromText(this, FGrid->FNewCellText);
            Repaint();
            Key = 0;
            return;
        }
        if (FGrid->HasOption(goTabs)) {
            TGridEditorSupport::TabOn(FGrid, Shift);
            Key = 0;
            return;
        }
    }
    if (!DroppedDown()) TGridEditorSupport::MovesOn(FGrid, Key, Shift);
    Key = 0;
}

void TGridDatePicker::DoExit() {
    if (FGrid) FGrid->HideInplaceEdit();
    TAsgDateTimePicker::DoExit();
}

// ---------------------------------------------------------------------------------------------
// TGridDateTimePicker

TGridDateTimePicker::TGridDateTimePicker(TComponent* AOwner)
    : TAdvDateTimePicker(AOwner), FGrid(GridOf(AOwner)) {}

void TGridDateTimePicker::Dispatch(TMessage& Message) {
    if (FGrid && Message.Msg == CM_WANTSPECIALKEY) {
        Message.Result = ClaimsKey(Message.WParam, FGrid->EditorHandlesTab());
        return;
    }
    TAdvDateTimePicker::Dispatch(Message);
}

void TGridDateTimePicker::KeyDown(Word& Key, TShiftState Shift) {
    if (!FGrid) {
        TAdvDateTimePicker::KeyDown(Key, Shift);
        return;
    }
    switch (Key) {
        case VK_ESCAPE:
            SetDateTime(FGrid->FOriginalDateTime);
            FGrid->HideInplaceEdit();
            GridTakesFocus(FGrid);
            Key = 0;
            return;
        case VK_RETURN:
            Key = 0;
            FGrid->HideInplaceEdit();
            GridTakesFocus(FGrid);
            if (FGrid->Navigation()->AdvanceOnEnter) TGridEditorSupport::AdvanceAfterEnter(FGrid);
            return;
        case VK_TAB:
            if (!FGrid->EditorHandlesTab()) break;
            Key = 0;
            FGrid->HideInplaceEdit();
            GridTakesFocus(FGrid);
            FGrid->SetCurrentCell(Text());
            TGridEditorSupport::TabAdvance(FGrid, Shift);
            return;
        default: break;
    }
    TAdvDateTimePicker::KeyDown(Key, Shift);
}

// ---------------------------------------------------------------------------------------------
// TGridEditBtn

TGridEditBtn::TGridEditBtn(TComponent* AOwner) : TAsgEditBtn(AOwner), FGrid(GridOf(AOwner)) {
    OnClickBtn = [this](TObject* Sender) { EditBtnClick(Sender); };
}

void TGridEditBtn::Dispatch(TMessage& Message) {
    if (FGrid) {
        switch (Message.Msg) {
            case CM_WANTSPECIALKEY:
                Message.Result = ClaimsKey(Message.WParam, FGrid->EditorHandlesTab());
                return;
            case WM_CHAR: {
                if (Message.WParam == VK_RETURN || Message.WParam == VK_TAB) {
                    Message.Result = 1;
                    return;
                }
                const TEditorType kind = FGrid->EditControl;
                if (kind == edNumericEditBtn || kind == edFloatEditBtn) {
                    const TEditorType rules = kind == edNumericEditBtn ? edNumeric : edFloat;
                    if (!NumberCharAllowed(rules, Char(char16_t(Message.WParam)), Text(), SelStart(),
                                           SelText()))
                        return;
                } else if (kind != edEditBtn && kind != edMaskEditBtn) {
                    return;
                }
                break;
            }
            case WM_LBUTTONDBLCLK:
                TAsgEditBtn::Dispatch(Message);
                if (FGrid->OnDblClickCell) FGrid->OnDblClickCell(FGrid, FGrid->Row(), FGrid->Col());
                return;
            case WM_PASTE: {
                // The text editor's paste without its length and character rules.
                String n;
                int start = 0, length = 0;
                if (ComposeCellPaste(FGrid, this, 0, Text(), SelStart(), SelLength(), n, start, length)) {
                    SetText(n);
                    FGrid->SetCurrentCellText(Text());
                    const int len = int(Text().size());
                    SetSelStart(std::min(start, len));
                    SetSelLength(std::min(length, len - std::min(start, len)));
                }
                return;
            }
            default: break;
        }
    }
    TAsgEditBtn::Dispatch(Message);
}

void TGridEditBtn::DoExit() {
    if (FGrid) FGrid->HideInplaceEdit();
    TAsgEditBtn::DoExit();
}

void TGridEditBtn::Change() {
    TAsgEditBtn::Change();
    if (FGrid && !FGrid->FNoEditChange && FGrid->OnEditChange)
        FGrid->OnEditChange(FGrid, FGrid->Col(), FGrid->Row(), Text());
}

void TGridEditBtn::KeyPress(Char& Key) {
    if (FGrid && FGrid->OnKeyPress) FGrid->OnKeyPress(FGrid, Key);
    if (Key == Char(VK_TAB)) return;
    TAsgEditBtn::KeyPress(Key);
}

void TGridEditBtn::KeyDown(Word& Key, TShiftState Shift) {
    bool handled = false;
    switch (Key) {
        case VK_TAB:
        case VK_RETURN:
        case VK_ESCAPE:
        case VK_PRIOR:
        case VK_NEXT:
        case VK_UP:
        case VK_DOWN: handled = true; break;
        default: break;
    }
    if (!FGrid) {
        TAsgEditBtn::KeyDown(Key, Shift);
        return;
    }
    if (!handled && FGrid->OnKeyDown) FGrid->OnKeyDown(FGrid, Key, Shift);
    WorkMode = Key != VK_BACK && Key != VK_DELETE;
    FSelKeyDown = SelStart();
    if (Shift.count(ssCtrl) || !handled) {
        TAsgEditBtn::KeyDown(Key, Shift);
        return;
    }
    if (OnKeyDown) OnKeyDown(this, Key, Shift);
    const TEditorType kind = FGrid->EditControl;
    if (Key == VK_TAB || Key == VK_RETURN || Key == VK_UP || Key == VK_DOWN) {
        const bool valid = TGridEditorSupport::ValidateText(FGrid, Text());
        SetText(FGrid->FNewCellText);
        if (!valid) {
            SelectAll();
            Repaint();
            Key = 0;
            FGrid->EditControl = kind;
            FGrid->FNoAutoAdvance = true;
            return;
        }
    }
    if (Key == VK_TAB && FGrid->EditorHandlesTab() && FGrid->HasOption(goTabs)) {
        TGridEditorSupport::TabOn(FGrid, Shift);
        Key = 0;
        return;
    }
    if (Key == VK_ESCAPE) SetText(FGrid->FCellCache);
    TGridEditorSupport::MovesOn(FGrid, Key, Shift);
    Key = 0;
}

void TGridEditBtn::KeyUp(Word& Key, TShiftState Shift) {
    if (FGrid && FGrid->OnKeyUp) FGrid->OnKeyUp(FGrid, Key, Shift);
    if (FGrid && FGrid->Navigation()->CursorWalkEditor && SelLength() == 0 && NoModifier(Shift)) {
        const bool right = Key == VK_RIGHT && SelStart() == int(Text().size());
        const bool left = Key == VK_LEFT && SelStart() == 0 && FSelKeyDown == 0;
        if (left || right) {
            Key = 0;
            TGridEditorSupport::CursorWalk(FGrid, Text(), left);
        }
    }
    if (Key != VK_RETURN) TAsgEditBtn::KeyUp(Key, Shift);
    DoLookup();
}

void TGridEditBtn::DoLookup() {
    if (!WorkMode || !FGrid || !FGrid->Lookup || SelLength() != 0) return;
    TStringList* lookup = FGrid->LookupItems();
    if (!lookup || lookup->Count() == 0) return;
    const int caret = SelStart();
    if (caret <= 0) return;
    const String typed = Text().left(caret);
    const int idx = PrefixMatch(lookup, typed, FGrid->LookupCaseSensitive);
    if (idx < 0) return;
    const String completed = (typed + lookup->Strings(idx).mid(typed.size())).left(255);
    SetText(completed);
    SetSelStart(int(typed.size()));
    SetSelLength(int(completed.size() - typed.size()));
}

void TGridEditBtn::EditBtnClick(TObject*) {
    if (!FGrid) return;
    SetText(FGrid->EllipsClick(Text()));
    SelectAll();
    Repaint();
    if (FStopEditAfterClick) {
        FGrid->HideInplaceEdit();
        GridTakesFocus(FGrid);
    }
}

// ---------------------------------------------------------------------------------------------
// TGridUnitEditBtn

TGridUnitEditBtn::TGridUnitEditBtn(TComponent* AOwner) : TAsgUnitEditBtn(AOwner), FGrid(GridOf(AOwner)) {
    OnClickBtn = [this](TObject* Sender) { EditBtnClick(Sender); };
    if (FGrid)
        OnUnitChanged = [this](TObject* Sender, const String& NewUnit) {
            FGrid->UnitEditBtnUnitChanged(Sender, NewUnit);
        };
}

void TGridUnitEditBtn::Dispatch(TMessage& Message) {
    if (FGrid) {
        if (Message.Msg == CM_WANTSPECIALKEY) {
            Message.Result = ClaimsKey(Message.WParam, FGrid->HasOption(goTabs));
            return;
        }
        if (Message.Msg == WM_CHAR) {
            if (Message.WParam == VK_RETURN) {
                Message.Result = 0;
                return;
            }
            const TEditorType kind = FGrid->EditControl;
            if (kind == edNumericUnitEditBtn || kind == edFloatUnitEditBtn) {
                const TEditorType rules = kind == edNumericUnitEditBtn ? edNumeric : edFloat;
                if (!NumberCharAllowed(rules, Char(char16_t(Message.WParam)), Text(), SelStart(), SelText()))
                    return;
            } else if (kind != edUnitEditBtn) {
                return;
            }
        }
    }
    TAsgUnitEditBtn::Dispatch(Message);
}

void TGridUnitEditBtn::DoExit() {
    if (FGrid) FGrid->HideInplaceEdit();
    TAsgUnitEditBtn::DoExit();
}

void TGridUnitEditBtn::KeyDown(Word& Key, TShiftState Shift) {
    switch (Key) {
        case VK_TAB:
        case VK_RETURN:
        case VK_ESCAPE:
        case VK_PRIOR:
        case VK_NEXT:
        case VK_UP:
        case VK_DOWN:
            if (FGrid) break;
            [[fallthrough]];
        default: TAsgUnitEditBtn::KeyDown(Key, Shift); return;
    }
    if (Key == VK_TAB || Key == VK_RETURN || Key == VK_UP || Key == VK_DOWN) {
        if (!TGridEditorSupport::ValidateText(FGrid, TextAndUnit())) {
            SetText(FGrid->CurrentCell());
            Key = 0;
            FGrid->FNoAutoAdvance = true;
            return;
        }
        SetTextAndUnit(FGrid->CurrentCell());
    }
    if (Key == VK_RETURN && FGrid->Navigation()->AdvanceOnEnter) {
        FGrid->HideInplaceEdit();
        GridTakesFocus(FGrid);
        Key = 0;
        TGridEditorSupport::AdvanceAfterEnter(FGrid);
        return;
    }
    if (Key == VK_TAB && FGrid->HasOption(goTabs)) {
        TGridEditorSupport::TabOn(FGrid, Shift);
        Key = 0;
        return;
    }
    if (Key == VK_ESCAPE) {
        SetUnitID(String());
        SetText(FGrid->CurrentCell());
    }
    TGridEditorSupport::MovesOn(FGrid, Key, Shift);
    Key = 0;
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

void TGridButton::Dispatch(TMessage& Message) {
    if (FGrid && Message.Msg == CM_WANTSPECIALKEY) {
        switch (Message.WParam) {
            case VK_ESCAPE:
            case VK_LEFT:
            case VK_UP:
            case VK_RIGHT:
            case VK_DOWN: Message.Result = 1; return;
            default: break;
        }
    }
    if (FGrid && Message.Msg == WM_LBUTTONUP) ExchangeCaption();
    TButton::Dispatch(Message);
}

void TGridButton::ExchangeCaption() {
    const String s = FGrid->EllipsClick(Caption());
    SetCaption(s);
    FGrid->SetCurrentCell(s);
}

void TGridButton::DoExit() {
    if (FGrid) FGrid->HideInplaceEdit();
    TButton::DoExit();
}

void TGridButton::KeyUp(Word& Key, TShiftState Shift) {
    if (FGrid && Key == VK_SPACE) {
        ExchangeCaption();
        if (CanFocus()) SetFocus();
        Repaint();
    }
    TButton::KeyUp(Key, Shift);
}

void TGridButton::KeyDown(Word& Key, TShiftState Shift) {
    if (!FGrid) {
        TButton::KeyDown(Key, Shift);
        return;
    }
    switch (Key) {
        case VK_LEFT:
        case VK_UP:
        case VK_RIGHT:
        case VK_DOWN: {
            // The button steps aside (the edit ends) and the grid handles the arrow as its own
            // key, once.
            const Word key = Key;
            Key = 0;
            FGrid->HideInplaceEdit();
            GridTakesFocus(FGrid);
            FGrid->Perform(WM_KEYDOWN, key, 0);
            FGrid->Perform(WM_KEYUP, key, 0);
            return;
        }
        case VK_ESCAPE:
            Key = 0;
            // The snapshot goes back first: ending the edit runs the current-cell check, which
            // takes a new snapshot of the cell as it then is.
            FGrid->RestoreCellCache();
            FGrid->HideInplaceEdit();
            GridTakesFocus(FGrid);
            FGrid->Perform(WM_KEYDOWN, VK_ESCAPE, 0);
            return;
        default: break;
    }
    TButton::KeyDown(Key, Shift);
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
