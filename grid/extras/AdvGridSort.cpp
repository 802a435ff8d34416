// TAdvStringGrid: sorting. Not built yet: the rows keep their order.
#include "AdvGrid.h"

void TAdvStringGrid::QSort() {}

void TAdvStringGrid::QSortIndexed() {}

void TAdvStringGrid::QSortGroup() {}

void TAdvStringGrid::QSortGroupIndexed() {}

void TAdvStringGrid::QUnSort() {}
