// The cell store of the grid control: TBaseGrid keeps the texts in the platform string grid's
// cells and one TCellProperties object in each cell's object slot (made the first time it is
// asked for). On that store it builds merged areas (a block of cells shown and edited as one,
// whose text lives in its top-left base cell), sends text access to base cells, raises the
// display-text events, paints cells (background, gradients, hover row, active row, selection
// looks, its own grid lines) and keeps key and wheel movement on base cells. TAdvGridUndoRedo
// records cell changes and plays them back.
//
// Merge encoding kept by every operation:
// - an unmerged cell has CellSpanX = CellSpanY = -1 and IsBaseCell; a cell without properties is
//   unmerged;
// - the base cell of an area W columns wide and H rows high has IsBaseCell, CellSpanX = W - 1 and
//   CellSpanY = H - 1;
// - every other cell of the area has IsBaseCell false and its offset to the base in the spans.
#pragma once

#include "GridTypes.h"
#include "Graphics.h"
#include "Grids.h"

#include <set>

class TBaseGrid;
class TAdvGridUndoRedo;

// The base grid's own enumerations.
enum TColumnCalcType {
    acNONE,
    acSUM,
    acAVG,
    acCOUNT,
    acMIN,
    acMAX,
    acSPREAD,
    acCUSTOM,
    acDISTINCT,
    acSTDDEV
};
enum TGridSelectionStyle { ssDefault, ssVista, ssWin7, ssOffice2007 };
enum THoverRowCell { hcNormal, hcFixed, hcSelected };
using THoverRowCells = TEnumSet<THoverRowCell>;

// The platform string grid under the grid control's names.
class TObjStringGrid : public TStringGrid {
public:
    explicit TObjStringGrid(TComponent* AOwner) : TStringGrid(AOwner) {}
};

// ---------------------------------------------------------------------------------------------
// The properties of one cell, held in its object slot and owned by the grid.

class TCellProperties : public TPersistent {
public:
    TCellProperties(TBaseGrid* AOwnerGrid, int AOwnerCol, int AOwnerRow);

    TBaseGrid* OwnerGrid() const { return FOwnerGrid; }
    int OwnerCol() const { return FOwnerCol; }
    void SetOwnerCol(int Value) { FOwnerCol = Value; }
    int OwnerRow() const { return FOwnerRow; }
    void SetOwnerRow(int Value) { FOwnerRow = Value; }

    // A user value attached to the cell; not owned.
    quintptr CellObject() const { return FObject; }
    void SetCellObject(quintptr Value) { FObject = Value; }
    // The cell's graphic; freed with the properties by FreeCellPropertiesRange.
    TObject* GraphicObject() const { return FGraphicObject; }
    void SetGraphicObject(TObject* Value) { FGraphicObject = Value; }

    TBrushStyle BrushStyle() const { return FBrushStyle; }
    void SetBrushStyle(TBrushStyle Value) { FBrushStyle = Value; }
    // clNone: the grid's colour. Writing repaints the cell.
    TColor BrushColor() const { return FBrushColor; }
    void SetBrushColor(TColor Value);
    TColor BrushColorTo() const { return FBrushColorTo; }
    void SetBrushColorTo(TColor Value);
    // 0, clNone, empty and an empty name: not set.
    int FontSize() const { return FFontSize; }
    void SetFontSize(int Value) { FFontSize = Value; }
    TColor FontColor() const { return FFontColor; }
    void SetFontColor(TColor Value) { FFontColor = Value; }
    const TFontStyles& FontStyle() const { return FFontStyle; }
    void SetFontStyle(const TFontStyles& Value) { FFontStyle = Value; }
    const String& FontName() const { return FFontName; }
    void SetFontName(const String& Value) { FFontName = Value; }

    int CellSpanX() const { return FCellSpanX; }
    void SetCellSpanX(int Value) { FCellSpanX = Value; }
    int CellSpanY() const { return FCellSpanY; }
    void SetCellSpanY(int Value) { FCellSpanY = Value; }
    bool IsBaseCell() const { return FIsBaseCell; }
    void SetIsBaseCell(bool Value) { FIsBaseCell = Value; }
    // The base cell of the area this cell (at ACol, ARow) lies in; the cell itself when it is a
    // base cell or unmerged.
    TPoint GetBaseCell(int ACol, int ARow) const;

    int BorderWidth() const { return FBorderWidth; }
    void SetBorderWidth(int Value) { FBorderWidth = Value; }
    TColor BorderColor() const { return FBorderColor; }
    void SetBorderColor(TColor Value) { FBorderColor = Value; }
    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment Value) { FAlignment = Value; }
    // Writing repaints the cell.
    TVAlignment VAlignment() const { return FVAlignment; }
    void SetVAlignment(TVAlignment Value);
    bool WordWrap() const { return FWordWrap; }
    void SetWordWrap(bool Value);

    TColumnCalcType CalcType() const { return FCalcType; }
    void SetCalcType(TColumnCalcType Value) { FCalcType = Value; }
    TObject* CalcObject() const { return FCalcObject; }
    void SetCalcObject(TObject* Value) { FCalcObject = Value; }
    int NodeLevel() const { return FNodeLevel; }
    void SetNodeLevel(int Value) { FNodeLevel = Value; }
    TEditorType Editor() const { return FEditor; }
    void SetEditor(TEditorType Value) { FEditor = Value; }
    bool ReadOnly() const { return FReadOnly; }
    void SetReadOnly(bool Value) { FReadOnly = Value; }
    TCellGradientDirection GradientDirection() const { return FGradientDirection; }
    void SetGradientDirection(TCellGradientDirection Value) { FGradientDirection = Value; }
    // A control placed in the cell; not owned.
    TControl* Control() const { return FControl; }
    void SetControl(TControl* Value) { FControl = Value; }

    // Copies the merge encoding, the owner cell, the cell object, alignment, border, brush colour
    // and style, font, read-only, editor, vertical alignment, word wrap, node level and control;
    // not the graphic, the gradient end and direction nor the calculation.
    void Assign(TPersistent* Source) override;

private:
    friend class TBaseGrid;
    void RepaintOwner();

    TBaseGrid* FOwnerGrid;
    int FOwnerCol;
    int FOwnerRow;
    quintptr FObject = 0;
    TObject* FGraphicObject = nullptr;
    TBrushStyle FBrushStyle = bsSolid;
    TColor FBrushColor = clNone;
    TColor FBrushColorTo = clNone;
    int FFontSize = 0;
    TColor FFontColor = clNone;
    TFontStyles FFontStyle;
    int FCellSpanY = -1;
    int FCellSpanX = -1;
    int FBorderWidth = 0;
    TColor FBorderColor = 0;
    TAlignment FAlignment = taLeftJustify;
    TVAlignment FVAlignment = vtaTop;
    int FPaintID = 0; // the paint pass that last painted the area of this base cell
    bool FWordWrap = true;
    bool FIsBaseCell = true;
    TColumnCalcType FCalcType = acNONE;
    TObject* FCalcObject = nullptr;
    int FNodeLevel = 0;
    TEditorType FEditor = edNormal;
    String FFontName;
    bool FReadOnly = false;
    TCellGradientDirection FGradientDirection = GradientVertical;
    TControl* FControl = nullptr;
};

// ---------------------------------------------------------------------------------------------
// TBaseGrid

class TBaseGrid : public TObjStringGrid {
public:
    explicit TBaseGrid(TComponent* AOwner);
    ~TBaseGrid() override;

    // Kept here only: the platform grid's own default drawing stays off.
    bool DefaultDrawing() const { return FDefaultDrawing; }
    void SetDefaultDrawing(bool Value);
    // The width of the lines the cell painter draws; the platform grid draws none.
    int GridLineWidth() const { return FGridLineWidth; }
    void SetGridLineWidth(int Value);
    TColor GridLineColor() const { return FGridLineColor; }
    void SetGridLineColor(TColor Value);
    TColor GridFixedLineColor() const { return FGridFixedLineColor; }
    void SetGridFixedLineColor(TColor Value);

    TGetDisplTextEvent OnGetDisplText;
    TGetDisplWideTextEvent OnGetDisplWideText;

    // The linked undo/redo component (not owned); setting it links it back to this grid.
    TAdvGridUndoRedo* UndoRedo() const { return FUndoRedo; }
    void SetUndoRedo(TAdvGridUndoRedo* Value);

    // The word wrap new cell properties start with.
    bool WordWrap() const { return FWordWrap; }
    void SetWordWrap(bool Value) { FWordWrap = Value; }

    bool ActiveRowShow() const { return FActiveRowShow; }
    void SetActiveRowShow(bool Value);
    TColor ActiveRowColor() const { return FActiveRowColor; }
    void SetActiveRowColor(TColor Value);
    TColor ActiveRowColorTo() const { return FActiveRowColorTo; }
    void SetActiveRowColorTo(TColor Value);
    TColor ActiveRowMirrorColor() const { return FActiveRowMirrorColor; }
    void SetActiveRowMirrorColor(TColor Value);
    TColor ActiveRowMirrorColorTo() const { return FActiveRowMirrorColorTo; }
    void SetActiveRowMirrorColorTo(TColor Value);
    TGridSelectionStyle SelectionStyle() const { return FSelectionStyle; }
    void SetSelectionStyle(TGridSelectionStyle Value);

    bool HoverRow() const { return FHoverRow; }
    void SetHoverRow(bool Value) { FHoverRow = Value; }
    const THoverRowCells& HoverRowCells() const { return FHoverRowCells; }
    void SetHoverRowCells(const THoverRowCells& Value) { FHoverRowCells = Value; }
    TColor HoverRowColor() const { return FHoverRowColor; }
    void SetHoverRowColor(TColor Value) { FHoverRowColor = Value; }
    TColor HoverRowColorTo() const { return FHoverRowColorTo; }
    void SetHoverRowColorTo(TColor Value) { FHoverRowColorTo = Value; }

    // ---- Cell properties and raw access ----
    // The slot's properties, made (and filled from GetDefaultVisualProps) when the slot is empty.
    TCellProperties* GetCellProperties(int ACol, int ARow);
    // Frees the slot's object and stores Value.
    void SetCellProperties(int ACol, int ARow, TCellProperties* Value);
    // The cell lies within TotalColCount x RowCount and its slot holds an object.
    bool HasCellProperties(int ACol, int ARow) const;
    TObject* GetGridObject(int ACol, int ARow) const { return Objects(ACol, ARow); }
    void SetGridObject(int ACol, int ARow, TObject* Value);
    // The stored text, without base cell or events.
    String GetGridCell(int ACol, int ARow) const { return Cells(ACol, ARow); }
    void SetGridCell(int ACol, int ARow, const String& Value) { SetCells(ACol, ARow, Value); }
    // The CellObject of the cell's properties; 0 without properties (none is made).
    quintptr GetObjectEx(int ACol, int ARow) const;
    void SetObjectEx(int ACol, int ARow, quintptr Value);
    TObject* GetGraphicObjectEx(int ACol, int ARow) const;
    // Nothing while the grid is being destroyed.
    void SetGraphicObjectEx(int ACol, int ARow, TObject* Value);
    static TObject* GetPropsGraphicObject(TCellProperties* Props) {
        return Props ? Props->GraphicObject() : nullptr;
    }
    // Frees the slot's object (not its graphic) and empties the slot.
    void FreeCellProperties(int ACol, int ARow);
    // Frees the properties of every cell of the block (corners included) with their graphic when
    // it is a TCellGraphic; only once properties were ever made.
    void FreeCellPropertiesRange(int Col1, int Row1, int Col2, int Row2);
    // The range free over every cell that may hold properties, also beyond the counts.
    void FreeAllCellProperties();
    // Empty the object slots (without freeing their objects: the callers have moved them to
    // other cells) and write empty texts through SetCellEx.
    void BlankColumn(int ACol);
    void BlankRow(int ARow);
    void BlankCell(int ACol, int ARow);

    // ---- Text through base cells ----
    // The text of the cell's base cell, as the display-text events make it.
    String GetCellEx(int ACol, int ARow);
    // Writes the text into the cell's base cell.
    void SetCellEx(int ACol, int ARow, const String& Value);

    // ---- Merged areas ----
    // Makes the block of SpanX columns by SpanY rows from (ACol, ARow) one area. A block reaching
    // outside the store raises "Grid index out of range" before anything changes.
    virtual void MergeCells(int ACol, int ARow, int SpanX, int SpanY);
    // Dissolves the area holding the cell.
    virtual void SplitCells(int ACol, int ARow);
    TPoint BaseCell(int ACol, int ARow) const;
    // True with the cell itself for an unmerged or base cell; false with its base for a covered
    // cell.
    bool ResolveBaseCell(int ACol, int ARow, int& BaseCol, int& BaseRow) const;
    bool IsBaseCell(int ACol, int ARow) const;
    bool IsMergedCell(int ACol, int ARow) const;
    bool IsMergedNonBaseCell(int ACol, int ARow) const;
    bool IsXMergedCell(int ACol, int ARow) const;
    bool IsYMergedCell(int ACol, int ARow) const;
    // The spans of the cell's area ((0, 0) for an unmerged cell).
    TPoint CellSpan(int ACol, int ARow) const;
    // The cells from this one to the right and bottom edges of its area.
    TPoint CellExt(int ACol, int ARow) const;
    // The area in cell coordinates, corners included.
    TRect FullCell(int ACol, int ARow) const;
    int MinRowSpan(int ARow) const;
    int MaxRowSpan(int ARow) const;
    bool RowSpanIdentical(int Row1, int Row2) const;
    bool ColSpanIdentical(int Col1, int Col2) const;

    // ---- Geometry ----
    // The client rectangle of the cell's whole area (also the parts scrolled out of view).
    TRect CellRect(int ACol, int ARow) const;
    // Width and height of the cell's area.
    TPoint CellSize(int ACol, int ARow) const;
    // Where the cell would lie in the client area, also when scrolled out of view.
    TRect VirtualCellRect(int ACol, int ARow) const;
    void RepaintCell(int ACol, int ARow);

    // ---- Painting on any canvas ----
    void PaintCell(TCanvas* ACanvas, int ACol, int ARow, TRect ARect, TGridDrawState AState);
    // Background and lines only.
    void PaintCellExt(TCanvas* ACanvas, int ACol, int ARow, TRect ARect, TGridDrawState AState);

    // ---- Hooks of the grid control ----
    virtual bool IsFixed(int ACol, int ARow);
    virtual int GetRowIndent(int ARow);
    virtual bool HasNodes();
    virtual void DrawCellText(TCanvas* Canvas, int ACol, int ARow, TRect R, TGridDrawState AState);
    virtual void LastRowChanged();
    virtual void GetDisplText(int ACol, int ARow, String& Value);
    virtual void GetDisplWideText(int ACol, int ARow, String& Value);
    virtual void GetDefaultVisualProps(int ACol, int ARow, TFont* AFont, TBrush* ABrush, TColor& AColorTo,
                                       TColor& AMirrorColor, TColor& AMirrorColorTo, TAlignment& HA,
                                       TVAlignment& VA, bool& WW, TCellGradientDirection& GD);
    virtual void BaseCellTextChanged(int ACol, int ARow);
    virtual bool HasCustomCellBorders();
    virtual bool IsStyled();
    virtual void GetVisualProperties(int ACol, int ARow, TGridDrawState& AState, bool Print, bool Select,
                                     bool Remap, TBrush* ABrush, TColor& AColorTo, TColor& AMirrorColor,
                                     TColor& AMirrorColorTo, TFont* AFont, TAlignment& HA, TVAlignment& VA,
                                     bool& WW, TCellGradientDirection& GD);
    virtual int DisplColIndex(int ACol);
    virtual int TotalColCount() const;

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override;
    void Paint() override;
    void DrawCell(int ACol, int ARow, TRect ARect, TGridDrawState AState) override;
    bool SelectCell(int ACol, int ARow) override;
    void KeyDown(Word& Key, TShiftState Shift) override;
    bool DoMouseWheelDown(TShiftState Shift, TPoint MousePos) override;
    bool DoMouseWheelUp(TShiftState Shift, TPoint MousePos) override;
    void TopLeftChanged() override;
    void SizeChanged(int OldColCount, int OldRowCount) override;

    // The current cell onto the base cell of its area.
    void MoveToBaseCell();

    int FPaintID = 1;          // paint pass, counted up after every paint
    bool FHideLastRow = false; // the last row hides behind the floating footer
    int FNormalRowCount = 0;   // rows below it get the display-text events
    int FHoverRowIdx = -1;     // the row under the mouse
    bool FShowSel = true;      // the selection is shown
    bool FHasCellProps = false;
    int FMergeCount = 0; // +1 per merge, -1 per split

private:
    void PaintCellCore(TCanvas* ACanvas, int ACol, int ARow, TRect ARect, TGridDrawState AState,
                       bool UseCellRect);
    void PaintSelection(TCanvas* ACanvas, int ACol, const TRect& R);
    // The properties of the cell if it has any.
    TCellProperties* PropsOf(int ACol, int ARow) const;
    // A cell's properties are going to exist: the range FreeAllCellProperties covers grows.
    void NoteStored(int ACol, int ARow);
    void RepaintBlock(int Col1, int Row1, int Col2, int Row2);

    bool FDefaultDrawing = false;
    int FGridLineWidth = 1;
    TColor FGridLineColor = 0xC0C0C0;
    TColor FGridFixedLineColor = 0x808080;
    TAdvGridUndoRedo* FUndoRedo = nullptr;
    bool FWordWrap = true;
    bool FActiveRowShow = false;
    TColor FActiveRowColor = clInfoBk;
    TColor FActiveRowColorTo = clNone;
    TColor FActiveRowMirrorColor = clNone;
    TColor FActiveRowMirrorColorTo = clNone;
    TGridSelectionStyle FSelectionStyle = ssDefault;
    bool FHoverRow = false;
    THoverRowCells FHoverRowCells{hcNormal, hcSelected};
    TColor FHoverRowColor = clInfoBk;
    TColor FHoverRowColorTo = clNone;
    // Every cell that may hold properties lies below these (the store keeps cells beyond the
    // counts).
    int FStoredCols = 0;
    int FStoredRows = 0;
};

// ---------------------------------------------------------------------------------------------
// Undo and redo of cell changes

class TUndoRedoItem : public TCollectionItem {
public:
    explicit TUndoRedoItem(TCollection* Collection) : TCollectionItem(Collection) {}

    int Row = 0;
    int Col = 0;
    String Value;     // the text the change wrote
    String OrigValue; // the text before
    bool SequenceStart = false;
    bool SequenceStop = false;
};

class TUndoRedoCollection : public TCollection {
public:
    TUndoRedoCollection() : TCollection(CollectionItemClass<TUndoRedoItem>()) {}
    TUndoRedoItem* Add() { return static_cast<TUndoRedoItem*>(TCollection::Add()); }
    TUndoRedoItem* Items(int Index) const { return static_cast<TUndoRedoItem*>(TCollection::Items(Index)); }
};

using TAdvGridUndoRedoEvent = TEvent<TObject* /*Sender*/, TBaseGrid* /*Grid*/, int /*Col*/, int /*Row*/,
                                     const String& /*OrigValue*/, const String& /*NewValue*/>;

// Items [0 .. Level - 1] are done, the items from Level on undone. A sequence is a start marker
// (column and row -1, empty texts), the changes and a stop marker; it is undone and redone whole.
class TAdvGridUndoRedo : public TComponent {
public:
    explicit TAdvGridUndoRedo(TComponent* AOwner);
    ~TAdvGridUndoRedo() override;

    TUndoRedoCollection* Items() const { return FItems; }
    TBaseGrid* Grid() const { return FGrid; }
    void SetGrid(TBaseGrid* Value);
    int Level = 0;
    // 0: no limit; else the oldest change goes when a change would exceed it.
    int MaxLevel = 0;
    TAdvGridUndoRedoEvent OnUndo;
    TAdvGridUndoRedoEvent OnRedo;

    virtual void RegisterChange(int ACol, int ARow, const String& OldValue, const String& NewValue);
    virtual void StartSequence();
    virtual void StopSequence();
    // A change whose cell has left the grid is passed over (nothing reported, nothing written).
    void Undo();
    void Redo();
    // Frees every item; Level 0.
    void Reset();
    bool CanUndo() const { return Level > 0; }
    bool CanRedo() const { return Level < FItems->Count(); }

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    void AddMarker(bool Start);
    // Writes one side of an item into its cell and makes the cell current.
    // false (nothing done) when its cell is outside the grid.
    bool Play(TUndoRedoItem* Item, bool Undoing);

    TUndoRedoCollection* FItems;
    TBaseGrid* FGrid = nullptr;
};
