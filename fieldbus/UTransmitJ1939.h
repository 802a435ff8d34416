// The J1939 transmit table: for each parameter group the converter sends on the vehicle bus, its
// priority, data page, PGN, source address and number of data bytes, and when it is sent (on a
// request, on a change of its data, on a timer with its period). Kept in the project file
// J1939_Send_Frames.xml (root Transmit_J1939); rows of the older layout, with one sending-mode
// attribute T_Type instead of the three flags, are still read.
#pragma once

#include "PGNFrameRules.h"

class TFTransmitJ1939 : public PGN_Frames::TFPGNTableEditor {
public:
    explicit TFTransmitJ1939(TComponent* AOwner);

    TAdvColumnGrid* sga;

    // The byte budget of all rows together and the largest byte count of one row, 512 on every
    // show.
    Integer NUM_BYTE_OUT = 0;
    TStringList* const Hint_TransmitJ1939 = FHints;

    bool Controllo_dati() override;

protected:
    void Set_Limits() override { NUM_BYTE_OUT = 512; }
    void Row_Loaded(int Table, int Row, const TXMLNode& Node) override;
};

extern TFTransmitJ1939* FTransmitJ1939;
