// Colours, fonts, pens, brushes, the canvas and the graphic classes of the class library.
//
// The canvas keeps the platform's drawing rules exactly (end point of a line left out, right and
// bottom edges of rectangles excluded, background mode of text, XOR modes), drawing into a
// 32-bit QImage without antialiasing, so pictures are the same pixels on every machine.
#pragma once

#include "Classes.h"
#include "StandIn.h"

#include <QFont>
#include <QColor>
#include <QImage>
#include <QRegion>

#include <set>
#include <utility>
#include <vector>

class QIODevice;
class QPainter;

// ---------------------------------------------------------------------------------------------
// Colours

// The RGB value of a colour: system colours ($FF0000nn) resolve through one fixed table (the
// classic default scheme); clNone and clDefault answer black; RGB values pass unchanged.
TColor ColorToRGB(TColor Color);
// The system colour table itself (index 0..30; other indices answer black).
TColor GetSysColor(int Index);
QColor ToQColor(TColor Color);
TColor FromQColor(const QColor& Color);

// Colour names of the class library ("clBlack" ... "clWindowText").
bool ColorToIdent(int Color, String& Ident);
bool IdentToColor(const String& Ident, int& Color);
// The name when the colour has one, else "$" + eight upper-case hexadecimal digits.
String ColorToString(TColor Color);
// A name (case ignored) or an integer: decimal, "$" or "0x" hexadecimal. Raises EConvertError.
TColor StringToColor(const String& S);

// ---------------------------------------------------------------------------------------------
// Errors

class EInvalidGraphic : public Exception {
    using Exception::Exception;
};
class EInvalidGraphicOperation : public Exception {
    using Exception::Exception;
};
class EOutOfResources : public Exception {
    using Exception::Exception;
};

// ---------------------------------------------------------------------------------------------
// Graphic objects: font, pen, brush

// Base of font, pen and brush: OnChange fires after every change.
class TGraphicsObject : public TPersistent {
public:
    TNotifyEvent OnChange;

protected:
    virtual void Changed();
};

enum TFontStyle { fsBold, fsItalic, fsUnderline, fsStrikeOut };
using TFontStyles = TEnumSet<TFontStyle>;
enum TFontPitch { fpDefault, fpVariable, fpFixed };
using TFontCharset = Byte;
using TFontName = String;

constexpr TFontCharset ANSI_CHARSET = 0;
constexpr TFontCharset DEFAULT_CHARSET = 1;
constexpr TFontCharset SYMBOL_CHARSET = 2;
constexpr TFontCharset OEM_CHARSET = 255;

// Logical pixels per inch of every screen canvas.
constexpr int ScreenPixelsPerInch = 96;

// The installed family that stands in for a family the system names (Tahoma, Verdana, Arial,
// Courier New, ...); unknown names pass unchanged.
String MapFontFamily(const String& Name);

// Loading the font configuration (the system's font list and rules, read from many files) is the
// largest single cost of a program's start. StartFontConfiguration begins it on a thread of its
// own, so that it runs while the windows are built; AwaitFontConfiguration (called before the
// platform makes its fonts, and at shutdown) waits for it, so that the configuration is loaded
// once. Both do nothing where no loading was started.
void StartFontConfiguration();
void AwaitFontConfiguration();

class TFont : public TGraphicsObject {
public:
    TFont();

    const String& Name() const { return FName; }
    void SetName(const String& Value);
    // Points; Size = -Height * 72 / 96 rounded.
    int Size() const;
    void SetSize(int Value);
    // Pixels: negative = character height (em), positive = cell height (ascent + descent).
    int Height() const { return FHeight; }
    void SetHeight(int Value);
    const TFontStyles& Style() const { return FStyle; }
    void SetStyle(const TFontStyles& Value);
    bool HasStyle(TFontStyle s) const { return FStyle.count(s) != 0; }
    TColor Color() const { return FColor; }
    void SetColor(TColor Value);
    TFontCharset Charset() const { return FCharset; }
    void SetCharset(TFontCharset Value);
    TFontPitch Pitch() const { return FPitch; }
    void SetPitch(TFontPitch Value);
    // Escapement of the text in tenths of a degree, counter-clockwise.
    int Orientation() const { return FOrientation; }
    void SetOrientation(int Value);
    int PixelsPerInch() const { return FPixelsPerInch; }
    void SetPixelsPerInch(int Value) { FPixelsPerInch = Value > 0 ? Value : ScreenPixelsPerInch; }

    void Assign(TPersistent* Source) override;

    // The Qt font with the mapped family and the pixel size set exactly.
    QFont ToQFont() const;

private:
    String FName;
    int FHeight;
    TFontStyles FStyle;
    TColor FColor;
    TFontCharset FCharset = DEFAULT_CHARSET;
    TFontPitch FPitch = fpDefault;
    int FOrientation = 0;
    int FPixelsPerInch = ScreenPixelsPerInch;
};

enum TPenStyle {
    psSolid,
    psDash,
    psDot,
    psDashDot,
    psDashDotDot,
    psClear,
    psInsideFrame,
    psUserStyle,
    psAlternate
};
// The sixteen binary raster operations, in the platform's order (R2_BLACK = 1 ... R2_WHITE = 16).
enum TPenMode {
    pmBlack,
    pmWhite,
    pmNop,
    pmNot,
    pmCopy,
    pmNotCopy,
    pmMergePenNot,
    pmMaskPenNot,
    pmMergeNotPen,
    pmMaskNotPen,
    pmMerge,
    pmNotMerge,
    pmMask,
    pmNotMask,
    pmXor,
    pmNotXor
};

class TPen : public TGraphicsObject {
public:
    TColor Color() const { return FColor; }
    void SetColor(TColor Value);
    int Width() const { return FWidth; }
    void SetWidth(int Value);
    TPenStyle Style() const { return FStyle; }
    void SetStyle(TPenStyle Value);
    TPenMode Mode() const { return FMode; }
    void SetMode(TPenMode Value);

    void Assign(TPersistent* Source) override;

private:
    TColor FColor = clBlack;
    int FWidth = 1;
    TPenStyle FStyle = psSolid;
    TPenMode FMode = pmCopy;
};

enum TBrushStyle {
    bsSolid,
    bsClear,
    bsHorizontal,
    bsVertical,
    bsFDiagonal,
    bsBDiagonal,
    bsCross,
    bsDiagCross
};

class TBitmap;

class TBrush : public TGraphicsObject {
public:
    TBrush() = default;
    ~TBrush() override;

    TColor Color() const { return FColor; }
    void SetColor(TColor Value);
    TBrushStyle Style() const { return FStyle; }
    void SetStyle(TBrushStyle Value);
    // A pattern bitmap (copied); while set, fills tile it. nullptr removes it.
    TBitmap* Bitmap() const { return FBitmap; }
    void SetBitmap(TBitmap* Value);

    void Assign(TPersistent* Source) override;

private:
    TColor FColor = clWhite;
    TBrushStyle FStyle = bsSolid;
    TBitmap* FBitmap = nullptr;
};

// ---------------------------------------------------------------------------------------------
// Flags of the platform's drawing routines

// Background modes.
constexpr int TRANSPARENT = 1;
constexpr int OPAQUE = 2;

// DrawText.
constexpr Cardinal DT_TOP = 0x0;
constexpr Cardinal DT_LEFT = 0x0;
constexpr Cardinal DT_CENTER = 0x1;
constexpr Cardinal DT_RIGHT = 0x2;
constexpr Cardinal DT_VCENTER = 0x4;
constexpr Cardinal DT_BOTTOM = 0x8;
constexpr Cardinal DT_WORDBREAK = 0x10;
constexpr Cardinal DT_SINGLELINE = 0x20;
constexpr Cardinal DT_EXPANDTABS = 0x40;
constexpr Cardinal DT_TABSTOP = 0x80;
constexpr Cardinal DT_NOCLIP = 0x100;
constexpr Cardinal DT_EXTERNALLEADING = 0x200;
constexpr Cardinal DT_CALCRECT = 0x400;
constexpr Cardinal DT_NOPREFIX = 0x800;
constexpr Cardinal DT_INTERNAL = 0x1000;
constexpr Cardinal DT_EDITCONTROL = 0x2000;
constexpr Cardinal DT_PATH_ELLIPSIS = 0x4000;
constexpr Cardinal DT_END_ELLIPSIS = 0x8000;
constexpr Cardinal DT_MODIFYSTRING = 0x10000;
constexpr Cardinal DT_RTLREADING = 0x20000;
constexpr Cardinal DT_WORD_ELLIPSIS = 0x40000;
constexpr Cardinal DT_NOFULLWIDTHCHARBREAK = 0x80000;
constexpr Cardinal DT_HIDEPREFIX = 0x100000;
constexpr Cardinal DT_PREFIXONLY = 0x200000;

// DrawEdge: borders, edges and sides.
constexpr Cardinal BDR_RAISEDOUTER = 0x1;
constexpr Cardinal BDR_SUNKENOUTER = 0x2;
constexpr Cardinal BDR_RAISEDINNER = 0x4;
constexpr Cardinal BDR_SUNKENINNER = 0x8;
constexpr Cardinal BDR_OUTER = 0x3;
constexpr Cardinal BDR_INNER = 0xC;
constexpr Cardinal BDR_RAISED = 0x5;
constexpr Cardinal BDR_SUNKEN = 0xA;
constexpr Cardinal EDGE_RAISED = BDR_RAISEDOUTER | BDR_RAISEDINNER;
constexpr Cardinal EDGE_SUNKEN = BDR_SUNKENOUTER | BDR_SUNKENINNER;
constexpr Cardinal EDGE_ETCHED = BDR_SUNKENOUTER | BDR_RAISEDINNER;
constexpr Cardinal EDGE_BUMP = BDR_RAISEDOUTER | BDR_SUNKENINNER;
constexpr Cardinal BF_LEFT = 0x1;
constexpr Cardinal BF_TOP = 0x2;
constexpr Cardinal BF_RIGHT = 0x4;
constexpr Cardinal BF_BOTTOM = 0x8;
constexpr Cardinal BF_TOPLEFT = BF_TOP | BF_LEFT;
constexpr Cardinal BF_TOPRIGHT = BF_TOP | BF_RIGHT;
constexpr Cardinal BF_BOTTOMLEFT = BF_BOTTOM | BF_LEFT;
constexpr Cardinal BF_BOTTOMRIGHT = BF_BOTTOM | BF_RIGHT;
constexpr Cardinal BF_RECT = BF_LEFT | BF_TOP | BF_RIGHT | BF_BOTTOM;
constexpr Cardinal BF_DIAGONAL = 0x10;
constexpr Cardinal BF_MIDDLE = 0x800;
constexpr Cardinal BF_SOFT = 0x1000;
constexpr Cardinal BF_ADJUST = 0x2000;
constexpr Cardinal BF_FLAT = 0x4000;
constexpr Cardinal BF_MONO = 0x8000;

// DrawFrameControl: kinds and states.
constexpr Cardinal DFC_CAPTION = 1;
constexpr Cardinal DFC_MENU = 2;
constexpr Cardinal DFC_SCROLL = 3;
constexpr Cardinal DFC_BUTTON = 4;
constexpr Cardinal DFCS_BUTTONCHECK = 0x0;
constexpr Cardinal DFCS_BUTTONRADIOIMAGE = 0x1;
constexpr Cardinal DFCS_BUTTONRADIOMASK = 0x2;
constexpr Cardinal DFCS_BUTTONRADIO = 0x4;
constexpr Cardinal DFCS_BUTTON3STATE = 0x8;
constexpr Cardinal DFCS_BUTTONPUSH = 0x10;
constexpr Cardinal DFCS_SCROLLUP = 0x0;
constexpr Cardinal DFCS_SCROLLDOWN = 0x1;
constexpr Cardinal DFCS_SCROLLLEFT = 0x2;
constexpr Cardinal DFCS_SCROLLRIGHT = 0x3;
constexpr Cardinal DFCS_SCROLLCOMBOBOX = 0x5;
constexpr Cardinal DFCS_SCROLLSIZEGRIP = 0x8;
constexpr Cardinal DFCS_INACTIVE = 0x100;
constexpr Cardinal DFCS_PUSHED = 0x200;
constexpr Cardinal DFCS_CHECKED = 0x400;
constexpr Cardinal DFCS_TRANSPARENT = 0x800;
constexpr Cardinal DFCS_HOT = 0x1000;
constexpr Cardinal DFCS_ADJUSTRECT = 0x2000;
constexpr Cardinal DFCS_FLAT = 0x4000;
constexpr Cardinal DFCS_MONO = 0x8000;

// Region combination modes.
constexpr int RGN_AND = 1;
constexpr int RGN_OR = 2;
constexpr int RGN_XOR = 3;
constexpr int RGN_DIFF = 4;
constexpr int RGN_COPY = 5;

// Device capabilities.
constexpr int HORZSIZE = 4;
constexpr int VERTSIZE = 6;
constexpr int HORZRES = 8;
constexpr int VERTRES = 10;
constexpr int LOGPIXELSX = 88;
constexpr int LOGPIXELSY = 90;
constexpr int PHYSICALWIDTH = 110;
constexpr int PHYSICALHEIGHT = 111;
constexpr int PHYSICALOFFSETX = 112;
constexpr int PHYSICALOFFSETY = 113;

// Mapping modes: MM_TEXT is one unit per device pixel, y downward; MM_LOMETRIC one unit per
// 0.1 mm, y upward (the device origin stays at the top left, so the visible area has y <= 0).
constexpr int MM_TEXT = 1;
constexpr int MM_LOMETRIC = 2;

// Raster operations of the bitmap copies.
constexpr Cardinal SRCCOPY = 0x00CC0020;
constexpr Cardinal SRCINVERT = 0x00660046;

// ---------------------------------------------------------------------------------------------
// Canvas

class TGraphic;

enum TFillStyle { fsSurface, fsBorder };
enum TCanvasOrientation { coLeftToRight, coRightToLeft };

// Copy modes of CopyRect and Draw (the raster operations the system uses).
using TCopyMode = Cardinal;
constexpr TCopyMode cmBlackness = 0x00000042;
constexpr TCopyMode cmDstInvert = 0x00550009;
constexpr TCopyMode cmMergeCopy = 0x00C000CA;
constexpr TCopyMode cmMergePaint = 0x00BB0226;
constexpr TCopyMode cmNotSrcCopy = 0x00330008;
constexpr TCopyMode cmNotSrcErase = 0x001100A6;
constexpr TCopyMode cmPatCopy = 0x00F00021;
constexpr TCopyMode cmPatInvert = 0x005A0049;
constexpr TCopyMode cmPatPaint = 0x00FB0A09;
constexpr TCopyMode cmSrcAnd = 0x008800C6;
constexpr TCopyMode cmSrcCopy = 0x00CC0020;
constexpr TCopyMode cmSrcErase = 0x00440328;
constexpr TCopyMode cmSrcInvert = 0x00660046;
constexpr TCopyMode cmSrcPaint = 0x00EE0086;
constexpr TCopyMode cmWhiteness = 0x00FF0062;

// A canvas drawing on a 32-bit QImage (Format_RGB32, Format_ARGB32 or premultiplied) with the
// platform's rules. It owns its font, pen and brush; the target image belongs to someone else
// (a control's backing image, a bitmap). Every drawn pixel is opaque.
class TCanvas : public TPersistent {
public:
    TCanvas();
    ~TCanvas() override;

    // The image drawn on; nullptr detaches. Other 32-bit formats are converted in place.
    void SetTarget(QImage* Image);
    QImage* Target();
    bool HandleAllocated() const { return FTarget != nullptr; }

    TFont* Font() const { return FFont; }
    void SetFont(TFont* Value) { FFont->Assign(Value); }
    TPen* Pen() const { return FPen; }
    void SetPen(TPen* Value) { FPen->Assign(Value); }
    TBrush* Brush() const { return FBrush; }
    void SetBrush(TBrush* Value) { FBrush->Assign(Value); }
    TCopyMode CopyMode() const { return FCopyMode; }
    void SetCopyMode(TCopyMode Value) { FCopyMode = Value; }
    TPoint PenPos() const { return FPenPos; }
    void SetPenPos(const TPoint& Value) { FPenPos = Value; }
    TCanvasOrientation CanvasOrientation() const { return coLeftToRight; }

    // Lines and shapes.
    void MoveTo(int X, int Y);
    void LineTo(int X, int Y);
    void Polyline(const std::vector<TPoint>& Points);
    void Polygon(const std::vector<TPoint>& Points);
    void Rectangle(int X1, int Y1, int X2, int Y2);
    void Rectangle(const TRect& R) { Rectangle(R.Left, R.Top, R.Right, R.Bottom); }
    void RoundRect(int X1, int Y1, int X2, int Y2, int X3, int Y3);
    void RoundRect(const TRect& R, int CX, int CY) { RoundRect(R.Left, R.Top, R.Right, R.Bottom, CX, CY); }
    void Ellipse(int X1, int Y1, int X2, int Y2);
    void Ellipse(const TRect& R) { Ellipse(R.Left, R.Top, R.Right, R.Bottom); }
    void Arc(int X1, int Y1, int X2, int Y2, int X3, int Y3, int X4, int Y4);
    void Pie(int X1, int Y1, int X2, int Y2, int X3, int Y3, int X4, int Y4);
    void Chord(int X1, int Y1, int X2, int Y2, int X3, int Y3, int X4, int Y4);
    void FillRect(const TRect& R);
    void FrameRect(const TRect& R);
    // Fills with the brush from (X, Y): fsBorder up to pixels of Color, fsSurface over Color.
    void FloodFill(int X, int Y, TColor Color, TFillStyle FillStyle);
    // Inverts the pixels of R (the platform's InvertRect).
    void InvertRect(const TRect& R);

    // Pixels; outside the image Pixels answers clNone (reading) and ignores the write.
    TColor Pixels(int X, int Y);
    void SetPixels(int X, int Y, TColor Color);

    // Text: the top-left corner of the text cell at (X, Y); the pen position moves past it.
    void TextOut(int X, int Y, const String& Text);
    void TextRect(const TRect& R, int X, int Y, const String& Text);
    int TextWidth(const String& Text);
    int TextHeight(const String& Text);
    TSize TextExtent(const String& Text);

    // Pictures.
    void Draw(int X, int Y, TGraphic* Graphic);
    void StretchDraw(const TRect& R, TGraphic* Graphic);
    // Copies Source of Canvas into Dest (scaled when sizes differ) with CopyMode; a copy inside
    // one canvas behaves as if through a temporary.
    void CopyRect(const TRect& Dest, TCanvas* Canvas, const TRect& Source);
    // Copies Source of Bitmap into Dest with pixels of Color replaced by the brush colour.
    void BrushCopy(const TRect& Dest, TBitmap* Bitmap, const TRect& Source, TColor Color);
    // Draws Image at (X, Y) on this canvas (alpha blended, clipped).
    void DrawImage(int X, int Y, const QImage& Image);

    // Clipping. ClipRect is the bounding box of the visible area (the whole image when no clip
    // is set).
    TRect ClipRect();
    bool HasClip() const { return FHasClip; }
    QRegion ClipRegion();
    void IntersectClipRect(const TRect& R);
    void ExcludeClipRect(const TRect& R);
    // nullptr or no argument removes the clip.
    void SelectClipRect(const TRect* R);
    void SelectClipRect(const TRect& R) { SelectClipRect(&R); }
    void SelectClipRgn(const QRegion* Region);
    // Combines Region with the current clip by RGN_AND / RGN_OR / RGN_XOR / RGN_DIFF / RGN_COPY.
    void ExtSelectClipRgn(const QRegion& Region, int Mode);
    void ResetClip() { SelectClipRgn(nullptr); }
    // The part a window's paint may change (the platform's system region; nullptr ends it):
    // while it is set, every clip is cut to it and removing the clip leaves it.
    void SelectPaintRegion(const QRegion* Region);

    // Save and restore of the whole state: font, pen, brush, pen position, clip, background mode
    // and colour, text colour, copy mode. SaveDC answers the level; RestoreDC(-1) restores the
    // last saved state, RestoreDC(n) the state saved at level n.
    int SaveDC();
    bool RestoreDC(int SavedDC = -1);

    // Device-context text state. Changing the brush sets the background mode (opaque for a
    // solid brush, transparent otherwise) and colour; changing the font sets the text colour.
    int BkMode() const { return FBkMode; }
    int SetBkMode(int Mode);
    TColor BkColor() const { return FBkColor; }
    TColor SetBkColor(TColor Color);
    TColor TextColor() const { return FTextColor; }
    TColor SetTextColor(TColor Color);

    // Pixels per inch of the device drawn on: the screen's for every canvas but a printer's.
    int PixelsPerInch() const { return FDpi; }
    void SetPixelsPerInch(int Value) {
        FDpi = Value > 0 ? Value : ScreenPixelsPerInch;
        FontMappingChanged();
    }
    // LOGPIXELSX/Y, the size of the target (HORZRES/VERTRES in pixels, HORZSIZE/VERTSIZE in mm,
    // PHYSICALWIDTH/HEIGHT) and PHYSICALOFFSETX/Y (0: the target is the whole page).
    int GetDeviceCaps(int Index) const;

    // The mapping mode (MM_TEXT or MM_LOMETRIC). In MM_LOMETRIC every coordinate, size, pen
    // width and font height given to the canvas is logical and converted here; text extents,
    // ClipRect and the measured DrawText rectangle come back logical, and text stays upright.
    // SetMapMode answers the previous mode, 0 for a mode it does not know (nothing changes).
    int MapMode() const { return FMapMode; }
    int SetMapMode(int Mode);
    // True while calls take logical coordinates that differ from device pixels.
    bool Mapped() const { return FMapMode != MM_TEXT && FDeviceDepth == 0; }
    // Point-wise conversion (a rectangle is converted corner by corner, not normalised).
    TPoint LPtoDP(const TPoint& P) const;
    TPoint DPtoLP(const TPoint& P) const;
    TRect LPtoDP(const TRect& R) const;
    TRect DPtoLP(const TRect& R) const;
    // A logical rectangle as the device rectangle it covers (normalised: Left <= Right,
    // Top <= Bottom).
    TRect DeviceRect(const TRect& R) const;
    // A logical length (width, font height, pen width) in pixels and back; 0 stays 0, any other
    // length is at least one pixel.
    int LengthToDevice(int Length) const;
    int LengthToLogical(int Pixels) const;

    // Runs the calls made while it lives in device pixels (MM_TEXT coordinates) with the
    // mapped pen width and font: a logical drawing call converts its arguments and calls itself
    // again under one.
    class TDeviceUnits {
    public:
        explicit TDeviceUnits(TCanvas* Canvas);
        ~TDeviceUnits();
        TDeviceUnits(const TDeviceUnits&) = delete;
        TDeviceUnits& operator=(const TDeviceUnits&) = delete;

    private:
        TCanvas* FCanvas;
        int FPenWidth;
    };

    // The canvas's font as drawn (no antialiasing, orientation applied by the caller).
    QFont DrawingFont() const;
    // The font's ascent and cell height (ascent + descent) in pixels.
    int FontAscent();
    int FontCellHeight();

    // Brackets a series of drawing on the image. The platform serialises threads that draw on one
    // canvas here; this canvas takes no lock (a stand-in: drawing stays on the main thread).
    void Lock() { PlatformStandIn("TCanvas::Lock"); }
    void Unlock() { PlatformStandIn("TCanvas::Unlock"); }

    TNotifyEvent OnChange;
    TNotifyEvent OnChanging;

    // Called before every drawing operation; a bitmap's canvas brings its image into the
    // 32-bit drawing format here. Answers false when there is nothing to draw on.
    virtual bool RequireTarget();
    // Fire OnChanging / OnChange around drawing (a bitmap's canvas also marks its bitmap changed).
    virtual void Changing();
    virtual void Changed();

    // Low-level pixel access for the drawing routines of this layer (clipped, with a raster
    // operation). Coordinates are image coordinates.
    void PlotPixel(int X, int Y, TColor Color, TPenMode Mode = pmCopy);
    void FillSpan(int X1, int X2, int Y, TColor Color, TPenMode Mode = pmCopy);
    void FillRectColor(const TRect& R, TColor Color, TPenMode Mode = pmCopy);
    // Fills R with the brush (solid, hatched or bitmap pattern), clipped; no-op for bsClear.
    void FillRectBrush(const TRect& R);

    // The painter of one drawing call (TCanvasPainter wraps the pair): a QPainter on the target
    // clipped to the canvas's clip, with the drawing font set, without antialiasing (nullptr
    // without a target). Whatever the call changes on it (pen, brush, font, clip, transform,
    // composition mode, hints) EndPainter undoes. Outside a paint bracket the first BeginPainter
    // opens the painter and the last EndPainter closes it; inside one, every call shares the
    // one painter of the paint.
    QPainter* BeginPainter();
    void EndPainter(QPainter* Painter);
    // A paint bracket (TCanvasPainting wraps the pair): between BeginPainting and EndPainting
    // every drawing call shares one QPainter, opened at the first call that needs it and closed
    // by the outermost EndPainting. Brackets nest. The target may be replaced or resized inside
    // a bracket (the painter follows it at the next call), but not while a call holds the painter.
    void BeginPainting();
    void EndPainting();
    bool PaintingOpen() const { return FPaintDepth > 0; }

protected:
    // The target as set, without bringing it into the drawing format.
    QImage* RawTarget() const { return FTarget; }

private:
    struct TState;
    void FontChanged(TObject*);
    void BrushChanged(TObject*);
    void DrawPenLine(int X1, int Y1, int X2, int Y2, bool IncludeLast);
    void DrawPenPoint(int X, int Y, int Index);
    void FillSpanBrush(int X1, int X2, int Y);
    void PaintShape(const std::vector<std::pair<int, int>>& Spans, int Top, bool Outline);
    bool Clipped(int X, int Y) const;
    // The target is there in the 32-bit drawing format with the clip bounds up to date.
    bool Ready() {
        if (!FTarget) return false;
        if (FTarget->size() != FTargetSize || FTarget->depth() != 32)
            return RequireTarget() && FTarget->depth() == 32;
        return !FTarget->isNull();
    }
    void UpdateClipCache();
    TRect Bounds() const;

    QImage* FTarget = nullptr;
    TFont* FFont;
    TPen* FPen;
    TBrush* FBrush;
    TPoint FPenPos;
    TCopyMode FCopyMode = cmSrcCopy;
    int FBkMode = OPAQUE;
    TColor FBkColor = clWhite;
    TColor FTextColor = clBlack;
    bool FHasClip = false;
    QRegion FClip;
    bool FHasPaintRegion = false;
    QRegion FPaintRegion;
    bool FClipIsRect = true;
    TRect FClipBox;
    int FPenIndex = 0;
    std::vector<TState*> FSaved;
    int FMapMode = MM_TEXT;
    int FDeviceDepth = 0;
    int FDpi = ScreenPixelsPerInch;
    void FontMappingChanged();
    QSize FTargetSize;
    mutable QFont FDrawFont;
    mutable bool FDrawFontValid = false;

    // The open painter draws on FPaintView, an image over the target's pixels, not on the target
    // itself: the target may be replaced, resized or copied while the painter is open (the
    // painter's own device stays), and the next BeginPainter, seeing the pixels moved, opens a
    // new painter before anything is drawn.
    void ClosePainter();
    bool PainterCurrent() const;
    void ApplyPainterBase();
    QPainter* FPainter = nullptr;
    QImage FPaintView;
    int FPainterUses = 0;
    int FPaintDepth = 0;
    // Count the changes of the clip and of the font; the painter's base state (outside every
    // call's own changes) is the canvas's clip and drawing font as of FPainterBase.
    unsigned FClipSerial = 0;
    unsigned FFontSerial = 0;
    std::pair<unsigned, unsigned> FPainterBase;
};

// The canvas's painter for one drawing call: BeginPainter when made, EndPainter when it goes
// (also when the call throws). Tests false when there is nothing to draw on.
class TCanvasPainter {
public:
    explicit TCanvasPainter(TCanvas* Canvas) : FCanvas(Canvas), FPainter(Canvas->BeginPainter()) {}
    ~TCanvasPainter() { FCanvas->EndPainter(FPainter); }
    TCanvasPainter(const TCanvasPainter&) = delete;
    TCanvasPainter& operator=(const TCanvasPainter&) = delete;
    explicit operator bool() const { return FPainter != nullptr; }
    QPainter* operator->() const { return FPainter; }
    QPainter* get() const { return FPainter; }

private:
    TCanvas* FCanvas;
    QPainter* FPainter;
};

// A paint bracket on a canvas (TCanvas::BeginPainting), closed when it goes, also by an exception.
class TCanvasPainting {
public:
    explicit TCanvasPainting(TCanvas* Canvas) : FCanvas(Canvas) { FCanvas->BeginPainting(); }
    ~TCanvasPainting() { FCanvas->EndPainting(); }
    TCanvasPainting(const TCanvasPainting&) = delete;
    TCanvasPainting& operator=(const TCanvasPainting&) = delete;

private:
    TCanvas* FCanvas;
};

// Draws Src stretched into Dest of Canvas with the canvas's clip and copy mode: pixels of Key
// left out when Keyed, blended by their alpha when Alpha. Used by the graphic classes.
void CanvasBlit(TCanvas* Canvas, const TRect& Dest, const QImage& Src, bool Keyed, TColor Key, bool Alpha);

// Device contexts of the platform's drawing routines are canvases here.
using HDC = TCanvas*;

// The platform's MulDiv: Number * Numerator / Denominator in 64 bits, rounded half away from
// zero; -1 for a zero denominator.
int MulDiv(int Number, int Numerator, int Denominator);

// ---------------------------------------------------------------------------------------------
// The platform's drawing routines

// Draws or (DT_CALCRECT) measures Text in R with the DT_ flags, in the canvas font, text and
// background colours and background mode. Answers the height of the text (with DT_VCENTER or
// DT_BOTTOM: the offset from R.Top to the bottom of the text). DT_CALCRECT sets R.Right and
// R.Bottom to the measured extent and draws nothing.
int DrawText(TCanvas* Canvas, const String& Text, TRect& R, Cardinal Flags);
int DrawText(TCanvas* Canvas, const String& Text, int Count, TRect& R, Cardinal Flags);
// The dotted focus rectangle: inverts every other pixel of R's outline; a second call restores.
void DrawFocusRect(TCanvas* Canvas, const TRect& R);
// Classic 3D edges in the system colours; with BF_ADJUST, R shrinks by the drawn width.
bool DrawEdge(TCanvas* Canvas, TRect& R, Cardinal Edge, Cardinal Flags);
// Classic check boxes, radio buttons, push buttons and scroll arrows.
bool DrawFrameControl(TCanvas* Canvas, TRect& R, Cardinal Kind, Cardinal State);

// The device-context forms of the canvas's mapping (see TCanvas::SetMapMode): the conversions
// work on Count points in place (a rectangle counts as its two corners).
int SetMapMode(HDC DC, int Mode);
int GetMapMode(HDC DC);
bool DPtoLP(HDC DC, TPoint* Points, int Count);
bool LPtoDP(HDC DC, TPoint* Points, int Count);
bool DPtoLP(HDC DC, TRect& R);
bool LPtoDP(HDC DC, TRect& R);
int GetDeviceCaps(HDC DC, int Index);
// Draws Image stretched into Dest (logical) as the device-independent bits of a 24-bit bitmap
// (alpha left out) with the raster operation Rop (SRCCOPY, SRCINVERT, ... the copy modes).
// Answers the number of lines drawn, 0 when there is nothing to draw.
int StretchDIBits(HDC DC, const TRect& Dest, const QImage& Image, Cardinal Rop);

// ---------------------------------------------------------------------------------------------
// Graphics

// A picture that can draw itself on a canvas.
class TGraphic : public TPersistent {
public:
    TGraphic() = default;

    virtual int Width() const = 0;
    virtual void SetWidth(int Value) = 0;
    virtual int Height() const = 0;
    virtual void SetHeight(int Value) = 0;
    virtual bool Empty() const = 0;
    bool Transparent() const { return FTransparent; }
    virtual void SetTransparent(bool Value);
    bool Modified() const { return FModified; }
    void SetModified(bool Value) { FModified = Value; }

    // Draws the picture into R of the canvas (stretched when sizes differ).
    virtual void Draw(TCanvas* ACanvas, const TRect& Rect) = 0;
    // A new, empty graphic of the same class (what a picture uses to copy a graphic it is
    // given); nullptr when the class cannot be copied that way.
    virtual TGraphic* CreateNew() const { return nullptr; }

    // Raises EFOpenError when the file cannot be read, EInvalidGraphic when it is no picture.
    virtual void LoadFromFile(const String& FileName);
    // Writes to a temporary file beside FileName and renames it, so a failure leaves the old file.
    virtual void SaveToFile(const String& FileName);
    virtual void LoadFromStream(QIODevice* Stream) = 0;
    virtual void SaveToStream(QIODevice* Stream) = 0;

    TNotifyEvent OnChange;

protected:
    virtual void Changed(TObject* Sender = nullptr);

    bool FTransparent = false;
    bool FModified = false;
};

enum TPixelFormat { pfDevice, pf1bit, pf4bit, pf8bit, pf15bit, pf16bit, pf24bit, pf32bit, pfCustom };
enum TTransparentMode { tmAuto, tmFixed };
enum TAlphaFormat { afIgnored, afDefined, afPremultiplied };
enum TBitmapHandleType { bmDIB, bmDDB };

class TBitmap;

// The canvas of a bitmap: keeps the bitmap's image in the drawing format.
class TBitmapCanvas : public TCanvas {
public:
    explicit TBitmapCanvas(TBitmap* Bitmap) : FBitmap(Bitmap) {}

    bool RequireTarget() override;
    void Changed() override;

private:
    TBitmap* FBitmap;
};

class TBitmap : public TGraphic {
public:
    TBitmap();
    TBitmap(int AWidth, int AHeight);
    ~TBitmap() override;

    int Width() const override;
    void SetWidth(int Value) override;
    int Height() const override;
    void SetHeight(int Value) override;
    // New pixels are white; existing ones keep their place.
    void SetSize(int AWidth, int AHeight);
    bool Empty() const override;

    TCanvas* Canvas();
    // The pixels in the drawing format (32-bit, 0xAARRGGBB words).
    QImage& Image();
    const QImage& Image() const;
    // Replaces the picture by a copy of Image (converted to the drawing format).
    void SetImage(const QImage& Image);

    TPixelFormat PixelFormat() const { return FPixelFormat; }
    void SetPixelFormat(TPixelFormat Value);
    TAlphaFormat AlphaFormat() const { return FAlphaFormat; }
    void SetAlphaFormat(TAlphaFormat Value) { FAlphaFormat = Value; }
    // Always a device-independent bitmap: a device-dependent one is a stand-in.
    TBitmapHandleType HandleType() const { return bmDIB; }
    void SetHandleType(TBitmapHandleType Value) {
        if (Value != bmDIB) PlatformStandIn("TBitmap::SetHandleType");
    }
    bool Monochrome() const { return FPixelFormat == pf1bit; }

    // Row Y's bytes: B, G, R (pf24bit) or B, G, R, A (other formats); valid until the next
    // drawing on the canvas.
    Byte* ScanLine(int Y);

    // The colour left out when drawing transparently: the explicit one (tmFixed) or the
    // bottom-left pixel's colour (tmAuto).
    TColor TransparentColor();
    // Setting a colour other than clDefault switches to tmFixed; clDefault to tmAuto.
    void SetTransparentColor(TColor Value);
    TTransparentMode TransparentMode() const { return FTransparentMode; }
    void SetTransparentMode(TTransparentMode Value);

    void Draw(TCanvas* ACanvas, const TRect& Rect) override;
    TGraphic* CreateNew() const override { return new TBitmap; }
    void LoadFromStream(QIODevice* Stream) override;
    // Writes a BMP (24-bit for pf24bit and lower, else 32-bit).
    void SaveToStream(QIODevice* Stream) override;
    // Loads the named bitmap resource (the instance is ignored); EResNotFound when missing.
    void LoadFromResourceName(const String& Name);
    template <class Instance> void LoadFromResourceName(Instance, const String& Name) {
        LoadFromResourceName(Name);
    }

    void Assign(TPersistent* Source) override;
    // The platform frees a handle or a memory copy here; the picture is one QImage and stays the
    // same either way, so there is nothing to free.
    void Dormant() {}
    void FreeImage() {}
    void Mask(TColor TransparentColor);

private:
    friend class TBitmapCanvas;
    void EnsureDrawFormat();

    QImage FImage;
    TBitmapCanvas* FCanvas = nullptr;
    TPixelFormat FPixelFormat = pfDevice;
    TAlphaFormat FAlphaFormat = afIgnored;
    TTransparentMode FTransparentMode = tmAuto;
    TColor FTransparentColor = clDefault;
    bool FScanLayout24 = false;
};

// An icon: a picture with its own transparency (alpha), drawn without stretching.
class TIcon : public TGraphic {
public:
    TIcon();

    int Width() const override { return FImage.width(); }
    void SetWidth(int Value) override;
    int Height() const override { return FImage.height(); }
    void SetHeight(int Value) override;
    bool Empty() const override { return FImage.isNull(); }
    QImage& Image() { return FImage; }
    void SetImage(const QImage& Image);
    // The icon as the platform's pair of bitmaps: the AND mask (black where the icon is opaque,
    // white elsewhere) and the XOR colour image (its colours, black where transparent). Copied
    // with SRCCOPY and then SRCINVERT they draw the icon over white paper.
    QImage MaskImage() const;
    QImage ColorImage() const;

    void Draw(TCanvas* ACanvas, const TRect& Rect) override;
    TGraphic* CreateNew() const override { return new TIcon; }
    void LoadFromStream(QIODevice* Stream) override;
    void SaveToStream(QIODevice* Stream) override;
    void Assign(TPersistent* Source) override;

private:
    QImage FImage;
};

// Holds one graphic of whatever class its file needs.
class TPicture : public TPersistent {
public:
    TPicture() = default;
    ~TPicture() override;

    TGraphic* Graphic() const { return FGraphic; }
    // Takes a copy of Value (nullptr empties the picture).
    void SetGraphic(TGraphic* Value);
    // The graphic as a bitmap; replaces another kind of graphic by an empty bitmap.
    TBitmap* Bitmap();
    void SetBitmap(TBitmap* Value);
    TIcon* Icon();
    int Width() const { return FGraphic ? FGraphic->Width() : 0; }
    int Height() const { return FGraphic ? FGraphic->Height() : 0; }

    // Picks the class by the file's content (bitmap formats Qt reads, icons). Raises
    // EInvalidGraphic "Unknown picture file extension (.xyz)" for anything else and EFOpenError
    // when the file cannot be opened; the picture is unchanged after an error.
    void LoadFromFile(const String& FileName);
    void SaveToFile(const String& FileName);
    void Assign(TPersistent* Source) override;

    TNotifyEvent OnChange;

private:
    void Changed(TObject*);
    void Replace(TGraphic* NewGraphic);

    TGraphic* FGraphic = nullptr;
};
