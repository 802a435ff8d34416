// The base grid's cell store: properties made on demand, merged areas and their queries, text
// through base cells with the display-text events, key movement around areas, undo and redo,
// and the cell painter checked on pixels.
#include "BaseGrid.h"

#include "Forms.h"
#include "GridUtil.h"
#include "OSInfo.h"
#include "StdCtrls.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <climits>
#include <functional>
#include <map>
#include <vector>

namespace {

class TTestBaseGrid : public TBaseGrid {
public:
    explicit TTestBaseGrid(TComponent* AOwner) : TBaseGrid(AOwner) {}

    using TBaseGrid::FHideLastRow;
    using TBaseGrid::FHoverRowIdx;
    using TBaseGrid::FMergeCount;
    using TBaseGrid::FNormalRowCount;

    std::vector<TPoint> BaseTextChanges;
    int LastRowChanges = 0;
    // DrawCellText per cell since the last ClearDraws.
    std::map<std::pair<int, int>, int> TextDraws;

    void BaseCellTextChanged(int ACol, int ARow) override { BaseTextChanges.push_back(TPoint(ACol, ARow)); }
    void LastRowChanged() override { ++LastRowChanges; }
    void DrawCellText(TCanvas* Canvas, int ACol, int ARow, TRect R, TGridDrawState AState) override {
        ++TextDraws[{ACol, ARow}];
        TBaseGrid::DrawCellText(Canvas, ACol, ARow, R, AState);
    }
};

// A grid of 8 x 8 cells of 64 x 24 pixels (1 fixed column and row) in a client area of
// 400 x 200 on a shown form, focused. The platform grid draws no lines, so column i starts at
// x = 64 i and row j at y = 24 j; columns 1-5 and rows 1-7 show whole.
class BaseGridFixture : public ::testing::Test {
protected:
    void SetUp() override {
        Form = new TForm(nullptr);
        Form->SetBounds(100, 100, 600, 400);
        Grid = new TTestBaseGrid(Form);
        Grid->SetParent(Form);
        Grid->SetBorderStyle(bsNone);
        Grid->SetScrollBars(ssNone);
        Grid->SetBounds(10, 10, 400, 200);
        Grid->SetColCount(8);
        Grid->SetRowCount(8);
        Other = new TEdit(Form);
        Other->SetParent(Form);
        Other->SetBounds(10, 250, 100, 21);
        Form->Show();
        Grid->SetFocus();
    }
    void TearDown() override {
        TObject::Free(Form);
        ResetPlatformSwitches();
    }

    void MoveTo(int ACol, int ARow) {
        Grid->SetCol(ACol);
        Grid->SetRow(ARow);
    }
    void PaintNow() {
        Grid->TextDraws.clear();
        Grid->Repaint();
    }
    TColor PixelAt(int X, int Y) {
        const QRgb p = Grid->BackImage().pixel(X, Y);
        return RGB(qRed(p), qGreen(p), qBlue(p));
    }
    // Pixels of the rectangle whose colour is not Color.
    int PixelsOtherThan(const TRect& R, TColor Color) {
        int n = 0;
        for (int y = R.Top; y < R.Bottom; ++y)
            for (int x = R.Left; x < R.Right; ++x)
                if (PixelAt(x, y) != ColorToRGB(Color)) ++n;
        return n;
    }

    TForm* Form = nullptr;
    TTestBaseGrid* Grid = nullptr;
    TEdit* Other = nullptr;
};

using CellStore = BaseGridFixture;
using MergedAreas = BaseGridFixture;
using DisplayText = BaseGridFixture;
using AreaKeys = BaseGridFixture;
using UndoRedo = BaseGridFixture;
using CellPainter = BaseGridFixture;

// The spans as stored in the cell's properties; (-1, -1) for a cell without any.
TPoint RawSpans(TBaseGrid* G, int ACol, int ARow) {
    auto* props = static_cast<TCellProperties*>(G->GetGridObject(ACol, ARow));
    return props ? TPoint(props->CellSpanX(), props->CellSpanY()) : TPoint(-1, -1);
}

// ---------------------------------------------------------------------------------------------
// Cell properties

TEST_F(CellStore, QueriesMakeNoPropertiesAndGetCellPropertiesFillsThemFromTheDefaults) {
    Grid->SetColor(clYellow);
    Grid->SetWordWrap(false);
    EXPECT_FALSE(Grid->IsMergedCell(2, 2));
    EXPECT_TRUE(Grid->IsBaseCell(2, 2));
    EXPECT_EQ(Grid->CellSpan(2, 2), TPoint(0, 0));
    EXPECT_EQ(Grid->GetObjectEx(2, 2), 0u);
    EXPECT_EQ(Grid->GetGraphicObjectEx(2, 2), nullptr);
    EXPECT_FALSE(Grid->HasCellProperties(2, 2));

    TCellProperties* props = Grid->GetCellProperties(2, 2);
    EXPECT_TRUE(Grid->HasCellProperties(2, 2));
    EXPECT_EQ(Grid->GetCellProperties(2, 2), props); // made once
    EXPECT_EQ(props->CellSpanX(), -1);
    EXPECT_EQ(props->CellSpanY(), -1);
    EXPECT_TRUE(props->IsBaseCell());
    EXPECT_EQ(props->OwnerCol(), 2);
    EXPECT_EQ(props->OwnerRow(), 2);
    EXPECT_EQ(props->FontName(), Grid->Font()->Name());
    EXPECT_EQ(props->FontSize(), Grid->Font()->Size());
    EXPECT_EQ(props->BrushColor(), clYellow);
    EXPECT_EQ(props->BrushColorTo(), clNone);
    EXPECT_EQ(props->Alignment(), taLeftJustify);
    EXPECT_EQ(props->VAlignment(), vtaTop);
    EXPECT_FALSE(props->WordWrap());
    EXPECT_EQ(props->Editor(), edNormal);

    // Outside the store the store's own check refuses, and nothing is made.
    EXPECT_THROW(Grid->GetCellProperties(-1, 2), EInvalidGridOperation);
    EXPECT_THROW(Grid->GetCellProperties(MaxGridCols, 2), EInvalidGridOperation);
    // Outside the counts the queries answer as for an unmerged cell.
    EXPECT_FALSE(Grid->HasCellProperties(-1, 2));
    EXPECT_FALSE(Grid->HasCellProperties(8, 2));
}

TEST_F(CellStore, ObjectsAttachToCellsOfAnyTextAndTheCopyLeavesTheGraphic) {
    Grid->SetObjectEx(3, 3, 42);
    EXPECT_EQ(Grid->GetObjectEx(3, 3), 42u);
    EXPECT_EQ(Grid->Cells(3, 3), String()); // the text is left alone
    TObject graphic;
    Grid->SetGraphicObjectEx(3, 3, &graphic);
    EXPECT_EQ(Grid->GetGraphicObjectEx(3, 3), &graphic);

    TCellProperties* src = Grid->GetCellProperties(3, 3);
    src->SetBrushColorTo(clRed);
    src->SetReadOnly(true);
    src->SetCalcType(acSUM);
    TCellProperties copy(Grid, 0, 0);
    copy.Assign(src);
    EXPECT_EQ(copy.CellObject(), 42u);
    EXPECT_TRUE(copy.ReadOnly());
    EXPECT_EQ(copy.OwnerCol(), 3);
    EXPECT_EQ(copy.GraphicObject(), nullptr);
    EXPECT_EQ(copy.BrushColorTo(), clNone);
    EXPECT_EQ(copy.CalcType(), acNONE);
    src->SetGraphicObject(nullptr);
}

// Stand-ins for a cell graphic: the range free frees a graphic of exactly this class name.
class TCellGraphic : public TObject {
public:
    explicit TCellGraphic(bool* AFreed) : Freed(AFreed) {}
    ~TCellGraphic() override { *Freed = true; }
    bool* Freed;
};
class TOtherGraphic : public TCellGraphic {
    using TCellGraphic::TCellGraphic;
};

TEST_F(CellStore, TheRangeFreeTakesCellGraphicsAndBlankingLeavesTheObject) {
    bool cellGraphicFreed = false, otherFreed = false;
    Grid->SetGraphicObjectEx(1, 1, new TCellGraphic(&cellGraphicFreed));
    auto* other = new TOtherGraphic(&otherFreed);
    auto freeOther = FreeAtEnd(other);
    Grid->SetGraphicObjectEx(2, 1, other);
    Grid->FreeCellPropertiesRange(1, 1, 2, 1);
    EXPECT_TRUE(cellGraphicFreed);
    EXPECT_FALSE(otherFreed);
    EXPECT_EQ(Grid->GetGridObject(1, 1), nullptr);
    EXPECT_EQ(Grid->GetGridObject(2, 1), nullptr);

    // Blanking empties the slot and the text; the object moved elsewhere stays alive.
    TCellProperties* moved = Grid->GetCellProperties(3, 3);
    Grid->SetCells(3, 3, QStringLiteral("x"));
    Grid->BlankCell(3, 3);
    EXPECT_EQ(Grid->GetGridObject(3, 3), nullptr);
    EXPECT_EQ(Grid->Cells(3, 3), String());
    Grid->SetCellProperties(4, 4, moved);
    EXPECT_EQ(Grid->GetCellProperties(4, 4), moved);
}

// Properties beyond the counts (the store keeps them) go with the grid: the leak check of the
// sanitized build sees any that stay.
TEST_F(CellStore, PropertiesBeyondTheCountsAreFreedWithTheGrid) {
    Grid->GetCellProperties(20, 30);
    Grid->MergeCells(6, 6, 4, 4); // past the counts, inside the store
    EXPECT_EQ(RawSpans(Grid, 9, 9), TPoint(3, 3));
    Grid->GetCellProperties(7, 7);
    Grid->SetColCount(3);
    Grid->SetRowCount(3);
    EXPECT_FALSE(Grid->HasCellProperties(7, 7));
    EXPECT_NE(Grid->GetGridObject(7, 7), nullptr);
}

TEST_F(CellStore, ACountTooLargeToStoreRaisesAndChangesNothing) {
    EXPECT_THROW(Grid->SetColCount(MaxGridCols + 1), EInvalidGridOperation);
    EXPECT_THROW(Grid->SetRowCount(MaxGridRows + 1), EInvalidGridOperation);
    EXPECT_THROW(Grid->SetRowCount(INT_MAX), EInvalidGridOperation);
    EXPECT_EQ(Grid->ColCount(), 8);
    EXPECT_EQ(Grid->RowCount(), 8);
}

// ---------------------------------------------------------------------------------------------
// Merged areas

// A merge and then a split, and what one cell answers afterwards.
struct MergeStep {
    int MergeCol, MergeRow, SpanX, SpanY; // MergeCol -1: no merge
    int SplitCol, SplitRow;               // SplitCol -1: no split
    int Col, Row;                         // the cell asked
};
// Whether the cell is a base cell and merged (at all, across, down), its stored spans (-1 -1
// without properties), CellSpan, CellExt, FullCell, and the merge count.
struct MergeAnswers {
    bool IsBase, IsMerged, XMerged, YMerged;
    int RawX, RawY, SpanX, SpanY, ExtX, ExtY, FullLeft, FullTop, FullRight, FullBottom, MergeCount;
};
struct MergeCase {
    const char* Name;
    MergeStep Step;
    MergeAnswers Want;
};

TEST_F(MergedAreas, EdgeCasesAsOneTable) {
    const MergeCase cases[] = {
        {"never asked",
         {-1, 0, 0, 0, -1, 0, 2, 2},
         {true, false, false, false, -1, -1, 0, 0, 0, 0, 2, 2, 2, 2, 0}},
        {"base of 3 x 2",
         {1, 1, 3, 2, -1, 0, 1, 1},
         {true, true, true, true, 2, 1, 2, 1, 2, 1, 1, 1, 3, 2, 1}},
        {"covered middle",
         {1, 1, 3, 2, -1, 0, 2, 2},
         {false, true, true, true, 1, 1, 2, 1, 1, 0, 1, 1, 3, 2, 1}},
        {"far corner", {1, 1, 3, 2, -1, 0, 3, 2}, {false, true, true, true, 2, 1, 2, 1, 0, 0, 1, 1, 3, 2, 1}},
        {"beside the block",
         {1, 1, 3, 2, -1, 0, 4, 2},
         {true, false, false, false, -1, -1, 0, 0, 0, 0, 4, 2, 4, 2, 1}},
        {"one row", {2, 3, 3, 1, -1, 0, 4, 3}, {false, true, true, false, 2, 0, 2, 0, 0, 0, 2, 3, 4, 3, 1}},
        {"one cell", {2, 2, 1, 1, -1, 0, 2, 2}, {true, false, false, false, 0, 0, 0, 0, 0, 0, 2, 2, 2, 2, 1}},
        {"split from a covered cell",
         {1, 1, 3, 2, 3, 2, 1, 1},
         {true, false, false, false, -1, -1, 0, 0, 0, 0, 1, 1, 1, 1, 0}},
        {"split leaves every cell",
         {1, 1, 3, 2, 2, 1, 3, 2},
         {true, false, false, false, -1, -1, 0, 0, 0, 0, 3, 2, 3, 2, 0}},
        {"split of an unmerged cell",
         {-1, 0, 0, 0, 4, 4, 4, 4},
         {true, false, false, false, -1, -1, 0, 0, 0, 0, 4, 4, 4, 4, -1}},
        {"no span",
         {1, 1, 0, 3, -1, 0, 1, 1},
         {true, false, false, false, -1, -1, 0, 0, 0, 0, 1, 1, 1, 1, 1}},
    };
    for (const MergeCase& t : cases) {
        SCOPED_TRACE(t.Name);
        const MergeStep& s = t.Step;
        const MergeAnswers& c = t.Want;
        auto* g = new TTestBaseGrid(Form);
        auto freeGrid = FreeAtEnd(g);
        g->SetColCount(8);
        g->SetRowCount(8);
        if (s.MergeCol >= 0) g->MergeCells(s.MergeCol, s.MergeRow, s.SpanX, s.SpanY);
        if (s.SplitCol >= 0) g->SplitCells(s.SplitCol, s.SplitRow);
        EXPECT_EQ(g->IsBaseCell(s.Col, s.Row), c.IsBase);
        EXPECT_EQ(g->IsMergedCell(s.Col, s.Row), c.IsMerged);
        EXPECT_EQ(g->IsMergedNonBaseCell(s.Col, s.Row), c.IsMerged && !c.IsBase);
        EXPECT_EQ(g->IsXMergedCell(s.Col, s.Row), c.XMerged);
        EXPECT_EQ(g->IsYMergedCell(s.Col, s.Row), c.YMerged);
        EXPECT_EQ(RawSpans(g, s.Col, s.Row), TPoint(c.RawX, c.RawY));
        EXPECT_EQ(g->CellSpan(s.Col, s.Row), TPoint(c.SpanX, c.SpanY));
        EXPECT_EQ(g->CellExt(s.Col, s.Row), TPoint(c.ExtX, c.ExtY));
        EXPECT_EQ(g->FullCell(s.Col, s.Row), TRect(c.FullLeft, c.FullTop, c.FullRight, c.FullBottom));
        EXPECT_EQ(g->FMergeCount, c.MergeCount);
        int bc = -1, br = -1;
        EXPECT_EQ(g->ResolveBaseCell(s.Col, s.Row, bc, br), s.Col == c.FullLeft && s.Row == c.FullTop);
        EXPECT_EQ(TPoint(bc, br), TPoint(c.FullLeft, c.FullTop));
    }
}

TEST_F(MergedAreas, ABlockReachingPastTheStoreRaisesWithNothingChanged) {
    const struct {
        int Col, Row, SpanX, SpanY;
    } blocks[] = {
        {MaxGridCols - 2, 1, 5, 1},
        {1, MaxGridRows - 1, 1, 2},
        {1, 1, INT_MAX, 1},
        {1, 1, 2, INT_MAX},
        {-1, 1, 3, 1},
    };
    for (const auto& b : blocks) {
        SCOPED_TRACE(testing::Message() << b.Col << "," << b.Row << " " << b.SpanX << "x" << b.SpanY);
        EXPECT_THROW(Grid->MergeCells(b.Col, b.Row, b.SpanX, b.SpanY), EInvalidGridOperation);
        EXPECT_EQ(Grid->FMergeCount, 0);
        if (b.Col >= 0) {
            EXPECT_EQ(Grid->GetGridObject(b.Col, b.Row), nullptr);
        }
        EXPECT_EQ(Grid->GetGridObject(1, 1), nullptr);
    }
}

TEST_F(MergedAreas, RowAndColumnSpanComparisons) {
    Grid->MergeCells(1, 1, 1, 3); // column 1, rows 1-3
    Grid->MergeCells(3, 2, 2, 2); // columns 3-4, rows 2-3
    Grid->MergeCells(1, 5, 1, 2); // column 1, rows 5-6
    EXPECT_EQ(Grid->MinRowSpan(2), 1);
    EXPECT_EQ(Grid->MaxRowSpan(2), 2);
    EXPECT_EQ(Grid->MinRowSpan(7), Grid->RowCount());
    EXPECT_EQ(Grid->MaxRowSpan(7), 0);
    EXPECT_TRUE(Grid->RowSpanIdentical(1, 2));  // column 3 (merged in row 2 only) is passed over
    EXPECT_FALSE(Grid->RowSpanIdentical(3, 5)); // column 1: two areas
    EXPECT_FALSE(Grid->RowSpanIdentical(6, 7)); // no column has both merged
    EXPECT_TRUE(Grid->ColSpanIdentical(3, 4));
    EXPECT_FALSE(Grid->ColSpanIdentical(4, 5)); // 4 merged horizontally where 5 is not
    EXPECT_FALSE(Grid->ColSpanIdentical(5, 6)); // alike, but no row merged horizontally
}

TEST_F(MergedAreas, GeometryCoversTheWholeAreaAlsoScrolledUnderTheFixedColumns) {
    Grid->MergeCells(1, 1, 3, 2);
    EXPECT_EQ(Grid->CellRect(2, 2), TRect(64, 24, 256, 72));
    EXPECT_EQ(Grid->CellSize(3, 1), TPoint(192, 48));
    EXPECT_EQ(Grid->CellRect(5, 5), TRect(320, 120, 384, 144));
    Grid->SetLeftCol(2);
    EXPECT_EQ(Grid->VirtualCellRect(1, 1), TRect(0, 24, 64, 48));
    EXPECT_EQ(Grid->CellRect(3, 2), TRect(0, 24, 192, 72));
    EXPECT_EQ(Grid->VirtualCellRect(0, 1), TRect(0, 24, 64, 48)); // fixed cells do not scroll
}

TEST_F(MergedAreas, RightToLeftMirrorsTheAreasRectangle) {
    PlatformSwitches().MiddleEastLocale = true;
    Grid->SetBiDiMode(bdRightToLeft);
    Grid->MergeCells(1, 1, 3, 2);
    EXPECT_EQ(Grid->CellRect(2, 2), TRect(400 - 256, 24, 400 - 64, 72));
    EXPECT_EQ(Grid->CellRect(5, 5), TRect(400 - 384, 120, 400 - 320, 144));
}

// ---------------------------------------------------------------------------------------------
// Text through base cells

TEST_F(DisplayText, TextGoesToTheBaseCellAndTheEventsSeeTheBase) {
    Grid->MergeCells(1, 1, 2, 2);
    Grid->SetCellEx(2, 2, QStringLiteral("x"));
    EXPECT_EQ(Grid->Cells(1, 1), QStringLiteral("x"));
    EXPECT_EQ(Grid->Cells(2, 2), String());
    EXPECT_EQ(Grid->GetCellEx(2, 1), QStringLiteral("x"));
    ASSERT_EQ(Grid->BaseTextChanges.size(), 1u);
    EXPECT_EQ(Grid->BaseTextChanges[0], TPoint(1, 1));
    EXPECT_EQ(Grid->GetGridCell(2, 2), String()); // raw: no redirection

    std::vector<TPoint> asked;
    Grid->OnGetDisplText = [&](TObject*, int ACol, int ARow, String& Value) {
        asked.push_back(TPoint(ACol, ARow));
        Value += QStringLiteral("!");
    };
    // Rows from FNormalRowCount on get no events (0 until the grid control sets it).
    EXPECT_EQ(Grid->GetCellEx(2, 2), QStringLiteral("x"));
    EXPECT_TRUE(asked.empty());
    Grid->FNormalRowCount = 5;
    EXPECT_EQ(Grid->GetCellEx(2, 2), QStringLiteral("x!"));
    EXPECT_EQ(asked, std::vector<TPoint>{TPoint(1, 1)});
    Grid->SetCells(3, 5, QStringLiteral("y"));
    EXPECT_EQ(Grid->GetCellEx(3, 5), QStringLiteral("y"));

    // With the wide event the result is always packed; the event sees the text unpacked.
    String seen;
    Grid->OnGetDisplWideText = [&](TObject*, int, int, String& Value) { seen = Value; };
    EXPECT_EQ(Grid->GetCellEx(1, 1), PackWideText(QStringLiteral("x!")));
    EXPECT_TRUE(Grid->GetCellEx(1, 1).startsWith(QStringLiteral("|\\")));
    Grid->SetCellEx(1, 1, PackWideText(QString::fromUtf8("\xC3\xA4")));
    Grid->OnGetDisplText = nullptr;
    Grid->GetCellEx(1, 1);
    EXPECT_EQ(seen, QString::fromUtf8("\xC3\xA4"));
    EXPECT_EQ(Grid->GetCellEx(3, 5), QStringLiteral("y")); // still beyond the normal rows
}

TEST_F(DisplayText, WritingTheHiddenLastRowTellsTheGrid) {
    Grid->SetCellEx(2, 7, QStringLiteral("a"));
    EXPECT_EQ(Grid->LastRowChanges, 0);
    Grid->FHideLastRow = true;
    Grid->SetCellEx(2, 7, QStringLiteral("b"));
    Grid->SetCellEx(2, 6, QStringLiteral("c"));
    EXPECT_EQ(Grid->LastRowChanges, 1);
}

// ---------------------------------------------------------------------------------------------
// Keys around merged areas

TEST_F(AreaKeys, ArrowsLeaveAnAreaAndEndOnBaseCells) {
    Grid->MergeCells(2, 1, 3, 1); // A: columns 2-4, row 1
    Grid->MergeCells(1, 2, 1, 3); // B: column 1, rows 2-4
    Grid->MergeCells(3, 3, 2, 2); // C: columns 3-4, rows 3-4
    const struct {
        int Col, Row;
        Word Key;
        int ToCol, ToRow;
    } cases[] = {
        {2, 1, VK_RIGHT, 5, 1},                        // past the far edge of A in one press
        {4, 1, VK_RIGHT, 5, 1},                        // from a covered cell too
        {1, 1, VK_RIGHT, 2, 1},                        // into A: its base
        {2, 4, VK_RIGHT, 3, 3},                        // onto a covered cell of C: its base
        {1, 2, VK_DOWN, 1, 5},                         // past the bottom of B
        {1, 3, VK_DOWN, 1, 5},  {4, 4, VK_LEFT, 2, 4}, // covered cell of C: out to the left
        {3, 3, VK_LEFT, 2, 3},  {4, 1, VK_LEFT, 1, 1}, // covered cell of A
        {5, 1, VK_LEFT, 2, 1},                         // into A from the right: its base
        {1, 4, VK_UP, 1, 1},                           // covered cell of B: out at the top
        {4, 4, VK_UP, 4, 2},                           // covered cell of C
        {1, 5, VK_UP, 1, 2},                           // into B from below: its base
        {2, 3, VK_RIGHT, 3, 3},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.Col << "," << c.Row << " key " << c.Key);
        MoveTo(c.Col, c.Row);
        SimulateKey(Grid, c.Key);
        EXPECT_EQ(TPoint(Grid->Col(), Grid->Row()), TPoint(c.ToCol, c.ToRow));
    }
}

// Right to left, the Left key moves to higher columns and leaves an area past its far edge.
TEST_F(AreaKeys, RightToLeftSwapsTheHorizontalKeys) {
    PlatformSwitches().MiddleEastLocale = true;
    Grid->SetBiDiMode(bdRightToLeft);
    Grid->MergeCells(2, 1, 3, 1);
    MoveTo(2, 1);
    SimulateKey(Grid, VK_LEFT);
    EXPECT_EQ(Grid->Col(), 5);
    SimulateKey(Grid, VK_RIGHT);
    EXPECT_EQ(Grid->Col(), 2);
}

TEST_F(AreaKeys, PageDownStopsAboveTheHiddenLastRow) {
    MoveTo(2, 2);
    SimulateKey(Grid, VK_NEXT);
    EXPECT_EQ(Grid->Row(), 7);
    Grid->FHideLastRow = true;
    MoveTo(2, 2); // the last page shows
    SimulateKey(Grid, VK_NEXT);
    EXPECT_EQ(Grid->Row(), 6);
    SimulateKey(Grid, VK_NEXT);
    EXPECT_EQ(Grid->Row(), 6);
    // From an earlier page too.
    Grid->SetRowCount(12);
    MoveTo(2, 5);
    Grid->SetTopRow(2);
    SimulateKey(Grid, VK_NEXT);
    EXPECT_EQ(Grid->Row(), 10);
}

TEST_F(AreaKeys, TheWheelPassesVerticalAreasAndEndsOnBaseCells) {
    Grid->MergeCells(1, 2, 2, 3); // columns 1-2, rows 2-4
    MoveTo(2, 1);
    const TPoint at(100, 100);
    SimulateWheel(Grid, -120, {}, at.X, at.Y);
    EXPECT_EQ(TPoint(Grid->Col(), Grid->Row()), TPoint(1, 2)); // into the area: its base
    SimulateWheel(Grid, -120, {}, at.X, at.Y);
    EXPECT_EQ(TPoint(Grid->Col(), Grid->Row()), TPoint(1, 5)); // on below it
    SimulateWheel(Grid, 120, {}, at.X, at.Y);
    EXPECT_EQ(TPoint(Grid->Col(), Grid->Row()), TPoint(1, 2)); // up into it: its base
    SimulateWheel(Grid, 120, {}, at.X, at.Y);
    EXPECT_EQ(TPoint(Grid->Col(), Grid->Row()), TPoint(1, 1));
}

// ---------------------------------------------------------------------------------------------
// Undo and redo

class UndoFixture : public BaseGridFixture {
protected:
    void SetUp() override {
        BaseGridFixture::SetUp();
        Undo = new TAdvGridUndoRedo(Form);
        Grid->SetUndoRedo(Undo);
        Undo->OnUndo = [this](TObject*, TBaseGrid*, int ACol, int ARow, const String& Orig,
                              const String& New) {
            Played.push_back(Format("undo %d,%d %s>%s", ACol, ARow, Orig, New));
        };
        Undo->OnRedo = [this](TObject*, TBaseGrid*, int ACol, int ARow, const String& Orig,
                              const String& New) {
            Played.push_back(Format("redo %d,%d %s>%s", ACol, ARow, Orig, New));
        };
    }
    // A change made to the grid and registered, as the grid control does after an edit.
    void Change(int ACol, int ARow, const String& Value) {
        Undo->RegisterChange(ACol, ARow, Grid->GetCellEx(ACol, ARow), Value);
        Grid->SetCellEx(ACol, ARow, Value);
    }
    static String Format(const char* Pattern, int A, int B, const String& C, const String& D) {
        return QString::asprintf(Pattern, A, B, qPrintable(C), qPrintable(D));
    }

    TAdvGridUndoRedo* Undo = nullptr;
    std::vector<String> Played;
};

using UndoSequences = UndoFixture;

TEST_F(UndoSequences, SingleChangesAndASequenceGoBackAndForth) {
    EXPECT_EQ(Undo->Grid(), Grid);
    Change(1, 1, QStringLiteral("a"));
    Undo->StartSequence();
    Change(2, 2, QStringLiteral("b"));
    Change(3, 3, QStringLiteral("c"));
    Undo->StopSequence();
    ASSERT_EQ(Undo->Items()->Count(), 5);
    EXPECT_EQ(Undo->Level, 5);

    Undo->Undo(); // the sequence, newest change first
    EXPECT_EQ(Played, (std::vector<String>{"undo 3,3 c>", "undo 2,2 b>"}));
    EXPECT_EQ(Undo->Level, 1); // at the start marker
    EXPECT_EQ(Grid->Cells(2, 2), String());
    EXPECT_EQ(Grid->Cells(3, 3), String());
    EXPECT_EQ(TPoint(Grid->Col(), Grid->Row()), TPoint(2, 2));
    Undo->Undo(); // the single change
    EXPECT_EQ(Grid->Cells(1, 1), String());
    EXPECT_EQ(Undo->Level, 0);
    EXPECT_FALSE(Undo->CanUndo());
    Undo->Undo(); // nothing left
    EXPECT_EQ(Played.size(), 3u);

    Played.clear();
    Undo->Redo();
    Undo->Redo();
    EXPECT_EQ(Played, (std::vector<String>{"redo 1,1 >a", "redo 2,2 >b", "redo 3,3 >c"}));
    EXPECT_EQ(Undo->Level, 5);
    EXPECT_EQ(Grid->Cells(3, 3), QStringLiteral("c"));
    EXPECT_FALSE(Undo->CanRedo());
    Undo->Redo();
    EXPECT_EQ(Played.size(), 3u);
}

TEST_F(UndoSequences, MaxLevelDropsTheOldestChange) {
    Undo->MaxLevel = 2;
    Change(1, 1, QStringLiteral("a"));
    Change(2, 2, QStringLiteral("b"));
    Change(3, 3, QStringLiteral("c"));
    ASSERT_EQ(Undo->Items()->Count(), 2);
    EXPECT_EQ(Undo->Items()->Items(0)->Value, QStringLiteral("b"));
    EXPECT_EQ(Undo->Level, 2);

    // A start marker dropped that way: undoing the sequence stops at the first item.
    Undo->Reset();
    Undo->StartSequence();
    Change(1, 2, QStringLiteral("x"));
    Change(1, 3, QStringLiteral("y")); // drops the start marker
    Undo->StopSequence();
    Undo->Undo();
    EXPECT_EQ(Undo->Level, 0);
    EXPECT_EQ(Grid->Cells(1, 3), String());
    EXPECT_EQ(Grid->Cells(1, 2), String());
}

TEST_F(UndoSequences, AChangeWhoseCellLeftTheGridIsPassedOver) {
    Change(6, 6, QStringLiteral("far"));
    Change(2, 2, QStringLiteral("near"));
    Grid->SetRowCount(5);
    Undo->Undo();
    Undo->Undo();
    EXPECT_EQ(Played, std::vector<String>{"undo 2,2 near>"});
    EXPECT_EQ(Undo->Level, 0);
    EXPECT_EQ(Grid->Cells(6, 6), QStringLiteral("far"));
    Played.clear();
    Undo->Redo();
    Undo->Redo();
    EXPECT_EQ(Played, std::vector<String>{"redo 2,2 >near"});
    EXPECT_EQ(Undo->Level, 2);

    Undo->Reset();
    EXPECT_EQ(Undo->Level, 0);
    EXPECT_EQ(Undo->Items()->Count(), 0);
    EXPECT_FALSE(Undo->CanUndo());
}

TEST_F(UndoSequences, TheLinkGoesWhenEitherSideIsFreed) {
    TObject::Free(Undo);
    EXPECT_EQ(Grid->UndoRedo(), nullptr);
    auto* undo = new TAdvGridUndoRedo(nullptr);
    auto freeUndo = FreeAtEnd(undo);
    Grid->SetUndoRedo(undo);
    EXPECT_EQ(undo->Grid(), Grid);
    TObject::Free(Grid);
    EXPECT_EQ(undo->Grid(), nullptr);
    undo->Undo(); // without a grid: nothing
    Grid = nullptr;
}

// ---------------------------------------------------------------------------------------------
// The cell painter on pixels

TEST_F(CellPainter, AMergedAreaUnderTheFrozenColumnIsClippedAndPaintedOnce) {
    Grid->MergeCells(1, 1, 3, 2); // columns 1-3, rows 1-2
    Grid->SetCellEx(1, 1, QStringLiteral("MMMM"));
    MoveTo(5, 5);
    Grid->SetLeftCol(2); // the base column scrolls under the fixed column
    PaintNow();
    // The fixed column keeps its own face: no part of the area painted over it.
    EXPECT_EQ(PixelsOtherThan(TRect(0, 24, 63, 47), clBtnFace), 0);
    EXPECT_EQ(PixelsOtherThan(TRect(0, 48, 63, 71), clBtnFace), 0);
    EXPECT_EQ(PixelAt(63, 30), TColor(0x808080)); // the fixed cells' own lines
    EXPECT_EQ(PixelAt(30, 47), TColor(0x808080));
    // The visible part is one cell: no line between its columns or rows, its own right edge.
    EXPECT_EQ(PixelAt(127, 30), ColorToRGB(clWindow));
    EXPECT_EQ(PixelAt(100, 47), ColorToRGB(clWindow));
    EXPECT_EQ(PixelAt(191, 30), TColor(0xC0C0C0));
    EXPECT_EQ(PixelAt(100, 71), TColor(0xC0C0C0));
    // Its text was drawn once in this paint, for the base cell.
    EXPECT_EQ(Grid->TextDraws[std::make_pair(1, 1)], 1);
    for (const auto& [cell, count] : Grid->TextDraws) {
        EXPECT_EQ(count, 1) << cell.first << "," << cell.second;
        EXPECT_FALSE(Grid->IsMergedNonBaseCell(cell.first, cell.second)) << cell.first << "," << cell.second;
    }
    PaintNow(); // and once again in the next
    EXPECT_EQ(Grid->TextDraws[std::make_pair(1, 1)], 1);
}

bool Covers(const QRegion& Region, const QRect& R) {
    return (QRegion(R) - Region).isEmpty();
}

// Moving the current cell off or onto an area asks for a paint of the whole area.
TEST_F(CellPainter, SelectingRepaintsWholeAreas) {
    Grid->MergeCells(1, 1, 3, 2);
    MoveTo(1, 1);
    PaintNow();
    QRegion rgn;
    GetUpdateRgn(Grid->Handle(), rgn, false);
    ASSERT_TRUE(rgn.isEmpty());
    MoveTo(5, 5);
    GetUpdateRgn(Grid->Handle(), rgn, false);
    EXPECT_TRUE(Covers(rgn, QRect(64, 24, 192, 48)));
    EXPECT_TRUE(Covers(rgn, QRect(320, 120, 64, 24)));
    PaintNow();
    MoveTo(5, 2);
    Grid->SetCol(2); // onto a covered cell
    GetUpdateRgn(Grid->Handle(), rgn, false);
    EXPECT_TRUE(Covers(rgn, QRect(64, 24, 192, 48)));
}

TEST_F(CellPainter, SelectionLooksFollowTheStyleAndTheFocus) {
    Grid->SetSelection(TGridRect(2, 3, 4, 3));
    PaintNow();
    EXPECT_EQ(PixelAt(3 * 64 + 30, 3 * 24 + 10), ColorToRGB(clHighlight)); // ssDefault

    Grid->SetSelectionStyle(ssVista);
    PaintNow();
    const int top = 3 * 24;
    EXPECT_EQ(PixelAt(2 * 64, top), ColorToRGB(clWindow));      // the left end's rounded corner
    EXPECT_EQ(PixelAt(2 * 64 + 1, top), TColor(0xFCEDCB));      // next to it
    EXPECT_EQ(PixelAt(3 * 64, top), TColor(0xFDDE99));          // the middle cell runs on square
    EXPECT_EQ(PixelAt(3 * 64 + 30, top), TColor(0xFDDE99));     // outer edge
    EXPECT_EQ(PixelAt(3 * 64 + 30, top + 1), TColor(0xFDFBF6)); // upper inner line
    EXPECT_EQ(PixelAt(3 * 64 + 30, top + 2), TColor(0xFDF8F1)); // the fill starts
    EXPECT_EQ(PixelAt(5 * 64 - 2, top), ColorToRGB(clWindow));  // the right end's rounded corner
    EXPECT_EQ(PixelAt(5 * 64 - 2, top + 10), TColor(0xFDDE99));
    EXPECT_EQ(PixelAt(5 * 64 + 30, top + 10), ColorToRGB(clWindow)); // past the right end

    Grid->SetSelectionStyle(ssOffice2007);
    PaintNow();
    EXPECT_EQ(PixelAt(3 * 64 + 30, top), TColor(0x8DD7D3));
    EXPECT_EQ(PixelAt(3 * 64 + 30, top + 2), TColor(0xD7FFFD));  // upper half from its colour
    EXPECT_EQ(PixelAt(3 * 64 + 30, top + 11), TColor(0x58D4FC)); // lower half from its colour

    Other->SetFocus(); // unfocused: the grey look whatever the style
    PaintNow();
    EXPECT_EQ(PixelAt(3 * 64 + 30, top), TColor(0xD9D9D9));
    EXPECT_EQ(PixelAt(3 * 64 + 30, top + 2), TColor(0xF8F8F8));
    TGridOptions o = Grid->Options();
    o.insert(goDrawFocusSelected);
    Grid->SetOptions(o);
    PaintNow();
    EXPECT_EQ(PixelAt(3 * 64 + 30, top), TColor(0x8DD7D3));
}

TEST_F(CellPainter, HoverAndActiveRowsAndTheHiddenLastRow) {
    MoveTo(2, 2);
    Grid->SetActiveRowShow(true);
    Grid->SetActiveRowColor(clAqua);
    Grid->SetHoverRow(true);
    Grid->SetHoverRowColor(clLime);
    Grid->FHoverRowIdx = 4;
    Grid->FHideLastRow = true;
    Grid->SetCells(1, 7, QStringLiteral("MMMM"));
    PaintNow();
    EXPECT_EQ(PixelAt(3 * 64 + 30, 2 * 24 + 10), ColorToRGB(clAqua));       // the active row
    EXPECT_NE(PixelAt(2 * 64 + 30, 2 * 24 + 10), ColorToRGB(clAqua));       // but not its current cell
    EXPECT_EQ(PixelAt(30, 2 * 24 + 10), ColorToRGB(clBtnFace));             // nor its fixed cell
    EXPECT_EQ(PixelAt(3 * 64 + 30, 4 * 24 + 10), ColorToRGB(clLime));       // the hover row
    EXPECT_EQ(PixelAt(30, 4 * 24 + 10), ColorToRGB(clBtnFace));             // not its fixed cell
    EXPECT_EQ(PixelsOtherThan(TRect(0, 7 * 24, 400, 8 * 24), clWindow), 0); // the hidden row: plain
}

TEST_F(CellPainter, PaintCellExtDrawsNoText) {
    Grid->MergeCells(1, 1, 2, 1);
    Grid->SetCellEx(1, 1, QStringLiteral("MMMM"));
    TBitmap bitmap(200, 60);
    auto blacks = [&] {
        int n = 0;
        for (int y = 0; y < 60; ++y)
            for (int x = 0; x < 200; ++x)
                if (bitmap.Canvas()->Pixels(x, y) == clBlack) ++n;
        return n;
    };
    const TRect r(0, 0, 128, 24);
    Grid->PaintCellExt(bitmap.Canvas(), 1, 1, r, {});
    EXPECT_EQ(blacks(), 0);
    Grid->PaintCell(bitmap.Canvas(), 1, 1, r, {});
    EXPECT_GT(blacks(), 0);
}

} // namespace
