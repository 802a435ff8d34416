// Small settings objects and event types of the grid's structure: how column widths are sized,
// kept and stretched (TColumnSize), how the editor grows while typing (TSizeWhileTyping), and the
// events that report changed cells and a changed current row.
#pragma once

#include "Classes.h"
#include "Types.h"

enum TColumnSizeLocation { clRegistry, clIniFile };
enum TAutoSizeRows { arAll, arNormal, arFixed };

// Sender, the changed block of cells (columns as real indexes).
using TCellsChangedEvent = TEvent<TObject* /*Sender*/, TRect /*R*/>;
using TRowChangedEvent = TEvent<TObject* /*Sender*/, int /*OldRow*/, int /*NewRow*/>;

class TColumnSize : public TPersistent {
public:
    explicit TColumnSize(TComponent* AOwner) : FOwner(AOwner) {}

    TComponent* Owner() const { return FOwner; }
    bool Save = false;    // save and restore column widths
    String Key;           // registry key or INI file name
    String Section;       // registry value group or INI section
    bool Stretch = false; // one column takes the width left over
    // Sets Stretch; with the owner grid on a window the stretch column is sized at once (an
    // index past the last column raises "Stretch column index out of range").
    void SetStretch(bool Value);
    int StretchColumn = -1; // the column that stretches; -1 the last
    bool SynchWithGrid = false;
    bool SynchNormalCellsOnly = false;
    TColumnSizeLocation Location = clRegistry;
    TAutoSizeRows Rows = arAll;

    // From another TColumnSize every field but the owner; from anything else nothing.
    void Assign(TPersistent* Source) override;

private:
    TComponent* FOwner;
};

class TSizeWhileTyping : public TPersistent {
public:
    bool Height = false;
    bool Width = false;
};
