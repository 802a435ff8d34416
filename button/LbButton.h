// The owner-drawn push button used for every button of the system's windows: it paints its own
// face, keeps its own pressed state, clicks on mouse release, on Enter and Space, on its
// accelerator and as its form's default or cancel button, gives its form a modal result, opens
// a popup menu below itself, takes its image from an action, offers colour and standard-button
// presets and can fade its hot-track colour out with a worker thread.
#pragma once

#include "Controls.h"
#include "LbButtons.h"

class TCustomForm;

class TLbButton : public TCustomControl {
public:
    explicit TLbButton(TComponent* AOwner);
    ~TLbButton() override;

    // Presses the button and runs its click action, then the inherited click (the action).
    void Click() override;
    // Composes the whole face off-screen and copies it onto the control in one step.
    void Paint() override;
    void SetEnabled(bool Value) override;

    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment Value);
    bool Cancel() const { return FCancel; }
    void SetCancel(bool Value) { FCancel = Value; }
    bool Default() const { return FDefault; }
    void SetDefault(bool Value) { FDefault = Value; }
    String Caption() const { return TControl::Caption(); }
    void SetCaption(const String& Value);
    // Reading always gives lcsCustom: a preset writes values and is not kept.
    TLbColorStyle ColorStyle() const { return FDummyStyle; }
    void SetColorStyle(TLbColorStyle Value);
    TColor ColorWhenDown() const { return FColorWhenDown; }
    void SetColorWhenDown(TColor Value) { FColorWhenDown = Value; }
    bool Flat() const { return FFlat; }
    void SetFlat(bool Value);
    TBitmap* Glyph() const { return FGlyph; }
    void SetGlyph(TBitmap* Value);
    TColor HotTrackColor() const { return FHotTrackColor; }
    void SetHotTrackColor(TColor Value) { FHotTrackColor = Value; }
    TFont* HotTrackFont() const { return FHTFont; }
    void SetHotTrackFont(TFont* Value);
    TLbButtonKind Kind() const { return FKind; }
    void SetKind(TLbButtonKind Value);
    TLbButtonLayout Layout() const { return FLayout; }
    void SetLayout(TLbButtonLayout Value);
    TColor LightColor() const { return FLightColor; }
    void SetLightColor(TColor Value);
    TModalResult ModalResult() const { return FModalResult; }
    void SetModalResult(TModalResult Value);
    int NumGlyphs() const { return FNumGlyphs; }
    void SetNumGlyphs(int Value);
    TColor ShadowColor() const { return FShadowColor; }
    void SetShadowColor(TColor Value);
    bool SlowDecease() const { return FSlowDecease; }
    void SetSlowDecease(bool Value);
    TLbButtonStyle Style() const { return FStyle; }
    void SetStyle(TLbButtonStyle Value);
    bool UseHotTrackFont() const { return FUseHTFont; }
    void SetUseHotTrackFont(bool Value) { FUseHTFont = Value; }
    bool WordWrap() const { return FWordWrap; }
    void SetWordWrap(bool Value);

    // The first form among the owners, starting with the button itself; nullptr when none.
    TCustomForm* FindOwnerForm() const;

    // State that the face shows: pressed, pointer on the button, hot-track intensity (0..8), and
    // the fade thread (nullptr when there is none).
    bool Down() const { return bDown; }
    bool CursorOnButton() const { return bCursorOnButton; }
    int HotTrackStep() const { return FHotTrackStep; }
    TLbButtonThread* FadeThread() const { return FThread; }

    void Dispatch(TMessage& Message) override;

    // The button's own events (they hide the control's OnClick and enter/leave events).
    TNotifyEvent OnClick;
    TNotifyEvent OnMouseEnter;
    TNotifyEvent OnMouseExit;

protected:
    // The click action: clears the pressed state, runs OnClick, gives the form the modal result
    // and pops up the popup menu below the button.
    virtual void DoClick();
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void ActionChange(TObject* Sender, bool CheckDefaults) override;
    // Keeps the extended style that the Style setter gave the window when it is made anew.
    void CreateParams(TCreateParams& Params) override;
    // One step of the hot-track fade, on the main thread.
    void FadeTick(TObject* Sender);

    void CMMouseEnter(TMessage& Message);
    void CMMouseLeave(TMessage& Message);
    void CMFocusChanged(TCMFocusChanged& Message);
    void CNKeyDown(TWMKey& Message);
    void CNKeyUp(TWMKey& Message);
    void CMDialogChar(TCMDialogChar& Message);
    void CMDialogKey(TCMDialogKey& Message);

private:
    void LoadActionImage(TObject* Sender);
    TLbButtonThread* NewThread();
    // Ends and frees a detached fade thread; errors are swallowed.
    static void StopThread(TLbButtonThread* Thread);

    TAlignment FAlignment = taCenter;
    TColor FShadowColor = 0x808080;
    TColor FColorWhenDown = clNone;
    bool FEnabled = true;
    bool FFlat = false;
    bool FWordWrap = false;
    TBitmap* FGlyph = nullptr;
    TColor FHotTrackColor = clNone;
    TFont* FHTFont = nullptr;
    TLbButtonKind FKind = bkCustom;
    TLbButtonLayout FLayout = blGlyphLeft;
    TColor FLightColor = 0xFFFFFF;
    TModalResult FModalResult = mrNone;
    int FNumGlyphs = 0;
    bool FUseHTFont = false;
    TLbColorStyle FDummyStyle = lcsCustom;
    TLbButtonStyle FStyle = bsNormal;
    bool FDefault = false;
    bool FCancel = false;
    bool FSlowDecease = false;
    bool bDown = false;
    bool bCursorOnButton = false;
    TLbButtonThread* FThread = nullptr;
    int FHotTrackStep = 0;
    LONG FWantedExStyle = 0;
    bool FExStyleSet = false;
};
