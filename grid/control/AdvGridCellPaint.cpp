// TAdvStringGrid: the cell painter. The cell store has filled the cell's background and drawn
// its grid lines; DrawCellText paints everything above that in a fixed order of layers, each
// later layer over the earlier ones: the looks of fixed cells, the row indicator, the modified
// bar, editor buttons shown always, the content (text, markup, selection rectangle, filter
// button, sort indicator), the borders, the look's edges, tree lines, the graphic, the drawing
// events and the focus rectangle.
//
// The painter raises nothing of its own. What a drawing event raises passes on to the paint's
// caller, but only after the canvas has its pen, brush, font and clip back, so the next paint
// starts from a sound canvas.
#include "AdvGrid.h"

#include "CellDraw.h"
#include "GridUtil.h"
#include "MarkupRender.h"
#include "Themes.h"

#include <algorithm>
#include <cstdint>
#include <exception>
#include <memory>

// What one cell's paint carries from layer to layer.
struct TAdvStringGrid::TCellPaint {
    TCanvas* C = nullptr;
    int DCol = 0;   // display column
    int RCol = 0;   // real column
    int Row = 0;    // display row
    int SelRow = 0; // the row the row selection is kept for
    TRect R;        // the rectangle the layers work in
    TGridDrawState State;
    bool Fixed = false;
    bool FilterButton = false;
    TColor ColorTo = clNone, MirrorColor = clNone, MirrorColorTo = clNone;
    TAlignment HA = taLeftJustify;
    TVAlignment VA = vtaTop;
    bool WW = true;
    TCellGradientDirection GD = GradientVertical;
    // The graphic layout.
    TCellGraphic* Graphic = nullptr;
    int GW = 0, GH = 0;
    TCellHAlign GHA = haLeft;
    TCellVAlign GVA = vaTop;
    bool TextShown = true;
    // The colours of the cell before the selection look (restored for the borders).
    TColor CellBrush = clNone, CellFont = clNone;
    int ScrollPos = 0;      // the scroll position of a scroll-bar cell
    int IndicatorWidth = 0; // the row indicator's bitmap width, when it is drawn
    int TextWidth = 0;      // the measured text width, for graphics placed beside the text
};

namespace {

bool IsGradientLook(TGridLook Look) {
    return Look == glKit || Look == glXP || Look == glVista || Look == glWin7 || Look == glOffice2007;
}

void Line(TCanvas* C, int X1, int Y1, int X2, int Y2) {
    C->MoveTo(X1, Y1);
    C->LineTo(X2, Y2);
}

// The canvas state a cell's paint may leave changed. The clip the cell started with comes back
// on every path; when a handler's exception leaves the painter, the pen, brush and font are
// made plain again (solid, one pixel, the font given) so the next paint starts from a sound
// canvas.
class TCanvasRescue {
public:
    TCanvasRescue(TCanvas* C, TFont* Font)
        : FC(C), FFont(Font), FExceptions(std::uncaught_exceptions()), FHadClip(C->HasClip()),
          FClip(FHadClip ? C->ClipRegion() : QRegion()) {}
    TCanvasRescue(const TCanvasRescue&) = delete;
    TCanvasRescue& operator=(const TCanvasRescue&) = delete;
    void RestoreClip() {
        if (FHadClip)
            FC->SelectClipRgn(&FClip);
        else
            FC->ResetClip();
    }
    ~TCanvasRescue() {
        RestoreClip();
        if (std::uncaught_exceptions() > FExceptions) {
            FC->Pen()->SetStyle(psSolid);
            FC->Pen()->SetWidth(1);
            FC->Pen()->SetMode(pmCopy);
            FC->Brush()->SetStyle(bsSolid);
            FC->Font()->Assign(FFont);
            FC->SetBkMode(OPAQUE);
        }
    }

private:
    TCanvas* FC;
    TFont* FFont;
    int FExceptions;
    bool FHadClip;
    QRegion FClip;
};

// A scroll-bar cell's vertical bar in R for a page of Page within 0..Range at Position: arrow
// buttons at both ends and the thumb between them.
void DrawCellScrollBar(TCanvas* C, const TRect& R, int Position, int Page, int Range) {
    C->Brush()->SetColor(clScrollBar);
    C->FillRect(R);
    const int w = R.Right - R.Left;
    TRect up(R.Left, R.Top, R.Right, R.Top + w), down(R.Left, R.Bottom - w, R.Right, R.Bottom);
    DrawFrameControl(C, up, DFC_SCROLL, DFCS_SCROLLUP);
    DrawFrameControl(C, down, DFC_SCROLL, DFCS_SCROLLDOWN);
    const int track = down.Top - up.Bottom;
    if (track <= 0 || Range <= 0) return;
    const int th = std::min(track, std::max(8, int(std::int64_t(track) * std::max(0, Page) / Range)));
    const int span = Range - Page;
    const int pos = std::clamp(Position, 0, std::max(0, span));
    const int ty = up.Bottom + (span > 0 ? int(std::int64_t(track - th) * pos / span) : 0);
    TRect thumb(R.Left, ty, R.Right, ty + th);
    C->Brush()->SetColor(clBtnFace);
    C->FillRect(thumb);
    DrawEdge(C, thumb, EDGE_RAISED, BF_RECT);
}

} // namespace

// ---------------------------------------------------------------------------------------------
// Queries the painter asks

bool TAdvStringGrid::ShowsSortIndicator(int ACol, int ARow) {
    int row = ARow;
    if (IsMergedCell(ACol, ARow)) row = BaseCell(ACol, ARow).Y + CellSpan(ACol, ARow).Y;
    return row == SortSettings()->Row() && SortSettings()->Show() && FixedRows() + 1 < RowCount();
}

bool TAdvStringGrid::CanShowFixedDropDown(int ACol) {
    bool canShow = true;
    if (OnCanShowFixedDropDown) OnCanShowFixedDropDown(this, ACol, canShow);
    return canShow;
}

bool TAdvStringGrid::RowModifiedFlag(int ARow) const {
    return ARow >= 0 && ARow < FModifiedRows->Count() && FModifiedRows->Items(ARow) != 0;
}

bool TAdvStringGrid::IsHoveredFixedCell(int ACol, int ARow) const {
    const bool covered =
        (ACol < FixedCols() && (HoverFixedCells == hfAll || HoverFixedCells == hfFixedColumns)) ||
        (ARow < FixedRows() && (HoverFixedCells == hfAll || HoverFixedCells == hfFixedRows));
    if (!covered || ComponentState().count(csDesigning)) return false;
    if (FGridState == gsColMoving) return ACol == FMoveColInd;
    return ACol == FHoverFixedX && ARow == FHoverFixedY;
}

// ---------------------------------------------------------------------------------------------
// The cell painter

void TAdvStringGrid::DrawCellText(TCanvas* Canvas, int ACol, int ARow, TRect R, TGridDrawState AState) {
    TCanvasRescue rescue(Canvas, Font());
    TCellPaint p;
    p.C = Canvas;
    p.DCol = ACol;
    p.Row = ARow;
    p.R = R;
    p.State = AState;
    TMouseActions* ma = MouseActions();

    // 1. The 3-D border follows the flat setting.
    if (Ctl3D() == FFlat) SetCtl3D(!FFlat);

    // 2.
    p.RCol = RealColIndex(ACol);
    p.SelRow = ma->DisjunctRowSelect() && ma->RowSelectPersistent ? RealRowIndex(ARow) : ARow;

    // 3. The filter button of the filter row.
    p.FilterButton = ARow == FilterDropDownRow() && GetColumnFilter(p.RCol);

    // 4. Scroll-bar cells: the text scrolls with the cell's bar, which takes the right edge.
    if (TCellGraphic* g = GetCellGraphic(p.RCol, ARow); g && g->CellType == ctScrollbar) {
        p.ScrollPos = g->CellIndex;
        const int page = g->CellAngle, range = g->CellErrFrom;
        if (page < range) {
            const int w = GetSystemMetrics(SM_CXVSCROLL);
            p.R.Right -= w;
            DrawCellScrollBar(Canvas, TRect(p.R.Right, p.R.Top, p.R.Right + w, p.R.Bottom), p.ScrollPos, page,
                              range);
        }
    }

    // 5.
    p.WW = FGridWordWrap;
    GetVisualProperties(ACol, ARow, p.State, false, false, true, Canvas->Brush(), p.ColorTo, p.MirrorColor,
                        p.MirrorColorTo, Canvas->Font(), p.HA, p.VA, p.WW, p.GD);

    // 6. The graphic layout; a node row's column 0 is as wide as its glyphs.
    const TCellGraphicLayout layout = GetCellGraphicLayout(p.RCol, ARow);
    p.Graphic = layout.Graphic;
    p.GW = layout.Width;
    p.GH = layout.Height;
    p.GHA = layout.HAlign;
    p.GVA = layout.VAlign;
    p.TextShown = layout.DrawText;
    if (p.RCol == 0 && IsNode(ARow)) p.GW = GetNodeLevel(ARow) * 12 + 4;

    // 7. A selected cell without colour of its own in an unfocused look: the system's highlight
    // (the fill the platform grid's own drawing would give it).
    if (p.State.count(gdSelected) && !p.State.count(gdFocused) && SelectionColor() == clNone) {
        Canvas->Brush()->SetColor(clHighlight);
        Canvas->FillRect(p.R);
    }

    // 8.
    Canvas->Font()->SetSize(Canvas->Font()->Size() + ZoomFactor);

    // 9.
    p.CellBrush = Canvas->Brush()->Color();
    p.CellFont = Canvas->Font()->Color();

    // 10.
    p.Fixed = IsFixed(ACol, ARow) || ACol < FixedCols() || ARow < FixedRows();
    if (ARow == FHoverRowIdx && HoverRow() && HoverRowCells().count(hcFixed)) p.Fixed = false;

    // 11. Application styles do not exist on this platform: no cell is styled.

    // 12. Fixed-cell looks, the row indicator.
    PaintFixedLook(p);

    // 13.
    if (ShowModified()->Enabled() && ACol == 0 && RowModifiedFlag(ARow)) {
        Canvas->Brush()->SetColor(ShowModified()->Color());
        Canvas->FillRect(TRect(p.R.Right - 4, p.R.Top, p.R.Right, p.R.Bottom));
        Canvas->Brush()->SetColor(p.CellBrush);
    }

    // 14.
    if (OnCustomCellBkgDraw) OnCustomCellBkgDraw(this, Canvas, p.RCol, ARow, p.State, p.R, false);

    // 15.
    const int rightBeforeButtons = p.R.Right;
    PaintAlwaysVisibleButtons(p);

    // 16. An interfaced object that paints as the background, then the content, unless the
    // graphic or a drawing event takes the cell alone.
    if (p.Graphic && p.Graphic->CellType == ctInterface)
        if (auto* obj = dynamic_cast<IGridCellObject*>(p.Graphic->CellBitmap); obj && obj->IsBackground())
            obj->Draw(Canvas, TRect(p.R.Left - 1, p.R.Top - 1, p.R.Right + 1, p.R.Bottom + 1), this,
                      p.State.count(gdSelected) != 0, ARow, p.RCol);
    const bool graphicOnly = p.Graphic && NoImageAndText;
    const bool eventDraws = (OnDrawCell || OnCustomCellDraw) && NoDefaultDraw;
    if (!graphicOnly && !eventDraws) PaintCellContent(p);
    rescue.RestoreClip();

    // 17.
    p.R.Right = rightBeforeButtons;
    Canvas->Brush()->SetColor(p.CellBrush);
    Canvas->Font()->SetColor(p.CellFont);
    p.R = TRect(p.R.Left - 1, p.R.Top - 1, p.R.Right + 1, p.R.Bottom + 1);
    PaintCellBorders(p);
    p.R.Left -= p.IndicatorWidth;

    // 18, 19.
    PaintFixedEdges(p);

    // 20.
    PaintTreeLines(p);

    // 21. The graphic, which may move the rectangle for the steps after it.
    if (p.Graphic) {
        TRect gr = p.R;
        if (p.Fixed) ++gr.Top;
        TCellPaintContext ctx;
        ctx.Canvas = Canvas;
        ctx.RealCol = p.RCol;
        ctx.DisplCol = ACol;
        ctx.Row = ARow;
        ctx.State = p.State;
        ctx.TextWidth = p.TextWidth;
        ctx.HAlign = p.HA;
        DrawCellGraphic(gr, p.Graphic, p.VA, ctx);
        p.R = gr;
    }

    // 22, 23.
    if (OnDrawCell) {
        const int lw = GridLineWidth();
        OnDrawCell(this, p.RCol, ARow, TRect(p.R.Left + 1, p.R.Top + 1, p.R.Right - lw, p.R.Bottom - lw),
                   p.State);
    }
    if (OnCustomCellDraw) OnCustomCellDraw(this, Canvas, p.RCol, ARow, p.State, p.R, false);

    // 24.
    PaintFocusRect(p);
}

// Step 12: the gradients of fixed cells by look, the row indicator, the list-view header.
void TAdvStringGrid::PaintFixedLook(TCellPaint& P) {
    TCanvas* c = P.C;
    const TGridLook look = Look();
    if (P.Fixed && IsGradientLook(look)) {
        auto gradient = [&](const TRect& R, TColor From, TColor To, TColor MirrorFrom, TColor MirrorTo,
                            TColor Border) {
            DrawGradientCell(c, R, From, true, false, Border, true, MirrorTo, MirrorFrom, To);
        };
        auto hover = [&](const TRect& R) {
            gradient(R, KitGradientHoverFrom(), KitGradientHoverTo(), KitGradientHoverMirrorFrom(),
                     KitGradientHoverMirrorTo(), KitGradientHoverBorder());
        };
        auto down = [&](const TRect& R) {
            gradient(R, KitGradientDownFrom(), KitGradientDownTo(), KitGradientDownMirrorFrom(),
                     KitGradientDownMirrorTo(), KitGradientDownBorder());
        };
        if (IsHoveredFixedCell(P.DCol, P.Row)) {
            ++P.R.Bottom;
            const bool pressed = FMouseDownMove || FGridState == gsColMoving;
            const bool button = ControlLook()->FixedDropDownButton() && CanShowFixedDropDown(P.RCol);
            const TRect rest(P.R.Left, P.R.Top, P.R.Right - 16, P.R.Bottom);
            const TRect drop(P.R.Right - 16, P.R.Top, P.R.Right, P.R.Bottom);
            if (!pressed) {
                hover(P.R);
            } else if (button) {
                if (FDropDownDown) {
                    hover(rest);
                    down(drop);
                } else {
                    down(rest);
                    hover(drop);
                }
            } else {
                down(P.R);
            }
            if (button) {
                c->Pen()->SetWidth(1);
                c->Pen()->SetColor(pressed ? KitGradientDownBorder() : KitGradientHoverBorder());
                Line(c, P.R.Right - 16, P.R.Top, P.R.Right - 16, P.R.Bottom);
                DrawDownTriangle(c, P.R.Right - 8, P.R.Top + 8, clBlack);
                P.R.Right -= 16;
            }
        } else if (FActiveCellShow && ((FixedCols() > 0 && FixedCols() == P.DCol + 1 && P.Row == Row()) ||
                                       (FixedRows() == P.Row + 1 && P.DCol == Col()))) {
            gradient(P.R, ActiveCellColor(), ActiveCellColorTo(), clNone, clNone, clNone);
        } else if (TSortSettings* ss = SortSettings(); ss->Column() != -1 && ss->HeaderColor() != clNone &&
                                                       P.RCol == ss->Column() && P.Row == FixedRows() - 1 &&
                                                       (P.DCol >= FixedCols() || ss->FixedCols())) {
            gradient(P.R, ss->HeaderColor(), ss->HeaderColorTo(), ss->HeaderMirrorColor(),
                     ss->HeaderMirrorColorTo(), clNone);
        } else if (!FFlat) {
            DrawGradientCell(c, P.R, P.CellBrush, true, look == glVista, look == glVista ? clWhite : clNone,
                             true, P.MirrorColorTo, P.MirrorColor, P.ColorTo);
        }
        c->Brush()->SetColor(P.CellBrush);
    }

    // The row indicator of the current row.
    TBitmap* ind = FRowIndicator.get();
    if (P.RCol == 0 && P.Row == Row() && FixedCols() > 0 && ind && !ind->Empty() &&
        !(RowCount() == FixedRows() && FFixedRowAlways)) {
        const int bh = ind->Height();
        int y = P.R.Top;
        if (FVAlignment == vtaCenter)
            y = P.R.Top + (P.R.Bottom - P.R.Top - bh) / 2;
        else if (FVAlignment == vtaBottom)
            y = P.R.Bottom - bh;
        const bool transparent = ind->Transparent();
        ind->SetTransparent(true);
        c->Draw(P.R.Left + 2, y, ind);
        ind->SetTransparent(transparent);
        P.IndicatorWidth = ind->Width();
        P.R.Left += ind->Width() + 2;
    }

    // The list-view look's header cells.
    if (P.Fixed && look == glListView && !FFlat) {
        if (IsThemed() && ThemedDrawingAvailable()) {
            ++P.R.Bottom;
            const bool inside = FHotFixedCell.X == P.DCol && FHotFixedCell.Y == P.Row;
            int part = HP_HEADERITEMRIGHT, state = HIS_NORMAL;
            if (inside) {
                part = HP_HEADERITEM;
                state = FMouseDownMove ? HIS_PRESSED : HIS_HOT;
            }
            DrawThemed(c, HandleAllocated() ? Handle() : 0, u"header", part, state, P.R);
            c->Pen()->SetColor(clWhite);
            Line(c, P.R.Left, P.R.Top, P.R.Right, P.R.Top);
        } else {
            c->Brush()->SetColor(clBtnFace);
            c->Pen()->SetColor(clWhite);
            c->Rectangle(P.R);
        }
        c->Brush()->SetColor(P.CellBrush);
    }
}

// Step 15: the drop-down and spin buttons of cells whose editor shows them always.
void TAdvStringGrid::PaintAlwaysVisibleButtons(TCellPaint& P) {
    TControlLook* cl = ControlLook();
    if (IsFixed(P.DCol, P.Row) || !(cl->DropDownAlwaysVisible() || cl->SpinButtonsAlwaysVisible())) return;
    // The grid has no colour tones of its own yet, so the tones look is never chosen.
    static const TColorTones noTones;
    const int look =
        cl->FlatButton() ? flFlat : (IsThemed() && ThemedDrawingAvailable() ? flThemed : flClassic);
    const int state = UserMayChange(P.RCol, P.Row) ? fsNormal : fsDisabled;
    const HWND wnd = HandleAllocated() ? Handle() : 0;
    if (cl->DropDownAlwaysVisible() && HasComboBox(P.RCol, P.Row)) {
        DrawComboButton(P.C, wnd, TRect(P.R.Left - 2, P.R.Top - 1, P.R.Right + 1, P.R.Bottom), noTones, state,
                        look);
        P.R.Right -= 16;
    }
    if (cl->SpinButtonsAlwaysVisible() && HasSpinEdit(P.RCol, P.Row)) {
        DrawSpinButtons(P.C, wnd, TRect(P.R.Left - 2, P.R.Top - 1, P.R.Right + 1, P.R.Bottom), noTones, state,
                        look);
        P.R.Right -= 16;
    }
}

// Algorithm of the content: text of every kind, the selection rectangle, the filter button and
// the sort indicator.
void TAdvStringGrid::PaintCellContent(TCellPaint& P) {
    TCanvas* c = P.C;
    TMouseActions* ma = MouseActions();
    const bool focused = Focused();

    // 1. The selected look of the text.
    TColor urlColor = URLColor();
    const bool rowSelected = HasOption(goRowSelect) && RowSelectFlag(P.SelRow) && P.RCol >= FixedCols() &&
                             P.DCol < ColCount() - FixedRightCols();
    if ((P.State.count(gdSelected) || rowSelected) && !P.Fixed) {
        const TCellType type = P.Graphic ? P.Graphic->CellType : ctNone;
        const bool checkBox = type == ctCheckBox || type == ctDataCheckBox || type == ctVirtCheckBox ||
                              type == ctTriStateCheckBox || type == ctRowCheckBox;
        if (FShowSelection) {
            if (SelectionColor() != clNone) c->Brush()->SetColor(SelectionColor());
            if (SelectionTextColor() != clNone) {
                if (Enabled()) c->Font()->SetColor(SelectionTextColor());
                urlColor = SelectionTextColor();
            }
        } else if (!focused || checkBox) {
            c->Brush()->SetColor(P.CellBrush);
            c->Font()->SetColor(P.CellFont);
        }
    }

    // 2. The text and its kind; a formula shows its value.
    String text = GetFormattedCell(P.RCol, P.Row);
    int kind = CellTextType(text, EnableHTML);
    if (kind == ctkFormula) {
        GetCalculatedCell(P.RCol, P.Row, text);
        kind = CellTextType(text, EnableHTML);
    }

    // 3.
    int errPos = 0, errLen = 0;
    GetMarker(P.RCol, P.Row, errPos, errLen);

    // 4. A password shows one password character per character.
    bool password = false;
    IsPasswordCell(P.RCol, P.Row, password);
    if (password) {
        text = FillChars(kind == ctkPackedWide ? UnpackWideText(text) : text, PasswordChar);
        kind = ctkPlain;
    }

    // 5.
    TRect tr = P.R;
    if (P.Fixed) {
        tr.Left += GridLineWidth();
        tr.Top += GridLineWidth();
    }

    // 6. A scrolled cell shows the part of its text below the scroll position.
    if (P.ScrollPos > 0) {
        c->IntersectClipRect(P.R);
        tr.Top -= P.ScrollPos;
    }

    // 7.
    if (P.FilterButton) PaintFilterButton(P);

    // 8. Cells of a disjunct row or column selection that are not selected take the plain look.
    const bool dataCell = P.DCol >= FixedCols() && P.Row >= FixedRows();
    if (dataCell && !FMouseDown &&
        ((ma->DisjunctRowSelect() && !RowSelectFlag(P.SelRow)) ||
         (ma->DisjunctColSelect() && !ColSelectFlag(P.DCol)))) {
        urlColor = URLColor();
        c->Brush()->SetColor(Color());
        c->Font()->SetColor(Font()->Color());
        // The dispatcher works on the unzoomed size; the cell is zoomed once afterwards.
        c->Font()->SetSize(c->Font()->Size() - ZoomFactor);
        GetCellColor(P.RCol, P.Row, P.State, c->Brush(), c->Font());
        c->Font()->SetSize(c->Font()->Size() + ZoomFactor);
    }

    // 9. The background picture or the slice of the background gradient.
    TBackGround* bg = BackGround();
    const bool bgCells =
        bg->Cells() == bcAll || (bg->Cells() == bcFixed && P.Fixed) || (bg->Cells() == bcNormal && !P.Fixed);
    const TColor ownColor = Colors(P.RCol, P.Row);
    const bool shownSelected = FShowSelection && P.State.count(gdSelected);
    if (bg->Bitmap() && !bg->Bitmap()->Empty() && ownColor == clNone && bgCells && !shownSelected) {
        const int lw = GridLineWidth();
        DrawBackGroundPicture(c, P.DCol, P.Row,
                              TRect(tr.Left - (lw - 1), tr.Top - (lw - 1), tr.Right, tr.Bottom));
    }
    if (bg->Display() == bdGradientHorz || bg->Display() == bdGradientVert) {
        const TCellType type = P.Graphic ? P.Graphic->CellType : ctNone;
        const bool takesOwnColor = type == ctCheckBox || type == ctDataCheckBox || type == ctRadio ||
                                   type == ctButton || type == ctRadioButton;
        const bool selectedLook =
            FShowSelection && ((P.State.count(gdSelected) && !P.State.count(gdFocused)) ||
                               (P.State.count(gdFocused) && HasOption(goDrawFocusSelected)));
        if ((ownColor == clNone || takesOwnColor) && bgCells && !selectedLook) {
            const int lw = GridLineWidth();
            DrawBackGroundGradient(c, TRect(tr.Left - 1, tr.Top - lw, tr.Right, tr.Bottom + lw - 1));
        }
    }

    // 10.
    if (FSelectionRectangle && dataCell) PaintSelectionRectangle(P);

    // 11. The text.
    if (!P.TextShown) return;
    tr.Left += XYOffset.X;
    tr.Top += XYOffset.Y;
    if (!XYOffsetTopLeftOnly) tr.Right -= XYOffset.X;

    // Room for the graphic; the left graphic width moves the sort indicator of left-aligned text.
    int leftGraphic = 0;
    if (P.Graphic) {
        switch (P.GHA) {
            case haBeforeText: tr.Left += P.GW; break;
            case haAfterText: tr.Right -= P.GW; break;
            default: break;
        }
        switch (P.GVA) {
            case vaAboveText: tr.Top += P.GH; break;
            case vaUnderText: tr.Bottom -= P.GH; break;
            default: break;
        }
        if ((P.GHA == haLeft || P.GHA == haBeforeText) && P.HA == taLeftJustify) leftGraphic = P.GW;
    }
    if (P.RCol == 0 && HasNodes() && !IsNode(P.Row)) tr.Left += GetRowIndent(P.Row);

    TSortSettings* ss = SortSettings();
    const bool sortIndicator = ShowsSortIndicator(P.DCol, P.Row) &&
                               (P.RCol == ss->Column() || SortIndexes()->FindIndex(P.RCol) >= 0) &&
                               FixedRows() > 0 && (P.DCol >= FixedCols() || ss->FixedCols());
    const bool indicatorDrawn = SortIndexes()->FindIndex(P.RCol) < 1 || ss->IndexShow();
    auto indicatorY = [&P](const TRect& R) {
        switch (P.VA) {
            case vtaCenter: return R.Top + (R.Bottom - R.Top) / 2;
            case vtaBottom: return R.Bottom - 8;
            default: return R.Top + 8;
        }
    };

    if (kind == ctkMarkup) {
        if (P.FilterButton) tr.Right -= 18;
        if (sortIndicator) tr.Right -= 10;
        --tr.Left;
        const bool hovered = FHoverCell.X == P.DCol && FHoverCell.Y == P.Row;
        THTMLDrawOptions opt;
        opt.Images = GetCellImageList(P.RCol, P.Row);
        opt.HitX = tr.Left;
        opt.HitY = tr.Top;
        opt.FocusAnchor = -1;
        opt.HoverAnchor = hovered ? FHoverlink : -1;
        opt.ShadowOffset = 1;
        opt.Blink = FBlinkState;
        opt.HoverStyle = URLUnderlineOnHover;
        opt.WordWrap = !EnhTextSize;
        opt.ControlPressed = FCtrlDown;
        opt.ScaleFactor = 0;
        opt.URLColor = urlColor;
        opt.HoverColor = clNone;
        opt.HoverFontColor = clNone;
        opt.ShadowColor = 0x808080;
        opt.PictureCache = ImageCache();
        opt.Window = HandleAllocated() ? Handle() : 0;
        THTMLDrawResult res;
        opt.BiDiMode = UseRightToLeftAlignment() ? 1 : 0;
        DrawHTML(c, text, tr, opt, res);
        if (sortIndicator && indicatorDrawn) DrawSortIndicator(c, P.RCol, tr.Right + 2, indicatorY(tr));
        P.TextWidth = res.TextWidth + 2;
        return;
    }

    if (kind == ctkRTF) {
        c->Pen()->SetColor(c->Brush()->Color());
        if (!(P.State.count(gdSelected) && !P.State.count(gdFocused) && SelectionColor() == clNone))
            c->FillRect(tr);
        c->Brush()->SetStyle(bsClear);
        DrawRichCell(P.RCol, P.Row, tr, c);
        c->Brush()->SetStyle(bsSolid);
        c->Font()->SetColor(clBlack);
        return;
    }

    // Plain and packed wide text.
    if (kind == ctkPackedWide) text = UnpackWideText(text);
    if (P.HA == taCenter && ss->Show() && P.Row == ss->Row() && P.RCol == ss->Column()) tr.Left += 10;
    bool url = false;
    if (URLShow() && IsURL(text)) {
        url = true;
        if (!URLFull()) text = StripURLScheme(text);
        TFontStyles st = c->Font()->Style();
        st.insert(fsUnderline);
        c->Font()->SetStyle(st);
        c->Font()->SetColor(urlColor);
    }

    Cardinal flags = DT_EDITCONTROL;
    if (!P.WW && CountLines(text, Multilinecells) == 1) {
        // A single-line cell shows what stands before the first line break.
        text = CutFirstLine(text, false);
        flags = DT_SINGLELINE;
        if (EnhTextSize) flags |= DT_END_ELLIPSIS;
    }
    if (P.WW && !Multilinecells && EnhTextSize) flags |= DT_END_ELLIPSIS;
    flags |= DT_EXPANDTABS | DT_NOPREFIX;
    switch (P.HA) {
        case taRightJustify: flags |= DT_RIGHT; break;
        case taCenter: flags |= DT_CENTER; break;
        default: flags |= DT_LEFT; break;
    }
    switch (P.VA) {
        case vtaCenter: flags |= DT_VCENTER; break;
        case vtaBottom: flags |= DT_BOTTOM; break;
        default: flags |= DT_TOP; break;
    }
    if (P.WW || Multilinecells)
        flags |= DT_WORDBREAK | DT_EDITCONTROL;
    else
        flags |= DT_SINGLELINE;
    if (UseRightToLeftAlignment()) flags |= DT_RTLREADING;
    const int bkMode = c->SetBkMode(TRANSPARENT);
    if (P.FilterButton) tr.Right -= 16;
    // The cell rectangles are the mirrored ones already in a right-to-left grid.
    TRect drawn = tr;
    if (P.Graphic && !text.isEmpty()) {
        TRect m = drawn;
        DrawText(c, text, m, flags | DT_CALCRECT);
        P.TextWidth = m.Right - m.Left + 2;
    }
    DrawText(c, text, drawn, flags);
    c->SetBkMode(bkMode);

    const TCellType type = P.Graphic ? P.Graphic->CellType : ctEmpty;
    if (errLen > 0 && (type == ctEmpty || type == ctValue))
        DrawErrorUnderline(this, c, text, errLen, errPos, c->TextHeight("hg"), tr);

    // The sort indicator beside the text.
    TRect ir = P.R;
    if (P.FilterButton) ir.Right -= 16;
    if (sortIndicator) {
        const int w = std::max(0, std::min(ir.Right - ir.Left - 16, c->TextWidth(text)));
        int x = ir.Left + 8;
        if (P.HA == taLeftJustify)
            x = ir.Left + w + leftGraphic + 10;
        else if (P.HA == taRightJustify)
            x = ir.Right - w - 10;
        if (indicatorDrawn) DrawSortIndicator(c, P.RCol, x, indicatorY(ir));
    }

    if (url) {
        TFontStyles st = c->Font()->Style();
        st.erase(fsUnderline);
        c->Font()->SetStyle(st);
    }
}

// The filter button in the rightmost 16 pixels: the grid's glyph, the active one while the column
// is filtered, or the built-in one when no glyph is set.
void TAdvStringGrid::PaintFilterButton(TCellPaint& P) {
    TFilterDropDown* fd = FilterDropDown();
    TBitmap* glyph = Filter()->HasFilter(P.RCol) ? fd->GlyphActive() : fd->Glyph();
    if (!glyph || glyph->Empty()) {
        DrawResourceBitmap(P.C, FixedColor(), TRect(P.R.Right - 16, P.R.Top, P.R.Right, P.R.Bottom),
                           "ASGFILT");
        return;
    }
    const bool transparent = glyph->Transparent();
    glyph->SetTransparent(true);
    P.C->Draw(P.R.Right - 16, P.R.Top, glyph);
    glyph->SetTransparent(transparent);
}

// The outer edges of the selection where this cell lies on them, and the resizer grip of its
// bottom-right cell.
void TAdvStringGrid::PaintSelectionRectangle(TCellPaint& P) {
    TGridRect sel = Selection();
    TGridRect s(std::min(sel.Left, sel.Right), std::min(sel.Top, sel.Bottom), std::max(sel.Left, sel.Right),
                std::max(sel.Top, sel.Bottom));
    if (IsMergedCell(P.DCol, P.Row)) {
        const TPoint base = BaseCell(s.Left, s.Top);
        s = TGridRect(base.X, base.Y, base.X, base.Y);
    }
    if (P.DCol < s.Left || P.DCol > s.Right || P.Row < s.Top || P.Row > s.Bottom) return;
    TCanvas* c = P.C;
    const int lw = GridLineWidth();
    c->Pen()->SetStyle(psSolid);
    c->Pen()->SetWidth(2);
    c->Pen()->SetColor(SelectionRectangleColor);
    const TRect& r = P.R;
    if (P.DCol == s.Left) Line(c, r.Left - lw + 1, r.Top, r.Left - lw + 1, r.Bottom);
    if (P.DCol == s.Right) Line(c, r.Right - 1, r.Top, r.Right - 1, r.Bottom);
    if (P.Row == s.Top) Line(c, r.Left, r.Top - lw + 1, r.Right, r.Top - lw + 1);
    if (P.Row == s.Bottom) Line(c, r.Left, r.Bottom, r.Right, r.Bottom);
    if (FSelectionResizer && P.DCol == s.Right && P.Row == s.Bottom) {
        const TRect cr = CellRect(P.DCol, P.Row);
        const TColor brush = c->Brush()->Color();
        c->Brush()->SetColor(SelectionRectangleColor);
        c->Rectangle(TRect(r.Right - 4, r.Bottom - 4, cr.Right, cr.Bottom));
        c->Brush()->SetColor(brush);
    }
    c->Pen()->SetWidth(1);
}

// The borders the border events ask for, each with its own pen; the canvas pen comes back.
void TAdvStringGrid::PaintCellBorders(TCellPaint& P) {
    TCanvas* c = P.C;
    TPen saved;
    saved.Assign(c->Pen());
    struct TPenBack {
        TCanvas* C;
        TPen& Saved;
        ~TPenBack() { C->Pen()->Assign(&Saved); }
    } back{c, saved};

    TCellBorders borders;
    GetCellBorder(P.RCol, P.Row, c->Pen(), borders);
    TPen left, top, right, bottom;
    for (TPen* pen : {&left, &top, &right, &bottom}) pen->Assign(c->Pen());
    if (OnGetCellBorderProp) OnGetCellBorderProp(this, P.Row, P.RCol, &left, &top, &right, &bottom);
    if (borders.empty()) return;

    const int lw = GridLineWidth();
    const int h = (c->Pen()->Width() + 1) / 2;
    TRect r = P.R;
    int dx = 0, dy = 0;
    if (HasOption(goVertLine)) dx = h;
    if (HasOption(goHorzLine)) dy = h;
    r.Left += dx;
    r.Bottom -= dy;
    if (borders.count(cbLeft)) {
        c->Pen()->Assign(&left);
        Line(c, std::max(0, r.Left), r.Top, std::max(0, r.Left), r.Bottom);
    }
    if (borders.count(cbRight)) {
        c->Pen()->Assign(&right);
        r.Right -= dx;
        Line(c, r.Right - 1, r.Top, r.Right - 1, r.Bottom);
    }
    if (borders.count(cbTop)) {
        c->Pen()->Assign(&top);
        r.Top += dy;
        const int y = lw == 0 ? r.Top + 1 : std::max(0, r.Top - lw);
        Line(c, r.Left, y, r.Right, y);
    }
    if (borders.count(cbBottom)) {
        c->Pen()->Assign(&bottom);
        Line(c, r.Left - lw - 1, r.Bottom - 1, r.Right, r.Bottom - 1);
    }
}

// Steps 18 and 19: the raised edges of fixed cells by look, and the grey frame of the fixed right
// columns of flat grids.
void TAdvStringGrid::PaintFixedEdges(TCellPaint& P) {
    TCanvas* c = P.C;
    const TGridLook look = Look();
    if (P.Fixed && !FFlat) {
        TRect r = P.R;
        const TColor dark = HalveColor(FixedColor());
        c->Pen()->SetWidth(1);
        c->Pen()->SetStyle(psSolid);
        switch (look) {
            case glClassic: {
                ++r.Top;
                ++r.Bottom;
                ++r.Left;
                TRect e = r;
                DrawEdge(c, e, BDR_RAISEDINNER, BF_LEFT);
                e = r;
                DrawEdge(c, e, BDR_RAISEDINNER, BF_TOP);
                e = r;
                DrawEdge(c, e, BDR_RAISEDINNER | BDR_RAISEDOUTER, BF_RIGHT | BF_BOTTOM);
                c->Pen()->SetColor(clBlack);
                c->MoveTo(r.Right - 1, r.Top);
                c->LineTo(r.Right - 1, r.Bottom - 1);
                c->LineTo(r.Left - 1, r.Bottom - 1);
                break;
            }
            case glKit:
            case glXP:
                ++r.Bottom;
                if (HasOption(goFixedHorzLine)) {
                    c->Pen()->SetColor(dark);
                    Line(c, r.Left, r.Bottom - 1, r.Right - 1, r.Bottom - 1);
                    c->Pen()->SetColor(clWhite);
                    c->MoveTo(r.Right - 2, r.Top + 1);
                    c->LineTo(r.Left + 1, r.Top + 1);
                    c->LineTo(r.Left + 1, r.Bottom - 1);
                }
                break;
            case glSoft:
                ++r.Right;
                ++r.Bottom;
                if (HasOption(goFixedHorzLine)) {
                    c->Pen()->SetColor(dark);
                    Line(c, r.Left, r.Bottom - 1, r.Right - 1, r.Bottom - 1);
                    c->Pen()->SetColor(clWhite);
                    c->MoveTo(r.Right, r.Top + 1);
                    c->LineTo(r.Left + 1, r.Top + 1);
                    c->LineTo(r.Left + 1, r.Bottom - 1);
                }
                if (HasOption(goFixedVertLine)) {
                    c->Pen()->SetColor(dark);
                    Line(c, r.Right - 2, r.Top, r.Right - 2, r.Bottom - 1);
                    c->Pen()->SetColor(clWhite);
                    Line(c, r.Right - 1, r.Top, r.Right - 1, r.Bottom - 1);
                }
                break;
            default: break;
        }
    }

    if (FFlat && look != glClassic && FixedRightCols() > 0 && P.DCol >= ColCount() - FixedRightCols()) {
        const TRect& r = P.R;
        c->Pen()->SetWidth(1);
        c->Pen()->SetColor(0x808080);
        if (HasOption(goFixedHorzLine)) {
            Line(c, r.Left - 1, r.Top - 1, r.Right + 1, r.Top - 1);
            Line(c, r.Left - 1, r.Bottom, r.Right + 1, r.Bottom);
        }
        if (HasOption(goFixedVertLine)) {
            Line(c, r.Left - 1, r.Top - 1, r.Left - 1, r.Bottom + 1);
            Line(c, r.Right, r.Top - 1, r.Right, r.Bottom + 1);
        }
    }
}

// Step 20: the lines of the tree in column 0, from the node buttons down to the rows they cover.
void TAdvStringGrid::PaintTreeLines(TCellPaint& P) {
    if (!HasNodes() || P.RCol != 0 || P.Row < FixedRows() || !CellNode()->ShowTree()) return;
    TCanvas* c = P.C;
    const int indent = GetRowIndent(P.Row);
    const int ni = CellNode()->NodeIndent();
    P.R.Left = indent;
    const int x = indent - ni + ni / 2 + 2;
    const int mid = P.R.Top + (P.R.Bottom - P.R.Top) / 2;
    c->Pen()->SetWidth(1);
    c->Pen()->SetStyle(psSolid);
    c->Pen()->SetColor(CellNode()->TreeColor());
    TCellProperties* props = HasCellProperties(0, P.Row) ? GetCellProperties(0, P.Row) : nullptr;
    const int level = props ? props->NodeLevel() : 0;
    if (level > 0) Line(c, x, mid, CellNode()->ShowTreeFull() ? P.R.Right : indent + 4, mid);
    switch (GetNodeSpanType(P.Row)) {
        case 1: Line(c, x, P.R.Top, x, mid); break;
        case 2: Line(c, x, P.R.Top, x, P.R.Bottom + 4); break;
        default: break;
    }
    if (!props) return;
    const bool lastRow = P.Row == RowCount() - 1;
    const int nextLevel =
        !lastRow && HasCellProperties(0, P.Row + 1) ? GetCellProperties(0, P.Row + 1)->NodeLevel() : 0;
    for (int i = 1; i <= level; ++i) {
        const int xi = x - ni * i;
        if (lastRow || nextLevel == 0) {
            Line(c, xi, P.R.Top, xi, mid);
            if (i < level) Line(c, xi, mid, x + ni - ni * i, mid);
        } else {
            Line(c, xi, P.R.Top, xi, P.R.Bottom + 4);
        }
    }
}

// Step 24: the dotted focus rectangle of the current data cell in a focused grid.
void TAdvStringGrid::PaintFocusRect(TCellPaint& P) {
    if (HideFocusRect || HasOption(goRowSelect) || !Focused()) return;
    if (Col() < FixedCols() || Row() < FixedRows()) return;
    const TPoint base = BaseCell(P.DCol, P.Row);
    if (base.X != Col() || base.Y != Row()) return;
    const int g = GridLineWidth() - 1;
    TRect f(P.R.Left - g, P.R.Top - g, P.R.Right + g - 1, P.R.Bottom + g - 1);
    P.C->Brush()->SetStyle(bsSolid);
    DrawFocusRect(P.C, f);
}
