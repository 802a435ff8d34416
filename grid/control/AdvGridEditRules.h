// Small rules the grid's editing, Enter advance and keyboard files share.
#pragma once

#include "AdvGrid.h"

// The editor kinds the platform grid's text editor serves.
bool IsTextEditorKind(TEditorType Kind);
// The nine kinds edited by a drop-down editor (OpenDropDownEditor).
bool IsDropDownKind(TEditorType Kind);
// Switches one of the grid's options on or off.
void SwitchGridOption(TAdvStringGrid* Grid, TGridOption Option, bool On);
// The integer a spin or track-bar editor opens on: the digits before the first character that
// does not belong to a number, 0 when there are none.
int LeadingInt(const String& Text);
