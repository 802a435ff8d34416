// Floating footer, balloon and filter drop-down settings: values, copies and notifications.
#include "GridPanelSettings.h"

// ---------------------------------------------------------------------------------------------
// TFloatingFooter

void TFloatingFooter::SetHeight(int Value) {
    FHeight = Value;
    if (FGrid && FGrid->SettingsFooterPanelExists() && Value > 0) FGrid->SettingsFooterPanelHeight(Value - 1);
}

void TFloatingFooter::SetVisible(bool Value) {
    FVisible = Value;
    if (!FGrid) return;
    FGrid->SettingsFooterPanelHeight(Value ? FHeight - 1 : 0);
    FGrid->SettingsFooterPanelVisible(Value);
    FGrid->SettingsFooterRows(HidesLastRow() ? 1 : 0, HidesLastRow());
    FGrid->SettingsRepaintGrid();
}

void TFloatingFooter::SetFooterStyle(TFooterStyle Value) {
    FFooterStyle = Value;
    if (!FGrid) return;
    FGrid->SettingsHideLastRow(HidesLastRow());
    FGrid->SettingsRepaintGrid();
    FGrid->SettingsRepaintFooterPanel();
}

void TFloatingFooter::SetColor(TColor Value) {
    FColor = Value;
    Invalidate();
}

void TFloatingFooter::SetColumn(int Value) {
    FColumn = Value;
    Invalidate();
}

void TFloatingFooter::SetCustomTemplate(const String& Value) {
    FCustomTemplate = Value;
    Invalidate();
}

void TFloatingFooter::SetShowHint(bool Value) {
    FShowHint = Value;
    if (FGrid) FGrid->SettingsFooterPanelShowHint(Value);
}

void TFloatingFooter::SetBorderColor(TColor Value) {
    if (Value == FBorderColor) return;
    FBorderColor = Value;
    Invalidate();
}

void TFloatingFooter::Invalidate() {
    if (FGrid) FGrid->SettingsRepaintFooterPanel();
}

void TFloatingFooter::Assign(TPersistent* Source) {
    auto* src = dynamic_cast<TFloatingFooter*>(Source);
    if (!src) return;
    FCalculateHiddenRows = src->FCalculateHiddenRows;
    FColor = src->FColor;
    FColumn = src->FColumn;
    FCustomTemplate = src->FCustomTemplate;
    FFooterStyle = src->FFooterStyle;
    SetVisible(src->FVisible);
    SetShowHint(src->FShowHint);
}

// ---------------------------------------------------------------------------------------------
// TBalloonSettings

void TBalloonSettings::SetEnable(bool Value) {
    FEnable = Value;
    if (Assigned(OnEnableChange)) OnEnableChange(this);
}

void TBalloonSettings::Assign(TPersistent* Source) {
    auto* src = dynamic_cast<TBalloonSettings*>(Source);
    if (!src) return;
    FTextColor = src->FTextColor;
    FBackgroundColor = src->FBackgroundColor;
    FInitialDelay = src->FInitialDelay;
    FAutoHideDelay = src->FAutoHideDelay;
    FReshowDelay = src->FReshowDelay;
    FEnable = src->FEnable;
}

// ---------------------------------------------------------------------------------------------
// TFilterDropDown

TFilterDropDown::TFilterDropDown() : FFont(new TFont), FGlyph(new TBitmap), FGlyphActive(new TBitmap) {
    const TNotifyEvent glyphChanged = [this](TObject*) {
        if (Assigned(OnChange)) OnChange(this);
    };
    FGlyph->OnChange = glyphChanged;
    FGlyphActive->OnChange = glyphChanged;
}

TFilterDropDown::~TFilterDropDown() {
    delete FGlyph;
    delete FGlyphActive;
    delete FFont;
}

void TFilterDropDown::Assign(TPersistent* Source) {
    auto* src = dynamic_cast<TFilterDropDown*>(Source);
    if (!src || src == this) return;
    FColor = src->FColor;
    FColumnWidth = src->FColumnWidth;
    FFont->Assign(src->FFont);
    FHeight = src->FHeight;
    FWidth = src->FWidth;
    FGlyph->Assign(src->FGlyph);
    FGlyphActive->Assign(src->FGlyphActive);
}
