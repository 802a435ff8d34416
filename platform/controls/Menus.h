// Menus of the class library: popup menus with items that have a caption and a click event.
#pragma once

#include "Classes.h"
#include "Messages.h"
#include "StandIn.h"
#include "Types.h"

#include <functional>
#include <vector>

class TMenuItem;
class TPopupMenu;

using TShortCut = Word;

// A menu item: caption ("-" is a separator line), click event, enabled/visible/checked state,
// and sub-items. Radio items, images, shortcuts and hints are kept but not shown (stand-ins): a
// radio item shows a check mark, its group is not exclusive, a shortcut neither shows nor fires.
class TMenuItem : public TComponent {
public:
    explicit TMenuItem(TComponent* AOwner);
    ~TMenuItem() override;

    const String& Caption() const { return FCaption; }
    void SetCaption(const String& Value) { FCaption = Value; }
    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool Value) { FEnabled = Value; }
    bool Visible() const { return FVisible; }
    void SetVisible(bool Value) { FVisible = Value; }
    bool Checked() const { return FChecked; }
    void SetChecked(bool Value) { FChecked = Value; }
    bool RadioItem() const { return FRadioItem; }
    void SetRadioItem(bool Value) {
        if (Value) PlatformStandIn("TMenuItem::SetRadioItem");
        FRadioItem = Value;
    }
    int GroupIndex() const { return FGroupIndex; }
    void SetGroupIndex(int Value) { FGroupIndex = Value; }
    bool AutoCheck() const { return FAutoCheck; }
    void SetAutoCheck(bool Value) { FAutoCheck = Value; }
    int ImageIndex() const { return FImageIndex; }
    void SetImageIndex(int Value) {
        if (Value >= 0) PlatformStandIn("TMenuItem::SetImageIndex");
        FImageIndex = Value;
    }
    TShortCut ShortCut() const { return FShortCut; }
    void SetShortCut(TShortCut Value) {
        if (Value) PlatformStandIn("TMenuItem::SetShortCut");
        FShortCut = Value;
    }
    const String& Hint() const { return FHint; }
    void SetHint(const String& Value) {
        if (!Value.isEmpty()) PlatformStandIn("TMenuItem::SetHint");
        FHint = Value;
    }
    bool IsLine() const { return FCaption == QStringLiteral("-"); }

    // Sub-items (the item owns them).
    int Count() const { return int(FItems.size()); }
    TMenuItem* Items(int Index) const;
    void Add(TMenuItem* Item);
    void Insert(int Index, TMenuItem* Item);
    void Delete(int Index);
    void Remove(TMenuItem* Item);
    void Clear();
    int IndexOf(const TMenuItem* Item) const;
    TMenuItem* Parent() const { return FParent; }
    int MenuIndex() const { return FParent ? FParent->IndexOf(this) : -1; }

    // Runs the item's click: toggles Checked with AutoCheck, then OnClick.
    virtual void Click();
    TNotifyEvent OnClick;

private:
    String FCaption;
    bool FEnabled = true;
    bool FVisible = true;
    bool FChecked = false;
    bool FRadioItem = false;
    bool FAutoCheck = false;
    int FGroupIndex = 0;
    int FImageIndex = -1;
    TShortCut FShortCut = 0;
    String FHint;
    std::vector<TMenuItem*> FItems;
    TMenuItem* FParent = nullptr;
};

enum TPopupAlignment { paLeft, paRight, paCenter };

// A popup menu. Popup shows it at a screen position and returns when it has closed; the chosen
// item's click runs before Popup returns.
class TPopupMenu : public TComponent {
public:
    explicit TPopupMenu(TComponent* AOwner);
    ~TPopupMenu() override;

    TMenuItem* Items() const { return FItems; }
    bool AutoPopup() const { return FAutoPopup; }
    void SetAutoPopup(bool Value) { FAutoPopup = Value; }
    TPopupAlignment Alignment() const { return FAlignment; }
    // The menu's left edge is at the point given to Popup; other alignments are stand-ins.
    void SetAlignment(TPopupAlignment Value) {
        if (Value != paLeft) PlatformStandIn("TPopupMenu::SetAlignment");
        FAlignment = Value;
    }
    // The component the menu was last popped up for (set by controls before Popup).
    TComponent* PopupComponent() const { return FPopupComponent; }
    void SetPopupComponent(TComponent* Value) { FPopupComponent = Value; }

    // Shows the menu with its top-left corner at the screen point (X, Y).
    virtual void Popup(int X, int Y);
    // Where the menu was last popped up, and how many times.
    TPoint PopupPoint() const { return FPopupPoint; }
    int PopupCount() const { return FPopupCount; }

    TNotifyEvent OnPopup;
    TNotifyEvent OnClose;

    // When set, Popup calls it instead of showing the menu (tests and tools); the hook may run
    // an item's Click to choose it.
    static std::function<void(TPopupMenu* Menu, int X, int Y)> PopupHook;

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    TMenuItem* FItems;
    bool FAutoPopup = true;
    TPopupAlignment FAlignment = paLeft;
    TComponent* FPopupComponent = nullptr;
    TPoint FPopupPoint;
    int FPopupCount = 0;
};

// ---------------------------------------------------------------------------------------------
// Raw popup menus of strings (the platform's menu handles): items with ids, tracked at a screen
// point; the chosen id is posted to the owner window as WM_COMMAND (id in the low word of
// WParam, notification 0), or answered with TPM_RETURNCMD.

struct TRawMenu;
using HMENU = TRawMenu*;
constexpr UINT MF_STRING = 0x0000;
constexpr UINT TPM_LEFTALIGN = 0x0000;
constexpr UINT TPM_LEFTBUTTON = 0x0000;
constexpr UINT TPM_RIGHTBUTTON = 0x0002;
constexpr UINT TPM_RETURNCMD = 0x0100;

HMENU CreatePopupMenu();
bool AppendMenu(HMENU Menu, UINT Flags, UINT_PTR IDNewItem, const String& NewItem);
int GetMenuItemCount(HMENU Menu);
// The id and text of item Pos (0-based); false when there is none.
bool GetMenuItem(HMENU Menu, int Pos, UINT_PTR& ID, String& Text);
// Shows the menu with its top-left corner at (X, Y) until a choice or a dismissal. Answers the
// chosen id with TPM_RETURNCMD (0: none), else whether it was shown.
LRESULT TrackPopupMenu(HMENU Menu, UINT Flags, int X, int Y, int Reserved, HWND Owner,
                       const TRect* Rect = nullptr);
bool DestroyMenu(HMENU Menu);
// When set, TrackPopupMenu asks it for the choice (0: dismissed) instead of showing the menu.
using TTrackPopupMenuHook = std::function<UINT_PTR(HMENU Menu, int X, int Y)>;
void SetTrackPopupMenuHook(TTrackPopupMenuHook Hook);
