// Painting by region: the update region of a window (InvalidateRect, ValidateRect, GetUpdateRect,
// GetUpdateRgn), paints that change only the invalidated part of a backing image (also when Paint
// resets the clip), BeginPaint/EndPaint in a WM_PAINT handler, the erase that goes with an
// invalidation, and backing images that cost no pixels until they are needed.
#include "Forms.h"
#include "TestSupport.h"

#include <QWidget>
#include <gtest/gtest.h>

#include <ostream>
#include <vector>

static void PrintTo(const TRect& R, std::ostream* Os) {
    *Os << "(" << R.Left << ", " << R.Top << ", " << R.Right << ", " << R.Bottom << ")";
}

namespace {

constexpr TColor PaintColour = clNavy;
constexpr TColor BackgroundColour = clYellow;
constexpr TColor Marker = clFuchsia;

// An owner-drawn control of 600 x 400 (cells of 60 x 20) whose Paint covers every pixel in its
// colour after resetting the clip; it records the clip each paint starts with and the erases.
class TCellProbe : public TCustomControl {
public:
    explicit TCellProbe(TComponent* AOwner) : TCustomControl(AOwner) {
        SetBounds(10, 10, 600, 400);
        SetColor(BackgroundColour);
    }
    std::vector<TRect> Clips;
    int Erases = 0;

    void Dispatch(TMessage& Message) override {
        if (Message.Msg == WM_ERASEBKGND) ++Erases;
        TCustomControl::Dispatch(Message);
    }
    // Covers the whole image with the marker colour outside a paint.
    void Mark() {
        Canvas()->Brush()->SetColor(Marker);
        Canvas()->FillRect(ClientRect());
    }
    QRgb Pixel(int X, int Y) { return BackImage().pixel(X, Y); }
    // The bounding box of the pixels that are not the marker colour (empty when none).
    TRect Repainted() {
        const QImage& img = BackImage();
        const QRgb marker = ToQColor(Marker).rgba();
        TRect r(img.width(), img.height(), 0, 0);
        for (int y = 0; y < img.height(); ++y)
            for (int x = 0; x < img.width(); ++x)
                if (img.pixel(x, y) != marker) {
                    r.Left = std::min(r.Left, x);
                    r.Top = std::min(r.Top, y);
                    r.Right = std::max(r.Right, x + 1);
                    r.Bottom = std::max(r.Bottom, y + 1);
                }
        return r.IsEmpty() ? TRect() : r;
    }

protected:
    void Paint() override {
        Clips.push_back(Canvas()->ClipRect());
        Canvas()->ResetClip();
        Canvas()->Brush()->SetColor(PaintColour);
        Canvas()->FillRect(ClientRect());
    }
};

TRect Cell(int Col, int Row) {
    return Bounds(Col * 60, Row * 20, 60, 20);
}

class UpdateRegionTest : public ::testing::Test {
protected:
    void SetUp() override {
        Form = new TForm(nullptr);
        Form->SetClientSize(620, 420);
        Probe = new TCellProbe(Form);
        Probe->SetParent(Form);
    }
    void TearDown() override { TObject::Free(Form); }
    // Shows the form and waits for the control's first paint.
    void ShowAndPaint() {
        Form->Show();
        ASSERT_TRUE(ProcessMessagesUntil([&] { return !Probe->Clips.empty(); }));
        Probe->Clips.clear();
        Probe->Erases = 0;
    }
    TRect UpdateRect() {
        TRect r;
        GetUpdateRect(Probe->Handle(), r, false);
        return r;
    }
    TForm* Form = nullptr;
    TCellProbe* Probe = nullptr;
};

// ---------------------------------------------------------------------------------------------
// Paints limited to the region

TEST_F(UpdateRegionTest, InvalidatingOneCellRepaintsOnlyThatCell) {
    ShowAndPaint();
    Probe->Mark();
    const TRect cell = Cell(3, 7);
    InvalidateRect(Probe->Handle(), &cell, false);
    ASSERT_TRUE(ProcessMessagesUntil([&] { return !Probe->Clips.empty(); }));

    ASSERT_EQ(Probe->Clips.size(), 1u);
    EXPECT_EQ(Probe->Clips[0], cell);
    // Paint covered every pixel after resetting the clip, yet only the cell changed.
    EXPECT_EQ(Probe->Repainted(), cell);
    EXPECT_EQ(Probe->Pixel(cell.Left, cell.Top), ToQColor(PaintColour).rgba());
    EXPECT_EQ(Probe->Pixel(cell.Right - 1, cell.Bottom - 1), ToQColor(PaintColour).rgba());
    EXPECT_EQ(Probe->Pixel(cell.Left - 1, cell.Top), ToQColor(Marker).rgba());
    EXPECT_EQ(Probe->Pixel(cell.Right, cell.Bottom - 1), ToQColor(Marker).rgba());
    EXPECT_EQ(Probe->Pixel(cell.Left, cell.Bottom), ToQColor(Marker).rgba());
    // Without erase nothing asked for the background; nothing is left to paint.
    EXPECT_EQ(Probe->Erases, 0);
    EXPECT_TRUE(UpdateRect().IsEmpty());

    // The window shows the image as it is now, without painting again.
    const QImage shown = Probe->Widget()->grab().toImage();
    EXPECT_EQ(shown.pixelColor(cell.Left + 5, cell.Top + 5), ToQColor(PaintColour));
    EXPECT_EQ(shown.pixelColor(5, 5), ToQColor(Marker));
    EXPECT_EQ(Probe->Clips.size(), 1u);
}

TEST_F(UpdateRegionTest, TwoCellsPaintTogetherAndNothingBetweenThem) {
    ShowAndPaint();
    Probe->Mark();
    const TRect a = Cell(1, 1), b = Cell(4, 3);
    InvalidateRect(Probe->Handle(), &a, false);
    InvalidateRect(Probe->Handle(), &b, false);
    EXPECT_EQ(UpdateRect(), Rect(a.Left, a.Top, b.Right, b.Bottom));
    Probe->Update();

    ASSERT_EQ(Probe->Clips.size(), 1u);
    EXPECT_EQ(Probe->Clips[0], Rect(a.Left, a.Top, b.Right, b.Bottom));
    EXPECT_EQ(Probe->Pixel(a.Left + 1, a.Top + 1), ToQColor(PaintColour).rgba());
    EXPECT_EQ(Probe->Pixel(b.Left + 1, b.Top + 1), ToQColor(PaintColour).rgba());
    // Inside the bounding box but in neither cell.
    EXPECT_EQ(Probe->Pixel(b.Left + 1, a.Top + 1), ToQColor(Marker).rgba());
    EXPECT_EQ(Probe->Pixel(a.Left + 1, b.Top + 1), ToQColor(Marker).rgba());
}

TEST_F(UpdateRegionTest, AnEraseFillsTheBackgroundOnlyInsideTheRegion) {
    ShowAndPaint();
    Probe->Mark();
    const TRect cell = Cell(2, 2);
    InvalidateRect(Probe->Handle(), &cell, true);
    // GetUpdateRect with erase erases now (the background colour, only in the cell); the region
    // stays to be painted, without a second erase.
    TRect r;
    EXPECT_TRUE(GetUpdateRect(Probe->Handle(), r, true));
    EXPECT_EQ(r, cell);
    EXPECT_EQ(Probe->Erases, 1);
    EXPECT_EQ(Probe->Pixel(cell.Left, cell.Top), ToQColor(BackgroundColour).rgba());
    EXPECT_EQ(Probe->Pixel(cell.Left - 1, cell.Top), ToQColor(Marker).rgba());
    Probe->Update();
    EXPECT_EQ(Probe->Erases, 1);
    EXPECT_EQ(Probe->Clips.size(), 1u);
    // A second cell invalidated with erase: erased and painted in one paint.
    const TRect other = Cell(5, 5);
    InvalidateRect(Probe->Handle(), &other, true);
    Probe->Update();
    EXPECT_EQ(Probe->Erases, 2);
    EXPECT_EQ(Probe->Clips.size(), 2u);
}

// ---------------------------------------------------------------------------------------------
// The update region as the platform answers it

TEST_F(UpdateRegionTest, GetUpdateRectAfterInvalidateRectCalls) {
    struct TCase {
        const char* Name;
        std::vector<TRect> Invalidated; // Rect(-1, -1, -1, -1): the whole window (nullptr)
        bool Expected;
        TRect Box;
        int Kind;
    };
    const TRect Whole(-1, -1, -1, -1);
    const std::vector<TCase> cases = {
        {"nothing", {}, false, TRect(), NULLREGION},
        {"one cell", {Cell(2, 3)}, true, Cell(2, 3), SIMPLEREGION},
        {"the same cell twice", {Cell(2, 3), Cell(2, 3)}, true, Cell(2, 3), SIMPLEREGION},
        {"two cells far apart", {Cell(0, 0), Cell(9, 19)}, true, Rect(0, 0, 600, 400), COMPLEXREGION},
        {"two cells side by side", {Cell(1, 1), Cell(2, 1)}, true, Rect(60, 20, 180, 40), SIMPLEREGION},
        {"partly outside the window", {Rect(-30, -10, 30, 10)}, true, Rect(0, 0, 30, 10), SIMPLEREGION},
        {"wholly outside the window", {Rect(600, 0, 700, 50)}, false, TRect(), NULLREGION},
        {"an empty rectangle", {Rect(50, 50, 50, 80)}, false, TRect(), NULLREGION},
        {"the whole window", {Whole}, true, Rect(0, 0, 600, 400), SIMPLEREGION},
        {"a cell, then the whole window", {Cell(3, 3), Whole}, true, Rect(0, 0, 600, 400), SIMPLEREGION},
    };
    // The window is hidden: nothing paints, the region is read before any paint.
    const HWND h = Probe->Handle();
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        ValidateRect(h, nullptr);
        for (const TRect& r : c.Invalidated) InvalidateRect(h, r == Whole ? nullptr : &r, false);
        TRect box(1, 2, 3, 4);
        EXPECT_EQ(GetUpdateRect(h, box, false), c.Expected);
        EXPECT_EQ(box, c.Box);
        QRegion region;
        EXPECT_EQ(GetUpdateRgn(h, region, false), c.Kind);
    }
    TRect r;
    EXPECT_FALSE(GetUpdateRect(HWND(0xDEAD), r, false));
    QRegion region;
    EXPECT_EQ(GetUpdateRgn(HWND(0xDEAD), region, false), RGN_ERROR);
}

TEST_F(UpdateRegionTest, ValidateRectTakesAPartAwayAndThePaintLeavesItAlone) {
    ShowAndPaint();
    Probe->Mark();
    const HWND h = Probe->Handle();
    InvalidateRect(h, nullptr, false);
    const TRect kept = Cell(4, 10);
    ValidateRect(h, &kept);
    QRegion region;
    EXPECT_EQ(GetUpdateRgn(h, region, false), COMPLEXREGION);
    EXPECT_EQ(region, QRegion(0, 0, 600, 400).subtracted(QRegion(240, 200, 60, 20)));
    EXPECT_EQ(UpdateRect(), Rect(0, 0, 600, 400));

    Probe->Update();
    ASSERT_EQ(Probe->Clips.size(), 1u);
    EXPECT_EQ(Probe->Pixel(kept.Left, kept.Top), ToQColor(Marker).rgba());
    EXPECT_EQ(Probe->Pixel(kept.Right - 1, kept.Bottom - 1), ToQColor(Marker).rgba());
    EXPECT_EQ(Probe->Pixel(kept.Left - 1, kept.Top), ToQColor(PaintColour).rgba());
    EXPECT_EQ(Probe->Pixel(0, 0), ToQColor(PaintColour).rgba());
    EXPECT_EQ(GetUpdateRgn(h, region, false), NULLREGION);

    // Validating everything leaves nothing to paint.
    InvalidateRect(h, &kept, false);
    ValidateRect(h, nullptr);
    EXPECT_TRUE(UpdateRect().IsEmpty());
    Probe->Update();
    EXPECT_EQ(Probe->Clips.size(), 1u);
}

// ---------------------------------------------------------------------------------------------
// BeginPaint / EndPaint in a WM_PAINT handler

// Handles WM_PAINT itself, as a window procedure would.
class TPaintStructProbe : public TCustomControl {
public:
    using TCustomControl::TCustomControl;
    std::vector<PAINTSTRUCT> Paints;
    TRect ClipAfterEndPaint;
    void Dispatch(TMessage& Message) override {
        if (Message.Msg != WM_PAINT || Message.WParam) {
            TCustomControl::Dispatch(Message);
            return;
        }
        PAINTSTRUCT ps;
        BeginPaint(Handle(), ps);
        Paints.push_back(ps);
        if (ps.hdc) {
            ps.hdc->Brush()->SetColor(clRed);
            ps.hdc->FillRect(ClientRect());
        }
        EndPaint(Handle(), ps);
        ClipAfterEndPaint = Canvas()->ClipRect();
    }
};

TEST(PaintStruct, BeginPaintAnswersThePartBeingPaintedAndWhetherToErase) {
    auto* c = new TPaintStructProbe(nullptr);
    ScopeGuard freeControl([&] { TObject::Free(c); });
    c->SetBounds(0, 0, 200, 100);
    const HWND h = c->Handle();
    ValidateRect(h, nullptr);
    c->Canvas()->Brush()->SetColor(Marker);
    c->Canvas()->FillRect(Rect(0, 0, 200, 100));

    const TRect a = Rect(10, 10, 30, 20), b = Rect(50, 40, 70, 60);
    InvalidateRect(h, &a, false);
    InvalidateRect(h, &b, false);
    c->Update();
    ASSERT_EQ(c->Paints.size(), 1u);
    EXPECT_EQ(c->Paints[0].hdc, c->Canvas());
    EXPECT_EQ(c->Paints[0].rcPaint, Rect(10, 10, 70, 60));
    EXPECT_FALSE(c->Paints[0].fErase);
    // The canvas was clipped to the two rectangles, and EndPaint ended the clip.
    EXPECT_EQ(c->BackImage().pixelColor(15, 15), QColor(Qt::red));
    EXPECT_EQ(c->BackImage().pixelColor(40, 30), ToQColor(Marker));
    EXPECT_EQ(c->ClipAfterEndPaint, Rect(0, 0, 200, 100));
    TRect left;
    EXPECT_FALSE(GetUpdateRect(h, left, false));

    // Invalidated with erase: the handler is told to erase.
    InvalidateRect(h, &a, true);
    c->Update();
    ASSERT_EQ(c->Paints.size(), 2u);
    EXPECT_TRUE(c->Paints[1].fErase);
    EXPECT_EQ(c->Paints[1].rcPaint, a);

    // Nothing invalid: an empty paint.
    PAINTSTRUCT ps;
    BeginPaint(h, ps);
    EXPECT_TRUE(ps.rcPaint.IsEmpty());
    EndPaint(h, ps);
}

// ---------------------------------------------------------------------------------------------
// Backing images made when needed

TEST(BackingImage, AHiddenControlCostsNoPixelsUntilItDraws) {
    auto* form = new TForm(nullptr);
    ScopeGuard freeForm([&] { TObject::Free(form); });
    auto* c = new TCellProbe(form);
    c->SetParent(form);
    // Layouts move and size it; measuring text needs no pixels either.
    for (int i = 1; i <= 50; ++i) c->SetBounds(i, i, 300 + i, 200 + i);
    EXPECT_GT(c->Canvas()->TextWidth("Measured"), 0);
    EXPECT_FALSE(c->Canvas()->HandleAllocated());

    // Drawing outside a paint makes the image, at the control's size now.
    c->Canvas()->Brush()->SetColor(clRed);
    c->Canvas()->FillRect(Rect(0, 0, 10, 10));
    EXPECT_TRUE(c->Canvas()->HandleAllocated());
    EXPECT_EQ(c->BackImage().size(), QSize(350, 250));
    EXPECT_EQ(c->BackImage().pixelColor(5, 5), QColor(Qt::red));
    EXPECT_EQ(qAlpha(c->BackImage().pixel(20, 20)), 0);
    // A new size keeps the image until it is needed again, then makes it anew.
    c->SetBounds(0, 0, 120, 80);
    EXPECT_EQ(c->BackImage().size(), QSize(120, 80));

    // Shown, it paints at its size.
    form->SetClientSize(400, 300);
    form->Show();
    ASSERT_TRUE(ProcessMessagesUntil([&] { return !c->Clips.empty(); }));
    EXPECT_EQ(c->BackImage().pixelColor(5, 5), ToQColor(PaintColour));
}

TEST(BackingImage, AControlWithoutAWindowPaintsWholeWhenAsked) {
    // No window yet: invalidations and new sizes leave the whole paint area due, with an erase,
    // whatever part was named; Repaint paints it all at the size of the moment.
    auto* form = new TForm(nullptr);
    ScopeGuard freeForm([&] { TObject::Free(form); });
    auto* c = new TCellProbe(form);
    c->SetParent(form);
    c->Mark();
    c->Repaint();
    ASSERT_EQ(c->Clips.size(), 1u);
    EXPECT_EQ(c->Clips[0], Rect(0, 0, 600, 400));
    EXPECT_EQ(c->Erases, 1);
    EXPECT_TRUE(c->Repainted() == Rect(0, 0, 600, 400));

    // Painted, nothing is due; a smaller size is due whole again.
    c->Repaint();
    EXPECT_EQ(c->Clips.size(), 2u) << "Repaint invalidates first";
    c->Update();
    EXPECT_EQ(c->Clips.size(), 2u) << "nothing was due";
    c->SetBounds(0, 0, 120, 80);
    c->Update();
    ASSERT_EQ(c->Clips.size(), 3u);
    EXPECT_EQ(c->Clips[2], Rect(0, 0, 120, 80));
    EXPECT_FALSE(c->HandleAllocated());

    // Shown, the window paints whole once, then only what is invalidated.
    form->SetClientSize(400, 300);
    form->Show();
    ASSERT_TRUE(ProcessMessagesUntil([&] { return c->Clips.size() > 3; }));
    EXPECT_EQ(c->Clips.back(), Rect(0, 0, 120, 80));
    const TRect cell = Rect(10, 10, 30, 20);
    InvalidateRect(c->Handle(), &cell, false);
    TRect due;
    EXPECT_TRUE(GetUpdateRect(c->Handle(), due, false));
    EXPECT_EQ(due, cell);
}

} // namespace
