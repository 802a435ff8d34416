// What the grid's editor controls share that reaches into the grid's protected edit state: the
// validation of an edited text, the Tab and cursor walks out of a cell, the move after a key
// that ended an edit, the held-back change notifications and the caret placed at a click.
#pragma once

#include "Controls.h"

class TAdvStringGrid;
class TCustomEdit;

struct TGridEditorSupport {
    // The grid's current cell takes Text, which the grid then validates. FNewCellText is the
    // text unless a validation runs and says otherwise.
    static bool ValidateText(TAdvStringGrid* Grid, const String& Text);
    // The text a validation left (the handler's value after a refusal).
    static String NewCellText(TAdvStringGrid* Grid);
    // Tab with goTabs: the editor closes and the grid moves to the next (Shift: previous) cell.
    static void TabOn(TAdvStringGrid* Grid, TShiftState Shift);
    static void CursorWalk(TAdvStringGrid* Grid, const String& Text, bool Left);
    // The grid moves on after a key that ended an edit; after Enter (not Esc) with
    // AdvanceOnEnter and AdvanceAutoEdit the editor opens on the new cell.
    static void MovesOn(TAdvStringGrid* Grid, Word Key, TShiftState Shift);
    static void AdvanceAfterEnter(TAdvStringGrid* Grid);
    static void TabAdvance(TAdvStringGrid* Grid, TShiftState Shift);
    // The current cell gets the text it had when the edit started back.
    static void RestoreCellCache(TAdvStringGrid* Grid);
    // After an edit that a left click started: the caret of Edit goes to the character under the
    // mouse (no selection) when the mouse is inside it and a character is found there; the
    // grid's click flag is then cleared. False when nothing was placed.
    static bool CaretAtClick(TAdvStringGrid* Grid, TCustomEdit* Edit);
};
