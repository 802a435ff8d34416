// The grid control's look presets, their names and the link display settings.
#include "AdvGrid.h"
#include "Graphics.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

namespace {

class TLookGrid : public TAdvStringGrid {
public:
    using TAdvStringGrid::TAdvStringGrid;
    void Invalidate() override {
        ++Invalidates;
        TAdvStringGrid::Invalidate();
    }
    int Invalidates = 0;
};

constexpr TColor Mark = 0x123456; // a colour no preset writes

// A grid whose look-controlled values all hold Mark (or their non-preset counterpart), with the
// look Start.
TLookGrid* MarkedGrid(TGridLook Start) {
    auto* g = new TLookGrid(nullptr);
    g->SetLook(Start);
    g->SetActiveCellColor(Mark);
    g->SetActiveCellColorTo(Mark);
    g->SetSelectionColor(Mark);
    g->SetSelectionColorTo(Mark);
    g->SetSelectionTextColor(Mark);
    g->SetKitGradientFrom(Mark);
    g->SetKitGradientTo(Mark);
    g->SetKitGradientMirrorFrom(Mark);
    g->SetKitGradientMirrorTo(Mark);
    g->SetFixedColor(Mark);
    g->SetGridLineColor(Mark);
    g->SetGridFixedLineColor(Mark);
    g->SetBorderColor(Mark);
    g->SetBorderStyle(bsNone);
    g->SetSelectionStyle(ssWin7);
    g->SortSettings()->SetHeaderColor(Mark);
    g->SearchFooter()->SetColor(Mark);
    g->SearchFooter()->SetColorTo(Mark);
    for (int w = fgFrom; w <= fgDownBorder; ++w)
        g->ControlLook()->SetFixedGradient(TFixedGradientColor(w), Mark);
    g->Invalidates = 0;
    return g;
}

struct LookCase {
    TGridLook Look;
    TGridSelectionStyle Selection;
    TColor ActiveCell, SelectionColor, SelectionText, Fixed, Line, FixedLine, KitFrom, KitTo;
    // The search footer's colour and colour-to.
    TColor SearchFooter;
};

// Every preset from a marked grid whose look was another one.
TEST(LookPresets, EachPresetWritesItsValues) {
    const LookCase cases[] = {
        {glStandard, ssDefault, 0x808080, clHighlight, clHighlightText, clBtnFace, 0xC0C0C0, 0x808080,
         clBtnFace, clNone, clBtnFace},
        {glSoft, ssDefault, 0x808080, clHighlight, clHighlightText, clBtnFace, 0xC0C0C0, 0x808080, clBtnFace,
         clNone, clBtnFace},
        {glClassic, ssDefault, 0x808080, clHighlight, clHighlightText, clBtnFace, 0xC0C0C0, 0x808080,
         clBtnFace, clNone, clBtnFace},
        {glListView, ssDefault, 0x808080, clHighlight, clHighlightText, Mark, 0xC0C0C0, 0x808080, 0xFFFFFF,
         clBtnFace, clBtnFace},
        {glKit, ssDefault, 0xEACAB6, 0xEACAB6, 0, Mark, 0xC0C0C0, 0x808080, 0xFFFFFF, 0xC0C0C0, clNone},
        {glXP, ssDefault, 0xEACAB6, 0xEACAB6, 0, Mark, 0xC0C0C0, 0x808080, 0xFFFFFF, clBtnFace, clNone},
        // The three newer looks hand over to a grid style (colours checked with the styles).
        {glVista, ssVista, Mark, Mark, Mark, Mark, Mark, Mark, clNone, clNone, Mark},
        {glWin7, ssWin7, Mark, Mark, Mark, Mark, Mark, Mark, clNone, clNone, Mark},
        {glOffice2007, ssOffice2007, Mark, Mark, Mark, Mark, Mark, Mark, clNone, clNone, Mark},
        // glCustom keeps every colour.
        {glCustom, ssWin7, Mark, Mark, Mark, Mark, Mark, Mark, Mark, Mark, Mark},
    };
    for (const LookCase& c : cases) {
        String name = "glCustom";
        GridLookIdentifier(c.Look, name);
        SCOPED_TRACE(name.toStdString());
        TLookGrid* g = MarkedGrid(c.Look == glStandard ? glSoft : glStandard);
        auto freeGrid = FreeAtEnd(g);
        g->SetLook(c.Look);
        EXPECT_EQ(g->Look(), c.Look);
        EXPECT_EQ(g->SelectionStyle(), c.Selection);
        if (c.Look == glVista || c.Look == glWin7 || c.Look == glOffice2007) {
            // Their colours are those of the colour set they hand over to (see the grid style
            // tests); the look's own last step still runs.
            EXPECT_EQ(g->ScrollType(), ssNormal);
            EXPECT_EQ(g->BorderColor(), TColor(0xB99D7F));
            continue;
        }
        EXPECT_EQ(g->ActiveCellColor(), c.ActiveCell);
        EXPECT_EQ(g->SelectionColor(), c.SelectionColor);
        EXPECT_EQ(g->SelectionTextColor(), c.SelectionText);
        EXPECT_EQ(g->FixedColor(), c.Fixed);
        EXPECT_EQ(g->GridLineColor(), c.Line);
        EXPECT_EQ(g->GridFixedLineColor(), c.FixedLine);
        // The fixed gradient goes through ControlLook, which passes it on to the grid.
        EXPECT_EQ(g->KitGradientFrom(), c.KitFrom);
        EXPECT_EQ(g->KitGradientTo(), c.KitTo);
        EXPECT_EQ(g->ControlLook()->FixedGradientFrom(), c.Look == glCustom ? Mark : c.KitFrom);
        EXPECT_EQ(g->ControlLook()->FixedGradientTo(), c.Look == glCustom ? Mark : c.KitTo);
        // Mirror colours and the sort header colour are cleared by every preset but glCustom.
        const TColor cleared = c.Look == glCustom ? Mark : clNone;
        EXPECT_EQ(g->KitGradientMirrorFrom(), cleared);
        EXPECT_EQ(g->KitGradientMirrorTo(), cleared);
        EXPECT_EQ(g->ControlLook()->FixedGradientMirrorFrom(), cleared);
        EXPECT_EQ(g->ControlLook()->FixedGradientMirrorTo(), cleared);
        EXPECT_EQ(g->SortSettings()->HeaderColor(), cleared);
        EXPECT_EQ(g->SearchFooter()->Color(), c.SearchFooter);
        EXPECT_EQ(g->SearchFooter()->ColorTo(), c.SearchFooter);
        // Every look, glCustom included.
        EXPECT_EQ(g->ScrollType(), ssNormal);
        EXPECT_EQ(g->BorderStyle(), bsSingle);
        EXPECT_EQ(g->BorderColor(), TColor(0xB99D7F));
        EXPECT_GE(g->Invalidates, 1);
    }
}

TEST(LookPresets, NewerLooksRecordTheirGridStyle) {
    const std::pair<TGridLook, TAdvGridStyle> cases[] = {
        {glVista, gsWindowsVista}, {glWin7, gsWindows7}, {glOffice2007, gsOffice2007Luna}};
    for (const auto& [look, style] : cases) {
        TLookGrid* g = MarkedGrid(glStandard);
        auto freeGrid = FreeAtEnd(g);
        g->SetLook(look);
        EXPECT_EQ(g->CurrentStyle(), style);
    }
}

// glKit and glXP also set the hover and pressed gradients, which reach the grid; the other plain
// looks leave them (the newer looks take their colour set's, see the grid style tests).
TEST(LookPresets, KitAndXPSetTheHoverAndPressedGradients) {
    const TColor kitHoverDown[] = {0xCFD0D1, 0xBEC6C8, 0xBEC6C8, 0xABBCBF, Mark,
                                   0x868788, 0x737C7E, 0x737C7E, 0x627376, Mark};
    for (TGridLook look : {glKit, glXP, glListView, glStandard, glClassic}) {
        String name;
        GridLookIdentifier(look, name);
        SCOPED_TRACE(name.toStdString());
        TLookGrid* g = MarkedGrid(look == glStandard ? glSoft : glStandard);
        auto freeGrid = FreeAtEnd(g);
        g->SetLook(look);
        const bool kit = look == glKit || look == glXP;
        for (int w = fgHoverFrom; w <= fgDownBorder; ++w) {
            const TColor want = kit ? kitHoverDown[w - fgHoverFrom] : Mark;
            EXPECT_EQ(g->ControlLook()->FixedGradient(TFixedGradientColor(w)), want) << w;
            EXPECT_EQ(g->KitGradient(TFixedGradientColor(w)), want) << w;
        }
    }
}

// ControlLook's fixed-gradient colours reach the grid's own gradient values: From, To and the
// borders only when not clNone, the mirrors always; a new grid holds ControlLook's values.
TEST(LookPresets, ControlLookPassesItsGradientsToTheGrid) {
    auto* g = new TLookGrid(nullptr);
    auto freeGrid = FreeAtEnd(g);
    for (int w = fgHoverFrom; w <= fgDownBorder; ++w)
        EXPECT_EQ(g->KitGradient(TFixedGradientColor(w)),
                  g->ControlLook()->FixedGradient(TFixedGradientColor(w)))
            << w;
    EXPECT_EQ(g->KitGradientHoverFrom(), TColor(0xFFFFFF));
    EXPECT_EQ(g->KitGradientDownBorder(), TColor(0x808080));
    g->Invalidates = 0;
    g->ControlLook()->SetFixedGradientHoverFrom(clRed);
    g->ControlLook()->SetFixedGradientTo(clBlue);
    EXPECT_EQ(g->KitGradientHoverFrom(), clRed);
    EXPECT_EQ(g->KitGradientTo(), clBlue);
    g->ControlLook()->SetFixedGradientTo(clNone);
    g->ControlLook()->SetFixedGradientDownBorder(clNone);
    EXPECT_EQ(g->KitGradientTo(), clBlue);
    EXPECT_EQ(g->KitGradientDownBorder(), TColor(0x808080));
    g->ControlLook()->SetFixedGradientMirrorTo(clGreen);
    g->ControlLook()->SetFixedGradientMirrorTo(clNone);
    EXPECT_EQ(g->KitGradientMirrorTo(), clNone);
    // Passed on without a repaint.
    EXPECT_EQ(g->Invalidates, 0);
}

TEST(LookPresets, TheCurrentLookAgainChangesNothing) {
    TLookGrid* g = MarkedGrid(glStandard);
    auto freeGrid = FreeAtEnd(g);
    g->SetLook(glStandard);
    EXPECT_EQ(g->SelectionColor(), Mark);
    EXPECT_EQ(g->BorderColor(), Mark);
    EXPECT_EQ(g->BorderStyle(), bsNone);
    EXPECT_EQ(g->Invalidates, 0);
}

TEST(LookPresets, WhileLoadingOnlyTheSelectionStyleAndTheFrameAreSet) {
    TLookGrid* g = MarkedGrid(glXP);
    auto freeGrid = FreeAtEnd(g);
    g->BeginLoading();
    g->SetLook(glStandard);
    g->EndLoading();
    EXPECT_EQ(g->SelectionStyle(), ssDefault);
    EXPECT_EQ(g->SelectionColor(), Mark);
    EXPECT_EQ(g->FixedColor(), Mark);
    EXPECT_EQ(g->GridLineColor(), Mark);
    EXPECT_EQ(g->BorderColor(), TColor(0xB99D7F));
}

TEST(LookPresets, NewGridHasTheXPLook) {
    TAdvStringGrid* g = new TAdvStringGrid(nullptr);
    auto freeGrid = FreeAtEnd(g);
    EXPECT_EQ(g->Look(), glXP);
    EXPECT_EQ(g->URLColor(), TColor(0xFF0000));
    EXPECT_FALSE(g->URLShow());
}

TEST(LookNames, IdentifierAndDisplayNames) {
    const struct {
        TGridLook Look;
        const char* Identifier;
        const char* Display;
    } cases[] = {
        {glStandard, "glStandard", "Standard"},
        {glSoft, "glSoft", "Soft"},
        {glClassic, "glClassic", "Classic"},
        {glKit, "glKit", "Kit"},
        {glXP, "glXP", "Windows XP"},
        {glListView, "glListView", "ListView"},
        {glVista, "glVista", "Windows Vista"},
        {glWin7, "glWin7", "Windows 7"},
        {glOffice2007, "glOffice2007", "Office2007"},
        {glCustom, "unchanged", "unchanged"}, // no names: the target stays
    };
    for (const auto& c : cases) {
        String id = "unchanged", display = "unchanged";
        GridLookIdentifier(c.Look, id);
        GridLookDisplayName(c.Look, display);
        EXPECT_EQ(id, c.Identifier);
        EXPECT_EQ(display, c.Display);
    }
}

// Which link setting changes repaint the grid.
TEST(LinkSettings, RepaintRules) {
    struct Case {
        const char* Name;
        bool ShowBefore;
        std::function<void(TAdvStringGrid*)> Write;
        bool Repaints;
    };
    const Case cases[] = {
        {"colour, links not shown", false, [](TAdvStringGrid* g) { g->SetURLColor(clRed); }, false},
        {"colour, links shown", true, [](TAdvStringGrid* g) { g->SetURLColor(clRed); }, true},
        {"same colour, links shown", true, [](TAdvStringGrid* g) { g->SetURLColor(0xFF0000); }, false},
        {"show on", false, [](TAdvStringGrid* g) { g->SetURLShow(true); }, true},
        {"show unchanged", true, [](TAdvStringGrid* g) { g->SetURLShow(true); }, false},
        {"in text", false, [](TAdvStringGrid* g) { g->SetURLShowInText(true); }, true},
        {"full, links not shown", false, [](TAdvStringGrid* g) { g->SetURLFull(true); }, false},
        {"full, links shown", true, [](TAdvStringGrid* g) { g->SetURLFull(false); }, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        auto* g = new TLookGrid(nullptr);
        auto freeGrid = FreeAtEnd(g);
        g->SetURLShow(c.ShowBefore);
        g->Invalidates = 0;
        c.Write(g);
        EXPECT_EQ(g->Invalidates > 0, c.Repaints);
    }
    auto* g = new TAdvStringGrid(nullptr);
    auto freeGrid = FreeAtEnd(g);
    g->SetURLColor(clRed);
    g->SetURLShowInText(true);
    g->SetURLFull(true);
    EXPECT_EQ(g->URLColor(), clRed);
    EXPECT_TRUE(g->URLShowInText());
    EXPECT_TRUE(g->URLFull());
}

} // namespace
