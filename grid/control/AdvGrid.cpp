// TAdvStringGrid: construction and life cycle.
#include "AdvGrid.h"

TAdvStringGrid::TAdvStringGrid(TComponent* AOwner) : TBaseGrid(AOwner) {}

TAdvStringGrid::~TAdvStringGrid() = default;
