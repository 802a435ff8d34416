// TAdvStringGrid: registering the grid as a drop target. No drop target is made yet: the flag
// stays False, as after a failed registration, and clearing it revokes nothing.
#include "AdvGrid.h"
#include "GridDragDrop.h"

void TAdvStringGrid::SetOleDropTarget(bool) {}
