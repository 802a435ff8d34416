// The grid's cell text geometry: insets, where rotated text starts in each quadrant and
// alignment, and the line counts of rows and columns.
#include "AdvGrid.h"
#include "AdvGridTestSupport.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

TAdvGridPtr MakeGrid(int Cols, int Rows) {
    return MakeAdvGrid(Cols, Rows);
}

TEST(AdvGridTextGeometryTest, TotalOffsetsCountTheInsetOnceOrTwice) {
    auto g = MakeGrid(3, 3);
    g->XYOffset = TPoint(2, 3);
    EXPECT_EQ(g->TotalXOffset(), 4);
    EXPECT_EQ(g->TotalYOffset(), 6);
    g->XYOffsetTopLeftOnly = true;
    EXPECT_EQ(g->TotalXOffset(), 2);
    EXPECT_EQ(g->TotalYOffset(), 3);
}

// R = (10, 20, 110, 70): W 100, H 50; A 30, B 8, C 12, D 6 (so half(H - D - C) = 16).
TEST(AdvGridTextGeometryTest, AlignRotatedTextOverTheFourQuadrantsAndTheAlignments) {
    struct TCase {
        int Angle;
        int Left[3]; // taLeftJustify, taRightJustify, taCenter
        int Top[3];  // vtaTop, vtaCenter, vtaBottom
    };
    const TCase cases[] = {
        {45, {10, 72, 41}, {32, 48, 64}},
        {135, {40, 102, 71}, {38, 54, 70}},
        {225, {48, 110, 79}, {26, 42, 58}},
        {315, {18, 80, 49}, {20, 36, 52}},
        // The quadrant borders: 90 is still the first, 91 the second; negative angles are in the
        // first and angles above 360 in the fourth.
        {90, {10, 72, 41}, {32, 48, 64}},
        {91, {40, 102, 71}, {38, 54, 70}},
        {-45, {10, 72, 41}, {32, 48, 64}},
        {400, {18, 80, 49}, {20, 36, 52}},
    };
    const TAlignment ha[] = {taLeftJustify, taRightJustify, taCenter};
    const TVAlignment va[] = {vtaTop, vtaCenter, vtaBottom};
    for (const TCase& c : cases) {
        for (int i = 0; i < 3; ++i) {
            SCOPED_TRACE(testing::Message() << "angle " << c.Angle << " alignment " << i);
            TRect r(10, 20, 110, 70);
            TAdvStringGrid::AlignRotatedText(r, ha[i], va[i], c.Angle, 30, 8, 12, 6);
            EXPECT_EQ(r.Left, c.Left[i]);
            EXPECT_EQ(r.Top, c.Top[i]);
            EXPECT_EQ(r.Right, 110);
            EXPECT_EQ(r.Bottom, 70);
        }
    }
}

TEST(AdvGridTextGeometryTest, CentringTruncatesTowardZero) {
    // W - B - A = 10 - 0 - 13 = -3: half is -1, not -2.
    TRect r(100, 0, 110, 10);
    TAdvStringGrid::AlignRotatedText(r, taCenter, vtaTop, 0, 13, 0, 0, 0);
    EXPECT_EQ(r.Left, 99);
    // H - D - C = 10 - 13 - 0 = -3 in the fourth quadrant.
    r = TRect(0, 50, 10, 60);
    TAdvStringGrid::AlignRotatedText(r, taLeftJustify, vtaCenter, 300, 0, 0, 0, 13);
    EXPECT_EQ(r.Top, 49);
}

TEST(AdvGridTextGeometryTest, PlaceRotatedTextShrinksTheRectangleAndPlacesTheStart) {
    auto g = MakeGrid(3, 3);
    // Upright text, left and top: the start is the shrunk corner.
    TRect r(0, 0, 100, 40);
    g->PlaceRotatedText(r, 0, "Rotated", taLeftJustify, vtaTop);
    EXPECT_EQ(r, TRect(2, 2, 98, 38));
    // Turned by 90 degrees, at the bottom: the height's vertical extent truncates to 0, so the
    // start is the shrunk bottom edge.
    r = TRect(0, 0, 100, 40);
    g->PlaceRotatedText(r, 90, "Rotated", taLeftJustify, vtaBottom);
    EXPECT_EQ(r.Top, 38);
    EXPECT_EQ(r.Left, 2);
    // Right-aligned upright text ends at the shrunk right edge.
    r = TRect(0, 0, 100, 40);
    g->PlaceRotatedText(r, 0, "Rotated", taRightJustify, vtaTop);
    EXPECT_EQ(r.Left, 98 - g->Canvas()->TextWidth("Rotated"));
}

TEST(AdvGridTextGeometryTest, MaxLinesInRowCountsShownCellsOnlyWithMultilineCells) {
    auto g = MakeGrid(4, 2);
    g->SetCells(0, 1, "a");
    g->SetCells(1, 1, "b\rc");
    g->SetCells(2, 1, "");
    g->SetCells(3, 1, "x\ry\rz");
    EXPECT_EQ(g->MaxLinesInRow(1), 1) << "one line without Multilinecells";
    g->Multilinecells = true;
    EXPECT_EQ(g->MaxLinesInRow(1), 3) << "the last column counts";
    EXPECT_EQ(g->MaxLinesInRow(0), 1) << "an empty row has one line";
    g->HideColumn(3);
    EXPECT_EQ(g->MaxLinesInRow(1), 2) << "a hidden column does not count";
    g->HideColumn(1);
    g->SetCells(2, 1, "1\r2\r3\r4");
    EXPECT_EQ(g->MaxLinesInRow(1), 4) << "the last shown column after hiding";
}

TEST(AdvGridTextGeometryTest, MaxLinesInRowOfAGridWithoutColumnsIsOne) {
    auto g = MakeGrid(3, 2);
    g->Multilinecells = true;
    g->SetColCount(0);
    EXPECT_EQ(g->MaxLinesInRow(0), 1);
}

TEST(AdvGridTextGeometryTest, MaxLineLengthInColTakesTheLongestLineOfTheExportTexts) {
    auto g = MakeGrid(3, 4);
    g->SetCells(1, 1, "ab");
    g->SetCells(1, 2, "abcd\rx");
    g->SetCells(1, 3, "abc\r\nabcdefg");
    EXPECT_EQ(g->MaxLineLengthInCol(1), 4) << "only the first lines without Multilinecells";
    g->Multilinecells = true;
    EXPECT_EQ(g->MaxLineLengthInCol(1), 7);
    EXPECT_EQ(g->MaxLineLengthInCol(2), 0) << "an empty column";
}

} // namespace
