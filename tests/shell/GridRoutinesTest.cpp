// The Enter jump and the header double click of the table grids.
#include "AdvGrid.h"
#include "AdvGridStartup.h"
#include "Forms.h"
#include "UProject.h"
#include "UUtils.h"

#include <gtest/gtest.h>

class GridRoutinesTest : public ::testing::Test {
protected:
    void SetUp() override {
        AdvGridUnitStartup();
        Form = new TForm(nullptr);
        Form->SetClientSize(400, 300);
        Grid = new TAdvStringGrid(Form);
        Grid->SetParent(Form);
        Grid->SetBounds(0, 0, 400, 300);
        Grid->SetColCount(4);
        Grid->SetRowCount(4);
        Form->Show();
    }
    void TearDown() override {
        delete Form;
        Enable_Jump_Field_Tables = false;
        Double_Click_Auto_Size = false;
    }
    TForm* Form = nullptr;
    TAdvStringGrid* Grid = nullptr;
};

TEST_F(GridRoutinesTest, EnterMovesToTheNextCellOnlyWithTheOption) {
    struct Case {
        bool On;
        char Key;
        int Col, Row;       // current cell before
        int NewCol, NewRow; // after
        bool Swallowed;
    };
    const Case cases[] = {
        {true, 13, 1, 1, 2, 1, true},   // to the right
        {true, 13, 3, 1, 1, 2, true},   // last column: column 1 of the next row
        {true, 13, 3, 3, 1, 1, true},   // last cell: back to row 1
        {true, 13, 0, 2, 0, 2, true},   // the fixed column does not move, the key is still taken
        {true, 'a', 1, 1, 1, 1, false}, // another key
        {false, 13, 1, 1, 1, 1, false}, // option off
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.On << " " << c.Col << "," << c.Row);
        Enable_Jump_Field_Tables = c.On;
        Grid->SetFixedCols(c.Col == 0 ? 0 : 1);
        Grid->MoveCurrentCell(c.Col, c.Row);
        Char key = QChar(c.Key);
        Grid_Enter_Next_Cell(Grid, key);
        EXPECT_EQ(Grid->Col(), c.NewCol);
        EXPECT_EQ(Grid->Row(), c.NewRow);
        EXPECT_EQ(key, c.Swallowed ? QChar(0) : QChar(c.Key));
    }
}

TEST_F(GridRoutinesTest, HeaderDoubleClickFitsTheColumnOnlyWithTheOption) {
    Grid->SetCells(2, 2, "a rather long cell text that needs room");
    struct Case {
        bool On;
        int Row;
        bool Sized;
    };
    for (const Case& c : {Case{true, 0, true}, Case{true, 1, false}, Case{false, 0, false}}) {
        Double_Click_Auto_Size = c.On;
        Grid->SetColWidths(2, 10);
        Grid_Auto_Size_Col(Grid, c.Row, 2);
        EXPECT_EQ(Grid->ColWidths(2) > 10, c.Sized) << c.On << " " << c.Row;
    }
}
