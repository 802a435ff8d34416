#pragma once
// The smart fill that may follow a paste into a selection: how two pasted values continue over
// a one-row or one-column selection, how a pasted block repeats, and when a paste already filled
// the selection. The grid's paste walks the selection and writes what these helpers compute.

#include "SysUtils.h"

#include <vector>

enum class TSmartFillKind { sfDate, sfTime, sfFloat, sfInteger, sfRepeat };

// The kind of series that First and Second start: dates or times when both hold a date (the
// date separator at position 2 or later and once more after it) or the time separator, dates
// when First holds the date separator; floating point when either holds the decimal separator;
// integers when both convert as integers; else the pasted block is repeated.
TSmartFillKind SmartFillKind(const String& First, const String& Second);

// The texts of the series that First and Second start, one for each cell visited, First's value
// first. Ends early, without a message, at a value that does not convert or format, or that
// would leave the range of its kind (integers, date-times, finite floats); empty for sfRepeat.
std::vector<String> SmartFillSeries(const String& First, const String& Second, int Count,
                                    const String& FloatFormat);

// A paste of Pasted fields (the empty remainder after a final line break included) into a
// selection of Selected cells that already covers it exactly: nothing more to fill.
bool SmartFillComplete(int Pasted, int Selected);

// Repeats the pasted block down a column or along a row: Cells holds the selection's texts in
// order, the first Pasted - 1 of them pasted; each later cell takes the text Pasted - 1 before it.
void SmartFillRepeat(std::vector<String>& Cells, int Pasted);
