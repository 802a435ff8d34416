// The registry as a key-value store: one subkey per section below the store's key.
#include "Registry.h"

#include "SysUtils.h"

String TRegistryIniFile::SectionPath(const String& Section) const {
    String path = FileName();
    if (!path.startsWith(u'\\')) path.prepend(u'\\');
    if (!Section.isEmpty()) path += u'\\' + Section;
    return path;
}

void TRegistryIniFile::OpenForWrite(TRegistry& Reg, const String& Section, const String& Ident) const {
    if (!Reg.OpenKey(SectionPath(Section), true))
        throw ERegistryException(QStringLiteral("Failed to set data for '%1'").arg(Ident));
}

String TRegistryIniFile::ReadString(const String& Section, const String& Ident, const String& Default) {
    TRegistry reg(KEY_READ);
    if (!reg.OpenKeyReadOnly(SectionPath(Section))) return Default;
    switch (reg.GetDataType(Ident)) {
        case rdString:
        case rdExpandString: return reg.ReadString(Ident);
        case rdInteger: return IntToStr(reg.ReadInteger(Ident));
        default: return Default;
    }
}

void TRegistryIniFile::WriteString(const String& Section, const String& Ident, const String& Value) {
    TRegistry reg;
    OpenForWrite(reg, Section, Ident);
    reg.WriteString(Ident, Value);
}

int TRegistryIniFile::ReadInteger(const String& Section, const String& Ident, int Default) {
    TRegistry reg(KEY_READ);
    if (!reg.OpenKeyReadOnly(SectionPath(Section))) return Default;
    switch (reg.GetDataType(Ident)) {
        case rdInteger: return reg.ReadInteger(Ident);
        case rdString:
        case rdExpandString: return StrToIntDef(reg.ReadString(Ident), Default);
        default: return Default;
    }
}

void TRegistryIniFile::WriteInteger(const String& Section, const String& Ident, int Value) {
    TRegistry reg;
    OpenForWrite(reg, Section, Ident);
    reg.WriteInteger(Ident, Value);
}

bool TRegistryIniFile::ValueExists(const String& Section, const String& Ident) {
    TRegistry reg(KEY_READ);
    return reg.OpenKeyReadOnly(SectionPath(Section)) && reg.ValueExists(Ident);
}

bool TRegistryIniFile::SectionExists(const String& Section) {
    TRegistry reg(KEY_READ);
    return reg.KeyExists(SectionPath(Section));
}
