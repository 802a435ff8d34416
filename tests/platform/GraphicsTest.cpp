// Colours, colour names, fonts, pens, brushes and named bitmap resources.
#include "Graphics.h"
#include "Resources.h"

#include <gtest/gtest.h>

#include <thread>
#include <vector>

TEST(Colors, SystemColorsResolveThroughTheFixedTable) {
    struct Case {
        TColor Color;
        TColor Rgb;
    } cases[] = {
        {clBtnFace, 0xF0F0F0},
        {clBtnShadow, 0xA0A0A0},
        {clBtnHighlight, 0xFFFFFF},
        {cl3DDkShadow, 0x696969},
        {cl3DLight, 0xE3E3E3},
        {clWindow, 0xFFFFFF},
        {clWindowText, 0x000000},
        {clHighlight, 0xFF9933},
        {clHighlightText, 0xFFFFFF},
        {clGrayText, 0x6D6D6D},
        {clBtnText, 0x000000},
        {clInfoBk, 0xE1FFFF},
        {clInfoText, 0x000000},
        {clActiveCaption, 0xD1B499},
        {clInactiveCaption, 0xDBCDBF},
        {clMenu, 0xF0F0F0},
        {clMenuText, 0x000000},
        {clHotLight, 0xCC6600},
        // RGB values pass unchanged; the high byte of an RGB value is dropped.
        {0x123456, 0x123456},
        {clFuchsia, 0xFF00FF},
        {0x02ABCDEF, 0xABCDEF},
    };
    for (const auto& c : cases) EXPECT_EQ(ColorToRGB(c.Color), c.Rgb) << std::hex << c.Color;
    // Every one of the 31 system colours has a defined value and the table is the one GetSysColor reads.
    for (int i = 0; i <= 30; ++i) EXPECT_EQ(ColorToRGB(clSystemColor | i), GetSysColor(i));
    QColor q = ToQColor(clHighlight);
    EXPECT_EQ(q, QColor(51, 153, 255));
    EXPECT_EQ(FromQColor(q), TColor(0xFF9933));
}

TEST(Colors, NamesRoundTripAndIntegersParse) {
    // Every named colour is written as its name and read back to the same value.
    const TColor named[] = {clBlack,      clMaroon,     clGreen,
                            clOlive,      clNavy,       clPurple,
                            clTeal,       clGray,       clSilver,
                            clRed,        clLime,       clYellow,
                            clBlue,       clFuchsia,    clAqua,
                            clWhite,      clMoneyGreen, clSkyBlue,
                            clCream,      clMedGray,    clBtnFace,
                            clNone,       clDefault,    clMenuHighlight,
                            cl3DDkShadow, clWindowText, clGradientActiveCaption};
    for (TColor c : named) {
        String s = ColorToString(c);
        EXPECT_TRUE(s.startsWith("cl")) << s.toStdString();
        EXPECT_EQ(StringToColor(s), c) << s.toStdString();
    }
    EXPECT_EQ(ColorToString(clBtnFace), "clBtnFace");
    EXPECT_EQ(ColorToString(0x00123456), "$00123456");
    EXPECT_EQ(ColorToString(0x00ABCDEF), "$00ABCDEF");
    EXPECT_EQ(StringToColor(ColorToString(0x00ABCDEF)), 0x00ABCDEF);

    struct Case {
        const char* Text;
        TColor Color;
    } cases[] = {
        {"CLBTNFACE", clBtnFace},
        {"clbtnface", clBtnFace},
        {"255", 255},
        {"$FF00FF", 0xFF00FF},
        {"0x10", 16},
        {"$FF00000F", clBtnFace},
        {"-16777201", clBtnFace},
        {"$1FFFFFFF", clNone},
    };
    for (const auto& c : cases) EXPECT_EQ(StringToColor(c.Text), c.Color) << c.Text;

    for (const char* bad : {"", "clNoSuchColour", "12abc", " 12", "12 ", "$", "0x", "$1FFFFFFFF"})
        EXPECT_THROW(StringToColor(bad), EConvertError) << bad;

    int c = 0;
    EXPECT_FALSE(IdentToColor("clNoSuchColour", c));
    String ident;
    EXPECT_FALSE(ColorToIdent(0x00123456, ident));
}

TEST(Fonts, SizeAndHeightFollowEachOtherAt96Dpi) {
    TFont f;
    EXPECT_EQ(f.Name(), "Tahoma");
    EXPECT_EQ(f.Color(), clWindowText);
    struct Case {
        int Size;
        int Height;
    } bySize[] = {{8, -11}, {9, -12}, {10, -13}, {12, -16}, {14, -19}, {18, -24}, {72, -96}};
    for (const auto& c : bySize) {
        f.SetSize(c.Size);
        EXPECT_EQ(f.Height(), c.Height) << c.Size;
        EXPECT_EQ(f.Size(), c.Size) << c.Size;
    }
    // A pixel height gives the rounded point size: 11 px * 72 / 96 = 8.25 -> 8, 32 px -> 24.
    f.SetHeight(-11);
    EXPECT_EQ(f.Size(), 8);
    f.SetHeight(-32);
    EXPECT_EQ(f.Size(), 24);
    // The Qt font carries the exact pixel size.
    EXPECT_EQ(f.ToQFont().pixelSize(), 32);
}

TEST(Fonts, OnChangeFiresOncePerRealChangeAndAssignCopies) {
    TFont f;
    int changes = 0;
    f.OnChange = [&](TObject* s) {
        EXPECT_EQ(s, &f);
        ++changes;
    };
    f.SetName("Verdana");
    f.SetSize(11);
    f.SetStyle({fsBold, fsUnderline});
    f.SetColor(clRed);
    f.SetOrientation(900);
    EXPECT_EQ(changes, 5);
    // Setting the same values again changes nothing.
    f.SetName("Verdana");
    f.SetSize(11);
    f.SetColor(clRed);
    EXPECT_EQ(changes, 5);

    TFont g;
    g.Assign(&f);
    EXPECT_EQ(g.Name(), "Verdana");
    EXPECT_EQ(g.Height(), f.Height());
    EXPECT_EQ(g.Style(), (TFontStyles{fsBold, fsUnderline}));
    EXPECT_EQ(g.Color(), clRed);
    EXPECT_EQ(g.Orientation(), 900);
    QFont q = g.ToQFont();
    EXPECT_TRUE(q.bold());
    EXPECT_TRUE(q.underline());
    EXPECT_FALSE(q.italic());

    TPen pen;
    EXPECT_THROW(f.Assign(&pen), EConvertError);
}

TEST(Fonts, SystemFamiliesMapToInstalledOnes) {
    struct Case {
        const char* Name;
        const char* Family;
    } cases[] = {
        {"Tahoma", "DejaVu Sans"},
        {"Verdana", "DejaVu Sans"},
        {"Segoe UI", "DejaVu Sans"},
        {"MS Sans Serif", "DejaVu Sans"},
        {"Arial", "Liberation Sans"},
        {"courier new", "Liberation Mono"},
        {"Times New Roman", "Liberation Serif"},
        {"Comic Sans MS", "DejaVu Sans"},
        {"Century", "DejaVu Serif"},
        {"Century Gothic", "DejaVu Sans"},
        {"Symbol", "DejaVu Sans"},
        {"Wingdings", "DejaVu Sans"},
        {"DejaVu Serif", "DejaVu Serif"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(MapFontFamily(c.Name), c.Family) << c.Name;
        TFont f;
        f.SetName(c.Name);
        EXPECT_EQ(f.ToQFont().family(), c.Family) << c.Name;
    }
}

TEST(PensAndBrushes, ChangesNotifyAndAssignCopies) {
    TPen p;
    int changes = 0;
    p.OnChange = [&](TObject*) { ++changes; };
    p.SetColor(clRed);
    p.SetWidth(3);
    p.SetStyle(psDot);
    p.SetMode(pmXor);
    p.SetMode(pmXor);
    EXPECT_EQ(changes, 4);
    TPen q;
    q.Assign(&p);
    EXPECT_EQ(q.Color(), clRed);
    EXPECT_EQ(q.Width(), 3);
    EXPECT_EQ(q.Style(), psDot);
    EXPECT_EQ(q.Mode(), pmXor);

    TBrush b;
    changes = 0;
    b.OnChange = [&](TObject*) { ++changes; };
    b.SetStyle(bsClear);
    // Giving a clear brush a colour makes it solid again.
    b.SetColor(clBlue);
    EXPECT_EQ(b.Style(), bsSolid);
    EXPECT_EQ(changes, 2);

    TBitmap pattern(2, 2);
    b.SetBitmap(&pattern);
    ASSERT_NE(b.Bitmap(), nullptr);
    EXPECT_NE(b.Bitmap(), &pattern); // a copy
    TBrush c;
    c.Assign(&b);
    EXPECT_EQ(c.Color(), clBlue);
    ASSERT_NE(c.Bitmap(), nullptr);
    EXPECT_EQ(c.Bitmap()->Width(), 2);
    b.SetBitmap(nullptr);
    EXPECT_EQ(b.Bitmap(), nullptr);
}

TEST(BitmapResources, LoadsByNameIgnoringCaseAndReportsMissingNames) {
    // VTESTPIC is a 4 x 2 bitmap: red, green, blue, white over magenta, black, grey, yellow.
    QImage img = LoadResourceImage("VTESTPIC");
    ASSERT_EQ(img.size(), QSize(4, 2));
    EXPECT_EQ(QColor(img.pixel(0, 0)), QColor(255, 0, 0));
    EXPECT_EQ(QColor(img.pixel(2, 0)), QColor(0, 0, 255));
    EXPECT_EQ(QColor(img.pixel(0, 1)), QColor(255, 0, 255));
    EXPECT_EQ(QColor(img.pixel(3, 1)), QColor(255, 255, 0));
    EXPECT_TRUE(ResourceImageExists("vtestpic"));
    EXPECT_TRUE(ResourceImageNames().contains("VTESTPIC"));

    TBitmap b;
    b.LoadFromResourceName(0, "vTestPic");
    EXPECT_EQ(b.Width(), 4);
    EXPECT_EQ(b.Canvas()->Pixels(1, 0), clLime);
    EXPECT_EQ(b.Canvas()->Pixels(2, 1), TColor(0x808080));

    EXPECT_FALSE(ResourceImageExists("NO_SUCH_PICTURE"));
    try {
        LoadResourceImage("NO_SUCH_PICTURE");
        FAIL() << "no error raised";
    } catch (const EResNotFound& e) {
        EXPECT_EQ(e.Message(), "Resource NO_SUCH_PICTURE not found");
    }
    // A failed load leaves the bitmap as it was.
    EXPECT_THROW(b.LoadFromResourceName(0, "NO_SUCH_PICTURE"), EResNotFound);
    EXPECT_EQ(b.Width(), 4);
}

TEST(BitmapResources, EachPictureIsDecodedOnceWhileThePreloaderRuns) {
    // The preloader and four threads asking for every picture at once: each name gives one
    // decoded image (the same data everywhere), none is missing, none is decoded twice.
    const QStringList names = ResourceImageNames();
    ASSERT_GT(names.size(), 10);
    StartResourceImagePreload();
    std::vector<std::vector<qint64>> keys(4, std::vector<qint64>(size_t(names.size())));
    std::vector<std::thread> askers;
    for (size_t t = 0; t < keys.size(); ++t)
        askers.emplace_back([&, t] {
            // Each asker goes through the names from another place, so that they meet.
            for (qsizetype i = 0; i < names.size(); ++i) {
                const qsizetype n = (i + qsizetype(t) * names.size() / 4) % names.size();
                keys[t][size_t(n)] = LoadResourceImage(names[n].toLower()).cacheKey();
            }
        });
    for (std::thread& a : askers) a.join();
    StopResourceImagePreload();
    for (qsizetype n = 0; n < names.size(); ++n) {
        const qint64 key = LoadResourceImage(names[n]).cacheKey();
        for (const auto& k : keys) EXPECT_EQ(k[size_t(n)], key) << names[n].toStdString();
    }
    // Stopped, the preloader does not start again; loading and its errors work as before.
    StartResourceImagePreload();
    EXPECT_EQ(LoadResourceImage("VTESTPIC").size(), QSize(4, 2));
    EXPECT_THROW(LoadResourceImage("NO_SUCH_PICTURE"), EResNotFound);
}
