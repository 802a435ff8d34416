// The grid control's column and row statistics, the footer sums they feed, the selection's text,
// automatic numbering, sizing to the contents, fitting the columns and exchanging columns and rows.
#include "AdvGrid.h"
#include "AdvGridTestSupport.h"
#include "AdvShownGridFixture.h"

#include "Forms.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <vector>

namespace {

// A grid with one fixed row whose column 1 holds Values from row 1 on.
TAdvGridPtr MakeColumnGrid(const std::vector<String>& Values, int Cols = 3) {
    TAdvGridPtr g = MakeAdvGrid(Cols, int(Values.size()) + 1);
    g->SetFixedRows(1);
    for (size_t i = 0; i < Values.size(); ++i) g->SetCells(1, int(i) + 1, Values[i]);
    return g;
}

} // namespace

// ---------------------------------------------------------------------------------------------
// Statistics

TEST(AdvGridCalcTest, ColumnStatisticsOverTheDataRows) {
    TAdvGridPtr g = MakeColumnGrid({"3", "1.5", "x", "", "7", "100"});
    g->SetFixedFooters(1); // the "100" row is a footer row
    EXPECT_DOUBLE_EQ(g->ColumnSum(1, -1, -1), 11.5) << "no number skipped, empty counts 0";
    EXPECT_DOUBLE_EQ(g->ColumnMin(1, -1, -1), 0);
    EXPECT_DOUBLE_EQ(g->ColumnMax(1, -1, -1), 7);
    EXPECT_DOUBLE_EQ(g->ColumnAvg(1, -1, -1), 11.5 / 5) << "every row of the range counts";
    EXPECT_DOUBLE_EQ(g->ColumnSum(1, 1, 2), 4.5);
    EXPECT_DOUBLE_EQ(g->ColumnAvg(1, 3, 2), 0) << "an empty range";
    // The first row of Min and Max is read as it is: a text there is the caller's error.
    EXPECT_THROW(g->ColumnMin(1, 3, 5), EAdvGridError);
    EXPECT_THROW(g->ColumnMax(1, 3, 5), EAdvGridError);
    EXPECT_DOUBLE_EQ(g->ColumnMax(1, 2, 5), 7) << "later texts are skipped";
}

TEST(AdvGridCalcTest, DeviationAndDistinctValues) {
    TAdvGridPtr g = MakeColumnGrid({"2", "4", "4", "4", "5", "5", "7", "9"});
    EXPECT_DOUBLE_EQ(g->ColumnStdDev(1, -1, -1), 2);
    g->SetCells(1, 3, "x");
    EXPECT_THROW(g->ColumnStdDev(1, -1, -1), EAdvGridError);
    TAdvGridPtr d = MakeColumnGrid({"a", "A", "", "b"});
    EXPECT_DOUBLE_EQ(d->ColumnDistinct(1, -1, -1), 3);
}

TEST(AdvGridCalcTest, MergedCellsCountOnceAndHiddenRowsOnlyPastTheShownRows) {
    TAdvGridPtr g = MakeColumnGrid({"1", "2", "4", "8", "16"});
    g->MergeCells(1, 2, 1, 2); // rows 2 and 3: only the base cell counts
    EXPECT_DOUBLE_EQ(g->ColumnSum(1, 1, 4), 1 + 2 + 8);
    EXPECT_DOUBLE_EQ(g->ColumnAvg(1, 1, 4), 11.0 / 4);
    g->SplitCells(1, 2);
    g->HideRows(3, 3); // "4"
    EXPECT_DOUBLE_EQ(g->ColumnSum(1, 1, 4), 1 + 2 + 8 + 16) << "shown rows";
    EXPECT_DOUBLE_EQ(g->ColumnSum(1, 1, 5), 31) << "real rows, the hidden one included";
    EXPECT_DOUBLE_EQ(g->ColumnMax(1, 1, 5), 16);
}

TEST(AdvGridCalcTest, ExportProgressIsClosedAlsoWhenThePassFails) {
    struct TProbe : TAdvStringGrid {
        using TAdvStringGrid::TAdvStringGrid;
        std::vector<TGridExportState> States;
        void ExportNotification(TGridExportState State, int) override { States.push_back(State); }
    };
    std::unique_ptr<TProbe, TFreeAdvGrid> g(new TProbe(nullptr));
    g->SetColCount(2);
    g->SetRowCount(4);
    g->SetCells(1, 1, "x");
    EXPECT_THROW(g->ColumnMin(1, 1, 3), EAdvGridError);
    ASSERT_FALSE(g->States.empty());
    EXPECT_EQ(g->States.front(), TAdvStringGrid::esExportStart);
    EXPECT_EQ(g->States.back(), TAdvStringGrid::esExportDone);
    g->States.clear();
    EXPECT_DOUBLE_EQ(g->ColumnSum(1, 1, 3), 0);
    EXPECT_EQ(g->States.size(), 5u) << "start, three rows, done";
}

TEST(AdvGridCalcTest, RowStatisticsAndCustomCalculations) {
    TAdvGridPtr g = MakeAdvGrid(5, 2);
    const char* texts[] = {"head", "2", "x", "6", "4"};
    for (int c = 0; c < 5; ++c) g->SetCells(c, 1, texts[c]);
    EXPECT_DOUBLE_EQ(g->RowSum(1, 1, 4), 12);
    EXPECT_DOUBLE_EQ(g->RowAvg(1, 1, 4), 3);
    EXPECT_DOUBLE_EQ(g->RowAvg(1, 3, 2), 0);
    EXPECT_DOUBLE_EQ(g->RowMin(1, 1, 4), 2);
    EXPECT_DOUBLE_EQ(g->RowMax(1, 1, 4), 6);
    EXPECT_THROW(g->RowMin(1, 0, 4), EAdvGridError);
    EXPECT_DOUBLE_EQ(g->ColumnCustomCalc(1, 1, 1), 0);
    g->OnColumnCalc = [](TObject*, int ACol, int FromRow, int ToRow, double& Res) {
        Res = ACol * 100 + FromRow * 10 + ToRow;
    };
    EXPECT_DOUBLE_EQ(g->ColumnCustomCalc(2, 3, 4), 234);
    g->OnGroupCalc = [](TObject*, int, int, int, double& Res) { Res = -1; };
    EXPECT_DOUBLE_EQ(g->CustomGroupCalc(2, 3, 4), -1);
}

TEST(AdvGridCalcTest, FooterRowShowsTheColumnCalculations) {
    TAdvGridPtr g = MakeColumnGrid({"1", "2", "4", "8", "x", "footer"}, 6);
    for (int r = 1; r <= 5; ++r) {
        g->SetCells(2, r, g->Cells(1, r));
        g->SetCells(3, r, g->Cells(1, r));
    }
    g->SetCells(4, 1, "3");
    g->FloatingFooter()->SetVisible(true);
    const TColumnCalcType types[] = {acSUM, acMIN, acMAX, acAVG};
    for (int i = 0; i < 4; ++i) g->GetCellProperties(i + 1, 6)->SetCalcType(types[i]);
    g->CalcFooter(-1);
    EXPECT_EQ(g->Cells(1, 6), "15.00") << "a text is skipped";
    EXPECT_EQ(g->Cells(2, 6), "1.00");
    EXPECT_EQ(g->Cells(3, 6), "8.00");
    EXPECT_EQ(g->Cells(4, 6), "0.60") << "column 4 holds only the 3 of row 1";
    // Hidden rows count with CalculateHiddenRows, and the footer row itself never does.
    g->HideRows(2, 2);
    g->CalcFooter(1);
    EXPECT_EQ(g->Cells(1, 5), "15.00");
    g->FloatingFooter()->SetCalculateHiddenRows(false);
    g->CalcFooter(1);
    EXPECT_EQ(g->Cells(1, 5), "13.00");
    // A calculation that cannot read its first row leaves the footer cell empty.
    g->SetCells(2, 1, "y");
    EXPECT_NO_THROW(g->CalcFooter(2));
    EXPECT_EQ(g->Cells(2, 5), "");
}

// ---------------------------------------------------------------------------------------------
// Selection and numbering

TEST(AdvGridCalcTest, SelectedTextJoinsCellsByTabAndRowsByLineBreak) {
    TAdvGridPtr g = MakeAdvGrid(4, 4);
    g->SetCells(1, 1, "a");
    g->SetCells(2, 1, "b");
    g->SetCells(1, 2, "c");
    g->SetCells(2, 2, "d");
    g->SelectCells(1, 1, 2, 2);
    EXPECT_EQ(g->SelectedText(), "a\tb\r\nc\td");
    EXPECT_TRUE(g->IsSelected(2, 2));
    EXPECT_FALSE(g->IsSelected(3, 2));
    g->SetCells(2, 2, "two\r\nlines");
    g->Multilinecells = true;
    g->ExcelClipboardFormat = true;
    EXPECT_EQ(g->SelectedText(), QStringLiteral("a\tb\r\nc\t\"two\x0Blines\""));
}

TEST(AdvGridCalcTest, AutoNumberingRunsFromTheFirstDataCell) {
    struct Case {
        int start, offset;
        TSortDirection dir;
        std::vector<String> col;
    };
    const Case cases[] = {
        {0, 0, sdAscending, {"", "1", "2", "3", "4"}},
        {0, 0, sdDescending, {"", "4", "3", "2", "1"}},
        {1, 10, sdAscending, {"", "", "12", "13", "14"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.start << "/" << c.offset << "/" << c.dir);
        TAdvGridPtr g = MakeAdvGrid(3, 6);
        g->SetFixedRows(1);
        g->SetFixedFooters(1);
        g->AutoNumberStart = c.start;
        g->AutoNumberOffset = c.offset;
        g->AutoNumberDirection = c.dir;
        g->AutoNumberCol(1);
        for (int r = 0; r < 5; ++r) EXPECT_EQ(g->Cells(1, r), c.col[size_t(r)]) << r;
        EXPECT_EQ(g->Cells(1, 5), "") << "the footer row";
    }
    TAdvGridPtr g = MakeAdvGrid(4, 2);
    g->SetFixedCols(1);
    g->AutoNumberRow(1);
    EXPECT_EQ(g->Cells(1, 1), "1");
    EXPECT_EQ(g->Cells(3, 1), "3");
}

// ---------------------------------------------------------------------------------------------
// Sizing

class AdvGridSizingFixture : public AdvShownGridFixture {
protected:
    void SetUp() override {
        AdvShownGridFixture::SetUp();
        Grid->SetColCount(4);
        Grid->SetRowCount(5);
    }

    int TextWidth(const String& S, TFont* Font) {
        Probe->Canvas()->Font()->Assign(Font);
        return Probe->Canvas()->TextWidth(S);
    }
    // The width a column needs for a text: the text, the cell's inset and the grid lines.
    int Needed(const String& S, TFont* Font) {
        return TextWidth(S, Font) + Grid->TotalXOffset() + 2 * (Grid->GridLineWidth() + 1);
    }
};

TEST_F(AdvGridSizingFixture, AutoSizeColGrowsAndShrinksToTheWidestText) {
    Grid->SetCells(1, 0, "Head");
    Grid->SetCells(1, 2, "a rather long cell text");
    Grid->SetCells(1, 3, "short");
    const int needed = Needed("a rather long cell text", Grid->Font());
    ASSERT_GT(needed, 40);
    Grid->SetColWidths(1, 10);
    Grid->AutoSizeCol(1, 0);
    EXPECT_EQ(Grid->ColWidths(1), needed);
    Grid->SetColWidths(1, 500);
    Grid->AutoSizeCol(1, 0);
    EXPECT_EQ(Grid->ColWidths(1), needed) << "shrinks without SizeGrowOnly";
    Grid->AutoSizeCol(1, 7);
    EXPECT_EQ(Grid->ColWidths(1), needed + 7);

    Grid->SizeGrowOnly = true;
    Grid->SetColWidths(1, 500);
    Grid->AutoSizeCol(1, 0);
    EXPECT_EQ(Grid->ColWidths(1), 500) << "SizeGrowOnly never narrows";
    Grid->SetColWidths(1, 10);
    Grid->AutoSizeCol(1, 0);
    EXPECT_EQ(Grid->ColWidths(1), needed);
    Grid->SizeGrowOnly = false;

    Grid->MaxColWidth = 60;
    Grid->AutoSizeCol(1, 0);
    EXPECT_EQ(Grid->ColWidths(1), 60);
    Grid->MaxColWidth = 0;

    // Only the fixed rows are measured with arFixed; the fixed font measures them.
    Grid->SetFixedRows(1);
    Grid->ColumnSize()->Rows = arFixed;
    Grid->AutoSizeCol(1, 0);
    EXPECT_EQ(Grid->ColWidths(1), Needed("Head", Grid->FixedFont()));
    // The event may change the width found.
    Grid->OnUpdateColumnSize = [](TObject*, int, int& W) { W += 3; };
    Grid->AutoSizeCol(1, 0);
    EXPECT_EQ(Grid->ColWidths(1), Needed("Head", Grid->FixedFont()) + 3);
}

TEST_F(AdvGridSizingFixture, AutoSizeColumnsSizesTheNormalOrAllColumns) {
    for (int c = 0; c < 4; ++c) {
        Grid->SetColWidths(c, 5);
        Grid->SetCells(c, 1, String(c + 3, u'W'));
    }
    Grid->SetFixedCols(1);
    Grid->AutoSizeColumns(false, 0);
    EXPECT_EQ(Grid->ColWidths(0), 5);
    for (int c = 1; c < 4; ++c) EXPECT_EQ(Grid->ColWidths(c), Needed(String(c + 3, u'W'), Grid->Font())) << c;
    Grid->AutoSizeColumns(true, 0);
    EXPECT_EQ(Grid->ColWidths(0), Needed("WWW", Grid->FixedFont()));
}

TEST_F(AdvGridSizingFixture, RowsSizeByLinesOrToTheirContents) {
    Probe->Canvas()->Font()->Assign(Grid->Font());
    const int h = Probe->Canvas()->TextHeight("gh");
    Grid->SetWordWrap(false);
    Grid->Multilinecells = true;
    Grid->SetCells(1, 2, "one\rtwo\rthree");
    Grid->AutoSizeRows(false, 4);
    EXPECT_EQ(Grid->RowHeights(1), 4 + (h + h / 8));
    EXPECT_EQ(Grid->RowHeights(2), 4 + 3 * (h + h / 8));
    Grid->MinRowHeight = 40;
    Grid->MaxRowHeight = 50;
    Grid->SetRowHeightByLines(2, 10, 0);
    EXPECT_EQ(Grid->RowHeights(2), 50);
    Grid->SetRowHeightByLines(1, 1, 0);
    EXPECT_EQ(Grid->RowHeights(1), 40);
}

TEST_F(AdvGridSizingFixture, AutoSizeCellsWidensColumnsAndOnlyGrowsRows) {
    Grid->SetColWidths(1, 300);
    Grid->SetRowHeights(2, 80);
    Grid->SetCells(1, 2, "cell");
    Grid->AutoSizeCells(true, 4, 2);
    const int w = TextWidth("cell", Grid->Font()) + 4 + Grid->XYOffset.X;
    EXPECT_EQ(Grid->ColWidths(1), w) << "the column takes the widest cell";
    EXPECT_EQ(Grid->RowHeights(2), 80) << "rows only grow";
    EXPECT_FALSE(Grid->LockUpdate());
}

TEST_F(AdvGridSizingFixture, AutoFitColumnsFillsTheWidthAndLeavesDegenerateGridsAlone) {
    Grid->SetBorderStyle(bsNone);
    Grid->SetScrollBars(ssNone);
    for (int c = 0; c < 4; ++c) Grid->SetColWidths(c, 50 + 10 * c);
    Grid->AutoFitColumns(true);
    int sum = 0;
    for (int c = 0; c < 4; ++c) sum += Grid->ColWidths(c);
    EXPECT_EQ(sum, Grid->Width());
    EXPECT_GT(Grid->ColWidths(3), Grid->ColWidths(0)) << "the proportions stay";
    // Filling exactly already: nothing changes.
    std::vector<int> before;
    for (int c = 0; c < 4; ++c) before.push_back(Grid->ColWidths(c));
    Grid->AutoFitColumns(true);
    for (int c = 0; c < 4; ++c) EXPECT_EQ(Grid->ColWidths(c), before[size_t(c)]);
    // Every column 0 wide, or no column to fit: no change and no fault.
    for (int c = 0; c < 4; ++c) Grid->SetColWidths(c, 0);
    Grid->AutoFitColumns(true);
    for (int c = 0; c < 4; ++c) EXPECT_EQ(Grid->ColWidths(c), 0);
    Grid->SetColCount(2);
    Grid->SetFixedCols(1);
    Grid->SetFixedRightCols(1);
    Grid->SetColWidths(0, 30);
    Grid->AutoFitColumns(false);
    EXPECT_EQ(Grid->ColWidths(0), 30);
}

// ---------------------------------------------------------------------------------------------
// Exchanging

TEST(AdvGridSwapTest, SwappingColumnsAndRowsMovesEverythingOfThem) {
    TAdvGridPtr g = MakeAdvGrid(4, 4);
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c) g->SetCells(c, r, QStringLiteral("%1%2").arg(c).arg(r));
    g->SetColWidths(1, 11);
    g->SetColWidths(3, 33);
    g->SetColors(1, 2, clRed);
    g->SortSettings()->SetColumn(3);
    g->SwapColumns(1, 3);
    EXPECT_EQ(g->Cells(1, 2), "32");
    EXPECT_EQ(g->Cells(3, 2), "12");
    EXPECT_EQ(g->Colors(3, 2), clRed);
    EXPECT_EQ(g->ColWidths(1), 33);
    EXPECT_EQ(g->SortSettings()->Column(), 1) << "the sort column follows";

    g->SetRowHeights(0, 15);
    g->SetRowHeights(2, 40);
    g->SwapRows(0, 2);
    EXPECT_EQ(g->Cells(0, 0), "02");
    EXPECT_EQ(g->Colors(3, 0), clRed);
    EXPECT_EQ(g->RowHeights(0), 40);
    EXPECT_EQ(g->RowHeights(2), 15);
}

TEST(AdvGridSwapTest, SortExchangeKeepsItsBookkeeping) {
    TAdvGridPtr g = MakeAdvGrid(3, 5);
    for (int r = 0; r < 5; ++r)
        for (int c = 0; c < 3; ++c) g->SetCells(c, r, QStringLiteral("%1%2").arg(c).arg(r));
    for (int r = 0; r < 5; ++r) g->SortRowXRef()->Add(r);
    g->SortRow = 1;
    g->SortSwapRows(1, 3);
    EXPECT_EQ(g->Swaps, 1);
    EXPECT_EQ(g->SortRowXRef()->Items(1), 3);
    EXPECT_EQ(g->SortRowXRef()->Items(3), 1);
    EXPECT_EQ(g->SortRow, 3);
    EXPECT_EQ(g->Cells(0, 1), "03");
    EXPECT_EQ(g->Cells(2, 3), "21");
    // With a single sort column only that column's cells change places.
    g->SortSettings()->SetSingleColumn(true);
    g->SortSettings()->SetColumn(2);
    g->SortSwapRows(2, 4);
    EXPECT_EQ(g->Cells(2, 2), "24");
    EXPECT_EQ(g->Cells(0, 2), "02");
    EXPECT_EQ(g->Swaps, 2);
}
