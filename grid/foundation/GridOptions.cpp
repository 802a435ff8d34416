#include "GridOptions.h"

#include "Graphics.h"

// ---- TSearchFooter ----

TSearchFooter::TSearchFooter(TComponent* AOwner, bool InitDesign) : FOwner(AOwner), FFont(new TFont) {
    if (InitDesign) {
        FFindNextCaption = QStringLiteral("Find &next");
        FFindPrevCaption = QStringLiteral("Find &previous");
        FMatchCaseCaption = QStringLiteral("Match case");
        FHighLightCaption = QStringLiteral("Highlight");
        FHintClose = QStringLiteral("Close");
        FHintFindPrev = QStringLiteral("Find previous occurrence");
        FHintHighlight = QStringLiteral("Highlight occurrences");
        FHintFindNext = QStringLiteral("Find next occurrence");
    }
}

TSearchFooter::~TSearchFooter() {
    TObject::Free(FFont);
}

TPersistent* TSearchFooter::GetOwner() {
    return FOwner;
}

void TSearchFooter::Changed() {
    if (Assigned(OnChange)) OnChange(this);
}

void TSearchFooter::Assign(TPersistent* Source) {
    auto* src = dynamic_cast<TSearchFooter*>(Source);
    if (!src) return;
    AlwaysHighLight = src->AlwaysHighLight;
    FColor = src->FColor;
    FColorTo = src->FColorTo;
    FFindNextCaption = src->FFindNextCaption;
    FFindPrevCaption = src->FFindPrevCaption;
    FHighLightCaption = src->FHighLightCaption;
    FHintClose = src->FHintClose;
    FHintFindNext = src->FHintFindNext;
    FHintFindPrev = src->FHintFindPrev;
    FHintHighlight = src->FHintHighlight;
    FMatchCaseCaption = src->FMatchCaseCaption;
    FShowClose = src->FShowClose;
    FShowFindNext = src->FShowFindNext;
    FShowFindPrev = src->FShowFindPrev;
    FShowHighLight = src->FShowHighLight;
    FShowMatchCase = src->FShowMatchCase;
    SearchActiveColumnOnly = src->SearchActiveColumnOnly;
    SearchMatchStart = src->SearchMatchStart;
    SearchColumn = src->SearchColumn;
    SearchDirection = src->SearchDirection;
    SearchHiddenRows = src->SearchHiddenRows;
    FVisible = src->FVisible;
    // The font's own OnChange is not ours: copying it fires nothing here.
    FFont->Assign(src->FFont);
}

#define NOTIFY_ON_CHANGE(Name, Type)                                                                         \
    void TSearchFooter::Set##Name(Type Value) {                                                              \
        if (F##Name == Value) return;                                                                        \
        F##Name = Value;                                                                                     \
        Changed();                                                                                           \
    }
#define ALWAYS_NOTIFY(Name, Type)                                                                            \
    void TSearchFooter::Set##Name(Type Value) {                                                              \
        F##Name = Value;                                                                                     \
        Changed();                                                                                           \
    }

NOTIFY_ON_CHANGE(ShowFindNext, bool)
NOTIFY_ON_CHANGE(ShowFindPrev, bool)
NOTIFY_ON_CHANGE(ShowHighLight, bool)
NOTIFY_ON_CHANGE(ShowMatchCase, bool)
NOTIFY_ON_CHANGE(Visible, bool)

ALWAYS_NOTIFY(Color, TColor)
ALWAYS_NOTIFY(ColorTo, TColor)
ALWAYS_NOTIFY(FindNextCaption, const String&)
ALWAYS_NOTIFY(FindPrevCaption, const String&)
ALWAYS_NOTIFY(HighLightCaption, const String&)
ALWAYS_NOTIFY(MatchCaseCaption, const String&)
ALWAYS_NOTIFY(HintClose, const String&)
ALWAYS_NOTIFY(HintFindNext, const String&)
ALWAYS_NOTIFY(HintFindPrev, const String&)
ALWAYS_NOTIFY(HintHighlight, const String&)
ALWAYS_NOTIFY(ShowClose, bool)
ALWAYS_NOTIFY(AutoThemeAdapt, bool)

#undef NOTIFY_ON_CHANGE
#undef ALWAYS_NOTIFY

void TSearchFooter::SetFont(TFont* Value) {
    FFont->Assign(Value);
    Changed();
}

// ---- TNavigation ----

void TNavigation::Changed() {
    if (Assigned(OnChange)) OnChange(this);
}

void TNavigation::SetAdvanceDirection(TAdvanceDirection Value) {
    if (FAdvanceDirection == Value) return;
    FAdvanceDirection = Value;
    Changed();
}

void TNavigation::SetAdvanceInsert(bool Value) {
    if (FAdvanceInsert == Value) return;
    FAdvanceInsert = Value;
    Changed();
}

void TNavigation::SetAdvanceAuto(bool Value) {
    if (FAdvanceAuto == Value) return;
    FAdvanceAuto = Value;
    if (Value) AdvanceOnEnter = true;
}

void TNavigation::Assign(TPersistent* Source) {
    auto* src = dynamic_cast<TNavigation*>(Source);
    if (!src) return;
    const bool keepScroll = KeepScrollOnSort;
    AllowInsertRow = src->AllowInsertRow;
    AllowDeleteRow = src->AllowDeleteRow;
    AdvanceOnEnter = src->AdvanceOnEnter;
    FAdvanceInsert = src->FAdvanceInsert;
    AutoGotoWhenSorted = src->AutoGotoWhenSorted;
    AutoGotoIncremental = src->AutoGotoIncremental;
    AutoComboDropSize = src->AutoComboDropSize;
    AllowClipboardShortCuts = src->AllowClipboardShortCuts;
    AllowRTFClipboard = src->AllowRTFClipboard;
    AllowSmartClipboard = src->AllowSmartClipboard;
    AllowClipboardAlways = src->AllowClipboardAlways;
    AllowClipboardColGrow = src->AllowClipboardColGrow;
    AllowClipboardRowGrow = src->AllowClipboardRowGrow;
    ClipboardPasteAction = src->ClipboardPasteAction;
    CopyHTMLTagsToClipboard = src->CopyHTMLTagsToClipboard;
    FAdvanceDirection = src->FAdvanceDirection;
    FAdvanceAuto = src->FAdvanceAuto;
    AdvanceAutoEdit = src->AdvanceAutoEdit;
    CursorWalkEditor = src->CursorWalkEditor;
    CursorWalkAlwaysEdit = src->CursorWalkAlwaysEdit;
    MoveRowOnSort = src->MoveRowOnSort;
    ImproveMaskSel = src->ImproveMaskSel;
    AlwaysEdit = src->AlwaysEdit;
    InsertPosition = src->InsertPosition;
    LineFeedOnEnter = src->LineFeedOnEnter;
    HomeEndKey = src->HomeEndKey;
    KeepHorizScroll = src->KeepHorizScroll;
    AllowFmtClipboard = src->AllowFmtClipboard;
    TabToNextAtEnd = src->TabToNextAtEnd;
    EditSelectAll = src->EditSelectAll;
    TabAdvanceDirection = src->TabAdvanceDirection;
    SkipFixedCells = src->SkipFixedCells;
    SkipDisabledRows = src->SkipDisabledRows;
    AllowCtrlEnter = src->AllowCtrlEnter;
    AppendOnArrowDown = src->AppendOnArrowDown;
    LeftRightRowSelect = src->LeftRightRowSelect;
    MoveScrollOnly = src->MoveScrollOnly;
    ComboGetUpDown = src->ComboGetUpDown;
    AdvanceOnEnterLoop = src->AdvanceOnEnterLoop;
    CursorAdvance = src->CursorAdvance;
    AdvanceSkipReadOnlyCells = src->AdvanceSkipReadOnlyCells;
    CursorMoveRows = src->CursorMoveRows;
    KeepScrollOnSort = keepScroll;
}

// ---- TMouseActions ----

TMouseActions::TMouseActions(TComponent* AOwner) : FOwner(AOwner), FFixedComboValues(new TStringList) {}

TMouseActions::~TMouseActions() {
    TObject::Free(FFixedComboValues);
}

TPersistent* TMouseActions::GetOwner() {
    return FOwner;
}

bool TMouseActions::IsDesigning() {
    bool designing = false;
    if (Assigned(OnIsDesigning)) OnIsDesigning(this, designing);
    return designing;
}

void TMouseActions::SetDisjunctRowSelect(bool Value) {
    FDisjunctRowSelect = Value;
    if (Value && IsDesigning()) {
        FDisjunctColSelect = false;
        FDisjunctCellSelect = false;
    }
}

void TMouseActions::SetDisjunctColSelect(bool Value) {
    FDisjunctColSelect = Value;
    if (Value && IsDesigning()) {
        FDisjunctRowSelect = false;
        FDisjunctCellSelect = false;
    }
}

void TMouseActions::SetDisjunctCellSelect(bool Value) {
    FDisjunctCellSelect = Value;
    if (Value && IsDesigning()) {
        FDisjunctRowSelect = false;
        FDisjunctColSelect = false;
    }
}

void TMouseActions::SetHotmailRowSelect(bool Value) {
    FHotmailRowSelect = Value;
    if (Value) {
        FDisjunctRowSelect = true;
        CheckAllCheck = true;
    }
    if (Assigned(OnInvalidate)) OnInvalidate(this);
}

void TMouseActions::SetEditOnDblClickOnly(bool Value) {
    FEditOnDblClickOnly = Value;
    if (Value && Assigned(OnDisableEdit)) OnDisableEdit(this);
}

void TMouseActions::SetWheelAction(TWheelAction Value) {
    if (FWheelAction == Value) return;
    FWheelAction = Value;
    if (Assigned(OnChange)) OnChange(this);
}

TStrings* TMouseActions::FixedComboValues() const {
    return FFixedComboValues;
}

void TMouseActions::SetFixedComboValues(TStrings* Value) {
    FFixedComboValues->Assign(Value);
}

void TMouseActions::Assign(TPersistent* Source) {
    auto* src = dynamic_cast<TMouseActions*>(Source);
    if (!src) return;
    AllColumnSize = src->AllColumnSize;
    AllRowSize = src->AllRowSize;
    AllSelect = src->AllSelect;
    AutoSizeColOnDblClick = src->AutoSizeColOnDblClick;
    CaretPositioning = src->CaretPositioning;
    CheckAllCheck = src->CheckAllCheck;
    ColSelect = src->ColSelect;
    DirectComboClose = src->DirectComboClose;
    DirectComboDrop = src->DirectComboDrop;
    DirectDateClose = src->DirectDateClose;
    DirectDateDrop = src->DirectDateDrop;
    DirectEdit = src->DirectEdit;
    FDisjunctRowSelect = src->FDisjunctRowSelect;
    FDisjunctColSelect = src->FDisjunctColSelect;
    FDisjunctCellSelect = src->FDisjunctCellSelect;
    FixedRowsEdit = src->FixedRowsEdit;
    FixedColsEdit = src->FixedColsEdit;
    FixedColsEditor = src->FixedColsEditor;
    FixedRowsEditor = src->FixedRowsEditor;
    MoveRowOnNodeClick = src->MoveRowOnNodeClick;
    NoAutoRangeScroll = src->NoAutoRangeScroll;
    NodeAllExpandContract = src->NodeAllExpandContract;
    NoScrollOnPartialRow = src->NoScrollOnPartialRow;
    PreciseCheckBoxCheck = src->PreciseCheckBoxCheck;
    PreciseNodeClick = src->PreciseNodeClick;
    RangeSelectAndEdit = src->RangeSelectAndEdit;
    RowSelect = src->RowSelect;
    RowSelectPersistent = src->RowSelectPersistent;
    SelectOnRightClick = src->SelectOnRightClick;
    SizeFixedCol = src->SizeFixedCol;
    WheelIncrement = src->WheelIncrement;
    FWheelAction = src->FWheelAction;
    DisjunctRowSelectNoCtrl = src->DisjunctRowSelectNoCtrl;
}

// ---- TSyncGrid ----

void TSyncGrid::SetGrid(TStringGrid* Value) {
    if (Value == FOwner) return;
    FGrid = Value;
}

void TSyncGrid::Assign(TPersistent* Source) {
    auto* src = dynamic_cast<TSyncGrid*>(Source);
    if (!src) return;
    SetGrid(src->FGrid);
    ScrollHorizontal = src->ScrollHorizontal;
    ScrollVertical = src->ScrollVertical;
    SelectionRow = src->SelectionRow;
    SelectionColumn = src->SelectionColumn;
    MoveRow = src->MoveRow;
    MoveColumn = src->MoveColumn;
}

// ---- TBands ----

void TBands::Changed() {
    if (Assigned(OnChange)) OnChange(this);
}

void TBands::SetActive(bool Value) {
    if (FActive == Value) return;
    FActive = Value;
    Changed();
}

void TBands::SetPrimaryColor(TColor Value) {
    if (FPrimaryColor == Value) return;
    FPrimaryColor = Value;
    if (FActive) Changed();
}

void TBands::SetSecondaryColor(TColor Value) {
    if (FSecondaryColor == Value) return;
    FSecondaryColor = Value;
    if (FActive) Changed();
}

void TBands::SetPrimaryLength(int Value) {
    if (FPrimaryLength == Value) return;
    FPrimaryLength = Value;
    FTotalLength = FPrimaryLength + FSecondaryLength;
    if (FActive) Changed();
}

void TBands::SetSecondaryLength(int Value) {
    if (FSecondaryLength == Value) return;
    FSecondaryLength = Value;
    FTotalLength = FPrimaryLength + FSecondaryLength;
    if (FActive) Changed();
}

void TBands::Assign(TPersistent* Source) {
    auto* src = dynamic_cast<TBands*>(Source);
    if (!src) return;
    FActive = src->FActive;
    FPrimaryColor = src->FPrimaryColor;
    FPrimaryLength = src->FPrimaryLength;
    FSecondaryColor = src->FSecondaryColor;
    FSecondaryLength = src->FSecondaryLength;
    Print = src->Print;
    FTotalLength = FPrimaryLength + FSecondaryLength;
}

// ---- TFocusHelper ----

void TFocusHelper::Assign(TPersistent* Source) {
    if (auto* src = dynamic_cast<TFocusHelper*>(Source)) Enabled = src->Enabled;
}
