// The grid control's cell accessors: texts by real row, the per-cell settings and their neutral
// values, whole-row colours, the disjunct cell selection with its keys, the selected counts,
// column order and zooming.
#include "AdvGrid.h"

#include "Forms.h"
#include "StdCtrls.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// A grid of Cols x Rows whose cells read "c,r" (real column, real row).
TAdvStringGrid* MakeGrid(int Cols, int Rows) {
    auto* g = new TAdvStringGrid(nullptr);
    g->SetColCount(Cols);
    g->SetRowCount(Rows);
    for (int r = 0; r < Rows; ++r)
        for (int c = 0; c < Cols; ++c) g->SetCells(c, r, QStringLiteral("%1,%2").arg(c).arg(r));
    return g;
}

} // namespace

// ---------------------------------------------------------------------------------------------
// Per-cell settings

TEST(AdvGridAccessorsTest, ReadersAnswerNeutralValuesAndMakeNoProperties) {
    TAdvStringGrid* g = MakeGrid(5, 5);
    auto freeGrid = FreeAtEnd(g);
    EXPECT_EQ(g->Colors(2, 2), clNone);
    EXPECT_EQ(g->ColorsTo(2, 2), clNone);
    EXPECT_EQ(g->Gradients(2, 2), GradientVertical);
    EXPECT_EQ(g->FontColors(2, 2), clNone);
    EXPECT_TRUE(g->FontStyles(2, 2).empty());
    EXPECT_EQ(g->FontSizes(2, 2), 0);
    EXPECT_EQ(g->FontNames(2, 2), String());
    EXPECT_EQ(g->Alignments(2, 2), taLeftJustify);
    EXPECT_FALSE(g->ReadOnly(2, 2));
    EXPECT_EQ(g->CellControls(2, 2), nullptr);
    EXPECT_EQ(g->Fonts(2, 2)->Name(), g->Font()->Name());
    // Outside the grid too.
    EXPECT_EQ(g->Colors(-1, 2), clNone);
    EXPECT_EQ(g->FontSizes(2, 99), 0);
    EXPECT_FALSE(g->HasCellProperties(2, 2));

    g->SetColors(2, 2, clRed);
    ASSERT_TRUE(g->HasCellProperties(2, 2));
    EXPECT_EQ(g->Colors(2, 2), clRed);
    // The other settings of the new properties are the grid's defaults.
    EXPECT_FALSE(g->ReadOnly(2, 2));
    EXPECT_EQ(g->ColorsTo(2, 2), clNone);
}

TEST(AdvGridAccessorsTest, WritersStoreAndFontsReadBack) {
    TAdvStringGrid* g = MakeGrid(5, 5);
    auto freeGrid = FreeAtEnd(g);
    g->SetFontColors(1, 1, clBlue);
    g->SetFontSizes(1, 1, 14);
    g->SetFontNames(1, 1, "Courier New");
    g->SetFontStyles(1, 1, TFontStyles{fsBold});
    g->SetAlignments(1, 1, taRightJustify);
    g->SetReadOnly(1, 1, true);
    g->SetColorsTo(1, 1, clYellow);
    g->SetGradients(1, 1, GradientHorizontal);
    EXPECT_EQ(g->FontColors(1, 1), clBlue);
    EXPECT_EQ(g->FontSizes(1, 1), 14);
    EXPECT_EQ(g->FontNames(1, 1), String("Courier New"));
    EXPECT_EQ(g->FontStyles(1, 1), TFontStyles{fsBold});
    EXPECT_EQ(g->Alignments(1, 1), taRightJustify);
    EXPECT_TRUE(g->ReadOnly(1, 1));
    EXPECT_EQ(g->ColorsTo(1, 1), clYellow);
    EXPECT_EQ(g->Gradients(1, 1), GradientHorizontal);
    TFont* f = g->Fonts(1, 1);
    EXPECT_EQ(f->Color(), clBlue);
    EXPECT_EQ(f->Size(), 14);
    EXPECT_EQ(f->Name(), String("Courier New"));

    TFont* other = new TFont();
    auto freeFont = FreeAtEnd(other);
    other->SetName("Arial");
    other->SetSize(9);
    other->SetColor(clGreen);
    g->SetFonts(3, 3, other);
    EXPECT_EQ(g->FontNames(3, 3), String("Arial"));
    EXPECT_EQ(g->FontSizes(3, 3), 9);
    EXPECT_EQ(g->FontColors(3, 3), clGreen);
    // WordWraps is the one reader that makes the properties.
    EXPECT_FALSE(g->HasCellProperties(4, 4));
    EXPECT_TRUE(g->WordWraps(4, 4));
    EXPECT_TRUE(g->HasCellProperties(4, 4));
}

TEST(AdvGridAccessorsTest, RowColoursSetEveryDataCellAndClearingFreesNothing) {
    TAdvStringGrid* g = MakeGrid(5, 5);
    auto freeGrid = FreeAtEnd(g);
    g->MergeCells(2, 2, 2, 1);
    g->SetRowColor(2, clRed);
    g->SetRowColorTo(2, clYellow);
    g->SetRowFontColor(2, clBlue);
    EXPECT_EQ(g->Colors(0, 2), clNone); // fixed column
    for (int c = 1; c < 5; ++c) {
        SCOPED_TRACE(c);
        EXPECT_EQ(g->Colors(c, 2), clRed);
        EXPECT_EQ(g->ColorsTo(c, 2), clYellow);
        EXPECT_EQ(g->FontColors(c, 2), clBlue);
    }
    g->SetRowColor(2, clNone);
    g->SetRowColorTo(2, clNone);
    g->SetRowFontColor(2, clNone);
    EXPECT_EQ(g->Colors(1, 2), clNone);
    EXPECT_EQ(g->ColorsTo(3, 2), clNone);
    EXPECT_EQ(g->FontColors(4, 2), clNone);
    // The merged area lives in the same properties and stays.
    EXPECT_TRUE(g->IsMergedCell(3, 2));
    EXPECT_EQ(g->CellSpan(2, 2).X, 1);
    // Clearing makes no properties in cells without them.
    g->SetRowColor(3, clNone);
    EXPECT_FALSE(g->HasCellProperties(1, 3));
}

TEST(AdvGridAccessorsTest, CellControlsJoinAndLeaveTheControlList) {
    TAdvStringGrid* g = MakeGrid(5, 5);
    auto freeGrid = FreeAtEnd(g);
    auto* edit = new TEdit(nullptr);
    auto freeEdit = FreeAtEnd(edit);
    g->SetCellControls(2, 3, edit);
    EXPECT_EQ(g->CellControls(2, 3), edit);
    EXPECT_EQ(g->ControlList()->Count(), 1);
    EXPECT_EQ(g->NumCellControls(), 1);
    EXPECT_EQ(edit->Parent(), g);
    // Placing it again replaces the entry.
    g->SetCellControls(2, 3, edit);
    EXPECT_EQ(g->ControlList()->Count(), 1);
    EXPECT_EQ(g->NumCellControls(), 1);
    g->SetCellControls(2, 3, nullptr);
    EXPECT_EQ(g->CellControls(2, 3), nullptr);
    EXPECT_EQ(g->ControlList()->Count(), 0);
    EXPECT_EQ(g->NumCellControls(), 0);
    edit->SetParent(nullptr);
}

// ---------------------------------------------------------------------------------------------
// Texts by real row

TEST(AdvGridAccessorsTest, AllCellsReadAndExtendHiddenRows) {
    TAdvStringGrid* g = MakeGrid(5, 6);
    auto freeGrid = FreeAtEnd(g);
    g->HideRow(2);
    EXPECT_EQ(g->AllCells(3, 2), String("3,2"));
    EXPECT_EQ(g->AllGridCells(3, 2), String("3,2"));
    EXPECT_EQ(g->AllCells(3, 3), String("3,3")); // shown at display row 2
    EXPECT_EQ(g->Cells(3, 2), String("3,3"));
    EXPECT_EQ(g->AllCells(-1, 3), String());
    EXPECT_EQ(g->AllCells(3, -1), String());

    ASSERT_EQ(g->HiddenRowCells(2)->Count(), 5);
    g->SetAllCells(7, 2, "seven");
    EXPECT_EQ(g->HiddenRowCells(2)->Count(), 8);
    EXPECT_EQ(g->AllCells(7, 2), String("seven"));
    g->SetAllGridCells(9, 2, "nine");
    EXPECT_EQ(g->HiddenRowCells(2)->Count(), 10);
    EXPECT_EQ(g->AllGridCells(9, 2), String("nine"));
    EXPECT_EQ(g->HiddenRowCells(3), nullptr);

    g->SetAllCells(1, 4, "x");
    EXPECT_EQ(g->Cells(1, 3), String("x"));
    g->UnHideRow(2);
    EXPECT_EQ(g->Cells(3, 2), String("3,2"));
}

TEST(AdvGridAccessorsTest, AllObjectsOfHiddenRowsSitInCellProperties) {
    TAdvStringGrid* g = MakeGrid(4, 5);
    auto freeGrid = FreeAtEnd(g);
    g->SetObjectEx(1, 2, 42);
    g->HideRow(2);
    EXPECT_EQ(g->AllObjects(1, 2), quintptr(42));
    // A slot without properties gets its own, which the hidden-row store frees.
    g->SetAllObjects(2, 2, 77);
    EXPECT_EQ(g->AllObjects(2, 2), quintptr(77));
    EXPECT_NE(dynamic_cast<TCellProperties*>(g->GetGridObjectsEx(2, 2)), nullptr);
    g->SetAllObjects(6, 2, 5); // beyond the record: extended
    EXPECT_EQ(g->AllObjects(6, 2), quintptr(5));
    g->SetAllObjects(3, 3, 9); // a shown row
    EXPECT_EQ(g->GetObjectEx(3, 2), quintptr(9));
    g->UnHideRow(2);
    EXPECT_EQ(g->GetObjectEx(2, 2), quintptr(77));
}

// ---------------------------------------------------------------------------------------------
// Selection

TEST(AdvGridAccessorsTest, SelectedCellKeysStayDistinctForEveryRow) {
    TAdvStringGrid* g = MakeGrid(5, 2);
    auto freeGrid = FreeAtEnd(g);
    g->SetRowCount(70001);
    g->MouseActions()->SetDisjunctCellSelect(true);
    const int rows[] = {32767, 32768, 65536, 70000};
    for (int r : rows) g->SetSelectedCells(3, r, true);
    ASSERT_EQ(g->SelectedCellsCount(), 4);
    for (int i = 0; i < 4; ++i) {
        SCOPED_TRACE(rows[i]);
        EXPECT_EQ(g->SelectedCell(i), TGridCoord(3, rows[i]));
        EXPECT_TRUE(g->SelectedCells(3, rows[i]));
        EXPECT_GT(TSelectedCellList::Key(3, rows[i]), 0);
    }
    // Rows 65536 and 70000 do not stand for rows 0 and 4464 (their 16-bit aliases).
    EXPECT_FALSE(g->SelectedCells(3, 0));
    EXPECT_FALSE(g->SelectedCells(3, 4464));
    EXPECT_FALSE(g->SelectedCells(3, 32766));
    // Below row 65536 a key is the 32-bit key read as unsigned.
    EXPECT_EQ(TSelectedCellList::Key(3, 32767), std::int64_t(0x7FFF0003));
    EXPECT_EQ(TSelectedCellList::Key(5, 65535), std::int64_t(0xFFFF0005u));
    // Selecting twice keeps one entry; deselecting removes it.
    g->SetSelectedCells(3, 2, true);
    g->SetSelectedCells(3, 2, true);
    EXPECT_EQ(g->SelectedCellsCount(), 5);
    EXPECT_EQ(g->SelectedCell(4), TGridCoord(3, 2));
    g->SetSelectedCells(3, 65536, false);
    EXPECT_FALSE(g->SelectedCells(3, 65536));
    EXPECT_TRUE(g->SelectedCells(3, 70000));
    EXPECT_EQ(g->SelectedCellsCount(), 4);
    g->ClearSelectedCells();
    EXPECT_EQ(g->SelectedCellsCount(), 0);
}

TEST(AdvGridAccessorsTest, RangeSelectionListsCellsColumnByColumn) {
    TAdvStringGrid* g = MakeGrid(6, 6);
    auto freeGrid = FreeAtEnd(g);
    g->SetSelection(TGridRect(2, 1, 3, 3));
    ASSERT_EQ(g->SelectedCellsCount(), 6);
    const TGridCoord want[] = {{2, 1}, {2, 2}, {2, 3}, {3, 1}, {3, 2}, {3, 3}};
    for (int i = 0; i < 6; ++i) EXPECT_EQ(g->SelectedCell(i), want[i]) << i;
    EXPECT_TRUE(g->SelectedCells(3, 3));
    EXPECT_FALSE(g->SelectedCells(4, 3));
    EXPECT_EQ(g->SelectedColCount(), 2);
    EXPECT_EQ(g->SelectedRowCount(), 3);
    // A single cell counts the current cell.
    g->SetSelection(TGridRect(4, 4, 4, 4));
    ASSERT_EQ(g->SelectedCellsCount(), 1);
    EXPECT_EQ(g->SelectedCell(0), TGridCoord(g->Col(), g->Row()));
}

TEST(AdvGridAccessorsTest, SelectedRowsAndMergedCounts) {
    TAdvStringGrid* g = MakeGrid(6, 10);
    auto freeGrid = FreeAtEnd(g);
    g->SetSelection(TGridRect(1, 3, 1, 5));
    EXPECT_EQ(g->SelectedRow(0), 3);
    EXPECT_EQ(g->SelectedRow(2), 5);
    EXPECT_EQ(g->SelectedRow(3), -1);
    EXPECT_EQ(g->SelectedRow(-1), -1);
    // The top cell is the base of a vertical area of three rows.
    g->MergeCells(2, 4, 1, 3);
    g->SetSelection(TGridRect(2, 4, 2, 4));
    EXPECT_EQ(g->SelectedRowCount(), 3);
    // A horizontal area of two columns.
    g->MergeCells(3, 1, 2, 1);
    g->SetSelection(TGridRect(3, 1, 3, 1));
    EXPECT_EQ(g->SelectedColCount(), 2);
    // Fixed footer rows are not counted.
    g->SetFixedFooters(2);
    g->SetSelection(TGridRect(1, 6, 1, 9));
    EXPECT_EQ(g->SelectedRowCount(), 2);
}

// ---------------------------------------------------------------------------------------------
// Columns, order, zooming

TEST(AdvGridAccessorsTest, ColumnsByHeaderWidthAndOrder) {
    TAdvStringGrid* g = MakeGrid(5, 3);
    auto freeGrid = FreeAtEnd(g);
    g->SetCells(3, 0, "Name");
    g->HideColumn(3);
    EXPECT_EQ(g->ColumnByHeader("Name"), 3);
    EXPECT_EQ(g->ColumnByHeader("name"), -1);
    g->SetColWidths(3, 40); // real column 4 at display position 3
    EXPECT_EQ(g->AllColWidths(4), 40);
    g->SetAllColWidths(3, 55); // hidden: remembered only
    EXPECT_EQ(g->AllColWidths(3), 55);
    EXPECT_EQ(g->ColWidths(3), 40);
    g->SetAllColWidths(4, 30);
    EXPECT_EQ(g->ColWidths(3), 30);
    g->ResetColumnOrder();
    EXPECT_EQ(g->NumHiddenColumns(), 0);
    EXPECT_EQ(g->ColWidths(3), 55);
    EXPECT_EQ(g->ColumnAtPosition(2), 2);
    EXPECT_EQ(g->ColumnPosition(4), 4);
    EXPECT_EQ(g->OriginalCells(1, 1), String("1,1"));
    EXPECT_EQ(g->UnSortedRowIndex(2), 2);
    EXPECT_EQ(g->SortedRowIndex(2), 2);
    EXPECT_EQ(g->UnSortedCells(2, 1), String("2,1"));
}

TEST(AdvGridAccessorsTest, ZoomStaysInsideItsRangeAndKeepsSizesAboveZero) {
    TAdvStringGrid* g = MakeGrid(3, 3);
    auto freeGrid = FreeAtEnd(g);
    g->SetColWidths(1, 1);
    g->SetColWidths(2, 50);
    g->SetRowHeights(1, 20);
    g->Zoom(-2);
    EXPECT_EQ(g->ZoomFactor, -2);
    EXPECT_EQ(g->ColWidths(1), 1);
    EXPECT_EQ(g->ColWidths(2), 48);
    EXPECT_EQ(g->RowHeights(1), 18);
    g->ZoomFactor = 9;
    g->Zoom(3);
    EXPECT_EQ(g->ZoomFactor, 9);
    EXPECT_EQ(g->ColWidths(2), 48);
    g->Zoom(1);
    EXPECT_EQ(g->ZoomFactor, 10);
    EXPECT_EQ(g->ColWidths(2), 49);
}

TEST(AdvGridAccessorsTest, CurrentCellAndTextHelpers) {
    TAdvStringGrid* g = MakeGrid(5, 5);
    auto freeGrid = FreeAtEnd(g);
    g->SetCells(2, 2, "<b>12</b><br>line");
    EXPECT_EQ(g->StrippedCells(2, 2), String("12\r\nline"));
    g->SetCells(3, 2, "a\r\nb\r\nc");
    EXPECT_EQ(g->LinesInCell(3, 2), 3);
    g->MergeCells(1, 1, 2, 2);
    g->SetCol(2);
    g->SetRow(2);
    g->SetCurrentCell("base");
    EXPECT_EQ(g->Cells(1, 1), String("base"));
    EXPECT_EQ(g->CurrentCell(), String("base"));
    EXPECT_EQ(g->GetCurrentCellText(), String("base"));
}

TEST(AdvGridAccessorsTest, DisplayTextIsTheFormattedText) {
    TAdvStringGrid* g = MakeGrid(3, 3);
    auto freeGrid = FreeAtEnd(g);
    g->SetCells(1, 1, "12");
    g->SetCells(2, 1, "twelve");
    EXPECT_EQ(g->DisplCells(1, 1), String("12"));
    g->OnGetFloatFormat = [](TObject*, int, int, bool&, String& Fmt) { Fmt = "%4d"; };
    EXPECT_EQ(g->DisplCells(1, 1), String("  12"));
    EXPECT_EQ(g->DisplCells(2, 1), String("twelve"));
    EXPECT_EQ(g->Cells(1, 1), String("12")) << "the stored text stays";
}

TEST(AdvGridAccessorsTest, CursorAndIntegralHeightWriters) {
    TAdvStringGrid* g = MakeGrid(2, 5);
    auto freeGrid = FreeAtEnd(g);
    g->SetCursor(crHandPoint);
    EXPECT_EQ(g->Cursor(), crHandPoint);
    // Switching IntegralHeight on cuts the present height at once, to whole rows of 22 (and
    // the single border); switching it off keeps the height until the next resize.
    g->SetBounds(0, 0, 400, 100);
    EXPECT_EQ(g->Height(), 100);
    g->SetIntegralHeight(true);
    EXPECT_TRUE(g->IntegralHeight());
    EXPECT_EQ(g->Height(), 92);
    g->SetIntegralHeight(false);
    EXPECT_EQ(g->Height(), 92);
}

namespace {

class TSizingGrid : public TAdvStringGrid {
public:
    using TAdvStringGrid::GetSizingState;
    using TAdvStringGrid::TAdvStringGrid;
};

} // namespace

TEST(AdvGridAccessorsTest, SizingEventsNameTheCellBeforeTheLineAndMayRefuse) {
    TForm* form = new TForm(nullptr);
    auto freeForm = FreeAtEnd(form);
    form->SetBounds(100, 100, 600, 400);
    auto* g = new TSizingGrid(form);
    g->SetParent(form);
    g->SetBounds(10, 10, 500, 300);
    g->SetColCount(5);
    g->SetRowCount(6);
    TGridOptions o = g->Options();
    o.insert(goColSizing);
    o.insert(goRowSizing);
    g->SetOptions(o);
    form->Show();
    Application->ProcessMessages();

    std::vector<int> cols, rows;
    bool allowCols = true, allowRows = true;
    g->OnColumnSize = [&](TObject*, int ACol, bool& Allow) {
        cols.push_back(ACol);
        Allow = allowCols;
    };
    g->OnRowSize = [&](TObject*, int ARow, bool& Allow) {
        rows.push_back(ARow);
        Allow = allowRows;
    };
    auto state = [&](int X, int Y) {
        TGridState s = gsNormal;
        int index = -1, pos = 0, ofs = 0;
        g->GetSizingState(X, Y, s, index, pos, ofs);
        return s;
    };
    // On the line right of column 2 in the header row: the column left of it is named.
    const int lineX = g->CellRect(2, 0).Right;
    EXPECT_EQ(state(lineX, 10), gsColSizing);
    EXPECT_EQ(cols, std::vector<int>{2});
    allowCols = false;
    EXPECT_EQ(state(lineX, 10), gsNormal);
    // The same line in a data row (where the platform grid sizes nothing) asks nobody.
    cols.clear();
    allowCols = true;
    EXPECT_EQ(state(lineX, g->CellRect(2, 3).Top + 5), gsNormal);
    EXPECT_TRUE(cols.empty());
    // On the line below row 3 in the fixed column: the row above it is named.
    const int lineY = g->CellRect(0, 3).Bottom;
    rows.clear();
    EXPECT_EQ(state(5, lineY), gsRowSizing);
    EXPECT_EQ(rows, std::vector<int>{3});
    allowRows = false;
    EXPECT_EQ(state(5, lineY), gsNormal);
    rows.clear();
    EXPECT_EQ(state(g->CellRect(3, 3).Left + 5, lineY), gsNormal);
    EXPECT_TRUE(rows.empty()) << "a data column asks nobody";
}
