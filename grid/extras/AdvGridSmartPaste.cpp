// The smart fill's arithmetic: the kind and the values of a series started by two pasted cells,
// the repetition of a pasted block, and the test for a paste that already filled its selection.
// Series end quietly at the first value that cannot be converted or would leave its range, so a
// fill never wraps an integer or writes a date beyond the calendar.
#include "AdvGridSmartPaste.h"

#include "GridUtil.h"

#include <cmath>
#include <limits>

namespace {

bool HoldsTime(const String& Text) {
    return Text.contains(FormatSettings.TimeSeparator);
}

bool HoldsDateOrTime(const String& Text) {
    return IsDateText(Text) || HoldsTime(Text);
}

// 0001-01-01 00:00 to 9999-12-31 23:59:59.999, the date-times the calendar can show.
constexpr double MinDateTimeValue = -693593.0;
constexpr double MaxDateTimeValue = 2958465.99999999;

std::vector<String> DateSeries(const String& First, const String& Second, int Count) {
    std::vector<String> out;
    try {
        const TDateTime v = StrToDateTime(First);
        const TDateTime w = StrToDateTime(Second);
        Word y1, m1, d1, y2, m2, d2;
        DecodeDate(v, y1, m1, d1);
        DecodeDate(w, y2, m2, d2);
        const int years = int(y2) - int(y1);
        const int months = int(m2) - int(m1);
        const int days = int(d2) - int(d1);
        const double step = double(w) - double(v);
        const bool asDate = First.contains(FormatSettings.DateSeparator);
        TDateTime current = v;
        for (int i = 0; i < Count; ++i) {
            if (!std::isfinite(double(current)) || double(current) < MinDateTimeValue ||
                double(current) > MaxDateTimeValue)
                break;
            out.push_back(asDate ? DateToStr(current) : TimeToStr(current));
            if (i + 1 < Count) current = IncDateParts(years, months, days, step, current);
        }
    } catch (const EConvertError&) {
        // A value that is no date, or a step the calendar lacks: the series ends here.
    }
    return out;
}

std::vector<String> FloatSeries(const String& First, const String& Second, int Count,
                                const String& FloatFormat) {
    std::vector<String> out;
    try {
        const double v = StrToFloat(First);
        const double step = StrToFloat(Second) - v;
        double current = v;
        for (int i = 0; i < Count && std::isfinite(current); ++i) {
            out.push_back(Format(FloatFormat, current));
            current += step;
        }
    } catch (const EConvertError&) {
        // A value that is no number, or a format that does not fit one: the series ends here.
    }
    return out;
}

std::vector<String> IntegerSeries(int First, int Second, int Count) {
    std::vector<String> out;
    const Int64 step = Int64(Second) - Int64(First);
    Int64 current = First;
    for (int i = 0; i < Count; ++i) {
        if (current < std::numeric_limits<int>::min() || current > std::numeric_limits<int>::max()) break;
        out.push_back(String::number(current));
        current += step;
    }
    return out;
}

} // namespace

TSmartFillKind SmartFillKind(const String& First, const String& Second) {
    if (HoldsDateOrTime(First) && HoldsDateOrTime(Second))
        return First.contains(FormatSettings.DateSeparator) ? TSmartFillKind::sfDate : TSmartFillKind::sfTime;
    const Char dec = FormatSettings.DecimalSeparator;
    if (First.contains(dec) || Second.contains(dec)) return TSmartFillKind::sfFloat;
    int v = 0, w = 0;
    if (TryStrToInt(First, v) && TryStrToInt(Second, w)) return TSmartFillKind::sfInteger;
    return TSmartFillKind::sfRepeat;
}

std::vector<String> SmartFillSeries(const String& First, const String& Second, int Count,
                                    const String& FloatFormat) {
    if (Count <= 0) return {};
    switch (SmartFillKind(First, Second)) {
        case TSmartFillKind::sfDate:
        case TSmartFillKind::sfTime: return DateSeries(First, Second, Count);
        case TSmartFillKind::sfFloat: return FloatSeries(First, Second, Count, FloatFormat);
        case TSmartFillKind::sfInteger: {
            int v = 0, w = 0;
            TryStrToInt(First, v);
            TryStrToInt(Second, w);
            return IntegerSeries(v, w, Count);
        }
        case TSmartFillKind::sfRepeat: break;
    }
    return {};
}

bool SmartFillComplete(int Pasted, int Selected) {
    return Pasted == Selected + 1;
}

void SmartFillRepeat(std::vector<String>& Cells, int Pasted) {
    const int period = Pasted - 1;
    if (period <= 0) return;
    for (size_t i = size_t(period); i < Cells.size(); ++i) Cells[i] = Cells[i - size_t(period)];
}
