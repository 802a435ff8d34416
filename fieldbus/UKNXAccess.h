// The KNX telegram table of the KNX converter, "KNX in Write": per rule the source and
// destination addresses, the service (APCI), priority, format conversion, frame and sending
// options and where the value lies in the data array. Kept in the project file KNX_SetAccess.xml
// (root BACnet_to_KNX, section KNX_in_Write).
#pragma once

#include "UTableEditor.h"

class TFKNXAccess : public TFTableEditor {
public:
    explicit TFKNXAccess(TComponent* AOwner);
    ~TFKNXAccess() override;

    TAdvColumnGrid* ACG_KNX_in_Write;

    Integer Max_Num_Byte = 0;
    TStringList* Hint = nullptr;
    bool Do_Copy_In_Write = false;

    void FormCreate(TObject* Sender);
    void FormShow(TObject* Sender);
    void ACG_KNX_in_WriteClickCell(TObject* Sender, int ARow, int ACol);
    void DblClickCell(TObject* Sender, int ARow, int ACol);
    void GridHint(TObject* Sender, int ARow, int ACol, String& hintstr);
    using TFTableEditor::KeyPress; // the control's own key handling stays reachable
    void KeyPress(TObject* Sender, Char& Key);
    bool Controllo_dati() override;
    // Moves every row below Num_Row up by one and empties the last row.
    void Delete_Row(int Num_Row, TAdvColumnGrid* SGA);

    TStringList* Hint_List(int) override { return Hint; }
    bool& Copy_Flag(int) override { return Do_Copy_In_Write; }

protected:
    void Set_Limits() override;
    // A Priority read from the file that is not one of the list's texts becomes "Normal".
    void Row_Loaded(int Table, int Row, const TXMLNode& Node) override;
    void Delete_Table_Row(int Row, TAdvColumnGrid* SGA) override { Delete_Row(Row, SGA); }
};

extern TFKNXAccess* FKNXAccess;
