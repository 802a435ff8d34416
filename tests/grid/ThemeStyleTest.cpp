// What the platform answers about itself, the visual-styles bindings, the registry stand-in, the
// Office colour theme and the theme notifier.
#include "ATXPVS.h"
#include "AdvStyleIF.h"
#include "AdvXPVS.h"

#include "Classes.h"
#include "Controls.h"
#include "OSInfo.h"
#include "Registry.h"
#include "TempRegistryFixture.h"
#include "TestSupport.h"
#include "Themes.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cstring>

namespace {

// Runs the event loop until Cond holds or a generous bound has passed.
template <class F> bool RunUntil(F Cond) {
    QDeadlineTimer deadline(20000);
    while (!Cond() && !deadline.hasExpired()) QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    return Cond();
}

const String Office14 = QStringLiteral("Software\\Microsoft\\Office\\14.0\\Common");
const String Office12 = QStringLiteral("Software\\Microsoft\\Office\\12.0\\Common");

class RegistryFixture : public TempRegistryFixture {
protected:
    static void Write(const String& Key, const String& Name, int Value) {
        TRegistry reg;
        ASSERT_TRUE(reg.OpenKey(Key, true));
        reg.WriteInteger(Name, Value);
    }
    static void CreateKey(const String& Key) {
        TRegistry reg;
        ASSERT_TRUE(reg.CreateKey(Key));
    }
};

using OfficeTheme = RegistryFixture;
using Registry = RegistryFixture;
using ThemeNotifier = RegistryFixture;

class SwitchesFixture : public ::testing::Test {
protected:
    void TearDown() override { ResetPlatformSwitches(); }
};

using Platform = SwitchesFixture;
using ThemeBinding = SwitchesFixture;

// A binding whose library lacks one entry point.
class TBrokenBinding : public TThemeBinding {
public:
    TBrokenBinding(const char* Unit, int Line, const char* Missing)
        : TThemeBinding(Unit, Line), FMissing(Missing) {}

protected:
    FARPROC Lookup(HMODULE Library, const char* Name) override {
        return std::strcmp(Name, FMissing) == 0 ? nullptr : TThemeBinding::Lookup(Library, Name);
    }

private:
    const char* FMissing;
};

// A window that records the theme messages it receives.
class TListeningWindow : public TWinControl {
public:
    using TWinControl::TWinControl;
    void WndProc(TMessage& Message) override {
        if (Message.Msg == WM_OFFICETHEMECHANGE) {
            ++Received;
            RootKey = HKEY(Message.WParam);
            Key = QString::fromUtf16(reinterpret_cast<const char16_t*>(Message.LParam));
        }
        TWinControl::WndProc(Message);
    }
    int Received = 0;
    HKEY RootKey = 0;
    String Key;
};

} // namespace

TEST_F(Platform, FixedAnswers) {
    EXPECT_EQ(Win32Platform, VER_PLATFORM_WIN32_NT);
    EXPECT_TRUE(CheckWin32Version(6, 1));
    EXPECT_FALSE(CheckWin32Version(6, 2));
    EXPECT_EQ(GetFileVersion(QStringLiteral("comctl32.dll")), 6 << 16);
    EXPECT_EQ(GetFileVersion(QStringLiteral("nothing.dll")), -1);
    EXPECT_TRUE(IsComCtl6OrLater());
    EXPECT_TRUE(IsWindowsXPOrLater());
    EXPECT_TRUE(IsVistaOrLater());
    EXPECT_EQ(GetDefaultFontName(), QStringLiteral("Segoe UI"));
    EXPECT_FALSE(ApplicationStylesActive());
    EXPECT_FALSE(StyleServices()->Enabled());
    EXPECT_EQ(StyleServices()->Name(), QStringLiteral("Windows"));
    // No flat scroll bars in the common controls.
    const HMODULE comctl = LoadLibrary(QStringLiteral("COMCTL32.DLL"));
    ASSERT_GE(comctl, HMODULE(32));
    EXPECT_EQ(GetProcAddress(comctl, "InitializeFlatSB"), nullptr);
    FreeLibrary(comctl);
    EXPECT_FALSE(FlatScrollBarsAvailable());
}

TEST_F(ThemeBinding, BothUnitsAreBoundAtStartWithSeparateLoads) {
    ASSERT_TRUE(AdvXPVS.Loaded());
    ASSERT_TRUE(ATXPVS.Loaded());
    EXPECT_NE(AdvXPVS.OpenThemeData, nullptr);
    EXPECT_NE(ATXPVS.IsThemeActive, nullptr);
    const int loads = ModuleLoadCount(QStringLiteral("UXTHEME.DLL"));
    EXPECT_GE(loads, 2);
    ATXPVS.FreeThemeLibrary();
    EXPECT_FALSE(ATXPVS.Loaded());
    EXPECT_TRUE(AdvXPVS.Loaded());
    EXPECT_EQ(ModuleLoadCount(QStringLiteral("UXTHEME.DLL")), loads - 1);
    EXPECT_NE(GetModuleHandle(QStringLiteral("uxtheme")), HMODULE(0));
    ATXPVS.FreeThemeLibrary(); // released once only
    EXPECT_EQ(ModuleLoadCount(QStringLiteral("UXTHEME.DLL")), loads - 1);
    ATXPVS.InitThemeLibrary();
    EXPECT_EQ(ModuleLoadCount(QStringLiteral("UXTHEME.DLL")), loads);
}

TEST_F(ThemeBinding, StartupAndShutdownBindAndReleaseOnce) {
    const int loads = ModuleLoadCount(QStringLiteral("UXTHEME.DLL"));
    TThemeBinding b("Test", 1);
    b.Startup();
    b.Startup();
    EXPECT_TRUE(b.Loaded());
    EXPECT_EQ(ModuleLoadCount(QStringLiteral("UXTHEME.DLL")), loads + 1);
    b.Shutdown();
    EXPECT_TRUE(b.Loaded());
    b.Shutdown();
    EXPECT_FALSE(b.Loaded());
    EXPECT_EQ(ModuleLoadCount(QStringLiteral("UXTHEME.DLL")), loads);
    EXPECT_NE(b.DrawThemeBackground, nullptr); // the variables keep their values
}

TEST_F(ThemeBinding, WithoutTheLibraryEverythingStaysUnbound) {
    PlatformSwitches().VisualStylesAvailable = false;
    TThemeBinding b("Test", 1);
    b.Startup();
    EXPECT_FALSE(b.Loaded());
    EXPECT_EQ(b.OpenThemeData, nullptr);
    EXPECT_EQ(b.IsThemeActive, nullptr);
    b.Shutdown();
    EXPECT_EQ(GetFileVersion(QStringLiteral("UXTHEME.DLL")), -1);
}

TEST_F(ThemeBinding, MissingEntryPointIsAnAssertionFailure) {
    struct Case {
        const char* Unit;
        int FirstLine;
        const char* Missing;
        const char* Message;
    } cases[] = {
        {"AdvXPVS", 1533, "OpenThemeData", "Assertion failure (AdvXPVS, line 1533)"},
        {"AdvXPVS", 1533, "GetThemeColor", "Assertion failure (AdvXPVS, line 1575)"},
        {"ATXPVS", 1537, "EnableTheming", "Assertion failure (ATXPVS, line 1669)"},
    };
    for (const Case& c : cases) {
        TBrokenBinding b(c.Unit, c.FirstLine, c.Missing);
        try {
            b.InitThemeLibrary();
            ADD_FAILURE() << c.Missing;
        } catch (const EAssertionFailed& e) {
            EXPECT_EQ(e.Message(), QString::fromLatin1(c.Message));
        }
        EXPECT_EQ(b.EnableTheming, nullptr); // binding stopped at the failure
        b.FreeThemeLibrary();
    }
}

TEST_F(ThemeBinding, ThemeHandlesOpenOnlyWhileStylesAreActive) {
    const HTHEME h = AdvXPVS.OpenThemeData(0, u"nonsense;Button");
    EXPECT_NE(h, HTHEME(0));
    EXPECT_EQ(AdvXPVS.CloseThemeData(h), S_OK);
    EXPECT_EQ(AdvXPVS.OpenThemeData(0, u"nonsense"), HTHEME(0));
    PlatformSwitches().VisualStylesActive = false;
    EXPECT_FALSE(AdvXPVS.IsThemeActive());
    EXPECT_EQ(AdvXPVS.OpenThemeData(0, u"button"), HTHEME(0));
    EXPECT_EQ(OpenThemeHandleCount(), 0);
}

TEST_F(Platform, ColourSchemeOfTheVisualStyle) {
    const int loads = ModuleLoadCount(QStringLiteral("UXTHEME.DLL"));
    struct Case {
        const char* ColorName;
        int Scheme;
    } cases[] = {{"NormalColor", 1}, {"HomeStead", 2}, {"Metallic", 3}, {"Aero", 0}};
    for (const Case& c : cases) {
        PlatformSwitches().ThemeColorName = QString::fromLatin1(c.ColorName);
        EXPECT_EQ(GetXPColorScheme(), c.Scheme) << c.ColorName;
    }
    PlatformSwitches().VisualStylesActive = false;
    EXPECT_EQ(GetXPColorScheme(), 0);
    PlatformSwitches().VisualStylesAvailable = false;
    EXPECT_EQ(GetXPColorScheme(), 0);
    EXPECT_EQ(ModuleLoadCount(QStringLiteral("UXTHEME.DLL")), loads); // released after each call
}

TEST_F(Registry, ValuesKeysAndTheFile) {
    {
        TRegistry reg;
        EXPECT_FALSE(reg.OpenKey(QStringLiteral("Software\\Test"), false));
        ASSERT_TRUE(reg.OpenKey(QStringLiteral("Software\\Test\\Sub"), true));
        reg.WriteInteger(QStringLiteral("Count"), -7);
        reg.WriteString(QStringLiteral("Name"), QStringLiteral("a\\b\nc=d"));
        EXPECT_EQ(reg.GetDataType(QStringLiteral("count")), rdInteger);
        EXPECT_THROW(reg.ReadInteger(QStringLiteral("Name")), ERegistryException);
        EXPECT_THROW(reg.ReadInteger(QStringLiteral("Missing")), ERegistryException);
    }
    TRegistry reg(KEY_READ);
    EXPECT_TRUE(reg.KeyExists(QStringLiteral("SOFTWARE\\test"))); // a key with a key below it
    ASSERT_TRUE(reg.OpenKeyReadOnly(QStringLiteral("Software\\Test\\Sub")));
    EXPECT_EQ(reg.ReadInteger(QStringLiteral("COUNT")), -7);
    EXPECT_EQ(reg.ReadString(QStringLiteral("name")), QStringLiteral("a\\b\nc=d"));
    EXPECT_THROW(reg.WriteInteger(QStringLiteral("Count"), 1), ERegistryException); // read-only
    TStringList* names = new TStringList;
    auto freeNames = FreeAtEnd(names);
    reg.GetValueNames(names);
    EXPECT_EQ(names->Count(), 2);
    reg.OpenKeyReadOnly(QStringLiteral("\\Software"));
    reg.GetKeyNames(names);
    EXPECT_EQ(names->Text(), QStringLiteral("Test\r\n"));
    EXPECT_TRUE(QFile::exists(RegistryFileName()));

    TRegistry writer;
    ASSERT_TRUE(writer.DeleteKey(QStringLiteral("Software\\Test")));
    EXPECT_FALSE(reg.KeyExists(QStringLiteral("\\Software\\Test\\Sub")));
}

TEST_F(Registry, ChangeNotificationIsOneShot) {
    CreateKey(QStringLiteral("Software\\Watched"));
    TRegistry watcher(KEY_READ);
    ASSERT_TRUE(watcher.OpenKeyReadOnly(QStringLiteral("Software\\Watched")));
    TRegChangeEvent* ev = new TRegChangeEvent;
    auto freeEv = FreeAtEnd(ev);
    EXPECT_EQ(RegNotifyChangeKeyValue(watcher.CurrentKey(), true, REG_NOTIFY_CHANGE_LAST_SET, ev, true),
              ERROR_SUCCESS);
    Write(QStringLiteral("Software\\Other"), QStringLiteral("X"), 1);
    EXPECT_FALSE(ev->Signalled());
    Write(QStringLiteral("Software\\Watched\\Deep"), QStringLiteral("X"), 1);
    EXPECT_TRUE(ev->WaitFor(0));
    ev->ResetEvent();
    Write(QStringLiteral("Software\\Watched"), QStringLiteral("Y"), 2); // not asked for again
    EXPECT_FALSE(ev->Signalled());
    EXPECT_EQ(RegNotifyChangeKeyValue(12345, true, REG_NOTIFY_CHANGE_LAST_SET, ev, true),
              ERROR_INVALID_HANDLE);
}

TEST_F(OfficeTheme, VersionAndThemeFromTheRegistry) {
    EXPECT_EQ(GetOfficeVersion(), 0);
    // Without Office the visual style decides.
    struct Scheme {
        const char* ColorName;
        bool Active;
        TOfficeTheme Theme;
    } schemes[] = {{"NormalColor", true, ot2003Blue},
                   {"HomeStead", true, ot2003Olive},
                   {"Metallic", true, ot2003Silver},
                   {"NormalColor", false, ot2003Classic}};
    for (const Scheme& s : schemes) {
        PlatformSwitches().ThemeColorName = QString::fromLatin1(s.ColorName);
        PlatformSwitches().VisualStylesActive = s.Active;
        EXPECT_EQ(GetCurrentOfficeTheme(), s.Theme) << s.ColorName;
    }
    ResetPlatformSwitches();

    CreateKey(Office12 + QStringLiteral("\\General"));
    EXPECT_EQ(GetOfficeVersion(), 1);
    Write(Office12, QStringLiteral("Theme"), 3);
    EXPECT_EQ(GetCurrentOfficeTheme(), ot2007Black);
    CreateKey(Office14 + QStringLiteral("\\General"));
    EXPECT_EQ(GetOfficeVersion(), 2);
    EXPECT_EQ(GetCurrentOfficeTheme(), ot2007Black); // no 2010 theme value yet
    Write(Office14, QStringLiteral("Theme"), 2);
    EXPECT_EQ(GetCurrentOfficeTheme(), ot2010Silver);
    Write(Office14, QStringLiteral("Theme"), 0);
    EXPECT_EQ(GetCurrentOfficeTheme(), ot2003Blue); // the 12.0 key is not looked at

    TRegistry reg;
    EXPECT_EQ(ReadOfficeThemeValue(&reg, Office14), 0);
    EXPECT_EQ(ReadOfficeThemeValue(&reg, QStringLiteral("Software\\Nothing")), -1);
    ASSERT_TRUE(reg.OpenKey(Office14, false));
    reg.WriteString(QStringLiteral("Theme"), QStringLiteral("2"));
    reg.CloseKey();
    EXPECT_EQ(ReadOfficeThemeValue(&reg, Office14), -1); // a value of another type counts as missing
}

TEST_F(ThemeNotifier, WithoutOfficeThereIsNothingToWatch) {
    TThemeNotifier* n = new TThemeNotifier(nullptr);
    EXPECT_EQ(n->Notifier(), nullptr);
    EXPECT_FALSE(n->HasMonitor());
    n->RegisterWindow(42);
    EXPECT_FALSE(n->IsRegistered(42));
    EXPECT_EQ(TRegMonitorThread::LiveCount(), 0);
    TObject::Free(n);

    TThemeNotifier* first = GetThemeNotifier(nullptr);
    EXPECT_EQ(GetThemeNotifier(nullptr), first);
    // Freeing a notifier made directly leaves the shared one in place.
    TObject::Free(new TThemeNotifier(nullptr));
    EXPECT_EQ(CurrentThemeNotifier(), first);
    TObject::Free(first);
    EXPECT_EQ(CurrentThemeNotifier(), nullptr);
}

TEST_F(ThemeNotifier, WatchesTheNewestOfficeAndTellsRegisteredWindows) {
    CreateKey(Office12 + QStringLiteral("\\General"));
    CreateKey(Office14 + QStringLiteral("\\General"));
    int changes = 0;
    TThemeNotifier* n = new TThemeNotifier(nullptr);
    auto freeN = FreeAtEnd(n);
    ASSERT_TRUE(n->HasMonitor());
    ASSERT_NE(n->Notifier(), nullptr);
    EXPECT_EQ(n->MonitoredKey(), Office14);
    n->OnOfficeThemeChange = [&](TObject* Sender) {
        EXPECT_EQ(Sender, n);
        ++changes;
    };

    TListeningWindow* window = new TListeningWindow(nullptr);
    auto freeWindow = FreeAtEnd(window);
    const HWND h = window->Handle();
    n->RegisterWindow(h);
    n->RegisterWindow(h);
    EXPECT_EQ(n->RegisteredCount(), 1);
    n->UnRegisterWindow(h + 999); // not there: nothing
    EXPECT_EQ(n->RegisteredCount(), 1);

    // Wait until the monitor watches the key, then change the theme.
    ASSERT_TRUE(RunUntil([] { return PendingChangeRequests() > 0; }));
    Write(Office14, QStringLiteral("Theme"), 1);
    ASSERT_TRUE(RunUntil([&] { return window->Received > 0 && changes > 0; }));
    EXPECT_EQ(window->RootKey, HKEY_CURRENT_USER);
    EXPECT_EQ(window->Key, Office14);

    // Changes under the 12.0 key are not watched.
    const int seen = window->Received;
    n->UnRegisterWindow(h);
    ASSERT_TRUE(RunUntil([] { return PendingChangeRequests() > 0; }));
    Write(Office12, QStringLiteral("Theme"), 2);
    Write(Office14, QStringLiteral("Theme"), 3);
    ASSERT_TRUE(RunUntil([&] { return changes > 1; }));
    EXPECT_EQ(window->Received, seen);

    FreeAndNil(n);
    EXPECT_TRUE(RunUntil([] { return TRegMonitorThread::LiveCount() == 0; }));
}

TEST(HandleList, IndexedAccessAndValues) {
    THandleList* list = new THandleList;
    auto freeList = FreeAtEnd(list);
    list->Add(5);
    list->Add(7);
    list->Insert(0, 3);
    EXPECT_EQ(list->Items(0), HWND(3));
    list->SetInteger(1, 6);
    EXPECT_TRUE(list->HasValue(6));
    list->DeleteValue(99);
    list->DeleteValue(6);
    EXPECT_EQ(list->Count(), 2);
    EXPECT_THROW(list->GetInteger(2), EListError);
    EXPECT_THROW(list->Delete(-1), EListError);
}
