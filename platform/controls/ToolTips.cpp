// The platform's tool-tip control: CreateWindowEx for its class, its messages, the delays, the
// text request and the balloon it shows.
#include "ToolTips.h"

#include "Forms.h"

#include <QTimer>

#include <algorithm>
#include <set>

namespace {

// The platform's delays when none is set (milliseconds).
constexpr int DefaultInitial = 500;
constexpr int DefaultAutoPop = 5000;
constexpr int DefaultReshow = 100;
// The tip shows below the pointer, by the height of the standard arrow cursor.
constexpr int CursorHeightMargin = 20;
constexpr int Padding = 6;
constexpr int IconSize = 16;

std::set<TToolTipWindow*>& Windows() {
    static std::set<TToolTipWindow*> windows;
    return windows;
}

TColor IconColor(int Icon) {
    switch (Icon) {
        case TTI_INFO: return TColor(0xC07000);    // blue
        case TTI_WARNING: return TColor(0x00C0FF); // amber
        case TTI_ERROR: return TColor(0x0000D0);   // red
        default: return clNone;
    }
}

} // namespace

bool IsTipHidingMessage(UINT Msg) {
    switch (Msg) {
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK:
        case WM_RBUTTONDOWN:
        case WM_RBUTTONDBLCLK:
        case WM_MBUTTONDOWN:
        case WM_MBUTTONDBLCLK:
        case WM_KEYDOWN:
        case WM_SYSKEYDOWN: return true;
        default: return false;
    }
}

// =============================================================================================
// Creating and destroying windows by class name

HWND CreateWindowEx(DWORD, const String& ClassName, const String& WindowName, DWORD Style, int, int, int, int,
                    HWND Parent, void*, uintptr_t, void*) {
    if (ClassName.compare(TOOLTIPS_CLASS, Qt::CaseInsensitive) != 0) return 0;
    auto* w = new TToolTipWindow(Parent, Style);
    w->SetCaption(WindowName);
    return w->Handle();
}

bool DestroyWindow(HWND Wnd) {
    TToolTipWindow* w = FindToolTipWindow(Wnd);
    if (!w) return false;
    TObject::Free(w);
    return true;
}

int ToolTipWindowCount() {
    return int(Windows().size());
}

TToolTipWindow* FindToolTipWindow(HWND Wnd) {
    if (!Wnd) return nullptr;
    auto* w = dynamic_cast<TToolTipWindow*>(FindControl(Wnd));
    return w && Windows().count(w) ? w : nullptr;
}

// =============================================================================================
// TToolTipWindow

TToolTipWindow::TToolTipWindow(HWND Owner, DWORD Style)
    : TCustomControl(nullptr), FOwner(Owner), FTipStyle(Style), FTimer(new QTimer()) {
    Windows().insert(this);
    FTimer->setSingleShot(true);
    QObject::connect(FTimer, &QTimer::timeout, [this] { TimerTick(); });
    SetVisible(false);
    SetColor(clInfoBk);
    if (Screen) {
        SetFont(Screen->HintFont());
        Canvas()->SetFont(Screen->HintFont());
    }
}

TToolTipWindow::~TToolTipWindow() {
    Windows().erase(this);
    delete FTimer;
    FTimer = nullptr;
    // The subclassed windows get their own procedures back.
    for (auto& t : FTools) {
        if (!t->Control) continue;
        t->Control->WindowProc = t->OldProc;
        t->Control->RemoveFreeNotification(this);
    }
    FTools.clear();
}

void TToolTipWindow::CreateParams(TCreateParams& Params) {
    TCustomControl::CreateParams(Params);
    Params.Style = WS_POPUP;
    Params.ExStyle = WS_EX_TOOLWINDOW | WS_EX_TOPMOST;
    Params.WindowClassStyle |= CS_SAVEBITS;
    Params.WndParent = 0;
}

void TToolTipWindow::Notification(TComponent* AComponent, TOperation Operation) {
    TCustomControl::Notification(AComponent, Operation);
    if (Operation == opRemove) ForgetControl(AComponent);
}

void TToolTipWindow::Dispatch(TMessage& Message) {
    switch (Message.Msg) {
        case TTM_ADDTOOL:
            if (auto* ti = reinterpret_cast<const TOOLINFO*>(Message.LParam)) AddTool(*ti);
            Message.Result = Message.LParam != 0;
            return;
        case TTM_DELTOOL:
            if (auto* ti = reinterpret_cast<const TOOLINFO*>(Message.LParam)) DeleteTool(*ti);
            Message.Result = 0;
            return;
        case TTM_GETTOOLCOUNT: Message.Result = LRESULT(FTools.size()); return;
        case TTM_ACTIVATE:
            FActive = Message.WParam != 0;
            if (!FActive) Pop();
            Message.Result = 0;
            return;
        case TTM_SETTITLE: {
            const int icon = int(Message.WParam);
            FIcon = icon >= TTI_NONE && icon <= TTI_ERROR ? icon : TTI_NONE;
            const auto* text = reinterpret_cast<const Char*>(Message.LParam);
            FTitle = text ? String(text) : String();
            if (TipShowing()) Invalidate();
            Message.Result = 1;
            return;
        }
        case TTM_SETDELAYTIME: {
            const int ms = int(Message.LParam);
            const int v = ms < 0 ? -1 : ms;
            switch (Message.WParam) {
                case TTDT_AUTOMATIC:
                    FDelays[TTDT_INITIAL] = v;
                    FDelays[TTDT_AUTOPOP] = v < 0 ? -1 : v * 10;
                    FDelays[TTDT_RESHOW] = v < 0 ? -1 : v / 5;
                    break;
                case TTDT_RESHOW:
                case TTDT_AUTOPOP:
                case TTDT_INITIAL: FDelays[Message.WParam] = v; break;
                default: break;
            }
            Message.Result = 0;
            return;
        }
        case TTM_GETDELAYTIME: Message.Result = Delay(Message.WParam); return;
        case TTM_SETMAXTIPWIDTH:
            Message.Result = FMaxWidth;
            FMaxWidth = int(Message.LParam);
            return;
        case TTM_GETMAXTIPWIDTH: Message.Result = FMaxWidth; return;
        case TTM_SETTIPBKCOLOR:
            FBkColor = TColor(Message.WParam);
            if (TipShowing()) Invalidate();
            Message.Result = 0;
            return;
        case TTM_SETTIPTEXTCOLOR:
            FTextColor = TColor(Message.WParam);
            if (TipShowing()) Invalidate();
            Message.Result = 0;
            return;
        case TTM_GETTIPBKCOLOR: Message.Result = LRESULT(FBkColor); return;
        case TTM_GETTIPTEXTCOLOR: Message.Result = LRESULT(FTextColor); return;
        case TTM_POP:
            // Takes a shown tip away; a tip still waiting for its delay keeps waiting.
            if (HandleAllocated() && Showing()) Pop();
            Message.Result = 0;
            return;
        default: TCustomControl::Dispatch(Message); return;
    }
}

int TToolTipWindow::Delay(WPARAM Which) const {
    switch (Which) {
        case TTDT_RESHOW: return FDelays[TTDT_RESHOW] >= 0 ? FDelays[TTDT_RESHOW] : DefaultReshow;
        case TTDT_AUTOPOP: return FDelays[TTDT_AUTOPOP] >= 0 ? FDelays[TTDT_AUTOPOP] : DefaultAutoPop;
        case TTDT_INITIAL: return FDelays[TTDT_INITIAL] >= 0 ? FDelays[TTDT_INITIAL] : DefaultInitial;
        default: return 0;
    }
}

void TToolTipWindow::AddTool(const TOOLINFO& Info) {
    auto tool = std::make_unique<TTool>();
    tool->Info = Info;
    if (Info.lpszText && Info.lpszText != LPSTR_TEXTCALLBACK) tool->Text = String(Info.lpszText);
    const HWND toolWnd = (Info.uFlags & TTF_IDISHWND) ? HWND(Info.uId) : Info.hwnd;
    TTool* t = tool.get();
    if (Info.uFlags & TTF_SUBCLASS) {
        if (TWinControl* c = FindControl(toolWnd)) {
            t->Control = c;
            t->OldProc = c->WindowProc;
            c->FreeNotification(this);
            c->WindowProc = [this, t](TMessage& M) {
                TWndMethod old = t->OldProc; // the tool may go while its message is handled
                ToolMessage(*t, M);
                if (old) old(M);
            };
        }
    }
    FTools.push_back(std::move(tool));
}

void TToolTipWindow::DeleteTool(const TOOLINFO& Info) {
    for (auto it = FTools.begin(); it != FTools.end(); ++it) {
        TTool& t = **it;
        if (t.Info.hwnd != Info.hwnd || t.Info.uId != Info.uId) continue;
        if (FPending == &t) {
            Pop();
            FPending = nullptr;
        }
        if (t.Control) {
            t.Control->WindowProc = t.OldProc;
            t.Control->RemoveFreeNotification(this);
        }
        FTools.erase(it);
        return;
    }
}

void TToolTipWindow::ForgetControl(TComponent* Control) {
    for (auto it = FTools.begin(); it != FTools.end();) {
        // Compared as components: a control that goes is no window any more when it says so.
        if (static_cast<TComponent*>((*it)->Control) != Control) {
            ++it;
            continue;
        }
        if (FPending == it->get()) {
            Pop();
            FPending = nullptr;
        }
        it = FTools.erase(it);
    }
}

TToolTipWindow::TTool* TToolTipWindow::ToolAt(const TPoint& ScreenPos) {
    for (auto& t : FTools) {
        const HWND wnd = (t->Info.uFlags & TTF_IDISHWND) ? HWND(t->Info.uId) : t->Info.hwnd;
        TWinControl* c = FindControl(wnd);
        if (!c) continue;
        const TPoint p = c->ScreenToClient(ScreenPos);
        const TRect r = (t->Info.uFlags & TTF_IDISHWND) ? c->ClientRect() : t->Info.rect;
        if (r.Contains(p)) return t.get();
    }
    return nullptr;
}

void TToolTipWindow::ToolMessage(TTool& Tool, TMessage& Message) {
    if (IsTipHidingMessage(Message.Msg)) {
        Pop();
        return;
    }
    if (Message.Msg == CM_MOUSELEAVE || Message.Msg == WM_MOUSELEAVE) {
        Pop();
        FPending = nullptr;
        FRecentlyShown = false;
        return;
    }
    if (Message.Msg != WM_MOUSEMOVE || !FActive) return;
    // A tip showing for this tool stays until it pops, the pointer leaves or a press hides it.
    if (TipShowing() && FPending == &Tool) return;
    if (FMode == tmShow && FPending == &Tool) return;
    Pop();
    FPending = &Tool;
    StartTimer(FRecentlyShown ? Delay(TTDT_RESHOW) : Delay(TTDT_INITIAL), tmShow);
}

void TToolTipWindow::StartTimer(int Ms, TTimerMode Mode) {
    FMode = Mode;
    FInterval = std::max(0, Ms);
    if (FTimer) FTimer->start(FInterval);
}

void TToolTipWindow::StopTimer() {
    if (FTimer) FTimer->stop();
    FMode = tmNone;
    FInterval = 0;
}

void TToolTipWindow::TimerTick() {
    const TTimerMode m = FMode;
    StopTimer();
    if (m == tmShow) {
        TPoint p;
        GetCursorPos(p);
        ShowTip(p);
    } else if (m == tmPop) {
        Pop();
    }
}

bool TToolTipWindow::TipShowing() const {
    return const_cast<TToolTipWindow*>(this)->HandleAllocated() && Showing();
}

void TToolTipWindow::ShowTip(const TPoint& ScreenPos) {
    StopTimer();
    if (!FActive) return;
    TTool* tool = FPending ? FPending : ToolAt(ScreenPos);
    if (!tool) return;
    FPending = tool;
    String text = tool->Text;
    if (tool->Info.lpszText == LPSTR_TEXTCALLBACK) {
        NMTTDISPINFO di;
        di.hdr.hwndFrom = Handle();
        di.hdr.idFrom = tool->Info.uId;
        di.hdr.code = TTN_GETDISPINFO;
        di.lParam = tool->Info.lParam;
        SendMessage(tool->Info.hwnd, WM_NOTIFY, WPARAM(tool->Info.uId), LPARAM(&di));
        // The tool's window may have gone with this tool-tip while it answered.
        if (!Windows().count(this) || FPending != tool) return;
        text = di.Text;
    }
    FText = text;
    if (FText.isEmpty()) {
        Pop();
        return;
    }
    TRect titleRect, textRect;
    const TRect size = Layout(Canvas(), titleRect, textRect);
    TRect r = Bounds(ScreenPos.X, ScreenPos.Y + CursorHeightMargin, size.Width(), size.Height());
    if (Screen) {
        const TRect work = Screen->MonitorWorkAreaRect(ScreenPos);
        if (r.Right > work.Right) r = Bounds(work.Right - r.Width(), r.Top, r.Width(), r.Height());
        if (r.Left < work.Left) r = Bounds(work.Left, r.Top, r.Width(), r.Height());
        // No room below the pointer: above it.
        if (r.Bottom > work.Bottom) r = Bounds(r.Left, ScreenPos.Y - r.Height(), r.Width(), r.Height());
    }
    SetBounds(r.Left, r.Top, r.Width(), r.Height());
    SetWindowPos(Handle(), HWND_TOPMOST, r.Left, r.Top, r.Width(), r.Height(),
                 SWP_SHOWWINDOW | SWP_NOACTIVATE);
    Invalidate();
    FRecentlyShown = true;
    StartTimer(Delay(TTDT_AUTOPOP), tmPop);
}

void TToolTipWindow::Pop() {
    if (FMode != tmNone) StopTimer();
    if (HandleAllocated() && Showing()) ShowWindow(Handle(), SW_HIDE);
}

TRect TToolTipWindow::Layout(TCanvas* C, TRect& TitleRect, TRect& TextRect) {
    const int maxWidth = FMaxWidth > 0 ? FMaxWidth : (Screen ? Screen->Width() : 1024);
    const Cardinal prefix = (FTipStyle & TTS_NOPREFIX) ? DT_NOPREFIX : 0;
    C->SetFont(Font());
    TextRect = TRect(0, 0, maxWidth, 0);
    DrawText(C, FText, TextRect, DT_CALCRECT | DT_LEFT | DT_WORDBREAK | prefix);
    TitleRect = TRect();
    if (!FTitle.isEmpty() || FIcon != TTI_NONE) {
        TFontStyles st = C->Font()->Style();
        st.insert(fsBold);
        C->Font()->SetStyle(st);
        TitleRect = TRect(0, 0, maxWidth, 0);
        DrawText(C, FTitle.isEmpty() ? String(" ") : FTitle, TitleRect,
                 DT_CALCRECT | DT_LEFT | DT_SINGLELINE | DT_NOPREFIX);
        if (FIcon != TTI_NONE) {
            TitleRect.Right += IconSize + 4;
            TitleRect.Bottom = std::max(TitleRect.Bottom, IconSize);
        }
        C->SetFont(Font());
    }
    const int titleHeight = TitleRect.Height() > 0 ? TitleRect.Height() + 4 : 0;
    TitleRect = Bounds(Padding, Padding, TitleRect.Width(), TitleRect.Height());
    TextRect = Bounds(Padding, Padding + titleHeight, TextRect.Width(), TextRect.Height());
    const int w = std::max(TitleRect.Width(), TextRect.Width()) + 2 * Padding;
    const int h = titleHeight + TextRect.Height() + 2 * Padding;
    return TRect(0, 0, w, h);
}

void TToolTipWindow::Paint() {
    TCanvas* c = Canvas();
    TRect titleRect, textRect;
    Layout(c, titleRect, textRect);
    const TRect r = ClientRect();
    c->Brush()->SetStyle(bsSolid);
    c->Brush()->SetColor(FBkColor);
    c->Pen()->SetStyle(psSolid);
    c->Pen()->SetColor(clInfoText);
    if (FTipStyle & TTS_BALLOON)
        c->RoundRect(r.Left, r.Top, r.Right, r.Bottom, 8, 8);
    else
        c->Rectangle(r);
    c->Brush()->SetStyle(bsClear);
    c->Font()->Assign(Font());
    c->Font()->SetColor(FTextColor);
    if (titleRect.Height() > 0) {
        int x = titleRect.Left;
        if (FIcon != TTI_NONE) {
            c->Brush()->SetStyle(bsSolid);
            c->Brush()->SetColor(IconColor(FIcon));
            c->Pen()->SetColor(IconColor(FIcon));
            c->Ellipse(x, titleRect.Top, x + IconSize, titleRect.Top + IconSize);
            c->Brush()->SetStyle(bsClear);
            x += IconSize + 4;
        }
        TFontStyles st = c->Font()->Style();
        st.insert(fsBold);
        c->Font()->SetStyle(st);
        TRect tr(x, titleRect.Top, titleRect.Right, titleRect.Bottom);
        DrawText(c, FTitle, tr, DT_LEFT | DT_SINGLELINE | DT_NOPREFIX);
        c->Font()->Assign(Font());
        c->Font()->SetColor(FTextColor);
    }
    const Cardinal prefix = (FTipStyle & TTS_NOPREFIX) ? DT_NOPREFIX : 0;
    DrawText(c, FText, textRect, DT_LEFT | DT_WORDBREAK | prefix);
}
