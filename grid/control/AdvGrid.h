// The grid control: TAdvStringGrid, the string grid every window of the configurator uses, on the
// cell store of TBaseGrid. One class spans many topics; this header declares it whole and its
// member definitions live in AdvGrid*.cpp by topic (construction, update locking, hiding and index
// maps, structure, looks...). Each topic keeps its members in its own block below, so work on one
// topic leaves the others' lines alone.
#pragma once

#include "AdvGridLooks.h"
#include "BaseGrid.h"
#include "GridAuxControls.h"
#include "GridItem.h"
#include "GridOptions.h"
#include "GridPanelSettings.h"
#include "GridSettings.h"
#include "GridStructure.h"
#include "PictureContainer.h"

#include <array>
#include <cstdint>
#include <memory>

class TGridDropTarget;
class TGridTrackbarDropDown;
class TGridMemoDropDown;
class TGridCalculatorDropDown;
class TGridTimepickerDropDown;
class TGridDetailPickerDropDown;
class TGridGridDropDown;
class TGridColorDropDown;
class TGridImageDropDown;
class TGridAdvGridDropDown;

class TCustomForm;

class TAdvStringGrid : public TBaseGrid, public TGridSettingsHost {
public:
    explicit TAdvStringGrid(TComponent* AOwner);
    ~TAdvStringGrid() override;

    // ---- Construction and life cycle ----
    // Reports every object the grid makes or frees for itself, by name, in the order it happens
    // (the constructor's and destructor's orders are part of the grid's contract with the code
    // that hooks the objects' events). Unset: nothing is reported.
    using TLifeCycleTrace = std::function<void(bool Created, const char* Name)>;
    static TLifeCycleTrace LifeCycleTrace;

    // With IntegralHeight the height is cut to whole rows of DefaultRowHeight (plus the
    // horizontal bar and the border).
    void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;
    // One repaint is skipped after an in-place editor changed a cell.
    void Invalidate() override;
    void Loaded() override;
    // From another string grid: its settings, structure, widths, heights and then its cells;
    // any other source is ignored.
    void Assign(TPersistent* Source) override;
    virtual void AssignCells(TPersistent* Source);
    // The first form up the parent chain of Control; nullptr when none.
    static TCustomForm* FindParentForm(TControl* Control);
    // The handler the grid chains into its owner form's OnResize.
    void ParentFormResize(TObject* Sender);

    bool IntegralHeight = false;
    // The scroll bars named here stay shown when every row (column) fits, disabled; a bar whose
    // content does not fit is enabled. Writing applies the rule at once.
    TScrollBarAlways ScrollBarAlways() const { return FScrollBarAlways; }
    void SetScrollBarAlways(TScrollBarAlways Value);
    // Applies that rule; with saNone and Force the bars whose content fits are hidden.
    void UpdateAlwaysShownScrollBars(bool Force);
    // The edit mask of every cell; OnGetEditMask may give a cell another.
    String EditMask;
    // The grid grows and shrinks with its owner form.
    bool SizeWithForm = false;
    bool Loading() const { return ComponentState().count(csLoading) != 0; }
    bool GridLoaded() const { return FGridLoaded; }
    // Set by window creation: the wheel message and the lines one wheel notch scrolls.
    UINT WheelMessage() const { return FWheelMsg; }
    int WheelScrollLines() const { return FWheelScrollLines; }
    static constexpr UINT_PTR GridTimerId = 111;
    static constexpr UINT GridTimerInterval = 500;

    String FloatFormat = "%.2f";
    String CheckTrue = "Y";
    String CheckFalse = "N";
    Char PasswordChar = u'*';
    String XMLEncoding = "ISO-8859-1";
    String FilterDropDownClear = "(All)";
    Char Delimiter = u'\0';
    bool JavaCSV = false;
    bool QuoteEmptyCells = true;
    bool AlwaysQuotes = false;
    bool EnableHTML = true;
    bool SaveWithHTML = true;
    bool SaveHiddenCells = false;
    bool SaveVirtCells = true;
    bool ClearTextOnly = false;
    bool ShowNullDates = true;
    bool EnableWheel = true;
    bool IntelliZoom = true;
    bool EnhRowColMove = true;
    bool ShowDesignHelper = true;
    bool FitCellsInGrid = true;
    bool FilterNormalCellsOnly = true;
    bool AutoFilterUpdate = true;
    bool FilterIncremental = false;
    bool LoadFirstRow = true;
    bool SizeGrowOnly = false;
    int GroupColumn = -1;
    int MinRowHeight = 0;
    int MaxRowHeight = 0;
    int MinColWidth = 0;
    int MaxColWidth = 0;
    int ZoomFactor = 0;
    bool PrinterDriverFix = false;
    bool ExcelClipboardFormat = false;
    bool NoDefaultDraw = false;
    TPoint XYOffset{2, 2};
    // The platform tests of the constructor.
    bool IsWinXP() const { return FIsWinXP; }
    bool IsWin7() const { return FIsWin7; }
    bool IsThemed() const { return FIsThemed; }
    bool IsVista() const { return FIsVista; }

    // The run-time windows (none while the grid is designed).
    TGridFocusWindow* FocusWindow() const { return FFocusWindow.get(); }
    TArrowWindow* ArrowWindow(TArrowDirection Direction) const;

    // ---- Update locking, painting messages, scaling and state changes ----
    // A counted lock on a shown grid: while any is open the grid paints nothing; the last
    // EndUpdate repaints the whole client area once. A hidden grid is not locked.
    void BeginUpdate();
    void EndUpdate();
    // True while any lock is open; writing True is BeginUpdate, False EndUpdate.
    bool LockUpdate() const { return FUpdateCount > 0; }
    void SetLockUpdate(bool Value);
    // The version packed one byte per part, the major version in the highest byte, and as text.
    int VersionNr() { return GetVersionNr(); }
    String VersionString() { return GetVersionString(); }
    // Remembers every column's width and the grid's width (for proportional column sizing).
    void InitOrigColSizes();
    const TIntList& OrigColSizes() const { return FOrigColSizes; }
    int OldSize() const { return FOldSize; }
    void Dispatch(TMessage& Message) override;

    // ---- Moving, hiding and index maps of rows and columns ----
    // Columns: a hidden column keeps its cells at its real index and only leaves ColCount. Real
    // columns 0..511 can be hidden; a column from 512 on is always shown and maps to itself.
    static constexpr int MaxHideableCols = 512;
    void HideColumn(int ACol) { HideColumns(ACol, ACol); }
    // Passes over a hidden, missing or only shown column and one from 512 on.
    void HideColumns(int FromCol, int ToCol);
    void UnHideColumn(int ACol) { UnHideColumns(ACol, ACol); }
    void UnHideColumns(int FromCol, int ToCol);
    void UnHideColumnsAll();
    bool IsHiddenColumn(int ACol) const;
    int NumHiddenColumns() const { return FNumHidden; }
    int TotalColCount() const override;
    int AllColCount() const { return TotalColCount(); }
    // Display column to real column (0 when no shown column has that position) and back; for a
    // hidden column the position it would take when shown.
    int RealColIndex(int ACol) const;
    int DisplColIndex(int ACol) override;
    int RealCol() const { return RealColIndex(Col()); }
    // The width column ACol had when it was hidden.
    int HiddenColWidth(int ACol) const;

    // Rows: a hidden row leaves the grid into a record of the hidden-row store (its cells, cell
    // objects and height), so row indexes of the cell API are display indexes.
    void HideRow(int ARow) { HideRows(ARow, ARow); }
    // Real rows; the rows of the range not hidden yet.
    void HideRows(int FromRow, int ToRow);
    // The same, but nothing when the first row is hidden already.
    void HideRowsEx(int FromRow, int ToRow);
    // Hides display rows (ascending) as one filter level.
    void HideRowList(TIntList* ARows);
    void UnHideRow(int ARow);
    // Nothing unless FromRow itself is hidden.
    void UnHideRows(int FromRow, int ToRow);
    void UnHideRowsAll();
    // Restores the last filter level.
    void UnHideRowList();
    bool IsHiddenRow(int ARow) const;
    // For many questions in a row: a nil list is filled with the index of every record first
    // and handed back (the caller frees it).
    bool IsHiddenRow(int ARow, TIntList*& AList) const;
    int NumHiddenRows() const { return FGridItems->Count(); }
    int TotalRowCount() const { return RowCount() + NumHiddenRows(); }
    // Display row to real row and back, each a binary search over the hidden rows' index.
    int RealRowIndex(int ARow) const;
    int DisplRowIndex(int ARow) const;
    int RealRow() const { return RealRowIndex(Row()); }
    TGridItems* GridItems() const { return FGridItems.get(); }
    int FilterLevel() const { return FFilterLevel; }
    void SetFilterLevel(int Value) { FFilterLevel = Value; }

    void MoveColumn(int FromIndex, int ToIndex);
    void MoveRow(int FromIndex, int ToIndex);
    // Moves a block of Count rows from FromIndex to before ToIndex (counted in the grid before the
    // move).
    void MoveRows(int FromIndex, int ToIndex, int Count);
    // Brings a display cell into view, centring it when it was outside.
    void ScrollInView(int ACol, int ARow);
    void HideSelection();
    void UnHideSelection();
    bool SelectionHidden() const { return FSelHidden; }
    void UpdateEditMode();
    TIntList* IgnoreColumns() const { return FIgnoreColumns.get(); }
    bool IsIgnoredColumn(int ACol) const;

    // Row primitives.
    virtual void InsertRows(int RowIndex, int RCount, bool UpdateCellControls = true);
    void AddRow();
    // Removes rows through the platform grid's row deletion, keeping the other rows' heights;
    // cell objects are not freed.
    void DeleteRows(int ARow, int Count, bool UpdateCellControls = true);
    // Frees the rows' cell objects, then DeleteRows.
    virtual void DeleteRowRange(int ARow, int Count);
    // The lean removal of row moving: cells move up, heights stay.
    virtual void RemoveRowsEx(int RowIndex, int RCount);

    // Change notification: OnCellsChanged, then the footer values.
    virtual void CellsChanged(const TRect& R);
    virtual void AllCellsChanged();
    TCellsChangedEvent OnCellsChanged;
    // The real column of every display position, recorded for the column-state persistence.
    void SetColumnOrder();
    const std::vector<int>& ColumnOrder() const { return FColumnOrder; }
    // Places the controls of cells over their cells (hidden where the cell is hidden or out of
    // view); with RebuildList the list of cell controls is made anew from the cell properties.
    void CellControlsUpdate(bool RebuildList);
    TControlList* ControlList() const { return FControlList.get(); }

    // ---- Structure accessors and header lists ----
    // Counts and indexes are display ones: hidden rows and columns are not counted.
    void SetRowCount(int Value);
    void SetColCount(int Value);
    int Row() const { return TBaseGrid::Row(); }
    void SetRow(int Value);
    // Ignored outside FixedRows..RowCount - 1.
    int TopRow() const { return TBaseGrid::TopRow(); }
    void SetTopRow(int Value);
    // 1 when the platform grid has none and the "always" rule is on.
    int FixedRows() const;
    int FixedCols() const;
    // With the "always" rule a value not below the count applies count - 1; the value asked for
    // is kept and applied again when the count grows.
    void SetFixedRows(int Value);
    void SetFixedCols(int Value);
    bool FixedRowAlways() const { return FFixedRowAlways; }
    void SetFixedRowAlways(bool Value) { FFixedRowAlways = Value; }
    bool FixedColAlways() const { return FFixedColAlways; }
    void SetFixedColAlways(bool Value) { FFixedColAlways = Value; }
    int FixedColWidth() const { return ColWidths(0); }
    void SetFixedColWidth(int Value);
    int FixedRowHeight() const { return FFixedRowHeight; }
    void SetFixedRowHeight(int Value);
    void SetDefaultRowHeight(int Value);
    TAlignment DefaultAlignment() const { return FDefaultAlignment; }
    void SetDefaultAlignment(TAlignment Value);
    int FixedFooters() const { return FFixedFooters; }
    void SetFixedFooters(int Value);
    int FixedRightCols() const { return FFixedRightCols; }
    void SetFixedRightCols(int Value);
    bool WordWrap() const { return FGridWordWrap; }
    void SetWordWrap(bool Value);
    TFont* FixedFont() const { return FFixedFont.get(); }
    void SetFixedFont(TFont* Value);
    TStringList* LookupItems() const { return FLookupItems.get(); }
    void SetLookupItems(TStrings* Value);
    int MaxRowCount() const { return FMaxRowCount; }
    int MaxColCount() const { return FMaxColCount; }

    // Row 0 and column 0 from text lists; "\n" in an entry breaks the line.
    TStringList* ColumnHeaders() const { return FColumnHeaders.get(); }
    void SetColumnHeaders(TStrings* Value);
    TStringList* RowHeaders() const { return FRowHeaders.get(); }
    void SetRowHeaders(TStrings* Value);
    void ClearColumnHeaders();
    void ShowColumnHeaders();
    void ClearRowHeaders();
    void ShowRowHeaders();

    // The smallest block holding every cell with text; (0, 0, 0, 0) for none.
    TRect UsedCells();
    bool SaveFixedCells = true;
    bool SaveFixedCols = false;
    bool SaveFixedRows = false;
    int SaveStartCol() const;
    int SaveStartRow() const;
    int SaveEndCol() const;
    int SaveEndRow() const;
    int SaveColCount() const;
    int SaveRowCount() const;
    // The cell under a screen point; -1 outside.
    void ScreenToCell(TPoint Pt, int& ACol, int& ARow) const;
    // Recalculates the footer row's cell of a column (-1: every column) by its calculation type.
    virtual void CalcFooter(int ACol);
    // Fires for footer cells of the custom type (before the floating footer's OnCalcFooter).
    TCalcFooterEvent OnFooterCalc;
    void UpdateFooter();
    // Merges the runs of equal texts in a column's data rows; a further column (MainMerge false)
    // only inside the areas of the columns merged before. Splitting dissolves the column's
    // vertically merged areas. A change of MergedColumns does both for the listed columns.
    void MergeColumnCells(int ColIndex, bool MainMerge);
    void SplitColumnCells(int ColIndex);
    // Whether a press at the client point would size a column or a row.
    bool IsSizingPos(int X, int Y) const;
    virtual bool CanAddRow();
    virtual bool CanInsertRow(int ARow);
    TCanAddRowEvent OnCanAddRow;
    TCanInsertRowEvent OnCanInsertRow;
    TRowChangedEvent OnRowUpdate;
    TColumnSize* ColumnSize() const { return FColumnSize.get(); }
    TSizeWhileTyping* SizeWhileTyping() const { return FSizeWhileTyping.get(); }

    // ---- Look presets and link display settings ----
    TGridLook Look() const { return FLook; }
    void SetLook(TGridLook Value);
    // The grid style the last of the three newer looks handed over to.
    TAdvGridStyle CurrentStyle() const { return FCurrentStyle; }
    // The colours and settings the look presets write (painting reads them).
    TColor ActiveCellColor() const { return FActiveCellColor; }
    void SetActiveCellColor(TColor Value);
    TColor ActiveCellColorTo() const { return FActiveCellColorTo; }
    void SetActiveCellColorTo(TColor Value);
    TColor SelectionColor() const { return FSelectionColor; }
    void SetSelectionColor(TColor Value);
    TColor SelectionColorTo() const { return FSelectionColorTo; }
    void SetSelectionColorTo(TColor Value);
    TColor SelectionTextColor() const { return FSelectionTextColor; }
    void SetSelectionTextColor(TColor Value);
    // The grid's own fixed-cell gradient (ControlLook passes its colours on to these).
    TColor KitGradientFrom() const { return FKitGradientFrom; }
    TColor KitGradientTo() const { return FKitGradientTo; }
    TColor KitGradientMirrorFrom() const { return FKitGradientMirrorFrom; }
    TColor KitGradientMirrorTo() const { return FKitGradientMirrorTo; }
    void SetKitGradientFrom(TColor Value);
    void SetKitGradientTo(TColor Value);
    void SetKitGradientMirrorFrom(TColor Value);
    void SetKitGradientMirrorTo(TColor Value);
    // The hover and pressed gradients of fixed cells with their borders, and every fixed-cell
    // gradient colour by name (ControlLook's FixedGradient colours arrive here).
    TColor KitGradient(TFixedGradientColor Which) const;
    TColor KitGradientHoverFrom() const { return KitGradient(fgHoverFrom); }
    TColor KitGradientHoverTo() const { return KitGradient(fgHoverTo); }
    TColor KitGradientHoverMirrorFrom() const { return KitGradient(fgHoverMirrorFrom); }
    TColor KitGradientHoverMirrorTo() const { return KitGradient(fgHoverMirrorTo); }
    TColor KitGradientHoverBorder() const { return KitGradient(fgHoverBorder); }
    TColor KitGradientDownFrom() const { return KitGradient(fgDownFrom); }
    TColor KitGradientDownTo() const { return KitGradient(fgDownTo); }
    TColor KitGradientDownMirrorFrom() const { return KitGradient(fgDownMirrorFrom); }
    TColor KitGradientDownMirrorTo() const { return KitGradient(fgDownMirrorTo); }
    TColor KitGradientDownBorder() const { return KitGradient(fgDownBorder); }
    TScrollType ScrollType() const { return FScrollType; }
    TColor BorderColor() const { return FBorderColor; }
    void SetBorderColor(TColor Value);
    // Links in cell texts: their colour, whether they show as links, also inside other text, and
    // with their full address.
    TColor URLColor() const { return FURLColor; }
    void SetURLColor(TColor Value);
    bool URLShow() const { return FURLShow; }
    void SetURLShow(bool Value);
    bool URLShowInText() const { return FURLShowInText; }
    void SetURLShowInText(bool Value);
    bool URLFull() const { return FURLFull; }
    void SetURLFull(bool Value);

    // ---- Settings objects ----
    // Each setter copies the given object's values into the grid's own (Assign); the grid keeps
    // its objects for its whole life. BackGround has no copy.
    TSearchFooter* SearchFooter() const { return FSearchFooter.get(); }
    void SetSearchFooter(TSearchFooter* Value) { FSearchFooter->Assign(Value); }
    TFloatingFooter* FloatingFooter() const { return FFloatingFooter.get(); }
    void SetFloatingFooter(TFloatingFooter* Value) { FFloatingFooter->Assign(Value); }
    TSortSettings* SortSettings() const { return FSortSettings.get(); }
    void SetSortSettings(TSortSettings* Value) { FSortSettings->Assign(Value); }
    TDragDropSettings* DragDropSettings() const { return FDragDropSettings.get(); }
    void SetDragDropSettings(TDragDropSettings* Value) { FDragDropSettings->Assign(Value); }
    TDragScrollOptions* DragScrollOptions() const { return FDragScrollOptions.get(); }
    void SetDragScrollOptions(TDragScrollOptions* Value) { FDragScrollOptions->Assign(Value); }
    TControlLook* ControlLook() const { return FControlLook.get(); }
    void SetControlLook(TControlLook* Value) { FControlLook->Assign(Value); }
    TNavigation* Navigation() const { return FNavigation.get(); }
    void SetNavigation(TNavigation* Value) { FNavigation->Assign(Value); }
    void SetColumnSize(TColumnSize* Value) { FColumnSize->Assign(Value); }
    TBands* Bands() const { return FBands.get(); }
    void SetBands(TBands* Value) { FBands->Assign(Value); }
    TMouseActions* MouseActions() const { return FMouseActions.get(); }
    void SetMouseActions(TMouseActions* Value) { FMouseActions->Assign(Value); }
    TGrouping* Grouping() const { return FGrouping.get(); }
    void SetGrouping(TGrouping* Value) { FGrouping->Assign(Value); }
    THTMLPictureCache* ImageCache() const { return FImageCache.get(); }
    TFont* ActiveCellFont() const { return FActiveCellFont.get(); }
    void SetActiveCellFont(TFont* Value) { FActiveCellFont->Assign(Value); }
    TSortIndexList* SortIndexes() const { return FSortIndexes.get(); }
    TIntList* MergedColumns() const { return FMergedColumns.get(); }
    TBackGround* BackGround() const { return FBackGround.get(); }
    TGridProgressAppearance* ProgressAppearance() const { return FProgressAppearance.get(); }
    void SetProgressAppearance(TGridProgressAppearance* Value) { FProgressAppearance->Assign(Value); }
    TSyncGrid* SyncGrid() const { return FSyncGrid.get(); }
    void SetSyncGrid(TSyncGrid* Value) { FSyncGrid->Assign(Value); }
    TFilter* Filter() const { return FFilter.get(); }
    void SetFilter(TFilter* Value) { FFilter->Assign(Value); }
    TBalloonSettings* Balloon() const { return FBalloon.get(); }
    void SetBalloon(TBalloonSettings* Value) { FBalloon->Assign(Value); }
    TShowModified* ShowModified() const { return FShowModified.get(); }
    void SetShowModified(TShowModified* Value) { FShowModified->Assign(Value); }
    TFilterDropDown* FilterDropDown() const { return FFilterDropDown.get(); }
    void SetFilterDropDown(TFilterDropDown* Value) { FFilterDropDown->Assign(Value); }
    TFocusHelper* FocusHelper() const { return FFocusHelper.get(); }
    void SetFocusHelper(TFocusHelper* Value) { FFocusHelper->Assign(Value); }
    TStringList* FilterList() const { return FFilterList.get(); }

    // ---- Sorting, filtering, search, files, clipboard and drag and drop (bodies in grid/extras) ----
    // Filtering: the filter applied (False: every row shown); the filter levels.
    bool FilterActive() const { return FFilterActive; }
    void SetFilterActive(bool Value);
    void ApplyFilter();
    // Removes the last filter level; answers whether levels remain.
    bool RemoveLastFilter();
    void RemoveAllFilters();
    void FilterRow(int ARow);
    // The first row from FixedRows on whose stripped text starts with S (upper case); -1 for none.
    int Search(const String& S);
    // The text without its error marks.
    String UnMarkText(const String& Text);
    // Copies SearchFooter onto the search panel.
    void UpdateSearchPanel();
    // The grid's cell stream: column and row counts, column widths, non-empty cells.
    void SaveToStream(TStream* Stream);
    void LoadFromStream(TStream* Stream);
    // A block of cells in the grid's binary cell format.
    void SaveRectToBinStream(const TRect& Rect, TStream* Stream);
    void CopySelectionToClipboard();
    void CutSelectionToClipboard();
    void PasteSelectionFromClipboard();
    // Registers the grid's window as a drop target (True) or revokes a registration that
    // succeeded (False); DragDropSettings.OleDropTarget calls it.
    void SetOleDropTarget(bool Active);
    bool OleDropTargetAssigned() const { return FOleDropTargetAssigned; }
    TGridDropTarget* DropTarget() const { return FDropTarget; }
    // The drop-down editors the grid holds (nullptr until made; the grid makes none yet).
    TGridTrackbarDropDown* TrackbarDropDown() const { return FTrackbarDropDown; }
    TGridMemoDropDown* MemoDropDown() const { return FMemoDropDown; }
    TGridCalculatorDropDown* CalculatorDropDown() const { return FCalculatorDropDown; }
    TGridTimepickerDropDown* TimepickerDropDown() const { return FTimepickerDropDown; }
    TGridDetailPickerDropDown* DetailPickerDropDown() const { return FDetailPickerDropDown; }
    TGridGridDropDown* GridDropDown() const { return FGridDropDown; }
    TGridColorDropDown* ColorDropDown() const { return FColorDropDown; }
    TGridImageDropDown* ImageDropDown() const { return FImageDropDown; }
    TGridAdvGridDropDown* AdvGridDropDown() const { return FAdvGridDropDown; }
    // Sorting (virtual, in this order after the grid's other virtual operations): by
    // SortSettings' column and direction, by the sort-index columns, inside groups; QUnSort
    // restores the unsorted order.
    virtual void QSort();
    virtual void QSortIndexed();
    virtual void QSortGroup();
    virtual void QSortGroupIndexed();
    virtual void QUnSort();

protected:
    // ---- Construction and life cycle ----
    void CreateWnd() override;
    void Resize() override;
    String GetEditMask(int ACol, int ARow) override;
    // The object events the grid hooks: the navigation and mouse actions changed, the design
    // state asked for, a repaint asked for.
    virtual void NavigationChange(TObject*) {}
    virtual void MouseActionsChange(TObject*) {}
    virtual void IsDesignTime(TObject*, bool& IsDesigning);
    virtual void RefreshDisplay(TObject*) { Invalidate(); }
    // An in-place editor changed a cell: the next Invalidate repaints nothing.
    bool FEditChange = false;

    // TGridSettingsHost
    TPersistent* SettingsOwner() override { return this; }
    int SettingsFixedRows() const override { return FixedRows(); }
    bool SettingsDesigning() const override { return ComponentState().count(csDesigning) != 0; }
    void SettingsRepaintGrid() override { Invalidate(); }
    void SettingsRepaintRow(int ARow) override;
    void SettingsRepaintCell(int ACol, int ARow) override;
    TSortIndexList* SettingsSortIndexes() override { return FSortIndexes.get(); }
    // The sort engine is not part of the grid yet: rows keep their order.
    void SettingsSort() override {}
    void SettingsSortIndexed() override {}
    // Stored without a repaint: ControlLook passes its fixed-gradient colours on.
    void SettingsKitGradient(TFixedGradientColor Which, TColor Value) override;
    // No drop target is made yet (as for a failed registration).
    void SettingsOleDropTarget(bool) override {}
    void SettingsRTFDragDrop(bool) override {}
    void SettingsFooterRows(int AFixedFooters, bool HideLastRow) override;
    void SettingsHideLastRow(bool HideLastRow) override { FHideLastRow = HideLastRow; }
    // The grid has no footer panel yet.
    bool SettingsFooterPanelExists() const override { return false; }
    void SettingsFooterPanelHeight(int) override {}
    void SettingsFooterPanelVisible(bool) override {}
    void SettingsFooterPanelShowHint(bool) override {}
    void SettingsRepaintFooterPanel() override {}

    // ---- Update locking, painting messages, scaling and state changes ----
    // A lock without touching the window's redrawing, and dropping every lock without a repaint
    // (the grid's own handlers bracket internal scroll and row changes with these).
    void StartUpdate() { ++FUpdateCount; }
    void ResetUpdate() { FUpdateCount = 0; }
    virtual int GetVersionNr();
    virtual String GetVersionString();
    // The platform grid's scaling, then the sizes of the grid's extra fonts (not at design time).
    void ChangeScale(int M, int D) override;
    // The OnChange handlers of ShowModified (repaints column 0, where modified rows are marked)
    // and Bands (repaints the grid).
    void ShowModifiedChange(TObject* Sender);
    void BandsChange(TObject* Sender);
    void WMPaint(TWMPaint& Message);
    void WMEraseBkgnd(TWMEraseBkgnd& Message);
    void CMEnabledChanged(TMessage& Message);
    void CMColorChanged(TMessage& Message);
    void CMCursorChanged(TMessage& Message);
    void CMStyleChanged(TMessage& Message);

    int FUpdateCount = 0;
    bool FSelChange = false; // a selection change is pending until the last lock is released
    int FPaintCount = 0;     // 1 once a paint has been handled
    // The grid changed its cursor itself: a cursor change then keeps the mouse selection mode.
    bool Invokedchange = false;
    TMouseSelectMode FMouseSelectMode = msNormal;

    // ---- Moving, hiding and index maps of rows and columns ----
    // The cells of a display row (every stored column) into a list and back.
    void RowToStrings(int ARow, TStrings* AList) const;
    void StringsToRow(TStrings* AList, int ARow);
    // Empties a display row's texts and object slots without freeing the objects.
    void BlankStoredRow(int ARow);
    // Inserts one row at display position ARow and fills it from the record, which is freed.
    void RestoreRecord(TGridItem* Item, int ARow);

    // ---- Structure accessors and header lists ----
    // The column headers changed (the column grid copies them into its columns).
    virtual void ColumnHeadersChanged() {}
    virtual void F2KeyPressed() {}

    // ---- Look presets and link display settings ----

    // ---- Sorting, filtering, search, files, clipboard and drag and drop (bodies in grid/extras) ----
    // The handlers of the filter list box and the filter check list (their OnSelect).
    virtual void FilterSelect(TObject* Sender, int ItemIndex);
    virtual void FilterCheck(TObject* Sender, int ItemIndex);
    void FilterDropDownChanged(TObject* Sender);
    // The search panel's handlers.
    void SearchPanelEditChange(TObject* Sender);
    void SearchPanelForwardClick(TObject* Sender);
    void SearchPanelBackwardClick(TObject* Sender);
    void SearchPanelExitClick(TObject* Sender);
    void SearchPanelHighlightClick(TObject* Sender);
    // Frees every drop-down editor the grid holds (each reference cleared first).
    void FreeDropDownEditors();

private:
    // ---- Construction and life cycle ----
    struct TResizeLink;
    struct TResizeChainCall;
    void JoinFormResizeChain(TCustomForm* Form);
    void LeaveFormResizeChain();
    TCustomForm* FResizeForm = nullptr;
    std::shared_ptr<TResizeLink> FResizeLink;
    int FPrevSizeX = 0;
    int FPrevSizeY = 0;
    bool FGridLoaded = false;
    TScrollBarAlways FScrollBarAlways = saNone;
    TCursor FLoadedCursor = crDefault; // the cursor when loaded; set back when the grid goes
    bool FHideLastRow = false;
    UINT FWheelMsg = 0;
    int FWheelScrollLines = 0;
    bool FIsWinXP = false;
    bool FIsWin7 = false;
    bool FIsThemed = false;
    bool FIsVista = false;

    // ---- Update locking, painting messages, scaling and state changes ----
    int FOldSize = 0;               // the grid's width when the widths were taken
    TIntList FOrigColSizes{-1, -1}; // one width per column

    // ---- Moving, hiding and index maps of rows and columns ----
    template <class T> struct TFreeObject {
        void operator()(T* Obj) const { TObject::Free(Obj); }
    };
    template <class T> using TOwned = std::unique_ptr<T, TFreeObject<T>>;

    std::array<bool, MaxHideableCols + 1> FVisibleCol = MakeVisibleCols();
    int FNumHidden = 0;
    // The width of each hidden column, clamped into a signed 16-bit value.
    std::array<std::int16_t, MaxHideableCols + 1> FAllColWidths{};
    TOwned<TGridItems> FGridItems;
    int FFilterLevel = 0;
    TOwned<TIntList> FIgnoreColumns;
    TOwned<TControlList> FControlList;
    std::vector<int> FColumnOrder;
    bool FSelHidden = false;
    TGridRect FHiddenSel;
    static std::array<bool, MaxHideableCols + 1> MakeVisibleCols() {
        std::array<bool, MaxHideableCols + 1> a;
        a.fill(true);
        return a;
    }
    // The floating footer is shown: the grid's last row is its footer row and stays last.
    bool FooterRowShown() const { return FFloatingFooter && FFloatingFooter->Visible(); }

    // ---- Structure accessors and header lists ----
    TStringList* MakeHeaderList(bool Columns);
    TFont* MakeFixedFont();
    // For row operations that place every row themselves, the footer row included.
    void SetRowCountInPlace(int Value);
    bool FRowsInPlace = false;
    void MergedColumnsChanged();
    bool FFixedRowAlways = false;
    bool FFixedColAlways = false;
    int FFixedRowsMin = -1; // the last fixed count asked for; -1 none
    int FFixedColsMin = -1;
    int FMaxRowCount = 0;
    int FMaxColCount = 0;
    int FFixedFooters = 0;
    int FFixedRightCols = 0;
    int FFixedRowHeight = 24;
    TAlignment FDefaultAlignment = taLeftJustify;
    bool FGridWordWrap = true;
    int FLastReportedRow = -1;
    TOwned<TFont> FFixedFont;
    TOwned<TStringList> FLookupItems;
    TOwned<TStringList> FColumnHeaders;
    TOwned<TStringList> FRowHeaders;
    TOwned<TColumnSize> FColumnSize;
    TOwned<TSizeWhileTyping> FSizeWhileTyping;

    // ---- Look presets and link display settings ----
    TGridLook FLook = glXP;
    TAdvGridStyle FCurrentStyle = gsWindowsXP;
    TColor FActiveCellColor = 0x808080;
    TColor FActiveCellColorTo = clNone;
    TColor FSelectionColor = 0xEACAB6;
    TColor FSelectionColorTo = clNone;
    TColor FSelectionTextColor = 0;
    TColor FKitGradientFrom = 0xFFFFFF;
    TColor FKitGradientTo = 0xF0F0F0; // clBtnFace as RGB
    TColor FKitGradientMirrorFrom = clNone;
    TColor FKitGradientMirrorTo = clNone;
    // Indexed by TFixedGradientColor from fgHoverFrom on; they start as ControlLook's.
    std::array<TColor, fgDownBorder - fgHoverFrom + 1> FKitGradientHoverDown{
        0xFFFFFF, 0x808080, clNone, clNone, 0xC0C0C0, 0xC0C0C0, 0x808080, clNone, clNone, 0x808080};
    TScrollType FScrollType = ssNormal;
    TColor FBorderColor = 0xB99D7F;
    TColor FURLColor = 0xFF0000;
    bool FURLShow = false;
    bool FURLShowInText = false;
    bool FURLFull = false;

    // ---- Settings objects ----

    // ---- Sorting, filtering, search, files, clipboard and drag and drop (bodies in grid/extras) ----
    bool FFilterActive = false;
    bool FOleDropTargetAssigned = false;
    TGridDropTarget* FDropTarget = nullptr;
    TGridTrackbarDropDown* FTrackbarDropDown = nullptr;
    TGridMemoDropDown* FMemoDropDown = nullptr;
    TGridCalculatorDropDown* FCalculatorDropDown = nullptr;
    TGridTimepickerDropDown* FTimepickerDropDown = nullptr;
    TGridDetailPickerDropDown* FDetailPickerDropDown = nullptr;
    TGridGridDropDown* FGridDropDown = nullptr;
    TGridColorDropDown* FColorDropDown = nullptr;
    TGridImageDropDown* FImageDropDown = nullptr;
    TGridAdvGridDropDown* FAdvGridDropDown = nullptr;

    // The objects the constructor makes, in the order it makes them (see AdvGrid.cpp).
    TOwned<TFont> FCellFont;
    TOwned<TFocusHelper> FFocusHelper;
    TOwned<TSearchFooter> FSearchFooter;
    TOwned<TFloatingFooter> FFloatingFooter;
    TOwned<TSortSettings> FSortSettings;
    TOwned<TDragDropSettings> FDragDropSettings;
    TOwned<TDragScrollOptions> FDragScrollOptions;
    TOwned<TControlLook> FControlLook;
    TOwned<TNavigation> FNavigation;
    TOwned<TBands> FBands;
    TOwned<TMouseActions> FMouseActions;
    TOwned<TGrouping> FGrouping;
    TOwned<THTMLPictureCache> FImageCache;
    TOwned<TIntList> FInitialColSizes;
    TOwned<TFont> FActiveCellFont;
    TOwned<TStringList> FSortList;
    TOwned<TList> FSelectedRowList;
    TOwned<TList> FSelectedColList;
    TOwned<TSortIndexList> FSortIndexes;
    TOwned<TIntList> FSortRowMap;
    TOwned<TIntList> FUnSortRowMap;
    TOwned<TIntList> FMergedColumns;
    TOwned<TIntList> FSelectedCells;
    TOwned<TIntList> FSelectedRows;
    TOwned<TIntList> FModifiedRows;
    TOwned<TIntList> FEnabledRows;
    TOwned<TBitmap> FRowIndicator;
    TOwned<TBackGround> FBackGround;
    TOwned<TGridProgressAppearance> FProgressAppearance;
    TOwned<TSyncGrid> FSyncGrid;
    TOwned<TFilter> FFilter;
    TOwned<TBalloonSettings> FBalloon;
    TOwned<TShowModified> FShowModified;
    TOwned<TList> FNotifierList;
    TOwned<TFilterDropDown> FFilterDropDown;
    TOwned<TStringList> FFilterList;
    // Run time only.
    TOwned<TGridFocusWindow> FFocusWindow;
    std::array<TOwned<TArrowWindow>, 4> FArrows;

    template <class T> T* Make(TOwned<T>& Slot, T* Obj, const char* Name);
    template <class T> void Drop(TOwned<T>& Slot, const char* Name);
};
