#include "RawMenus.h"

#include <QAction>
#include <QMenu>

#include <unordered_set>
#include <utility>
#include <vector>

struct TRawMenu {
    std::vector<std::pair<UINT_PTR, String>> Items;
};

namespace {

TTrackPopupMenuHook& TrackHook() {
    static TTrackPopupMenuHook hook;
    return hook;
}

// Handles handed out and not destroyed: a stale or foreign handle is refused, not followed.
std::unordered_set<HMENU>& Menus() {
    static std::unordered_set<HMENU> menus;
    return menus;
}

bool IsMenu(HMENU Menu) {
    return Menu && Menus().count(Menu) != 0;
}

} // namespace

HMENU CreatePopupMenu() {
    auto* menu = new TRawMenu;
    Menus().insert(menu);
    return menu;
}

bool AppendMenu(HMENU Menu, UINT, UINT_PTR IDNewItem, const String& NewItem) {
    if (!IsMenu(Menu)) return false;
    Menu->Items.emplace_back(IDNewItem, NewItem);
    return true;
}

int GetMenuItemCount(HMENU Menu) {
    return IsMenu(Menu) ? int(Menu->Items.size()) : -1;
}

bool GetMenuItem(HMENU Menu, int Pos, UINT_PTR& ID, String& Text) {
    if (!IsMenu(Menu) || Pos < 0 || Pos >= int(Menu->Items.size())) return false;
    ID = Menu->Items[size_t(Pos)].first;
    Text = Menu->Items[size_t(Pos)].second;
    return true;
}

LRESULT TrackPopupMenu(HMENU Menu, UINT Flags, int X, int Y, int, HWND Owner, const TRect*) {
    if (!IsMenu(Menu)) return 0;
    UINT_PTR chosen = 0;
    if (TrackHook()) {
        chosen = TrackHook()(Menu, X, Y);
    } else {
        QMenu menu;
        for (const auto& [id, text] : Menu->Items)
            menu.addAction(text)->setData(QVariant::fromValue(qulonglong(id)));
        if (QAction* a = menu.exec(QPoint(X, Y))) chosen = UINT_PTR(a->data().toULongLong());
    }
    if (Flags & TPM_RETURNCMD) return LRESULT(chosen);
    if (chosen != 0) PostMessage(Owner, WM_COMMAND, MAKEWPARAM(Word(chosen), 0), 0);
    return 1;
}

bool DestroyMenu(HMENU Menu) {
    if (!IsMenu(Menu)) return false;
    Menus().erase(Menu);
    delete Menu;
    return true;
}

void SetTrackPopupMenuHook(TTrackPopupMenuHook Hook) {
    TrackHook() = std::move(Hook);
}
