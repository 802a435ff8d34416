// libFuzzer target: the RTF reader on any bytes, then the writer on what it read, the written
// text read back, and the document laid out and drawn into a small image.
#include "RtfText.h"

#include <QAbstractTextDocumentLayout>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QTextDocument>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    // Kept for the whole process: Qt's own clean-up at exit is no part of what is fuzzed.
    new QGuiApplication(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
    const QByteArray data(reinterpret_cast<const char*>(Data), qsizetype(Size));
    QTextDocument doc;
    QFont font(QStringLiteral("Sans"));
    font.setPointSize(10);
    if (!ReadRtf(data, doc, font)) return 0;
    // What the writer makes of it reads back to the same text.
    const QByteArray written = WriteRtf(doc);
    QTextDocument again;
    if (!ReadRtf(written, again, font)) abort();
    if (again.toPlainText() != doc.toPlainText()) abort();
    // Laying out and drawing what was read stays within bounds.
    doc.setTextWidth(200);
    QImage img(200, 100, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::white);
    QPainter p(&img);
    doc.documentLayout()->draw(&p, QAbstractTextDocumentLayout::PaintContext());
    return 0;
}
