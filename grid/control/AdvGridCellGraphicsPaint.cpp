// TAdvStringGrid: the painters of cell graphics, glyphs and backgrounds. Switched off here: the
// layout names the cell's graphic without giving it room, and nothing is painted, until the
// graphic painters are built.
#include "AdvGrid.h"

TAdvStringGrid::TCellGraphicLayout TAdvStringGrid::GetCellGraphicLayout(int ACol, int ARow) {
    TCellGraphicLayout layout;
    layout.Graphic = GetCellGraphic(ACol, ARow);
    return layout;
}

void TAdvStringGrid::DrawCellGraphic(TRect&, TCellGraphic*, TVAlignment, const TCellPaintContext&) {}

void TAdvStringGrid::DrawCheck(TCanvas*, const TRect&, bool, TCheckBoxState, bool, TGridControlStyle, bool,
                               bool) {}

void TAdvStringGrid::DrawRadio(TCanvas*, const TRect&, bool, int, TGridControlStyle, int, int, bool,
                               TStrings*, bool, bool, int, int) {}

void TAdvStringGrid::DrawSortIndicator(TCanvas*, int, int, int) {}

void TAdvStringGrid::DrawRichCell(int, int, const TRect&, TCanvas*) {}

void TAdvStringGrid::DrawBackGroundPicture(TCanvas*, int, int, const TRect&) {}

void TAdvStringGrid::DrawBackGroundGradient(TCanvas*, const TRect&) {}

void TAdvStringGrid::PaintEmptyArea() {}
