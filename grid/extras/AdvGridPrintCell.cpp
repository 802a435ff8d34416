// The cell steps of the print engine: measuring what a cell prints (for the print column widths
// and row heights) and painting one row of a column band (background, text, graphic, borders).
// Both run on the engine's canvas in MM_LOMETRIC (0.1 mm, y upward: a cell's top is above its
// bottom, so Top > Bottom) and read the engine's pass and layout.
#include "AdvGrid.h"

#include "AdvGridPrintLayout.h"
#include "CellDraw.h"
#include "GridUtil.h"
#include "MarkupRender.h"
#include "Printers.h"

#include <cmath>

namespace {

// The canvas's font and brush as they were, put back however the step ends.
class TSavedFontBrush {
public:
    explicit TSavedFontBrush(TCanvas* Canvas) : FCanvas(Canvas) {
        FFont.Assign(Canvas->Font());
        FBrush.Assign(Canvas->Brush());
        FPen.Assign(Canvas->Pen());
        FMapMode = Canvas->MapMode();
    }
    ~TSavedFontBrush() {
        FCanvas->SetMapMode(FMapMode);
        FCanvas->Font()->Assign(&FFont);
        FCanvas->Brush()->Assign(&FBrush);
        FCanvas->Pen()->Assign(&FPen);
    }
    TSavedFontBrush(const TSavedFontBrush&) = delete;
    TSavedFontBrush& operator=(const TSavedFontBrush&) = delete;

private:
    TCanvas* FCanvas;
    TFont FFont;
    TBrush FBrush;
    TPen FPen;
    int FMapMode;
};

// The lines of a cell text (CR separated, a LF after a CR dropped).
std::vector<String> TextLines(String Text) {
    std::vector<String> lines;
    do {
        lines.push_back(CutFirstLine(Text, true));
    } while (!Text.isEmpty());
    return lines;
}

bool IsCheckLike(TCellType Type) {
    return Type == ctCheckBox || Type == ctDataCheckBox || Type == ctVirtCheckBox || Type == ctRowCheckBox ||
           Type == ctRadioButton;
}

// A cell's look for printing, put on the canvas: brush, font (its height in 0.1 mm through
// MapFontHeight), alignment, word wrap (the grid's, the cell's, then the word-wrap dispatcher).
struct TPrintCellLook {
    TGridDrawState State;
    TColor ColorTo = clNone, Mirror = clNone, MirrorTo = clNone;
    TAlignment HA = taLeftJustify;
    TVAlignment VA = vtaTop;
    bool WordWrap = false;
    TCellGradientDirection GD = GradientVertical;
    int PointSize = 0; // of the cell's font before the mapping
};

TPrintCellLook ApplyPrintLook(TAdvStringGrid* Grid, TCanvas* C, int DisplCol, int RealCol, int ARow) {
    TPrintCellLook l;
    l.WordWrap = Grid->WordWrap();
    Grid->GetVisualProperties(DisplCol, ARow, l.State, true, false, true, C->Brush(), l.ColorTo, l.Mirror,
                              l.MirrorTo, C->Font(), l.HA, l.VA, l.WordWrap, l.GD);
    Grid->GetCellWordWrap(RealCol, ARow, l.WordWrap);
    l.PointSize = C->Font()->Size();
    C->Font()->SetHeight(Grid->MapFontHeight(l.PointSize));
    return l;
}

// A cell value for printing: a text that is no number counts as 0 (printing raises nothing).
template <class Read> auto PrintValue(Read R) -> decltype(R()) {
    try {
        return R();
    } catch (const Exception&) {
        return {};
    }
}

} // namespace

// =============================================================================================
// Bitmap copies and the printer's rotation

void TAdvStringGrid::StretchBitmapToCanvas(TCanvas* Canvas, const TRect& R, TBitmap* Bitmap) {
    StretchBitmapRop(Canvas, R, Bitmap, SRCCOPY);
}

// The bitmap's pixels are its device-independent bits here: one image, released with it.
void TAdvStringGrid::StretchBitmapRop(TCanvas* Canvas, const TRect& R, TBitmap* Bitmap, Cardinal Rop) {
    if (!Canvas || !Bitmap || Bitmap->Empty()) return;
    StretchDIBits(Canvas, R, Bitmap->Image(), Rop);
}

int TAdvStringGrid::PrinterRotation() {
    TPrinter* p = Printer();
    return DeviceCapabilitiesW(p->PrinterName, String(), DC_ORIENTATION, nullptr, nullptr);
}

TPoint TAdvStringGrid::CalcCellGraphicPrintSize(int ACol, int ARow) {
    const TCellGraphicLayout l = GetCellGraphicLayout(ACol, ARow);
    return TPoint(l.Width, l.Height);
}

// =============================================================================================
// Measuring

TPoint TAdvStringGrid::MeasurePrintCell(int ACol, int ARow) {
    TCanvas* c = FPrintPass.Canvas;
    if (!c || !FPrintLayout) return TPoint(0, 0);
    const TPrintLayout& layout = *FPrintLayout;
    const TPrintSettings* ps = FPrintSettings.get();
    const double scale = layout.Scale;
    // A hidden column has no display index: it measures as its real column.
    const int dcol = DisplColIndex(ACol) >= 0 ? DisplColIndex(ACol) : ACol;
    TSavedFontBrush saved(c);

    // 1. The text and its kind.
    String text = IsTextlessCell(ACol, ARow) ? String() : GetFormattedCell(ACol, ARow);
    int kind = CellTextType(text, EnableHTML);

    // 3. The cell's font for printing, its height in 0.1 mm.
    const TPrintCellLook look = ApplyPrintLook(this, c, dcol, ACol, ARow);
    const bool ww = look.WordWrap;
    const int pointSize = look.PointSize;
    int angle = 0;
    const bool rotated = IsRotated(ACol, ARow, angle);
    if (rotated) c->Font()->SetOrientation(angle * -10);

    // 4. The graphic's size.
    TPoint graphic(0, 0);
    if (ps->PrintGraphics) {
        const TPoint g = GetCellGraphicSize(ACol, ARow);
        graphic = TPoint(int(std::lround(g.X * scale)), int(std::lround(g.Y * scale)));
    }

    int width = 0, height = 0;
    if (kind == ctkMarkup) {
        // 2. Markup lays out in device units, with the font of the grid's size.
        c->SetMapMode(MM_TEXT);
        c->Font()->SetHeight(-MulDiv(pointSize, c->PixelsPerInch(), 72));
        const int screenWidth = dcol >= 0 && dcol < ColCount() ? ColWidths(dcol) : DefaultColWidth();
        const int w = ps->NoAutoSize ? int(std::lround((screenWidth + 12) * FPrintPass.Zoom)) : 0xFFFF;
        THTMLDrawOptions opt;
        opt.MeasureOnly = true;
        opt.Printing = true;
        opt.ScaleFactor = FPrintPass.Zoom;
        opt.Images = GridImages();
        opt.URLColor = URLColor();
        opt.PictureCache = ImageCache();
        THTMLDrawResult res;
        DrawHTML(c, text, TRect(0, 0, w, 0xFFFF), opt, res);
        c->SetMapMode(MM_LOMETRIC);
        TPoint extent(res.TextWidth, res.TextHeight);
        DPtoLP(c, &extent, 1);
        width = extent.X;
        height = -extent.Y - int(std::lround(FPrintPass.Gap8 * scale));
    } else {
        if (kind == ctkRTF) text = RichPlainText(text);
        if (kind == ctkFormula) GetCalculatedCell(ACol, ARow, text);
        // 5. An empty cell measures as "gh", so empty columns keep a width.
        if (text.isEmpty()) text = QStringLiteral("gh");
        const bool wrapped = ww && ps->NoAutoSize && !rotated;
        int widest = 0;
        if (!wrapped) {
            const std::vector<String> lines = TextLines(text);
            for (String line : lines) {
                if (URLShow() && !URLFull()) line = StripURLScheme(line);
                widest = std::max(widest, c->TextWidth(line));
            }
            width = widest + graphic.X;
            height = c->TextHeight(QStringLiteral("gh")) * int(lines.size());
        } else {
            const int wd = IsXMergedCell(dcol, ARow) || dcol < 0 || dcol >= int(layout.MaxWidths.size())
                               ? 0xFFFF
                               : layout.MaxWidths[size_t(dcol)];
            TRect r(0, 0, wd, 50);
            Cardinal flags = DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX;
            if (UseRightToLeftAlignment()) flags |= DT_RTLREADING;
            const int h = DrawText(c, text, r, flags);
            width = r.Right;
            height = -h;
            widest = width;
        }
        // 6. A rotated text takes the box its turned lines cover.
        if (rotated) {
            const double a = angle * M_PI / 180.0;
            const int w = width, h = height;
            width = std::abs(int(std::lround(std::cos(a) * w))) + std::abs(int(std::lround(std::sin(a) * h)));
            height = std::abs(int(std::lround(std::sin(a) * widest))) +
                     std::abs(int(std::lround(std::cos(a) * h)));
        }
    }

    // 7.
    TPoint size(std::max(width, graphic.X), std::max(height, graphic.Y));
    if (OnCustomCellSize) OnCustomCellSize(this, c, ACol, ARow, size, true);
    return size;
}

// =============================================================================================
// Painting a row

int TAdvStringGrid::PrintMergedHeight(int ARow, int SpanY, int RowHeight) {
    const TPrintLayout& layout = *FPrintLayout;
    const int gap8 = FPrintPass.Gap8, spacing = FPrintSettings->RowSpacing;
    int h = RowHeight;
    for (int i = ARow + 1; i <= ARow + SpanY && i < RowCount(); ++i) {
        const int rh = int(std::trunc((RowHeights(i) - 4) * layout.Scale));
        h += rh + rh / 8 + 2 * gap8 + spacing;
    }
    return h;
}

int TAdvStringGrid::PrintSpanWidth(int FirstCol, int SpanX) const {
    const TPrintLayout& layout = *FPrintLayout;
    const int gap = layout.ColumnGap();
    int w = 0;
    for (int k = FirstCol; k <= FirstCol + SpanX; ++k)
        if (k >= 0 && k < int(layout.MaxWidths.size())) w += layout.MaxWidths[size_t(k)] + gap;
    return w;
}

int TAdvStringGrid::PaintPrintRow(int Y, int FirstCol, int LastCol, int ARow) {
    TCanvas* c = FPrintPass.Canvas;
    if (!c || !FPrintLayout) return 0;
    const TPrintLayout& layout = *FPrintLayout;
    const TPrintSettings* ps = FPrintSettings.get();
    // The fit factor scales every print font of the row; 1.0 again however the row ends.
    struct TRowScale {
        double& Factor;
        ~TRowScale() { Factor = 1.0; }
    } rowScale{Fontscalefactor};
    Fontscalefactor = layout.FitFactor;
    const int gap8 = FPrintPass.Gap8, spacing = ps->RowSpacing;
    const int rowHeight = 2 * gap8 + PrintRowHeight(ARow) + spacing;
    if (!FPrintPass.Drawing() || !PrintPageDrawn()) return rowHeight;
    const double scale = layout.Scale;
    const int W = layout.PageWidth, H = layout.PageHeight;
    auto indent = [&](int k) {
        return k >= 0 && k < int(layout.Indents.size()) ? layout.Indents[size_t(k)] : 0;
    };
    TSavedFontBrush saved(c);

    for (int col = FirstCol; col <= LastCol; ++col) {
        if (!layout.IsColPrinted(col)) continue;
        const int rc = RealColIndex(col);
        const bool base = IsBaseCell(col, ARow);
        const TPoint span = base ? CellSpan(col, ARow) : TPoint(0, 0);
        const int spanX = std::max(0, span.X), spanY = std::max(0, span.Y);
        const int cellHeight = base ? PrintMergedHeight(ARow, spanY, rowHeight) : rowHeight;

        // 1. The cell rectangle.
        TRect cell(indent(col), Y, indent(col) + PrintSpanWidth(col, spanX), Y - cellHeight);

        // 2. Border sides and pen.
        TCellBorders borders;
        switch (ps->Borders) {
            case pbSingle:
            case pbDouble: borders = {cbTop, cbLeft, cbRight, cbBottom}; break;
            case pbHorizontal:
            case pbAroundHorizontal: borders = {cbTop, cbBottom}; break;
            case pbVertical:
            case pbAroundVertical: borders = {cbLeft, cbRight}; break;
            default: break;
        }
        TPen* pen = c->Pen();
        pen->SetWidth(1);
        pen->SetStyle(ps->BorderStyle);
        pen->SetColor(ps->BorderColor);
        GetCellPrintBorder(rc, ARow, pen, borders);
        const int penWidth = pen->Width();

        if (base) PaintPrintCell(cell, col, ARow, borders, penWidth, base && (spanX > 0 || spanY > 0));

        // 9. Borders.
        TCellBorders sides = borders;
        TRect br = cell;
        if (!base) {
            const TPoint ext = CellExt(col, ARow);
            if (ext.X > 0) sides.erase(cbLeft), sides.erase(cbRight);
            if (ext.Y > 0) sides.erase(cbTop), sides.erase(cbBottom);
            const TRect area = FullCell(col, ARow);
            if (area.Bottom > area.Top && ARow == area.Bottom) sides.erase(cbTop);
            if (area.Right > area.Left && col == area.Right) sides.erase(cbLeft);
        }
        if (FPrintPass.Mode == 1) pen->SetWidth(int(std::lround(penWidth * scale)));
        if (br.Bottom < H + ps->FooterSize) {
            // The cell would reach into the footer: cut at the row, without a bottom line.
            br.Bottom = Y - rowHeight;
            sides.erase(cbBottom);
        }
        if (br.Right > W) br.Right = indent(LastCol + 1);
        c->Brush()->SetStyle(bsClear);
        const int pw = pen->Width();
        if (pen->Style() != psClear) {
            if (sides.count(cbLeft)) {
                const int x = col > FirstCol ? br.Left - pw : br.Left;
                c->MoveTo(x, br.Top);
                c->LineTo(x, br.Bottom);
            }
            if (sides.count(cbRight)) {
                c->MoveTo(br.Right, br.Top);
                c->LineTo(br.Right, br.Bottom);
            }
            if (sides.count(cbTop)) {
                c->MoveTo(br.Left, br.Top);
                c->LineTo(br.Right, br.Top);
            }
            if (sides.count(cbBottom)) {
                c->MoveTo(br.Left, br.Bottom);
                c->LineTo(br.Right, br.Bottom);
            }
        }
        c->Pen()->SetWidth(1);
    }
    return rowHeight;
}

// Steps 3 to 8 of a printed cell: background, text and graphic of the base cell in Cell.
void TAdvStringGrid::PaintPrintCell(const TRect& Cell, int DisplCol, int ARow, const TCellBorders& Borders,
                                    int PenWidth, bool Merged) {
    TCanvas* c = FPrintPass.Canvas;
    const TPrintLayout& layout = *FPrintLayout;
    const TPrintSettings* ps = FPrintSettings.get();
    const double scale = layout.Scale;
    const int gap8 = FPrintPass.Gap8, halfG = FPrintPass.HalfG, spacing = ps->RowSpacing;
    const int rc = RealColIndex(DisplCol);
    TSavedFontBrush saved(c);

    // 3. Visual properties, font in 0.1 mm, text colour.
    TPrintCellLook look = ApplyPrintLook(this, c, DisplCol, rc, ARow);
    const TAlignment ha = look.HA;
    const TVAlignment va = look.VA;
    const bool ww = look.WordWrap;
    const int pointSize = look.PointSize;
    const TColor colorTo = look.ColorTo;
    TGridDrawState& state = look.State;
    c->SetTextColor(ColorToRGB(c->Font()->Color()));

    // The background, moved in where no line borders it on the left or at the top.
    TRect bg = Cell;
    if (!Borders.count(cbLeft)) bg.Left += 2 * PenWidth;
    if (!Borders.count(cbTop)) bg.Top -= 2 * PenWidth;
    const TColor from = c->Brush()->Color();
    if (from != clNone) {
        // The brush colour at the top (vertical) or on the left, as on screen.
        const bool horizontal = look.GD == GradientHorizontal;
        if (horizontal || colorTo == clNone)
            DrawStepGradient(c, from, colorTo, horizontal, bg, 64);
        else
            DrawStepGradient(c, colorTo, from, false, bg, 64);
    }

    // 4. Text and line measures.
    String text = IsTextlessCell(rc, ARow) ? String() : GetFormattedCell(rc, ARow);
    int kind = CellTextType(text, EnableHTML);
    if (kind == ctkFormula) {
        GetCalculatedCell(rc, ARow, text);
        kind = CellTextType(text, EnableHTML);
    }
    int lh = c->TextHeight(QStringLiteral("gh")) + spacing;
    lh += lh / 8;
    int angle = 0;
    const bool rotated = IsRotated(rc, ARow, angle);
    if (rotated) {
        const bool fix = PrinterDriverFix && FPrintPass.Mode == 1 && PrinterRotation() == 270;
        c->Font()->SetOrientation(angle * (fix ? 10 : -10));
    }
    std::vector<String> lines = TextLines(text);
    if (URLShow() && !URLFull())
        for (String& l : lines) l = StripURLScheme(l);
    int widest = 0;
    for (const String& l : lines) widest = std::max(widest, c->TextWidth(l));

    // 5. The graphic's place; the text keeps out of its way.
    TRect tr = Cell;
    TRect gr;
    TCellGraphic* graphic = ps->PrintGraphics ? GetCellGraphic(rc, ARow) : nullptr;
    if (graphic) {
        const TPoint size = CalcCellGraphicPrintSize(rc, ARow);
        int gw = int(std::lround(size.X * scale)), gh = int(std::lround(size.Y * scale));
        const int cw = Cell.Right - Cell.Left, ch = Cell.Top - Cell.Bottom;
        TCellHAlign gha = graphic->CellHAlign;
        if (IsCheckLike(graphic->CellType) && text.isEmpty())
            gha = ha == taRightJustify ? haRight : ha == taCenter ? haCenter : haLeft;
        int gx = Cell.Left;
        switch (gha) {
            case haLeft:
            case haBeforeText:
                gx = Cell.Left + int(std::lround(scale));
                tr.Left = gx + gw;
                break;
            case haRight:
            case haAfterText:
                gx = Cell.Right - gw;
                tr.Right = gx;
                break;
            case haCenter: gx = Cell.Left + (cw - gw) / 2; break;
            case haFull:
                gx = Cell.Left;
                gw = cw;
                break;
        }
        int gy = Cell.Top;
        switch (graphic->CellVAlign) {
            case vaTop: gy = Cell.Top; break;
            case vaBottom: gy = Cell.Bottom + gh; break;
            case vaCenter: gy = Cell.Top - (ch - gh) / 2; break;
            case vaUnderText:
                gy = Cell.Bottom + gh;
                tr.Bottom = gy;
                break;
            case vaAboveText:
                gy = Cell.Top;
                tr.Top = gy - gh;
                break;
            case vaFull:
                gy = Cell.Top;
                gh = ch;
                break;
        }
        gr = TRect(gx, gy, gx + gw, gy - gh);
        if (graphic->CellType == ctRadio) text.clear(), lines = {String()};
    }

    // 6. The text, over a clear brush.
    c->Brush()->SetStyle(bsClear);
    const bool hasText = !text.isEmpty();
    if (hasText && kind == ctkMarkup) {
        TRect mr(tr.Left, tr.Top, tr.Right - (halfG + int(std::lround(2 * scale))), tr.Bottom);
        mr = c->LPtoDP(mr);
        mr.Bottom += int(std::lround(gap8 * scale));
        c->SetMapMode(MM_TEXT);
        c->Font()->SetHeight(-MulDiv(int(std::trunc(pointSize * layout.FitFactor)), c->PixelsPerInch(), 72));
        THTMLDrawOptions opt;
        opt.Printing = true;
        opt.ScaleFactor = FPrintPass.Zoom;
        opt.Images = GridImages();
        opt.URLColor = URLColor();
        opt.PictureCache = ImageCache();
        THTMLDrawResult res;
        DrawHTML(c, text, mr, opt, res);
        c->SetMapMode(MM_LOMETRIC);
    } else if (hasText && kind == ctkRTF) {
        DrawRichCell(rc, ARow, tr, c);
    } else if (hasText && ww && ps->NoAutoSize && !rotated) {
        TRect r = tr;
        if (r.Right > layout.PageWidth) r.Right = layout.PageWidth;
        Cardinal flags = DT_WORDBREAK | DT_EXPANDTABS | DT_NOPREFIX | DT_EDITCONTROL;
        if (ha == taRightJustify) flags |= DT_RIGHT, r.Right -= halfG;
        if (ha == taCenter) flags |= DT_CENTER, r.Right -= halfG, r.Left += halfG;
        r.Left += int(std::lround(2 * scale));
        DrawText(c, text, r, flags);
    } else if (hasText && lines.size() <= 1) {
        TRect r = tr;
        r.Bottom -= spacing;
        if (rotated) {
            const double a = angle * M_PI / 180.0;
            // Inset by HalfG at the top and the bottom (y runs upward), so the turned text stays
            // inside its row.
            const TRect inset(r.Left, r.Top - halfG, r.Right, r.Bottom + halfG);
            TRect ar = inset;
            const int A = std::abs(int(std::trunc(std::cos(a) * widest)));
            const int B = std::abs(int(std::trunc(std::sin(a) * lh)));
            const int C = -std::abs(int(std::trunc(std::sin(a) * widest)));
            const int D = -std::abs(int(std::trunc(std::cos(a) * lh)));
            AlignRotatedText(ar, ha, va, angle, A, B, C, D);
            c->TextRect(Cell, ar.Left, ar.Top, lines.front());
        } else if (EnhTextSize && ps->NoAutoSize) {
            Cardinal flags = DT_SINGLELINE | DT_NOPREFIX | DT_EDITCONTROL | DT_END_ELLIPSIS;
            if (ha == taRightJustify) flags |= DT_RIGHT;
            if (ha == taCenter) flags |= DT_CENTER;
            r.Left += XYOffset.X;
            r.Top += XYOffset.Y;
            DrawText(c, lines.front(), r, flags);
        } else {
            Cardinal flags = DT_SINGLELINE | DT_NOPREFIX | DT_EDITCONTROL;
            if (ha == taRightJustify) flags |= DT_RIGHT, r.Right -= halfG;
            if (ha == taCenter) flags |= DT_CENTER, r.Right -= halfG, r.Left += halfG;
            if (ha == taLeftJustify) r.Left += halfG;
            if (va == vtaCenter) flags |= DT_VCENTER;
            if (va == vtaBottom) flags |= DT_BOTTOM;
            r.Top -= gap8;
            DrawText(c, lines.front(), r, flags);
        }
    } else if (hasText) {
        const int step = lh - spacing;
        const int ch = tr.Top - tr.Bottom, block = step * int(lines.size());
        int offset = 0;
        if (!Merged && va == vtaCenter) offset = (ch - block) / 2;
        if (!Merged && va == vtaBottom) offset = ch - block;
        int y = tr.Top - offset - gap8;
        for (const String& l : lines) {
            const int w = c->TextWidth(l);
            int x = tr.Left + halfG;
            if (ha == taRightJustify) x = tr.Right - halfG - w;
            if (ha == taCenter) x = tr.Left + (tr.Right - tr.Left - w) / 2;
            c->TextRect(Cell, x, y, l);
            y -= step;
        }
    }
    c->Font()->SetOrientation(0);

    // 7. The graphic.
    if (graphic) PaintPrintGraphic(gr, Cell, graphic, rc, ARow);

    // 8. Font and brush go back with the saved state; the drawing event sees device units.
    if (OnCustomCellDraw) {
        TRect dr = c->DeviceRect(Cell);
        c->SetMapMode(MM_TEXT);
        c->Font()->SetHeight(-MulDiv(Font()->Size(), c->PixelsPerInch(), 72));
        OnCustomCellDraw(this, c, rc, ARow, state, dr, true);
        c->SetMapMode(MM_LOMETRIC);
    }
}

namespace {

// A picture in a 24-bit bitmap of its size on white, stretched into R.
void StretchGraphic(TCanvas* Canvas, const TRect& R, TGraphic* Graphic) {
    if (!Graphic || Graphic->Empty()) return;
    TBitmap bmp(Graphic->Width(), Graphic->Height());
    bmp.SetPixelFormat(pf24bit);
    bmp.Canvas()->Brush()->SetColor(clWhite);
    bmp.Canvas()->FillRect(TRect(0, 0, bmp.Width(), bmp.Height()));
    Graphic->Draw(bmp.Canvas(), TRect(0, 0, bmp.Width(), bmp.Height()));
    TAdvStringGrid::StretchBitmapToCanvas(Canvas, R, &bmp);
}

} // namespace

// Step 7: the cell's graphic in its printed rectangle R (logical, Top > Bottom).
void TAdvStringGrid::PaintPrintGraphic(const TRect& R, const TRect& Cell, TCellGraphic* Graphic, int ACol,
                                       int ARow) {
    TCanvas* c = FPrintPass.Canvas;
    const double scale = FPrintLayout->Scale;
    const TColor paper = c->Brush()->Color() == clNone ? clWhite : c->Brush()->Color();
    // A picture the screen routines draw, made at its screen size and stretched into R.
    auto viaBitmap = [&](const TRect& Dest, int Width, int Height, auto Paint) {
        if (Width <= 0 || Height <= 0 || Width > 4096 || Height > 4096) return;
        TBitmap bmp(Width, Height);
        bmp.SetPixelFormat(pf24bit);
        bmp.Canvas()->Brush()->SetColor(paper);
        bmp.Canvas()->FillRect(TRect(0, 0, Width, Height));
        Paint(bmp.Canvas(), TRect(0, 0, Width, Height));
        StretchBitmapToCanvas(c, Dest, &bmp);
    };
    auto screenSize = [&](const TRect& Dest) {
        return TPoint(std::max(1, int(std::lround((Dest.Right - Dest.Left) / scale))),
                      std::max(1, int(std::lround((Dest.Top - Dest.Bottom) / scale))));
    };
    TCustomImageList* images = GetCellImageList(ACol, ARow);
    auto drawImage = [&](const TRect& Dest, int Index) {
        if (!images || Index < 0 || Index >= images->Count()) return;
        viaBitmap(Dest, images->Width(), images->Height(),
                  [&](TCanvas* bc, const TRect&) { images->Draw(bc, 0, 0, Index); });
    };
    switch (Graphic->CellType) {
        case ctBitmap:
            if (auto* b = dynamic_cast<TBitmap*>(Graphic->CellBitmap)) StretchBitmapToCanvas(c, R, b);
            break;
        case ctIcon:
            if (auto* i = dynamic_cast<TIcon*>(Graphic->CellIcon); i && !i->Empty()) {
                StretchDIBits(c, R, i->MaskImage(), SRCCOPY);
                StretchDIBits(c, R, i->ColorImage(), SRCINVERT);
            }
            break;
        case ctImageList: drawImage(R, Graphic->CellIndex); break;
        case ctDataImage:
            drawImage(R, PrintValue([&] { return GetInts(ACol, ARow); }) + Graphic->CellIndex);
            break;
        case ctCheckBox:
        case ctDataCheckBox:
        case ctVirtCheckBox:
        case ctRowCheckBox: {
            bool checked = Graphic->CellBoolean;
            if (Graphic->CellType == ctDataCheckBox || Graphic->CellType == ctVirtCheckBox) {
                String checkTrue;
                GetCheckTrue(ACol, ARow, checkTrue);
                checked = Cells(ACol, ARow) == checkTrue;
            }
            const int side = int(std::lround(FControlLook->CheckSize() * scale));
            TRect box(R.Left, R.Top, R.Left + side, R.Top - side);
            Cardinal state = DFCS_BUTTONCHECK;
            if (checked) state |= DFCS_CHECKED;
            if (FControlLook->ControlStyle() == csFlat) state |= DFCS_FLAT;
            DrawFrameControl(c, box, DFC_BUTTON, state);
            break;
        }
        case ctNode: {
            c->Pen()->SetWidth(1);
            c->Pen()->SetStyle(psSolid);
            c->Pen()->SetColor(CellNode()->NodeColor());
            c->Brush()->SetStyle(bsClear);
            const int l = R.Left, t = R.Top;
            c->Rectangle(l, t, l + 20, t - 20);
            c->MoveTo(l + 4, t - 10);
            c->LineTo(l + 16, t - 10);
            if (Graphic->CellBoolean) {
                c->MoveTo(l + 10, t - 4);
                c->LineTo(l + 10, t - 16);
            }
            break;
        }
        case ctRadio:
            if (TStrings* items = GetRadioStrings(ACol, ARow)) {
                const TPoint s = screenSize(Cell);
                viaBitmap(Cell, s.X, s.Y, [&](TCanvas* bc, const TRect& r) {
                    DrawRadio(bc, r, false, 1, FControlLook->ControlStyle(), ARow, ACol, false, items, false,
                              Graphic->CellBoolean, Graphic->CellIndex, items->Count());
                });
            }
            break;
        case ctImages:
            if (auto* list = dynamic_cast<TIntList*>(Graphic->CellBitmap); list && images) {
                const int iw = int(std::lround(images->Width() * scale)),
                          ih = int(std::lround(images->Height() * scale));
                int x = R.Left, y = R.Top;
                for (int i = 0; i < list->Count(); ++i) {
                    drawImage(TRect(x, y, x + iw, y - ih), list->Items(i));
                    if (Graphic->CellBoolean)
                        x += iw;
                    else
                        y -= ih;
                }
            }
            break;
        case ctPicture:
            if (auto* p = dynamic_cast<TPicture*>(Graphic->CellBitmap)) StretchGraphic(c, R, p->Graphic());
            break;
        case ctFilePicture:
            if (auto* fp = dynamic_cast<TFilePicture*>(Graphic->CellBitmap);
                fp && !fp->Filename().isEmpty()) {
                // Read anew for every print; a file that cannot be read prints nothing.
                TPicture pic;
                try {
                    pic.LoadFromFile(fp->Filename());
                } catch (const Exception&) {
                    break;
                }
                StretchGraphic(c, R, pic.Graphic());
            }
            break;
        case ctProgress: {
            TRect pr(Cell.Left, Cell.Top - int(std::lround(2 * scale)), Cell.Right,
                     Cell.Bottom + int(std::lround(4 * scale)));
            const TPoint s = screenSize(pr);
            const double value = PrintValue([&] { return GetFloats(ACol, ARow); });
            viaBitmap(pr, s.X, s.Y, [&](TCanvas* bc, const TRect& r) {
                const TColor done = Graphic->CellBitmapColor, remaining = Graphic->CellIconColor;
                const TColor doneText =
                    Graphic->CellBoolean ? TColor(Graphic->CellIndex) : TColor(ColorToRGB(done) ^ 0xFFFFFF);
                const TColor remainingText = Graphic->CellBoolean ? TColor(Graphic->CellAngle)
                                                                  : TColor(ColorToRGB(remaining) ^ 0xFFFFFF);
                DrawProgressBar(bc, r, done, true, FControlLook->ProgressBorderColor(), Graphic->CellText,
                                Graphic->CellErrLen, Graphic->CellErrFrom, FControlLook->ProgressMarginY(),
                                FControlLook->ProgressMarginX(), value, remainingText, remaining, doneText);
            });
            break;
        }
        case ctProgressPie: {
            const TPoint s = screenSize(R);
            viaBitmap(R, s.X, s.Y, [&](TCanvas* bc, const TRect& r) {
                DrawProgressPie(bc, r, Graphic->CellBitmapColor, true, Graphic->CellAngle);
            });
            break;
        }
        case ctInterface:
            if (auto* obj = dynamic_cast<IGridCellObject*>(Graphic->CellBitmap)) {
                const TPoint e = obj->GetExtent();
                const TPoint s = e.X > 0 && e.Y > 0 ? e : screenSize(R);
                viaBitmap(R, s.X, s.Y,
                          [&](TCanvas* bc, const TRect& r) { obj->Draw(bc, r, this, false, ARow, ACol); });
            }
            break;
        default: break;
    }
}
