// The multi-column drop-down: a drop-down edit whose popup lists items in several columns under a
// header row. Each item holds one text per column and an image index; the lookup column gives
// the edit its text. Typing in the edit completes the text from the lookup column, typing in the
// open list searches it, and the arrow and page keys step through the items with the popup
// closed. The popup list, TAdvColGrid, is a string grid that paints the items straight from the
// drop-down's item collection and keeps no copy of their texts.
//
// The grid drop-down unit declares classes of the same names (its own column grid, columns and
// items), so each unit keeps its names in a namespace of its own; the unique class names are
// also made visible outside it.
#pragma once

#include "AdvDropDown.h"
#include "Grids.h"

#include <algorithm>
#include <functional>
#include <vector>

class TCustomImageList;

namespace AdvMultiColumnDropDown {

enum TColumnType { ctText, ctImage };

class TAdvMultiColumnDropDown;

// Row numbers of these events are popup rows: row 0 is the header, row r >= 1 shows item r - 1.
using TDrawCellEvent = TEvent<TObject*, int /*Column*/, int /*Row*/, TCanvas* /*ACanvas*/, TRect /*ARect*/>;
using TGetCellTextEvent = TEvent<TObject*, int /*Column*/, int /*Row*/, String& /*Text*/>;
using TGetCellPropEvent =
    TEvent<TObject*, int /*Column*/, int /*Row*/, TFont* /*Font*/, TColor& /*AColor*/, TColor& /*AColorTo*/>;

// One column of the popup list.
class TDropDownColumn : public TCollectionItem {
public:
    explicit TDropDownColumn(TCollection* Collection);
    ~TDropDownColumn() override;

    // From another column: all nine values, the font by value.
    void Assign(TPersistent* Source) override;

    int Width() const { return FWidth; }
    void SetWidth(int Value) { FWidth = Value; }
    TColor Color() const { return FColor; }
    void SetColor(TColor Value) { FColor = Value; }
    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment Value) { FAlignment = Value; }
    bool Ellipsis() const { return FEllipsis; }
    void SetEllipsis(bool Value) { FEllipsis = Value; }
    TFont* Font() const { return FFont; }
    void SetFont(TFont* Value) { FFont->Assign(Value); }
    TColumnType ColumnType() const { return FColumnType; }
    void SetColumnType(TColumnType Value) { FColumnType = Value; }
    String Header() const { return FHeader; }
    void SetHeader(const String& Value) { FHeader = Value; }
    bool Wordwrap() const { return FWordwrap; }
    void SetWordwrap(bool Value) { FWordwrap = Value; }
    bool AutoSize() const { return FAutoSize; }
    void SetAutoSize(bool Value) { FAutoSize = Value; }

private:
    bool FWordwrap = false;
    int FWidth = 80;
    bool FAutoSize = false;
    String FHeader;
    TAlignment FAlignment = taLeftJustify;
    TColor FColor = TColor(0xFFFFFF);
    TColumnType FColumnType = ctText;
    TFont* FFont;
    bool FEllipsis = false;
};

class TDropDownColumns : public TCollection {
public:
    explicit TDropDownColumns(TPersistent* AOwner);

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

// One row of the popup list: text i is the item's text in column i (an item may hold fewer
// texts than there are columns).
class TDropDownItem : public TCollectionItem {
public:
    explicit TDropDownItem(TCollection* Collection);
    ~TDropDownItem() override;

    void Assign(TPersistent* Source) override;

    int ImageIndex() const { return FImageIndex; }
    void SetImageIndex(int Value) { FImageIndex = Value; }
    TStringList* Text() const { return FText; }
    void SetText(TStrings* Value) { FText->Assign(Value); }
    // The text of a column, empty where the item has none.
    String TextAt(int Column) const;
    bool HasText(int Column) const { return Column >= 0 && Column < FText->Count(); }

private:
    int FImageIndex = -1;
    TStringList* FText;
};

class TDropDownItems : public TCollection {
public:
    explicit TDropDownItems(TPersistent* AOwner);

    TDropDownItem* Add() { return static_cast<TDropDownItem*>(TCollection::Add()); }
    TDropDownItem* Insert(int Index) { return static_cast<TDropDownItem*>(TCollection::Insert(Index)); }
    TDropDownItem* Items(int Index) const { return static_cast<TDropDownItem*>(TCollection::Items(Index)); }
    void SetItem(int Index, TDropDownItem* Value) { TCollection::SetItems(Index, Value); }
    // The first item whose text at Column equals Value exactly (case-sensitive); items without a
    // text there are skipped. -1 when none.
    int IndexInColumn(int Column, const String& Value) const;

    // Nothing fires it.
    TNotifyEvent OnChange;

protected:
    TPersistent* GetOwner() override { return FMyOwner; }

private:
    TPersistent* FMyOwner;
};

// ---- Rules the grid drop-down shares (its columns and items derive from these classes) ----

// The width an item needs in column Index: the image's width + 4 in an image column where the
// item has an image and a text entry, plus the text's one-line width + 6 when it has a text.
int ItemCellWidth(const TDropDownColumn* Column, const TDropDownItem* Item, int Index,
                  TCustomImageList* Images, TCanvas* Canvas);
// The height an item's word-wrapped cells need, at least 24 (ColumnWidth(c): the width of
// column c as shown). Canvas takes each column's font.
int WrappedRowHeight(const TCollection* Columns, const TDropDownItem* Item, TCustomImageList* Images,
                     TCanvas* Canvas, const std::function<int(int)>& ColumnWidth);
bool AnyWordwrap(const TCollection* Columns);

// The completion of the text before the caret from a lookup list: the first entry that starts
// with it (upper-cased unless MatchCase).
struct TCompletion {
    int Index = -1; // the entry; -1 none
    String Text;    // the typed characters followed by the rest of the entry (255 at most)
    int TypedLength = 0;
};
TCompletion CompleteFromList(const TStringList* Lookup, const String& Text, int Caret, bool MatchCase);

// The stepping table of the closed control: the new index (-1 stays for no items).
enum TStep { stFirst, stLast, stNext, stPrevious, stNextPage, stPreviousPage };
int SteppedIndex(int Current, int Count, TStep Step);

// Widths scaled by Avail / (1 + their sum), the rounding error carried (halves to even).
std::vector<int> FittedWidths(const std::vector<int>& Widths, int Avail);

// The first item whose text at Column starts with Value (upper-cased unless CaseSensitive);
// an empty Value or an item without a text there matches nothing. -1 when none.
int FindItemByPrefix(const TCollection* Items, int Column, const String& Value, bool CaseSensitive,
                     String& MatchText);

// The colours a component style gives the list's header, lines and selection (the header font's
// colour clNone: kept; SelectionColor only for scCustom). False for tsCustom.
struct TListStyle {
    TColor Header, HeaderTo, FontColor;
    TSelectionColorStyle Selection;
    TColor SelectionColor;
    TColor Line, FixedLine;
    TColor SelectionText;
};
bool ListStyleOf(TKitStyle Style, TListStyle& Result);
// The line colours of a selection colour style; false for a style without its own.
bool ListLineColorsOf(TSelectionColorStyle Style, TColor& Line, TColor& FixedLine);

// What the two popup lists share, over the grid each descends from (the platform string grid,
// the grid control): the owning drop-down, a copy of its columns, the header and line settings
// taken at each opening, the sizing of columns and rows from the items, the width the list
// needs, and the marks of how the current row was reached (a key or click confirms it, the mouse
// wheel does not). TColumns is the unit's column collection, TDropDown its drop-down (with
// Items()).
template <class TGrid, class TColumns, class TDropDown> class TColumnList : public TGrid {
public:
    explicit TColumnList(TComponent* AOwner)
        : TGrid(AOwner), FColumns(new TColumns(this)), FHeaderFont(new TFont) {
        this->SetFixedRows(1);
        this->SetFixedCols(0);
        // The platform grid keeps its first scrolling column when the fixed columns go: show
        // the first column.
        this->SetLeftCol(0);
        TGridOptions options = this->Options();
        options.insert(goHorzLine);
        options.insert(goRowSelect);
        options.erase(goRangeSelect);
        this->SetOptions(options);
        this->SetParentCtl3D(false);
        this->SetCtl3D(false);
        this->SetBorderStyle(bsNone);
        FOldRow = this->Row();
    }
    ~TColumnList() override {
        delete FColumns;
        delete FHeaderFont;
        delete FMeasure;
    }

    void SetDropDown(TDropDown* DropDown) { FAdvDropDown = DropDown; }
    TDropDown* DropDown() const { return FAdvDropDown; }

    // The width the columns need: their sum, plus a vertical scroll bar unless all rows show.
    int GetAutoWidth() const {
        int width = 0;
        for (int i = 0; i < this->ColCount(); ++i) width += this->ColWidths(i);
        if (this->VisibleRowCount() + this->FixedRows() != this->RowCount())
            width += GetSystemMetrics(SM_CXVSCROLL);
        return width;
    }
    // A column with AutoSize gets the width of its widest item (image + 4, text + 6), in the
    // copied column and in the grid.
    void AutoSizeColumn(int Index) {
        if (Index < 0 || Index >= this->ColCount() || Index >= FColumns->Count() || !OnPopupForm() ||
            !FAdvDropDown)
            return;
        auto* column = FColumns->Items(Index);
        if (!column->AutoSize()) return;
        int widest = 0;
        for (int r = 1; r < this->RowCount(); ++r)
            if (const TDropDownItem* item = ItemOfRow(r))
                widest = std::max(widest, ItemCellWidth(column, item, Index, FImages, MeasureCanvas()));
        column->SetWidth(widest);
        this->SetColWidths(Index, widest);
    }
    void AutoSizeItemColumns() {
        for (int i = 0; i < FColumns->Count(); ++i)
            if (FColumns->Items(i)->AutoSize()) AutoSizeColumn(i);
    }
    // With word-wrapped columns every data row gets the height its texts need, at least 24; a
    // row without an item keeps the minimum.
    void UpdateWordWrapHeights() {
        if (!AnyWordwrap(FColumns) || !OnPopupForm()) return;
        auto width = [this](int c) {
            return c < this->ColCount() ? this->ColWidths(c) : FColumns->Items(c)->Width();
        };
        for (int r = this->FixedRows(); r < this->RowCount(); ++r)
            this->SetRowHeights(r, WrappedRowHeight(FColumns, ItemOfRow(r), FImages, MeasureCanvas(), width));
    }
    virtual void DoSelect() {
        if (Assigned(OnSelect)) OnSelect(this);
    }

    TColumns* Columns() const { return FColumns; }
    void SetColumns(TColumns* Value) { FColumns->Assign(Value); }
    TColor LineColor() const { return FLineColor; }
    void SetLineColor(TColor Value) { FLineColor = Value; }
    TColor FixedLineColor() const { return FFixedLineColor; }
    void SetFixedLineColor(TColor Value) { FFixedLineColor = Value; }
    TColor HeaderColor() const { return FHeaderColor; }
    void SetHeaderColor(TColor Value) { FHeaderColor = Value; }
    TColor HeaderColorTo() const { return FHeaderColorTo; }
    void SetHeaderColorTo(TColor Value) { FHeaderColorTo = Value; }
    int HeaderHeight() const { return FHeaderHeight; }
    void SetHeaderHeight(int Value) { FHeaderHeight = Value; }
    TFont* HeaderFont() const { return FHeaderFont; }
    void SetHeaderFont(TFont* Value) { FHeaderFont->Assign(Value); }
    // The width of the lines the list draws itself; the grid's own line width becomes 0 (this
    // hides the grid's line width on purpose).
    int GridLineWidth() const { return FGridLineWidth; }
    void SetGridLineWidth(int Value) {
        FGridLineWidth = Value;
        TGrid::SetGridLineWidth(0);
        this->Invalidate();
    }
    TCustomImageList* Images() const { return FImages; }
    void SetImages(TCustomImageList* Value) { FImages = Value; }
    // Reached by a key or a click (true) or by the mouse wheel (false).
    bool ConfirmSelection() const { return FConfirmSelection; }
    void SetConfirmSelection(bool Value) { FConfirmSelection = Value; }
    bool MouseWheelSelection() const { return FMouseWheelSelection; }

    // Published for the form streams; never fired (the drop-down's events paint).
    TGetCellTextEvent OnGetCellText;
    TDrawCellEvent OnDrawCell;
    TGetCellPropEvent OnGetCellProp;
    TNotifyEvent OnSelect;

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override {
        TGrid::Notification(AComponent, Operation);
        if (Operation == opRemove && !this->HasState(csDestroying) && AComponent == FImages)
            FImages = nullptr;
    }
    bool SelectCell(int ACol, int ARow) override { return TGrid::SelectCell(ACol, ARow); }
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override {
        FConfirmSelection = true;
        FOldRow = this->Row();
        TGrid::MouseDown(Button, Shift, X, Y);
    }
    bool DoMouseWheelDown(TShiftState Shift, TPoint MousePos) override {
        return Wheel([&] { return TGrid::DoMouseWheelDown(Shift, MousePos); });
    }
    bool DoMouseWheelUp(TShiftState Shift, TPoint MousePos) override {
        return Wheel([&] { return TGrid::DoMouseWheelUp(Shift, MousePos); });
    }
    // Alt+Up and Alt+Down go to the drop-down's edit (opening or closing the popup): true then.
    bool AltArrowToDropDown(Word Key, TShiftState Shift) {
        if ((Key != VK_UP && Key != VK_DOWN) || !Shift.count(ssAlt)) return false;
        if (FAdvDropDown) FAdvDropDown->Perform(WM_KEYDOWN, Key, 0);
        return true;
    }
    // Copies the drop-down's header and line settings and its image list.
    void TakeLooks(TDropDown* DropDown) {
        FLineColor = DropDown->LineColor();
        FFixedLineColor = DropDown->FixedLineColor();
        FHeaderColor = DropDown->HeaderColor();
        FHeaderColorTo = DropDown->HeaderColorTo();
        FHeaderHeight = DropDown->HeaderHeight();
        FHeaderFont->Assign(DropDown->HeaderFont());
        FImages = DropDown->Images();
    }
    // Item r - 1 of the drop-down for data row r; nullptr where there is none.
    const TDropDownItem* ItemOfRow(int ARow) const {
        if (!FAdvDropDown || ARow < 1 || ARow - 1 >= FAdvDropDown->Items()->Count()) return nullptr;
        return FAdvDropDown->Items()->Items(ARow - 1);
    }
    bool OnPopupForm() const { return dynamic_cast<TDropDownForm*>(this->Parent()) != nullptr; }
    // Text is measured as the popup form would: the same fonts at the same 96 dpi.
    TCanvas* MeasureCanvas() {
        if (!FMeasure) FMeasure = new TBitmap(1, 1);
        return FMeasure->Canvas();
    }

    TDropDown* FAdvDropDown = nullptr;
    TColumns* FColumns;
    TColor FHeaderColor = TColor(0xFFFFFF);
    TColor FHeaderColorTo = TColor(0x808080);
    TColor FLineColor = TColor(0x808080);
    TCustomImageList* FImages = nullptr;
    int FHeaderHeight = 25;
    TFont* FHeaderFont;
    TColor FFixedLineColor = clGray;
    int FGridLineWidth = 1;
    int FOldRow = 0;
    bool FMouseWheelSelection = false;
    bool FConfirmSelection = false;

private:
    template <class F> bool Wheel(F&& Scroll) {
        FMouseWheelSelection = true;
        FConfirmSelection = false;
        const bool result = Scroll();
        FMouseWheelSelection = false;
        return result;
    }

    TBitmap* FMeasure = nullptr;
};

// The popup list: data row r shows item r - 1 of the drop-down, column c its text c. It paints
// every cell itself and turns a key or a click into a confirmed choice (DoSelect).
class TAdvColGrid : public TColumnList<TStringGrid, TDropDownColumns, TAdvMultiColumnDropDown> {
public:
    explicit TAdvColGrid(TComponent* AOwner);

    // Takes columns, rows, sizes and looks from the drop-down (before each opening).
    void LoadFromDropDown(TAdvMultiColumnDropDown* DropDown);
    // The cell's top-left corner with the column's full width and the row's full height.
    TRect GetFullCellRect(int ACol, int ARow) const;

    void Dispatch(TMessage& Message) override;

    // Open for the drop-down, which moves the current row through them.
    using TCustomGrid::MoveColRow;

protected:
    void DrawCell(int ACol, int ARow, TRect ARect, TGridDrawState AState) override;
    void KeyDown(Word& Key, TShiftState Shift) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
};

// What the multi-column and the grid drop-down share: the header and line settings handed to
// their popup lists, the lookup list and the completion of typed text from it (Change, the
// pending completion of KeyUp, Enter, Esc, Backspace and Delete in KeyDown, ReturnIsTab), the
// stepping table, the height snapping, the column fitting and the styles. Each drop-down adds its
// items, its popup list and the search typed into the open list.
class TColumnDropDown : public TAdvCustomDropDown {
public:
    explicit TColumnDropDown(TComponent* AOwner);
    ~TColumnDropDown() override;

    int ItemIndex() const { return FItemIndex; }
    virtual void SetItemIndex(int Value) = 0;

    // The stepping table, through the ItemIndex writer; nothing without entries.
    void SelectFirst() { Step(stFirst); }
    void SelectLast() { Step(stLast); }
    void SelectNext() { Step(stNext); }
    void SelectPrevious() { Step(stPrevious); }
    void SelectNextPage() { Step(stNextPage); }
    void SelectPreviousPage() { Step(stPreviousPage); }

    int LookupColumn() const { return FLookupColumn; }
    void SetLookupColumn(int Value) { FLookupColumn = Value; }
    bool CaseSensitive() const { return FCaseSensitive; }
    void SetCaseSensitive(bool Value) { FCaseSensitive = Value; }
    bool DropDownAutoWidth() const { return FDropDownAutoWidth; }
    void SetDropDownAutoWidth(bool Value) { FDropDownAutoWidth = Value; }
    int DropDownRowHeight() const { return FDropDownRowHeight; }
    void SetDropDownRowHeight(int Value) { FDropDownRowHeight = Value; }
    bool ColumnSizing() const { return FColumnSizing; }
    void SetColumnSizing(bool Value) { FColumnSizing = Value; }
    bool ColumnSizeWithDropDown() const { return FColumnSizeWithDropDown; }
    void SetColumnSizeWithDropDown(bool Value) { FColumnSizeWithDropDown = Value; }
    TColor HeaderColor() const { return FHeaderColor; }
    void SetHeaderColor(TColor Value) { FHeaderColor = Value; }
    TColor HeaderColorTo() const { return FHeaderColorTo; }
    void SetHeaderColorTo(TColor Value) { FHeaderColorTo = Value; }
    int HeaderHeight() const { return FHeaderHeight; }
    void SetHeaderHeight(int Value) { FHeaderHeight = Value; }
    TFont* HeaderFont() const { return FHeaderFont; }
    void SetHeaderFont(TFont* Value) { FHeaderFont->Assign(Value); }
    TColor LineColor() const { return FLineColor; }
    void SetLineColor(TColor Value) { FLineColor = Value; }
    TColor FixedLineColor() const { return FFixedLineColor; }
    void SetFixedLineColor(TColor Value) { FFixedLineColor = Value; }
    TColor SelectionTextColor() const { return FSelectionTextColor; }
    void SetSelectionTextColor(TColor Value) { FSelectionTextColor = Value; }
    bool ReturnIsTab() const { return FReturnIsTab; }
    void SetReturnIsTab(bool Value) { FReturnIsTab = Value; }
    bool MatchCase() const { return FMatchCase; }
    void SetMatchCase(bool Value) { FMatchCase = Value; }
    // Kept for the form streams; nothing reads it.
    bool MatchStart() const { return FMatchStart; }
    void SetMatchStart(bool Value) { FMatchStart = Value; }
    // The characters typed into the open list since the search last restarted.
    const String& LookupEntry() const { return FLookupEntry; }
    // The lookup list: one entry per item as of the last EndUpdate or Loaded.
    TStringList* LookupItems() const { return FLookupItems; }

    TNotifyEvent OnSelect;

    void SetSelectionColorStyle(TSelectionColorStyle Style) override;
    // Header, footer, the list's header row and the margin, then as many whole rows as fit.
    void AdjustDropDownHeight(int& Height) override;
    void Dispatch(TMessage& Message) override;

protected:
    // The items the completion needs (some), and the entries the stepping counts.
    virtual int ItemCount() const = 0;
    virtual int StepCount() const { return ItemCount(); }
    // The pixels of the popup besides its strips, the header row and the whole rows.
    virtual int HeightMargin() const { return 2; }
    // A typed character after the edit handled it.
    virtual void CharTyped(Char) {}

    void KeyDown(Word& Key, TShiftState Shift) override;
    void KeyUp(Word& Key, TShiftState Shift) override;
    void KeyPress(Char& Key) override;
    void Change() override;
    void MoveToNextItem() override;
    void MoveToPreviousItem() override;

    // The lookup list anew from the items' lookup texts (nothing for a negative lookup column or
    // no items: the list keeps what it held).
    void RebuildLookupItems(const TCollection* Items);
    // Backspace typed into the search: the edit's selection goes, or the search text's last
    // character (the text becoming the search text); the caret to the end.
    void LookupBackspace();
    // The component style's header, line and selection colours.
    void ApplyListStyle(TKitStyle Style);
    // The list's columns scaled to the popup's width (ColumnSizeWithDropDown).
    void FitList(TCustomGrid* List, const TCollection* Columns);
    // The popup as wide as the list's columns (DropDownAutoWidth).
    void SizeToList(TWinControl* List, int ListWidth);
    // Selects from Start to End (EM_SETSEL) now and again after a typed character's handling.
    void SelectAfterWrite(int Start, int End);

    int FLookupColumn = 0;
    TColor FHeaderColorTo = TColor(0x808080);
    TColor FHeaderColor = TColor(0xFFFFFF);
    TColor FLineColor = TColor(0xC0C0C0);
    int FItemIndex = -1;
    int FHeaderHeight = 25;
    TFont* FHeaderFont = nullptr;
    TColor FFixedLineColor = TColor(0xD1BBA4);
    bool workmode = true;
    String FLookupStr;
    String FOldValue;
    bool FColumnSizing = false;
    bool FReturnIsTab = false;
    TStringList* FLookupItems = nullptr;
    bool FMatchCase = false;
    bool FMatchStart = true;
    bool FItemChange = false;
    int FItemIdx = -1;
    int FItemSel = 0;
    int FOldItemIndex = -1;
    bool FDropDownAutoWidth = true;
    bool FColumnSizeWithDropDown = true;
    TColor FSelectionTextColor = clBlack;
    int FDropDownRowHeight = 22;
    String FLookupEntry;
    bool FCaseSensitive = false;

private:
    void Step(TStep Step);

    int FPendingSelStart = -1, FPendingSelEnd = -1;
};

class TAdvMultiColumnDropDown : public TColumnDropDown {
public:
    explicit TAdvMultiColumnDropDown(TComponent* AOwner);
    ~TAdvMultiColumnDropDown() override;

    void Assign(TPersistent* Source) override;

    // Does nothing; EndUpdate rebuilds the lookup list from the items.
    void BeginUpdate() {}
    void EndUpdate() { RebuildLookupItems(FItems); }
    // The first item whose lookup-column text equals Value exactly; -1 when none.
    int GetItemIndex(const String& Value) const;

    TDropDownColumns* Columns() const { return FColumns; }
    void SetColumns(TDropDownColumns* Value) { FColumns->Assign(Value); }
    TDropDownItems* Items() const { return FItems; }
    void SetItems(TDropDownItems* Value) { FItems->Assign(Value); }
    // A value from Items.Count on is ignored; otherwise the edit shows the item's lookup text
    // (empty for -1 or an item without one).
    void SetItemIndex(int Value) override;
    int RowCount() const { return FItems->Count(); }

    // The popup list (exists from construction on).
    TAdvColGrid* ColGrid() const { return FAdvColGrid; }

    TDrawCellEvent OnDropDownDrawItem;
    TGetCellPropEvent OnDropDownGetItemProp; // stored only
    TGetCellTextEvent OnDropDownGetItemText;

    void SetComponentStyle(TKitStyle AStyle) override;
    void Dispatch(TMessage& Message) override;

    // The list's search: the index of the first item whose lookup text starts with Value
    // (upper-cased unless CaseSensitive); an empty Value or an item without a lookup text does
    // not match.
    bool FindLookupMatch(const String& Value, String& MatchText, int& Index) const;
    // One character typed into the open list: the item found, or -1.
    int DoLookup(Char Key);
    // The columns scaled to the popup's width, the rounding error carried along.
    void FitColumnsToWidth() { FitList(FAdvColGrid, FColumns); }

protected:
    int ItemCount() const override { return FItems->Count(); }
    void Loaded() override;
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

private:
    void GridSelectCell(TObject* Sender, int ACol, int ARow, bool& CanSelect);
    void GridSelect(TObject* Sender);
    void WMKeyDown(TMessage& Message);

    bool FShowing = false;
    TDropDownItems* FItems = nullptr;
    TDropDownColumns* FColumns = nullptr;
    TAdvColGrid* FAdvColGrid = nullptr;
};

} // namespace AdvMultiColumnDropDown

using AdvMultiColumnDropDown::TAdvMultiColumnDropDown;
