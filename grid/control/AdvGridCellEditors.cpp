// The editor controls of the grid: opening the control of the cell's editor kind over a cell
// (OpenCellEditor) and taking its value back into the cell (CloseCellEditor).
#include "AdvGrid.h"

void TAdvStringGrid::OpenCellEditor(int, int) {
    // No editor control is part of the grid yet: nothing opens and the cell is not edited.
    FEditMode = false;
    FEditing = false;
    FSpecialEditor = false;
    FEditActive = false;
    FStartEditChar = Char(u'\0');
}

void TAdvStringGrid::CloseCellEditor(int ACol, int ARow) {
    if (ComponentState().count(csDestroying)) return;
    FSpecialEditor = false;
    FBlockKill = true;
    FStartEditChar = Char(u'\0');
    if (EditControl != edNormal && FEditActive) NotifyEditingDone(RealColIndex(ACol), ARow);
    FBlockKill = false;
    FEditActive = false;
}

int TAdvStringGrid::GetComboCount() {
    return 0;
}

int TAdvStringGrid::GetComboIndex(int, int) {
    return -1;
}
