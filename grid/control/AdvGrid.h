// The grid control: TAdvStringGrid, the string grid every window of the configurator uses, on the
// cell store of TBaseGrid. One class spans many topics; this header declares it whole and its
// member definitions live in AdvGrid*.cpp by topic (construction, update locking, hiding and index
// maps, structure, looks...). Each topic keeps its members in its own block below, so work on one
// topic leaves the others' lines alone.
#pragma once

#include "BaseGrid.h"

class TAdvStringGrid : public TBaseGrid {
public:
    explicit TAdvStringGrid(TComponent* AOwner);
    ~TAdvStringGrid() override;

    // ---- Construction and life cycle ----

    // ---- Update locking, painting messages, scaling and state changes ----

    // ---- Moving, hiding and index maps of rows and columns ----

    // ---- Structure accessors and header lists ----

    // ---- Look presets and link display settings ----

    // ---- Settings objects ----

protected:
    // ---- Construction and life cycle ----

    // ---- Update locking, painting messages, scaling and state changes ----

    // ---- Moving, hiding and index maps of rows and columns ----

    // ---- Structure accessors and header lists ----

    // ---- Look presets and link display settings ----

private:
    // ---- Construction and life cycle ----

    // ---- Update locking, painting messages, scaling and state changes ----

    // ---- Moving, hiding and index maps of rows and columns ----

    // ---- Structure accessors and header lists ----

    // ---- Look presets and link display settings ----

    // ---- Settings objects ----
};
