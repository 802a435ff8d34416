// The MQTT topic tables: the topics the converter publishes values of its data array to, and the
// topics it takes values from. Kept in the project file MQTT_Set_Topic.xml (root MQTT_Set_Topic,
// sections MQTT_Publish and MQTT_Subscribe). Some columns belong to other working modes: they
// stay in the grids hidden, are addressed by their real index and are checked only while shown;
// Channel, OnCMD, Swap and Swap Word are not saved at all. A double-click on a Template cell
// edits it in the topic-template dialog.
#pragma once

#include "UTableEditor.h"

class TFMQTT_Set_Topic : public TFTableEditor {
public:
    explicit TFMQTT_Set_Topic(TComponent* AOwner);
    ~TFMQTT_Set_Topic() override;

    TAdvColumnGrid* ACG_Pub;
    TAdvColumnGrid* ACG_Sub;

    TStringList* Hint_MQTT_Set_Topic_Pub = nullptr;
    TStringList* Hint_MQTT_Set_Topic_Sub = nullptr;
    bool Do_Copy_Pub = false;
    bool Do_Copy_Sub = false;
    Integer Byte_IN = 0;
    Integer Byte_OUT = 0;
    Integer Working_Mode = 0;

    void FormCreate(TObject* Sender);
    void FormShow(TObject* Sender);
    void ACG_MQTT_KeyPress(TObject* Sender, Char& Key);
    // The header hint of the column's real index.
    void ACG_MQTT_GridHint(TObject* Sender, int ARow, int ACol, String& hintstr);
    // The frame's header auto-size; on a Template cell the topic-template dialog.
    void ACG_MQTT_DblClickCell(TObject* Sender, int ARow, int ACol);
    bool Controllo_dati() override;
    // An odd number of "$" is an error (true).
    bool Error_In_Topic_Template(const String& Str);
    // Edits the current Template cell of Sender in the topic-template dialog; OK puts the text
    // back into the cell, Cancel leaves it.
    void Show_Form_Topic(TObject* Sender, int ARow, int ACol);

    TStringList* Hint_List(int Table) override {
        return Table == 0 ? Hint_MQTT_Set_Topic_Pub : Hint_MQTT_Set_Topic_Sub;
    }
    bool& Copy_Flag(int Table) override { return Table == 0 ? Do_Copy_Pub : Do_Copy_Sub; }

protected:
    void Set_Limits() override;
};

extern TFMQTT_Set_Topic* FMQTT_Set_Topic;
