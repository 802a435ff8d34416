// The CANopen PDO tables: the receive PDOs (their data bytes are written into the converter's
// array) and the transmit PDOs (their data bytes are taken from it), each row with its COB-ID,
// data length, the array position of each data byte, and a receive time-out or a send period
// with its send-on-change option. Kept in the project file PDO_CANopen.xml, which the EDS
// generator reads too.
#pragma once

#include "CANopenTables.h"

class TFSet_PDO_Access : public TFCANopenTables {
public:
    explicit TFSet_PDO_Access(TComponent* AOwner);
    ~TFSet_PDO_Access() override;

    TTabSheet* TS_Receive_PDO;
    TTabSheet* TS_Transmit_PDO;
    TAdvColumnGrid* sga; // receive PDOs
    TAdvColumnGrid* sgb; // transmit PDOs

    TStringList* Hint_PDO_Receive = nullptr;
    TStringList* Hint_PDO_Transmit = nullptr;
    bool Do_Copy_Receive_PDO = false;
    bool Do_Copy_Transmit_PDO = false;

    void FormCreate(TObject* Sender);
    void FormShow(TObject* Sender);
    bool Controllo_dati() override;

    TStringList* Hint_List(int Table) override { return Table == 0 ? Hint_PDO_Receive : Hint_PDO_Transmit; }
    bool& Copy_Flag(int Table) override { return Table == 0 ? Do_Copy_Receive_PDO : Do_Copy_Transmit_PDO; }
};

extern TFSet_PDO_Access* FSet_PDO_Access;
