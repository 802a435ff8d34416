// The CAN receive frame table: for each CAN frame the converter listens to, its identifier and
// identifier length, data length, receive time-out and the array positions its data bytes go to.
// Kept in the project file CAN_Rec_Frames.xml (root Receive_Frames).
#pragma once

#include "UTableEditor.h"

class TFReceiveCAN : public TFTableEditor {
public:
    explicit TFReceiveCAN(TComponent* AOwner);
    ~TFReceiveCAN() override;

    TAdvColumnGrid* ACG_CAN_Receive;

    TStringList* Hint_ReceiveCAN = nullptr;
    Integer MAX_Byte = 0;
    bool Do_Copy = false;

    void FormCreate(TObject* Sender);
    void FormShow(TObject* Sender);
    void ACG_CAN_ReceiveKeyPress(TObject* Sender, Char& Key);
    void ACG_CAN_ReceiveDblClickCell(TObject* Sender, int ARow, int ACol);
    void ACG_CAN_ReceiveGridHint(TObject* Sender, int ARow, int ACol, String& hintstr);
    bool Controllo_dati() override;

    TStringList* Hint_List(int) override { return Hint_ReceiveCAN; }
    bool& Copy_Flag(int) override { return Do_Copy; }

protected:
    void Set_Limits() override;
};

extern TFReceiveCAN* FReceiveCAN;
