#include "ULang.h"

#include "Classes.h"
#include "SysUtils.h"
#include "UProject.h"

#include <QDir>
#include <QFile>

int Num_Lang_Text = 2900;
TLang_Text Lang_Text;

// Registers the shell's compiled texts (the resource object of a static library is otherwise
// left out by the linker).
static void InitTextResources() {
    static const bool done = [] {
        Q_INIT_RESOURCE(velmora_texts);
        return true;
    }();
    (void)done;
}

namespace {

const QChar Pilcrow(0x00B6);

// The lines of every built-in text file, in file-name order, read once.
const QStringList& BuiltInLines() {
    static const QStringList lines = [] {
        InitTextResources();
        QStringList all;
        const QStringList files = QDir(QStringLiteral(":/text"))
                                      .entryList({QStringLiteral("English*.lng")}, QDir::Files, QDir::Name);
        for (const QString& f : files) {
            QFile file(QStringLiteral(":/text/") + f);
            if (!file.open(QIODevice::ReadOnly)) continue;
            const String text = String::fromUtf8(file.readAll());
            // One line per "\r\n", "\r" or "\n"; empty lines stay.
            qsizetype start = 0;
            for (qsizetype i = 0; i < text.size(); ++i) {
                if (text[i] != u'\n' && text[i] != u'\r') continue;
                all += text.mid(start, i - start);
                if (text[i] == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n') ++i;
                start = i + 1;
            }
            all += text.mid(start);
        }
        return all;
    }();
    return lines;
}

} // namespace

bool Parse_Lang_Line(const String& Line, int& Id, String& Text) {
    const String s = Trim(Line);
    if (!s.startsWith(QStringLiteral("STR"))) return false;
    const int p = Pos(QStringLiteral("="), s);
    if (p == 0) return false;
    // The id is everything between "STR" and "=", so "STR12=x" and "STR12 = x" both name 12:
    // taking the character before "=" as a separator would silently turn "STR12=x" into id 1.
    const int id = StrToIntDef(Trim(Copy(s, 4, p - 4)), -1);
    if (id < 0 || id >= Num_Lang_Text) return false;
    String t = Trim(Copy(s, p + 1, Length(s)));
    if (t.isEmpty()) return false;
    const int c = Pos(QStringLiteral("/#/"), t);
    if (c > 0) {
        t = TrimRight(Copy(t, 1, c - 1));
        if (t.isEmpty()) return false;
    }
    if (t.startsWith(Pilcrow)) t.remove(0, 1);
    const int q = int(t.indexOf(Pilcrow));
    if (q >= 0) t.truncate(q);
    Id = id;
    Text = t;
    return true;
}

std::vector<std::pair<int, String>> Built_In_Lang_Lines() {
    std::vector<std::pair<int, String>> result;
    for (const String& line : BuiltInLines()) {
        int id;
        String text;
        if (Parse_Lang_Line(line, id, text)) result.emplace_back(id, text);
    }
    return result;
}

TLang_Text::TLang_Text() {
    Load_Default_Lang();
}

String TLang_Text::Get(int Id) const {
    if (Id < 0 || Id >= int(FTexts.size())) return QStringLiteral(" ");
    return FTexts[size_t(Id)];
}

void TLang_Text::Set(int Id, const String& Text) {
    if (Id >= 0 && Id < int(FTexts.size())) FTexts[size_t(Id)] = Text;
}

void TLang_Text::Load_Default_Lang() {
    Num_Lang_Text = 2900;
    // The built-in texts are parsed once; every later load (each language switch starts with
    // one) applies them again.
    static const std::vector<std::pair<int, String>> builtIn = Built_In_Lang_Lines();
    FTexts.assign(size_t(Num_Lang_Text), QStringLiteral(" "));
    for (const auto& [id, text] : builtIn) FTexts[size_t(id)] = text;
}

void TLang_Text::Apply_Lang_Lines(const QStringList& Lines) {
    for (const String& line : Lines) {
        int id;
        String text;
        if (Parse_Lang_Line(line, id, text)) Set(id, text);
    }
}

void TLang_Text::Load_Lang_File(const String& FileName) {
    TStringList lines;
    try {
        lines.LoadFromFile(FileName);
    } catch (...) {
        return;
    }
    Apply_Lang_Lines(lines.ToStringList());
}

void Set_Language() {
    Lang_Text.Load_Default_Lang();
    const String file = Path_Language + QStringLiteral("\\") + Language + QStringLiteral(".lng");
    // Only a plain name may name a file in LANGUAGE; anything else counts as a missing file.
    if (Is_Plain_Name(Language) && FileExists(file)) {
        Lang_Text.Load_Lang_File(file);
        return;
    }
    Language = QStringLiteral("English");
    const String english = Path_Language + QStringLiteral("\\English.lng");
    if (FileExists(english)) Lang_Text.Load_Lang_File(english);
}
