// TAdvStringGrid: grouping rows by the values of a column. Grouping takes the grouped column out
// of the grid and puts it back, so it waits for the grid's column insertion and removal: until
// those are part of the grid, grouping and sub-grouping leave the rows as they are.
#include "AdvGrid.h"

void TAdvStringGrid::SetGroupColumn(int Value) {
    if (Value == -1)
        UnGroup();
    else if (Value > 0)
        Group(Value);
}

void TAdvStringGrid::Group(int) {}

void TAdvStringGrid::UnGroup() {}

void TAdvStringGrid::SubGroup(int) {}

void TAdvStringGrid::SubUnGroup(int) {}
