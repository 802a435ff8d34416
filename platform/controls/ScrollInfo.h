// Scroll information of windows: the two window scroll bars of a windowed control (SB_HORZ,
// SB_VERT, in its non-client area) and the scroll-bar control (SB_CTL), as the platform's
// functions on window handles.
//
// A bar keeps a range (nMin..nMax), a page size (nPage) and a position (nPos), which always stays
// within nMin..nMax - max(nPage - 1, 0). Setting a range or page that leaves nothing to scroll
// hides a window scroll bar (or, with SIF_DISABLENOSCROLL, disables it); a range with something
// to scroll shows it. A bar worked by the user does not move by itself: it sends WM_HSCROLL or
// WM_VSCROLL (to the window for a window scroll bar, to the parent with the control's handle
// for a scroll-bar control) with SB_LINEUP/SB_LINEDOWN for the arrows, SB_PAGEUP/SB_PAGEDOWN for
// a click on the track, SB_THUMBTRACK with the track position while the thumb is dragged,
// SB_THUMBPOSITION with it at the release, and SB_ENDSCROLL when each action ends; the window
// answers by setting the position.
#pragma once

#include "Messages.h"

struct SCROLLINFO {
    UINT cbSize = sizeof(SCROLLINFO);
    UINT fMask = 0;
    int nMin = 0;
    int nMax = 0;
    UINT nPage = 0;
    int nPos = 0;
    int nTrackPos = 0;
};
using TScrollInfo = SCROLLINFO;

constexpr UINT SIF_RANGE = 0x0001;
constexpr UINT SIF_PAGE = 0x0002;
constexpr UINT SIF_POS = 0x0004;
constexpr UINT SIF_DISABLENOSCROLL = 0x0008;
constexpr UINT SIF_TRACKPOS = 0x0010;
constexpr UINT SIF_ALL = SIF_RANGE | SIF_PAGE | SIF_POS | SIF_TRACKPOS;

// EnableScrollBar: which arrows are disabled.
constexpr UINT ESB_ENABLE_BOTH = 0x0000;
constexpr UINT ESB_DISABLE_LTUP = 0x0001;
constexpr UINT ESB_DISABLE_LEFT = 0x0001;
constexpr UINT ESB_DISABLE_UP = 0x0001;
constexpr UINT ESB_DISABLE_RTDN = 0x0002;
constexpr UINT ESB_DISABLE_RIGHT = 0x0002;
constexpr UINT ESB_DISABLE_DOWN = 0x0002;
constexpr UINT ESB_DISABLE_BOTH = 0x0003;

// Sets what Info's fMask names (SIF_TRACKPOS is ignored) and answers the position after it;
// Redraw repaints the bar at once, otherwise at the next paint. An invalid range (nMin above
// nMax) becomes 0..0. Answers 0 for a handle that names no window.
int SetScrollInfo(HWND Wnd, int Bar, const SCROLLINFO& Info, bool Redraw);
inline int SetScrollInfo(HWND Wnd, int Bar, const SCROLLINFO* Info, bool Redraw) {
    return Info ? SetScrollInfo(Wnd, Bar, *Info, Redraw) : 0;
}
// Fills what Info's fMask names; nTrackPos is the thumb's place while the user drags it, else
// the position. False when the window has no such bar information or the mask names nothing.
bool GetScrollInfo(HWND Wnd, int Bar, SCROLLINFO& Info);
inline bool GetScrollInfo(HWND Wnd, int Bar, SCROLLINFO* Info) {
    return Info && GetScrollInfo(Wnd, Bar, *Info);
}
int GetScrollPos(HWND Wnd, int Bar);
// Answers the previous position.
int SetScrollPos(HWND Wnd, int Bar, int Pos, bool Redraw);
bool GetScrollRange(HWND Wnd, int Bar, int& MinPos, int& MaxPos);
bool SetScrollRange(HWND Wnd, int Bar, int MinPos, int MaxPos, bool Redraw);
// Shows or hides a window's bars (SB_HORZ, SB_VERT, SB_BOTH: the WS_HSCROLL / WS_VSCROLL styles,
// the client area shrinks or grows and the window hears WM_SIZE) or a scroll-bar control (SB_CTL).
bool ShowScrollBar(HWND Wnd, int Bar, bool Show);
// Enables or disables the arrows of a bar (ESB_ flags; Bar is SB_HORZ, SB_VERT, SB_BOTH or SB_CTL).
// A bar with both arrows disabled takes no input; answers false when nothing changed.
bool EnableScrollBar(HWND Wnd, UINT Bar, UINT Arrows);
