// The version check: reading version texts and replies, and the request against a local server.
#include "LocalHttpServer.h"
#include "Net.h"
#include "UProject.h"
#include "UVersion.h"

#include <gtest/gtest.h>

TEST(Version, ConvVersion) {
    const struct {
        const char* Text;
        int Value;
    } cases[] = {
        {"VER. 1.000", 1000},    {"VER. 1.001", 1001},
        {"1.001", 1001},         {"ver. 2.345", 2345},
        {"VER. 1,001", 1001},    {"VER. 2.1", -1},
        {"VER. 1.0a0", -1},      {"", -1},
        {"VER. ", -1},           {"VER.   9.999  ", 9999},
        {"  VER. 9.999", -1},    {"VER. 1.0001", 1000}, // characters after the fifth are not looked at
        {"X 1.000 extra", 1000},
    };
    for (const auto& c : cases) EXPECT_EQ(Conv_Version(c.Text), c.Value) << c.Text;
}

TEST(Version, NewerReplies) {
    const struct {
        const char* Reply;
        bool Newer;
    } cases[] = {
        {"VER. 1.000", false},
        {"VER. 1.001", true},
        {"ver. 1.001", true},
        {"1.001", true},
        {"VER. 1,001", true},
        {"VER. 2.1", false},
        {"VER. 0.000", false},
        {"ver. 0.000", false},
        {"", false},
        {"   ", false},
        {"<html>Not found</html>", false},
        {"VER. 0.999", false},
        {"\r\n VER. 3.000 \r\n", true},
    };
    for (const auto& c : cases) EXPECT_EQ(Is_Newer_Version(c.Reply), c.Newer) << c.Reply;
}

TEST(Version, Addresses) {
    const String site = Maker_Site;
    Maker_Site = "http://127.0.0.1:8080";
    EXPECT_EQ(Home_Page_URL(), "http://127.0.0.1:8080/HOME/default.asp?frompg=CF40210");
    EXPECT_EQ(Download_Page_URL(), "http://127.0.0.1:8080/Home/download/download.asp#GW40210");
    EXPECT_EQ(Version_Check_URL(), "http://127.0.0.1:8080/home/download/GetversionSW.asp?nomesw=CF40210");
    Maker_Site = site;
}

class VersionServerTest : public ::testing::Test {
protected:
    void SetUp() override { FSite = Maker_Site; }
    void TearDown() override { Maker_Site = FSite; }
    bool CheckAt(int Port) {
        Maker_Site = QStringLiteral("http://127.0.0.1:%1").arg(Port);
        THttpClient http(nullptr);
        Setup_Version_Client(&http);
        return Check_Version(&http);
    }
    String FSite;
};

TEST_F(VersionServerTest, RepliesOfALocalServer) {
    const struct {
        const char* Name;
        QByteArray Reply;
        bool Newer;
    } cases[] = {
        {"newer", "HTTP/1.0 200 OK\r\nContent-Type: text/html\r\n\r\nVER. 1.002", true},
        {"same", "HTTP/1.0 200 OK\r\nContent-Length: 10\r\n\r\nVER. 1.000", false},
        {"unknown code", "HTTP/1.1 200 OK\r\nContent-Length: 10\r\n\r\nVER. 0.000", false},
        {"garbage", "HTTP/1.0 200 OK\r\n\r\n<html><body>maintenance</body></html>", false},
        {"not http", "VER. 9.999\r\n\r\n", false},
        {"error status with a version", "HTTP/1.0 500 Internal Server Error\r\n\r\nVER. 9.999", false},
        {"redirect", "HTTP/1.0 302 Found\r\nLocation: http://elsewhere/\r\n\r\nVER. 9.999", false},
        {"cut short", "HTTP/1.0 200 OK\r\nContent-Length: 100\r\n\r\nVER. 9.999", false},
    };
    for (const auto& c : cases) {
        TLocalHttpServer server(c.Reply);
        EXPECT_EQ(CheckAt(server.Port()), c.Newer) << c.Name;
    }
}

TEST_F(VersionServerTest, RequestCarriesTheCheckHeaders) {
    TLocalHttpServer server("HTTP/1.0 200 OK\r\n\r\nVER. 1.000");
    CheckAt(server.Port());
    const QByteArray request = server.LastRequest();
    EXPECT_TRUE(request.startsWith("GET /home/download/GetversionSW.asp?nomesw=CF40210 HTTP/1.0\r\n"))
        << request.data();
    EXPECT_TRUE(
        request.contains("\r\nAccept: text/html,application/xhtml+xml,application/xml;q=0.9,*/*;q=0.8\r\n"));
    EXPECT_TRUE(request.contains("\r\nUser-Agent: Mozilla/3.0 (compatible; Indy Library)\r\n"));
    EXPECT_FALSE(request.contains("Cookie"));
}

TEST_F(VersionServerTest, NoServerMeansNoNewerVersion) {
    EXPECT_FALSE(CheckAt(TLocalHttpServer::ClosedPort()));
}
