// The spin edit: a numeric, date or time edit with a pair of spin buttons at its right, the base
// of the grid's spin cell editor. TAsgSpinEdit keeps its value as text and steps it (dates and
// times by the part of the text the caret is in); TAsgSpinButton is the two-button control inside
// it; TAdvTimerSpeedButton repeats its click while held (first after 400 ms, then every 100 ms).
#pragma once

#include "Buttons.h"
#include "ExtCtrls.h"
#include "Mask.h"
#include "SysUtils.h"

#include <set>

enum TAsgSpinType { sptNormal, sptFloat, sptDate, sptTime };
enum TSpinDirection { spVertical, spHorizontal };
enum TEditAlign { eaLeft, eaRight, eaCenter };
enum TButtonDirection { bdLeft, bdRight, bdUp, bdDown };
enum TTimeBtnStateItem { tbFocusRect, tbAllowTimer };
using TTimeBtnState = TEnumSet<TTimeBtnStateItem>;

class TAsgSpinButton;

// One button of the spin pair. Held down with tbAllowTimer it clicks again after 400 ms and then
// every 100 ms while it keeps the mouse capture and stays pressed; the release over it clicks
// once more as any speed button does. It paints with the colours of its owner, a TAsgSpinButton:
// a colour fill with a black triangle, the themed spin part, or the system arrows and glyphs.
class TAdvTimerSpeedButton : public TSpeedButton {
public:
    explicit TAdvTimerSpeedButton(TComponent* AOwner);
    ~TAdvTimerSpeedButton() override;

    void Dispatch(TMessage& Message) override;

    const TTimeBtnState& TimeBtnState() const { return FTimeBtnState; }
    void SetTimeBtnState(const TTimeBtnState& Value) { FTimeBtnState = Value; }
    TButtonDirection ButtonDirection() const { return FButtonDirection; }
    void SetButtonDirection(TButtonDirection Value) { FButtonDirection = Value; }
    bool IsWinXP() const { return FIsWinXP; }
    void SetIsWinXP(bool Value);
    bool HasMouse() const { return FHasMouse; }
    // The repeat timer: nullptr until the first press.
    TTimer* RepeatTimer() const { return FRepeatTimer; }

protected:
    void Paint() override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;

private:
    void TimerExpired(TObject* Sender);

    TTimer* FRepeatTimer = nullptr;
    TTimeBtnState FTimeBtnState;
    TButtonDirection FButtonDirection = bdUp;
    bool FIsWinXP = false;
    bool FHasMouse = false;
};

// The up and down buttons, one above the other (vertical) or side by side (horizontal). The
// painting reads ButtonColor, ButtonColorHot and ButtonColorDown; the other colours are kept.
class TAsgSpinButton : public TWinControl {
public:
    explicit TAsgSpinButton(TComponent* AOwner);

    void Dispatch(TMessage& Message) override;
    void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;

    TAdvTimerSpeedButton* UpButton() const { return FUpButton; }
    TAdvTimerSpeedButton* DownButton() const { return FDownButton; }
    // The button that carries the focus mark.
    TAdvTimerSpeedButton* FocusedButton() const { return FFocusedButton; }

    TSpinDirection Direction() const { return FDirection; }
    void SetDirection(TSpinDirection Value);
    TWinControl* FocusControl() const { return FFocusControl; }
    void SetFocusControl(TWinControl* Value);
    bool IsWinXP() const { return FIsWinXP; }
    void SetIsWinXP(bool Value);

    // A glyph set to nullptr is the default arrow.
    TBitmap* UpGlyph() const { return FUpButton->Glyph(); }
    void SetUpGlyph(TBitmap* Value);
    int UpNumGlyphs() const { return FUpButton->NumGlyphs(); }
    void SetUpNumGlyphs(int Value) { FUpButton->SetNumGlyphs(Value); }
    TBitmap* DownGlyph() const { return FDownButton->Glyph(); }
    void SetDownGlyph(TBitmap* Value);
    int DownNumGlyphs() const { return FDownButton->NumGlyphs(); }
    void SetDownNumGlyphs(int Value) { FDownButton->SetNumGlyphs(Value); }

    TColor ButtonColorDown = clNone;
    TColor ButtonBorderColor = 0;
    TColor ButtonTextColor = clNone;
    TColor ButtonTextColorHot = clNone;
    TColor ButtonColor = clNone;
    TColor ButtonColorHot = clNone;
    TColor ButtonTextColorDown = clNone;

    TNotifyEvent OnUpClick;
    TNotifyEvent OnDownClick;

protected:
    void Loaded() override;
    void KeyDown(Word& Key, TShiftState Shift) override;
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    TAdvTimerSpeedButton* CreateButton();
    void BtnClick(TObject* Sender);
    void BtnMouseDown(TObject* Sender, TMouseButton Button);
    void SetFocusBtn(TAdvTimerSpeedButton* Btn);
    // Places the two buttons in a W x H spin button (W raised to its minimum).
    void AdjustSize(int& W, int& H);

    TAdvTimerSpeedButton* FUpButton;
    TAdvTimerSpeedButton* FDownButton;
    TAdvTimerSpeedButton* FFocusedButton;
    TWinControl* FFocusControl = nullptr;
    TSpinDirection FDirection = spVertical;
    bool FIsWinXP = false;
};

// The spin edit. The text is the value: reading a text that does not parse never raises (an
// integer or float reads MinValue, a date MinDateValue, a time 0). Writing clamps to the limits
// of the type (equal limits: none) and shows the type's text. Up, Down, PageUp and PageDown and
// the spin buttons step; a date or time step that cannot be encoded raises EConvertError and
// leaves value and text as they were.
class TAsgSpinEdit : public TCustomMaskEdit {
public:
    explicit TAsgSpinEdit(TComponent* AOwner);
    ~TAsgSpinEdit() override;

    void Dispatch(TMessage& Message) override;

    TAsgSpinButton* Button() const { return FButton; }

    int Value() const;
    void SetValue(int Value);
    double FloatValue() const;
    void SetFloatValue(double Value);
    TDateTime DateValue() const;
    void SetDateValue(TDateTime Value);
    TDateTime TimeValue() const;
    void SetTimeValue(TDateTime Value);

    int MinValue() const { return FMinValue; }
    void SetMinValue(int Value) { FMinValue = Value; }
    int MaxValue() const { return FMaxValue; }
    void SetMaxValue(int Value) { FMaxValue = Value; }
    double MinFloatValue() const { return FMinFloatValue; }
    void SetMinFloatValue(double Value) { FMinFloatValue = Value; }
    double MaxFloatValue() const { return FMaxFloatValue; }
    void SetMaxFloatValue(double Value) { FMaxFloatValue = Value; }
    TDateTime MinDateValue() const { return FMinDateValue; }
    void SetMinDateValue(TDateTime Value) { FMinDateValue = Value; }
    TDateTime MaxDateValue() const { return FMaxDateValue; }
    void SetMaxDateValue(TDateTime Value) { FMaxDateValue = Value; }

    int Increment = 1;
    double IncrementFloat = 0.1;
    double IncrementFloatPage = 1.0;
    int IncrementSeconds = 1;
    int IncrementMinutes = 1;
    int IncrementHours = 1;
    bool ReturnIsTab = false;
    bool ExcelStyleDecimalSeparator = false;
    bool ShowSeconds = true;
    // Read by the grid when it stores the edited value: an empty text stores an empty cell.
    bool AllowEmptyValue = false;

    bool EditorEnabled() const { return FEditorEnabled; }
    void SetEditorEnabled(bool Value) { FEditorEnabled = Value; }
    TSpinDirection Direction() const { return FDirection; }
    void SetDirection(TSpinDirection Value);
    TAsgSpinType SpinType() const { return FSpinType; }
    void SetSpinType(TAsgSpinType Value);
    int Precision() const { return FPrecision; }
    void SetPrecision(int Value);
    TEditAlign EditAlign() const { return FEditAlign; }
    void SetEditAlign(TEditAlign Value);
    bool SpinFlat() const { return FSpinFlat; }
    void SetSpinFlat(bool Value);
    bool SpinTransparent() const { return FSpinTransparent; }
    void SetSpinTransparent(bool Value);
    bool IsWinXP() const { return FIsWinXP; }
    void SetIsWinXP(bool Value);

    // The smallest height the edit keeps.
    int MinHeight();

    virtual void StepUp(bool Page);
    virtual void StepDown(bool Page);
    // Whether Key may be typed now (a refused key beeps and is dropped).
    virtual bool CharAllowed(Char& Key);
    virtual void UpButtonClick(TObject* Sender);
    virtual void DownButtonClick(TObject* Sender);

protected:
    void CreateParams(TCreateParams& Params) override;
    void CreateWnd() override;
    void Loaded() override;
    void KeyDown(Word& Key, TShiftState Shift) override;
    void KeyPress(Char& Key) override;
    void DoEnter() override;
    void DoExit() override;

private:
    void Step(bool Up, bool Page);
    void SetEditRect();
    void WMSize(TWMSize& Message);
    // Shows Text keeping the caret where it was.
    void ShowKeepingCaret(const String& Text);
    TDateTime ClampDate(TDateTime Value) const;

    TAsgSpinButton* FButton;
    int FMinValue = 0, FMaxValue = 100;
    double FMinFloatValue = 0.0, FMaxFloatValue = 100.0;
    TDateTime FMinDateValue = 0, FMaxDateValue = 0;
    TDateTime FDateValue = 0, FTimeValue = 0;
    bool FEditorEnabled = true;
    TSpinDirection FDirection = spVertical;
    TAsgSpinType FSpinType = sptNormal;
    int FPrecision = 0;
    bool FIsWinXP = false;
    bool FUsDates = false;
    TEditAlign FEditAlign = eaLeft;
    bool FSpinFlat = false;
    bool FSpinTransparent = false;
};
