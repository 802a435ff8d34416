// The grid with owner-drawn cells, the string grid and its cell store, and the row and column
// views of the store.
#include "Grids.h"

#include "GridsPrivate.h"

using namespace GridsPrivate;

namespace {

const String EmptyText;

void CheckCell(int ACol, int ARow) {
    if (ACol < 0 || ARow < 0 || ACol >= MaxGridCols || ARow >= MaxGridRows)
        throw EInvalidGridOperation(SIndexOutOfRange);
}

// Moves item From to To in a row's vector that may be shorter than either index.
template <class T> void MoveInRow(std::vector<T>& Items, int From, int To) {
    if (Items.size() <= size_t(std::min(From, To))) return; // nothing stored in the range
    const size_t need = size_t(std::max(From, To)) + 1;
    if (Items.size() < need) Items.resize(need);
    MoveItem(Items, size_t(From), size_t(To));
}

} // namespace

// =============================================================================================
// TGridCellStore

const String& TGridCellStore::Text(int ACol, int ARow) const {
    CheckCell(ACol, ARow);
    if (size_t(ARow) >= FRows.size()) return EmptyText;
    const TRow* row = FRows[size_t(ARow)].get();
    if (!row || size_t(ACol) >= row->Texts.size()) return EmptyText;
    return row->Texts[size_t(ACol)];
}

TGridCellStore::TRow* TGridCellStore::RowFor(int ARow, int WidthHint) {
    if (size_t(ARow) >= FRows.size()) FRows.resize(size_t(ARow) + 1);
    std::unique_ptr<TRow>& row = FRows[size_t(ARow)];
    if (!row) {
        row = std::make_unique<TRow>();
        row->Texts.reserve(size_t(std::max(WidthHint, 1)));
    }
    return row.get();
}

void TGridCellStore::SetText(int ACol, int ARow, const String& Value, int WidthHint) {
    CheckCell(ACol, ARow);
    if (Value.isEmpty() && Text(ACol, ARow).isEmpty()) return;
    TRow* row = RowFor(ARow, WidthHint);
    if (row->Texts.size() <= size_t(ACol)) row->Texts.resize(std::max(size_t(ACol) + 1, size_t(WidthHint)));
    row->Texts[size_t(ACol)] = Value;
}

TObject* TGridCellStore::Object(int ACol, int ARow) const {
    CheckCell(ACol, ARow);
    if (size_t(ARow) >= FRows.size()) return nullptr;
    const TRow* row = FRows[size_t(ARow)].get();
    if (!row || size_t(ACol) >= row->Objects.size()) return nullptr;
    return row->Objects[size_t(ACol)];
}

void TGridCellStore::SetObject(int ACol, int ARow, TObject* Value) {
    CheckCell(ACol, ARow);
    if (!Value && !Object(ACol, ARow)) return;
    TRow* row = RowFor(ARow, 0);
    if (row->Objects.size() <= size_t(ACol)) row->Objects.resize(size_t(ACol) + 1, nullptr);
    row->Objects[size_t(ACol)] = Value;
}

void TGridCellStore::MoveRow(int FromIndex, int ToIndex) {
    CheckCell(0, FromIndex);
    CheckCell(0, ToIndex);
    if (FromIndex == ToIndex) return;
    if (FRows.size() <= size_t(std::min(FromIndex, ToIndex))) return;
    const size_t need = size_t(std::max(FromIndex, ToIndex)) + 1;
    if (FRows.size() < need) FRows.resize(need);
    MoveItem(FRows, size_t(FromIndex), size_t(ToIndex));
}

void TGridCellStore::SwapRows(int ARow1, int ARow2) {
    CheckCell(0, ARow1);
    CheckCell(0, ARow2);
    if (ARow1 == ARow2) return;
    const size_t need = size_t(std::max(ARow1, ARow2)) + 1;
    if (FRows.size() < need) FRows.resize(need);
    std::swap(FRows[size_t(ARow1)], FRows[size_t(ARow2)]);
}

void TGridCellStore::MoveColumn(int FromIndex, int ToIndex) {
    CheckCell(FromIndex, 0);
    CheckCell(ToIndex, 0);
    if (FromIndex == ToIndex) return;
    for (std::unique_ptr<TRow>& row : FRows) {
        if (!row) continue;
        MoveInRow(row->Texts, FromIndex, ToIndex);
        MoveInRow(row->Objects, FromIndex, ToIndex);
    }
}

// =============================================================================================
// TStringGridStrings

TStringGridStrings::TStringGridStrings(TStringGrid* AGrid, bool AIsRow, int AIndex)
    : FGrid(AGrid), FIsRow(AIsRow), FIndex(AIndex) {}

int TStringGridStrings::Count() const {
    return FIsRow ? FGrid->ColCount() : FGrid->RowCount();
}

TGridCoord TStringGridStrings::CellOf(int Index) const {
    if (Index < 0 || Index >= Count()) throw EInvalidGridOperation(SIndexOutOfRange);
    return FIsRow ? TGridCoord(Index, FIndex) : TGridCoord(FIndex, Index);
}

String TStringGridStrings::Strings(int Index) const {
    const TGridCoord c = CellOf(Index);
    return FGrid->Cells(c.X, c.Y);
}

void TStringGridStrings::SetStrings(int Index, const String& S) {
    const TGridCoord c = CellOf(Index);
    FGrid->SetCells(c.X, c.Y, S);
}

TObject* TStringGridStrings::Objects(int Index) const {
    const TGridCoord c = CellOf(Index);
    return FGrid->Objects(c.X, c.Y);
}

void TStringGridStrings::SetObjects(int Index, TObject* AObject) {
    const TGridCoord c = CellOf(Index);
    FGrid->SetObjects(c.X, c.Y, AObject);
}

void TStringGridStrings::Insert(int, const String&) {
    throw EInvalidGridOperation(QStringLiteral("Cannot insert into a row or column of a grid"));
}

void TStringGridStrings::Delete(int) {
    throw EInvalidGridOperation(QStringLiteral("Cannot delete from a row or column of a grid"));
}

void TStringGridStrings::Clear() {
    for (int i = 0, n = Count(); i < n; ++i) {
        SetStrings(i, String());
        SetObjects(i, nullptr);
    }
}

void TStringGridStrings::Assign(TPersistent* Source) {
    auto* src = dynamic_cast<TStrings*>(Source);
    if (!src) {
        TStrings::Assign(Source);
        return;
    }
    const int n = Count(), m = src->Count();
    for (int i = 0; i < n; ++i) {
        SetStrings(i, i < m ? src->Strings(i) : String());
        SetObjects(i, i < m ? src->Objects(i) : nullptr);
    }
}

// =============================================================================================
// TDrawGrid

bool TDrawGrid::SelectCell(int ACol, int ARow) {
    bool result = TCustomGrid::SelectCell(ACol, ARow);
    if (Assigned(OnSelectCell)) OnSelectCell(this, ACol, ARow, result);
    return result;
}

void TDrawGrid::DrawCell(int ACol, int ARow, TRect ARect, TGridDrawState AState) {
    if (Assigned(OnDrawCell)) OnDrawCell(this, ACol, ARow, ARect, AState);
}

void TDrawGrid::TopLeftChanged() {
    TCustomGrid::TopLeftChanged();
    if (Assigned(OnTopLeftChanged)) OnTopLeftChanged(this);
}

void TDrawGrid::ColumnMoved(int FromIndex, int ToIndex) {
    if (Assigned(OnColumnMoved)) OnColumnMoved(this, FromIndex, ToIndex);
}

void TDrawGrid::RowMoved(int FromIndex, int ToIndex) {
    if (Assigned(OnRowMoved)) OnRowMoved(this, FromIndex, ToIndex);
}

String TDrawGrid::GetEditMask(int ACol, int ARow) {
    String result;
    if (Assigned(OnGetEditMask)) OnGetEditMask(this, ACol, ARow, result);
    return result;
}

String TDrawGrid::GetEditText(int ACol, int ARow) {
    String result;
    if (Assigned(OnGetEditText)) OnGetEditText(this, ACol, ARow, result);
    return result;
}

void TDrawGrid::SetEditText(int ACol, int ARow, const String& Value) {
    if (Assigned(OnSetEditText)) OnSetEditText(this, ACol, ARow, Value);
}

// =============================================================================================
// TStringGrid

TStringGrid::TStringGrid(TComponent* AOwner) : TDrawGrid(AOwner) {}

TStringGrid::~TStringGrid() = default;

String TStringGrid::Cells(int ACol, int ARow) const {
    return FStore.Text(ACol, ARow);
}

void TStringGrid::SetCells(int ACol, int ARow, const String& Value) {
    FStore.SetText(ACol, ARow, Value, ColCount());
    // The editor shows the cell: it shows the new text (unless it is writing it back itself).
    if (FEditUpdate == 0 && EditorMode() && EditorShowsCell(ACol, ARow)) InvalidateEditor();
    InvalidateCell(ACol, ARow);
}

void TStringGrid::SwapStoredRows(int ARow1, int ARow2) {
    FStore.SwapRows(ARow1, ARow2);
    if (FEditUpdate == 0 && EditorMode() && (EditorShowsCell(Col(), ARow1) || EditorShowsCell(Col(), ARow2)))
        InvalidateEditor();
    InvalidateRow(ARow1);
    InvalidateRow(ARow2);
}

TObject* TStringGrid::Objects(int ACol, int ARow) const {
    return FStore.Object(ACol, ARow);
}

void TStringGrid::SetObjects(int ACol, int ARow, TObject* Value) {
    FStore.SetObject(ACol, ARow, Value);
}

TStrings* TStringGrid::Rows(int Index) {
    CheckCell(0, Index);
    TView& v = FRowViews[Index];
    if (!v) v.reset(new TStringGridStrings(this, true, Index));
    return v.get();
}

void TStringGrid::SetRows(int Index, TStrings* Value) {
    Rows(Index)->Assign(Value);
}

TStrings* TStringGrid::Cols(int Index) {
    CheckCell(Index, 0);
    TView& v = FColViews[Index];
    if (!v) v.reset(new TStringGridStrings(this, false, Index));
    return v.get();
}

void TStringGrid::SetCols(int Index, TStrings* Value) {
    Cols(Index)->Assign(Value);
}

void TStringGrid::DrawCell(int ACol, int ARow, TRect ARect, TGridDrawState AState) {
    if (DefaultDrawing()) {
        TCanvas* c = Canvas();
        const String text = Cells(ACol, ARow);
        const int x = UseRightToLeftAlignment() ? ARect.Right - 2 - c->TextWidth(text) : ARect.Left + 2;
        c->TextRect(ARect, x, ARect.Top + 2, text);
    }
    TDrawGrid::DrawCell(ACol, ARow, ARect, AState);
}

void TStringGrid::ColumnMoved(int FromIndex, int ToIndex) {
    FStore.MoveColumn(FromIndex, ToIndex);
    InvalidateGrid();
    TDrawGrid::ColumnMoved(FromIndex, ToIndex);
}

void TStringGrid::RowMoved(int FromIndex, int ToIndex) {
    FStore.MoveRow(FromIndex, ToIndex);
    InvalidateGrid();
    TDrawGrid::RowMoved(FromIndex, ToIndex);
}

String TStringGrid::GetEditText(int ACol, int ARow) {
    String result = Cells(ACol, ARow);
    if (Assigned(OnGetEditText)) OnGetEditText(this, ACol, ARow, result);
    return result;
}

void TStringGrid::SetEditText(int ACol, int ARow, const String& Value) {
    struct TGuard {
        int& Level;
        explicit TGuard(int& L) : Level(L) { ++Level; }
        ~TGuard() { --Level; }
    } guard(FEditUpdate);
    SetCells(ACol, ARow, Value);
    TDrawGrid::SetEditText(ACol, ARow, Value);
}
