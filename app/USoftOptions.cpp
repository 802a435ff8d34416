#include "USoftOptions.h"

#include "Classes.h"
#include "Dialogs.h"
#include "Net.h"
#include "ShellApi.h"
#include "SysUtils.h"
#include "ULang.h"
#include "UProject.h"
#include "UStyle.h"
#include "UVelmoraeFirmWare.h"
#include "UVersion.h"

TFSoftOptions* FSoftOptions = nullptr;

namespace {

TCheckBox* Create_CheckBox(TForm* Form, TWinControl* Parent, const String& Name, int Left, int Top) {
    auto* cb = new TCheckBox(Form);
    cb->SetName(Name);
    cb->SetParent(Parent);
    cb->SetBounds(Left, Top, 460, 17);
    return cb;
}

TTabSheet* Create_Sheet(TForm* Form, TPageControl* PC, const String& Name) {
    auto* ts = new TTabSheet(Form);
    ts->SetName(Name);
    ts->SetPageControl(PC);
    return ts;
}

// The language files a user may choose: files with no attribute but hidden, system, archive,
// normal (read-only, temporary, compressed and encrypted files are left out).
constexpr int Allowed_Attributes = faHidden | faSysFile | faArchive | faNormal;

} // namespace

TFSoftOptions::TFSoftOptions(TComponent* AOwner) : TForm(AOwner) {
    FHTTP = new THttpClient(this);
    Setup_Version_Client(FHTTP);
    SL_Languages = new TStringList();
    BeginLoading();
    SetName(QStringLiteral("FSoftOptions"));
    Setup_Window(this, 509, 373);
    P_Title = Create_Title_Panel(this, L_SW_Code, L_SW_Desc);
    P_Button = Create_Button_Panel(this);
    Create_OK_Cancel(this, P_Button, Btn_OK, Btn_Cancel);
    Btn_OK->OnClick = [this](TObject* Sender) { Btn_OKClick(Sender); };

    PC_Options = new TPageControl(this);
    PC_Options->SetName(QStringLiteral("PC_Options"));
    PC_Options->SetParent(this);
    PC_Options->SetAlign(alClient);

    TS_Language = Create_Sheet(this, PC_Options, QStringLiteral("TS_Language"));
    L_Sel_Lang = Create_Label(this, TS_Language, QStringLiteral("L_Sel_Lang"), 12, 11);
    const TPoint images[6] = {{24, 40}, {26, 94}, {24, 148}, {254, 40}, {254, 94}, {254, 148}};
    const TPoint labels[6] = {{80, 56}, {80, 110}, {80, 164}, {310, 56}, {310, 110}, {310, 164}};
    for (int k = 0; k < 6; ++k) {
        I_L[k] = new TImage(this);
        I_L[k]->SetName(QStringLiteral("I_L%1").arg(k + 1));
        I_L[k]->SetParent(TS_Language);
        I_L[k]->SetBounds(images[k].X, images[k].Y, 48, 48);
        I_L[k]->SetTransparent(true);
        I_L[k]->SetCursor(crHandPoint);
        I_L[k]->OnClick = [this](TObject* Sender) { LangClick(Sender); };
        L_L[k] =
            Create_Label(this, TS_Language, QStringLiteral("L_L%1").arg(k + 1), labels[k].X, labels[k].Y);
        L_L[k]->SetCursor(crHandPoint);
        L_L[k]->OnClick = [this](TObject* Sender) { LangClick(Sender); };
    }
    Btn_Prev = Create_Button(this, TS_Language, QStringLiteral("Btn_Prev"), 12, 204, 110, 28,
                             QStringLiteral("VGLYPH_PREV"));
    Btn_Next = Create_Button(this, TS_Language, QStringLiteral("Btn_Next"), 379, 205, 110, 28,
                             QStringLiteral("VGLYPH_NEXT"));
    Btn_Next->SetLayout(blGlyphRight);
    Btn_Prev->OnClick = [this](TObject* Sender) { Btn_NextClick(Sender); };
    Btn_Next->OnClick = [this](TObject* Sender) { Btn_NextClick(Sender); };
    L_Page_Lang = Create_Label(this, TS_Language, QStringLiteral("L_Page_Lang"), 220, 212);

    TS_Con_Options = Create_Sheet(this, PC_Options, QStringLiteral("TS_Con_Options"));
    TS_Con_Options->SetTabVisible(false);
    CB_En_Con = Create_CheckBox(this, TS_Con_Options, QStringLiteral("CB_En_Con"), 12, 16);
    CB_Update = Create_CheckBox(this, TS_Con_Options, QStringLiteral("CB_Update"), 36, 47);
    Btn_Check_Update = Create_Button(this, TS_Con_Options, QStringLiteral("Btn_Check_Update"), 36, 78, 204,
                                     28, QStringLiteral("VGLYPH_WEB"));
    Btn_Check_Update->OnClick = [this](TObject* Sender) { Btn_Check_UpdateClick(Sender); };
    LL_Check_Update = new TLinkLabel(this);
    LL_Check_Update->SetName(QStringLiteral("LL_Check_Update"));
    LL_Check_Update->SetParent(TS_Con_Options);
    LL_Check_Update->SetBounds(40, 120, 300, 17);
    LL_Check_Update->SetVisible(false);
    LL_Check_Update->OnLinkClick = [this](TObject* Sender, const String& Link, TSysLinkType Type) {
        LL_Check_UpdateLinkClick(Sender, Link, Type);
    };

    TS_Soft_Settings = Create_Sheet(this, PC_Options, QStringLiteral("TS_Soft_Settings"));
    CB_Soft_Set_Jump_Table =
        Create_CheckBox(this, TS_Soft_Settings, QStringLiteral("CB_Soft_Set_Jump_Table"), 12, 16);
    CB_DoubleClick_Auto_Size =
        Create_CheckBox(this, TS_Soft_Settings, QStringLiteral("CB_DoubleClick_Auto_Size"), 12, 39);
    for (TCheckBox* cb : {CB_En_Con, CB_Update, CB_Soft_Set_Jump_Table, CB_DoubleClick_Auto_Size})
        cb->OnClick = [this](TObject* Sender) { CB_En_ConClick(Sender); };
    PC_Options->SetActivePage(TS_Language);
    EndLoading();
    OnShow = [this](TObject* Sender) { FormShow(Sender); };
    OnCreate = [this](TObject* Sender) { FormCreate(Sender); };
    DoCreate();
}

TFSoftOptions::~TFSoftOptions() {
    TObject::Free(SL_Languages);
}

void TFSoftOptions::FormCreate(TObject*) {
    L_SW_Code->SetCaption(Code_SW);
    TS_Con_Options->SetTabVisible(true);
    Set_Lang();
}

void TFSoftOptions::FormShow(TObject*) {
    Language_In_Use = Language;
    Create_Lang_List();
    Update_CheckBox();
    LL_Check_Update->SetVisible(false);
    PC_Options->SetActivePage(TS_Language);
    CB_En_Con->SetChecked(Enable_Internet);
    CB_Update->SetChecked(Enable_Update);
    CB_Soft_Set_Jump_Table->SetChecked(Enable_Jump_Field_Tables);
    CB_DoubleClick_Auto_Size->SetChecked(Double_Click_Auto_Size);
    Update_CheckBox();
}

void TFSoftOptions::Create_Lang_List() {
    SL_Languages->Clear();
    TSearchRec sr;
    if (FindFirst(Path_Language + QStringLiteral("\\*.lng"), faAnyFile, sr) == 0) {
        do {
            if ((sr.Attr & ~Allowed_Attributes) == 0 && Is_Plain_Name(sr.Name)) SL_Languages->Add(sr.Name);
        } while (FindNext(sr) == 0);
        FindClose(sr);
    }
    SL_Languages->SetCaseSensitive(false);
    SL_Languages->Sort();
    Show_Page = 1;
    Update_Lang_Page(1);
}

int TFSoftOptions::Page_Count() const {
    return (SL_Languages->Count() + 5) / 6;
}

void TFSoftOptions::Update_Lang_Page(int Num_Page) {
    L_Sel_Lang->SetCaption(Lang_Text.Get(304) + Language_In_Use);
    const int pages = Page_Count();
    L_Page_Lang->SetCaption(Lang_Text.Get(305) + IntToStr(Num_Page) + Lang_Text.Get(306) + IntToStr(pages));
    Btn_Prev->SetVisible(Num_Page != 1);
    Btn_Next->SetVisible(Num_Page != pages);
    const int n = std::min(6, SL_Languages->Count() - (Num_Page - 1) * 6);
    for (int k = 1; k <= 6; ++k) {
        const bool shown = k <= n;
        I_L[k - 1]->SetVisible(shown);
        L_L[k - 1]->SetVisible(shown);
        if (!shown) continue;
        const String file = SL_Languages->Strings((Num_Page - 1) * 6 + k - 1);
        const String name = Copy(file, 1, Length(file) - 4);
        L_L[k - 1]->SetCaption(name);
        // The language's own flag, else the default flag; a file that is no picture counts as
        // missing, as a file that is not there.
        bool loaded = false;
        for (const String& flag : {Path_Language + QStringLiteral("\\") + name + QStringLiteral(".bmp"),
                                   Path_Language + QStringLiteral("\\DefaultFlag.bmp")}) {
            if (!FileExists(flag)) continue;
            try {
                I_L[k - 1]->Picture()->LoadFromFile(NativePath(flag));
                loaded = true;
                break;
            } catch (const Exception&) {
            }
        }
        if (!loaded) I_L[k - 1]->Picture()->SetGraphic(nullptr);
        I_L[k - 1]->SetVisible(loaded);
    }
}

void TFSoftOptions::Btn_NextClick(TObject* Sender) {
    if (Sender == Btn_Next) {
        if (Page_Count() >= Show_Page + 1) ++Show_Page;
    } else if (Show_Page - 1 > 0) {
        --Show_Page;
    }
    Update_Lang_Page(Show_Page);
}

void TFSoftOptions::LangClick(TObject* Sender) {
    int k = -1;
    for (int i = 0; i < 6; ++i)
        if (Sender == I_L[i] || Sender == L_L[i]) k = i + 1;
    const int index = (Show_Page - 1) * 6 + k - 1;
    if (k < 0 || index >= SL_Languages->Count()) return;
    const String file = SL_Languages->Strings(index);
    const String name = Copy(file, 1, Length(file) - 4);
    const String question =
        Lang_Text.Get(316) + Language_In_Use + Lang_Text.Get(317) + name + Lang_Text.Get(318);
    if (MessageDlg(question, mtConfirmation, {mbYes, mbNo}) != mrYes) return;
    Language_In_Use = name;
    const String remembered = Language;
    Language = name;
    Set_Language();
    // A file that vanished meanwhile gives English, which is then the language in use.
    Language_In_Use = Language;
    Language = remembered;
    if (FVelmoraeFirmWare)
        FVelmoraeFirmWare->Change_Language();
    else
        Set_Lang();
    L_Sel_Lang->SetCaption(Lang_Text.Get(304) + Language_In_Use);
}

void TFSoftOptions::Update_CheckBox() {
    CB_Update->SetEnabled(CB_En_Con->Checked());
    Btn_Check_Update->SetEnabled(CB_En_Con->Checked() && CB_Update->Checked());
}

void TFSoftOptions::CB_En_ConClick(TObject*) {
    Update_CheckBox();
}

bool TFSoftOptions::Check_Version() {
    return ::Check_Version(FVelmoraeFirmWare ? FVelmoraeFirmWare->HTTP1 : FHTTP);
}

void TFSoftOptions::Btn_Check_UpdateClick(TObject*) {
    if (Check_Version())
        LL_Check_Update->SetCaption(Download_Link(Lang_Text.Get(314)));
    else
        LL_Check_Update->SetCaption(Lang_Text.Get(315));
    LL_Check_Update->SetVisible(true);
}

void TFSoftOptions::LL_Check_UpdateLinkClick(TObject*, const String& Link, TSysLinkType) {
    ShellExecute(0, QStringLiteral("open"), Link, String(), String(), SW_SHOW);
}

void TFSoftOptions::Btn_OKClick(TObject*) {
    Language = Language_In_Use;
    Enable_Internet = CB_En_Con->Checked();
    Enable_Update = CB_Update->Checked();
    if (FVelmoraeFirmWare) FVelmoraeFirmWare->Timer_Update->SetEnabled(Enable_Internet && Enable_Update);
    Enable_Jump_Field_Tables = CB_Soft_Set_Jump_Table->Checked();
    Double_Click_Auto_Size = CB_DoubleClick_Auto_Size->Checked();
    SetModalResult(mrOk);
}

void TFSoftOptions::Set_Lang() {
    SetCaption(Lang_Text.Get(300));
    L_SW_Desc->SetCaption(Lang_Text.Get(301));
    TS_Language->SetCaption(Lang_Text.Get(302));
    TS_Con_Options->SetCaption(Lang_Text.Get(303));
    TS_Soft_Settings->SetCaption(Lang_Text.Get(319));
    L_Sel_Lang->SetCaption(Lang_Text.Get(304));
    L_Page_Lang->SetCaption(Lang_Text.Get(305) + QStringLiteral("1") + Lang_Text.Get(306) +
                            QStringLiteral("1"));
    Btn_Prev->SetCaption(Lang_Text.Get(307));
    Btn_Next->SetCaption(Lang_Text.Get(308));
    CB_En_Con->SetCaption(Lang_Text.Get(309));
    CB_Update->SetCaption(Lang_Text.Get(310));
    Btn_Check_Update->SetCaption(Lang_Text.Get(311));
    Btn_OK->SetCaption(Lang_Text.Get(312));
    Btn_Cancel->SetCaption(Lang_Text.Get(313));
    CB_Soft_Set_Jump_Table->SetCaption(Lang_Text.Get(320));
    CB_DoubleClick_Auto_Size->SetCaption(Lang_Text.Get(321));
}
