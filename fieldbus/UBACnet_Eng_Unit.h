// The BACnet engineering-unit picker: a unit chosen by category and name instead of typing its
// code, and the names of the codes (Desc_Unit) that the BACnet tables show.
#pragma once

#include "ExtPanels.h"
#include "Forms.h"
#include "LbButton.h"
#include "StdCtrls.h"

#include <vector>

// The number of unit codes (0 .. 236) and the categories of the picker.
constexpr int BACnet_Unit_Count = 237;
constexpr int BACnet_Unit_Category_Count = 23;

// The name of a unit code; "unknown" for every other value.
String Desc_Unit(int Num_Unit);

// The picker's categories, and the codes of a category in list order (none outside 0 .. 22).
String BACnet_Unit_Category(int Index);
const std::vector<int>& BACnet_Unit_Codes(int Category);
// The name the unit list shows for a code: Desc_Unit's, except for three codes.
String BACnet_Unit_List_Name(int Code);

class TFBACnet_Eng_Unit : public TForm {
public:
    explicit TFBACnet_Eng_Unit(TComponent* AOwner);

    TPanel* P_Title;
    TLabel* L_SW_Code;
    TLabel* L_SW_Desc;
    TLabel* Label1;
    TEdit* E_Selected_EU;
    TLabel* Label5;
    TLabel* Label2;
    TLabel* Label3;
    TComboBox* CB_Select_Type;
    TLabel* Label4;
    TComboBox* CB_Select_Unit;
    TLbButton* Btn_Select_Eng_Unit;
    TPanel* P_Button;
    TLbButton* Btn_OK;
    TLbButton* Btn_Cancel;

    void FormCreate(TObject* Sender);
    // Fills the unit list for the category shown, which the window keeps between shows.
    void FormShow(TObject* Sender);
    // Fills the unit list with the selected category's units; the first becomes selected.
    void CB_Select_TypeSelect(TObject* Sender);
    // Writes the selected unit's code into the edit and its name into Label5.
    void Btn_Select_Eng_UnitClick(TObject* Sender);
    void Set_Lang();
};

extern TFBACnet_Eng_Unit* FBACnet_Eng_Unit;
