#include "Clipbrd.h"

#include "SysUtils.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <QUrl>

#include <map>
#include <mutex>

namespace {

QClipboard* SystemClipboard() {
    return QGuiApplication::instance() ? QGuiApplication::clipboard() : nullptr;
}

const String TextMime = QStringLiteral("text/plain");
const String RtfMime = QStringLiteral("text/rtf");
const String HtmlMime = QStringLiteral("text/html");

bool IsTextFormat(Cardinal Format) {
    return Format == CF_TEXT || Format == CF_UNICODETEXT;
}

bool IsHtmlFormatName(const String& Name) {
    return Name.compare(QStringLiteral("HTML Format"), Qt::CaseInsensitive) == 0;
}

// A byte offset of the header of an "HTML Format" block ("Key:00000123"); -1 when missing.
qsizetype HtmlHeaderOffset(const QByteArray& Block, const QByteArray& Key) {
    const qsizetype at = Block.indexOf(Key);
    if (at < 0) return -1;
    qsizetype p = at + Key.size();
    qsizetype value = 0;
    int digits = 0;
    while (p < Block.size() && Block[p] >= '0' && Block[p] <= '9' && digits < 10) {
        value = value * 10 + (Block[p] - '0');
        ++p;
        ++digits;
    }
    return digits > 0 ? value : -1;
}

// The HTML document inside an "HTML Format" block (the whole block when its header is unusable).
QByteArray HtmlOfBlock(const QByteArray& Block) {
    const qsizetype start = HtmlHeaderOffset(Block, "StartHTML:");
    const qsizetype end = HtmlHeaderOffset(Block, "EndHTML:");
    if (start < 0 || end < start || end > Block.size()) return Block;
    return Block.mid(start, end - start);
}

void CopyFormats(const QMimeData* From, QMimeData* To) {
    if (!From) return;
    for (const String& f : From->formats()) To->setData(f, From->data(f));
}

} // namespace

TClipboard::TClipboard() = default;
TClipboard::~TClipboard() = default;

void TClipboard::Open() {
    ++FOpenCount;
}

void TClipboard::Close() {
    if (FOpenCount == 0) return;
    if (--FOpenCount == 0) Publish();
}

QMimeData* TClipboard::Pending() {
    if (!FPending) {
        FPending = std::make_unique<QMimeData>();
        // Within a bracket a new format joins what the clipboard already holds.
        QClipboard* c = SystemClipboard();
        if (c) CopyFormats(c->mimeData(), FPending.get());
    }
    return FPending.get();
}

const QMimeData* TClipboard::Current() const {
    if (FPending) return FPending.get();
    QClipboard* c = SystemClipboard();
    return c ? c->mimeData() : nullptr;
}

void TClipboard::Publish() {
    if (!FPending) return;
    QClipboard* c = SystemClipboard();
    if (c)
        c->setMimeData(FPending.release()); // the clipboard takes the data over
    else
        FPending.reset();
}

void TClipboard::Clear() {
    Open();
    FPending = std::make_unique<QMimeData>();
    Close();
}

bool TClipboard::HasFormat(Word Format) const {
    const QMimeData* data = Current();
    if (!data) return false;
    if (IsTextFormat(Format)) return data->hasText();
    const String mime = ClipboardFormatMimeType(Format);
    if (mime.isEmpty()) return false;
    if (IsHtmlFormatName(GetClipboardFormatName(Format))) return data->hasFormat(mime) || data->hasHtml();
    return data->hasFormat(mime);
}

String TClipboard::AsText() const {
    const QMimeData* data = Current();
    return data ? data->text() : String();
}

void TClipboard::SetAsText(const String& Value) {
    Open();
    FPending = std::make_unique<QMimeData>();
    FPending->setText(Value);
    Close();
}

QByteArray TClipboard::GetAsHandle(Word Format) const {
    const QMimeData* data = Current();
    const String mime = ClipboardFormatMimeType(Format);
    if (!data || mime.isEmpty() || IsTextFormat(Format)) return QByteArray();
    if (data->hasFormat(mime)) return data->data(mime);
    // Another program's HTML: the document itself, in the code page the block is read in.
    if (IsHtmlFormatName(GetClipboardFormatName(Format)) && data->hasHtml()) return ToWin1252(data->html());
    return QByteArray();
}

bool TClipboard::SetAsHandle(Word Format, const QByteArray& Data) {
    const String mime = ClipboardFormatMimeType(Format);
    if (mime.isEmpty() || IsTextFormat(Format)) return false;
    Open();
    QMimeData* data = Pending();
    data->setData(mime, Data);
    // Other programs read the HTML document itself.
    if (IsHtmlFormatName(GetClipboardFormatName(Format))) data->setHtml(FromWin1252(HtmlOfBlock(Data)));
    Close();
    return true;
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

String ClipboardFormatMimeType(Cardinal Format) {
    if (IsTextFormat(Format)) return TextMime;
    const String name = GetClipboardFormatName(Format);
    if (name.isEmpty()) return String();
    if (name.compare(QStringLiteral("Rich Text Format"), Qt::CaseInsensitive) == 0) return RtfMime;
    // Names compare without case, so the type is made from the name in lower case. "HTML Format"
    // keeps its header-wrapped block here; the document alone goes under text/html beside it.
    return QStringLiteral("application/x-velmora-") +
           String::fromLatin1(QUrl::toPercentEncoding(name.toLower()));
}
