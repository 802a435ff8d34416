// The NMEA 2000 receive table: for each parameter group the converter listens to on the marine
// bus, its PGN and source address, whether it arrives through the transport protocol or as a
// fast packet, which bytes to keep, and whether the data are cancelled on a time-out. Kept in the
// project file NMEA_Rec_Frames.xml (root Receive_NMEA_2000).
#pragma once

#include "PGNFrameRules.h"

class TFReceiveNMEA : public PGN_Frames::TFPGNTableEditor {
public:
    explicit TFReceiveNMEA(TComponent* AOwner);

    TAdvColumnGrid* sga;

    // The byte budget of all rows together, 512 on every show.
    Integer NUM_BYTE_IN = 0;
    TStringList* const Hint_ReceiveNMEA = FHints;

    bool Controllo_dati() override;

protected:
    void Set_Limits() override { NUM_BYTE_IN = 512; }
};

extern TFReceiveNMEA* FReceiveNMEA;
