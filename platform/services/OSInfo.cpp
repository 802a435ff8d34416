#include "OSInfo.h"

#include "Controls.h"
#include "StandIn.h"
#include "Themes.h"
#include "WindowFrame.h"

#include <QGuiApplication>
#include <QPainter>
#include <QScreen>
#include <QWidget>

#include <map>
#include <mutex>
#include <utility>
#include <vector>

namespace {

TPlatformSwitches& Switches() {
    static TPlatformSwitches switches;
    return switches;
}

// The system's version 6.1 for its own libraries.
constexpr int SystemFileVersion = (6 << 16) | 1;

// ---- KERNEL32 ----

// Locale information by locale name: only its presence is asked for here.
int GetLocaleInfoEx(LPCWSTR, DWORD, LPWSTR lpLCData, int cchData) {
    if (lpLCData && cchData > 0) lpLCData[0] = 0;
    return 0;
}

// ---- USER32: layered windows over the Qt window opacity ----

void ApplyOpacity(TWinControl* Control, Byte Alpha) {
    if (QWidget* w = Control->Widget()) w->window()->setWindowOpacity(Alpha / 255.0);
}

BOOL SetLayeredWindowAttributes(HWND hwnd, COLORREF, Byte bAlpha, DWORD dwFlags) {
    TWinControl* control = FindControl(hwnd);
    if (!control) return 0;
    if (dwFlags & LWA_COLORKEY) PlatformStandIn("SetLayeredWindowAttributes(LWA_COLORKEY)");
    if (dwFlags & LWA_ALPHA) ApplyOpacity(control, bAlpha);
    return 1;
}

// With a source the window shows its picture from then on: with ULW_ALPHA and AC_SRC_ALPHA the
// source's 32-bit pixels are premultiplied colour with per-pixel alpha, otherwise they are
// opaque; the constant alpha scales the whole picture. Without a source only the place, the size
// and (ULW_ALPHA) the constant alpha change.
BOOL UpdateLayeredWindow(HWND hWnd, HDC, TPoint* pptDst, TSize* psize, HDC hdcSrc, TPoint* pptSrc, COLORREF,
                         BLENDFUNCTION* pblend, DWORD dwFlags) {
    TWinControl* control = FindControl(hWnd);
    if (!control) return 0;
    if (dwFlags & ULW_COLORKEY) PlatformStandIn("UpdateLayeredWindow(ULW_COLORKEY)");
    if (pptDst || psize) {
        const int x = pptDst ? pptDst->X : control->Left();
        const int y = pptDst ? pptDst->Y : control->Top();
        const int w = psize ? psize->cx : control->Width();
        const int h = psize ? psize->cy : control->Height();
        control->SetBounds(x, y, w, h);
    }
    const bool alpha = (dwFlags & ULW_ALPHA) && pblend;
    const Byte constant = alpha ? pblend->SourceConstantAlpha : 255;
    if (hdcSrc && hdcSrc->Target()) {
        const bool perPixel = alpha && (pblend->AlphaFormat & AC_SRC_ALPHA) && !(dwFlags & ULW_OPAQUE);
        TWindowExtras::SetLayeredImage(control, *hdcSrc->Target(), pptSrc ? *pptSrc : TPoint(), perPixel,
                                       constant);
    } else if (alpha) {
        ApplyOpacity(control, constant);
    }
    return 1;
}

// ---- The libraries ----

struct TModule {
    const char* Name;
    HMODULE Handle;
    bool SystemModule; // always loaded (GetModuleHandle answers without LoadLibrary)
};

const TModule Modules[] = {
    {"UXTHEME.DLL", 0x7A10000, false},
    {"USER32.DLL", 0x7A20000, true},
    {"KERNEL32.DLL", 0x7A30000, true},
    {"COMCTL32.DLL", 0x7A40000, false},
};

std::mutex ModuleLock;
std::map<HMODULE, int>& LoadCounts() {
    static std::map<HMODULE, int> counts;
    return counts;
}

String NormalisedName(const String& FileName) {
    String n = FileName.trimmed().toUpper();
    // A path names the library by its last part.
    const int slash = int(std::max(n.lastIndexOf(u'\\'), n.lastIndexOf(u'/')));
    if (slash >= 0) n = n.mid(slash + 1);
    if (!n.endsWith(QLatin1String(".DLL"))) n += QLatin1String(".DLL");
    return n;
}

const TModule* FindModule(const String& FileName) {
    const String n = NormalisedName(FileName);
    for (const TModule& m : Modules)
        if (n == QLatin1String(m.Name)) {
            if (m.Handle == Modules[0].Handle && !Switches().VisualStylesAvailable) return nullptr;
            return &m;
        }
    return nullptr;
}

const TModule* ModuleOf(HMODULE Handle) {
    for (const TModule& m : Modules)
        if (m.Handle == Handle) return &m;
    return nullptr;
}

template <class F> FARPROC Export(F f) {
    return reinterpret_cast<FARPROC>(f);
}

const std::vector<std::pair<const char*, FARPROC>>& ExportsOf(const TModule& M) {
    static const std::vector<std::pair<const char*, FARPROC>> none;
    static const std::vector<std::pair<const char*, FARPROC>> user32 = {
        {"UpdateLayeredWindow", Export(&UpdateLayeredWindow)},
        {"SetLayeredWindowAttributes", Export(&SetLayeredWindowAttributes)},
    };
    static const std::vector<std::pair<const char*, FARPROC>> kernel32 = {
        {"GetLocaleInfoEx", Export(&GetLocaleInfoEx)},
    };
    const String name = QLatin1String(M.Name);
    if (name == QLatin1String("UXTHEME.DLL")) return VisualStylesLibraryExports();
    if (name == QLatin1String("USER32.DLL")) return user32;
    if (name == QLatin1String("KERNEL32.DLL")) return kernel32;
    // The common controls here have no flat scroll bars.
    return none;
}

} // namespace

bool CheckWin32Version(int AMajor, int AMinor) {
    return Win32MajorVersion > AMajor || (Win32MajorVersion == AMajor && Win32MinorVersion >= AMinor);
}

int GetFileVersion(const String& AFileName) {
    const TModule* m = FindModule(AFileName);
    if (!m) return -1;
    if (QLatin1String(m->Name) == QLatin1String("COMCTL32.DLL")) return 6 << 16;
    return SystemFileVersion;
}

TPlatformSwitches& PlatformSwitches() {
    return Switches();
}

void ResetPlatformSwitches() {
    Switches() = TPlatformSwitches();
}

bool ApplicationStylesActive() {
    return false;
}

String ApplicationStyleName() {
    return QStringLiteral("Windows");
}

bool FlatScrollBarsAvailable() {
    return false;
}

int GetSystemMetrics(int Index) {
    auto screen = [](bool Width) {
        QScreen* s = QGuiApplication::instance() ? QGuiApplication::primaryScreen() : nullptr;
        if (!s) return Width ? 1024 : 768;
        return Width ? s->geometry().width() : s->geometry().height();
    };
    switch (Index) {
        case SM_CXSCREEN: return screen(true);
        case SM_CYSCREEN: return screen(false);
        case SM_CXVSCROLL:
        case SM_CYHSCROLL:
        case SM_CYVTHUMB:
        case SM_CXHTHUMB:
        case SM_CYVSCROLL:
        case SM_CXHSCROLL: return 17;
        case SM_CYCAPTION: return 20;
        case SM_CYSMCAPTION: return 16;
        case SM_CXBORDER:
        case SM_CYBORDER: return 1;
        case SM_CXEDGE:
        case SM_CYEDGE: return 2;
        case SM_CXDLGFRAME:
        case SM_CYDLGFRAME: return 3;
        case SM_CXFRAME:
        case SM_CYFRAME: return 4;
        case SM_CXICON:
        case SM_CYICON:
        case SM_CXCURSOR:
        case SM_CYCURSOR: return 32;
        case SM_CXSMICON:
        case SM_CYSMICON: return 16;
        case SM_CXDOUBLECLK:
        case SM_CYDOUBLECLK:
        case SM_CXDRAG:
        case SM_CYDRAG: return 4;
        case SM_MOUSEWHEELPRESENT: return 1;
        default: return 0;
    }
}

HMODULE LoadLibrary(const String& FileName) {
    const TModule* m = FindModule(FileName);
    if (!m) return 0;
    std::lock_guard<std::mutex> lock(ModuleLock);
    ++LoadCounts()[m->Handle];
    return m->Handle;
}

BOOL FreeLibrary(HMODULE Module) {
    std::lock_guard<std::mutex> lock(ModuleLock);
    auto it = LoadCounts().find(Module);
    if (it == LoadCounts().end() || it->second <= 0)
        return ModuleOf(Module) && ModuleOf(Module)->SystemModule;
    --it->second;
    return 1;
}

HMODULE GetModuleHandle(const String& ModuleName) {
    const TModule* m = FindModule(ModuleName);
    if (!m) return 0;
    if (m->SystemModule) return m->Handle;
    std::lock_guard<std::mutex> lock(ModuleLock);
    auto it = LoadCounts().find(m->Handle);
    return it != LoadCounts().end() && it->second > 0 ? m->Handle : 0;
}

FARPROC GetProcAddress(HMODULE Module, const char* ProcName) {
    const TModule* m = ModuleOf(Module);
    if (!m || !ProcName) return nullptr;
    for (const auto& e : ExportsOf(*m))
        if (qstrcmp(e.first, ProcName) == 0) return e.second;
    return nullptr;
}

int ModuleLoadCount(const String& FileName) {
    const String n = NormalisedName(FileName);
    for (const TModule& m : Modules)
        if (n == QLatin1String(m.Name)) {
            std::lock_guard<std::mutex> lock(ModuleLock);
            auto it = LoadCounts().find(m.Handle);
            return it == LoadCounts().end() ? 0 : it->second;
        }
    return 0;
}
