// The calculator drop-down: a drop-down edit for floating-point numbers whose popup is a pocket
// calculator. The popup holds an owner-drawn keypad of 28 keys (TCustomButtonPanel); every key
// pressed there and every calculator key typed acts at once on the number the edit shows, so the
// edit is the calculator's display.
//
// The keypad draws its key faces as the platform's push buttons (themed when visual styles are
// active, the plain face otherwise) in four states: normal, hot, pressed and disabled. The key
// appearance (TButtonAppearance) keeps its colour sets for those who style it: they are stored,
// copied and styled, but the faces do not use them.
//
// The calculator's state is the display text T, the accumulator, the pending operator, the
// new-value flag (the next digit starts a new number), the decimal divisor of digit entry and
// the memory register. A display that is not a number ("-" alone, a pasted text) makes the
// operators, "=" and "%" raise the platform's conversion error, which the application reports;
// the state stays as it was.
#pragma once

#include "AdvDropDown.h"
#include "AdvItemSelector.h" // TItemLayout

class TCustomEdit;
class TCustomImageList;
class TPicture;
class TCustomButtonPanel;

enum TButtonPanelType { plCalculator, plCustom };

// Sender, the index of the key clicked.
using TCalculatorButtonClickEvent = TEvent<TObject*, int>;

// ---------------------------------------------------------------------------------------------
// Keys

class TButtonItem : public TCollectionItem {
public:
    explicit TButtonItem(TCollection* Collection);
    ~TButtonItem() override;

    const String& Caption() const { return FCaption; }
    void SetCaption(const String& Value) { FCaption = Value; }
    int ImageIndex() const { return FImageIndex; }
    void SetImageIndex(int Value) { FImageIndex = Value; }
    // A disabled key takes no hot or pressed state.
    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool Value) { FEnabled = Value; }
    // The key's own picture, drawn in preference to the panel's image list.
    TPicture* Image() const { return FImage; }
    void SetImage(TPicture* Value);
    // The action code the calculator reads.
    int Tag() const { return FTag; }
    void SetTag(int Value) { FTag = Value; }
    const String& Name() const { return FName; }
    void SetName(const String& Value) { FName = Value; }
    // Stored and copied; the faces draw the caption in the appearance's text colours.
    TColor CaptionColor() const { return FCaptionColor; }
    void SetCaptionColor(TColor Value) { FCaptionColor = Value; }
    // The caption is drawn in the appearance's SpecialTextColor instead of TextColor.
    bool Special() const { return FSpecial; }
    void SetSpecial(bool Value) { FSpecial = Value; }

    // The key's rectangle in panel client coordinates, as the layout placed it.
    int Left() const { return FLeft; }
    int Top() const { return FTop; }
    int Width() const { return FWidth; }
    int Height() const { return FHeight; }
    void SetRect(const TRect& R);
    TRect GetRect() const { return TRect(FLeft, FTop, FLeft + FWidth, FTop + FHeight); }

    // From another key: caption, caption colour, tag, image index, picture, enabled flag and
    // name (not the rectangle, not Special); any other source raises the assignment error.
    void Assign(TPersistent* Source) override;

private:
    String FCaption;
    int FImageIndex = -1;
    bool FEnabled = true;
    TPicture* FImage;
    int FTag = 0;
    int FHeight = 0, FLeft = 0, FWidth = 0, FTop = 0;
    String FName;
    TColor FCaptionColor = 0xFFFFFF;
    bool FSpecial = false;
};

// The keys of a panel. OnChange is kept for its users; the collection never fires it.
class TButtonItems : public TCollection {
public:
    explicit TButtonItems(TPersistent* AOwner);

    TButtonItem* Add() { return static_cast<TButtonItem*>(TCollection::Add()); }
    TButtonItem* Insert(int Index) { return static_cast<TButtonItem*>(TCollection::Insert(Index)); }
    TButtonItem* Items(int Index) const { return static_cast<TButtonItem*>(TCollection::Items(Index)); }
    void SetItem(int Index, TButtonItem* Value) { TCollection::SetItems(Index, Value); }
    TPersistent* GetOwner() override { return FMyOwner; }

    TNotifyEvent OnChange;

private:
    TPersistent* FMyOwner;
};

// ---------------------------------------------------------------------------------------------
// Key appearance

class TButtonAppearance : public TPersistent {
public:
    TButtonAppearance();
    ~TButtonAppearance() override;

    // From another key appearance: every colour, the font and the two text colours, each
    // through its setter; any other source raises the assignment error.
    void Assign(TPersistent* Source) override;

    // Each colour setter stores the value and raises OnChange when it differs.
#define VELMORA_KEY_COLOR(Name)                                                                              \
    TColor Name() const {                                                                                    \
        return F##Name;                                                                                      \
    }                                                                                                        \
    void Set##Name(TColor Value) {                                                                           \
        SetColorField(F##Name, Value);                                                                       \
    }
    VELMORA_KEY_COLOR(BorderColor)
    VELMORA_KEY_COLOR(BorderColorHot)
    VELMORA_KEY_COLOR(BorderColorDown)
    VELMORA_KEY_COLOR(BorderColorChecked)
    VELMORA_KEY_COLOR(Color)
    VELMORA_KEY_COLOR(ColorTo)
    VELMORA_KEY_COLOR(ColorDown)
    VELMORA_KEY_COLOR(ColorDownTo)
    VELMORA_KEY_COLOR(ColorHot)
    VELMORA_KEY_COLOR(ColorHotTo)
    VELMORA_KEY_COLOR(ColorCheckedTo)
    VELMORA_KEY_COLOR(ColorDisabled)
    VELMORA_KEY_COLOR(ColorDisabledTo)
    VELMORA_KEY_COLOR(ColorChecked)
    VELMORA_KEY_COLOR(TextColor)
    VELMORA_KEY_COLOR(SpecialTextColor)
#undef VELMORA_KEY_COLOR
    // Stored without notification.
    TColor ShineColor() const {
        return FShineColor;
    }
    void SetShineColor(TColor Value) {
        FShineColor = Value;
    }
    TColor GlowColorHot() const {
        return FGlowColorHot;
    }
    void SetGlowColorHot(TColor Value) {
        FGlowColorHot = Value;
    }
    TColor GlowColorDown() const {
        return FGlowColorDown;
    }
    void SetGlowColorDown(TColor Value) {
        FGlowColorDown = Value;
    }
    // Size 10, bold.
    TFont* Font() const {
        return FFont;
    }
    void SetFont(TFont* Value);

    TNotifyEvent OnChange;

private:
    void SetColorField(TColor& Field, TColor Value);

    TColor FBorderColor = 0x000000;
    TColor FBorderColorHot = 0x000000;
    TColor FBorderColorDown = 0x000000;
    TColor FBorderColorChecked = 0xFF0000;
    TColor FColor = 0x9A915F;
    TColor FColorTo = 0xB0A170;
    TColor FColorDown = 0x4B2F08;
    TColor FColorDownTo = 0xADB514;
    TColor FColorHot = 0x9F6F1C;
    TColor FColorHotTo = 0xD5C244;
    TColor FColorCheckedTo;
    TColor FColorDisabled;
    TColor FColorDisabledTo;
    TColor FColorChecked;
    TFont* FFont;
    TColor FShineColor = 0xFFFFFF;
    TColor FGlowColorHot = 0xD5C244;
    TColor FGlowColorDown = 0xD5C244;
    TColor FTextColor = 0x000000;
    TColor FSpecialTextColor = 0x000080;
};

// ---------------------------------------------------------------------------------------------
// The keypad

class TCustomButtonPanel : public TCustomControl {
public:
    explicit TCustomButtonPanel(TComponent* AOwner);
    ~TCustomButtonPanel() override;

    TButtonItems* Buttons() const { return FButtons; }
    void SetButtons(TButtonItems* Value) { FButtons->Assign(Value); }
    // Arrangement of picture and caption inside a key (only stored: the next paint uses it).
    TItemLayout ButtonLayout() const { return FButtonLayout; }
    void SetButtonLayout(TItemLayout Value) { FButtonLayout = Value; }
    TSelectionColorStyle ItemColorStyle() const { return FItemColorStyle; }
    void SetItemColorStyle(TSelectionColorStyle Value) { FItemColorStyle = Value; }
    TCustomImageList* Images() const { return FImages; }
    // Re-runs the layout.
    void SetImages(TCustomImageList* Value);
    TCustomEdit* Edit() const { return FEdit; }
    void SetEdit(TCustomEdit* Value);
    TButtonPanelType ButtonPanelType() const { return FButtonPanelType; }
    // Re-runs the layout.
    void SetButtonPanelType(TButtonPanelType Value);
    TButtonAppearance* ButtonAppearance() const { return FButtonAppearance; }
    void SetButtonAppearance(TButtonAppearance* Value) { FButtonAppearance->Assign(Value); }
    // The drop-down that hosts the panel in its popup (nullptr: a panel on its own, framed in
    // black and repainted when its appearance changes).
    TAdvCustomDropDown* AdvDropDown() const { return FAdvDropDown; }
    void SetAdvDropDown(TAdvCustomDropDown* Value) { FAdvDropDown = Value; }
    // The key under the mouse and the key held down (-1: none).
    int ButtonHot() const { return FButtonHot; }
    int ButtonDown() const { return FButtonDown; }

    // The key's rectangle, or (-1, -1, -1, -1) for an index outside the collection.
    TRect GetButtonRect(int Index) const;
    // The first key in collection order whose rectangle holds the point (right and bottom
    // edges excluded), else -1: a point on the line two keys share belongs to the earlier one.
    int ButtonAt(int X, int Y) const;

    TCalculatorButtonClickEvent OnButtonClick;

    // ---- The slots, in their order ----
    virtual void DrawButton(int Index, TCanvas* ACanvas);
    // The client rectangle inset by the margins.
    virtual void GetButtonsRect(TRect& R);
    // The size that fits the largest caption and the largest picture of all keys.
    virtual void GetButtonSize(TSize& Size);
    virtual void ClearButtons();
    virtual void ResetButtons();
    // Adds the 28 calculator keys to an empty calculator panel, then lays the keys out.
    virtual void CreateButtons();
    // Places every key of a calculator panel; custom keys keep their rectangles.
    virtual void ArrangeButtons();
    // The key's rectangle grown by 8 pixels on every side, with background erase.
    virtual void InvalidateButton(int Index);
    virtual void ButtonClick(int Index);

    void Dispatch(TMessage& Message) override;

protected:
    void Loaded() override;
    void Notification(TComponent* AComponent, TOperation Operation) override;
    void Paint() override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    // Nothing when Index is the current key or a disabled one; else the previous key leaves the
    // state (and is invalidated) and the new one is drawn at once.
    void SetButtonHot(int Index);
    void SetButtonDown(int Index);

    int FOffSetX = 8, FOffSetY = 8;
    int FButtonOffSetX = 4, FButtonOffSetY = 4;
    int FCaptionGap = 0;

private:
    bool KeyEnabled(int Index) const;
    // Takes the state from the previous key and draws the new one.
    void MoveState(int& State, int Index);
    void AppearanceChanged(TObject* Sender);

    TButtonItems* FButtons;
    TItemLayout FButtonLayout = ilCaptionRight;
    TSelectionColorStyle FItemColorStyle = scCustom;
    int FButtonHot = -1;
    TCustomImageList* FImages = nullptr;
    TCustomEdit* FEdit = nullptr;
    TButtonPanelType FButtonPanelType = plCalculator;
    TButtonAppearance* FButtonAppearance;
    int FButtonDown = -1;
    TAdvCustomDropDown* FAdvDropDown = nullptr;
};

// ---------------------------------------------------------------------------------------------
// The calculator drop-down

class TAdvCalculatorDropdown : public TAdvCustomDropDown {
public:
    explicit TAdvCalculatorDropdown(TComponent* AOwner);
    ~TAdvCalculatorDropdown() override;

    // Handed to the keypad at every drop-down.
    TButtonAppearance* CalcButtonAppearance() const { return FCalcButtonAppearance; }
    void SetCalcButtonAppearance(TButtonAppearance* Value) { FCalcButtonAppearance->Assign(Value); }
    bool ShowThousandSeparator() const { return FShowThousandSeparator; }
    // Switches between etMoney (on) and etFloat (off) and shows the number again.
    void SetShowThousandSeparator(bool Value);
    // The number shown: an empty display first becomes "0"; a text that does not convert
    // reads as 0. Writing shows the number in its general form through the text writer.
    double Value();
    void SetValue(double Value);
    // "=": applies the pending operator.
    void CalcResult() { DoEquals(); }
    // The keypad (nullptr until the popup form is made).
    TCustomButtonPanel* ButtonPanel() const { return FAdvButtonPanel; }

    void SetComponentStyle(TKitStyle AStyle) override;
    void Dispatch(TMessage& Message) override;

protected:
    void CreateDropDownForm() override;
    void DoBeforeDropDown() override;
    void DropDownFormKeyPress(TObject* Sender, Char& Key) override;
    void DropDownFormKeyDown(TObject* Sender, Word& Key, TShiftState Shift) override;
    // Runs at the start of every key action and every key typed on the popup.
    virtual void BeforeCalc() {}

    // The calculator's steps.
    void DoCalc();
    void DoEquals();
    void DoPercent();
    // The action of a keypad key of the given tag.
    void KeyAction(int Tag);

private:
    void ButtonClick(TObject* Sender, int Index);
    // The calculator keys the edit takes before its number filter; Key 0: swallowed.
    void CalculatorKeyPress(Char& Key);
    // The display without thousand separators, converted; raises the conversion error.
    double DisplayNumber() const;
    void Operator(int Op);
    // Copies the drop button's look into CalcButtonAppearance.
    void StyleCalcButtonAppearance(TKitStyle AStyle);

    TCustomButtonPanel* FAdvButtonPanel = nullptr;
    int FDecim = 0;
    bool FNewval = false;
    double FPrevval = 0;
    int FPrevop = -1;
    bool FCalcClosed = true;
    TButtonAppearance* FCalcButtonAppearance;
    double FMVal = 0;
    bool FShowThousandSeparator = false;
    // A character the popup forwards to the edit skips the popup-closed operator keys.
    bool FFromPopup = false;
};
