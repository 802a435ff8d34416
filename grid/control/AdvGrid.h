// The grid control: TAdvStringGrid, the string grid every window of the configurator uses, on the
// cell store of TBaseGrid. One class spans many topics; this header declares it whole and its
// member definitions live in AdvGrid*.cpp by topic (construction, update locking, hiding and index
// maps, structure, looks...). Each topic keeps its members in its own block below, so work on one
// topic leaves the others' lines alone.
#pragma once

#include "BaseGrid.h"
#include "GridItem.h"
#include "GridStructure.h"

#include <array>
#include <cstdint>

class TAdvStringGrid : public TBaseGrid {
public:
    explicit TAdvStringGrid(TComponent* AOwner);
    ~TAdvStringGrid() override;

    // ---- Construction and life cycle ----

    // ---- Update locking, painting messages, scaling and state changes ----

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
    virtual void CalcFooter(int ACol);
    void UpdateFooter();
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

    // ---- Settings objects ----

protected:
    // ---- Construction and life cycle ----

    // ---- Update locking, painting messages, scaling and state changes ----

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

private:
    // ---- Construction and life cycle ----

    // ---- Update locking, painting messages, scaling and state changes ----

    // ---- Moving, hiding and index maps of rows and columns ----
    template <class T> struct TFreeObject {
        void operator()(T* Obj) const { TObject::Free(Obj); }
    };
    template <class T> using TOwned = std::unique_ptr<T, TFreeObject<T>>;

    std::array<bool, MaxHideableCols + 1> FVisibleCol = MakeVisibleCols();
    int FNumHidden = 0;
    // The width of each hidden column, clamped into a signed 16-bit value.
    std::array<std::int16_t, MaxHideableCols + 1> FAllColWidths{};
    TOwned<TGridItems> FGridItems{new TGridItems()};
    int FFilterLevel = 0;
    TOwned<TIntList> FIgnoreColumns{new TIntList(0, 0)};
    TOwned<TControlList> FControlList{new TControlList()};
    std::vector<int> FColumnOrder;
    bool FSelHidden = false;
    TGridRect FHiddenSel;
    static std::array<bool, MaxHideableCols + 1> MakeVisibleCols() {
        std::array<bool, MaxHideableCols + 1> a;
        a.fill(true);
        return a;
    }
    // The floating footer's last-row display (until the settings objects join, never shown).
    bool FooterRowShown() const { return false; }

    // ---- Structure accessors and header lists ----
    TStringList* MakeHeaderList(bool Columns);
    TFont* MakeFixedFont();
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
    TOwned<TFont> FFixedFont{MakeFixedFont()};
    TOwned<TStringList> FLookupItems{new TStringList()};
    TOwned<TStringList> FColumnHeaders{MakeHeaderList(true)};
    TOwned<TStringList> FRowHeaders{MakeHeaderList(false)};
    TOwned<TColumnSize> FColumnSize{new TColumnSize(this)};
    TOwned<TSizeWhileTyping> FSizeWhileTyping{new TSizeWhileTyping()};

    // ---- Look presets and link display settings ----

    // ---- Settings objects ----
};
