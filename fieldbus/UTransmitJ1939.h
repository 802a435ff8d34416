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
    ~TFTransmitJ1939() override;

    TAdvColumnGrid* sga;

    // The byte budget of all rows together and the largest byte count of one row, 512 on every
    // show.
    Integer NUM_BYTE_OUT = 0;
    TStringList* Hint_TransmitJ1939 = nullptr;
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

    TStringList* Hint_List(int) override { return Hint_TransmitJ1939; }
    bool& Copy_Flag(int) override { return Do_Copy; }

protected:
    void Set_Limits() override { NUM_BYTE_OUT = 512; }
    void Row_Loaded(int Table, int Row, const TXMLNode& Node) override;
};

extern TFTransmitJ1939* FTransmitJ1939;
