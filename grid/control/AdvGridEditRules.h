// Small rules the grid's editing, Enter advance and keyboard files share.
#pragma once

#include "AdvGrid.h"

// The editor kinds the platform grid's text editor serves.
bool IsTextEditorKind(TEditorType Kind);
// Switches one of the grid's options on or off.
void SwitchGridOption(TAdvStringGrid* Grid, TGridOption Option, bool On);
