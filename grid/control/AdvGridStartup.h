// The grid unit's start-up: the process-wide state the string grid and the column grid set up
// once, before the first window that holds a grid is made (the program's start sequence calls
// both, the string grid's first).
#pragma once

#include "Messages.h"

// The string grid's unit: the grid with a focus window forgotten, its classes registered by
// name, the common-controls flag, the clipboard format "TAdvStringGrid Cells" and the messages
// "GridEditDone" and "DTPShiftFocus". Its body runs on the first call only; a registry error
// ends the registration step and the start-up goes on.
void AdvGridUnitStartup();
// The column grid's unit: TAdvColumnGrid, TGridColumnItem and TGridColumnCollection registered
// by name; its body runs on the first call only.
void AdvColumnGridUnitStartup();

// What the start-ups stored (zero until the string grid's start-up ran).
struct TGridUnitState {
    // The common controls carry the date and time pickers (version 4.70 or later).
    bool ComCtrlOk = false;
    Cardinal CF_GRIDCELLS = 0;
    UINT GridEditDoneMessage = 0;
    UINT DTPShiftFocusMessage = 0;
    // How often each start-up's body ran (0 or 1).
    int GridStartups = 0;
    int ColumnGridStartups = 0;
};
const TGridUnitState& GridUnitState();
