// The grid's per-cell visual properties: the precedence of the colour sources as one table.
#include "AdvGrid.h"
#include "AdvGridTestSupport.h"

#include "CellDraw.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace {

// What GetVisualProperties answered for one cell.
struct TVisual {
    TGridDrawState State;
    TColor Brush = clNone;
    TColor ColorTo = clNone;
    TColor Font = clNone;
    TAlignment HA = taLeftJustify;
};

TVisual Visual(TAdvStringGrid* G, int ACol, int ARow, TGridDrawState State = {}, bool Print = false) {
    TBrush brush;
    TFont font;
    TVisual v;
    v.State = State;
    TColor mirror = clNone, mirrorTo = clNone;
    TVAlignment va = vtaTop;
    bool ww = true;
    TCellGradientDirection gd = GradientVertical;
    G->GetVisualProperties(ACol, ARow, v.State, Print, true, true, &brush, v.ColorTo, mirror, mirrorTo, &font,
                           v.HA, va, ww, gd);
    v.Brush = brush.Color();
    v.Font = font.Color();
    return v;
}

// Five columns, eight rows, one fixed row and column; the current cell (1, 1) is the selection.
TAdvGridPtr MakeGrid() {
    TAdvGridPtr g = MakeAdvGrid(5, 8);
    g->SetLook(glStandard);
    g->SetSelectionColor(0xEACAB6);
    g->SetColor(clWhite);
    g->SetFixedColor(clBtnFace);
    g->FixedFont()->SetColor(clNavy);
    g->Font()->SetColor(clBlack);
    return g;
}

struct TPrecedenceCase {
    const char* Name;
    std::function<void(TAdvStringGrid*)> Setup;
    int Col, Row;
    TColor Brush;
    TColor Font; // clNone: not checked
    bool Selected;
};

const TColor Sel = 0xEACAB6; // the selection colour of the test grid

const TPrecedenceCase PrecedenceCases[] = {
    {"a data cell has the grid's colour and font", nullptr, 2, 3, clWhite, clBlack, false},
    {"a fixed cell has the fixed colour and font", nullptr, 0, 3, clBtnFace, clNavy, false},
    {"the cell's own colour and font colour",
     [](TAdvStringGrid* g) {
         g->GetCellProperties(2, 3)->SetBrushColor(clYellow);
         g->GetCellProperties(2, 3)->SetFontColor(clRed);
     },
     2, 3, clYellow, clRed, false},
    {"a bitmap cell keeps the grid's colour, its font colour is the cell's",
     [](TAdvStringGrid* g) {
         g->CreateBitmap(2, 3, false, haLeft, vaTop);
         g->GetCellProperties(2, 3)->SetBrushColor(clYellow);
         g->GetCellProperties(2, 3)->SetFontColor(clRed);
     },
     2, 3, clWhite, clRed, false},
    {"a rotated cell's colour is its own, also in a fixed cell",
     [](TAdvStringGrid* g) {
         g->AddRotated(0, 3, 90, "x");
         g->GetCellProperties(0, 3)->SetBrushColor(clYellow);
     },
     0, 3, clYellow, clNone, false},
    {"a check box takes the cell's colour",
     [](TAdvStringGrid* g) {
         g->AddCheckBox(2, 3, false, false);
         g->GetCellProperties(2, 3)->SetBrushColor(clYellow);
     },
     2, 3, clYellow, clNone, false},
    {"a check box's colour is no colour of its own: a fixed one takes the fixed colour",
     [](TAdvStringGrid* g) {
         g->AddCheckBox(0, 3, false, false);
         g->GetCellProperties(0, 3)->SetBrushColor(clYellow);
     },
     0, 3, clBtnFace, clNone, false},
    {"bands: the first data row takes the primary colour",
     [](TAdvStringGrid* g) {
         g->Bands()->SetActive(true);
         g->Bands()->SetPrimaryColor(clAqua);
         g->Bands()->SetSecondaryColor(clLime);
     },
     2, 3 - 2, clAqua, clNone, false},
    {"bands: the second data row the secondary colour",
     [](TAdvStringGrid* g) {
         g->Bands()->SetActive(true);
         g->Bands()->SetPrimaryColor(clAqua);
         g->Bands()->SetSecondaryColor(clLime);
     },
     2, 2, clLime, clNone, false},
    {"bands: the cell's own colour wins",
     [](TAdvStringGrid* g) {
         g->Bands()->SetActive(true);
         g->GetCellProperties(2, 2)->SetBrushColor(clYellow);
     },
     2, 2, clYellow, clNone, false},
    {"bands: footer rows keep the fixed colour",
     [](TAdvStringGrid* g) {
         g->Bands()->SetActive(true);
         g->SetFixedFooters(1);
     },
     2, 7, clBtnFace, clNone, false},
    {"bands: fixed right columns keep the fixed colour",
     [](TAdvStringGrid* g) {
         g->Bands()->SetActive(true);
         g->SetFixedRightCols(1);
     },
     4, 3, clBtnFace, clNone, false},
    {"bands with both lengths 0 give no band colour",
     [](TAdvStringGrid* g) {
         g->Bands()->SetActive(true);
         g->Bands()->SetPrimaryLength(0);
         g->Bands()->SetSecondaryLength(0);
     },
     2, 3, clWhite, clNone, false},
    {"a fixed cell with its own colour keeps it, its font stays the cell's",
     [](TAdvStringGrid* g) {
         g->GetCellProperties(0, 3)->SetBrushColor(clYellow);
         g->GetCellProperties(0, 3)->SetFontColor(clRed);
     },
     0, 3, clYellow, clRed, false},
    {"the look's gradient on fixed cells",
     [](TAdvStringGrid* g) {
         g->SetLook(glKit);
         g->SetKitGradientFrom(clSilver);
     },
     0, 3, clSilver, clNone, false},
    {"OnGetCellColor overrides the cell's colour",
     [](TAdvStringGrid* g) {
         g->GetCellProperties(2, 3)->SetBrushColor(clYellow);
         g->OnGetCellColor = [](TObject*, int, int, TGridDrawState, TBrush* B, TFont*) {
             B->SetColor(clFuchsia);
         };
     },
     2, 3, clFuchsia, clNone, false},
    {"OnGetCellGradient overrides the colour event",
     [](TAdvStringGrid* g) {
         g->OnGetCellColor = [](TObject*, int, int, TGridDrawState, TBrush* B, TFont*) {
             B->SetColor(clFuchsia);
         };
         g->OnGetCellGradient = [](TObject*, int, int, TColor& C, TColor&, TColor&, TColor&,
                                   TCellGradientDirection&) { C = clTeal; };
     },
     2, 3, clTeal, clNone, false},
    {"a selected cell on the grid's colour takes the plain selection colour",
     [](TAdvStringGrid* g) {
         g->SetSelectionColorMixer(true);
         g->SetSelectionTextColor(clMaroon);
     },
     1, 1, Sel, clMaroon, true},
    {"the selection over a coloured cell: the mixer blends half and half",
     [](TAdvStringGrid* g) {
         g->SetSelectionColorMixer(true);
         g->GetCellProperties(1, 1)->SetBrushColor(0x000000);
     },
     1, 1, TAdvStringGrid::BlendColors(Sel, 0, 50), clNone, true},
    {"the selection over a coloured cell without the mixer",
     [](TAdvStringGrid* g) { g->GetCellProperties(1, 1)->SetBrushColor(clYellow); }, 1, 1, Sel, clNone, true},
    {"the selection wins over the gradient event",
     [](TAdvStringGrid* g) {
         g->OnGetCellGradient = [](TObject*, int, int, TColor& C, TColor&, TColor&, TColor&,
                                   TCellGradientDirection&) { C = clTeal; };
     },
     1, 1, Sel, clNone, true},
    {"a single selected cell takes the selection colours",
     [](TAdvStringGrid* g) {
         g->MouseActions()->SetDisjunctCellSelect(true);
         g->SetSelectedCells(3, 4, true);
     },
     3, 4, Sel, clNone, true},
    {"with single-cell selection the current cell not picked shows unselected",
     [](TAdvStringGrid* g) {
         g->MouseActions()->SetDisjunctCellSelect(true);
         g->SetSelectedCells(3, 4, true);
     },
     1, 1, clWhite, clNone, false},
    {"no selection shown with ShowSelection off", [](TAdvStringGrid* g) { g->SetShowSelection(false); }, 1, 1,
     clWhite, clNone, false},
    {"a disabled grid paints every text in the disabled colour, selected cells included",
     [](TAdvStringGrid* g) {
         g->SetEnabled(false);
         g->SetSelectionTextColor(clMaroon);
     },
     1, 1, Sel, 0xC0C0C0, true},
    {"disabled text only with UseDisabledFont",
     [](TAdvStringGrid* g) {
         g->SetEnabled(false);
         g->UseDisabledFont = false;
     },
     2, 3, clWhite, clBlack, false},
};

TEST(AdvGridVisualPropsTest, ColourPrecedence) {
    for (const TPrecedenceCase& c : PrecedenceCases) {
        SCOPED_TRACE(c.Name);
        auto g = MakeGrid();
        if (c.Setup) c.Setup(g.get());
        const TVisual v = Visual(g.get(), c.Col, c.Row);
        EXPECT_EQ(v.Brush, c.Brush);
        if (c.Font != clNone) {
            EXPECT_EQ(v.Font, c.Font);
        }
        EXPECT_EQ(v.State.count(gdSelected) != 0, c.Selected);
    }
}

TEST(AdvGridVisualPropsTest, BandsAlternateOverTheDataRows) {
    auto g = MakeGrid();
    g->Bands()->SetActive(true);
    g->Bands()->SetPrimaryColor(clAqua);
    g->Bands()->SetSecondaryColor(clLime);
    g->Bands()->SetPrimaryLength(2);
    // Data rows from 1: primary, primary, secondary, and again.
    const TColor expected[] = {clAqua, clLime, clAqua, clAqua, clLime, clAqua};
    for (int r = 2; r < 8; ++r) EXPECT_EQ(Visual(g.get(), 3, r).Brush, expected[r - 2]) << "row " << r;
    // Printing leaves the bands out unless they are meant for print.
    EXPECT_EQ(Visual(g.get(), 3, 2, {}, true).Brush, clWhite);
    g->Bands()->Print = true;
    EXPECT_EQ(Visual(g.get(), 3, 2, {}, true).Brush, clAqua);
}

TEST(AdvGridVisualPropsTest, BlendColorsMixesChannelsByTheFactor) {
    EXPECT_EQ(TAdvStringGrid::BlendColors(0x0000FF, 0xFF0000, 100), TColor(0x0000FF));
    EXPECT_EQ(TAdvStringGrid::BlendColors(0x0000FF, 0xFF0000, 0), TColor(0xFF0000));
    EXPECT_EQ(TAdvStringGrid::BlendColors(0x0000FF, 0xFF0000, 50), TColor(0x800080));
    EXPECT_EQ(TAdvStringGrid::BlendColors(clNone, 0xFF0000, 50), TColor(0xFF0000));
    EXPECT_EQ(TAdvStringGrid::BlendColors(0x0000FF, clNone, 50), TColor(0x0000FF));
    EXPECT_EQ(TAdvStringGrid::BlendSelectionColor(0x0000FF, 0xFF0000, false, 50), TColor(0x0000FF));
}

TEST(AdvGridVisualPropsTest, FixedCellsAreMarkedAndAlignmentComesFromTheRealColumn) {
    auto g = MakeGrid();
    EXPECT_TRUE(Visual(g.get(), 0, 3).State.count(gdFixed));
    EXPECT_FALSE(Visual(g.get(), 2, 3).State.count(gdFixed));
    // Display column 2 shows real column 3 once column 2 is hidden.
    g->GetCellProperties(3, 3)->SetAlignment(taRightJustify);
    g->HideColumn(2);
    EXPECT_EQ(Visual(g.get(), 2, 3).HA, taRightJustify);
}

} // namespace
