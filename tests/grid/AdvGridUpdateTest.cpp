// The grid control's update lock, its paint and state messages, scaling, version and original
// column widths.
#include "AdvGrid.h"
#include "Forms.h"
#include "Graphics.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

namespace {

// Counts paints and whole-control repaints; sets the size of the active-cell font.
class TCountingGrid : public TAdvStringGrid {
public:
    using TAdvStringGrid::ChangeScale;
    using TAdvStringGrid::FMouseSelectMode;
    using TAdvStringGrid::Invokedchange;
    using TAdvStringGrid::ResetUpdate;
    using TAdvStringGrid::StartUpdate;
    using TAdvStringGrid::TAdvStringGrid;

    void InstallFont(int Size) { ActiveCellFont()->SetSize(Size); }
    void Invalidate() override {
        ++Invalidates;
        TAdvStringGrid::Invalidate();
    }

    int Paints = 0;
    int Invalidates = 0;

protected:
    void Paint() override {
        ++Paints;
        TAdvStringGrid::Paint();
    }
};

class AdvGridFixture : public ::testing::Test {
protected:
    void SetUp() override {
        Form = new TForm(nullptr);
        Form->SetBounds(100, 100, 600, 400);
        Grid = new TCountingGrid(Form);
        Grid->SetParent(Form);
        Grid->SetBounds(10, 10, 400, 250);
        Form->Show();
        Settle();
    }
    void TearDown() override { TObject::Free(Form); }

    // Lets every pending paint run, then starts counting afresh.
    void Settle() {
        Application->ProcessMessages();
        Grid->Paints = 0;
        Grid->Invalidates = 0;
    }

    TForm* Form = nullptr;
    TCountingGrid* Grid = nullptr;
};

using UpdateLock = AdvGridFixture;

TEST_F(UpdateLock, NestedLocksPaintNothingUntilTheLastEndRepaintsOnce) {
    Grid->BeginUpdate();
    Grid->BeginUpdate();
    EXPECT_TRUE(Grid->LockUpdate());
    Grid->SetCells(1, 1, "changed");
    Grid->Repaint();
    Application->ProcessMessages();
    EXPECT_EQ(Grid->Paints, 0);

    Grid->EndUpdate();
    EXPECT_TRUE(Grid->LockUpdate());
    Grid->Repaint();
    Application->ProcessMessages();
    EXPECT_EQ(Grid->Paints, 0);

    Grid->EndUpdate();
    EXPECT_FALSE(Grid->LockUpdate());
    // The whole client area is asked for, without erasing.
    TRect r;
    ASSERT_TRUE(GetUpdateRect(Grid->Handle(), r, false));
    EXPECT_EQ(r, Grid->ClientRect());
    ASSERT_TRUE(ProcessMessagesUntil([&] { return Grid->Paints > 0; }));
    Application->ProcessMessages();
    EXPECT_EQ(Grid->Paints, 1);
}

TEST_F(UpdateLock, CountNeverGoesBelowZero) {
    Grid->EndUpdate();
    Grid->EndUpdate();
    EXPECT_FALSE(Grid->LockUpdate());
    Grid->BeginUpdate();
    EXPECT_TRUE(Grid->LockUpdate());
    Grid->EndUpdate();
    EXPECT_FALSE(Grid->LockUpdate());
}

TEST_F(UpdateLock, LockUpdatePropertyOpensAndClosesALock) {
    Grid->SetLockUpdate(true);
    Grid->SetLockUpdate(true);
    EXPECT_TRUE(Grid->LockUpdate());
    Grid->SetLockUpdate(false);
    EXPECT_TRUE(Grid->LockUpdate());
    Grid->SetLockUpdate(false);
    EXPECT_FALSE(Grid->LockUpdate());
}

TEST_F(UpdateLock, HiddenGridIsNotLockedAndShownAgainRedraws) {
    Grid->SetVisible(false);
    Grid->BeginUpdate();
    EXPECT_FALSE(Grid->LockUpdate());
    Grid->SetVisible(true);
    Grid->EndUpdate();
    EXPECT_FALSE(Grid->LockUpdate());
    EXPECT_TRUE(ProcessMessagesUntil([&] { return Grid->Paints > 0; }));
}

TEST_F(UpdateLock, StartUpdateCountsOnAHiddenGridAndResetDropsEveryLockWithoutRepaint) {
    Grid->SetVisible(false);
    Grid->StartUpdate();
    EXPECT_TRUE(Grid->LockUpdate());
    Grid->ResetUpdate();
    EXPECT_FALSE(Grid->LockUpdate());

    Grid->SetVisible(true);
    Settle();
    Grid->BeginUpdate();
    Grid->StartUpdate();
    Grid->BeginUpdate();
    Grid->ResetUpdate();
    EXPECT_FALSE(Grid->LockUpdate());
    TRect r;
    EXPECT_FALSE(GetUpdateRect(Grid->Handle(), r, false));
    Application->ProcessMessages();
    EXPECT_EQ(Grid->Paints, 0);
}

// ---------------------------------------------------------------------------------------------

using StateMessages = AdvGridFixture;

TEST_F(StateMessages, EnabledChangeRepaintsTheWholeGrid) {
    Grid->SetEnabled(false);
    EXPECT_GE(Grid->Invalidates, 1);
    EXPECT_TRUE(ProcessMessagesUntil([&] { return Grid->Paints > 0; }));
}

TEST_F(StateMessages, CursorChangeResetsTheMouseSelectModeUnlessTheGridChangedItItself) {
    struct Case {
        bool Invoked;
        TMouseSelectMode Expected;
    };
    for (const Case& c : {Case{false, msNormal}, Case{true, msColumn}}) {
        SCOPED_TRACE(c.Invoked);
        Grid->FMouseSelectMode = msColumn;
        Grid->Invokedchange = c.Invoked;
        Grid->SetCursor(Grid->Cursor() == crHandPoint ? crDefault : crHandPoint);
        EXPECT_EQ(Grid->FMouseSelectMode, c.Expected);
        EXPECT_FALSE(Grid->Invokedchange);
    }
}

TEST_F(StateMessages, EraseAndStyleMessagesDrawNothing) {
    EXPECT_EQ(Grid->Perform(WM_ERASEBKGND, 0), 0);
    EXPECT_NO_THROW(Grid->Perform(CM_STYLECHANGED));
    EXPECT_EQ(Grid->Invalidates, 0);
}

// ---------------------------------------------------------------------------------------------

using Scaling = AdvGridFixture;

TEST_F(Scaling, TheFixedAndActiveCellFontsFollowTheFormScale) {
    struct Case {
        int M, D, Size, Width;
    };
    for (const Case& c : {Case{96, 96, 8, 400}, Case{120, 96, 10, 500}, Case{96, 120, 6, 320}}) {
        SCOPED_TRACE(testing::Message() << c.M << "/" << c.D);
        TCountingGrid* g = new TCountingGrid(Form);
        g->SetBounds(0, 0, 400, 250);
        g->InstallFont(8);
        g->FixedFont()->SetSize(8);
        g->ChangeScale(c.M, c.D);
        EXPECT_EQ(g->ActiveCellFont()->Size(), c.Size);
        EXPECT_EQ(g->FixedFont()->Size(), c.Size);
        EXPECT_EQ(g->Width(), c.Width); // the control's own scaling ran first
        TObject::Free(g);
    }
}

TEST_F(Scaling, TheDefaultFontsScaleWithTheControl) {
    const int fixed = Grid->FixedFont()->Size(), active = Grid->ActiveCellFont()->Size();
    Grid->ChangeScale(120, 96);
    EXPECT_EQ(Grid->Width(), 500);
    EXPECT_EQ(Grid->FixedFont()->Size(), MulDiv(fixed, 120, 96));
    EXPECT_EQ(Grid->ActiveCellFont()->Size(), MulDiv(active, 120, 96));
}

// ---------------------------------------------------------------------------------------------

TEST(AdvGridVersion, NumberAndText) {
    TAdvStringGrid* g = new TAdvStringGrid(nullptr);
    auto freeGrid = FreeAtEnd(g);
    EXPECT_EQ(g->VersionNr(), 100794627);
    EXPECT_EQ(g->VersionString(), "6.2.1.3 Sep, 2012");
}

TEST(AdvGridOrigColSizes, TakesEveryWidthAndTheGridWidthAnew) {
    TAdvStringGrid* g = new TAdvStringGrid(nullptr);
    auto freeGrid = FreeAtEnd(g);
    g->SetBounds(0, 0, 300, 200);
    g->SetColCount(3);
    g->SetColWidths(1, 80);
    g->InitOrigColSizes();
    EXPECT_EQ(g->OrigColSizes().StrValue(), "64,80,64");
    EXPECT_EQ(g->OldSize(), 300);

    g->SetColCount(2);
    g->SetWidth(350);
    g->InitOrigColSizes();
    EXPECT_EQ(g->OrigColSizes().StrValue(), "64,80");
    EXPECT_EQ(g->OldSize(), 350);
}

} // namespace
