// TCheckListBox: the list box's Qt list with user-checkable items; the check states live in the
// control and are written into the items whenever the list is brought up to date.
#include "CheckLst.h"

#include <QListWidget>

TCheckListBox::TCheckListBox(TComponent* AOwner) : TCustomListBox(AOwner) {}

bool TCheckListBox::Checked(int Index) const {
    return Index >= 0 && Index < int(FChecked.size()) && FChecked[size_t(Index)];
}

void TCheckListBox::SetChecked(int Index, bool Value) {
    if (Index < 0 || Index >= Count()) return;
    if (FChecked.size() < size_t(Count())) FChecked.resize(size_t(Count()), false);
    FChecked[size_t(Index)] = Value;
    UpdateNative();
}

QWidget* TCheckListBox::CreateNative(QWidget* Host) {
    QWidget* w = TCustomListBox::CreateNative(Host);
    auto* list = static_cast<QListWidget*>(w);
    QObject::connect(list, &QListWidget::itemChanged, list, [this, list](QListWidgetItem* Item) {
        NativeItemChanged(list->row(Item), Item->checkState() == Qt::Checked);
    });
    return w;
}

void TCheckListBox::UpdateNative() {
    TCustomListBox::UpdateNative();
    auto* list = static_cast<QListWidget*>(NativeWidget());
    if (!list) return;
    FUpdating = true;
    for (int i = 0; i < list->count(); ++i) {
        QListWidgetItem* item = list->item(i);
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        const Qt::CheckState want = Checked(i) ? Qt::Checked : Qt::Unchecked;
        if (item->checkState() != want) item->setCheckState(want);
    }
    FUpdating = false;
}

void TCheckListBox::ItemsChanged() {
    // The states follow the items by position: a cleared list forgets them.
    FChecked.resize(size_t(Count()), false);
    TCustomListBox::ItemsChanged();
}

void TCheckListBox::NativeItemChanged(int Row, bool Value) {
    if (FUpdating || Row < 0 || Row >= Count() || Checked(Row) == Value) return;
    if (FChecked.size() < size_t(Count())) FChecked.resize(size_t(Count()), false);
    FChecked[size_t(Row)] = Value;
    ClickCheck();
}

void TCheckListBox::ClickCheck() {
    if (OnClickCheck) OnClickCheck(this);
}
