// Late-bound automation: objects of programs outside this one (the office suite's spreadsheet and
// word processor, the desktop-database objects), reached by their ProgID, whose properties and
// methods are named at run time.
//
// A value passed to or coming back from such an object is an OleVariant: a plain value (empty,
// text, number, Boolean, date, or a two-dimensional array held as a list of rows) or a reference
// to another object of the same program. Calls go through TAutomationObject::Invoke; the
// program's objects decide what a name means and raise their own errors.
//
// The objects come from the automation provider. The one in place answers no ProgID:
// CreateOleObject and GetActiveOleObject raise EOleSysError "Automation server not available: "
// + ProgID, so every caller takes its path for a missing program. A provider that reaches real
// programs, or a test's scripted one, is put in place with SetAutomationProvider.
#pragma once

#include "System.h"

#include <QVariant>

#include <cstdint>
#include <memory>
#include <type_traits>
#include <vector>

// An automation failure.
class EOleError : public Exception {
    using Exception::Exception;
};

// A failure the system reports with a status code: no program registered for a ProgID, none
// running, a call the object refused.
class EOleSysError : public EOleError {
public:
    EOleSysError(const String& Msg, int32_t ErrorCode) : EOleError(Msg), FErrorCode(ErrorCode) {}
    int32_t ErrorCode() const { return FErrorCode; }

private:
    int32_t FErrorCode;
};

// Status codes of EOleSysError: no program is registered under the ProgID; none is running.
constexpr int32_t REGDB_E_CLASSNOTREG = int32_t(0x80040154u);
constexpr int32_t MK_E_UNAVAILABLE = int32_t(0x800401E3u);

class TAutomationObject;
struct TOleArg;
using TOleArgs = std::vector<TOleArg>;

class OleVariant {
public:
    OleVariant() = default;
    OleVariant(const QVariant& Value) : FValue(Value) {}
    OleVariant(const String& Value) : FValue(Value) {}
    OleVariant(const char* Value) : FValue(String::fromUtf8(Value)) {}
    OleVariant(int Value) : FValue(Value) {}
    OleVariant(bool Value) : FValue(Value) {}
    OleVariant(double Value) : FValue(Value) {}
    OleVariant(std::shared_ptr<TAutomationObject> Object) : FObject(std::move(Object)) {}

    bool IsObject() const { return FObject != nullptr; }
    // Neither a value nor an object.
    bool IsEmpty() const { return !FObject && !FValue.isValid(); }
    const QVariant& Value() const { return FValue; }
    TAutomationObject* Object() const { return FObject.get(); }

    // Late-bound access to the object held; on a variant holding no object they raise
    // EOleError "Variant does not reference an automation object".
    OleVariant Get(const String& Name, const TOleArgs& Args = {}) const;
    void Set(const String& Name, const OleVariant& Value) const;
    OleVariant Call(const String& Name, const TOleArgs& Args = {}) const;

private:
    QVariant FValue;
    std::shared_ptr<TAutomationObject> FObject;
};

// An argument: positional when Name is empty, named otherwise.
struct TOleArg {
    // Anything a variant is made from, so that a list of arguments reads {FileName, 1}.
    template <class T>
    requires(std::is_constructible_v<OleVariant, const T&> && !std::is_same_v<T, TOleArg>)
        TOleArg(const T& Value)
        : Value(OleVariant(Value)) {}
    TOleArg(const String& Name, const OleVariant& Value) : Name(Name), Value(Value) {}
    String Name;
    OleVariant Value;
};

// A named argument.
inline TOleArg Named(const String& Name, const OleVariant& Value) {
    return TOleArg(Name, Value);
}

enum TInvokeKind { ikMethod, ikPropertyGet, ikPropertyPut };

// An object of an automation program. A property put carries the new value as its last argument.
class TAutomationObject {
public:
    virtual ~TAutomationObject() = default;
    virtual OleVariant Invoke(const String& Name, TInvokeKind Kind, const TOleArgs& Args) = 0;
};

// Where the automation programs come from.
class TAutomationProvider {
public:
    virtual ~TAutomationProvider() = default;
    // A new instance of the program registered under ProgID.
    virtual OleVariant Create(const String& ProgID) = 0;
    // The running instance of the program registered under ProgID.
    virtual OleVariant GetActive(const String& ProgID) = 0;
};

// Both raise EOleSysError when the provider has no such program (or none running).
OleVariant CreateOleObject(const String& ProgID);
OleVariant GetActiveOleObject(const String& ProgID);

// Puts Provider in place (nullptr: the one that answers no ProgID) and answers the one it
// replaces.
std::shared_ptr<TAutomationProvider> SetAutomationProvider(std::shared_ptr<TAutomationProvider> Provider);
