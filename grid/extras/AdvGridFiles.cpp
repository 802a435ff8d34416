// TAdvStringGrid: the grid's cell streams. Not built yet: a save writes nothing and a load reads
// nothing (so copying cells from another grid copies none).
#include "AdvGrid.h"

void TAdvStringGrid::SaveToStream(TStream*) {}

void TAdvStringGrid::LoadFromStream(TStream*) {}

void TAdvStringGrid::SaveRectToBinStream(const TRect&, TStream*) {}
