#include "MarkupRender.h"

#include "AdvXPVS.h"
#include "MarkupObjects.h"
#include "MarkupText.h"
#include "OSInfo.h"

#include <QFontMetrics>
#include <QLocale>

#include <algorithm>
#include <vector>

namespace {

TColor GHighlightBackground = clHighlight;
TColor GHighlightText = clHighlightText;

// Sizes read from attributes are clamped to this, so that sums of widths never overflow.
constexpr int MaxAttrSize = 100000;
// Font sizes of <FONT SIZE> are kept within this many points.
constexpr int MaxFontPoints = 720;
// Indentation of one list level, and the bullet's distance from the text.
constexpr int ListIndent = 12;

struct TColorName {
    const char* Name;
    TColor Value;
};

constexpr TColorName BasicColors[] = {
    {"clred", 0x0000FF},  {"clblack", 0x000000},  {"clblue", 0xFF0000},    {"clgreen", 0x008000},
    {"claqua", 0xFFFF00}, {"clyellow", 0x00FFFF}, {"clfuchsia", 0xFF00FF}, {"clwhite", 0xFFFFFF},
    {"cllime", 0x00FF00}, {"clsilver", 0xC0C0C0}, {"clgray", 0x808080},    {"clolive", 0x008080},
    {"clnavy", 0x800000}, {"clpurple", 0x800080}, {"clteal", 0x808000},    {"clmaroon", 0x000080},
};

constexpr TColorName SystemColors[] = {
    {"clbackground", clBackground},
    {"clactivecaption", clActiveCaption},
    {"clinactivecaption", clInactiveCaption},
    {"clmenu", clMenu},
    {"clwindow", clWindow},
    {"clwindowframe", clWindowFrame},
    {"clmenutext", clMenuText},
    {"clwindowtext", clWindowText},
    {"clcaptiontext", clCaptionText},
    {"clactiveborder", clActiveBorder},
    {"clinactiveborder", clInactiveBorder},
    {"clappworkspace", clAppWorkSpace},
    {"clhighlight", clHighlight},
    {"clhighlighttext", clHighlightText},
    {"clbtnface", clBtnFace},
    {"clbtnshadow", clBtnShadow},
    {"clgraytext", clGrayText},
    {"clbtntext", clBtnText},
    {"clinactivecaptiontext", clInactiveCaptionText},
    {"clbtnhighlight", clBtnHighlight},
    {"cl3ddkshadow", cl3DDkShadow},
    {"cl3dlight", cl3DLight},
    {"clinfotext", clInfoText},
    {"clinfobk", clInfoBk},
};

int HexPair(const String& S, int From) {
    if (From + 2 > S.size()) return 0;
    bool ok = false;
    int v = S.mid(From, 2).toInt(&ok, 16);
    return ok ? v : 0;
}

// The character references the renderer resolves before layout.
struct TReference {
    const char* From;
    const char16_t* To;
};

constexpr TReference References[] = {
    {"&amp;", u"&&"},        {"&quot;", u"\""},      {"&sect;", u"\u00A7"},
    {"&permil;", u"\u2030"}, {"&reg;", u"\u00AE"},   {"&copy;", u"\u00A9"},
    {"&para;", u"\u00B6"},   {"&trade;", u"\u2122"}, {"&euro;", u"\u20AC"},
};

// Resolves the references of a text run.
String RunText(QStringView Raw, bool& Shortened) {
    String r = Raw.toString();
    Shortened = false;
    if (!r.contains(u'&')) return r;
    const int n = r.size();
    r.replace(QStringLiteral("&nbsp;"), QStringLiteral(" "));
    r.replace(QStringLiteral("&lt;"), QStringLiteral("<"));
    r.replace(QStringLiteral("&gt;"), QStringLiteral(">"));
    Shortened = r.size() != n;
    return r;
}

// The text a run shows: "&&" is one ampersand, a single "&" only marks the next character.
String ShownText(const String& Run) {
    if (!Run.contains(u'&')) return Run;
    String r;
    r.reserve(Run.size());
    for (int i = 0; i < Run.size(); ++i) {
        if (Run[i] == u'&' && i + 1 < Run.size()) ++i;
        r += Run[i];
    }
    return r;
}

// The value of attribute Name in a tag: Up is the upper-cased tag, Source the text the value is
// read from (Up itself, or the tag as written, for values that keep their case).
bool FindAttr(const String& Up, const String& Source, const char* Name, String& Value) {
    return FindHTMLAttribute(Source, Up, Name, Value);
}

// A plain integer ("12", "-3"), nothing else.
bool PlainInt(const String& S, int& V) {
    bool ok = false;
    V = S.trimmed().toInt(&ok);
    return ok;
}

// Whether the locale the program runs in writes from right to left.
bool RightToLeftLocale() {
    return QLocale().textDirection() == Qt::RightToLeft;
}

// Whether the platform is new enough to draw themed controls (5.1 or later), decided once.
bool MarkupThemesSupported() {
    static const bool supported = CheckWin32Version(5, 1);
    return supported;
}

// Whether a visual style is active.
bool MarkupThemeActive() {
    return PlatformSwitches().VisualStylesActive;
}

enum TPassKind { pkMeasure, pkPaint, pkHitTest };
enum TParaAlign { paLeft, paRight, paCenter };

// A font's settings, to return to after <R>.
struct TFontSave {
    String Name;
    int Height;
    TFontStyles Style;
    TColor Color;
    int Orientation;
};

// The drawing state that runs on from line to line. The measuring pass and the second pass (paint
// or hit test) each keep one, so that the second pass of a line starts from the state its
// measuring started from.
struct TTrack {
    TFont* Font = nullptr;
    bool AnchorOpen = false;
    String Href, Title;
    int AnchorCounter = 0;
    int PictureCounter = 0;
    int ListLevel = 0;
    bool ErrorUnderline = false, Shadow = false, Hidden = false;
    bool ParaBackground = false;
    TColor ParaColor = clNone;
    TColor TextBackground = clNone;
    TColor HiSavedColor = clNone, HiSavedBackground = clNone;
    TColor FontSavedBackground = clNone;
    TColor AnchorSavedBackground = clNone, AnchorSavedColor = clNone;
    bool AnchorHoverColorUsed = false;
    TParaAlign Align = paLeft;
    int Indent = 0;
    // Geometry of the open anchor (second pass).
    bool AnchorArmed = false;
    int AnchorStartX = 0, AnchorStartTop = 0;
    bool FocusOpen = false;
    int FocusStartX = 0;
    std::vector<TFontSave> Rotations;
};

struct TLineMetrics {
    int Width = 0; // without a trailing blank
    int Height = 0;
    int Raise = 0;
    int SubHeight = 0, SupHeight = 0;
};

class TMarkupRenderer {
public:
    TMarkupRenderer(TCanvas* Canvas, const TRect& R, const THTMLDrawOptions& O, THTMLDrawResult& Res)
        : C(Canvas), FR(R), O(O), Res(Res) {}
    bool Run(const String& Markup);

private:
    String Prepare(const String& Markup) const;
    int LayoutLine(TTrack& T, TPassKind Kind, const String& S, int Pos, int End, const TRect& LR,
                   TLineMetrics& LM, bool& DropRest);
    void PaintRun(TTrack& T, const String& Run, const TRect& LR, int X, int TextBottom, int& W);
    void ZigZag(int X1, int X2, int Y);
    void FocusFrame(int X1, int X2, int TextBottom);
    TSize Measure(const String& Text);
    // Height of "gh" and width of a blank in the canvas's current font.
    int GH() {
        SyncMetrics();
        return FGH;
    }
    int SpaceWidth() {
        SyncMetrics();
        return FSpaceWidth;
    }
    void SyncMetrics();
    void SetStyle(TFontStyle S, bool On);
    void ApplyFontTag(TTrack& T, bool Painting, const String& Up);
    TFontSave SaveFont() const;
    void RestoreFont(const TFontSave& F);

    TCanvas* C;
    TRect FR;
    const THTMLDrawOptions& O;
    THTMLDrawResult& Res;

    TFont* FEntryFont = nullptr;
    TColor FEntryBrush = clWhite;
    Cardinal FFormat = 0;
    bool FRTL = false;
    bool FHit = false;
    // Metrics of the canvas font (SyncMetrics).
    const QFontMetrics* FMetrics = nullptr;
    int FGH = 0, FRunHeight = 0, FSpaceWidth = 0;
    TMarkupObjectCall FCall;
    // Line-local state of the pass being laid out.
    int FCurX = 0, FCurRight = 0;
    int FLineWidth = 0;
    bool FSub = false, FSup = false;
};

String TMarkupRenderer::Prepare(const String& Markup) const {
    String s = Markup;
    if (s.contains(u'&')) {
        // "&amp;" becomes "&&" until none is left: the "&" a replacement ends with forms a new
        // reference with an "amp;" after it, so one pass from the left does it.
        String t;
        t.reserve(s.size());
        const int n = s.size();
        for (int i = 0; i < n; ++i) {
            if (s[i] == u'&' && QStringView(s).mid(i + 1, 4) == QLatin1String("amp;")) {
                t += QStringLiteral("&&");
                i += 4;
                while (QStringView(s).mid(i + 1, 4) == QLatin1String("amp;")) {
                    t += u'&';
                    i += 4;
                }
                continue;
            }
            t += s[i];
        }
        s = t;
        for (const auto& ref : References) {
            if (QLatin1String(ref.From) == QLatin1String("&amp;")) continue;
            s.replace(QLatin1String(ref.From), QString::fromUtf16(ref.To));
        }
    }
    // "<#..." is text: its "<" and the first ">" after it go. CR becomes <BR>, LF goes.
    String r;
    r.reserve(s.size() + 16);
    int pendingGt = 0;
    const int n = s.size();
    for (int i = 0; i < n; ++i) {
        QChar c = s[i];
        if (c == u'<' && i + 1 < n && s[i + 1] == u'#') {
            ++pendingGt;
            continue;
        }
        if (c == u'>' && pendingGt > 0) {
            --pendingGt;
            continue;
        }
        if (c == u'\r') {
            r += QStringLiteral("<BR>");
            continue;
        }
        if (c == u'\n') continue;
        r += c;
    }
    return r;
}

// Metrics of the fonts markup switches between, kept for the process (the renderer runs on the
// main thread only): building a font's metrics costs more than measuring a run with them.
struct TFontMetricsEntry {
    String Name;
    int Height, Style, Pitch, PPI;
    QFontMetrics Metrics;
    int GH, RunHeight, Space;
};

const TFontMetricsEntry* FontMetricsFor(TCanvas* C) {
    static std::vector<TFontMetricsEntry> cache;
    const TFont* f = C->Font();
    int style = 0;
    for (TFontStyle st : f->Style()) style |= 1 << int(st);
    for (const auto& e : cache)
        if (e.Height == f->Height() && e.Style == style && e.Pitch == int(f->Pitch()) &&
            e.PPI == f->PixelsPerInch() && e.Name == f->Name())
            return &e;
    if (cache.size() >= 64) cache.clear();
    QFontMetrics fm(C->DrawingFont());
    const int gh = fm.ascent() + fm.descent();
    cache.push_back(TFontMetricsEntry{f->Name(), f->Height(), style, int(f->Pitch()), f->PixelsPerInch(), fm,
                                      gh, gh + std::max(0, fm.leading()), fm.horizontalAdvance(u' ')});
    return &cache.back();
}

void TMarkupRenderer::SyncMetrics() {
    const TFontMetricsEntry* e = FontMetricsFor(C);
    FMetrics = &e->Metrics;
    FGH = e->GH;
    FRunHeight = e->RunHeight;
    FSpaceWidth = e->Space;
}

TSize TMarkupRenderer::Measure(const String& Text) {
    // Runs without prefix characters and tabs are measured as the platform's single-line text
    // measuring does, from the font's metrics; others go through it.
    if (!Text.isEmpty() && !Text.contains(u'&') && !Text.contains(u'\t')) {
        SyncMetrics();
        return TSize{FMetrics->horizontalAdvance(Text), FRunHeight};
    }
    TRect r(0, 0, MaxAttrSize, MaxAttrSize);
    DrawText(C, Text, r, (FFormat & ~DT_END_ELLIPSIS) | DT_CALCRECT);
    return TSize{r.Width(), r.Height()};
}

void TMarkupRenderer::SetStyle(TFontStyle S, bool On) {
    TFontStyles st = C->Font()->Style();
    if (On == (st.count(S) != 0)) return;
    if (On)
        st.insert(S);
    else
        st.erase(S);
    C->Font()->SetStyle(st);
}

TFontSave TMarkupRenderer::SaveFont() const {
    const TFont* f = C->Font();
    return TFontSave{f->Name(), f->Height(), f->Style(), f->Color(), f->Orientation()};
}

void TMarkupRenderer::RestoreFont(const TFontSave& F) {
    TFont* f = C->Font();
    f->SetName(F.Name);
    f->SetHeight(F.Height);
    f->SetStyle(F.Style);
    f->SetColor(F.Color);
    f->SetOrientation(F.Orientation);
}

void TMarkupRenderer::ZigZag(int X1, int X2, int Y) {
    // A red 1-pixel zigzag between Y + 1 and Y - 1, two pixels per step, starting low when the
    // (even) start is a multiple of four; it ends at X2, so it never reaches into the next run.
    int x = X1 & ~1;
    bool low = (x % 4) == 0;
    TPen* pen = C->Pen();
    const TColor oldColor = pen->Color();
    const int oldWidth = pen->Width();
    pen->SetColor(clRed);
    pen->SetWidth(1);
    C->MoveTo(x, low ? Y + 1 : Y - 1);
    while (x < X2) {
        const int step = std::min(2, X2 - x);
        x += step;
        low = !low;
        // A last step of one pixel ends half way, on the middle line.
        C->LineTo(x, step == 2 ? (low ? Y + 1 : Y - 1) : Y);
    }
    pen->SetColor(oldColor);
    pen->SetWidth(oldWidth);
}

void TMarkupRenderer::FocusFrame(int X1, int X2, int TextBottom) {
    const int gh = GH();
    DrawFocusRect(C, TRect(X1 - 1, TextBottom - gh, X2 + 1, TextBottom));
}

void TMarkupRenderer::PaintRun(TTrack& T, const String& Run, const TRect& LR, int X, int TextBottom, int& W) {
    TRect tr = FRTL ? TRect(LR.Left, LR.Top, FCurRight, TextBottom) : TRect(X, LR.Top, LR.Right, TextBottom);
    const TSize ext = Measure(Run);
    if (T.TextBackground != clNone) {
        const int left = FRTL ? FCurRight - ext.cx : X;
        C->FillRectColor(TRect(left, TextBottom - ext.cy, left + ext.cx, TextBottom),
                         ColorToRGB(T.TextBackground));
    }
    if (T.Shadow) {
        const TColor fc = C->Font()->Color();
        C->Font()->SetColor(O.ShadowColor);
        TRect sr(tr.Left + O.ShadowOffset, tr.Top + O.ShadowOffset, tr.Right + O.ShadowOffset,
                 tr.Bottom + O.ShadowOffset);
        DrawText(C, Run, sr, FFormat);
        C->Font()->SetColor(fc);
    }
    DrawText(C, Run, tr, FFormat);
    W = ext.cx;
    if (T.ErrorUnderline) {
        // Under the run's own text bottom, so that text raised by a tall picture keeps its mark.
        const int left = FRTL ? FCurRight - W : X;
        ZigZag(left, left + W, TextBottom);
    }
}

void TMarkupRenderer::ApplyFontTag(TTrack& T, bool Painting, const String& Up) {
    String v;
    TFont* f = C->Font();
    if (FindAttr(Up, Up, "FACE", v) && !v.isEmpty()) f->SetName(v);
    if (FindAttr(Up, Up, "COLOR", v) && Painting && !O.KeepColors) f->SetColor(HTMLColorValue(v));
    if (FindAttr(Up, Up, "BGCOLOR", v) && Painting && !O.KeepColors) {
        T.FontSavedBackground = T.TextBackground;
        T.TextBackground = HTMLColorValue(v);
    }
    if (FindAttr(Up, Up, "SIZE", v)) {
        bool ok = false;
        const int n = MarkupLeadingInt(v, &ok);
        if (ok) {
            static constexpr int points[] = {8, 10, 12, 14, 16};
            const int pt = (n >= 1 && n <= 5) ? points[n - 1] : n;
            // A size of 0 or less would select a pixel height or no font at all: ignored.
            if (pt > 0) f->SetSize(std::min(pt, MaxFontPoints));
        }
    }
}

// Lays out one line of S[Pos, End). The measuring pass decides where the line ends, and returns
// the index after it; the second pass lays out exactly that text again at its final place.
int TMarkupRenderer::LayoutLine(TTrack& T, TPassKind Kind, const String& S, int Pos, int End, const TRect& LR,
                                TLineMetrics& LM, bool& DropRest) {
    const bool measuring = Kind == pkMeasure;
    const bool painting = Kind == pkPaint;
    const bool secondPass = !measuring;
    const int lineWidthAvail = LR.Right - LR.Left;
    // The line's bottom without the subscripts' extra height; text sits on it.
    const int lineBottom = LR.Bottom - LM.SubHeight;
    auto textBottom = [&] {
        int b = lineBottom - LM.Raise;
        if (FSup) b -= LM.SupHeight;
        if (FSub) b += LM.SubHeight;
        return b;
    };

    FCurX = LR.Left;
    FCurRight = LR.Right;
    FLineWidth = 0;
    FSub = FSup = false;
    int trailingBlank = 0;
    QChar lastVisible;
    bool anyVisible = false;
    bool firstText = true;
    int liCount = 0;

    if (T.ParaBackground && painting && T.ParaColor != clNone)
        C->FillRectColor(TRect(FR.Left, LR.Top, FR.Right, LR.Top + LM.Height), ColorToRGB(T.ParaColor));
    if (secondPass && T.FocusOpen) T.FocusStartX = FCurX;
    if (secondPass && T.AnchorOpen) T.AnchorStartX = LR.Left;

    int pos = Pos;
    int nextTag = -1; // the next "<" at or after pos, found once per stretch of text
    bool lineBreak = false;
    while (pos < End && !lineBreak) {
        // 1. The next run: up to the next "<", with word wrap up to and including a blank.
        if (nextTag < pos) {
            nextTag = S.indexOf(u'<', pos);
            if (nextTag < 0) nextTag = S.size();
        }
        const int lt = std::min(nextTag, End);
        int runEnd = lt;
        if (O.WordWrap) {
            int sp = S.indexOf(u' ', pos);
            if (sp >= 0 && sp < runEnd) runEnd = sp + 1;
        }
        if (runEnd > pos) {
            const QStringView raw = QStringView(S).mid(pos, runEnd - pos);
            bool shortened = false;
            const String run = RunText(raw, shortened);
            // The plain text is collected by the measuring pass alone, so that a painting call
            // does not hand it back twice; it holds the text as shown ("&&" is one "&").
            if (T.Hidden) {
                if (measuring) Res.StrippedText += ShownText(run);
                pos = runEnd;
                continue;
            }
            const TSize ext = Measure(run);
            const int w = ext.cx;
            if (measuring) {
                // 5. Fit: overlong runs stay for the next line unless they continue a word.
                const bool fits = FLineWidth + w < lineWidthAvail || w >= lineWidthAvail;
                const bool continuesWord = !anyVisible || lastVisible != u' ';
                if (!fits && !continuesWord && O.WordWrap) break;
                if (!fits && !O.WordWrap && !firstText) DropRest = true;
                LM.Height = std::max(LM.Height, ext.cy);
            }
            // 2. Sub- and superscripts lift or lower the line's text by a quarter of its height.
            if (measuring && FSub) LM.SubHeight = std::max(LM.SubHeight, ext.cy / 4);
            if (measuring && FSup) LM.SupHeight = std::max(LM.SupHeight, ext.cy / 4);
            const int before = FLineWidth;
            int drawn = w;
            if (painting) PaintRun(T, run, LR, FCurX, textBottom(), drawn);
            if (secondPass && T.AnchorOpen && O.HitX >= 0) {
                const int hx = O.HitX - LR.Left;
                // Only a point on this line counts: a point on a later line below the same span
                // is not on this anchor.
                if (hx >= before && hx <= before + w && O.HitY >= LR.Top && O.HitY < LR.Bottom) {
                    Res.Anchor = T.Href;
                    Res.AnchorTitle = T.Title;
                    T.AnchorArmed = true;
                    const int tb = lineBottom - LM.Raise;
                    if (O.HitY >= tb - GH() && O.HitY < tb) FHit = true;
                }
            }
            if (secondPass && T.AnchorOpen && T.FocusOpen) Res.FocusAnchor = T.Href;
            FLineWidth += w;
            FCurX += drawn;
            FCurRight -= drawn;
            if (measuring) Res.StrippedText += ShownText(run);
            trailingBlank = (run.endsWith(u' ') && !shortened) ? SpaceWidth() : 0;
            if (!run.isEmpty()) {
                lastVisible = run.back();
                anyVisible = true;
            }
            firstText = false;
            pos = runEnd;
            if (DropRest) break;
            continue;
        }

        // 7. A tag.
        int gt = S.indexOf(u'>', pos);
        if (gt < 0 || gt >= End) {
            // "<" without ">": the rest of the text is dropped.
            pos = End;
            DropRest = true;
            break;
        }
        const String tag = S.mid(pos, gt - pos + 1);
        const String up = MarkupUpper(tag);
        const int tagEnd = gt + 1;
        bool stays = false;

        auto placeObject = [&](const TMarkupObject& obj) {
            // Objects do not fit when they would overflow the line while narrower than it.
            if (measuring && FLineWidth > 0 && FLineWidth + obj.Width > lineWidthAvail &&
                obj.Width < lineWidthAvail) {
                stays = true;
                return;
            }
            if (measuring && obj.SetLineHeight >= 0) LM.Height = obj.SetLineHeight;
            FLineWidth += obj.Width;
            FCurX += obj.Width;
            if (measuring) LM.Height = std::max(LM.Height, obj.Height);
            trailingBlank = 0;
            if (measuring && obj.Raise == mrRaiseTop)
                LM.Raise = LM.Height - GH();
            else if (measuring && obj.Raise == mrRaiseMiddle)
                LM.Raise = (LM.Height - GH()) / 2;
            if (secondPass && obj.Hit) {
                FHit = true;
                Res.Anchor = obj.Anchor;
                if (obj.IsControl) {
                    Res.ControlRect = obj.ControlRect;
                    Res.ControlID = obj.ControlID;
                    Res.ControlValue = obj.ControlValue;
                    Res.ControlType = obj.ControlType;
                } else {
                    Res.AnchorTitle = obj.Title;
                    T.AnchorArmed = true;
                }
            }
        };
        auto slot = [&] {
            TMarkupObjectSlot s;
            s.Painting = painting;
            s.X = FCurX;
            s.LineLeft = LR.Left;
            s.LineWidth = FLineWidth;
            s.LineTop = LR.Top;
            s.Bottom = textBottom();
            s.TextHeight = GH();
            s.PictureCounter = T.PictureCounter;
            s.AnchorOpen = T.AnchorOpen;
            s.Href = T.Href;
            s.Title = T.Title;
            return s;
        };

        const QChar c1 = up.size() > 1 ? up[1] : QChar();
        const QChar c2 = up.size() > 2 ? up[2] : QChar();
        const QChar c3 = up.size() > 3 ? up[3] : QChar();
        if (c1 == u'/') {
            // Closing tags count only when more than three characters remain.
            if (End - pos > 3) {
                switch (c2.unicode()) {
                    case u'A': {
                        const bool cond = (!O.HoverStyle || T.AnchorCounter == O.HoverAnchor) && painting;
                        if (cond) {
                            SetStyle(fsUnderline, false);
                            if (O.HoverColor != clNone) T.TextBackground = T.AnchorSavedBackground;
                            if (T.AnchorHoverColorUsed) C->Font()->SetColor(T.AnchorSavedColor);
                        }
                        T.AnchorHoverColorUsed = false;
                        if (painting && !O.KeepColors) C->Font()->SetColor(FEntryFont->Color());
                        if (secondPass && T.AnchorOpen && T.AnchorArmed) {
                            Res.HoverAnchor = T.AnchorCounter;
                            Res.HoverRect = TRect(T.AnchorStartX, T.AnchorStartTop, FCurX, LR.Bottom);
                        }
                        if (painting && T.FocusOpen) FocusFrame(T.FocusStartX, FCurX, lineBottom - LM.Raise);
                        T.FocusOpen = false;
                        T.AnchorArmed = false;
                        T.AnchorOpen = false;
                        T.Href.clear();
                        T.Title.clear();
                        break;
                    }
                    case u'B':
                        if (c3 == u'>')
                            SetStyle(fsBold, false);
                        else if (painting)
                            C->Font()->SetColor(FEntryFont->Color());
                        break;
                    case u'E': T.ErrorUnderline = false; break;
                    case u'F':
                        C->Font()->SetName(FEntryFont->Name());
                        C->Font()->SetHeight(FEntryFont->Height());
                        if (painting && !O.KeepColors) {
                            C->Font()->SetColor(FEntryFont->Color());
                            T.TextBackground = T.FontSavedBackground;
                        }
                        break;
                    case u'H':
                        if (painting) {
                            C->Font()->SetColor(T.HiSavedColor == clNone ? FEntryFont->Color()
                                                                         : T.HiSavedColor);
                            T.TextBackground = T.HiSavedBackground;
                        }
                        break;
                    case u'I': SetStyle(fsItalic, false); break;
                    case u'L': lineBreak = true; break;
                    case u'P':
                        lineBreak = true;
                        T.ParaBackground = false;
                        T.ParaColor = clNone;
                        break;
                    case u'R':
                        if (!T.Rotations.empty()) {
                            RestoreFont(T.Rotations.back());
                            T.Rotations.pop_back();
                        }
                        break;
                    case u'S':
                        if (c3 == u'>')
                            SetStyle(fsStrikeOut, false);
                        else if (c3 == u'H')
                            T.Shadow = false;
                        else if (c3 == u'U')
                            FSub = FSup = false;
                        break;
                    case u'U':
                        if (c3 == u'>')
                            SetStyle(fsUnderline, false);
                        else if (T.ListLevel > 0)
                            --T.ListLevel;
                        else
                            SetStyle(fsUnderline, false);
                        break;
                    case u'Z': T.Hidden = false; break;
                    default: break;
                }
            }
        } else {
            switch (c1.unicode()) {
                case u'A': {
                    if (T.AnchorCounter == O.FocusAnchor) {
                        T.FocusOpen = true;
                        T.FocusStartX = FCurX;
                    }
                    ++T.AnchorCounter;
                    T.AnchorOpen = true;
                    T.AnchorArmed = false;
                    T.AnchorStartX = FCurX;
                    T.AnchorStartTop = LR.Top;
                    T.Href.clear();
                    T.Title.clear();
                    FindAttr(up, tag, "HREF", T.Href);
                    FindAttr(up, tag, "TITLE", T.Title);
                    const bool hovered = T.AnchorCounter == O.HoverAnchor;
                    if ((!O.HoverStyle || hovered) && painting) {
                        SetStyle(fsUnderline, true);
                        if (O.HoverColor != clNone) {
                            T.AnchorSavedBackground = T.TextBackground;
                            T.TextBackground = O.HoverColor;
                        }
                        if (O.HoverFontColor != clNone) {
                            T.AnchorSavedColor = C->Font()->Color();
                            C->Font()->SetColor(O.HoverFontColor);
                            T.AnchorHoverColorUsed = true;
                        }
                    }
                    if (painting && !O.KeepColors && !(O.HoverStyle && hovered && O.HoverFontColor != clNone))
                        C->Font()->SetColor(O.URLColor);
                    if (T.FocusOpen && secondPass) Res.FocusAnchor = T.Href;
                    break;
                }
                case u'B':
                    if (c2 == u'>')
                        SetStyle(fsBold, true);
                    else if (c2 == u'R') {
                        lineBreak = true;
                        if (measuring) Res.StrippedText += QChar(u'\r');
                    } else if (c2 == u'L') {
                        if (painting && !O.Blink) C->Font()->SetColor(FEntryBrush);
                    } else if (c2 == u'O' && painting) {
                        String v;
                        if (FindAttr(up, tag, "BACKGROUND", v)) DrawHTMLBackground(FCall, tag, FR);
                        if (FindAttr(up, up, "BGCOLOR", v)) {
                            TColor col = clNone;
                            if (v.contains(QLatin1String("CL")))
                                col = HTMLColorValue(v);
                            else if (v.contains(u'#'))
                                col = HTMLColorValue(v.mid(v.indexOf(u'#')));
                            if (col != clNone) {
                                C->FillRectColor(FR, ColorToRGB(col));
                                T.FontSavedBackground = col;
                            }
                        }
                    }
                    break;
                case u'C': {
                    TMarkupObjectSlot s = slot();
                    TMarkupObject obj = PlaceHTMLControl(FCall, s, tag);
                    if (obj.Present) placeObject(obj);
                    break;
                }
                case u'E': T.ErrorUnderline = true; break;
                case u'F': ApplyFontTag(T, painting, up); break;
                case u'H':
                    if (c2 == u'I') {
                        if (painting) {
                            T.HiSavedColor = C->Font()->Color();
                            T.HiSavedBackground = T.TextBackground;
                            T.TextBackground = GHighlightBackground;
                            C->Font()->SetColor(GHighlightText);
                        }
                    } else if (c2 == u'R') {
                        lineBreak = true;
                        if (painting) {
                            TPen* pen = C->Pen();
                            const TColor pc = pen->Color();
                            pen->SetColor(clBlack);
                            C->MoveTo(LR.Left, lineBottom + 1);
                            C->LineTo(LR.Right, lineBottom + 1);
                            pen->SetColor(pc);
                        }
                    }
                    break;
                case u'I':
                    if (c2 == u'N') {
                        String v;
                        int n = 0;
                        if (FindAttr(up, up, "X", v) && PlainInt(v, n)) {
                            n = std::min(n, MaxAttrSize);
                            // Counted from the line's left edge like the line width, so that
                            // aligned and indented lines keep their stops.
                            if (n > FLineWidth) {
                                FLineWidth = n;
                                FCurX = LR.Left + n;
                                trailingBlank = 0;
                            }
                        }
                    } else if (c2 == u'M') {
                        TMarkupObjectSlot s = slot();
                        TMarkupObject obj = PlaceHTMLImage(FCall, s, tag);
                        if (obj.Present) placeObject(obj);
                        // A picture that moves to the next line is counted there.
                        if (!stays) T.PictureCounter = s.PictureCounter;
                    } else {
                        SetStyle(fsItalic, true);
                    }
                    break;
                case u'L':
                    if (c2 == u'I') {
                        if (measuring && liCount > 0) {
                            stays = true;
                            break;
                        }
                        ++liCount;
                        FLineWidth += T.ListLevel * ListIndent;
                        FCurX += T.ListLevel * ListIndent;
                        // Outside a list there is no indentation to hold a bullet: none is drawn
                        // (it would land left of the rectangle). The bullet of odd levels is the
                        // Symbol font's dot, drawn as the Unicode bullet since fonts are matched
                        // by Unicode here and U+00B7 would show a middle dot.
                        if (painting && T.ListLevel > 0) {
                            const String name = C->Font()->Name();
                            C->Font()->SetName(QStringLiteral("Symbol"));
                            TRect br(FCurX - ListIndent, LR.Top, FCurX, textBottom());
                            const String bullet =
                                (T.ListLevel % 2) ? QStringLiteral("\u2022") : QStringLiteral("o");
                            DrawText(C, bullet, br, DT_BOTTOM | DT_SINGLELINE | DT_NOPREFIX | DT_NOCLIP);
                            C->Font()->SetName(name);
                        }
                    }
                    break;
                case u'P': {
                    String v;
                    if (FindAttr(up, up, "ALIGN", v)) {
                        if (v.contains(QLatin1String("RIGHT"))) T.Align = paRight;
                        if (v.contains(QLatin1String("LEFT"))) T.Align = paLeft;
                        if (v.contains(QLatin1String("CENTER"))) T.Align = paCenter;
                    }
                    if (FindAttr(up, up, "INDENT", v))
                        T.Indent = std::clamp(MarkupLeadingInt(v), -MaxAttrSize, MaxAttrSize);
                    if (FindAttr(up, up, "BGCOLOR", v)) {
                        T.ParaBackground = true;
                        T.ParaColor = HTMLColorValue(v);
                        if (painting && T.ParaColor != clNone)
                            C->FillRectColor(TRect(FR.Left, LR.Top, FR.Right, LR.Top + LM.Height),
                                             ColorToRGB(T.ParaColor));
                    }
                    break;
                }
                case u'R': {
                    String v;
                    int n = 0;
                    if (FindAttr(up, up, "A", v) && PlainInt(v, n)) {
                        T.Rotations.push_back(SaveFont());
                        C->Font()->SetOrientation(int((long long)n % 360 * 10));
                    }
                    break;
                }
                case u'S':
                    if (c2 == u'H')
                        T.Shadow = true;
                    else if (up == QLatin1String("<SUB>"))
                        FSub = true;
                    else if (up == QLatin1String("<SUP>"))
                        FSup = true;
                    else if (c2 == u'>')
                        SetStyle(fsStrikeOut, true);
                    break;
                case u'U':
                    if (c2 == u'>')
                        SetStyle(fsUnderline, true);
                    else {
                        ++T.ListLevel;
                        lineBreak = true;
                    }
                    break;
                case u'Z': T.Hidden = true; break;
                default: break;
            }
        }
        if (stays) break;
        pos = tagEnd;
    }

    // An open focused anchor gets a frame for each of its lines.
    if (painting && T.FocusOpen && T.AnchorOpen) FocusFrame(T.FocusStartX, FCurX, lineBottom - LM.Raise);
    if (measuring) LM.Width = FLineWidth - trailingBlank;
    return pos;
}

bool TMarkupRenderer::Run(const String& Markup) {
    Res = THTMLDrawResult();
    Res.ControlID = O.HitTestOnly ? O.ControlID : String();
    FFormat = DT_BOTTOM | DT_SINGLELINE | DT_EXPANDTABS | DT_EXTERNALLEADING;
    if (RightToLeftLocale() && O.BiDiMode != 0) {
        if (O.BiDiMode == 1) {
            if (FFormat & DT_RIGHT)
                FFormat &= ~DT_RIGHT;
            else if (!(FFormat & DT_CENTER))
                FFormat |= DT_RIGHT;
        }
        FFormat |= DT_RTLREADING;
    }
    FRTL = (FFormat & DT_RTLREADING) && (FFormat & DT_RIGHT);
    if (!O.WordWrap) FFormat |= DT_END_ELLIPSIS;

    // The whole drawing state of the canvas comes back on return, whatever happens.
    struct TStateGuard {
        TCanvas* C;
        int Level;
        ~TStateGuard() { C->RestoreDC(Level); }
    } guard{C, C->SaveDC()};

    TFont entryFont;
    entryFont.Assign(C->Font());
    FEntryFont = &entryFont;
    FEntryBrush = C->Brush()->Color();
    C->Brush()->SetStyle(bsClear);
    C->SetBkMode(TRANSPARENT);

    FCall.Canvas = C;
    FCall.Images = O.Images;
    FCall.Cache = O.PictureCache;
    FCall.Container = O.PictureContainer;
    FCall.Window = O.Window;
    FCall.Themed = MarkupThemesSupported() && MarkupThemeActive();
    FCall.Printing = O.Printing;
    FCall.ScaleFactor = O.ScaleFactor;
    FCall.ControlPressed = O.ControlPressed;
    FCall.HitTestOnly = O.HitTestOnly;
    FCall.HitX = O.HitX;
    FCall.HitY = O.HitY;
    FCall.ControlID = O.ControlID;
    FCall.EntryBrushColor = FEntryBrush;
    FCall.HoveredPicture = -1;

    const String s = Prepare(Markup);
    TFont measureFont, secondFont;
    measureFont.Assign(&entryFont);
    secondFont.Assign(&entryFont);
    TTrack M, P;
    M.Font = &measureFont;
    P.Font = &secondFont;

    TRect r = FR;
    r.Left += 1;
    int pos = 0;
    const int n = s.size();
    bool laidOut = false;
    while (pos < n) {
        // Measuring pass: where the line ends and how big it is.
        C->Font()->Assign(M.Font);
        TLineMetrics lm;
        lm.Height = GH();
        bool dropRest = false;
        const int lineStart = pos;
        TRect lr(r.Left, r.Top, r.Right, r.Top + lm.Height);
        pos = LayoutLine(M, pkMeasure, s, lineStart, n, lr, lm, dropRest);
        if (pos == lineStart && !dropRest) pos = lineStart + 1; // never stall on a line
        M.Font->Assign(C->Font());
        laidOut = true;

        // The line's place: alignment and paragraph indent.
        TRect pr = r;
        if (M.Align == paRight) {
            if (pr.Right - lm.Width > pr.Left) pr.Left = pr.Right - lm.Width;
        } else if (M.Align == paCenter) {
            const int free = (r.Right - r.Left) - lm.Width;
            if (free > 0) pr.Left += free / 2;
        }
        pr.Left += M.Indent;
        pr.Bottom = pr.Top + lm.Height + lm.SubHeight + lm.SupHeight;

        if (!O.MeasureOnly) {
            C->Font()->Assign(P.Font);
            bool ignored = false;
            LayoutLine(P, O.HitTestOnly ? pkHitTest : pkPaint, s, lineStart, pos, pr, lm, ignored);
            P.Font->Assign(C->Font());
        }

        Res.TextWidth = std::max(Res.TextWidth, lm.Width);
        const int lineHeight = lm.Height + lm.SubHeight + lm.SupHeight;
        r.Top += lineHeight;
        Res.TextHeight += lineHeight;
        if (dropRest) break;
        if (!O.MeasureOnly) {
            C->Font()->Assign(M.Font);
            if (r.Top + GH() > FR.Bottom) break;
        }
    }
    // An anchor left open at the end is finished like a closed one.
    if (!O.MeasureOnly && P.AnchorOpen && P.AnchorArmed) {
        Res.HoverAnchor = P.AnchorCounter;
        Res.HoverRect = TRect(P.AnchorStartX, P.AnchorStartTop, FCurX, r.Top);
    }
    Res.AnchorCount = M.AnchorCounter;
    if (!laidOut) {
        C->Font()->Assign(&entryFont);
        Res.TextHeight = GH();
    }
    Res.Hit = !O.MeasureOnly && FHit;
    return Res.Hit;
}

} // namespace

TColor HTMLColorValue(const String& Value) {
    if (Value.startsWith(u'#')) {
        const String v = MarkupUpper(Value);
        return TColor(HexPair(v, 1) + HexPair(v, 3) * 256 + HexPair(v, 5) * 65536);
    }
    const String name = Value.trimmed().toLower();
    for (const auto& c : BasicColors)
        if (name == QLatin1String(c.Name)) return c.Value;
    for (const auto& c : SystemColors)
        if (name == QLatin1String(c.Name)) return c.Value;
    return clBlack;
}

void SetHTMLHighlightColors(TColor Background, TColor Text) {
    GHighlightBackground = Background;
    GHighlightText = Text;
}

bool DrawHTML(TCanvas* Canvas, const String& Markup, const TRect& R, const THTMLDrawOptions& Options,
              THTMLDrawResult& Result) {
    if (!Canvas) {
        Result = THTMLDrawResult();
        return false;
    }
    TMarkupRenderer renderer(Canvas, R, Options, Result);
    return renderer.Run(Markup);
}

bool DrawHTMLText(TCanvas* Canvas, const String& Markup, const TRect& R, TCustomImageList* Images, int XPos,
                  int YPos, int FocusLink, int HoverLink, int ShadowOffset, bool CheckHotSpot,
                  bool CheckHeight, bool Print, bool Selected, bool Blink, bool HoverStyle, bool WordWrap,
                  bool Down, double ResFactor, TColor URLColor, TColor HoverColor, TColor HoverFontColor,
                  TColor ShadowColor, String& AnchorVal, String& StripVal, String& FocusAnchor,
                  String& AnchorHint, int& XSize, int& YSize, int& HyperLinks, int& MouseLink,
                  TRect& HoverRect, TRect& ControlRect, String& CID, String& CV, String& CT,
                  THTMLPictureCache* PictureCache, TPictureContainer* PictureContainer, HWND Window,
                  int BiDiMode) {
    THTMLDrawOptions o;
    o.Images = Images;
    o.HitX = XPos;
    o.HitY = YPos;
    o.FocusAnchor = FocusLink;
    o.HoverAnchor = HoverLink;
    o.ShadowOffset = ShadowOffset;
    o.HitTestOnly = CheckHotSpot;
    o.MeasureOnly = CheckHeight;
    o.Printing = Print;
    o.KeepColors = Selected;
    o.Blink = Blink;
    o.HoverStyle = HoverStyle;
    o.WordWrap = WordWrap;
    o.ControlPressed = Down;
    o.ScaleFactor = ResFactor;
    o.URLColor = URLColor;
    o.HoverColor = HoverColor;
    o.HoverFontColor = HoverFontColor;
    o.ShadowColor = ShadowColor;
    o.ControlID = CID;
    o.PictureCache = PictureCache;
    o.PictureContainer = PictureContainer;
    o.Window = Window;
    o.BiDiMode = BiDiMode;
    THTMLDrawResult r;
    const bool hit = DrawHTML(Canvas, Markup, R, o, r);
    AnchorVal = r.Anchor;
    StripVal = r.StrippedText;
    FocusAnchor = r.FocusAnchor;
    AnchorHint = r.AnchorTitle;
    XSize = r.TextWidth;
    YSize = r.TextHeight;
    HyperLinks = r.AnchorCount;
    MouseLink = r.HoverAnchor;
    HoverRect = r.HoverRect;
    ControlRect = r.ControlRect;
    CID = r.ControlID;
    CV = r.ControlValue;
    CT = r.ControlType;
    return hit;
}
