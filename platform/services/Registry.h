// The registry of the current user, kept as an INI file under the user's configuration folder:
// one section per key (the full path with its root, e.g. "HKEY_CURRENT_USER\Software\X"), one
// line per value ("Name=dword:12" or "Name=sz:text"). Key and value names are compared without
// regard to case, as the platform's registry does. Writes go to the file at once, whole or not
// at all. Change notification works for changes made through TRegistry in this process.
#pragma once

#include "IniFiles.h"
#include "OSInfo.h"
#include "System.h"

#include <condition_variable>
#include <mutex>

class TStrings;

using HKEY = uintptr_t;

constexpr HKEY HKEY_CLASSES_ROOT = 0x80000000u;
constexpr HKEY HKEY_CURRENT_USER = 0x80000001u;
constexpr HKEY HKEY_LOCAL_MACHINE = 0x80000002u;
constexpr HKEY HKEY_USERS = 0x80000003u;
constexpr HKEY HKEY_CURRENT_CONFIG = 0x80000005u;

// Access rights (accepted; a key opened read-only refuses writes).
constexpr DWORD KEY_QUERY_VALUE = 0x0001;
constexpr DWORD KEY_SET_VALUE = 0x0002;
constexpr DWORD KEY_CREATE_SUB_KEY = 0x0004;
constexpr DWORD KEY_ENUMERATE_SUB_KEYS = 0x0008;
constexpr DWORD KEY_NOTIFY = 0x0010;
constexpr DWORD KEY_READ = 0x20019;
constexpr DWORD KEY_WRITE = 0x20006;
constexpr DWORD KEY_ALL_ACCESS = 0xF003F;

// What a change notification watches.
constexpr DWORD REG_NOTIFY_CHANGE_NAME = 0x1;
constexpr DWORD REG_NOTIFY_CHANGE_ATTRIBUTES = 0x2;
constexpr DWORD REG_NOTIFY_CHANGE_LAST_SET = 0x4;
constexpr DWORD REG_NOTIFY_CHANGE_SECURITY = 0x8;

constexpr LONG ERROR_SUCCESS = 0;
constexpr LONG ERROR_FILE_NOT_FOUND = 2;
constexpr LONG ERROR_INVALID_HANDLE = 6;

class ERegistryException : public Exception {
    using Exception::Exception;
};

enum TRegDataType { rdUnknown, rdString, rdExpandString, rdInteger, rdBinary };

// The file that holds the registry. Tests point it elsewhere; an empty name restores the default
// ("<configuration folder>/Velmora/registry.ini").
String RegistryFileName();
void SetRegistryFileName(const String& FileName);

// Access to the keys of one root.
class TRegistry : public TObject {
public:
    TRegistry();
    explicit TRegistry(DWORD AAccess);
    ~TRegistry() override;

    HKEY RootKey() const { return FRootKey; }
    void SetRootKey(HKEY Value);
    // The open key (0 when none) and its path below the root.
    HKEY CurrentKey() const { return FCurrentKey; }
    const String& CurrentPath() const { return FCurrentPath; }
    DWORD Access() const { return FAccess; }
    void SetAccess(DWORD Value) { FAccess = Value; }

    // Key names are relative to the open key, or to the root when they start with "\".
    bool OpenKey(const String& Key, bool CanCreate);
    bool OpenKeyReadOnly(const String& Key);
    void CloseKey();
    bool KeyExists(const String& Key);
    bool CreateKey(const String& Key);
    bool DeleteKey(const String& Key);
    bool HasSubKeys();
    void GetKeyNames(TStrings* Strings);
    void GetValueNames(TStrings* Strings);

    // Values of the open key. Reading a missing value or one of another type raises
    // ERegistryException "Invalid data type for '<name>'"; writing to a key opened read-only,
    // or with no key open, raises ERegistryException "Failed to set data for '<name>'".
    bool ValueExists(const String& Name);
    TRegDataType GetDataType(const String& Name);
    int ReadInteger(const String& Name);
    String ReadString(const String& Name);
    bool ReadBool(const String& Name);
    void WriteInteger(const String& Name, int Value);
    void WriteString(const String& Name, const String& Value);
    void WriteBool(const String& Name, bool Value) { WriteInteger(Name, Value ? 1 : 0); }
    bool DeleteValue(const String& Name);

private:
    String FullPath(const String& Key) const;
    void CheckWritable(const String& Name) const;
    // Opens Key (creating it when CanCreate) as the current key, read-only or not.
    bool OpenKeyAs(const String& Key, bool CanCreate, bool ReadOnly);

    HKEY FRootKey = HKEY_CURRENT_USER;
    HKEY FCurrentKey = 0;
    String FCurrentPath;
    DWORD FAccess = KEY_ALL_ACCESS;
    bool FReadOnly = false;
};

// ---- Change notification ----

// A manual-reset event: SetEvent releases every waiter until ResetEvent.
class TRegChangeEvent : public TObject {
public:
    TRegChangeEvent() = default;
    ~TRegChangeEvent() override;

    void SetEvent();
    void ResetEvent();
    bool Signalled() const;
    // Waits until signalled; Timeout in milliseconds, INFINITE_WAIT for no limit. Answers true
    // when the event is signalled.
    bool WaitFor(Cardinal Timeout);

private:
    mutable std::mutex FLock;
    std::condition_variable FSignal;
    bool FSignalled = false;
};

constexpr Cardinal INFINITE_WAIT = 0xFFFFFFFFu;

// Asks for Event to be set at the next change of the Filter kind in the key opened as Key (and,
// with WatchSubtree, below it) made through TRegistry in this process. One request serves one
// change; ask again after it. Answers ERROR_SUCCESS, or ERROR_INVALID_HANDLE for a key that is
// not open. The request ends when the key is closed.
LONG RegNotifyChangeKeyValue(HKEY Key, BOOL WatchSubtree, DWORD Filter, TRegChangeEvent* Event,
                             BOOL Asynchronous);
// Change requests waiting for their change (for checks that a watcher is in place).
int PendingChangeRequests();

// ---- The registry as a key-value store ----

// The INI-file calls over the registry key FileName (a path below HKEY_CURRENT_USER): one
// subkey per section, one value per entry. Integers are written as integer values; reading
// takes integer values and texts alike (a text holding no number reads as the default).
// Writes are lasting at once, so UpdateFile has nothing left to do. A section key that cannot
// be made raises ERegistryException "Failed to set data for '<name>'".
class TRegistryIniFile : public TCustomIniFile {
public:
    explicit TRegistryIniFile(const String& FileName) : TCustomIniFile(FileName) {}

    String ReadString(const String& Section, const String& Ident, const String& Default) override;
    void WriteString(const String& Section, const String& Ident, const String& Value) override;
    int ReadInteger(const String& Section, const String& Ident, int Default) override;
    void WriteInteger(const String& Section, const String& Ident, int Value) override;
    bool ValueExists(const String& Section, const String& Ident) override;
    bool SectionExists(const String& Section) override;
    void UpdateFile() override {}

private:
    // The section's key below the root.
    String SectionPath(const String& Section) const;
    // Opens the section's key for writing or raises.
    void OpenForWrite(TRegistry& Reg, const String& Section, const String& Ident) const;
};
