// TAdvStringGrid: the update lock, the paint and erase messages, the state-change messages,
// scaling, the version and the original column widths.
#include "AdvGrid.h"

#include "Graphics.h"

// ---------------------------------------------------------------------------------------------
// The update lock

void TAdvStringGrid::BeginUpdate() {
    if (!Visible()) return;
    ++FUpdateCount;
    if (HandleAllocated()) Perform(WM_SETREDRAW, 0);
}

void TAdvStringGrid::EndUpdate() {
    if (!Visible()) return;
    if (FUpdateCount > 0) --FUpdateCount;
    if (HasState(csDestroying) || FUpdateCount != 0) return;
    FSelChange = false;
    if (!HandleAllocated()) return;
    Perform(WM_SETREDRAW, 1);
    InvalidateRect(Handle(), nullptr, false);
    DrawNCBorder();
}

void TAdvStringGrid::SetLockUpdate(bool Value) {
    if (Value)
        BeginUpdate();
    else
        EndUpdate();
}

// ---------------------------------------------------------------------------------------------
// Messages

void TAdvStringGrid::Dispatch(TMessage& Message) {
    // The end of an edit, posted by NotifyEditingDone; processing goes on afterwards.
    if (Message.Msg == GridEditDoneMessage()) GridEditDone(Message);
    switch (Message.Msg) {
        case WM_PAINT: CallHandler<TWMPaint>(this, &TAdvStringGrid::WMPaint, Message); break;
        case WM_ERASEBKGND: CallHandler<TWMEraseBkgnd>(this, &TAdvStringGrid::WMEraseBkgnd, Message); break;
        case CM_ENABLEDCHANGED: CMEnabledChanged(Message); break;
        case CM_COLORCHANGED: CMColorChanged(Message); break;
        case CM_CURSORCHANGED: CMCursorChanged(Message); break;
        case CM_STYLECHANGED: CMStyleChanged(Message); break;
        case WM_NCPAINT: CallHandler<TWMNCPaint>(this, &TAdvStringGrid::WMNCPaint, Message); break;
        case CM_HINTSHOW: CMHintShow(Message); break;
        case WM_HSCROLL: CallHandler<TWMScroll>(this, &TAdvStringGrid::WMHScroll, Message); break;
        case WM_VSCROLL: CallHandler<TWMScroll>(this, &TAdvStringGrid::WMVScroll, Message); break;
        case WM_GETDLGCODE: WMGetDlgCode(Message); break;
        case WM_NOTIFY: CallHandler<TWMNotify>(this, &TAdvStringGrid::WMNotify, Message); break;
        case WM_KEYDOWN: CallHandler<TWMKey>(this, &TAdvStringGrid::WMKeyDown, Message); break;
        case WM_CHAR: CallHandler<TWMKey>(this, &TAdvStringGrid::WMChar, Message); break;
        case WM_KEYUP: CallHandler<TWMKey>(this, &TAdvStringGrid::WMKeyUp, Message); break;
        case WM_TIMER: CallHandler<TWMTimer>(this, &TAdvStringGrid::WMTimer, Message); break;
        case WM_SETCURSOR: WMSetCursor(Message); break;
        case WM_SETFOCUS: CallHandler<TWMSetFocus>(this, &TAdvStringGrid::WMSetFocus, Message); break;
        case WM_KILLFOCUS: CallHandler<TWMKillFocus>(this, &TAdvStringGrid::WMKillFocus, Message); break;
        case WM_SIZE: CallHandler<TWMSize>(this, &TAdvStringGrid::WMSize, Message); break;
        // CM_FONTCHANGED: the platform grid's handling only.
        default: TBaseGrid::Dispatch(Message); break;
    }
}

// Every owner-drawn control paints into its backing image and shows it whole, so the paint is
// double-buffered already: with the lock open nothing is painted (the region stays asked for
// and the last EndUpdate asks for all of it), otherwise the custom control's paint runs.
void TAdvStringGrid::WMPaint(TWMPaint& Message) {
    if (FUpdateCount > 0) {
        Message.Result = 0;
        return;
    }
    TBaseGrid::Dispatch(Message);
    if (!TabStop() && FPaintCount == 0) {
        FPaintCount = 1;
        // The proportional vertical scroll bar is brought up to date here once scrolling's
        // proportional bar is built.
    }
}

// The grid paints every pixel itself: nothing to erase.
void TAdvStringGrid::WMEraseBkgnd(TWMEraseBkgnd& Message) {
    Message.Result = 0;
}

void TAdvStringGrid::CMEnabledChanged(TMessage& Message) {
    TBaseGrid::Dispatch(Message);
    Invalidate();
}

// The floating footer repaints here too once the footer panel is built.
void TAdvStringGrid::CMColorChanged(TMessage& Message) {
    TBaseGrid::Dispatch(Message);
}

void TAdvStringGrid::CMCursorChanged(TMessage& Message) {
    TBaseGrid::Dispatch(Message);
    if (!Invokedchange) FMouseSelectMode = msNormal;
    Invokedchange = false;
}

// The application style's colours: the platform has no application styles (StyleServices answers
// none), so there are no style colours to take.
void TAdvStringGrid::CMStyleChanged(TMessage& Message) {
    TBaseGrid::Dispatch(Message);
}

// ---------------------------------------------------------------------------------------------
// Scaling, version, original widths, settings handlers

namespace {
void ScaleFont(TFont* Font, int M, int D) {
    if (Font) Font->SetSize(MulDiv(Font->Size(), M, D));
}
} // namespace

// The cell store scales first, then the fixed-cell and active-cell fonts.
void TAdvStringGrid::ChangeScale(int M, int D) {
    TBaseGrid::ChangeScale(M, D);
    if (HasState(csDesigning) || M == D) return;
    ScaleFont(FixedFont(), M, D);
    ScaleFont(FActiveCellFont.get(), M, D);
}

int TAdvStringGrid::GetVersionNr() {
    // 6.2.1.3, the major version in the highest byte.
    return (6 << 24) | (2 << 16) | (1 << 8) | 3;
}

String TAdvStringGrid::GetVersionString() {
    const unsigned vn = unsigned(GetVersionNr());
    return QStringLiteral("%1.%2.%3.%4 Sep, 2012")
        .arg(vn >> 24)
        .arg((vn >> 16) & 0xFF)
        .arg((vn >> 8) & 0xFF)
        .arg(vn & 0xFF);
}

void TAdvStringGrid::InitOrigColSizes() {
    FOrigColSizes.Clear();
    for (int c = 0; c < ColCount(); ++c) FOrigColSizes.Add(ColWidths(c));
    FOldSize = Width();
}

void TAdvStringGrid::ShowModifiedChange(TObject*) {
    for (int r = 0; r < RowCount(); ++r) RepaintCell(0, r);
}

void TAdvStringGrid::BandsChange(TObject*) {
    Invalidate();
}
