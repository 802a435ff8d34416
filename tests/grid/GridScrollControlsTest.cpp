// The metro scroll control over a grid (thumb sizes and places, pixels, paging and dragging) and
// the header drag button (its window, its place in the grid, its caption painted plain with an
// ellipsis or as markup).
#include "AdvGrid.h"

#include "Forms.h"
#include "GridScrollControls.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

class ScrollControlTest : public ::testing::Test {
protected:
    void SetUp() override {
        Form = new TForm(nullptr);
        Form->SetClientSize(600, 500);
        Grid = new TAdvStringGrid(Form);
        Grid->SetParent(Form);
        Grid->SetScrollBars(ssNone);
        Grid->SetBorderStyle(bsNone);
        Grid->SetBounds(0, 0, 400, 400);
        Bar = new TScrollControl(Grid);
        Bar->SetParent(Grid);
        Bar->SetBounds(394, 0, 6, 400);
        Form->Show();
    }
    void TearDown() override { TObject::Free(Form); }
    // Rows of one height with FixedRows fixed ones.
    void Rows(int Count, int Fixed, int Height) {
        Grid->SetDefaultRowHeight(Height);
        Grid->SetFixedRowHeight(Height);
        Grid->SetRowCount(Count);
        Grid->SetFixedRows(Fixed);
        for (int i = 0; i < Count; ++i) Grid->SetRowHeights(i, Height);
    }
    std::pair<int, int> Thumb() {
        int start = -1, size = -1;
        EXPECT_TRUE(Bar->ThumbGeometry(start, size));
        return {start, size};
    }
    // The control painted over lime: the thumb's pixels and lime where the grid shows through.
    QImage Painted() {
        TBitmap bmp;
        bmp.SetSize(Bar->Width(), Bar->Height());
        bmp.Canvas()->Brush()->SetColor(clLime);
        bmp.Canvas()->FillRect(Rect(0, 0, Bar->Width(), Bar->Height()));
        Bar->Perform(WM_PAINT, WPARAM(bmp.Canvas()), 0);
        return bmp.Image().convertToFormat(QImage::Format_RGB32);
    }

    TForm* Form = nullptr;
    TAdvStringGrid* Grid = nullptr;
    TScrollControl* Bar = nullptr;
};

TEST_F(ScrollControlTest, VerticalThumbSizesAndPlaces) {
    struct Case {
        const char* What;
        int Count, Fixed, Height, TopRow;
        int Start, Size;
    } cases[] = {
        // 100 data rows, 20 visible, a 400-pixel track.
        {"a fifth of the track", 100, 0, 20, 0, 0, 80},
        // Fixed row 20 high: track 380, 19 visible of 101 -> 71.48.
        {"below the fixed row", 101, 1, 20, 1, 20, 71},
        {"halfway", 101, 1, 20, 51, 20 + 190, 71},
        // 1000 rows, 10 visible: 4 pixels grow to the least thumb.
        {"never below 20", 1000, 0, 40, 0, 0, 20},
        // 396 + 20 passes the control's 400: moved up to end at its bottom.
        {"kept inside", 1000, 0, 40, 990, 380, 20},
    };
    for (const Case& c : cases) {
        Rows(c.Count, c.Fixed, c.Height);
        Grid->SetTopRow(c.TopRow);
        ASSERT_EQ(Grid->TopRow(), c.TopRow) << c.What;
        EXPECT_EQ(Thumb(), std::make_pair(c.Start, c.Size)) << c.What;
    }
}

TEST_F(ScrollControlTest, HorizontalThumbAndFooters) {
    Bar->SetDirection(sdHorizontal);
    Bar->SetBounds(0, 394, 400, 6);
    Grid->SetDefaultColWidth(40);
    Grid->SetColCount(50);
    for (int i = 0; i < 50; ++i) Grid->SetColWidths(i, 40);
    // Track 400 - 40 (fixed column 0); 9 visible of 50 -> 64.8.
    EXPECT_EQ(Thumb(), std::make_pair(40, 65));
    // A fixed right column shortens the track by its width (320 left); the visible count is the
    // grid's own.
    Grid->SetFixedRightCols(1);
    const int visible = Grid->VisibleColCount();
    EXPECT_EQ(Thumb().second, std::max(20, int(Round(320.0 * visible / 50))));

    // Footer rows shorten the vertical track.
    Bar->SetDirection(sdVertical);
    Bar->SetBounds(394, 0, 6, 400);
    Rows(100, 0, 20);
    Grid->SetFixedFooters(2);
    EXPECT_EQ(Thumb().second, int(Round(360.0 * Grid->VisibleRowCount() / 100)));
}

TEST_F(ScrollControlTest, OnlyTheThumbIsPaintedAndOnlyWhenRowsAreHidden) {
    Rows(100, 0, 20);
    Grid->SetTopRow(0);
    Bar->SetColor(clNavy);
    QImage img = Painted();
    // The thumb: ScrollWidth (4) wide from the top, 80 long; the rest shows the grid.
    EXPECT_EQ(img.pixel(0, 0), qRgb(0, 0, 0x80));
    EXPECT_EQ(img.pixel(3, 79), qRgb(0, 0, 0x80));
    EXPECT_EQ(img.pixel(4, 10), qRgb(0, 0xFF, 0));
    EXPECT_EQ(img.pixel(0, 80), qRgb(0, 0xFF, 0));

    // Every row visible: nothing drawn at all.
    Rows(10, 1, 20);
    img = Painted();
    for (int y = 0; y < img.height(); y += 7)
        for (int x = 0; x < img.width(); ++x) ASSERT_EQ(img.pixel(x, y), qRgb(0, 0xFF, 0)) << x << "," << y;

    // Without a grid: no thumb, no answer.
    TScrollControl loose(nullptr);
    int s = 0, z = 0;
    EXPECT_FALSE(loose.ThumbGeometry(s, z));
    EXPECT_FALSE(loose.ThumbShown());
}

TEST_F(ScrollControlTest, PressesPageAndTheThumbDrags) {
    Rows(101, 1, 20); // 19 visible, thumb 71 long
    Grid->SetTopRow(30);
    const auto [start, size] = Thumb();
    ASSERT_GT(start, 30);

    // Above the thumb: a page up, never above the first data row.
    SimulateClick(Bar, 2, start - 5);
    EXPECT_EQ(Grid->TopRow(), 11);
    const int start2 = Thumb().first;
    SimulateClick(Bar, 2, start2 - 1);
    EXPECT_EQ(Grid->TopRow(), 1);
    // Below it: a page down, never past the last page.
    SimulateClick(Bar, 2, Thumb().first + Thumb().second + 2);
    EXPECT_EQ(Grid->TopRow(), 20);
    Grid->SetTopRow(80);
    SimulateClick(Bar, 2, 399);
    EXPECT_EQ(Grid->TopRow(), 101 - 19);

    // Dragging the thumb: the distance as a share of the bar beside row 0, in rows.
    Grid->SetTopRow(10);
    const int on = Thumb().first + 5;
    SimulateMouseDown(Bar, mbLeft, {}, 2, on);
    EXPECT_TRUE(Bar->DownOnScroller());
    SimulateMouseMove(Bar, {ssLeft}, 2, on + 38); // 38 / 380 x 101 = 10.1
    EXPECT_EQ(Grid->TopRow(), 20);
    SimulateMouseMove(Bar, {ssLeft}, 2, on - 200);
    EXPECT_EQ(Grid->TopRow(), 1);
    SimulateMouseUp(Bar, mbLeft, {}, 2, on - 200);
    EXPECT_FALSE(Bar->DownOnScroller());
    SimulateMouseMove(Bar, {}, 2, on + 100);
    EXPECT_EQ(Grid->TopRow(), 1);
}

// ---------------------------------------------------------------------------------------------
// The header drag button

// The dark pixels of an image (text on the light fixed-cell face).
struct TInk {
    int Left = 1 << 30, Right = -1;
    int RightTop = 1 << 30, RightBottom = -1; // of the last 5 columns with ink
};
TInk InkOf(const QImage& Img) {
    TInk k;
    auto dark = [&](int x, int y) { return qGray(Img.pixel(x, y)) < 100; };
    for (int x = 1; x < Img.width() - 1; ++x)
        for (int y = 1; y < Img.height() - 1; ++y)
            if (dark(x, y)) {
                k.Left = std::min(k.Left, x);
                k.Right = std::max(k.Right, x);
            }
    for (int x = std::max(0, k.Right - 4); x <= k.Right; ++x)
        for (int y = 1; y < Img.height() - 1; ++y)
            if (dark(x, y)) {
                k.RightTop = std::min(k.RightTop, y);
                k.RightBottom = std::max(k.RightBottom, y);
            }
    return k;
}

class DragButtonTest : public ::testing::Test {
protected:
    void SetUp() override {
        Form = new TForm(nullptr);
        Form->SetClientSize(500, 300);
        Grid = new TAdvStringGrid(Form);
        Grid->SetParent(Form);
        Form->Show();
    }
    void TearDown() override { TObject::Free(Form); }
    QImage Painted(const String& Caption, int W, int H) {
        THeaderDragButton* b = Grid->MoveButton();
        b->SetBounds(0, 0, W, H);
        b->SetCaption(Caption);
        TBitmap bmp;
        bmp.SetSize(b->ClientWidth(), b->ClientHeight());
        b->Perform(WM_PAINT, WPARAM(bmp.Canvas()), 0);
        return bmp.Image().convertToFormat(QImage::Format_RGB32);
    }
    TForm* Form = nullptr;
    TAdvStringGrid* Grid = nullptr;
};

TEST_F(DragButtonTest, MadeDisabledAndHiddenForTheGrid) {
    THeaderDragButton* b = Grid->MoveButton();
    ASSERT_TRUE(b);
    EXPECT_EQ(b->Grid(), Grid);
    EXPECT_EQ(b->Parent(), Grid);
    EXPECT_FALSE(b->Enabled());
    EXPECT_FALSE(b->Visible());
    EXPECT_EQ(b->Color(), clBtnFace);
    EXPECT_EQ(DWORD(GetWindowLong(b->Handle(), GWL_STYLE)) & (WS_POPUP | WS_BORDER), WS_POPUP | WS_BORDER);
    b->SetFlat(true);
    EXPECT_TRUE(b->Flat());
}

TEST_F(DragButtonTest, CaptionsPlainWithEllipsisOrAsMarkup) {
    // A short caption is centred.
    const TInk shortInk = InkOf(Painted(QStringLiteral("Name"), 120, 22));
    ASSERT_GE(shortInk.Right, 0);
    EXPECT_NEAR((shortInk.Left + shortInk.Right) / 2.0, 60, 4);

    // A caption too long for the button: cut, ending in the dots of an ellipsis (ink only near
    // the baseline at the end), nothing drawn past the edges.
    const TInk longInk = InkOf(Painted(QStringLiteral("Measured value of the second channel"), 90, 22));
    ASSERT_GE(longInk.Right, 0);
    EXPECT_LE(longInk.RightBottom - longInk.RightTop, 2);
    EXPECT_GT(longInk.Left, 0);

    // Markup is rendered, not shown as its tags: "<b>Name</b>" takes about the room of "Name"
    // (bold at most a few pixels wider), far less than the tags written as text.
    const TInk markup = InkOf(Painted(QStringLiteral("<b>Name</b>"), 200, 22));
    const TInk literal = InkOf(Painted(QStringLiteral("[b]Name[/b]"), 200, 22));
    const int markupWidth = markup.Right - markup.Left;
    EXPECT_LT(markupWidth + 15, literal.Right - literal.Left);
    EXPECT_NEAR(markupWidth, shortInk.Right - shortInk.Left, 6);
}

TEST(DragButtonLifeCycle, OnlyAtRunTimeAndFreedWithTheGrid) {
    std::vector<std::string> made, freed;
    TAdvStringGrid::LifeCycleTrace = [&](bool Created, const char* Name) {
        (Created ? made : freed).push_back(Name);
    };
    TObject::Free(new TAdvStringGrid(nullptr));
    TAdvStringGrid::LifeCycleTrace = nullptr;
    auto pos = [](const std::vector<std::string>& v, const char* n) {
        return int(std::find(v.begin(), v.end(), n) - v.begin());
    };
    // The scroll-hint window after the background, before the cell control list; the drag
    // button after the arrow windows; both freed once.
    EXPECT_LT(pos(made, "BackGround"), pos(made, "ScrollHintWnd"));
    EXPECT_LT(pos(made, "ScrollHintWnd"), pos(made, "ControlList"));
    EXPECT_LT(pos(made, "ArwR"), pos(made, "MoveButton"));
    EXPECT_LT(pos(made, "MoveButton"), int(made.size()));
    EXPECT_EQ(std::count(freed.begin(), freed.end(), "MoveButton"), 1);
    EXPECT_EQ(std::count(freed.begin(), freed.end(), "ScrollHintWnd"), 1);
    EXPECT_LT(pos(freed, "FocusWindow"), pos(freed, "MoveButton"));
}

} // namespace
