// Rich text as RTF: the reader and writer behind the rich-text edit's streams (RichEdit.h).
//
// The reader takes what a rich-text edit writes and what other programs commonly put into RTF
// text: the font and colour tables, the character formats (font, size, bold, italic, underline,
// strike-out, text and background colour, raised and lowered text), paragraphs with their
// alignment, line breaks, tabs, the special characters, 8-bit characters of the Western code
// page (\'hh) and Unicode characters (\uN with their fallbacks). Everything else (pictures,
// objects, style sheets, document information, fields' instructions, any "\*" destination) is
// skipped. Damaged text is read as far as it goes: unbalanced braces end the text, unknown
// control words are ignored; nothing raises.
//
// The writer writes one font table and one colour table and, for every run of equal format,
// its whole format, so that each run stands alone; the result reads back to the same text and
// format.
#pragma once

#include <QByteArray>
#include <QTextFormat>

class QFont;
class QTextDocument;

// The char-format property that holds a run's raise (positive) or lowering (negative) in twips,
// as the rich-text edit's character format reports it; the run is shown as superscript or
// subscript while it is not 0.
constexpr int RtfOffsetProperty = QTextFormat::UserProperty + 1;

// Whether Data is RTF text (it starts, after white space, with "{\rtf").
bool IsRtfText(const QByteArray& Data);

// Replaces the content of Doc with the RTF text Data; runs without a font or size of their own
// take DefaultFont. Answers false and leaves Doc as it was when Data is no RTF text.
bool ReadRtf(const QByteArray& Data, QTextDocument& Doc, const QFont& DefaultFont);

// The content of Doc as RTF text (7-bit ASCII).
QByteArray WriteRtf(const QTextDocument& Doc);
