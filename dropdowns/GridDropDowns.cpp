// The drop-down editors' bodies while the editors are not built: nothing opens, no colour is
// added.
#include "GridDropDowns.h"

#include "ImgList.h"

TAdvCustomDropDown::TAdvCustomDropDown(TComponent* AOwner)
    : TWinControl(AOwner), FDropDownHeader(new THeaderAppearance(this)),
      FButtonAppearance(new TAdvButtonAppearance()), FDropDownFooter(new TFooterAppearance(this)) {}

TAdvCustomDropDown::~TAdvCustomDropDown() {
    TObject::Free(FDropDownHeader);
    TObject::Free(FButtonAppearance);
    TObject::Free(FDropDownFooter);
}

void TAdvCustomDropDown::DropDown() {}

// No popup is shown yet, so there is nothing to close.
void TAdvCustomDropDown::DoHideDropDown(bool CancelChanges) {
    (void)CancelChanges;
}

void TAdvCustomDropDown::SetImages(TCustomImageList* Value) {
    if (Value == FImages) return;
    if (FImages) FImages->RemoveFreeNotification(this);
    FImages = Value;
    if (FImages) FImages->FreeNotification(this);
}

void TAdvCustomDropDown::Notification(TComponent* AComponent, TOperation Operation) {
    TWinControl::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == FImages) FImages = nullptr;
}

void TAdvColorPickerDropDown::AddDefaultColors() {}
