// The time-picker drop-down: a drop-down edit for a time of day. The edit shows hours, minutes
// and (by default) seconds through an edit mask; the popup holds the analog clock and, on
// request, the platform's time picker below it. Picking on the clock updates the edit and Time at
// once; closing the popup takes the clock's time. With the editor on, Up and Down step the field
// under the caret, and a complete typed time is read back into Time.
#pragma once

#include "AdvDropDown.h"
#include "AdvWatch.h"

class TDateTimePicker;
class TPanel;

class TAdvTimePickerDropDown : public TAdvCustomDropDown {
public:
    explicit TAdvTimePickerDropDown(TComponent* AOwner);
    ~TAdvTimePickerDropDown() override;

    bool Animation() const { return FAnimation; }
    void SetAnimation(bool Value) { FAnimation = Value; }
    int AnimationFactor() const { return FAnimationFactor; }
    void SetAnimationFactor(int Value) { FAnimationFactor = Value; }
    TWatchSettings* WatchSettings() const { return FWatchSettings; }
    void SetWatchSettings(TWatchSettings* Value) { FWatchSettings->Assign(Value); }
    TWatchAppearance* WatchAppearance() const { return FWatchAppearance; }
    void SetWatchAppearance(TWatchAppearance* Value) { FWatchAppearance->Assign(Value); }
    // Writing rewrites the edit (and, while dropped down, the clock and the picker); it raises
    // no OnTimeChange.
    TDateTime Time() const { return FTime; }
    void SetTime(TDateTime Value);
    bool ShowWatchAMPM() const { return FShowWatchAMPM; }
    void SetShowWatchAMPM(bool Value) { FShowWatchAMPM = Value; }
    bool ShowWatchNumbers() const { return FShowWatchNumbers; }
    void SetShowWatchNumbers(bool Value) { FShowWatchNumbers = Value; }
    bool ShowTimePicker() const { return FShowTimePicker; }
    void SetShowTimePicker(bool Value) { FShowTimePicker = Value; }
    // Switches the edit between hh:mm:ss and hh:mm (mask and text).
    bool ShowSeconds() const { return FShowSeconds; }
    void SetShowSeconds(bool Value);
    TNotifyEvent OnTimeChange;

    // A part replaced (milliseconds kept), then OnTimeChange; nothing when the part already has
    // the value or it is out of range.
    void SetHourPart(int Value);
    void SetMinutePart(int Value);
    void SetSecondPart(int Value);

    // Two digits per part, the locale's time separator between them, seconds with ShowSeconds.
    String TimeToText(int H, int M, int S) const;
    static String TwoDigits(int N);
    // The edit mask of the current form.
    String TimeMask() const;

    TAdvWatch* Watch() const { return FAdvWatch; }
    TDateTimePicker* TimePicker() const { return FDateTimePicker; }
    TPanel* Panel() const { return FPanelCtrl; }

    void SetComponentStyle(TKitStyle AStyle) override;
    void SetText(const String& Value) override;

protected:
    void CreateDropDownForm() override;
    void DoBeforeDropDown() override;
    void DoHideDropDown(bool CancelChanges) override;
    void DropDownFormHide(TObject* Sender) override;
    void DropDownFormKeyDown(TObject* Sender, Word& Key, TShiftState Shift) override;
    void DropDownFormKeyUp(TObject* Sender, Word& Key, TShiftState Shift) override;
    void DropDownControlKeyDown(TObject* Sender, Word& Key, TShiftState Shift) override;
    void DropDownControlKeyUp(TObject* Sender, Word& Key, TShiftState Shift) override;
    void DropDownControlKeyPress(TObject* Sender, Char& Key) override;
    void KeyDown(Word& Key, TShiftState Shift) override;
    void Change() override;

private:
    void WatchChange(TObject* Sender);
    void TimePickerChange(TObject* Sender);
    void SetPart(int Index, int Value);
    // The edit shows Time in the current form (the change handler does not read it).
    void ShowTimeText();
    bool IsValidTimeText(const String& Text) const;
    // The popup's four stepping keys pass on to the edit only with Alt.
    static bool PassesToEdit(Word Key, bool Alt);

    bool FShowTimePicker = false;
    TAdvWatch* FAdvWatch = nullptr;
    TDateTimePicker* FDateTimePicker = nullptr;
    TPanel* FPanelCtrl = nullptr;
    TWatchAppearance* FWatchAppearance = nullptr;
    bool FShowWatchAMPM = true, FShowWatchNumbers = true;
    bool FAnimation = true;
    int FAnimationFactor = 10;
    TDateTime FTime = 0;
    TWatchSettings* FWatchSettings = nullptr;
    bool FInternalCall = false;
    bool FShowSeconds = true;
};

// The typed-text helpers: every blank made "0", and whether a field is at most two digits.
String BlanksToZeros(const String& Text);
bool IsTwoDigitField(const String& Field);
