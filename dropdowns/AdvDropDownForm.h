// The visible machinery of every drop-down: the popup window (TDropDownForm) that holds the
// drop-down's popup control between an optional header and footer, paints its background and
// frame and closes itself when it loses the activation; the small window docked inside the edit
// (TDropDownEditButton) that hosts the drop button; and the drop button itself
// (TAdvDropDownSpeedButton), a drop arrow or a push button with glyph and caption.
#pragma once

#include "Buttons.h"
#include "Forms.h"

#include <functional>

class TAdvCustomDropDown;
class TAdvHeader;
class TAdvFooter;
class TDropDownBackground;

// The tick count the popups measure their deactivation time with (GetTickCount unless a test
// installs a source of its own; nullptr puts GetTickCount back).
Cardinal DropDownTickCount();
void SetDropDownTickSource(std::function<Cardinal()> Source);

// ---------------------------------------------------------------------------------------------
// The popup window: frameless, topmost, at screen positions.

class TDropDownForm : public TForm {
public:
    explicit TDropDownForm(TComponent* AOwner);

    // Tick count of the last loss of activation while visible (0 until the first one).
    Cardinal DeActivateTime() const { return FDeActivate; }
    bool Shadow() const { return FShadow; }
    void SetShadow(bool Value) { FShadow = Value; }
    // Created the first time the popup opens with them visible.
    TAdvFooter* Footer() const { return FFooter; }
    TAdvHeader* Header() const { return FHeader; }
    TAdvCustomDropDown* AdvDropDown() const { return FAdvDropDown; }
    void SetAdvDropDown(TAdvCustomDropDown* Value) { FAdvDropDown = Value; }
    // The bottom-right 10 x 10 pixels resize the window.
    bool Sizeable() const { return FSizeable; }
    void SetSizeable(bool Value) { FSizeable = Value; }
    // A loss of activation closes the popup with cancel (else it keeps the popup's choice).
    bool CancelOnDeActivate() const { return FCancelOnDeActivate; }
    void SetCancelOnDeActivate(bool Value) { FCancelOnDeActivate = Value; }
    // While set, activation changes are ignored (descendants set it around their own modal work).
    bool BlockActivate() const { return FBlockActivate; }
    void SetBlockActivate(bool Value) { FBlockActivate = Value; }
    // The smallest size SetBounds gives the window (the drop-down sets 80 x 50 when it opens).
    void SetMinSize(int AWidth, int AHeight);

    // Raised while the user resizes the window.
    TNotifyEvent OnSizing;

    void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;
    // Creates or refreshes header and footer from the drop-down's appearances.
    void InitializeAndUpdate();
    virtual void UpdateSize() {}
    // The background (gradient or solid DropDownColor inside the frame) and the frame of
    // DropDownBorderWidth in DropDownBorderColor.
    void DrawBackground(TCanvas* ACanvas);

    void Dispatch(TMessage& Message) override;

protected:
    void CreateParams(TCreateParams& Params) override;
    void AdjustClientRect(TRect& Rect) override;
    // The activation moved: Active tells which way, Other is the window that takes it (when
    // deactivated) or loses it.
    void WMActivate(bool Active, TWinControl* Other);

private:
    int BorderWidth() const;

    TDropDownBackground* FBackground = nullptr;
    Cardinal FDeActivate = 0;
    bool FShadow = true;
    TAdvFooter* FFooter = nullptr;
    TAdvHeader* FHeader = nullptr;
    TAdvCustomDropDown* FAdvDropDown = nullptr;
    bool FSizeable = false;
    bool FCancelOnDeActivate = true;
    bool FBlockActivate = false;
    int FMinWidth = 0, FMinHeight = 0;
};

// ---------------------------------------------------------------------------------------------
// The drop button

enum TButtonStyle { bsButton, bsDropDown };

class TAdvDropDownSpeedButton : public TSpeedButton {
public:
    explicit TAdvDropDownSpeedButton(TComponent* AOwner);

    TButtonStyle ButtonStyle() const { return FButtonStyle; }
    void SetButtonStyle(TButtonStyle Value);
    bool Etched() const { return FEtched; }
    void SetEtched(bool Value);
    // Set from the drop-down's IsButtonFocused; neither look reads it, so it only repaints.
    bool Focused() const { return FFocused; }
    void SetFocused(bool Value);
    // The mouse is over the button.
    bool Hot() const { return FHot; }
    // The button never shows pressed from now on.
    void SetUp() { FUp = true; }
    // Visual styles are there and on.
    bool IsThemed() const;

    void Dispatch(TMessage& Message) override;

protected:
    void Paint() override;
    void PaintDropDown();
    void PaintButton();

private:
    bool Pressed() const { return (FState == bsDown || FState == bsExclusive) && !FUp; }

    bool FEtched = false;
    bool FFocused = false;
    bool FHot = false;
    bool FUp = false;
    bool FIsWinXP;
    TButtonStyle FButtonStyle = bsDropDown;
};

// The window docked inside the edit that hosts the drop button. It keeps its own width whatever
// it is given; OnClick fires on a left-button release that began on the button, wherever it is
// released.
class TDropDownEditButton : public TWinControl {
public:
    explicit TDropDownEditButton(TComponent* AOwner);

    TAdvDropDownSpeedButton* Button() const { return FButton; }
    TWinControl* FocusControl() const { return FFocusControl; }
    void SetFocusControl(TWinControl* Value);
    TBitmap* Glyph() const { return FButton->Glyph(); }
    void SetGlyph(TBitmap* Value) { FButton->SetGlyph(Value); }
    int NumGlyphs() const { return FButton->NumGlyphs(); }
    void SetNumGlyphs(int Value) { FButton->SetNumGlyphs(Value); }
    String ButtonCaption() const { return FButton->Caption(); }
    void SetButtonCaption(const String& Value) { FButton->SetText(Value); }
    // The fixed width (16 after construction).
    int FixedWidth() const { return FBWidth; }
    void SetFixedWidth(int Value);

    // Colours of the drop arrow painter; clNone: the platform's button. The text colours are
    // the arrow's.
    TColor ButtonColorDown = clNone;
    TColor ButtonBorderColor = clNone;
    TColor ButtonTextColor = clNone;
    TColor ButtonTextColorHot = clNone;
    TColor ButtonColor = clNone;
    TColor ButtonColorHot = clNone;
    TColor ButtonTextColorDown = clNone;

    TNotifyEvent OnClick;

    void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;
    void Dispatch(TMessage& Message) override;

protected:
    void Loaded() override;
    void Notification(TComponent* AComponent, TOperation Operation) override;
    void AdjustButtonSize(int& W, int& H);

private:
    void CreateButton();
    void ButtonMouseUp(TObject* Sender, TMouseButton Button);
    void KeepWidth();

    TAdvDropDownSpeedButton* FButton = nullptr;
    TWinControl* FFocusControl = nullptr;
    int FBWidth = 16;
};
