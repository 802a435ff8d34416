#include "UNew_Project.h"

#include "Dialogs.h"
#include "ULang.h"
#include "UProject.h"
#include "UStyle.h"

TFNew_Project* FNew_Project = nullptr;

TFNew_Project::TFNew_Project(TComponent* AOwner) : TForm(AOwner) {
    BeginLoading();
    SetName(QStringLiteral("FNew_Project"));
    Setup_Window(this, 331, 162);
    P_Title = Create_Title_Panel(this, L_SW_Code, L_SW_Desc);
    Label1 = Create_Label(this, this, QStringLiteral("Label1"), 16, 78);
    E_New_Proj = new TEdit(this);
    E_New_Proj->SetName(QStringLiteral("E_New_Proj"));
    E_New_Proj->SetParent(this);
    E_New_Proj->SetBounds(16, 95, 297, 21);
    E_New_Proj->SetShowHint(true);
    E_New_Proj->OnKeyPress = [this](TObject* Sender, Char& Key) { E_New_ProjKeyPress(Sender, Key); };
    P_Button = Create_Button_Panel(this);
    Create_OK_Cancel(this, P_Button, Btn_OK, Btn_Cancel);
    Btn_OK->OnClick = [this](TObject* Sender) { Btn_OKClick(Sender); };
    EndLoading();
    OnShow = [this](TObject* Sender) { FormShow(Sender); };
    OnCreate = [this](TObject* Sender) { FormCreate(Sender); };
    DoCreate();
}

void TFNew_Project::FormCreate(TObject*) {
    L_SW_Code->SetCaption(Code_SW);
    SetClientSize(331, 162);
    Set_Lang();
}

void TFNew_Project::FormShow(TObject*) {
    E_New_Proj->SetText(String());
    if (E_New_Proj->CanFocus()) E_New_Proj->SetFocus();
}

void TFNew_Project::E_New_ProjKeyPress(TObject* Sender, Char& Key) {
    if (Key == Char(13)) Btn_OKClick(Sender);
}

void TFNew_Project::Btn_OKClick(TObject*) {
    const TNew_Project_Result result = ::Create_New_Project(E_New_Proj->Text());
    if (result != nprCreated) {
        MessageDlg(Lang_Text.Get(New_Project_Message(result)), mtError, {mbOK});
        return;
    }
    SetModalResult(mrOk);
}

void TFNew_Project::Set_Lang() {
    SetCaption(Lang_Text.Get(100));
    L_SW_Desc->SetCaption(Lang_Text.Get(101));
    Label1->SetCaption(Lang_Text.Get(102));
    Btn_OK->SetCaption(Lang_Text.Get(103));
    Btn_Cancel->SetCaption(Lang_Text.Get(104));
    E_New_Proj->SetHint(Lang_Text.Get(108));
    Btn_OK->SetHint(Lang_Text.Get(109));
    Btn_Cancel->SetHint(Lang_Text.Get(110));
}
