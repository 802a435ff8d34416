// TAdvStringGrid: the scroll bar a user operates over a scroll-bar cell. The grid keeps one bar
// for all such cells; the mouse handling lays it over the cell under the pointer (FScrollCol,
// FScrollRow: a display cell) and the bar's scroll messages arrive here through WMVScroll.
#include "AdvGrid.h"

#include <algorithm>

bool TAdvStringGrid::CellScrollBarScroll(TWMScroll& Message) {
    TScrollBar* bar = FScrollBar.get();
    const HWND from = HWND(Message.ScrollBar);
    if (!bar || from == HWND(0) || !bar->HandleAllocated() || from != bar->Handle()) return false;
    Message.Result = 0;
    int pos = bar->Position();
    switch (SmallInt(Message.ScrollCode)) {
        case SB_LINEUP: pos -= 10; break;
        case SB_LINEDOWN: pos += 10; break;
        case SB_PAGEUP: pos -= 100; break;
        case SB_PAGEDOWN: pos += 100; break;
        case SB_THUMBTRACK: {
            // While the thumb is dragged the bar knows the full track position (the message
            // carries only 16 bits of it); otherwise the message's position counts.
            SCROLLINFO si;
            si.fMask = SIF_TRACKPOS;
            const bool tracked = GetScrollInfo(bar->Handle(), SB_CTL, si) && si.nTrackPos != bar->Position();
            pos = tracked ? si.nTrackPos : int(Word(SmallInt(Message.Pos)));
            break;
        }
        default: return true;
    }
    const int old = bar->Position();
    bar->SetPosition(std::clamp(pos, bar->Min(), bar->Max()));
    if (bar->Position() == old) return true;
    Message.Result = 1;
    if (FScrollCol >= 0 && FScrollRow >= 0) {
        SetScrollPosition(RealColIndex(FScrollCol), FScrollRow, bar->Position());
        ScrollCell(FScrollCol, FScrollRow, bar->Position(), bar->Min(), bar->Max());
    }
    return true;
}

void TAdvStringGrid::ScrollCell(int ACol, int ARow, int ScrollPosition, int ScrollMin, int ScrollMax) {
    if (OnScrollCell) OnScrollCell(this, ACol, ARow, ScrollPosition, ScrollMin, ScrollMax);
}
