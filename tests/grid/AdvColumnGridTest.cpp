// The column grid: column objects kept in step with the grid's columns, the per-cell queries
// answered from them, column moves, the column stream and the grid unit's start-up.
#include "AdvColumnGrid.h"
#include "AdvGridStartup.h"
#include "Clipbrd.h"
#include "ComponentStreaming.h"
#include "Forms.h"
#include "GridCellEditors.h"
#include "TestSupport.h"

#include "IniFiles.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include <functional>
#include <memory>

namespace {

struct TFreeColumnGrid {
    void operator()(TAdvColumnGrid* G) const { TObject::Free(G); }
};
using TColumnGridPtr = std::unique_ptr<TAdvColumnGrid, TFreeColumnGrid>;

// Five columns by eight rows, one fixed row and column.
TColumnGridPtr MakeColumnGrid(int Cols = 5, int Rows = 8) {
    TColumnGridPtr g(new TAdvColumnGrid(nullptr));
    g->SetColCount(Cols);
    g->SetRowCount(Rows);
    return g;
}

// One item per column, and each item's index is its column.
void ExpectInStep(TAdvColumnGrid* G) {
    EXPECT_EQ(G->Columns()->Count(), G->ColCount() + G->NumHiddenColumns());
    for (int i = 0; i < G->Columns()->Count(); ++i) EXPECT_EQ(G->Columns()->Items(i)->Index(), i);
}

} // namespace

// ---------------------------------------------------------------------------------------------
// Columns and items in step

TEST(AdvColumnGrid, ColCountUpAndBackKeepsOneItemPerColumn) {
    auto g = MakeColumnGrid();
    EXPECT_EQ(g->Columns()->Count(), 5);
    g->SetColCount(8);
    EXPECT_EQ(g->Columns()->Count(), 8);
    g->SetColCount(5);
    EXPECT_EQ(g->Columns()->Count(), 5);
    ExpectInStep(g.get());

    // Adding items grows the grid.
    for (int i = 0; i < 3; ++i) g->Columns()->Add();
    EXPECT_EQ(g->ColCount(), 8);
    ExpectInStep(g.get());
    // Freeing one shrinks it.
    TObject::Free(g->Columns()->Items(7));
    EXPECT_EQ(g->ColCount(), 7);
}

TEST(AdvColumnGrid, AppendedColumnCopiesTheVisualsBeforeItInsertedOnesStartFresh) {
    auto g = MakeColumnGrid();
    TGridColumnItem* last = g->Columns()->Items(4);
    last->SetAlignment(taRightJustify);
    last->SetEditor(edComboList);
    last->SetCheckTrue("J");
    last->SetBorders({cbTop});
    last->SetFloatFormat("%.1f");
    last->SetPrintColor(clYellow);
    last->SetMinSize(20);
    last->Filter()->Add("Low=<5");
    last->SetColor(clAqua);
    last->SetHeader("Last");
    last->SetName("last");
    last->SetTag(9);
    last->ComboItems()->Add("a");

    g->SetColCount(6);
    TGridColumnItem* added = g->Columns()->Items(5);
    EXPECT_EQ(added->Alignment(), taRightJustify);
    EXPECT_EQ(added->Editor(), edComboList);
    EXPECT_EQ(added->CheckTrue(), "J");
    EXPECT_EQ(added->Borders(), TCellBorders{cbTop});
    EXPECT_EQ(added->FloatFormat(), "%.1f");
    EXPECT_EQ(added->PrintColor(), clYellow);
    EXPECT_EQ(added->MinSize(), 20);
    EXPECT_EQ(added->Filter()->Count(), 1);
    EXPECT_EQ(added->Color(), g->Color()) << "the grid's colour, not the column's";
    EXPECT_EQ(added->Header(), "");
    EXPECT_EQ(added->Name(), "");
    EXPECT_EQ(added->Tag(), 0);
    EXPECT_EQ(added->ComboItems()->Count(), 0);

    g->InsertCols(2, 2);
    EXPECT_EQ(g->ColCount(), 8);
    ExpectInStep(g.get());
    for (int c : {2, 3}) {
        TGridColumnItem* fresh = g->Columns()->Items(c);
        EXPECT_EQ(fresh->Alignment(), taLeftJustify);
        EXPECT_EQ(fresh->Editor(), edNormal);
        EXPECT_EQ(fresh->CheckTrue(), "Y");
    }
    EXPECT_EQ(g->Columns()->Items(6)->Header(), "Last") << "the column moved right with its item";
    EXPECT_EQ(g->Cells(6, 0), "Last");
}

TEST(AdvColumnGrid, RemovingColumnsPastTheLastRemovesOnlyTheItemsThatExist) {
    auto g = MakeColumnGrid(6);
    g->Columns()->Items(1)->SetName("keep");
    g->RemoveCols(3, 10);
    EXPECT_EQ(g->ColCount(), 3);
    ExpectInStep(g.get());
    EXPECT_EQ(g->GetColumnByName("keep"), g->Columns()->Items(1));
    EXPECT_EQ(g->GetColumnByName("Keep"), nullptr) << "names compare with case";
    EXPECT_EQ(g->GetColumnByName("none"), nullptr);
    EXPECT_THROW(g->Columns()->Items(3), EListError);
}

TEST(AdvColumnGrid, AssignCopiesOnlyFromColumnItems) {
    auto g = MakeColumnGrid();
    TGridColumnItem* a = g->Columns()->Items(1);
    TGridColumnItem* b = g->Columns()->Items(2);
    a->SetHeader("A");
    a->SetColumnPopupType(cpAllCellsLClick);
    a->SetPrintFontCustom(false);
    a->SetDefIdx(7);
    b->Assign(a);
    EXPECT_EQ(b->Header(), "A");
    EXPECT_EQ(b->DefIdx(), 7);
    EXPECT_EQ(b->ColumnPopupType(), cpFixedCellsRClick) << "the popup type is not copied";
    EXPECT_TRUE(b->PrintFontCustom());
    TStringList other;
    b->Assign(&other);
    EXPECT_EQ(b->Header(), "A") << "anything else is ignored";
}

TEST(AdvColumnGrid, HeadersGoToRowZeroOnlyWithAFixedRow) {
    auto g = MakeColumnGrid();
    g->Columns()->Items(2)->SetHeader("Name");
    EXPECT_EQ(g->Cells(2, 0), "Name");
    EXPECT_EQ(g->ColumnHeaders()->Count(), 5);
    EXPECT_EQ(g->ColumnHeaders()->Strings(2), "Name");

    // Assigning the header list sets every column's header, the last one included.
    TStringList list;
    for (const char* h : {"#", "A", "B", "C", "D"}) list.Add(h);
    g->SetColumnHeaders(&list);
    for (int i = 0; i < 5; ++i) EXPECT_EQ(g->Columns()->Items(i)->Header(), list.Strings(i));
    EXPECT_EQ(g->Cells(4, 0), "D");

    auto bare = MakeColumnGrid();
    bare->SetFixedRows(0);
    bare->Columns()->Items(1)->SetHeader("Hidden");
    EXPECT_EQ(bare->Columns()->Items(1)->Header(), "Hidden");
    for (int r = 0; r < bare->RowCount(); ++r) EXPECT_EQ(bare->Cells(1, r), "") << r;
}

// ---------------------------------------------------------------------------------------------
// Per-cell answers

namespace {

struct TCellCase {
    const char* Name;
    std::function<void(TAdvColumnGrid*)> Check;
};

const TCellCase CellCases[] = {
    {"alignment: data rows take Alignment, fixed rows HeaderAlignment, a cell its own",
     [](TAdvColumnGrid* g) {
         g->Columns()->Items(2)->SetAlignment(taRightJustify);
         g->Columns()->Items(2)->SetHeaderAlignment(taCenter);
         TAlignment h = taLeftJustify;
         TVAlignment v = vtaTop;
         g->GetAlignment(2, 3, h, v);
         EXPECT_EQ(h, taRightJustify);
         g->GetAlignment(2, 0, h, v);
         EXPECT_EQ(h, taCenter);
         g->SetAlignments(2, 4, taLeftJustify);
         g->GetAlignment(2, 4, h, v);
         EXPECT_EQ(h, taLeftJustify);
     }},
    {"colour: a column's colour in data rows, the fixed colour for a Fixed column, a cell's own wins",
     [](TAdvColumnGrid* g) {
         g->Columns()->Items(1)->SetColor(clAqua);
         g->Columns()->Items(2)->SetFixed(true);
         TBrush brush;
         TFont font;
         g->GetCellColor(1, 3, {}, &brush, &font);
         EXPECT_EQ(brush.Color(), clAqua);
         g->GetCellColor(2, 3, {}, &brush, &font);
         EXPECT_EQ(brush.Color(), g->FixedColor());
         g->SetColors(1, 5, clYellow);
         g->GetCellColor(1, 5, {}, &brush, &font);
         EXPECT_EQ(brush.Color(), clYellow);
     }},
    {"colour: a cell with properties keeps the column colour of the moment they were made",
     [](TAdvColumnGrid* g) {
         TGridColumnItem* item = g->Columns()->Items(3);
         item->SetColor(clLime);
         g->SetReadOnly(3, 2, true); // makes the cell's properties
         item->SetColor(clRed);
         TBrush brush;
         TFont font;
         g->GetCellColor(3, 2, {}, &brush, &font);
         EXPECT_EQ(brush.Color(), clLime);
         g->GetCellColor(3, 3, {}, &brush, &font);
         EXPECT_EQ(brush.Color(), clRed);
     }},
    {"fonts: Font in data rows, HeaderFont in fixed rows",
     [](TAdvColumnGrid* g) {
         g->Columns()->Items(1)->Font()->SetColor(clBlue);
         g->Columns()->Items(1)->HeaderFont()->SetColor(clMaroon);
         TBrush brush;
         TFont font;
         g->GetCellColor(1, 3, {}, &brush, &font);
         EXPECT_EQ(font.Color(), clBlue);
         g->GetCellColor(1, 0, {}, &brush, &font);
         EXPECT_EQ(font.Color(), clMaroon);
     }},
    {"editing: ReadOnly and Fixed refuse without OnCanEditCell, a read-only cell refuses, the event decides "
     "last",
     [](TAdvColumnGrid* g) {
         g->Columns()->Items(1)->SetReadOnly(true);
         g->Columns()->Items(2)->SetFixed(true);
         g->SetReadOnly(3, 4, true);
         auto can = [g](int c, int r) {
             bool e = true;
             g->QueryCanEdit(c, r, e);
             return e;
         };
         EXPECT_FALSE(can(1, 3));
         EXPECT_FALSE(can(2, 3));
         EXPECT_FALSE(can(3, 4));
         EXPECT_TRUE(can(3, 3));
         EXPECT_FALSE(can(3, 0)) << "a header cell";
         EXPECT_FALSE(can(0, 3)) << "the fixed column";
         int row = -1, col = -1;
         g->OnCanEditCell = [&](TObject*, int ARow, int ACol, bool& CanEdit) {
             row = ARow;
             col = ACol;
             CanEdit = ACol == 1;
         };
         EXPECT_TRUE(can(1, 3));
         EXPECT_EQ(row, 3);
         EXPECT_EQ(col, 1);
         EXPECT_FALSE(can(3, 3));
     }},
    {"fixed: a Fixed column's data cells count as fixed",
     [](TAdvColumnGrid* g) {
         g->Columns()->Items(2)->SetFixed(true);
         EXPECT_TRUE(g->IsFixed(2, 4));
         EXPECT_FALSE(g->IsFixed(3, 4));
     }},
    {"combo: edComboEdit and edComboList columns have a combo box in data cells, the event may change it",
     [](TAdvColumnGrid* g) {
         g->Columns()->Items(1)->SetEditor(edComboEdit);
         g->Columns()->Items(2)->SetEditor(edComboList);
         EXPECT_TRUE(g->HasComboBox(1, 3));
         EXPECT_TRUE(g->HasComboBox(2, 3));
         EXPECT_FALSE(g->HasComboBox(2, 0));
         EXPECT_FALSE(g->HasComboBox(3, 3));
         g->OnHasComboBox = [](TObject*, int ACol, int, bool& Has) { Has = ACol == 3; };
         EXPECT_TRUE(g->HasComboBox(3, 3));
         EXPECT_FALSE(g->HasComboBox(1, 3));
     }},
    {"editor: the column's kind on data cells with its combo items, spin limits and drop-down count",
     [](TAdvColumnGrid* g) {
         TGridColumnItem* item = g->Columns()->Items(2);
         item->SetEditor(edComboList);
         item->ComboItems()->Add("Read");
         item->ComboItems()->Add("Write");
         item->SetDropDownCount(4);
         TEditorType e = edNormal;
         g->GetCellEditor(2, 3, e);
         EXPECT_EQ(e, edComboList);
         ASSERT_NE(g->Combobox(), nullptr);
         EXPECT_EQ(g->Combobox()->Items()->Count(), 2);
         EXPECT_EQ(g->Combobox()->Items()->Strings(1), "Write");
         EXPECT_EQ(g->Combobox()->DropDownCount(), 4);
         EXPECT_EQ(g->ControlLook()->DropDownCount(), 4);
         e = edNormal;
         g->GetCellEditor(2, 0, e);
         EXPECT_EQ(e, edNormal) << "a header cell keeps the kind it was asked with";
     }},
    {"editor: asking a column with a FloatFormat changes the grid's FloatFormat",
     [](TAdvColumnGrid* g) {
         g->Columns()->Items(2)->SetFloatFormat("%.3f");
         TEditorType e = edNormal;
         g->GetCellEditor(2, 0, e);
         EXPECT_EQ(g->FloatFormat, "%.3f");
         String f;
         g->GetColumnFloatFormat(3, f);
         EXPECT_EQ(f, "%.3f") << "columns without a format use the grid's";
     }},
    {"password, sort format, borders: from the column",
     [](TAdvColumnGrid* g) {
         TGridColumnItem* item = g->Columns()->Items(1);
         item->SetPassword(true);
         item->SetSortStyle(ssNumeric);
         item->SetSortPrefix("$");
         item->SetBorders({cbLeft, cbBottom});
         item->BorderPen()->SetColor(clRed);
         bool pw = false;
         g->IsPasswordCell(1, 3, pw);
         EXPECT_TRUE(pw);
         TSortStyle st = ssAutomatic;
         String pre, suf;
         g->GetFormat(1, st, pre, suf);
         EXPECT_EQ(st, ssNumeric);
         EXPECT_EQ(pre, "$");
         TPen pen;
         TCellBorders borders;
         g->GetCellBorder(1, 3, &pen, borders);
         EXPECT_EQ(borders, (TCellBorders{cbLeft, cbBottom}));
         EXPECT_EQ(pen.Color(), clRed);
         borders.clear();
         g->GetCellBorder(1, 0, &pen, borders);
         EXPECT_TRUE(borders.empty()) << "not in the fixed row";
     }},
    {"float format: \"%.2f\" shows 3.14159 as 3.14, scientific and non-numbers unchanged",
     [](TAdvColumnGrid* g) {
         g->Columns()->Items(2)->SetFloatFormat("%.2f");
         g->SetCells(2, 1, "3.14159");
         g->SetCells(2, 2, "1e5");
         g->SetCells(2, 3, "abc");
         g->SetCells(3, 1, "3.14159");
         EXPECT_EQ(g->GetFormattedCell(2, 1), "3.14");
         EXPECT_EQ(g->GetFormattedCell(2, 2), "1e5");
         EXPECT_EQ(g->GetFormattedCell(2, 3), "abc");
         EXPECT_EQ(g->GetFormattedCell(3, 1), "3.14159") << "no column format, no handler";
         g->OnGetFloatFormat = [](TObject*, int ACol, int, bool&, String& Fmt) {
             if (ACol == 3) Fmt = "%.1f";
         };
         EXPECT_EQ(g->GetFormattedCell(3, 1), "3.1");
         g->Columns()->Items(4)->SetFloatFormat("%d items");
         g->SetCells(4, 1, "2.5");
         EXPECT_EQ(g->GetFormattedCell(4, 1), "2.5") << "a format that cannot take the value shows the text";
     }},
    {"check texts: the column's in inner cells",
     [](TAdvColumnGrid* g) {
         g->Columns()->Items(2)->SetCheckTrue("On");
         String t;
         g->GetCheckTrue(2, 3, t);
         EXPECT_EQ(t, "On");
         g->GetCheckTrue(2, 0, t);
         EXPECT_EQ(t, g->CheckTrue);
     }},
    {"sizes: MinSize and MaxSize bound a user's width, AutoMinSize and AutoMaxSize an automatic one",
     [](TAdvColumnGrid* g) {
         TGridColumnItem* item = g->Columns()->Items(1);
         item->SetMinSize(30);
         item->SetMaxSize(90);
         item->SetAutoMaxSize(60);
         for (auto [in, out] : {std::pair{10, 30}, {50, 50}, {200, 90}}) {
             int w = in;
             g->UpdateColumnSize(1, w);
             EXPECT_EQ(w, out) << in;
         }
         int w = 100;
         g->UpdateAutoColumnSize(1, w);
         EXPECT_EQ(w, 60);
         w = 5;
         g->UpdateAutoColumnSize(2, w);
         EXPECT_EQ(w, 5);
     }},
    {"filter: friendly names offered, a bare entry whole; no Filter leaves the string grid's list",
     [](TAdvColumnGrid* g) {
         g->Columns()->Items(2)->Filter()->Add("Small=<10");
         g->Columns()->Items(2)->Filter()->Add(">100");
         EXPECT_TRUE(g->GetColumnFilter(2));
         ASSERT_EQ(g->FilterList()->Count(), 2);
         EXPECT_EQ(g->FilterList()->Strings(0), "Small");
         EXPECT_EQ(g->FilterList()->Strings(1), ">100");
         EXPECT_FALSE(g->GetColumnFilter(3));
         EXPECT_FALSE(g->GetColumnFilter(9));
     }},
    {"width: Width reads and sets the grid's column width; the user's width reaches the item",
     [](TAdvColumnGrid* g) {
         g->Columns()->Items(2)->SetWidth(77);
         EXPECT_EQ(g->ColWidths(2), 77);
         g->SetColWidths(2, 90);
         EXPECT_EQ(g->Columns()->Items(2)->Width(), 90);
     }},
    {"version: 3.1.3.1 Aug, 2012",
     [](TAdvColumnGrid* g) {
         EXPECT_EQ(g->VersionNr(), 50397953);
         EXPECT_EQ(g->VersionString(), "3.1.3.1 Aug, 2012");
     }},
};

class ColumnCellCases : public ::testing::TestWithParam<TCellCase> {};

} // namespace

TEST_P(ColumnCellCases, Answer) {
    auto g = MakeColumnGrid();
    GetParam().Check(g.get());
}

INSTANTIATE_TEST_SUITE_P(AdvColumnGrid, ColumnCellCases, ::testing::ValuesIn(CellCases),
                         [](const ::testing::TestParamInfo<TCellCase>& Info) {
                             return "Case" + std::to_string(Info.index);
                         });

TEST(AdvColumnGrid, CheckBoxColumnComparesTheTextExactlyAndToggles) {
    auto g = MakeColumnGrid();
    g->Columns()->Items(2)->SetEditor(edDataCheckBox);
    g->SetCells(2, 1, "Y");
    g->SetCells(2, 2, "y");
    g->SetCells(2, 3, "N");
    EXPECT_EQ(g->GetCellType(2, 1), ctDataCheckBox);
    EXPECT_EQ(g->GetCellType(2, 0), ctEmpty) << "not in the header";
    EXPECT_EQ(g->GetCellType(3, 1), ctEmpty);
    TCellGraphic* shared = g->GetCellGraphic(2, 1);
    ASSERT_NE(shared, nullptr);
    EXPECT_EQ(shared->CellType, ctVirtCheckBox);
    EXPECT_EQ(g->GetCellGraphic(2, 4), shared) << "one graphic for every cell";

    for (auto [row, checked] : {std::pair{1, true}, {2, false}, {3, false}, {4, false}}) {
        bool state = !checked;
        EXPECT_TRUE(g->GetCheckBoxState(2, row, state)) << row;
        EXPECT_EQ(state, checked) << row;
    }
    g->ToggleCheckBox(2, 4);
    EXPECT_EQ(g->Cells(2, 4), "Y");
    g->ToggleCheckBox(2, 4);
    EXPECT_EQ(g->Cells(2, 4), "N");

    // A cell with a graphic of its own keeps it.
    g->AddCheckBox(2, 5, true, false);
    EXPECT_NE(g->GetCellGraphic(2, 5), shared);
    EXPECT_EQ(g->GetCellType(2, 5), ctCheckBox);
}

// ---------------------------------------------------------------------------------------------
// Moving columns and popups

TEST(AdvColumnGrid, MovingAColumnMovesItsItem) {
    auto g = MakeColumnGrid();
    g->Columns()->SetOrganization();
    TGridColumnItem* moving = g->Columns()->Items(2);
    moving->SetHeader("Two");
    moving->SetEditor(edComboEdit);
    moving->SetColumnPopupType(cpAllCellsRClick);
    g->SetCells(2, 3, "cell");
    int from = -1, to = -1;
    g->OnAfterColumnMoved = [&](TObject*, int F, int T) {
        from = F;
        to = T;
    };
    g->MoveColumn(2, 0);
    EXPECT_EQ(from, 2);
    EXPECT_EQ(to, 0);
    TGridColumnItem* now = g->Columns()->Items(0);
    EXPECT_EQ(now->Header(), "Two");
    EXPECT_EQ(now->Editor(), edComboEdit);
    EXPECT_EQ(now->DefIdx(), 2);
    EXPECT_EQ(now->ColumnPopupType(), cpFixedCellsRClick);
    EXPECT_EQ(g->Cells(0, 3), "cell");
    EXPECT_EQ(g->Cells(0, 0), "Two");
    ExpectInStep(g.get());

    // ResetOrganization brings every column back to its original place.
    g->MoveColumn(4, 1);
    g->Columns()->ResetOrganization();
    for (int i = 0; i < 5; ++i) EXPECT_EQ(g->Columns()->Items(i)->DefIdx(), i);
    EXPECT_EQ(g->Cells(2, 3), "cell");
}

TEST(AdvColumnGrid, RightClickOnAHeaderWithNormalCellsTypeFiresTheEventWithoutMenu) {
    auto* form = new TForm(nullptr);
    auto freeForm = FreeAtEnd(form);
    form->SetBounds(0, 0, 500, 300);
    auto* g = new TAdvColumnGrid(form);
    g->SetParent(form);
    g->SetBounds(0, 0, 400, 200);
    g->SetColCount(5);
    g->SetRowCount(5);
    form->Show();
    Application->ProcessMessages();
    auto* menu = new TPopupMenu(form);
    g->Columns()->Items(2)->SetColumnPopup(menu);
    g->Columns()->Items(2)->SetColumnPopupType(cpNormalCellsRClick);
    int fired = 0, row = -1;
    g->OnColumnPopup = [&](TObject*, int ACol, int ARow, TPopupMenu* M) {
        ++fired;
        row = ARow;
        EXPECT_EQ(ACol, 2);
        EXPECT_EQ(M, menu);
    };
    const TRect header = g->CellRect(2, 0);
    SimulateMouseDown(g, mbRight, {}, header.Left + 5, header.Top + 5);
    SimulateMouseUp(g, mbRight, {}, header.Left + 5, header.Top + 5);
    EXPECT_EQ(fired, 1);
    EXPECT_EQ(menu->PopupCount(), 0);
    const TRect cell = g->CellRect(2, 2);
    SimulateMouseDown(g, mbRight, {}, cell.Left + 5, cell.Top + 5);
    SimulateMouseUp(g, mbRight, {}, cell.Left + 5, cell.Top + 5);
    EXPECT_EQ(fired, 2);
    EXPECT_EQ(row, 2);
    EXPECT_EQ(menu->PopupCount(), 1);
    const TPoint corner = g->ClientToScreen(TPoint(cell.Left, cell.Bottom));
    EXPECT_EQ(menu->PopupPoint().X, corner.X);
    EXPECT_EQ(menu->PopupPoint().Y, corner.Y);
    // A removed menu is forgotten.
    TObject::Free(menu);
    EXPECT_EQ(g->Columns()->Items(2)->ColumnPopup(), nullptr);
}

TEST(AdvColumnGrid, ColumnPositionsSavedMovedAndRestoredOnlyFromAWholeOrdering) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const String file = dir.filePath("positions.ini");
    auto order = [](TAdvColumnGrid* G) {
        String s;
        for (int c = 0; c < G->ColCount(); ++c) s += G->Cells(c, 1);
        return s;
    };
    auto fresh = [] {
        auto g = MakeColumnGrid();
        for (int c = 0; c < 5; ++c) g->SetCells(c, 1, String(QChar(u'a' + c)));
        g->Columns()->SetOrganization();
        return g;
    };
    auto g = fresh();
    g->MoveColumn(3, 1);
    g->MoveColumn(4, 0);
    const String saved = order(g.get());
    EXPECT_EQ(saved, "eadbc");
    g->SaveColumnPositions(file, "Grid");

    // Restored on a grid in the original order, and after further moves.
    auto other = fresh();
    other->LoadColumnPositions(file, "Grid");
    EXPECT_EQ(order(other.get()), saved);
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(other->Columns()->Items(i)->DefIdx(), int(saved[i].unicode() - u'a')) << i;
    g->MoveColumn(0, 4);
    g->LoadColumnPositions(file, "Grid");
    EXPECT_EQ(order(g.get()), saved);

    // Through ColumnSize with an INI file.
    auto viaSettings = fresh();
    viaSettings->ColumnSize()->Location = clIniFile;
    viaSettings->ColumnSize()->Key = file;
    viaSettings->ColumnSize()->Section = "Grid";
    viaSettings->LoadColPositions();
    EXPECT_EQ(order(viaSettings.get()), saved);

    struct TBadSet {
        const char* Name;
        std::function<void(TMemIniFile*)> Spoil;
    };
    const TBadSet bad[] = {
        {"a key missing", [](TMemIniFile* F) { F->DeleteKey("Grid", "CP3"); }},
        {"a repeated index", [](TMemIniFile* F) { F->WriteInteger("Grid", "CP1", 4); }},
        {"an index past the columns", [](TMemIniFile* F) { F->WriteInteger("Grid", "CP0", 5); }},
        {"no number", [](TMemIniFile* F) { F->WriteString("Grid", "CP2", "x"); }},
    };
    for (const TBadSet& b : bad) {
        SCOPED_TRACE(b.Name);
        const String spoiled = dir.filePath(QStringLiteral("bad.ini"));
        QFile::remove(spoiled);
        QFile::copy(file, spoiled);
        {
            auto* ini = new TMemIniFile(spoiled);
            auto freeIni = FreeAtEnd(ini);
            b.Spoil(ini);
            ini->UpdateFile();
        }
        auto target = fresh();
        target->MoveColumn(1, 2);
        const String before = order(target.get());
        target->LoadColumnPositions(spoiled, "Grid");
        EXPECT_EQ(order(target.get()), before);
        ExpectInStep(target.get());
    }
}

// ---------------------------------------------------------------------------------------------
// Column stream

TEST(AdvColumnGrid, ColumnStreamRoundTripsEveryPublishedSetting) {
    auto g = MakeColumnGrid(4);
    TGridColumnItem* item = g->Columns()->Items(1);
    item->SetHeader("Address");
    item->SetEditor(edComboList);
    item->ComboItems()->Add("Coil");
    item->ComboItems()->Add("Register");
    item->SetCheckTrue("1");
    item->SetReadOnly(true);
    item->SetAlignment(taCenter);
    item->SetColor(clInfoBk);
    item->Font()->SetStyle({fsBold});
    item->HeaderFont()->SetSize(12);
    item->SetBorders({cbTop, cbRight});
    item->PrintBorderPen()->SetWidth(3);
    item->SetSortStyle(ssNumeric);
    item->SetFloatFormat("%.4f");
    item->SetEditLength(15);
    item->Filter()->Add("Big=>100");
    item->SetName("addr");
    item->SetTag(-4);
    item->SetColumnPopupType(cpAllCellsLClick);
    item->SetPrintFontCustom(false);
    g->Columns()->Items(3)->SetSpinMax(99);

    TMemoryStream stream;
    g->SaveColumnsToStream(&stream);

    auto other = MakeColumnGrid(4);
    stream.SetPosition(0);
    other->LoadColumnsFromStream(&stream);
    ASSERT_EQ(other->Columns()->Count(), 4);
    TGridColumnItem* read = other->Columns()->Items(1);
    EXPECT_EQ(read->Header(), "Address");
    EXPECT_EQ(other->Cells(1, 0), "") << "loading writes no header into row 0";
    EXPECT_EQ(read->Editor(), edComboList);
    EXPECT_EQ(read->ComboItems()->Count(), 2);
    EXPECT_EQ(read->ComboItems()->Strings(1), "Register");
    EXPECT_EQ(read->CheckTrue(), "1");
    EXPECT_TRUE(read->ReadOnly());
    EXPECT_EQ(read->Alignment(), taCenter);
    EXPECT_EQ(read->Color(), clInfoBk);
    EXPECT_TRUE(read->Font()->HasStyle(fsBold));
    EXPECT_EQ(read->HeaderFont()->Size(), 12);
    EXPECT_EQ(read->Borders(), (TCellBorders{cbTop, cbRight}));
    EXPECT_EQ(read->PrintBorderPen()->Width(), 3);
    EXPECT_EQ(read->SortStyle(), ssNumeric);
    EXPECT_EQ(read->FloatFormat(), "%.4f");
    EXPECT_EQ(read->EditLength(), 15);
    EXPECT_EQ(read->Filter()->Strings(0), "Big=>100");
    EXPECT_EQ(read->Name(), "addr");
    EXPECT_EQ(read->Tag(), -4);
    EXPECT_EQ(other->Columns()->Items(3)->SpinMax(), 99);
    // Copying into the columns leaves out what Assign leaves out.
    EXPECT_EQ(read->ColumnPopupType(), cpFixedCellsRClick);
    EXPECT_TRUE(read->PrintFontCustom());
}

TEST(AdvColumnGrid, DamagedOrForeignColumnStreamIsRefusedAndChangesNothing) {
    auto g = MakeColumnGrid(4);
    g->Columns()->Items(1)->SetHeader("Keep");
    g->Columns()->Items(1)->SetEditor(edComboEdit);
    TMemoryStream good;
    g->SaveColumnsToStream(&good);
    const QByteArray bytes = good.Bytes();

    auto target = MakeColumnGrid(3);
    target->Columns()->Items(2)->SetName("mine");
    auto expectUnchanged = [&] {
        EXPECT_EQ(target->Columns()->Count(), 3);
        EXPECT_EQ(target->Columns()->Items(2)->Name(), "mine");
        EXPECT_EQ(target->Columns()->Items(1)->Editor(), edNormal);
        EXPECT_FALSE(target->Columns()->NoRecursiveUpdate());
    };
    struct TDamage {
        const char* Name;
        QByteArray Bytes;
    };
    // The type byte of the first property's value, and a class name longer than what follows.
    QByteArray badType = bytes;
    badType[bytes.indexOf("Items") + 5] = char(0x7F);
    QByteArray hugeLength = bytes.left(4) + QByteArray("\xef", 1) + bytes.mid(5, 35);
    QByteArray foreign = bytes;
    foreign.replace("TAdvColumnGridIO", "TAdvColumnGridXX");
    const TDamage damages[] = {
        {"empty", QByteArray()},
        {"not a stream", QByteArray("<xml/>")},
        {"cut in the middle", bytes.left(bytes.size() / 2)},
        {"cut before the end", bytes.left(bytes.size() - 1)},
        {"unknown value type", badType},
        {"length past the end", hugeLength},
        {"another component", foreign},
    };
    for (const TDamage& d : damages) {
        SCOPED_TRACE(d.Name);
        TMemoryStream st;
        st.WriteBuffer(d.Bytes);
        st.SetPosition(0);
        EXPECT_THROW(target->LoadColumnsFromStream(&st), EReadError);
        expectUnchanged();
    }
}

// ---------------------------------------------------------------------------------------------
// Unit start-up

TEST(AdvGridStartup, EachStartUpRunsOnceAndRegistersTheGridClasses) {
    AdvGridUnitStartup();
    AdvColumnGridUnitStartup();
    const TGridUnitState before = GridUnitState();
    AdvGridUnitStartup();
    AdvColumnGridUnitStartup();
    const TGridUnitState& after = GridUnitState();
    EXPECT_EQ(after.GridStartups, 1);
    EXPECT_EQ(after.ColumnGridStartups, 1);
    EXPECT_EQ(after.CF_GRIDCELLS, before.CF_GRIDCELLS);
    EXPECT_EQ(after.CF_GRIDCELLS, RegisterClipboardFormat("TAdvStringGrid Cells"));
    EXPECT_GE(after.CF_GRIDCELLS, 0xC000u);
    EXPECT_EQ(GetClipboardFormatName(after.CF_GRIDCELLS), "TAdvStringGrid Cells");
    EXPECT_EQ(after.GridEditDoneMessage, TAdvStringGrid::GridEditDoneMessage());
    EXPECT_EQ(after.GridEditDoneMessage, RegisterWindowMessage("GridEditDone"));
    EXPECT_EQ(after.DTPShiftFocusMessage, RegisterWindowMessage("DTPShiftFocus"));
    EXPECT_NE(after.GridEditDoneMessage, after.DTPShiftFocusMessage);
    EXPECT_EQ(after.ComCtrlOk, TAdvStringGrid::DateTimePickersAvailable());

    // Classes are made by name with their owner.
    auto* owner = new TComponent(nullptr);
    auto freeOwner = FreeAtEnd(owner);
    for (const char* name : {"TAdvColumnGrid", "TGridCombo", "TAdvStringGrid", "TScrollBar", "TDropList",
                             "TFooterPanel", "TSearchPanel", "TControlEdit", "TControlCombo"}) {
        SCOPED_TRACE(name);
        TPersistentClass cls = FindClass(name);
        ASSERT_NE(cls, nullptr);
        TPersistent* made = cls->Create(owner);
        ASSERT_NE(made, nullptr);
        EXPECT_EQ(made->ClassName(), name);
        EXPECT_EQ(static_cast<TComponent*>(dynamic_cast<TComponent*>(made))->Owner(), owner);
    }
    auto grid = MakeColumnGrid();
    // The rich-text editor is made only with a grid as owner.
    EXPECT_THROW(FindClass("TAdvRichEdit")->Create(owner), EInvalidCast);
    TPersistent* rich = FindClass("TAdvRichEdit")->Create(grid.get());
    EXPECT_EQ(rich->ClassName(), "TAdvRichEdit");
    TPersistent* item = FindClass("TGridColumnItem")->Create(grid->Columns());
    EXPECT_EQ(grid->Columns()->Count(), 6) << "the item joins the collection, the grid follows";
    EXPECT_EQ(grid->ColCount(), 6);
    EXPECT_EQ(item->ClassName(), "TGridColumnItem");
    EXPECT_EQ(GetClass("TNoSuchGrid"), nullptr);
    EXPECT_THROW(FindClass("TNoSuchGrid"), EClassNotFound);
    EXPECT_THROW(RegisterClass<TAdvColumnGrid>("TAdvColumnGrid"), EFilerError);
}

// A pick from a column's filter list filters by the column's own entry: its condition, the
// column's case sensitivity, and with AutoFilterDisplay its friendly name as the header.
namespace {
class TPickGrid : public TAdvColumnGrid {
public:
    using TAdvColumnGrid::FFilterCol;
    using TAdvColumnGrid::FilterSelect;
    using TAdvColumnGrid::TAdvColumnGrid;
};
} // namespace

TEST(AdvColumnGrid, AFilterPickUsesTheColumnsEntry) {
    std::unique_ptr<TPickGrid, TFreeColumnGrid> g(new TPickGrid(nullptr));
    g->SetColCount(3);
    g->SetRowCount(8);
    for (int r = 1; r < 8; ++r) g->SetCells(2, r, String::number(r));
    TGridColumnItem* item = g->Columns()->Items(2);
    item->Filter()->Add("Low=<4");
    item->Filter()->Add("High=>5");
    item->SetFilterCaseSensitive(true);
    g->AutoFilterDisplay = true;
    std::vector<std::string> seen;
    g->OnFilterSelect = [&](TObject*, int Col, int Index, const String& Friendly, String& Condition) {
        seen.push_back(std::to_string(Col) + "," + std::to_string(Index) + "," + Friendly.toStdString() +
                       "," + Condition.toStdString());
    };
    int done = 0;
    g->OnFilterDone = [&](TObject*) { ++done; };
    g->FFilterCol = 2;
    g->FilterSelect(g.get(), 1);
    EXPECT_EQ(seen, (std::vector<std::string>{"2,1,High,>5"}));
    EXPECT_EQ(item->Header(), "High");
    EXPECT_TRUE(g->FilterActive());
    EXPECT_EQ(g->RowCount(), 3); // the header and rows 6 and 7
    EXPECT_EQ(g->Cells(2, 1), "6");
    EXPECT_TRUE(g->Filter()->GetColFilter(2)->CaseSensitive());
    EXPECT_EQ(done, 1);
    EXPECT_EQ(g->FFilterCol, -1);
    // An index outside the column's entries changes nothing but the open column.
    g->FFilterCol = 2;
    g->FilterSelect(g.get(), 5);
    EXPECT_EQ(seen.size(), 1u);
    EXPECT_EQ(g->FFilterCol, -1);
}
