// The base of a cell checker the grid can hold: the grid asks it to correct or mark the text of
// a cell when the cell is validated and in a bulk check of cells. This base changes nothing;
// descendants supply real checks.
#pragma once

#include "Classes.h"

class TAdvStringGridCheck : public TComponent {
public:
    explicit TAdvStringGridCheck(TComponent* AOwner) : TComponent(AOwner) {}

    virtual String MarkError(int ACol, int ARow, const String& S);
    virtual String Correct(int ACol, int ARow, const String& S);
    virtual void StartCheck() {}
    virtual void StopCheck() {}

    bool GotoCell = false;
    bool AutoCorrect = false;
    bool AutoMarkError = false;
    bool UseCorrect = false;
    bool UseMarkError = false;
};
