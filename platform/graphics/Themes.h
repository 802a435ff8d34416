// The platform's visual-styles library ("UXTHEME.DLL") and application styles.
//
// Code reaches the library only as the platform's programs do: it loads it by name and looks up
// its entry points (see OSInfo.h: LoadLibrary, GetProcAddress), so that a system without it
// (PlatformSwitches().VisualStylesAvailable false) draws everything the classic way. The types
// of the 45 entry points are declared here; the library draws its parts through QStyle (one fixed
// style, so pictures are the same on every machine) into the canvas that stands for the device
// context.
//
// Theme classes drawn: "button" (push button, radio button, check box), "combobox" (drop-down
// button), "spin" (up, down, and their horizontal forms), "header" (item), "Progress" (bar and
// chunk, horizontal and vertical). Other classes open but draw nothing (a stand-in).
#pragma once

#include "Graphics.h"
#include "Messages.h"
#include "OSInfo.h"

#include <utility>
#include <vector>

using HTHEME = uintptr_t;
using LPCWSTR = const char16_t*;
using LPWSTR = char16_t*;
using HRGN = void*;
using HBRUSH = void*;
using HIMAGELIST = void*;

struct MARGINS {
    int cxLeftWidth = 0;
    int cxRightWidth = 0;
    int cyTopHeight = 0;
    int cyBottomHeight = 0;
};

// Parts and states of the classes drawn.
constexpr int BP_PUSHBUTTON = 1;
constexpr int BP_RADIOBUTTON = 2;
constexpr int BP_CHECKBOX = 3;
constexpr int PBS_NORMAL = 1;
constexpr int PBS_HOT = 2;
constexpr int PBS_PRESSED = 3;
constexpr int PBS_DISABLED = 4;
constexpr int PBS_DEFAULTED = 5;
// Check boxes: 1-4 unchecked, 5-8 checked, 9-12 mixed (each normal, hot, pressed, disabled).
constexpr int CBS_UNCHECKEDNORMAL = 1;
constexpr int CBS_CHECKEDNORMAL = 5;
constexpr int CBS_MIXEDNORMAL = 9;
// Radio buttons: 1-4 unchecked, 5-8 checked.
constexpr int RBS_UNCHECKEDNORMAL = 1;
constexpr int RBS_CHECKEDNORMAL = 5;
constexpr int CP_DROPDOWNBUTTON = 1;
constexpr int CBXS_NORMAL = 1;
constexpr int CBXS_HOT = 2;
constexpr int CBXS_PRESSED = 3;
constexpr int CBXS_DISABLED = 4;
constexpr int SPNP_UP = 1;
constexpr int SPNP_DOWN = 2;
constexpr int SPNP_UPHORZ = 3;
constexpr int SPNP_DOWNHORZ = 4;
constexpr int HP_HEADERITEM = 1;
constexpr int HP_HEADERITEMRIGHT = 3;
constexpr int HIS_NORMAL = 1;
constexpr int HIS_HOT = 2;
constexpr int HIS_PRESSED = 3;
constexpr int PP_BAR = 1;
constexpr int PP_BARVERT = 2;
constexpr int PP_CHUNK = 3;
constexpr int PP_CHUNKVERT = 4;

// Types of the entry points, in the library's binding order.
using TOpenThemeData = HTHEME (*)(HWND hwnd, LPCWSTR pszClassList);
using TCloseThemeData = HRESULT (*)(HTHEME hTheme);
using TDrawThemeBackground = HRESULT (*)(HTHEME hTheme, HDC hdc, int iPartId, int iStateId,
                                         const TRect* pRect, const TRect* pClipRect);
using TDrawThemeText = HRESULT (*)(HTHEME hTheme, HDC hdc, int iPartId, int iStateId, LPCWSTR pszText,
                                   int iCharCount, DWORD dwTextFlags, DWORD dwTextFlags2, const TRect* pRect);
using TGetThemeBackgroundContentRect = HRESULT (*)(HTHEME hTheme, HDC hdc, int iPartId, int iStateId,
                                                   const TRect* pBoundingRect, TRect* pContentRect);
using TGetThemeBackgroundExtent = HRESULT (*)(HTHEME hTheme, HDC hdc, int iPartId, int iStateId,
                                              const TRect* pContentRect, TRect* pExtentRect);
using TGetThemeTextExtent = HRESULT (*)(HTHEME hTheme, HDC hdc, int iPartId, int iStateId, LPCWSTR pszText,
                                        int iCharCount, DWORD dwTextFlags, const TRect* pBoundingRect,
                                        TRect* pExtentRect);
using TGetThemeTextMetrics = HRESULT (*)(HTHEME hTheme, HDC hdc, int iPartId, int iStateId, void* ptm);
using TGetThemeBackgroundRegion = HRESULT (*)(HTHEME hTheme, HDC hdc, int iPartId, int iStateId,
                                              const TRect* pRect, HRGN* pRegion);
using THitTestThemeBackground = HRESULT (*)(HTHEME hTheme, HDC hdc, int iPartId, int iStateId,
                                            DWORD dwOptions, const TRect* pRect, HRGN hrgn, TPoint ptTest,
                                            Word* pwHitTestCode);
using TDrawThemeEdge = HRESULT (*)(HTHEME hTheme, HDC hdc, int iPartId, int iStateId, const TRect* pDestRect,
                                   UINT uEdge, UINT uFlags, TRect* pContentRect);
using TDrawThemeIcon = HRESULT (*)(HTHEME hTheme, HDC hdc, int iPartId, int iStateId, const TRect* pRect,
                                   HIMAGELIST himl, int iImageIndex);
using TIsThemePartDefined = BOOL (*)(HTHEME hTheme, int iPartId, int iStateId);
using TIsThemeBackgroundPartiallyTransparent = BOOL (*)(HTHEME hTheme, int iPartId, int iStateId);
using TGetThemeColor = HRESULT (*)(HTHEME hTheme, int iPartId, int iStateId, int iPropId, COLORREF* pColor);
using TGetThemeMetric = HRESULT (*)(HTHEME hTheme, HDC hdc, int iPartId, int iStateId, int iPropId,
                                    int* piVal);
using TGetThemeString = HRESULT (*)(HTHEME hTheme, int iPartId, int iStateId, int iPropId, LPWSTR pszBuff,
                                    int cchMaxBuffChars);
using TGetThemeBool = HRESULT (*)(HTHEME hTheme, int iPartId, int iStateId, int iPropId, BOOL* pfVal);
using TGetThemeInt = HRESULT (*)(HTHEME hTheme, int iPartId, int iStateId, int iPropId, int* piVal);
using TGetThemeEnumValue = HRESULT (*)(HTHEME hTheme, int iPartId, int iStateId, int iPropId, int* piVal);
using TGetThemePosition = HRESULT (*)(HTHEME hTheme, int iPartId, int iStateId, int iPropId, TPoint* pPoint);
using TGetThemeFont = HRESULT (*)(HTHEME hTheme, HDC hdc, int iPartId, int iStateId, int iPropId,
                                  void* pFont);
using TGetThemeRect = HRESULT (*)(HTHEME hTheme, int iPartId, int iStateId, int iPropId, TRect* pRect);
using TGetThemeMargins = HRESULT (*)(HTHEME hTheme, HDC hdc, int iPartId, int iStateId, int iPropId,
                                     TRect* prc, MARGINS* pMargins);
using TGetThemeIntList = HRESULT (*)(HTHEME hTheme, int iPartId, int iStateId, int iPropId, void* pIntList);
using TSetWindowTheme = HRESULT (*)(HWND hwnd, LPCWSTR pszSubAppName, LPCWSTR pszSubIdList);
using TGetThemeFilename = HRESULT (*)(HTHEME hTheme, int iPartId, int iStateId, int iPropId,
                                      LPWSTR pszThemeFileName, int cchMaxBuffChars);
using TGetThemeSysColor = COLORREF (*)(HTHEME hTheme, int iColorId);
using TGetThemeSysColorBrush = HBRUSH (*)(HTHEME hTheme, int iColorId);
using TGetThemeSysBool = BOOL (*)(HTHEME hTheme, int iBoolId);
using TGetThemeSysSize = int (*)(HTHEME hTheme, int iSizeId);
using TGetThemeSysFont = HRESULT (*)(HTHEME hTheme, int iFontId, void* plf);
using TGetThemeSysString = HRESULT (*)(HTHEME hTheme, int iStringId, LPWSTR pszStringBuff,
                                       int cchMaxStringChars);
using TGetThemeSysInt = HRESULT (*)(HTHEME hTheme, int iIntId, int* piValue);
using TIsThemeActive = BOOL (*)();
using TIsAppThemed = BOOL (*)();
using TGetWindowTheme = HTHEME (*)(HWND hwnd);
using TEnableThemeDialogTexture = HRESULT (*)(HWND hwnd, DWORD dwFlags);
using TIsThemeDialogTextureEnabled = BOOL (*)(HWND hwnd);
using TGetThemeAppProperties = DWORD (*)();
using TSetThemeAppProperties = void (*)(DWORD dwFlags);
using TGetCurrentThemeName = HRESULT (*)(LPWSTR pszThemeFileName, int cchMaxNameChars, LPWSTR pszColorBuff,
                                         int cchMaxColorChars, LPWSTR pszSizeBuff, int cchMaxSizeChars);
using TGetThemeDocumentationProperty = HRESULT (*)(LPCWSTR pszThemeName, LPCWSTR pszPropertyName,
                                                   LPWSTR pszValueBuff, int cchMaxValChars);
using TDrawThemeParentBackground = HRESULT (*)(HWND hwnd, HDC hdc, const TRect* prc);
using TEnableTheming = HRESULT (*)(BOOL fEnable);

// The library's exports by name, in binding order (used by the library loader).
const std::vector<std::pair<const char*, FARPROC>>& VisualStylesLibraryExports();

// Number of theme handles opened and not yet closed (for checks that every handle is closed).
int OpenThemeHandleCount();

// ---- Application styles ----

// The class library's style services: no application style is active here, so Enabled is
// false and the style is the plain "Windows" one.
class TCustomStyleServices {
public:
    bool Enabled() const { return ApplicationStylesActive(); }
    bool Available() const { return false; }
    String Name() const { return ApplicationStyleName(); }
    bool IsSystemStyle() const { return true; }
};

TCustomStyleServices* StyleServices();
