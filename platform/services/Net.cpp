#include "Net.h"

#include "StandIn.h"

#include <QFileInfo>

#include <dlfcn.h>

#include <memory>
#include <utility>

namespace {

THttpTransport& Transport() {
    static THttpTransport transport;
    return transport;
}

} // namespace

THttpTransport SetHttpTransport(THttpTransport T) {
    return std::exchange(Transport(), std::move(T));
}

// The socket transport lives in the network module beside the program (platform/netmodule),
// loaded on the first request; a missing module is reported as the request's failure.
void HttpNetworkTransport(const THttpRequest& Request, THttpReply& Reply) {
    using TEntry = void (*)(const THttpRequest&, THttpReply&);
    static String loadError;
    static const TEntry entry = [] {
        Dl_info self{};
        if (!dladdr(reinterpret_cast<void*>(&HttpNetworkTransport), &self) || !self.dli_fname) {
            loadError = QStringLiteral("The program's folder is unknown: the network module cannot be found");
            return TEntry(nullptr);
        }
        const String path = QFileInfo(QString::fromLocal8Bit(self.dli_fname)).absolutePath() +
                            QStringLiteral("/velmora_net.so");
        void* lib = dlopen(path.toLocal8Bit().constData(), RTLD_NOW | RTLD_LOCAL);
        void* sym = lib ? dlsym(lib, "VelmoraHttpTransport") : nullptr;
        if (!sym) {
            loadError = QStringLiteral("The network module %1 cannot be loaded: %2")
                            .arg(path, QString::fromLocal8Bit(dlerror()));
            return TEntry(nullptr);
        }
        return reinterpret_cast<TEntry>(sym);
    }();
    if (!entry) {
        Reply = THttpReply();
        Reply.Error = loadError;
        return;
    }
    entry(Request, Reply);
}

THttpClient::THttpClient(TComponent* AOwner) : TComponent(AOwner) {}

String THttpClient::Get(const String& URL) {
    // Each request stands alone: no cookie store keeps what a server sets.
    if (AllowCookies) PlatformStandIn("THttpClient::AllowCookies");
    FResponseCode = 0;
    FResponseText.clear();
    THttpRequest request;
    request.URL = URL;
    request.ProtocolVersion = ProtocolVersion;
    if (!Accept.isEmpty()) request.Headers.append({"Accept", Accept.toUtf8()});
    if (!UserAgent.isEmpty()) request.Headers.append({"User-Agent", UserAgent.toUtf8()});
    request.ConnectTimeout = ConnectTimeout;
    request.ReadTimeout = ReadTimeout;
    request.MaxReplyBytes = MaxReplyBytes;

    THttpReply reply;
    if (Transport())
        Transport()(request, reply);
    else
        HttpNetworkTransport(request, reply);
    FResponseCode = reply.Status;
    FResponseText = reply.StatusText;
    if (reply.Status == 0)
        throw EHttpError(reply.Error.isEmpty() ? QStringLiteral("No reply from ") + URL : reply.Error, 0);
    if (reply.Status < 200 || reply.Status > 299)
        throw EHttpError(
            QStringLiteral("HTTP/1.0 %1 %2").arg(reply.Status).arg(QString::fromLatin1(reply.StatusText)),
            reply.Status);
    bool utf8 = false;
    for (const auto& h : reply.Headers)
        if (h.first.compare("Content-Type", Qt::CaseInsensitive) == 0 &&
            h.second.toLower().contains("charset=utf-8"))
            utf8 = true;
    return utf8 ? String::fromUtf8(reply.Body) : String::fromLatin1(reply.Body);
}
