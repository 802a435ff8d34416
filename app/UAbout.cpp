#include "UAbout.h"

#include "ShellApi.h"
#include "UProject.h"
#include "UStyle.h"
#include "UVersion.h"

TFAbout* FAbout = nullptr;

TFAbout::TFAbout(TComponent* AOwner) : TForm(AOwner) {
    BeginLoading();
    SetName(QStringLiteral("FAbout"));
    Setup_Window(this, 425, 148);
    Font()->SetColor(Button_Text_Color);
    Image2 = new TImage(this);
    Image2->SetName(QStringLiteral("Image2"));
    Image2->SetParent(this);
    Image2->SetBounds(32, 24, 81, 81);
    Image2->SetStretch(true);
    Image2->SetCursor(crHandPoint);
    {
        TBitmap picture;
        picture.LoadFromResourceName(QStringLiteral("VABOUT"));
        Image2->Picture()->SetGraphic(&picture);
    }
    Label1 = Create_Label(this, this, QStringLiteral("Label1"), 128, 24);
    Label1->SetParentFont(false);
    Label1->Font()->Assign(Font());
    Label1->Font()->SetHeight(-13);
    Label1->Font()->SetStyle({fsBold});
    Label1->SetCaption(QStringLiteral("Software Velmora "));
    Label2 = Create_Label(this, this, QStringLiteral("Label2"), 128, 39);
    Label6 = Create_Label(this, this, QStringLiteral("Label6"), 128, 62);
    Label6->SetCaption(QStringLiteral("Software Code : "));
    Label9 = Create_Label(this, this, QStringLiteral("Label9"), 240, 62);
    Label3 = Create_Label(this, this, QStringLiteral("Label3"), 128, 77);
    Label3->SetCaption(QStringLiteral("Version :"));
    Label10 = Create_Label(this, this, QStringLiteral("Label10"), 240, 77);
    Label8 = Create_Label(this, this, QStringLiteral("Label8"), 128, 93);
    Label8->SetCaption(QStringLiteral("Document Code :"));
    Label12 = Create_Label(this, this, QStringLiteral("Label12"), 240, 93);
    Label4 = Create_Label(this, this, QStringLiteral("Label4"), 316, 131);
    Label4->SetParentFont(false);
    Label4->Font()->Assign(Font());
    Label4->Font()->SetColor(clBlue);
    Label4->SetCursor(crHandPoint);
    Label4->SetCaption(Maker_Site_Caption);
    LbButton1 =
        Create_Button(this, this, QStringLiteral("LbButton1"), 32, 115, 81, 22, QStringLiteral("VGLYPH_OK"));
    LbButton1->SetCaption(QStringLiteral("OK"));
    LbButton1->SetColorWhenDown(clYellow);
    LbButton1->SetModalResult(mrOk);
    EndLoading();
    Label4->OnClick = [this](TObject* Sender) { Label4Click(Sender); };
    Image2->OnClick = [this](TObject* Sender) { Label4Click(Sender); };
    OnShow = [this](TObject* Sender) { FormShow(Sender); };
}

void TFAbout::FormShow(TObject*) {
    Label2->SetCaption(SW_Description);
    Label9->SetCaption(SW_Code);
    Label10->SetCaption(SW_Version);
    Label12->SetCaption(SW_Manual_Code);
    SetClientSize(425, 148);
}

void TFAbout::Label4Click(TObject*) {
    ShellExecute(0, QStringLiteral("open"), Home_Page_URL(), String(), String(), SW_SHOW);
}
