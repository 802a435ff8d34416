// The grid's filter drop-down, driven by clicks on a column's filter button: the list of the
// column's values, its size and place, a pick and the ticks of the check list reaching the grid,
// and the ways the list closes (Esc, focus loss, a second click, a click elsewhere).
#include "AdvGrid.h"

#include "Forms.h"
#include "GridFilterDropDown.h"
#include "OSInfo.h"
#include "StdCtrls.h"

#include <gtest/gtest.h>

#include <QListWidget>

#include <algorithm>
#include <functional>
#include <vector>

namespace {

// Records what the lists hand to the grid's filter handling.
class TFilterGrid : public TAdvStringGrid {
public:
    explicit TFilterGrid(TComponent* AOwner) : TAdvStringGrid(AOwner) {}
    std::vector<int> Picks;
    std::vector<int> Checks;

protected:
    void FilterSelect(TObject* Sender, int ItemIndex) override {
        TAdvStringGrid::FilterSelect(Sender, ItemIndex);
        Picks.push_back(ItemIndex);
    }
    void FilterCheck(TObject* Sender, int ItemIndex) override {
        TAdvStringGrid::FilterCheck(Sender, ItemIndex);
        Checks.push_back(ItemIndex);
    }
};

class GridFilterDropDown : public ::testing::Test {
protected:
    void SetUp() override {
        Form = new TForm(nullptr);
        Form->SetBounds(100, 100, 600, 400);
        Grid = new TFilterGrid(Form);
        Grid->SetParent(Form);
        Grid->SetBounds(10, 10, 400, 250);
        Grid->SetColCount(4);
        Grid->SetRowCount(7);
        const char* values[] = {"pump", "valve", "pump", "two words", "motor", "valve"};
        for (int r = 1; r < 7; ++r) Grid->SetCells(2, r, values[r - 1]);
        Grid->SetFilterDropDownAuto(true);
        Edit = new TEdit(Form);
        Edit->SetParent(Form);
        Edit->SetBounds(10, 300, 100, 24);
        Form->Show();
        Application->ProcessMessages();
    }
    void TearDown() override { TObject::Free(Form); }

    // A click on the filter button of column ACol's header.
    void ClickButton(int ACol) {
        const TRect r = Grid->CellRect(ACol, 0);
        SimulateClick(Grid, r.Right - 9, r.Top + 8);
        Application->ProcessMessages();
    }
    std::vector<String> Items(TCustomListBox* List) {
        std::vector<String> items;
        for (int i = 0; i < List->Items()->Count(); ++i) items.push_back(List->Items()->Strings(i));
        return items;
    }

    TForm* Form = nullptr;
    TFilterGrid* Grid = nullptr;
    TEdit* Edit = nullptr;
};

} // namespace

TEST_F(GridFilterDropDown, TheButtonOpensTheColumnsValuesAndAPickReachesTheGrid) {
    ClickButton(2);
    TDropList* list = Grid->DropList();
    ASSERT_TRUE(list->Visible());
    EXPECT_EQ(Grid->FilterColumn(), 2);
    EXPECT_EQ(Items(list), (std::vector<String>{"(All)", "motor", "pump", "two words", "valve"}));
    EXPECT_EQ(list->ItemIndex(), 0);
    EXPECT_TRUE(list->Focused());
    // Below the button, ending at the column's right edge less the button.
    const TRect r = Grid->CellRect(2, 0);
    EXPECT_EQ(list->Top(), r.Top + 16);
    EXPECT_EQ(list->Left(), r.Right - 16);
    EXPECT_EQ(list->Width(), 150);
    EXPECT_EQ(list->Height(), 150);

    SimulateKey(list, VK_DOWN);
    SimulateKey(list, VK_DOWN);
    SimulateKey(list, VK_RETURN);
    EXPECT_FALSE(list->Visible());
    EXPECT_EQ(Grid->Picks, (std::vector<int>{2}));
}

TEST_F(GridFilterDropDown, NamesBeforeAnEqualSignShowAndAutoSizeFitsTheEntries) {
    Grid->SetFilterDropDownAuto(false);
    Grid->OnGetColumnFilter = [](TObject*, int, TStrings* List) {
        List->Clear();
        for (const char* e : {"alpha=1", "beta=2", "gamma", "delta=x=y", "epsilon"}) List->Add(e);
    };
    Grid->FilterDropDown()->SetAutoSize(true);
    ClickButton(1);
    TDropList* list = Grid->DropList();
    ASSERT_TRUE(list->Visible());
    EXPECT_EQ(Items(list), (std::vector<String>{"alpha", "beta", "gamma", "delta", "epsilon"}));
    EXPECT_EQ(list->Height(), 5 * list->ItemHeight() + 2 * GetSystemMetrics(SM_CYEDGE));
    TBitmap probe;
    probe.SetSize(1, 1);
    probe.Canvas()->Font()->Assign(Grid->FilterDropDown()->Font());
    int widest = 0;
    for (const char* name : {"alpha", "beta", "gamma", "delta", "epsilon"})
        widest = std::max(widest, probe.Canvas()->TextWidth(name));
    EXPECT_EQ(list->Width(), widest + 8 + 2 * GetSystemMetrics(SM_CXEDGE));
}

TEST_F(GridFilterDropDown, AListThatWouldPassTheRightBorderEndsAtTheColumnsEdge) {
    for (bool check : {false, true}) {
        Grid->FilterDropDownCheck = check;
        Grid->SetColWidths(3, 120);
        ClickButton(3);
        TCustomListBox* list = check ? static_cast<TCustomListBox*>(Grid->DropCheckList())
                                     : static_cast<TCustomListBox*>(Grid->DropList());
        ASSERT_TRUE(list->Visible()) << check;
        EXPECT_EQ(list->Left(), Grid->CellRect(3, 0).Right - 150) << check;
        SimulateKey(list, VK_ESCAPE);
        // Wider than the grid: never left of 0.
        Grid->FilterDropDown()->SetWidth(600);
        ClickButton(3);
        EXPECT_EQ(list->Left(), 0) << check;
        SimulateKey(list, VK_ESCAPE);
        Grid->FilterDropDown()->SetWidth(150);
    }
    // With ColumnWidth the list takes the cell's width and left edge.
    Grid->FilterDropDownCheck = false;
    Grid->FilterDropDown()->SetColumnWidth(true);
    ClickButton(1);
    EXPECT_EQ(Grid->DropList()->Left(), Grid->CellRect(1, 0).Left);
    EXPECT_EQ(Grid->DropList()->Width(), Grid->CellRect(1, 0).Width());
}

TEST_F(GridFilterDropDown, TheCheckListTicksTheFilteredValuesAndReportsEachTick) {
    Grid->FilterDropDownCheck = true;
    TFilterData* f = Grid->Filter()->Add();
    f->SetColumn(2);
    f->SetCondition("\"two words\"");
    TFilterData* other = Grid->Filter()->Add();
    other->SetColumn(1);
    other->SetCondition("pump");
    ClickButton(2);
    TDropCheckList* list = Grid->DropCheckList();
    ASSERT_TRUE(list->Visible());
    EXPECT_FALSE(Grid->DropList()->Visible());
    const std::vector<String> items = Items(list);
    for (size_t i = 0; i < items.size(); ++i)
        EXPECT_EQ(list->Checked(int(i)), items[i] == "two words") << items[i].toStdString();

    // The user ticks two more: each tick is reported, the list stays open.
    auto* native = static_cast<QListWidget*>(list->NativeWidget());
    ASSERT_NE(native, nullptr);
    native->item(1)->setCheckState(Qt::Checked);
    native->item(4)->setCheckState(Qt::Checked);
    EXPECT_TRUE(list->Checked(1));
    EXPECT_TRUE(list->Checked(4));
    EXPECT_EQ(Grid->Checks, (std::vector<int>{-1, -1}));
    EXPECT_TRUE(list->Visible());
}

TEST_F(GridFilterDropDown, EscFocusLossAndClicksCloseTheList) {
    struct Case {
        const char* Name;
        std::function<void()> Close;
    };
    const Case cases[] = {
        {"Esc", [this] { SimulateKey(Grid->DropList(), VK_ESCAPE); }},
        {"focus to another control", [this] { Edit->SetFocus(); }},
        {"second click on the button", [this] { ClickButton(2); }},
        {"click elsewhere in the grid",
         [this] {
             const TRect r = Grid->CellRect(1, 3);
             SimulateClick(Grid, r.Left + 5, r.Top + 5);
         }},
    };
    for (const Case& c : cases) {
        ClickButton(2);
        ASSERT_TRUE(Grid->DropList()->Visible()) << c.Name;
        c.Close();
        Application->ProcessMessages();
        EXPECT_FALSE(Grid->DropList()->Visible()) << c.Name;
        EXPECT_EQ(Grid->FilterColumn(), -1) << c.Name;
        EXPECT_TRUE(Grid->Picks.empty()) << c.Name;
    }
    // After a close by Esc the next click opens it again.
    ClickButton(2);
    EXPECT_TRUE(Grid->DropList()->Visible());
}

TEST_F(GridFilterDropDown, AColumnWithoutValuesOpensNothing) {
    Grid->SetFilterDropDownAuto(false);
    ClickButton(2);
    EXPECT_FALSE(Grid->DropList()->Visible());
    EXPECT_EQ(Grid->FilterColumn(), -1);
}
