// The speed button: its faces in the states up, pressed, down and disabled on pixels, the glyph
// picture chosen by state, a click that holds the mouse capture, groups with one button down, the
// flat button's hot edge through CM_MOUSEENTER/LEAVE, and an overridden Paint.
#include "Buttons.h"

#include "Forms.h"
#include "TestSupport.h"

#include <QImage>
#include <gtest/gtest.h>

namespace {

class SpeedButton : public ::testing::Test {
protected:
    void SetUp() override {
        Form = new TForm(nullptr);
        Form->SetBounds(100, 100, 320, 240);
        Form->SetColor(clWhite);
        Form->Show();
    }
    void TearDown() override { TObject::Free(Form); }

    template <class T = TSpeedButton> T* Add(int Left = 10, int Top = 10) {
        auto* b = new T(Form);
        b->SetParent(Form);
        b->SetBounds(Left, Top, 40, 30);
        return b;
    }
    static TColor At(TSpeedButton* B, int X, int Y) {
        const QRgb p = B->PaintImage().pixel(X, Y);
        return RGB(qRed(p), qGreen(p), qBlue(p));
    }
    // A glyph of Count 8 x 8 pictures side by side, picture i filled with Colors[i], with a
    // magenta (transparent) bottom-left corner pixel each.
    static TBitmap* Strip(std::initializer_list<TColor> Colors) {
        auto* bmp = new TBitmap(8 * int(Colors.size()), 8);
        int i = 0;
        for (TColor c : Colors) {
            bmp->Canvas()->Brush()->SetColor(c);
            bmp->Canvas()->FillRect(TRect(i * 8, 0, i * 8 + 8, 8));
            ++i;
        }
        for (int k = 0; k < i; ++k) {
            bmp->Canvas()->Brush()->SetColor(clFuchsia);
            bmp->Canvas()->FillRect(TRect(k * 8, 7, k * 8 + 1, 8));
        }
        return bmp;
    }

    TForm* Form = nullptr;
};

TEST_F(SpeedButton, Defaults) {
    auto* b = Add();
    EXPECT_EQ(b->State(), bsUp);
    EXPECT_FALSE(b->Down());
    EXPECT_EQ(b->NumGlyphs(), 1);
    EXPECT_EQ(b->Margin(), -1);
    EXPECT_EQ(b->Spacing(), 4);
    EXPECT_EQ(b->Layout(), blGlyphLeft);
    EXPECT_TRUE(b->Transparent());
    EXPECT_FALSE(b->Flat());
    b->SetNumGlyphs(5); // 1 to 4 only
    EXPECT_EQ(b->NumGlyphs(), 1);
}

// Each state shows its own picture of a four-picture glyph, placed by the shared placement
// (centred without a caption) and one pixel down and right while pressed.
TEST_F(SpeedButton, TheGlyphOfEachStateOnPixels) {
    auto* b = Add();
    TBitmap* glyph = Strip({clRed, clLime, clBlue, clYellow});
    auto freeGlyph = FreeAtEnd(glyph);
    b->SetGlyph(glyph);
    b->SetNumGlyphs(4);
    // 36 x 26 inside the 2-pixel frame of a raised button: the glyph at ((36 - 8 + 1) / 2 + 2, ...).
    const int gx = (40 - 4 - 8 + 1) / 2 + 2, gy = (30 - 4 - 8 + 1) / 2 + 2;
    EXPECT_EQ(At(b, gx + 4, gy + 3), clRed);
    EXPECT_EQ(At(b, gx, gy + 7), ColorToRGB(clBtnFace)); // the key colour is left out

    SimulateMouseDown(b, mbLeft, {}, 5, 5);
    EXPECT_EQ(b->State(), bsDown);
    EXPECT_EQ(At(b, gx + 5, gy + 4), clBlue);
    EXPECT_EQ(At(b, gx, gy + 1), ColorToRGB(clBtnFace)) << "pressed: moved one pixel right";
    SimulateMouseUp(b, mbLeft, {}, 5, 5);

    b->SetGroupIndex(1);
    b->SetAllowAllUp(true);
    b->SetDown(true);
    EXPECT_EQ(b->State(), bsExclusive);
    EXPECT_EQ(At(b, gx + 5, gy + 4), clYellow);

    b->SetDown(false);
    b->SetEnabled(false);
    EXPECT_EQ(At(b, gx + 4, gy + 3), clLime);
    EXPECT_EQ(b->State(), bsDisabled);
}

// Without a disabled picture the disabled glyph is the up one embossed: shadow grey with a
// highlight one pixel down and right.
TEST_F(SpeedButton, AMissingDisabledPictureIsEmbossed) {
    auto* b = Add();
    TBitmap* glyph = Strip({clRed});
    auto freeGlyph = FreeAtEnd(glyph);
    b->SetGlyph(glyph);
    b->SetEnabled(false);
    const int gx = (40 - 4 - 9 + 1) / 2 + 2, gy = (30 - 4 - 9 + 1) / 2 + 2;
    EXPECT_EQ(At(b, gx + 3, gy + 3), ColorToRGB(clBtnShadow));
    EXPECT_EQ(At(b, gx + 8, gy + 4), ColorToRGB(clBtnHighlight));
}

// The face: raised when up, sunken when pressed; a transparent flat button leaves its parent's
// pixels (alpha 0) until the mouse is over it, then shows a raised edge.
TEST_F(SpeedButton, FacesOnPixels) {
    auto* b = Add();
    const TColor upTopLeft = At(b, 0, 0);
    SimulateMouseDown(b, mbLeft, {}, 5, 5);
    const TColor downTopLeft = At(b, 0, 0);
    SimulateMouseUp(b, mbLeft, {}, 5, 5);
    EXPECT_NE(upTopLeft, downTopLeft);
    EXPECT_EQ(downTopLeft, ColorToRGB(cl3DDkShadow));

    b->SetFlat(true);
    EXPECT_EQ(qAlpha(b->PaintImage().pixel(0, 0)), 0);
    EXPECT_EQ(qAlpha(b->PaintImage().pixel(20, 15)), 0);
    b->Perform(CM_MOUSEENTER);
    EXPECT_TRUE(b->MouseInControl());
    EXPECT_EQ(At(b, 0, 0), ColorToRGB(clBtnHighlight));
    EXPECT_EQ(At(b, 39, 29), ColorToRGB(clBtnShadow));
    b->Perform(CM_MOUSELEAVE);
    EXPECT_FALSE(b->MouseInControl());
    EXPECT_EQ(qAlpha(b->PaintImage().pixel(0, 0)), 0);

    b->SetTransparent(false);
    b->SetColor(clAqua);
    EXPECT_EQ(At(b, 20, 15), clAqua);
}

// The press takes the capture: moving off the button shows it up, moving back pressed, and only a
// release over it clicks.
TEST_F(SpeedButton, AClickHoldsTheCapture) {
    auto* b = Add();
    int clicks = 0;
    b->OnClick = [&](TObject*) { ++clicks; };
    SimulateMouseDown(b, mbLeft, {}, 5, 5);
    EXPECT_TRUE(b->MouseCapture());
    SimulateMouseMove(b, {ssLeft}, 100, 100);
    EXPECT_EQ(b->State(), bsUp);
    SimulateMouseMove(b, {ssLeft}, 6, 6);
    EXPECT_EQ(b->State(), bsDown);
    SimulateMouseUp(b, mbLeft, {}, 6, 6);
    EXPECT_FALSE(b->MouseCapture());
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(b->State(), bsUp);

    SimulateMouseDown(b, mbLeft, {}, 5, 5);
    SimulateMouseUp(b, mbLeft, {}, 100, 100);
    EXPECT_EQ(clicks, 1) << "released outside: no click";
    EXPECT_EQ(b->State(), bsUp);

    b->SetEnabled(false);
    SimulateMouseDown(b, mbLeft, {}, 5, 5);
    SimulateMouseUp(b, mbLeft, {}, 5, 5);
    EXPECT_EQ(clicks, 1);
}

// One button of a group is down at a time; the down one stays down unless AllowAllUp; a button
// without a group is never down.
TEST_F(SpeedButton, AGroupKeepsOneButtonDown) {
    auto* a = Add(10);
    auto* b = Add(60);
    auto* other = Add(110);
    a->SetGroupIndex(1);
    b->SetGroupIndex(1);
    other->SetGroupIndex(2);
    other->SetDown(true);

    SimulateClick(a, 5, 5);
    EXPECT_TRUE(a->Down());
    EXPECT_EQ(a->State(), bsExclusive);
    SimulateClick(b, 5, 5);
    EXPECT_TRUE(b->Down());
    EXPECT_FALSE(a->Down());
    EXPECT_EQ(a->State(), bsUp);
    EXPECT_TRUE(other->Down()) << "another group is left alone";

    SimulateClick(b, 5, 5);
    EXPECT_TRUE(b->Down()) << "without AllowAllUp the down button stays down";
    b->SetAllowAllUp(true);
    EXPECT_TRUE(a->AllowAllUp()) << "the group shares AllowAllUp";
    SimulateClick(b, 5, 5);
    EXPECT_FALSE(b->Down());

    auto* loose = Add(160);
    loose->SetDown(true);
    EXPECT_FALSE(loose->Down());
}

// Paint is the place to draw a face of one's own.
class TRedButton : public TSpeedButton {
public:
    using TSpeedButton::TSpeedButton;

protected:
    void Paint() override {
        Canvas()->Brush()->SetColor(FState == bsDown ? clRed : clGreen);
        Canvas()->FillRect(TRect(0, 0, Width(), Height()));
    }
};

TEST_F(SpeedButton, PaintCanBeOverridden) {
    auto* b = Add<TRedButton>();
    EXPECT_EQ(At(b, 20, 15), clGreen);
    SimulateMouseDown(b, mbLeft, {}, 5, 5);
    EXPECT_EQ(At(b, 20, 15), clRed);
    SimulateMouseUp(b, mbLeft, {}, 5, 5);
}

} // namespace
