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
//
// Header and footer share their values and rules (TPopupStrip, TPopupStripButton); the footer
// adds a size grip and its buttons a modal result. A header copies only from a header and a
// footer only from a footer.
#pragma once

#include "CategoryPanels.h" // TGradientDirection (gdHorizontal, gdVertical), shared with the panels
#include "Classes.h"
#include "Graphics.h"

// Buttons stacked from the left or from the right end of the strip.
enum TButtonAlignment { baLeft, baRight };

// ---------------------------------------------------------------------------------------------
// Buttons of the strips

// The change notification of a strip's button collection (Sender: the collection). It fires only
// from the button setters that notify; adding, inserting, deleting, clearing or moving buttons
// fires nothing.
class TPopupStripButtonsEvents {
public:
    TNotifyEvent OnChange;
};

// Width and Height are requested sizes in pixels; 0 lets the button control size itself from its
// caption and image. Caption, Enabled and Width notify when they change; Height and ImageIndex
// are plain stores.
class TPopupStripButton : public TCollectionItem {
public:
    const String& Caption() const { return FCaption; }
    void SetCaption(const String& Value);
    int ImageIndex() const { return FImageIndex; }
    void SetImageIndex(int Value) { FImageIndex = Value; }
    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool Value);
    int Width() const { return FWidth; }
    void SetWidth(int Value);
    int Height() const { return FHeight; }
    void SetHeight(int Value) { FHeight = Value; }

protected:
    explicit TPopupStripButton(TCollection* Collection) : TCollectionItem(Collection) {}
    // Caption, ImageIndex, Enabled, Width and Height, through the setters.
    void AssignButton(const TPopupStripButton& Source);

private:
    void Changed();

    String FCaption;
    int FImageIndex = -1;
    bool FEnabled = true;
    int FHeight = 0;
    int FWidth = 0;
};

class THeaderButton : public TPopupStripButton {
public:
    explicit THeaderButton(TCollection* Collection) : TPopupStripButton(Collection) {}
    // From another THeaderButton; any other source raises the conversion error.
    void Assign(TPersistent* Source) override;
};

class TFooterButton : public TPopupStripButton {
public:
    explicit TFooterButton(TCollection* Collection) : TPopupStripButton(Collection) {}

    // Carried to the footer's button control.
    TModalResult ModalResult() const { return FModalResult; }
    void SetModalResult(TModalResult Value) { FModalResult = Value; }

    // From another TFooterButton; any other source raises the conversion error.
    void Assign(TPersistent* Source) override;

private:
    TModalResult FModalResult = mrNone;
};

// The owner of the header's buttons is the header's owner.
class THeaderButtons : public TOwnedCollection, public TPopupStripButtonsEvents {
public:
    explicit THeaderButtons(TPersistent* AOwner)
        : TOwnedCollection(AOwner, CollectionItemClass<THeaderButton>()) {}

    THeaderButton* Add() { return static_cast<THeaderButton*>(TCollection::Add()); }
    THeaderButton* Insert(int Index) { return static_cast<THeaderButton*>(TCollection::Insert(Index)); }
    THeaderButton* Items(int Index) const { return static_cast<THeaderButton*>(TCollection::Items(Index)); }
    void SetItems(int Index, THeaderButton* Value) { TCollection::SetItems(Index, Value); }
};

// The footer's buttons answer the footer's owner as theirs.
class TFooterButtons : public TCollection, public TPopupStripButtonsEvents {
public:
    explicit TFooterButtons(TPersistent* AOwner)
        : TCollection(CollectionItemClass<TFooterButton>()), FMyOwner(AOwner) {}

    TFooterButton* Add() { return static_cast<TFooterButton*>(TCollection::Add()); }
    TFooterButton* Insert(int Index) { return static_cast<TFooterButton*>(TCollection::Insert(Index)); }
    TFooterButton* Items(int Index) const { return static_cast<TFooterButton*>(TCollection::Items(Index)); }
    void SetItems(int Index, TFooterButton* Value) { TCollection::SetItems(Index, Value); }

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

// What header and footer share; TButtons is the strip's button collection.
template <class TButtons> class TPopupStrip : public TPersistent {
public:
    ~TPopupStrip() override;

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
    TButtons* Buttons() const { return FButtons; }
    void SetButtons(TButtons* Value) { FButtons->Assign(Value); }
    TButtonAlignment ButtonAlignment() const { return FButtonAlignment; }
    void SetButtonAlignment(TButtonAlignment Value) { FButtonAlignment = Value; }

    // Set by the owning control.
    TNotifyEvent OnChange;
    TNotifyEvent OnButtonsChanged;

protected:
    explicit TPopupStrip(TPersistent* AOwner);
    TPersistent* GetOwner() override { return FOwner; }

    // Every value, Visible through its setter after the others (so OnChange sees the new
    // colours, caption, font and sizes and the old buttons), then the alignment and the buttons.
    void AssignStrip(const TPopupStrip& Source);
    // The colours, the font and the gradient direction; no notification.
    void AssignStripColors(const TPopupStrip& Source);
    // The stored properties; SizeGrip (the footer's) between ImageIndex and Buttons when given.
    QStringList StripStoredProperties(const bool* SizeGrip) const;

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
    TButtons* FButtons;
    TGradientDirection FGradientDirection = PopupStripDefaults::GradientDirection;
    TButtonAlignment FButtonAlignment = PopupStripDefaults::ButtonAlignment;
};

// Both kinds are instantiated once, in PopupAppearance.cpp.
extern template class TPopupStrip<THeaderButtons>;
extern template class TPopupStrip<TFooterButtons>;

// The caption font starts as the platform's default font named "Tahoma".
class THeaderAppearance : public TPopupStrip<THeaderButtons> {
public:
    explicit THeaderAppearance(TPersistent* AOwner);

    // From another THeaderAppearance: everything. Other sources (nil too): nothing.
    void Assign(TPersistent* Source) override;
    // From another THeaderAppearance: ColorTo, Color, BorderColor, Font, GradientDirection.
    void AssignColors(TPersistent* Source);
    // The properties a form stream would hold, in the published order.
    QStringList StoredProperties() const { return StripStoredProperties(nullptr); }
};

// The caption font starts as the platform's default font.
class TFooterAppearance : public TPopupStrip<TFooterButtons> {
public:
    explicit TFooterAppearance(TPersistent* AOwner) : TPopupStrip(AOwner) {}

    // A size grip at the strip's right end resizes the popup.
    bool SizeGrip() const { return FSizeGrip; }
    void SetSizeGrip(bool Value) { FSizeGrip = Value; }

    // As the header's, with SizeGrip.
    void Assign(TPersistent* Source) override;
    // From another TFooterAppearance: BorderColor, Color, ColorTo, GradientDirection, Font.
    void AssignColors(TPersistent* Source);
    QStringList StoredProperties() const { return StripStoredProperties(&FSizeGrip); }

private:
    bool FSizeGrip = PopupStripDefaults::SizeGrip;
};
