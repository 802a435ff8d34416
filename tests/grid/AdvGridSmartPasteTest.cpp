// The smart fill's series, repetition and completion rules, under fixed conversions.
#include "AdvGridSmartPaste.h"
#include "SysUtils.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// "." decimals, day/month/year dates, ":" times.
class SmartFill : public ::testing::Test {
protected:
    void SetUp() override {
        Saved = FormatSettings;
        FormatSettings.DecimalSeparator = u'.';
        FormatSettings.ThousandSeparator = u',';
        FormatSettings.DateSeparator = u'/';
        FormatSettings.TimeSeparator = u':';
        FormatSettings.ShortDateFormat = "dd/mm/yyyy";
        FormatSettings.ShortTimeFormat = "hh:nn";
        FormatSettings.LongTimeFormat = "hh:nn:ss";
    }
    void TearDown() override { FormatSettings = Saved; }
    TFormatSettings Saved;
};

struct SeriesCase {
    const char* Name;
    String First, Second;
    int Count;
    String FloatFormat;
    TSmartFillKind Kind;
    std::vector<String> Expected;
};

TEST_F(SmartFill, SeriesOfTwoPastedValues) {
    const std::vector<SeriesCase> cases = {
        {"integers count up", "1", "2", 5, "%.2f", TSmartFillKind::sfInteger, {"1", "2", "3", "4", "5"}},
        {"integers count down past zero",
         "4",
         "1",
         4,
         "%.2f",
         TSmartFillKind::sfInteger,
         {"4", "1", "-2", "-5"}},
        {"equal integers repeat", "7", "7", 3, "%.2f", TSmartFillKind::sfInteger, {"7", "7", "7"}},
        {"floats in the grid's format",
         "1.5",
         "2.0",
         4,
         "%.2f",
         TSmartFillKind::sfFloat,
         {"1.50", "2.00", "2.50", "3.00"}},
        {"one decimal makes a float series",
         "1",
         "1.25",
         3,
         "%.3f",
         TSmartFillKind::sfFloat,
         {"1.000", "1.250", "1.500"}},
        {"days",
         "30/01/2024",
         "31/01/2024",
         3,
         "%.2f",
         TSmartFillKind::sfDate,
         {"30/01/2024", "31/01/2024", "01/02/2024"}},
        {"months keep the day",
         "15/11/2023",
         "15/12/2023",
         4,
         "%.2f",
         TSmartFillKind::sfDate,
         {"15/11/2023", "15/12/2023", "15/01/2024", "15/02/2024"}},
        {"years",
         "29/02/2020",
         "28/02/2021",
         3,
         "%.2f",
         TSmartFillKind::sfDate,
         {"29/02/2020", "28/02/2021", "28/02/2022"}},
        {"times", "10:00", "10:30", 3, "%.2f", TSmartFillKind::sfTime, {"10:00:00", "10:30:00", "11:00:00"}},
        {"text repeats the block", "a", "b", 4, "%.2f", TSmartFillKind::sfRepeat, {}},
        {"an integer and text repeat", "1", "x", 4, "%.2f", TSmartFillKind::sfRepeat, {}},
        // Faults a series must not run into: each ends quietly, keeping what it wrote.
        {"integers stop at the largest int",
         "2147483646",
         "2147483647",
         5,
         "%.2f",
         TSmartFillKind::sfInteger,
         {"2147483646", "2147483647"}},
        {"integers stop at the smallest int",
         "-2147483647",
         "-2147483648",
         5,
         "%.2f",
         TSmartFillKind::sfInteger,
         {"-2147483647", "-2147483648"}},
        {"a huge step stops at once",
         "-2147483648",
         "2147483647",
         3,
         "%.2f",
         TSmartFillKind::sfInteger,
         {"-2147483648", "2147483647"}},
        {"days stop at the calendar's end",
         "30/12/9999",
         "31/12/9999",
         4,
         "%.2f",
         TSmartFillKind::sfDate,
         {"30/12/9999", "31/12/9999"}},
        {"years stop at the calendar's end",
         "01/06/9998",
         "01/06/9999",
         4,
         "%.2f",
         TSmartFillKind::sfDate,
         {"01/06/9998", "01/06/9999"}},
        {"a month without the day ends the series",
         "31/05/2024",
         "31/07/2024",
         4,
         "%.2f",
         TSmartFillKind::sfDate,
         {"31/05/2024", "31/07/2024"}},
        {"a date that is none writes nothing",
         "45/13/2024",
         "46/13/2024",
         3,
         "%.2f",
         TSmartFillKind::sfDate,
         {}},
        {"a float that is none writes nothing", "1.5", "abc", 3, "%.2f", TSmartFillKind::sfFloat, {}},
        {"a format that fits no number writes nothing", "1.5", "2.5", 3, "%d", TSmartFillKind::sfFloat, {}},
        {"floats stop before infinity", "0.0", "1e308", 4, "%g", TSmartFillKind::sfFloat, {"0", "1E308"}},
    };
    for (const SeriesCase& c : cases) {
        SCOPED_TRACE(c.Name);
        EXPECT_EQ(SmartFillKind(c.First, c.Second), c.Kind);
        EXPECT_EQ(SmartFillSeries(c.First, c.Second, c.Count, c.FloatFormat), c.Expected);
    }
}

TEST_F(SmartFill, PastedBlockRepeatsDownTheSelection) {
    struct Case {
        const char* Name;
        std::vector<String> Cells;
        int Pasted;
        std::vector<String> Expected;
    };
    const std::vector<Case> cases = {
        {"two pasted rows", {"a", "b", "", "", ""}, 3, {"a", "b", "a", "b", "a"}},
        {"three pasted rows into four", {"a", "b", "c", "x"}, 4, {"a", "b", "c", "a"}},
        {"block as long as the selection", {"a", "b"}, 3, {"a", "b"}},
        {"a single value is no block", {"a", "x"}, 1, {"a", "x"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        std::vector<String> cells = c.Cells;
        SmartFillRepeat(cells, c.Pasted);
        EXPECT_EQ(cells, c.Expected);
    }
}

TEST_F(SmartFill, PasteThatCoversTheSelectionIsComplete) {
    // A copied 2 x 2 block pastes five fields (the empty rest after the last line break).
    EXPECT_TRUE(SmartFillComplete(5, 4));
    EXPECT_FALSE(SmartFillComplete(5, 6));
    EXPECT_FALSE(SmartFillComplete(1, 9));
    EXPECT_FALSE(SmartFillComplete(4, 4));
}

} // namespace
