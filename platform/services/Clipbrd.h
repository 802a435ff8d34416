// The system clipboard as the class library shows it: one object, Clipboard(), over Qt's
// clipboard. For now it answers whether text is there and what it is.
#pragma once

#include "System.h"
#include "Types.h"

// Clipboard formats.
constexpr Word CF_TEXT = 1;
constexpr Word CF_UNICODETEXT = 13;

class TClipboard : public TPersistent {
public:
    // Whether the clipboard holds data of Format (CF_TEXT and CF_UNICODETEXT: any text).
    bool HasFormat(Word Format) const;
    // The clipboard's text (empty when it holds none).
    String AsText() const;
};

// The application's clipboard object (made on first use).
TClipboard* Clipboard();

// A private clipboard format by name: one process-wide number per name (names compare without
// case), from $C000 on as on the platform; 0 for an empty name.
Cardinal RegisterClipboardFormat(const String& Name);
// The name a registered format was given (empty for others).
String GetClipboardFormatName(Cardinal Format);
