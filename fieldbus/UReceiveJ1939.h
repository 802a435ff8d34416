// The J1939 receive table: for each parameter group the converter listens to on the vehicle bus,
// its data page, PGN and source address, whether it arrives through the transport protocol,
// which bytes to keep, whether the data are cancelled on a time-out, and whether the converter
// requests it and how often. Kept in the project file J1939_Rec_Frames.xml (root Receive_J1939).
#pragma once

#include "PGNFrameRules.h"

class TFReceiveJ1939 : public PGN_Frames::TFPGNTableEditor {
public:
    explicit TFReceiveJ1939(TComponent* AOwner);
    ~TFReceiveJ1939() override;

    TAdvColumnGrid* sga;

    // The byte budget of all rows together, 1440 on every show.
    Integer NUM_BYTE_IN = 0;
    TStringList* Hint_ReceiveJ1939 = nullptr;
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

    TStringList* Hint_List(int) override { return Hint_ReceiveJ1939; }
    bool& Copy_Flag(int) override { return Do_Copy; }

protected:
    void Set_Limits() override { NUM_BYTE_IN = 1440; }
};

extern TFReceiveJ1939* FReceiveJ1939;
