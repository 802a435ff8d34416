#include "AdvMemoDropDown.h"

#include "StdCtrls.h"

namespace {

// Alt, Esc and F4 go on from the memo to the edit, which closes or toggles the popup.
bool ReachesEdit(Word Key, const TShiftState& Shift) {
    return Shift.count(ssAlt) || Key == VK_ESCAPE || Key == VK_F4;
}

} // namespace

TAdvMemoDropDown::TAdvMemoDropDown(TComponent* AOwner)
    : TAdvCustomDropDown(AOwner), FMemoText(new TStringList) {
    FMemoText->OnChange = [this](TObject* Sender) { MemoTextChanged(Sender); };
    FMemoScrollBars = ssNone;
    FMemoReadOnly = false;
    FInternalUpdate = false;
    FAutoDrop = false;
    // The base made the popup form before this control's slots existed: make the memo now.
    if (!HasState(csDesigning)) CreateDropDownForm();
}

TAdvMemoDropDown::~TAdvMemoDropDown() {
    FMemoText->OnChange = nullptr;
    delete FMemoText;
}

void TAdvMemoDropDown::SetMemoText(TStrings* Value) {
    FMemoText->Assign(Value);
    if (FMemo) FMemo->Lines()->Assign(Value);
}

void TAdvMemoDropDown::SetMemoReadOnly(bool Value) {
    FMemoReadOnly = Value;
    if (DroppedDown() && FMemo) FMemo->SetReadOnly(Value);
}

void TAdvMemoDropDown::MemoTextChanged(TObject*) {
    String text;
    if (FMemoText->Count() == 0 || EditorEnabled()) {
        text = FMemoText->Text();
    } else {
        text = FMemoText->Strings(0);
        // Measured in the edit's font against the edit's formatting rectangle.
        TBitmap measure(1, 1);
        TCanvas* canvas = measure.Canvas();
        canvas->Font()->Assign(Font());
        const int width = GetEditRect().Width();
        if (GetTextSize(canvas, text).cx < width && FMemoText->Count() > 1)
            text += QStringLiteral("...");
        else
            text = TruncateText(canvas, text, width, true);
    }
    FInternalUpdate = true;
    try {
        SetEditorText(text);
    } catch (...) {
        FInternalUpdate = false;
        throw;
    }
    FInternalUpdate = false;
}

void TAdvMemoDropDown::Change() {
    if (!FInternalUpdate) {
        // The typed text becomes the value; the edit is not rewritten for it.
        FMemoText->OnChange = nullptr;
        FMemoText->SetText(EditText());
        FMemoText->OnChange = [this](TObject* Sender) { MemoTextChanged(Sender); };
    }
    TAdvCustomDropDown::Change();
}

void TAdvMemoDropDown::DoEnter() {
    TAdvCustomDropDown::DoEnter();
    if (FAutoDrop) DoShowDropDown();
}

void TAdvMemoDropDown::CreateDropDownForm() {
    TAdvCustomDropDown::CreateDropDownForm();
    if (!DropDownForm()) return;
    if (!FMemo) {
        FMemo = new TMemo(this);
        FMemo->SetParent(DropDownForm());
        FMemo->SetHeight(100);
        FMemo->SetBorderStyle(bsNone);
        FMemo->OnChange = [this](TObject*) {
            if (Assigned(OnMemoChange)) OnMemoChange(this);
        };
    }
    SetControl(FMemo);
}

void TAdvMemoDropDown::DoBeforeDropDown() {
    TAdvCustomDropDown::DoBeforeDropDown();
    // The edit shows the value as it is now (typed, perhaps): that is what a cancelled close
    // keeps, not an older text written by code.
    FInternalUpdate = true;
    try {
        SetText(Text());
    } catch (...) {
        FInternalUpdate = false;
        throw;
    }
    FInternalUpdate = false;
    if (DropDownForm()) DropDownForm()->SetCancelOnDeActivate(false);
    if (!FMemo) return;
    FMemo->Lines()->SetText(FMemoText->Text());
    FMemo->SetPopupMenu(FMemoPopup);
    FMemo->SetMaxLength(MaxLength());
    FMemo->SetScrollBars(FMemoScrollBars);
    FMemo->SetReadOnly(FMemoReadOnly);
}

void TAdvMemoDropDown::DoHideDropDown(bool CancelChanges) {
    // The focus coming back to the edit must not open the popup again.
    const bool autoDrop = FAutoDrop;
    FAutoDrop = false;
    try {
        if (CancelChanges && FMemo) FMemo->Lines()->Assign(FMemoText);
        TAdvCustomDropDown::DoHideDropDown(CancelChanges);
    } catch (...) {
        FAutoDrop = autoDrop;
        throw;
    }
    FAutoDrop = autoDrop;
}

void TAdvMemoDropDown::DropDownFormHide(TObject* Sender) {
    TAdvCustomDropDown::DropDownFormHide(Sender);
    if (!FMemo) return;
    FMemoText->SetText(FMemo->Lines()->Text());
    MemoTextChanged(this);
    SetSelStart(0);
    SetSelLength(0);
}

void TAdvMemoDropDown::DropDownControlKeyDown(TObject* Sender, Word& Key, TShiftState Shift) {
    if (ReachesEdit(Key, Shift)) TAdvCustomDropDown::DropDownControlKeyDown(Sender, Key, Shift);
    if ((Key == 65 || Key == 97) && Shift.count(ssCtrl) && FMemo) FMemo->SelectAll();
}

void TAdvMemoDropDown::DropDownControlKeyUp(TObject* Sender, Word& Key, TShiftState Shift) {
    if (ReachesEdit(Key, Shift)) TAdvCustomDropDown::DropDownControlKeyUp(Sender, Key, Shift);
}

void TAdvMemoDropDown::DropDownControlKeyPress(TObject* Sender, Char& Key) {
    if (GetKeyState(VK_MENU) < 0 || Key == Char(VK_ESCAPE))
        TAdvCustomDropDown::DropDownControlKeyPress(Sender, Key);
}
