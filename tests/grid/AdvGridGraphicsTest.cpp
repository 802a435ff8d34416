// The graphics grid cells carry: each kind's add, query and remove, queries on a cell of another
// kind, check boxes of every kind with their states and toggling, radio buttons and groups,
// picture sizing, image keys and the graphic sizes.
#include "AdvGrid.h"

#include "CellDraw.h"
#include "ImgList.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

namespace {

class TTestGrid : public TAdvStringGrid {
public:
    TTestGrid() : TAdvStringGrid(nullptr) {
        SetColCount(6);
        SetRowCount(6);
    }
    using TAdvStringGrid::SelectNextRadio;
    using TAdvStringGrid::SelectRadioButton;
    using TAdvStringGrid::ToggleCheckState;
};

struct TCheckEvent {
    int Col, Row;
    bool State;
    bool operator==(const TCheckEvent&) const = default;
};

} // namespace

// ---------------------------------------------------------------------------------------------
// The families per kind

TEST(AdvGridGraphicsTest, EachKindIsFoundOnlyByItsOwnQueriesAndRemovers) {
    auto* images = new TImageList(nullptr, 16, 16);
    auto freeImages = FreeAtEnd(images);
    struct Kind {
        const char* name;
        TCellType type;
        std::function<void(TTestGrid*)> add;
        std::function<bool(TTestGrid*)> has;
        std::function<void(TTestGrid*)> remove;
    };
    const int c = 2, r = 3;
    const std::vector<Kind> kinds = {
        {"bitmap", ctBitmap, [&](TTestGrid* g) { g->CreateBitmap(c, r, false, haLeft, vaTop); },
         [&](TTestGrid* g) { return g->HasBitmap(c, r); }, [&](TTestGrid* g) { g->RemoveBitmap(c, r); }},
        {"picture", ctPicture,
         [&](TTestGrid* g) { g->CreatePicture(c, r, false, noStretch, 0, haLeft, vaTop); },
         [&](TTestGrid* g) { return g->HasPicture(c, r); }, [&](TTestGrid* g) { g->RemovePicture(c, r); }},
        {"file picture", ctFilePicture,
         [&](TTestGrid* g) { g->CreateFilePicture(c, r, false, noStretch, 0, haLeft, vaTop); },
         [&](TTestGrid* g) { return g->GetFilePicture(c, r) != nullptr; },
         [&](TTestGrid* g) { g->RemoveFilePicture(c, r); }},
        {"icon", ctIcon, [&](TTestGrid* g) { g->CreateIcon(c, r, haLeft, vaTop); },
         [&](TTestGrid* g) { return g->GetCellType(c, r) == ctIcon; },
         [&](TTestGrid* g) { g->RemoveIcon(c, r); }},
        {"image", ctImageList, [&](TTestGrid* g) { g->AddImageIdx(c, r, 4, haLeft, vaTop); },
         [&](TTestGrid* g) {
             int i = -1;
             return g->GetImageIdx(c, r, i) && i == 4;
         },
         [&](TTestGrid* g) { g->RemoveImageIdx(c, r); }},
        {"images", ctImages, [&](TTestGrid* g) { g->AddMultiImage(c, r, 0, haLeft, vaTop); },
         [&](TTestGrid* g) { return g->GetCellImages(c, r) != nullptr; },
         [&](TTestGrid* g) { g->RemoveMultiImage(c, r); }},
        {"rotated", ctRotated, [&](TTestGrid* g) { g->AddRotated(c, r, 90, "x"); },
         [&](TTestGrid* g) {
             int a = 0;
             return g->IsRotated(c, r, a) && a == 90;
         },
         [&](TTestGrid* g) { g->RemoveRotated(c, r); }},
        {"check box", ctCheckBox, [&](TTestGrid* g) { g->AddCheckBox(c, r, true, false); },
         [&](TTestGrid* g) { return g->HasCheckBox(c, r) && !g->HasDataCheckBox(c, r); },
         [&](TTestGrid* g) { g->RemoveCheckBox(c, r); }},
        {"radio button", ctRadioButton, [&](TTestGrid* g) { g->AddRadioButton(c, r, true); },
         [&](TTestGrid* g) { return g->HasRadioButton(c, r) && g->IsRadioButtonChecked(c, r); },
         [&](TTestGrid* g) { g->RemoveRadioButton(c, r); }},
        {"radio group", ctRadio, [&](TTestGrid* g) { g->CreateRadio(c, r, 0, 1)->Add("a"); },
         [&](TTestGrid* g) { return g->IsRadio(c, r) && g->GetRadioStrings(c, r)->Count() == 1; },
         [&](TTestGrid* g) { g->RemoveRadio(c, r); }},
        {"progress", ctProgress, [&](TTestGrid* g) { g->AddProgress(c, r, clBlue, clWhite); },
         [&](TTestGrid* g) { return g->HasProgress(c, r); }, [&](TTestGrid* g) { g->RemoveProgress(c, r); }},
        {"pie", ctProgressPie, [&](TTestGrid* g) { g->AddProgressPie(c, r, clRed, 30); },
         [&](TTestGrid* g) { return g->GetCellType(c, r) == ctProgressPie; },
         [&](TTestGrid* g) { g->RemoveProgressPie(c, r); }},
        {"platform progress", ctXPProgress, [&](TTestGrid* g) { g->AddAdvProgress(c, r, 0, 10); },
         [&](TTestGrid* g) { return g->GetCellType(c, r) == ctXPProgress; },
         [&](TTestGrid* g) { g->RemoveAdvProgress(c, r); }},
        {"range", ctRangeIndicator,
         [&](TTestGrid* g) { g->AddRangeIndicator(c, r, 100, clRed, clGreen, true); },
         [&](TTestGrid* g) { return g->GetCellType(c, r) == ctRangeIndicator; },
         [&](TTestGrid* g) { g->RemoveRangeIndicator(c, r); }},
        {"comment", ctComment, [&](TTestGrid* g) { g->AddComment(c, r, "note"); },
         [&](TTestGrid* g) {
             String s;
             return g->IsComment(c, r, s) && s == "note" && g->GetComment(c, r) == "note";
         },
         [&](TTestGrid* g) { g->RemoveComment(c, r); }},
        {"shape", ctShape, [&](TTestGrid* g) { g->AddShape(c, r, csCircle, clRed, clBlack, haLeft, vaTop); },
         [&](TTestGrid* g) { return g->GetShapeColor(c, r) == clRed; },
         [&](TTestGrid* g) { g->RemoveShape(c, r); }},
        {"rating", ctRating, [&](TTestGrid* g) { g->AddRating(c, r, 5, clYellow, clGray); },
         [&](TTestGrid* g) { return g->HasRating(c, r); }, [&](TTestGrid* g) { g->RemoveRating(c, r); }},
        {"button", ctButton, [&](TTestGrid* g) { g->AddButton(c, r, 80, 20, "Go", haLeft, vaTop); },
         [&](TTestGrid* g) { return g->HasButton(c, r); }, [&](TTestGrid* g) { g->RemoveButton(c, r); }},
        {"bit button", ctBitButton,
         [&](TTestGrid* g) { g->CreateBitButton(c, r, 80, 20, "Go", haLeft, vaTop); },
         [&](TTestGrid* g) { return g->HasButton(c, r); }, [&](TTestGrid* g) { g->RemoveBitButton(c, r); }},
        {"balloon", ctBalloon, [&](TTestGrid* g) { g->AddBalloon(c, r, "T", "x", biInfo); },
         [&](TTestGrid* g) { return g->HasBalloon(c, r); }, [&](TTestGrid* g) { g->RemoveBalloon(c, r); }},
        {"scroll bar", ctScrollbar, [&](TTestGrid* g) { g->AddScrollBar(c, r, false); },
         [&](TTestGrid* g) { return g->HasScrollBar(c, r) && g->GetScrollPosition(c, r) == 0; },
         [&](TTestGrid* g) { g->RemoveScrollBar(c, r); }},
        {"expand", ctExpand, [&](TTestGrid* g) { g->AddExpand(c, r, 60); },
         [&](TTestGrid* g) { return g->HasExpand(c, r); }, [&](TTestGrid* g) { g->RemoveExpand(c, r); }},
        {"interfaced", ctInterface, [&](TTestGrid* g) { g->AddInterfacedCell(c, r, g); },
         [&](TTestGrid* g) { return g->GetInterfacedCell(c, r) == g; },
         [&](TTestGrid* g) { g->RemoveInterfacedCell(c, r); }},
    };
    for (const Kind& k : kinds) {
        SCOPED_TRACE(k.name);
        TTestGrid* g = new TTestGrid();
        auto freeGrid = FreeAtEnd(g);
        g->SetGridImages(images);
        k.add(g);
        EXPECT_EQ(g->GetCellType(c, r), k.type);
        EXPECT_TRUE(k.has(g));
        // Every other kind's query and remover leaves it alone.
        for (const Kind& other : kinds) {
            const bool buttons = (k.type == ctButton || k.type == ctBitButton) &&
                                 (other.type == ctButton || other.type == ctBitButton);
            if (other.type == k.type || buttons) continue;
            SCOPED_TRACE(other.name);
            EXPECT_FALSE(other.has(g));
            other.remove(g);
            EXPECT_EQ(g->GetCellType(c, r), k.type);
        }
        k.remove(g);
        EXPECT_EQ(g->GetCellType(c, r), ctEmpty);
        EXPECT_EQ(g->GetCellGraphic(c, r), nullptr);
        // Another graphic replaces the first; the grid frees what it made.
        k.add(g);
        g->AddComment(c, r, "last");
        EXPECT_EQ(g->GetCellType(c, r), ctComment);
    }
}

TEST(AdvGridGraphicsTest, QueriesOnOtherCellsAnswerTheirNeutralValues) {
    TTestGrid* g = new TTestGrid();
    auto freeGrid = FreeAtEnd(g);
    g->AddComment(1, 1, "c");
    for (int c : {1, 2}) {
        SCOPED_TRACE(c);
        const TScrollProp p = g->GetScrollProp(c, 1);
        EXPECT_EQ(p.PageSize, -1);
        EXPECT_EQ(p.Range, -1);
        EXPECT_EQ(g->GetScrollPosition(c, 1), -1);
        EXPECT_EQ(g->GetShapeColor(c, 1), clNone);
        EXPECT_EQ(g->GetBitmap(c, 1), nullptr);
        EXPECT_EQ(g->GetRadioStrings(c, 1), nullptr);
        EXPECT_FALSE(g->ToggleExpand(c, 1));
        EXPECT_EQ(g->GetCellImageRef(c, 1), -1);
        EXPECT_EQ(g->GetExpandRect(c, 1), TRect());
        g->SetShapeColor(c, 1, clRed);
        g->SetScrollPosition(c, 1, 5);
        EXPECT_EQ(g->GetCellType(1, 1), ctComment);
    }
    int pos = 7, len = 7;
    g->GetMarker(2, 1, pos, len);
    EXPECT_EQ(pos, 0);
    EXPECT_EQ(len, 0);
    EXPECT_EQ(g->GetCellType(-1, 1), ctEmpty);
    EXPECT_FALSE(g->IsClickableCell(-1, 0));
    EXPECT_FALSE(g->HasCheckBox(1, -1));
    EXPECT_EQ(g->GetExpandHeight(3, 3, true), g->DefaultRowHeight());
}

TEST(AdvGridGraphicsTest, GraphicSettersStoreThePartsNumbers) {
    TCellGraphic g;
    g.SetAngle(-90);
    EXPECT_EQ(g.CellAngle, 270);
    g.SetAngle(720);
    EXPECT_EQ(g.CellAngle, 360);
    EXPECT_EQ(g.CellType, ctRotated);
    g.SetButton(80, 20, "Ok", haLeft, vaTop);
    EXPECT_EQ(g.CellIndex, 20 * 65536 + 80);
    EXPECT_EQ(g.CellText, String("Ok"));
    TCellGraphic copy;
    copy.Assign(&g);
    EXPECT_EQ(copy.CellType, ctButton);
    EXPECT_EQ(copy.CellIndex, g.CellIndex);
    EXPECT_EQ(copy.CellBitmap, nullptr);
}

TEST(AdvGridGraphicsTest, PictureStretchModes) {
    auto* pic = new TPicture();
    auto freePic = FreeAtEnd(pic);
    pic->Bitmap()->SetSize(100, 50);
    ASSERT_EQ(pic->Width(), 100);
    struct Case {
        TStretchMode mode;
        int cw, rh, padding;
        TPoint want;
    };
    const Case cases[] = {
        {noStretch, 60, 60, 0, {100, 50}},
        {Stretch, 60, 60, 0, {60, 60}},
        {StretchWithAspectRatio, 60, 60, 0, {60, 30}},
        {Shrink, 60, 60, 0, {60, 60}},
        {ShrinkWithAspectRatio, 60, 60, 0, {60, 30}},
        {Shrink, 200, 100, 0, {100, 50}},
        {ShrinkWithAspectRatio, 200, 100, 0, {100, 50}},
        {StretchWithAspectRatio, 300, 100, 0, {200, 100}},
        {Stretch, 70, 70, 10, {60, 60}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << int(c.mode) << " in " << c.cw << "x" << c.rh);
        TCellGraphic g;
        g.SetPicture(pic, false, c.mode, c.padding, haLeft, vaTop);
        EXPECT_EQ(g.GetPictureSize(c.cw, c.rh, false), c.want);
    }
    TCellGraphic none;
    EXPECT_EQ(none.GetPictureSize(60, 60, false), TPoint());
}

// ---------------------------------------------------------------------------------------------
// Check boxes and radio buttons

TEST(AdvGridGraphicsTest, AddingCheckBoxesAndRadioButtonsOutsideTheGridRaises) {
    TTestGrid* g = new TTestGrid();
    auto freeGrid = FreeAtEnd(g);
    const std::vector<std::function<void()>> adds = {
        [&] { g->AddCheckBox(6, 1, true, false); }, [&] { g->AddCheckBox(1, 6, true, true); },
        [&] { g->AddCheckBox(-1, 1, cbChecked); },  [&] { g->AddRadioButton(1, 99); },
        [&] { g->AddRadioButton(9, 1, true); },
    };
    for (size_t i = 0; i < adds.size(); ++i) {
        SCOPED_TRACE(i);
        try {
            adds[i]();
            ADD_FAILURE() << "no exception";
        } catch (const EAdvGridError& e) {
            EXPECT_EQ(e.Message(), String("Invalid cell"));
        }
    }
    // A hidden column still counts as inside.
    g->HideColumn(5);
    EXPECT_NO_THROW(g->AddCheckBox(5, 1, true, false));
    EXPECT_EQ(g->GetCellType(5, 1), ctCheckBox);
}

TEST(AdvGridGraphicsTest, DataCheckBoxesKeepACheckTextAndWriteOneOtherwise) {
    TTestGrid* g = new TTestGrid();
    auto freeGrid = FreeAtEnd(g);
    g->SetCells(1, 1, "N");
    g->AddCheckBox(1, 1, true, true);
    EXPECT_EQ(g->Cells(1, 1), String("N"));
    g->AddCheckBox(1, 2, true, true);
    EXPECT_EQ(g->Cells(1, 2), String("Y"));
    g->SetCells(1, 3, "maybe");
    g->AddCheckBox(1, 3, false, true);
    EXPECT_EQ(g->Cells(1, 3), String("N"));
    EXPECT_TRUE(g->HasDataCheckBox(1, 2));
    EXPECT_TRUE(g->IsTextlessCell(1, 2));
    EXPECT_TRUE(g->IsChecked(1, 2));
    EXPECT_FALSE(g->IsChecked(1, 1));
    EXPECT_TRUE(g->ToggleCheckBox(1, 1));
    EXPECT_EQ(g->Cells(1, 1), String("Y"));
    EXPECT_TRUE(g->SetCheckBoxState(1, 2, false));
    EXPECT_EQ(g->Cells(1, 2), String("N"));
    EXPECT_FALSE(g->ToggleCheckBox(2, 2)); // no check box there
}

TEST(AdvGridGraphicsTest, NewCheckBoxesAndRadioButtonsArePlacedByTheGridsVerticalAlignment) {
    TTestGrid* g = new TTestGrid();
    auto freeGrid = FreeAtEnd(g);
    const std::pair<TVAlignment, TCellVAlign> cases[] = {
        {vtaTop, vaTop}, {vtaCenter, vaCenter}, {vtaBottom, vaBottom}};
    const std::vector<std::function<void(int)>> adds = {
        [&](int r) { g->AddCheckBox(1, r, false, false); },
        [&](int r) { g->AddCheckBox(1, r, true, true); },
        [&](int r) { g->AddCheckBox(1, r, cbGrayed); },
        [&](int r) { g->AddRadioButton(1, r); },
    };
    for (auto [grid, cell] : cases) {
        g->SetVAlignment(grid);
        for (size_t i = 0; i < adds.size(); ++i) {
            SCOPED_TRACE(testing::Message() << "alignment " << int(grid) << ", add " << i);
            adds[i](2);
            TCellGraphic* gr = g->GetCellGraphic(1, 2);
            ASSERT_NE(gr, nullptr);
            EXPECT_EQ(gr->CellVAlign, cell);
            EXPECT_EQ(gr->CellHAlign, haBeforeText);
            EXPECT_TRUE(gr->CellTransparent);
        }
    }
}

TEST(AdvGridGraphicsTest, CheckTextsOfReadingAndTogglingComeFromTheCheckTextEvents) {
    TTestGrid* g = new TTestGrid();
    auto freeGrid = FreeAtEnd(g);
    // Column 1 shows "on" and "off"; other columns the grid's texts.
    g->OnGetCheckTrue = [](TObject*, int ACol, int, String& V) {
        if (ACol == 1) V = "on";
    };
    g->OnGetCheckFalse = [](TObject*, int ACol, int, String& V) {
        if (ACol == 1) V = "off";
    };
    g->SetCells(1, 1, "on");
    g->AddCheckBox(1, 1, false, true);
    EXPECT_EQ(g->Cells(1, 1), String("N")) << "a new box starts from the grid's own texts";
    g->SetCells(1, 1, "on");
    EXPECT_TRUE(g->IsChecked(1, 1));
    EXPECT_TRUE(g->ToggleCheckBox(1, 1));
    EXPECT_EQ(g->Cells(1, 1), String("off"));
    EXPECT_TRUE(g->ToggleCheckBox(1, 1));
    EXPECT_EQ(g->Cells(1, 1), String("on"));
    EXPECT_TRUE(g->SetCheckBoxState(1, 1, false));
    EXPECT_EQ(g->Cells(1, 1), String("off"));
    g->AddCheckBox(2, 1, true, true);
    EXPECT_TRUE(g->IsChecked(2, 1));
    EXPECT_TRUE(g->ToggleCheckBox(2, 1));
    EXPECT_EQ(g->Cells(2, 1), String("N"));
}

TEST(AdvGridGraphicsTest, AUsersToggleNeedsTheCanEditQuery) {
    struct TCase {
        const char* Name;
        bool Editing;      // goEditing in Options
        bool Refuse;       // OnCanEditCell refuses
        bool AlwaysActive; // ControlLook.CheckAlwaysActive
        bool Toggled;
    };
    const TCase cases[] = {
        {"editing, no refusal", true, false, false, true},
        {"without goEditing a cell with properties is not editable", false, false, false, false},
        {"the event refuses", true, true, false, false},
        {"always active check boxes ignore the query", false, true, true, true},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        TTestGrid* g = new TTestGrid();
        auto freeGrid = FreeAtEnd(g);
        TGridOptions o = g->Options();
        if (c.Editing)
            o.insert(goEditing);
        else
            o.erase(goEditing);
        g->SetOptions(o);
        if (c.Refuse) g->OnCanEditCell = [](TObject*, int, int, bool& CanEdit) { CanEdit = false; };
        g->ControlLook()->SetCheckAlwaysActive(c.AlwaysActive);
        g->AddCheckBox(1, 1, false, false); // the graphic lives in the cell's properties
        EXPECT_EQ(g->ToggleCheckState(1, 1, true), c.Toggled);
        EXPECT_EQ(g->IsChecked(1, 1), c.Toggled);
        EXPECT_TRUE(g->ToggleCheckBox(1, 1)) << "the program's own toggle asks nobody";
    }
}

TEST(AdvGridGraphicsTest, ProgressBarsAreRightAlignedWithAutoNumAlign) {
    TTestGrid* g = new TTestGrid();
    auto freeGrid = FreeAtEnd(g);
    g->AddProgress(1, 1, clBlue, clWhite);
    EXPECT_EQ(g->Alignments(1, 1), taLeftJustify);
    g->AutoNumAlign = true;
    g->AddProgress(1, 2, clBlue, clWhite);
    g->AddProgressEx(1, 3, clBlue, clBlack, clWhite, clBlack);
    g->AddProgressFormatted(1, 4, clBlue, clBlack, clWhite, clBlack, "%d%%", 0, 50);
    for (int r = 2; r <= 4; ++r) EXPECT_EQ(g->Alignments(1, r), taRightJustify) << r;
    EXPECT_EQ(g->GetCellType(1, 4), ctProgress);
}

TEST(AdvGridGraphicsTest, TriStateBoxesCycleAndReportTheirState) {
    TTestGrid* g = new TTestGrid();
    auto freeGrid = FreeAtEnd(g);
    std::vector<TCheckEvent> events;
    g->OnCheckBoxChange = [&](TObject*, int C, int R, bool S) { events.push_back({C, R, S}); };
    g->AddCheckBox(2, 2, cbUnchecked);
    EXPECT_TRUE(g->HasCheckBox(2, 2));
    EXPECT_TRUE(g->IsClickableCell(2, 2));
    const TCheckBoxState cycle[] = {cbGrayed, cbChecked, cbUnchecked, cbGrayed};
    for (TCheckBoxState want : cycle) {
        ASSERT_TRUE(g->ToggleCheckBox(2, 2));
        TCheckBoxState s = cbUnchecked;
        ASSERT_TRUE(g->GetCheckBoxState(2, 2, s));
        EXPECT_EQ(s, want);
    }
    const std::vector<TCheckEvent> want = {{2, 2, false}, {2, 2, true}, {2, 2, false}, {2, 2, false}};
    EXPECT_EQ(events, want);
    EXPECT_TRUE(g->SetCheckBoxState(2, 2, cbChecked));
    EXPECT_TRUE(g->IsChecked(2, 2));
    // The three-state setter acts on three-state boxes only.
    g->AddCheckBox(3, 2, false, false);
    EXPECT_FALSE(g->SetCheckBoxState(3, 2, cbChecked));
    TCheckBoxState s = cbGrayed;
    EXPECT_TRUE(g->GetCheckBoxState(3, 2, s));
    EXPECT_EQ(s, cbUnchecked);
    // A column of them from the first data row.
    g->AddTriStateCheckBoxColumn(4, cbGrayed);
    EXPECT_EQ(g->GetCellType(4, 0), ctEmpty);
    EXPECT_EQ(g->GetCellType(4, 5), ctTriStateCheckBox);
}

TEST(AdvGridGraphicsTest, CheckColumnsCheckAllAndHiddenRows) {
    TTestGrid* g = new TTestGrid();
    auto freeGrid = FreeAtEnd(g);
    std::vector<TCheckEvent> events;
    g->OnCheckBoxChange = [&](TObject*, int C, int R, bool S) { events.push_back({C, R, S}); };
    g->AddCheckBoxColumn(1, false, false);
    EXPECT_EQ(g->GetCellType(1, 0), ctEmpty);
    g->SetCheckBoxState(1, 2, true);
    g->CheckAll(1);
    EXPECT_EQ(events.size(), 4u); // rows 1, 3, 4, 5 changed
    for (int r = 1; r < 6; ++r) EXPECT_TRUE(g->IsChecked(1, r)) << r;
    events.clear();
    g->UnCheckAll(1);
    EXPECT_EQ(events.size(), 5u);
    // A hidden row answers from its record, by real row.
    g->SetCheckBoxState(1, 4, true);
    g->HideRow(4);
    bool state = false;
    EXPECT_TRUE(g->GetCheckBoxState(1, 4, state));
    EXPECT_TRUE(state);
    EXPECT_TRUE(g->GetCheckBoxState(1, 5, state));
    EXPECT_FALSE(state);
    g->RemoveCheckBoxColumn(1);
    EXPECT_FALSE(g->HasCheckBox(1, 2));
}

TEST(AdvGridGraphicsTest, RadioButtonsAndGroups) {
    TTestGrid* g = new TTestGrid();
    auto freeGrid = FreeAtEnd(g);
    g->AddRadioButtonColumn(2);
    EXPECT_EQ(g->GetRadioButtonColumnIndex(2), -1);
    g->SetRadioButtonColumnIndex(2, 3);
    EXPECT_EQ(g->GetRadioButtonColumnIndex(2), 3);
    EXPECT_TRUE(g->SelectRadioButton(2, 4, false));
    EXPECT_EQ(g->GetRadioButtonColumnIndex(2), 4);
    EXPECT_FALSE(g->IsRadioButtonChecked(2, 3));
    EXPECT_FALSE(g->SetRadioButtonState(3, 3, true));
    g->RemoveRadioButtonColumn(2);
    EXPECT_FALSE(g->HasRadioButton(2, 4));

    TStringList* items = g->CreateRadio(1, 1, 0, 2);
    items->Add("a");
    items->Add("b");
    items->Add("c");
    EXPECT_TRUE(g->SelectNextRadio(1, 1, false));
    EXPECT_EQ(g->Cells(1, 1), String("a"));
    int idx = -5;
    EXPECT_TRUE(g->GetRadioIdx(1, 1, idx));
    EXPECT_EQ(idx, 0);
    EXPECT_TRUE(g->SetRadioIdx(1, 1, -1));
    EXPECT_EQ(g->Cells(1, 1), String());
}

TEST(AdvGridGraphicsTest, BalloonsAttachToCheckBoxesAndAreDroppedElsewhere) {
    TTestGrid* g = new TTestGrid();
    auto freeGrid = FreeAtEnd(g);
    g->AddCheckBox(1, 1, false, false);
    g->AddBalloon(1, 1, "Title", "Text", biWarning);
    String title, text;
    TBalloonIcon icon = biNone;
    EXPECT_TRUE(g->IsBalloon(1, 1, title, text, icon));
    EXPECT_EQ(title, String("Title"));
    EXPECT_EQ(text, String("Text"));
    EXPECT_EQ(icon, biWarning);
    EXPECT_EQ(g->GetCellType(1, 1), ctCheckBox);
    g->RemoveBalloon(1, 1);
    EXPECT_FALSE(g->IsBalloon(1, 1, title, text, icon));
    EXPECT_EQ(g->GetCellType(1, 1), ctCheckBox);
    g->AddBalloon(1, 1, "Again", "", biNone); // freed with the check box
    g->AddComment(2, 1, "c");
    g->AddBalloon(2, 1, "T", "x", biInfo);
    EXPECT_FALSE(g->IsBalloon(2, 1, title, text, icon));
    EXPECT_EQ(g->GetCellType(2, 1), ctComment);
}

TEST(AdvGridGraphicsTest, MarkersLiveInAnyGraphic) {
    TTestGrid* g = new TTestGrid();
    auto freeGrid = FreeAtEnd(g);
    g->AddMarker(1, 1, 3, 2);
    EXPECT_EQ(g->GetCellType(1, 1), ctEmpty);
    int pos = 0, len = 0;
    g->GetMarker(1, 1, pos, len);
    EXPECT_EQ(pos, 3);
    EXPECT_EQ(len, 2);
    EXPECT_NE(g->GetCellGraphic(1, 1), nullptr);
    g->RemoveMarker(1, 1);
    EXPECT_EQ(g->GetCellGraphic(1, 1), nullptr);
    g->AddComment(2, 2, "c");
    g->AddMarker(2, 2, 1, 1);
    g->RemoveAllMarkers();
    g->GetMarker(2, 2, pos, len);
    EXPECT_EQ(len, 0);
    EXPECT_EQ(g->GetCellType(2, 2), ctComment);
}

// ---------------------------------------------------------------------------------------------
// Lookup, keys and sizes

TEST(AdvGridGraphicsTest, ImageKeysFollowTheObjectsIdentity) {
    TTestGrid* g = new TTestGrid();
    auto freeGrid = FreeAtEnd(g);
    auto* images = new TImageList(nullptr, 16, 16);
    auto freeImages = FreeAtEnd(images);
    g->SetGridImages(images);
    auto* shared = new TBitmap();
    auto freeShared = FreeAtEnd(shared);
    g->AddBitmap(1, 1, shared, false, haLeft, vaTop);
    g->AddBitmap(1, 2, shared, false, haLeft, vaTop);
    g->CreateBitmap(1, 3, false, haLeft, vaTop);
    g->CreateIcon(1, 4, haLeft, vaTop);
    g->AddImageIdx(1, 5, 7, haLeft, vaTop);
    EXPECT_EQ(g->GetCellImageRef(1, 1), g->GetCellImageRef(1, 2));
    EXPECT_NE(g->GetCellImageRef(1, 1), g->GetCellImageRef(1, 3));
    EXPECT_NE(g->GetCellImageRef(1, 3), g->GetCellImageRef(1, 4));
    EXPECT_NE(g->GetCellImageRef(1, 1), -1);
    EXPECT_EQ(g->GetCellImageRef(1, 5), 7);
    EXPECT_EQ(g->GetCellImageRef(2, 5), -1);
}

TEST(AdvGridGraphicsTest, GraphicSizes) {
    TTestGrid* g = new TTestGrid();
    auto freeGrid = FreeAtEnd(g);
    g->AddRating(1, 1, 5, clYellow, clGray);
    EXPECT_EQ(g->GetCellGraphicSize(1, 1), TPoint(90, 16));
    g->AddCheckBox(1, 2, false, false);
    EXPECT_EQ(g->GetCellGraphicSize(1, 2), TPoint(15, 15));
    g->AddRadioButton(1, 3);
    EXPECT_EQ(g->GetCellGraphicSize(1, 3), TPoint(10, 10));
    g->AddProgressPie(1, 4, clRed, 10);
    EXPECT_EQ(g->GetCellGraphicSize(1, 4), TPoint(20, 20));
    g->AddButton(2, 1, 80, 20, "Go", haLeft, vaTop);
    EXPECT_EQ(g->GetCellGraphicSize(2, 1), TPoint(80, 20));
    g->AddButton(2, 2, 80, 20, "Go", haFull, vaTop);
    EXPECT_GT(g->GetCellGraphicSize(2, 2).X, 4);
    g->AddProgress(2, 3, clBlue, clWhite);
    EXPECT_EQ(g->GetCellGraphicSize(2, 3), TPoint());
    EXPECT_EQ(g->GetCellGraphicSize(3, 3), TPoint());
    g->AddExpand(3, 4, 60);
    const TRect cell = g->CellRect(3, 4);
    EXPECT_EQ(g->GetExpandRect(3, 4), TRect(cell.Right - 13, cell.Top + 2, cell.Right - 2, cell.Top + 13));
    EXPECT_TRUE(g->ToggleExpand(3, 4));
    EXPECT_EQ(g->GetExpandHeight(3, 4, true), 60);
    EXPECT_EQ(g->GetExpandHeight(3, 4, false), g->DefaultRowHeight());
}

TEST(AdvGridGraphicsTest, RemovingByTypeChecksTheType) {
    TTestGrid* g = new TTestGrid();
    auto freeGrid = FreeAtEnd(g);
    g->AddComment(1, 1, "c");
    EXPECT_FALSE(g->RemoveCellGraphicOfType(1, 1, ctBitmap));
    EXPECT_EQ(g->GetCellType(1, 1), ctComment);
    EXPECT_TRUE(g->RemoveCellGraphicOfType(1, 1, ctComment));
    EXPECT_FALSE(g->RemoveCellGraphic(1, 1));
    // A merged area's cells share the base cell's graphic.
    g->MergeCells(2, 2, 2, 2);
    g->AddComment(2, 2, "m");
    EXPECT_EQ(g->GetCellType(3, 3), ctComment);
}

TEST(AdvGridGraphicsTest, RowCheckBoxesShowTheRowSelection) {
    TTestGrid* g = new TTestGrid();
    auto freeGrid = FreeAtEnd(g);
    g->AddComment(0, 3, "hidden by the row check box");
    g->MouseActions()->SetHotmailRowSelect(true);
    for (int r = 0; r < 6; ++r) EXPECT_EQ(g->GetCellType(0, r), ctRowCheckBox) << r;
    EXPECT_EQ(g->GetCellGraphic(0, 0)->CellAngle, 0);
    EXPECT_TRUE(g->SetCheckBoxState(0, 2, true));
    EXPECT_TRUE(g->IsChecked(0, 2));
    EXPECT_FALSE(g->IsChecked(0, 3));
    EXPECT_EQ(g->GetCellGraphic(0, 0)->CellAngle, 1); // some but not all rows
    EXPECT_TRUE(g->ToggleCheckBox(0, 3));
    EXPECT_TRUE(g->IsChecked(0, 3));
    g->MouseActions()->SetHotmailRowSelect(false);
    EXPECT_EQ(g->GetCellType(0, 3), ctComment);
}
