// Text on the canvas: TextOut, TextRect, measuring, and the platform's DrawText with its flags.
#include "Graphics.h"

#include <QFontMetrics>
#include <QPainter>

#include <algorithm>

namespace {

// Width of Text, with tab characters advancing to the next stop when Tabs.
int LineWidth(const QFontMetrics& fm, const String& Text, bool Tabs) {
    if (!Tabs || !Text.contains(u'\t')) return fm.horizontalAdvance(Text);
    int stop = std::max(1, fm.averageCharWidth() * 8);
    int x = 0;
    const auto parts = Text.split(u'\t');
    for (int i = 0; i < parts.size(); ++i) {
        x += fm.horizontalAdvance(parts[i]);
        if (i + 1 < parts.size()) x = (x / stop + 1) * stop;
    }
    return x;
}

// Width of the first N characters of Text.
int PrefixWidth(const QFontMetrics& fm, const String& Text, int N, bool Tabs) {
    return LineWidth(fm, Text.left(N), Tabs);
}

// Draws one line with its top-left corner at (X, Y).
void PaintLine(QPainter* p, const QFontMetrics& fm, int X, int Y, const String& Text, bool Tabs) {
    int base = Y + fm.ascent();
    if (!Tabs || !Text.contains(u'\t')) {
        p->drawText(QPoint(X, base), Text);
        return;
    }
    int stop = std::max(1, fm.averageCharWidth() * 8);
    int x = 0;
    const auto parts = Text.split(u'\t');
    for (int i = 0; i < parts.size(); ++i) {
        p->drawText(QPoint(X + x, base), parts[i]);
        x += fm.horizontalAdvance(parts[i]);
        if (i + 1 < parts.size()) x = (x / stop + 1) * stop;
    }
}

struct TTextLine {
    String Text;
    std::vector<int> Underlines; // character indices in Text
};

} // namespace

int TCanvas::FontAscent() {
    return QFontMetrics(DrawingFont()).ascent();
}

int TCanvas::FontCellHeight() {
    QFontMetrics fm(DrawingFont());
    return fm.ascent() + fm.descent();
}

int TCanvas::TextWidth(const String& Text) {
    return QFontMetrics(DrawingFont()).horizontalAdvance(Text);
}

int TCanvas::TextHeight(const String& Text) {
    return TextExtent(Text).cy;
}

TSize TCanvas::TextExtent(const String& Text) {
    QFontMetrics fm(DrawingFont());
    TSize s;
    s.cx = fm.horizontalAdvance(Text);
    s.cy = fm.ascent() + fm.descent();
    return s;
}

void TCanvas::TextOut(int X, int Y, const String& Text) {
    if (!RequireTarget()) return;
    Changing();
    QFont f = DrawingFont();
    QFontMetrics fm(f);
    int w = fm.horizontalAdvance(Text), h = fm.ascent() + fm.descent();
    QPainter* p = BeginPainter();
    p->setFont(f);
    int x = X, y = Y;
    if (FFont->Orientation() % 3600 != 0) {
        p->translate(X, Y);
        p->rotate(-FFont->Orientation() / 10.0);
        x = y = 0;
    }
    if (FBkMode == OPAQUE) p->fillRect(QRect(x, y, w, h), ToQColor(FBkColor));
    p->setPen(ToQColor(FTextColor));
    p->drawText(QPoint(x, y + fm.ascent()), Text);
    EndPainter(p);
    FPenPos = TPoint(X + w, Y);
    Changed();
}

void TCanvas::TextRect(const TRect& R, int X, int Y, const String& Text) {
    if (!RequireTarget()) return;
    Changing();
    QFont f = DrawingFont();
    QFontMetrics fm(f);
    QPainter* p = BeginPainter();
    p->setClipRect(QRect(R.Left, R.Top, std::max(0, R.Width()), std::max(0, R.Height())),
                   FHasClip ? Qt::IntersectClip : Qt::ReplaceClip);
    // An opaque background fills the whole rectangle, as the platform's clipped text output does.
    if (FBrush->Style() != bsClear && FBkMode == OPAQUE)
        p->fillRect(QRect(R.Left, R.Top, R.Width(), R.Height()), ToQColor(FBkColor));
    p->setFont(f);
    p->setPen(ToQColor(FTextColor));
    p->drawText(QPoint(X, Y + fm.ascent()), Text);
    EndPainter(p);
    Changed();
}

int DrawText(TCanvas* Canvas, const String& Text, TRect& R, Cardinal Flags) {
    return DrawText(Canvas, Text, -1, R, Flags);
}

int DrawText(TCanvas* Canvas, const String& AText, int Count, TRect& R, Cardinal Flags) {
    if (!Canvas) return 0;
    String text = Count >= 0 ? AText.left(Count) : AText;
    const bool calc = Flags & DT_CALCRECT;
    const bool single = Flags & DT_SINGLELINE;
    const bool wordBreak = (Flags & DT_WORDBREAK) && !single;
    const bool tabs = Flags & DT_EXPANDTABS;
    if (text.isEmpty()) {
        if (calc) {
            R.Right = R.Left;
            R.Bottom = R.Top;
        }
        return 0;
    }

    // Prefix characters: "&x" underlines x, "&&" is one "&".
    String shown;
    std::vector<int> underlines;
    if (Flags & DT_NOPREFIX) {
        shown = text;
    } else {
        shown.reserve(text.size());
        for (int i = 0; i < text.size(); ++i) {
            if (text[i] == u'&') {
                if (i + 1 < text.size() && text[i + 1] == u'&') {
                    shown += u'&';
                    ++i;
                } else if (i + 1 < text.size()) {
                    underlines.push_back(int(shown.size()));
                }
                continue;
            }
            shown += text[i];
        }
        if (Flags & DT_HIDEPREFIX) underlines.clear();
    }

    QFont font = Canvas->DrawingFont();
    QFontMetrics fm(font);
    const int width = std::max(0, R.Width());
    auto lineWidth = [&](const String& s) { return LineWidth(fm, s, tabs); };
    auto isBlank = [](QChar c) { return c == u' ' || c == u'\t'; };

    // Paragraphs, then lines; each line remembers where it starts in the shown text.
    std::vector<std::pair<int, int>> lines; // [start, end) in shown
    auto addParagraph = [&](int ps, int pe) {
        if (!wordBreak || pe == ps) {
            lines.emplace_back(ps, pe);
            return;
        }
        int pos = ps;
        while (pos < pe) {
            int end = pos;
            int scan = pos;
            while (scan < pe) {
                int s = scan;
                while (s < pe && isBlank(shown[s])) ++s;
                int e = s;
                while (e < pe && !isBlank(shown[e])) ++e;
                if (e == s) break; // only blanks remain
                if (lineWidth(shown.mid(pos, e - pos)) <= width) {
                    end = e;
                    scan = e;
                    continue;
                }
                if (end == pos) {
                    // The first word does not fit: it stays whole on its own line, or with
                    // DT_EDITCONTROL is broken between characters.
                    end = e;
                    if (Flags & DT_EDITCONTROL) {
                        int k = 1;
                        while (pos + k < e && lineWidth(shown.mid(pos, k + 1)) <= width) ++k;
                        end = pos + k;
                    }
                }
                break;
            }
            if (end == pos) {
                // Nothing but blanks left in the paragraph.
                if (pos == ps) lines.emplace_back(pos, pos);
                break;
            }
            lines.emplace_back(pos, end);
            pos = end;
            while (pos < pe && isBlank(shown[pos])) ++pos;
        }
    };
    if (single) {
        addParagraph(0, int(shown.size()));
    } else {
        int ps = 0;
        for (int i = 0; i <= shown.size(); ++i) {
            if (i == shown.size() || shown[i] == u'\n' || shown[i] == u'\r') {
                addParagraph(ps, i);
                if (i < shown.size() && shown[i] == u'\r' && i + 1 < shown.size() && shown[i + 1] == u'\n')
                    ++i;
                ps = i + 1;
            }
        }
    }

    std::vector<TTextLine> out;
    out.reserve(lines.size());
    const bool ellipsis = Flags & (DT_END_ELLIPSIS | DT_WORD_ELLIPSIS | DT_PATH_ELLIPSIS);
    for (auto [s, e] : lines) {
        TTextLine l;
        l.Text = shown.mid(s, e - s);
        for (int u : underlines)
            if (u >= s && u < e) l.Underlines.push_back(u - s);
        if (ellipsis && lineWidth(l.Text) > width) {
            const String dots = QStringLiteral("...");
            int k = int(l.Text.size());
            while (k > 0 && lineWidth(l.Text.left(k) + dots) > width) --k;
            l.Text = l.Text.left(k) + dots;
            std::erase_if(l.Underlines, [k](int u) { return u >= k; });
        }
        out.push_back(std::move(l));
    }

    const int lineHeight =
        fm.ascent() + fm.descent() + ((Flags & DT_EXTERNALLEADING) ? std::max(0, fm.leading()) : 0);
    int maxWidth = 0;
    for (const auto& l : out) maxWidth = std::max(maxWidth, lineWidth(l.Text));
    const int total = lineHeight * int(out.size());

    int top = R.Top;
    if (single) {
        if (Flags & DT_VCENTER)
            top = R.Top + (R.Height() - lineHeight) / 2;
        else if (Flags & DT_BOTTOM)
            top = R.Bottom - lineHeight;
    }
    const int result = single && (Flags & (DT_VCENTER | DT_BOTTOM)) ? top - R.Top + lineHeight : total;

    if (calc) {
        // Measuring answers the text's height whatever the vertical alignment.
        R.Right = R.Left + maxWidth;
        R.Bottom = R.Top + total;
        return total;
    }
    if (!Canvas->RequireTarget()) return result;

    Canvas->Changing();
    QPainter* p = Canvas->BeginPainter();
    if (!(Flags & DT_NOCLIP))
        p->setClipRect(QRect(R.Left, R.Top, std::max(0, R.Width()), std::max(0, R.Height())),
                       Canvas->HasClip() ? Qt::IntersectClip : Qt::ReplaceClip);
    p->setFont(font);
    const QColor textColor = ToQColor(Canvas->TextColor());
    const bool opaque = Canvas->BkMode() == OPAQUE;
    int y = top;
    for (const auto& l : out) {
        int w = lineWidth(l.Text);
        int x = R.Left;
        if (Flags & DT_CENTER)
            x = R.Left + (R.Width() - w) / 2;
        else if (Flags & DT_RIGHT)
            x = R.Right - w;
        if (opaque && !(Flags & DT_PREFIXONLY))
            p->fillRect(QRect(x, y, w, lineHeight), ToQColor(Canvas->BkColor()));
        p->setPen(textColor);
        if (!(Flags & DT_PREFIXONLY)) PaintLine(p, fm, x, y, l.Text, tabs);
        for (int u : l.Underlines) {
            int ux = x + PrefixWidth(fm, l.Text, u, tabs);
            int uw = fm.horizontalAdvance(l.Text[u]);
            int uy = y + fm.ascent() + 1;
            if (uw > 0) p->fillRect(QRect(ux, uy, uw, 1), textColor);
        }
        y += lineHeight;
    }
    Canvas->EndPainter(p);
    Canvas->Changed();
    return result;
}
