#include "Menus.h"

#include "QtBridge.h"

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QPointer>

#include <algorithm>
#include <map>

std::function<void(TPopupMenu*, int, int)> TPopupMenu::PopupHook;

// =============================================================================================
// TMenuItem

TMenuItem::TMenuItem(TComponent* AOwner) : TComponent(AOwner) {}

TMenuItem::~TMenuItem() {
    Clear();
    if (FParent) FParent->Remove(this);
}

TMenuItem* TMenuItem::Items(int Index) const {
    if (Index < 0 || Index >= Count())
        throw EListError(QStringLiteral("List index out of bounds (%1)").arg(Index));
    return FItems[size_t(Index)];
}

void TMenuItem::Add(TMenuItem* Item) {
    Insert(Count(), Item);
}

void TMenuItem::Insert(int Index, TMenuItem* Item) {
    if (!Item) return;
    if (Item->FParent) throw EInvalidOperation(QStringLiteral("Menu inserted twice"));
    if (Index < 0 || Index > Count())
        throw EListError(QStringLiteral("List index out of bounds (%1)").arg(Index));
    FItems.insert(FItems.begin() + Index, Item);
    Item->FParent = this;
}

void TMenuItem::Delete(int Index) {
    TMenuItem* item = Items(Index);
    FItems.erase(FItems.begin() + Index);
    item->FParent = nullptr;
}

void TMenuItem::Remove(TMenuItem* Item) {
    int i = IndexOf(Item);
    if (i >= 0) Delete(i);
}

// Frees the sub-items.
void TMenuItem::Clear() {
    while (!FItems.empty()) {
        TMenuItem* item = FItems.back();
        FItems.pop_back();
        item->FParent = nullptr;
        TObject::Free(item);
    }
}

int TMenuItem::IndexOf(const TMenuItem* Item) const {
    auto it = std::find(FItems.begin(), FItems.end(), Item);
    return it == FItems.end() ? -1 : int(it - FItems.begin());
}

void TMenuItem::Click() {
    if (!FEnabled) return;
    if (FAutoCheck) FChecked = !FChecked;
    if (Assigned(OnClick)) OnClick(this);
}

// =============================================================================================
// TPopupMenu

TPopupMenu::TPopupMenu(TComponent* AOwner) : TComponent(AOwner) {
    FItems = new TMenuItem(nullptr);
}

TPopupMenu::~TPopupMenu() {
    TObject::Free(FItems);
}

void TPopupMenu::Notification(TComponent* AComponent, TOperation Operation) {
    TComponent::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == FPopupComponent) FPopupComponent = nullptr;
}

namespace {

void BuildMenu(QMenu* Menu, TMenuItem* Items, std::map<QAction*, TMenuItem*>& Map) {
    for (int i = 0; i < Items->Count(); ++i) {
        TMenuItem* item = Items->Items(i);
        if (!item->Visible()) continue;
        if (item->IsLine()) {
            Menu->addSeparator();
            continue;
        }
        if (item->Count() > 0) {
            QMenu* sub = Menu->addMenu(item->Caption());
            sub->setEnabled(item->Enabled());
            BuildMenu(sub, item, Map);
            continue;
        }
        QAction* a = Menu->addAction(item->Caption());
        a->setEnabled(item->Enabled());
        if (item->Checked() || item->AutoCheck()) {
            a->setCheckable(true);
            a->setChecked(item->Checked());
        }
        Map[a] = item;
    }
}

} // namespace

void TPopupMenu::Popup(int X, int Y) {
    FPopupPoint = TPoint(X, Y);
    ++FPopupCount;
    if (Assigned(OnPopup)) OnPopup(this);
    if (PopupHook) {
        PopupHook(this, X, Y);
    } else if (qobject_cast<QApplication*>(QCoreApplication::instance())) {
        QMenu menu;
        std::map<QAction*, TMenuItem*> map;
        BuildMenu(&menu, FItems, map);
        QAction* chosen = menu.exec(QPoint(X, Y));
        auto it = map.find(chosen);
        if (it != map.end()) it->second->Click();
    }
    if (Assigned(OnClose)) OnClose(this);
}
