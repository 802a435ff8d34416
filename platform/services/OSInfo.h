// What the platform answers about itself, in one place: its version, the versions of its
// libraries, whether visual styles are there and on, application styles, flat scroll bars and
// the libraries that code binds at run time by name (LoadLibrary / GetProcAddress).
//
// The answers are fixed so that every branch that depends on them is taken deliberately:
// an NT-family system of version 6.1 with the common controls 6.0, visual styles available and
// active, no application styles, no flat scroll bars. Tests may switch the visual styles (see
// PlatformSwitches) to take the classic drawing paths.
#pragma once

#include "Messages.h"
#include "System.h"
#include "Types.h"

#include <cstdint>

class TCanvas;
using HDC = TCanvas*;
using BOOL = int;
using HRESULT = int32_t;
using HMODULE = uintptr_t;
using HINSTANCE = HMODULE;
using COLORREF = DWORD;
// Address of an entry point of a library; cast to the entry point's own type before the call.
using FARPROC = void (*)();

constexpr HRESULT S_OK = 0;
constexpr HRESULT S_FALSE = 1;
constexpr HRESULT E_NOTIMPL = HRESULT(0x80004001u);
constexpr HRESULT E_FAIL = HRESULT(0x80004005u);
constexpr HRESULT E_INVALIDARG = HRESULT(0x80070057u);
constexpr HRESULT E_HANDLE = HRESULT(0x80070006u);

inline bool Succeeded(HRESULT hr) {
    return hr >= 0;
}

// ---- Version ----

constexpr int VER_PLATFORM_WIN32s = 0;
constexpr int VER_PLATFORM_WIN32_WINDOWS = 1;
constexpr int VER_PLATFORM_WIN32_NT = 2;

constexpr int Win32Platform = VER_PLATFORM_WIN32_NT;
constexpr int Win32MajorVersion = 6;
constexpr int Win32MinorVersion = 1;
constexpr int Win32BuildNumber = 7601;

// True when the platform's version is AMajor.AMinor or later.
bool CheckWin32Version(int AMajor, int AMinor = 0);

// The file version of a library of the platform as (major shl 16) or minor, -1 for a file
// without version information. "COMCTL32.DLL" answers 6.0, "UXTHEME.DLL" 6.1 while visual
// styles are available, "USER32.DLL" and "KERNEL32.DLL" 6.1.
int GetFileVersion(const String& AFileName);

// ---- Switches (tests) ----

struct TPlatformSwitches {
    // The visual-styles library can be loaded.
    bool VisualStylesAvailable = true;
    // A visual style is active (IsThemeActive); without it themed drawing is not offered.
    bool VisualStylesActive = true;
    // The colour name of the active visual style, as GetCurrentThemeName reports it.
    String ThemeColorName = QStringLiteral("NormalColor");
    // The system's locale reads right to left (the class library's SysLocale.MiddleEast): off,
    // so no control lays itself out right to left; tests switch it on for those branches.
    bool MiddleEastLocale = false;
};

// The switches in force; tests change them and call ResetPlatformSwitches afterwards.
TPlatformSwitches& PlatformSwitches();
void ResetPlatformSwitches();

// ---- Fixed answers ----

// No application style is active; the style's name is "Windows".
bool ApplicationStylesActive();
String ApplicationStyleName();
// The flat scroll bar entry points of the common controls are missing.
bool FlatScrollBarsAvailable();

// ---- System metrics ----

constexpr int SM_CXSCREEN = 0;
constexpr int SM_CYSCREEN = 1;
constexpr int SM_CXVSCROLL = 2;
constexpr int SM_CYHSCROLL = 3;
constexpr int SM_CYCAPTION = 4;
constexpr int SM_CXBORDER = 5;
constexpr int SM_CYBORDER = 6;
constexpr int SM_CXDLGFRAME = 7;
constexpr int SM_CYDLGFRAME = 8;
constexpr int SM_CYVTHUMB = 9;
constexpr int SM_CXHTHUMB = 10;
constexpr int SM_CXICON = 11;
constexpr int SM_CYICON = 12;
constexpr int SM_CXCURSOR = 13;
constexpr int SM_CYCURSOR = 14;
constexpr int SM_CYVSCROLL = 20;
constexpr int SM_CXHSCROLL = 21;
constexpr int SM_CXFRAME = 32;
constexpr int SM_CYFRAME = 33;
constexpr int SM_CXDOUBLECLK = 36;
constexpr int SM_CYDOUBLECLK = 37;
constexpr int SM_CXEDGE = 45;
constexpr int SM_CYEDGE = 46;
constexpr int SM_CXSMICON = 49;
constexpr int SM_CYSMICON = 50;
constexpr int SM_CYSMCAPTION = 51;
constexpr int SM_CXDRAG = 68;
constexpr int SM_CYDRAG = 69;
constexpr int SM_MOUSEWHEELPRESENT = 75;

// The platform's metrics at 96 pixels per inch in the classic look: scroll bars 17 pixels
// (width of a vertical bar, height of a horizontal one, arrows and thumbs alike), borders 1,
// 3D edges 2, the frames and captions the forms use, the primary screen's size; 0 for an
// index it does not know.
int GetSystemMetrics(int Index);

// ---- Libraries bound by name ----

// Loads a library of the platform ("UXTHEME.DLL", "USER32.DLL", "KERNEL32.DLL", "COMCTL32.DLL";
// case ignored, ".DLL" optional). Answers its handle (32 or above), or 0 when it is missing.
// Every load is counted; FreeLibrary releases one.
HMODULE LoadLibrary(const String& FileName);
BOOL FreeLibrary(HMODULE Module);
// The handle of a library that is loaded (the system's own libraries always are), else 0.
HMODULE GetModuleHandle(const String& ModuleName);
// The entry point of that name, nullptr when the library lacks it.
FARPROC GetProcAddress(HMODULE Module, const char* ProcName);
// Loads of a library not yet released (for checks that every load is freed once).
int ModuleLoadCount(const String& FileName);

// ---- Layered windows (the system library "USER32.DLL") ----
//
// Looked up by name like the other entry points. SetLayeredWindowAttributes makes the window's Qt
// opacity follow the constant alpha. UpdateLayeredWindow moves and sizes the window and, given a
// source, makes the window show that picture from then on instead of its painting: with
// ULW_ALPHA and AC_SRC_ALPHA its 32-bit pixels are premultiplied colour with per-pixel alpha
// (the window is translucent there), the constant alpha scaling them all. Colour keys are not
// supported.

struct BLENDFUNCTION {
    Byte BlendOp = 0;
    Byte BlendFlags = 0;
    Byte SourceConstantAlpha = 255;
    Byte AlphaFormat = 0;
};

constexpr Byte AC_SRC_OVER = 0;
constexpr Byte AC_SRC_ALPHA = 1;
constexpr DWORD ULW_COLORKEY = 1;
constexpr DWORD ULW_ALPHA = 2;
constexpr DWORD ULW_OPAQUE = 4;
constexpr DWORD LWA_COLORKEY = 1;
constexpr DWORD LWA_ALPHA = 2;

using TUpdateLayeredWindow = BOOL (*)(HWND hWnd, HDC hdcDst, TPoint* pptDst, TSize* psize, HDC hdcSrc,
                                      TPoint* pptSrc, COLORREF crKey, BLENDFUNCTION* pblend, DWORD dwFlags);
using TSetLayeredWindowAttributes = BOOL (*)(HWND hwnd, COLORREF crKey, Byte bAlpha, DWORD dwFlags);
