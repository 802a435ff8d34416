// A project folder for the table editors' tests (see SaveStepFixture.h), the row options off and
// the row buffer empty, with the steps a user takes in an editor's window.
#pragma once

#include "Forms.h"
#include "SaveStepFixture.h"
#include "UTableEditor.h"
#include "UUtils.h"

#include <functional>

class TableEditorTest : public SaveStepTest {
protected:
    void SetUp() override {
        SaveStepTest::SetUp();
        Code_SW = "CF40210";
        Enable_Jump_Field_Tables = Double_Click_Auto_Size = false;
        if (!Copy_Row_List) Copy_Row_List = new TStringList();
        Copy_Row_List->Clear();
    }
    void TearDown() override {
        Enable_Jump_Field_Tables = Double_Click_Auto_Size = false;
        SaveStepTest::TearDown();
    }

    // Shows Editor modally; While runs inside, then the window is cancelled if still open.
    // Answers the modal result.
    static int Open(TFTableEditor* Editor, const std::function<void()>& While) {
        PostCall([Editor, While] {
            While();
            if (Editor->Visible() && Editor->ModalResult() == mrNone) Editor->Btn_Cancel->Click();
        });
        return Editor->ShowModal();
    }
    // Fills row Row from column 1 with Cells.
    static void Fill(TAdvColumnGrid* G, int Row, const QStringList& Cells) {
        for (int c = 0; c < Cells.size(); ++c) G->SetCellEx(c + 1, Row, Cells[c]);
    }
    static QStringList RowOf(TAdvColumnGrid* G, int Row) {
        QStringList cells;
        for (int c = 1; c < G->ColCount(); ++c) cells << G->GetCellEx(c, Row);
        return cells;
    }
};
