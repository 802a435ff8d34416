// The grid drop-down: a drop-down edit whose popup is a whole grid control. With UseItems (the
// default) the popup grid is filled from an item collection of columns and items, each data row
// carrying its item's index as the object of column 0 so that items and rows find each other
// again after the grid sorted its rows; without it the application fills the grid's cells and
// the drop-down works on grid rows. Typing searches the lookup column (lmLookup), narrows the
// grid to the matching rows (lmNarrowDown) or does nothing (lmNone). Most of the grid's events
// are offered again as OnGrid... events of the drop-down.
//
// The unit's names (TAdvColGrid, the column and item classes) are those of the multi-column unit
// too, so they live in a namespace of their own; TColumnType is the multi-column unit's.
#pragma once

#include "AdvGrid.h"
#include "AdvMultiColumnDropDown.h"

namespace AdvGridDropDown {

using AdvMultiColumnDropDown::ctImage;
using AdvMultiColumnDropDown::ctText;
using AdvMultiColumnDropDown::TColumnType;

enum TLookupMethod { lmLookup, lmNarrowDown, lmNone };
enum TDropDownStyle { dsDropDown, dsDropDownList };
enum TGridSorting { gsNone, gsSingleColumn, gsMultiColumn };

class TCustomAdvGridDropDown;

// The column and item of this unit: the multi-column unit's layout and rules, a type of their own.
class TDropDownColumn : public AdvMultiColumnDropDown::TDropDownColumn {
public:
    using AdvMultiColumnDropDown::TDropDownColumn::TDropDownColumn;
};

class TDropDownColumns : public TCollection {
public:
    explicit TDropDownColumns(TPersistent* AOwner)
        : TCollection(CollectionItemClass<TDropDownColumn>()), FMyOwner(AOwner) {}

    TDropDownColumn* Add() { return static_cast<TDropDownColumn*>(TCollection::Add()); }
    TDropDownColumn* Insert(int Index) { return static_cast<TDropDownColumn*>(TCollection::Insert(Index)); }
    TDropDownColumn* Items(int Index) const {
        return static_cast<TDropDownColumn*>(TCollection::Items(Index));
    }
    void SetItem(int Index, TDropDownColumn* Value) { TCollection::SetItems(Index, Value); }

    // Nothing fires it.
    TNotifyEvent OnChange;

protected:
    TPersistent* GetOwner() override { return FMyOwner; }

private:
    TPersistent* FMyOwner;
};

class TDropDownItem : public AdvMultiColumnDropDown::TDropDownItem {
public:
    using AdvMultiColumnDropDown::TDropDownItem::TDropDownItem;
};

// The item collection; a descendant collection holds its own item class (GetItemClass).
class TDropDownItems : public TCollection {
public:
    explicit TDropDownItems(TPersistent* AOwner) : TCollection(GetItemClass()), FMyOwner(AOwner) {}

    static TCollectionItemClass GetItemClass() { return CollectionItemClass<TDropDownItem>(); }
    TDropDownItem* Add() { return static_cast<TDropDownItem*>(TCollection::Add()); }
    TDropDownItem* Insert(int Index) { return static_cast<TDropDownItem*>(TCollection::Insert(Index)); }
    TDropDownItem* Items(int Index) const { return static_cast<TDropDownItem*>(TCollection::Items(Index)); }
    void SetItem(int Index, TDropDownItem* Value) { TCollection::SetItems(Index, Value); }

    // Nothing fires it.
    TNotifyEvent OnChange;

protected:
    // For a descendant that holds its own item class.
    TDropDownItems(TPersistent* AOwner, TCollectionItemClass ItemClass)
        : TCollection(std::move(ItemClass)), FMyOwner(AOwner) {}
    TPersistent* GetOwner() override { return FMyOwner; }

private:
    TPersistent* FMyOwner;
};

// The popup grid: the grid control with the drop-down's settings loaded before each opening, the
// items copied into its cells, and keys and clicks turned into a confirmed choice (DoSelect).
class TAdvColGrid
    : public AdvMultiColumnDropDown::TColumnList<TAdvStringGrid, TDropDownColumns, TCustomAdvGridDropDown> {
public:
    explicit TAdvColGrid(TComponent* AOwner);

    // Header row with the column captions (objects -1), one row per item with its texts, the
    // item's index as the object of column 0.
    void FillFromItems();
    // Takes columns, sizes, looks and options from the drop-down (before each opening). The
    // header and line settings are kept; the grid control paints with its own look.
    void LoadFromDropDown(TCustomAdvGridDropDown* DropDown);

    void Dispatch(TMessage& Message) override;
    // Open for the drop-down.
    using TAdvStringGrid::HideInplaceEdit;

protected:
    void KeyDown(Word& Key, TShiftState Shift) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
};

// The grid events the drop-down offers again: (name after OnGrid / DoGrid, the grid's event).
// Each is forwarded with the arguments the grid gave (the grid as sender).
#define VELMORA_GRID_DROPDOWN_EVENTS(X)                                                                      \
    X(AnchorEnter, OnAnchorEnter)                                                                            \
    X(AnchorExit, OnAnchorExit)                                                                              \
    X(AnchorHint, OnAnchorHint)                                                                              \
    X(ColumnSize, OnColumnSize)                                                                              \
    X(ColumnSizing, OnColumnSizing)                                                                          \
    X(EndColumnSize, OnEndColumnSize)                                                                        \
    X(RowSize, OnRowSize)                                                                                    \
    X(RowSizing, OnRowSizing)                                                                                \
    X(EndRowSize, OnEndRowSize)                                                                              \
    X(RowMove, OnRowMove)                                                                                    \
    X(RowMoving, OnRowMoving)                                                                                \
    X(RowMoved, OnRowMoved)                                                                                  \
    X(ColumnMove, OnColumnMove)                                                                              \
    X(ColumnMoving, OnColumnMoving)                                                                          \
    X(ColumnMoved, OnColumnMoved)                                                                            \
    X(CellBalloon, OnCellBalloon)                                                                            \
    X(GetCellGradient, OnGetCellGradient)                                                                    \
    X(GetEditorType, OnGetEditorType)                                                                        \
    X(GetEditorProp, OnGetEditorPropInt)                                                                     \
    X(CanEditCell, OnCanEditCell)                                                                            \
    X(GetFormat, OnGetFormat)                                                                                \
    X(Hint, OnGridHint)                                                                                      \
    X(MouseDown, OnMouseDown)                                                                                \
    X(MouseUp, OnMouseUp)                                                                                    \
    X(RightClickCell, OnRightClickCell)                                                                      \
    X(ScrollHint, OnScrollHint)                                                                              \
    X(SearchEditChange, OnSearchEditChange)                                                                  \
    X(AutoAddRow, OnAutoAddRow)                                                                              \
    X(CanAddRow, OnCanAddRow)                                                                                \
    X(CanInsertRow, OnCanInsertRow)                                                                          \
    X(CanDeleteRow, OnCanDeleteRow)

class TCustomAdvGridDropDown : public AdvMultiColumnDropDown::TColumnDropDown {
public:
    explicit TCustomAdvGridDropDown(TComponent* AOwner);
    ~TCustomAdvGridDropDown() override;

    // The popup grid (exists from construction on).
    TAdvColGrid* GetGrid() const { return FAdvColGrid; }
    // With UseItems the number of items, else the grid's data rows.
    int GetItemCount() const;
    void BeginUpdate() {}
    void EndUpdate() { RebuildLookupItems(FItems); }

    // The first item (UseItems) or grid row (without) whose lookup text starts with Value
    // (upper-cased unless CaseSensitive); an empty value matches nothing.
    bool FindLookupMatch(const String& Value, String& MatchText, int& Index) const;
    // The item of a grid row (the object of its column 0), and the first row of an item.
    int RowToItem(int Row) const;
    int ItemToRow(int Index) const;
    // One character of the typed search: the item or row found, or -1.
    int DoLookup(Char Key);
    void FitColumnsToWidth() { FitList(FAdvColGrid, FColumns); }

    // ---- Published properties ----
    bool AutoShowDropDown() const { return FAutoShowDropDown; }
    void SetAutoShowDropDown(bool Value) { FAutoShowDropDown = Value; }
    bool AutoSizeColumns() const { return FAutoSizeColumns; }
    void SetAutoSizeColumns(bool Value) { FAutoSizeColumns = Value; }
    TBands* Bands() const { return FBands; }
    void SetBands(TBands* Value) { FBands->Assign(Value); }
    bool ColumnMoving() const { return FColumnMoving; }
    void SetColumnMoving(bool Value) { FColumnMoving = Value; }
    TDropDownColumns* Columns() const { return FColumns; }
    void SetColumns(TDropDownColumns* Value) { FColumns->Assign(Value); }
    bool GridEditable() const { return FGridEditable; }
    void SetGridEditable(bool Value) { FGridEditable = Value; }
    TCustomImageList* GridImages() const { return FGridImages; }
    void SetGridImages(TCustomImageList* Value);
    bool HoverRow() const { return FHoverRow; }
    void SetHoverRow(bool Value) { FHoverRow = Value; }
    TColor HoverRowColor() const { return FHoverRowColor; }
    void SetHoverRowColor(TColor Value) { FHoverRowColor = Value; }
    TColor HoverRowColorTo() const { return FHoverRowColorTo; }
    void SetHoverRowColorTo(TColor Value) { FHoverRowColorTo = Value; }
    TDropDownItems* Items() const { return FItems; }
    void SetItems(TDropDownItems* Value) { FItems->Assign(Value); }
    // With UseItems as in the multi-column drop-down; without, a data row (the text from the
    // row after the single header row).
    void SetItemIndex(int Value) override;
    TLookupMethod LookupMethod() const { return FLookupMethod; }
    void SetLookupMethod(TLookupMethod Value) { FLookupMethod = Value; }
    TMouseActions* MouseActions() const { return FMouseActions; }
    void SetMouseActions(TMouseActions* Value) { FMouseActions->Assign(Value); }
    TNavigation* Navigation() const { return FNavigation; }
    void SetNavigation(TNavigation* Value) { FNavigation->Assign(Value); }
    bool RowSizing() const { return FRowSizing; }
    void SetRowSizing(bool Value) { FRowSizing = Value; }
    bool RowMoving() const { return FRowMoving; }
    void SetRowMoving(bool Value) { FRowMoving = Value; }
    bool RowSelect() const { return FRowSelect; }
    void SetRowSelect(bool Value) { FRowSelect = Value; }
    TSearchFooter* SearchFooter() const { return FSearchFooter; }
    void SetSearchFooter(TSearchFooter* Value) { FSearchFooter->Assign(Value); }
    TGridSorting Sorting() const { return FSorting; }
    void SetSorting(TGridSorting Value) { FSorting = Value; }
    TDropDownStyle Style() const { return FStyle; }
    // dsDropDownList makes the edit's text read-only for typing.
    void SetStyle(TDropDownStyle Value);
    bool UseItems() const { return FUseItems; }
    void SetUseItems(bool Value) { FUseItems = Value; }

    // ---- Run-time properties ----
    int RowCount() const { return FItems->Count(); }

    // The grid's events offered again.
    TAnchorClickEvent OnGridAnchorClick;
    TButtonClickEvent OnGridButtonClick;
    TEllipsClickEvent OnGridEllipsClick;
    TCheckBoxClickEvent OnGridCheckBoxClick;
    TCanSortEvent OnGridCanSort;               // never fired
    TClickSortEvent OnGridClickSort;           // never fired
    TCustomCompareEvent OnGridCustomCompare;   // never fired
    TRawCompareEvent OnGridRawCompare;         // never fired
    TSpinClickEvent OnGridSpinClick;           // never fired
    TCustomCellDrawEvent OnGridCustomCellDraw; // wired when assigned at opening
    TCustomCellDrawEvent OnGridCustomCellBkgDraw;
    TGridAlignEvent OnGridGetAlignment;
    TGridColorEvent OnGridGetCellColor;
    TFloatFormatEvent OnGridGetFloatFormat;
    TGetDisplTextEvent OnGridGetDiplText;
    TMouseMoveEvent OnGridMouseMove;
    TKeyEvent OnGridKeyDown;           // sender: the drop-down
    TKeyEvent OnGridKeyUp;             // sender: the drop-down
    TKeyPressEvent OnGridKeyPress;     // sender: the drop-down
    TNotifyEvent OnGridTopLeftChanged; // sender: the drop-down
    TAutoInsertRowEvent OnGridInsertRow;
    TAutoInsertColEvent OnGridInsertCol;
    TAutoDeleteRowEvent OnGridDeleteRow;
#define VELMORA_DECLARE_GRID_EVENT(Name, GridEvent) decltype(TAdvStringGrid::GridEvent) OnGrid##Name;
    VELMORA_GRID_DROPDOWN_EVENTS(VELMORA_DECLARE_GRID_EVENT)
#undef VELMORA_DECLARE_GRID_EVENT

    void SetComponentStyle(TKitStyle AStyle) override;
    int GetVersionNr() const override;
    void Dispatch(TMessage& Message) override;

protected:
    virtual TDropDownItems* CreateItems(TComponent* AOwner);
    int ItemCount() const override {
        return FItems->Count();
    }
    int StepCount() const override {
        return GetItemCount();
    }
    int HeightMargin() const override {
        return 6;
    }
    void CharTyped(Char Key) override;
    void Loaded() override;
    void Notification(TComponent* AComponent, TOperation Operation) override;
    void CreateDropDownForm() override;
    void DoBeforeDropDown() override;
    void DoShowDropDown() override;
    void AttachDropDownControl() override;
    void SizeDropDownForm() override;
    void DoHideDropDown(bool CancelChanges) override;
    void DropDownControlKeyDown(TObject* Sender, Word& Key, TShiftState Shift) override;
    void DropDownControlKeyUp(TObject* Sender, Word& Key, TShiftState Shift) override;
    void DropDownControlKeyPress(TObject* Sender, Char& Key) override;
    void DropDownFormSizing(TObject* Sender) override;
    void KeyDown(Word& Key, TShiftState Shift) override;
    void KeyUp(Word& Key, TShiftState Shift) override;
    void DoEnter() override;

private:
    String LookupCell(int Row) const;
    bool GridEditing() const;
    // Narrows the grid to the rows whose lookup cell matches S.
    void NarrowGrid(const String& S);
    void WireGridEvents();
    void GridSelectCell(TObject* Sender, int ACol, int ARow, bool& CanSelect);
    void GridSelect(TObject* Sender);
    void GridCanSort(TObject* Sender, int ACol, bool& DoSort);
    void GridClickSort(TObject* Sender, int ACol);
    void WMKeyDown(TMessage& Message);
    // Runs Call with the popup's activation blocked, so that a dialog it opens keeps the popup.
    template <class F> void Blocked(F&& Call);

    bool FDesignTime = false;
    bool FBalloonInit = false;
    bool FColumnMoving = false;
    TLookupMethod FLookupMethod = lmLookup;
    bool FUseItems = true;
    TDropDownItems* FItems = nullptr;
    TDropDownColumns* FColumns = nullptr;
    TAdvColGrid* FAdvColGrid = nullptr;
    int FSelRow = 0;
    bool FRowSelect = true;
    TSearchFooter* FSearchFooter = nullptr;
    TBands* FBands = nullptr;
    TNavigation* FNavigation = nullptr;
    TMouseActions* FMouseActions = nullptr;
    int FTempItemIndex = -1;
    TDropDownStyle FStyle = dsDropDown;
    bool FHoverRow = false;
    TColor FHoverRowColor = clInfoBk, FHoverRowColorTo = clNone;
    TGridSorting FSorting = gsNone;
    bool FGridEditable = false;
    TCustomImageList* FGridImages = nullptr;
    bool FRowMoving = false, FRowSizing = false;
    bool FAutoShowDropDown = false;
    bool FAutoSizeColumns = true;
};

class TAdvGridDropDown : public TCustomAdvGridDropDown {
public:
    using TCustomAdvGridDropDown::TCustomAdvGridDropDown;
};

} // namespace AdvGridDropDown

using AdvGridDropDown::TAdvGridDropDown;
using AdvGridDropDown::TCustomAdvGridDropDown;
