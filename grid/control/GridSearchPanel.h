// The grid's search footer: a panel docked at the bottom of the grid with the search text, find
// next, find previous, highlight, match case and close. The grid copies its SearchFooter settings
// onto it and runs the searches in its handlers of the panel's events.
#pragma once

#include "ExtPanels.h"
#include "GridAuxControls.h"
#include "StdCtrls.h"

#include <cstddef>
#include <initializer_list>

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
// A set of find options in 16 bits, bit n for option n.
class TFindParams {
public:
    constexpr TFindParams() = default;
    constexpr TFindParams(std::initializer_list<TFindParameters> Values) {
        for (TFindParameters v : Values) FBits = quint16(FBits | Bit(v));
    }
    void insert(TFindParameters Value) { FBits = quint16(FBits | Bit(Value)); }
    void erase(TFindParameters Value) { FBits = quint16(FBits & ~Bit(Value)); }
    bool contains(TFindParameters Value) const { return (FBits & Bit(Value)) != 0; }
    std::size_t count(TFindParameters Value) const { return contains(Value) ? 1 : 0; }
    bool empty() const { return FBits == 0; }
    quint16 Bits() const { return FBits; }
    friend bool operator==(TFindParams A, TFindParams B) { return A.FBits == B.FBits; }
    friend bool operator!=(TFindParams A, TFindParams B) { return A.FBits != B.FBits; }

private:
    static constexpr quint16 Bit(TFindParameters Value) { return quint16(1u << unsigned(Value)); }
    quint16 FBits = 0;
};

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
