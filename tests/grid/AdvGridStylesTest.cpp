// The grid's colour sets, component styles, colour tones, legacy schemes and the Office theme it
// follows.
#include "AdvGrid.h"
#include "AdvGridTestSupport.h"
#include "TempRegistryFixture.h"

#include <gtest/gtest.h>

namespace {

constexpr TColor Mark = 0x123456; // a colour no preset writes

// Every value a colour set may write, set to Mark.
void MarkColors(TAdvStringGrid* G) {
    G->SetActiveCellColor(Mark);
    G->SetActiveCellColorTo(Mark);
    G->SetSelectionColor(Mark);
    G->SetSelectionColorTo(Mark);
    G->SetSelectionTextColor(Mark);
    G->SetKitGradientFrom(Mark);
    G->SetKitGradientTo(Mark);
    G->SetKitGradientMirrorFrom(Mark);
    G->SetKitGradientMirrorTo(Mark);
    G->SetGridLineColor(Mark);
    G->SetGridFixedLineColor(Mark);
    G->SearchFooter()->SetColor(Mark);
    G->SearchFooter()->SetColorTo(Mark);
    G->SortSettings()->SetHeaderColor(Mark);
    G->SortSettings()->SetHeaderMirrorColorTo(Mark);
}

struct StyleCase {
    TAdvGridStyle Style;
    TGridLook Look;
    TColor KitFrom, KitTo, KitMirrorTo, ActiveFrom, ActiveTo, Selection, SelectionText, Line, FixedLine,
        SearchFrom, SearchTo;
    TGridSelectionStyle SelectionStyle;
    // ControlLook's fixed gradient pair afterwards.
    TColor LookFrom, LookTo;
};

// Each set from a grid with the plain look and marked colours: a few colours per set, the look,
// the selection style and ControlLook's pair. Mark means the set left the value alone.
TEST(GridStyles, EachSetWritesItsColours) {
    const TColor btn = clBtnFace;
    const StyleCase cases[] = {
        {gsOffice2003Blue, glXP, 0xFCE1CB, 0xE0A57D, clNone, 0x94E6FB, 0x1595EE, 0x94E6FB, 0, 0xC0C0C0,
         0x808080, 0xFCE1CB, clNone, ssDefault, 0xFCE1CB, 0xE0A57D},
        {gsOffice2003Silver, glXP, 0xECE2E1, 0xB39698, clNone, 0x94E6FB, 0x1595EE, 0x94E6FB, 0, 0xC0C0C0,
         0x808080, 0xECE2E1, clNone, ssDefault, 0xECE2E1, 0xB39698},
        {gsOffice2003Olive, glXP, 0xCFF0EA, 0x8CC0B1, clNone, 0x94E6FB, 0x1595EE, 0x94E6FB, 0, 0xC0C0C0,
         0x808080, 0xCFF0EA, clNone, ssDefault, 0xCFF0EA, 0x8CC0B1},
        // No selection of its own: the look switch to glXP gave it.
        {gsOffice2003Classic, glXP, 0xFFFFFF, 0xCCD4D8, clNone, 0xD8D5D4, 0xD8D5D4, 0xEACAB6, 0, 0xC0C0C0,
         0x808080, 0xFFFFFF, clNone, ssDefault, clNone, clNone},
        {gsOffice2007Luna, glOffice2007, 0xFBF9F6, 0xE8DBD2, clNone, 0x9DD8F9, 0x5EC1F1, 0x5EC1F1, 0,
         0xF1EDEB, 0xD1BBA4, 0xFBF9F6, clNone, ssOffice2007, 0xFBF9F6, 0xE8DBD2},
        {gsOffice2007Obsidian, glOffice2007, 0xF7F7F7, 0xDEDEDE, clNone, 0x9DD8F9, 0x5EC1F1, 0x5EC1F1, 0,
         0xE5D7D0, 0x808080, 0xF7F7F7, clNone, ssOffice2007, 0xF7F7F7, 0xDEDEDE},
        {gsWindowsXP, glXP, btn, btn, clNone, btn, btn, 0xEACAB6, 0, 0xC0C0C0, 0x808080, btn, clNone,
         ssDefault, clNone, clNone},
        // Keeps the look; the selection is the reset's.
        {gsWhidbey, glStandard, 0xFFFFFF, btn, clNone, 0x94E6FB, 0x1595EE, clHighlight, clHighlightText,
         0xC0C0C0, 0x808080, 0xFFFFFF, clNone, ssDefault, clNone, clNone},
        // The reset only.
        {gsCustom, glStandard, Mark, Mark, Mark, Mark, Mark, clHighlight, clHighlightText, Mark, Mark, Mark,
         Mark, ssDefault, clNone, clNone},
        // The search footer ends in the grid's mirror-to colour, which the look switch cleared.
        {gsOffice2007Silver, glOffice2007, 0xF3F3F1, 0xCAC9C8, clNone, 0x99CCFF, 0x699CFF, 0x95C7F5, 0,
         0xE5D7D0, 0x808080, 0xF3F3F1, clNone, ssOffice2007, 0xF3F3F1, 0xCAC9C8},
        {gsWindowsVista, glVista, 0xFFFFFF, 0xFFFFFF, 0xF4F2F1, 0xFDF8F1, 0xFCEFD5, 0xEACAB6, 0, 0xECECF0,
         0xD4D2D1, 0xFFFFFF, 0xF4F2F1, ssVista, clNone, clNone},
        {gsWindows7, glWin7, 0xFDFCFA, 0xFAF0E6, 0xF7E9DD, 0xFCEBDC, 0xFCDBC1, 0xEACAB6, 0, 0xECECF0,
         0xD4D2D1, 0xFDFCFA, 0xF7E9DD, ssWin7, clNone, clNone},
        // A look switch to glStandard and nothing of its own.
        {gsTerminal, glStandard, Mark, Mark, Mark, Mark, Mark, clHighlight, clHighlightText, Mark, Mark, Mark,
         Mark, ssDefault, clNone, clNone},
        {gsOffice2010Blue, glOffice2007, 0xF5E7DA, 0xF5E7DA, 0xF5E7DA, 0x5BD5FF, 0x71EFFF, 0xFFDBB7, 0,
         0xC0C0C0, 0xC7B0A0, 0xF5E7DA, 0xF5E7DA, ssDefault, clNone, clNone},
        {gsOffice2010Silver, glOffice2007, 0xE8E3DF, 0xE8E3DF, 0xE8E3DF, 0x5BD5FF, 0x71EFFF, 0xFFDBB7, 0,
         0xC0C0C0, 0xBAB5B1, 0xE8E3DF, 0xE8E3DF, ssDefault, clNone, clNone},
        {gsOffice2010Black, glOffice2007, 0x6A6A6A, 0x6A6A6A, 0x6A6A6A, 0x5BD5FF, 0x71EFFF, 0xFFDBB7, 0,
         0xC0C0C0, 0x444444, 0x6A6A6A, 0x6A6A6A, ssDefault, clNone, clNone},
    };
    for (const StyleCase& c : cases) {
        SCOPED_TRACE(int(c.Style));
        TAdvGridPtr g = MakeAdvGrid(5, 5);
        g->SetLook(glStandard);
        MarkColors(g.get());
        g->SetStyle(c.Style);
        EXPECT_EQ(g->Look(), c.Look);
        EXPECT_EQ(g->KitGradientFrom(), c.KitFrom);
        EXPECT_EQ(g->KitGradientTo(), c.KitTo);
        EXPECT_EQ(g->KitGradientMirrorTo(), c.KitMirrorTo);
        EXPECT_EQ(g->ActiveCellColor(), c.ActiveFrom);
        EXPECT_EQ(g->ActiveCellColorTo(), c.ActiveTo);
        EXPECT_EQ(g->SelectionColor(), c.Selection);
        EXPECT_EQ(g->SelectionTextColor(), c.SelectionText);
        const bool office2003 = c.Style <= gsOffice2003Olive;
        EXPECT_EQ(g->SelectionColorTo(), office2003 ? TColor(0x1595EE) : TColor(clNone));
        EXPECT_EQ(g->GridLineColor(), c.Line);
        EXPECT_EQ(g->GridFixedLineColor(), c.FixedLine);
        EXPECT_EQ(g->SearchFooter()->Color(), c.SearchFrom);
        EXPECT_EQ(g->SearchFooter()->ColorTo(), c.SearchTo);
        EXPECT_EQ(g->SelectionStyle(), c.SelectionStyle);
        EXPECT_EQ(g->ControlLook()->FixedGradientFrom(), c.LookFrom);
        EXPECT_EQ(g->ControlLook()->FixedGradientTo(), c.LookTo);
    }
}

// The hover and pressed gradients and the sort header colours of the sets that have them.
TEST(GridStyles, HoverDownAndSortHeaderColours) {
    struct Case {
        TAdvGridStyle Style;
        TColor HoverFrom, HoverBorder, DownMirrorTo, DownBorder, Header, HeaderMirrorTo;
    } cases[] = {
        {gsOffice2007Luna, 0xE4E2DF, 0xB79F87, 0xE4C19D, 0xE4C19D, clNone, clNone},
        {gsWindowsVista, 0xFFF7E3, 0xE3C993, 0xF5D18A, 0xAE904F, 0xFCF9F2, 0xF6ECD8},
        {gsWindows7, 0xFEFBF8, 0xEEE8E3, 0xEDDCCF, 0xD5BCAA, 0xFCF9F2, 0xF6ECD8},
        {gsOffice2010Blue, 0x6BDFFF, 0x3ABFE8, 0x71EFFF, 0x308AC2, 0xD6CEC7, 0xD6CEC7},
        {gsOffice2010Silver, 0x6BDFFF, 0x3ABFE8, 0x71EFFF, 0x308AC2, 0xAAAAAA, 0xAAAAAA},
        {gsOffice2010Black, 0x6BDFFF, 0x3ABFE8, 0x71EFFF, 0x308AC2, 0xBABABA, 0xBABABA},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(int(c.Style));
        TAdvGridPtr g = MakeAdvGrid(5, 5);
        MarkColors(g.get());
        g->SetStyle(c.Style);
        EXPECT_EQ(g->KitGradientHoverFrom(), c.HoverFrom);
        EXPECT_EQ(g->KitGradientHoverBorder(), c.HoverBorder);
        EXPECT_EQ(g->KitGradientDownMirrorTo(), c.DownMirrorTo);
        EXPECT_EQ(g->KitGradientDownBorder(), c.DownBorder);
        EXPECT_EQ(g->SortSettings()->HeaderColor(), c.Header);
        EXPECT_EQ(g->SortSettings()->HeaderMirrorColorTo(), c.HeaderMirrorTo);
    }
}

// gsCustom resets the selection, the sort headers and ControlLook's colours and nothing else;
// ControlLook's reset reaches the grid only through the hover and pressed mirror colours.
TEST(GridStyles, CustomResetsOnly) {
    TAdvGridPtr g = MakeAdvGrid(5, 5);
    g->SetLook(glKit);
    MarkColors(g.get());
    TControlLook* look = g->ControlLook();
    look->SetColor(Mark);
    look->SetCommentColor(Mark);
    for (int w = fgFrom; w <= fgDownBorder; ++w) look->SetFixedGradient(TFixedGradientColor(w), Mark);
    g->SetSelectionStyle(ssWin7);
    g->SetStyle(gsCustom);

    EXPECT_EQ(g->Look(), glKit);
    EXPECT_EQ(g->SelectionColor(), clHighlight);
    EXPECT_EQ(g->SelectionColorTo(), clNone);
    EXPECT_EQ(g->SelectionTextColor(), clHighlightText);
    EXPECT_EQ(g->SelectionStyle(), ssDefault);
    EXPECT_EQ(g->SortSettings()->HeaderColor(), clNone);
    EXPECT_EQ(g->SortSettings()->HeaderMirrorColorTo(), clNone);
    EXPECT_EQ(look->Color(), clBlack);
    EXPECT_EQ(look->CommentColor(), clRed);
    EXPECT_EQ(look->FixedGradientFrom(), clNone);
    EXPECT_EQ(look->FixedGradientHoverFrom(), clWhite);
    EXPECT_EQ(look->FixedGradientDownBorder(), clGray);
    EXPECT_EQ(look->FixedGradientHoverMirrorFrom(), clNone);
    // The grid's own values: only the four hover and pressed mirror colours follow.
    EXPECT_EQ(g->KitGradientFrom(), Mark);
    EXPECT_EQ(g->KitGradientMirrorFrom(), Mark);
    EXPECT_EQ(g->KitGradientHoverFrom(), Mark);
    EXPECT_EQ(g->KitGradientHoverMirrorFrom(), clNone);
    EXPECT_EQ(g->KitGradientDownMirrorTo(), clNone);
    EXPECT_EQ(g->ActiveCellColor(), Mark);
    EXPECT_EQ(g->GridLineColor(), Mark);
    EXPECT_EQ(g->SearchFooter()->Color(), Mark);
}

// The three newer looks apply their set and keep it as the grid's current style.
TEST(GridStyles, NewerLooksApplyTheirSet) {
    TAdvGridPtr g = MakeAdvGrid(5, 5);
    g->SetLook(glWin7);
    EXPECT_EQ(g->CurrentStyle(), gsWindows7);
    EXPECT_EQ(g->ActiveCellColor(), TColor(0xFCEBDC));
    EXPECT_EQ(g->SelectionStyle(), ssWin7);
    g->SetLook(glOffice2007);
    EXPECT_EQ(g->CurrentStyle(), gsOffice2007Luna);
    EXPECT_EQ(g->GridFixedLineColor(), TColor(0xD1BBA4));
    EXPECT_EQ(g->SelectionStyle(), ssOffice2007);
}

TEST(GridStyles, ComponentStyleAndMetroScrollBars) {
    TAdvGridPtr g = MakeAdvGrid(5, 5);
    EXPECT_EQ(g->Style(), tsWindowsXP);
    g->SetScrollType(ssMetro);
    g->SetComponentStyle(tsCustom);
    EXPECT_EQ(g->Style(), tsCustom);
    EXPECT_EQ(g->ScrollType(), ssMetro);
    g->SetComponentStyle(tsWindowsVista);
    EXPECT_EQ(g->Style(), tsWindowsVista);
    EXPECT_EQ(g->Look(), glVista);
    EXPECT_EQ(g->ScrollType(), ssNormal);
    // The grid is the library's style and tones interface.
    EXPECT_NE(dynamic_cast<IKitStyle*>(g.get()), nullptr);
    EXPECT_NE(dynamic_cast<IKitTones*>(g.get()), nullptr);
}

TEST(GridStyles, ColorTonesGiveTheFlatLook) {
    TAdvGridPtr g = MakeAdvGrid(5, 5);
    TColorTones tones;
    tones.Background = {0xFFFFFF, 0xE0E0E0, 0x202020};
    tones.Foreground = {0xC8C8C8, 0xA0A0A0, 0x101010};
    tones.Selected = {0x0000C0, 0x000080, 0xFFFFFF};
    tones.Hover = {0xF0F0F0, 0xD0D0D0, 0x000000};
    g->SetSelectionColorTo(Mark);
    g->SetColorTones(tones);

    EXPECT_EQ(g->Look(), glClassic);
    EXPECT_TRUE(g->Flat());
    EXPECT_EQ(g->ScrollType(), ssMetro);
    EXPECT_EQ(g->FixedColor(), TColor(0xC8C8C8));
    EXPECT_EQ(g->FixedFont()->Color(), TColor(0x101010));
    EXPECT_EQ(g->FixedFont()->Name(), GetDefaultFontName());
    EXPECT_EQ(g->Color(), TColor(0xFFFFFF));
    EXPECT_EQ(g->Font()->Color(), TColor(0x202020));
    EXPECT_EQ(g->SelectionColor(), TColor(0x0000C0));
    EXPECT_EQ(g->SelectionTextColor(), TColor(0xFFFFFF));
    EXPECT_EQ(g->SelectionColorTo(), clNone);
    EXPECT_EQ(g->GridLineColor(), TColor(0xE6E6E6));
    EXPECT_EQ(g->GridFixedLineColor(), TColor(0xA0A0A0)); // 20 % darker
    EXPECT_EQ(g->BorderStyle(), bsNone);
    EXPECT_EQ(g->ControlLook()->ControlStyle(), csGlyph);
    EXPECT_FALSE(g->ControlLook()->CheckedGlyph()->Empty());
    EXPECT_FALSE(g->ControlLook()->RadioOffGlyph()->Empty());
    EXPECT_TRUE(g->ControlLook()->FlatButton());
    EXPECT_EQ(g->FloatingFooter()->Color(), TColor(0xC8C8C8));
    EXPECT_EQ(g->SearchFooter()->Color(), TColor(0xC8C8C8));
    EXPECT_EQ(g->SearchFooter()->ColorTo(), TColor(0xC8C8C8));
    EXPECT_EQ(g->CellNode()->NodeType(), cnFlat);
    EXPECT_EQ(g->ColorTones().Hover.BrushColor, TColor(0xF0F0F0));

    // A later look brings the normal scroll bars back.
    g->SetLook(glXP);
    EXPECT_EQ(g->ScrollType(), ssNormal);
}

TEST(GridStyles, LegacySchemes) {
    struct Case {
        TXPColorScheme Scheme;
        TColor From, To, MirrorFrom, ActiveFrom, ActiveTo, SearchFrom, SearchTo, LookFrom;
    } cases[] = {
        {xpBlue, 0xFCE1CB, 0xE0A57D, clNone, 0x94E6FB, 0x1595EE, 0xFCE1CB, 0xE0A57D, 0xFCE1CB},
        {xpGreen, 0xCFF0EA, 0x8CC0B1, clNone, 0x94E6FB, 0x1595EE, 0xCFF0EA, 0x8CC0B1, 0xCFF0EA},
        {xpGray, 0xECE2E1, 0xB39698, clNone, 0x94E6FB, 0x1595EE, 0xECE2E1, 0xB39698, 0xECE2E1},
        {vistaAero, 0xFFFFFF, 0xFFFFFF, 0xFAF8F7, 0x94E6FB, 0x1595EE, 0xECE2E1, 0xB39698, 0xFFFFFF},
        {xpNone, 0xFFFFFF, clBtnFace, clNone, 0xFFFFFF, 0xFFD9B3, 0xFFFFFF, 0xFFD9B3, clNone},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(int(c.Scheme));
        TAdvGridPtr g = MakeAdvGrid(5, 5);
        MarkColors(g.get());
        g->SetLook(glSoft);
        g->SetSelectionColor(Mark);
        g->SetTheme(c.Scheme);
        EXPECT_EQ(g->KitGradientFrom(), c.From);
        EXPECT_EQ(g->KitGradientTo(), c.To);
        EXPECT_EQ(g->KitGradientMirrorFrom(), c.MirrorFrom);
        EXPECT_EQ(g->ActiveCellColor(), c.ActiveFrom);
        EXPECT_EQ(g->ActiveCellColorTo(), c.ActiveTo);
        EXPECT_EQ(g->SearchFooter()->Color(), c.SearchFrom);
        EXPECT_EQ(g->SearchFooter()->ColorTo(), c.SearchTo);
        EXPECT_EQ(g->ControlLook()->FixedGradientFrom(), c.LookFrom);
        // Neither the look nor the selection changes.
        EXPECT_EQ(g->Look(), glSoft);
        EXPECT_EQ(g->SelectionColor(), Mark);
    }
}

// The Office theme in force (here: decided by the visual style, no Office settings) is applied
// once; the same theme again changes nothing.
using OfficeThemeGrid = TempRegistryFixture;

TEST_F(OfficeThemeGrid, FollowsTheThemeOnce) {
    PlatformSwitches().ThemeColorName = QStringLiteral("HomeStead");
    PlatformSwitches().VisualStylesActive = true;
    ASSERT_EQ(GetCurrentOfficeTheme(), ot2003Olive);

    TAdvGridPtr g = MakeAdvGrid(5, 5);
    EXPECT_EQ(g->OfficeTheme(), otUnknown);
    g->SetAutoThemeAdapt(true);
    EXPECT_TRUE(g->SearchFooter()->AutoThemeAdapt());
    EXPECT_EQ(g->OfficeTheme(), ot2003Olive);
    EXPECT_EQ(g->Style(), tsOffice2003Olive);
    EXPECT_EQ(g->KitGradientFrom(), TColor(0xCFF0EA));

    // The same theme again: the colours written since stay.
    g->SetActiveCellColor(Mark);
    g->ApplyOfficeTheme();
    EXPECT_EQ(g->ActiveCellColor(), Mark);

    // A theme change reaches the grid by message while AutoThemeAdapt is on.
    PlatformSwitches().ThemeColorName = QStringLiteral("Metallic");
    TMessage m(WM_OFFICETHEMECHANGE);
    g->Dispatch(m);
    EXPECT_EQ(g->OfficeTheme(), ot2003Silver);
    EXPECT_EQ(g->KitGradientFrom(), TColor(0xECE2E1));
    g->SetAutoThemeAdapt(false);
    PlatformSwitches().ThemeColorName = QStringLiteral("NormalColor");
    g->Dispatch(m);
    EXPECT_EQ(g->OfficeTheme(), ot2003Silver);
}

} // namespace
