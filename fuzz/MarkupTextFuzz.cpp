// libFuzzer target: the markup text routines on any text.
#include "MarkupText.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
    // The first byte picks the routine's extra arguments, the rest is the markup (UTF-8).
    if (Size < 1) return 0;
    const uint8_t mode = Data[0];
    const String s = QString::fromUtf8(reinterpret_cast<const char*>(Data + 1), int(Size - 1));
    const String probe = s.left((mode & 7) + 1);
    const String id = QStringLiteral("e1");

    DecodeHTMLEntities(s, mode & 1);
    EncodeHTMLEntities(s, mode & 2);
    SpacesToNbsp(s);
    HasHTMLControl(s);
    HTMLToText(s);
    NextHTMLEditControl(s, (mode & 8) ? id : String());
    ClearHTMLRadioControls(s);
    String v;
    GetHTMLControlValue(s, id, v);
    GetHTMLControlProp(s, id);
    GetHTMLControlMaxLen(s, id);
    String m = s;
    SetHTMLControlValue(m, id, probe);
    const String h = HighlightInHTML(s, probe, QStringLiteral("hi"), mode & 16);
    UnhighlightInHTML(h, QStringLiteral("hi"));
    ParseHTMLControlTag(s);
    MarkupLeadingInt(s);
    return 0;
}
