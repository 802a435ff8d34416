// TAdvStringGrid: the graphics cells carry besides their text (TCellGraphic, CellGraphic.h) and
// the operations of each kind: add or create, query, change and remove. The lookup, creation and
// removal they stand on are in AdvGridValues.cpp.
#include "AdvGrid.h"

#include "CellDraw.h"
#include "ImgList.h"

#include <algorithm>

namespace {

bool IsCheckKind(TCellType T) {
    return T == ctCheckBox || T == ctDataCheckBox || T == ctVirtCheckBox || T == ctRowCheckBox ||
           T == ctTriStateCheckBox;
}

bool IsTextCheckKind(TCellType T) {
    return T == ctDataCheckBox || T == ctVirtCheckBox || T == ctRowCheckBox;
}

TCellVAlign CellVAlignOf(TVAlignment V) {
    switch (V) {
        case vtaCenter: return vaCenter;
        case vtaBottom: return vaBottom;
        default: return vaTop;
    }
}

} // namespace

// =============================================================================================
// Shared steps

TCellGraphic* TAdvStringGrid::GraphicOfType(int ACol, int ARow, TCellType CellType) {
    TCellGraphic* g = GetCellGraphic(ACol, ARow);
    return g && g->CellType == CellType ? g : nullptr;
}

bool TAdvStringGrid::RemoveKinds(int ACol, int ARow, std::initializer_list<TCellType> Kinds) {
    const TCellType t = GetCellType(ACol, ARow);
    if (std::find(Kinds.begin(), Kinds.end(), t) == Kinds.end()) return false;
    return RemoveCellGraphic(ACol, ARow);
}

TCellGraphic* TAdvStringGrid::CreateCheckGraphic(int ACol, int ARow) {
    if (ACol < 0 || ARow < 0 || ACol >= TotalColCount() || ARow >= TotalRowCount())
        throw EAdvGridError("Invalid cell");
    TCellGraphic* g = CreateCellGraphic(ACol, ARow);
    g->CellTransparent = true;
    g->CellHAlign = haBeforeText;
    g->CellVAlign = CellVAlignOf(VAlignment());
    return g;
}

String TAdvStringGrid::CheckText(int ACol, int ARow, bool Checked) {
    String s;
    if (Checked)
        GetCheckTrue(ACol, ARow, s);
    else
        GetCheckFalse(ACol, ARow, s);
    return s;
}

bool TAdvStringGrid::UserMayChange(int ACol, int ARow) {
    bool canEdit = true;
    QueryCanEdit(ACol, ARow, canEdit);
    return canEdit;
}

int TAdvStringGrid::CheckColumnFirstRow() const {
    return FMouseActions->CheckAllCheck ? 0 : FixedRows();
}

void TAdvStringGrid::SetGridImages(TCustomImageList* Value) {
    FGridImages = Value;
    Invalidate();
}

// =============================================================================================
// Bitmaps, pictures and icons

TBitmap* TAdvStringGrid::CreateBitmap(int ACol, int ARow, bool Transparent, TCellHAlign hal,
                                      TCellVAlign val) {
    auto* bmp = new TBitmap();
    TCellGraphic* g = CreateCellGraphic(ACol, ARow);
    g->SetBitmap(bmp, Transparent, hal, val);
    g->CellCreated = true;
    return bmp;
}

void TAdvStringGrid::AddBitmap(int ACol, int ARow, TBitmap* ABitmap, bool Transparent, TCellHAlign hal,
                               TCellVAlign val) {
    CreateCellGraphic(ACol, ARow)->SetBitmap(ABitmap, Transparent, hal, val);
}

TBitmap* TAdvStringGrid::GetBitmap(int ACol, int ARow) {
    TCellGraphic* g = GraphicOfType(ACol, ARow, ctBitmap);
    return g ? dynamic_cast<TBitmap*>(g->CellBitmap) : nullptr;
}

void TAdvStringGrid::RemoveBitmap(int ACol, int ARow) {
    RemoveKinds(ACol, ARow, {ctBitmap});
}

TPicture* TAdvStringGrid::CreatePicture(int ACol, int ARow, bool Transparent, TStretchMode StretchMode,
                                        int Padding, TCellHAlign hal, TCellVAlign val) {
    auto* pic = new TPicture();
    TCellGraphic* g = CreateCellGraphic(ACol, ARow);
    g->SetPicture(pic, Transparent, StretchMode, Padding, hal, val);
    g->CellCreated = true;
    return pic;
}

void TAdvStringGrid::AddPicture(int ACol, int ARow, TPicture* APicture, bool Transparent,
                                TStretchMode StretchMode, int Padding, TCellHAlign hal, TCellVAlign val) {
    CreateCellGraphic(ACol, ARow)->SetPicture(APicture, Transparent, StretchMode, Padding, hal, val);
}

TPicture* TAdvStringGrid::GetPicture(int ACol, int ARow) {
    TCellGraphic* g = GraphicOfType(ACol, ARow, ctPicture);
    return g ? dynamic_cast<TPicture*>(g->CellBitmap) : nullptr;
}

void TAdvStringGrid::RemovePicture(int ACol, int ARow) {
    RemoveKinds(ACol, ARow, {ctPicture});
}

TFilePicture* TAdvStringGrid::CreateFilePicture(int ACol, int ARow, bool Transparent,
                                                TStretchMode StretchMode, int Padding, TCellHAlign hal,
                                                TCellVAlign val) {
    auto* pic = new TFilePicture();
    TCellGraphic* g = CreateCellGraphic(ACol, ARow);
    g->SetFilePicture(pic, Transparent, StretchMode, Padding, hal, val);
    g->CellCreated = true;
    return pic;
}

void TAdvStringGrid::AddFilePicture(int ACol, int ARow, TFilePicture* APicture, bool Transparent,
                                    TStretchMode StretchMode, int Padding, TCellHAlign hal, TCellVAlign val) {
    CreateCellGraphic(ACol, ARow)->SetFilePicture(APicture, Transparent, StretchMode, Padding, hal, val);
}

TFilePicture* TAdvStringGrid::GetFilePicture(int ACol, int ARow) {
    TCellGraphic* g = GraphicOfType(ACol, ARow, ctFilePicture);
    return g ? dynamic_cast<TFilePicture*>(g->CellBitmap) : nullptr;
}

void TAdvStringGrid::RemoveFilePicture(int ACol, int ARow) {
    RemoveKinds(ACol, ARow, {ctFilePicture});
}

TIcon* TAdvStringGrid::CreateIcon(int ACol, int ARow, TCellHAlign hal, TCellVAlign val) {
    auto* icon = new TIcon();
    TCellGraphic* g = CreateCellGraphic(ACol, ARow);
    g->SetIcon(icon, hal, val);
    g->CellCreated = true;
    return icon;
}

void TAdvStringGrid::AddIcon(int ACol, int ARow, TIcon* AIcon, TCellHAlign hal, TCellVAlign val) {
    CreateCellGraphic(ACol, ARow)->SetIcon(AIcon, hal, val);
}

void TAdvStringGrid::RemoveIcon(int ACol, int ARow) {
    RemoveKinds(ACol, ARow, {ctIcon});
}

// =============================================================================================
// Image-list images

void TAdvStringGrid::AddImageIdx(int ACol, int ARow, int Idx, TCellHAlign hal, TCellVAlign val) {
    if (!FGridImages) return;
    CreateCellGraphic(ACol, ARow)->SetImageIdx(Idx, hal, val);
}

void TAdvStringGrid::AddDataImage(int ACol, int ARow, int Idx, TCellHAlign hal, TCellVAlign val) {
    if (!FGridImages) return;
    CreateCellGraphic(ACol, ARow)->SetDataImage(Idx, hal, val);
    if (Cells(ACol, ARow).isEmpty()) SetCells(ACol, ARow, String::number(Idx));
}

void TAdvStringGrid::AddMultiImage(int ACol, int ARow, int Dir, TCellHAlign hal, TCellVAlign val) {
    if (!FGridImages) return;
    CreateCellGraphic(ACol, ARow)->SetMultiImage(ACol, ARow, Dir, hal, val, [this](TObject*, int C, int R) {
        RepaintRealCell(C, R);
    });
}

bool TAdvStringGrid::GetImageIdx(int ACol, int ARow, int& Idx) {
    TCellGraphic* g = FGridImages ? GraphicOfType(ACol, ARow, ctImageList) : nullptr;
    if (g) Idx = g->CellIndex;
    return g != nullptr;
}

void TAdvStringGrid::SetImageIdx(int ACol, int ARow, int Idx) {
    TCellGraphic* g = FGridImages ? GraphicOfType(ACol, ARow, ctImageList) : nullptr;
    if (!g) return;
    g->CellIndex = Idx;
    RepaintRealCell(ACol, ARow);
}

void TAdvStringGrid::RemoveImageIdx(int ACol, int ARow) {
    RemoveKinds(ACol, ARow, {ctImageList});
}

void TAdvStringGrid::RemoveDataImage(int ACol, int ARow) {
    RemoveKinds(ACol, ARow, {ctDataImage});
    SetCells(ACol, ARow, String());
}

bool TAdvStringGrid::HasDataImage(int ACol, int ARow) {
    return GetCellType(ACol, ARow) == ctDataImage;
}

void TAdvStringGrid::RemoveMultiImage(int ACol, int ARow) {
    RemoveKinds(ACol, ARow, {ctImages});
}

// =============================================================================================
// Rotated text

void TAdvStringGrid::AddRotated(int ACol, int ARow, int AAngle, const String& AString) {
    CreateCellGraphic(ACol, ARow)->SetAngle(AAngle);
    SetCells(ACol, ARow, AString);
}

void TAdvStringGrid::SetRotated(int ACol, int ARow, int AAngle) {
    TCellGraphic* g = GetCellGraphic(ACol, ARow);
    if (!g) g = CreateCellGraphic(ACol, ARow);
    g->SetAngle(AAngle);
    RepaintRealCell(ACol, ARow);
}

bool TAdvStringGrid::IsRotated(int ACol, int ARow, int& AAngle) {
    TCellGraphic* g = GraphicOfType(ACol, ARow, ctRotated);
    if (g) AAngle = g->CellAngle;
    return g != nullptr;
}

void TAdvStringGrid::RemoveRotated(int ACol, int ARow) {
    RemoveKinds(ACol, ARow, {ctRotated});
}

// =============================================================================================
// Check boxes

void TAdvStringGrid::AddCheckBox(int ACol, int ARow, bool State, bool Data) {
    TCellGraphic* g = CreateCheckGraphic(ACol, ARow);
    g->SetCheckBox(State, Data, true, g->CellHAlign, g->CellVAlign);
    if (!Data) return;
    // A new data check box starts from the grid's own texts; the cell's check texts are the
    // dispatchers' answer when it is read or toggled.
    const String s = Cells(ACol, ARow);
    if (s != CheckTrue && s != CheckFalse) SetCells(ACol, ARow, State ? CheckTrue : CheckFalse);
}

void TAdvStringGrid::AddCheckBox(int ACol, int ARow, TCheckBoxState State) {
    TCellGraphic* g = CreateCheckGraphic(ACol, ARow);
    g->SetCheckBox(State, true, g->CellHAlign, g->CellVAlign);
}

// Summary rows get none; a node row gets a three-state box for the rows it holds.
void TAdvStringGrid::AddCheckBoxColumn(int ACol, bool DefaultState, bool DataCheckBox) {
    for (int r = CheckColumnFirstRow(); r < RowCount(); ++r) {
        if (IsSummary(r)) continue;
        if (IsNode(r))
            AddCheckBox(ACol, r, cbUnchecked);
        else
            AddCheckBox(ACol, r, DefaultState, DataCheckBox);
    }
}

void TAdvStringGrid::AddTriStateCheckBoxColumn(int ACol, TCheckBoxState State) {
    for (int r = CheckColumnFirstRow(); r < RowCount(); ++r) AddCheckBox(ACol, r, State);
}

void TAdvStringGrid::RemoveCheckBox(int ACol, int ARow) {
    const TCellType t = GetCellType(ACol, ARow);
    if (t != ctCheckBox && t != ctDataCheckBox && t != ctTriStateCheckBox) return;
    if (TCellGraphic* g = GetCellGraphic(ACol, ARow)) g->SetBalloon(nullptr);
    RemoveCellGraphic(ACol, ARow);
}

void TAdvStringGrid::RemoveCheckBoxColumn(int ACol) {
    for (int r = CheckColumnFirstRow(); r < RowCount(); ++r) RemoveCheckBox(ACol, r);
}

bool TAdvStringGrid::HasCheckBox(int ACol, int ARow) {
    return ACol >= 0 && ARow >= 0 && IsCheckKind(GetCellType(ACol, ARow));
}

bool TAdvStringGrid::HasDataCheckBox(int ACol, int ARow) {
    return ACol >= 0 && ARow >= 0 && IsTextCheckKind(GetCellType(ACol, ARow));
}

bool TAdvStringGrid::IsChecked(int ACol, int ARow) {
    bool state = false;
    GetCheckBoxState(ACol, ARow, state);
    return state;
}

TCellGraphic* TAdvStringGrid::GraphicOfRealRow(int ACol, int ARow) {
    if (ACol == 0 && FMouseActions->HotmailRowSelect()) return GetCellGraphic(ACol, DisplRowIndex(ARow));
    if (TStrings* list = HiddenRowCells(ARow)) {
        auto* props =
            ACol >= 0 && ACol < list->Count() ? dynamic_cast<TCellProperties*>(list->Objects(ACol)) : nullptr;
        return props ? dynamic_cast<TCellGraphic*>(props->GraphicObject()) : nullptr;
    }
    return GetCellGraphic(ACol, DisplRowIndex(ARow));
}

// The row is real: a hidden row answers from its record.
bool TAdvStringGrid::GetCheckBoxState(int ACol, int ARow, bool& State) {
    TCellGraphic* g = GraphicOfRealRow(ACol, ARow);
    if (!g) return false;
    switch (g->CellType) {
        case ctCheckBox: State = g->CellBoolean; return true;
        case ctDataCheckBox:
        case ctVirtCheckBox: State = AllCells(ACol, ARow) == CheckText(ACol, ARow, true); return true;
        case ctRowCheckBox:
            if (ACol != 0) return false;
            State = FSelectedRows->HasValue(ARow);
            return true;
        case ctTriStateCheckBox: State = g->CellCheckBoxState == cbChecked; return true;
        default: return false;
    }
}

bool TAdvStringGrid::GetCheckBoxState(int ACol, int ARow, TCheckBoxState& State) {
    TCellGraphic* g = GraphicOfRealRow(ACol, ARow);
    if (g && g->CellType == ctTriStateCheckBox) {
        State = g->CellCheckBoxState;
        return true;
    }
    bool checked = false;
    if (!g || !GetCheckBoxState(ACol, ARow, checked)) return false;
    State = checked ? cbChecked : cbUnchecked;
    return true;
}

bool TAdvStringGrid::SetCheckBoxState(int ACol, int ARow, bool State) {
    TCellGraphic* g = GraphicOfRealRow(ACol, ARow);
    if (!g) return false;
    const int displRow = DisplRowIndex(ARow);
    switch (g->CellType) {
        case ctCheckBox:
            g->CellBoolean = State;
            if (!IsHiddenRow(ARow)) RepaintRealCell(ACol, displRow);
            return true;
        case ctDataCheckBox:
        case ctVirtCheckBox: SetAllCells(ACol, ARow, CheckText(ACol, ARow, State)); return true;
        case ctRowCheckBox: {
            if (ACol != 0) return false;
            const int i = FSelectedRows->IndexOf(ARow);
            if (State && i < 0) FSelectedRows->Add(ARow);
            if (!State && i >= 0) FSelectedRows->Delete(i);
            if (!IsHiddenRow(ARow)) SettingsRepaintRow(displRow);
            return true;
        }
        default: return false;
    }
}

bool TAdvStringGrid::SetCheckBoxState(int ACol, int ARow, TCheckBoxState State) {
    TCellGraphic* g = GraphicOfRealRow(ACol, ARow);
    if (!g || g->CellType != ctTriStateCheckBox) return false;
    g->CellCheckBoxState = State;
    if (!IsHiddenRow(ARow)) RepaintRealCell(ACol, DisplRowIndex(ARow));
    return true;
}

// Unchecked, grayed, checked, unchecked again; the other kinds flip.
bool TAdvStringGrid::ToggleCheckState(int ACol, int ARow, bool User) {
    TCellGraphic* g = GetCellGraphic(ACol, ARow);
    if (!g || !IsCheckKind(g->CellType)) return false;
    if (User && !FControlLook->CheckAlwaysActive()) {
        if (!UserMayChange(ACol, ARow)) return false;
    }
    bool checked = false;
    switch (g->CellType) {
        case ctCheckBox:
            g->CellBoolean = !g->CellBoolean;
            checked = g->CellBoolean;
            break;
        case ctTriStateCheckBox:
            // A node's box that speaks for its group skips grayed: grayed only says its rows
            // differ.
            if (FGrouping->AutoCheckGroup && IsNode(ARow))
                g->CellCheckBoxState = g->CellCheckBoxState == cbChecked ? cbUnchecked : cbChecked;
            else
                g->CellCheckBoxState = g->CellCheckBoxState == cbUnchecked ? cbGrayed
                                       : g->CellCheckBoxState == cbGrayed  ? cbChecked
                                                                           : cbUnchecked;
            checked = g->CellCheckBoxState == cbChecked;
            break;
        case ctRowCheckBox:
            if (ACol == 0) {
                const int real = RealRowIndex(ARow);
                checked = !FSelectedRows->HasValue(real);
                SetCheckBoxState(ACol, real, checked);
                break;
            }
            [[fallthrough]];
        default: {
            const String t = CheckText(ACol, ARow, true);
            checked = Cells(ACol, ARow) != t;
            SetCellEx(ACol, ARow, checked ? t : CheckText(ACol, ARow, false));
            break;
        }
    }
    RepaintRealCell(ACol, ARow);
    CheckBoxChange(ACol, ARow, checked);
    if (FGrouping->AutoCheckGroup) FollowGroupCheck(ACol, ARow, checked);
    // Undo restores the other check text.
    if (UndoRedo() && g->CellType != ctTriStateCheckBox && g->CellType != ctRowCheckBox) {
        const String t = CheckText(ACol, ARow, true);
        const String f = CheckText(ACol, ARow, false);
        UndoRedo()->RegisterChange(ACol, ARow, checked ? f : t, checked ? t : f);
    }
    return true;
}

void TAdvStringGrid::FollowGroupCheck(int ACol, int ARow, bool Checked) {
    // The real rows below the node at display row Node that it covers.
    auto RowsUnderNode = [this](int Node, int& First, int& Last) {
        First = RealRowIndex(Node) + 1;
        Last = First + CoveredRows(Node, NodeGraphic(Node)) - 2;
    };
    auto setRow = [&](int Real, bool State) {
        if (!SetCheckBoxState(ACol, Real, State))
            SetCheckBoxState(ACol, Real, State ? cbChecked : cbUnchecked);
    };
    // Any check-box kind read as three states; a row without one counts as unchecked.
    auto stateOf = [&](int Real) {
        TCheckBoxState t = cbUnchecked;
        GetCheckBoxState(ACol, Real, t);
        return t;
    };
    int first = 0, last = -1;
    if (IsNode(ARow)) {
        // Every row of the group takes the node's new state, collapsed or not.
        RowsUnderNode(ARow, first, last);
        for (int r = first; r <= last; ++r) setRow(r, Checked);
        return;
    }
    const int parent = GetParentRow(ARow);
    if (parent < 0 || parent == ARow) return;
    RowsUnderNode(parent, first, last);
    if (last < first) return;
    const TCheckBoxState common = stateOf(first);
    bool same = common != cbGrayed;
    for (int r = first + 1; same && r <= last; ++r) same = stateOf(r) == common;
    SetCheckBoxState(ACol, RealRowIndex(parent), same ? common : cbGrayed);
}

void TAdvStringGrid::CheckBoxChange(int ACol, int ARow, bool State) {
    if (OnCheckBoxChange) OnCheckBoxChange(this, ACol, ARow, State);
}

bool TAdvStringGrid::RatingChange(int ACol, int ARow, double& Rate) {
    bool allow = true;
    if (OnRatingChange) OnRatingChange(this, ACol, ARow, Rate, allow);
    return allow;
}

namespace {

// Sets one check box of a column; CheckBoxChange fires when its state changed.
void CheckOne(TAdvStringGrid* Grid, int ACol, int ARow, bool State, bool& Changed) {
    bool old = false;
    Changed = Grid->GetCheckBoxState(ACol, Grid->RealRowIndex(ARow), old) && old != State &&
              Grid->SetCheckBoxState(ACol, Grid->RealRowIndex(ARow), State);
}

} // namespace

void TAdvStringGrid::CheckAll(int ACol) {
    for (int r = FixedRows(); r < RowCount(); ++r) {
        bool changed = false;
        CheckOne(this, ACol, r, true, changed);
        if (changed) CheckBoxChange(ACol, r, true);
    }
    if (FNumHidden > 0) Invalidate();
}

void TAdvStringGrid::UnCheckAll(int ACol) {
    for (int r = FixedRows(); r < RowCount(); ++r) {
        bool changed = false;
        CheckOne(this, ACol, r, false, changed);
        if (changed) CheckBoxChange(ACol, r, false);
    }
}

// Without PreciseCheckBoxCheck anywhere in the cell; with it inside the box as the painter
// places it (vertically by the graphic's alignment, horizontally by the cell's).
bool TAdvStringGrid::IsInCheckBox(int ACol, int ARow, int X, int Y) {
    TCellGraphic* g = GetCellGraphic(ACol, ARow);
    if (!g || (!IsCheckKind(g->CellType) && g->CellType != ctRadioButton)) return false;
    if (!FMouseActions->PreciseCheckBoxCheck) return true;
    const int size = FControlLook->CheckSize();
    const TRect r = CellRect(DisplColIndex(ACol), ARow);
    int top = r.Top + (r.Bottom - r.Top - size) / 2;
    if (g->CellVAlign == vaTop) top = r.Top + 2;
    if (g->CellVAlign == vaBottom) top = r.Bottom - 2 - size;
    int left = r.Left + 2;
    const TAlignment a = Alignments(ACol, ARow);
    if (a == taRightJustify) {
        const String text = Cells(ACol, ARow);
        left = r.Right - 2 - size - (text.isEmpty() ? 0 : Canvas()->TextWidth(text));
    } else if (a == taCenter) {
        left = r.Left + (r.Right - r.Left - size) / 2;
    }
    return X >= left && X < left + size && Y >= top && Y < top + size;
}

// =============================================================================================
// Radio buttons

void TAdvStringGrid::AddRadioButton(int ACol, int ARow, bool State) {
    TCellGraphic* g = CreateCheckGraphic(ACol, ARow);
    g->SetRadioButton(State, true, g->CellHAlign, g->CellVAlign);
}

void TAdvStringGrid::RemoveRadioButton(int ACol, int ARow) {
    if (TCellGraphic* g = GraphicOfType(ACol, ARow, ctRadioButton)) g->SetBalloon(nullptr);
    RemoveKinds(ACol, ARow, {ctRadioButton});
}

bool TAdvStringGrid::HasRadioButton(int ACol, int ARow) {
    return GetCellType(ACol, ARow) == ctRadioButton;
}

void TAdvStringGrid::AddRadioButtonColumn(int ACol) {
    for (int r = FixedRows(); r < RowCount(); ++r) AddRadioButton(ACol, r, false);
}

void TAdvStringGrid::RemoveRadioButtonColumn(int ACol) {
    for (int r = FixedRows(); r < RowCount(); ++r) RemoveRadioButton(ACol, r);
}

bool TAdvStringGrid::IsRadioButtonChecked(int ACol, int ARow) {
    TCellGraphic* g = GraphicOfType(ACol, ARow, ctRadioButton);
    return g && g->CellBoolean;
}

bool TAdvStringGrid::SetRadioButtonState(int ACol, int ARow, bool State) {
    TCellGraphic* g = GraphicOfType(ACol, ARow, ctRadioButton);
    if (!g) return false;
    if (g->CellBoolean != State) {
        g->CellBoolean = State;
        RepaintRealCell(ACol, ARow);
    }
    return true;
}

void TAdvStringGrid::SetRadioButtonColumnIndex(int ACol, int Index) {
    for (int r = FixedRows(); r < RowCount(); ++r) SetRadioButtonState(ACol, r, r == Index);
}

int TAdvStringGrid::GetRadioButtonColumnIndex(int ACol) {
    for (int r = FixedRows(); r < RowCount(); ++r)
        if (IsRadioButtonChecked(ACol, r)) return r;
    return -1;
}

bool TAdvStringGrid::SelectRadioButton(int ACol, int ARow, bool User) {
    TCellGraphic* g = GraphicOfType(ACol, ARow, ctRadioButton);
    if (!g) return false;
    if (User && !FControlLook->CheckAlwaysActive()) {
        if (!UserMayChange(ACol, ARow)) return false;
    }
    if (!g->CellBoolean) {
        g->CellBoolean = true;
        RepaintRealCell(ACol, ARow);
        for (int r = 0; r < RowCount(); ++r)
            if (r != ARow && IsRadioButtonChecked(ACol, r)) SetRadioButtonState(ACol, r, false);
    }
    return true;
}

// =============================================================================================
// Radio groups

void TAdvStringGrid::AddRadio(int ACol, int ARow, int DirRadio, int IdxRadio, TStrings* Items) {
    TCellGraphic* g = CreateCellGraphic(ACol, ARow);
    g->CellType = ctRadio;
    g->CellBitmap = Items;
    g->CellAngle = Items ? Items->Count() : 0;
    g->CellBoolean = DirRadio != 0;
    g->CellIndex = IdxRadio;
    g->CellVar = IdxRadio;
}

TStringList* TAdvStringGrid::CreateRadio(int ACol, int ARow, int DirRadio, int IdxRadio) {
    auto* items = new TStringList();
    AddRadio(ACol, ARow, DirRadio, IdxRadio, items);
    GetCellGraphic(ACol, ARow)->CellCreated = true;
    return items;
}

bool TAdvStringGrid::GetRadioIdx(int ACol, int ARow, int& Idx) {
    TCellGraphic* g = GetCellGraphic(ACol, ARow);
    if (!g) return false;
    Idx = g->CellIndex;
    return g->CellType == ctRadio;
}

bool TAdvStringGrid::SetRadioIdx(int ACol, int ARow, int Idx) {
    TCellGraphic* g = GetCellGraphic(ACol, ARow);
    if (!g) return false;
    g->CellIndex = Idx;
    if (Idx == -1) SetCells(ACol, ARow, String());
    RepaintRealCell(ACol, ARow);
    return g->CellType == ctRadio;
}

TStrings* TAdvStringGrid::GetRadioStrings(int ACol, int ARow) {
    TCellGraphic* g = GraphicOfType(ACol, ARow, ctRadio);
    return g ? dynamic_cast<TStrings*>(g->CellBitmap) : nullptr;
}

bool TAdvStringGrid::IsRadio(int ACol, int ARow) {
    return GetCellType(ACol, ARow) == ctRadio;
}

void TAdvStringGrid::RemoveRadio(int ACol, int ARow) {
    RemoveKinds(ACol, ARow, {ctRadio});
}

bool TAdvStringGrid::SelectNextRadio(int ACol, int ARow, bool User) {
    TCellGraphic* g = GraphicOfType(ACol, ARow, ctRadio);
    TStrings* items = g ? dynamic_cast<TStrings*>(g->CellBitmap) : nullptr;
    if (!items || items->Count() == 0) return false;
    if (User && !FControlLook->RadioAlwaysActive()) {
        if (!UserMayChange(ACol, ARow)) return false;
    }
    int next = g->CellIndex >= 0 ? g->CellIndex + 1 : items->IndexOf(Cells(ACol, ARow)) + 1;
    if (next >= items->Count()) next = 0;
    if (g->CellIndex >= -1) g->CellIndex = next;
    g->CellVar = next;
    SetCells(ACol, ARow, items->Strings(next));
    RepaintRealCell(ACol, ARow);
    return true;
}

// =============================================================================================
// Progress bars, pies and range indicators

void TAdvStringGrid::AddProgress(int ACol, int ARow, TColor FGColor, TColor BKColor) {
    AddProgressFormatted(ACol, ARow, FGColor, clNone, BKColor, clNone, String(), 0, 100);
    GetCellGraphic(ACol, ARow)->CellBoolean = false;
}

void TAdvStringGrid::AddProgressEx(int ACol, int ARow, TColor FGColor, TColor FGTextColor, TColor BKColor,
                                   TColor BKTextColor) {
    AddProgressFormatted(ACol, ARow, FGColor, FGTextColor, BKColor, BKTextColor, String(), 0, 100);
}

void TAdvStringGrid::AddProgressFormatted(int ACol, int ARow, TColor FGColor, TColor FGTextColor,
                                          TColor BKColor, TColor BKTextColor, const String& Fmt, int Min,
                                          int Max) {
    TCellGraphic* g = CreateCellGraphic(ACol, ARow);
    g->CellType = ctProgress;
    g->CellBitmapColor = FGColor;
    g->CellIconColor = BKColor;
    g->CellIndex = int(FGTextColor);
    g->CellAngle = int(BKTextColor);
    g->CellErrFrom = Min;
    g->CellErrLen = Max;
    g->CellText = Fmt;
    g->CellBoolean = true;
    if (AutoNumAlign) SetAlignments(ACol, ARow, taRightJustify);
}

void TAdvStringGrid::RemoveProgress(int ACol, int ARow) {
    RemoveKinds(ACol, ARow, {ctProgress});
}

bool TAdvStringGrid::HasProgress(int ACol, int ARow) {
    return GetCellType(ACol, ARow) == ctProgress;
}

void TAdvStringGrid::AddProgressPie(int ACol, int ARow, TColor Color, int Value) {
    TCellGraphic* g = CreateCellGraphic(ACol, ARow);
    g->CellType = ctProgressPie;
    g->CellBitmapColor = Color;
    g->CellAngle = Value;
    g->CellHAlign = haBeforeText;
    g->CellVAlign = vaTop;
}

void TAdvStringGrid::SetProgressPie(int ACol, int ARow, int Value) {
    TCellGraphic* g = GraphicOfType(ACol, ARow, ctProgressPie);
    if (!g) return;
    g->CellAngle = Value;
    RepaintRealCell(ACol, ARow);
}

void TAdvStringGrid::RemoveProgressPie(int ACol, int ARow) {
    RemoveKinds(ACol, ARow, {ctProgressPie});
}

void TAdvStringGrid::AddAdvProgress(int ACol, int ARow, int Min, int Max) {
    TCellGraphic* g = CreateCellGraphic(ACol, ARow);
    g->CellType = ctXPProgress;
    g->CellErrFrom = Min;
    g->CellErrLen = Max;
}

void TAdvStringGrid::RemoveAdvProgress(int ACol, int ARow) {
    RemoveKinds(ACol, ARow, {ctXPProgress});
}

void TAdvStringGrid::AddRangeIndicator(int ACol, int ARow, int Range, TColor NegColor, TColor PosColor,
                                       bool ShowValue) {
    TCellGraphic* g = CreateCellGraphic(ACol, ARow);
    g->CellType = ctRangeIndicator;
    g->CellIndex = Range;
    g->CellBitmapColor = NegColor;
    g->CellIconColor = PosColor;
    g->CellBoolean = ShowValue;
}

void TAdvStringGrid::RemoveRangeIndicator(int ACol, int ARow) {
    RemoveKinds(ACol, ARow, {ctRangeIndicator});
}

// =============================================================================================
// Comments

void TAdvStringGrid::AddComment(int ACol, int ARow, const String& Comment) {
    AddColorComment(ACol, ARow, Comment, FControlLook->CommentColor());
}

void TAdvStringGrid::AddColorComment(int ACol, int ARow, const String& Comment, TColor Color) {
    TCellGraphic* g = CreateCellGraphic(ACol, ARow);
    g->CellType = ctComment;
    g->CellText = Comment;
    g->CellIndex = int(Color);
    RepaintRealCell(ACol, ARow);
}

void TAdvStringGrid::SetComment(int ACol, int ARow, const String& Comment) {
    TCellGraphic* g = GetCellGraphic(ACol, ARow);
    if (!g) {
        AddComment(ACol, ARow, Comment);
    } else if (g->CellType == ctComment) {
        g->CellText = Comment;
        RepaintRealCell(ACol, ARow);
    }
}

String TAdvStringGrid::GetComment(int ACol, int ARow) {
    TCellGraphic* g = GraphicOfType(ACol, ARow, ctComment);
    return g ? g->CellText : String();
}

bool TAdvStringGrid::IsComment(int ACol, int ARow, String& Comment) {
    TCellGraphic* g = GraphicOfType(ACol, ARow, ctComment);
    if (g) Comment = g->CellText;
    return g != nullptr;
}

void TAdvStringGrid::RemoveComment(int ACol, int ARow) {
    RemoveKinds(ACol, ARow, {ctComment});
}

void TAdvStringGrid::RemoveAllComments() {
    for (int r = 0; r < RowCount(); ++r)
        for (int c = 0; c < TotalColCount(); ++c) RemoveComment(c, r);
}

// =============================================================================================
// Shapes and ratings

void TAdvStringGrid::AddShape(int ACol, int ARow, int Shape, TColor FillColor, TColor LineColor,
                              TCellHAlign hal, TCellVAlign val) {
    TCellGraphic* g = CreateCellGraphic(ACol, ARow);
    g->CellType = ctShape;
    g->CellAngle = int(Shape);
    g->CellIndex = int(FillColor);
    g->CellBitmapColor = LineColor;
    g->CellHAlign = hal;
    g->CellVAlign = val;
}

void TAdvStringGrid::RemoveShape(int ACol, int ARow) {
    RemoveKinds(ACol, ARow, {ctShape});
}

void TAdvStringGrid::SetShapeColor(int ACol, int ARow, TColor FillColor) {
    TCellGraphic* g = GraphicOfType(ACol, ARow, ctShape);
    if (!g) return;
    g->CellIndex = int(FillColor);
    RepaintRealCell(ACol, ARow);
}

TColor TAdvStringGrid::GetShapeColor(int ACol, int ARow) {
    TCellGraphic* g = GraphicOfType(ACol, ARow, ctShape);
    return g ? TColor(g->CellIndex) : clNone;
}

void TAdvStringGrid::AddRating(int ACol, int ARow, int Scale, TColor FillColor, TColor EmptyColor) {
    TCellGraphic* g = CreateCellGraphic(ACol, ARow);
    g->CellType = ctRating;
    g->CellAngle = Scale;
    g->CellIndex = int(FillColor);
    g->CellBitmapColor = EmptyColor;
    g->CellHAlign = haFull;
}

void TAdvStringGrid::RemoveRating(int ACol, int ARow) {
    RemoveKinds(ACol, ARow, {ctRating});
}

bool TAdvStringGrid::HasRating(int ACol, int ARow) {
    return GetCellType(ACol, ARow) == ctRating;
}

// =============================================================================================
// Buttons

void TAdvStringGrid::AddButton(int ACol, int ARow, int bw, int bh, const String& Caption, TCellHAlign hal,
                               TCellVAlign val) {
    CreateCellGraphic(ACol, ARow)->SetButton(bw, bh, Caption, hal, val);
}

void TAdvStringGrid::AddBitButton(int ACol, int ARow, int bw, int bh, const String& Caption, TBitmap* Glyph,
                                  TCellHAlign hal, TCellVAlign val) {
    CreateCellGraphic(ACol, ARow)->SetBitButton(bw, bh, Caption, Glyph, hal, val);
}

TBitmap* TAdvStringGrid::CreateBitButton(int ACol, int ARow, int bw, int bh, const String& Caption,
                                         TCellHAlign hal, TCellVAlign val) {
    auto* glyph = new TBitmap();
    TCellGraphic* g = CreateCellGraphic(ACol, ARow);
    g->SetBitButton(bw, bh, Caption, glyph, hal, val);
    g->CellCreated = true;
    return glyph;
}

void TAdvStringGrid::SetButtonText(int ACol, int ARow, const String& Value) {
    TCellGraphic* g = GetCellGraphic(RealColIndex(ACol), ARow);
    if (!g) return;
    g->CellText = Value;
    RepaintCell(ACol, ARow);
}

String TAdvStringGrid::GetButtonText(int ACol, int ARow) {
    TCellGraphic* g = GetCellGraphic(RealColIndex(ACol), ARow);
    return g ? g->CellText : String();
}

void TAdvStringGrid::PushButton(int ACol, int ARow, bool Push) {
    TCellGraphic* g = GetCellGraphic(RealColIndex(ACol), ARow);
    if (!g || g->CellType == ctNode) return;
    g->CellBoolean = Push;
    RepaintCell(ACol, ARow);
}

bool TAdvStringGrid::HasButton(int ACol, int ARow) {
    const TCellType t = GetCellType(ACol, ARow);
    return t == ctButton || t == ctBitButton;
}

void TAdvStringGrid::RemoveButton(int ACol, int ARow) {
    RemoveKinds(ACol, ARow, {ctButton, ctBitButton});
}

void TAdvStringGrid::RemoveBitButton(int ACol, int ARow) {
    RemoveKinds(ACol, ARow, {ctBitButton});
}

void TAdvStringGrid::RemoveAllButtons() {
    for (int r = 0; r < RowCount(); ++r)
        for (int c = 0; c < TotalColCount(); ++c) RemoveButton(c, r);
}

// =============================================================================================
// Balloons

void TAdvStringGrid::AddBalloon(int ACol, int ARow, const String& Title, const String& Text,
                                TBalloonIcon Icon) {
    TCellGraphic* g = GetCellGraphic(ACol, ARow);
    const bool attach =
        g && (g->CellType == ctCheckBox || g->CellType == ctDataCheckBox || g->CellType == ctRadioButton);
    if (g && !attach) return;
    if (!g) {
        g = CreateCellGraphic(ACol, ARow);
        g->CellType = ctBalloon;
    } else {
        g->CellAngle = 1;
    }
    auto* list = new TStringList();
    list->Add(Title);
    list->Add(Text);
    g->SetBalloon(list);
    g->CellIndex = int(Icon);
}

void TAdvStringGrid::RemoveBalloon(int ACol, int ARow) {
    TCellGraphic* g = GetCellGraphic(ACol, ARow);
    if (!g) return;
    if (g->CellType == ctBalloon) {
        RemoveCellGraphic(ACol, ARow);
    } else if (g->CellAngle == 1 && g->Balloon()) {
        g->SetBalloon(nullptr);
        g->CellAngle = 0;
    }
}

bool TAdvStringGrid::HasBalloon(int ACol, int ARow) {
    return GetCellType(ACol, ARow) == ctBalloon;
}

bool TAdvStringGrid::IsBalloon(int ACol, int ARow, String& Title, String& Text, TBalloonIcon& Icon) {
    TCellGraphic* g = GetCellGraphic(ACol, ARow);
    if (!g || !g->Balloon() || g->Balloon()->Count() < 2) return false;
    const bool attached =
        (g->CellType == ctCheckBox || g->CellType == ctDataCheckBox || g->CellType == ctRadioButton) &&
        g->CellAngle == 1;
    if (g->CellType != ctBalloon && !attached) return false;
    Title = g->Balloon()->Strings(0);
    Text = g->Balloon()->Strings(1);
    Icon = TBalloonIcon(g->CellIndex);
    return true;
}

// =============================================================================================
// Error markers

void TAdvStringGrid::AddMarker(int ACol, int ARow, int ErrPos, int ErrLen) {
    TCellGraphic* g = GetCellGraphic(ACol, ARow);
    if (!g) {
        g = CreateCellGraphic(ACol, ARow);
        g->CellType = ctEmpty;
    }
    g->CellErrFrom = ErrPos;
    g->CellErrLen = ErrLen;
    RepaintRealCell(ACol, ARow);
}

void TAdvStringGrid::RemoveMarker(int ACol, int ARow) {
    TCellGraphic* g = GetCellGraphic(ACol, ARow);
    if (!g) return;
    if (g->CellType == ctEmpty) {
        RemoveCellGraphic(ACol, ARow);
        return;
    }
    g->CellErrFrom = 0;
    g->CellErrLen = 0;
    RepaintRealCell(ACol, ARow);
}

void TAdvStringGrid::RemoveAllMarkers() {
    for (int r = 0; r < RowCount(); ++r)
        for (int c = 0; c < TotalColCount(); ++c) RemoveMarker(c, r);
}

void TAdvStringGrid::GetMarker(int ACol, int ARow, int& ErrPos, int& ErrLen) {
    TCellGraphic* g = GetCellGraphic(ACol, ARow);
    ErrPos = g ? g->CellErrFrom : 0;
    ErrLen = g ? g->CellErrLen : 0;
}

// =============================================================================================
// Scroll bars

// With AutoRange the range follows the text's height (the base cell's text-changed step).
void TAdvStringGrid::AddScrollBar(int ACol, int ARow, bool AutoRange) {
    TCellGraphic* g = CreateCellGraphic(ACol, ARow);
    g->CellType = ctScrollbar;
    g->CellIndex = 0;
    g->CellAngle = 0;
    g->CellErrFrom = 100;
    g->CellBoolean = AutoRange;
    if (AutoRange) {
        const TPoint b = BaseCell(ACol, ARow);
        BaseCellTextChanged(b.X, b.Y);
    }
}

void TAdvStringGrid::RemoveScrollBar(int ACol, int ARow) {
    RemoveKinds(ACol, ARow, {ctScrollbar});
}

bool TAdvStringGrid::HasScrollBar(int ACol, int ARow) {
    return GetCellType(ACol, ARow) == ctScrollbar;
}

bool TAdvStringGrid::HasAutoRangeScrollBar(int ACol, int ARow) {
    TCellGraphic* g = GraphicOfType(ACol, ARow, ctScrollbar);
    return g && g->CellBoolean;
}

void TAdvStringGrid::SetScrollPosition(int ACol, int ARow, int Position) {
    TCellGraphic* g = GraphicOfType(ACol, ARow, ctScrollbar);
    if (!g) return;
    g->CellIndex = Position;
    RepaintRealCell(ACol, ARow);
}

int TAdvStringGrid::GetScrollPosition(int ACol, int ARow) {
    TCellGraphic* g = GraphicOfType(ACol, ARow, ctScrollbar);
    return g ? g->CellIndex : -1;
}

void TAdvStringGrid::SetScrollProp(int ACol, int ARow, TScrollProp Prop) {
    TCellGraphic* g = GraphicOfType(ACol, ARow, ctScrollbar);
    if (!g) return;
    g->CellAngle = Prop.PageSize;
    g->CellErrFrom = Prop.Range;
    RepaintRealCell(ACol, ARow);
}

TScrollProp TAdvStringGrid::GetScrollProp(int ACol, int ARow) {
    TCellGraphic* g = GraphicOfType(ACol, ARow, ctScrollbar);
    return g ? TScrollProp{g->CellAngle, g->CellErrFrom} : TScrollProp{-1, -1};
}

// =============================================================================================
// Expand buttons

void TAdvStringGrid::AddExpand(int ACol, int ARow, int ExpandedHeight) {
    TCellGraphic* g = CreateCellGraphic(ACol, ARow);
    g->CellType = ctExpand;
    g->CellAngle = ExpandedHeight;
    g->CellIndex = ARow >= 0 && ARow < RowCount() ? RowHeights(ARow) : DefaultRowHeight();
    g->CellVar = false;
}

void TAdvStringGrid::RemoveExpand(int ACol, int ARow) {
    RemoveKinds(ACol, ARow, {ctExpand});
}

bool TAdvStringGrid::HasExpand(int ACol, int ARow) {
    return GetCellType(ACol, ARow) == ctExpand;
}

bool TAdvStringGrid::ToggleExpand(int ACol, int ARow) {
    TCellGraphic* g = GraphicOfType(ACol, ARow, ctExpand);
    if (!g) return false;
    g->CellVar = !g->CellVar.toBool();
    return g->CellVar.toBool();
}

bool TAdvStringGrid::GetExpandState(int ACol, int ARow) {
    TCellGraphic* g = GraphicOfType(ACol, ARow, ctExpand);
    return g && g->CellVar.toBool();
}

int TAdvStringGrid::GetExpandHeight(int ACol, int ARow, bool Expanded) {
    TCellGraphic* g = GetCellGraphic(ACol, ARow);
    if (!g) return DefaultRowHeight();
    return Expanded ? g->CellAngle : g->CellIndex;
}

// =============================================================================================
// Interfaced cells

void TAdvStringGrid::AddInterfacedCell(int ACol, int ARow, TObject* AObject) {
    CreateCellGraphic(ACol, ARow)->SetInterfacedCell(AObject);
}

void TAdvStringGrid::RemoveInterfacedCell(int ACol, int ARow) {
    RemoveKinds(ACol, ARow, {ctInterface});
}

TObject* TAdvStringGrid::GetInterfacedCell(int ACol, int ARow) {
    TCellGraphic* g = GraphicOfType(ACol, ARow, ctInterface);
    return g ? g->CellBitmap : nullptr;
}

// =============================================================================================
// Queries of painting, input and printing

bool TAdvStringGrid::IsClickableCell(int ACol, int ARow) {
    if (ACol < 0 || ARow < 0) return false;
    switch (GetCellType(ACol, ARow)) {
        case ctCheckBox:
        case ctDataCheckBox:
        case ctRadio:
        case ctButton:
        case ctVirtCheckBox:
        case ctRowCheckBox:
        case ctRadioButton:
        case ctTriStateCheckBox: return true;
        default: return false;
    }
}

bool TAdvStringGrid::IsTextlessCell(int ACol, int ARow) {
    const TCellType t = GetCellType(ACol, ARow);
    return t == ctDataCheckBox || t == ctDataImage || t == ctVirtCheckBox || t == ctRowCheckBox;
}

TRect TAdvStringGrid::GetButtonRect(int ACol, int ARow) {
    TCellGraphic* g = GetCellGraphic(RealColIndex(ACol), ARow);
    if (!g) return TRect();
    const TRect r = CellRect(ACol, ARow);
    const auto offset = unsigned(g->CellValue);
    const int left = r.Left + int(offset & 0xFFFF);
    const int top = r.Top + int(offset >> 16);
    const int w = g->CellHAlign == haFull ? r.Right - r.Left : g->CellIndex & 0xFFFF;
    const int h = g->CellVAlign == vaFull ? r.Bottom - r.Top : int(unsigned(g->CellIndex) >> 16);
    return TRect(left, top, left + w, top + h);
}

TRect TAdvStringGrid::GetExpandRect(int ACol, int ARow) {
    if (GetCellType(ACol, ARow) != ctExpand) return TRect();
    const TRect r = CellRect(DisplColIndex(ACol), ARow);
    return TRect(r.Right - 13, r.Top + 2, r.Right - 2, r.Top + 13);
}
