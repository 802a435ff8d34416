// Colours, fonts, pens and brushes.
#include "Graphics.h"
#include "StandIn.h"

#include <QFontMetricsF>

#include <fontconfig/fontconfig.h>

#include <atomic>
#include <cmath>
#include <mutex>
#include <thread>

// ---------------------------------------------------------------------------------------------
// Colours

namespace {

// The system colours of the classic default scheme, as $00BBGGRR, indexed by system colour id.
constexpr TColor SysColors[31] = {
    0xC8C8C8, // 0 scroll bar
    0x000000, // 1 desktop background
    0xD1B499, // 2 active caption
    0xDBCDBF, // 3 inactive caption
    0xF0F0F0, // 4 menu
    0xFFFFFF, // 5 window
    0x646464, // 6 window frame
    0x000000, // 7 menu text
    0x000000, // 8 window text
    0x000000, // 9 caption text
    0xB4B4B4, // 10 active border
    0xFCF7F4, // 11 inactive border
    0xABABAB, // 12 application workspace
    0xFF9933, // 13 highlight
    0xFFFFFF, // 14 highlight text
    0xF0F0F0, // 15 button face
    0xA0A0A0, // 16 button shadow
    0x6D6D6D, // 17 grey text
    0x000000, // 18 button text
    0x544E43, // 19 inactive caption text
    0xFFFFFF, // 20 button highlight
    0x696969, // 21 3D dark shadow
    0xE3E3E3, // 22 3D light
    0x000000, // 23 tool-tip text
    0xE1FFFF, // 24 tool-tip background
    0xB5B5B5, // 25 (unused by the system)
    0xCC6600, // 26 hot-tracked item
    0xEAD1B9, // 27 gradient of the active caption
    0xF2E4D7, // 28 gradient of the inactive caption
    0xFF9933, // 29 highlighted menu item
    0xF0F0F0, // 30 menu bar
};

struct TColorName {
    TColor Value;
    const char* Name;
};

// The colour names in the class library's table order; the first name of a value wins.
constexpr TColorName ColorNames[] = {
    {clBlack, "clBlack"},
    {clMaroon, "clMaroon"},
    {clGreen, "clGreen"},
    {clOlive, "clOlive"},
    {clNavy, "clNavy"},
    {clPurple, "clPurple"},
    {clTeal, "clTeal"},
    {clGray, "clGray"},
    {clSilver, "clSilver"},
    {clRed, "clRed"},
    {clLime, "clLime"},
    {clYellow, "clYellow"},
    {clBlue, "clBlue"},
    {clFuchsia, "clFuchsia"},
    {clAqua, "clAqua"},
    {clWhite, "clWhite"},
    {clMoneyGreen, "clMoneyGreen"},
    {clSkyBlue, "clSkyBlue"},
    {clCream, "clCream"},
    {clMedGray, "clMedGray"},
    {clActiveBorder, "clActiveBorder"},
    {clActiveCaption, "clActiveCaption"},
    {clAppWorkSpace, "clAppWorkSpace"},
    {clBackground, "clBackground"},
    {clBtnFace, "clBtnFace"},
    {clBtnHighlight, "clBtnHighlight"},
    {clBtnShadow, "clBtnShadow"},
    {clBtnText, "clBtnText"},
    {clCaptionText, "clCaptionText"},
    {clDefault, "clDefault"},
    {clGradientActiveCaption, "clGradientActiveCaption"},
    {clGradientInactiveCaption, "clGradientInactiveCaption"},
    {clGrayText, "clGrayText"},
    {clHighlight, "clHighlight"},
    {clHighlightText, "clHighlightText"},
    {clHotLight, "clHotLight"},
    {clInactiveBorder, "clInactiveBorder"},
    {clInactiveCaption, "clInactiveCaption"},
    {clInactiveCaptionText, "clInactiveCaptionText"},
    {clInfoBk, "clInfoBk"},
    {clInfoText, "clInfoText"},
    {clMenu, "clMenu"},
    {clMenuBar, "clMenuBar"},
    {clMenuHighlight, "clMenuHighlight"},
    {clMenuText, "clMenuText"},
    {clNone, "clNone"},
    {clScrollBar, "clScrollBar"},
    {cl3DDkShadow, "cl3DDkShadow"},
    {cl3DLight, "cl3DLight"},
    {clWindow, "clWindow"},
    {clWindowFrame, "clWindowFrame"},
    {clWindowText, "clWindowText"},
};

} // namespace

TColor GetSysColor(int Index) {
    if (Index < 0 || Index >= int(std::size(SysColors))) return clBlack;
    return SysColors[Index];
}

TColor ColorToRGB(TColor Color) {
    if (Color == clNone || Color == clDefault) return clBlack;
    if ((Cardinal(Color) & 0xFF000000u) == 0xFF000000u) return GetSysColor(int(Color & 0xFF));
    return TColor(Cardinal(Color) & 0x00FFFFFFu);
}

QColor ToQColor(TColor Color) {
    TColor c = ColorToRGB(Color);
    return QColor(GetRValue(c), GetGValue(c), GetBValue(c));
}

TColor FromQColor(const QColor& Color) {
    return RGB(Color.red(), Color.green(), Color.blue());
}

bool ColorToIdent(int Color, String& Ident) {
    for (const auto& n : ColorNames) {
        if (n.Value == Color) {
            Ident = String::fromLatin1(n.Name);
            return true;
        }
    }
    return false;
}

bool IdentToColor(const String& Ident, int& Color) {
    for (const auto& n : ColorNames) {
        if (Ident.compare(QLatin1String(n.Name), Qt::CaseInsensitive) == 0) {
            Color = n.Value;
            return true;
        }
    }
    return false;
}

String ColorToString(TColor Color) {
    String s;
    if (ColorToIdent(Color, s)) return s;
    return QStringLiteral("$%1").arg(Cardinal(Color), 8, 16, QLatin1Char('0')).toUpper();
}

TColor StringToColor(const String& S) {
    int c = 0;
    if (IdentToColor(S, c)) return c;
    // The system's integer syntax: optional sign, decimal, "$", "x" or "0x" hexadecimal; no blanks.
    String t = S;
    bool neg = false;
    if (t.startsWith(u'-') || t.startsWith(u'+')) {
        neg = t.startsWith(u'-');
        t = t.mid(1);
    }
    int base = 10;
    if (t.startsWith(u'$') || t.startsWith(u'x') || t.startsWith(u'X')) {
        base = 16;
        t = t.mid(1);
    } else if (t.startsWith(QLatin1String("0x"), Qt::CaseInsensitive)) {
        base = 16;
        t = t.mid(2);
    }
    bool ok = !t.isEmpty() && !t.front().isSpace() && !t.back().isSpace();
    qulonglong v = ok ? t.toULongLong(&ok, base) : 0;
    if (ok) ok = base == 16 ? v <= 0xFFFFFFFFull : v <= (neg ? 0x80000000ull : 0x7FFFFFFFull);
    if (!ok) throw EConvertError(QStringLiteral("'%1' is not a valid integer value").arg(S));
    long long r = neg ? -static_cast<long long>(v) : static_cast<long long>(v);
    return TColor(static_cast<int32_t>(static_cast<uint32_t>(r)));
}

// ---------------------------------------------------------------------------------------------
// Graphic objects

void TGraphicsObject::Changed() {
    if (Assigned(OnChange)) OnChange(this);
}

int MulDiv(int a, int b, int c) {
    if (c == 0) return -1;
    long long n = static_cast<long long>(a) * b;
    long long q = (std::llabs(n) * 2 + std::llabs(c)) / (2 * std::llabs(c));
    return int(((n < 0) != (c < 0)) ? -q : q);
}

String MapFontFamily(const String& Name) {
    static const struct {
        const char* From;
        const char* To;
    } map[] = {
        {"Tahoma", "DejaVu Sans"},
        {"Verdana", "DejaVu Sans"},
        {"Segoe UI", "DejaVu Sans"},
        {"MS Sans Serif", "DejaVu Sans"},
        {"Microsoft Sans Serif", "DejaVu Sans"},
        {"MS Shell Dlg", "DejaVu Sans"},
        {"MS Shell Dlg 2", "DejaVu Sans"},
        {"System", "DejaVu Sans"},
        {"Symbol", "DejaVu Sans"},
        {"Wingdings", "DejaVu Sans"},
        {"Arial", "Liberation Sans"},
        {"Helvetica", "Liberation Sans"},
        {"Calibri", "Liberation Sans"},
        {"Courier New", "Liberation Mono"},
        {"Courier", "Liberation Mono"},
        {"Consolas", "Liberation Mono"},
        {"Lucida Console", "Liberation Mono"},
        {"Fixedsys", "Liberation Mono"},
        {"Times New Roman", "Liberation Serif"},
        {"Times", "Liberation Serif"},
        {"Georgia", "Liberation Serif"},
        {"Century", "DejaVu Serif"},
        {"Century Gothic", "DejaVu Sans"},
        {"Comic Sans MS", "DejaVu Sans"},
    };
    String n = Name.trimmed();
    for (const auto& m : map) {
        if (n.compare(QLatin1String(m.From), Qt::CaseInsensitive) == 0) return String::fromLatin1(m.To);
    }
    return n;
}

TFont::TFont() : FName(QStringLiteral("Tahoma")), FHeight(-11), FColor(clWindowText) {}

void TFont::SetName(const String& Value) {
    if (Value.isEmpty() || Value == FName) return;
    FName = Value;
    Changed();
}

int TFont::Size() const {
    return -MulDiv(FHeight, 72, FPixelsPerInch);
}

void TFont::SetSize(int Value) {
    SetHeight(-MulDiv(Value, FPixelsPerInch, 72));
}

void TFont::SetHeight(int Value) {
    if (Value == FHeight) return;
    FHeight = Value;
    Changed();
}

void TFont::SetStyle(const TFontStyles& Value) {
    if (Value == FStyle) return;
    FStyle = Value;
    Changed();
}

void TFont::SetColor(TColor Value) {
    if (Value == FColor) return;
    FColor = Value;
    Changed();
}

void TFont::SetCharset(TFontCharset Value) {
    // Text is Unicode and font fallback covers every script; only the charsets that remap
    // characters to other glyphs would change what is drawn, and they do not here.
    if (Value == SYMBOL_CHARSET || Value == OEM_CHARSET) PlatformStandIn("TFont::SetCharset");
    if (Value == FCharset) return;
    FCharset = Value;
    Changed();
}

void TFont::SetPitch(TFontPitch Value) {
    if (Value == FPitch) return;
    FPitch = Value;
    Changed();
}

void TFont::SetOrientation(int Value) {
    if (Value == FOrientation) return;
    FOrientation = Value;
    Changed();
}

void TFont::Assign(TPersistent* Source) {
    if (auto* f = dynamic_cast<TFont*>(Source)) {
        if (f == this) return;
        FName = f->FName;
        // Sizes are kept in points across different resolutions, as the class library does.
        FHeight = f->FPixelsPerInch == FPixelsPerInch ? f->FHeight : -MulDiv(f->Size(), FPixelsPerInch, 72);
        FStyle = f->FStyle;
        FColor = f->FColor;
        FCharset = f->FCharset;
        FPitch = f->FPitch;
        FOrientation = f->FOrientation;
        Changed();
        return;
    }
    TGraphicsObject::Assign(Source);
}

namespace {

// The thread that loads the font configuration, joined by the first AwaitFontConfiguration (or
// at the latest when the program ends).
struct TFontConfigLoader {
    std::mutex Lock;
    std::thread Thread;
    std::atomic<bool> Pending{false};
    ~TFontConfigLoader() {
        if (Thread.joinable()) Thread.join();
    }
};

TFontConfigLoader& FontConfigLoader() {
    static TFontConfigLoader loader;
    return loader;
}

} // namespace

void StartFontConfiguration() {
    TFontConfigLoader& l = FontConfigLoader();
    std::lock_guard<std::mutex> guard(l.Lock);
    static bool started = false;
    if (started) return;
    started = true;
    // FcInit loads the configuration that Qt's font database reads when it first lists the fonts;
    // loading it is safe on any thread, and a second caller finds it loaded.
    l.Thread = std::thread([] { FcInit(); });
    l.Pending.store(true, std::memory_order_release);
}

void AwaitFontConfiguration() {
    TFontConfigLoader& l = FontConfigLoader();
    if (!l.Pending.load(std::memory_order_acquire)) return;
    std::lock_guard<std::mutex> guard(l.Lock);
    if (l.Thread.joinable()) l.Thread.join();
    l.Pending.store(false, std::memory_order_release);
}

QFont TFont::ToQFont() const {
    // Qt loads the configuration itself when it first needs it: wait for the loading begun at
    // start-up rather than load it a second time beside it.
    AwaitFontConfiguration();
    QFont f(MapFontFamily(FName));
    f.setKerning(false);
    if (FPitch == fpFixed) f.setFixedPitch(true);
    f.setBold(HasStyle(fsBold));
    f.setItalic(HasStyle(fsItalic));
    f.setUnderline(HasStyle(fsUnderline));
    f.setStrikeOut(HasStyle(fsStrikeOut));
    int h = FHeight == 0 ? 11 : FHeight;
    if (h < 0) {
        f.setPixelSize(-h);
    } else {
        // A positive height is the cell height (ascent + descent): scale the em size to match.
        f.setPixelSize(100);
        QFontMetricsF fm(f);
        qreal cell = fm.ascent() + fm.descent();
        int px = cell > 0 ? int(std::lround(h * 100.0 / cell)) : h;
        f.setPixelSize(px > 0 ? px : 1);
    }
    return f;
}

// ---------------------------------------------------------------------------------------------
// Pen and brush

void TPen::SetColor(TColor Value) {
    if (Value == FColor) return;
    FColor = Value;
    Changed();
}

void TPen::SetWidth(int Value) {
    if (Value < 0) Value = 0;
    if (Value == FWidth) return;
    FWidth = Value;
    Changed();
}

void TPen::SetStyle(TPenStyle Value) {
    if (Value == FStyle) return;
    FStyle = Value;
    Changed();
}

void TPen::SetMode(TPenMode Value) {
    if (Value == FMode) return;
    FMode = Value;
    Changed();
}

void TPen::Assign(TPersistent* Source) {
    if (auto* p = dynamic_cast<TPen*>(Source)) {
        if (p == this) return;
        FColor = p->FColor;
        FWidth = p->FWidth;
        FStyle = p->FStyle;
        FMode = p->FMode;
        Changed();
        return;
    }
    TGraphicsObject::Assign(Source);
}

TBrush::~TBrush() {
    TObject::Free(FBitmap);
}

void TBrush::SetColor(TColor Value) {
    if (Value == FColor && FStyle != bsClear) return;
    FColor = Value;
    // Setting a colour makes a clear brush solid, as the class library does.
    if (FStyle == bsClear) FStyle = bsSolid;
    Changed();
}

void TBrush::SetStyle(TBrushStyle Value) {
    if (Value == FStyle) return;
    FStyle = Value;
    Changed();
}

void TBrush::SetBitmap(TBitmap* Value) {
    if (!Value && !FBitmap) return;
    if (Value) {
        if (!FBitmap) FBitmap = new TBitmap;
        FBitmap->Assign(Value);
    } else {
        FreeAndNil(FBitmap);
    }
    Changed();
}

void TBrush::Assign(TPersistent* Source) {
    if (auto* b = dynamic_cast<TBrush*>(Source)) {
        if (b == this) return;
        FColor = b->FColor;
        FStyle = b->FStyle;
        if (b->FBitmap) {
            if (!FBitmap) FBitmap = new TBitmap;
            FBitmap->Assign(b->FBitmap);
        } else {
            FreeAndNil(FBitmap);
        }
        Changed();
        return;
    }
    TGraphicsObject::Assign(Source);
}
