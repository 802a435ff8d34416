// The column grid: column objects, their collection, and the grid's queries answered per column.
#include "AdvColumnGrid.h"

#include "GridCellEditors.h"
#include "ComponentStreaming.h"
#include "GridUtil.h"
#include "IniFiles.h"

#include <algorithm>

namespace {

void CopyFont(TFont* Dest, TFont* Source) {
    TNotifyEvent keep = Dest->OnChange;
    Dest->OnChange = nullptr;
    Dest->Assign(Source);
    Dest->OnChange = keep;
}

void CopyPen(TPen* Dest, TPen* Source) {
    TNotifyEvent keep = Dest->OnChange;
    Dest->OnChange = nullptr;
    Dest->Assign(Source);
    Dest->OnChange = keep;
}

// The text before the first "=" of a filter entry (the whole entry without one).
String FilterFriendlyName(const String& Entry) {
    const int eq = Entry.indexOf(u'=');
    return eq < 0 ? Entry : Entry.left(eq);
}

// The text after the first "=" of a filter entry (the whole entry without one).
String FilterCondition(const String& Entry) {
    const int eq = Entry.indexOf(u'=');
    return eq < 0 ? Entry : Entry.mid(eq + 1);
}

} // namespace

// =============================================================================================
// TGridColumnItem

// The item joins its collection at the end of its construction: the collection's update, which
// the joining runs, then sees a whole item.
TGridColumnItem::TGridColumnItem(TCollection* Collection)
    : TCollectionItem(nullptr), FFont(std::make_unique<TFont>()),
      FComboItems(std::make_unique<TStringList>()), FPrintFont(std::make_unique<TFont>()),
      FBorderPen(std::make_unique<TPen>()), FPrintBorderPen(std::make_unique<TPen>()),
      FFilter(std::make_unique<TStringList>()), FHeaderFont(std::make_unique<TFont>()) {
    FBorderPen->SetColor(clSilver);
    FBorderPen->SetWidth(1);
    FPrintBorderPen->SetColor(clBlack);
    FPrintBorderPen->SetWidth(1);
    auto* columns = dynamic_cast<TGridColumnCollection*>(Collection);
    if (TAdvColumnGrid* grid = columns ? columns->Grid() : nullptr) {
        FFont->Assign(grid->Font());
        FHeaderFont->Assign(grid->Font());
        FPrintFont->Assign(grid->Font());
        FColor = grid->Color();
        FFont->OnChange = [this](TObject*) { Update(); };
        FHeaderFont->OnChange = [this](TObject*) { Update(); };
        FBorderPen->OnChange = [this](TObject*) { Update(); };
        FFilter->OnChange = [this](TObject*) { Repaint(); };
    }
    SetCollection(Collection);
}

TGridColumnItem::~TGridColumnItem() {
    FFont->OnChange = nullptr;
    FHeaderFont->OnChange = nullptr;
    FBorderPen->OnChange = nullptr;
    FFilter->OnChange = nullptr;
}

TAdvColumnGrid* TGridColumnItem::Grid() const {
    auto* c = dynamic_cast<TGridColumnCollection*>(Collection());
    return c ? c->Grid() : nullptr;
}

TAdvColumnGrid* TGridColumnItem::RequireGrid() const {
    TAdvColumnGrid* g = Grid();
    if (!g) throw EAdvGridError(QStringLiteral("Column has no grid"));
    return g;
}

void TGridColumnItem::Update() {
    Changed(false);
}

void TGridColumnItem::Repaint() {
    if (TAdvColumnGrid* g = Grid()) g->Invalidate();
}

void TGridColumnItem::Assign(TPersistent* Source) {
    auto* src = dynamic_cast<TGridColumnItem*>(Source);
    if (!src) return;
    AssignVisuals(src);
    FColor = src->FColor;
    CopyFont(FFont.get(), src->FFont.get());
    FComboItems->Assign(src->FComboItems.get());
    FDropDownCount = src->FDropDownCount;
    CopyFont(FHeaderFont.get(), src->FHeaderFont.get());
    FColumnHeader = src->FColumnHeader;
    FName = src->FName;
    FTag = src->FTag;
}

void TGridColumnItem::AssignVisuals(TPersistent* Source) {
    auto* src = dynamic_cast<TGridColumnItem*>(Source);
    if (!src) return;
    FAlignment = src->FAlignment;
    FHeaderAlignment = src->FHeaderAlignment;
    CopyPen(FBorderPen.get(), src->FBorderPen.get());
    FBorders = src->FBorders;
    FCheckFalse = src->FCheckFalse;
    FCheckTrue = src->FCheckTrue;
    if (TAdvColumnGrid* g = Grid()) {
        FColor = g->Color();
        CopyFont(FFont.get(), g->Font());
    }
    FEditLength = src->FEditLength;
    FEditLink = src->FEditLink;
    FEditMask = src->FEditMask;
    FEditorType = src->FEditorType;
    FFixed = src->FFixed;
    FPassword = src->FPassword;
    FPrintBorderPen->Assign(src->FPrintBorderPen.get());
    FPrintBorders = src->FPrintBorders;
    FPrintColor = src->FPrintColor;
    FPrintFont->Assign(src->FPrintFont.get());
    FReadOnly = src->FReadOnly;
    FSortPrefix = src->FSortPrefix;
    FSortStyle = src->FSortStyle;
    FSortSuffix = src->FSortSuffix;
    FSpinMax = src->FSpinMax;
    FSpinMin = src->FSpinMin;
    FSpinStep = src->FSpinStep;
    FColumnPopup = src->FColumnPopup;
    FWidth = src->Width();
    FShowBands = src->FShowBands;
    FMinSize = src->FMinSize;
    FMaxSize = src->FMaxSize;
    FAutoMinSize = src->FAutoMinSize;
    FAutoMaxSize = src->FAutoMaxSize;
    {
        TNotifyEvent keep = FFilter->OnChange;
        FFilter->OnChange = nullptr;
        FFilter->Assign(src->FFilter.get());
        FFilter->OnChange = keep;
    }
    FFilterCaseSensitive = src->FFilterCaseSensitive;
    FDefIdx = src->FDefIdx;
    FFloatFormat = src->FFloatFormat;
}

String TGridColumnItem::DisplayName() const {
    if (!FName.isEmpty()) return QStringLiteral("Col %1: %2").arg(Index()).arg(FName);
    return QStringLiteral("Column %1").arg(Index());
}

int TGridColumnItem::Width() const {
    TAdvColumnGrid* g = Grid();
    return g ? g->AllColWidths(Index()) : 0;
}

void TGridColumnItem::SetWidth(int Value) {
    FWidth = Value;
    if (TAdvColumnGrid* g = Grid()) g->SetAllColWidths(Index(), Value);
}

void TGridColumnItem::SetAlignment(TAlignment Value) {
    FAlignment = Value;
    Repaint();
}

void TGridColumnItem::SetHeaderAlignment(TAlignment Value) {
    FHeaderAlignment = Value;
    Repaint();
}

void TGridColumnItem::SetFloatFormat(const String& Value) {
    FFloatFormat = Value;
    Repaint();
}

void TGridColumnItem::SetHeader(const String& Value) {
    FColumnHeader = Value;
    TAdvColumnGrid* g = Grid();
    if (!g) return;
    if (g->FixedRows() > 0 && !g->FColMoving) {
        g->SetCellEx(Index(), 0, Value);
        Update();
    }
    // The header list follows the items (its change writes row 0 again).
    TStringList* headers = g->ColumnHeaders();
    TNotifyEvent keep = headers->OnChange;
    headers->OnChange = nullptr;
    headers->Clear();
    TGridColumnCollection* cols = g->Columns();
    for (int i = 0; i < cols->Count(); ++i) headers->Add(cols->Items(i)->Header());
    headers->OnChange = keep;
}

void TGridColumnItem::SetFont(TFont* Value) {
    FFont->Assign(Value);
    Update();
}

void TGridColumnItem::SetHeaderFont(TFont* Value) {
    CopyFont(FHeaderFont.get(), Value);
    Repaint();
}

void TGridColumnItem::SetColor(TColor Value) {
    FColor = Value;
    Update();
}

void TGridColumnItem::SetShowBands(bool Value) {
    FShowBands = Value;
    Update();
}

void TGridColumnItem::SetFixed(bool Value) {
    FFixed = Value;
    Update();
}

void TGridColumnItem::SetPassword(bool Value) {
    FPassword = Value;
    Update();
}

void TGridColumnItem::SetBorders(const TCellBorders& Value) {
    FBorders = Value;
    Update();
}

void TGridColumnItem::SetEditor(TEditorType Value) {
    if (Value == FEditorType) return;
    const bool check = Value == edDataCheckBox || FEditorType == edDataCheckBox;
    FEditorType = Value;
    if (check) Repaint();
}

String TGridColumnItem::Rows(int ARow) const {
    return RequireGrid()->GetCellEx(Index(), ARow);
}

void TGridColumnItem::SetRows(int ARow, const String& Value) {
    RequireGrid()->SetCellEx(Index(), ARow, Value);
}

int TGridColumnItem::Ints(int ARow) const {
    return RequireGrid()->GetInts(Index(), ARow);
}

void TGridColumnItem::SetInts(int ARow, int Value) {
    RequireGrid()->SetInts(Index(), ARow, Value);
}

double TGridColumnItem::Floats(int ARow) const {
    return RequireGrid()->GetFloats(Index(), ARow);
}

void TGridColumnItem::SetFloats(int ARow, double Value) {
    RequireGrid()->SetFloats(Index(), ARow, Value);
}

TDateTime TGridColumnItem::Dates(int ARow) const {
    return RequireGrid()->GetDates(Index(), ARow);
}

void TGridColumnItem::SetDates(int ARow, TDateTime Value) {
    RequireGrid()->SetDates(Index(), ARow, Value);
}

TDateTime TGridColumnItem::Times(int ARow) const {
    return RequireGrid()->GetTimes(Index(), ARow);
}

void TGridColumnItem::SetTimes(int ARow, TDateTime Value) {
    RequireGrid()->SetTimes(Index(), ARow, Value);
}

// =============================================================================================
// TGridColumnCollection

TGridColumnCollection::TGridColumnCollection(TAdvColumnGrid* AOwner)
    : TCollection(CollectionItemClass<TGridColumnItem>()), FOwner(AOwner) {}

TPersistent* TGridColumnCollection::GetOwner() {
    return FOwner;
}

TGridColumnItem* TGridColumnCollection::Items(int Index) const {
    return static_cast<TGridColumnItem*>(TCollection::Items(Index));
}

TGridColumnItem* TGridColumnCollection::Add() {
    auto* item = static_cast<TGridColumnItem*>(TCollection::Add());
    if (Count() > 1) item->AssignVisuals(Items(Count() - 2));
    return item;
}

TGridColumnItem* TGridColumnCollection::Insert(int Index) {
    return static_cast<TGridColumnItem*>(TCollection::Insert(Index));
}

void TGridColumnCollection::Update(TCollectionItem* Item) {
    TCollection::Update(Item);
    if (UpdateCount() > 0 || FNoRecursiveUpdate || !FOwner || FOwner->Loading()) return;
    if (FOwner->BeingDestroyed()) return;
    const int n = Count() - FOwner->NumHiddenColumns();
    if (n != FOwner->ColCount() && n > FOwner->FixedCols()) FOwner->SetColCount(n);
    FOwner->SyncColumnHeaders();
    FOwner->Invalidate();
}

void TGridColumnCollection::SetOrganization() {
    FNoRecursiveUpdate = true;
    try {
        FOwner->SyncColumnItems();
    } catch (...) {
        FNoRecursiveUpdate = false;
        throw;
    }
    FNoRecursiveUpdate = false;
    for (int i = 0; i < Count(); ++i) Items(i)->FDefIdx = i;
}

void TGridColumnCollection::ResetOrganization() {
    bool moved = true;
    while (moved) {
        moved = false;
        const int count = Count();
        for (int i = 0; i < count && i < Count(); ++i) {
            const int target = Items(i)->FDefIdx;
            if (target < i && target >= 0) {
                FOwner->MoveColumn(i, target);
                moved = true;
            }
        }
    }
}

// =============================================================================================
// TAdvColumnGridIO

TAdvColumnGridIO::TAdvColumnGridIO(TComponent* AOwner, TAdvColumnGrid* AGrid)
    : TComponent(AOwner), FItems(std::make_unique<TGridColumnCollection>(AGrid)) {
    // Its items never reach the grid's columns by themselves.
    FItems->SetNoRecursiveUpdate(true);
}

TAdvColumnGridIO::~TAdvColumnGridIO() = default;

// =============================================================================================
// TAdvColumnGrid: construction, columns in step with the grid

TAdvColumnGrid::TAdvColumnGrid(TComponent* AOwner) : TAdvStringGrid(AOwner) {
    FColumnCollection.reset(CreateColumns());
    FColumnCollection->SetNoRecursiveUpdate(true);
    SyncColumnItems();
    FColumnCollection->SetNoRecursiveUpdate(false);
    FColMoving = false;
    FCellGraphic = std::make_unique<TCellGraphic>();
    FSaveCol = std::make_unique<TGridColumnItem>(nullptr);
}

TAdvColumnGrid::~TAdvColumnGrid() {
    Destroying();
    FColumnCollection.reset();
    FCellGraphic.reset();
    FSaveCol.reset();
}

TGridColumnCollection* TAdvColumnGrid::CreateColumns() {
    return new TGridColumnCollection(this);
}

void TAdvColumnGrid::Loaded() {
    TAdvStringGrid::Loaded();
    SyncColumnItems();
    FColumnCollection->SetOrganization();
}

void TAdvColumnGrid::SyncColumnItems() {
    TGridColumnCollection* cols = FColumnCollection.get();
    if (!cols) return;
    while (cols->Count() < ColCount() + NumHiddenColumns()) cols->Add();
    while (cols->Count() > ColCount() + NumHiddenColumns()) TObject::Free(cols->Items(cols->Count() - 1));
    if (HasState(csDesigning) && FixedRows() < RowCount())
        for (int i = 0; i < ColCount(); ++i) SetCellEx(i, FixedRows(), QStringLiteral("Column %1").arg(i));
}

void TAdvColumnGrid::SetColCount(int Value) {
    TAdvStringGrid::SetColCount(Value);
    if (!FColumnCollection || FColumnsFollowLater) return;
    FColumnCollection->SetNoRecursiveUpdate(true);
    try {
        SyncColumnItems();
    } catch (...) {
        FColumnCollection->SetNoRecursiveUpdate(false);
        throw;
    }
    FColumnCollection->SetNoRecursiveUpdate(false);
}

void TAdvColumnGrid::AllCellsChanged() {
    TAdvStringGrid::AllCellsChanged();
    SetColCount(ColCount());
}

TGridColumnItem* TAdvColumnGrid::GetColumnByName(const String& AValue) const {
    for (int i = 0; i < FColumnCollection->Count(); ++i) {
        TGridColumnItem* item = FColumnCollection->Items(i);
        if (item->Name() == AValue) return item;
    }
    return nullptr;
}

TGridColumnItem* TAdvColumnGrid::ItemAt(int ACol) const {
    if (!FColumnCollection || ACol < 0 || ACol >= FColumnCollection->Count()) return nullptr;
    return FColumnCollection->Items(ACol);
}

bool TAdvColumnGrid::DataCell(int ACol, int ARow) const {
    return ItemAt(ACol) && ACol >= FixedCols() && ARow >= FixedRows();
}

bool TAdvColumnGrid::InnerCell(int ACol, int ARow) const {
    return DataCell(ACol, ARow) && ACol < ColCount() + NumHiddenColumns() - FixedRightCols() &&
           ARow < RowCount() - FixedFooters();
}

void TAdvColumnGrid::InsertCols(int ColIndex, int CCount) {
    // The items are inserted where the columns went, not appended by the count's writer.
    FColumnsFollowLater = true;
    try {
        TAdvStringGrid::InsertCols(ColIndex, CCount);
    } catch (...) {
        FColumnsFollowLater = false;
        throw;
    }
    FColumnsFollowLater = false;
    FColumnCollection->SetNoRecursiveUpdate(true);
    try {
        for (int i = 0; i < CCount; ++i)
            FColumnCollection->Insert(std::clamp(ColIndex, 0, FColumnCollection->Count()));
    } catch (...) {
        FColumnCollection->SetNoRecursiveUpdate(false);
        throw;
    }
    FColumnCollection->SetNoRecursiveUpdate(false);
}

void TAdvColumnGrid::RemoveCols(int ColIndex, int CCount) {
    FColumnsFollowLater = true;
    try {
        TAdvStringGrid::RemoveCols(ColIndex, CCount);
    } catch (...) {
        FColumnsFollowLater = false;
        throw;
    }
    FColumnsFollowLater = false;
    // The string grid removes only the columns that exist; so do the items.
    for (int i = 0; i < CCount && ColIndex >= 0 && ColIndex < FColumnCollection->Count(); ++i)
        TObject::Free(FColumnCollection->Items(ColIndex));
}

void TAdvColumnGrid::Group(int Colindex) {
    FSaveCol->Assign(FColumnCollection->Items(Colindex));
    TAdvStringGrid::Group(Colindex);
}

void TAdvColumnGrid::UnGroup() {
    const int grouped = GroupColumn();
    TAdvStringGrid::UnGroup();
    if (grouped != -1 && grouped < FColumnCollection->Count())
        FColumnCollection->Items(grouped)->Assign(FSaveCol.get());
}

void TAdvColumnGrid::SyncColumnHeaders() {
    if (FixedRows() < 1) return;
    TStringList* headers = ColumnHeaders();
    TNotifyEvent keep = headers->OnChange;
    headers->OnChange = nullptr;
    headers->Clear();
    for (int i = 0; i < FColumnCollection->Count(); ++i) {
        TGridColumnItem* item = FColumnCollection->Items(i);
        if (item->FColumnHeader.isEmpty()) {
            const String cell = GetCellEx(i, 0);
            if (!cell.isEmpty()) item->FColumnHeader = cell;
        }
        headers->Add(item->FColumnHeader);
    }
    headers->OnChange = keep;
}

void TAdvColumnGrid::ColumnHeadersChanged() {
    TStringList* headers = ColumnHeaders();
    for (int i = 0; i < FColumnCollection->Count() && i < headers->Count(); ++i)
        FColumnCollection->Items(i)->FColumnHeader = headers->Strings(i);
}

int TAdvColumnGrid::GetVersionNr() {
    return (3 << 24) | (1 << 16) | (3 << 8) | 1;
}

String TAdvColumnGrid::GetVersionString() {
    const unsigned v = unsigned(GetVersionNr());
    return QStringLiteral("%1.%2.%3.%4 Aug, 2012")
        .arg(v >> 24)
        .arg((v >> 16) & 0xFF)
        .arg((v >> 8) & 0xFF)
        .arg(v & 0xFF);
}

void TAdvColumnGrid::Notification(TComponent* AComponent, TOperation Operation) {
    TAdvStringGrid::Notification(AComponent, Operation);
    if (Operation != opRemove || !FColumnCollection) return;
    for (int i = 0; i < FColumnCollection->Count(); ++i) {
        TGridColumnItem* item = FColumnCollection->Items(i);
        // An edit link is a component of its own (its class comes with the custom editors).
        if (item->FEditLink && static_cast<void*>(item->FEditLink) == static_cast<void*>(AComponent))
            item->FEditLink = nullptr;
        if (item->FColumnPopup == AComponent) item->FColumnPopup = nullptr;
    }
}

// =============================================================================================
// Moving, sizing and scaling columns

void TAdvColumnGrid::ColumnMoved(int FromIndex, int ToIndex) {
    TGridColumnCollection* cols = FColumnCollection.get();
    cols->SetNoRecursiveUpdate(true);
    const int top = TopRow();
    const int from = RealColIndex(FromIndex);
    const int to = RealColIndex(ToIndex);
    try {
        TAdvStringGrid::ColumnMoved(FromIndex, ToIndex);
        if (from >= 0 && to >= 0 && from < cols->Count() && to < cols->Count() && from != to) {
            BeginUpdate();
            FColMoving = true;
            TGridColumnItem* temp = cols->Add();
            temp->Assign(cols->Items(from));
            TObject::Free(cols->Items(from));
            cols->Insert(to)->Assign(temp);
            TObject::Free(temp);
            SetTopRow(top);
            FColMoving = false;
            EndUpdate();
        }
    } catch (...) {
        if (FColMoving) {
            FColMoving = false;
            EndUpdate();
        }
        cols->SetNoRecursiveUpdate(false);
        throw;
    }
    cols->SetNoRecursiveUpdate(false);
    if (OnAfterColumnMoved) OnAfterColumnMoved(this, from, to);
}

void TAdvColumnGrid::ColWidthsChanged() {
    TAdvStringGrid::ColWidthsChanged();
    if (Loading() || BeingDestroyed() || !FColumnCollection) return;
    for (int c = 0; c < ColCount(); ++c) {
        const int r = RealColIndex(c);
        if (r >= 0 && r < FColumnCollection->Count()) FColumnCollection->Items(r)->FWidth = ColWidths(c);
    }
}

void TAdvColumnGrid::UpdateColumnSize(int ACol, int& AWidth) {
    if (TGridColumnItem* item = ItemAt(ACol)) {
        if (item->FMinSize > 0 && AWidth < item->FMinSize) AWidth = item->FMinSize;
        if (item->FMaxSize > 0 && AWidth > item->FMaxSize) AWidth = item->FMaxSize;
    }
    TAdvStringGrid::UpdateColumnSize(ACol, AWidth);
}

void TAdvColumnGrid::UpdateAutoColumnSize(int ACol, int& AWidth) {
    if (TGridColumnItem* item = ItemAt(ACol)) {
        if (item->FAutoMinSize > 0 && AWidth < item->FAutoMinSize) AWidth = item->FAutoMinSize;
        if (item->FAutoMaxSize > 0 && AWidth > item->FAutoMaxSize) AWidth = item->FAutoMaxSize;
    }
    TAdvStringGrid::UpdateAutoColumnSize(ACol, AWidth);
}

void TAdvColumnGrid::ChangeScale(int M, int D) {
    TAdvStringGrid::ChangeScale(M, D);
    if (HasState(csDesigning) || M == D || !FColumnCollection) return;
    for (int i = 0; i < ColCount() && i < FColumnCollection->Count(); ++i) {
        TGridColumnItem* item = FColumnCollection->Items(i);
        TNotifyEvent keepFont = item->FFont->OnChange;
        TNotifyEvent keepHeader = item->FHeaderFont->OnChange;
        item->FFont->OnChange = nullptr;
        item->FHeaderFont->OnChange = nullptr;
        item->FFont->SetSize(MulDiv(item->FFont->Size(), M, D));
        item->FHeaderFont->SetSize(MulDiv(item->FHeaderFont->Size(), M, D));
        item->FFont->OnChange = keepFont;
        item->FHeaderFont->OnChange = keepHeader;
    }
}

// =============================================================================================
// Column positions

void TAdvColumnGrid::SaveColumnPositions(const String& Key, const String& Section) {
    std::unique_ptr<TMemIniFile, void (*)(TMemIniFile*)> ini(new TMemIniFile(Key),
                                                             [](TMemIniFile* F) { TObject::Free(F); });
    for (int i = 0; i < FColumnCollection->Count(); ++i)
        ini->WriteInteger(Section, "CP" + IntToStr(i), FColumnCollection->Items(i)->FDefIdx);
    ini->UpdateFile();
}

void TAdvColumnGrid::LoadColumnPositions(const String& Key, const String& Section) {
    std::unique_ptr<TMemIniFile, void (*)(TMemIniFile*)> ini(new TMemIniFile(Key),
                                                             [](TMemIniFile* F) { TObject::Free(F); });
    TGridColumnCollection* cols = FColumnCollection.get();
    const int count = cols->Count();
    // The whole set first: every key present and the values an ordering of the columns. Any
    // other set moves nothing (the reorganising passes would never settle on it).
    std::vector<int> orig(size_t(count), -1);
    std::vector<bool> seen(size_t(count), false);
    for (int j = 0; j < count; ++j) {
        const int v = ini->ReadInteger(Section, "CP" + IntToStr(j), -1);
        if (v < 0 || v >= count || seen[size_t(v)]) return;
        seen[size_t(v)] = true;
        orig[size_t(j)] = v;
    }
    ResetColumnOrder();
    for (int j = 0; j < count; ++j) cols->Items(orig[size_t(j)])->FDefIdx = j;
    cols->ResetOrganization();
    for (int j = 0; j < count; ++j) cols->Items(j)->FDefIdx = orig[size_t(j)];
}

void TAdvColumnGrid::SaveColPositions() {
    if (ColumnSize()->Location != clIniFile) {
        TAdvStringGrid::SaveColPositions();
        return;
    }
    if (ColumnSize()->Key.isEmpty() || ColumnSize()->Section.isEmpty()) return;
    SaveColumnPositions(ColumnSize()->Key, ColumnSize()->Section);
}

void TAdvColumnGrid::LoadColPositions() {
    if (ColumnSize()->Location != clIniFile) {
        TAdvStringGrid::LoadColPositions();
        return;
    }
    if (ColumnSize()->Key.isEmpty() || ColumnSize()->Section.isEmpty()) return;
    LoadColumnPositions(ColumnSize()->Key, ColumnSize()->Section);
}

// =============================================================================================
// Per-cell queries

void TAdvColumnGrid::GetDefaultVisualProps(int ACol, int ARow, TFont* AFont, TBrush* ABrush, TColor& AColorTo,
                                           TColor& AMirrorColor, TColor& AMirrorColorTo, TAlignment& HA,
                                           TVAlignment& VA, bool& WW, TCellGradientDirection& GD) {
    TGridColumnItem* item = ItemAt(ACol);
    if (!item) {
        TAdvStringGrid::GetDefaultVisualProps(ACol, ARow, AFont, ABrush, AColorTo, AMirrorColor,
                                              AMirrorColorTo, HA, VA, WW, GD);
        return;
    }
    AFont->Assign(item->FFont.get());
    ABrush->SetColor(item->FColor);
    AColorTo = clNone;
    HA = ARow < FixedRows() ? item->FHeaderAlignment : item->FAlignment;
    VA = VAlignment();
    WW = WordWrap();
    GD = GradientVertical;
    if (IsFixed(ACol, ARow) || (Bands()->Active() && item->FShowBands)) {
        ABrush->SetColor(clNone);
        AColorTo = clNone;
    }
}

void TAdvColumnGrid::GetCellColor(int ACol, int ARow, TGridDrawState AState, TBrush* ABrush, TFont* AFont) {
    TGridColumnItem* item = ItemAt(ACol);
    if (item && ACol >= FixedCols() && ACol < ColCount() + NumHiddenColumns() - FixedRightCols() &&
        ARow < RowCount() - FixedFooters()) {
        if (item->FFixed)
            ABrush->SetColor(FixedColor());
        else if ((!item->FShowBands || !Bands()->Active()) && ARow >= FixedRows())
            ABrush->SetColor(item->FColor);
        AFont->Assign(ARow < FixedRows() ? item->FHeaderFont.get() : item->FFont.get());
        if (HasCellProperties(ACol, ARow)) {
            TCellProperties* p = GetCellProperties(ACol, ARow);
            if (p->BrushColor() != clNone) ABrush->SetColor(p->BrushColor());
            if (p->FontColor() != clNone) AFont->SetColor(p->FontColor());
        }
    }
    TAdvStringGrid::GetCellColor(ACol, ARow, AState, ABrush, AFont);
}

void TAdvColumnGrid::GetCellPrintColor(int ACol, int ARow, TGridDrawState AState, TBrush* ABrush,
                                       TFont* AFont) {
    if (TGridColumnItem* item = ItemAt(ACol)) {
        if (!InnerCell(ACol, ARow)) {
            AFont->Assign(PrintSettings()->FixedFont());
        } else {
            const bool hasProps = HasCellProperties(ACol, ARow);
            TCellProperties* p = hasProps ? GetCellProperties(ACol, ARow) : nullptr;
            if (item->FFixed)
                ABrush->SetColor(FixedColor());
            else if (!item->FShowBands || !Bands()->Active() || !Bands()->Print) {
                ABrush->SetColor(item->FPrintColor);
                if (p && p->BrushColor() != clNone) ABrush->SetColor(p->BrushColor());
            }
            if (item->FPrintFontCustom) {
                AFont->Assign(item->FPrintFont.get());
                if (p) {
                    if (p->FontColor() != clNone) AFont->SetColor(p->FontColor());
                    if (!p->FontStyle().empty()) AFont->SetStyle(p->FontStyle());
                    if (p->FontSize() != 0) AFont->SetSize(p->FontSize());
                    if (!p->FontName().isEmpty()) AFont->SetName(p->FontName());
                }
            } else {
                AFont->Assign(PrintSettings()->Font());
            }
        }
    }
    TAdvStringGrid::GetCellPrintColor(ACol, ARow, AState, ABrush, AFont);
}

void TAdvColumnGrid::GetCellBorder(int ACol, int ARow, TPen* APen, TCellBorders& Borders) {
    if (DataCell(ACol, ARow)) {
        TGridColumnItem* item = ItemAt(ACol);
        Borders = item->FBorders;
        APen->Assign(item->FBorderPen.get());
    }
    TAdvStringGrid::GetCellBorder(ACol, ARow, APen, Borders);
}

void TAdvColumnGrid::GetCellPrintBorder(int ACol, int ARow, TPen* APen, TCellBorders& Borders) {
    if (DataCell(ACol, ARow) && ItemAt(ACol)->FPrintBorderCustom) {
        TGridColumnItem* item = ItemAt(ACol);
        Borders = item->FPrintBorders;
        APen->Assign(item->FPrintBorderPen.get());
    }
    TAdvStringGrid::GetCellPrintBorder(ACol, ARow, APen, Borders);
}

void TAdvColumnGrid::GetAlignment(int ACol, int ARow, TAlignment& HAlign, TVAlignment& VAlign) {
    if (TGridColumnItem* item = ItemAt(ACol)) {
        HAlign = ARow < FixedRows() ? item->FHeaderAlignment : item->FAlignment;
        if (HasCellProperties(ACol, ARow)) HAlign = GetCellProperties(ACol, ARow)->Alignment();
    }
    TAdvStringGrid::GetAlignment(ACol, ARow, HAlign, VAlign);
}

void TAdvColumnGrid::GetFormat(int ACol, TSortStyle& AStyle, String& aPrefix, String& aSuffix) {
    if (TGridColumnItem* item = ItemAt(ACol)) {
        AStyle = item->FSortStyle;
        aPrefix = item->FSortPrefix;
        aSuffix = item->FSortSuffix;
    }
    TAdvStringGrid::GetFormat(ACol, AStyle, aPrefix, aSuffix);
}

void TAdvColumnGrid::GetCellEditor(int ACol, int ARow, TEditorType& AEditor) {
    if (TGridColumnItem* item = ItemAt(ACol)) {
        if (ACol >= FixedCols() && ARow >= FixedRows()) {
            AEditor = item->FEditorType;
            if (TGridCombo* combo = Combobox()) {
                combo->Items()->Assign(item->FComboItems.get());
                combo->SetDropDownCount(item->FDropDownCount);
            }
            if (FEditSpin) {
                FEditSpin->SetMinValue(item->FSpinMin);
                FEditSpin->SetMaxValue(item->FSpinMax);
                FEditSpin->Increment = item->FSpinStep;
            }
            EditLink = item->FEditLink;
            ControlLook()->SetDropDownCount(item->FDropDownCount);
        }
        if (!item->FFloatFormat.isEmpty()) FloatFormat = item->FFloatFormat;
    }
    TAdvStringGrid::GetCellEditor(ACol, ARow, AEditor);
}

void TAdvColumnGrid::IsFixedCell(int ACol, int ARow, bool& IsFixed) {
    TGridColumnItem* item = ItemAt(RealColIndex(ACol));
    if (item && ACol >= FixedCols() && ARow >= FixedRows()) IsFixed = item->FFixed;
    TAdvStringGrid::IsFixedCell(ACol, ARow, IsFixed);
}

void TAdvColumnGrid::QueryCanEdit(int ACol, int ARow, bool& CanEdit) {
    CanEdit = false;
    if (!Loading() && DataCell(ACol, ARow)) {
        TGridColumnItem* item = ItemAt(ACol);
        CanEdit = !(item->FReadOnly || item->FFixed);
        if (CanEdit && HasCellProperties(ACol, ARow)) CanEdit = !GetCellProperties(ACol, ARow)->ReadOnly();
    }
    const TPoint b = BaseCell(ACol, ARow);
    if (OnCanEditCell) OnCanEditCell(this, b.Y, b.X, CanEdit);
}

void TAdvColumnGrid::IsPasswordCell(int ACol, int ARow, bool& IsPassword) {
    if (TGridColumnItem* item = ItemAt(ACol)) IsPassword = item->FPassword;
    TAdvStringGrid::IsPasswordCell(ACol, ARow, IsPassword);
}

bool TAdvColumnGrid::HasComboBox(int ACol, int ARow) {
    bool result = false;
    if (DataCell(ACol, ARow)) {
        const TEditorType e = ItemAt(ACol)->FEditorType;
        result = e == edComboEdit || e == edComboList;
    }
    if (OnHasComboBox) OnHasComboBox(this, ACol, ARow, result);
    return result;
}

void TAdvColumnGrid::GetCheckTrue(int ACol, int ARow, String& Value) {
    TAdvStringGrid::GetCheckTrue(ACol, ARow, Value);
    if (InnerCell(ACol, ARow)) Value = ItemAt(ACol)->FCheckTrue;
}

void TAdvColumnGrid::GetCheckFalse(int ACol, int ARow, String& Value) {
    TAdvStringGrid::GetCheckFalse(ACol, ARow, Value);
    if (InnerCell(ACol, ARow)) Value = ItemAt(ACol)->FCheckFalse;
}

void TAdvColumnGrid::GetColumnFloatFormat(int ACol, String& Format) {
    Format = FloatFormat;
    if (TGridColumnItem* item = ItemAt(ACol))
        if (!item->FFloatFormat.isEmpty()) Format = item->FFloatFormat;
}

String TAdvColumnGrid::GetFormattedCell(int ACol, int ARow) {
    TGridColumnItem* item = ItemAt(ACol);
    if (!item) return TAdvStringGrid::GetFormattedCell(ACol, ARow);
    const String text = GetCellEx(ACol, ARow);
    String format = item->FFloatFormat;
    const int kind = NumericTextType(text);
    bool numeric = kind == 0 || kind == 1;
    if (OnGetFloatFormat) OnGetFloatFormat(this, ACol, ARow, numeric, format);
    if (format.isEmpty() || !numeric) return text;
    // A format that cannot take the value shows the text as stored.
    try {
        return Format(format, GetFloats(ACol, ARow));
    } catch (const Exception&) {
        return text;
    }
}

TCellType TAdvColumnGrid::GetCellType(int ACol, int ARow) {
    // The string grid's answer from the cell's own graphic, without the shared check box.
    FOwnGraphicOnly = true;
    const TCellType type = TAdvStringGrid::GetCellType(ACol, ARow);
    FOwnGraphicOnly = false;
    if (BeingDestroyed() || type != ctEmpty) return type;
    if (InnerCell(ACol, ARow) && ItemAt(ACol)->FEditorType == edDataCheckBox) return ctDataCheckBox;
    return type;
}

TCellGraphic* TAdvColumnGrid::GetCellGraphic(int ACol, int ARow) {
    TCellGraphic* g = TAdvStringGrid::GetCellGraphic(ACol, ARow);
    if (g || FOwnGraphicOnly || BeingDestroyed() || !FCellGraphic) return g;
    if (InnerCell(ACol, ARow) && ItemAt(ACol)->FEditorType == edDataCheckBox) {
        FCellGraphic->CellType = ctVirtCheckBox;
        FCellGraphic->CellTransparent = ControlLook()->ControlStyle() == csFlat;
        return FCellGraphic.get();
    }
    return g;
}

bool TAdvColumnGrid::GetColumnFilter(int ACol) {
    FilterList()->SetSorted(false);
    TAdvStringGrid::GetColumnFilter(ACol);
    TGridColumnItem* item = ItemAt(ACol);
    if (!item || item->FFilter->Count() == 0) return false;
    TStringList* list = FilterList();
    list->Clear();
    for (int i = 0; i < item->FFilter->Count(); ++i) list->Add(FilterFriendlyName(item->FFilter->Strings(i)));
    return true;
}

void TAdvColumnGrid::FilterSelect(TObject* Sender, int ItemIndex) {
    const int col = FilterColumn();
    TGridColumnItem* item = ItemAt(col);
    if (item && ItemIndex >= 0 && ItemIndex < item->FFilter->Count()) {
        const String entry = item->FFilter->Strings(ItemIndex);
        const String friendly = FilterFriendlyName(entry);
        if (AutoFilterDisplay) item->SetHeader(friendly);
        if (AutoFilterUpdate) SetFilterActive(false);
        String condition = FilterCondition(entry);
        if (OnFilterSelect) OnFilterSelect(Sender, col, ItemIndex, friendly, condition);
        TFilterData* data = Filter()->GetColFilter(col);
        data->SetCondition(condition);
        data->SetCaseSensitive(item->FFilterCaseSensitive);
        if (AutoFilterUpdate) {
            SetFilterActive(true);
            if (!(RowCount() == FixedRows() || (RowCount() == 1 && FixedRowAlways()))) SetRow(FixedRows());
            FilterDone();
        }
    }
    FFilterCol = -1;
}

String TAdvColumnGrid::GetEditMask(int ACol, int ARow) {
    String mask;
    if (ACol < FColumnCollection->Count() && ACol >= FixedCols())
        if (TGridColumnItem* item = ItemAt(RealColIndex(ACol))) mask = item->FEditMask;
    const String own = TAdvStringGrid::GetEditMask(ACol, ARow);
    return own.isEmpty() ? mask : own;
}

int TAdvColumnGrid::GetEditMaxLength() {
    const int c = Col();
    if (c < FColumnCollection->Count() && c >= FixedCols())
        if (TGridColumnItem* item = ItemAt(RealColIndex(c))) return item->FEditLength;
    return TAdvStringGrid::GetEditMaxLength();
}

// =============================================================================================
// Column popups

void TAdvColumnGrid::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
    TAdvStringGrid::MouseDown(Button, Shift, X, Y);
    int c = -1, r = -1;
    MouseToCell(X, Y, c, r);
    if (c < 0 || r < 0) return;
    TGridColumnItem* item = ItemAt(c);
    if (!item || !item->FColumnPopup) return;
    const TRect cell = CellRect(c, r);
    const TPoint at = ClientToScreen(TPoint(cell.Left, cell.Bottom));
    const TColumnPopupType type = item->FColumnPopupType;
    const bool fixedRow = r < FixedRows();
    bool fire = false, popup = false;
    if (Button == mbLeft) {
        fire = type == cpFixedCellsLClick || type == cpNormalCellsLClick || type == cpAllCellsLClick;
        popup = (fixedRow && (type == cpFixedCellsLClick || type == cpAllCellsLClick)) ||
                (!fixedRow && (type == cpNormalCellsLClick || type == cpAllCellsLClick));
    } else if (Button == mbRight) {
        fire = type == cpFixedCellsRClick || type == cpNormalCellsRClick || type == cpAllCellsRClick;
        popup = (fixedRow && (type == cpFixedCellsRClick || type == cpAllCellsRClick)) ||
                (!fixedRow && (type == cpNormalCellsRClick || type == cpAllCellsRClick));
    }
    if (!fire) return;
    if (OnColumnPopup) OnColumnPopup(this, c, r, item->FColumnPopup);
    if (popup) item->FColumnPopup->Popup(at.X, at.Y);
}

// =============================================================================================
// The column stream

namespace {

using Item = TGridColumnItem;

const std::vector<const char*> AlignmentNames{"taLeftJustify", "taRightJustify", "taCenter"};
const std::vector<const char*> SortStyleNames{
    "ssAutomatic",     "ssAlphabetic",      "ssNumeric",     "ssDate",         "ssAlphaNoCase",
    "ssAlphaCase",     "ssShortDateEU",     "ssShortDateUS", "ssCustom",       "ssFinancial",
    "ssAnsiAlphaCase", "ssAnsiAlphaNoCase", "ssRaw",         "ssHTML",         "ssImages",
    "ssCheckBox",      "ssDateTime",        "ssTime",        "ssAlphaNumeric", "ssAlphaNumericNoCase"};
const std::vector<const char*> EditorNames{"edNormal",
                                           "edSpinEdit",
                                           "edComboEdit",
                                           "edComboList",
                                           "edEditBtn",
                                           "edCheckBox",
                                           "edDateEdit",
                                           "edDateEditUpDown",
                                           "edTimeEdit",
                                           "edButton",
                                           "edDataCheckBox",
                                           "edNumeric",
                                           "edPositiveNumeric",
                                           "edFloat",
                                           "edCapital",
                                           "edMixedCase",
                                           "edPassword",
                                           "edUnitEditBtn",
                                           "edLowerCase",
                                           "edUpperCase",
                                           "edFloatSpinEdit",
                                           "edTimeSpinEdit",
                                           "edDateSpinEdit",
                                           "edNumericEditBtn",
                                           "edFloatEditBtn",
                                           "edCustom",
                                           "edRichEdit",
                                           "edNone",
                                           "edDateTimeEdit",
                                           "edValidChars",
                                           "edTrackbarDropDown",
                                           "edMemoDropDown",
                                           "edCalculatorDropDown",
                                           "edTimePickerDropDown",
                                           "edDetailDropDown",
                                           "edGridDropDown",
                                           "edColorPickerDropDown",
                                           "edImagePickerDropDown",
                                           "edAdvGridDropDown",
                                           "edPositiveFloat",
                                           "edNumericUnitEditBtn",
                                           "edFloatUnitEditBtn",
                                           "edMaskEditBtn"};
const std::vector<const char*> PopupTypeNames{"cpFixedCellsRClick",  "cpFixedCellsLClick",
                                              "cpNormalCellsRClick", "cpNormalCellsLClick",
                                              "cpAllCellsRClick",    "cpAllCellsLClick"};
const std::vector<const char*> BorderNames{"cbTop", "cbLeft", "cbRight", "cbBottom"};
const std::vector<const char*> FontStyleNames{"fsBold", "fsItalic", "fsUnderline", "fsStrikeOut"};
const std::vector<const char*> PenStyleNames{"psSolid",       "psDash",       "psDot",
                                             "psDashDot",     "psDashDotDot", "psClear",
                                             "psInsideFrame", "psUserStyle",  "psAlternate"};

template <class S> QStringList SetIdents(const std::vector<const char*>& Names, const S& Set) {
    QStringList idents;
    for (auto v : Set) idents << EnumIdent(Names, int(v));
    return idents;
}

template <class E> TEnumSet<E> IdentsToSet(const std::vector<const char*>& Names, const QStringList& Idents) {
    TEnumSet<E> set;
    for (const String& s : Idents) set.insert(E(IdentToEnum(Names, s)));
    return set;
}

Item* AsItem(TPersistent* P) {
    return static_cast<Item*>(P);
}

TPublishedProperty IntProperty(const char* Name, int (Item::*Get)() const, void (Item::*Set)(int)) {
    return {String::fromLatin1(Name),
            [Get](TWriter& W, TPersistent* P) { W.WriteInteger((AsItem(P)->*Get)()); },
            [Set](TReader& R, TPersistent* P) { (AsItem(P)->*Set)(R.ReadInteger()); }};
}

TPublishedProperty BoolProperty(const char* Name, bool (Item::*Get)() const, void (Item::*Set)(bool)) {
    return {String::fromLatin1(Name),
            [Get](TWriter& W, TPersistent* P) { W.WriteBoolean((AsItem(P)->*Get)()); },
            [Set](TReader& R, TPersistent* P) { (AsItem(P)->*Set)(R.ReadBoolean()); }};
}

TPublishedProperty StringProperty(const char* Name, const String& (Item::*Get)() const,
                                  void (Item::*Set)(const String&)) {
    return {String::fromLatin1(Name),
            [Get](TWriter& W, TPersistent* P) { W.WriteString((AsItem(P)->*Get)()); },
            [Set](TReader& R, TPersistent* P) { (AsItem(P)->*Set)(R.ReadString()); }};
}

template <class E>
TPublishedProperty EnumProperty(const char* Name, const std::vector<const char*>& Names,
                                E (Item::*Get)() const, void (Item::*Set)(E)) {
    return {String::fromLatin1(Name),
            [&Names, Get](TWriter& W, TPersistent* P) {
                W.WriteIdent(EnumIdent(Names, int((AsItem(P)->*Get)())));
            },
            [&Names, Set](TReader& R, TPersistent* P) {
                (AsItem(P)->*Set)(E(IdentToEnum(Names, R.ReadIdent())));
            }};
}

TPublishedProperty BordersProperty(const char* Name, const TCellBorders& (Item::*Get)() const,
                                   void (Item::*Set)(const TCellBorders&)) {
    return {String::fromLatin1(Name),
            [Get](TWriter& W, TPersistent* P) { W.WriteSet(SetIdents(BorderNames, (AsItem(P)->*Get)())); },
            [Set](TReader& R, TPersistent* P) {
                (AsItem(P)->*Set)(IdentsToSet<TCellBorder>(BorderNames, R.ReadSet()));
            }};
}

TPublishedProperty StringsProperty(const char* Name, TStringList* (Item::*Get)() const) {
    return {String::fromLatin1(Name),
            [Get](TWriter& W, TPersistent* P) { W.WriteStrings((AsItem(P)->*Get)()); },
            [Get](TReader& R, TPersistent* P) { R.ReadStrings((AsItem(P)->*Get)()); }};
}

// A font as its nested properties (Name.Charset, Name.Color, Name.Height, Name.Name, Name.Style).
void AddFontProperties(TPublishedProperties& Props, const String& Name, TFont* (Item::*Get)() const) {
    auto font = [Get](TPersistent* P) { return (AsItem(P)->*Get)(); };
    Props.push_back(
        {Name + ".Charset", [font](TWriter& W, TPersistent* P) { W.WriteInteger(font(P)->Charset()); },
         [font](TReader& R, TPersistent* P) { font(P)->SetCharset(TFontCharset(R.ReadInteger())); }});
    Props.push_back({Name + ".Color",
                     [font](TWriter& W, TPersistent* P) { W.WriteInteger(int(font(P)->Color())); },
                     [font](TReader& R, TPersistent* P) { font(P)->SetColor(TColor(R.ReadInteger())); }});
    Props.push_back({Name + ".Height",
                     [font](TWriter& W, TPersistent* P) { W.WriteInteger(font(P)->Height()); },
                     [font](TReader& R, TPersistent* P) { font(P)->SetHeight(R.ReadInteger()); }});
    Props.push_back({Name + ".Name", [font](TWriter& W, TPersistent* P) { W.WriteString(font(P)->Name()); },
                     [font](TReader& R, TPersistent* P) { font(P)->SetName(R.ReadString()); }});
    Props.push_back(
        {Name + ".Style",
         [font](TWriter& W, TPersistent* P) { W.WriteSet(SetIdents(FontStyleNames, font(P)->Style())); },
         [font](TReader& R, TPersistent* P) {
             font(P)->SetStyle(IdentsToSet<TFontStyle>(FontStyleNames, R.ReadSet()));
         }});
}

void AddPenProperties(TPublishedProperties& Props, const String& Name, TPen* (Item::*Get)() const) {
    auto pen = [Get](TPersistent* P) { return (AsItem(P)->*Get)(); };
    Props.push_back({Name + ".Color",
                     [pen](TWriter& W, TPersistent* P) { W.WriteInteger(int(pen(P)->Color())); },
                     [pen](TReader& R, TPersistent* P) { pen(P)->SetColor(TColor(R.ReadInteger())); }});
    Props.push_back(
        {Name + ".Style",
         [pen](TWriter& W, TPersistent* P) { W.WriteIdent(EnumIdent(PenStyleNames, pen(P)->Style())); },
         [pen](TReader& R, TPersistent* P) {
             pen(P)->SetStyle(TPenStyle(IdentToEnum(PenStyleNames, R.ReadIdent())));
         }});
    Props.push_back({Name + ".Width", [pen](TWriter& W, TPersistent* P) { W.WriteInteger(pen(P)->Width()); },
                     [pen](TReader& R, TPersistent* P) { pen(P)->SetWidth(R.ReadInteger()); }});
}

} // namespace

// The published properties of a column and of the stream component, registered once.
void TGridColumnItem::RegisterStreamProperties() {
    static const bool done = [] {
        TPublishedProperties p;
        p.push_back(IntProperty("AutoMinSize", &Item::AutoMinSize, &Item::SetAutoMinSize));
        p.push_back(IntProperty("AutoMaxSize", &Item::AutoMaxSize, &Item::SetAutoMaxSize));
        p.push_back(EnumProperty("Alignment", AlignmentNames, &Item::Alignment, &Item::SetAlignment));
        p.push_back(BordersProperty("Borders", &Item::Borders, &Item::SetBorders));
        AddPenProperties(p, "BorderPen", &Item::BorderPen);
        p.push_back(StringProperty("CheckFalse", &Item::CheckFalse, &Item::SetCheckFalse));
        p.push_back(StringProperty("CheckTrue", &Item::CheckTrue, &Item::SetCheckTrue));
        p.push_back({"Color", [](TWriter& W, TPersistent* P) { W.WriteInteger(int(AsItem(P)->Color())); },
                     [](TReader& R, TPersistent* P) { AsItem(P)->FColor = TColor(R.ReadInteger()); }});
        p.push_back(EnumProperty("ColumnPopupType", PopupTypeNames, &Item::ColumnPopupType,
                                 &Item::SetColumnPopupType));
        p.push_back(StringsProperty("ComboItems", &Item::ComboItems));
        p.push_back(IntProperty("DropDownCount", &Item::DropDownCount, &Item::SetDropDownCount));
        p.push_back(IntProperty("EditLength", &Item::EditLength, &Item::SetEditLength));
        p.push_back(StringProperty("EditMask", &Item::EditMask, &Item::SetEditMask));
        p.push_back(
            {"Editor",
             [](TWriter& W, TPersistent* P) { W.WriteIdent(EnumIdent(EditorNames, AsItem(P)->Editor())); },
             [](TReader& R, TPersistent* P) {
                 AsItem(P)->FEditorType = TEditorType(IdentToEnum(EditorNames, R.ReadIdent()));
             }});
        p.push_back(
            BoolProperty("FilterCaseSensitive", &Item::FilterCaseSensitive, &Item::SetFilterCaseSensitive));
        p.push_back(StringsProperty("Filter", &Item::Filter));
        p.push_back({"Fixed", [](TWriter& W, TPersistent* P) { W.WriteBoolean(AsItem(P)->Fixed()); },
                     [](TReader& R, TPersistent* P) { AsItem(P)->FFixed = R.ReadBoolean(); }});
        p.push_back({"FloatFormat",
                     [](TWriter& W, TPersistent* P) { W.WriteString(AsItem(P)->FloatFormat()); },
                     [](TReader& R, TPersistent* P) { AsItem(P)->FFloatFormat = R.ReadString(); }});
        AddFontProperties(p, "Font", &Item::Font);
        p.push_back({"Header", [](TWriter& W, TPersistent* P) { W.WriteString(AsItem(P)->Header()); },
                     [](TReader& R, TPersistent* P) { AsItem(P)->FColumnHeader = R.ReadString(); }});
        p.push_back({"HeaderAlignment",
                     [](TWriter& W, TPersistent* P) {
                         W.WriteIdent(EnumIdent(AlignmentNames, AsItem(P)->HeaderAlignment()));
                     },
                     [](TReader& R, TPersistent* P) {
                         AsItem(P)->FHeaderAlignment = TAlignment(IdentToEnum(AlignmentNames, R.ReadIdent()));
                     }});
        AddFontProperties(p, "HeaderFont", &Item::HeaderFont);
        p.push_back(IntProperty("MaxSize", &Item::MaxSize, &Item::SetMaxSize));
        p.push_back(IntProperty("MinSize", &Item::MinSize, &Item::SetMinSize));
        p.push_back(StringProperty("Name", &Item::Name, &Item::SetName));
        p.push_back({"Password", [](TWriter& W, TPersistent* P) { W.WriteBoolean(AsItem(P)->Password()); },
                     [](TReader& R, TPersistent* P) { AsItem(P)->FPassword = R.ReadBoolean(); }});
        p.push_back(BordersProperty("PrintBorders", &Item::PrintBorders, &Item::SetPrintBorders));
        AddPenProperties(p, "PrintBorderPen", &Item::PrintBorderPen);
        p.push_back({"PrintColor",
                     [](TWriter& W, TPersistent* P) { W.WriteInteger(int(AsItem(P)->PrintColor())); },
                     [](TReader& R, TPersistent* P) { AsItem(P)->SetPrintColor(TColor(R.ReadInteger())); }});
        AddFontProperties(p, "PrintFont", &Item::PrintFont);
        p.push_back(BoolProperty("PrintBorderCustom", &Item::PrintBorderCustom, &Item::SetPrintBorderCustom));
        p.push_back(BoolProperty("PrintFontCustom", &Item::PrintFontCustom, &Item::SetPrintFontCustom));
        p.push_back(BoolProperty("ReadOnly", &Item::ReadOnly, &Item::SetReadOnly));
        p.push_back({"ShowBands", [](TWriter& W, TPersistent* P) { W.WriteBoolean(AsItem(P)->ShowBands()); },
                     [](TReader& R, TPersistent* P) { AsItem(P)->FShowBands = R.ReadBoolean(); }});
        p.push_back(EnumProperty("SortStyle", SortStyleNames, &Item::SortStyle, &Item::SetSortStyle));
        p.push_back(StringProperty("SortPrefix", &Item::SortPrefix, &Item::SetSortPrefix));
        p.push_back(StringProperty("SortSuffix", &Item::SortSuffix, &Item::SetSortSuffix));
        p.push_back(IntProperty("SpinMax", &Item::SpinMax, &Item::SetSpinMax));
        p.push_back(IntProperty("SpinMin", &Item::SpinMin, &Item::SetSpinMin));
        p.push_back(IntProperty("SpinStep", &Item::SpinStep, &Item::SetSpinStep));
        p.push_back(IntProperty("Tag", &Item::Tag, &Item::SetTag));
        // The stream's width is the item's own: reading it does not size the grid's column.
        p.push_back({"Width", [](TWriter& W, TPersistent* P) { W.WriteInteger(AsItem(P)->Width()); },
                     [](TReader& R, TPersistent* P) { AsItem(P)->FWidth = R.ReadInteger(); }});
        RegisterPublishedProperties(QStringLiteral("TGridColumnItem"), std::move(p));
        RegisterPublishedProperties(QStringLiteral("TAdvColumnGridIO"),
                                    {{"Items",
                                      [](TWriter& W, TPersistent* P) {
                                          W.WriteCollection(static_cast<TAdvColumnGridIO*>(P)->Items());
                                      },
                                      [](TReader& R, TPersistent* P) {
                                          R.ReadCollection(static_cast<TAdvColumnGridIO*>(P)->Items());
                                      }}});
        return true;
    }();
    (void)done;
}

void TAdvColumnGrid::SaveColumnsToStream(TStream* st) {
    TGridColumnItem::RegisterStreamProperties();
    std::unique_ptr<TAdvColumnGridIO, void (*)(TAdvColumnGridIO*)> io(
        new TAdvColumnGridIO(this, this), [](TAdvColumnGridIO* P) { TObject::Free(P); });
    io->Items()->Assign(FColumnCollection.get());
    TWriter(st).WriteComponent(io.get());
}

void TAdvColumnGrid::LoadColumnsFromStream(TStream* st) {
    TGridColumnItem::RegisterStreamProperties();
    std::unique_ptr<TAdvColumnGridIO, void (*)(TAdvColumnGridIO*)> io(
        new TAdvColumnGridIO(this, this), [](TAdvColumnGridIO* P) { TObject::Free(P); });
    FColumnCollection->SetNoRecursiveUpdate(true);
    try {
        TReader(st).ReadComponent(io.get());
        FColumnCollection->Assign(io->Items());
    } catch (...) {
        FColumnCollection->SetNoRecursiveUpdate(false);
        throw;
    }
    FColumnCollection->SetNoRecursiveUpdate(false);
    Invalidate();
}
