// The grid's option objects: values, copies and how each tells the grid it changed.
#include "GridSettings.h"

#include "SysUtils.h"

// ---------------------------------------------------------------------------------------------
// TSortSettings

TSortSettings::TSortSettings(TGridSettingsHost* AGrid)
    : FGrid(AGrid), FSortUpGlyph(new TBitmap), FSortDownGlyph(new TBitmap), FIndexUpGlyph(new TBitmap),
      FIndexDownGlyph(new TBitmap) {}

TSortSettings::~TSortSettings() {
    delete FSortUpGlyph;
    delete FSortDownGlyph;
    delete FIndexUpGlyph;
    delete FIndexDownGlyph;
}

void TSortSettings::SetShow(bool Value) {
    if (Value == FSortShow) return;
    FSortShow = Value;
    if (FGrid) FGrid->SettingsRepaintGrid();
}

void TSortSettings::SetRow(int Value) {
    if (FGrid && Value >= FGrid->SettingsFixedRows())
        throw Exception(QStringLiteral("Sort row should be smaller than number of fixed rows"));
    FSortRow = Value;
}

void TSortSettings::RepaintHeaderRow() {
    if (FGrid && FGrid->SettingsFixedRows() > 0) FGrid->SettingsRepaintRow(FGrid->SettingsFixedRows() - 1);
}

void TSortSettings::SetHeader(TColor& Field, TColor Value) {
    if (Field == Value) return;
    Field = Value;
    RepaintHeaderRow();
}

void TSortSettings::SetHeaderColor(TColor Value) {
    SetHeader(FHeaderColor, Value);
}

void TSortSettings::SetHeaderColorTo(TColor Value) {
    SetHeader(FHeaderColorTo, Value);
}

void TSortSettings::SetHeaderMirrorColor(TColor Value) {
    SetHeader(FHeaderMirrorColor, Value);
}

void TSortSettings::SetHeaderMirrorColorTo(TColor Value) {
    SetHeader(FHeaderMirrorColorTo, Value);
}

String TSortSettings::SaveToString() const {
    if (FSortIndexShow) {
        TSortIndexList* keys = FGrid ? FGrid->SettingsSortIndexes() : nullptr;
        return QStringLiteral("i;") + (keys ? keys->SaveToString() : String());
    }
    return (FSortDirection == sdDescending ? QStringLiteral("d") : QStringLiteral("u")) +
           String::number(FSortColumn);
}

void TSortSettings::LoadFromString(const String& Value) {
    if (Value.isEmpty()) return;
    // Checked before anything changes, so a bad text leaves the settings as they were.
    if (Value.length() < 2) throw Exception(QStringLiteral("Invalid sort settings specifier"));
    SetShow(true);
    if (Value.contains(QStringLiteral("i;"))) {
        FSortIndexShow = true;
        const String keys = Value.mid(2);
        if (!keys.isEmpty() && FGrid) {
            if (TSortIndexList* list = FGrid->SettingsSortIndexes()) {
                list->LoadFromString(keys);
                FGrid->SettingsSortIndexed();
            }
        }
        return;
    }
    FSortIndexShow = false;
    FSortDirection = Value.contains(QLatin1Char('u')) ? sdAscending : sdDescending;
    int column = 0;
    if (!TryStrToInt(Value.mid(1), column)) return;
    FSortColumn = column;
    if (FGrid) FGrid->SettingsSort();
}

void TSortSettings::Remove() {
    FSortColumn = -1;
    if (FGrid) {
        if (TSortIndexList* list = FGrid->SettingsSortIndexes()) list->Clear();
    }
    RepaintHeaderRow();
}

void TSortSettings::ToggleDirection() {
    FSortDirection = FSortDirection == sdAscending ? sdDescending : sdAscending;
}

void TSortSettings::Assign(TPersistent* Source) {
    auto* src = dynamic_cast<TSortSettings*>(Source);
    if (!src || src == this) return;
    FSortShow = src->FSortShow;
    FSortIndexShow = src->FSortIndexShow;
    FSortFull = src->FSortFull;
    FSortSingleColumn = src->FSortSingleColumn;
    FSortIgnoreBlanks = src->FSortIgnoreBlanks;
    FSortBlankPos = src->FSortBlankPos;
    FSortAutoFormat = src->FSortAutoFormat;
    FSortDirection = src->FSortDirection;
    FSortUpGlyph->Assign(src->FSortUpGlyph);
    FSortDownGlyph->Assign(src->FSortDownGlyph);
    FIndexUpGlyph->Assign(src->FIndexUpGlyph);
    FIndexDownGlyph->Assign(src->FIndexDownGlyph);
    FSortNormalCellsOnly = src->FSortNormalCellsOnly;
    FSortFixedCols = src->FSortFixedCols;
    FSortColumn = src->FSortColumn;
    FSortRow = src->FSortRow;
    FAutoColumnMerge = src->FAutoColumnMerge;
    FSortIndexColor = src->FSortIndexColor;
    FInitSortDirection = src->FInitSortDirection;
    FUndoSort = src->FUndoSort;
    FAutoSortForGrouping = src->FAutoSortForGrouping;
    FHeaderColor = src->FHeaderColor;
    FHeaderColorTo = src->FHeaderColorTo;
    FHeaderMirrorColor = src->FHeaderMirrorColor;
    FHeaderMirrorColorTo = src->FHeaderMirrorColorTo;
    FIndexSortKey = src->FIndexSortKey;
}

// ---------------------------------------------------------------------------------------------
// TFilterData, TFilter

void TFilterData::Assign(TPersistent* Source) {
    auto* src = dynamic_cast<TFilterData*>(Source);
    if (!src) return;
    FColumn = src->FColumn;
    FCondition = src->FCondition;
    FCaseSensitive = src->FCaseSensitive;
    FData = src->FData;
    FPrefix = src->FPrefix;
    FSuffix = src->FSuffix;
    FOperation = src->FOperation;
}

TFilter::TFilter(TGridSettingsHost* AGrid)
    : TOwnedCollection(AGrid ? AGrid->SettingsOwner() : nullptr, CollectionItemClass<TFilterData>()),
      FGrid(AGrid) {}

TFilterData* TFilter::Add() {
    auto* item = static_cast<TFilterData*>(TCollection::Add());
    item->SetOperation(Count() == 1 ? foNONE : foAND);
    return item;
}

TFilterData* TFilter::Insert(int) {
    return static_cast<TFilterData*>(TCollection::Add());
}

TFilterData* TFilter::GetColFilter(int Col) {
    for (int i = 0; i < Count(); ++i)
        if (GetItem(i)->Column() == Col) return GetItem(i);
    TFilterData* item = Add();
    item->SetColumn(Col);
    return item;
}

bool TFilter::HasFilter(int Col) const {
    for (int i = 0; i < Count(); ++i)
        if (GetItem(i)->Column() == Col) return true;
    return false;
}

void TFilter::RemoveColumnFilter(int Col) {
    for (int i = Count() - 1; i >= 0; --i)
        if (GetItem(i)->Column() == Col) Delete(i);
    if (FGrid) FGrid->SettingsRepaintCell(Col, 0);
}

// ---------------------------------------------------------------------------------------------
// TBackGround

TBackGround::TBackGround(TGridSettingsHost* AGrid) : FGrid(AGrid), FBitmap(new TBitmap) {}

TBackGround::~TBackGround() {
    delete FBitmap;
}

void TBackGround::Changed() {
    if (FGrid) FGrid->SettingsRepaintGrid();
}

void TBackGround::SetTop(int Value) {
    FTop = Value;
    Changed();
}

void TBackGround::SetLeft(int Value) {
    FLeft = Value;
    Changed();
}

void TBackGround::SetDisplay(TBackGroundDisplay Value) {
    FDisplay = Value;
    Changed();
}

void TBackGround::SetBitmap(TBitmap* Value) {
    FBitmap->Assign(Value);
    Changed();
}

void TBackGround::SetCells(TBackGroundCells Value) {
    FBackgroundCells = Value;
    Changed();
}

void TBackGround::SetColor(TColor Value) {
    FColor = Value;
    Changed();
}

void TBackGround::SetColorTo(TColor Value) {
    FColorTo = Value;
    Changed();
}

// ---------------------------------------------------------------------------------------------
// TControlLook

TControlLook::TControlLook(TGridSettingsHost* AGrid)
    : FGrid(AGrid), FCheckedGlyph(new TBitmap), FUnCheckedGlyph(new TBitmap), FRadioOnGlyph(new TBitmap),
      FRadioOffGlyph(new TBitmap),
      FDropDownHeader(new THeaderAppearance(AGrid ? AGrid->SettingsOwner() : nullptr)),
      FDropDownFooter(new TFooterAppearance(AGrid ? AGrid->SettingsOwner() : nullptr)) {
    // The grid's hover and pressed mirror colours start as clNone too.
    ResetColors();
}

TControlLook::~TControlLook() {
    delete FCheckedGlyph;
    delete FUnCheckedGlyph;
    delete FRadioOnGlyph;
    delete FRadioOffGlyph;
    delete FDropDownHeader;
    delete FDropDownFooter;
}

template <class T> void TControlLook::SetAndRepaint(T& Field, const T& Value) {
    Field = Value;
    if (FGrid) FGrid->SettingsRepaintGrid();
}

void TControlLook::SetGlyph(TBitmap* Glyph, TBitmap* Value) {
    Glyph->Assign(Value);
    if (FGrid) FGrid->SettingsRepaintGrid();
}

void TControlLook::SetColor(TColor Value) {
    SetAndRepaint(FColor, Value);
}

void TControlLook::SetCommentColor(TColor Value) {
    SetAndRepaint(FCommentColor, Value);
}

void TControlLook::SetCheckedGlyph(TBitmap* Value) {
    SetGlyph(FCheckedGlyph, Value);
}

void TControlLook::SetUnCheckedGlyph(TBitmap* Value) {
    SetGlyph(FUnCheckedGlyph, Value);
}

void TControlLook::SetRadioOnGlyph(TBitmap* Value) {
    SetGlyph(FRadioOnGlyph, Value);
}

void TControlLook::SetRadioOffGlyph(TBitmap* Value) {
    SetGlyph(FRadioOffGlyph, Value);
}

void TControlLook::SetCheckSize(int Value) {
    SetAndRepaint(FCheckSize, Value);
}

void TControlLook::SetRadioSize(int Value) {
    SetAndRepaint(FRadioSize, Value);
}

void TControlLook::SetControlStyle(TGridControlStyle Value) {
    SetAndRepaint(FControlStyle, Value);
}

void TControlLook::SetDropDownAlwaysVisible(bool Value) {
    SetAndRepaint(FDropDownAlwaysVisible, Value);
}

void TControlLook::SetSpinButtonsAlwaysVisible(bool Value) {
    SetAndRepaint(FSpinButtonsAlwaysVisible, Value);
}

void TControlLook::SetFlatButton(bool Value) {
    SetAndRepaint(FFlatButton, Value);
}

void TControlLook::SetNoDisabledCheckRadioLook(bool Value) {
    SetAndRepaint(FNoDisabledCheckRadioLook, Value);
}

void TControlLook::SetNoDisabledButtonLook(bool Value) {
    SetAndRepaint(FNoDisabledButtonLook, Value);
}

void TControlLook::SetProgressMarginX(int Value) {
    SetAndRepaint(FProgressMarginX, Value);
}

void TControlLook::SetProgressMarginY(int Value) {
    SetAndRepaint(FProgressMarginY, Value);
}

void TControlLook::SetProgressXP(bool Value) {
    SetAndRepaint(FProgressXP, Value);
}

void TControlLook::SetFixedGradient(TFixedGradientColor Which, TColor Value) {
    FFixedGradient[Which] = Value;
    const bool mirror = Which == fgMirrorFrom || Which == fgMirrorTo || Which == fgHoverMirrorFrom ||
                        Which == fgHoverMirrorTo || Which == fgDownMirrorFrom || Which == fgDownMirrorTo;
    if (FGrid && (mirror || Value != clNone)) FGrid->SettingsKitGradient(Which, Value);
}

void TControlLook::ResetColors() {
    FColor = clBlack;
    FCommentColor = clRed;
    FProgressBorderColor = clGray;
    for (TColor& c : FFixedGradient) c = clNone;
    FFixedGradient[fgHoverFrom] = clWhite;
    FFixedGradient[fgHoverTo] = clGray;
    FFixedGradient[fgHoverBorder] = clSilver;
    FFixedGradient[fgDownFrom] = clSilver;
    FFixedGradient[fgDownTo] = clGray;
    FFixedGradient[fgDownBorder] = clGray;
    for (TFixedGradientColor w : {fgHoverMirrorFrom, fgHoverMirrorTo, fgDownMirrorFrom, fgDownMirrorTo})
        SetFixedGradient(w, clNone);
}

void TControlLook::Assign(TPersistent* Source) {
    auto* src = dynamic_cast<TControlLook*>(Source);
    if (!src || src == this) return;
    FColor = src->FColor;
    FCommentColor = src->FCommentColor;
    FCheckedGlyph->Assign(src->FCheckedGlyph);
    FUnCheckedGlyph->Assign(src->FUnCheckedGlyph);
    FRadioOnGlyph->Assign(src->FRadioOnGlyph);
    FRadioOffGlyph->Assign(src->FRadioOffGlyph);
    FCheckSize = src->FCheckSize;
    FRadioSize = src->FRadioSize;
    FCheckAlwaysActive = src->FCheckAlwaysActive;
    FRadioAlwaysActive = src->FRadioAlwaysActive;
    FControlStyle = src->FControlStyle;
    FDropDownAlwaysVisible = src->FDropDownAlwaysVisible;
    FSpinButtonsAlwaysVisible = src->FSpinButtonsAlwaysVisible;
    FDropDownCount = src->FDropDownCount;
    FDropDownHeader->Assign(src->FDropDownHeader);
    FDropDownFooter->Assign(src->FDropDownFooter);
    FFlatButton = src->FFlatButton;
    FNoDisabledCheckRadioLook = src->FNoDisabledCheckRadioLook;
    FNoDisabledButtonLook = src->FNoDisabledButtonLook;
    FProgressBorderColor = src->FProgressBorderColor;
    FProgressMarginX = src->FProgressMarginX;
    FProgressMarginY = src->FProgressMarginY;
    FProgressXP = src->FProgressXP;
    FFixedDropDownButton = src->FFixedDropDownButton;
    FHintMaxWidth = src->FHintMaxWidth;
    for (int i = 0; i <= fgDownBorder; ++i) FFixedGradient[i] = src->FFixedGradient[i];
    if (FGrid) FGrid->SettingsRepaintGrid();
}

// ---------------------------------------------------------------------------------------------
// TGrouping

void TGrouping::Assign(TPersistent* Source) {
    auto* src = dynamic_cast<TGrouping*>(Source);
    if (!src) return;
    GroupCountFormat = src->GroupCountFormat;
    HeaderColor = src->HeaderColor;
    HeaderColorTo = src->HeaderColorTo;
    HeaderTextColor = src->HeaderTextColor;
    HeaderUnderline = src->HeaderUnderline;
    MergeHeader = src->MergeHeader;
    MergeSummary = src->MergeSummary;
    ShowGroupCount = src->ShowGroupCount;
    SummaryColor = src->SummaryColor;
    SummaryColorTo = src->SummaryColorTo;
    SummaryTextColor = src->SummaryTextColor;
    SummaryLine = src->SummaryLine;
    AutoCheckGroup = src->AutoCheckGroup;
    AutoSelectGroup = src->AutoSelectGroup;
}

// ---------------------------------------------------------------------------------------------
// TDragDropSettings

void TDragDropSettings::SetOleDropTarget(bool Value) {
    FOleDropTarget = Value;
    if (FGrid && !FGrid->SettingsDesigning()) FGrid->SettingsOleDropTarget(Value);
}

void TDragDropSettings::SetOleDropRTF(bool Value) {
    FOleDropRTF = Value;
    if (FGrid) FGrid->SettingsRTFDragDrop(Value);
}

void TDragDropSettings::Assign(TPersistent* Source) {
    auto* src = dynamic_cast<TDragDropSettings*>(Source);
    if (!src) return;
    FOleDropTarget = src->FOleDropTarget;
    FOleDropSource = src->FOleDropSource;
    FOleAcceptFiles = src->FOleAcceptFiles;
    FOleAcceptText = src->FOleAcceptText;
    FOleAcceptURLs = src->FOleAcceptURLs;
    FOleEntireRows = src->FOleEntireRows;
    FOleInsertRows = src->FOleInsertRows;
    FOleAppendRows = src->FOleAppendRows;
    FOleRemoveRows = src->FOleRemoveRows;
    FOleCopyAlways = src->FOleCopyAlways;
    FOleColumnDragDrop = src->FOleColumnDragDrop;
    FOleColumnReorder = src->FOleColumnReorder;
    FOleColumnsOnly = src->FOleColumnsOnly;
    FShowCells = src->FShowCells;
    FOleDropRTF = src->FOleDropRTF;
}

// ---------------------------------------------------------------------------------------------
// TShowModified

void TShowModified::SetColor(TColor Value) {
    FColor = Value;
    if (Assigned(OnChange)) OnChange(this);
}

void TShowModified::Assign(TPersistent* Source) {
    auto* src = dynamic_cast<TShowModified*>(Source);
    if (!src) return;
    FColor = src->FColor;
    FEnabled = src->FEnabled;
}

// ---------------------------------------------------------------------------------------------
// Drag scrolling

void TDragScrollDelays::Assign(TPersistent* Source) {
    auto* src = dynamic_cast<TDragScrollDelays*>(Source);
    if (!src) return;
    InitialDelay = src->InitialDelay;
    RepeatDelay = src->RepeatDelay;
}

void TDragScrollMargins::Assign(TPersistent* Source) {
    auto* src = dynamic_cast<TDragScrollMargins*>(Source);
    if (!src) return;
    TopMargin = src->TopMargin;
    BottomMargin = src->BottomMargin;
    LeftMargin = src->LeftMargin;
    RightMargin = src->RightMargin;
}

TDragScrollOptions::TDragScrollOptions() : FDelays(new TDragScrollDelays), FMargins(new TDragScrollMargins) {}

TDragScrollOptions::~TDragScrollOptions() {
    delete FDelays;
    delete FMargins;
}

void TDragScrollOptions::Assign(TPersistent* Source) {
    auto* src = dynamic_cast<TDragScrollOptions*>(Source);
    if (!src) return;
    FMargins->Assign(src->FMargins);
    FDelays->Assign(src->FDelays);
    FActive = src->FActive;
}

// ---------------------------------------------------------------------------------------------
// TGridProgressAppearance

void TGridProgressAppearance::Changed() {
    if (Assigned(OnChange)) OnChange(this);
}

void TGridProgressAppearance::Assign(TPersistent* Source) {
    auto* src = dynamic_cast<TGridProgressAppearance*>(Source);
    if (!src) return;
    FCompleteColor = src->FCompleteColor;
    FCompleteFontColor = src->FCompleteFontColor;
    FUnCompleteColor = src->FUnCompleteColor;
    FUnCompleteFontColor = src->FUnCompleteFontColor;
    FLevel0Color = src->FLevel0Color;
    FLevel0ColorTo = src->FLevel0ColorTo;
    FLevel1Color = src->FLevel1Color;
    FLevel1ColorTo = src->FLevel1ColorTo;
    FLevel2Color = src->FLevel2Color;
    FLevel2ColorTo = src->FLevel2ColorTo;
    FLevel3Color = src->FLevel3Color;
    FLevel3ColorTo = src->FLevel3ColorTo;
    FLevel1Perc = src->FLevel1Perc;
    FLevel2Perc = src->FLevel2Perc;
    FBorderColor = src->FBorderColor;
    FShowBorder = src->FShowBorder;
    FStacked = src->FStacked;
    FShowPercentage = src->FShowPercentage;
    FCompletionSmooth = src->FCompletionSmooth;
    FShowGradient = src->FShowGradient;
    FSteps = src->FSteps;
    FStyle = src->FStyle;
    Changed();
}
