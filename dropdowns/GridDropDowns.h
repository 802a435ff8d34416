// The grid's nine drop-down editors and the drop-down base they share. The grid holds one
// reference per kind and frees what it holds; it makes none of them yet, and a drop-down made
// here opens nothing: the drop-down editors' work replaces these bodies (GridDropDowns.cpp) and
// the grid's call sites stay as they are.
#pragma once

#include "Controls.h"

class TAdvCustomDropDown : public TWinControl {
public:
    explicit TAdvCustomDropDown(TComponent* AOwner) : TWinControl(AOwner) {}

    bool EditorEnabled() const { return FEditorEnabled; }
    void SetEditorEnabled(bool Value) { FEditorEnabled = Value; }
    // Opens the drop-down part.
    virtual void DropDown();

private:
    bool FEditorEnabled = true;
};

class TAdvColorPickerDropDown : public TAdvCustomDropDown {
public:
    using TAdvCustomDropDown::TAdvCustomDropDown;
    // Adds the 16 named default colours to the picker.
    void AddDefaultColors();
};

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
