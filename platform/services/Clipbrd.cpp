#include "Clipbrd.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

#include <map>
#include <mutex>

namespace {
QClipboard* SystemClipboard() {
    return QGuiApplication::instance() ? QGuiApplication::clipboard() : nullptr;
}
} // namespace

bool TClipboard::HasFormat(Word Format) const {
    QClipboard* c = SystemClipboard();
    if (!c || (Format != CF_TEXT && Format != CF_UNICODETEXT)) return false;
    const QMimeData* data = c->mimeData();
    return data && data->hasText();
}

String TClipboard::AsText() const {
    QClipboard* c = SystemClipboard();
    return c ? c->text() : String();
}

TClipboard* Clipboard() {
    static TClipboard clipboard;
    return &clipboard;
}

namespace {
std::mutex GFormatMutex;
std::map<String, Cardinal>& RegisteredFormats() {
    static std::map<String, Cardinal> formats;
    return formats;
}
std::map<Cardinal, String>& FormatNames() {
    static std::map<Cardinal, String> names;
    return names;
}
} // namespace

Cardinal RegisterClipboardFormat(const String& Name) {
    if (Name.isEmpty()) return 0;
    std::lock_guard<std::mutex> lock(GFormatMutex);
    const String key = Name.toUpper();
    auto it = RegisteredFormats().find(key);
    if (it != RegisteredFormats().end()) return it->second;
    const Cardinal number = 0xC000 + Cardinal(RegisteredFormats().size());
    if (number > 0xFFFF) return 0;
    RegisteredFormats()[key] = number;
    FormatNames()[number] = Name;
    return number;
}

String GetClipboardFormatName(Cardinal Format) {
    std::lock_guard<std::mutex> lock(GFormatMutex);
    auto it = FormatNames().find(Format);
    return it == FormatNames().end() ? String() : it->second;
}
