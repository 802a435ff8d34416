// TAdvStringGrid: construction and life cycle.
#include "AdvGrid.h"

#include "AdvGridDragDrop.h"
#include "AdvInplaceEdit.h"
#include "AdvStyleIF.h"
#include "AdvXPVS.h"
#include "Forms.h"
#include "GridFilterDropDown.h"
#include "GridCellEditors.h"
#include "AdvRichEdit.h"
#include "EditLinks.h"
#include "GridDropDowns.h"
#include "GridScrollControls.h"
#include "HTMLHintWindow.h"
#include "OSInfo.h"

TAdvStringGrid::TLifeCycleTrace TAdvStringGrid::LifeCycleTrace;

template <class T> T* TAdvStringGrid::Make(TOwned<T>& Slot, T* Obj, const char* Name) {
    Slot.reset(Obj);
    if (LifeCycleTrace) LifeCycleTrace(true, Name);
    return Obj;
}

template <class T> void TAdvStringGrid::Drop(TOwned<T>& Slot, const char* Name) {
    if (!Slot) return;
    Slot.reset();
    if (LifeCycleTrace) LifeCycleTrace(false, Name);
}

// ---------------------------------------------------------------------------------------------
// The owner form's OnResize chain
//
// Every grid owned by a form puts a TResizeChainCall into the form's OnResize that holds the
// handler it found there. A grid that goes finds its call in the chain (the form's handler or
// the handler kept by another grid's link) and puts the handler it kept in its place, so the
// grids may go in any order. Should someone have wrapped the chain in a handler of their own,
// the link stays and only passes the call on.

struct TAdvStringGrid::TResizeLink {
    TAdvStringGrid* Grid; // nullptr once the grid has gone
    TNotifyEvent Saved;   // what the form called before the grid joined
};

struct TAdvStringGrid::TResizeChainCall {
    std::shared_ptr<TResizeLink> Link;
    void operator()(TObject* Sender) const {
        std::shared_ptr<TResizeLink> link = Link; // the handler may leave the chain meanwhile
        if (link->Grid)
            link->Grid->ParentFormResize(Sender);
        else if (link->Saved)
            link->Saved(Sender);
    }
};

void TAdvStringGrid::JoinFormResizeChain(TCustomForm* Form) {
    FResizeForm = Form;
    FResizeLink = std::make_shared<TResizeLink>(TResizeLink{this, Form->OnResize});
    Form->OnResize = TResizeChainCall{FResizeLink};
    FPrevSizeX = Form->Width();
    FPrevSizeY = Form->Height();
}

void TAdvStringGrid::LeaveFormResizeChain() {
    if (!FResizeLink) return;
    // A form that is going away frees its owned grids after its own parts: leave it alone.
    if (FResizeForm->ComponentState().count(csDestroying) == 0) {
        TNotifyEvent* slot = &FResizeForm->OnResize;
        while (auto* call = slot->target<TResizeChainCall>()) {
            if (call->Link == FResizeLink) {
                TNotifyEvent saved = FResizeLink->Saved;
                *slot = std::move(saved);
                break;
            }
            slot = &call->Link->Saved;
        }
    }
    FResizeLink->Grid = nullptr;
    FResizeLink.reset();
    FResizeForm = nullptr;
}

void TAdvStringGrid::ParentFormResize(TObject* Sender) {
    if (ComponentState().count(csDesigning) || ComponentState().count(csDestroying) || !FResizeForm) return;
    if (SizeWithForm) {
        const int w = Width() + FResizeForm->Width() - FPrevSizeX;
        const int h = Height() + FResizeForm->Height() - FPrevSizeY;
        if (w > 0 && h > 0) {
            SetBounds(Left(), Top(), w, h);
            FPrevSizeX = FResizeForm->Width();
            FPrevSizeY = FResizeForm->Height();
        }
    }
    if (FResizeLink && FResizeLink->Saved) {
        // The form's own handler must not break the grids after it.
        try {
            FResizeLink->Saved(Sender);
        } catch (const std::exception&) {
        }
    }
    StretchSettingColumn();
}

// The filter lists are made hidden with the grid and become its children when one first opens
// (a grid whose filter never opens makes no list window); a pick or a tick goes to the grid's
// filter handling.
void TAdvStringGrid::MakeFilterLists() {
    TDropList* list = Make(FDropList, new TDropList(nullptr), "DropList");
    list->SetVisible(false);
    list->SetBounds(0, 0, 0, 0);
    list->OnSelect = [this](TObject* Sender, int ItemIndex) { FilterSelect(Sender, ItemIndex); };
    TDropCheckList* check = Make(FDropCheckList, new TDropCheckList(nullptr), "DropCheckList");
    check->SetVisible(false);
    check->SetBounds(0, 0, 0, 0);
    check->OnSelect = [this](TObject* Sender, int ItemIndex) { FilterCheck(Sender, ItemIndex); };
}

TCustomForm* TAdvStringGrid::FindParentForm(TControl* Control) {
    for (TControl* c = Control; c; c = c->Parent())
        if (auto* form = dynamic_cast<TCustomForm*>(c)) return form;
    return nullptr;
}

// ---------------------------------------------------------------------------------------------
// Construction

TAdvStringGrid::TAdvStringGrid(TComponent* AOwner) : TBaseGrid(AOwner) {
    TControlStyle style = ControlStyle();
    style.insert(csAcceptsControls);
    SetControlStyle(style);
    const bool designing = ComponentState().count(csDesigning) != 0;

    TFooterPanel* footer = Make(FFooterPanel, new TFooterPanel(this), "FooterPanel");
    footer->SetAlign(alBottom);
    footer->SetHeight(0);
    footer->SetBorderWidth(0);
    TSearchPanel* search = Make(FSearchPanel, new TSearchPanel(this), "SearchPanel");
    search->SetAlign(alBottom);
    search->SetHeight(0);
    search->SetBorderWidth(0);
    search->OnEditChange = [this](TObject* S) { SearchPanelEditChange(S); };
    search->OnBackwardClick = [this](TObject* S) { SearchPanelBackwardClick(S); };
    search->OnForwardClick = [this](TObject* S) { SearchPanelForwardClick(S); };
    search->OnExitClick = [this](TObject* S) { SearchPanelExitClick(S); };
    search->OnHighlightClick = [this](TObject* S) { SearchPanelHighlightClick(S); };
    Make(FCellFont, new TFont(), "CellFont");
    Make(FFocusHelper, new TFocusHelper(this), "FocusHelper");
    const bool ownerStreaming =
        AOwner && (AOwner->ComponentState().count(csReading) || AOwner->ComponentState().count(csLoading));
    Make(FSearchFooter, new TSearchFooter(this, designing && !ownerStreaming), "SearchFooter")->OnChange =
        [this](TObject*) { UpdateSearchPanel(); };
    Make(FFloatingFooter, new TFloatingFooter(this), "FloatingFooter");
    Make(FPrintSettings, new TPrintSettings(this), "PrintSettings");
    Make(FHTMLSettings, new THTMLSettings(), "HTMLSettings");
    Make(FSortSettings, new TSortSettings(this), "SortSettings");
    Make(FDragDropSettings, new TDragDropSettings(this), "DragDropSettings");
    Make(FDragScrollOptions, new TDragScrollOptions(), "DragScrollOptions");
    Make(FControlLook, new TControlLook(this), "ControlLook");
    Make(FNavigation, new TNavigation(), "Navigation")->OnChange = [this](TObject* S) {
        NavigationChange(S);
    };
    Make(FColumnSize, new TColumnSize(this), "ColumnSize");
    Make(FCellNode, new TCellNode(this), "CellNode");
    Make(FBands, new TBands(), "Bands")->OnChange = [this](TObject*) { Invalidate(); };
    Make(FSizeWhileTyping, new TSizeWhileTyping(), "SizeWhileTyping");
    TMouseActions* actions = Make(FMouseActions, new TMouseActions(this), "MouseActions");
    actions->OnChange = [this](TObject* S) { MouseActionsChange(S); };
    actions->OnIsDesigning = [this](TObject* S, bool& D) { IsDesignTime(S, D); };
    actions->OnInvalidate = [this](TObject* S) { RefreshDisplay(S); };
    Make(FGrouping, new TGrouping(), "Grouping");
    Make(FColumnHeaders, MakeHeaderList(true), "ColumnHeaders");
    Make(FImageCache, new THTMLPictureCache(), "ImageCache");
    Make(FInitialColSizes, new TIntList(-1, -1), "InitialColSizes");
    TFont* fixedFont = Make(FFixedFont, MakeFixedFont(), "FixedFont");
    fixedFont->SetName("Tahoma");
    fixedFont->SetStyle(TFontStyles{fsBold});
    TFont* activeFont = Make(FActiveCellFont, new TFont(), "ActiveCellFont");
    if (designing) activeFont->SetName("Tahoma");
    activeFont->SetStyle(TFontStyles{fsBold});
    activeFont->OnChange = [this](TObject*) { Invalidate(); };
    Make(FRowHeaders, MakeHeaderList(false), "RowHeaders");
    Make(FSortList, new TStringList(), "SortList");
    Make(FLookupItems, new TStringList(), "LookupItems");
    Make(FSelectedRowList, new TList(), "SelectedRowList");
    Make(FSelectedColList, new TList(), "SelectedColList");
    Make(FSortIndexes, new TSortIndexList(), "SortIndexes");
    Make(FSortRowMap, new TIntList(0, 0), "SortRowMap");
    Make(FUnSortRowMap, new TIntList(0, 0), "UnSortRowMap");
    Make(FMergedColumns, new TIntList(0, 0), "MergedColumns")->OnChange = [this](TObject*, int, int) {
        MergedColumnsChanged();
    };
    Make(FSelectedCells, new TSelectedCellList, "SelectedCells");
    Make(FSelectedRows, new TIntList(0, 0), "SelectedRows");
    Make(FModifiedRows, new TIntList(0, 0), "ModifiedRows");
    Make(FEnabledRows, new TIntList(0, 0), "EnabledRows");
    Make(FRowIndicator, new TBitmap(), "RowIndicator");
    Make(FBackGround, new TBackGround(this), "BackGround");
    Make(FScrollHintWnd, new THTMLHintWindow(nullptr), "ScrollHintWnd");
    Make(FControlList, new TControlList(), "ControlList");
    Make(FProgressAppearance, new TGridProgressAppearance(), "ProgressAppearance")->OnChange =
        [this](TObject*) { Invalidate(); };
    Make(FSyncGrid, new TSyncGrid(this), "SyncGrid");

    // The platform grid's ColCount 5, FixedCols 1, FixedRows 1 and DefaultColWidth 64 stay.
    TBaseGrid::SetRowCount(10);
    SetBounds(Left(), Top(), 400, 250);
    SetDefaultRowHeight(22);
    FFixedRowHeight = 22;
    SetScrollBars(ssBoth);

    Make(FGridItems, new TGridItems(), "GridItems");
    Make(FFilter, new TFilter(this), "Filter");
    Make(FBalloon, new TBalloonSettings(), "Balloon")->OnEnableChange = [this](TObject* S) {
        BalloonSettingsEnableChange(S);
    };
    Make(FShowModified, new TShowModified(), "ShowModified")->OnChange = [this](TObject*) {
        for (int r = 0; r < RowCount(); ++r) InvalidateCell(0, r);
    };
    Make(FNotifierList, new TList(), "NotifierList");
    Make(FIgnoreColumns, new TIntList(-1, -1), "IgnoreColumns");
    Make(FFilterDropDown, new TFilterDropDown(), "FilterDropDown")->OnChange = [this](TObject*) {
        Invalidate();
    };
    TStringList* filterList = Make(FFilterList, new TStringList(), "FilterList");
    filterList->SetDuplicates(dupIgnore);
    filterList->SetSorted(true);
    MakeFilterLists();

    if (!designing) {
        Make(FFocusWindow, new TGridFocusWindow(nullptr), "FocusWindow");
        static const char* const arrowNames[] = {"ArwU", "ArwD", "ArwL", "ArwR"};
        for (int d = arrUp; d <= arrRight; ++d)
            Make(FArrows[d], new TArrowWindow(nullptr, TArrowDirection(d)), arrowNames[d]);
        MakeEditorControls();
        THeaderDragButton* moveButton = Make(FMoveButton, new THeaderDragButton(nullptr), "MoveButton");
        moveButton->SetGrid(this);
        moveButton->SetEnabled(false);
        moveButton->SetVisible(false);
        moveButton->SetParent(this);
        TControlEdit* controlEdit = Make(FEditControl, new TControlEdit(this), "EditControl");
        controlEdit->SetParent(this);
        controlEdit->SetVisible(false);
        TControlCombo* controlCombo = Make(FComboControl, new TControlCombo(this), "ComboControl");
        controlCombo->SetParent(this);
        controlCombo->SetVisible(false);
        MakeCellScrollBar();
        FStyle = tsWindowsXP;
    }

    FIsWinXP = CheckWin32Version(5, 1);
    FIsWin7 = CheckWin32Version(6, 1);
    FIsThemed = GetFileVersion("COMCTL32.DLL") >> 16 > 5;
    FIsVista = IsVistaOrLater();

    if (auto* form = dynamic_cast<TCustomForm*>(AOwner); form && !designing) JoinFormResizeChain(form);
}

TArrowWindow* TAdvStringGrid::ArrowWindow(TArrowDirection Direction) const {
    return FArrows[Direction].get();
}

// ---------------------------------------------------------------------------------------------
// The editor controls the grid keeps for the whole of its life (run time only); the others are
// made on first use, and all are freed with the grid.

void TAdvStringGrid::MakeEditorControls() {
    TGridCombo* combo = Make(FEditCombo, new TGridCombo(this), "EditCombo");
    combo->SetParent(this);
    combo->SetEnabled(false);
    combo->SetVisible(false);
    combo->SetIsWinXP(CheckWin32Version(5, 1));
    combo->SetIsVista(IsVistaOrLater());

    TGridTransEdit* trans = Make(FEditTrans, new TGridTransEdit(this), "EditTrans");
    trans->SetParent(this);
    trans->SetBorderStyle(bsNone);
    TGridTransCombo* transCombo = Make(FComboTrans, new TGridTransCombo(this), "ComboTrans");
    transCombo->SetParent(this);

    TGridCheckBox* check = Make(FEditCheck, new TGridCheckBox(this), "EditCheck");
    check->SetParent(this);
    check->SetEnabled(false);
    check->SetVisible(false);

    TGridEditBtn* editBtn = Make(FEditBtn, new TGridEditBtn(this), "EditBtn");
    editBtn->SetParent(this);
    editBtn->SetEnabled(false);
    editBtn->SetVisible(false);
    editBtn->SetButtonCaption("...");
    editBtn->SetBorderStyle(bsNone);
    editBtn->SetIsWinXP(CheckWin32Version(5, 1));

    TGridUnitEditBtn* unitBtn = Make(FUnitEditBtn, new TGridUnitEditBtn(this), "UnitEditBtn");
    unitBtn->SetParent(this);
    unitBtn->SetEnabled(false);
    unitBtn->SetVisible(false);
    unitBtn->SetButtonCaption("...");
    unitBtn->SetBorderStyle(bsNone);

    TGridButton* button = Make(FGridButton, new TGridButton(this), "GridButton");
    button->SetParent(this);
    button->SetEnabled(false);
    button->SetVisible(false);
    button->OnClick = [this](TObject* Sender) { GridButtonClick(Sender); };
}

// The bar laid over scroll-bar cells (AdvGridScrollCell.cpp).
void TAdvStringGrid::MakeCellScrollBar() {
    TScrollBar* bar = Make(FScrollBar, new TScrollBar(nullptr), "ScrollBar");
    bar->SetKind(sbVertical);
    bar->SetVisible(false);
    bar->SetTabStop(false);
    bar->SetParent(this);
}

void TAdvStringGrid::FreeEditorControls() {
    Drop(FEditCombo, "EditCombo");
    Drop(FEditTrans, "EditTrans");
    Drop(FComboTrans, "ComboTrans");
    Drop(FEditDateTime, "DateAndTimePicker");
    Drop(FEditDate, "DateTimePicker");
    Drop(FEditSpin, "SpinEdit");
    Drop(FInplaceRichEdit, "InplaceRichEdit");
    Drop(FRichEdit, "RichEdit");
    FreeDropDownEditors();
    Drop(FEditCheck, "EditCheck");
    Drop(FEditBtn, "EditBtn");
    Drop(FUnitEditBtn, "UnitEditBtn");
    Drop(FGridButton, "GridButton");
}

// ---------------------------------------------------------------------------------------------
// Destruction

TAdvStringGrid::~TAdvStringGrid() {
    // Panning ends with the grid: capture, pan timer and cursor go back.
    EndWheelPan();
    if (FOleDropTargetAssigned && HandleAllocated()) RevokeDragDrop(Handle());
    FOleDropTargetAssigned = false;
    if (FDropTarget) FDropTarget->Release();
    FDropTarget = nullptr;
    FreeMetroScrollControls();
    StopDragScroll();
    if (!ComponentState().count(csDesigning)) BalloonDone();
    LeaveFormResizeChain();
    if (FColumnSize->Save) SaveColSizesOnExit();
    if (FFocusFrameGrid == this) FFocusFrameGrid = nullptr;
    ClearTextOnly = false;
    SaveHiddenCells = false;
    UnHideColumnsAll();

    Drop(FCellFont, "CellFont");
    Drop(FFocusHelper, "FocusHelper");
    Drop(FIgnoreColumns, "IgnoreColumns");
    Drop(FProgressAppearance, "ProgressAppearance");
    Drop(FFloatingFooter, "FloatingFooter");
    Drop(FControlList, "ControlList");
    Drop(FSortRowMap, "SortRowMap");
    Drop(FUnSortRowMap, "UnSortRowMap");
    Drop(FMergedColumns, "MergedColumns");
    Drop(FSelectedCells, "SelectedCells");
    Drop(FSelectedRows, "SelectedRows");
    Drop(FModifiedRows, "ModifiedRows");
    Drop(FEnabledRows, "EnabledRows");
    Drop(FNotifierList, "NotifierList");
    Drop(FPrintSettings, "PrintSettings");
    Drop(FHTMLSettings, "HTMLSettings");
    Drop(FSortSettings, "SortSettings");
    Drop(FDragDropSettings, "DragDropSettings");
    Drop(FDragScrollOptions, "DragScrollOptions");
    Drop(FControlLook, "ControlLook");
    Drop(FNavigation, "Navigation");
    Drop(FColumnSize, "ColumnSize");
    Drop(FCellNode, "CellNode");
    Drop(FBands, "Bands");
    Drop(FSizeWhileTyping, "SizeWhileTyping");
    Drop(FImageCache, "ImageCache");
    Drop(FMouseActions, "MouseActions");
    Drop(FColumnHeaders, "ColumnHeaders");
    Drop(FGrouping, "Grouping");
    Drop(FFixedFont, "FixedFont");
    Drop(FActiveCellFont, "ActiveCellFont");
    Drop(FRowHeaders, "RowHeaders");
    Drop(FLookupItems, "LookupItems");
    Drop(FSelectedRowList, "SelectedRowList");
    Drop(FSelectedColList, "SelectedColList");
    Drop(FSortIndexes, "SortIndexes");
    Drop(FRowIndicator, "RowIndicator");
    Drop(FBackGround, "BackGround");
    Drop(FFooterPanel, "FooterPanel");
    Drop(FSearchPanel, "SearchPanel");
    Drop(FSearchFooter, "SearchFooter");
    Drop(FBalloon, "Balloon");
    Drop(FShowModified, "ShowModified");
    Drop(FInitialColSizes, "InitialColSizes");
    Drop(FFilterDropDown, "FilterDropDown");
    Drop(FFilterList, "FilterList");
    Drop(FDropList, "DropList");
    Drop(FDropCheckList, "DropCheckList");
    Drop(FSyncGrid, "SyncGrid");
    static const char* const arrowNames[] = {"ArwU", "ArwD", "ArwL", "ArwR"};
    for (int d = arrUp; d <= arrRight; ++d) Drop(FArrows[d], arrowNames[d]);
    Drop(FSortList, "SortList");
    Drop(FGridItems, "GridItems");
    Drop(FFilter, "Filter");
    if (FGridLoaded) SetCursor(FLoadedCursor);
    Drop(FFocusWindow, "FocusWindow");
    FreeEditorControls();
    Drop(FMoveButton, "MoveButton");
    Drop(FEditControl, "EditControl");
    Drop(FComboControl, "ComboControl");
    Drop(FScrollBar, "ScrollBar");
    Drop(FScrollHintWnd, "ScrollHintWnd");
}

// ---------------------------------------------------------------------------------------------
// Window, loading, copying, painting and size

// Six pixels wide on the right and six high at the bottom, over the grid's own painting; the
// window's bars go, so that the grid scrolls through these alone.
void TAdvStringGrid::CreateMetroScrollControls() {
    if (ComponentState().count(csDesigning) || !HandleAllocated()) return;
    SetScrollBars(ssNone);
    for (int i = 0; i < 2; ++i) {
        if (FMetroScroll[size_t(i)]) continue;
        const bool vert = i == 0;
        TScrollControl* sc = Make(FMetroScroll[size_t(i)], new TScrollControl(nullptr),
                                  vert ? "VertMetroScroll" : "HorzMetroScroll");
        sc->SetDirection(vert ? sdVertical : sdHorizontal);
        sc->SetDoubleBuffered(true);
        if (vert)
            sc->SetBounds(ClientWidth() - 6, 0, 6, ClientHeight());
        else
            sc->SetBounds(0, ClientHeight() - 6, ClientWidth(), 6);
        sc->SetAlign(vert ? alRight : alBottom);
        sc->SetParent(this);
        sc->SetVisible(true);
    }
}

void TAdvStringGrid::FreeMetroScrollControls() {
    Drop(FMetroScroll[0], "VertMetroScroll");
    Drop(FMetroScroll[1], "HorzMetroScroll");
}

void TAdvStringGrid::CreateWnd() {
    if (ComponentState().count(csDestroying)) return;
    TBaseGrid::CreateWnd();
    if (!Parent()) return;
    if (!ComponentState().count(csDesigning)) {
        if (FScrollType == ssMetro) CreateMetroScrollControls();
        if (FBalloon->Enable()) BalloonInit();
    }
    PlaceFooterPanels();
    if (FColumnSize->Save) LoadSavedColSizes();
    SetTimer(Handle(), GridTimerId, GridTimerInterval);
    if (ComponentState().count(csDesigning) && !FGridLoaded && !Loading()) Font()->SetName("Tahoma");
    FIsWinXP = FIsWinXP && AdvXPVS.IsThemeActive && AdvXPVS.IsThemeActive();
    // The platform reports its wheel-scroll lines; -1 asks for a page per notch.
    FWheelMsg = WM_MOUSEWHEEL;
    FWheelScrollLines = Mouse->WheelScrollLines();
    if (FWheelScrollLines == -1) FWheelScrollLines = VisibleRowCount();
}

void TAdvStringGrid::Loaded() {
    TBaseGrid::Loaded();
    FLoadedCursor = Cursor();
    ShowColumnHeaders();
    ShowRowHeaders();
    if (FLook == glKit) {
        // The streamed look was stored without its preset: apply it now.
        SetLook(glCustom);
        SetLook(glKit);
    }
    if (FColumnSize->Save) LoadSavedColSizes();
    FFixedRowsMin = TBaseGrid::FixedRows();
    FFixedColsMin = TBaseGrid::FixedCols();
    MinRowHeight = DefaultRowHeight();
    MinColWidth = 10;
    FMaxRowCount = RowCount();
    FGridLoaded = true;
    if (FDropTarget) {
        FDropTarget->AcceptText = FDragDropSettings->OleAcceptText();
        FDropTarget->AcceptFiles = FDragDropSettings->OleAcceptFiles();
        FDropTarget->AcceptURLs = FDragDropSettings->OleAcceptURLs();
    }
    if (Options().count(goAlwaysShowEditor)) {
        FNavigation->AlwaysEdit = true;
        TGridOptions opts = Options();
        opts.erase(goAlwaysShowEditor);
        SetOptions(opts);
    }
    if (!FIsWinXP && FControlLook->ControlStyle() == csTheme && !ComponentState().count(csDesigning))
        FControlLook->SetControlStyle(csClassic);
    FSearchFooter->SetAutoThemeAdapt(FAutoThemeAdapt);
    UpdateSearchPanel();
    UpdateAlwaysShownScrollBars(false);
    if (FAutoThemeAdapt && !ComponentState().count(csDesigning)) {
        ApplyOfficeTheme();
        if (HandleAllocated()) GetThemeNotifier(this)->RegisterWindow(Handle());
    }
    InitOrigColSizes();
    SetColumnOrder();
    if (FBalloon->Enable()) BalloonInit();
}

void TAdvStringGrid::Assign(TPersistent* Source) {
    auto* src = dynamic_cast<TAdvStringGrid*>(Source);
    if (!src) return;
    Font()->Assign(src->Font());
    SetActiveCellColor(src->ActiveCellColor());
    SetActiveCellColorTo(src->ActiveCellColorTo());
    FActiveCellFont->Assign(src->ActiveCellFont());
    SetActiveCellShow(src->ActiveCellShow());
    SetActiveRowShow(src->ActiveRowShow());
    SetAlign(src->Align());
    FFilterDropDown->Assign(src->FilterDropDown());
    AnchorHint = src->AnchorHint;
    AutoNumAlign = src->AutoNumAlign;
    FAutoSize = src->AutoSize(); // the flag alone: no sizing now
    FAutoThemeAdapt = src->AutoThemeAdapt();
    AutoFilterUpdate = src->AutoFilterUpdate;
    FMouseActions->Assign(src->MouseActions());
    FNavigation->Assign(src->Navigation());
    FGrouping->Assign(src->Grouping());
    FSearchFooter->Assign(src->SearchFooter());
    FPrintSettings->Assign(src->PrintSettings());
    FFilter->Assign(src->Filter());
    FHTMLSettings->Assign(src->HTMLSettings());
    FBands->Assign(src->Bands());
    FCellNode->Assign(src->CellNode());
    FSortSettings->Assign(src->SortSettings());
    FDragScrollOptions->Assign(src->DragScrollOptions());
    FDragDropSettings->Assign(src->DragDropSettings());
    FProgressAppearance->Assign(src->ProgressAppearance());
    FColumnSize->Assign(src->ColumnSize());
    FSyncGrid->Assign(src->SyncGrid());
    FFocusHelper->Assign(src->FocusHelper());
    SetFixedRowAlways(src->FixedRowAlways());
    SetColCount(src->ColCount());
    SetRowCount(src->RowCount());
    SetFixedRows(src->FixedRows());
    SetFixedCols(src->FixedCols());
    SetDefaultColWidth(src->DefaultColWidth());
    SetDefaultRowHeight(src->DefaultRowHeight());
    SetFixedRowHeight(src->FixedRowHeight());
    SetFixedColWidth(src->FixedColWidth());
    SetOptions(src->Options());
    for (int c = 0; c < ColCount(); ++c) SetColWidths(c, src->ColWidths(c));
    FColumnHeaders->Assign(src->ColumnHeaders());
    for (int r = 0; r < RowCount(); ++r) SetRowHeights(r, src->RowHeights(r));
    SetScrollProportional(src->ScrollProportional());
    ScrollSynch = src->ScrollSynch;
    ScrollHints = src->ScrollHints;
    SetScrollBarAlways(src->ScrollBarAlways());
    SetScrollBars(src->ScrollBars());
    SetScrollColor(src->ScrollColor());
    SetScrollType(src->ScrollType());
    SetScrollWidth(src->ScrollWidth());
    AssignCells(Source);
}

// The cells travel through the grid's own cell stream: counts, column widths and the texts.
void TAdvStringGrid::AssignCells(TPersistent* Source) {
    auto* src = dynamic_cast<TAdvStringGrid*>(Source);
    if (!src || src == this) return;
    TOwned<TMemoryStream> stream(new TMemoryStream());
    src->SaveToStream(stream.get());
    stream->SetPosition(0);
    LoadFromStream(stream.get());
}

void TAdvStringGrid::Invalidate() {
    if (FEditChange) {
        FEditChange = false;
        return;
    }
    TBaseGrid::Invalidate();
    if (!Loading() && FooterRowShown()) UpdateFooter();
}

void TAdvStringGrid::Resize() {
    TBaseGrid::Resize();
    if (FBackGround &&
        (FBackGround->Display() == bdGradientHorz || FBackGround->Display() == bdGradientVert) &&
        FBackGround->ColorTo() != clNone)
        Invalidate();
    UpdateAlwaysShownScrollBars(false);
    if (FControlList) CellControlsUpdate(false);
    if (ComponentState().count(csDesigning)) Invalidate();
}

void TAdvStringGrid::SetScrollBarAlways(TScrollBarAlways Value) {
    FScrollBarAlways = Value;
    UpdateAlwaysShownScrollBars(false);
}

void TAdvStringGrid::UpdateAlwaysShownScrollBars(bool Force) {
    if (!HandleAllocated()) return;
    const bool rowsFit = VisibleRowCount() + TBaseGrid::FixedRows() >= RowCount();
    const bool colsFit = VisibleColCount() + TBaseGrid::FixedCols() >= ColCount();
    if (FScrollBarAlways != saNone) {
        if (rowsFit)
            ShowScrollBar(Handle(), SB_VERT, FScrollBarAlways == saVert || FScrollBarAlways == saBoth);
        if (colsFit)
            ShowScrollBar(Handle(), SB_HORZ, FScrollBarAlways == saHorz || FScrollBarAlways == saBoth);
        EnableScrollBar(Handle(), SB_VERT, rowsFit ? ESB_DISABLE_BOTH : ESB_ENABLE_BOTH);
        EnableScrollBar(Handle(), SB_HORZ, colsFit ? ESB_DISABLE_BOTH : ESB_ENABLE_BOTH);
    } else if (Force) {
        if (rowsFit) ShowScrollBar(Handle(), SB_VERT, false);
        if (colsFit) ShowScrollBar(Handle(), SB_HORZ, false);
    }
}

void TAdvStringGrid::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
    if (FIntegralHeight && FUpdateCount == 0 && DefaultRowHeight() > 0) {
        const int s =
            VisibleColCount() + TBaseGrid::FixedCols() < ColCount() ? GetSystemMetrics(SM_CYHSCROLL) : 0;
        const int b = BorderStyle() == bsSingle ? 2 : 0;
        AHeight = (AHeight - s - b) / DefaultRowHeight() * DefaultRowHeight() + s + 2 * b;
    }
    TBaseGrid::SetBounds(ALeft, ATop, AWidth, AHeight);
    DrawNCBorder();
}

String TAdvStringGrid::GetEditMask(int ACol, int ARow) {
    String mask = EditMask;
    if (OnGetEditMask) OnGetEditMask(this, ACol, ARow, mask);
    return mask;
}

void TAdvStringGrid::IsDesignTime(TObject*, bool& IsDesigning) {
    IsDesigning = ComponentState().count(csDesigning) != 0;
}

// ---------------------------------------------------------------------------------------------
// What the settings objects ask of the grid

void TAdvStringGrid::SettingsRepaintRow(int ARow) {
    if (ARow >= 0 && ARow < RowCount()) InvalidateRow(ARow);
}

void TAdvStringGrid::SettingsRepaintCell(int ACol, int ARow) {
    if (ACol >= 0 && ACol < ColCount() && ARow >= 0 && ARow < RowCount()) InvalidateCell(ACol, ARow);
}

void TAdvStringGrid::SettingsFooterRows(int AFixedFooters, bool HideLastRow) {
    SetFixedFooters(AFixedFooters);
    FHideLastRow = HideLastRow;
}
