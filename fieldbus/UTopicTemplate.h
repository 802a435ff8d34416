// The topic-template dialog: one topic or template text of the MQTT topic tables edited in a
// larger multi-line field, beside the list of keywords such a text may use. The MQTT editor sets
// the three fields, puts the cell's text into RE_TopicTemplate, shows the dialog modally and takes
// the text back after OK. The dialog checks nothing.
#pragma once

#include "AdvGrid.h"
#include "ExtPanels.h"
#include "Forms.h"
#include "LbButton.h"
#include "RichEdit.h"
#include "Splitter.h"
#include "StdCtrls.h"

class TFTopicTemplate : public TForm {
public:
    explicit TFTopicTemplate(TComponent* AOwner);

    TPanel* P_Title;
    TLabel* L_SW_Code;
    TLabel* L_SW_Desc;
    TRichEdit* RE_TopicTemplate;
    TSplitter* Splitter1;
    TPanel* P_Legend;
    TLabel* L_List_Keywords;
    TAdvStringGrid* ASG_Keywords;
    TPanel* P_Button;
    TLbButton* Btn_OK;
    TLbButton* Btn_Cancel;

    // Set by the caller before each show: a template (true) or a topic, the MQTT editor's
    // working mode, and the table of the cell (0 publish, 1 subscribe).
    bool TopicTemplate = false;
    int Working_Mode = 0;
    int Pub_Sub = 0;

    void FormCreate(TObject* Sender);
    // Captions by TopicTemplate, the keyword list, the focus to the text field.
    void FormShow(TObject* Sender);
    // The keyword grid: its header and, as no keywords are defined, one empty row whose keyword
    // cell is editable and description cell read-only.
    void Laod_Keywords();
    void Set_Lang();
};

extern TFTopicTemplate* FTopicTemplate;
