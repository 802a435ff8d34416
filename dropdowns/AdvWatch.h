// The analog clock TAdvWatch: an owner-drawn clock face with hour, minute and (in live mode)
// second hands, tick marks, numerals, an AM/PM box and a centre cap. A click inside the face sets
// the hour (or toggles AM/PM on the box), a click outside the face circle sets the minute; keys
// move hours and minutes (HandleKey). Hour and minute changes are animated: each tick of the
// animation timer covers a rounded tenth (AnimationFactor) of the remaining way. In live mode
// (Settings.Auto) the clock follows the computer's clock plus an offset and repaints its hands
// every 100 ms. Its look comes from TWatchAppearance, twelve style presets and the component looks.
//
// The face, marks, numerals and AM/PM box are drawn once per full paint into a cache bitmap;
// hand movements compose the cache and the hands off screen and copy the result at once.
//
// What the clock takes from the system (the current date-time, its timers' ticks and the pause
// between the frames of the AM/PM roll) can be replaced, so tests drive it by hand.
#pragma once

#include "AdvStyleIF.h"
#include "Controls.h"
#include "ExtCtrls.h"
#include "Graphics.h"
#include "SysUtils.h"

#include <functional>

enum TWatchShape { wsCircle, wsRect, wsRoundRect };
enum TWatchBorderStyle { wbLine, wbDoubleLine, wbNone };
enum THourMarkStyle { hmsLine, hmsQuartDblLine };
enum TTickMarks { tmAll, tmHours, tmQuartHours, tmNone };
enum TPointerStyle { psLine, psShortLine, psPointer, psLineArrow };
enum TAMPMFrame { apRect, apRoundRect };
enum TWatchGradient { wgRadial, wgVertical, wgDiagonalForward, wgDiagonalBackward };
enum TWatchStyle {
    wsClassic,
    wsTower,
    wsFluorescent,
    wsEmerald,
    wsBlueStar,
    wsFuchsia,
    wsBlack,
    wsBlackWhite,
    wsGray,
    wsSuperNova,
    wsSports,
    wsSmooth
};

// ---- The clock's outside world (nullptr / false puts the system's back) ----

// The current date-time that live mode shows.
TDateTime WatchNow();
void SetWatchNowSource(std::function<TDateTime()> Source);
// The pause after each frame of the AM/PM roll (10 ms on the system's clock).
void SetWatchPause(std::function<void(int Milliseconds)> Pause);
// With ticks by hand the clocks' timers are switched on and off as usual but never fire by
// themselves: a test calls their OnTimer for each tick.
void SetWatchTicksByHand(bool Value);

// ---- Appearance ----

// Every published setter stores the value and raises OnChange when it differs; the fonts and the
// picture are set by assignment followed by OnChange; AMPMColor and AMPMBorderColor are plain
// fields. The border style, the rounding and the second hand's shadow take no part in painting.
class TWatchAppearance : public TPersistent {
public:
    TWatchAppearance();
    ~TWatchAppearance() override;

    // Copies every field; OnChange comes only from the setters of CenterPointOuterBorderColor,
    // TickMarks and HourMarkStyle, that is, only when one of those three differs.
    void Assign(TPersistent* Source) override;
    // Every field back to its default, fonts and picture in place, without notification.
    void SetDefaults();

    int Size() const { return FSize; }
    void SetSize(int Value) { Set(FSize, Value); }
    TColor HourPointer() const { return FHourPointer; }
    void SetHourPointer(TColor Value) { Set(FHourPointer, Value); }
    TColor BackgroundColor() const { return FBackgroundColor; }
    void SetBackgroundColor(TColor Value) { Set(FBackgroundColor, Value); }
    TColor MinutePointerShadow() const { return FMinutePointerShadow; }
    void SetMinutePointerShadow(TColor Value) { Set(FMinutePointerShadow, Value); }
    TColor BackgroundColorTo() const { return FBackgroundColorTo; }
    void SetBackgroundColorTo(TColor Value) { Set(FBackgroundColorTo, Value); }
    TColor HourPointerShadow() const { return FHourPointerShadow; }
    void SetHourPointerShadow(TColor Value) { Set(FHourPointerShadow, Value); }
    TColor SecondPointerShadow() const { return FSecondPointerShadow; }
    TColor SecondPointer() const { return FSecondPointer; }
    void SetSecondPointer(TColor Value) { Set(FSecondPointer, Value); }
    TColor BorderColor() const { return FBorderColor; }
    void SetBorderColor(TColor Value) { Set(FBorderColor, Value); }
    TColor MinutePointer() const { return FMinutePointer; }
    void SetMinutePointer(TColor Value) { Set(FMinutePointer, Value); }
    TFont* HourFont() const { return FHourFont; }
    void SetHourFont(TFont* Value);
    TFont* AMPMFont() const { return FAMPMFont; }
    void SetAMPMFont(TFont* Value);
    TPicture* Picture() const { return FPicture; }
    void SetPicture(TPicture* Value);
    TAMPMFrame AMPMFrame() const { return FAMPMFrame; }
    void SetAMPMFrame(TAMPMFrame Value) { Set(FAMPMFrame, Value); }
    TWatchShape Shape() const { return FWatchShape; }
    void SetShape(TWatchShape Value) { Set(FWatchShape, Value); }
    TPointerStyle PointerStyle() const { return FPointerStyle; }
    void SetPointerStyle(TPointerStyle Value) { Set(FPointerStyle, Value); }
    TWatchBorderStyle BorderStyle() const { return FBorderStyle; }
    Byte HourPointerSize() const { return FHourPointerSize; }
    void SetHourPointerSize(Byte Value) { Set(FHourPointerSize, Value); }
    Byte SecondPointerSize() const { return FSecondPointerSize; }
    void SetSecondPointerSize(Byte Value) { Set(FSecondPointerSize, Value); }
    Byte MinutePointerSize() const { return FMinutePointerSize; }
    void SetMinutePointerSize(Byte Value) { Set(FMinutePointerSize, Value); }
    TColor HourColor() const { return FHourColor; }
    void SetHourColor(TColor Value) { Set(FHourColor, Value); }
    TColor MinuteColor() const { return FMinuteColor; }
    void SetMinuteColor(TColor Value) { Set(FMinuteColor, Value); }
    Byte CenterPointSize() const { return FCenterPointSize; }
    void SetCenterPointSize(Byte Value) { Set(FCenterPointSize, Value); }
    TColor CenterPointColor() const { return FCenterPointColor; }
    void SetCenterPointColor(TColor Value) { Set(FCenterPointColor, Value); }
    TColor CenterPointBorderColor() const { return FCenterPointBorderColor; }
    void SetCenterPointBorderColor(TColor Value) { Set(FCenterPointBorderColor, Value); }
    TWatchGradient BackgroundGradient() const { return FBackgroundGradient; }
    void SetBackgroundGradient(TWatchGradient Value) { Set(FBackgroundGradient, Value); }
    int Rounding() const { return FRounding; }
    Byte HourMarkLength() const { return FHourMarkLength; }
    void SetHourMarkLength(Byte Value) { Set(FHourMarkLength, Value); }
    Byte HourMarkWidth() const { return FHourMarkWidth; }
    void SetHourMarkWidth(Byte Value) { Set(FHourMarkWidth, Value); }
    Byte MinuteMarkLength() const { return FMinuteMarkLength; }
    void SetMinuteMarkLength(Byte Value) { Set(FMinuteMarkLength, Value); }
    Byte MinuteMarkWidth() const { return FMinuteMarkWidth; }
    void SetMinuteMarkWidth(Byte Value) { Set(FMinuteMarkWidth, Value); }
    int BorderWidth() const { return FBorderWidth; }
    void SetBorderWidth(int Value) { Set(FBorderWidth, Value); }
    TColor AMPMColor() const { return FAMPMColor; }
    void SetAMPMColor(TColor Value) { FAMPMColor = Value; }
    TColor AMPMBorderColor() const { return FAMPMBorderColor; }
    void SetAMPMBorderColor(TColor Value) { FAMPMBorderColor = Value; }
    TColor CenterPointOuterBorderColor() const { return FCenterPointOuterBorderColor; }
    void SetCenterPointOuterBorderColor(TColor Value) { Set(FCenterPointOuterBorderColor, Value); }
    TTickMarks TickMarks() const { return FTickMarks; }
    void SetTickMarks(TTickMarks Value) { Set(FTickMarks, Value); }
    THourMarkStyle HourMarkStyle() const { return FHourMarkStyle; }
    void SetHourMarkStyle(THourMarkStyle Value) { Set(FHourMarkStyle, Value); }

    TNotifyEvent OnChange;

private:
    template <class T> void Set(T& Field, T Value) {
        if (Field == Value) return;
        Field = Value;
        Changed();
    }
    void Changed();
    void PictureChanged(TObject* Sender);

    int FSize = 0;
    TColor FHourPointer = TColor(0x000000);
    TColor FBackgroundColor = TColor(0xFFFFFF);
    TColor FMinutePointerShadow = clBtnShadow;
    TColor FBackgroundColorTo = clNone;
    TColor FHourPointerShadow = clBtnShadow;
    TColor FSecondPointerShadow = clBtnShadow;
    TColor FSecondPointer = TColor(0x0000FF);
    TColor FBorderColor = TColor(0x000000);
    TColor FMinutePointer = TColor(0x000000);
    TFont* FHourFont;
    TFont* FAMPMFont;
    TPicture* FPicture;
    TAMPMFrame FAMPMFrame = apRect;
    TWatchShape FWatchShape = wsCircle;
    TPointerStyle FPointerStyle = psLine;
    TWatchBorderStyle FBorderStyle = wbLine;
    Byte FHourPointerSize = 4, FSecondPointerSize = 1, FMinutePointerSize = 3;
    TColor FHourColor = TColor(0x000000);
    TColor FMinuteColor = TColor(0x808080);
    Byte FCenterPointSize = 4;
    TColor FCenterPointColor = TColor(0x000000);
    TColor FCenterPointBorderColor = clNone;
    TWatchGradient FBackgroundGradient = wgVertical;
    int FRounding = 5;
    Byte FHourMarkLength = 0, FHourMarkWidth = 1, FMinuteMarkLength = 0, FMinuteMarkWidth = 1;
    int FBorderWidth = 4;
    TColor FAMPMColor = TColor(0xFFFFFF);
    TColor FAMPMBorderColor = TColor(0x000000);
    TColor FCenterPointOuterBorderColor = clNone;
    TTickMarks FTickMarks = tmAll;
    THourMarkStyle FHourMarkStyle = hmsLine;
    bool FSilent = false;
};

// Live mode and its options. Setters store and raise OnChange when the value differs.
class TWatchSettings : public TPersistent {
public:
    // Second and TimeOffset are copied directly, Auto through its setter.
    void Assign(TPersistent* Source) override;

    // Live mode: the clock shows the computer's clock.
    bool Auto() const { return FAuto; }
    void SetAuto(bool Value);
    // The second hand in live mode.
    bool Second() const { return FSeconds; }
    void SetSecond(bool Value);
    // Minutes added to the computer's clock in live mode.
    int TimeOffset() const { return FTimeOffset; }
    void SetTimeOffset(int Value);

    TNotifyEvent OnChange;

private:
    void Changed();

    bool FAuto = false;
    bool FSeconds = true;
    int FTimeOffset = 0;
};

// Applies a component look to a clock appearance (the clock and the time picker share it).
void ApplyWatchComponentStyle(TWatchAppearance* Appearance, TKitStyle AStyle);

class TAdvWatch : public TCustomControl, public IKitStyle {
public:
    explicit TAdvWatch(TComponent* AOwner);
    ~TAdvWatch() override;

    TWatchAppearance* Appearance() const { return FAppearance; }
    void SetAppearance(TWatchAppearance* Value);
    TWatchSettings* Settings() const { return FSettings; }
    void SetSettings(TWatchSettings* Value) { FSettings->Assign(Value); }
    // The stored time (live mode draws the computer's clock instead).
    TDateTime Time() const { return FTime; }
    void SetTime(TDateTime Value);
    bool Animation() const { return FAnimation; }
    void SetAnimation(bool Value) { FAnimation = Value; }
    // Factors below 1 animate as 1 (the whole way in one tick).
    int AnimationFactor() const { return FAnimationFactor; }
    void SetAnimationFactor(int Value) { FAnimationFactor = Value; }
    bool ShowAMPM() const { return FShowAMPM; }
    void SetShowAMPM(bool Value);
    bool ShowNumbers() const { return FShowNumbers; }
    void SetShowNumbers(bool Value);
    TWatchStyle Style() const { return FStyle; }
    // Applies the preset to Appearance when the value differs.
    void SetStyle(TWatchStyle Value);
    TNotifyEvent OnChange;

    // An hour of 24 or more raises the platform's time-encoding error, a minute of 60 or more
    // "Invalid time"; neither changes the time.
    void SetHour(int Value);
    void SetMinute(int Value);
    void SetComponentStyle(TKitStyle AStyle) override;
    // The keys of the clock by virtual-key code: A, P, Page Up, Page Down, Home, End, Left,
    // Right (nothing in live mode).
    void HandleKey(Word Key);

    // Geometry: the face square, the AM/PM box ((-1, -1, -1, -1) without ShowAMPM), the minute
    // and hour a point reads, and whether a point lies inside the face's ellipse.
    TRect GetWatchRect();
    TRect GetAMPMRect();
    int MinuteAtPoint(int X, int Y);
    int HourAtPoint(int X, int Y);
    bool PtInEllipse(int X, int Y);
    // The time shown: the computer's clock plus TimeOffset in live mode, else Time.
    TDateTime GetDisplayTime() const;
    // The AM/PM box shows "AM".
    bool AM() const { return FAM; }

    TTimer* WatchTimer() const { return FWatchTimer; }
    TTimer* AnimationTimer() const { return FAnimationTimer; }
    TBitmap* BackgroundCache() const { return FBKGCache; }
    // Draws the hands over the cached face, off screen, and shows the result at once.
    void RefreshPointers();
    void AnimationTimerTick();

    void Dispatch(TMessage& Message) override;

protected:
    void Paint() override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;

private:
    void SetTimeValue(TDateTime T);
    void SetAM(bool Value);
    void SettingsChanged(TObject* Sender);
    void AppearanceChanged(TObject* Sender);
    void DoChange();
    bool Still() const;
    // Runs a change with FInternalCall set (no animation).
    void Internal(const std::function<void()>& Change);

    void PaintWatch();
    void DrawBackground(TCanvas* Canvas, const TRect& R);
    void DrawTickMarks(TCanvas* Canvas);
    void DrawNumbers(TCanvas* Canvas);
    void DrawAMPM(TCanvas* Canvas);
    void DrawAMPMFrame(TCanvas* Canvas, const TRect& R);
    void DrawPointers(TCanvas* Canvas);
    void DrawCenter(TCanvas* Canvas);
    void RollAMPM(bool ToAM);
    // A face of the control's size is in the cache.
    bool CacheValid();
    void ApplyStyle(TWatchStyle Value);

    TWatchAppearance* FAppearance;
    TWatchSettings* FSettings;
    TDateTime FTime = 0;
    TBitmap* FBKGCache;
    bool FCacheValid = false;
    Word FOldHour = 0, FOldMinute = 0, FOldSecond = 0;
    TTimer* FWatchTimer;
    bool FAnimation = true;
    int FAnimationFactor = 10;
    TTimer* FAnimationTimer;
    int FCurrentHourTo = 0, FCurrentMinuteTo = 0;
    int FMinuteFrom = 0;
    bool FHourAnimating = false;
    bool FInternalCall = false;
    // Set while an animation step moves a hand: the step is not a target of its own.
    bool FAnimationStep = false;
    bool FAM = true;
    bool FShowAMPM = true, FShowNumbers = true;
    bool FInternalSet = false;
    TWatchStyle FStyle = wsClassic;
};
