// TAdvStringGrid: search. Not built yet: nothing is found and no text carries marks.
#include "AdvGrid.h"

int TAdvStringGrid::Search(const String&) {
    return -1;
}

String TAdvStringGrid::UnMarkText(const String& Text) {
    return Text;
}

// The finder and the highlighting the search footer drives.
TPoint TAdvStringGrid::Find(TPoint, const String&, const TFindParams& FindParams) {
    FFindParams = FindParams;
    return TPoint(-1, -1);
}

void TAdvStringGrid::HilightInGrid(bool, bool, const String&) {}

void TAdvStringGrid::HilightInCol(bool, bool, int, const String&) {}

void TAdvStringGrid::UnHilightInGrid(bool) {}

void TAdvStringGrid::UnHilightInCol(bool, int) {}
