// The table-editor frame under a description of two tables in sections, with required
// attributes: what the CAN tables do not use and the other editors will.
#include "UTableEditor.h"

#include "Classes.h"
#include "Dialogs.h"
#include "Forms.h"
#include "SaveStepFixture.h"

#include <gtest/gtest.h>

inline void PrintTo(const QString& S, std::ostream* Os) {
    *Os << '"' << S.toStdString() << '"';
}

namespace {

String Two_File;

TTableColumn Column(int Header, const char* Attribute, TMissingAttribute Missing,
                    TEditorType Editor = edNormal) {
    TTableColumn c;
    c.HeaderId = Header;
    c.HintId = Header;
    c.Attribute = QString::fromLatin1(Attribute);
    c.Missing = Missing;
    c.Editor = Editor;
    c.Default = QStringLiteral("d");
    return c;
}

TTableEditorDesc Two_Desc() {
    TTableEditorDesc d;
    d.FormName = QStringLiteral("FTwo");
    d.Width = 700;
    d.TextBlock = 1500;
    d.ButtonHintId = 1523;
    d.Root = QStringLiteral("Two");
    d.File = &Two_File;
    d.ErrorRowId = 1544;
    d.DeleteQuestionId = 1558;
    TTableDesc a;
    a.GridName = QStringLiteral("ACG_Read");
    a.PageCaptionId = 1509;
    a.Section = QStringLiteral("Read");
    a.Capacity = 3;
    a.Columns = {Column(1508, "", maKeep), Column(1510, "Key", maRequired), Column(1511, "Val", maDefault)};
    TTableDesc b = a;
    b.GridName = QStringLiteral("ACG_Write");
    b.PageCaptionId = 1512;
    b.Section = QStringLiteral("Write");
    b.RowClick = true;
    b.Columns = {Column(1508, "", maKeep), Column(1510, "Key", maRequired),
                 Column(1509, "On", maKeep, edDataCheckBox), Column(1522, "Note", maKeep)};
    d.Tables = {a, b};
    return d;
}

class TFTwo : public TFTableEditor {
public:
    explicit TFTwo(TComponent* AOwner) : TFTableEditor(AOwner, Two_Desc()) {
        OnCreate = [this](TObject*) { Create_Frame(); };
        OnShow = [this](TObject*) { Show_Frame(); };
        DoCreate();
    }
    bool Controllo_dati() override {
        return Check_Rows(0, [](int) { return String(); }) && Check_Rows(1, [](int) { return String(); });
    }
    TStringList* Hint_List(int Table) override { return Table == 0 ? &Hints_A : &Hints_B; }
    bool& Copy_Flag(int Table) override { return Table == 0 ? Copy_A : Copy_B; }

    TStringList Hints_A, Hints_B;
    bool Copy_A = true, Copy_B = true;
};

class TableEditorFrameTest : public SaveStepTest {
protected:
    void SetUp() override {
        SaveStepTest::SetUp();
        Two_File = FDir.filePath("Two.xml");
        Editor = new TFTwo(nullptr);
    }
    void TearDown() override {
        TObject::Free(Editor);
        SaveStepTest::TearDown();
    }
    int Open(const std::function<void()>& While) {
        PostCall([this, While] {
            While();
            if (Editor->Visible() && Editor->ModalResult() == mrNone) Editor->Btn_Cancel->Click();
        });
        return Editor->ShowModal();
    }
    QStringList Texts() const {
        QStringList t;
        for (const auto& m : Messages) t << m.Msg;
        return t;
    }
    String A(int Col, int Row) const { return Editor->Grid(0)->GetCellEx(Col, Row); }
    String B(int Col, int Row) const { return Editor->Grid(1)->GetCellEx(Col, Row); }

    TFTwo* Editor = nullptr;
};

} // namespace

TEST_F(TableEditorFrameTest, PagesOneGridEach) {
    ASSERT_NE(Editor->PageControl1, nullptr);
    EXPECT_EQ(Editor->PageControl1->PageCount(), 2);
    EXPECT_EQ(Editor->PageControl1->Pages(0)->Caption(), "Enable");
    EXPECT_EQ(Editor->PageControl1->Pages(1)->Caption(), "Dimension");
    EXPECT_EQ(Editor->Grid(1)->Parent(), Editor->PageControl1->Pages(1));
    EXPECT_EQ(Editor->Hints_B.CommaText(), "CobID,Enable,Mnemonic");
    Open([this] {
        EXPECT_FALSE(Editor->Copy_A);
        EXPECT_FALSE(Editor->Copy_B);
        EXPECT_EQ(Editor->Current_Table(), 0);
        Editor->PageControl1->SetActivePage(Editor->PageControl1->Pages(1));
        EXPECT_EQ(Editor->Current_Table(), 1);
        String hint;
        Editor->Grid(1)->OnGridHint(Editor->Grid(1), 0, 3, hint);
        EXPECT_EQ(hint, "Mnemonic");
        // A row copied in one table is refused by the other.
        Editor->Grid(1)->MoveCurrentCell(1, 1);
        Editor->Btn_CopyRow->Click();
        EXPECT_TRUE(Editor->Copy_B);
        Editor->PageControl1->SetActivePage(Editor->PageControl1->Pages(0));
        Editor->Btn_PasteRow->Click();
        // A click on a row number selects the row in the table that has the handler.
        Editor->Grid(1)->OnClickCell(Editor->Grid(1), 2, 0);
        const TGridRect sel = Editor->Grid(1)->Selection();
        EXPECT_EQ(QList<int>({sel.Left, sel.Top, sel.Right, sel.Bottom}), QList<int>({1, 2, 3, 2}));
    });
    EXPECT_EQ(Texts(), QStringList({Lang_Text.Get(1102)}));
}

// Sections are found by name; a missing section is an empty table; both sections are written
// also when empty.
TEST_F(TableEditorFrameTest, SectionsByName) {
    WriteFile("Two.xml", "<Two><Write><row Key=\"w1\" On=\"Y\" Note=\"n\"/></Write>"
                         "<Read><row Key=\"r1\"/><row Key=\"r2\" Val=\"v\"/></Read></Two>");
    Open([this] {
        EXPECT_EQ(QStringList({A(1, 1), A(2, 1), A(1, 2), A(2, 2), A(1, 3)}),
                  QStringList({"r1", "d", "r2", "v", ""}));
        EXPECT_EQ(QStringList({B(1, 1), B(2, 1), B(3, 1)}), QStringList({"w1", "Y", "n"}));
        Editor->Btn_OK->Click();
    });
    EXPECT_EQ(Read("Two.xml"), "<Two>\n"
                               "\t<Read>\n"
                               "\t\t<row Key=\"r1\" Val=\"d\" />\n"
                               "\t\t<row Key=\"r2\" Val=\"v\" />\n"
                               "\t</Read>\n"
                               "\t<Write>\n"
                               "\t\t<row Key=\"w1\" On=\"Y\" Note=\"n\" />\n"
                               "\t</Write>\n"
                               "</Two>\n"
                               "<!--SW_VERSION = 1.000-->\n");
    WriteFile("Two.xml", "<Two><Read><row Key=\"r1\"/></Read></Two>");
    Open([this] {
        EXPECT_EQ(A(1, 1), "r1");
        EXPECT_EQ(B(1, 1), "");
        Editor->Grid(0)->SetCellEx(1, 1, "");
        Editor->Grid(0)->SetCellEx(2, 1, "");
        Editor->Btn_OK->Click();
    });
    EXPECT_EQ(Read("Two.xml"), "<Two>\n\t<Read />\n\t<Write />\n</Two>\n<!--SW_VERSION = 1.000-->\n");
    EXPECT_TRUE(Messages.isEmpty()) << Texts().join("|").toStdString();
}

// A row without a required attribute stops the load there: the user is told the file and the
// row, and OK asks before the partial tables replace the file.
TEST_F(TableEditorFrameTest, MissingRequiredAttributeStopsTheLoad) {
    const QByteArray file = "<Two><Read><row Key=\"r1\"/><row Val=\"v2\"/><row Key=\"r3\"/></Read>"
                            "<Write><row Key=\"w1\"/></Write></Two>";
    WriteFile("Two.xml", file);
    for (int answer : {mrNo, mrYes}) {
        Messages.clear();
        Answer = answer;
        const int result = Open([this] {
            ASSERT_EQ(Messages.size(), 1);
            const String msg = Messages[0].Msg;
            EXPECT_TRUE(
                msg.startsWith(Lang_Text.Get(1110) + NativePath(Two_File) + Lang_Text.Get(1111) + "2: "))
                << msg.toStdString();
            EXPECT_TRUE(msg.contains("Key")) << msg.toStdString();
            EXPECT_EQ(QStringList({A(1, 1), A(1, 2), A(1, 3), B(1, 1)}), QStringList({"r1", "", "", ""}));
            // The attributes after the missing one are not read.
            EXPECT_EQ(A(2, 2), "");
            Editor->Btn_OK->Click();
        });
        EXPECT_EQ(Texts().value(1), Lang_Text.Get(1106));
        EXPECT_EQ(result, answer == mrYes ? mrOk : mrCancel);
        if (answer == mrNo) {
            EXPECT_EQ(Read("Two.xml"), file);
        }
    }
    EXPECT_FALSE(Read("Two.xml").contains("r3"));
}
