// The string grid's option objects: sorting, filter conditions, background, the look of the
// controls drawn in cells, grouping, OLE drag and drop, modified-row marks, drag scrolling and
// progress bars. The grid creates them in its constructor and frees them in its destructor; the
// engines that sort, filter, drag and paint read them.
//
// How each tells the grid it changed: through the grid's TGridSettingsHost (repaints, the sort,
// the fixed-cell gradient, the drop target), or through an OnChange event the grid installs
// (ShowModified, ProgressAppearance). Assign copies from an object of the same class only (see
// each class for what it leaves out); other sources are ignored, except for TBackGround, which
// has no copy of its own.
#pragma once

#include "GridSettingsHost.h"
#include "PopupAppearance.h"

#include "Graphics.h"

// ---------------------------------------------------------------------------------------------
// Sorting

enum TIndexSortKey { ikShift, ikCtrl };
enum TSortBlankPosition { blFirst, blLast };
enum TSortDirection { sdAscending, sdDescending };

class TSortSettings : public TPersistent {
public:
    explicit TSortSettings(TGridSettingsHost* AGrid);
    ~TSortSettings() override;

    // Grouping by a column first sorts by it.
    bool AutoSortForGrouping() const { return FAutoSortForGrouping; }
    void SetAutoSortForGrouping(bool Value) { FAutoSortForGrouping = Value; }
    // A header-click sort also runs the automatic column merge.
    bool AutoColumnMerge() const { return FAutoColumnMerge; }
    void SetAutoColumnMerge(bool Value) { FAutoColumnMerge = Value; }
    // The sorted column; -1 none.
    int Column() const { return FSortColumn; }
    void SetColumn(int Value) { FSortColumn = Value; }
    // Sort indicator shown and header clicks sort; a change repaints the grid.
    bool Show() const { return FSortShow; }
    void SetShow(bool Value);
    // Multi-column sorting with index glyphs and numbers.
    bool IndexShow() const { return FSortIndexShow; }
    void SetIndexShow(bool Value) { FSortIndexShow = Value; }
    TColor IndexColor() const { return FSortIndexColor; }
    void SetIndexColor(TColor Value) { FSortIndexColor = Value; }
    TIndexSortKey IndexSortKey() const { return FIndexSortKey; }
    void SetIndexSortKey(TIndexSortKey Value) { FIndexSortKey = Value; }
    // Equal values: the comparison goes on with the next column.
    bool Full() const { return FSortFull; }
    void SetFull(bool Value) { FSortFull = Value; }
    // A sort moves only the sorted column's cells.
    bool SingleColumn() const { return FSortSingleColumn; }
    void SetSingleColumn(bool Value) { FSortSingleColumn = Value; }
    // Kept and copied; nothing reads it.
    bool IgnoreBlanks() const { return FSortIgnoreBlanks; }
    void SetIgnoreBlanks(bool Value) { FSortIgnoreBlanks = Value; }
    TSortBlankPosition BlankPos() const { return FSortBlankPos; }
    void SetBlankPos(TSortBlankPosition Value) { FSortBlankPos = Value; }
    // A column's sort style starts as automatic (else alphabetic, without case with IgnoreCase).
    bool AutoFormat() const { return FSortAutoFormat; }
    void SetAutoFormat(bool Value) { FSortAutoFormat = Value; }
    TSortDirection Direction() const { return FSortDirection; }
    void SetDirection(TSortDirection Value) { FSortDirection = Value; }
    // The pictures of the sort indicators; the setters copy the picture.
    TBitmap* UpGlyph() const { return FSortUpGlyph; }
    void SetUpGlyph(TBitmap* Value) { FSortUpGlyph->Assign(Value); }
    TBitmap* DownGlyph() const { return FSortDownGlyph; }
    void SetDownGlyph(TBitmap* Value) { FSortDownGlyph->Assign(Value); }
    bool IgnoreCase() const { return FIgnoreCase; }
    void SetIgnoreCase(bool Value) { FIgnoreCase = Value; }
    TBitmap* IndexUpGlyph() const { return FIndexUpGlyph; }
    void SetIndexUpGlyph(TBitmap* Value) { FIndexUpGlyph->Assign(Value); }
    TBitmap* IndexDownGlyph() const { return FIndexDownGlyph; }
    void SetIndexDownGlyph(TBitmap* Value) { FIndexDownGlyph->Assign(Value); }
    // Direction of the first click on a column.
    TSortDirection InitSortDirection() const { return FInitSortDirection; }
    void SetInitSortDirection(TSortDirection Value) { FInitSortDirection = Value; }
    // Fixed columns take part in sorting.
    bool FixedCols() const { return FSortFixedCols; }
    void SetFixedCols(bool Value) { FSortFixedCols = Value; }
    // With fixed columns, column 0 keeps its cells.
    bool NormalCellsOnly() const { return FSortNormalCellsOnly; }
    void SetNormalCellsOnly(bool Value) { FSortNormalCellsOnly = Value; }
    // The fixed row with the indicator. A value not below the grid's FixedRows raises
    // "Sort row should be smaller than number of fixed rows" and keeps the old one.
    int Row() const { return FSortRow; }
    void SetRow(int Value);
    // A click against InitSortDirection on the sorted column restores the unsorted order.
    bool UndoSort() const { return FUndoSort; }
    void SetUndoSort(bool Value) { FUndoSort = Value; }
    // Compare the displayed texts instead of the stored ones.
    bool SortOnVirtualCells() const { return FVirtualCells; }
    void SetSortOnVirtualCells(bool Value) { FVirtualCells = Value; }
    // The sorted column's header gradient; a change repaints the last fixed row.
    TColor HeaderColor() const { return FHeaderColor; }
    void SetHeaderColor(TColor Value);
    TColor HeaderColorTo() const { return FHeaderColorTo; }
    void SetHeaderColorTo(TColor Value);
    TColor HeaderMirrorColor() const { return FHeaderMirrorColor; }
    void SetHeaderMirrorColor(TColor Value);
    TColor HeaderMirrorColorTo() const { return FHeaderMirrorColorTo; }
    void SetHeaderMirrorColorTo(TColor Value);

    // "i;" and the grid's key list with IndexShow; else "d" or "u" (by Direction) and Column.
    String SaveToString() const;
    // Reads that form back, then sorts the grid. An empty text changes nothing; a text of one
    // character raises "Invalid sort settings specifier" and changes nothing. A text holding
    // "i;" loads the key list from its third character on; any other text sets the direction
    // (ascending when it holds "u") and, when the rest after its first character is an integer,
    // the column.
    void LoadFromString(const String& Value);
    // No sorted column, no keys; the last fixed row is repainted.
    void Remove();
    void ToggleDirection();

    // Everything but IgnoreCase and SortOnVirtualCells (glyphs by picture copy).
    void Assign(TPersistent* Source) override;

private:
    void SetHeader(TColor& Field, TColor Value);
    void RepaintHeaderRow();

    TGridSettingsHost* FGrid;
    bool FSortShow = false;
    bool FSortIndexShow = false;
    bool FSortFull = true;
    bool FSortSingleColumn = false;
    bool FSortIgnoreBlanks = false;
    TSortBlankPosition FSortBlankPos = blFirst;
    bool FSortAutoFormat = true;
    TSortDirection FSortDirection = sdAscending;
    TBitmap* FSortUpGlyph;
    TBitmap* FSortDownGlyph;
    TBitmap* FIndexUpGlyph;
    TBitmap* FIndexDownGlyph;
    bool FSortNormalCellsOnly = false;
    bool FSortFixedCols = false;
    int FSortColumn = -1;
    int FSortRow = 0;
    bool FAutoColumnMerge = false;
    TColor FSortIndexColor = clYellow;
    TSortDirection FInitSortDirection = sdAscending;
    bool FUndoSort = false;
    bool FAutoSortForGrouping = true;
    bool FVirtualCells = true;
    bool FIgnoreCase = false;
    TColor FHeaderColor = clNone;
    TColor FHeaderColorTo = clNone;
    TColor FHeaderMirrorColor = clNone;
    TColor FHeaderMirrorColorTo = clNone;
    TIndexSortKey FIndexSortKey = ikShift;
};

// ---------------------------------------------------------------------------------------------
// Filter conditions

enum TFilterCells { fcVirtual, fcNormal, fcStripHTML, fcCalculated, fcRow };
enum TFilterOperation { foSHORT, foNONE, foAND, foXOR, foOR };
enum TFilterMethod { fmExpression, fmLiteral };

class TFilterData : public TCollectionItem {
public:
    explicit TFilterData(TCollection* Collection) : TCollectionItem(Collection) {}

    // A column index as the filter keeps it: a 16-bit value.
    int Column() const { return FColumn; }
    void SetColumn(int Value) { FColumn = SmallInt(Value); }
    const String& Condition() const { return FCondition; }
    void SetCondition(const String& Value) { FCondition = Value; }
    bool CaseSensitive() const { return FCaseSensitive; }
    void SetCaseSensitive(bool Value) { FCaseSensitive = Value; }
    // Texts stripped from the cell text before matching.
    const String& Suffix() const { return FSuffix; }
    void SetSuffix(const String& Value) { FSuffix = Value; }
    const String& Prefix() const { return FPrefix; }
    void SetPrefix(const String& Value) { FPrefix = Value; }
    TFilterOperation Operation() const { return FOperation; }
    void SetOperation(TFilterOperation Value) { FOperation = Value; }
    TFilterCells Data() const { return FData; }
    void SetData(TFilterCells Value) { FData = Value; }
    TFilterMethod Method() const { return FMethod; }
    void SetMethod(TFilterMethod Value) { FMethod = Value; }

    // Column, Condition, CaseSensitive, Data, Prefix, Suffix, Operation; not Method.
    void Assign(TPersistent* Source) override;

private:
    using SmallInt = int16_t;
    SmallInt FColumn = 0;
    String FCondition;
    bool FCaseSensitive = true;
    String FSuffix;
    String FPrefix;
    TFilterOperation FOperation = foSHORT;
    TFilterCells FData = fcVirtual;
    TFilterMethod FMethod = fmExpression;
};

class TFilter : public TOwnedCollection {
public:
    explicit TFilter(TGridSettingsHost* AGrid);

    // A new last item: foNONE when it is the only one, foAND otherwise.
    TFilterData* Add();
    // A new last item (Index is not used; Operation stays foSHORT).
    TFilterData* Insert(int Index);
    TFilterData* GetItem(int Index) const { return static_cast<TFilterData*>(Items(Index)); }
    // Copies Value into the item at Index.
    void SetItem(int Index, TFilterData* Value) { SetItems(Index, Value); }
    // The first item of the column; a new one from Add for it when there is none.
    TFilterData* GetColFilter(int Col);
    bool HasFilter(int Col) const;
    // Deletes every item of the column, then repaints the column's cell in row 0.
    void RemoveColumnFilter(int Col);

private:
    TGridSettingsHost* FGrid;
};

// ---------------------------------------------------------------------------------------------
// Background

enum TBackGroundDisplay { bdTile, bdFixed, bdGradientHorz, bdGradientVert };
enum TBackGroundCells { bcNormal, bcFixed, bcAll };

// Every setter stores the value and repaints the grid. There is no copy: Assign raises the
// platform's conversion error.
class TBackGround : public TPersistent {
public:
    explicit TBackGround(TGridSettingsHost* AGrid);
    ~TBackGround() override;

    // Position of the picture for bdFixed.
    int Top() const { return FTop; }
    void SetTop(int Value);
    int Left() const { return FLeft; }
    void SetLeft(int Value);
    TBackGroundDisplay Display() const { return FDisplay; }
    void SetDisplay(TBackGroundDisplay Value);
    // The setter copies the picture.
    TBitmap* Bitmap() const { return FBitmap; }
    void SetBitmap(TBitmap* Value);
    TBackGroundCells Cells() const { return FBackgroundCells; }
    void SetCells(TBackGroundCells Value);
    TColor Color() const { return FColor; }
    void SetColor(TColor Value);
    TColor ColorTo() const { return FColorTo; }
    void SetColorTo(TColor Value);

private:
    void Changed();

    TGridSettingsHost* FGrid;
    int FTop = 0;
    int FLeft = 0;
    TBackGroundDisplay FDisplay = bdTile;
    TBackGroundCells FBackgroundCells = bcNormal;
    TColor FColorTo = clBtnFace;
    TColor FColor = clWindow;
    TBitmap* FBitmap;
};

// ---------------------------------------------------------------------------------------------
// The look of the controls drawn in cells and of the fixed cells' gradient

// The drawing style of the cell controls. The grid's own enumeration: the platform's
// TControlStyle (a control's style set) has the name in the class library. csQuillon is a second
// name of csKestril.
enum TGridControlStyle { csClassic, csFlat, csWinXP, csKestril, csKit, csGlyph, csTheme };
constexpr TGridControlStyle csQuillon = csKestril;

class TControlLook : public TPersistent {
public:
    explicit TControlLook(TGridSettingsHost* AGrid);
    ~TControlLook() override;

    // Setters marked (R) store the value and repaint the grid; the fixed-gradient setters pass
    // the value on to the grid's KitGradient value of the same name (the mirror colours always,
    // the others only when not clNone) without repainting; the rest are plain stores.

    // Check mark of the check boxes the grid draws itself (R).
    TColor Color() const { return FColor; }
    void SetColor(TColor Value);
    // Comment mark (R).
    TColor CommentColor() const { return FCommentColor; }
    void SetCommentColor(TColor Value);
    // Custom check-box and radio pictures; the setters copy (R).
    TBitmap* CheckedGlyph() const { return FCheckedGlyph; }
    void SetCheckedGlyph(TBitmap* Value);
    TBitmap* UnCheckedGlyph() const { return FUnCheckedGlyph; }
    void SetUnCheckedGlyph(TBitmap* Value);
    TBitmap* RadioOnGlyph() const { return FRadioOnGlyph; }
    void SetRadioOnGlyph(TBitmap* Value);
    TBitmap* RadioOffGlyph() const { return FRadioOffGlyph; }
    void SetRadioOffGlyph(TBitmap* Value);
    int CheckSize() const { return FCheckSize; } // (R)
    void SetCheckSize(int Value);
    int RadioSize() const { return FRadioSize; } // (R)
    void SetRadioSize(int Value);
    // Toggling also in cells the can-edit query refuses.
    bool CheckAlwaysActive() const { return FCheckAlwaysActive; }
    void SetCheckAlwaysActive(bool Value) { FCheckAlwaysActive = Value; }
    bool RadioAlwaysActive() const { return FRadioAlwaysActive; }
    void SetRadioAlwaysActive(bool Value) { FRadioAlwaysActive = Value; }
    TGridControlStyle ControlStyle() const { return FControlStyle; } // (R)
    void SetControlStyle(TGridControlStyle Value);
    bool DropDownAlwaysVisible() const { return FDropDownAlwaysVisible; } // (R)
    void SetDropDownAlwaysVisible(bool Value);
    bool SpinButtonsAlwaysVisible() const { return FSpinButtonsAlwaysVisible; } // (R)
    void SetSpinButtonsAlwaysVisible(bool Value);
    // Items the combo editor's list shows.
    int DropDownCount() const { return FDropDownCount; }
    void SetDropDownCount(int Value) { FDropDownCount = Value; }
    // Header and footer of the drop-down editors (owner: the grid); the setters copy.
    THeaderAppearance* DropDownHeader() const { return FDropDownHeader; }
    void SetDropDownHeader(THeaderAppearance* Value) { FDropDownHeader->Assign(Value); }
    TFooterAppearance* DropDownFooter() const { return FDropDownFooter; }
    void SetDropDownFooter(TFooterAppearance* Value) { FDropDownFooter->Assign(Value); }
    bool FlatButton() const { return FFlatButton; } // (R)
    void SetFlatButton(bool Value);
    bool NoDisabledCheckRadioLook() const { return FNoDisabledCheckRadioLook; } // (R)
    void SetNoDisabledCheckRadioLook(bool Value);
    bool NoDisabledButtonLook() const { return FNoDisabledButtonLook; } // (R)
    void SetNoDisabledButtonLook(bool Value);
    TColor ProgressBorderColor() const { return FProgressBorderColor; }
    void SetProgressBorderColor(TColor Value) { FProgressBorderColor = Value; }
    int ProgressMarginX() const { return FProgressMarginX; } // (R)
    void SetProgressMarginX(int Value);
    int ProgressMarginY() const { return FProgressMarginY; } // (R)
    void SetProgressMarginY(int Value);
    bool ProgressXP() const { return FProgressXP; } // (R)
    void SetProgressXP(bool Value);
    // A fixed cell under the mouse shows a drop-down button.
    bool FixedDropDownButton() const { return FFixedDropDownButton; }
    void SetFixedDropDownButton(bool Value) { FFixedDropDownButton = Value; }
    // Maximum width of cell hints when above 0.
    int HintMaxWidth() const { return FHintMaxWidth; }
    void SetHintMaxWidth(int Value) { FHintMaxWidth = Value; }

    TColor FixedGradient(TFixedGradientColor Which) const { return FFixedGradient[Which]; }
    void SetFixedGradient(TFixedGradientColor Which, TColor Value);
    TColor FixedGradientFrom() const { return FFixedGradient[fgFrom]; }
    void SetFixedGradientFrom(TColor Value) { SetFixedGradient(fgFrom, Value); }
    TColor FixedGradientTo() const { return FFixedGradient[fgTo]; }
    void SetFixedGradientTo(TColor Value) { SetFixedGradient(fgTo, Value); }
    TColor FixedGradientMirrorFrom() const { return FFixedGradient[fgMirrorFrom]; }
    void SetFixedGradientMirrorFrom(TColor Value) { SetFixedGradient(fgMirrorFrom, Value); }
    TColor FixedGradientMirrorTo() const { return FFixedGradient[fgMirrorTo]; }
    void SetFixedGradientMirrorTo(TColor Value) { SetFixedGradient(fgMirrorTo, Value); }
    TColor FixedGradientHoverFrom() const { return FFixedGradient[fgHoverFrom]; }
    void SetFixedGradientHoverFrom(TColor Value) { SetFixedGradient(fgHoverFrom, Value); }
    TColor FixedGradientHoverTo() const { return FFixedGradient[fgHoverTo]; }
    void SetFixedGradientHoverTo(TColor Value) { SetFixedGradient(fgHoverTo, Value); }
    TColor FixedGradientHoverMirrorFrom() const { return FFixedGradient[fgHoverMirrorFrom]; }
    void SetFixedGradientHoverMirrorFrom(TColor Value) { SetFixedGradient(fgHoverMirrorFrom, Value); }
    TColor FixedGradientHoverMirrorTo() const { return FFixedGradient[fgHoverMirrorTo]; }
    void SetFixedGradientHoverMirrorTo(TColor Value) { SetFixedGradient(fgHoverMirrorTo, Value); }
    TColor FixedGradientHoverBorder() const { return FFixedGradient[fgHoverBorder]; }
    void SetFixedGradientHoverBorder(TColor Value) { SetFixedGradient(fgHoverBorder, Value); }
    TColor FixedGradientDownFrom() const { return FFixedGradient[fgDownFrom]; }
    void SetFixedGradientDownFrom(TColor Value) { SetFixedGradient(fgDownFrom, Value); }
    TColor FixedGradientDownTo() const { return FFixedGradient[fgDownTo]; }
    void SetFixedGradientDownTo(TColor Value) { SetFixedGradient(fgDownTo, Value); }
    TColor FixedGradientDownMirrorFrom() const { return FFixedGradient[fgDownMirrorFrom]; }
    void SetFixedGradientDownMirrorFrom(TColor Value) { SetFixedGradient(fgDownMirrorFrom, Value); }
    TColor FixedGradientDownMirrorTo() const { return FFixedGradient[fgDownMirrorTo]; }
    void SetFixedGradientDownMirrorTo(TColor Value) { SetFixedGradient(fgDownMirrorTo, Value); }
    TColor FixedGradientDownBorder() const { return FFixedGradient[fgDownBorder]; }
    void SetFixedGradientDownBorder(TColor Value) { SetFixedGradient(fgDownBorder, Value); }

    // Every property, each to the same property (glyphs, header and footer by copy), the
    // gradient colours without passing them on to the grid; the grid is repainted once.
    void Assign(TPersistent* Source) override;
    // The colours back to their initial values (check mark black, comment red, progress border
    // grey, the fixed gradients as at the start) without a repaint; of the gradients only the
    // hover and pressed mirror colours reach the grid.
    void ResetColors();

private:
    template <class T> void SetAndRepaint(T& Field, const T& Value);
    void SetGlyph(TBitmap* Glyph, TBitmap* Value);

    TGridSettingsHost* FGrid;
    TColor FColor = clBlack;
    TColor FCommentColor = clRed;
    TBitmap* FCheckedGlyph;
    TBitmap* FUnCheckedGlyph;
    TBitmap* FRadioOnGlyph;
    TBitmap* FRadioOffGlyph;
    int FCheckSize = 15;
    int FRadioSize = 10;
    bool FCheckAlwaysActive = false;
    bool FRadioAlwaysActive = false;
    TGridControlStyle FControlStyle = csTheme;
    bool FDropDownAlwaysVisible = false;
    bool FSpinButtonsAlwaysVisible = false;
    int FDropDownCount = 8;
    THeaderAppearance* FDropDownHeader;
    TFooterAppearance* FDropDownFooter;
    bool FFlatButton = false;
    bool FNoDisabledCheckRadioLook = false;
    bool FNoDisabledButtonLook = false;
    TColor FProgressBorderColor = clGray;
    int FProgressMarginX = 2;
    int FProgressMarginY = 2;
    bool FProgressXP = false;
    bool FFixedDropDownButton = false;
    int FHintMaxWidth = 0;
    TColor FFixedGradient[fgDownBorder + 1];
};

// ---------------------------------------------------------------------------------------------
// Grouping: group header and summary rows. Plain values.

class TGrouping : public TPersistent {
public:
    TGrouping() = default;

    bool MergeHeader = false;
    bool MergeSummary = false;
    TColor HeaderColor = clNone;
    TColor HeaderColorTo = clNone;
    TColor HeaderTextColor = clNone;
    bool HeaderUnderline = false;
    TColor HeaderLineColor = clBlue;
    int HeaderLineWidth = 2;
    bool Summary = false;
    TColor SummaryColor = clNone;
    TColor SummaryColorTo = clNone;
    TColor SummaryTextColor = clNone;
    bool SummaryLine = false;
    TColor SummaryLineColor = clBlue;
    int SummaryLineWidth = 2;
    bool ShowGroupCount = false;
    String GroupCountFormat;
    bool AutoSelectGroup = false;
    bool AutoCheckGroup = false;

    // Everything but Summary and the two line colours and widths.
    void Assign(TPersistent* Source) override;
};

// ---------------------------------------------------------------------------------------------
// OLE drag and drop

class TDragDropSettings : public TPersistent {
public:
    explicit TDragDropSettings(TGridSettingsHost* AGrid) : FGrid(AGrid) {}

    // The grid's window is a drop target. Outside design time, setting registers it and clearing
    // revokes a registration that succeeded (the grid keeps that result).
    bool OleDropTarget() const { return FOleDropTarget; }
    void SetOleDropTarget(bool Value);
    bool OleDropSource() const { return FOleDropSource; }
    void SetOleDropSource(bool Value) { FOleDropSource = Value; }
    bool OleAcceptFiles() const { return FOleAcceptFiles; }
    void SetOleAcceptFiles(bool Value) { FOleAcceptFiles = Value; }
    bool OleAcceptText() const { return FOleAcceptText; }
    void SetOleAcceptText(bool Value) { FOleAcceptText = Value; }
    bool OleAcceptURLs() const { return FOleAcceptURLs; }
    void SetOleAcceptURLs(bool Value) { FOleAcceptURLs = Value; }
    bool OleEntireRows() const { return FOleEntireRows; }
    void SetOleEntireRows(bool Value) { FOleEntireRows = Value; }
    bool OleInsertRows() const { return FOleInsertRows; }
    void SetOleInsertRows(bool Value) { FOleInsertRows = Value; }
    bool OleAppendRows() const { return FOleAppendRows; }
    void SetOleAppendRows(bool Value) { FOleAppendRows = Value; }
    bool OleRemoveRows() const { return FOleRemoveRows; }
    void SetOleRemoveRows(bool Value) { FOleRemoveRows = Value; }
    bool OleCopyAlways() const { return FOleCopyAlways; }
    void SetOleCopyAlways(bool Value) { FOleCopyAlways = Value; }
    bool OleColumnDragDrop() const { return FOleColumnDragDrop; }
    void SetOleColumnDragDrop(bool Value) { FOleColumnDragDrop = Value; }
    bool OleColumnReorder() const { return FOleColumnReorder; }
    void SetOleColumnReorder(bool Value) { FOleColumnReorder = Value; }
    bool OleColumnsOnly() const { return FOleColumnsOnly; }
    void SetOleColumnsOnly(bool Value) { FOleColumnsOnly = Value; }
    bool ShowCells() const { return FShowCells; }
    void SetShowCells(bool Value) { FShowCells = Value; }
    // RTF data offered and accepted; also sets the drag-and-drop unit's RTF flag.
    bool OleDropRTF() const { return FOleDropRTF; }
    void SetOleDropRTF(bool Value);

    // All fifteen flags, without registering or touching the RTF flag.
    void Assign(TPersistent* Source) override;

private:
    TGridSettingsHost* FGrid;
    bool FOleDropTarget = false;
    bool FOleDropSource = false;
    bool FOleAcceptFiles = true;
    bool FOleAcceptText = true;
    bool FOleAcceptURLs = true;
    bool FOleEntireRows = false;
    bool FOleInsertRows = false;
    bool FOleAppendRows = false;
    bool FOleRemoveRows = false;
    bool FOleCopyAlways = false;
    bool FOleColumnDragDrop = false;
    bool FOleColumnReorder = false;
    bool FOleColumnsOnly = false;
    bool FShowCells = true;
    bool FOleDropRTF = false;
};

// ---------------------------------------------------------------------------------------------
// Marks of modified rows in column 0

class TShowModified : public TPersistent {
public:
    TShowModified() = default;

    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool Value) { FEnabled = Value; }
    // Stores the value and fires OnChange (the grid repaints column 0).
    TColor Color() const { return FColor; }
    void SetColor(TColor Value);

    TNotifyEvent OnChange;

    // Color and Enabled, without OnChange.
    void Assign(TPersistent* Source) override;

private:
    bool FEnabled = false;
    TColor FColor = clYellow;
};

// ---------------------------------------------------------------------------------------------
// Scrolling while something is dragged near the grid's edges

class TDragScrollDelays : public TPersistent {
public:
    int InitialDelay = 1000; // ms
    int RepeatDelay = 250;   // ms
    void Assign(TPersistent* Source) override;
};

class TDragScrollMargins : public TPersistent {
public:
    int TopMargin = 50; // pixels
    int BottomMargin = 50;
    int LeftMargin = 50;
    int RightMargin = 50;
    void Assign(TPersistent* Source) override;
};

class TDragScrollOptions : public TPersistent {
public:
    TDragScrollOptions();
    ~TDragScrollOptions() override;

    bool Active() const { return FActive; }
    void SetActive(bool Value) { FActive = Value; }
    TDragScrollDelays* Delays() const { return FDelays; }
    void SetDelays(TDragScrollDelays* Value) { FDelays->Assign(Value); }
    TDragScrollMargins* Margins() const { return FMargins; }
    void SetMargins(TDragScrollMargins* Value) { FMargins->Assign(Value); }

    // Margins, delays and Active.
    void Assign(TPersistent* Source) override;

private:
    bool FActive = false;
    TDragScrollDelays* FDelays;
    TDragScrollMargins* FMargins;
};

// ---------------------------------------------------------------------------------------------
// Progress-bar cells

enum TProgressStyle { psXP, psClassic };

// Every setter stores a changed value and fires OnChange (the grid repaints); an unchanged value
// does nothing. Assign copies everything and fires OnChange once.
class TGridProgressAppearance : public TPersistent {
public:
    TGridProgressAppearance() = default;

    TColor CompleteColor() const { return FCompleteColor; }
    void SetCompleteColor(TColor Value) { Set(FCompleteColor, Value); }
    TColor CompleteFontColor() const { return FCompleteFontColor; }
    void SetCompleteFontColor(TColor Value) { Set(FCompleteFontColor, Value); }
    TColor UnCompleteColor() const { return FUnCompleteColor; }
    void SetUnCompleteColor(TColor Value) { Set(FUnCompleteColor, Value); }
    TColor UnCompleteFontColor() const { return FUnCompleteFontColor; }
    void SetUnCompleteFontColor(TColor Value) { Set(FUnCompleteFontColor, Value); }
    TColor Level0Color() const { return FLevel0Color; }
    void SetLevel0Color(TColor Value) { Set(FLevel0Color, Value); }
    TColor Level0ColorTo() const { return FLevel0ColorTo; }
    void SetLevel0ColorTo(TColor Value) { Set(FLevel0ColorTo, Value); }
    TColor Level1Color() const { return FLevel1Color; }
    void SetLevel1Color(TColor Value) { Set(FLevel1Color, Value); }
    TColor Level1ColorTo() const { return FLevel1ColorTo; }
    void SetLevel1ColorTo(TColor Value) { Set(FLevel1ColorTo, Value); }
    TColor Level2Color() const { return FLevel2Color; }
    void SetLevel2Color(TColor Value) { Set(FLevel2Color, Value); }
    TColor Level2ColorTo() const { return FLevel2ColorTo; }
    void SetLevel2ColorTo(TColor Value) { Set(FLevel2ColorTo, Value); }
    TColor Level3Color() const { return FLevel3Color; }
    void SetLevel3Color(TColor Value) { Set(FLevel3Color, Value); }
    TColor Level3ColorTo() const { return FLevel3ColorTo; }
    void SetLevel3ColorTo(TColor Value) { Set(FLevel3ColorTo, Value); }
    int Level1Perc() const { return FLevel1Perc; }
    void SetLevel1Perc(int Value) { Set(FLevel1Perc, Value); }
    int Level2Perc() const { return FLevel2Perc; }
    void SetLevel2Perc(int Value) { Set(FLevel2Perc, Value); }
    TColor BorderColor() const { return FBorderColor; }
    void SetBorderColor(TColor Value) { Set(FBorderColor, Value); }
    bool ShowBorder() const { return FShowBorder; }
    void SetShowBorder(bool Value) { Set(FShowBorder, Value); }
    bool Stacked() const { return FStacked; }
    void SetStacked(bool Value) { Set(FStacked, Value); }
    bool ShowPercentage() const { return FShowPercentage; }
    void SetShowPercentage(bool Value) { Set(FShowPercentage, Value); }
    bool CompletionSmooth() const { return FCompletionSmooth; }
    void SetCompletionSmooth(bool Value) { Set(FCompletionSmooth, Value); }
    bool ShowGradient() const { return FShowGradient; }
    void SetShowGradient(bool Value) { Set(FShowGradient, Value); }
    int Steps() const { return FSteps; }
    void SetSteps(int Value) { Set(FSteps, Value); }
    TProgressStyle Style() const { return FStyle; }
    void SetStyle(TProgressStyle Value) { Set(FStyle, Value); }

    TNotifyEvent OnChange;

    void Assign(TPersistent* Source) override;

private:
    template <class T> void Set(T& Field, const T& Value) {
        if (Field == Value) return;
        Field = Value;
        Changed();
    }
    void Changed();

    TColor FCompleteColor = clRed;
    TColor FCompleteFontColor = clBlue;
    TColor FUnCompleteColor = clNone;
    TColor FUnCompleteFontColor = clWindowText;
    TColor FLevel0Color = clLime;
    TColor FLevel0ColorTo = 0xE1FFE1;
    TColor FLevel1Color = clYellow;
    TColor FLevel1ColorTo = 0xCAFFFF;
    TColor FLevel2Color = 0x53A9FF;
    TColor FLevel2ColorTo = 0xA8D3FF;
    TColor FLevel3Color = clRed;
    TColor FLevel3ColorTo = 0xCACAFF;
    int FLevel1Perc = 70;
    int FLevel2Perc = 90;
    TColor FBorderColor = clBlack;
    bool FShowBorder = false;
    bool FStacked = false;
    bool FShowPercentage = true;
    bool FCompletionSmooth = true;
    bool FShowGradient = true;
    int FSteps = 11;
    TProgressStyle FStyle = psXP;
};
