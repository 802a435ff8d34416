#include "UOpenConf.h"

#include "SysUtils.h"
#include "ULang.h"
#include "UProject.h"
#include "UStyle.h"

TFOpenConf* FOpenConf = nullptr;

TFOpenConf::TFOpenConf(TComponent* AOwner) : TForm(AOwner) {
    BeginLoading();
    SetName(QStringLiteral("FOpenConf"));
    Setup_Window(this, 377, 351);
    SetBorderStyle(bsSizeable);
    P_Title = Create_Title_Panel(this, L_SW_Code, L_SW_Desc);
    Label1 = Create_Label(this, this, QStringLiteral("Label1"), 16, 78);
    ListBox1 = new TListBox(this);
    ListBox1->SetName(QStringLiteral("ListBox1"));
    ListBox1->SetParent(this);
    ListBox1->SetBounds(16, 96, 345, 207);
    ListBox1->SetAnchors({akLeft, akTop, akRight, akBottom});
    ListBox1->SetShowHint(true);
    ListBox1->OnClick = [this](TObject* Sender) { ListBox1Click(Sender); };
    P_Button = Create_Button_Panel(this);
    Create_OK_Cancel(this, P_Button, Btn_OK, Btn_Cancel, 133);
    Btn_OK->SetModalResult(mrOk);
    Btn_OK->SetAnchors({akTop, akRight});
    Btn_Cancel->SetAnchors({akTop, akRight});
    EndLoading();
    OnShow = [this](TObject* Sender) { FormShow(Sender); };
    OnCreate = [this](TObject* Sender) { FormCreate(Sender); };
    DoCreate();
}

void TFOpenConf::FormCreate(TObject*) {
    L_SW_Code->SetCaption(Code_SW);
    SetClientSize(377, 351);
    Set_Lang();
}

void TFOpenConf::Load_Existing_Configuration() {
    SL = Existing_Projects();
}

int TFOpenConf::Search_Open_Conf(const String& snc) const {
    return ::Search_Open_Conf(SL, snc);
}

void TFOpenConf::FormShow(TObject*) {
    Load_Existing_Configuration();
    ListBox1->Items()->Clear();
    ListBox1->Items()->AddStrings(SL);
    const String current = Path_Project.isEmpty()
                               ? String()
                               : Copy(Path_Project, Length(Path_Projects) + 2, Length(Path_Project));
    const int found = Search_Open_Conf(current);
    if (found >= 0) {
        ListBox1->SetItemIndex(found);
        Name_Conf = SL[found];
    } else if (!SL.isEmpty()) {
        ListBox1->SetItemIndex(0);
        Name_Conf = SL[0];
    } else {
        ListBox1->SetItemIndex(-1);
        Name_Conf.clear();
    }
}

void TFOpenConf::ListBox1Click(TObject*) {
    const int i = ListBox1->ItemIndex();
    if (i >= 0 && i < ListBox1->Count()) Name_Conf = ListBox1->Items()->Strings(i);
}

void TFOpenConf::Set_Lang() {
    SetCaption(Lang_Text.Get(200));
    L_SW_Desc->SetCaption(Lang_Text.Get(201));
    Label1->SetCaption(Lang_Text.Get(202));
    Btn_OK->SetCaption(Lang_Text.Get(203));
    Btn_Cancel->SetCaption(Lang_Text.Get(204));
    ListBox1->SetHint(Lang_Text.Get(205));
    Btn_OK->SetHint(Lang_Text.Get(206));
    Btn_Cancel->SetHint(Lang_Text.Get(207));
}
