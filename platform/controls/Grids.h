// The grid unit of the class library: the self-drawn grid TCustomGrid, the grid with owner-drawn
// cells TDrawGrid, the string grid TStringGrid with its cell store, and the in-place editor
// TInplaceEdit. docs/DESIGN.md ("The platform grid") describes the model: storage, geometry,
// scrolling, selection and grid state, the paint loop, mouse, keys and the editor protocol.
//
// Indexes are column first (ACol, ARow) as the class library has them. Column positions are
// computed left to right; a right-to-left grid (UseRightToLeftAlignment) mirrors every client
// position it hands out or takes in, so cell rectangles and mouse positions are always client
// coordinates as seen on the screen.
#pragma once

#include "Controls.h"
#include "Mask.h"
#include "StdCtrls.h"

#include <memory>
#include <set>
#include <unordered_map>
#include <vector>

class TInplaceEdit;
class TStringGrid;

// An operation on a grid that cannot be done: an index outside the store or the counts, a fixed
// count not below its count, a count too large to store.
class EInvalidGridOperation : public Exception {
    using Exception::Exception;
};

enum TGridOption {
    goFixedVertLine,
    goFixedHorzLine,
    goVertLine,
    goHorzLine,
    goRangeSelect,
    goDrawFocusSelected,
    goRowSizing,
    goColSizing,
    goRowMoving,
    goColMoving,
    goEditing,
    goTabs,
    goRowSelect,
    goAlwaysShowEditor,
    goThumbTracking
};
using TGridOptions = TEnumSet<TGridOption>;

// State of a cell being drawn, as DrawCell receives it.
enum TGridDrawStateItem { gdSelected, gdFocused, gdFixed, gdRowSelected, gdHotTrack, gdPressed };
using TGridDrawState = TEnumSet<TGridDrawStateItem>;

// What the mouse is doing to the grid between a press and its release.
enum TGridState { gsNormal, gsSelecting, gsRowSizing, gsColSizing, gsRowMoving, gsColMoving };

struct TGridCoord {
    int X = 0, Y = 0;
    constexpr TGridCoord() = default;
    constexpr TGridCoord(int AX, int AY) : X(AX), Y(AY) {}
    constexpr bool operator==(const TGridCoord&) const = default;
};

// A block of cells, corners included.
struct TGridRect {
    int Left = 0, Top = 0, Right = 0, Bottom = 0;
    constexpr TGridRect() = default;
    constexpr TGridRect(int L, int T, int R, int B) : Left(L), Top(T), Right(R), Bottom(B) {}
    constexpr TGridCoord TopLeft() const { return {Left, Top}; }
    constexpr TGridCoord BottomRight() const { return {Right, Bottom}; }
    constexpr bool operator==(const TGridRect&) const = default;
};

// The block spanned by two corners in any order.
TGridRect GridRect(const TGridCoord& Coord1, const TGridCoord& Coord2);
bool PointInGridRect(int Col, int Row, const TGridRect& Rect);

// The largest counts the store takes: a count above them, or a cell index outside them, is an
// error. Cells beyond ColCount and RowCount but inside these limits are stored and can be read
// and written.
constexpr int MaxGridCols = 0x10000;
constexpr int MaxGridRows = 0x800000;

using TSelectCellEvent = TEvent<TObject* /*Sender*/, int /*ACol*/, int /*ARow*/, bool& /*CanSelect*/>;
using TDrawCellEvent =
    TEvent<TObject* /*Sender*/, int /*ACol*/, int /*ARow*/, TRect /*Rect*/, TGridDrawState /*State*/>;
using TGetEditEvent = TEvent<TObject* /*Sender*/, int /*ACol*/, int /*ARow*/, String& /*Value*/>;
using TSetEditEvent = TEvent<TObject* /*Sender*/, int /*ACol*/, int /*ARow*/, const String& /*Value*/>;
using TMovedEvent = TEvent<TObject* /*Sender*/, int /*FromIndex*/, int /*ToIndex*/>;

// ---------------------------------------------------------------------------------------------
// Sizes of the columns or rows of a grid: one default, and a table of sizes made on the first
// size that differs from it (so a count change costs nothing while no size was set). A negative
// size hides the column or row with its grid line.
class TGridExtents {
public:
    explicit TGridExtents(int ACount, int ADefault) : FCount(ACount), FDefault(ADefault) {}

    int Count() const { return FCount; }
    // Sizes beyond the new count are dropped; new indexes take the default.
    void SetCount(int Value);
    int Default() const { return FDefault; }
    // A new default forgets every size that was set.
    void SetDefault(int Value);
    int Size(int Index) const {
        return Index >= 0 && Index < int(FSizes.size()) ? FSizes[size_t(Index)] : FDefault;
    }
    void SetSize(int Index, int Value);
    // Moves the size at FromIndex to ToIndex, the ones between shifting by one.
    void Move(int FromIndex, int ToIndex);
    bool Customized() const { return !FSizes.empty(); }
    // Changes with every change of the count or a size (for layouts worked out from them).
    unsigned Version() const { return FVersion; }

private:
    int FCount;
    int FDefault;
    std::vector<int> FSizes; // empty, or one per index below FCount
    unsigned FVersion = 0;
};

// Geometry of one axis of the grid as drawn now, in left-to-right (top-to-bottom) pixels.
struct TGridAxisDrawInfo {
    int EffectiveLineWidth = 0;  // the grid line after each cell (0 when no line option is on)
    int FixedBoundary = 0;       // the end of the fixed cells (at most GridExtent)
    int GridBoundary = 0;        // the end of the last cell drawn (at most GridExtent)
    int GridExtent = 0;          // the client width or height
    int LastFullVisibleCell = 0; // the last scrolling cell shown whole (FirstGridCell - 1: none)
    int FullVisBoundary = 0;     // the end of that cell with its line
    int FixedCellCount = 0;
    int FirstGridCell = 0; // LeftCol or TopRow
    int GridCellCount = 0; // ColCount or RowCount
};

struct TGridDrawInfo {
    TGridAxisDrawInfo Horz;
    TGridAxisDrawInfo Vert;
};

// One of the window's scroll bars as the grid wants it: shown or not, the range 0..127 and the
// thumb position.
struct TGridScrollBar {
    bool Visible = false;
    int Min = 0;
    int Max = 127;
    int Pos = 0;
    bool operator==(const TGridScrollBar&) const = default;
};

// ---------------------------------------------------------------------------------------------
// TCustomGrid

class TCustomGrid : public TCustomControl {
public:
    explicit TCustomGrid(TComponent* AOwner);
    ~TCustomGrid() override;

    // Structure.
    int ColCount() const { return FColWidths.Count(); }
    void SetColCount(int Value);
    int RowCount() const { return FRowHeights.Count(); }
    void SetRowCount(int Value);
    int FixedCols() const { return FFixedCols; }
    void SetFixedCols(int Value);
    int FixedRows() const { return FFixedRows; }
    void SetFixedRows(int Value);
    int DefaultColWidth() const { return FColWidths.Default(); }
    void SetDefaultColWidth(int Value);
    int DefaultRowHeight() const { return FRowHeights.Default(); }
    void SetDefaultRowHeight(int Value);
    // Reading an index outside the count answers the default; writing one raises.
    int ColWidths(int Index) const { return FColWidths.Size(Index); }
    void SetColWidths(int Index, int Value);
    int RowHeights(int Index) const { return FRowHeights.Size(Index); }
    void SetRowHeights(int Index, int Value);
    int GridLineWidth() const { return FGridLineWidth; }
    void SetGridLineWidth(int Value);
    const TGridOptions& Options() const { return FOptions; }
    void SetOptions(const TGridOptions& Value);
    bool HasOption(TGridOption Option) const { return FOptions.count(Option) != 0; }
    TColor FixedColor() const { return FFixedColor; }
    void SetFixedColor(TColor Value);
    TScrollStyle ScrollBars() const { return FScrollBars; }
    void SetScrollBars(TScrollStyle Value);
    // bsSingle: a sunken 2-pixel edge with Ctl3D, a 1-pixel line without, in the window's
    // non-client area (outside ClientRect, like the scroll bars).
    TBorderStyle BorderStyle() const { return FBorderStyle; }
    void SetBorderStyle(TBorderStyle Value);
    // Off: the grid fills no cell, draws no text and no focus rectangle; DrawCell does it all.
    bool DefaultDrawing() const { return FDefaultDrawing; }
    void SetDefaultDrawing(bool Value);

    // The current cell and the selection. The Col and Row writers ask SelectCell first and
    // raise "Grid index out of range" for a cell outside the counts. Selection is the block
    // between the current cell and the anchor (whole rows with goRowSelect); writing it puts the
    // anchor at its top-left and the current cell at its bottom-right as given, also outside
    // the grid, without SelectCell.
    int Col() const { return FCurrent.X; }
    void SetCol(int Value);
    int Row() const { return FCurrent.Y; }
    void SetRow(int Value);
    TGridRect Selection() const;
    void SetSelection(const TGridRect& Value);

    // The first scrolling column and row shown (kept between the fixed count and the last
    // index) and how many scrolling columns and rows are shown whole.
    int LeftCol() const { return FTopLeft.X; }
    void SetLeftCol(int Value);
    int TopRow() const { return FTopLeft.Y; }
    void SetTopRow(int Value);
    int VisibleColCount() const;
    int VisibleRowCount() const;

    // The client rectangle of the shown part of a cell, without its grid line; empty for a
    // cell out of view.
    TRect CellRect(int ACol, int ARow) const;
    // The cell under a client point; -1 for an axis outside the cells.
    TGridCoord MouseCoord(int X, int Y) const;
    void MouseToCell(int X, int Y, int& ACol, int& ARow) const;

    // The in-place editor (nullptr until first shown) and whether the grid is editing.
    TInplaceEdit* InplaceEditor() const { return FInplaceEdit; }
    bool EditorMode() const { return FEditorMode; }
    void SetEditorMode(bool Value);
    // Shows the editor over the current cell when CanEditShow allows it.
    void ShowEditor();
    // Hides the editor, writing a changed text back through SetEditText.
    void HideEditor();
    // Loads the editor anew from the cell (a change not yet written back is dropped).
    void InvalidateEditor();

    // What the grid hands to the window's scroll bars (SB_HORZ or SB_VERT): see
    // UpdateScrollRange. The window's bars show the same (GetScrollInfo).
    const TGridScrollBar& ScrollBarInfo(int Bar) const { return FScrollBarInfo[Bar == SB_VERT ? 1 : 0]; }

    void Dispatch(TMessage& Message) override;

protected:
    friend class TInplaceEdit;

    // ---- Hooks for descendants ----
    // Asked before every move of the current cell (keys, clicks, the Col and Row writers).
    virtual bool SelectCell(int ACol, int ARow);
    // Draws one cell; the canvas holds the grid's font and the cell's brush.
    virtual void DrawCell(int ACol, int ARow, TRect ARect, TGridDrawState AState) = 0;
    // After ColCount or RowCount changed.
    virtual void SizeChanged(int OldColCount, int OldRowCount);
    virtual void ColWidthsChanged();
    virtual void RowHeightsChanged();
    // After LeftCol or TopRow changed.
    virtual void TopLeftChanged();
    // After MoveColumn / MoveRow moved sizes and the current cell; the string grid moves its
    // cells here.
    virtual void ColumnMoved(int FromIndex, int ToIndex);
    virtual void RowMoved(int FromIndex, int ToIndex);
    // Whether a press at the client point (X, Y) would size a column or a row: State becomes
    // gsColSizing or gsRowSizing with the column or row left of (above) the line in Index;
    // SizingPos and SizingOfs are the line's position and the pointer's offset to it (left to
    // right pixels). gsNormal otherwise.
    virtual void GetSizingState(int X, int Y, TGridState& State, int& Index, int& SizingPos, int& SizingOfs);

    // ---- Editor protocol ----
    virtual bool CanEditShow();
    virtual TInplaceEdit* CreateEditor();
    virtual String GetEditText(int ACol, int ARow);
    virtual void SetEditText(int ACol, int ARow, const String& Value);
    virtual String GetEditMask(int ACol, int ARow);
    virtual int GetEditLimit();
    // Brings the editor to the current cell when the grid is editing (writing back the text of
    // the cell it leaves); nothing otherwise.
    void UpdateEdit();
    // Writes the editor's text back when it changed since it was loaded.
    void UpdateText();
    // Whether the editor holds the cell (ACol, ARow).
    bool EditorShowsCell(int ACol, int ARow) const {
        return FInplaceEdit && FInplaceCol == ACol && FInplaceRow == ARow;
    }

    // ---- Scrolling ----
    // Works out the scroll bars the grid wants (a bar for each direction ScrollBars allows
    // whose cells do not all fit, range 0..127) and its thumb position, keeps them in
    // ScrollBarInfo and sets the window's scroll bars (SetScrollInfo, ShowScrollBar) from them.
    virtual void UpdateScrollRange();
    virtual void UpdateScrollPos();
    void CreateParams(TCreateParams& Params) override;
    void CreateWnd() override;
    // The scroll bar's position for the first scrolling cell shown, and the cell for a position.
    int ScrollPosOf(int Bar) const;
    int CellOfScrollPos(int Bar, int Pos) const;

    // ---- Moves of the current cell, the anchor and the view ----
    TGridCoord Anchor() const { return FAnchor; }
    // Moves the current cell (SelectCell first); MoveAnchor puts the anchor there too (always
    // without range selection); Show scrolls it into view.
    void MoveColRow(int ACol, int ARow, bool MoveAnchor, bool Show);
    // MoveColRow with Show, then the editor follows and OnClick fires.
    void FocusCell(int ACol, int ARow, bool MoveAnchor);
    // Moves the selection's other corner (range selection), else the current cell.
    void MoveAnchor(const TGridCoord& NewAnchor);
    void MoveTopLeft(int ALeft, int ATop);
    // Scrolls so that the cell is shown whole (as far as it fits).
    void ClampInView(const TGridCoord& Coord);

    // ---- Moving and deleting columns and rows (indexes below the counts) ----
    void MoveColumn(int FromIndex, int ToIndex);
    void MoveRow(int FromIndex, int ToIndex);
    // True while MoveColumn or MoveRow runs its moved hook: the sizes, the current cell and the
    // anchor have followed the move already (a hook called from elsewhere finds it False).
    bool MovingCells() const { return FMovingCells; }
    // Moves the column or row to the end and lowers the count by one.
    void DeleteColumn(int ACol);
    void DeleteRow(int ARow);

    // ---- Geometry ----
    void CalcDrawInfo(TGridDrawInfo& DrawInfo) const;
    // The client rectangle of the shown part of a block of cells (empty when none is shown).
    TRect BoxRect(int ALeft, int ATop, int ARight, int ABottom) const;
    // Left-to-right x of a client x (mirrored in a right-to-left grid), and back.
    int LtrX(int X) const;
    TRect MirrorRect(const TRect& R) const;

    // ---- Painting ----
    void Paint() override;
    void InvalidateCell(int ACol, int ARow);
    void InvalidateCol(int ACol);
    void InvalidateRow(int ARow);
    void InvalidateGrid();
    void InvalidateGridRect(const TGridRect& Rect);

    // ---- Input ----
    void KeyDown(Word& Key, TShiftState Shift) override;
    void KeyPress(Char& Key) override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    bool DoMouseWheelDown(TShiftState Shift, TPoint MousePos) override;
    bool DoMouseWheelUp(TShiftState Shift, TPoint MousePos) override;
    // The key by the way it moves: in a right-to-left grid Left and Right swap.
    Word DirectionKey(Word Key) const;
    // Ends sizing, moving or selecting without completing it.
    void CancelMode();
    // The grid or its editor has the focus.
    bool IsActiveControl() const;

    void WMGetDlgCode(TMessage& Message);
    void WMChar(TWMKey& Message);
    void WMHScroll(TWMScroll& Message);
    void WMVScroll(TWMScroll& Message);
    void WMTimer(TWMTimer& Message);
    void WMSetCursor(TMessage& Message);
    void WMCancelMode(TMessage& Message);
    void WMCaptureChanged(TMessage& Message);
    void WMSetFocus(TWMSetFocus& Message);
    void WMKillFocus(TWMKillFocus& Message);
    void WMSize(TWMSize& Message);
    void CMFontChanged(TMessage& Message);

    // Read and written by descendants that take part in the mouse handling.
    TGridState FGridState = gsNormal;

private:
    bool RangeSelectAllowed() const;
    void ChangeSize(int NewColCount, int NewRowCount);
    void SetFixedCount(int Value, bool Rows);
    void MoveCells(bool Rows, int FromIndex, int ToIndex);
    // Sets one size; false when it had that size already.
    bool SetSize(TGridExtents& Sizes, int Index, int Value);
    void SelectionMoved(const TGridRect& OldSel);
    void CalcAxis(TGridAxisDrawInfo& Axis, const TGridExtents& Extents, int FixedCount, int FirstCell,
                  int Extent, int LineWidth) const;
    // The smallest first cell that still shows the cells up to Last whole.
    int FirstCellShowing(const TGridExtents& Extents, const TGridAxisDrawInfo& Axis, int Last) const;
    int MaxTopLeftOf(const TGridExtents& Extents, const TGridAxisDrawInfo& Axis) const;
    // The cell of an axis at a left-to-right position; -1 outside.
    int CellAt(const TGridExtents& Extents, const TGridAxisDrawInfo& Axis, int Pos) const;
    // The left-to-right span of the shown part of cells First..Last; false when none shows.
    bool AxisSpan(const TGridExtents& Extents, const TGridAxisDrawInfo& Axis, int First, int Last, int& Start,
                  int& End) const;
    // The left-to-right start of a shown cell; -1 when it is not shown.
    int CellStart(const TGridExtents& Extents, const TGridAxisDrawInfo& Axis, int Index) const;
    void ModifyScrollBar(int Bar, int ScrollCode, int Pos);
    void SetScrollPositions(const TGridDrawInfo& Info);
    void ApplyScrollBars();
    void ApplyBorderStyle();
    // The editor (when it holds a cell) moves with its cell.
    void EditorFollowCell();
    void HideEdit();
    void ShowEditorChar(Char Ch);
    void ShowCursorShape(TCursor Cursor);
    void UpdateCursor(int X, int Y);
    void StartTimer();
    void StopTimer();
    void AutoScrollTick();
    void DrawCells(TCanvas* Canvas, const TGridDrawInfo& Info, int ACol, int ARow, int StartX, int StartY,
                   int StopX, int StopY, bool Fixed);
    void DrawLines(TCanvas* Canvas, const TGridDrawInfo& Info, int ACol, int ARow, int StartX, int StartY,
                   int StopX, int StopY, bool HorzLines, bool VertLines, TColor LineColor);
    void DrawStateMarks(TCanvas* Canvas, const TGridDrawInfo& Info);

    TGridExtents FColWidths{5, 64};
    TGridExtents FRowHeights{5, 24};
    int FFixedCols = 1;
    int FFixedRows = 1;
    int FGridLineWidth = 1;
    TGridOptions FOptions;
    TColor FFixedColor = clBtnFace;
    TScrollStyle FScrollBars = ssBoth;
    TBorderStyle FBorderStyle = bsSingle;
    bool FDefaultDrawing = true;

    TGridCoord FCurrent{1, 1};
    TGridCoord FAnchor{1, 1};
    TGridCoord FTopLeft{1, 1};
    // The Selection writer put the selection outside the grid: it stays there whatever the
    // counts do until the current cell moves.
    bool FSelectionParked = false;

    // Mouse gestures.
    int FSizingIndex = -1;
    int FSizingPos = 0;
    int FSizingOfs = 0;
    int FMoveIndex = -1;
    int FMovePos = -1;
    bool FMovingCells = false;
    TPoint FLastMouse{-1, -1};
    bool FTimerActive = false;
    TCursor FShownCursor = crDefault;

    // The editor.
    TInplaceEdit* FInplaceEdit = nullptr;
    bool FEditorMode = false;
    int FInplaceCol = -1;
    int FInplaceRow = -1;
    int FEditChanging = 0;

    TGridScrollBar FScrollBarInfo[2];
    TGridScrollBar FAppliedBars[2]; // what the window's bars were last given
    bool FUpdatingBars = false;     // UpdateScrollRange runs (a bar shown or hidden sends WM_SIZE)
    unsigned FBarShowChanges = 0;   // counts the bars shown or hidden on the window
    bool FGridInvalid = false;      // a whole paint is asked for and has not run yet

    // The layout of each axis (0 columns, 1 rows) as last worked out and what it came from, so
    // that the many questions between two changes do not lay the grid out again each time.
    struct TAxisCache {
        bool Valid = false;
        unsigned Version = 0;
        int Fixed = 0, First = 0, Extent = 0, Line = 0;
        TGridAxisDrawInfo Info;
        bool MaxValid = false;
        int MaxFirst = 0;
    };
    mutable TAxisCache FAxisCache[2];
    const TGridAxisDrawInfo& CachedAxis(TAxisCache& Cache, const TGridExtents& Extents, int FixedCount,
                                        int FirstCell, int Extent, int LineWidth) const;
};

// ---------------------------------------------------------------------------------------------
// TDrawGrid: the grid whose cells its user draws (OnDrawCell) and whose hooks fire events.

class TDrawGrid : public TCustomGrid {
public:
    explicit TDrawGrid(TComponent* AOwner) : TCustomGrid(AOwner) {}

    TMovedEvent OnColumnMoved;
    TMovedEvent OnRowMoved;
    TNotifyEvent OnTopLeftChanged;
    TDrawCellEvent OnDrawCell;
    TGetEditEvent OnGetEditMask;
    TGetEditEvent OnGetEditText;
    TSetEditEvent OnSetEditText;
    TSelectCellEvent OnSelectCell;

protected:
    bool SelectCell(int ACol, int ARow) override;
    void DrawCell(int ACol, int ARow, TRect ARect, TGridDrawState AState) override;
    void TopLeftChanged() override;
    void ColumnMoved(int FromIndex, int ToIndex) override;
    void RowMoved(int FromIndex, int ToIndex) override;
    String GetEditMask(int ACol, int ARow) override;
    String GetEditText(int ACol, int ARow) override;
    void SetEditText(int ACol, int ARow, const String& Value) override;
};

// ---------------------------------------------------------------------------------------------
// The string grid's cell store: per row, the texts and objects by column, rows held by pointer
// so that moving a row moves one pointer. Cells never written take no room; the store does not
// follow ColCount and RowCount at all.

class TGridCellStore {
public:
    TGridCellStore() = default;

    const String& Text(int ACol, int ARow) const;
    // WidthHint: the columns a new row makes room for at once (the grid's ColCount).
    void SetText(int ACol, int ARow, const String& Value, int WidthHint = 0);
    TObject* Object(int ACol, int ARow) const;
    void SetObject(int ACol, int ARow, TObject* Value);
    // Moves a whole row (every stored column) or a column (in every stored row).
    void MoveRow(int FromIndex, int ToIndex);
    // Exchanges two whole rows (every stored column).
    void SwapRows(int ARow1, int ARow2);
    void MoveColumn(int FromIndex, int ToIndex);

private:
    struct TRow {
        std::vector<String> Texts;
        std::vector<TObject*> Objects;
    };
    TRow* RowFor(int ARow, int WidthHint);

    std::vector<std::unique_ptr<TRow>> FRows;
};

// A row (Rows) or column (Cols) of a string grid seen as strings with objects: Count is
// ColCount (RowCount); reading and writing go to the cells. Assign copies as many strings and
// objects as fit and clears the cells after them. Inserting and deleting are refused.
class TStringGridStrings : public TStrings {
public:
    TStringGridStrings(TStringGrid* AGrid, bool AIsRow, int AIndex);

    int Count() const override;
    String Strings(int Index) const override;
    void SetStrings(int Index, const String& S) override;
    TObject* Objects(int Index) const override;
    void SetObjects(int Index, TObject* AObject) override;
    void Insert(int Index, const String& S) override;
    void Delete(int Index) override;
    void Clear() override;
    void Assign(TPersistent* Source) override;

private:
    TGridCoord CellOf(int Index) const;

    TStringGrid* FGrid;
    bool FIsRow;
    int FIndex;
};

// ---------------------------------------------------------------------------------------------
// TStringGrid

class TStringGrid : public TDrawGrid {
public:
    explicit TStringGrid(TComponent* AOwner);
    ~TStringGrid() override;

    // Cells anywhere in the store (beyond the counts too); an index outside the store raises
    // "Grid index out of range". Objects are not owned and need no text in their cell.
    String Cells(int ACol, int ARow) const;
    void SetCells(int ACol, int ARow, const String& Value);
    TObject* Objects(int ACol, int ARow) const;
    void SetObjects(int ACol, int ARow, TObject* Value);
    // Exchanges the texts and objects of two rows in every stored column at once.
    void SwapStoredRows(int ARow1, int ARow2);
    // Live views of a row and a column (owned by the grid).
    TStrings* Rows(int Index);
    void SetRows(int Index, TStrings* Value);
    TStrings* Cols(int Index);
    void SetCols(int Index, TStrings* Value);

protected:
    void DrawCell(int ACol, int ARow, TRect ARect, TGridDrawState AState) override;
    void ColumnMoved(int FromIndex, int ToIndex) override;
    void RowMoved(int FromIndex, int ToIndex) override;
    String GetEditText(int ACol, int ARow) override;
    void SetEditText(int ACol, int ARow, const String& Value) override;

private:
    struct TViewFree {
        void operator()(TStringGridStrings* View) const { TObject::Free(View); }
    };
    using TView = std::unique_ptr<TStringGridStrings, TViewFree>;

    TGridCellStore FStore;
    std::unordered_map<int, TView> FRowViews;
    std::unordered_map<int, TView> FColViews;
    int FEditUpdate = 0;
};

// ---------------------------------------------------------------------------------------------
// TInplaceEdit: the editor the grid shows over its current cell, a child window of the grid.
// It loads the cell's text, mask and length limit from the grid, follows the cell when the grid
// scrolls or sizes, hands the keys it does not use for editing to the grid (Up, Down, Page Up,
// Page Down, Esc, Tab, Insert; Left, Right, Home and End at the ends of the text with
// goAlwaysShowEditor; every character to the grid's KeyPress first) and writes its text back
// when the grid closes it or when the focus leaves the grid.

class TInplaceEdit : public TCustomMaskEdit {
public:
    explicit TInplaceEdit(TComponent* AOwner);

    TCustomGrid* Grid() const { return FGrid; }
    void SetGrid(TCustomGrid* Value) { FGrid = Value; }

    // Loads text, mask and limit of the grid's current cell and selects the whole text.
    virtual void UpdateContents();
    // Places the editor on Loc and shows it (taking the focus when the grid has it); an empty
    // Loc hides it.
    void Move(const TRect& Loc);
    // The same without taking the focus (the cell moved under the editor).
    void UpdateLoc(const TRect& Loc);
    bool PosEqual(const TRect& Loc) const { return BoundsRect() == Loc; }
    // Hides the editor, giving the focus back to the grid when the editor had it.
    void HideEditor();
    // The caret to the end of the text, nothing selected.
    void Deselect();

    void Dispatch(TMessage& Message) override;

protected:
    LRESULT DialogCode() const override;
    void KeyDown(Word& Key, TShiftState Shift) override;
    void KeyPress(Char& Key) override;
    void KeyUp(Word& Key, TShiftState Shift) override;
    void WMKillFocus(TWMKillFocus& Message);

private:
    void InternalMove(const TRect& Loc, bool Focus);

    TCustomGrid* FGrid = nullptr;
};
