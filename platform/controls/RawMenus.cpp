#include "Menus.h"

#include <QAction>
#include <QMenu>

#include <set>
#include <utility>
#include <vector>

struct TRawMenu {
    std::vector<std::pair<UINT_PTR, String>> Items;
};

namespace {

TTrackPopupMenuHook& Hook() {
    static TTrackPopupMenuHook hook;
    return hook;
}

std::set<HMENU>& LiveMenus() {
    static std::set<HMENU> menus;
    return menus;
}

bool Live(HMENU Menu) {
    return Menu && LiveMenus().count(Menu) > 0;
}

} // namespace

HMENU CreatePopupMenu() {
    HMENU m = new TRawMenu();
    LiveMenus().insert(m);
    return m;
}

bool AppendMenu(HMENU Menu, UINT, UINT_PTR IDNewItem, const String& NewItem) {
    if (!Live(Menu)) return false;
    Menu->Items.emplace_back(IDNewItem, NewItem);
    return true;
}

int GetMenuItemCount(HMENU Menu) {
    return Live(Menu) ? int(Menu->Items.size()) : -1;
}

bool GetMenuItem(HMENU Menu, int Pos, UINT_PTR& ID, String& Text) {
    if (!Live(Menu) || Pos < 0 || Pos >= int(Menu->Items.size())) return false;
    ID = Menu->Items[size_t(Pos)].first;
    Text = Menu->Items[size_t(Pos)].second;
    return true;
}

LRESULT TrackPopupMenu(HMENU Menu, UINT Flags, int X, int Y, int, HWND Owner, const TRect*) {
    if (!Live(Menu)) return 0;
    UINT_PTR chosen = 0;
    if (Hook()) {
        chosen = Hook()(Menu, X, Y);
    } else {
        QMenu menu;
        for (const auto& [id, text] : Menu->Items)
            menu.addAction(text)->setData(QVariant::fromValue(qulonglong(id)));
        if (QAction* a = menu.exec(QPoint(X, Y))) chosen = UINT_PTR(a->data().toULongLong());
    }
    if (Flags & TPM_RETURNCMD) return LRESULT(chosen);
    if (chosen) PostMessage(Owner, WM_COMMAND, MAKEWPARAM(Word(chosen), 0), 0);
    return 1;
}

bool DestroyMenu(HMENU Menu) {
    if (!Live(Menu)) return false;
    LiveMenus().erase(Menu);
    delete Menu;
    return true;
}

void SetTrackPopupMenuHook(TTrackPopupMenuHook Hook_) {
    Hook() = std::move(Hook_);
}
