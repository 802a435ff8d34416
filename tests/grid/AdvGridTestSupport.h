// A grid control for tests that need no window: made with the counts asked for, freed at the
// end of the scope.
#pragma once

#include "AdvGrid.h"

#include <memory>

struct TFreeAdvGrid {
    void operator()(TAdvStringGrid* G) const { TObject::Free(G); }
};
using TAdvGridPtr = std::unique_ptr<TAdvStringGrid, TFreeAdvGrid>;

inline TAdvGridPtr MakeAdvGrid(int Cols, int Rows) {
    TAdvGridPtr g(new TAdvStringGrid(nullptr));
    g->SetColCount(Cols);
    g->SetRowCount(Rows);
    return g;
}
