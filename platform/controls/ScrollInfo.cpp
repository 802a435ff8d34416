// Scroll information of windows and scroll-bar controls, the window scroll bars as real Qt scroll
// bars in the non-client frame, and the messages a bar worked by the user sends.
#include "WindowFrame.h"

#include "Forms.h"
#include "OSInfo.h"
#include "QtBridge.h"

#include <QCoreApplication>
#include <QMouseEvent>
#include <QScrollBar>
#include <QWheelEvent>

#include <algorithm>

namespace {

bool ValidBar(int Bar) {
    return Bar == SB_HORZ || Bar == SB_VERT || Bar == SB_CTL;
}

DWORD StyleBit(int Bar) {
    return Bar == SB_HORZ ? WS_HSCROLL : WS_VSCROLL;
}

// The highest position: nMax - max(nPage - 1, 0).
int MaxPos(const TScrollBarState& B) {
    return int(std::max<long long>(B.Min, (long long)B.Max - std::max<long long>((long long)B.Page - 1, 0)));
}

bool Scrollable(const TScrollBarState& B) {
    return (long long)B.Min < (long long)B.Max - std::max<long long>((long long)B.Page - 1, 0);
}

} // namespace

// The information of a bar; Allocate makes it (0..100) for a window that has none yet. A window
// made with a bar's style has its information from the start. SB_CTL answers only for a
// scroll-bar control.
static TScrollBarState* BarOf(TWinControl* C, int Bar, bool Allocate) {
    if (!C || !ValidBar(Bar)) return nullptr;
    TWindowExtras* x = TWindowExtras::Find(C);
    if (Bar == SB_CTL) {
        if (!x || !x->Bars[SB_CTL].Allocated) return nullptr;
        return &x->Bars[SB_CTL];
    }
    const bool styled = C->WindowStyle() & StyleBit(Bar);
    if (!(x && x->Bars[Bar].Allocated) && !Allocate && !styled) return nullptr;
    TScrollBarState& b = TWindowExtras::Of(C).Bars[Bar];
    b.Allocated = true;
    return &b;
}

namespace {

// Shows or hides a window scroll bar through its style; answers whether it changed.
bool ShowWindowBar(TWinControl* C, int Bar, bool Show) {
    const LONG style = GetWindowLong(C->Handle(), GWL_STYLE);
    const LONG bit = LONG(StyleBit(Bar));
    const LONG next = Show ? (style | bit) : (style & ~bit);
    if (next == style) return false;
    SetWindowLong(C->Handle(), GWL_STYLE, next);
    return true;
}

// The message of a user action on a bar: to the window itself for its own bars, to the parent
// with the control's handle for a scroll-bar control.
void SendScroll(TWinControl* C, int Bar, int Code, int Pos) {
    TWindowExtras* x = TWindowExtras::Find(C);
    QScrollBar* w = x ? x->Bars[Bar].Widget.data() : nullptr;
    const bool horizontal = Bar == SB_HORZ || (Bar == SB_CTL && w && w->orientation() == Qt::Horizontal);
    const UINT msg = horizontal ? WM_HSCROLL : WM_VSCROLL;
    const WPARAM wp = MAKEWPARAM(Word(Code), Word(Pos));
    const HWND h = C->Handle();
    if (Bar == SB_CTL) {
        TWinControl* parent = C->Parent();
        if (parent)
            TControlPrivate::Guard(parent, [&] { parent->Perform(msg, wp, LPARAM(h)); });
        else
            TControlPrivate::Guard(C, [&] { C->Perform(CN_BASE + msg, wp, LPARAM(h)); });
    } else {
        TControlPrivate::Guard(C, [&] { C->Perform(msg, wp, 0); });
    }
}

// Runs Call for a bar's signal while the window lives, keeping its frame from being deleted.
template <class F> void WithBar(HWND Wnd, int Bar, F Call) {
    TWinControl* c = FindControl(Wnd);
    if (!c) return;
    TWindowExtras* x = TWindowExtras::Find(c);
    if (!x || !x->Bars[Bar].Widget) return;
    QPointer<TWindowFrame> frame = x->Frame;
    if (frame) ++frame->Busy;
    Call(c, x->Bars[Bar]);
    if (frame) --frame->Busy;
}

// Mouse presses and releases of a bar (to end an arrow or track action with SB_ENDSCROLL) and
// the wheel, which goes to the window as over its client area.
class TBarFilter : public QObject {
public:
    TBarFilter(QScrollBar* Bar, HWND Wnd, int Which) : QObject(Bar), FWnd(Wnd), FBar(Which) {
        Bar->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* Watched, QEvent* Event) override {
        auto* sb = static_cast<QScrollBar*>(Watched);
        switch (Event->type()) {
            case QEvent::MouseButtonPress:
            case QEvent::MouseButtonDblClick:
                WithBar(FWnd, FBar, [&](TWinControl* c, TScrollBarState& b) {
                    b.Acted = false;
                    TControlPrivate::ActivateFormOf(c);
                    if (Application) Application->CancelHint();
                });
                return false;
            case QEvent::MouseButtonRelease:
                // The thumb's release ends its drag itself (sliderReleased).
                if (!sb->isSliderDown())
                    WithBar(FWnd, FBar, [&](TWinControl* c, TScrollBarState& b) {
                        if (!b.Acted) return;
                        b.Acted = false;
                        SendScroll(c, FBar, SB_ENDSCROLL, 0);
                    });
                return false;
            case QEvent::Wheel: {
                TWinControl* c = FindControl(FWnd);
                QWidget* client = c ? c->WidgetIfAllocated() : nullptr;
                if (FBar == SB_CTL) return false;
                if (client) {
                    auto* we = static_cast<QWheelEvent*>(Event);
                    QWheelEvent mapped(client->mapFromGlobal(we->globalPosition()), we->globalPosition(),
                                       we->pixelDelta(), we->angleDelta(), we->buttons(), we->modifiers(),
                                       we->phase(), we->inverted());
                    QCoreApplication::sendEvent(client, &mapped);
                }
                return true;
            }
            default: return false;
        }
    }

private:
    HWND FWnd;
    int FBar;
};

} // namespace

void TWindowExtras::AttachBar(TWinControl* Control, int Bar, QScrollBar* Widget) {
    TScrollBarState& b = Of(Control).Bars[Bar];
    b.Allocated = true;
    b.Widget = Widget;
    Widget->setFocusPolicy(Qt::NoFocus);
    Widget->setContextMenuPolicy(Qt::NoContextMenu);
    // The thumb shows the track position while dragged; the value is the window's to set.
    Widget->setTracking(false);
    Widget->setSingleStep(1);
    const HWND h = Control->Handle();
    new TBarFilter(Widget, h, Bar);
    QObject::connect(Widget, &QAbstractSlider::actionTriggered, Widget, [h, Bar](int Action) {
        WithBar(h, Bar, [&](TWinControl* c, TScrollBarState& s) {
            int code = -1;
            switch (Action) {
                case QAbstractSlider::SliderSingleStepSub: code = SB_LINEUP; break;
                case QAbstractSlider::SliderSingleStepAdd: code = SB_LINEDOWN; break;
                case QAbstractSlider::SliderPageStepSub: code = SB_PAGEUP; break;
                case QAbstractSlider::SliderPageStepAdd: code = SB_PAGEDOWN; break;
                case QAbstractSlider::SliderToMinimum: code = SB_TOP; break;
                case QAbstractSlider::SliderToMaximum: code = SB_BOTTOM; break;
                default: break; // a move that is not a drag: the bar keeps the window's position
            }
            // The bar does not move by itself: the window answers the message.
            if (QScrollBar* w = s.Widget) w->setSliderPosition(s.Tracking ? s.TrackPos : s.Pos);
            if (code < 0) return;
            s.Acted = true;
            SendScroll(c, Bar, code, 0);
        });
    });
    QObject::connect(Widget, &QAbstractSlider::sliderPressed, Widget, [h, Bar]() {
        WithBar(h, Bar, [&](TWinControl*, TScrollBarState& s) {
            s.Tracking = true;
            s.TrackPos = s.Pos;
        });
    });
    QObject::connect(Widget, &QAbstractSlider::sliderMoved, Widget, [h, Bar](int Pos) {
        WithBar(h, Bar, [&](TWinControl* c, TScrollBarState& s) {
            if (!s.Tracking || Pos == s.TrackPos) return;
            s.TrackPos = Pos;
            SendScroll(c, Bar, SB_THUMBTRACK, Pos);
        });
    });
    QObject::connect(Widget, &QAbstractSlider::sliderReleased, Widget, [h, Bar]() {
        WithBar(h, Bar, [&](TWinControl* c, TScrollBarState& s) {
            s.Acted = false;
            // The track position still answers while the release is told; the drag ends after.
            SendScroll(c, Bar, SB_THUMBPOSITION, s.TrackPos);
        });
        WithBar(h, Bar, [&](TWinControl* c, TScrollBarState& s) {
            s.Tracking = false;
            ApplyBar(c, Bar, false);
            SendScroll(c, Bar, SB_ENDSCROLL, 0);
        });
    });
    ApplyBar(Control, Bar, false);
}

void TWindowExtras::ApplyBar(TWinControl* Control, int Bar, bool Redraw) {
    TWindowExtras* x = Find(Control);
    if (!x) return;
    TScrollBarState& b = x->Bars[Bar];
    QScrollBar* w = b.Widget;
    if (!w) return;
    const bool blocked = w->blockSignals(true);
    w->setRange(b.Min, MaxPos(b));
    w->setPageStep(int(std::max<UINT>(b.Page, 1)));
    // While the user drags, the thumb stays under the pointer.
    if (!b.Tracking) {
        w->setValue(b.Pos);
        w->setSliderPosition(b.Pos);
    }
    w->blockSignals(blocked);
    w->setEnabled(b.Arrows != ESB_DISABLE_BOTH);
    if (Redraw)
        w->repaint();
    else
        w->update();
}

void TWindowExtras::LayoutBars(TWinControl* Control) {
    TWindowExtras* x = Find(Control);
    if (!x || !x->Frame) return;
    for (int bar = SB_HORZ; bar <= SB_VERT; ++bar) {
        TRect place;
        if (!BarPlace(Control, bar, place)) {
            if (QScrollBar* w = x->Bars[bar].Widget) w->hide();
            continue;
        }
        BarOf(Control, bar, true);
        if (!x->Bars[bar].Widget) {
            auto* w = new QScrollBar(bar == SB_HORZ ? Qt::Horizontal : Qt::Vertical, x->Frame);
            AttachBar(Control, bar, w);
        }
        QScrollBar* w = x->Bars[bar].Widget;
        w->setGeometry(place.Left, place.Top, place.Width(), place.Height());
        w->show();
        ApplyBar(Control, bar, false);
    }
}

// =============================================================================================
// The functions

int SetScrollInfo(HWND Wnd, int Bar, const SCROLLINFO& Info, bool Redraw) {
    TWinControl* c = FindControl(Wnd);
    TScrollBarState* b = BarOf(c, Bar, true);
    if (!b) return 0;
    bool changed = false;
    if (Info.fMask & SIF_PAGE) {
        changed |= b->Page != Info.nPage;
        b->Page = Info.nPage;
    }
    if (Info.fMask & SIF_POS) {
        changed |= b->Pos != Info.nPos;
        b->Pos = Info.nPos;
    }
    if (Info.fMask & SIF_RANGE) {
        int lo = Info.nMin, hi = Info.nMax;
        // An inverted or too wide range is no range.
        if (lo > hi || (long long)hi - lo >= 0x80000000LL) lo = hi = 0;
        changed |= b->Min != lo || b->Max != hi;
        b->Min = lo;
        b->Max = hi;
    }
    const long long span = (long long)b->Max - b->Min + 1;
    if ((long long)b->Page > span) b->Page = UINT(span);
    b->Pos = std::clamp(b->Pos, b->Min, MaxPos(*b));
    if (Info.fMask & (SIF_RANGE | SIF_PAGE | SIF_DISABLENOSCROLL) && (Info.fMask & SIF_ALL)) {
        if (!Scrollable(*b)) {
            if (Info.fMask & SIF_DISABLENOSCROLL)
                b->Arrows = ESB_DISABLE_BOTH;
            else if (Bar != SB_CTL && changed)
                ShowWindowBar(c, Bar, false);
        } else if (Info.fMask != SIF_PAGE) {
            b->Arrows = ESB_ENABLE_BOTH;
            if (Bar != SB_CTL && changed) ShowWindowBar(c, Bar, true);
        }
    }
    // Showing or hiding the bar may have sent WM_SIZE, whose handler may have set the bar again.
    if (FindControl(Wnd) != c) return 0;
    b = BarOf(c, Bar, true);
    TWindowExtras::ApplyBar(c, Bar, Redraw);
    return b->Pos;
}

bool GetScrollInfo(HWND Wnd, int Bar, SCROLLINFO& Info) {
    TScrollBarState* b = BarOf(FindControl(Wnd), Bar, false);
    if (!b) return false;
    if (Info.fMask & SIF_RANGE) {
        Info.nMin = b->Min;
        Info.nMax = b->Max;
    }
    if (Info.fMask & SIF_PAGE) Info.nPage = b->Page;
    if (Info.fMask & SIF_POS) Info.nPos = b->Pos;
    if (Info.fMask & SIF_TRACKPOS) Info.nTrackPos = b->Tracking ? b->TrackPos : b->Pos;
    return (Info.fMask & SIF_ALL) != 0;
}

int GetScrollPos(HWND Wnd, int Bar) {
    TScrollBarState* b = BarOf(FindControl(Wnd), Bar, false);
    return b ? b->Pos : 0;
}

int SetScrollPos(HWND Wnd, int Bar, int Pos, bool Redraw) {
    TScrollBarState* b = BarOf(FindControl(Wnd), Bar, true);
    if (!b) return 0;
    const int old = b->Pos;
    SCROLLINFO info;
    info.fMask = SIF_POS;
    info.nPos = Pos;
    SetScrollInfo(Wnd, Bar, info, Redraw);
    return old;
}

bool GetScrollRange(HWND Wnd, int Bar, int& MinPos, int& MaxPos) {
    TScrollBarState* b = BarOf(FindControl(Wnd), Bar, false);
    MinPos = b ? b->Min : 0;
    MaxPos = b ? b->Max : 0;
    return b != nullptr;
}

bool SetScrollRange(HWND Wnd, int Bar, int MinPos, int MaxPos, bool Redraw) {
    if (!BarOf(FindControl(Wnd), Bar, true)) return false;
    SCROLLINFO info;
    info.fMask = SIF_RANGE;
    info.nMin = MinPos;
    info.nMax = MaxPos;
    SetScrollInfo(Wnd, Bar, info, Redraw);
    return true;
}

bool ShowScrollBar(HWND Wnd, int Bar, bool Show) {
    TWinControl* c = FindControl(Wnd);
    if (!c) return false;
    if (Bar == SB_CTL) {
        if (!BarOf(c, SB_CTL, false)) return false;
        c->SetVisible(Show);
        return true;
    }
    if (Bar != SB_HORZ && Bar != SB_VERT && Bar != SB_BOTH) return false;
    const HWND h = c->Handle();
    for (int b : {SB_HORZ, SB_VERT}) {
        if (Bar != SB_BOTH && Bar != b) continue;
        BarOf(c, b, true);
        ShowWindowBar(c, b, Show);
        if (FindControl(h) != c) return false;
    }
    return true;
}

bool EnableScrollBar(HWND Wnd, UINT Bar, UINT Arrows) {
    TWinControl* c = FindControl(Wnd);
    if (!c) return false;
    bool changed = false;
    for (int b : {SB_HORZ, SB_VERT, SB_CTL}) {
        const bool named = int(Bar) == b || (Bar == UINT(SB_BOTH) && b != SB_CTL);
        if (!named) continue;
        TScrollBarState* s = BarOf(c, b, b != SB_CTL);
        if (!s) continue;
        changed |= s->Arrows != (Arrows & ESB_DISABLE_BOTH);
        s->Arrows = Arrows & ESB_DISABLE_BOTH;
        TWindowExtras::ApplyBar(c, b, true);
    }
    return changed;
}

// =============================================================================================
// Notifications of scroll-bar controls

// A message from a scroll-bar control goes back to it reflected (CN_ + the message); answers
// whether it did.
static bool ReflectToScrollBar(TWinControl* Self, TWMScroll& Message) {
    TWinControl* bar = FindControl(HWND(Message.ScrollBar));
    if (!bar || bar == Self) return false;
    Message.Result = bar->Perform(CN_BASE + Message.Msg, Message.WParam(), Message.LParam());
    return true;
}

void TWinControl::WMHScroll(TWMScroll& Message) {
    if (!ReflectToScrollBar(this, Message)) DefaultHandler(Message);
}

void TWinControl::WMVScroll(TWMScroll& Message) {
    if (!ReflectToScrollBar(this, Message)) DefaultHandler(Message);
}
