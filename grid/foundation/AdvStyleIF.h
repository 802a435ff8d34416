// What the grid and the drop-down controls share about their looks: the component styles, the
// Office colour themes, colour tones, the interfaces through which a style or tones are applied,
// tests of the environment, the detection of the current Office colour theme and the theme
// notifier, which tells registered windows that the Office colour theme changed by watching the
// Office settings in the registry from a thread of its own.
#pragma once

#include "Classes.h"
#include "Controls.h"
#include "Registry.h"
#include "System.h"
#include "Types.h"

#include <memory>
#include <mutex>
#include <vector>

enum TKitStyle {
    tsOffice2003Blue,
    tsOffice2003Silver,
    tsOffice2003Olive,
    tsOffice2003Classic,
    tsOffice2007Luna,
    tsOffice2007Obsidian,
    tsWindowsXP,
    tsWhidbey,
    tsCustom,
    tsOffice2007Silver,
    tsWindowsVista,
    tsWindows7,
    tsTerminal,
    tsOffice2010Blue,
    tsOffice2010Silver,
    tsOffice2010Black
};

enum TOfficeTheme {
    ot2003Blue,
    ot2003Silver,
    ot2003Olive,
    ot2003Classic,
    ot2007Blue,
    ot2007Silver,
    ot2007Black,
    ot2010Blue,
    ot2010Silver,
    ot2010Black,
    otUnknown
};

struct TColorTone {
    TColor BrushColor = clNone;
    TColor BorderColor = clNone;
    TColor TextColor = clNone;
};

struct TColorTones {
    TColorTone Background;
    TColorTone Foreground;
    TColorTone Selected;
    TColorTone Hover;
    TColorTone Disabled;
};

// Applying a component style. Found on a component with dynamic_cast; the component's own life
// time applies (no reference counting).
class IKitStyle {
public:
    static constexpr const char* IID = "{11AC2DDC-C087-4298-AB6E-EA1B5017511B}";
    virtual void SetComponentStyle(TKitStyle AStyle) = 0;

protected:
    ~IKitStyle() = default;
};

// Applying colour tones.
class IKitTones {
public:
    static constexpr const char* IID = "{1F492643-6699-4F25-8B34-3233FA735036}";
    virtual void SetColorTones(const TColorTones& ATones) = 0;

protected:
    ~IKitTones() = default;
};

// A list of window handles. An index outside the list raises EListError.
class THandleList : public TObject {
public:
    int Count() const { return int(FItems.size()); }
    int Add(HWND Value);
    void Insert(int Index, HWND Value);
    void Delete(int Index);
    // Removes the first equal entry, if any.
    void DeleteValue(HWND Value);
    bool HasValue(HWND Value) const;
    HWND GetInteger(int Index) const;
    void SetInteger(int Index, HWND Value);
    HWND Items(int Index) const { return GetInteger(Index); }

private:
    void CheckIndex(int Index) const;
    std::vector<HWND> FItems;
};

// The private message that tells a window the Office colour theme changed: WParam the watched
// root key, LParam the watched key path (a zero-terminated UTF-16 text valid during the call).
constexpr UINT WM_OFFICETHEMECHANGE = WM_USER + 1969;

// ---- Tests of the environment ----

// The platform's kernel library exports GetLocaleInfoEx.
bool IsVistaOrLater();
// "Segoe UI" when IsVistaOrLater, else "Tahoma".
String GetDefaultFontName();
// Platform version 5.1 or later.
bool IsWindowsXPOrLater();
// The major file version of the common controls is above 5.
bool IsComCtl6OrLater();
// 2 with the Office 2010 settings key, else 1 with the Office 2007 one, else 0.
int GetOfficeVersion();
// The colour scheme of the active visual style: 1 "NormalColor", 2 "HomeStead", 3 "Metallic",
// else (also without visual styles) 0.
int GetXPColorScheme();
// The value "Theme" under Key, -1 when the key or the value is missing.
int ReadOfficeThemeValue(TRegistry* Registry, const String& Key);
// The Office colour theme in force (never otUnknown).
TOfficeTheme GetCurrentOfficeTheme();

// ---- Theme notifier ----

// Watches a registry key and its subtree; each change of the Filter kind sends
// WM_OFFICETHEMECHANGE to Wnd and then to every window of the list. Created suspended.
class TRegMonitorThread : public TThread {
public:
    TRegMonitorThread();
    ~TRegMonitorThread() override;

    String Key;
    HKEY RootKey = HKEY_CURRENT_USER;
    bool WatchSub = true;
    HWND Wnd = 0;

    // The notify filter; 0 reads back as 15 (names, attributes, values and security).
    DWORD Filter();
    void SetFilter(DWORD Value) { FFilter = Value; }

    // The window list; changed on the main thread and read by the monitor, so every access goes
    // through these (serialised) calls.
    void AddWindow(HWND Value);
    void RemoveWindow(HWND Value);
    bool HasWindow(HWND Value) const;
    int WindowCount() const;

    // Asks the thread to end and wakes it.
    void Stop();

    // Monitor threads alive in the process (for checks that they end).
    static int LiveCount();

protected:
    void Execute() override;

private:
    DWORD FFilter = 0;
    mutable std::mutex FListLock;
    THandleList* FWinList;
    TRegChangeEvent* FEvent;
    TRegistry* FReg;
};

// The invisible window that receives WM_OFFICETHEMECHANGE.
class TThemeNotifierWindow : public TWinControl {
public:
    explicit TThemeNotifierWindow(TComponent* AOwner);

    TNotifyEvent OnOfficeThemeChange;

    void WndProc(TMessage& Message) override;
};

// Tells registered windows that the Office colour theme changed. Without an Office installation
// it has neither window nor monitor thread, and registering does nothing.
class TThemeNotifier : public TComponent {
public:
    explicit TThemeNotifier(TComponent* AOwner);
    ~TThemeNotifier() override;

    void RegisterWindow(HWND Hwnd);
    void UnRegisterWindow(HWND Hwnd);

    // The hidden window (nullptr without Office) and whether a monitor thread runs.
    TThemeNotifierWindow* Notifier() const { return FNotifier; }
    bool HasMonitor() const;
    // The monitor's key (empty without a monitor) and its window list.
    String MonitoredKey() const;
    bool IsRegistered(HWND Hwnd) const;
    int RegisteredCount() const;

    TNotifyEvent OnOfficeThemeChange;

private:
    struct TMonitorLink;
    std::shared_ptr<TMonitorLink> FLink;
    TThemeNotifierWindow* FNotifier = nullptr;
};

// The process-wide notifier, made on first use: owned by the application's main form when that
// form has its window, else by AOwner. Freed with its owner; a later call makes a new one.
TThemeNotifier* GetThemeNotifier(TComponent* AOwner);
// The process-wide notifier if one exists.
TThemeNotifier* CurrentThemeNotifier();
