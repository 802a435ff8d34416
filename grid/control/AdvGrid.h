// The grid control: TAdvStringGrid, the string grid every window of the configurator uses, on the
// cell store of TBaseGrid. One class spans many topics; this header declares it whole and its
// member definitions live in AdvGrid*.cpp by topic (construction, update locking, hiding and index
// maps, structure, looks...). Each topic keeps its members in its own block below, so work on one
// topic leaves the others' lines alone.
#pragma once

#include "AdvGridLooks.h"
#include "BaseGrid.h"

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

class TAdvStringGrid : public TBaseGrid {
public:
    explicit TAdvStringGrid(TComponent* AOwner);
    ~TAdvStringGrid() override;

    // ---- Construction and life cycle ----

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
    // The active cell's font; absent (nullptr) until the constructor makes it.
    TFont* ActiveCellFont() const { return FActiveCellFont; }
    void Dispatch(TMessage& Message) override;

    // ---- Moving, hiding and index maps of rows and columns ----

    // ---- Structure accessors and header lists ----

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
    // Made by the constructor; scaled with the form while present.
    TFont* FActiveCellFont = nullptr;
    // The grid changed its cursor itself: a cursor change then keeps the mouse selection mode.
    bool Invokedchange = false;
    TMouseSelectMode FMouseSelectMode = msNormal;

    // ---- Moving, hiding and index maps of rows and columns ----

    // ---- Structure accessors and header lists ----

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

    // ---- Update locking, painting messages, scaling and state changes ----
    int FOldSize = 0;               // the grid's width when the widths were taken
    TIntList FOrigColSizes{-1, -1}; // one width per column

    // ---- Moving, hiding and index maps of rows and columns ----

    // ---- Structure accessors and header lists ----

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
};
