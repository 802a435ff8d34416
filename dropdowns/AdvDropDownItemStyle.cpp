// The item colours of a list descendant's item appearance under a component style (the table is
// ItemStyleColors of AdvDropDownDraw).
#include "AdvDropDown.h"

#include "AdvItemSelector.h"

void TAdvCustomDropDown::SetItemAppearanceStyle(TItemAppearance* Appearance, TKitStyle Style) {
    const TItemStyleColors* c = Appearance && Style != tsCustom ? ItemStyleColors(Style) : nullptr;
    if (!c) return;
    Appearance->SetBorderColorHot(clNone);
    Appearance->SetBorderColorSelected(clNone);
    Appearance->SetColorSelectedText(clBlack);
    Appearance->SetColorHotText(clBlack);
    Appearance->SetColorHot(c->ColorHot);
    Appearance->SetColorHotTo(c->ColorHotTo);
    Appearance->SetColorMirrorHot(c->ColorMirrorHot);
    Appearance->SetColorMirrorHotTo(c->ColorMirrorHotTo);
    Appearance->SetColorSelected(c->ColorSelected);
    Appearance->SetColorSelectedTo(c->ColorSelectedTo);
    Appearance->SetColorMirrorSelected(c->ColorMirrorSelected);
    Appearance->SetColorMirrorSelectedTo(c->ColorMirrorSelectedTo);
    Appearance->SetBorderColor(c->BorderColor);
    Appearance->SetBorderColorTop(c->BorderColorTop);
    Appearance->SetBorderColorBottom(c->BorderColorBottom);
    Appearance->SetEdgeColor(c->EdgeColor);
    if (c->ColorSelectedText) Appearance->SetColorSelectedText(*c->ColorSelectedText);
}
