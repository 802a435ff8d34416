// The grid's option objects: the search footer, keyboard navigation, mouse behaviour, a second
// grid kept in step, alternating row bands and the focus frame. The grid creates, owns and
// publishes them; each copies itself with Assign (only from its own class, firing nothing), and
// the setters that change what the grid shows call the object's OnChange.
//
// Settings without setter logic are public fields named like the setting; the others are a
// getter and a Set... setter.
#pragma once

#include "Classes.h"
#include "GridTypes.h"
#include "System.h"
#include "Types.h"

class TFont;
class TStrings;
class TStringList;
class TStringGrid;

// Settings of the search bar under the grid.
class TSearchFooter : public TPersistent {
public:
    // InitDesign: fill the captions and hints (only while the grid is being designed).
    TSearchFooter(TComponent* AOwner, bool InitDesign);
    ~TSearchFooter() override;

    void Assign(TPersistent* Source) override;

    // Notify only when the value changes.
    bool ShowFindNext() const { return FShowFindNext; }
    void SetShowFindNext(bool Value);
    bool ShowFindPrev() const { return FShowFindPrev; }
    void SetShowFindPrev(bool Value);
    bool ShowHighLight() const { return FShowHighLight; }
    void SetShowHighLight(bool Value);
    bool ShowMatchCase() const { return FShowMatchCase; }
    void SetShowMatchCase(bool Value);
    bool Visible() const { return FVisible; }
    void SetVisible(bool Value);

    // Store and always notify.
    TColor Color() const { return FColor; }
    void SetColor(TColor Value);
    TColor ColorTo() const { return FColorTo; }
    void SetColorTo(TColor Value);
    const String& FindNextCaption() const { return FFindNextCaption; }
    void SetFindNextCaption(const String& Value);
    const String& FindPrevCaption() const { return FFindPrevCaption; }
    void SetFindPrevCaption(const String& Value);
    const String& HighLightCaption() const { return FHighLightCaption; }
    void SetHighLightCaption(const String& Value);
    const String& MatchCaseCaption() const { return FMatchCaseCaption; }
    void SetMatchCaseCaption(const String& Value);
    const String& HintClose() const { return FHintClose; }
    void SetHintClose(const String& Value);
    const String& HintFindNext() const { return FHintFindNext; }
    void SetHintFindNext(const String& Value);
    const String& HintFindPrev() const { return FHintFindPrev; }
    void SetHintFindPrev(const String& Value);
    const String& HintHighlight() const { return FHintHighlight; }
    void SetHintHighlight(const String& Value);
    bool ShowClose() const { return FShowClose; }
    void SetShowClose(bool Value);
    bool AutoThemeAdapt() const { return FAutoThemeAdapt; }
    void SetAutoThemeAdapt(bool Value);
    TFont* Font() const { return FFont; }
    void SetFont(TFont* Value);

    // Plain settings.
    bool AutoSearch = true;
    int SearchColumn = -1; // -1: all columns
    bool SearchActiveColumnOnly = false;
    bool SearchMatchStart = false;
    bool SearchFixedCells = false;
    bool SearchHiddenRows = false;
    bool AlwaysHighLight = false;
    TSearchDirection SearchDirection = sdTopBottom;
    String LastSearch;

    TNotifyEvent OnChange;

protected:
    TPersistent* GetOwner() override;

private:
    void Changed();

    TComponent* FOwner;
    bool FShowFindPrev = true;
    bool FShowFindNext = true;
    String FFindNextCaption;
    String FFindPrevCaption;
    TColor FColorTo = clBtnFace;
    TColor FColor = 0xFFFFFF;
    bool FVisible = false;
    bool FAutoThemeAdapt = false;
    bool FShowClose = true;
    bool FShowHighLight = true;
    bool FShowMatchCase = true;
    String FMatchCaseCaption;
    String FHintClose;
    String FHintFindPrev;
    String FHintHighlight;
    String FHintFindNext;
    String FHighLightCaption;
    TFont* FFont;
};

// Keyboard, clipboard and editing movement.
class TNavigation : public TPersistent {
public:
    TNavigation() = default;

    // Copies every setting but KeepScrollOnSort.
    void Assign(TPersistent* Source) override;

    // Store a changed value and notify.
    TAdvanceDirection AdvanceDirection() const { return FAdvanceDirection; }
    void SetAdvanceDirection(TAdvanceDirection Value);
    bool AdvanceInsert() const { return FAdvanceInsert; }
    void SetAdvanceInsert(bool Value);
    // Turning it on turns AdvanceOnEnter on as well (without notification).
    bool AdvanceAuto() const { return FAdvanceAuto; }
    void SetAdvanceAuto(bool Value);

    bool AllowInsertRow = false;
    bool AllowDeleteRow = false;
    bool AdvanceOnEnter = false;
    bool AutoGotoWhenSorted = false;
    bool AutoGotoIncremental = false;
    bool AutoComboDropSize = false;
    bool AllowClipboardShortCuts = false;
    bool AllowRTFClipboard = false;
    bool AllowSmartClipboard = false;
    bool AllowClipboardAlways = false;
    bool AllowClipboardColGrow = true;
    bool AllowClipboardRowGrow = true;
    TClipboardPasteAction ClipboardPasteAction = paReplace;
    bool CopyHTMLTagsToClipboard = true;
    bool AdvanceAutoEdit = true;
    bool CursorWalkEditor = false;
    bool CursorWalkAlwaysEdit = true;
    bool MoveRowOnSort = false;
    bool KeepScrollOnSort = false;
    bool ImproveMaskSel = false;
    bool AlwaysEdit = false;
    TInsertPosition InsertPosition = pInsertBefore;
    bool LineFeedOnEnter = false;
    THomeEndAction HomeEndKey = heFirstLastColumn;
    bool KeepHorizScroll = false;
    bool AllowFmtClipboard = false;
    bool TabToNextAtEnd = false;
    bool EditSelectAll = true;
    TAdvanceDirection TabAdvanceDirection = adLeftRight;
    bool SkipFixedCells = true;
    bool SkipDisabledRows = true;
    bool AllowCtrlEnter = true;
    bool AppendOnArrowDown = false;
    bool LeftRightRowSelect = true;
    bool MoveScrollOnly = false;
    bool ComboGetUpDown = true;
    bool AdvanceOnEnterLoop = true;
    TCursorAdvance CursorAdvance = caDefault;
    bool AdvanceSkipReadOnlyCells = true;
    bool CursorMoveRows = false;

    TNotifyEvent OnChange;

private:
    void Changed();

    bool FAdvanceInsert = false;
    TAdvanceDirection FAdvanceDirection = adLeftRight;
    bool FAdvanceAuto = false;
};

// Mouse behaviour.
class TMouseActions : public TPersistent {
public:
    explicit TMouseActions(TComponent* AOwner = nullptr);
    ~TMouseActions() override;

    // Copies the settings as fields (without the setters' rules); SizeFixedRow,
    // HotmailRowSelect, EditOnDblClickOnly and FixedComboValues keep their values.
    void Assign(TPersistent* Source) override;

    // Disjunct selections: while the grid is being designed, turning one on turns the other two
    // off; at run time the three are independent.
    bool DisjunctRowSelect() const { return FDisjunctRowSelect; }
    void SetDisjunctRowSelect(bool Value);
    bool DisjunctColSelect() const { return FDisjunctColSelect; }
    void SetDisjunctColSelect(bool Value);
    bool DisjunctCellSelect() const { return FDisjunctCellSelect; }
    void SetDisjunctCellSelect(bool Value);
    // The same field as DisjunctRowSelect, without the setter's rule.
    bool DisjunctRowSelectDirect() const { return FDisjunctRowSelect; }
    void SetDisjunctRowSelectDirect(bool Value) { FDisjunctRowSelect = Value; }
    // On: also DisjunctRowSelect and CheckAllCheck; then OnInvalidate.
    bool HotmailRowSelect() const { return FHotmailRowSelect; }
    void SetHotmailRowSelect(bool Value);
    // On: OnDisableEdit.
    bool EditOnDblClickOnly() const { return FEditOnDblClickOnly; }
    void SetEditOnDblClickOnly(bool Value);
    // Stores a changed value and notifies.
    TWheelAction WheelAction() const { return FWheelAction; }
    void SetWheelAction(TWheelAction Value);
    // The values of the fixed-cell combo editor; the setter copies.
    TStrings* FixedComboValues() const;
    void SetFixedComboValues(TStrings* Value);

    bool ColSelect = false;
    bool RowSelect = false;
    bool AllSelect = false;
    bool DirectEdit = false;
    bool DirectComboDrop = false;
    bool DirectComboClose = false;
    bool DirectDateClose = false;
    bool DirectDateDrop = false;
    bool AllColumnSize = false;
    bool AllRowSize = false;
    bool CaretPositioning = false;
    bool SizeFixedCol = false;
    bool SizeFixedRow = false;
    TGridFixedCellEdit FixedRowsEdit = fceNone;
    TGridFixedCellEdit FixedColsEdit = fceNone;
    TGridFixedCellEditor FixedRowsEditor = fceEdit;
    TGridFixedCellEditor FixedColsEditor = fceEdit;
    bool RangeSelectAndEdit = false;
    bool NoAutoRangeScroll = false;
    bool PreciseCheckBoxCheck = false;
    bool PreciseNodeClick = true;
    bool CheckAllCheck = false;
    bool NodeAllExpandContract = false;
    bool MoveRowOnNodeClick = false;
    bool RowSelectPersistent = false;
    bool SelectOnRightClick = false;
    bool NoScrollOnPartialRow = false;
    int WheelIncrement = 0; // 0: the system's wheel lines
    bool AutoSizeColOnDblClick = true;
    bool DisjunctRowSelectNoCtrl = false;

    TNotifyEvent OnChange;
    TNotifyEvent OnInvalidate;
    TIsDesigningEvent OnIsDesigning;
    TNotifyEvent OnDisableEdit;

protected:
    TPersistent* GetOwner() override;

private:
    bool IsDesigning();

    TComponent* FOwner;
    bool FDisjunctRowSelect = false;
    bool FDisjunctColSelect = false;
    bool FDisjunctCellSelect = false;
    bool FHotmailRowSelect = false;
    bool FEditOnDblClickOnly = false;
    TWheelAction FWheelAction = waMoveSelection;
    TStringList* FFixedComboValues;
};

// Another grid kept in step with the owning grid.
class TSyncGrid : public TPersistent {
public:
    explicit TSyncGrid(TStringGrid* AOwner) : FOwner(AOwner) {}

    // Sets Grid through its writer, then copies the six switches.
    void Assign(TPersistent* Source) override;

    TStringGrid* Owner() const { return FOwner; }
    TStringGrid* Grid() const { return FGrid; }
    // The owning grid itself is ignored.
    void SetGrid(TStringGrid* Value);

    bool ScrollHorizontal = false;
    bool ScrollVertical = false;
    bool SelectionRow = false;
    bool SelectionColumn = false;
    bool MoveRow = false;
    bool MoveColumn = false;

private:
    TStringGrid* FOwner;
    TStringGrid* FGrid = nullptr;
};

// Alternating row colours: a data row whose offset from the first data row, modulo TotalLength,
// is below PrimaryLength takes PrimaryColor, the others SecondaryColor.
class TBands : public TPersistent {
public:
    TBands() = default;

    // Copies Active, the colours, the lengths and Print; TotalLength follows the lengths.
    void Assign(TPersistent* Source) override;

    // Stores a changed value and notifies.
    bool Active() const { return FActive; }
    void SetActive(bool Value);
    // Store a changed value; notify only while Active.
    TColor PrimaryColor() const { return FPrimaryColor; }
    void SetPrimaryColor(TColor Value);
    TColor SecondaryColor() const { return FSecondaryColor; }
    void SetSecondaryColor(TColor Value);
    int PrimaryLength() const { return FPrimaryLength; }
    void SetPrimaryLength(int Value);
    int SecondaryLength() const { return FSecondaryLength; }
    void SetSecondaryLength(int Value);
    // Always PrimaryLength + SecondaryLength.
    int TotalLength() const { return FTotalLength; }

    bool Print = false;

    TNotifyEvent OnChange;

private:
    void Changed();

    bool FActive = false;
    int FTotalLength = 2;
    int FSecondaryLength = 1;
    int FPrimaryLength = 1;
    TColor FSecondaryColor = clWindow;
    TColor FPrimaryColor = clInfoBk;
};

// The focus frame around the edited cell.
class TFocusHelper : public TPersistent {
public:
    explicit TFocusHelper(TComponent* AOwner = nullptr) : FOwner(AOwner) {}

    void Assign(TPersistent* Source) override;

    bool Enabled = false;

protected:
    TPersistent* GetOwner() override { return FOwner; }

private:
    TComponent* FOwner;
};
