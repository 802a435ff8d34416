// The dialog that opens an existing configuration project: a list of the project folders, with
// the open project selected.
#pragma once

#include "ExtPanels.h"
#include "Forms.h"
#include "LbButton.h"
#include "StdCtrls.h"

#include <QStringList>

class TFOpenConf : public TForm {
public:
    explicit TFOpenConf(TComponent* AOwner);

    TLabel* Label1;
    TListBox* ListBox1;
    TPanel* P_Title;
    TLabel* L_SW_Code;
    TLabel* L_SW_Desc;
    TPanel* P_Button;
    TLbButton* Btn_OK;
    TLbButton* Btn_Cancel;

    // The project folder names found.
    QStringList SL;
    // The project chosen (read by the main window after OK).
    String Name_Conf;

    void FormCreate(TObject* Sender);
    void FormShow(TObject* Sender);
    void ListBox1Click(TObject* Sender);
    void Load_Existing_Configuration();
    int Search_Open_Conf(const String& snc) const;
    void Set_Lang();
};

extern TFOpenConf* FOpenConf;
