// The grid's option objects: defaults, change notification and copying.
#include "GridOptions.h"

#include "Classes.h"
#include "Graphics.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

namespace {

struct Counter {
    int Count = 0;
    TNotifyEvent Handler() {
        return [this](TObject*) { ++Count; };
    }
};

} // namespace

TEST(SearchFooter, CaptionsOnlyWhenDesigned) {
    TSearchFooter* runtime = new TSearchFooter(nullptr, false);
    auto freeRuntime = FreeAtEnd(runtime);
    TSearchFooter* design = new TSearchFooter(nullptr, true);
    auto freeDesign = FreeAtEnd(design);
    struct Case {
        const char* Name;
        String (*Get)(TSearchFooter*);
        const char* Designed;
    } cases[] = {
        {"FindNextCaption", [](TSearchFooter* f) { return f->FindNextCaption(); }, "Find &next"},
        {"FindPrevCaption", [](TSearchFooter* f) { return f->FindPrevCaption(); }, "Find &previous"},
        {"MatchCaseCaption", [](TSearchFooter* f) { return f->MatchCaseCaption(); }, "Match case"},
        {"HighLightCaption", [](TSearchFooter* f) { return f->HighLightCaption(); }, "Highlight"},
        {"HintClose", [](TSearchFooter* f) { return f->HintClose(); }, "Close"},
        {"HintFindNext", [](TSearchFooter* f) { return f->HintFindNext(); }, "Find next occurrence"},
        {"HintFindPrev", [](TSearchFooter* f) { return f->HintFindPrev(); }, "Find previous occurrence"},
        {"HintHighlight", [](TSearchFooter* f) { return f->HintHighlight(); }, "Highlight occurrences"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.Get(runtime), QString()) << c.Name;
        EXPECT_EQ(c.Get(design), QString::fromLatin1(c.Designed)) << c.Name;
    }
    EXPECT_EQ(runtime->Color(), 0xFFFFFF);
    EXPECT_EQ(runtime->ColorTo(), clBtnFace);
    EXPECT_EQ(runtime->SearchColumn, -1);
    EXPECT_TRUE(runtime->AutoSearch);
    EXPECT_FALSE(runtime->Visible());
    EXPECT_TRUE(runtime->ShowClose() && runtime->ShowFindNext() && runtime->ShowMatchCase());
}

TEST(SearchFooter, SomeSettersNotifyOnlyOnChange) {
    Counter n;
    TSearchFooter* f = new TSearchFooter(nullptr, false);
    auto freeF = FreeAtEnd(f);
    f->OnChange = n.Handler();
    f->SetShowFindNext(true); // unchanged: silent
    f->SetVisible(false);
    EXPECT_EQ(n.Count, 0);
    f->SetShowFindNext(false);
    f->SetVisible(true);
    EXPECT_EQ(n.Count, 2);
    f->SetColor(f->Color()); // these always notify
    f->SetHintClose(f->HintClose());
    f->SetShowClose(true);
    f->SetFont(f->Font());
    EXPECT_EQ(n.Count, 6);
    f->AutoSearch = false; // plain field
    EXPECT_EQ(n.Count, 6);
}

TEST(SearchFooter, AssignCopiesAllButFourAndFiresNothing) {
    TSearchFooter* src = new TSearchFooter(nullptr, true);
    auto freeSrc = FreeAtEnd(src);
    src->SetColor(0x123456);
    src->SetVisible(true);
    src->SearchColumn = 3;
    src->SearchDirection = sdLeftRight;
    src->AlwaysHighLight = true;
    src->Font()->SetName(QStringLiteral("Arial"));
    src->AutoSearch = false;
    src->SearchFixedCells = true;
    src->SetAutoThemeAdapt(true);
    src->LastSearch = QStringLiteral("needle");

    Counter n;
    TSearchFooter* dst = new TSearchFooter(nullptr, false);
    auto freeDst = FreeAtEnd(dst);
    dst->OnChange = n.Handler();
    dst->Assign(src);
    EXPECT_EQ(n.Count, 0);
    EXPECT_EQ(dst->Color(), 0x123456);
    EXPECT_TRUE(dst->Visible());
    EXPECT_EQ(dst->SearchColumn, 3);
    EXPECT_EQ(dst->SearchDirection, sdLeftRight);
    EXPECT_TRUE(dst->AlwaysHighLight);
    EXPECT_EQ(dst->FindNextCaption(), QStringLiteral("Find &next"));
    EXPECT_EQ(dst->Font()->Name(), QStringLiteral("Arial"));
    // Left as they were.
    EXPECT_TRUE(dst->AutoSearch);
    EXPECT_FALSE(dst->SearchFixedCells);
    EXPECT_FALSE(dst->AutoThemeAdapt());
    EXPECT_TRUE(dst->LastSearch.isEmpty());

    TBands* other = new TBands;
    auto freeOther = FreeAtEnd(other);
    dst->Assign(other); // another class: ignored
    EXPECT_EQ(dst->Color(), 0x123456);
}

TEST(Navigation, DefaultsThatAreOn) {
    TNavigation* nav = new TNavigation;
    auto freeNav = FreeAtEnd(nav);
    const bool on[] = {nav->AllowClipboardColGrow,   nav->AllowClipboardRowGrow, nav->CopyHTMLTagsToClipboard,
                       nav->AdvanceAutoEdit,         nav->CursorWalkAlwaysEdit,  nav->EditSelectAll,
                       nav->SkipFixedCells,          nav->SkipDisabledRows,      nav->AllowCtrlEnter,
                       nav->LeftRightRowSelect,      nav->ComboGetUpDown,        nav->AdvanceOnEnterLoop,
                       nav->AdvanceSkipReadOnlyCells};
    for (size_t i = 0; i < std::size(on); ++i) EXPECT_TRUE(on[i]) << i;
    EXPECT_FALSE(nav->AdvanceOnEnter || nav->AdvanceInsert() || nav->AllowInsertRow || nav->CursorMoveRows);
    EXPECT_EQ(nav->ClipboardPasteAction, paReplace);
    EXPECT_EQ(nav->AdvanceDirection(), adLeftRight);
    EXPECT_EQ(nav->HomeEndKey, heFirstLastColumn);
    EXPECT_EQ(nav->CursorAdvance, caDefault);
}

TEST(Navigation, AdvanceSettings) {
    Counter n;
    TNavigation* nav = new TNavigation;
    auto freeNav = FreeAtEnd(nav);
    nav->OnChange = n.Handler();
    nav->SetAdvanceAuto(true);
    EXPECT_TRUE(nav->AdvanceOnEnter);
    nav->SetAdvanceAuto(false);
    EXPECT_TRUE(nav->AdvanceOnEnter); // not turned off again
    EXPECT_EQ(n.Count, 0);
    nav->SetAdvanceDirection(adLeftRight); // unchanged
    EXPECT_EQ(n.Count, 0);
    nav->SetAdvanceDirection(adTopBottom);
    nav->SetAdvanceInsert(true);
    EXPECT_EQ(n.Count, 2);

    TNavigation* copy = new TNavigation;
    auto freeCopy = FreeAtEnd(copy);
    nav->TabAdvanceDirection = adLeftRight;
    nav->KeepScrollOnSort = true;
    nav->AllowInsertRow = true;
    copy->Assign(nav);
    EXPECT_EQ(copy->AdvanceDirection(), adTopBottom);
    EXPECT_EQ(copy->TabAdvanceDirection, adLeftRight);
    EXPECT_TRUE(copy->AdvanceInsert());
    EXPECT_TRUE(copy->AllowInsertRow);
    EXPECT_FALSE(copy->KeepScrollOnSort); // kept
}

TEST(MouseActions, SetterRules) {
    Counter invalidate, disable, change;
    TMouseActions* m = new TMouseActions(nullptr);
    auto freeM = FreeAtEnd(m);
    m->OnInvalidate = invalidate.Handler();
    m->OnDisableEdit = disable.Handler();
    m->OnChange = change.Handler();
    EXPECT_TRUE(m->PreciseNodeClick && m->AutoSizeColOnDblClick);

    m->SetHotmailRowSelect(true);
    EXPECT_TRUE(m->DisjunctRowSelect() && m->CheckAllCheck);
    m->SetHotmailRowSelect(false);
    EXPECT_TRUE(m->DisjunctRowSelect() && m->CheckAllCheck);
    EXPECT_EQ(invalidate.Count, 2);

    m->SetEditOnDblClickOnly(false);
    m->SetEditOnDblClickOnly(true);
    EXPECT_EQ(disable.Count, 1);

    m->SetWheelAction(waMoveSelection);
    m->SetWheelAction(waScroll);
    EXPECT_EQ(change.Count, 1);

    // At run time the disjunct selections are independent; while designing they exclude each other.
    m->SetDisjunctColSelect(true);
    m->SetDisjunctCellSelect(true);
    EXPECT_TRUE(m->DisjunctRowSelect() && m->DisjunctColSelect() && m->DisjunctCellSelect());
    m->OnIsDesigning = [](TObject*, bool& d) { d = true; };
    m->SetDisjunctColSelect(true);
    EXPECT_TRUE(m->DisjunctColSelect());
    EXPECT_FALSE(m->DisjunctRowSelect() || m->DisjunctCellSelect());
    m->SetDisjunctRowSelectDirect(true); // the field without the rule
    EXPECT_TRUE(m->DisjunctRowSelect() && m->DisjunctColSelect());
}

TEST(MouseActions, AssignLeavesFourSettings) {
    TMouseActions* src = new TMouseActions(nullptr);
    auto freeSrc = FreeAtEnd(src);
    src->RowSelect = true;
    src->SetWheelAction(waScroll);
    src->WheelIncrement = 3;
    src->FixedRowsEditor = fceComboList;
    src->SetDisjunctCellSelect(true);
    src->SizeFixedRow = true;
    src->SetHotmailRowSelect(true);
    src->SetEditOnDblClickOnly(true);
    src->FixedComboValues()->Add(QStringLiteral("x"));

    Counter change;
    TMouseActions* dst = new TMouseActions(nullptr);
    auto freeDst = FreeAtEnd(dst);
    dst->OnChange = change.Handler();
    dst->Assign(src);
    EXPECT_EQ(change.Count, 0);
    EXPECT_TRUE(dst->RowSelect);
    EXPECT_EQ(dst->WheelAction(), waScroll);
    EXPECT_EQ(dst->WheelIncrement, 3);
    EXPECT_EQ(dst->FixedRowsEditor, fceComboList);
    EXPECT_TRUE(dst->DisjunctCellSelect() && dst->DisjunctRowSelect() && dst->CheckAllCheck);
    EXPECT_FALSE(dst->SizeFixedRow);
    EXPECT_FALSE(dst->HotmailRowSelect());
    EXPECT_FALSE(dst->EditOnDblClickOnly());
    EXPECT_EQ(dst->FixedComboValues()->Count(), 0);

    dst->SetFixedComboValues(src->FixedComboValues()); // a copy
    src->FixedComboValues()->Clear();
    EXPECT_EQ(dst->FixedComboValues()->Count(), 1);
}

TEST(SyncGrid, IgnoresItsOwnGrid) {
    int a = 0, b = 0; // stand-ins for two grids: only their addresses are compared
    auto* own = reinterpret_cast<TStringGrid*>(&a);
    auto* other = reinterpret_cast<TStringGrid*>(&b);
    TSyncGrid* sync = new TSyncGrid(own);
    auto freeSync = FreeAtEnd(sync);
    sync->SetGrid(own);
    EXPECT_EQ(sync->Grid(), nullptr);
    sync->SetGrid(other);
    EXPECT_EQ(sync->Grid(), other);

    TSyncGrid* mirror = new TSyncGrid(other);
    auto freeMirror = FreeAtEnd(mirror);
    sync->SelectionRow = true;
    mirror->Assign(sync); // the writer refuses the copy's own grid
    EXPECT_EQ(mirror->Grid(), nullptr);
    EXPECT_TRUE(mirror->SelectionRow);
}

TEST(Bands, LengthsColoursAndCopy) {
    Counter n;
    Counter m;
    TBands* bands = new TBands;
    auto freeBands = FreeAtEnd(bands);
    bands->OnChange = n.Handler();
    EXPECT_EQ(bands->TotalLength(), 2);
    EXPECT_EQ(bands->PrimaryColor(), clInfoBk);
    EXPECT_EQ(bands->SecondaryColor(), clWindow);
    bands->SetPrimaryLength(2);
    EXPECT_EQ(bands->TotalLength(), 3);
    bands->SetPrimaryColor(clRed);
    EXPECT_EQ(n.Count, 0); // inactive bands are silent
    bands->SetActive(true);
    bands->SetSecondaryLength(4);
    bands->SetSecondaryColor(clRed);
    bands->SetSecondaryColor(clRed); // unchanged
    EXPECT_EQ(n.Count, 3);
    EXPECT_EQ(bands->TotalLength(), 6);

    TBands* src = new TBands;
    auto freeSrc = FreeAtEnd(src);
    src->SetPrimaryLength(3);
    src->SetSecondaryLength(2);
    src->Print = true;
    bands->OnChange = m.Handler();
    bands->Assign(src);
    EXPECT_EQ(bands->TotalLength(), 5);
    EXPECT_TRUE(bands->Print);
    EXPECT_FALSE(bands->Active());
    EXPECT_EQ(m.Count, 0);
}

TEST(FocusHelper, AssignCopiesEnabled) {
    TFocusHelper* a = new TFocusHelper(nullptr);
    auto freeA = FreeAtEnd(a);
    TFocusHelper* b = new TFocusHelper(nullptr);
    auto freeB = FreeAtEnd(b);
    EXPECT_FALSE(a->Enabled);
    a->Enabled = true;
    b->Assign(a);
    EXPECT_TRUE(b->Enabled);
}
