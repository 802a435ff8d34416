// The CAN transmit frame table: for each CAN frame the converter sends, its identifier and
// identifier length, data length, when it is sent (on a change, on command, on a timer with its
// period) and the array positions that supply its data bytes. Kept in the project file
// CAN_Send_Frames.xml (root Transmit_Frames).
#pragma once

#include "UTableEditor.h"

class TFTransmitCAN : public TFTableEditor {
public:
    explicit TFTransmitCAN(TComponent* AOwner);
    ~TFTransmitCAN() override;

    TAdvColumnGrid* ACG_CAN_Transmit;

    TStringList* Hint_TransmitCAN = nullptr;
    bool Do_Copy = false;
    // 1 on every show: the identifier length comes from each row's Type and Time is checked.
    Integer Hard_Type = 0;
    // The identifier length of a loaded row without a Type (0: 11 bits); never set.
    Integer CAN_Type = 0;
    Integer MAX_Byte = 0;
    // The sending options and period of a loaded row that lacks them; never set.
    Integer Send_Type = 0;
    Integer Send_Time = 0;

    void FormCreate(TObject* Sender);
    void FormShow(TObject* Sender);
    void ACG_CAN_TransmitKeyPress(TObject* Sender, Char& Key);
    void ACG_CAN_TransmitDblClickCell(TObject* Sender, int ARow, int ACol);
    void ACG_CAN_TransmitGridHint(TObject* Sender, int ARow, int ACol, String& hintstr);
    bool Controllo_dati() override;

    TStringList* Hint_List(int) override { return Hint_TransmitCAN; }
    bool& Copy_Flag(int) override { return Do_Copy; }

protected:
    void Set_Limits() override;
    bool Missing_Default(int Table, int Col, int Row, String& Value) override;
};

extern TFTransmitCAN* FTransmitCAN;
