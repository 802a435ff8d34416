// The grid's query and event dispatchers: the grid's rule first, then the event with the last
// word. Their edge cases as one table, each case on a fresh grid.
#include "AdvGrid.h"
#include "AdvGridTestSupport.h"

#include "GridUtil.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace {

// Five columns by eight rows, one fixed row and column.
TAdvGridPtr MakeGrid() {
    return MakeAdvGrid(5, 8);
}

struct TDispatchCase {
    const char* Name;
    std::function<void(TAdvStringGrid*)> Check;
};

const TDispatchCase DispatchCases[] = {
    {"GetCellColor marks the active cell's headers",
     [](TAdvStringGrid* g) {
         g->SetActiveCellShow(true);
         g->ActiveCellFont()->SetColor(clRed);
         g->SetCol(3);
         g->SetRow(5);
         for (auto [c, r, header] : {std::tuple{0, 5, true}, {3, 0, true}, {0, 4, false}, {2, 0, false}}) {
             SCOPED_TRACE(testing::Message() << c << "," << r);
             TBrush brush;
             brush.SetColor(clWhite);
             TFont font;
             g->GetCellColor(c, r, {}, &brush, &font);
             EXPECT_EQ(brush.Color(), header ? g->ActiveCellColor() : clWhite);
             EXPECT_EQ(font.Color() == clRed, header);
         }
     }},
    {"GetCellColor takes the font and brush of the cell's properties, then the event",
     [](TAdvStringGrid* g) {
         TCellProperties* p = g->GetCellProperties(2, 2);
         p->SetBrushColor(clYellow);
         p->SetFontColor(clBlue);
         p->SetFontSize(15);
         TBrush brush;
         TFont font;
         g->GetCellColor(2, 2, {}, &brush, &font);
         EXPECT_EQ(brush.Color(), clYellow);
         EXPECT_EQ(font.Color(), clBlue);
         EXPECT_EQ(font.Size(), 15);
         int row = -1, col = -1;
         g->OnGetCellColor = [&](TObject*, int ARow, int ACol, TGridDrawState, TBrush* B, TFont*) {
             row = ARow;
             col = ACol;
             B->SetColor(clLime);
         };
         g->GetCellColor(2, 3, {}, &brush, &font);
         EXPECT_EQ(brush.Color(), clLime);
         EXPECT_EQ(row, 3) << "the event takes the row first";
         EXPECT_EQ(col, 2);
     }},
    {"HasSpinEdit is False in fixed cells whatever the event says",
     [](TAdvStringGrid* g) {
         g->OnHasSpinEdit = [](TObject*, int, int, bool& Has) { Has = true; };
         EXPECT_FALSE(g->HasSpinEdit(0, 3));
         EXPECT_FALSE(g->HasSpinEdit(3, 0));
         EXPECT_TRUE(g->HasSpinEdit(3, 3));
     }},
    {"HasSpinEdit with always-visible spin buttons asks the editor type",
     [](TAdvStringGrid* g) {
         g->ControlLook()->SetSpinButtonsAlwaysVisible(true);
         EXPECT_FALSE(g->HasSpinEdit(2, 2));
         g->OnGetEditorType = [](TObject*, int ACol, int, TEditorType& E) {
             if (ACol == 2) E = edFloatSpinEdit;
         };
         EXPECT_TRUE(g->HasSpinEdit(2, 2));
         EXPECT_FALSE(g->HasSpinEdit(3, 2));
     }},
    {"HasComboBox without its event and without always-visible drop-downs is False",
     [](TAdvStringGrid* g) {
         g->DefaultEditor = edComboList;
         EXPECT_FALSE(g->HasComboBox(2, 2));
         g->ControlLook()->SetDropDownAlwaysVisible(true);
         EXPECT_TRUE(g->HasComboBox(2, 2)) << "the default editor is a combo list";
         g->OnHasComboBox = [](TObject*, int, int, bool&) {};
         EXPECT_FALSE(g->HasComboBox(2, 2)) << "with the event the answer starts False";
     }},
    {"QueryCanEdit without goEditing: a cell with properties is not editable, one without keeps the value",
     [](TAdvStringGrid* g) {
         bool seen = false;
         g->OnCanEditCell = [&](TObject*, int, int, bool& CanEdit) { seen = CanEdit; };
         g->GetCellProperties(2, 2);
         bool can = true;
         g->QueryCanEdit(2, 2, can);
         EXPECT_FALSE(seen) << "the event already sees False";
         EXPECT_FALSE(can);
         can = true;
         g->QueryCanEdit(3, 3, can);
         EXPECT_TRUE(seen);
         EXPECT_TRUE(can);
     }},
    {"QueryCanEdit with goEditing follows the read-only flag and the event",
     [](TAdvStringGrid* g) {
         TGridOptions o = g->Options();
         o.insert(goEditing);
         g->SetOptions(o);
         g->GetCellProperties(2, 2)->SetReadOnly(true);
         g->GetCellProperties(3, 2);
         bool can = true;
         g->QueryCanEdit(2, 2, can);
         EXPECT_FALSE(can);
         can = true;
         g->QueryCanEdit(3, 2, can);
         EXPECT_TRUE(can);
         g->OnCanEditCell = [](TObject*, int ARow, int, bool& CanEdit) { CanEdit = ARow != 4; };
         can = true;
         g->QueryCanEdit(3, 4, can);
         EXPECT_FALSE(can);
     }},
    {"IsFixedCell with FixedRowAlways and every data row deleted",
     [](TAdvStringGrid* g) {
         g->SetFixedRowAlways(true);
         g->SetFixedRows(1);
         g->SetRowCount(1);
         int asked = 0;
         g->OnIsFixedCell = [&](TObject*, int, int, bool&) { ++asked; };
         bool fixed = false;
         g->IsFixedCell(3, 0, fixed);
         EXPECT_TRUE(fixed);
         EXPECT_EQ(asked, 0) << "the event is asked only for cells not fixed";
     }},
    {"IsFixedCell asks the event for data cells, with the row first",
     [](TAdvStringGrid* g) {
         g->OnIsFixedCell = [](TObject*, int ARow, int ACol, bool& IsFixed) {
             IsFixed = ARow == 4 && ACol == 2;
         };
         bool fixed = false;
         g->IsFixedCell(2, 4, fixed);
         EXPECT_TRUE(fixed);
         fixed = false;
         g->IsFixedCell(4, 2, fixed);
         EXPECT_FALSE(fixed);
         EXPECT_TRUE(g->IsFixed(2, 4)) << "the cell store's query answers through it";
     }},
    {"GetColumnFilter lists the values sorted, once, quoted with blanks, the clear entry first",
     [](TAdvStringGrid* g) {
         g->SetFilterDropDownAuto(true);
         g->SetRowCount(5);
         g->SetCells(1, 1, "b");
         g->SetCells(1, 2, "a b");
         g->SetCells(1, 3, "b ");
         g->SetCells(1, 4, "");
         EXPECT_TRUE(g->GetColumnFilter(1));
         TStringList* l = g->FilterList();
         ASSERT_EQ(l->Count(), 4);
         EXPECT_EQ(l->Strings(0), "(All)");
         EXPECT_EQ(l->Strings(1), "");
         EXPECT_EQ(l->Strings(2), "a b=\"a b\"");
         EXPECT_EQ(l->Strings(3), "b");
         EXPECT_FALSE(g->GetColumnFilter(0)) << "a fixed column has no list";
         g->FilterDropDownColumns = fdAll;
         EXPECT_TRUE(g->GetColumnFilter(0));
     }},
    {"GetColumnFilter adds the hidden rows' values unless filtering incrementally",
     [](TAdvStringGrid* g) {
         g->SetFilterDropDownAuto(true);
         g->FilterDropDownClear = "";
         g->SetRowCount(4);
         g->SetCells(1, 1, "x");
         g->SetCells(1, 2, "hidden");
         g->SetCells(1, 3, "y");
         g->HideRow(2);
         g->GetColumnFilter(1);
         EXPECT_EQ(g->FilterList()->CommaText(), "hidden,x,y");
         g->FilterIncremental = true;
         g->GetColumnFilter(1);
         EXPECT_EQ(g->FilterList()->CommaText(), "x,y");
         g->OnGetColumnFilter = [](TObject*, int, TStrings* L) { L->Clear(); };
         EXPECT_FALSE(g->GetColumnFilter(1));
     }},
    {"GridHint packs a wide hint into the plain hint",
     [](TAdvStringGrid* g) {
         g->OnGridHint = [](TObject*, int, int, String& H) { H = "plain"; };
         String hint, wide;
         g->GridHint(1, 1, hint, wide);
         EXPECT_EQ(hint, "plain");
         g->OnGridWideHint = [](TObject*, int, int, String& W) { W = QStringLiteral("wide \u00e9"); };
         g->GridHint(1, 1, hint, wide);
         EXPECT_EQ(hint, PackWideText(QStringLiteral("wide \u00e9")));
     }},
    {"Check texts start as the grid's and the events may change them",
     [](TAdvStringGrid* g) {
         String v;
         g->GetCheckTrue(1, 1, v);
         EXPECT_EQ(v, "Y");
         g->GetCheckFalse(1, 1, v);
         EXPECT_EQ(v, "N");
         g->OnGetCheckTrue = [](TObject*, int, int, String& V) { V += "es"; };
         g->GetCheckTrue(1, 1, v);
         EXPECT_EQ(v, "Yes");
     }},
    {"HasNoEditor only when the event answers edNone",
     [](TAdvStringGrid* g) {
         EXPECT_FALSE(g->HasNoEditor(1, 1));
         g->OnGetEditorType = [](TObject*, int ACol, int, TEditorType& E) {
             EXPECT_EQ(E, edNormal);
             if (ACol == 1) E = edNone;
         };
         EXPECT_TRUE(g->HasNoEditor(1, 1));
         EXPECT_FALSE(g->HasNoEditor(2, 1));
     }},
    {"GetAlignment centres column 0 with HotmailRowSelect",
     [](TAdvStringGrid* g) {
         g->MouseActions()->SetHotmailRowSelect(true);
         TAlignment h = taLeftJustify;
         TVAlignment v = vtaTop;
         g->GetAlignment(0, 2, h, v);
         EXPECT_EQ(h, taCenter);
         h = taLeftJustify;
         g->GetAlignment(1, 2, h, v);
         EXPECT_EQ(h, taLeftJustify);
     }},
    {"ExpandClick fires the event and sets the row's height also without a handler",
     [](TAdvStringGrid* g) {
         g->SetRowHeights(3, 50);
         g->ExpandClick(1, 3, true);
         EXPECT_EQ(g->RowHeights(3), g->DefaultRowHeight()) << "no expand button: the default height";
         bool expanded = false;
         g->OnExpandClick = [&](TObject*, int, int, bool E) { expanded = E; };
         g->ExpandClick(1, 3, true);
         EXPECT_TRUE(expanded);
     }},
    {"ExpandClick sizes the row of an expand button to its expanded or collapsed height",
     [](TAdvStringGrid* g) {
         g->SetRowHeights(3, 30);
         g->AddExpand(1, 3, 90);
         g->ExpandClick(1, 3, true);
         EXPECT_EQ(g->RowHeights(3), 90);
         g->ExpandClick(1, 3, false);
         EXPECT_EQ(g->RowHeights(3), 30) << "collapsed: the height the row had when the button came";
     }},
    {"GetCellColor keeps the grid's brush for graphics that paint their own face, not their font",
     [](TAdvStringGrid* g) {
         g->CreateBitmap(2, 2, false, haLeft, vaTop);
         g->AddImageIdx(2, 3, 0, haLeft, vaTop);
         for (int r : {2, 3, 4}) {
             TCellProperties* p = g->GetCellProperties(2, r);
             p->SetBrushColor(clYellow);
             p->SetFontColor(clBlue);
         }
         for (auto [r, own] : {std::pair{2, false}, {3, true}, {4, true}}) {
             SCOPED_TRACE(r);
             TBrush brush;
             brush.SetColor(clWhite);
             TFont font;
             g->GetCellColor(2, r, {}, &brush, &font);
             EXPECT_EQ(brush.Color(), own ? clYellow : clWhite) << "bitmap cells keep the grid's brush";
             EXPECT_EQ(font.Color(), clBlue);
         }
     }},
};

TEST(AdvGridDispatchTest, EdgeCases) {
    for (const TDispatchCase& c : DispatchCases) {
        SCOPED_TRACE(c.Name);
        auto g = MakeGrid();
        c.Check(g.get());
    }
}

TEST(AdvGridDispatchTest, DefaultVisualPropsKeepNoStoredBackgroundWhereThePaintingRulesGiveOne) {
    auto g = MakeGrid();
    g->SetColor(clAqua);
    // A data cell keeps the grid's colour as its own.
    EXPECT_EQ(g->GetCellProperties(2, 2)->BrushColor(), clAqua);
    // Fixed cells and banded grids store none.
    EXPECT_EQ(g->GetCellProperties(0, 2)->BrushColor(), clNone);
    g->Bands()->SetActive(true);
    EXPECT_EQ(g->GetCellProperties(3, 3)->BrushColor(), clNone);
}

TEST(AdvGridDispatchTest, NewCellPropertiesTakeTheGridsAlignmentRules) {
    auto g = MakeGrid();
    g->SetDefaultAlignment(taCenter);
    EXPECT_EQ(g->GetCellProperties(2, 2)->Alignment(), taCenter);
    g->AutoNumAlign = true;
    g->SetCells(2, 3, "42");
    EXPECT_EQ(g->GetCellProperties(2, 3)->Alignment(), taRightJustify);
    // Once made, the stored alignment stays the cell's.
    g->SetCells(2, 3, "text");
    TAlignment ha = taLeftJustify;
    TVAlignment va = vtaTop;
    g->GetCellAlignment(2, 3, ha, va);
    EXPECT_EQ(ha, taRightJustify);
}

} // namespace
