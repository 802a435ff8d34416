#include "AdvTimePickerDropDown.h"

#include "ComCtrls.h"
#include "ExtPanels.h"
#include "Forms.h"

#include <cmath>

namespace {

String Separator() {
    return String(FormatSettings.TimeSeparator);
}

// The whole days of a date-time, which a change of the time of day keeps.
TDateTime DaysOf(TDateTime T) {
    return std::trunc(T);
}

} // namespace

String BlanksToZeros(const String& Text) {
    String t = Text;
    t.replace(u' ', u'0');
    return t;
}

bool IsTwoDigitField(const String& Field) {
    if (Field.size() > 2) return false;
    for (Char c : Field)
        if (c < u'0' || c > u'9') return false;
    return true;
}

TAdvTimePickerDropDown::TAdvTimePickerDropDown(TComponent* AOwner)
    : TAdvCustomDropDown(AOwner), FWatchAppearance(new TWatchAppearance()) {
    FShowTimePicker = false;
    SetEditorEnabled(false);
    SetDropDownEnabled(true);
    FShowSeconds = true;
    FInternalCall = true;
    SetEditMask(TimeMask());
    SetEditorText(TimeToText(0, 0, 0));
    FInternalCall = false;
    FWatchSettings = new TWatchSettings();
    FShowWatchAMPM = true;
    FShowWatchNumbers = true;
    FAnimation = true;
    FAnimationFactor = 10;
    DropDownHeader()->SetVisible(false);
    DropDownFooter()->SetVisible(false);
    // The base made the popup form before this control's slots existed: make panel and clock now.
    if (!HasState(csDesigning)) CreateDropDownForm();
}

TAdvTimePickerDropDown::~TAdvTimePickerDropDown() {
    if (FAdvWatch) FAdvWatch->OnChange = nullptr;
    if (FDateTimePicker) FDateTimePicker->OnChange = nullptr;
    TObject::Free(FWatchAppearance);
    FWatchAppearance = nullptr;
    TObject::Free(FWatchSettings);
    FWatchSettings = nullptr;
}

// =============================================================================================
// Text of a time

String TAdvTimePickerDropDown::TwoDigits(int N) {
    const String s = IntToStr(N);
    if (s.isEmpty()) return QStringLiteral("00");
    return s.size() == 1 ? QStringLiteral("0") + s : s;
}

String TAdvTimePickerDropDown::TimeToText(int H, int M, int S) const {
    String t = TwoDigits(H) + Separator() + TwoDigits(M);
    if (FShowSeconds) t += Separator() + TwoDigits(S);
    return t;
}

String TAdvTimePickerDropDown::TimeMask() const {
    const String t = Separator();
    return QStringLiteral("!90") + t + QStringLiteral("00") +
           (FShowSeconds ? t + QStringLiteral("00") : String()) + QStringLiteral(";1; ");
}

// =============================================================================================
// Properties

void TAdvTimePickerDropDown::SetTime(TDateTime Value) {
    if (Value == FTime) return;
    FTime = Value;
    ShowTimeText();
    if (DroppedDown() && FAdvWatch) {
        FAdvWatch->SetTime(Value);
        if (FShowTimePicker && FDateTimePicker) FDateTimePicker->SetTime(Value);
    }
}

void TAdvTimePickerDropDown::ShowTimeText() {
    Word h = 0, m = 0, s = 0, ms = 0;
    DecodeTime(FTime, h, m, s, ms);
    // Reading the text back would drop what it cannot hold (milliseconds, the date).
    const bool internal = FInternalCall;
    FInternalCall = true;
    SetEditorText(TimeToText(h, m, s));
    FInternalCall = internal;
}

void TAdvTimePickerDropDown::SetPart(int Index, int Value) {
    Word parts[4] = {};
    DecodeTime(FTime, parts[0], parts[1], parts[2], parts[3]);
    const int limit = Index == 0 ? 24 : 60;
    if (Value < 0 || Value >= limit || parts[Index] == Value) return;
    parts[Index] = Word(Value);
    SetTime(DaysOf(FTime) + EncodeTime(parts[0], parts[1], parts[2], parts[3]));
    if (Assigned(OnTimeChange)) OnTimeChange(this);
}

void TAdvTimePickerDropDown::SetHourPart(int Value) {
    SetPart(0, Value);
}

void TAdvTimePickerDropDown::SetMinutePart(int Value) {
    SetPart(1, Value);
}

void TAdvTimePickerDropDown::SetSecondPart(int Value) {
    SetPart(2, Value);
}

void TAdvTimePickerDropDown::SetShowSeconds(bool Value) {
    if (FShowSeconds == Value) return;
    FShowSeconds = Value;
    const TDateTime time = FTime;
    const bool internal = FInternalCall;
    FInternalCall = true;
    SetEditMask(String());
    SetEditorText(String());
    SetEditMask(TimeMask());
    FInternalCall = internal;
    // A different stored value makes the write below rewrite the edit in the new form.
    FTime = time + 1;
    SetTime(time);
}

void TAdvTimePickerDropDown::SetComponentStyle(TKitStyle AStyle) {
    TAdvCustomDropDown::SetComponentStyle(AStyle);
    // The base constructor styles the control before the appearance exists.
    ApplyWatchComponentStyle(FWatchAppearance, AStyle);
}

void TAdvTimePickerDropDown::SetText(const String& Value) {
    TAdvCustomDropDown::SetText(Value);
}

// =============================================================================================
// The popup

void TAdvTimePickerDropDown::CreateDropDownForm() {
    TAdvCustomDropDown::CreateDropDownForm();
    if (!DropDownForm()) return;
    if (!FPanelCtrl) {
        // A flat holder (the class library's Ctl3D off is the look a panel has here anyway).
        FPanelCtrl = new TPanel(this);
        FPanelCtrl->SetParent(DropDownForm());
        FPanelCtrl->SetBorderWidth(0);
        FPanelCtrl->SetBevelInner(bvNone);
        FPanelCtrl->SetBounds(0, 0, FPanelCtrl->Width(), 180);
    }
    if (!FAdvWatch) {
        FAdvWatch = new TAdvWatch(this);
        FAdvWatch->SetParent(FPanelCtrl);
    }
    FAdvWatch->SetAlign(alClient);
    SetControl(FPanelCtrl);
}

void TAdvTimePickerDropDown::DoBeforeDropDown() {
    TAdvCustomDropDown::DoBeforeDropDown();
    if (!FPanelCtrl || !FAdvWatch) return;
    FPanelCtrl->SetBounds(FPanelCtrl->Left(), FPanelCtrl->Top(), 170, 170);
    if (TDropDownForm* form = DropDownForm()) {
        // A new width and back again lays the popup out anew.
        form->SetWidth(form->Width() + 1);
        form->SetWidth(form->Width() - 1);
        form->SetCancelOnDeActivate(false);
    }
    FPanelCtrl->SetColor(DropDownColor());
    FAdvWatch->SetAppearance(FWatchAppearance);
    FAdvWatch->SetSettings(FWatchSettings);
    FAdvWatch->SetShowAMPM(FShowWatchAMPM);
    FAdvWatch->SetShowNumbers(FShowWatchNumbers);
    FAdvWatch->SetAnimation(FAnimation);
    FAdvWatch->SetAnimationFactor(FAnimationFactor);
    FAdvWatch->OnChange = nullptr;
    if (!FWatchSettings->Auto()) FAdvWatch->SetTime(FTime);
    FAdvWatch->OnChange = [this](TObject* Sender) { WatchChange(Sender); };
    if (!FShowTimePicker) {
        if (FDateTimePicker) FDateTimePicker->SetVisible(false);
        return;
    }
    if (!FDateTimePicker) {
        FDateTimePicker = new TDateTimePicker(this);
        FDateTimePicker->SetParent(FPanelCtrl);
        FDateTimePicker->SetKind(dtkTime);
    }
    FDateTimePicker->OnChange = nullptr;
    FDateTimePicker->SetAlign(alBottom);
    FDateTimePicker->SetVisible(true);
    FDateTimePicker->SetTime(FTime);
    FDateTimePicker->BringToFront();
    FDateTimePicker->OnChange = [this](TObject* Sender) { TimePickerChange(Sender); };
    FDateTimePicker->OnKeyDown = [this](TObject* Sender, Word& Key, TShiftState Shift) {
        DropDownControlKeyDown(Sender, Key, Shift);
    };
    FDateTimePicker->OnKeyPress = [this](TObject* Sender, Char& Key) {
        DropDownControlKeyPress(Sender, Key);
    };
    FDateTimePicker->OnKeyUp = [this](TObject* Sender, Word& Key, TShiftState Shift) {
        DropDownControlKeyUp(Sender, Key, Shift);
    };
    FDateTimePicker->SetFormat(FShowSeconds ? QStringLiteral("HH:mm:ss") : QStringLiteral("HH:mm"));
    FPanelCtrl->SetHeight(FDateTimePicker->Height() + 170);
}

void TAdvTimePickerDropDown::WatchChange(TObject*) {
    if (!FAdvWatch) return;
    const TDateTime clock = FAdvWatch->Time();
    // Every time the user picks on the clock is told, whether or not the picker shows.
    bool changed = clock != FTime;
    if (FDateTimePicker && FShowTimePicker && FDateTimePicker->Time() != clock - DaysOf(clock)) {
        FDateTimePicker->SetTime(clock);
        changed = true;
    }
    SetTime(clock);
    if (changed && Assigned(OnTimeChange)) OnTimeChange(this);
}

void TAdvTimePickerDropDown::TimePickerChange(TObject*) {
    if (!FDateTimePicker || !FAdvWatch || FWatchSettings->Auto()) return;
    FAdvWatch->SetTime(FDateTimePicker->Time());
}

bool TAdvTimePickerDropDown::PassesToEdit(Word Key, bool Alt) {
    const bool stepping = Key == VK_PRIOR || Key == VK_NEXT || Key == VK_UP || Key == VK_DOWN;
    return !stepping || Alt;
}

void TAdvTimePickerDropDown::DropDownFormKeyDown(TObject* Sender, Word& Key, TShiftState Shift) {
    if (PassesToEdit(Key, Shift.count(ssAlt))) TAdvCustomDropDown::DropDownFormKeyDown(Sender, Key, Shift);
    if (DropDownForm() && DropDownForm()->Visible() && FAdvWatch) FAdvWatch->HandleKey(Key);
}

void TAdvTimePickerDropDown::DropDownFormKeyUp(TObject* Sender, Word& Key, TShiftState Shift) {
    if (PassesToEdit(Key, Shift.count(ssAlt))) TAdvCustomDropDown::DropDownFormKeyUp(Sender, Key, Shift);
}

void TAdvTimePickerDropDown::DropDownControlKeyDown(TObject* Sender, Word& Key, TShiftState Shift) {
    if (PassesToEdit(Key, Shift.count(ssAlt))) TAdvCustomDropDown::DropDownControlKeyDown(Sender, Key, Shift);
}

void TAdvTimePickerDropDown::DropDownControlKeyUp(TObject* Sender, Word& Key, TShiftState Shift) {
    if (PassesToEdit(Key, Shift.count(ssAlt))) TAdvCustomDropDown::DropDownControlKeyUp(Sender, Key, Shift);
}

void TAdvTimePickerDropDown::DropDownControlKeyPress(TObject* Sender, Char& Key) {
    if (PassesToEdit(Word(Key.unicode()), GetKeyState(VK_MENU) < 0))
        TAdvCustomDropDown::DropDownControlKeyPress(Sender, Key);
}

void TAdvTimePickerDropDown::DropDownFormHide(TObject* Sender) {
    TAdvCustomDropDown::DropDownFormHide(Sender);
    if (FAdvWatch) SetTime(FAdvWatch->Time());
}

void TAdvTimePickerDropDown::DoHideDropDown(bool CancelChanges) {
    const bool shown = DropDownForm() && DropDownForm()->Visible();
    TAdvCustomDropDown::DoHideDropDown(CancelChanges);
    if (!shown || !FAdvWatch) return;
    if (!CancelChanges) {
        SetTime(FAdvWatch->Time());
        return;
    }
    FAdvWatch->SetTime(FTime);
    // The base wrote back the text of its last programmatic write, which this control hardly
    // makes: the edit shows Time instead, so that both agree.
    ShowTimeText();
}

// =============================================================================================
// Keys and typing

void TAdvTimePickerDropDown::KeyDown(Word& Key, TShiftState Shift) {
    const Word key = Key;
    TAdvCustomDropDown::KeyDown(Key, Shift);
    if (GetKeyState(VK_MENU) < 0 || Shift.count(ssAlt) || Shift.count(ssCtrl)) return;
    if (key != VK_UP && key != VK_DOWN) return;
    const int p = SelStart();
    const String t = Text();
    const String sep = Separator();
    const int a = Pos(sep, t);
    if (a <= 0) return;
    int field = 0; // hour, minute, second
    if (p >= a) {
        const int b = Pos(sep, t.mid(a));
        field = (p - a >= b && FShowSeconds) ? 2 : 1;
    }
    Word parts[4] = {};
    DecodeTime(FTime, parts[0], parts[1], parts[2], parts[3]);
    const int last = field == 0 ? 23 : 59;
    const int value = parts[field];
    const int next = key == VK_UP ? (value == 0 ? last : value - 1) : (value == last ? 0 : value + 1);
    SetPart(field, next);
    SetSelStart(p);
    SetSelLength(0);
}

bool TAdvTimePickerDropDown::IsValidTimeText(const String& Text) const {
    const String sep = Separator();
    const qsizetype first = Text.indexOf(sep);
    if (first < 0) return false;
    const String rest = Text.mid(first + sep.size()).trimmed();
    const qsizetype second = rest.indexOf(sep);
    if (!FShowSeconds) return second < 0;
    if (second < 0) return false;
    return !rest.mid(second + sep.size()).trimmed().contains(sep);
}

void TAdvTimePickerDropDown::Change() {
    TAdvCustomDropDown::Change();
    if (FInternalCall) return;
    const String text = Text();
    // Only a time typed in full, in the current form: hh:mm:ss or hh:mm.
    if (text.trimmed().size() != (FShowSeconds ? 8 : 5)) return;
    if (!IsValidTimeText(text)) return;
    const String t = BlanksToZeros(text);
    const String sep = Separator();
    const qsizetype first = t.indexOf(sep);
    const String hour = t.left(first).trimmed();
    String minute = t.mid(first + sep.size());
    String second;
    if (FShowSeconds) {
        const qsizetype next = minute.indexOf(sep);
        second = minute.mid(next + sep.size()).trimmed();
        minute = minute.left(next);
    }
    minute = minute.trimmed();
    if (!IsTwoDigitField(hour) || !IsTwoDigitField(minute) || !IsTwoDigitField(second)) return;
    auto number = [](const String& Field) { return Field.isEmpty() ? 0 : StrToInt(Field); };
    const int h = number(hour), m = number(minute), s = number(second);
    // An hour of 24 or a minute or second of 60 fails with the platform's message, which goes
    // to the application's error report here: the change comes from inside the edit's own
    // text handling, which an exception must not cross. Time keeps its value.
    try {
        FTime = EncodeTime(Word(h), Word(m), Word(s), 0);
    } catch (const EConvertError&) {
        if (Application) Application->HandleException(this);
        return;
    }
    const String shown = TimeToText(h, m, s);
    if (shown != Text() && m == 0 && s == 0) {
        const bool internal = FInternalCall;
        FInternalCall = true;
        SetText(shown);
        FInternalCall = internal;
    }
}
