// Small controls that the grid and its panels put on screen: the flat speed button and the check
// box of the search panel, the arrow window shown while columns or rows are dragged and the window
// of the focus frame around the edited cell.
#pragma once

#include "ActnList.h"
#include "Buttons.h"
#include "Controls.h"
#include "ExtPanels.h"
#include "GridTypes.h"
#include "StdCtrls.h"

#include <vector>

class TPopupMenu;
class TAdvGridButton;

// Left or right of the caption (the class library's TLeftRight: taLeftJustify, taRightJustify).
using TLeftRight = TAlignment;

// ---------------------------------------------------------------------------------------------
// The flat speed button

// The button's action link: Caption, Checked (as Down) and GroupIndex follow the action.
class TAdvGridButtonActionLink : public TControlActionLink {
public:
    explicit TAdvGridButtonActionLink(TAdvGridButton* AClient);

    bool IsCheckedLinked() const override;
    bool IsGroupIndexLinked() const override;
    void SetChecked(bool Value) override;
    void SetGroupIndex(int Value) override;

protected:
    TAdvGridButton* FClient;
};

// An owner-drawn speed button (a graphic control) with flat looks in gradients, hot, down,
// checked and disabled states, button groups, a check style and a drop-down zone at its right.
class TAdvGridButton : public TGraphicControl {
public:
    explicit TAdvGridButton(TComponent* AOwner);
    ~TAdvGridButton() override;

    void Dispatch(TMessage& Message) override;

    TButtonState State() const { return FState; }
    bool MouseInControl() const { return FMouseInControl; }

    bool AllowAllUp() const { return FAllowAllUp; }
    void SetAllowAllUp(bool Value);
    bool AutoThemeAdapt() const { return FAutoThemeAdapt; }
    void SetAutoThemeAdapt(bool Value);
    bool AutoXPStyle() const { return FAutoXPStyle; }
    void SetAutoXPStyle(bool Value) { FAutoXPStyle = Value; }
    TColor BorderColor() const { return FBorderColor; }
    void SetBorderColor(TColor Value);
    TColor BorderDownColor() const { return FBorderDownColor; }
    void SetBorderDownColor(TColor Value) { FBorderDownColor = Value; }
    TColor BorderHotColor() const { return FBorderHotColor; }
    void SetBorderHotColor(TColor Value) { FBorderHotColor = Value; }
    TColor ColorTo() const { return FColorTo; }
    void SetColorTo(TColor Value);
    TColor ColorHot() const { return FColorHot; }
    void SetColorHot(TColor Value) { FColorHot = Value; }
    TColor ColorHotTo() const { return FColorHotTo; }
    void SetColorHotTo(TColor Value) { FColorHotTo = Value; }
    TColor ColorDown() const { return FColorDown; }
    void SetColorDown(TColor Value) { FColorDown = Value; }
    TColor ColorDownTo() const { return FColorDownTo; }
    void SetColorDownTo(TColor Value) { FColorDownTo = Value; }
    TColor ColorChecked() const { return FColorChecked; }
    void SetColorChecked(TColor Value);
    TColor ColorCheckedTo() const { return FColorCheckedTo; }
    void SetColorCheckedTo(TColor Value);
    bool Down() const { return FDown; }
    void SetDown(bool Value);
    bool DropDownButton() const { return FDropDownButton; }
    void SetDropDownButton(bool Value);
    TPopupMenu* DropDownMenu() const { return FDropDownMenu; }
    void SetDropDownMenu(TPopupMenu* Value);
    bool Flat() const { return FFlat; }
    void SetFlat(bool Value);
    // Setting the glyph makes GlyphDisabled from it (grey) while GlyphDisabled is empty.
    TBitmap* Glyph() const { return FGlyph; }
    void SetGlyph(TBitmap* Value);
    TBitmap* GlyphDisabled() const { return FGlyphDisabled; }
    void SetGlyphDisabled(TBitmap* Value) { FGlyphDisabled->Assign(Value); }
    TBitmap* GlyphDown() const { return FGlyphDown; }
    void SetGlyphDown(TBitmap* Value) { FGlyphDown->Assign(Value); }
    TBitmap* GlyphHot() const { return FGlyphHot; }
    void SetGlyphHot(TBitmap* Value) { FGlyphHot->Assign(Value); }
    // The glyph's silhouette in grey, drawn under the glyph of a hot shaded button.
    TBitmap* ShadeGlyph() const { return FShadeGlyph; }
    int GroupIndex() const { return FGroupIndex; }
    void SetGroupIndex(int Value);
    TButtonLayout Layout() const { return FLayout; }
    void SetLayout(TButtonLayout Value);
    // Presets 0 to 6 of the colours (and Flat); other values change nothing.
    int Look() const { return FLook; }
    void SetLook(int Value);
    // -1 centres the glyph and caption; values below -1 are ignored.
    int Margin() const { return FMargin; }
    void SetMargin(int Value);
    bool Rounded() const { return FRounded; }
    void SetRounded(bool Value);
    bool Shaded() const { return FShaded; }
    void SetShaded(bool Value);
    bool ShowCaption() const { return FShowCaption; }
    void SetShowCaption(bool Value);
    int Spacing() const { return FSpacing; }
    void SetSpacing(int Value);
    TAdvGridButtonStyle Style() const { return FStyle; }
    void SetStyle(TAdvGridButtonStyle Value);

    TNotifyEvent OnDropDown;

protected:
    void Paint() override;
    void Loaded() override;
    void Notification(TComponent* AComponent, TOperation Operation) override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    TControlActionLink* CreateActionLink() override;
    void ActionChange(TObject* Sender, bool CheckDefaults) override;

private:
    friend class TAdvGridButtonActionLink;
    void GlyphChanged(TObject* Sender);
    void BuildShadeGlyph();
    void ThemeAdapt();
    // Tells the other buttons of the parent that this one of its group changed.
    void UpdateExclusive();
    // Compares the control under the pointer with the button and sends itself mouse enter or
    // leave accordingly (flat, enabled buttons).
    void UpdateTracking();
    void PaintFace(TRect& R, bool Hot);
    void PaintContent(const TRect& R, bool Hot);

    void CMButtonPressed(TMessage& Message);
    void CMDialogChar(TCMDialogChar& Message);
    void CMEnabledChanged(TMessage& Message);
    void CMMouseEnter(TMessage& Message);
    void CMMouseLeave(TMessage& Message);
    void WMLButtonDblClk(TWMMouse& Message);

    bool FIsComCtl6;
    int FGroupIndex = 0;
    TBitmap* FGlyph;
    bool FDown = false;
    bool FDragging = false;
    bool FAllowAllUp = false;
    TButtonLayout FLayout = blGlyphLeft;
    int FSpacing = 4;
    int FMargin = -1;
    bool FFlat = true;
    bool FMouseInControl = false;
    TColor FColorTo = clNone;
    TColor FColorHot = 0xCAC7C7;
    TColor FColorHotTo = clNone;
    TColor FColorDown = 0xD8D3D2;
    TColor FColorDownTo = clNone;
    TColor FBorderColor = clNone;
    TColor FBorderDownColor = clNone;
    TColor FBorderHotColor = clNone;
    TBitmap* FGlyphDisabled;
    TBitmap* FGlyphHot;
    TBitmap* FGlyphDown;
    TBitmap* FShadeGlyph;
    bool FShaded = true;
    TColor FColorChecked = 0x808080;
    TColor FColorCheckedTo = clNone;
    TAdvGridButtonStyle FStyle = tasButton;
    int FLook = 0;
    bool FRounded = false;
    bool FDropDownButton = false;
    bool FAutoThemeAdapt = false;
    bool FAutoXPStyle = false;
    TPopupMenu* FDropDownMenu = nullptr;
    bool FShowCaption = true;
    TButtonState FState = bsUp;
};

// ---------------------------------------------------------------------------------------------
// The owner-drawn check box

class TAdvCheckBox : public TCustomControl {
public:
    explicit TAdvCheckBox(TComponent* AOwner);
    ~TAdvCheckBox() override;

    void Dispatch(TMessage& Message) override;
    void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;
    // Runs OnClick, except while the box toggles itself.
    void Click() override;
    // Checked := not Checked, unless ReadOnly.
    void Toggle();

    TLeftRight Alignment() const { return FAlignment; }
    void SetAlignment(TLeftRight Value);
    TTextLayout ButtonVertAlign() const { return FButtonVertAlign; }
    void SetButtonVertAlign(TTextLayout Value);
    String Caption() const { return TControl::Caption(); }
    void SetCaption(const String& Value);
    bool Checked() const { return FState == cbChecked; }
    void SetChecked(bool Value);
    bool Down() const { return FDown; }
    void SetDown(bool Value) { FDown = Value; }
    bool Ellipsis() const { return FEllipsis; }
    void SetEllipsis(bool Value);
    bool ReadOnly() const { return FReadOnly; }
    void SetReadOnly(bool Value) { FReadOnly = Value; }
    bool ReturnIsTab() const { return FReturnIsTab; }
    void SetReturnIsTab(bool Value) { FReturnIsTab = Value; }
    TCheckBoxState State() const { return FState; }
    void SetState(TCheckBoxState Value);
    bool Transparent() const { return FTransparent; }
    void SetTransparent(bool Value);
    // Kept for code that sets it: a transparent box leaves its background pixels see-through, so
    // there is no copy of the parent's painting to keep.
    bool TransparentChaching = false;
    bool Hot() const { return FHot; }
    bool IsFocused() const { return FFocused; }

protected:
    void Paint() override;
    void KeyDown(Word& Key, TShiftState Shift) override;
    void KeyUp(Word& Key, TShiftState Shift) override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void DoEnter() override;
    void DoExit() override;

private:
    void InvalidateBox();
    // The user's toggle: Toggle with the clicks held back, then one click.
    void ToggleAndClick();
    TRect CaptionRect() const;
    void CMDialogChar(TCMDialogChar& Message);
    void CMMouseEnter(TMessage& Message);
    void CMMouseLeave(TMessage& Message);
    void WMEraseBkgnd(TMessage& Message);

    bool FDown = false;
    TCheckBoxState FState = cbUnchecked;
    bool FFocused = false;
    bool FReturnIsTab = false;
    TTextLayout FButtonVertAlign = tlTop;
    TLeftRight FAlignment = taLeftJustify;
    bool FEllipsis = false;
    bool FIsWinXP;
    bool FHot = false;
    bool FClicksDisabled = false;
    bool FReadOnly = false;
    bool FMouseDown = false;
    bool FTransparent = false;
};

// ---------------------------------------------------------------------------------------------
// Popup windows

// The arrow shown while columns or rows are dragged: a small green popup shaped by seven points.
// arrUp points up and arrDown down; arrLeft has its tip at the right and arrRight at the left.
class TArrowWindow : public TPanel {
public:
    TArrowWindow(TComponent* AOwner, TArrowDirection Direction);

    TArrowDirection Dir() const { return FDir; }
    // The shape's points for a direction.
    static std::vector<TPoint> ArrowPoints(TArrowDirection Direction);

protected:
    void CreateParams(TCreateParams& Params) override;
    void CreateWnd() override;
    void Paint() override;

private:
    TArrowDirection FDir;
    std::vector<TPoint> FArrow;
};

// The window of the focus frame around the edited cell: a disabled, topmost tool window whose
// translucent picture the grid gives it.
class TGridFocusWindow : public TCustomControl {
public:
    explicit TGridFocusWindow(TComponent* AOwner);

protected:
    void CreateParams(TCreateParams& Params) override;
};
