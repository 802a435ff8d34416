// TAdvStringGrid: filtering. Not built yet: no filter is applied and no filter level exists, so
// every row stays shown.
#include "AdvGrid.h"

void TAdvStringGrid::SetFilterActive(bool) {}

void TAdvStringGrid::ApplyFilter() {}

bool TAdvStringGrid::RemoveLastFilter() {
    return false;
}

void TAdvStringGrid::RemoveAllFilters() {
    while (RemoveLastFilter()) {
    }
}

void TAdvStringGrid::FilterRow(int) {}

void TAdvStringGrid::FilterSelect(TObject*, int) {}

void TAdvStringGrid::FilterCheck(TObject*, int) {}

// The filter drop-down's look changed.
void TAdvStringGrid::FilterDropDownChanged(TObject*) {
    Invalidate();
}
