// The class registry and the component stream.
#include "ComponentStreaming.h"

#include "SysUtils.h"

#include <cstring>
#include <map>
#include <mutex>

namespace {

// A name or string longer than this is no part of a sound stream.
constexpr qint32 MaxNameBytes = 16 * 1024 * 1024;
// Nested collections deeper than this are refused.
constexpr int MaxDepth = 16;
const char Signature[4] = {'V', 'C', 'S', '1'};

std::mutex GRegistryMutex;

std::map<String, TPersistentClassRec>& Classes() {
    static std::map<String, TPersistentClassRec> classes;
    return classes;
}

std::map<String, TPublishedProperties>& PropertyTables() {
    static std::map<String, TPublishedProperties> tables;
    return tables;
}

[[noreturn]] void InvalidValue() {
    throw EReadError(QStringLiteral("Invalid property value"));
}

} // namespace

// =============================================================================================
// Class registry

void RegisterClass(const String& ClassName, TPersistentFactory Create) {
    std::lock_guard<std::mutex> lock(GRegistryMutex);
    const String key = ClassName.toUpper();
    if (Classes().count(key)) throw EFilerError(Format("A class named %s already exists", ClassName));
    Classes()[key] = TPersistentClassRec{ClassName, std::move(Create)};
}

void UnRegisterClass(const String& ClassName) {
    std::lock_guard<std::mutex> lock(GRegistryMutex);
    Classes().erase(ClassName.toUpper());
}

TPersistentClass GetClass(const String& ClassName) {
    std::lock_guard<std::mutex> lock(GRegistryMutex);
    auto it = Classes().find(ClassName.toUpper());
    return it == Classes().end() ? nullptr : &it->second;
}

TPersistentClass FindClass(const String& ClassName) {
    TPersistentClass c = GetClass(ClassName);
    if (!c) throw EClassNotFound(Format("Class %s not found", ClassName));
    return c;
}

// =============================================================================================
// Property tables

void RegisterPublishedProperties(const String& ClassName, TPublishedProperties Properties) {
    std::lock_guard<std::mutex> lock(GRegistryMutex);
    PropertyTables()[ClassName] = std::move(Properties);
}

const TPublishedProperties* PublishedProperties(const String& ClassName) {
    std::lock_guard<std::mutex> lock(GRegistryMutex);
    auto it = PropertyTables().find(ClassName);
    return it == PropertyTables().end() ? nullptr : &it->second;
}

String EnumIdent(const std::vector<const char*>& Names, int Value) {
    if (Value < 0 || Value >= int(Names.size())) return String::number(Value);
    return String::fromLatin1(Names[size_t(Value)]);
}

int IdentToEnum(const std::vector<const char*>& Names, const String& Ident) {
    for (size_t i = 0; i < Names.size(); ++i)
        if (Ident == QLatin1String(Names[i])) return int(i);
    InvalidValue();
}

// =============================================================================================
// Writer

void TWriter::WriteRaw(const void* Buffer, Int64 Count) {
    FStream->WriteBuffer(Buffer, Count);
}

void TWriter::WriteName(const String& Name) {
    const QByteArray bytes = Name.toUtf8();
    const qint32 n = qint32(bytes.size());
    const unsigned char len[4] = {Byte(n), Byte(n >> 8), Byte(n >> 16), Byte(n >> 24)};
    WriteRaw(len, 4);
    if (n > 0) WriteRaw(bytes.constData(), n);
}

void TWriter::WriteValueType(TStreamValueType Value) {
    const Byte b = Value;
    WriteRaw(&b, 1);
}

void TWriter::WriteInteger(int Value) {
    WriteValueType(vaInt);
    const quint32 v = quint32(Value);
    const unsigned char bytes[4] = {Byte(v), Byte(v >> 8), Byte(v >> 16), Byte(v >> 24)};
    WriteRaw(bytes, 4);
}

void TWriter::WriteString(const String& Value) {
    WriteValueType(vaString);
    WriteName(Value);
}

void TWriter::WriteBoolean(bool Value) {
    WriteValueType(Value ? vaTrue : vaFalse);
}

void TWriter::WriteIdent(const String& Ident) {
    WriteValueType(vaIdent);
    WriteName(Ident);
}

void TWriter::WriteSet(const QStringList& Idents) {
    WriteValueType(vaSet);
    for (const String& s : Idents) WriteName(s);
    WriteName(String());
}

void TWriter::WriteStrings(TStrings* Strings) {
    WriteValueType(vaList);
    for (int i = 0; i < Strings->Count(); ++i) WriteString(Strings->Strings(i));
    WriteValueType(vaNull);
}

void TWriter::WriteDouble(double Value) {
    WriteValueType(vaDouble);
    quint64 v = 0;
    memcpy(&v, &Value, 8);
    unsigned char bytes[8];
    for (int i = 0; i < 8; ++i) bytes[i] = Byte(v >> (8 * i));
    WriteRaw(bytes, 8);
}

void TWriter::WriteBinary(const QByteArray& Data) {
    WriteValueType(vaBinary);
    const qint32 n = qint32(Data.size());
    const unsigned char len[4] = {Byte(n), Byte(n >> 8), Byte(n >> 16), Byte(n >> 24)};
    WriteRaw(len, 4);
    if (n > 0) WriteRaw(Data.constData(), n);
}

void TWriter::WriteCollection(TCollection* Collection) {
    WriteValueType(vaCollection);
    for (int i = 0; i < Collection->Count(); ++i) {
        WriteValueType(vaList);
        WriteProperties(Collection->Items(i));
    }
    WriteValueType(vaNull);
}

void TWriter::WriteProperties(TPersistent* Instance) {
    if (const TPublishedProperties* props = PublishedProperties(Instance->ClassName())) {
        for (const TPublishedProperty& p : *props) {
            if (p.Stored && !p.Stored(Instance)) continue;
            WriteName(p.Name);
            p.Write(*this, Instance);
        }
    }
    WriteName(String());
}

void TWriter::WriteComponent(TComponent* Instance) {
    WriteRaw(Signature, 4);
    WriteName(Instance->ClassName());
    WriteName(Instance->Name());
    WriteProperties(Instance);
}

// =============================================================================================
// Reader

void TReader::ReadRaw(void* Buffer, Int64 Count) {
    FStream->ReadBuffer(Buffer, Count);
}

String TReader::ReadName() {
    unsigned char len[4];
    ReadRaw(len, 4);
    const qint32 n =
        qint32(quint32(len[0]) | quint32(len[1]) << 8 | quint32(len[2]) << 16 | quint32(len[3]) << 24);
    if (n < 0 || n > MaxNameBytes || n > FStream->Size() - FStream->Position())
        throw EReadError(QStringLiteral("Stream read error"));
    QByteArray bytes(n, Qt::Uninitialized);
    if (n > 0) ReadRaw(bytes.data(), n);
    return String::fromUtf8(bytes);
}

TStreamValueType TReader::ReadValueType() {
    Byte b = 0;
    ReadRaw(&b, 1);
    if (b > vaBinary) InvalidValue();
    return TStreamValueType(b);
}

void TReader::Expect(TStreamValueType Type) {
    if (ReadValueType() != Type) InvalidValue();
}

int TReader::ReadInteger() {
    Expect(vaInt);
    unsigned char bytes[4];
    ReadRaw(bytes, 4);
    return int(quint32(bytes[0]) | quint32(bytes[1]) << 8 | quint32(bytes[2]) << 16 |
               quint32(bytes[3]) << 24);
}

String TReader::ReadString() {
    Expect(vaString);
    return ReadName();
}

bool TReader::ReadBoolean() {
    const TStreamValueType t = ReadValueType();
    if (t != vaTrue && t != vaFalse) InvalidValue();
    return t == vaTrue;
}

String TReader::ReadIdent() {
    Expect(vaIdent);
    return ReadName();
}

QStringList TReader::ReadSet() {
    Expect(vaSet);
    QStringList idents;
    for (String s = ReadName(); !s.isEmpty(); s = ReadName()) idents << s;
    return idents;
}

void TReader::ReadStrings(TStrings* Strings) {
    Expect(vaList);
    QStringList texts;
    for (TStreamValueType t = ReadValueType(); t != vaNull; t = ReadValueType()) {
        if (t != vaString) InvalidValue();
        texts << ReadName();
    }
    Strings->BeginUpdate();
    Strings->Clear();
    for (const String& s : texts) Strings->Add(s);
    Strings->EndUpdate();
}

double TReader::ReadDouble() {
    Expect(vaDouble);
    unsigned char bytes[8];
    ReadRaw(bytes, 8);
    quint64 v = 0;
    for (int i = 0; i < 8; ++i) v |= quint64(bytes[i]) << (8 * i);
    double d = 0;
    memcpy(&d, &v, 8);
    return d;
}

QByteArray TReader::ReadBinary() {
    Expect(vaBinary);
    unsigned char len[4];
    ReadRaw(len, 4);
    const qint32 n =
        qint32(quint32(len[0]) | quint32(len[1]) << 8 | quint32(len[2]) << 16 | quint32(len[3]) << 24);
    if (n < 0 || n > FStream->Size() - FStream->Position())
        throw EReadError(QStringLiteral("Stream read error"));
    QByteArray bytes(n, Qt::Uninitialized);
    if (n > 0) ReadRaw(bytes.data(), n);
    return bytes;
}

void TReader::ReadCollection(TCollection* Collection) {
    Expect(vaCollection);
    if (++FDepth > MaxDepth) InvalidValue();
    Collection->BeginUpdate();
    try {
        Collection->Clear();
        for (TStreamValueType t = ReadValueType(); t != vaNull; t = ReadValueType()) {
            if (t != vaList) InvalidValue();
            ReadProperties(Collection->Add());
        }
    } catch (...) {
        Collection->EndUpdate();
        --FDepth;
        throw;
    }
    Collection->EndUpdate();
    --FDepth;
}

void TReader::ReadProperties(TPersistent* Instance) {
    const TPublishedProperties* props = PublishedProperties(Instance->ClassName());
    for (String name = ReadName(); !name.isEmpty(); name = ReadName()) {
        const TPublishedProperty* found = nullptr;
        if (props)
            for (const TPublishedProperty& p : *props)
                if (p.Name.compare(name, Qt::CaseInsensitive) == 0) {
                    found = &p;
                    break;
                }
        if (!found) throw EReadError(Format("Property %s does not exist", name));
        found->Read(*this, Instance);
    }
}

void TReader::ReadComponent(TComponent* Instance) {
    char sig[4];
    ReadRaw(sig, 4);
    if (memcmp(sig, Signature, 4) != 0) throw EReadError(QStringLiteral("Invalid stream format"));
    const String className = ReadName();
    if (className.compare(Instance->ClassName(), Qt::CaseInsensitive) != 0)
        throw EReadError(Format("Stream holds a %s, not a %s", className, Instance->ClassName()));
    ReadName(); // the component's name: the instance keeps its own
    ReadProperties(Instance);
}
