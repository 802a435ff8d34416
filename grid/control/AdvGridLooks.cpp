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

// The presets write values once and keep nothing: a later write of one property wins. Settings
// objects the grid does not hold yet (ControlLook, SortSettings, SearchFooter) and the grid
// styles of SetStyle and of the drop-down editors are written here when they come; until then
// those steps have nothing to write to.
void TAdvStringGrid::SetLook(TGridLook Value) {
    if (Value == FLook) return;
    FLook = Value;

    if (Value != glCustom) {
        // ControlLook's four fixed gradient colours := clNone; SortSettings.HeaderColor := clNone.
        FKitGradientFrom = clNone;
        FKitGradientTo = clNone;
        FKitGradientMirrorFrom = clNone;
        FKitGradientMirrorTo = clNone;
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
            // The drop-down editors take the style tsWindowsXP (not while designing): the grid
            // holds none yet.
            SetSelectionStyle(ssDefault);
            if (HasState(csLoading)) break;
            const bool plain = Value == glStandard || Value == glSoft || Value == glClassic;
            if (plain) SetFixedColor(clBtnFace);
            // ControlLook.FixedGradientFrom := clBtnFace, To := clNone for the plain looks;
            // $FFFFFF and clBtnFace for glKit, glXP and glListView; its mirror colours clNone.
            SetGridFixedLineColor(0x808080);
            FKitGradientMirrorFrom = clNone;
            FKitGradientMirrorTo = clNone;
            SetGridLineColor(0xC0C0C0);
            if (Value == glKit || Value == glXP) {
                FActiveCellColor = 0xEACAB6;
                FActiveCellColorTo = clNone;
                FSelectionColor = 0xEACAB6;
                FSelectionColorTo = clNone;
                FSelectionTextColor = 0;
                // SearchFooter.Color and ColorTo := the grid's fixed gradient colours (clNone
                // here); ControlLook.FixedGradientFrom := $FFFFFF, To := clBtnFace (glXP) or
                // $C0C0C0 (glKit), and its hover and down gradients.
            } else {
                FActiveCellColor = 0x808080;
                FActiveCellColorTo = clNone;
                FSelectionColor = clHighlight;
                FSelectionTextColor = clHighlightText;
                // SearchFooter.Color and ColorTo := clBtnFace.
            }
            break;
        }
    }

    FScrollType = ssNormal;
    SetBorderStyle(bsSingle);
    SetBorderColor(0xB99D7F);
    Invalidate();
    // Unless loading, the floating footer's panel repaints too once it is built.
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
