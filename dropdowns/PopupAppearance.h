// The look of the strips above and below a drop-down popup: THeaderAppearance and
// TFooterAppearance with their button collections. They paint nothing: the popup's header and
// footer controls and the popup form read them. Each drop-down control owns one of each and
// refreshes its popup on their notifications; each string grid owns one of each in its
// ControlLook (owner: the grid, no handlers) and copies them into a drop-down editor before it
// opens it.
//
// Only Visible notifies (OnChange); a button's Caption, Enabled or Width notifies through the
// appearance's OnButtonsChanged. Every other property is a plain store that reaches the screen
// when the owner re-reads the object.
#pragma once

#include "CategoryPanels.h" // TGradientDirection (gdHorizontal, gdVertical), shared with the panels
#include "Classes.h"
#include "Graphics.h"

// Buttons stacked from the left or from the right end of the strip.
enum TButtonAlignment { baLeft, baRight };

// ---------------------------------------------------------------------------------------------
// Buttons of the strips. Width and Height are requested sizes in pixels; 0 lets the button
// control size itself from its caption and image.

class THeaderButton : public TCollectionItem {
public:
    explicit THeaderButton(TCollection* Collection);

    const String& Caption() const { return FCaption; }
    void SetCaption(const String& Value);
    int ImageIndex() const { return FImageIndex; }
    void SetImageIndex(int Value) { FImageIndex = Value; }
    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool Value);
    int Width() const { return FWidth; }
    void SetWidth(int Value);
    int Height() const { return FHeight; }
    void SetHeight(int Value);

    // From another THeaderButton; any other source raises the conversion error.
    void Assign(TPersistent* Source) override;

private:
    String FCaption;
    int FImageIndex = -1;
    bool FEnabled = true;
    int FHeight = 0;
    int FWidth = 0;
};

class TFooterButton : public TCollectionItem {
public:
    explicit TFooterButton(TCollection* Collection);

    const String& Caption() const { return FCaption; }
    void SetCaption(const String& Value);
    int ImageIndex() const { return FImageIndex; }
    void SetImageIndex(int Value) { FImageIndex = Value; }
    // Carried to the footer's button control.
    TModalResult ModalResult() const { return FModalResult; }
    void SetModalResult(TModalResult Value) { FModalResult = Value; }
    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool Value);
    int Width() const { return FWidth; }
    void SetWidth(int Value);
    int Height() const { return FHeight; }
    void SetHeight(int Value);

    // From another TFooterButton; any other source raises the conversion error.
    void Assign(TPersistent* Source) override;

private:
    String FCaption;
    int FImageIndex = -1;
    TModalResult FModalResult = mrNone;
    bool FEnabled = true;
    int FHeight = 0;
    int FWidth = 0;
};

// OnChange (Sender: the collection) fires only from the item setters that notify; adding,
// inserting, deleting, clearing or moving items fires nothing.
class THeaderButtons : public TOwnedCollection {
public:
    explicit THeaderButtons(TPersistent* AOwner);

    THeaderButton* Add() { return static_cast<THeaderButton*>(TCollection::Add()); }
    THeaderButton* Insert(int Index) { return static_cast<THeaderButton*>(TCollection::Insert(Index)); }
    THeaderButton* Items(int Index) const { return static_cast<THeaderButton*>(TCollection::Items(Index)); }
    void SetItems(int Index, THeaderButton* Value) { TCollection::SetItems(Index, Value); }

    TNotifyEvent OnChange;
};

class TFooterButtons : public TCollection {
public:
    explicit TFooterButtons(TPersistent* AOwner);

    TFooterButton* Add() { return static_cast<TFooterButton*>(TCollection::Add()); }
    TFooterButton* Insert(int Index) { return static_cast<TFooterButton*>(TCollection::Insert(Index)); }
    TFooterButton* Items(int Index) const { return static_cast<TFooterButton*>(TCollection::Items(Index)); }
    void SetItems(int Index, TFooterButton* Value) { TCollection::SetItems(Index, Value); }

    TNotifyEvent OnChange;

protected:
    TPersistent* GetOwner() override { return FMyOwner; }

private:
    TPersistent* FMyOwner;
};

// ---------------------------------------------------------------------------------------------
// The strips. A form would store Font, Visible and Buttons always and every other property only
// when it differs from its stored default below (the constructor values); StoredProperties names
// them in the published order. Forms are built in code here, so nothing writes such a stream.

namespace PopupStripDefaults {
constexpr TColor Color = clSilver;
constexpr TColor ColorTo = clWhite;
constexpr TGradientDirection GradientDirection = gdVertical;
constexpr int Height = 22;
constexpr TColor BorderColor = clBlack;
constexpr int BorderWidth = 1;
constexpr int ImageIndex = -1;
constexpr bool SizeGrip = true;
constexpr TButtonAlignment ButtonAlignment = baRight;
} // namespace PopupStripDefaults

class THeaderAppearance : public TPersistent {
public:
    explicit THeaderAppearance(TPersistent* AOwner);
    ~THeaderAppearance() override;

    TColor Color() const { return FColor; }
    void SetColor(TColor Value) { FColor = Value; }
    // clNone: a solid Color.
    TColor ColorTo() const { return FColorTo; }
    void SetColorTo(TColor Value) { FColorTo = Value; }
    // May hold cell-text markup.
    const String& Caption() const { return FCaption; }
    void SetCaption(const String& Value) { FCaption = Value; }
    TFont* Font() const { return FFont; }
    void SetFont(TFont* Value) { FFont->Assign(Value); }
    TGradientDirection GradientDirection() const { return FGradientDirection; }
    void SetGradientDirection(TGradientDirection Value) { FGradientDirection = Value; }
    bool Visible() const { return FVisible; }
    // Stores a changed value and fires OnChange.
    void SetVisible(bool Value);
    int Height() const { return FHeight; }
    void SetHeight(int Value) { FHeight = Value; }
    // clNone: no border.
    TColor BorderColor() const { return FBorderColor; }
    void SetBorderColor(TColor Value) { FBorderColor = Value; }
    int BorderWidth() const { return FBorderWidth; }
    void SetBorderWidth(int Value) { FBorderWidth = Value; }
    // In the owning control's image list; -1 none.
    int ImageIndex() const { return FImageIndex; }
    void SetImageIndex(int Value) { FImageIndex = Value; }
    THeaderButtons* Buttons() const { return FButtons; }
    void SetButtons(THeaderButtons* Value) { FButtons->Assign(Value); }
    TButtonAlignment ButtonAlignment() const { return FButtonAlignment; }
    void SetButtonAlignment(TButtonAlignment Value) { FButtonAlignment = Value; }

    // Set by the owning control.
    TNotifyEvent OnChange;
    TNotifyEvent OnButtonsChanged;

    // From another THeaderAppearance: everything, Visible through its setter (so OnChange sees
    // the new colours, caption, font and sizes and the old buttons). Other sources: nothing.
    void Assign(TPersistent* Source) override;
    // From another THeaderAppearance: ColorTo, Color, BorderColor, Font, GradientDirection.
    void AssignColors(TPersistent* Source);
    // The properties a form stream would hold, in the published order.
    QStringList StoredProperties() const;

protected:
    TPersistent* GetOwner() override { return FOwner; }

private:
    TPersistent* FOwner;
    bool FVisible = true;
    int FHeight = PopupStripDefaults::Height;
    int FBorderWidth = PopupStripDefaults::BorderWidth;
    int FImageIndex = PopupStripDefaults::ImageIndex;
    String FCaption;
    TColor FColorTo = PopupStripDefaults::ColorTo;
    TColor FColor = PopupStripDefaults::Color;
    TColor FBorderColor = PopupStripDefaults::BorderColor;
    TFont* FFont;
    THeaderButtons* FButtons;
    TGradientDirection FGradientDirection = PopupStripDefaults::GradientDirection;
    TButtonAlignment FButtonAlignment = PopupStripDefaults::ButtonAlignment;
};

class TFooterAppearance : public TPersistent {
public:
    explicit TFooterAppearance(TPersistent* AOwner);
    ~TFooterAppearance() override;

    TColor Color() const { return FColor; }
    void SetColor(TColor Value) { FColor = Value; }
    TColor ColorTo() const { return FColorTo; }
    void SetColorTo(TColor Value) { FColorTo = Value; }
    const String& Caption() const { return FCaption; }
    void SetCaption(const String& Value) { FCaption = Value; }
    TFont* Font() const { return FFont; }
    void SetFont(TFont* Value) { FFont->Assign(Value); }
    TGradientDirection GradientDirection() const { return FGradientDirection; }
    void SetGradientDirection(TGradientDirection Value) { FGradientDirection = Value; }
    bool Visible() const { return FVisible; }
    void SetVisible(bool Value);
    int Height() const { return FHeight; }
    void SetHeight(int Value) { FHeight = Value; }
    TColor BorderColor() const { return FBorderColor; }
    void SetBorderColor(TColor Value) { FBorderColor = Value; }
    int BorderWidth() const { return FBorderWidth; }
    void SetBorderWidth(int Value) { FBorderWidth = Value; }
    int ImageIndex() const { return FImageIndex; }
    void SetImageIndex(int Value) { FImageIndex = Value; }
    // A size grip at the strip's right end resizes the popup.
    bool SizeGrip() const { return FSizeGrip; }
    void SetSizeGrip(bool Value) { FSizeGrip = Value; }
    TFooterButtons* Buttons() const { return FButtons; }
    void SetButtons(TFooterButtons* Value) { FButtons->Assign(Value); }
    TButtonAlignment ButtonAlignment() const { return FButtonAlignment; }
    void SetButtonAlignment(TButtonAlignment Value) { FButtonAlignment = Value; }

    TNotifyEvent OnChange;
    TNotifyEvent OnButtonsChanged;

    // As the header's, with SizeGrip.
    void Assign(TPersistent* Source) override;
    // From another TFooterAppearance: BorderColor, Color, ColorTo, GradientDirection, Font.
    void AssignColors(TPersistent* Source);
    QStringList StoredProperties() const;

protected:
    TPersistent* GetOwner() override { return FOwner; }

private:
    TPersistent* FOwner;
    bool FVisible = true;
    int FHeight = PopupStripDefaults::Height;
    int FBorderWidth = PopupStripDefaults::BorderWidth;
    bool FSizeGrip = PopupStripDefaults::SizeGrip;
    String FCaption;
    TColor FColorTo = PopupStripDefaults::ColorTo;
    TColor FColor = PopupStripDefaults::Color;
    TColor FBorderColor = PopupStripDefaults::BorderColor;
    TFont* FFont;
    int FImageIndex = PopupStripDefaults::ImageIndex;
    TFooterButtons* FButtons;
    TGradientDirection FGradientDirection = PopupStripDefaults::GradientDirection;
    TButtonAlignment FButtonAlignment = PopupStripDefaults::ButtonAlignment;
};
