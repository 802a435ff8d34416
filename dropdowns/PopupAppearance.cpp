// Header and footer strips of a drop-down popup: values, copies and the two notifications.
#include "PopupAppearance.h"

namespace {

// The change notification of the collection an item lives in (none when it lives in none).
template <class Buttons> void ButtonsChanged(TCollection* Collection) {
    auto* buttons = dynamic_cast<Buttons*>(Collection);
    if (buttons && Assigned(buttons->OnChange)) buttons->OnChange(buttons);
}

// The stored properties of a strip in the published order (SizeGrip only for the footer).
template <class Strip> QStringList StripStoredProperties(const Strip& S, const bool* SizeGrip) {
    namespace D = PopupStripDefaults;
    QStringList names;
    auto add = [&](bool Stored, const char* Name) {
        if (Stored) names << QString::fromLatin1(Name);
    };
    add(S.Color() != D::Color, "Color");
    add(S.ColorTo() != D::ColorTo, "ColorTo");
    add(!S.Caption().isEmpty(), "Caption");
    add(true, "Font");
    add(S.GradientDirection() != D::GradientDirection, "GradientDirection");
    add(true, "Visible");
    add(S.Height() != D::Height, "Height");
    add(S.BorderColor() != D::BorderColor, "BorderColor");
    add(S.BorderWidth() != D::BorderWidth, "BorderWidth");
    add(S.ImageIndex() != D::ImageIndex, "ImageIndex");
    if (SizeGrip) add(*SizeGrip != D::SizeGrip, "SizeGrip");
    add(true, "Buttons");
    add(S.ButtonAlignment() != D::ButtonAlignment, "ButtonAlignment");
    return names;
}

} // namespace

// ---------------------------------------------------------------------------------------------
// Buttons

THeaderButton::THeaderButton(TCollection* Collection) : TCollectionItem(Collection) {}

void THeaderButton::SetCaption(const String& Value) {
    if (Value == FCaption) return;
    FCaption = Value;
    ButtonsChanged<THeaderButtons>(Collection());
}

void THeaderButton::SetEnabled(bool Value) {
    if (Value == FEnabled) return;
    FEnabled = Value;
    ButtonsChanged<THeaderButtons>(Collection());
}

void THeaderButton::SetWidth(int Value) {
    if (Value == FWidth) return;
    FWidth = Value;
    ButtonsChanged<THeaderButtons>(Collection());
}

void THeaderButton::SetHeight(int Value) {
    if (Value != FHeight) FHeight = Value;
}

void THeaderButton::Assign(TPersistent* Source) {
    auto* src = dynamic_cast<THeaderButton*>(Source);
    if (!src) {
        TCollectionItem::Assign(Source);
        return;
    }
    SetCaption(src->FCaption);
    FImageIndex = src->FImageIndex;
    SetEnabled(src->FEnabled);
    SetWidth(src->FWidth);
    SetHeight(src->FHeight);
}

TFooterButton::TFooterButton(TCollection* Collection) : TCollectionItem(Collection) {}

void TFooterButton::SetCaption(const String& Value) {
    if (Value == FCaption) return;
    FCaption = Value;
    ButtonsChanged<TFooterButtons>(Collection());
}

void TFooterButton::SetEnabled(bool Value) {
    if (Value == FEnabled) return;
    FEnabled = Value;
    ButtonsChanged<TFooterButtons>(Collection());
}

void TFooterButton::SetWidth(int Value) {
    if (Value == FWidth) return;
    FWidth = Value;
    ButtonsChanged<TFooterButtons>(Collection());
}

void TFooterButton::SetHeight(int Value) {
    if (Value != FHeight) FHeight = Value;
}

void TFooterButton::Assign(TPersistent* Source) {
    auto* src = dynamic_cast<TFooterButton*>(Source);
    if (!src) {
        TCollectionItem::Assign(Source);
        return;
    }
    SetCaption(src->FCaption);
    FImageIndex = src->FImageIndex;
    FModalResult = src->FModalResult;
    SetEnabled(src->FEnabled);
    SetWidth(src->FWidth);
    SetHeight(src->FHeight);
}

THeaderButtons::THeaderButtons(TPersistent* AOwner)
    : TOwnedCollection(AOwner, CollectionItemClass<THeaderButton>()) {}

TFooterButtons::TFooterButtons(TPersistent* AOwner)
    : TCollection(CollectionItemClass<TFooterButton>()), FMyOwner(AOwner) {}

// ---------------------------------------------------------------------------------------------
// Header

THeaderAppearance::THeaderAppearance(TPersistent* AOwner)
    : FOwner(AOwner), FFont(new TFont), FButtons(new THeaderButtons(AOwner)) {
    FFont->SetName(QStringLiteral("Tahoma"));
    FButtons->OnChange = [this](TObject*) {
        if (Assigned(OnButtonsChanged)) OnButtonsChanged(this);
    };
}

THeaderAppearance::~THeaderAppearance() {
    delete FButtons;
    delete FFont;
}

void THeaderAppearance::SetVisible(bool Value) {
    if (Value == FVisible) return;
    FVisible = Value;
    if (Assigned(OnChange)) OnChange(this);
}

void THeaderAppearance::Assign(TPersistent* Source) {
    auto* src = dynamic_cast<THeaderAppearance*>(Source);
    if (!src) return;
    FColorTo = src->FColorTo;
    FColor = src->FColor;
    FBorderColor = src->FBorderColor;
    FCaption = src->FCaption;
    FFont->Assign(src->FFont);
    FImageIndex = src->FImageIndex;
    FBorderWidth = src->FBorderWidth;
    FGradientDirection = src->FGradientDirection;
    FHeight = src->FHeight;
    SetVisible(src->FVisible);
    FButtonAlignment = src->FButtonAlignment;
    FButtons->Assign(src->FButtons);
}

void THeaderAppearance::AssignColors(TPersistent* Source) {
    auto* src = dynamic_cast<THeaderAppearance*>(Source);
    if (!src) return;
    FColorTo = src->FColorTo;
    FColor = src->FColor;
    FBorderColor = src->FBorderColor;
    FFont->Assign(src->FFont);
    FGradientDirection = src->FGradientDirection;
}

QStringList THeaderAppearance::StoredProperties() const {
    return StripStoredProperties(*this, nullptr);
}

// ---------------------------------------------------------------------------------------------
// Footer

TFooterAppearance::TFooterAppearance(TPersistent* AOwner)
    : FOwner(AOwner), FFont(new TFont), FButtons(new TFooterButtons(AOwner)) {
    FButtons->OnChange = [this](TObject*) {
        if (Assigned(OnButtonsChanged)) OnButtonsChanged(this);
    };
}

TFooterAppearance::~TFooterAppearance() {
    delete FButtons;
    delete FFont;
}

void TFooterAppearance::SetVisible(bool Value) {
    if (Value == FVisible) return;
    FVisible = Value;
    if (Assigned(OnChange)) OnChange(this);
}

void TFooterAppearance::Assign(TPersistent* Source) {
    auto* src = dynamic_cast<TFooterAppearance*>(Source);
    if (!src) return;
    FBorderColor = src->FBorderColor;
    FColor = src->FColor;
    FColorTo = src->FColorTo;
    FGradientDirection = src->FGradientDirection;
    FFont->Assign(src->FFont);
    FCaption = src->FCaption;
    FSizeGrip = src->FSizeGrip;
    FBorderWidth = src->FBorderWidth;
    FHeight = src->FHeight;
    FImageIndex = src->FImageIndex;
    SetVisible(src->FVisible);
    FButtonAlignment = src->FButtonAlignment;
    FButtons->Assign(src->FButtons);
}

void TFooterAppearance::AssignColors(TPersistent* Source) {
    auto* src = dynamic_cast<TFooterAppearance*>(Source);
    if (!src) return;
    FBorderColor = src->FBorderColor;
    FColor = src->FColor;
    FColorTo = src->FColorTo;
    FGradientDirection = src->FGradientDirection;
    FFont->Assign(src->FFont);
}

QStringList TFooterAppearance::StoredProperties() const {
    return StripStoredProperties(*this, &FSizeGrip);
}
