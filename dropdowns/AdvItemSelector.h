// The item selector: the scrolling list of items that the detail, colour and image pickers show
// in their popups. Each item is a cell of a grid of one or more columns; a cell holds a caption
// (which may carry cell-text markup) beside, above or below an image or a colour box. The
// selector tracks a hot item under the pointer and a selected item and paints both with the
// gradient colours of a TItemAppearance; the drop-downs drive it from their keys.
//
// TAdvCustomItemSelector is the scrolling container that owns the items, the settings and the
// appearance; a single inner panel TCustomItemSelector lays the items out, sizes itself to them
// and paints them. The container's auto-scrolling shows a vertical bar when the panel is taller
// than its client area.
#pragma once

#include "AdvDropDownDraw.h"
#include "Forms.h"

#include <functional>

class TCustomImageList;
class TAdvCustomItemSelector;
class TTimer;

enum TSelectorType { stImage, stColor };
enum TItemLayout { ilCaptionLeft, ilCaptionRight, ilCaptionTop, ilCaptionBottom };

// Sender, Canvas, the item's rectangle, the item's index: paints the item's content itself.
using TDrawItemEvent = TEvent<TObject*, TCanvas*, TRect, int>;
// Sender, Canvas, the rectangle: a picker draws its selected item (or a row) this way instead of
// itself.
using TOnDrawSelectedItem = TEvent<TObject*, TCanvas*, TRect>;
// Sender, the size of every cell (may be changed).
using TItemSizeEvent = TEvent<TObject*, TSize&>;

// The pickers' type-ahead: the upper-cased character that the key press Key of Control types
// (read from the key event being handled, else from the key itself: letters, digits, keypad
// digits and the space bar); empty for keys that type nothing (Shift, Tab, function keys).
String TypeAheadKeyText(TWinControl* Control, Word Key);

// Sets a flag for the lifetime of the guard (the pickers mark their own selections with it).
class TFlagGuard {
public:
    explicit TFlagGuard(bool& Flag) : FFlag(Flag), FWas(Flag) { FFlag = true; }
    ~TFlagGuard() { FFlag = FWas; }
    TFlagGuard(const TFlagGuard&) = delete;
    TFlagGuard& operator=(const TFlagGuard&) = delete;

private:
    bool& FFlag;
    bool FWas;
};

// The list keys that the colour picker (in its list style) and the image picker share, for the
// key Key that reached the picker Control: Page Up/Down step the list by its visible items, Home
// and End go to its ends, Left and Right (the editor disabled, the popup open) and Up and Down
// (open: by Columns) move its selection without closing the popup; with the popup closed the
// picker's own steps run instead. Any other key (Ctrl up) adds the character it types to Search
// and looks the text up in the list; KeyTimer, started by the first key of a burst, ends it.
struct TPickerListKeys {
    TAdvCustomItemSelector* Selector = nullptr;
    int Columns = 1;
    // The picker's items; the list is refilled (Refill) when it holds another number of items.
    int Count = 0;
    std::function<void()> Refill;
    // Set around the selections made here: the picker keeps the popup open for them.
    bool* InternalCall = nullptr;
    TTimer* KeyTimer = nullptr;
    String* Search = nullptr;
    // The picker's own steps (the popup closed).
    std::function<void()> SelectFirst, SelectLast, SelectNext, SelectPrevious;

    // The keys of a picker with a list selector (the colour and image pickers: each declares
    // this struct its friend), Count its number of items.
    template <class TPicker> static TPickerListKeys Of(TPicker* Picker, int Count) {
        TPickerListKeys keys;
        keys.Selector = Picker->FItemSelector;
        keys.Columns = Picker->FColumns;
        keys.Count = Count;
        keys.Refill = [Picker] { Picker->UpdateItemSelector(); };
        keys.InternalCall = &Picker->FInternalCall;
        keys.KeyTimer = Picker->FKeyTimer;
        keys.Search = &Picker->FCurSearch;
        keys.SelectFirst = [Picker] { Picker->SelectFirst(); };
        keys.SelectLast = [Picker] { Picker->SelectLast(); };
        keys.SelectNext = [Picker] { Picker->SelectNext(); };
        keys.SelectPrevious = [Picker] { Picker->SelectPrevious(); };
        return keys;
    }

    void HandleKey(TWinControl* Control, Word Key, bool DroppedDown, bool EditorEnabled) const;
    // Selects Index in the list (inside its items only) and scrolls it into view.
    void Step(int Index) const;
};

// ---------------------------------------------------------------------------------------------
// Items

class TSelectorItem : public TCollectionItem {
public:
    explicit TSelectorItem(TCollection* Collection);
    ~TSelectorItem() override;

    const String& Caption() const { return FCaption; }
    void SetCaption(const String& Value);
    TColor Color() const { return FColor; }
    void SetColor(TColor Value);
    int ImageIndex() const { return FImageIndex; }
    void SetImageIndex(int Value);
    TPicture* Image() const { return FImage; }
    void SetImage(TPicture* Value) { FImage->Assign(Value); }
    const String& Hint() const { return FHint; }
    void SetHint(const String& Value) { FHint = Value; }
    // Not published (a run-time state): a disabled item can be neither selected nor made hot.
    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool Value) { FEnabled = Value; }
    // The cell in panel coordinates, as the last layout placed it.
    const TRect& ItemRect() const { return FRect; }

    // From another selector item; any other source raises the platform's assignment error.
    void Assign(TPersistent* Source) override;

private:
    friend class TCustomItemSelector;
    String FCaption;
    int FImageIndex = -1;
    bool FEnabled = true;
    TColor FColor = clNone;
    TPicture* FImage;
    TRect FRect;
    String FHint;
};

// The items of a selector. OnChange fires from the item setters only: adding or deleting items
// fires nothing (the owner lays them out when told).
class TSelectorItems : public TCollection {
public:
    explicit TSelectorItems(TAdvCustomItemSelector* AOwner);

    TSelectorItem* Add() { return static_cast<TSelectorItem*>(TCollection::Add()); }
    TSelectorItem* Insert(int Index) { return static_cast<TSelectorItem*>(TCollection::Insert(Index)); }
    TSelectorItem* Items(int Index) const { return static_cast<TSelectorItem*>(TCollection::Items(Index)); }
    void SetItem(int Index, TSelectorItem* Value) { TCollection::SetItems(Index, Value); }
    TPersistent* GetOwner() override;

    TNotifyEvent OnChange;

protected:
    void Update(TCollectionItem* Item) override;

private:
    TAdvCustomItemSelector* FMyOwner;
};

// ---------------------------------------------------------------------------------------------
// Appearance

// Hot and selected item colours, shared by the detail, colour and image pickers. OnChange is
// kept for its users; nothing fires it.
class TItemAppearance : public TPersistent {
public:
    explicit TItemAppearance(TPersistent* AOwner);
    ~TItemAppearance() override;

    // From another item appearance (the colours, the font, the colour style, then the selected
    // text and the hot and selected borders; not the hot text colour); any other source raises
    // the platform's assignment error.
    void Assign(TPersistent* Source) override;
    // Stores a new style and, for the three named ones, overwrites twelve colours from its table.
    void SetColorStyle(TSelectionColorStyle Value);
    TSelectionColorStyle ColorStyle() const { return FColorStyle; }

#define VELMORA_ITEM_COLOR(Name)                                                                             \
    TColor Name() const {                                                                                    \
        return F##Name;                                                                                      \
    }                                                                                                        \
    void Set##Name(TColor Value) {                                                                           \
        F##Name = Value;                                                                                     \
    }
    VELMORA_ITEM_COLOR(BorderColor)
    VELMORA_ITEM_COLOR(BorderColorTop)
    VELMORA_ITEM_COLOR(BorderColorBottom)
    VELMORA_ITEM_COLOR(BorderColorHot)
    VELMORA_ITEM_COLOR(BorderColorSelected)
    VELMORA_ITEM_COLOR(ColorHot)
    VELMORA_ITEM_COLOR(ColorHotTo)
    VELMORA_ITEM_COLOR(ColorHotText)
    VELMORA_ITEM_COLOR(ColorMirrorHot)
    VELMORA_ITEM_COLOR(ColorMirrorHotTo)
    VELMORA_ITEM_COLOR(ColorSelected)
    VELMORA_ITEM_COLOR(ColorSelectedTo)
    VELMORA_ITEM_COLOR(ColorMirrorSelected)
    VELMORA_ITEM_COLOR(ColorMirrorSelectedTo)
    VELMORA_ITEM_COLOR(ColorSelectedText)
    VELMORA_ITEM_COLOR(EdgeColor)
#undef VELMORA_ITEM_COLOR
    TFont* Font() const {
        return FFont;
    }
    void SetFont(TFont* Value) {
        FFont->Assign(Value);
    }

    TNotifyEvent OnChange;

protected:
    TPersistent* GetOwner() override {
        return FOwner;
    }

private:
    TPersistent* FOwner;
    TColor FColorMirrorHotTo = clNone, FBorderColor = clNone, FColorMirrorHot = clNone;
    TColor FColorSelectedTo = clNone, FColorSelected = clNone, FEdgeColor = clNone;
    TColor FColorHotTo = clNone, FBorderColorBottom = clNone, FColorHot = clNone;
    TColor FBorderColorTop = clNone, FColorMirrorSelectedTo = clNone, FColorMirrorSelected = clNone;
    TColor FColorSelectedText = clBlack, FColorHotText = clBlack;
    TSelectionColorStyle FColorStyle = scCustom;
    TFont* FFont;
    TColor FBorderColorHot = clNone, FBorderColorSelected = clNone;
};

// ---------------------------------------------------------------------------------------------
// The panel

class TCustomItemSelector : public TCustomControl {
public:
    // Raises "Invalid parent" unless AOwner is a TAdvCustomItemSelector.
    explicit TCustomItemSelector(TComponent* AOwner);

    int ItemIndex() const { return FItemIndex; }
    // A disabled item is refused; selecting the selected item again fires OnItemSelect again.
    void SetItemIndex(int Value);
    int ItemHot() const { return FItemHot; }
    void SetItemHot(int Index);
    TAdvCustomItemSelector* AdvItemSelector() const { return FAdvItemSelector; }

    // Read through the owner.
    int Columns() const;
    TSelectorItems* Items() const;
    TSelectorType SelectorType() const;
    TItemLayout ItemLayout() const;
    TCustomImageList* Images() const;
    int ColorBoxWidth() const;
    int ColorBoxHeight() const;
    TSelectionColorStyle ItemColorStyle() const;
    TColor ItemColorHot() const;
    TColor ItemColorHotTo() const;
    TColor ItemColorSelected() const;
    TColor ItemColorSelectedTo() const;

    // Stepping (nothing without items; a disabled target stops the step; no wrapping).
    void SelectFirst();
    void SelectLast();
    void SelectNext();
    void SelectPrevious();
    void HotNext();
    void HotPrevious();
    // Selects the first item whose caption, without markup, trimmed and upper-cased, starts with
    // S (which callers pass upper-cased); false when none does or S is empty.
    bool LookupItem(const String& S);
    // The item whose cell holds the point (panel coordinates), -1 when none.
    int ItemAtPos(int X, int Y) const;
    // The item's cell, (-1, -1, -1, -1) for an index out of range.
    void GetItemRect(int Index, TRect& R) const;
    void DrawItems(TCanvas* ACanvas);

    virtual void DrawItem(int Index, TCanvas* ACanvas);
    virtual void GetContentRect(TRect& R);
    virtual void GetItemSize(TSize& Size);
    virtual void InvalidateItem(int Index);
    virtual void UpdateLayout();

    TNotifyEvent OnItemSelect;

    void Dispatch(TMessage& Message) override;

protected:
    void Paint() override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;

private:
    bool ItemEnabled(int Index) const;
    void DrawContent(TCanvas* ACanvas, TSelectorItem* Item, int X, int Y, int W, int H);
    HWND MarkupWindow();

    int FItemIndex = -1;
    int FItemHot = -1;
    int FOffSetX = 2, FOffSetY = 2;
    int FItemOffSetX = 4, FItemOffSetY = 4;
    int FCaptionGap = 4;
    TAdvCustomItemSelector* FAdvItemSelector = nullptr;
};

// ---------------------------------------------------------------------------------------------
// The scrolling container

class TAdvCustomItemSelector : public TScrollingWinControl {
public:
    explicit TAdvCustomItemSelector(TComponent* AOwner);
    ~TAdvCustomItemSelector() override;

    // Lays the panel out anew (after filling Items, for instance).
    void UpdateSelectorPanel();

    TSelectorItems* Items() const { return FItems; }
    void SetItems(TSelectorItems* Value) { FItems->Assign(Value); }
    TSelectorType SelectorType() const { return FSelectorType; }
    void SetSelectorType(TSelectorType Value);
    // Stored only: the new layout shows after the next UpdateSelectorPanel.
    TItemLayout ItemLayout() const { return FItemLayout; }
    void SetItemLayout(TItemLayout Value) { FItemLayout = Value; }
    int Columns() const { return FColumns; }
    // Values below 1 are ignored.
    void SetColumns(int Value);
    int ColorBoxWidth() const { return FColorBoxWidth; }
    void SetColorBoxWidth(int Value);
    int ColorBoxHeight() const { return FColorBoxHeight; }
    void SetColorBoxHeight(int Value);
    TCustomImageList* Images() const { return FImages; }
    void SetImages(TCustomImageList* Value);
    TItemAppearance* ItemAppearance() const { return FItemAppearance; }
    void SetItemAppearance(TItemAppearance* Value) { FItemAppearance->Assign(Value); }
    // The panel's selection (-1 without panel); writing scrolls the item into view.
    int ItemIndex() const;
    void SetItemIndex(int Value);
    int ItemHot() const;
    TCustomItemSelector* SelectorPanel() const { return FItemSelectorPanel; }

    void SelectFirst();
    void SelectLast();
    void SelectNext();
    void SelectPrevious();
    void HotNext();
    void HotPrevious();
    bool LookupItem(const String& S);
    // Scrolls the vertical bar (when it shows) so that the item, with the bar's margin around
    // it, lies in the client area.
    void ScrollItemInView(int Index);
    // The items that fit the selector's height (0 without items or with cells of no height).
    int GetVisibleItemCount();
    // The panel's size (100 x 50 without panel).
    void GetSelectorSize(int& AWidth, int& AHeight) const;

    TNotifyEvent OnItemSelect;
    TDrawItemEvent OnDrawItem;
    TItemSizeEvent OnItemSize;

    void Dispatch(TMessage& Message) override;

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override;
    virtual void CreateSelectorPanel();

private:
    TSelectorItems* FItems;
    TSelectorType FSelectorType = stImage;
    TItemLayout FItemLayout = ilCaptionRight;
    int FColumns = 1;
    int FColorBoxWidth = 14, FColorBoxHeight = 14;
    TCustomImageList* FImages = nullptr;
    TCustomItemSelector* FItemSelectorPanel = nullptr;
    TItemAppearance* FItemAppearance;
};
