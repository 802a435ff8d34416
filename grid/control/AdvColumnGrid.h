// The column grid: the string grid with one column object per grid column. Each column object
// carries the settings the string grid otherwise asks per cell (header, width, alignment, fonts,
// colours, borders, editor kind with its combo items and spin limits, read-only and fixed flags,
// check texts, sort and float formats, filter list, print settings, popup menu); the column
// grid's per-cell queries answer from it first and then let the string grid's own rules and the
// application's events run, so a cell's own properties and the handlers still win.
#pragma once

#include "AdvGrid.h"
#include "Menus.h"

class TAdvColumnGrid;
class TGridColumnCollection;

// Which clicks open a column's popup menu.
enum TColumnPopupType {
    cpFixedCellsRClick,
    cpFixedCellsLClick,
    cpNormalCellsRClick,
    cpNormalCellsLClick,
    cpAllCellsRClick,
    cpAllCellsLClick
};

using TColumnPopupEvent = TEvent<TObject*, int /*ACol*/, int /*ARow*/, TPopupMenu* /*PopupMenu*/>;
using TAfterColumnMoved = TEvent<TObject*, int /*FromIndex*/, int /*ToIndex*/>;

// One column's settings. Made inside a collection it starts from the owning grid's font and
// colour and hears its fonts and border pen change; made without one (the grid's spare item) it
// keeps the fonts' own defaults and colour 0.
class TGridColumnItem : public TCollectionItem {
public:
    explicit TGridColumnItem(TCollection* Collection);
    ~TGridColumnItem() override;

    // From another column item only (anything else is ignored): every setting but the popup
    // type and the two print "custom" flags, straight into the fields (no repaint, no update).
    void Assign(TPersistent* Source) override;
    // As Assign, but colour and font from the owning grid, and without combo items, drop-down
    // count, header font, header, name and tag.
    void AssignVisuals(TPersistent* Source);
    String DisplayName() const override;

    // The owning grid (nullptr without collection).
    TAdvColumnGrid* Grid() const;

    // The grid's width of the column (0 without collection); writing sets it too.
    int Width() const;
    void SetWidth(int Value);
    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment Value);
    const String& Header() const { return FColumnHeader; }
    void SetHeader(const String& Value);
    TSortStyle SortStyle() const { return FSortStyle; }
    void SetSortStyle(TSortStyle Value) { FSortStyle = Value; }
    const String& SortPrefix() const { return FSortPrefix; }
    void SetSortPrefix(const String& Value) { FSortPrefix = Value; }
    const String& SortSuffix() const { return FSortSuffix; }
    void SetSortSuffix(const String& Value) { FSortSuffix = Value; }
    const String& EditMask() const { return FEditMask; }
    void SetEditMask(const String& Value) { FEditMask = Value; }
    int EditLength() const { return FEditLength; }
    void SetEditLength(int Value) { FEditLength = Value; }
    TEditLink* EditLink() const { return FEditLink; }
    void SetEditLink(TEditLink* Value) { FEditLink = Value; }
    TFont* Font() const { return FFont.get(); }
    void SetFont(TFont* Value);
    TColor Color() const { return FColor; }
    void SetColor(TColor Value);
    TEditorType Editor() const { return FEditorType; }
    void SetEditor(TEditorType Value);
    bool Fixed() const { return FFixed; }
    void SetFixed(bool Value);
    bool ReadOnly() const { return FReadOnly; }
    void SetReadOnly(bool Value) { FReadOnly = Value; }
    TStringList* ComboItems() const { return FComboItems.get(); }
    void SetComboItems(TStrings* Value) { FComboItems->Assign(Value); }
    int DropDownCount() const { return FDropDownCount; }
    void SetDropDownCount(int Value) { FDropDownCount = Value; }
    int SpinMin() const { return FSpinMin; }
    void SetSpinMin(int Value) { FSpinMin = Value; }
    int SpinMax() const { return FSpinMax; }
    void SetSpinMax(int Value) { FSpinMax = Value; }
    int SpinStep() const { return FSpinStep; }
    void SetSpinStep(int Value) { FSpinStep = Value; }
    bool Password() const { return FPassword; }
    void SetPassword(bool Value);
    TFont* PrintFont() const { return FPrintFont.get(); }
    void SetPrintFont(TFont* Value) { FPrintFont->Assign(Value); }
    TColor PrintColor() const { return FPrintColor; }
    void SetPrintColor(TColor Value) { FPrintColor = Value; }
    const TCellBorders& Borders() const { return FBorders; }
    void SetBorders(const TCellBorders& Value);
    TPen* BorderPen() const { return FBorderPen.get(); }
    void SetBorderPen(TPen* Value) { FBorderPen->Assign(Value); }
    const TCellBorders& PrintBorders() const { return FPrintBorders; }
    void SetPrintBorders(const TCellBorders& Value) { FPrintBorders = Value; }
    TPen* PrintBorderPen() const { return FPrintBorderPen.get(); }
    void SetPrintBorderPen(TPen* Value) { FPrintBorderPen->Assign(Value); }
    int Tag() const { return FTag; }
    void SetTag(int Value) { FTag = Value; }
    // The column's original position (run time only), kept while columns move.
    int DefIdx() const { return FDefIdx; }
    void SetDefIdx(int Value) { FDefIdx = Value; }
    const String& Name() const { return FName; }
    void SetName(const String& Value) { FName = Value; }
    const String& CheckFalse() const { return FCheckFalse; }
    void SetCheckFalse(const String& Value) { FCheckFalse = Value; }
    const String& CheckTrue() const { return FCheckTrue; }
    void SetCheckTrue(const String& Value) { FCheckTrue = Value; }
    bool ShowBands() const { return FShowBands; }
    void SetShowBands(bool Value);
    // Entries "friendly name=condition" or a bare condition; a change repaints the grid.
    TStringList* Filter() const { return FFilter.get(); }
    void SetFilter(TStrings* Value) { FFilter->Assign(Value); }
    int MaxSize() const { return FMaxSize; }
    void SetMaxSize(int Value) { FMaxSize = Value; }
    int MinSize() const { return FMinSize; }
    void SetMinSize(int Value) { FMinSize = Value; }
    int AutoMinSize() const { return FAutoMinSize; }
    void SetAutoMinSize(int Value) { FAutoMinSize = Value; }
    int AutoMaxSize() const { return FAutoMaxSize; }
    void SetAutoMaxSize(int Value) { FAutoMaxSize = Value; }
    TColumnPopupType ColumnPopupType() const { return FColumnPopupType; }
    void SetColumnPopupType(TColumnPopupType Value) { FColumnPopupType = Value; }
    TPopupMenu* ColumnPopup() const { return FColumnPopup; }
    void SetColumnPopup(TPopupMenu* Value) { FColumnPopup = Value; }
    bool FilterCaseSensitive() const { return FFilterCaseSensitive; }
    void SetFilterCaseSensitive(bool Value) { FFilterCaseSensitive = Value; }
    const String& FloatFormat() const { return FFloatFormat; }
    void SetFloatFormat(const String& Value);
    TAlignment HeaderAlignment() const { return FHeaderAlignment; }
    void SetHeaderAlignment(TAlignment Value);
    TFont* HeaderFont() const { return FHeaderFont.get(); }
    void SetHeaderFont(TFont* Value);
    bool PrintBorderCustom() const { return FPrintBorderCustom; }
    void SetPrintBorderCustom(bool Value) { FPrintBorderCustom = Value; }
    bool PrintFontCustom() const { return FPrintFontCustom; }
    void SetPrintFontCustom(bool Value) { FPrintFontCustom = Value; }

    // The grid cells of the column by row: text (base cell), integer, float, date, time.
    String Rows(int ARow) const;
    void SetRows(int ARow, const String& Value);
    int Ints(int ARow) const;
    void SetInts(int ARow, int Value);
    double Floats(int ARow) const;
    void SetFloats(int ARow, double Value);
    TDateTime Dates(int ARow) const;
    void SetDates(int ARow, TDateTime Value);
    TDateTime Times(int ARow) const;
    void SetTimes(int ARow, TDateTime Value);

private:
    friend class TAdvColumnGrid;
    friend class TGridColumnCollection;
    // The collection's update for this item (nothing without collection).
    void Update();
    void Repaint();
    // The published properties of a column and of TAdvColumnGridIO for the component stream.
    static void RegisterStreamProperties();
    TAdvColumnGrid* RequireGrid() const;

    int FWidth = 50;
    TAlignment FAlignment = taLeftJustify;
    String FColumnHeader;
    TSortStyle FSortStyle = ssAutomatic;
    String FSortPrefix;
    String FSortSuffix;
    String FEditMask;
    int FEditLength = 0;
    TEditLink* FEditLink = nullptr;
    std::unique_ptr<TFont> FFont;
    TColor FColor = 0;
    TEditorType FEditorType = edNormal;
    bool FFixed = false;
    bool FReadOnly = false;
    std::unique_ptr<TStringList> FComboItems;
    int FDropDownCount = 8;
    int FSpinMin = 0;
    int FSpinMax = 0;
    int FSpinStep = 1;
    bool FPassword = false;
    std::unique_ptr<TFont> FPrintFont;
    TColor FPrintColor = clWhite;
    TCellBorders FBorders;
    std::unique_ptr<TPen> FBorderPen;
    TCellBorders FPrintBorders{cbTop, cbLeft, cbRight, cbBottom};
    std::unique_ptr<TPen> FPrintBorderPen;
    int FTag = 0;
    int FDefIdx = 0;
    String FName;
    String FCheckFalse = QStringLiteral("N");
    String FCheckTrue = QStringLiteral("Y");
    bool FShowBands = false;
    std::unique_ptr<TStringList> FFilter;
    int FMaxSize = 0;
    int FMinSize = 0;
    int FAutoMinSize = 0;
    int FAutoMaxSize = 0;
    TColumnPopupType FColumnPopupType = cpFixedCellsRClick;
    TPopupMenu* FColumnPopup = nullptr;
    bool FFilterCaseSensitive = false;
    String FFloatFormat;
    TAlignment FHeaderAlignment = taLeftJustify;
    std::unique_ptr<TFont> FHeaderFont;
    bool FPrintBorderCustom = true;
    bool FPrintFontCustom = true;
};

// The grid's column objects. While NoRecursiveUpdate is set (or between BeginUpdate and
// EndUpdate, or while the grid loads) adding or removing items leaves the grid alone; otherwise
// each change makes ColCount follow the item count and rebuilds the header list.
class TGridColumnCollection : public TCollection {
public:
    explicit TGridColumnCollection(TAdvColumnGrid* AOwner);

    // A new item at the end, with the visual settings of the item before it.
    TGridColumnItem* Add();
    // A new item at Index with creation defaults only.
    TGridColumnItem* Insert(int Index);
    // The item at Index; outside the collection the collection's index error.
    TGridColumnItem* Items(int Index) const;
    TGridColumnItem* operator[](int Index) const { return Items(Index); }
    // Copies Value into the item at Index (Assign).
    void SetItems(int Index, TGridColumnItem* Value) { Items(Index)->Assign(Value); }
    TAdvColumnGrid* Grid() const { return FOwner; }

    bool NoRecursiveUpdate() const { return FNoRecursiveUpdate; }
    void SetNoRecursiveUpdate(bool Value) { FNoRecursiveUpdate = Value; }
    // The items made to match the grid's columns, then DefIdx := index for every item.
    void SetOrganization();
    // Moves every column whose DefIdx is below its index to DefIdx, pass after pass, until a pass
    // moves nothing.
    void ResetOrganization();

protected:
    void Update(TCollectionItem* Item) override;
    TPersistent* GetOwner() override;

private:
    TAdvColumnGrid* FOwner;
    bool FNoRecursiveUpdate = false;
};

// The component that writes and reads the columns as a component stream: its one published
// property is Items, a column collection made with the grid as its owner.
class TAdvColumnGridIO : public TComponent {
public:
    TAdvColumnGridIO(TComponent* AOwner, TAdvColumnGrid* AGrid);
    ~TAdvColumnGridIO() override;
    TGridColumnCollection* Items() const { return FItems.get(); }
    void SetItems(TGridColumnCollection* Value) { FItems->Assign(Value); }

private:
    std::unique_ptr<TGridColumnCollection> FItems;
};

class TAdvColumnGrid : public TAdvStringGrid {
public:
    explicit TAdvColumnGrid(TComponent* AOwner);
    ~TAdvColumnGrid() override;

    void Loaded() override;

    // ---- The columns ----
    TGridColumnCollection* Columns() const { return FColumnCollection.get(); }
    // Every item replaced by a copy of Value's.
    void SetColumns(TGridColumnCollection* Value) { FColumnCollection->Assign(Value); }
    // The string grid's writer, then one column object per column.
    void SetColCount(int Value) override;
    // The first item whose Name equals AValue exactly; nullptr when none.
    TGridColumnItem* GetColumnByName(const String& AValue) const;
    TGridColumnItem* ColumnByName(const String& AValue) const { return GetColumnByName(AValue); }
    // The spare item holding a column's settings while it is grouped away.
    TGridColumnItem* SaveCol() const { return FSaveCol.get(); }

    void InsertCols(int ColIndex, int CCount) override;
    // Removes only the items that exist, as the string grid cuts the columns it removes.
    void RemoveCols(int ColIndex, int CCount) override;
    void Group(int Colindex) override;
    void UnGroup() override;

    // The columns as a component stream of TAdvColumnGridIO with its Items. Loading changes
    // neither ColCount nor row 0 nor the widths; a stream that holds no column grid raises the
    // reader's error with the columns unchanged.
    void SaveColumnsToStream(TStream* st);
    void LoadColumnsFromStream(TStream* st);

    // Column positions in an INI file: "CP" + position := the original index of the column shown
    // there (DefIdx). Loading restores that order; a set with a key missing or values that are
    // no ordering of the columns moves nothing.
    void SaveColumnPositions(const String& Key, const String& Section);
    void LoadColumnPositions(const String& Key, const String& Section);
    // With ColumnSize.Location clIniFile the "CP" keys above, else the string grid's own.
    void SaveColPositions() override;
    void LoadColPositions() override;

    // The header list and the items in step (nothing without a fixed row).
    void SyncColumnHeaders();

    bool AutoFilterDisplay = false;
    TColumnPopupEvent OnColumnPopup;
    TAfterColumnMoved OnAfterColumnMoved;

    // ---- The per-cell queries answered from the columns ----
    void GetDefaultVisualProps(int ACol, int ARow, TFont* AFont, TBrush* ABrush, TColor& AColorTo,
                               TColor& AMirrorColor, TColor& AMirrorColorTo, TAlignment& HA, TVAlignment& VA,
                               bool& WW, TCellGradientDirection& GD) override;
    String GetFormattedCell(int ACol, int ARow) override;
    void GetColumnFloatFormat(int ACol, String& Format) override;
    TCellType GetCellType(int ACol, int ARow) override;
    TCellGraphic* GetCellGraphic(int ACol, int ARow) override;
    void UpdateColumnSize(int ACol, int& AWidth) override;
    void UpdateAutoColumnSize(int ACol, int& AWidth) override;
    void AllCellsChanged() override;
    void GetCellColor(int ACol, int ARow, TGridDrawState AState, TBrush* ABrush, TFont* AFont) override;
    void GetCellPrintColor(int ACol, int ARow, TGridDrawState AState, TBrush* ABrush, TFont* AFont) override;
    void GetCellBorder(int ACol, int ARow, TPen* APen, TCellBorders& Borders) override;
    void GetCellPrintBorder(int ACol, int ARow, TPen* APen, TCellBorders& Borders) override;
    void GetAlignment(int ACol, int ARow, TAlignment& HAlign, TVAlignment& VAlign) override;
    void GetFormat(int ACol, TSortStyle& AStyle, String& aPrefix, String& aSuffix) override;
    void GetCellEditor(int ACol, int ARow, TEditorType& AEditor) override;
    void IsFixedCell(int ACol, int ARow, bool& IsFixed) override;
    void QueryCanEdit(int ACol, int ARow, bool& CanEdit) override;
    void IsPasswordCell(int ACol, int ARow, bool& IsPassword) override;
    bool HasComboBox(int ACol, int ARow) override;
    void GetCheckTrue(int ACol, int ARow, String& Value) override;
    void GetCheckFalse(int ACol, int ARow, String& Value) override;
    bool GetColumnFilter(int ACol) override;
    // A pick from the column's filter list: the column's own entry gives the condition (and with
    // AutoFilterDisplay the header), with the column's case sensitivity.
    void FilterSelect(TObject* Sender, int ItemIndex) override;

protected:
    // A new column collection owned by the grid (a descendant may make its own class).
    virtual TGridColumnCollection* CreateColumns();
    int GetVersionNr() override;
    String GetVersionString() override;
    void Notification(TComponent* AComponent, TOperation Operation) override;
    void ColumnHeadersChanged() override;
    void ColumnMoved(int FromIndex, int ToIndex) override;
    void ColWidthsChanged() override;
    void ChangeScale(int M, int D) override;
    int GetEditMaxLength() override;
    String GetEditMask(int ACol, int ARow) override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;

private:
    friend class TGridColumnItem;
    friend class TGridColumnCollection;
    // Adds or frees items until there is one per column (hidden ones counted).
    void SyncColumnItems();
    // The item of a column index, nullptr outside the items.
    TGridColumnItem* ItemAt(int ACol) const;
    bool DataCell(int ACol, int ARow) const;
    bool InnerCell(int ACol, int ARow) const;
    bool BeingDestroyed() const { return ComponentState().count(csDestroying) != 0; }

    std::unique_ptr<TGridColumnCollection> FColumnCollection;
    std::unique_ptr<TGridColumnItem> FSaveCol;
    bool FColMoving = false;
    std::unique_ptr<TCellGraphic> FCellGraphic;
    // Set while the string grid inserts or removes columns: the items follow afterwards.
    bool FColumnsFollowLater = false;
    // Set while GetCellType asks the string grid: cells answer their own graphic only.
    bool FOwnGraphicOnly = false;
};
