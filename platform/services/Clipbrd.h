// The system clipboard as the class library shows it: one object, Clipboard(), over Qt's
// clipboard. Text is Qt's text; each registered format travels under a MIME type of its own
// ("Rich Text Format" as text/rtf, "HTML Format" as text/html with the header-wrapped block kept
// under a private type, any other name as application/x-velmora-<name in lower case>). A data block (the
// platform's global memory block) is a byte array.
#pragma once

#include "System.h"
#include "Types.h"

#include <QByteArray>

#include <memory>

class QMimeData;

// Clipboard formats.
constexpr Word CF_TEXT = 1;
constexpr Word CF_UNICODETEXT = 13;

class TClipboard : public TPersistent {
public:
    TClipboard();
    ~TClipboard() override;

    // A bracket around several writes: everything written between the first Open and its
    // matching Close is gathered and published at that Close as one content, so a reader never
    // sees part of it. Brackets nest; a Close without an Open does nothing.
    void Open();
    void Close();
    bool IsOpen() const { return FOpenCount > 0; }
    // Empties the clipboard (within a bracket: the content being gathered).
    void Clear();

    // Whether the clipboard holds data of Format (CF_TEXT and CF_UNICODETEXT: any text).
    bool HasFormat(Word Format) const;
    // The clipboard's text (empty when it holds none).
    String AsText() const;
    // Starts new content holding Value as its text.
    void SetAsText(const String& Value);
    // The block of a registered format (empty when the clipboard holds none).
    QByteArray GetAsHandle(Word Format) const;
    // Adds the block of a registered format to the content (the content stays otherwise as it
    // is); false for a format without a MIME type (text formats, unregistered numbers).
    bool SetAsHandle(Word Format, const QByteArray& Data);

private:
    // The content being written: made at the first write within a bracket.
    QMimeData* Pending();
    const QMimeData* Current() const;
    void Publish();

    int FOpenCount = 0;
    std::unique_ptr<QMimeData> FPending;
};

// The application's clipboard object (made on first use).
TClipboard* Clipboard();

// A private clipboard format by name: one process-wide number per name (names compare without
// case), from $C000 on as on the platform; 0 for an empty name.
Cardinal RegisterClipboardFormat(const String& Name);
// The name a registered format was given (empty for others).
String GetClipboardFormatName(Cardinal Format);
// The MIME type a format travels under (empty for unregistered numbers; text/plain for text).
String ClipboardFormatMimeType(Cardinal Format);
