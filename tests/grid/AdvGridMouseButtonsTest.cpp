// The grid's mouse buttons, driven by the mouse events a user's clicks send through the grid's
// window: check boxes and radio groups, opening the editor by the mouse options, clicks on fixed
// cells and headers (row selection by the windows' handler, column autosize on a double click,
// the header sort and its undo), the right button, cell buttons, links (cell references and the
// addresses the desktop may open), the fixed-cell editor and the press on a partly shown row.
#include "AdvShownGridFixture.h"

#include "Forms.h"
#include "GridCellEditors.h"
#include "ShellApi.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <functional>
#include <string>
#include <vector>

namespace {

void AddEditing(TAdvStringGrid* G) {
    TGridOptions o = G->Options();
    o.insert(goEditing);
    G->SetOptions(o);
}

class GridMouse : public AdvShownGridFixture {
protected:
    void SetUp() override {
        AdvShownGridFixture::SetUp();
        Grid->SetColCount(5);
        Grid->SetRowCount(8);
        for (int r = 1; r < 8; ++r)
            for (int c = 1; c < 5; ++c) Grid->SetCells(c, r, QStringLiteral("%1-%2").arg(c).arg(r));
        Grid->SetFocus();
        Application->ProcessMessages();
    }
    void SetEditing(bool On) {
        TGridOptions o = Grid->Options();
        if (On)
            o.insert(goEditing);
        else
            o.erase(goEditing);
        Grid->SetOptions(o);
    }
    void AddOption(TGridOption Option) {
        TGridOptions o = Grid->Options();
        o.insert(Option);
        Grid->SetOptions(o);
    }
    TPoint Centre(int ACol, int ARow) {
        const TRect r = Grid->CellRect(ACol, ARow);
        return TPoint((r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2);
    }
    void Click(int ACol, int ARow) {
        const TPoint p = Centre(ACol, ARow);
        SimulateClick(Grid, p.X, p.Y);
        Drain();
    }
    void DblClick(int X, int Y) {
        SimulateDblClick(Grid, mbLeft, {}, X, Y);
        Drain();
    }
    void Drain() {
        for (int i = 0; i < 4; ++i) Application->ProcessMessages();
    }
    bool TextEditorShown() {
        return Grid->InplaceEditor() && Grid->InplaceEditor()->Visible() && Grid->EditorMode();
    }
};

// ---------------------------------------------------------------------------------------------
// Check boxes and radio groups

TEST_F(GridMouse, AClickTogglesADataCheckBoxAndReportsTheNewText) {
    SetEditing(true);
    Grid->AddCheckBox(2, 3, false, true);
    ASSERT_EQ(Grid->Cells(2, 3), "N");
    std::vector<std::string> seen;
    Grid->OnCheckBoxClick = [&](TObject*, int ACol, int ARow, bool State) {
        seen.push_back(std::to_string(ACol) + "," + std::to_string(ARow) + (State ? " on " : " off ") +
                       Grid->Cells(2, 3).toStdString());
    };
    Click(2, 3);
    EXPECT_EQ(Grid->Cells(2, 3), "Y");
    Click(2, 3);
    EXPECT_EQ(Grid->Cells(2, 3), "N");
    // The event follows the changed text, with the new state.
    EXPECT_EQ(seen, (std::vector<std::string>{"2,3 on Y", "2,3 off N"}));
    EXPECT_FALSE(TextEditorShown());
    EXPECT_EQ(Grid->Col(), 2);
    EXPECT_EQ(Grid->Row(), 3);
}

// Who may toggle a check box by a click.
TEST_F(GridMouse, CheckBoxClicksFollowTheEditingRules) {
    struct Case {
        const char* Name;
        std::function<void(TAdvStringGrid*)> Setup;
        bool Toggles;
    };
    const std::vector<Case> cases = {
        {"editing grid", [](TAdvStringGrid* G) { AddEditing(G); }, true},
        {"read-only grid", [](TAdvStringGrid*) {}, false},
        {"read-only grid, CheckAlwaysActive",
         [](TAdvStringGrid* G) { G->ControlLook()->SetCheckAlwaysActive(true); }, true},
        {"read-only cell of an editing grid",
         [](TAdvStringGrid* G) {
             AddEditing(G);
             G->SetReadOnly(2, 3, true);
         },
         false},
        {"click vetoed by OnCanClickCell",
         [](TAdvStringGrid* G) {
             AddEditing(G);
             G->OnCanClickCell = [](TObject*, int, int, bool& Allow) { Allow = false; };
         },
         false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        TearDown();
        SetUp();
        Grid->AddCheckBox(2, 3, false, false);
        c.Setup(Grid);
        int clicks = 0;
        Grid->OnCheckBoxClick = [&](TObject*, int, int, bool) { ++clicks; };
        Click(2, 3);
        bool state = false;
        Grid->GetCheckBoxState(2, 3, state);
        EXPECT_EQ(state, c.Toggles);
        EXPECT_EQ(clicks, c.Toggles ? 1 : 0);
        EXPECT_FALSE(TextEditorShown());
    }
}

TEST_F(GridMouse, AHeaderCheckBoxTogglesItselfAndWithCheckAllCheckEveryRow) {
    SetEditing(true);
    for (int r = 0; r < 8; ++r) Grid->AddCheckBox(1, r, false, false);
    Click(1, 0);
    bool state = false;
    Grid->GetCheckBoxState(1, 0, state);
    EXPECT_TRUE(state);
    Grid->GetCheckBoxState(1, 4, state);
    EXPECT_FALSE(state) << "without CheckAllCheck the rows keep their state";

    Grid->MouseActions()->CheckAllCheck = true;
    Click(1, 0); // off again: every row follows
    Click(1, 0); // on: every row follows
    for (int r = 0; r < 8; ++r) {
        Grid->GetCheckBoxState(1, r, state);
        EXPECT_TRUE(state) << "row " << r;
    }
}

TEST_F(GridMouse, ARadioGroupClickSelectsTheItemUnderThePointer) {
    SetEditing(true);
    Grid->SetColWidths(2, 200);
    Grid->SetRowHeights(3, 60);
    TStringList* items = Grid->CreateRadio(2, 3, 0, 0); // stacked items
    items->Add("one");
    items->Add("two");
    items->Add("three");
    std::vector<int> clicked;
    Grid->OnRadioClick = [&](TObject*, int, int, int Idx) { clicked.push_back(Idx); };
    const TRect r = Grid->CellRect(2, 3);
    // Stacked items are as high as the radio box (its size in the classic styles, else 16) or
    // a line of text, whichever is more.
    const TGridControlStyle style = Grid->ControlLook()->ControlStyle();
    const int box = style == csClassic || style == csFlat ? Grid->ControlLook()->RadioSize() : 16;
    const int line = std::max(box, Probe->Canvas()->TextHeight("gh"));
    SimulateClick(Grid, r.Left + 5, r.Top + line + line / 2);
    Drain();
    int idx = -1;
    Grid->GetRadioIdx(2, 3, idx);
    EXPECT_EQ(idx, 1);
    SimulateClick(Grid, r.Left + 5, r.Top + 2 * line + line / 2);
    Drain();
    Grid->GetRadioIdx(2, 3, idx);
    EXPECT_EQ(idx, 2);
    EXPECT_EQ(clicked, (std::vector<int>{1, 2}));
    // Below the last item nothing changes.
    SimulateClick(Grid, r.Left + 5, r.Bottom - 2);
    Drain();
    Grid->GetRadioIdx(2, 3, idx);
    EXPECT_EQ(idx, 2);
    EXPECT_EQ(clicked.size(), 2u);
}

// ---------------------------------------------------------------------------------------------
// Editing by the mouse

TEST_F(GridMouse, ClicksOpenTheEditorAsTheMouseOptionsSay) {
    enum Gesture { OneClick, TwoClicks, DoubleClick };
    struct Case {
        const char* Name;
        std::function<void(TAdvStringGrid*)> Setup;
        Gesture Action;
        bool Opens;
    };
    auto editing = [](TAdvStringGrid* G) { AddEditing(G); };
    const std::vector<Case> cases = {
        {"editing, one click moves there", editing, OneClick, false},
        {"editing, a second click opens", editing, TwoClicks, true},
        {"editing, DirectEdit opens at once",
         [&](TAdvStringGrid* G) {
             editing(G);
             G->MouseActions()->DirectEdit = true;
         },
         OneClick, true},
        {"read-only grid, DirectEdit", [](TAdvStringGrid* G) { G->MouseActions()->DirectEdit = true; },
         OneClick, false},
        {"EditOnDblClickOnly, two clicks",
         [&](TAdvStringGrid* G) {
             G->MouseActions()->SetEditOnDblClickOnly(true);
             G->MouseActions()->RangeSelectAndEdit = true;
         },
         TwoClicks, false},
        {"EditOnDblClickOnly, a double click opens",
         [&](TAdvStringGrid* G) {
             G->MouseActions()->SetEditOnDblClickOnly(true);
             G->MouseActions()->RangeSelectAndEdit = true;
         },
         DoubleClick, true},
        {"editing, DirectEdit, OnCanClickCell refuses",
         [&](TAdvStringGrid* G) {
             editing(G);
             G->MouseActions()->DirectEdit = true;
             G->OnCanClickCell = [](TObject*, int, int, bool& Allow) { Allow = false; };
         },
         OneClick, false},
        {"editing, DirectEdit, read-only cell",
         [&](TAdvStringGrid* G) {
             editing(G);
             G->MouseActions()->DirectEdit = true;
             G->SetReadOnly(3, 4, true);
         },
         OneClick, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        TearDown();
        SetUp();
        c.Setup(Grid);
        const TPoint p = Centre(3, 4);
        switch (c.Action) {
            case OneClick: Click(3, 4); break;
            case TwoClicks:
                Click(3, 4);
                Click(3, 4);
                break;
            case DoubleClick:
                Click(3, 4);
                DblClick(p.X, p.Y);
                break;
        }
        EXPECT_EQ(TextEditorShown(), c.Opens);
        if (c.Opens) {
            EXPECT_EQ(Grid->Col(), 3);
            EXPECT_EQ(Grid->Row(), 4);
        }
    }
}

// ---------------------------------------------------------------------------------------------
// Fixed cells and headers

TEST_F(GridMouse, ARowNumberClickReachesOnClickCellWhereTheWindowSelectsTheRow) {
    std::vector<std::string> order;
    Grid->OnClickCell = [&](TObject*, int ARow, int ACol) {
        order.push_back("click " + std::to_string(ARow) + "," + std::to_string(ACol));
        if (ACol == 0 && ARow > 0) Grid->SelectRows(ARow, 1);
    };
    Click(0, 5);
    ASSERT_EQ(order, (std::vector<std::string>{"click 5,0"}));
    const TGridRect s = Grid->Selection();
    EXPECT_EQ(s.Top, 5);
    EXPECT_EQ(s.Bottom, 5);
    EXPECT_EQ(s.Left, Grid->FixedCols());
    EXPECT_EQ(s.Right, Grid->ColCount() - 1);
}

TEST_F(GridMouse, AHeaderDoubleClickReachesOnDblClickCellAfterBothPresses) {
    Grid->SetCells(2, 3, "a much longer text than the column shows");
    std::vector<std::string> order;
    Grid->OnMouseDown = [&](TObject*, TMouseButton, TShiftState, int, int) { order.push_back("down"); };
    Grid->OnDblClickCell = [&](TObject*, int ARow, int ACol) {
        order.push_back("dbl " + std::to_string(ARow) + "," + std::to_string(ACol));
        if (ARow == 0) Grid->AutoSizeCol(ACol, 0);
    };
    const int before = Grid->ColWidths(2);
    const TPoint p = Centre(2, 0);
    DblClick(p.X, p.Y);
    EXPECT_EQ(order, (std::vector<std::string>{"down", "down", "dbl 0,2"}));
    EXPECT_GT(Grid->ColWidths(2), before);
}

TEST_F(GridMouse, ADoubleClickOnAHeaderBorderAutosizesWithoutSorting) {
    AddOption(goColSizing);
    Grid->SortSettings()->SetShow(true);
    Grid->SetCells(2, 3, "a much longer text than the column shows");
    int canSort = 0, clickCell = 0, sizeEvents = 0;
    Grid->OnCanSort = [&](TObject*, int, bool&) { ++canSort; };
    Grid->OnClickCell = [&](TObject*, int, int) { ++clickCell; };
    Grid->OnEndColumnSize = [&](TObject*, int ACol) {
        EXPECT_EQ(ACol, 2);
        ++sizeEvents;
    };
    const int before = Grid->ColWidths(2);
    // The border between columns 2 and 3, one pixel into column 3.
    const TRect r3 = Grid->CellRect(3, 0);
    DblClick(r3.Left + 1, (r3.Top + r3.Bottom) / 2);
    EXPECT_GT(Grid->ColWidths(2), before);
    EXPECT_GE(sizeEvents, 1);
    EXPECT_EQ(canSort, 0) << "the release after the autosize does not sort";
    EXPECT_EQ(clickCell, 0) << "a press on the sizing border is no cell click";

    // A refused OnColumnSize keeps the width.
    Grid->SetColWidths(2, 40);
    Grid->OnColumnSize = [](TObject*, int, bool& Allow) { Allow = false; };
    const TRect moved = Grid->CellRect(3, 0);
    DblClick(moved.Left + 1, (moved.Top + moved.Bottom) / 2);
    EXPECT_EQ(Grid->ColWidths(2), 40);
}

TEST_F(GridMouse, HeaderClicksSortAndTheThirdClickUndoesTheSortWithUndoSort) {
    Grid->SortSettings()->SetShow(true);
    Grid->SortSettings()->SetUndoSort(true);
    Grid->SortSettings()->SetInitSortDirection(sdAscending);
    std::vector<int> sorted;
    Grid->OnClickSort = [&](TObject*, int ACol) { sorted.push_back(ACol); };
    Click(2, 0);
    EXPECT_EQ(Grid->SortSettings()->Column(), 2);
    EXPECT_EQ(Grid->SortSettings()->Direction(), sdAscending);
    Click(2, 0);
    EXPECT_EQ(Grid->SortSettings()->Column(), 2);
    EXPECT_EQ(Grid->SortSettings()->Direction(), sdDescending);
    Click(2, 0);
    EXPECT_EQ(Grid->SortSettings()->Column(), -1);
    EXPECT_EQ(sorted, (std::vector<int>{2, 2, -1}));

    // OnCanSort refuses: nothing changes.
    Grid->OnCanSort = [](TObject*, int, bool& DoSort) { DoSort = false; };
    Click(3, 0);
    EXPECT_EQ(Grid->SortSettings()->Column(), -1);
    EXPECT_EQ(sorted.size(), 3u);
}

// With AutoColumnMerge a header sort splits the merged columns first and merges equal
// neighbours again afterwards; rows added since the last sort make the unsort start from the
// order of the sort that follows.
TEST_F(GridMouse, HeaderSortsRemergeColumnsAndUnsortAfterAddedRows) {
    Grid->SortSettings()->SetShow(true);
    Grid->SortSettings()->SetAutoColumnMerge(true);
    const char* texts[] = {"b", "a", "b", "a", "c", "a", "b"};
    for (int r = 1; r < 8; ++r) Grid->SetCells(2, r, texts[r - 1]);
    Grid->MergedColumns()->Add(2);
    Click(2, 0);
    std::vector<String> col;
    for (int r = 1; r < 8; ++r) col.push_back(Grid->Cells(2, r));
    EXPECT_EQ(col, (std::vector<String>{"a", "a", "a", "b", "b", "b", "c"}));
    EXPECT_EQ(Grid->CellSpan(2, 1).Y, 2); // rows 1..3: one area
    EXPECT_EQ(Grid->BaseCell(2, 5).Y, 4); // rows 4..6: one area
    EXPECT_FALSE(Grid->IsMergedCell(2, 7));

    Grid->SortSettings()->SetAutoColumnMerge(false);
    Grid->MergedColumns()->Clear();
    Grid->SortSettings()->SetUndoSort(true);
    Grid->SortSettings()->SetInitSortDirection(sdAscending);
    Grid->SortSettings()->SetColumn(-1);
    Grid->SetRowCount(9);
    Grid->SetCells(3, 8, "added");
    std::vector<String> before;
    for (int r = 1; r < 9; ++r) before.push_back(Grid->Cells(3, r));
    Click(3, 0); // ascending
    Click(3, 0); // descending
    Click(3, 0); // back to the order before the first of these sorts
    std::vector<String> after;
    for (int r = 1; r < 9; ++r) after.push_back(Grid->Cells(3, r));
    EXPECT_EQ(after, before);
}

TEST_F(GridMouse, APressOnTheSortRowReleasedOnAnotherRowDoesNotSort) {
    Grid->SortSettings()->SetShow(true);
    int sorts = 0;
    Grid->OnClickSort = [&](TObject*, int) { ++sorts; };
    const TPoint from = Centre(2, 0), to = Centre(2, 2);
    SimulateMouseDown(Grid, mbLeft, {}, from.X, from.Y);
    SimulateMouseUp(Grid, mbLeft, {}, to.X, to.Y);
    Drain();
    EXPECT_EQ(sorts, 0);
}

// ---------------------------------------------------------------------------------------------
// The right button

TEST_F(GridMouse, ARightClickWithSelectOnRightClickMakesTheCellCurrent) {
    Grid->MouseActions()->SelectOnRightClick = true;
    std::vector<std::string> order;
    Grid->OnClickCell = [&](TObject*, int ARow, int ACol) {
        order.push_back("click " + std::to_string(ARow) + "," + std::to_string(ACol));
    };
    const TPoint p = Centre(3, 5);
    SimulateClick(Grid, p.X, p.Y, mbRight);
    Drain();
    EXPECT_EQ(Grid->Col(), 3);
    EXPECT_EQ(Grid->Row(), 5);

    // With OnRightClickCell the cell is focused and the event fires last.
    Grid->OnRightClickCell = [&](TObject*, int ARow, int ACol) {
        order.push_back("right " + std::to_string(ARow) + "," + std::to_string(ACol) + " current " +
                        std::to_string(Grid->Row()) + "," + std::to_string(Grid->Col()));
    };
    const TPoint q = Centre(2, 2);
    SimulateClick(Grid, q.X, q.Y, mbRight);
    Drain();
    EXPECT_EQ(order.back(), "right 2,2 current 2,2");

    // Without the option the current cell stays.
    Grid->MouseActions()->SelectOnRightClick = false;
    const TPoint s = Centre(4, 6);
    SimulateClick(Grid, s.X, s.Y, mbRight);
    Drain();
    EXPECT_EQ(Grid->Col(), 2);
    EXPECT_EQ(Grid->Row(), 2);
    EXPECT_EQ(order.back(), "right 6,4 current 2,2");
}

// ---------------------------------------------------------------------------------------------
// Cell buttons

TEST_F(GridMouse, ACellButtonClicksOnlyWhenReleasedOnIt) {
    SetEditing(true);
    Grid->SetColWidths(2, 100);
    Grid->AddButton(2, 3, 40, 18, "Go", haLeft, vaTop);
    int clicks = 0;
    Grid->OnButtonClick = [&](TObject*, int ACol, int ARow) {
        EXPECT_EQ(ACol, 2);
        EXPECT_EQ(ARow, 3);
        ++clicks;
    };
    const TRect b = Grid->GetButtonRect(2, 3);
    ASSERT_LT(b.Left, b.Right);
    const int x = (b.Left + b.Right) / 2, y = (b.Top + b.Bottom) / 2;
    SimulateClick(Grid, x, y);
    Drain();
    EXPECT_EQ(clicks, 1);

    const TPoint away = Centre(4, 6);
    SimulateMouseDown(Grid, mbLeft, {}, x, y);
    EXPECT_TRUE(Grid->MouseCapture());
    SimulateMouseUp(Grid, mbLeft, {}, away.X, away.Y);
    Drain();
    EXPECT_EQ(clicks, 1);
    EXPECT_FALSE(Grid->MouseCapture());
}

// ---------------------------------------------------------------------------------------------
// Links

class GridLinks : public GridMouse {
protected:
    void SetUp() override {
        GridMouse::SetUp();
        FOld = SetOpenDocumentHook([this](const String& File) {
            Opened.push_back(File.toStdString());
            return true;
        });
        Grid->SetColWidths(1, 200);
    }
    void TearDown() override {
        SetOpenDocumentHook(FOld);
        GridMouse::TearDown();
    }
    // A link at the start of cell (1, 1), clicked on its first letters.
    void ClickLink(const String& Href) {
        Grid->SetCells(1, 1, QStringLiteral("<a href=\"%1\">linktext</a>").arg(Href));
        const TRect r = Grid->CellRect(1, 1);
        SimulateClick(Grid, r.Left + Grid->XYOffset.X + 6, (r.Top + r.Bottom) / 2);
        Drain();
    }
    std::vector<std::string> Opened;
    TOpenDocumentHook FOld;
};

TEST_F(GridLinks, CellReferencesMoveTheCurrentCellInsideTheGridOnly) {
    ClickLink("CELL://R3C2");
    EXPECT_EQ(Grid->Row(), 3);
    EXPECT_EQ(Grid->Col(), 2);
    ClickLink("cell://r5c4");
    EXPECT_EQ(Grid->Row(), 5);
    EXPECT_EQ(Grid->Col(), 4);
    for (const char* bad : {"CELL://R30C2", "CELL://R3C99", "CELL://nonsense", "CELL://"}) {
        SCOPED_TRACE(bad);
        ClickLink(bad);
        EXPECT_EQ(Grid->Row(), 5);
        EXPECT_EQ(Grid->Col(), 4);
    }
    EXPECT_TRUE(Opened.empty());
}

TEST_F(GridLinks, OnlyAddressesAndPlainFilesGoToTheDesktop) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    auto make = [&](const char* Name, bool Executable) {
        const QString path = dir.filePath(QString::fromLatin1(Name));
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("x");
        f.close();
        if (Executable) f.setPermissions(f.permissions() | QFileDevice::ExeOwner);
        return path;
    };
    const QString doc = make("notes.txt", false);
    const QString prog = make("tool.sh", true);
    const QString script = make("run.bat", false);
    struct Case {
        QString Href;
        bool Opens;
    };
    const std::vector<Case> cases = {
        {"http://example.com/a", true},
        {"https://example.com", true},
        {"ftp://example.com/f", true},
        {"mailto:someone@example.com", true},
        {doc, true},
        {"file://" + doc, true},
        {prog, false},
        {script, false},
        {dir.filePath("missing.txt"), false},
        {dir.path(), false},
        {"javascript:alert(1)", false},
        {"smb://server/share", false},
        {"/bin/sh", false},
        {"http://", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Href.toStdString());
        Opened.clear();
        ClickLink(c.Href);
        if (c.Opens)
            EXPECT_EQ(Opened, (std::vector<std::string>{c.Href.toStdString()}));
        else
            EXPECT_TRUE(Opened.empty());
    }
}

TEST_F(GridLinks, OnAnchorClickMayTakeTheLinkOver) {
    String seen;
    Grid->OnAnchorClick = [&](TObject*, int ARow, int ACol, const String& Anchor, bool& AutoHandle) {
        EXPECT_EQ(ARow, 1);
        EXPECT_EQ(ACol, 1);
        seen = Anchor;
        AutoHandle = false;
    };
    ClickLink("CELL://R4C3");
    EXPECT_EQ(seen, "CELL://R4C3");
    EXPECT_NE(Grid->Row(), 4);
}

// ---------------------------------------------------------------------------------------------
// The fixed-cell editor

TEST_F(GridMouse, AFixedCellEditorOpensOnADoubleClickAndItsTextLands) {
    Grid->MouseActions()->FixedRowsEdit = fceDblClick;
    Grid->SetCells(2, 0, "Head");
    const TPoint p = Centre(2, 0);
    DblClick(p.X, p.Y);
    TGridTransEdit* edit = nullptr;
    for (int i = 0; i < Grid->ControlCount(); ++i)
        if (auto* e = dynamic_cast<TGridTransEdit*>(Grid->Controls(i)); e && e->Visible()) edit = e;
    ASSERT_NE(edit, nullptr);
    EXPECT_EQ(edit->Text(), "Head");
    // Typing reports the fixed cell and the editor's text through OnEditChange.
    struct Change {
        TObject* Sender;
        int Col, Row;
        String Value;
    };
    std::vector<Change> changes;
    Grid->OnEditChange = [&](TObject* Sender, int ACol, int ARow, const String& Value) {
        changes.push_back({Sender, ACol, ARow, Value});
    };
    edit->SetText("Renamed");
    ASSERT_FALSE(changes.empty());
    EXPECT_EQ(changes.back().Sender, edit);
    EXPECT_EQ(changes.back().Col, 2);
    EXPECT_EQ(changes.back().Row, 0);
    EXPECT_EQ(changes.back().Value, "Renamed");
    Grid->OnEditChange = nullptr;
    EXPECT_TRUE(edit->StopEdit());
    EXPECT_EQ(Grid->Cells(2, 0), "Renamed");
    EXPECT_FALSE(edit->Visible());

    // OnCanEditCell refuses: nothing opens.
    Grid->OnCanEditCell = [](TObject*, int, int, bool& Allow) { Allow = false; };
    DblClick(p.X, p.Y);
    EXPECT_FALSE(edit->Visible());
}

// ---------------------------------------------------------------------------------------------
// Scrolling by a press

TEST_F(GridMouse, NoScrollOnPartialRowKeepsTheTopRow) {
    Grid->SetRowCount(40);
    // Find the partly shown last row.
    const int partial = Grid->TopRow() + Grid->VisibleRowCount();
    const TRect r = Grid->CellRect(1, partial);
    ASSERT_LT(r.Top, Grid->ClientHeight());
    const int y = std::min(r.Top + 3, Grid->ClientHeight() - 1);
    Grid->MouseActions()->NoScrollOnPartialRow = true;
    const int top = Grid->TopRow();
    SimulateClick(Grid, (r.Left + r.Right) / 2, y);
    Drain();
    EXPECT_EQ(Grid->TopRow(), top);
}

} // namespace
