// The NMEA 2000 transmit table: for each parameter group the converter sends on the marine bus,
// its priority, PGN, source address, whether it goes out as a fast packet, its number of data
// bytes, and when it is sent (on a request, on a change of its data, on a timer with its period).
// Kept in the project file NMEA_Send_Frames.xml, whose root carries the receive table's name,
// Receive_NMEA_2000.
#pragma once

#include "PGNFrameRules.h"

class TFTransmitNMEA : public PGN_Frames::TFPGNTableEditor {
public:
    explicit TFTransmitNMEA(TComponent* AOwner);

    TAdvColumnGrid* sga;

    // The byte budget of all rows together and the largest byte count of one row, 512 on every
    // show.
    Integer NUM_BYTE_OUT = 0;
    TStringList* const Hint_TransmitNMEA = FHints;

    bool Controllo_dati() override;

protected:
    void Set_Limits() override { NUM_BYTE_OUT = 512; }
};

extern TFTransmitNMEA* FTransmitNMEA;
