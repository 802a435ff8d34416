// The grid's nine drop-down editors and the drop-down base they share. The grid holds one
// reference per kind and frees what it holds; it makes none of them yet, and a drop-down made
// here opens nothing: the drop-down editors' work replaces these bodies (GridDropDowns.cpp) and
// the grid's call sites stay as they are.
#pragma once

#include "AdvDropDownStrips.h"
#include "Controls.h"

class TCustomImageList;

class TAdvCustomDropDown : public TWinControl {
public:
    explicit TAdvCustomDropDown(TComponent* AOwner);
    ~TAdvCustomDropDown() override;

    bool EditorEnabled() const { return FEditorEnabled; }
    void SetEditorEnabled(bool Value) { FEditorEnabled = Value; }
    // Opens the drop-down part.
    virtual void DropDown();

    // What the popup's header and footer strips read: the images, the strips' looks and
    // buttons, the buttons' colours and the popup frame. The writers of the looks copy.
    TCustomImageList* Images() const { return FImages; }
    void SetImages(TCustomImageList* Value);
    THeaderAppearance* DropDownHeader() const { return FDropDownHeader; }
    void SetDropDownHeader(THeaderAppearance* Value) { FDropDownHeader->Assign(Value); }
    TFooterAppearance* DropDownFooter() const { return FDropDownFooter; }
    void SetDropDownFooter(TFooterAppearance* Value) { FDropDownFooter->Assign(Value); }
    TAdvButtonAppearance* ButtonAppearance() const { return FButtonAppearance; }
    void SetButtonAppearance(TAdvButtonAppearance* Value) { FButtonAppearance->Assign(Value); }
    int DropDownBorderWidth() const { return FDropDownBorderWidth; }
    void SetDropDownBorderWidth(int Value) { FDropDownBorderWidth = Value; }
    TColor DropDownBorderColor() const { return FDropDownBorderColor; }
    void SetDropDownBorderColor(TColor Value) { FDropDownBorderColor = Value; }
    bool DropDownSizeable() const { return FDropDownSizeable; }
    void SetDropDownSizeable(bool Value) { FDropDownSizeable = Value; }
    // Closes the popup, restoring the text from before it opened when CancelChanges is set.
    virtual void DoHideDropDown(bool CancelChanges);

    // Clicks on the header's and the footer's buttons (Sender: the drop-down).
    TDropDownButtonItemClick OnDropDownHeaderButtonClick;
    TDropDownButtonItemClick OnDropDownFooterButtonClick;

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    bool FEditorEnabled = true;
    TCustomImageList* FImages = nullptr;
    int FDropDownBorderWidth = 1;
    TColor FDropDownBorderColor = clBlack;
    THeaderAppearance* FDropDownHeader;
    TAdvButtonAppearance* FButtonAppearance;
    TFooterAppearance* FDropDownFooter;
    bool FDropDownSizeable = true;
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
