// Actions of the class library: commands with a caption, enabled and checked state and an image,
// executed by the controls linked to them; action lists group them and hold their images.
#pragma once

#include "Classes.h"

#include <vector>

class TBasicAction;
class TCustomActionList;
class TCustomImageList;
class TControl;

// The link between an action and one client. The action tells its links of every change; a
// link passes what its client shows on to it.
class TBasicActionLink : public TObject {
public:
    explicit TBasicActionLink(TObject* AClient) : FClient(AClient) {}
    ~TBasicActionLink() override;

    TBasicAction* Action() const { return FAction; }
    void SetAction(TBasicAction* Value);
    TObject* Client() const { return FClient; }
    // Runs the action for Target; answers whether it ran.
    virtual bool Execute(TComponent* Target = nullptr);
    virtual bool Update();
    // Called by the action after any change.
    virtual void Change();

    TNotifyEvent OnChange;

protected:
    friend class TBasicAction;
    TBasicAction* FAction = nullptr;
    TObject* FClient;
};

// A link that carries the action's properties to its client one by one.
class TActionLink : public TBasicActionLink {
public:
    using TBasicActionLink::TBasicActionLink;

    virtual bool IsCaptionLinked() const;
    virtual bool IsCheckedLinked() const;
    virtual bool IsEnabledLinked() const;
    virtual bool IsGroupIndexLinked() const;
    virtual bool IsHintLinked() const;
    virtual bool IsImageIndexLinked() const;
    virtual bool IsVisibleLinked() const;
    virtual bool IsOnExecuteLinked() const;

    virtual void SetCaption(const String&) {}
    virtual void SetChecked(bool) {}
    virtual void SetEnabled(bool) {}
    virtual void SetGroupIndex(int) {}
    virtual void SetHint(const String&) {}
    virtual void SetImageIndex(int) {}
    virtual void SetVisible(bool) {}
};

// The link of a control: caption, enabled, hint and visible go to the control.
class TControlActionLink : public TActionLink {
public:
    explicit TControlActionLink(TControl* AClient);

    TControl* ControlClient() const { return FControl; }
    void SetCaption(const String& Value) override;
    void SetEnabled(bool Value) override;
    void SetHint(const String& Value) override;
    void SetVisible(bool Value) override;

protected:
    TControl* FControl;
};

// An action: OnExecute runs when a client executes it.
class TBasicAction : public TComponent {
public:
    explicit TBasicAction(TComponent* AOwner);
    ~TBasicAction() override;

    // Runs OnExecute; answers whether anything handled the action.
    virtual bool Execute();
    virtual bool Update();
    TComponent* ActionComponent() const { return FActionComponent; }
    void SetActionComponent(TComponent* Value) { FActionComponent = Value; }

    void RegisterChanges(TBasicActionLink* Link);
    void UnRegisterChanges(TBasicActionLink* Link);
    int ClientCount() const { return int(FClients.size()); }

    TNotifyEvent OnExecute;
    TNotifyEvent OnUpdate;

protected:
    friend class TCustomActionList;
    // Tells every link of a change.
    virtual void Change();
    std::vector<TBasicActionLink*> FClients;

private:
    TComponent* FActionComponent = nullptr;
};

// An action that belongs to an action list.
class TContainedAction : public TBasicAction {
public:
    explicit TContainedAction(TComponent* AOwner) : TBasicAction(AOwner) {}
    ~TContainedAction() override;

    TCustomActionList* ActionList() const { return FActionList; }
    void SetActionList(TCustomActionList* Value);
    int Index() const;
    const String& Category() const { return FCategory; }
    void SetCategory(const String& Value) { FCategory = Value; }

    bool Execute() override;

private:
    friend class TCustomActionList;
    TCustomActionList* FActionList = nullptr;
    String FCategory;
};

// An action with the properties controls show.
class TCustomAction : public TContainedAction {
public:
    explicit TCustomAction(TComponent* AOwner) : TContainedAction(AOwner) {}

    const String& Caption() const { return FCaption; }
    void SetCaption(const String& Value);
    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool Value);
    bool Checked() const { return FChecked; }
    void SetChecked(bool Value);
    bool AutoCheck() const { return FAutoCheck; }
    void SetAutoCheck(bool Value) { FAutoCheck = Value; }
    int GroupIndex() const { return FGroupIndex; }
    void SetGroupIndex(int Value);
    const String& Hint() const { return FHint; }
    void SetHint(const String& Value);
    int ImageIndex() const { return FImageIndex; }
    void SetImageIndex(int Value);
    bool Visible() const { return FVisible; }
    void SetVisible(bool Value);

    // Runs only while enabled; AutoCheck toggles Checked first.
    bool Execute() override;

private:
    String FCaption;
    bool FEnabled = true;
    bool FChecked = false;
    bool FAutoCheck = false;
    int FGroupIndex = 0;
    String FHint;
    int FImageIndex = -1;
    bool FVisible = true;
};

class TAction : public TCustomAction {
public:
    explicit TAction(TComponent* AOwner) : TCustomAction(AOwner) {}
};

using TActionEvent = TEvent<TBasicAction*, bool&>;

// A list of actions with the image list their ImageIndex refers to.
class TCustomActionList : public TComponent {
public:
    explicit TCustomActionList(TComponent* AOwner) : TComponent(AOwner) {}
    ~TCustomActionList() override;

    TCustomImageList* Images() const { return FImages; }
    void SetImages(TCustomImageList* Value);
    int ActionCount() const { return int(FActions.size()); }
    TContainedAction* Actions(int Index) const;
    void AddAction(TContainedAction* Action);
    void RemoveAction(TContainedAction* Action);
    int IndexOfAction(const TContainedAction* Action) const;

    // Runs before an action's own OnExecute; setting Handled stops it.
    TActionEvent OnExecute;
    TActionEvent OnUpdate;
    TNotifyEvent OnChange;

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    TCustomImageList* FImages = nullptr;
    std::vector<TContainedAction*> FActions;
};

class TActionList : public TCustomActionList {
public:
    explicit TActionList(TComponent* AOwner) : TCustomActionList(AOwner) {}
};
