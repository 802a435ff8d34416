// The HTTP transport over Qt Network's sockets, built as a module of its own that the platform
// loads on the first request (platform/services/Net.cpp): the configurator needs the network only
// when it checks for a newer version, and Qt Network with its name-service and Kerberos libraries
// would otherwise be loaded and relocated at every start.
#include "Net.h"

#include <QElapsedTimer>
#include <QSslSocket>
#include <QTcpSocket>
#include <QUrl>

#include <memory>

namespace {

// Milliseconds left until Deadline, at most Limit and never below 0.
int Remaining(const QElapsedTimer& Clock, qint64 Deadline, int Limit) {
    const qint64 left = Deadline - Clock.elapsed();
    if (left <= 0) return 0;
    return int(std::min<qint64>(left, Limit));
}

// Splits a complete reply into status, headers and body; false when it is no HTTP reply.
bool ParseReply(const QByteArray& Data, THttpReply& Reply) {
    int end = int(Data.indexOf("\r\n\r\n"));
    int sep = 4;
    if (end < 0) {
        end = int(Data.indexOf("\n\n"));
        sep = 2;
    }
    if (end < 0) return false;
    const QList<QByteArray> lines = Data.left(end).split('\n');
    const QByteArray status = lines.value(0).trimmed();
    if (!status.startsWith("HTTP/")) return false;
    const QList<QByteArray> parts = status.split(' ');
    if (parts.size() < 2) return false;
    bool ok = false;
    const int code = parts[1].toInt(&ok);
    if (!ok || code < 100 || code > 999) return false;
    Reply.Status = code;
    Reply.StatusText = status.mid(status.indexOf(' ', status.indexOf(' ') + 1) + 1);
    if (parts.size() < 3) Reply.StatusText.clear();
    qint64 length = -1;
    bool chunked = false;
    for (int i = 1; i < lines.size(); ++i) {
        const QByteArray line = lines[i].trimmed();
        const int colon = int(line.indexOf(':'));
        if (colon <= 0) continue;
        const QByteArray name = line.left(colon).trimmed();
        const QByteArray value = line.mid(colon + 1).trimmed();
        Reply.Headers.append({name, value});
        if (name.compare("Content-Length", Qt::CaseInsensitive) == 0) {
            length = value.toLongLong(&ok);
            if (!ok || length < 0) length = -1;
        }
        if (name.compare("Transfer-Encoding", Qt::CaseInsensitive) == 0 &&
            value.toLower().contains("chunked"))
            chunked = true;
    }
    QByteArray body = Data.mid(end + sep);
    if (chunked) {
        QByteArray plain;
        qsizetype pos = 0;
        for (;;) {
            const qsizetype eol = body.indexOf("\r\n", pos);
            if (eol < 0) return false;
            const qint64 size = body.mid(pos, eol - pos).split(';').value(0).trimmed().toLongLong(&ok, 16);
            if (!ok || size < 0) return false;
            if (size == 0) break;
            if (eol + 2 + size > body.size()) return false;
            plain += body.mid(eol + 2, size);
            pos = eol + 2 + size + 2;
        }
        body = plain;
    } else if (length >= 0) {
        if (body.size() < length) return false; // the connection ended early
        body.truncate(length);
    }
    Reply.Body = body;
    return true;
}

// Whether the reply held so far is complete: headers read and, with a length, the whole body.
bool ReplyComplete(const QByteArray& Data) {
    const qsizetype end = Data.indexOf("\r\n\r\n");
    if (end < 0) return false;
    const QList<QByteArray> lines = Data.left(end).split('\n');
    for (const QByteArray& l : lines) {
        const QByteArray line = l.trimmed();
        if (line.toLower().startsWith("content-length:")) {
            bool ok = false;
            const qint64 length = line.mid(15).trimmed().toLongLong(&ok);
            return ok && Data.size() - (end + 4) >= length;
        }
    }
    return false;
}

} // namespace

// The module's one entry point, found by name.
extern "C" __attribute__((visibility("default"))) void VelmoraHttpTransport(const THttpRequest& Request,
                                                                            THttpReply& Reply) {
    Reply = THttpReply();
    const QUrl url(Request.URL, QUrl::StrictMode);
    const bool https = url.scheme().compare(QLatin1String("https"), Qt::CaseInsensitive) == 0;
    if (!url.isValid() || url.host().isEmpty() ||
        (!https && url.scheme().compare(QLatin1String("http"), Qt::CaseInsensitive) != 0)) {
        Reply.Error = QStringLiteral("Invalid address: ") + Request.URL;
        return;
    }
    if (https && !QSslSocket::supportsSsl()) {
        Reply.Error = QStringLiteral("Secure connections are not available");
        return;
    }
    const int port = url.port(https ? 443 : 80);
    QElapsedTimer clock;
    clock.start();
    const qint64 deadline = qint64(Request.ConnectTimeout) + 2 * qint64(Request.ReadTimeout);

    std::unique_ptr<QTcpSocket> socket;
    if (https) {
        auto* ssl = new QSslSocket;
        socket.reset(ssl);
        ssl->connectToHostEncrypted(url.host(), quint16(port));
        if (!ssl->waitForEncrypted(Request.ConnectTimeout)) {
            Reply.Error = ssl->errorString();
            return;
        }
    } else {
        socket = std::make_unique<QTcpSocket>();
        socket->connectToHost(url.host(), quint16(port));
        if (!socket->waitForConnected(Request.ConnectTimeout)) {
            Reply.Error = socket->errorString();
            return;
        }
    }

    QByteArray target = url.path(QUrl::FullyEncoded).toUtf8();
    if (target.isEmpty()) target = "/";
    if (url.hasQuery()) target += '?' + url.query(QUrl::FullyEncoded).toUtf8();
    QByteArray host = url.host(QUrl::FullyEncoded).toUtf8();
    if (url.port() > 0) host += ':' + QByteArray::number(port);
    QByteArray head =
        "GET " + target + (Request.ProtocolVersion == pv1_0 ? " HTTP/1.0\r\n" : " HTTP/1.1\r\n");
    head += "Host: " + host + "\r\n";
    for (const auto& h : Request.Headers) head += h.first + ": " + h.second + "\r\n";
    if (Request.ProtocolVersion == pv1_1) head += "Connection: close\r\n";
    head += "\r\n";
    socket->write(head);
    if (!socket->waitForBytesWritten(Remaining(clock, deadline, Request.ReadTimeout)) &&
        socket->bytesToWrite() > 0) {
        Reply.Error = QStringLiteral("The request could not be sent: ") + socket->errorString();
        return;
    }

    QByteArray data;
    for (;;) {
        data += socket->readAll();
        if (Request.MaxReplyBytes > 0 && data.size() > Request.MaxReplyBytes) {
            Reply.Error = QStringLiteral("The reply is too long");
            return;
        }
        if (ReplyComplete(data)) break;
        if (socket->state() != QAbstractSocket::ConnectedState) break;
        const int wait = Remaining(clock, deadline, Request.ReadTimeout);
        if (wait <= 0 || !socket->waitForReadyRead(wait)) {
            if (socket->state() == QAbstractSocket::ConnectedState && socket->bytesAvailable() == 0) {
                Reply.Error = QStringLiteral("The server did not answer in time");
                return;
            }
        }
    }
    data += socket->readAll();
    socket->abort();
    if (!ParseReply(data, Reply)) {
        Reply = THttpReply();
        Reply.Error = QStringLiteral("The reply is not an HTTP reply");
    }
}
