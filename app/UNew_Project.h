// The dialog that creates a new configuration project: the user types the project's name.
#pragma once

#include "ExtPanels.h"
#include "Forms.h"
#include "LbButton.h"
#include "StdCtrls.h"

class TFNew_Project : public TForm {
public:
    explicit TFNew_Project(TComponent* AOwner);

    TPanel* P_Title;
    TLabel* L_SW_Code;
    TLabel* L_SW_Desc;
    TLabel* Label1;
    TEdit* E_New_Proj;
    TPanel* P_Button;
    TLbButton* Btn_OK;
    TLbButton* Btn_Cancel;

    void FormCreate(TObject* Sender);
    void FormShow(TObject* Sender);
    // Creates the project named in E_New_Proj and closes with OK, or reports why it cannot.
    void Btn_OKClick(TObject* Sender);
    // Enter confirms the name.
    void E_New_ProjKeyPress(TObject* Sender, Char& Key);
    void Set_Lang();
};

extern TFNew_Project* FNew_Project;
