// The class library's class registry and component stream.
//
// Class registry: a stored layout names classes; a class registered by its name can be made by
// that name (GetClass, FindClass).
//
// Component stream: the class library's binary component format. A component is "TPF0", its
// class name, its name, its published properties by name and two end markers (of the property
// list and of the list of owned components). Names are short strings (a byte of length, UTF-8);
// a value is a type byte and its data: integers in the smallest of 8, 16 and 32 bits
// (little-endian), strings as short strings, long strings or UTF-16 strings, identifiers as
// names, sets as identifiers up to an empty one, string lists as values up to vaNull, collections
// as items each opened by vaList and closed by an empty name, up to vaNull, floating-point numbers
// as 8-byte doubles, binary data (picture data) as a 32-bit length and the bytes. Each class's
// published properties are a table registered under the class's name
// (RegisterPublishedProperties); a property whose Stored test says no (a value at its default) is
// left out. The reader checks every length against what the stream holds and raises EReadError
// on anything it does not expect; components read into a fresh object, so a caller that copies
// only after a successful read changes nothing on failure.
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
    vaNull,
    vaList,
    vaInt8,
    vaInt16,
    vaInt32,
    vaExtended,
    vaString,
    vaIdent,
    vaFalse,
    vaTrue,
    vaBinary,
    vaSet,
    vaLString,
    vaNil,
    vaCollection,
    vaSingle,
    vaCurrency,
    vaDate,
    vaWString,
    vaInt64,
    vaUTF8String,
    vaDouble
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
    // The integer of a vaInt8/16/32/64 value whose type byte is read already.
    qint64 ReadIntegerValue(TStreamValueType Type);
    TStream* FStream;
    int FDepth = 0;
};

// Property-table helpers: an enumeration written by identifier, from a table of the names in
// the enumeration's order (an unknown identifier raises "Invalid property value").
String EnumIdent(const std::vector<const char*>& Names, int Value);
int IdentToEnum(const std::vector<const char*>& Names, const String& Ident);
