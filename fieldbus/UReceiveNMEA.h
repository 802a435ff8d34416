// The NMEA 2000 receive table: for each parameter group the converter listens to on the marine
// bus, its PGN and source address, whether it arrives through the transport protocol or as a
// fast packet, which bytes to keep, and whether the data are cancelled on a time-out. Kept in the
// project file NMEA_Rec_Frames.xml (root Receive_NMEA_2000).
#pragma once

#include "PGNFrameRules.h"

class TFReceiveNMEA : public PGN_Frames::TFPGNTableEditor {
public:
    explicit TFReceiveNMEA(TComponent* AOwner);
    ~TFReceiveNMEA() override;

    TAdvColumnGrid* sga;

    // The byte budget of all rows together, 512 on every show.
    Integer NUM_BYTE_IN = 0;
    TStringList* Hint_ReceiveNMEA = nullptr;
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

    TStringList* Hint_List(int) override { return Hint_ReceiveNMEA; }
    bool& Copy_Flag(int) override { return Do_Copy; }

protected:
    void Set_Limits() override { NUM_BYTE_IN = 512; }
};

extern TFReceiveNMEA* FReceiveNMEA;
