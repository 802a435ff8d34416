#include "UProfinetFileName.h"

#include "Dialogs.h"
#include "ULang.h"
#include "UProject.h"
#include "UStyle.h"

TFProfinetFileName* FProfinetFileName = nullptr;

std::function<TDateTime()> ProfinetFileName_Today = [] { return Date(); };

String GSDML_Date_Part(TDateTime Day) {
    Word year, month, day;
    DecodeDate(Day, year, month, day);
    return QStringLiteral("-%1%2%3.xml")
        .arg(year, 4, 10, QChar(u'0'))
        .arg(month, 2, 10, QChar(u'0'))
        .arg(day, 2, 10, QChar(u'0'));
}

String GSDML_File_Name(const String& User, const String& DatePart) {
    const String prefix = String::fromLatin1(GSDML_Name_Prefix);
    if (Trim(User).isEmpty()) return prefix + DatePart;
    if (User.startsWith(u'_')) return prefix + User + DatePart;
    return prefix + u'_' + User + DatePart;
}

TFProfinetFileName::TFProfinetFileName(TComponent* AOwner) : TForm(AOwner) {
    BeginLoading();
    SetName(QStringLiteral("FProfinetFileName"));
    Setup_Window(this, 540, 205);
    P_Title = Create_Title_Panel(this, L_SW_Code, L_SW_Desc);
    L_Select_Name = Create_Label(this, this, QStringLiteral("L_Select_Name"), 16, 78);
    L_FixPart_1 = Create_Label(this, this, QStringLiteral("L_FixPart_1"), 16, 104);
    L_XML_Fix1 = Create_Label(this, this, QStringLiteral("L_XML_Fix1"), 16, 127);
    L_XML_Fix1->SetCaption(String::fromLatin1(GSDML_Name_Prefix));
    L_UsedPart = Create_Label(this, this, QStringLiteral("L_UsedPart"), 179, 104);
    E_XML_User = new TEdit(this);
    E_XML_User->SetName(QStringLiteral("E_XML_User"));
    E_XML_User->SetParent(this);
    E_XML_User->SetBounds(179, 123, 260, 21);
    L_FixPart_2 = Create_Label(this, this, QStringLiteral("L_FixPart_2"), 447, 104);
    L_XML_Fix2 = Create_Label(this, this, QStringLiteral("L_XML_Fix2"), 447, 127);
    P_Button = Create_Button_Panel(this);
    Create_OK_Cancel(this, P_Button, Btn_OK, Btn_Cancel);
    Btn_OK->OnClick = [this](TObject* Sender) { Btn_OK_Click(Sender); };
    EndLoading();
    OnCreate = [this](TObject* Sender) { FormCreate(Sender); };
    DoCreate();
}

void TFProfinetFileName::FormCreate(TObject*) {
    L_SW_Code->SetCaption(Code_SW);
    SetClientSize(540, 205);
    L_UsedPart->SetLeft(179);
    E_XML_User->SetLeft(179);
    L_FixPart_2->SetLeft(447);
    L_XML_Fix2->SetLeft(447);
    // The date of the window's creation, kept for every later use of the dialog.
    L_XML_Fix2->SetCaption(GSDML_Date_Part(ProfinetFileName_Today()));
    Set_Lang();
}

void TFProfinetFileName::Btn_OK_Click(TObject*) {
    const String name = GSDML_File_Name(E_XML_User->Text(), L_XML_Fix2->Caption());
    // The name is used inside the folder the user chooses: it must not lead elsewhere nor be
    // a name the file system refuses.
    if (!Is_Plain_Name(name)) {
        MessageDlg(Lang_Text.Get(2509), mtError, {mbOK});
        return;
    }
    Name_File_XML = name;
    SetModalResult(mrOk);
}

void TFProfinetFileName::Set_Lang() {
    SetCaption(Lang_Text.Get(2500));
    L_SW_Desc->SetCaption(Lang_Text.Get(2501));
    L_Select_Name->SetCaption(Lang_Text.Get(2502));
    L_FixPart_1->SetCaption(Lang_Text.Get(2503));
    L_UsedPart->SetCaption(Lang_Text.Get(2504));
    L_FixPart_2->SetCaption(Lang_Text.Get(2505));
    Btn_OK->SetCaption(Lang_Text.Get(2506));
    Btn_Cancel->SetCaption(Lang_Text.Get(2507));
}
