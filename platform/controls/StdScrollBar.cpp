// The scroll-bar control of the standard controls.
#include "StdCtrls.h"

#include "OSInfo.h"
#include "WindowFrame.h"

#include <QScrollBar>

#include <algorithm>

TScrollBar::TScrollBar(TComponent* AOwner) : TNativeControl(AOwner) {
    FControlStyle = {csFramed, csDoubleClicks, csOpaque};
    SetBounds(0, 0, 121, GetSystemMetrics(SM_CYHSCROLL));
    SetParentColor(false);
    SetColor(clBtnFace);
}

QWidget* TScrollBar::CreateNative(QWidget* Host) {
    FBar = new QScrollBar(FKind == sbHorizontal ? Qt::Horizontal : Qt::Vertical, Host);
    return FBar;
}

void TScrollBar::CreateWnd() {
    TNativeControl::CreateWnd();
    if (!HandleAllocated() || !FBar) return;
    TWindowExtras::AttachBar(this, SB_CTL, FBar);
    UpdateScrollInfo();
}

void TScrollBar::UpdateScrollInfo() {
    if (!HandleAllocated()) return;
    SCROLLINFO si;
    si.fMask = SIF_ALL;
    si.nMin = FMin;
    si.nMax = FMax;
    si.nPage = UINT(std::max(0, FPageSize));
    si.nPos = FPosition;
    SetScrollInfo(Handle(), SB_CTL, si, true);
}

int TScrollBar::HighestPosition(int AMin, int AMax) const {
    return std::max(AMin, AMax - std::max(FPageSize - 1, 0));
}

void TScrollBar::SetKind(TScrollBarKind Value) {
    if (FKind == Value) return;
    FKind = Value;
    if (!HasState(csLoading)) SetBounds(Left(), Top(), Height(), Width());
    RecreateWnd();
}

void TScrollBar::SetParams(int APosition, int AMin, int AMax) {
    if (AMax < AMin || AMax < FPageSize)
        throw EInvalidOperation(QStringLiteral("Scrollbar property out of range"));
    APosition = std::clamp(APosition, AMin, HighestPosition(AMin, AMax));
    FMin = AMin;
    FMax = AMax;
    const bool moved = FPosition != APosition;
    FPosition = APosition;
    UpdateScrollInfo();
    if (moved) Change();
}

void TScrollBar::SetPageSize(int Value) {
    Value = std::clamp(Value, 0, FMax - FMin + 1);
    if (FPageSize == Value) return;
    FPageSize = Value;
    SetParams(FPosition, FMin, FMax);
    UpdateScrollInfo();
}

void TScrollBar::Change() {
    if (Assigned(OnChange)) OnChange(this);
}

void TScrollBar::Scroll(TScrollCode ScrollCode, int& ScrollPos) {
    if (Assigned(OnScroll)) OnScroll(this, ScrollCode, ScrollPos);
}

void TScrollBar::DoScroll(TWMScroll& Message) {
    int pos = FPosition;
    const int code = SmallInt(Message.ScrollCode);
    switch (code) {
        case SB_LINEUP: pos -= FSmallChange; break;
        case SB_LINEDOWN: pos += FSmallChange; break;
        case SB_PAGEUP: pos -= FLargeChange; break;
        case SB_PAGEDOWN: pos += FLargeChange; break;
        case SB_THUMBPOSITION:
        case SB_THUMBTRACK: {
            // The full track position (the message carries only 16 bits of it).
            SCROLLINFO si;
            si.fMask = SIF_TRACKPOS;
            pos = GetScrollInfo(Handle(), SB_CTL, si) ? si.nTrackPos : SmallInt(Message.Pos);
            break;
        }
        case SB_TOP: pos = FMin; break;
        case SB_BOTTOM: pos = FMax; break;
        default: break;
    }
    pos = std::clamp(pos, FMin, HighestPosition(FMin, FMax));
    Scroll(TScrollCode(std::clamp(code, int(scLineUp), int(scEndScroll))), pos);
    SetPosition(pos);
}

void TScrollBar::CNHScroll(TWMScroll& Message) {
    DoScroll(Message);
}

void TScrollBar::CNVScroll(TWMScroll& Message) {
    DoScroll(Message);
}

void TScrollBar::Dispatch(TMessage& Message) {
    switch (Message.Msg) {
        case CN_HSCROLL: CallHandler<TWMScroll>(this, &TScrollBar::CNHScroll, Message); break;
        case CN_VSCROLL: CallHandler<TWMScroll>(this, &TScrollBar::CNVScroll, Message); break;
        default: TNativeControl::Dispatch(Message); break;
    }
}
