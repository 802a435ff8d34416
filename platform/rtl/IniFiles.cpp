// The key-value stores: the integer conversions every store shares and the INI file in memory.
#include "IniFiles.h"

#include "SysUtils.h"

int TCustomIniFile::ReadInteger(const String& Section, const String& Ident, int Default) {
    const String s = ReadString(Section, Ident, String());
    return s.isEmpty() ? Default : StrToIntDef(s, Default);
}

void TCustomIniFile::WriteInteger(const String& Section, const String& Ident, int Value) {
    WriteString(Section, Ident, IntToStr(Value));
}

// =============================================================================================
// TMemIniFile

namespace {

// The entry name of a line ("Name=Value"), empty for a line that is no entry.
String EntryName(const String& Line) {
    const int eq = Line.indexOf(u'=');
    return eq > 0 ? Line.left(eq).trimmed() : String();
}

} // namespace

TMemIniFile::TMemIniFile(const String& FileName) : TCustomIniFile(FileName) {
    if (FileName.isEmpty() || (!FileExists(FileName) && !DirectoryExists(FileName))) return;
    if (DirectoryExists(FileName))
        throw EFOpenError(QStringLiteral("Cannot open file \"%1\". Is a directory").arg(FileName));
    TStringList lines;
    lines.LoadFromFile(FileName);
    TSection* current = nullptr;
    for (int i = 0; i < lines.Count(); ++i) {
        const String line = lines.Strings(i);
        const String t = line.trimmed();
        if (t.startsWith(u'[') && t.endsWith(u']')) {
            FSections.push_back({t.mid(1, t.size() - 2).trimmed(), {}});
            current = &FSections.back();
            continue;
        }
        if (t.isEmpty()) continue; // blank lines come back as the separators between sections
        (current ? current->Lines : FPreamble) << line;
    }
}

TMemIniFile::TSection* TMemIniFile::FindSection(const String& Section) {
    for (TSection& s : FSections)
        if (s.Name.compare(Section, Qt::CaseInsensitive) == 0) return &s;
    return nullptr;
}

int TMemIniFile::FindLine(const TSection& S, const String& Ident) {
    for (int i = 0; i < S.Lines.size(); ++i) {
        const String name = EntryName(S.Lines[i]);
        if (!name.isEmpty() && name.compare(Ident, Qt::CaseInsensitive) == 0) return i;
    }
    return -1;
}

String TMemIniFile::ReadString(const String& Section, const String& Ident, const String& Default) {
    const TSection* s = FindSection(Section);
    const int i = s ? FindLine(*s, Ident) : -1;
    if (i < 0) return Default;
    const String& line = s->Lines[i];
    return line.mid(line.indexOf(u'=') + 1);
}

void TMemIniFile::WriteString(const String& Section, const String& Ident, const String& Value) {
    TSection* s = FindSection(Section);
    if (!s) {
        FSections.push_back({Section, {}});
        s = &FSections.back();
    }
    const String line = Ident + u'=' + Value;
    const int i = FindLine(*s, Ident);
    if (i >= 0)
        s->Lines[i] = line;
    else
        s->Lines << line;
}

bool TMemIniFile::ValueExists(const String& Section, const String& Ident) {
    const TSection* s = FindSection(Section);
    return s && FindLine(*s, Ident) >= 0;
}

bool TMemIniFile::SectionExists(const String& Section) {
    return FindSection(Section) != nullptr;
}

void TMemIniFile::ReadSection(const String& Section, TStrings* Strings) {
    Strings->Clear();
    if (const TSection* s = FindSection(Section))
        for (const String& line : s->Lines)
            if (const String name = EntryName(line); !name.isEmpty()) Strings->Add(name);
}

void TMemIniFile::EraseSection(const String& Section) {
    for (auto it = FSections.begin(); it != FSections.end(); ++it)
        if (it->Name.compare(Section, Qt::CaseInsensitive) == 0) {
            FSections.erase(it);
            return;
        }
}

void TMemIniFile::DeleteKey(const String& Section, const String& Ident) {
    TSection* s = FindSection(Section);
    const int i = s ? FindLine(*s, Ident) : -1;
    if (i >= 0) s->Lines.removeAt(i);
}

void TMemIniFile::GetStrings(TStrings* List) const {
    List->BeginUpdate();
    List->Clear();
    for (const String& line : FPreamble) List->Add(line);
    for (const TSection& s : FSections) {
        List->Add(u'[' + s.Name + u']');
        for (const String& line : s.Lines) List->Add(line);
        List->Add(String());
    }
    List->EndUpdate();
}

void TMemIniFile::UpdateFile() {
    TStringList lines;
    GetStrings(&lines);
    bool lossless = true;
    ToWin1252(lines.Text(), &lossless);
    lines.SaveToFile(FileName(), lossless ? TEncoding::ANSI : TEncoding::UTF8);
}
