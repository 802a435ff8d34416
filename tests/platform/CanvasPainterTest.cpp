// One painter per paint: drawing inside a paint bracket gives the pixels that separate calls give,
// whatever each call changes on the shared painter, and the bracket survives what happens to its
// image and to the paint.
#include "Controls.h"
#include "Graphics.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <functional>
#include <stdexcept>

namespace {

constexpr int SceneWidth = 140, SceneHeight = 70;

// Calls that each leave something different on a painter they share: background fill, font,
// colour, rotation, clip rectangles of their own, canvas clips set and removed between them, pens
// and brushes of shapes, saved states, a bitmap drawn with its own canvas in the middle.
void DrawScene(TCanvas* C) {
    C->Brush()->SetStyle(bsSolid);
    C->Brush()->SetColor(clWhite);
    C->FillRect(TRect(0, 0, SceneWidth, SceneHeight));
    C->Font()->SetName(QStringLiteral("Tahoma"));
    C->Font()->SetSize(9);
    C->Brush()->SetColor(clYellow);
    C->TextOut(2, 2, QStringLiteral("Opaque"));
    C->Font()->SetStyle({fsBold});
    C->Font()->SetColor(clRed);
    C->Brush()->SetStyle(bsClear);
    C->TextOut(60, 2, QStringLiteral("Bold"));
    C->Font()->SetOrientation(900);
    C->TextOut(125, 60, QStringLiteral("Up"));
    C->Font()->SetOrientation(0);
    C->Font()->SetStyle({});
    C->Font()->SetColor(clBlack);
    C->TextOut(2, 16, QStringLiteral("After rotation"));
    TRect cell(2, 30, 40, 44);
    DrawText(C, QStringLiteral("Clipped long cell text"), cell, DT_SINGLELINE | DT_VCENTER);
    TRect centred(40, 30, 110, 44);
    C->Brush()->SetColor(clYellow);
    DrawText(C, QStringLiteral("&Centre"), centred, DT_SINGLELINE | DT_CENTER);
    C->TextRect(TRect(110, 30, 120, 44), 108, 30, QStringLiteral("WW"));
    const int saved = C->SaveDC();
    C->IntersectClipRect(TRect(0, 46, 70, SceneHeight));
    C->Pen()->SetColor(clBlue);
    C->MoveTo(0, 46);
    C->LineTo(SceneWidth, SceneHeight);
    C->Brush()->SetColor(clBlue);
    C->Pie(30, 44, 90, 80, 90, 60, 30, 60);
    C->Brush()->SetStyle(bsClear);
    C->TextOut(0, 50, QStringLiteral("Clipped"));
    C->RestoreDC(saved);
    C->TextOut(72, 50, QStringLiteral("Free"));
    TBitmap inner(16, 8);
    inner.Canvas()->Brush()->SetColor(clRed);
    inner.Canvas()->FillRect(TRect(0, 0, 16, 8));
    inner.Canvas()->TextOut(0, -4, QStringLiteral("x"));
    C->Draw(100, 48, &inner);
    C->Pen()->SetColor(clBlack);
    C->Arc(100, 56, 138, 70, 138, 63, 100, 63);
    C->TextOut(100, 58, QStringLiteral("end"));
}

// The pixels of a scene drawn call by call, each call with a painter of its own.
QImage SceneWithoutBracket() {
    TBitmap b(SceneWidth, SceneHeight);
    DrawScene(b.Canvas());
    return b.Image().convertToFormat(QImage::Format_RGB32);
}

// Counts the pixels where two images differ.
int Differences(const QImage& A, const QImage& B) {
    const QImage a = A.convertToFormat(QImage::Format_RGB32), b = B.convertToFormat(QImage::Format_RGB32);
    if (a.size() != b.size()) return -1;
    int n = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) n += a.pixel(x, y) != b.pixel(x, y);
    return n;
}

// A control whose paint runs a function on its canvas.
class TScriptedControl : public TCustomControl {
public:
    TScriptedControl() : TCustomControl(nullptr) { SetBounds(0, 0, SceneWidth, SceneHeight); }
    void PaintNow() {
        TMessage m(WM_PAINT);
        Perform(m);
    }
    std::function<void(TCanvas*)> Script;

protected:
    void Paint() override {
        if (Script) Script(Canvas());
    }
};

} // namespace

TEST(CanvasPainter, OnePaintGivesThePixelsOfSeparateCalls) {
    const QImage expected = SceneWithoutBracket();
    ASSERT_GT(Differences(expected, QImage(SceneWidth, SceneHeight, QImage::Format_RGB32)), 0);

    // A bracket on a bitmap's canvas, and the same nested inside a second one.
    for (int depth : {1, 2}) {
        TBitmap b(SceneWidth, SceneHeight);
        {
            TCanvasPainting outer(b.Canvas());
            if (depth == 2) {
                TCanvasPainting inner(b.Canvas());
                DrawScene(b.Canvas());
                EXPECT_TRUE(b.Canvas()->PaintingOpen());
            } else {
                DrawScene(b.Canvas());
            }
        }
        EXPECT_FALSE(b.Canvas()->PaintingOpen());
        EXPECT_EQ(Differences(b.Image(), expected), 0) << "depth " << depth;
    }

    // A control's paint: the backing image's bracket holds the painter for the whole paint.
    auto* control = new TScriptedControl;
    ScopeGuard freeControl([&] { TObject::Free(control); });
    bool openInPaint = false;
    control->Script = [&](TCanvas* C) {
        openInPaint = C->PaintingOpen();
        DrawScene(C);
    };
    control->PaintNow();
    EXPECT_TRUE(openInPaint);
    EXPECT_FALSE(control->Canvas()->PaintingOpen());
    EXPECT_EQ(Differences(control->BackImage(), expected), 0);
}

TEST(CanvasPainter, TheImageMayBeResizedOrCopiedInsideABracket) {
    TBitmap b(40, 20);
    TCanvas* C = b.Canvas();
    C->Brush()->SetStyle(bsClear);
    TCanvasPainting painting(C);
    C->TextOut(0, 0, QStringLiteral("W"));
    // The bitmap replaces its image: text goes on the new one, also beyond the old width.
    b.SetSize(120, 20);
    C->TextOut(80, 0, QStringLiteral("W"));
    EXPECT_GT(C->TextWidth(QStringLiteral("W")), 0);
    TRect ink(80, 0, 80 + C->TextWidth(QStringLiteral("W")), 20);
    int black = 0;
    for (int y = ink.Top; y < ink.Bottom; ++y)
        for (int x = ink.Left; x < ink.Right; ++x) black += C->Pixels(x, y) == clBlack;
    EXPECT_GT(black, 0);
    // A copy taken in the middle of the paint keeps what it had.
    const QImage copy = b.Image();
    const QImage before = copy.copy();
    C->TextOut(40, 0, QStringLiteral("WWW"));
    EXPECT_EQ(Differences(copy, before), 0);
    EXPECT_GT(Differences(b.Image(), before), 0);
}

TEST(CanvasPainter, APaintThatThrowsClosesItsPainter) {
    auto* control = new TScriptedControl;
    ScopeGuard freeControl([&] { TObject::Free(control); });
    control->Script = [](TCanvas* C) {
        C->TextOut(0, 0, QStringLiteral("half"));
        throw std::runtime_error("paint failed");
    };
    EXPECT_THROW(control->PaintNow(), std::runtime_error);
    EXPECT_FALSE(control->Canvas()->PaintingOpen());
    // The next paint, at another size, draws in full.
    control->SetBounds(0, 0, SceneWidth + 10, SceneHeight);
    control->Script = [](TCanvas* C) {
        C->Brush()->SetColor(clBlue);
        C->FillRect(TRect(0, 0, SceneWidth + 10, SceneHeight));
        C->TextOut(SceneWidth, 0, QStringLiteral("W"));
    };
    control->PaintNow();
    EXPECT_EQ(control->Canvas()->Pixels(SceneWidth + 9, SceneHeight - 1), clBlue);
    EXPECT_FALSE(control->Canvas()->PaintingOpen());
}
