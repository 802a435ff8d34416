#include "Classes.h"

#include <gtest/gtest.h>

namespace {

class TProbe : public TComponent {
public:
    using TComponent::TComponent;
    std::vector<std::pair<TComponent*, TOperation>> seen;
    int loaded = 0;
    bool loadingSeenInLoaded = false;

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
    TObject::Free(owner); // frees b too (ASan reports a leak otherwise)
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
