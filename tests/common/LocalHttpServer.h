// A one-thread HTTP server on 127.0.0.1 for tests of the HTTP client: it answers every
// connection with fixed bytes (or, when silent, accepts and never answers) and keeps the last
// request it read.
#pragma once

#include <QByteArray>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <mutex>
#include <thread>
#include <vector>

class TLocalHttpServer {
public:
    explicit TLocalHttpServer(QByteArray Reply, bool Silent = false)
        : FReply(std::move(Reply)), FSilent(Silent) {
        FListen = ::socket(AF_INET, SOCK_STREAM, 0);
        int yes = 1;
        ::setsockopt(FListen, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
        sockaddr_in addr{};
        addr.sin_family = AF_INET;
        addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        ::bind(FListen, reinterpret_cast<sockaddr*>(&addr), sizeof addr);
        ::listen(FListen, 8);
        socklen_t len = sizeof addr;
        ::getsockname(FListen, reinterpret_cast<sockaddr*>(&addr), &len);
        FPort = ntohs(addr.sin_port);
        FThread = std::thread([this] { Serve(); });
    }
    ~TLocalHttpServer() {
        FStop = true;
        FThread.join();
        for (int fd : FHeld) ::close(fd);
        ::close(FListen);
    }

    int Port() const { return FPort; }
    QByteArray LastRequest() const {
        std::lock_guard<std::mutex> lock(FLock);
        return FRequest;
    }
    int Requests() const { return FCount; }

    // A port on 127.0.0.1 where nothing listens.
    static int ClosedPort() {
        int fd = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in addr{};
        addr.sin_family = AF_INET;
        addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        ::bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr);
        socklen_t len = sizeof addr;
        ::getsockname(fd, reinterpret_cast<sockaddr*>(&addr), &len);
        ::close(fd);
        return ntohs(addr.sin_port);
    }

private:
    void Serve() {
        while (!FStop) {
            pollfd p{FListen, POLLIN, 0};
            if (::poll(&p, 1, 20) <= 0) continue;
            const int fd = ::accept(FListen, nullptr, nullptr);
            if (fd < 0) continue;
            QByteArray request;
            while (!FStop && !request.contains("\r\n\r\n")) {
                pollfd q{fd, POLLIN, 0};
                if (::poll(&q, 1, 20) <= 0) continue;
                char buf[4096];
                const ssize_t n = ::read(fd, buf, sizeof buf);
                if (n <= 0) break;
                request.append(buf, n);
            }
            {
                std::lock_guard<std::mutex> lock(FLock);
                FRequest = request;
            }
            ++FCount;
            if (FSilent) {
                FHeld.push_back(fd);
                continue;
            }
            ssize_t sent = 0;
            while (sent < FReply.size()) {
                const ssize_t n = ::write(fd, FReply.constData() + sent, size_t(FReply.size() - sent));
                if (n <= 0) break;
                sent += n;
            }
            ::close(fd);
        }
    }

    QByteArray FReply;
    bool FSilent;
    int FListen = -1;
    int FPort = 0;
    std::atomic<bool> FStop{false};
    std::atomic<int> FCount{0};
    mutable std::mutex FLock;
    QByteArray FRequest;
    std::vector<int> FHeld;
    std::thread FThread;
};
