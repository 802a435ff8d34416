#include "GridDropDowns.h"

// ---------------------------------------------------------------------------------------------
// The grid's getters of its drop-down editors. Switched off until the drop-down editors are
// built: nothing is made and every getter answers nullptr, so a drop-down cell opens nothing.

#include "AdvGrid.h"

TGridTrackbarDropDown* TAdvStringGrid::TrackbarDropDown() {
    return FTrackbarDropDown;
}
TGridMemoDropDown* TAdvStringGrid::MemoDropDown() {
    return FMemoDropDown;
}
TGridCalculatorDropDown* TAdvStringGrid::CalculatorDropDown() {
    return FCalculatorDropDown;
}
TGridTimepickerDropDown* TAdvStringGrid::TimepickerDropDown() {
    return FTimepickerDropDown;
}
TGridDetailPickerDropDown* TAdvStringGrid::DetailPickerDropDown() {
    return FDetailPickerDropDown;
}
TGridGridDropDown* TAdvStringGrid::GridDropDown() {
    return FGridDropDown;
}
TGridColorDropDown* TAdvStringGrid::ColorDropDown() {
    return FColorDropDown;
}
TGridImageDropDown* TAdvStringGrid::ImageDropDown() {
    return FImageDropDown;
}
TGridAdvGridDropDown* TAdvStringGrid::AdvGridDropDown() {
    return FAdvGridDropDown;
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
