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

// The built-in text files, each read once as one string, in file-name order.
const QStringList& BuiltInTexts() {
    static const QStringList texts = [] {
        InitTextResources();
        QStringList all;
        const QStringList files = QDir(QStringLiteral(":/text"))
                                      .entryList({QStringLiteral("English*.lng")}, QDir::Files, QDir::Name);
        for (const QString& f : files) {
            QFile file(QStringLiteral(":/text/") + f);
            if (file.open(QIODevice::ReadOnly)) all += String::fromUtf8(file.readAll());
        }
        return all;
    }();
    return texts;
}

// Calls Line for each line of Text: one line per "\r\n", "\r" or "\n"; empty lines count.
template <typename F> void ForEachLine(QStringView Text, F&& Line) {
    qsizetype start = 0;
    const qsizetype n = Text.size();
    const QChar* d = Text.data();
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t c = d[i].unicode();
        if (c != u'\n' && c != u'\r') continue;
        Line(Text.mid(start, i - start));
        if (c == u'\r' && i + 1 < n && d[i + 1] == u'\n') ++i;
        start = i + 1;
    }
    Line(Text.mid(start));
}

// Trim and TrimRight on a view: characters up to the space go.
QStringView TrimView(QStringView S) {
    qsizetype b = 0, e = S.size();
    while (b < e && S[b] <= u' ') ++b;
    while (e > b && S[e - 1] <= u' ') --e;
    return S.mid(b, e - b);
}

QStringView TrimRightView(QStringView S) {
    qsizetype e = S.size();
    while (e > 0 && S[e - 1] <= u' ') --e;
    return S.left(e);
}

// "STR<id>=<text>": the id between "STR" and "=" (spaces around it allowed), the text after
// "=" trimmed, cut at a "/#/" comment, without a leading pilcrow and cut at the next one.
bool ParseLangLine(QStringView Line, int& Id, String& Text) {
    const QStringView s = TrimView(Line);
    if (!s.startsWith(u"STR")) return false;
    const qsizetype eq = s.indexOf(u'=');
    if (eq < 0) return false;
    // The id is everything between "STR" and "=", so "STR12=x" and "STR12 = x" both name 12:
    // taking the character before "=" as a separator would silently turn "STR12=x" into id 1.
    const QStringView idText = TrimView(s.mid(3, eq - 3));
    int id = 0;
    // Up to nine digits: no overflow.
    bool plain = !idText.isEmpty() && idText.size() <= 9;
    for (qsizetype i = 0; plain && i < idText.size(); ++i) {
        const QChar c = idText[i];
        if (c < u'0' || c > u'9')
            plain = false;
        else
            id = id * 10 + (c.unicode() - u'0');
    }
    // Anything but plain digits (signs, hexadecimal) is read as the platform reads numbers.
    if (!plain) id = StrToIntDef(idText.toString(), -1);
    if (id < 0 || id >= Num_Lang_Text) return false;
    QStringView t = TrimView(s.mid(eq + 1));
    if (t.isEmpty()) return false;
    const qsizetype c = t.indexOf(u"/#/");
    if (c >= 0) {
        t = TrimRightView(t.left(c));
        if (t.isEmpty()) return false;
    }
    if (t.startsWith(Pilcrow)) t = t.mid(1);
    const qsizetype q = t.indexOf(Pilcrow);
    if (q >= 0) t = t.left(q);
    Id = id;
    Text = t.toString();
    return true;
}

} // namespace

bool Parse_Lang_Line(const String& Line, int& Id, String& Text) {
    return ParseLangLine(Line, Id, Text);
}

std::vector<std::pair<int, String>> Built_In_Lang_Lines() {
    std::vector<std::pair<int, String>> result;
    result.reserve(2048);
    for (const String& text : BuiltInTexts()) {
        ForEachLine(text, [&](QStringView line) {
            int id;
            String t;
            if (ParseLangLine(line, id, t)) result.emplace_back(id, std::move(t));
        });
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
