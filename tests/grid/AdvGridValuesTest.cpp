// Typed cell values: integers and floats under two locales, float formats that do not fit their
// number, the real-row forms, control values in markup and the display text with links.
#include "AdvGrid.h"

#include "SysUtils.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <optional>

namespace {

TAdvStringGrid* MakeGrid() {
    auto* g = new TAdvStringGrid(nullptr);
    g->SetColCount(5);
    g->SetRowCount(6);
    return g;
}

// A column grid's own float format for column 2.
class TColumnFormatGrid : public TAdvStringGrid {
public:
    TColumnFormatGrid() : TAdvStringGrid(nullptr) {
        SetColCount(5);
        SetRowCount(6);
    }
    void GetColumnFloatFormat(int ACol, String& Format) override {
        TAdvStringGrid::GetColumnFloatFormat(ACol, Format);
        if (ACol == 2) Format = ColumnFormat;
    }
    String ColumnFormat = "%.4f";
};

// Runs the test body with the given separators, restoring the platform's afterwards.
auto WithSeparators(Char Decimal, Char Thousand) {
    const Char oldDecimal = FormatSettings.DecimalSeparator;
    const Char oldThousand = FormatSettings.ThousandSeparator;
    FormatSettings.DecimalSeparator = Decimal;
    FormatSettings.ThousandSeparator = Thousand;
    return ScopeGuard([=] {
        FormatSettings.DecimalSeparator = oldDecimal;
        FormatSettings.ThousandSeparator = oldThousand;
    });
}

} // namespace

TEST(AdvGridValuesTest, IntsAndFloatsUnderTwoLocales) {
    struct Case {
        const char* text;
        std::optional<int> integer; // nullopt: raises
        std::optional<double> pointLocale;
        std::optional<double> commaLocale;
    };
    const Case cases[] = {
        {"", 0, 0.0, 0.0},
        {"-", 0, 0.0, 0.0},
        {" 12 ", 12, 12.0, 12.0},
        {"<b>7</b>", 7, 7.0, 7.0},
        {"$1F", 31, 1.0, 1.0}, // a float drops the leading sign of money
        {"12a", std::nullopt, 12.0, 12.0},
        {"abc", std::nullopt, std::nullopt, std::nullopt},
        {"1,234.50", std::nullopt, 1234.5, 1.2345},
        {"1.234,50", std::nullopt, 1.2345, 1234.5},
        {"-3", -3, -3.0, -3.0},
    };
    for (int locale = 0; locale < 2; ++locale) {
        auto restore = locale == 0 ? WithSeparators(u'.', u',') : WithSeparators(u',', u'.');
        TAdvStringGrid* g = MakeGrid();
        auto freeGrid = FreeAtEnd(g);
        for (const Case& c : cases) {
            SCOPED_TRACE(testing::Message() << "locale " << locale << " text '" << c.text << "'");
            g->SetCells(1, 1, String::fromUtf8(c.text));
            if (c.integer) {
                EXPECT_EQ(g->GetInts(1, 1), *c.integer);
            } else {
                try {
                    g->GetInts(1, 1);
                    ADD_FAILURE() << "no exception";
                } catch (const EAdvGridError& e) {
                    EXPECT_EQ(e.Message(), String("Cell does not contain integer value"));
                }
            }
            const std::optional<double> f = locale == 0 ? c.pointLocale : c.commaLocale;
            if (f) {
                EXPECT_DOUBLE_EQ(g->GetFloats(1, 1), *f);
            } else {
                try {
                    g->GetFloats(1, 1);
                    ADD_FAILURE() << "no exception";
                } catch (const EAdvGridError& e) {
                    EXPECT_EQ(e.Message(), String("Cell does not contain a float value"));
                }
            }
            // Reading changes nothing.
            EXPECT_EQ(g->Cells(1, 1), String::fromUtf8(c.text));
        }
    }
}

TEST(AdvGridValuesTest, FloatFormatsThatDoNotFitShowThePlainNumber) {
    auto restore = WithSeparators(u'.', u',');
    TColumnFormatGrid* g = new TColumnFormatGrid();
    auto freeGrid = FreeAtEnd(g);
    g->SetFloats(1, 1, 3.14159);
    EXPECT_EQ(g->Cells(1, 1), String("3.14"));
    g->SetFloats(2, 1, 3.14159); // the column's own format
    EXPECT_EQ(g->Cells(2, 1), String("3.1416"));
    g->SetAllFloats(2, 2, 3.14159); // the grid's format
    EXPECT_EQ(g->Cells(2, 2), String("3.14"));
    struct Case {
        const char* format;
        const char* want;
    };
    const Case cases[] = {
        {"%d", "3.14159"}, {"%s", "3.14159"},     {"%.2f %.2f", "3.14159"},
        {"%", "3.14159"},  {"%.1f kV", "3.1 kV"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.format);
        g->ColumnFormat = c.format;
        g->SetFloats(2, 3, 3.14159);
        EXPECT_EQ(g->Cells(2, 3), String(c.want));
        g->FloatFormat = c.format;
        g->SetAllFloats(3, 3, 3.14159);
        EXPECT_EQ(g->Cells(3, 3), String(c.want));
        g->FloatFormat = "%.2f";
    }
}

TEST(AdvGridValuesTest, RealRowFormsReadHiddenRows) {
    TAdvStringGrid* g = MakeGrid();
    auto freeGrid = FreeAtEnd(g);
    g->SetInts(1, 3, 42);
    g->SetCells(2, 3, "2.5");
    g->HideRow(3);
    EXPECT_EQ(g->GetAllInts(1, 3), 42);
    EXPECT_DOUBLE_EQ(g->GetAllFloats(2, 3), 2.5);
    g->SetAllInts(1, 3, 7);
    EXPECT_EQ(g->AllCells(1, 3), String("7"));
    g->SetAllInts(1, 4, 9); // shown at display row 3
    EXPECT_EQ(g->GetInts(1, 3), 9);
}

TEST(AdvGridValuesTest, ControlValuesInMarkup) {
    TAdvStringGrid* g = MakeGrid();
    auto freeGrid = FreeAtEnd(g);
    g->SetCells(1, 1, "<CONTROL TYPE=\"EDIT\" ID=\"e1\" VALUE=\"abc\" WIDTH=\"40\">");
    EXPECT_EQ(g->GetCtrlVal(1, 1, "e1"), String("abc"));
    EXPECT_EQ(g->GetCtrlVal(1, 1, "e2"), String());
    g->SetCtrlVal(1, 1, "e1", "xyz");
    EXPECT_EQ(g->GetCtrlVal(1, 1, "e1"), String("xyz"));
    const String before = g->Cells(1, 1);
    g->SetCtrlVal(1, 1, "e2", "no");
    EXPECT_EQ(g->Cells(1, 1), before);
}

TEST(AdvGridValuesTest, LinksInTextBecomeAnchors) {
    TAdvStringGrid* g = MakeGrid();
    auto freeGrid = FreeAtEnd(g);
    g->SetCells(1, 1, "see www.example.com now");
    g->SetCells(1, 2, "https://a.org or www.b.org");
    EXPECT_EQ(g->GetCellEx(1, 1), String("see www.example.com now"));
    g->SetURLShowInText(true);
    const String one = g->GetCellEx(1, 1);
    EXPECT_TRUE(one.startsWith("see <a href=")) << one.toStdString();
    EXPECT_TRUE(one.contains(">www.example.com</a>")) << one.toStdString();
    EXPECT_TRUE(one.endsWith(" now")) << one.toStdString();
    // "WWW." is tried before "HTTPS://".
    const String two = g->GetCellEx(1, 2);
    EXPECT_TRUE(two.startsWith("https://a.org or <a href=")) << two.toStdString();
    // Stored texts stay as they are.
    EXPECT_EQ(g->Cells(1, 1), String("see www.example.com now"));
}
