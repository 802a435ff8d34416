#include "LbButton.h"

#include "ActnList.h"
#include "Forms.h"
#include "ImgList.h"
#include "Menus.h"

#include <QColor>

namespace {

// Key colour of the off-screen face of the transparent styles.
constexpr TColor KeyColor = 0xFF00FF;

bool IsTransparentStyle(TLbButtonStyle Style) {
    return Style == bsModern || Style == bsShape || Style == bsQuicken;
}

struct TKindPreset {
    TModalResult ModalResult;
    const char* Resource;
    const char* Caption; // UTF-8
};

const TKindPreset KindPresets[] = {
    {mrOk, "LBOK", "OK"},
    {mrCancel, "LBCANCEL", "Abbrechen"},
    {mrNone, "LBHELP", "Hilfe"},
    {mrYes, "LBYES", "Ja"},
    {mrNo, "LBNO", "Nein"},
    {mrNone, "LBCLOSE",
     "Schlie\xC3\x9F"
     "en"},
    {mrAbort, "LBABORT", "Abbrechen"},
    {mrRetry, "LBRETRY", "Wiederholen"},
    {mrIgnore, "LBIGNORE", "Ignorieren"},
    {mrAll, "LBALL", "Alle"},
};

} // namespace

TLbButton::TLbButton(TComponent* AOwner) : TCustomControl(AOwner) {
    TControlStyle cs = ControlStyle();
    cs.erase(csClickEvents);
    cs.erase(csDoubleClicks);
    cs.insert(csCaptureMouse);
    cs.insert(csSetCaption);
    SetControlStyle(cs);
    SetBounds(Left(), Top(), 100, 23);
    SetTabStop(true);
    SetColor(clBtnFace);
    FGlyph = new TBitmap;
    FHTFont = new TFont;
    if (auto* form = dynamic_cast<TCustomForm*>(AOwner)) FHTFont->Assign(form->Font());
    // Every button gets its (suspended) fade thread, whatever SlowDecease says.
    FThread = NewThread();
}

TLbButton::~TLbButton() {
    TLbButtonThread* thread = FThread;
    FThread = nullptr;
    StopThread(thread);
    FreeAndNil(FHTFont);
    FreeAndNil(FGlyph);
}

TLbButtonThread* TLbButton::NewThread() {
    return new TLbButtonThread([this](TObject* Sender) { FadeTick(Sender); });
}

void TLbButton::StopThread(TLbButtonThread* Thread) {
    if (!Thread) return;
    // Asked to end before it runs, a thread that was suspended (or never started) leaves its
    // loop at once instead of sleeping through one more tick.
    Thread->Terminate();
    try {
        for (int i = 0; i < 1000 && Thread->Suspended(); ++i) Thread->Resume();
    } catch (...) {
        // A failing resume only ends the resuming.
    }
    try {
        Thread->WaitFor();
        TObject::Free(Thread);
    } catch (...) {
        // The thread could not be ended: it is left alone rather than freed while it may run.
    }
}

// ---------------------------------------------------------------------------------------------
// Properties

void TLbButton::SetAlignment(TAlignment Value) {
    FAlignment = Value;
    Paint();
}

void TLbButton::SetFlat(bool Value) {
    FFlat = Value;
    Paint();
}

void TLbButton::SetLayout(TLbButtonLayout Value) {
    FLayout = Value;
    Paint();
}

void TLbButton::SetLightColor(TColor Value) {
    FLightColor = Value;
    Paint();
}

void TLbButton::SetShadowColor(TColor Value) {
    FShadowColor = Value;
    Paint();
}

void TLbButton::SetWordWrap(bool Value) {
    FWordWrap = Value;
    Paint();
}

void TLbButton::SetCaption(const String& Value) {
    SetText(Value);
    Invalidate();
}

void TLbButton::SetEnabled(bool Value) {
    TCustomControl::SetEnabled(Value);
    FEnabled = Value;
    bDown = false;
    Paint();
}

void TLbButton::SetGlyph(TBitmap* Value) {
    if (Value) {
        if (Value != FGlyph) FGlyph->Assign(Value);
    } else {
        FGlyph->SetHeight(0);
    }
    FNumGlyphs = FGlyph->Height() != 0 ? FGlyph->Width() / FGlyph->Height() : 0;
    FKind = bkCustom;
    Invalidate();
}

void TLbButton::SetNumGlyphs(int Value) {
    FNumGlyphs = Value;
    Invalidate();
}

void TLbButton::SetModalResult(TModalResult Value) {
    FModalResult = Value;
    FKind = bkCustom;
}

void TLbButton::SetHotTrackFont(TFont* Value) {
    if (Value) FHTFont->Assign(Value);
}

void TLbButton::SetStyle(TLbButtonStyle Value) {
    FStyle = Value;
    const LONG exStyle = IsTransparentStyle(Value) ? LONG(WS_EX_TRANSPARENT) : 0;
    // The window is made on demand: a button whose window is not made yet gets the style with
    // it (asking for the window here would make every window of a hidden form at once).
    FWantedExStyle = exStyle;
    FExStyleSet = true;
    if (HandleAllocated()) SetWindowLong(Handle(), GWL_EXSTYLE, exStyle);
    Invalidate();
}

void TLbButton::SetColorStyle(TLbColorStyle Value) {
    TLbColorStyleColors c;
    if (!GetColorStyleColors(Value, c)) return;
    FFlat = false;
    Font()->SetColor(clBlack);
    SetColor(c.Color);
    Font()->SetColor(c.FontColor);
    FLightColor = c.LightColor;
    FShadowColor = c.ShadowColor;
    FColorWhenDown = c.ColorWhenDown;
    FHotTrackColor = c.HotTrackColor;
    FFlat = c.Flat;
    FStyle = bsNormal;
    FStyle = c.Style;
    Paint();
}

void TLbButton::SetKind(TLbButtonKind Value) {
    if (Value > bkCustom && Value <= bkAll) {
        const TKindPreset& p = KindPresets[Value - bkOK];
        FNumGlyphs = 2;
        SetModalResult(p.ModalResult);
        FGlyph->LoadFromResourceName(String::fromLatin1(p.Resource));
        SetCaption(String::fromUtf8(p.Caption));
    }
    FKind = Value;
    Invalidate();
}

void TLbButton::SetSlowDecease(bool Value) {
    FSlowDecease = Value;
    if (Value) {
        if (!FThread) FThread = NewThread();
    } else if (FThread) {
        FHotTrackStep = 0;
        // Forget the thread first: a tick that arrives while it is being stopped sees no
        // thread and leaves it alone.
        TLbButtonThread* thread = FThread;
        FThread = nullptr;
        StopThread(thread);
    }
    Invalidate();
}

TCustomForm* TLbButton::FindOwnerForm() const {
    for (TComponent* c = const_cast<TLbButton*>(this); c; c = c->Owner())
        if (auto* form = dynamic_cast<TCustomForm*>(c)) return form;
    return nullptr;
}

void TLbButton::CreateParams(TCreateParams& Params) {
    TCustomControl::CreateParams(Params);
    if (FExStyleSet) Params.ExStyle = DWORD(FWantedExStyle);
}

// ---------------------------------------------------------------------------------------------
// Clicks

void TLbButton::Click() {
    bDown = true;
    DoClick();
    // A hidden or disabled button does not click; it must not keep the pressed look either.
    bDown = false;
    TCustomControl::Click();
}

void TLbButton::DoClick() {
    if (!Visible() || !Enabled() || !bDown) return;
    bDown = false;
    if (Assigned(OnClick)) OnClick(this);
    if (FModalResult != mrNone)
        if (TCustomForm* form = GetParentForm(this)) form->SetModalResult(FModalResult);
    if (TPopupMenu* menu = PopupMenu()) {
        const TPoint p = ClientToScreen(TPoint(0, Height()));
        menu->SetPopupComponent(this);
        menu->Popup(p.X, p.Y);
    }
}

// ---------------------------------------------------------------------------------------------
// Mouse

void TLbButton::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
    TCustomControl::MouseDown(Button, Shift, X, Y);
    if (Enabled() && Button == mbLeft) {
        bDown = true;
        if (CanFocus()) SetFocus();
        Paint();
    }
}

void TLbButton::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
    TCustomControl::MouseUp(Button, Shift, X, Y);
    if (bDown) Click();
    bDown = false;
    Paint();
}

void TLbButton::CMMouseEnter(TMessage&) {
    if (Enabled() && Visible() && Parent() && Parent()->Showing()) {
        bCursorOnButton = true;
        FHotTrackStep = 8;
        Paint();
        if (Assigned(OnMouseEnter)) OnMouseEnter(this);
    }
}

void TLbButton::CMMouseLeave(TMessage&) {
    bCursorOnButton = false;
    if (FSlowDecease) {
        if (FThread && FThread->Suspended()) FThread->Resume();
    } else {
        FHotTrackStep = 0;
        Paint();
    }
    if (Enabled() && Visible() && Parent() && Parent()->Showing())
        if (Assigned(OnMouseExit)) OnMouseExit(this);
}

// Every control of the form hears of each focus change, and the button's look depends on it (the
// focus rectangle, the default frame): it is repainted at the next paint, not drawn now, so the
// focus changes of a window being set up or shown (before its first paint) draw nothing twice.
void TLbButton::CMFocusChanged(TCMFocusChanged& Message) {
    TCustomControl::Dispatch(Message);
    Invalidate();
}

// ---------------------------------------------------------------------------------------------
// Keyboard

void TLbButton::CNKeyDown(TWMKey& Message) {
    TCustomControl::Dispatch(Message);
    const Word key = Message.CharCode;
    if (Enabled() && (key == VK_RETURN || key == VK_SPACE)) {
        bDown = true;
        Paint();
    }
}

void TLbButton::CNKeyUp(TWMKey& Message) {
    TCustomControl::Dispatch(Message);
    const Word key = Message.CharCode;
    if (key == VK_RETURN || key == VK_SPACE) Click();
    Paint();
}

void TLbButton::CMDialogChar(TCMDialogChar& Message) {
    if (IsAccel(Message.CharCode, Caption()) && Visible() && Enabled() && Parent() && Parent()->Showing()) {
        bDown = true;
        Click();
        Message.Result = 1;
    } else {
        TCustomControl::Dispatch(Message);
    }
}

void TLbButton::CMDialogKey(TCMDialogKey& Message) {
    const Word key = Message.CharCode;
    bool take = false;
    if (key == VK_RETURN && FDefault) {
        take = true;
    } else if (key == VK_ESCAPE && FCancel) {
        const TShiftState shift = KeyDataToShiftState(Message.KeyData);
        const bool modifiers = shift.count(ssShift) || shift.count(ssCtrl) || shift.count(ssAlt);
        take = !modifiers && Visible() && Enabled();
    }
    if (take) {
        // A focused button handles Enter (and leaves Esc) itself.
        if (TCustomForm* form = FindOwnerForm())
            if (TWinControl* active = form->ActiveControl()) {
                const String name = active->ClassName().toUpper();
                if (name.contains("BUTTON") && !name.contains("RADIOBUTTON")) take = false;
            }
    }
    if (take) {
        bDown = true;
        Click();
        Message.Result = 1;
    } else {
        TCustomControl::Dispatch(Message);
    }
}

void TLbButton::Dispatch(TMessage& Message) {
    switch (Message.Msg) {
        case CM_MOUSEENTER: CMMouseEnter(Message); break;
        case CM_MOUSELEAVE: CMMouseLeave(Message); break;
        case CM_FOCUSCHANGED: CallHandler<TCMFocusChanged>(this, &TLbButton::CMFocusChanged, Message); break;
        case CN_KEYDOWN: CallHandler<TWMKey>(this, &TLbButton::CNKeyDown, Message); break;
        case CN_KEYUP: CallHandler<TWMKey>(this, &TLbButton::CNKeyUp, Message); break;
        case CM_DIALOGCHAR: CallHandler<TCMDialogChar>(this, &TLbButton::CMDialogChar, Message); break;
        case CM_DIALOGKEY: CallHandler<TCMDialogKey>(this, &TLbButton::CMDialogKey, Message); break;
        default: TCustomControl::Dispatch(Message);
    }
}

// ---------------------------------------------------------------------------------------------
// Actions

void TLbButton::ActionChange(TObject* Sender, bool CheckDefaults) {
    TCustomControl::ActionChange(Sender, CheckDefaults);
    LoadActionImage(Sender);
}

void TLbButton::LoadActionImage(TObject* Sender) {
    auto* action = dynamic_cast<TCustomAction*>(Sender);
    if (!action || !FGlyph->Empty()) return;
    TCustomActionList* list = action->ActionList();
    if (!list || !list->Images()) return;
    TCustomImageList* images = list->Images();
    const int index = action->ImageIndex();
    if (index < 0 || index >= images->Count()) return;
    FGlyph->SetSize(images->Width(), images->Height());
    FGlyph->Canvas()->Brush()->SetStyle(bsSolid);
    FGlyph->Canvas()->Brush()->SetColor(KeyColor);
    FGlyph->Canvas()->FillRect(TRect(0, 0, images->Width(), images->Height()));
    images->Draw(FGlyph->Canvas(), 0, 0, index);
    FNumGlyphs = 1;
    Paint();
}

// ---------------------------------------------------------------------------------------------
// Painting and the fade

void TLbButton::Paint() {
    if ((!Visible() && !HasState(csDesigning)) || HasState(csLoading) || HasState(csDestroying)) return;
    if (!FGlyph || !FHTFont) return;
    const int W = Width(), H = Height();
    if (W <= 0 || H <= 0) return;

    const bool focused = Focused();
    const bool hot = bCursorOnButton || focused;
    TBitmap* face = new TBitmap(W, H);
    TFont* font = new TFont;
    font->Assign(Font());
    if (hot && FUseHTFont) font->Assign(FHTFont);

    if (IsTransparentStyle(FStyle)) {
        face->SetTransparentColor(KeyColor);
        face->SetTransparent(true);
        face->Canvas()->Brush()->SetColor(KeyColor);
        face->Canvas()->FillRect(TRect(0, 0, W, H));
    }

    const bool popup = PopupMenu() != nullptr;
    if (FStyle == bsOld && focused) {
        DrawButtonFace(face->Canvas(), W - 2, H - 2, FHotTrackStep, FNumGlyphs, FGlyph, bDown, hot, false,
                       FEnabled, FFlat, FWordWrap, popup, FStyle, Color(), FColorWhenDown, FHotTrackColor,
                       bDown ? FShadowColor : FLightColor, FShadowColor, font, FLayout, Caption(),
                       FAlignment);
        face->Canvas()->CopyRect(TRect(1, 1, W - 1, H - 1), face->Canvas(), TRect(0, 0, W - 2, H - 2));
        face->Canvas()->Brush()->SetStyle(bsSolid);
        face->Canvas()->Brush()->SetColor(clBlack);
        face->Canvas()->FrameRect(TRect(0, 0, W, H));
    } else {
        DrawButtonFace(face->Canvas(), W, H, FHotTrackStep, FNumGlyphs, FGlyph, bDown, hot, false, FEnabled,
                       FFlat, FWordWrap, popup, FStyle, Color(), FColorWhenDown, FHotTrackColor, FLightColor,
                       FShadowColor, font, FLayout, Caption(), FAlignment);
    }

    // A transparent window shows its parent wherever the face leaves the key colour, also when
    // the face is painted outside a paint of the window (in a paint: inside the part painted).
    if (WindowExStyle() & WS_EX_TRANSPARENT) ClearToTransparent();
    Canvas()->Draw(0, 0, face);
    if (focused && FEnabled && FStyle != bsShape) DrawFocusRect(Canvas(), TRect(4, 4, W - 4, H - 4));

    TObject::Free(font);
    TObject::Free(face);
}

void TLbButton::FadeTick(TObject* Sender) {
    if (HasState(csDestroying)) return;
    --FHotTrackStep;
    if (FHotTrackStep <= 0) {
        // Only the button's current thread is suspended; a thread being stopped is left alone.
        if (FThread && Sender == FThread && !FThread->Suspended()) FThread->Suspend();
        FHotTrackStep = 0;
    }
    Paint();
}
