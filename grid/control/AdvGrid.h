// The grid control: TAdvStringGrid, the string grid every window of the configurator uses, on the
// cell store of TBaseGrid. One class spans many topics; this header declares it whole and its
// member definitions live in AdvGrid*.cpp by topic (construction, update locking, hiding and index
// maps, structure, looks...). Each topic keeps its members in its own block below, so work on one
// topic leaves the others' lines alone.
#pragma once

#include "AdvGridLooks.h"
#include "AdvStyleIF.h"
#include "AdvGridMouseTypes.h"
#include "BaseGrid.h"
#include "CellGraphic.h"
#include "CellNode.h"
#include "GridAuxControls.h"
#include "GridFooterPanel.h"
#include "GridItem.h"
#include "GridOptions.h"
#include "GridPanelSettings.h"
#include "GridPrintSettings.h"
#include "AdvGridPrintLayout.h"
#include "GridScrollControls.h"
#include "GridSearchPanel.h"
#include "GridSettings.h"
#include "GridStructure.h"
#include "PictureContainer.h"
#include "SysUtils.h"
#include "ToolTips.h"

#include <array>
#include <bitset>
#include <cstdint>
#include <functional>
#include <memory>
#include <set>
#include <vector>

class OleVariant;
class TAdvStringGridCheck;
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
class TCustomImageList;
class TTimer;
class THTMLHintWindow;
class THeaderDragButton;
class TCustomIniFile;
class TDropList;
class TDropCheckList;
class TCheckListBox;
struct THintInfo;

// Event types of the grid's own dispatchers (the sender first; several take the row first).
enum TSearchAction { saFindFirst, saFindPrevious, saFindNext };
using TGridWideHintEvent = TEvent<TObject*, int /*ARow*/, int /*ACol*/, String& /*hintstr*/>;
using TIsFixedCellEvent = TEvent<TObject*, int /*ARow*/, int /*ACol*/, bool& /*IsFixed*/>;
using TIsPasswordCellEvent = TEvent<TObject*, int /*ARow*/, int /*ACol*/, bool& /*IsPassword*/>;
using TEditChangeEvent = TEvent<TObject*, int /*ACol*/, int /*ARow*/, const String& /*Value*/>;
using TDateTimeChangeEvent = TEvent<TObject*, int /*ACol*/, int /*ARow*/, TDateTime /*ADateTime*/>;
using TGetCheckEvent = TEvent<TObject*, int /*ACol*/, int /*ARow*/, String& /*Value*/>;
using THasComboEvent = TEvent<TObject*, int /*ACol*/, int /*ARow*/, bool& /*HasComboBox*/>;
using THasSpinEditEvent = TEvent<TObject*, int /*ACol*/, int /*ARow*/, bool& /*HasSpinEdit*/>;
using TCellCursorEvent =
    TEvent<TObject*, int /*ACol*/, int /*ARow*/, int /*X*/, int /*Y*/, TCursor& /*ACursor*/>;
using TWordWrapEvent = TEvent<TObject*, int /*ACol*/, int /*ARow*/, bool& /*WordWrap*/>;
using TGetColumnFilterEvent = TEvent<TObject*, int /*Column*/, TStrings* /*Filter*/>;
using TCustomFilterEvent = TEvent<TObject*, int /*ARow*/, bool& /*AcceptRow*/>;
using TFilterProgressEvent = TEvent<TObject*, int /*Progress*/>;
using TFilterSelectEvent = TEvent<TObject*, int /*Column*/, int /*ItemIndex*/, const String& /*FriendlyName*/,
                                  String& /*FilterCondition*/>;
using TFilterCheckEvent = TEvent<TObject*, int /*Column*/, int /*ItemIndex*/, const String& /*FriendlyName*/,
                                 String& /*FilterCondition*/, TCheckListBox* /*CheckList*/>;
using TSearchFooterActionEvent =
    TEvent<TObject*, const String& /*Value*/, int /*ACol*/, int /*ARow*/, TSearchAction /*SearchAction*/>;
enum TFilterDropDownColumns { fdNormal, fdAll };
// A custom column or group calculation over rows FromRow..ToRow: Res starts at 0.
using TGroupCalcEvent = TEvent<TObject*, int /*ACol*/, int /*FromRow*/, int /*ToRow*/, double& /*Res*/>;
// Where a cell's large-text hint shows: over the cell, or at the cursor.
enum THintShowLargeTextPos { hpCell, hpCursor };
using TCellBalloonEvent =
    TEvent<TObject*, int /*ACol*/, int /*ARow*/, String& /*ATitle*/, String& /*AText*/, int& /*AIcon*/>;

// Scrolling: which bars show a hint while their thumb is dragged, the directions of drag
// scrolling and the handler that may change them or refuse a step.
enum TScrollHintType { shNone, shVertical, shHorizontal, shBoth };
enum TDragScrollDirection { dsdUp, dsdDown, dsdLeft, dsdRight };
using TDragScrollDirections = TEnumSet<TDragScrollDirection>;
using TDragScrollEvent = TEvent<TObject*, int /*TopRow*/, int /*LeftCol*/,
                                TDragScrollDirections& /*DragScrollDir*/, bool& /*CanScroll*/>;

// The one listener a grid tells of each new current cell.
class ITAdvStringGridSelect {
public:
    virtual ~ITAdvStringGridSelect() = default;
    virtual void CellSelected(int ACol, int ARow) = 0;
};

// A component that hears of changed cells: it derives from this and registers with the grid,
// which keeps it in a list and does not own it.
class TGridChangeNotifier : public TComponent {
public:
    explicit TGridChangeNotifier(TComponent* AOwner) : TComponent(AOwner) {}
    virtual void CellsChanged(const TRect& /*R*/) {}
};
// ---- In-place editing: event types ----
class TEditLink;
class TAdvRichEdit;
class TControlEdit;
class TControlCombo;
class TRichEdit;
class TAdvStringGridCheck;
class TAdvInplaceEdit;
class TGridCombo;
class TGridSpin;
class TGridCheckBox;
class TGridDatePicker;
class TGridDateTimePicker;
class TGridEditBtn;
class TGridUnitEditBtn;
class TGridButton;
class TGridTransEdit;
class TGridTransCombo;
// The balloon-tip message of an edit: LParam is an EDITBALLOONTIP* (UTF-16 texts, the icon one of
// the tool-tip icon numbers). The platform's edits do not draw such a balloon yet.
constexpr UINT EM_SHOWBALLOONTIP = 0x1503;
struct EDITBALLOONTIP {
    DWORD cbStruct = 0;
    const char16_t* pszTitle = nullptr;
    const char16_t* pszText = nullptr;
    int ttiIcon = 0;
};
// The icon of the balloon shown on the editor after a refused validation (the platform's
// tool-tip icon numbers).
enum TInvalidEntryIcon { ieNone, ieInfo, ieWarning, ieError };
using TCellValidateEvent = TEvent<TObject*, int /*ACol*/, int /*ARow*/, String& /*Value*/, bool& /*Valid*/>;
using TCellValidateWideEvent =
    TEvent<TObject*, int /*ACol*/, int /*ARow*/, String& /*Value*/, bool& /*Valid*/>;
using TEditCellDoneEvent = TEvent<TObject*, int /*ACol*/, int /*ARow*/>;
using TGetEditorPropEvent = TEvent<TObject*, int /*ACol*/, int /*ARow*/, TEditLink* /*AEditLink*/>;
using TComboChangeEvent =
    TEvent<TObject*, int /*ACol*/, int /*ARow*/, int /*AItemIndex*/, const String& /*ASelection*/>;
using TComboObjectChangeEvent = TEvent<TObject*, int /*ACol*/, int /*ARow*/, int /*AItemIndex*/,
                                       const String& /*ASelection*/, TObject* /*AObject*/>;
// Which fixed cells follow the mouse with the hover look.
enum THoverFixedCells { hfNone, hfAll, hfFixedRows, hfFixedColumns };
using TCanShowFixedDropDownEvent = TEvent<TObject*, int /*ACol*/, bool& /*CanShow*/>;

// Timer, focus and size messages; window procedure, wheel and panning.
// The directions a press of the wheel button pans in (ipNone: no panning).
enum TIntelliPan { ipVertical, ipHorizontal, ipBoth, ipNone };
using TDropDownButtonClickEvent = TEvent<TObject*, int /*ACol*/, int /*ARow*/, int /*ButtonIndex*/>;
// A colour or an image picked in the colour or image drop-down editor (the current cell).
using TColorSelectEvent =
    TEvent<TObject*, int /*ACol*/, int /*ARow*/, TColor /*Color*/, const String& /*Value*/>;
using TImageSelectEvent = TEvent<TObject*, int /*ACol*/, int /*ARow*/, int /*Index*/>;
// The value of the colour or image drop-down editor about to be stored into the cell (real column).
using TColorSelectedEvent =
    TEvent<TObject*, int /*ACol*/, int /*ARow*/, TColor& /*Color*/, String& /*Value*/>;
using TImageSelectedEvent = TEvent<TObject*, int /*ACol*/, int /*ARow*/, int& /*Index*/>;
using TGridUnitChangedEvent = TEvent<TObject*, int /*ACol*/, int /*ARow*/, const String& /*NewUnit*/>;

// A request the grid cannot answer: a cell value of the wrong type, a cell outside the grid.
class EAdvGridError : public Exception {
    using Exception::Exception;
};

// The clipboard events of the in-place editor (Sender = the editor).
using TGridClipboardEvent = TEvent<TObject*, bool& /*Allow*/>;
using TClipboardPasteCellEvent =
    TEvent<TObject*, int /*ACol*/, int /*ARow*/, String& /*Value*/, bool& /*Allow*/>;
using TClipboardAfterPasteCellEvent = TEvent<TObject*, int /*ACol*/, int /*ARow*/, const String& /*Value*/>;

using TRatingChangeEvent = TEvent<TObject*, int /*ACol*/, int /*ARow*/, double& /*NewRate*/, bool& /*Allow*/>;
// A row of the disjunct row selection is about to change its flag (Allow False keeps it), and has.
using TRowDisjunctSelectEvent = TEvent<TObject*, int /*ARow*/, bool /*Value*/, bool& /*Allow*/>;
using TRowDisjunctSelectedEvent = TEvent<TObject*, int /*ARow*/>;
// ---- Enter advance, the current-cell check and the keyboard: event types ----
using TAutoAdvanceEvent =
    TEvent<TObject*, int /*OldRow*/, int /*OldCol*/, int& /*NewRow*/, int& /*NewCol*/, bool& /*Allow*/>;
using TCellChangingEvent =
    TEvent<TObject*, int /*OldRow*/, int /*OldCol*/, int /*NewRow*/, int /*NewCol*/, bool& /*Allow*/>;
using TRowChangingEvent = TEvent<TObject*, int /*OldRow*/, int /*NewRow*/, bool& /*Allow*/>;
using TColChangingEvent = TEvent<TObject*, int /*OldCol*/, int /*NewCol*/, bool& /*Allow*/>;
using TRadioClickEvent = TEvent<TObject*, int /*ACol*/, int /*ARow*/, int /*AIdx*/>;
using TRadioButtonClickEvent = TEvent<TObject*, int /*ACol*/, int /*ARow*/>;

// The events of the mouse movement: the fixed cells' drop-down button, OLE drags, live column and
// row moves and sizes, links entered and left, and a changed selection.
using TFixedDropDownClickEvent =
    TEvent<TObject*, int /*ACol*/, int /*ARow*/, TPopupMenu*& /*AMenu*/, bool& /*KeepFixedCellHighlighted*/>;
using TOleDragEvent = TEvent<TObject*, int /*ARow*/, int /*ACol*/, const String& /*data*/, bool& /*Allow*/>;
using TOleDragStartEvent = TEvent<TObject*, int /*ARow*/, int /*ACol*/>;
using TOleDragStopEvent = TEvent<TObject*, int /*OLEEffect*/>;
using TOleDropEvent = TEvent<TObject*, int /*ARow*/, int /*ACol*/, const String& /*data*/, bool& /*Allow*/>;
using TOleDropFileEvent =
    TEvent<TObject*, int /*ARow*/, int /*ACol*/, const String& /*FileName*/, bool& /*Allow*/>;
using TOleDropURLEvent = TEvent<TObject*, int /*ARow*/, int /*ACol*/, const String& /*URL*/, bool& /*Allow*/>;
using TOleDragOverEvent = TEvent<TObject*, int /*ARow*/, int /*ACol*/, bool& /*Allow*/>;
using TOleDropColEvent = TEvent<TObject*, int /*ARow*/, int /*ACol*/, int /*DropCol*/>;
using TOleDroppedEvent = TEvent<TObject*, const TGridRect& /*ARect*/>;
using TRowColMoveEvent = TEvent<TObject*, int /*ACol or ARow*/, bool& /*Allow*/>;
using TRowColSizingEvent = TEvent<TObject*, int /*ACol or ARow*/, int /*Size*/>;
using TAnchorEvent = TEvent<TObject*, int /*ARow*/, int /*ACol*/, const String& /*Anchor*/>;
using TSelectionChangedEvent = TEvent<TObject*, int /*ALeft*/, int /*ATop*/, int /*ARight*/, int /*ABottom*/>;

// The keys of the grid's disjunct cell selection, one per selected cell: row x 65536 + column.
// They are 64 bits wide, so rows from 32768 on neither overflow nor share a key with another row;
// below row 65536 a key equals the 32-bit key of the grid's older cell lists.
class TSelectedCellList : public TObject {
public:
    static std::int64_t Key(int ACol, int ARow) { return std::int64_t(ARow) * 65536 + (ACol & 0xFFFF); }
    static TGridCoord Coord(std::int64_t Key) { return TGridCoord(int(Key & 0xFFFF), int(Key >> 16)); }
    int Count() const { return int(FItems.size()); }
    // The key at I; 0 outside the list.
    std::int64_t Items(int I) const { return I >= 0 && I < Count() ? FItems[size_t(I)] : 0; }
    int IndexOf(std::int64_t Key) const;
    void Add(std::int64_t Key) { FItems.push_back(Key); }
    void Delete(int I);
    void Clear() { FItems.clear(); }

private:
    std::vector<std::int64_t> FItems;
};

class TAdvStringGrid : public TBaseGrid, public TGridSettingsHost, public IKitStyle, public IKitTones {
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

    // Writing re-applies the bounds, so that switching it on cuts the height at once.
    bool IntegralHeight() const { return FIntegralHeight; }
    void SetIntegralHeight(bool Value);
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

    // ---- Row and column insertion, removal, clearing and merging ----
    // Indexes are display ones. Removals keep the side structures in step (heights, cell
    // controls, modified and enabled row flags, the disjunct selections, hidden rows); a count
    // reaching past the last row or column is cut to the ones that exist.
    virtual void RemoveRows(int RowIndex, int RCount);
    // Removes the rows whose check box in the column is in the state RemoveChecked.
    void RemoveCheckedRows(int CheckBoxColumn, bool RemoveChecked);
    // Removes every data row whose text in ACol repeats one above it, compared without case;
    // DoCase only keeps the case of the remembered texts.
    void RemoveDuplicates(int ACol, bool DoCase);
    void RemoveSelectedRows();
    void RemoveUnSelectedRows();
    void HideSelectedRows();
    void HideUnSelectedRows();
    // New columns get the default width, are shown and empty; no change is reported.
    virtual void InsertCols(int ColIndex, int CCount);
    void AddColumn() { InsertCols(ColCount(), 1); }
    // Storage columns (hidden ones counted).
    virtual void RemoveCols(int ColIndex, int CCount);
    void RemoveSelectedCols();
    void RemoveUnSelectedCols();
    // Joins column ColIndex2 into ColIndex1 (trimmed, Separator between) and removes it.
    void MergeCols(int ColIndex1, int ColIndex2, const String& Separator);
    // Empties texts and frees cell properties with their cell graphic (not with ClearTextOnly);
    // a user value attached to a cell is never freed.
    virtual void ClearRect(int ACol1, int ARow1, int ACol2, int ARow2);
    void ClearRows(int RowIndex, int RCount);
    void ClearNormalRows(int RowIndex, int RCount);
    void ClearCols(int ColIndex, int CCount);
    void ClearNormalCols(int ColIndex, int CCount);
    void ClearNormalCells();
    void Clear();
    // Clear, and the texts of the hidden rows too.
    void ClearAll();
    void ClearSelection();
    virtual void TrimRect(int ACol1, int ARow1, int ACol2, int ARow2);
    void TrimColumn(int ACol) { TrimRect(ACol, 0, ACol, RowCount() - 1); }
    void TrimRow(int ARow) { TrimRect(0, ARow, ColCount() - 1, ARow); }
    void TrimAll() { TrimRect(0, 0, ColCount() - 1, RowCount() - 1); }
    void ColorRect(int ACol1, int ARow1, int ACol2, int ARow2, TColor AColor);
    // Merges the runs of equal texts in a row's normal columns (MainMerge false: only where the
    // column spans are identical).
    void MergeRowCells(int RowIndex, bool MainMerge);
    void SplitRowCells(int RowIndex);
    void SplitAllCells();
    // The text starts with the wide-text marker "|\".
    bool IsWideCell(int ACol, int ARow);
    // The first cell (row by row) whose stored text equals SubStr exactly.
    bool IsCell(const String& SubStr, int& ACol, int& ARow);

    // ---- Column and row calculations, sizing and swapping ----
    // Statistics over the rows FromRow..ToRow of a column (-1 for either: the data rows without
    // the fixed footers); a ToRow past the shown rows counts real rows, hidden ones included.
    // Node rows, summary rows while grouped and cells covered by a merged area do not count.
    double ColumnSum(int ACol, int FromRow, int ToRow);
    double ColumnAvg(int ACol, int FromRow, int ToRow);
    double ColumnMin(int ACol, int FromRow, int ToRow);
    double ColumnMax(int ACol, int FromRow, int ToRow);
    // Population standard deviation; every cell must hold a number.
    double ColumnStdDev(int ACol, int FromRow, int ToRow);
    // The number of different texts, compared without case.
    double ColumnDistinct(int ACol, int FromRow, int ToRow);
    double ColumnCustomCalc(int ACol, int FromRow, int ToRow);
    double CustomGroupCalc(int ACol, int FromRow, int ToRow);
    double RowSum(int ARow, int FromCol, int ToCol);
    double RowAvg(int ARow, int FromCol, int ToCol);
    double RowMin(int ARow, int FromCol, int ToCol);
    double RowMax(int ARow, int FromCol, int ToCol);
    TGroupCalcEvent OnColumnCalc;
    TGroupCalcEvent OnGroupCalc;
    // The exporters' progress hook; the pass of a column statistic and the finder announce
    // themselves too.
    enum TGridExportState {
        esExportStart,
        esExportNewRow,
        esExportDone,
        esExportSelRow,
        esExportFail,
        esExportNextRow
    };
    virtual void ExportNotification(TGridExportState /*State*/, int /*ARow*/) {}
    // The importers' progress hook (the clipboard's paste announces its rows).
    enum TGridImportState { isImportStart, isImportNewRow, isImportDone, isImportSelRow };
    virtual void ImportNotification(TGridImportState /*State*/, int /*ARow*/) {}

    void SelectCells(int FromCol, int FromRow, int ToCol, int ToRow);
    // The selected cells' texts, a tab between cells and CR LF between rows.
    String SelectedText();

    // Numbers the data cells of a column (row) 1, 2, 3 ... from AutoNumberStart on.
    void AutoNumberCol(int ACol);
    void AutoNumberRow(int ARow);
    int AutoNumberStart = 0;
    int AutoNumberOffset = 0;
    TSortDirection AutoNumberDirection = sdAscending;

    // Sizing to the contents, measured with the canvas's own text metrics. Widths and heights
    // are held within MinColWidth/MaxColWidth and MinRowHeight/MaxRowHeight.
    void AutoSizeCells(bool DoFixedCells, int PaddingX, int PaddingY);
    void AutoSizeColumns(bool DoFixedCols, int Padding);
    void AutoSizeCol(int ACol, int Padding);
    void AutoSizeRows(bool DoFixedRows, int Padding);
    void AutoSizeRow(int ARow, int Padding);
    void SizeColToContents(int ACol, bool GrowOnly);
    void SizeRowToContents(int ARow, bool GrowOnly, int Extra);
    void SetRowHeightByLines(int ARow, int Lines, int Extra);
    // The control's client area to the sum of the column widths / row heights.
    void SizeToCols();
    void SizeToRows();
    void SizeToCells();
    // Scales the columns so that they fill the control's width.
    void AutoFitColumns(bool DoFixedCells);
    // The width automatic sizing found for a column: OnUpdateColumnSize may change it.
    virtual void UpdateAutoColumnSize(int ACol, int& AWidth);
    TUpdateColumnSizeEvent OnUpdateColumnSize;

    // Exchange two columns (rows) whole: texts, cell objects, widths (heights), cell controls.
    void SwapColumns(int ACol1, int ACol2);
    void SwapRows(int ARow1, int ARow2);
    // The exchange step of sorting: counts Swaps, keeps the sort cross reference, the heights,
    // the row selection and modified marks and SortRow with their rows.
    virtual void SortSwapRows(int ARow1, int ARow2);
    int Swaps = 0;
    int SortRow = -1;
    // Cell comparisons made by sorting; the sense of the last single-column sort (+1 ascending,
    // -1 descending, 0 before any).
    int Compares = 0;
    int SortDir = 0;

    // ---- Structure accessors and header lists ----
    // Counts and indexes are display ones: hidden rows and columns are not counted.
    void SetRowCount(int Value);
    virtual void SetColCount(int Value);
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
    // Whether row ARow passes the filter items and OnCustomFilter.
    virtual bool MatchFilter(int ARow);
    // The incremental filter: one character more narrows the rows shown, one less widens them
    // again, any other change filters anew; an empty text shows every row. Column -1 looks for
    // the text anywhere in the row.
    void NarrowDown(const String& ACondition, int AColumn);
    TCustomFilterEvent OnCustomFilter;
    TFilterProgressEvent OnFilterProgress;
    TFilterSelectEvent OnFilterSelect;
    TFilterCheckEvent OnFilterCheck;
    TNotifyEvent OnFilterDone;
    // The first row from FixedRows on whose stripped text starts with S (upper case); -1 for none.
    int Search(const String& S);
    // The text without its error marks.
    String UnMarkText(const String& Text);
    // Copies SearchFooter onto the search panel.
    void UpdateSearchPanel();
    // The grid's cell stream: column and row counts, column widths, non-empty cells.
    void SaveToStream(TStream* Stream);
    void LoadFromStream(TStream* Stream);
    // A block of cells in the grid's binary cell format: a header, then per cell its text and,
    // when it has them, its properties and its graphic. A rectangle reaching beyond column or
    // row 65535 raises EAdvGridError before anything is written.
    void SaveRectToBinStream(const TRect& Rect, TStream* Stream);
    void SaveToBinStream(TStream* Stream);
    // Written whole or not at all.
    void SaveToBinFile(const String& FileName);
    // Places the cells with the first one at Point (a whole-grid stream at (0, 0), after sizing
    // the grid as it was). Every length and count is checked: a damaged stream raises EReadError
    // "Stream read error" and leaves the cells placed before the damage. Cell objects and
    // controls are taken over only from a stream this grid wrote in this process.
    void LoadAtPointFromBinStream(const TPoint& Point, TStream* Stream);
    void LoadFromBinStream(TStream* Stream);
    void LoadFromBinFile(const String& FileName);
    // The grid's own text format in a file: UTF-16 with a byte-order mark or the ANSI code page.
    void SaveToFile(const String& FileName, bool Unicode = true);
    void LoadFromFile(const String& FileName);
    // Column-aligned plain text; the append keeps an existing file's lines first.
    void SaveToASCII(const String& FileName, bool Unicode = true);
    void AppendToASCII(const String& FileName, bool Unicode = true);
    // Fixed-width text: positions holds field widths (missing ones are appended) / sorted 1-based
    // start positions.
    void SaveToFixed(const String& FileName, TIntList* Positions);
    void LoadFromFixed(const String& FileName, TIntList* Positions, bool DoTrim = true, int MaxRows = -1);
    // The cell's text as a number (0 for an empty cell).
    double CellToReal(int ACol, int ARow);
    void SaveToCSV(const String& FileName, bool Unicode = true);
    void AppendToCSV(const String& FileName, bool Unicode = true);
    void LoadFromCSV(const String& FileName, int MaxRows = -1);
    void InsertFromCSV(const String& FileName, int MaxRows = -1);
    void LoadFromCSVStream(TStream* AStream, int MaxRows = -1);
    // The grid as an HTML table; Dir (with a trailing "/") receives the images folder.
    String SaveToHTMLString(const String& Dir);
    void SaveToHTML(const String& FileName, bool Show = false, bool Unicode = false);
    void AppendToHTML(const String& FileName, bool Show = false, bool Unicode = false);
    void SaveToXML(const String& FileName, const String& ListDescr, const String& RecordDescr,
                   TStrings* FieldDescr, bool ExportEmptyCells = false);
    void LoadFromXML(const String& FileName, bool LevelToRow = false, bool LoadFieldDescr = false);
    // Spreadsheet and word-processor documents and desktop-database tables, through the office
    // suite's and the database engine's automation objects (Automation.h). Each shows the
    // hourglass while it runs. Without a spreadsheet program they raise EAdvGridError "Excel OLE
    // server not found", without a word processor "Word OLE server not found"; the database
    // loaders pass the automation error on. GetXLSSheets' list belongs to the caller.
    TStringList* GetXLSSheets(const String& FileName);
    void LoadFromXLS(const String& FileName);
    void LoadFromXLSSheet(const String& FileName, const String& SheetName);
    void SaveToXLS(const String& FileName, bool CreateNewSheet = true);
    void SaveToXLSSheet(const String& FileName, const String& SheetName);
    void SaveToDOC(const String& FileName, bool CreateNewDocument = true);
    void AppendToDoc(const String& FileName, const String& Bookmark);
    void LoadFromMDBTable(const String& FileName, const String& Table);
    void LoadFromMDBSQL(const String& FileName, const String& SQL);
    // CSV texts are converted to and from the OEM code page.
    bool OemConvert = false;
    // Progress of the file and stream writers and readers in per cent.
    TEvent<TObject*, short /*Progress*/> OnFileProgress;
    // Clipboard. Text goes as a block: cells separated by TAB, rows by CR LF (a block of several
    // rows ends with CR LF), a cell holding CR quoted with its CRs turned into LF. With
    // Navigation's AllowRTFClipboard the top-left cell's RTF goes too, with AllowFmtClipboard the
    // cells in the grid's binary cell format, all published together.
    String GetSelectionAsText();
    // Writes a text block from the selection's top-left cell with the raw cell setter (no events,
    // no undo, no editability test); the grid grows to take the block.
    void SetSelectionAsText(const String& Value);
    // The text block of a rectangle (display columns); with Disjunct, only the rows and columns
    // of the disjunct selections that are on.
    String SelectionToText(const TRect& Rect, bool Disjunct);
    void CopyRectToClipboard(const TRect& Rect, bool Disjunct);
    // The selection, widened to whole merged areas (the disjunct selection when one is on).
    void CopySelectionToClipboard();
    // The save rectangle.
    void CopyToClipBoard();
    // The grid as an HTML fragment and as text; images go to this run's temporary folder.
    void CopyToClipBoardAsHTML();
    // A copy, then the editable cells (every cell with AllowClipboardAlways) are cleared.
    void CutSelectionToClipboard();
    void CutToClipboard();
    // Pastes at the selection's top-left cell, then fills the rest of the selection from the
    // pasted cells with AllowSmartClipboard.
    void PasteSelectionFromClipboard();
    // Pastes at the save start cell.
    void PasteFromClipboard();
    // Pastes the clipboard at a cell: the grid's own cells, else RTF, else text. Answers the
    // number of cells pasted (see PasteText); Rows and Cols report the size of the paste. A
    // damaged cells block raises EReadError before the grid grows.
    int PasteFromClipboardAt(int ACol, int ARow, int& Rows, int& Cols);
    // Pastes a text block with the first field at (ACol, ARow): one per field processed, the
    // empty remainder after a final line break included. Lines is the number of lines, Fields
    // the number of fields of the last line. Cells past the grid's end are written only when the
    // clipboard growth options let the grid grow to take them.
    int PasteText(int ACol, int ARow, int& Lines, int& Fields, const String& Text);
    // The size of a text block: Cols the most TAB-separated fields of a line, Rows the line
    // breaks less the empty lines, the remainder after a final break counting as one (k lines,
    // with or without a final break, give k - 1; never below 0).
    void TextBlockSize(const String& Text, int& Cols, int& Rows);
    // Per pasted cell: the before-events may change the value or refuse it. Values stored as
    // packed wide text (starting with "|\") go through the Wide events, unpacked.
    TClipboardPasteCellEvent OnClipboardBeforePasteWideCell;
    TClipboardAfterPasteCellEvent OnClipboardAfterPasteWideCell;
    // Registers the grid's window as a drop target (True) or revokes a registration that
    // succeeded (False); DragDropSettings.OleDropTarget calls it.
    void SetOleDropTarget(bool Active);
    bool OleDropTargetAssigned() const { return FOleDropTargetAssigned; }
    TGridDropTarget* DropTarget() const { return FDropTarget; }
    // The drop-down editors, each made on first use with the grid as owner and parent, hidden,
    // with the grid's component style and colour tones (nullptr while designing); bodies in
    // dropdowns/GridDropDownEditors.cpp.
    TGridTrackbarDropDown* TrackbarDropDown();
    TGridMemoDropDown* MemoDropDown();
    TGridCalculatorDropDown* CalculatorDropDown();
    TGridTimepickerDropDown* TimePickerDropDown();
    TGridDetailPickerDropDown* DetailPickerDropDown();
    TGridGridDropDown* GridDropDown();
    TGridColorDropDown* ColorPickerDropDown();
    TGridImageDropDown* ImagePickerDropDown();
    TGridAdvGridDropDown* AdvGridDropDown();
    // The colour and image editors' OnSelect hooks: OnColorSelect with the picked colour and its
    // text, OnImageSelect with the picked item index (the current cell; nothing without handler).
    virtual void ColorSelect(TObject* Sender);
    virtual void ImageSelect(TObject* Sender);
    TColorSelectEvent OnColorSelect;
    TImageSelectEvent OnImageSelect;
    // Fired when the colour or image editor's value is committed; the handler may change it.
    TColorSelectedEvent OnColorSelected;
    TImageSelectedEvent OnImageSelected;
    // Sorting (virtual, in this order after the grid's other virtual operations): by
    // SortSettings' column and direction, by the sort-index columns, inside groups; QUnSort
    // restores the unsorted order.
    virtual void QSort();
    virtual void QSortIndexed();
    virtual void QSortGroup();
    virtual void QSortGroupIndexed();
    virtual void QUnSort();
    // Column and direction into SortSettings, then QSort; SortByColumn keeps the direction and
    // does nothing on a grid of one row or none.
    void Sort(int Column, TSortDirection Direction);
    void SortByColumn(int Col);
    // Rows Left..Right by one column or by SortIndexes, without update bracket or current row.
    void QuickSort(int Col, int Left, int Right);
    void QuickSortIndexed(int Left, int Right);
    // Compares two rows from column Col on and swaps them when they are out of order (True).
    bool SortLine(int Col, int ARow1, int ARow2);
    // The sort cross reference back to 0 .. RowCount - 1.
    void InitSortXRef();
    // -1, 0 or 1: 1 when the cell of ARow1 sorts after the cell of ARow2 ascending.
    int CompareRowCells(int ACol, int ARow1, TSortDirection Direction, int ARow2);
    int CompareRowsFull(int ACol, int ARow1, int ARow2);
    int CompareRowsIndexed(int KeyIndex, int ARow1, int ARow2);
    TCustomCompareEvent OnCustomCompare;
    TRawCompareEvent OnRawCompare;

    // ---- Cell text geometry (bodies in grid/extras) ----
    // The whole text inset of a cell: XYOffset once with XYOffsetTopLeftOnly, else on both sides.
    int TotalXOffset() const;
    int TotalYOffset() const;
    // Moves R.Left and R.Top (of R shrunk by 2 on every side) to where Text, drawn in the grid
    // canvas's font turned by Angle degrees counter-clockwise, starts so that it lies aligned in R.
    void PlaceRotatedText(TRect& R, int Angle, const String& Text, TAlignment HAlign, TVAlignment VAlign);
    // The alignment rule alone for text measured elsewhere: A the horizontal run of the text line,
    // C its vertical rise, B and D the horizontal and vertical extents of its height.
    static void AlignRotatedText(TRect& R, TAlignment HAlign, TVAlignment VAlign, int Angle, int A, int B,
                                 int C, int D);
    // The most text lines among the shown cells of a row (at least 1).
    int MaxLinesInRow(int ARow);
    // The length of the longest line among the export texts of a column (0 for empty cells).
    int MaxLineLengthInCol(int ACol);
    bool XYOffsetTopLeftOnly = false;
    // Cell texts may hold several lines separated by carriage returns.
    bool Multilinecells = false;

    // ---- Text measuring, alignment and visual settings ----
    // DefaultAlignment and VAlignment, numbers right-aligned with AutoNumAlign, the alignment of
    // the cell's properties, then OnGetAlignment. ACol is a real column.
    void GetCellAlignment(int ACol, int ARow, TAlignment& HAlign, TVAlignment& VAlign);
    // The text a cell shows: the base cell's text, a number formatted by OnGetFloatFormat.
    virtual String GetFormattedCell(int ACol, int ARow);
    // The size the cell's text needs in pixels; VS leaves room for a button, SB measures
    // word-wrapped against the cell's width. Never raises.
    TSize GetCellTextSize(int ACol, int ARow, bool VS, bool SB);
    TSize CalcCellTextSize(int ACol, int DisplCol, int ARow, bool VS, bool SB);
    // The font and brush the cell is measured with.
    void GetFontProperties(int DisplCol, int ACol, int ARow, TGridDrawState& AState, TFont* AFont,
                           TBrush* ABrush, bool Remap);
    // The text a calculation gives for the cell (the base cell's text: no calculation engine).
    virtual void GetCalculatedCell(int ACol, int ARow, String& Value);
    // The text exporters write for a cell: the formatted text with SaveVirtCells, else the stored
    // text.
    virtual void SaveCell(int ACol, int ARow, String& Value);
    // Stores a text an importer read: OnLoadCell may change it, then the cell's own text is set.
    virtual void LoadCell(int ACol, int ARow, const String& Value);
    TEvent<TObject*, int /*ACol*/, int /*ARow*/, String& /*Value*/> OnLoadCell;
    bool IsStyled() override { return UseVCLStyles; }

    bool AutoNumAlign = false;
    bool UseVCLStyles = false;
    TFloatFormatEvent OnGetFloatFormat;
    TVAlignment VAlignment() const { return FVAlignment; }
    void SetVAlignment(TVAlignment Value);
    // The draw flag of VAlignment for the text painter: 0, DT_VCENTER or DT_BOTTOM.
    Cardinal VAlignFlag() const { return FVAlignFlag; }
    TColor SelectionMirrorColor() const { return FSelectionMirrorColor; }
    void SetSelectionMirrorColor(TColor Value);
    TColor SelectionMirrorColorTo() const { return FSelectionMirrorColorTo; }
    void SetSelectionMirrorColorTo(TColor Value);
    bool SelectionColorMixer() const { return FSelectionColorMixer; }
    void SetSelectionColorMixer(bool Value);
    // 0..100; values outside are cut to the range.
    int SelectionColorMixerFactor() const { return FSelectionColorMixerFactor; }
    void SetSelectionColorMixerFactor(int Value);
    bool SelectionRectangle() const { return FSelectionRectangle; }
    void SetSelectionRectangle(bool Value);
    bool SelectionResizer() const { return FSelectionResizer; }
    void SetSelectionResizer(bool Value);
    bool ShowSelection() const { return FShowSelection; }
    void SetShowSelection(bool Value);
    bool ActiveCellShow() const { return FActiveCellShow; }
    void SetActiveCellShow(bool Value);
    void SetBackGround(TBackGround* Value);
    TBitmap* RowIndicator() const { return FRowIndicator.get(); }
    void SetRowIndicator(TBitmap* Value);
    TColor HighlightColor() const { return FHighlightColor; }
    void SetHighlightColor(TColor Value);
    TColor HighlightTextColor() const { return FHighlightTextColor; }
    void SetHighlightTextColor(TColor Value);
    bool Hovering = false;
    void SetShowDesignHelper(bool Value);
    void SetXYOffset(TPoint Value);
    // Stores the offset without repainting.
    void UpdateXYOffset(int X, int Y) { XYOffset = TPoint(X, Y); }
    bool Flat() const { return FFlat; }
    void SetFlat(bool Value);
    bool AutoSize() const { return FAutoSize; }
    void SetAutoSize(bool Value);
    int MaxEditLength() const { return FMaxEditLength; }
    void SetMaxEditLength(int Value);
    bool SpreadSheet() const { return FSpreadSheet; }
    void SetSpreadSheet(bool Value);
    // The platform grid's selection; with ActiveCellShow the headers follow, with ActiveRowShow
    // the selection's last row is repainted.
    void SetSelection(const TGridRect& Value);
    TColor DisabledFontColor = 0xC0C0C0;
    bool UseDisabledFont = true;
    bool UseEnabledRows = false;

    // ---- Query and event dispatchers ----
    // The grid's rule for a per-cell decision, then its event with the answer to change. ACol is
    // a real column; the events get the arguments in their own order.
    virtual void CanEditCell(int ACol, int ARow, bool& CanEdit);
    virtual void SearchFooterAction(const String& Value, int ACol, int ARow, TSearchAction SearchAction);
    virtual void ButtonClick(int ACol, int ARow);
    // Then the row takes the expand button's height for the state.
    virtual void ExpandClick(int ACol, int ARow, bool Expanded);
    virtual void ComboCloseUp(int ARow, int ACol);
    virtual void ComboDropDown(int ARow, int ACol);
    // Only with OnGetCellCursor: the cursor it answers (starting as Cursor) is shown.
    virtual void GetCellCursor(int ACol, int ARow, int X, int Y);
    // OnGridHint, then OnGridWideHint; a wide hint replaces the plain one in packed form.
    virtual void GridHint(int ACol, int ARow, String& hintstr, String& widehint);
    // The active cell's headers, the colours and font of the cell's properties, OnGetCellColor.
    virtual void GetCellColor(int ACol, int ARow, TGridDrawState AState, TBrush* ABrush, TFont* AFont);
    virtual void GetCellPrintColor(int ACol, int ARow, TGridDrawState AState, TBrush* ABrush, TFont* AFont);
    // The lines under group headers and over summary rows, then OnGetCellBorder.
    virtual void GetCellBorder(int ACol, int ARow, TPen* APen, TCellBorders& Borders);
    virtual void GetCellPrintBorder(int ACol, int ARow, TPen* APen, TCellBorders& Borders);
    virtual void GetAlignment(int ACol, int ARow, TAlignment& HAlign, TVAlignment& VAlign);
    virtual void GetFormat(int ACol, TSortStyle& AStyle, String& aPrefix, String& aSuffix);
    virtual void DoGetEditorType(int ACol, int ARow, TEditorType& AEditor);
    virtual void GetCellEditor(int ACol, int ARow, TEditorType& AEditor);
    // True when OnGetEditorType answers edNone.
    virtual bool HasNoEditor(int ACol, int ARow);
    // Fixed by the fixed counts and the "always" rules; OnIsFixedCell only for a cell not fixed.
    virtual void IsFixedCell(int ACol, int ARow, bool& IsFixed);
    // The base cell's read-only flag and goEditing, then CanEditCell.
    virtual void QueryCanEdit(int ACol, int ARow, bool& CanEdit);
    virtual void IsPasswordCell(int ACol, int ARow, bool& IsPassword);
    virtual void GetCellWordWrap(int ACol, int ARow, bool& WordWrap);
    virtual bool HasComboBox(int ACol, int ARow);
    // Never in a fixed cell.
    virtual bool HasSpinEdit(int ACol, int ARow);
    virtual void GetCheckTrue(int ACol, int ARow, String& Value);
    virtual void GetCheckFalse(int ACol, int ARow, String& Value);
    // Fills FilterList with the column's values (FilterDropDownAuto) and asks OnGetColumnFilter;
    // True when the list is not empty.
    virtual bool GetColumnFilter(int ACol);
    // The fixed-cell query of the cell store answers through IsFixedCell.
    bool IsFixed(int ACol, int ARow) override;
    // New cell properties start from the cell's visual properties, without a stored background
    // where the painting rules give one.
    void GetDefaultVisualProps(int ACol, int ARow, TFont* AFont, TBrush* ABrush, TColor& AColorTo,
                               TColor& AMirrorColor, TColor& AMirrorColorTo, TAlignment& HA, TVAlignment& VA,
                               bool& WW, TCellGradientDirection& GD) override;
    // Relays of the date editors and the cell button.
    void DateAndTimePickerTimeChange(TObject* Sender);
    void DatePickerChange(TObject* Sender);
    void DatePickerCloseUp(TObject* Sender);
    void DatePickerDropDown(TObject* Sender);
    void GridButtonClick(TObject* Sender);

    TEditorType DefaultEditor = edNormal;
    bool FilterDropDownAuto() const { return FFilterDropDownAuto; }
    void SetFilterDropDownAuto(bool Value);
    TFilterDropDownColumns FilterDropDownColumns = fdNormal;
    TCanEditCellEvent OnCanEditCell;
    TSearchFooterActionEvent OnSearchFooterAction;
    TButtonClickEvent OnButtonClick;
    TExpandClickEvent OnExpandClick;
    TClickCellEvent OnComboCloseUp;
    TClickCellEvent OnComboDropDown;
    TCellCursorEvent OnGetCellCursor;
    TGridHintEvent OnGridHint;
    TGridWideHintEvent OnGridWideHint;
    TGridColorEvent OnGetCellColor;
    TGridColorEvent OnGetCellPrintColor;
    TGridBorderEvent OnGetCellBorder;
    TGridBorderEvent OnGetCellPrintBorder;
    TGridAlignEvent OnGetAlignment;
    TGridFormatEvent OnGetFormat;
    TGetEditorTypeEvent OnGetEditorType;
    TIsFixedCellEvent OnIsFixedCell;
    TIsPasswordCellEvent OnIsPasswordCell;
    TWordWrapEvent OnGetWordWrap;
    THasComboEvent OnHasComboBox;
    THasSpinEditEvent OnHasSpinEdit;
    TGetCheckEvent OnGetCheckTrue;
    TGetCheckEvent OnGetCheckFalse;
    TGetColumnFilterEvent OnGetColumnFilter;
    TDateTimeChangeEvent OnDateTimeChange;
    TEditChangeEvent OnEditChange;
    TClickCellEvent OnDatePickerCloseUp;
    TClickCellEvent OnDatePickerDropDown;

    // ---- Cell visual properties ----
    // The brush, gradient colours, font, alignment, word wrap and draw state of a display cell.
    // Select shows the selection kinds, Remap maps ACol to its real column for the dispatchers.
    void GetVisualProperties(int ACol, int ARow, TGridDrawState& AState, bool Print, bool Select, bool Remap,
                             TBrush* ABrush, TColor& AColorTo, TColor& AMirrorColor, TColor& AMirrorColorTo,
                             TFont* AFont, TAlignment& HA, TVAlignment& VA, bool& WW,
                             TCellGradientDirection& GD) override;
    // Each channel Factor % of Color and the rest of Base (Factor 0..100; clNone on either side
    // gives the other).
    static TColor BlendColors(TColor Color, TColor Base, int Factor);
    // The blend with the mixer on, else the selection colour.
    static TColor BlendSelectionColor(TColor SelColor, TColor CellColor, bool Mixer, int Factor);
    // Whether a data cell shows selected by the selection kind in use.
    bool IsSelected(int ACol, int ARow);
    TGridGradientEvent OnGetCellGradient;

    // ---- Grid paint, outer border and focus frame ----
    // The coloured outer border of some looks in the non-client area.
    void DrawNCBorder();
    // One dotted XOR line at the pointer while a column (Column) or row is sized; drawing the
    // same line again removes it.
    void DrawSizingLine(int Pos, bool Column);
    // The translucent frame around the edited cell (with FocusHelper.Enabled): shown when the
    // editor is about to show, hidden when the edit ends, moved with the form.
    void ShowFocusFrame();
    void HideFocusFrame();
    void MoveFocusFrame();
    // The grid that shows its focus frame (at most one at a time).
    static TAdvStringGrid* FocusFrameGrid() { return FFocusFrameGrid; }
    TNotifyEvent OnPainted;

    // ---- Selection and cell accessors ----
    // Cell texts by real column and real row (hidden rows and columns counted): a hidden row's
    // text comes from its record in the hidden-row store; a negative index reads as empty.
    // AllCells goes through base cells and the display-text query, AllGridCells is the stored
    // text itself. Writing a column a hidden row's record does not reach yet extends the record.
    String AllCells(int ACol, int ARow);
    void SetAllCells(int ACol, int ARow, const String& Value);
    String AllGridCells(int ACol, int ARow);
    void SetAllGridCells(int ACol, int ARow, const String& Value);
    // Texts are UTF-16 already: the wide accessors are the plain ones.
    String AllWideCells(int ACol, int ARow) { return AllCells(ACol, ARow); }
    void SetAllWideCells(int ACol, int ARow, const String& Value) { SetAllCells(ACol, ARow, Value); }
    String WideCells(int ACol, int ARow) { return GetCellEx(ACol, ARow); }
    void SetWideCells(int ACol, int ARow, const String& Value) { SetCellEx(ACol, ARow, Value); }
    // The user value attached to a cell by real row; the raw object slot.
    quintptr AllObjects(int ACol, int ARow) const;
    void SetAllObjects(int ACol, int ARow, quintptr Value);
    TObject* GetGridObjectsEx(int ACol, int ARow) const;
    // The texts a hidden row keeps (nil when the real row is not hidden).
    TStrings* HiddenRowCells(int ARow) const;
    // By original column index (the order before columns were moved).
    String OriginalCells(int ACol, int ARow);
    void SetOriginalCells(int ACol, int ARow, const String& Value);
    // By the row's index before sorting.
    String UnSortedCells(int ACol, int ARow);
    void SetUnSortedCells(int ACol, int ARow, const String& Value);
    // The text without markup; the number of its lines.
    String StrippedCells(int ACol, int ARow);
    int LinesInCell(int ACol, int ARow);

    // Per-cell settings, kept in the cell's properties. Readers answer a neutral value for a cell
    // without properties and make none (clNone, 0, empty, taLeftJustify, False); writers make
    // the properties when missing and repaint the cell.
    TColor Colors(int ACol, int ARow) const;
    void SetColors(int ACol, int ARow, TColor Value);
    TColor ColorsTo(int ACol, int ARow) const;
    void SetColorsTo(int ACol, int ARow, TColor Value);
    TCellGradientDirection Gradients(int ACol, int ARow) const;
    void SetGradients(int ACol, int ARow, TCellGradientDirection Value);
    // The grid's cell-font object filled with the grid's font and the cell's font settings.
    TFont* Fonts(int ACol, int ARow);
    void SetFonts(int ACol, int ARow, TFont* Value);
    TColor FontColors(int ACol, int ARow) const;
    void SetFontColors(int ACol, int ARow, TColor Value);
    TFontStyles FontStyles(int ACol, int ARow) const;
    void SetFontStyles(int ACol, int ARow, const TFontStyles& Value);
    int FontSizes(int ACol, int ARow) const;
    void SetFontSizes(int ACol, int ARow, int Value);
    String FontNames(int ACol, int ARow) const;
    void SetFontNames(int ACol, int ARow, const String& Value);
    TAlignment Alignments(int ACol, int ARow) const;
    void SetAlignments(int ACol, int ARow, TAlignment Value);
    // The one reader that makes the properties (the word wrap they start with is the answer).
    bool WordWraps(int ACol, int ARow);
    void SetWordWraps(int ACol, int ARow, bool Value);
    bool ReadOnly(int ACol, int ARow) const;
    void SetReadOnly(int ACol, int ARow, bool Value);
    // The control placed over the cell (not owned); nil removes it from the cell.
    TControl* CellControls(int ACol, int ARow) const;
    void SetCellControls(int ACol, int ARow, TControl* Value);
    int NumCellControls() const { return FNumCellControls; }

    // Whole display rows from FixedCols on; clNone clears.
    void SetRowColor(int ARow, TColor Value);
    void SetRowColorTo(int ARow, TColor Value);
    void SetRowFontColor(int ARow, TColor Value);

    // The disjunct cell selection (keys: TSelectedCellList).
    bool SelectedCells(int ACol, int ARow) const;
    void SetSelectedCells(int ACol, int ARow, bool Value);
    // Entry i of the selected-cell list ((0, 0) outside it).
    TGridCoord SelectedCell(int I) const;
    // Without disjunct cell selection the list is made anew from Selection, column by column.
    int SelectedCellsCount();
    int SelectedRowCount() const;
    int SelectedColCount() const;
    // The i-th selected row; -1 past the last.
    int SelectedRow(int I) const;
    void ClearSelectedCells();
    void ClearModifiedRows();
    // Repaints the area from cell (R.Left, R.Top) to cell (R.Right, R.Bottom).
    void InvalidateGridRect(const TGridRect& R);

    // The current cell (the base cell of its area when merged).
    String CurrentCell();
    void SetCurrentCell(const String& Value);
    String GetCurrentCellText();
    void SetCurrentCellText(const String& Value);

    int AllRowCount() const { return TotalRowCount(); }
    // Real column; the remembered width of a hidden column, else its display column's width.
    int AllColWidths(int ACol);
    void SetAllColWidths(int ACol, int Value);
    // The first real column whose header (row 0) equals AValue; -1 when none.
    int ColumnByHeader(const String& AValue);
    // Where original column ACol is now, and the original column at position APos.
    int ColumnPosition(int ACol) const;
    int ColumnAtPosition(int APos);
    // Shows every column and moves them back into their original order.
    void ResetColumnOrder();
    int SortedRowIndex(int ARow) const;
    int UnSortedRowIndex(int ARow) const;
    // Sorted position p to row: filled by sorting (empty while the grid was never sorted).
    TIntList* SortRowXRef() const { return FSortRowXRef.get(); }
    // Widens (or narrows) every column and row by X pixels; the zoom factor stays in -10..10.
    void Zoom(int X);
    TSelectedCellList* SelectedCellList() const { return FSelectedCells.get(); }
    // The text the cell shows: the formatted text (float formats applied).
    String DisplCells(int ACol, int ARow) { return GetFormattedCell(ACol, ARow); }
    // Writing sets the control's cursor and makes it the one restored after the grid's
    // temporary cursors (which go through TControl::SetCursor).
    void SetCursor(TCursor Value);
    // Asked while the pointer is over a fixed row (the column left of the grid line under it)
    // or a fixed column (the row above it); a refusal means no sizing there.
    TColumnSizeEvent OnColumnSize;
    TRowSizeEvent OnRowSize;

    // ---- Cell graphics ----
    // Cells are named by real column and display row. Every add and create operation (but
    // AddMarker and AddBalloon) gives the cell a new graphic in place of the old one and leaves
    // its text alone; every remove operation acts only on a cell of its own kind. Queries on a
    // cell of another kind answer False, nil, -1 or clNone; setters on it do nothing.
    // The grid's image list (not owned).
    TCustomImageList* GridImages() const { return FGridImages; }
    void SetGridImages(TCustomImageList* Value);

    TBitmap* CreateBitmap(int ACol, int ARow, bool Transparent, TCellHAlign hal, TCellVAlign val);
    void AddBitmap(int ACol, int ARow, TBitmap* ABitmap, bool Transparent, TCellHAlign hal, TCellVAlign val);
    TBitmap* GetBitmap(int ACol, int ARow);
    bool HasBitmap(int ACol, int ARow) { return GetBitmap(ACol, ARow) != nullptr; }
    void RemoveBitmap(int ACol, int ARow);
    TPicture* CreatePicture(int ACol, int ARow, bool Transparent, TStretchMode StretchMode, int Padding,
                            TCellHAlign hal, TCellVAlign val);
    void AddPicture(int ACol, int ARow, TPicture* APicture, bool Transparent, TStretchMode StretchMode,
                    int Padding, TCellHAlign hal, TCellVAlign val);
    TPicture* GetPicture(int ACol, int ARow);
    bool HasPicture(int ACol, int ARow) { return GetPicture(ACol, ARow) != nullptr; }
    void RemovePicture(int ACol, int ARow);
    TFilePicture* CreateFilePicture(int ACol, int ARow, bool Transparent, TStretchMode StretchMode,
                                    int Padding, TCellHAlign hal, TCellVAlign val);
    void AddFilePicture(int ACol, int ARow, TFilePicture* APicture, bool Transparent,
                        TStretchMode StretchMode, int Padding, TCellHAlign hal, TCellVAlign val);
    TFilePicture* GetFilePicture(int ACol, int ARow);
    void RemoveFilePicture(int ACol, int ARow);
    TIcon* CreateIcon(int ACol, int ARow, TCellHAlign hal, TCellVAlign val);
    void AddIcon(int ACol, int ARow, TIcon* AIcon, TCellHAlign hal, TCellVAlign val);
    void RemoveIcon(int ACol, int ARow);

    // Images of GridImages: nothing without an image list.
    void AddImageIdx(int ACol, int ARow, int Idx, TCellHAlign hal, TCellVAlign val);
    // Also writes the index as the cell's text when the text is empty.
    void AddDataImage(int ACol, int ARow, int Idx, TCellHAlign hal, TCellVAlign val);
    // A list of indexes (GetCellImages) whose every change repaints the cell.
    void AddMultiImage(int ACol, int ARow, int Dir, TCellHAlign hal, TCellVAlign val);
    bool GetImageIdx(int ACol, int ARow, int& Idx);
    void SetImageIdx(int ACol, int ARow, int Idx);
    void RemoveImageIdx(int ACol, int ARow);
    // Removes the graphic and empties the cell text.
    void RemoveDataImage(int ACol, int ARow);
    bool HasDataImage(int ACol, int ARow);
    void RemoveMultiImage(int ACol, int ARow);

    void AddRotated(int ACol, int ARow, int AAngle, const String& AString);
    // Turns the cell's graphic (or a new one) into rotated text.
    void SetRotated(int ACol, int ARow, int AAngle);
    bool IsRotated(int ACol, int ARow, int& AAngle);
    void RemoveRotated(int ACol, int ARow);

    // Check boxes: outside the grid (hidden rows and columns counted) AddCheckBox raises
    // EAdvGridError "Invalid cell". A data check box's state is its text: the cell's check-true
    // or check-false text. Rows of the state readers and setters are real rows.
    void AddCheckBox(int ACol, int ARow, bool State, bool Data);
    void AddCheckBox(int ACol, int ARow, TCheckBoxState State);
    void AddCheckBoxColumn(int ACol, bool DefaultState = false, bool DataCheckBox = false);
    void AddTriStateCheckBoxColumn(int ACol, TCheckBoxState State);
    void RemoveCheckBox(int ACol, int ARow);
    void RemoveCheckBoxColumn(int ACol);
    // Any of the five check-box kinds; a data, virtual or row check box.
    bool HasCheckBox(int ACol, int ARow);
    bool HasDataCheckBox(int ACol, int ARow);
    bool IsChecked(int ACol, int ARow);
    bool GetCheckBoxState(int ACol, int ARow, bool& State);
    bool GetCheckBoxState(int ACol, int ARow, TCheckBoxState& State);
    bool SetCheckBoxState(int ACol, int ARow, bool State);
    bool SetCheckBoxState(int ACol, int ARow, TCheckBoxState State);
    // True when the cell holds a check box, which then changes state.
    bool ToggleCheckBox(int ACol, int ARow) { return ToggleCheckState(ACol, ARow, false); }
    void CheckAll(int ACol);
    void UnCheckAll(int ACol);
    bool IsInCheckBox(int ACol, int ARow, int X, int Y);

    void AddRadioButton(int ACol, int ARow, bool State = false);
    void RemoveRadioButton(int ACol, int ARow);
    bool HasRadioButton(int ACol, int ARow);
    void AddRadioButtonColumn(int ACol);
    void RemoveRadioButtonColumn(int ACol);
    bool IsRadioButtonChecked(int ACol, int ARow);
    bool SetRadioButtonState(int ACol, int ARow, bool State);
    void SetRadioButtonColumnIndex(int ACol, int Index);
    // The first checked row from FixedRows on; -1 when none.
    int GetRadioButtonColumnIndex(int ACol);

    // Radio groups: Items are not owned by AddRadio; CreateRadio makes an owned list.
    void AddRadio(int ACol, int ARow, int DirRadio, int IdxRadio, TStrings* Items);
    TStringList* CreateRadio(int ACol, int ARow, int DirRadio, int IdxRadio);
    bool GetRadioIdx(int ACol, int ARow, int& Idx);
    bool SetRadioIdx(int ACol, int ARow, int Idx);
    TStrings* GetRadioStrings(int ACol, int ARow);
    bool IsRadio(int ACol, int ARow);
    void RemoveRadio(int ACol, int ARow);

    void AddProgress(int ACol, int ARow, TColor FGColor, TColor BKColor);
    void AddProgressEx(int ACol, int ARow, TColor FGColor, TColor FGTextColor, TColor BKColor,
                       TColor BKTextColor);
    void AddProgressFormatted(int ACol, int ARow, TColor FGColor, TColor FGTextColor, TColor BKColor,
                              TColor BKTextColor, const String& Fmt, int Min, int Max);
    void RemoveProgress(int ACol, int ARow);
    bool HasProgress(int ACol, int ARow);
    void AddProgressPie(int ACol, int ARow, TColor Color, int Value);
    void SetProgressPie(int ACol, int ARow, int Value);
    void RemoveProgressPie(int ACol, int ARow);
    void AddAdvProgress(int ACol, int ARow, int Min, int Max);
    void RemoveAdvProgress(int ACol, int ARow);
    void AddRangeIndicator(int ACol, int ARow, int Range, TColor NegColor, TColor PosColor, bool ShowValue);
    void RemoveRangeIndicator(int ACol, int ARow);

    void AddComment(int ACol, int ARow, const String& Comment);
    void AddColorComment(int ACol, int ARow, const String& Comment, TColor Color);
    // A comment for a cell without graphic, a new text for a comment; other kinds stay.
    void SetComment(int ACol, int ARow, const String& Comment);
    String GetComment(int ACol, int ARow);
    bool IsComment(int ACol, int ARow, String& Comment);
    void RemoveComment(int ACol, int ARow);
    void RemoveAllComments();

    // Shape: a TCellShape (CellDraw.h).
    void AddShape(int ACol, int ARow, int Shape, TColor FillColor, TColor LineColor, TCellHAlign hal,
                  TCellVAlign val);
    void RemoveShape(int ACol, int ARow);
    void SetShapeColor(int ACol, int ARow, TColor FillColor);
    TColor GetShapeColor(int ACol, int ARow);
    void AddRating(int ACol, int ARow, int Scale, TColor FillColor, TColor EmptyColor);
    void RemoveRating(int ACol, int ARow);
    bool HasRating(int ACol, int ARow);

    void AddButton(int ACol, int ARow, int bw, int bh, const String& Caption, TCellHAlign hal,
                   TCellVAlign val);
    void AddBitButton(int ACol, int ARow, int bw, int bh, const String& Caption, TBitmap* Glyph,
                      TCellHAlign hal, TCellVAlign val);
    TBitmap* CreateBitButton(int ACol, int ARow, int bw, int bh, const String& Caption, TCellHAlign hal,
                             TCellVAlign val);
    // Display column: the caption of any graphic.
    void SetButtonText(int ACol, int ARow, const String& Value);
    String GetButtonText(int ACol, int ARow);
    // Display column: any graphic but a tree node.
    void PushButton(int ACol, int ARow, bool Push);
    bool HasButton(int ACol, int ARow);
    // Either kind of button.
    void RemoveButton(int ACol, int ARow);
    void RemoveBitButton(int ACol, int ARow);
    void RemoveAllButtons();

    // Attached to a check box or radio button, a graphic of its own on a cell without graphic,
    // dropped on a cell holding another kind.
    void AddBalloon(int ACol, int ARow, const String& Title, const String& Text, TBalloonIcon Icon);
    void RemoveBalloon(int ACol, int ARow);
    bool HasBalloon(int ACol, int ARow);
    bool IsBalloon(int ACol, int ARow, String& Title, String& Text, TBalloonIcon& Icon);

    // The error marker: part of the text underlined.
    void AddMarker(int ACol, int ARow, int ErrPos, int ErrLen);
    void RemoveMarker(int ACol, int ARow);
    void RemoveAllMarkers();
    void GetMarker(int ACol, int ARow, int& ErrPos, int& ErrLen);

    void AddScrollBar(int ACol, int ARow, bool AutoRange);
    void RemoveScrollBar(int ACol, int ARow);
    bool HasScrollBar(int ACol, int ARow);
    bool HasAutoRangeScrollBar(int ACol, int ARow);
    void SetScrollPosition(int ACol, int ARow, int Position);
    int GetScrollPosition(int ACol, int ARow);
    void SetScrollProp(int ACol, int ARow, TScrollProp Prop);
    TScrollProp GetScrollProp(int ACol, int ARow);

    void AddExpand(int ACol, int ARow, int ExpandedHeight);
    void RemoveExpand(int ACol, int ARow);
    bool HasExpand(int ACol, int ARow);
    // The new state; False without expand button.
    bool ToggleExpand(int ACol, int ARow);
    bool GetExpandState(int ACol, int ARow);
    int GetExpandHeight(int ACol, int ARow, bool Expanded);

    void AddInterfacedCell(int ACol, int ARow, TObject* AObject);
    void RemoveInterfacedCell(int ACol, int ARow);
    TObject* GetInterfacedCell(int ACol, int ARow);

    // Cells that react to a click instead of being edited; cells whose text is their state.
    bool IsClickableCell(int ACol, int ARow);
    bool IsTextlessCell(int ACol, int ARow);
    // Display column.
    TRect GetButtonRect(int ACol, int ARow);
    TRect GetExpandRect(int ACol, int ARow);

    TCheckBoxClickEvent OnCheckBoxChange;
    TRatingChangeEvent OnRatingChange;

    // ---- Typed cell values and cell graphic lookup ----
    // Display rows; the All forms take real rows (hidden rows included).
    void SetInts(int ACol, int ARow, int Value);
    // Raises EAdvGridError "Cell does not contain integer value" for a text that is no integer.
    int GetInts(int ACol, int ARow);
    void SetAllInts(int ACol, int ARow, int Value);
    int GetAllInts(int ACol, int ARow);
    // Formatted with the column's float format (GetColumnFloatFormat); a format that does not fit
    // a number stores the number's plain text.
    void SetFloats(int ACol, int ARow, double Value);
    // Raises EAdvGridError "Cell does not contain a float value" for a text that is no number.
    double GetFloats(int ACol, int ARow);
    // With the grid's FloatFormat.
    void SetAllFloats(int ACol, int ARow, double Value);
    double GetAllFloats(int ACol, int ARow);
    // The VALUE of a CONTROL tag in the cell's markup; empty when there is none.
    String GetCtrlVal(int ACol, int ARow, const String& ID);
    void SetCtrlVal(int ACol, int ARow, const String& ID, const String& Value);

    // The cell's graphic (through the base cell of a merged area); nil when none.
    virtual TCellGraphic* GetCellGraphic(int ACol, int ARow);
    // ctEmpty without graphic and outside the grid.
    virtual TCellType GetCellType(int ACol, int ARow);
    TIntList* GetCellImages(int ACol, int ARow);
    virtual TPoint GetCellGraphicSize(int ACol, int ARow);
    virtual void CalcCellGraphicSize(int ACol, int ARow, TPoint& Size, int ExtraHeight);
    // The cell's new graphic, in place of the old one.
    TCellGraphic* CreateCellGraphic(int ACol, int ARow);
    bool RemoveCellGraphic(int ACol, int ARow);
    bool RemoveCellGraphicOfType(int ACol, int ARow, TCellType CellType);
    // The sort key of image cells: the identity of a bitmap or icon object (cells sharing one
    // object get equal keys), the index of an image-list image; -1 for other cells.
    std::int64_t GetCellImageRef(int ACol, int ARow);
    virtual TCustomImageList* GetCellImageList(int /*ACol*/, int /*ARow*/) { return FGridImages; }
    virtual void GetColumnFloatFormat(int ACol, String& Format);
    // With URLShowInText links become anchors; with Grouping.ShowGroupCount a node's caption in
    // column 1 gets its row count.
    void GetDisplText(int ACol, int ARow, String& Value) override;

    // ---- Hints and balloons ----
    // Cell hints: the application's hint asks the grid (CM_HINTSHOW) and BuildCellHint fills in
    // the text, place, colour, width and window class for the cell under the pointer.
    TColor HintColor = clInfoBk;
    // The hint of a data cell is its text.
    bool HintShowCells = false;
    // The hint shows a cell's text when the text does not fit the cell.
    bool HintShowLargeText = false;
    THintShowLargeTextPos HintShowLargeTextPos = hpCell;
    // Size hints while a column or row is sized.
    bool HintShowSizing = false;
    // Cell hints keep their markup (shown rendered) instead of being stripped.
    bool HTMLHint = false;
    // A link in a markup cell shows its title (or OnAnchorHint's text) as hint.
    bool AnchorHint = false;
    // Markup and packed wide hints show in the grid's own hint window class.
    bool UseInternalHintClass = true;
    // Makes the grid's hint window the application's hint window class (the platform's plain
    // one when False).
    bool UseHTMLHints() const { return FUseHTMLHints; }
    void SetUseHTMLHints(bool Value);
    TAnchorHintEvent OnAnchorHint;
    TCellBalloonEvent OnCellBalloon;

    void BuildCellHint(String& HintStr, THintInfo& HintInfo);
    // Balloons: the platform's tool-tip window in balloon style over the grid's client area, made
    // once until BalloonDone destroys it. Without a window of its own (not made yet, or the
    // tool-tip window could not be made) balloons are off.
    void BalloonInit();
    void BalloonDone();
    HWND ToolTipHandle() const { return FHToolTip; }
    // The base cell whose hint was built last ((-1, -1): none), the last link hint, the cell whose
    // balloon showed last.
    TPoint LastHintPos() const { return FLastHintPos; }
    const String& LastAnchorHint() const { return FLastAnchorHint; }
    TPoint LastBalloonPos() const { return FLastBalloonPos; }
    // The window of the size and scroll hints (not shown until they show).
    THTMLHintWindow* ScrollHintWindow() const { return FScrollHintWnd.get(); }

    // ---- Overlay scroll bar and header drag button ----
    // The button that stands for a header cell while a column or row is dragged (run time only:
    // nullptr while designed).
    THeaderDragButton* MoveButton() const { return FMoveButton.get(); }

    // ---- Mouse movement, hover and the filter drop-down (AdvGridMouseMove.cpp, GridFilterDropDown.cpp) ----
    // Forgets the fixed borders under the pointer and a kept header highlight; the hovered fixed
    // cell is forgotten and repainted.
    void ResetFixedCellHighlight();
    // A borderless, stay-on-top, half-transparent window that never takes the activation, showing
    // the cells of ARect (given in either corner order) as the grid paints them. The caller
    // shows and frees it.
    TCustomForm* SelectionToForm(const TGridRect& ARect);
    // The hover state the pointer left: the hovered fixed cell, the cell whose button is hot
    // ((-1, -1): none), the hovered row (-1: none).
    TPoint HoverFixedCell() const { return TPoint(FHoverFixedX, FHoverFixedY); }
    TPoint HoverButtonCell() const { return FHoverButton; }
    int HoverRowIndex() const { return FHoverRowIdx; }
    TMouseSelectMode MouseSelectMode() const { return FMouseSelectMode; }
    // The filter lists and the real column whose list is open (-1: none).
    TDropList* DropList() const { return FDropList.get(); }
    TDropCheckList* DropCheckList() const { return FDropCheckList.get(); }
    int FilterColumn() const { return FFilterCol; }
    // The filter button opens the check list instead of the plain list.
    bool FilterDropDownCheck = false;
    // The popup menu of the fixed cells' drop-down button.
    TPopupMenu* FixedDropDownMenu = nullptr;
    TFixedDropDownClickEvent OnFixedDropDownClick;
    TOleDragEvent OnOleDrag;
    TOleDragStartEvent OnOleDragStart;
    TOleDragStopEvent OnOleDragStop;
    // A drop on the grid: text, rich text or a file to load (row and column -1), which may be
    // refused; a file, a URL; the pointer over a cell; a column dropped; what a drop selected.
    TOleDropEvent OnOleDrop;
    TOleDropFileEvent OnOleDropFile;
    TOleDropURLEvent OnOleDropURL;
    TOleDragOverEvent OnOleDragOver;
    TOleDropColEvent OnOleDropCol;
    TOleDroppedEvent OnOleDropped;
    // A column about to be dragged in from entry AIndex of a column chooser list box; the caller
    // then starts a column drag, and the next column drop takes it from the list.
    void OleColumnDragStart(int ACol, int AIndex, TCustomListBox* AList);
    TRowColMoveEvent OnColumnMove;
    TRowColMoveEvent OnRowMove;
    TRowColMoveEvent OnColumnMoving;
    TRowColMoveEvent OnRowMoving;
    TRowColSizingEvent OnColumnSizing;
    TRowColSizingEvent OnRowSizing;
    TAnchorEvent OnAnchorEnter;
    TAnchorEvent OnAnchorExit;
    TSelectionChangedEvent OnSelectionChanged;
    TNotifyEvent OnStartBlockFocus;

    // ---- Scrolling, size changes and notifications (AdvGridScrolling.cpp) ----
    // The bars the grid asks for, kept by the grid and passed on to the platform grid.
    TScrollStyle ScrollBars() const { return FGridScrollBars; }
    void SetScrollBars(TScrollStyle Value);
    // ssMetro lays two thin scroll controls over the grid (once it has a window) in place of
    // the window's bars; the flat types keep the window's bars here, as the flat scroll-bar
    // functions are missing on this platform.
    void SetScrollType(TScrollType Value);
    // The metro scroll control of a direction; nullptr unless ScrollType is ssMetro and the
    // window exists.
    TScrollControl* MetroScrollControl(TScrollDirection Direction) const;
    // Colour and width of the flat bars (stored; they reach no window on this platform).
    TColor ScrollColor() const { return FScrollColor; }
    void SetScrollColor(TColor Value);
    int ScrollWidth() const { return FScrollWidth; }
    void SetScrollWidth(int Value);
    // Thumbs as long as the visible part of the rows and columns in pixels.
    bool ScrollProportional() const { return FScrollProportional; }
    void SetScrollProportional(bool Value);
    // Recomputes the proportional thumb of the vertical and of the horizontal bar.
    void UpdateVScrollBar();
    void UpdateHScrollBar();
    // While the thumb is dragged: a hint naming the column or row it will show first; the top
    // row or left column follows the thumb at once with ScrollSynch.
    TScrollHintType ScrollHints = shNone;
    bool ScrollSynch = false;
    TScrollHintEvent OnScrollHint;
    // Whether the scroll hint window shows.
    bool ScrollHintShowing() const { return FScrollHintShow; }

    // Drag scrolling: the timer (owned by the parent) exists while a drag with a direction is
    // over the grid.
    TTimer* DragScrollTimer() const { return FDragScrollTimer; }
    TDragScrollDirections DragScrollDirection() const { return FDragScrollDir; }
    TDragScrollEvent OnDragScroll;

    // Stretches a column (-1: the last) to fill the client width. An index at or past the
    // column count raises EAdvGridError "Stretch column index out of range".
    void StretchColumn(int Index);
    void StretchRightColumn() { StretchColumn(-1); }
    TEndColumnSizeEvent OnEndColumnSize;
    TEndRowSizeEvent OnEndRowSize;
    // The column-size dispatcher after a user sized a column: OnUpdateColumnSize may change it.
    virtual void UpdateColumnSize(int ACol, int& AWidth);

    // The colour of the four move-arrow windows (clNone while the grid is designed).
    TColor ArrowColor() const;
    void SetArrowColor(TColor Value);

    // One selection listener (a second registration replaces the first) and the change
    // notifiers, called in registration order by CellsChanged (not owned).
    void RegisterSelListener(ITAdvStringGridSelect* AListener) { FSelListener = AListener; }
    void UnRegisterSelListener(ITAdvStringGridSelect*) { FSelListener = nullptr; }
    ITAdvStringGridSelect* SelListener() const { return FSelListener; }
    void RegisterNotifier(TGridChangeNotifier* ANotifier);
    void UnRegisterNotifier(TGridChangeNotifier* ANotifier);
    int NotifierCount() const;

    // The tool-tip text of the last balloon request and the cell it was for.
    const String& ToolTipText() const { return FToolTipText; }
    TPoint ToolTipCell() const { return FToolTipCell; }

    // ---- Persistence: column state, column sizes and positions, visual properties, print
    // settings; the HTML and print settings objects (bodies in AdvGridPersist.cpp) ----
    THTMLSettings* HTMLSettings() const { return FHTMLSettings.get(); }
    void SetHTMLSettings(THTMLSettings* Value) { FHTMLSettings->Assign(Value); }
    TPrintSettings* PrintSettings() const { return FPrintSettings.get(); }
    void SetPrintSettings(TPrintSettings* Value) { FPrintSettings->Assign(Value); }
    // The column count, the widths, the order and the visibility in one text:
    // "N#w0,w1,...#o0,o1,...#v0,v1,..." (N counts hidden columns too).
    String ColumnStatesToString();
    // Restores what ColumnStatesToString gave. A text without "#" changes nothing; a damaged one
    // raises EConvertError and changes nothing.
    void StringToColumnStates(const String& Value);
    // Column widths ("Col<i>") and positions ("Pos<i>") in the INI file or registry key
    // ColumnSize.Key, section ColumnSize.Section; nothing without both or while designed.
    void SaveColSizes();
    void LoadColSizes();
    virtual void SaveColPositions();
    // A set of "Pos" keys that is incomplete or no ordering of the columns moves nothing.
    virtual void LoadColPositions();
    // The look as "Key=Value" lines (Windows-1252), written whole or not at all: "Cannot Create "
    // + name when it cannot be written. Loading raises "Cannot open file " + name when the file
    // cannot be read; a bad integer stops it with the keys before applied.
    void SaveVisualProps(const String& FileName);
    void LoadVisualProps(const String& FileName);
    // PrintSettings in section Section of the INI file Key. Loading writes the file back (it
    // creates it when missing).
    void SavePrintSettings(const String& Key, const String& Section);
    void LoadPrintSettings(const String& Key, const String& Section);

    // ---- Print engine: laying a cell range out on pages, counting or drawing them on the
    // printer, in a preview or on any canvas (bodies in AdvGridPrint.cpp and
    // AdvGridPrintOps.cpp) ----
    // While the engine runs the canvas is in MM_LOMETRIC: 0.1 mm units, y upward (a page's top
    // edge is y = 0, page heights are negative).
    //
    // The page engine. Mode 0 draws a preview (page size from PrevRect in device pixels of
    // Canvas), 1 draws (page size from Canvas's clipping rectangle), 2 counts pages for the
    // printer (page size from PrevRect in 0.1 mm), 3 counts pages for a preview. PageCount is the
    // page count shown in page numbers (-1 when counting). Answers the number of pages laid out.
    // FPrintRect, PrevRect and the page range FPrintPageFrom..FPrintPageTo are set by the caller.
    int PrintPages(TCanvas* Canvas, int Mode, int PageCount, bool SelectedOnly);
    // The font height in 0.1 mm for a point size, scaled by Fontscalefactor (negative), and the
    // point size of a height without scaling.
    int MapFontHeight(int PointSize) const;
    int MapFontSize(int Height) const;
    // The print width and left edge of a display column in the last layout; a column outside the
    // laid-out arrays raises EAdvGridError "Columns is not in valid range".
    int GetPrintColWidth(int ACol) const;
    int GetPrintColOffset(int ACol) const;
    // Printing on Printer(): all cells, the selection, a range, or all cells restricted to the
    // selected rows or columns.
    void Print();
    void PrintSelection();
    void PrintRect(const TGridRect& Gridrect);
    void PrintSelectedRows();
    void PrintSelectedCols();
    // A preview of page PreviewPage into Displayrect (device pixels) of Canvas.
    void PrintPreview(TCanvas* Canvas, TRect Displayrect);
    void PrintPreviewRect(TCanvas* Canvas, TRect Displayrect, const TGridRect& Gridrect);
    void PrintPreviewSelection(TCanvas* Canvas, TRect Displayrect);
    void PrintPreviewSelectedRows(TCanvas* Canvas, TRect Displayrect);
    void PrintPreviewSelectedCols(TCanvas* Canvas, TRect Displayrect);
    // The first page drawn into Canvas (what fits its clipping rectangle); no print-start event.
    void PrintDraw(TCanvas* Canvas, TRect DrawRect);
    void PrintDrawRect(TCanvas* Canvas, TRect DrawRect, const TGridRect& Gridrect);
    // The page a preview draws: writing sets FPrintPageFrom and FPrintPageTo.
    int PreviewPage() const { return FPrintPageFrom; }
    void SetPreviewPage(int Value) { FPrintPageFrom = FPrintPageTo = Value; }
    // Skip the counting pass before printing or previewing.
    bool FastPrint = false;
    bool IsPrintPreview() const { return FIsPrintPreview; }
    int PrintNrOfPages() const { return FPrintNrOfPages; }
    int PrintColStart() const { return FPrintLayout ? FPrintLayout->PrintColStart : 0; }
    int PrintColEnd() const { return FPrintLayout ? FPrintLayout->PrintColEnd : 0; }
    int PrintPageWidth() const { return FPrintLayout ? FPrintLayout->PrintPageWidth : 0; }
    TRect PrintPageRect() const { return FPrintPageRect; }
    // 1.0 except while rows and header or footer are measured or painted, when it holds the
    // fit-to-page factor; MapFontHeight scales by it.
    double Fontscalefactor = 1.0;
    // The layout of the last run (nullptr before any): column widths and indents, ScreenScale,
    // FitFactor, the page size and the current band.
    const TPrintLayout* PrintLayout() const { return FPrintLayout.get(); }

    TEvent<TObject*, int /*NrOfPages*/, int& /*FromPage*/, int& /*ToPage*/> OnPrintStart;
    TEvent<TObject*, double& /*ScaleFactor*/, bool& /*Allow*/> OnFitToPage;
    TEvent<TObject*, int /*ACol*/, int& /*Width*/> OnPrintSetColumnWidth;
    TEvent<TObject*, int /*ARow*/, int& /*Height*/> OnPrintSetRowHeight;
    TEvent<TObject*, TCanvas* /*Canvas*/, int /*PageNr*/, int /*PageXSize*/, int /*PageYSize*/> OnPrintPage;
    TEvent<TObject*, int /*ARow*/, bool& /*NewPage*/> OnPrintNewPage;
    TEvent<TObject*, TCanvas* /*Canvas*/, int /*LastRow*/, int /*LastRowOffset*/, int /*LastPage*/,
           int /*PageXSize*/, int /*PageYSize*/>
        OnPrintPageDone;
    TEvent<TObject*, int /*PageNr*/, bool& /*Cancel*/> OnPrintCancel;
    TEvent<TObject*, int /*PageNum*/, int /*PageColNum*/, String& /*PageNumString*/> OnPrintGetPageNum;

protected:
    // The state of the running engine pass that row measuring and painting read.
    struct TPrintPass {
        TCanvas* Canvas = nullptr;
        int Mode = 0;      // as PrintPages
        double Zoom = 1.0; // LOGPIXELSX of the canvas over the screen's, for markup
        int Gap8 = 0;      // cell text height div 8
        int HalfG = 0;     // half the width of "g"
        int HeaderTextHeight = 0;
        int FooterTextHeight = 0;
        int Page = 0;       // 0-based page over the job
        int PageInBand = 0; // 0-based page within the band
        int Band = 0;       // 1-based band
        int PageCount = -1;
        bool Drawing() const { return Mode == 0 || Mode == 1; }
    };
    // Whether the pass draws the current page (a drawing pass and a page in the page range).
    bool PrintPageDrawn() const;
    // The runs of the printing and preview operations.
    void PrintToPrinter(const TGridRect& Range, bool SelectedOnly);
    void PreviewPages(TCanvas* Canvas, TRect Displayrect, const TGridRect& Range, bool SelectedOnly);
    void CalcPrintColWidths(bool SelectedOnly);
    // The print height of a row, 0.1 mm (the last row asked and its height are remembered).
    int PrintRowHeight(int ARow);
    bool IsRowPrinted(int ARow);
    bool IsColPrinted(int ACol);
    // Paints the header and footer texts of the current page; answers the markup title height.
    int PaintHeaderFooter();
    String PageNumberText();
    void PaintPageFrame(int YEnd, int HeaderArea);
    void StartNextPage();

    TPrintPass FPrintPass;
    std::unique_ptr<TPrintLayout> FPrintLayout;
    TGridRect FPrintRect{0, 0, -1, -1};
    TRect PrevRect;
    TRect FPrintPageRect;
    int FPrintPageFrom = 1;
    int FPrintPageTo = 1;
    int FPrintNrOfPages = 0;
    bool FIsPrintPreview = false;
    bool FPrintSelectedOnly = false;
    bool FPrintCancelled = false;
    int FPrintRowHeightRow = -1; // PrintRowHeight's memory
    int FPrintRowHeightValue = 0;

public:
    // ---- Scroll-bar cells: the bar a user operates over a ctScrollbar cell ----
    // The shared bar laid over the cell (FScrollCol, FScrollRow) whose scroll bar the mouse is
    // over (run time only: nullptr while designed).
    TScrollBar* CellScrollBar() const { return FScrollBar.get(); }
    TPoint CellScrollBarCell() const { return TPoint(FScrollCol, FScrollRow); }
    // The scroll-cell dispatcher: OnScrollCell with the cell and the bar's position and range.
    virtual void ScrollCell(int ACol, int ARow, int ScrollPosition, int ScrollMin, int ScrollMax);
    TEvent<TObject*, int /*ACol*/, int /*ARow*/, int /*ScrollPosition*/, int /*ScrollMin*/, int /*ScrollMax*/>
        OnScrollCell;

protected:
    // A vertical scroll message from the cell scroll bar moves it (lines of 10, pages of 100, the
    // thumb) and stores a changed position in the cell. Answers whether the message was the
    // bar's (then it is handled).
    bool CellScrollBarScroll(TWMScroll& Message);

private:
    // The store ColumnSize names, or nullptr when its key or section is empty or the grid is
    // being designed.
    TCustomIniFile* OpenColumnStore();
    // ColumnSize.Save at window creation, loading and destruction: a failure is reported through
    // the application and the grid goes on.
    void LoadSavedColSizes();
    void SaveColSizesOnExit();
    // The constructor's cell scroll bar (hidden, vertical, no tab stop).
    void MakeCellScrollBar();

public:
    // ---- Tree rows ----
    // A node row holds a ctNode graphic in column 0 (CellBoolean: collapsed; CellIndex: span, the
    // rows it covers with itself, 0 = up to the next node row; CellErrFrom: sub-node count) and
    // covers the rows below it; every covered row's column-0 NodeLevel counts the nodes covering
    // it. Collapsing moves the covered rows into the hidden-row store. The queries take display
    // rows; AddNode, RemoveNode, ExpandNode, ContractNode and the row insertions take real rows.
    TCellNode* CellNode() const { return FCellNode.get(); }
    void SetCellNode(TCellNode* Value) { FCellNode->Assign(Value); }
    int NumNodes() const { return FNumNodes; }
    // Nothing for a row outside the grid.
    void AddNode(int ARow, int Span);
    void RemoveNode(int ARow);
    void RemoveAllNodes();
    bool IsNode(int ARow);
    bool IsSummary(int ARow);
    // The node's level; -1 for other rows.
    int GetNodeLevel(int ARow);
    // True for a collapsed node.
    bool GetNodeState(int ARow);
    // True collapses, False expands a node whose state differs.
    void SetNodeState(int ARow, bool Value);
    // The span; -1 for other rows.
    int GetNodeSpan(int ARow);
    void SetNodeSpan(int ARow, int Span);
    void UpdateNodeSpan(int ARow, int Delta);
    // 0 for other rows.
    int GetSubNodeCount(int ARow);
    void UpdateSubNodeCount(int ARow, int Delta);
    // With CellNode.ExpandOne every other expanded node is collapsed first.
    void ExpandNode(int ARow);
    void ContractNode(int ARow);
    void ExpandAll();
    // Collapses every outer node (nested ones keep their state) as one filter level.
    void ContractAll();
    // The innermost node whose span holds the row (a node row of level 1 answers itself); -1.
    int GetParentRow(int ARow);
    // One row at the row's place, hidden rows after it following.
    void InsertNormalRow(int ARow);
    void RemoveNormalRow(int ARow);
    // One row inside the row's node, whose span and sub-node count grow with those of the nodes
    // around it: under a node row with InsertAt 0 the node's texts move into the new row,
    // otherwise the row goes InsertAt rows below ARow.
    void InsertChildRow(int ARow, int InsertAt);
    void RemoveChildRow(int ARow);
    // For the tree lines: 0 a node row, 2 a row whose next row is as deep or deeper, 1 otherwise.
    int GetNodeSpanType(int ARow);
    // Whether a press at client X lies on the node's glyph (always with PreciseNodeClick off).
    bool IsNodeClick(int ARow, int X);
    // Column 0 of the row becomes a ctSummary graphic.
    void MarkSummaryRow(int ARow);
    // Column 0 is indented NodeLevel x NodeIndent while the grid has nodes.
    int GetRowIndent(int ARow) override;
    bool HasNodes() override { return FNumNodes > 0; }

    // ---- Cell painting ----
    // Paints everything of a cell above the background the cell store filled, in this order:
    // fixed-cell looks (hover, pressed, drop-down button, active cell, sorted header), the row
    // indicator, the modified-row bar, editor buttons shown always, the content, the borders,
    // the look's edges, tree lines, the graphic, OnDrawCell, OnCustomCellDraw and the focus
    // rectangle. ACol is a display column. Raises nothing of its own; what a handler raises
    // passes on after the canvas has its pen, brush, font and clip back.
    void DrawCellText(TCanvas* Canvas, int ACol, int ARow, TRect R, TGridDrawState AState) override;
    // True when the cell's row (the last row of its merged area) is SortSettings.Row, the
    // indicator is shown and more than one row lies below the fixed rows.
    bool ShowsSortIndicator(int ACol, int ARow);
    // Whether a fixed cell of the real column shows its drop-down button: True, then
    // OnCanShowFixedDropDown.
    virtual bool CanShowFixedDropDown(int ACol);
    bool HideFocusRect = false;
    // Overlong single lines end with an ellipsis (markup: no word wrap).
    bool EnhTextSize = false;
    // A cell with a graphic shows the graphic only.
    bool NoImageAndText = false;
    // Links in markup are underlined only while the mouse is over them.
    bool URLUnderlineOnHover = false;
    // The fixed row whose cells show the filter button (when their column has filter values).
    int FilterDropDownRow() const { return FFilterDropDownRow; }
    // Taken only when less than FixedRows.
    void SetFilterDropDownRow(int Value);
    THoverFixedCells HoverFixedCells = hfNone;
    TColor SelectionRectangleColor = 0;
    TCustomCellDrawEvent OnCustomCellBkgDraw;
    TCustomCellDrawEvent OnCustomCellDraw;
    TGridBorderPropEvent OnGetCellBorderProp;
    TCanShowFixedDropDownEvent OnCanShowFixedDropDown;

    // ---- Grouping ----
    // Grouping by a column puts a header row (a node with the value as caption in column 1) before
    // each run of equal values, optionally a summary row after it, and takes the column out of
    // the grid; -1 while not grouped. Writing -1 ungroups, a column above 0 groups, 0 does
    // nothing.
    int GroupColumn() const { return FGroupColumn; }
    void SetGroupColumn(int Value);
    virtual void Group(int ACol);
    virtual void UnGroup();
    // Groups the rows of each group again by a further column (captions in the column after it,
    // the column's cells emptied); SubUnGroup puts the values back.
    virtual void SubGroup(int ACol);
    virtual void SubUnGroup(int ACol);
    // Writes a result per expanded group into column ACol of its header row, or of its summary
    // row with Grouping.Summary: 1 sum, 2 average, 3 minimum, 4 maximum, 5 row count, 6 the
    // custom result (OnGroupCalc), 7 distinct values, 8 standard deviation; others nothing.
    void GroupCalc(int ACol, int Method);
    // The same; with the floating footer shown, its cell of the column calculates the same way.
    void GroupSum(int ACol);
    void GroupAvg(int ACol);
    void GroupMin(int ACol);
    void GroupMax(int ACol);
    void GroupCount(int ACol);
    void GroupCustomCalc(int ACol) { GroupCalc(ACol, 6); }
    void GroupDistinct(int ACol) { GroupCalc(ACol, 7); }
    void GroupStdDev(int ACol) { GroupCalc(ACol, 8); }

    // ---- In-place editing ----
    // An edit of the current cell. The text-like editor kinds use the platform grid's in-place
    // editor, which asks CanEditShow before it shows, loads through GetEditText and writes back
    // through SetEditText; every other kind opens an editor control of the grid
    // (OpenCellEditor) and is committed by CloseCellEditor. ValidateCell compares an edited text
    // with the snapshot SaveOldCell took when the cell became current. The end of an edit fires
    // OnEditingDone at once and posts "GridEditDone", whose handling fires OnEditCellDone.
    // Columns are display columns unless a comment says real.
    // Whether the cell may be edited: goEditing (or RangeSelectAndEdit, or the editing the grid
    // took away itself), then CanEditBaseCell.
    bool IsEditable(int ACol, int ARow);
    // The can-edit query of the cell (of its base cell when merged) and not fixed.
    virtual bool CanEditBaseCell(int ACol, int ARow);
    // Opens the editor on the current cell from code: nothing on a clickable cell; a current
    // cell left of or above the view becomes its first column or row; no other scrolling.
    void ShowInplaceEdit();
    // Commits and closes the open editor (text editor or editor control); nothing when none is
    // open. Then the cell-selection check runs for the current cell.
    void HideInplaceEdit();
    // Ends the edit as if Key had been pressed: Tab and the arrows move the current cell.
    void DoneInplaceEdit(Word Key, TShiftState Shift);
    // Decides an edit of the snapshot cell: OnCellValidate may change the value or refuse it. A
    // refusal puts the old (or the handler's) text back, returns to the edited cell and reopens
    // the editor; the answer is then False. True without an open edit and during a validation.
    virtual bool ValidateCell(const String& NewValue);
    virtual bool ValidateCellWide(const String& NewValue);
    // The snapshot of a display cell taken before it is edited: its stored text (no base-cell
    // redirection) and the Modified flag.
    virtual void SaveOldCell(int ACol, int ARow);
    // The inherited click, then a new snapshot of the current cell.
    void Click() override;
    // Opens the editor as F2 does; closes the editor control of the current cell.
    void ShowCellEdit();
    void HideCellEdit();
    // Writes an editor's result (real column): the edit-text setter, then the cell store.
    virtual void StoreEditText(int ACol, int ARow, const String& Value);
    // Puts the text the current cell had when the edit started back.
    virtual void RestoreCellCache();
    // The editor controls take Tab themselves (goTabs or a validation handler).
    bool EditorHandlesTab() const;
    // The editing-done notification (real column): OnEditingDone, then "GridEditDone" posted.
    void NotifyEditingDone(int ACol, int ARow);
    void EditingDone(int ACol, int ARow) { NotifyEditingDone(ACol, ARow); }
    // After a validated value (real column): the column's footer is calculated again.
    virtual void ColumnValueChanged(int ACol, int ARow);
    // The edit buttons' text through OnEllipsClick.
    virtual String EllipsClick(const String& S);
    // Lets a handler set up the editor of a cell (real column): OnGetEditorProp, then
    // OnGetEditorPropInt with the column and row.
    virtual void GetEditorProp(int ACol, int ARow, TEditLink* AEditLink);
    // The number of the combo editor's items; the index of the cell's text among them (-1).
    int GetComboCount();
    int GetComboIndex(int ACol, int ARow);
    // The process-wide number of the registered "GridEditDone" message.
    static UINT GridEditDoneMessage();
    // Whether the platform's common controls carry the date and time pickers (version above
    // 4.69); asked once.
    static bool DateTimePickersAvailable();

    TEditorType CurrentEditor() const { return EditControl; }
    // An editor (text editor or editor control) is open for the current cell.
    bool EditMode() const { return FEditMode; }
    bool EditActive() const { return FEditActive; }
    bool Editing() const { return FEditing; }
    bool Validating() const { return FValidating; }
    // The current cell's text when the edit started.
    const String& OriginalCellValue() const { return FCellCache; }
    // The editor control in use; nullptr for the text editor and for none.
    TWinControl* EditCtrl() const { return FEditCtrl; }
    bool Modified() const { return FModified; }
    void SetModified(bool Value) { FModified = Value; }
    // Validate also when the text did not change.
    bool AlwaysValidate = false;
    // The editor gets the cell text with its markup (else stripped).
    bool EditWithTags = false;
    // The balloon shown on the editor after a refused validation (when either text is set).
    String InvalidEntryTitle;
    String InvalidEntryText;
    TInvalidEntryIcon InvalidEntryIcon = ieWarning;
    // The custom editor of edCustom (not owned).
    TEditLink* EditLink = nullptr;
    TCellValidateEvent OnCellValidate;
    TCellValidateWideEvent OnCellValidateWide;
    TNotifyEvent OnEditingDone;
    TEditCellDoneEvent OnEditCellDone;
    TGetEditorPropEvent OnGetEditorProp;
    TClickCellEvent OnGetEditorPropInt;
    TComboChangeEvent OnComboChange;
    TComboObjectChangeEvent OnComboObjectChange;
    TEllipsClickEvent OnEllipsClick;
    // ---- Cell checks, fills, disjunct selection, row lists and repaints ----
    // The cell checker (not owned; forgotten when it is freed). Each check answers True when the
    // checker changed no cell, and True without a checker.
    TAdvStringGridCheck* CellChecker() const { return FCellChecker; }
    void SetCellChecker(TAdvStringGridCheck* Value);
    bool CheckCell(int ACol, int ARow);
    // Every cell of the block, row by row, between the checker's StartCheck and StopCheck; with
    // its GotoCell the current cell returns where it was.
    bool CheckCells(int FromCol, int FromRow, int ToCol, int ToRow);
    // DoFixed: every cell of the column, row or grid; else the cells between the fixed columns
    // and rows and the fixed right columns and footers.
    bool CheckCol(bool DoFixed, int ACol);
    bool CheckRow(bool DoFixed, int ARow);
    bool CheckGrid(bool DoFixed);

    // Fills over the same ranges; each reports AllCellsChanged, also over an empty range.
    void TextFill(bool DoFixed, const String& Txt);
    // Fmt gets the cell's column, then its row.
    void FormatFill(bool DoFixed, const String& Fmt);
    // A random integer 0 .. Rnd - 1 (0 when Rnd is below 2).
    void RandomFill(bool DoFixed, int Rnd);
    // "column:row".
    void LinearFill(bool DoFixed);

    // Dates and times as cell values (real column, display row) in the locale's short date and
    // long time formats. A date not above 0 writes an empty text unless ShowNullDates. The
    // readers raise EConvertError for a text that is no date or time.
    void SetDates(int ACol, int ARow, TDateTime Value);
    TDateTime GetDates(int ACol, int ARow);
    void SetTimes(int ACol, int ARow, TDateTime Value);
    TDateTime GetTimes(int ACol, int ARow);

    // The disjunct row selection: with MouseActions.DisjunctRowSelect a flag per row (the real
    // row with RowSelectPersistent), else whether the row lies in the selection. A row outside
    // the grid raises EAdvGridError ("Invalid row <n> accessed" reading, "Invalid row accessed"
    // writing) and nothing changes. Setting asks OnRowDisjunctSelect when the flag would change
    // and fires OnRowDisjunctSelected after.
    bool GetRowSelect(int ARow);
    void SetRowSelect(int ARow, bool Value);
    // The disjunct column flags; outside the columns EAdvGridError "Invalid column accessed".
    bool GetColSelect(int ACol);
    void SetColSelect(int ACol, bool Value);
    // The rows RowIndex .. RowIndex + RCount - 1 (cut at the last row): the whole rows as the
    // selection, or their disjunct flags. A negative RowIndex raises "Invalid row accessed".
    void SelectRows(int RowIndex, int RCount);
    // Clears the disjunct flags of the rows (only with DisjunctRowSelect).
    void UnSelectRows(int RowIndex, int RCount);
    // The columns ColIndex .. ColIndex + CCount - 1 (cut at the last column).
    void SelectCols(int ColIndex, int CCount);
    void UnSelectCols(int ColIndex, int CCount);
    // The current cell to (ToCol, ToRow), then the block as the selection.
    void SelectRange(int FromCol, int ToCol, int FromRow, int ToRow);
    void ClearRowSelect();
    void ClearColSelect();
    int RowSelectCount();
    int ColSelectCount();
    // The selection into the disjunct flags: rows (columns) inside it set; with All the others
    // cleared too.
    void SelectionToRowSelect(bool All);
    void SelectionToColSelect(bool All);
    TRowDisjunctSelectEvent OnRowDisjunctSelect;
    TRowDisjunctSelectedEvent OnRowDisjunctSelected;

    // Row, then Col.
    void GotoCell(int ACol, int ARow);
    // Focus, GotoCell, then the editor opens on the cell.
    void EditCell(int ACol, int ARow);
    // The selection becomes the single cell.
    void FocusCell(int ACol, int ARow);
    // The current cell and the anchor to the cell, scrolled into view.
    void MoveCurrentCell(int ACol, int ARow);
    // Exchanges the stored texts and cell objects of two cells as stored (no merged areas).
    void SwapCells(TPoint FromCell, TPoint ToCell);

    // Rows marked modified; disabled rows (a row beyond the list is enabled). Disabling or
    // enabling the current row moves the current row to the first other enabled data row.
    int ModifiedRowCount() const;
    bool GetRowModified(int ARow) const;
    void SetRowModified(int ARow, bool Value);
    bool GetRowEnabled(int ARow) const;
    void SetRowEnabled(int ARow, bool Value);

    // Repaints (they invalidate; the paint follows). A row band runs from column 0 to the column
    // after the last one shown whole, a column band from the top row to the row after the last
    // one shown whole. RepaintRect takes cells (Left, Top) to (Right, Bottom): nothing for a
    // negative one, the whole grid at once when a corner is out of view.
    void RepaintRow(int ARow);
    void RepaintCol(int ACol);
    void RepaintRect(const TRect& R);
    // The header cells of two columns in the last fixed row and of two rows in the last fixed
    // column.
    void RepaintHeaderCells(int OldCol, int OldRow, int NewRow, int NewCol);

    // ---- Column and row moving ----
    // Where an index goes when the item at FromIndex moves to ToIndex: the items between shift by
    // one towards FromIndex, the others stay.
    static int FollowMove(int Index, int FromIndex, int ToIndex);
    // The end-block-focus notification (the release that ends a move with the mouse).
    TNotifyEvent OnEndBlockFocus;
    // ---- Printing: measuring and painting the cells of a printed row (bodies in
    // AdvGridPrintCell.cpp). They run inside the print engine, on its canvas in MM_LOMETRIC, and
    // read its pass and layout ----
    // The width and height (0.1 mm) cell (ACol real, ARow) prints at; (0, 0) outside the engine.
    TPoint MeasurePrintCell(int ACol, int ARow);
    // Paints row ARow of the display columns FirstCol..LastCol with its top at Y (only in a
    // drawing pass on a page of the page range) and answers the row's height on the page.
    int PaintPrintRow(int Y, int FirstCol, int LastCol, int ARow);
    // The bitmap's bits stretched onto R of Canvas (SRCCOPY, or the raster operation Rop).
    static void StretchBitmapToCanvas(TCanvas* Canvas, const TRect& R, TBitmap* Bitmap);
    static void StretchBitmapRop(TCanvas* Canvas, const TRect& R, TBitmap* Bitmap, Cardinal Rop);
    // The printer's landscape rotation in degrees (90 or 270).
    static int PrinterRotation();
    // The screen size of the cell's graphic that printing scales (ACol real).
    virtual TPoint CalcCellGraphicPrintSize(int ACol, int ARow);
    // The measured size of a cell (Printing: measured for the print engine, in 0.1 mm).
    TEvent<TObject*, TCanvas* /*Canvas*/, int /*ACol*/, int /*ARow*/, TPoint& /*ASize*/, bool /*Printing*/>
        OnCustomCellSize;

protected:
    // Background, text and graphic of a base cell in Cell; Merged for the base of an area.
    void PaintPrintCell(const TRect& Cell, int DisplCol, int ARow, const TCellBorders& Borders, int PenWidth,
                        bool Merged);
    void PaintPrintGraphic(const TRect& R, const TRect& Cell, TCellGraphic* Graphic, int ACol, int ARow);
    // The height of a cell spanning SpanY rows below ARow, and the width of SpanX + 1 columns.
    int PrintMergedHeight(int ARow, int SpanY, int RowHeight);
    int PrintSpanWidth(int FirstCol, int SpanX) const;

public:
    // ---- Cell graphics painting, glyphs and backgrounds (bodies in AdvGridCellGraphicsPaint.cpp) ----
    // Where the cell painter puts a cell's graphic and whether it draws the cell text beside it.
    struct TCellGraphicLayout {
        TCellGraphic* Graphic = nullptr; // nil: the cell has none
        int Width = 0;
        int Height = 0;
        TCellHAlign HAlign = haLeft;
        TCellVAlign VAlign = vaTop;
        bool DrawText = true;
    };
    // ACol is a real column, ARow a display row.
    TCellGraphicLayout GetCellGraphicLayout(int ACol, int ARow);
    // What the graphic painter knows of the cell being painted: the canvas (the grid's or a
    // printer's), the real and display column, the row, the draw state, the width of the text
    // the cell painter drew (0: none) and the cell's horizontal text alignment.
    struct TCellPaintContext {
        TCanvas* Canvas = nullptr;
        int RealCol = 0;
        int DisplCol = 0;
        int Row = 0;
        TGridDrawState State;
        int TextWidth = 0;
        TAlignment HAlign = taLeftJustify;
    };
    // Places Graphic in the cell rectangle R beside the text and paints it; R becomes the
    // placed rectangle, which the cell painter goes on using. CellVAlign is the cell's vertical
    // text alignment (check boxes and radio buttons follow it where it differs from VAlignment).
    void DrawCellGraphic(TRect& R, TCellGraphic* Graphic, TVAlignment CellVAlign,
                         const TCellPaintContext& Ctx);
    // A check box in R in Style (csTheme without visual styles draws csClassic).
    void DrawCheck(TCanvas* Canvas, const TRect& R, bool Checked, TCheckBoxState State, bool ThreeState,
                   TGridControlStyle Style, bool Grayed, bool Enabled);
    // Radio items 1..Count of Items (nil: one item without text) in R; the item whose number is
    // SelectedIndex + 1 is on, or with SelectedIndex -1 the item whose text is the cell's text.
    // Scale multiplies the glyph sizes (1 on screen). Reverse stacks the items upward.
    void DrawRadio(TCanvas* Canvas, const TRect& R, bool Reverse, int Scale, TGridControlStyle Style,
                   int ARow, int ACol, bool Selected, TStrings* Items, bool Disabled, bool Horizontal,
                   int SelectedIndex, int Count);
    // The sort direction mark (or the key number with SortSettings.IndexShow) around (X, Y);
    // ACol is a real column.
    void DrawSortIndicator(TCanvas* Canvas, int ACol, int X, int Y);
    // An RTF cell (real column) rendered by the hidden rich edit into R, less XYOffset.X.
    void DrawRichCell(int ACol, int ARow, const TRect& R, TCanvas* Canvas);
    // The part of BackGround.Bitmap that falls into cell R of display cell (ACol, ARow): tiled
    // from the first data cell (bcNormal) or the top-left cell, else at (Left, Top).
    void DrawBackGroundPicture(TCanvas* Canvas, int ACol, int ARow, const TRect& R);
    // The cell's slice of the grid-wide background gradient (BackGround.Color -> ColorTo).
    void DrawBackGroundGradient(TCanvas* Canvas, const TRect& R);
    // The client area right of the last column and below the last row, with the background
    // picture or gradient (part of the grid paint).
    void PaintEmptyArea();

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
    // Loading sort settings from text sorts by them (bodies with the sorts).
    void SettingsSort() override;
    void SettingsSortIndexed() override;
    // Stored without a repaint: ControlLook passes its fixed-gradient colours on.
    void SettingsKitGradient(TFixedGradientColor Which, TColor Value) override;
    void SettingsOleDropTarget(bool Active) override;
    void SettingsRTFDragDrop(bool Active) override;
    void SettingsFooterRows(int AFixedFooters, bool HideLastRow) override;
    void SettingsHideLastRow(bool HideLastRow) override { FHideLastRow = HideLastRow; }
    // The footer panel (GridFooterPanel.cpp).
    bool SettingsFooterPanelExists() const override { return FFooterPanel != nullptr; }
    void SettingsFooterPanelHeight(int Height) override;
    void SettingsFooterPanelVisible(bool Visible) override;
    void SettingsFooterPanelShowHint(bool ShowHint) override;
    void SettingsRepaintFooterPanel() override;

    // ---- Cell accessors: scroll-bar cells and the sizing state ----
    // After a base cell's text changed: an automatic-range scroll bar in it takes the row's
    // height as its page and the text's height as its range.
    void BaseCellTextChanged(int ACol, int ARow) override;
    // The platform grid's sizing state, then OnColumnSize and OnRowSize may refuse it.
    void GetSizingState(int X, int Y, TGridState& State, int& Index, int& SizingPos, int& SizingOfs) override;

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

    // ---- Cell checks, fills, disjunct selection, row lists and repaints ----
    // The platform grid's move of the current cell beside the public FocusCell.
    using TBaseGrid::FocusCell;

    // ---- Column and row moving ----
    // A move of display column (row) FromIndex to ToIndex, from the platform grid's own move or
    // a direct call: the column order, the hidden-column table, the hidden rows' texts, the sort
    // columns and the current column follow it; a synchronised grid repeats it. Widths (heights)
    // and the current cell move once: the platform grid's move has moved them already.
    void ColumnMoved(int FromIndex, int ToIndex) override;
    // A row landing on the floating footer's row does not move.
    void RowMoved(int FromIndex, int ToIndex) override;
    virtual void EndBlockFocus();
    // The end of a move with the grid's own visuals at a release of the left button at (X, Y):
    // False (nothing done) unless such a move runs (drag cursor, a moving state, EnhRowColMove).
    // The move goes to the column or row under the point; the release needs nothing more.
    bool EndEnhancedMove(int X, int Y);
    // The press that may start a move: the column or row pressed (-1 none) and the offset of the
    // press in it.
    int Movecell = -1;
    int MoveOfsX = 0;
    int MoveOfsY = 0;
    // A move was carried out during the current button gesture.
    bool ColMoveFlg = false;
    // Set while this grid repeats its synchronised partner's move.
    bool FSyncedMove = false;
    // The drag image window (owned while set).
    TCustomForm* MoveForm = nullptr;

    // ---- Structure accessors and header lists ----
    // The column headers changed (the column grid copies them into its columns).
    virtual void ColumnHeadersChanged() {}
    virtual void F2KeyPressed() {}

    // ---- In-place editing ----
    // The can-show-editor query of the platform grid: True lets the text editor show; an editor
    // control kind is opened here and the text editor refused.
    bool CanEditShow() override;
    // The edit-text bridge: the base cell's text (markup stripped unless EditWithTags) and back.
    String GetEditText(int ACol, int ARow) override;
    void SetEditText(int ACol, int ARow, const String& Value) override;
    int GetEditLimit() override { return GetEditMaxLength(); }
    virtual int GetEditMaxLength() { return FMaxEditLength; }
    // An open editor control is committed when the grid scrolls; cell controls follow.
    void TopLeftChanged() override;
    // Opens (closes) the editor control of EditControl on a display cell.
    virtual void OpenCellEditor(int ACol, int ARow);
    virtual void CloseCellEditor(int ACol, int ARow);
    void ShowEditControl(int ACol, int ARow) { OpenCellEditor(ACol, ARow); }
    void HideEditControl(int ACol, int ARow) { CloseCellEditor(ACol, ARow); }
    // The "GridEditDone" message: OnEditCellDone, then the EditOnDblClickOnly rule.
    void GridEditDone(TMessage& Message);

public:
    // ---- Rich text (AdvGridRichText.cpp) ----
    // The in-place editor of edRichEdit cells and the hidden control in which RTF cell texts are
    // converted, measured and painted; each made on first use (nullptr while designing).
    TAdvRichEdit* InplaceRichEdit();
    TAdvRichEdit* RichEdit();
    // Moves a cell's text (real column) into a rich edit (RTF as RTF, any other text as plain
    // text), the rich edit's content out as RTF (empty while the grid is being destroyed), and
    // that RTF into a cell.
    void CellToRich(int Col, int Row, TRichEdit* Richeditor);
    String RichToString(TRichEdit* Richeditor);
    void RichToCell(int Col, int Row, TRichEdit* Richeditor);
    // The plain text of an RTF cell text (other text comes back as it is).
    String RichPlainText(const String& Text);
    // Selected RTF cells keep their own text colours (else SelectionTextColor).
    bool SelectionRTFKeep = false;
    TNotifyEvent OnRichEditSelectionChange;

protected:
    friend class TAdvRichEdit;
    friend class TEditLink;
    friend class TControlEdit;
    friend class TControlCombo;
    // The edRichEdit and edCustom halves of OpenCellEditor (display cell, R its rectangle; the
    // answer is the control a start character goes to, nullptr when nothing opened) and of
    // CloseCellEditor (C the real column).
    TWinControl* OpenRichEditor(int ACol, int ARow, const TRect& R, TColor Colour);
    // The same halves for the nine drop-down kinds (dropdowns/GridDropDownEditors.cpp); C is the
    // real column.
    TWinControl* OpenDropDownEditor(int ACol, int ARow, int C, const TRect& R, TColor Colour);
    void CloseDropDownEditor(int C, int ARow);
    TWinControl* OpenEditLink(int ACol, int ARow, const TRect& R, TColor Colour);
    void CloseRichEditor(int C, int ARow);
    void CloseEditLink(int C, int ARow);
    // The size of an RTF cell text (pixels) laid out in a W x H rectangle.
    TSize RichTextSize(const String& Text, int W, int H);

    // The editors read and write the edit state directly.
    friend class TAdvInplaceEdit;
    friend class TGridCombo;
    friend class TGridSpin;
    friend class TGridCheckBox;
    friend class TGridDatePicker;
    friend class TGridDateTimePicker;
    friend class TGridEditBtn;
    friend class TGridUnitEditBtn;
    friend class TGridButton;
    friend class TGridTransEdit;
    friend class TGridTransCombo;
    friend struct TGridEditorSupport;
    TEditorType EditControl = edNormal; // the kind of the cell being edited
    bool FEditMode = false;             // an editor is open for the current cell
    bool FEditing = false;              // an edit is open and not yet validated
    bool FEditActive = false;           // an editor control is active
    bool FSpecialEditor = false;        // the open editor is an editor control
    bool FBlockKill = false;            // an editor control is being committed
    bool FBlockFocus = false;           // DoneInplaceEdit runs
    bool FValidating = false;           // a validation runs
    bool FShowEditProcess = false;      // the text editor was shown for a text-like kind
    bool FEntered = false;              // an editor was entered for the current cell
    bool FNoEditChange = false;         // OnEditChange is held back while an editor is loaded
    bool FLastValidation = true;        // False after a refused validation
    bool FSpinUpClick = false;          // open the spin editor one step up (down)
    bool FSpinDnClick = false;
    bool FModified = false;
    bool FOldModifiedValue = false;
    bool LButFlg = false;        // the edit was started by a left click
    bool FNoAutoAdvance = false; // a refused validation: the key-up does not advance
    Char FStartEditChar{u'\0'};
    int FComboIdx = -1; // the combo item used when the cell text is none of the items
    int FOldCol = -1;   // the snapshot cell (display column)
    int FOldRow = -1;
    int FFixedColEdit = -1; // the fixed cell open in a fixed-cell editor
    int FFixedRowEdit = -1;
    int FOldLeftCol = 0; // LeftCol and TopRow as of the last scroll
    int FOldTopRow = 0;
    String FCellCache;
    String FEditText;
    String FOldCellText;
    String FNewCellText;
    String FOldCellTextWide;
    TDateTime FOriginalDateTime = 0;
    TWinControl* FEditCtrl = nullptr;

    // ---- Look presets and link display settings ----

    // ---- Sorting, filtering, search, files, clipboard and drag and drop (bodies in grid/extras) ----
    // The handlers of the filter list box and the filter check list (their OnSelect).
    virtual void FilterSelect(TObject* Sender, int ItemIndex);
    virtual void FilterCheck(TObject* Sender, int ItemIndex);
    void FilterDropDownChanged(TObject* Sender);
    // Fires OnFilterDone.
    virtual void FilterDone();
    // The quicksort workers (each recursing into its smaller part only) and the group sort.
    void SortRowRange(int ACol, int Left, int Right);
    void SortRowRangeIndexed(int KeyIndex, int Left, int Right);
    void UnSortRowRange(int Left, int Right);
    void SortGroups(bool Indexed);
    // The search panel's handlers.
    void SearchPanelEditChange(TObject* Sender);
    void SearchPanelForwardClick(TObject* Sender);
    void SearchPanelBackwardClick(TObject* Sender);
    void SearchPanelExitClick(TObject* Sender);
    void SearchPanelHighlightClick(TObject* Sender);
    // Frees every drop-down editor the grid holds (each reference cleared first).
    void FreeDropDownEditors();
    // The paste's virtual operations. PasteCell stores one pasted value (registered for undo; a
    // check box takes its state from CheckTrue); BeforePaste and AfterPaste are empty hooks;
    // PasteDone marks the pasted rows modified with ShowModified (Source is the top-left cell
    // the cells were copied from in this grid, (-1, -1) when they came from elsewhere).
    enum TClipOperation { coCut, coCopy };
    virtual void PasteCell(int ACol, int ARow, const String& Value);
    virtual void BeforePaste() {}
    virtual void AfterPaste() {}
    virtual void PasteDone(const TPoint& Source, const TRect& Target, TClipOperation Operation);
    virtual bool AllowFmtClipboard();
    // The selection widened to whole merged areas (set when it changed).
    TGridRect WidenSelectionToMerged();
    // The smart fill after a paste into the selection S: N the paste's count, Rows and Cols the
    // size it reported.
    void SmartFillSelection(const TGridRect& S, int N, int Rows, int Cols);
    // The one-value part of the smart fill: every editable cell of S takes the top-left text.
    void SmartFillSingle(const TGridRect& S);
    // Writes Values into the editable cells of S column by column from the top-left cell (one
    // value per cell visited), with the paste's events, until the values run out.
    void SmartFillCells(const TGridRect& S, const std::vector<String>& Values, bool AfterOnlyAllowed);
    // Whether a pasted cell may land at (ACol, ARow): inside the grid, or past its end where the
    // clipboard growth options let the grid grow to take it (it grows then).
    bool PasteTargetReady(int ACol, int ARow);
    // LoadAtPointFromBinStream; with InsideGrid (a paste) every stream is a block placed at Point
    // (a whole-grid stream neither clears nor sizes the grid) and cells that would land past the
    // grid's counts are read and passed over.
    void LoadBinStreamAt(const TPoint& Point, TStream* Stream, bool InsideGrid);

    // ---- Query and event dispatchers ----
    // Set by editing when it took goEditing away because the current cell is not editable.
    bool FEditDisable = false;

    // ---- Cell visual properties ----
    // Set by the mouse handling while a button is down over the cells.
    bool FMouseDown = false;

    // ---- Grid paint, outer border and focus frame ----
    // The cells, the edited cell's frame, the design overlay, OnPainted.
    void Paint() override;
    // The inherited non-client painting, then the outer border unless an update runs.
    void WMNCPaint(TWMNCPaint& Message);
    // The design-time overlay (nothing at run time).
    virtual void DrawDesignHelper() {}

    // ---- Cell graphics ----
    // A click, the space key or ToggleCheckBox on a check box (User: a user action, which needs
    // the can-edit query unless ControlLook.CheckAlwaysActive); True when one changed.
    virtual bool ToggleCheckState(int ACol, int ARow, bool User);
    // A click on a radio button: checks it and unchecks the column's others.
    virtual bool SelectRadioButton(int ACol, int ARow, bool User);
    // A click or key on a radio group: the next item, wrapping to the first.
    virtual bool SelectNextRadio(int ACol, int ARow, bool User);
    virtual void CheckBoxChange(int ACol, int ARow, bool State);
    // With Grouping.AutoCheckGroup after a toggle at display row ARow: a node's state reaches
    // every row of its group; a row's change makes its parent node's three-state box checked,
    // unchecked or grayed as the group's rows agree or differ.
    void FollowGroupCheck(int ACol, int ARow, bool Checked);
    // Whether the new rating is allowed (True without handler).
    virtual bool RatingChange(int ACol, int ARow, double& Rate);

    // ---- Cell painting ----
    // The mouse handling's state that the painter reads: the hovered fixed cell, the hot cell of
    // the list-view look, the cell whose link is hovered and the link's number, the column being
    // moved, the left button down on the grid, a fixed cell's drop-down button pressed, an
    // embedded markup button pressed, and the blink phase of blinking markup.
    int FHoverFixedX = -1;
    int FHoverFixedY = -1;
    TPoint FHotFixedCell{0, 0};
    TPoint FHoverCell{0, 0};
    int FHoverlink = -1;
    int FMoveColInd = -1;
    bool FMouseDownMove = false;
    bool FDropDownDown = false;
    bool FCtrlDown = false;
    bool FBlinkState = true;

    // ---- Hints and balloons ----
    // The hint-show message: BuildCellHint on the record; answers 0 (show the hint).
    void CMHintShow(TMessage& Message);
    // Balloon.OnEnableChange: nothing while loading; BalloonInit or BalloonDone.
    void BalloonSettingsEnableChange(TObject* Sender);

    // ---- Scrolling, size changes and notifications (AdvGridScrolling.cpp) ----
    // The platform grid's bars, then the proportional thumbs.
    void UpdateScrollRange() override;
    void UpdateScrollPos() override;
    void WMHScroll(TWMScroll& Message);
    void WMVScroll(TWMScroll& Message);
    void WMGetDlgCode(TMessage& Message);
    void WMNotify(TWMNotify& Message);
    // Starts, restarts and stops the drag-scroll timer before the inherited drag-over step.
    void DragOver(TObject* Source, int X, int Y, TDragState State, bool& Accept) override;
    void DragScrollTimerTick(TObject* Sender);
    // The row or column count changed.
    void SizeChanged(int OldColCount, int OldRowCount) override;
    void ColWidthsChanged() override;
    void RowHeightsChanged() override;
    // A removed component the grid refers to is forgotten.
    void Notification(TComponent* AComponent, TOperation Operation) override;
    // The metro scroll controls made (with the window) or freed.
    void CreateMetroScrollControls();
    void FreeMetroScrollControls();
    // The user sizing a column or row, set by the mouse handling: the column and row pressed
    // for sizing (-1: none) and their width and height when the sizing started.
    int FSizingCol = -1;
    int FSizingRow = -1;
    int FSizingColWidth = 0;
    int FSizingRowHeight = 0;
    bool FUserSizing = false;

    // ---- Mouse movement, hover and the filter drop-down (AdvGridMouseMove.cpp, GridFilterDropDown.cpp) ----
    void KeyDown(Word& Key, TShiftState Shift) override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void CMMouseLeave(TMessage& Message);
    // Repaints the selection for the looks that paint it in gradients and fires
    // OnSelectionChanged.
    virtual void SelectionChanged(int ALeft, int ATop, int ARight, int ABottom);
    virtual void StartBlockFocus();
    // The filter lists: the release on a column's filter button opens one; the lists close
    // themselves on Esc, focus loss and a cancel-mode message with the cursor outside them.
    enum TCloseFilterReason { cfEscape, cfFocusLost };
    bool OnFilterButton(int ACol, int ARow, int X, int Y);
    void ShowFilterList(int ACol, int ARow);
    void CloseFilterList(TWinControl* List, TCloseFilterReason Reason, HWND FocusTo);
    void DropListMessage(TWinControl* List, TMessage& Message, bool& Handled);
    void MakeFilterLists();
    // Steps of the mouse move: the links under the pointer (True: the cursor is handled), the
    // visuals of a running column or row move, the size hint, the OLE drag start.
    bool HoverLinks(int ACol, int ARow, int X, int Y);
    void ShowMoveVisuals(int ACol, int ARow, int X, int Y);
    void ShowDragImage(TCustomForm* Form);
    void HideMoveVisuals();
    void ShowSizeHint(int X, int Y);
    void StartOleDrag(int ACol, int ARow);
    friend class TDropList;
    friend class TDropCheckList;
    // State the button handlers set and this handling reads: the first row or column of a drag
    // selection over the fixed cells (-1: none), a press inside the selection that may start an
    // OLE drag, the button held with the left column kept, the sizing press (column, row,
    // position, offset from the cell's far edges), the fixed borders under the pointer and their
    // sizing, the row the insertion arrows point at.
    int FMouseSelectStart = -1;
    bool FSelectionClick = false;
    bool FMouseKeepDown = false;
    int FOldKeepLeftCol = 0;
    int Colclicked = -1;
    int Rowclicked = -1;
    int Clickposx = 0;
    int Clickposy = 0;
    int Clickposdx = 0;
    int Clickposdy = 0;
    bool FSizeFixed = false;
    bool FSizeFixedR = false;
    bool FSizingFixed = false;
    bool FSizingFixedR = false;
    int FSizeFixedX = 0;
    int FSizeFixedY = 0;
    int FMoveRowInd = -1;
    // This handling's own state: the current cell at the last key, the real column whose filter
    // list is open, a fixed-cell highlight kept past the pointer's leaving, the selection as
    // last painted while range selecting and while dragging over the fixed cells, the cell whose
    // button is hot, the link under the pointer as last reported (the platform grid's FAnchor is
    // its selection anchor), the cell whose scroll bar shows, the inherited mouse-down running.
    TPoint FLastKeyCell{-1, -1};
    int FFilterCol = -1;
    bool FNoMouseLeave = false;
    TGridRect FMoveSelection{-1, -1, -1, -1};
    TGridRect FSizeSelection{-1, -1, -1, -1};
    TPoint FHoverButton{-1, -1};
    String FLinkAnchor;
    int FScrollCol = -1;
    int FScrollRow = -1;
    bool FEditStart = false;

private:
    // ---- Cell graphics painting, glyphs and backgrounds ----
    // The percentage of an advanced progress bar for Value in its range (0 for an empty range).
    static int XPProgressPercentage(const TCellGraphic* Graphic, int Value);
    void DrawProgressCell(TCanvas* C, const TRect& Cell, TCellGraphic* Graphic, int ACol, int ARow);
    void DrawNodeButton(TCanvas* C, TRect& R, TCellGraphic* Graphic, int ACol, int ARow,
                        const TGridDrawState& State);
    void DrawCellButton(TCanvas* C, const TRect& Cell, TRect& G, TCellGraphic* Graphic, bool CanEdit);

    // ---- Row and column insertion, removal, clearing and merging ----
    // Whether a row counts as selected for the row operations: its disjunct selection flag (of
    // the real row with RowSelectPersistent), else whether it lies in the selection's rows.
    bool RowSelectedForOps(int ARow);
    // Empty the disjunct row (column) selection and repaint.
    void ClearRowFlags();
    void ClearColFlags();
    // FNumHidden from the visibility table; a column pushed out of it shows again.
    void RecountHiddenColumns();
    bool FNilObjects = false;      // clearing drops cell objects without freeing them
    bool FBlockCellChange = false; // ClearRect reports no change

    // ---- Column and row calculations, sizing and swapping ----
    enum TColumnPassKind { cpSum, cpMin, cpMax };
    // -1 for either bound: the data rows without the fixed footers.
    void DefaultCalcRange(int& FromRow, int& ToRow) const;
    bool CalcRangeIsReal(int ToRow) const;
    double CalcValue(int ACol, int ARow, bool Real);
    double ColumnPass(int ACol, int FromRow, int ToRow, bool Real, TColumnPassKind Kind);
    // The footer's value of a calculation type over the rows; false for a type without one.
    bool FooterCalcValue(int ACol, int FromRow, int ToRow, bool Real, TColumnCalcType Type, double& Value);
    double RowExtreme(int ARow, int FromCol, int ToCol, bool Max);

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
    bool FFilterDropDownAuto = false;
    int FFilterDropDownRow = 0;
    int FFilterFixedRows = 0;
    String FLastFilter;
    // The sorts' shared frame: scratch rows, whole-grid restore after a raising event.
    friend class TSortFrame;
    // The drag-and-drop side reads and moves the drag visuals, the dragged selection, the
    // timer's ticks and a pending column chooser drag.
    friend class TGridDropTarget;
    friend class TGridDropSource;
    bool FOleDropTargetAssigned = false;
    // Holds a reference while the grid keeps it.
    TGridDropTarget* FDropTarget = nullptr;
    // The top-left cell of the last rectangle turned into text, the last clipboard operation,
    // whether the current paste is PasteFromClipboard.
    TPoint FClipTopLeft{0, 0};
    TClipOperation FClipLastOp = coCopy;
    bool FPasteAll = false;
    // The last text pasted ended with a line break (its last line was the empty remainder).
    bool FPasteTrailingBreak = false;
    int FOleDragCol = -1;
    int FOleDragIndex = 0;
    TCustomListBox* FOleDragList = nullptr;
    TGridTrackbarDropDown* FTrackbarDropDown = nullptr;
    TGridMemoDropDown* FMemoDropDown = nullptr;
    TGridCalculatorDropDown* FCalculatorDropDown = nullptr;
    TGridTimepickerDropDown* FTimepickerDropDown = nullptr;
    TGridDetailPickerDropDown* FDetailPickerDropDown = nullptr;
    TGridGridDropDown* FGridDropDown = nullptr;
    TGridColorDropDown* FColorDropDown = nullptr;
    TGridImageDropDown* FImageDropDown = nullptr;
    TGridAdvGridDropDown* FAdvGridDropDown = nullptr;

    // ---- Grid paint, outer border and focus frame ----
    void PlaceFocusFrame();
    static TAdvStringGrid* FFocusFrameGrid;

    // ---- Cell visual properties ----
    // The disjunct row and column selection flags and the disabled-row flags, entry by index.
    bool RowSelectFlag(int ARow) const;
    bool ColSelectFlag(int ACol) const;
    bool RowDisabled(int ARow) const;

    // ---- Text measuring, alignment and visual settings ----
    TVAlignment FVAlignment = vtaTop;
    Cardinal FVAlignFlag = 0;
    TColor FSelectionMirrorColor = clNone;
    TColor FSelectionMirrorColorTo = clNone;
    bool FSelectionColorMixer = false;
    int FSelectionColorMixerFactor = 50;
    bool FSelectionRectangle = false;
    bool FSelectionResizer = false;
    bool FShowSelection = true;
    bool FActiveCellShow = false;
    TColor FHighlightColor = clHighlight;
    TColor FHighlightTextColor = clHighlightText;
    bool FFlat = false;
    bool FAutoSize = false;
    int FMaxEditLength = 0;
    bool FSpreadSheet = false;

    // ---- Selection and cell accessors ----
    bool FIntegralHeight = false;
    TCursor FOldCursor = crDefault; // the cursor restored after temporary cursors
    TOwned<TIntList> FSortRowXRef{new TIntList(0, 0)};
    int FNumCellControls = 0;
    // Repaints the display cell of a real column.
    void RepaintRealCell(int ACol, int ARow) { RepaintCell(DisplColIndex(ACol), ARow); }
    // The hidden-row record of real row ARow; nullptr when the row is shown.
    TGridItem* HiddenRowItem(int ARow) const;
    // The cell's properties when it has any (none is made).
    const TCellProperties* CellPropsIfAny(int ACol, int ARow) const;

    // ---- Cell graphics ----
    TCustomImageList* FGridImages = nullptr;
    // The graphic column 0 shows for every row with HotmailRowSelect (never freed through a cell).
    std::unique_ptr<TCellGraphic> FRowCheckGraphic = std::make_unique<TCellGraphic>();
    // The cell's graphic when it is of that kind.
    TCellGraphic* GraphicOfType(int ACol, int ARow, TCellType CellType);
    // A new graphic for a check box or radio button: flat, before the text, placed vertically as
    // the grid's cells are. Outside the grid: EAdvGridError "Invalid cell".
    TCellGraphic* CreateCheckGraphic(int ACol, int ARow);
    // The cell's check text for the checked or unchecked state (GetCheckTrue, GetCheckFalse).
    String CheckText(int ACol, int ARow, bool Checked);
    // Whether a user's click or key may change the cell's control: the can-edit query.
    bool UserMayChange(int ACol, int ARow);
    // The first data row of check-box columns (0 with MouseActions.CheckAllCheck).
    int CheckColumnFirstRow() const;
    // The graphic of real row ARow: from its hidden-row record when the row is hidden.
    TCellGraphic* GraphicOfRealRow(int ACol, int ARow);
    // Removes the graphic when its kind is one of Kinds.
    bool RemoveKinds(int ACol, int ARow, std::initializer_list<TCellType> Kinds);

    // ---- Hints and balloons ----
    bool FUseHTMLHints = false;
    TPoint FLastHintPos{-1, -1};
    String FLastAnchorHint;
    HWND FHToolTip = 0;
    TPoint FLastBalloonPos{-1, -1};

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
    TOwned<TSelectedCellList> FSelectedCells;
    TOwned<TIntList> FSelectedRows;
    TOwned<TIntList> FModifiedRows;
    TOwned<TIntList> FEnabledRows;
    TOwned<TBitmap> FRowIndicator;
    TOwned<TBackGround> FBackGround;
    TOwned<THTMLHintWindow> FScrollHintWnd;
    TOwned<TGridProgressAppearance> FProgressAppearance;
    TOwned<TSyncGrid> FSyncGrid;
    TOwned<TFilter> FFilter;
    TOwned<TBalloonSettings> FBalloon;
    TOwned<TShowModified> FShowModified;
    TOwned<TList> FNotifierList;
    TOwned<TFilterDropDown> FFilterDropDown;
    TOwned<TStringList> FFilterList;
    TOwned<TDropList> FDropList;
    TOwned<TDropCheckList> FDropCheckList;
    // Run time only.
    TOwned<TGridFocusWindow> FFocusWindow;
    std::array<TOwned<TArrowWindow>, 4> FArrows;
    TOwned<THeaderDragButton> FMoveButton;

    // ---- Tree rows ----
    TOwned<TCellNode> FCellNode;
    int FNumNodes = 0;
    // The grid's identity in its cell streams: unique in the process, 0 until first asked for.
    int FStreamID = 0;
    int StreamID();
    // The workers of the file formats (grid/extras/AdvGridFiles*.cpp).
    void SaveAligned(const String& FileName, bool Unicode, bool Append);
    // The spreadsheet writers' cells from row FirstRow of the sheet on; the word-processor writers'
    // table, at the start of a document or appended at a bookmark or the end.
    void WriteXLSBlock(const OleVariant& Sheet, int FirstRow);
    void WriteDocTable(const String& FileName, bool CreateNewDocument, bool Append, const String& Bookmark);
    void WriteCSV(const String& FileName, bool Unicode, bool Append);
    void ReadCSVLines(const QStringList& Lines, int MaxRows, bool Insert);
    void SaveHTMLFile(const String& FileName, bool Show, bool Unicode, bool Append);
    // The node graphic of a display row; nullptr for other rows.
    TCellGraphic* NodeGraphic(int ARow);
    // The rows a node covers counted from its display row (span 0: up to the next node row).
    int CoveredRows(int ARow, const TCellGraphic* Node);
    // Adds Delta to the column-0 level of Count display rows from ARow.
    void ChangeNodeLevels(int ARow, int Count, int Delta);
    // The expand step alone (no ExpandOne) for a real row.
    void ExpandNodeRows(int ARow);
    // Hidden-row records from real row ARow on move down by one (a row was inserted there).
    void ShiftHiddenRowsDown(int ARow);
    // A row left the node: span minus one, sub-node count too while above 0 (display row).
    void ShrinkNode(int ARow);

    // ---- Cell painting ----
    // What one cell's paint carries from step to step.
    struct TCellPaint;
    // The fixed-cell looks, the row indicator and the modified bar (steps before the content).
    void PaintFixedLook(TCellPaint& P);
    // The editor buttons shown always; the rectangle's right edge moves past them.
    void PaintAlwaysVisibleButtons(TCellPaint& P);
    // The cell's text, selection rectangle, filter button and sort indicator.
    void PaintCellContent(TCellPaint& P);
    void PaintSelectionRectangle(TCellPaint& P);
    void PaintFilterButton(TCellPaint& P);
    void PaintCellBorders(TCellPaint& P);
    // The look's edges of fixed cells and the lines of the fixed right columns.
    void PaintFixedEdges(TCellPaint& P);
    void PaintTreeLines(TCellPaint& P);
    void PaintFocusRect(TCellPaint& P);
    // The modified-row mark of a display row.
    bool RowModifiedFlag(int ARow) const;
    // Whether the cell is the hovered fixed cell (or the column being moved): a cell that
    // HoverFixedCells highlights, not while designing.
    bool IsHoveredFixedCell(int ACol, int ARow) const;

    // ---- Grouping ----
    int FGroupColumn = -1;
    int FGroupWidth = 0;  // the grouped column's width
    String FGroupCaption; // its row-0 text
    String FGroupFooter;  // its footer-row text
    // The header or summary colours of Grouping on a row (clNone: left alone).
    void SetGroupRowLook(int ARow, bool Header);
    // Merges the row's cells from FromCol to the last column and colours that cell.
    void MergeGroupRow(int ARow, int FromCol, bool Header);
    // GroupCalc, then the footer cell of the column calculates by CalcType.
    void GroupCalcWithFooter(int ACol, int Method, TColumnCalcType CalcType);

    // ---- Scrolling, size changes and notifications ----
    TScrollStyle FGridScrollBars = ssBoth;
    TColor FScrollColor = clNone;
    int FScrollWidth = 17;
    bool FScrollProportional = false;
    int FProportionalBusy = 0; // the proportional thumbs are being set (or Zoom holds them)
    bool FScrollHintShow = false;
    std::array<TOwned<TScrollControl>, 2> FMetroScroll;
    TTimer* FDragScrollTimer = nullptr; // owned by the parent
    TDragScrollDirections FDragScrollDir;
    bool FInStretch = false;
    ITAdvStringGridSelect* FSelListener = nullptr;
    String FToolTipText;
    TPoint FToolTipCell{-1, -1};
    // The proportional thumb of one bar.
    void ProportionalThumb(bool Vertical);
    // The scroll hint for a thumb position of a bar.
    void ShowScrollHint(bool Vertical, int Pos);
    void HideScrollHint();
    // Stretches ColumnSize's stretch column when stretching is on and the column exists.
    void StretchSettingColumn();
    // Stops and frees the drag-scroll timer.
    void StopDragScroll();
    // Scales every other data row (column) by NewSize / OldSize after a user sizing.
    void ScaleOthers(bool Rows, int Index, int NewSize, int OldSize);
    // Whether a merged cell shows (the fixed cells and the visible part).
    bool ShowsMergedCells() const;
    // The cells under the corners of a fixed background picture.
    TGridRect FixedBackgroundCells();
    void AnswerToolTipText(NMTTDISPINFO& Info);
    // ---- In-place editing ----
    // ValidateCell and ValidateCellWide (Wide: the wide variant's steps).
    bool ValidateEdit(const String& NewValue, bool Wide);
    // A refused validation: the cell (real column) gets CellValue and the editor reopens on the
    // snapshot cell.
    void ReopenAfterRefusal(int ACol, const String& CellValue);
    // The top of the search panel in client pixels; -1 while no search panel is shown.
    int SearchPanelTop() const;
    // The balloon of InvalidEntryTitle / InvalidEntryText on the editor.
    void ShowInvalidEntryBalloon();
    // Marks a real row modified (the row flags grow as needed) and repaints its mark.
    void MarkRowModified(int ARow);
    // ---- Cell checks, fills, disjunct selection, row lists and repaints ----
    TAdvStringGridCheck* FCellChecker = nullptr;
    // The block of a DoFixed range.
    void CellOpRange(bool DoFixed, int& FromCol, int& FromRow, int& ToCol, int& ToRow) const;
    // Fill over a DoFixed range, then AllCellsChanged.
    void FillCells(bool DoFixed, const std::function<void(int, int)>& Fill);
    // The index a disjunct row flag of display row ARow has.
    int RowSelectIndex(int ARow) const;
    // The invalidation of a band of cells without erase; nothing when neither end is shown.
    void InvalidateCellBand(int Col1, int Row1, int Col2, int Row2);

    // ---- Column and row moving ----
    // A row move onto the shown floating footer's row (fsFixedLastRow) does not happen.
    bool FooterRefusesRowMove(int ToIndex) const;
    bool FUndoingRowMove = false;
    // DeleteRows moves each row to the end to drop it: past the footer's row, which is no move
    // onto it.
    bool FRowsLeaving = false;

    // ---- In-place editors: the default text editor, the editor controls, the fixed-cell editors ----
public:
    // The editor controls made by the constructor (run time only; nullptr while designing).
    TGridCombo* Combobox() const { return FEditCombo.get(); }
    TGridEditBtn* BtnEdit() const { return FEditBtn.get(); }
    TGridUnitEditBtn* BtnUnitEdit() const { return FUnitEditBtn.get(); }
    // Lookup completion of the default editor from LookupItems.
    bool Lookup = false;
    bool LookupCaseSensitive = false;
    // Leaving the editor adds its text to LookupItems.
    bool LookupHistory = false;
    // The characters an edValidChars cell takes: ValidChars when not empty, else ValidCharSet
    // (character codes 0..255).
    String ValidChars;
    std::bitset<256> ValidCharSet;
    // The numeric keypad's decimal key types the locale's decimal separator.
    bool ExcelStyleDecimalSeparator = false;
    TGridClipboardEvent OnClipboardCopy;
    TGridClipboardEvent OnClipboardCut;
    TGridClipboardEvent OnClipboardPaste;
    TClipboardPasteCellEvent OnClipboardBeforePasteCell;
    TClipboardAfterPasteCellEvent OnClipboardAfterPasteCell;
    TDblClickCellEvent OnDblClickCell;

protected:
    // The platform grid's editor factory: the default text editor.
    TInplaceEdit* CreateEditor() override;
    // Hooks the default editor calls; they do nothing in the grid itself.
    virtual void EditKeyDown(Word& Key, TShiftState Shift);
    virtual void EditKeyMessage(TMessage& Message);
    virtual void EditCaretMoved(const String& Text, TPoint Pos, int CaretPos);
    virtual void EditFormulaMode(bool Enabled);
    // The default editor (nullptr until the grid first shows it).
    TAdvInplaceEdit* NormalEdit() const;

    // The editor controls and the fixed-cell editors (the grid owns them).
    TOwned<TGridCombo> FEditCombo;
    TOwned<TGridTransEdit> FEditTrans;
    TOwned<TGridTransCombo> FComboTrans;
    TOwned<TGridCheckBox> FEditCheck;
    TOwned<TGridEditBtn> FEditBtn;
    TOwned<TGridUnitEditBtn> FUnitEditBtn;
    TOwned<TGridButton> FGridButton;
    // The markup-control editors (run time only), and the two rich edits made on first use.
    TOwned<TControlEdit> FEditControl;
    TOwned<TControlCombo> FComboControl;
    TOwned<TAdvRichEdit> FInplaceRichEdit;
    TOwned<TAdvRichEdit> FRichEdit;
    // Made on first use.
    TOwned<TGridSpin> FEditSpin;
    TOwned<TGridDatePicker> FEditDate;
    TOwned<TGridDateTimePicker> FEditDateTime;

    // ---- Editor controls: made on first use, the combo's item list, their events ----
public:
    // The spin and the two date editors, each made on first use (hidden and disabled; nullptr
    // while designing).
    TGridSpin* SpinEdit();
    TGridDatePicker* DateTimePicker();
    TGridDateTimePicker* DateAndTimePicker();
    // The combo editor's items. RemoveComboString and SetComboSelectionString answer False for
    // a text that is no item and then change nothing. SetComboSelection sets the item the combo
    // opens on when the cell's text is none of the items (-1: none). SetComboIndex lets
    // OnGetEditorProp fill the items for the cell (real column), then writes item Value into
    // it; an index outside the items writes nothing.
    void ClearComboString();
    void AddComboString(const String& S);
    void AddComboStringObject(const String& S, TObject* AObject);
    bool RemoveComboString(const String& S);
    bool SetComboSelectionString(const String& S);
    void SetComboSelection(int Idx) { FComboIdx = Idx; }
    void SetComboIndex(int ACol, int ARow, int Value);
    // The longest text the combo editor takes (0: no limit).
    int MaxComboLength = 0;
    // The spin editor's buttons (and Home and End): the column and row of the current cell, the
    // new value, True for the up button.
    TSpinClickEvent OnSpinClick;
    TEvent<TObject*, int /*ACol*/, int /*ARow*/, double /*AValue*/, bool /*UpDown*/> OnFloatSpinClick;
    TEvent<TObject*, int /*ACol*/, int /*ARow*/, TDateTime /*AValue*/, bool /*UpDown*/> OnDateSpinClick;
    TEvent<TObject*, int /*ACol*/, int /*ARow*/, TDateTime /*AValue*/, bool /*UpDown*/> OnTimeSpinClick;
    // The unit editor's unit was changed (current column and row).
    TEvent<TObject*, int /*ACol*/, int /*ARow*/, const String& /*NewUnit*/> OnUnitChanged;

protected:
    void UnitEditBtnUnitChanged(TObject* Sender, const String& NewUnit);

private:
    // The per-kind halves of OpenCellEditor and CloseCellEditor.
    void OpenComboEditor(int ACol, int ARow, int C, const TRect& R, TColor Colour);
    void OpenDateEditor(int ACol, int ARow, int C, const TRect& R, TColor Colour);
    // The combo item the cell's text selects; -1 for none.
    int ComboItemOf(const String& S) const;

private:
    // The constructor's editor controls, in their order (run time only), and the destructor's
    // release of every editor control the grid made, in its order.
    void MakeEditorControls();
    void FreeEditorControls();

    // ---- Persistence and scroll-bar cells: state ----
    TOwned<THTMLSettings> FHTMLSettings;
    TOwned<TPrintSettings> FPrintSettings;

protected:
    TOwned<TScrollBar> FScrollBar;

private:
    template <class T> T* Make(TOwned<T>& Slot, T* Obj, const char* Name);
    template <class T> void Drop(TOwned<T>& Slot, const char* Name);

    // ---- Grid looks (AdvGridLooks.cpp), floating footer (GridFooterPanel.cpp), search panel
    // (GridSearchPanel.cpp, its handlers in grid/extras/AdvGridSearchFooter.cpp) ----
public:
    // One of the sixteen colour sets: the reset, the look switch of the sets that have one, the
    // set's colours; then the grid repaints.
    virtual void SetStyle(TAdvGridStyle AStyle);
    // Remembers the style and applies it as a colour set; a style but tsCustom returns metro
    // scroll bars to normal ones. The drop-down editors made so far take it too.
    void SetComponentStyle(TKitStyle AStyle) override;
    // The component style applied last (tsWindowsXP at run time from the start).
    TKitStyle Style() const { return FStyle; }
    // The flat look of the tones: glClassic, flat, metro scroll bars, glyph check boxes and the
    // tones' colours on the grid, its editors and its footers.
    void SetColorTones(const TColorTones& ATones) override;
    const TColorTones& ColorTones() const { return FColorTones; }
    // One of the five legacy schemes: fixed and active-cell gradients and the search footer's
    // colours; neither the look nor the selection changes.
    void SetTheme(TXPColorScheme Scheme);
    // Follow the Office colour theme (the search footer's buttons follow it too).
    bool AutoThemeAdapt() const { return FAutoThemeAdapt; }
    void SetAutoThemeAdapt(bool Value);
    // Applies the component style of the current Office theme when the theme changed since the
    // last call (otUnknown applies none).
    void ApplyOfficeTheme();
    TOfficeTheme OfficeTheme() const { return FOfficeTheme; }

    // The panel of the floating footer and the search panel (both nullptr only while the grid
    // is being made or freed).
    TFooterPanel* FooterPanel() const { return FFooterPanel.get(); }
    TSearchPanel* SearchPanel() const { return FSearchPanel.get(); }
    // The calculation type of column ACol's footer cell (the last row); acNONE without cell
    // properties. The setter stores it (making the properties) and calculates the column.
    TColumnCalcType GetColumnCalc(int ACol);
    void SetColumnCalc(int ACol, TColumnCalcType Value);
    TFooterPaintEvent OnFooterPaint;
    TNotifyEvent OnCreatedFloatingFooter;
    TNotifyEvent OnCreatedSearchFooter;
    TSearchEditChangeEvent OnSearchEditChange;
    TNotifyEvent OnSearchFooterClose;

    // The cell finder (grid/extras/AdvGridSearch.cpp). Find walks the grid from the cell after
    // StartCell ((-1, -1): from the first or, backwards, the last cell) and answers the first
    // matching cell or (-1, -1); with fnAutoGoto the found cell becomes the current cell.
    // FindWide is the same walk over the wide texts (packed wide text unpacked), without
    // Find's nudge of the top row. FindNext continues the last search after the cell found
    // last; past the last match it answers (-1, -1) once and then starts over.
    TPoint Find(TPoint StartCell, const String& S, const TFindParams& FindParams);
    TPoint FindWide(TPoint StartCell, const String& S, const TFindParams& FindParams);
    TPoint FindFirst(const String& S, const TFindParams& FindParams);
    TPoint FindNext();
    // Replaces OrigStr by NewStr, without regard to case, in every cell Find reaches with
    // FindParams; answers the number of cells rewritten.
    int Replace(const String& OrigStr, const String& NewStr, const TFindParams& FindParams);
    // Highlight ("hi") and mark ("e") tags around every occurrence of a text in cells; the
    // texts are stored HTML-encoded with the tags, and the removal decodes them again.
    String HilightText(bool DoCase, const String& S, const String& Text);
    String MarkText(bool DoCase, const String& S, const String& Text);
    String UnHilightText(const String& S);
    void HilightInCell(bool DoCase, int Col, int Row, const String& HiText);
    void MarkInCell(bool DoCase, int Col, int Row, const String& HiText);
    void HilightInCol(bool DoFixed, bool DoCase, int Col, const String& HiText);
    void MarkInCol(bool DoFixed, bool DoCase, int Col, const String& HiText);
    void HilightInRow(bool DoFixed, bool DoCase, int Row, const String& HiText);
    void MarkInRow(bool DoFixed, bool DoCase, int Row, const String& HiText);
    void HilightInGrid(bool DoFixed, bool DoCase, const String& HiText);
    void MarkInGrid(bool DoFixed, bool DoCase, const String& HiText);
    void UnHilightInCell(int Col, int Row);
    void UnMarkInCell(int Col, int Row);
    void UnHilightInCol(bool DoFixed, int Col);
    void UnMarkInCol(bool DoFixed, int Col);
    void UnHilightInRow(bool DoFixed, int Row);
    void UnMarkInRow(bool DoFixed, int Row);
    void UnHilightInGrid(bool DoFixed);
    void UnMarkInGrid(bool DoFixed);
    // True while a find runs.
    bool FindBusy = false;
    // The column and row searched with fnFindInPresetCol and fnFindInPresetRow.
    int FindRow = 0;
    // With the search footer shown: whether the last row is in view and its bottom lies above
    // the search panel; and scrolling rows up until the last row is no longer under the panel.
    bool LastRowAboveSearchPanel();
    void AdjustForSearchFooter();
    // The cell the last search found (the start of the next button search).
    TPoint SearchCell = TPoint(-1, -1);
    int FindCol = 0;

private:
    friend class TFooterPanel;
    friend class TSearchPanel;
    // The colour sets' common reset: selection, sort headers and ControlLook's colours.
    void ResetStyleColors();
    // The drop-down editors made so far take a component style or colour tones (bodies with
    // the grid's drop-down getters).
    void StyleDropDowns(TKitStyle AStyle);
    void TonesDropDowns(const TColorTones& ATones);
    // The search footer's last button search text (AutoSearch off) and the options built for a
    // footer search.
    String FLastSearch;
    TFindParams FFindParams;
    // The finder's state: the search text of the last find (upper-cased unless fnMatchCase).
    String SearchCache;
    struct TFindWalk;
    TPoint FindInGrid(TPoint StartCell, const String& S, const TFindParams& FindParams, bool Wide);
    bool MatchFindCell(const TFindWalk& W, int X, int Y);
    // The shown node row whose collapsed span holds the hidden real row ARow; -1 for none.
    int FindNodeOfRow(int ARow);
    void HilightInRange(const String& HiText, const String& Tag, int Top, int Left, int Bottom, int Right,
                        bool DoCase);
    void UnHilightInRange(const String& Tag, int Left, int Top, int Right, int Bottom);
    // The options of the edit-change (0), forward (1) and backward (2) searches.
    TFindParams SearchFooterParams(int Handler);
    void SearchFooterButtonSearch(bool Backward);
    void SetSearchEditColor(TColor Value);
    void RemoveFooterHighlight();
    void ApplyFooterHighlight();
    // The platform's theme change and the theme notifier's message: the Office theme is
    // followed while AutoThemeAdapt is on.
    void WMThemeChanged(TMessage& Message);
    // The footer and search panels in the window: children, visibility and heights.
    void PlaceFooterPanels();

    TOwned<TFooterPanel> FFooterPanel;
    TOwned<TSearchPanel> FSearchPanel;
    TKitStyle FStyle = tsCustom;
    TColorTones FColorTones;
    bool FAutoThemeAdapt = false;
    TOfficeTheme FOfficeTheme = otUnknown;
    // ---- Mouse buttons (AdvGridMouseButtons.cpp) ----
    // The grid's own handling of the button messages runs first and either consumes a press or
    // release or hands it to the platform grid's standard processing, which calls the mouse-down,
    // mouse-up and mouse-move methods. A left press and its release form one gesture whose state
    // lives in the fields below; the release clears it.
public:
    // Whether HoverFixedCells covers the cell: fixed columns with hfAll or hfFixedColumns,
    // fixed rows with hfAll or hfFixedRows.
    bool IsHoverFixedCell(int ACol, int ARow) const;
    // Links of cells open in the desktop's program only for web and mail addresses and for
    // existing files that are not programs; anything else is ignored (nothing is started).
    static bool IsSafeLinkToOpen(const String& Anchor);
    // The cell's URL may be edited by a right click (with URLShow).
    bool URLEdit = false;
    // Fixed cells are pressed like buttons (with both fixed line options and 3-D look).
    bool FixedAsButtons = false;

    TCanClickCellEvent OnCanClickCell;
    TClickCellEvent OnClickCell;
    TClickCellEvent OnRightClickCell;
    TCheckBoxClickEvent OnCheckBoxClick;
    TCheckBoxMouseUpEvent OnCheckBoxMouseUp;
    TRadioClickEvent OnRadioClick;
    TRadioClickEvent OnRadioMouseUp;
    TRadioButtonClickEvent OnRadioButtonClick;
    TAnchorClickEvent OnAnchorClick;
    TControlEvent OnControlClick;
    TControlEvent OnControlEditDone;
    TControlComboListEvent OnControlComboList;
    TControlComboSelectEvent OnControlComboSelect;
    TNodeAllowEvent OnBeforeExpandNode;
    TNodeAllowEvent OnBeforeContractNode;
    TNodeClickEvent OnExpandNode;
    TNodeClickEvent OnContractNode;
    TRowChangingEvent OnRowChanging;
    TColChangingEvent OnColChanging;
    TCellChangingEvent OnCellChanging;
    TSelectionResizeEvent OnSelectionResize;
    TSelectionResizeEvent OnSelectionResized;
    TCanSortEvent OnCanSort;
    TClickSortEvent OnClickSort;
    TFixedEditEvent OnFixedEdit;

protected:
    void WMLButtonDown(TWMMouse& Message);
    void WMLButtonUp(TWMMouse& Message);
    void WMLButtonDblClk(TWMMouse& Message);
    void WMRButtonDown(TWMMouse& Message);
    void WMRButtonUp(TWMMouse& Message);
    // Selects the item of the radio group under the point (ACol real; X, Y offsets in the cell).
    void RadioGroupClick(int ACol, int ARow, int X, int Y);
    // Opens the editor of a fixed cell (display column) after an open one stopped.
    void StartFixedCellEdit(int ACol, int ARow);
    // Opens the editor of a CONTROL tag of a cell's markup: EDIT, PASSWORD, MASK or COMBO.
    void ShowCellControlEditor(const String& Text, const String& CtrlType, const String& CtrlID,
                               const String& CtrlVal, const TRect& CtrlRect, int ACol, int RC, int ARow);
    // The exit handler of the markup editors: the value goes into the cell's markup.
    void CellControlEditDone(TObject* Sender);
    void ControlComboSelect(TObject* Sender);
    // Hooks: the cell selector's click, the selection a click on the corner cell selects.
    virtual void CellSelectorClick(int ACol, int ARow);
    virtual void BeforeSelectAllClick(TGridRect& ARect);
    // Dispatchers: OnCheckBoxClick, OnClickSort, OnFixedEdit (the editor kind it leaves).
    virtual void CheckBoxClick(int ACol, int ARow, bool State);
    virtual void ClickSort(int ACol);
    virtual void FixedEdit(int ACol, int ARow, TStrings* Values, TGridFixedCellEditor& AEditor);
    // Members of other topics the button handling calls: the change handler of the fixed-cell
    // editors and the markup-control editors.
    void FixedCellEditChange(TObject* Sender);
    TCustomEdit* MarkupControlEdit() const;
    TCustomComboBox* MarkupControlCombo() const;

    bool FDeselectState = false; // the release removes the pressed row or column from the selection
    bool FDoOnClick = false;     // the release fires OnClick for fixed cells
    bool FMouseResize = false;   // the selection is being resized by its grip
    TGridRect FDropSelection;    // the selection when the grip was pressed or a drag started
    TPoint FCtrlXY{-1, -1};      // real column and row of the pressed or edited markup control
    bool FCtrlEditing = false;   // a markup-control editor is open
    String FCtrlID;
    String FCtrlType;
    TPoint FPushedCellButton{-1, -1}; // the cell whose button is held
    TRect FPushedFixedCell;           // the fixed cell drawn pressed
    bool FFixedCellPushed = false;
    bool FForceSel = false; // a double click or a button press forces the selection
    bool FDblClk = false;   // a double click autosized a column: the next release does not sort
    int Colclickedsize = 0;
    int Rowclickedsize = 0;
    int FOldTopRowAtPress = 0; // TopRow at the press
    int FSizingFixedCol = -1;
    int FSizingFixedRow = -1;
    bool FCellSelectorMode = false;
    bool ColSizeFlg = false; // the standard processing just ended a column sizing
    String SearchInc;        // the incremental-search text
    Cardinal SortTime = 0;   // milliseconds of the last header-click sort

private:
    // Steps of the left press: the selection grip, a link or markup control, the check boxes
    // and the header sort of the release.
    void StartSelectionResize(TWMMouse& Message, bool SetState);
    bool PointInSelectionGrip(int X, int Y);
    void HandleAnchorClick(const String& Anchor, int ACol, int ARow);
    void HeaderClickSort(int ACol, int ARow, int X, int Y, bool MoveEnded);
    // The single-key shift state of the steps that fire OnMouseDown.
    static TShiftState SingleKeyShift(TShiftState S);
    // The standard processing of a button message.
    void InheritedMouse(TWMMouse& Message);
    // ---- Timer, focus, cursor and size messages; window procedure, wheel and panning ----
    // (AdvGridMessages.cpp, AdvGridWheel.cpp)
public:
    // The grid's cursors (selection modes, panning) and pan glyphs are drawn in resources/; the
    // cursors are registered in Screen->Cursors by number on first use.
    static constexpr TCursor crRowSelect = 8010;
    static constexpr TCursor crColSelect = 8011;
    static constexpr TCursor crAllSelect = 8012;
    static constexpr TCursor crCellSelector = 8014;
    static constexpr TCursor crPanNeutral = 8000;
    static void RegisterGridCursors();
    static constexpr UINT_PTR PanTimerId = 999;
    static constexpr UINT PanTimerInterval = 10;
    // The directions a press of the wheel button pans in.
    TIntelliPan IntelliPan = ipVertical;
    // Every 500 ms cells whose markup holds a BLINK tag are repainted in the other phase.
    bool EnableBlink = false;
    // Runs the grid's cell-selection check for the current cell.
    void Select();
    // A left click on a cell's top-left corner, without OnMouseDown and OnMouseUp.
    void SimulateCellClick(int ACol, int ARow);
    // True when OnGetCellBorder is assigned: the painter then asks it for cell borders.
    bool HasCustomCellBorders() override;
    // The canvas of the footer panel, for painting in OnFooterPaint (nullptr without one).
    TCanvas* FooterCanvas() const;
    // Scroll-bar upkeep after sizes or the view changed.
    void UpdateProportionalVScroll() { ProportionalThumb(true); }
    void UpdateProportionalHScroll() { ProportionalThumb(false); }
    // Panning with the wheel button runs.
    bool WheelPanning() const { return wheelpan; }
    TPoint WheelPanPos() const { return wheelpanpos; }
    // Ticks of the grid timer so far.
    int TimerTicks() const { return FTimerTicks; }
    TDropDownButtonClickEvent OnDropDownHeaderButtonClick;
    TDropDownButtonClickEvent OnDropDownFooterButtonClick;

protected:
    void WndProc(TMessage& Message) override;
    bool DoMouseWheelDown(TShiftState Shift, TPoint MousePos) override;
    bool DoMouseWheelUp(TShiftState Shift, TPoint MousePos) override;
    // Called after the grid's own wheel handling with the row delta it applied.
    virtual void MouseWheelHook(int Delta, bool& Handled);
    // Paints the pan glyph at the press point; invalidates its 32 x 32 area.
    void DrawPanGlyph();
    void InvalidatePanGlyph();
    // Relays of the drop-down editors' buttons, the memo drop-down and the unit editor.
    void DropDownHeaderButtonClick(TObject* Sender, int ButtonIndex);
    void DropDownFooterButtonClick(TObject* Sender, int ButtonIndex);
    void MemoDropDownChange(TObject* Sender);
    // The window procedure installed on a custom editor link's control: with goTabs it wants
    // characters, tabs and arrows; everything else goes to the control's own procedure.
    void EditLinkWindowProc(TMessage& Message);
    TWndMethod FGridControlWndProc;
    // The focus methods fire OnEnter and OnExit (DoEnter and DoExit run them).
    virtual void FocusEnter();
    virtual void FocusExit();
    void DoEnter() override { FocusEnter(); }
    void DoExit() override { FocusExit(); }
    void WMTimer(TWMTimer& Message);
    void WMSetCursor(TMessage& Message);
    void WMSetFocus(TWMSetFocus& Message);
    void WMKillFocus(TWMKillFocus& Message);
    void WMSize(TWMSize& Message);
    // The flat scroll bars take the window's scroll information (the grid has none: nothing).
    void UpdateFlatVScroll() {}
    void UpdateFlatHScroll() {}
    void FlatShowScrollBar(int, bool) {}

    int FTimerTicks = 0;
    bool FGridBlink = false;
    bool FDisableSize = false;

public:
    // Set for good the first time a custom editor's pop-up window is left by a click outside:
    // the grid then ignores WM_SETFOCUS and the rich-text editor WM_KILLFOCUS.
    bool InvokedFocusChange = false;

private:
    // Starts and ends wheel-button panning; one tick of the pan timer.
    void StartWheelPan(const TPoint& Pos);
    void EndWheelPan();
    void WheelPanStep(const TGridRect& S0);
    // The wheel message: False when it goes on to the inherited procedure.
    bool WheelMessage(TMessage& Message, const TGridRect& S0);
    // DoMouseWheelDown (Down) and DoMouseWheelUp.
    bool WheelMethod(bool Down, TShiftState Shift, TPoint MousePos);
    // The grid timer's blink step: repaints the cells with a BLINK tag.
    void RepaintBlinkingCells();
    // Shows a cursor of Screen->Cursors on the grid's window.
    void ShowGridCursor(TCursor Cursor);
    // Edit and combo notifications of the in-place editors (WM_COMMAND).
    bool EditorCommand(TMessage& Message);
    void ComboChangeEvents(int ItemIndex, const String& Text, TObject* Obj);
    bool wheelpan = false;
    TPoint wheelpanpos{0, 0};
    bool FPanKeepCapture = false;
    bool FPanShowHint = false;
    std::shared_ptr<QCursor> prevcurs; // the window's cursor before panning
    int FPanCursor = 0;

    // ---- Enter advance, the current-cell check and the keyboard ----
    // (bodies in AdvGridAdvance.cpp and AdvGridKeyboard.cpp)
public:
    // One step of the Enter advance from display cell (ACol, ARow) along
    // Navigation.AdvanceDirection (Forward: right or down), with the row append, the wrap and the
    // loop the navigation settings give. Without Force nothing happens unless AdvanceOnEnter is
    // on. Recursing keeps the start reported to OnAutoAdvance while read-only cells are passed
    // over; with DoEdit the editor opens on the new cell (AutoEdit: by AdvanceAutoEdit).
    void AdvanceEdit(int ACol, int ARow, bool Force, bool AutoEdit, bool Forward, bool Recursing,
                     bool DoEdit);
    // The caret walk of the editors out of a cell: a forced step with AutoEdit and DoEdit.
    void AdvanceEdit(int ACol, int ARow, bool Forward, bool Force) {
        AdvanceEdit(ACol, ARow, Force, true, Forward, false, true);
    }
    // One tab stop forward or backward; False when the Tab was handed to the parent window.
    bool AdvanceOnTab(bool Backward);
    // Appends a data row at the end (above the floating footer's row): OnCanAddRow may refuse.
    void AddRowAtEnd();
    // Moves the focus from the CONTROL tag ID of a markup cell to its next editable one; after
    // the last one the grid takes the focus.
    void FocusNextCellControl(int ACol, int ARow, const String& ID);
    // The tab-stop queries: the first column that may hold a tab stop, the fixed right columns
    // that are shown, whether a display cell is a tab stop, the first and last tab stop of a row
    // (-1 when none), whether the current row is the last data row.
    int FirstNormalCol();
    int VisibleFixedRightCols() const;
    bool CanTabToCell(int ACol, int ARow);
    int FirstTabColInRow(int ARow);
    int LastTabColInRow(int ARow);
    bool IsLastDataRow() const;
    virtual void MoveToFirstRow() { SetRow(FixedRows()); }
    // The rows appended, inserted and deleted by the keyboard and the advance (real rows).
    virtual void AutoAddRow();
    virtual void AutoInsertRow(int ARow);
    virtual void AutoDeleteRow(int ARow);
    virtual bool CanDeleteRow(int ARow);
    // The changing events of a move of the current cell to (NewCol, NewRow): OnRowChanging,
    // OnColChanging, then OnCellChanging unless an advance moves the cell; Allow passes on.
    virtual void CellChanging(int NewCol, int NewRow, bool& Allow);
    // The text typed so far for the incremental row search.
    const String& IncrSearchText() const { return SearchInc; }
    // A housekeeping tick of the grid timer: the fourth one after the last typed character
    // ends the incremental search text.
    void IncrSearchTick();
    // Set when a row was inserted or deleted by key.
    bool GridModified() const { return FGridModified; }
    TAutoAdvanceEvent OnAutoAdvance;
    TAutoAddRowEvent OnAutoAddRow;
    TAutoInsertRowEvent OnAutoInsertRow;
    TAutoInsertColEvent OnAutoInsertCol;
    TCanDeleteRowEvent OnCanDeleteRow;
    TAutoDeleteRowEvent OnAutoDeleteRow;

protected:
    // The grid's check before the current cell moves (keys, clicks, Col and Row writers).
    bool SelectCell(int ACol, int ARow) override;
    // Esc, Enter and the incremental row search, then the platform grid's key press.
    void KeyPress(Char& Key) override;
    void KeyUp(Word& Key, TShiftState Shift) override;
    void WMKeyDown(TWMKey& Message);
    void WMChar(TWMKey& Message);
    void WMKeyUp(TWMKey& Message);
    // Opens the editor of the CONTROL tag after CtrlID in a markup cell.
    virtual void EditCellControl(int ACol, int ARow, const String& CtrlID);
    virtual void BeforeSelectAll(TGridRect&) {}

    int FAECol = 0; // where the running advance started
    int FAERow = 0;
    bool FDisableChange = false; // an advance moves the current cell: no OnCellChanging
    int SearchTics = 0;          // timer ticks since the last typed character
    int FLastTabCol = -1;        // the cell the running Tab advance started from
    int FLastTabRow = -1;
    TGridRect FKeySelection; // the selection when the current key arrived
    bool FGridModified = false;
    int FTabDepth = 0; // nested Tab steps running, and the cell the outermost one started from
    int FTabStartCol = -1;
    int FTabStartRow = -1;

private:
    // The key steps of WMKeyDown that may end its handling (True: the key is done).
    bool KeyDownHomeEnd(TWMKey& Message, Word Key, TShiftState Shift, int OldLeftCol);
    bool KeyDownSkipFixed(TWMKey& Message, Word Key, TShiftState Shift);
    void KeyDownClickable(Word Key, int RC);
    void KeyDownOtherKeys(TWMKey& Message, Word Key, TShiftState Shift, int RS);
    // The left click the advance and the Tab navigation simulate on a cell.
    void ClickCellAt(int ACol, int ARow);
    // The height of the search panel while the search footer shows (0 otherwise).
    int ShownSearchPanelHeight() const;
    void FireKeyDown(Word Key, TShiftState Shift);
    TShiftState FKeyShift;
};
