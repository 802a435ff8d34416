// The class registry and the component stream.
#include "ComponentStreaming.h"

#include "SysUtils.h"

#include <cmath>
#include <cstring>
#include <limits>
#include <map>
#include <mutex>

namespace {

// A string longer than this is no part of a sound stream.
constexpr qint32 MaxStringBytes = 64 * 1024 * 1024;
// Nested collections deeper than this are refused.
constexpr int MaxDepth = 16;
const char Signature[4] = {'T', 'P', 'F', '0'};

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

namespace {

void PutInt32(QByteArray& B, qint32 V) {
    const quint32 v = quint32(V);
    for (int i = 0; i < 4; ++i) B.append(char(Byte(v >> (8 * i))));
}

qint64 GetLE(const unsigned char* P, int N) {
    quint64 v = 0;
    for (int i = 0; i < N; ++i) v |= quint64(P[i]) << (8 * i);
    // Sign-extended from N bytes.
    if (N < 8 && (v >> (8 * N - 1)) & 1) v |= ~quint64(0) << (8 * N);
    return qint64(v);
}

bool IsAscii(const String& S) {
    for (Char c : S)
        if (c.unicode() >= 0x80) return false;
    return true;
}

} // namespace

// A short string: one byte of length, then the UTF-8 bytes.
void TWriter::WriteName(const String& Name) {
    const QByteArray bytes = Name.toUtf8();
    if (bytes.size() > 255) throw EWriteError(Format("Name %s is too long for a component stream", Name));
    const Byte n = Byte(bytes.size());
    WriteRaw(&n, 1);
    if (n > 0) WriteRaw(bytes.constData(), n);
}

void TWriter::WriteValueType(TStreamValueType Value) {
    const Byte b = Value;
    WriteRaw(&b, 1);
}

// The smallest of the 8-, 16- and 32-bit forms that holds the value.
void TWriter::WriteInteger(int Value) {
    QByteArray b;
    if (Value >= -128 && Value <= 127) {
        b.append(char(vaInt8));
        b.append(char(Byte(Value)));
    } else if (Value >= -32768 && Value <= 32767) {
        b.append(char(vaInt16));
        b.append(char(Byte(Value)));
        b.append(char(Byte(Value >> 8)));
    } else {
        b.append(char(vaInt32));
        PutInt32(b, Value);
    }
    WriteRaw(b.constData(), b.size());
}

// ASCII texts as short or long strings, others as UTF-16 strings.
void TWriter::WriteString(const String& Value) {
    QByteArray b;
    if (IsAscii(Value)) {
        const QByteArray bytes = Value.toLatin1();
        if (bytes.size() <= 255) {
            b.append(char(vaString));
            b.append(char(Byte(bytes.size())));
        } else {
            b.append(char(vaLString));
            PutInt32(b, qint32(bytes.size()));
        }
        b += bytes;
    } else {
        b.append(char(vaWString));
        PutInt32(b, qint32(Value.size()));
        for (Char c : Value) {
            b.append(char(Byte(c.unicode())));
            b.append(char(Byte(c.unicode() >> 8)));
        }
    }
    WriteRaw(b.constData(), b.size());
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
    QByteArray b;
    b.append(char(vaBinary));
    PutInt32(b, qint32(Data.size()));
    WriteRaw(b.constData(), b.size());
    if (!Data.isEmpty()) WriteRaw(Data.constData(), Data.size());
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
    // The (empty) list of owned components.
    WriteValueType(vaNull);
}

// =============================================================================================
// Reader

void TReader::ReadRaw(void* Buffer, Int64 Count) {
    if (Count < 0 || Count > FStream->Size() - FStream->Position())
        throw EReadError(QStringLiteral("Stream read error"));
    FStream->ReadBuffer(Buffer, Count);
}

String TReader::ReadName() {
    Byte n = 0;
    ReadRaw(&n, 1);
    QByteArray bytes(n, Qt::Uninitialized);
    if (n > 0) ReadRaw(bytes.data(), n);
    return String::fromUtf8(bytes);
}

TStreamValueType TReader::ReadValueType() {
    Byte b = 0;
    ReadRaw(&b, 1);
    if (b > vaDouble) InvalidValue();
    return TStreamValueType(b);
}

void TReader::Expect(TStreamValueType Type) {
    if (ReadValueType() != Type) InvalidValue();
}

qint64 TReader::ReadIntegerValue(TStreamValueType Type) {
    unsigned char bytes[8];
    switch (Type) {
        case vaInt8: ReadRaw(bytes, 1); return GetLE(bytes, 1);
        case vaInt16: ReadRaw(bytes, 2); return GetLE(bytes, 2);
        case vaInt32: ReadRaw(bytes, 4); return GetLE(bytes, 4);
        case vaInt64: ReadRaw(bytes, 8); return GetLE(bytes, 8);
        default: InvalidValue();
    }
}

int TReader::ReadInteger() {
    const qint64 v = ReadIntegerValue(ReadValueType());
    if (v < std::numeric_limits<int>::min() || v > std::numeric_limits<int>::max()) InvalidValue();
    return int(v);
}

String TReader::ReadString() {
    const TStreamValueType t = ReadValueType();
    unsigned char len[4];
    switch (t) {
        case vaString: {
            Byte n = 0;
            ReadRaw(&n, 1);
            QByteArray bytes(n, Qt::Uninitialized);
            if (n > 0) ReadRaw(bytes.data(), n);
            return FromWin1252(bytes);
        }
        case vaLString:
        case vaUTF8String: {
            ReadRaw(len, 4);
            const qint64 n = GetLE(len, 4);
            if (n < 0 || n > MaxStringBytes || n > FStream->Size() - FStream->Position())
                throw EReadError(QStringLiteral("Stream read error"));
            QByteArray bytes(qsizetype(n), Qt::Uninitialized);
            if (n > 0) ReadRaw(bytes.data(), n);
            return t == vaUTF8String ? String::fromUtf8(bytes) : FromWin1252(bytes);
        }
        case vaWString: {
            ReadRaw(len, 4);
            const qint64 n = GetLE(len, 4);
            if (n < 0 || n > MaxStringBytes / 2 || 2 * n > FStream->Size() - FStream->Position())
                throw EReadError(QStringLiteral("Stream read error"));
            QByteArray bytes(qsizetype(2 * n), Qt::Uninitialized);
            if (n > 0) ReadRaw(bytes.data(), 2 * n);
            String s;
            s.reserve(qsizetype(n));
            for (qint64 i = 0; i < n; ++i)
                s += Char(char16_t(Byte(bytes[qsizetype(2 * i)]) | Byte(bytes[qsizetype(2 * i + 1)]) << 8));
            return s;
        }
        default: InvalidValue();
    }
}

bool TReader::ReadBoolean() {
    const TStreamValueType t = ReadValueType();
    if (t != vaTrue && t != vaFalse) InvalidValue();
    return t == vaTrue;
}

String TReader::ReadIdent() {
    switch (ReadValueType()) {
        case vaIdent: return ReadName();
        case vaFalse: return QStringLiteral("False");
        case vaTrue: return QStringLiteral("True");
        case vaNil: return QStringLiteral("nil");
        case vaNull: return QStringLiteral("Null");
        default: InvalidValue();
    }
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
    for (;;) {
        const Int64 at = FStream->Position();
        Byte b = 0;
        ReadRaw(&b, 1);
        if (b == vaNull) break;
        FStream->SetPosition(at);
        texts << ReadString();
    }
    Strings->BeginUpdate();
    Strings->Clear();
    for (const String& s : texts) Strings->Add(s);
    Strings->EndUpdate();
}

double TReader::ReadDouble() {
    const TStreamValueType t = ReadValueType();
    unsigned char b[10];
    switch (t) {
        case vaDouble: {
            ReadRaw(b, 8);
            quint64 v = 0;
            for (int i = 0; i < 8; ++i) v |= quint64(b[i]) << (8 * i);
            double d = 0;
            memcpy(&d, &v, 8);
            return d;
        }
        case vaSingle: {
            ReadRaw(b, 4);
            quint32 v = 0;
            for (int i = 0; i < 4; ++i) v |= quint32(b[i]) << (8 * i);
            float f = 0;
            memcpy(&f, &v, 4);
            return f;
        }
        case vaExtended: {
            // 64-bit mantissa with its integer bit, 15-bit exponent biased by 16383, sign.
            ReadRaw(b, 10);
            quint64 mant = 0;
            for (int i = 0; i < 8; ++i) mant |= quint64(b[i]) << (8 * i);
            const int se = b[8] | b[9] << 8;
            const int exp = se & 0x7FFF;
            const bool neg = se & 0x8000;
            double d;
            if (exp == 0 && mant == 0)
                d = 0;
            else if (exp == 0x7FFF)
                d = (mant << 1) ? std::numeric_limits<double>::quiet_NaN()
                                : std::numeric_limits<double>::infinity();
            else
                d = std::ldexp(double(mant), exp - 16383 - 63);
            return neg ? -d : d;
        }
        default: {
            const qint64 i = ReadIntegerValue(t);
            return double(i);
        }
    }
}

QByteArray TReader::ReadBinary() {
    Expect(vaBinary);
    unsigned char len[4];
    ReadRaw(len, 4);
    const qint64 n = GetLE(len, 4);
    if (n < 0 || n > FStream->Size() - FStream->Position())
        throw EReadError(QStringLiteral("Stream read error"));
    QByteArray bytes(qsizetype(n), Qt::Uninitialized);
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
            // An item may carry its order value before its list.
            if (t == vaInt8 || t == vaInt16 || t == vaInt32) {
                ReadIntegerValue(t);
                t = ReadValueType();
            }
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
    // Filer flags may come first: a byte F0..FF, then the child position when flagged.
    Byte first = 0;
    const Int64 at = FStream->Position();
    ReadRaw(&first, 1);
    if ((first & 0xF0) == 0xF0) {
        if (first & 0x02) ReadInteger();
    } else
        FStream->SetPosition(at);
    const String className = ReadName();
    if (className.compare(Instance->ClassName(), Qt::CaseInsensitive) != 0)
        throw EReadError(Format("Stream holds a %s, not a %s", className, Instance->ClassName()));
    ReadName(); // the component's name: the instance keeps its own
    ReadProperties(Instance);
    // Owned components are not part of what is read here: the list must be empty.
    Expect(vaNull);
}
