// The grid's handling of the mouse buttons before and after the platform grid's standard
// processing: what a left press means (sizing a fixed column or row, a cell or fixed-cell button,
// a check box, a node, a radio item, a rating, a link or markup control, a row, column or
// all-cells selection, a move or drag, an editor), what its release completes (sizing, buttons,
// disjunct selections, the selection grip, the header-click sort), the double click (column
// autosize, OnDblClickCell, editing), the right button, and the fixed-cell editors.
//
// Columns from the pointer are display columns; RC is the real column of ACol. These handlers
// never raise: a refused event stops only its own action.
#include "AdvGrid.h"

#include "Forms.h"
#include "GridCellEditors.h"
#include "GridUtil.h"
#include "HTMLHintWindow.h"
#include "MarkupRender.h"
#include "MarkupText.h"
#include "Mask.h"
#include "OSInfo.h"
#include "ShellApi.h"

#include <QDir>
#include <QFileInfo>
#include <QUrl>

#include <cstdlib>

namespace {

// How near a grid line a press counts as a press on the sizing border.
constexpr int BorderZone = 4;

bool PointInRect(const TRect& R, int X, int Y) {
    return X >= R.Left && X < R.Right && Y >= R.Top && Y < R.Bottom;
}

// The platform's point-in-rectangle test on a selection: its last column and row count as
// outside.
bool PointInSelection(const TGridRect& S, int ACol, int ARow) {
    return ACol >= S.Left && ACol < S.Right && ARow >= S.Top && ARow < S.Bottom;
}

bool Down(int VirtKey) {
    return GetKeyState(VirtKey) < 0;
}

// Lays the markup of cell (RC, ARow), shown in CR, out without painting, as its painting places
// it: Options says what to hit (a point or a control's ID).
void HitTestMarkupCell(TAdvStringGrid* G, const String& Text, const TRect& CR, int RC, int ARow,
                       THTMLDrawOptions Options, THTMLDrawResult& Result) {
    TRect tr(CR.Left + G->XYOffset.X + 1, CR.Top + G->XYOffset.Y + 1, CR.Right - G->XYOffset.X, CR.Bottom);
    if (G->HasCheckBox(RC, ARow)) tr.Left += G->ControlLook()->CheckSize();
    if (G->HasScrollBar(RC, ARow)) {
        tr.Right -= GetSystemMetrics(SM_CXVSCROLL);
        tr.Bottom += G->GetScrollPosition(RC, ARow);
    }
    Options.Images = G->GridImages();
    Options.PictureCache = G->ImageCache();
    Options.URLColor = G->URLColor();
    Options.HitTestOnly = true;
    DrawHTML(G->Canvas(), Text, tr, Options, Result);
}

} // namespace

// =============================================================================================
// Small pieces

bool TAdvStringGrid::IsHoverFixedCell(int ACol, int ARow) const {
    if (HoverFixedCells == hfNone) return false;
    if (ACol < FixedCols() && (HoverFixedCells == hfAll || HoverFixedCells == hfFixedColumns)) return true;
    return ARow < FixedRows() && (HoverFixedCells == hfAll || HoverFixedCells == hfFixedRows);
}

TShiftState TAdvStringGrid::SingleKeyShift(TShiftState S) {
    if (S.count(ssAlt)) return {ssAlt};
    if (S.count(ssShift)) return {ssShift};
    if (S.count(ssCtrl)) return {ssCtrl};
    return {};
}

void TAdvStringGrid::InheritedMouse(TWMMouse& Message) {
    TBaseGrid::Dispatch(Message.Message());
}

void TAdvStringGrid::CellSelectorClick(int, int) {}

void TAdvStringGrid::BeforeSelectAllClick(TGridRect&) {}

void TAdvStringGrid::CheckBoxClick(int ACol, int ARow, bool State) {
    if (OnCheckBoxClick) OnCheckBoxClick(this, ACol, ARow, State);
}

void TAdvStringGrid::ClickSort(int ACol) {
    if (OnClickSort) OnClickSort(this, ACol);
}

void TAdvStringGrid::FixedEdit(int ACol, int ARow, TStrings* Values, TGridFixedCellEditor& AEditor) {
    if (OnFixedEdit) OnFixedEdit(this, ACol, ARow, AEditor, Values);
}

// Change handler of the fixed-cell editors: OnEditChange gets the fixed cell being edited and the
// text of whichever editor changed.
void TAdvStringGrid::FixedCellEditChange(TObject* Sender) {
    if (!OnEditChange) return;
    String value;
    if (auto* edit = dynamic_cast<TCustomEdit*>(Sender))
        value = edit->Text();
    else if (auto* combo = dynamic_cast<TCustomComboBox*>(Sender))
        value = combo->Text();
    else
        return;
    OnEditChange(Sender, FFixedColEdit, FFixedRowEdit, value);
}

// A link from a cell's markup may come from a file the user opened: opening a program or a
// script through the desktop would start it. Web and mail addresses open; a local file opens
// only when it exists and is no program; anything else is ignored.
bool TAdvStringGrid::IsSafeLinkToOpen(const String& Anchor) {
    const String link = Anchor.trimmed();
    if (link.isEmpty()) return false;
    const String lower = link.toLower();
    for (const char* scheme : {"http://", "https://", "ftp://", "mailto:"}) {
        if (lower.startsWith(QLatin1String(scheme))) {
            // No control characters: they could end the address early in the receiving program.
            for (QChar c : link)
                if (c.unicode() < 32 || c.unicode() == 127) return false;
            return link.size() > int(qstrlen(scheme));
        }
    }
    String path = link;
    if (lower.startsWith(QLatin1String("file://"))) {
        const QUrl url(link);
        if (!url.isLocalFile()) return false;
        path = url.toLocalFile();
    } else if (lower.contains(QLatin1String("://"))) {
        return false;
    }
    path = QDir::fromNativeSeparators(QString(path).replace(QLatin1Char('\\'), QLatin1Char('/')));
    const QFileInfo info(path);
    if (!info.exists() || !info.isFile() || info.isExecutable()) return false;
    static const char* const programs[] = {"exe", "com", "bat",     "cmd", "scr", "pif", "msi",
                                           "vbs", "vbe", "js",      "jse", "wsf", "wsh", "ps1",
                                           "lnk", "sh",  "desktop", "jar", "reg", "cpl"};
    const String suffix = info.suffix().toLower();
    for (const char* p : programs)
        if (suffix == QLatin1String(p)) return false;
    return true;
}

// A link's own handling: "CELL://R<row>C<col>" makes that cell current; any other address goes
// to the desktop when it is safe to open.
void TAdvStringGrid::HandleAnchorClick(const String& Anchor, int, int) {
    if (Anchor.left(7).toUpper() == QLatin1String("CELL://")) {
        TPoint p;
        if (!ParseRCCellRef(Anchor.mid(7), p)) return;
        // A reference outside the grid is ignored, as one that does not parse.
        if (p.X < 0 || p.Y < 0 || p.X >= ColCount() || p.Y >= RowCount()) return;
        SetRow(p.Y);
        SetCol(p.X);
        ScrollInView(p.X, p.Y);
        return;
    }
    if (IsSafeLinkToOpen(Anchor))
        ShellExecute(HandleAllocated() ? Handle() : 0, "open", Anchor, "", "", SW_SHOWNORMAL);
}

// =============================================================================================
// The selection grip

bool TAdvStringGrid::PointInSelectionGrip(int X, int Y) {
    if (!SelectionResizer() || !SelectionRectangle()) return false;
    const TGridRect s = Selection();
    const TRect r = CellRect(s.Right, s.Bottom);
    if (r.Right <= r.Left || r.Bottom <= r.Top) return false;
    TRect grip(r.Right - 6, r.Bottom - 6, r.Right, r.Bottom);
    if (UseRightToLeftAlignment()) grip = TRect(r.Left, r.Bottom - 6, r.Left + 6, r.Bottom);
    return PointInRect(grip, X, Y);
}

void TAdvStringGrid::StartSelectionResize(TWMMouse& Message, bool SetState) {
    if (SetState) FGridState = gsSelecting;
    FDropSelection = Selection();
    CopySelectionToClipboard();
    FMouseResize = true;
    const TGridRect sel = Selection();
    const int c = Col(), r = Row();
    const bool editing = HasOption(goEditing);
    if (SetState ? !editing && !FMouseActions->RangeSelectAndEdit : !editing) InheritedMouse(Message);
    SetSelection(sel);
    if (Col() != c || Row() != r) FocusCell(c, r, false);
    SetSelection(sel);
    MouseMove({}, Message.XPos, Message.YPos);
    if (SetState) Message.Result = 1;
}

// =============================================================================================
// Left button down

void TAdvStringGrid::WMLButtonDown(TWMMouse& Message) {
    int X = Message.XPos, Y = Message.YPos;
    FDoOnClick = FMouseDownMove = FMouseKeepDown = true;
    FSpinUpClick = FSpinDnClick = false;
    const TGridRect oldSel = Selection();
    int ACol = -1, ARow = -1;
    MouseToCell(X, Y, ACol, ARow);

    // The selection grip: a drag resizes the selection and the release pastes into it.
    if (PointInSelectionGrip(X, Y)) {
        StartSelectionResize(Message, true);
        return;
    }

    if (HasOption(goEditing) && FMouseActions->RangeSelectAndEdit &&
        !PointInSelection(Selection(), ACol, ARow)) {
        TGridOptions o = Options();
        o.erase(goEditing);
        SetOptions(o);
    }

    bool allow = true;
    if (OnCanClickCell) OnCanClickCell(this, ARow, ACol, allow);
    if (!allow) return;

    const int ACol0 = ACol, ARow0 = ARow;
    if (FCellSelectorMode) {
        CellSelectorClick(ACol, ARow);
        return;
    }
    if (FMouseSelectMode == msResize) {
        StartSelectionResize(Message, false);
        return;
    }

    const TShiftState keys = KeysToShiftState(Word(Integer(Message.Keys)));
    TShiftState shift = keys;
    if (Down(VK_MENU)) shift.insert(ssAlt);
    const TShiftState S = SingleKeyShift(shift);
    if (FMouseActions->DisjunctCellSelect() && !S.count(ssCtrl) && ACol >= 0 && ARow >= 0 &&
        !IsFixed(ACol, ARow)) {
        FSelectedCells->Clear();
        Invalidate();
    }

    SearchInc.clear();
    FMoveColInd = FMoveRowInd = -1;
    FSelectionClick = false;
    FPushedCellButton = TPoint(-1, -1);
    FOldTopRowAtPress = TopRow();
    FOldKeepLeftCol = LeftCol();

    // The cell whose border the press may size.
    if (ARow == 0)
        MouseToCell(X - 5, Y, Colclicked, Rowclicked);
    else if (ACol == 0)
        MouseToCell(X, Y - 4, Colclicked, Rowclicked);
    else
        MouseToCell(X - 5, Y - 4, Colclicked, Rowclicked);
    if (FLook == glListView && FHotFixedCell.X >= 0 && FHotFixedCell.Y >= 0 &&
        (FHotFixedCell.X < FixedCols() || FHotFixedCell.Y < FixedRows()))
        RepaintCell(FHotFixedCell.X, FHotFixedCell.Y);
    if (Colclicked >= 0 && Rowclicked >= 0) {
        Colclickedsize = ColWidths(Colclicked);
        Rowclickedsize = RowHeights(Rowclicked);
    }
    Clickposx = X;
    Clickposy = Y;

    const bool inFixed = ACol >= 0 && ARow >= 0 && (ARow < FixedRows() || ACol < FixedCols());

    if (ACol == -1 || ARow == -1) {
        HideInplaceEdit();
        if (!FFixedRowAlways) InheritedMouse(Message);
        return;
    }

    {
        const TPoint base = BaseCell(ACol, ARow);
        ACol = base.X;
        ARow = base.Y;
    }
    TRect CR = CellRect(ACol, ARow);
    if (FMouseActions->CaretPositioning) LButFlg = true;

    const bool designing = ComponentState().count(csDesigning) != 0;
    // Sizing a fixed column or row by its border (the pointer move found the border). The line
    // after fixed column (row) i lies at the sizes of 0..i plus one pixel of grid line per one
    // before it; the last one near the point is sized.
    auto startFixedSizing = [&](bool Cols, int Pos, bool& Sizing, int& SizePos, int& Sized) {
        Sizing = true;
        SizePos = Pos;
        DrawSizingLine(Pos, Cols);
        int sizes = 0;
        for (int i = 0; i < (Cols ? FixedCols() : FixedRows()) && !designing; ++i) {
            sizes += Cols ? ColWidths(i) : RowHeights(i);
            if (std::abs(sizes + i - Pos) < 3) Sized = i;
        }
    };
    if (FSizeFixed) {
        startFixedSizing(true, X, FSizingFixed, FSizeFixedX, FSizingFixedCol);
        return;
    }
    if (FSizeFixedR) {
        startFixedSizing(false, Y, FSizingFixedR, FSizeFixedY, FSizingFixedRow);
        return;
    }

    if (inFixed || IsFixed(ACol, ARow)) HideInplaceEdit();
    const bool otherFixed = IsFixed(ACol, ARow) && !inFixed;
    bool nodeRow = IsNode(ARow);

    // Fixed cells drawn as buttons are drawn pressed until the release.
    if ((inFixed || otherFixed) && FixedAsButtons && HasOption(goFixedVertLine) &&
        HasOption(goFixedHorzLine) && Ctl3D() && !(nodeRow && IsNodeClick(ARow, X))) {
        FPushedFixedCell = CR;
        FPushedCellButton = TPoint(ACol, ARow);
        FFixedCellPushed = true;
        TRect r = CR;
        DrawEdge(Canvas(), r, BDR_SUNKENINNER, BF_RIGHT | BF_BOTTOM);
        r = CR;
        DrawEdge(Canvas(), r, BDR_SUNKENINNER, BF_LEFT | BF_TOP);
        nodeRow = false;
    }

    const int RC = RealColIndex(ACol);
    if (!designing) {
        if (FControlLook->SpinButtonsAlwaysVisible() && HasSpinEdit(RC, ARow) && X > CR.Right - 18) {
            if (Y > CR.Top + (CR.Bottom - CR.Top) / 2)
                FSpinDnClick = true;
            else
                FSpinUpClick = true;
        }
        // The node of a header row expands or collapses every node.
        if (ARow < FixedRows() && ACol == 0 && nodeRow && IsNodeClick(ARow, X) &&
            FMouseActions->NodeAllExpandContract) {
            if (TCellGraphic* g = GetCellGraphic(0, ARow)) {
                if (g->CellBoolean)
                    ExpandAll();
                else
                    ContractAll();
                g->CellBoolean = !g->CellBoolean;
            }
        }
        // A node's glyph expands or collapses its rows.
        if (ARow >= FixedRows() && ACol == 0 && nodeRow && IsNodeClick(ARow, X)) {
            if (OnMouseDown) OnMouseDown(this, mbLeft, S, X, Y);
            if (OnClickCell) OnClickCell(this, ARow, ACol);
            const int RR = RealRowIndex(ARow);
            bool allowNode = true;
            if (!GetNodeState(ARow)) {
                if (OnBeforeContractNode) OnBeforeContractNode(this, ARow, RR, allowNode);
                if (allowNode) {
                    ContractNode(RR);
                    if (OnContractNode) OnContractNode(this, ARow, RR);
                }
            } else {
                if (OnBeforeExpandNode) OnBeforeExpandNode(this, ARow, RR, allowNode);
                if (allowNode) {
                    ExpandNode(RR);
                    if (OnExpandNode) OnExpandNode(this, ARow, RR);
                }
            }
            if (FMouseActions->MoveRowOnNodeClick && ARow < RowCount()) SetRow(ARow);
            return;
        }
        if (IsRadio(RC, ARow) && (IsEditable(ACol, ARow) || FControlLook->RadioAlwaysActive())) {
            HideInplaceEdit();
            RadioGroupClick(RC, ARow, X - CR.Left, Y - CR.Top);
            if (CanFocus()) SetFocus();
            return;
        }
        if (ACol == 0 && ARow >= FixedRows() && HasNodes() && !FMouseActions->RowSelect &&
            !HasOption(goRowSizing)) {
            if (OnMouseDown) OnMouseDown(this, mbLeft, S, X, Y);
            if (OnClickCell) OnClickCell(this, ARow, ACol);
            return;
        }
        // A press inside the selection may become an OLE drag; a release without one selects.
        const bool onSizingBorder = HasOption(goColSizing) && (std::abs(X - CR.Left) < BorderZone ||
                                                               std::abs(X - CR.Right) < BorderZone);
        if ((IsSelected(ACol, ARow) || (ARow < FixedRows() && !EnhRowColMove)) && !HasOption(goEditing) &&
            !HasButton(RC, ARow) && !HasCheckBox(RC, ARow) && FDragDropSettings->OleDropSource() &&
            (ARow >= FixedRows() || (!FMouseActions->ColSelect && !FMouseActions->AllSelect)) &&
            ACol >= FixedCols() && !onSizingBorder) {
            if (CanFocus()) SetFocus();
            if (OnMouseDown) OnMouseDown(this, mbLeft, S, X, Y);
            FSelectionClick = true;
            if (OnClickCell) OnClickCell(this, ARow, ACol);
            return;
        }
        if (HasRating(RC, ARow) && IsEditable(ACol, ARow)) {
            HideInplaceEdit();
            double rate = int((X - CR.Left) / 9.0) / 2.0;
            if (RatingChange(RC, ARow, rate)) {
                SetFloats(RC, ARow, rate);
                RepaintCell(ACol, ARow);
            }
            return;
        }
        // Cell buttons and expand buttons are held until the release.
        auto pressButton = [&](bool Has, const TRect& BR) {
            if (!Has) return false;
            HideInplaceEdit();
            if (!IsFixed(ACol, ARow)) {
                FForceSel = true;
                SelectCell(ACol, ARow);
                FForceSel = false;
            }
            if (!PointInRect(BR, X, Y)) return false;
            PushButton(ACol, ARow, true);
            FPushedCellButton = TPoint(ACol, ARow);
            SetMouseCapture(true);
            if (OnClickCell) OnClickCell(this, ARow, ACol);
            return true;
        };
        if (pressButton(HasButton(RC, ARow), GetButtonRect(ACol, ARow))) return;
        if (pressButton(HasExpand(RC, ARow), GetExpandRect(ACol, ARow))) return;
    }

    // A press on a merged cell selects its base cell.
    if (IsMergedCell(RC, ARow0) && !IsFixed(ACol, ARow) && !OnMouseDown) {
        if (!UseRightToLeftAlignment()) {
            X = CR.Left + 2;
        } else {
            for (int c = ACol; c < ACol0; ++c) X += ColWidths(c);
        }
        Y = CR.Top + 2;
        Message.XPos = SmallInt(X);
        Message.YPos = SmallInt(Y);
    }

    if (ACol >= ColCount() || ARow >= RowCount()) {
        InheritedMouse(Message);
        return;
    }

    if (Colclicked >= 0 && Rowclicked >= 0) {
        const TRect sized = CellRect(Colclicked, Rowclicked);
        Clickposdx = Clickposx - sized.Right;
        Clickposdy = Clickposy - sized.Bottom;
    } else {
        Clickposdx = Clickposx;
        Clickposdy = Clickposy;
    }

    // Disjunct row and column selections.
    if (FMouseActions->DisjunctRowSelect() && ARow >= FixedRows() &&
        (ACol != 0 || !FMouseActions->HotmailRowSelect())) {
        if (keys.count(ssShift)) {
            InheritedMouse(Message);
            SetSelection(TGridRect(std::min(ACol, oldSel.Left), std::min(ARow, oldSel.Top),
                                   std::max(ACol, oldSel.Left), std::max(ARow, oldSel.Top)));
            return;
        }
        if (keys.count(ssCtrl) || FMouseActions->DisjunctRowSelectNoCtrl) {
            const int r = FMouseActions->RowSelectPersistent ? RealRowIndex(ARow) : ARow;
            if (GetRowSelect(r)) FDeselectState = true;
        } else {
            FMouseDown = true;
            if (!shift.count(ssAlt)) ClearRowSelect();
        }
    }
    if (FMouseActions->DisjunctColSelect() && ACol >= FixedCols()) {
        if (keys.count(ssCtrl)) {
            if (GetColSelect(ACol)) FDeselectState = true;
        } else {
            FMouseDown = true;
            ClearColSelect();
        }
    }

    // Links and markup controls.
    String text = GetCellEx(RC, ARow);
    const int kind = CellTextType(text, EnableHTML);
    if (URLShow() || kind == ctkMarkup) {
        String anchor, ctrlID, ctrlType, ctrlVal;
        TRect ctrlRect;
        if (kind != ctkMarkup) {
            if (URLShow() && IsURL(text)) anchor = text;
        } else {
            THTMLDrawOptions opt;
            opt.HitX = X;
            opt.HitY = Y;
            THTMLDrawResult res;
            HitTestMarkupCell(this, text, CR, RC, ARow, opt, res);
            if (res.Hit) {
                anchor = res.Anchor;
                ctrlID = res.ControlID;
                ctrlType = res.ControlType;
                ctrlVal = res.ControlValue;
                ctrlRect = res.ControlRect;
            }
        }
        if (!anchor.isEmpty()) {
            bool autoHandle = true;
            bool allowEdit = (HasOption(goEditing) || FEditDisable) && !ReadOnly(RealColIndex(ACol0), ARow0);
            if (!ctrlID.isEmpty()) CanEditCell(RealColIndex(ACol0), ARow0, allowEdit);
            if (!ctrlID.isEmpty() && allowEdit) {
                if (FCtrlEditing) {
                    CellControlEditDone(this);
                    text = GetCellEx(RC, ARow);
                }
                if (ctrlType == QLatin1String("BUTTON")) {
                    FCtrlXY = TPoint(RC, ARow);
                    FCtrlDown = true;
                    RepaintCell(ACol, ARow);
                } else if (ctrlType == QLatin1String("CHECK")) {
                    String value;
                    GetHTMLControlValue(text, ctrlID, value);
                    SetHTMLControlValue(text, ctrlID,
                                        value.toUpper() == QLatin1String("TRUE") ? "FALSE" : "TRUE");
                    SetCellEx(RC, ARow, text);
                } else if (ctrlType == QLatin1String("RADIO")) {
                    text = ClearHTMLRadioControls(text);
                    SetHTMLControlValue(text, ctrlID, "TRUE");
                    SetCellEx(RC, ARow, text);
                }
                if (OnControlClick) OnControlClick(this, ARow, ACol, ctrlID, ctrlType, ctrlVal);
                ShowCellControlEditor(text, ctrlType, ctrlID, ctrlVal, ctrlRect, ACol, RC, ARow);
                autoHandle = false;
            } else if (OnAnchorClick) {
                OnAnchorClick(this, ARow, ACol, anchor, autoHandle);
            }
            if (autoHandle) HandleAnchorClick(anchor, ACol, ARow);
            return;
        }
        if (kind == ctkMarkup && text.toUpper().contains(QLatin1String("<CONTROL"))) {
            if (OnClickCell) OnClickCell(this, ARow0, ACol0);
            HideInplaceEdit();
            SetSelection(TGridRect(ACol, ARow, ACol, ARow));
            return;
        }
    }

    Movecell = -1;

    // Selecting everything, a row or a column by its fixed cell.
    auto newSelection = [&](const TGridRect& R) {
        if (CanFocus()) SetFocus();
        HideSelection();
        SetSelection(R);
        FSelHidden = false;
        FocusExit();
    };
    if (ACol < FixedCols() && ARow < FixedRows() && FMouseActions->AllSelect && HasOption(goRangeSelect) &&
        FMouseSelectMode == msAll) {
        TGridRect r(FixedCols(), FixedRows(), ColCount() - 1, RowCount() - 1);
        BeforeSelectAllClick(r);
        newSelection(r);
        if (ActiveCellShow()) RepaintHeaderCells(oldSel.Left, oldSel.Top, Row(), Col());
    }
    if (ACol < FixedCols() && ARow >= FixedRows() && FMouseActions->RowSelect && FMouseSelectMode == msRow) {
        if (FEditMode && CanFocus()) SetFocus();
        if (FMouseActions->DisjunctCellSelect()) FSelectedCells->Clear();
        const int other = keys.count(ssShift) ? oldSel.Top : ARow;
        newSelection(TGridRect(FixedCols(), std::min(ARow, other), ColCount() - 1, std::max(ARow, other)));
        FMouseSelectStart = ARow;
        if (ActiveCellShow()) RepaintHeaderCells(oldSel.Left, oldSel.Top, Row(), Col());
        if (RowIndicator() && !RowIndicator()->Empty()) RepaintCol(0);
    }
    if (ACol >= FixedCols() && ARow < FixedRows() && FMouseActions->ColSelect && HasOption(goRangeSelect) &&
        FMouseSelectMode == msColumn) {
        FSelectedCells->Clear();
        TGridRect r(ACol, FixedRows(), ACol, RowCount() - 1);
        if (keys.count(ssShift))
            r = ACol < oldSel.Left ? TGridRect(ACol, FixedRows(), oldSel.Right, RowCount() - 1)
                                   : TGridRect(oldSel.Left, FixedRows(), ACol, RowCount() - 1);
        newSelection(r);
        FMouseSelectStart = ACol;
        if (ActiveCellShow()) RepaintHeaderCells(oldSel.Left, oldSel.Top, Row(), Col());
    }

    // A press on a header may start a move of its column or row.
    if (ACol >= FixedCols() && ARow < FixedRows()) Movecell = ACol;
    if (ACol < FixedCols() && ARow >= FixedRows()) Movecell = ARow;
    MoveOfsX = X - CR.Left;
    MoveOfsY = Y - CR.Top;

    // Check boxes and radio buttons, fixed rows included.
    allow = HasOption(goEditing) || FMouseActions->RangeSelectAndEdit;
    QueryCanEdit(RC, ARow, allow);
    const bool isRB = HasRadioButton(RC, ARow);
    if (ACol < ColCount() && ARow < RowCount() &&
        (allow || FControlLook->CheckAlwaysActive() || (ACol == 0 && FMouseActions->HotmailRowSelect())) &&
        (HasCheckBox(RC, ARow) || isRB) && IsInCheckBox(RC, ARow, X, Y)) {
        HideInplaceEdit();
        if (CanFocus()) SetFocus();
        const int RR = RealRowIndex(ARow);
        if (isRB) {
            SelectRadioButton(RC, ARow, true);
            if (OnRadioButtonClick) OnRadioButtonClick(this, RC, ARow);
        } else {
            ToggleCheckState(RC, ARow, true);
        }
        if (FShowModified->Enabled()) {
            SetRowModified(ARow, true);
            RepaintCell(0, ARow);
        }
        if (ACol == 0 && FMouseActions->HotmailRowSelect()) {
            SetSelection(TGridRect(FixedCols(), ARow, ColCount() - 1, ARow));
            SetRowSelect(RR, !GetRowSelect(RR));
            if (RR != ARow) RepaintCell(0, ARow);
            if (Row() == ARow && !GetRowSelect(RR)) {
                HideSelection();
                FSelHidden = false;
            }
        }
        bool state = false;
        GetCheckBoxState(RC, RR, state);
        if (!FNavigation->AlwaysEdit && ACol >= FixedCols() && ARow >= FixedRows())
            TBaseGrid::FocusCell(ACol, ARow, true);
        CheckBoxClick(ACol, ARow, state);
        if (HideFocusRect) RepaintCell(ACol, ARow);
        if (ARow < FixedRows() && FMouseActions->CheckAllCheck) {
            for (int r = FixedRows(); r < RowCount(); ++r) {
                if (FMouseActions->HotmailRowSelect())
                    SetRowSelect(RealRowIndex(r), state);
                else
                    SetCheckBoxState(RealColIndex(ACol), r, state);
            }
            Invalidate();
        }
        if (OnMouseDown) OnMouseDown(this, mbLeft, GetShiftState(), X, Y);
        Click();
        return;
    }

    // Direct editing and drop-downs shown always.
    const bool dataCell = ACol >= FixedCols() && ARow >= FixedRows();
    const bool DD = dataCell && FControlLook->DropDownAlwaysVisible() && HasComboBox(RC, ARow);
    const bool dblOnly = FMouseActions->EditOnDblClickOnly();
    if (dataCell && (allow || (dblOnly && DD)) &&
        (FMouseActions->DirectEdit || (FControlLook->DropDownAlwaysVisible() && DD))) {
        if (dblOnly && DD) FEditActive = false;
        HideInplaceEdit();
        if (CanFocus()) SetFocus();
    }

    const TGridRect sel = Selection();
    const bool inSingle = PointInRect(CR, X, Y) && sel.Left == ACol && sel.Right == ACol && sel.Top == ARow &&
                          sel.Bottom == ARow;
    bool editOff = false;
    if (!inSingle && FMouseActions->RangeSelectAndEdit && !IsFixed(ACol, ARow) && !allow) {
        editOff = true;
        TGridOptions o = Options();
        o.erase(goEditing);
        SetOptions(o);
    }

    if (otherFixed) {
        if (ARow == RowCount() - 1 && FFloatingFooter->Visible() &&
            FFloatingFooter->FooterStyle() == fsFixedLastRow)
            return;
        if (OnClickCell) OnClickCell(this, ARow, ACol);
        return;
    }

    // The standard processing: the platform grid moves the current cell and starts selecting.
    const bool scrollEdge = ARow == TopRow() + VisibleRowCount() || ACol == LeftCol() + VisibleColCount() ||
                            (ACol == LeftCol() && LeftCol() > FixedCols());
    const bool keepLeft = HasOption(goRowSelect) && FNavigation->KeepHorizScroll;
    if (keepLeft) BeginUpdate();
    try {
        if (!FSelHidden) {
            const bool alwaysEdit = FNavigation->AlwaysEdit;
            FNavigation->AlwaysEdit = false;
            try {
                InheritedMouse(Message);
            } catch (...) {
                FNavigation->AlwaysEdit = alwaysEdit;
                throw;
            }
            FNavigation->AlwaysEdit = alwaysEdit;
        }
        if (FGridState == gsSelecting && scrollEdge && FMouseActions->NoAutoRangeScroll)
            FGridState = gsNormal;
        if (TopRow() != FOldTopRowAtPress && FMouseActions->NoScrollOnPartialRow) {
            SetTopRow(FOldTopRowAtPress);
            if (HandleAllocated()) PostMessage(Handle(), WM_LBUTTONUP, 0, 0);
        }
    } catch (...) {
        if (keepLeft) {
            SetLeftCol(FOldKeepLeftCol);
            EndUpdate();
        }
        throw;
    }
    if (keepLeft) {
        SetLeftCol(FOldKeepLeftCol);
        EndUpdate();
    }

    const bool sizingPress = HasOption(goColSizing) && ARow < FixedRows() &&
                             (std::abs(X - CR.Left) < BorderZone || std::abs(X - CR.Right) < BorderZone);
    if (!sizingPress && OnClickCell) OnClickCell(this, ARow, ACol);
    if (OnCellValidate) {
        FEntered = false;
        SaveOldCell(Col(), Row());
    }

    if (IsMergedCell(RC, ARow0) && !IsFixed(ACol, ARow) && (inSingle || FMouseActions->DirectEdit) && allow)
        ShowInplaceEdit();

    if (std::abs(X - CR.Left) < BorderZone || std::abs(X - CR.Right) < BorderZone) return;

    if (dataCell && (allow || (dblOnly && DD)) &&
        (FMouseActions->DirectEdit || (FControlLook->DropDownAlwaysVisible() && DD)) &&
        !IsClickableCell(RC, ARow)) {
        if (dblOnly && DD && !HasOption(goEditing)) {
            TGridOptions o = Options();
            o.insert(goEditing);
            SetOptions(o);
            if (CanFocus()) SetFocus();
        }
        bool allow2 = true;
        if (Row() != ARow && OnRowChanging) OnRowChanging(this, Row(), ARow, allow2);
        if (Col() != ACol && OnColChanging) OnColChanging(this, Col(), ACol, allow2);
        if ((Col() != ACol || Row() != ARow) && OnCellChanging)
            OnCellChanging(this, Row(), Col(), ARow, ACol, allow2);
        if (allow2) {
            const TPoint target =
                IsBaseCell(RealColIndex(ACol0), ARow0) ? TPoint(ACol0, ARow0) : TPoint(ACol, ARow);
            SetSelection(TGridRect(target.X, target.Y, target.X, target.Y));
            SaveOldCell(target.X, target.Y);
            ShowEditor();
        }
    }

    if (editOff) FGridState = gsSelecting;
}

// =============================================================================================
// Left button up

void TAdvStringGrid::WMLButtonUp(TWMMouse& Message) {
    const int X = Message.XPos, Y = Message.YPos;
    ColMoveFlg = ColSizeFlg = FMouseDown = FMouseKeepDown = false;
    FMouseSelectMode = msNormal;
    bool rowDeselected = false;
    if (FCtrlDown) {
        FCtrlDown = false;
        RepaintCell(DisplColIndex(FCtrlXY.X), FCtrlXY.Y);
    }
    FMouseDownMove = false;
    if (FLook == glListView) {
        RepaintRow(0);
        if (FixedCols() > 0) RepaintCol(0);
    }
    FMouseSelectStart = -1;
    const bool designing = ComponentState().count(csDesigning) != 0;
    if (!designing)
        for (TArrowDirection d : {arrUp, arrDown, arrLeft, arrRight})
            if (TArrowWindow* w = ArrowWindow(d)) w->SetVisible(false);

    // The end of sizing a fixed column or row.
    // The sizing line goes first (drawn again it takes itself away): a width that does not
    // change repaints nothing.
    if (FSizingFixed) {
        DrawSizingLine(FSizeFixedX, true);
        FSizeFixed = FSizingFixed = false;
        if (FSizingFixedCol >= 0 && FSizingFixedCol < ColCount()) {
            int w = X;
            for (int i = 0; i < FSizingFixedCol; ++i) w -= ColWidths(i);
            SetColWidths(FSizingFixedCol, std::max(w, 0));
            if (OnEndColumnSize) OnEndColumnSize(this, FSizingFixedCol);
            if (OnUpdateColumnSize) {
                int nw = w;
                OnUpdateColumnSize(this, FSizingFixedCol, nw);
                if (nw != w) SetColWidths(FSizingFixedCol, std::max(nw, 0));
            }
        }
    }
    if (FSizingFixedR) {
        DrawSizingLine(FSizeFixedY, false);
        FSizeFixedR = FSizingFixedR = false;
        if (FSizingFixedRow >= 0 && FSizingFixedRow < RowCount()) {
            int h = Y;
            for (int i = 0; i < FSizingFixedRow; ++i) h -= RowHeights(i);
            SetRowHeights(FSizingFixedRow, std::max(h, 0));
            if (OnEndRowSize) OnEndRowSize(this, FSizingFixedRow);
        }
    }

    if (FFixedCellPushed) {
        TRect r = FPushedFixedCell;
        DrawEdge(Canvas(), r, BDR_RAISEDINNER, BF_RIGHT | BF_BOTTOM);
        r = FPushedFixedCell;
        DrawEdge(Canvas(), r, BDR_RAISEDINNER, BF_LEFT | BF_TOP);
        FFixedCellPushed = false;
    }

    int ACol = -1, ARow = -1;
    MouseToCell(X, Y, ACol, ARow);
    const bool onCell = ACol >= 0 && ARow >= 0;

    // A held cell or expand button: a release on it clicks it.
    if (FPushedCellButton.X != -1) {
        const TPoint pushed = FPushedCellButton;
        bool enabled = HasOption(goEditing);
        if (onCell && !FControlLook->NoDisabledButtonLook()) enabled = CanEditBaseCell(pushed.X, pushed.Y);
        const bool fixedPushed = pushed.X < FixedCols() || pushed.Y < FixedRows();
        if (enabled || FControlLook->NoDisabledButtonLook() || fixedPushed) {
            if (!IsNode(pushed.Y)) PushButton(pushed.X, pushed.Y, false);
            if (onCell) {
                const TPoint b = BaseCell(ACol, ARow);
                const bool fixedCond = (FixedAsButtons && pushed.X < FixedCols()) || pushed.Y < FixedRows();
                const int prc = RealColIndex(pushed.X);
                if (PointInRect(GetButtonRect(b.X, b.Y), X, Y) || fixedCond) ButtonClick(prc, pushed.Y);
                if (HasExpand(RealColIndex(b.X), b.Y) &&
                    (PointInRect(GetExpandRect(b.X, b.Y), X, Y) || fixedCond))
                    ExpandClick(prc, pushed.Y, ToggleExpand(prc, pushed.Y));
            }
        }
        FPushedCellButton = TPoint(-1, -1);
        SetMouseCapture(false);
    }

    if ((designing || HintShowSizing) && FScrollHintShow) {
        FScrollHintWnd.reset();
        FScrollHintShow = false;
    }

    if (onCell) {
        const int rc = RealColIndex(ACol);
        if ((HasButton(rc, ARow) && PointInRect(GetButtonRect(ACol, ARow), X, Y)) ||
            (HasExpand(rc, ARow) && PointInRect(GetExpandRect(ACol, ARow), X, Y)))
            return;
    }

    // OnClick for fixed cells.
    const bool columnSizing =
        ARow < FixedRows() && ACol >= 0 && HasOption(goColSizing) && Screen->Cursor() == crHSplit;
    if (!columnSizing && OnClick && FDoOnClick && (ARow < FixedRows() || ACol < FixedCols())) OnClick(this);
    FDoOnClick = false;

    if (FGridState == gsSelecting || IsDragging()) {
        FGridState = gsNormal;
        Click();
    }

    // A press inside the selection that did not become a drag selects the cell.
    if (FSelectionClick) {
        FSelectionClick = false;
        if (ARow >= FixedRows() && ACol >= FixedCols()) {
            const bool ctrl = Down(VK_CONTROL);
            const bool ole = FMouseActions->DisjunctRowSelect() && FDragDropSettings->OleDropSource();
            if (ole && !ctrl && !FMouseActions->DisjunctRowSelectNoCtrl) ClearRowSelect();
            if (ole && (ctrl || FMouseActions->DisjunctRowSelectNoCtrl)) {
                SetRowSelect(ARow, !GetRowSelect(ARow));
                if (OnMouseUp) OnMouseUp(this, mbLeft, {ssCtrl}, X, Y);
                return;
            }
            const bool indicator = RowIndicator() && !RowIndicator()->Empty() && FixedCols() > 0;
            if (indicator) RepaintCell(0, Row());
            if (HasOption(goRowSelect))
                SetSelection(TGridRect(FixedCols(), ARow, ColCount() - 1, ARow));
            else
                SetSelection(TGridRect(ACol, ARow, ACol, ARow));
            if (indicator) RepaintCell(0, Row());
        }
    }

    // Disjunct row selection.
    if (FMouseActions->DisjunctRowSelect() && ACol >= 0 && (!IsNode(ARow) || ACol != 0)) {
        if (!(ACol == 0 && FMouseActions->HotmailRowSelect())) SelectionToRowSelect(false);
        if (ARow >= FixedRows() && ARow < RowCount() - FFixedFooters && FDeselectState) {
            SetRowSelect(FMouseActions->RowSelectPersistent ? RealRowIndex(ARow) : ARow, false);
            rowDeselected = true;
            if (FMouseActions->HotmailRowSelect()) RepaintCell(0, 0);
        }
        FDeselectState = false;
    }

    // A click on an expanded group header selects the group.
    if (ARow >= 0 && ARow < RowCount() && IsNode(ARow) && FGrouping->AutoSelectGroup && ACol > 0 &&
        !GetNodeState(ARow)) {
        const int span = GetNodeSpan(ARow);
        if (FMouseActions->DisjunctRowSelect()) {
            for (int r = ARow + 1; r < ARow + span && r < RowCount(); ++r)
                SetRowSelect(RealRowIndex(r), true);
        } else {
            SetSelection(
                TGridRect(FixedCols(), ARow, ColCount() - 1, std::min(ARow + span - 1, RowCount() - 1)));
        }
    }

    if (FMouseActions->DisjunctColSelect()) {
        SelectionToColSelect(false);
        if (ACol >= FixedCols() && ACol < ColCount() - FFixedRightCols && FDeselectState)
            SetColSelect(ACol, false);
        FDeselectState = false;
    }

    const bool moveEnded = EndEnhancedMove(X, Y);

    InheritedMouse(Message);

    if (rowDeselected) FSelChange = false;
    if (FGridState == gsSelecting) FGridState = gsNormal;

    // The end of a selection resize by the grip: the copied cells fill the new selection.
    if (FMouseResize) {
        const TGridRect now = Selection();
        if (OnSelectionResize) OnSelectionResize(this, FDropSelection, now);
        FEditDisable = true;
        try {
            PasteSelectionFromClipboard();
        } catch (...) {
            FMouseResize = FEditDisable = false;
            throw;
        }
        FMouseResize = false;
        FEditDisable = false;
        if (OnSelectionResized) OnSelectionResized(this, FDropSelection, Selection());
    }

    if (ColMoveFlg || ColSizeFlg || !onCell) return;

    if (ACol >= FixedCols() || FSortSettings->FixedCols()) HeaderClickSort(ACol, ARow, X, Y, moveEnded);
}

// The header click of a release: check-box and radio notifications, then the sort.
void TAdvStringGrid::HeaderClickSort(int ACol, int ARow, int X, int Y, bool MoveEnded) {
    const int C = RealColIndex(ACol);
    if (HasCheckBox(C, ARow) && OnCheckBoxMouseUp) {
        bool state = false;
        GetCheckBoxState(C, ARow, state);
        OnCheckBoxMouseUp(this, C, ARow, state);
    }
    if (IsRadio(C, ARow) && OnRadioMouseUp) {
        int idx = -1;
        GetRadioIdx(C, ARow, idx);
        OnRadioMouseUp(this, C, ARow, idx);
    }
    bool doSort = true;
    if (FDblClk) {
        FDblClk = false;
        return;
    }
    const TRect R = CellRect(ACol, ARow);
    if (ARow == 0 && HasOption(goColSizing) &&
        (std::abs(X - R.Left) <= BorderZone || std::abs(X - R.Right) <= BorderZone))
        return;
    int pcol = -1, prow = -1;
    MouseToCell(Clickposx, Clickposy, pcol, prow);
    if (FControlLook->FixedDropDownButton() && CanShowFixedDropDown(C) && X > R.Right - 16) return;
    if (X > R.Right - 16 && GetColumnFilter(C)) return;

    const int sortRow = FSortSettings->Row();
    const bool sortCondition = ARow == sortRow && prow == sortRow && FixedRows() > 0 &&
                               !IsInCheckBox(C, ARow, X, Y) && FSortSettings->Show() && !MoveEnded &&
                               RowCount() > 2;
    if (sortCondition) {
        doSort = !IsIgnoredColumn(C);
        if (OnCanSort) OnCanSort(this, C, doSort);
    }
    if (!sortCondition || !doSort) {
        if (!doSort) RepaintCell(DisplColIndex(C), sortRow);
        return;
    }

    HideInplaceEdit();
    // Rows added or removed since the last sort: the unsort starts from the order of now.
    if (FSortRowXRef->Count() != RowCount()) InitSortXRef();
    const bool autoMerge = FSortSettings->AutoColumnMerge();
    if (autoMerge)
        for (int c = 0; c < ColCount(); ++c) SplitColumnCells(c);
    const bool keepLeft = HasOption(goRowSelect) && FNavigation->KeepHorizScroll;
    const int oldLeft = LeftCol();
    auto sorted = [&](const std::function<void()>& Sort) {
        if (keepLeft) BeginUpdate();
        const uint64_t start = GetTickCount64();
        try {
            Sort();
        } catch (...) {
            if (keepLeft) {
                SetLeftCol(oldLeft);
                EndUpdate();
            }
            throw;
        }
        SortTime = Cardinal(GetTickCount64() - start);
        if (keepLeft) {
            SetLeftCol(oldLeft);
            EndUpdate();
        }
    };
    const bool ascendingFirst = FSortSettings->InitSortDirection() == sdAscending;
    if (FSortSettings->IndexShow()) {
        const TIndexSortKey key = FSortSettings->IndexSortKey();
        const bool keyDown = (key == ikShift && Down(VK_SHIFT)) || (key == ikCtrl && Down(VK_CONTROL));
        TSortIndexList* idx = FSortIndexes.get();
        if (keyDown) {
            if (idx->FindIndex(C) == -1)
                idx->AddIndex(C, ascendingFirst);
            else
                idx->ToggleIndex(C);
        } else if (!(idx->Count() == 1 && idx->SortColumns(0) == C)) {
            idx->Clear();
            idx->AddIndex(C, ascendingFirst);
        } else {
            idx->ToggleIndex(C);
        }
        sorted([&] {
            if (HasNodes())
                QSortGroupIndexed();
            else
                QSortIndexed();
        });
        FSortSettings->SetColumn(idx->Count() > 0 ? idx->SortColumns(0) : -1);
    } else {
        bool undo = false;
        if (C == FSortSettings->Column()) {
            undo =
                FSortSettings->Direction() != FSortSettings->InitSortDirection() && FSortSettings->UndoSort();
            FSortSettings->SetDirection(FSortSettings->Direction() == sdAscending ? sdDescending
                                                                                  : sdAscending);
        } else {
            FSortSettings->SetDirection(FSortSettings->InitSortDirection());
            FSortSettings->SetColumn(C);
        }
        sorted([&] {
            if (HasNodes()) {
                QSortGroup();
            } else if (undo) {
                QUnSort();
                FSortSettings->SetColumn(-1);
            } else {
                QSort();
            }
        });
    }
    if (autoMerge) MergedColumnsChanged();
    if (NumCellControls() > 0) CellControlsUpdate(true);
    ClickSort(FSortSettings->Column());
}

// =============================================================================================
// Double click

void TAdvStringGrid::WMLButtonDblClk(TWMMouse& Message) {
    const int X = Message.XPos, Y = Message.YPos;
    int ACol = -1, ARow = -1;
    MouseToCell(X, Y, ACol, ARow);
    if (FMouseActions->RangeSelectAndEdit && ACol >= 0 && ARow >= 0 &&
        !IsClickableCell(RealColIndex(ACol), ARow))
        FForceSel = true;
    if (ACol == -1) {
        if (FFixedRowAlways) {
            InheritedMouse(Message);
            FForceSel = false;
            return;
        }
        ACol = ColCount() - 1;
        ARow = 0;
    }
    if (ARow < 0) {
        InheritedMouse(Message);
        FForceSel = false;
        if (OnDblClickCell) OnDblClickCell(this, -1, -1);
        return;
    }

    // A double click on the border of a header autosizes the column left of it.
    if (ARow < FixedRows() && HasOption(goColSizing) && FMouseActions->AutoSizeColOnDblClick) {
        const TRect R = CellRect(ACol, ARow);
        auto autoSize = [&](int C) {
            FDblClk = true;
            bool allowSize = true;
            if (OnColumnSize) OnColumnSize(this, C, allowSize);
            if (allowSize) {
                AutoSizeCol(C, 0);
                if (OnEndColumnSize) OnEndColumnSize(this, C);
            }
            FForceSel = false;
            InheritedMouse(Message);
        };
        if (std::abs(X - R.Left) <= 3 && ACol - 1 >= FixedCols()) {
            autoSize(ACol - 1);
            return;
        }
        if (std::abs(X - R.Right) <= 3 && ACol >= FixedCols()) {
            autoSize(ACol);
            return;
        }
    }

    const int RC = RealColIndex(ACol);
    if ((HasButton(RC, ARow) && PointInRect(GetButtonRect(ACol, ARow), X, Y)) ||
        (HasExpand(RC, ARow) && PointInRect(GetExpandRect(ACol, ARow), X, Y))) {
        FForceSel = false;
        return;
    }
    if (IsClickableCell(RC, ARow)) {
        InheritedMouse(Message);
        FForceSel = false;
        return;
    }

    InheritedMouse(Message);
    if (OnDblClickCell) {
        int c = -1, r = -1;
        MouseToCell(X, Y, c, r);
        OnDblClickCell(this, r, c);
    }

    if (FMouseActions->EditOnDblClickOnly()) {
        const bool rse = FMouseActions->RangeSelectAndEdit;
        FMouseActions->RangeSelectAndEdit = true;
        const bool editable = IsEditable(ACol, ARow);
        FMouseActions->RangeSelectAndEdit = rse;
        if (editable) {
            TGridOptions o = Options();
            o.insert(goEditing);
            SetOptions(o);
            FOldCol = ACol;
            FOldRow = ARow;
            ShowInplaceEdit();
        }
    } else if (ACol >= 0 && ARow >= 0 && FMouseActions->RangeSelectAndEdit && IsEditable(ACol, ARow)) {
        TGridOptions o = Options();
        o.insert(goEditing);
        SetOptions(o);
        const TPoint b = BaseCell(ACol, ARow);
        const TRect r = CellRect(b.X, b.Y);
        MouseDown(mbLeft, {}, r.Left + 4, r.Top + 4);
    }
    FForceSel = false;

    if ((ARow < FixedRows() && FMouseActions->FixedRowsEdit == fceDblClick) ||
        (ACol < FixedCols() && FMouseActions->FixedColsEdit == fceDblClick))
        StartFixedCellEdit(ACol, ARow);
}

// =============================================================================================
// Right button

void TAdvStringGrid::WMRButtonDown(TWMMouse& Message) {
    const int X = Message.XPos, Y = Message.YPos;
    InheritedMouse(Message);
    int ACol = -1, ARow = -1;
    MouseToCell(X, Y, ACol, ARow);
    const bool onCell = ACol >= 0 && ARow >= 0;
    if (onCell && FMouseActions->SelectOnRightClick && !IsFixed(ACol, ARow) &&
        !(FMouseActions->DisjunctCellSelect() && IsSelected(ACol, ARow))) {
        if (!IsClickableCell(RealColIndex(ACol), ARow)) {
            if (OnRightClickCell) {
                FocusCell(ACol, ARow);
            } else {
                MouseDown(mbLeft, {}, X, Y);
                MouseUp(mbLeft, {}, X, Y);
            }
        }
        if (IsSelected(ACol, ARow)) {
            bool canSelect = true;
            if (OnSelectCell) OnSelectCell(this, ACol, ARow, canSelect);
        } else {
            const TPoint b = BaseCell(ACol, ARow);
            const bool keep = FNavigation->KeepHorizScroll;
            const int oldLeft = LeftCol();
            if (keep) BeginUpdate();
            TBaseGrid::FocusCell(b.X, b.Y, true);
            if (keep) {
                SetLeftCol(oldLeft);
                EndUpdate();
            }
        }
        if (FMouseActions->DisjunctRowSelect()) {
            if (Down(VK_CONTROL) || FMouseActions->DisjunctRowSelectNoCtrl) {
                SetRowSelect(ARow, !GetRowSelect(ARow));
            } else if (RowSelectCount() > 1 && PopupMenu()) {
                if (!GetRowSelect(ARow)) {
                    ClearRowSelect();
                    SetRowSelect(ARow, true);
                }
            } else {
                ClearRowSelect();
                SetRowSelect(ARow, true);
            }
        }
    }
    if (OnRightClickCell) OnRightClickCell(this, ARow, ACol);
    if (onCell && URLShow() && URLEdit && IsURL(GetCellEx(RealColIndex(ACol), ARow))) {
        SetCol(ACol);
        SetRow(ARow);
        ShowEditor();
    }
}

void TAdvStringGrid::WMRButtonUp(TWMMouse& Message) {
    const TCursor cursor = Screen->Cursor();
    if ((cursor == crDrag || cursor == crNoDrop) &&
        (FGridState == gsRowMoving || FGridState == gsColMoving) && EnhRowColMove) {
        Message.Result = 0;
        return;
    }
    InheritedMouse(Message);
}

// =============================================================================================
// Radio groups

void TAdvStringGrid::RadioGroupClick(int ACol, int ARow, int X, int Y) {
    GetCellColor(ACol, ARow, {}, Canvas()->Brush(), Canvas()->Font());
    int bc = ACol, br = ARow;
    ResolveBaseCell(ACol, ARow, bc, br);
    TCellGraphic* g = GetCellGraphic(bc, br);
    TStrings* items = g ? dynamic_cast<TStrings*>(g->CellBitmap) : nullptr;
    if (!items) return;
    const int DC = DisplColIndex(bc);
    if (!IsFixed(DC, br)) {
        SetCol(DC);
        SetRow(br);
    }
    const TGridControlStyle style = FControlLook->ControlStyle();
    const int box = style == csClassic || style == csFlat ? FControlLook->RadioSize() : 16;
    const bool sideBySide = g->CellBoolean;
    const int lineHeight = std::max(box, Canvas()->TextHeight("gh"));
    int end = 0, hit = -1;
    for (int i = 0; i < items->Count(); ++i) {
        const int prev = end;
        end += sideBySide ? Canvas()->TextWidth(items->Strings(i)) + box : lineHeight;
        const int offset = sideBySide ? X : Y;
        if (prev < offset && offset < end) {
            hit = i;
            break;
        }
    }
    if (hit < 0) return;
    if (g->CellIndex != -1)
        g->CellIndex = hit;
    else
        SetCellEx(DC, br, items->Strings(hit));
    SetCellEx(DC, br, GetCellEx(DC, br));
    SetRadioIdx(DC, br, hit);
    if (OnRadioClick) OnRadioClick(this, DC, br, hit);
}

// =============================================================================================
// Fixed-cell editors

void TAdvStringGrid::StartFixedCellEdit(int ACol, int ARow) {
    TGridTransEdit* edit = FEditTrans.get();
    TGridTransCombo* combo = FComboTrans.get();
    if (!edit || !combo) return;
    if (edit->Visible() && !edit->StopEdit()) return;
    if (combo->Visible() && !combo->StopEdit()) return;

    bool allowEdit = true;
    if (OnCanEditCell) OnCanEditCell(this, ARow, ACol, allowEdit);
    if (!allowEdit) return;

    FFixedColEdit = ACol;
    FFixedRowEdit = ARow;
    TGridFixedCellEditor kind = ACol == 0 ? FMouseActions->FixedColsEditor : FMouseActions->FixedRowsEditor;
    combo->Items()->Assign(FMouseActions->FixedComboValues());
    FixedEdit(ACol, ARow, combo->Items(), kind);

    TRect r = CellRect(ACol, ARow);
    r = TRect(r.Left + 1, r.Top + 1, r.Right - 1, r.Bottom - 1);
    const int RC = RealColIndex(ACol);
    const String text = GetCellEx(RC, ARow);
    if (kind == fceEdit) {
        edit->SetBounds(r.Left, r.Top, r.Right - r.Left, r.Bottom - r.Top);
        edit->OnChange = [this](TObject* Sender) { FixedCellEditChange(Sender); };
        edit->SetText(text);
        edit->FCol = RC;
        edit->FRow = ARow;
        edit->SetVisible(true);
        if (edit->CanFocus()) edit->SetFocus();
    } else {
        combo->SetBounds(r.Left - 1, r.Top - 1, r.Right - r.Left + 1, r.Bottom - r.Top);
        combo->SetStyle(kind == fceComboEdit ? csDropDown : csDropDownList);
        combo->OnChange = [this](TObject* Sender) { FixedCellEditChange(Sender); };
        combo->SetText(text);
        combo->FCol = RC;
        combo->FRow = ARow;
        combo->SetVisible(true);
        if (combo->CanFocus()) combo->SetFocus();
    }
}

// =============================================================================================
// Markup-control editors

void TAdvStringGrid::ShowCellControlEditor(const String& Text, const String& CtrlType, const String& CtrlID,
                                           const String& CtrlVal, const TRect& CtrlRect, int ACol, int RC,
                                           int ARow) {
    const bool isEdit = CtrlType == QLatin1String("EDIT") || CtrlType == QLatin1String("PASSWORD") ||
                        CtrlType == QLatin1String("MASK");
    const bool isCombo = CtrlType == QLatin1String("COMBO");
    TCustomEdit* edit = MarkupControlEdit();
    TCustomComboBox* combo = MarkupControlCombo();
    if ((isEdit && !edit) || (isCombo && !combo) || (!isEdit && !isCombo)) return;
    FCtrlXY = TPoint(RC, ARow);
    FCtrlID = CtrlID;
    FCtrlType = CtrlType;
    FCtrlEditing = true;
    const int maxLen = GetHTMLControlMaxLen(Text, CtrlID);
    if (isEdit) {
        edit->SetWidth(0);
        edit->SetPasswordChar(CtrlType == QLatin1String("PASSWORD") ? Char(u'*') : Char(u'\0'));
        if (auto* masked = dynamic_cast<TCustomMaskEdit*>(edit))
            masked->SetEditMask(CtrlType == QLatin1String("MASK") ? GetHTMLControlProp(Text, CtrlID)
                                                                  : String());
        edit->OnExit = [this](TObject* Sender) { CellControlEditDone(Sender); };
        edit->SetText(CtrlVal);
        edit->SetBorderStyle(bsNone);
        edit->SetBounds(CtrlRect.Left + 1, CtrlRect.Top + 8, CtrlRect.Right - CtrlRect.Left - 4, 14);
        edit->SetMaxLength(maxLen);
        edit->SetParent(this);
        edit->SetVisible(true);
        edit->BringToFront();
        if (edit->CanFocus()) edit->SetFocus();
        return;
    }
    combo->SetWidth(0);
    bool editable = true;
    int dropCount = 8;
    combo->SetBounds(CtrlRect.Left - 1, CtrlRect.Top + 4, CtrlRect.Right - CtrlRect.Left, combo->Height());
    combo->OnSelect = [this](TObject* Sender) { ControlComboSelect(Sender); };
    combo->SetParent(this);
    if (OnControlComboList) {
        if (auto* list = dynamic_cast<TStringList*>(combo->Items()))
            OnControlComboList(this, ARow, ACol, CtrlID, CtrlType, CtrlVal, list, editable, dropCount);
    }
    combo->SetStyle(editable ? csDropDown : csDropDownList);
    const int idx = combo->Items()->IndexOf(CtrlVal);
    if (idx >= 0) combo->SetItemIndex(idx);
    combo->SetText(CtrlVal);
    combo->SetDropDownCount(dropCount);
    combo->OnExit = [this](TObject* Sender) { CellControlEditDone(Sender); };
    combo->SetHeight(combo->ItemHeight() * (dropCount + 2));
    combo->SetMaxLength(maxLen);
    combo->SetVisible(true);
    combo->SetDroppedDown(true);
    if (combo->CanFocus()) combo->SetFocus();
}

// Opens the editor of the next editable CONTROL tag of the cell's markup after CtrlID (the first
// one when CtrlID is empty), placed where the cell's painting lays that control out. A cell
// without such a tag, or one the user may not edit, opens nothing.
void TAdvStringGrid::EditCellControl(int ACol, int ARow, const String& CtrlID) {
    if (ACol < 0 || ARow < 0 || ACol >= ColCount() || ARow >= RowCount()) return;
    const int RC = RealColIndex(ACol);
    String text = GetCellEx(RC, ARow);
    if (CellTextType(text, EnableHTML) != ctkMarkup) return;
    const String id = NextHTMLEditControl(text, CtrlID);
    if (id.isEmpty()) return;
    bool allowEdit = (HasOption(goEditing) || FEditDisable) && !ReadOnly(RC, ARow);
    CanEditCell(RC, ARow, allowEdit);
    if (!allowEdit) return;
    if (FCtrlEditing) {
        CellControlEditDone(this);
        text = GetCellEx(RC, ARow);
    }
    THTMLDrawOptions opt;
    opt.ControlID = id;
    THTMLDrawResult res;
    HitTestMarkupCell(this, text, CellRect(ACol, ARow), RC, ARow, opt, res);
    if (!res.Hit) return; // not laid out inside the cell
    ShowCellControlEditor(text, res.ControlType, res.ControlID, res.ControlValue, res.ControlRect, ACol, RC,
                          ARow);
}

void TAdvStringGrid::CellControlEditDone(TObject*) {
    if (!FCtrlEditing) return;
    FCtrlEditing = false;
    String value;
    TWinControl* editor = nullptr;
    if (FCtrlType == QLatin1String("COMBO")) {
        if (TCustomComboBox* combo = MarkupControlCombo()) {
            value = combo->Text();
            editor = combo;
        }
    } else if (TCustomEdit* edit = MarkupControlEdit()) {
        value = edit->Text();
        editor = edit;
    }
    if (editor) {
        const int c = FCtrlXY.X, r = FCtrlXY.Y;
        if (c >= 0 && r >= 0 && r < RowCount()) {
            String text = GetCellEx(c, r);
            if (SetHTMLControlValue(text, FCtrlID, value)) SetCellEx(c, r, text);
        }
        editor->SetVisible(false);
    }
    if (OnControlEditDone) OnControlEditDone(this, FCtrlXY.Y, FCtrlXY.X, FCtrlID, FCtrlType, value);
    FCtrlType.clear();
}

void TAdvStringGrid::ControlComboSelect(TObject*) {
    TCustomComboBox* combo = MarkupControlCombo();
    if (!combo || !OnControlComboSelect) return;
    const int idx = combo->ItemIndex();
    const String item = idx >= 0 && idx < combo->Items()->Count() ? combo->Items()->Strings(idx) : String();
    OnControlComboSelect(this, FCtrlXY.Y, FCtrlXY.X, idx, FCtrlID, item);
}
