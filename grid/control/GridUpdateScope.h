// An update bracket of the grid control (BeginUpdate ... EndUpdate) that ends also when an
// exception passes.
#pragma once

#include "AdvGrid.h"

class TGridUpdateScope {
public:
    explicit TGridUpdateScope(TAdvStringGrid* Grid) : FGrid(Grid) { FGrid->BeginUpdate(); }
    ~TGridUpdateScope() { FGrid->EndUpdate(); }
    TGridUpdateScope(const TGridUpdateScope&) = delete;
    TGridUpdateScope& operator=(const TGridUpdateScope&) = delete;

private:
    TAdvStringGrid* FGrid;
};
