// The BACnet object tables of the BACnet slave converter: "BACnet in Read" and "BACnet in Write",
// one object per row (data type, engineering unit, where its value lies in the data array, byte
// swap, mnemonic). Kept in the project file BACnet_Slave_SetAccess.xml (root BACnet_to_Modbus),
// which the EDE file is made from. The capacity (1000 or 2000 rows per table, and the limit of
// both tables together) follows BACnet_Desc_Chars_Limit of ParGen.xml.
#pragma once

#include "UTableEditor.h"

class TFBACnetSlaveSetAccess : public TFTableEditor {
public:
    explicit TFBACnetSlaveSetAccess(TComponent* AOwner);

    TAdvColumnGrid* ACG_BACnet_in_Read;
    TAdvColumnGrid* ACG_BACnet_in_Write;

    // ParGen.xml asks for 32-character object names: 1000 rows instead of 2000.
    bool Desc_Lenght = false;
    bool Do_Copy_Read = false;
    bool Do_Copy_Write = false;
    Integer NByte_IN = 0;
    Integer NByte_OUT = 0;

    void FormCreate(TObject* Sender);
    void FormShow(TObject* Sender);
    void bitbtn1Click(TObject* Sender);
    void Btn_DelRow_Click(TObject* Sender);
    void ClickCell(TObject* Sender, int ARow, int ACol);
    using TFTableEditor::KeyPress; // the control's own key handling stays reachable
    void KeyPress(TObject* Sender, Char& Key);
    // A double-click in the Eng. Unit column opens the unit picker on the cell.
    void ACG_BACnet_in_ReadDblClickCell(TObject* Sender, int ARow, int ACol);
    void ACG_BACnet_in_WriteDblClickCell(TObject* Sender, int ARow, int ACol);
    // Choosing a data type in the Write table fills the type's default length.
    void ACG_BACnet_in_WriteComboChange(TObject* Sender, int ACol, int ARow, int AItemIndex,
                                        const String& ASelection);
    // The editor shows no header hints.
    void GridHint(TObject* Sender, int ARow, int ACol, String& hintstr);
    bool Controllo_dati() override;

    TStringList* Hint_List(int) override { return nullptr; }
    bool& Copy_Flag(int Table) override { return Table == 0 ? Do_Copy_Read : Do_Copy_Write; }

    // The number of rows of both tables together (and of each table) that the project allows.
    int Row_Limit() const { return Desc_Lenght ? 1000 : 2000; }

protected:
    void Set_Limits() override;

private:
    void Pick_Unit(TAdvColumnGrid* Grid, int ARow, int ACol);
};

// The default Length the Write table gives a data type (upper-cased); empty for no default.
String BACnet_Write_Default_Length(const String& DataType);

extern TFBACnetSlaveSetAccess* FBACnetSlaveSetAccess;
