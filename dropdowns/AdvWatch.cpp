#include "AdvWatch.h"

#include "AdvDropDownDraw.h"
#include "Forms.h"
#include "Regions.h"

#include <QCursor>
#include <QThread>
#include <QWidget>

#include <algorithm>
#include <cmath>

namespace {

std::function<TDateTime()>& NowSource() {
    static std::function<TDateTime()> source;
    return source;
}

std::function<void(int)>& PauseSource() {
    static std::function<void(int)> pause;
    return pause;
}

bool GTicksByHand = false;

void WatchPause(int Milliseconds) {
    if (PauseSource())
        PauseSource()(Milliseconds);
    else
        QThread::msleep(static_cast<unsigned long>(Milliseconds));
}

// The clock's timers: switched on and off as usual, silent while tests tick by hand.
class TWatchTimer : public TTimer {
public:
    using TTimer::TTimer;

protected:
    void Timer() override {
        if (!GTicksByHand) TTimer::Timer();
    }
};

// The platform's rounding: halves go to the even neighbour.
int RoundEven(double Value) {
    return int(std::nearbyint(Value));
}

constexpr double kDegree = 3.14159265358979323846 / 180.0;

// The point at Angle degrees clockwise from 12 o'clock, Distance away from (CX, CY).
TPoint AtAngle(int CX, int CY, double Angle, double Distance) {
    return TPoint(RoundEven(CX + Distance * std::sin(Angle * kDegree)),
                  RoundEven(CY - Distance * std::cos(Angle * kDegree)));
}

void DecodeParts(TDateTime T, Word& H, Word& M, Word& S) {
    Word ms = 0;
    DecodeTime(T, H, M, S, ms);
}

// A byte-sized length from a control's size: larger sizes stop at 255 instead of wrapping.
Byte ByteLength(int Value) {
    return Byte(std::clamp(Value, 0, 255));
}

} // namespace

TDateTime WatchNow() {
    return NowSource() ? NowSource()() : Now();
}

void SetWatchNowSource(std::function<TDateTime()> Source) {
    NowSource() = std::move(Source);
}

void SetWatchPause(std::function<void(int)> Pause) {
    PauseSource() = std::move(Pause);
}

void SetWatchTicksByHand(bool Value) {
    GTicksByHand = Value;
}

// =============================================================================================
// TWatchAppearance

TWatchAppearance::TWatchAppearance()
    : FHourFont(new TFont()), FAMPMFont(new TFont()), FPicture(new TPicture()) {
    SetDefaults();
    FPicture->OnChange = [this](TObject* Sender) { PictureChanged(Sender); };
}

TWatchAppearance::~TWatchAppearance() {
    TObject::Free(FHourFont);
    TObject::Free(FAMPMFont);
    FPicture->OnChange = nullptr;
    TObject::Free(FPicture);
}

void TWatchAppearance::Changed() {
    if (!FSilent && Assigned(OnChange)) OnChange(this);
}

void TWatchAppearance::PictureChanged(TObject*) {
    Changed();
}

void TWatchAppearance::SetDefaults() {
    const bool silent = FSilent;
    FSilent = true;
    FSize = 0;
    FHourPointer = TColor(0x000000);
    FBackgroundColor = TColor(0xFFFFFF);
    FMinutePointerShadow = clBtnShadow;
    FBackgroundColorTo = clNone;
    FHourPointerShadow = clBtnShadow;
    FSecondPointerShadow = clBtnShadow;
    FSecondPointer = TColor(0x0000FF);
    FBorderColor = TColor(0x000000);
    FMinutePointer = TColor(0x000000);
    TFont hour, ampm;
    hour.SetName(QStringLiteral("Tahoma"));
    hour.SetSize(8);
    ampm.SetName(QStringLiteral("Tahoma"));
    ampm.SetSize(10);
    FHourFont->Assign(&hour);
    FAMPMFont->Assign(&ampm);
    FPicture->Assign(nullptr);
    FAMPMFrame = apRect;
    FWatchShape = wsCircle;
    FPointerStyle = psLine;
    FBorderStyle = wbLine;
    FHourPointerSize = 4;
    FSecondPointerSize = 1;
    FMinutePointerSize = 3;
    FHourColor = TColor(0x000000);
    FMinuteColor = TColor(0x808080);
    FCenterPointSize = 4;
    FCenterPointColor = TColor(0x000000);
    FCenterPointBorderColor = clNone;
    FBackgroundGradient = wgVertical;
    FRounding = 5;
    FHourMarkLength = 0;
    FHourMarkWidth = 1;
    FMinuteMarkLength = 0;
    FMinuteMarkWidth = 1;
    FBorderWidth = 4;
    FAMPMColor = TColor(0xFFFFFF);
    FAMPMBorderColor = TColor(0x000000);
    FCenterPointOuterBorderColor = clNone;
    FTickMarks = tmAll;
    FHourMarkStyle = hmsLine;
    FSilent = silent;
}

void TWatchAppearance::SetHourFont(TFont* Value) {
    FHourFont->Assign(Value);
    Changed();
}

void TWatchAppearance::SetAMPMFont(TFont* Value) {
    FAMPMFont->Assign(Value);
    Changed();
}

void TWatchAppearance::SetPicture(TPicture* Value) {
    FPicture->Assign(Value);
    Changed();
}

void TWatchAppearance::Assign(TPersistent* Source) {
    auto* src = dynamic_cast<TWatchAppearance*>(Source);
    if (!src) {
        TPersistent::Assign(Source);
        return;
    }
    if (src == this) return;
    {
        // Only the last three setters below notify.
        const bool silent = FSilent;
        FSilent = true;
        FSize = src->FSize;
        FHourPointer = src->FHourPointer;
        FBackgroundColor = src->FBackgroundColor;
        FMinutePointerShadow = src->FMinutePointerShadow;
        FBackgroundColorTo = src->FBackgroundColorTo;
        FHourPointerShadow = src->FHourPointerShadow;
        FSecondPointerShadow = src->FSecondPointerShadow;
        FSecondPointer = src->FSecondPointer;
        FBorderColor = src->FBorderColor;
        FMinutePointer = src->FMinutePointer;
        FHourFont->Assign(src->FHourFont);
        FAMPMFont->Assign(src->FAMPMFont);
        FPicture->Assign(src->FPicture);
        FAMPMFrame = src->FAMPMFrame;
        FWatchShape = src->FWatchShape;
        FPointerStyle = src->FPointerStyle;
        FBorderStyle = src->FBorderStyle;
        FHourPointerSize = src->FHourPointerSize;
        FSecondPointerSize = src->FSecondPointerSize;
        FMinutePointerSize = src->FMinutePointerSize;
        FHourColor = src->FHourColor;
        FMinuteColor = src->FMinuteColor;
        FCenterPointSize = src->FCenterPointSize;
        FCenterPointColor = src->FCenterPointColor;
        FCenterPointBorderColor = src->FCenterPointBorderColor;
        FBackgroundGradient = src->FBackgroundGradient;
        FRounding = src->FRounding;
        FHourMarkLength = src->FHourMarkLength;
        FHourMarkWidth = src->FHourMarkWidth;
        FMinuteMarkLength = src->FMinuteMarkLength;
        FMinuteMarkWidth = src->FMinuteMarkWidth;
        FBorderWidth = src->FBorderWidth;
        FAMPMColor = src->FAMPMColor;
        FAMPMBorderColor = src->FAMPMBorderColor;
        FSilent = silent;
    }
    SetCenterPointOuterBorderColor(src->FCenterPointOuterBorderColor);
    SetTickMarks(src->FTickMarks);
    SetHourMarkStyle(src->FHourMarkStyle);
}

// =============================================================================================
// TWatchSettings

void TWatchSettings::Changed() {
    if (Assigned(OnChange)) OnChange(this);
}

void TWatchSettings::SetAuto(bool Value) {
    if (FAuto == Value) return;
    FAuto = Value;
    Changed();
}

void TWatchSettings::SetSecond(bool Value) {
    if (FSeconds == Value) return;
    FSeconds = Value;
    Changed();
}

void TWatchSettings::SetTimeOffset(int Value) {
    if (FTimeOffset == Value) return;
    FTimeOffset = Value;
    Changed();
}

void TWatchSettings::Assign(TPersistent* Source) {
    auto* src = dynamic_cast<TWatchSettings*>(Source);
    if (!src) {
        TPersistent::Assign(Source);
        return;
    }
    FSeconds = src->FSeconds;
    FTimeOffset = src->FTimeOffset;
    SetAuto(src->FAuto);
}

// =============================================================================================
// Component looks

namespace {

struct TWatchLook {
    TKitStyle Style;
    TColor AMPMBorder, AMPMFill, Background, BackgroundTo, Border, CapBorder, CapFill, Marks, Shadows, Second;
};

const TWatchLook kWatchLooks[] = {
    {tsOffice2003Blue, 0x962D00, 0xD68759, 0xFFD2AF, 0xFFD2AF, 0xD68759, 0xD68759, 0xD68759, 0xD68759,
     0xFFFFFF, 0xFFFFFF},
    {tsOffice2003Silver, 0x962D00, 0xBDA4A5, 0xE6D8D8, 0xE6D8D8, 0xBDA4A5, 0xBDA4A5, 0xBDA4A5, 0xBDA4A5,
     0xFFFFFF, 0xFFFFFF},
    {tsOffice2003Olive, 0x962D00, 0x82C0AF, 0xB9EAE1, 0xB9EAE1, 0x82C0AF, 0x82C0AF, 0x82C0AF, 0x82C0AF,
     0xFFFFFF, 0xFFFFFF},
    {tsOffice2003Classic, 0x962D00, 0x808080, 0xF2F2F2, 0xF2F2F2, 0x808080, 0x808080, 0x808080, 0x808080,
     0xFFFFFF, 0x808080},
    {tsOffice2007Luna, 0xF0DED0, 0xF0DED0, 0xFFEFE3, 0xFFEFE3, 0xF0DED0, 0xFFEFE3, 0xFFEFE3, 0x723708,
     0xFFFFFF, 0x723708},
    {tsOffice2007Obsidian, 0xF2F1F0, 0x5C534C, 0x5C534C, 0x5C534C, 0xF2F1F0, 0xFFEFE3, 0xFFEFE3, 0xF2F1F0,
     0xFFFFFF, 0xF2F1F0},
    {tsWindowsXP, 0x000000, clBtnFace, clBtnFace, clBtnFace, 0x000000, 0x000000, 0x000000, 0x000000, 0xFFFFFF,
     0x000000},
    {tsWhidbey, 0x7E9898, 0xF5F9FA, 0xF5F9FA, 0xF5F9FA, 0x7E9898, 0x7E9898, 0x7E9898, 0x7E9898, 0xFFFFFF,
     0x7E9898},
    {tsOffice2007Silver, 0xE8E0DB, 0xF8F4F1, 0xF8F4F1, 0xF8F4F1, 0xE8E0DB, 0xE8E0DB, 0x74706F, 0x74706F,
     0xFFFFFF, 0x74706F},
    {tsWindowsVista, 0xFEDF9A, 0xFFFDF9, 0xFFFDF9, 0xFFFAF0, 0xFEDF9A, 0xFEDF9A, 0xFEDF9A, 0xFEDF9A, 0xFFFFFF,
     0xFEDF9A},
    {tsWindows7, 0xFBD6B8, 0xFDFBFA, 0xFDFBFA, 0xFDF3EB, 0xFBD6B8, 0xFBD6B8, 0xFBD6B8, 0xFBD6B8, 0xFFFFFF,
     0xFBD6B8},
    {tsTerminal, 0x808080, clBtnFace, clBtnFace, clBtnFace, 0x808080, 0x808080, 0x808080, 0x808080, 0xFFFFFF,
     0x808080},
    {tsOffice2010Blue, 0xC7B29F, 0xF0DAC7, 0xFDF6EF, 0xFDF6EF, 0xC7B29F, 0xC7B29F, 0xC7B29F, 0xC7B29F,
     0xFFFFFF, 0xC7B29F},
    {tsOffice2010Silver, 0xD2CDC8, 0xEDE5E0, 0xFFFFFF, 0xFFFFFF, 0xD2CDC8, 0xD2CDC8, 0xD2CDC8, 0xD2CDC8,
     0xC0C0C0, 0xD2CDC8},
    {tsOffice2010Black, 0x6D6D6D, 0x919191, 0xBFBFBF, 0xBFBFBF, 0x6D6D6D, 0x6D6D6D, 0x6D6D6D, 0x6D6D6D,
     0xFFFFFF, 0x6D6D6D},
};

} // namespace

void ApplyWatchComponentStyle(TWatchAppearance* A, TKitStyle AStyle) {
    if (!A) return;
    A->SetCenterPointOuterBorderColor(TColor(0x000000));
    A->HourFont()->SetColor(TColor(0x000000));
    A->AMPMFont()->SetColor(TColor(0x000000));
    for (const TWatchLook& look : kWatchLooks) {
        if (look.Style != AStyle) continue;
        A->SetAMPMBorderColor(look.AMPMBorder);
        A->SetAMPMColor(look.AMPMFill);
        A->SetBackgroundColor(look.Background);
        A->SetBackgroundColorTo(look.BackgroundTo);
        A->SetBorderColor(look.Border);
        A->SetCenterPointBorderColor(look.CapBorder);
        A->SetCenterPointColor(look.CapFill);
        A->SetHourColor(look.Marks);
        A->SetMinuteColor(look.Marks);
        A->SetHourPointer(look.Marks);
        A->SetMinutePointer(look.Marks);
        A->SetHourPointerShadow(look.Shadows);
        A->SetMinutePointerShadow(look.Shadows);
        A->SetSecondPointer(look.Second);
        if (AStyle == tsOffice2007Obsidian) {
            A->AMPMFont()->SetColor(TColor(0xF2F1F0));
            A->HourFont()->SetColor(TColor(0xF2F1F0));
        }
        break;
    }
}

// =============================================================================================
// TAdvWatch: construction and properties

TAdvWatch::TAdvWatch(TComponent* AOwner)
    : TCustomControl(AOwner), FAppearance(new TWatchAppearance()), FSettings(new TWatchSettings()),
      FBKGCache(new TBitmap()) {
    FAppearance->OnChange = [this](TObject* Sender) { AppearanceChanged(Sender); };
    FSettings->OnChange = [this](TObject* Sender) { SettingsChanged(Sender); };
    FWatchTimer = new TWatchTimer(this);
    FWatchTimer->SetEnabled(false);
    FWatchTimer->SetInterval(100);
    FWatchTimer->OnTimer = [this](TObject*) { RefreshPointers(); };
    FAnimationTimer = new TWatchTimer(this);
    FAnimationTimer->SetEnabled(false);
    FAnimationTimer->SetInterval(1);
    FAnimationTimer->OnTimer = [this](TObject*) { AnimationTimerTick(); };
    SetBounds(Left(), Top(), 180, 180);
    FBKGCache->SetSize(180, 180);
}

TAdvWatch::~TAdvWatch() {
    FAnimationTimer->SetEnabled(false);
    FWatchTimer->SetEnabled(false);
    FAppearance->OnChange = nullptr;
    TObject::Free(FAppearance);
    FSettings->OnChange = nullptr;
    TObject::Free(FSettings);
    TObject::Free(FBKGCache);
}

void TAdvWatch::SetAppearance(TWatchAppearance* Value) {
    FAppearance->Assign(Value);
    // Assign notifies only for three of its fields: the face is drawn anew all the same.
    Invalidate();
}

void TAdvWatch::AppearanceChanged(TObject*) {
    Invalidate();
}

void TAdvWatch::SetShowAMPM(bool Value) {
    FShowAMPM = Value;
    Invalidate();
}

void TAdvWatch::SetShowNumbers(bool Value) {
    FShowNumbers = Value;
    Invalidate();
}

bool TAdvWatch::Still() const {
    return HasState(csLoading) || HasState(csDesigning);
}

void TAdvWatch::Internal(const std::function<void()>& Change) {
    const bool internal = FInternalCall;
    FInternalCall = true;
    try {
        Change();
    } catch (...) {
        FInternalCall = internal;
        throw;
    }
    FInternalCall = internal;
}

void TAdvWatch::DoChange() {
    if (Assigned(OnChange)) OnChange(this);
}

TDateTime TAdvWatch::GetDisplayTime() const {
    if (FSettings->Auto()) return WatchNow() + FSettings->TimeOffset() / 1440.0;
    return FTime;
}

void TAdvWatch::SetTime(TDateTime Value) {
    if (Value == FTime) return;
    SetTimeValue(Value);
    RefreshPointers();
}

void TAdvWatch::SetTimeValue(TDateTime T) {
    if (T == FTime) return;
    FTime = T;
    Word h = 0, m = 0, s = 0;
    DecodeParts(T, h, m, s);
    FInternalSet = true;
    SetAM(h < 12);
    FInternalSet = false;
}

void TAdvWatch::SetAM(bool Value) {
    if (FAM == Value) return;
    FAM = Value;
    if (FAnimation && FShowAMPM && FAppearance->AMPMColor() != clNone && !FInternalSet) RollAMPM(Value);
    // The box in the cached face shows the other label now.
    Invalidate();
}

void TAdvWatch::SettingsChanged(TObject*) {
    FWatchTimer->SetEnabled(FSettings->Auto());
    if (FSettings->Auto()) {
        FTime = WatchNow();
        Word h = 0, m = 0, s = 0;
        DecodeParts(FTime, h, m, s);
        FInternalSet = true;
        SetAM(h < 12);
        FInternalSet = false;
    }
    Invalidate();
}

void TAdvWatch::SetHour(int Value) {
    Word h = 0, m = 0, s = 0;
    DecodeParts(GetDisplayTime(), h, m, s);
    if (h == Value) return;
    // An hour out of range fails before anything changes, also before an animation starts.
    const TDateTime encoded = EncodeTime(Word(Value < 0 || Value > 0xFFFF ? 0xFFFF : Value), m, s, 0);
    if (!FAnimation || FInternalCall || Still()) {
        // A change of its own (not a step of an animation) is its own target, so it is told.
        if (!FAnimationStep) FCurrentHourTo = Value;
        SetTimeValue(encoded);
        RefreshPointers();
        if (Value == FCurrentHourTo) DoChange();
        return;
    }
    FCurrentHourTo = Value;
    FHourAnimating = true;
    FAnimationTimer->SetEnabled(true);
}

void TAdvWatch::SetMinute(int Value) {
    if (Value >= 60 || Value < 0) throw Exception(QStringLiteral("Invalid time"));
    Word h = 0, m = 0, s = 0;
    DecodeParts(GetDisplayTime(), h, m, s);
    if (m == Value) return;
    if (FAnimation && !FInternalCall && !Still()) {
        FCurrentMinuteTo = Value;
        FHourAnimating = false;
        FMinuteFrom = m;
        FAnimationTimer->SetEnabled(true);
        return;
    }
    if (!FAnimation) FMinuteFrom = m;
    int hour = h;
    if (Value == 0 && FMinuteFrom > 30) {
        hour = (hour + 1) % 24;
        FMinuteFrom = 0;
    }
    if (!FAnimationStep) FCurrentMinuteTo = Value;
    SetTimeValue(EncodeTime(Word(hour), Word(Value), s, 0));
    RefreshPointers();
    if (Value == FCurrentMinuteTo) DoChange();
}

void TAdvWatch::AnimationTimerTick() {
    if (Still()) return;
    if (!FAnimation) {
        FAnimationTimer->SetEnabled(false);
        return;
    }
    // A factor below 1 would stand still or divide by zero: it moves the whole way at once.
    const double factor = std::max(1, FAnimationFactor);
    Word h = 0, m = 0, s = 0;
    DecodeParts(GetDisplayTime(), h, m, s);
    FAnimationStep = true;
    try {
        if (FHourAnimating) {
            const int to = FCurrentHourTo;
            const int step = std::max(1, RoundEven(std::abs(to - int(h)) / factor));
            if (h == to) {
                FAnimationTimer->SetEnabled(false);
                Internal([&] { SetHour(to); });
            } else {
                const int next = h < to ? std::min(to, h + step) : std::max(to, h - step);
                Internal([&] { SetHour(next); });
            }
        } else {
            const int to = FCurrentMinuteTo;
            const int distance = (to == 0 && m > 30) ? 60 - m : std::abs(to - int(m));
            const int step = std::max(1, RoundEven(distance / factor));
            if (m == to) {
                FAnimationTimer->SetEnabled(false);
                Internal([&] { SetMinute(to); });
            } else {
                int next = (m >= to && (to > 0 || m <= 30)) ? m - step : m + step;
                if (next >= 60) next = 0;
                Internal([&] { SetMinute(next); });
            }
        }
    } catch (...) {
        FAnimationStep = false;
        FAnimationTimer->SetEnabled(false);
        throw;
    }
    FAnimationStep = false;
}

void TAdvWatch::HandleKey(Word Key) {
    if (FSettings->Auto()) return;
    Word h = 0, m = 0, s = 0;
    DecodeParts(GetDisplayTime(), h, m, s);
    switch (Key) {
        case 'A':
            if (h > 11) SetHour(h - 12);
            break;
        case 'P':
            if (h < 12) SetHour(h + 12);
            break;
        case VK_PRIOR:
            if (h == 23)
                Internal([&] { SetHour(0); });
            else
                SetHour(h + 1);
            break;
        case VK_NEXT:
            if (h == 0)
                Internal([&] { SetHour(23); });
            else
                SetHour(h - 1);
            break;
        case VK_HOME: Internal([&] { SetHour(12); }); break;
        case VK_LEFT:
            if (m == 0) {
                // The previous hour's last minute at once; the change is the user's, so it is told.
                SetTime(EncodeTime(Word(h == 0 ? 23 : h - 1), 59, s, 0));
                DoChange();
            } else {
                SetMinute(m - 1);
            }
            break;
        case VK_RIGHT: SetMinute(m == 59 ? 0 : m + 1); break;
        case VK_END: SetMinute(0); break;
        default: break;
    }
}

void TAdvWatch::SetStyle(TWatchStyle Value) {
    if (FStyle == Value) return;
    FStyle = Value;
    ApplyStyle(Value);
}

void TAdvWatch::SetComponentStyle(TKitStyle AStyle) {
    ApplyWatchComponentStyle(FAppearance, AStyle);
}

// =============================================================================================
// Geometry and picking

TRect TAdvWatch::GetWatchRect() {
    const TRect c = ClientRect();
    const int w = c.Width(), h = c.Height();
    int side = FAppearance->Size() > 0 ? std::min({FAppearance->Size(), w, h}) : std::min(w, h) - 20;
    side = std::max(side, 0);
    const int left = c.Left + (w - side) / 2, top = c.Top + (h - side) / 2;
    return TRect(left, top, left + side, top + side);
}

TRect TAdvWatch::GetAMPMRect() {
    if (!FShowAMPM) return TRect(-1, -1, -1, -1);
    const TRect face = GetWatchRect();
    const int cx = face.Left + face.Width() / 2, cy = face.Top + face.Height() / 2;
    const double r = face.Width() / 2;
    TCanvas* canvas = FBKGCache->Canvas();
    canvas->Font()->Assign(FAppearance->AMPMFont());
    TRect text(0, 0, 200, 200);
    DrawText(canvas, QStringLiteral("AM"), text, DT_CALCRECT | DT_SINGLELINE | DT_LEFT | DT_TOP);
    const int w = text.Width() + 8, th = text.Height();
    const int top = cy + RoundEven((r - th) / 3);
    const int left = cx - w / 2;
    return TRect(left, top, left + w, top + th);
}

int TAdvWatch::MinuteAtPoint(int X, int Y) {
    const TRect face = GetWatchRect();
    const int cx = face.Left + face.Width() / 2, cy = face.Top + face.Height() / 2;
    int dy = std::abs(cy - Y), dx = std::abs(cx - X);
    if (dy == 0) dy = 1;
    if (dx == 0) dx = 1;
    const int f = RoundEven(std::atan(double(dy) / double(dx)) / kDegree / 6.0);
    int minute;
    if (X >= cx && Y >= cy)
        minute = f + 15;
    else if (X <= cx && Y >= cy)
        minute = 45 - f;
    else if (X <= cx && Y <= cy)
        minute = f + 45;
    else
        minute = 15 - f;
    return minute < 0 || minute > 59 ? 0 : minute;
}

int TAdvWatch::HourAtPoint(int X, int Y) {
    const int c = RoundEven(MinuteAtPoint(X, Y) / 5.0);
    if (c <= 0) return FAM ? 0 : 12;
    int hour = c + (FAM ? 0 : 12);
    return hour == 24 ? 0 : hour;
}

bool TAdvWatch::PtInEllipse(int X, int Y) {
    HRGN region = CreateEllipticRgnIndirect(GetWatchRect());
    const bool inside = PtInRegion(region, X, Y);
    DeleteObject(region);
    return inside;
}

void TAdvWatch::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
    TCustomControl::MouseUp(Button, Shift, X, Y);
    if (FSettings->Auto()) return;
    if (!PtInEllipse(X, Y)) {
        SetMinute(MinuteAtPoint(X, Y));
        return;
    }
    if (GetAMPMRect().Contains(TPoint(X, Y))) {
        Word h = 0, m = 0, s = 0;
        DecodeParts(GetDisplayTime(), h, m, s);
        if (FAnimation) SetAM(!FAM);
        FCurrentHourTo = h < 12 ? h + 12 : h - 12;
        Internal([&] { SetHour(FCurrentHourTo); });
        return;
    }
    SetHour(HourAtPoint(X, Y));
}

void TAdvWatch::Dispatch(TMessage& Message) {
    switch (Message.Msg) {
        case WM_GETDLGCODE: Message.Result = TabStop() ? DLGC_WANTARROWS | DLGC_WANTALLKEYS : 0; break;
        case WM_SETCURSOR: {
            TCustomControl::Dispatch(Message);
            if (HasState(csDesigning) || !Screen) break;
            TPoint p;
            GetCursorPos(p);
            const bool onBox = GetAMPMRect().Contains(ScreenToClient(p));
            ::SetCursor(Screen->Cursors(onBox ? crHandPoint : crArrow));
            Message.Result = 1;
            break;
        }
        case WM_TIMER: DefaultHandler(Message); break;
        default: TCustomControl::Dispatch(Message); break;
    }
}

// =============================================================================================
// Painting

void TAdvWatch::Paint() {
    TCustomControl::Paint();
    PaintWatch();
}

void TAdvWatch::PaintWatch() {
    const TRect client = ClientRect();
    FBKGCache->SetSize(client.Width(), client.Height());
    TCanvas* cache = FBKGCache->Canvas();
    // The control's surface first, so that what lies round a round face stays.
    cache->CopyRect(client, Canvas(), client);
    DrawBackground(cache, client);
    DrawTickMarks(cache);
    DrawNumbers(cache);
    DrawAMPM(cache);
    FCacheValid = true;
    Canvas()->Draw(0, 0, FBKGCache);
    DrawPointers(Canvas());
    DrawCenter(Canvas());
}

bool TAdvWatch::CacheValid() {
    const TRect client = ClientRect();
    return FCacheValid && !client.IsEmpty() && FBKGCache->Width() == client.Width() &&
           FBKGCache->Height() == client.Height();
}

void TAdvWatch::RefreshPointers() {
    if (!CacheValid()) {
        // No face of this size drawn yet: the next paint draws face and hands together.
        Invalidate();
        return;
    }
    const TRect client = ClientRect();
    TBitmap frame;
    frame.SetSize(client.Width(), client.Height());
    frame.Canvas()->Draw(0, 0, FBKGCache);
    DrawPointers(frame.Canvas());
    DrawCenter(frame.Canvas());
    Canvas()->Draw(0, 0, &frame);
}

void TAdvWatch::DrawBackground(TCanvas* C, const TRect& R) {
    const TWatchAppearance* a = FAppearance;
    const TRect face = a->Shape() == wsCircle ? GetWatchRect() : R;
    HRGN clip = nullptr;
    if (a->Shape() == wsCircle)
        clip = CreateEllipticRgn(face.Left - 1, face.Top - 1, face.Right + 2, face.Bottom + 2);
    else if (a->Shape() == wsRoundRect)
        clip = CreateRoundRectRgn(face.Left - 1, face.Top - 1, face.Right + 2, face.Bottom + 2, 20, 20);
    if (clip) SelectClipRgn(C, clip);
    if (a->BackgroundColor() != clNone && a->BackgroundColorTo() != clNone) {
        DrawSteppedGradient(C, a->BackgroundColor(), a->BackgroundColorTo(), 80, face,
                            a->BackgroundGradient() == wgRadial);
    } else if (a->BackgroundColor() != clNone) {
        C->Brush()->SetStyle(bsSolid);
        C->Brush()->SetColor(a->BackgroundColor());
        C->FillRect(face);
    }
    if (a->BorderColor() != clNone && a->BorderWidth() > 0) {
        C->Pen()->SetStyle(psSolid);
        C->Pen()->SetColor(a->BorderColor());
        C->Pen()->SetWidth(a->BorderWidth());
        C->Brush()->SetStyle(bsClear);
        switch (a->Shape()) {
            case wsCircle: C->Ellipse(face); break;
            case wsRect: C->Rectangle(R); break;
            case wsRoundRect: C->RoundRect(R, 20, 20); break;
        }
    }
    if (clip) {
        SelectClipRgn(C, nullptr);
        DeleteObject(clip);
    }
    TGraphic* picture = a->Picture()->Graphic();
    if (picture && !picture->Empty() && !R.IsEmpty()) {
        TBitmap stretched;
        stretched.SetSize(R.Width(), R.Height());
        stretched.Canvas()->StretchDraw(TRect(0, 0, R.Width(), R.Height()), picture);
        stretched.SetTransparentMode(tmAuto);
        stretched.SetTransparent(true);
        C->Draw(R.Left, R.Top, &stretched);
    }
    C->Pen()->SetWidth(1);
    C->Brush()->SetStyle(bsSolid);
}

void TAdvWatch::DrawTickMarks(TCanvas* C) {
    const TWatchAppearance* a = FAppearance;
    if (a->TickMarks() == tmNone) return;
    const TRect face = GetWatchRect();
    const int cx = face.Left + face.Width() / 2, cy = face.Top + face.Height() / 2;
    const double r = face.Width() / 2;
    const double ro = r - a->BorderWidth() / 2;
    auto line = [&](double Angle, double Inner, int DX, int DY) {
        const TPoint p1 = AtAngle(cx, cy, Angle, Inner), p2 = AtAngle(cx, cy, Angle, ro);
        C->MoveTo(p1.X + DX, p1.Y + DY);
        C->LineTo(p2.X + DX, p2.Y + DY);
    };
    const double ri = a->HourMarkLength() > 0 ? ro - a->HourMarkLength() : 0.9 * ro;
    C->Pen()->SetStyle(psSolid);
    C->Pen()->SetColor(a->HourColor());
    C->Pen()->SetWidth(a->HourMarkWidth());
    for (int q = 0; q < 4; ++q) {
        const double angle = 90.0 * q;
        if (a->HourMarkStyle() == hmsQuartDblLine) {
            // 12 and 6 o'clock side by side, 3 and 9 o'clock one above the other.
            const bool vertical = q % 2 == 0;
            line(angle, ri, vertical ? -2 : 0, vertical ? 0 : -2);
            line(angle, ri, vertical ? 2 : 0, vertical ? 0 : 2);
        } else {
            line(angle, ri, 0, 0);
        }
    }
    if (a->TickMarks() == tmAll || a->TickMarks() == tmHours)
        for (int i = 1; i < 12; ++i)
            if (i % 3 != 0) line(30.0 * i, ri, 0, 0);
    if (a->TickMarks() == tmAll) {
        const double mi = a->MinuteMarkLength() > 0 ? ro - a->MinuteMarkLength() : 0.95 * ro;
        C->Pen()->SetColor(a->MinuteColor());
        C->Pen()->SetWidth(a->MinuteMarkWidth());
        for (int i = 0; i < 60; ++i)
            if (i % 5 != 0) line(6.0 * i, mi, 0, 0);
    }
    C->Pen()->SetWidth(1);
}

void TAdvWatch::DrawNumbers(TCanvas* C) {
    const TWatchAppearance* a = FAppearance;
    if (!FShowNumbers || a->TickMarks() == tmNone || a->TickMarks() == tmHours) return;
    const TRect face = GetWatchRect();
    const int cx = face.Left + face.Width() / 2, cy = face.Top + face.Height() / 2;
    const double r = face.Width() / 2;
    const double r2 = r - a->BorderWidth() / 2;
    const int b = a->HourMarkLength() > 0 ? a->HourMarkLength() : RoundEven(r2 - 0.9 * r2) + 2;
    const double rn = r2 - 2 * b - 2;
    C->Font()->Assign(a->HourFont());
    C->Brush()->SetStyle(bsClear);
    for (int i = 1; i <= 12; ++i) {
        if (a->TickMarks() == tmQuartHours && i % 3 != 0) continue;
        const String text = IntToStr(i);
        const TSize size = C->TextExtent(text);
        int d = 0;
        if (i == 10) d = RoundEven(0.2 * size.cy);
        if (i == 11) d = RoundEven(0.15 * size.cy);
        const double distance = rn - d + b / 2;
        const double angle = 30.0 * i;
        const int x = cx + 1 + RoundEven(distance * std::sin(angle * kDegree));
        const int y = cy + 1 - RoundEven(distance * std::cos(angle * kDegree));
        C->TextOut(x - size.cx / 2 - 1, y - size.cy / 2 - 1, text);
    }
    C->Brush()->SetStyle(bsSolid);
}

void TAdvWatch::DrawAMPMFrame(TCanvas* C, const TRect& R) {
    if (FAppearance->AMPMFrame() == apRect)
        C->Rectangle(R);
    else
        C->RoundRect(R, 5, 5);
}

void TAdvWatch::DrawAMPM(TCanvas* C) {
    if (!FShowAMPM) return;
    const TWatchAppearance* a = FAppearance;
    TRect box = GetAMPMRect();
    if (a->AMPMColor() == clNone) {
        C->Brush()->SetStyle(bsClear);
    } else {
        C->Brush()->SetStyle(bsSolid);
        C->Brush()->SetColor(a->AMPMColor());
    }
    if (a->AMPMBorderColor() == clNone) {
        C->Pen()->SetStyle(psClear);
    } else {
        C->Pen()->SetStyle(psSolid);
        C->Pen()->SetColor(a->AMPMBorderColor());
    }
    C->Pen()->SetWidth(1);
    if (a->AMPMColor() != clNone || a->AMPMBorderColor() != clNone) DrawAMPMFrame(C, box);
    C->Pen()->SetStyle(psSolid);
    C->Font()->Assign(a->AMPMFont());
    C->Brush()->SetStyle(bsClear);
    DrawText(C, FAM ? QStringLiteral("AM") : QStringLiteral("PM"), box,
             DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    C->Brush()->SetStyle(bsSolid);
}

void TAdvWatch::DrawPointers(TCanvas* C) {
    const TWatchAppearance* a = FAppearance;
    const TRect face = GetWatchRect();
    const int cx = face.Left + face.Width() / 2, cy = face.Top + face.Height() / 2;
    const double r = face.Width() / 2;
    Word h = 0, m = 0, s = 0;
    DecodeParts(GetDisplayTime(), h, m, s);
    if (FSettings->Auto()) {
        FInternalSet = true;
        SetAM(h < 12);
        FInternalSet = false;
        FOldHour = h % 12;
        FOldMinute = m;
        FOldSecond = s;
    }
    const double hourAngle = 30.0 * (h % 12) + 6.0 * m / 12.0;
    const double minuteAngle = 6.0 * m;
    const double secondAngle = 6.0 * s;
    auto lineHand = [&](double Angle, double Tail, double Tip, TColor Color, int Width, int DX, int DY) {
        const TPoint p1 = AtAngle(cx, cy, Angle + 180, Tail), p2 = AtAngle(cx, cy, Angle, Tip);
        C->Pen()->SetStyle(psSolid);
        C->Pen()->SetColor(Color);
        C->Pen()->SetWidth(Width);
        C->MoveTo(p1.X + DX, p1.Y + DY);
        C->LineTo(p2.X + DX, p2.Y + DY);
    };
    auto pointerHand = [&](double Angle, double Tip, TColor Color, int DX, int DY) {
        std::vector<TPoint> corners = {AtAngle(cx, cy, Angle + 180, 0.1 * r),
                                       AtAngle(cx, cy, Angle - 90, 0.05 * r), AtAngle(cx, cy, Angle, Tip),
                                       AtAngle(cx, cy, Angle + 90, 0.05 * r)};
        for (TPoint& p : corners) p = TPoint(p.X + DX, p.Y + DY);
        C->Pen()->SetStyle(psSolid);
        C->Pen()->SetColor(Color);
        C->Pen()->SetWidth(1);
        C->Brush()->SetStyle(bsSolid);
        C->Brush()->SetColor(Color);
        C->Polygon(corners);
    };
    if (a->PointerStyle() == psPointer) {
        if (a->HourPointerShadow() != clNone) pointerHand(hourAngle, 0.5 * r, a->HourPointerShadow(), 1, 3);
        pointerHand(hourAngle, 0.5 * r, a->HourPointer(), 0, 0);
        if (a->MinutePointerShadow() != clNone)
            pointerHand(minuteAngle, 0.7 * r, a->MinutePointerShadow(), 1, 3);
        pointerHand(minuteAngle, 0.7 * r, a->MinutePointer(), 0, 0);
    } else {
        // The short line and the line with an arrow are drawn as lines.
        if (a->HourPointerShadow() != clNone)
            lineHand(hourAngle, 0.1 * r, 0.46 * r, a->HourPointerShadow(), a->HourPointerSize(), -1, 3);
        if (a->MinutePointerShadow() != clNone)
            lineHand(minuteAngle, 0.1 * r, 0.65 * r, a->MinutePointerShadow(), a->MinutePointerSize(), 0, 3);
        lineHand(hourAngle, 0.1 * r, 0.5 * r, a->HourPointer(), a->HourPointerSize(), 0, 0);
        lineHand(minuteAngle, 0.1 * r, 0.7 * r, a->MinutePointer(), a->MinutePointerSize(), 0, 0);
    }
    if (FSettings->Auto() && FSettings->Second())
        lineHand(secondAngle, 0.2 * r, 0.9 * r, a->SecondPointer(), a->SecondPointerSize(), 0, 0);
    C->Pen()->SetWidth(1);
}

void TAdvWatch::DrawCenter(TCanvas* C) {
    const TWatchAppearance* a = FAppearance;
    const int s = a->CenterPointSize();
    if (s <= 0) return;
    const TRect face = GetWatchRect();
    const int cx = face.Left + face.Width() / 2, cy = face.Top + face.Height() / 2;
    const int x0 = RoundEven(cx - s / 2.0), y0 = RoundEven(cy - s / 2.0);
    C->Pen()->SetStyle(psSolid);
    if (a->CenterPointColor() != clNone) {
        C->Pen()->SetWidth(1);
        C->Pen()->SetColor(a->CenterPointColor());
        C->Brush()->SetStyle(bsSolid);
        C->Brush()->SetColor(a->CenterPointColor());
        C->Ellipse(x0, y0, x0 + s, y0 + s);
    }
    int k = 0;
    if (a->CenterPointOuterBorderColor() != clNone) {
        k = RoundEven(0.2 * s);
        C->Pen()->SetWidth(k);
        C->Pen()->SetColor(a->CenterPointOuterBorderColor());
        C->Brush()->SetStyle(bsClear);
        C->Ellipse(x0, y0, x0 + s, y0 + s);
    }
    if (a->CenterPointBorderColor() != clNone) {
        const int inner = s - k;
        const int x1 = RoundEven(cx - inner / 2.0), y1 = RoundEven(cy - inner / 2.0);
        C->Pen()->SetWidth(RoundEven(0.1 * s));
        C->Pen()->SetColor(a->CenterPointBorderColor());
        C->Brush()->SetStyle(bsClear);
        C->Ellipse(x1, y1, x1 + inner, y1 + inner);
    }
    C->Pen()->SetWidth(1);
    C->Brush()->SetStyle(bsSolid);
}

// The AM/PM box rolls to its new label: a strip holding "AM" above "PM" slides by one pixel per
// frame through the box; each frame is composed off screen and shown at once.
void TAdvWatch::RollAMPM(bool ToAM) {
    const TRect box = GetAMPMRect();
    const TRect inner(box.Left + 1, box.Top + 1, box.Right - 1, box.Bottom - 1);
    const TRect client = ClientRect();
    if (inner.IsEmpty() || !CacheValid()) return; // nothing painted yet: the next paint shows the label
    const int iw = inner.Width(), ih = inner.Height();
    TBitmap strip;
    strip.SetSize(iw, 2 * ih);
    TCanvas* sc = strip.Canvas();
    sc->Brush()->SetStyle(bsSolid);
    sc->Brush()->SetColor(FAppearance->AMPMColor());
    sc->FillRect(TRect(0, 0, iw, 2 * ih));
    sc->Font()->Assign(FAppearance->AMPMFont());
    sc->Brush()->SetStyle(bsClear);
    TRect top(0, 0, iw, ih), bottom(0, ih, iw, 2 * ih);
    DrawText(sc, QStringLiteral("AM"), top, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    DrawText(sc, QStringLiteral("PM"), bottom, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    TBitmap frame;
    frame.SetSize(client.Width(), client.Height());
    TCanvas* fc = frame.Canvas();
    for (int i = 1; i <= ih; ++i) {
        fc->Draw(0, 0, FBKGCache);
        const int from = ToAM ? ih - i : i;
        fc->CopyRect(inner, sc, TRect(0, from, iw, from + ih));
        fc->Brush()->SetStyle(bsClear);
        if (FAppearance->AMPMBorderColor() == clNone) {
            fc->Pen()->SetStyle(psClear);
        } else {
            fc->Pen()->SetStyle(psSolid);
            fc->Pen()->SetColor(FAppearance->AMPMBorderColor());
        }
        fc->Pen()->SetWidth(1);
        DrawAMPMFrame(fc, box);
        fc->Pen()->SetStyle(psSolid);
        DrawPointers(fc);
        DrawCenter(fc);
        Canvas()->Draw(0, 0, &frame);
        // Shown now, without a paint that would draw the face over the frame.
        if (QWidget* widget = WidgetIfAllocated()) widget->repaint();
        WatchPause(10);
    }
}

// =============================================================================================
// Style presets

void TAdvWatch::ApplyStyle(TWatchStyle Value) {
    TWatchAppearance* a = FAppearance;
    if (int(Value) > int(wsSmooth)) return;
    a->SetDefaults();
    TFont* hour = a->HourFont();
    TFont* ampm = a->AMPMFont();
    const String sansSerif = QStringLiteral("MS Sans Serif");
    const int side = std::max(0, std::min(Width(), Height()));
    auto back = [&](TColor From, TColor To) {
        a->SetBackgroundColor(From);
        a->SetBackgroundColorTo(To);
    };
    switch (Value) {
        case wsClassic:
            ampm->SetName(sansSerif);
            hour->SetName(QStringLiteral("Comic Sans MS"));
            hour->SetSize(10);
            hour->SetStyle({fsBold});
            a->SetHourMarkLength(8);
            a->SetHourPointer(TColor(0x000000));
            a->SetHourPointerShadow(clBtnShadow);
            a->SetHourPointerSize(5);
            a->SetMinutePointerShadow(clBtnShadow);
            a->SetMinuteMarkLength(4);
            FAnimation = true;
            FAnimationFactor = 10;
            SetShowAMPM(true);
            SetShowNumbers(true);
            break;
        case wsTower:
            ampm->SetName(sansSerif);
            a->SetAMPMFrame(apRect);
            a->SetBorderWidth(1);
            back(TColor(0xB1F0FE), TColor(0x5BCCE8));
            a->SetBackgroundGradient(wgDiagonalForward);
            a->SetCenterPointColor(TColor(0x002BD5));
            a->SetCenterPointSize(6);
            hour->SetColor(clWindowText);
            hour->SetName(QStringLiteral("Century"));
            hour->SetStyle({fsBold});
            a->SetHourPointer(TColor(0x000000));
            a->SetHourPointerShadow(clBtnShadow);
            a->SetHourPointerSize(5);
            a->SetMinutePointerShadow(clBtnShadow);
            a->SetSecondPointer(TColor(0x002BD5));
            a->SetShape(wsRect);
            a->SetPointerStyle(psPointer);
            a->SetAMPMColor(a->BackgroundColor());
            SetShowNumbers(false);
            a->SetTickMarks(tmHours);
            break;
        case wsFluorescent:
            ampm->SetColor(clWindowText);
            ampm->SetSize(10);
            ampm->SetName(sansSerif);
            a->SetAMPMFrame(apRoundRect);
            a->SetBorderColor(TColor(0xFF3E3E));
            back(TColor(0x000000), TColor(0x000000));
            a->SetCenterPointColor(TColor(0xFF3E3E));
            a->SetCenterPointBorderColor(TColor(0x000000));
            a->SetCenterPointOuterBorderColor(TColor(0x000000));
            a->SetCenterPointSize(20);
            hour->SetColor(clWindowText);
            hour->SetSize(8);
            hour->SetName(sansSerif);
            a->SetHourColor(TColor(0xFF3E3E));
            a->SetHourMarkLength(10);
            a->SetHourPointer(TColor(0xFF3E3E));
            a->SetHourPointerShadow(clBtnShadow);
            a->SetHourPointerSize(2);
            a->SetMinuteColor(TColor(0xFF3E3E));
            a->SetMinutePointer(TColor(0xFF3E3E));
            a->SetMinutePointerShadow(clBtnShadow);
            a->SetMinutePointerSize(2);
            a->SetShape(wsRoundRect);
            a->SetHourMarkWidth(2);
            a->SetHourMarkStyle(hmsQuartDblLine);
            a->SetTickMarks(tmHours);
            SetShowAMPM(false);
            SetShowNumbers(false);
            break;
        case wsEmerald:
            ampm->SetColor(TColor(0xA00000));
            ampm->SetName(sansSerif);
            a->SetAMPMFrame(apRoundRect);
            a->SetBorderColor(TColor(0x3AE800));
            back(TColor(0x3AE800), TColor(0x000000));
            a->SetBackgroundGradient(wgDiagonalForward);
            a->SetCenterPointBorderColor(TColor(0x40FF00));
            a->SetCenterPointColor(TColor(0x38E100));
            a->SetCenterPointSize(16);
            hour->SetColor(clWindowText);
            hour->SetName(sansSerif);
            a->SetHourPointer(TColor(0x40FF00));
            a->SetHourPointerShadow(clBtnShadow);
            a->SetHourPointerSize(5);
            a->SetMinutePointer(TColor(0x40FF00));
            a->SetMinutePointerShadow(clBtnShadow);
            a->SetShape(wsRect);
            a->SetPointerStyle(psPointer);
            a->SetAMPMColor(clNone);
            hour->SetColor(a->BackgroundColor());
            a->SetCenterPointOuterBorderColor(TColor(0x000000));
            a->SetHourMarkStyle(hmsQuartDblLine);
            a->SetHourColor(a->BackgroundColor());
            a->SetSecondPointer(TColor(0x00FFFF));
            a->SetTickMarks(tmHours);
            SetShowNumbers(false);
            SetShowAMPM(false);
            break;
        case wsBlueStar:
            ampm->SetColor(TColor(0xA00000));
            ampm->SetSize(10);
            ampm->SetName(sansSerif);
            a->SetAMPMBorderColor(clNone);
            a->SetAMPMFrame(apRoundRect);
            a->SetBorderColor(TColor(0xFFD5D5));
            back(TColor(0xFFD5D5), TColor(0xA00000));
            a->SetBackgroundGradient(wgRadial);
            hour->SetColor(clWindowText);
            hour->SetSize(8);
            hour->SetName(sansSerif);
            a->SetHourPointer(TColor(0xA00000));
            a->SetHourPointerShadow(clBtnShadow);
            a->SetHourPointerSize(5);
            a->SetMinutePointer(TColor(0xA00000));
            a->SetMinutePointerShadow(clBtnShadow);
            a->SetShape(wsRoundRect);
            a->SetPointerStyle(psPointer);
            a->SetAMPMColor(clNone);
            hour->SetColor(a->BackgroundColor());
            SetShowAMPM(true);
            SetShowNumbers(true);
            break;
        case wsFuchsia:
            ampm->SetColor(clWindowText);
            ampm->SetSize(10);
            ampm->SetName(sansSerif);
            a->SetAMPMFrame(apRoundRect);
            a->SetBorderColor(TColor(0xFFD0FF));
            back(TColor(0x000000), TColor(0x000000));
            a->SetCenterPointBorderColor(TColor(0xDD68DD));
            a->SetCenterPointSize(20);
            hour->SetColor(clWindowText);
            hour->SetSize(8);
            hour->SetName(sansSerif);
            a->SetHourColor(TColor(0xFFD0FF));
            a->SetHourMarkLength(10);
            a->SetHourPointer(TColor(0xFFD0FF));
            a->SetHourPointerShadow(clBtnShadow);
            a->SetHourPointerSize(2);
            a->SetMinuteColor(TColor(0xFFD0FF));
            a->SetMinutePointer(TColor(0xFFD0FF));
            a->SetMinutePointerShadow(clBtnShadow);
            a->SetMinutePointerSize(2);
            a->SetShape(wsRect);
            a->SetCenterPointOuterBorderColor(TColor(0x000000));
            a->SetHourMarkWidth(2);
            a->SetHourMarkStyle(hmsQuartDblLine);
            a->SetSecondPointer(TColor(0xDD68DD));
            a->SetTickMarks(tmQuartHours);
            SetShowAMPM(false);
            SetShowNumbers(false);
            break;
        case wsBlack:
            ampm->SetName(sansSerif);
            back(TColor(0x202020), clNone);
            a->SetBorderColor(TColor(0x000000));
            a->SetCenterPointBorderColor(TColor(0xFFFFFF));
            a->SetCenterPointOuterBorderColor(TColor(0xFFFFFF));
            a->SetCenterPointColor(TColor(0xFFFFFF));
            a->SetHourColor(TColor(0x585858));
            hour->SetColor(TColor(0xFFFFFF));
            hour->SetName(QStringLiteral("Century Gothic"));
            hour->SetSize(11);
            a->SetHourPointer(TColor(0xFFFFFF));
            a->SetHourPointerShadow(clBtnShadow);
            a->SetHourPointerSize(5);
            a->SetMinuteColor(TColor(0x585858));
            a->SetMinutePointer(TColor(0xFFFFFF));
            a->SetMinutePointerShadow(clBtnShadow);
            a->SetMinuteMarkLength(4);
            SetShowAMPM(false);
            SetShowNumbers(true);
            break;
        case wsBlackWhite:
            back(TColor(0xFFFFFF), clNone);
            a->SetBorderColor(TColor(0x000000));
            a->SetBorderWidth(8);
            a->SetCenterPointBorderColor(TColor(0x000000));
            a->SetCenterPointOuterBorderColor(TColor(0x000000));
            a->SetCenterPointColor(TColor(0x000000));
            a->SetCenterPointSize(8);
            a->SetHourColor(TColor(0x585858));
            hour->SetColor(TColor(0x000000));
            hour->SetName(QStringLiteral("Century Gothic"));
            hour->SetSize(14);
            hour->SetStyle({fsBold});
            a->SetHourPointer(TColor(0x000000));
            a->SetHourPointerShadow(clBtnShadow);
            a->SetHourPointerSize(5);
            a->SetMinutePointer(TColor(0x000000));
            a->SetMinutePointerShadow(clBtnShadow);
            a->SetMinuteMarkLength(4);
            a->SetSecondPointer(TColor(0x000080));
            a->SetPointerStyle(psPointer);
            a->SetTickMarks(tmQuartHours);
            SetShowAMPM(false);
            SetShowNumbers(true);
            break;
        case wsGray:
            ampm->SetName(sansSerif);
            ampm->SetSize(10);
            back(TColor(0xD1D1D1), TColor(0x6C6C6C));
            a->SetBackgroundGradient(wgRadial);
            a->SetBorderColor(TColor(0x454545));
            a->SetCenterPointBorderColor(TColor(0x454545));
            a->SetCenterPointColor(TColor(0x000000));
            a->SetCenterPointOuterBorderColor(clNone);
            a->SetHourColor(TColor(0x000000));
            hour->SetName(QStringLiteral("Comic Sans MS"));
            hour->SetSize(8);
            a->SetHourPointer(TColor(0x4E4E4E));
            a->SetHourPointerShadow(clNone);
            a->SetHourPointerSize(1);
            a->SetMinuteColor(TColor(0x808080));
            a->SetMinutePointer(TColor(0x4E4E4E));
            a->SetMinutePointerShadow(clNone);
            a->SetMinutePointerSize(1);
            a->SetSecondPointer(TColor(0x0000FF));
            SetShowAMPM(true);
            SetShowNumbers(true);
            break;
        case wsSuperNova:
            a->SetBackgroundColorTo(TColor(0xD1D3D3));
            a->SetBorderColor(clNone);
            a->SetCenterPointOuterBorderColor(TColor(0x000000));
            a->SetCenterPointSize(10);
            // Lengths from the control's size, kept within a byte on large clocks.
            a->SetHourMarkLength(ByteLength(RoundEven(side / 4.5)));
            a->SetHourPointer(TColor(0x000000));
            a->SetHourPointerShadow(clBtnShadow);
            a->SetMinuteColor(TColor(0x808080));
            a->SetMinuteMarkLength(ByteLength(side / 3));
            a->SetMinutePointer(TColor(0x000000));
            SetShowAMPM(false);
            SetShowNumbers(false);
            break;
        case wsSports:
            back(TColor(0x000000), clNone);
            a->SetBorderColor(TColor(0x000000));
            a->SetBorderWidth(1);
            a->SetCenterPointBorderColor(TColor(0xFF0000));
            a->SetCenterPointOuterBorderColor(TColor(0x000000));
            a->SetCenterPointColor(TColor(0x191919));
            a->SetCenterPointSize(ByteLength(RoundEven(side / 3.6)));
            a->SetHourColor(TColor(0xABB0B1));
            hour->SetColor(TColor(0x797979));
            hour->SetName(QStringLiteral("Times New Roman"));
            hour->SetSize(9);
            a->SetHourPointer(TColor(0x0000FF));
            a->SetHourPointerShadow(clNone);
            a->SetHourPointerSize(2);
            a->SetMinuteColor(TColor(0x808080));
            a->SetMinutePointer(TColor(0x00FFFF));
            a->SetMinutePointerSize(2);
            a->SetMinutePointerShadow(clNone);
            a->SetMinuteMarkLength(1);
            a->SetSecondPointer(TColor(0x188BFE));
            a->SetTickMarks(tmQuartHours);
            SetShowAMPM(false);
            SetShowNumbers(true);
            break;
        case wsSmooth:
            back(TColor(0xFFFFFF), TColor(0xABB0B1));
            a->SetBorderColor(TColor(0x585858));
            a->SetBorderWidth(1);
            a->SetCenterPointBorderColor(TColor(0x000000));
            a->SetCenterPointOuterBorderColor(TColor(0x4A4A4A));
            a->SetCenterPointColor(TColor(0xFFFFFF));
            a->SetCenterPointSize(6);
            a->SetHourColor(TColor(0xABB0B1));
            hour->SetColor(TColor(0x797979));
            hour->SetName(QStringLiteral("Times New Roman"));
            hour->SetSize(9);
            a->SetHourPointer(TColor(0x4A4A4A));
            a->SetHourPointerShadow(TColor(0xB2B2B2));
            a->SetHourPointerSize(2);
            a->SetMinuteColor(TColor(0x808080));
            a->SetMinutePointer(TColor(0x4A4A4A));
            a->SetMinutePointerSize(2);
            a->SetMinutePointerShadow(TColor(0xB2B2B2));
            a->SetMinuteMarkLength(1);
            a->SetSecondPointer(TColor(0x4A4A4A));
            a->SetTickMarks(tmQuartHours);
            SetShowAMPM(false);
            SetShowNumbers(true);
            break;
    }
    Invalidate();
}
