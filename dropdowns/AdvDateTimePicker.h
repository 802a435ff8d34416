// The date/time picker of the drop-down editors: TCustomDateTimePicker adds to the platform's
// picker a flat "metro" look with its own border and drop button and auto-tab (a typed digit
// that completes a field moves on to the next); TAdvDateTimePicker adds the date-and-time kind,
// an embedded time-only picker at its right edge, and a caption label with thirteen placements.
// The grid's date-and-time cell editor derives from TAdvDateTimePicker.
#pragma once

#include "ComCtrls.h"
#include "EditorLook.h"

class TTimer;

// The process-wide message "DTPShiftFocus" that a picker posts to itself after a typed digit.
UINT DTPShiftFocusMessage();

class TCustomDateTimePicker : public TDateTimePicker {
public:
    explicit TCustomDateTimePicker(TComponent* AOwner);

    TBorderStyle BorderStyle() const { return FBorderStyle; }
    virtual void SetBorderStyle(TBorderStyle Value);
    TColor BorderColor() const { return FBorderColor; }
    void SetBorderColor(TColor Value) { FBorderColor = Value; }
    bool MetroStyle() const { return FMetroStyle; }
    void SetMetroStyle(bool Value);
    bool AutoTab() const { return FAutoTab; }
    virtual void SetAutoTab(bool Value) { FAutoTab = Value; }

    TColor ButtonColorDown = clNone;
    TColor ButtonBorderColor = clNone;
    TColor ButtonTextColor = clNone;
    TColor ButtonTextColorHot = clNone;
    TColor ButtonColor = clNone;
    TColor ButtonColorHot = clNone;
    TColor ButtonTextColorDown = clNone;

    void WndProc(TMessage& Message) override;
    void Dispatch(TMessage& Message) override;

protected:
    // "DTPShiftFocus" arrived: a time picker whose hour, minute or second changed with the last
    // digit moves one field right (a posted VK_RIGHT).
    virtual void ShiftFocus(TMessage& Message);
    // The plain picker (as embedded in TAdvDateTimePicker) never draws the metro look.
    virtual bool IsPlainPicker() const { return true; }
    // Records the value before a typed digit is processed.
    virtual void SaveBeforeDigit();
    void MouseMove(TShiftState Shift, int X, int Y) override;
    bool MetroActive() const { return FMetroStyle && !IsPlainPicker() && !HasState(csDesigning); }
    void DrawMetroBorder(TCanvas* DC);

    Word Fh = 0, Fm = 0, Fs = 0, Fms = 0;

private:
    void WMPaint(TWMPaint& Message);
    void WMNCPaint(TWMNCPaint& Message);
    bool Themed() const;

    TBorderStyle FBorderStyle = bsNone;
    TColor FBorderColor = clBlack;
    bool FIsThemed;
    int FButtonWidth;
    bool FButtonHover = false;
    bool FMouseInControl = false;
    bool FIsWinXP;
    bool FMetroStyle = false;
    bool FHasFocus = false;
    bool FAutoTab = false;
};

enum TAdvDateTimeKind { dkDate, dkTime, dkDateTime };

class TAdvDateTimePicker : public TCustomDateTimePicker {
public:
    explicit TAdvDateTimePicker(TComponent* AOwner);
    ~TAdvDateTimePicker() override;

    TAdvDateTimeKind Kind() const { return FKind; }
    void SetKind(TAdvDateTimeKind Value);
    // The value; with an embedded time picker its time of day counts. Writing drops the
    // milliseconds and gives the embedded picker the same value.
    TDateTime DateTime();
    virtual void SetDateTime(TDateTime Value);
    TDateTime Date() const { return TDateTimePicker::Date(); }
    // Sets the date and keeps the time of day (to the second).
    void SetDate(TDateTime Value);
    TDateTime Time() const;
    // Sets the time of day; in the date-and-time kind the embedded picker shows it too.
    void SetTime(TDateTime Value);
    String TimeFormat() const { return FTimeFormat; }
    void SetTimeFormat(const String& Value);
    void SetAutoTab(bool Value) override;
    void SetBorderStyle(TBorderStyle Value) override;
    // Reads 1.2.0.0; writing it does nothing.
    String Version() const;
    void SetVersion(const String&) {}
    // The embedded time picker (dkDateTime only), nullptr without one.
    TCustomDateTimePicker* TimePicker() const { return FTimePicker; }

    // The caption label (made on the first caption write).
    TLabel* PickerLabel() const { return FLabel; }
    String LabelCaption() const;
    void SetLabelCaption(const String& Value);
    TFont* LabelFont() const { return FLabelFont; }
    void SetLabelFont(TFont* Value);
    TLabelPosition LabelPosition() const { return FLabelPosition; }
    void SetLabelPosition(TLabelPosition Value);
    int LabelMargin() const { return FLabelMargin; }
    void SetLabelMargin(int Value);
    bool LabelTransparent() const { return FLabelTransparent; }
    void SetLabelTransparent(bool Value);
    bool LabelAlwaysEnabled() const { return FLabelAlwaysEnabled; }
    void SetLabelAlwaysEnabled(bool Value);
    bool FocusLabel() const { return FFocusLabel; }
    void SetFocusLabel(bool Value) { FFocusLabel = Value; }

    TNotifyEvent OnTimeChange;
    TNotifyEvent OnLabelClick;
    TNotifyEvent OnLabelDblClick;

    void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;
    void SetParent(TWinControl* AParent) override;
    void Dispatch(TMessage& Message) override;

protected:
    void CreateWnd() override;
    void Loaded() override;
    void Notification(TComponent* AComponent, TOperation Operation) override;
    bool IsPlainPicker() const override { return false; }
    void ShiftFocus(TMessage& Message) override;
    void SaveBeforeDigit() override;
    virtual void TimePickerChange(TObject* Sender);
    virtual void TimePickerClick(TObject* Sender);
    virtual void TimePickerKeyPress(TObject* Sender, Char& Key);

private:
    void CreateTimePicker();
    void LayoutTimePicker();
    void CreateLabel();
    void PlaceLabel();
    void UpdateTimePickerEnabled();

    TAdvDateTimeKind FKind = dkDateTime;
    TTimer* FFocusTimer;
    String FTimeFormat;
    Word Fy = 0, Fmo = 0, Fd = 0;
    TLabel* FLabel = nullptr;
    TFont* FLabelFont;
    TLabelPosition FLabelPosition = lpLeftTop;
    int FLabelMargin = 4;
    bool FLabelTransparent = false;
    bool FFocusLabel = false;
    bool FLabelAlwaysEnabled = false;
    bool FParentFnt = false;
    bool FFirstRun = true;
    TCustomDateTimePicker* FTimePicker = nullptr;
};
