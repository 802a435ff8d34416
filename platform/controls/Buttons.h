// Buttons of the class library: the placement of a button's glyph and caption, shared by every
// button that shows both (speed buttons and the buttons of the control libraries).
#pragma once

#include "Types.h"

// Where the glyph sits relative to the caption.
enum TButtonLayout { blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom };

// What a speed button shows: up, disabled, pressed, or held down in its group.
enum TButtonState { bsUp, bsDisabled, bsDown, bsExclusive };

// The glyph's top-left corner and the caption's rectangle, in the coordinates of Client.
struct TButtonContentPlacement {
    TPoint GlyphPos;
    TRect TextBounds;
};

// Places a glyph of GlyphSize and a caption of TextSize (each 0 x 0 when missing) in Client:
// both are centred across the layout direction ((size - part + 1) div 2); the spacing is 0 when
// either part is missing. Margin -1 with Spacing -1 splits the free space in three equal parts
// (margin = spacing); Margin -1 alone centres the pair; Spacing -1 alone centres the caption in
// what is left after margin and glyph. The glyph then goes at the margin from its side and the
// caption at the spacing from the glyph. RightToLeftReading swaps glyph left and glyph right.
TButtonContentPlacement CalcButtonLayout(const TRect& Client, TSize GlyphSize, TSize TextSize,
                                         TButtonLayout Layout, int Margin, int Spacing,
                                         bool RightToLeftReading = false);
