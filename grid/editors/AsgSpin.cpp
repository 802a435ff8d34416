#include "AsgSpin.h"

#include "CellDraw.h"
#include "EditWithButtons.h"
#include "OSInfo.h"

#include <algorithm>

namespace {

// The Tab that Enter becomes under ReturnIsTab, posted to the edit itself and then delivered as
// the message loop delivers a key: first as CN_KEYDOWN, where the form takes it as the dialog
// key that moves the focus on.
UINT PostedTabMessage() {
    static const UINT message = RegisterWindowMessage(QStringLiteral("AsgSpinEditPostedTab"));
    return message;
}

} // namespace

// =============================================================================================
// TAdvTimerSpeedButton

TAdvTimerSpeedButton::TAdvTimerSpeedButton(TComponent* AOwner) : TSpeedButton(AOwner) {}

TAdvTimerSpeedButton::~TAdvTimerSpeedButton() {
    TObject::Free(FRepeatTimer);
    FRepeatTimer = nullptr;
}

void TAdvTimerSpeedButton::SetIsWinXP(bool Value) {
    FIsWinXP = Value;
    Invalidate();
}

void TAdvTimerSpeedButton::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
    TSpeedButton::MouseDown(Button, Shift, X, Y);
    if (FTimeBtnState.count(tbAllowTimer)) {
        if (!FRepeatTimer) {
            FRepeatTimer = new TTimer(nullptr);
            FRepeatTimer->OnTimer = [this](TObject* Sender) { TimerExpired(Sender); };
        }
        FRepeatTimer->SetInterval(400);
        FRepeatTimer->SetEnabled(true);
    }
    if (Parent()) Parent()->Repaint();
}

void TAdvTimerSpeedButton::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
    TSpeedButton::MouseUp(Button, Shift, X, Y);
    if (FRepeatTimer) FRepeatTimer->SetEnabled(false);
    if (Parent()) Parent()->Repaint();
}

void TAdvTimerSpeedButton::TimerExpired(TObject*) {
    FRepeatTimer->SetInterval(100);
    if (FState != bsDown || !MouseCapture()) return;
    try {
        Click();
    } catch (...) {
        FRepeatTimer->SetEnabled(false);
        throw;
    }
}

void TAdvTimerSpeedButton::Dispatch(TMessage& Message) {
    TSpeedButton::Dispatch(Message);
    if (Message.Msg == CM_MOUSEENTER || Message.Msg == CM_MOUSELEAVE) {
        FHasMouse = Message.Msg == CM_MOUSEENTER;
        Repaint();
    }
}

void TAdvTimerSpeedButton::Paint() {
    auto* owner = dynamic_cast<TAsgSpinButton*>(Owner());
    const bool pressed = FState == bsDown || FState == bsExclusive;
    TCanvas* C = Canvas();
    const TRect R(0, 0, Width(), Height());
    if (owner && owner->ButtonColor != clNone) {
        TColor face = pressed     ? owner->ButtonColorDown
                      : FHasMouse ? owner->ButtonColorHot
                                  : owner->ButtonColor;
        if (face == clNone) face = owner->ButtonColor;
        C->Brush()->SetStyle(bsSolid);
        C->Brush()->SetColor(face);
        C->Pen()->SetColor(face);
        C->Rectangle(R.Left, R.Top, R.Right, R.Bottom);
        C->Brush()->SetColor(clBlack);
        C->Pen()->SetColor(clBlack);
        const int l = R.Left, t = R.Top;
        switch (FButtonDirection) {
            case bdUp: C->Polygon({TPoint(l + 4, t + 4), TPoint(l + 8, t + 4), TPoint(l + 6, t + 2)}); break;
            case bdDown:
                C->Polygon({TPoint(l + 4, t + 2), TPoint(l + 8, t + 2), TPoint(l + 6, t + 4)});
                break;
            case bdLeft:
                C->Polygon({TPoint(l + 5, t + 5), TPoint(l + 3, t + 7), TPoint(l + 5, t + 9)});
                break;
            case bdRight:
                C->Polygon({TPoint(l + 3, t + 5), TPoint(l + 5, t + 7), TPoint(l + 3, t + 9)});
                break;
        }
        return;
    }
    if (FIsWinXP && owner) {
        int part = SPNP_UP;
        switch (FButtonDirection) {
            case bdUp: part = SPNP_UP; break;
            case bdDown: part = SPNP_DOWN; break;
            case bdRight: part = SPNP_UPHORZ; break;
            case bdLeft: part = SPNP_DOWNHORZ; break;
        }
        // The spin parts share their state numbers: 1 normal, 2 hot, 3 pressed.
        const int state = pressed ? 3 : FHasMouse ? 2 : 1;
        if (DrawThemed(C, owner->Handle(), u"spin", part, state, R)) return;
    }
    if (FButtonDirection == bdLeft || FButtonDirection == bdRight) {
        Cardinal flags = FButtonDirection == bdLeft ? DFCS_SCROLLLEFT : DFCS_SCROLLRIGHT;
        if (pressed) flags |= DFCS_PUSHED;
        if (Flat()) flags |= DFCS_FLAT;
        TRect r = R;
        DrawFrameControl(C, r, DFC_SCROLL, flags);
        return;
    }
    TSpeedButton::Paint();
}

// =============================================================================================
// TAsgSpinButton

TAsgSpinButton::TAsgSpinButton(TComponent* AOwner) : TWinControl(AOwner) {
    TControlStyle style = ControlStyle();
    style.erase(csAcceptsControls);
    style.erase(csSetCaption);
    style.insert(csOpaque);
    SetControlStyle(style);
    FUpButton = CreateButton();
    FDownButton = CreateButton();
    SetUpGlyph(nullptr);
    SetDownGlyph(nullptr);
    FUpButton->SetButtonDirection(bdUp);
    FDownButton->SetButtonDirection(bdDown);
    SetBounds(0, 0, 15, 25);
    FFocusedButton = FUpButton;
}

TAdvTimerSpeedButton* TAsgSpinButton::CreateButton() {
    auto* b = new TAdvTimerSpeedButton(this);
    b->OnClick = [this](TObject* Sender) { BtnClick(Sender); };
    b->OnMouseDown = [this](TObject* Sender, TMouseButton Button, TShiftState, int, int) {
        BtnMouseDown(Sender, Button);
    };
    b->SetVisible(true);
    b->SetEnabled(true);
    b->SetTimeBtnState({tbAllowTimer});
    b->SetParent(this);
    return b;
}

void TAsgSpinButton::BtnClick(TObject* Sender) {
    if (Sender == FUpButton) {
        if (Assigned(OnUpClick)) OnUpClick(this);
    } else if (Assigned(OnDownClick)) {
        OnDownClick(this);
    }
}

void TAsgSpinButton::BtnMouseDown(TObject* Sender, TMouseButton Button) {
    if (Button != mbLeft) return;
    SetFocusBtn(static_cast<TAdvTimerSpeedButton*>(Sender));
    FocusAfterButtonPress(this, FFocusControl);
}

void TAsgSpinButton::SetFocusBtn(TAdvTimerSpeedButton* Btn) {
    if (!TabStop() || !CanFocus() || Btn == FFocusedButton) return;
    TTimeBtnState s = FFocusedButton->TimeBtnState();
    s.erase(tbFocusRect);
    FFocusedButton->SetTimeBtnState(s);
    FFocusedButton = Btn;
    if (Focused()) {
        s = FFocusedButton->TimeBtnState();
        s.insert(tbFocusRect);
        FFocusedButton->SetTimeBtnState(s);
        Invalidate();
    }
}

void TAsgSpinButton::AdjustSize(int& W, int& H) {
    if (!FUpButton || !FDownButton || HasState(csLoading)) return;
    if (FDirection == spVertical) {
        if (W < 15) W = 15;
        FUpButton->SetBounds(0, 0, W, H / 2);
        FDownButton->SetBounds(0, FUpButton->Height() - 1, W, H - FUpButton->Height() + 1);
    } else {
        if (W < 20) W = 20;
        FDownButton->SetBounds(0, 0, W / 2, H);
        FUpButton->SetBounds(W / 2 + 1, 0, W / 2, H);
    }
}

void TAsgSpinButton::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
    int w = AWidth, h = AHeight;
    AdjustSize(w, h);
    TWinControl::SetBounds(ALeft, ATop, w, h);
}

void TAsgSpinButton::Loaded() {
    TWinControl::Loaded();
    int w = Width(), h = Height();
    AdjustSize(w, h);
    if (w != Width() || h != Height()) TWinControl::SetBounds(Left(), Top(), w, h);
}

void TAsgSpinButton::SetDirection(TSpinDirection Value) {
    if (Value == FDirection) return;
    FDirection = Value;
    if (HandleAllocated()) RecreateWnd();
    if (Value == spHorizontal) {
        FUpButton->SetButtonDirection(bdRight);
        FDownButton->SetButtonDirection(bdLeft);
        SetWidth(20);
    } else {
        FUpButton->SetButtonDirection(bdUp);
        FDownButton->SetButtonDirection(bdDown);
        SetWidth(15);
    }
}

void TAsgSpinButton::SetFocusControl(TWinControl* Value) {
    FFocusControl = Value;
    if (Value) Value->FreeNotification(this);
}

void TAsgSpinButton::Notification(TComponent* AComponent, TOperation Operation) {
    TWinControl::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == FFocusControl) FFocusControl = nullptr;
}

void TAsgSpinButton::SetIsWinXP(bool Value) {
    FIsWinXP = Value;
    FUpButton->SetIsWinXP(Value);
    FDownButton->SetIsWinXP(Value);
}

// A glyph of one's own, or (nullptr) the default arrow of the resource Name.
static void SetSpinGlyph(TAdvTimerSpeedButton* Button, TBitmap* Value, const char* Name) {
    if (Value) {
        Button->SetGlyph(Value);
        return;
    }
    Button->Glyph()->LoadFromResourceName(QString::fromLatin1(Name));
    Button->SetNumGlyphs(1);
}

void TAsgSpinButton::SetUpGlyph(TBitmap* Value) {
    SetSpinGlyph(FUpButton, Value, "AsgSpinUp");
}

void TAsgSpinButton::SetDownGlyph(TBitmap* Value) {
    SetSpinGlyph(FDownButton, Value, "AsgSpinDown");
}

void TAsgSpinButton::KeyDown(Word& Key, TShiftState Shift) {
    switch (Key) {
        case VK_UP:
            SetFocusBtn(FUpButton);
            FUpButton->Click();
            break;
        case VK_DOWN:
            SetFocusBtn(FDownButton);
            FDownButton->Click();
            break;
        case VK_SPACE: FFocusedButton->Click(); break;
        default: break;
    }
    TWinControl::KeyDown(Key, Shift);
}

void TAsgSpinButton::Dispatch(TMessage& Message) {
    switch (Message.Msg) {
        case WM_GETDLGCODE: Message.Result = DLGC_WANTARROWS; break;
        case WM_SETFOCUS:
        case WM_KILLFOCUS: {
            TWinControl::Dispatch(Message);
            TTimeBtnState s = FFocusedButton->TimeBtnState();
            if (Message.Msg == WM_SETFOCUS)
                s.insert(tbFocusRect);
            else
                s.erase(tbFocusRect);
            FFocusedButton->SetTimeBtnState(s);
            FFocusedButton->Repaint();
            break;
        }
        case WM_SIZE: {
            TWinControl::Dispatch(Message);
            int w = Width(), h = Height();
            AdjustSize(w, h);
            if (w != Width() || h != Height()) TWinControl::SetBounds(Left(), Top(), w, h);
            break;
        }
        default: TWinControl::Dispatch(Message);
    }
}

// =============================================================================================
// TAsgSpinEdit

TAsgSpinEdit::TAsgSpinEdit(TComponent* AOwner) : TCustomMaskEdit(AOwner) {
    FButton = new TAsgSpinButton(this);
    FButton->SetBounds(0, 0, 15, 17);
    FButton->SetVisible(true);
    FButton->SetParent(this);
    FButton->SetFocusControl(this);
    FButton->OnUpClick = [this](TObject* Sender) { UpButtonClick(Sender); };
    FButton->OnDownClick = [this](TObject* Sender) { DownButtonClick(Sender); };
    SetText(QStringLiteral("0"));
    TControlStyle style = ControlStyle();
    style.erase(csSetCaption);
    SetControlStyle(style);
}

TAsgSpinEdit::~TAsgSpinEdit() {
    // The button is a child component: it goes with the edit.
    FButton = nullptr;
}

// ---- Values ----

int TAsgSpinEdit::Value() const {
    const String s = Trim(Text());
    if (s.isEmpty()) return 0;
    int v = 0;
    return TryStrToInt(s, v) ? v : FMinValue;
}

void TAsgSpinEdit::SetValue(int Value) {
    if (FMinValue != FMaxValue)
        Value = std::clamp(Value, std::min(FMinValue, FMaxValue), std::max(FMinValue, FMaxValue));
    SetText(IntToStr(Value));
    if (!FEditorEnabled) SelectAll();
}

double TAsgSpinEdit::FloatValue() const {
    double v = 0;
    return TryStrToFloat(Text(), v) ? v : double(FMinValue);
}

void TAsgSpinEdit::SetFloatValue(double Value) {
    if (FMinFloatValue != FMaxFloatValue)
        Value = std::clamp(Value, std::min(FMinFloatValue, FMaxFloatValue),
                           std::max(FMinFloatValue, FMaxFloatValue));
    SetText(FPrecision > 0 ? FloatToStrF(Value, ffFixed, 15, FPrecision) : FloatToStr(Value));
}

TDateTime TAsgSpinEdit::ClampDate(TDateTime Value) const {
    if (FMinDateValue == FMaxDateValue) return Value;
    return std::clamp(Value, std::min(FMinDateValue, FMaxDateValue), std::max(FMinDateValue, FMaxDateValue));
}

void TAsgSpinEdit::ShowKeepingCaret(const String& Value) {
    const int caret = SelStart();
    SetText(Value);
    SetSelStart(caret);
}

TDateTime TAsgSpinEdit::DateValue() const {
    const String s = Text();
    if (s.isEmpty() || s == QStringLiteral("0")) return Now();
    TDateTime v = 0;
    return TryStrToDate(s, v) ? v : FMinDateValue;
}

void TAsgSpinEdit::SetDateValue(TDateTime Value) {
    FDateValue = Value;
    if (HasState(csLoading)) return;
    ShowKeepingCaret(DateToStr(ClampDate(Value)));
}

TDateTime TAsgSpinEdit::TimeValue() const {
    TDateTime v = 0;
    return TryStrToTime(Text(), v) ? v : 0;
}

void TAsgSpinEdit::SetTimeValue(TDateTime Value) {
    FTimeValue = Value;
    if (HasState(csLoading)) return;
    Value = ClampDate(Value);
    ShowKeepingCaret(ShowSeconds ? TimeToStr(Value) : FormatDateTime(QStringLiteral("h:nn"), Value));
}

// ---- Settings ----

void TAsgSpinEdit::SetSpinType(TAsgSpinType Value) {
    FSpinType = Value;
    switch (Value) {
        case sptNormal: SetValue(this->Value()); break;
        case sptFloat: SetFloatValue(FloatValue()); break;
        case sptDate: SetDateValue(DateValue()); break;
        case sptTime: SetTimeValue(TimeValue()); break;
    }
}

void TAsgSpinEdit::SetPrecision(int Value) {
    FPrecision = Value;
    if (FSpinType == sptFloat) SetFloatValue(FloatValue());
}

void TAsgSpinEdit::SetDirection(TSpinDirection Value) {
    if (Value == FDirection) return;
    FDirection = Value;
    FButton->SetDirection(Value);
    // A width change lays the edit out again with the button's new width.
    SetWidth(Width() + 1);
    SetWidth(Width() - 1);
}

void TAsgSpinEdit::SetEditAlign(TEditAlign Value) {
    FEditAlign = Value;
    RecreateWnd();
}

void TAsgSpinEdit::SetSpinFlat(bool Value) {
    FButton->UpButton()->SetFlat(Value);
    FButton->DownButton()->SetFlat(Value);
    FSpinFlat = Value;
}

void TAsgSpinEdit::SetSpinTransparent(bool Value) {
    FButton->UpButton()->SetTransparent(Value);
    FButton->DownButton()->SetTransparent(Value);
    FSpinTransparent = Value;
    SetWidth(Width() + 1);
    SetWidth(Width() - 1);
}

void TAsgSpinEdit::SetIsWinXP(bool Value) {
    FIsWinXP = Value;
    FButton->SetIsWinXP(Value);
}

void TAsgSpinEdit::Loaded() {
    TCustomMaskEdit::Loaded();
    if (FSpinType == sptDate) SetDateValue(FDateValue);
    if (FSpinType == sptTime) SetTimeValue(FTimeValue);
    SetSpinType(FSpinType);
}

// ---- Stepping ----

void TAsgSpinEdit::StepUp(bool Page) {
    Step(true, Page);
}

void TAsgSpinEdit::StepDown(bool Page) {
    Step(false, Page);
}

void TAsgSpinEdit::UpButtonClick(TObject*) {
    StepUp(false);
}

void TAsgSpinEdit::DownButtonClick(TObject*) {
    StepDown(false);
}

void TAsgSpinEdit::Step(bool Up, bool Page) {
    if (ReadOnly()) {
        MessageBeep(0);
        return;
    }
    const int sign = Up ? 1 : -1;
    const String text = Text();
    const int caret = SelStart();
    // 1-based positions of the first and the second separator (0: none).
    auto separators = [&text](Char Sep, int& First, int& Second) {
        const String sep(Sep);
        First = Pos(sep, text);
        Second = First > 0 ? PosEx(sep, text, First + 1) : 0;
    };
    switch (FSpinType) {
        case sptNormal: SetValue(Value() + sign * Increment); break;
        case sptFloat:
            SetFloatValue(FloatValue() + sign * (Page ? IncrementFloatPage : IncrementFloat));
            break;
        case sptDate: {
            const String fmt = UpperCase(FormatSettings.ShortDateFormat);
            FUsDates = Pos(QStringLiteral("M"), fmt) < Pos(QStringLiteral("D"), fmt);
            int s1 = 0, s2 = 0;
            separators(FormatSettings.DateSeparator, s1, s2);
            enum { Day, Month, Year } part;
            if (FUsDates)
                part = caret < s1 ? Month : caret < s2 ? Day : Year;
            else
                part = caret < s1 ? Day : caret < s2 ? Month : Year;
            TDateTime d = DateValue();
            switch (part) {
                case Day: d += sign; break;
                case Month: d = IncMonth(d, sign); break;
                case Year: {
                    Word y, m, day;
                    DecodeDate(d, y, m, day);
                    d = EncodeDate(Word(y + sign), m, day); // 29 February into a common year raises
                    break;
                }
            }
            SetDateValue(d);
            break;
        }
        case sptTime: {
            int t1 = 0, t2 = 0;
            separators(FormatSettings.TimeSeparator, t1, t2);
            // Increments of 24 hours, 60 minutes or 60 seconds and above do not encode: the step
            // raises before anything changes.
            TDateTime amount;
            if (caret < t1)
                amount = EncodeTime(Word(IncrementHours), 0, 0, 0);
            else if (ShowSeconds && caret >= t2)
                amount = EncodeTime(0, 0, Word(IncrementSeconds), 0);
            else
                amount = EncodeTime(0, Word(IncrementMinutes), 0, 0);
            TDateTime t;
            if (Up) {
                t = TimeValue() + amount;
            } else {
                // Below midnight wraps to the evening before.
                t = TimeValue() + 1 - amount;
                if (t > 1) t -= 1;
            }
            SetTimeValue(t);
            break;
        }
    }
}

// ---- Keys ----

bool TAsgSpinEdit::CharAllowed(Char& Key) {
    const TFormatSettings& fs = FormatSettings;
    const Char dec = fs.DecimalSeparator, thousand = fs.ThousandSeparator, timeSep = fs.TimeSeparator,
               dateSep = fs.DateSeparator;
    const ushort code = Key.unicode();
    if (code == VK_BACK) return FEditorEnabled;
    const bool control = code < 32;
    bool allowed = Key == timeSep || Key == dateSep || Key == dec || Key == thousand || Key.isNumber() ||
                   Key == u'-' || (control && code != VK_RETURN);
    // A separator of another type passes only where it doubles as a number character.
    auto foreignSeparator = [&](Char Sep) {
        const bool numeric = FSpinType == sptNormal || FSpinType == sptFloat;
        return !(numeric && (Sep == dec || Sep == thousand || Sep == u'-' || Sep == u'+'));
    };
    if (Key == timeSep && FSpinType != sptTime && foreignSeparator(timeSep)) allowed = false;
    if (Key == dateSep && FSpinType != sptDate && foreignSeparator(dateSep)) allowed = false;
    const String text = Text();
    if (Key == u'-') {
        const bool hasMinus = text.contains(u'-');
        if (SelStart() != 0 || (hasMinus && !SelText().contains(u'-'))) allowed = false;
    }
    // Integers take digits and the minus sign; control characters (the clipboard keys among
    // them) keep the verdict above, as in the other types.
    if (FSpinType == sptNormal && !control && !(Key.isNumber() || Key == u'-')) allowed = false;
    if (FSpinType == sptFloat && code != VK_ESCAPE && code != VK_RETURN) {
        if (Key == thousand) allowed = false;
        if (Key == dec && text.contains(dec) && !SelText().contains(dec)) allowed = false;
        if (FPrecision > 0 && SelLength() == 0) {
            const int p = Pos(String(dec), text);
            if (p > 0 && SelStart() >= p && text.length() >= p + FPrecision) allowed = false;
        }
    }
    if (FSpinType == sptTime && Key == timeSep && text.count(timeSep) >= 2) allowed = false;
    if (!FEditorEnabled) allowed = allowed && control;
    return allowed;
}

void TAsgSpinEdit::KeyPress(Char& Key) {
    if (!CharAllowed(Key)) {
        Key = Char(0);
        MessageBeep(0);
        return;
    }
    TCustomMaskEdit::KeyPress(Key);
}

void TAsgSpinEdit::KeyDown(Word& Key, TShiftState Shift) {
    if (Key == VK_RETURN && ReturnIsTab) {
        Key = VK_TAB;
        PostMessage(Handle(), PostedTabMessage(), 0, 0);
    }
    if (Key == VK_DELETE && !FEditorEnabled) Key = 0;
    TCustomMaskEdit::KeyDown(Key, Shift);
}

void TAsgSpinEdit::DoEnter() {
    const bool select = AutoSelect && !(EnteredByLeftClick(this) && FEditorEnabled);
    const bool autoSelect = AutoSelect;
    AutoSelect = false;
    TCustomMaskEdit::DoEnter();
    AutoSelect = autoSelect;
    if (select) SelectAll();
}

void TAsgSpinEdit::DoExit() {
    TCustomMaskEdit::DoExit();
    // A value left outside the limits is written back once, which clamps it.
    switch (FSpinType) {
        case sptNormal:
            if (FMinValue != FMaxValue && (Value() < FMinValue || Value() > FMaxValue)) SetValue(Value());
            break;
        case sptFloat:
            if (FMinFloatValue != FMaxFloatValue &&
                (FloatValue() < FMinFloatValue || FloatValue() > FMaxFloatValue))
                SetFloatValue(FloatValue());
            break;
        case sptDate:
            if (FMinDateValue != FMaxDateValue &&
                (DateValue() < FMinDateValue || DateValue() > FMaxDateValue))
                SetDateValue(DateValue());
            break;
        case sptTime:
            if (FMinDateValue != FMaxDateValue &&
                (TimeValue() < FMinDateValue || TimeValue() > FMaxDateValue))
                SetTimeValue(TimeValue());
            break;
    }
}

// ---- Window and layout ----

void TAsgSpinEdit::CreateParams(TCreateParams& Params) {
    TCustomMaskEdit::CreateParams(Params);
    // Multi-line so that the text keeps off the buttons through the formatting rectangle.
    Params.Style |= ES_MULTILINE | WS_CLIPCHILDREN;
    Params.Style &= ~DWORD(ES_RIGHT | ES_CENTER);
    if (FEditAlign == eaRight) Params.Style |= ES_RIGHT;
    if (FEditAlign == eaCenter) Params.Style |= ES_CENTER;
}

void TAsgSpinEdit::CreateWnd() {
    TCustomMaskEdit::CreateWnd();
    SetEditRect();
}

int TAsgSpinEdit::MinHeight() {
    int result = EditTextHeight(Font()) + 2;
    if (BorderStyle() == bsSingle) result += 4 * GetSystemMetrics(SM_CYBORDER);
    return result;
}

void TAsgSpinEdit::SetEditRect() {
    if (!FButton) return;
    const int inset = BorderStyle() == bsNone ? 3 : 0;
    const TRect r(inset, inset, ClientWidth() - FButton->Width() - inset - 2, ClientHeight() + 1);
    SetEditTextRect(this, r);
}

void TAsgSpinEdit::WMSize(TWMSize& Message) {
    TCustomMaskEdit::Dispatch(Message);
    if (FButton && FitEditWithButton(this, FButton, MinHeight())) SetEditRect();
}

void TAsgSpinEdit::Dispatch(TMessage& Message) {
    if (Message.Msg == PostedTabMessage()) {
        DeliverTabKey(this);
        return;
    }
    switch (Message.Msg) {
        case WM_KEYDOWN:
            // The step keys end here: neither KeyDown nor OnKeyDown sees them.
            switch (Message.WParam) {
                case VK_UP: StepUp(false); break;
                case VK_DOWN: StepDown(false); break;
                case VK_PRIOR: StepUp(true); break;
                case VK_NEXT: StepDown(true); break;
                default: TCustomMaskEdit::Dispatch(Message); return;
            }
            Message.Result = 0;
            break;
        case WM_CHAR:
            // The keypad's decimal key (key data bit 22) types the decimal separator.
            if (ExcelStyleDecimalSeparator && Message.WParam == u'.' && (Message.LParam & 0x400000))
                Message.WParam = FormatSettings.DecimalSeparator.unicode();
            TCustomMaskEdit::Dispatch(Message);
            break;
        case WM_PASTE:
        case WM_CUT:
            if (FEditorEnabled && !ReadOnly()) TCustomMaskEdit::Dispatch(Message);
            break;
        case WM_SIZE: CallHandler<TWMSize>(this, &TAsgSpinEdit::WMSize, Message); break;
        default: TCustomMaskEdit::Dispatch(Message);
    }
}
