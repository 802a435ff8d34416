// The CANopen SDO client tables: the requests the converter sends to other CANopen devices,
// SDO Read (the value read goes into the converter's array) and SDO Write (the value written
// comes from it), each row with the node ID, object index and sub-index, size in bytes, polling
// period, the array position of each byte and, for writes, the send-on-change option. Kept in
// the project file SDO_Client_CANopen.xml.
#pragma once

#include "CANopenTables.h"

class TFSet_SDO_Client_Access : public TFCANopenTables {
public:
    explicit TFSet_SDO_Client_Access(TComponent* AOwner);
    ~TFSet_SDO_Client_Access() override;

    TTabSheet* TS_SDO_Read;
    TTabSheet* TS_SDO_Write;
    TAdvColumnGrid* sga; // SDO Read
    TAdvColumnGrid* sgb; // SDO Write

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

extern TFSet_SDO_Client_Access* FSet_SDO_Client_Access;
