// The grid control's look vocabulary: the one-step looks with their two name tables, the grid
// styles a look may hand over to, the scroll-bar types and what a press at the pointer offers.
#pragma once

#include "System.h"

// One assignment of Look sets fixed-cell gradients, lines, active-cell and selection colours,
// border and scroll type; glVista, glWin7 and glOffice2007 hand the look over to a grid style.
enum TGridLook {
    glStandard,
    glSoft,
    glClassic,
    glKit,
    glXP,
    glListView,
    glVista,
    glWin7,
    glOffice2007,
    glCustom
};

enum TAdvGridStyle {
    gsOffice2003Blue,
    gsOffice2003Silver,
    gsOffice2003Olive,
    gsOffice2003Classic,
    gsOffice2007Luna,
    gsOffice2007Obsidian,
    gsWindowsXP,
    gsWhidbey,
    gsCustom,
    gsOffice2007Silver,
    gsWindowsVista,
    gsWindows7,
    gsTerminal,
    gsOffice2010Blue,
    gsOffice2010Silver,
    gsOffice2010Black
};

enum TScrollType { ssNormal, ssFlat, ssEncarta, ssMetro };

// The five colour schemes of SetTheme.
enum TXPColorScheme { xpNone, xpBlue, xpGreen, xpGray, vistaAero };

// Scroll bars that stay shown (disabled) when everything fits.
enum TScrollBarAlways { saNone, saVert, saHorz, saBoth };

// What a left press at the pointer position will do.
enum TMouseSelectMode { msNormal, msColumn, msRow, msAll, msURL, msResize };

// The look's identifier name (as the visual-properties file writes it) and its display name.
// glCustom has neither: Name is left as it was.
void GridLookIdentifier(TGridLook Look, String& Name);
void GridLookDisplayName(TGridLook Look, String& Name);
