// The column grid as the configurator's windows set it up and use it: the mapping editor's
// variables, data-set and member grids and a table editor's grid, each with the window's own
// handlers for the Enter jump, the header autosize, the row-number click and the header hints,
// driven by the mouse and key events a user sends.
#include "AdvColumnGrid.h"
#include "ControlImage.h"
#include "Forms.h"
#include "GridCellEditors.h"
#include "KeyTyping.h"

#include <gtest/gtest.h>

#include <QImage>

#include <string>
#include <vector>

namespace {

// One column of a configurator grid: header, width, editor, read-only, colour (clWindow when the
// column keeps the grid's), the items of a list editor.
struct ColumnSpec {
    const char* Header;
    int Width;
    TEditorType Editor;
    bool ReadOnly;
    TColor Color;
    std::vector<const char*> Items;
};

constexpr TColor Grey = TColor(16710368), Address = TColor(11075583), Request = TColor(13303754),
                 Place = TColor(16045820), Access = TColor(11589887);
const std::vector<const char*> Bits = {"0", "1", "2", "3", "4", "5", "6", "7"};

// The variables grid of the mapping editor.
const std::vector<ColumnSpec> VariablesColumns = {
    {"N", 40, edNormal, false, clWindow, {}},
    {"Index", 60, edNormal, false, clWindow, {}},
    {"bType", 60, edNormal, true, Grey, {}},
    {"fc", 30, edNormal, true, Grey, {}},
    {"Reference", 150, edNormal, true, Grey, {}},
    {"Start Byte", 65, edNormal, false, Grey, {}},
    {"Num Byte", 60, edNormal, false, Grey, {}},
    {"IP Address", 70, edNormal, false, Address, {}},
    {"Port", 45, edNormal, false, Address, {}},
    {"On Change", 70, edDataCheckBox, false, Request, {}},
    {"On CMD", 50, edDataCheckBox, false, Request, {}},
    {"On Timer", 60, edDataCheckBox, false, Request, {}},
    {"Time (ms)", 64, edNormal, false, Request, {}},
    {"Position", 55, edNormal, false, Place, {}},
    {"Start Bit", 70, edComboList, false, Place, Bits},
    {"R/W", 60, edComboList, false, Access, {"Read", "Write"}},
    {"Convertion", 70, edComboList, false, Access, {"None", "ItoF/FtoI"}},
    {"Mult Fact", 64, edNormal, false, Access, {}},
    {"Mnemonic", 150, edNormal, false, clWindow, {}},
};
const std::vector<ColumnSpec> DataSetColumns = {
    {"N", 40, edNormal, false, clWindow, {}},
    {"Index", 60, edNormal, false, clWindow, {}},
    {"Reference", 150, edNormal, true, Grey, {}},
    {"Goose Name", 80, edNormal, true, Grey, {}},
    {"En. Goose", 60, edDataCheckBox, false, Access, {}},
    {"IP Address", 70, edNormal, false, Address, {}},
    {"Port", 45, edNormal, false, Address, {}},
    {"Time (ms)", 70, edNormal, false, Request, {}},
    {"Mnemonic", 100, edNormal, false, clWindow, {}},
};
const std::vector<ColumnSpec> MemberColumns = {
    {"N", 40, edNormal, false, clWindow, {}},
    {"bType", 60, edNormal, true, Grey, {}},
    {"Reference", 150, edNormal, true, Grey, {}},
    {"Position", 55, edNormal, false, Place, {}},
    {"Start Bit", 70, edComboList, false, Place, Bits},
    {"Convertion", 70, edComboList, false, Access, {"None", "ItoF/FtoI"}},
    {"Mult Fact", 64, edNormal, false, Access, {}},
    {"Mnemonic", 150, edNormal, false, clWindow, {}},
};
// A table editor's grid: an Enable column, a key column, an editable list of lengths.
const std::vector<ColumnSpec> TableColumns = {
    {"N", 40, edNormal, false, clWindow, {}},
    {"Enable", 50, edDataCheckBox, false, Request, {}},
    {"COB-ID", 70, edNormal, false, Address, {}},
    {"Length", 60, edComboEdit, false, Place, {"1", "2", "4", "8"}},
    {"Position", 60, edComboList, false, Access, {"0", "1", "2", "3"}},
};

// The windows' grid set-up: one fixed header row 22 high, the row-number column, lines, range
// selection, column sizing and editing.
void SetUpGrid(TAdvColumnGrid* G, const std::vector<ColumnSpec>& Columns, int Rows) {
    G->SetColCount(int(Columns.size()));
    G->SetRowCount(Rows);
    G->SetFixedRows(1);
    G->SetFixedCols(1);
    G->SetRowHeights(0, 22);
    G->SetOptions(
        {goFixedVertLine, goFixedHorzLine, goVertLine, goHorzLine, goRangeSelect, goColSizing, goEditing});
    for (int c = 0; c < int(Columns.size()); ++c) {
        const ColumnSpec& s = Columns[size_t(c)];
        TGridColumnItem* item = G->Columns()->Items(c);
        item->SetHeader(s.Header);
        item->SetWidth(s.Width);
        item->SetEditor(s.Editor);
        item->SetReadOnly(s.ReadOnly);
        item->SetColor(s.Color);
        if (s.Editor == edDataCheckBox) item->SetAlignment(taCenter);
        for (const char* text : s.Items) item->ComboItems()->Add(text);
    }
    for (int r = 1; r < Rows; ++r) {
        G->SetCells(0, r, String::number(r));
        for (int c = 1; c < int(Columns.size()); ++c)
            if (Columns[size_t(c)].Editor == edDataCheckBox) G->SetCells(c, r, "N");
    }
}

class ConfiguratorGrids : public ::testing::Test {
protected:
    void SetUp() override {
        Form = new TForm(nullptr);
        Form->SetBounds(50, 50, 1100, 700);
        Variables = MakeGrid(VariablesColumns, 4, 0, 1060, 160);
        DataSets = MakeGrid(DataSetColumns, 3, 170, 700, 110);
        Members = MakeGrid(MemberColumns, 3, 290, 700, 110);
        Table = MakeGrid(TableColumns, 6, 410, 400, 200);
        Form->Show();
        Drain();
    }
    void TearDown() override { TObject::Free(Form); }

    // A grid with the window's handlers: Enter moves on (the key consumed), a header double click
    // sizes its column, a row-number click selects the row, header hints come from a list.
    TAdvColumnGrid* MakeGrid(const std::vector<ColumnSpec>& Columns, int Rows, int Top, int Width,
                             int Height) {
        auto* g = new TAdvColumnGrid(Form);
        g->SetParent(Form);
        g->SetBounds(10, Top, Width, Height);
        SetUpGrid(g, Columns, Rows);
        g->OnKeyPress = [g](TObject*, Char& Key) {
            if (Key != Char(VK_RETURN)) return;
            if (g->Col() < g->ColCount() - 1) {
                g->SetCol(g->Col() + 1);
            } else {
                g->SetCol(1);
                g->SetRow(g->Row() < g->RowCount() - 1 ? g->Row() + 1 : 1);
            }
            Key = Char(0);
        };
        g->OnDblClickCell = [g](TObject*, int ARow, int ACol) {
            if (ARow == 0) g->AutoSizeCol(ACol, 4);
        };
        g->OnClickCell = [g](TObject*, int ARow, int ACol) {
            if (ACol == 0 && ARow > 0) g->SelectRows(ARow, 1);
        };
        g->OnGridHint = [](TObject*, int ARow, int ACol, String& Hint) {
            if (ARow == 0 && ACol >= 1) Hint = QStringLiteral("hint of column %1").arg(ACol);
        };
        g->OnEditCellDone = [this, g](TObject*, int ACol, int ARow) {
            Done.push_back(std::to_string(ACol) + "," + std::to_string(ARow) + "=" +
                           g->Cells(ACol, ARow).toStdString());
        };
        return g;
    }
    static void Drain() {
        for (int i = 0; i < 5; ++i) Application->ProcessMessages();
    }
    static TPoint Centre(TAdvColumnGrid* G, int ACol, int ARow) {
        const TRect r = G->CellRect(ACol, ARow);
        return TPoint((r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2);
    }
    static void Click(TAdvColumnGrid* G, int ACol, int ARow) {
        G->SetFocus();
        const TPoint p = Centre(G, ACol, ARow);
        SimulateClick(G, p.X, p.Y);
        Drain();
    }
    static bool Editing(TAdvColumnGrid* G) {
        return G->EditorMode() && G->InplaceEditor() && G->InplaceEditor()->Visible();
    }
    // Keys go where the focus is: the open editor control, else the grid.
    static TWinControl* KeyTarget(TAdvColumnGrid* G) {
        if (Editing(G)) return G->InplaceEditor();
        if (G->Combobox() && G->Combobox()->Visible()) return G->Combobox();
        return G;
    }
    static void Press(TAdvColumnGrid* G, Word Key) {
        SimulateKey(KeyTarget(G), Key);
        Drain();
    }

    TForm* Form = nullptr;
    TAdvColumnGrid* Variables = nullptr;
    TAdvColumnGrid* DataSets = nullptr;
    TAdvColumnGrid* Members = nullptr;
    TAdvColumnGrid* Table = nullptr;
    std::vector<std::string> Done;
};

// ---------------------------------------------------------------------------------------------

TEST_F(ConfiguratorGrids, TypingCommitsTheCellAndEnterMovesToTheNextOne) {
    Click(Variables, 13, 1); // Position
    TypeKeys(Variables, "1");
    ASSERT_TRUE(Editing(Variables));
    TypeKeys(Variables->InplaceEditor(), "23");
    Press(Variables, VK_RETURN);
    EXPECT_EQ(Variables->Cells(13, 1), "123");
    EXPECT_FALSE(Editing(Variables));
    EXPECT_EQ(Done, (std::vector<std::string>{"13,1=123"}));
    // The window's OnKeyPress took the Enter: the next column is current.
    EXPECT_EQ(Variables->Col(), 14);
    EXPECT_EQ(Variables->Row(), 1);

    // From the last column to column 1 of the next row, and from the last row back to row 1.
    Variables->SetCol(18);
    Variables->SetRow(3);
    Press(Variables, VK_RETURN);
    EXPECT_EQ(Variables->Col(), 1);
    EXPECT_EQ(Variables->Row(), 1);
}

TEST_F(ConfiguratorGrids, ListEditorsTakeAnItemAndEditableListsTakeTypedText) {
    // Start Bit: a fixed list; the editor opens on the cell's item and steps with Down.
    Variables->SetCells(14, 1, "2");
    Click(Variables, 14, 1);
    Press(Variables, VK_F2);
    TGridCombo* combo = Variables->Combobox();
    ASSERT_TRUE(combo && combo->Visible());
    EXPECT_EQ(combo->Items()->Count(), 8);
    EXPECT_EQ(combo->ItemIndex(), 2);
    combo->Perform(WM_MOUSEWHEEL, WPARAM(Word(-120)) << 16, 0);
    SimulateKey(combo, VK_RETURN);
    Drain();
    EXPECT_FALSE(combo->Visible());
    EXPECT_EQ(Variables->Cells(14, 1), "3");
    EXPECT_EQ(Done.back(), "14,1=3");

    // Length of the table editor: an editable list keeps a typed value that is no item.
    Click(Table, 3, 2);
    Press(Table, VK_F2);
    combo = Table->Combobox();
    ASSERT_TRUE(combo && combo->Visible());
    combo->SetText("6");
    SimulateKey(combo, VK_RETURN);
    Drain();
    EXPECT_EQ(Table->Cells(3, 2), "6");
}

TEST_F(ConfiguratorGrids, CheckBoxColumnsToggleByClickAndBySpace) {
    ASSERT_EQ(Variables->Cells(11, 2), "N");
    Click(Variables, 11, 2); // On Timer
    EXPECT_EQ(Variables->Cells(11, 2), "Y");
    EXPECT_FALSE(Editing(Variables));
    Press(Variables, VK_SPACE);
    EXPECT_EQ(Variables->Cells(11, 2), "N");
    Click(Table, 1, 4); // Enable
    EXPECT_EQ(Table->Cells(1, 4), "Y");
}

TEST_F(ConfiguratorGrids, ReadOnlyColumnsAndCellsRefuseTheEditor) {
    Variables->SetCells(4, 1, "LD0/LLN0.Mod.stVal");
    Click(Variables, 4, 1); // Reference: a read-only column
    TypeKeys(Variables, "x");
    Press(Variables, VK_F2);
    EXPECT_FALSE(Editing(Variables));
    EXPECT_EQ(Variables->Cells(4, 1), "LD0/LLN0.Mod.stVal");

    // A fixed-size type makes its Start Byte cell read-only through OnCanEditCell.
    Variables->OnCanEditCell = [](TObject*, int ARow, int ACol, bool& CanEdit) {
        if (ARow == 2 && (ACol == 5 || ACol == 6)) CanEdit = false;
    };
    Variables->SetCells(5, 2, "0");
    Click(Variables, 5, 2);
    TypeKeys(Variables, "7");
    EXPECT_FALSE(Editing(Variables));
    EXPECT_EQ(Variables->Cells(5, 2), "0");
    // The cell beside it in another row still edits.
    Click(Variables, 5, 1);
    TypeKeys(Variables, "7");
    EXPECT_TRUE(Editing(Variables));
    Press(Variables, VK_RETURN);
    EXPECT_EQ(Variables->Cells(5, 1), "7");
}

TEST_F(ConfiguratorGrids, HeaderDoubleClickSizesItsColumnToTheWidestText) {
    Members->SetCells(7, 1, "a mnemonic longer than the column is wide, by far");
    const int before = Members->ColWidths(7);
    const TPoint p = Centre(Members, 7, 0);
    Members->SetFocus();
    SimulateDblClick(Members, mbLeft, {}, p.X, p.Y);
    Drain();
    auto* probe = new TBitmap();
    probe->Canvas()->Font()->Assign(Members->Font());
    const int text = probe->Canvas()->TextWidth(Members->Cells(7, 1));
    TObject::Free(probe);
    EXPECT_GT(Members->ColWidths(7), before);
    EXPECT_GE(Members->ColWidths(7), text);
    EXPECT_LE(Members->ColWidths(7), text + 20);
}

TEST_F(ConfiguratorGrids, RowNumberClickSelectsTheRowAndHeaderHintsComeFromTheWindow) {
    Click(DataSets, 0, 2);
    const TGridRect s = DataSets->Selection();
    EXPECT_EQ(s.Top, 2);
    EXPECT_EQ(s.Bottom, 2);
    EXPECT_EQ(s.Left, 1);
    EXPECT_EQ(s.Right, DataSets->ColCount() - 1);

    THintInfo info;
    info.HintControl = Variables;
    info.CursorPos = Centre(Variables, 9, 0);
    info.HintMaxWidth = 1000;
    info.HintWindowClass = HintWindowClass;
    Variables->Perform(CM_HINTSHOW, 0, LPARAM(&info));
    EXPECT_EQ(info.HintStr, "hint of column 9");
    info.CursorPos = Centre(Variables, 9, 1);
    info.HintStr = String();
    Variables->Perform(CM_HINTSHOW, 0, LPARAM(&info));
    EXPECT_EQ(info.HintStr, String());
}

TEST_F(ConfiguratorGrids, DraggingAHeaderBorderSizesTheColumn) {
    const TRect r = Table->CellRect(2, 0);
    const int y = (r.Top + r.Bottom) / 2;
    Table->SetFocus();
    SimulateMouseDown(Table, mbLeft, {}, r.Right - 1, y);
    SimulateMouseMove(Table, {ssLeft}, r.Right + 30, y);
    SimulateMouseUp(Table, mbLeft, {}, r.Right + 30, y);
    Drain();
    EXPECT_NEAR(Table->ColWidths(2), 70 + 31, 2);
    // Released outside the control: nothing changes.
    const int width = Table->ColWidths(2);
    const TRect r2 = Table->CellRect(2, 0);
    SimulateMouseDown(Table, mbLeft, {}, r2.Right - 1, y);
    SimulateMouseMove(Table, {ssLeft}, Table->Width() + 200, y);
    SimulateMouseUp(Table, mbLeft, {}, Table->Width() + 200, y);
    Drain();
    EXPECT_EQ(Table->ColWidths(2), width);
}

// The variables grid on the screen: headers, widths and colours of the column table, check boxes
// centred in their cells.
TEST_F(ConfiguratorGrids, VariablesGridShowsTheColumnTable) {
    const QImage img = ControlImage(Variables);
    const int border = (Variables->Width() - Variables->ClientWidth()) / 2;
    int left = 0;
    for (int c = 0; c < int(VariablesColumns.size()); ++c) {
        const ColumnSpec& s = VariablesColumns[size_t(c)];
        SCOPED_TRACE(s.Header);
        EXPECT_EQ(Variables->Columns()->Items(c)->Header(), s.Header);
        EXPECT_EQ(Variables->Cells(c, 0), s.Header);
        EXPECT_EQ(Variables->ColWidths(c), s.Width);
        const TRect r = Variables->CellRect(c, 2);
        if (r.Right > Variables->ClientWidth()) break; // not wholly in view
        EXPECT_EQ(r.Left, left);
        left += s.Width;
        if (c == 0) continue;
        // A pixel near the cell's top-right corner shows the column's colour.
        const QRgb px = img.pixel(border + r.Right - 3, border + r.Top + 2);
        const TColor want = ColorToRGB(s.Color);
        EXPECT_EQ(TColor(qRed(px) | (qGreen(px) << 8) | (qBlue(px) << 16)), want);
        if (s.Editor == edDataCheckBox) {
            // The check box's pixels (all that differ from the cell's colour) are centred.
            int first = -1, last = -1;
            const int y = border + (r.Top + r.Bottom) / 2;
            for (int x = r.Left + 2; x < r.Right - 2; ++x) { // inside the grid lines
                const QRgb q = img.pixel(border + x, y);
                if (TColor(qRed(q) | (qGreen(q) << 8) | (qBlue(q) << 16)) != want) {
                    if (first < 0) first = x;
                    last = x;
                }
            }
            ASSERT_GE(first, 0);
            EXPECT_NEAR((first + last) / 2.0, (r.Left + r.Right) / 2.0, 2.0);
        }
    }
}

} // namespace
