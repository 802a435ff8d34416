// The named web colours: a colour's name (or "#RRGGBB"), and a name's colour.
#include "WebColors.h"

#include <gtest/gtest.h>

namespace {

TEST(WebColorNames, NamesAndColoursBothWays) {
    TColor c = clNone;
    EXPECT_EQ(ColorToWebName(TColor(0xFFF8F0)), QStringLiteral("aliceblue"));
    EXPECT_EQ(ColorToWebName(TColor(0x32CD9A)), QStringLiteral("yellowgreen"));
    EXPECT_EQ(ColorToWebName(TColor(0x808080)), QStringLiteral("gray"));
    EXPECT_EQ(ColorToWebName(TColor(0x010101)), QStringLiteral("#010101"));
    ASSERT_TRUE(WebNameToColor(QStringLiteral("Teal"), c));
    EXPECT_EQ(c, TColor(0x808000));
    ASSERT_TRUE(WebNameToColor(QStringLiteral("CYAN"), c));
    EXPECT_EQ(c, TColor(0xFFFF00));
    ASSERT_TRUE(WebNameToColor(QStringLiteral("#FF0000"), c));
    EXPECT_EQ(c, TColor(0x0000FF));
    c = clNone;
    for (const char* bad : {"", "nosuchcolour", "#FF00", "#GG0000", "#FF00001"}) {
        EXPECT_FALSE(WebNameToColor(QString::fromLatin1(bad), c)) << bad;
        EXPECT_EQ(c, clNone) << bad;
    }
    // Every name reads back as the colour it names.
    for (unsigned v : {0x000000u, 0xFFFFFFu, 0x7FFFD4u, 0x663399u}) {
        const TColor colour = RGB(int(v >> 16), int((v >> 8) & 0xFF), int(v & 0xFF));
        ASSERT_TRUE(WebNameToColor(ColorToWebName(colour), c));
        EXPECT_EQ(c, colour);
    }
}

} // namespace
