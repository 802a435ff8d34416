// DrawText keeps the glyphs of the lines it draws: what it draws from them must be what drawing the
// text anew draws. (The kept line breaks are checked by the canvas tests, which break each text at
// many widths and flags, measuring first and drawing after.)
#include "Graphics.h"

#include <QPainter>

#include <gtest/gtest.h>

#include <string>

namespace {

// The pixels QPainter draws for Text with its baseline at the font's ascent below (X, Y), in the
// canvas's drawing font, on a copy of Before.
QImage DrawnByQt(const QImage& Before, const QFont& Font, int X, int Y, const String& Text) {
    QImage image = Before.copy();
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setRenderHint(QPainter::TextAntialiasing, false);
    p.setFont(Font);
    p.setPen(Qt::black);
    p.drawText(QPoint(X, Y + QFontMetrics(Font).ascent()), Text);
    return image;
}

} // namespace

TEST(GraphicsText, KeptGlyphsDrawWhatDrawingTheTextDraws) {
    const String texts[] = {
        QStringLiteral("R1C2 value"),
        QStringLiteral("AVATAR To. Wa, Ty Yo LT"),
        QString::fromUtf8("Größe, Привет, ﬁle office affluent"),
        QString::fromUtf8("e\u0301le\u0300ve, n\u0303"), // combining marks
        QString::fromUtf8("Port 中文 42 ✓"),             // a fallback font
        QString::fromUtf8("שלום עולם mixed"),            // right to left: drawn anew
        QStringLiteral("a line longer than the glyphs that are kept for a line, which are drawn anew"),
    };
    struct Font {
        const char* Name;
        int Size;
        TFontStyles Style;
    } fonts[] = {{"Tahoma", 8, {}},
                 {"Arial", 11, {fsBold}},
                 {"Times New Roman", 12, {fsItalic}},
                 {"Courier New", 9, {fsUnderline}},
                 {"Arial", 10, {fsStrikeOut}}};
    TBitmap bmp;
    bmp.SetSize(420, 24);
    TCanvas* c = bmp.Canvas();
    for (const Font& f : fonts) {
        c->Font()->SetName(QString::fromLatin1(f.Name));
        c->Font()->SetSize(f.Size);
        c->Font()->SetStyle(f.Style);
        c->Font()->SetColor(clBlack);
        for (const String& text : texts) {
            c->Brush()->SetColor(clWhite);
            c->FillRect(TRect(0, 0, 420, 24));
            const QImage expected = DrawnByQt(bmp.Image(), c->DrawingFont(), 3, 2, text);
            // The first drawing keeps the glyphs, the second draws from them.
            for (int pass = 0; pass < 2; ++pass) {
                c->Brush()->SetColor(clWhite);
                c->FillRect(TRect(0, 0, 420, 24));
                c->SetBkMode(TRANSPARENT);
                TRect r(3, 2, 420, 24);
                DrawText(c, text, r, DT_SINGLELINE | DT_NOPREFIX | DT_NOCLIP);
                EXPECT_TRUE(bmp.Image().convertToFormat(expected.format()) == expected)
                    << f.Name << " " << f.Size << " pass " << pass << ": " << text.toStdString();
            }
        }
    }
}
