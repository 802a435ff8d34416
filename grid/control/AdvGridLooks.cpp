// TAdvStringGrid: the look presets, their name tables, the colour sets, component styles,
// colour tones, legacy schemes and the Office theme, and the link display settings.
#include "AdvGrid.h"
#include "CellDraw.h"
#include "GridCellEditors.h"

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
// (From and To only when not clNone, the mirrors always). The three newer looks hand over to their
// colour set; the look is stored first, so the set's own look switch finds it in place.
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
            SetStyle(gsWindowsVista);
            FCurrentStyle = gsWindowsVista;
            SetSelectionStyle(ssVista);
            break;
        case glWin7:
            SetStyle(gsWindows7);
            FCurrentStyle = gsWindows7;
            SetSelectionStyle(ssWin7);
            break;
        case glOffice2007:
            SetStyle(gsOffice2007Luna);
            FCurrentStyle = gsOffice2007Luna;
            SetSelectionStyle(ssOffice2007);
            break;
        case glCustom: break;
        default: {
            if (!HasState(csDesigning)) StyleDropDowns(tsWindowsXP);
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

// =============================================================================================
// Colour sets

namespace {

constexpr TColor Keep = TColor(0x7F000001);        // not a colour: the value stays
constexpr TColor MirrorToNow = TColor(0x7F000002); // the grid's mirror-to value at that point

struct TStyleSet {
    TAdvGridStyle Style;
    bool SwitchLook;
    TGridLook Look;
    TColor From, To, MirrorFrom, MirrorTo; // the grid's fixed gradient
    TColor ActiveFrom, ActiveTo;
    TColor Sel, SelTo, SelText;
    TColor Line, FixedLine;
    TColor SearchFrom, SearchTo;
    // ControlLook's From/To pair takes the gradient (else it ends as clNone); its mirror pair
    // takes the mirror colours.
    bool LookPair, LookMirror;
};

constexpr TColor BtnFace = clBtnFace;

// Indexed by TAdvGridStyle.
constexpr TStyleSet StyleSets[] = {
    {gsOffice2003Blue, true, glXP, 0xFCE1CB, 0xE0A57D, clNone, clNone, 0x94E6FB, 0x1595EE, 0x94E6FB, 0x1595EE,
     0, 0xC0C0C0, 0x808080, 0xFCE1CB, clNone, true, false},
    {gsOffice2003Silver, true, glXP, 0xECE2E1, 0xB39698, clNone, clNone, 0x94E6FB, 0x1595EE, 0x94E6FB,
     0x1595EE, 0, 0xC0C0C0, 0x808080, 0xECE2E1, clNone, true, false},
    {gsOffice2003Olive, true, glXP, 0xCFF0EA, 0x8CC0B1, clNone, clNone, 0x94E6FB, 0x1595EE, 0x94E6FB,
     0x1595EE, 0, 0xC0C0C0, 0x808080, 0xCFF0EA, clNone, true, false},
    {gsOffice2003Classic, true, glXP, 0xFFFFFF, 0xCCD4D8, clNone, clNone, 0xD8D5D4, 0xD8D5D4, Keep, Keep,
     Keep, 0xC0C0C0, 0x808080, 0xFFFFFF, clNone, false, false},
    {gsOffice2007Luna, true, glOffice2007, 0xFBF9F6, 0xE8DBD2, clNone, clNone, 0x9DD8F9, 0x5EC1F1, 0x5EC1F1,
     Keep, 0, 0xF1EDEB, 0xD1BBA4, 0xFBF9F6, clNone, true, false},
    {gsOffice2007Obsidian, true, glOffice2007, 0xF7F7F7, 0xDEDEDE, clNone, clNone, 0x9DD8F9, 0x5EC1F1,
     0x5EC1F1, Keep, 0, 0xE5D7D0, 0x808080, 0xF7F7F7, clNone, true, false},
    {gsWindowsXP, true, glXP, BtnFace, BtnFace, clNone, clNone, BtnFace, BtnFace, Keep, Keep, Keep, 0xC0C0C0,
     0x808080, BtnFace, clNone, false, false},
    {gsWhidbey, false, glXP, 0xFFFFFF, BtnFace, clNone, clNone, 0x94E6FB, 0x1595EE, Keep, Keep, Keep,
     0xC0C0C0, 0x808080, 0xFFFFFF, clNone, false, false},
    {gsCustom, false, glXP, Keep, Keep, Keep, Keep, Keep, Keep, Keep, Keep, Keep, Keep, Keep, Keep, Keep,
     false, false},
    {gsOffice2007Silver, true, glOffice2007, 0xF3F3F1, 0xCAC9C8, Keep, Keep, 0x99CCFF, 0x699CFF, 0x95C7F5,
     Keep, 0, 0xE5D7D0, 0x808080, 0xF3F3F1, MirrorToNow, true, false},
    {gsWindowsVista, true, glVista, 0xFFFFFF, 0xFFFFFF, 0xFAF8F7, 0xF4F2F1, 0xFDF8F1, 0xFCEFD5, 0xEACAB6,
     Keep, 0, 0xECECF0, 0xD4D2D1, 0xFFFFFF, 0xF4F2F1, false, true},
    {gsWindows7, true, glWin7, 0xFDFCFA, 0xFAF0E6, 0xF4E6DC, 0xF7E9DD, 0xFCEBDC, 0xFCDBC1, 0xEACAB6, Keep, 0,
     0xECECF0, 0xD4D2D1, 0xFDFCFA, 0xF7E9DD, false, true},
    {gsTerminal, true, glStandard, Keep, Keep, Keep, Keep, Keep, Keep, Keep, Keep, Keep, Keep, Keep, Keep,
     Keep, false, false},
    {gsOffice2010Blue, true, glOffice2007, 0xF5E7DA, 0xF5E7DA, 0xF5E7DA, 0xF5E7DA, 0x5BD5FF, 0x71EFFF,
     0xFFDBB7, Keep, 0, 0xC0C0C0, 0xC7B0A0, 0xF5E7DA, 0xF5E7DA, false, true},
    {gsOffice2010Silver, true, glOffice2007, 0xE8E3DF, 0xE8E3DF, 0xE8E3DF, 0xE8E3DF, 0x5BD5FF, 0x71EFFF,
     0xFFDBB7, Keep, 0, 0xC0C0C0, 0xBAB5B1, 0xE8E3DF, 0xE8E3DF, false, true},
    {gsOffice2010Black, true, glOffice2007, 0x6A6A6A, 0x6A6A6A, 0x6A6A6A, 0x6A6A6A, 0x5BD5FF, 0x71EFFF,
     0xFFDBB7, Keep, 0, 0xC0C0C0, 0x444444, 0x6A6A6A, 0x6A6A6A, false, true},
};
static_assert(std::size(StyleSets) == gsOffice2010Black + 1);

// Hover from, to, mirror from, mirror to, border; then the same for pressed cells.
struct THoverDown {
    TColor Values[10];
};
constexpr THoverDown LunaHoverDown{
    {0xE4E2DF, 0xDBD3CD, 0xDBD3CD, 0xD2C5BC, 0xB79F87, 0xE4C19D, 0xE4C19D, 0xE4C19D, 0xE4C19D, 0xE4C19D}};
constexpr THoverDown VistaHoverDown{
    {0xFFF7E3, 0xFFF7E3, 0xFFEDBD, 0xFBE7B7, 0xE3C993, 0xF9E4BC, 0xF9E4BC, 0xF7D68D, 0xF5D18A, 0xAE904F}};
constexpr THoverDown Win7HoverDown{
    {0xFEFBF8, 0xFAF2ED, 0xF4E4D7, 0xE8D2C1, 0xEEE8E3, 0xF1E8DD, 0xF1E4D8, 0xECDBCF, 0xEDDCCF, 0xD5BCAA}};
constexpr THoverDown Office2010HoverDown{
    {0x6BDFFF, 0xAFEFFF, 0xAFEFFF, 0xE6FCFF, 0x3ABFE8, 0x5BD5FF, 0x64E0FF, 0x64E0FF, 0x71EFFF, 0x308AC2}};

void Put(TColor& Field, TColor Value) {
    if (Value != Keep) Field = Value;
}

} // namespace

void TAdvStringGrid::ResetStyleColors() {
    FSelectionColor = clHighlight;
    FSelectionColorTo = clNone;
    FSelectionTextColor = clHighlightText;
    SetSelectionStyle(ssDefault);
    FSortSettings->SetHeaderColor(clNone);
    FSortSettings->SetHeaderColorTo(clNone);
    FSortSettings->SetHeaderMirrorColor(clNone);
    FSortSettings->SetHeaderMirrorColorTo(clNone);
    FControlLook->ResetColors();
}

void TAdvStringGrid::SetStyle(TAdvGridStyle AStyle) {
    if (AStyle < gsOffice2003Blue || AStyle > gsOffice2010Black) return;
    const TStyleSet& set = StyleSets[AStyle];
    ResetStyleColors();
    if (set.SwitchLook) SetLook(set.Look);

    TControlLook* look = FControlLook.get();
    Put(FKitGradientFrom, set.From);
    Put(FKitGradientTo, set.To);
    Put(FKitGradientMirrorFrom, set.MirrorFrom);
    Put(FKitGradientMirrorTo, set.MirrorTo);
    Put(FActiveCellColor, set.ActiveFrom);
    Put(FActiveCellColorTo, set.ActiveTo);
    Put(FSelectionColor, set.Sel);
    Put(FSelectionColorTo, set.SelTo);
    Put(FSelectionTextColor, set.SelText);
    if (set.Line != Keep) SetGridLineColor(set.Line);
    if (set.FixedLine != Keep) SetGridFixedLineColor(set.FixedLine);
    if (set.SearchFrom != Keep) FSearchFooter->SetColor(set.SearchFrom);
    if (set.SearchTo != Keep)
        FSearchFooter->SetColorTo(set.SearchTo == MirrorToNow ? FKitGradientMirrorTo : set.SearchTo);

    if (set.From != Keep) {
        // ControlLook's pair: clNone is not passed on, so the grid keeps the set's gradient.
        look->SetFixedGradientFrom(set.LookPair ? set.From : TColor(clNone));
        look->SetFixedGradientTo(set.LookPair ? set.To : TColor(clNone));
    }
    if (set.LookMirror) {
        look->SetFixedGradientMirrorFrom(set.MirrorFrom);
        look->SetFixedGradientMirrorTo(set.MirrorTo);
    }

    const THoverDown* hoverDown = nullptr;
    switch (AStyle) {
        case gsOffice2007Luna:
            hoverDown = &LunaHoverDown;
            if (FLook == glOffice2007) SetSelectionStyle(ssOffice2007);
            break;
        case gsWindowsVista:
            hoverDown = &VistaHoverDown;
            SetSelectionStyle(ssVista);
            break;
        case gsWindows7:
            hoverDown = &Win7HoverDown;
            SetSelectionStyle(ssWin7);
            break;
        case gsOffice2010Blue:
        case gsOffice2010Silver:
        case gsOffice2010Black:
            hoverDown = &Office2010HoverDown;
            SetSelectionStyle(ssDefault);
            break;
        default: break;
    }
    if (hoverDown)
        for (int i = 0; i < 10; ++i) FKitGradientHoverDown[size_t(i)] = hoverDown->Values[i];

    TSortSettings* sort = FSortSettings.get();
    if (AStyle == gsWindowsVista || AStyle == gsWindows7) {
        sort->SetHeaderColor(0xFCF9F2);
        sort->SetHeaderColorTo(0xFCF9F2);
        sort->SetHeaderMirrorColor(0xF9F1E1);
        sort->SetHeaderMirrorColorTo(0xF6ECD8);
    } else if (AStyle >= gsOffice2010Blue) {
        const TColor header = AStyle == gsOffice2010Blue     ? 0xD6CEC7
                              : AStyle == gsOffice2010Silver ? 0xAAAAAA
                                                             : 0xBABABA;
        sort->SetHeaderColor(header);
        sort->SetHeaderColorTo(header);
        sort->SetHeaderMirrorColor(header);
        sort->SetHeaderMirrorColorTo(header);
    }
    Invalidate();
}

void TAdvStringGrid::SetComponentStyle(TKitStyle AStyle) {
    FStyle = AStyle;
    SetStyle(TAdvGridStyle(AStyle));
    if (!HasState(csDesigning)) StyleDropDowns(AStyle);
    if (AStyle != tsCustom && FScrollType == ssMetro) SetScrollType(ssNormal);
}

// =============================================================================================
// Colour tones

void TAdvStringGrid::SetColorTones(const TColorTones& ATones) {
    FColorTones = ATones;
    SetLook(glClassic);
    SetFlat(true);
    SetScrollType(ssMetro);

    SetFixedColor(ATones.Foreground.BrushColor);
    FixedFont()->SetColor(ATones.Foreground.TextColor);
    FixedFont()->SetName(GetDefaultFontName());
    SetColor(ATones.Background.BrushColor);
    Font()->SetName(GetDefaultFontName());
    Font()->SetColor(ATones.Background.TextColor);

    FSelectionColor = ATones.Selected.BrushColor;
    FSelectionTextColor = ATones.Selected.TextColor;
    FSelectionColorTo = clNone;
    SetGridLineColor(0xE6E6E6);
    SetGridFixedLineColor(ScaleColorPercent(ATones.Foreground.BrushColor, -20));
    SetBorderStyle(bsNone);

    TControlLook* look = FControlLook.get();
    look->SetControlStyle(csGlyph);
    TOwned<TBitmap> glyph(new TBitmap);
    glyph->LoadFromResourceName("metrocheckon");
    look->SetCheckedGlyph(glyph.get());
    glyph->LoadFromResourceName("metrocheckoff");
    look->SetUnCheckedGlyph(glyph.get());
    glyph->LoadFromResourceName("metroradioon");
    look->SetRadioOnGlyph(glyph.get());
    glyph->LoadFromResourceName("metroradiooff");
    look->SetRadioOffGlyph(glyph.get());

    if (!HasState(csDesigning)) {
        const TColor back = ATones.Background.BrushColor, hot = ATones.Hover.BrushColor,
                     down = ATones.Selected.BrushColor, border = ATones.Background.BorderColor;
        auto buttonColors = [&](auto* editor) {
            if (!editor) return;
            editor->ButtonColor = back;
            editor->ButtonColorHot = hot;
            editor->ButtonColorDown = down;
            editor->ButtonBorderColor = border;
        };
        if (FEditBtn) buttonColors(FEditBtn->Button());
        buttonColors(FEditCombo.get());
        if (FEditCombo) {
            FEditCombo->SetBorderColor(Color());
            FEditCombo->SetFlat(true);
        }
        if (FEditSpin) buttonColors(FEditSpin->Button());
        buttonColors(FEditDate.get());
        if (FEditDate) {
            FEditDate->SetBorderColor(back);
            FEditDate->SetMetroStyle(true);
        }
    }

    TonesDropDowns(ATones);

    look->SetFlatButton(true);
    FFloatingFooter->SetColor(ATones.Foreground.BrushColor);
    FSearchFooter->SetColor(ATones.Foreground.BrushColor);
    FSearchFooter->SetColorTo(ATones.Foreground.BrushColor);
    FCellNode->SetNodeType(cnFlat);
}

// =============================================================================================
// Legacy schemes

void TAdvStringGrid::SetTheme(TXPColorScheme Scheme) {
    struct TScheme {
        TColor From, To, MirrorFrom, MirrorTo, ActiveFrom, ActiveTo, SearchFrom, SearchTo;
    };
    static constexpr TScheme schemes[] = {
        // xpNone (and any value outside the list)
        {0xFFFFFF, BtnFace, clNone, clNone, 0xFFFFFF, 0xFFD9B3, 0xFFFFFF, 0xFFD9B3},
        {0xFCE1CB, 0xE0A57D, clNone, clNone, 0x94E6FB, 0x1595EE, 0xFCE1CB, 0xE0A57D},     // xpBlue
        {0xCFF0EA, 0x8CC0B1, clNone, clNone, 0x94E6FB, 0x1595EE, 0xCFF0EA, 0x8CC0B1},     // xpGreen
        {0xECE2E1, 0xB39698, clNone, clNone, 0x94E6FB, 0x1595EE, 0xECE2E1, 0xB39698},     // xpGray
        {0xFFFFFF, 0xFFFFFF, 0xFAF8F7, 0xF4F2F1, 0x94E6FB, 0x1595EE, 0xECE2E1, 0xB39698}, // vistaAero
    };
    const bool known = Scheme >= xpBlue && Scheme <= vistaAero;
    const TScheme& s = schemes[known ? Scheme : xpNone];
    FKitGradientFrom = s.From;
    FKitGradientTo = s.To;
    FKitGradientMirrorFrom = s.MirrorFrom;
    FKitGradientMirrorTo = s.MirrorTo;
    FActiveCellColor = s.ActiveFrom;
    FActiveCellColorTo = s.ActiveTo;
    FSearchFooter->SetColor(s.SearchFrom);
    FSearchFooter->SetColorTo(s.SearchTo);
    FControlLook->SetFixedGradientFrom(known ? s.From : TColor(clNone));
    FControlLook->SetFixedGradientTo(known ? s.To : TColor(clNone));
    Invalidate();
}

// =============================================================================================
// Office theme

void TAdvStringGrid::SetAutoThemeAdapt(bool Value) {
    if (Value == FAutoThemeAdapt) return;
    FAutoThemeAdapt = Value;
    FSearchFooter->SetAutoThemeAdapt(Value);
    if (Value) {
        ApplyOfficeTheme();
        Invalidate();
    }
    if (HasState(csDesigning) || !HandleAllocated() || Loading()) return;
    if (Value)
        GetThemeNotifier(this)->RegisterWindow(Handle());
    else if (TThemeNotifier* notifier = CurrentThemeNotifier())
        notifier->UnRegisterWindow(Handle());
}

void TAdvStringGrid::WMThemeChanged(TMessage& Message) {
    if (FAutoThemeAdapt) ApplyOfficeTheme();
    if (Message.Msg == WM_THEMECHANGED) TBaseGrid::Dispatch(Message);
}

void TAdvStringGrid::ApplyOfficeTheme() {
    if (HasState(csDesigning)) return;
    const TOfficeTheme theme = GetCurrentOfficeTheme();
    if (theme == FOfficeTheme) return;
    static constexpr TKitStyle styles[] = {
        tsOffice2003Blue,   tsOffice2003Silver,   tsOffice2003Olive, tsOffice2003Classic, tsOffice2007Luna,
        tsOffice2007Silver, tsOffice2007Obsidian, tsOffice2010Blue,  tsOffice2010Silver,  tsOffice2010Black};
    static_assert(std::size(styles) == otUnknown);
    if (theme >= ot2003Blue && theme < otUnknown) SetComponentStyle(styles[theme]);
    FOfficeTheme = theme;
}
