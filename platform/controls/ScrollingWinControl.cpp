// The scrolling control that forms and scroll boxes derive from: its window scroll bars and the
// moving of its children.
#include "Forms.h"

#include "OSInfo.h"
#include "ScrollInfo.h"

#include <algorithm>

// =============================================================================================
// TControlScrollBar

int TControlScrollBar::ControlSize() const {
    const TRect cr = FControl->GetClientRect();
    // Without a window the client rectangle does not know of the bars yet.
    const DWORD style = FControl->WindowStyle();
    if (FVertical) {
        const bool other = FControl->FHorzScrollBar->FShown && !(style & WS_HSCROLL);
        return std::max(0, cr.Height() - (other ? GetSystemMetrics(SM_CYHSCROLL) : 0));
    }
    const bool other = FControl->FVertScrollBar->FShown && !(style & WS_VSCROLL);
    return std::max(0, cr.Width() - (other ? GetSystemMetrics(SM_CXVSCROLL) : 0));
}

void TControlScrollBar::SetPosition(int Value) {
    const int highest = FShown ? std::max(0, FRange - ControlSize()) : 0;
    Value = std::clamp(Value, 0, highest);
    if (Value != FPosition) {
        const int delta = FPosition - Value;
        FPosition = Value;
        FControl->ScrollContent(FVertical ? 0 : delta, FVertical ? delta : 0);
    }
    if (FControl->HandleAllocated() && FShown)
        SetScrollPos(FControl->Handle(), FVertical ? SB_VERT : SB_HORZ, FPosition, true);
}

void TControlScrollBar::SetRange(int Value) {
    FRange = std::max(0, Value);
    FControl->UpdateScrollBars();
}

void TControlScrollBar::SetVisible(bool Value) {
    if (Value == FVisible) return;
    FVisible = Value;
    FControl->UpdateScrollBars();
}

void TControlScrollBar::Assign(TPersistent* Source) {
    auto* src = dynamic_cast<TControlScrollBar*>(Source);
    if (!src) {
        TPersistent::Assign(Source);
        return;
    }
    FMargin = src->FMargin;
    FIncrement = src->FIncrement;
    FTracking = src->FTracking;
    FVisible = src->FVisible;
    FRange = src->FRange;
    FControl->UpdateScrollBars();
    SetPosition(src->FPosition);
}

void TControlScrollBar::ScrollMessage(int Code, int Pos) {
    switch (Code) {
        case SB_LINEUP: SetPosition(FPosition - FIncrement); break;
        case SB_LINEDOWN: SetPosition(FPosition + FIncrement); break;
        case SB_PAGEUP: SetPosition(FPosition - ControlSize()); break;
        case SB_PAGEDOWN: SetPosition(FPosition + ControlSize()); break;
        case SB_THUMBPOSITION: SetPosition(Pos); break;
        case SB_THUMBTRACK:
            if (FTracking) SetPosition(Pos);
            break;
        case SB_TOP: SetPosition(0); break;
        case SB_BOTTOM: SetPosition(FRange); break;
        default: break;
    }
}

// =============================================================================================
// TScrollingWinControl

TScrollingWinControl::TScrollingWinControl(TComponent* AOwner)
    : TWinControl(AOwner), FHorzScrollBar(new TControlScrollBar(this, false)),
      FVertScrollBar(new TControlScrollBar(this, true)) {}

TScrollingWinControl::~TScrollingWinControl() {
    delete FHorzScrollBar;
    delete FVertScrollBar;
}

void TScrollingWinControl::SetAutoScroll(bool Value) {
    if (Value == FAutoScroll) return;
    FAutoScroll = Value;
    if (!Value) {
        FHorzScrollBar->FRange = 0;
        FVertScrollBar->FRange = 0;
    }
    UpdateScrollBars();
}

void TScrollingWinControl::UpdateScrollBars() {
    if (FUpdatingBars || HasState(csDestroying)) return;
    FUpdatingBars = true;
    try {
        if (FAutoScroll) {
            // The farthest edges of the children as they lie when nothing is scrolled.
            int right = 0, bottom = 0;
            for (int i = 0; i < ControlCount(); ++i) {
                TControl* c = Controls(i);
                if (!c->Visible() || c->Align() != alNone) continue;
                right = std::max(right, c->Left() + c->Width() + FHorzScrollBar->FPosition);
                bottom = std::max(bottom, c->Top() + c->Height() + FVertScrollBar->FPosition);
            }
            FHorzScrollBar->FRange = right;
            FVertScrollBar->FRange = bottom;
        }
        // The client area without bars; a shown bar takes room from the other direction, so
        // showing one may make the other necessary.
        const TRect cr = GetClientRect();
        const int sx = GetSystemMetrics(SM_CXVSCROLL), sy = GetSystemMetrics(SM_CYHSCROLL);
        const int w = cr.Width() + ((WindowStyle() & WS_VSCROLL) ? sx : 0);
        const int h = cr.Height() + ((WindowStyle() & WS_HSCROLL) ? sy : 0);
        bool v = false, hz = false;
        for (int pass = 0; pass < 2; ++pass) {
            v = FVertScrollBar->FVisible && FVertScrollBar->FRange > h - (hz ? sy : 0);
            hz = FHorzScrollBar->FVisible && FHorzScrollBar->FRange > w - (v ? sx : 0);
        }
        FVertScrollBar->FShown = v;
        FHorzScrollBar->FShown = hz;
        for (TControlScrollBar* bar : {FVertScrollBar, FHorzScrollBar}) {
            if (HandleAllocated()) {
                SCROLLINFO si;
                si.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
                si.nMin = 0;
                si.nMax = bar->FShown ? bar->FRange - 1 : 0;
                si.nPage = bar->FShown ? UINT(bar->ControlSize()) : 0;
                si.nPos = bar->FShown ? bar->FPosition : 0;
                SetScrollInfo(Handle(), bar->FVertical ? SB_VERT : SB_HORZ, si, true);
            }
            bar->SetPosition(bar->FPosition);
        }
    } catch (...) {
        FUpdatingBars = false;
        throw;
    }
    FUpdatingBars = false;
}

void TScrollingWinControl::ScrollContent(int DeltaX, int DeltaY) {
    if (!DeltaX && !DeltaY) return;
    const bool was = FUpdatingBars;
    FUpdatingBars = true; // the children's moves change no range
    DisableAlign();
    try {
        for (int i = 0; i < ControlCount(); ++i) {
            TControl* c = Controls(i);
            c->SetBounds(c->Left() + DeltaX, c->Top() + DeltaY, c->Width(), c->Height());
        }
    } catch (...) {
        EnableAlign();
        FUpdatingBars = was;
        throw;
    }
    EnableAlign();
    FUpdatingBars = was;
    Invalidate();
}

void TScrollingWinControl::CreateWnd() {
    TWinControl::CreateWnd();
    if (FAutoScroll) UpdateScrollBars();
}

void TScrollingWinControl::AlignControls(TControl* AControl, TRect& Rect) {
    TWinControl::AlignControls(AControl, Rect);
    if (FAutoScroll) UpdateScrollBars();
}

void TScrollingWinControl::ChildBoundsChanged(TControl* AControl) {
    TWinControl::ChildBoundsChanged(AControl);
    if (FAutoScroll) UpdateScrollBars();
}

void TScrollingWinControl::Dispatch(TMessage& Message) {
    if ((Message.Msg == WM_VSCROLL || Message.Msg == WM_HSCROLL) && Message.LParam == 0) {
        // The window's own bars (a scroll-bar control names itself in LParam).
        TWMScroll m(Message);
        TControlScrollBar* bar = Message.Msg == WM_VSCROLL ? FVertScrollBar : FHorzScrollBar;
        bar->ScrollMessage(SmallInt(m.ScrollCode), SmallInt(m.Pos));
        Message.Result = 0;
        return;
    }
    TWinControl::Dispatch(Message);
}
