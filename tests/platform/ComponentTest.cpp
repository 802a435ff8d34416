#include "Classes.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

class TProbe : public TComponent {
public:
    using TComponent::TComponent;
    std::vector<std::pair<TComponent*, TOperation>> seen;
    int loaded = 0;
    bool loadingSeenInLoaded = false;
    void HearInsertions(bool On = true) { SetHearsInsertions(On); }

protected:
    void Notification(TComponent* c, TOperation op) override {
        seen.emplace_back(c, op);
        TComponent::Notification(c, op);
    }
    void Loaded() override {
        ++loaded;
        TComponent::Loaded();
    }
};

} // namespace

TEST(Component, ClassNameIsTheDeclaredName) {
    TComponent c(nullptr);
    EXPECT_EQ(c.ClassName(), "TComponent");
    TProbe p(nullptr);
    EXPECT_EQ(p.ClassName(), "TProbe");
}

TEST(Component, OwnerFreesOwnedAndFindsByName) {
    auto* owner = new TProbe(nullptr);
    auto freeOwner = FreeAtEnd(owner); // frees b too (ASan reports a leak otherwise)
    auto* a = new TProbe(owner);
    a->SetName("Btn_OK");
    auto* b = new TProbe(owner);
    b->SetName("Btn_Cancel");
    EXPECT_EQ(owner->ComponentCount(), 2);
    EXPECT_EQ(owner->FindComponent("btn_ok"), a);
    EXPECT_EQ(owner->FindComponent("none"), nullptr);
    EXPECT_EQ(b->ComponentIndex(), 1);
    EXPECT_THROW(owner->Components(2), EListError);
    TObject::Free(a);
    EXPECT_EQ(owner->ComponentCount(), 1);
}

TEST(Component, FreeNotificationTellsTheWatcher) {
    TProbe watcher(nullptr);
    auto* watched = new TProbe(nullptr);
    watched->FreeNotification(&watcher);
    TObject::Free(watched);
    ASSERT_FALSE(watcher.seen.empty());
    EXPECT_EQ(watcher.seen.back().first, watched);
    EXPECT_EQ(watcher.seen.back().second, opRemove);
}

TEST(Component, LoadingBracketSetsStateAndCallsLoadedInOrder) {
    TProbe form(nullptr);
    form.BeginLoading();
    auto* child = new TProbe(&form);
    EXPECT_TRUE(child->HasState(csLoading));
    form.EndLoading();
    EXPECT_FALSE(child->HasState(csLoading));
    EXPECT_FALSE(form.HasState(csLoading));
    EXPECT_EQ(child->loaded, 1);
    EXPECT_EQ(form.loaded, 1);
}

TEST(Component, FreeMarksDestroyingBeforeDestructors) {
    struct TCheck : TComponent {
        bool* flag;
        TCheck(bool* f) : TComponent(nullptr), flag(f) {}
        ~TCheck() override { *flag = HasState(csDestroying); }
    };
    bool destroying = false;
    TObject::Free(new TCheck(&destroying));
    EXPECT_TRUE(destroying);
}

TEST(Persistent, AssignWithoutSupportRaises) {
    TComponent a(nullptr), b(nullptr);
    try {
        a.Assign(&b);
        FAIL();
    } catch (const EConvertError& e) {
        EXPECT_EQ(e.Message(), "Cannot assign a TComponent to a TComponent");
    }
    EXPECT_THROW(a.Assign(nullptr), EConvertError);
}

// ---- TList ----------------------------------------------------------------------------------

namespace {

// Records the notifications of a list.
class TRecordingList : public TList {
public:
    std::vector<std::pair<void*, TListNotification>> log;

protected:
    void Notify(void* Ptr, TListNotification Action) override { log.emplace_back(Ptr, Action); }
};

struct TCounted : TObject {
    int* freed;
    explicit TCounted(int* f) : freed(f) {}
    ~TCounted() override { ++*freed; }
};

} // namespace

TEST(List, EditingAndIndexErrors) {
    int a = 1, b = 2, c = 3;
    TRecordingList l;
    l.Add(&a);
    l.Add(&b);
    l.Insert(0, &c);
    EXPECT_EQ(l.Count(), 3);
    EXPECT_EQ(l.First(), &c);
    EXPECT_EQ(l.Last(), &b);
    EXPECT_EQ(l.IndexOf(&a), 1);
    l.Exchange(0, 2);
    EXPECT_EQ(l.Items(0), &b);
    l.Move(0, 2);
    EXPECT_EQ(l.List(), (std::vector<void*>{&a, &c, &b}));
    EXPECT_EQ(l.Extract(&c), &c);
    EXPECT_EQ(l.Remove(&a), 0);
    EXPECT_EQ(l.Remove(&a), -1);
    EXPECT_EQ(l.log.back(), std::make_pair(static_cast<void*>(&a), lnDeleted));
    EXPECT_EQ(l.log[3], std::make_pair(static_cast<void*>(&c), lnExtracted));

    try {
        l.Items(1);
        FAIL();
    } catch (const EListError& e) {
        EXPECT_EQ(e.Message(), "List index out of bounds (1)");
    }
    EXPECT_THROW(l.Delete(-1), EListError);
    EXPECT_THROW(l.Insert(3, nullptr), EListError);
    EXPECT_THROW(l.Move(0, 5), EListError);
    EXPECT_THROW(l.SetCount(-1), EListError);
    EXPECT_THROW(TList().First(), EListError);

    l.SetCount(3);
    EXPECT_EQ(l.Items(2), nullptr);
    l.Pack();
    EXPECT_EQ(l.Count(), 1);
    EXPECT_THROW(l.SetCapacity(0), EListError);
    l.SetCapacity(10);
    EXPECT_EQ(l.Capacity(), 10);
    l.Clear();
    EXPECT_EQ(l.Count(), 0);
}

TEST(List, SortIsStableAndSafeWithAnyCompare) {
    int v[] = {3, 1, 2, 1, 3};
    TList l;
    for (int& x : v) l.Add(&x);
    l.Sort([](void* p, void* q) { return *static_cast<int*>(p) - *static_cast<int*>(q); });
    EXPECT_EQ(l.List(), (std::vector<void*>{&v[1], &v[3], &v[2], &v[0], &v[4]}));
    int calls = 0;
    l.Sort([&](void*, void*) { return ++calls % 3 - 1; }); // answers anything
    EXPECT_EQ(l.Count(), 5);
}

TEST(ObjectList, FreesWhatItOwns) {
    int freed = 0;
    {
        TObjectList l;
        l.Add(new TCounted(&freed));
        l.Add(new TCounted(&freed));
        auto* kept = new TCounted(&freed);
        l.Add(kept);
        l.Delete(0);
        EXPECT_EQ(freed, 1);
        EXPECT_EQ(l.Extract(kept), kept);
        TObject::Free(kept);
        EXPECT_EQ(freed, 2);
    }
    EXPECT_EQ(freed, 3);
}

// ---- TCollection ----------------------------------------------------------------------------

namespace {

class TNamedItem : public TCollectionItem {
public:
    using TCollectionItem::TCollectionItem;
    String Caption;
    void Assign(TPersistent* Source) override {
        if (auto* s = dynamic_cast<TNamedItem*>(Source)) {
            Caption = s->Caption;
            Changed(false);
            return;
        }
        TCollectionItem::Assign(Source);
    }
    void SetCaption(const String& c) {
        Caption = c;
        Changed(false);
    }
};

class TWatchedCollection : public TCollection {
public:
    TWatchedCollection() : TCollection(CollectionItemClass<TNamedItem>()) {}
    std::vector<TCollectionItem*> updates;
    std::vector<TCollectionNotification> notes;
    TNamedItem* Item(int i) const { return static_cast<TNamedItem*>(Items(i)); }

protected:
    void Update(TCollectionItem* Item) override { updates.push_back(Item); }
    void Notify(TCollectionItem*, TCollectionNotification Action) override { notes.push_back(Action); }
};

} // namespace

TEST(Collection, ItemsKnowTheirPlace) {
    TWatchedCollection c;
    auto* a = static_cast<TNamedItem*>(c.Add());
    auto* b = static_cast<TNamedItem*>(c.Add());
    auto* first = static_cast<TNamedItem*>(c.Insert(0));
    EXPECT_EQ(c.Count(), 3);
    EXPECT_EQ(first->Index(), 0);
    EXPECT_EQ(a->Index(), 1);
    EXPECT_EQ(b->Collection(), &c);
    EXPECT_NE(a->ID(), b->ID());
    EXPECT_EQ(c.FindItemID(b->ID()), b);
    b->SetIndex(0);
    EXPECT_EQ(c.Items(0), b);
    EXPECT_THROW(b->SetIndex(3), EListError);
    EXPECT_THROW(c.Items(3), EListError);

    c.updates.clear();
    a->SetCaption("x");
    ASSERT_EQ(c.updates.size(), 1u);
    EXPECT_EQ(c.updates[0], a);

    c.notes.clear();
    c.Delete(c.Items(0)->Index());
    EXPECT_EQ(c.notes, (std::vector<TCollectionNotification>{cnDeleting, cnExtracting}));
    TObject::Free(a); // an item freed on its own leaves the collection
    EXPECT_EQ(c.Count(), 1);
    EXPECT_EQ(c.Items(0), first);
}

TEST(Collection, AssignCopiesItemByItemWithOneUpdate) {
    TWatchedCollection src, dst;
    static_cast<TNamedItem*>(src.Add())->Caption = "one";
    static_cast<TNamedItem*>(src.Add())->Caption = "two";
    dst.Add();
    dst.updates.clear();
    dst.Assign(&src);
    ASSERT_EQ(dst.Count(), 2);
    EXPECT_EQ(dst.Item(0)->Caption, "one");
    EXPECT_EQ(dst.Item(1)->Caption, "two");
    EXPECT_EQ(dst.updates, (std::vector<TCollectionItem*>{nullptr}));

    dst.BeginUpdate();
    dst.Clear();
    dst.Add();
    EXPECT_EQ(dst.updates.size(), 1u);
    dst.EndUpdate();
    EXPECT_EQ(dst.updates.size(), 2u);
    TComponent other(nullptr);
    EXPECT_THROW(dst.Assign(&other), EConvertError);
}

TEST(Component, SiblingsHearInsertionsOnlyWhenTheyAskAndRemovalsAlways) {
    auto* owner = new TProbe(nullptr);
    auto freeOwner = FreeAtEnd(owner);
    auto* deaf = new TProbe(owner);
    auto* listening = new TProbe(owner);
    listening->HearInsertions();
    auto* added = new TProbe(owner);

    auto heard = [](const TProbe* p, TComponent* c, TOperation op) {
        return std::count(p->seen.begin(), p->seen.end(), std::make_pair(c, op));
    };
    EXPECT_EQ(heard(owner, added, opInsert), 1) << "the owner always hears its own insertion";
    EXPECT_EQ(heard(listening, added, opInsert), 1);
    EXPECT_EQ(heard(deaf, added, opInsert), 0);

    TObject::Free(added);
    EXPECT_EQ(heard(owner, added, opRemove), 1);
    EXPECT_EQ(heard(listening, added, opRemove), 1);
    EXPECT_EQ(heard(deaf, added, opRemove), 1);

    // A listener that stops asking, or moves to another owner, no longer hears this owner's
    // insertions; one that joins asking hears them.
    listening->HearInsertions(false);
    auto* second = new TProbe(owner);
    EXPECT_EQ(heard(listening, second, opInsert), 0);
    listening->HearInsertions(true);
    auto* other = new TProbe(nullptr);
    auto freeOther = FreeAtEnd(other);
    other->InsertComponent(listening);
    auto* third = new TProbe(owner);
    EXPECT_EQ(heard(listening, third, opInsert), 0);
    owner->InsertComponent(listening);
    auto* fourth = new TProbe(owner);
    EXPECT_EQ(heard(listening, fourth, opInsert), 1);
}
