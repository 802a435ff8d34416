// The HTTP client of the socket library: one synchronous GET at a time, with time-outs of its
// own so that a server that does not answer never blocks the caller for long.
//
// Requests go out as HTTP/1.0 (or 1.1) with exactly the headers set here; redirects are not
// followed and cookies are neither sent nor kept. The transport can be replaced for tests.
#pragma once

#include "Classes.h"
#include "System.h"

#include <QByteArray>
#include <QList>
#include <QPair>

#include <functional>

// Raised by THttpClient::Get when no reply with a success status arrives.
class EHttpError : public Exception {
public:
    EHttpError(const String& Msg, int Code) : Exception(Msg), FErrorCode(Code) {}
    // The reply's status code, or 0 when no reply came (no connection, time-out, bad reply).
    int ErrorCode() const { return FErrorCode; }

private:
    int FErrorCode;
};

enum THttpProtocolVersion { pv1_0, pv1_1 };

// What one request asks for.
struct THttpRequest {
    String URL;
    THttpProtocolVersion ProtocolVersion = pv1_0;
    QList<QPair<QByteArray, QByteArray>> Headers; // in the order they are sent, Host excluded
    int ConnectTimeout = 0;                       // ms
    int ReadTimeout = 0;                          // ms without any data from the server
    int MaxReplyBytes = 0;
};

// What came back: Status 0 when no reply came.
struct THttpReply {
    int Status = 0;
    QByteArray StatusText;
    QList<QPair<QByteArray, QByteArray>> Headers;
    QByteArray Body;
    String Error; // why no reply came
};

// Sends a request and fills the reply; the default transport speaks HTTP over a TCP socket
// (Qt Network), blocking the calling thread until the reply is complete, the server closed the
// connection or a time-out passed.
using THttpTransport = std::function<void(const THttpRequest& Request, THttpReply& Reply)>;

// Replaces the transport of every THttpClient (an empty function restores the network);
// answers the previous replacement.
THttpTransport SetHttpTransport(THttpTransport Transport);

// The network transport itself.
void HttpNetworkTransport(const THttpRequest& Request, THttpReply& Reply);

class THttpClient : public TComponent {
public:
    explicit THttpClient(TComponent* AOwner);

    THttpProtocolVersion ProtocolVersion = pv1_0;
    bool AllowCookies = false; // true is a stand-in: there is no cookie store
    String Accept = QStringLiteral("text/html, */*");
    String UserAgent;
    // Time-outs in milliseconds: connecting (name look-up included), and the longest silence of
    // the server while the reply comes; the whole request never takes longer than both summed
    // with one more read time-out.
    int ConnectTimeout = 5000;
    int ReadTimeout = 5000;
    // Replies longer than this are refused.
    int MaxReplyBytes = 1 << 20;

    // GETs URL ("http://host[:port]/path?query") and answers the body as text (UTF-8 when the
    // reply says so, else Latin-1). Raises EHttpError when there is no reply, when the reply
    // cannot be read or when its status is not 2xx.
    String Get(const String& URL);

    // Status code and text of the last reply (0 / empty when none came).
    int ResponseCode() const { return FResponseCode; }
    const QByteArray& ResponseText() const { return FResponseText; }

private:
    int FResponseCode = 0;
    QByteArray FResponseText;
};
