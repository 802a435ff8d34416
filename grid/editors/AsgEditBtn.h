// The edit with a small button at its right end, and the edit of a value followed by a unit
// chosen from a popup menu: the bases of the grid's edit-button and value-plus-unit editors.
#pragma once

#include "Buttons.h"
#include "Mask.h"

class TAsgEditButton;

// The painted face of the edit's button, in the colours of its holder (a TAsgEditButton): a
// colour fill, the themed push button, a flat edge or the system push button, then the glyph
// and a black caption.
class TAdvSpeedButton : public TSpeedButton {
public:
    explicit TAdvSpeedButton(TComponent* AOwner) : TSpeedButton(AOwner) {}

    void Dispatch(TMessage& Message) override;

    bool IsWinXP() const { return FIsWinXP; }
    void SetIsWinXP(bool Value);
    // The mouse is over the button.
    bool Hot() const { return FHot; }

protected:
    void Paint() override;

private:
    bool FIsWinXP = false;
    bool FHot = false;
};

// A window holding the button (which fills it). A left click on the button fires OnClick and
// gives the focus to FocusControl (or the holder).
class TAsgEditButton : public TWinControl {
public:
    explicit TAsgEditButton(TComponent* AOwner);

    void Dispatch(TMessage& Message) override;
    void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;

    TAdvSpeedButton* Button() const { return FButton; }
    TWinControl* FocusControl() const { return FFocusControl; }
    void SetFocusControl(TWinControl* Value);
    bool Flat() const { return FFlat; }
    void SetFlat(bool Value);
    TBitmap* Glyph() const { return FButton->Glyph(); }
    void SetGlyph(TBitmap* Value) { FButton->SetGlyph(Value); }
    int NumGlyphs() const { return FButton->NumGlyphs(); }
    void SetNumGlyphs(int Value) { FButton->SetNumGlyphs(Value); }
    String ButtonCaption() const { return FButton->Caption(); }
    void SetButtonCaption(const String& Value) { FButton->SetText(Value); }

    TColor ButtonColorDown = clNone;
    TColor ButtonBorderColor = clNone;
    TColor ButtonTextColor = clNone;
    TColor ButtonTextColorHot = clNone;
    TColor ButtonColor = clNone;
    TColor ButtonColorHot = clNone;
    TColor ButtonTextColorDown = clNone;

    TNotifyEvent OnClick;

protected:
    void Loaded() override;
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    void BtnMouseUp(TMouseButton Button);
    void LayoutButton();

    TAdvSpeedButton* FButton;
    TWinControl* FFocusControl = nullptr;
    bool FFlat = false;
};

// The edit with the button. F4 (without Ctrl or Alt) acts as a click on the button.
class TAsgEditBtn : public TCustomMaskEdit {
public:
    explicit TAsgEditBtn(TComponent* AOwner);
    ~TAsgEditBtn() override;

    void Dispatch(TMessage& Message) override;

    TAsgEditButton* Button() const { return FButton; }
    bool RightAlign() const { return FRightAlign; }
    void SetRightAlign(bool Value);
    bool EditorEnabled() const { return FEditorEnabled; }
    void SetEditorEnabled(bool Value) { FEditorEnabled = Value; }
    int ButtonWidth() const { return FButtonWidth; }
    void SetButtonWidth(int Value);
    bool IsWinXP() const { return FIsWinXP; }
    void SetIsWinXP(bool Value);
    String ButtonCaption() const { return FButton->ButtonCaption(); }
    void SetButtonCaption(const String& Value) { FButton->SetButtonCaption(Value); }
    TBitmap* Glyph() const { return FButton->Glyph(); }
    void SetGlyph(TBitmap* Value) { FButton->SetGlyph(Value); }

    // The smallest height the edit keeps.
    int MinHeight();

    // The button was clicked (Sender: the holder) or F4 pressed (Sender: the edit).
    TNotifyEvent OnClickBtn;

    virtual void ClickButton(TObject* Sender);

protected:
    void CreateParams(TCreateParams& Params) override;
    void CreateWnd() override;
    void KeyDown(Word& Key, TShiftState Shift) override;
    void DoEnter() override;
    // The formatting rectangle of the text, clear of the button and the unit.
    void SetEditRect();

    int FUnitSize = 0;
    bool FRightAlign = false;

private:
    void WMSize(TWMSize& Message);

    TAsgEditButton* FButton;
    bool FEditorEnabled = true;
    int FButtonWidth = 0;
    bool FIsWinXP = false;
};

class TUnitLabel;

// The value-plus-unit edit: the text is the value, UnitID the unit shown between it and the
// button, chosen from Units by a popup menu on the button.
class TAsgUnitEditBtn : public TAsgEditBtn {
public:
    using TUnitChangedEvent = TEvent<TObject*, const String&>;

    explicit TAsgUnitEditBtn(TComponent* AOwner);
    ~TAsgUnitEditBtn() override;

    void Dispatch(TMessage& Message) override;

    String UnitID() const { return FUnitID; }
    void SetUnitID(const String& Value);
    TStringList* Units() const { return FUnits; }
    // Copies Value (nullptr is ignored).
    void SetUnits(TStrings* Value);
    int UnitSpace() const { return FUnitSize; }
    void SetUnitSpace(int Value);
    // The text followed by the unit. Writing splits a value at the first unit of Units, in
    // list order, whose first occurrence ends the value; with none, text and unit stay.
    String TextAndUnit() const { return Text() + FUnitID; }
    void SetTextAndUnit(const String& Value);

    TUnitChangedEvent OnUnitChanged;

    void ClickButton(TObject* Sender) override;

private:
    void WMCommand(TWMCommand& Message);
    void PlaceUnitLabel();

    String FUnitID;
    TStringList* FUnits;
    TUnitLabel* FUnitLabel;
};
