#include "EditWithButtons.h"

#include "Graphics.h"

#include <algorithm>

int EditTextHeight(TFont* Font) {
    TBitmap measure;
    TCanvas* C = measure.Canvas();
    C->Font()->Assign(Font);
    const int h = C->TextHeight(QStringLiteral("0"));
    TFont system;
    C->Font()->Assign(&system);
    const int s = C->TextHeight(QStringLiteral("0"));
    return h + std::min(h, s) / 4;
}

bool FitEditWithButton(TCustomEdit* Edit, TControl* Button, int MinHeight) {
    if (Edit->Height() < MinHeight) {
        Edit->SetHeight(MinHeight);
        return false;
    }
    // b: 1 without a border, whose client area is the whole window.
    const int b = Edit->BorderStyle() == bsSingle ? 0 : 1;
    const int w = Button->Width();
    if (Edit->Ctl3D())
        Button->SetBounds(Edit->Width() + 4 * b - w - 5, 0, w, Edit->Height() + 4 * b - 5);
    else
        Button->SetBounds(Edit->Width() - w, 1, w, Edit->Height() - 3);
    return true;
}

void SetEditTextRect(TCustomEdit* Edit, const TRect& R) {
    Edit->Perform(EM_SETRECTNP, 0, reinterpret_cast<LPARAM>(&R));
}

bool EnteredByLeftClick(const TControl* Control) {
    return Control->ControlState().count(csLButtonDown) != 0 || GetKeyState(VK_LBUTTON) < 0;
}

void FocusAfterButtonPress(TWinControl* Holder, TWinControl* FocusControl) {
    if (FocusControl && FocusControl->TabStop() && FocusControl->CanFocus() && !FocusControl->Focused())
        FocusControl->SetFocus();
    else if (Holder->TabStop() && Holder->CanFocus() && !Holder->Focused())
        Holder->SetFocus();
}

void DeliverTabKey(TWinControl* Edit) {
    TMessage cn(CN_KEYDOWN, VK_TAB, 0);
    Edit->Perform(cn);
    if (cn.Result == 0) Edit->Perform(WM_KEYDOWN, VK_TAB, 0);
}
