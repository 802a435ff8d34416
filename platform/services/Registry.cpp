#include "Registry.h"

#include "Classes.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>
#include <QTextStream>

#include <chrono>
#include <map>
#include <optional>
#include <vector>

namespace {

struct TRegValue {
    String Name;
    TRegDataType Type = rdUnknown;
    int Integer = 0;
    String Text;
};

struct TRegKey {
    String Path; // as first written
    std::vector<TRegValue> Values;
};

struct TWatch {
    HKEY Key;
    String Path; // upper case
    bool Subtree;
    DWORD Filter;
    TRegChangeEvent* Event;
};

// The registry file and what was read from it; guarded by Lock (the theme monitor reads it from
// its own thread).
struct TRegStore {
    std::recursive_mutex Lock;
    String FileName;
    bool Loaded = false;
    QDateTime Stamp;
    qint64 Size = -1;
    std::map<String, TRegKey> Keys; // by upper-case full path
    std::map<HKEY, String> OpenKeys;
    HKEY NextKey = 0x100;
    std::vector<TWatch> Watches;
};

TRegStore& Store() {
    static TRegStore store;
    return store;
}

String DefaultFileName() {
    const String dir = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    return dir + QStringLiteral("/Velmora/registry.ini");
}

String RootName(HKEY Root) {
    switch (Root) {
        case HKEY_CLASSES_ROOT: return QStringLiteral("HKEY_CLASSES_ROOT");
        case HKEY_CURRENT_USER: return QStringLiteral("HKEY_CURRENT_USER");
        case HKEY_LOCAL_MACHINE: return QStringLiteral("HKEY_LOCAL_MACHINE");
        case HKEY_USERS: return QStringLiteral("HKEY_USERS");
        case HKEY_CURRENT_CONFIG: return QStringLiteral("HKEY_CURRENT_CONFIG");
        default: return String();
    }
}

// A key path with single "\" separators and none at either end.
String CleanPath(const String& Path) {
    const QStringList parts = Path.split(u'\\', Qt::SkipEmptyParts);
    return parts.join(u'\\');
}

String Escape(const String& S) {
    String r;
    for (Char c : S) {
        if (c == u'\\')
            r += QStringLiteral("\\\\");
        else if (c == u'\n')
            r += QStringLiteral("\\n");
        else if (c == u'\r')
            r += QStringLiteral("\\r");
        else
            r += c;
    }
    return r;
}

String Unescape(const String& S) {
    String r;
    for (int i = 0; i < S.size(); ++i) {
        if (S[i] == u'\\' && i + 1 < S.size()) {
            const Char n = S[++i];
            r += n == u'n' ? QChar(u'\n') : (n == u'r' ? QChar(u'\r') : n);
        } else {
            r += S[i];
        }
    }
    return r;
}

String FileOf(TRegStore& S) {
    return S.FileName.isEmpty() ? DefaultFileName() : S.FileName;
}

// Reads the file again when it changed since it was read.
void Refresh(TRegStore& S) {
    const QFileInfo info(FileOf(S));
    const QDateTime stamp = info.exists() ? info.lastModified() : QDateTime();
    const qint64 size = info.exists() ? info.size() : -1;
    if (S.Loaded && stamp == S.Stamp && size == S.Size) return;
    S.Keys.clear();
    S.Loaded = true;
    S.Stamp = stamp;
    S.Size = size;
    QFile f(info.filePath());
    if (!f.open(QIODevice::ReadOnly | QIODevice::Text)) return;
    QTextStream in(&f);
    in.setEncoding(QStringConverter::Utf8);
    TRegKey* key = nullptr;
    while (!in.atEnd()) {
        const String line = in.readLine();
        if (line.startsWith(u'[') && line.endsWith(u']')) {
            const String path = CleanPath(line.mid(1, line.size() - 2));
            key = &S.Keys[path.toUpper()];
            if (key->Path.isEmpty()) key->Path = path;
            continue;
        }
        const int eq = int(line.indexOf(u'='));
        if (!key || eq <= 0) continue;
        TRegValue v;
        v.Name = Unescape(line.left(eq));
        const String data = line.mid(eq + 1);
        if (data.startsWith(QLatin1String("dword:"))) {
            bool ok = false;
            v.Integer = int(data.mid(6).toUInt(&ok, 16));
            if (!ok) continue;
            v.Type = rdInteger;
        } else if (data.startsWith(QLatin1String("sz:"))) {
            v.Type = rdString;
            v.Text = Unescape(data.mid(3));
        } else {
            continue;
        }
        key->Values.push_back(v);
    }
}

// Writes the whole registry; false (and the file untouched) when it cannot be written.
bool Save(TRegStore& S) {
    const String name = FileOf(S);
    QDir().mkpath(QFileInfo(name).absolutePath());
    QSaveFile f(name);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Text)) return false;
    QTextStream out(&f);
    out.setEncoding(QStringConverter::Utf8);
    for (const auto& [upper, key] : S.Keys) {
        out << u'[' << key.Path << u']' << u'\n';
        for (const TRegValue& v : key.Values) {
            out << Escape(v.Name) << u'=';
            if (v.Type == rdInteger)
                out << QStringLiteral("dword:%1").arg(uint(v.Integer), 8, 16, QChar(u'0'));
            else
                out << QStringLiteral("sz:") << Escape(v.Text);
            out << u'\n';
        }
        out << u'\n';
    }
    out.flush();
    if (!f.commit()) return false;
    const QFileInfo info(name);
    S.Stamp = info.lastModified();
    S.Size = info.size();
    return true;
}

// Sets the events of the requests that watch Path for a change of kind Kind.
void Notify(TRegStore& S, const String& UpperPath, DWORD Kind) {
    for (auto it = S.Watches.begin(); it != S.Watches.end();) {
        const bool inside =
            UpperPath == it->Path || (it->Subtree && UpperPath.startsWith(it->Path + QLatin1Char('\\')));
        if (inside && (it->Filter & Kind)) {
            it->Event->SetEvent();
            it = S.Watches.erase(it);
        } else {
            ++it;
        }
    }
}

bool HasKeysBelow(TRegStore& S, const String& UpperPath) {
    const String prefix = UpperPath + QLatin1Char('\\');
    auto it = S.Keys.lower_bound(prefix);
    return it != S.Keys.end() && it->first.startsWith(prefix);
}

bool KeyPresent(TRegStore& S, const String& UpperPath) {
    if (UpperPath.isEmpty()) return false;
    // A key exists when a key below it does.
    return S.Keys.count(UpperPath) || HasKeysBelow(S, UpperPath);
}

TRegValue* FindValue(TRegStore& S, const String& UpperPath, const String& Name) {
    auto it = S.Keys.find(UpperPath);
    if (it == S.Keys.end()) return nullptr;
    for (TRegValue& v : it->second.Values)
        if (v.Name.compare(Name, Qt::CaseInsensitive) == 0) return &v;
    return nullptr;
}

// A copy of the value Name of the open key Key as the file has it now (none: no key open, or no
// such value).
std::optional<TRegValue> ReadValue(HKEY Key, const String& Name) {
    if (!Key) return std::nullopt;
    TRegStore& s = Store();
    std::lock_guard<std::recursive_mutex> lock(s.Lock);
    Refresh(s);
    const TRegValue* v = FindValue(s, s.OpenKeys[Key], Name);
    if (!v) return std::nullopt;
    return *v;
}

// Adds the key (full path as written, and upper case) and saves; false, and the key gone again,
// when the file cannot be written.
bool AddKey(TRegStore& S, const String& Full, const String& Upper) {
    S.Keys[Upper].Path = Full;
    if (!Save(S)) {
        S.Keys.erase(Upper);
        return false;
    }
    Notify(S, Upper.left(Upper.lastIndexOf(u'\\')), REG_NOTIFY_CHANGE_NAME);
    return true;
}

// Saves a change of the keys; when the file cannot be written the keys go back to Before.
bool Commit(TRegStore& S, const std::map<String, TRegKey>& Before) {
    if (Save(S)) return true;
    S.Keys = Before;
    return false;
}

} // namespace

String RegistryFileName() {
    std::lock_guard<std::recursive_mutex> lock(Store().Lock);
    return FileOf(Store());
}

void SetRegistryFileName(const String& FileName) {
    std::lock_guard<std::recursive_mutex> lock(Store().Lock);
    Store().FileName = FileName;
    Store().Loaded = false;
}

// ---- TRegistry ----

TRegistry::TRegistry() = default;

TRegistry::TRegistry(DWORD AAccess) : FAccess(AAccess) {}

TRegistry::~TRegistry() {
    CloseKey();
}

void TRegistry::SetRootKey(HKEY Value) {
    if (Value == FRootKey) return;
    CloseKey();
    FRootKey = Value;
}

String TRegistry::FullPath(const String& Key) const {
    const String root = RootName(FRootKey);
    if (root.isEmpty()) return String();
    String rel = Key.startsWith(u'\\') || FCurrentPath.isEmpty() ? Key : FCurrentPath + u'\\' + Key;
    rel = CleanPath(rel);
    return rel.isEmpty() ? root : root + u'\\' + rel;
}

bool TRegistry::OpenKeyAs(const String& Key, bool CanCreate, bool ReadOnly) {
    const String full = FullPath(Key);
    if (full.isEmpty()) return false;
    TRegStore& s = Store();
    std::lock_guard<std::recursive_mutex> lock(s.Lock);
    Refresh(s);
    const String upper = full.toUpper();
    if (!KeyPresent(s, upper) && (!CanCreate || !AddKey(s, full, upper))) return false;
    CloseKey();
    FCurrentKey = s.NextKey++;
    s.OpenKeys[FCurrentKey] = upper;
    FCurrentPath = full.section(u'\\', 1);
    FReadOnly = ReadOnly;
    return true;
}

bool TRegistry::OpenKey(const String& Key, bool CanCreate) {
    return OpenKeyAs(Key, CanCreate, false);
}

bool TRegistry::OpenKeyReadOnly(const String& Key) {
    return OpenKeyAs(Key, false, true);
}

void TRegistry::CloseKey() {
    if (!FCurrentKey) return;
    TRegStore& s = Store();
    std::lock_guard<std::recursive_mutex> lock(s.Lock);
    s.OpenKeys.erase(FCurrentKey);
    std::erase_if(s.Watches, [this](const TWatch& w) { return w.Key == FCurrentKey; });
    FCurrentKey = 0;
    FCurrentPath.clear();
    FReadOnly = false;
}

bool TRegistry::KeyExists(const String& Key) {
    const String full = FullPath(Key);
    if (full.isEmpty()) return false;
    TRegStore& s = Store();
    std::lock_guard<std::recursive_mutex> lock(s.Lock);
    Refresh(s);
    return KeyPresent(s, full.toUpper());
}

bool TRegistry::CreateKey(const String& Key) {
    if (FReadOnly) return false;
    const String full = FullPath(Key);
    if (full.isEmpty()) return false;
    TRegStore& s = Store();
    std::lock_guard<std::recursive_mutex> lock(s.Lock);
    Refresh(s);
    const String upper = full.toUpper();
    return KeyPresent(s, upper) || AddKey(s, full, upper);
}

bool TRegistry::DeleteKey(const String& Key) {
    if (FReadOnly) return false;
    const String full = FullPath(Key);
    if (full.isEmpty() || !full.contains(u'\\')) return false;
    TRegStore& s = Store();
    std::lock_guard<std::recursive_mutex> lock(s.Lock);
    Refresh(s);
    const String upper = full.toUpper();
    if (!KeyPresent(s, upper)) return false;
    const auto saved = s.Keys;
    const String prefix = upper + QLatin1Char('\\');
    std::erase_if(s.Keys, [&](const auto& e) { return e.first == upper || e.first.startsWith(prefix); });
    if (!Commit(s, saved)) return false;
    Notify(s, upper.left(upper.lastIndexOf(u'\\')), REG_NOTIFY_CHANGE_NAME);
    return true;
}

bool TRegistry::HasSubKeys() {
    if (!FCurrentKey) return false;
    TRegStore& s = Store();
    std::lock_guard<std::recursive_mutex> lock(s.Lock);
    Refresh(s);
    return HasKeysBelow(s, s.OpenKeys[FCurrentKey]);
}

void TRegistry::GetKeyNames(TStrings* Strings) {
    if (!Strings) return;
    Strings->Clear();
    if (!FCurrentKey) return;
    TRegStore& s = Store();
    std::lock_guard<std::recursive_mutex> lock(s.Lock);
    Refresh(s);
    const String prefix = s.OpenKeys[FCurrentKey] + QLatin1Char('\\');
    QStringList seen;
    for (auto it = s.Keys.lower_bound(prefix); it != s.Keys.end() && it->first.startsWith(prefix); ++it) {
        const String child = it->second.Path.mid(prefix.size()).section(u'\\', 0, 0);
        if (!seen.contains(child, Qt::CaseInsensitive)) {
            seen << child;
            Strings->Add(child);
        }
    }
}

void TRegistry::GetValueNames(TStrings* Strings) {
    if (!Strings) return;
    Strings->Clear();
    if (!FCurrentKey) return;
    TRegStore& s = Store();
    std::lock_guard<std::recursive_mutex> lock(s.Lock);
    Refresh(s);
    auto it = s.Keys.find(s.OpenKeys[FCurrentKey]);
    if (it == s.Keys.end()) return;
    for (const TRegValue& v : it->second.Values) Strings->Add(v.Name);
}

bool TRegistry::ValueExists(const String& Name) {
    return GetDataType(Name) != rdUnknown;
}

TRegDataType TRegistry::GetDataType(const String& Name) {
    const auto v = ReadValue(FCurrentKey, Name);
    return v ? v->Type : rdUnknown;
}

int TRegistry::ReadInteger(const String& Name) {
    const auto v = ReadValue(FCurrentKey, Name);
    if (!v || v->Type != rdInteger)
        throw ERegistryException(QStringLiteral("Invalid data type for '%1'").arg(Name));
    return v->Integer;
}

String TRegistry::ReadString(const String& Name) {
    const auto v = ReadValue(FCurrentKey, Name);
    if (!v) return String();
    if (v->Type != rdString) throw ERegistryException(QStringLiteral("Invalid data type for '%1'").arg(Name));
    return v->Text;
}

bool TRegistry::ReadBool(const String& Name) {
    return ReadInteger(Name) != 0;
}

void TRegistry::CheckWritable(const String& Name) const {
    if (!FCurrentKey || FReadOnly)
        throw ERegistryException(QStringLiteral("Failed to set data for '%1'").arg(Name));
}

namespace {

void WriteValue(HKEY Key, const String& Name, const TRegValue& Value) {
    TRegStore& s = Store();
    std::lock_guard<std::recursive_mutex> lock(s.Lock);
    Refresh(s);
    const String upper = s.OpenKeys[Key];
    const auto saved = s.Keys;
    TRegKey& key = s.Keys[upper];
    if (key.Path.isEmpty()) key.Path = upper;
    bool replaced = false;
    for (TRegValue& v : key.Values)
        if (v.Name.compare(Name, Qt::CaseInsensitive) == 0) {
            v.Type = Value.Type;
            v.Integer = Value.Integer;
            v.Text = Value.Text;
            replaced = true;
        }
    if (!replaced) key.Values.push_back(Value);
    if (!Commit(s, saved)) throw ERegistryException(QStringLiteral("Failed to set data for '%1'").arg(Name));
    Notify(s, upper, REG_NOTIFY_CHANGE_LAST_SET);
}

} // namespace

void TRegistry::WriteInteger(const String& Name, int Value) {
    CheckWritable(Name);
    WriteValue(FCurrentKey, Name, TRegValue{.Name = Name, .Type = rdInteger, .Integer = Value, .Text = {}});
}

void TRegistry::WriteString(const String& Name, const String& Value) {
    CheckWritable(Name);
    WriteValue(FCurrentKey, Name, TRegValue{.Name = Name, .Type = rdString, .Integer = 0, .Text = Value});
}

bool TRegistry::DeleteValue(const String& Name) {
    if (!FCurrentKey || FReadOnly) return false;
    TRegStore& s = Store();
    std::lock_guard<std::recursive_mutex> lock(s.Lock);
    Refresh(s);
    const String upper = s.OpenKeys[FCurrentKey];
    auto it = s.Keys.find(upper);
    if (it == s.Keys.end()) return false;
    const auto saved = s.Keys;
    const auto n = std::erase_if(it->second.Values, [&](const TRegValue& v) {
        return v.Name.compare(Name, Qt::CaseInsensitive) == 0;
    });
    if (n == 0) return false;
    if (!Commit(s, saved)) return false;
    Notify(s, upper, REG_NOTIFY_CHANGE_LAST_SET);
    return true;
}

// ---- Change notification ----

TRegChangeEvent::~TRegChangeEvent() {
    TRegStore& s = Store();
    std::lock_guard<std::recursive_mutex> lock(s.Lock);
    std::erase_if(s.Watches, [this](const TWatch& w) { return w.Event == this; });
}

void TRegChangeEvent::SetEvent() {
    {
        std::lock_guard<std::mutex> lock(FLock);
        FSignalled = true;
    }
    FSignal.notify_all();
}

void TRegChangeEvent::ResetEvent() {
    std::lock_guard<std::mutex> lock(FLock);
    FSignalled = false;
}

bool TRegChangeEvent::Signalled() const {
    std::lock_guard<std::mutex> lock(FLock);
    return FSignalled;
}

bool TRegChangeEvent::WaitFor(Cardinal Timeout) {
    std::unique_lock<std::mutex> lock(FLock);
    if (Timeout == INFINITE_WAIT) {
        FSignal.wait(lock, [this] { return FSignalled; });
        return true;
    }
    return FSignal.wait_for(lock, std::chrono::milliseconds(Timeout), [this] { return FSignalled; });
}

LONG RegNotifyChangeKeyValue(HKEY Key, BOOL WatchSubtree, DWORD Filter, TRegChangeEvent* Event, BOOL) {
    TRegStore& s = Store();
    std::lock_guard<std::recursive_mutex> lock(s.Lock);
    auto it = s.OpenKeys.find(Key);
    if (it == s.OpenKeys.end() || !Event) return ERROR_INVALID_HANDLE;
    s.Watches.push_back(TWatch{Key, it->second, WatchSubtree != 0, Filter, Event});
    return ERROR_SUCCESS;
}

int PendingChangeRequests() {
    TRegStore& s = Store();
    std::lock_guard<std::recursive_mutex> lock(s.Lock);
    return int(s.Watches.size());
}
