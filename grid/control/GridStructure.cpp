// The structure's settings objects.
#include "GridStructure.h"

void TColumnSize::Assign(TPersistent* Source) {
    auto* src = dynamic_cast<TColumnSize*>(Source);
    if (!src) return;
    Save = src->Save;
    Key = src->Key;
    Section = src->Section;
    Stretch = src->Stretch;
    StretchColumn = src->StretchColumn;
    SynchWithGrid = src->SynchWithGrid;
    SynchNormalCellsOnly = src->SynchNormalCellsOnly;
    Location = src->Location;
    Rows = src->Rows;
}
