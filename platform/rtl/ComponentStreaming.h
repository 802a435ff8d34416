// The class library's class registry and component stream.
//
// Class registry: a stored layout names classes; a class registered by its name can be made by
// that name (GetClass, FindClass).
//
// Component stream: a component written as its class name, its name and its published properties
// by name, nested collections and string lists included. Each class's published properties are a
// table registered under the class's name (RegisterPublishedProperties); a property reads and
// writes itself through the stream's typed values. The encoding is ours:
//     "VCS1", class name, component name, { property name, value } ..., "" (end of the list)
// where a name is a 32-bit length and UTF-8 bytes and a value is a type byte and its data:
// integers 32 bits little-endian, strings as names, identifiers as names, sets as identifiers up
// to an empty one, lists (string lists) as values up to vaNull, collections as items each
// opened by vaList and closed by an empty property name, up to vaNull, floating-point numbers
// as 8 bytes (IEEE double, little-endian), binary data (pictures) as a 32-bit length and the
// bytes. A property whose Stored test says no (a value at its default) is left out. The reader checks every
// length against what the stream holds and raises EReadError on anything it does not expect;
// components read into a fresh object, so a caller that copies only after a successful read
// changes nothing on failure.
#pragma once

#include "Classes.h"

#include <QStringList>
#include <functional>
#include <type_traits>
#include <vector>

class EFilerError : public EStreamError {
    using EStreamError::EStreamError;
};
class EClassNotFound : public EFilerError {
    using EFilerError::EFilerError;
};

// ---------------------------------------------------------------------------------------------
// Class registry

// Makes an object of a registered class. Owner: the owning component of a component, the
// collection of a collection item, the owning object of a collection.
using TPersistentFactory = std::function<TPersistent*(TPersistent* Owner)>;
struct TPersistentClassRec {
    String ClassName;
    TPersistentFactory Create;
};
using TPersistentClass = const TPersistentClassRec*;

// Raises EFilerError "A class named <name> already exists" when the name is registered already.
void RegisterClass(const String& ClassName, TPersistentFactory Create);
// The usual factories: a component made with its owner, a collection item with its collection.
template <class T> void RegisterClass(const String& ClassName) {
    if constexpr (std::is_constructible_v<T, TComponent*>)
        RegisterClass(ClassName, [](TPersistent* Owner) -> TPersistent* {
            return new T(dynamic_cast<TComponent*>(Owner));
        });
    else
        RegisterClass(ClassName, [](TPersistent* Owner) -> TPersistent* {
            return new T(dynamic_cast<TCollection*>(Owner));
        });
}
void UnRegisterClass(const String& ClassName);
// nullptr when no class of that name is registered (names compare without case).
TPersistentClass GetClass(const String& ClassName);
// Raises EClassNotFound "Class <name> not found" when none is registered.
TPersistentClass FindClass(const String& ClassName);

// ---------------------------------------------------------------------------------------------
// Component stream

enum TStreamValueType : Byte {
    vaNull = 0,
    vaList = 1,
    vaInt = 2,
    vaString = 3,
    vaIdent = 4,
    vaFalse = 5,
    vaTrue = 6,
    vaSet = 7,
    vaCollection = 8,
    vaDouble = 9,
    vaBinary = 10
};

class TWriter;
class TReader;

// One published property: its name and how it writes and reads its value.
struct TPublishedProperty {
    String Name;
    std::function<void(TWriter&, TPersistent*)> Write;
    std::function<void(TReader&, TPersistent*)> Read;
    // Unset: always written.
    std::function<bool(TPersistent*)> Stored = nullptr;
};
using TPublishedProperties = std::vector<TPublishedProperty>;

// The published properties of a class; a later registration of the same name replaces the table.
void RegisterPublishedProperties(const String& ClassName, TPublishedProperties Properties);
// nullptr for a class without a table.
const TPublishedProperties* PublishedProperties(const String& ClassName);

class TWriter {
public:
    explicit TWriter(TStream* Stream) : FStream(Stream) {}
    void WriteName(const String& Name);
    void WriteValueType(TStreamValueType Value);
    void WriteInteger(int Value);
    void WriteString(const String& Value);
    void WriteBoolean(bool Value);
    void WriteIdent(const String& Ident);
    void WriteSet(const QStringList& Idents);
    void WriteStrings(TStrings* Strings);
    void WriteDouble(double Value);
    void WriteBinary(const QByteArray& Data);
    // Every item with the published properties of its class.
    void WriteCollection(TCollection* Collection);
    // The properties of the object's class table, each as name and value, then the end name.
    void WriteProperties(TPersistent* Instance);
    // The whole component record (signature, class, name, properties).
    void WriteComponent(TComponent* Instance);

private:
    void WriteRaw(const void* Buffer, Int64 Count);
    TStream* FStream;
};

class TReader {
public:
    explicit TReader(TStream* Stream) : FStream(Stream) {}
    String ReadName();
    TStreamValueType ReadValueType();
    // Each raises EReadError "Invalid property value" when another kind of value is next.
    int ReadInteger();
    String ReadString();
    bool ReadBoolean();
    String ReadIdent();
    QStringList ReadSet();
    void ReadStrings(TStrings* Strings);
    double ReadDouble();
    QByteArray ReadBinary();
    void ReadCollection(TCollection* Collection);
    // Properties up to the end name into the object; an unknown name raises EReadError
    // "Property <name> does not exist".
    void ReadProperties(TPersistent* Instance);
    // A component record into Instance: the stored class must be Instance's.
    void ReadComponent(TComponent* Instance);

private:
    void ReadRaw(void* Buffer, Int64 Count);
    void Expect(TStreamValueType Type);
    TStream* FStream;
    int FDepth = 0;
};

// Property-table helpers: an enumeration written by identifier, from a table of the names in
// the enumeration's order (an unknown identifier raises "Invalid property value").
String EnumIdent(const std::vector<const char*>& Names, int Value);
int IdentToEnum(const std::vector<const char*>& Names, const String& Ident);
