// Undo and redo of the grid's cell changes: single changes and marked sequences, played back
// through the grid's base-cell text access.
#include "BaseGrid.h"

#include <algorithm>

TAdvGridUndoRedo::TAdvGridUndoRedo(TComponent* AOwner)
    : TComponent(AOwner), FItems(new TUndoRedoCollection()) {}

TAdvGridUndoRedo::~TAdvGridUndoRedo() {
    TObject::Free(FItems);
}

void TAdvGridUndoRedo::SetGrid(TBaseGrid* Value) {
    if (FGrid == Value) return;
    if (FGrid) RemoveFreeNotification(FGrid);
    FGrid = Value;
    if (FGrid) FreeNotification(FGrid);
}

void TAdvGridUndoRedo::Notification(TComponent* AComponent, TOperation Operation) {
    if (Operation == opRemove && AComponent && AComponent == FGrid) FGrid = nullptr;
    TComponent::Notification(AComponent, Operation);
}

void TAdvGridUndoRedo::RegisterChange(int ACol, int ARow, const String& OldValue, const String& NewValue) {
    if (MaxLevel > 0 && FItems->Count() >= MaxLevel) FItems->Delete(0);
    TUndoRedoItem* item = FItems->Add();
    item->Col = ACol;
    item->Row = ARow;
    item->Value = NewValue;
    item->OrigValue = OldValue;
    Level = FItems->Count();
}

void TAdvGridUndoRedo::AddMarker(bool Start) {
    TUndoRedoItem* item = FItems->Add();
    item->Col = -1;
    item->Row = -1;
    item->SequenceStart = Start;
    item->SequenceStop = !Start;
    Level = FItems->Count();
}

void TAdvGridUndoRedo::StartSequence() {
    AddMarker(true);
}

void TAdvGridUndoRedo::StopSequence() {
    AddMarker(false);
}

bool TAdvGridUndoRedo::Play(TUndoRedoItem* Item, bool Undoing) {
    const int col = FGrid->DisplColIndex(Item->Col);
    // A cell that has left the grid (or a marker) cannot be made current: nothing to play.
    if (col < 0 || col >= FGrid->ColCount() || Item->Row < 0 || Item->Row >= FGrid->RowCount()) return false;
    const String& value = Undoing ? Item->OrigValue : Item->Value;
    const TAdvGridUndoRedoEvent& event = Undoing ? OnUndo : OnRedo;
    if (Assigned(event))
        event(this, FGrid, Item->Col, Item->Row, FGrid->GetCellEx(Item->Col, Item->Row), value);
    FGrid->SetCellEx(Item->Col, Item->Row, value);
    FGrid->SetCol(col);
    FGrid->SetRow(Item->Row);
    return true;
}

void TAdvGridUndoRedo::Undo() {
    if (!FGrid || Level <= 0 || FItems->Count() < Level) return;
    TUndoRedoItem* item = FItems->Items(Level - 1);
    if (item->SequenceStop) {
        // Back to the start marker; Level ends at its index (0 when the marker was dropped).
        int i = Level - 2;
        for (; i >= 0 && !FItems->Items(i)->SequenceStart; --i) Play(FItems->Items(i), true);
        Level = std::max(i, 0);
        FGrid->Invalidate();
    } else {
        if (Play(item, true)) FGrid->RepaintCell(FGrid->Col(), item->Row);
        --Level;
    }
}

void TAdvGridUndoRedo::Redo() {
    if (!FGrid || Level < 0 || Level >= FItems->Count()) return;
    TUndoRedoItem* item = FItems->Items(Level);
    if (item->SequenceStart) {
        // On to the stop marker (or the end of a sequence not closed yet).
        int i = Level + 1;
        for (; i < FItems->Count() && !FItems->Items(i)->SequenceStop; ++i) Play(FItems->Items(i), false);
        Level = std::min(i + 1, FItems->Count());
        FGrid->Invalidate();
    } else {
        Play(item, false);
        ++Level;
    }
}

void TAdvGridUndoRedo::Reset() {
    FItems->Clear();
    Level = 0;
}
