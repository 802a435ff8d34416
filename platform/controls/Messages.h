// Window messages of the class library: numbers, the message record and its typed views, key
// codes, dialog codes, window styles, and the functions that send and post messages to windows.
//
// A window handle (HWND) is the id of one of our windowed controls in a process-wide registry;
// ids are never reused, so a message posted to a window that has been destroyed is dropped.
#pragma once

#include "System.h"
#include "Types.h"

#include <cstdint>
#include <type_traits>

using UINT = Cardinal;
using DWORD = Cardinal;
using LONG = Integer;
using SmallInt = int16_t;
using HWND = uintptr_t;
using UINT_PTR = uintptr_t;

class TCanvas;
class TWinControl;
class TControl;

// ---------------------------------------------------------------------------------------------
// Window messages

constexpr UINT WM_NULL = 0x0000;
constexpr UINT WM_CREATE = 0x0001;
constexpr UINT WM_DESTROY = 0x0002;
constexpr UINT WM_MOVE = 0x0003;
constexpr UINT WM_SIZE = 0x0005;
constexpr UINT WM_ACTIVATE = 0x0006;
constexpr UINT WM_SETFOCUS = 0x0007;
constexpr UINT WM_KILLFOCUS = 0x0008;
constexpr UINT WM_ENABLE = 0x000A;
constexpr UINT WM_SETREDRAW = 0x000B;
constexpr UINT WM_SETTEXT = 0x000C;
constexpr UINT WM_GETTEXT = 0x000D;
constexpr UINT WM_GETTEXTLENGTH = 0x000E;
constexpr UINT WM_PAINT = 0x000F;
constexpr UINT WM_CLOSE = 0x0010;
constexpr UINT WM_QUIT = 0x0012;
constexpr UINT WM_ERASEBKGND = 0x0014;
constexpr UINT WM_SYSCOLORCHANGE = 0x0015;
constexpr UINT WM_SHOWWINDOW = 0x0018;
constexpr UINT WM_SETTINGCHANGE = 0x001A;
constexpr UINT WM_CANCELMODE = 0x001F;
constexpr UINT WM_SETCURSOR = 0x0020;
constexpr UINT WM_MOUSEACTIVATE = 0x0021;
constexpr UINT WM_SETFONT = 0x0030;
constexpr UINT WM_GETFONT = 0x0031;
constexpr UINT WM_WINDOWPOSCHANGING = 0x0046;
constexpr UINT WM_WINDOWPOSCHANGED = 0x0047;
constexpr UINT WM_NOTIFY = 0x004E;
constexpr UINT WM_CONTEXTMENU = 0x007B;
constexpr UINT WM_NCHITTEST = 0x0084;
constexpr UINT WM_NCPAINT = 0x0085;
constexpr UINT WM_NCACTIVATE = 0x0086;
constexpr UINT WM_GETDLGCODE = 0x0087;
constexpr UINT WM_KEYFIRST = 0x0100;
constexpr UINT WM_KEYDOWN = 0x0100;
constexpr UINT WM_KEYUP = 0x0101;
constexpr UINT WM_CHAR = 0x0102;
constexpr UINT WM_DEADCHAR = 0x0103;
constexpr UINT WM_SYSKEYDOWN = 0x0104;
constexpr UINT WM_SYSKEYUP = 0x0105;
constexpr UINT WM_SYSCHAR = 0x0106;
constexpr UINT WM_SYSDEADCHAR = 0x0107;
constexpr UINT WM_KEYLAST = 0x0108;
constexpr UINT WM_COMMAND = 0x0111;
constexpr UINT WM_SYSCOMMAND = 0x0112;
constexpr UINT WM_TIMER = 0x0113;
constexpr UINT WM_HSCROLL = 0x0114;
constexpr UINT WM_VSCROLL = 0x0115;
constexpr UINT WM_DRAWITEM = 0x002B;
constexpr UINT WM_MEASUREITEM = 0x002C;
constexpr UINT WM_COMPAREITEM = 0x0039;
constexpr UINT WM_CHARTOITEM = 0x002F;
constexpr UINT WM_CTLCOLOREDIT = 0x0133;
constexpr UINT WM_CTLCOLORLISTBOX = 0x0134;
constexpr UINT WM_CTLCOLORSTATIC = 0x0138;
constexpr UINT WM_MOUSEFIRST = 0x0200;
constexpr UINT WM_MOUSEMOVE = 0x0200;
constexpr UINT WM_LBUTTONDOWN = 0x0201;
constexpr UINT WM_LBUTTONUP = 0x0202;
constexpr UINT WM_LBUTTONDBLCLK = 0x0203;
constexpr UINT WM_RBUTTONDOWN = 0x0204;
constexpr UINT WM_RBUTTONUP = 0x0205;
constexpr UINT WM_RBUTTONDBLCLK = 0x0206;
constexpr UINT WM_MBUTTONDOWN = 0x0207;
constexpr UINT WM_MBUTTONUP = 0x0208;
constexpr UINT WM_MBUTTONDBLCLK = 0x0209;
constexpr UINT WM_MOUSEWHEEL = 0x020A; // 522
constexpr UINT WM_MOUSEHWHEEL = 0x020E;
constexpr UINT WM_MOUSELAST = 0x020E;
// Sent while the user drags a window edge or the size grip.
constexpr UINT WM_SIZING = 0x0214;
constexpr UINT WM_CAPTURECHANGED = 0x0215;
constexpr UINT WM_MOUSEHOVER = 0x02A1;
constexpr UINT WM_MOUSELEAVE = 0x02A3;
constexpr UINT WM_CUT = 0x0300;
constexpr UINT WM_COPY = 0x0301;
constexpr UINT WM_PASTE = 0x0302;
constexpr UINT WM_CLEAR = 0x0303;
constexpr UINT WM_UNDO = 0x0304;
constexpr UINT WM_THEMECHANGED = 0x031A; // 794
constexpr UINT WM_USER = 0x0400;
constexpr UINT WM_APP = 0x8000;

// ---------------------------------------------------------------------------------------------
// Messages of the class library's controls

constexpr UINT CM_BASE = 0xB000;
constexpr UINT CM_ACTIVATE = CM_BASE + 0;
constexpr UINT CM_DEACTIVATE = CM_BASE + 1;
constexpr UINT CM_GOTFOCUS = CM_BASE + 2;
constexpr UINT CM_LOSTFOCUS = CM_BASE + 3;
constexpr UINT CM_CANCELMODE = CM_BASE + 4;
constexpr UINT CM_DIALOGKEY = CM_BASE + 5;
constexpr UINT CM_DIALOGCHAR = CM_BASE + 6;
constexpr UINT CM_FOCUSCHANGED = CM_BASE + 7;
constexpr UINT CM_PARENTFONTCHANGED = CM_BASE + 8;
constexpr UINT CM_PARENTCOLORCHANGED = CM_BASE + 9;
constexpr UINT CM_HITTEST = CM_BASE + 10;
constexpr UINT CM_VISIBLECHANGED = CM_BASE + 11;
constexpr UINT CM_ENABLEDCHANGED = CM_BASE + 12;
constexpr UINT CM_COLORCHANGED = CM_BASE + 13;
constexpr UINT CM_FONTCHANGED = CM_BASE + 14;
constexpr UINT CM_CURSORCHANGED = CM_BASE + 15;
constexpr UINT CM_CTL3DCHANGED = CM_BASE + 16;
constexpr UINT CM_PARENTCTL3DCHANGED = CM_BASE + 17;
constexpr UINT CM_TEXTCHANGED = CM_BASE + 18;
constexpr UINT CM_MOUSEENTER = CM_BASE + 19;
constexpr UINT CM_MOUSELEAVE = CM_BASE + 20;
constexpr UINT CM_MENUCHANGED = CM_BASE + 21;
constexpr UINT CM_APPKEYDOWN = CM_BASE + 22;
constexpr UINT CM_APPSYSCOMMAND = CM_BASE + 23;
constexpr UINT CM_BUTTONPRESSED = CM_BASE + 24;
constexpr UINT CM_SHOWINGCHANGED = CM_BASE + 25;
constexpr UINT CM_ENTER = CM_BASE + 26;
constexpr UINT CM_EXIT = CM_BASE + 27;
constexpr UINT CM_DESIGNHITTEST = CM_BASE + 28;
constexpr UINT CM_ICONCHANGED = CM_BASE + 29;
constexpr UINT CM_WANTSPECIALKEY = CM_BASE + 30;
constexpr UINT CM_INVOKEHELP = CM_BASE + 31;
constexpr UINT CM_WINDOWHOOK = CM_BASE + 32;
constexpr UINT CM_RELEASE = CM_BASE + 33;
constexpr UINT CM_SHOWHINTCHANGED = CM_BASE + 34;
constexpr UINT CM_PARENTSHOWHINTCHANGED = CM_BASE + 35;
constexpr UINT CM_SYSCOLORCHANGE = CM_BASE + 36;
constexpr UINT CM_WININICHANGE = CM_BASE + 37;
constexpr UINT CM_FONTCHANGE = CM_BASE + 38;
constexpr UINT CM_TIMECHANGE = CM_BASE + 39;
constexpr UINT CM_TABSTOPCHANGED = CM_BASE + 40;
constexpr UINT CM_UIACTIVATE = CM_BASE + 41;
constexpr UINT CM_UIDEACTIVATE = CM_BASE + 42;
constexpr UINT CM_DOCWINDOWACTIVATE = CM_BASE + 43;
constexpr UINT CM_CONTROLLISTCHANGE = CM_BASE + 44;
constexpr UINT CM_GETDATALINK = CM_BASE + 45;
constexpr UINT CM_CHILDKEY = CM_BASE + 46;
constexpr UINT CM_DRAG = CM_BASE + 47;
constexpr UINT CM_HINTSHOW = CM_BASE + 48;
constexpr UINT CM_DIALOGHANDLE = CM_BASE + 49;
constexpr UINT CM_ISTOOLCONTROL = CM_BASE + 50;
constexpr UINT CM_RECREATEWND = CM_BASE + 51;
constexpr UINT CM_INVALIDATE = CM_BASE + 52;
constexpr UINT CM_SYSFONTCHANGED = CM_BASE + 53; // 0xB035
constexpr UINT CM_CONTROLCHANGE = CM_BASE + 54;
constexpr UINT CM_CHANGED = CM_BASE + 55;
constexpr UINT CM_DOCKCLIENT = CM_BASE + 56;
constexpr UINT CM_UNDOCKCLIENT = CM_BASE + 57;
constexpr UINT CM_FLOAT = CM_BASE + 58;
constexpr UINT CM_BORDERCHANGED = CM_BASE + 59;
constexpr UINT CM_BIDIMODECHANGED = CM_BASE + 60;
constexpr UINT CM_PARENTBIDIMODECHANGED = CM_BASE + 61;
constexpr UINT CM_ALLCHILDRENFLIPPED = CM_BASE + 62;
constexpr UINT CM_ACTIONUPDATE = CM_BASE + 63;
constexpr UINT CM_ACTIONEXECUTE = CM_BASE + 64;
constexpr UINT CM_HINTSHOWPAUSE = CM_BASE + 65;
constexpr UINT CM_DOCKNOTIFICATION = CM_BASE + 66;
constexpr UINT CM_MOUSEWHEEL = CM_BASE + 67;
constexpr UINT CM_ISSHORTCUT = CM_BASE + 68;
constexpr UINT CM_STYLECHANGED = CM_BASE + 87;

// Notifications reflected back to the control that caused them.
constexpr UINT CN_BASE = 0xBC00;
constexpr UINT CN_CHARTOITEM = CN_BASE + WM_CHARTOITEM;
constexpr UINT CN_COMMAND = CN_BASE + WM_COMMAND;
constexpr UINT CN_COMPAREITEM = CN_BASE + WM_COMPAREITEM;
constexpr UINT CN_CTLCOLOREDIT = CN_BASE + WM_CTLCOLOREDIT;
constexpr UINT CN_CTLCOLORLISTBOX = CN_BASE + WM_CTLCOLORLISTBOX;
constexpr UINT CN_CTLCOLORSTATIC = CN_BASE + WM_CTLCOLORSTATIC;
constexpr UINT CN_DRAWITEM = CN_BASE + WM_DRAWITEM;
constexpr UINT CN_HSCROLL = CN_BASE + WM_HSCROLL;
constexpr UINT CN_MEASUREITEM = CN_BASE + WM_MEASUREITEM;
constexpr UINT CN_NOTIFY = CN_BASE + WM_NOTIFY;
constexpr UINT CN_VSCROLL = CN_BASE + WM_VSCROLL;
constexpr UINT CN_KEYDOWN = CN_BASE + WM_KEYDOWN;
constexpr UINT CN_KEYUP = CN_BASE + WM_KEYUP;
constexpr UINT CN_CHAR = CN_BASE + WM_CHAR;
constexpr UINT CN_SYSKEYDOWN = CN_BASE + WM_SYSKEYDOWN;
constexpr UINT CN_SYSCHAR = CN_BASE + WM_SYSCHAR;

// First id handed out by RegisterWindowMessage.
constexpr UINT REGISTERED_MESSAGE_BASE = 0xC000;

// ---------------------------------------------------------------------------------------------
// Dialog codes (answers to WM_GETDLGCODE)

constexpr LRESULT DLGC_WANTARROWS = 0x0001;
constexpr LRESULT DLGC_WANTTAB = 0x0002;
constexpr LRESULT DLGC_WANTALLKEYS = 0x0004;
constexpr LRESULT DLGC_WANTMESSAGE = 0x0004;
constexpr LRESULT DLGC_HASSETSEL = 0x0008;
constexpr LRESULT DLGC_DEFPUSHBUTTON = 0x0010;
constexpr LRESULT DLGC_UNDEFPUSHBUTTON = 0x0020;
constexpr LRESULT DLGC_RADIOBUTTON = 0x0040;
constexpr LRESULT DLGC_WANTCHARS = 0x0080;
constexpr LRESULT DLGC_STATIC = 0x0100;
constexpr LRESULT DLGC_BUTTON = 0x2000;

// Mouse key flags (WParam of mouse messages).
constexpr WPARAM MK_LBUTTON = 0x0001;
constexpr WPARAM MK_RBUTTON = 0x0002;
constexpr WPARAM MK_SHIFT = 0x0004;
constexpr WPARAM MK_CONTROL = 0x0008;
constexpr WPARAM MK_MBUTTON = 0x0010;
constexpr WPARAM MK_ALT = 0x0020; // the class library's own flag for Alt

// Wheel: one notch.
constexpr int WHEEL_DELTA = 120;

// Answers to WM_MOUSEACTIVATE.
constexpr LRESULT MA_ACTIVATE = 1;
constexpr LRESULT MA_ACTIVATEANDEAT = 2;
constexpr LRESULT MA_NOACTIVATE = 3;
constexpr LRESULT MA_NOACTIVATEANDEAT = 4;

// Hit-test codes.
constexpr LRESULT HTNOWHERE = 0;
constexpr LRESULT HTCLIENT = 1;
constexpr LRESULT HTTRANSPARENT = -1;
constexpr LRESULT HTERROR = -2;
constexpr LRESULT HTGROWBOX = 4;
constexpr LRESULT HTHSCROLL = 6;
constexpr LRESULT HTVSCROLL = 7;
constexpr LRESULT HTBORDER = 18;
constexpr LRESULT HTBOTTOMRIGHT = 17;

// Scroll codes and bars.
constexpr int SB_LINEUP = 0;
constexpr int SB_LINELEFT = 0;
constexpr int SB_LINEDOWN = 1;
constexpr int SB_LINERIGHT = 1;
constexpr int SB_PAGEUP = 2;
constexpr int SB_PAGELEFT = 2;
constexpr int SB_PAGEDOWN = 3;
constexpr int SB_PAGERIGHT = 3;
constexpr int SB_THUMBPOSITION = 4;
constexpr int SB_THUMBTRACK = 5;
constexpr int SB_TOP = 6;
constexpr int SB_LEFT = 6;
constexpr int SB_BOTTOM = 7;
constexpr int SB_RIGHT = 7;
constexpr int SB_ENDSCROLL = 8;
constexpr int SB_HORZ = 0;
constexpr int SB_VERT = 1;
constexpr int SB_CTL = 2;
constexpr int SB_BOTH = 3;

// Notification codes of standard controls.
constexpr Word EN_SETFOCUS = 0x0100;
constexpr Word EN_KILLFOCUS = 0x0200;
constexpr Word EN_CHANGE = 0x0300; // 768
constexpr Word EN_UPDATE = 0x0400;
constexpr Word CBN_SELCHANGE = 1;
constexpr Word CBN_DBLCLK = 2;
constexpr Word CBN_SETFOCUS = 3;
constexpr Word CBN_KILLFOCUS = 4;
constexpr Word CBN_EDITCHANGE = 5;
constexpr Word CBN_EDITUPDATE = 6;
constexpr Word CBN_DROPDOWN = 7;
constexpr Word CBN_CLOSEUP = 8;
constexpr Word BN_CLICKED = 0;

// Combo-box messages (CB_ERR answers a failed request).
constexpr UINT CB_GETEDITSEL = 0x0140;
constexpr UINT CB_SETEDITSEL = 0x0142;
constexpr UINT CB_SHOWDROPDOWN = 0x014F;
constexpr UINT CB_SETITEMHEIGHT = 0x0153;
constexpr UINT CB_GETITEMHEIGHT = 0x0154;
constexpr UINT CB_GETDROPPEDSTATE = 0x0157;
constexpr UINT CB_GETDROPPEDWIDTH = 0x015F;
constexpr UINT CB_SETDROPPEDWIDTH = 0x0160;
constexpr LRESULT CB_ERR = -1;

// ---------------------------------------------------------------------------------------------
// Window styles (TCreateParams, GetWindowLong/SetWindowLong)

constexpr int GWL_WNDPROC = -4;
constexpr int GWL_HINSTANCE = -6;
constexpr int GWL_HWNDPARENT = -8;
constexpr int GWL_STYLE = -16;
constexpr int GWL_EXSTYLE = -20;
constexpr int GWL_USERDATA = -21;
constexpr int GWL_ID = -12;

constexpr DWORD WS_OVERLAPPED = 0x00000000;
constexpr DWORD WS_POPUP = 0x80000000;
constexpr DWORD WS_CHILD = 0x40000000;
constexpr DWORD WS_MINIMIZE = 0x20000000;
constexpr DWORD WS_VISIBLE = 0x10000000;
constexpr DWORD WS_DISABLED = 0x08000000;
constexpr DWORD WS_CLIPSIBLINGS = 0x04000000;
constexpr DWORD WS_CLIPCHILDREN = 0x02000000;
constexpr DWORD WS_MAXIMIZE = 0x01000000;
constexpr DWORD WS_CAPTION = 0x00C00000;
constexpr DWORD WS_BORDER = 0x00800000;
constexpr DWORD WS_DLGFRAME = 0x00400000;
constexpr DWORD WS_VSCROLL = 0x00200000;
constexpr DWORD WS_HSCROLL = 0x00100000;
constexpr DWORD WS_SYSMENU = 0x00080000;
constexpr DWORD WS_THICKFRAME = 0x00040000;
constexpr DWORD WS_GROUP = 0x00020000;
constexpr DWORD WS_TABSTOP = 0x00010000;
constexpr DWORD WS_MINIMIZEBOX = 0x00020000;
constexpr DWORD WS_MAXIMIZEBOX = 0x00010000;
constexpr DWORD WS_OVERLAPPEDWINDOW =
    WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX;

constexpr DWORD WS_EX_DLGMODALFRAME = 0x00000001;
constexpr DWORD WS_EX_NOPARENTNOTIFY = 0x00000004;
constexpr DWORD WS_EX_TOPMOST = 0x00000008;
constexpr DWORD WS_EX_ACCEPTFILES = 0x00000010;
constexpr DWORD WS_EX_TRANSPARENT = 0x00000020;
constexpr DWORD WS_EX_MDICHILD = 0x00000040;
constexpr DWORD WS_EX_TOOLWINDOW = 0x00000080;
constexpr DWORD WS_EX_WINDOWEDGE = 0x00000100;
constexpr DWORD WS_EX_CLIENTEDGE = 0x00000200;
constexpr DWORD WS_EX_CONTEXTHELP = 0x00000400;
constexpr DWORD WS_EX_RIGHT = 0x00001000;
constexpr DWORD WS_EX_RTLREADING = 0x00002000;
constexpr DWORD WS_EX_LEFTSCROLLBAR = 0x00004000;
constexpr DWORD WS_EX_CONTROLPARENT = 0x00010000;
constexpr DWORD WS_EX_STATICEDGE = 0x00020000;
constexpr DWORD WS_EX_APPWINDOW = 0x00040000;
constexpr DWORD WS_EX_LAYERED = 0x00080000;
constexpr DWORD WS_EX_NOACTIVATE = 0x08000000;

// Class styles.
constexpr DWORD CS_VREDRAW = 0x0001;
constexpr DWORD CS_HREDRAW = 0x0002;
constexpr DWORD CS_DBLCLKS = 0x0008;
constexpr DWORD CS_SAVEBITS = 0x0800;
// A shadow under the window (the window system draws it where it can).
constexpr DWORD CS_DROPSHADOW = 0x00020000;

// Edit control styles.
constexpr DWORD ES_LEFT = 0x0000;
constexpr DWORD ES_CENTER = 0x0001;
constexpr DWORD ES_RIGHT = 0x0002;
constexpr DWORD ES_MULTILINE = 0x0004;
constexpr DWORD ES_UPPERCASE = 0x0008;
constexpr DWORD ES_LOWERCASE = 0x0010;
constexpr DWORD ES_PASSWORD = 0x0020;
constexpr DWORD ES_AUTOVSCROLL = 0x0040;
constexpr DWORD ES_AUTOHSCROLL = 0x0080;
constexpr DWORD ES_NOHIDESEL = 0x0100;
constexpr DWORD ES_READONLY = 0x0800;
constexpr DWORD ES_WANTRETURN = 0x1000;
constexpr DWORD ES_NUMBER = 0x2000;

// Edit control messages. Rectangles travel as TRect* in LParam; EM_GETSEL answers
// MAKELONG(start, end) and also writes DWORD*s in WParam and LParam when they are not null.
constexpr UINT EM_GETSEL = 0x00B0;
constexpr UINT EM_SETSEL = 0x00B1;
constexpr UINT EM_GETRECT = 0x00B2;
constexpr UINT EM_SETRECT = 0x00B3;
constexpr UINT EM_SETRECTNP = 0x00B4;
constexpr UINT EM_GETLINECOUNT = 0x00BA;
constexpr UINT EM_LIMITTEXT = 0x00C5;
constexpr UINT EM_SETLIMITTEXT = EM_LIMITTEXT;
constexpr UINT EM_LINEFROMCHAR = 0x00C9;
constexpr UINT EM_SETPASSWORDCHAR = 0x00CC;
constexpr UINT EM_SETREADONLY = 0x00CF;
constexpr UINT EM_GETPASSWORDCHAR = 0x00D2;
constexpr UINT EM_GETLIMITTEXT = 0x00D5;
constexpr UINT EM_POSFROMCHAR = 0x00D6;
// The character nearest to a client point of an edit: the index in the low word (-1 when the
// point lies outside the edit), the line in the high word.
constexpr UINT EM_CHARFROMPOS = 0x00D7;

// ShowWindow and SetWindowPos.
constexpr int SW_HIDE = 0;
constexpr int SW_SHOWNORMAL = 1;
constexpr int SW_SHOWMINIMIZED = 2;
constexpr int SW_SHOWMAXIMIZED = 3;
constexpr int SW_SHOWNOACTIVATE = 4;
constexpr int SW_SHOW = 5;
constexpr int SW_MINIMIZE = 6;
constexpr int SW_SHOWNA = 8;
constexpr int SW_RESTORE = 9;
constexpr UINT SWP_NOSIZE = 0x0001;
constexpr UINT SWP_NOMOVE = 0x0002;
constexpr UINT SWP_NOZORDER = 0x0004;
constexpr UINT SWP_NOREDRAW = 0x0008;
constexpr UINT SWP_NOACTIVATE = 0x0010;
constexpr UINT SWP_FRAMECHANGED = 0x0020;
constexpr UINT SWP_SHOWWINDOW = 0x0040;
constexpr UINT SWP_HIDEWINDOW = 0x0080;
constexpr HWND HWND_TOP = 0;
constexpr HWND HWND_BOTTOM = 1;
constexpr HWND HWND_TOPMOST = HWND(-1);
constexpr HWND HWND_NOTOPMOST = HWND(-2);

// ---------------------------------------------------------------------------------------------
// Virtual key codes

constexpr Word VK_LBUTTON = 0x01;
constexpr Word VK_RBUTTON = 0x02;
constexpr Word VK_CANCEL = 0x03;
constexpr Word VK_MBUTTON = 0x04;
constexpr Word VK_BACK = 0x08;
constexpr Word VK_TAB = 0x09;
constexpr Word VK_CLEAR = 0x0C;
constexpr Word VK_RETURN = 0x0D;
constexpr Word VK_SHIFT = 0x10;
constexpr Word VK_CONTROL = 0x11;
constexpr Word VK_MENU = 0x12;
constexpr Word VK_PAUSE = 0x13;
constexpr Word VK_CAPITAL = 0x14;
constexpr Word VK_ESCAPE = 0x1B;
constexpr Word VK_SPACE = 0x20;
constexpr Word VK_PRIOR = 0x21;
constexpr Word VK_NEXT = 0x22;
constexpr Word VK_END = 0x23;
constexpr Word VK_HOME = 0x24;
constexpr Word VK_LEFT = 0x25;
constexpr Word VK_UP = 0x26;
constexpr Word VK_RIGHT = 0x27;
constexpr Word VK_DOWN = 0x28;
constexpr Word VK_SELECT = 0x29;
constexpr Word VK_PRINT = 0x2A;
constexpr Word VK_EXECUTE = 0x2B;
constexpr Word VK_SNAPSHOT = 0x2C;
constexpr Word VK_INSERT = 0x2D;
constexpr Word VK_DELETE = 0x2E;
constexpr Word VK_HELP = 0x2F;
// '0'..'9' and 'A'..'Z' are their ASCII codes.
constexpr Word VK_LWIN = 0x5B;
constexpr Word VK_RWIN = 0x5C;
constexpr Word VK_APPS = 0x5D;
constexpr Word VK_NUMPAD0 = 0x60;
constexpr Word VK_NUMPAD1 = 0x61;
constexpr Word VK_NUMPAD2 = 0x62;
constexpr Word VK_NUMPAD3 = 0x63;
constexpr Word VK_NUMPAD4 = 0x64;
constexpr Word VK_NUMPAD5 = 0x65;
constexpr Word VK_NUMPAD6 = 0x66;
constexpr Word VK_NUMPAD7 = 0x67;
constexpr Word VK_NUMPAD8 = 0x68;
constexpr Word VK_NUMPAD9 = 0x69;
constexpr Word VK_MULTIPLY = 0x6A;
constexpr Word VK_ADD = 0x6B;
constexpr Word VK_SEPARATOR = 0x6C;
constexpr Word VK_SUBTRACT = 0x6D;
constexpr Word VK_DECIMAL = 0x6E;
constexpr Word VK_DIVIDE = 0x6F;
constexpr Word VK_F1 = 0x70;
constexpr Word VK_F2 = 0x71;
constexpr Word VK_F3 = 0x72;
constexpr Word VK_F4 = 0x73;
constexpr Word VK_F5 = 0x74;
constexpr Word VK_F6 = 0x75;
constexpr Word VK_F7 = 0x76;
constexpr Word VK_F8 = 0x77;
constexpr Word VK_F9 = 0x78;
constexpr Word VK_F10 = 0x79;
constexpr Word VK_F11 = 0x7A;
constexpr Word VK_F12 = 0x7B;
constexpr Word VK_NUMLOCK = 0x90;
constexpr Word VK_SCROLL = 0x91;
constexpr Word VK_LSHIFT = 0xA0;
constexpr Word VK_RSHIFT = 0xA1;
constexpr Word VK_LCONTROL = 0xA2;
constexpr Word VK_RCONTROL = 0xA3;
constexpr Word VK_LMENU = 0xA4;
constexpr Word VK_RMENU = 0xA5;
constexpr Word VK_OEM_1 = 0xBA;      // ;:
constexpr Word VK_OEM_PLUS = 0xBB;   // =+
constexpr Word VK_OEM_COMMA = 0xBC;  // ,<
constexpr Word VK_OEM_MINUS = 0xBD;  // -_
constexpr Word VK_OEM_PERIOD = 0xBE; // .>
constexpr Word VK_OEM_2 = 0xBF;      // /?
constexpr Word VK_OEM_3 = 0xC0;      // `~
constexpr Word VK_OEM_4 = 0xDB;      // [{
constexpr Word VK_OEM_5 = 0xDC;      // \|
constexpr Word VK_OEM_6 = 0xDD;      // ]}
constexpr Word VK_OEM_7 = 0xDE;      // '"
constexpr Word VK_OEM_102 = 0xE2;

// Bits of the key data (LParam of key messages).
constexpr LPARAM KF_EXTENDED = 0x01000000;    // bit 24: an extended key (arrows, Home, Insert...)
constexpr LPARAM KF_ALTDOWN = 0x20000000;     // bit 29: Alt was down (context code)
constexpr LPARAM KF_REPEAT = 0x40000000;      // bit 30: the key was down before
constexpr LPARAM KF_UP = LPARAM(0x80000000u); // bit 31: the key is being released

// ---------------------------------------------------------------------------------------------
// Word helpers

constexpr inline Word LOWORD(uintptr_t v) {
    return Word(v & 0xFFFF);
}
constexpr inline Word HIWORD(uintptr_t v) {
    return Word((v >> 16) & 0xFFFF);
}
constexpr inline Cardinal MAKELONG(Word lo, Word hi) {
    return Cardinal(lo) | (Cardinal(hi) << 16);
}
constexpr inline WPARAM MAKEWPARAM(Word lo, Word hi) {
    return WPARAM(MAKELONG(lo, hi));
}
// Two 16-bit coordinates packed as the platform packs mouse positions.
constexpr inline LPARAM MAKELPARAM(int lo, int hi) {
    return LPARAM(Integer(MAKELONG(Word(lo), Word(hi))));
}
constexpr inline LPARAM PointToLParam(const TPoint& p) {
    return MAKELPARAM(p.X, p.Y);
}
constexpr inline TPoint LParamToPoint(LPARAM l) {
    return TPoint(SmallInt(LOWORD(uintptr_t(l))), SmallInt(HIWORD(uintptr_t(l))));
}

// ---------------------------------------------------------------------------------------------
// The message record

struct TMessage {
    Cardinal Msg = 0;
    WPARAM WParam = 0;
    LPARAM LParam = 0;
    LRESULT Result = 0;

    TMessage() = default;
    TMessage(Cardinal AMsg, WPARAM AWParam = 0, LPARAM ALParam = 0)
        : Msg(AMsg), WParam(AWParam), LParam(ALParam) {}

    Word WParamLo() const { return LOWORD(WParam); }
    Word WParamHi() const { return HIWORD(WParam); }
    Word LParamLo() const { return LOWORD(uintptr_t(LParam)); }
    Word LParamHi() const { return HIWORD(uintptr_t(LParam)); }
};

// A field of a message record that lives in some bits of WParam or LParam: reads convert to T,
// assignments write the bits back, so "Message.CharCode = 0" works as in the class library.
template <class T, int Shift, int Bits> class TMessageField {
public:
    explicit TMessageField(uintptr_t& Storage) : FStorage(Storage) {}
    TMessageField(const TMessageField&) = delete;
    TMessageField& operator=(const TMessageField& Other) { return *this = T(Other); }

    operator T() const {
        uintptr_t v = (FStorage >> Shift) & Mask();
        if constexpr (std::is_signed_v<T> && Bits < int(sizeof(uintptr_t) * 8)) {
            // Sign-extend fields narrower than the storage.
            if (v & (uintptr_t(1) << (Bits - 1))) v |= ~Mask();
        }
        return T(v);
    }
    TMessageField& operator=(T Value) {
        FStorage = (FStorage & ~(Mask() << Shift)) | ((uintptr_t(Value) & Mask()) << Shift);
        return *this;
    }

private:
    static constexpr uintptr_t Mask() {
        return Bits >= int(sizeof(uintptr_t) * 8) ? ~uintptr_t(0) : ((uintptr_t(1) << Bits) - 1);
    }
    uintptr_t& FStorage;
};

// Base of the typed views: Msg and Result stay the record's own fields; the view converts back
// to the record, so "inherited" calls pass it on unchanged.
class TMessageView {
public:
    explicit TMessageView(TMessage& M) : Msg(M.Msg), Result(M.Result), FMessage(M) {}
    TMessageView(const TMessageView&) = delete;
    TMessageView& operator=(const TMessageView&) = delete;

    operator TMessage&() { return FMessage; }
    TMessage& Message() { return FMessage; }
    WPARAM& WParam() { return FMessage.WParam; }
    LPARAM& LParam() { return FMessage.LParam; }

    Cardinal& Msg;
    LRESULT& Result;

protected:
    uintptr_t& W() { return FMessage.WParam; }
    uintptr_t& L() { return reinterpret_cast<uintptr_t&>(FMessage.LParam); }

private:
    TMessage& FMessage;
};

// Keys: WM_KEYDOWN, WM_KEYUP, WM_CHAR, WM_SYS*, CN_KEY*, CN_CHAR, CM_DIALOGKEY, CM_DIALOGCHAR,
// CM_WANTSPECIALKEY, CM_CHILDKEY. CharCode is the virtual key (or the character for WM_CHAR);
// KeyData the repeat count, scan code and flag bits.
class TWMKey : public TMessageView {
public:
    explicit TWMKey(TMessage& M) : TMessageView(M), CharCode(W()), KeyData(L()) {}
    TMessageField<Word, 0, 16> CharCode;
    TMessageField<Integer, 0, 32> KeyData;
};
using TWMKeyDown = TWMKey;
using TWMKeyUp = TWMKey;
using TWMChar = TWMKey;
using TWMSysChar = TWMKey;
using TWMSysKeyDown = TWMKey;
using TWMSysKeyUp = TWMKey;
using TCMDialogKey = TWMKey;
using TCMDialogChar = TWMKey;
using TCMWantSpecialKey = TWMKey;
using TCMChildKey = TWMKey;

// Mouse buttons and moves: Keys are MK_ flags; the position is in client coordinates.
class TWMMouse : public TMessageView {
public:
    explicit TWMMouse(TMessage& M) : TMessageView(M), Keys(W()), XPos(L()), YPos(L()) {}
    TMessageField<Integer, 0, 32> Keys;
    TMessageField<SmallInt, 0, 16> XPos;
    TMessageField<SmallInt, 16, 16> YPos;
    TPoint Pos() const { return TPoint(XPos, YPos); }
};
using TWMLButtonDown = TWMMouse;
using TWMLButtonUp = TWMMouse;
using TWMLButtonDblClk = TWMMouse;
using TWMRButtonDown = TWMMouse;
using TWMRButtonUp = TWMMouse;
using TWMRButtonDblClk = TWMMouse;
using TWMMButtonDown = TWMMouse;
using TWMMButtonUp = TWMMouse;
using TWMMButtonDblClk = TWMMouse;
using TWMMouseMove = TWMMouse;
using TCMHitTest = TWMMouse;

// The wheel: Keys and WheelDelta (120 per notch, positive away from the user) in WParam, the
// pointer's screen position in LParam.
class TWMMouseWheel : public TMessageView {
public:
    explicit TWMMouseWheel(TMessage& M) : TMessageView(M), Keys(W()), WheelDelta(W()), XPos(L()), YPos(L()) {}
    TMessageField<Word, 0, 16> Keys;
    TMessageField<SmallInt, 16, 16> WheelDelta;
    TMessageField<SmallInt, 0, 16> XPos;
    TMessageField<SmallInt, 16, 16> YPos;
    TPoint Pos() const { return TPoint(XPos, YPos); }
};
using TCMMouseWheel = TWMMouseWheel;

// WM_SETFOCUS / WM_KILLFOCUS: the window losing or receiving the focus (0 when none).
class TWMSetFocus : public TMessageView {
public:
    explicit TWMSetFocus(TMessage& M) : TMessageView(M), FocusedWnd(W()) {}
    TMessageField<HWND, 0, int(sizeof(HWND) * 8)> FocusedWnd;
};
using TWMKillFocus = TWMSetFocus;

// CM_FOCUSCHANGED: the control that received the focus.
class TCMFocusChanged : public TMessageView {
public:
    explicit TCMFocusChanged(TMessage& M) : TMessageView(M) {}
    TWinControl* Sender() { return reinterpret_cast<TWinControl*>(LParam()); }
};

// WM_TIMER.
class TWMTimer : public TMessageView {
public:
    explicit TWMTimer(TMessage& M) : TMessageView(M), TimerID(W()) {}
    TMessageField<UINT_PTR, 0, int(sizeof(UINT_PTR) * 8)> TimerID;
};

// WM_SIZE: the new client size.
class TWMSize : public TMessageView {
public:
    explicit TWMSize(TMessage& M) : TMessageView(M), SizeType(W()), Width(L()), Height(L()) {}
    TMessageField<Integer, 0, 32> SizeType;
    TMessageField<Word, 0, 16> Width;
    TMessageField<Word, 16, 16> Height;
};

// WM_PAINT / WM_ERASEBKGND / WM_NCPAINT: the canvas to draw on travels in WParam (nullptr for
// the control's own canvas).
class TWMPaint : public TMessageView {
public:
    explicit TWMPaint(TMessage& M) : TMessageView(M) {}
    TCanvas* DC() { return reinterpret_cast<TCanvas*>(WParam()); }
};
using TWMEraseBkgnd = TWMPaint;
using TWMNCPaint = TWMPaint;

// WM_COMMAND / CN_COMMAND.
class TWMCommand : public TMessageView {
public:
    explicit TWMCommand(TMessage& M) : TMessageView(M), ItemID(W()), NotifyCode(W()), Ctl(L()) {}
    TMessageField<Word, 0, 16> ItemID;
    TMessageField<Word, 16, 16> NotifyCode;
    TMessageField<HWND, 0, int(sizeof(HWND) * 8)> Ctl;
};

// WM_NOTIFY / CN_NOTIFY: LParam points at the notification's header (the first member of every
// notification record).
struct NMHDR {
    HWND hwndFrom = 0;
    UINT_PTR idFrom = 0;
    int code = 0;
};
class TWMNotify : public TMessageView {
public:
    explicit TWMNotify(TMessage& M) : TMessageView(M), IDCtrl(W()) {}
    TMessageField<Integer, 0, 32> IDCtrl;
    NMHDR* NMHdr() { return reinterpret_cast<NMHDR*>(LParam()); }
};

// WM_HSCROLL / WM_VSCROLL.
class TWMScroll : public TMessageView {
public:
    explicit TWMScroll(TMessage& M) : TMessageView(M), ScrollCode(W()), Pos(W()), ScrollBar(L()) {}
    TMessageField<SmallInt, 0, 16> ScrollCode;
    TMessageField<SmallInt, 16, 16> Pos;
    TMessageField<HWND, 0, int(sizeof(HWND) * 8)> ScrollBar;
};
using TWMHScroll = TWMScroll;
using TWMVScroll = TWMScroll;

// WM_SETCURSOR: the window under the pointer (CursorWnd), the hit-test code (HTCLIENT over the
// client area) and the mouse message that caused it. A handler that set the cursor answers 1.
class TWMSetCursor : public TMessageView {
public:
    explicit TWMSetCursor(TMessage& M) : TMessageView(M), CursorWnd(W()), HitTest(L()), MouseMsg(L()) {}
    TMessageField<HWND, 0, int(sizeof(HWND) * 8)> CursorWnd;
    TMessageField<SmallInt, 0, 16> HitTest;
    TMessageField<Word, 16, 16> MouseMsg;
};

// WM_CAPTURECHANGED (to the control losing the mouse capture): the window taking it (0: none).
// WM_CANCELMODE asks a window to end what it does with the mouse (sizing, moving, selecting); the
// default handling releases the capture.
class TWMCaptureChanged : public TMessageView {
public:
    explicit TWMCaptureChanged(TMessage& M) : TMessageView(M), NewCapture(L()) {}
    TMessageField<HWND, 0, int(sizeof(HWND) * 8)> NewCapture;
};
using TWMCancelMode = TMessage;

// WM_CONTEXTMENU: screen position (-1, -1 when raised by the keyboard).
class TWMContextMenu : public TMessageView {
public:
    explicit TWMContextMenu(TMessage& M) : TMessageView(M), hWnd(W()), XPos(L()), YPos(L()) {}
    TMessageField<HWND, 0, int(sizeof(HWND) * 8)> hWnd;
    TMessageField<SmallInt, 0, 16> XPos;
    TMessageField<SmallInt, 16, 16> YPos;
};

// Calls Object's Handler with Message seen through the typed view View: the one-line form of
// a case in a Dispatch switch ("case WM_SIZE: CallHandler<TWMSize>(this, &TMe::WMSize, Message)").
template <class View, class C, class H> inline void CallHandler(C* Object, H Handler, TMessage& Message) {
    View view(Message);
    (Object->*Handler)(view);
}

// CM_MOUSEENTER / CM_MOUSELEAVE / CM_ENTER / CM_EXIT and the other plain notifications use the
// record itself.
using TCMMouseEnter = TMessage;
using TCMMouseLeave = TMessage;
using TCMEnter = TMessage;
using TCMExit = TMessage;
using TCMEnabledChanged = TMessage;
using TCMVisibleChanged = TMessage;
using TCMTextChanged = TMessage;
using TCMFontChanged = TMessage;
using TCMColorChanged = TMessage;
using TCMShowingChanged = TMessage;
using TWMGetDlgCode = TMessage;

// ---------------------------------------------------------------------------------------------
// Sending and posting

// Sends the message to the window and answers its result (0 when the handle names no window).
// From another thread the call runs on the main thread and waits for it.
LRESULT SendMessage(HWND Wnd, UINT Msg, WPARAM WParam = 0, LPARAM LParam = 0);
// Queues the message for the window on the main thread's event loop; it is handled after the
// current message. Answers false when the handle names no window; a post to a window destroyed
// before the message is handled is dropped.
bool PostMessage(HWND Wnd, UINT Msg, WPARAM WParam = 0, LPARAM LParam = 0);
// A process-wide message number for Name (case ignored), from 0xC000 on; the same name always
// gets the same number. An empty name answers 0.
UINT RegisterWindowMessage(const String& Name);
