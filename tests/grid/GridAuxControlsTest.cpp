// The grid's auxiliary controls: the flat speed button (defaults, presets, down rules, groups, the
// drop-down zone, its looks on pixels, its action link), the owner-drawn check box (mouse, keys,
// accelerator), the arrow windows on pixels and the focus window's styles.
#include "GridAuxControls.h"

#include "ActnList.h"
#include "Forms.h"
#include "Menus.h"
#include "OSInfo.h"
#include "TestSupport.h"
#include "WindowImage.h"

#include <QImage>
#include <QWidget>
#include <gtest/gtest.h>

namespace {

// A shown form to put the controls on.
class OnForm : public ::testing::Test {
protected:
    void SetUp() override {
        Form = new TForm(nullptr);
        Form->SetBounds(100, 100, 320, 240);
        Form->SetColor(clWhite);
        Form->Show();
    }
    void TearDown() override { TObject::Free(Form); }

    TAdvGridButton* NewButton(int Left = 10, int Top = 10) {
        auto* b = new TAdvGridButton(Form);
        b->SetParent(Form);
        b->SetLeft(Left);
        b->SetTop(Top);
        return b;
    }
    // The button's face as painted now.
    static TColor At(TAdvGridButton* B, int X, int Y) {
        const QRgb p = B->PaintImage().pixel(X, Y);
        return RGB(qRed(p), qGreen(p), qBlue(p));
    }

    TForm* Form = nullptr;
};

using GridButton = OnForm;
using GridButtonLooks = OnForm;
using AdvCheckBox = OnForm;

TEST_F(GridButton, Defaults) {
    TAdvGridButton* b = NewButton();
    EXPECT_TRUE(b->Flat());
    EXPECT_EQ(b->Width(), 23);
    EXPECT_EQ(b->Height(), 22);
    EXPECT_EQ(b->Spacing(), 4);
    EXPECT_EQ(b->Margin(), -1);
    EXPECT_EQ(b->Color(), clBtnFace);
    EXPECT_EQ(b->ColorHot(), TColor(0xCAC7C7));
    EXPECT_EQ(b->ColorDown(), TColor(0xD8D3D2));
    EXPECT_EQ(b->ColorChecked(), TColor(0x808080));
    EXPECT_EQ(b->Style(), tasButton);
    EXPECT_TRUE(b->Shaded());
    EXPECT_TRUE(b->ShowCaption());
    EXPECT_EQ(b->State(), bsUp);
    b->SetMargin(-2); // below -1: ignored
    EXPECT_EQ(b->Margin(), -1);
    b->SetMargin(3);
    EXPECT_EQ(b->Margin(), 3);
}

struct LookCase {
    int Look;
    TColor Color, ColorTo, Hot, HotTo, Down, DownTo, Checked, CheckedTo, BorderDown, BorderHot;
    bool Rounded;
};

TEST_F(GridButton, LookPresets) {
    const LookCase cases[] = {
        {0, 0xEDF1F1, 0xDFEBEB, 0xFAFCFC, 0xE5ECED, 0xE0E6E7, 0xD8E0E1, 0xFFFFFF, clNone, 0xAF987A, 0xC3CECE,
         true},
        {1, clBtnFace, clNone, 0xEED2C1, clNone, 0xE2B598, clNone, 0xE8E6E1, clNone, 0xC56A31, 0xC56A31,
         false},
        {2, 0xFDEADA, 0xE4AE88, 0xCCF4FF, 0x91D0FF, 0x4E91FE, 0x8ED3FF, 0x8ED3FF, 0x55ADFF, 0, 0, false},
        {3, 0xCFF0EA, 0x8CC0B1, 0xCCF4FF, 0x91D0FF, 0x4E91FE, 0x8ED3FF, 0x8ED3FF, 0x55ADFF, 0, 0, false},
        {4, 0xECE2E1, 0xB39698, 0xCCF4FF, 0x91D0FF, 0x4E91FE, 0x8ED3FF, 0x8ED3FF, 0x55ADFF, 0, 0, false},
        {5, clBtnFace, clNone, clBtnFace, clNone, 0xD8D3D2, clNone, 0xCAC7C7, clNone, clNone, clNone, false},
        {6, 0xCAFFFF, 0xA6FFFF, 0xA8F0FD, 0x7CE9FC, 0x4DE0FB, 0x7AE9FC, 0xB5E6F2, 0x9CDDED, 0x808080,
         0x808080, false},
    };
    for (const LookCase& c : cases) {
        SCOPED_TRACE(c.Look);
        TAdvGridButton* b = NewButton();
        b->SetFlat(false);
        b->SetBorderColor(clRed);
        b->SetRounded(!c.Rounded);
        b->SetLook(c.Look);
        EXPECT_EQ(b->Color(), c.Color);
        EXPECT_EQ(b->ColorTo(), c.ColorTo);
        EXPECT_EQ(b->ColorHot(), c.Hot);
        EXPECT_EQ(b->ColorHotTo(), c.HotTo);
        EXPECT_EQ(b->ColorDown(), c.Down);
        EXPECT_EQ(b->ColorDownTo(), c.DownTo);
        EXPECT_EQ(b->ColorChecked(), c.Checked);
        EXPECT_EQ(b->ColorCheckedTo(), c.CheckedTo);
        EXPECT_EQ(b->BorderDownColor(), c.BorderDown);
        EXPECT_EQ(b->BorderHotColor(), c.BorderHot);
        EXPECT_EQ(b->Rounded(), c.Rounded);
        EXPECT_EQ(b->BorderColor(), clNone);
        EXPECT_TRUE(b->Flat());
        TObject::Free(b);
    }
    // Any other value changes nothing.
    TAdvGridButton* b = NewButton();
    b->SetLook(2);
    b->SetFlat(false);
    b->SetLook(7);
    EXPECT_EQ(b->Look(), 2);
    EXPECT_EQ(b->Color(), TColor(0xFDEADA));
    EXPECT_EQ(b->ColorTo(), TColor(0xE4AE88));
    EXPECT_FALSE(b->Flat());
}

TEST_F(GridButton, AutoThemeAdaptPicksTheLookOfTheVisualStyle) {
    struct {
        const char* Name;
        bool Active;
        TColor Expected;
    } cases[] = {
        {"NormalColor", true, 0xFDEADA}, // look 2
        {"HomeStead", true, 0xCFF0EA},   // look 3
        {"Metallic", true, 0xECE2E1},    // look 4
        {"Royale", true, clBtnFace},     // look 1
        {"NormalColor", false, clBtnFace},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        PlatformSwitches().ThemeColorName = c.Name;
        PlatformSwitches().VisualStylesActive = c.Active;
        TAdvGridButton* b = NewButton();
        b->SetAutoThemeAdapt(true);
        EXPECT_EQ(b->Color(), c.Expected);
        TObject::Free(b);
    }
    ResetPlatformSwitches();
}

TEST_F(GridButton, DownNeedsAGroupOrTheCheckStyle) {
    TAdvGridButton* b = NewButton();
    b->SetDown(true); // a tasButton without GroupIndex cannot be down
    EXPECT_FALSE(b->Down());

    b->SetStyle(tasCheck);
    b->SetDown(true);
    EXPECT_TRUE(b->Down());
    b->SetDown(false);
    EXPECT_FALSE(b->Down());

    TAdvGridButton* g = NewButton(40);
    g->SetGroupIndex(1);
    g->SetDown(true);
    EXPECT_TRUE(g->Down());
    EXPECT_EQ(g->State(), bsExclusive);
    g->SetDown(false); // AllowAllUp off: the last button of the group stays down
    EXPECT_TRUE(g->Down());
    g->SetAllowAllUp(true);
    g->SetDown(false);
    EXPECT_FALSE(g->Down());
    EXPECT_EQ(g->State(), bsUp);
}

TEST_F(GridButton, PressingOneButtonOfAGroupReleasesTheOther) {
    TAdvGridButton* first = NewButton(10);
    TAdvGridButton* second = NewButton(40);
    TAdvGridButton* other = NewButton(70); // another group
    int clicks = 0;
    second->OnClick = [&](TObject*) { ++clicks; };
    for (TAdvGridButton* b : {first, second}) b->SetGroupIndex(1);
    other->SetGroupIndex(2);
    first->SetDown(true);
    other->SetDown(true);

    SimulateClick(second, 5, 5);
    EXPECT_EQ(clicks, 1);
    EXPECT_TRUE(second->Down());
    EXPECT_FALSE(first->Down());
    EXPECT_EQ(first->State(), bsUp);
    EXPECT_TRUE(other->Down());

    // Clicking the down button again keeps it down (AllowAllUp off) but clicks.
    SimulateClick(second, 5, 5);
    EXPECT_EQ(clicks, 2);
    EXPECT_TRUE(second->Down());

    // AllowAllUp is shared with the group; then a click lets the button up.
    first->SetAllowAllUp(true);
    EXPECT_TRUE(second->AllowAllUp());
    SimulateClick(second, 5, 5);
    EXPECT_FALSE(second->Down());
    EXPECT_FALSE(first->Down());
}

TEST_F(GridButton, ADoubleClickCountsOnlyOnAButtonThatIsDown) {
    TAdvGridButton* b = NewButton();
    int doubles = 0;
    b->OnDblClick = [&](TObject*) { ++doubles; };
    SimulateDblClick(b, mbLeft, {}, 5, 5);
    EXPECT_EQ(doubles, 0);
    b->SetGroupIndex(1);
    b->SetDown(true);
    SimulateDblClick(b, mbLeft, {}, 5, 5);
    EXPECT_EQ(doubles, 1);
}

TEST_F(GridButton, AReleaseOutsideTheButtonDoesNotClick) {
    TAdvGridButton* b = NewButton();
    int clicks = 0;
    b->OnClick = [&](TObject*) { ++clicks; };
    SimulateMouseDown(b, mbLeft, {}, 5, 5);
    EXPECT_EQ(b->State(), bsDown);
    SimulateMouseMove(b, {ssLeft}, 40, 5);
    EXPECT_EQ(b->State(), bsUp);
    SimulateMouseMove(b, {ssLeft}, 6, 5);
    EXPECT_EQ(b->State(), bsDown);
    SimulateMouseMove(b, {ssLeft}, 40, 5);
    SimulateMouseUp(b, mbLeft, {}, 40, 5);
    EXPECT_EQ(clicks, 0);
    EXPECT_EQ(b->State(), bsUp);
    SimulateClick(b, 5, 5);
    EXPECT_EQ(clicks, 1);
}

TEST_F(GridButton, TheCheckStyleTogglesOnEveryClick) {
    TAdvGridButton* b = NewButton();
    b->SetStyle(tasCheck);
    SimulateClick(b, 5, 5);
    EXPECT_TRUE(b->Down());
    SimulateClick(b, 5, 5);
    EXPECT_FALSE(b->Down());
}

TEST_F(GridButton, TheDropDownZoneOpensTheMenuWithoutClicking) {
    TAdvGridButton* b = NewButton(10, 10);
    b->SetWidth(60);
    auto* menu = new TPopupMenu(Form);
    b->SetDropDownButton(true);
    b->SetDropDownMenu(menu);
    int clicks = 0, dropDowns = 0;
    b->OnClick = [&](TObject*) { ++clicks; };
    b->OnDropDown = [&](TObject*) { ++dropDowns; };

    SimulateClick(b, 49, 5); // the rightmost 12 pixels are 48..59
    EXPECT_EQ(dropDowns, 1);
    EXPECT_EQ(clicks, 0);
    EXPECT_EQ(menu->PopupCount(), 1);
    EXPECT_EQ(menu->PopupPoint(), b->ClientToScreen(TPoint(0, 22))); // under the left bottom corner
    EXPECT_EQ(b->State(), bsUp);

    SimulateClick(b, 47, 5);
    EXPECT_EQ(dropDowns, 1);
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(menu->PopupCount(), 1);

    // The menu going away clears the reference.
    TObject::Free(menu);
    EXPECT_EQ(b->DropDownMenu(), nullptr);
    SimulateClick(b, 55, 5);
    EXPECT_EQ(dropDowns, 2);
}

TEST_F(GridButton, HoverOfAFlatButton) {
    TAdvGridButton* b = NewButton();
    int enters = 0, leaves = 0;
    b->OnMouseEnter = [&](TObject*) { ++enters; };
    b->OnMouseLeave = [&](TObject*) { ++leaves; };
    SimulateMouseEnter(b);
    EXPECT_TRUE(b->MouseInControl());
    EXPECT_EQ(enters, 1);
    SimulateMouseLeave(b);
    EXPECT_FALSE(b->MouseInControl());
    EXPECT_EQ(leaves, 1);
    // A disabled button does not light up.
    b->SetEnabled(false);
    SimulateMouseEnter(b);
    EXPECT_FALSE(b->MouseInControl());
}

TEST_F(GridButton, GlyphsMadeFromTheGlyph) {
    TAdvGridButton* b = NewButton();
    auto* glyph = new TBitmap(4, 4);
    auto freeGlyph = FreeAtEnd(glyph);
    glyph->Canvas()->Brush()->SetColor(clFuchsia); // the transparent colour (bottom-left pixel)
    glyph->Canvas()->FillRect(TRect(0, 0, 4, 4));
    glyph->Canvas()->SetPixels(1, 1, RGB(30, 60, 90));
    b->SetGlyph(glyph);

    // Disabled: grey ((R + G + B) div 3) div 2 + 96 in every pixel.
    EXPECT_EQ(b->GlyphDisabled()->Canvas()->Pixels(1, 1), RGB(126, 126, 126));
    EXPECT_EQ(b->GlyphDisabled()->Canvas()->Pixels(0, 3),
              RGB(181, 181, 181)); // (255 + 0 + 255) div 3 div 2 + 96
    // Shade: the silhouette in 0x808080 on the transparent colour.
    EXPECT_EQ(b->ShadeGlyph()->Canvas()->Pixels(1, 1), TColor(0x808080));
    EXPECT_EQ(b->ShadeGlyph()->Canvas()->Pixels(2, 2), clFuchsia);

    // A disabled glyph given first is kept.
    TAdvGridButton* c = NewButton(40);
    auto* own = new TBitmap(2, 2);
    auto freeOwn = FreeAtEnd(own);
    c->SetGlyphDisabled(own);
    c->SetGlyph(glyph);
    EXPECT_EQ(c->GlyphDisabled()->Width(), 2);
}

TEST_F(GridButton, ActionLinkCarriesCaptionGroupAndChecked) {
    auto* action = new TAction(Form);
    action->SetCaption("Find");
    action->SetGroupIndex(3);
    action->SetChecked(true);
    TAdvGridButton* b = NewButton();
    b->SetAllowAllUp(true);
    b->SetAction(action);
    EXPECT_EQ(b->Caption(), "Find");
    EXPECT_EQ(b->GroupIndex(), 3);
    EXPECT_TRUE(b->Down());

    action->SetChecked(false);
    EXPECT_FALSE(b->Down());
    action->SetGroupIndex(4);
    EXPECT_EQ(b->GroupIndex(), 4);
    action->SetCaption("Next");
    EXPECT_EQ(b->Caption(), "Next");

    // Another button of the group going down releases this one and clears its action's check.
    action->SetChecked(true);
    ASSERT_TRUE(b->Down());
    TAdvGridButton* other = NewButton(40);
    other->SetGroupIndex(4);
    other->SetDown(true);
    EXPECT_FALSE(b->Down());
    EXPECT_FALSE(action->Checked());
}

TEST_F(GridButtonLooks, FlatFacesInTheirGradients) {
    TAdvGridButton* b = NewButton();
    b->SetLook(2); // not rounded, BorderDownColor 0: the face fills the whole button
    // Up: Color to ColorTo in 16 bands, the last one From + round(15 * (To - From) / 16).
    EXPECT_EQ(At(b, 5, 0), TColor(0xFDEADA));
    EXPECT_EQ(At(b, 5, 21), RGB(141, 178, 230));
    EXPECT_EQ(At(b, 0, 10), At(b, 11, 10)); // no frame while BorderColor is clNone

    // Hot: ColorHot framed in BorderHotColor; row 1 is the second band (bands overlap by one
    // pixel): 0xCCF4FF + round((0x91D0FF - 0xCCF4FF) / 16) per channel.
    SimulateMouseEnter(b);
    ASSERT_TRUE(b->MouseInControl());
    EXPECT_EQ(At(b, 0, 10), clBlack);
    EXPECT_EQ(At(b, 5, 0), clBlack);
    EXPECT_EQ(At(b, 5, 1), TColor(0xC8F2FF));

    // Pressed while hot: ColorDown 0x4E91FE to 0x8ED3FF.
    SimulateMouseDown(b, mbLeft, {}, 5, 5);
    EXPECT_EQ(At(b, 5, 1), TColor(0x5295FE));
    EXPECT_EQ(At(b, 0, 10), clBlack);
    SimulateMouseUp(b, mbLeft, {}, 5, 5);
    SimulateMouseLeave(b);

    // Held down in a group (exclusive): ColorChecked over the whole face.
    b->SetGroupIndex(1);
    b->SetDown(true);
    EXPECT_EQ(At(b, 5, 0), TColor(0x8ED3FF));
    EXPECT_EQ(At(b, 0, 0), TColor(0x8ED3FF));
}

TEST_F(GridButtonLooks, CheckedAndBorderedFaces) {
    TAdvGridButton* b = NewButton();
    b->SetStyle(tasCheck);
    b->SetColorChecked(clYellow);
    b->SetDown(true);
    // BorderDownColor clNone: the face is 1 pixel in, the pixels around it stay clear.
    EXPECT_EQ(At(b, 5, 5), clYellow);
    EXPECT_EQ(qAlpha(b->PaintImage().pixel(0, 5)), 0);

    b->SetDown(false);
    b->SetColor(clWhite);
    b->SetBorderColor(clRed);
    EXPECT_EQ(At(b, 1, 5), clRed); // the frame of the shrunk face
    EXPECT_EQ(At(b, 5, 5), clWhite);
}

TEST_F(GridButtonLooks, TheDropDownMarkAndLine) {
    TAdvGridButton* b = NewButton();
    b->SetWidth(40);
    b->SetLook(2);
    b->Font()->SetColor(clRed);
    b->SetDropDownButton(true);
    // The triangle in the font colour at (right - 8 .. right - 4, mid .. mid + 2).
    EXPECT_EQ(At(b, 34, 11), clRed);
    EXPECT_NE(At(b, 34, 14), clRed);
    // Hot: a line 12 pixels from the right in the hot border colour.
    SimulateMouseEnter(b);
    EXPECT_EQ(At(b, 28, 5), clBlack);
    EXPECT_NE(At(b, 27, 5), clBlack);
}

// A glyph 8 x 8: red in (2, 2)..(5, 5) on fuchsia, the transparent colour.
TBitmap* NewGlyph() {
    auto* g = new TBitmap(8, 8);
    g->Canvas()->Brush()->SetColor(clFuchsia);
    g->Canvas()->FillRect(TRect(0, 0, 8, 8));
    g->Canvas()->Brush()->SetColor(clRed);
    g->Canvas()->FillRect(TRect(2, 2, 6, 6));
    return g;
}

TEST_F(GridButtonLooks, GlyphAndCaptionPlacement) {
    TAdvGridButton* b = NewButton();
    b->SetLook(5); // flat, no borders: the content area is the button less 2 pixels all round
    b->SetWidth(80);
    TBitmap* glyph = NewGlyph();
    auto freeGlyph = FreeAtEnd(glyph);
    b->SetGlyph(glyph);
    const TColor face = ColorToRGB(clBtnFace);

    // Without a caption the glyph sits at the top-left corner, transparently.
    EXPECT_EQ(At(b, 3, 3), clRed);
    EXPECT_EQ(At(b, 1, 1), face);

    b->SetCaption("Go");
    TCanvas* c = b->Canvas();
    c->Font()->Assign(b->Font());
    TRect m(0, 0, 76, 0);
    DrawText(c, "Go", m, DT_CALCRECT);
    const TButtonContentPlacement p =
        CalcButtonLayout(TRect(2, 2, 78, 20), TSize{8, 8}, TSize{m.Width(), m.Height()}, blGlyphLeft, -1, 4);
    const TPoint g = p.GlyphPos;
    EXPECT_EQ(At(b, g.X + 2, g.Y + 2), clRed);
    EXPECT_EQ(At(b, g.X + 1, g.Y + 1), face);
    auto ink = [&] {
        int n = 0;
        for (int y = p.TextBounds.Top; y < p.TextBounds.Bottom; ++y)
            for (int x = p.TextBounds.Left; x < p.TextBounds.Right; ++x)
                if (At(b, x, y) != face) ++n;
        return n;
    };
    EXPECT_GT(ink(), 5);
    b->SetShowCaption(false);
    EXPECT_EQ(ink(), 0);
    b->SetShowCaption(true);

    // Hot and shaded: the glyph moves one pixel up and left over its grey shade 2 pixels down
    // and right.
    SimulateMouseEnter(b);
    ASSERT_TRUE(b->MouseInControl());
    EXPECT_EQ(At(b, g.X + 1, g.Y + 1), clRed);
    EXPECT_EQ(At(b, g.X + 6, g.Y + 6), TColor(0x808080));
    EXPECT_EQ(At(b, g.X + 7, g.Y + 7), face);
    b->SetShaded(false);
    EXPECT_EQ(At(b, g.X + 2, g.Y + 2), clRed);
    EXPECT_EQ(At(b, g.X + 6, g.Y + 6), face);
    SimulateMouseLeave(b);

    // Disabled: the grey glyph made from the glyph.
    b->SetEnabled(false);
    EXPECT_EQ(At(b, g.X + 2, g.Y + 2), RGB(138, 138, 138));
}

TEST_F(GridButtonLooks, APressedClassicButtonShiftsItsContent) {
    TAdvGridButton* b = NewButton();
    b->SetFlat(false);
    b->SetWidth(60);
    b->SetCaption("Go");
    TBitmap* glyph = NewGlyph();
    auto freeGlyph = FreeAtEnd(glyph);
    b->SetGlyph(glyph);
    const QImage up = b->PaintImage().copy();
    SimulateMouseDown(b, mbLeft, {}, 5, 5);
    EXPECT_EQ(b->State(), bsDown);
    const QImage down = b->PaintImage().copy();
    SimulateMouseUp(b, mbLeft, {}, 5, 5);
    // The first red pixel of the glyph moves one pixel right and down.
    auto firstRed = [](const QImage& Img) {
        for (int y = 0; y < Img.height(); ++y)
            for (int x = 0; x < Img.width(); ++x)
                if (Img.pixel(x, y) == qRgb(255, 0, 0)) return TPoint(x, y);
        return TPoint(-1, -1);
    };
    const TPoint a = firstRed(up), d = firstRed(down);
    ASSERT_NE(a, TPoint(-1, -1));
    EXPECT_EQ(d, TPoint(a.X + 1, a.Y + 1));
    EXPECT_NE(up.pixel(0, 0), down.pixel(0, 0)); // raised frame, then pushed
}

TEST_F(GridButton, TheCaptionsAcceleratorClicks) {
    TAdvGridButton* b = NewButton();
    b->SetCaption("&Find");
    auto* other = new TAdvCheckBox(Form);
    other->SetParent(Form);
    other->SetBounds(10, 60, 60, 20);
    other->SetFocus();
    int clicks = 0;
    b->OnClick = [&](TObject*) { ++clicks; };
    SimulateKey(other, 'F', {ssAlt});
    EXPECT_EQ(clicks, 1);
    b->SetEnabled(false);
    SimulateKey(other, 'F', {ssAlt});
    EXPECT_EQ(clicks, 1);
}

// ---------------------------------------------------------------------------------------------
// The check box

class TFocusable : public TCustomControl {
public:
    explicit TFocusable(TComponent* AOwner) : TCustomControl(AOwner) { SetTabStop(true); }
};

TEST_F(AdvCheckBox, ClicksToggleAndClick) {
    auto* cb = new TAdvCheckBox(Form);
    cb->SetParent(Form);
    cb->SetBounds(10, 10, 98, 20);
    EXPECT_EQ(cb->Width(), 98);
    int clicks = 0;
    cb->OnClick = [&](TObject*) { ++clicks; };
    SimulateClick(cb, 5, 8);
    EXPECT_TRUE(cb->Checked());
    EXPECT_EQ(clicks, 1);
    EXPECT_TRUE(cb->Focused());
    SimulateClick(cb, 5, 8);
    EXPECT_FALSE(cb->Checked());
    EXPECT_EQ(clicks, 2);
    // Setting the state runs no click.
    cb->SetChecked(true);
    cb->SetState(cbGrayed);
    EXPECT_EQ(clicks, 2);
    EXPECT_FALSE(cb->Checked());
}

TEST_F(AdvCheckBox, SpaceTogglesAndReadOnlyOnlyClicks) {
    auto* cb = new TAdvCheckBox(Form);
    cb->SetParent(Form);
    cb->SetTabStop(true);
    int clicks = 0;
    cb->OnClick = [&](TObject*) { ++clicks; };
    cb->SetFocus();

    SimulateKeyDown(cb, VK_SPACE);
    EXPECT_TRUE(cb->Down());
    EXPECT_FALSE(cb->Checked());
    SimulateKeyUp(cb, VK_SPACE);
    EXPECT_FALSE(cb->Down());
    EXPECT_TRUE(cb->Checked());
    EXPECT_EQ(clicks, 1);

    cb->SetReadOnly(true);
    SimulateKey(cb, VK_SPACE);
    EXPECT_TRUE(cb->Checked());
    EXPECT_EQ(clicks, 2);
    SimulateClick(cb, 5, 8);
    EXPECT_TRUE(cb->Checked());
    EXPECT_EQ(clicks, 3);
}

TEST_F(AdvCheckBox, ReturnIsTabMovesTheFocusOn) {
    auto* cb = new TAdvCheckBox(Form);
    cb->SetParent(Form);
    cb->SetTabStop(true);
    auto* next = new TFocusable(Form);
    next->SetParent(Form);
    next->SetBounds(10, 60, 50, 20);
    std::vector<Word> keys;
    cb->OnKeyDown = [&](TObject*, Word& Key, TShiftState) { keys.push_back(Key); };

    cb->SetFocus();
    SimulateKey(cb, VK_RETURN);
    ProcessMessagesUntil([] { return false; }, 50);
    EXPECT_TRUE(cb->Focused()); // without ReturnIsTab Enter stays

    cb->SetReturnIsTab(true);
    SimulateKey(cb, VK_RETURN);
    EXPECT_TRUE(ProcessMessagesUntil([&] { return next->Focused(); }));
    EXPECT_FALSE(cb->Checked());
}

TEST_F(AdvCheckBox, TheCaptionsAcceleratorToggles) {
    auto* cb = new TAdvCheckBox(Form);
    cb->SetParent(Form);
    cb->SetTabStop(true);
    cb->SetCaption("&Match case");
    auto* other = new TFocusable(Form);
    other->SetParent(Form);
    other->SetBounds(10, 60, 50, 20);
    other->SetFocus();
    SimulateKey(other, 'M', {ssAlt});
    EXPECT_TRUE(cb->Checked());
    EXPECT_TRUE(cb->Focused());
}

TEST_F(AdvCheckBox, TransparentLetsTheParentShow) {
    auto* cb = new TAdvCheckBox(Form);
    cb->SetParent(Form);
    cb->SetBounds(10, 10, 98, 20);
    cb->SetColor(clRed);
    EXPECT_EQ(Form->GrabImage().pixel(10 + 90, 10 + 2), qRgb(255, 0, 0));
    cb->SetTransparent(true);
    EXPECT_EQ(Form->GrabImage().pixel(10 + 90, 10 + 2), qRgb(255, 255, 255));
}

TEST_F(AdvCheckBox, TheBoxOnPixels) {
    auto* cb = new TAdvCheckBox(Form);
    cb->SetParent(Form);
    cb->SetColor(clWhite);
    // Dark pixels inside the box whose left edge is at X (its top at 4).
    auto dark = [&](int X) {
        const QImage img = cb->GrabImage();
        int n = 0;
        for (int y = 6; y < 15; ++y)
            for (int x = X + 2; x < X + 11; ++x)
                if (qGray(img.pixel(x, y)) < 80) ++n;
        return n;
    };
    // The box sits at the left; checked, its white inside holds a dark check mark.
    cb->SetChecked(true);
    EXPECT_GT(dark(0), 5);
    cb->SetChecked(false);
    EXPECT_EQ(dark(0), 0);
    // Right alignment moves the box to the right edge.
    cb->SetAlignment(taRightJustify);
    cb->SetChecked(true);
    EXPECT_GT(dark(85), 5);
}

// ---------------------------------------------------------------------------------------------
// Popup windows

// Each arrow on pixels: green where the arrow is, clear beside it.
struct ArrowCase {
    const char* Name;
    TArrowDirection Dir;
    int Width, Height;
    std::vector<TPoint> Green, Clear;
};

TEST_F(OnForm, ArrowsOnPixels) {
    const ArrowCase cases[] = {
        {"Up", arrUp, 11, 10, {{5, 1}, {5, 4}, {4, 8}}, {{1, 1}, {9, 2}, {1, 8}, {9, 8}}},
        {"Down", arrDown, 10, 9, {{4, 1}, {5, 5}, {5, 6}}, {{1, 1}, {8, 1}, {1, 7}, {8, 7}}},
        // arrLeft has its tip at the right, arrRight at the left.
        {"Left", arrLeft, 9, 11, {{6, 5}, {1, 5}}, {{6, 1}, {1, 1}, {6, 9}}},
        {"Right", arrRight, 9, 11, {{2, 5}, {7, 5}}, {{2, 1}, {7, 1}, {2, 9}}},
    };
    for (const ArrowCase& c : cases) {
        SCOPED_TRACE(c.Name);
        auto* arrow = new TArrowWindow(Form, c.Dir);
        EXPECT_EQ(arrow->Parent(), Form);
        EXPECT_FALSE(arrow->Visible());
        EXPECT_EQ(arrow->WindowStyle(), DWORD(WS_POPUP));
        arrow->SetBounds(400, 300, c.Width, c.Height);
        arrow->Show();
        const QImage img = ShownWindowImage(arrow);
        for (const TPoint& p : c.Green) EXPECT_EQ(img.pixel(p.X, p.Y), qRgb(0, 255, 0)) << p.X << "," << p.Y;
        for (const TPoint& p : c.Clear) EXPECT_EQ(qAlpha(img.pixel(p.X, p.Y)), 0) << p.X << "," << p.Y;
        EXPECT_EQ(Screen->ActiveForm(), Form); // shown without taking the activation
        TObject::Free(arrow);
    }
}

TEST_F(OnForm, TheFocusWindowIsADisabledTopmostToolWindow) {
    auto* w = new TGridFocusWindow(Form);
    EXPECT_EQ(w->Width(), 0);
    EXPECT_EQ(w->Height(), 0);
    EXPECT_EQ(w->Color(), clRed);
    w->HandleNeeded();
    EXPECT_EQ(w->WindowStyle(), DWORD(WS_POPUP | WS_DISABLED));
    EXPECT_EQ(w->WindowExStyle(), DWORD(WS_EX_TOOLWINDOW | WS_EX_TOPMOST));
    EXPECT_FALSE(IsWindowEnabled(w->Handle()));
}

} // namespace
