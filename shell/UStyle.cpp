#include "UStyle.h"

#include "ExtPanels.h"
#include "Forms.h"
#include "StdCtrls.h"
#include "UProject.h"

namespace {

void Verdana(TFont* Font, int Pixels) {
    Font->SetName(QStringLiteral("Verdana"));
    Font->SetHeight(-Pixels);
}

} // namespace

void Setup_Window(TForm* Form, int ClientWidth, int ClientHeight) {
    Form->SetBorderStyle(bsSingle);
    Form->SetBorderIcons({biSystemMenu});
    Form->SetPosition(poScreenCenter);
    Form->SetColor(Window_Color);
    Verdana(Form->Font(), 11);
    Form->SetClientSize(ClientWidth, ClientHeight);
}

TLabel* Create_Label(TForm* Form, TWinControl* Parent, const String& Name, int Left, int Top) {
    auto* l = new TLabel(Form);
    l->SetName(Name);
    l->SetParent(Parent);
    l->SetLeft(Left);
    l->SetTop(Top);
    return l;
}

TPanel* Create_Title_Panel(TForm* Form, TLabel*& L_SW_Code, TLabel*& L_SW_Desc) {
    auto* p = new TPanel(Form);
    p->SetName(QStringLiteral("P_Title"));
    p->SetParent(Form);
    p->SetAlign(alTop);
    p->SetHeight(69);
    p->SetColor(Window_Color);
    p->SetShowCaption(false);
    L_SW_Code = Create_Label(Form, p, QStringLiteral("L_SW_Code"), 16, 8);
    L_SW_Code->SetParentFont(false);
    Verdana(L_SW_Code->Font(), 32);
    L_SW_Code->Font()->SetColor(clGray);
    L_SW_Code->SetCaption(Code_SW);
    L_SW_Desc = Create_Label(Form, p, QStringLiteral("L_SW_Desc"), 16, 42);
    L_SW_Desc->SetParentFont(false);
    Verdana(L_SW_Desc->Font(), 11);
    L_SW_Desc->Font()->SetColor(clGray);
    L_SW_Desc->Font()->SetStyle({fsBold});
    return p;
}

TPanel* Create_Button_Panel(TForm* Form) {
    auto* p = new TPanel(Form);
    p->SetName(QStringLiteral("P_Button"));
    p->SetParent(Form);
    p->SetAlign(alBottom);
    p->SetHeight(40);
    p->SetColor(Window_Color);
    p->SetShowCaption(false);
    return p;
}

TLbButton* Create_Button(TForm* Form, TWinControl* Parent, const String& Name, int Left, int Top, int Width,
                         int Height, const String& Glyph, TColor HotTrack, TLbButtonStyle Style) {
    auto* b = new TLbButton(Form);
    b->SetName(Name);
    b->SetParent(Parent);
    b->SetBounds(Left, Top, Width, Height);
    b->SetStyle(Style);
    b->SetColor(Window_Color);
    b->SetLightColor(clGray);
    b->SetColorWhenDown(Pressed_Color);
    b->SetHotTrackColor(HotTrack);
    b->SetUseHotTrackFont(false);
    b->SetSlowDecease(false);
    b->SetShowHint(true);
    b->SetParentFont(false);
    Verdana(b->Font(), 11);
    b->Font()->SetColor(Button_Text_Color);
    if (!Glyph.isEmpty()) {
        TBitmap bmp;
        bmp.LoadFromResourceName(Glyph);
        b->SetGlyph(&bmp);
    }
    return b;
}

void Create_OK_Cancel(TForm* Form, TPanel* Panel, TLbButton*& Btn_OK, TLbButton*& Btn_Cancel, int Left) {
    Btn_OK =
        Create_Button(Form, Panel, QStringLiteral("Btn_OK"), Left, 6, 110, 28, QStringLiteral("VGLYPH_OK"));
    Btn_Cancel = Create_Button(Form, Panel, QStringLiteral("Btn_Cancel"), Left + 118, 6, 110, 28,
                               QStringLiteral("VGLYPH_CANCEL"));
    Btn_Cancel->SetModalResult(mrCancel);
}
