// TAdvStringGrid: search and the search panel. Not built yet: nothing is found, no text carries
// marks, and the search panel's handlers do nothing.
#include "AdvGrid.h"

int TAdvStringGrid::Search(const String&) {
    return -1;
}

String TAdvStringGrid::UnMarkText(const String& Text) {
    return Text;
}

void TAdvStringGrid::UpdateSearchPanel() {}

void TAdvStringGrid::SearchPanelEditChange(TObject*) {}

void TAdvStringGrid::SearchPanelForwardClick(TObject*) {}

void TAdvStringGrid::SearchPanelBackwardClick(TObject*) {}

void TAdvStringGrid::SearchPanelExitClick(TObject*) {}

void TAdvStringGrid::SearchPanelHighlightClick(TObject*) {}
