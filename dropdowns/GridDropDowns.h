// The grid's nine drop-down editors (GridDropDownEditors.h). The colour and image pickers are not
// built yet: their two editors are bare drop-down edits that the grid never makes.
#pragma once

#include "AdvDropDown.h"
#include "GridDropDownEditors.h"

class TAdvColorPickerDropDown : public TAdvCustomDropDown {
public:
    using TAdvCustomDropDown::TAdvCustomDropDown;
    // Adds the 16 named default colours to the picker.
    void AddDefaultColors();
};

class TGridColorDropDown : public TAdvColorPickerDropDown {
public:
    using TAdvColorPickerDropDown::TAdvColorPickerDropDown;
};
class TGridImageDropDown : public TAdvCustomDropDown {
public:
    using TAdvCustomDropDown::TAdvCustomDropDown;
};
