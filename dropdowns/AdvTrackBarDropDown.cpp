#include "AdvTrackBarDropDown.h"

#include "ComCtrls.h"
#include "SysUtils.h"

TAdvTrackBarDropDown::TAdvTrackBarDropDown(TComponent* AOwner) : TAdvCustomDropDown(AOwner) {
    FMin = 0;
    FMax = 10;
    FPosition = 0;
    FPageSize = 2;
    FFrequency = 1;
    SetEditorEnabled(false);
    SetDropDownEnabled(true);
    SetEditType(etNumeric);
    DropDownHeader()->SetVisible(false);
    DropDownFooter()->SetVisible(false);
    SetForceShadow(true);
    // The base made the popup form before this control's slots existed: make the track bar now.
    if (!HasState(csDesigning)) CreateDropDownForm();
}

void TAdvTrackBarDropDown::CreateDropDownForm() {
    TAdvCustomDropDown::CreateDropDownForm();
    if (!DropDownForm()) return;
    if (!FTrackBar) {
        FTrackBar = new TTrackBar(this);
        FTrackBar->SetParent(DropDownForm());
        FTrackBar->SetBounds(0, 0, FTrackBar->Width(), 40);
    }
    FTrackBar->OnChange = [this](TObject* Sender) { TrackBarChange(Sender); };
}

void TAdvTrackBarDropDown::DoBeforeDropDown() {
    TAdvCustomDropDown::DoBeforeDropDown();
    if (DropDownForm()) DropDownForm()->SetCancelOnDeActivate(false);
    if (!FTrackBar) return;
    FTrackBar->SetMin(FMin);
    FTrackBar->SetMax(FMax);
    FTrackBar->SetPosition(FPosition);
    FTrackBar->SetPageSize(FPageSize);
    FTrackBar->SetFrequency(FFrequency);
    FTrackBar->SetWidth(Width());
    SetControl(FTrackBar);
}

void TAdvTrackBarDropDown::SetMin(int Value) {
    FMin = Value;
    if (!FTrackBar) return;
    FTrackBar->SetMin(Value);
    FMin = FTrackBar->Min();
}

void TAdvTrackBarDropDown::SetMax(int Value) {
    FMax = Value;
    if (!FTrackBar) return;
    FTrackBar->SetMax(Value);
    FMax = FTrackBar->Max();
}

void TAdvTrackBarDropDown::SetPosition(int Value) {
    FPosition = Value;
    if (!FTrackBar) return;
    // A move of the track bar reports back through TrackBarChange.
    FTrackBar->SetPosition(Value);
    FPosition = FTrackBar->Position();
}

void TAdvTrackBarDropDown::SetFrequency(int Value) {
    FFrequency = Value;
    if (FTrackBar) FTrackBar->SetFrequency(Value);
}

void TAdvTrackBarDropDown::SetPageSize(int Value) {
    FPageSize = Value;
    if (FTrackBar) FTrackBar->SetPageSize(Value);
}

void TAdvTrackBarDropDown::TrackBarChange(TObject*) {
    if (!FTrackBar) return;
    FPosition = FTrackBar->Position();
    SetEditorText(IntToStr(FPosition));
    if (Assigned(OnTrackChange)) OnTrackChange(this);
}

void TAdvTrackBarDropDown::Change() {
    TAdvCustomDropDown::Change();
    // Typing is user input: a text that is no integer (an emptied edit, a lone sign) leaves
    // Position as it is instead of raising a conversion error at every keystroke.
    int value = 0;
    if (TryStrToInt(Text(), value)) SetPosition(value);
}

void TAdvTrackBarDropDown::Dispatch(TMessage& Message) {
    TAdvCustomDropDown::Dispatch(Message);
    if (Message.Msg != WM_KEYDOWN || HasState(csDesigning)) return;
    if (EditorEnabled() || GetKeyState(VK_MENU) < 0) return;
    // Up lowers and Down raises the value; a step that would leave the range is not taken.
    const Word key = Word(Message.WParam);
    if (key == VK_UP && FPosition - FFrequency >= FMin) SetPosition(FPosition - FFrequency);
    if (key == VK_DOWN && FPosition + FFrequency <= FMax) SetPosition(FPosition + FFrequency);
}

void TAdvTrackBarDropDown::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
    if (DropDownEnabled() && !EditorEnabled()) {
        FMouseX = X;
        FMouseDraging = true;
    }
    TAdvCustomDropDown::MouseDown(Button, Shift, X, Y);
}

void TAdvTrackBarDropDown::MouseMove(TShiftState Shift, int X, int Y) {
    if (DropDownEnabled() && !EditorEnabled() && FMouseDraging) {
        // One step per PageSize pixels, truncated toward zero; without a page size a drag
        // moves nothing.
        if (FPageSize > 0) SetPosition(FPosition + (X - FMouseX) / FPageSize);
        FMouseX = X;
    }
    TAdvCustomDropDown::MouseMove(Shift, X, Y);
}

void TAdvTrackBarDropDown::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
    if (DropDownEnabled() && !EditorEnabled()) FMouseDraging = false;
    TAdvCustomDropDown::MouseUp(Button, Shift, X, Y);
}
