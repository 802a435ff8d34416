#include "AdvStyleIF.h"

#include "Forms.h"
#include "OSInfo.h"
#include "Themes.h"

#include <atomic>

namespace {

const String Office14General = QStringLiteral("Software\\Microsoft\\Office\\14.0\\Common\\General");
const String Office12General = QStringLiteral("Software\\Microsoft\\Office\\12.0\\Common\\General");
const String Office14Common = QStringLiteral("Software\\Microsoft\\Office\\14.0\\Common");
const String Office12Common = QStringLiteral("Software\\Microsoft\\Office\\12.0\\Common");

std::atomic<int> MonitorThreads{0};

// The process-wide notifier.
TThemeNotifier* ThemeNotifier = nullptr;

// Start-up of the unit: the first one clears the process-wide notifier reference.
struct TAdvStyleIFUnit {
    int Counter = 0;
    TAdvStyleIFUnit() {
        if (Counter-- == 0) ThemeNotifier = nullptr;
    }
    ~TAdvStyleIFUnit() { ++Counter; }
} AdvStyleIFUnit;

} // namespace

// ---- THandleList ----

void THandleList::CheckIndex(int Index) const {
    if (Index < 0 || Index >= Count())
        throw EListError(QStringLiteral("List index out of bounds (%1)").arg(Index));
}

int THandleList::Add(HWND Value) {
    FItems.push_back(Value);
    return Count() - 1;
}

void THandleList::Insert(int Index, HWND Value) {
    if (Index < 0 || Index > Count())
        throw EListError(QStringLiteral("List index out of bounds (%1)").arg(Index));
    FItems.insert(FItems.begin() + Index, Value);
}

void THandleList::Delete(int Index) {
    CheckIndex(Index);
    FItems.erase(FItems.begin() + Index);
}

void THandleList::DeleteValue(HWND Value) {
    for (int i = 0; i < Count(); ++i)
        if (FItems[size_t(i)] == Value) {
            Delete(i);
            return;
        }
}

bool THandleList::HasValue(HWND Value) const {
    for (HWND h : FItems)
        if (h == Value) return true;
    return false;
}

HWND THandleList::GetInteger(int Index) const {
    CheckIndex(Index);
    return FItems[size_t(Index)];
}

void THandleList::SetInteger(int Index, HWND Value) {
    CheckIndex(Index);
    FItems[size_t(Index)] = Value;
}

// ---- Tests of the environment ----

bool IsVistaOrLater() {
    const HMODULE kernel = GetModuleHandle(QStringLiteral("kernel32.dll"));
    return kernel && GetProcAddress(kernel, "GetLocaleInfoEx") != nullptr;
}

String GetDefaultFontName() {
    return IsVistaOrLater() ? QStringLiteral("Segoe UI") : QStringLiteral("Tahoma");
}

bool IsWindowsXPOrLater() {
    return Win32MajorVersion > 5 || (Win32MajorVersion == 5 && Win32MinorVersion >= 1);
}

bool IsComCtl6OrLater() {
    const int v = GetFileVersion(QStringLiteral("COMCTL32.DLL"));
    return v >= 0 && (v >> 16) > 5;
}

int GetOfficeVersion() {
    TRegistry reg(KEY_READ);
    reg.SetRootKey(HKEY_CURRENT_USER);
    if (reg.KeyExists(Office14General)) return 2;
    if (reg.KeyExists(Office12General)) return 1;
    return 0;
}

int GetXPColorScheme() {
    if (!IsWindowsXPOrLater()) return 0;
    const HMODULE library = LoadLibrary(QStringLiteral("uxtheme.dll"));
    if (library < 32) return 0;
    int scheme = 0;
    auto isThemeActive = reinterpret_cast<TIsThemeActive>(GetProcAddress(library, "IsThemeActive"));
    if (isThemeActive && isThemeActive() && IsComCtl6OrLater()) {
        auto getName = reinterpret_cast<TGetCurrentThemeName>(GetProcAddress(library, "GetCurrentThemeName"));
        if (getName) {
            char16_t file[255] = {}, color[255] = {}, size[255] = {};
            getName(file, 255, color, 255, size, 255);
            const String colorName = QString::fromUtf16(color);
            if (colorName.contains(QLatin1String("NormalColor")))
                scheme = 1;
            else if (colorName.contains(QLatin1String("HomeStead")))
                scheme = 2;
            else if (colorName.contains(QLatin1String("Metallic")))
                scheme = 3;
        }
    }
    FreeLibrary(library);
    return scheme;
}

int ReadOfficeThemeValue(TRegistry* Registry, const String& Key) {
    if (!Registry || !Registry->KeyExists(Key)) return -1;
    int value = -1;
    if (Registry->OpenKeyReadOnly(Key)) {
        // A "Theme" value of another type counts as missing rather than failing the caller.
        if (Registry->GetDataType(QStringLiteral("Theme")) == rdInteger)
            value = Registry->ReadInteger(QStringLiteral("Theme"));
        Registry->CloseKey();
    }
    return value;
}

TOfficeTheme GetCurrentOfficeTheme() {
    TRegistry reg(KEY_READ);
    reg.SetRootKey(HKEY_CURRENT_USER);
    const int v14 = ReadOfficeThemeValue(&reg, Office14Common);
    if (v14 == 1) return ot2010Blue;
    if (v14 == 2) return ot2010Silver;
    if (v14 == 3) return ot2010Black;
    if (v14 != -1) return ot2003Blue;
    const int v12 = ReadOfficeThemeValue(&reg, Office12Common);
    if (v12 == 1) return ot2007Blue;
    if (v12 == 2) return ot2007Silver;
    if (v12 == 3) return ot2007Black;
    if (v12 != -1) return ot2003Blue;
    switch (GetXPColorScheme()) {
        case 1: return ot2003Blue;
        case 2: return ot2003Olive;
        case 3: return ot2003Silver;
        default: return ot2003Classic;
    }
}

// ---- TRegMonitorThread ----

TRegMonitorThread::TRegMonitorThread()
    : TThread(true), FWinList(new THandleList), FEvent(new TRegChangeEvent), FReg(new TRegistry(KEY_READ)) {
    ++MonitorThreads;
}

TRegMonitorThread::~TRegMonitorThread() {
    TObject::Free(FReg);
    TObject::Free(FEvent);
    TObject::Free(FWinList);
    --MonitorThreads;
}

int TRegMonitorThread::LiveCount() {
    return MonitorThreads.load();
}

DWORD TRegMonitorThread::Filter() {
    if (FFilter == 0)
        FFilter = REG_NOTIFY_CHANGE_NAME | REG_NOTIFY_CHANGE_ATTRIBUTES | REG_NOTIFY_CHANGE_LAST_SET |
                  REG_NOTIFY_CHANGE_SECURITY;
    return FFilter;
}

void TRegMonitorThread::AddWindow(HWND Value) {
    std::lock_guard<std::mutex> lock(FListLock);
    if (!FWinList->HasValue(Value)) FWinList->Add(Value);
}

void TRegMonitorThread::RemoveWindow(HWND Value) {
    std::lock_guard<std::mutex> lock(FListLock);
    FWinList->DeleteValue(Value);
}

bool TRegMonitorThread::HasWindow(HWND Value) const {
    std::lock_guard<std::mutex> lock(FListLock);
    return FWinList->HasValue(Value);
}

int TRegMonitorThread::WindowCount() const {
    std::lock_guard<std::mutex> lock(FListLock);
    return FWinList->Count();
}

void TRegMonitorThread::Stop() {
    Terminate();
    FEvent->SetEvent();
}

void TRegMonitorThread::Execute() {
    FReg->SetRootKey(RootKey);
    if (!FReg->OpenKeyReadOnly(Key))
        throw ERegistryException(QStringLiteral("Unable to open registry key ") + Key);
    FEvent->ResetEvent();
    RegNotifyChangeKeyValue(FReg->CurrentKey(), WatchSub, Filter(), FEvent, true);
    const String watched = Key;
    while (!Terminated()) {
        FEvent->WaitFor(INFINITE_WAIT);
        if (Terminated()) break;
        // The windows are sent to without holding the list: a window handling the message on the
        // main thread may register or unregister windows meanwhile.
        std::vector<HWND> targets;
        {
            std::lock_guard<std::mutex> lock(FListLock);
            for (int i = 0; i < FWinList->Count(); ++i) targets.push_back(FWinList->GetInteger(i));
        }
        const LPARAM keyText = LPARAM(watched.utf16());
        if (Wnd) SendMessage(Wnd, WM_OFFICETHEMECHANGE, WPARAM(RootKey), keyText);
        for (HWND h : targets) SendMessage(h, WM_OFFICETHEMECHANGE, WPARAM(RootKey), keyText);
        FEvent->ResetEvent();
        RegNotifyChangeKeyValue(FReg->CurrentKey(), WatchSub, Filter(), FEvent, true);
    }
}

// ---- TThemeNotifierWindow ----

TThemeNotifierWindow::TThemeNotifierWindow(TComponent* AOwner) : TWinControl(AOwner) {
    SetVisible(false);
}

void TThemeNotifierWindow::WndProc(TMessage& Message) {
    if (Message.Msg == WM_OFFICETHEMECHANGE && Assigned(OnOfficeThemeChange)) OnOfficeThemeChange(this);
    TWinControl::WndProc(Message);
}

// ---- TThemeNotifier ----

// The notifier's link to its monitor thread. The thread frees itself when it ends, so the
// notifier reaches it only while Alive says it still runs; the thread clears Alive (under Lock)
// as the last thing it does.
struct TThemeNotifier::TMonitorLink {
    std::mutex Lock;
    TRegMonitorThread* Thread = nullptr;
    bool Alive = false;
};

namespace {

// Runs the monitor and marks the link when it ends, however it ends.
class TNotifierMonitor : public TRegMonitorThread {
public:
    std::function<void()> OnDone;

protected:
    void Execute() override {
        struct TDone {
            std::function<void()>& F;
            ~TDone() {
                if (F) F();
            }
        } done{OnDone};
        TRegMonitorThread::Execute();
    }
};

} // namespace

TThemeNotifier::TThemeNotifier(TComponent* AOwner)
    : TComponent(AOwner), FLink(std::make_shared<TMonitorLink>()) {
    if (HasState(csDesigning) || (AOwner && AOwner->HasState(csDesigning))) return;
    const int version = GetOfficeVersion();
    if (version == 0) return;

    FNotifier = new TThemeNotifierWindow(this);
    if (auto* parent = dynamic_cast<TWinControl*>(AOwner)) FNotifier->SetParent(parent);
    FNotifier->OnOfficeThemeChange = [this](TObject*) {
        if (Assigned(OnOfficeThemeChange)) OnOfficeThemeChange(this);
    };

    auto* thread = new TNotifierMonitor;
    thread->SetFreeOnTerminate(true);
    thread->Wnd = FNotifier->Handle();
    thread->SetFilter(REG_NOTIFY_CHANGE_LAST_SET);
    thread->Key = version == 2 ? Office14Common : Office12Common;
    thread->RootKey = HKEY_CURRENT_USER;
    thread->WatchSub = true;
    std::shared_ptr<TMonitorLink> link = FLink;
    thread->OnDone = [link] {
        std::lock_guard<std::mutex> lock(link->Lock);
        link->Alive = false;
        link->Thread = nullptr;
    };
    {
        std::lock_guard<std::mutex> lock(FLink->Lock);
        FLink->Thread = thread;
        FLink->Alive = true;
    }
    thread->Resume();
}

TThemeNotifier::~TThemeNotifier() {
    {
        std::lock_guard<std::mutex> lock(FLink->Lock);
        if (FLink->Alive) FLink->Thread->Stop();
    }
    // Only the process-wide notifier clears the reference: one made directly must not orphan the
    // shared one, which lives on with its owner (a second would then be made beside it).
    if (ThemeNotifier == this) ThemeNotifier = nullptr;
}

bool TThemeNotifier::HasMonitor() const {
    std::lock_guard<std::mutex> lock(FLink->Lock);
    return FLink->Alive;
}

String TThemeNotifier::MonitoredKey() const {
    std::lock_guard<std::mutex> lock(FLink->Lock);
    return FLink->Alive ? FLink->Thread->Key : String();
}

void TThemeNotifier::RegisterWindow(HWND Hwnd) {
    std::lock_guard<std::mutex> lock(FLink->Lock);
    if (FLink->Alive) FLink->Thread->AddWindow(Hwnd);
}

void TThemeNotifier::UnRegisterWindow(HWND Hwnd) {
    std::lock_guard<std::mutex> lock(FLink->Lock);
    if (FLink->Alive) FLink->Thread->RemoveWindow(Hwnd);
}

bool TThemeNotifier::IsRegistered(HWND Hwnd) const {
    std::lock_guard<std::mutex> lock(FLink->Lock);
    return FLink->Alive && FLink->Thread->HasWindow(Hwnd);
}

int TThemeNotifier::RegisteredCount() const {
    std::lock_guard<std::mutex> lock(FLink->Lock);
    return FLink->Alive ? FLink->Thread->WindowCount() : 0;
}

TThemeNotifier* GetThemeNotifier(TComponent* AOwner) {
    if (!ThemeNotifier) {
        TComponent* owner = AOwner;
        if (Application && Application->MainForm() && Application->MainForm()->HandleAllocated())
            owner = Application->MainForm();
        ThemeNotifier = new TThemeNotifier(owner);
    }
    return ThemeNotifier;
}

TThemeNotifier* CurrentThemeNotifier() {
    return ThemeNotifier;
}
