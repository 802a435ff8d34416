// TAdvStringGrid: painting the graphic a cell carries (TCellGraphic) beside its text: its size and
// place in the cell, the painter of every kind, check boxes and radio buttons in the seven control
// styles with the built-in glyphs, the tree-node buttons, cell buttons, the sort indicator, RTF
// cells, the background picture or gradient of the cells and the empty area beyond the last
// column and row. The cell painter calls these while it paints a cell; nothing here keeps state.
#include "AdvGrid.h"

#include "AdvDropDownDraw.h"
#include "AdvXPVS.h"
#include "CellDraw.h"
#include "GridUtil.h"
#include "ImgList.h"
#include "OSInfo.h"
#include "SysUtils.h"

#include <algorithm>
#include <cmath>
#include <memory>
#include <vector>

namespace {

struct TFreeObject {
    void operator()(TObject* O) const { TObject::Free(O); }
};
template <class T> using TTemp = std::unique_ptr<T, TFreeObject>;

bool IsCheckOrRadio(TCellType T) {
    return T == ctCheckBox || T == ctDataCheckBox || T == ctVirtCheckBox || T == ctRowCheckBox ||
           T == ctRadioButton || T == ctTriStateCheckBox;
}

// Check boxes whose text is their state: they stand alone in their cell.
bool IsDataCheck(TCellType T) {
    return T == ctDataCheckBox || T == ctVirtCheckBox || T == ctRowCheckBox;
}

// A built-in glyph drawn with its bottom-left pixel's colour left out. A missing resource draws
// nothing. The bitmap is loaded for this drawing only.
void DrawGlyphResource(TCanvas* Canvas, int X, int Y, const char* Name) {
    TTemp<TBitmap> bmp(new TBitmap);
    try {
        bmp->LoadFromResourceName(QString::fromLatin1(Name));
    } catch (const Exception&) {
        return;
    }
    bmp->SetTransparent(true);
    Canvas->Draw(X, Y, bmp.get());
}

// A bitmap drawn transparent (its bottom-left pixel's colour, or its fixed key) without changing
// the caller's bitmap; an empty one draws nothing.
void DrawTransparentAt(TCanvas* Canvas, int X, int Y, TBitmap* Bitmap) {
    if (!Bitmap || Bitmap->Empty()) return;
    const bool was = Bitmap->Transparent();
    Bitmap->SetTransparent(true);
    Canvas->Draw(X, Y, Bitmap);
    Bitmap->SetTransparent(was);
}

// A theme part through the grid's visual-styles binding, only while visual styles are active.
bool DrawThemePart(TCanvas* Canvas, HWND Handle, const char16_t* Class, int Part, int State, const TRect& R) {
    return DrawThemed(Canvas, Handle, reinterpret_cast<LPCWSTR>(Class), Part, State, R);
}

// Copies the part of Source (placed with its top-left corner at Origin) that falls into Dest.
void CopyPictureInto(TCanvas* Canvas, TBitmap* Source, TPoint Origin, const TRect& Dest) {
    const TRect pic(Origin.X, Origin.Y, Origin.X + Source->Width(), Origin.Y + Source->Height());
    const TRect part(std::max(pic.Left, Dest.Left), std::max(pic.Top, Dest.Top),
                     std::min(pic.Right, Dest.Right), std::min(pic.Bottom, Dest.Bottom));
    if (part.Left >= part.Right || part.Top >= part.Bottom) return;
    Canvas->CopyRect(
        part, Source->Canvas(),
        TRect(part.Left - Origin.X, part.Top - Origin.Y, part.Right - Origin.X, part.Bottom - Origin.Y));
}

// Tiles Source over Dest, the tiles' grid passing through Origin; only the part of each tile
// inside Dest is copied.
void TilePictureInto(TCanvas* Canvas, TBitmap* Source, TPoint Origin, const TRect& Dest) {
    const int w = Source->Width(), h = Source->Height();
    if (w <= 0 || h <= 0 || Dest.Left >= Dest.Right || Dest.Top >= Dest.Bottom) return;
    auto floorStart = [](int From, int Origin, int Size) {
        const int d = From - Origin;
        const int q = d >= 0 ? d / Size : -((-d + Size - 1) / Size);
        return Origin + q * Size;
    };
    for (int y = floorStart(Dest.Top, Origin.Y, h); y < Dest.Bottom; y += h)
        for (int x = floorStart(Dest.Left, Origin.X, w); x < Dest.Right; x += w)
            CopyPictureInto(Canvas, Source, TPoint(x, y), Dest);
}

} // namespace

// =============================================================================================
// Layout

TAdvStringGrid::TCellGraphicLayout TAdvStringGrid::GetCellGraphicLayout(int ACol, int ARow) {
    TCellGraphicLayout l;
    TCellGraphic* g = GetCellGraphic(ACol, ARow);
    if (!g) return l;
    l.Graphic = g;
    l.HAlign = g->CellHAlign;
    l.VAlign = g->CellVAlign;
    const int check = FControlLook->CheckSize();
    switch (g->CellType) {
        case ctBitmap:
            if (auto* b = dynamic_cast<TBitmap*>(g->CellBitmap)) l.Width = b->Width(), l.Height = b->Height();
            break;
        case ctIcon:
            if (auto* i = dynamic_cast<TIcon*>(g->CellIcon)) l.Width = i->Width(), l.Height = i->Height();
            break;
        case ctImageList:
        case ctDataImage:
            if (TCustomImageList* images = GetCellImageList(ACol, ARow))
                l.Width = images->Width(), l.Height = images->Height();
            l.DrawText = g->CellType == ctImageList;
            break;
        case ctCheckBox:
        case ctTriStateCheckBox: l.Width = l.Height = check; break;
        case ctDataCheckBox:
        case ctVirtCheckBox:
        case ctRowCheckBox:
            l.Width = l.Height = check;
            l.DrawText = false;
            break;
        case ctRotated:
        case ctRadio:
        case ctProgress:
        case ctRangeIndicator:
        case ctXPProgress: l.DrawText = false; break;
        case ctImages: {
            auto* list = dynamic_cast<TIntList*>(g->CellBitmap);
            TCustomImageList* images = GetCellImageList(ACol, ARow);
            if (list && images) {
                const int n = list->Count();
                if (g->CellBoolean)
                    l.Width = n * images->Width(), l.Height = images->Height();
                else
                    l.Width = images->Width(), l.Height = n * images->Height();
            }
            break;
        }
        case ctPicture:
        case ctFilePicture: {
            const int dc = DisplColIndex(ACol);
            const TPoint s = g->GetPictureSize(dc >= 0 && dc < ColCount() ? ColWidths(dc) : 0,
                                               ARow >= 0 && ARow < RowCount() ? RowHeights(ARow) : 0,
                                               !Cells(ACol, ARow).isEmpty());
            l.Width = s.X;
            l.Height = s.Y;
            break;
        }
        case ctButton:
        case ctBitButton:
            l.Width = g->CellIndex & 0xFFFF;
            l.Height = (g->CellIndex >> 16) & 0xFFFF;
            break;
        case ctProgressPie: l.Width = l.Height = 20; break;
        case ctInterface:
            if (auto* cell = dynamic_cast<IGridCellObject*>(g->CellBitmap)) {
                const TPoint e = cell->GetExtent();
                l.Width = e.X;
                l.Height = e.Y;
            }
            break;
        case ctRadioButton: l.Width = l.Height = FControlLook->RadioSize() + 4; break;
        case ctShape:
            l.Width = l.Height =
                (ARow >= 0 && ARow < RowCount() ? RowHeights(ARow) : DefaultRowHeight()) - 2 * XYOffset.Y;
            break;
        case ctRating:
            l.Width = g->CellAngle * 18;
            l.Height = 16;
            l.DrawText = false;
            break;
        default: break;
    }
    return l;
}

// =============================================================================================
// The graphic painter

namespace {

// A cell value for painting: a text that is no number counts as 0 (painting raises nothing).
template <class Read> auto PaintValue(Read R) -> decltype(R()) {
    try {
        return R();
    } catch (const Exception&) {
        return {};
    }
}

} // namespace

void TAdvStringGrid::DrawCellGraphic(TRect& R, TCellGraphic* Graphic, TVAlignment CellVAlign,
                                     const TCellPaintContext& Ctx) {
    TCanvas* c = Ctx.Canvas;
    if (!Graphic || !c) return;
    const TCellType type = Graphic->CellType;
    const int col = Ctx.RealCol, row = Ctx.Row;
    const TRect cell = R;

    if (type != ctNode && type != ctProgress && type != ctRangeIndicator && type != ctXPProgress) {
        R.Left += XYOffset.X - 1;
        R.Right -= XYOffset.X - 1;
        R.Top += XYOffset.Y - 1;
        R.Bottom -= XYOffset.Y - 1;
    }
    const int textWidth = Ctx.TextWidth > 0 ? Ctx.TextWidth + 2 : Ctx.TextWidth;
    const TCellGraphicLayout layout = GetCellGraphicLayout(col, row);
    const int W = layout.Width, H = layout.Height;
    const int width = R.Right - R.Left, height = R.Bottom - R.Top;

    // Horizontal place.
    int x = R.Left + 1;
    int right = x + W;
    switch (Graphic->CellHAlign) {
        case haLeft: break;
        case haRight: x = R.Right - 1 - W; break;
        case haCenter: x = W < width ? R.Left + (width - W) / 2 : R.Left + 1; break;
        case haBeforeText:
            if (Ctx.HAlign == taRightJustify)
                x = R.Right - textWidth - W;
            else if (Ctx.HAlign == taCenter)
                x = R.Left + (width - textWidth - W) / 2;
            x = std::max(x, R.Left + 1);
            break;
        case haAfterText:
            if (Ctx.HAlign == taLeftJustify)
                x = R.Left + textWidth;
            else if (Ctx.HAlign == taRightJustify)
                x = R.Right - 1 - W;
            else
                x = R.Left + textWidth + (width - textWidth - W) / 2;
            x = std::max(x, R.Left + 1);
            break;
        case haFull: x = R.Left; break;
    }
    right = Graphic->CellHAlign == haFull ? R.Right : x + W;

    // Check boxes follow the cell's own vertical alignment where it differs from the grid's.
    TCellVAlign va = Graphic->CellVAlign;
    if (IsCheckOrRadio(type) && CellVAlign != FVAlignment)
        va = CellVAlign == vtaCenter ? vaCenter : CellVAlign == vtaBottom ? vaBottom : vaTop;
    int y = R.Top + 1;
    int bottom;
    switch (va) {
        case vaBottom: y = R.Bottom - 1 - H; break;
        case vaCenter: y = H < height ? R.Top + (height - H) / 2 : R.Top + 1; break;
        case vaUnderText: y = R.Bottom - H; break;
        case vaFull: y = R.Top; break;
        default: break;
    }
    bottom = va == vaFull ? R.Bottom : y + H;

    // Check boxes and radio buttons stand by the text's alignment instead.
    if (IsCheckOrRadio(type)) {
        const bool withText = !IsDataCheck(type) && textWidth > 0;
        if (Ctx.HAlign == taRightJustify) {
            x = R.Right - 1 - W;
            if (!IsDataCheck(type)) x -= textWidth;
        } else if (Ctx.HAlign == taCenter) {
            x = withText ? R.Left + std::max(0, width - textWidth) / 2 - W
                         : R.Left + std::max(0, width - W) / 2;
        } else {
            x = R.Left + 1;
        }
        x = std::max(x, R.Left + 1);
        right = x + W;
    }
    TRect g(x, y, right, bottom);

    bool canEdit = true;
    if (IsCheckOrRadio(type) || type == ctRadio || type == ctButton || type == ctBitButton ||
        type == ctExpand)
        QueryCanEdit(col, row, canEdit);

    switch (type) {
        case ctBitmap:
            if (auto* b = dynamic_cast<TBitmap*>(Graphic->CellBitmap); b && !b->Empty()) {
                if (Graphic->CellTransparent)
                    DrawTransparentAt(c, g.Left, g.Top, b);
                else
                    c->Draw(g.Left, g.Top, b);
            }
            break;
        case ctIcon:
            if (auto* i = dynamic_cast<TIcon*>(Graphic->CellIcon); i && !i->Empty())
                c->Draw(g.Left, g.Top, i);
            break;
        case ctImageList:
            if (TCustomImageList* images = GetCellImageList(col, row))
                images->Draw(c, g.Left, g.Top, Graphic->CellIndex);
            break;
        case ctDataImage:
            if (TCustomImageList* images = GetCellImageList(col, row)) {
                // A text that is no number names no image.
                int value = 0;
                try {
                    value = GetInts(col, row);
                } catch (const Exception&) {
                    break;
                }
                const int idx = value + Graphic->CellIndex;
                if (idx >= 0 && idx < images->Count()) images->Draw(c, g.Left, g.Top, idx);
            }
            break;
        case ctImages:
            if (auto* list = dynamic_cast<TIntList*>(Graphic->CellBitmap)) {
                TCustomImageList* images = GetCellImageList(col, row);
                if (!images) break;
                int px = g.Left, py = g.Top;
                for (int i = 0; i < list->Count(); ++i) {
                    images->Draw(c, px, py, list->Items(i));
                    if (Graphic->CellBoolean)
                        px += images->Width();
                    else
                        py += images->Height();
                }
            }
            break;
        case ctPicture:
            if (auto* p = dynamic_cast<TPicture*>(Graphic->CellBitmap);
                p && p->Graphic() && !p->Graphic()->Empty()) {
                if (Graphic->CellAngle != 0)
                    c->StretchDraw(g, p->Graphic());
                else
                    c->Draw(g.Left, g.Top, p->Graphic());
            }
            break;
        case ctFilePicture:
            if (auto* p = dynamic_cast<TFilePicture*>(Graphic->CellBitmap)) p->DrawPicture(c, g);
            break;
        case ctCheckBox:
        case ctRowCheckBox:
            DrawCheck(c, g, Graphic->CellBoolean, cbUnchecked, false, FControlLook->ControlStyle(),
                      Graphic->CellAngle > 0, canEdit);
            break;
        case ctDataCheckBox:
        case ctVirtCheckBox: {
            String checkTrue;
            GetCheckTrue(col, row, checkTrue);
            DrawCheck(c, g, Cells(col, row) == checkTrue, cbUnchecked, false, FControlLook->ControlStyle(),
                      false, canEdit);
            break;
        }
        case ctTriStateCheckBox:
            DrawCheck(c, g, false, Graphic->CellCheckBoxState, true, FControlLook->ControlStyle(),
                      Graphic->CellAngle > 0, canEdit);
            break;
        case ctRadioButton: {
            const int rs = FControlLook->RadioSize();
            g.Left += XYOffset.X;
            g.Right = g.Left + rs;
            g.Bottom = g.Top + rs;
            DrawRadio(c, g, false, 1, FControlLook->ControlStyle(), row, col,
                      Ctx.State.count(gdSelected) != 0, nullptr, !canEdit, false,
                      Graphic->CellBoolean ? 0 : -1, 1);
            break;
        }
        case ctRadio:
            if (TStrings* items = GetRadioStrings(col, row)) {
                g = cell;
                DrawRadio(c, g, false, 1, FControlLook->ControlStyle(), row, col,
                          Ctx.State.count(gdSelected) != 0, items, !canEdit, Graphic->CellBoolean,
                          Graphic->CellIndex, items->Count());
            }
            break;
        case ctRotated: {
            const String text = Cells(col, row);
            TAlignment ha = taLeftJustify;
            TVAlignment tva = vtaTop;
            GetAlignment(col, row, ha, tva);
            TRect origin = cell;
            PlaceRotatedText(origin, Graphic->CellAngle, text, ha, tva);
            TTemp<TFont> saved(new TFont);
            saved->Assign(c->Font());
            c->Font()->SetOrientation(Graphic->CellAngle * 10);
            const int bk = c->SetBkMode(TRANSPARENT);
            c->Brush()->SetStyle(bsClear);
            const TRect clip(cell.Left + 2, cell.Top + 2, cell.Right - 2, cell.Bottom - 2);
            c->TextRect(clip, origin.Left, origin.Top, text);
            c->Font()->Assign(saved.get());
            c->Brush()->SetStyle(bsSolid);
            c->SetBkMode(bk);
            if (ShowsSortIndicator(col, row)) DrawSortIndicator(c, col, cell.Right - 10, cell.Top + 8);
            break;
        }
        case ctNode: DrawNodeButton(c, g, Graphic, col, row, Ctx.State); break;
        case ctProgress: DrawProgressCell(c, cell, Graphic, col, row); break;
        case ctComment: {
            const TColor mark =
                Graphic->CellIndex != int(clNone) ? TColor(Graphic->CellIndex) : FControlLook->CommentColor();
            if (FControlLook->CommentColor() == clNone || mark == clNone) break;
            c->Brush()->SetColor(mark);
            c->Brush()->SetStyle(bsSolid);
            c->Pen()->SetColor(mark);
            c->Polygon({TPoint(cell.Right - 7, cell.Top), TPoint(cell.Right - 2, cell.Top),
                        TPoint(cell.Right - 2, cell.Top + 5)});
            c->Brush()->SetColor(Color());
            break;
        }
        case ctButton:
        case ctBitButton:
        case ctExpand: DrawCellButton(c, cell, g, Graphic, canEdit); break;
        case ctProgressPie:
            DrawProgressPie(c, TRect(g.Left, g.Top, g.Left + 20, g.Top + 20), Graphic->CellBitmapColor, false,
                            Graphic->CellAngle);
            break;
        case ctRangeIndicator: {
            const TRect b(
                cell.Left + FControlLook->ProgressMarginX(), cell.Top + FControlLook->ProgressMarginY(),
                cell.Right - FControlLook->ProgressMarginX(), cell.Bottom - FControlLook->ProgressMarginY());
            DrawPosNegBar(c, b, PaintValue([&] { return GetInts(col, row); }), Graphic->CellIconColor,
                          Graphic->CellBitmapColor, Graphic->CellBoolean, Graphic->CellIndex);
            break;
        }
        case ctXPProgress: {
            const TGridProgressAppearance* a = FProgressAppearance.get();
            TLevelProgress lp;
            lp.Level0Color = a->Level0Color();
            lp.Level0ColorTo = a->Level0ColorTo();
            lp.Level1Color = a->Level1Color();
            lp.Level1ColorTo = a->Level1ColorTo();
            lp.Level2Color = a->Level2Color();
            lp.Level2ColorTo = a->Level2ColorTo();
            lp.Level3Color = a->Level3Color();
            lp.Level3ColorTo = a->Level3ColorTo();
            lp.Level1Perc = a->Level1Perc();
            lp.Level2Perc = a->Level2Perc();
            lp.ShowBorder = a->ShowBorder();
            lp.BorderColor = a->BorderColor();
            lp.Stacked = a->Stacked();
            lp.ShowPercentage = a->ShowPercentage();
            lp.CompletionSmooth = a->CompletionSmooth();
            lp.ShowGradient = a->ShowGradient();
            lp.Font = Font();
            lp.CompleteFontColor = a->CompleteFontColor();
            lp.Steps = a->Steps();
            lp.BackgroundColor = a->UnCompleteColor() == clNone ? c->Brush()->Color() : a->UnCompleteColor();
            const TRect b(cell.Left + FControlLook->ProgressMarginX(),
                          cell.Top + FControlLook->ProgressMarginY(),
                          cell.Right - FControlLook->ProgressMarginX() - 1,
                          cell.Bottom - FControlLook->ProgressMarginY() - 1);
            DrawLevelProgressBar(
                c, b, XPProgressPercentage(Graphic, PaintValue([&] { return GetInts(col, row); })), lp);
            break;
        }
        case ctInterface:
            if (auto* obj = dynamic_cast<IGridCellObject*>(Graphic->CellBitmap); obj && !obj->IsBackground())
                obj->Draw(c, TRect(cell.Left - 1, cell.Top - 1, cell.Right, cell.Bottom), this,
                          Ctx.State.count(gdSelected) != 0, row, col);
            break;
        case ctShape:
            DrawCellShape(c, g.Left, g.Top, Graphic->CellBitmapColor, TColor(Graphic->CellIndex),
                          Graphic->CellAngle, g.Height() - 1, g.Width() - 1);
            break;
        case ctRating: {
            const double v = std::trunc(PaintValue([&] { return GetFloats(col, row); }) * 2) / 2;
            for (int i = 0; i < Graphic->CellAngle; ++i) {
                const TColor star = i + 1 > v ? Graphic->CellBitmapColor : TColor(Graphic->CellIndex);
                DrawCellShape(c, g.Left + 18 * i, g.Top, star, star, csStar, 16, 16);
                if (v > i && v < i + 1)
                    DrawCellShape(c, g.Left + 18 * i, g.Top, TColor(Graphic->CellIndex),
                                  TColor(Graphic->CellIndex), csHalfStar, 16, 16);
            }
            break;
        }
        default: break;
    }
    R = g;
}

int TAdvStringGrid::XPProgressPercentage(const TCellGraphic* Graphic, int Value) {
    // An empty range (minimum equal to maximum) shows 0 % instead of dividing by zero.
    const int range = Graphic->CellErrLen - Graphic->CellErrFrom;
    if (range == 0) return 0;
    return int(std::lround(std::abs(double(Value - Graphic->CellErrFrom)) / range * 100.0));
}

void TAdvStringGrid::DrawProgressCell(TCanvas* C, const TRect& Cell, TCellGraphic* Graphic, int ACol,
                                      int ARow) {
    const double value = PaintValue([&] { return GetFloats(ACol, ARow); });
    const TGridControlStyle style = FControlLook->ControlStyle();
    const TRect bar(Cell.Left + FControlLook->ProgressMarginX(), Cell.Top + FControlLook->ProgressMarginY(),
                    Cell.Right - FControlLook->ProgressMarginX(),
                    Cell.Bottom - FControlLook->ProgressMarginY());
    if ((style == csWinXP || style == csTheme) && FControlLook->ProgressXP() && ThemedDrawingAvailable()) {
        const HWND h = HandleAllocated() ? Handle() : HWND(0);
        if (DrawThemePart(C, h, u"Progress", PP_BAR, 0, bar)) {
            TRect chunk(bar.Left + 2, bar.Top + 2, bar.Right - 2, bar.Bottom - 2);
            const double v = std::clamp(value, 0.0, 100.0);
            chunk.Right = chunk.Left + int(v * chunk.Width() / 100);
            if (chunk.Right > chunk.Left) DrawThemePart(C, h, u"Progress", PP_CHUNK, 0, chunk);
            return;
        }
    }
    const TColor done = Graphic->CellBitmapColor, remaining = Graphic->CellIconColor;
    TColor doneText, remainingText;
    if (Graphic->CellBoolean) {
        doneText = TColor(Graphic->CellIndex);
        remainingText = TColor(Graphic->CellAngle);
    } else {
        doneText = TColor(ColorToRGB(done) ^ 0xFFFFFF);
        remainingText = TColor(ColorToRGB(remaining) ^ 0xFFFFFF);
    }
    const TRect r(Cell.Left + 2, Cell.Top + 2, Cell.Right - 2, Cell.Bottom - 2);
    DrawProgressBar(C, r, done, false, FControlLook->ProgressBorderColor(), Graphic->CellText,
                    Graphic->CellErrLen, Graphic->CellErrFrom, FControlLook->ProgressMarginY(),
                    FControlLook->ProgressMarginX(), value, remainingText, remaining, doneText);
}

// =============================================================================================
// Check boxes and radio buttons

void TAdvStringGrid::DrawCheck(TCanvas* Canvas, const TRect& R, bool Checked, TCheckBoxState State,
                               bool ThreeState, TGridControlStyle Style, bool Grayed, bool Enabled) {
    if (!Canvas) return;
    if (FControlLook->NoDisabledCheckRadioLook() || FControlLook->CheckAlwaysActive()) Enabled = true;
    if (Style == csTheme && !(ThemedDrawingAvailable() && IsThemed())) Style = csClassic;
    if (ThreeState) {
        Checked = State == cbChecked;
        Grayed = Grayed || State == cbGrayed;
    }
    const int size = FControlLook->CheckSize();
    switch (Style) {
        case csClassic:
        case csFlat: {
            TRect box(R.Left + (R.Width() - size) / 2, R.Top + (R.Height() - size) / 2, 0, 0);
            box.Right = box.Left + size;
            box.Bottom = box.Top + size;
            box = MirrorRect(box);
            Cardinal flags = DFCS_BUTTONCHECK;
            if (Checked) flags |= DFCS_CHECKED;
            if (Grayed) flags |= DFCS_CHECKED | DFCS_BUTTON3STATE;
            if (Style == csFlat) flags |= DFCS_FLAT;
            if (!Enabled) flags |= DFCS_INACTIVE;
            DrawFrameControl(Canvas, box, DFC_BUTTON, flags);
            break;
        }
        case csWinXP: {
            static const char* const names[] = {"ASGCHK05", "ASGCHK06", "ASGCHK07", "ASGCHK08"};
            DrawGlyphResource(Canvas, R.Left, R.Top, names[(Checked ? 0 : 1) + (Enabled ? 0 : 2)]);
            break;
        }
        case csKit: {
            static const char* const names[] = {"ASGCHK01", "ASGCHK02", "ASGCHK03", "ASGCHK04"};
            DrawGlyphResource(Canvas, R.Left, R.Top, names[(Checked ? 0 : 1) + (Enabled ? 0 : 2)]);
            break;
        }
        case csKestril: {
            const TRect b(R.Left, R.Top, R.Left + size, R.Top + size);
            Canvas->Brush()->SetStyle(bsSolid);
            Canvas->Brush()->SetColor(Enabled ? clBtnFace : clBtnShadow);
            Canvas->FillRect(b);
            Canvas->Pen()->SetStyle(psSolid);
            Canvas->Pen()->SetWidth(1);
            Canvas->Pen()->SetColor(clBtnHighlight);
            Canvas->MoveTo(b.Left, b.Bottom - 1);
            Canvas->LineTo(b.Left, b.Top);
            Canvas->LineTo(b.Right - 1, b.Top);
            Canvas->Pen()->SetColor(clBtnShadow);
            Canvas->LineTo(b.Right - 1, b.Bottom - 1);
            Canvas->LineTo(b.Left, b.Bottom - 1);
            if (Checked) {
                const int s = size / 2;
                Canvas->Pen()->SetColor(Enabled ? FControlLook->Color() : TColor(0x808080));
                Canvas->MoveTo(b.Left + 2, b.Top + s);
                Canvas->LineTo(b.Left + 2, b.Bottom - 2);
                Canvas->MoveTo(b.Left + 3, b.Top - 1 + s);
                Canvas->LineTo(b.Left + 3, b.Bottom - 3);
                Canvas->MoveTo(b.Left + 2, b.Bottom - 2);
                Canvas->LineTo(b.Right - 2, b.Top + 2);
                Canvas->MoveTo(b.Left + 3, b.Bottom - 2);
                Canvas->LineTo(b.Right - 1, b.Top + 2);
            }
            break;
        }
        case csGlyph: {
            TBitmap* glyph = Checked ? FControlLook->CheckedGlyph() : FControlLook->UnCheckedGlyph();
            DrawTransparentAt(Canvas, R.Left, R.Top, glyph);
            break;
        }
        case csTheme: {
            const int base = Grayed ? CBS_MIXEDNORMAL : Checked ? CBS_CHECKEDNORMAL : CBS_UNCHECKEDNORMAL;
            const TRect b(R.Left, R.Top, R.Left + size, R.Top + size);
            if (!DrawThemePart(Canvas, HandleAllocated() ? Handle() : HWND(0), u"button", BP_CHECKBOX,
                               base + (Enabled ? 0 : 3), b))
                DrawCheck(Canvas, R, Checked, State, false, csClassic, Grayed, Enabled);
            break;
        }
    }
}

void TAdvStringGrid::DrawRadio(TCanvas* Canvas, const TRect& R, bool Reverse, int Scale,
                               TGridControlStyle Style, int ARow, int ACol, bool Selected, TStrings* Items,
                               bool Disabled, bool Horizontal, int SelectedIndex, int Count) {
    if (!Canvas || Count <= 0) return;
    if (FControlLook->NoDisabledCheckRadioLook() || FControlLook->RadioAlwaysActive()) Disabled = false;
    if (Style == csTheme && !ThemedDrawingAvailable()) Style = csClassic;
    Scale = std::max(1, Scale);
    const int bk = Canvas->SetBkMode(TRANSPARENT);
    const TColor fontColor = Canvas->Font()->Color();
    if (Selected && FShowSelection && FSelectionTextColor != clNone)
        Canvas->Font()->SetColor(FSelectionTextColor);

    const bool classic = Style == csClassic || Style == csFlat;
    const int radioSize = FControlLook->RadioSize();
    const int glyph = classic ? (radioSize + (Style == csFlat ? 2 : 0)) * Scale : 16 * Scale;
    int line = Canvas->TextHeight("gh");
    if (!classic) line = std::max(line, 16 * Scale);
    const String cellText = Items ? Cells(ACol, ARow) : String();
    int textBefore = 0;

    for (int r = 1; r <= Count; ++r) {
        const String text = Items && r - 1 < Items->Count() ? Items->Strings(r - 1) : String();
        const bool on = SelectedIndex == -1 ? (Items && text == cellText) : r == SelectedIndex + 1;
        int gx, gy, tx, ty;
        if (Horizontal) {
            gx =
                classic ? R.Left + 2 + (r - 1) * radioSize + textBefore : R.Left + (r * 16 - 14) + textBefore;
            gy = R.Top + (R.Height() - glyph) / 2;
            tx = classic ? gx + glyph : gx + 16;
            ty = R.Top + (R.Height() - Canvas->TextHeight("gh")) / 2;
        } else {
            gy = Reverse ? R.Bottom - 2 - r * line : R.Top + 2 + (r - 1) * line;
            gx = R.Left + 2;
            if (classic) {
                tx = R.Left + 2 + (radioSize + 4) * Scale;
                if (text.isEmpty() && Count == 1) gx = R.Left + (R.Width() - glyph) / 2;
            } else {
                tx = R.Left + (Style == csKestril ? 20 : 18);
            }
            ty = gy - (classic ? 2 : 0);
        }
        const TRect gr(gx, gy, gx + glyph, gy + glyph);
        switch (Style) {
            case csClassic:
            case csFlat: {
                TRect b = gr;
                Cardinal flags = DFCS_BUTTONRADIO;
                if (on) flags |= DFCS_CHECKED;
                if (Style == csFlat) flags |= DFCS_FLAT;
                if (Disabled) flags |= DFCS_INACTIVE;
                DrawFrameControl(Canvas, b, DFC_BUTTON, flags);
                break;
            }
            case csWinXP:
            case csKit: {
                static const char* const xp[] = {"ASGRAD05", "ASGRAD06", "ASGRAD07", "ASGRAD08"};
                static const char* const kit[] = {"ASGRAD01", "ASGRAD02", "ASGRAD03", "ASGRAD04"};
                const int i = (on ? 0 : 1) + (Disabled ? 2 : 0);
                DrawGlyphResource(Canvas, gx, gy, Style == csWinXP ? xp[i] : kit[i]);
                break;
            }
            case csGlyph:
                DrawTransparentAt(Canvas, gx, gy,
                                  on ? FControlLook->RadioOnGlyph() : FControlLook->RadioOffGlyph());
                break;
            case csKestril: {
                Canvas->Pen()->SetStyle(psSolid);
                Canvas->Pen()->SetWidth(1);
                Canvas->Brush()->SetStyle(bsSolid);
                Canvas->Brush()->SetColor(clBtnFace);
                Canvas->Pen()->SetColor(clBtnFace);
                Canvas->Polygon({TPoint(gx + 2, gy + 8), TPoint(gx + 8, gy + 2), TPoint(gx + 14, gy + 8),
                                 TPoint(gx + 8, gy + 14)});
                const TColor upper = on ? TColor(0x808080) : clWhite, lower = on ? clWhite : TColor(0x808080);
                Canvas->Pen()->SetColor(upper);
                Canvas->MoveTo(gx + 2, gy + 8);
                Canvas->LineTo(gx + 8, gy + 2);
                Canvas->LineTo(gx + 14, gy + 8);
                Canvas->Pen()->SetColor(lower);
                Canvas->LineTo(gx + 8, gy + 14);
                Canvas->LineTo(gx + 2, gy + 8);
                if (on) {
                    Canvas->Brush()->SetColor(FControlLook->Color());
                    Canvas->Pen()->SetColor(FControlLook->Color());
                    Canvas->Polygon({TPoint(gx + 6, gy + 8), TPoint(gx + 8, gy + 6), TPoint(gx + 10, gy + 8),
                                     TPoint(gx + 8, gy + 10)});
                }
                break;
            }
            case csTheme:
                DrawThemePart(Canvas, HandleAllocated() ? Handle() : HWND(0), u"button", BP_RADIOBUTTON,
                              (on ? RBS_CHECKEDNORMAL : RBS_UNCHECKEDNORMAL) + (Disabled ? 3 : 0), gr);
                break;
        }
        if (!text.isEmpty()) {
            Canvas->Brush()->SetStyle(bsClear);
            Canvas->TextOut(tx, ty, text);
            Canvas->Brush()->SetStyle(bsSolid);
        }
        textBefore += Canvas->TextWidth(text);
    }
    Canvas->Font()->SetColor(fontColor);
    Canvas->SetBkMode(bk);
}

// =============================================================================================
// Tree-node buttons

void TAdvStringGrid::DrawNodeButton(TCanvas* C, TRect& R, TCellGraphic* Graphic, int ACol, int ARow,
                                    const TGridDrawState& State) {
    TCellNode* node = FCellNode.get();
    const int indent = node->NodeIndent();
    const int rowIndent = GetRowIndent(ARow);
    R.Left = rowIndent - indent;
    const bool collapsed = Graphic->CellBoolean;

    if (node->ShowTree() && ARow >= FixedRows()) {
        C->Pen()->SetStyle(psSolid);
        C->Pen()->SetWidth(1);
        C->Pen()->SetColor(node->TreeColor());
        int left = R.Left;
        if (ACol < FixedCols() && !FFlat &&
            (FLook == glSoft || FLook == glKit || FLook == glXP || FLook == glListView))
            ++left;
        const int x = left + indent / 2 + 2;
        const int mid = R.Top + R.Height() / 2;
        if (ARow + 1 < RowCount() && GetRowIndent(ARow + 1) > 0 &&
            !(collapsed && GetRowIndent(ARow + 1) < rowIndent)) {
            C->MoveTo(x, mid);
            C->LineTo(x, R.Bottom);
        }
        if (ARow > 0 && GetRowIndent(ARow - 1) >= rowIndent && rowIndent > 0) {
            C->MoveTo(x, R.Top);
            C->LineTo(x, R.Top + 6);
        }
    }

    const int left = rowIndent - indent / 2 - 4;
    TColor back = C->Brush()->Color();
    if (back == clNone) back = FixedCols() > 0 ? FixedColor() : Color();
    const bool selected = State.count(gdSelected) != 0;
    if (selected && FShowSelection) back = FSelectionColor;

    switch (node->NodeType()) {
        case cnLeaf: {
            const int y = R.Top + (R.Height() - 12) / 2;
            DrawResourceBitmap(C, back, TRect(left, y, left + 16, y + 16),
                               collapsed ? QStringLiteral("ASGLEAFCLOSE") : QStringLiteral("ASGLEAFOPEN"));
            return;
        }
        case cnXP: {
            const int y = R.Top + (R.Height() - 10) / 2;
            DrawResourceBitmap(C, back, TRect(left + 4, y, left + 13, y + 9),
                               collapsed ? QStringLiteral("XPNODEC") : QStringLiteral("XPNODEO"));
            return;
        }
        case cnGlyph:
            if (!node->ExpandGlyph()->Empty() && !node->ContractGlyph()->Empty()) {
                TBitmap* glyph = collapsed ? node->ContractGlyph() : node->ExpandGlyph();
                const int y = R.Top + (R.Height() - glyph->Height()) / 2;
                DrawTransparentBitmap(C, glyph, back,
                                      TRect(left, y, left + glyph->Width(), y + glyph->Height()));
                return;
            }
            break;
        case cn3D: {
            TRect area(left, R.Top, R.Right, R.Bottom);
            C->Brush()->SetStyle(bsSolid);
            C->Brush()->SetColor(node->Color());
            C->FillRect(area);
            C->Pen()->SetColor(clWhite);
            C->MoveTo(area.Left, area.Bottom - 1);
            C->LineTo(area.Left, area.Top);
            C->LineTo(area.Right - 1, area.Top);
            C->Pen()->SetColor(0x808080);
            C->LineTo(area.Right - 1, area.Bottom - 1);
            C->LineTo(area.Left, area.Bottom - 1);
            break;
        }
        default: break;
    }

    // The box of cnFlat, cn3D and cnGlyph without both glyphs.
    const int bx = left + 4;
    const int by = R.Top + (R.Height() - 8) / 2;
    C->Brush()->SetStyle(bsSolid);
    C->Brush()->SetColor(node->Color());
    if (node->NodeType() == cnFlat) {
        C->Pen()->SetColor(node->NodeColor());
        C->Rectangle(bx, by, bx + 9, by + 9);
        C->MoveTo(bx + 2, by + 4);
        C->LineTo(bx + 7, by + 4);
        if (collapsed) {
            C->MoveTo(bx + 4, by + 2);
            C->LineTo(bx + 4, by + 7);
        }
    } else {
        TRect box(bx, by, bx + 8, by + 8);
        C->FillRect(box);
        DrawEdge(C, box, collapsed ? BDR_RAISEDINNER : BDR_SUNKENOUTER, BF_RECT | BF_SOFT);
    }
}

// =============================================================================================
// Cell buttons

void TAdvStringGrid::DrawCellButton(TCanvas* C, const TRect& Cell, TRect& G, TCellGraphic* Graphic,
                                    bool CanEdit) {
    const TCellType type = Graphic->CellType;
    if (type == ctExpand) G = TRect(Cell.Right - 13, Cell.Top, Cell.Right, Cell.Top + 13);
    Graphic->CellValue = double(((G.Top - Cell.Top) << 16) | ((G.Left - Cell.Left) & 0xFFFF));
    const bool enabled = CanEdit || FControlLook->NoDisabledButtonLook();
    const int look = FControlLook->FlatButton() ? flFlat : ThemedDrawingAvailable() ? flThemed : flClassic;
    // The hot state needs the mouse handling's hot button cell, which the grid does not track yet.
    int state = Graphic->CellBoolean ? fsPressed : fsNormal;
    if (!enabled && type != ctExpand) state = fsDisabled;

    const TColor bk = C->SetBkColor(clBtnFace);
    static const TColorTones noTones{};
    DrawButtonFrame(C, HandleAllocated() ? Handle() : HWND(0), G, noTones, state, look);
    TRect face = G;
    if (state == fsPressed) face = TRect(G.Left + 1, G.Top + 1, G.Right + 1, G.Bottom + 1);

    if (type == ctExpand) {
        C->Pen()->SetStyle(psSolid);
        C->Pen()->SetWidth(1);
        C->Pen()->SetColor(clBlack);
        const bool expanded = Graphic->CellVar.isValid() && Graphic->CellVar.toBool();
        const int r = G.Right, t = G.Top;
        if (!expanded) {
            C->MoveTo(r - 10, t + 5);
            C->LineTo(r - 7, t + 8);
            C->LineTo(r - 3, t + 4);
        } else {
            C->MoveTo(r - 10, t + 8);
            C->LineTo(r - 7, t + 5);
            C->LineTo(r - 3, t + 9);
        }
        C->SetBkColor(bk);
        return;
    }

    TRect text(face.Left + 1, face.Top, face.Right, face.Bottom);
    if (type == ctBitButton) {
        if (auto* glyph = dynamic_cast<TBitmap*>(Graphic->CellBitmap); glyph && !glyph->Empty()) {
            int vy = (face.Height() - glyph->Height()) / 2;
            if (vy < 1) vy = 3;
            const bool room = face.Width() > glyph->Width() + 6;
            if (!Graphic->CellText.isEmpty() || !room) {
                DrawTransparentAt(C, face.Left + 3, face.Top + vy, glyph);
                text.Left = face.Left + 3 + glyph->Width() + 4;
            } else {
                DrawTransparentAt(C, face.Left + (face.Width() - glyph->Width()) / 2, face.Top + vy, glyph);
            }
        }
    }
    if (!Graphic->CellText.isEmpty()) {
        const int mode = C->SetBkMode(TRANSPARENT);
        Cardinal flags = DT_CENTER | DT_VCENTER | DT_END_ELLIPSIS;
        flags |= Graphic->CellText.contains(u'\r') ? DT_WORDBREAK : DT_SINGLELINE;
        const TColor fontColor = C->Font()->Color();
        if (!enabled) C->Font()->SetColor(clGrayText);
        DrawText(C, Graphic->CellText, text, flags);
        C->Font()->SetColor(fontColor);
        C->SetBkMode(mode);
    }
    C->SetBkColor(bk);
}

// =============================================================================================
// Sort indicator

void TAdvStringGrid::DrawSortIndicator(TCanvas* Canvas, int ACol, int X, int Y) {
    if (!Canvas) return;
    TSortSettings* s = FSortSettings.get();
    const bool indexed = s->IndexShow() && FSortIndexes->FindIndex(ACol) >= 0;
    if (UseRightToLeftAlignment()) {
        X = ClientWidth() - X - 4 - 7;
        TBitmap* up = indexed ? s->IndexUpGlyph() : s->UpGlyph();
        TBitmap* down = indexed ? s->IndexDownGlyph() : s->DownGlyph();
        if (!up->Empty() && !down->Empty()) X += up->Width();
    }
    TPen saved;
    saved.Assign(Canvas->Pen());
    Canvas->Pen()->SetStyle(psSolid);
    Canvas->Pen()->SetWidth(1);
    if (indexed) {
        const int p = FSortIndexes->FindIndex(ACol);
        const bool ascending = FSortIndexes->SortDirections(p);
        const bool glyphs = !s->IndexUpGlyph()->Empty() && !s->IndexDownGlyph()->Empty();
        Canvas->Brush()->SetStyle(bsSolid);
        Canvas->Brush()->SetColor(s->IndexColor());
        Canvas->Pen()->SetColor(clBlack);
        const int bk = Canvas->SetBkMode(TRANSPARENT);
        TTemp<TFont> font(new TFont);
        font->Assign(Canvas->Font());
        if (!ascending) {
            if (glyphs)
                DrawTransparentAt(Canvas, X - 7, Y - 7, s->IndexUpGlyph());
            else
                Canvas->Polygon({TPoint(X - 7, Y - 5), TPoint(X + 7, Y - 5), TPoint(X, Y + 8)});
        } else {
            if (glyphs)
                DrawTransparentAt(Canvas, X - 7, Y - 7, s->IndexDownGlyph());
            else
                Canvas->Polygon({TPoint(X - 6, Y + 8), TPoint(X + 6, Y + 8), TPoint(X, Y - 4)});
        }
        Canvas->Font()->SetColor(clBlack);
        Canvas->Font()->SetSize(6);
        Canvas->Font()->SetStyle({});
        Canvas->Brush()->SetStyle(bsClear);
        Canvas->TextOut(X - 2, ascending ? Y - 2 : Y - 4, String::number(p + 1));
        Canvas->Brush()->SetStyle(bsSolid);
        Canvas->Font()->Assign(font.get());
        Canvas->SetBkMode(bk);
    } else {
        const bool descending = s->Direction() == sdDescending;
        if (!s->UpGlyph()->Empty() && !s->DownGlyph()->Empty()) {
            const TColor bk = Canvas->SetBkColor(FixedColor());
            DrawTransparentAt(Canvas, X - 4, Y - 4, descending ? s->DownGlyph() : s->UpGlyph());
            Canvas->SetBkColor(bk);
        } else if (descending) {
            Canvas->Pen()->SetColor(clWhite);
            Canvas->MoveTo(X + 4, Y - 4);
            Canvas->LineTo(X, Y + 4);
            Canvas->Pen()->SetColor(0x808080);
            Canvas->LineTo(X - 4, Y - 4);
            Canvas->LineTo(X + 4, Y - 4);
        } else {
            Canvas->Pen()->SetColor(clWhite);
            Canvas->MoveTo(X - 4, Y + 4);
            Canvas->LineTo(X + 4, Y + 4);
            Canvas->LineTo(X, Y - 4);
            Canvas->Pen()->SetColor(0x808080);
            Canvas->LineTo(X - 4, Y + 4);
        }
    }
    Canvas->Pen()->Assign(&saved);
    Canvas->Pen()->SetColor(clBlack);
}

// =============================================================================================
// Background picture, gradient and the empty area

namespace {

// Sum of Size(i) for i in [From, To): the cells lie side by side (the grid draws its lines inside
// them).
template <class Size> int ExtentBetween(int From, int To, Size SizeOf) {
    int s = 0;
    for (int i = From; i < To; ++i) s += SizeOf(i);
    return s;
}

} // namespace

void TAdvStringGrid::DrawBackGroundPicture(TCanvas* Canvas, int ACol, int ARow, const TRect& R) {
    TBitmap* pic = FBackGround->Bitmap();
    if (!Canvas || !pic || pic->Empty()) return;
    if (FBackGround->Display() != bdTile) {
        CopyPictureInto(Canvas, pic, TPoint(FBackGround->Left(), FBackGround->Top()), R);
        return;
    }
    // Tiles are anchored to the cells: the pattern's origin is the start cell's corner as if
    // nothing were scrolled, so the tiles move with the cells and join across them.
    const bool normal = FBackGround->Cells() == bcNormal;
    const int startCol = normal ? FixedCols() : 0, startRow = normal ? FixedRows() : 0;
    const TRect cell = CellRect(ACol, ARow);
    const int cellLeft = cell.Right > cell.Left ? cell.Left : R.Left;
    const int cellTop = cell.Bottom > cell.Top ? cell.Top : R.Top;
    auto phaseX = [&](int c) {
        return c >= startCol ? ExtentBetween(startCol, c, [this](int i) { return ColWidths(i); })
                             : -ExtentBetween(c, startCol, [this](int i) { return ColWidths(i); });
    };
    auto phaseY = [&](int r) {
        return r >= startRow ? ExtentBetween(startRow, r, [this](int i) { return RowHeights(i); })
                             : -ExtentBetween(r, startRow, [this](int i) { return RowHeights(i); });
    };
    const TPoint origin(cellLeft - phaseX(ACol), cellTop - phaseY(ARow));
    TilePictureInto(Canvas, pic, origin, R);
}

void TAdvStringGrid::DrawBackGroundGradient(TCanvas* Canvas, const TRect& R) {
    if (!Canvas) return;
    const bool horz = FBackGround->Display() == bdGradientHorz;
    const int extent = horz ? ClientWidth() : ClientHeight();
    const TColor from = FBackGround->Color(), to = FBackGround->ColorTo();
    const TColor c1 = InterpolateColor(from, to, 0, horz ? R.Left : R.Top, extent);
    const TColor c2 = InterpolateColor(from, to, 0, horz ? R.Right : R.Bottom, extent);
    DrawSteppedGradient(Canvas, c1, c2, 128, R, horz);
    Canvas->Brush()->SetColor(c2);
    Canvas->Pen()->SetColor(c2);
}

void TAdvStringGrid::PaintEmptyArea() {
    TCanvas* c = Canvas();
    const TBackGroundDisplay display = FBackGround->Display();
    const bool gradient = display == bdGradientHorz || display == bdGradientVert;
    if (gradient && FBackGround->ColorTo() == clNone) return;
    TBitmap* pic = FBackGround->Bitmap();
    const bool hasPicture = pic && !pic->Empty();
    if (!gradient && !hasPicture) return;

    // Right and bottom edges of the cells as shown.
    const int fixedW = ExtentBetween(0, FixedCols(), [this](int i) { return ColWidths(i); });
    const int fixedH = ExtentBetween(0, FixedRows(), [this](int i) { return RowHeights(i); });
    const int cellsRight =
        fixedW + ExtentBetween(LeftCol(), ColCount(), [this](int i) { return ColWidths(i); });
    const int cellsBottom =
        fixedH + ExtentBetween(TopRow(), RowCount(), [this](int i) { return RowHeights(i); });
    int clientBottom = ClientHeight();
    if (SearchFooter()->Visible()) clientBottom -= 32;
    if (FloatingFooter()->Visible()) clientBottom -= FloatingFooter()->Height();
    const int clientRight = ClientWidth();
    const bool rightArea = cellsRight < clientRight;
    const bool bottomArea = cellsBottom < clientBottom;
    if (!rightArea && !bottomArea) return;

    QRegion area;
    if (rightArea) area += QRect(cellsRight, 0, clientRight - cellsRight, clientBottom);
    if (bottomArea) area += QRect(0, cellsBottom, clientRight, clientBottom - cellsBottom);
    const bool hadClip = c->HasClip();
    const QRegion oldClip = hadClip ? c->ClipRegion() : QRegion();
    if (hadClip) area &= oldClip;
    c->SelectClipRgn(&area);

    const TRect client(0, 0, clientRight, clientBottom);
    if (!hasPicture && gradient) {
        DrawSteppedGradient(c, FBackGround->Color(), FBackGround->ColorTo(), 128, client,
                            display == bdGradientHorz);
    } else if (hasPicture && display != bdTile) {
        CopyPictureInto(c, pic, TPoint(FBackGround->Left(), FBackGround->Top()), client);
    } else if (hasPicture && FBackGround->Cells() != bcFixed) {
        TPoint origin(XYOffset.X, XYOffset.Y);
        if (FBackGround->Cells() == bcNormal) {
            // The first data cell's corner, unscrolled.
            origin.X +=
                fixedW - ExtentBetween(FixedCols(), LeftCol(), [this](int i) { return ColWidths(i); });
            origin.Y +=
                fixedH - ExtentBetween(FixedRows(), TopRow(), [this](int i) { return RowHeights(i); });
        }
        TilePictureInto(c, pic, origin, client);
    }

    if (hadClip)
        c->SelectClipRgn(&oldClip);
    else
        c->ResetClip();
}
