// The table editors with two pages driven as a user drives them: shown modally over a project
// folder, rows filled on both pages, OK pressed, messages answered.
#pragma once

#include "Dialogs.h"
#include "Forms.h"
#include "SaveStepFixture.h"
#include "TestSupport.h"
#include "UTableEditor.h"
#include "UUtils.h"

#include <functional>
#include <vector>

inline void PrintTo(const QString& S, std::ostream* Os) {
    *Os << '"' << S.toStdString() << '"';
}

// Base with the cells of Changes (column from 1, text) replaced.
inline QStringList With(QStringList Base, std::initializer_list<std::pair<int, const char*>> Changes) {
    for (const auto& [col, text] : Changes) Base[col - 1] = text;
    return Base;
}

template <class Editor> class TwoTableTest : public SaveStepTest {
protected:
    void SetUp() override {
        SaveStepTest::SetUp();
        Code_SW = "CF40210";
        if (!Copy_Row_List) Copy_Row_List = new TStringList();
        Copy_Row_List->Clear();
        E = new Editor(nullptr);
    }
    void TearDown() override {
        TObject::Free(E);
        SaveStepTest::TearDown();
    }
    // Shows the editor modally; While runs inside, then the window is cancelled if still open.
    // Answers the modal result.
    int Open(const std::function<void()>& While) {
        PostCall([this, While] {
            While();
            if (E->Visible() && E->ModalResult() == mrNone) E->Btn_Cancel->Click();
        });
        return E->ShowModal();
    }
    // Fills row Row from real column 1 with Cells.
    static void Fill(TAdvColumnGrid* G, int Row, const QStringList& Cells) {
        for (int c = 0; c < Cells.size(); ++c) G->SetCellEx(c + 1, Row, Cells[c]);
    }
    // The cells of row Row in every real column from 1, hidden ones included.
    static QStringList RowOf(TAdvColumnGrid* G, int Row) {
        QStringList cells;
        for (int c = 1; c < G->ColCount() + G->NumHiddenColumns(); ++c) cells << G->GetCellEx(c, Row);
        return cells;
    }
    QStringList Texts() const {
        QStringList t;
        for (const auto& m : Messages) t << m.Msg;
        return t;
    }

    struct Check_Case {
        const char* name;
        std::vector<QStringList> first, second; // the rows of the two tables
        const char* message;                    // "" when the tables pass
    };
    // Each case fills its rows over empty tables and presses OK: either the one error message
    // expected and no file, or no error and the file written. Rows below a blank key are dropped.
    void Run_Checks(const QString& File, const std::vector<Check_Case>& Cases) {
        for (const Check_Case& c : Cases) {
            QFile::remove(FDir.filePath(File));
            Messages.clear();
            Answer = mrYes;
            const int result = Open([&] {
                for (size_t i = 0; i < c.first.size(); ++i) Fill(E->Grid(0), int(i) + 1, c.first[i]);
                for (size_t i = 0; i < c.second.size(); ++i) Fill(E->Grid(1), int(i) + 1, c.second[i]);
                E->Btn_OK->Click();
            });
            const bool passes = QByteArray(c.message).isEmpty();
            EXPECT_EQ(result, passes ? mrOk : mrCancel) << c.name;
            QStringList errors;
            for (const auto& m : Messages)
                if (m.DlgType == mtError) errors << m.Msg;
            EXPECT_EQ(errors, passes ? QStringList() : QStringList({c.message})) << c.name;
            EXPECT_EQ(Files().contains(File), passes) << c.name;
        }
    }

    Editor* E = nullptr;
};
