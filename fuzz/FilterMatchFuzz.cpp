// libFuzzer target: filter conditions and patterns on any condition and value.
//
// Besides running without a fault, a pattern must keep two of its rules on every input: a "!"
// written first negates the whole answer, and double quotes are not looked at.
#include "GridUtil.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
    // The input is the condition, a zero byte, then the value (both UTF-8).
    const char* text = reinterpret_cast<const char*>(Data);
    size_t split = 0;
    while (split < Size && Data[split] != 0) ++split;
    const String condition = QString::fromUtf8(text, qsizetype(split));
    const String value =
        split < Size ? QString::fromUtf8(text + split + 1, qsizetype(Size - split - 1)) : String();

    MatchFilterCondition(condition, value, false);
    MatchFilterCondition(condition, value, true);

    const bool match = MatchFilterTerm(condition, value);
    if (condition.contains(u'<') || condition.contains(u'>')) return 0; // a comparison, not a pattern
    if (MatchFilterTerm(u'!' + condition, value) == match) std::abort();
    String quoted;
    for (const QChar c : condition) quoted += QStringLiteral("\"") + c;
    if (MatchFilterTerm(quoted + u'"', value) != match) std::abort();
    return 0;
}
