// Cell hints driven by mouse moves and the hint timer: plain and markup hints, comments, link
// titles, large texts over the cell, OnGridHint on fixed cells and the floating footer's row,
// the markup hint window's measuring and its placement at the monitor's edge; balloons: one
// tool-tip window through switching them off and on, its settings, and none without a window.
#include "AdvGrid.h"

#include "Forms.h"
#include "GridUtil.h"
#include "HTMLHintWindow.h"
#include "ToolTips.h"

#include <gtest/gtest.h>

namespace {

class AdvGridHints : public ::testing::Test {
protected:
    void SetUp() override {
        FPause = Application->HintPause;
        FHide = Application->HintHidePause;
        Form = new TForm(nullptr);
        Form->SetClientSize(500, 400);
        Grid = new TAdvStringGrid(Form);
        Grid->SetParent(Form);
        Grid->SetBounds(10, 10, 400, 250);
        Grid->SetShowHint(true);
        Form->Show();
    }
    void TearDown() override {
        Application->CancelHint();
        TObject::Free(Form);
        Application->HintPause = FPause;
        Application->HintHidePause = FHide;
    }
    // A point inside cell (ACol, ARow), DX and DY from its top-left corner.
    TPoint InCell(int ACol, int ARow, int DX = 5, int DY = 5) {
        const TRect r = Grid->CellRect(ACol, ARow);
        return TPoint(r.Left + DX, r.Top + DY);
    }
    // Rests the pointer at P of the grid and lets the hint pause pass: the hint window shown,
    // nullptr when none.
    THintWindow* HintAt(const TPoint& P) {
        Application->CancelHint();
        SimulateMouseMove(Grid, {}, P.X, P.Y);
        if (HintTimerMode() != htmShowHint) return nullptr;
        HintTimerTick();
        return ShownHintWindow();
    }
    // The record the grid fills in for a pointer at P (client coordinates).
    THintInfo Ask(const TPoint& P) {
        THintInfo info;
        info.HintControl = Grid;
        info.CursorPos = P;
        info.HintMaxWidth = 1000;
        info.HintWindowClass = HintWindowClass;
        EXPECT_EQ(Grid->Perform(CM_HINTSHOW, 0, LPARAM(&info)), 0);
        return info;
    }

    TForm* Form = nullptr;
    TAdvStringGrid* Grid = nullptr;

private:
    int FPause = 0, FHide = 0;
};

TEST_F(AdvGridHints, DataCellTextsAsPlainOrMarkupHints) {
    Grid->SetCells(1, 1, QStringLiteral("<b>Total</b>"));
    Grid->HintShowCells = true;
    const TPoint p = InCell(1, 1, 7, 9);
    const TRect r = Grid->CellRect(1, 1);

    THintWindow* w = HintAt(p);
    ASSERT_TRUE(w);
    EXPECT_EQ(w->Caption(), "Total");
    EXPECT_EQ(dynamic_cast<THTMLHintWindow*>(w), nullptr);
    // At the pointer's X, the cell's top.
    EXPECT_EQ(TPoint(w->Left(), w->Top()), Grid->ClientToScreen(TPoint(p.X, r.Top)));
    EXPECT_EQ(Grid->LastHintPos(), TPoint(1, 1));

    Grid->HTMLHint = true;
    auto* html = dynamic_cast<THTMLHintWindow*>(HintAt(p));
    ASSERT_TRUE(html);
    EXPECT_EQ(html->Caption(), "<b>Total</b>");
    // Sized to the rendered text: 16 pixels of padding, 4 in height; the bold word is wider
    // than the plain one.
    EXPECT_EQ(html->Width(), html->TextWidth() + 16);
    EXPECT_EQ(html->Height(), html->TextHeight() + 4);
    html->Canvas()->SetFont(html->Font());
    EXPECT_GT(html->TextWidth(), html->Canvas()->TextWidth("Total"));
    EXPECT_EQ(html->Color(), Grid->HintColor);

    // Without the grid's own class the platform's window shows the markup as it stands.
    Grid->UseInternalHintClass = false;
    THintWindow* plain = HintAt(p);
    ASSERT_TRUE(plain);
    EXPECT_EQ(dynamic_cast<THTMLHintWindow*>(plain), nullptr);
}

TEST_F(AdvGridHints, CommentsShowBesideTheCell) {
    Grid->AddComment(2, 3, QStringLiteral("Check this value"));
    const TRect r = Grid->CellRect(2, 3);
    THintWindow* w = HintAt(InCell(2, 3));
    ASSERT_TRUE(w);
    EXPECT_EQ(w->Caption(), "Check this value");
    EXPECT_EQ(TPoint(w->Left(), w->Top()), Grid->ClientToScreen(TPoint(r.Right, r.Top)));
}

TEST_F(AdvGridHints, EmptyHintsShowNothing) {
    // No hint of the grid's own, no cell hints: nothing shows.
    Grid->SetCells(1, 1, QStringLiteral("Value"));
    EXPECT_EQ(HintAt(InCell(1, 1)), nullptr);
    // The grid's own hint shows where no cell rule applies.
    Grid->SetHint(QStringLiteral("Grid hint"));
    THintWindow* w = HintAt(InCell(1, 1));
    ASSERT_TRUE(w);
    EXPECT_EQ(w->Caption(), "Grid hint");
}

TEST_F(AdvGridHints, FixedCellsGetNoCellTextButOnGridHintRuns) {
    Grid->HintShowCells = true;
    Grid->SetCells(1, 0, QStringLiteral("Name"));
    std::vector<TPoint> asked;
    Grid->OnGridHint = [&](TObject*, int ARow, int ACol, String& S) {
        asked.push_back(TPoint(ACol, ARow));
        if (ARow == 0) S = QStringLiteral("The device name");
    };
    THintWindow* w = HintAt(InCell(1, 0));
    ASSERT_TRUE(w);
    EXPECT_EQ(w->Caption(), "The device name");
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(asked[0], TPoint(1, 0));

    // The header hint comes from OnGridHint alone: without it the fixed cell shows nothing.
    Grid->OnGridHint = nullptr;
    EXPECT_EQ(HintAt(InCell(1, 0)), nullptr);
}

TEST_F(AdvGridHints, TheFloatingFooterRowNeverReachesOnGridHint) {
    Grid->SetRowCount(5);
    Grid->FloatingFooter()->SetVisible(true);
    std::vector<int> rows;
    Grid->OnGridHint = [&](TObject*, int ARow, int, String&) { rows.push_back(ARow); };
    Ask(InCell(1, 4));
    Ask(InCell(1, 3));
    EXPECT_EQ(rows, std::vector<int>{3});
}

TEST_F(AdvGridHints, LargeTextsShowOverTheCellOnlyWhenTheyDoNotFit) {
    Grid->HintShowLargeText = true;
    Grid->SetCells(1, 1, QStringLiteral("ok"));
    Grid->SetCells(2, 1, QStringLiteral("A text far too wide for a column of 64 pixels"));
    EXPECT_EQ(HintAt(InCell(1, 1)), nullptr);

    const TRect r = Grid->CellRect(2, 1);
    THintWindow* w = HintAt(InCell(2, 1, 20, 6));
    ASSERT_TRUE(w);
    EXPECT_EQ(w->Caption(), "A text far too wide for a column of 64 pixels");
    EXPECT_EQ(TPoint(w->Left(), w->Top()), Grid->ClientToScreen(TPoint(r.Left, r.Top)));

    // At the cursor: the position of a plain cell hint.
    Grid->HintShowLargeTextPos = hpCursor;
    const THintInfo info = Ask(InCell(2, 1, 20, 6));
    EXPECT_EQ(info.HintPos, Grid->ClientToScreen(TPoint(r.Left + 20, r.Bottom + 6)));
}

TEST_F(AdvGridHints, LinksShowTheirTitles) {
    Grid->AnchorHint = true;
    Grid->SetColWidths(1, 200);
    Grid->SetCells(1, 1,
                   QStringLiteral("<a href=\"http://host/a\" title=\"Open the manual\">manual</a> text"));
    Grid->SetCells(1, 2, QStringLiteral("<a href=\"http://host/b\">link</a>"));
    const TPoint onLink = InCell(1, 1, Grid->XYOffset.X + 6, Grid->XYOffset.Y + 5);
    const THintInfo info = Ask(onLink);
    EXPECT_EQ(info.HintStr, "Open the manual");
    EXPECT_EQ(info.HintPos, Grid->ClientToScreen(TPoint(onLink.X + 8, onLink.Y - 16)));
    EXPECT_EQ(Grid->LastAnchorHint(), "Open the manual");

    // Without a title the link itself; OnAnchorHint may change it.
    Grid->OnAnchorHint = [](TObject*, int ARow, int ACol, String& A) {
        A = QStringLiteral("%1,%2: %3").arg(ACol).arg(ARow).arg(A);
    };
    EXPECT_EQ(Ask(InCell(1, 2, Grid->XYOffset.X + 6, Grid->XYOffset.Y + 5)).HintStr, "1,2: http://host/b");
    // Beside the link: no link hint.
    EXPECT_TRUE(Ask(InCell(1, 2, 180, 5)).HintStr.isEmpty());
}

TEST_F(AdvGridHints, ColourAndWidthAlsoOutsideTheCells) {
    Grid->HintColor = clYellow;
    Grid->ControlLook()->SetHintMaxWidth(150);
    Grid->SetColCount(2);
    const THintInfo outside = Ask(TPoint(Grid->ClientWidth() - 3, 5));
    EXPECT_EQ(outside.HintColor, clYellow);
    EXPECT_EQ(outside.HintMaxWidth, 150);
    EXPECT_EQ(Grid->LastHintPos(), TPoint(-1, -1));
    Grid->ControlLook()->SetHintMaxWidth(0);
    EXPECT_EQ(Ask(InCell(1, 1)).HintMaxWidth, 1000);
    EXPECT_EQ(HintFontName, Grid->Font()->Name());
}

TEST_F(AdvGridHints, UseHTMLHintsSwitchesTheApplicationsHintWindow) {
    const THintWindowClass before = HintWindowClass;
    Grid->SetUseHTMLHints(true);
    EXPECT_EQ(HintWindowClass, HintWindowClassOf<THTMLHintWindow>());
    Grid->SetUseHTMLHints(false);
    EXPECT_EQ(HintWindowClass, HintWindowClassOf<THintWindow>());
    HintWindowClass = before;
}

// The hint window alone: measuring, packed wide text, the monitor's edge, no border.
TEST(HTMLHintWindow, PlacedInsideTheNearestMonitor) {
    THTMLHintWindow w(nullptr);
    EXPECT_FALSE(GetWindowLong(w.Handle(), GWL_STYLE) & WS_BORDER);
    const TRect work = Screen->MonitorWorkAreaRect(TPoint(0, 0));
    const String hint = QStringLiteral("<b>A hint of some length</b>");
    const TRect m = w.CalcHintRect(1008, hint, nullptr);
    ASSERT_GT(m.Width(), 20);

    struct Case {
        const char* What;
        TPoint At;
        TPoint Expected;
    } cases[] = {
        {"inside", {work.Left + 10, work.Top + 10}, {work.Left + 10, work.Top + 10}},
        {"past the right edge",
         {work.Right - 10, work.Top + 10},
         {work.Right - 2 - (m.Width() + 16), work.Top + 10}},
        {"past the bottom edge",
         {work.Left + 10, work.Bottom - 3},
         {work.Left + 10, work.Bottom - 2 - (m.Height() + 4)}},
    };
    for (const Case& c : cases) {
        w.ActivateHint(Bounds(c.At.X, c.At.Y, 10, 10), hint);
        EXPECT_EQ(TPoint(w.Left(), w.Top()), c.Expected) << c.What;
        EXPECT_EQ(w.Width(), m.Width() + 16) << c.What;
        EXPECT_TRUE(w.Showing()) << c.What;
    }
    w.ReleaseHandle();

    // Packed wide text: unpacked, one line, 8 pixels of padding.
    HintFontName = w.Font()->Name();
    const String packed = PackWideText(QStringLiteral("Größe"));
    w.ActivateHint(Bounds(work.Left + 10, work.Top + 10, 0, 0), packed);
    EXPECT_EQ(w.WideCaption(), "Größe");
    EXPECT_EQ(w.Width(), w.TextWidth() + 8);
    w.Canvas()->SetFont(w.Font());
    EXPECT_EQ(w.TextWidth(), w.Canvas()->TextWidth("Größe"));
    w.ReleaseHandle();
}

// ---------------------------------------------------------------------------------------------
// Balloons

TEST_F(AdvGridHints, OneToolTipWindowThroughOffAndOn) {
    const int before = ToolTipWindowCount();
    Grid->Balloon()->SetInitialDelay(200);
    Grid->Balloon()->SetAutoHideDelay(3000);
    Grid->Balloon()->SetEnable(true);
    EXPECT_EQ(ToolTipWindowCount(), before + 1);
    TToolTipWindow* tip = FindToolTipWindow(Grid->ToolTipHandle());
    ASSERT_TRUE(tip);
    EXPECT_EQ(tip->TipTitle(), "ToolTipText");
    EXPECT_EQ(tip->TipIcon(), TTI_ERROR);
    EXPECT_EQ(tip->Delay(TTDT_INITIAL), 200);
    EXPECT_EQ(tip->Delay(TTDT_AUTOPOP), 3000);
    EXPECT_EQ(tip->Delay(TTDT_RESHOW), 100); // the platform's
    EXPECT_EQ(SendMessage(Grid->ToolTipHandle(), TTM_GETTOOLCOUNT), 1);
    // Enabling again makes no second window.
    Grid->Balloon()->SetEnable(true);
    EXPECT_EQ(ToolTipWindowCount(), before + 1);

    Grid->Balloon()->SetEnable(false);
    EXPECT_EQ(ToolTipWindowCount(), before);
    EXPECT_EQ(Grid->ToolTipHandle(), HWND(0));
    EXPECT_FALSE(Grid->Balloon()->Initialized());
    Grid->Balloon()->SetEnable(true);
    EXPECT_EQ(ToolTipWindowCount(), before + 1);

    // The tool is the grid's window: resting on it starts the initial delay.
    SimulateMouseMove(Grid, {}, 50, 40);
    tip = FindToolTipWindow(Grid->ToolTipHandle());
    ASSERT_TRUE(tip);
    EXPECT_EQ(tip->TimerMode(), TToolTipWindow::tmShow);
    EXPECT_EQ(tip->TimerInterval(), 200);

    // The grid takes its balloon with it.
    TObject::Free(Grid);
    Grid = nullptr;
    EXPECT_EQ(ToolTipWindowCount(), before);
}

TEST_F(AdvGridHints, TransparentBalloonsAreLayered) {
    Grid->Balloon()->SetTransparency(55);
    Grid->Balloon()->SetEnable(true);
    const HWND tip = Grid->ToolTipHandle();
    ASSERT_NE(tip, HWND(0));
    EXPECT_TRUE(GetWindowLong(tip, GWL_EXSTYLE) & WS_EX_LAYERED);
    EXPECT_NEAR(FindToolTipWindow(tip)->Widget()->window()->windowOpacity(), 200.0 / 255.0, 0.01);
}

TEST(AdvGridBalloons, NoToolTipWithoutTheGridsWindow) {
    const int before = ToolTipWindowCount();
    TForm* form = new TForm(nullptr);
    auto* grid = new TAdvStringGrid(form);
    grid->Balloon()->SetEnable(true);
    EXPECT_EQ(ToolTipWindowCount(), before);
    EXPECT_EQ(grid->ToolTipHandle(), HWND(0));
    // Made with the window.
    grid->SetParent(form);
    form->Show();
    grid->HandleNeeded();
    EXPECT_EQ(ToolTipWindowCount(), before + 1);
    EXPECT_NE(grid->ToolTipHandle(), HWND(0));
    TObject::Free(form);
    EXPECT_EQ(ToolTipWindowCount(), before);
}

} // namespace
