#include "UVersion.h"

#include "Net.h"
#include "SysUtils.h"
#include "UProject.h"

#include <QUrl>
#include <QUrlQuery>

const String SW_Version = QStringLiteral("1.000");
const String SW_Manual_Code = QStringLiteral("UM40210");

String Maker_Site = QStringLiteral("http://www.ostrel.example");
const String Maker_Site_Caption = QStringLiteral("ostrel.example");

String Home_Page_URL() {
    return Maker_Site + QStringLiteral("/HOME/default.asp?frompg=") + SW_Code;
}

String Download_Page_URL() {
    return Maker_Site + QStringLiteral("/Home/download/download.asp#GW40210");
}

String Version_Check_URL() {
    QUrl url(Maker_Site + QStringLiteral("/home/download/GetversionSW.asp"));
    QUrlQuery query;
    query.addQueryItem(QStringLiteral("nomesw"), SW_Code_Update);
    url.setQuery(query);
    return url.toString(QUrl::FullyEncoded);
}

void Setup_Version_Client(THttpClient* HTTP) {
    HTTP->ProtocolVersion = pv1_0;
    HTTP->AllowCookies = false;
    HTTP->Accept = QStringLiteral("text/html,application/xhtml+xml,application/xml;q=0.9,*/*;q=0.8");
    HTTP->UserAgent = QStringLiteral("Mozilla/3.0 (compatible; Indy Library)");
    // The check runs on the main thread: an unreachable site must not hold the window for long.
    HTTP->ConnectTimeout = 3000;
    HTTP->ReadTimeout = 3000;
    HTTP->MaxReplyBytes = 64 * 1024;
}

int Conv_Version(const String& Ver_str) {
    const int blank = Pos(QStringLiteral(" "), Ver_str);
    const String t = Trim(blank > 0 ? Copy(Ver_str, blank + 1, Length(Ver_str)) : Ver_str);
    if (Length(t) < 5) return -1;
    return StrToIntDef(Copy(t, 1, 1) + Copy(t, 3, 3), -1);
}

bool Is_Newer_Version(const String& Reply) {
    const String r = UpperCase(Trim(Reply));
    if (r.isEmpty() || r == QStringLiteral("VER. 0.000")) return false;
    const int own = Conv_Version(SW_Version);
    const int remote = Conv_Version(Trim(Reply));
    return own != -1 && remote != -1 && remote > own;
}

bool Check_Version(THttpClient* HTTP) {
    String reply;
    try {
        reply = HTTP->Get(Version_Check_URL());
    } catch (const Exception&) {
        reply.clear();
    }
    return Is_Newer_Version(reply);
}
