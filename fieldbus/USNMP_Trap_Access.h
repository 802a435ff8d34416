// The SNMP object tables: the read objects the agent serves and sends as traps, and the write
// objects a manager may set, each a position of the converter's data array. Kept in the project
// file SNMP_Trap.xml (root SNMP_Trap, sections SNMP_Trap_Read and SNMP_Trap_Write); the MIB
// generator (USNMP_MIB) turns their enabled rows into the agent's MIB module, so the descriptions
// become object names and must be descriptors, unique over both tables.
#pragma once

#include "UTableEditor.h"

class TFSNMP_Trap_Access : public TFTableEditor {
public:
    explicit TFSNMP_Trap_Access(TComponent* AOwner);
    ~TFSNMP_Trap_Access() override;

    TAdvColumnGrid* ACG_SNMP_Read;
    TAdvColumnGrid* ACG_SNMP_Write;

    TStringList* Hint_SNMP_Read = nullptr;
    TStringList* Hint_SNMP_Write = nullptr;
    TStringList* SL_Check_Desc = nullptr;
    bool Do_Copy_In_Read = false;
    bool Do_Copy_In_Write = false;
    Integer NByte_IN = 0;
    Integer NByte_OUT = 0;

    void FormCreate(TObject* Sender);
    void FormShow(TObject* Sender);
    // A click on a check box of column 1 renumbers that grid's index column.
    void ACG_SNMP_ReadCheckBoxClick(TObject* Sender, int ACol, int ARow, bool State);
    bool Controllo_dati() override;
    // Check_Type 0: a Community Name (letters and digits only); 1: a Description (empty, or a
    // lower-case letter followed by letters and digits). True means an error.
    bool Check_Error_CommName_Desc(const String& str, int Check_Type);
    // Column 0 numbers the enabled rows 1, 2, ... and stays empty on the others.
    void Index_Row_Build(TAdvColumnGrid* app_SGA);

    TStringList* Hint_List(int Table) override { return Table == 0 ? Hint_SNMP_Read : Hint_SNMP_Write; }
    bool& Copy_Flag(int Table) override { return Table == 0 ? Do_Copy_In_Read : Do_Copy_In_Write; }

protected:
    void Set_Limits() override;
};

extern TFSNMP_Trap_Access* FSNMP_Trap_Access;
