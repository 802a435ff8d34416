#include "AdvDateTimePicker.h"

#include "ExtCtrls.h"
#include "Forms.h"
#include "OSInfo.h"
#include "Themes.h"

#include <cmath>

namespace {
constexpr int AdvPickerVersion = 0x01020000;

bool IsDigit(Char C) {
    return C >= u'0' && C <= u'9';
}

// Whole days toward zero and the time of day to the second.
TDateTime WholeSeconds(TDateTime Value) {
    const TDateTime days = std::trunc(Value);
    Word h, m, s, ms;
    DecodeTime(Value, h, m, s, ms);
    const TDateTime time = EncodeTime(h, m, s, 0);
    return days < 0 ? days - time : days + time;
}
} // namespace

UINT DTPShiftFocusMessage() {
    static const UINT message = RegisterWindowMessage(QStringLiteral("DTPShiftFocus"));
    return message;
}

// =============================================================================================
// TCustomDateTimePicker

TCustomDateTimePicker::TCustomDateTimePicker(TComponent* AOwner) : TDateTimePicker(AOwner) {
    FIsThemed = (GetFileVersion(QStringLiteral("COMCTL32.DLL")) >> 16) > 5;
    FButtonWidth = GetSystemMetrics(SM_CXVSCROLL) + 2;
    FIsWinXP = CheckWin32Version(5, 1);
    SetDoubleBuffered(true);
    SetParentCtl3D(false);
    SetCtl3D(false);
}

void TCustomDateTimePicker::SetBorderStyle(TBorderStyle Value) {
    FBorderStyle = Value;
    Invalidate();
}

void TCustomDateTimePicker::SetMetroStyle(bool Value) {
    FMetroStyle = Value;
    Invalidate();
}

bool TCustomDateTimePicker::Themed() const {
    return FIsThemed && PlatformSwitches().VisualStylesActive;
}

void TCustomDateTimePicker::SaveBeforeDigit() {
    if (Kind() == dtkTime) DecodeTime(TDateTimePicker::DateTime(), Fh, Fm, Fs, Fms);
}

void TCustomDateTimePicker::ShiftFocus(TMessage&) {
    if (Kind() != dtkTime) return;
    Word h, m, s, ms;
    DecodeTime(TDateTimePicker::DateTime(), h, m, s, ms);
    if (h != Fh || m != Fm || s != Fs) PostMessage(Handle(), WM_KEYDOWN, VK_RIGHT, 0);
}

void TCustomDateTimePicker::WndProc(TMessage& Message) {
    if (Message.Msg == DTPShiftFocusMessage() && DTPShiftFocusMessage() != 0) {
        ShiftFocus(Message);
        return;
    }
    const bool digit = Message.Msg == WM_CHAR && FAutoTab && IsDigit(Char(char16_t(Message.WParam)));
    if (digit) SaveBeforeDigit();
    TDateTimePicker::WndProc(Message);
    if (digit && HandleAllocated()) PostMessage(Handle(), DTPShiftFocusMessage(), 0, 0);
}

void TCustomDateTimePicker::MouseMove(TShiftState Shift, int X, int Y) {
    TDateTimePicker::MouseMove(Shift, X, Y);
    const bool hover = X > Width() - FButtonWidth && X < Width();
    if (hover != FButtonHover) {
        FButtonHover = hover;
        Invalidate();
    }
}

void TCustomDateTimePicker::Dispatch(TMessage& Message) {
    switch (Message.Msg) {
        case CM_ENTER:
        case CM_EXIT:
            TDateTimePicker::Dispatch(Message);
            FHasFocus = Message.Msg == CM_ENTER;
            if (MetroActive()) Invalidate();
            break;
        case CM_MOUSEENTER:
        case CM_MOUSELEAVE:
            TDateTimePicker::Dispatch(Message);
            if (Message.Msg == CM_MOUSEENTER && !Enabled()) break;
            FMouseInControl = Message.Msg == CM_MOUSEENTER;
            if (!FMouseInControl) FButtonHover = false;
            if (FIsWinXP) Invalidate();
            break;
        case WM_PAINT: CallHandler<TWMPaint>(this, &TCustomDateTimePicker::WMPaint, Message); break;
        case WM_NCPAINT: CallHandler<TWMNCPaint>(this, &TCustomDateTimePicker::WMNCPaint, Message); break;
        default: TDateTimePicker::Dispatch(Message); break;
    }
}

void TCustomDateTimePicker::WMNCPaint(TWMNCPaint& Message) {
    TDateTimePicker::Dispatch(Message);
    TCanvas* dc = Message.DC();
    if (!dc || IsPlainPicker()) return;
    const int w = Width(), h = Height();
    if (!Ctl3D() && !MetroActive()) {
        // The flat border.
        TColor c = FBorderColor;
        if (FBorderStyle == bsNone && Parent())
            c = Parent()->Brush()->Color();
        else if (FIsThemed)
            c = DisabledThemedBorder;
        dc->Pen()->SetColor(c);
        dc->Polyline({TPoint(0, h), TPoint(0, 0), TPoint(w - 1, 0), TPoint(w - 1, h - 1), TPoint(0, h - 1)});
        if (Parent()) {
            if (FBorderStyle == bsSingle) dc->Pen()->SetColor(Parent()->Brush()->Color());
            dc->Polyline({TPoint(1, h - 2), TPoint(1, 1), TPoint(w - 1, 1)});
        }
    }
    if (MetroActive()) DrawMetroBorder(dc);
}

void TCustomDateTimePicker::WMPaint(TWMPaint& Message) {
    TDateTimePicker::Dispatch(Message);
    TCanvas* dc = Message.DC();
    if (!dc || !MetroActive() || !CheckWin32Version(6, 0)) return;
    dc->ResetClip();
    if (Kind() != dtkTime) {
        const int cw = ClientWidth(), h = Height();
        dc->Brush()->SetStyle(bsSolid);
        dc->Brush()->SetColor(Color());
        if (Themed())
            dc->FillRect(Rect(cw - FButtonWidth - 4, 1, cw, h));
        else
            dc->FillRect(Rect(cw - FButtonWidth - 2, 4, cw - 4, h - 4));
        const TRect r = Rect(cw - FButtonWidth + 2 + 1, 1, Width() - 1, h - 1);
        const TDropButtonColors colors{ButtonColor,       ButtonColorHot,  ButtonColorDown,
                                       ButtonBorderColor, ButtonTextColor, ButtonTextColorDown};
        DrawEditorDropButton(dc, Handle(), r, r, r, colors, 5, Enabled(), FButtonHover, DroppedDown(),
                             Themed());
        dc->ExcludeClipRect(Rect(cw - FButtonWidth - 4, 0, cw + 2, h));
    }
    dc->ResetClip();
    DrawMetroBorder(dc);
}

void TCustomDateTimePicker::DrawMetroBorder(TCanvas* DC) {
    if (Enabled() && FBorderColor == clNone) return;
    // No focus border nor disabled border here: the plain frames.
    const TEditorFrame frame = EditorFrame(this, FIsThemed, false, false, FBorderColor, clNone, false,
                                           FMouseInControl, FButtonWidth);
    DrawEditorFrame(DC, frame);
    if (!FIsWinXP || !Themed())
        DrawButtonArea(DC, Rect(ClientWidth() - FButtonWidth, 2, frame.Width - 2, frame.Height - 2),
                       FMouseInControl || Focused(), true, DroppedDown());
}

// =============================================================================================
// TAdvDateTimePicker

TAdvDateTimePicker::TAdvDateTimePicker(TComponent* AOwner) : TCustomDateTimePicker(AOwner) {
    FFocusTimer = new TTimer(this);
    FFocusTimer->SetEnabled(false);
    FFocusTimer->SetInterval(20);
    FFocusTimer->OnTimer = [this](TObject*) { FFocusTimer->SetEnabled(false); };
    FLabelFont = new TFont();
    FLabelFont->OnChange = [this](TObject*) {
        if (HasState(csDesigning)) SetParentFont(false);
        PlaceLabel();
    };
    TAdvDateTimePicker::SetBorderStyle(bsSingle);
    SetCtl3D(true);
}

TAdvDateTimePicker::~TAdvDateTimePicker() {
    if (FLabel) {
        TLabel* label = FLabel;
        FLabel = nullptr;
        label->SetParent(nullptr);
        TObject::Free(label);
    }
    TObject::Free(FLabelFont);
    FLabelFont = nullptr;
}

void TAdvDateTimePicker::Notification(TComponent* AComponent, TOperation Operation) {
    TCustomDateTimePicker::Notification(AComponent, Operation);
    if (Operation != opRemove) return;
    if (AComponent == FLabel) FLabel = nullptr;
    if (AComponent == FTimePicker) FTimePicker = nullptr;
}

String TAdvDateTimePicker::Version() const {
    return VersionString(AdvPickerVersion);
}

void TAdvDateTimePicker::CreateWnd() {
    TCustomDateTimePicker::CreateWnd();
    TDateTimePicker::SetKind(FKind == dkTime ? dtkTime : dtkDate);
    if (FKind == dkDateTime) CreateTimePicker();
    LayoutTimePicker();
}

void TAdvDateTimePicker::Loaded() {
    TCustomDateTimePicker::Loaded();
    FParentFnt = ParentFont();
    if (HasState(csDesigning)) return;
    if (FKind == dkDateTime) CreateTimePicker();
    LayoutTimePicker();
    if (ShowCheckbox() && !Checked() && FTimePicker) FTimePicker->SetEnabled(false);
    PlaceLabel();
}

void TAdvDateTimePicker::SetKind(TAdvDateTimeKind Value) {
    if (FKind == Value) return;
    FKind = Value;
    TDateTimePicker::SetKind(Value == dkTime ? dtkTime : dtkDate);
    if (Value == dkDateTime) CreateTimePicker();
    LayoutTimePicker();
}

void TAdvDateTimePicker::CreateTimePicker() {
    if (FKind != dkDateTime || FTimePicker) return;
    FTimePicker = new TCustomDateTimePicker(this);
    FTimePicker->FreeNotification(this);
    FTimePicker->SetVisible(false);
    if (!(HasState(csLoading) && HasState(csDesigning))) FTimePicker->SetParent(this);
    FTimePicker->SetBounds(0, 0, 90, 17);
    FTimePicker->SetEnabled(Enabled());
    FTimePicker->TDateTimePicker::SetKind(dtkTime);
    FTimePicker->SetAutoTab(AutoTab());
    FTimePicker->OnChange = [this](TObject* Sender) {
        TimePickerChange(Sender);
        if (Assigned(OnTimeChange)) OnTimeChange(this);
    };
    FTimePicker->OnClick = [this](TObject* Sender) { TimePickerClick(Sender); };
    FTimePicker->OnKeyPress = [this](TObject* Sender, Char& Key) { TimePickerKeyPress(Sender, Key); };
    FTimePicker->OnKeyDown = [this](TObject*, Word& Key, TShiftState Shift) { KeyDown(Key, Shift); };
}

void TAdvDateTimePicker::TimePickerChange(TObject*) {
    if (Assigned(OnChange)) OnChange(this);
}

void TAdvDateTimePicker::TimePickerClick(TObject*) {
    if (Assigned(OnClick)) OnClick(this);
}

void TAdvDateTimePicker::TimePickerKeyPress(TObject*, Char&) {}

void TAdvDateTimePicker::UpdateTimePickerEnabled() {
    if (FTimePicker) FTimePicker->SetEnabled(Enabled() && (Checked() || !ShowCheckbox()));
}

void TAdvDateTimePicker::LayoutTimePicker() {
    if (!FTimePicker) return;
    if (FTimePicker->Parent() != this) FTimePicker->SetParent(this);
    FTimePicker->SetColor(Color());
    UpdateTimePickerEnabled();
    const bool visible = FKind == dkDateTime;
    FTimePicker->SetVisible(visible);
    FTimePicker->TDateTimePicker::SetDateTime(DateTime());
    FTimePicker->SetFormat(FTimeFormat);
    FTimePicker->Font()->Assign(Font());
    if (visible || (HasState(csLoading) && !HasState(csDesigning))) {
        TRect r = Rect(0, 0, 1000, 200);
        auto* measure = new TBitmap();
        measure->Canvas()->SetFont(Font());
        DrawText(measure->Canvas(), FTimePicker->Text().left(255), r, DT_CALCRECT | DT_SINGLELINE);
        TObject::Free(measure);
        const int a = r.Width() + 31;
        const int w = Width(), h = Height();
        // The platform here is past Vista with common controls 6; the theme decides.
        if (PlatformSwitches().VisualStylesActive) {
            if (MetroActive())
                FTimePicker->SetBounds(w - a - 21, 1, a, h - 2);
            else
                FTimePicker->SetBounds(w - a - 34, 1, a, h - 2);
        } else {
            FTimePicker->SetBounds(w - a - 21, 2, a, h - 4);
        }
        return;
    }
    if (!HasState(csLoading)) {
        TCustomDateTimePicker* picker = FTimePicker;
        FTimePicker = nullptr;
        TObject::Free(picker);
    }
}

TDateTime TAdvDateTimePicker::DateTime() {
    if (FTimePicker) {
        // The embedded picker's time of day into the control (the date stays).
        TDateTimePicker::SetTime(FTimePicker->TDateTimePicker::Time());
    }
    return TDateTimePicker::DateTime();
}

void TAdvDateTimePicker::SetDateTime(TDateTime Value) {
    const TDateTime v = WholeSeconds(Value);
    TDateTimePicker::SetDateTime(v);
    if (FKind == dkDateTime && !FTimePicker) CreateTimePicker();
    if (FTimePicker) {
        FTimePicker->TDateTimePicker::SetDateTime(v);
        // A date set by code checks the box: the time part is enabled with it.
        if (ShowCheckbox()) UpdateTimePickerEnabled();
    }
}

void TAdvDateTimePicker::SetDate(TDateTime Value) {
    Word h, m, s, ms;
    DecodeTime(DateTime(), h, m, s, ms);
    const TDateTime days = std::trunc(Value);
    const TDateTime time = EncodeTime(h, m, s, 0);
    SetDateTime(days < 0 ? days - time : days + time);
}

TDateTime TAdvDateTimePicker::Time() const {
    if (FKind == dkDateTime && FTimePicker) return FTimePicker->TDateTimePicker::Time();
    return TDateTimePicker::Time();
}

void TAdvDateTimePicker::SetTime(TDateTime Value) {
    TDateTimePicker::SetTime(Value);
    // The visible time follows the write: the embedded picker takes it too.
    if (FTimePicker) FTimePicker->TDateTimePicker::SetTime(Value);
    LayoutTimePicker();
}

void TAdvDateTimePicker::SetTimeFormat(const String& Value) {
    if (FTimePicker) FTimePicker->SetFormat(Value);
    if (FKind == dkTime) SetFormat(Value);
    FTimeFormat = Value;
    LayoutTimePicker();
}

void TAdvDateTimePicker::SetAutoTab(bool Value) {
    TCustomDateTimePicker::SetAutoTab(Value);
    if (FTimePicker) FTimePicker->SetAutoTab(Value);
}

void TAdvDateTimePicker::SetBorderStyle(TBorderStyle Value) {
    TCustomDateTimePicker::SetBorderStyle(Value);
    LayoutTimePicker();
}

void TAdvDateTimePicker::SaveBeforeDigit() {
    DecodeDate(DateTime(), Fy, Fmo, Fd);
    TCustomDateTimePicker::SaveBeforeDigit();
}

void TAdvDateTimePicker::ShiftFocus(TMessage& Message) {
    if (TDateTimePicker::Kind() == dtkTime) {
        TCustomDateTimePicker::ShiftFocus(Message);
        return;
    }
    Word y, m, d;
    DecodeDate(DateTime(), y, m, d);
    const bool dayChanged = d != Fd, monthChanged = m != Fmo, yearChanged = y != Fy;
    const auto right = [this] { PostMessage(Handle(), WM_KEYDOWN, VK_RIGHT, 0); };
    const auto toTime = [this] {
        if (FTimePicker && FTimePicker->CanFocus()) FTimePicker->SetFocus();
    };
    const String format = Format();
    if (!format.isEmpty()) {
        const char16_t c = format.back().unicode();
        const bool last = c <= 255 && ((dayChanged && (c == u'd' || c == u'D')) ||
                                       (monthChanged && (c == u'm' || c == u'M')) ||
                                       (yearChanged && (c == u'y' || c == u'Y')));
        if (last)
            toTime();
        else if (dayChanged || monthChanged || yearChanged)
            right();
        return;
    }
    if (dayChanged || monthChanged)
        right();
    else if (yearChanged)
        toTime();
}

// ---- The caption label -------------------------------------------------------------------------

void TAdvDateTimePicker::CreateLabel() {
    FLabel = CreateAttachedLabel(this, FLabelFont);
    FLabel->OnClick = [this](TObject*) {
        if (Assigned(OnLabelClick)) OnLabelClick(this);
    };
    FLabel->OnDblClick = [this](TObject*) {
        if (Assigned(OnLabelDblClick)) OnLabelDblClick(this);
    };
}

String TAdvDateTimePicker::LabelCaption() const {
    return FLabel ? FLabel->Caption() : String();
}

void TAdvDateTimePicker::SetLabelCaption(const String& Value) {
    if (!FLabel) CreateLabel();
    FLabel->SetCaption(Value);
    PlaceLabel();
}

void TAdvDateTimePicker::SetLabelFont(TFont* Value) {
    if (!ParentFont()) FLabelFont->Assign(Value);
    PlaceLabel();
}

void TAdvDateTimePicker::SetLabelPosition(TLabelPosition Value) {
    FLabelPosition = Value;
    PlaceLabel();
}

void TAdvDateTimePicker::SetLabelMargin(int Value) {
    FLabelMargin = Value;
    PlaceLabel();
}

void TAdvDateTimePicker::SetLabelTransparent(bool Value) {
    FLabelTransparent = Value;
    PlaceLabel();
}

void TAdvDateTimePicker::SetLabelAlwaysEnabled(bool Value) {
    FLabelAlwaysEnabled = Value;
    if (Value && FLabel) FLabel->SetEnabled(true);
    Invalidate();
}

void TAdvDateTimePicker::PlaceLabel() {
    if (!FLabel) return;
    FLabel->SetTransparent(FLabelTransparent);
    FLabel->Font()->Assign(FParentFnt ? Font() : FLabelFont);
    TCanvas* c = FLabel->Canvas();
    c->SetFont(FLabel->Font());
    PlaceAttachedLabel(FLabel, this, FLabelPosition, FLabelMargin, c->TextWidth(FLabel->Caption()));
}

void TAdvDateTimePicker::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
    TCustomDateTimePicker::SetBounds(ALeft, ATop, AWidth, AHeight);
    if (FLabel && FLabel->Parent()) PlaceLabel();
    if (!HasState(csDestroying)) LayoutTimePicker();
}

void TAdvDateTimePicker::SetParent(TWinControl* AParent) {
    TCustomDateTimePicker::SetParent(AParent);
    if (FLabel) FLabel->SetParent(AParent);
}

void TAdvDateTimePicker::Dispatch(TMessage& Message) {
    switch (Message.Msg) {
        case CM_ENABLEDCHANGED:
            TCustomDateTimePicker::Dispatch(Message);
            UpdateTimePickerEnabled();
            if (FLabel && !FLabelAlwaysEnabled) FLabel->SetEnabled(Enabled());
            break;
        case CM_VISIBLECHANGED:
            TCustomDateTimePicker::Dispatch(Message);
            if (FLabel) FLabel->SetVisible(Visible());
            break;
        case CM_ENTER:
        case CM_EXIT:
            TCustomDateTimePicker::Dispatch(Message);
            if (FFocusLabel && !HasState(csLoading)) SetLabelBold(FLabel, Message.Msg == CM_ENTER);
            break;
        case CM_PARENTFONTCHANGED:
            TCustomDateTimePicker::Dispatch(Message);
            if (FLabel && ParentFont()) FLabel->Font()->Assign(Font());
            break;
        case CN_NOTIFY: {
            TCustomDateTimePicker::Dispatch(Message);
            auto* header = reinterpret_cast<NMHDR*>(Message.LParam);
            if (header && header->code == DTN_DATETIMECHANGE && ShowCheckbox()) {
                UpdateTimePickerEnabled();
                const auto* change = reinterpret_cast<NMDATETIMECHANGE*>(Message.LParam);
                if (change->dwFlags == GDT_NONE && FTimePicker) FTimePicker->SetEnabled(false);
                FFocusTimer->SetEnabled(true);
            }
            break;
        }
        case DTM_SETSYSTEMTIME:
            // The date cleared (check box off): the time part follows the check box.
            TCustomDateTimePicker::Dispatch(Message);
            if (Message.WParam == GDT_NONE && !HasState(csDesigning)) UpdateTimePickerEnabled();
            break;
        case WM_PAINT:
            if (FFirstRun) {
                FFirstRun = false;
                LayoutTimePicker();
            }
            TCustomDateTimePicker::Dispatch(Message);
            break;
        default: TCustomDateTimePicker::Dispatch(Message); break;
    }
}
