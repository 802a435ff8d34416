// Run-time binding of the platform's visual-styles library, as the grid, its cell controls and
// the markup renderer use it. The library is bound when the program starts (when it is there)
// and released when it ends, so the program also runs without it: then every entry point stays
// unbound and everything draws the classic way.
//
// Users read the entry points of the binding and call them only on their themed drawing paths,
// and only when bound: `if (AdvXPVS.IsThemeActive && AdvXPVS.IsThemeActive()) ...`.
#pragma once

#include "OSInfo.h"
#include "System.h"
#include "Themes.h"

// The platform's assertion failure.
class EAssertionFailed : public Exception {
    using Exception::Exception;
};

// One binding of the library: its handle, whether it is loaded, one variable per entry point
// (named as the library's function) and a start-up counter.
class TThemeBinding {
public:
    // UnitName and FirstLine name the place an assertion failure reports for the first entry
    // point; the following ones are three lines apart.
    TThemeBinding(const char* UnitName, int FirstLine);
    virtual ~TThemeBinding() = default;
    TThemeBinding(const TThemeBinding&) = delete;
    TThemeBinding& operator=(const TThemeBinding&) = delete;

    // Binds the library; nothing when it is loaded already. Without the library the binding
    // stays unbound. A library lacking an entry point raises EAssertionFailed
    // "Assertion failure (<unit>, line <n>)" and binding stops there.
    void InitThemeLibrary();
    // Releases the library when loaded; the entry points keep their values.
    void FreeThemeLibrary();

    // Start-up and shutdown of the unit: the first start-up binds, the last shutdown releases.
    void Startup();
    void Shutdown();

    bool Loaded() const { return FLoaded; }
    HMODULE LibraryHandle() const { return FLibrary; }
    const char* UnitName() const { return FUnitName; }

    TOpenThemeData OpenThemeData = nullptr;
    TCloseThemeData CloseThemeData = nullptr;
    TDrawThemeBackground DrawThemeBackground = nullptr;
    TDrawThemeText DrawThemeText = nullptr;
    TGetThemeBackgroundContentRect GetThemeBackgroundContentRect = nullptr;
    TGetThemeBackgroundExtent GetThemeBackgroundExtent = nullptr;
    TGetThemeTextExtent GetThemeTextExtent = nullptr;
    TGetThemeTextMetrics GetThemeTextMetrics = nullptr;
    TGetThemeBackgroundRegion GetThemeBackgroundRegion = nullptr;
    THitTestThemeBackground HitTestThemeBackground = nullptr;
    TDrawThemeEdge DrawThemeEdge = nullptr;
    TDrawThemeIcon DrawThemeIcon = nullptr;
    TIsThemePartDefined IsThemePartDefined = nullptr;
    TIsThemeBackgroundPartiallyTransparent IsThemeBackgroundPartiallyTransparent = nullptr;
    TGetThemeColor GetThemeColor = nullptr;
    TGetThemeMetric GetThemeMetric = nullptr;
    TGetThemeString GetThemeString = nullptr;
    TGetThemeBool GetThemeBool = nullptr;
    TGetThemeInt GetThemeInt = nullptr;
    TGetThemeEnumValue GetThemeEnumValue = nullptr;
    TGetThemePosition GetThemePosition = nullptr;
    TGetThemeFont GetThemeFont = nullptr;
    TGetThemeRect GetThemeRect = nullptr;
    TGetThemeMargins GetThemeMargins = nullptr;
    TGetThemeIntList GetThemeIntList = nullptr;
    TSetWindowTheme SetWindowTheme = nullptr;
    TGetThemeFilename GetThemeFilename = nullptr;
    TGetThemeSysColor GetThemeSysColor = nullptr;
    TGetThemeSysColorBrush GetThemeSysColorBrush = nullptr;
    TGetThemeSysBool GetThemeSysBool = nullptr;
    TGetThemeSysSize GetThemeSysSize = nullptr;
    TGetThemeSysFont GetThemeSysFont = nullptr;
    TGetThemeSysString GetThemeSysString = nullptr;
    TGetThemeSysInt GetThemeSysInt = nullptr;
    TIsThemeActive IsThemeActive = nullptr;
    TIsAppThemed IsAppThemed = nullptr;
    TGetWindowTheme GetWindowTheme = nullptr;
    TEnableThemeDialogTexture EnableThemeDialogTexture = nullptr;
    TIsThemeDialogTextureEnabled IsThemeDialogTextureEnabled = nullptr;
    TGetThemeAppProperties GetThemeAppProperties = nullptr;
    TSetThemeAppProperties SetThemeAppProperties = nullptr;
    TGetCurrentThemeName GetCurrentThemeName = nullptr;
    TGetThemeDocumentationProperty GetThemeDocumentationProperty = nullptr;
    TDrawThemeParentBackground DrawThemeParentBackground = nullptr;
    TEnableTheming EnableTheming = nullptr;

protected:
    // Looks an entry point up in the library (the platform's GetProcAddress).
    virtual FARPROC Lookup(HMODULE Library, const char* Name);

private:
    const char* FUnitName;
    int FFirstLine;
    HMODULE FLibrary = 0;
    bool FLoaded = false;
    int FCounter = 0;
};

// The binding of the grid, its cell controls and the markup renderer.
extern TThemeBinding AdvXPVS;
