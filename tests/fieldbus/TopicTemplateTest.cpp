// The topic-template dialog: its captions for a topic and for a template, the one empty keyword
// row, a text of several lines going in and out with its line breaks, OK and Cancel.
#include "UTopicTemplate.h"

#include "Forms.h"
#include "KeyTyping.h"
#include "TestSupport.h"
#include "ULang.h"
#include "UProject.h"

#include <gtest/gtest.h>

namespace {

class TopicTemplateTest : public ::testing::Test {
protected:
    void SetUp() override {
        Lang_Text.Load_Default_Lang();
        Code_SW = "CF46110";
        Dialog = new TFTopicTemplate(nullptr);
    }
    void TearDown() override { TObject::Free(Dialog); }
    TFTopicTemplate* Dialog = nullptr;
};

} // namespace

TEST_F(TopicTemplateTest, CaptionsFollowWhatIsEdited) {
    EXPECT_EQ(Dialog->ClientWidth(), 635);
    EXPECT_EQ(Dialog->ClientHeight(), 396);
    EXPECT_EQ(Dialog->L_SW_Code->Caption(), "CF46110");
    EXPECT_EQ(Dialog->L_List_Keywords->Caption(), "List of keywords");
    // From the top: title, text field, splitter, legend, buttons.
    const TControl* order[] = {Dialog->P_Title, Dialog->RE_TopicTemplate, Dialog->Splitter1, Dialog->P_Legend,
                               Dialog->P_Button};
    for (size_t i = 1; i < std::size(order); ++i)
        EXPECT_EQ(order[i - 1]->Top() + order[i - 1]->Height(), order[i]->Top()) << i;
    EXPECT_EQ(Dialog->Splitter1->Height(), 3);
    EXPECT_GT(Dialog->RE_TopicTemplate->Height(), 100);
    EXPECT_EQ(Dialog->Splitter1->ResizeControl(), Dialog->P_Legend);
    for (bool tmpl : {true, false, true}) {
        Dialog->TopicTemplate = tmpl;
        PostCall([this] { Dialog->Btn_Cancel->Click(); });
        EXPECT_EQ(Dialog->ShowModal(), mrCancel);
        EXPECT_EQ(Dialog->Caption(), tmpl ? "Set Template" : "Set Topic");
        EXPECT_EQ(Dialog->L_SW_Desc->Caption(), tmpl ? "Set Template" : "Set Topic");
    }
}

TEST_F(TopicTemplateTest, TheKeywordListHasOneEmptyRow) {
    Dialog->ASG_Keywords->SetRowCount(5);
    Dialog->ASG_Keywords->SetCells(0, 1, "left over");
    for (int pubSub : {0, 1}) {
        Dialog->Pub_Sub = pubSub;
        Dialog->Working_Mode = 1;
        Dialog->Laod_Keywords();
        TAdvStringGrid* g = Dialog->ASG_Keywords;
        EXPECT_EQ(g->RowCount(), 2);
        EXPECT_EQ(g->ColCount(), 2);
        EXPECT_EQ(g->FixedRows(), 1);
        EXPECT_EQ(g->FixedCols(), 0);
        EXPECT_EQ(g->Cells(0, 0), "Keyword");
        EXPECT_EQ(g->Cells(1, 0), "Description of Keyword");
        EXPECT_EQ(g->ColWidths(0), 200);
        EXPECT_EQ(g->ColWidths(1), 380);
        EXPECT_EQ(g->Cells(0, 1), "");
        EXPECT_EQ(g->Cells(1, 1), "");
        EXPECT_FALSE(g->ReadOnly(0, 1));
        EXPECT_TRUE(g->ReadOnly(1, 1));
    }
}

TEST_F(TopicTemplateTest, ATextOfSeveralLinesComesBackWithItsLineBreaks) {
    // As the MQTT editor does: clear, put the cell's text in, show; the user types; OK.
    Dialog->RE_TopicTemplate->Clear();
    Dialog->RE_TopicTemplate->SetText("plant/$DEV$");
    PostCall([this] {
        TRichEdit* re = Dialog->RE_TopicTemplate;
        EXPECT_TRUE(re->Focused());
        re->SetSelStart(int(re->Text().size()));
        TypeKeys(re, "/a\rb");
        Dialog->Btn_OK->Click();
    });
    EXPECT_EQ(Dialog->ShowModal(), mrOk);
    EXPECT_EQ(Dialog->RE_TopicTemplate->Text(), "plant/$DEV$/a\r\nb");
    EXPECT_EQ(Dialog->RE_TopicTemplate->Lines()->Count(), 2);
}
