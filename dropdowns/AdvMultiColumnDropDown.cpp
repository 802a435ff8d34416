#include "AdvMultiColumnDropDown.h"

#include "EditWithButtons.h"
#include "ImgList.h"

#include <algorithm>
#include <cmath>

namespace AdvMultiColumnDropDown {

namespace {

constexpr int MaxCompletion = 255; // characters a completion appends at most
constexpr int PageSize = 10;       // items a page step moves
constexpr int HeaderGradientSteps = 80;
constexpr int MinWrappedRowHeight = 24;

bool AltDown() {
    return GetKeyState(VK_MENU) < 0;
}

// The keys the open list keeps for itself.
bool ListKey(Word Key) {
    return Key == VK_PRIOR || Key == VK_NEXT || Key == VK_UP || Key == VK_DOWN;
}

} // namespace

// =============================================================================================
// Columns and items

TDropDownColumn::TDropDownColumn(TCollection* Collection) : TCollectionItem(Collection), FFont(new TFont) {}

TDropDownColumn::~TDropDownColumn() {
    delete FFont;
}

void TDropDownColumn::Assign(TPersistent* Source) {
    auto* src = dynamic_cast<TDropDownColumn*>(Source);
    if (!src) {
        TCollectionItem::Assign(Source);
        return;
    }
    FWordwrap = src->FWordwrap;
    FWidth = src->FWidth;
    FAutoSize = src->FAutoSize;
    FHeader = src->FHeader;
    FAlignment = src->FAlignment;
    FColor = src->FColor;
    FColumnType = src->FColumnType;
    FFont->Assign(src->FFont);
    FEllipsis = src->FEllipsis;
}

TDropDownColumns::TDropDownColumns(TPersistent* AOwner)
    : TCollection(CollectionItemClass<TDropDownColumn>()), FMyOwner(AOwner) {}

TDropDownItem::TDropDownItem(TCollection* Collection) : TCollectionItem(Collection), FText(new TStringList) {}

TDropDownItem::~TDropDownItem() {
    delete FText;
}

void TDropDownItem::Assign(TPersistent* Source) {
    auto* src = dynamic_cast<TDropDownItem*>(Source);
    if (!src) {
        TCollectionItem::Assign(Source);
        return;
    }
    FImageIndex = src->FImageIndex;
    FText->Assign(src->FText);
}

String TDropDownItem::TextAt(int Column) const {
    return HasText(Column) ? FText->Strings(Column) : String();
}

TDropDownItems::TDropDownItems(TPersistent* AOwner)
    : TCollection(CollectionItemClass<TDropDownItem>()), FMyOwner(AOwner) {}

int TDropDownItems::IndexInColumn(int Column, const String& Value) const {
    for (int i = 0; i < Count(); ++i) {
        const TDropDownItem* item = Items(i);
        if (item->HasText(Column) && item->TextAt(Column) == Value) return i;
    }
    return -1;
}

// =============================================================================================
// Shared rules

int ItemCellWidth(const TDropDownColumn* Column, const TDropDownItem* Item, int Index,
                  TCustomImageList* Images, TCanvas* Canvas) {
    int width = 0;
    if (Column->ColumnType() == ctImage && Images && Item->HasText(Index) && Item->ImageIndex() >= 0)
        width = Images->Width() + 4;
    const String text = Item->TextAt(Index);
    if (!text.isEmpty()) {
        Canvas->Font()->Assign(Column->Font());
        TRect r(0, 0, 1000, 500);
        DrawText(Canvas, text, r, DT_CALCRECT | DT_SINGLELINE);
        width += r.Width() + 6;
    }
    return width;
}

bool AnyWordwrap(const TCollection* Columns) {
    for (int i = 0; i < Columns->Count(); ++i)
        if (static_cast<TDropDownColumn*>(Columns->Items(i))->Wordwrap()) return true;
    return false;
}

int WrappedRowHeight(const TCollection* Columns, const TDropDownItem* Item, TCustomImageList* Images,
                     TCanvas* Canvas, const std::function<int(int)>& ColumnWidth) {
    int height = MinWrappedRowHeight;
    // A row without an item has no text to make room for.
    if (!Item) return height;
    for (int c = 0; c < Columns->Count(); ++c) {
        auto* column = static_cast<TDropDownColumn*>(Columns->Items(c));
        if (!column->Wordwrap()) continue;
        int need = 0;
        if (column->ColumnType() == ctImage && Images && Item->HasText(c) && Item->ImageIndex() >= 0)
            need = Images->Height() + 6;
        const String text = Item->TextAt(c);
        if (!text.isEmpty()) {
            Canvas->Font()->Assign(column->Font());
            TRect box(0, 0, ColumnWidth(c), 500);
            DrawText(Canvas, text, box, DT_CALCRECT | DT_WORDBREAK);
            need = std::max(need, box.Height() + 6);
        }
        height = std::max(height, need);
    }
    return height;
}

TCompletion CompleteFromList(const TStringList* Lookup, const String& Text, int Caret, bool MatchCase) {
    TCompletion result;
    auto rule = [MatchCase](const String& S) { return MatchCase ? S : S.toUpper(); };
    const String typed = rule(Text.left(std::clamp(Caret, 0, int(Text.length()))));
    if (typed.isEmpty()) return result;
    for (int i = 0; i < Lookup->Count(); ++i) {
        const String entry = Lookup->Strings(i);
        if (!rule(entry).startsWith(typed)) continue;
        result.Index = i;
        result.TypedLength = int(typed.length());
        result.Text = Text.left(typed.length()) + entry.mid(typed.length()).left(MaxCompletion);
        return result;
    }
    return result;
}

int SteppedIndex(int Current, int Count, TStep Step) {
    if (Count <= 0) return Current;
    if (Step == stFirst) return 0;
    if (Step == stLast) return Count - 1;
    if (Current < 0) return 0;
    switch (Step) {
        case stNext: return std::min(Current + 1, Count - 1);
        case stPrevious: return std::max(Current - 1, 0);
        case stNextPage: return std::min(Current + PageSize, Count - 1);
        case stPreviousPage: return std::max(Current - PageSize, 0);
        default: return Current;
    }
}

std::vector<int> FittedWidths(const std::vector<int>& Widths, int Avail) {
    int total = 1;
    for (int w : Widths) total += w;
    const double f = double(Avail) / double(total);
    double err = 0;
    std::vector<int> result;
    for (int w : Widths) {
        const double x = f * w;
        // Halves round to even (the default rounding mode).
        const double rounded = std::nearbyint(x);
        err += x - rounded;
        int width = int(rounded);
        if (err > 1) {
            err -= 1;
            width += 1;
        }
        result.push_back(width);
    }
    return result;
}

int FindItemByPrefix(const TCollection* Items, int Column, const String& Value, bool CaseSensitive,
                     String& MatchText) {
    MatchText = String();
    const String value = CaseSensitive ? Value : Value.toUpper();
    if (value.isEmpty()) return -1;
    for (int i = 0; i < Items->Count(); ++i) {
        const auto* item = static_cast<const TDropDownItem*>(Items->Items(i));
        // An item without a lookup text is no match.
        if (!item->HasText(Column)) continue;
        const String text = item->TextAt(Column);
        if ((CaseSensitive ? text : text.toUpper()).startsWith(value)) {
            MatchText = text;
            return i;
        }
    }
    return -1;
}

// =============================================================================================
// TAdvColGrid: the popup list

TAdvColGrid::TAdvColGrid(TComponent* AOwner) : TColumnList(AOwner) {
    TGridOptions options = Options();
    options.erase(goDrawFocusSelected);
    SetOptions(options);
    SetDefaultDrawing(false);
    TCustomGrid::SetGridLineWidth(0);
}

void TAdvColGrid::LoadFromDropDown(TAdvMultiColumnDropDown* DropDown) {
    if (!DropDown) return;
    SetDropDown(DropDown);
    FColumns->Assign(DropDown->Columns());
    SetColCount(std::max(1, FColumns->Count()));
    const int items = DropDown->Items()->Count();
    if (items > 0) {
        SetRowCount(items + 1);
        SetFixedRows(1);
        SetRow(1);
        SetRowCount(items + 1);
    } else {
        // No items: one empty row and no header row.
        SetRowCount(1);
        if (FixedRows() > 0) SetFixedRows(0);
    }
    TakeLooks(DropDown);
    // A row height that is not positive would make rows vanish: the grid keeps its own.
    if (DropDown->DropDownRowHeight() > 0) SetDefaultRowHeight(DropDown->DropDownRowHeight());
    for (int i = 0; i < FColumns->Count() && i < ColCount(); ++i)
        SetColWidths(i, FColumns->Items(i)->Width());
    if (FHeaderHeight > 0) SetRowHeights(0, FHeaderHeight);
    TGridOptions options = Options();
    if (DropDown->ColumnSizing())
        options.insert(goColSizing);
    else
        options.erase(goColSizing);
    SetOptions(options);
    AutoSizeItemColumns();
    UpdateWordWrapHeights();
}

TRect TAdvColGrid::GetFullCellRect(int ACol, int ARow) const {
    const TRect r = CellRect(ACol, ARow);
    return TRect(r.Left, r.Top, r.Left + ColWidths(ACol), r.Top + RowHeights(ARow));
}

void TAdvColGrid::DrawCell(int ACol, int ARow, TRect ARect, TGridDrawState AState) {
    TAdvMultiColumnDropDown* dd = FAdvDropDown;
    TCanvas* canvas = Canvas();
    if (dd && Assigned(dd->OnDropDownDrawItem)) {
        dd->OnDropDownDrawItem(dd, ACol, ARow, canvas, ARect);
        return;
    }
    // Where the cell sits in its row, for the rounded ends of the selection.
    const int first = FixedCols(), last = ColCount() - 1;
    int position = 3;
    if (ACol == first && ACol == last)
        position = 0;
    else if (ACol == first)
        position = 1;
    else if (ACol == last)
        position = 2;
    TRect r = GetFullCellRect(ACol, ARow);

    TColor color = Color();
    TAlignment alignment = taLeftJustify;
    bool wrap = false, ellipsis = false;
    int imageIndex = -1;
    String text;
    const bool columnExists = ACol < ColCount() && ACol >= FixedCols() && ACol < FColumns->Count();
    TDropDownColumn* column = columnExists ? FColumns->Items(ACol) : nullptr;
    if (column) {
        color = column->Color();
        alignment = column->Alignment();
        wrap = column->Wordwrap();
        ellipsis = column->Ellipsis();
        canvas->Font()->Assign(column->Font());
        if (const TDropDownItem* item = ItemOfRow(ARow)) {
            if (column->ColumnType() == ctImage) imageIndex = item->ImageIndex();
            text = item->TextAt(ACol);
        }
    } else {
        canvas->Font()->Assign(FHeaderFont);
    }
    if (dd && Assigned(dd->OnDropDownGetItemText)) dd->OnDropDownGetItemText(dd, ACol, ARow, text);

    const bool fixed = AState.count(gdFixed) != 0;
    const bool selected = !fixed && AState.count(gdSelected) != 0;
    if (fixed) {
        text = column ? column->Header() : String();
        imageIndex = -1;
        if (FHeaderColor == clNone || FHeaderColorTo == clNone) {
            canvas->Brush()->SetStyle(bsSolid);
            canvas->Brush()->SetColor(FHeaderColor);
            canvas->FillRect(r);
        } else if (dd) {
            dd->PaintGradient(canvas, FHeaderColor, FHeaderColorTo, HeaderGradientSteps, r, gdVertical);
        } else {
            DrawSteppedGradient(canvas, FHeaderColor, FHeaderColorTo, HeaderGradientSteps, r, false);
        }
    } else if (selected && dd) {
        dd->DrawSelectionBackground(canvas, r, color, position);
    } else {
        canvas->Pen()->SetColor(color);
        canvas->Pen()->SetWidth(1);
        canvas->Brush()->SetStyle(bsSolid);
        canvas->Brush()->SetColor(color);
        canvas->Rectangle(r);
    }

    // Lines: the list draws them all, the grid's own width being 0.
    int c = 1;
    if (fixed) {
        canvas->Pen()->SetColor(FFixedLineColor);
        canvas->Pen()->SetWidth(1);
    } else {
        if (FGridLineWidth > 0) canvas->Pen()->SetColor(FLineColor);
        canvas->Pen()->SetWidth(FGridLineWidth);
        c = (FGridLineWidth + 1) / 2;
    }
    const bool horz = HasOption(fixed ? goFixedHorzLine : goHorzLine);
    const bool vert = HasOption(fixed ? goFixedVertLine : goVertLine);
    if ((fixed || FGridLineWidth > 0) && horz) {
        canvas->MoveTo(r.Left - c + 1, r.Bottom - c);
        canvas->LineTo(r.Right - c + 1, r.Bottom - c);
    }
    if ((fixed || FGridLineWidth > 0) && vert) {
        const int x = UseRightToLeftAlignment() ? r.Right - c + 1 : r.Right - c;
        canvas->MoveTo(x, r.Bottom - c);
        canvas->LineTo(x, r.Top - c);
    }

    r = TRect(r.Left + FGridLineWidth, r.Top + FGridLineWidth, r.Right - FGridLineWidth,
              r.Bottom - FGridLineWidth);
    TCustomImageList* images = dd ? dd->Images() : nullptr;
    if (images && imageIndex >= 0) {
        const int y = images->Height() < r.Height() ? r.Top + (r.Height() - images->Height()) / 2 : r.Top;
        images->Draw(canvas, r.Left + 2, y, imageIndex, true);
        r.Left += images->Width() + 4;
    } else {
        r.Left += 2;
    }
    if (text.isEmpty()) return;
    canvas->Brush()->SetStyle(bsClear);
    if (selected && dd) canvas->Font()->SetColor(dd->SelectionTextColor());
    if (fixed) canvas->Font()->Assign(FHeaderFont);
    Cardinal flags = DT_NOPREFIX | DT_EXPANDTABS | DT_VCENTER;
    flags |= wrap ? (DT_WORDBREAK | DT_EDITCONTROL) : DT_SINGLELINE;
    switch (alignment) {
        case taLeftJustify: flags |= DT_LEFT; break;
        case taRightJustify: flags |= DT_RIGHT; break;
        case taCenter: flags |= DT_CENTER; break;
    }
    if (ellipsis) flags |= DT_END_ELLIPSIS;
    if (UseRightToLeftAlignment()) flags |= DT_RTLREADING;
    DrawText(canvas, text, r, flags);
}

void TAdvColGrid::KeyDown(Word& Key, TShiftState Shift) {
    FConfirmSelection = true;
    if (AltArrowToDropDown(Key, Shift)) return;
    const Word key = Key;
    TStringGrid::KeyDown(Key, Shift);
    if (key == VK_RETURN) DoSelect();
}

void TAdvColGrid::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
    TStringGrid::MouseUp(Button, Shift, X, Y);
    int col = -1, row = -1;
    MouseToCell(X, Y, col, row);
    if (row < FixedRows() || row >= RowCount()) return;
    // Only the left button moves the grid's current row; any button chooses the row under it.
    if (Button != mbLeft && row != Row()) SetRow(row);
    DoSelect();
}

void TAdvColGrid::Dispatch(TMessage& Message) {
    switch (Message.Msg) {
        case WM_KEYDOWN:
            if (Message.WParam == VK_TAB) return; // Tab does nothing in the list
            break;
        case WM_GETDLGCODE: Message.Result = DLGC_WANTARROWS | DLGC_WANTTAB; return;
        default: break;
    }
    TStringGrid::Dispatch(Message);
}

// =============================================================================================
// TColumnDropDown: what both column drop-downs share

TColumnDropDown::TColumnDropDown(TComponent* AOwner)
    : TAdvCustomDropDown(AOwner), FHeaderFont(new TFont), FLookupItems(new TStringList) {
    FLookupItems->SetCaseSensitive(false);
}

TColumnDropDown::~TColumnDropDown() {
    delete FHeaderFont;
    delete FLookupItems;
}

void TColumnDropDown::RebuildLookupItems(const TCollection* Items) {
    if (FLookupColumn < 0 || Items->Count() == 0) return;
    FLookupItems->Clear();
    for (int i = 0; i < Items->Count(); ++i)
        FLookupItems->Add(static_cast<const TDropDownItem*>(Items->Items(i))->TextAt(FLookupColumn));
}

void TColumnDropDown::Step(TStep Step) {
    const int count = StepCount();
    if (count > 0) SetItemIndex(SteppedIndex(FItemIndex, count, Step));
}

void TColumnDropDown::MoveToNextItem() {
    TAdvCustomDropDown::MoveToNextItem();
    SelectNext();
}

void TColumnDropDown::MoveToPreviousItem() {
    TAdvCustomDropDown::MoveToPreviousItem();
    SelectPrevious();
}

// ---- Completion while typing in the edit ----

void TColumnDropDown::Change() {
    FItemChange = false;
    TAdvCustomDropDown::Change();
    if (HasState(csDesigning) || !workmode) return;
    const String text = EditText();
    Modified = text != FOldValue;
    const int caret = std::clamp(SelStart(), 0, int(text.length()));
    if (FLookupItems->Count() == 0) return;
    const TCompletion completion = CompleteFromList(FLookupItems, text, caret, FMatchCase);
    if (completion.Index >= 0) {
        FItemIndex = completion.Index;
        FItemIdx = completion.Index;
        FItemSel = completion.TypedLength;
        FItemChange = true;
        // The write raises the change notification again at once; with the caret at 0 after a
        // write by code it finds nothing typed and clears the pending completion.
        SetEditorText(completion.Text);
        SelectAfterWrite(int(completion.Text.length()), completion.TypedLength);
        return;
    }
    const String before = text.left(caret);
    if (!before.isEmpty()) {
        SetEditorText(before);
        SelectAfterWrite(int(before.length()), int(before.length()));
    }
}

void TColumnDropDown::SelectAfterWrite(int Start, int End) {
    Perform(EM_SETSEL, WPARAM(Start), LPARAM(End));
    // The edit places its caret after a typed character once the change notification has
    // returned: the selection is set again when the character's handling ends.
    FPendingSelStart = Start;
    FPendingSelEnd = End;
}

void TColumnDropDown::KeyDown(Word& Key, TShiftState Shift) {
    if (FLookupColumn < 0 || ItemCount() == 0) {
        TAdvCustomDropDown::KeyDown(Key, Shift);
        return;
    }
    const Word key = Key;
    switch (key) {
        case VK_BACK:
        case VK_ESCAPE:
        case VK_DELETE: workmode = false; break;
        case VK_RETURN: {
            const int index = FLookupItems->IndexOf(Text());
            if (index >= 0) {
                SetText(FLookupItems->Strings(index));
                SetItemIndex(index);
                Change();
            }
            if (FReturnIsTab) {
                // A Tab posted to the edit, delivered as the message loop delivers one (the form
                // takes it as the dialog key that moves the focus on).
                if (HandleAllocated()) {
                    const HWND h = Handle();
                    PostCall([this, h] {
                        if (FindControl(h) == this) DeliverTabKey(this);
                    });
                }
                Key = 0;
            }
            break;
        }
        default: workmode = true; break;
    }
    TAdvCustomDropDown::KeyDown(Key, Shift);
    if (key == VK_ESCAPE) SetItemIndex(FLookupItems->IndexOf(Text()));
}

void TColumnDropDown::KeyUp(Word& Key, TShiftState Shift) {
    if (!(Key == VK_RETURN && FReturnIsTab)) TAdvCustomDropDown::KeyUp(Key, Shift);
    if (!FItemChange) return;
    SetItemIndex(FItemIdx);
    const int length = int(EditText().length());
    SetSelStart(FItemSel);
    SetSelLength(std::max(0, length - FItemSel));
    FItemChange = false;
}

void TColumnDropDown::KeyPress(Char& Key) {
    if (Key == Char(VK_RETURN) && FReturnIsTab) {
        Key = Char(0);
        return;
    }
    TAdvCustomDropDown::KeyPress(Key);
}

void TColumnDropDown::Dispatch(TMessage& Message) {
    if (Message.Msg != WM_CHAR) {
        TAdvCustomDropDown::Dispatch(Message);
        return;
    }
    const Char key(char16_t(Message.WParam));
    FPendingSelStart = -1;
    TAdvCustomDropDown::Dispatch(Message);
    if (FPendingSelStart >= 0) Perform(EM_SETSEL, WPARAM(FPendingSelStart), LPARAM(FPendingSelEnd));
    FPendingSelStart = -1;
    CharTyped(key);
}

void TColumnDropDown::LookupBackspace() {
    if (SelLength() > 0) {
        String text = EditText();
        text.remove(SelStart(), SelLength());
        SetEditorText(text);
    } else {
        FLookupEntry.chop(1);
        SetEditorText(FLookupEntry);
    }
    SetSelStart(int(EditText().length()));
    SetSelLength(0);
}

// ---- The popup's size ----

void TColumnDropDown::AdjustDropDownHeight(int& Height) {
    // A row height that is not positive cannot snap to whole rows: the height stays as asked.
    if (FDropDownRowHeight <= 0) return;
    int v = 0;
    if (DropDownHeader()->Visible()) v += DropDownHeader()->Height();
    if (DropDownFooter()->Visible()) v += DropDownFooter()->Height();
    const int h = Height - v - FHeaderHeight - 2;
    Height = v + FHeaderHeight + HeightMargin() + (h / FDropDownRowHeight) * FDropDownRowHeight;
}

void TColumnDropDown::FitList(TCustomGrid* List, const TCollection* Columns) {
    if (!FColumnSizeWithDropDown || !List || !DropDownForm()) return;
    List->SetScrollBars(ssVertical);
    if (Columns->Count() == 0) return;
    int avail = DropDownForm()->Width();
    if (List->RowCount() - List->FixedRows() > List->VisibleRowCount())
        avail -= GetSystemMetrics(SM_CXVSCROLL);
    std::vector<int> widths;
    for (int i = 0; i < Columns->Count(); ++i)
        widths.push_back(static_cast<const TDropDownColumn*>(Columns->Items(i))->Width());
    const std::vector<int> fitted = FittedWidths(widths, avail);
    for (int i = 0; i < List->ColCount() && i < int(fitted.size()); ++i)
        List->SetColWidths(i, fitted[size_t(i)]);
}

void TColumnDropDown::SizeToList(TWinControl* List, int ListWidth) {
    if (!FDropDownAutoWidth || !List || !DropDownForm()) return;
    List->SetAlign(alNone);
    List->SetWidth(ListWidth);
    DropDownForm()->SetWidth(ListWidth + 2 * DropDownBorderWidth());
    List->SetAlign(alClient);
}

// ---- Styles ----

void TColumnDropDown::SetSelectionColorStyle(TSelectionColorStyle Style) {
    ListLineColorsOf(Style, FLineColor, FFixedLineColor);
    TAdvCustomDropDown::SetSelectionColorStyle(Style);
}

void TColumnDropDown::ApplyListStyle(TKitStyle Style) {
    TListStyle style;
    if (!ListStyleOf(Style, style)) return;
    FHeaderColor = style.Header;
    FHeaderColorTo = style.HeaderTo;
    if (style.FontColor != clNone) FHeaderFont->SetColor(style.FontColor);
    SetSelectionColorStyle(style.Selection);
    if (style.Selection == scCustom) {
        SetSelectionColor(style.SelectionColor);
        SetSelectionColorTo(style.SelectionColor);
    }
    FLineColor = style.Line;
    FFixedLineColor = style.FixedLine;
    FSelectionTextColor = style.SelectionText;
}

// =============================================================================================
// TAdvMultiColumnDropDown

TAdvMultiColumnDropDown::TAdvMultiColumnDropDown(TComponent* AOwner) : TColumnDropDown(AOwner) {
    FColumnSizing = false;
    FLookupColumn = 0;
    FHeaderColorTo = TColor(0x808080);
    FHeaderColor = TColor(0xFFFFFF);
    FHeaderHeight = 25;
    FLineColor = TColor(0xC0C0C0);
    FItems = new TDropDownItems(this);
    FColumns = new TDropDownColumns(this);
    SetDropDownColor(TColor(0xFFFFFF));
    SetDropDownHeight(200);
    FItemIndex = -1;
    FOldItemIndex = -1;
    workmode = true;
    FMatchCase = false;
    FMatchStart = true;
    AutoSelect = true;
    FItemChange = false;
    FDropDownAutoWidth = true;
    SetSelectionColorStyle(scOffice2007);
    FSelectionTextColor = clBlack;
    FColumnSizeWithDropDown = true;
    FDropDownRowHeight = 22;
    // The base made the popup form before this control's slots existed: make the list now.
    CreateDropDownForm();
}

TAdvMultiColumnDropDown::~TAdvMultiColumnDropDown() {
    // The list reads the items while it exists: it goes first.
    if (FAdvColGrid) {
        TAdvColGrid* grid = FAdvColGrid;
        FAdvColGrid = nullptr;
        grid->SetDropDown(nullptr);
        delete grid;
    }
    delete FItems;
    FItems = nullptr;
    delete FColumns;
    FColumns = nullptr;
}

void TAdvMultiColumnDropDown::Assign(TPersistent* Source) {
    TAdvCustomDropDown::Assign(Source);
    auto* src = dynamic_cast<TAdvMultiColumnDropDown*>(Source);
    if (!src) return;
    FCaseSensitive = src->FCaseSensitive;
    FDropDownAutoWidth = src->FDropDownAutoWidth;
    FDropDownRowHeight = src->FDropDownRowHeight;
    FLineColor = src->FLineColor;
    FFixedLineColor = src->FFixedLineColor;
    FColumnSizing = src->FColumnSizing;
    FColumnSizeWithDropDown = src->FColumnSizeWithDropDown;
    FColumns->Assign(src->FColumns);
    FHeaderColor = src->FHeaderColor;
    FHeaderColorTo = src->FHeaderColorTo;
    FHeaderHeight = src->FHeaderHeight;
    FHeaderFont->Assign(src->FHeaderFont);
    FLookupColumn = src->FLookupColumn;
    FSelectionTextColor = src->FSelectionTextColor;
    FItems->Assign(src->FItems);
    FItemIndex = src->FItemIndex;
}

void TAdvMultiColumnDropDown::Loaded() {
    TAdvCustomDropDown::Loaded();
    RebuildLookupItems(FItems);
}

int TAdvMultiColumnDropDown::GetItemIndex(const String& Value) const {
    // An item without a text at the lookup column does not match (no index error).
    for (int i = 0; i < FItems->Count(); ++i) {
        const TDropDownItem* item = FItems->Items(i);
        if (item->HasText(FLookupColumn) && item->TextAt(FLookupColumn) == Value) return i;
    }
    return -1;
}

void TAdvMultiColumnDropDown::SetItemIndex(int Value) {
    if (Value >= FItems->Count()) return;
    FItemIndex = Value;
    if (Value >= 0 && FLookupColumn >= 0 && FItems->Items(Value)->HasText(FLookupColumn))
        SetText(FItems->Items(Value)->TextAt(FLookupColumn));
    else
        SetText(String());
}

void TAdvMultiColumnDropDown::SetComponentStyle(TKitStyle AStyle) {
    TAdvCustomDropDown::SetComponentStyle(AStyle);
    ApplyListStyle(AStyle);
}

// ---- Search while typing in the open list ----

bool TAdvMultiColumnDropDown::FindLookupMatch(const String& Value, String& MatchText, int& Index) const {
    Index = -1;
    MatchText = String();
    if (!FAdvColGrid) return false;
    Index = FindItemByPrefix(FItems, FLookupColumn, Value, FCaseSensitive, MatchText);
    return Index >= 0;
}

int TAdvMultiColumnDropDown::DoLookup(Char Key) {
    if (Key == Char(VK_BACK)) {
        LookupBackspace();
        return -1;
    }
    if (Key != Char(VK_TAB)) FLookupEntry += Key;
    String match;
    int index = -1;
    if (FindLookupMatch(FLookupEntry, match, index)) {
        FItemIndex = index;
        SetText(match);
        SetSelStart(int(FLookupEntry.length()));
        SetSelLength(std::max(0, int(match.length()) - int(FLookupEntry.length())));
        return index;
    }
    if (FindLookupMatch(String(Key), match, index)) {
        FItemIndex = index;
        SetText(match);
        FLookupEntry = String(Key);
        return index;
    }
    FLookupEntry = String();
    return -1;
}

void TAdvMultiColumnDropDown::DropDownControlKeyPress(TObject*, Char& Key) {
    if (!FAdvColGrid) return;
    const bool alt = AltDown();
    if (((Key == Char(VK_RETURN) || Key == Char(VK_ESCAPE)) && !alt) || FAdvColGrid->HasOption(goEditing)) {
        FLookupEntry = String();
        return;
    }
    const int index = DoLookup(Key);
    Key = Char(0);
    if (index == -1) {
        FLookupEntry = String();
        return;
    }
    const int row = index + FAdvColGrid->FixedRows();
    if (row >= FAdvColGrid->RowCount()) return;
    if (FAdvColGrid->VisibleRowCount() + FAdvColGrid->TopRow() < row || row < FAdvColGrid->TopRow())
        FAdvColGrid->SetTopRow(row);
    FAdvColGrid->SetRow(row);
    FAdvColGrid->SetCol(0);
}

void TAdvMultiColumnDropDown::DropDownControlKeyDown(TObject* Sender, Word& Key, TShiftState Shift) {
    if (ListKey(Key) && !AltDown()) return;
    TAdvCustomDropDown::DropDownControlKeyDown(Sender, Key, Shift);
}

void TAdvMultiColumnDropDown::DropDownControlKeyUp(TObject* Sender, Word& Key, TShiftState Shift) {
    if (ListKey(Key) && !AltDown()) return;
    TAdvCustomDropDown::DropDownControlKeyUp(Sender, Key, Shift);
}

// ---- Stepping with the popup closed ----

void TAdvMultiColumnDropDown::WMKeyDown(TMessage& Message) {
    TColumnDropDown::Dispatch(Message);
    if (!Enabled() || AltDown()) return;
    switch (Word(Message.WParam)) {
        case VK_PRIOR: SelectPreviousPage(); break;
        case VK_NEXT: SelectNextPage(); break;
        case VK_END:
            if (!EditorEnabled()) SelectLast();
            break;
        case VK_HOME:
            if (!EditorEnabled()) SelectFirst();
            break;
        case VK_UP: SelectPrevious(); break;
        case VK_DOWN: SelectNext(); break;
        default: break;
    }
}

void TAdvMultiColumnDropDown::Dispatch(TMessage& Message) {
    if (Message.Msg == WM_KEYDOWN) {
        WMKeyDown(Message);
        return;
    }
    TColumnDropDown::Dispatch(Message);
}

// ---- The popup ----

void TAdvMultiColumnDropDown::CreateDropDownForm() {
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
}

void TAdvMultiColumnDropDown::AttachDropDownControl() {
    SetControl(FAdvColGrid);
    TAdvCustomDropDown::AttachDropDownControl();
}

void TAdvMultiColumnDropDown::DoBeforeDropDown() {
    TAdvCustomDropDown::DoBeforeDropDown();
    if (DropDownForm()) DropDownForm()->SetCancelOnDeActivate(false);
    FShowing = true;
    if (FAdvColGrid) {
        FAdvColGrid->LoadFromDropDown(this);
        TGridOptions options = FAdvColGrid->Options();
        options.insert(goThumbTracking);
        FAdvColGrid->SetOptions(options);
        FAdvColGrid->SetColor(DropDownColor());
        FAdvColGrid->OnSelectCell = [this](TObject* Sender, int ACol, int ARow, bool& CanSelect) {
            GridSelectCell(Sender, ACol, ARow, CanSelect);
        };
        FAdvColGrid->OnSelect = [this](TObject* Sender) { GridSelect(Sender); };
        const int row = FItemIndex + 1 < FAdvColGrid->FixedRows() ? 1 : FItemIndex + 1;
        if (row < FAdvColGrid->RowCount()) FAdvColGrid->SetRow(row);
    }
    FOldItemIndex = FItemIndex;
}

void TAdvMultiColumnDropDown::SizeDropDownForm() {
    TAdvCustomDropDown::SizeDropDownForm();
    if (FAdvColGrid) SizeToList(FAdvColGrid, FAdvColGrid->GetAutoWidth());
}

void TAdvMultiColumnDropDown::DoShowDropDown() {
    TAdvCustomDropDown::DoShowDropDown();
    FitColumnsToWidth();
    if (FAdvColGrid && FAdvColGrid->RowCount() > 1) {
        const int row = FItemIndex < 0 ? 1 : FItemIndex + 1;
        if (row < FAdvColGrid->RowCount()) {
            FAdvColGrid->SetRow(row);
            const int visible = FAdvColGrid->VisibleRowCount();
            if (row < FAdvColGrid->TopRow() || row >= FAdvColGrid->TopRow() + visible)
                FAdvColGrid->SetTopRow(std::max(FAdvColGrid->FixedRows(), row - visible + 1));
        }
    }
    FShowing = false;
    if (FAdvColGrid && DroppedDown() && FAdvColGrid->CanFocus()) FAdvColGrid->SetFocus();
}

void TAdvMultiColumnDropDown::DropDownFormSizing(TObject* Sender) {
    TAdvCustomDropDown::DropDownFormSizing(Sender);
    FitColumnsToWidth();
}

// ---- Choosing and committing ----

void TAdvMultiColumnDropDown::GridSelectCell(TObject*, int, int ARow, bool&) {
    if (!FAdvColGrid || FAdvColGrid->MouseWheelSelection() || FShowing) return;
    SetItemIndex(ARow - 1);
}

void TAdvMultiColumnDropDown::GridSelect(TObject*) {
    if (FAdvColGrid && FAdvColGrid->ConfirmSelection()) SetItemIndex(FAdvColGrid->Row() - 1);
    DoHideDropDown(false);
    if (Assigned(OnSelect)) OnSelect(this);
}

void TAdvMultiColumnDropDown::DoHideDropDown(bool CancelChanges) {
    if (!DropDownForm() || !DropDownForm()->Visible()) {
        TAdvCustomDropDown::DoHideDropDown(CancelChanges);
        return;
    }
    TAdvCustomDropDown::DoHideDropDown(CancelChanges);
    if (CancelChanges) {
        SetItemIndex(FOldItemIndex);
    } else {
        if (FAdvColGrid && FAdvColGrid->ConfirmSelection()) SetItemIndex(FAdvColGrid->Row() - 1);
        FOldItemIndex = FItemIndex;
    }
}

// =============================================================================================
// Styles

bool ListLineColorsOf(TSelectionColorStyle Style, TColor& Line, TColor& FixedLine) {
    switch (Style) {
        case scOffice2007:
            Line = TColor(0xF1EDEB);
            FixedLine = TColor(0xD1BBA4);
            return true;
        case scWindowsVista:
        case scWindows7:
            Line = TColor(0xECECF0);
            FixedLine = TColor(0xD4D2D1);
            return true;
        default: return false;
    }
}

namespace {

struct TStyleRow {
    TKitStyle Style;
    TListStyle Colors;
};

constexpr TColor Keep = clNone;

const TStyleRow StyleTable[] = {
    {tsOffice2003Blue,
     {TColor(0xD68759), TColor(0x933803), TColor(0xFFFFFF), scOffice2007, Keep, TColor(0x962D00),
      TColor(0x962D00), clBlack}},
    {tsOffice2003Silver,
     {TColor(0xBDA4A5), TColor(0x957475), Keep, scOffice2007, Keep, TColor(0x947C7C), TColor(0x947C7C),
      clBlack}},
    {tsOffice2003Olive,
     {TColor(0x82C0AF), TColor(0x447A63), Keep, scOffice2007, Keep, TColor(0x588060), TColor(0x588060),
      clBlack}},
    {tsOffice2003Classic,
     {TColor(0x808080), TColor(0x808080), Keep, scOffice2007, Keep, TColor(0x808080), TColor(0x808080),
      clBlack}},
    {tsOffice2007Luna,
     {TColor(0xFFEFE3), TColor(0xFFD2AF), TColor(0x723708), scOffice2007, Keep, TColor(0xFFD2AF),
      TColor(0xFFD2AF), clBlack}},
    {tsOffice2007Obsidian,
     {TColor(0xF2F1F0), TColor(0xC9C2BD), TColor(0x433C37), scOffice2007, Keep, TColor(0x5C534C),
      TColor(0x5C534C), clBlack}},
    {tsWindowsXP,
     {clBtnFace, clBtnFace, clBlack, scCustom, clHighlight, TColor(0xC0C0C0), clBlack, clHighlightText}},
    {tsWhidbey,
     {TColor(0xEBEEEF), TColor(0x7E9898), TColor(0xFFFFFF), scOffice2007, Keep, TColor(0x962D00),
      TColor(0x962D00), clBlack}},
    {tsOffice2007Silver,
     {TColor(0xF8F7F6), TColor(0xE8E0DB), TColor(0x8B4215), scOffice2007, Keep, TColor(0x74706F),
      TColor(0x74706F), clBlack}},
    {tsWindowsVista,
     {TColor(0xFFFDF9), TColor(0xFFFAF0), clBlack, scWindowsVista, Keep, TColor(0xFCF2DA), TColor(0xFCF2DA),
      clBlack}},
    {tsWindows7,
     {TColor(0xFDFBFA), TColor(0xFDF3EB), clBlack, scWindows7, Keep, TColor(0xFBD6B8), TColor(0xFBD6B8),
      clBlack}},
    {tsTerminal,
     {clBtnFace, clBtnFace, clBlack, scCustom, clHighlight, TColor(0x808080), TColor(0x808080),
      clHighlightText}},
    {tsOffice2010Blue,
     {TColor(0xEDDBCD), clNone, TColor(0x5B391E), scCustom, TColor(0x6CD0FF), TColor(0xEEDDCF),
      TColor(0xEEDDCF), clBlack}},
    {tsOffice2010Silver,
     {TColor(0xEDE9E5), clNone, TColor(0x5B391E), scCustom, TColor(0x6CD0FF), TColor(0xEEDDCF),
      TColor(0xEEDDCF), clBlack}},
    {tsOffice2010Black,
     {TColor(0x828282), clNone, TColor(0xD7D7D6), scCustom, TColor(0x6CD0FF), TColor(0xEEDDCF),
      TColor(0xEEDDCF), clBlack}},
};

} // namespace

bool ListStyleOf(TKitStyle Style, TListStyle& Result) {
    for (const TStyleRow& row : StyleTable)
        if (row.Style == Style) {
            Result = row.Colors;
            return true;
        }
    return false;
}

} // namespace AdvMultiColumnDropDown
