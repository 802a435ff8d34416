// TAdvStringGrid: clipboard transfers of the selection. Not built yet: the clipboard and the
// cells stay as they are.
#include "AdvGrid.h"

void TAdvStringGrid::CopySelectionToClipboard() {}

void TAdvStringGrid::CutSelectionToClipboard() {}

void TAdvStringGrid::PasteSelectionFromClipboard() {}
