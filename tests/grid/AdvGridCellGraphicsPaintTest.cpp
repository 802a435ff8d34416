// Painting the graphics of grid cells, on pixels: data check boxes against the check-true text in
// the classic and the themed look, check boxes and radio buttons in every control style, ratings
// and progress bars, the built-in glyphs, tiled and fixed background pictures anchored to the
// cells, the empty area beyond the last column and row, and what bad input draws (nothing).
#include "AdvGrid.h"

#include "ControlImage.h"
#include "Forms.h"
#include "ImgList.h"
#include "OSInfo.h"
#include "Resources.h"
#include "TestSupport.h"

#include <QImage>
#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace {

struct TFreeObject {
    void operator()(TObject* O) const { TObject::Free(O); }
};
template <class T> using TOwn = std::unique_ptr<T, TFreeObject>;

TColor PixelOf(const QImage& Img, int X, int Y) {
    const QRgb p = Img.pixel(X, Y);
    return TColor(qRed(p) | (qGreen(p) << 8) | (qBlue(p) << 16));
}

class CellGraphicsPaintFixture : public ::testing::Test {
protected:
    void SetUp() override {
        ResetPlatformSwitches();
        Grid.reset(new TAdvStringGrid(nullptr));
        Grid->SetColCount(5);
        Grid->SetRowCount(5);
        Canvas.reset(new TBitmap(120, 60));
    }
    void TearDown() override { ResetPlatformSwitches(); }

    // A white canvas and the painting context of cell (ACol, ARow).
    TAdvStringGrid::TCellPaintContext Context(int ACol, int ARow) {
        Canvas->Canvas()->Brush()->SetStyle(bsSolid);
        Canvas->Canvas()->Brush()->SetColor(clWhite);
        Canvas->Canvas()->FillRect(TRect(0, 0, Canvas->Width(), Canvas->Height()));
        TAdvStringGrid::TCellPaintContext ctx;
        ctx.Canvas = Canvas->Canvas();
        ctx.RealCol = ACol;
        ctx.DisplCol = ACol;
        ctx.Row = ARow;
        return ctx;
    }
    // The cell's graphic painted into CellBox on a white canvas; R is where it went.
    QImage PaintGraphic(int ACol, int ARow, TRect* Placed = nullptr) {
        auto ctx = Context(ACol, ARow);
        TRect r = CellBox;
        Grid->DrawCellGraphic(r, Grid->GetCellGraphic(ACol, ARow), Grid->VAlignment(), ctx);
        if (Placed) *Placed = r;
        return Canvas->Image().convertToFormat(QImage::Format_RGB32);
    }
    QImage Blank() {
        Context(0, 0);
        return Canvas->Image().convertToFormat(QImage::Format_RGB32);
    }

    TRect CellBox{0, 0, 120, 40};
    TOwn<TAdvStringGrid> Grid;
    TOwn<TBitmap> Canvas;
};

} // namespace

// ---------------------------------------------------------------------------------------------
// Data check boxes

TEST_F(CellGraphicsPaintFixture, DataCheckBoxIsCheckedExactlyForTheCheckTrueText) {
    for (const bool themed : {false, true}) {
        SCOPED_TRACE(themed ? "themed" : "classic");
        PlatformSwitches().VisualStylesActive = themed;
        Grid->ControlLook()->SetControlStyle(csTheme);
        Grid->AddCheckBox(1, 1, false, true);
        auto look = [&](const String& Text) {
            Grid->SetCells(1, 1, Text);
            return PaintGraphic(1, 1);
        };
        const QImage checked = look("Y"), unchecked = look("N");
        ASSERT_NE(checked, unchecked);
        ASSERT_NE(checked, Blank());
        for (const char* text : {"", "y", "Yes", " Y", "N", "1", "True"}) {
            SCOPED_TRACE(text);
            EXPECT_EQ(look(QString::fromLatin1(text)), unchecked);
        }
        // Another check-true text moves the checked state with it.
        Grid->CheckTrue = "X";
        EXPECT_EQ(look("X"), checked);
        EXPECT_EQ(look("Y"), unchecked);
        Grid->CheckTrue = "Y";
    }
    // The two looks are not the same drawing.
    PlatformSwitches().VisualStylesActive = false;
    Grid->SetCells(1, 1, "Y");
    const QImage classic = PaintGraphic(1, 1);
    PlatformSwitches().VisualStylesActive = true;
    EXPECT_NE(PaintGraphic(1, 1), classic);
}

// ---------------------------------------------------------------------------------------------
// Check boxes and radio buttons in the control styles

TEST_F(CellGraphicsPaintFixture, CheckBoxAndRadioStyles) {
    TOwn<TBitmap> on(new TBitmap(14, 14)), off(new TBitmap(14, 14));
    on->Canvas()->Brush()->SetColor(clRed);
    on->Canvas()->FillRect(TRect(2, 2, 12, 12));
    off->Canvas()->Brush()->SetColor(clBlue);
    off->Canvas()->FillRect(TRect(2, 2, 12, 12));
    Grid->ControlLook()->SetCheckedGlyph(on.get());
    Grid->ControlLook()->SetUnCheckedGlyph(off.get());
    Grid->ControlLook()->SetRadioOnGlyph(on.get());
    Grid->ControlLook()->SetRadioOffGlyph(off.get());
    const TRect box(2, 2, 24, 24);
    auto check = [&](TGridControlStyle Style, bool Checked, bool Enabled) {
        Context(0, 0);
        Grid->DrawCheck(Canvas->Canvas(), box, Checked, cbUnchecked, false, Style, false, Enabled);
        return Canvas->Image().copy(0, 0, 30, 30);
    };
    auto radio = [&](TGridControlStyle Style, bool On, bool Disabled) {
        Context(0, 0);
        Grid->DrawRadio(Canvas->Canvas(), TRect(2, 2, 40, 24), false, 1, Style, 1, 1, false, nullptr,
                        Disabled, false, On ? 0 : -1, 1);
        return Canvas->Image().copy(0, 0, 44, 30);
    };
    struct TCase {
        TGridControlStyle Style;
        const char* Name;
        bool DisabledLook; // a disabled box looks different (the themed one is the platform's)
    };
    const TCase cases[] = {
        {csClassic, "classic", true}, {csFlat, "flat", true}, {csWinXP, "XP", true},
        {csKestril, "Kestril", true}, {csKit, "kit", true},   {csGlyph, "glyph", false},
        {csTheme, "theme", true},
    };
    Context(0, 0);
    const QImage blank = Canvas->Image().copy(0, 0, 30, 30);
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        EXPECT_NE(check(c.Style, true, true), check(c.Style, false, true));
        EXPECT_NE(check(c.Style, false, true), blank);
        if (c.Style != csTheme) {
            EXPECT_EQ(check(c.Style, true, false) != check(c.Style, true, true), c.DisabledLook);
        }
        EXPECT_NE(radio(c.Style, true, false), radio(c.Style, false, false));
        // Always active: the disabled look goes.
        Grid->ControlLook()->SetNoDisabledCheckRadioLook(true);
        EXPECT_EQ(check(c.Style, true, false), check(c.Style, true, true));
        EXPECT_EQ(radio(c.Style, true, true), radio(c.Style, true, false));
        Grid->ControlLook()->SetNoDisabledCheckRadioLook(false);
    }
    // The custom glyphs themselves, transparent at the top-left.
    EXPECT_EQ(PixelOf(check(csGlyph, true, true).convertToFormat(QImage::Format_RGB32), 8, 8), clRed);
    EXPECT_EQ(PixelOf(check(csGlyph, false, true).convertToFormat(QImage::Format_RGB32), 8, 8), clBlue);
    // Without visual styles the themed look is the classic one.
    PlatformSwitches().VisualStylesActive = false;
    EXPECT_EQ(check(csTheme, true, true), check(csClassic, true, true));
    EXPECT_EQ(radio(csTheme, true, false), radio(csClassic, true, false));
    // Empty glyphs draw nothing.
    TOwn<TBitmap> empty(new TBitmap);
    Grid->ControlLook()->SetCheckedGlyph(empty.get());
    Grid->ControlLook()->SetRadioOnGlyph(empty.get());
    EXPECT_EQ(check(csGlyph, true, true), blank);
    Context(0, 0);
    const QImage nothing = Canvas->Image().copy(0, 0, 44, 30);
    EXPECT_EQ(radio(csGlyph, true, false), nothing);
}

TEST_F(CellGraphicsPaintFixture, BuiltInGlyphsHaveTheirSizesAndTransparentCorners) {
    struct TGlyph {
        const char* Name;
        int Size;
    };
    const TGlyph glyphs[] = {
        {"ASGCHK01", 20},      {"ASGCHK02", 20},     {"ASGCHK03", 20},      {"ASGCHK04", 20},
        {"ASGCHK05", 16},      {"ASGCHK06", 16},     {"ASGCHK07", 16},      {"ASGCHK08", 16},
        {"ASGRAD01", 16},      {"ASGRAD02", 16},     {"ASGRAD03", 16},      {"ASGRAD04", 16},
        {"ASGRAD05", 16},      {"ASGRAD06", 16},     {"ASGRAD07", 16},      {"ASGRAD08", 16},
        {"ASGLEAFOPEN", 16},   {"ASGLEAFCLOSE", 16}, {"XPNODEO", 9},        {"XPNODEC", 9},
        {"ASGFILT", 16},       {"metrocheckon", 16}, {"metrocheckoff", 16}, {"metroradioon", 16},
        {"metroradiooff", 16},
    };
    for (const TGlyph& g : glyphs) {
        SCOPED_TRACE(g.Name);
        const QImage img = LoadResourceImage(QString::fromLatin1(g.Name));
        EXPECT_EQ(img.width(), g.Size);
        EXPECT_EQ(img.height(), g.Size);
        // Both the automatic transparency (bottom-left) and the brush-copy key (top-left) see the
        // background colour.
        EXPECT_EQ(img.pixel(0, g.Size - 1), img.pixel(0, 0));
    }
}

// ---------------------------------------------------------------------------------------------
// Ratings and progress bars

TEST_F(CellGraphicsPaintFixture, RatingShowsHalfStarsTruncated) {
    Grid->AddRating(1, 1, 5, clRed, clSilver);
    struct TCase {
        const char* Value;
        int Full;
        bool Half;
    };
    const TCase cases[] = {{"2.7", 2, true}, {"2.4", 2, false}, {"0", 0, false},
                           {"5", 5, false},  {"0.5", 0, true},  {"abc", 0, false}};
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Value);
        Grid->SetCells(1, 1, QString::fromLatin1(c.Value));
        TRect g;
        const QImage img = PaintGraphic(1, 1, &g);
        for (int i = 0; i < 5; ++i) {
            SCOPED_TRACE(i);
            const int x = g.Left + 18 * i, y = g.Top;
            const bool full = i < c.Full, half = c.Half && i == c.Full;
            // The left and the right arm of the star.
            EXPECT_EQ(PixelOf(img, x + 4, y + 6), full || half ? clRed : clSilver);
            EXPECT_EQ(PixelOf(img, x + 12, y + 6), full ? clRed : clSilver);
        }
    }
}

TEST_F(CellGraphicsPaintFixture, ProgressBarFollowsTheValue) {
    PlatformSwitches().VisualStylesActive = false;
    Grid->AddProgress(1, 1, clBlue, clYellow);
    for (const int value : {25, 75}) {
        SCOPED_TRACE(value);
        Grid->SetCells(1, 1, String::number(value));
        const QImage img = PaintGraphic(1, 1);
        // Inside the bar, away from its text in the middle: done on the left, remaining on the right.
        const int left = CellBox.Left + 6, width = CellBox.Width() - 12;
        EXPECT_EQ(PixelOf(img, left + width * (value - 10) / 100, 10), clBlue);
        EXPECT_EQ(PixelOf(img, left + width * (value + 10) / 100, 10), clYellow);
    }
    // A text that is no number paints as 0, raising nothing.
    Grid->SetCells(1, 1, "n/a");
    const QImage img = PaintGraphic(1, 1);
    EXPECT_EQ(PixelOf(img, CellBox.Left + 10, 10), clYellow);
}

TEST_F(CellGraphicsPaintFixture, AdvancedProgressPercentageOverItsRange) {
    // The bar of a value in its range looks as the bar of its percentage in 0..100.
    auto bar = [&](int Min, int Max, int Value) {
        Grid->AddAdvProgress(1, 1, Min, Max);
        Grid->SetCells(1, 1, String::number(Value));
        return PaintGraphic(1, 1);
    };
    const QImage none = bar(0, 100, 0), half = bar(0, 100, 50), full = bar(0, 100, 100);
    ASSERT_NE(none, full);
    ASSERT_NE(none, half);
    struct TCase {
        int Min, Max, Value;
        const QImage* Looks;
    };
    const TCase cases[] = {{20, 70, 20, &none},
                           {20, 70, 70, &full},
                           {20, 70, 45, &half},
                           {0, 200, 100, &half},
                           // An empty range shows 0 % instead of dividing by zero.
                           {30, 30, 30, &none},
                           {30, 30, 80, &none}};
    for (const TCase& c : cases) {
        SCOPED_TRACE(testing::Message() << c.Min << ".." << c.Max << " at " << c.Value);
        EXPECT_EQ(bar(c.Min, c.Max, c.Value), *c.Looks);
    }
}

// ---------------------------------------------------------------------------------------------
// Bad input

TEST_F(CellGraphicsPaintFixture, MissingOrEmptyImagesDrawNothing) {
    TOwn<TImageList> images(new TImageList(nullptr, 16, 16));
    TOwn<TBitmap> strip(new TBitmap(32, 16));
    strip->Canvas()->Brush()->SetColor(clRed);
    strip->Canvas()->FillRect(TRect(0, 0, 32, 16));
    images->Add(strip.get(), nullptr);
    ASSERT_EQ(images->Count(), 2);
    const QImage blank = Blank();

    Grid->SetGridImages(images.get());
    Grid->AddImageIdx(1, 1, 0, haLeft, vaTop);
    EXPECT_NE(PaintGraphic(1, 1), blank);
    // The list taken away.
    Grid->SetGridImages(nullptr);
    EXPECT_EQ(PaintGraphic(1, 1), blank);
    Grid->SetGridImages(images.get());
    for (const int idx : {2, 5, -1}) {
        SCOPED_TRACE(idx);
        Grid->SetImageIdx(1, 1, idx);
        EXPECT_EQ(PaintGraphic(1, 1), blank);
    }
    // A data image: the cell's number plus the offset, drawn only below the count.
    Grid->AddDataImage(2, 2, 0, haLeft, vaTop);
    for (const char* text : {"0", "1", "2", "7", "-3", "x"}) {
        SCOPED_TRACE(text);
        Grid->SetCells(2, 2, QString::fromLatin1(text));
        const bool drawn =
            String(QString::fromLatin1(text)) == "0" || String(QString::fromLatin1(text)) == "1";
        EXPECT_EQ(PaintGraphic(2, 2) != blank, drawn);
    }
    // Empty pictures and bitmaps.
    Grid->CreatePicture(3, 3, false, noStretch, 0, haLeft, vaTop);
    EXPECT_EQ(PaintGraphic(3, 3), blank);
    Grid->CreateBitmap(3, 3, true, haLeft, vaTop);
    EXPECT_EQ(PaintGraphic(3, 3), blank);
    Grid->SetGridImages(nullptr);
}

// ---------------------------------------------------------------------------------------------
// Background pictures

namespace {

// A picture whose every pixel tells its own position.
TBitmap* PatternBitmap(int W, int H) {
    auto* b = new TBitmap(W, H);
    for (int y = 0; y < H; ++y)
        for (int x = 0; x < W; ++x) b->Canvas()->SetPixels(x, y, RGB(x * 20, y * 30, 90));
    return b;
}

} // namespace

TEST_F(CellGraphicsPaintFixture, TiledBackgroundIsAnchoredToTheCells) {
    TOwn<TBitmap> pic(PatternBitmap(7, 5));
    Grid->SetBounds(0, 0, 300, 200);
    Grid->SetColCount(8);
    Grid->SetRowCount(8);
    for (int c = 0; c < 8; ++c) Grid->SetColWidths(c, 63 + c);
    for (int r = 0; r < 8; ++r) Grid->SetRowHeights(r, 17 + r);
    Grid->BackGround()->SetBitmap(pic.get());
    Grid->BackGround()->SetDisplay(bdTile);
    TOwn<TBitmap> canvas(new TBitmap(300, 200));

    struct TCase {
        TBackGroundCells Cells;
        int StartCol, StartRow;
    };
    for (const TCase& tc : {TCase{bcNormal, 1, 1}, TCase{bcAll, 0, 0}}) {
        Grid->BackGround()->SetCells(tc.Cells);
        for (const int leftCol : {1, 3}) {
            SCOPED_TRACE(testing::Message() << "cells " << tc.Cells << " left column " << leftCol);
            Grid->SetLeftCol(leftCol);
            ASSERT_EQ(Grid->LeftCol(), leftCol);
            // The start cell's corner as if nothing were scrolled.
            int x0 = Grid->CellRect(leftCol, 1).Left, y0 = Grid->CellRect(leftCol, 1).Top;
            for (int c = 1; c < leftCol; ++c) x0 -= Grid->ColWidths(c);
            if (tc.StartCol == 0) x0 -= Grid->ColWidths(0);
            if (tc.StartRow == 0) y0 -= Grid->RowHeights(0);
            // Two neighbouring cells of each row, their grid line included.
            for (const int row : {1, 2}) {
                for (const int col : {leftCol, leftCol + 1}) {
                    const TRect r = Grid->CellRect(col, row);
                    ASSERT_FALSE(r.IsEmpty());
                    Grid->DrawBackGroundPicture(canvas->Canvas(), col, row, r);
                    for (int y = r.Top; y < r.Bottom; y += 3)
                        for (int x = r.Left; x < r.Right; x += 2) {
                            const int px = ((x - x0) % 7 + 7) % 7, py = ((y - y0) % 5 + 5) % 5;
                            ASSERT_EQ(canvas->Canvas()->Pixels(x, y), RGB(px * 20, py * 30, 90))
                                << "at " << x << "," << y << " of cell " << col << "," << row;
                        }
                }
            }
        }
    }
}

TEST_F(CellGraphicsPaintFixture, FixedBackgroundShowsOnlyWhereTheCellMeetsThePicture) {
    TOwn<TBitmap> pic(PatternBitmap(10, 8));
    Grid->BackGround()->SetBitmap(pic.get());
    Grid->BackGround()->SetDisplay(bdFixed);
    Grid->BackGround()->SetLeft(15);
    Grid->BackGround()->SetTop(12);
    Context(0, 0);
    Grid->DrawBackGroundPicture(Canvas->Canvas(), 1, 1, TRect(20, 10, 60, 40));
    TCanvas* c = Canvas->Canvas();
    EXPECT_EQ(c->Pixels(20, 12), RGB(5 * 20, 0, 90));
    EXPECT_EQ(c->Pixels(24, 19), RGB(9 * 20, 7 * 30, 90));
    EXPECT_EQ(c->Pixels(25, 15), clWhite); // right of the picture
    EXPECT_EQ(c->Pixels(20, 20), clWhite); // below it
    EXPECT_EQ(c->Pixels(19, 12), clWhite); // outside the cell
    // A cell the picture does not reach stays as it was.
    const QImage before = Canvas->Image();
    Grid->DrawBackGroundPicture(c, 2, 2, TRect(60, 30, 100, 50));
    EXPECT_EQ(Canvas->Image(), before);
}

// ---------------------------------------------------------------------------------------------
// The empty area

namespace {

class EmptyAreaFixture : public ::testing::Test {
protected:
    void SetUp() override {
        Form = new TForm(nullptr);
        Form->SetBounds(100, 100, 500, 400);
        Grid = new TAdvStringGrid(Form);
        Grid->SetParent(Form);
        Grid->SetBounds(10, 10, 300, 200);
        Grid->SetBorderStyle(bsNone);
        Grid->SetColCount(3);
        Grid->SetRowCount(3);
        Grid->SetColor(clWhite);
        Form->Show();
        Application->ProcessMessages();
    }
    void TearDown() override { TObject::Free(Form); }

    QImage Shown() {
        Grid->Invalidate();
        Application->ProcessMessages();
        return ControlImage(Grid);
    }

    TForm* Form = nullptr;
    TAdvStringGrid* Grid = nullptr;
};

} // namespace

TEST_F(EmptyAreaFixture, PaintsRightOfTheLastColumnAndBelowTheLastRow) {
    TOwn<TBitmap> green(new TBitmap(8, 8));
    green->Canvas()->Brush()->SetColor(clGreen);
    green->Canvas()->FillRect(TRect(0, 0, 8, 8));
    TOwn<TBitmap> none(new TBitmap);
    const int right = Grid->CellRect(2, 0).Right + 5, bottom = Grid->CellRect(0, 2).Bottom + 5;
    ASSERT_LT(right, Grid->ClientWidth());
    ASSERT_LT(bottom, Grid->ClientHeight());
    struct TCase {
        const char* Name;
        TBackGroundDisplay Display;
        TBitmap* Picture;
        TColor ColorTo;
        TColor Expected; // clNone: the area keeps the grid's fill
    };
    const TCase cases[] = {
        {"horizontal gradient", bdGradientHorz, none.get(), clRed, clRed},
        {"vertical gradient", bdGradientVert, none.get(), clRed, clRed},
        {"gradient without ColorTo", bdGradientHorz, none.get(), clNone, clNone},
        {"tiles", bdTile, green.get(), clNone, clGreen},
        {"fixed picture", bdFixed, green.get(), clNone, clNone},
        {"tiles without a picture", bdTile, none.get(), clRed, clNone},
    };
    const QImage plain = Shown();
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        Grid->BackGround()->SetColor(clRed);
        Grid->BackGround()->SetColorTo(c.ColorTo);
        Grid->BackGround()->SetBitmap(c.Picture);
        Grid->BackGround()->SetDisplay(c.Display);
        const QImage img = Shown();
        for (const TPoint p : {TPoint(right, 5), TPoint(5, bottom), TPoint(right, bottom)}) {
            SCOPED_TRACE(testing::Message() << p.X << "," << p.Y);
            if (c.Expected == clNone)
                EXPECT_EQ(PixelOf(img, p.X, p.Y), PixelOf(plain, p.X, p.Y));
            else
                EXPECT_EQ(PixelOf(img, p.X, p.Y), c.Expected);
        }
        // The fixed cells keep their own fill (the data cells get their slice of the background).
        const TRect cell = Grid->CellRect(0, 1);
        EXPECT_EQ(PixelOf(img, cell.Left + 3, cell.Top + 3), PixelOf(plain, cell.Left + 3, cell.Top + 3));
    }
    Grid->BackGround()->SetBitmap(none.get());
}

TEST_F(EmptyAreaFixture, NothingWhenTheCellsFillTheClientArea) {
    Grid->SetDefaultColWidth(140);
    Grid->SetDefaultRowHeight(90);
    ASSERT_GE(Grid->CellRect(2, 0).Right + 1, Grid->ClientWidth() - 1);
    // Cells with a colour of their own take no slice of the background: only an empty area
    // could change.
    for (int c = 0; c < Grid->ColCount(); ++c)
        for (int r = 0; r < Grid->RowCount(); ++r) Grid->SetColors(c, r, clWhite);
    const QImage plain = Shown();
    Grid->BackGround()->SetColorTo(clRed);
    Grid->BackGround()->SetColor(clRed);
    Grid->BackGround()->SetDisplay(bdGradientVert);
    EXPECT_EQ(Shown(), plain);
}

// ---------------------------------------------------------------------------------------------
// Sort indicator and RTF cells

TEST_F(CellGraphicsPaintFixture, SortIndicatorByDirectionGlyphsAndIndex) {
    const int X = 30, Y = 20;
    auto paint = [&] {
        Context(0, 0);
        Grid->DrawSortIndicator(Canvas->Canvas(), 1, X, Y);
        return Canvas->Image().convertToFormat(QImage::Format_RGB32);
    };
    // Outlined triangles: white and grey edges.
    Grid->SortSettings()->SetDirection(sdAscending);
    QImage img = paint();
    EXPECT_EQ(PixelOf(img, X, Y + 4), clWhite);
    EXPECT_EQ(PixelOf(img, X - 2, Y), TColor(0x808080));
    Grid->SortSettings()->SetDirection(sdDescending);
    img = paint();
    EXPECT_EQ(PixelOf(img, X, Y - 4), TColor(0x808080));
    EXPECT_EQ(PixelOf(img, X + 2, Y), clWhite);
    // Both glyphs set: the one of the direction at (X - 4, Y - 4).
    TOwn<TBitmap> up(new TBitmap(8, 8)), down(new TBitmap(8, 8));
    up->Canvas()->Brush()->SetColor(clRed);
    up->Canvas()->FillRect(TRect(1, 1, 7, 7));
    down->Canvas()->Brush()->SetColor(clBlue);
    down->Canvas()->FillRect(TRect(1, 1, 7, 7));
    Grid->SortSettings()->SetUpGlyph(up.get());
    Grid->SortSettings()->SetDownGlyph(down.get());
    EXPECT_EQ(PixelOf(paint(), X - 1, Y - 1), clBlue);
    Grid->SortSettings()->SetDirection(sdAscending);
    EXPECT_EQ(PixelOf(paint(), X - 1, Y - 1), clRed);
    // One glyph missing: the triangle again.
    TOwn<TBitmap> empty(new TBitmap);
    Grid->SortSettings()->SetDownGlyph(empty.get());
    EXPECT_EQ(PixelOf(paint(), X, Y + 4), clWhite);
    // With IndexShow a column among the sort keys gets a filled triangle in IndexColor.
    Grid->SortSettings()->SetIndexShow(true);
    Grid->SortIndexes()->AddIndex(3, true);
    Grid->SortIndexes()->AddIndex(1, false);
    img = paint();
    EXPECT_EQ(PixelOf(img, X - 5, Y - 4), clYellow); // descending key: pointing down
    Grid->SortIndexes()->SetSortDirections(1, true);
    img = paint();
    EXPECT_EQ(PixelOf(img, X - 4, Y + 7), clYellow); // ascending key: pointing up
    EXPECT_NE(PixelOf(img, X - 5, Y - 4), clYellow);
}

TEST_F(CellGraphicsPaintFixture, RichTextCellIsRenderedInsideItsInset) {
    Grid->SetCells(1, 1,
                   "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}{\\colortbl;\\red255\\green0\\blue0;}"
                   "{\\*\\generator Writer;}\\f0 Hello\\par W\\'f6rld \\{x\\}}");
    const TRect box(0, 0, 120, 60);
    Context(1, 1);
    Grid->DrawRichCell(1, 1, box, Canvas->Canvas());
    const QImage rich = Canvas->Image().convertToFormat(QImage::Format_RGB32);
    ASSERT_NE(rich, Blank());
    // Ink only inside the box less XYOffset.X, in two lines (the paragraph break).
    const int inset = Grid->XYOffset.X;
    std::vector<bool> inkedRows(size_t(rich.height()), false);
    for (int y = 0; y < rich.height(); ++y)
        for (int x = 0; x < rich.width(); ++x)
            if (rich.pixel(x, y) != qRgb(255, 255, 255)) {
                EXPECT_TRUE(x >= inset && x < box.Right - inset && y >= inset && y < box.Bottom - inset)
                    << x << "," << y;
                inkedRows[size_t(y)] = true;
            }
    int bands = 0;
    for (size_t y = 0; y < inkedRows.size(); ++y)
        if (inkedRows[y] && (y == 0 || !inkedRows[y - 1])) ++bands;
    EXPECT_EQ(bands, 2);
}
