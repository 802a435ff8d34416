// The drop-down editors' bodies while the editors are not built: nothing opens, no colour is
// added.
#include "GridDropDowns.h"

void TAdvCustomDropDown::DropDown() {}

void TAdvColorPickerDropDown::AddDefaultColors() {}
