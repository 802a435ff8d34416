#include "Buttons.h"

TButtonContentPlacement CalcButtonLayout(const TRect& Client, TSize GlyphSize, TSize TextSize,
                                         TButtonLayout Layout, int Margin, int Spacing,
                                         bool RightToLeftReading) {
    if (RightToLeftReading) {
        if (Layout == blGlyphLeft)
            Layout = blGlyphRight;
        else if (Layout == blGlyphRight)
            Layout = blGlyphLeft;
    }
    const int clientW = Client.Width(), clientH = Client.Height();
    const bool horizontal = Layout == blGlyphLeft || Layout == blGlyphRight;
    TPoint glyph, text;
    if (horizontal) {
        glyph.Y = (clientH - GlyphSize.cy + 1) / 2;
        text.Y = (clientH - TextSize.cy + 1) / 2;
    } else {
        glyph.X = (clientW - GlyphSize.cx + 1) / 2;
        text.X = (clientW - TextSize.cx + 1) / 2;
    }
    if (TextSize.cx == 0 || GlyphSize.cx == 0) Spacing = 0;
    const int free = horizontal ? clientW : clientH;
    const int glyphExtent = horizontal ? GlyphSize.cx : GlyphSize.cy;
    const int textExtent = horizontal ? TextSize.cx : TextSize.cy;
    if (Margin == -1) {
        if (Spacing == -1) {
            Margin = (free - glyphExtent - textExtent) / 3;
            Spacing = Margin;
        } else {
            Margin = (free - glyphExtent - Spacing - textExtent + 1) / 2;
        }
    } else if (Spacing == -1) {
        Spacing = (free - Margin - glyphExtent - textExtent) / 2;
    }
    switch (Layout) {
        case blGlyphLeft:
            glyph.X = Margin;
            text.X = glyph.X + GlyphSize.cx + Spacing;
            break;
        case blGlyphRight:
            glyph.X = clientW - Margin - GlyphSize.cx;
            text.X = glyph.X - Spacing - TextSize.cx;
            break;
        case blGlyphTop:
            glyph.Y = Margin;
            text.Y = glyph.Y + GlyphSize.cy + Spacing;
            break;
        case blGlyphBottom:
            glyph.Y = clientH - Margin - GlyphSize.cy;
            text.Y = glyph.Y - Spacing - TextSize.cy;
            break;
    }
    TButtonContentPlacement p;
    p.GlyphPos = TPoint(glyph.X + Client.Left, glyph.Y + Client.Top);
    p.TextBounds = TRect(text.X + Client.Left, text.Y + Client.Top, text.X + Client.Left + TextSize.cx,
                         text.Y + Client.Top + TextSize.cy);
    return p;
}
