// TAdvStringGrid: the search footer. The handlers of the search panel's events search as the user
// types and on the buttons, highlight and close; UpdateSearchPanel copies the SearchFooter
// settings onto the panel.
#include "AdvGrid.h"

namespace {
enum { EditSearch, ForwardSearch, BackwardSearch };
} // namespace

TFindParams TAdvStringGrid::SearchFooterParams(int Handler) {
    TSearchPanel* panel = FSearchPanel.get();
    TSearchFooter* sf = FSearchFooter.get();
    TFindParams params{fnAutoGoto};
    if (Handler == BackwardSearch) params.insert(fnBackward);
    if (panel->HiliteButton()->Down()) params.insert(fnIgnoreHTMLTags);
    if (panel->MatchCase()->Checked()) params.insert(fnMatchCase);
    if (sf->SearchActiveColumnOnly) params.insert(fnFindInCurrentCol);
    if (sf->SearchMatchStart) params.insert(fnMatchStart);
    if (Handler == EditSearch && sf->SearchFixedCells) params.insert(fnIncludeFixed);
    if (Handler == EditSearch && sf->SearchHiddenRows) params.insert(fnIncludeHiddenRows);
    if (Handler != BackwardSearch && sf->SearchDirection == sdLeftRight) params.insert(fnDirectionLeftRight);
    if (sf->SearchColumn >= 0 && sf->SearchColumn < ColCount()) {
        params.insert(fnFindInPresetCol);
        FindCol = sf->SearchColumn;
    }
    return params;
}

void TAdvStringGrid::SetSearchEditColor(TColor Value) {
    FSearchPanel->EditControl()->SetColor(Value);
    FSearchPanel->EditControl()->Invalidate();
}

void TAdvStringGrid::RemoveFooterHighlight() {
    if (FSearchFooter->SearchColumn == -1)
        UnHilightInGrid(false);
    else
        UnHilightInCol(false, FSearchFooter->SearchColumn);
}

void TAdvStringGrid::ApplyFooterHighlight() {
    const String text = FSearchPanel->EditControl()->Text();
    const bool doCase = FSearchPanel->MatchCase()->Checked();
    if (FSearchFooter->SearchColumn == -1)
        HilightInGrid(false, doCase, text);
    else
        HilightInCol(false, doCase, FSearchFooter->SearchColumn, text);
}

void TAdvStringGrid::SearchPanelEditChange(TObject*) {
    if (!FSearchPanel) return;
    const String text = FSearchPanel->EditControl()->Text();
    bool defaultSearch = true;
    if (OnSearchEditChange) OnSearchEditChange(this, text, defaultSearch);
    if (!defaultSearch || !FSearchFooter->AutoSearch) return;

    const TFindParams params = SearchFooterParams(EditSearch);
    FFindParams = params;
    const bool highlight = FSearchPanel->HiliteButton()->Down() || FSearchFooter->AlwaysHighLight;
    if (highlight) RemoveFooterHighlight();

    if (!text.isEmpty()) {
        const TPoint found = Find(TPoint(-1, -1), text, params);
        SearchCell = found;
        SearchFooterAction(text, found.X, found.Y, saFindFirst);
        if (found.X < 0) {
            SetSearchEditColor(clRed);
        } else {
            SetSearchEditColor(clWindow);
            ScrollInView(found.X, found.Y);
            if (highlight) ApplyFooterHighlight();
        }
    } else {
        SetSearchEditColor(clWindow);
        if (FSearchPanel->HiliteButton()->Down()) RemoveFooterHighlight();
    }
}

// Find next and find previous: the same steps, but the previous search moves the top row before
// it scrolls the found cell into view.
void TAdvStringGrid::SearchFooterButtonSearch(bool Backward) {
    if (!FSearchPanel) return;
    const String text = FSearchPanel->EditControl()->Text();
    if (!FSearchFooter->AutoSearch) {
        // A new text starts the button search over.
        if (text != FLastSearch) SearchCell = TPoint(-1, -1);
        FLastSearch = text;
    }
    const TPoint found =
        Find(SearchCell, text, SearchFooterParams(Backward ? BackwardSearch : ForwardSearch));
    SearchCell = found;
    const auto showFound = [&] {
        if (found.X >= 0) ScrollInView(found.X, found.Y);
    };
    if (!Backward) showFound();
    const int f = FooterRowShown() ? 0 : 1;
    if (TopRow() + VisibleRowCount() + f - 3 < Row() &&
        (1 - f) + VisibleRowCount() + FixedRows() < RowCount())
        SetTopRow(TopRow() + 2);
    if (Backward) showFound();
    SearchFooterAction(text, found.X, found.Y, Backward ? saFindPrevious : saFindNext);
    FSearchPanel->Invalidate();
}

void TAdvStringGrid::SearchPanelForwardClick(TObject*) {
    SearchFooterButtonSearch(false);
}

void TAdvStringGrid::SearchPanelBackwardClick(TObject*) {
    SearchFooterButtonSearch(true);
}

void TAdvStringGrid::SearchPanelExitClick(TObject*) {
    if (OnSearchFooterClose) OnSearchFooterClose(this);
    FSearchFooter->SetVisible(false);
}

void TAdvStringGrid::SearchPanelHighlightClick(TObject*) {
    if (!FSearchPanel) return;
    if (FSearchPanel->HiliteButton()->Down())
        ApplyFooterHighlight();
    else
        RemoveFooterHighlight();
}

void TAdvStringGrid::UpdateSearchPanel() {
    TSearchPanel* panel = FSearchPanel.get();
    if (Loading() || !panel) return;
    TSearchFooter* sf = FSearchFooter.get();

    // 1. Closing the footer with highlighting on takes the highlighting away.
    if ((panel->HiliteButton()->Down() && panel->Visible() && !sf->Visible()) || sf->AlwaysHighLight)
        UnHilightInGrid(false);

    // 2.
    panel->SetColor(sf->Color());
    panel->SetColorTo(sf->ColorTo());
    panel->SetVisible(sf->Visible());

    // 3.
    panel->FindNextCaption = sf->FindNextCaption();
    panel->FindPrevCaption = sf->FindPrevCaption();
    panel->MatchCaseCaption = sf->MatchCaseCaption();
    panel->HighLightCaption = sf->HighLightCaption();
    panel->HintFindNext = sf->HintFindNext();
    panel->HintFindPrev = sf->HintFindPrev();
    panel->HintClose = sf->HintClose();
    panel->HintHighlight = sf->HintHighlight();
    panel->ForwardButton()->SetCaption(sf->FindNextCaption());
    panel->BackwardButton()->SetCaption(sf->FindPrevCaption());
    panel->MatchCase()->SetCaption(sf->MatchCaseCaption());
    panel->HiliteButton()->SetCaption(sf->HighLightCaption());
    panel->Font()->Assign(sf->Font());

    // 4. The buttons' look.
    TAdvGridButton* const looks[] = {panel->ForwardButton(), panel->BackwardButton(), panel->HiliteButton()};
    for (TAdvGridButton* b : looks) {
        switch (FControlLook->ControlStyle()) {
            case csFlat: b->SetFlat(true); break;
            case csWinXP:
            case csTheme:
                if (!FAutoThemeAdapt) {
                    b->SetAutoXPStyle(true);
                    b->SetFlat(false);
                }
                break;
            case csClassic:
                b->SetAutoXPStyle(false);
                b->SetFlat(false);
                break;
            default: break;
        }
        if (FAutoThemeAdapt) {
            b->SetAutoThemeAdapt(true);
            b->SetFlat(true);
        }
    }

    // 5. Which controls show.
    panel->HiliteButton()->SetVisible(sf->ShowHighLight());
    panel->ExitButton()->SetVisible(sf->ShowClose());
    panel->MatchCase()->SetVisible(sf->ShowMatchCase());
    panel->MatchCase()->SetTransparent(true);
    panel->BackwardButton()->SetVisible(sf->ShowFindPrev());
    panel->ForwardButton()->SetVisible(sf->ShowFindNext());

    // 6. Hints, shown only when there is a text.
    auto hint = [](TAdvGridButton* B, const String& Text) {
        B->SetHint(Text);
        B->SetShowHint(!Text.isEmpty());
    };
    hint(panel->ExitButton(), sf->HintClose());
    hint(panel->ForwardButton(), sf->HintFindNext());
    hint(panel->BackwardButton(), sf->HintFindPrev());
    hint(panel->HiliteButton(), sf->HintHighlight());

    // 7. Layout.
    panel->MatchCase()->SetLeft(panel->HiliteButton()->Visible() ? 425 : 330);
    for (TAdvGridButton* b : looks) b->SetHeight(b->Visible() ? 23 : 0);
    panel->MatchCase()->SetHeight(panel->MatchCase()->Visible() ? 18 : 0);

    // 8. The panel's height; the last row comes out from under it.
    if (sf->Visible()) {
        panel->SetHeight(32);
        panel->SetTop(Height() - 32);
        AdjustForSearchFooter();
    } else {
        panel->SetHeight(0);
    }
}
