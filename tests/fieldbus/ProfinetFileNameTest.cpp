// The PROFINET file-name dialog: the composed name for the user parts, the names refused, the
// date of the window's creation, Cancel, the layout and texts, and its picture.
#include "Dialogs.h"
#include "Forms.h"
#include "SysUtils.h"
#include "TestSupport.h"
#include "ULang.h"
#include "UProfinetFileName.h"
#include "UProject.h"

#include <QImage>
#include <QWidget>

#include <gtest/gtest.h>

namespace {

class ProfinetFileNameTest : public ::testing::Test {
protected:
    void SetUp() override {
        Lang_Text.Load_Default_Lang();
        FOldToday = ProfinetFileName_Today;
        ProfinetFileName_Today = [this] { return Today; };
        FOldMsg = SetMessageDlgHook([this](const TMessageDlgRequest& R) {
            Messages << R;
            return int(mrOk);
        });
    }
    void TearDown() override {
        TObject::Free(Dialog);
        ProfinetFileName_Today = FOldToday;
        SetMessageDlgHook(FOldMsg);
        Lang_Text.Load_Default_Lang();
    }
    void Create() {
        TObject::Free(Dialog);
        Dialog = new TFProfinetFileName(nullptr);
    }
    // Types User into the edit and presses OK.
    void Ok(const String& User) {
        Dialog->SetModalResult(mrNone);
        Dialog->E_XML_User->SetText(User);
        Dialog->Btn_OK->Click();
    }

    TDateTime Today = EncodeDate(2021, 6, 25);
    TFProfinetFileName* Dialog = nullptr;
    QList<TMessageDlgRequest> Messages;

private:
    std::function<TDateTime()> FOldToday;
    TMessageDlgHook FOldMsg;
};

} // namespace

TEST_F(ProfinetFileNameTest, ComposesTheNameFromTheUserPart) {
    Create();
    const struct {
        const char* User;
        const char* Name;
    } cases[] = {
        {"GW40211", "GSDML-V2.25-Ostrel-_GW40211-20210625.xml"},
        {"_GW40211", "GSDML-V2.25-Ostrel-_GW40211-20210625.xml"},
        {"", "GSDML-V2.25-Ostrel--20210625.xml"},
        {"   ", "GSDML-V2.25-Ostrel--20210625.xml"},
        {"\t", "GSDML-V2.25-Ostrel--20210625.xml"}, // blank after trimming: no user part
        // The user part is used as typed: inner, leading and trailing blanks stay.
        {" GW 1 ", "GSDML-V2.25-Ostrel-_ GW 1 -20210625.xml"},
        {"__x", "GSDML-V2.25-Ostrel-__x-20210625.xml"},
        {"..", "GSDML-V2.25-Ostrel-_..-20210625.xml"},
        {"Äé-1", "GSDML-V2.25-Ostrel-_Äé-1-20210625.xml"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.User);
        Ok(QString::fromUtf8(c.User));
        EXPECT_EQ(Dialog->ModalResult(), mrOk);
        EXPECT_EQ(Dialog->Name_File_XML, QString::fromUtf8(c.Name));
    }
    EXPECT_TRUE(Messages.isEmpty());
}

// A user part that would make the name a path or a name the file system refuses: text 2509, the
// dialog stays open and the name of the last OK stays.
TEST_F(ProfinetFileNameTest, RefusesUserPartsThatAreNoPlainName) {
    Create();
    Ok("GW40211");
    const String earlier = Dialog->Name_File_XML;
    const QString cases[] = {"../x", "a/b", "a\\b", "GW\t40211",       "a:b", "a*b", "a?b", "a\"b", "a<b",
                             "a>b",  "a|b", "a\nb", QString(300, u'x')};
    for (const QString& user : cases) {
        SCOPED_TRACE(user.toStdString());
        Messages.clear();
        Ok(user);
        ASSERT_EQ(Messages.size(), 1);
        EXPECT_EQ(Messages[0].Msg, Lang_Text.Get(2509));
        EXPECT_EQ(Messages[0].DlgType, mtError);
        EXPECT_EQ(Messages[0].Buttons, TMsgDlgButtons({mbOK}));
        EXPECT_EQ(Dialog->ModalResult(), mrNone);
        EXPECT_EQ(Dialog->Name_File_XML, earlier);
    }
}

TEST_F(ProfinetFileNameTest, DateIsThatOfTheWindowsCreation) {
    Today = EncodeDate(2024, 1, 5);
    Create();
    EXPECT_EQ(Dialog->L_XML_Fix2->Caption(), "-20240105.xml");
    Today = EncodeDate(2024, 12, 31);
    Ok("A");
    EXPECT_EQ(Dialog->Name_File_XML, "GSDML-V2.25-Ostrel-_A-20240105.xml");
    EXPECT_EQ(GSDML_Date_Part(EncodeDate(999, 10, 11)), "-09991011.xml");
}

TEST_F(ProfinetFileNameTest, CancelLeavesTheName) {
    Create();
    Ok("First");
    Dialog->E_XML_User->SetText("Second");
    PostCall([this] { Dialog->Btn_Cancel->Click(); });
    EXPECT_EQ(Dialog->ShowModal(), mrCancel);
    EXPECT_EQ(Dialog->Name_File_XML, "GSDML-V2.25-Ostrel-_First-20210625.xml");
    // Shown again, OK closes the modal loop with the new name.
    PostCall([this] {
        Dialog->E_XML_User->SetText("Third");
        Dialog->Btn_OK->Click();
    });
    EXPECT_EQ(Dialog->ShowModal(), mrOk);
    EXPECT_EQ(Dialog->Name_File_XML, "GSDML-V2.25-Ostrel-_Third-20210625.xml");
    EXPECT_TRUE(Messages.isEmpty());
}

TEST_F(ProfinetFileNameTest, LayoutAndTexts) {
    Code_SW = "CF40210";
    Create();
    EXPECT_EQ(Dialog->ClientWidth(), 540);
    EXPECT_EQ(Dialog->ClientHeight(), 205);
    EXPECT_EQ(Dialog->BorderStyle(), bsSingle);
    EXPECT_EQ(Dialog->Position(), poScreenCenter);
    EXPECT_EQ(Dialog->L_UsedPart->Left(), 179);
    EXPECT_EQ(Dialog->E_XML_User->Left(), 179);
    EXPECT_EQ(Dialog->L_FixPart_2->Left(), 447);
    EXPECT_EQ(Dialog->L_XML_Fix2->Left(), 447);
    EXPECT_EQ(Dialog->E_XML_User->Text(), "");
    EXPECT_EQ(Dialog->L_SW_Code->Caption(), "CF40210");
    EXPECT_EQ(Dialog->L_XML_Fix1->Caption(), "GSDML-V2.25-Ostrel-");
    EXPECT_EQ(Dialog->L_XML_Fix2->Caption(), "-20210625.xml");
    EXPECT_EQ(Dialog->Btn_OK->ModalResult(), mrNone);
    EXPECT_EQ(Dialog->Btn_Cancel->ModalResult(), mrCancel);
    const struct {
        String Shown;
        const char* Text;
    } texts[] = {
        {Dialog->Caption(), "PROFINET XML File Name"},
        {Dialog->L_SW_Desc->Caption(), "Create the PROFINET XML GSD File"},
        {Dialog->L_Select_Name->Caption(), "Select the PROFINET XML File Name"},
        {Dialog->L_FixPart_1->Caption(), "Fixed Part"},
        {Dialog->L_UsedPart->Caption(), "User Part"},
        {Dialog->L_FixPart_2->Caption(), "Fixed Part"},
        {Dialog->Btn_OK->Caption(), "OK"},
        {Dialog->Btn_Cancel->Caption(), "Cancel"},
    };
    for (const auto& t : texts) EXPECT_EQ(t.Shown, t.Text);

    // Another language's texts arrive through Set_Lang.
    Lang_Text.Apply_Lang_Lines({"STR2500 = Nome del file", "STR2504 = Parte utente"});
    Dialog->Set_Lang();
    EXPECT_EQ(Dialog->Caption(), "Nome del file");
    EXPECT_EQ(Dialog->L_UsedPart->Caption(), "Parte utente");
    Code_SW.clear();
}

// The dialog's picture: the three columns side by side within the window, the edit between the
// fixed parts. With VELMORA_SCREENSHOT_DIR set, the picture is saved there as
// profinet_file_name.png.
TEST_F(ProfinetFileNameTest, Picture) {
    Code_SW = "CF40210";
    Create();
    Dialog->E_XML_User->SetText("GW40211");
    Dialog->Show();
    const QImage img = Dialog->Widget()->grab().toImage().convertToFormat(QImage::Format_RGB32);
    if (const QByteArray dir = qgetenv("VELMORA_SCREENSHOT_DIR"); !dir.isEmpty())
        img.save(QString::fromLocal8Bit(dir) + "/profinet_file_name.png");
    ASSERT_EQ(img.size(), QSize(540, 205));
    // No label runs into the next column, and the date part ends inside the window.
    EXPECT_LE(Dialog->L_XML_Fix1->Left() + Dialog->L_XML_Fix1->Width(), 179);
    EXPECT_LE(Dialog->E_XML_User->Left() + Dialog->E_XML_User->Width(), 447);
    EXPECT_LE(Dialog->L_XML_Fix2->Left() + Dialog->L_XML_Fix2->Width(), 540);
    const QRgb window = qRgb(248, 247, 237), white = qRgb(255, 255, 255);
    EXPECT_EQ(img.pixel(300, 90), window);
    EXPECT_EQ(img.pixel(435, 133), white); // inside the edit, right of its text
    Dialog->Hide();
    Code_SW.clear();
}
