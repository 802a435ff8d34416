// The HTTP client against a server on 127.0.0.1, and its replaceable transport.
#include "LocalHttpServer.h"
#include "Net.h"

#include <gtest/gtest.h>

namespace {

String Url(int Port, const char* Path = "/page?x=1") {
    return QStringLiteral("http://127.0.0.1:%1%2").arg(Port).arg(Path);
}

} // namespace

TEST(HttpClient, ReadsTheBodyOfASuccessfulReply) {
    const struct {
        const char* Name;
        QByteArray Reply;
        QString Body;
    } cases[] = {
        {"closed by the server", "HTTP/1.0 200 OK\r\n\r\nhello", "hello"},
        {"with a length", "HTTP/1.1 200 OK\r\nContent-Length: 5\r\n\r\nhello and more", "hello"},
        {"utf-8", "HTTP/1.0 200 OK\r\nContent-Type: text/plain; charset=UTF-8\r\n\r\n\xC3\xA8",
         QString::fromUtf8("è")},
        {"latin-1", "HTTP/1.0 200 OK\r\n\r\n\xE8", QString::fromLatin1("\xE8")},
        {"chunked", "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n3\r\nabc\r\n2\r\nde\r\n0\r\n\r\n",
         "abcde"},
        {"empty", "HTTP/1.0 204 No Content\r\n\r\n", ""},
    };
    for (const auto& c : cases) {
        TLocalHttpServer server(c.Reply);
        THttpClient http(nullptr);
        EXPECT_EQ(http.Get(Url(server.Port())), c.Body) << c.Name;
        EXPECT_GE(http.ResponseCode(), 200) << c.Name;
    }
}

TEST(HttpClient, SendsExactlyItsHeaders) {
    TLocalHttpServer server("HTTP/1.0 200 OK\r\n\r\n");
    THttpClient http(nullptr);
    http.Accept = "a/b";
    http.UserAgent = "Agent 1";
    http.Get(Url(server.Port(), "/p%20q?k=v&w=2"));
    EXPECT_EQ(server.LastRequest(), QByteArray("GET /p%20q?k=v&w=2 HTTP/1.0\r\nHost: 127.0.0.1:") +
                                        QByteArray::number(server.Port()) +
                                        "\r\nAccept: a/b\r\nUser-Agent: Agent 1\r\n\r\n");
}

TEST(HttpClient, FailuresRaiseWithTheStatus) {
    const struct {
        const char* Name;
        QByteArray Reply;
        int Code;
    } cases[] = {
        {"not found", "HTTP/1.0 404 Not Found\r\n\r\nmissing", 404},
        {"redirect is not followed", "HTTP/1.0 301 Moved\r\nLocation: /x\r\n\r\n", 301},
        {"no HTTP reply", "hello world\r\n\r\n", 0},
        {"nothing at all", "", 0},
        {"body cut short", "HTTP/1.0 200 OK\r\nContent-Length: 10\r\n\r\nabc", 0},
    };
    for (const auto& c : cases) {
        TLocalHttpServer server(c.Reply);
        THttpClient http(nullptr);
        try {
            http.Get(Url(server.Port()));
            ADD_FAILURE() << c.Name << ": no error";
        } catch (const EHttpError& e) {
            EXPECT_EQ(e.ErrorCode(), c.Code) << c.Name;
            EXPECT_EQ(http.ResponseCode(), c.Code) << c.Name;
        }
    }
}

TEST(HttpClient, GivesUpOnAServerThatNeverAnswers) {
    TLocalHttpServer server("", /*Silent=*/true);
    THttpClient http(nullptr);
    http.ConnectTimeout = 300;
    http.ReadTimeout = 300;
    EXPECT_THROW(http.Get(Url(server.Port())), EHttpError);
    EXPECT_EQ(server.Requests(), 1);
}

TEST(HttpClient, RefusesWhatItCannotAsk) {
    THttpClient http(nullptr);
    for (const char* url : {"", "ftp://127.0.0.1/x", "not a url", "http:///nohost"})
        EXPECT_THROW(http.Get(url), EHttpError) << url;
    EXPECT_THROW(http.Get(Url(TLocalHttpServer::ClosedPort())), EHttpError);
}

TEST(HttpClient, TransportCanBeReplaced) {
    THttpRequest seen;
    THttpTransport old = SetHttpTransport([&](const THttpRequest& Request, THttpReply& Reply) {
        seen = Request;
        Reply.Status = 200;
        Reply.Body = "VER. 1.500";
    });
    THttpClient http(nullptr);
    http.UserAgent = "UA";
    http.ReadTimeout = 1234;
    EXPECT_EQ(http.Get("http://example.invalid/x"), "VER. 1.500");
    EXPECT_EQ(seen.URL, "http://example.invalid/x");
    EXPECT_EQ(seen.ReadTimeout, 1234);
    EXPECT_EQ(seen.ProtocolVersion, pv1_0);
    ASSERT_EQ(seen.Headers.size(), 2);
    EXPECT_EQ(seen.Headers[1].second, "UA");
    SetHttpTransport(old);
}
