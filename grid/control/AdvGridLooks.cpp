// TAdvStringGrid: the look presets, their name tables and the link display settings.
#include "AdvGrid.h"

namespace {

struct TLookNames {
    const char* Identifier;
    const char* Display;
};

// Indexed by TGridLook up to glOffice2007; glCustom has no names.
constexpr TLookNames LookNames[] = {
    {"glStandard", "Standard"},     {"glSoft", "Soft"},
    {"glClassic", "Classic"},       {"glKit", "Kit"},
    {"glXP", "Windows XP"},         {"glListView", "ListView"},
    {"glVista", "Windows Vista"},   {"glWin7", "Windows 7"},
    {"glOffice2007", "Office2007"},
};
static_assert(std::size(LookNames) == glCustom);

} // namespace

void GridLookIdentifier(TGridLook Look, String& Name) {
    if (Look >= glStandard && Look < glCustom) Name = QString::fromLatin1(LookNames[Look].Identifier);
}

void GridLookDisplayName(TGridLook Look, String& Name) {
    if (Look >= glStandard && Look < glCustom) Name = QString::fromLatin1(LookNames[Look].Display);
}

// ---------------------------------------------------------------------------------------------
// Look

// The presets write values once and keep nothing: a later write of one property wins. The
// fixed-cell gradients are written through ControlLook, which passes them on to the grid's own
// (From and To only when not clNone, the mirrors always). The grid styles of the three newer looks
// and of the drop-down editors are applied by the style code; until it is part of the grid those
// two steps have nothing to write to.
void TAdvStringGrid::SetLook(TGridLook Value) {
    if (Value == FLook) return;
    FLook = Value;
    TControlLook* look = FControlLook.get();

    if (Value != glCustom) {
        look->SetFixedGradientMirrorFrom(clNone);
        look->SetFixedGradientMirrorTo(clNone);
        look->SetFixedGradientFrom(clNone);
        look->SetFixedGradientTo(clNone);
        FKitGradientFrom = clNone;
        FKitGradientTo = clNone;
        FKitGradientMirrorFrom = clNone;
        FKitGradientMirrorTo = clNone;
        FSortSettings->SetHeaderColor(clNone);
    }

    switch (Value) {
        case glVista:
            FCurrentStyle = gsWindowsVista;
            SetSelectionStyle(ssVista);
            break;
        case glWin7:
            FCurrentStyle = gsWindows7;
            SetSelectionStyle(ssWin7);
            break;
        case glOffice2007:
            FCurrentStyle = gsOffice2007Luna;
            SetSelectionStyle(ssOffice2007);
            break;
        case glCustom: break;
        default: {
            SetSelectionStyle(ssDefault);
            if (HasState(csLoading)) break;
            const bool plain = Value == glStandard || Value == glSoft || Value == glClassic;
            if (plain) {
                SetFixedColor(clBtnFace);
                look->SetFixedGradientFrom(clBtnFace);
                look->SetFixedGradientTo(clNone);
            } else {
                look->SetFixedGradientFrom(0xFFFFFF);
                look->SetFixedGradientTo(clBtnFace);
            }
            SetGridFixedLineColor(0x808080);
            look->SetFixedGradientMirrorFrom(clNone);
            look->SetFixedGradientMirrorTo(clNone);
            FKitGradientMirrorFrom = clNone;
            FKitGradientMirrorTo = clNone;
            SetGridLineColor(0xC0C0C0);
            if (Value == glKit || Value == glXP) {
                FActiveCellColor = 0xEACAB6;
                FActiveCellColorTo = clNone;
                FSelectionColor = 0xEACAB6;
                FSelectionColorTo = clNone;
                FSelectionTextColor = 0;
                // The search footer takes the gradient colours as they were cleared above, so it
                // draws without a gradient of its own.
                FSearchFooter->SetColor(clNone);
                FSearchFooter->SetColorTo(clNone);
                look->SetFixedGradientFrom(0xFFFFFF);
                look->SetFixedGradientTo(Value == glXP ? TColor(clBtnFace) : TColor(0xC0C0C0));
                look->SetFixedGradientHoverFrom(0xCFD0D1);
                look->SetFixedGradientHoverTo(0xBEC6C8);
                look->SetFixedGradientHoverMirrorFrom(0xBEC6C8);
                look->SetFixedGradientHoverMirrorTo(0xABBCBF);
                look->SetFixedGradientDownFrom(0x868788);
                look->SetFixedGradientDownTo(0x737C7E);
                look->SetFixedGradientDownMirrorFrom(0x737C7E);
                look->SetFixedGradientDownMirrorTo(0x627376);
            } else {
                FActiveCellColor = 0x808080;
                FActiveCellColorTo = clNone;
                FSelectionColor = clHighlight;
                FSelectionTextColor = clHighlightText;
                FSearchFooter->SetColor(clBtnFace);
                FSearchFooter->SetColorTo(clBtnFace);
            }
            break;
        }
    }

    SetScrollType(ssNormal);
    SetBorderStyle(bsSingle);
    SetBorderColor(0xB99D7F);
    Invalidate();
    if (!HasState(csLoading)) UpdateFooter();
}

TColor TAdvStringGrid::KitGradient(TFixedGradientColor Which) const {
    switch (Which) {
        case fgFrom: return FKitGradientFrom;
        case fgTo: return FKitGradientTo;
        case fgMirrorFrom: return FKitGradientMirrorFrom;
        case fgMirrorTo: return FKitGradientMirrorTo;
        default: return FKitGradientHoverDown[size_t(Which - fgHoverFrom)];
    }
}

void TAdvStringGrid::SettingsKitGradient(TFixedGradientColor Which, TColor Value) {
    switch (Which) {
        case fgFrom: FKitGradientFrom = Value; break;
        case fgTo: FKitGradientTo = Value; break;
        case fgMirrorFrom: FKitGradientMirrorFrom = Value; break;
        case fgMirrorTo: FKitGradientMirrorTo = Value; break;
        default: FKitGradientHoverDown[size_t(Which - fgHoverFrom)] = Value; break;
    }
}

// ---------------------------------------------------------------------------------------------
// Plain colour settings: stored, the grid repainted on a change.

namespace {
template <class T> bool Store(T& Field, T Value) {
    if (Field == Value) return false;
    Field = Value;
    return true;
}
} // namespace

void TAdvStringGrid::SetActiveCellColor(TColor Value) {
    if (Store(FActiveCellColor, Value)) Invalidate();
}
void TAdvStringGrid::SetActiveCellColorTo(TColor Value) {
    if (Store(FActiveCellColorTo, Value)) Invalidate();
}
void TAdvStringGrid::SetSelectionColor(TColor Value) {
    if (Store(FSelectionColor, Value)) Invalidate();
}
void TAdvStringGrid::SetSelectionColorTo(TColor Value) {
    if (Store(FSelectionColorTo, Value)) Invalidate();
}
void TAdvStringGrid::SetSelectionTextColor(TColor Value) {
    if (Store(FSelectionTextColor, Value)) Invalidate();
}
void TAdvStringGrid::SetKitGradientFrom(TColor Value) {
    if (Store(FKitGradientFrom, Value)) Invalidate();
}
void TAdvStringGrid::SetKitGradientTo(TColor Value) {
    if (Store(FKitGradientTo, Value)) Invalidate();
}
void TAdvStringGrid::SetKitGradientMirrorFrom(TColor Value) {
    if (Store(FKitGradientMirrorFrom, Value)) Invalidate();
}
void TAdvStringGrid::SetKitGradientMirrorTo(TColor Value) {
    if (Store(FKitGradientMirrorTo, Value)) Invalidate();
}

void TAdvStringGrid::SetBorderColor(TColor Value) {
    if (!Store(FBorderColor, Value)) return;
    if (Parent() && Parent()->HandleAllocated()) DrawNCBorder();
}

// ---------------------------------------------------------------------------------------------
// Links

void TAdvStringGrid::SetURLColor(TColor Value) {
    if (Store(FURLColor, Value) && FURLShow) Invalidate();
}

void TAdvStringGrid::SetURLShow(bool Value) {
    if (Store(FURLShow, Value)) Invalidate();
}

void TAdvStringGrid::SetURLShowInText(bool Value) {
    if (Store(FURLShowInText, Value)) Invalidate();
}

void TAdvStringGrid::SetURLFull(bool Value) {
    FURLFull = Value;
    if (FURLShow) Invalidate();
}
