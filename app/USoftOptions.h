// The options dialog: the user-interface language (from the language files of the LANGUAGE
// folder, six to a page), internet access and the version check, and two behaviours of the
// table editors.
#pragma once

#include "ComCtrls.h"
#include "ExtPanels.h"
#include "Forms.h"
#include "LbButton.h"
#include "StdCtrls.h"

class TStringList;
class THttpClient;

class TFSoftOptions : public TForm {
public:
    explicit TFSoftOptions(TComponent* AOwner);
    ~TFSoftOptions() override;

    TPanel* P_Title;
    TLabel* L_SW_Code;
    TLabel* L_SW_Desc;
    TPanel* P_Button;
    TLbButton* Btn_OK;
    TLbButton* Btn_Cancel;
    TPageControl* PC_Options;
    TTabSheet* TS_Language;
    TLabel* L_Sel_Lang;
    TImage* I_L[6]; // I_L1 ... I_L6
    TLabel* L_L[6]; // L_L1 ... L_L6
    TLbButton* Btn_Prev;
    TLbButton* Btn_Next;
    TLabel* L_Page_Lang;
    TTabSheet* TS_Con_Options;
    TCheckBox* CB_En_Con;
    TCheckBox* CB_Update;
    TLbButton* Btn_Check_Update;
    TLinkLabel* LL_Check_Update;
    TTabSheet* TS_Soft_Settings;
    TCheckBox* CB_Soft_Set_Jump_Table;
    TCheckBox* CB_DoubleClick_Auto_Size;

    // The language files found (with ".lng"), sorted without regard to case.
    TStringList* SL_Languages;
    // The language page shown, from 1.
    int Show_Page = 1;
    // The language chosen in the dialog; becomes Language on OK.
    String Language_In_Use;

    void FormCreate(TObject* Sender);
    void FormShow(TObject* Sender);
    void Set_Lang();
    void Create_Lang_List();
    void Update_Lang_Page(int Num_Page);
    int Page_Count() const;
    void Btn_NextClick(TObject* Sender);
    void LangClick(TObject* Sender);
    void Update_CheckBox();
    void CB_En_ConClick(TObject* Sender);
    void Btn_Check_UpdateClick(TObject* Sender);
    void LL_Check_UpdateLinkClick(TObject* Sender, const String& Link, TSysLinkType LinkType);
    void Btn_OKClick(TObject* Sender);
    // Whether the maker's web site names a newer version (through the main window's HTTP1).
    bool Check_Version();

private:
    THttpClient* FHTTP; // used while there is no main window
};

extern TFSoftOptions* FSoftOptions;
