// The placement of a button's glyph and caption, as a table of client rectangles, part sizes,
// layouts, margins and spacings.
#include "Buttons.h"

#include <gtest/gtest.h>

#include <ostream>

namespace {

struct PlacementCase {
    const char* Name;
    TRect Client;
    TSize Glyph;
    TSize Text;
    TButtonLayout Layout;
    int Margin;
    int Spacing;
    bool RightToLeft;
    TPoint GlyphPos;
    TRect TextBounds;
};

void PrintTo(const PlacementCase& C, std::ostream* Os) {
    *Os << C.Name;
}

const PlacementCase Cases[] = {
    // Centred pair: margin (100 - 16 - 4 - 40 + 1) div 2 = 20, both centred across ((30 - h + 1) div 2).
    {"GlyphLeftCentred",
     {0, 0, 100, 30},
     {16, 16},
     {40, 13},
     blGlyphLeft,
     -1,
     4,
     false,
     {20, 7},
     {40, 9, 80, 22}},
    {"GlyphRightCentred",
     {0, 0, 100, 30},
     {16, 16},
     {40, 13},
     blGlyphRight,
     -1,
     4,
     false,
     {64, 7},
     {20, 9, 60, 22}},
    {"GlyphTopCentred",
     {0, 0, 60, 50},
     {16, 16},
     {30, 13},
     blGlyphTop,
     -1,
     4,
     false,
     {22, 9},
     {15, 29, 45, 42}},
    {"GlyphBottomCentred",
     {0, 0, 60, 50},
     {16, 16},
     {30, 13},
     blGlyphBottom,
     -1,
     4,
     false,
     {22, 25},
     {15, 8, 45, 21}},
    // Margin and spacing -1: the free 44 pixels in three parts of 14.
    {"FreeSpaceInThirds",
     {0, 0, 100, 30},
     {16, 16},
     {40, 13},
     blGlyphLeft,
     -1,
     -1,
     false,
     {14, 7},
     {44, 9, 84, 22}},
    // Spacing -1 alone: the caption centred in what is left after margin and glyph.
    {"CaptionCentredInTheRest",
     {0, 0, 100, 30},
     {16, 16},
     {40, 13},
     blGlyphLeft,
     2,
     -1,
     false,
     {2, 7},
     {39, 9, 79, 22}},
    {"FixedMarginAndSpacing",
     {0, 0, 100, 30},
     {16, 16},
     {40, 13},
     blGlyphLeft,
     3,
     2,
     false,
     {3, 7},
     {21, 9, 61, 22}},
    {"FixedMarginGlyphBottom",
     {0, 0, 60, 50},
     {16, 16},
     {30, 13},
     blGlyphBottom,
     5,
     2,
     false,
     {22, 29},
     {15, 14, 45, 27}},
    // The client's origin moves everything (how a pressed face shifts its content).
    {"OffsetClient",
     {5, 5, 105, 35},
     {16, 16},
     {40, 13},
     blGlyphLeft,
     -1,
     4,
     false,
     {25, 12},
     {45, 14, 85, 27}},
    // Right-to-left reading swaps glyph left and right, not top and bottom.
    {"RightToLeftSwapsLeft",
     {0, 0, 100, 30},
     {16, 16},
     {40, 13},
     blGlyphLeft,
     -1,
     4,
     true,
     {64, 7},
     {20, 9, 60, 22}},
    {"RightToLeftSwapsRight",
     {0, 0, 100, 30},
     {16, 16},
     {40, 13},
     blGlyphRight,
     -1,
     4,
     true,
     {20, 7},
     {40, 9, 80, 22}},
    {"RightToLeftKeepsTop",
     {0, 0, 60, 50},
     {16, 16},
     {30, 13},
     blGlyphTop,
     -1,
     4,
     true,
     {22, 9},
     {15, 29, 45, 42}},
    // A missing part takes the spacing away.
    {"GlyphOnly", {0, 0, 23, 22}, {16, 16}, {0, 0}, blGlyphLeft, -1, 4, false, {4, 3}, {20, 11, 20, 11}},
    {"CaptionOnly", {0, 0, 100, 30}, {0, 0}, {40, 13}, blGlyphLeft, -1, 4, false, {30, 15}, {30, 9, 70, 22}},
    {"CaptionOnlySpacingMinusOne",
     {0, 0, 100, 30},
     {0, 0},
     {40, 13},
     blGlyphLeft,
     -1,
     -1,
     false,
     {30, 15},
     {30, 9, 70, 22}},
    // A glyph larger than the client: the divisions truncate toward zero.
    {"GlyphLargerThanClient",
     {0, 0, 10, 10},
     {16, 16},
     {0, 0},
     blGlyphLeft,
     -1,
     4,
     false,
     {-2, -2},
     {14, 5, 14, 5}},
};

class ButtonPlacement : public ::testing::TestWithParam<PlacementCase> {};

TEST_P(ButtonPlacement, GlyphAndCaption) {
    const PlacementCase& c = GetParam();
    const TButtonContentPlacement p =
        CalcButtonLayout(c.Client, c.Glyph, c.Text, c.Layout, c.Margin, c.Spacing, c.RightToLeft);
    EXPECT_EQ(p.GlyphPos, c.GlyphPos);
    EXPECT_EQ(p.TextBounds, c.TextBounds);
}

INSTANTIATE_TEST_SUITE_P(Table, ButtonPlacement, ::testing::ValuesIn(Cases),
                         [](const ::testing::TestParamInfo<PlacementCase>& Info) { return Info.param.Name; });

} // namespace
