// Key-value stores of the class library: sections of "Name=Value" entries. TMemIniFile keeps an
// INI file in memory: it is read whole when the object is made and written back whole by
// UpdateFile. TRegistryIniFile (Registry.h) offers the same calls over a registry key.
#pragma once

#include "Classes.h"

#include <vector>

class TCustomIniFile : public TObject {
public:
    explicit TCustomIniFile(const String& FileName) : FFileName(FileName) {}

    const String& FileName() const { return FFileName; }

    virtual String ReadString(const String& Section, const String& Ident, const String& Default) = 0;
    virtual void WriteString(const String& Section, const String& Ident, const String& Value) = 0;
    // The value in the system integer syntax (decimal, "$" or "0x" hexadecimal); Default when the
    // entry is missing or holds no such number.
    virtual int ReadInteger(const String& Section, const String& Ident, int Default);
    virtual void WriteInteger(const String& Section, const String& Ident, int Value);
    virtual bool ValueExists(const String& Section, const String& Ident) = 0;
    virtual bool SectionExists(const String& Section) = 0;
    // Makes what was written lasting.
    virtual void UpdateFile() = 0;

private:
    String FFileName;
};

// An INI file in memory. Section and entry names are compared without regard to case; lines
// that are no entries (comments, blank lines) and every other section are kept as read. A file
// that does not exist reads as empty; one that exists but cannot be read raises EFOpenError, so
// nothing is ever written back over a file that was not read. The file is read with the string
// list's encoding detection (a byte-order mark, else Windows-1252) and written in Windows-1252
// when every character has a place there, else in UTF-8 with its byte-order mark; it is written
// whole or not at all (EFCreateError when it cannot be written; the old file stays).
class TMemIniFile : public TCustomIniFile {
public:
    explicit TMemIniFile(const String& FileName);

    String ReadString(const String& Section, const String& Ident, const String& Default) override;
    void WriteString(const String& Section, const String& Ident, const String& Value) override;
    bool ValueExists(const String& Section, const String& Ident) override;
    bool SectionExists(const String& Section) override;
    // The entry names of a section, in file order.
    void ReadSection(const String& Section, TStrings* Strings);
    void EraseSection(const String& Section);
    void DeleteKey(const String& Section, const String& Ident);
    void UpdateFile() override;
    // Every line of the file as it would be written.
    void GetStrings(TStrings* List) const;

private:
    struct TSection {
        String Name;
        QStringList Lines; // entries "Name=Value" and any other line of the section
    };
    TSection* FindSection(const String& Section);
    // The line of Ident in S, -1 when none.
    static int FindLine(const TSection& S, const String& Ident);

    QStringList FPreamble; // lines before the first section header
    std::vector<TSection> FSections;
};
