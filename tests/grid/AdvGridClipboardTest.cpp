// The grid's clipboard: the selection as a text block, copy and cut with their formats, paste
// with growth, row insertion, events, undo and check boxes, the own cells format between grids
// and from damaged blocks, and the smart fill over a selection.
#include "AdvGrid.h"
#include "AdvGridEditRules.h"
#include "AdvGridTestSupport.h"
#include "AdvShownGridFixture.h"
#include "Clipbrd.h"
#include "ComponentStreaming.h"
#include "Forms.h"
#include "GridStreamIO.h"
#include "GridUtil.h"
#include "SysUtils.h"

#include <gtest/gtest.h>

#include <QClipboard>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QMimeData>
#include <QTemporaryDir>

#include <set>
#include <vector>

namespace {

// A grid that records the paste's hooks.
class TPasteProbe : public TAdvStringGrid {
public:
    explicit TPasteProbe(TComponent* AOwner) : TAdvStringGrid(AOwner) {}
    struct TDone {
        TPoint Source;
        TRect Target;
        bool Cut;
    };
    std::vector<TDone> Dones;
    std::vector<std::pair<int, int>> Imports; // state, row

    void PasteDone(const TPoint& Source, const TRect& Target, TClipOperation Operation) override {
        Dones.push_back({Source, Target, Operation == coCut});
        TAdvStringGrid::PasteDone(Source, Target, Operation);
    }
    void ImportNotification(TGridImportState State, int ARow) override {
        Imports.push_back({int(State), ARow});
    }
};

struct TFreeProbe {
    void operator()(TPasteProbe* G) const { TObject::Free(G); }
};
using TProbePtr = std::unique_ptr<TPasteProbe, TFreeProbe>;

// An editable grid of Cols x Rows with one fixed column and row.
TProbePtr MakeProbe(int Cols, int Rows) {
    TProbePtr g(new TPasteProbe(nullptr));
    g->SetColCount(Cols);
    g->SetRowCount(Rows);
    TGridOptions options = g->Options();
    options.insert(goEditing);
    g->SetOptions(options);
    return g;
}

// Rows of texts written from (Col, Row) on.
void Fill(TAdvStringGrid* G, int Col, int Row, const std::vector<QStringList>& Rows) {
    for (size_t r = 0; r < Rows.size(); ++r)
        for (int c = 0; c < Rows[r].size(); ++c) G->SetCells(Col + c, Row + int(r), Rows[r][c]);
}

QStringList ColumnTexts(TAdvStringGrid* G, int Col, int FromRow, int ToRow) {
    QStringList out;
    for (int r = FromRow; r <= ToRow; ++r) out << G->Cells(Col, r);
    return out;
}

QStringList RowTexts(TAdvStringGrid* G, int Row, int FromCol, int ToCol) {
    QStringList out;
    for (int c = FromCol; c <= ToCol; ++c) out << G->Cells(c, Row);
    return out;
}

Word CellsFormat() {
    return Word(RegisterClipboardFormat("TAdvStringGrid Cells"));
}

// Every test starts from an empty clipboard.
class GridClipboard : public ::testing::Test {
protected:
    void SetUp() override { Clipboard()->Clear(); }
};

// ---------------------------------------------------------------------------------------------
// The selection as text

TEST_F(GridClipboard, SelectionAsTextBlock) {
    struct Case {
        const char* Name;
        std::vector<QStringList> Cells; // from (1, 1)
        TGridRect Selection;
        bool Excel, KeepTags;
        QString Expected;
    };
    const QString vt(QChar(11));
    const std::vector<Case> cases = {
        {"2 x 2 ends every row with CR LF",
         {{"a", "b"}, {"c", "d"}},
         {1, 1, 2, 2},
         false,
         true,
         "a\tb\r\nc\td\r\n"},
        {"one row has no line break", {{"a", "b"}}, {1, 1, 2, 1}, false, true, "a\tb"},
        {"a cell with CR is quoted, CR as LF", {{"x\ry", "z"}}, {1, 1, 2, 1}, false, true, "\"x\ny\"\tz"},
        {"CR LF keeps both as LF", {{"x\r\ny"}}, {1, 1, 1, 1}, false, true, "\"x\n\ny\""},
        {"ExcelClipboardFormat quotes in the CSV manner",
         {{"x\r\ny"}},
         {1, 1, 1, 1},
         true,
         true,
         "\"x" + vt + "y\""},
        {"ExcelClipboardFormat: a lone CR still becomes LF",
         {{"x\ry\r\nz"}},
         {1, 1, 1, 1},
         true,
         true,
         "\"x\ny" + vt + "z\""},
        {"single-line cells stay unquoted with ExcelClipboardFormat",
         {{"plain"}},
         {1, 1, 1, 1},
         true,
         true,
         "plain"},
        {"markup kept", {{"<b>bold</b>"}}, {1, 1, 1, 1}, false, true, "<b>bold</b>"},
        {"markup stripped with CopyHTMLTagsToClipboard off",
         {{"<b>bold</b> x"}},
         {1, 1, 1, 1},
         false,
         false,
         "bold x"},
        {"packed wide text unpacked",
         {{PackWideText(QString::fromUtf8("Ωmega"))}},
         {1, 1, 1, 1},
         false,
         true,
         QString::fromUtf8("Ωmega")},
        {"RTF as its plain text", {{"{\\rtf1\\ansi plain}"}}, {1, 1, 1, 1}, false, true, "plain"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        TProbePtr g = MakeProbe(4, 4);
        g->Multilinecells = true;
        g->ExcelClipboardFormat = c.Excel;
        g->Navigation()->CopyHTMLTagsToClipboard = c.KeepTags;
        Fill(g.get(), 1, 1, c.Cells);
        g->SetSelection(c.Selection);
        EXPECT_EQ(g->GetSelectionAsText(), c.Expected);
    }
}

TEST_F(GridClipboard, MultiLineCellsSurviveTheRoundTrip) {
    TProbePtr g = MakeProbe(4, 4);
    g->Multilinecells = true;
    g->SetCells(1, 1, "x\ry");
    g->SetCells(2, 1, "p\r\nq");
    g->SetSelection(TGridRect(1, 1, 1, 1));
    g->CopySelectionToClipboard();
    EXPECT_EQ(Clipboard()->AsText(), "\"x\ny\"");
    g->SetSelection(TGridRect(3, 3, 3, 3));
    g->PasteSelectionFromClipboard();
    EXPECT_EQ(g->Cells(3, 3), "x\ny");
    EXPECT_EQ(g->Cells(3, 2), "");

    // In the CSV manner a CR LF comes back as it was.
    g->ExcelClipboardFormat = true;
    g->SetSelection(TGridRect(2, 1, 2, 1));
    g->CopySelectionToClipboard();
    g->SetSelection(TGridRect(1, 3, 1, 3));
    g->PasteSelectionFromClipboard();
    EXPECT_EQ(g->Cells(1, 3), "p\r\nq");
}

TEST_F(GridClipboard, CopyWidensTheSelectionToMergedAreas) {
    TProbePtr g = MakeProbe(5, 5);
    g->SetCells(1, 1, "m");
    g->SetCells(3, 3, "z");
    g->MergeCells(1, 1, 2, 2);
    g->SetSelection(TGridRect(2, 2, 3, 3));
    g->CopySelectionToClipboard();
    const TGridRect s = g->Selection();
    EXPECT_EQ(TRect(s.Left, s.Top, s.Right, s.Bottom), TRect(1, 1, 3, 3));
    EXPECT_TRUE(Clipboard()->AsText().startsWith("m\t"));
    EXPECT_TRUE(Clipboard()->AsText().endsWith("\tz\r\n"));
}

TEST_F(GridClipboard, DisjunctRowsAndColumns) {
    TProbePtr g = MakeProbe(4, 5);
    g->SetFixedCols(0);
    g->SetFixedRows(0);
    Fill(g.get(), 0, 0,
         {{"a0", "b0", "c0", "d0"},
          {"a1", "b1", "c1", "d1"},
          {"a2", "b2", "c2", "d2"},
          {"a3", "b3", "c3", "d3"},
          {"a4", "b4", "c4", "d4"}});

    g->MouseActions()->SetDisjunctRowSelect(true);
    g->SetRowSelect(1, true);
    g->SetRowSelect(3, true);
    g->CopySelectionToClipboard();
    EXPECT_EQ(Clipboard()->AsText(), "a1\tb1\tc1\td1\r\na3\tb3\tc3\td3\r\n");

    g->MouseActions()->SetDisjunctRowSelect(false);
    g->MouseActions()->SetDisjunctColSelect(true);
    g->SetColSelect(0, true);
    g->SetColSelect(2, true);
    g->CopySelectionToClipboard();
    // Only the columns taken, and no separator after the last of them.
    EXPECT_EQ(Clipboard()->AsText(), "a0\tc0\r\na1\tc1\r\na2\tc2\r\na3\tc3\r\na4\tc4\r\n");
}

TEST_F(GridClipboard, TextBlockSizeAndSetSelectionAsText) {
    struct Case {
        QString Text;
        int Cols, Rows;
    };
    const std::vector<Case> cases = {{"a", 1, 0},
                                     {"a\tb\r\nc\td\r\n", 2, 1},
                                     {"a\tb\r\nc\td", 2, 1},
                                     {"a\r\nb\tc\td\r\n", 3, 1},
                                     {"a\r\n\r\nb\r\n", 1, 1},
                                     {"", 1, 0},
                                     {"\r\n", 1, 0}};
    TProbePtr g = MakeProbe(2, 2);
    for (const Case& c : cases) {
        SCOPED_TRACE(qPrintable(c.Text));
        int cols = -9, rows = -9;
        g->TextBlockSize(c.Text, cols, rows);
        EXPECT_EQ(cols, c.Cols);
        EXPECT_EQ(rows, c.Rows);
    }

    // The raw setter: no events, no editability test, the grid grows to take the block.
    g->SetOptions(TGridOptions());
    int events = 0;
    g->OnClipboardBeforePasteCell = [&](TObject*, int, int, String&, bool&) { ++events; };
    g->SetSelection(TGridRect(1, 1, 1, 1));
    g->SetSelectionAsText("a\tb\tc\r\nd\t\"x\ny\"\r\n");
    EXPECT_EQ(g->ColCount(), 4);
    EXPECT_EQ(g->RowCount(), 3);
    EXPECT_EQ(RowTexts(g.get(), 1, 1, 3), QStringList({"a", "b", "c"}));
    EXPECT_EQ(RowTexts(g.get(), 2, 1, 3), QStringList({"d", "x\ny", ""}));
    EXPECT_EQ(events, 0);
}

// ---------------------------------------------------------------------------------------------
// Paste as a table

TEST_F(GridClipboard, PasteGrowsOnlyAsAllowed) {
    struct Case {
        const char* Name;
        bool ColGrow, RowGrow;
        int Col, Row;
        int ColCount, RowCount;
        std::vector<QStringList> Landed; // rows of the 3 x 3 block from (Col, Row), as stored after
    };
    // The block is 2 x 2; the grid 4 x 4 with (1, 1) the first data cell.
    const std::vector<Case> cases = {
        {"inside the grid", true, true, 1, 1, 4, 4, {{"1", "2", ""}, {"3", "4", ""}, {"", "", ""}}},
        {"into the last row grows a row",
         true,
         true,
         1,
         3,
         4,
         5,
         {{"1", "2", ""}, {"3", "4", ""}, {"", "", ""}}},
        {"into the last column grows a column",
         true,
         true,
         3,
         1,
         5,
         4,
         {{"1", "2", ""}, {"3", "4", ""}, {"", "", ""}}},
        {"growth off drops what lands past the end",
         false,
         false,
         3,
         3,
         4,
         4,
         {{"1", "", ""}, {"", "", ""}, {"", "", ""}}},
        {"rows grow, columns do not", false, true, 3, 3, 4, 5, {{"1", "", ""}, {"3", "", ""}, {"", "", ""}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        TProbePtr g = MakeProbe(4, 4);
        g->Navigation()->AllowClipboardColGrow = c.ColGrow;
        g->Navigation()->AllowClipboardRowGrow = c.RowGrow;
        int lines = 0, fields = 0;
        EXPECT_EQ(g->PasteText(c.Col, c.Row, lines, fields, "1\t2\r\n3\t4\r\n"), 5);
        EXPECT_EQ(lines, 3);
        EXPECT_EQ(fields, 1);
        EXPECT_EQ(g->ColCount(), c.ColCount);
        EXPECT_EQ(g->RowCount(), c.RowCount);
        // The store holds cells beyond the counts too: nothing may have landed there.
        for (int r = 0; r < 3; ++r)
            EXPECT_EQ(RowTexts(g.get(), c.Row + r, c.Col, c.Col + 2), c.Landed[size_t(r)]);
    }
}

TEST_F(GridClipboard, PasteRefusedWithoutEditingOrOutsideTheGrid) {
    TProbePtr g = MakeProbe(3, 3);
    int lines = 7, fields = 7;
    EXPECT_EQ(g->PasteText(-1, 1, lines, fields, "a"), 0);
    EXPECT_EQ(g->PasteText(1, -1, lines, fields, "a"), 0);
    g->SetOptions(TGridOptions());
    EXPECT_EQ(g->PasteText(1, 1, lines, fields, "a"), 0);
    EXPECT_EQ(g->Cells(1, 1), "");
    // AllowClipboardAlways pastes into cells that cannot be edited too.
    g->Navigation()->AllowClipboardAlways = true;
    EXPECT_EQ(g->PasteText(1, 1, lines, fields, "a"), 1);
    EXPECT_EQ(g->Cells(1, 1), "a");
    // A read-only cell takes the paste only with AllowClipboardAlways.
    g->Navigation()->AllowClipboardAlways = false;
    g->SetOptions(TGridOptions{goEditing});
    g->SetReadOnly(2, 1, true);
    g->PasteText(1, 1, lines, fields, "b\tc");
    EXPECT_EQ(RowTexts(g.get(), 1, 1, 2), QStringList({"b", ""}));
}

TEST_F(GridClipboard, PasteInsertsARowPerNonEmptyLine) {
    TProbePtr g = MakeProbe(3, 4);
    Fill(g.get(), 1, 1, {{"x1"}, {"x2"}, {"x3"}});
    g->Navigation()->ClipboardPasteAction = paInsert;
    int lines = 0, fields = 0;
    g->PasteText(1, 2, lines, fields, "a\r\nb\r\n");
    EXPECT_EQ(g->RowCount(), 6);
    EXPECT_EQ(ColumnTexts(g.get(), 1, 1, 5), QStringList({"x1", "a", "b", "x2", "x3"}));
}

TEST_F(GridClipboard, PasteIntoCheckBoxesByCheckTrue) {
    TProbePtr g = MakeProbe(4, 3);
    g->AddCheckBox(1, 1, false, false);
    g->AddCheckBox(2, 1, true, false);
    g->AddCheckBox(3, 1, true, false);
    int lines = 0, fields = 0;
    g->PasteText(1, 1, lines, fields, "Y\tN\tyes");
    EXPECT_TRUE(g->IsChecked(1, 1));
    EXPECT_FALSE(g->IsChecked(2, 1));
    EXPECT_FALSE(g->IsChecked(3, 1));
    g->CheckTrue = "on";
    g->PasteText(1, 1, lines, fields, "Y\ton");
    EXPECT_FALSE(g->IsChecked(1, 1));
    EXPECT_TRUE(g->IsChecked(2, 1));
}

TEST_F(GridClipboard, PasteEventsMayChangeOrRefuseEachCell) {
    TProbePtr g = MakeProbe(5, 3);
    QStringList after, wideBefore, wideAfter;
    g->OnClipboardBeforePasteCell = [&](TObject*, int ACol, int, String& Value, bool& Allow) {
        if (ACol == 2) Allow = false;
        Value = Value.toUpper();
    };
    g->OnClipboardAfterPasteCell = [&](TObject*, int ACol, int ARow, const String& Value) {
        after << QString("%1,%2=%3").arg(ACol).arg(ARow).arg(Value);
    };
    g->OnClipboardBeforePasteWideCell = [&](TObject*, int, int, String& Value, bool&) {
        wideBefore << Value;
        Value += "!";
    };
    g->OnClipboardAfterPasteWideCell = [&](TObject*, int, int, const String& Value) { wideAfter << Value; };
    int lines = 0, fields = 0;
    const QString wide = PackWideText(QString::fromUtf8("ωx"));
    EXPECT_EQ(g->PasteText(1, 1, lines, fields, "a\tb\t" + wide), 3);
    EXPECT_EQ(g->Cells(1, 1), "A");
    EXPECT_EQ(g->Cells(2, 1), "");
    EXPECT_EQ(g->Cells(3, 1), PackWideText(QString::fromUtf8("ωx!")));
    EXPECT_EQ(after, QStringList({"1,1=A"}));
    EXPECT_EQ(wideBefore, QStringList({QString::fromUtf8("ωx")}));
    EXPECT_EQ(wideAfter, QStringList({QString::fromUtf8("ωx!")}));
    // PasteDone gets the rectangle of what was pasted.
    ASSERT_FALSE(g->Dones.empty());
    EXPECT_EQ(g->Dones.back().Target, TRect(1, 1, 3, 1));
}

TEST_F(GridClipboard, PasteIsOneUndoStep) {
    TProbePtr g = MakeProbe(4, 4);
    TAdvGridUndoRedo undo(nullptr);
    g->SetUndoRedo(&undo);
    Fill(g.get(), 1, 1, {{"o1", "o2"}, {"o3", "o4"}});
    int lines = 0, fields = 0;
    g->PasteText(1, 1, lines, fields, "n1\tn2\r\nn3\tn4\r\n");
    EXPECT_EQ(RowTexts(g.get(), 2, 1, 2), QStringList({"n3", "n4"}));
    undo.Undo();
    EXPECT_EQ(RowTexts(g.get(), 1, 1, 2), QStringList({"o1", "o2"}));
    EXPECT_EQ(RowTexts(g.get(), 2, 1, 2), QStringList({"o3", "o4"}));
    undo.Redo();
    EXPECT_EQ(RowTexts(g.get(), 1, 1, 2), QStringList({"n1", "n2"}));
    EXPECT_EQ(RowTexts(g.get(), 2, 1, 2), QStringList({"n3", "n4"}));
    g->SetUndoRedo(nullptr);
}

TEST_F(GridClipboard, PasteNotificationsAndModifiedRows) {
    TProbePtr g = MakeProbe(4, 5);
    g->ShowModified()->SetEnabled(true);
    Clipboard()->SetAsText("a\r\nb\r\n");
    g->SetSelection(TGridRect(1, 2, 1, 2));
    g->PasteSelectionFromClipboard();
    using S = TAdvStringGrid;
    // The empty remainder after the final line break is announced on the last row pasted.
    const std::vector<std::pair<int, int>> selected = {{S::isImportStart, -1},
                                                       {S::isImportSelRow, 2},
                                                       {S::isImportSelRow, 3},
                                                       {S::isImportSelRow, 3},
                                                       {S::isImportDone, -1}};
    EXPECT_EQ(g->Imports, selected);
    EXPECT_FALSE(g->GetRowModified(1));
    EXPECT_TRUE(g->GetRowModified(2));
    EXPECT_TRUE(g->GetRowModified(3));
    EXPECT_FALSE(g->GetRowModified(4));

    g->Imports.clear();
    g->SaveFixedCells = false;
    g->PasteFromClipboard(); // at the save start cell (1, 1)
    ASSERT_EQ(g->Imports.size(), 5u);
    EXPECT_EQ(g->Imports[1], std::make_pair(int(S::isImportNewRow), 1));
    EXPECT_EQ(g->Cells(1, 2), "b");
}

// ---------------------------------------------------------------------------------------------
// Cut

TEST_F(GridClipboard, CutClearsExactlyTheEditableCells) {
    TProbePtr g = MakeProbe(6, 8);
    g->Navigation()->AllowFmtClipboard = true;
    for (int c = 0; c < 6; ++c)
        for (int r = 0; r < 8; ++r) g->SetCells(c, r, QString("%1.%2").arg(c).arg(r));
    g->SetColors(2, 3, clRed);
    g->SetReadOnly(3, 4, true);
    g->SetColors(3, 4, clBlue);
    TAdvGridUndoRedo undo(nullptr);
    g->SetUndoRedo(&undo);
    int changed = 0;
    TRect reported;
    g->OnCellsChanged = [&](TObject*, TRect R) {
        ++changed;
        reported = R;
    };
    g->SetSelection(TGridRect(1, 2, 3, 6)); // 3 x 5
    g->CutSelectionToClipboard();
    int cleared = 0;
    for (int c = 0; c < 6; ++c)
        for (int r = 0; r < 8; ++r) {
            const bool inside = c >= 1 && c <= 3 && r >= 2 && r <= 6;
            if (inside && !(c == 3 && r == 4)) {
                EXPECT_EQ(g->Cells(c, r), "") << c << "," << r;
                ++cleared;
            } else {
                EXPECT_EQ(g->Cells(c, r), QString("%1.%2").arg(c).arg(r)) << c << "," << r;
            }
        }
    EXPECT_EQ(cleared, 14);
    // The cleared cells lose their properties; the read-only cell keeps its flag and colour.
    EXPECT_EQ(g->Colors(2, 3), clNone);
    EXPECT_TRUE(g->ReadOnly(3, 4));
    EXPECT_EQ(g->Colors(3, 4), clBlue);
    EXPECT_EQ(changed, 1);
    EXPECT_EQ(reported, TRect(1, 2, 3, 6));
    // The copy went first, with every cell.
    EXPECT_TRUE(Clipboard()->AsText().startsWith("1.2\t2.2\t3.2\r\n"));
    // One undo step brings all of them back.
    undo.Undo();
    EXPECT_EQ(g->Cells(1, 2), "1.2");
    EXPECT_EQ(g->Cells(3, 6), "3.6");
    g->SetUndoRedo(nullptr);

    // With AllowClipboardAlways every cell goes, the read-only one too.
    g->Navigation()->AllowClipboardAlways = true;
    g->SetSelection(TGridRect(3, 4, 3, 4));
    g->CutSelectionToClipboard();
    EXPECT_EQ(g->Cells(3, 4), "");
}

TEST_F(GridClipboard, CutToClipboardClearsTheSaveRectangle) {
    TProbePtr g = MakeProbe(3, 5);
    g->SetFixedCols(0);
    g->SetFixedRows(0);
    for (int c = 0; c < 3; ++c)
        for (int r = 0; r < 5; ++r) g->SetCells(c, r, "v");
    g->CutToClipboard();
    for (int c = 0; c < 3; ++c)
        for (int r = 0; r < 5; ++r) EXPECT_EQ(g->Cells(c, r), "");
    EXPECT_EQ(Clipboard()->AsText(), QString("v\tv\tv\r\n").repeated(5));
}

// ---------------------------------------------------------------------------------------------
// Own cells format and RTF

TEST_F(GridClipboard, OwnFormatCarriesPropertiesGraphicsAndItsSource) {
    TProbePtr a = MakeProbe(5, 5);
    TProbePtr b = MakeProbe(5, 5);
    for (TPasteProbe* g : {a.get(), b.get()}) g->Navigation()->AllowFmtClipboard = true;
    a->SetCells(1, 1, "red");
    a->SetColors(1, 1, clRed);
    a->AddCheckBox(2, 1, true, false);
    a->CreateBitmap(1, 2, false, haLeft, vaTop)->SetSize(3, 2);
    a->SetCells(2, 2, "plain");

    a->SetSelection(TGridRect(1, 1, 2, 2));
    a->CutSelectionToClipboard();
    EXPECT_EQ(a->Cells(1, 1), "");
    EXPECT_EQ(a->Colors(1, 1), clNone);

    // Back into the same grid: the source is the cut's top-left cell, the operation the cut.
    a->SetSelection(TGridRect(2, 2, 2, 2));
    a->PasteSelectionFromClipboard();
    ASSERT_FALSE(a->Dones.empty());
    EXPECT_EQ(a->Dones.back().Source, TPoint(1, 1));
    EXPECT_EQ(a->Dones.back().Target, TRect(2, 2, 3, 3));
    EXPECT_TRUE(a->Dones.back().Cut);

    // Into another grid: properties and graphics arrive, the source is unknown.
    b->SetSelection(TGridRect(3, 3, 3, 3));
    b->PasteSelectionFromClipboard();
    ASSERT_FALSE(b->Dones.empty());
    EXPECT_EQ(b->Dones.back().Source, TPoint(-1, -1));
    EXPECT_EQ(b->Cells(3, 3), "red");
    EXPECT_EQ(b->Colors(3, 3), clRed);
    EXPECT_TRUE(b->IsChecked(4, 3));
    ASSERT_NE(b->GetBitmap(3, 4), nullptr);
    EXPECT_EQ(b->GetBitmap(3, 4)->Width(), 3);
    EXPECT_EQ(b->Cells(4, 4), "plain");
    // The grid grew to take the block.
    EXPECT_EQ(b->ColCount(), 5);
    EXPECT_EQ(b->RowCount(), 5);
}

TEST_F(GridClipboard, OwnFormatWithGrowthOffStaysInsideTheGrid) {
    TProbePtr a = MakeProbe(4, 4);
    TProbePtr b = MakeProbe(4, 4);
    for (TPasteProbe* g : {a.get(), b.get()}) g->Navigation()->AllowFmtClipboard = true;
    Fill(a.get(), 1, 1, {{"1", "2"}, {"3", "4"}});
    a->SetSelection(TGridRect(1, 1, 2, 2));
    a->CopySelectionToClipboard();
    b->Navigation()->AllowClipboardColGrow = false;
    b->Navigation()->AllowClipboardRowGrow = false;
    b->SetSelection(TGridRect(3, 3, 3, 3));
    b->PasteSelectionFromClipboard();
    EXPECT_EQ(b->ColCount(), 4);
    EXPECT_EQ(b->RowCount(), 4);
    EXPECT_EQ(b->Cells(3, 3), "1");
    EXPECT_EQ(b->Cells(4, 3), "");
    EXPECT_EQ(b->Cells(3, 4), "");
    EXPECT_EQ(b->Cells(4, 4), "");
}

TEST_F(GridClipboard, AWholeGridCopyPastesAsABlock) {
    TProbePtr a = MakeProbe(2, 2);
    TProbePtr b = MakeProbe(5, 5);
    for (TPasteProbe* g : {a.get(), b.get()}) g->Navigation()->AllowFmtClipboard = true;
    Fill(a.get(), 0, 0, {{"h", "c"}, {"r", "v"}});
    a->CopyToClipBoard(); // the save rectangle: the whole grid
    Fill(b.get(), 0, 0, {{"keep0", "keep1"}});
    b->SetCells(4, 4, "keep2");
    b->SetSelection(TGridRect(2, 2, 2, 2));
    b->PasteSelectionFromClipboard();
    // Placed at the selection; the rest of the grid stays as it was.
    EXPECT_EQ(RowTexts(b.get(), 2, 2, 3), QStringList({"h", "c"}));
    EXPECT_EQ(RowTexts(b.get(), 3, 2, 3), QStringList({"r", "v"}));
    EXPECT_EQ(RowTexts(b.get(), 0, 0, 1), QStringList({"keep0", "keep1"}));
    EXPECT_EQ(b->Cells(4, 4), "keep2");
    EXPECT_EQ(b->ColCount(), 5);
    EXPECT_EQ(b->RowCount(), 5);
}

TEST_F(GridClipboard, ForeignCellsBlocksNeverCrashOrGrowTheGrid) {
    RegisterGridStreamIO();
    auto headerBlock = [](int Cols, int Rows) {
        TMemoryStream ms;
        {
            TWriter writer(&ms);
            TGridPropIO h(nullptr);
            h.ColCount = Cols;
            h.RowCount = Rows;
            writer.WriteComponent(&h);
        }
        return ms.Bytes();
    };
    struct Case {
        const char* Name;
        QByteArray Block;
    };
    const std::vector<Case> cases = {
        {"noise", QByteArray("\x01\x02garbage\xff\xfe", 11)},
        {"absurd row count", headerBlock(1, 1 << 30)},
        {"absurd column count", headerBlock(1 << 30, 1)},
        {"negative count", headerBlock(-5, 2)},
        {"more cells than the block holds", headerBlock(1, 100000)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        TProbePtr g = MakeProbe(3, 3);
        g->Navigation()->AllowFmtClipboard = true;
        g->SetCells(1, 1, "keep");
        Clipboard()->Clear();
        ASSERT_TRUE(Clipboard()->SetAsHandle(CellsFormat(), c.Block));
        g->SetSelection(TGridRect(1, 1, 1, 1));
        EXPECT_THROW(g->PasteSelectionFromClipboard(), EReadError);
        EXPECT_EQ(g->ColCount(), 3);
        EXPECT_EQ(g->RowCount(), 3);
        EXPECT_EQ(g->Cells(1, 1), "keep");
        // The paste still ended with its notification.
        ASSERT_FALSE(g->Imports.empty());
        EXPECT_EQ(g->Imports.back().first, int(TAdvStringGrid::isImportDone));
    }
}

TEST_F(GridClipboard, DamagedCopiesOfARealBlockNeverCrash) {
    TProbePtr a = MakeProbe(4, 4);
    a->Navigation()->AllowFmtClipboard = true;
    Fill(a.get(), 1, 1, {{"one", "two\r\nlines"}, {"x", "y"}});
    a->SetColors(1, 1, clRed);
    a->CreateBitmap(2, 2, false, haLeft, vaTop)->SetSize(2, 2);
    a->AddCheckBox(1, 2, true, false);
    a->SetSelection(TGridRect(1, 1, 2, 2));
    a->CopySelectionToClipboard();
    const QByteArray good = Clipboard()->GetAsHandle(CellsFormat());
    ASSERT_FALSE(good.isEmpty());
    auto pasteInto = [](const QByteArray& Block) {
        TProbePtr b = MakeProbe(3, 3);
        b->Navigation()->AllowFmtClipboard = true;
        Clipboard()->Clear();
        Clipboard()->SetAsHandle(CellsFormat(), Block);
        b->SetSelection(TGridRect(1, 1, 1, 1));
        try {
            b->PasteSelectionFromClipboard();
        } catch (const Exception&) {
        }
    };
    for (int cut = 0; cut < good.size(); cut += 11) pasteInto(good.left(cut));
    for (int at = 0; at < good.size(); at += 7) {
        QByteArray bad = good;
        bad[at] = char(bad[at] ^ 0x5A);
        pasteInto(bad);
    }
}

TEST_F(GridClipboard, RtfTravelsAsEightBitRtf) {
    TProbePtr a = MakeProbe(3, 3);
    a->Navigation()->AllowRTFClipboard = true;
    const QString rtf = "{\\rtf1\\ansi caf\\'e9}";
    a->SetCells(1, 1, rtf);
    a->SetSelection(TGridRect(1, 1, 1, 1));
    a->CopySelectionToClipboard();
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    ASSERT_TRUE(data->hasFormat("text/rtf"));
    EXPECT_EQ(data->data("text/rtf"), QByteArray("{\\rtf1\\ansi caf\\'e9}"));

    // Another program's RTF (any bytes, a terminating zero) lands in one cell.
    TProbePtr b = MakeProbe(3, 3);
    b->Navigation()->AllowRTFClipboard = true;
    for (const QByteArray& block : {QByteArray("{\\rtf1 x}\0junk", 14), QByteArray("\xff{\\\\\\", 5)}) {
        auto* m = new QMimeData;
        m->setData("text/rtf", block);
        m->setText("text");
        QGuiApplication::clipboard()->setMimeData(m);
        b->SetSelection(TGridRect(1, 1, 1, 1));
        b->PasteSelectionFromClipboard();
        EXPECT_EQ(b->Cells(1, 1),
                  FromWin1252(block.left(block.indexOf('\0') < 0 ? block.size() : block.indexOf('\0'))));
    }
}

TEST_F(GridClipboard, OneCopyPublishesTextRtfAndCellsTogether) {
    TProbePtr g = MakeProbe(3, 3);
    g->Navigation()->AllowRTFClipboard = true;
    g->Navigation()->AllowFmtClipboard = true;
    g->SetCells(1, 1, "{\\rtf1 x}");
    g->SetCells(2, 1, "y");
    int published = 0;
    QMetaObject::Connection c =
        QObject::connect(QGuiApplication::clipboard(), &QClipboard::dataChanged, [&] { ++published; });
    g->SetSelection(TGridRect(1, 1, 2, 1));
    g->CopySelectionToClipboard();
    QObject::disconnect(c);
    EXPECT_EQ(published, 1);
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    EXPECT_EQ(data->text(), "x\ty");
    EXPECT_TRUE(data->hasFormat("text/rtf"));
    EXPECT_TRUE(Clipboard()->HasFormat(CellsFormat()));
    EXPECT_FALSE(Clipboard()->GetAsHandle(CellsFormat()).isEmpty());
}

TEST_F(GridClipboard, HtmlCopyWritesNothingIntoTheCurrentFolder) {
    QTemporaryDir cwd;
    const QString old = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(cwd.path()));
    TProbePtr g = MakeProbe(3, 3);
    g->SetCells(1, 1, "cell");
    g->CreateBitmap(2, 2, false, haLeft, vaTop)->SetSize(4, 4);
    g->CopyToClipBoardAsHTML();
    QDir::setCurrent(old);
    EXPECT_TRUE(QDir(cwd.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries).isEmpty());

    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    EXPECT_TRUE(data->hasHtml());
    EXPECT_TRUE(data->html().contains("cell"));
    EXPECT_TRUE(data->html().startsWith("<!DOCTYPE"));
    // The header-wrapped block and the same text as plain text.
    const QByteArray block = Clipboard()->GetAsHandle(Word(RegisterClipboardFormat("HTML Format")));
    EXPECT_TRUE(block.startsWith("Version:1.0\r\nStartHTML:"));
    EXPECT_EQ(Clipboard()->AsText(), FromWin1252(block));
    // The image went to a folder of this run under the temporary folder.
    const int at = data->html().indexOf("file://");
    ASSERT_GE(at, 0);
    const QString path = data->html().mid(at + 7, data->html().indexOf('"', at) - at - 7);
    EXPECT_TRUE(path.startsWith(QDir::tempPath()));
    EXPECT_TRUE(QFileInfo::exists(path));
}

// ---------------------------------------------------------------------------------------------
// Smart paste

class GridSmartPaste : public GridClipboard {
protected:
    void SetUp() override {
        GridClipboard::SetUp();
        Saved = FormatSettings;
        FormatSettings.DecimalSeparator = u'.';
        FormatSettings.DateSeparator = u'/';
        FormatSettings.TimeSeparator = u':';
        FormatSettings.ShortDateFormat = "dd/mm/yyyy";
        FormatSettings.LongTimeFormat = "hh:nn";
    }
    void TearDown() override { FormatSettings = Saved; }
    TFormatSettings Saved;
};

TEST_F(GridSmartPaste, FillsTheSelectionFromThePastedCells) {
    struct Case {
        const char* Name;
        QString Clip;
        TGridRect Selection;
        std::vector<QStringList> Expected; // rows of the selection
    };
    const std::vector<Case> cases = {
        {"integers", "1\r\n2\r\n", {1, 1, 1, 5}, {{"1"}, {"2"}, {"3"}, {"4"}, {"5"}}},
        {"integers along a row", "10\t7", {1, 1, 4, 1}, {{"10", "7", "4", "1"}}},
        {"floats with FloatFormat", "1.5\r\n2.0\r\n", {1, 1, 1, 4}, {{"1.50"}, {"2.00"}, {"2.50"}, {"3.00"}}},
        {"dates by month",
         "31/01/2020\r\n29/02/2020\r\n",
         {1, 1, 1, 3},
         {{"31/01/2020"}, {"29/02/2020"}, {"29/03/2020"}}},
        {"dates by day",
         "30/12/2020\r\n31/12/2020\r\n",
         {1, 1, 1, 3},
         {{"30/12/2020"}, {"31/12/2020"}, {"01/01/2021"}}},
        {"times", "10:00\r\n10:30\r\n", {1, 1, 1, 3}, {{"10:00"}, {"10:30"}, {"11:00"}}},
        {"block repeated down a column", "a\r\nb\r\n", {1, 1, 1, 5}, {{"a"}, {"b"}, {"a"}, {"b"}, {"a"}}},
        {"block repeated along a row", "a\tb", {1, 1, 5, 1}, {{"a", "b", "a", "b", "a"}}},
        {"one line repeated down the rows", "a\tb", {1, 1, 2, 3}, {{"a", "b"}, {"a", "b"}, {"a", "b"}}},
        {"one field per line repeated along the columns",
         "a\r\nb\r\n",
         {1, 1, 3, 2},
         {{"a", "a", "a"}, {"b", "b", "b"}}},
        {"series ends at the integer limit",
         "2147483646\r\n2147483647\r\n",
         {1, 1, 1, 4},
         {{"2147483646"}, {"2147483647"}, {"old"}, {"old"}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        TProbePtr g = MakeProbe(7, 7);
        g->Navigation()->AllowSmartClipboard = true;
        for (int col = 1; col < 7; ++col)
            for (int r = 1; r < 7; ++r) g->SetCells(col, r, "old");
        Clipboard()->SetAsText(c.Clip);
        g->SetSelection(c.Selection);
        g->PasteSelectionFromClipboard();
        for (size_t r = 0; r < c.Expected.size(); ++r)
            EXPECT_EQ(RowTexts(g.get(), c.Selection.Top + int(r), c.Selection.Left, c.Selection.Right),
                      c.Expected[r])
                << "row " << r;
        // Nothing beyond the selection.
        EXPECT_EQ(g->Cells(c.Selection.Right + 1, c.Selection.Top), "old");
        EXPECT_EQ(g->Cells(c.Selection.Left, c.Selection.Bottom + 1), "old");
    }
}

TEST_F(GridSmartPaste, OneValueIntoEveryCellWithEventsForAllButTheFirst) {
    TProbePtr g = MakeProbe(5, 5);
    g->Navigation()->AllowSmartClipboard = true;
    std::set<std::pair<int, int>> asked;
    g->OnClipboardBeforePasteCell = [&](TObject*, int ACol, int ARow, String&, bool& Allow) {
        asked.insert({ACol, ARow});
        if (ACol == 3 && ARow == 3) Allow = false;
    };
    Clipboard()->SetAsText("v");
    g->SetSelection(TGridRect(1, 1, 3, 3));
    g->PasteSelectionFromClipboard();
    for (int c = 1; c <= 3; ++c)
        for (int r = 1; r <= 3; ++r)
            EXPECT_EQ(g->Cells(c, r), (c == 3 && r == 3) ? "" : "v") << c << "," << r;
    // The top-left cell was asked by the paste itself, every other one by the fill.
    EXPECT_EQ(asked.size(), 9u);
    EXPECT_EQ(g->Cells(4, 1), "");
}

TEST_F(GridSmartPaste, ACheckBoxValueSpreadsAsItsCheckText) {
    TProbePtr g = MakeProbe(4, 4);
    g->Navigation()->AllowSmartClipboard = true;
    g->AddCheckBox(1, 1, false, false);
    Clipboard()->SetAsText("Y");
    g->SetSelection(TGridRect(1, 1, 1, 3));
    g->PasteSelectionFromClipboard();
    EXPECT_TRUE(g->IsChecked(1, 1));
    EXPECT_EQ(ColumnTexts(g.get(), 1, 2, 3), QStringList({"Y", "Y"}));
    // Each filled cell is reported as pasted from the copy's source.
    ASSERT_GE(g->Dones.size(), 3u);
    EXPECT_EQ(g->Dones[g->Dones.size() - 1].Target, TRect(1, 3, 1, 3));
    EXPECT_FALSE(g->Dones.back().Cut);
}

TEST_F(GridSmartPaste, ABlockOfTheSelectionsSizeIsPastedOnce) {
    TProbePtr g = MakeProbe(5, 5);
    g->Navigation()->AllowSmartClipboard = true;
    int asked = 0;
    g->OnClipboardBeforePasteCell = [&](TObject*, int, int, String&, bool&) { ++asked; };
    Clipboard()->SetAsText("1\t2\r\n3\t4\r\n");
    g->SetSelection(TGridRect(1, 1, 2, 2));
    g->PasteSelectionFromClipboard();
    EXPECT_EQ(asked, 4);
    EXPECT_EQ(RowTexts(g.get(), 1, 1, 2), QStringList({"1", "2"}));
    EXPECT_EQ(RowTexts(g.get(), 2, 1, 2), QStringList({"3", "4"}));

    // Without AllowSmartClipboard a bigger selection takes the block once too.
    g->Navigation()->AllowSmartClipboard = false;
    Clipboard()->SetAsText("5\r\n6\r\n");
    g->SetSelection(TGridRect(3, 1, 3, 4));
    g->PasteSelectionFromClipboard();
    EXPECT_EQ(ColumnTexts(g.get(), 3, 1, 4), QStringList({"5", "6", "", ""}));
}

// The clipboard keys of the grid's keyboard handling.
class GridClipboardKeys : public AdvShownGridFixture {
protected:
    void SetUp() override {
        AdvShownGridFixture::SetUp();
        Clipboard()->Clear();
        Grid->SetColCount(4);
        Grid->SetRowCount(4);
        SwitchGridOption(Grid, goEditing, true);
        Grid->Navigation()->AllowClipboardShortCuts = true;
        Grid->SetFocus();
        Application->ProcessMessages();
    }
    void Press(Word Key, TShiftState Shift) {
        SimulateKey(Grid, Key, Shift);
        Application->ProcessMessages();
    }
};

TEST_F(GridClipboardKeys, CopyCutAndPaste) {
    Grid->SetCells(1, 1, "a");
    Grid->SetCells(2, 1, "b");
    Grid->SetSelection(TGridRect(1, 1, 2, 1));
    Press('C', {ssCtrl});
    EXPECT_EQ(Clipboard()->AsText(), "a\tb");
    Press('X', {ssCtrl});
    EXPECT_EQ(Grid->Cells(1, 1), "");
    EXPECT_EQ(Grid->Cells(2, 1), "");
    Grid->SetSelection(TGridRect(1, 2, 1, 2));
    Press('V', {ssCtrl});
    EXPECT_EQ(Grid->Cells(1, 2), "a");
    EXPECT_EQ(Grid->Cells(2, 2), "b");
    // A handler may refuse the paste.
    Grid->OnClipboardPaste = [](TObject*, bool& Allow) { Allow = false; };
    Grid->SetSelection(TGridRect(1, 3, 1, 3));
    Press(VK_INSERT, {ssShift});
    EXPECT_EQ(Grid->Cells(1, 3), "");
}

} // namespace
