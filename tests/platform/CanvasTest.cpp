// Pixel rules of the canvas and the drawing routines, checked on a bitmap's canvas.
#include "Graphics.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

namespace {

// A white bitmap of W x H whose pixels the tests read back as text: '.' white, 'X' black,
// 'r' red, 'b' blue, 'y' yellow, '?' anything else.
class CanvasFixture : public ::testing::Test {
protected:
    void Make(int W, int H) {
        Bmp.SetSize(W, H);
        C = Bmp.Canvas();
        C->Brush()->SetColor(clWhite);
        C->FillRect(TRect(0, 0, W, H));
    }
    std::vector<std::string> Rows() {
        static const std::map<TColor, char> names{
            {clWhite, '.'}, {clBlack, 'X'}, {clRed, 'r'}, {clBlue, 'b'}, {clYellow, 'y'}};
        std::vector<std::string> rows;
        for (int y = 0; y < Bmp.Height(); ++y) {
            std::string row;
            for (int x = 0; x < Bmp.Width(); ++x) {
                auto it = names.find(C->Pixels(x, y));
                row += it == names.end() ? '?' : it->second;
            }
            rows.push_back(row);
        }
        return rows;
    }
    int Count(TColor Color, const TRect& R) {
        int n = 0;
        for (int y = R.Top; y < R.Bottom; ++y)
            for (int x = R.Left; x < R.Right; ++x) n += C->Pixels(x, y) == Color;
        return n;
    }
    // Bounding box of the pixels of Color (empty when none).
    TRect Ink(TColor Color) {
        TRect r(Bmp.Width(), Bmp.Height(), 0, 0);
        for (int y = 0; y < Bmp.Height(); ++y)
            for (int x = 0; x < Bmp.Width(); ++x)
                if (C->Pixels(x, y) == Color) {
                    r.Left = std::min(r.Left, x);
                    r.Top = std::min(r.Top, y);
                    r.Right = std::max(r.Right, x + 1);
                    r.Bottom = std::max(r.Bottom, y + 1);
                }
        return r.IsEmpty() ? TRect() : r;
    }
    QImage Snapshot() { return Bmp.Image().copy(); }

    TBitmap Bmp;
    TCanvas* C = nullptr;
};

using Pic = std::vector<std::string>;

} // namespace

TEST_F(CanvasFixture, LineToLeavesOutItsEndPointAndMovesThePen) {
    struct Case {
        TPoint From, To;
        int Pixels; // drawn pixels: the longer axis' length
    } cases[] = {
        {{1, 1}, {6, 1}, 5}, {{6, 2}, {1, 2}, 5}, {{0, 0}, {0, 5}, 5},
        {{0, 0}, {5, 5}, 5}, {{7, 6}, {1, 3}, 6}, {{3, 3}, {3, 3}, 0},
    };
    for (const auto& c : cases) {
        Make(10, 8);
        C->Pen()->SetColor(clBlack);
        C->MoveTo(c.From.X, c.From.Y);
        C->LineTo(c.To.X, c.To.Y);
        EXPECT_EQ(Count(clBlack, TRect(0, 0, 10, 8)), c.Pixels);
        if (c.Pixels > 0) {
            EXPECT_EQ(C->Pixels(c.From.X, c.From.Y), clBlack);
        }
        EXPECT_EQ(C->Pixels(c.To.X, c.To.Y), clWhite);
        EXPECT_EQ(C->PenPos(), c.To);
    }
}

TEST_F(CanvasFixture, ConnectedLinesDrawTheCornersOnce) {
    // The bevel of a button: up the left side, across the top, down the right and back along the
    // bottom (the end point (-1, H-1) lies outside, so the bottom row is complete).
    Make(6, 4);
    C->Pen()->SetColor(clBlack);
    C->MoveTo(0, 3);
    C->LineTo(0, 0);
    C->LineTo(5, 0);
    C->Pen()->SetColor(clRed);
    C->LineTo(5, 3);
    C->LineTo(-1, 3);
    EXPECT_EQ(Rows(), (Pic{"XXXXXr", "X....r", "X....r", "rrrrrr"}));
}

TEST_F(CanvasFixture, RectangleDrawsOutlineAndFillWithRightAndBottomExcluded) {
    Make(8, 6);
    C->Pen()->SetColor(clBlack);
    C->Brush()->SetColor(clRed);
    C->Rectangle(1, 1, 6, 5);
    EXPECT_EQ(Rows(), (Pic{"........", ".XXXXX..", ".XrrrX..", ".XrrrX..", ".XXXXX..", "........"}));

    // A clear brush draws the outline only; a clear pen fills one pixel less at right and bottom.
    Make(8, 6);
    C->Brush()->SetStyle(bsClear);
    C->Rectangle(TRect(1, 1, 6, 5));
    EXPECT_EQ(Rows(), (Pic{"........", ".XXXXX..", ".X...X..", ".X...X..", ".XXXXX..", "........"}));
    Make(8, 6);
    C->Pen()->SetStyle(psClear);
    C->Brush()->SetColor(clBlue);
    C->Rectangle(1, 1, 6, 5);
    EXPECT_EQ(Rows(), (Pic{"........", ".bbbb...", ".bbbb...", ".bbbb...", "........", "........"}));
}

TEST_F(CanvasFixture, WidePensAreCentredOnTheOutlineUnlessInsideFrame) {
    Make(10, 10);
    C->Pen()->SetWidth(3);
    C->Brush()->SetColor(clRed);
    // The one-pixel path runs on columns and rows 2 and 7; three pixels are centred on it.
    C->Rectangle(2, 2, 8, 8);
    EXPECT_EQ(Rows(), (Pic{"..........", ".XXXXXXXX.", ".XXXXXXXX.", ".XXXXXXXX.", ".XXXrrXXX.", ".XXXrrXXX.",
                           ".XXXXXXXX.", ".XXXXXXXX.", ".XXXXXXXX.", ".........."}));
    Make(10, 10);
    C->Brush()->SetColor(clRed);
    C->Pen()->SetStyle(psInsideFrame);
    C->Pen()->SetWidth(2);
    C->Rectangle(2, 2, 8, 8);
    EXPECT_EQ(Rows(), (Pic{"..........", "..........", "..XXXXXX..", "..XXXXXX..", "..XXrrXX..", "..XXrrXX..",
                           "..XXXXXX..", "..XXXXXX..", "..........", ".........."}));
}

TEST_F(CanvasFixture, FillRectAndFrameRectExcludeRightAndBottom) {
    Make(7, 5);
    C->Brush()->SetColor(clRed);
    C->FillRect(TRect(1, 1, 4, 3));
    C->Brush()->SetColor(clBlue);
    C->FrameRect(TRect(4, 0, 7, 5));
    EXPECT_EQ(Rows(), (Pic{"....bbb", ".rrrb.b", ".rrrb.b", "....b.b", "....bbb"}));
    // An empty or inverted rectangle draws nothing; a clear brush does not fill.
    Make(4, 4);
    C->Brush()->SetColor(clRed);
    C->FillRect(TRect(3, 3, 1, 1));
    C->FrameRect(TRect(2, 2, 2, 4));
    C->Brush()->SetStyle(bsClear);
    C->FillRect(TRect(0, 0, 4, 4));
    EXPECT_EQ(Count(clWhite, TRect(0, 0, 4, 4)), 16);
}

TEST_F(CanvasFixture, RoundRectCutsTheCornersAndAClearPenDrawsNoOutline) {
    Make(14, 10);
    C->Pen()->SetColor(clBlack);
    C->Brush()->SetColor(clRed);
    C->RoundRect(0, 0, 14, 10, 6, 6);
    Pic r = Rows();
    // Corners stay outside; the straight parts of the outline run on the edge rows and columns.
    for (TPoint p : {TPoint(0, 0), TPoint(13, 0), TPoint(0, 9), TPoint(13, 9)}) EXPECT_EQ(r[p.Y][p.X], '.');
    EXPECT_EQ(r[0].substr(4, 6), "XXXXXX");
    EXPECT_EQ(r[9].substr(4, 6), "XXXXXX");
    EXPECT_EQ(r[5][0], 'X');
    EXPECT_EQ(r[5][13], 'X');
    EXPECT_EQ(r[5].substr(1, 12), std::string(12, 'r'));
    // The shape is symmetric.
    for (int y = 0; y < 10; ++y) {
        EXPECT_EQ(r[y], std::string(r[y].rbegin(), r[y].rend())) << y;
        EXPECT_EQ(r[y], r[9 - y]) << y;
    }

    Make(14, 10);
    C->Pen()->SetStyle(psClear);
    C->Brush()->SetColor(clRed);
    C->RoundRect(0, 1, 14, 10, 4, 4);
    EXPECT_EQ(Count(clBlack, TRect(0, 0, 14, 10)), 0);
    EXPECT_EQ(C->Pixels(6, 5), clRed);
    EXPECT_EQ(C->Pixels(6, 0), clWhite);
    EXPECT_EQ(C->Pixels(0, 1), clWhite);
}

TEST_F(CanvasFixture, EllipseAndPolygonFillInsideTheirOutline) {
    Make(11, 9);
    C->Pen()->SetColor(clBlack);
    C->Brush()->SetColor(clRed);
    C->Ellipse(0, 0, 11, 9);
    Pic r = Rows();
    EXPECT_EQ(r[0][0], '.');
    EXPECT_EQ(r[0][5], 'X');
    EXPECT_EQ(r[4][0], 'X');
    EXPECT_EQ(r[4][10], 'X');
    EXPECT_EQ(r[4][5], 'r');
    for (int y = 0; y < 9; ++y) EXPECT_EQ(r[y], std::string(r[y].rbegin(), r[y].rend())) << y;

    Make(9, 7);
    C->Pen()->SetColor(clBlack);
    C->Brush()->SetColor(clRed);
    C->Polygon({{0, 0}, {8, 0}, {8, 6}});
    EXPECT_EQ(C->Pixels(0, 0), clBlack);
    EXPECT_EQ(C->Pixels(8, 0), clBlack);
    EXPECT_EQ(C->Pixels(8, 6), clBlack);
    EXPECT_EQ(C->Pixels(6, 2), clRed);
    EXPECT_EQ(C->Pixels(1, 5), clWhite);

    // A pie from the angle of (X3, Y3) counter-clockwise to that of (X4, Y4): here the top-right
    // quarter.
    Make(21, 21);
    C->Brush()->SetColor(clRed);
    C->Pie(0, 0, 21, 21, 20, 10, 10, 0);
    EXPECT_EQ(C->Pixels(14, 6), clRed);
    EXPECT_EQ(C->Pixels(6, 14), clWhite);
    EXPECT_EQ(C->Pixels(6, 6), clWhite);
    C->Brush()->SetStyle(bsClear);
    C->Arc(0, 0, 21, 21, 0, 10, 20, 10); // the lower half of the circle's outline
    EXPECT_GT(Count(clBlack, TRect(0, 12, 21, 21)), 10);
    EXPECT_EQ(Count(clRed, TRect(0, 12, 21, 21)), 0);
}

TEST_F(CanvasFixture, FloodFillStopsAtTheBorderColourOrFillsTheSurfaceColour) {
    Make(8, 8);
    C->Pen()->SetColor(clBlack);
    C->Brush()->SetStyle(bsClear);
    C->Rectangle(1, 1, 7, 7);
    C->Brush()->SetColor(clRed);
    C->FloodFill(3, 3, clBlack, fsBorder);
    EXPECT_EQ(Count(clRed, TRect(0, 0, 8, 8)), 16);
    EXPECT_EQ(C->Pixels(0, 0), clWhite);
    EXPECT_EQ(Count(clBlack, TRect(0, 0, 8, 8)), 20);
    // Surface fill: the white outside area becomes blue, the rest stays.
    C->Brush()->SetColor(clBlue);
    C->FloodFill(0, 0, clWhite, fsSurface);
    EXPECT_EQ(Count(clBlue, TRect(0, 0, 8, 8)), 64 - 36);
    EXPECT_EQ(Count(clRed, TRect(0, 0, 8, 8)), 16);
}

TEST_F(CanvasFixture, RasterModesAndDottedPens) {
    // XOR and NOT pens undo themselves when drawn twice.
    for (TPenMode m : {pmXor, pmNot, pmNotXor}) {
        Make(6, 3);
        C->Brush()->SetColor(clRed);
        C->FillRect(TRect(0, 0, 3, 3));
        QImage before = Snapshot();
        C->Pen()->SetColor(clBlue);
        C->Pen()->SetMode(m);
        for (int i = 0; i < 2; ++i) {
            C->MoveTo(0, 1);
            C->LineTo(6, 1);
        }
        EXPECT_EQ(Snapshot(), before) << m;
    }
    Make(4, 1);
    C->Pen()->SetMode(pmXor);
    C->Pen()->SetColor(clWhite);
    C->MoveTo(0, 0);
    C->LineTo(4, 0);
    EXPECT_EQ(Rows(), (Pic{"XXXX"}));

    // A dotted pen: three on, three off; the gaps in the background colour only when opaque.
    Make(12, 2);
    C->Brush()->SetStyle(bsClear);
    C->Pen()->SetMode(pmCopy);
    C->Pen()->SetColor(clBlack);
    C->Pen()->SetStyle(psDot);
    C->MoveTo(0, 0);
    C->LineTo(12, 0);
    C->SetBkMode(OPAQUE);
    C->SetBkColor(clRed);
    C->MoveTo(0, 1);
    C->LineTo(12, 1);
    EXPECT_EQ(Rows(), (Pic{"XXX...XXX...", "XXXrrrXXXrrr"}));
}

TEST_F(CanvasFixture, CopyOntoItselfShiftedBehavesAsThroughATemporary) {
    // A pattern whose shift by (1, 1) differs from any in-place smearing.
    Make(9, 7);
    for (int y = 0; y < 7; ++y)
        for (int x = 0; x < 9; ++x) C->SetPixels(x, y, RGB(x * 25, y * 30, (x * y) % 7 * 30));
    QImage original = Snapshot();

    TBitmap tmp;
    tmp.SetSize(8, 6);
    tmp.Canvas()->CopyRect(TRect(0, 0, 8, 6), C, TRect(0, 0, 8, 6));
    TBitmap expected;
    expected.Assign(&Bmp);
    expected.Canvas()->CopyRect(TRect(1, 1, 9, 7), tmp.Canvas(), TRect(0, 0, 8, 6));

    C->CopyRect(TRect(1, 1, 9, 7), C, TRect(0, 0, 8, 6));
    EXPECT_EQ(Snapshot(), expected.Image());
    for (int y = 0; y < 6; ++y)
        for (int x = 0; x < 8; ++x)
            ASSERT_EQ(Bmp.Image().pixel(x + 1, y + 1), original.pixel(x, y)) << x << "," << y;
    // The other direction too.
    C->CopyRect(TRect(0, 0, 8, 6), C, TRect(1, 1, 9, 7));
    for (int y = 0; y < 6; ++y)
        for (int x = 0; x < 8; ++x) ASSERT_EQ(Bmp.Image().pixel(x, y), original.pixel(x, y)) << x << "," << y;
}

TEST_F(CanvasFixture, FocusRectangleInvertsEveryOtherPixelAndASecondCallRestores) {
    Make(12, 9);
    C->Brush()->SetColor(clRed);
    C->FillRect(TRect(0, 0, 6, 9));
    QImage before = Snapshot();
    TRect r(1, 1, 11, 8);
    DrawFocusRect(C, r);
    int changed = 0, outline = 0;
    for (int y = 0; y < 9; ++y)
        for (int x = 0; x < 12; ++x) {
            bool onOutline =
                (x == r.Left || x == r.Right - 1 || y == r.Top || y == r.Bottom - 1) && r.Contains({x, y});
            bool differs = Bmp.Image().pixel(x, y) != before.pixel(x, y);
            if (!onOutline) {
                EXPECT_FALSE(differs) << x << "," << y;
            }
            outline += onOutline;
            changed += differs;
            // Changed pixels are inverted.
            if (differs) {
                EXPECT_EQ(Bmp.Image().pixel(x, y) & 0xFFFFFF, ~before.pixel(x, y) & 0xFFFFFF);
            }
        }
    EXPECT_EQ(changed, outline / 2);
    // Neighbours along an edge alternate.
    EXPECT_EQ(C->Pixels(7, 1), clBlack);
    EXPECT_EQ(C->Pixels(8, 1), clWhite);
    DrawFocusRect(C, r);
    EXPECT_EQ(Snapshot(), before);
}

TEST_F(CanvasFixture, ClippingAndSavedStates) {
    Make(8, 4);
    C->IntersectClipRect(TRect(2, 0, 6, 4));
    C->ExcludeClipRect(TRect(3, 1, 5, 3));
    EXPECT_EQ(C->ClipRect(), TRect(2, 0, 6, 4));
    C->Brush()->SetColor(clRed);
    C->FillRect(TRect(0, 0, 8, 4));
    EXPECT_EQ(Rows(), (Pic{"..rrrr..", "..r..r..", "..r..r..", "..rrrr.."}));

    int level = C->SaveDC();
    EXPECT_EQ(level, 1);
    C->SelectClipRect(TRect(0, 0, 1, 1));
    C->Brush()->SetColor(clBlue);
    C->Pen()->SetColor(clYellow);
    C->SetBkMode(TRANSPARENT);
    C->MoveTo(5, 5);
    EXPECT_TRUE(C->RestoreDC(-1));
    EXPECT_EQ(C->ClipRect(), TRect(2, 0, 6, 4));
    EXPECT_EQ(C->Brush()->Color(), clRed);
    EXPECT_EQ(C->Pen()->Color(), clBlack);
    EXPECT_EQ(C->BkMode(), OPAQUE);
    EXPECT_EQ(C->PenPos(), TPoint(0, 0));
    EXPECT_FALSE(C->RestoreDC(-1)); // nothing saved any more

    C->ResetClip();
    EXPECT_EQ(C->ClipRect(), TRect(0, 0, 8, 4));
    C->FillRect(TRect(0, 0, 8, 4));
    EXPECT_EQ(Count(clRed, TRect(0, 0, 8, 4)), 32);
    // Pixels outside the image read as clNone and ignore writes.
    EXPECT_EQ(C->Pixels(-1, 0), clNone);
    EXPECT_EQ(C->Pixels(8, 0), clNone);
    C->SetPixels(100, 100, clBlue);
}

TEST_F(CanvasFixture, TextBackgroundFollowsTheBrushOrTheBackgroundMode) {
    Make(80, 30);
    C->Font()->SetColor(clBlack);
    C->Brush()->SetColor(clYellow);
    C->TextOut(2, 3, "Hg");
    TSize ext = C->TextExtent("Hg");
    EXPECT_GT(ext.cx, 0);
    EXPECT_EQ(C->TextHeight("Hg"), ext.cy);
    // The text cell is filled with the background colour, ink stays inside it.
    EXPECT_EQ(Ink(clYellow).Left, 2);
    EXPECT_EQ(Ink(clYellow).Top, 3);
    TRect ink = Ink(clBlack);
    EXPECT_FALSE(ink.IsEmpty());
    EXPECT_GE(ink.Left, 2);
    EXPECT_LE(ink.Right, 2 + ext.cx);
    EXPECT_LE(ink.Bottom, 3 + ext.cy);
    EXPECT_EQ(Count(clYellow, TRect(0, 0, 80, 30)) + Count(clBlack, TRect(0, 0, 80, 30)), ext.cx * ext.cy);
    EXPECT_EQ(C->PenPos(), TPoint(2 + ext.cx, 3));

    // A clear brush or the transparent background mode leaves the background alone.
    Make(80, 30);
    C->Brush()->SetStyle(bsClear);
    C->TextOut(2, 3, "Hg");
    EXPECT_EQ(Count(clYellow, TRect(0, 0, 80, 30)), 0);
    EXPECT_GT(Count(clBlack, TRect(0, 0, 80, 30)), 0);
    Make(80, 30);
    C->Brush()->SetColor(clYellow);
    C->SetBkMode(TRANSPARENT);
    C->TextOut(2, 3, "Hg");
    EXPECT_EQ(Count(clYellow, TRect(0, 0, 80, 30)), 0);
    // SetTextColor draws in that colour.
    C->SetTextColor(clRed);
    C->TextOut(40, 3, "Hg");
    EXPECT_GT(Count(clRed, TRect(40, 0, 80, 30)), 0);
    EXPECT_EQ(Count(clBlack, TRect(40, 0, 80, 30)), 0);
}

TEST_F(CanvasFixture, TextRectClipsToItsRectangle) {
    Make(60, 30);
    C->Brush()->SetColor(clYellow);
    C->TextRect(TRect(5, 5, 15, 20), 2, 5, "WWWWWW");
    EXPECT_EQ(Ink(clYellow), TRect(5, 5, 15, 20));
    TRect ink = Ink(clBlack);
    EXPECT_GE(ink.Left, 5);
    EXPECT_LE(ink.Right, 15);
}

TEST_F(CanvasFixture, DrawTextAlignsSingleLines) {
    Make(200, 40);
    const int w = C->TextWidth("Mm");
    struct Case {
        Cardinal Flags;
        int Left; // where the text cell starts
    } cases[] = {
        {DT_LEFT | DT_SINGLELINE, 10},
        {DT_CENTER | DT_SINGLELINE, 10 + (180 - w) / 2},
        {DT_RIGHT | DT_SINGLELINE, 190 - w},
    };
    for (const auto& c : cases) {
        Make(200, 40);
        C->Brush()->SetColor(clYellow); // opaque background shows the text cell
        TRect r(10, 0, 190, 40);
        int h = DrawText(C, "Mm", r, c.Flags);
        EXPECT_EQ(h, C->TextHeight("Mm"));
        TRect cell = Ink(clYellow);
        TRect ink = Ink(clBlack);
        EXPECT_EQ(cell.Left, c.Left) << c.Flags;
        EXPECT_EQ(cell.Top, 0);
        EXPECT_GE(ink.Left, cell.Left);
        EXPECT_LE(ink.Right, c.Left + w);
    }
    // Vertical centring and bottom alignment of a single line; the answer is the offset of the
    // text's bottom from the rectangle's top.
    const int th = C->TextHeight("Mm");
    TRect r(0, 0, 200, 40);
    EXPECT_EQ(DrawText(C, "Mm", r, DT_SINGLELINE | DT_VCENTER), (40 - th) / 2 + th);
    EXPECT_EQ(DrawText(C, "Mm", r, DT_SINGLELINE | DT_BOTTOM), 40);
}

TEST_F(CanvasFixture, DrawTextMeasuresWordBreakAgainstTextWidth) {
    Make(10, 10);
    const int lh = C->TextHeight("gh");
    const int two = C->TextWidth("aaa bbb");
    const int aaa = C->TextWidth("aaa");
    struct Case {
        const char* Text;
        int Width;
        Cardinal Flags;
        int Lines;
        int MeasuredWidth; // -1: at most Width
    } cases[] = {
        {"aaa bbb ccc", two, DT_WORDBREAK, 2, two},
        {"aaa bbb ccc", 1000, DT_WORDBREAK, 1, -1},
        {"aaa aaa aaa", 0, DT_WORDBREAK, 3, aaa},
        {"aaa\nbbb", 1000, 0, 2, -1},
        {"aaa\r\nbbb\r\n", 1000, 0, 3, -1},
        {"aaa\nbbb", 1000, DT_SINGLELINE, 1, -1},
        {"", 100, DT_WORDBREAK, 0, 0},
    };
    for (const auto& c : cases) {
        TRect r(5, 7, 5 + c.Width, 7);
        int h = DrawText(C, c.Text, r, c.Flags | DT_CALCRECT);
        EXPECT_EQ(h, c.Lines * lh) << c.Text << " " << c.Width;
        EXPECT_EQ(r.Top, 7);
        EXPECT_EQ(r.Bottom, 7 + c.Lines * lh) << c.Text;
        if (c.MeasuredWidth >= 0)
            EXPECT_EQ(r.Width(), c.MeasuredWidth) << c.Text;
        else
            EXPECT_LE(r.Width(), c.Width) << c.Text;
    }
    // Tabs advance to the next stop: text up to the first stop does not move what follows.
    TRect t1(0, 0, 1000, 0), t2(0, 0, 1000, 0);
    DrawText(C, "\tb", t1, DT_CALCRECT | DT_EXPANDTABS | DT_SINGLELINE);
    DrawText(C, "a\tb", t2, DT_CALCRECT | DT_EXPANDTABS | DT_SINGLELINE);
    EXPECT_EQ(t1.Width(), t2.Width());
    EXPECT_GT(t1.Width(), C->TextWidth("a b"));

    // The widest line decides the measured width.
    TRect r(0, 0, 1000, 0);
    DrawText(C, "a\nwide line\nb", r, DT_CALCRECT);
    EXPECT_EQ(r.Width(), C->TextWidth("wide line"));

    // A word wider than the line stays whole (the measure grows), unless edit-control rules
    // break it between characters.
    const int word = C->TextWidth("abcdefghij");
    TRect narrow(0, 0, word / 2, 0);
    EXPECT_EQ(DrawText(C, "abcdefghij", narrow, DT_WORDBREAK | DT_CALCRECT), lh);
    EXPECT_EQ(narrow.Width(), word);
    narrow = TRect(0, 0, word / 2, 0);
    EXPECT_GE(DrawText(C, "abcdefghij", narrow, DT_WORDBREAK | DT_EDITCONTROL | DT_CALCRECT), 2 * lh);
    EXPECT_LE(narrow.Width(), word / 2);
}

namespace {

// The lines of a paragraph broken at blanks within Width, each candidate line measured whole: the
// first word of a line stays whole, or with EditControl is cut between characters.
std::vector<String> LinesMeasuredWhole(TCanvas* C, const String& Text, int Width, bool EditControl) {
    auto blank = [](QChar c) { return c == u' ' || c == u'\t'; };
    std::vector<String> lines;
    const int n = int(Text.size());
    int pos = 0;
    while (pos < n) {
        int end = pos;
        for (int scan = pos; scan < n;) {
            int s = scan;
            while (s < n && blank(Text[s])) ++s;
            int e = s;
            while (e < n && !blank(Text[e])) ++e;
            if (e == s) break;
            if (C->TextWidth(Text.mid(pos, e - pos)) <= Width) {
                end = scan = e;
                continue;
            }
            if (end == pos) {
                end = e;
                if (EditControl) {
                    int k = 1;
                    while (pos + k < e && C->TextWidth(Text.mid(pos, k + 1)) <= Width) ++k;
                    end = pos + k;
                }
            }
            break;
        }
        if (end == pos) break;
        lines.push_back(Text.mid(pos, end - pos));
        pos = end;
        while (pos < n && blank(Text[pos])) ++pos;
    }
    return lines;
}

} // namespace

// Word breaking measures each word once; the lines, their widths and the cut of an ellipsis are
// the ones that measuring every candidate whole gives, in several fonts, with runs of spaces,
// unexpanded tabs, other scripts, right-to-left text and a paragraph longer than a cell.
TEST_F(CanvasFixture, DrawTextBreaksWhereWholeLinesWouldBreak) {
    Make(10, 10);
    String longParagraph;
    for (int i = 0; longParagraph.size() < 2500; ++i)
        longParagraph += QStringLiteral("word%1 of a long paragraph, ").arg(i * 37 % 1000);
    const String texts[] = {
        QStringLiteral("The quick brown fox jumps over the lazy dog; AVATAR To. Wa, Ty Yo LT"),
        QStringLiteral("Mapped  to   register 40001.3  of  LD0/MMXU1.TotW.mag.f"),
        QString::fromUtf8("Größe der Übertragung, Привет мир, ﬁle office affluent"),
        QStringLiteral("raw\ttab stays\tunexpanded in the line"),
        QString::fromUtf8("שלום עולם mixed with العربية text"),
        longParagraph,
    };
    struct Font {
        const char* Name;
        int Size;
        TFontStyles Style;
    } fonts[] = {{"Tahoma", 8, {}},
                 {"Arial", 11, {fsBold}},
                 {"Courier New", 9, {}},
                 {"Times New Roman", 12, {fsItalic}}};
    for (const Font& f : fonts) {
        C->Font()->SetName(QString::fromLatin1(f.Name));
        C->Font()->SetSize(f.Size);
        C->Font()->SetStyle(f.Style);
        const int lh = C->TextHeight(QStringLiteral("Wg"));
        for (const String& text : texts) {
            // The long paragraph (the slow reference is quadratic) in the first font only.
            if (&text == &texts[std::size(texts) - 1] && &f != &fonts[0]) continue;
            for (int width : {1, 40, 75, 130, 260})
                for (bool edit : {false, true}) {
                    const std::vector<String> lines = LinesMeasuredWhole(C, text, width, edit);
                    int widest = 0;
                    for (const String& l : lines) widest = std::max(widest, C->TextWidth(l));
                    const Cardinal flags = DT_WORDBREAK | DT_NOPREFIX | (edit ? DT_EDITCONTROL : 0);
                    TRect r(0, 0, width, 0);
                    const int h = DrawText(C, text, r, flags | DT_CALCRECT);
                    const std::string what = f.Name + (" " + text.left(20).toStdString()) + " in " +
                                             std::to_string(width) + (edit ? " edit" : "");
                    EXPECT_EQ(h, int(lines.size()) * lh) << what;
                    EXPECT_EQ(r.Width(), widest) << what;
                    // Drawing answers what measuring answered.
                    TRect drawn(0, 0, width, 10);
                    EXPECT_EQ(DrawText(C, text, drawn, flags), h) << what;
                }
        }
        // An end ellipsis keeps the longest start of the line that fits with "...".
        const String line = texts[0];
        for (int width : {20, 60, 150}) {
            int k = int(line.size()) - 1;
            while (k > 0 && C->TextWidth(line.left(k) + "...") > width) --k;
            TRect r(0, 0, width, 0);
            DrawText(C, line, r, DT_CALCRECT | DT_SINGLELINE | DT_END_ELLIPSIS);
            EXPECT_EQ(r.Width(), C->TextWidth(line.left(k) + "...")) << f.Name << " " << width;
        }
    }
}

TEST_F(CanvasFixture, DrawTextPrefixesAndEllipsis) {
    Make(120, 30);
    struct Case {
        const char* Text;
        Cardinal Flags;
        const char* Shown;
    } cases[] = {
        {"A&&B", 0, "A&B"},
        {"&File", 0, "File"},
        {"&File", DT_NOPREFIX, "&File"},
        {"Save && &Quit", 0, "Save & Quit"},
        {"&File", DT_HIDEPREFIX, "File"},
    };
    for (const auto& c : cases) {
        TRect r(0, 0, 1000, 0);
        DrawText(C, c.Text, r, c.Flags | DT_CALCRECT | DT_SINGLELINE);
        EXPECT_EQ(r.Width(), C->TextWidth(c.Shown)) << c.Text;
    }

    // "&x" underlines x: more ink than with the prefix hidden, and only below the text's baseline.
    auto inkOf = [&](Cardinal flags) {
        Make(120, 30);
        C->Brush()->SetStyle(bsClear);
        TRect r(0, 0, 120, 30);
        DrawText(C, "&xx", r, flags | DT_SINGLELINE);
        return Count(clBlack, TRect(0, 0, 120, 30));
    };
    int hidden = inkOf(DT_HIDEPREFIX);
    int underlined = inkOf(0);
    EXPECT_GT(hidden, 0);
    EXPECT_EQ(underlined - hidden, C->TextWidth("x"));

    // End ellipsis: the text is cut to fit with "...".
    const int width = C->TextWidth("abcdef");
    TRect r(0, 0, width, 0);
    DrawText(C, "abcdefghijklmnop", r, DT_CALCRECT | DT_SINGLELINE | DT_END_ELLIPSIS);
    EXPECT_LE(r.Width(), width);
    EXPECT_GT(r.Width(), C->TextWidth("..."));
    // Drawing stays inside the rectangle unless DT_NOCLIP.
    Make(120, 30);
    TRect box(10, 5, 20, 25);
    DrawText(C, "WWWWWWWW", box, DT_SINGLELINE);
    EXPECT_LE(Ink(clBlack).Right, 20);
    Make(120, 30);
    DrawText(C, "WWWWWWWW", box, DT_SINGLELINE | DT_NOCLIP);
    EXPECT_GT(Ink(clBlack).Right, 20);
}

TEST_F(CanvasFixture, EdgesUseTheClassic3DColours) {
    struct Case {
        Cardinal Edge, Flags;
        TColor Outer[2], Inner[2]; // top-left, bottom-right
    } cases[] = {
        {EDGE_RAISED, BF_RECT, {cl3DLight, cl3DDkShadow}, {clBtnHighlight, clBtnShadow}},
        {EDGE_SUNKEN, BF_RECT, {clBtnShadow, clBtnHighlight}, {cl3DDkShadow, cl3DLight}},
        {EDGE_RAISED, BF_RECT | BF_SOFT, {clBtnHighlight, cl3DDkShadow}, {cl3DLight, clBtnShadow}},
        {EDGE_ETCHED, BF_RECT, {clBtnShadow, clBtnHighlight}, {clBtnHighlight, clBtnShadow}},
    };
    for (const auto& c : cases) {
        Make(10, 8);
        TRect r(0, 0, 10, 8);
        ASSERT_TRUE(DrawEdge(C, r, c.Edge, c.Flags | BF_ADJUST | BF_MIDDLE));
        EXPECT_EQ(r, TRect(2, 2, 8, 6));
        EXPECT_EQ(C->Pixels(0, 3), ColorToRGB(c.Outer[0])) << c.Edge;
        EXPECT_EQ(C->Pixels(4, 0), ColorToRGB(c.Outer[0]));
        EXPECT_EQ(C->Pixels(9, 3), ColorToRGB(c.Outer[1]));
        EXPECT_EQ(C->Pixels(4, 7), ColorToRGB(c.Outer[1]));
        EXPECT_EQ(C->Pixels(9, 0), ColorToRGB(c.Outer[1])); // the right side owns the top-right corner
        EXPECT_EQ(C->Pixels(1, 3), ColorToRGB(c.Inner[0]));
        EXPECT_EQ(C->Pixels(8, 3), ColorToRGB(c.Inner[1]));
        EXPECT_EQ(C->Pixels(4, 4), ColorToRGB(clBtnFace));
    }
    // Only the asked-for sides.
    Make(10, 8);
    TRect r(0, 0, 10, 8);
    DrawEdge(C, r, BDR_RAISEDOUTER, BF_BOTTOM);
    EXPECT_EQ(Count(clWhite, TRect(0, 0, 10, 7)), 70);
    EXPECT_EQ(Count(ColorToRGB(cl3DDkShadow), TRect(0, 7, 10, 8)), 10);
}

TEST_F(CanvasFixture, FrameControlsDrawClassicChecksRadiosAndArrows) {
    auto draw = [&](Cardinal kind, Cardinal state) {
        Make(13, 13);
        TRect r(0, 0, 13, 13);
        EXPECT_TRUE(DrawFrameControl(C, r, kind, state));
        return Snapshot();
    };
    QImage unchecked = draw(DFC_BUTTON, DFCS_BUTTONCHECK);
    EXPECT_EQ(C->Pixels(6, 6), ColorToRGB(clWindow));
    EXPECT_EQ(C->Pixels(0, 0), ColorToRGB(clBtnShadow));
    QImage checked = draw(DFC_BUTTON, DFCS_BUTTONCHECK | DFCS_CHECKED);
    EXPECT_NE(checked, unchecked);
    EXPECT_GT(Count(clBlack, TRect(2, 2, 11, 11)), 10);
    draw(DFC_BUTTON, DFCS_BUTTONCHECK | DFCS_CHECKED | DFCS_INACTIVE);
    EXPECT_EQ(Count(clBlack, TRect(2, 2, 11, 11)), 0);
    EXPECT_EQ(C->Pixels(3, 3), ColorToRGB(clBtnFace));

    draw(DFC_BUTTON, DFCS_BUTTONRADIO);
    EXPECT_EQ(C->Pixels(6, 6), ColorToRGB(clWindow));
    EXPECT_EQ(C->Pixels(0, 0), clWhite); // outside the circle
    draw(DFC_BUTTON, DFCS_BUTTONRADIO | DFCS_CHECKED);
    EXPECT_EQ(C->Pixels(6, 6), clBlack);

    // Scroll arrows: ink above the centre for up, below for down.
    draw(DFC_SCROLL, DFCS_SCROLLUP);
    TRect up = Ink(clBlack);
    draw(DFC_SCROLL, DFCS_SCROLLDOWN);
    TRect down = Ink(clBlack);
    ASSERT_FALSE(up.IsEmpty());
    EXPECT_EQ(up.Width(), down.Width());
    EXPECT_EQ(C->Pixels(down.Left + down.Width() / 2, down.Bottom - 1), clBlack); // the tip
    EXPECT_NE(C->Pixels(down.Left, down.Bottom - 1), clBlack);
    draw(DFC_SCROLL, DFCS_SCROLLCOMBOBOX);
    EXPECT_EQ(Ink(clBlack), down);
    draw(DFC_SCROLL, DFCS_SCROLLDOWN | DFCS_INACTIVE);
    EXPECT_TRUE(Ink(clBlack).IsEmpty());
}

TEST_F(CanvasFixture, OnChangeFiresAroundDrawing) {
    Make(4, 4);
    int changing = 0, changed = 0;
    C->OnChanging = [&](TObject*) { ++changing; };
    C->OnChange = [&](TObject*) { ++changed; };
    int bitmapChanges = 0;
    Bmp.OnChange = [&](TObject*) { ++bitmapChanges; };
    C->FillRect(TRect(0, 0, 2, 2));
    C->MoveTo(0, 0);
    C->LineTo(3, 3);
    EXPECT_EQ(changing, 2);
    EXPECT_EQ(changed, 2);
    EXPECT_EQ(bitmapChanges, 2);
}

TEST(CanvasTarget, FollowsTheImageWhenItsOwnerResizesOrReplacesIt) {
    QImage img(20, 10, QImage::Format_RGB32);
    img.fill(Qt::white);
    TCanvas c;
    c.SetTarget(&img);
    c.Brush()->SetColor(clRed);
    c.FillRect(TRect(0, 0, 100, 100));
    EXPECT_EQ(c.Pixels(19, 9), clRed);
    // A smaller image: drawing stays inside it.
    img = QImage(5, 4, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::white);
    c.FillRect(TRect(0, 0, 100, 100));
    EXPECT_EQ(c.Pixels(4, 3), clRed);
    EXPECT_EQ(c.ClipRect(), TRect(0, 0, 5, 4));
    c.MoveTo(0, 0);
    c.LineTo(50, 50);
    c.TextOut(0, 0, "Wide text");
    // An image in another format is brought into the drawing format.
    img = QImage(6, 6, QImage::Format_RGB888);
    img.fill(Qt::white);
    c.SetPixels(5, 5, clBlue);
    EXPECT_EQ(c.Pixels(5, 5), clBlue);
    EXPECT_EQ(img.depth(), 32);
    // Without a target nothing is drawn and nothing fails.
    c.SetTarget(nullptr);
    c.FillRect(TRect(0, 0, 5, 5));
    EXPECT_EQ(c.Pixels(0, 0), clNone);
    TRect r(0, 0, 10, 10);
    EXPECT_EQ(DrawText(&c, "x", r, DT_CALCRECT), c.TextHeight("x"));
}
