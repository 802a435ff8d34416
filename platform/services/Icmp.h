// The ICMP echo client of the socket library: IPv4 echo requests ("ping"), one at a time and
// synchronous.
//
// Ping resolves Host, sends one echo request carrying the payload, waits up to ReceiveTimeout
// for the matching answer and fires OnReply with the reply's status before it returns (with
// BytesReceived 0 after a time-out). It raises EIcmpError when the host cannot be resolved or
// the echo cannot be sent.
//
// The echo goes out over an unprivileged ICMP datagram socket where the system allows one, else
// over a raw socket. The transport can be replaced for tests, which then script the replies.
#pragma once

#include "Classes.h"
#include "System.h"

#include <QByteArray>

#include <functional>

// Raised by TIdIcmpClient::Ping when the host cannot be resolved or the echo cannot be sent.
class EIcmpError : public Exception {
    using Exception::Exception;
};

enum TReplyStatusTypes {
    rsEcho,             // the answer came
    rsError,            // the answer could not be read
    rsTimeOut,          // no answer within the time-out
    rsErrorUnreachable, // the network reported the host as unreachable
    rsErrorTTLExceeded  // the request died on its way
};

enum TIdIPVersion { Id_IPv4, Id_IPv6 };

// What one echo brought back.
struct TReplyStatus {
    // Bytes of the echo reply (ICMP header and data); 0 when no reply came.
    int BytesReceived = 0;
    String FromIpAddress; // the answering address, dotted
    String ToIpAddress;   // the address asked, dotted
    Word SequenceId = 0;
    Word MsRoundTripTime = 0;
    Byte TimeToLive = 0; // known over a raw socket only
    TReplyStatusTypes ReplyStatusType = rsTimeOut;
};

// One echo request as the transport receives it.
struct TIcmpEchoRequest {
    String Host;         // as set on the client; the transport resolves it
    QByteArray Payload;  // data of the echo request (already cut to fit PacketSize)
    Word Identifier = 0; // chosen by the client; a datagram socket replaces it with its own
    Word SequenceId = 0;
    int ReceiveTimeout = 0; // ms
    int PacketSize = 0;     // largest ICMP message sent or received, header included
};

// Sends one echo and waits for its answer; fills Reply (BytesReceived 0 after a time-out) or
// raises EIcmpError when the host cannot be resolved or nothing can be sent.
using TIcmpTransport = std::function<void(const TIcmpEchoRequest& Request, TReplyStatus& Reply)>;

// Replaces the transport of every TIdIcmpClient (an empty function restores the network);
// answers the previous replacement.
TIcmpTransport SetIcmpTransport(TIcmpTransport Transport);

// The network transport itself: a datagram ICMP socket, or a raw socket when the system does
// not grant the former.
void IcmpNetworkTransport(const TIcmpEchoRequest& Request, TReplyStatus& Reply);

// Resolves an IPv4 host name or dotted address; raises EIcmpError when it cannot.
quint32 ResolveIPv4(const String& Host);

// The size of the ICMP echo header that comes before the payload.
constexpr int IcmpEchoHeaderSize = 8;

class TIdIcmpClient : public TComponent {
public:
    explicit TIdIcmpClient(TComponent* AOwner);

    String Host;
    TIdIPVersion IPVersion = Id_IPv4; // only IPv4 is spoken
    int Protocol = 1;                 // ICMP
    int ReceiveTimeout = 5000;        // ms
    // Largest echo message, header included: a longer payload is cut to PacketSize - 8 bytes.
    int PacketSize = 1024;

    // Fired inside Ping, before it returns, with the status of the echo.
    TEvent<TObject*, const TReplyStatus&> OnReply;

    // Sends one echo with AData (its bytes as Latin-1) as payload. SequenceID 0 takes the
    // client's own running sequence number, which counts up with every echo.
    void Ping(const String& AData = String(), Word SequenceID = 0);
    // The status of the last echo.
    const TReplyStatus& ReplyStatus() const { return FReplyStatus; }

private:
    TReplyStatus FReplyStatus;
    Word FNextSequence = 1;
    Word FIdentifier;
};
