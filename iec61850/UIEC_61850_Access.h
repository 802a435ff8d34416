// The IEC 61850 client mapping window: the device catalog of the project (SCL files copied into
// ICD_Catalog and decoded into device models), the tree of the chosen device, and the mapping
// grids: variables (one leaf data attribute per row), data sets and the members of the data set
// in the current data-set row. Every showing rebuilds everything from IEC_61850_Client.xml and
// the catalog; OK validates and writes the file, Cancel writes nothing.
#pragma once

#include "AdvColumnGrid.h"
#include "ComCtrls.h"
#include "Dialogs.h"
#include "ExtPanels.h"
#include "Forms.h"
#include "ImgList.h"
#include "LbButton.h"
#include "Splitter.h"
#include "StdCtrls.h"
#include "TreeView.h"
#include "UIEC_Client_File.h"

#include <memory>
#include <vector>

class TIEC_Device;
class TIEC_LDevice;
class TIEC_LN;
class TIEC_DO;
class TIEC_DA;
class TIEC_DataSet;
class TXMLDocument;

// One member of a data-set row. It keeps its own copies of the member's bType and Reference,
// which it writes back; a member loaded from the file that does not match the data set's member
// at its position (Loaded set) keeps its loaded attributes and is written back unchanged.
class TDataSet_DA {
public:
    TIEC_DA* Select_DA = nullptr; // not owned
    String bType, Reference;
    String Position, bitAddress, conversion, multFactor, Mnemonic;
    bool Unmatched = false;
    TIEC_Item Loaded; // the loaded DataSet_DA_Item of an unmatched member
};

// The entry behind one data-set row: the data set of the device model (none when the loaded row
// names a data set that is not found; the row is then kept as loaded) and its members.
class TDataSet {
public:
    TIEC_DataSet* Select_DataSet = nullptr; // not owned
    int Device = -1;                        // position of its device in the device list
    bool Unmatched = false;
    std::vector<std::unique_ptr<TDataSet_DA>> List_DAs;
};

class TFIEC_61850_Access : public TForm {
public:
    explicit TFIEC_61850_Access(TComponent* AOwner);
    ~TFIEC_61850_Access() override;

    TPanel* P_Title;
    TLabel* L_SW_Code;
    TLabel* L_SW_Desc;
    TPanel* P_Button;
    TLbButton* Btn_OK;
    TLbButton* Btn_Cancel;
    TLbButton* Btn_AddVar;
    TLbButton* Btn_RemoveVar;
    TLbButton* Btn_MoveUp;
    TLbButton* Btn_ModeDown;
    TPanel* PDevIEC;
    TPanel* PDevIECList;
    TLbButton* Btn_Add_IEC_Device;
    TListBox* LB_IEC_Devices;
    TLbButton* Btn_Remove_IEC_Device;
    TSplitter* Splitter2;
    TPanel* PDevIECTree;
    TTreeView* TV_IEC_Device;
    TImageList* IL_IEC;
    TSplitter* Splitter1;
    TPanel* PTable;
    TPageControl* PC_DA_DataSet;
    TTabSheet* TS_DA;
    TTabSheet* TS_DataSet;
    TAdvColumnGrid* ACG_DA;
    TPanel* P_DataSet_List;
    TAdvColumnGrid* ACG_DataSet;
    TSplitter* Splitter3;
    TPanel* P_DataSet_Vars_List;
    TAdvColumnGrid* ACG_DS_Vars;
    TOpenDialog* OD_IcdFile;
    TXMLDocument* XML1;

    // The devices of the mapping in file order (owned); a device's position is the Index of the
    // rows that use it. A catalog file that could not be read keeps its place as a placeholder.
    std::vector<TIEC_Device*> List_IEC_Dev;
    TTreeNode* NODE_ORIG = nullptr;
    TIEC_DA* Selected_IEC_DA = nullptr;
    TIEC_DataSet* Selected_IEC_DS = nullptr;
    TStringList* Hint = nullptr;
    std::vector<std::unique_ptr<TDataSet>> List_DataSet;
    int DataSet_Row_Select = 0;

    void FormCreate(TObject* Sender);
    void FormShow(TObject* Sender);
    void Set_Lang();

    void Btn_Add_IEC_DeviceClick(TObject* Sender);
    void Btn_Remove_IEC_DeviceClick(TObject* Sender);
    void LB_IEC_DevicesClick(TObject* Sender);
    void TV_IEC_DeviceClick(TObject* Sender);
    void TV_IEC_DeviceCustomDrawItem(TTreeView* Sender, TTreeNode* Node, TCustomDrawState State,
                                     bool& DefaultDraw);
    void Show_IEC_Devices();
    void Show_Tree_IEC_Device(TIEC_Device* app_IEC_Dev);
    TIEC_DA* Search_Node_Selected();
    TIEC_DataSet* Search_Node_Selected_DataSet();
    TIEC_DataSet* Get_DataSet(int index, const String& reference) const;

    void Btn_AddVarClick(TObject* Sender);
    void Btn_RemoveVarClick(TObject* Sender);
    void ClickCell(TObject* Sender, int ARow, int ACol);
    void ACG_DADblClickCell(TObject* Sender, int ARow, int ACol);
    void ACG_DAKeyPress(TObject* Sender, Char& Key);
    void ACG_DAGridHint(TObject* Sender, int ARow, int ACol, String& hintstr);
    // Fills the member grid from the entry of the current data-set row and remembers that entry:
    // member edits are stored only into it. The members shown before are stored first.
    void Show_DataSet_DAs();
    void ACG_DS_VarsSelectCell(TObject* Sender, int ACol, int ARow, bool& CanSelect);
    void ACG_DS_VarsEditCellDone(TObject* Sender, int ACol, int ARow);
    void Set_Start_Num_Byte();
    bool Controllo_dati();
    void Btn_OKClick(TObject* Sender);

    // The mapping the grids and entries hold, as OK writes it.
    TIEC_Client_Mapping Build_Mapping() const;
    // The entry shown in the member grid (nullptr for none).
    TDataSet* Shown_Entry() const { return FShown; }
    // Whether the last showing read the mapping file completely.
    bool Load_Complete() const { return !FLoadIncomplete; }
    // Whether device k is a placeholder for a catalog file that could not be read.
    bool Is_Placeholder(int k) const;

private:
    void Build_Grids();
    void Reset_Grid(TAdvColumnGrid* Grid);
    void Load_Mapping();
    void Load_Catalog(const TIEC_Client_Mapping& Mapping, QStringList& Unread);
    void Load_Variables(const TIEC_Client_Mapping& Mapping);
    void Load_DataSets(const TIEC_Client_Mapping& Mapping);
    void Show_Tree_IEC_LDevice(TIEC_LDevice* LDevice, TTreeNode* NodeOrig);
    void Show_Tree_IEC_LN(TIEC_LN* LN, TTreeNode* NodeOrig);
    void Show_Tree_IEC_DO(TIEC_DO* DO, TTreeNode* NodeOrig);
    void Show_Tree_IEC_DA(TIEC_DA* DA, TTreeNode* NodeOrig);
    void Show_Tree_IEC_DataSet(TIEC_DataSet* DataSet, TTreeNode* NodeOrig);
    int Chosen_Device() const;
    // Copies the member grid's editable cells into the entry it shows.
    void Store_Members();
    // Ends an open in-place edit in any of the grids, storing its text.
    void Finish_Edits();
    void Show_Members_Of(int Row);
    void Renumber(TAdvColumnGrid* Grid);
    void Mark_Row(TAdvColumnGrid* Grid, int Row, int FirstCol, int LastCol);
    bool Row_Used(TAdvColumnGrid* Grid) const;
    void Clear_Selections();
    void Clear_Tree();
    bool Check_Address(const String& Text, String* Canonical) const;

    std::vector<TIEC_Item> FICD_Items; // the ICD_File items as loaded (placeholders write them back)
    std::vector<bool> FPlaceholder;
    TDataSet* FShown = nullptr;
    bool FLoadIncomplete = false;
    bool FFilling = false;
};

extern TFIEC_61850_Access* FIEC_61850_Access;
