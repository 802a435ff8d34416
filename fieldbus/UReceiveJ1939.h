// The J1939 receive table: for each parameter group the converter listens to on the vehicle bus,
// its data page, PGN and source address, whether it arrives through the transport protocol,
// which bytes to keep, whether the data are cancelled on a time-out, and whether the converter
// requests it and how often. Kept in the project file J1939_Rec_Frames.xml (root Receive_J1939).
#pragma once

#include "PGNFrameRules.h"

class TFReceiveJ1939 : public PGN_Frames::TFPGNTableEditor {
public:
    explicit TFReceiveJ1939(TComponent* AOwner);

    TAdvColumnGrid* sga;

    // The byte budget of all rows together, 1440 on every show.
    Integer NUM_BYTE_IN = 0;
    TStringList* const Hint_ReceiveJ1939 = FHints;

    bool Controllo_dati() override;

protected:
    void Set_Limits() override { NUM_BYTE_IN = 1440; }
};

extern TFReceiveJ1939* FReceiveJ1939;
