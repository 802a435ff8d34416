// The platform grid's paint: one DrawCell per shown cell with its state, default drawing on and
// off, the grid's colour past the last cell, grid lines by options and width, right to left.
#include "GridTestSupport.h"

namespace {

using GridPaint = GridFixture;

// Every cell of the rectangle, as (col, row) keys.
std::vector<std::pair<int, int>> Cells(int Left, int Top, int Right, int Bottom) {
    std::vector<std::pair<int, int>> v;
    for (int r = Top; r <= Bottom; ++r)
        for (int c = Left; c <= Right; ++c) v.emplace_back(c, r);
    return v;
}

std::vector<std::pair<int, int>> Drawn(const TTestGrid* G) {
    std::vector<std::pair<int, int>> v;
    for (const auto& [cell, count] : G->DrawCounts) {
        EXPECT_EQ(count, 1) << cell.first << "," << cell.second;
        v.push_back(cell);
    }
    std::sort(v.begin(), v.end(),
              [](auto& a, auto& b) { return std::tie(a.second, a.first) < std::tie(b.second, b.first); });
    return v;
}

TEST_F(GridPaint, DrawCellRunsOncePerShownCellWithItsState) {
    SimulateKey(Grid, VK_RIGHT, {ssShift}); // current (1, 1), the range to (2, 1)
    PaintNow();
    // Columns 0-3 (3 cut), rows 0-3: row 4 starts below the client area.
    EXPECT_EQ(Drawn(Grid), Cells(0, 0, 3, 3));
    EXPECT_EQ(Grid->StateOf(0, 0), TGridDrawState{gdFixed});
    EXPECT_EQ(Grid->StateOf(2, 0), TGridDrawState{gdFixed});
    EXPECT_EQ(Grid->StateOf(1, 1), (TGridDrawState{gdSelected, gdFocused}));
    EXPECT_EQ(Grid->StateOf(2, 1), TGridDrawState{gdSelected});
    EXPECT_EQ(Grid->StateOf(2, 2), TGridDrawState{});
    EXPECT_EQ(Grid->RectOf(1, 1), Grid->CellRect(1, 1));
    EXPECT_EQ(Grid->RectOf(3, 1), TRect(195, 25, 259, 49)); // the whole cell, not only what shows

    Grid->SetLeftCol(3);
    Grid->SetTopRow(2);
    PaintNow();
    std::vector<std::pair<int, int>> expected;
    for (int r : {0, 2, 3, 4})
        for (int c : {0, 3, 4}) expected.emplace_back(c, r);
    EXPECT_EQ(Drawn(Grid), expected);

    // Unfocused, the current cell is not drawn focused.
    Other->SetFocus();
    Grid->SetLeftCol(1);
    Grid->SetTopRow(1);
    PaintNow();
    EXPECT_EQ(Grid->StateOf(1, 1), TGridDrawState{gdSelected});
}

TEST_F(GridPaint, RowSelectMarksWholeRows) {
    AddOptions({goRowSelect});
    Grid->SetRow(2);
    PaintNow();
    EXPECT_EQ(Grid->StateOf(3, 2), (TGridDrawState{gdSelected, gdRowSelected}));
    EXPECT_EQ(Grid->StateOf(0, 2), TGridDrawState{gdFixed});
    EXPECT_EQ(Grid->StateOf(1, 1), TGridDrawState{});
    EXPECT_EQ(Grid->Selection(), TGridRect(1, 2, 4, 2));
    RemoveOptions({goRowSelect});
    EXPECT_EQ(Grid->Selection(), TGridRect(1, 2, 1, 2));
}

// Pixels of a rectangle that differ from Color.
int PixelsOtherThan(TTestGrid* G, const TRect& R, TColor Color) {
    int n = 0;
    const QImage& img = G->BackImage();
    const TColor want = ColorToRGB(Color);
    for (int y = R.Top; y < R.Bottom; ++y)
        for (int x = R.Left; x < R.Right; ++x) {
            const QRgb p = img.pixel(x, y);
            if (RGB(qRed(p), qGreen(p), qBlue(p)) != want) ++n;
        }
    return n;
}

// Without default drawing the cells are left to DrawCell: the grid paints nothing over what
// lies beneath them, here the window erased to its colour (as a new or resized window is).
TEST_F(GridPaint, WithoutDefaultDrawingTheGridDrawsNoTextAndNoFocusRectangle) {
    Grid->SetCells(1, 1, QStringLiteral("MMMM"));
    Grid->SetCells(2, 2, QStringLiteral("MMMM"));
    PaintNow();
    EXPECT_GT(PixelsOtherThan(Grid, Grid->CellRect(1, 1), clWindow), 0); // text and focus rectangle
    EXPECT_GT(PixelsOtherThan(Grid, Grid->CellRect(2, 2), clWindow), 0); // text
    Grid->SetDefaultDrawing(false);
    InvalidateRect(Grid->Handle(), nullptr, true);
    PaintNow();
    EXPECT_EQ(PixelsOtherThan(Grid, Grid->CellRect(1, 1), clWindow), 0);
    EXPECT_EQ(PixelsOtherThan(Grid, Grid->CellRect(2, 2), clWindow), 0);
    EXPECT_EQ(Grid->DrawCounts.size(), 16u); // the cells are still asked to draw themselves
}

TEST_F(GridPaint, TheGridsColourFillsPastTheLastCell) {
    Grid->SetColCount(2);
    Grid->SetRowCount(2);
    Grid->SetColor(clYellow);
    PaintNow();
    EXPECT_EQ(PixelAt(150, 10), clYellow);
    EXPECT_EQ(PixelAt(199, 99), clYellow);
    EXPECT_EQ(PixelAt(10, 80), clYellow);
    EXPECT_EQ(PixelAt(100, 30), clYellow); // inside the current cell (not highlighted)
    EXPECT_EQ(PixelAt(30, 12), ColorToRGB(clBtnFace));
}

// A line switched off keeps its room, painted in the grid's colour: the old line does not stay.
TEST_F(GridPaint, GridLinesFollowTheOptionsAndTheWidth) {
    PaintNow();
    EXPECT_EQ(PixelAt(64, 40), clBlack);  // the fixed column's line
    EXPECT_EQ(PixelAt(100, 24), clBlack); // the fixed row's line
    EXPECT_EQ(PixelAt(129, 60), clSilver);
    EXPECT_EQ(PixelAt(160, 49), clSilver);

    RemoveOptions({goVertLine});
    PaintNow();
    EXPECT_EQ(PixelAt(129, 60), ColorToRGB(clWindow)); // the room stays, nothing drawn in it
    EXPECT_EQ(PixelAt(64, 40), clBlack);
    EXPECT_EQ(Grid->CellRect(2, 2), TRect(130, 50, 194, 74));

    Grid->SetGridLineWidth(3);
    PaintNow();
    for (int x : {64, 65, 66}) EXPECT_EQ(PixelAt(x, 40), clBlack) << x;
    EXPECT_EQ(Grid->CellRect(1, 1), TRect(67, 27, 131, 51));

    RemoveOptions({goFixedVertLine, goFixedHorzLine, goHorzLine});
    EXPECT_EQ(Grid->CellRect(1, 1), TRect(64, 24, 128, 48)); // no line option: no line room
}

TEST_F(GridPaint, RightToLeftPaintsFromTheRight) {
    RightToLeft();
    PaintNow();
    EXPECT_EQ(PixelAt(170, 12), ColorToRGB(clBtnFace)); // the fixed corner, now at the right
    EXPECT_EQ(PixelAt(135, 40), clBlack);               // its line
    EXPECT_EQ(Grid->RectOf(1, 1), TRect(71, 25, 135, 49));
}

} // namespace
