// Tool-tip windows: the platform's tool-tip control (window class "Tooltips_Class32"), made with
// CreateWindowEx and driven by its messages, as the grid's balloon tips use it.
//
// A tool-tip window is a top-level window, topmost, never activated, shown only by itself. A tool
// is a window registered with TTM_ADDTOOL; with TTF_SUBCLASS the tool-tip watches that window's
// messages (it chains itself into the control's WindowProc). When the pointer rests over a tool
// for the initial delay, the tool-tip asks the tool's window for its text with WM_NOTIFY
// (TTN_GETDISPINFO; a tool registered with a text of its own needs no asking) and shows the
// text, under the title and its icon, below the pointer, for the auto-pop delay; a press, a key,
// leaving the tool or TTM_POP hide it (TTM_POP leaves a tip that is still waiting to show waiting). Once a
// tip showed, moving to the tool again waits only the reshow delay. Tests drive the delays through TimerTick.
#pragma once

#include "Controls.h"

#include <memory>
#include <vector>

// The class name CreateWindowEx knows.
inline const String TOOLTIPS_CLASS = QStringLiteral("Tooltips_Class32");

// Window styles of the tool-tip class.
constexpr DWORD TTS_ALWAYSTIP = 0x01;
constexpr DWORD TTS_NOPREFIX = 0x02;
constexpr DWORD TTS_BALLOON = 0x40;

// Tool flags.
constexpr UINT TTF_IDISHWND = 0x0001;
constexpr UINT TTF_SUBCLASS = 0x0010;

// Messages of the tool-tip window.
constexpr UINT TTM_ACTIVATE = WM_USER + 1;
constexpr UINT TTM_SETDELAYTIME = WM_USER + 3;
constexpr UINT TTM_GETTOOLCOUNT = WM_USER + 13;
constexpr UINT TTM_SETTIPBKCOLOR = WM_USER + 19;
constexpr UINT TTM_SETTIPTEXTCOLOR = WM_USER + 20;
constexpr UINT TTM_GETDELAYTIME = WM_USER + 21;
constexpr UINT TTM_GETTIPBKCOLOR = WM_USER + 22;
constexpr UINT TTM_GETTIPTEXTCOLOR = WM_USER + 23;
constexpr UINT TTM_SETMAXTIPWIDTH = WM_USER + 24;
constexpr UINT TTM_GETMAXTIPWIDTH = WM_USER + 25;
constexpr UINT TTM_POP = WM_USER + 28;
constexpr UINT TTM_SETTITLE = WM_USER + 33;
constexpr UINT TTM_ADDTOOL = WM_USER + 50;
constexpr UINT TTM_DELTOOL = WM_USER + 51;

// TTM_SETDELAYTIME / TTM_GETDELAYTIME: which delay (WParam); the milliseconds in LParam (-1: the
// platform's default).
constexpr WPARAM TTDT_AUTOMATIC = 0;
constexpr WPARAM TTDT_RESHOW = 1;
constexpr WPARAM TTDT_AUTOPOP = 2;
constexpr WPARAM TTDT_INITIAL = 3;

// Title icons (TTM_SETTITLE's WParam); a number outside 0..3 shows none.
constexpr int TTI_NONE = 0;
constexpr int TTI_INFO = 1;
constexpr int TTI_WARNING = 2;
constexpr int TTI_ERROR = 3;

// The text request, sent to the tool's window (WM_NOTIFY, LParam the NMTTDISPINFO).
constexpr int TTN_GETDISPINFO = -530;
// A tip shows, a tip hides (WM_NOTIFY to the tool's window).
constexpr int TTN_SHOW = -521;
constexpr int TTN_POP = -522;

// A tool's text that is asked for when needed.
inline const Char* const LPSTR_TEXTCALLBACK = reinterpret_cast<const Char*>(-1);

// TTM_ADDTOOL's record (LParam). With TTF_IDISHWND uId is the tool's window handle and the tool
// is the whole window; otherwise rect (client coordinates of hwnd) is the tool. lpszText is a
// text ending in a zero, or LPSTR_TEXTCALLBACK.
struct TOOLINFO {
    UINT cbSize = sizeof(TOOLINFO);
    UINT uFlags = 0;
    HWND hwnd = 0;
    UINT_PTR uId = 0;
    TRect rect;
    const Char* lpszText = nullptr;
    LPARAM lParam = 0;
};

// The text request: the tool's window writes the text (and may change the tool-tip through its
// messages meanwhile, such as TTM_SETTITLE and the colours, which then apply to this tip).
struct NMTTDISPINFO {
    NMHDR hdr;
    String Text;
    UINT uFlags = 0;
    LPARAM lParam = 0;
};

// Makes a window of a class the platform knows by name: only TOOLTIPS_CLASS here (0 for any
// other). The window is top-level; Parent is its owner. X, Y, Width, Height as CW_USEDEFAULT
// leave them to the window.
constexpr int CW_USEDEFAULT = int(0x80000000);
HWND CreateWindowEx(DWORD ExStyle, const String& ClassName, const String& WindowName, DWORD Style, int X,
                    int Y, int Width, int Height, HWND Parent, void* Menu, uintptr_t Instance, void* Param);
// Destroys a window CreateWindowEx made (false for any other handle: those belong to their
// controls).
bool DestroyWindow(HWND Wnd);

// The tool-tip window itself.
class TToolTipWindow : public TCustomControl {
public:
    explicit TToolTipWindow(HWND Owner, DWORD Style);
    ~TToolTipWindow() override;

    void Dispatch(TMessage& Message) override;

    // Shows a tip for the tool at a screen point now (the text asked for as after the delay).
    void ShowTip(const TPoint& ScreenPos);
    void Pop();
    bool TipShowing() const;
    String TipTitle() const { return FTitle; }
    int TipIcon() const { return FIcon; }
    String TipText() const { return FText; }
    int Delay(WPARAM Which) const;
    HWND OwnerWindow() const { return FOwner; }

    // ---- Tests: the delays without waiting ----
    enum TTimerMode { tmNone, tmShow, tmPop };
    TTimerMode TimerMode() const { return FMode; }
    int TimerInterval() const { return FInterval; }
    // Fires the pending delay now (nothing when none runs).
    void TimerTick();

protected:
    void CreateParams(TCreateParams& Params) override;
    void Paint() override;
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    struct TTool {
        TOOLINFO Info;
        String Text; // the tool's own text when not asked for
        TWinControl* Control = nullptr;
        TWndMethod OldProc;
    };
    void AddTool(const TOOLINFO& Info);
    void DeleteTool(const TOOLINFO& Info);
    void ForgetControl(TComponent* Control);
    // The subclassed window's messages, before its own procedure.
    void ToolMessage(TTool& Tool, TMessage& Message);
    void StartTimer(int Ms, TTimerMode Mode);
    void StopTimer();
    TTool* ToolAt(const TPoint& ScreenPos);
    // The text lines laid out within the maximum width, and the tip's size.
    TRect Layout(TCanvas* C, TRect& TitleRect, TRect& TextRect);

    HWND FOwner;
    DWORD FTipStyle;
    std::vector<std::unique_ptr<TTool>> FTools;
    bool FActive = true;
    int FDelays[4] = {-1, -1, -1, -1};
    int FMaxWidth = -1;
    TColor FTextColor = clInfoText;
    TColor FBkColor = clInfoBk;
    String FTitle;
    int FIcon = TTI_NONE;
    String FText;
    TTool* FPending = nullptr;   // the tool the running delay belongs to
    bool FRecentlyShown = false; // a tip showed and the pointer stayed on tools since
    TTimerMode FMode = tmNone;
    int FInterval = 0;
    class QTimer* FTimer;
};

// A press of a mouse button or a key: what hides a showing hint or tip.
bool IsTipHidingMessage(UINT Msg);

// The tool-tip windows that exist (for checks that one is made once).
int ToolTipWindowCount();
// The tool-tip window of a handle, nullptr for any other.
TToolTipWindow* FindToolTipWindow(HWND Wnd);
