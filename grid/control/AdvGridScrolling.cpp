// TAdvStringGrid: scroll-bar settings and proportional thumbs, the scroll messages with their
// hints, drag scrolling, size and width changes with the stretch column, the notifier
// interfaces and the window notifications (balloon texts, date-picker changes).
#include "AdvGrid.h"

#include "AdvStringGridCheck.h"

#include "ComCtrls.h"
#include "ExtCtrls.h"
#include "Forms.h"
#include "GridUtil.h"
#include "HTMLHintWindow.h"
#include "MarkupText.h"
#include "ScrollInfo.h"

#include <cmath>

namespace {

// Adds one to a counter for the life of the scope, also when it is left by an exception.
struct TCountScope {
    int& Count;
    explicit TCountScope(int& C) : Count(C) { ++Count; }
    ~TCountScope() { --Count; }
};

// The longest text a balloon tip takes, and the longest title.
constexpr int MaxTipText = 2048;
constexpr int MaxTipTitle = 100;

String CutWithEllipsis(const String& Text, int Max) {
    if (Text.length() <= Max) return Text;
    return Text.left(Max - 3) + QStringLiteral("...");
}

// Banker's rounding of a scaled size: to the nearest integer, halves to the even neighbour.
int ScaleSize(int Size, int NewSize, int OldSize) {
    return int(std::nearbyint(double(Size) * NewSize / OldSize));
}

} // namespace

// =============================================================================================
// Scroll-bar settings

void TAdvStringGrid::SetScrollBars(TScrollStyle Value) {
    FGridScrollBars = Value;
    TBaseGrid::SetScrollBars(Value);
}

// The flat scroll-bar functions of the common controls are missing on this platform
// (FlatScrollBarsAvailable), so every type keeps the window's own bars; only the metro type
// lays its two thin controls over the grid in their place.
void TAdvStringGrid::SetScrollType(TScrollType Value) {
    if (Value == FScrollType) return;
    FScrollType = Value;
    if (!HandleAllocated()) return;
    if (Value == ssMetro) {
        CreateMetroScrollControls();
    } else if (FMetroScroll[0] || FMetroScroll[1]) {
        FreeMetroScrollControls();
        SetScrollBars(ssBoth);
    }
}

TScrollControl* TAdvStringGrid::MetroScrollControl(TScrollDirection Direction) const {
    return FMetroScroll[Direction == sdVertical ? 0 : 1].get();
}

void TAdvStringGrid::SetScrollColor(TColor Value) {
    FScrollColor = Value;
}

void TAdvStringGrid::SetScrollWidth(int Value) {
    FScrollWidth = Value;
}

// Switched off, the bars go back to the platform grid's plain range 0..127 without a page: a
// page left over from the proportional thumb would keep the thumb from the end positions.
void TAdvStringGrid::SetScrollProportional(bool Value) {
    FScrollProportional = Value;
    if (Value) {
        UpdateVScrollBar();
        UpdateHScrollBar();
        return;
    }
    if (!HandleAllocated()) return;
    for (const int bar : {SB_VERT, SB_HORZ}) {
        const TGridScrollBar& info = ScrollBarInfo(bar);
        if (!info.Visible) continue;
        SCROLLINFO si;
        si.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
        si.nMin = info.Min;
        si.nMax = info.Max;
        si.nPage = 0;
        si.nPos = info.Pos;
        SetScrollInfo(Handle(), bar, si, true);
    }
}

// =============================================================================================
// Proportional thumbs
//
// The bars keep the platform grid's positions 0..127: the range grows to
// trunc((e + 127) / (1 - e)) with a page of range - 126, where e is the part of the data
// columns (rows) the control shows, so that the thumb is e of the track long and the last
// position is still 127. The platform grid sets its plain range again whenever its position
// changes, so the thumbs are worked out again after each of its updates.

void TAdvStringGrid::UpdateScrollRange() {
    TBaseGrid::UpdateScrollRange();
    UpdateVScrollBar();
    UpdateHScrollBar();
    for (auto& sc : FMetroScroll)
        if (sc) sc->Invalidate();
}

void TAdvStringGrid::UpdateScrollPos() {
    TBaseGrid::UpdateScrollPos();
    UpdateVScrollBar();
    UpdateHScrollBar();
    for (auto& sc : FMetroScroll)
        if (sc) sc->Invalidate();
}

void TAdvStringGrid::UpdateHScrollBar() {
    ProportionalThumb(false);
}

void TAdvStringGrid::UpdateVScrollBar() {
    ProportionalThumb(true);
}

// b: the fixed cells, each with its grid line, and one line more; c: the data cells with their
// lines; d: the part of c before the first data cell shown. The vertical bar changes only while
// the rows do not all fit; its position is 127 when the control is higher than the data.
void TAdvStringGrid::ProportionalThumb(bool Vertical) {
    const int bar = Vertical ? SB_VERT : SB_HORZ;
    if (!FScrollProportional || FProportionalBusy > 0 || Loading() || ComponentState().count(csDesigning) ||
        !HandleAllocated() || !ScrollBarInfo(bar).Visible)
        return;
    const int count = Vertical ? RowCount() : ColCount();
    const int fixed = Vertical ? TBaseGrid::FixedRows() : TBaseGrid::FixedCols();
    if (Vertical && VisibleRowCount() + fixed >= count) return;
    const TCountScope busy(FProportionalBusy);
    const int line = GridLineWidth();
    const int first = Vertical ? TopRow() : LeftCol();
    int b = line, c = 0, d = 0;
    for (int i = 0; i < count; ++i) {
        const int size = std::max(0, Vertical ? RowHeights(i) : ColWidths(i)) + line;
        if (i < fixed) {
            b += size;
        } else {
            c += size;
            if (i < first) d += size;
        }
    }
    // No data, or none with a size: nothing to be proportional to.
    if (c <= 0) return;
    const int extent = Vertical ? Height() : Width();
    // A control smaller than its fixed cells shows nothing of the data: the smallest thumb.
    const float e = std::max(0.0f, float(extent - b) / float(c));
    if (e >= 0.9999f || b + c - extent < 5) return;
    SCROLLINFO si;
    si.fMask = SIF_POS;
    GetScrollInfo(Handle(), bar, si);
    si.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
    si.nMin = 0;
    si.nMax = int((e + 127.0f) / (1.0f - e));
    si.nPage = UINT(si.nMax - 126);
    if (extent < c)
        si.nPos = int(float(d) / float(c - extent) * 128.0f);
    else if (Vertical)
        si.nPos = 127;
    si.nPos = std::clamp(si.nPos, 0, 127);
    SetScrollInfo(Handle(), bar, si, true);
}

// =============================================================================================
// Scroll messages

void TAdvStringGrid::ShowScrollHint(bool Vertical, int Pos) {
    const int index = Vertical ? MulDiv(Pos, RowCount() - VisibleRowCount() - TBaseGrid::FixedRows(), 127) +
                                     TBaseGrid::FixedRows()
                               : MulDiv(Pos, ColCount() - VisibleColCount() - TBaseGrid::FixedCols(), 127) +
                                     TBaseGrid::FixedCols();
    String hint = (Vertical ? QStringLiteral("Row : ") : QStringLiteral("Col : ")) + IntToStr(index);
    if (OnScrollHint) OnScrollHint(this, index, hint);
    FScrollHintWnd->SetColor(HintColor);
    TRect r = FScrollHintWnd->CalcHintRect(100, hint, nullptr);
    TPoint pt;
    GetCursorPos(pt);
    r = TRect(r.Left + pt.X + 10, r.Top + pt.Y, r.Right + pt.X + 10, r.Bottom + pt.Y);
    FScrollHintWnd->ActivateHint(r, hint);
    FScrollHintShow = true;
}

void TAdvStringGrid::HideScrollHint() {
    FScrollHintWnd->ReleaseHandle();
    FScrollHintShow = false;
}

TGridRect TAdvStringGrid::FixedBackgroundCells() {
    TBitmap* pic = FBackGround->Bitmap();
    if (FBackGround->Display() != bdFixed || !pic || pic->Empty()) return TGridRect(-1, -1, -1, -1);
    const TGridCoord tl = MouseCoord(FBackGround->Left(), FBackGround->Top());
    const TGridCoord br = MouseCoord(FBackGround->Left() + pic->Width(), FBackGround->Top() + pic->Height());
    return TGridRect(tl.X, tl.Y, br.X < 0 ? ColCount() - 1 : br.X, br.Y < 0 ? RowCount() - 1 : br.Y);
}

bool TAdvStringGrid::ShowsMergedCells() const {
    const int lastCol = std::min(ColCount() - 1, LeftCol() + VisibleColCount());
    const int lastRow = std::min(RowCount() - 1, TopRow() + VisibleRowCount());
    for (int r = 0; r <= lastRow; ++r)
        for (int c = 0; c <= lastCol; ++c)
            if (IsMergedCell(c, r)) return true;
    return false;
}

void TAdvStringGrid::WMHScroll(TWMScroll& Message) {
    const int code = Message.ScrollCode;
    const int pos = Message.Pos;
    if (ScrollHints == shHorizontal || ScrollHints == shBoth) {
        if (code == SB_ENDSCROLL)
            HideScrollHint();
        else if (code == SB_THUMBTRACK)
            ShowScrollHint(false, pos);
    }
    const int target =
        MulDiv(pos, ColCount() - VisibleColCount() - TBaseGrid::FixedCols(), 127) + TBaseGrid::FixedCols();
    if (code == SB_THUMBTRACK && ScrollSynch) SetLeftCol(target);
    const TGridRect before = FixedBackgroundCells();
    if (TBaseGrid::FixedCols() == 0 && target >= Col() && EditorMode()) HideEditor();
    TBaseGrid::Dispatch(Message);
    const TGridRect after = FixedBackgroundCells();
    if (code != SB_THUMBTRACK && !(before == after)) {
        InvalidateGridRect(before);
        InvalidateGridRect(after);
    }
    // A merged area that is mirrored, or a single column, is laid out anew: paint it all.
    if (code == SB_ENDSCROLL && (ColCount() == 1 || (UseRightToLeftAlignment() && ShowsMergedCells())))
        Invalidate();
    UpdateFooter();
}

void TAdvStringGrid::WMVScroll(TWMScroll& Message) {
    if (ComponentState().count(csDesigning)) {
        TBaseGrid::Dispatch(Message);
        return;
    }
    if (CellScrollBarScroll(Message)) return;
    const int code = Message.ScrollCode;
    const int pos = Message.Pos;
    if (ScrollHints == shVertical || ScrollHints == shBoth) {
        if (code == SB_ENDSCROLL)
            HideScrollHint();
        else if (code == SB_THUMBTRACK)
            ShowScrollHint(true, pos);
    }
    if (code == SB_THUMBTRACK && ScrollSynch)
        SetTopRow(MulDiv(pos, RowCount() - VisibleRowCount() - TBaseGrid::FixedRows(), 127) +
                  TBaseGrid::FixedRows());
    // With the search footer shown, the grid does not scroll past a last row that shows whole
    // above the search panel.
    const bool searchFooter = FSearchFooter->Visible();
    if (searchFooter && (code == SB_LINEDOWN || code == SB_ENDSCROLL) && LastRowAboveSearchPanel()) {
        Message.Result = 1;
        return;
    }
    const TGridRect before = FixedBackgroundCells();
    TBaseGrid::Dispatch(Message);
    if (searchFooter) {
        const bool atEnd = TopRow() + VisibleRowCount() >= RowCount();
        if (code == SB_LINEUP && atEnd && TopRow() > TBaseGrid::FixedRows())
            SetTopRow(TopRow() - 1);
        else if ((code == SB_LINEDOWN || code == SB_ENDSCROLL) && atEnd)
            AdjustForSearchFooter();
    }
    const TGridRect after = FixedBackgroundCells();
    if (code != SB_THUMBTRACK && !(before == after)) {
        InvalidateGridRect(before);
        InvalidateGridRect(after);
    }
}

// Character messages always, unless editing is on (then the platform grid asks for them).
void TAdvStringGrid::WMGetDlgCode(TMessage& Message) {
    TBaseGrid::Dispatch(Message);
    if (FNavigation->AutoGotoWhenSorted || !HasOption(goEditing)) Message.Result |= DLGC_WANTCHARS;
}

// =============================================================================================
// Drag scrolling

void TAdvStringGrid::StopDragScroll() {
    FDragScrollDir.clear();
    if (!FDragScrollTimer) return;
    TTimer* timer = FDragScrollTimer;
    FDragScrollTimer = nullptr;
    timer->SetEnabled(false);
    TObject::Free(timer);
}

void TAdvStringGrid::DragOver(TObject* Source, int X, int Y, TDragState State, bool& Accept) {
    TDragScrollOptions* opts = FDragScrollOptions.get();
    if (!opts->Active() || State == dsDragLeave) {
        StopDragScroll();
    } else {
        const bool hadDirection = !FDragScrollDir.empty();
        TDragScrollDirections dir;
        if (Y < opts->Margins()->TopMargin)
            dir.insert(dsdUp);
        else if (Y > Height() - opts->Margins()->BottomMargin)
            dir.insert(dsdDown);
        if (X < opts->Margins()->LeftMargin)
            dir.insert(dsdLeft);
        else if (X > Width() - opts->Margins()->RightMargin)
            dir.insert(dsdRight);
        if (dir.empty()) {
            StopDragScroll();
        } else {
            FDragScrollDir = dir;
            if (!FDragScrollTimer) {
                FDragScrollTimer = new TTimer(Parent());
                FDragScrollTimer->FreeNotification(this);
                FDragScrollTimer->OnTimer = [this](TObject* S) { DragScrollTimerTick(S); };
                FDragScrollTimer->SetInterval(Cardinal(std::max(1, opts->Delays()->InitialDelay)));
                FDragScrollTimer->SetEnabled(true);
            } else if (hadDirection) {
                // Setting the interval restarts the timer: the next step waits the first delay.
                FDragScrollTimer->SetInterval(Cardinal(std::max(1, opts->Delays()->InitialDelay)));
            }
        }
    }
    TBaseGrid::DragOver(Source, X, Y, State, Accept);
}

void TAdvStringGrid::DragScrollTimerTick(TObject*) {
    if (!FDragScrollTimer) return;
    if (!FDragScrollOptions->Active()) {
        StopDragScroll();
        return;
    }
    FDragScrollTimer->SetInterval(Cardinal(std::max(1, FDragScrollOptions->Delays()->RepeatDelay)));
    bool canScroll = true;
    if (OnDragScroll) OnDragScroll(this, TopRow(), LeftCol(), FDragScrollDir, canScroll);
    if (!canScroll) return;
    const int fixedRows = TBaseGrid::FixedRows();
    const int fixedCols = TBaseGrid::FixedCols();
    if (FDragScrollDir.count(dsdUp) && TopRow() > fixedRows) SetTopRow(TopRow() - 1);
    if (FDragScrollDir.count(dsdDown) && TopRow() + VisibleRowCount() < RowCount()) SetTopRow(TopRow() + 1);
    if (FDragScrollDir.count(dsdLeft) && LeftCol() > fixedCols) SetLeftCol(LeftCol() - 1);
    if (FDragScrollDir.count(dsdRight) && LeftCol() + VisibleColCount() < ColCount())
        SetLeftCol(LeftCol() + 1);
}

// =============================================================================================
// Size changes and the stretch column

void TAdvStringGrid::StretchColumn(int Index) {
    if (Loading() || ComponentState().count(csDestroying) || (Application && Application->Terminated()))
        return;
    if (Index == -1) Index = ColCount() - 1;
    if (Index >= ColCount() || Index < -1)
        throw EAdvGridError(QStringLiteral("Stretch column index out of range"));
    if (ColCount() <= 0 || Index < 0 || !FColumnSize->Stretch || FInStretch) return;
    struct TStretchScope {
        bool& Flag;
        explicit TStretchScope(bool& F) : Flag(F) { Flag = true; }
        ~TStretchScope() { Flag = false; }
    } scope(FInStretch);
    const int client = ClientWidth();
    if (ColCount() == 1) {
        SetColWidths(0, client);
        return;
    }
    int others = 0;
    for (int c = 0; c < ColCount(); ++c)
        if (c != Index) others += ColWidths(c);
    if (others < client)
        SetColWidths(Index, client - others - 1);
    else if (LeftCol() == TBaseGrid::FixedCols())
        SetColWidths(Index, DefaultColWidth());
}

// The stretch column of ColumnSize (-1 the last). A setting past the columns (left from a larger
// grid) stretches nothing rather than raising from a count, width or form size change.
void TAdvStringGrid::StretchSettingColumn() {
    const int index = FColumnSize->StretchColumn;
    if (FColumnSize->Stretch && (index == -1 || (index >= 0 && index < ColCount()))) StretchColumn(index);
}

void TAdvStringGrid::SizeChanged(int OldColCount, int OldRowCount) {
    if (Parent() && !Loading() && !ComponentState().count(csReading) &&
        !(Application && Application->Terminated()))
        StretchSettingColumn();
    TBaseGrid::SizeChanged(OldColCount, OldRowCount);
}

void TAdvStringGrid::ScaleOthers(bool Rows, int Index, int NewSize, int OldSize) {
    const int count = Rows ? RowCount() : ColCount();
    for (int i = Rows ? TBaseGrid::FixedRows() : TBaseGrid::FixedCols(); i < count; ++i) {
        const int size = Rows ? RowHeights(i) : ColWidths(i);
        if (i == Index || size <= 0) continue;
        if (Rows)
            SetRowHeights(i, ScaleSize(size, NewSize, OldSize));
        else
            SetColWidths(i, ScaleSize(size, NewSize, OldSize));
    }
}

void TAdvStringGrid::ColWidthsChanged() {
    if (!FInStretch) StretchSettingColumn();
    if (ComponentState().count(csDesigning)) HideScrollHint();
    TBaseGrid::ColWidthsChanged();
    // The sizing state is taken and cleared first: the steps below change widths again.
    const int sized = FUserSizing ? FSizingCol : -1;
    const int startWidth = FSizingColWidth;
    FUserSizing = false;
    FSizingCol = -1;
    FSizingRow = -1;
    if (sized >= 0 && sized < ColCount()) {
        if (FMouseActions->AllColumnSize && startWidth > 0)
            ScaleOthers(false, sized, ColWidths(sized), startWidth);
        if (OnEndColumnSize) OnEndColumnSize(this, sized);
        int w = ColWidths(sized);
        UpdateColumnSize(sized, w);
        if (w != ColWidths(sized)) SetColWidths(sized, w);
    }
    UpdateFooter();
    if (FControlList) CellControlsUpdate(false);
    if (FColumnSize->Stretch && FScrollProportional) UpdateVScrollBar();
}

void TAdvStringGrid::RowHeightsChanged() {
    if (ComponentState().count(csDesigning)) HideScrollHint();
    TBaseGrid::RowHeightsChanged();
    const int sized = FUserSizing ? FSizingRow : -1;
    const int startHeight = FSizingRowHeight;
    FUserSizing = false;
    FSizingCol = -1;
    FSizingRow = -1;
    if (sized >= 0 && sized < RowCount()) {
        if (FMouseActions->AllRowSize && startHeight > 0)
            ScaleOthers(true, sized, RowHeights(sized), startHeight);
        if (OnEndRowSize) OnEndRowSize(this, sized);
    }
    if (FControlList) CellControlsUpdate(false);
}

void TAdvStringGrid::UpdateColumnSize(int ACol, int& AWidth) {
    if (OnUpdateColumnSize) OnUpdateColumnSize(this, ACol, AWidth);
}

// =============================================================================================
// Arrow colour, notifiers, removed components

TColor TAdvStringGrid::ArrowColor() const {
    return FArrows[arrUp] ? FArrows[arrUp]->Color() : clNone;
}

void TAdvStringGrid::SetArrowColor(TColor Value) {
    for (auto& arrow : FArrows)
        if (arrow) arrow->SetColor(Value);
}

void TAdvStringGrid::RegisterNotifier(TGridChangeNotifier* ANotifier) {
    if (!ANotifier || FNotifierList->IndexOf(ANotifier) >= 0) return;
    FNotifierList->Add(ANotifier);
    // A notifier freed while registered leaves the list (see Notification).
    ANotifier->FreeNotification(this);
}

void TAdvStringGrid::UnRegisterNotifier(TGridChangeNotifier* ANotifier) {
    if (FNotifierList->Remove(ANotifier) >= 0) ANotifier->RemoveFreeNotification(this);
}

int TAdvStringGrid::NotifierCount() const {
    return FNotifierList ? FNotifierList->Count() : 0;
}

void TAdvStringGrid::Notification(TComponent* AComponent, TOperation Operation) {
    if (Operation == opRemove && AComponent) {
        if (AComponent == FGridImages) FGridImages = nullptr;
        if (FCellChecker && AComponent == static_cast<TComponent*>(FCellChecker)) FCellChecker = nullptr;
        if (!ComponentState().count(csDestroying) && FSyncGrid && AComponent == FSyncGrid->Grid())
            FSyncGrid->SetGrid(nullptr);
        if (AComponent == FDragScrollTimer) {
            FDragScrollTimer = nullptr;
            FDragScrollDir.clear();
        }
        if (FNotifierList) FNotifierList->Remove(AComponent);
    }
    TBaseGrid::Notification(AComponent, Operation);
}

// =============================================================================================
// Notifications

void TAdvStringGrid::AnswerToolTipText(NMTTDISPINFO& Info) {
    TPoint pt;
    GetCursorPos(pt);
    pt = ScreenToClient(pt);
    int col = -1, row = -1;
    MouseToCell(pt.X, pt.Y, col, row);
    String text;
    int realCol = -1;
    if (col >= 0 && row >= 0) {
        const TPoint base = BaseCell(col, row);
        col = base.X;
        row = base.Y;
        realCol = RealColIndex(col);
        text = GetCellEx(realCol, row);
        switch (CellTextType(text, EnableHTML)) {
            case ctkMarkup: text = HTMLToText(text); break;
            case ctkPackedWide: text = UnpackWideText(text); break;
            case ctkRTF: text = RichPlainText(text); break;
            default: break;
        }
    }
    // Leading line breaks and TABs go, every other TAB becomes a blank.
    int start = 0;
    while (start < text.length() && (text[start] == u'\r' || text[start] == u'\n' || text[start] == u'\t'))
        ++start;
    text = CutWithEllipsis(text.mid(start).replace(QChar(u'\t'), QChar(u' ')), MaxTipText);

    int icon = TTI_INFO;
    String title = QStringLiteral(" ");
    if (realCol >= 0) {
        String bTitle, bText;
        TBalloonIcon bIcon = biInfo;
        if (IsBalloon(realCol, row, bTitle, bText, bIcon)) {
            title = bTitle;
            text = bText;
            icon = int(bIcon);
        }
        if (OnCellBalloon) OnCellBalloon(this, realCol, row, title, text, icon);
    }
    FToolTipCell = FLastBalloonPos = TPoint(col, row);
    // The tip buffer holds what a cell text may hold, also for a balloon's own text.
    FToolTipText = CutWithEllipsis(text, MaxTipText);
    Info.Text = FToolTipText;
    title = CutWithEllipsis(title, MaxTipTitle);

    SendMessage(FHToolTip, TTM_SETMAXTIPWIDTH, 0, 300);
    if (FBalloon->TextColor() != clNone)
        SendMessage(FHToolTip, TTM_SETTIPTEXTCOLOR, WPARAM(ColorToRGB(FBalloon->TextColor())), 0);
    if (FBalloon->BackgroundColor() != clNone)
        SendMessage(FHToolTip, TTM_SETTIPBKCOLOR, WPARAM(ColorToRGB(FBalloon->BackgroundColor())), 0);
    SendMessage(FHToolTip, TTM_SETTITLE, WPARAM(icon), LPARAM(title.utf16()));
}

void TAdvStringGrid::WMNotify(TWMNotify& Message) {
    NMHDR* hdr = Message.NMHdr();
    if (hdr && FHToolTip && hdr->hwndFrom == FHToolTip) {
        if (hdr->code == TTN_GETDISPINFO && FBalloon->Enable()) {
            AnswerToolTipText(*reinterpret_cast<NMTTDISPINFO*>(hdr));
            Message.Result = 0;
            return;
        }
        if (hdr->code == TTN_SHOW || hdr->code == TTN_POP) {
            Message.Result = 0;
            return;
        }
    }
    if (hdr && hdr->code == DTN_DATETIMECHANGE && OnDateTimeChange) {
        const auto* change = reinterpret_cast<const NMDATETIMECHANGE*>(hdr);
        const SYSTEMTIME& st = change->st;
        const TDateTime value =
            st.wYear == 0 || st.wMonth == 0 || st.wDay == 0 ? TDateTime(0) : SystemTimeToDateTime(st);
        OnDateTimeChange(this, Col(), Row(), value);
    }
    TBaseGrid::Dispatch(Message);
}
