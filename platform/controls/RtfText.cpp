#include "RtfText.h"

#include <QColor>
#include <QFont>
#include <QHash>
#include <QList>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

#include <algorithm>
#include <array>
#include <optional>
#include <vector>

namespace {

// The Western code page's characters 0x80 to 0x9F (0 where it has none); the rest of its upper
// half is Latin-1.
constexpr std::array<char16_t, 32> Cp1252High = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

QChar FromCp1252(unsigned char B) {
    if (B >= 0x80 && B < 0xA0) return Cp1252High[B - 0x80] ? QChar(Cp1252High[B - 0x80]) : QChar(u'?');
    return QChar(char16_t(B));
}

// The code page byte of Ch, or -1 when the code page has none.
int ToCp1252(QChar Ch) {
    const char16_t c = Ch.unicode();
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) return c;
    for (size_t i = 0; i < Cp1252High.size(); ++i)
        if (Cp1252High[i] == c) return int(0x80 + i);
    return -1;
}

// ---- Reading -------------------------------------------------------------------------------

enum TDestination { dText, dFontTable, dColorTable, dSkip };

// What a group holds: it is copied when a group opens and restored when it closes.
struct TGroupState {
    TDestination Dest = dText;
    int Font = -1;   // \f: index into the font table, -1 for the default
    double Size = 0; // \fs in points, 0 for the default
    bool Bold = false, Italic = false, Underline = false, Strike = false;
    int Color = 0, Back = 0; // colour table indexes, 0 for automatic
    int Offset = 0;          // twips, positive raised
    int VAlign = 0;          // \super 1, \sub -1
    Qt::Alignment Align = Qt::AlignLeft;
    int FallbackChars = 1; // \uc
    bool operator==(const TGroupState&) const = default;
};

class TRtfReader {
public:
    TRtfReader(const QByteArray& Data, QTextDocument& Doc, const QFont& DefaultFont)
        : FData(Data), FDefault(DefaultFont), FCursor(&Doc) {}

    void Run();

private:
    void ControlWord(const QByteArray& Word, bool HasParam, int Param);
    void Text(QChar Ch);
    void Flush();
    void EndParagraph();
    QTextCharFormat Format();
    void ApplyAlignment();

    const QByteArray& FData;
    QFont FDefault;
    QTextCursor FCursor;
    std::vector<TGroupState> FStack;
    TGroupState S;
    // Font table: index -> family; colour table in order (nullopt: automatic).
    QHash<int, QString> FFonts;
    int FDefaultFont = -1;
    int FTableFont = -1; // the entry being read
    QString FTableName;  // its name so far
    std::vector<std::optional<QColor>> FColors;
    int FRed = -1, FGreen = -1, FBlue = -1;
    QString FPending;
    QTextCharFormat FPendingFormat;
    bool FPendingPar = false;
    // The format of the last state asked for, kept: most characters share their neighbour's.
    std::optional<TGroupState> FFormatState;
    QTextCharFormat FFormat;
    int FSkipFallback = 0;
};

// The largest font size an edit takes, in half points (1638 points).
constexpr int MaxHalfPoints = 3276;

bool IsLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

void TRtfReader::Run() {
    const char* p = FData.constData();
    const char* e = p + FData.size();
    bool started = false; // inside the outermost group
    bool groupStart = false;
    while (p < e) {
        const char c = *p++;
        if (c == '{') {
            FStack.push_back(S);
            started = true;
            groupStart = true;
            continue;
        }
        if (c == '}') {
            if (FStack.empty()) break;
            if (S.Dest == dFontTable && FTableFont >= 0 && !FTableName.trimmed().isEmpty()) {
                // An entry that closes its group without ';'.
                FFonts.insert(FTableFont, FTableName.trimmed());
                FTableName.clear();
            }
            if (S.Dest == dText) Flush();
            S = FStack.back();
            FStack.pop_back();
            if (FStack.empty()) break; // the end of the document's group
            groupStart = false;
            continue;
        }
        if (!started) continue; // before the first group: not part of the text
        const bool atGroupStart = groupStart;
        groupStart = false;
        if (c == '\\') {
            if (p >= e) break;
            const char d = *p;
            if (IsLetter(d)) {
                const char* w = p;
                while (p < e && IsLetter(*p)) ++p;
                const QByteArray word(w, p - w);
                bool has = false;
                int param = 0;
                bool neg = false;
                if (p < e && *p == '-') {
                    neg = true;
                    ++p;
                }
                long long v = 0;
                while (p < e && *p >= '0' && *p <= '9') {
                    if (v < 100000000) v = v * 10 + (*p - '0');
                    ++p;
                    has = true;
                }
                param = int(neg ? -v : v);
                if (p < e && *p == ' ') ++p;
                if (word == "bin") {
                    // Binary data: its bytes are no RTF and may hold braces; they are passed
                    // over whatever the group holds (no destination here keeps binary data).
                    if (has && !neg && v > 0) p += std::min<long long>(v, e - p);
                    continue;
                }
                if (FSkipFallback > 0) {
                    --FSkipFallback;
                    continue;
                }
                if (atGroupStart && S.Dest == dText) {
                    // A destination word at the start of a group decides what the group holds.
                    static const char* const skipped[] = {"stylesheet",   "info",
                                                          "pict",         "object",
                                                          "header",       "headerl",
                                                          "headerr",      "headerf",
                                                          "footer",       "footerl",
                                                          "footerr",      "footerf",
                                                          "listtable",    "listoverridetable",
                                                          "revtbl",       "rsidtbl",
                                                          "generator",    "xmlnstbl",
                                                          "themedata",    "colorschememapping",
                                                          "latentstyles", "datastore",
                                                          "fldinst",      "filetbl",
                                                          "footnote",     "annotation",
                                                          "bkmkstart",    "bkmkend",
                                                          "nonshppict",   "shp",
                                                          "template",     "pgdsctbl",
                                                          "mmathPr"};
                    if (word == "fonttbl") {
                        Flush();
                        S.Dest = dFontTable;
                        continue;
                    }
                    if (word == "colortbl") {
                        Flush();
                        S.Dest = dColorTable;
                        FColors.clear();
                        FRed = FGreen = FBlue = -1;
                        continue;
                    }
                    bool skip = false;
                    for (const char* s : skipped)
                        if (word == s) skip = true;
                    if (skip) {
                        Flush();
                        S.Dest = dSkip;
                        continue;
                    }
                }
                ControlWord(word, has, param);
                continue;
            }
            ++p;
            switch (d) {
                case '\'': {
                    if (e - p < 2) {
                        p = e;
                        break;
                    }
                    const int hi = HexValue(p[0]), lo = HexValue(p[1]);
                    p += 2;
                    if (FSkipFallback > 0) {
                        --FSkipFallback;
                        break;
                    }
                    if (hi >= 0 && lo >= 0) {
                        const unsigned char b = static_cast<unsigned char>(hi * 16 + lo);
                        if (S.Dest == dFontTable)
                            FTableName += FromCp1252(b);
                        else
                            Text(FromCp1252(b));
                    }
                    break;
                }
                case '*':
                    // An ignorable destination: this reader keeps none of them.
                    Flush();
                    S.Dest = dSkip;
                    break;
                case '\r':
                case '\n': ControlWord("par", false, 0); break;
                case '~': Text(QChar(0x00A0)); break;
                case '_': Text(QChar(0x2011)); break;
                case '-': break; // an optional hyphen
                default:
                    if (FSkipFallback > 0) {
                        --FSkipFallback;
                        break;
                    }
                    if (S.Dest == dFontTable)
                        FTableName += QChar(char16_t(static_cast<unsigned char>(d)));
                    else
                        Text(QChar(char16_t(static_cast<unsigned char>(d)))); // \\, \{, \}
                    break;
            }
            continue;
        }
        if (c == '\r' || c == '\n') continue;
        if (FSkipFallback > 0) {
            --FSkipFallback;
            continue;
        }
        switch (S.Dest) {
            case dFontTable:
                if (c == ';') {
                    if (FTableFont >= 0) FFonts.insert(FTableFont, FTableName.trimmed());
                    FTableName.clear();
                } else {
                    FTableName += FromCp1252(static_cast<unsigned char>(c));
                }
                break;
            case dColorTable:
                if (c == ';') {
                    if (FRed < 0 && FGreen < 0 && FBlue < 0)
                        FColors.push_back(std::nullopt);
                    else
                        FColors.push_back(QColor(std::max(0, FRed), std::max(0, FGreen), std::max(0, FBlue)));
                    FRed = FGreen = FBlue = -1;
                }
                break;
            case dSkip: break;
            case dText: Text(FromCp1252(static_cast<unsigned char>(c))); break;
        }
    }
    Flush();
}

void TRtfReader::ControlWord(const QByteArray& W, bool Has, int P) {
    if (S.Dest == dSkip) return;
    if (S.Dest == dColorTable) {
        const int v = std::clamp(P, 0, 255);
        if (W == "red") FRed = v;
        if (W == "green") FGreen = v;
        if (W == "blue") FBlue = v;
        return;
    }
    if (S.Dest == dFontTable) {
        if (W == "f") {
            FTableFont = P;
            FTableName.clear();
        }
        return; // the family, pitch and charset words say nothing this reader keeps
    }
    const bool on = !Has || P != 0;
    if (W == "par") {
        EndParagraph();
    } else if (W == "line") {
        Text(QChar::LineSeparator);
    } else if (W == "tab") {
        Text(u'\t');
    } else if (W == "u") {
        if (!Has || P == 0) return;
        Text(QChar(char16_t(P < 0 ? P + 65536 : P)));
        FSkipFallback = S.FallbackChars;
    } else if (W == "uc") {
        S.FallbackChars = std::max(0, P);
    } else if (W == "deff") {
        FDefaultFont = P;
    } else if (W == "plain") {
        const TGroupState keep = S;
        S = TGroupState();
        S.Dest = keep.Dest;
        S.Align = keep.Align;
        S.FallbackChars = keep.FallbackChars;
    } else if (W == "pard") {
        S.Align = Qt::AlignLeft;
    } else if (W == "ql") {
        S.Align = Qt::AlignLeft;
    } else if (W == "qr") {
        S.Align = Qt::AlignRight;
    } else if (W == "qc") {
        S.Align = Qt::AlignHCenter;
    } else if (W == "qj") {
        S.Align = Qt::AlignJustify;
    } else if (W == "f") {
        S.Font = P;
    } else if (W == "fs") {
        // Half points; what no edit can show is held to its largest size.
        S.Size = P > 0 ? std::min(P, MaxHalfPoints) / 2.0 : 0;
    } else if (W == "b") {
        S.Bold = on;
    } else if (W == "i") {
        S.Italic = on;
    } else if (W == "ul" || W == "uld" || W == "uldb" || W == "ulw" || W == "uldash" || W == "ulth") {
        S.Underline = on;
    } else if (W == "ulnone") {
        S.Underline = false;
    } else if (W == "strike") {
        S.Strike = on;
    } else if (W == "cf") {
        S.Color = P;
    } else if (W == "highlight" || W == "cb" || W == "chcbpat") {
        S.Back = P;
    } else if (W == "up") {
        // Half points to twips; an offset beyond any font size is held there.
        S.Offset = std::clamp(Has ? P : 6, 0, MaxHalfPoints) * 10;
    } else if (W == "dn") {
        S.Offset = -std::clamp(Has ? P : 6, 0, MaxHalfPoints) * 10;
    } else if (W == "super") {
        S.VAlign = 1;
    } else if (W == "sub") {
        S.VAlign = -1;
    } else if (W == "nosupersub") {
        S.VAlign = 0;
        S.Offset = 0;
    } else if (W == "emdash") {
        Text(QChar(0x2014));
    } else if (W == "endash") {
        Text(QChar(0x2013));
    } else if (W == "bullet") {
        Text(QChar(0x2022));
    } else if (W == "lquote") {
        Text(QChar(0x2018));
    } else if (W == "rquote") {
        Text(QChar(0x2019));
    } else if (W == "ldblquote") {
        Text(QChar(0x201C));
    } else if (W == "rdblquote") {
        Text(QChar(0x201D));
    } else if (W == "emspace" || W == "enspace" || W == "qmspace") {
        Text(u' ');
    }
}

QTextCharFormat TRtfReader::Format() {
    if (FFormatState && *FFormatState == S) return FFormat;
    QTextCharFormat f;
    int font = S.Font >= 0 ? S.Font : FDefaultFont;
    const QString family = FFonts.value(font);
    f.setFontFamilies(QStringList{family.isEmpty() ? FDefault.family() : family});
    f.setFontPointSize(S.Size > 0 ? S.Size : (FDefault.pointSizeF() > 0 ? FDefault.pointSizeF() : 10));
    f.setFontWeight(S.Bold ? QFont::Bold : QFont::Normal);
    f.setFontItalic(S.Italic);
    f.setFontUnderline(S.Underline);
    f.setFontStrikeOut(S.Strike);
    if (S.Color > 0 && size_t(S.Color) < FColors.size() && FColors[size_t(S.Color)])
        f.setForeground(*FColors[size_t(S.Color)]);
    if (S.Back > 0 && size_t(S.Back) < FColors.size() && FColors[size_t(S.Back)])
        f.setBackground(*FColors[size_t(S.Back)]);
    if (S.Offset != 0) f.setProperty(RtfOffsetProperty, S.Offset);
    const int v = S.Offset > 0 ? 1 : S.Offset < 0 ? -1 : S.VAlign;
    if (v > 0) f.setVerticalAlignment(QTextCharFormat::AlignSuperScript);
    if (v < 0) f.setVerticalAlignment(QTextCharFormat::AlignSubScript);
    FFormatState = S;
    FFormat = f;
    return f;
}

void TRtfReader::Text(QChar Ch) {
    if (S.Dest != dText) return;
    // Control characters carry nothing in RTF text (line ends are words of their own); a tab
    // stands for \tab. The characters the text document keeps for its own structure go too.
    const char16_t c = Ch.unicode();
    if (c == u'\t') {
        // kept
    } else if (c < 0x20 || c == 0x7F || (c >= 0xFDD0 && c <= 0xFDDF) || c == 0xFFFE || c == 0xFFFF) {
        return;
    }
    if (FPendingPar) {
        Flush();
        FCursor.insertBlock(QTextBlockFormat(), Format());
        FPendingPar = false;
    }
    const QTextCharFormat f = Format();
    if (!FPending.isEmpty() && f != FPendingFormat) Flush();
    if (FPending.isEmpty()) FPendingFormat = f;
    FPending += Ch;
}

void TRtfReader::Flush() {
    if (FPending.isEmpty()) return;
    ApplyAlignment();
    FCursor.insertText(FPending, FPendingFormat);
    FPending.clear();
}

void TRtfReader::EndParagraph() {
    Flush();
    if (FPendingPar) FCursor.insertBlock(QTextBlockFormat(), Format());
    FPendingPar = true;
    ApplyAlignment();
}

void TRtfReader::ApplyAlignment() {
    QTextBlockFormat b = FCursor.blockFormat();
    if (b.alignment() == S.Align) return;
    b.setAlignment(S.Align);
    FCursor.setBlockFormat(b);
}

// ---- Writing -------------------------------------------------------------------------------

void AppendEscaped(QByteArray& Out, const QString& Text) {
    for (QChar ch : Text) {
        const char16_t c = ch.unicode();
        if (c == u'\\' || c == u'{' || c == u'}') {
            Out += '\\';
            Out += char(c);
        } else if (c == u'\t') {
            Out += "\\tab ";
        } else if (c == QChar::LineSeparator) {
            Out += "\\line ";
        } else if (c == 0x00A0) {
            Out += "\\~";
        } else if (c >= 0x20 && c < 0x7F) {
            Out += char(c);
        } else if (c < 0x20 || c == 0x7F) {
            // control characters carry nothing in RTF text
        } else if (const int b = ToCp1252(ch); b >= 0) {
            Out += "\\'";
            Out += QByteArray::number(b, 16).rightJustified(2, '0');
        } else {
            Out += "\\u" + QByteArray::number(int(c) > 32767 ? int(c) - 65536 : int(c)) + '?';
        }
    }
}

QString FamilyOf(const QTextCharFormat& F, const QFont& Default) {
    const QStringList families = F.fontFamilies().toStringList();
    if (!families.isEmpty() && !families.first().isEmpty()) return families.first();
    return Default.family();
}

} // namespace

bool IsRtfText(const QByteArray& Data) {
    qsizetype i = 0;
    while (i < Data.size() && (Data[i] == ' ' || Data[i] == '\t' || Data[i] == '\r' || Data[i] == '\n')) ++i;
    return Data.mid(i, 5) == "{\\rtf";
}

bool ReadRtf(const QByteArray& Data, QTextDocument& Doc, const QFont& DefaultFont) {
    if (!IsRtfText(Data)) return false;
    Doc.clear();
    TRtfReader(Data, Doc, DefaultFont).Run();
    return true;
}

QByteArray WriteRtf(const QTextDocument& Doc) {
    const QFont def = Doc.defaultFont();
    QStringList fonts;
    QList<QColor> colors;
    auto colorIndex = [&](const QColor& C) {
        const QColor rgb = C.toRgb();
        for (qsizetype i = 0; i < colors.size(); ++i)
            if (colors[i].rgb() == rgb.rgb()) return int(i) + 1;
        colors.append(rgb);
        return int(colors.size());
    };
    auto fontIndex = [&](const QString& Family) {
        qsizetype i = fonts.indexOf(Family);
        if (i < 0) {
            fonts.append(Family);
            i = fonts.size() - 1;
        }
        return int(i);
    };
    fontIndex(def.family());

    QByteArray body;
    for (QTextBlock b = Doc.begin(); b.isValid(); b = b.next()) {
        body += "\\pard";
        const Qt::Alignment a = b.blockFormat().alignment() & Qt::AlignHorizontal_Mask;
        if (a & Qt::AlignHCenter)
            body += "\\qc";
        else if (a & Qt::AlignRight)
            body += "\\qr";
        else if (a & Qt::AlignJustify)
            body += "\\qj";
        for (QTextBlock::iterator it = b.begin(); !it.atEnd(); ++it) {
            const QTextFragment frag = it.fragment();
            if (!frag.isValid()) continue;
            const QTextCharFormat f = frag.charFormat();
            body += "\\plain\\f" + QByteArray::number(fontIndex(FamilyOf(f, def)));
            double pt = f.fontPointSize();
            if (pt <= 0) pt = def.pointSizeF() > 0 ? def.pointSizeF() : 10;
            body += "\\fs" + QByteArray::number(qRound(pt * 2));
            if (f.fontWeight() >= QFont::DemiBold) body += "\\b";
            if (f.fontItalic()) body += "\\i";
            if (f.fontUnderline()) body += "\\ul";
            if (f.fontStrikeOut()) body += "\\strike";
            if (f.hasProperty(QTextFormat::ForegroundBrush) && f.foreground().style() != Qt::NoBrush)
                body += "\\cf" + QByteArray::number(colorIndex(f.foreground().color()));
            if (f.hasProperty(QTextFormat::BackgroundBrush) && f.background().style() != Qt::NoBrush)
                body += "\\highlight" + QByteArray::number(colorIndex(f.background().color()));
            const int offset = f.intProperty(RtfOffsetProperty);
            if (offset > 0)
                body += "\\up" + QByteArray::number((offset + 5) / 10);
            else if (offset < 0)
                body += "\\dn" + QByteArray::number((-offset + 5) / 10);
            else if (f.verticalAlignment() == QTextCharFormat::AlignSuperScript)
                body += "\\super";
            else if (f.verticalAlignment() == QTextCharFormat::AlignSubScript)
                body += "\\sub";
            body += ' ';
            AppendEscaped(body, frag.text());
        }
        body += "\\par\r\n";
    }

    QByteArray out = "{\\rtf1\\ansi\\ansicpg1252\\deff0\\deflang1033{\\fonttbl";
    for (qsizetype i = 0; i < fonts.size(); ++i) {
        out += "{\\f" + QByteArray::number(i) + "\\fnil ";
        // ';' ends a name in the table: one inside a name is written as its code.
        QByteArray name;
        AppendEscaped(name, fonts[i]);
        out += name.replace(';', "\\'3b");
        out += ";}";
    }
    out += "}\r\n{\\colortbl ;";
    for (const QColor& c : colors)
        out += "\\red" + QByteArray::number(c.red()) + "\\green" + QByteArray::number(c.green()) + "\\blue" +
               QByteArray::number(c.blue()) + ';';
    out += "}\r\n\\viewkind4\\uc1";
    out += body;
    out += "}\r\n";
    return out;
}
