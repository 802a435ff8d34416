#include "AdvGridDropDown.h"

#include "ImgList.h"

#include <algorithm>

namespace AdvGridDropDown {

using namespace AdvMultiColumnDropDown;

namespace {

constexpr int VersionNr = 0x06000101; // 6.0.1.1

bool AltDown() {
    return GetKeyState(VK_MENU) < 0;
}

bool ListKey(Word Key) {
    return Key == VK_PRIOR || Key == VK_NEXT || Key == VK_END || Key == VK_HOME || Key == VK_UP ||
           Key == VK_DOWN;
}

// The object of a cell read as the item index it carries (-1 in the header).
int ObjectIndex(quintptr Value) {
    return int(qintptr(Value));
}

} // namespace

// =============================================================================================
// TAdvColGrid: the popup grid

TAdvColGrid::TAdvColGrid(TComponent* AOwner) : TColumnList(AOwner) {
    SetFixedRowAlways(true);
}

void TAdvColGrid::FillFromItems() {
    if (!FAdvDropDown) return;
    TDropDownColumns* columns = FAdvDropDown->Columns();
    TDropDownItems* items = FAdvDropDown->Items();
    if (columns->Count() > 0 && ColCount() != columns->Count()) SetColCount(columns->Count());
    for (int c = 0; c < columns->Count(); ++c) {
        SetCellEx(c, 0, columns->Items(c)->Header());
        SetObjectEx(c, 0, quintptr(qintptr(-1)));
    }
    if (items->Count() > 0) SetRowCount(FixedRows() + items->Count());
    for (int i = 0; i < items->Count(); ++i) {
        const TDropDownItem* item = items->Items(i);
        for (int c = 0; c < columns->Count(); ++c) SetCellEx(c, i + 1, item->TextAt(c));
        // The object ties the row to its item, through any sorting of the rows.
        SetObjectEx(0, i + 1, quintptr(i));
    }
}

void TAdvColGrid::LoadFromDropDown(TCustomAdvGridDropDown* DropDown) {
    if (!DropDown) return;
    SetDropDown(DropDown);
    FColumns->Assign(DropDown->Columns());
    if (ColCount() < FColumns->Count()) SetColCount(FColumns->Count());
    if (DropDown->UseItems()) SetRowCount(DropDown->Items()->Count() + 1);
    for (int i = 0; i < ColCount() && i < FColumns->Count(); ++i)
        SetColWidths(i, FColumns->Items(i)->Width());
    TakeLooks(DropDown);
    SetHoverRow(DropDown->HoverRow());
    SetHoverRowColor(DropDown->HoverRowColor());
    SetHoverRowColorTo(DropDown->HoverRowColorTo());
    // A row height that is not positive would make rows vanish: the grid keeps its own.
    if (DropDown->DropDownRowHeight() > 0) SetDefaultRowHeight(DropDown->DropDownRowHeight());
    if (FHeaderHeight > 0) SetRowHeights(0, FHeaderHeight);
    TGridOptions options = Options();
    auto follow = [&options](TGridOption Option, bool On) {
        if (On)
            options.insert(Option);
        else
            options.erase(Option);
    };
    follow(goColSizing, DropDown->ColumnSizing());
    follow(goColMoving, DropDown->ColumnMoving());
    follow(goRowSizing, DropDown->RowSizing());
    follow(goRowMoving, DropDown->RowMoving());
    SetOptions(options);
    if (DropDown->AutoSizeColumns()) {
        if (DropDown->UseItems())
            AutoSizeItemColumns();
        else
            TAdvStringGrid::AutoSizeColumns(true, 4);
    }
    UpdateWordWrapHeights();
}

void TAdvColGrid::KeyDown(Word& Key, TShiftState Shift) {
    FConfirmSelection = true;
    if (AltArrowToDropDown(Key, Shift)) return;
    if (Key == VK_RETURN) {
        // Enter never reaches the grid's own Enter handling: no editor opens, no row advance.
        Word none = 0;
        TAdvStringGrid::KeyDown(none, Shift);
        DoSelect();
        return;
    }
    TAdvStringGrid::KeyDown(Key, Shift);
}

void TAdvColGrid::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
    TAdvStringGrid::MouseUp(Button, Shift, X, Y);
    if (Button != mbLeft) return;
    int col = -1, row = -1;
    MouseToCell(X, Y, col, row);
    if (col < 0 || row < FixedRows() || row >= RowCount()) return;
    // A click on a check box toggles it and chooses nothing.
    if (HasCheckBox(col, row)) return;
    DoSelect();
}

void TAdvColGrid::Dispatch(TMessage& Message) {
    switch (Message.Msg) {
        case WM_CHAR:
            if (Message.WParam == VK_RETURN) {
                Message.Result = 1;
                return;
            }
            break;
        case WM_KEYDOWN:
            if (Message.WParam == VK_TAB) return;
            // The grid control answers Enter on a cell it does not edit without its key-down
            // handling; the list's own handling (a choice) takes it instead.
            if (Message.WParam == VK_RETURN && !EditMode()) {
                Word key = VK_RETURN;
                KeyDown(key, GetShiftState());
                Message.Result = 1;
                return;
            }
            break;
        case WM_GETDLGCODE: Message.Result = DLGC_WANTARROWS | DLGC_WANTTAB; return;
        default: break;
    }
    TAdvStringGrid::Dispatch(Message);
}

// =============================================================================================
// TCustomAdvGridDropDown: construction

TCustomAdvGridDropDown::TCustomAdvGridDropDown(TComponent* AOwner) : TColumnDropDown(AOwner) {
    FDesignTime = HasState(csDesigning) && AOwner && !AOwner->ComponentState().count(csReading) &&
                  !AOwner->ComponentState().count(csLoading);
    FColumnSizing = FColumnMoving = FRowSizing = FRowMoving = false;
    FLookupColumn = 0;
    FHeaderColorTo = TColor(0x808080);
    FHeaderColor = TColor(0xFFFFFF);
    FHeaderHeight = 25;
    FLineColor = TColor(0xC0C0C0);
    FRowSelect = true;
    FLookupMethod = lmLookup;
    FItems = CreateItems(this);
    FColumns = new TDropDownColumns(this);
    SetDropDownColor(TColor(0xFFFFFF));
    SetDropDownHeight(200);
    FItemIndex = -1;
    FUseItems = true;
    FOldItemIndex = -1;
    workmode = true;
    AutoSelect = true;
    SetSelectionColorStyle(scOffice2007);
    FSearchFooter = new TSearchFooter(this, FDesignTime);
    FBands = new TBands();
    FNavigation = new TNavigation();
    FMouseActions = new TMouseActions(this);
    FNavigation->HomeEndKey = heFirstLastRow;
    if (FDesignTime) {
        FColumns->Clear();
        for (int i = 0; i < 3; ++i) FColumns->Add();
    }
    // The base made the popup form before this control's slots existed: make the grid now.
    CreateDropDownForm();
}

TCustomAdvGridDropDown::~TCustomAdvGridDropDown() {
    if (FAdvColGrid) {
        TAdvColGrid* grid = FAdvColGrid;
        FAdvColGrid = nullptr;
        grid->SetDropDown(nullptr);
        delete grid;
    }
    delete FItems;
    FItems = nullptr;
    delete FBands;
    delete FColumns;
    FColumns = nullptr;
    delete FSearchFooter;
    delete FNavigation;
    delete FMouseActions;
}

TDropDownItems* TCustomAdvGridDropDown::CreateItems(TComponent* AOwner) {
    return new TDropDownItems(AOwner);
}

int TCustomAdvGridDropDown::GetVersionNr() const {
    return VersionNr;
}

void TCustomAdvGridDropDown::SetStyle(TDropDownStyle Value) {
    FStyle = Value;
    SetEditorEnabled(Value == dsDropDown);
}

void TCustomAdvGridDropDown::SetGridImages(TCustomImageList* Value) {
    FGridImages = Value;
    if (FAdvColGrid) FAdvColGrid->SetGridImages(Value);
}

void TCustomAdvGridDropDown::Loaded() {
    TAdvCustomDropDown::Loaded();
    RebuildLookupItems(FItems);
    if (FAdvColGrid) FAdvColGrid->FillFromItems();
}

void TCustomAdvGridDropDown::Notification(TComponent* AComponent, TOperation Operation) {
    TAdvCustomDropDown::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == FGridImages && FGridImages) {
        FGridImages = nullptr;
        if (FAdvColGrid) FAdvColGrid->SetGridImages(nullptr);
    }
}

void TCustomAdvGridDropDown::DoEnter() {
    TAdvCustomDropDown::DoEnter();
    if (FAdvColGrid) FAdvColGrid->RemoveAllFilters();
    FLookupEntry = String();
}

// =============================================================================================
// Items, rows and the lookup list

int TCustomAdvGridDropDown::GetItemCount() const {
    if (FUseItems) return FItems->Count();
    return FAdvColGrid ? FAdvColGrid->RowCount() - FAdvColGrid->FixedRows() : 0;
}

String TCustomAdvGridDropDown::LookupCell(int Row) const {
    if (!FAdvColGrid || FLookupColumn < 0 || Row < 0) return String();
    return FAdvColGrid->Cells(FLookupColumn, Row);
}

void TCustomAdvGridDropDown::SetItemIndex(int Value) {
    if (FUseItems) {
        if (Value >= FItems->Count()) return;
        FItemIndex = Value;
        if (Value >= 0 && FLookupColumn >= 0 && FItems->Items(Value)->HasText(FLookupColumn))
            SetText(FItems->Items(Value)->TextAt(FLookupColumn));
        else
            SetText(String());
        return;
    }
    if (!FAdvColGrid) {
        FItemIndex = Value;
        return;
    }
    if (Value == FItemIndex || Value >= FAdvColGrid->RowCount()) return;
    FItemIndex = Value;
    // The row after the single header row.
    SetText(Value < 0 ? String() : LookupCell(Value + 1));
}

int TCustomAdvGridDropDown::RowToItem(int Row) const {
    if (!FAdvColGrid || Row < 0 || Row >= FAdvColGrid->RowCount()) return Row;
    return ObjectIndex(FAdvColGrid->GetObjectEx(0, Row));
}

int TCustomAdvGridDropDown::ItemToRow(int Index) const {
    if (!FAdvColGrid || Index < 0) return FItemIndex;
    for (int r = FAdvColGrid->FixedRows(); r < FAdvColGrid->RowCount(); ++r)
        if (ObjectIndex(FAdvColGrid->GetObjectEx(0, r)) == Index) return r;
    return FItemIndex;
}

bool TCustomAdvGridDropDown::FindLookupMatch(const String& Value, String& MatchText, int& Index) const {
    Index = -1;
    MatchText = String();
    if (FUseItems) {
        Index = FindItemByPrefix(FItems, FLookupColumn, Value, FCaseSensitive, MatchText);
        return Index >= 0;
    }
    const String value = FCaseSensitive ? Value : Value.toUpper();
    if (!FAdvColGrid || value.isEmpty() || FLookupColumn < 0) return false;
    for (int r = FAdvColGrid->FixedRows(); r < FAdvColGrid->RowCount(); ++r) {
        const String text = LookupCell(r);
        if ((FCaseSensitive ? text : text.toUpper()).startsWith(value)) {
            Index = r;
            MatchText = text;
            return true;
        }
    }
    return false;
}

// =============================================================================================
// Completion in the edit (the multi-column drop-down's rules)

bool TCustomAdvGridDropDown::GridEditing() const {
    return FAdvColGrid && FAdvColGrid->HasOption(goEditing) &&
           (FAdvColGrid->EditMode() || FAdvColGrid->EditorMode());
}

void TCustomAdvGridDropDown::KeyDown(Word& Key, TShiftState Shift) {
    if (GridEditing() && Key == VK_RETURN && !Shift.count(ssShift)) {
        // Enter commits the cell being edited; the popup stays open.
        FAdvColGrid->HideInplaceEdit();
        SetText(LookupCell(FAdvColGrid->Row()));
        FItemIndex = FAdvColGrid->Row() - FAdvColGrid->FixedRows();
        Key = 0;
        return;
    }
    switch (Key) {
        case VK_ESCAPE:
        case VK_PRIOR:
        case VK_NEXT:
        case VK_END:
        case VK_HOME:
        case VK_LEFT:
        case VK_UP:
        case VK_RIGHT:
        case VK_DOWN: FLookupEntry = String(); break;
        default: break;
    }
    TColumnDropDown::KeyDown(Key, Shift);
}

void TCustomAdvGridDropDown::KeyUp(Word& Key, TShiftState Shift) {
    const Word key = Key;
    TColumnDropDown::KeyUp(Key, Shift);
    if (GridEditing() && key == VK_RETURN && !Shift.count(ssShift)) {
        if (FAdvColGrid->Col() == FLookupColumn)
            HideDropDown(false);
        else
            FAdvColGrid->HideInplaceEdit();
    }
}

// =============================================================================================
// The typed search

void TCustomAdvGridDropDown::NarrowGrid(const String& S) {
    if (FAdvColGrid) FAdvColGrid->NarrowDown(S, LookupColumn());
}

int TCustomAdvGridDropDown::DoLookup(Char Key) {
    if (FLookupMethod == lmNone) return -1;
    if (Key == Char(VK_BACK)) {
        LookupBackspace();
        return -1;
    }
    if (Key != Char(VK_TAB)) FLookupEntry += Key;
    const String s = FLookupEntry.trimmed();
    if (FLookupMethod == lmNarrowDown) {
        if (!FAdvColGrid) return -1;
        if (s.isEmpty()) {
            FAdvColGrid->RemoveAllFilters();
        } else {
            FAdvColGrid->SetFixedRowAlways(true);
            NarrowGrid(s);
            const int first = FAdvColGrid->FixedRows();
            if (FStyle == dsDropDown && first < FAdvColGrid->RowCount()) {
                const String text = LookupCell(first);
                SetText(text);
                SetSelStart(int(FLookupEntry.length()));
                SetSelLength(std::max(0, int(text.length()) - int(FLookupEntry.length())));
            }
        }
        return FAdvColGrid->FixedRows();
    }
    String match;
    int index = -1;
    if (FindLookupMatch(s, match, index)) {
        FItemIndex = index;
        SetText(match);
        if (FStyle == dsDropDown) {
            SetSelStart(int(FLookupEntry.length()));
            SetSelLength(std::max(0, int(match.length()) - int(FLookupEntry.length())));
        }
        return index;
    }
    if (FStyle == dsDropDown) return -1; // the search text goes on growing
    if (FindLookupMatch(String(Key), match, index)) {
        FItemIndex = index;
        SetText(match);
        FLookupEntry = String(Key);
        return index;
    }
    FLookupEntry = String();
    return -1;
}

void TCustomAdvGridDropDown::CharTyped(Char Key) {
    DoLookup(Key);
    if (FAutoShowDropDown && !DroppedDown()) ShowDropDown();
}

void TCustomAdvGridDropDown::WMKeyDown(TMessage& Message) {
    const Word key = Word(Message.WParam);
    if (key == VK_RETURN && FAdvColGrid) FAdvColGrid->SetConfirmSelection(true);
    TColumnDropDown::Dispatch(Message);
    if (!Enabled() || AltDown()) return;
    const bool shift = GetKeyState(VK_SHIFT) < 0;
    switch (key) {
        case VK_PRIOR:
            FLookupEntry = String();
            SelectPreviousPage();
            break;
        case VK_NEXT:
            FLookupEntry = String();
            SelectNextPage();
            break;
        case VK_UP:
            FLookupEntry = String();
            SelectPrevious();
            break;
        case VK_DOWN:
            FLookupEntry = String();
            SelectNext();
            break;
        case VK_END:
        case VK_HOME:
            FLookupEntry = String();
            if (!shift && FStyle == dsDropDownList) {
                if (key == VK_END)
                    SelectLast();
                else
                    SelectFirst();
            }
            break;
        default: break;
    }
}

void TCustomAdvGridDropDown::Dispatch(TMessage& Message) {
    if (Message.Msg == WM_KEYDOWN) {
        WMKeyDown(Message);
        return;
    }
    TColumnDropDown::Dispatch(Message);
}

// =============================================================================================
// Keys of the open popup

void TCustomAdvGridDropDown::DropDownControlKeyDown(TObject* Sender, Word& Key, TShiftState Shift) {
    if (!(ListKey(Key) && !AltDown())) TAdvCustomDropDown::DropDownControlKeyDown(Sender, Key, Shift);
    if (Assigned(OnGridKeyDown)) OnGridKeyDown(this, Key, Shift);
}

void TCustomAdvGridDropDown::DropDownControlKeyUp(TObject* Sender, Word& Key, TShiftState Shift) {
    if (ListKey(Key) && !AltDown())
        FLookupEntry = String();
    else
        TAdvCustomDropDown::DropDownControlKeyUp(Sender, Key, Shift);
    if (Assigned(OnGridKeyUp)) OnGridKeyUp(this, Key, Shift);
}

void TCustomAdvGridDropDown::DropDownControlKeyPress(TObject*, Char& Key) {
    if (!FAdvColGrid) return;
    const bool alt = AltDown();
    if (((Key == Char(VK_RETURN) || Key == Char(VK_ESCAPE)) && !alt) || FAdvColGrid->HasOption(goEditing)) {
        FLookupEntry = String();
    } else {
        int r = DoLookup(Key);
        if (r >= 0 && FUseItems && FLookupMethod == lmLookup) r += FAdvColGrid->FixedRows();
        if (r < FAdvColGrid->FixedRows() || r >= FAdvColGrid->RowCount()) {
            FLookupEntry = String();
        } else {
            if (FAdvColGrid->RowCount() - FAdvColGrid->FixedRows() > FAdvColGrid->VisibleRowCount())
                FAdvColGrid->SetTopRow(r);
            FAdvColGrid->SetRow(r);
            FAdvColGrid->SetCol(0);
            FAdvColGrid->Invalidate();
        }
    }
    if (Assigned(OnGridKeyPress)) OnGridKeyPress(this, Key);
}

// =============================================================================================
// Opening

void TCustomAdvGridDropDown::CreateDropDownForm() {
    TAdvCustomDropDown::CreateDropDownForm();
    if (!DropDownForm()) return;
    if (!FAdvColGrid) {
        FAdvColGrid = new TAdvColGrid(this);
        FAdvColGrid->SetParent(DropDownForm());
    }
    FAdvColGrid->SetDropDown(this);
    FAdvColGrid->SetBounds(0, 0, FAdvColGrid->Width(), 180);
    FAdvColGrid->SetColor(DropDownColor());
    FAdvColGrid->SetDoubleBuffered(true);
    FAdvColGrid->Navigation()->HomeEndKey = heFirstLastRow;
}

void TCustomAdvGridDropDown::AttachDropDownControl() {
    SetControl(FAdvColGrid);
    TAdvCustomDropDown::AttachDropDownControl();
}

template <class F> void TCustomAdvGridDropDown::Blocked(F&& Call) {
    if (DropDownForm()) DropDownForm()->SetBlockActivate(true);
    try {
        Call();
    } catch (...) {
        if (DropDownForm()) DropDownForm()->SetBlockActivate(false);
        throw;
    }
    if (DropDownForm()) DropDownForm()->SetBlockActivate(false);
}

void TCustomAdvGridDropDown::WireGridEvents() {
    TAdvColGrid* grid = FAdvColGrid;
    grid->OnStartBlockFocus = [](TObject*) {};
    grid->OnEndBlockFocus = [this](TObject*) {
        if (DropDownForm()) DropDownForm()->SetBlockActivate(false);
    };
    grid->OnSelectCell = nullptr;
    grid->OnSelect = [this](TObject* Sender) { GridSelect(Sender); };
#define VELMORA_WIRE_GRID_EVENT(Name, GridEvent)                                                             \
    grid->GridEvent = [this](auto&&... Args) {                                                               \
        if (Assigned(OnGrid##Name)) OnGrid##Name(std::forward<decltype(Args)>(Args)...);                     \
    };
    VELMORA_GRID_DROPDOWN_EVENTS(VELMORA_WIRE_GRID_EVENT)
#undef VELMORA_WIRE_GRID_EVENT
    grid->OnAnchorClick = [this](TObject* Sender, int ARow, int ACol, const String& Anchor,
                                 bool& AutoHandle) {
        if (Assigned(OnGridAnchorClick))
            Blocked([&] { OnGridAnchorClick(Sender, ARow, ACol, Anchor, AutoHandle); });
    };
    grid->OnButtonClick = [this](TObject* Sender, int ACol, int ARow) {
        if (Assigned(OnGridButtonClick)) Blocked([&] { OnGridButtonClick(Sender, ACol, ARow); });
    };
    grid->OnEllipsClick = [this](TObject* Sender, int ACol, int ARow, String& S) {
        if (Assigned(OnGridEllipsClick)) Blocked([&] { OnGridEllipsClick(Sender, ACol, ARow, S); });
    };
    grid->OnCheckBoxClick = [this](TObject* Sender, int ACol, int ARow, bool State) {
        if (Assigned(OnGridCheckBoxClick)) OnGridCheckBoxClick(Sender, ACol, ARow, State);
    };
    grid->OnAutoInsertRow = [this](auto&&... Args) {
        if (Assigned(OnGridInsertRow)) OnGridInsertRow(std::forward<decltype(Args)>(Args)...);
    };
    grid->OnAutoInsertCol = [this](auto&&... Args) {
        if (Assigned(OnGridInsertCol)) OnGridInsertCol(std::forward<decltype(Args)>(Args)...);
    };
    grid->OnAutoDeleteRow = [this](auto&&... Args) {
        if (Assigned(OnGridDeleteRow)) OnGridDeleteRow(std::forward<decltype(Args)>(Args)...);
    };
    grid->OnGetDisplText = [this](auto&&... Args) {
        if (Assigned(OnGridGetDiplText)) OnGridGetDiplText(std::forward<decltype(Args)>(Args)...);
    };
    grid->OnTopLeftChanged = [this](TObject*) {
        if (Assigned(OnGridTopLeftChanged)) OnGridTopLeftChanged(this);
    };
    grid->OnGetAlignment = [this](TObject* Sender, int ARow, int ACol, TAlignment& HAlign,
                                  TVAlignment& VAlign) {
        if (ACol >= 0 && ACol < FColumns->Count()) HAlign = FColumns->Items(ACol)->Alignment();
        if (Assigned(OnGridGetAlignment)) OnGridGetAlignment(Sender, ARow, ACol, HAlign, VAlign);
    };
    grid->OnGetCellColor = [this](TObject* Sender, int ARow, int ACol, TGridDrawState AState, TBrush* ABrush,
                                  TFont* AFont) {
        if (ACol >= 0 && ACol < FColumns->Count() && ABrush) ABrush->SetColor(FColumns->Items(ACol)->Color());
        if (Assigned(OnGridGetCellColor)) OnGridGetCellColor(Sender, ARow, ACol, AState, ABrush, AFont);
    };
    grid->OnGetFloatFormat = [this](TObject* Sender, int ACol, int ARow, bool& IsFloat, String& FloatFormat) {
        FloatFormat = String();
        if (Assigned(OnGridGetFloatFormat)) OnGridGetFloatFormat(Sender, ACol, ARow, IsFloat, FloatFormat);
    };
    grid->OnMouseMove = [this](TObject* Sender, TShiftState Shift, int X, int Y) {
        // The first move after opening re-arms the grid's balloons.
        if (!FBalloonInit && FAdvColGrid) {
            FBalloonInit = true;
            if (FAdvColGrid->Balloon()->Enable()) {
                FAdvColGrid->Balloon()->SetEnable(false);
                FAdvColGrid->Balloon()->SetEnable(true);
            }
        }
        if (Assigned(OnGridMouseMove)) OnGridMouseMove(Sender, Shift, X, Y);
    };
    grid->OnKeyUp = nullptr; // the base's key routing takes it over at showing
    grid->OnCustomCellDraw = nullptr;
    grid->OnCustomCellBkgDraw = nullptr;
    if (Assigned(OnGridCustomCellDraw)) grid->OnCustomCellDraw = OnGridCustomCellDraw;
    if (Assigned(OnGridCustomCellBkgDraw)) grid->OnCustomCellBkgDraw = OnGridCustomCellBkgDraw;
}

void TCustomAdvGridDropDown::DoBeforeDropDown() {
    if (!FAdvColGrid) {
        TAdvCustomDropDown::DoBeforeDropDown();
        return;
    }
    TAdvColGrid* grid = FAdvColGrid;
    if (DropDownForm()) DropDownForm()->SetCancelOnDeActivate(false);
    grid->LoadFromDropDown(this);
    grid->SetColor(DropDownColor());
    grid->SortSettings()->SetShow(false);
    grid->SortSettings()->SetIndexShow(false);
    if (FSorting == gsSingleColumn) grid->SortSettings()->SetShow(true);
    if (FSorting == gsMultiColumn) {
        grid->SortSettings()->SetShow(true);
        grid->SortSettings()->SetIndexShow(true);
    }
    FBalloonInit = false;
    grid->SetGridImages(Images());
    WireGridEvents();
    grid->SetSearchFooter(FSearchFooter);
    grid->SetMouseActions(FMouseActions);
    grid->SetNavigation(FNavigation);
    grid->SetBands(FBands);
    TGridOptions options = grid->Options();
    options.insert(goThumbTracking);
    if (FRowSelect)
        options.insert(goRowSelect);
    else
        options.erase(goRowSelect);
    if (FGridEditable)
        options.insert(goEditing);
    else
        options.erase(goEditing);
    grid->SetOptions(options);
    grid->SetGridImages(FGridImages);
    grid->OnCanSort = [this](TObject* Sender, int ACol, bool& DoSort) { GridCanSort(Sender, ACol, DoSort); };
    grid->OnClickSort = [this](TObject* Sender, int ACol) { GridClickSort(Sender, ACol); };
    grid->OnSelectCell = [this](TObject* Sender, int ACol, int ARow, bool& CanSelect) {
        GridSelectCell(Sender, ACol, ARow, CanSelect);
    };
    grid->SetComponentStyle(GetComponentStyle());
    // The popup form draws the frame: the grid keeps none of its own, whatever the style gave it.
    grid->SetBorderStyle(bsNone);
    if (FUseItems) {
        TAdvCustomDropDown::DoBeforeDropDown();
        grid->SetRowCount(FItems->Count() + 1);
        if (grid->RowCount() > 1) grid->SetFixedRows(1);
        grid->FillFromItems();
        const int r = ItemToRow(FItemIndex);
        if (r >= grid->FixedRows() && r < grid->RowCount()) grid->SetRow(r);
    } else {
        String match;
        int row = -1;
        if (FindLookupMatch(Text(), match, row))
            grid->SetRow(row);
        else if (grid->FixedRows() < grid->RowCount())
            grid->SetRow(grid->FixedRows());
    }
    if (grid->SortSettings()->Column() >= 0 && grid->SortSettings()->Show()) grid->QSort();
    FOldItemIndex = FItemIndex;
    if (!FUseItems) TAdvCustomDropDown::DoBeforeDropDown();
}

void TCustomAdvGridDropDown::SizeDropDownForm() {
    TAdvCustomDropDown::SizeDropDownForm();
    if (FAdvColGrid) SizeToList(FAdvColGrid, FAdvColGrid->GetAutoWidth());
}

void TCustomAdvGridDropDown::DoShowDropDown() {
    TAdvCustomDropDown::DoShowDropDown();
    if (!FAdvColGrid) return;
    TAdvColGrid* grid = FAdvColGrid;
    if (!FUseItems)
        while (FColumns->Count() < grid->ColCount()) FColumns->Add();
    if (DroppedDown()) FitColumnsToWidth();
    if (grid->RowCount() - grid->FixedRows() > grid->VisibleRowCount()) {
        if (grid->Row() > grid->TopRow() + grid->VisibleRowCount() || grid->Row() < grid->TopRow())
            grid->SetTopRow(grid->Row());
    }
    // The commit of a choice made without moving starts from the placed current row.
    FSelRow = grid->Row();
    grid->SetTabStop(true);
    if (DroppedDown() && grid->CanFocus()) grid->SetFocus();
}

void TCustomAdvGridDropDown::DropDownFormSizing(TObject* Sender) {
    TAdvCustomDropDown::DropDownFormSizing(Sender);
    FitColumnsToWidth();
}

// =============================================================================================
// Choosing and committing

void TCustomAdvGridDropDown::GridSelectCell(TObject*, int, int ARow, bool&) {
    FSelRow = ARow;
    if (!FAdvColGrid || FAdvColGrid->MouseWheelSelection()) return;
    if (FUseItems) {
        SetItemIndex(RowToItem(ARow));
    } else {
        SetText(LookupCell(ARow));
        FItemIndex = ARow - FAdvColGrid->FixedRows();
    }
}

void TCustomAdvGridDropDown::GridSelect(TObject*) {
    if (FAdvColGrid && FAdvColGrid->ConfirmSelection())
        SetItemIndex(FUseItems ? RowToItem(FAdvColGrid->Row()) : FAdvColGrid->Row() - 1);
    if (!FGridEditable) DoHideDropDown(false);
    if (Assigned(OnSelect)) OnSelect(this);
}

void TCustomAdvGridDropDown::DoHideDropDown(bool CancelChanges) {
    if (DropDownForm() && DropDownForm()->Visible() && FAdvColGrid) {
        if (CancelChanges) {
            SetItemIndex(FOldItemIndex);
        } else if (FAdvColGrid->ConfirmSelection()) {
            SetItemIndex(FUseItems ? RowToItem(FSelRow) : FSelRow - FAdvColGrid->FixedRows());
            FOldItemIndex = FItemIndex;
            FAdvColGrid->SetConfirmSelection(false);
        }
    }
    TAdvCustomDropDown::DoHideDropDown(CancelChanges);
}

void TCustomAdvGridDropDown::GridCanSort(TObject*, int, bool&) {
    FTempItemIndex = FItemIndex;
}

void TCustomAdvGridDropDown::GridClickSort(TObject*, int) {
    if (FTempItemIndex < 0 || !FAdvColGrid) return;
    const int r = ItemToRow(FTempItemIndex);
    if (r >= FAdvColGrid->FixedRows() && r < FAdvColGrid->RowCount()) FAdvColGrid->SetRow(r);
}

// =============================================================================================
// Styles

void TCustomAdvGridDropDown::SetComponentStyle(TKitStyle AStyle) {
    TAdvCustomDropDown::SetComponentStyle(AStyle);
    // The Office 2010 family keeps the base's handling only.
    if (AStyle == tsOffice2010Blue || AStyle == tsOffice2010Silver || AStyle == tsOffice2010Black) return;
    ApplyListStyle(AStyle);
}

} // namespace AdvGridDropDown
