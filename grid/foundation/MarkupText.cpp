#include "MarkupText.h"

#include <climits>
#include <vector>

namespace {

// The accented and special characters that markup writes as named references, in the order both
// directions use them.
struct TSpecialChar {
    char16_t Ch;
    const char* Entity;
};

constexpr TSpecialChar SpecialChars[] = {
    {u'\u00E9', "&eacute;"}, {u'\u00E8', "&egrave;"}, {u'\u00EB', "&euml;"},   {u'\u00EA', "&ecirc;"},
    {u'\u00F3', "&oacute;"}, {u'\u00F2', "&ograve;"}, {u'\u00F6', "&ouml;"},   {u'\u00F4', "&ocirc;"},
    {u'\u00ED', "&iacute;"}, {u'\u00EC', "&igrave;"}, {u'\u00EF', "&iuml;"},   {u'\u00EE', "&icirc;"},
    {u'\u00FA', "&uacute;"}, {u'\u00F9', "&ugrave;"}, {u'\u00FC', "&uuml;"},   {u'\u00FB', "&ucirc;"},
    {u'\u00E1', "&aacute;"}, {u'\u00E0', "&agrave;"}, {u'\u00E4', "&auml;"},   {u'\u00E2', "&acirc;"},
    {u'\u00C9', "&Eacute;"}, {u'\u00C8', "&Egrave;"}, {u'\u00CB', "&Euml;"},   {u'\u00CA', "&Ecirc;"},
    {u'\u00D3', "&Oacute;"}, {u'\u00D2', "&Ograve;"}, {u'\u00D6', "&Ouml;"},   {u'\u00D4', "&Ocirc;"},
    {u'\u00CD', "&Iacute;"}, {u'\u00CC', "&Igrave;"}, {u'\u00CF', "&Iuml;"},   {u'\u00CE', "&Icirc;"},
    {u'\u00DA', "&Uacute;"}, {u'\u00D9', "&Ugrave;"}, {u'\u00DC', "&Uuml;"},   {u'\u00DB', "&Ucirc;"},
    {u'\u00C1', "&Aacute;"}, {u'\u00C0', "&Agrave;"}, {u'\u00C4', "&Auml;"},   {u'\u00C2', "&Acirc;"},
    {u'\u00E7', "&ccedil;"}, {u'\u00C7', "&Ccedil;"}, {u'\u00F8', "&oslash;"}, {u'\u00D8', "&Oslash;"},
    {u'\u00E5', "&aring;"},  {u'\u00C5', "&Aring;"},  {u'\u00A9', "&copy;"},   {u'\u00AE', "&reg;"},
    {u'\u20AC', "&euro;"},   {u'\u00AB', "&laquo;"},  {u'\u00BB', "&raquo;"},
};

const String ControlOpen = QStringLiteral("<CONTROL ");

bool IsNameChar(QChar c) {
    return c.isLetterOrNumber() || c == u'_' || c == u'-';
}

bool ReadAttr(const String& Tag, const String& UpTag, const char* Name, String& Value) {
    return FindHTMLAttribute(Tag, UpTag, Name, Value);
}

// Finds the next control tag at or after From: its start and the index just past its ">" (the end
// of the text when it has none).
bool NextControlTag(const String& HTML, int From, int& Start, int& End) {
    Start = HTML.indexOf(ControlOpen, From, Qt::CaseInsensitive);
    if (Start < 0) return false;
    int gt = HTML.indexOf(u'>', Start);
    End = gt < 0 ? HTML.size() : gt + 1;
    return true;
}

// Finds the first control tag with the given ID.
bool FindControlByID(const String& HTML, const String& ID, int& Start, int& End, THTMLControlTag& Tag) {
    int from = 0;
    while (NextControlTag(HTML, from, Start, End)) {
        Tag = ParseHTMLControlTag(HTML.mid(Start, End - Start));
        if (Tag.ID == ID) return true;
        from = End;
    }
    return false;
}

String Quoted(const String& Name, const String& Value) {
    return QLatin1Char(' ') + Name + QStringLiteral("=\"") + Value + QLatin1Char('"');
}

// The visible text of markup and, for each of its characters, the index in the markup. Tags are
// skipped from "<" to the next ">"; scanning stops at a "<" without a ">" after it, or when a ">"
// comes before the next "<", and the rest is kept as it stands.
void VisibleText(const String& HTML, String& Visible, std::vector<int>& Map) {
    Visible.clear();
    Map.clear();
    Visible.reserve(HTML.size());
    Map.reserve(HTML.size());
    const int n = HTML.size();
    int i = 0;
    auto keep = [&](int from, int to) {
        for (int k = from; k < to; ++k) {
            Visible += HTML[k];
            Map.push_back(k);
        }
    };
    while (i < n) {
        int lt = HTML.indexOf(u'<', i);
        if (lt < 0) break;
        int gt = HTML.indexOf(u'>', i);
        if (gt < 0 || gt < lt) break;
        keep(i, lt);
        i = gt + 1;
    }
    keep(i, n);
}

String EscapeAngles(String S) {
    S.replace(u'<', QStringLiteral("&lt;"));
    S.replace(u'>', QStringLiteral("&gt;"));
    return S;
}

} // namespace

bool FindHTMLAttribute(const String& Tag, const String& UpTag, const char* Name, String& Value) {
    const QLatin1String name(Name);
    const int n = UpTag.size(), m = int(name.size());
    bool inQuote = false;
    for (int i = 0; i < n; ++i) {
        const QChar c = UpTag[i];
        if (c == u'"') {
            inQuote = !inQuote;
            continue;
        }
        if (inQuote || i + m > n || (i > 0 && IsNameChar(UpTag[i - 1]))) continue;
        if (QStringView(UpTag).mid(i, m) != name) continue;
        int p = i + m;
        while (p < n && UpTag[p] == u' ') ++p;
        if (p >= n || UpTag[p] != u'=') continue;
        ++p;
        while (p < n && UpTag[p] == u' ') ++p;
        if (p < n && Tag[p] == u'"') {
            int e = Tag.indexOf(u'"', p + 1);
            if (e < 0) {
                e = n;
                if (e > p + 1 && Tag[e - 1] == u'>') --e;
            }
            Value = Tag.mid(p + 1, e - p - 1);
        } else {
            int e = p;
            while (e < n && Tag[e] != u' ' && Tag[e] != u'>' && Tag[e] != u'"') ++e;
            Value = Tag.mid(p, e - p);
        }
        return true;
    }
    return false;
}

String MarkupUpper(const String& S) {
    String r = S;
    for (QChar& c : r) c = c.toUpper();
    return r;
}

int MarkupLeadingInt(const String& S, bool* Ok) {
    const int n = S.size();
    int i = 0;
    while (i < n && S[i] == u' ') ++i;
    bool neg = false;
    if (i < n && (S[i] == u'-' || S[i] == u'+')) {
        neg = S[i] == u'-';
        ++i;
    }
    int base = 10;
    if (i < n && S[i] == u'$') {
        base = 16;
        ++i;
    } else if (i + 1 < n && S[i] == u'0' && (S[i + 1] == u'x' || S[i + 1] == u'X')) {
        base = 16;
        i += 2;
    }
    long long v = 0;
    bool any = false;
    for (; i < n; ++i) {
        int d = -1;
        char16_t c = S[i].unicode();
        if (c >= u'0' && c <= u'9')
            d = c - u'0';
        else if (base == 16 && c >= u'a' && c <= u'f')
            d = c - u'a' + 10;
        else if (base == 16 && c >= u'A' && c <= u'F')
            d = c - u'A' + 10;
        if (d < 0) break;
        any = true;
        if (v <= INT_MAX) v = v * base + d;
    }
    if (Ok) *Ok = any;
    if (!any) return 0;
    if (v > INT_MAX) v = INT_MAX;
    return neg ? int(-v) : int(v);
}

String DecodeHTMLEntities(const String& S, bool Special) {
    String r = S;
    if (!r.contains(u'&')) return r;
    r.replace(QStringLiteral("&lt;"), QStringLiteral("<"));
    r.replace(QStringLiteral("&gt;"), QStringLiteral(">"));
    r.replace(QStringLiteral("&amp;"), QStringLiteral("&"));
    r.replace(QStringLiteral("&quot;"), QStringLiteral("\""));
    if (Special)
        for (const auto& sc : SpecialChars) r.replace(QLatin1String(sc.Entity), QString(QChar(sc.Ch)));
    return r;
}

String EncodeHTMLEntities(const String& S, bool Special) {
    String r = S;
    r.replace(u'&', QStringLiteral("*amp;"));
    r.replace(QStringLiteral("*amp;"), QStringLiteral("&amp;"));
    r.replace(u'"', QStringLiteral("&quot;"));
    r.replace(u'<', QStringLiteral("&lt;"));
    r.replace(u'>', QStringLiteral("&gt;"));
    if (Special)
        for (const auto& sc : SpecialChars) r.replace(QChar(sc.Ch), QLatin1String(sc.Entity));
    return r;
}

String SpacesToNbsp(const String& S) {
    String r = S;
    r.replace(u' ', QStringLiteral("&nbsp;"));
    return r;
}

bool HasHTMLControl(const String& HTML) {
    return HTML.contains(QStringLiteral("<CONTROL"), Qt::CaseInsensitive);
}

THTMLControlTag ParseHTMLControlTag(const String& Tag) {
    THTMLControlTag t;
    const String up = MarkupUpper(Tag);
    String v;
    if (ReadAttr(Tag, up, "TYPE", v)) t.Type = MarkupUpper(v);
    t.HasWidth = ReadAttr(Tag, up, "WIDTH", t.Width);
    t.HasHeight = ReadAttr(Tag, up, "HEIGHT", t.Height);
    ReadAttr(Tag, up, "ID", t.ID);
    if (ReadAttr(Tag, up, "VALUE", v)) t.Value = DecodeHTMLEntities(v, true);
    t.HasProp = ReadAttr(Tag, up, "PROP", v);
    if (t.HasProp) t.Prop = DecodeHTMLEntities(v, true);
    t.HasMaxLen = ReadAttr(Tag, up, "MAXLEN", t.MaxLen);
    return t;
}

String NextHTMLEditControl(const String& HTML, const String& ID) {
    int from = 0, start = 0, end = 0;
    if (!ID.isEmpty()) {
        THTMLControlTag t;
        if (!FindControlByID(HTML, ID, start, end, t)) return String();
        from = end;
    }
    while (NextControlTag(HTML, from, start, end)) {
        THTMLControlTag t = ParseHTMLControlTag(HTML.mid(start, end - start));
        if (t.Type != QLatin1String("BUTTON") && t.Type != QLatin1String("CHECK") &&
            t.Type != QLatin1String("RADIO"))
            return t.ID;
        from = end;
    }
    return String();
}

String ClearHTMLRadioControls(const String& HTML) {
    String r = HTML;
    int from = 0, start = 0, end = 0;
    while (NextControlTag(r, from, start, end)) {
        THTMLControlTag t = ParseHTMLControlTag(r.mid(start, end - start));
        if (t.Type == QLatin1String("RADIO")) {
            // Rewrite this very tag (not the first one with its ID), then go on after it.
            String tag = r.mid(start, end - start);
            String rest = r.mid(end);
            String head = r.left(start);
            SetHTMLControlValue(tag, t.ID, QStringLiteral("FALSE"));
            r = head + tag + rest;
            end = start + tag.size();
        }
        from = end;
    }
    return r;
}

bool GetHTMLControlValue(const String& HTML, const String& ID, String& Value) {
    int s = 0, e = 0;
    THTMLControlTag t;
    if (!FindControlByID(HTML, ID, s, e, t)) return false;
    Value = t.Value;
    return true;
}

String GetHTMLControlProp(const String& HTML, const String& ID) {
    int s = 0, e = 0;
    THTMLControlTag t;
    if (!FindControlByID(HTML, ID, s, e, t)) return String();
    return t.Prop;
}

int GetHTMLControlMaxLen(const String& HTML, const String& ID) {
    int s = 0, e = 0;
    THTMLControlTag t;
    if (!FindControlByID(HTML, ID, s, e, t)) return 0;
    return MarkupLeadingInt(t.MaxLen);
}

bool SetHTMLControlValue(String& HTML, const String& ID, const String& Value) {
    int s = 0, e = 0;
    THTMLControlTag t;
    if (!FindControlByID(HTML, ID, s, e, t)) return false;
    String tag = QStringLiteral("<CONTROL ID=\"") + ID + QLatin1Char('"');
    tag += Quoted(QStringLiteral("VALUE"), EncodeHTMLEntities(Value, true));
    tag += Quoted(QStringLiteral("WIDTH"), t.Width);
    if (t.HasHeight) tag += Quoted(QStringLiteral("HEIGHT"), t.Height);
    tag += Quoted(QStringLiteral("TYPE"), t.Type);
    if (t.HasProp) tag += Quoted(QStringLiteral("PROP"), EncodeHTMLEntities(t.Prop, true));
    if (t.HasMaxLen) tag += Quoted(QStringLiteral("MAXLEN"), t.MaxLen);
    tag += QLatin1Char('>');
    HTML = HTML.left(s) + tag + HTML.mid(e);
    return true;
}

String HTMLToText(const String& HTML) {
    String s = HTML;
    s.replace(QStringLiteral("<BR>"), QStringLiteral("\r\n"), Qt::CaseInsensitive);
    s.replace(QStringLiteral("<HR>"), QStringLiteral("\r\n"), Qt::CaseInsensitive);
    String r;
    r.reserve(s.size());
    const int n = s.size();
    int i = 0;
    while (i < n) {
        int lt = s.indexOf(u'<', i);
        if (lt < 0) break;
        int gt = s.indexOf(u'>', lt);
        if (gt < 0) break;
        r += QStringView(s).mid(i, lt - i);
        i = gt + 1;
    }
    r += QStringView(s).mid(i);
    return r;
}

String HighlightInHTML(const String& HTML, const String& Text, const String& Tag, bool DoCase) {
    if (Text.isEmpty()) return HTML;
    String markup = HTML, search = Text, visible;
    std::vector<int> map;
    VisibleText(markup, visible, map);

    const Qt::CaseSensitivity cs = DoCase ? Qt::CaseSensitive : Qt::CaseInsensitive;
    if (markup.contains(search, cs) && (visible.contains(u'<') || visible.contains(u'>'))) {
        // Text with stray angle brackets is no markup: treat it as plain text.
        markup = EscapeAngles(visible);
        search = EscapeAngles(search);
        visible = markup;
        map.resize(markup.size());
        for (int k = 0; k < markup.size(); ++k) map[k] = k;
    }

    const String hay = DoCase ? visible : MarkupUpper(visible);
    const String needle = DoCase ? search : MarkupUpper(search);
    const String open = QLatin1Char('<') + Tag + QLatin1Char('>');
    const String close = QStringLiteral("</") + Tag + QLatin1Char('>');

    // Insertions at positions of the original markup, already in ascending order.
    std::vector<std::pair<int, const String*>> ins;
    int from = 0;
    while (true) {
        int hit = hay.indexOf(needle, from);
        if (hit < 0) break;
        int last = hit + needle.size() - 1;
        ins.push_back({hit == 0 ? 0 : map[hit - 1] + 1, &open});
        ins.push_back({map[last] + 1, &close});
        from = last + 1;
    }
    if (ins.empty()) return markup;

    String r;
    r.reserve(markup.size() + int(ins.size()) * (Tag.size() + 3));
    int pos = 0;
    for (const auto& [at, text] : ins) {
        r += QStringView(markup).mid(pos, at - pos);
        r += *text;
        pos = at;
    }
    r += QStringView(markup).mid(pos);
    return r;
}

String UnhighlightInHTML(const String& HTML, const String& Tag) {
    String r = HTML;
    r.replace(QLatin1Char('<') + Tag + QLatin1Char('>'), String(), Qt::CaseInsensitive);
    r.replace(QStringLiteral("</") + Tag + QLatin1Char('>'), String(), Qt::CaseInsensitive);
    r.replace(QStringLiteral("&lt;"), QStringLiteral("<"));
    r.replace(QStringLiteral("&gt;"), QStringLiteral(">"));
    return r;
}
