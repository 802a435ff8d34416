// Header and footer strips of a drop-down popup: values, copies and the two notifications.
#include "PopupAppearance.h"

// ---------------------------------------------------------------------------------------------
// Buttons

void TPopupStripButton::Changed() {
    auto* events = dynamic_cast<TPopupStripButtonsEvents*>(Collection());
    if (events && Assigned(events->OnChange)) events->OnChange(Collection());
}

void TPopupStripButton::SetCaption(const String& Value) {
    if (Value == FCaption) return;
    FCaption = Value;
    Changed();
}

void TPopupStripButton::SetEnabled(bool Value) {
    if (Value == FEnabled) return;
    FEnabled = Value;
    Changed();
}

void TPopupStripButton::SetWidth(int Value) {
    if (Value == FWidth) return;
    FWidth = Value;
    Changed();
}

void TPopupStripButton::AssignButton(const TPopupStripButton& Source) {
    SetCaption(Source.FCaption);
    FImageIndex = Source.FImageIndex;
    SetEnabled(Source.FEnabled);
    SetWidth(Source.FWidth);
    SetHeight(Source.FHeight);
}

void THeaderButton::Assign(TPersistent* Source) {
    if (auto* src = dynamic_cast<THeaderButton*>(Source))
        AssignButton(*src);
    else
        TCollectionItem::Assign(Source);
}

void TFooterButton::Assign(TPersistent* Source) {
    auto* src = dynamic_cast<TFooterButton*>(Source);
    if (!src) {
        TCollectionItem::Assign(Source);
        return;
    }
    FModalResult = src->FModalResult;
    AssignButton(*src);
}

// ---------------------------------------------------------------------------------------------
// The shared strip

template <class TButtons>
TPopupStrip<TButtons>::TPopupStrip(TPersistent* AOwner)
    : FOwner(AOwner), FFont(new TFont), FButtons(new TButtons(AOwner)) {
    FButtons->OnChange = [this](TObject*) {
        if (Assigned(OnButtonsChanged)) OnButtonsChanged(this);
    };
}

template <class TButtons> TPopupStrip<TButtons>::~TPopupStrip() {
    delete FButtons;
    delete FFont;
}

template <class TButtons> void TPopupStrip<TButtons>::SetVisible(bool Value) {
    if (Value == FVisible) return;
    FVisible = Value;
    if (Assigned(OnChange)) OnChange(this);
}

template <class TButtons> void TPopupStrip<TButtons>::AssignStripColors(const TPopupStrip& Source) {
    FColorTo = Source.FColorTo;
    FColor = Source.FColor;
    FBorderColor = Source.FBorderColor;
    FFont->Assign(Source.FFont);
    FGradientDirection = Source.FGradientDirection;
}

template <class TButtons> void TPopupStrip<TButtons>::AssignStrip(const TPopupStrip& Source) {
    AssignStripColors(Source);
    FCaption = Source.FCaption;
    FImageIndex = Source.FImageIndex;
    FBorderWidth = Source.FBorderWidth;
    FHeight = Source.FHeight;
    SetVisible(Source.FVisible);
    FButtonAlignment = Source.FButtonAlignment;
    FButtons->Assign(Source.FButtons);
}

template <class TButtons>
QStringList TPopupStrip<TButtons>::StripStoredProperties(const bool* SizeGrip) const {
    namespace D = PopupStripDefaults;
    QStringList names;
    auto add = [&](bool Stored, const char* Name) {
        if (Stored) names << QString::fromLatin1(Name);
    };
    add(FColor != D::Color, "Color");
    add(FColorTo != D::ColorTo, "ColorTo");
    add(!FCaption.isEmpty(), "Caption");
    add(true, "Font");
    add(FGradientDirection != D::GradientDirection, "GradientDirection");
    add(true, "Visible");
    add(FHeight != D::Height, "Height");
    add(FBorderColor != D::BorderColor, "BorderColor");
    add(FBorderWidth != D::BorderWidth, "BorderWidth");
    add(FImageIndex != D::ImageIndex, "ImageIndex");
    if (SizeGrip) add(*SizeGrip != D::SizeGrip, "SizeGrip");
    add(true, "Buttons");
    add(FButtonAlignment != D::ButtonAlignment, "ButtonAlignment");
    return names;
}

template class TPopupStrip<THeaderButtons>;
template class TPopupStrip<TFooterButtons>;

// ---------------------------------------------------------------------------------------------
// Header and footer

THeaderAppearance::THeaderAppearance(TPersistent* AOwner) : TPopupStrip(AOwner) {
    Font()->SetName(QStringLiteral("Tahoma"));
}

void THeaderAppearance::Assign(TPersistent* Source) {
    if (auto* src = dynamic_cast<THeaderAppearance*>(Source)) AssignStrip(*src);
}

void THeaderAppearance::AssignColors(TPersistent* Source) {
    if (auto* src = dynamic_cast<THeaderAppearance*>(Source)) AssignStripColors(*src);
}

void TFooterAppearance::Assign(TPersistent* Source) {
    auto* src = dynamic_cast<TFooterAppearance*>(Source);
    if (!src) return;
    FSizeGrip = src->FSizeGrip;
    AssignStrip(*src);
}

void TFooterAppearance::AssignColors(TPersistent* Source) {
    if (auto* src = dynamic_cast<TFooterAppearance*>(Source)) AssignStripColors(*src);
}
