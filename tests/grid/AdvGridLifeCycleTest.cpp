// The grid control's construction and destruction: a new grid's defaults, the order of what it
// makes and frees, copying another grid, IntegralHeight and the owner form's OnResize chain.
#include "AdvGrid.h"

#include "Forms.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace {

struct TFreeObj {
    void operator()(TObject* O) const { TObject::Free(O); }
};
using TGridPtr = std::unique_ptr<TAdvStringGrid, TFreeObj>;
using TFormPtr = std::unique_ptr<TForm, TFreeObj>;

TEST(AdvGridLifeCycle, NewGridDefaults) {
    TGridPtr g(new TAdvStringGrid(nullptr));
    struct Case {
        const char* What;
        bool Ok;
    } cases[] = {
        {"RowCount 10", g->RowCount() == 10},
        {"ColCount 5", g->ColCount() == 5},
        {"Width 400", g->Width() == 400},
        {"Height 250", g->Height() == 250},
        {"DefaultRowHeight 22", g->DefaultRowHeight() == 22},
        {"FixedRowHeight 22", g->FixedRowHeight() == 22},
        {"FloatFormat", g->FloatFormat == "%.2f"},
        {"CheckTrue", g->CheckTrue == "Y"},
        {"CheckFalse", g->CheckFalse == "N"},
        {"FilterDropDownClear", g->FilterDropDownClear == "(All)"},
        {"fixed font Tahoma", g->FixedFont()->Name() == "Tahoma"},
        {"fixed font bold", g->FixedFont()->Style().count(fsBold) == 1},
        {"active font bold", g->ActiveCellFont()->Style().count(fsBold) == 1},
        {"no hidden columns", g->NumHiddenColumns() == 0},
        {"column 511 visible", !g->IsHiddenColumn(511)},
        {"no hidden rows", g->NumHiddenRows() == 0},
        {"GroupColumn -1", g->GroupColumn() == -1},
        {"focus window at run time", g->FocusWindow() != nullptr},
        {"four arrow windows", g->ArrowWindow(arrUp) && g->ArrowWindow(arrDown) && g->ArrowWindow(arrLeft) &&
                                   g->ArrowWindow(arrRight)},
        {"filter list sorted", g->FilterList()->Sorted()},
        {"IgnoreColumns empty", g->IgnoreColumns()->Count() == 0},
        {"floating footer hidden, as high as a row",
         !g->FloatingFooter()->Visible() && g->FloatingFooter()->Height() == 22},
        {"no fixed footer rows", g->FixedFooters() == 0},
        {"no always-shown scroll bars", g->ScrollBarAlways() == saNone},
        {"no merged columns", g->MergedColumns()->Count() == 0},
        {"hover gradient as ControlLook's",
         g->KitGradientHoverFrom() == g->ControlLook()->FixedGradientHoverFrom()},
        {"no edit mask", g->EditMask.isEmpty()},
    };
    for (const Case& c : cases) EXPECT_TRUE(c.Ok) << c.What;
}

TEST(AdvGridLifeCycle, CreationAndDestructionOrder) {
    std::vector<std::string> made, freed;
    TAdvStringGrid::LifeCycleTrace = [&](bool Created, const char* Name) {
        (Created ? made : freed).push_back(Name);
    };
    {
        TGridPtr g(new TAdvStringGrid(nullptr));
        // Editors made on first use, in another order than the one they are freed in.
        g->RichEdit();
        g->InplaceRichEdit();
        g->SpinEdit();
        g->DateAndTimePicker();
    }
    TAdvStringGrid::LifeCycleTrace = nullptr;
    auto pos = [](const std::vector<std::string>& v, const char* n) {
        return int(std::find(v.begin(), v.end(), n) - v.begin());
    };
    // Everything made is freed once.
    EXPECT_EQ(made.size(), freed.size());
    const char* madeOrder[] = {
        "FooterPanel",    "SearchPanel",    "CellFont",     "FocusHelper",    "SearchFooter",
        "FloatingFooter", "PrintSettings",  "HTMLSettings", "SortSettings",   "ControlLook",
        "Navigation",     "ColumnSize",     "CellNode",     "Bands",          "MouseActions",
        "ColumnHeaders",  "FixedFont",      "RowHeaders",   "SortIndexes",    "BackGround",
        "ControlList",    "SyncGrid",       "GridItems",    "Filter",         "Balloon",
        "IgnoreColumns",  "FilterDropDown", "FilterList",   "FocusWindow",    "ArwU",
        "ArwR",           "EditCombo",      "EditTrans",    "ComboTrans",     "EditCheck",
        "EditBtn",        "UnitEditBtn",    "GridButton",   "MoveButton",     "EditControl",
        "ComboControl",   "ScrollBar",      "RichEdit",     "InplaceRichEdit"};
    for (size_t i = 1; i < std::size(madeOrder); ++i)
        EXPECT_LT(pos(made, madeOrder[i - 1]), pos(made, madeOrder[i]))
            << madeOrder[i - 1] << " before " << madeOrder[i];
    const char* freedOrder[] = {"CellFont",
                                "FocusHelper",
                                "IgnoreColumns",
                                "ProgressAppearance",
                                "FloatingFooter",
                                "ControlList",
                                "NotifierList",
                                "PrintSettings",
                                "HTMLSettings",
                                "SortSettings",
                                "CellNode",
                                "Bands",
                                "ColumnHeaders",
                                "FixedFont",
                                "BackGround",
                                "FooterPanel",
                                "SearchPanel",
                                "SearchFooter",
                                "FilterList",
                                "SyncGrid",
                                "ArwU",
                                "SortList",
                                "GridItems",
                                "Filter",
                                "FocusWindow",
                                "EditCombo",
                                "EditTrans",
                                "ComboTrans",
                                "DateAndTimePicker",
                                "SpinEdit",
                                "InplaceRichEdit",
                                "RichEdit",
                                "EditCheck",
                                "EditBtn",
                                "UnitEditBtn",
                                "GridButton",
                                "MoveButton",
                                "EditControl",
                                "ComboControl",
                                "ScrollBar"};
    for (size_t i = 1; i < std::size(freedOrder); ++i)
        EXPECT_LT(pos(freed, freedOrder[i - 1]), pos(freed, freedOrder[i]))
            << freedOrder[i - 1] << " before " << freedOrder[i];
}

TEST(AdvGridLifeCycle, IntegralHeightCutsToWholeRows) {
    TGridPtr g(new TAdvStringGrid(nullptr));
    g->SetIntegralHeight(true);
    g->SetColCount(2); // every column visible: no horizontal bar
    g->SetBounds(0, 0, 400, 100);
    EXPECT_EQ(g->Height(), 92);
    g->SetIntegralHeight(false);
    g->SetBounds(0, 0, 400, 100);
    EXPECT_EQ(g->Height(), 100);
}

// While an update is open the height is taken as asked.
TEST(AdvGridLifeCycle, IntegralHeightWaitsForTheUpdate) {
    struct TLockGrid : TAdvStringGrid {
        using TAdvStringGrid::ResetUpdate;
        using TAdvStringGrid::StartUpdate;
        using TAdvStringGrid::TAdvStringGrid;
    };
    std::unique_ptr<TLockGrid, TFreeObj> g(new TLockGrid(nullptr));
    g->SetIntegralHeight(true);
    g->SetColCount(2);
    g->StartUpdate();
    g->SetBounds(0, 0, 400, 100);
    EXPECT_EQ(g->Height(), 100);
    g->ResetUpdate();
    g->SetBounds(0, 0, 400, 101);
    EXPECT_EQ(g->Height(), 92);
}

// What Loaded settles once a grid's streamed values are in.
TEST(AdvGridLifeCycle, LoadedSettlesTheStreamedValues) {
    TGridPtr g(new TAdvStringGrid(nullptr));
    g->BeginLoading();
    TGridOptions options = g->Options();
    options.insert(goAlwaysShowEditor);
    g->SetOptions(options);
    g->SetLook(glKit); // stored while loading: the preset waits for Loaded
    g->ColumnHeaders()->Add("A\\nB");
    g->SetDefaultRowHeight(30);
    g->EndLoading();
    EXPECT_TRUE(g->GridLoaded());
    EXPECT_TRUE(g->Navigation()->AlwaysEdit);
    EXPECT_EQ(g->Options().count(goAlwaysShowEditor), 0u);
    EXPECT_EQ(g->Look(), glKit);
    EXPECT_EQ(g->KitGradientTo(), TColor(0xC0C0C0));
    EXPECT_EQ(g->SelectionColor(), TColor(0xEACAB6));
    EXPECT_EQ(g->Cells(0, 0), "A\rB");
    EXPECT_EQ(g->MinRowHeight, 30);
    EXPECT_EQ(g->MinColWidth, 10);
    EXPECT_EQ(g->MaxRowCount(), g->RowCount());
    EXPECT_EQ(g->OrigColSizes().Count(), g->ColCount());
    EXPECT_EQ(g->OldSize(), g->Width());
    EXPECT_EQ(g->FloatingFooter()->Height(), 30);
}

// ScrollBarAlways keeps the named bars shown while everything fits; with saNone a forced update
// hides the bars whose content fits.
TEST(AdvGridLifeCycle, AlwaysShownScrollBars) {
    TFormPtr form(new TForm(nullptr));
    form->SetBounds(100, 100, 600, 400);
    auto* g = new TAdvStringGrid(form.get());
    g->SetParent(form.get());
    g->SetBounds(10, 10, 400, 250);
    g->SetColCount(2);
    g->SetRowCount(3);
    form->Show();
    Application->ProcessMessages();
    auto bars = [&] { return DWORD(GetWindowLong(g->Handle(), GWL_STYLE)) & (WS_HSCROLL | WS_VSCROLL); };
    EXPECT_EQ(bars(), 0u);
    g->SetScrollBarAlways(saVert);
    EXPECT_EQ(bars(), WS_VSCROLL);
    g->SetScrollBarAlways(saBoth);
    EXPECT_EQ(bars(), WS_HSCROLL | WS_VSCROLL);
    // Rows that no longer fit keep the bar; fitting again keeps it too.
    g->SetRowCount(60);
    EXPECT_TRUE(bars() & WS_VSCROLL);
    g->SetRowCount(3);
    Application->ProcessMessages();
    EXPECT_EQ(bars(), WS_HSCROLL | WS_VSCROLL);
    g->SetScrollBarAlways(saNone);
    EXPECT_EQ(bars(), WS_HSCROLL | WS_VSCROLL);
    g->UpdateAlwaysShownScrollBars(true);
    EXPECT_EQ(bars(), 0u);
}

// The editor's mask starts from EditMask; OnGetEditMask may change it per cell.
TEST(AdvGridLifeCycle, EditMaskAndItsEvent) {
    struct TMaskGrid : TAdvStringGrid {
        using TAdvStringGrid::GetEditMask;
        using TAdvStringGrid::TAdvStringGrid;
    };
    std::unique_ptr<TMaskGrid, TFreeObj> g(new TMaskGrid(nullptr));
    EXPECT_EQ(g->GetEditMask(1, 1), "");
    g->EditMask = "999";
    EXPECT_EQ(g->GetEditMask(1, 1), "999");
    g->OnGetEditMask = [](TObject*, int ACol, int, String& Value) {
        if (ACol == 2) Value += "-0";
    };
    EXPECT_EQ(g->GetEditMask(1, 1), "999");
    EXPECT_EQ(g->GetEditMask(2, 1), "999-0");
}

TEST(AdvGridLifeCycle, AssignCopiesStructureAndSettings) {
    TGridPtr a(new TAdvStringGrid(nullptr)), b(new TAdvStringGrid(nullptr));
    a->SetAutoSize(true); // sizes a's columns now; the copy takes only the flag
    a->SetColCount(7);
    a->SetRowCount(12);
    a->SetColWidths(3, 99);
    a->SetRowHeights(4, 40);
    a->SortSettings()->SetColumn(2);
    a->Navigation()->AlwaysEdit = true;
    a->SetActiveCellColor(clRed);
    a->SetActiveCellColorTo(clBlue);
    a->SetActiveRowShow(true);
    a->SetActiveCellShow(true);
    a->AnchorHint = true;
    a->AutoNumAlign = true;
    b->Assign(a.get());
    EXPECT_TRUE(b->ActiveCellShow());
    EXPECT_TRUE(b->AnchorHint);
    EXPECT_TRUE(b->AutoNumAlign);
    EXPECT_TRUE(b->AutoSize());
    EXPECT_EQ(b->ActiveCellColor(), clRed);
    EXPECT_EQ(b->ActiveCellColorTo(), clBlue);
    EXPECT_TRUE(b->ActiveRowShow());
    EXPECT_EQ(b->ColCount(), 7);
    EXPECT_EQ(b->RowCount(), 12);
    EXPECT_EQ(b->ColWidths(3), 99);
    EXPECT_EQ(b->RowHeights(4), 40);
    EXPECT_EQ(b->SortSettings()->Column(), 2);
    EXPECT_TRUE(b->Navigation()->AlwaysEdit);
    // The copy has its own objects.
    EXPECT_NE(b->SortSettings(), a->SortSettings());
    // Another class is ignored.
    TStringList other;
    b->Assign(&other);
    EXPECT_EQ(b->ColCount(), 7);
}

// Two grids on one form, destroyed in both orders: the form's OnResize stays callable and
// ends as the form's own handler.
TEST(AdvGridLifeCycle, OwnerFormResizeChainInEveryOrder) {
    for (bool firstGoesFirst : {true, false}) {
        TFormPtr form(new TForm(nullptr));
        int own = 0;
        form->OnResize = [&](TObject*) { ++own; };
        auto* g1 = new TAdvStringGrid(form.get());
        auto* g2 = new TAdvStringGrid(form.get());
        form->OnResize(form.get());
        EXPECT_EQ(own, 1);
        TObject::Free(firstGoesFirst ? static_cast<TObject*>(g1) : g2);
        form->OnResize(form.get());
        EXPECT_EQ(own, 2) << firstGoesFirst;
        TObject::Free(firstGoesFirst ? static_cast<TObject*>(g2) : g1);
        form->OnResize(form.get());
        EXPECT_EQ(own, 3) << firstGoesFirst;
    }
    // A form without a handler gets none back.
    TFormPtr form(new TForm(nullptr));
    auto* g = new TAdvStringGrid(form.get());
    EXPECT_TRUE(Assigned(form->OnResize));
    TObject::Free(g);
    EXPECT_FALSE(Assigned(form->OnResize));
}

} // namespace
