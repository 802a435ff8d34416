// The grid's date picker: the platform's date-time picker with colourable borders, a focus
// border and, in its "metro" look, a drop-down button of its own. With its defaults (Ctl3D on,
// metro look off) it paints as the platform's picker. Base of the grid's date cell editor.
#pragma once

#include "ComCtrls.h"
#include "EditorLook.h"

class TAsgDateTimePicker : public TDateTimePicker {
public:
    explicit TAsgDateTimePicker(TComponent* AOwner);

    TBorderStyle BorderStyle() const { return FBorderStyle; }
    virtual void SetBorderStyle(TBorderStyle Value);
    TColor BorderColor() const { return FBorderColor; }
    void SetBorderColor(TColor Value);
    bool MetroStyle() const { return FMetroStyle; }
    void SetMetroStyle(bool Value);
    TColor FocusBorderColor() const { return FFocusBorderColor; }
    void SetFocusBorderColor(TColor Value) { FFocusBorderColor = Value; }
    // Reads 1.0.0.0; writing it does nothing.
    String Version() const;
    void SetVersion(const String&) {}

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
    void MouseMove(TShiftState Shift, int X, int Y) override;
    // The metro look shows (not while designing).
    bool MetroActive() const { return FMetroStyle && !HasState(csDesigning); }
    // The borders of the metro look onto DC (window coordinates); outside a paint the window
    // paints again.
    void DrawBorders(TCanvas* DC = nullptr);

private:
    void WMPaint(TWMPaint& Message);
    void WMNCPaint(TWMNCPaint& Message);
    void DrawButton(TCanvas* DC);
    bool Themed() const;

    TBorderStyle FBorderStyle = bsNone;
    TColor FBorderColor = clNone;
    bool FIsThemed;
    int FButtonWidth;
    bool FButtonHover = false;
    bool FMouseInControl = false;
    bool FIsWinXP;
    bool FMetroStyle = false;
    TColor FFocusBorderColor = clNone;
    bool FDisabledBorder = false;
    bool FHasFocus = false;
    bool FFocusBorder = false;
};
