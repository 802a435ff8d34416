// TAdvStringGrid: the window procedure, which sees every message before the platform grid does:
// window destruction, cancel mode, paint and size upkeep, theme changes, the notifications of the
// in-place editors, the mouse wheel (selection moves, scrolling, zoom) and panning with the wheel
// button. Also the wheel methods, the grid's cursors and pan glyph, and the editor relays.
#include "AdvGrid.h"

#include "AdvGridDragDrop.h"
#include "AdvInplaceEdit.h"
#include "AdvStyleIF.h"
#include "Forms.h"
#include "GridCellEditors.h"
#include "Resources.h"

#include <QCursor>
#include <QWidget>
#include <QImage>
#include <QPixmap>

#include <cmath>

// ---------------------------------------------------------------------------------------------
// Cursors

namespace {

struct TGridCursorShape {
    TCursor Id;
    int HotX, HotY;
};

// The pan cursors 8000..8008 turn about their centre; the selection cursors point with the tip
// of their arrow or their centre.
constexpr TGridCursorShape GridCursorShapes[] = {
    {8000, 16, 16}, {8001, 16, 16}, {8002, 16, 16}, {8003, 16, 16}, {8004, 16, 16},
    {8005, 16, 16}, {8006, 16, 16}, {8007, 16, 16}, {8008, 16, 16}, {8010, 26, 16},
    {8011, 13, 26}, {8012, 16, 16}, {8014, 16, 16}};

// The pan cursor by the pointer's offset from the press point, [dy + 1][dx + 1].
constexpr TCursor PanCursors[3][3] = {{8006, 8004, 8005}, {8002, 8000, 8003}, {8008, 8001, 8007}};

// The scroll timer of the platform grid (selecting and moving).
constexpr UINT_PTR GridScrollTimerId = 1;

// The dead zone around the press point in which panning stands still.
constexpr int PanDeadZone = 5;

} // namespace

void TAdvStringGrid::RegisterGridCursors() {
    static TScreen* registered = nullptr;
    if (!Screen || registered == Screen) return;
    registered = Screen;
    for (const TGridCursorShape& c : GridCursorShapes) {
        const QImage image = LoadResourceImage(QStringLiteral("CUR%1").arg(c.Id));
        Screen->SetCursors(c.Id, QCursor(QPixmap::fromImage(image), c.HotX, c.HotY));
    }
}

// ---------------------------------------------------------------------------------------------
// The window procedure

void TAdvStringGrid::WndProc(TMessage& Message) {
    const UINT msg = Message.Msg;
    const bool designing = ComponentState().count(csDesigning) != 0;
    if (msg == WM_DESTROY) {
        if (!designing && AutoThemeAdapt() && HandleAllocated())
            if (TThemeNotifier* notifier = CurrentThemeNotifier()) notifier->UnRegisterWindow(Handle());
        if (FOleDropTargetAssigned) RevokeDragDrop(Handle());
        FOleDropTargetAssigned = false;
        EndWheelPan();
        if (HandleAllocated()) KillTimer(Handle(), GridTimerId);
    }
    if (ComponentState().count(csDestroying)) {
        TBaseGrid::WndProc(Message);
        return;
    }
    const TGridRect s0 = Selection();
    // An enhanced column or row move loses the mouse: its visuals go and the grid returns to normal.
    if (msg == WM_CANCELMODE && Screen && Screen->Cursor() == crDrag &&
        (FGridState == gsColMoving || FGridState == gsRowMoving) && EnhRowColMove) {
        Screen->SetCursor(crDefault);
        if (FMoveButton) {
            FMoveButton->SetEnabled(false);
            FMoveButton->SetVisible(false);
        }
        if (HandleAllocated()) KillTimer(Handle(), GridScrollTimerId);
        FGridState = gsNormal;
    }
    // The proportional thumbs follow sizes, releases and activation. Not at the first paint: the
    // platform grid's bar upkeep keeps them already, and showing or hiding a bar sizes the window,
    // which must not happen while its picture is being painted.
    if (!designing && (msg == WM_SIZE || msg == WM_LBUTTONUP || msg == CM_UIACTIVATE)) {
        UpdateProportionalVScroll();
        UpdateProportionalHScroll();
    }
    if ((msg == WM_THEMECHANGED || msg == WM_OFFICETHEMECHANGE) && AutoThemeAdapt()) ApplyOfficeTheme();
    // WM_NCPAINT: the outer border follows the inherited painting in WMNCPaint.
    if (msg == WM_COMMAND && EditorCommand(Message)) return;
    if (msg == WM_TIMER && wheelpan && FWheelMsg != 0 && IntelliPan != ipNone) WheelPanStep(s0);
    if (msg == WM_MBUTTONDOWN && FWheelMsg != 0 && !wheelpan && IntelliPan != ipNone &&
        RowCount() > FixedRows()) {
        StartWheelPan(TPoint(SmallInt(LOWORD(Message.LParam)), SmallInt(HIWORD(Message.LParam))));
    } else if (wheelpan) {
        // A press or a key ends panning; so does anything that takes the mouse or the window
        // away (a system key such as Alt+F4, cancel mode, the capture going to another window),
        // so that the pan cursor never stays behind.
        const bool captureLost = msg == WM_CAPTURECHANGED && !FPanKeepCapture &&
                                 (!HandleAllocated() || HWND(Message.LParam) != Handle());
        if (msg == WM_MBUTTONDOWN || msg == WM_LBUTTONDOWN || msg == WM_RBUTTONDOWN || msg == WM_KEYDOWN ||
            msg == WM_SYSKEYDOWN || msg == WM_CANCELMODE || captureLost)
            EndWheelPan();
    }
    if (FWheelMsg != 0 && msg == FWheelMsg && !wheelpan && WheelMessage(Message, s0)) return;
    const int oldRow = Row();
    // The release of the wheel button gives up the capture the press took: panning keeps it.
    const bool keepCapture = msg == WM_MBUTTONUP && wheelpan;
    if (keepCapture) FPanKeepCapture = true;
    try {
        TBaseGrid::WndProc(Message);
    } catch (...) {
        FPanKeepCapture = false;
        throw;
    }
    if (keepCapture) {
        FPanKeepCapture = false;
        if (wheelpan && HandleAllocated()) SetCapture(Handle());
    }
    if (Row() != oldRow && FSyncGrid && FSyncGrid->SelectionRow) SetRow(Row());
}

// ---------------------------------------------------------------------------------------------
// Notifications of the in-place editors

void TAdvStringGrid::ComboChangeEvents(int ItemIndex, const String& Text, TObject* Obj) {
    if (OnComboChange) OnComboChange(this, RealCol(), Row(), ItemIndex, Text);
    if (OnComboObjectChange) OnComboObjectChange(this, RealCol(), Row(), ItemIndex, Text, Obj);
}

// True when the message ends here.
bool TAdvStringGrid::EditorCommand(TMessage& Message) {
    const Word code = Message.WParamHi();
    const HWND from = HWND(Message.LParam);
    const HWND own = HandleAllocated() ? Handle() : 0;
    TGridCombo* combo = FEditCombo.get();
    const bool fromCombo = combo && from != 0 && combo->HandleAllocated() && from == combo->Handle();
    if (code == EN_CHANGE && FShowEditProcess) {
        // The editor hears its own notification (as the inherited reflection would give it).
        if (TWinControl* child = from != 0 && from != own ? FindControl(from) : nullptr)
            child->Perform(CN_COMMAND, Message.WParam, Message.LParam);
        TAdvInplaceEdit* ed = NormalEdit();
        const HWND edWnd = ed && ed->HandleAllocated() ? ed->Handle() : 0;
        if (edWnd) SendMessage(edWnd, WM_SETREDRAW, 0, 0);
        if (!FEditStart && FEditMode) {
            bool have = true;
            String text;
            switch (EditControl) {
                case edNormal:
                case edNumeric:
                case edPositiveNumeric:
                case edFloat:
                case edCapital:
                case edMixedCase:
                case edPassword:
                case edLowerCase:
                case edUpperCase:
                case edPositiveFloat:
                    have = ed != nullptr;
                    text = ed ? ed->Text() : String();
                    break;
                case edSpinEdit:
                case edFloatSpinEdit:
                case edTimeSpinEdit:
                case edDateSpinEdit:
                    have = FEditSpin != nullptr;
                    text = FEditSpin ? FEditSpin->Text() : String();
                    break;
                case edEditBtn:
                case edNumericEditBtn:
                case edFloatEditBtn:
                case edMaskEditBtn:
                    have = FEditBtn != nullptr;
                    text = FEditBtn ? FEditBtn->Text() : String();
                    break;
                default: have = false; break;
            }
            if (have) SetEditText(Col(), Row(), text);
        }
        if (edWnd) SendMessage(edWnd, WM_SETREDRAW, 1, 0);
        return true;
    }
    // Any other notification of a child reaches the child through the inherited reflection
    // (CN_COMMAND), once, after the grid's own events.
    if ((code == CBN_SELCHANGE || code == CBN_EDITCHANGE) && fromCombo && FEditMode) {
        const int i = combo->ItemIndex();
        const bool none = i < 0 || i >= combo->Items()->Count();
        ComboChangeEvents(i, none ? combo->Text() : combo->Items()->Strings(i),
                          none ? nullptr : combo->Items()->Objects(i));
    }
    if (code == CBN_CLOSEUP && fromCombo) {
        if (FMouseActions->DirectComboClose) {
            const int i = combo->ItemIndex();
            const bool none = i < 0 || i >= combo->Items()->Count();
            if (!none) combo->SetText(combo->Items()->Strings(i));
            ComboChangeEvents(i, none ? combo->Text() : combo->Items()->Strings(i),
                              none ? nullptr : combo->Items()->Objects(i));
            EditControl = edComboEdit;
            FEditMode = true;
            const bool directEdit = FMouseActions->DirectEdit;
            FMouseActions->DirectEdit = false;
            try {
                HideInplaceEdit();
                if (CanFocus()) SetFocus();
            } catch (...) {
                FMouseActions->DirectEdit = directEdit;
                throw;
            }
            FMouseActions->DirectEdit = directEdit;
        }
        ComboCloseUp(Row(), RealCol());
    }
    if (code == CBN_DROPDOWN && fromCombo) ComboDropDown(Row(), RealCol());
    if (code == CBN_EDITCHANGE && OnComboChange)
        OnComboChange(this, Col(), Row(), -1, combo ? combo->Text() : String());
    return false;
}

// ---------------------------------------------------------------------------------------------
// The wheel

bool TAdvStringGrid::WheelMessage(TMessage& Message, const TGridRect& S0) {
    bool handled = true;
    if (Parent() && Parent()->Perform(CM_MOUSEWHEEL, Message.WParam, Message.LParam) != 0) return false;
    // Toward the user the wheel's delta is negative.
    const bool down = SmallInt(Message.WParamHi()) < 0;
    const bool ctrl = (Message.WParamLo() & MK_CONTROL) != 0 || GetKeyState(VK_CONTROL) < 0;
    if (ctrl && IntelliZoom) {
        Zoom(down ? FWheelScrollLines : -FWheelScrollLines);
        AutoSizeCells(true, 4, 4);
        return true;
    }
    if (!EnableWheel || (FFixedRowAlways && RowCount() == 1)) return true;
    const int fixedRows = FixedRows();
    const int step = FMouseActions->WheelIncrement > 0 ? FMouseActions->WheelIncrement : FWheelScrollLines;
    const TWheelAction action = FMouseActions->WheelAction();
    int r = Row();
    if (action == waMoveSelection) {
        r = down ? Row() + step : Row() - step;
    } else if (action == waScroll) {
        if (down) {
            if (TopRow() < RowCount() - VisibleRowCount() && TopRow() + step >= fixedRows)
                SetTopRow(std::min(TopRow() + step, RowCount() - 1));
        } else {
            int up = step;
            if (TopRow() - up < fixedRows) up = TopRow() - fixedRows;
            if (TopRow() > fixedRows && TopRow() - up >= fixedRows) SetTopRow(TopRow() - up);
        }
    }
    r = std::max(std::min(r, RowCount() - FixedFooters() - 1), fixedRows);
    if (Col() > ColCount() - 1 && Row() > RowCount() - 1)
        FocusCell(ColCount() - 1, RowCount() - 1, true);
    else if (Col() > ColCount() - 1)
        SetCol(ColCount() - 1);
    else if (Col() < FixedCols())
        SetCol(FixedCols());
    int delta = 0;
    if (r >= 0 && r < RowCount()) {
        const int oldLeft = LeftCol();
        StartUpdate();
        try {
            if (FMouseActions->DisjunctRowSelect() && action == waMoveSelection) ClearRowSelect();
            delta = r - Row();
            if (action == waMoveSelection) SetRow(r);
            if (Row() != r) {
                // The move was refused (a disabled row): half the way, and one row up.
                const int half = int(std::nearbyint((r - Row()) / 2.0));
                const int target = Row() + half;
                if (half != 0 && target >= fixedRows && target < RowCount()) SetRow(target);
                if (TopRow() > fixedRows) SetTopRow(TopRow() - 1);
            }
            if (Options().count(goRowSelect) && FNavigation->KeepHorizScroll) SetLeftCol(oldLeft);
        } catch (...) {
            ResetUpdate();
            throw;
        }
        ResetUpdate();
    }
    MouseWheelHook(delta, handled);
    if ((FMouseActions->WheelIncrement != 0 || FMouseActions->DisjunctRowSelect()) && handled) {
        Message.Result = 1;
        TShiftState shift;
        TPoint pos(0, 0);
        bool h = true;
        if (FMouseActions->DisjunctRowSelect()) {
            shift = KeyboardStateToShiftState();
            h = false;
            pos = TPoint(LOWORD(Message.LParam), HIWORD(Message.LParam));
        }
        if (down) {
            if (OnMouseWheelDown) OnMouseWheelDown(this, shift, pos, h);
        } else if (OnMouseWheelUp) {
            OnMouseWheelUp(this, shift, pos, h);
        }
    }
    const TGridRect sel = Selection();
    if (!(sel == S0)) SelectionChanged(sel.Left, sel.Top, sel.Right, sel.Bottom);
    if (FSearchFooter->Visible() && TopRow() == RowCount() - VisibleRowCount()) AdjustForSearchFooter();
    return true;
}

void TAdvStringGrid::MouseWheelHook(int, bool&) {}

// The wheel methods the platform's wheel processing calls (a wheel message passed on).
bool TAdvStringGrid::DoMouseWheelDown(TShiftState Shift, TPoint MousePos) {
    return WheelMethod(true, Shift, MousePos);
}

bool TAdvStringGrid::DoMouseWheelUp(TShiftState Shift, TPoint MousePos) {
    return WheelMethod(false, Shift, MousePos);
}

bool TAdvStringGrid::WheelMethod(bool Down, TShiftState Shift, TPoint MousePos) {
    if (FMouseActions->WheelAction() == waScroll || !EnableWheel) {
        bool handled = false;
        const TMouseWheelUpDownEvent& event = Down ? OnMouseWheelDown : OnMouseWheelUp;
        if (event) event(this, Shift, MousePos, handled);
        return handled;
    }
    const auto cellStoreMove = [&] {
        return Down ? TBaseGrid::DoMouseWheelDown(Shift, MousePos)
                    : TBaseGrid::DoMouseWheelUp(Shift, MousePos);
    };
    const bool directEdit = FMouseActions->DirectEdit;
    FMouseActions->DirectEdit = false;
    struct TRestore {
        TMouseActions* A;
        bool V;
        ~TRestore() { A->DirectEdit = V; }
    } restore{FMouseActions.get(), directEdit};
    if (Options().count(goRowSelect) && FNavigation->KeepHorizScroll) {
        StartUpdate();
        const int left = LeftCol();
        const bool result = cellStoreMove();
        SetLeftCol(left);
        ResetUpdate();
        return result;
    }
    if (!Down && (Row() >= RowCount() || Col() >= ColCount())) return true;
    const bool wasEditing = FEditMode;
    const bool result = cellStoreMove();
    if (wasEditing && CanFocus()) SetFocus();
    return result;
}

// ---------------------------------------------------------------------------------------------
// Panning with the wheel button

void TAdvStringGrid::StartWheelPan(const TPoint& Pos) {
    RegisterGridCursors();
    QWidget* w = Widget();
    prevcurs = w && w->testAttribute(Qt::WA_SetCursor) ? std::make_shared<QCursor>(w->cursor()) : nullptr;
    FPanShowHint = ShowHint();
    ShowGridCursor(crPanNeutral);
    wheelpan = true;
    SetTimer(Handle(), PanTimerId, PanTimerInterval);
    wheelpanpos = Pos;
    SetCapture(Handle());
    SetShowHint(false);
    DrawPanGlyph();
}

void TAdvStringGrid::EndWheelPan() {
    if (!wheelpan) return;
    wheelpan = false;
    if (HandleAllocated()) {
        if (GetCapture() == Handle()) ReleaseCapture();
        KillTimer(Handle(), PanTimerId);
    }
    if (QWidget* w = WidgetIfAllocated()) {
        if (prevcurs)
            w->setCursor(*prevcurs);
        else
            w->unsetCursor();
    }
    prevcurs.reset();
    // The grid's own hint setting comes back (not hints switched on for a grid that had none).
    SetShowHint(FPanShowHint);
    InvalidatePanGlyph();
}

void TAdvStringGrid::WheelPanStep(const TGridRect& S0) {
    const TPoint p = ScreenToClient(Mouse->CursorPos());
    int dx = p.X < wheelpanpos.X - PanDeadZone ? -1 : p.X > wheelpanpos.X + PanDeadZone ? 1 : 0;
    int dy = p.Y < wheelpanpos.Y - PanDeadZone ? -1 : p.Y > wheelpanpos.Y + PanDeadZone ? 1 : 0;
    if (IntelliPan == ipHorizontal) dy = 0;
    if (IntelliPan == ipVertical) dx = 0;
    const int fixedRows = FixedRows(), fixedCols = FixedCols();
    const int lastRow = RowCount() - FixedFooters() - 1;
    const int lastCol = ColCount() - FixedRightCols() - 1;
    if (Row() > lastRow && lastRow >= fixedRows) SetRow(lastRow);
    if (Row() < fixedRows && fixedRows < RowCount()) SetRow(fixedRows);
    if (Col() > lastCol && lastCol >= fixedCols) SetCol(lastCol);
    if (Col() < fixedCols && fixedCols < ColCount()) SetCol(fixedCols);
    if (FMouseActions->WheelAction() == waScroll) {
        const int maxLeft = ColCount() - VisibleColCount(), maxTop = RowCount() - VisibleRowCount();
        if (dx == -1 && LeftCol() > fixedCols) {
            InvalidatePanGlyph();
            SetLeftCol(LeftCol() - 1);
        } else if (dx == 1 && LeftCol() < maxLeft) {
            InvalidatePanGlyph();
            SetLeftCol(LeftCol() + 1);
        }
        if (dy == -1 && TopRow() > fixedRows) {
            InvalidatePanGlyph();
            SetTopRow(TopRow() - 1);
        } else if (dy == 1 && TopRow() < maxTop) {
            InvalidatePanGlyph();
            SetTopRow(TopRow() + 1);
        }
    } else {
        const auto colShown = [this](int C) { return C >= LeftCol() && C < LeftCol() + VisibleColCount(); };
        const auto rowShown = [this](int R) { return R >= TopRow() && R < TopRow() + VisibleRowCount(); };
        if (dx == -1 && Col() > fixedCols) {
            if (!colShown(Col() - 1)) InvalidatePanGlyph();
            SetCol(Col() - 1);
        } else if (dx == 1 && Col() < lastCol) {
            if (!colShown(Col() + 1)) InvalidatePanGlyph();
            SetCol(Col() + 1);
        }
        if (dy == -1 && Row() > fixedRows) {
            if (!rowShown(Row() - 1)) InvalidatePanGlyph();
            SetRow(Row() - 1);
        } else if (dy == 1 && Row() < lastRow) {
            if (!rowShown(Row() + 1)) InvalidatePanGlyph();
            SetRow(Row() + 1);
        }
    }
    ShowGridCursor(PanCursors[dy + 1][dx + 1]);
    DrawPanGlyph();
    const TGridRect sel = Selection();
    if (!(sel == S0)) SelectionChanged(sel.Left, sel.Top, sel.Right, sel.Bottom);
}

void TAdvStringGrid::DrawPanGlyph() {
    const String name = IntelliPan == ipVertical     ? QStringLiteral("INTLI3")
                        : IntelliPan == ipHorizontal ? QStringLiteral("INTLI2")
                                                     : QStringLiteral("INTLI1");
    TBitmap glyph;
    glyph.LoadFromResourceName(name);
    const TRect r(0, 0, glyph.Width(), glyph.Height());
    // The glyph's background (its top-left pixel's colour) shows as white.
    TBitmap copy;
    copy.SetSize(r.Width(), r.Height());
    copy.Canvas()->Brush()->SetColor(clWhite);
    copy.Canvas()->BrushCopy(r, &glyph, r, glyph.Canvas()->Pixels(0, 0));
    Canvas()->Draw(wheelpanpos.X, wheelpanpos.Y, &copy);
}

void TAdvStringGrid::InvalidatePanGlyph() {
    if (!HandleAllocated()) return;
    const TRect r = Bounds(wheelpanpos.X, wheelpanpos.Y, 32, 32);
    InvalidateRect(Handle(), &r, false);
}

// ---------------------------------------------------------------------------------------------
// Selection check, simulated click and relays

void TAdvStringGrid::Select() {
    SelectCell(Col(), Row());
}

void TAdvStringGrid::SimulateCellClick(int ACol, int ARow) {
    const TRect r = CellRect(ACol, ARow);
    FForceSel = true;
    TMouseEvent down = OnMouseDown, up = OnMouseUp;
    OnMouseDown = nullptr;
    OnMouseUp = nullptr;
    struct TRestore {
        TAdvStringGrid* G;
        TMouseEvent Down, Up;
        ~TRestore() {
            G->OnMouseDown = Down;
            G->OnMouseUp = Up;
            G->FForceSel = false;
        }
    } restore{this, down, up};
    TBaseGrid::MouseDown(mbLeft, {}, r.Left + 2, r.Top + 2);
    TBaseGrid::MouseUp(mbLeft, {}, r.Left + 2, r.Top + 2);
}

void TAdvStringGrid::DropDownHeaderButtonClick(TObject*, int ButtonIndex) {
    if (OnDropDownHeaderButtonClick) OnDropDownHeaderButtonClick(this, Col(), Row(), ButtonIndex);
}

void TAdvStringGrid::DropDownFooterButtonClick(TObject*, int ButtonIndex) {
    if (OnDropDownFooterButtonClick) OnDropDownFooterButtonClick(this, Col(), Row(), ButtonIndex);
}

void TAdvStringGrid::MemoDropDownChange(TObject* Sender) {
    if (auto* memo = dynamic_cast<TControl*>(Sender)) SetEditText(Col(), Row(), memo->Text());
}

void TAdvStringGrid::EditLinkWindowProc(TMessage& Message) {
    if (Message.Msg == WM_GETDLGCODE && Options().count(goTabs)) {
        Message.Result |= DLGC_WANTCHARS | DLGC_WANTTAB | DLGC_WANTARROWS;
        return;
    }
    if (FGridControlWndProc) FGridControlWndProc(Message);
}
