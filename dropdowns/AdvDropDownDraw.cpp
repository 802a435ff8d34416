#include "AdvDropDownDraw.h"

#include "ImgList.h"
#include "MarkupRender.h"
#include "SysUtils.h"
#include "CellDraw.h"

#include <algorithm>

namespace {

int Channel(double Value) {
    return std::clamp(int(Round(Value)), 0, 255);
}

} // namespace

// ---------------------------------------------------------------------------------------------
// Colour arithmetic

TColor BlendColor(TColor Color1, TColor Color2, int Percent) {
    if (Percent >= 100) return Color1;
    if (Percent <= 0) return Color2;
    const TColor c1 = ColorToRGB(Color1), c2 = ColorToRGB(Color2);
    const double x = Percent / 100.0;
    auto mix = [x](int A, int B) { return Channel(x * A + (1 - x) * B); };
    return RGB(mix(GetRValue(c1), GetRValue(c2)), mix(GetGValue(c1), GetGValue(c2)),
               mix(GetBValue(c1), GetBValue(c2)));
}

TColor ScaleColorChannels(TColor Color, int DeltaRed, int DeltaGreen, int DeltaBlue) {
    const TColor c = ColorToRGB(Color);
    // A delta below -100 would make a channel negative and one above 255 would spill into the
    // next channel: both are held to the channel's range.
    auto scale = [](int Value, int Delta) {
        if (Value == 0) return std::clamp(Delta, 0, 255);
        return Channel(std::min(100, Delta + 100) / 100.0 * Value);
    };
    return RGB(scale(GetRValue(c), DeltaRed), scale(GetGValue(c), DeltaGreen),
               scale(GetBValue(c), DeltaBlue));
}

// ---------------------------------------------------------------------------------------------
// Fills

void DrawSteppedGradient(TCanvas* Canvas, TColor FromColor, TColor ToColor, int Steps, TRect Rect,
                         bool Horizontal) {
    if (!Canvas) return;
    if (Steps == 0) Steps = 1;
    if (Horizontal)
        --Rect.Right;
    else
        --Rect.Bottom;
    const TColor from = ColorToRGB(FromColor), to = ColorToRGB(ToColor);
    const int r0 = GetRValue(from), g0 = GetGValue(from), b0 = GetBValue(from);
    const double dr = double(GetRValue(to) - r0) / Steps;
    const double dg = double(GetGValue(to) - g0) / Steps;
    const double db = double(GetBValue(to) - b0) / Steps;
    const double band = double(Horizontal ? Rect.Right - Rect.Left : Rect.Bottom - Rect.Top) / Steps;
    const int extent = int(Round(band)) + 1;
    for (int i = 0; i < Steps; ++i) {
        const TColor c = RGB(Channel(r0 + double(Round(i * dr))), Channel(g0 + double(Round(i * dg))),
                             Channel(b0 + double(Round(i * db))));
        Canvas->Pen()->SetColor(c);
        Canvas->Brush()->SetColor(c);
        const int o = int(Round(i * band));
        if (Horizontal)
            Canvas->Rectangle(Rect.Left + o, Rect.Top, Rect.Left + o + extent, Rect.Bottom);
        else
            Canvas->Rectangle(Rect.Left, Rect.Top + o, Rect.Right, Rect.Top + o + extent);
    }
}

void DrawGradientBox(TCanvas* Canvas, const TRect& Rect, TColor Color, TColor ColorTo, TColor BorderColor,
                     int BorderWidth, TGradientDirection Direction) {
    if (!Canvas) return;
    if (ColorTo != clNone)
        DrawSteppedGradient(Canvas, Color, ColorTo, 80, Rect, Direction == gdHorizontal);
    else if (Color != clNone) {
        Canvas->Brush()->SetColor(Color);
        Canvas->FillRect(Rect);
    }
    if (BorderColor != clNone && BorderWidth > 0) {
        Canvas->Brush()->SetStyle(bsClear);
        Canvas->Pen()->SetWidth(BorderWidth);
        Canvas->Pen()->SetColor(BorderColor);
        Canvas->Rectangle(Rect);
    }
}

// ---------------------------------------------------------------------------------------------
// Images and text

void DrawImageAndText(TCanvas* Canvas, TRect Rect, const String& Text, int ImageIndex,
                      TCustomImageList* Images) {
    if (!Canvas) return;
    Cardinal flags = DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS;
    if (ImageIndex >= 0 && Images) {
        Images->Draw(Canvas, Rect.Left + 4, Rect.Top + (Rect.Height() - Images->Height()) / 2, ImageIndex);
        Rect.Left += Images->Width() + 8;
    } else
        flags |= DT_CENTER;
    if (!Text.isEmpty()) DrawText(Canvas, Text, Rect, flags);
}

void DrawTransparentGlyph(TCanvas* Canvas, TBitmap* Glyph, TColor BackColor, const TRect& Rect) {
    if (!Canvas || !Glyph || Glyph->Empty()) return;
    const int w = std::min(Glyph->Width(), Rect.Width()), h = std::min(Glyph->Height(), Rect.Height());
    if (w <= 0 || h <= 0) return;
    if (w == Glyph->Width() && h == Glyph->Height()) {
        DrawTransparentBitmap(Canvas, Glyph, BackColor, Rect);
        return;
    }
    const TColor key = Glyph->Canvas()->Pixels(0, 0);
    Canvas->Brush()->SetColor(BackColor);
    Canvas->Brush()->SetStyle(bsSolid);
    Canvas->BrushCopy(Bounds(Rect.Left, Rect.Top, w, h), Glyph, TRect(0, 0, w, h), key);
}

TSize GetTextSize(TCanvas* Canvas, const String& Text) {
    if (!Canvas || Text.isEmpty()) return TSize{0, 0};
    TRect r(0, 0, 1000, 500);
    DrawText(Canvas, Text, r, DT_CALCRECT | DT_SINGLELINE);
    return TSize{r.Right, r.Bottom};
}

String TruncateText(TCanvas* Canvas, const String& Text, int MaxWidth, bool Ellipsis) {
    if (!Canvas || Canvas->TextWidth(Text) <= MaxWidth) return Text;
    for (int n = int(Text.size()) - 1; n >= 0; --n) {
        // A head never ends between the two halves of a surrogate pair.
        if (n > 0 && Text.at(n - 1).isHighSurrogate()) continue;
        const String candidate = Ellipsis ? Text.left(n) + QStringLiteral("...") : Text.left(n);
        if (Canvas->TextWidth(candidate) < MaxWidth) return candidate;
    }
    return Text;
}

void DrawMarkupText(TCanvas* Canvas, const String& Text, const TRect& Rect, TPoint& Size, HWND WindowHandle,
                    bool Paint, TCustomImageList* Images) {
    Size = TPoint(0, 0);
    if (!Canvas || Text.isEmpty()) return;
    THTMLDrawOptions options;
    options.Images = Images;
    options.Window = WindowHandle;
    options.MeasureOnly = !Paint;
    THTMLDrawResult result;
    DrawHTML(Canvas, Text, Rect, options, result);
    Size = TPoint(result.TextWidth, result.TextHeight);
}

String CaseAdjust(const String& Text, bool CaseSensitive) {
    return CaseSensitive ? Text : AnsiUpperCase(Text);
}

// ---------------------------------------------------------------------------------------------
// Colour tables

const TSelectionStyleColors* SelectionStyleColors(TSelectionColorStyle Style) {
    static const TSelectionStyleColors office2007{0xD7FFFD, 0x58D4FC, 0xC3D9DF, 0x8DD7D3,
                                                  0xF4FEFF, 0xCAF8FF, 0x58D4FC, 0xB3F1FC};
    static const TSelectionStyleColors vista{0xFDF8F1, 0xFCEFD5, 0xFCEDCB, 0xFDDE99,
                                             0xFDFBF6, 0xFDF5E7, clNone,   clNone};
    static const TSelectionStyleColors windows7{0xFCEBDC, 0xFCDBC1, 0xE0C5AE, 0xCEA27D,
                                                0xFDF4EB, 0xFDEADB, clNone,   clNone};
    switch (Style) {
        case scOffice2007: return &office2007;
        case scWindowsVista: return &vista;
        case scWindows7: return &windows7;
        case scCustom: break;
    }
    return nullptr;
}

namespace {

// One row of the popup, header and footer table; the footer repeats the header's values unless
// the style gives its own.
constexpr TPopupStyleColors Same(TColor Color, TColor ColorTo, std::optional<TColor> BorderColor,
                                 TStripStyleColors Header) {
    return {Color, ColorTo, BorderColor, Header, Header};
}

constexpr std::optional<TColor> Unchanged = std::nullopt;

// Indexed by TKitStyle; tsCustom's row is never read.
constexpr TPopupStyleColors PopupTable[] = {
    // tsOffice2003Blue
    {0xFFFFFF,
     clNone,
     Unchanged,
     {0xFCE1CB, 0xE0A57D, 0x000000, 0x000000},
     {0xFCE1CB, 0xE0A57D, 0x000000, 0x962D00}},
    // tsOffice2003Silver
    Same(0xFFFFFF, clNone, Unchanged, {0xECE2E1, 0xB39698, 0x000000, 0x947C7C}),
    // tsOffice2003Olive
    Same(0xFFFFFF, clNone, clNone, {0xCFF0EA, 0x8CC0B1, 0x000000, 0x588060}),
    // tsOffice2003Classic
    Same(0xF2F2F2, 0xF2F2F2, clNone, {0x808080, 0x808080, 0xFFFFFF, 0x808080}),
    // tsOffice2007Luna
    Same(0xF3E5DA, 0xF0DED0, clNone, {0xFFEFE3, 0xFFD2AF, 0x723708, 0xFFD2AF}),
    // tsOffice2007Obsidian
    Same(0xFFFFFF, clNone, clNone, {0xF2F1F0, 0xC9C2BD, 0x433C37, 0x5C534C}),
    // tsWindowsXP
    Same(0xFFFFFF, clNone, Unchanged, {0xFFFFFF, clBtnFace, 0x000000, 0x808080}),
    // tsWhidbey
    Same(0xF5F9FA, 0xF5F9FA, clNone, {0xEBEEEF, 0x7E9898, 0xFFFFFF, 0x962D00}),
    // tsCustom
    Same(clNone, clNone, Unchanged, {clNone, clNone, clNone, clNone}),
    // tsOffice2007Silver
    Same(0xF8F4F1, 0xF0E8E3, clNone, {0xF8F7F6, 0xE8E0DB, 0x8B4215, 0x74706F}),
    // tsWindowsVista: the footer's gradient runs the other way
    {0xFFFFFF,
     0xFFFFFF,
     0x979797,
     {0xFFFDF9, 0xFFFAF0, 0x000000, 0xFCF2DA},
     {0xFFFAF0, 0xFFFDF9, 0x000000, 0xFCF2DA}},
    // tsWindows7
    Same(0xFFFFFF, 0xFFFFFF, 0x979797, {0xFDFBFA, 0xFDF3EB, 0x000000, 0xFBD6B8}),
    // tsTerminal
    Same(0xFFFFFF, 0xFFFFFF, 0x808080, {clBtnFace, clBtnFace, 0x000000, clNone}),
    // tsOffice2010Blue
    Same(0xFFFFFF, 0xF1EFED, 0xEDEDEC, {0xFDF6EF, 0xF0DAC7, 0x5B391E, 0xC7B29F}),
    // tsOffice2010Silver
    Same(0xFFFFFF, 0xF1EFED, 0xEDEDEC, {0xFFFFFF, 0xEDE5E0, 0x5B391E, 0xD2CDC8}),
    // tsOffice2010Black
    Same(0xFFFFFF, 0xF1EFED, 0xEDEDEC, {0xBFBFBF, 0x919191, 0xD7D7D6, 0x6D6D6D}),
};

// The two groups of hot, down, disabled and checked colours that several styles share.
constexpr TButtonStyleColors OfficeGroupA(TColor Color, TColor ColorTo, TColor BorderColor) {
    return {Color,    ColorTo,  BorderColor, 0xEBFDFF, 0xACECFF, 0x99CEDB, 0xAAD9FF,
            0x6EBBFF, 0x42AEFE, 0xF2F2F2,    0xB6B6B6, 0x76AFF1, 0x4190F3, 0x45667B};
}
constexpr TButtonStyleColors OfficeGroupB(TColor Color, TColor ColorTo, TColor BorderColor) {
    return {Color,  ColorTo,  BorderColor, 0x8AE3FD, clNone,   0x58CAF1, 0x6CD0FF,
            clNone, 0x308AC2, 0xF2F2F2,    0xB6B6B6, 0x45E1FE, clNone,   0x4FA0CE};
}

// Indexed by TKitStyle; tsCustom's row is never read.
constexpr TButtonStyleColors ButtonTable[] = {
    OfficeGroupA(0xFCE1CB, 0xE0A57D, clNone), // tsOffice2003Blue
    OfficeGroupA(0xECE2E1, 0xB39698, clNone), // tsOffice2003Silver
    OfficeGroupA(0xCFF0EA, 0x8CC0B1, clNone), // tsOffice2003Olive
    // tsOffice2003Classic
    {0xFFFFFF, 0xC9D1D5, clNone, 0xD2BDB6, 0xD2BDB6, 0x808080, 0xB59285, 0xB59285, 0x808080, 0xD8D5D4,
     0xD8D5D4, 0xD8D5D4, 0xD8D5D4, 0x808080},
    OfficeGroupA(0xFFEFE3, 0xFFDDC4, clNone), // tsOffice2007Luna
    OfficeGroupA(0xF2F1F0, 0xC9C2BD, clNone), // tsOffice2007Obsidian
    // tsWindowsXP
    {0xFFFFFF, clBtnFace, clNone, 0xEFD3C6, 0xEFD3C6, clHighlight, clInactiveCaption, clInactiveCaption,
     clHighlight, 0xB6B6B6, 0xB6B6B6, 0xB9D8DC, 0xB9D8DC, 0x000000},
    OfficeGroupA(0xFFFFFF, 0xDFEDF0, clNone), // tsWhidbey
    OfficeGroupA(clNone, clNone, clNone),     // tsCustom
    OfficeGroupA(0xF9F8F8, 0xE4E2DF, clNone), // tsOffice2007Silver
    // tsWindowsVista: the checked border is the down border
    {0xFFFDF9, 0xFFFAF0, 0xFCF2DA, 0xFEF9F0, 0xFFFAF0, 0xFCF2DA, 0xFEF9F0, 0xFDF0D7, 0xFEDF9A, 0xFFFFFF,
     0xFFFFFF, 0xFEF9F0, 0xFDF0D7, 0xFEDF9A},
    // tsWindows7
    {0xFDFBFA, 0xFDF3EB, 0xFBD6B8, 0xFDFBFA, 0xFDF3EB, 0xFBD6B8, 0xFCEBDC, 0xFCDBC1, 0xCEA27D, 0xFFFFFF,
     0xFFFFFF, 0xFEF9F0, 0xFCDBC1, 0xCEA27D},
    // tsTerminal
    {clBtnFace, clBtnFace, clNone, 0xC0C0C0, 0xC0C0C0, 0x808080, clHighlight, clHighlight, 0x808080,
     clBtnFace, clBtnFace, clBtnFace, clBtnFace, clHighlight},
    OfficeGroupB(0xFDF6EF, 0xF0DAC7, 0xC7B29F), // tsOffice2010Blue
    OfficeGroupB(0xFFFFFF, 0xEDE5E0, 0xD2CDC8), // tsOffice2010Silver
    OfficeGroupB(0xBFBFBF, 0x919191, 0xD7D7D6), // tsOffice2010Black
};

// The item-list rows that several styles share.
constexpr TItemStyleColors ItemsOffice2003{0xEBFDFF, 0xACECFF, 0x59DAFF,    0xA4E9FF, 0xAAD9FF,
                                           0x6EBBFF, 0x42AEFE, 0x7AE1FE,    0x42AEFE, clNone,
                                           clNone,   clNone,   std::nullopt};
constexpr TItemStyleColors ItemsOffice2007{0xEBFDFF, 0xACECFF, 0x59DAFF,    0xA4E9FF, 0xAAD9FF,
                                           0x6EBBFF, 0x42AEFE, 0x7AE1FE,    0x42AEFE, 0xF4FEFF,
                                           0xCAF8FF, 0xC3D9DF, std::nullopt};
constexpr TItemStyleColors ItemsOffice2010{0xD9F9FD, 0x8AE3FD, 0x8AE3FD,        0xD9F9FD, 0x7BEEFF,
                                           0x6CD0FF, 0x6CD0FF, 0x7BEEFF,        0x308AC2, clNone,
                                           clNone,   clNone,   TColor(0x000000)};

// Indexed by TKitStyle; tsCustom's row is never read.
constexpr TItemStyleColors ItemTable[] = {
    ItemsOffice2003, // tsOffice2003Blue
    ItemsOffice2003, // tsOffice2003Silver
    ItemsOffice2003, // tsOffice2003Olive
    // tsOffice2003Classic
    {0xD2BDB6, 0xD2BDB6, clNone, clNone, 0xB59285, 0xB59285, clNone, clNone, 0x808080, clNone, clNone, clNone,
     std::nullopt},
    ItemsOffice2007, // tsOffice2007Luna
    ItemsOffice2007, // tsOffice2007Obsidian
    // tsWindowsXP
    {0xEFD3C6, 0xEFD3C6, clNone, clNone, clHighlight, clNone, clNone, clNone, clHighlight, clNone, clNone,
     clNone, clHighlightText},
    ItemsOffice2003, // tsWhidbey
    ItemsOffice2003, // tsCustom
    ItemsOffice2007, // tsOffice2007Silver
    // tsWindowsVista
    {0xFFFDF9, 0xFFFAF0, clNone, clNone, 0xFEF9F0, 0xFDF0D7, clNone, clNone, 0xFEDF9A, 0xFDFBF6, 0xFDF5E7,
     0xFCEDCB, std::nullopt},
    // tsWindows7
    {0xFDFBFA, 0xFDF3EB, clNone, clNone, 0xFCEBDC, 0xFCDBC1, clNone, clNone, 0xCEA27D, 0xFDF4EB, 0xFDEADB,
     0xE0C5AE, std::nullopt},
    // tsTerminal
    {0xC0C0C0, 0xC0C0C0, clNone, clNone, clHighlight, clNone, clNone, clNone, 0x808080, clNone, clNone,
     clNone, clHighlightText},
    ItemsOffice2010, // tsOffice2010Blue
    ItemsOffice2010, // tsOffice2010Silver
    ItemsOffice2010, // tsOffice2010Black
};

constexpr int StyleCount = int(tsOffice2010Black) + 1;
static_assert(std::size(PopupTable) == StyleCount && std::size(ButtonTable) == StyleCount &&
              std::size(ItemTable) == StyleCount);

template <class T, std::size_t N> const T* Row(const T (&Table)[N], TKitStyle Style) {
    if (Style == tsCustom || int(Style) < 0 || int(Style) >= int(N)) return nullptr;
    return &Table[Style];
}

} // namespace

const TPopupStyleColors* PopupStyleColors(TKitStyle Style) {
    return Row(PopupTable, Style);
}
const TButtonStyleColors* ButtonStyleColors(TKitStyle Style) {
    return Row(ButtonTable, Style);
}
const TItemStyleColors* ItemStyleColors(TKitStyle Style) {
    return Row(ItemTable, Style);
}

// ---------------------------------------------------------------------------------------------
// For units that see the forms

void DrawSelectionStyleBackground(TCanvas* Canvas, const TRect& Rect, TSelectionColorStyle Style,
                                  TColor Color, TColor ColorTo, TColor BackColor, int Sides) {
    if (!Canvas) return;
    const TSelectionStyleColors* f = SelectionStyleColors(Style);
    if (!f) {
        Canvas->Brush()->SetStyle(bsSolid);
        Canvas->Brush()->SetColor(Color);
        Canvas->Pen()->SetStyle(psSolid);
        Canvas->Pen()->SetColor(Color);
        Canvas->Rectangle(Rect);
        return;
    }
    DrawSelectionGradient(Canvas, Color, ColorTo, Sides, Rect, BackColor, f->Corner, f->Border,
                          f->InnerBottom, f->InnerTop, f->MirrorTo, f->MirrorFrom);
}

void DrawSelectionFrame(TCanvas* Canvas, const TRect& Rect, TColor Face, TColor FaceTo, TColor Mirror,
                        TColor MirrorTo, TColor Border, TColor Top, TColor Bottom, TColor Edge,
                        TColor BackColor) {
    if (!Canvas) return;
    DrawSelectionGradient(Canvas, Face, FaceTo, 0, Rect, BackColor, Edge, Border, Bottom, Top, MirrorTo,
                          Mirror);
}

bool DrawThemedPart(TCanvas* Canvas, HWND Handle, const char16_t* Class, int Part, int State,
                    const TRect& R) {
    return DrawThemed(Canvas, Handle, Class, Part, State, R);
}

void DrawPushButtonFace(TCanvas* Canvas, HWND Handle, const TRect& R, int State) {
    if (!Canvas) return;
    static const TColorTones noTones{};
    DrawButtonFrame(Canvas, Handle, R, noTones, std::clamp(State, 1, 4) - 1, flThemed);
}
