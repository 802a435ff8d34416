#include "Icmp.h"

#include <QElapsedTimer>

#include <arpa/inet.h>
#include <cerrno>
#include <cstring>
#include <netdb.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <utility>
#include <vector>

namespace {

TIcmpTransport& Transport() {
    static TIcmpTransport transport;
    return transport;
}

String ErrnoText(int Error) {
    return String::fromLocal8Bit(std::strerror(Error));
}

// The internet checksum: the ones' complement of the ones' complement sum of 16-bit words.
Word Checksum(const unsigned char* Data, size_t Length) {
    uint32_t sum = 0;
    for (size_t i = 0; i + 1 < Length; i += 2) sum += uint32_t(Data[i] << 8 | Data[i + 1]);
    if (Length & 1) sum += uint32_t(Data[Length - 1] << 8);
    while (sum >> 16) sum = (sum & 0xFFFF) + (sum >> 16);
    return Word(~sum & 0xFFFF);
}

String DottedIPv4(quint32 NetworkOrder) {
    char text[INET_ADDRSTRLEN] = {};
    in_addr a{};
    a.s_addr = NetworkOrder;
    inet_ntop(AF_INET, &a, text, sizeof text);
    return String::fromLatin1(text);
}

// Closes the socket on every way out.
struct SocketGuard {
    int Fd;
    ~SocketGuard() {
        if (Fd >= 0) ::close(Fd);
    }
};

constexpr unsigned char IcmpEchoReply = 0;
constexpr unsigned char IcmpUnreachable = 3;
constexpr unsigned char IcmpEchoRequest = 8;
constexpr unsigned char IcmpTimeExceeded = 11;

Word Read16(const unsigned char* p) {
    return Word(p[0] << 8 | p[1]);
}

} // namespace

TIcmpTransport SetIcmpTransport(TIcmpTransport Transport_) {
    return std::exchange(Transport(), std::move(Transport_));
}

quint32 ResolveIPv4(const String& Host) {
    const QByteArray name = Host.trimmed().toUtf8();
    if (name.isEmpty()) throw EIcmpError(QStringLiteral("No host given for the echo request"));
    in_addr numeric{};
    if (inet_pton(AF_INET, name.constData(), &numeric) == 1) return numeric.s_addr;
    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_RAW;
    addrinfo* found = nullptr;
    const int rc = getaddrinfo(name.constData(), nullptr, &hints, &found);
    if (rc != 0 || !found)
        throw EIcmpError(QStringLiteral("Cannot resolve the host \"%1\": %2")
                             .arg(Host, String::fromLocal8Bit(gai_strerror(rc))));
    const quint32 address = reinterpret_cast<const sockaddr_in*>(found->ai_addr)->sin_addr.s_addr;
    freeaddrinfo(found);
    return address;
}

void IcmpNetworkTransport(const TIcmpEchoRequest& Request, TReplyStatus& Reply) {
    const quint32 target = ResolveIPv4(Request.Host);
    Reply.ToIpAddress = DottedIPv4(target);

    // An unprivileged datagram socket where the system grants one (the kernel then picks the
    // identifier and filters the replies), else a raw socket that sees every ICMP message.
    bool raw = false;
    int fd = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, IPPROTO_ICMP);
    if (fd < 0) {
        const int dgramError = errno;
        fd = ::socket(AF_INET, SOCK_RAW | SOCK_CLOEXEC, IPPROTO_ICMP);
        if (fd < 0)
            throw EIcmpError(QStringLiteral("Cannot open an ICMP socket: %1 (raw socket: %2)")
                                 .arg(ErrnoText(dgramError), ErrnoText(errno)));
        raw = true;
    }
    SocketGuard guard{fd};

    std::vector<unsigned char> packet(IcmpEchoHeaderSize + size_t(Request.Payload.size()));
    packet[0] = IcmpEchoRequest;
    packet[1] = 0;
    packet[4] = Byte(Request.Identifier >> 8);
    packet[5] = Byte(Request.Identifier);
    packet[6] = Byte(Request.SequenceId >> 8);
    packet[7] = Byte(Request.SequenceId);
    if (!Request.Payload.isEmpty())
        std::memcpy(packet.data() + IcmpEchoHeaderSize, Request.Payload.constData(),
                    size_t(Request.Payload.size()));
    const Word sum = Checksum(packet.data(), packet.size());
    packet[2] = Byte(sum >> 8);
    packet[3] = Byte(sum);

    sockaddr_in to{};
    to.sin_family = AF_INET;
    to.sin_addr.s_addr = target;
    QElapsedTimer clock;
    clock.start();
    if (::sendto(fd, packet.data(), packet.size(), 0, reinterpret_cast<const sockaddr*>(&to), sizeof to) < 0)
        throw EIcmpError(QStringLiteral("Cannot send the echo request to %1: %2")
                             .arg(Reply.ToIpAddress, ErrnoText(errno)));

    Reply.BytesReceived = 0;
    Reply.ReplyStatusType = rsTimeOut;
    std::vector<unsigned char> buffer(size_t(qMax(Request.PacketSize, IcmpEchoHeaderSize)) + 60 + 512);
    for (;;) {
        const qint64 left = qint64(qMax(Request.ReceiveTimeout, 0)) - clock.elapsed();
        if (left < 0) return;
        pollfd p{fd, POLLIN, 0};
        const int ready = ::poll(&p, 1, int(left));
        if (ready < 0) {
            if (errno == EINTR) continue;
            Reply.ReplyStatusType = rsError;
            return;
        }
        if (ready == 0) return; // time-out
        sockaddr_in from{};
        socklen_t fromLength = sizeof from;
        const ssize_t n =
            ::recvfrom(fd, buffer.data(), buffer.size(), 0, reinterpret_cast<sockaddr*>(&from), &fromLength);
        if (n < 0) {
            if (errno == EINTR || errno == EAGAIN) continue;
            // A datagram socket reports an ICMP error about our request this way.
            Reply.ReplyStatusType = (errno == EHOSTUNREACH || errno == ENETUNREACH || errno == ECONNREFUSED)
                                        ? rsErrorUnreachable
                                        : rsError;
            return;
        }
        const unsigned char* icmp = buffer.data();
        size_t length = size_t(n);
        Byte ttl = 0;
        if (raw) { // a raw socket hands over the IP header too
            if (length < 20) continue;
            const size_t ipHeader = size_t(buffer[0] & 0x0F) * 4;
            if (ipHeader < 20 || length < ipHeader + IcmpEchoHeaderSize) continue;
            ttl = buffer[8];
            icmp += ipHeader;
            length -= ipHeader;
        }
        if (length < size_t(IcmpEchoHeaderSize)) continue;
        if (icmp[0] == IcmpEchoReply) {
            if (Read16(icmp + 6) != Request.SequenceId) continue;
            if (raw && Read16(icmp + 4) != Request.Identifier) continue; // someone else's echo
            Reply.BytesReceived = int(length);
            Reply.FromIpAddress = DottedIPv4(from.sin_addr.s_addr);
            Reply.MsRoundTripTime = Word(qMin<qint64>(clock.elapsed(), 0xFFFF));
            Reply.TimeToLive = ttl;
            Reply.ReplyStatusType = rsEcho;
            return;
        }
        if (raw && (icmp[0] == IcmpUnreachable || icmp[0] == IcmpTimeExceeded)) {
            // The error quotes our request: its IP header, then the first 8 bytes of the echo.
            if (length < 8 + 20 + 8) continue;
            const unsigned char* inner = icmp + 8;
            const size_t innerHeader = size_t(inner[0] & 0x0F) * 4;
            if (innerHeader < 20 || length < 8 + innerHeader + 8) continue;
            const unsigned char* echo = inner + innerHeader;
            if (echo[0] != IcmpEchoRequest || Read16(echo + 4) != Request.Identifier ||
                Read16(echo + 6) != Request.SequenceId)
                continue;
            Reply.FromIpAddress = DottedIPv4(from.sin_addr.s_addr);
            Reply.ReplyStatusType = icmp[0] == IcmpUnreachable ? rsErrorUnreachable : rsErrorTTLExceeded;
            return;
        }
        // Anything else (our own request seen on the loopback, other traffic): keep waiting.
    }
}

TIdIcmpClient::TIdIcmpClient(TComponent* AOwner) : TComponent(AOwner) {
    // Raw sockets see the echoes of every process: an identifier of our own tells ours apart.
    static std::atomic<unsigned> counter{0};
    FIdentifier = Word((unsigned(::getpid()) * 31u + counter++) & 0xFFFF);
}

void TIdIcmpClient::Ping(const String& AData, Word SequenceID) {
    if (IPVersion != Id_IPv4) throw EIcmpError(QStringLiteral("Only IPv4 echo requests are supported"));
    TIcmpEchoRequest request;
    request.Host = Host;
    request.Payload = AData.toLatin1();
    const int room = qMax(PacketSize - IcmpEchoHeaderSize, 0);
    if (request.Payload.size() > room) request.Payload.truncate(room);
    request.Identifier = FIdentifier;
    if (SequenceID == 0) {
        SequenceID = FNextSequence++;
        if (FNextSequence == 0) FNextSequence = 1;
    }
    request.SequenceId = SequenceID;
    request.ReceiveTimeout = ReceiveTimeout;
    request.PacketSize = PacketSize;

    TReplyStatus status;
    status.SequenceId = SequenceID;
    status.ToIpAddress = Host;
    if (Transport())
        Transport()(request, status);
    else
        IcmpNetworkTransport(request, status);
    FReplyStatus = status;
    if (Assigned(OnReply)) OnReply(this, FReplyStatus);
}
