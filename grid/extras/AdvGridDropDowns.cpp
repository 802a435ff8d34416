// TAdvStringGrid: the drop-down editors it holds (made by its getters, GridDropDownEditors.cpp);
// what it holds it frees.
#include "AdvGrid.h"
#include "GridDropDowns.h"

void TAdvStringGrid::FreeDropDownEditors() {
    // FreeAndNil clears the reference before the editor is freed.
    FreeAndNil(FTrackbarDropDown);
    FreeAndNil(FMemoDropDown);
    FreeAndNil(FCalculatorDropDown);
    FreeAndNil(FTimepickerDropDown);
    FreeAndNil(FDetailPickerDropDown);
    FreeAndNil(FGridDropDown);
    FreeAndNil(FColorDropDown);
    FreeAndNil(FImageDropDown);
    FreeAndNil(FAdvGridDropDown);
}
