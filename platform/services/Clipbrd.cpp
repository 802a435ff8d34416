#include "Clipbrd.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

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
