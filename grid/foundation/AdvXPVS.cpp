#include "AdvXPVS.h"

#include "SysUtils.h"

TThemeBinding::TThemeBinding(const char* UnitName, int FirstLine)
    : FUnitName(UnitName), FFirstLine(FirstLine) {}

FARPROC TThemeBinding::Lookup(HMODULE Library, const char* Name) {
    return GetProcAddress(Library, Name);
}

void TThemeBinding::InitThemeLibrary() {
    if (FLoaded) return;
    const HMODULE library = LoadLibrary(QStringLiteral("UXTHEME.DLL"));
    if (library < 32) return;
    FLibrary = library;
    FLoaded = true;
    int line = FFirstLine;
    // Each entry point in the library's order; a missing one stops the binding with the
    // assertion failure of its line.
    auto bind = [&](auto& Variable, const char* Name) {
        const FARPROC p = Lookup(FLibrary, Name);
        if (!p)
            throw EAssertionFailed(Format(QStringLiteral("%s (%s, line %d)"),
                                          QStringLiteral("Assertion failure"), QString::fromLatin1(FUnitName),
                                          line));
        Variable = reinterpret_cast<std::remove_reference_t<decltype(Variable)>>(p);
        line += 3;
    };
    bind(OpenThemeData, "OpenThemeData");
    bind(CloseThemeData, "CloseThemeData");
    bind(DrawThemeBackground, "DrawThemeBackground");
    bind(DrawThemeText, "DrawThemeText");
    bind(GetThemeBackgroundContentRect, "GetThemeBackgroundContentRect");
    bind(GetThemeBackgroundExtent, "GetThemeBackgroundExtent");
    bind(GetThemeTextExtent, "GetThemeTextExtent");
    bind(GetThemeTextMetrics, "GetThemeTextMetrics");
    bind(GetThemeBackgroundRegion, "GetThemeBackgroundRegion");
    bind(HitTestThemeBackground, "HitTestThemeBackground");
    bind(DrawThemeEdge, "DrawThemeEdge");
    bind(DrawThemeIcon, "DrawThemeIcon");
    bind(IsThemePartDefined, "IsThemePartDefined");
    bind(IsThemeBackgroundPartiallyTransparent, "IsThemeBackgroundPartiallyTransparent");
    bind(GetThemeColor, "GetThemeColor");
    bind(GetThemeMetric, "GetThemeMetric");
    bind(GetThemeString, "GetThemeString");
    bind(GetThemeBool, "GetThemeBool");
    bind(GetThemeInt, "GetThemeInt");
    bind(GetThemeEnumValue, "GetThemeEnumValue");
    bind(GetThemePosition, "GetThemePosition");
    bind(GetThemeFont, "GetThemeFont");
    bind(GetThemeRect, "GetThemeRect");
    bind(GetThemeMargins, "GetThemeMargins");
    bind(GetThemeIntList, "GetThemeIntList");
    bind(SetWindowTheme, "SetWindowTheme");
    bind(GetThemeFilename, "GetThemeFilename");
    bind(GetThemeSysColor, "GetThemeSysColor");
    bind(GetThemeSysColorBrush, "GetThemeSysColorBrush");
    bind(GetThemeSysBool, "GetThemeSysBool");
    bind(GetThemeSysSize, "GetThemeSysSize");
    bind(GetThemeSysFont, "GetThemeSysFont");
    bind(GetThemeSysString, "GetThemeSysString");
    bind(GetThemeSysInt, "GetThemeSysInt");
    bind(IsThemeActive, "IsThemeActive");
    bind(IsAppThemed, "IsAppThemed");
    bind(GetWindowTheme, "GetWindowTheme");
    bind(EnableThemeDialogTexture, "EnableThemeDialogTexture");
    bind(IsThemeDialogTextureEnabled, "IsThemeDialogTextureEnabled");
    bind(GetThemeAppProperties, "GetThemeAppProperties");
    bind(SetThemeAppProperties, "SetThemeAppProperties");
    bind(GetCurrentThemeName, "GetCurrentThemeName");
    bind(GetThemeDocumentationProperty, "GetThemeDocumentationProperty");
    bind(DrawThemeParentBackground, "DrawThemeParentBackground");
    bind(EnableTheming, "EnableTheming");
}

void TThemeBinding::FreeThemeLibrary() {
    if (!FLoaded) return;
    FreeLibrary(FLibrary);
    FLibrary = 0;
    FLoaded = false;
}

void TThemeBinding::Startup() {
    if (FCounter-- == 0) InitThemeLibrary();
}

void TThemeBinding::Shutdown() {
    if (FCounter++ == -1) FreeThemeLibrary();
}

TThemeBinding AdvXPVS("AdvXPVS", 1533);

namespace {

// Binds at program start and releases at its end.
struct TAdvXPVSUnit {
    TAdvXPVSUnit() { AdvXPVS.Startup(); }
    ~TAdvXPVSUnit() { AdvXPVS.Shutdown(); }
} AdvXPVSUnit;

} // namespace
