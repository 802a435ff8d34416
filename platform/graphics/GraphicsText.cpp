// Text on the canvas: TextOut, TextRect, measuring, and the platform's DrawText with its flags.
#include "Graphics.h"

#include <QFontMetrics>
#include <QGlyphRun>
#include <QGuiApplication>
#include <QHash>
#include <QPainter>
#include <QTextLayout>
#include <QThread>
#include <QVarLengthArray>

#include <algorithm>
#include <optional>
#include <vector>

namespace {

// Tab stops of DT_EXPANDTABS: every eight average character widths.
int TabStop(const QFontMetrics& fm) {
    return std::max(1, fm.averageCharWidth() * 8);
}

// Width of Text, with tab characters advancing to the next stop when Tabs.
int LineWidth(const QFontMetrics& fm, const String& Text, bool Tabs) {
    if (!Tabs || !Text.contains(u'\t')) return fm.horizontalAdvance(Text);
    const int stop = TabStop(fm);
    int x = 0;
    const auto parts = Text.split(u'\t');
    for (int i = 0; i < parts.size(); ++i) {
        x += fm.horizontalAdvance(parts[i]);
        if (i + 1 < parts.size()) x = (x / stop + 1) * stop;
    }
    return x;
}

// What was worked out before for short texts in a drawing font, kept on the application's thread:
// captions and cell texts repeat (the dots between the fields of an address, the blank that an
// empty caption measures, the same words in every row of a column), and measuring or drawing a
// text shapes it anew each time. Kept per font: the widths of texts; the lines that word breaking
// made of a paragraph at a width; the glyphs of lines drawn (for the painter's font on a device of
// a resolution, so they are the glyphs that drawing the text would shape). Longer texts, texts with
// tabs and other threads are worked out each time. Emptied when the installed fonts change, and
// when the application goes (the fonts held here keep Qt's font engines).
constexpr qsizetype CachedWidthLength = 32;
constexpr qsizetype CachedParagraphLength = 128;
constexpr qsizetype CachedGlyphsLength = 64;

// A line of a word-broken paragraph: where it starts and ends in the paragraph, and its width
// when breaking measured it (-1 when not).
struct TSpan {
    int Start, End, Width;
};

struct TBreakKey {
    String Text;
    int Width;
    Cardinal Flags;
    bool operator==(const TBreakKey& O) const {
        return Width == O.Width && Flags == O.Flags && Text == O.Text;
    }
};

size_t qHash(const TBreakKey& Key, size_t Seed = 0) {
    return qHashMulti(Seed, Key.Text, Key.Width, Key.Flags);
}

// The glyphs of one line, placed with the baseline at 0.
struct TLineGlyphs {
    QList<QGlyphRun> Runs;
};

struct TFontTexts {
    QFont Font;
    int Dpi; // the device's resolution for glyphs, 0 for widths and breaks
    QHash<String, int> Widths;
    QHash<TBreakKey, std::vector<TSpan>> Breaks;
    QHash<String, TLineGlyphs> Glyphs;
};
std::vector<TFontTexts>* GFontTexts = nullptr;

void FreeFontTexts() {
    delete GFontTexts;
    GFontTexts = nullptr;
}

// The entry of Font at Dpi, or null where nothing is kept (another thread, no application).
TFontTexts* FontTexts(const QFont& Font, int Dpi) {
    auto* app = qobject_cast<QGuiApplication*>(QCoreApplication::instance());
    if (!app || QThread::currentThread() != app->thread()) return nullptr;
    if (!GFontTexts) {
        GFontTexts = new std::vector<TFontTexts>;
        qAddPostRoutine(FreeFontTexts);
        QObject::connect(app, &QGuiApplication::fontDatabaseChanged, [] {
            if (GFontTexts) GFontTexts->clear();
        });
    }
    auto entry = std::find_if(GFontTexts->begin(), GFontTexts->end(),
                              [&](const TFontTexts& e) { return e.Dpi == Dpi && e.Font == Font; });
    if (entry != GFontTexts->end()) return &*entry;
    if (GFontTexts->size() >= 16) GFontTexts->clear();
    GFontTexts->push_back({Font, Dpi, {}, {}, {}});
    return &GFontTexts->back();
}

// Keeps a hash from growing without bound: a full one starts again.
template <class THash> void MakeRoom(THash& Hash, qsizetype Limit) {
    if (Hash.size() >= Limit) Hash.clear();
}

int TextWidthIn(const QFont& Font, const QFontMetrics& Metrics, const String& Text) {
    TFontTexts* entry =
        Text.size() > CachedWidthLength || Text.contains(u'\t') ? nullptr : FontTexts(Font, 0);
    if (!entry) return Metrics.horizontalAdvance(Text);
    auto known = entry->Widths.constFind(Text);
    if (known != entry->Widths.constEnd()) return *known;
    MakeRoom(entry->Widths, 4096);
    const int w = Metrics.horizontalAdvance(Text);
    entry->Widths.insert(Text, w);
    return w;
}

// Whether Text is drawn left to right by simple shaping, so that its glyphs may be kept: no
// right-to-left or complex script, no tab.
bool KeepsGlyphs(const String& Text) {
    if (Text.size() > CachedGlyphsLength) return false;
    for (QChar c : Text)
        if (c.unicode() >= 0x0590 || c == u'\t') return false;
    return true;
}

// Draws Text with its baseline starting at (X, Base) from the glyphs kept for it, shaping them
// once; false where glyphs are not kept for this text, font or painter (the caller draws the text
// itself). The glyphs are those QPainter::drawText shapes for the painter's font, at the same
// places. Decorated fonts are left to drawText, which draws their lines its own way.
bool DrawKeptGlyphs(QPainter* P, int X, int Base, const String& Text) {
    if (!KeepsGlyphs(Text) || P->transform().type() > QTransform::TxTranslate) return false;
    const QFont& font = P->font();
    if (font.underline() || font.strikeOut() || font.overline()) return false;
    QPaintDevice* device = P->device();
    TFontTexts* entry = FontTexts(font, device ? device->logicalDpiY() : 0);
    if (!entry) return false;
    auto known = entry->Glyphs.constFind(Text);
    if (known == entry->Glyphs.constEnd()) {
        MakeRoom(entry->Glyphs, 2048);
        QTextLayout layout(Text, font, device);
        QTextOption option;
        option.setWrapMode(QTextOption::NoWrap);
        option.setTextDirection(Qt::LeftToRight);
        layout.setTextOption(option);
        layout.beginLayout();
        QTextLine line = layout.createLine();
        layout.endLayout();
        if (!line.isValid()) return false;
        line.setPosition(QPointF(0, 0));
        TLineGlyphs glyphs;
        glyphs.Runs = line.glyphRuns();
        // The runs place the baseline at the line's ascent: moved to 0.
        const qreal ascent = line.ascent();
        for (QGlyphRun& run : glyphs.Runs) {
            QList<QPointF> positions = run.positions();
            for (QPointF& pos : positions) pos.ry() -= ascent;
            run.setPositions(positions);
        }
        known = entry->Glyphs.insert(Text, std::move(glyphs));
    }
    for (const QGlyphRun& run : known->Runs) P->drawGlyphRun(QPointF(X, Base), run);
    return true;
}

// Width of the first N characters of Text.
int PrefixWidth(const QFontMetrics& fm, const String& Text, int N, bool Tabs) {
    return LineWidth(fm, Text.left(N), Tabs);
}

// Draws one line with its top-left corner at (X, Y).
void PaintLine(QPainter* p, const QFontMetrics& fm, int X, int Y, const String& Text, bool Tabs) {
    int base = Y + fm.ascent();
    if (!Tabs || !Text.contains(u'\t')) {
        if (!DrawKeptGlyphs(p, X, base, Text)) p->drawText(QPoint(X, base), Text);
        return;
    }
    const int stop = TabStop(fm);
    int x = 0;
    const auto parts = Text.split(u'\t');
    for (int i = 0; i < parts.size(); ++i) {
        p->drawText(QPoint(X + x, base), parts[i]);
        x += fm.horizontalAdvance(parts[i]);
        if (i + 1 < parts.size()) x = (x / stop + 1) * stop;
    }
}

// The largest N in [Lo, Hi] for which Fits(N) holds, Lo when none does. Fits holds for every N
// below one for which it holds (a text does not get narrower as it grows).
template <class TFits> int LargestFitting(int Lo, int Hi, TFits Fits) {
    while (Lo < Hi) {
        const int mid = Lo + (Hi - Lo + 1) / 2;
        if (Fits(mid))
            Lo = mid;
        else
            Hi = mid - 1;
    }
    return Lo;
}

// A line of word-broken text measured as it grows, each word and blank measured once: its width
// is what LineWidth answers for the whole line, because the advances of the pieces add up (the
// fonts are hinted to whole pixels, and no kerning reaches across a blank). Tabs go to the next
// stop as in LineWidth: the part since the last tab is kept unrounded, like LineWidth's part.
class TLineRun {
public:
    int Width() const { return FBase + qRound(FPart); }
    void Add(qreal Advance) { FPart += Advance; }
    void Tab(int Stop) {
        FBase = (Width() / Stop + 1) * Stop;
        FPart = 0;
    }

private:
    int FBase = 0;
    qreal FPart = 0;
};

// Measures the pieces of a TLineRun in one font. A paragraph is laid out once and a word's width
// read from the positions where it starts and ends, which costs about what measuring the
// paragraph on one line costs (a word starts where the spaces after the word before it end, so
// that position needs no reading). Right-to-left text, and paragraphs so long that reading a
// position (which walks the line) would cost more than measuring, measure word by word instead.
class TPieceMeasure {
public:
    explicit TPieceMeasure(const QFont& Font, int TabStop) : FFont(Font), FMetrics(Font), FTabStop(TabStop) {}
    void Paragraph(const String& Text, int From, int To) {
        FLaidOut = To - From <= 2000 && !HasRightToLeft(Text, From, To);
        if (!FLaidOut) return;
        FFrom = From;
        FLayout.setFont(FFont);
        // Keeps the shaped glyphs after the layout, for reading positions from them.
        FLayout.setCacheEnabled(true);
        FLayout.setText(Text.mid(From, To - From));
        QTextOption option;
        option.setWrapMode(QTextOption::NoWrap);
        FLayout.setTextOption(option);
        FLayout.beginLayout();
        FLine = FLayout.createLine();
        FLayout.endLayout();
        FX.assign(size_t(To - From + 1), -1);
    }
    // Adds the blanks Text[From, To) (spaces, and tabs when tabs are expanded).
    void AddBlanks(TLineRun& Run, const String& Text, int From, int To) {
        for (int i = From; i < To; ++i) {
            if (Text[i] == u'\t')
                Run.Tab(FTabStop);
            else
                Run.Add(Space());
        }
    }
    void AddWord(TLineRun& Run, const String& Text, int From, int To) {
        if (FLaidOut)
            Run.Add(X(Text, To) - X(Text, From));
        else
            Run.Add(FMetrics.horizontalAdvance(Text.mid(From, To - From)));
    }

private:
    qreal Space() {
        if (FSpace < 0) FSpace = FMetrics.horizontalAdvance(QStringLiteral(" "));
        return FSpace;
    }
    // Where character I of Text starts on the laid-out line.
    qreal X(const String& Text, int I) {
        qreal& x = FX[size_t(I - FFrom)];
        if (x >= 0) return x;
        int j = I;
        while (j > FFrom && Text[j - 1] == u' ') --j;
        if (j < I && FX[size_t(j - FFrom)] >= 0)
            x = FX[size_t(j - FFrom)] + (I - j) * Space();
        else
            x = FLine.cursorToX(I - FFrom);
        return x;
    }
    static bool HasRightToLeft(const String& Text, int From, int To) {
        for (int i = From; i < To; ++i) {
            const QChar c = Text[i];
            if (c.unicode() < 0x0590) continue;
            switch (c.direction()) {
                case QChar::DirR:
                case QChar::DirAL:
                case QChar::DirRLE:
                case QChar::DirRLO:
                case QChar::DirRLI: return true;
                default: break;
            }
        }
        return false;
    }

    QFont FFont;
    QFontMetricsF FMetrics;
    int FTabStop;
    qreal FSpace = -1;
    QTextLayout FLayout;
    QTextLine FLine;
    int FFrom = 0;
    bool FLaidOut = false;
    std::vector<qreal> FX; // positions read so far, -1 where not yet
};

struct TTextLine {
    String Text;
    std::vector<int> Underlines; // character indices in Text
    int Width = -1;              // -1 until measured
};

} // namespace

// The font's escapement as the text turns on the target, counter-clockwise: in MM_LOMETRIC the
// escapement counts the other way round (y runs upward), so text the print engine gives a negative
// escapement turns counter-clockwise on the page, as the same positive angle does on the screen.
static int TextTurn(const TCanvas* Canvas) {
    const int o = Canvas->Font()->Orientation();
    return Canvas->MapMode() == MM_LOMETRIC ? -o : o;
}

int TCanvas::FontAscent() {
    return QFontMetrics(DrawingFont()).ascent();
}

int TCanvas::FontCellHeight() {
    QFontMetrics fm(DrawingFont());
    return fm.ascent() + fm.descent();
}

int TCanvas::TextWidth(const String& Text) {
    const QFont font = DrawingFont();
    const int w = TextWidthIn(font, QFontMetrics(font), Text);
    return Mapped() ? LengthToLogical(w) : w;
}

int TCanvas::TextHeight(const String& Text) {
    return TextExtent(Text).cy;
}

TSize TCanvas::TextExtent(const String& Text) {
    const QFont font = DrawingFont();
    QFontMetrics fm(font);
    TSize s;
    s.cx = TextWidthIn(font, fm, Text);
    s.cy = fm.ascent() + fm.descent();
    if (Mapped()) {
        // Extents are lengths: positive whichever way y runs.
        s.cx = LengthToLogical(s.cx);
        s.cy = LengthToLogical(s.cy);
    }
    return s;
}

void TCanvas::TextOut(int X, int Y, const String& Text) {
    if (!RequireTarget()) return;
    if (Mapped()) {
        const TPoint d = LPtoDP(TPoint(X, Y));
        const int w = TextWidth(Text);
        {
            TDeviceUnits u(this);
            TextOut(d.X, d.Y, Text);
        }
        FPenPos = TPoint(X + w, Y);
        return;
    }
    Changing();
    QFont f = DrawingFont();
    QFontMetrics fm(f);
    int w = fm.horizontalAdvance(Text), h = fm.ascent() + fm.descent();
    if (TCanvasPainter p{this}) {
        int x = X, y = Y;
        if (const int turn = TextTurn(this); turn % 3600 != 0) {
            p->translate(X, Y);
            p->rotate(-turn / 10.0);
            x = y = 0;
        }
        if (FBkMode == OPAQUE) p->fillRect(QRect(x, y, w, h), ToQColor(FBkColor));
        p->setPen(ToQColor(FTextColor));
        p->drawText(QPoint(x, y + fm.ascent()), Text);
    }
    FPenPos = TPoint(X + w, Y);
    Changed();
}

void TCanvas::TextRect(const TRect& R, int X, int Y, const String& Text) {
    if (!RequireTarget()) return;
    if (Mapped()) {
        const TRect d = DeviceRect(R);
        const TPoint at = LPtoDP(TPoint(X, Y));
        TDeviceUnits u(this);
        TextRect(d, at.X, at.Y, Text);
        return;
    }
    Changing();
    QFont f = DrawingFont();
    QFontMetrics fm(f);
    if (TCanvasPainter p{this}) {
        p->setClipRect(QRect(R.Left, R.Top, std::max(0, R.Width()), std::max(0, R.Height())),
                       FHasClip ? Qt::IntersectClip : Qt::ReplaceClip);
        // An opaque background fills the whole rectangle, as the platform's clipped text output does.
        if (FBrush->Style() != bsClear && FBkMode == OPAQUE)
            p->fillRect(QRect(R.Left, R.Top, R.Width(), R.Height()), ToQColor(FBkColor));
        p->setPen(ToQColor(FTextColor));
        int x = X, y = Y;
        if (const int turn = TextTurn(this); turn % 3600 != 0) {
            // A font with an escapement turns the text about its start.
            p->translate(X, Y);
            p->rotate(-turn / 10.0);
            x = y = 0;
        }
        p->drawText(QPoint(x, y + fm.ascent()), Text);
    }
    Changed();
}

int DrawText(TCanvas* Canvas, const String& Text, TRect& R, Cardinal Flags) {
    return DrawText(Canvas, Text, -1, R, Flags);
}

// Lines are found first (paragraphs, then word breaks), each measured at most once; widths are
// only measured where something needs them (DT_CALCRECT, centring, right alignment, an opaque
// background, ellipsis), so plain left-aligned text costs about what drawing it costs.
int DrawText(TCanvas* Canvas, const String& AText, int Count, TRect& R, Cardinal Flags) {
    if (!Canvas) return 0;
    if (Canvas->Mapped()) {
        // Laid out in device pixels; the measured rectangle and the height come back logical,
        // the height signed by the direction of y (negative in MM_LOMETRIC: the text runs down).
        TRect d = Canvas->DeviceRect(R);
        int h;
        {
            TCanvas::TDeviceUnits u(Canvas);
            h = DrawText(Canvas, AText, Count, d, Flags);
        }
        const int logical = -Canvas->LengthToLogical(h);
        if (Flags & DT_CALCRECT) {
            R.Right = R.Left + Canvas->LengthToLogical(d.Width());
            R.Bottom = R.Top - Canvas->LengthToLogical(d.Height());
        }
        return logical;
    }
    const String text = Count >= 0 ? AText.left(Count) : AText;
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
    if ((Flags & DT_NOPREFIX) || !text.contains(u'&')) {
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

    const QFont font = Canvas->DrawingFont();
    const QFontMetrics fm(font);
    const int width = std::max(0, R.Width());
    auto lineWidth = [&](const String& s) {
        return tabs && s.contains(u'\t') ? LineWidth(fm, s, tabs) : TextWidthIn(font, fm, s);
    };
    auto isBlank = [](QChar c) { return c == u' ' || c == u'\t'; };

    // Paragraphs, then lines; each line remembers where it starts in the shown text and, when
    // word breaking measured it, its width.
    QVarLengthArray<TSpan, 4> lines; // most texts are a line or a few
    std::optional<TPieceMeasure> pieces;
    auto addParagraph = [&](int ps, int pe) {
        if (!wordBreak || pe == ps) {
            lines.push_back({ps, pe, -1});
            return;
        }
        // A tab that is not expanded takes its width from where it stands on the line, so such
        // a paragraph measures each candidate line whole.
        const bool whole = !tabs && shown.indexOf(u'\t', ps) >= 0 && shown.indexOf(u'\t', ps) < pe;
        if (!whole) {
            // Most paragraphs fit their rectangle: then they are one line, up to their last word
            // (a width read in one piece is the sum of its words' widths).
            int last = pe;
            while (last > ps && isBlank(shown[last - 1])) --last;
            if (last > ps) {
                const int w = lineWidth(shown.mid(ps, last - ps));
                if (w <= width) {
                    lines.push_back({ps, last, w});
                    return;
                }
            }
        }
        // The lines of a short paragraph broken at this width before are kept.
        TFontTexts* kept = !whole && pe - ps <= CachedParagraphLength ? FontTexts(font, 0) : nullptr;
        TBreakKey key;
        if (kept) {
            key = {shown.mid(ps, pe - ps), width, Flags & (DT_EXPANDTABS | DT_EDITCONTROL)};
            auto known = kept->Breaks.constFind(key);
            if (known != kept->Breaks.constEnd()) {
                for (const TSpan& span : *known)
                    lines.push_back({span.Start + ps, span.End + ps, span.Width});
                return;
            }
        }
        const qsizetype first = lines.size();
        if (!whole) {
            if (!pieces) pieces.emplace(font, TabStop(fm));
            pieces->Paragraph(shown, ps, pe);
        }
        int pos = ps;
        while (pos < pe) {
            int end = pos, endWidth = 0;
            TLineRun run; // [pos, scan)
            int scan = pos;
            while (scan < pe) {
                int s = scan;
                while (s < pe && isBlank(shown[s])) ++s;
                int e = s;
                while (e < pe && !isBlank(shown[e])) ++e;
                if (e == s) break; // only blanks remain
                TLineRun next = run;
                int w;
                if (whole) {
                    w = lineWidth(shown.mid(pos, e - pos));
                } else {
                    pieces->AddBlanks(next, shown, scan, s);
                    pieces->AddWord(next, shown, s, e);
                    w = next.Width();
                }
                if (w <= width) {
                    end = e;
                    endWidth = w;
                    scan = e;
                    run = next;
                    continue;
                }
                if (end == pos) {
                    // The first word does not fit: it stays whole on its own line, or with
                    // DT_EDITCONTROL is broken between characters.
                    end = e;
                    endWidth = w;
                    if (Flags & DT_EDITCONTROL) {
                        const int k = LargestFitting(
                            1, e - pos - 1, [&](int n) { return lineWidth(shown.mid(pos, n)) <= width; });
                        end = pos + k;
                        endWidth = -1;
                    }
                }
                break;
            }
            if (end == pos) {
                // Nothing but blanks left in the paragraph.
                if (pos == ps) lines.push_back({pos, pos, 0});
                break;
            }
            lines.push_back({pos, end, endWidth});
            pos = end;
            while (pos < pe && isBlank(shown[pos])) ++pos;
        }
        if (kept) {
            MakeRoom(kept->Breaks, 4096);
            std::vector<TSpan>& made = kept->Breaks[key];
            for (qsizetype i = first; i < lines.size(); ++i)
                made.push_back({lines[i].Start - ps, lines[i].End - ps, lines[i].Width});
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

    QVarLengthArray<TTextLine, 4> out;
    out.reserve(lines.size());
    auto widthOf = [&](TTextLine& l) {
        if (l.Width < 0) l.Width = lineWidth(l.Text);
        return l.Width;
    };
    const bool ellipsis = Flags & (DT_END_ELLIPSIS | DT_WORD_ELLIPSIS | DT_PATH_ELLIPSIS);
    for (const TSpan& span : lines) {
        TTextLine l;
        l.Text = shown.mid(span.Start, span.End - span.Start);
        l.Width = span.Width;
        for (int u : underlines)
            if (u >= span.Start && u < span.End) l.Underlines.push_back(u - span.Start);
        if (ellipsis && widthOf(l) > width) {
            const String dots = QStringLiteral("...");
            const int k = LargestFitting(0, int(l.Text.size()) - 1,
                                         [&](int n) { return lineWidth(l.Text.left(n) + dots) <= width; });
            l.Text = l.Text.left(k) + dots;
            l.Width = -1;
            std::erase_if(l.Underlines, [k](int u) { return u >= k; });
        }
        out.push_back(std::move(l));
    }

    const int lineHeight =
        fm.ascent() + fm.descent() + ((Flags & DT_EXTERNALLEADING) ? std::max(0, fm.leading()) : 0);
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
        int maxWidth = 0;
        for (auto& l : out) maxWidth = std::max(maxWidth, widthOf(l));
        R.Right = R.Left + maxWidth;
        R.Bottom = R.Top + total;
        return total;
    }
    if (!Canvas->RequireTarget()) return result;

    Canvas->Changing();
    if (TCanvasPainter p{Canvas}) {
        if (!(Flags & DT_NOCLIP))
            p->setClipRect(QRect(R.Left, R.Top, std::max(0, R.Width()), std::max(0, R.Height())),
                           Canvas->HasClip() ? Qt::IntersectClip : Qt::ReplaceClip);
        const QColor textColor = ToQColor(Canvas->TextColor());
        p->setPen(textColor);
        const bool fill = Canvas->BkMode() == OPAQUE && !(Flags & DT_PREFIXONLY);
        int y = top;
        for (auto& l : out) {
            int x = R.Left;
            if (Flags & DT_CENTER)
                x = R.Left + (R.Width() - widthOf(l)) / 2;
            else if (Flags & DT_RIGHT)
                x = R.Right - widthOf(l);
            if (fill) p->fillRect(QRect(x, y, widthOf(l), lineHeight), ToQColor(Canvas->BkColor()));
            if (!(Flags & DT_PREFIXONLY)) PaintLine(p.get(), fm, x, y, l.Text, tabs);
            for (int u : l.Underlines) {
                int ux = x + PrefixWidth(fm, l.Text, u, tabs);
                int uw = fm.horizontalAdvance(l.Text[u]);
                int uy = y + fm.ascent() + 1;
                if (uw > 0) p->fillRect(QRect(ux, uy, uw, 1), textColor);
            }
            y += lineHeight;
        }
    }
    Canvas->Changed();
    return result;
}
