// What the grid's source files share and nothing else uses: the messages of its errors, the
// index shift of a move and the room a cell takes.
#pragma once

#include "Grids.h"
#include "System.h"

#include <algorithm>
#include <vector>

namespace GridsPrivate {

inline const String SIndexOutOfRange = QStringLiteral("Grid index out of range");
inline const String SFixedColTooBig = QStringLiteral("Fixed column count must be less than column count");
inline const String SFixedRowTooBig = QStringLiteral("Fixed row count must be less than row count");
inline const String SGridTooLarge = QStringLiteral("Grid too large for operation");

// Moves the item at From to To; the items between close the gap or open one.
template <class T> void MoveItem(std::vector<T>& Items, size_t From, size_t To) {
    if (From == To) return;
    if (From < To)
        std::rotate(Items.begin() + long(From), Items.begin() + long(From) + 1, Items.begin() + long(To) + 1);
    else
        std::rotate(Items.begin() + long(To), Items.begin() + long(From), Items.begin() + long(From) + 1);
}

// Where an index goes when the item at From moves to To.
inline void ShiftIndex(int& Index, int From, int To) {
    if (Index == From)
        Index = To;
    else if (From < To && Index > From && Index <= To)
        --Index;
    else if (To < From && Index >= To && Index < From)
        ++Index;
}

// The room a column or row takes with its grid line (none for a hidden one, of negative size).
inline long long CellExtent(const TGridExtents& Extents, int Index, int LineWidth) {
    const int s = Extents.Size(Index);
    return s < 0 ? 0 : (long long)s + LineWidth;
}

} // namespace GridsPrivate
