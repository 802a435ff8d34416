// The strips above and below a drop-down's popup and the buttons in them: TAdvHeader and
// TAdvFooter show the drop-down's DropDownHeader / DropDownFooter (a gradient, a border, an
// image and a markup caption) and place one TAdvButton per item of its button collection; the
// footer also shows a size grip by which the user resizes the popup. TAdvButtonAppearance is
// the colour set of those buttons (one per drop-down, shared by all its buttons), TDbgList the
// index-checking list in which a strip keeps its buttons.
//
// The popup form makes the strips when their appearance is visible and reconnects them each
// time it shows: SetAdvDropDown copies the drop-down's appearance and images into the strip and
// UpdateButtons makes the buttons anew.
#pragma once

#include "Controls.h"
#include "GridTypes.h" // TAdvGridButtonStyle
#include "PopupAppearance.h"

#include <utility>

class TAdvCustomDropDown;
class TCustomImageList;
class TTimer;

// Events of the drop-down that the strips raise or hand on.
using TDrawBackGroundEvent = TEvent<TObject* /*Sender*/, TCanvas* /*ACanvas*/, TRect /*ARect*/>;
using TGetTextEvent = TEvent<TObject* /*Sender*/, String& /*Text*/>;
using TDropDownButtonItemClick = TEvent<TObject* /*Sender*/, int /*ButtonIndex*/>;

// ---------------------------------------------------------------------------------------------
// Button colours

// Every colour setter and the Gradient setter store a changed value and fire OnChange; the Font
// setter copies the font and fires nothing. The ...To colours of the hot, down and checked
// states are kept but no state paints with them.
class TAdvButtonAppearance : public TPersistent {
public:
    TAdvButtonAppearance();
    ~TAdvButtonAppearance() override;

    // From another TAdvButtonAppearance every colour and the gradient (not the font), each
    // through its setter; any other source raises the conversion error.
    void Assign(TPersistent* Source) override;

    TColor BorderColor() const { return FBorderColor; }
    void SetBorderColor(TColor Value) { SetColorField(FBorderColor, Value); }
    TColor BorderColorHot() const { return FBorderColorHot; }
    void SetBorderColorHot(TColor Value) { SetColorField(FBorderColorHot, Value); }
    TColor BorderColorDown() const { return FBorderColorDown; }
    void SetBorderColorDown(TColor Value) { SetColorField(FBorderColorDown, Value); }
    TColor BorderColorDisabled() const { return FBorderColorDisabled; }
    void SetBorderColorDisabled(TColor Value) { SetColorField(FBorderColorDisabled, Value); }
    TColor BorderColorChecked() const { return FBorderColorChecked; }
    void SetBorderColorChecked(TColor Value) { SetColorField(FBorderColorChecked, Value); }
    TColor Color() const { return FColor; }
    void SetColor(TColor Value) { SetColorField(FColor, Value); }
    TColor ColorTo() const { return FColorTo; }
    void SetColorTo(TColor Value) { SetColorField(FColorTo, Value); }
    TColor ColorDown() const { return FColorDown; }
    void SetColorDown(TColor Value) { SetColorField(FColorDown, Value); }
    TColor ColorDownTo() const { return FColorDownTo; }
    void SetColorDownTo(TColor Value) { SetColorField(FColorDownTo, Value); }
    TColor ColorHot() const { return FColorHot; }
    void SetColorHot(TColor Value) { SetColorField(FColorHot, Value); }
    TColor ColorHotTo() const { return FColorHotTo; }
    void SetColorHotTo(TColor Value) { SetColorField(FColorHotTo, Value); }
    TColor ColorCheckedTo() const { return FColorCheckedTo; }
    void SetColorCheckedTo(TColor Value) { SetColorField(FColorCheckedTo, Value); }
    TColor ColorDisabled() const { return FColorDisabled; }
    void SetColorDisabled(TColor Value) { SetColorField(FColorDisabled, Value); }
    TColor ColorDisabledTo() const { return FColorDisabledTo; }
    void SetColorDisabledTo(TColor Value) { SetColorField(FColorDisabledTo, Value); }
    TColor ColorChecked() const { return FColorChecked; }
    void SetColorChecked(TColor Value) { SetColorField(FColorChecked, Value); }
    TGradientDirection Gradient() const { return FGradient; }
    void SetGradient(TGradientDirection Value);
    TFont* Font() const { return FFont; }
    void SetFont(TFont* Value) { FFont->Assign(Value); }

    TNotifyEvent OnChange;

private:
    void SetColorField(TColor& Field, TColor Value);
    void Changed();

    TColor FBorderColor = clNone;
    TColor FBorderColorHot = 0x808080;
    TColor FBorderColorDown = 0x800000;
    TColor FBorderColorDisabled = 0x808080;
    TColor FBorderColorChecked = 0xFF0000;
    TColor FColor = clNone;
    TColor FColorTo = clNone;
    TColor FColorDown = 0xF5D8CA;
    TColor FColorDownTo = 0xF9BDA0;
    TColor FColorHot = 0xF5F0E1;
    TColor FColorHotTo = 0xF9D2B2;
    TColor FColorCheckedTo;
    TColor FColorDisabled = 0xF2F2F2;
    TColor FColorDisabledTo = clNone;
    TColor FColorChecked;
    TGradientDirection FGradient = gdVertical;
    TFont* FFont;
};

// ---------------------------------------------------------------------------------------------
// The strip button

// tasCheck toggles Down on every click: the grid's button styles, the same two values.
using TAdvButtonStyle = TAdvGridButtonStyle;
enum TAdvButtonState { absUp, absDisabled, absDown, absDropDown, absExclusive };

// A small owner-drawn button. Down latches it (in a group, or always with tasCheck); a click
// hands ModalResult to the topmost form and, for a footer button, closes the popup by it before
// OnClick runs. Enter and Space click it without OnClick. While the pointer is over it a 1 ms
// timer watches for the pointer leaving without a leave message.
class TAdvButton : public TCustomControl {
public:
    explicit TAdvButton(TComponent* AOwner);
    ~TAdvButton() override;

    void Dispatch(TMessage& Message) override;
    void Click() override;
    // Paints the face, the border, the image and the caption; nothing without an appearance.
    virtual void DrawButton(TCanvas* ACanvas);

    bool Down() const { return FDown; }
    void SetDown(bool Value);
    int GroupIndex() const { return FGroupIndex; }
    void SetGroupIndex(int Value) { FGroupIndex = Value; }
    bool AllowAllUp() const { return FAllowAllUp; }
    void SetAllowAllUp(bool Value) { FAllowAllUp = Value; }
    TAdvButtonStyle Style() const { return FStyle; }
    void SetStyle(TAdvButtonStyle Value) { FStyle = Value; }
    TAdvButtonState State() const { return FState; }
    bool MouseInControl() const { return FMouseInControl; }
    TAdvButtonAppearance* Appearance() const { return FAppearance; }
    void SetAppearance(TAdvButtonAppearance* Value);
    TCustomImageList* Images() const { return FImages; }
    void SetImages(TCustomImageList* List);
    int ImageIndex() const { return FImageIndex; }
    void SetImageIndex(int Value);
    TModalResult ModalResult() const { return FModalResult; }
    void SetModalResult(TModalResult Value) { FModalResult = Value; }
    TAdvCustomDropDown* AdvDropDown() const { return FAdvDropDown; }
    void SetAdvDropDown(TAdvCustomDropDown* DropDown);
    // The timer that notices the pointer leaving (tests run its ticks).
    TTimer* UnHotTimer() const { return FUnHotTimer; }

    // Height and width from the caption (and the image): 4 and 8 pixels more than the content.
    void SizeToContent();

protected:
    void Paint() override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void Loaded() override;
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    void UnHotTimerTick(TObject* Sender);
    void CheckHover();
    void NotifyGroup();
    bool Inside(int X, int Y) const;
    void CMMouseEnter(TMessage& Message);
    void CMMouseLeave(TMessage& Message);
    void CMButtonPressed(TMessage& Message);
    // Clicks on the caption's accelerator; false to hand the message on.
    bool CMDialogChar(TCMDialogChar& Message);
    void WMKeyDown(TWMKey& Message);

    int FGroupIndex = 0;
    bool FDown = false;
    bool FAllowAllUp = false;
    bool FMouseInControl = false;
    TAdvButtonStyle FStyle = tasButton;
    TAdvButtonState FState = absUp;
    bool FMouseDownInControl = false;
    bool FDragging = false;
    TTimer* FUnHotTimer;
    bool FInitialDown = false;
    bool FInternalClick = false;
    TAdvButtonAppearance* FAppearance = nullptr;
    TCustomImageList* FImages = nullptr;
    int FImageIndex = -1;
    TModalResult FModalResult = mrNone;
    TAdvCustomDropDown* FAdvDropDown = nullptr;
};

// ---------------------------------------------------------------------------------------------
// The button list

// A pointer list whose accessors check the index against Count.
class TDbgList : public TList {
public:
    // Raises Exception "Index out of bounds in list read access" for an index at or beyond Count.
    void* GetItemsEx(int Index) const;
    // Raises Exception "Index out of bounds in list write access" for an index at or beyond Count.
    void SetItemsEx(int Index, void* Value);
    // Clears the list and appends the items of ListA.
    void AssignList(TList* ListA);
};

// ---------------------------------------------------------------------------------------------
// The strips

// What header and footer share. TAppearance is THeaderAppearance or TFooterAppearance.
template <class TAppearance> class TAdvPopupStrip : public TCustomControl {
public:
    ~TAdvPopupStrip() override;

    TAppearance* Appearance() const { return FAppearance; }
    void SetAppearance(TAppearance* Value) { FAppearance->Assign(Value); }
    TCustomImageList* Images() const { return FImages; }
    void SetImages(TCustomImageList* Value);
    TAdvCustomDropDown* AdvDropDown() const { return FAdvDropDown; }
    // Connects the strip: the drop-down's images and a copy of its header (footer) appearance;
    // nil disconnects it and takes the images away.
    void SetAdvDropDown(TAdvCustomDropDown* DropDown);
    // The drop-down's button collection; nil without a drop-down.
    auto Buttons() const -> decltype(std::declval<TAppearance>().Buttons());
    // The strip's button controls, in the order of the collection's items.
    TDbgList* ButtonList() const { return FButtonList; }

    // Makes the buttons anew when a drop-down is connected.
    void UpdateButtons();
    virtual void BuildButtons();
    virtual void ClearButtons();
    virtual void ArrangeButtons();
    virtual void RefreshButtons();

    // Where the buttons go: the client area less the border gap (and the size grip).
    virtual TRect GetButtonArea() const = 0;
    // The caption's area when buttons are shown ((-1, -1, -1, -1) without buttons): the button
    // area up to 2 pixels left of the last button.
    TRect GetCaptionRect() const;

    // Paints the background instead of everything the strip would paint.
    TDrawBackGroundEvent OnDrawBackGround;
    // May replace the caption at each paint.
    TGetTextEvent OnGetText;

    void Dispatch(TMessage& Message) override;

protected:
    explicit TAdvPopupStrip(TComponent* AOwner);
    void Paint() override;
    void Notification(TComponent* AComponent, TOperation Operation) override;
    // Hands a button click to the drop-down's header (footer) button event.
    void ButtonClick(TObject* Sender);
    // Visible and Height follow the own appearance.
    void AppearanceChanged(TObject* Sender);

    // What the kinds differ in.
    virtual bool IsFooter() const = 0;
    virtual bool SizeGripShown() const { return false; }
    virtual void DrawSizeGrip(const TRect& R) { (void)R; }

    TAppearance* FAppearance;
    TCustomImageList* FImages = nullptr;
    TAdvCustomDropDown* FAdvDropDown = nullptr;
    TDbgList* FButtonList;
};

class TAdvHeader : public TAdvPopupStrip<THeaderAppearance> {
public:
    explicit TAdvHeader(TComponent* AOwner);
    // Inset by 2 pixels on the left, top and right and 3 at the bottom.
    TRect GetButtonArea() const override;

protected:
    bool IsFooter() const override { return false; }
};

// The footer adds the size grip at its right end: shown while its appearance asks for one and
// the connected drop-down is sizeable; a left press in the grip's zone sizes the popup form
// from its bottom-right corner.
class TAdvFooter : public TAdvPopupStrip<TFooterAppearance> {
public:
    explicit TAdvFooter(TComponent* AOwner);
    // Inset by 2 pixels on every side, and 12 more on the right while the size grip shows.
    TRect GetButtonArea() const override;
    bool SizeGripVisible() const;
    // The grip's zone: X > Width - 12 and Y > Height - 15.
    bool InSizeGrip(int X, int Y) const;

    void Dispatch(TMessage& Message) override;

protected:
    bool IsFooter() const override { return true; }
    bool SizeGripShown() const override { return SizeGripVisible(); }
    void DrawSizeGrip(const TRect& R) override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;

private:
    void RestoreCursor();

    TCursor FOldCursor = crDefault;
};

extern template class TAdvPopupStrip<THeaderAppearance>;
extern template class TAdvPopupStrip<TFooterAppearance>;
