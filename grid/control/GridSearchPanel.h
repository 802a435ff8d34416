// The grid's search footer: a panel docked at the bottom of the grid with the search text, find
// next, find previous, highlight, match case and close. The grid copies its SearchFooter settings
// onto it and runs the searches in its handlers of the panel's events.
#pragma once

#include "ExtPanels.h"
#include "GridAuxControls.h"
#include "StdCtrls.h"

#include <set>

class TAdvStringGrid;

// The options of a cell search.
enum TFindParameters {
    fnMatchCase,
    fnMatchFull,
    fnMatchRegular,
    fnDirectionLeftRight,
    fnMatchStart,
    fnFindInCurrentRow,
    fnFindInCurrentCol,
    fnIncludeFixed,
    fnAutoGoto,
    fnIgnoreHTMLTags,
    fnBackward,
    fnIncludeHiddenColumns,
    fnFindInPresetCol,
    fnFindInPresetRow,
    fnSelectedCells,
    fnIncludeHiddenRows
};
using TFindParams = std::set<TFindParameters>;

// Value: the search text; DefaultSearch false skips the grid's own search.
using TSearchEditChangeEvent = TEvent<TObject*, const String& /*Value*/, bool& /*DefaultSearch*/>;

// The search text: Return fires OnReturn, Ctrl+Return OnCtrlReturn, and neither reaches the
// edit's own key handling; a typed carriage return or line feed reaches only OnKeyPress.
class TRetEdit : public TEdit {
public:
    explicit TRetEdit(TComponent* AOwner) : TEdit(AOwner) {}

    TNotifyEvent OnReturn;
    TNotifyEvent OnCtrlReturn;

    void Dispatch(TMessage& Message) override;

protected:
    void CreateParams(TCreateParams& Params) override;
};

class TSearchPanel : public TPanel {
public:
    // AOwner is the grid (any other owner: a panel without a grid).
    explicit TSearchPanel(TComponent* AOwner);

    TAdvStringGrid* Grid() const { return FGrid; }
    TRetEdit* EditControl() const { return FEdit; }
    TAdvGridButton* ExitButton() const { return FExitButton; }
    TAdvGridButton* ForwardButton() const { return FForwardButton; }
    TAdvGridButton* BackwardButton() const { return FBackwardButton; }
    TAdvGridButton* HiliteButton() const { return FHiliteButton; }
    TAdvCheckBox* MatchCase() const { return FMatchCase; }

    // End colour of the background's vertical gradient; clNone paints the plain Color.
    TColor ColorTo() const { return FColorTo; }
    void SetColorTo(TColor Value);

    String FindNextCaption;
    String FindPrevCaption;
    String MatchCaseCaption;
    String HighLightCaption;
    String HintFindPrev;
    String HintClose;
    String HintFindNext;
    String HintHighlight;

    TNotifyEvent OnForwardClick;
    TNotifyEvent OnBackwardClick;
    TNotifyEvent OnEditChange;
    TNotifyEvent OnExitClick;
    TNotifyEvent OnHighlightClick;

    // Places the children as the panel's width and reading order ask (window creation does it).
    void LayoutChildren();

protected:
    void CreateWnd() override;
    void Paint() override;

private:
    void EditChanged(TObject* Sender);

    TAdvStringGrid* FGrid = nullptr;
    TRetEdit* FEdit;
    TAdvGridButton* FForwardButton;
    TAdvGridButton* FBackwardButton;
    TAdvGridButton* FExitButton;
    TAdvGridButton* FHiliteButton;
    TAdvCheckBox* FMatchCase;
    TColor FColorTo = clNone;
};
