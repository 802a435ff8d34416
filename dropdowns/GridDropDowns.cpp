// The drop-down editors' bodies while the editors are not built: no colour is added.
#include "GridDropDowns.h"

void TAdvColorPickerDropDown::AddDefaultColors() {}
