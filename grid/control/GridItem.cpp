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
    FShownBefore.resize(FUnique.size());
    for (size_t i = 0; i < FUnique.size(); ++i) FShownBefore[i] = FUnique[i] - int(i);
    FCursor = 0;
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
    if (FIndexValid) {
        // Still between the same two hidden rows as the last map.
        const size_t c = FCursor, n = FShownBefore.size();
        if ((c == 0 || FShownBefore[c - 1] <= Display) && (c == n || FShownBefore[c] > Display))
            return Display + int(c);
    }
    BuildIndex();
    // Shown row number Display lies after every hidden row with at most Display shown rows
    // before it: the first i with FShownBefore[i] > Display counts them. A few steps from where
    // the last map ended serve a sweep; a binary search serves the rest.
    const size_t n = FShownBefore.size();
    size_t i = std::min(FCursor, n);
    if (i == 0 || FShownBefore[i - 1] <= Display) {
        for (int step = 0; step < 4 && i < n && FShownBefore[i] <= Display; ++step) ++i;
        if (i < n && FShownBefore[i] <= Display)
            i = size_t(
                std::upper_bound(FShownBefore.begin() + std::ptrdiff_t(i), FShownBefore.end(), Display) -
                FShownBefore.begin());
    } else {
        i = size_t(std::upper_bound(FShownBefore.begin(), FShownBefore.begin() + std::ptrdiff_t(i), Display) -
                   FShownBefore.begin());
    }
    FCursor = i;
    return Display + int(i);
}

int TGridItems::InsertPosition(int Idx) const {
    int pos = 0;
    // Records hidden by range sit in index order; filter levels append theirs after them.
    while (pos < Count() && Items(pos)->Level() == 0 && Items(pos)->Idx() < Idx) ++pos;
    return pos;
}
