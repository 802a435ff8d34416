// The grid's drop source and drop target, its registration as a drop target, the column chooser
// hook and OLE's start and end for the grid unit.
#include "AdvGridDragDrop.h"

#include "AdvGrid.h"
#include "Forms.h"
#include "GridStreamIO.h"

#include <QFileInfo>

#include <algorithm>

namespace {

// A cell record of the binary cell stream takes at least this many bytes: a header asking for
// more cells than the bytes after it can hold is not believed.
constexpr qint64 MinCellRecordBytes = 8;

void ShowArrow(TArrowWindow* Arrow, int X, int Y) {
    if (!Arrow) return;
    Arrow->SetBounds(X, Y, Arrow->Width(), Arrow->Height());
    // The mark floats over everything and leaves the activation where it is.
    if (!Arrow->Visible()) ShowWindow(Arrow->Handle(), SW_SHOWNOACTIVATE);
}

void HideArrow(TArrowWindow* Arrow) {
    if (Arrow) Arrow->SetVisible(false);
}

// The kind of a file the grid loads, by its last extension.
enum class TDroppedFileKind { None, Csv, Spreadsheet };

TDroppedFileKind DroppedFileKind(const String& Name) {
    const String ext = QFileInfo(Name).suffix().toLower();
    if (ext == QLatin1String("csv")) return TDroppedFileKind::Csv;
    if (ext.startsWith(QLatin1String("xls"))) return TDroppedFileKind::Spreadsheet;
    return TDroppedFileKind::None;
}

} // namespace

// =============================================================================================
// The drop source

namespace {
TAdvStringGrid* GDraggingGrid = nullptr;
}

TGridDropSource::TGridDropSource(TAdvStringGrid* AGrid) : FGrid(AGrid) {
    if (!GDraggingGrid) GDraggingGrid = AGrid;
}

TGridDropSource::~TGridDropSource() {
    if (GDraggingGrid == FGrid) GDraggingGrid = nullptr;
}

TAdvStringGrid* TGridDropSource::DraggingGrid() {
    return GDraggingGrid;
}

void TGridDropSource::DragDropStop() {
    TASGDropSource::DragDropStop();
    if (FGrid->DragDropSettings()->ShowCells() && FGrid->MoveForm) {
        TCustomForm* form = FGrid->MoveForm;
        FGrid->MoveForm = nullptr;
        TObject::Free(form);
    }
}

void TGridDropSource::CurrentEffect(int dwEffect) {
    if (dwEffect == DROPEFFECT_MOVE || dwEffect == DROPEFFECT_COPY) FLastEffect = dwEffect;
}

void TGridDropSource::QueryDrag() {
    TPoint p;
    GetCursorPos(p);
    if (FGrid->DragDropSettings()->ShowCells()) {
        if (TCustomForm* form = FGrid->MoveForm)
            form->SetBounds(p.X + 4, p.Y + 4, form->Width(), form->Height());
    } else if (THeaderDragButton* button = FGrid->FMoveButton.get()) {
        button->SetBounds(p.X, p.Y - button->Height(), button->Width(), button->Height());
    }
}

// =============================================================================================
// The drop target

bool TGridDropTarget::AppendPosition(const TPoint& pt, int& c, int& r) const {
    TDragDropSettings* dd = FGrid->DragDropSettings();
    if (!dd->OleEntireRows() || !dd->OleAppendRows() || FGrid->RowCount() < 1) return false;
    const TRect last = FGrid->CellRect(FGrid->LeftCol(), FGrid->RowCount() - 1);
    // A last row scrolled out of view has no "below" on the screen.
    if (last.Height() <= 0) return false;
    if (FGrid->ScreenToClient(pt).Y < last.Bottom) return false;
    c = FGrid->FixedCols();
    r = FGrid->RowCount() - 1;
    return true;
}

void TGridDropTarget::HideArrows(bool Up, bool Down, bool Left, bool Button) {
    if (Up) HideArrow(FGrid->ArrowWindow(arrUp));
    if (Down) HideArrow(FGrid->ArrowWindow(arrDown));
    if (Left) HideArrow(FGrid->ArrowWindow(arrLeft));
    if (Button && FGrid->FMoveButton) FGrid->FMoveButton->Hide();
}

void TGridDropTarget::DragMouseMove(const TPoint& pt, bool& Allow, const TDropFormats& DropFormats) {
    TAdvStringGrid* g = FGrid;
    TDragDropSettings* dd = g->DragDropSettings();
    const bool isCol = DropFormats.count(dfCol) != 0;
    int c = -1, r = -1;
    g->ScreenToCell(pt, c, r);
    const TPoint p = g->ScreenToClient(pt);
    bool append = false;
    if (r == -1 && !isCol) append = AppendPosition(pt, c, r);

    Allow = c >= 0 && r >= 0;

    // Hovering near the edges scrolls: up and down at every move, sideways every other tick.
    if (Allow && !isCol) {
        if ((r == 0 && g->TopRow() > g->FixedRows()) || (p.Y < 8 && g->FixedRows() == 0 && g->TopRow() > 0))
            g->SetTopRow(g->TopRow() - 1);
        else if (r == g->TopRow() + g->VisibleRowCount() && r < g->RowCount())
            g->SetTopRow(g->TopRow() + 1);
        if (g->FTimerTicks % 2 == 0) {
            ++g->FTimerTicks;
            if (c == 0 && g->LeftCol() > g->FixedCols())
                g->SetLeftCol(g->LeftCol() - 1);
            else if (c == g->LeftCol() + g->VisibleColCount() && c < g->ColCount())
                g->SetLeftCol(g->LeftCol() + 1);
        }
    }

    if (!isCol) {
        if (r < g->FixedRows() && !(g->RowCount() == 1 && g->FixedRowAlways())) Allow = false;
    } else if (c < 0) {
        // Beyond the last column: the column goes to the end.
        c = g->ColCount();
        r = 0;
        Allow = true;
    } else {
        Allow = r < g->FixedRows() && c >= g->FixedCols();
    }

    // Rows moved within the grid cannot land inside themselves: the rows inserted there would
    // split the rows that the move then removes.
    if (Allow && !isCol && GDraggingGrid == g && dd->OleInsertRows() && dd->OleRemoveRows() &&
        r > g->FDropSelection.Top && r <= g->FDropSelection.Bottom)
        Allow = false;

    const bool files = DropFormats.count(dfFile) != 0;
    Allow = Allow || files || DropFormats.count(dfGridCells) != 0;
    if (g->OnOleDragOver) g->OnOleDragOver(g, r, c, Allow);
    Allow = Allow && ((r >= 0 && c >= 0) || files);

    if (Allow && isCol) {
        // Past the last column the marks stand at its right edge.
        const bool beyond = c >= g->ColCount();
        const TRect cr = g->CellRect(beyond ? g->ColCount() - 1 : c, r);
        const TPoint tl = g->ClientToScreen(TPoint(beyond ? cr.Right : cr.Left, cr.Top));
        ShowArrow(g->ArrowWindow(arrDown), tl.X, tl.Y - 8);
        ShowArrow(g->ArrowWindow(arrUp), tl.X, tl.Y + cr.Height());
        HideArrow(g->ArrowWindow(arrLeft));
    } else if (Allow && c >= 0 && r >= 0) {
        if (r == 0 && g->FixedRowAlways()) {
            r = 1;
            append = false;
        }
        const TRect cr = g->CellRect(dd->OleEntireRows() ? g->FixedCols() : c, r);
        const TPoint tl = g->ClientToScreen(TPoint(cr.Left, cr.Top));
        ShowArrow(g->ArrowWindow(arrLeft), tl.X - 10, tl.Y + (append ? g->RowHeights(r) : 0));
        HideArrows(true, true, false, false);
    } else {
        HideArrows(true, true, true, false);
    }
}

void TGridDropTarget::DragMouseLeave() {
    HideArrows(true, true, true, false);
}

void TGridDropTarget::DropCol(const TPoint& pt, int Col) {
    TAdvStringGrid* g = FGrid;
    int c = -1, r = -1;
    g->ScreenToCell(pt, c, r);
    if (c < 0) c = g->ColCount();
    if (DropFormats.count(dfCol)) HideArrows(true, true, false, true);

    // Moves with the enhanced move on, to a column that exists.
    auto move = [g](int From, int To) {
        To = std::min(To, g->ColCount() - 1);
        if (From < 0 || From >= g->ColCount() || To < 0 || From == To) return;
        const bool enh = g->EnhRowColMove;
        g->EnhRowColMove = true;
        try {
            g->MoveColumn(From, To);
        } catch (...) {
            g->EnhRowColMove = enh;
            throw;
        }
        g->EnhRowColMove = enh;
    };

    if (g->FOleDragCol != -1) {
        if (TCustomListBox* list = g->FOleDragList)
            if (g->FOleDragIndex >= 0 && g->FOleDragIndex < list->Items()->Count())
                list->Items()->Delete(g->FOleDragIndex);
        // The column comes back where the column order has it; a column the order does not know
        // moves nothing (not the grid's first column).
        const std::vector<int>& order = g->ColumnOrder();
        const auto it = std::find(order.begin(), order.end(), g->FOleDragCol);
        g->FOleDragCol = -1;
        if (it != order.end()) {
            const int i = int(it - order.begin());
            g->UnHideColumn(i);
            move(g->DisplColIndex(i), c);
        }
    } else if (g->DragDropSettings()->OleColumnReorder()) {
        c = std::min(c, g->ColCount() - 1);
        if (Col >= 0 && Col < g->ColCount() + g->NumHiddenColumns()) move(g->DisplColIndex(Col), c);
    }
    if (g->OnOleDropCol) g->OnOleDropCol(g, r, Col, c);
}

void TGridDropTarget::DropStream(const TPoint& pt, TMemoryStream* ms) {
    TAdvStringGrid* g = FGrid;
    int c = -1, r = -1;
    g->ScreenToCell(pt, c, r);
    HideArrows(false, true, true, true);
    // Cells dropped outside every cell have nowhere to go.
    if (c < 0 || r < 0) return;
    // The cells may come from any program: the growth the header asks for must be possible
    // with the bytes that follow it, before the grid changes.
    ms->SetPosition(0);
    {
        TGridPropIO header(nullptr);
        ReadGridPropIO(ms, &header);
        const qint64 cells = qint64(header.ColCount) * qint64(header.RowCount);
        const qint64 rest = ms->Size() - ms->Position();
        const bool fits =
            header.FullGrid || (header.ColCount <= MaxGridCols - c && header.RowCount <= MaxGridRows - r);
        if (header.ColCount < 1 || header.RowCount < 1 || !fits || cells > rest / MinCellRecordBytes)
            throw EReadError(QStringLiteral("Stream read error"));
    }
    ms->SetPosition(0);
    g->LoadAtPointFromBinStream(TPoint(c, r), ms);
    if (g->OnOleDropped) g->OnOleDropped(g, g->Selection());
}

void TGridDropTarget::DropText(const TPoint& pt, const String& s) {
    TAdvStringGrid* g = FGrid;
    TDragDropSettings* dd = g->DragDropSettings();
    int c = -1, r = -1;
    g->ScreenToCell(pt, c, r);
    bool append = false;
    if (r == -1 && !DropFormats.count(dfCol)) append = AppendPosition(pt, c, r);
    TGridRect rect = g->Selection();
    if (c < 0 || r < 0) {
        // Outside every cell: nothing to paste at.
        HideArrows(false, true, true, true);
        return;
    }
    bool allow = true;
    int w = 0, h = 0;
    g->TextBlockSize(s, w, h);
    const bool rowSelect = g->HasOption(goRowSelect);
    if (rowSelect) c = dd->OleEntireRows() ? 0 : g->FixedCols();
    if (g->OnOleDrop) g->OnOleDrop(g, r, c, s, allow);

    if (allow) {
        // Rows inserted above a selection that is being moved within the grid push it down.
        if (dd->OleInsertRows() && dd->OleRemoveRows() && r <= g->FDropSelection.Top) {
            g->FDropSelection.Top += h + 1;
            g->FDropSelection.Bottom += h + 1;
            if (g->FMouseActions->DisjunctRowSelect()) {
                TList* list = g->FSelectedRowList.get();
                if (r <= list->Count())
                    for (int i = 0; i <= h; ++i) list->Insert(r, nullptr);
            }
        }
        if (r == 0 && g->FixedRowAlways() && g->RowCount() == 1) r = 1;
        if (dd->OleInsertRows()) {
            int t = g->TopRow();
            if (append) {
                g->SetRowCount(g->RowCount() + h + 1);
                ++r;
            } else {
                g->InsertRows(r, h + 1);
            }
            if (t > g->FixedRows()) ++t;
            if (t > 0) g->SetTopRow(t);
        }
        int lines = 0, fields = 0;
        g->PasteText(c, r, lines, fields, s);
        c = std::max(c, g->FixedCols());
        const int right = rowSelect ? c + w - g->FixedCols() : c + w - 1;
        rect = TGridRect(c, r, std::min(std::max(right, c), g->ColCount() - 1),
                         std::min(r + h, g->RowCount() - 1));
        g->SetSelection(rect);
    }
    HideArrows(false, true, true, true);
    if (g->OnOleDropped) g->OnOleDropped(g, rect);
}

void TGridDropTarget::StoreAtPoint(const TPoint& pt, const String& s, bool Url) {
    TAdvStringGrid* g = FGrid;
    int c = -1, r = -1;
    g->ScreenToCell(pt, c, r);
    if (c >= 0 && r >= 0) {
        bool allow = true;
        if (Url) {
            if (g->OnOleDropURL) g->OnOleDropURL(g, r, c, s, allow);
        } else if (g->OnOleDrop) {
            g->OnOleDrop(g, r, c, s, allow);
        }
        if (allow) g->SetCellEx(c, r, s);
    }
    HideArrows(false, true, true, false);
}

void TGridDropTarget::DropRTF(const TPoint& pt, const String& s) {
    StoreAtPoint(pt, s, false);
}

void TGridDropTarget::DropURL(const TPoint& pt, const String& s) {
    StoreAtPoint(pt, s, true);
}

void TGridDropTarget::DropFiles(const TPoint& pt, TStrings* files) {
    TAdvStringGrid* g = FGrid;
    if (files && files->Count() == 1) {
        const String name = files->Strings(0);
        bool allow = true;
        if (g->OnOleDropFile) {
            int c = -1, r = -1;
            g->ScreenToCell(pt, c, r);
            g->OnOleDropFile(g, r, c, name, allow);
        }
        const TDroppedFileKind kind = DroppedFileKind(name);
        if (allow && kind != TDroppedFileKind::None) {
            if (g->OnOleDrop) g->OnOleDrop(g, -1, -1, name, allow);
            if (allow) {
                if (kind == TDroppedFileKind::Csv)
                    g->LoadFromCSV(name, -1);
                else
                    g->LoadFromXLS(name);
            }
        }
    }
    HideArrows(false, true, true, false);
}

HRESULT TGridDropTarget::Drop(IDataObject* DataObj, DWORD KeyState, const TPoint& Pt, DWORD& Effect) {
    // What a drop raises (a file that does not load, damaged cells) is reported here, and the
    // drop has no effect: the drag's source keeps its data.
    try {
        return TASGDropTarget::Drop(DataObj, KeyState, Pt, Effect);
    } catch (...) {
        Effect = DROPEFFECT_NONE;
        HideArrows(true, true, true, true);
        if (Application) Application->HandleException(FGrid);
        return S_OK;
    }
}

// =============================================================================================
// The grid

void TAdvStringGrid::SetOleDropTarget(bool Active) {
    if (Active) {
        if (FOleDropTargetAssigned) return;
        auto* target = new TGridDropTarget(this);
        target->AddRef();
        if (FDropTarget) FDropTarget->Release();
        FDropTarget = target;
        FOleDropTargetAssigned = RegisterDragDrop(Handle(), target) == S_OK;
    } else if (FOleDropTargetAssigned) {
        if (HandleAllocated()) RevokeDragDrop(Handle());
        FOleDropTargetAssigned = false;
    }
}

void TAdvStringGrid::SettingsOleDropTarget(bool Active) {
    SetOleDropTarget(Active);
}

void TAdvStringGrid::SettingsRTFDragDrop(bool Active) {
    SetRTFDragDrop(Active);
}

void TAdvStringGrid::OleColumnDragStart(int ACol, int AIndex, TCustomListBox* AList) {
    FOleDragCol = ACol;
    FOleDragIndex = AIndex;
    FOleDragList = AList;
}

void GridOleInit() {
    OleInitialize(nullptr);
}

void GridOleDone() {
    OleUninitialize();
}
