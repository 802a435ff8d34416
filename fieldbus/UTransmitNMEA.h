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
    ~TFTransmitNMEA() override;

    TAdvColumnGrid* sga;

    // The byte budget of all rows together and the largest byte count of one row, 512 on every
    // show.
    Integer NUM_BYTE_OUT = 0;
    TStringList* Hint_TransmitNMEA = nullptr;
    bool Do_Copy = false;

    void FormCreate(TObject* Sender);
    void FormShow(TObject* Sender);
    void ClickCell(TObject* Sender, int ARow, int ACol) { ClickCell_Frame(Sender, ARow, ACol); }
    void DblClickCell(TObject* Sender, int ARow, int ACol) { DblClickCell_Frame(Sender, ARow, ACol); }
    void GridHint(TObject* Sender, int ARow, int ACol, String& hintstr) {
        GridHint_Frame(Sender, ARow, ACol, hintstr);
    }
    void KeyPress(TObject* Sender, Char& Key) { KeyPress_Frame(Sender, Key); }
    bool Controllo_Dati() { return Controllo_dati(); }
    bool Controllo_dati() override;

    TStringList* Hint_List(int) override { return Hint_TransmitNMEA; }
    bool& Copy_Flag(int) override { return Do_Copy; }

protected:
    void Set_Limits() override { NUM_BYTE_OUT = 512; }
};

extern TFTransmitNMEA* FTransmitNMEA;
