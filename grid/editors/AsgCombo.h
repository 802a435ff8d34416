// The grid's combo box: an optional attached label, focus colours, a flat look with its own
// borders and drop-down button, and custom button colours. With its default settings it paints
// exactly as the platform's combo box; the custom painting applies only when a look setting is
// used. Base of the grid's combo cell editor.
#pragma once

#include "EditorLook.h"
#include "StdCtrls.h"

class TAsgCustomCombo : public TCustomComboBox {
public:
    explicit TAsgCustomCombo(TComponent* AOwner);
    ~TAsgCustomCombo() override;

    // Selects the item equal to AString when there is one.
    void SelectItem(const String& AString);
    // Remembers the current colour as the one to return to after the focus.
    void Init();

    bool AutoFocus() const { return FAutoFocus; }
    void SetAutoFocus(bool Value) { FAutoFocus = Value; }
    bool Flat() const { return FFlat; }
    void SetFlat(bool Value);
    bool Etched() const { return FEtched; }
    void SetEtched(bool Value);
    // Width of the drop-down button area; only 14 to 32 are taken.
    int ButtonWidth() const { return FButtonWidth; }
    void SetButtonWidth(int Value);
    bool FocusBorder() const { return FFocusBorder; }
    void SetFocusBorder(bool Value) { FFocusBorder = Value; }
    int DropWidth() const { return FDropWidth; }
    void SetDropWidth(int Value);
    bool IsWinXP() const { return FIsWinXP; }
    void SetIsWinXP(bool Value) { FIsWinXP = Value; }
    bool IsVista() const { return FIsVista; }
    void SetIsVista(bool Value) { FIsVista = Value; }
    TColor FlatLineColor() const { return FFlatLineColor; }
    void SetFlatLineColor(TColor Value);
    bool FlatParentColor() const { return FFlatParentColor; }
    void SetFlatParentColor(bool Value);
    TColor FocusColor() const { return FFocusColor; }
    void SetFocusColor(TColor Value) { FFocusColor = Value; }
    TColor FocusBorderColor() const { return FFocusBorderColor; }
    void SetFocusBorderColor(TColor Value) { FFocusBorderColor = Value; }
    TColor BorderColor() const { return FBorderColor; }
    void SetBorderColor(TColor Value);
    bool DisabledBorder() const { return FDisabledBorder; }
    void SetDisabledBorder(bool Value) { FDisabledBorder = Value; }
    bool FocusLabel() const { return FFocusLabel; }
    void SetFocusLabel(bool Value) { FFocusLabel = Value; }

    TColor ButtonColor = clNone;
    TColor ButtonColorHot = clNone;
    TColor ButtonColorDown = clNone;
    TColor ButtonBorderColor = clNone;
    TColor ButtonTextColor = clNone;
    TColor ButtonTextColorHot = clNone;
    TColor ButtonTextColorDown = clNone;

    // The attached label (made on the first caption write).
    TLabel* ComboLabel() const { return FLabel; }
    String LabelCaption() const;
    void SetLabelCaption(const String& Value);
    TFont* LabelFont() const { return FLabelFont; }
    void SetLabelFont(TFont* Value);
    int LabelMargin() const { return FLabelMargin; }
    void SetLabelMargin(int Value);
    TLabelPosition LabelPosition() const { return FLabelPosition; }
    void SetLabelPosition(TLabelPosition Value);
    bool LabelTransparent() const { return FLabelTransparent; }
    void SetLabelTransparent(bool Value);
    bool LabelAlwaysEnabled() const { return FLabelAlwaysEnabled; }
    void SetLabelAlwaysEnabled(bool Value);

    // The list closed.
    TNotifyEvent OnDropUp;

    void SetEnabled(bool Value) override;
    void SetVisible(bool Value) override;
    void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;
    void Dispatch(TMessage& Message) override;

protected:
    void Loaded() override;
    void Notification(TComponent* AComponent, TOperation Operation) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    // Whether the painting is the combo's own (Algorithms of its look) or the platform's.
    bool CustomPainting() const;
    // Draws the borders: onto DC (window coordinates) inside a paint, else the window repaints.
    void DrawBorders(TCanvas* DC = nullptr);
    void DrawButton(TCanvas* DC);

private:
    void PlaceLabel();
    void CreateLabel();
    void LabelFontChanged(TObject* Sender);
    void FocusGained();
    void FocusLost();
    void WMPaint(TWMPaint& Message);
    void WMNCPaint(TWMNCPaint& Message);
    void CNCommand(TWMCommand& Message);
    void CMMouseEnter(TMessage& Message);
    void CMMouseLeave(TMessage& Message);
    void CMEnabledChanged(TMessage& Message);
    bool MouseButtonDown() const;
    bool Themed() const;

    bool FAutoFocus = false;
    bool FFlat = false;
    bool FEtched = false;
    TColor FOldColor = clWindow;
    bool FOldParentColor = false;
    TColor FLoadedColor = clWindow;
    int FButtonWidth;
    bool FFocusBorder = false;
    bool FMouseInControl = false;
    int FDropWidth = 0;
    bool FIsWinXP = false;
    bool FIsThemed;
    bool FIsVista = false;
    bool FButtonHover = false;
    bool FLabelAlwaysEnabled = false;
    bool FLabelTransparent = false;
    int FLabelMargin = 4;
    TFont* FLabelFont;
    TLabelPosition FLabelPosition = lpLeftTop;
    TLabel* FLabel = nullptr;
    TColor FFlatLineColor = clNone;
    bool FFlatParentColor = true;
    TColor FFocusColor = clNone;
    TColor FFocusBorderColor = clNone;
    TColor FBorderColor = clNone;
    bool FDisabledBorder = true;
    TColor FNormalColor = clNone;
    bool FHasFocus = false;
    bool FFocusLabel = false;
};

class TAsgComboBox : public TAsgCustomCombo {
public:
    explicit TAsgComboBox(TComponent* AOwner) : TAsgCustomCombo(AOwner) {}
};
