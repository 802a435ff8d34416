// TAdvStringGrid: tree rows. A node row carries a ctNode graphic in column 0 and covers a span
// of rows below it; collapsing moves the covered rows into the hidden-row store by their real
// index, expanding brings them back. The covered rows' column-0 NodeLevel counts the nodes that
// cover them, which is what painting indents and draws tree lines by.
#include "AdvGrid.h"

#include "GridUpdateScope.h"
#include "OSInfo.h"

#include <algorithm>

// =============================================================================================
// Queries

TCellGraphic* TAdvStringGrid::NodeGraphic(int ARow) {
    if (ARow < 0 || ARow >= RowCount()) return nullptr;
    TCellGraphic* g = GetCellGraphic(0, ARow);
    return g && g->CellType == ctNode ? g : nullptr;
}

bool TAdvStringGrid::IsNode(int ARow) {
    return NodeGraphic(ARow) != nullptr;
}

bool TAdvStringGrid::IsSummary(int ARow) {
    return ARow >= 0 && ARow < RowCount() && GetCellType(0, ARow) == ctSummary;
}

int TAdvStringGrid::GetNodeLevel(int ARow) {
    if (!IsNode(ARow)) return -1;
    return GetCellProperties(0, ARow)->NodeLevel();
}

bool TAdvStringGrid::GetNodeState(int ARow) {
    TCellGraphic* g = NodeGraphic(ARow);
    return g && g->CellBoolean;
}

void TAdvStringGrid::SetNodeState(int ARow, bool Value) {
    TCellGraphic* g = NodeGraphic(ARow);
    if (!g || g->CellBoolean == Value) return;
    if (Value)
        ContractNode(RealRowIndex(ARow));
    else
        ExpandNode(RealRowIndex(ARow));
}

int TAdvStringGrid::GetNodeSpan(int ARow) {
    TCellGraphic* g = NodeGraphic(ARow);
    return g ? g->CellIndex : -1;
}

void TAdvStringGrid::SetNodeSpan(int ARow, int Span) {
    if (TCellGraphic* g = NodeGraphic(ARow)) g->CellIndex = Span;
}

void TAdvStringGrid::UpdateNodeSpan(int ARow, int Delta) {
    if (TCellGraphic* g = NodeGraphic(ARow)) g->CellIndex += Delta;
}

int TAdvStringGrid::GetSubNodeCount(int ARow) {
    TCellGraphic* g = NodeGraphic(ARow);
    return g ? g->CellErrFrom : 0;
}

void TAdvStringGrid::UpdateSubNodeCount(int ARow, int Delta) {
    if (TCellGraphic* g = NodeGraphic(ARow)) g->CellErrFrom += Delta;
}

int TAdvStringGrid::CoveredRows(int ARow, const TCellGraphic* Node) {
    if (Node->CellIndex > 0) return Node->CellIndex;
    int next = ARow + 1;
    while (next < RowCount() && !IsNode(next)) ++next;
    return next - ARow;
}

int TAdvStringGrid::GetParentRow(int ARow) {
    if (FNumNodes == 0) return -1;
    int bound = 65535;
    int result = -1;
    if (IsNode(ARow)) {
        bound = GetNodeLevel(ARow);
        result = ARow;
    }
    // Collapsed nodes on the way up hold rows that no longer take display positions.
    int hiddenBelow = 0;
    for (int r = std::min(ARow, RowCount() - 1); r >= FixedRows(); --r) {
        TCellGraphic* g = NodeGraphic(r);
        if (!g || GetCellProperties(0, r)->NodeLevel() >= bound) continue;
        if (g->CellBoolean) hiddenBelow += g->CellIndex - 1;
        if (ARow < r + g->CellIndex - hiddenBelow) return r;
    }
    return result;
}

int TAdvStringGrid::GetNodeSpanType(int ARow) {
    if (IsNode(ARow)) return 0;
    const TCellProperties* own = CellPropsIfAny(0, ARow);
    const int level = own ? own->NodeLevel() : 0;
    if (ARow < RowCount() - 1 - FixedFooters())
        if (const TCellProperties* next = CellPropsIfAny(0, ARow + 1); next && next->NodeLevel() >= level)
            return 2;
    return 1;
}

int TAdvStringGrid::GetRowIndent(int ARow) {
    if (FNumNodes == 0 || ARow < 0) return 0;
    const TCellProperties* props = CellPropsIfAny(0, ARow);
    return props ? props->NodeLevel() * FCellNode->NodeIndent() : 0;
}

bool TAdvStringGrid::IsNodeClick(int ARow, int X) {
    if (!FMouseActions->PreciseNodeClick) return true;
    const int level = GetNodeLevel(ARow);
    const int indent = FCellNode->NodeIndent();
    // The glyph's extent and its inset from the indent, by node type.
    int extent = 4;
    int inset = 4;
    switch (FCellNode->NodeType()) {
        case cn3D:
            extent = 6;
            inset = 0;
            break;
        case cnGlyph: {
            const bool glyph = !FCellNode->ExpandGlyph()->Empty();
            extent = glyph ? FCellNode->ExpandGlyph()->Width() / 2 : 0;
            inset = glyph ? 2 : 0;
            break;
        }
        case cnLeaf:
            extent = 8;
            inset = 2;
            break;
        case cnFlat:
        case cnXP: break;
    }
    if (UseRightToLeftAlignment()) {
        const int bar = VisibleRowCount() + FixedRows() < RowCount() ? GetSystemMetrics(SM_CXVSCROLL) : 0;
        const int w = Width();
        return w - level * indent - extent - 2 <= X + bar && X + bar < w - (level - 1) * indent;
    }
    return inset + (level - 1) * indent < X && X < extent + level * indent;
}

// =============================================================================================
// Adding and removing nodes

void TAdvStringGrid::ChangeNodeLevels(int ARow, int Count, int Delta) {
    const int last = std::min(ARow + Count, RowCount()) - 1;
    for (int r = std::max(ARow, 0); r <= last; ++r) {
        TCellProperties* props = GetCellProperties(0, r);
        props->SetNodeLevel(std::max(props->NodeLevel() + Delta, 0));
    }
}

void TAdvStringGrid::AddNode(int ARow, int Span) {
    const int d = DisplRowIndex(ARow);
    if (ARow < 0 || IsHiddenRow(ARow) || d >= RowCount()) return;
    TCellGraphic* g = CreateCellGraphic(0, d);
    g->CellType = ctNode;
    g->CellBoolean = false;
    g->CellIndex = Span;
    g->CellErrFrom = 0;
    g->CellAngle = d;
    g->CellVar = -1;
    g->CellHAlign = haBeforeText;
    g->CellVAlign = vaCenter;
    ChangeNodeLevels(d, Span, 1);
    if (FNumNodes == 0) InvalidateCol(0);
    ++FNumNodes;
    if (Col() == 0 && ColCount() > 1) SetCol(1);
}

void TAdvStringGrid::RemoveNode(int ARow) {
    if (IsHiddenRow(ARow)) return;
    const int d = DisplRowIndex(ARow);
    TCellGraphic* g = NodeGraphic(d);
    if (!g) return;
    ExpandNodeRows(ARow);
    ChangeNodeLevels(d, g->CellIndex, -1);
    RemoveCellGraphic(0, d);
    FNumNodes = std::max(FNumNodes - 1, 0);
}

void TAdvStringGrid::RemoveAllNodes() {
    for (int r = 0; r < RowCount(); ++r) {
        if (!IsNode(r)) continue;
        ExpandNodeRows(RealRowIndex(r));
        // Nested nodes, met later, lower their own spans again.
        ChangeNodeLevels(r, GetNodeSpan(r), -1);
        RemoveCellGraphic(0, r);
    }
    FNumNodes = 0;
    Invalidate();
}

void TAdvStringGrid::MarkSummaryRow(int ARow) {
    const int d = DisplRowIndex(ARow);
    if (ARow < 0 || IsHiddenRow(ARow) || d >= RowCount()) return;
    CreateCellGraphic(0, d)->CellType = ctSummary;
}

// =============================================================================================
// Expanding and collapsing

void TAdvStringGrid::ExpandNodeRows(int ARow) {
    if (IsHiddenRow(ARow)) return;
    const int d = DisplRowIndex(ARow);
    TCellGraphic* g = NodeGraphic(d);
    if (!g || !g->CellBoolean) return;
    g->CellBoolean = false;
    // The hidden rows between the node and the next shown row (for span 0: the next node row).
    int next = d + 1;
    if (g->CellIndex == 0)
        while (next < RowCount() && !IsNode(next)) ++next;
    const int end = next < RowCount() ? RealRowIndex(next) : TotalRowCount();
    if (end <= ARow + 1) return;

    // Row selection would follow the inserted rows: it is off while they come back.
    const bool disjunct = FMouseActions->DisjunctRowSelectDirect();
    const TGridOptions options = Options();
    const bool rowSelect = options.count(goRowSelect) != 0;
    const bool locked = FControlList->Count() == 0;
    const int oldRow = Row();
    const int oldTop = TopRow();
    struct TRestore {
        TAdvStringGrid* G;
        bool Disjunct, RowSelect, Locked;
        TGridOptions Options;
        int OldRow, OldTop;
        ~TRestore() {
            G->FMouseActions->SetDisjunctRowSelectDirect(Disjunct);
            if (RowSelect) {
                G->SetOptions(Options);
                if (OldRow >= G->FixedRows() && OldRow < G->RowCount()) G->SetRow(OldRow);
                G->SetTopRow(OldTop);
            }
            if (Locked) G->EndUpdate();
        }
    } restore{this, disjunct, rowSelect, locked, options, oldRow, oldTop};
    FMouseActions->SetDisjunctRowSelectDirect(false);
    if (rowSelect) {
        TGridOptions without = options;
        without.erase(goRowSelect);
        SetOptions(without);
    }
    if (locked) BeginUpdate();
    UnHideRows(ARow + 1, end - 1);
}

void TAdvStringGrid::ExpandNode(int ARow) {
    if (FCellNode->ExpandOne)
        for (int r = FixedRows(); r < RowCount(); ++r)
            if (TCellGraphic* g = NodeGraphic(r); g && !g->CellBoolean && RealRowIndex(r) != ARow)
                ContractNode(RealRowIndex(r));
    ExpandNodeRows(ARow);
    CalcFooter(-1);
}

void TAdvStringGrid::ContractNode(int ARow) {
    if (EditorMode()) SetEditorMode(false);
    if (IsHiddenRow(ARow)) return;
    const int d = DisplRowIndex(ARow);
    TCellGraphic* g = NodeGraphic(d);
    if (!g || g->CellBoolean) return;
    g->CellBoolean = true;
    if (g->CellIndex > 0) {
        // The span counts real rows. Collapsed nodes inside come back expanded with this one, so
        // their rows stay where they are and only their flag is cleared.
        const int last = ARow + g->CellIndex - 1;
        for (int r = d + 1; r < RowCount() && RealRowIndex(r) <= last; ++r)
            if (TCellGraphic* inner = NodeGraphic(r)) inner->CellBoolean = false;
        HideRows(ARow + 1, last);
    } else {
        const int covered = CoveredRows(d, g);
        if (covered > 1) HideRows(ARow + 1, RealRowIndex(d + covered - 1));
    }
    CalcFooter(-1);
}

void TAdvStringGrid::ExpandAll() {
    TGridUpdateScope update(this);
    // Real rows, top down: an outer node shows its rows before the nodes among them are met.
    for (int r = FixedRows(); r < TotalRowCount(); ++r) {
        TCellGraphic* g = GraphicOfRealRow(0, r);
        if (!g || g->CellType != ctNode) continue;
        ExpandNodeRows(r);
        g->CellBoolean = false;
    }
    CalcFooter(-1);
}

void TAdvStringGrid::ContractAll() {
    TGridUpdateScope update(this);
    ExpandAll();
    TOwned<TIntList> rows(new TIntList(0, 0));
    for (int r = FixedRows(); r < RowCount();) {
        TCellGraphic* g = NodeGraphic(r);
        if (!g) {
            ++r;
            continue;
        }
        g->CellBoolean = true;
        const int covered = CoveredRows(r, g);
        for (int k = r + 1; k < std::min(r + covered, RowCount()); ++k) rows->Add(k);
        r += std::max(covered, 1);
    }
    HideRowList(rows.get());
    CellControlsUpdate(false);
    CalcFooter(-1);
}

// =============================================================================================
// Rows inside the tree

void TAdvStringGrid::ShiftHiddenRowsDown(int ARow) {
    for (int i = 0; i < FGridItems->Count(); ++i) {
        TGridItem* item = FGridItems->Items(i);
        if (item->Idx() >= ARow) item->SetIdx(item->Idx() + 1);
    }
}

void TAdvStringGrid::InsertNormalRow(int ARow) {
    if (ARow < 0) return;
    const int d = DisplRowIndex(ARow);
    InsertRows(d, 1, true);
    ShiftHiddenRowsDown(ARow + 1);
}

void TAdvStringGrid::RemoveNormalRow(int ARow) {
    if (ARow < 0 || ARow >= RowCount()) return;
    RemoveRows(ARow, 1);
    FMaxRowCount = std::max(FMaxRowCount - 1, 0);
}

void TAdvStringGrid::InsertChildRow(int ARow, int InsertAt) {
    if (ARow < 0 || IsHiddenRow(ARow) || DisplRowIndex(ARow) >= RowCount()) return;
    // A node that takes the row: span and sub-node count grow, it is expanded, and its display
    // row is answered (expanding may move it).
    auto grow = [this](int Node) {
        UpdateNodeSpan(Node, 1);
        UpdateSubNodeCount(Node, 1);
        const int real = RealRowIndex(Node);
        ExpandNodeRows(real);
        return DisplRowIndex(real);
    };
    int p = GetParentRow(DisplRowIndex(ARow));
    if (p >= 0) {
        p = grow(p);
        const int parentReal = RealRowIndex(p);
        // The nodes around the parent grow with it.
        for (int q = p, level = GetNodeLevel(p); level > 1;) {
            const int outer = GetParentRow(q);
            if (outer < FixedRows() || outer == q) break;
            q = grow(outer);
            level = GetNodeLevel(q);
        }
        p = DisplRowIndex(parentReal);
    }
    // Expanding may have moved the row.
    const int d = DisplRowIndex(ARow);
    const bool underNode = IsNode(d) && InsertAt == 0;
    const int at = underNode ? d + 1 : std::min(d + std::max(InsertAt, 0), RowCount());
    // Hidden rows before the new row's place stay where they are; those after it move down.
    const int realAt = at < RowCount() ? RealRowIndex(at) : TotalRowCount();
    InsertRows(at, 1, true);
    ShiftHiddenRowsDown(realAt);
    if (underNode) {
        // The node row's texts and cell objects (column 0's stays) go into the new row.
        const int cols = TotalColCount();
        for (int c = 0; c < cols; ++c) {
            SetCells(c, at, Cells(c, d));
            SetCells(c, d, String());
            if (c == 0) continue;
            SetGridObject(c, at, Objects(c, d));
            SetObjects(c, d, nullptr);
        }
    }
    if (p >= 0) GetCellProperties(0, at)->SetNodeLevel(GetCellProperties(0, p)->NodeLevel());
}

// A row left the node: its span falls, and its sub-node count while it counts any.
void TAdvStringGrid::ShrinkNode(int ARow) {
    UpdateNodeSpan(ARow, -1);
    if (GetSubNodeCount(ARow) > 0) UpdateSubNodeCount(ARow, -1);
}

void TAdvStringGrid::RemoveChildRow(int ARow) {
    if (ARow < 0 || IsHiddenRow(ARow) || DisplRowIndex(ARow) >= RowCount()) return;
    int p = GetParentRow(DisplRowIndex(ARow));
    if (p >= 0 && p != DisplRowIndex(ARow)) {
        const int bound = GetNodeLevel(p);
        if (GetNodeSpan(p) > 1) ShrinkNode(p);
        for (;;) {
            const int pReal = RealRowIndex(p);
            ExpandNodeRows(pReal);
            p = DisplRowIndex(pReal);
            if (GetNodeLevel(p) <= 1) break;
            const int outer = GetParentRow(p);
            if (outer < 0 || outer == p || GetNodeLevel(outer) >= bound) break;
            p = outer;
            if (GetNodeSpan(p) > 1) ShrinkNode(p);
        }
    }
    // The row leaves with its cell objects and controls; the rows and hidden rows below move up.
    RemoveRows(DisplRowIndex(ARow), 1);
    FMaxRowCount = std::max(FMaxRowCount - 1, 0);
}
