#include "EditLinks.h"

#include "AdvGrid.h"
#include "AdvInplaceEdit.h"
#include "Forms.h"
#include "GridOptions.h"

namespace {

void GridTakesFocus(TAdvStringGrid* Grid) {
    if (Grid->CanFocus()) Grid->SetFocus();
}

bool IsArrow(Word Key) {
    return Key == VK_LEFT || Key == VK_UP || Key == VK_RIGHT || Key == VK_DOWN;
}

} // namespace

// ---------------------------------------------------------------------------------------------
// TEditLink

TEditLink::TEditLink(TComponent* AOwner) : TComponent(AOwner) {}

TEditLink::~TEditLink() {
    if (FPopupForm) FPopupForm->OnDeactivate = nullptr;
}

void TEditLink::Notification(TComponent* AComponent, TOperation Operation) {
    TComponent::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == FPopupForm) FPopupForm = nullptr;
}

TWinControl* TEditLink::GetParent() {
    if (FEditStyle == esPopup && FPopupForm) return FPopupForm;
    return FOwner;
}

String TEditLink::GetCellValue() {
    if (!FOwner) return String();
    return FOwner->GetCellEx(FOwner->RealColIndex(FOwner->Col()), FOwner->Row());
}

void TEditLink::SetCellValue(const String& s) {
    if (!FOwner) return;
    FOwner->StoreEditText(FOwner->RealColIndex(FOwner->Col()), FOwner->Row(), s);
}

void TEditLink::SetRect(const TRect& r) {
    TWinControl* control = GetEditControl();
    if (!control || !FOwner) return;
    const int line = FOwner->GridLineWidth();
    control->SetBounds(r.Left, r.Top, r.Right - r.Left - line, r.Bottom - r.Top - line);
}

void TEditLink::SetVisible(bool Value) {
    if (TWinControl* control = GetEditControl()) control->SetVisible(Value);
}

void TEditLink::SetFocus(bool Value) {
    TWinControl* control = GetEditControl();
    if (!control || !FOwner) return;
    if (Value) {
        if (!control->Visible()) control->SetVisible(true);
        if (!control->Enabled()) control->SetEnabled(true);
    }
    if (FEditStyle == esInplace && !FSubClassed) {
        TAdvStringGrid* grid = FOwner;
        grid->FGridControlWndProc = control->WindowProc;
        control->WindowProc = [grid](TMessage& Message) { grid->EditLinkWindowProc(Message); };
        FSubClassed = true;
    }
    if (Value) {
        if (control->CanFocus()) control->SetFocus();
    } else {
        GridTakesFocus(FOwner);
    }
}

void TEditLink::RestoreWinProc() {
    TWinControl* control = GetEditControl();
    if (!control || !FOwner || FEditStyle != esInplace) return;
    if (FSubClassed) control->WindowProc = FOwner->FGridControlWndProc;
    FSubClassed = false;
    if (control->HandleAllocated()) ShowWindow(control->Handle(), SW_HIDE);
}

void TEditLink::HideEditor() {
    if (!FOwner) return;
    SetCellValue(GetEditorValue());
    FOwner->HideInplaceEdit();
    RestoreWinProc();
}

void TEditLink::EditExit(TObject*) {
    HideEditor();
    ClosePopup();
}

void TEditLink::ClosePopup() {
    if (FEditStyle != esPopup || !FPopupForm || FExiting) return;
    FExiting = true;
    DestroyEditor();
    FPopupForm->Hide();
    FExiting = false;
}

void TEditLink::FormExit(TObject* Sender) {
    // Hiding the window after the edit ended deactivates it: nothing is left to commit.
    if (!FOwner || FExiting) return;
    if (TAdvInplaceEdit* normal = FOwner->NormalEdit()) normal->SetText(GetEditorValue());
    if (FForcedExit) {
        SetCellValue(GetEditorValue());
        return;
    }
    EditExit(Sender);
    FOwner->InvokedFocusChange = true;
}

void TEditLink::ForcedGridFocus() {
    FForcedExit = true;
    GridTakesFocus(FOwner);
    FForcedExit = false;
}

void TEditLink::Commit() {
    ForcedGridFocus();
    FOwner->HideEditControl(FOwner->Col(), FOwner->Row());
}

void TEditLink::EditKeyDown(TObject*, Word& Key, TShiftState Shift) {
    TAdvStringGrid* G = FOwner;
    if (!G) return;
    // The keys that leave the editor, less those the link keeps.
    bool leave = false;
    switch (Key) {
        case VK_TAB: leave = !FWantTabs; break;
        case VK_RETURN: leave = !FWantKeyReturn; break;
        case VK_ESCAPE: leave = !FWantKeyEscape; break;
        case VK_PRIOR:
        case VK_NEXT: leave = !FWantKeyPriorNext; break;
        case VK_HOME:
        case VK_END: leave = !FWantKeyHomeEnd; break;
        case VK_LEFT:
        case VK_RIGHT: leave = !FWantKeyLeftRight; break;
        case VK_UP:
        case VK_DOWN: leave = !FWantKeyUpDown; break;
        default: leave = Shift.count(ssAlt) != 0; break;
    }
    if (!leave) return;

    bool committed = false;
    if (Key == VK_TAB) {
        if (G->Navigation()->TabToNextAtEnd) {
            Commit();
            committed = true;
            const bool backward = GetKeyState(VK_SHIFT) < 0;
            if (G->AdvanceOnTab(backward) && !G->IsClickableCell(G->RealColIndex(G->Col()), G->Row())) {
                if (G->HandleAllocated()) PostMessage(G->Handle(), WM_KEYDOWN, VK_F2, 0);
                Key = 0;
                return;
            }
        }
        Key = 0;
    }
    // Escape: the editor gets the text from before the edit, so the commit keeps the cell.
    if (Key == VK_ESCAPE) SetEditorValue(G->FCellCache);
    if (!committed) Commit();
    // A Tab that committed may have moved the current cell: the value is not stored again.
    if (FEditStyle == esPopup) {
        if (committed)
            ClosePopup();
        else
            EditExit(this);
    }
    G->FEditMode = false;
    G->SelectCell(G->Col(), G->Row());
    if (Key == VK_RETURN && G->FLastValidation) {
        G->FLastValidation = true;
        G->AdvanceEdit(G->Col(), G->Row(), false, true, !Shift.count(ssShift), false, true);
        Key = 0;
        return;
    }
    if (G->FLastValidation) {
        G->FLastValidation = true;
        if (Key == VK_ESCAPE) {
            Key = 0;
            return;
        }
        if (IsArrow(Key)) G->KeyDown(Key, Shift);
        if (TWinControl* control = GetEditControl()) control->SetEnabled(false);
        ForcedGridFocus();
        return;
    }
    // The value was refused: the editor opens again on the same cell.
    G->FLastValidation = true;
    G->ShowEditControl(G->Col(), G->Row());
}

// ---------------------------------------------------------------------------------------------
// The markup-control editors

bool TControlEdit::GridKeyPress(TAdvStringGrid* Grid, Char& Key, const std::function<void()>& ExitHandling) {
    if (!Grid) return false;
    if (Key == Char(VK_RETURN)) {
        Key = Char(0);
        ExitHandling();
        GridTakesFocus(Grid);
        return true;
    }
    if (Key == Char(VK_TAB)) {
        Key = Char(0);
        ExitHandling();
        if (Grid->Navigation()->AdvanceAuto())
            Grid->AdvanceEdit(Grid->Col(), Grid->Row(), true, false, true, false, true);
        else
            Grid->EditCellControl(Grid->Col(), Grid->Row(), Grid->FCtrlID);
        return true;
    }
    return false;
}

void TControlEdit::Dispatch(TMessage& Message) {
    if (Message.Msg == CM_WANTSPECIALKEY) {
        if (Message.WParam == VK_RETURN) {
            Message.Result = 0;
            return;
        }
        if (Message.WParam == VK_TAB) {
            Message.Result = 1;
            return;
        }
    }
    TMaskEdit::Dispatch(Message);
}

void TControlEdit::KeyPress(Char& Key) {
    if (!GridKeyPress(dynamic_cast<TAdvStringGrid*>(Parent()), Key, [this] { DoExit(); }))
        TMaskEdit::KeyPress(Key);
}

void TControlCombo::Dispatch(TMessage& Message) {
    if (Message.Msg == CM_WANTSPECIALKEY && Message.WParam == VK_TAB) {
        Message.Result = 1;
        return;
    }
    TAsgComboBox::Dispatch(Message);
}

void TControlCombo::KeyPress(Char& Key) {
    if (!TControlEdit::GridKeyPress(dynamic_cast<TAdvStringGrid*>(Parent()), Key, [this] { DoExit(); }))
        TAsgComboBox::KeyPress(Key);
}
