// The non-client mouse messages and the sizing of a window from its frame, beside the messages
// of Messages.h. Before each mouse message that no capture claims the platform asks the window
// under the pointer which part of it lies there (WM_NCHITTEST, the screen point in LParam);
// HTCLIENT, the default answer, gives the client mouse messages, any other hit-test code the
// non-client messages below, with the code in WParam and the screen point in LParam, and
// WM_SETCURSOR with that code (the default shows the sizing arrows over HTBOTTOMRIGHT). The
// default handling of WM_NCLBUTTONDOWN on HTBOTTOMRIGHT sizes the top-level window from that
// corner: through the window system where it can (StartSystemSizing), otherwise the platform
// follows the pointer until the left button goes up. While the user sizes a top-level window
// it hears WM_SIZING before each new size.
#pragma once

#include "Messages.h"

constexpr UINT WM_NCMOUSEMOVE = 0x00A0;
constexpr UINT WM_NCLBUTTONDOWN = 0x00A1;
constexpr UINT WM_NCLBUTTONUP = 0x00A2;
constexpr UINT WM_NCLBUTTONDBLCLK = 0x00A3;
constexpr UINT WM_NCRBUTTONDOWN = 0x00A4;
constexpr UINT WM_NCRBUTTONUP = 0x00A5;
constexpr UINT WM_NCRBUTTONDBLCLK = 0x00A6;
constexpr UINT WM_NCMBUTTONDOWN = 0x00A7;
constexpr UINT WM_NCMBUTTONUP = 0x00A8;
constexpr UINT WM_NCMBUTTONDBLCLK = 0x00A9;

// WM_SIZING: WParam is the edge or corner dragged, LParam points to the window's new screen
// rectangle (a TRect), which the handler may change. The window system does not say which edge
// it sizes from; its sizing reads as the bottom-right corner.
constexpr WPARAM WMSZ_BOTTOMRIGHT = 8;
