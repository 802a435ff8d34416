// The dialog that composes the name of the PROFINET device description (GSDML) file: a fixed
// prefix, a part the user types and the date on which the window was created.
#pragma once

#include "ExtPanels.h"
#include "Forms.h"
#include "LbButton.h"
#include "StdCtrls.h"
#include "SysUtils.h"

#include <functional>

// The first fixed part of every GSDML file name.
inline const char* const GSDML_Name_Prefix = "GSDML-V2.25-Ostrel-";

// The clock the dialog takes its date from when it is created (Date by default); tests set a
// fixed day.
extern std::function<TDateTime()> ProfinetFileName_Today;

// The second fixed part for a day: "-" + yyyymmdd + ".xml".
String GSDML_Date_Part(TDateTime Day);

// The composed name for the user part User as typed: no user part when User is blank, User
// itself when it begins with "_", else "_" and User (never trimmed).
String GSDML_File_Name(const String& User, const String& DatePart);

class TFProfinetFileName : public TForm {
public:
    explicit TFProfinetFileName(TComponent* AOwner);

    TPanel* P_Title;
    TLabel* L_SW_Code;
    TLabel* L_SW_Desc;
    TLabel* L_Select_Name;
    TLabel* L_FixPart_1;
    TLabel* L_XML_Fix1;
    TLabel* L_UsedPart;
    TEdit* E_XML_User;
    TLabel* L_FixPart_2;
    TLabel* L_XML_Fix2;
    TPanel* P_Button;
    TLbButton* Btn_OK;
    TLbButton* Btn_Cancel;

    // The composed file name, set when the dialog closes with OK.
    String Name_File_XML;

    void FormCreate(TObject* Sender);
    // Composes the name and closes with OK; a name that is no plain file name (a separator, a
    // control character or a character no file name can hold in the user part) is refused with
    // text 2509 and the dialog stays open.
    void Btn_OK_Click(TObject* Sender);
    void Set_Lang();
};

extern TFProfinetFileName* FProfinetFileName;
