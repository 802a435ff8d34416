// The colour picker's body while it is not built: no colour is added.
#include "GridDropDowns.h"

void TAdvColorPickerDropDown::AddDefaultColors() {}
