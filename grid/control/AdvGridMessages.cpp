// TAdvStringGrid: the messages between key presses and clicks: the grid timer (incremental-search
// reset, hover selection, blinking text), the cursor, the focus, the size, and two small overrides.
#include "AdvGrid.h"
#include "GridFooterPanel.h"

#include "AdvInplaceEdit.h"
#include "Forms.h"
#include "ScrollInfo.h"
#include "GridUtil.h"

#include <QCursor>
#include <QWidget>

#include <cmath>

// ---------------------------------------------------------------------------------------------
// The grid timer

void TAdvStringGrid::WMTimer(TWMTimer& Message) {
    if (UINT_PTR(Message.TimerID) != GridTimerId) {
        TBaseGrid::Dispatch(Message.Message());
        return;
    }
    ++FTimerTicks;
    // The incremental search forgets its text between 1.5 and 2 seconds after the last key.
    if (FNavigation->AutoGotoIncremental) IncrSearchTick();
    // Hover selection: the current cell follows the resting pointer.
    if (Hovering && !ComponentState().count(csDesigning) && HandleAllocated()) {
        const TPoint pt = Mouse->CursorPos();
        if (WindowFromPoint(pt) == Handle()) {
            const TPoint cp = ScreenToClient(pt);
            const TRect cr = ClientRect();
            if (cp.X >= cr.Left && cp.X < cr.Right && cp.Y >= cr.Top && cp.Y < cr.Bottom) {
                int c = -1, r = -1;
                MouseToCell(cp.X, cp.Y, c, r);
                if (c >= FixedCols() && c < ColCount() && r >= FixedRows() && r < RowCount()) {
                    if (CanFocus()) SetFocus();
                    SetRow(r);
                    SetCol(c);
                }
            }
        }
    }
    if (EnableBlink) {
        FGridBlink = !FGridBlink;
        FBlinkState = FGridBlink;
        RepaintBlinkingCells();
    }
}

void TAdvStringGrid::RepaintBlinkingCells() {
    const auto repaintIfBlinking = [this](int RealCol, int ARow) {
        if (RealCol < 0 || ARow < 0 || ARow >= RowCount() || RealCol >= TotalColCount()) return;
        if (UpperCasePos(QStringLiteral("<BLI"), Cells(RealCol, ARow)) > 0)
            RepaintCell(DisplColIndex(RealCol), ARow);
    };
    const int top = TopRow(), rows = VisibleRowCount();
    const int left = LeftCol(), cols = VisibleColCount();
    for (int r = top; r < top + rows; ++r)
        for (int c = left; c < left + cols + NumHiddenColumns(); ++c) repaintIfBlinking(c, r);
    for (int r = 0; r < FixedRows(); ++r)
        for (int c = left; c < left + cols; ++c) repaintIfBlinking(c, r);
    for (int c = 0; c < FixedCols(); ++c)
        for (int r = top; r < top + rows; ++r) repaintIfBlinking(c, r);
}

// ---------------------------------------------------------------------------------------------
// The cursor

void TAdvStringGrid::ShowGridCursor(TCursor Cursor) {
    RegisterGridCursors();
    if (QWidget* w = WidgetIfAllocated(); w && Screen) w->setCursor(Screen->Cursors(Cursor));
}

void TAdvStringGrid::WMSetCursor(TMessage& Message) {
    const TPoint p = HandleAllocated() ? ScreenToClient(Mouse->CursorPos()) : TPoint(0, 0);
    const bool sizing = FGridState == gsRowSizing || FGridState == gsColSizing;
    if (FMouseSelectMode != msNormal && !sizing) {
        switch (FMouseSelectMode) {
            case msColumn: ShowGridCursor(crColSelect); break;
            case msRow: ShowGridCursor(crRowSelect); break;
            case msAll:
            case msResize: ShowGridCursor(crAllSelect); break;
            default: break; // msURL: the pointer move has set the control's cursor
        }
        Message.Result = 1;
    } else if (FCellSelectorMode) {
        ShowGridCursor(crCellSelector);
        Message.Result = 1;
    } else {
        TBaseGrid::Dispatch(Message);
        int c = -1, r = -1;
        MouseToCell(p.X, p.Y, c, r);
        if (c >= 0 && r >= 0) GetCellCursor(c, r, p.X, p.Y);
    }
    if (FSizeFixed || FSizingFixed)
        ShowGridCursor(crHSplit);
    else if (FSizeFixedR || FSizingFixedR)
        ShowGridCursor(crVSplit);
}

// ---------------------------------------------------------------------------------------------
// The focus

// The whole merged area of the current cell.
static TRect MergedArea(TAdvStringGrid* G) {
    const TPoint span = G->CellSpan(G->Col(), G->Row());
    return TRect(G->Col(), G->Row(), G->Col() + span.X, G->Row() + span.Y);
}

void TAdvStringGrid::WMSetFocus(TWMSetFocus& Message) {
    if (InvokedFocusChange) return;
    TBaseGrid::Dispatch(Message.Message());
    const int c = Col(), r = Row();
    if (HasCheckBox(c, r)) return;
    if (FNavigation->AlwaysEdit && c >= LeftCol() && c < LeftCol() + VisibleColCount() && r >= TopRow() &&
        r < TopRow() + VisibleRowCount()) {
        bool canEdit = true;
        QueryCanEdit(c, r, canEdit);
        if (canEdit) {
            if (TAdvInplaceEdit* ed = NormalEdit()) {
                const HWND from = HWND(Message.FocusedWnd);
                const bool fromEditor = from != 0 && ed->HandleAllocated() && from == ed->Handle();
                const bool moving = FGridState == gsColMoving || FGridState == gsRowMoving;
                if (!fromEditor && !moving && EditControl == edNormal) {
                    ShowInplaceEdit();
                    Message.Result = 0;
                    return;
                }
            } else if (!FMouseActions->DirectEdit && !FControlLook->DropDownAlwaysVisible() &&
                       HasComboBox(c, r)) {
                ShowInplaceEdit();
            }
        }
    }
    if (IsMergedCell(Col(), Row())) RepaintRect(MergedArea(this));
}

void TAdvStringGrid::WMKillFocus(TWMKillFocus& Message) {
    if (FBlockKill) {
        Message.Result = 1;
        return;
    }
    TBaseGrid::Dispatch(Message.Message());
    if (IsMergedCell(Col(), Row())) RepaintRect(MergedArea(this));
    if (FCtrlDown) {
        FCtrlDown = false;
        RepaintCell(FCtrlXY.X, FCtrlXY.Y);
    }
}

void TAdvStringGrid::FocusEnter() {
    if (FBlockFocus) return;
    // The snapshot of the current cell is taken also when OnEnter or the check raised.
    struct TSnapshot {
        TAdvStringGrid* G;
        ~TSnapshot() { G->SaveOldCell(G->Col(), G->Row()); }
    } snapshot{this};
    TBaseGrid::DoEnter();
    if (Options().count(goEditing) || FMouseActions->RangeSelectAndEdit) SelectCell(Col(), Row());
}

void TAdvStringGrid::FocusExit() {
    if (FBlockKill) return;
    if (FSelChange && FMouseActions->DisjunctRowSelect()) SelectionToRowSelect(false);
    FSelChange = false;
    TBaseGrid::DoExit();
}

// ---------------------------------------------------------------------------------------------
// The size

void TAdvStringGrid::WMSize(TWMSize& Message) {
    // The search panel keeps its 32 pixels at the bottom edge once the grid has one.
    if (FSearchPanel && FSearchPanel->Visible()) {
        FSearchPanel->SetHeight(33);
        FSearchPanel->SetHeight(32);
        FSearchPanel->SetAlign(alBottom);
    }
    if (!FColumnSize) return;
    const int newWidth = Word(Message.Width);
    if (FOldSize > 0 && FColumnSize->SynchWithGrid) {
        HideInplaceEdit();
        // Always from the recorded widths, so that repeated size changes add up no truncation.
        const double factor =
            BorderStyle() == bsSingle ? (newWidth + 2.0) / FOldSize : double(newWidth) / FOldSize;
        const bool normal = FColumnSize->SynchNormalCellsOnly;
        const int from = normal ? FixedCols() : 0;
        const int to = normal ? ColCount() - FixedRightCols() - 1 : ColCount() - 1;
        for (int i = from; i <= to; ++i)
            if (i < FOrigColSizes.Count()) SetColWidths(i, int(std::trunc(FOrigColSizes.Items(i) * factor)));
    }
    bool stretched = false;
    // A stretch column that does not exist (yet) stretches nothing.
    const int stretchCol = FColumnSize->StretchColumn;
    if (FColumnSize->Stretch && (FScrollBarAlways == saNone || FScrollBarAlways == saVert) &&
        ColCount() > 0 && stretchCol >= -1 && stretchCol < ColCount()) {
        const int s = stretchCol == -1 ? ColCount() - 1 : stretchCol;
        int sum = 0;
        for (int i = 0; i < ColCount(); ++i)
            if (i != s) sum += ColWidths(i);
        if (sum < Width()) {
            StretchColumn(FColumnSize->StretchColumn);
            stretched = true;
        }
        if (FScrollBarAlways == saNone && HandleAllocated()) {
            const TScrollStyle bars = ScrollBars();
            if (bars == ssHorizontal || bars == ssBoth)
                ShowScrollBar(Handle(), SB_HORZ, ClientWidth() < sum + ColWidths(s));
            if (bars == ssVertical || bars == ssBoth)
                ShowScrollBar(Handle(), SB_VERT, VisibleRowCount() < RowCount() - FixedRows());
        }
        if (stretched && FScrollBarAlways == saNone) {
            if (OnResize) OnResize(this);
            return;
        }
    }
    TBaseGrid::Dispatch(Message.Message());
    if (FScrollProportional) {
        UpdateProportionalHScroll();
        UpdateProportionalVScroll();
    }
    if (stretched || FDisableSize) return;
    FDisableSize = true;
    struct TReset {
        bool& Flag;
        ~TReset() { Flag = false; }
    } reset{FDisableSize};
    UpdateFlatVScroll();
    UpdateFlatHScroll();
    FlatShowScrollBar(SB_HORZ, VisibleColCount() + FixedCols() < ColCount());
    FlatShowScrollBar(SB_VERT, VisibleRowCount() + FixedRows() < RowCount());
    if (HandleAllocated()) {
        const TScrollStyle bars = ScrollBars();
        if (bars != ssHorizontal && bars != ssBoth) ShowScrollBar(Handle(), SB_HORZ, false);
        if (bars != ssVertical && bars != ssBoth) ShowScrollBar(Handle(), SB_VERT, false);
    }
}

// ---------------------------------------------------------------------------------------------
// Small overrides

bool TAdvStringGrid::HasCustomCellBorders() {
    return bool(OnGetCellBorder);
}

TCanvas* TAdvStringGrid::FooterCanvas() const {
    return FFooterPanel ? FFooterPanel->Canvas() : nullptr;
}
