// The grid's calls into search, files, clipboard and the drop-down editors, while those are not
// built: each does nothing and raises nothing.
#include "AdvGrid.h"
#include "asgdd.h"
#include "GridDropDowns.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

class TExtrasGrid : public TAdvStringGrid {
public:
    using TAdvStringGrid::FreeDropDownEditors;
    using TAdvStringGrid::SearchPanelBackwardClick;
    using TAdvStringGrid::SearchPanelEditChange;
    using TAdvStringGrid::SearchPanelExitClick;
    using TAdvStringGrid::SearchPanelForwardClick;
    using TAdvStringGrid::SearchPanelHighlightClick;
    using TAdvStringGrid::TAdvStringGrid;
};

// Every cell's text, row by row.
QStringList CellTexts(TAdvStringGrid* g) {
    QStringList texts;
    for (int r = 0; r < g->RowCount(); ++r)
        for (int c = 0; c < g->ColCount(); ++c) texts << g->Cells(c, r);
    return texts;
}

TEST(FeatureOffMembers, DoNothingAndRaiseNothing) {
    auto* g = new TExtrasGrid(nullptr);
    auto freeGrid = FreeAtEnd(g);
    g->SetRowCount(5);
    const char* column[] = {"pear", "apple", "fig", "banana"};
    for (int r = 1; r < 5; ++r) g->SetCells(1, r, column[r - 1]);
    g->SetSelection(TGridRect{1, 1, 2, 3});
    const QStringList before = CellTexts(g);

    struct Case {
        const char* Name;
        std::function<void()> Call;
        // What the call answers or leaves, beyond unchanged cells.
        std::function<void()> Check;
    };
    const Case cases[] = {
        {"UpdateSearchPanel", [&] { g->UpdateSearchPanel(); }, nullptr},
        {"SearchPanelEditChange", [&] { g->SearchPanelEditChange(g); }, nullptr},
        {"SearchPanelForwardClick", [&] { g->SearchPanelForwardClick(g); }, nullptr},
        {"SearchPanelBackwardClick", [&] { g->SearchPanelBackwardClick(g); }, nullptr},
        {"SearchPanelExitClick", [&] { g->SearchPanelExitClick(g); }, nullptr},
        {"SearchPanelHighlightClick", [&] { g->SearchPanelHighlightClick(g); }, nullptr},
        {"CopySelectionToClipboard", [&] { g->CopySelectionToClipboard(); }, nullptr},
        {"CutSelectionToClipboard", [&] { g->CutSelectionToClipboard(); }, nullptr},
        {"PasteSelectionFromClipboard", [&] { g->PasteSelectionFromClipboard(); }, nullptr},
        {"FreeDropDownEditors", [&] { g->FreeDropDownEditors(); },
         [&] {
             // Freed editors are made anew on the next use.
             EXPECT_NE(g->TrackbarDropDown(), nullptr);
             EXPECT_NE(g->AdvGridDropDown(), nullptr);
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        EXPECT_NO_THROW(c.Call());
        if (c.Check) c.Check();
        EXPECT_EQ(CellTexts(g), before);
        EXPECT_EQ(g->Selection(), (TGridRect{1, 1, 2, 3}));
    }
}

TEST(FeatureOffMembers, TheColourEditorIsTheColourPicker) {
    auto* g = new TAdvStringGrid(nullptr);
    auto freeGrid = FreeAtEnd(g);
    auto* colours = new TGridColorDropDown(g);
    // The colour picker's list is its popup control.
    EXPECT_NE(colours->Control(), nullptr);
    colours->AddDefaultColors();
    EXPECT_EQ(colours->Colors()->Count(), 16);
}

TEST(FeatureOffMembers, TheRtfFlagIsKept) {
    SetRTFDragDrop(true);
    EXPECT_TRUE(RTFDragDrop());
    SetRTFDragDrop(false);
    EXPECT_FALSE(RTFDragDrop());
}

} // namespace
