// Components, lists, string lists, streams and threads of the class library.
#pragma once

#include "System.h"

#include <set>
#include <vector>

enum TComponentStateItem { csLoading, csReading, csWriting, csDestroying, csDesigning, csAncestor, csUpdating, csFixups };
using TComponentState = std::set<TComponentStateItem>;

enum TOperation { opInsert, opRemove };

// A component: owned by another component (which frees it), named, told about the removal of
// components it asked to be notified of, and loaded in a bracket that ends with Loaded.
class TComponent : public TPersistent {
public:
    explicit TComponent(TComponent* AOwner);
    ~TComponent() override;

    void BeforeDestruction() override { Destroying(); }

    TComponent* Owner() const { return FOwner; }
    const String& Name() const { return FName; }
    virtual void SetName(const String& NewName);
    int ComponentCount() const { return int(FComponents.size()); }
    TComponent* Components(int Index) const;
    int ComponentIndex() const;
    // First owned component with the given name (case-insensitive), or nullptr.
    TComponent* FindComponent(const String& AName) const;

    const TComponentState& ComponentState() const { return FComponentState; }
    bool HasState(TComponentStateItem s) const { return FComponentState.count(s) != 0; }

    void InsertComponent(TComponent* AComponent);
    void RemoveComponent(TComponent* AComponent);
    void DestroyComponents();
    // Marks the component as being destroyed (idempotent); owned components follow.
    void Destroying();

    // Asks to be told (opRemove) when AComponent is freed; the link is mutual.
    void FreeNotification(TComponent* AComponent);
    void RemoveFreeNotification(TComponent* AComponent);

    // Loading bracket for forms built in code: BeginLoading sets csLoading and csReading on this
    // component (components created into it while loading get them too); EndLoading clears them
    // and calls Loaded on every owned component in creation order, then on this one.
    void BeginLoading();
    void EndLoading();

    int Tag = 0;

protected:
    virtual void Notification(TComponent* AComponent, TOperation Operation);
    virtual void Loaded();
    void SetComponentState(TComponentStateItem s, bool on);

private:
    void Insert(TComponent* AComponent);
    void Remove(TComponent* AComponent);
    void RemoveNotification(TComponent* AComponent);

    TComponent* FOwner = nullptr;
    String FName;
    std::vector<TComponent*> FComponents;
    std::vector<TComponent*> FFreeNotifies;
    TComponentState FComponentState;
};
