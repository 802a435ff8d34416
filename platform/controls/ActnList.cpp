#include "ActnList.h"

#include "Controls.h"
#include "ImgList.h"

#include <algorithm>

// =============================================================================================
// Links

TBasicActionLink::~TBasicActionLink() {
    if (FAction) FAction->UnRegisterChanges(this);
}

void TBasicActionLink::SetAction(TBasicAction* Value) {
    if (FAction == Value) return;
    if (FAction) FAction->UnRegisterChanges(this);
    FAction = Value;
    if (Value) Value->RegisterChanges(this);
}

bool TBasicActionLink::Execute(TComponent* Target) {
    if (!FAction) return false;
    FAction->SetActionComponent(Target);
    bool result = false;
    try {
        result = FAction->Execute();
    } catch (...) {
        if (FAction) FAction->SetActionComponent(nullptr);
        throw;
    }
    if (FAction) FAction->SetActionComponent(nullptr);
    return result;
}

bool TBasicActionLink::Update() {
    return FAction && FAction->Update();
}

void TBasicActionLink::Change() {
    if (Assigned(OnChange)) OnChange(FAction);
}

bool TActionLink::IsCaptionLinked() const {
    return dynamic_cast<TCustomAction*>(FAction) != nullptr;
}
bool TActionLink::IsCheckedLinked() const {
    return dynamic_cast<TCustomAction*>(FAction) != nullptr;
}
bool TActionLink::IsEnabledLinked() const {
    return dynamic_cast<TCustomAction*>(FAction) != nullptr;
}
bool TActionLink::IsGroupIndexLinked() const {
    return dynamic_cast<TCustomAction*>(FAction) != nullptr;
}
bool TActionLink::IsHintLinked() const {
    return dynamic_cast<TCustomAction*>(FAction) != nullptr;
}
bool TActionLink::IsImageIndexLinked() const {
    return dynamic_cast<TCustomAction*>(FAction) != nullptr;
}
bool TActionLink::IsVisibleLinked() const {
    return dynamic_cast<TCustomAction*>(FAction) != nullptr;
}
bool TActionLink::IsOnExecuteLinked() const {
    return FAction != nullptr;
}

TControlActionLink::TControlActionLink(TControl* AClient) : TActionLink(AClient), FControl(AClient) {}

// A property follows the action while the control still shows the action's old value.
void TControlActionLink::SetCaption(const String& Value) {
    auto* a = dynamic_cast<TCustomAction*>(FAction);
    if (IsCaptionLinked() && a && FControl->Caption() == a->Caption()) FControl->SetCaption(Value);
}

void TControlActionLink::SetEnabled(bool Value) {
    auto* a = dynamic_cast<TCustomAction*>(FAction);
    if (IsEnabledLinked() && a && FControl->Enabled() == a->Enabled()) FControl->SetEnabled(Value);
}

void TControlActionLink::SetHint(const String& Value) {
    auto* a = dynamic_cast<TCustomAction*>(FAction);
    if (IsHintLinked() && a && FControl->Hint() == a->Hint()) FControl->SetHint(Value);
}

void TControlActionLink::SetVisible(bool Value) {
    auto* a = dynamic_cast<TCustomAction*>(FAction);
    if (IsVisibleLinked() && a && FControl->Visible() == a->Visible()) FControl->SetVisible(Value);
}

// =============================================================================================
// Actions

TBasicAction::TBasicAction(TComponent* AOwner) : TComponent(AOwner) {}

TBasicAction::~TBasicAction() {
    // The links outlive the action: they only forget it.
    for (TBasicActionLink* link : FClients) link->FAction = nullptr;
    FClients.clear();
}

bool TBasicAction::Execute() {
    if (Assigned(OnExecute)) {
        OnExecute(this);
        return true;
    }
    return false;
}

bool TBasicAction::Update() {
    if (Assigned(OnUpdate)) {
        OnUpdate(this);
        return true;
    }
    return false;
}

void TBasicAction::RegisterChanges(TBasicActionLink* Link) {
    if (Link && std::find(FClients.begin(), FClients.end(), Link) == FClients.end()) FClients.push_back(Link);
}

void TBasicAction::UnRegisterChanges(TBasicActionLink* Link) {
    auto it = std::find(FClients.begin(), FClients.end(), Link);
    if (it != FClients.end()) FClients.erase(it);
}

void TBasicAction::Change() {
    for (TBasicActionLink* link : std::vector<TBasicActionLink*>(FClients))
        if (std::find(FClients.begin(), FClients.end(), link) != FClients.end()) link->Change();
}

TContainedAction::~TContainedAction() {
    if (FActionList) FActionList->RemoveAction(this);
}

void TContainedAction::SetActionList(TCustomActionList* Value) {
    if (FActionList == Value) return;
    if (FActionList) FActionList->RemoveAction(this);
    if (Value) Value->AddAction(this);
}

int TContainedAction::Index() const {
    return FActionList ? FActionList->IndexOfAction(this) : -1;
}

bool TContainedAction::Execute() {
    if (FActionList && Assigned(FActionList->OnExecute)) {
        bool handled = false;
        FActionList->OnExecute(this, handled);
        if (handled) return true;
    }
    return TBasicAction::Execute();
}

template <class F> static void ForLinks(const std::vector<TBasicActionLink*>& Clients, F f) {
    for (TBasicActionLink* l : std::vector<TBasicActionLink*>(Clients))
        if (auto* al = dynamic_cast<TActionLink*>(l)) f(al);
}

void TCustomAction::SetCaption(const String& Value) {
    if (FCaption == Value) return;
    ForLinks(FClients, [&](TActionLink* l) { l->SetCaption(Value); });
    FCaption = Value;
    Change();
}

void TCustomAction::SetEnabled(bool Value) {
    if (FEnabled == Value) return;
    ForLinks(FClients, [&](TActionLink* l) { l->SetEnabled(Value); });
    FEnabled = Value;
    Change();
}

void TCustomAction::SetChecked(bool Value) {
    if (FChecked == Value) return;
    ForLinks(FClients, [&](TActionLink* l) { l->SetChecked(Value); });
    FChecked = Value;
    // Checking one action of a group clears the others of the same list.
    if (Value && FGroupIndex > 0 && ActionList()) {
        for (int i = 0; i < ActionList()->ActionCount(); ++i) {
            auto* other = dynamic_cast<TCustomAction*>(ActionList()->Actions(i));
            if (other && other != this && other->FGroupIndex == FGroupIndex) other->SetChecked(false);
        }
    }
    Change();
}

void TCustomAction::SetGroupIndex(int Value) {
    if (FGroupIndex == Value) return;
    ForLinks(FClients, [&](TActionLink* l) { l->SetGroupIndex(Value); });
    FGroupIndex = Value;
    Change();
}

void TCustomAction::SetHint(const String& Value) {
    if (FHint == Value) return;
    ForLinks(FClients, [&](TActionLink* l) { l->SetHint(Value); });
    FHint = Value;
    Change();
}

void TCustomAction::SetImageIndex(int Value) {
    if (FImageIndex == Value) return;
    ForLinks(FClients, [&](TActionLink* l) { l->SetImageIndex(Value); });
    FImageIndex = Value;
    Change();
}

void TCustomAction::SetVisible(bool Value) {
    if (FVisible == Value) return;
    ForLinks(FClients, [&](TActionLink* l) { l->SetVisible(Value); });
    FVisible = Value;
    Change();
}

bool TCustomAction::Execute() {
    Update();
    if (!FEnabled) return false;
    if (FAutoCheck) SetChecked(!FChecked);
    return TContainedAction::Execute();
}

// =============================================================================================
// Action lists

TCustomActionList::~TCustomActionList() {
    for (TContainedAction* a : FActions) a->FActionList = nullptr;
    FActions.clear();
}

void TCustomActionList::SetImages(TCustomImageList* Value) {
    if (FImages == Value) return;
    if (FImages) FImages->RemoveFreeNotification(this);
    FImages = Value;
    if (Value) Value->FreeNotification(this);
    for (TContainedAction* a : std::vector<TContainedAction*>(FActions)) a->Change();
    if (Assigned(OnChange)) OnChange(this);
}

TContainedAction* TCustomActionList::Actions(int Index) const {
    if (Index < 0 || Index >= ActionCount())
        throw EListError(QStringLiteral("List index out of bounds (%1)").arg(Index));
    return FActions[size_t(Index)];
}

void TCustomActionList::AddAction(TContainedAction* Action) {
    if (!Action || Action->FActionList == this) return;
    if (Action->FActionList) Action->FActionList->RemoveAction(Action);
    FActions.push_back(Action);
    Action->FActionList = this;
}

void TCustomActionList::RemoveAction(TContainedAction* Action) {
    auto it = std::find(FActions.begin(), FActions.end(), Action);
    if (it == FActions.end()) return;
    FActions.erase(it);
    Action->FActionList = nullptr;
}

int TCustomActionList::IndexOfAction(const TContainedAction* Action) const {
    auto it = std::find(FActions.begin(), FActions.end(), Action);
    return it == FActions.end() ? -1 : int(it - FActions.begin());
}

void TCustomActionList::Notification(TComponent* AComponent, TOperation Operation) {
    TComponent::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == FImages) FImages = nullptr;
}
