// Raw popup menus of strings, as the platform's menu handles give them: items with ids, shown at
// a screen point; the chosen id reaches the owner window as WM_COMMAND (the id in the low word of
// WParam, notification 0), or is answered directly with TPM_RETURNCMD.
#pragma once

#include "Messages.h"

#include <functional>

struct TRawMenu;
using HMENU = TRawMenu*;
constexpr UINT MF_STRING = 0x0000;
constexpr UINT TPM_LEFTALIGN = 0x0000;
constexpr UINT TPM_LEFTBUTTON = 0x0000;
constexpr UINT TPM_RIGHTBUTTON = 0x0002;
constexpr UINT TPM_RETURNCMD = 0x0100;

HMENU CreatePopupMenu();
bool AppendMenu(HMENU Menu, UINT Flags, UINT_PTR IDNewItem, const String& NewItem);
// The number of items, -1 for a menu that does not exist.
int GetMenuItemCount(HMENU Menu);
// The id and text of item Pos (0-based); false when there is none.
bool GetMenuItem(HMENU Menu, int Pos, UINT_PTR& ID, String& Text);
// Shows the menu with its top-left corner at (X, Y) until a choice or a dismissal. With
// TPM_RETURNCMD answers the chosen id (0: none); otherwise posts the choice to Owner and answers
// whether the menu was shown.
LRESULT TrackPopupMenu(HMENU Menu, UINT Flags, int X, int Y, int Reserved, HWND Owner,
                       const TRect* Rect = nullptr);
bool DestroyMenu(HMENU Menu);
// While set, TrackPopupMenu asks it for the choice (0: dismissed) instead of showing the menu.
using TTrackPopupMenuHook = std::function<UINT_PTR(HMENU Menu, int X, int Y)>;
void SetTrackPopupMenuHook(TTrackPopupMenuHook Hook);
