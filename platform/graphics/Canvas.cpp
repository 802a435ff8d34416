// The canvas: pixel rules of the platform's drawing, on a 32-bit QImage.
//
// Lines, rectangles, ellipses, polygons and fills are rasterised here pixel by pixel, so their
// coverage follows the platform exactly (end points left out, right and bottom edges excluded,
// raster operations on every pixel). Text, arcs and scaled pictures go through QPainter
// without antialiasing, clipped the same way.
#include "Graphics.h"

#include <QCoreApplication>
#include <QPainter>
#include <QPainterPath>
#include <QThread>

#include <algorithm>
#include <cmath>
#include <deque>
#include <vector>

namespace {

inline uint32_t ToPixel(TColor c) {
    TColor rgb = ColorToRGB(c);
    return 0xFF000000u | (uint32_t(GetRValue(rgb)) << 16) | (uint32_t(GetGValue(rgb)) << 8) | GetBValue(rgb);
}

inline TColor FromPixel(uint32_t p) {
    return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
}

// A binary raster operation of pen P on destination D (both 24-bit RGB).
inline uint32_t Rop2(TPenMode m, uint32_t P, uint32_t D) {
    switch (m) {
        case pmBlack: return 0;
        case pmWhite: return 0xFFFFFF;
        case pmNop: return D;
        case pmNot: return ~D;
        case pmCopy: return P;
        case pmNotCopy: return ~P;
        case pmMergePenNot: return P | ~D;
        case pmMaskPenNot: return P & ~D;
        case pmMergeNotPen: return ~P | D;
        case pmMaskNotPen: return ~P & D;
        case pmMerge: return P | D;
        case pmNotMerge: return ~(P | D);
        case pmMask: return P & D;
        case pmNotMask: return ~(P & D);
        case pmXor: return P ^ D;
        case pmNotXor: return ~(P ^ D);
    }
    return P;
}

inline void ApplyRop(uint32_t* px, uint32_t pen, TPenMode m) {
    if (m == pmCopy) {
        *px = pen;
        return;
    }
    *px = 0xFF000000u | (Rop2(m, pen & 0xFFFFFF, *px & 0xFFFFFF) & 0xFFFFFF);
}

// Dash patterns of one-pixel pens (on, off, on, off ...).
const std::vector<int>& PenPattern(TPenStyle s) {
    static const std::vector<int> solid;
    static const std::vector<int> dash{18, 6};
    static const std::vector<int> dot{3, 3};
    static const std::vector<int> dashDot{9, 6, 3, 6};
    static const std::vector<int> dashDotDot{9, 3, 3, 3, 3, 3};
    static const std::vector<int> alternate{1, 1};
    switch (s) {
        case psDash: return dash;
        case psDot: return dot;
        case psDashDot: return dashDot;
        case psDashDotDot: return dashDotDot;
        case psAlternate: return alternate;
        default: return solid;
    }
}

// 8 x 8 hatch patterns: bit 7 - x of row y set where the hatch line runs.
bool HatchBit(TBrushStyle s, int x, int y) {
    x &= 7;
    y &= 7;
    switch (s) {
        case bsHorizontal: return y == 7;
        case bsVertical: return x == 7;
        case bsFDiagonal: return x == y;
        case bsBDiagonal: return x == 7 - y;
        case bsCross: return x == 7 || y == 7;
        case bsDiagCross: return x == y || x == 7 - y;
        default: return true;
    }
}

} // namespace

// ---------------------------------------------------------------------------------------------
// Construction, target, state

struct TCanvas::TState {
    TFont Font;
    TPen Pen;
    TBrush Brush;
    TPoint PenPos;
    TCopyMode CopyMode;
    int BkMode;
    TColor BkColor;
    TColor TextColor;
    bool HasClip;
    QRegion Clip;
    int MapMode;
};

TCanvas::TCanvas() : FFont(new TFont), FPen(new TPen), FBrush(new TBrush) {
    FFont->OnChange = [this](TObject* s) { FontChanged(s); };
    FBrush->OnChange = [this](TObject* s) { BrushChanged(s); };
    FontChanged(nullptr);
    BrushChanged(nullptr);
}

TCanvas::~TCanvas() {
    ClosePainter();
    for (TState* s : FSaved) delete s;
    TObject::Free(FFont);
    TObject::Free(FPen);
    TObject::Free(FBrush);
}

void TCanvas::SetTarget(QImage* Image) {
    if (FPainterUses == 0) ClosePainter();
    FTarget = Image;
    if (FTarget && !FTarget->isNull()) {
        QImage::Format f = FTarget->format();
        if (f != QImage::Format_RGB32 && f != QImage::Format_ARGB32 &&
            f != QImage::Format_ARGB32_Premultiplied)
            *FTarget = FTarget->convertToFormat(QImage::Format_ARGB32);
    }
    UpdateClipCache();
}

QImage* TCanvas::Target() {
    RequireTarget();
    return FTarget;
}

bool TCanvas::RequireTarget() {
    if (!FTarget) return false;
    // The owner may have replaced or resized the image since it was set: keep the drawing format
    // and the clip bounds in step with it.
    if (FTarget->size() != FTargetSize) {
        QImage::Format f = FTarget->format();
        if (!FTarget->isNull() && f != QImage::Format_RGB32 && f != QImage::Format_ARGB32 &&
            f != QImage::Format_ARGB32_Premultiplied)
            *FTarget = FTarget->convertToFormat(QImage::Format_ARGB32);
        UpdateClipCache();
    }
    return !FTarget->isNull();
}

void TCanvas::Changing() {
    if (Assigned(OnChanging)) OnChanging(this);
}

void TCanvas::Changed() {
    if (Assigned(OnChange)) OnChange(this);
}

void TCanvas::FontChanged(TObject*) {
    FTextColor = FFont->Color();
    FDrawFontValid = false;
    ++FFontSerial;
}

void TCanvas::BrushChanged(TObject*) {
    if (FBrush->Style() == bsSolid) {
        FBkColor = FBrush->Color();
        FBkMode = OPAQUE;
    } else {
        FBkColor = FBrush->Color();
        FBkMode = TRANSPARENT;
    }
}

int TCanvas::SetBkMode(int Mode) {
    int old = FBkMode;
    FBkMode = Mode == TRANSPARENT ? TRANSPARENT : OPAQUE;
    return old;
}

TColor TCanvas::SetBkColor(TColor Color) {
    TColor old = FBkColor;
    FBkColor = Color;
    return old;
}

TColor TCanvas::SetTextColor(TColor Color) {
    TColor old = FTextColor;
    FTextColor = Color;
    return old;
}

int TCanvas::GetDeviceCaps(int Index) const {
    const int w = FTarget ? FTarget->width() : 0, h = FTarget ? FTarget->height() : 0;
    switch (Index) {
        case LOGPIXELSX:
        case LOGPIXELSY: return FDpi;
        case HORZRES:
        case PHYSICALWIDTH: return w;
        case VERTRES:
        case PHYSICALHEIGHT: return h;
        case HORZSIZE: return MulDiv(w, 254, FDpi * 10);
        case VERTSIZE: return MulDiv(h, 254, FDpi * 10);
        case PHYSICALOFFSETX:
        case PHYSICALOFFSETY:
        default: return 0;
    }
}

// ---------------------------------------------------------------------------------------------
// Mapping modes

int TCanvas::SetMapMode(int Mode) {
    if (Mode != MM_TEXT && Mode != MM_LOMETRIC) return 0;
    const int old = FMapMode;
    if (Mode != FMapMode) {
        FMapMode = Mode;
        FontMappingChanged();
    }
    return old;
}

void TCanvas::FontMappingChanged() {
    FDrawFontValid = false;
    ++FFontSerial;
}

TPoint TCanvas::LPtoDP(const TPoint& P) const {
    if (FMapMode == MM_TEXT) return P;
    return TPoint(MulDiv(P.X, FDpi, 254), MulDiv(-P.Y, FDpi, 254));
}

TPoint TCanvas::DPtoLP(const TPoint& P) const {
    if (FMapMode == MM_TEXT) return P;
    return TPoint(MulDiv(P.X, 254, FDpi), -MulDiv(P.Y, 254, FDpi));
}

TRect TCanvas::LPtoDP(const TRect& R) const {
    const TPoint a = LPtoDP(TPoint(R.Left, R.Top)), b = LPtoDP(TPoint(R.Right, R.Bottom));
    return TRect(a.X, a.Y, b.X, b.Y);
}

TRect TCanvas::DPtoLP(const TRect& R) const {
    const TPoint a = DPtoLP(TPoint(R.Left, R.Top)), b = DPtoLP(TPoint(R.Right, R.Bottom));
    return TRect(a.X, a.Y, b.X, b.Y);
}

TRect TCanvas::DeviceRect(const TRect& R) const {
    TRect d = LPtoDP(R);
    if (d.Right < d.Left) std::swap(d.Left, d.Right);
    if (d.Bottom < d.Top) std::swap(d.Top, d.Bottom);
    return d;
}

int TCanvas::LengthToDevice(int Length) const {
    if (FMapMode == MM_TEXT || Length == 0) return Length;
    const int d = MulDiv(std::abs(Length), FDpi, 254);
    return (Length < 0 ? -1 : 1) * std::max(1, d);
}

int TCanvas::LengthToLogical(int Pixels) const {
    if (FMapMode == MM_TEXT) return Pixels;
    return MulDiv(Pixels, 254, FDpi);
}

// The pen width is a logical length as well: it is set to its pixels while the call runs and set
// back after (without notifying, the pen is the same pen).
TCanvas::TDeviceUnits::TDeviceUnits(TCanvas* Canvas) : FCanvas(Canvas), FPenWidth(Canvas->FPen->Width()) {
    if (FCanvas->FDeviceDepth++ == 0 && FCanvas->FMapMode != MM_TEXT) {
        TNotifyEvent keep = FCanvas->FPen->OnChange;
        FCanvas->FPen->OnChange = nullptr;
        FCanvas->FPen->SetWidth(std::max(1, FCanvas->LengthToDevice(FPenWidth)));
        FCanvas->FPen->OnChange = keep;
    }
}

TCanvas::TDeviceUnits::~TDeviceUnits() {
    if (--FCanvas->FDeviceDepth == 0 && FCanvas->FMapMode != MM_TEXT) {
        TNotifyEvent keep = FCanvas->FPen->OnChange;
        FCanvas->FPen->OnChange = nullptr;
        FCanvas->FPen->SetWidth(FPenWidth);
        FCanvas->FPen->OnChange = keep;
    }
}

int SetMapMode(HDC DC, int Mode) {
    return DC ? DC->SetMapMode(Mode) : 0;
}

int GetMapMode(HDC DC) {
    return DC ? DC->MapMode() : 0;
}

bool DPtoLP(HDC DC, TPoint* Points, int Count) {
    if (!DC || (!Points && Count > 0)) return false;
    for (int i = 0; i < Count; ++i) Points[i] = DC->DPtoLP(Points[i]);
    return true;
}

bool LPtoDP(HDC DC, TPoint* Points, int Count) {
    if (!DC || (!Points && Count > 0)) return false;
    for (int i = 0; i < Count; ++i) Points[i] = DC->LPtoDP(Points[i]);
    return true;
}

bool DPtoLP(HDC DC, TRect& R) {
    if (!DC) return false;
    R = DC->DPtoLP(R);
    return true;
}

bool LPtoDP(HDC DC, TRect& R) {
    if (!DC) return false;
    R = DC->LPtoDP(R);
    return true;
}

int GetDeviceCaps(HDC DC, int Index) {
    return DC ? DC->GetDeviceCaps(Index) : 0;
}

namespace {

QFont MakeDrawingFont(const TFont* Font) {
    QFont f = Font->ToQFont();
    f.setStyleStrategy(QFont::StyleStrategy(QFont::NoAntialias | QFont::NoSubpixelAntialias));
    f.setHintingPreference(QFont::PreferFullHinting);
    return f;
}

// The drawing fonts made so far on the application's thread, by what they are made of. A QFont
// keeps the font engine Qt found for it the first time it was measured or drawn, so a canvas
// that sets a font made before (every label measures its caption with one of a few fonts) skips
// the font lookup. The list goes with the application, while Qt's font cache is still there.
struct TDrawingFont {
    String Name;
    int Height;
    TFontPitch Pitch;
    unsigned Styles;
    QFont Font;
};
std::vector<TDrawingFont>* GDrawingFonts = nullptr;

void FreeDrawingFonts() {
    delete GDrawingFonts;
    GDrawingFonts = nullptr;
}

QFont SharedDrawingFont(const TFont* Font) {
    const QCoreApplication* app = QCoreApplication::instance();
    if (!app || QThread::currentThread() != app->thread()) return MakeDrawingFont(Font);
    unsigned styles = 0;
    for (TFontStyle s : Font->Style()) styles |= 1u << s;
    if (!GDrawingFonts) {
        GDrawingFonts = new std::vector<TDrawingFont>;
        qAddPostRoutine(FreeDrawingFonts);
    }
    for (const TDrawingFont& d : *GDrawingFonts)
        if (d.Height == Font->Height() && d.Styles == styles && d.Pitch == Font->Pitch() &&
            d.Name == Font->Name())
            return d.Font;
    if (GDrawingFonts->size() >= 64) GDrawingFonts->clear();
    GDrawingFonts->push_back({Font->Name(), Font->Height(), Font->Pitch(), styles, MakeDrawingFont(Font)});
    return GDrawingFonts->back().Font;
}

} // namespace

QFont TCanvas::DrawingFont() const {
    if (!FDrawFontValid) {
        if (FMapMode == MM_TEXT) {
            FDrawFont = SharedDrawingFont(FFont);
        } else {
            // The font height is logical: the drawing font takes its pixels.
            TFont mapped;
            mapped.Assign(FFont);
            mapped.SetHeight(LengthToDevice(FFont->Height()));
            FDrawFont = SharedDrawingFont(&mapped);
        }
        FDrawFontValid = true;
    }
    return FDrawFont;
}

int TCanvas::SaveDC() {
    auto* s = new TState;
    s->Font.Assign(FFont);
    s->Pen.Assign(FPen);
    s->Brush.Assign(FBrush);
    s->PenPos = FPenPos;
    s->CopyMode = FCopyMode;
    s->BkMode = FBkMode;
    s->BkColor = FBkColor;
    s->TextColor = FTextColor;
    s->HasClip = FHasClip;
    s->Clip = FClip;
    s->MapMode = FMapMode;
    FSaved.push_back(s);
    return int(FSaved.size());
}

bool TCanvas::RestoreDC(int SavedDC) {
    int level = SavedDC < 0 ? int(FSaved.size()) + 1 + SavedDC : SavedDC;
    if (level < 1 || level > int(FSaved.size())) return false;
    while (int(FSaved.size()) > level) {
        delete FSaved.back();
        FSaved.pop_back();
    }
    TState* s = FSaved.back();
    FSaved.pop_back();
    FFont->Assign(&s->Font);
    FPen->Assign(&s->Pen);
    FBrush->Assign(&s->Brush);
    FPenPos = s->PenPos;
    FCopyMode = s->CopyMode;
    FBkMode = s->BkMode;
    FBkColor = s->BkColor;
    FTextColor = s->TextColor;
    FHasClip = s->HasClip;
    FClip = s->Clip;
    SetMapMode(s->MapMode);
    ++FClipSerial;
    delete s;
    UpdateClipCache();
    return true;
}

// ---------------------------------------------------------------------------------------------
// Clipping

TRect TCanvas::Bounds() const {
    if (!FTarget) return TRect();
    return TRect(0, 0, FTarget->width(), FTarget->height());
}

void TCanvas::UpdateClipCache() {
    FTargetSize = FTarget ? FTarget->size() : QSize();
    TRect b = Bounds();
    if (!FHasClip) {
        FClipIsRect = true;
        FClipBox = b;
        return;
    }
    QRegion r = FClip.intersected(QRect(b.Left, b.Top, b.Width(), b.Height()));
    FClipIsRect = r.rectCount() <= 1;
    QRect br = r.boundingRect();
    FClipBox =
        r.isEmpty() ? TRect() : TRect(br.left(), br.top(), br.left() + br.width(), br.top() + br.height());
}

bool TCanvas::Clipped(int X, int Y) const {
    if (X < FClipBox.Left || Y < FClipBox.Top || X >= FClipBox.Right || Y >= FClipBox.Bottom) return true;
    if (FClipIsRect) return false;
    return !FClip.contains(QPoint(X, Y));
}

TRect TCanvas::ClipRect() {
    RequireTarget();
    UpdateClipCache();
    const TRect box = FHasClip ? FClipBox : Bounds();
    return Mapped() ? DPtoLP(box) : box;
}

QRegion TCanvas::ClipRegion() {
    RequireTarget();
    TRect b = Bounds();
    QRegion all(QRect(b.Left, b.Top, b.Width(), b.Height()));
    return FHasClip ? FClip.intersected(all) : all;
}

void TCanvas::SelectClipRgn(const QRegion* Region) {
    RequireTarget();
    FHasClip = Region != nullptr || FHasPaintRegion;
    FClip = Region ? *Region : QRegion();
    if (FHasPaintRegion) FClip = Region ? FClip.intersected(FPaintRegion) : FPaintRegion;
    ++FClipSerial;
    UpdateClipCache();
}

void TCanvas::SelectPaintRegion(const QRegion* Region) {
    FHasPaintRegion = Region != nullptr;
    FPaintRegion = Region ? *Region : QRegion();
    SelectClipRgn(nullptr);
}

void TCanvas::SelectClipRect(const TRect* R) {
    if (R && Mapped()) {
        const TRect d = DeviceRect(*R);
        TDeviceUnits u(this);
        SelectClipRect(&d);
        return;
    }
    if (!R) {
        SelectClipRgn(nullptr);
        return;
    }
    QRegion r(QRect(R->Left, R->Top, std::max(0, R->Width()), std::max(0, R->Height())));
    SelectClipRgn(&r);
}

void TCanvas::ExtSelectClipRgn(const QRegion& Region, int Mode) {
    RequireTarget();
    QRegion cur = ClipRegion();
    QRegion r;
    switch (Mode) {
        case RGN_AND: r = cur.intersected(Region); break;
        case RGN_OR: r = cur.united(Region); break;
        case RGN_XOR: r = cur.xored(Region); break;
        case RGN_DIFF: r = cur.subtracted(Region); break;
        default: r = Region; break;
    }
    SelectClipRgn(&r);
}

void TCanvas::IntersectClipRect(const TRect& R) {
    if (Mapped()) {
        TDeviceUnits u(this);
        IntersectClipRect(DeviceRect(R));
        return;
    }
    QRegion r(QRect(R.Left, R.Top, std::max(0, R.Width()), std::max(0, R.Height())));
    ExtSelectClipRgn(r, RGN_AND);
}

void TCanvas::ExcludeClipRect(const TRect& R) {
    if (Mapped()) {
        TDeviceUnits u(this);
        ExcludeClipRect(DeviceRect(R));
        return;
    }
    QRegion r(QRect(R.Left, R.Top, std::max(0, R.Width()), std::max(0, R.Height())));
    ExtSelectClipRgn(r, RGN_DIFF);
}

// ---------------------------------------------------------------------------------------------
// Pixel primitives

void TCanvas::PlotPixel(int X, int Y, TColor Color, TPenMode Mode) {
    if (!Ready() || Clipped(X, Y)) return;
    auto* px = reinterpret_cast<uint32_t*>(FTarget->scanLine(Y)) + X;
    ApplyRop(px, ToPixel(Color), Mode);
}

void TCanvas::FillSpan(int X1, int X2, int Y, TColor Color, TPenMode Mode) {
    if (X2 <= X1 || !Ready() || Y < FClipBox.Top || Y >= FClipBox.Bottom) return;
    uint32_t pen = ToPixel(Color);
    auto* line = reinterpret_cast<uint32_t*>(FTarget->scanLine(Y));
    auto fill = [&](int a, int b) {
        a = std::max(a, FClipBox.Left);
        b = std::min(b, FClipBox.Right);
        if (a >= b) return;
        if (Mode == pmCopy) {
            std::fill(line + a, line + b, pen);
            return;
        }
        for (int x = a; x < b; ++x) ApplyRop(line + x, pen, Mode);
    };
    if (FClipIsRect) {
        fill(X1, X2);
        return;
    }
    for (const QRect& r : FClip) {
        if (Y < r.top() || Y > r.bottom()) continue;
        fill(std::max(X1, r.left()), std::min(X2, r.right() + 1));
    }
}

void TCanvas::FillRectColor(const TRect& R, TColor Color, TPenMode Mode) {
    if (!RequireTarget()) return;
    if (Mode == pmCopy && Ready() && FClipIsRect) {
        // One rectangle of one colour: the rows are filled straight, as FillSpan fills each.
        const int l = std::max(R.Left, FClipBox.Left), r = std::min(R.Right, FClipBox.Right);
        const int t = std::max(R.Top, FClipBox.Top), b = std::min(R.Bottom, FClipBox.Bottom);
        if (l >= r || t >= b) return;
        const uint32_t pen = ToPixel(Color);
        uchar* bits = FTarget->bits();
        const qsizetype stride = FTarget->bytesPerLine();
        for (int y = t; y < b; ++y) {
            auto* line = reinterpret_cast<uint32_t*>(bits + y * stride);
            std::fill(line + l, line + r, pen);
        }
        return;
    }
    const int t = std::max(R.Top, FClipBox.Top), b = std::min(R.Bottom, FClipBox.Bottom);
    for (int y = t; y < b; ++y) FillSpan(R.Left, R.Right, y, Color, Mode);
}

void TCanvas::FillSpanBrush(int X1, int X2, int Y) {
    TBrushStyle s = FBrush->Style();
    if (s == bsClear || X2 <= X1 || !Ready()) return;
    if (FBrush->Bitmap() && !FBrush->Bitmap()->Empty()) {
        const QImage& pat = FBrush->Bitmap()->Image();
        const auto* pl = reinterpret_cast<const uint32_t*>(
            pat.constScanLine(((Y % pat.height()) + pat.height()) % pat.height()));
        for (int x = X1; x < X2; ++x) {
            if (Clipped(x, Y)) continue;
            int sx = ((x % pat.width()) + pat.width()) % pat.width();
            reinterpret_cast<uint32_t*>(FTarget->scanLine(Y))[x] = 0xFF000000u | (pl[sx] & 0xFFFFFF);
        }
        return;
    }
    if (s == bsSolid) {
        FillSpan(X1, X2, Y, FBrush->Color());
        return;
    }
    // Hatches: lines in the brush colour, gaps in the background colour when opaque.
    for (int x = X1; x < X2; ++x) {
        if (HatchBit(s, x, Y))
            PlotPixel(x, Y, FBrush->Color());
        else if (FBkMode == OPAQUE)
            PlotPixel(x, Y, FBkColor);
    }
}

void TCanvas::FillRectBrush(const TRect& R) {
    if (!RequireTarget() || FBrush->Style() == bsClear) return;
    int t = std::max(R.Top, FClipBox.Top), b = std::min(R.Bottom, FClipBox.Bottom);
    int l = std::max(R.Left, FClipBox.Left), r = std::min(R.Right, FClipBox.Right);
    for (int y = t; y < b; ++y) FillSpanBrush(l, r, y);
}

// One point of a pen line; Index counts the pixels along the line for dash patterns.
void TCanvas::DrawPenPoint(int X, int Y, int Index) {
    TPenStyle st = FPen->Style();
    if (st == psClear) return;
    int w = FPen->Width();
    if (w > 1) {
        // Wide pens are solid and centred on the line.
        int a = -(w / 2), b = a + w;
        for (int dy = a; dy < b; ++dy)
            for (int dx = a; dx < b; ++dx) PlotPixel(X + dx, Y + dy, FPen->Color(), FPen->Mode());
        return;
    }
    const auto& pat = PenPattern(st);
    bool on = true;
    if (!pat.empty()) {
        int period = 0;
        for (int p : pat) period += p;
        int pos = Index % period;
        for (size_t i = 0; i < pat.size(); ++i) {
            if (pos < pat[i]) {
                on = (i % 2) == 0;
                break;
            }
            pos -= pat[i];
        }
    }
    if (on)
        PlotPixel(X, Y, FPen->Color(), FPen->Mode());
    else if (FBkMode == OPAQUE)
        PlotPixel(X, Y, FBkColor, FPen->Mode());
}

// Bresenham from (X1, Y1) towards (X2, Y2); the last point only when IncludeLast.
void TCanvas::DrawPenLine(int X1, int Y1, int X2, int Y2, bool IncludeLast) {
    if (!RequireTarget() || FPen->Style() == psClear) return;
    // Solid one-pixel rows and columns (grid lines, frames) go in one span or one column.
    if (FPen->Width() <= 1 && PenPattern(FPen->Style()).empty() && (Y1 == Y2 || X1 == X2)) {
        const int n = std::abs(X2 - X1) + std::abs(Y2 - Y1) + (IncludeLast ? 1 : 0);
        if (n == 0) return;
        FPenIndex += n;
        const TColor c = FPen->Color();
        const TPenMode m = FPen->Mode();
        if (Y1 == Y2) {
            const int first = X1 <= X2 ? X1 : (IncludeLast ? X2 : X2 + 1);
            FillSpan(first, first + n, Y1, c, m);
        } else {
            const int first = Y1 <= Y2 ? Y1 : (IncludeLast ? Y2 : Y2 + 1);
            for (int y = first; y < first + n; ++y) PlotPixel(X1, y, c, m);
        }
        return;
    }
    int dx = std::abs(X2 - X1), dy = -std::abs(Y2 - Y1);
    int sx = X1 < X2 ? 1 : -1, sy = Y1 < Y2 ? 1 : -1;
    int err = dx + dy;
    int x = X1, y = Y1;
    while (true) {
        bool last = x == X2 && y == Y2;
        if (last && !IncludeLast) break;
        DrawPenPoint(x, y, FPenIndex++);
        if (last) break;
        int e2 = 2 * err;
        if (e2 >= dy) {
            err += dy;
            x += sx;
        }
        if (e2 <= dx) {
            err += dx;
            y += sy;
        }
    }
}

// ---------------------------------------------------------------------------------------------
// Lines and shapes

void TCanvas::MoveTo(int X, int Y) {
    FPenPos = TPoint(X, Y);
    FPenIndex = 0;
}

void TCanvas::LineTo(int X, int Y) {
    if (Mapped()) {
        const TPoint from = LPtoDP(FPenPos), to = LPtoDP(TPoint(X, Y));
        {
            TDeviceUnits u(this);
            FPenPos = from;
            LineTo(to.X, to.Y);
        }
        FPenPos = TPoint(X, Y);
        return;
    }
    Changing();
    DrawPenLine(FPenPos.X, FPenPos.Y, X, Y, false);
    FPenPos = TPoint(X, Y);
    Changed();
}

void TCanvas::Polyline(const std::vector<TPoint>& Points) {
    if (Points.size() < 2) return;
    if (Mapped()) {
        std::vector<TPoint> d;
        for (const TPoint& p : Points) d.push_back(LPtoDP(p));
        TDeviceUnits u(this);
        Polyline(d);
        return;
    }
    Changing();
    FPenIndex = 0;
    for (size_t i = 1; i < Points.size(); ++i)
        DrawPenLine(Points[i - 1].X, Points[i - 1].Y, Points[i].X, Points[i].Y, false);
    Changed();
}

void TCanvas::FillRect(const TRect& R) {
    if (Mapped()) {
        TDeviceUnits u(this);
        FillRect(DeviceRect(R));
        return;
    }
    Changing();
    FillRectBrush(R);
    Changed();
}

void TCanvas::FrameRect(const TRect& R) {
    if (Mapped()) {
        TDeviceUnits u(this);
        FrameRect(DeviceRect(R));
        return;
    }
    if (R.IsEmpty() || !RequireTarget()) return;
    Changing();
    TColor c = FBrush->Color();
    FillSpan(R.Left, R.Right, R.Top, c);
    if (R.Bottom - 1 > R.Top) FillSpan(R.Left, R.Right, R.Bottom - 1, c);
    for (int y = R.Top + 1; y < R.Bottom - 1; ++y) {
        PlotPixel(R.Left, y, c);
        if (R.Right - 1 > R.Left) PlotPixel(R.Right - 1, y, c);
    }
    Changed();
}

void TCanvas::InvertRect(const TRect& R) {
    if (Mapped()) {
        TDeviceUnits u(this);
        InvertRect(DeviceRect(R));
        return;
    }
    Changing();
    FillRectColor(R, clBlack, pmNot);
    Changed();
}

// Paints a shape given as one span [first, second) per row from Top: the brush inside, the pen on
// the pixels that touch the outside (when Outline).
void TCanvas::PaintShape(const std::vector<std::pair<int, int>>& Spans, int Top, bool Outline) {
    int n = int(Spans.size());
    auto inside = [&](int x, int row) {
        if (row < 0 || row >= n) return false;
        return x >= Spans[row].first && x < Spans[row].second;
    };
    int w = Outline ? std::max(1, FPen->Width()) : 0;
    for (int row = 0; row < n; ++row) {
        int a = Spans[row].first, b = Spans[row].second;
        if (b <= a) continue;
        int y = Top + row;
        if (!Outline) {
            FillSpanBrush(a, b, y);
            continue;
        }
        for (int x = a; x < b; ++x) {
            bool edge = false;
            // A pixel is on the outline when one within the pen width outside it is not in the shape.
            for (int d = 1; d <= w && !edge; ++d)
                edge =
                    !inside(x - d, row) || !inside(x + d, row) || !inside(x, row - d) || !inside(x, row + d);
            if (edge)
                PlotPixel(x, y, FPen->Color(), FPen->Mode());
            else if (FBrush->Style() != bsClear)
                FillSpanBrush(x, x + 1, y);
        }
    }
}

void TCanvas::Rectangle(int X1, int Y1, int X2, int Y2) {
    if (!RequireTarget()) return;
    if (Mapped()) {
        const TRect d = DeviceRect(TRect(X1, Y1, X2, Y2));
        TDeviceUnits u(this);
        Rectangle(d);
        return;
    }
    if (X2 < X1) std::swap(X1, X2);
    if (Y2 < Y1) std::swap(Y1, Y2);
    Changing();
    if (FPen->Style() == psSolid && FPen->Width() <= 1 && FPen->Mode() == pmCopy &&
        FBrush->Style() == bsSolid && (!FBrush->Bitmap() || FBrush->Bitmap()->Empty()) &&
        FPen->Color() == FBrush->Color()) {
        // A solid outline in the brush's colour around a solid fill is one solid rectangle (the
        // bands of a gradient, a cell's background).
        FillRectColor(TRect(X1, Y1, X2, Y2), FPen->Color(), pmCopy);
    } else if (FPen->Style() == psClear) {
        // Without a pen the filled area is one pixel smaller at the right and bottom.
        FillRectBrush(TRect(X1, Y1, X2 - 1, Y2 - 1));
    } else {
        int w = std::max(1, FPen->Width());
        // A wide pen is centred on the outline's one-pixel path; psInsideFrame keeps it inside.
        int out = FPen->Style() == psInsideFrame || w == 1 ? 0 : w / 2;
        int l = X1 - out, t = Y1 - out, r = X2 + out, b = Y2 + out;
        FillRectBrush(TRect(l + w, t + w, r - w, b - w));
        if (w == 1 && FPen->Style() != psSolid && FPen->Style() != psInsideFrame) {
            FPenIndex = 0;
            DrawPenLine(l, t, r - 1, t, false);
            DrawPenLine(r - 1, t, r - 1, b - 1, false);
            DrawPenLine(r - 1, b - 1, l, b - 1, false);
            DrawPenLine(l, b - 1, l, t, false);
        } else {
            TColor c = FPen->Color();
            TPenMode m = FPen->Mode();
            for (int y = t; y < b; ++y) {
                if (y < t + w || y >= b - w) {
                    FillSpan(l, r, y, c, m);
                } else {
                    FillSpan(l, std::min(l + w, r), y, c, m);
                    FillSpan(std::max(r - w, l + w), r, y, c, m);
                }
            }
        }
    }
    Changed();
}

namespace {

// Half-width of an ellipse row: the spans of a shape whose corners are quarter ellipses
// CW x CH inside [L, R) x [T, B). Pixel centres inside the ideal outline are in the shape.
std::vector<std::pair<int, int>> RoundSpans(int L, int T, int R, int B, int CW, int CH) {
    // The corner ellipse runs through pixel centres: radii (CW - 1) / 2 and (CH - 1) / 2 in pixel
    // units; a pixel is in the shape when its centre lies on or inside the curve (a boundary
    // falling exactly between two pixels takes the inner one, which gives the platform's
    // stepped corners).
    std::vector<std::pair<int, int>> spans;
    int h = B - T, w = R - L;
    if (h <= 0 || w <= 0) return spans;
    CW = std::clamp(CW, 0, w);
    CH = std::clamp(CH, 0, h);
    double rx = (CW - 1) / 2.0, ry = (CH - 1) / 2.0;
    spans.reserve(h);
    for (int row = 0; row < h; ++row) {
        double dy = 0;
        if (row < ry)
            dy = ry - row;
        else if (row > (h - 1) - ry)
            dy = row - ((h - 1) - ry);
        int inset = 0;
        if (dy > 0 && ry > 0 && rx > 0) {
            double q = 1.0 - (dy / ry) * (dy / ry);
            double dx = q > 0 ? rx * std::sqrt(q) : 0;
            inset = std::max(0, int(std::ceil(rx - dx - 0.5 + 1e-7)));
        }
        spans.emplace_back(L + inset, R - inset);
    }
    return spans;
}

} // namespace

namespace {

// The box a rounded shape covers: corners in order, right and bottom excluded; with a clear pen
// (no outline) the fill ends one pixel sooner on those sides.
struct TRoundBox {
    int L, T, R, B;
    bool Pen;
};

TRoundBox RoundBox(int X1, int Y1, int X2, int Y2, bool Pen) {
    if (X2 < X1) std::swap(X1, X2);
    if (Y2 < Y1) std::swap(Y1, Y2);
    return {X1, Y1, Pen ? X2 : X2 - 1, Pen ? Y2 : Y2 - 1, Pen};
}

} // namespace

void TCanvas::RoundRect(int X1, int Y1, int X2, int Y2, int X3, int Y3) {
    if (!RequireTarget()) return;
    if (Mapped()) {
        const TRect d = DeviceRect(TRect(X1, Y1, X2, Y2));
        const int cx = LengthToDevice(std::abs(X3)), cy = LengthToDevice(std::abs(Y3));
        TDeviceUnits u(this);
        RoundRect(d, cx, cy);
        return;
    }
    Changing();
    const TRoundBox box = RoundBox(X1, Y1, X2, Y2, FPen->Style() != psClear);
    PaintShape(RoundSpans(box.L, box.T, box.R, box.B, std::abs(X3), std::abs(Y3)), box.T, box.Pen);
    Changed();
}

void TCanvas::Ellipse(int X1, int Y1, int X2, int Y2) {
    if (!RequireTarget()) return;
    if (Mapped()) {
        const TRect d = DeviceRect(TRect(X1, Y1, X2, Y2));
        TDeviceUnits u(this);
        Ellipse(d);
        return;
    }
    Changing();
    const TRoundBox box = RoundBox(X1, Y1, X2, Y2, FPen->Style() != psClear);
    PaintShape(RoundSpans(box.L, box.T, box.R, box.B, box.R - box.L, box.B - box.T), box.T, box.Pen);
    Changed();
}

void TCanvas::Polygon(const std::vector<TPoint>& Points) {
    if (Points.size() < 2 || !RequireTarget()) return;
    if (Mapped()) {
        std::vector<TPoint> d;
        for (const TPoint& p : Points) d.push_back(LPtoDP(p));
        TDeviceUnits u(this);
        Polygon(d);
        return;
    }
    Changing();
    if (FBrush->Style() != bsClear) {
        // Alternate (even-odd) fill, sampling pixel centres.
        int top = Points[0].Y, bottom = Points[0].Y;
        for (const auto& p : Points) {
            top = std::min(top, p.Y);
            bottom = std::max(bottom, p.Y);
        }
        top = std::max(top, FClipBox.Top);
        bottom = std::min(bottom, FClipBox.Bottom);
        std::vector<double> xs;
        for (int y = top; y < bottom; ++y) {
            double yc = y + 0.5;
            xs.clear();
            for (size_t i = 0; i < Points.size(); ++i) {
                const TPoint& a = Points[i];
                const TPoint& b = Points[(i + 1) % Points.size()];
                if ((a.Y <= yc && b.Y > yc) || (b.Y <= yc && a.Y > yc))
                    xs.push_back(a.X + (yc - a.Y) * double(b.X - a.X) / double(b.Y - a.Y));
            }
            std::sort(xs.begin(), xs.end());
            for (size_t i = 0; i + 1 < xs.size(); i += 2) {
                int x1 = int(std::ceil(xs[i] - 0.5)), x2 = int(std::ceil(xs[i + 1] - 0.5));
                FillSpanBrush(std::max(x1, FClipBox.Left), std::min(x2, FClipBox.Right), y);
            }
        }
    }
    FPenIndex = 0;
    for (size_t i = 0; i < Points.size(); ++i) {
        const TPoint& a = Points[i];
        const TPoint& b = Points[(i + 1) % Points.size()];
        DrawPenLine(a.X, a.Y, b.X, b.Y, false);
    }
    Changed();
}

namespace {

double PointAngle(int X1, int Y1, int X2, int Y2, int PX, int PY) {
    double cx = (X1 + X2) / 2.0, cy = (Y1 + Y2) / 2.0;
    // Counter-clockwise degrees with y upwards, as on screen.
    return std::atan2(-(PY - cy), PX - cx) * 180.0 / M_PI;
}

} // namespace

// Arcs, pies and chords go through QPainter: start at the angle of (X3, Y3), counter-clockwise to
// the angle of (X4, Y4).
static void ArcShape(TCanvas* C, int kind, int X1, int Y1, int X2, int Y2, int X3, int Y3, int X4, int Y4) {
    if (X2 < X1) std::swap(X1, X2);
    if (Y2 < Y1) std::swap(Y1, Y2);
    double a1 = PointAngle(X1, Y1, X2, Y2, X3, Y3), a2 = PointAngle(X1, Y1, X2, Y2, X4, Y4);
    double span = a2 - a1;
    while (span <= 0) span += 360.0;
    TCanvasPainter p(C);
    if (!p) return;
    QRectF r(X1, Y1, X2 - X1 - 1, Y2 - Y1 - 1);
    if (C->Pen()->Style() == psClear)
        p->setPen(Qt::NoPen);
    else
        p->setPen(
            QPen(ToQColor(C->Pen()->Color()), std::max(1, C->Pen()->Width()) == 1 ? 0 : C->Pen()->Width()));
    if (kind == 0 || C->Brush()->Style() == bsClear)
        p->setBrush(Qt::NoBrush);
    else
        p->setBrush(ToQColor(C->Brush()->Color()));
    int s16 = int(std::lround(a1 * 16)), sp16 = int(std::lround(span * 16));
    if (kind == 0)
        p->drawArc(r, s16, sp16);
    else if (kind == 1)
        p->drawPie(r, s16, sp16);
    else
        p->drawChord(r, s16, sp16);
}

void TCanvas::Arc(int X1, int Y1, int X2, int Y2, int X3, int Y3, int X4, int Y4) {
    if (Mapped()) {
        const TRect d = DeviceRect(TRect(X1, Y1, X2, Y2));
        const TPoint a = LPtoDP(TPoint(X3, Y3)), b = LPtoDP(TPoint(X4, Y4));
        TDeviceUnits u(this);
        Arc(d.Left, d.Top, d.Right, d.Bottom, a.X, a.Y, b.X, b.Y);
        return;
    }
    Changing();
    ArcShape(this, 0, X1, Y1, X2, Y2, X3, Y3, X4, Y4);
    Changed();
}

void TCanvas::Pie(int X1, int Y1, int X2, int Y2, int X3, int Y3, int X4, int Y4) {
    if (Mapped()) {
        const TRect d = DeviceRect(TRect(X1, Y1, X2, Y2));
        const TPoint a = LPtoDP(TPoint(X3, Y3)), b = LPtoDP(TPoint(X4, Y4));
        TDeviceUnits u(this);
        Pie(d.Left, d.Top, d.Right, d.Bottom, a.X, a.Y, b.X, b.Y);
        return;
    }
    Changing();
    ArcShape(this, 1, X1, Y1, X2, Y2, X3, Y3, X4, Y4);
    Changed();
}

void TCanvas::Chord(int X1, int Y1, int X2, int Y2, int X3, int Y3, int X4, int Y4) {
    if (Mapped()) {
        const TRect d = DeviceRect(TRect(X1, Y1, X2, Y2));
        const TPoint a = LPtoDP(TPoint(X3, Y3)), b = LPtoDP(TPoint(X4, Y4));
        TDeviceUnits u(this);
        Chord(d.Left, d.Top, d.Right, d.Bottom, a.X, a.Y, b.X, b.Y);
        return;
    }
    Changing();
    ArcShape(this, 2, X1, Y1, X2, Y2, X3, Y3, X4, Y4);
    Changed();
}

void TCanvas::FloodFill(int X, int Y, TColor Color, TFillStyle FillStyle) {
    if (Mapped()) {
        const TPoint d = LPtoDP(TPoint(X, Y));
        TDeviceUnits u(this);
        FloodFill(d.X, d.Y, Color, FillStyle);
        return;
    }
    if (!RequireTarget() || Clipped(X, Y)) return;
    Changing();
    const int w = FTarget->width(), h = FTarget->height();
    const uint32_t key = ToPixel(Color) & 0xFFFFFF;
    auto pix = [&](int x, int y) {
        return reinterpret_cast<const uint32_t*>(FTarget->constScanLine(y))[x] & 0xFFFFFF;
    };
    auto fillable = [&](int x, int y) {
        if (Clipped(x, y)) return false;
        bool same = pix(x, y) == key;
        return FillStyle == fsBorder ? !same : same;
    };
    // Find the area first, then paint it, so the brush colour cannot stop the search.
    std::vector<bool> seen(size_t(w) * h, false);
    std::vector<std::pair<int, int>> stack{{X, Y}};
    std::vector<std::pair<int, int>> area;
    if (fillable(X, Y))
        seen[size_t(Y) * w + X] = true;
    else
        stack.clear();
    while (!stack.empty()) {
        auto [x, y] = stack.back();
        stack.pop_back();
        area.emplace_back(x, y);
        const int nx[4] = {x - 1, x + 1, x, x};
        const int ny[4] = {y, y, y - 1, y + 1};
        for (int i = 0; i < 4; ++i) {
            if (nx[i] < 0 || ny[i] < 0 || nx[i] >= w || ny[i] >= h) continue;
            size_t k = size_t(ny[i]) * w + nx[i];
            if (seen[k] || !fillable(nx[i], ny[i])) continue;
            seen[k] = true;
            stack.emplace_back(nx[i], ny[i]);
        }
    }
    for (auto [x, y] : area) FillSpanBrush(x, x + 1, y);
    Changed();
}

// ---------------------------------------------------------------------------------------------
// Pixels

TColor TCanvas::Pixels(int X, int Y) {
    if (Mapped()) {
        const TPoint d = LPtoDP(TPoint(X, Y));
        X = d.X;
        Y = d.Y;
    }
    if (!RequireTarget() || X < 0 || Y < 0 || X >= FTarget->width() || Y >= FTarget->height()) return clNone;
    return FromPixel(reinterpret_cast<const uint32_t*>(FTarget->constScanLine(Y))[X]);
}

void TCanvas::SetPixels(int X, int Y, TColor Color) {
    if (!RequireTarget()) return;
    if (Mapped()) {
        const TPoint d = LPtoDP(TPoint(X, Y));
        X = d.X;
        Y = d.Y;
    }
    Changing();
    PlotPixel(X, Y, Color);
    Changed();
}

// ---------------------------------------------------------------------------------------------
// QPainter access

bool TCanvas::PainterCurrent() const {
    return FPaintView.constBits() == FTarget->constBits() && FPaintView.size() == FTarget->size() &&
           FPaintView.bytesPerLine() == FTarget->bytesPerLine() && FPaintView.format() == FTarget->format();
}

void TCanvas::ApplyPainterBase() {
    if (FHasClip)
        FPainter->setClipRegion(FClip);
    else
        FPainter->setClipping(false);
    // Setting a font on a painter makes a new font for it, which has to find its glyphs again:
    // the painter keeps the canvas's font from call to call instead.
    FPainter->setFont(DrawingFont());
}

QPainter* TCanvas::BeginPainter() {
    if (!RequireTarget()) return nullptr;
    // Drawing goes into pixels of our own: a target shared with a copy someone holds is detached
    // first (bits() does that), so the copy keeps what it had.
    uchar* bits = FTarget->bits();
    if (FPainter && !PainterCurrent()) {
        // The pixels moved (the target was replaced, resized or detached). A painter that a call
        // is using cannot be swapped under it.
        if (FPainterUses > 0) return nullptr;
        ClosePainter();
    }
    if (!FPainter) {
        FPaintView =
            QImage(bits, FTarget->width(), FTarget->height(), FTarget->bytesPerLine(), FTarget->format());
        FPainter = new QPainter(&FPaintView);
        FPainter->setRenderHint(QPainter::Antialiasing, false);
        FPainter->setRenderHint(QPainter::TextAntialiasing, false);
        FPainter->setRenderHint(QPainter::SmoothPixmapTransform, false);
        FPainterBase = {FClipSerial - 1, FFontSerial - 1};
    }
    if (FPainterUses == 0 && FPainterBase != std::pair(FClipSerial, FFontSerial)) {
        // The base state that every call starts from: the canvas's clip and font.
        ApplyPainterBase();
        FPainterBase = {FClipSerial, FFontSerial};
    }
    FPainter->save();
    // A call inside another call's use starts from the canvas's clip and font as they are now.
    if (FPainterUses > 0) ApplyPainterBase();
    ++FPainterUses;
    return FPainter;
}

void TCanvas::EndPainter(QPainter* Painter) {
    if (!Painter || Painter != FPainter) return;
    FPainter->restore();
    if (--FPainterUses == 0 && FPaintDepth == 0) ClosePainter();
}

void TCanvas::BeginPainting() {
    ++FPaintDepth;
}

void TCanvas::EndPainting() {
    if (FPaintDepth == 0) return;
    if (--FPaintDepth == 0 && FPainterUses == 0) ClosePainter();
}

void TCanvas::ClosePainter() {
    if (!FPainter) return;
    FPainter->end();
    delete FPainter;
    FPainter = nullptr;
    FPaintView = QImage();
}

// ---------------------------------------------------------------------------------------------
// Pictures

namespace {

// The raster operation of a copy mode on source S and destination D (pattern = brush colour).
uint32_t Rop3(TCopyMode m, uint32_t S, uint32_t D, uint32_t P) {
    switch (m) {
        case cmBlackness: return 0;
        case cmWhiteness: return 0xFFFFFF;
        case cmDstInvert: return ~D;
        case cmMergeCopy: return S & P;
        case cmMergePaint: return ~S | D;
        case cmNotSrcCopy: return ~S;
        case cmNotSrcErase: return ~(S | D);
        case cmPatCopy: return P;
        case cmPatInvert: return P ^ D;
        case cmPatPaint: return P | ~S | D;
        case cmSrcAnd: return S & D;
        case cmSrcErase: return S & ~D;
        case cmSrcInvert: return S ^ D;
        case cmSrcPaint: return S | D;
        default: return S;
    }
}

} // namespace

// Puts Src (already at the destination size) at Dest's top-left: leaving out pixels of the key
// colour when Keyed, blending by alpha when Alpha, else with the copy mode.
static void Blit(TCanvas* C, const TRect& Dest, const QImage& Src, bool Keyed, uint32_t Key, bool Alpha,
                 TCopyMode Mode) {
    QImage* t = C->Target();
    if (!t || Src.isNull()) return;
    const QImage::Format f = Src.format();
    // Premultiplied pixels are taken as they are by the opaque copy below, converted otherwise.
    QImage s =
        f == QImage::Format_ARGB32 || f == QImage::Format_RGB32 || f == QImage::Format_ARGB32_Premultiplied
            ? Src
            : Src.convertToFormat(QImage::Format_ARGB32);
    TRect clip = C->ClipRect();
    QRegion region = C->ClipRegion();
    bool simple = region.rectCount() <= 1;
    const bool premultiplied = t->format() == QImage::Format_ARGB32_Premultiplied;
    uint32_t pat = ToPixel(C->Brush()->Color()) & 0xFFFFFF;
    int x0 = std::max(Dest.Left, clip.Left), x1 = std::min(Dest.Left + s.width(), clip.Right);
    int y0 = std::max(Dest.Top, clip.Top), y1 = std::min(Dest.Top + s.height(), clip.Bottom);
    // A plain copy of opaque pixels (a window's picture, most bitmaps) goes row by row: an opaque
    // pixel reads the same premultiplied or not, and blending it only copies it.
    if (!Keyed && Mode == cmSrcCopy && simple && x0 < x1) {
        const auto rowOf = [&](int y) {
            return reinterpret_cast<const uint32_t*>(s.constScanLine(y - Dest.Top)) + (x0 - Dest.Left);
        };
        bool opaque = true;
        if (Alpha || s.format() == QImage::Format_ARGB32_Premultiplied)
            for (int y = y0; y < y1 && opaque; ++y) {
                const uint32_t* sl = rowOf(y);
                uint32_t all = 0xFF000000u;
                for (int i = 0; i < x1 - x0; ++i) all &= sl[i];
                opaque = (all >> 24) == 0xFF;
            }
        if (opaque) {
            for (int y = y0; y < y1; ++y) {
                const uint32_t* sl = rowOf(y);
                uint32_t* dl = reinterpret_cast<uint32_t*>(t->scanLine(y)) + x0;
                for (int i = 0; i < x1 - x0; ++i) dl[i] = 0xFF000000u | sl[i];
            }
            return;
        }
    }
    if (s.format() == QImage::Format_ARGB32_Premultiplied) s = s.convertToFormat(QImage::Format_ARGB32);
    for (int y = y0; y < y1; ++y) {
        const auto* sl = reinterpret_cast<const uint32_t*>(s.constScanLine(y - Dest.Top));
        auto* dl = reinterpret_cast<uint32_t*>(t->scanLine(y));
        for (int x = x0; x < x1; ++x) {
            if (!simple && !region.contains(QPoint(x, y))) continue;
            uint32_t sp = sl[x - Dest.Left];
            if (Keyed && (sp & 0xFFFFFF) == Key) continue;
            if (Alpha) {
                uint32_t a = sp >> 24;
                if (a == 0) continue;
                if (a == 255) {
                    dl[x] = sp;
                    continue;
                }
                // Source over destination; the destination may itself be (premultiplied) translucent.
                uint32_t d = dl[x], da = d >> 24;
                uint32_t dr = (d >> 16) & 0xFF, dg = (d >> 8) & 0xFF, db = d & 0xFF;
                if (premultiplied && da != 0 && da != 255) {
                    dr = dr * 255 / da;
                    dg = dg * 255 / da;
                    db = db * 255 / da;
                }
                uint32_t oa = a + da * (255 - a) / 255;
                auto mix = [&](uint32_t sc, uint32_t dc) {
                    return oa == 0 ? 0u : (sc * a * 255 + dc * da * (255 - a) + oa * 127) / (oa * 255);
                };
                uint32_t r = mix((sp >> 16) & 0xFF, dr), g = mix((sp >> 8) & 0xFF, dg),
                         b = mix(sp & 0xFF, db);
                if (premultiplied) {
                    r = r * oa / 255;
                    g = g * oa / 255;
                    b = b * oa / 255;
                }
                dl[x] = (oa << 24) | (r << 16) | (g << 8) | b;
                continue;
            }
            if (Mode == cmSrcCopy)
                dl[x] = 0xFF000000u | (sp & 0xFFFFFF);
            else
                dl[x] = 0xFF000000u | (Rop3(Mode, sp & 0xFFFFFF, dl[x] & 0xFFFFFF, pat) & 0xFFFFFF);
        }
    }
}

// Scales Src to W x H by nearest pixels (negative sizes mirror), as the platform's stretch does.
static QImage ScaleNearest(const QImage& Src, int W, int H) {
    QImage s = Src;
    if (W < 0 || H < 0) s = s.mirrored(W < 0, H < 0);
    int aw = std::abs(W), ah = std::abs(H);
    if (aw == s.width() && ah == s.height()) return s;
    if (aw == 0 || ah == 0 || s.isNull()) return QImage();
    return s.scaled(aw, ah, Qt::IgnoreAspectRatio, Qt::FastTransformation);
}

void TCanvas::Draw(int X, int Y, TGraphic* Graphic) {
    if (!Graphic || Graphic->Empty()) return;
    if (Mapped()) {
        // A picture's pixels count as logical units, downward from (X, Y) so it stays upright.
        const TRect d = DeviceRect(TRect(X, Y, X + Graphic->Width(), Y - Graphic->Height()));
        TDeviceUnits u(this);
        Graphic->Draw(this, d);
        return;
    }
    Graphic->Draw(this, ::Bounds(X, Y, Graphic->Width(), Graphic->Height()));
}

void TCanvas::StretchDraw(const TRect& R, TGraphic* Graphic) {
    if (!Graphic || Graphic->Empty()) return;
    if (Mapped()) {
        const TRect d = DeviceRect(R);
        TDeviceUnits u(this);
        Graphic->Draw(this, d);
        return;
    }
    Graphic->Draw(this, R);
}

void TCanvas::DrawImage(int X, int Y, const QImage& Image) {
    if (!RequireTarget()) return;
    if (Mapped()) {
        const TPoint d = LPtoDP(TPoint(X, Y));
        X = d.X;
        Y = d.Y;
    }
    Changing();
    Blit(this, ::Bounds(X, Y, Image.width(), Image.height()), Image, false, 0, Image.hasAlphaChannel(),
         cmSrcCopy);
    Changed();
}

void TCanvas::CopyRect(const TRect& Dest, TCanvas* Canvas, const TRect& Source) {
    if (!Canvas || !RequireTarget() || !Canvas->RequireTarget()) return;
    if (Mapped() || Canvas->Mapped()) {
        // Corner by corner: a rectangle whose y runs upward copies upright.
        const TRect d = LPtoDP(Dest), s = Canvas->LPtoDP(Source);
        TDeviceUnits u(this);
        TDeviceUnits us(Canvas);
        CopyRect(d, Canvas, s);
        return;
    }
    Changing();
    QImage* src = Canvas->Target();
    // copy() makes a separate image, so a copy inside one canvas reads the pixels as they were.
    int sl = std::min(Source.Left, Source.Right), st = std::min(Source.Top, Source.Bottom);
    QImage part = src->copy(QRect(sl, st, std::abs(Source.Width()), std::abs(Source.Height())));
    bool mirrorX = (Source.Width() < 0) != (Dest.Width() < 0);
    bool mirrorY = (Source.Height() < 0) != (Dest.Height() < 0);
    QImage scaled = ScaleNearest(part, mirrorX ? -std::abs(Dest.Width()) : std::abs(Dest.Width()),
                                 mirrorY ? -std::abs(Dest.Height()) : std::abs(Dest.Height()));
    TRect d(std::min(Dest.Left, Dest.Right), std::min(Dest.Top, Dest.Bottom), 0, 0);
    Blit(this, d, scaled, false, 0, false, FCopyMode);
    Changed();
}

void TCanvas::BrushCopy(const TRect& Dest, TBitmap* Bitmap, const TRect& Source, TColor Color) {
    if (!Bitmap || Bitmap->Empty() || !RequireTarget()) return;
    if (Mapped()) {
        const TRect d = DeviceRect(Dest);
        TDeviceUnits u(this);
        BrushCopy(d, Bitmap, Source, Color);
        return;
    }
    Changing();
    QImage part = Bitmap->Image().copy(QRect(Source.Left, Source.Top, Source.Width(), Source.Height()));
    uint32_t key = ToPixel(Color) & 0xFFFFFF, bk = ToPixel(FBrush->Color());
    for (int y = 0; y < part.height(); ++y) {
        auto* l = reinterpret_cast<uint32_t*>(part.scanLine(y));
        for (int x = 0; x < part.width(); ++x)
            if ((l[x] & 0xFFFFFF) == key) l[x] = bk;
    }
    Blit(this, TRect(Dest.Left, Dest.Top, 0, 0), ScaleNearest(part, Dest.Width(), Dest.Height()), false, 0,
         false, cmSrcCopy);
    Changed();
}

// Used by the graphic classes to draw their pixels.
void CanvasBlit(TCanvas* Canvas, const TRect& Dest, const QImage& Src, bool Keyed, TColor Key, bool Alpha) {
    if (!Canvas || Src.isNull() || Dest.IsEmpty()) return;
    QImage s = ScaleNearest(Src, Dest.Width(), Dest.Height());
    Canvas->Changing();
    Blit(Canvas, Dest, s, Keyed, ToPixel(Key) & 0xFFFFFF, Alpha, Canvas->CopyMode());
    Canvas->Changed();
}

int StretchDIBits(HDC DC, const TRect& Dest, const QImage& Image, Cardinal Rop) {
    if (!DC || Image.isNull() || !DC->RequireTarget()) return 0;
    if (DC->Mapped()) {
        const TRect d = DC->LPtoDP(Dest);
        TCanvas::TDeviceUnits u(DC);
        return StretchDIBits(DC, d, Image, Rop);
    }
    // The bits of a 24-bit bitmap: the colours without their alpha. A negative width or height
    // mirrors the picture, as a stretch between rectangles of opposite direction does.
    QImage bits = Image.convertToFormat(QImage::Format_RGB32);
    const bool mirrorX = Dest.Right < Dest.Left, mirrorY = Dest.Bottom < Dest.Top;
    if (mirrorX || mirrorY) bits = bits.mirrored(mirrorX, mirrorY);
    const TRect d(std::min(Dest.Left, Dest.Right), std::min(Dest.Top, Dest.Bottom),
                  std::max(Dest.Left, Dest.Right), std::max(Dest.Top, Dest.Bottom));
    if (d.IsEmpty()) return 0;
    const TCopyMode mode = DC->CopyMode();
    DC->SetCopyMode(Rop);
    CanvasBlit(DC, d, bits, false, clNone, false);
    DC->SetCopyMode(mode);
    return Image.height();
}
