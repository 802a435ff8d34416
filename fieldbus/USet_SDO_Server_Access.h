// The CANopen SDO server tables: the application objects a CANopen master reads from the
// converter ("SDO in Read", bytes taken from the converter's array) and writes into it ("SDO in
// Write"), each row with the object's index and sub-index, its size in bytes and the array
// position of each byte. Kept in the project file SDO_Server_CANopen.xml, from which the EDS
// generator lists the objects.
#pragma once

#include "CANopenTables.h"

class TFSet_SDO_Server_Access : public TFCANopenTables {
public:
    explicit TFSet_SDO_Server_Access(TComponent* AOwner);
    ~TFSet_SDO_Server_Access() override;

    TTabSheet* TS_SDO_Read;
    TTabSheet* TS_SDO_Write;
    TAdvColumnGrid* sga; // SDO in Read
    TAdvColumnGrid* sgb; // SDO in Write

    TStringList* Hint_SDO_Client_Read = nullptr;
    TStringList* Hint_SDO_Client_Write = nullptr;
    bool Do_Copy_SDO_Read = false;
    bool Do_Copy_SDO_Write = false;

    void FormCreate(TObject* Sender);
    void FormShow(TObject* Sender);
    bool Controllo_dati() override;

    TStringList* Hint_List(int Table) override {
        return Table == 0 ? Hint_SDO_Client_Read : Hint_SDO_Client_Write;
    }
    bool& Copy_Flag(int Table) override { return Table == 0 ? Do_Copy_SDO_Read : Do_Copy_SDO_Write; }
};

extern TFSet_SDO_Server_Access* FSet_SDO_Server_Access;
