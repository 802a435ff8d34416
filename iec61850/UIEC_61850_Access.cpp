#include "UIEC_61850_Access.h"

#include "FileCopy.h"
#include "Resources.h"
#include "SysUtils.h"
#include "UCompile_Bin.h"
#include "UEthernet_Update.h"
#include "UIEC_Device.h"
#include "ULang.h"
#include "UProject.h"
#include "UStyle.h"
#include "UUtils.h"
#include "XmlDoc.h"

#include <QDir>
#include <QFileInfo>

TFIEC_61850_Access* FIEC_61850_Access = nullptr;

namespace {

// Design colours of the grid columns.
constexpr TColor Col_ReadOnly = 16710368;
constexpr TColor Col_Address = 11075583;
constexpr TColor Col_Request = 13303754;
constexpr TColor Col_Position = 16045820;
constexpr TColor Col_Options = 11589887;
// Rows and members kept as loaded because the device model has no such data set or member.
constexpr TColor Col_Unmatched = 0xC0C0FF;

constexpr TColor Form_Color = 15595512;

// Columns of the variables grid.
enum {
    daIndex = 1,
    dabType,
    daFC,
    daReference,
    daStartByte,
    daNumByte,
    daIP,
    daPort,
    daOnChange,
    daOnCMD,
    daOnTimer,
    daTime,
    daPosition,
    daStartBit,
    daRW,
    daConv,
    daMolt,
    daMnemonic,
    daCount
};
// Columns of the data-set grid.
enum { dsIndex = 1, dsReference, dsGoose, dsEnGoose, dsIP, dsPort, dsTime, dsMnemonic, dsCount };
// Columns of the member grid.
enum { mbType = 1, mbReference, mbPosition, mbStartBit, mbConv, mbMolt, mbMnemonic, mbCount };

struct TColumnDesign {
    const char* Header;
    int Width;
    TColor Color; // clNone: the grid's
    bool ReadOnly;
    TEditorType Editor;
    const char* Items; // drop-down items, "|" separated
};

const TColumnDesign DA_Columns[daCount] = {
    {"N", 40, clNone, false, edNormal, nullptr},
    {"Index", 60, clNone, true, edNormal, nullptr},
    {"bType", 60, Col_ReadOnly, true, edNormal, nullptr},
    {"fc", 30, Col_ReadOnly, true, edNormal, nullptr},
    {"Reference", 150, Col_ReadOnly, true, edNormal, nullptr},
    {"Start Byte", 65, Col_ReadOnly, false, edNormal, nullptr},
    {"Num Byte", 60, Col_ReadOnly, false, edNormal, nullptr},
    {"IP Address", 70, Col_Address, false, edNormal, nullptr},
    {"Port", 45, Col_Address, false, edNormal, nullptr},
    {"On Change", 70, Col_Request, false, edDataCheckBox, nullptr},
    {"On CMD", 50, Col_Request, false, edDataCheckBox, nullptr},
    {"On Timer", 60, Col_Request, false, edDataCheckBox, nullptr},
    {"Time (ms)", 64, Col_Request, false, edNormal, nullptr},
    {"Position", 55, Col_Position, false, edNormal, nullptr},
    {"Start Bit", 70, Col_Position, false, edComboList, "0|1|2|3|4|5|6|7"},
    {"R/W", 60, Col_Options, false, edComboList, "Read|Write"},
    {"Convertion", 70, Col_Options, false, edComboList, "None|ItoF/FtoI"},
    {"Mult Fact", 64, Col_Options, false, edNormal, nullptr},
    {"Mnemonic", 150, clNone, false, edNormal, nullptr},
};

const TColumnDesign DataSet_Columns[dsCount] = {
    {"N", 40, clNone, false, edNormal, nullptr},
    {"Index", 60, clNone, true, edNormal, nullptr},
    {"Reference", 150, Col_ReadOnly, true, edNormal, nullptr},
    {"Goose Name", 80, Col_ReadOnly, true, edNormal, nullptr},
    {"En. Goose", 60, Col_Options, false, edDataCheckBox, nullptr},
    {"IP Address", 70, Col_Address, false, edNormal, nullptr},
    {"Port", 45, Col_Address, false, edNormal, nullptr},
    {"Time (ms)", 70, Col_Request, false, edNormal, nullptr},
    {"Mnemonic", 100, clNone, false, edNormal, nullptr},
};

const TColumnDesign Member_Columns[mbCount] = {
    {"N", 40, clNone, false, edNormal, nullptr},
    {"bType", 60, Col_ReadOnly, true, edNormal, nullptr},
    {"Reference", 150, Col_ReadOnly, true, edNormal, nullptr},
    {"Position", 55, Col_Position, false, edNormal, nullptr},
    {"Start Bit", 70, Col_Position, false, edComboList, "0|1|2|3|4|5|6|7"},
    {"Convertion", 70, Col_Options, false, edComboList, "None|ItoF/FtoI"},
    {"Mult Fact", 64, Col_Options, false, edNormal, nullptr},
    {"Mnemonic", 150, clNone, false, edNormal, nullptr},
};

// Header ids of the variables grid, columns 0 to 18.
const int DA_Header_Ids[daCount] = {1218, 1219, 1220, 1221, 1222, 1258, 1259, 1223, 1224, 1225,
                                    1226, 1227, 1228, 1229, 1230, 1231, 1232, 1233, 1234};
// Header hints of the variables grid, columns 0 to 18.
const int DA_Hint_Ids[daCount] = {1235, 1236, 1237, 1238, 1239, 1260, 1261, 1240, 1241, 1242,
                                  1243, 1244, 1245, 1246, 1247, 1248, 1249, 1250, 1251};
constexpr int DataSet_Hint_First = 1280; // columns 0 to 8
constexpr int Member_Hint_First = 1289;  // columns 0 to 7

// Integer conversion of the cells: a text that is no integer counts as -1.
int Cell_Int(const String& Text) {
    return StrToIntDef(Text, -1);
}

TAdvColumnGrid* Make_Grid(TForm* Form, TWinControl* Parent, const String& Name, const TColumnDesign* Design,
                          int Count) {
    auto* g = new TAdvColumnGrid(Form);
    g->SetName(Name);
    g->SetParent(Parent);
    g->SetAlign(alClient);
    g->SetColCount(Count);
    g->SetRowCount(2);
    g->SetFixedRows(1);
    g->SetFixedCols(1);
    TGridOptions options = g->Options();
    options.insert(
        {goFixedVertLine, goFixedHorzLine, goVertLine, goHorzLine, goRangeSelect, goColSizing, goEditing});
    g->SetOptions(options);
    g->SetRowHeights(0, 22);
    for (int c = 0; c < Count; ++c) {
        TGridColumnItem* col = g->Columns()->Items(c);
        col->SetHeader(QString::fromLatin1(Design[c].Header));
        col->SetWidth(Design[c].Width);
        if (Design[c].Color != clNone) col->SetColor(Design[c].Color);
        col->SetReadOnly(Design[c].ReadOnly);
        col->SetEditor(Design[c].Editor);
        if (Design[c].Editor == edDataCheckBox) {
            col->SetAlignment(taCenter);
            col->SetCheckTrue(QStringLiteral("Y"));
            col->SetCheckFalse(QStringLiteral("N"));
        }
        if (Design[c].Items)
            for (const QString& item : QString::fromLatin1(Design[c].Items).split(u'|'))
                col->ComboItems()->Add(item);
    }
    g->SetShowHint(true);
    return g;
}

TPanel* Make_Panel(TForm* Form, TWinControl* Parent, const String& Name, TAlign Align, int Left, int Top,
                   int Width, int Height) {
    auto* p = new TPanel(Form);
    p->SetName(Name);
    p->SetParent(Parent);
    p->SetBounds(Left, Top, Width, Height);
    p->SetBevelOuter(bvNone);
    p->SetCaption(String());
    p->SetAlign(Align);
    return p;
}

TSplitter* Make_Splitter(TForm* Form, TWinControl* Parent, const String& Name, TAlign Align, int Left,
                         int Top) {
    auto* s = new TSplitter(Form);
    s->SetName(Name);
    s->SetParent(Parent);
    // Aligned first: the bar is 3 pixels thick across its direction.
    s->SetAlign(Align);
    if (Align == alTop || Align == alBottom)
        s->SetBounds(Left, Top, Parent->ClientWidth(), 3);
    else
        s->SetBounds(Left, Top, 3, Parent->ClientHeight());
    return s;
}

String Catalog_Folder() {
    return Path_Project + QStringLiteral("\\ICD_Catalog");
}

} // namespace

TFIEC_61850_Access::TFIEC_61850_Access(TComponent* AOwner) : TForm(AOwner) {
    BeginLoading();
    SetName(QStringLiteral("FIEC_61850_Access"));
    Setup_Window(this, 1200, 550);
    SetColor(Form_Color);
    Font()->SetName(QStringLiteral("Tahoma"));
    Font()->SetSize(8);
    P_Title = Create_Title_Panel(this, L_SW_Code, L_SW_Desc);
    P_Button = Create_Button_Panel(this);
    Create_OK_Cancel(this, P_Button, Btn_OK, Btn_Cancel);
    Btn_AddVar = Create_Button(this, P_Button, QStringLiteral("Btn_AddVar"), 252, 6, 110, 28);
    Btn_RemoveVar = Create_Button(this, P_Button, QStringLiteral("Btn_RemoveVar"), 370, 6, 110, 28);
    Btn_MoveUp = Create_Button(this, P_Button, QStringLiteral("Btn_MoveUp"), 488, 6, 110, 28);
    Btn_ModeDown = Create_Button(this, P_Button, QStringLiteral("Btn_ModeDown"), 606, 6, 110, 28);
    Btn_MoveUp->SetVisible(false);
    Btn_ModeDown->SetVisible(false);

    const int h = 550 - 69 - 40;
    PDevIEC = Make_Panel(this, this, QStringLiteral("PDevIEC"), alLeft, 0, 69, 465, h);
    PDevIECList = Make_Panel(this, PDevIEC, QStringLiteral("PDevIECList"), alLeft, 0, 0, 161, h);
    Btn_Add_IEC_Device =
        Create_Button(this, PDevIECList, QStringLiteral("Btn_Add_IEC_Device"), 0, 0, 161, 28);
    Btn_Add_IEC_Device->SetAlign(alTop);
    Btn_Remove_IEC_Device =
        Create_Button(this, PDevIECList, QStringLiteral("Btn_Remove_IEC_Device"), 0, h - 28, 161, 28);
    Btn_Remove_IEC_Device->SetAlign(alBottom);
    LB_IEC_Devices = new TListBox(this);
    LB_IEC_Devices->SetName(QStringLiteral("LB_IEC_Devices"));
    LB_IEC_Devices->SetParent(PDevIECList);
    LB_IEC_Devices->SetBounds(0, 28, 161, h - 56);
    LB_IEC_Devices->SetAlign(alClient);
    Splitter2 = Make_Splitter(this, PDevIEC, QStringLiteral("Splitter2"), alLeft, 161, 0);
    PDevIECTree = Make_Panel(this, PDevIEC, QStringLiteral("PDevIECTree"), alClient, 164, 0, 301, h);
    IL_IEC = new TImageList(this);
    IL_IEC->SetName(QStringLiteral("IL_IEC"));
    {
        // Device, logical device, logical node, data object, data attribute, data set.
        TBitmap strip;
        strip.SetImage(LoadResourceImage(QStringLiteral("IEC_TREE")));
        IL_IEC->AddMasked(&strip, clFuchsia);
    }
    TV_IEC_Device = new TTreeView(this);
    TV_IEC_Device->SetName(QStringLiteral("TV_IEC_Device"));
    TV_IEC_Device->SetParent(PDevIECTree);
    TV_IEC_Device->SetAlign(alClient);
    TV_IEC_Device->SetReadOnly(true);
    TV_IEC_Device->SetIndent(19);
    TV_IEC_Device->SetImages(IL_IEC);

    Splitter1 = Make_Splitter(this, this, QStringLiteral("Splitter1"), alLeft, 465, 69);
    PTable = Make_Panel(this, this, QStringLiteral("PTable"), alClient, 468, 69, 732, h);
    PC_DA_DataSet = new TPageControl(this);
    PC_DA_DataSet->SetName(QStringLiteral("PC_DA_DataSet"));
    PC_DA_DataSet->SetParent(PTable);
    PC_DA_DataSet->SetAlign(alClient);
    TS_DA = new TTabSheet(this);
    TS_DA->SetName(QStringLiteral("TS_DA"));
    TS_DA->SetPageControl(PC_DA_DataSet);
    TS_DA->SetCaption(QStringLiteral("Variables"));
    TS_DataSet = new TTabSheet(this);
    TS_DataSet->SetName(QStringLiteral("TS_DataSet"));
    TS_DataSet->SetPageControl(PC_DA_DataSet);
    TS_DataSet->SetCaption(QStringLiteral("DataSet"));
    PC_DA_DataSet->SetActivePage(TS_DA);
    ACG_DA = Make_Grid(this, TS_DA, QStringLiteral("ACG_DA"), DA_Columns, daCount);
    P_DataSet_List = Make_Panel(this, TS_DataSet, QStringLiteral("P_DataSet_List"), alTop, 0, 0, 724, 185);
    ACG_DataSet = Make_Grid(this, P_DataSet_List, QStringLiteral("ACG_DataSet"), DataSet_Columns, dsCount);
    Splitter3 = Make_Splitter(this, TS_DataSet, QStringLiteral("Splitter3"), alTop, 0, 185);
    P_DataSet_Vars_List =
        Make_Panel(this, TS_DataSet, QStringLiteral("P_DataSet_Vars_List"), alClient, 0, 188, 724, 200);
    ACG_DS_Vars =
        Make_Grid(this, P_DataSet_Vars_List, QStringLiteral("ACG_DS_Vars"), Member_Columns, mbCount);

    OD_IcdFile = new TOpenDialog(this);
    OD_IcdFile->Filter = QStringLiteral("SCL Files (*.scd, *.ssd, *.sed, *.icd, *.iid, *.cid)|*.scd; *.ssd; "
                                        "*.sed; *.icd; *.iid; *.cid;|Any File "
                                        "(*.*)|*.*");
    XML1 = new TXMLDocument(this);
    EndLoading();

    Btn_OK->OnClick = [this](TObject* Sender) { Btn_OKClick(Sender); };
    Btn_AddVar->OnClick = [this](TObject* Sender) { Btn_AddVarClick(Sender); };
    Btn_RemoveVar->OnClick = [this](TObject* Sender) { Btn_RemoveVarClick(Sender); };
    Btn_Add_IEC_Device->OnClick = [this](TObject* Sender) { Btn_Add_IEC_DeviceClick(Sender); };
    Btn_Remove_IEC_Device->OnClick = [this](TObject* Sender) { Btn_Remove_IEC_DeviceClick(Sender); };
    LB_IEC_Devices->OnClick = [this](TObject* Sender) { LB_IEC_DevicesClick(Sender); };
    TV_IEC_Device->OnClick = [this](TObject* Sender) { TV_IEC_DeviceClick(Sender); };
    TV_IEC_Device->OnCustomDrawItem = [this](TTreeView* Sender, TTreeNode* Node, TCustomDrawState State,
                                             bool& DefaultDraw) {
        TV_IEC_DeviceCustomDrawItem(Sender, Node, State, DefaultDraw);
    };
    for (TAdvColumnGrid* g : {ACG_DA, ACG_DataSet, ACG_DS_Vars}) {
        g->OnClickCell = [this](TObject* Sender, int ARow, int ACol) { ClickCell(Sender, ARow, ACol); };
        g->OnDblClickCell = [this](TObject* Sender, int ARow, int ACol) {
            ACG_DADblClickCell(Sender, ARow, ACol);
        };
        g->OnKeyPress = [this](TObject* Sender, Char& Key) { ACG_DAKeyPress(Sender, Key); };
        g->OnGridHint = [this](TObject* Sender, int ARow, int ACol, String& hintstr) {
            ACG_DAGridHint(Sender, ARow, ACol, hintstr);
        };
    }
    ACG_DataSet->OnRowChanging = [this](TObject*, int, int NewRow, bool& Allow) {
        if (Allow) Show_Members_Of(NewRow);
    };
    ACG_DS_Vars->OnSelectCell = [this](TObject* Sender, int ACol, int ARow, bool& CanSelect) {
        ACG_DS_VarsSelectCell(Sender, ACol, ARow, CanSelect);
    };
    ACG_DS_Vars->OnEditCellDone = [this](TObject* Sender, int ACol, int ARow) {
        ACG_DS_VarsEditCellDone(Sender, ACol, ARow);
    };
    OnCreate = [this](TObject* Sender) { FormCreate(Sender); };
    OnShow = [this](TObject* Sender) { FormShow(Sender); };
    DoCreate();
}

TFIEC_61850_Access::~TFIEC_61850_Access() {
    // The tree's nodes refer to the models: the tree goes first.
    Clear_Tree();
    List_DataSet.clear();
    for (auto it = List_IEC_Dev.rbegin(); it != List_IEC_Dev.rend(); ++it) delete *it;
    List_IEC_Dev.clear();
    delete Hint;
}

void TFIEC_61850_Access::FormCreate(TObject*) {
    Hint = new TStringList();
    L_SW_Code->SetCaption(Code_SW);
    SetClientSize(1200, 550);
    Set_Lang();
}

void TFIEC_61850_Access::Set_Lang() {
    SetCaption(Lang_Text.Get(1200));
    L_SW_Desc->SetCaption(Lang_Text.Get(1201));
    TLbButton* buttons[] = {Btn_OK,     Btn_Cancel,   Btn_AddVar,         Btn_RemoveVar,
                            Btn_MoveUp, Btn_ModeDown, Btn_Add_IEC_Device, Btn_Remove_IEC_Device};
    for (int i = 0; i < 8; ++i) {
        buttons[i]->SetCaption(Lang_Text.Get(1202 + i));
        buttons[i]->SetHint(Lang_Text.Get(1210 + i));
    }
    for (int c = 0; c < daCount; ++c) {
        ACG_DA->Columns()->Items(c)->SetHeader(Lang_Text.Get(DA_Header_Ids[c]));
        ACG_DA->SetCells(c, 0, Lang_Text.Get(DA_Header_Ids[c]));
    }
    if (Hint) {
        Hint->Clear();
        for (int c = 0; c < daCount; ++c) Hint->Add(Lang_Text.Get(DA_Hint_Ids[c]));
    }
}

// ---------------------------------------------------------------------------------------------
// Showing: everything from the mapping file and the catalog

void TFIEC_61850_Access::Clear_Selections() {
    Selected_IEC_DA = nullptr;
    Selected_IEC_DS = nullptr;
}

void TFIEC_61850_Access::Clear_Tree() {
    if (TV_IEC_Device) TV_IEC_Device->Items()->Clear();
    NODE_ORIG = nullptr;
    for (TIEC_Device* d : List_IEC_Dev) d->TreeNode = nullptr;
}

void TFIEC_61850_Access::Reset_Grid(TAdvColumnGrid* Grid) {
    Grid->SetRowCount(2);
    for (int c = 0; c < Grid->ColCount(); ++c) {
        Grid->SetCells(c, 1, String());
        Grid->SetReadOnly(c, 1, false);
        Grid->SetColors(c, 1, clNone);
    }
    Grid->SetCells(0, 1, QStringLiteral("1"));
}

void TFIEC_61850_Access::FormShow(TObject*) {
    DataSet_Row_Select = 0;
    Clear_Selections();
    FShown = nullptr;
    FLoadIncomplete = false;
    Clear_Tree();
    LB_IEC_Devices->Clear();
    for (auto it = List_IEC_Dev.rbegin(); it != List_IEC_Dev.rend(); ++it) delete *it;
    List_IEC_Dev.clear();
    FICD_Items.clear();
    FPlaceholder.clear();
    List_DataSet.clear();
    ACG_DA->BeginUpdate();
    ACG_DataSet->BeginUpdate();
    ACG_DS_Vars->BeginUpdate();
    for (int r = 1; r < ACG_DA->RowCount(); ++r)
        for (int c = 0; c < ACG_DA->ColCount(); ++c) {
            ACG_DA->SetCells(c, r, String());
            ACG_DA->SetReadOnly(c, r, false);
        }
    ACG_DA->SetRowCount(2);
    Reset_Grid(ACG_DataSet);
    Reset_Grid(ACG_DS_Vars);
    if (FileExists(File_IEC_61850_Client)) Load_Mapping();
    if (ACG_DA->Cells(daIndex, 1).isEmpty()) ACG_DA->SetCells(0, 1, QStringLiteral("1"));
    ACG_DS_Vars->EndUpdate();
    ACG_DataSet->EndUpdate();
    ACG_DA->EndUpdate();
    Show_IEC_Devices();
}

void TFIEC_61850_Access::Load_Mapping() {
    TIEC_Client_Mapping mapping;
    try {
        mapping = Load_IEC_Client_Mapping(*XML1, File_IEC_61850_Client);
    } catch (const Exception& E) {
        FLoadIncomplete = true;
        MessageDlg(Lang_Text.Get(1268) + E.Message(), mtError, {mbOK});
        return;
    }
    QStringList unread;
    try {
        Load_Catalog(mapping, unread);
        Load_Variables(mapping);
        Set_Start_Num_Byte();
        Load_DataSets(mapping);
    } catch (const Exception& E) {
        FLoadIncomplete = true;
        Set_Start_Num_Byte();
        MessageDlg(Lang_Text.Get(1268) + E.Message(), mtError, {mbOK});
    }
    if (!unread.isEmpty()) MessageDlg(Lang_Text.Get(1273) + u'\n' + unread.join(u'\n'), mtWarning, {mbOK});
}

void TFIEC_61850_Access::Load_Catalog(const TIEC_Client_Mapping& Mapping, QStringList& Unread) {
    for (const TIEC_Item& item : Mapping.ICD_Files) {
        const String file = item.Required(IEC_ICD_File, QStringLiteral("FileName"));
        const String path = Catalog_Folder() + u'\\' + file;
        TIEC_Device* device = nullptr;
        String why;
        if (!Is_Plain_Name(file))
            why = QStringLiteral("not a plain file name");
        else if (!FileExists(path))
            why = QStringLiteral("missing");
        else {
            try {
                device = new TIEC_Device(path);
            } catch (const Exception& E) {
                why = E.Message();
            }
        }
        const bool placeholder = device == nullptr;
        if (placeholder) {
            // A device without a model keeps the file's place, so that the rows' Index values
            // still name the right devices; it is written back as it was read.
            device = new TIEC_Device(String());
            device->SetName(item.Value(QStringLiteral("Name")));
            device->SetFileName(file);
            Unread << file + QStringLiteral(": ") + why;
        }
        List_IEC_Dev.push_back(device);
        FICD_Items.push_back(item);
        FPlaceholder.push_back(placeholder);
    }
}

void TFIEC_61850_Access::Load_Variables(const TIEC_Client_Mapping& Mapping) {
    if (Mapping.Variables.empty()) return;
    ACG_DA->SetRowCount(int(Mapping.Variables.size()) + 1);
    int r = 1;
    for (const TIEC_Item& item : Mapping.Variables) {
        ACG_DA->SetCells(0, r, QString::number(r));
        for (int c = 1; c < daCount; ++c) {
            const String& name = IEC_DA_Item_Attrs[c - 1];
            const bool optional = c == daStartByte || c == daNumByte;
            ACG_DA->SetCells(c, r, optional ? item.Value(name) : item.Required(IEC_DA_Item, name));
        }
        ++r;
    }
}

void TFIEC_61850_Access::Load_DataSets(const TIEC_Client_Mapping& Mapping) {
    if (!Mapping.Has_DataSet_List || Mapping.DataSets.empty()) return;
    ACG_DataSet->SetRowCount(int(Mapping.DataSets.size()) + 1);
    int r = 1;
    for (const TIEC_DataSet_Entry& e : Mapping.DataSets) {
        // An item that stops the load leaves no row without its entry: the grid keeps the rows
        // read before it.
        String texts[dsCount];
        int index = -1;
        try {
            for (int c = 1; c < dsCount; ++c)
                texts[c] = e.Attrs.Required(IEC_DataSet_Item, IEC_DataSet_Item_Attrs[c - 1]);
            // The system's integer rule, as the rows' Index values are compared everywhere else.
            if (!TryStrToInt(texts[dsIndex], index))
                throw EConvertError(QStringLiteral("'%1' is not a valid integer value").arg(texts[dsIndex]));
        } catch (const Exception&) {
            if (r == 1)
                Reset_Grid(ACG_DataSet);
            else
                ACG_DataSet->SetRowCount(r);
            throw;
        }
        ACG_DataSet->SetCells(0, r, QString::number(r));
        for (int c = 1; c < dsCount; ++c) ACG_DataSet->SetCells(c, r, texts[c]);
        auto entry = std::make_unique<TDataSet>();
        entry->Device = index;
        entry->Select_DataSet = Get_DataSet(index, ACG_DataSet->Cells(dsReference, r));
        entry->Unmatched = entry->Select_DataSet == nullptr;
        for (size_t j = 0; j < e.Members.size(); ++j) {
            const TIEC_Item& m = e.Members[j];
            auto member = std::make_unique<TDataSet_DA>();
            member->bType = m.Value(QStringLiteral("bType"));
            member->Reference = m.Value(QStringLiteral("Reference"));
            member->Position = m.Value(QStringLiteral("Position"));
            member->bitAddress = m.Value(QStringLiteral("StartBit"));
            member->conversion = m.Value(QStringLiteral("Convertion"));
            member->multFactor = m.Value(QStringLiteral("MoltFact"));
            member->Mnemonic = m.Value(QStringLiteral("Mnemonic"));
            TIEC_DA* da = nullptr;
            if (entry->Select_DataSet && j < entry->Select_DataSet->List_DA().size())
                da = entry->Select_DataSet->List_DA()[j];
            if (da && da->bType() == member->bType && da->Reference() == member->Reference) {
                member->Select_DA = da;
            } else {
                member->Unmatched = true;
                member->Loaded = m;
            }
            entry->List_DAs.push_back(std::move(member));
        }
        if (entry->Unmatched) Mark_Row(ACG_DataSet, r, 1, dsCount - 1);
        List_DataSet.push_back(std::move(entry));
        ++r;
    }
}

void TFIEC_61850_Access::Mark_Row(TAdvColumnGrid* Grid, int Row, int FirstCol, int LastCol) {
    for (int c = FirstCol; c <= LastCol; ++c) {
        Grid->SetReadOnly(c, Row, true);
        Grid->SetColors(c, Row, Col_Unmatched);
    }
}

bool TFIEC_61850_Access::Is_Placeholder(int k) const {
    return k >= 0 && size_t(k) < FPlaceholder.size() && FPlaceholder[size_t(k)];
}

void TFIEC_61850_Access::Show_IEC_Devices() {
    QStringList lines;
    for (size_t k = 0; k < List_IEC_Dev.size(); ++k)
        lines << (FPlaceholder[k] ? List_IEC_Dev[k]->FileName() + Lang_Text.Get(1277)
                                  : List_IEC_Dev[k]->Name());
    LB_IEC_Devices->Items()->BeginUpdate();
    LB_IEC_Devices->Items()->Clear();
    for (const String& l : lines) LB_IEC_Devices->Items()->Add(l);
    LB_IEC_Devices->Items()->EndUpdate();
}

// ---------------------------------------------------------------------------------------------
// Catalog

void TFIEC_61850_Access::Btn_Add_IEC_DeviceClick(TObject*) {
    if (!OD_IcdFile->Execute()) return;
    const String folder = Catalog_Folder();
    if (!DirectoryExists(folder) && !ForceDirectories(folder)) {
        MessageDlg(Lang_Text.Get(1274) + folder, mtError, {mbOK});
        return;
    }
    const String name = QFileInfo(NativePath(OD_IcdFile->FileName)).fileName();
    const String target = folder + u'\\' + name;
    bool copy = true;
    if (FileExists(target)) {
        const int answer = MessageDlg(
            QStringLiteral("File already exists in catalog directory. Do you want to overwrite file?"),
            mtConfirmation, mbYesNoCancel);
        if (answer == mrCancel) return;
        copy = answer == mrYes;
        // Choosing the catalog copy itself copies nothing.
        if (QFileInfo(NativePath(OD_IcdFile->FileName)).canonicalFilePath() ==
            QFileInfo(NativePath(target)).canonicalFilePath())
            copy = false;
    }
    if (copy && !CopyFileOver(OD_IcdFile->FileName, target)) {
        MessageDlg(Lang_Text.Get(1275) + target, mtError, {mbOK});
        return;
    }
    TIEC_Device* device = nullptr;
    try {
        device = new TIEC_Device(target);
    } catch (const Exception& E) {
        MessageDlg(E.Message(), mtError, {mbOK});
        return;
    }
    List_IEC_Dev.push_back(device);
    TIEC_Item item(IEC_ICD_File_Attrs);
    item.Set(QStringLiteral("Name"), device->Name());
    item.Set(QStringLiteral("FileName"), device->FileName());
    FICD_Items.push_back(item);
    FPlaceholder.push_back(false);
    const int chosen = LB_IEC_Devices->ItemIndex();
    Show_IEC_Devices();
    if (chosen >= 0) LB_IEC_Devices->SetItemIndex(chosen);
    Clear_Selections();
    if (!device->Warnings().isEmpty())
        MessageDlg(Lang_Text.Get(1276) + u'\n' + device->Warnings().join(u'\n'), mtWarning, {mbOK});
}

void TFIEC_61850_Access::Btn_Remove_IEC_DeviceClick(TObject*) {
    const int k = LB_IEC_Devices->ItemIndex();
    if (k < 0 || k >= LB_IEC_Devices->Count() || size_t(k) >= List_IEC_Dev.size()) return;
    for (TAdvColumnGrid* g : {ACG_DA, ACG_DataSet})
        for (int r = 1; r < g->RowCount(); ++r)
            if (Cell_Int(g->Cells(1, r)) == k) return;
    for (const auto& e : List_DataSet)
        if (e->Device == k) return;
    const bool shown = NODE_ORIG && List_IEC_Dev[size_t(k)]->TreeNode == NODE_ORIG;
    if (shown) Clear_Tree();
    delete List_IEC_Dev[size_t(k)];
    List_IEC_Dev.erase(List_IEC_Dev.begin() + k);
    FICD_Items.erase(FICD_Items.begin() + k);
    FPlaceholder.erase(FPlaceholder.begin() + k);
    for (TAdvColumnGrid* g : {ACG_DA, ACG_DataSet})
        for (int r = 1; r < g->RowCount(); ++r) {
            const int v = Cell_Int(g->Cells(1, r));
            if (v > k) g->SetCells(1, r, QString::number(v - 1));
        }
    for (const auto& e : List_DataSet)
        if (e->Device > k) --e->Device;
    Show_IEC_Devices();
    Clear_Selections();
}

int TFIEC_61850_Access::Chosen_Device() const {
    const int k = LB_IEC_Devices->ItemIndex();
    return k >= 0 && size_t(k) < List_IEC_Dev.size() ? k : -1;
}

void TFIEC_61850_Access::LB_IEC_DevicesClick(TObject*) {
    const int k = Chosen_Device();
    if (k < 0) return;
    Clear_Tree();
    Show_Tree_IEC_Device(List_IEC_Dev[size_t(k)]);
    Clear_Selections();
}

// ---------------------------------------------------------------------------------------------
// Tree

void TFIEC_61850_Access::Show_Tree_IEC_Device(TIEC_Device* app_IEC_Dev) {
    TTreeNodes* items = TV_IEC_Device->Items();
    items->BeginUpdate();
    TTreeNode* node = items->AddChild(nullptr, app_IEC_Dev->Name());
    node->SetImageIndex(0);
    node->SetSelectedIndex(0);
    app_IEC_Dev->TreeNode = node;
    NODE_ORIG = node;
    for (TIEC_LDevice* ld : app_IEC_Dev->List_LDevice()) Show_Tree_IEC_LDevice(ld, node);
    node->Expand(false);
    items->EndUpdate();
}

void TFIEC_61850_Access::Show_Tree_IEC_LDevice(TIEC_LDevice* LDevice, TTreeNode* NodeOrig) {
    TTreeNode* node = TV_IEC_Device->Items()->AddChild(NodeOrig, LDevice->Name());
    node->SetImageIndex(1);
    node->SetSelectedIndex(1);
    LDevice->TreeNode = node;
    for (TIEC_LN* ln : LDevice->List_LN()) Show_Tree_IEC_LN(ln, node);
    node->Expand(false);
}

void TFIEC_61850_Access::Show_Tree_IEC_LN(TIEC_LN* LN, TTreeNode* NodeOrig) {
    TTreeNode* node = TV_IEC_Device->Items()->AddChild(NodeOrig, LN->Prefix() + LN->lnClass() + LN->Inst());
    node->SetImageIndex(2);
    node->SetSelectedIndex(2);
    LN->TreeNode = node;
    for (TIEC_DO* d : LN->List_DO()) Show_Tree_IEC_DO(d, node);
    for (TIEC_DataSet* ds : LN->List_DataSet()) Show_Tree_IEC_DataSet(ds, node);
    node->Expand(false);
}

void TFIEC_61850_Access::Show_Tree_IEC_DO(TIEC_DO* DO, TTreeNode* NodeOrig) {
    TTreeNode* node = TV_IEC_Device->Items()->AddChild(NodeOrig, DO->Name());
    node->SetImageIndex(3);
    node->SetSelectedIndex(3);
    DO->TreeNode = node;
    for (TIEC_DO* d : DO->List_DO()) Show_Tree_IEC_DO(d, node);
    for (TIEC_DA* a : DO->List_DA()) Show_Tree_IEC_DA(a, node);
}

void TFIEC_61850_Access::Show_Tree_IEC_DA(TIEC_DA* DA, TTreeNode* NodeOrig) {
    TTreeNode* node = TV_IEC_Device->Items()->AddChild(NodeOrig, DA->Name());
    node->SetImageIndex(4);
    node->SetSelectedIndex(4);
    DA->TreeNode = node;
    for (TIEC_DA* a : DA->List_DA()) Show_Tree_IEC_DA(a, node);
}

void TFIEC_61850_Access::Show_Tree_IEC_DataSet(TIEC_DataSet* DataSet, TTreeNode* NodeOrig) {
    TTreeNode* node = TV_IEC_Device->Items()->AddChild(NodeOrig, DataSet->Name());
    node->SetImageIndex(5);
    node->SetSelectedIndex(5);
    DataSet->TreeNode = node;
}

void TFIEC_61850_Access::TV_IEC_DeviceCustomDrawItem(TTreeView* Sender, TTreeNode* Node, TCustomDrawState,
                                                     bool&) {
    TColor color = clBlack;
    if (Node->ImageIndex() == 3)
        color = TColor(0xFF0000);
    else if (Node->ImageIndex() == 5)
        color = TColor(0x008000);
    Sender->Canvas()->Font()->SetColor(color);
}

void TFIEC_61850_Access::TV_IEC_DeviceClick(TObject*) {
    Clear_Selections();
    Selected_IEC_DA = Search_Node_Selected();
    if (!Selected_IEC_DA) Selected_IEC_DS = Search_Node_Selected_DataSet();
}

namespace {

// The leaf attribute whose node is Node, below DA (DA itself included).
TIEC_DA* Find_DA_Node(TIEC_DA* DA, TTreeNode* Node, bool& Hit) {
    if (DA->TreeNode == Node) {
        Hit = true;
        return DA->List_DA().empty() ? DA : nullptr;
    }
    for (TIEC_DA* a : DA->List_DA()) {
        TIEC_DA* r = Find_DA_Node(a, Node, Hit);
        if (Hit) return r;
    }
    return nullptr;
}

TIEC_DA* Find_DO_Node(TIEC_DO* DO, TTreeNode* Node, bool& Hit) {
    if (DO->TreeNode == Node) {
        Hit = true;
        return nullptr;
    }
    for (TIEC_DO* d : DO->List_DO()) {
        TIEC_DA* r = Find_DO_Node(d, Node, Hit);
        if (Hit) return r;
    }
    for (TIEC_DA* a : DO->List_DA()) {
        TIEC_DA* r = Find_DA_Node(a, Node, Hit);
        if (Hit) return r;
    }
    return nullptr;
}

} // namespace

TIEC_DA* TFIEC_61850_Access::Search_Node_Selected() {
    const int k = Chosen_Device();
    TTreeNode* node = TV_IEC_Device->Selected();
    if (k < 0 || !node || !NODE_ORIG) return nullptr;
    TIEC_Device* device = List_IEC_Dev[size_t(k)];
    if (device->TreeNode != NODE_ORIG || node == NODE_ORIG) return nullptr;
    bool hit = false;
    for (TIEC_LDevice* ld : device->List_LDevice()) {
        if (ld->TreeNode == node) return nullptr;
        for (TIEC_LN* ln : ld->List_LN()) {
            if (ln->TreeNode == node) return nullptr;
            if (!ln->TreeNode) continue;
            for (TIEC_DO* d : ln->List_DO()) {
                TIEC_DA* r = Find_DO_Node(d, node, hit);
                if (hit) return r;
            }
        }
    }
    return nullptr;
}

TIEC_DataSet* TFIEC_61850_Access::Search_Node_Selected_DataSet() {
    const int k = Chosen_Device();
    TTreeNode* node = TV_IEC_Device->Selected();
    if (k < 0 || !node || !NODE_ORIG) return nullptr;
    TIEC_Device* device = List_IEC_Dev[size_t(k)];
    if (device->TreeNode != NODE_ORIG || node == NODE_ORIG) return nullptr;
    for (TIEC_LDevice* ld : device->List_LDevice()) {
        if (ld->TreeNode == node) return nullptr;
        for (TIEC_LN* ln : ld->List_LN()) {
            if (ln->TreeNode == node) return nullptr;
            for (TIEC_DataSet* ds : ln->List_DataSet())
                if (ds->TreeNode == node) return ds;
        }
    }
    return nullptr;
}

TIEC_DataSet* TFIEC_61850_Access::Get_DataSet(int index, const String& reference) const {
    if (index < 0 || size_t(index) >= List_IEC_Dev.size() || Is_Placeholder(index)) return nullptr;
    for (TIEC_LDevice* ld : List_IEC_Dev[size_t(index)]->List_LDevice())
        for (TIEC_LN* ln : ld->List_LN())
            for (TIEC_DataSet* ds : ln->List_DataSet())
                if (ds->Reference() == reference) return ds;
    return nullptr;
}

// ---------------------------------------------------------------------------------------------
// Rows

bool TFIEC_61850_Access::Row_Used(TAdvColumnGrid* Grid) const {
    return !(Grid->RowCount() == 2 && Grid->Cells(1, 1).isEmpty());
}

void TFIEC_61850_Access::Renumber(TAdvColumnGrid* Grid) {
    for (int r = 1; r < Grid->RowCount(); ++r) Grid->SetCells(0, r, QString::number(r));
}

void TFIEC_61850_Access::Btn_AddVarClick(TObject*) {
    const int k = Chosen_Device();
    if (Selected_IEC_DA && k >= 0) {
        PC_DA_DataSet->SetActivePage(TS_DA);
        if (Row_Used(ACG_DA)) ACG_DA->SetRowCount(ACG_DA->RowCount() + 1);
        const int r = ACG_DA->RowCount() - 1;
        ACG_DA->SetCells(0, r, QString::number(r));
        ACG_DA->SetCells(daIndex, r, QString::number(k));
        ACG_DA->SetCells(dabType, r, Selected_IEC_DA->bType());
        ACG_DA->SetCells(daFC, r, Selected_IEC_DA->FC());
        ACG_DA->SetCells(daReference, r, Selected_IEC_DA->Reference());
        for (int c = daStartByte; c <= daPort; ++c) ACG_DA->SetCells(c, r, String());
        for (int c = daOnChange; c <= daOnTimer; ++c) ACG_DA->SetCells(c, r, QStringLiteral("N"));
        for (int c = daTime; c < daCount; ++c) ACG_DA->SetCells(c, r, String());
        for (int c = 1; c < daCount; ++c) {
            ACG_DA->SetReadOnly(c, r, false);
            ACG_DA->SetColors(c, r, clNone);
        }
        Set_Start_Num_Byte();
    } else if (Selected_IEC_DS && k >= 0) {
        PC_DA_DataSet->SetActivePage(TS_DataSet);
        Store_Members();
        if (Row_Used(ACG_DataSet)) ACG_DataSet->SetRowCount(ACG_DataSet->RowCount() + 1);
        const int r = ACG_DataSet->RowCount() - 1;
        ACG_DataSet->SetCells(0, r, QString::number(r));
        ACG_DataSet->SetCells(dsIndex, r, QString::number(k));
        ACG_DataSet->SetCells(dsReference, r, Selected_IEC_DS->Reference());
        ACG_DataSet->SetCells(dsGoose, r, Selected_IEC_DS->GooseName());
        ACG_DataSet->SetCells(
            dsEnGoose, r, Selected_IEC_DS->GooseName().isEmpty() ? QStringLiteral("N") : QStringLiteral("Y"));
        for (int c = dsIP; c < dsCount; ++c) ACG_DataSet->SetCells(c, r, String());
        for (int c = 1; c < dsCount; ++c) {
            ACG_DataSet->SetReadOnly(c, r, false);
            ACG_DataSet->SetColors(c, r, clNone);
        }
        auto entry = std::make_unique<TDataSet>();
        entry->Select_DataSet = Selected_IEC_DS;
        entry->Device = k;
        for (TIEC_DA* da : Selected_IEC_DS->List_DA()) {
            auto member = std::make_unique<TDataSet_DA>();
            member->Select_DA = da;
            member->bType = da->bType();
            member->Reference = da->Reference();
            entry->List_DAs.push_back(std::move(member));
        }
        List_DataSet.push_back(std::move(entry));
        Show_DataSet_DAs();
    }
}

void TFIEC_61850_Access::Btn_RemoveVarClick(TObject*) {
    if (PC_DA_DataSet->ActivePage() == TS_DA) {
        const int r = ACG_DA->Row();
        if (r <= 0) return;
        if (r == 1 && ACG_DA->RowCount() == 2) {
            for (int c = 1; c < ACG_DA->ColCount(); ++c) {
                ACG_DA->SetCells(c, 1, String());
                ACG_DA->SetReadOnly(c, 1, false);
            }
        } else {
            ACG_DA->RemoveRows(r, 1);
            Renumber(ACG_DA);
        }
        Set_Start_Num_Byte();
    } else if (PC_DA_DataSet->ActivePage() == TS_DataSet) {
        const int r = ACG_DataSet->Row();
        if (r < 1 || size_t(r) > List_DataSet.size()) return;
        Store_Members();
        if (FShown == List_DataSet[size_t(r - 1)].get()) FShown = nullptr;
        List_DataSet.erase(List_DataSet.begin() + (r - 1));
        FFilling = true;
        if (!List_DataSet.empty()) {
            ACG_DataSet->RemoveRows(r, 1);
            Renumber(ACG_DataSet);
        } else {
            for (int c = 1; c < ACG_DataSet->ColCount(); ++c) {
                ACG_DataSet->SetCells(c, 1, String());
                ACG_DataSet->SetReadOnly(c, 1, false);
                ACG_DataSet->SetColors(c, 1, clNone);
            }
        }
        FFilling = false;
        FShown = nullptr;
        Show_DataSet_DAs();
    }
}

void TFIEC_61850_Access::ClickCell(TObject* Sender, int ARow, int ACol) {
    auto* grid = dynamic_cast<TAdvColumnGrid*>(Sender);
    if (!grid) return;
    if (ACol == 0 && ARow > 0 && ARow < grid->RowCount()) {
        grid->SetRow(ARow);
        grid->SelectRows(ARow, 1);
    }
    if (grid == ACG_DataSet) Show_DataSet_DAs();
}

void TFIEC_61850_Access::ACG_DADblClickCell(TObject* Sender, int ARow, int ACol) {
    if (auto* grid = dynamic_cast<TAdvStringGrid*>(Sender)) Grid_Auto_Size_Col(grid, ARow, ACol);
}

void TFIEC_61850_Access::ACG_DAKeyPress(TObject* Sender, Char& Key) {
    if (auto* grid = dynamic_cast<TAdvStringGrid*>(Sender)) Grid_Enter_Next_Cell(grid, Key);
}

void TFIEC_61850_Access::ACG_DAGridHint(TObject* Sender, int ARow, int ACol, String& hintstr) {
    // Rows and members kept as loaded say why they cannot be edited.
    if (ARow > 0 && ACol > 0) {
        bool kept = false;
        if (Sender == ACG_DataSet)
            kept = size_t(ARow) <= List_DataSet.size() && List_DataSet[size_t(ARow - 1)]->Unmatched;
        else if (Sender == ACG_DS_Vars)
            kept = FShown && size_t(ARow) <= FShown->List_DAs.size() &&
                   FShown->List_DAs[size_t(ARow - 1)]->Unmatched;
        if (kept) hintstr = Lang_Text.Get(1278);
        return;
    }
    if (ARow != 0 || ACol < 1) return;
    if (Sender == ACG_DA) {
        if (Hint && ACol < Hint->Count()) hintstr = Hint->Strings(ACol);
    } else if (Sender == ACG_DataSet) {
        if (ACol < dsCount) hintstr = Lang_Text.Get(DataSet_Hint_First + ACol);
    } else if (Sender == ACG_DS_Vars) {
        if (ACol < mbCount) hintstr = Lang_Text.Get(Member_Hint_First + ACol);
    }
}

void TFIEC_61850_Access::Store_Members() {
    if (!FShown) return;
    const int n = std::min<int>(int(FShown->List_DAs.size()), ACG_DS_Vars->RowCount() - 1);
    for (int j = 0; j < n; ++j) {
        TDataSet_DA& m = *FShown->List_DAs[size_t(j)];
        if (m.Unmatched) continue;
        m.Position = ACG_DS_Vars->Cells(mbPosition, j + 1);
        m.bitAddress = ACG_DS_Vars->Cells(mbStartBit, j + 1);
        m.conversion = ACG_DS_Vars->Cells(mbConv, j + 1);
        m.multFactor = ACG_DS_Vars->Cells(mbMolt, j + 1);
        m.Mnemonic = ACG_DS_Vars->Cells(mbMnemonic, j + 1);
    }
}

void TFIEC_61850_Access::Show_DataSet_DAs() {
    Show_Members_Of(ACG_DataSet->Row());
}

void TFIEC_61850_Access::Show_Members_Of(int r) {
    if (FFilling) return;
    Store_Members();
    TDataSet* entry =
        r >= 1 && size_t(r) <= List_DataSet.size() ? List_DataSet[size_t(r - 1)].get() : nullptr;
    FShown = entry;
    DataSet_Row_Select = entry ? r : 0;
    ACG_DS_Vars->BeginUpdate();
    if (!entry || entry->List_DAs.empty()) {
        Reset_Grid(ACG_DS_Vars);
    } else {
        ACG_DS_Vars->SetRowCount(int(entry->List_DAs.size()) + 1);
        for (size_t j = 0; j < entry->List_DAs.size(); ++j) {
            const TDataSet_DA& m = *entry->List_DAs[j];
            const int row = int(j) + 1;
            const String texts[mbCount] = {QString::number(row), m.bType,      m.Reference,  m.Position,
                                           m.bitAddress,         m.conversion, m.multFactor, m.Mnemonic};
            for (int c = 0; c < mbCount; ++c) {
                ACG_DS_Vars->SetCells(c, row, texts[c]);
                if (c > 0) {
                    ACG_DS_Vars->SetReadOnly(c, row, m.Unmatched);
                    ACG_DS_Vars->SetColors(c, row, m.Unmatched ? Col_Unmatched : clNone);
                }
            }
            if (m.Unmatched) {
                const TIEC_Item& l = m.Loaded;
                ACG_DS_Vars->SetCells(mbPosition, row, l.Value(QStringLiteral("Position")));
                ACG_DS_Vars->SetCells(mbStartBit, row, l.Value(QStringLiteral("StartBit")));
                ACG_DS_Vars->SetCells(mbConv, row, l.Value(QStringLiteral("Convertion")));
                ACG_DS_Vars->SetCells(mbMolt, row, l.Value(QStringLiteral("MoltFact")));
                ACG_DS_Vars->SetCells(mbMnemonic, row, l.Value(QStringLiteral("Mnemonic")));
            }
        }
    }
    ACG_DS_Vars->EndUpdate();
}

void TFIEC_61850_Access::ACG_DS_VarsSelectCell(TObject*, int, int, bool&) {
    DataSet_Row_Select = FShown ? DataSet_Row_Select : 0;
}

void TFIEC_61850_Access::ACG_DS_VarsEditCellDone(TObject*, int ACol, int ARow) {
    if (!FShown || ARow < 1 || size_t(ARow) > FShown->List_DAs.size()) return;
    TDataSet_DA& m = *FShown->List_DAs[size_t(ARow - 1)];
    if (m.Unmatched) return;
    const String text = ACG_DS_Vars->Cells(ACol, ARow);
    switch (ACol) {
        case mbPosition: m.Position = text; break;
        case mbStartBit: m.bitAddress = text; break;
        case mbConv: m.conversion = text; break;
        case mbMolt: m.multFactor = text; break;
        case mbMnemonic: m.Mnemonic = text; break;
        default: break;
    }
}

void TFIEC_61850_Access::Set_Start_Num_Byte() {
    for (int r = 1; r < ACG_DA->RowCount(); ++r) {
        Byte start = 0, num = 0;
        const bool fixed = IEC_Fixed_Size(ACG_DA->Cells(dabType, r), start, num);
        if (fixed) {
            ACG_DA->SetCells(daStartByte, r, QString::number(start));
            ACG_DA->SetCells(daNumByte, r, QString::number(num));
        }
        ACG_DA->SetReadOnly(daStartByte, r, fixed);
        ACG_DA->SetReadOnly(daNumByte, r, fixed);
    }
}

// ---------------------------------------------------------------------------------------------
// Validation and saving

bool TFIEC_61850_Access::Check_Address(const String& Text, String* Canonical) const {
    String o1, o2, o3, o4, address;
    if (!Check_IP_Address(Text, o1, o2, o3, o4)) return false;
    if (!Canonical_IP_Address(o1, o2, o3, o4, address)) return false;
    if (Canonical) *Canonical = address;
    return true;
}

bool TFIEC_61850_Access::Controllo_dati() {
    Store_Members();
    Char sep = Get_Decimal_Separator();
    if (sep != u'.' && sep != u',') sep = u',';
    auto fail = [](const String& Message) {
        MessageDlg(Message, mtError, {mbOK});
        return false;
    };
    auto mult_ok = [sep](const String& Text) {
        if (Text.trimmed().toUpper() == QStringLiteral("NONE")) return true;
        float v = 0;
        return Str_To_Float_Sep(Text, sep, v);
    };
    for (int r = 1; r < ACG_DA->RowCount(); ++r) {
        auto cell = [&](int c) { return ACG_DA->Cells(c, r); };
        const String type = cell(dabType).toUpper();
        if (type.isEmpty()) continue;
        const String row = Lang_Text.Get(1252) + QString::number(r);
        const int start = Cell_Int(cell(daStartByte));
        const int num = Cell_Int(cell(daNumByte));
        if (type == QStringLiteral("VISSTRING255")) {
            if (start < 0 || start > 254) return fail(row + Lang_Text.Get(1262));
            if (num < 1 || num > 255) return fail(row + Lang_Text.Get(1263));
            if (start + num > 255) return fail(row + Lang_Text.Get(1264));
        } else if (type == QStringLiteral("OCTET64")) {
            if (start < 0 || start > 63) return fail(row + Lang_Text.Get(1265));
            if (num < 1 || num > 64) return fail(row + Lang_Text.Get(1266));
            if (start + num > 64) return fail(row + Lang_Text.Get(1267));
        }
        if (!Check_Address(cell(daIP), nullptr)) return fail(row + Lang_Text.Get(1253));
        const int port = Cell_Int(cell(daPort));
        if (port < 0 || port > 65535) return fail(row + Lang_Text.Get(1254));
        if (cell(daOnTimer).trimmed() == QStringLiteral("Y")) {
            const int time = Cell_Int(cell(daTime));
            if (time < 1 || time > 100000000) return fail(row + Lang_Text.Get(1255));
        }
        const int position = Cell_Int(cell(daPosition));
        if (position < 0 || position > 1399) return fail(row + Lang_Text.Get(1256) + QStringLiteral("1399"));
        if (!mult_ok(cell(daMolt))) return fail(row + Lang_Text.Get(1257));
        if (cell(daRW) != QStringLiteral("Read") && cell(daRW) != QStringLiteral("Write"))
            return fail(row + Lang_Text.Get(1270));
    }
    if (!Row_Used(ACG_DataSet)) return true;
    for (int r = 1; r < ACG_DataSet->RowCount(); ++r) {
        const TDataSet* entry =
            size_t(r) <= List_DataSet.size() ? List_DataSet[size_t(r - 1)].get() : nullptr;
        if (entry && entry->Unmatched) continue;
        auto cell = [&](int c) { return ACG_DataSet->Cells(c, r); };
        const String row = Lang_Text.Get(1272) + QString::number(r);
        if (!Check_Address(cell(dsIP), nullptr)) return fail(row + Lang_Text.Get(1253));
        const int port = Cell_Int(cell(dsPort));
        if (port < 0 || port > 65535) return fail(row + Lang_Text.Get(1254));
        const int time = Cell_Int(cell(dsTime));
        if (time < 1 || time > 100000000) return fail(row + Lang_Text.Get(1255));
        if (!entry) continue;
        for (size_t j = 0; j < entry->List_DAs.size(); ++j) {
            const TDataSet_DA& m = *entry->List_DAs[j];
            if (m.Unmatched) continue;
            const String member = row + Lang_Text.Get(1271) + QString::number(j + 1);
            const int position = Cell_Int(m.Position);
            if (position < 0 || position > 1399)
                return fail(member + Lang_Text.Get(1256) + QStringLiteral("1399"));
            const int bit = Cell_Int(m.bitAddress);
            if (bit < 0 || bit > 7) return fail(member + Lang_Text.Get(1279));
            if (!mult_ok(m.multFactor)) return fail(member + Lang_Text.Get(1257));
        }
    }
    return true;
}

TIEC_Client_Mapping TFIEC_61850_Access::Build_Mapping() const {
    TIEC_Client_Mapping mapping;
    for (size_t k = 0; k < List_IEC_Dev.size(); ++k) {
        if (FPlaceholder[k]) {
            mapping.ICD_Files.push_back(FICD_Items[k]);
            continue;
        }
        TIEC_Item item(IEC_ICD_File_Attrs);
        item.Set(QStringLiteral("Name"), List_IEC_Dev[k]->Name());
        item.Set(QStringLiteral("FileName"), List_IEC_Dev[k]->FileName());
        mapping.ICD_Files.push_back(item);
    }
    if (Row_Used(ACG_DA))
        for (int r = 1; r < ACG_DA->RowCount(); ++r) {
            TIEC_Item item(IEC_DA_Item_Attrs);
            for (int c = 1; c < daCount; ++c) item.Set(IEC_DA_Item_Attrs[c - 1], ACG_DA->Cells(c, r));
            mapping.Variables.push_back(item);
        }
    if (Row_Used(ACG_DataSet))
        for (int r = 1; r < ACG_DataSet->RowCount(); ++r) {
            TIEC_DataSet_Entry e;
            e.Attrs = TIEC_Item(IEC_DataSet_Item_Attrs);
            for (int c = 1; c < dsCount; ++c)
                e.Attrs.Set(IEC_DataSet_Item_Attrs[c - 1], ACG_DataSet->Cells(c, r));
            if (size_t(r) <= List_DataSet.size())
                for (const auto& m : List_DataSet[size_t(r - 1)]->List_DAs) {
                    if (m->Unmatched) {
                        e.Members.push_back(m->Loaded);
                        continue;
                    }
                    TIEC_Item item(IEC_DataSet_DA_Item_Attrs);
                    item.Set(QStringLiteral("bType"), m->bType);
                    item.Set(QStringLiteral("Reference"), m->Reference);
                    item.Set(QStringLiteral("Position"), m->Position);
                    item.Set(QStringLiteral("StartBit"), m->bitAddress);
                    item.Set(QStringLiteral("Convertion"), m->conversion);
                    item.Set(QStringLiteral("MoltFact"), m->multFactor);
                    item.Set(QStringLiteral("Mnemonic"), m->Mnemonic);
                    e.Members.push_back(item);
                }
            mapping.DataSets.push_back(std::move(e));
        }
    return mapping;
}

void TFIEC_61850_Access::Finish_Edits() {
    // Commits an open editor into its cell (nothing when none is open).
    for (TAdvColumnGrid* g : {ACG_DA, ACG_DataSet, ACG_DS_Vars}) g->HideInplaceEdit();
    Store_Members();
}

void TFIEC_61850_Access::Btn_OKClick(TObject*) {
    Finish_Edits();
    if (!Controllo_dati()) return;
    // The addresses are written in their canonical dotted form.
    for (int r = 1; r < ACG_DA->RowCount(); ++r) {
        String address;
        if (!ACG_DA->Cells(dabType, r).isEmpty() && Check_Address(ACG_DA->Cells(daIP, r), &address))
            ACG_DA->SetCells(daIP, r, address);
    }
    for (int r = 1; Row_Used(ACG_DataSet) && r < ACG_DataSet->RowCount(); ++r) {
        String address;
        const bool unmatched = size_t(r) <= List_DataSet.size() && List_DataSet[size_t(r - 1)]->Unmatched;
        if (!unmatched && Check_Address(ACG_DataSet->Cells(dsIP, r), &address))
            ACG_DataSet->SetCells(dsIP, r, address);
    }
    if (FLoadIncomplete && MessageDlg(Lang_Text.Get(1269), mtConfirmation, mbYesNo) != mrYes) return;
    try {
        Save_IEC_Client_Mapping(*XML1, Build_Mapping(), File_IEC_61850_Client);
    } catch (const Exception& E) {
        MessageDlg(E.Message(), mtError, {mbOK});
        return;
    }
    FLoadIncomplete = false;
    SetModalResult(mrOk);
}
