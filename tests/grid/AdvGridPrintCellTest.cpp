// Measuring and painting printed cells, on a bitmap canvas in MM_LOMETRIC at 254 pixels per inch
// (one logical unit a pixel, y upward: logical (x, y) is pixel (x, -y)), with the engine's pass and
// layout set up by hand: measured sizes, border sides, the cut at the footer, background
// gradients, text alignment, check boxes, counting passes and what bad cells do (nothing bad).
#include "AdvGrid.h"
#include "AdvGridPrintLayout.h"
#include "Printers.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace {

// A grid whose print pass the test sets: Canvas in MM_LOMETRIC, the given column widths from
// x = 0, the page W wide and H high (H negative), ScreenScale 1.
class TPrintCellGrid : public TAdvStringGrid {
public:
    TPrintCellGrid() : TAdvStringGrid(nullptr) {}

    void BeginPass(TCanvas* C, int Mode, const std::vector<int>& Widths, int W = 2000, int H = -2000) {
        PrintSettings()->Centered = false;
        PrintSettings()->LeftSize = 0;
        FPrintPass = TPrintPass();
        FPrintPass.Canvas = C;
        FPrintPass.Mode = Mode;
        FPrintPass.Zoom = C->PixelsPerInch() / 96.0;
        FPrintLayout = std::make_unique<TPrintLayout>(*PrintSettings());
        TPrintLayout& L = *FPrintLayout;
        L.Range = TRect(0, 0, ColCount() - 1, RowCount() - 1);
        L.PageWidth = W;
        L.PageHeight = H;
        L.Scale = 1.0;
        L.ResetWidths();
        for (size_t c = 0; c < Widths.size(); ++c) L.MeasuredWidth(int(c), Widths[c], false);
        L.PlaceBand(0, ColCount() - 1);
        C->SetMapMode(MM_LOMETRIC);
        C->Font()->Assign(Font());
        C->Font()->SetHeight(MapFontHeight(Font()->Size()));
        FPrintPass.Gap8 = C->TextHeight("gh") / 8;
        FPrintPass.HalfG = C->TextWidth("g") / 2;
        FPrintPageFrom = FPrintPageTo = 1;
        FPrintRowHeightRow = -1;
    }
    void SetPage(int Page) { FPrintPass.Page = Page; }
    void SetScale(double Scale) { FPrintLayout->Scale = Scale; }
    int Indent(int c) const { return FPrintLayout->Indents[size_t(c)]; }
    int Gap8() const { return FPrintPass.Gap8; }
    int HalfG() const { return FPrintPass.HalfG; }
};

struct TFreeGrid {
    void operator()(TPrintCellGrid* G) const { TObject::Free(G); }
};

class PrintCellFixture : public ::testing::Test {
protected:
    void SetUp() override {
        G.reset(new TPrintCellGrid);
        G->SetColCount(2);
        G->SetRowCount(3);
        G->SetFixedCols(0);
        G->SetFixedRows(0);
        G->SetColor(clWhite);
        Bmp.SetSize(500, 300);
        C = Bmp.Canvas();
        C->SetPixelsPerInch(254);
        Clear();
    }
    void Clear() {
        const int mode = C->SetMapMode(MM_TEXT);
        C->Brush()->SetColor(clWhite);
        C->Brush()->SetStyle(bsSolid);
        C->FillRect(TRect(0, 0, Bmp.Width(), Bmp.Height()));
        C->SetMapMode(mode);
    }
    // The pixel at logical (X, Y).
    TColor At(int X, int Y) { return ColorToRGB(Bmp.Canvas()->Pixels(X, Y)); }
    // Pixels in the device rectangle that are not white.
    int Ink(const TRect& R) {
        int n = 0;
        const QImage& img = Bmp.Image();
        for (int y = std::max(0, R.Top); y < std::min(img.height(), R.Bottom); ++y)
            for (int x = std::max(0, R.Left); x < std::min(img.width(), R.Right); ++x)
                n += (img.pixel(x, y) & 0xFFFFFF) != 0xFFFFFF;
        return n;
    }
    // The device box of the pixels that are not white inside R.
    TRect InkBox(const TRect& R) {
        TRect b(R.Right, R.Bottom, R.Left, R.Top);
        const QImage& img = Bmp.Image();
        for (int y = std::max(0, R.Top); y < std::min(img.height(), R.Bottom); ++y)
            for (int x = std::max(0, R.Left); x < std::min(img.width(), R.Right); ++x)
                if ((img.pixel(x, y) & 0xFFFFFF) != 0xFFFFFF) {
                    b.Left = std::min(b.Left, x);
                    b.Top = std::min(b.Top, y);
                    b.Right = std::max(b.Right, x + 1);
                    b.Bottom = std::max(b.Bottom, y + 1);
                }
        return b;
    }
    int LineHeight() {
        TFont f;
        f.Assign(C->Font());
        C->Font()->Assign(G->Font());
        C->Font()->SetHeight(G->MapFontHeight(G->Font()->Size()));
        const int h = C->TextHeight("gh");
        C->Font()->Assign(&f);
        return h;
    }
    int WidthOf(const String& S) {
        TFont f;
        f.Assign(C->Font());
        C->Font()->Assign(G->Font());
        C->Font()->SetHeight(G->MapFontHeight(G->Font()->Size()));
        const int w = C->TextWidth(S);
        C->Font()->Assign(&f);
        return w;
    }

    std::unique_ptr<TPrintCellGrid, TFreeGrid> G;
    TBitmap Bmp;
    TCanvas* C = nullptr;
};

} // namespace

TEST_F(PrintCellFixture, MeasuredSizesFollowTheTextTheWrapAndTheGraphic) {
    G->BeginPass(C, 1, {200, 200});
    const int line = LineHeight();
    // An empty cell measures as "gh": empty columns keep a width.
    EXPECT_EQ(G->MeasurePrintCell(0, 0), TPoint(WidthOf("gh"), line));
    G->SetCells(0, 0, "abc def");
    EXPECT_EQ(G->MeasurePrintCell(0, 0), TPoint(WidthOf("abc def"), line));
    G->SetCells(0, 0, "a\rwider line");
    EXPECT_EQ(G->MeasurePrintCell(0, 0), TPoint(WidthOf("wider line"), 2 * line));

    // Word wrap only with NoAutoSize: inside the column's width, else one long line.
    const String text = "one two three four five six seven eight nine ten eleven twelve";
    G->SetCells(1, 0, text);
    G->SetWordWrap(true);
    const TPoint oneLine = G->MeasurePrintCell(1, 0);
    EXPECT_EQ(oneLine, TPoint(WidthOf(text), line));
    G->PrintSettings()->NoAutoSize = true;
    G->BeginPass(C, 1, {200, 200});
    const TPoint wrapped = G->MeasurePrintCell(1, 0);
    EXPECT_LE(wrapped.X, 200);
    EXPECT_GE(wrapped.Y, 2 * line);
    G->PrintSettings()->NoAutoSize = false;

    // A graphic counts with PrintGraphics only; the size event has the last word.
    G->AddCheckBox(0, 1, true, false);
    const int box = G->ControlLook()->CheckSize();
    EXPECT_EQ(G->MeasurePrintCell(0, 1), TPoint(WidthOf("gh"), line));
    G->PrintSettings()->PrintGraphics = true;
    const TPoint withBox = G->MeasurePrintCell(0, 1);
    EXPECT_GE(withBox.X, box);
    EXPECT_GE(withBox.Y, std::max(box, line));
    bool printing = false;
    G->OnCustomCellSize = [&](TObject*, TCanvas*, int, int, TPoint& Size, bool Printing) {
        printing = Printing;
        Size = TPoint(7, 9);
    };
    EXPECT_EQ(G->MeasurePrintCell(0, 1), TPoint(7, 9));
    EXPECT_TRUE(printing);
    // Outside the engine there is nothing to measure on.
    TPrintCellGrid idle;
    EXPECT_EQ(idle.MeasurePrintCell(0, 0), TPoint(0, 0));
}

TEST_F(PrintCellFixture, BorderSidesFollowTheSettingAndTheBorderEvent) {
    struct Case {
        TPrintBorders Borders;
        bool Top, Left, Right, Bottom;
    } cases[] = {
        {pbSingle, true, true, true, true},       {pbDouble, true, true, true, true},
        {pbHorizontal, true, false, false, true}, {pbAroundHorizontal, true, false, false, true},
        {pbVertical, false, true, true, false},   {pbAroundVertical, false, true, true, false},
        {pbNoborder, false, false, false, false}, {pbAround, false, false, false, false},
    };
    for (const Case& c : cases) {
        Clear();
        G->PrintSettings()->Borders = c.Borders;
        G->BeginPass(C, 0, {100, 100});
        const int y = 20, h = G->PaintPrintRow(-y, 0, 1, 0);
        ASSERT_GT(h, 10);
        const int l = G->Indent(0), m = G->Indent(1), r = m + 120;
        // Device pixels: the row runs from y to y + h.
        EXPECT_EQ(At(l + 5, -y) == clBlack, c.Top) << c.Borders;
        EXPECT_EQ(At(l + 5, -(y + h)) == clBlack, c.Bottom) << c.Borders;
        EXPECT_EQ(At(l, -(y + h / 2)) == clBlack, c.Left) << c.Borders;
        EXPECT_EQ(At(r, -(y + h / 2)) == clBlack, c.Right) << c.Borders;
        // Between the columns: the second column's left side one pen width left of its edge.
        EXPECT_EQ(At(m - 1, -(y + h / 2)) == clBlack, c.Left) << c.Borders;
        EXPECT_EQ(At(m + 5, -(y + h / 2)), clWhite) << c.Borders;
    }

    // The event takes the top side away and draws the rest in red.
    Clear();
    G->PrintSettings()->Borders = pbSingle;
    G->OnGetCellPrintBorder = [](TObject*, int, int, TPen* Pen, TCellBorders& Borders) {
        Borders.erase(cbTop);
        Pen->SetColor(clRed);
    };
    G->BeginPass(C, 0, {100, 100});
    const int h = G->PaintPrintRow(-20, 0, 1, 0);
    EXPECT_EQ(At(5, -20), clWhite);
    EXPECT_EQ(At(5, -(20 + h)), clRed);
    EXPECT_EQ(At(0, -(20 + h / 2)), clRed);
}

TEST_F(PrintCellFixture, BorderPensScaleOnlyWhenPrinting) {
    // Pen width 1 (screen pixels) becomes round(1 x ScreenScale) units on paper; a preview keeps it.
    G->PrintSettings()->Borders = pbSingle;
    G->PrintSettings()->UseFixedHeight = true;
    G->PrintSettings()->FixedHeight = 40;
    struct Case {
        int Mode;
        double Scale;
        int Thickness;
    } cases[] = {{0, 3.0, 1}, {1, 3.0, 3}, {1, 1.0, 1}, {1, 2.6, 3}};
    for (const Case& c : cases) {
        Clear();
        G->BeginPass(C, c.Mode, {100, 100});
        G->SetScale(c.Scale);
        const int h = G->PaintPrintRow(-50, 0, 1, 0);
        // The top line's pixels in column 50, around y = 50.
        int thick = 0;
        for (int y = 40; y < 60; ++y) thick += At(50, -y) == clBlack;
        EXPECT_EQ(thick, c.Thickness) << c.Mode << " " << c.Scale;
        EXPECT_GT(h, 40);
    }
}

TEST_F(PrintCellFixture, ARowCutAtTheFooterLosesItsBottomBorder) {
    G->PrintSettings()->Borders = pbSingle;
    G->BeginPass(C, 0, {100, 100});
    const int h = G->PaintPrintRow(-20, 0, 1, 0);
    ASSERT_EQ(At(50, -(20 + h)), clBlack);

    // A vertically merged cell whose second row would reach into the footer area: cut at its
    // first row, no line at the cut, none further down.
    Clear();
    G->MergeCells(0, 1, 1, 2);
    G->PrintSettings()->FooterSize = 10;
    G->BeginPass(C, 0, {100, 100}, 2000, -(20 + h + 15));
    const int h1 = G->PaintPrintRow(-20, 0, 1, 1);
    EXPECT_EQ(h1, h);
    EXPECT_EQ(At(50, -20), clBlack);                  // top of the area
    EXPECT_EQ(At(0, -(20 + h / 2)), clBlack);         // its left side, down to the cut
    EXPECT_EQ(At(50, -(20 + h)), clWhite);            // no bottom line at the cut
    EXPECT_EQ(Ink(TRect(1, 20 + h + 1, 99, 300)), 0); // nothing below the cut
    // The same row on a tall page keeps the area's full height and its bottom line.
    Clear();
    G->BeginPass(C, 0, {100, 100});
    G->PaintPrintRow(-20, 0, 1, 1);
    const int full = 20 + h + (h - 2 * G->Gap8()); // the second row counted from its screen height
    EXPECT_GT(Ink(TRect(1, 20 + h + 2, 99, full + 40)), 0);
}

TEST_F(PrintCellFixture, BackgroundsAreSteppedGradients) {
    G->PrintSettings()->Borders = pbNoborder;
    G->SetRowHeights(0, 60);
    G->PrintSettings()->NoAutoSizeRow = true;
    G->SetColors(0, 0, clRed);
    G->SetColorsTo(0, 0, clBlue);
    G->SetGradients(0, 0, GradientVertical);
    G->BeginPass(C, 0, {100, 100});
    const int h = G->PaintPrintRow(-10, 0, 1, 0);
    ASSERT_GT(h, 40);
    // Red at the top, blue at the bottom, steps between, at most 64 + 1 of them.
    const TColor top = At(50, -12), bottom = At(50, -(10 + h - 2));
    EXPECT_GT(top & 0xFF, 0xC0);
    EXPECT_LT(top >> 16, 0x40);
    EXPECT_GT(bottom >> 16, 0xC0);
    EXPECT_LT(bottom & 0xFF, 0x40);
    std::set<TColor> steps;
    int lastBlue = -1;
    for (int y = 12; y < 10 + h - 2; ++y) {
        const TColor c = At(50, -y);
        steps.insert(c);
        EXPECT_GE(int(c >> 16), lastBlue);
        lastBlue = int(c >> 16);
    }
    EXPECT_GT(steps.size(), 10u);
    EXPECT_LE(steps.size(), 65u);
    // The second cell has no colour of its own: the grid's white.
    EXPECT_EQ(At(150, -(10 + h / 2)), clWhite);
}

TEST_F(PrintCellFixture, TextSitsByItsAlignment) {
    G->PrintSettings()->Borders = pbNoborder;
    G->SetCells(0, 0, "X");
    struct Case {
        TAlignment Align;
    } cases[] = {{taLeftJustify}, {taRightJustify}, {taCenter}};
    for (const Case& c : cases) {
        Clear();
        G->SetAlignments(0, 0, c.Align);
        G->BeginPass(C, 0, {200, 200});
        const int h = G->PaintPrintRow(-10, 0, 1, 0);
        const TRect ink = InkBox(TRect(0, 10, G->Indent(1), 10 + h));
        ASSERT_FALSE(ink.IsEmpty()) << c.Align;
        const int right = G->Indent(1);
        const int halfG = G->HalfG();
        switch (c.Align) {
            case taLeftJustify: EXPECT_NEAR(ink.Left, halfG, 3); break;
            case taRightJustify: EXPECT_NEAR(ink.Right, right - halfG, 3); break;
            case taCenter: EXPECT_NEAR((ink.Left + ink.Right) / 2, right / 2, 3); break;
        }
        // Upright and inside the row.
        EXPECT_GE(ink.Top, 10);
        EXPECT_LE(ink.Bottom, 10 + h);
    }
}

TEST_F(PrintCellFixture, TurnedTextStaysInsideItsRow) {
    G->PrintSettings()->Borders = pbNoborder;
    const int angles[] = {90, 45, 30};
    for (int angle : angles) {
        Clear();
        G->AddRotated(0, 1, angle, "Turned");
        G->BeginPass(C, 0, {200, 200});
        const int top = 40, h = G->PaintPrintRow(-top, 0, 1, 1);
        ASSERT_GT(h, 0);
        const TRect ink = InkBox(TRect(0, 0, 500, 300));
        ASSERT_FALSE(ink.IsEmpty()) << angle;
        EXPECT_GE(ink.Top, top) << angle;
        EXPECT_LE(ink.Bottom, top + h) << angle;
        EXPECT_LE(ink.Right, G->Indent(1)) << angle;
        // Counter-clockwise: at 90 degrees the whole word runs up the page, none of it cut off.
        if (angle == 90) {
            EXPECT_GT(ink.Height(), 2 * ink.Width());
            EXPECT_GE(ink.Height(), WidthOf("Turned") - 3);
        }
    }
}

TEST_F(PrintCellFixture, ACheckBoxWithoutTextFollowsTheCellAlignment) {
    G->PrintSettings()->Borders = pbNoborder;
    G->PrintSettings()->PrintGraphics = true;
    G->AddCheckBox(0, 0, true, false);
    G->SetAlignments(0, 0, taRightJustify);
    G->BeginPass(C, 0, {200, 200});
    const int h = G->PaintPrintRow(-10, 0, 1, 0);
    const int right = G->Indent(1), box = G->ControlLook()->CheckSize();
    const TRect ink = InkBox(TRect(0, 10, right, 10 + h));
    ASSERT_FALSE(ink.IsEmpty());
    EXPECT_NEAR(ink.Right, right, 1);
    EXPECT_NEAR(ink.Left, right - box, 1);
    // Checked: the mark is drawn in the window text colour inside the box.
    EXPECT_GT(Ink(TRect(right - box + 3, 13, right - 3, 10 + box - 3)), 5);

    // Left aligned, the box starts at the left edge.
    Clear();
    G->SetAlignments(0, 0, taLeftJustify);
    G->BeginPass(C, 0, {200, 200});
    G->PaintPrintRow(-10, 0, 1, 0);
    EXPECT_EQ(InkBox(TRect(0, 10, right, 10 + h)).Left, 1); // round(ScreenScale) in
}

TEST_F(PrintCellFixture, CountingPassesAndPagesOutsideTheRangePaintNothing) {
    G->SetCells(0, 0, "text");
    G->PrintSettings()->Borders = pbSingle;
    G->BeginPass(C, 0, {100, 100});
    const int drawn = G->PaintPrintRow(-10, 0, 1, 0);
    ASSERT_GT(Ink(TRect(0, 0, 500, 300)), 0);
    struct Case {
        int Mode;
        int Page;
    } cases[] = {{2, 0}, {3, 0}, {0, 1}, {1, 4}};
    for (const Case& c : cases) {
        Clear();
        G->BeginPass(C, c.Mode, {100, 100});
        G->SetPage(c.Page);
        EXPECT_EQ(G->PaintPrintRow(-10, 0, 1, 0), drawn) << c.Mode << " " << c.Page;
        EXPECT_EQ(Ink(TRect(0, 0, 500, 300)), 0) << c.Mode << " " << c.Page;
        EXPECT_EQ(G->Fontscalefactor, 1.0);
    }
}

TEST_F(PrintCellFixture, BadCellsPrintWithoutFailing) {
    // Every graphic kind without its object, a huge text, a row taller than the page.
    G->SetColCount(6);
    G->SetRowCount(6);
    G->PrintSettings()->PrintGraphics = true;
    G->PrintSettings()->NoAutoSize = true;
    G->SetWordWrap(true);
    const TCellType types[] = {ctBitmap,       ctIcon,         ctImageList,   ctDataImage,
                               ctNode,         ctRadio,        ctImages,      ctPicture,
                               ctFilePicture,  ctProgress,     ctProgressPie, ctInterface,
                               ctDataCheckBox, ctVirtCheckBox, ctRowCheckBox, ctRadioButton};
    int i = 0;
    for (TCellType t : types) {
        const int col = i % 6, row = i / 6;
        G->CreateCellGraphic(col, row)->CellType = t;
        G->SetCells(col, row, i % 2 ? "x" : "");
        ++i;
    }
    G->SetCells(0, 4, String(4000, u'w') + "\r" + String(2000, u' '));
    G->SetCells(1, 4, "<B>bold</B> markup");
    G->SetCells(2, 4, "=1+2");
    G->SetCells(3, 4, "{\\rtf1 rich}");
    G->AddRotated(4, 4, 45, "turned");
    G->SetCells(5, 4, String(3000, u'\r'));
    G->BeginPass(C, 0, {80, 80, 80, 80, 80, 80}, 500, -50);
    int y = -5;
    for (int r = 0; r < G->RowCount(); ++r) {
        for (int c = 0; c < G->ColCount(); ++c) {
            const TPoint s = G->MeasurePrintCell(c, r);
            EXPECT_GE(s.X, 0);
            EXPECT_GE(s.Y, 0);
        }
        y -= G->PaintPrintRow(y, 0, 5, r);
    }
    EXPECT_LT(y, -5);
}

TEST(PrintCellBitmaps, StretchCopiesAndThePrinterRotation) {
    TBitmap src(2, 1);
    src.Canvas()->SetPixels(0, 0, clRed);
    src.Canvas()->SetPixels(1, 0, clBlue);
    TBitmap dst(40, 20);
    dst.Canvas()->Brush()->SetColor(clWhite);
    dst.Canvas()->FillRect(TRect(0, 0, 40, 20));
    TAdvStringGrid::StretchBitmapToCanvas(dst.Canvas(), TRect(0, 0, 40, 20), &src);
    EXPECT_EQ(dst.Canvas()->Pixels(5, 10), clRed);
    EXPECT_EQ(dst.Canvas()->Pixels(35, 10), clBlue);
    // XOR with itself: black.
    TAdvStringGrid::StretchBitmapRop(dst.Canvas(), TRect(0, 0, 40, 20), &src, SRCINVERT);
    EXPECT_EQ(dst.Canvas()->Pixels(5, 10), clBlack);
    // Nothing to copy: nothing happens.
    TAdvStringGrid::StretchBitmapToCanvas(dst.Canvas(), TRect(0, 0, 40, 20), nullptr);
    TBitmap empty;
    TAdvStringGrid::StretchBitmapToCanvas(dst.Canvas(), TRect(0, 0, 40, 20), &empty);
    EXPECT_EQ(dst.Canvas()->Pixels(5, 10), clBlack);
    EXPECT_EQ(TAdvStringGrid::PrinterRotation(), 90);
}
