#include "Themes.h"

#include "StandIn.h"

#include <QApplication>
#include <QPainter>
#include <QStyle>
#include <QStyleFactory>
#include <QStyleOption>

#include <map>
#include <mutex>

namespace {

// ---- Theme handles ----

std::mutex ThemeLock;
std::map<HTHEME, String>& OpenThemes() {
    static std::map<HTHEME, String> themes;
    return themes;
}
HTHEME NextTheme = 0x100;

const char* const KnownClasses[] = {"button",    "combobox", "spin",    "header",   "progress", "edit",
                                    "scrollbar", "tab",      "toolbar", "treeview", "listview", "window"};

String ThemeClass(HTHEME Theme) {
    std::lock_guard<std::mutex> lock(ThemeLock);
    auto it = OpenThemes().find(Theme);
    return it == OpenThemes().end() ? String() : it->second;
}

bool ThemeActive() {
    return PlatformSwitches().VisualStylesAvailable && PlatformSwitches().VisualStylesActive;
}

// The one style the library draws with.
QStyle* DrawingStyle() {
    if (!qobject_cast<QApplication*>(QCoreApplication::instance())) return nullptr;
    static QStyle* style = [] {
        QStyle* s = QStyleFactory::create(QStringLiteral("Fusion"));
        if (!s) s = QApplication::style();
        return s;
    }();
    return style;
}

QRect ToQRect(const TRect& R) {
    return QRect(R.Left, R.Top, R.Width(), R.Height());
}

String FromWide(LPCWSTR Text, int Count) {
    if (!Text) return String();
    if (Count < 0) return QString::fromUtf16(Text);
    return QString::fromUtf16(Text, Count);
}

void CopyToBuffer(const String& Value, LPWSTR Buffer, int Size) {
    if (!Buffer || Size <= 0) return;
    const int n = std::min(int(Value.size()), Size - 1);
    for (int i = 0; i < n; ++i) Buffer[i] = Value[i].unicode();
    Buffer[n] = 0;
}

// The style's standard palette, which a style makes anew on each call (a part drawn per grid
// cell would pay for it each time): kept for the last style asked, known by its object and class.
QPalette StandardPalette(QStyle* Style) {
    static const QStyle* style = nullptr;
    static const QMetaObject* kind = nullptr;
    static QPalette* palette = new QPalette; // outlives the statics a palette's brushes use
    if (Style != style || Style->metaObject() != kind) {
        *palette = Style->standardPalette();
        style = Style;
        kind = Style->metaObject();
    }
    return *palette;
}

// Style state flags of a normal / hot / pressed / disabled state (1..4).
QStyle::State ButtonState(int State) {
    QStyle::State s = QStyle::State_Raised;
    if (State != 4) s |= QStyle::State_Enabled;
    if (State == 2) s |= QStyle::State_MouseOver;
    if (State == 3) s = (s & ~QStyle::State_Raised) | QStyle::State_Sunken | QStyle::State_On;
    return s;
}

// A button panel with an arrow in it (combo and spin buttons).
void DrawArrowButton(QStyle* Style, QPainter* P, const QRect& R, int State, QStyle::PrimitiveElement Arrow) {
    QStyleOptionButton opt;
    opt.rect = R;
    opt.palette = StandardPalette(Style);
    opt.state = ButtonState(State);
    Style->drawPrimitive(QStyle::PE_PanelButtonCommand, &opt, P);
    QStyleOption arrow;
    arrow.rect = R.adjusted(R.width() / 4, R.height() / 4, -R.width() / 4, -R.height() / 4);
    arrow.palette = opt.palette;
    arrow.state = opt.state;
    Style->drawPrimitive(Arrow, &arrow, P);
}

void DrawPart(QStyle* Style, QPainter* P, const String& Class, int Part, int State, const QRect& R) {
    const QPalette pal = StandardPalette(Style);
    if (Class == QLatin1String("button")) {
        QStyleOptionButton opt;
        opt.rect = R;
        opt.palette = pal;
        if (Part == BP_PUSHBUTTON) {
            opt.state = ButtonState(State == PBS_DEFAULTED ? PBS_NORMAL : State);
            if (State == PBS_DEFAULTED) opt.features |= QStyleOptionButton::DefaultButton;
            Style->drawControl(QStyle::CE_PushButtonBevel, &opt, P);
        } else if (Part == BP_CHECKBOX || Part == BP_RADIOBUTTON) {
            const int group = (State - 1) / 4; // 0 unchecked, 1 checked, 2 mixed
            const int sub = (State - 1) % 4 + 1;
            opt.state = ButtonState(sub) & ~QStyle::State_Raised;
            opt.state |=
                group == 1 ? QStyle::State_On : (group == 2 ? QStyle::State_NoChange : QStyle::State_Off);
            Style->drawPrimitive(Part == BP_CHECKBOX ? QStyle::PE_IndicatorCheckBox
                                                     : QStyle::PE_IndicatorRadioButton,
                                 &opt, P);
        }
    } else if (Class == QLatin1String("combobox")) {
        if (Part == CP_DROPDOWNBUTTON) DrawArrowButton(Style, P, R, State, QStyle::PE_IndicatorArrowDown);
    } else if (Class == QLatin1String("spin")) {
        static const QStyle::PrimitiveElement arrows[] = {
            QStyle::PE_IndicatorArrowUp, QStyle::PE_IndicatorArrowDown, QStyle::PE_IndicatorArrowRight,
            QStyle::PE_IndicatorArrowLeft};
        if (Part >= SPNP_UP && Part <= SPNP_DOWNHORZ) DrawArrowButton(Style, P, R, State, arrows[Part - 1]);
    } else if (Class == QLatin1String("header")) {
        QStyleOptionHeader opt;
        opt.rect = R;
        opt.palette = pal;
        opt.state = ButtonState(State);
        Style->drawControl(QStyle::CE_HeaderSection, &opt, P);
    } else if (Class == QLatin1String("progress")) {
        if (Part == PP_BAR || Part == PP_BARVERT) {
            QStyleOptionProgressBar opt;
            opt.rect = R;
            opt.palette = pal;
            opt.state =
                QStyle::State_Enabled | (Part == PP_BAR ? QStyle::State_Horizontal : QStyle::State_None);
            opt.minimum = 0;
            opt.maximum = 100;
            opt.progress = 0;
            Style->drawControl(QStyle::CE_ProgressBarGroove, &opt, P);
        } else if (Part == PP_CHUNK || Part == PP_CHUNKVERT) {
            P->fillRect(R, pal.color(QPalette::Highlight));
        }
    } else {
        // Edits, scroll bars, tabs, tool bars, trees, lists and windows open but draw nothing.
        PlatformStandIn("DrawThemeBackground of an undrawn theme class");
    }
}

// ---- Entry points ----

HTHEME OpenThemeData(HWND, LPCWSTR pszClassList) {
    if (!ThemeActive() || !pszClassList) return 0;
    // A list of class names separated by ";": the first known one is opened.
    const QStringList names = QString::fromUtf16(pszClassList).split(u';');
    for (const String& name : names) {
        const String lower = name.trimmed().toLower();
        for (const char* known : KnownClasses) {
            if (lower == QLatin1String(known)) {
                std::lock_guard<std::mutex> lock(ThemeLock);
                const HTHEME h = NextTheme++;
                OpenThemes()[h] = lower;
                return h;
            }
        }
    }
    return 0;
}

HRESULT CloseThemeData(HTHEME hTheme) {
    std::lock_guard<std::mutex> lock(ThemeLock);
    return OpenThemes().erase(hTheme) ? S_OK : E_HANDLE;
}

HRESULT DrawThemeBackground(HTHEME hTheme, HDC hdc, int iPartId, int iStateId, const TRect* pRect,
                            const TRect* pClipRect) {
    const String cls = ThemeClass(hTheme);
    if (cls.isEmpty()) return E_HANDLE;
    if (!hdc || !pRect) return E_INVALIDARG;
    QStyle* style = DrawingStyle();
    if (!style) return E_FAIL;
    QPainter* p = hdc->BeginPainter();
    if (!p) return E_FAIL;
    if (pClipRect)
        p->setClipRect(ToQRect(*pClipRect), p->hasClipping() ? Qt::IntersectClip : Qt::ReplaceClip);
    DrawPart(style, p, cls, iPartId, iStateId, ToQRect(*pRect));
    hdc->EndPainter(p);
    return S_OK;
}

HRESULT DrawThemeText(HTHEME hTheme, HDC hdc, int, int, LPCWSTR pszText, int iCharCount, DWORD dwTextFlags,
                      DWORD, const TRect* pRect) {
    if (ThemeClass(hTheme).isEmpty()) return E_HANDLE;
    if (!hdc || !pRect) return E_INVALIDARG;
    TRect r = *pRect;
    const int oldMode = hdc->SetBkMode(TRANSPARENT);
    DrawText(hdc, FromWide(pszText, iCharCount), r, dwTextFlags);
    hdc->SetBkMode(oldMode);
    return S_OK;
}

HRESULT GetThemeBackgroundContentRect(HTHEME hTheme, HDC, int, int, const TRect* pBoundingRect,
                                      TRect* pContentRect) {
    if (ThemeClass(hTheme).isEmpty()) return E_HANDLE;
    if (!pBoundingRect || !pContentRect) return E_INVALIDARG;
    const TRect& b = *pBoundingRect;
    *pContentRect = TRect(b.Left + 2, b.Top + 2, b.Right - 2, b.Bottom - 2);
    return S_OK;
}

HRESULT GetThemeBackgroundExtent(HTHEME hTheme, HDC, int, int, const TRect* pContentRect,
                                 TRect* pExtentRect) {
    if (ThemeClass(hTheme).isEmpty()) return E_HANDLE;
    if (!pContentRect || !pExtentRect) return E_INVALIDARG;
    const TRect& c = *pContentRect;
    *pExtentRect = TRect(c.Left - 2, c.Top - 2, c.Right + 2, c.Bottom + 2);
    return S_OK;
}

HRESULT GetThemeTextExtent(HTHEME hTheme, HDC hdc, int, int, LPCWSTR pszText, int iCharCount,
                           DWORD dwTextFlags, const TRect* pBoundingRect, TRect* pExtentRect) {
    if (ThemeClass(hTheme).isEmpty()) return E_HANDLE;
    if (!hdc || !pExtentRect) return E_INVALIDARG;
    TRect r = pBoundingRect ? *pBoundingRect : TRect(0, 0, 0, 0);
    DrawText(hdc, FromWide(pszText, iCharCount), r, dwTextFlags | DT_CALCRECT);
    *pExtentRect = r;
    return S_OK;
}

HRESULT GetThemeTextMetrics(HTHEME, HDC, int, int, void*) {
    return E_NOTIMPL;
}
HRESULT GetThemeBackgroundRegion(HTHEME, HDC, int, int, const TRect*, HRGN*) {
    return E_NOTIMPL;
}
HRESULT HitTestThemeBackground(HTHEME, HDC, int, int, DWORD, const TRect*, HRGN, TPoint, Word*) {
    return E_NOTIMPL;
}

HRESULT DrawThemeEdge(HTHEME hTheme, HDC hdc, int, int, const TRect* pDestRect, UINT uEdge, UINT uFlags,
                      TRect* pContentRect) {
    if (ThemeClass(hTheme).isEmpty()) return E_HANDLE;
    if (!hdc || !pDestRect) return E_INVALIDARG;
    TRect r = *pDestRect;
    DrawEdge(hdc, r, uEdge, uFlags | (pContentRect ? BF_ADJUST : 0));
    if (pContentRect) *pContentRect = r;
    return S_OK;
}

HRESULT DrawThemeIcon(HTHEME, HDC, int, int, const TRect*, HIMAGELIST, int) {
    return E_NOTIMPL;
}

BOOL IsThemePartDefined(HTHEME hTheme, int iPartId, int) {
    const String cls = ThemeClass(hTheme);
    if (cls == QLatin1String("button")) return iPartId >= BP_PUSHBUTTON && iPartId <= BP_CHECKBOX;
    if (cls == QLatin1String("combobox")) return iPartId == CP_DROPDOWNBUTTON;
    if (cls == QLatin1String("spin")) return iPartId >= SPNP_UP && iPartId <= SPNP_DOWNHORZ;
    if (cls == QLatin1String("header")) return iPartId == HP_HEADERITEM || iPartId == HP_HEADERITEMRIGHT;
    if (cls == QLatin1String("progress")) return iPartId >= PP_BAR && iPartId <= PP_CHUNKVERT;
    return false;
}

BOOL IsThemeBackgroundPartiallyTransparent(HTHEME hTheme, int iPartId, int) {
    return ThemeClass(hTheme) == QLatin1String("button") &&
           (iPartId == BP_CHECKBOX || iPartId == BP_RADIOBUTTON);
}

HRESULT GetThemeColor(HTHEME, int, int, int, COLORREF*) {
    return E_NOTIMPL;
}
HRESULT GetThemeMetric(HTHEME, HDC, int, int, int, int*) {
    return E_NOTIMPL;
}
HRESULT GetThemeString(HTHEME, int, int, int, LPWSTR, int) {
    return E_NOTIMPL;
}
HRESULT GetThemeBool(HTHEME, int, int, int, BOOL*) {
    return E_NOTIMPL;
}
HRESULT GetThemeInt(HTHEME, int, int, int, int*) {
    return E_NOTIMPL;
}
HRESULT GetThemeEnumValue(HTHEME, int, int, int, int*) {
    return E_NOTIMPL;
}
HRESULT GetThemePosition(HTHEME, int, int, int, TPoint*) {
    return E_NOTIMPL;
}
HRESULT GetThemeFont(HTHEME, HDC, int, int, int, void*) {
    return E_NOTIMPL;
}
HRESULT GetThemeRect(HTHEME, int, int, int, TRect*) {
    return E_NOTIMPL;
}
HRESULT GetThemeMargins(HTHEME, HDC, int, int, int, TRect*, MARGINS* pMargins) {
    if (pMargins) *pMargins = MARGINS();
    return E_NOTIMPL;
}
HRESULT GetThemeIntList(HTHEME, int, int, int, void*) {
    return E_NOTIMPL;
}
HRESULT SetWindowTheme(HWND, LPCWSTR, LPCWSTR) {
    PlatformStandIn("SetWindowTheme");
    return S_OK;
}
HRESULT GetThemeFilename(HTHEME, int, int, int, LPWSTR, int) {
    return E_NOTIMPL;
}
COLORREF GetThemeSysColor(HTHEME, int iColorId) {
    return COLORREF(GetSysColor(iColorId));
}
HBRUSH GetThemeSysColorBrush(HTHEME, int) {
    return nullptr;
}
BOOL GetThemeSysBool(HTHEME, int) {
    PlatformStandIn("GetThemeSysBool");
    return 0;
}
int GetThemeSysSize(HTHEME, int) {
    PlatformStandIn("GetThemeSysSize");
    return 0;
}
HRESULT GetThemeSysFont(HTHEME, int, void*) {
    return E_NOTIMPL;
}
HRESULT GetThemeSysString(HTHEME, int, LPWSTR, int) {
    return E_NOTIMPL;
}
HRESULT GetThemeSysInt(HTHEME, int, int*) {
    return E_NOTIMPL;
}
BOOL IsThemeActive() {
    return ThemeActive();
}
BOOL IsAppThemed() {
    return ThemeActive();
}
HTHEME GetWindowTheme(HWND) {
    return 0;
}
HRESULT EnableThemeDialogTexture(HWND, DWORD) {
    PlatformStandIn("EnableThemeDialogTexture");
    return S_OK;
}
BOOL IsThemeDialogTextureEnabled(HWND) {
    return 0;
}

DWORD ThemeAppProperties = 7; // non-client area, controls and web content themed
DWORD GetThemeAppProperties() {
    return ThemeAppProperties;
}
void SetThemeAppProperties(DWORD dwFlags) {
    ThemeAppProperties = dwFlags;
}

HRESULT GetCurrentThemeName(LPWSTR pszThemeFileName, int cchMaxNameChars, LPWSTR pszColorBuff,
                            int cchMaxColorChars, LPWSTR pszSizeBuff, int cchMaxSizeChars) {
    if (!ThemeActive()) return E_FAIL;
    CopyToBuffer(QStringLiteral("Aero.msstyles"), pszThemeFileName, cchMaxNameChars);
    CopyToBuffer(PlatformSwitches().ThemeColorName, pszColorBuff, cchMaxColorChars);
    CopyToBuffer(QStringLiteral("NormalSize"), pszSizeBuff, cchMaxSizeChars);
    return S_OK;
}

HRESULT GetThemeDocumentationProperty(LPCWSTR, LPCWSTR, LPWSTR, int) {
    return E_NOTIMPL;
}
HRESULT DrawThemeParentBackground(HWND, HDC, const TRect*) {
    PlatformStandIn("DrawThemeParentBackground");
    return S_OK;
}

HRESULT EnableTheming(BOOL fEnable) {
    PlatformSwitches().VisualStylesActive = fEnable != 0;
    return S_OK;
}

template <class F> FARPROC Export(F f) {
    return reinterpret_cast<FARPROC>(f);
}

} // namespace

const std::vector<std::pair<const char*, FARPROC>>& VisualStylesLibraryExports() {
    static const std::vector<std::pair<const char*, FARPROC>> exports = {
        {"OpenThemeData", Export(&OpenThemeData)},
        {"CloseThemeData", Export(&CloseThemeData)},
        {"DrawThemeBackground", Export(&DrawThemeBackground)},
        {"DrawThemeText", Export(&DrawThemeText)},
        {"GetThemeBackgroundContentRect", Export(&GetThemeBackgroundContentRect)},
        {"GetThemeBackgroundExtent", Export(&GetThemeBackgroundExtent)},
        {"GetThemeTextExtent", Export(&GetThemeTextExtent)},
        {"GetThemeTextMetrics", Export(&GetThemeTextMetrics)},
        {"GetThemeBackgroundRegion", Export(&GetThemeBackgroundRegion)},
        {"HitTestThemeBackground", Export(&HitTestThemeBackground)},
        {"DrawThemeEdge", Export(&DrawThemeEdge)},
        {"DrawThemeIcon", Export(&DrawThemeIcon)},
        {"IsThemePartDefined", Export(&IsThemePartDefined)},
        {"IsThemeBackgroundPartiallyTransparent", Export(&IsThemeBackgroundPartiallyTransparent)},
        {"GetThemeColor", Export(&GetThemeColor)},
        {"GetThemeMetric", Export(&GetThemeMetric)},
        {"GetThemeString", Export(&GetThemeString)},
        {"GetThemeBool", Export(&GetThemeBool)},
        {"GetThemeInt", Export(&GetThemeInt)},
        {"GetThemeEnumValue", Export(&GetThemeEnumValue)},
        {"GetThemePosition", Export(&GetThemePosition)},
        {"GetThemeFont", Export(&GetThemeFont)},
        {"GetThemeRect", Export(&GetThemeRect)},
        {"GetThemeMargins", Export(&GetThemeMargins)},
        {"GetThemeIntList", Export(&GetThemeIntList)},
        {"SetWindowTheme", Export(&SetWindowTheme)},
        {"GetThemeFilename", Export(&GetThemeFilename)},
        {"GetThemeSysColor", Export(&GetThemeSysColor)},
        {"GetThemeSysColorBrush", Export(&GetThemeSysColorBrush)},
        {"GetThemeSysBool", Export(&GetThemeSysBool)},
        {"GetThemeSysSize", Export(&GetThemeSysSize)},
        {"GetThemeSysFont", Export(&GetThemeSysFont)},
        {"GetThemeSysString", Export(&GetThemeSysString)},
        {"GetThemeSysInt", Export(&GetThemeSysInt)},
        {"IsThemeActive", Export(&IsThemeActive)},
        {"IsAppThemed", Export(&IsAppThemed)},
        {"GetWindowTheme", Export(&GetWindowTheme)},
        {"EnableThemeDialogTexture", Export(&EnableThemeDialogTexture)},
        {"IsThemeDialogTextureEnabled", Export(&IsThemeDialogTextureEnabled)},
        {"GetThemeAppProperties", Export(&GetThemeAppProperties)},
        {"SetThemeAppProperties", Export(&SetThemeAppProperties)},
        {"GetCurrentThemeName", Export(&GetCurrentThemeName)},
        {"GetThemeDocumentationProperty", Export(&GetThemeDocumentationProperty)},
        {"DrawThemeParentBackground", Export(&DrawThemeParentBackground)},
        {"EnableTheming", Export(&EnableTheming)},
    };
    return exports;
}

int OpenThemeHandleCount() {
    std::lock_guard<std::mutex> lock(ThemeLock);
    return int(OpenThemes().size());
}

TCustomStyleServices* StyleServices() {
    static TCustomStyleServices services;
    return &services;
}
