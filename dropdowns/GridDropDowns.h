// The grid's nine drop-down editors. The grid holds one reference per kind and frees what it
// holds; it makes none of them yet. The colour editor is the colour picker already; each of the
// others is a drop-down edit (TAdvCustomDropDown) without a popup control of its own until the
// drop-down editors' work replaces these classes; the grid's call sites stay as they are.
#pragma once

#include "AdvColorPickerDropDown.h"
#include "AdvDropDown.h"

class TGridTrackbarDropDown : public TAdvCustomDropDown {
public:
    using TAdvCustomDropDown::TAdvCustomDropDown;
};
class TGridMemoDropDown : public TAdvCustomDropDown {
public:
    using TAdvCustomDropDown::TAdvCustomDropDown;
};
class TGridCalculatorDropDown : public TAdvCustomDropDown {
public:
    using TAdvCustomDropDown::TAdvCustomDropDown;
};
class TGridTimepickerDropDown : public TAdvCustomDropDown {
public:
    using TAdvCustomDropDown::TAdvCustomDropDown;
};
class TGridDetailPickerDropDown : public TAdvCustomDropDown {
public:
    using TAdvCustomDropDown::TAdvCustomDropDown;
};
class TGridGridDropDown : public TAdvCustomDropDown {
public:
    using TAdvCustomDropDown::TAdvCustomDropDown;
};
class TGridColorDropDown : public TAdvColorPickerDropDown {
public:
    using TAdvColorPickerDropDown::TAdvColorPickerDropDown;
};
class TGridImageDropDown : public TAdvCustomDropDown {
public:
    using TAdvCustomDropDown::TAdvCustomDropDown;
};
class TGridAdvGridDropDown : public TAdvCustomDropDown {
public:
    using TAdvCustomDropDown::TAdvCustomDropDown;
};
