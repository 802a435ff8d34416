#include "UTopicTemplate.h"

#include "ULang.h"
#include "UProject.h"
#include "UStyle.h"

TFTopicTemplate* FTopicTemplate = nullptr;

TFTopicTemplate::TFTopicTemplate(TComponent* AOwner) : TForm(AOwner) {
    BeginLoading();
    SetName(QStringLiteral("FTopicTemplate"));
    Setup_Window(this, 635, 396);
    P_Title = Create_Title_Panel(this, L_SW_Code, L_SW_Desc);
    P_Button = Create_Button_Panel(this);
    Create_OK_Cancel(this, P_Button, Btn_OK, Btn_Cancel);
    Btn_OK->SetModalResult(mrOk);

    // The legend at the bottom above the buttons, the splitter above it, the text field between
    // the title and the splitter.
    P_Legend = new TPanel(this);
    P_Legend->SetName(QStringLiteral("P_Legend"));
    P_Legend->SetParent(this);
    P_Legend->SetBounds(0, 206, 635, 150);
    P_Legend->SetBevelOuter(bvNone);
    P_Legend->SetCaption(String());
    P_Legend->SetAlign(alBottom);
    L_List_Keywords = Create_Label(this, P_Legend, QStringLiteral("L_List_Keywords"), 16, 6);
    ASG_Keywords = new TAdvStringGrid(this);
    ASG_Keywords->SetName(QStringLiteral("ASG_Keywords"));
    ASG_Keywords->SetParent(P_Legend);
    ASG_Keywords->SetBounds(16, 26, 603, 116);
    ASG_Keywords->SetColCount(2);
    ASG_Keywords->SetRowCount(2);
    ASG_Keywords->SetFixedCols(0);
    ASG_Keywords->SetFixedRows(1);
    ASG_Keywords->SetColWidths(0, 200);
    ASG_Keywords->SetColWidths(1, 380);
    TGridOptions options = ASG_Keywords->Options();
    options.insert(goEditing);
    ASG_Keywords->SetOptions(options);

    Splitter1 = new TSplitter(this);
    Splitter1->SetName(QStringLiteral("Splitter1"));
    Splitter1->SetParent(this);
    Splitter1->SetAlign(alBottom);
    Splitter1->SetBounds(0, 203, 635, 3);

    RE_TopicTemplate = new TRichEdit(this);
    RE_TopicTemplate->SetName(QStringLiteral("RE_TopicTemplate"));
    RE_TopicTemplate->SetParent(this);
    RE_TopicTemplate->SetScrollBars(ssVertical);
    RE_TopicTemplate->SetAlign(alClient);
    EndLoading();
    OnCreate = [this](TObject* Sender) { FormCreate(Sender); };
    OnShow = [this](TObject* Sender) { FormShow(Sender); };
    DoCreate();
}

void TFTopicTemplate::FormCreate(TObject*) {
    L_SW_Code->SetCaption(Code_SW);
    SetClientSize(635, 396);
    Set_Lang();
}

void TFTopicTemplate::FormShow(TObject*) {
    SetCaption(Lang_Text.Get(TopicTemplate ? 2801 : 2800));
    L_SW_Desc->SetCaption(Lang_Text.Get(TopicTemplate ? 2803 : 2802));
    Laod_Keywords();
    if (RE_TopicTemplate->CanFocus()) RE_TopicTemplate->SetFocus();
}

void TFTopicTemplate::Laod_Keywords() {
    // No keywords are defined for either table or working mode.
    ASG_Keywords->SetRowCount(2);
    ASG_Keywords->SetCells(0, 1, String());
    ASG_Keywords->SetCells(1, 1, String());
    ASG_Keywords->SetReadOnly(0, 1, false);
    ASG_Keywords->SetReadOnly(1, 1, true);
}

void TFTopicTemplate::Set_Lang() {
    SetCaption(Lang_Text.Get(2800));
    L_SW_Desc->SetCaption(Lang_Text.Get(2802));
    L_List_Keywords->SetCaption(Lang_Text.Get(2804));
    ASG_Keywords->SetCells(0, 0, Lang_Text.Get(2805));
    ASG_Keywords->SetCells(1, 0, Lang_Text.Get(2806));
    Btn_OK->SetCaption(Lang_Text.Get(2807));
    Btn_Cancel->SetCaption(Lang_Text.Get(2808));
}
