// The hidden-row records and their store.
#include "GridItem.h"

#include "BaseGrid.h"

#include <algorithm>

TGridItem::TGridItem(TCollection* Collection) : TCollectionItem(Collection), FItems(new TStringList()) {}

TGridItem::~TGridItem() {
    TObject::Free(FItems);
}

void TGridItem::SetIdx(int Value) {
    FIdx = Value;
    if (auto* store = dynamic_cast<TGridItems*>(Collection())) store->IdxChanged();
}

void TGridItem::SetItems(TStrings* Value) {
    FItems->Assign(Value);
}

void TGridItem::FreeCellObjects() {
    for (int i = 0; i < FItems->Count(); ++i) {
        auto* props = dynamic_cast<TCellProperties*>(FItems->Objects(i));
        if (!props) continue;
        // The grid owns a cell's graphic object only when it made it (a TCellGraphic).
        TObject* graphic = props->GraphicObject();
        if (graphic && graphic->ClassName() == QLatin1String("TCellGraphic")) {
            props->SetGraphicObject(nullptr);
            TObject::Free(graphic);
        }
        FItems->SetObjects(i, nullptr);
        TObject::Free(props);
    }
}

TGridItems::TGridItems() : TCollection(CollectionItemClass<TGridItem>()) {}

TGridItems::~TGridItems() {
    ClearAll();
}

void TGridItems::ClearAll() {
    for (int i = 0; i < Count(); ++i) Items(i)->FreeCellObjects();
    Clear();
}

void TGridItems::Notify(TCollectionItem* Item, TCollectionNotification Action) {
    TCollection::Notify(Item, Action);
    FIndexValid = false;
}

void TGridItems::BuildIndex() const {
    if (FIndexValid) return;
    FAll.clear();
    FAll.reserve(size_t(Count()));
    for (int i = 0; i < Count(); ++i) FAll.push_back(Items(i)->Idx());
    std::sort(FAll.begin(), FAll.end());
    FUnique = FAll;
    FUnique.erase(std::unique(FUnique.begin(), FUnique.end()), FUnique.end());
    FIndexValid = true;
}

bool TGridItems::HasIdx(int Idx) const {
    BuildIndex();
    return std::binary_search(FUnique.begin(), FUnique.end(), Idx);
}

int TGridItems::CountBelow(int Idx) const {
    BuildIndex();
    return int(std::lower_bound(FAll.begin(), FAll.end(), Idx) - FAll.begin());
}

int TGridItems::RealOfDisplay(int Display) const {
    if (Display < 0) return Display;
    BuildIndex();
    // Before the hidden row FUnique[i] lie FUnique[i] - i shown rows. The shown row number
    // Display lies after every hidden row with at most Display shown rows before it.
    auto it = std::partition_point(FUnique.begin(), FUnique.end(),
                                   [&](const int& h) { return h - int(&h - FUnique.data()) <= Display; });
    return Display + int(it - FUnique.begin());
}

int TGridItems::InsertPosition(int Idx) const {
    int pos = 0;
    // Records hidden by range sit in index order; filter levels append theirs after them.
    while (pos < Count() && Items(pos)->Level() == 0 && Items(pos)->Idx() < Idx) ++pos;
    return pos;
}
